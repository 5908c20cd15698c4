#include "keying/MorseKeyer.h"

#include "common/ProgramEnd.h"
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "platform/InnerLoop.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <utility>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace zq {

using namespace std::chrono;

KeyLinePort::Kind MorseSettings::lineKind() const
{
    if (method == 1 || method == 2)
        return KeyLinePort::Kind::Serial;
    if (method == 3)
        return KeyLinePort::Kind::Parallel;
    return KeyLinePort::Kind::None;
}

// ---------------------------------------------------------------------------
// Clocks

namespace {

timespec toTimespec(KeyingClock::time_point t)
{
    const auto ns = duration_cast<nanoseconds>(t.time_since_epoch()).count();
    timespec ts;
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000LL);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000LL);
    return ts;
}

inline void cpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// How long the calling thread has run since it last blocked (a sleep, a
// lock, a device call that waited: any voluntary switch), as seen at `now`.
nanoseconds runSinceBlocked(steady_clock::time_point now)
{
    thread_local long switches = -1;
    thread_local steady_clock::time_point since;
    rusage ru{};
    getrusage(RUSAGE_THREAD, &ru);
    if (ru.ru_nvcsw != switches) {
        switches = ru.ru_nvcsw;
        since = now;
    }
    return now - since;
}

// At real-time priority the keying thread runs before every normal thread
// of the machine, so it never runs long without blocking, however short
// its units: a wait that comes after this long without a block sleeps to
// its deadline (or a moment, when that has passed) instead of spinning.
constexpr auto kLongestRealtimeRun = milliseconds(2);

void sleepUntil(steady_clock::time_point t)
{
    const timespec ts = toTimespec(t);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
}

// At real-time priority, after kLongestRealtimeRun without a block: sleeps
// to `until` (or a moment, when that has passed) and returns true.
bool restAfterLongRealtimeRun(steady_clock::time_point until)
{
    const steady_clock::time_point n = steady_clock::now();
    if (!thisThreadIsRealtime() || runSinceBlocked(n) < kLongestRealtimeRun)
        return false;
    sleepUntil(std::max(until, n + microseconds(50)));
    return true;
}

// steady_clock is CLOCK_MONOTONIC here, so its time points are absolute
// deadlines for clock_nanosleep.
class RealKeyingClock final : public KeyingClock {
public:
    time_point now() override { return steady_clock::now(); }

    bool waitUntil(time_point t, bool spin, const std::atomic<bool>& stop) override
    {
        // Sleep in slices, so a stop is noticed within one slice.
        constexpr auto slice = milliseconds(20);
        const time_point sleepTarget = spin ? t - milliseconds(1) : t;
        for (;;) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            const time_point n = steady_clock::now();
            if (n >= sleepTarget)
                break;
            sleepUntil(std::min(sleepTarget, n + slice));
        }
        if (!restAfterLongRealtimeRun(t) && spin) {
            while (steady_clock::now() < t) {
                if (stop.load(std::memory_order_relaxed))
                    return false;
                cpuRelax();
            }
        }
        return !stop.load();
    }

    bool countPasses(double passes, double, const std::atomic<bool>& stop) override
    {
        return countLoopPasses(passes, stop);
    }

    std::optional<double> calibrateLoop() override { return calibrateLoopsPer60ms(); }
};

std::shared_ptr<KeyingClock>& testingClock()
{
    static std::shared_ptr<KeyingClock> c;
    return c;
}

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

} // namespace

std::shared_ptr<KeyingClock> realKeyingClock()
{
    static std::shared_ptr<KeyingClock> c = std::make_shared<RealKeyingClock>();
    return c;
}

void setKeyingClockForTesting(std::shared_ptr<KeyingClock> clock)
{
    testingClock() = std::move(clock);
}

namespace {

// Raises `a` to at least `v`.
void raiseTo(std::atomic<long long>& a, long long v)
{
    long long cur = a.load();
    while (cur < v && !a.compare_exchange_weak(cur, v)) {
    }
}

long long nsOf(KeyingClock::time_point t)
{
    return duration_cast<nanoseconds>(t.time_since_epoch()).count();
}

// How late a change of the key line may be made without moving the rest of
// the schedule: a tenth of a unit, at most 1 ms.  Far above a quiet
// machine's lateness (tens of microseconds), far below what a listener
// hears in a gap.
nanoseconds absorbableLateness(double unitMs)
{
    return duration_cast<nanoseconds>(duration<double, std::milli>(std::min(1.0, unitMs / 10)));
}

} // namespace

