#include "keying/MorseKeyer.h"

#include "common/ProgramEnd.h"
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <sys/prctl.h>

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
            const timespec ts = toTimespec(std::min(sleepTarget, n + slice));
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
        }
        if (spin) {
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
        constexpr double chunk = 100000;
        for (double done = 0; done < passes; done += chunk) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            countLoop(std::min(chunk, passes - done));
        }
        return !stop.load();
    }
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

bool VirtualKeyingClock::waitUntil(time_point t, bool, const std::atomic<bool>& stop)
{
    const long long target = duration_cast<nanoseconds>(t.time_since_epoch()).count();
    long long cur = ns_.load();
    while (cur < target && !ns_.compare_exchange_weak(cur, target)) {
    }
    return !stop.load();
}

bool VirtualKeyingClock::countPasses(double passes, double loopsPer60ms,
                                     const std::atomic<bool>& stop)
{
    if (loopsPer60ms > 0 && passes > 0)
        ns_ += static_cast<long long>(std::llround(passes / loopsPer60ms * 60e6));
    return !stop.load();
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

void MorseKeyer::post(std::function<void()> f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void MorseKeyer::start()
{
    clock_ = testingClock() ? testingClock() : realKeyingClock();
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
        if (!running_) {
            // A character typed while the last drain was ending is keyed too.
            if (buffer_.isEmpty())
                return;
            start();
        }
        QEventLoop loop;
        loops_.push_back(&loop);
        loop.exec();
        if (!self)
            return; // the keyer went away with its window
        loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
        if (programEnded())
            abort(); // the program ends: keying stops at once, the line goes up
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

bool MorseKeyer::ask(Request r, LineAnswer* answer)
{
    {
        std::lock_guard lock(mutex_);
        request_ = r;
        answered_ = false;
        answer_ = {};
    }
    post([this] { serveRequest(); });
    restartSchedule_ = true;
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return answered_ || stop_ || quit_; });
    request_ = Request::None;
    if (!answered_)
        return false;
    if (answer)
        *answer = answer_;
    return true;
}

void MorseKeyer::serveRequest()
{
    Request r;
    {
        std::lock_guard lock(mutex_);
        r = request_;
    }
    LineAnswer a;
    if (r == Request::Line && needLine)
        a = needLine(settings());
    else if (r == Request::Line)
        a.dropRest = false;
    else if (r == Request::Exclamation && exclamation)
        exclamation();
    {
        std::lock_guard lock(mutex_);
        if (request_ == r) {
            answer_ = a;
            answered_ = true;
        }
    }
    cv_.notify_all();
}

void MorseKeyer::runDrain()
{
    next_ = clock_->now();
    restartSchedule_ = true;
    line_.reset();
    lineAnswered_ = false;
    QChar c;
    while (!stop_ && buffer_.takeFirst(&c)) {
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
    line_.reset();
}

bool MorseKeyer::Transmit(QChar c, const MorseSettings& first)
{
    if (first.method == 0)
        return true; // no keying method: nothing keyed, no time taken
    if (c == u'!') {
        ask(Request::Exclamation, nullptr);
        return !stop_;
    }
    if (!first.space)
        return true; // a word space that is no number: the character ends here
    const QString pattern = characterPattern(c, *first.space);
    if (pattern.isEmpty())
        return true;

    // The line: asked for when the chosen one is not open, once per change
    // of the settings while no line can be had ("0" for the port).
    const KeyLinePort::Kind kind = first.lineKind();
    uint64_t gen;
    {
        std::lock_guard lock(settingsMutex_);
        gen = generation_;
    }
    const bool lineUsable = line_ && line_->isOpen() && line_->port().kind == kind;
    if (kind != KeyLinePort::Kind::None && !lineUsable
        && !(lineAnswered_ && !line_ && answeredGeneration_ == gen)) {
        LineAnswer a;
        if (!ask(Request::Line, &a))
            return false;
        if (a.dropRest)
            return false;
        line_ = a.line;
        lineAnswered_ = true;
        answeredGeneration_ = gen;
    }

    // After a wait for something else the schedule starts afresh.
    if (restartSchedule_) {
        next_ = clock_->now();
        restartSchedule_ = false;
    }

    bool down = false;
    KeySignal signal = KeySignal::Rts;
    for (QChar bit : pattern) {
        const MorseSettings s = settings(); // read again for every element
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
        }
        bool waited = true;
        switch (s.timing) {
        case CwTiming::Timer:
            next_ += duration_cast<nanoseconds>(duration<double, std::milli>(*unit));
            waited = clock_->waitUntil(next_, true, stop_);
            break;
        case CwTiming::Sleep:
            next_ += duration_cast<nanoseconds>(
                duration<double, std::milli>(sleepUnitMilliseconds(*unit)));
            waited = clock_->waitUntil(next_, false, stop_);
            break;
        case CwTiming::Loop:
            waited = clock_->countPasses(loopPassesPerUnit(s.loopsPer60ms, *s.wpm),
                                         s.loopsPer60ms, stop_);
            next_ = clock_->now();
            break;
        case CwTiming::None:
            next_ = clock_->now();
            break;
        }
        if (!waited)
            break;
    }
    // No key line is left down, whatever ended the character.
    if (down && line_)
        line_->up(signal);
    return !stop_;
}

} // namespace zq