KeyingClock::time_point VirtualKeyingClock::now()
{
    return time_point(nanoseconds(std::max(ns_.load(), scheduleEnd_.load())));
}

bool VirtualKeyingClock::waitUntil(time_point t, bool, const std::atomic<bool>& stop)
{
    long long target = nsOf(t);
    {
        std::lock_guard lock(lateMutex_);
        if (waitsToLate_ == 0)
            target += lateNs_;
        if (waitsToLate_ >= 0)
            --waitsToLate_;
        if (!lateEach_.empty()) {
            target += lateEach_[lateEachNext_];
            lateEachNext_ = (lateEachNext_ + 1) % lateEach_.size();
        }
    }
    target = std::max(target, scheduleEnd_.load());
    {
        std::unique_lock lock(holdMutex_);
        if (holdAtNs_ >= 0 && target > holdAtNs_) {
            raiseTo(ns_, holdAtNs_);
            holdAtNs_ = -1;
            held_ = true;
            holdCv_.notify_all();
            // Bounded slices: a stop ends the hold too.
            while (held_ && !stop.load())
                holdCv_.wait_for(lock, milliseconds(5));
            held_ = false;
        }
    }
    raiseTo(ns_, target);
    return !stop.load();
}

void VirtualKeyingClock::holdAt(time_point t)
{
    std::lock_guard lock(holdMutex_);
    holdAtNs_ = nsOf(t);
}

bool VirtualKeyingClock::held()
{
    std::lock_guard lock(holdMutex_);
    return held_;
}

void VirtualKeyingClock::resume()
{
    {
        std::lock_guard lock(holdMutex_);
        holdAtNs_ = -1;
        held_ = false;
    }
    holdCv_.notify_all();
}

void VirtualKeyingClock::wakeLateEach(std::vector<nanoseconds> lateness)
{
    std::lock_guard lock(lateMutex_);
    lateEach_.clear();
    for (nanoseconds l : lateness)
        lateEach_.push_back(l.count());
    lateEachNext_ = 0;
}

bool VirtualKeyingClock::countPasses(double passes, double loopsPer60ms,
                                     const std::atomic<bool>& stop)
{
    raiseTo(ns_, scheduleEnd_.load());
    const double speed = loopSpeed_.load();
    if (speed > 0 && passes > 0)
        ns_ += static_cast<long long>(std::llround(passes / speed * 1e6));
    else if (loopsPer60ms > 0 && passes > 0)
        ns_ += static_cast<long long>(std::llround(passes / loopsPer60ms * 60e6));
    return !stop.load();
}

std::optional<double> VirtualKeyingClock::calibrateLoop()
{
    const double speed = loopSpeed_.load();
    if (!(speed > 0))
        return std::nullopt;
    return roundHalfEven(speed * 60);
}

void VirtualKeyingClock::scheduleEndsAt(time_point t)
{
    raiseTo(scheduleEnd_, nsOf(t));
}

void VirtualKeyingClock::advance(nanoseconds d)
{
    ns_ += d.count();
}

void VirtualKeyingClock::wakeLate(int n, nanoseconds lateness)
{
    std::lock_guard lock(lateMutex_);
    waitsToLate_ = n;
    lateNs_ = lateness.count();
}

// ---------------------------------------------------------------------------
// MorseKeyer

MorseKeyer::MorseKeyer(SendBuffer& buffer, QObject* parent)
    : QObject(parent), buffer_(buffer), clock_(realKeyingClock())
{
}

MorseKeyer::~MorseKeyer()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable())
        thread_.join();
    // A "!" reached whose queued hand-over goes with this object.
    serveExclamations();
    for (QEventLoop* l : loops_)
        l->quit();
}

void MorseKeyer::setSettings(const MorseSettings& s)
{
    std::lock_guard lock(settingsMutex_);
    settings_ = s;
    ++generation_;
}

MorseSettings MorseKeyer::settings() const
{
    std::lock_guard lock(settingsMutex_);
    return settings_;
}

std::optional<double> MorseKeyer::calibrateLoop()
{
    const auto clock = testingClock() ? testingClock() : realKeyingClock();
    return clock->calibrateLoop();
}

void MorseKeyer::post(std::function<void()> f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void MorseKeyer::start()
{
    const auto clock = testingClock() ? testingClock() : realKeyingClock();
    if (clock != clock_) {
        // Another clock: the schedule kept on the old one means nothing.
        clock_ = clock;
        next_ = {};
        reached_ = {};
        scheduleEndNs_ = 0;
    }
    running_ = true;
    stop_ = false;
    {
        std::lock_guard lock(mutex_);
        startRequested_ = true;
    }
    if (!thread_.joinable())
        thread_ = std::thread([this] { worker(); });
    cv_.notify_all();
}

void MorseKeyer::drain()
{
    QPointer<MorseKeyer> self(this);
    for (;;) {
        if (programEnded()) {
            // The program ends: keying stops at once, the line goes up, and
            // nothing more is keyed.
            abort();
            return;
        }
        if (!running_) {
            // A character typed while the last drain was ending is keyed too.
            if (buffer_.isEmpty())
                return;
            start();
        }
        QEventLoop loop;
        {
            // Left from outside (the program ends, the keyer's window goes):
            // keying stops, the line goes up and the drain returns.
            InnerLoop inner(parent(), [this, &loop] {
                abort();
                loop.quit();
            });
            if (!inner.left()) {
                loops_.push_back(&loop);
                loop.exec();
                if (!self)
                    return; // the keyer went away with its window
                loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
            }
        }
        // A program that ended meanwhile stops at the top of the next turn.
        if (stop_)
            return;
    }
}

void MorseKeyer::abort()
{
    std::unique_lock lock(mutex_);
    stop_ = true;
    startRequested_ = false;
    cv_.notify_all();
    // The thread notices within one sleep slice; the line is up when it is
    // done.  Bounded, should a device call hang.
    cv_.wait_for(lock, std::chrono::seconds(2), [this] { return !keying_; });
    lock.unlock();
    buffer_.clear();
}

void MorseKeyer::finished()
{
    running_ = false;
    for (QEventLoop* l : loops_)
        l->quit();
}

void MorseKeyer::worker()
{
    // Wake-ups as close to the deadline as the kernel can make them.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            cv_.wait(lock, [this] { return startRequested_ || quit_; });
            if (quit_)
                return;
            startRequested_ = false;
            keying_ = true;
        }
        keyAtPriorityFor(settings(), true);
        const double cpu0 = threadCpuSeconds();
        runDrain();
        cpuSeconds_ = threadCpuSeconds() - cpu0;
        {
            std::lock_guard lock(mutex_);
            keying_ = false;
        }
        cv_.notify_all();
        post([this] { finished(); });
    }
}

namespace {

std::mutex noticeMutex;
std::function<void(const QString&)> priorityNotice;
bool priorityNoticeGiven = false;

void noticeNormalPriority(const QString& refusal)
{
    std::function<void(const QString&)> notice;
    {
        std::lock_guard lock(noticeMutex);
        if (priorityNoticeGiven)
            return;
        priorityNoticeGiven = true;
        notice = priorityNotice;
    }
    const QString text =
        QStringLiteral("CW keying runs at normal priority, so a heavily loaded machine may "
                       "stretch it: the system grants no real-time priority (%1).  An rtprio "
                       "limit for a group you are in (/etc/security/limits.d) or the desktop's "
                       "real-time service (RealtimeKit) grants it.")
            .arg(refusal);
    if (notice)
        notice(text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

void MorseKeyer::setPriorityNoticeForTesting(std::function<void(const QString&)> notice)
{
    std::lock_guard lock(noticeMutex);
    priorityNotice = std::move(notice);
    priorityNoticeGiven = false;
}

ThreadSchedule MorseKeyer::keyingSchedule() const
{
    std::lock_guard lock(scheduleMutex_);
    return schedule_;
}

void MorseKeyer::keyAtPriorityFor(const MorseSettings& s, bool mayRaise)
{
    const bool wanted = s.method != 0 && (s.timing == CwTiming::Timer || s.timing == CwTiming::Sleep);
    if (!wanted && thisThreadIsRealtime()) {
        lowerThisThread();
    } else if (wanted && mayRaise && !thisThreadIsRealtime() && !realtimeRefused_) {
        const RaiseResult r = raiseThisThread(kRealtimePriority);
        if (!r.schedule.realtime()) {
            realtimeRefused_ = true;
            noticeNormalPriority(r.refusal);
        }
        std::lock_guard lock(scheduleMutex_);
        schedule_ = r.schedule;
        return;
    }
    if (mayRaise) {
        std::lock_guard lock(scheduleMutex_);
        if (schedule_.realtime() != thisThreadIsRealtime())
            schedule_ = currentThreadSchedule();
    }
}

bool MorseKeyer::ask(Request r, LineAnswer* answer)
{
    {
        std::lock_guard lock(mutex_);
        request_ = r;
        answered_ = false;
        answer_ = {};
        // A "!" reached is owed to the user-interface thread from now on,
        // whatever stops the keying before it is served.
        if (r == Request::Exclamation)
            ++exclamationsOwed_;
    }
    post([this] { serveRequest(); });
    {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return answered_ || stop_ || quit_; });
        // Given up or answered, the request is over; an owed "!" is not
        // withdrawn with it.
        request_ = Request::None;
        if (!answered_)
            return false;
        if (answer)
            *answer = answer_;
    }
    catchUp();
    return true;
}

void MorseKeyer::catchUp()
{
    next_ = std::max(next_, clock_->now());
}

double MorseKeyer::msUntilScheduleEnd()
{
    const long long left = scheduleEndNs_.load() - nsOf(clock_->now());
    return left > 0 ? double(left) / 1e6 : 0.0;
}

bool MorseKeyer::owesExclamation()
{
    std::lock_guard lock(mutex_);
    return exclamationsOwed_ > 0;
}

void MorseKeyer::serveExclamations()
{
    int owed;
    {
        std::lock_guard lock(mutex_);
        owed = std::exchange(exclamationsOwed_, 0);
    }
    for (; owed > 0; --owed)
        if (exclamation)
            exclamation();
}

void MorseKeyer::serveRequest()
{
    Request r;
    {
        std::lock_guard lock(mutex_);
        r = request_;
    }
    // The "!"s reached are served even when keying has stopped since (the
    // request then reads None): each is owed until it is served.
    serveExclamations();
    LineAnswer a;
    if (r == Request::Line && needLine)
        a = needLine(settings());
    else if (r == Request::Line)
        a.dropRest = false;
    {
        std::lock_guard lock(mutex_);
        if (r != Request::None && request_ == r) {
            answer_ = a;
            answered_ = true;
        }
    }
    cv_.notify_all();
}

void MorseKeyer::runDrain()
{
    // A drain starts no earlier than the last one's schedule ends.
    catchUp();
    lineAnswered_ = false;
    QChar c;
    for (bool first = true; !stop_; first = false) {
        // A character ends with its closing key-up: the next one is taken
        // from the buffer once that has passed, so a message that replaces
        // the buffer meanwhile replaces it.  With nothing left to key, the
        // drain is over now.
        if (!first && (buffer_.isEmpty() || !waitForSchedule()))
            break;
        if (!buffer_.takeFirst(&c))
            break;
        const bool goOn = Transmit(c, settings());
        post([this] {
            if (characterDone)
                characterDone();
        });
        if (!goOn) {
            buffer_.clear();
            break;
        }
    }
    // The key-up units after the last change of the line are owed to the
    // schedule; the drain is over for its caller now.
    if (!stop_)
        clock_->scheduleEndsAt(next_);
    scheduleEndNs_ = nsOf(next_);
}

bool MorseKeyer::waitUntil(KeyingClock::time_point t, bool spin)
{
    // A moment already waited for has come: no second wait for it.  Units
    // too short to wait for (the Sleep method's, rounded to no time) never
    // wait at all, so a long run of them rests as any wait does.
    if (t <= reached_) {
        restAfterLongRealtimeRun(steady_clock::now());
        return !stop_;
    }
    if (!clock_->waitUntil(t, spin, stop_))
        return false;
    reached_ = t;
    return true;
}

bool MorseKeyer::waitForSchedule()
{
    return waitUntil(next_, settings().timing == CwTiming::Timer);
}

bool MorseKeyer::Transmit(QChar c, const MorseSettings& first)
{
    keyAtPriorityFor(first, false);
    if (first.method == 0)
        return true; // no keying method: nothing keyed, no time taken
    if (c == u'!') {
        // The contact is logged when the stream reaches the "!": after the
        // character before it has ended.
        if (!waitForSchedule())
            return false;
        ask(Request::Exclamation, nullptr);
        return !stop_;
    }
    if (!first.space)
        return true; // a word space that is no number: the character ends here
    const QString pattern = characterPattern(c, *first.space);
    if (pattern.isEmpty())
        return true;

    // The line: asked for when the chosen one is not open (or was opened
    // for another port), once per change of the settings while no line
    // can be had ("0" for the port).  A line that is kept serves the next
    // drain too.
    const KeyLinePort::Kind kind = first.lineKind();
    uint64_t gen;
    {
        std::lock_guard lock(settingsMutex_);
        gen = generation_;
    }
    const bool lineUsable = line_ && line_->isOpen() && line_->port().kind == kind
                            && linePort_ == first.port;
    if (kind != KeyLinePort::Kind::None && !lineUsable
        && !(lineAnswered_ && !line_ && answeredGeneration_ == gen)) {
        LineAnswer a;
        if (!ask(Request::Line, &a))
            return false;
        if (a.dropRest)
            return false;
        line_ = a.line;
        linePort_ = first.port;
        lineAnswered_ = true;
        answeredGeneration_ = gen;
    }

    bool down = false;
    KeySignal signal = KeySignal::Rts;
    // The earliest moment the element being keyed may end: its key-down as
    // made plus its units, so no element is keyed shorter than its units.
    KeyingClock::time_point elementEnds{};
    for (QChar bit : pattern) {
        const MorseSettings s = settings(); // read again for every element
        keyAtPriorityFor(s, false);
        const auto unit = unitMilliseconds(s.wpm);
        if (!unit || s.method == 0)
            break;
        const bool want = bit == u'1';
        const KeySignal sig = s.method == 2 ? KeySignal::Dtr : KeySignal::Rts;
        if (down && sig != signal && line_) {
            line_->up(signal);
            down = false;
        }
        signal = sig;
        if (want != down) {
            // The change is due at next_, a key-up no earlier than its
            // element's whole length after the key-down.
            const auto due = want ? next_ : std::max(next_, elementEnds);
            if (!waitUntil(due, s.timing == CwTiming::Timer))
                break;
            const bool drive = s.lineKind() != KeyLinePort::Kind::None && line_;
            if (drive && !line_->set(signal, want)) {
                // A failing device: released and closed, asked for again
                // at the next character.
                line_->close();
                line_.reset();
                lineAnswered_ = false;
                down = false;
                break;
            }
            down = want;
            // Read after the change, so time lost between the wake-up and
            // the change counts as lateness too (a few microseconds on time).
            const auto changed = clock_->now();
            // A little lateness (a quiet machine's wake-up) comes out of the
            // key-up that follows and the schedule stays, so a message does
            // not drift.  More than that stretches what the change ends and
            // moves the rest of the schedule with it, so no later element or
            // gap is shortened, merged or dropped.
            if (changed - next_ > absorbableLateness(*unit))
                next_ = changed;
            if (want)
                elementEnds = changed;
        }
        bool counted = true;
        nanoseconds step{0};
        switch (s.timing) {
        case CwTiming::Timer:
            step = duration_cast<nanoseconds>(duration<double, std::milli>(*unit));
            break;
        case CwTiming::Sleep:
            step = duration_cast<nanoseconds>(
                duration<double, std::milli>(sleepUnitMilliseconds(*unit)));
            break;
        case CwTiming::Loop:
            counted = clock_->countPasses(loopPassesPerUnit(s.loopsPer60ms, *s.wpm),
                                          s.loopsPer60ms, stop_);
            next_ = elementEnds = clock_->now();
            break;
        case CwTiming::None:
            next_ = elementEnds = clock_->now();
            break;
        }
        next_ += step;
        if (down)
            elementEnds += step;
        if (!counted)
            break;
    }
    // No key line is left down, whatever ended the character.
    if (down && line_)
        line_->up(signal);
    return !stop_;
}

} // namespace zq
