// The keying thread's scheduling: real-time for the Timer and Sleep
// methods where the system grants it (for the keying thread alone), normal
// priority with one notice where it is refused, never real-time for the
// Loop method, a stop seen at once at real-time priority, and no run
// without a block long enough to meet RLIMIT_RTTIME.
//
// Each case is forced: a refusal by lowering RLIMIT_RTPRIO and setting
// CAP_SYS_NICE aside (as root) with a stand-in real-time service; the cases
// that need a grant run where this process may raise a thread directly
// (root, CAP_SYS_NICE, or an rtprio limit) and are skipped elsewhere.

#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "keying/MorseKeyer.h"
#include "platform/KeyLine.h"
#include "platform/ThreadPriority.h"
#include "support/KeyingTestSupport.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <linux/capability.h>
#include <mutex>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

using namespace zq;
using namespace zq::test;
using namespace std::chrono;

namespace {

// A real-time service that answers as told and records what it was asked.
class StandInService final : public RealtimeService {
public:
    bool reachable = false;
    int maxPriority = 20;
    long long rttimeUsecMax = 200000;

    struct Call {
        long long tid;
        int priority;
        rlimit rttime; // RLIMIT_RTTIME as it stood when asked
    };
    std::vector<Call> calls() const
    {
        std::lock_guard lock(mutex_);
        return calls_;
    }

    bool limits(int* p, long long* t, QString* why) override
    {
        if (!reachable) {
            *why = QStringLiteral("not running");
            return false;
        }
        *p = maxPriority;
        *t = rttimeUsecMax;
        return true;
    }
    bool makeThreadRealtime(long long tid, int priority, QString* why) override
    {
        rlimit r{};
        getrlimit(RLIMIT_RTTIME, &r);
        std::lock_guard lock(mutex_);
        calls_.push_back({tid, priority, r});
        *why = QStringLiteral("not permitted");
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

// Whether this process may raise a thread to real-time priority itself.
bool directlyGranted()
{
    static const bool granted = [] {
        setRealtimeServiceForTesting(std::make_shared<StandInService>());
        bool ok = false;
        std::thread([&ok] {
            ok = raiseThisThread(MorseKeyer::kRealtimePriority).schedule.realtime();
            lowerThisThread();
        }).join();
        setRealtimeServiceForTesting(nullptr);
        return ok;
    }();
    return granted;
}

#define SKIP_UNLESS_GRANTED()                                                                      \
    if (!directlyGranted())                                                                        \
    GTEST_SKIP() << "this process may not raise a thread to real-time priority"

// Refuses real-time priority to the threads the calling thread starts from
// now on while it lives: RLIMIT_RTPRIO 0 and, for root, CAP_SYS_NICE out of
// the calling thread's effective set (capabilities are per thread and
// inherited by new threads).
class NoRealtimeAllowed {
public:
    NoRealtimeAllowed()
    {
        getrlimit(RLIMIT_RTPRIO, &saved_);
        rlimit none = saved_;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_RTPRIO, &none);
        if (capget(&header_, caps_) == 0 && (caps_[0].effective & bit())) {
            __user_cap_data_struct without[2] = {caps_[0], caps_[1]};
            without[0].effective &= ~bit();
            dropped_ = capset(&header_, without) == 0;
        }
    }
    ~NoRealtimeAllowed()
    {
        if (dropped_)
            capset(&header_, caps_);
        setrlimit(RLIMIT_RTPRIO, &saved_);
    }

private:
    static unsigned bit() { return 1u << CAP_SYS_NICE; }
    static int capget(__user_cap_header_struct* h, __user_cap_data_struct* d)
    {
        return int(syscall(SYS_capget, h, d));
    }
    static int capset(__user_cap_header_struct* h, const __user_cap_data_struct* d)
    {
        return int(syscall(SYS_capset, h, d));
    }

    rlimit saved_{};
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps_[2]{};
    bool dropped_ = false;
};

// A keyer on a recording line that notes, at each change of the line, the
// scheduling of the thread that made it.
struct Observed {
    ThreadSchedule schedule;
    long long tid;
};

class KeyingPriorityTest : public ::testing::Test {
protected:
    std::shared_ptr<StandInService> service = std::make_shared<StandInService>();
    std::shared_ptr<VirtualKeyingClock> clock = std::make_shared<VirtualKeyingClock>();
    QStringList notices;

    void SetUp() override
    {
        setRealtimeServiceForTesting(service);
        setKeyingClockForTesting(clock);
        MorseKeyer::setPriorityNoticeForTesting([this](const QString& n) { notices << n; });
    }
    void TearDown() override
    {
        MorseKeyer::setPriorityNoticeForTesting(nullptr);
        setKeyingClockForTesting(std::make_shared<VirtualKeyingClock>());
        setRealtimeServiceForTesting(nullptr);
    }

    static MorseSettings settings(CwTiming timing, double wpm = 20)
    {
        MorseSettings s;
        s.method = 1;
        s.wpm = wpm;
        s.space = 0;
        s.timing = timing;
        s.loopsPer60ms = 60000;
        return s;
    }

    struct Keying {
        SendBuffer buffer;
        MorseKeyer keyer{buffer};
        std::shared_ptr<RecordingKeyLine> line;
        mutable std::mutex mutex;
        std::vector<Observed> observed;
        std::function<void(size_t)> onChange; // on the keying thread, with the count so far

        Keying(const MorseSettings& s, const std::shared_ptr<KeyingClock>& clock)
        {
            keyer.setSettings(s);
            RecordingKeyLine::TimeSource now;
            if (clock)
                now = [clock] { return clock->now(); };
            line = std::make_shared<RecordingKeyLine>(KeyLinePort::serial(1), nullptr, now);
            line->setOnTransition([this](const RecordingKeyLine::Transition&) {
                size_t n;
                {
                    std::lock_guard lock(mutex);
                    observed.push_back({currentThreadSchedule(), static_cast<long long>(gettid())});
                    n = observed.size();
                }
                if (onChange)
                    onChange(n);
            });
            keyer.needLine = [l = line](const MorseSettings&) {
                return MorseKeyer::LineAnswer{l, false};
            };
        }
        void send(const QString& text)
        {
            buffer = text;
            keyer.drain();
        }
        std::vector<Observed> seen() const
        {
            std::lock_guard lock(mutex);
            return observed;
        }
        // The changes of the line in units from the first one.
        std::vector<double> changeUnits(double unitMs) const
        {
            const auto t = line->transitions();
            std::vector<double> out;
            for (const auto& tr : t)
                out.push_back(duration<double, std::milli>(tr.at - t.front().at).count() / unitMs);
            return out;
        }
    };

    // The changes of the line a text keys, in units from the first one.
    static std::vector<double> idealChangeUnits(const QString& text)
    {
        const std::vector<int> changes = patternChanges(patternOf(text));
        std::vector<double> out;
        for (int c : changes)
            out.push_back(double(c - changes.front()));
        return out;
    }
};

TEST_F(KeyingPriorityTest, TimerAndSleepKeyAtRealTimeForTheKeyingThreadAlone)
{
    SKIP_UNLESS_GRANTED();
    for (CwTiming timing : {CwTiming::Timer, CwTiming::Sleep}) {
        SCOPED_TRACE(int(timing));
        Keying k(settings(timing), clock);
        k.send(QStringLiteral("PARIS"));
        const auto seen = k.seen();
        ASSERT_FALSE(seen.empty());
        for (const Observed& o : seen) {
            EXPECT_EQ(o.schedule.policy, SCHED_FIFO);
            EXPECT_EQ(o.schedule.priority, MorseKeyer::kRealtimePriority);
            EXPECT_TRUE(o.schedule.resetOnFork);
            EXPECT_NE(o.tid, static_cast<long long>(gettid()));
        }
        EXPECT_EQ(k.keyer.keyingSchedule().describe(), "SCHED_FIFO 10 (direct)");
        EXPECT_EQ(k.changeUnits(60), idealChangeUnits(QStringLiteral("PARIS")));
        // The user-interface thread keeps its normal priority.
        EXPECT_FALSE(currentThreadSchedule().realtime());
    }
    EXPECT_TRUE(service->calls().empty());
    EXPECT_TRUE(notices.isEmpty());
}

// Refused directly and by the service (or with none): normal priority,
// exact keying on the (virtual) clock, the service asked for the keying
// thread at a priority it gives with RLIMIT_RTTIME set as it requires, each
// keying thread asking once, and one notice a run.
TEST_F(KeyingPriorityTest, RefusedKeysAtNormalPriorityAndSaysSoOnce)
{
    for (bool reachable : {false, true}) {
        SCOPED_TRACE(reachable);
        service = std::make_shared<StandInService>();
        service->reachable = reachable;
        service->maxPriority = 8;
        setRealtimeServiceForTesting(service);
        MorseKeyer::setPriorityNoticeForTesting([this](const QString& n) { notices << n; });
        notices.clear();

        NoRealtimeAllowed refused;
        std::vector<long long> keyingThreads;
        for (int keyer = 0; keyer < 2; ++keyer) {
            Keying k(settings(CwTiming::Timer), clock);
            for (int message = 0; message < 2; ++message) {
                k.send(QStringLiteral("PARIS"));
                // The second message continues the first one's schedule.
                EXPECT_EQ(k.changeUnits(60), idealChangeUnits(message ? QStringLiteral("PARISPARIS")
                                                                      : QStringLiteral("PARIS")));
            }
            const auto seen = k.seen();
            ASSERT_FALSE(seen.empty());
            for (const Observed& o : seen)
                EXPECT_EQ(o.schedule.policy, SCHED_OTHER);
            keyingThreads.push_back(seen.front().tid);
            EXPECT_EQ(k.keyer.keyingSchedule().describe(), "SCHED_OTHER");
        }
        ASSERT_EQ(notices.size(), 1);
        EXPECT_TRUE(notices[0].startsWith("CW keying runs at normal priority"));
        EXPECT_TRUE(notices[0].contains(reachable ? "not permitted" : "not running"));
        const auto calls = service->calls();
        if (!reachable) {
            EXPECT_TRUE(calls.empty());
            continue;
        }
        ASSERT_EQ(calls.size(), 2u);
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].tid, keyingThreads[i]);
            EXPECT_EQ(calls[i].priority, 8);
            EXPECT_LE(calls[i].rttime.rlim_max, rlim_t(200000));
            EXPECT_LE(calls[i].rttime.rlim_cur, calls[i].rttime.rlim_max);
        }
    }
}

// The Loop method counts passes without blocking: at normal priority from
// its first change, and from the element a change of method to it reaches.
TEST_F(KeyingPriorityTest, TheLoopMethodNeverRunsAtRealTime)
{
    SKIP_UNLESS_GRANTED();
    {
        Keying k(settings(CwTiming::Loop), clock);
        k.send(QStringLiteral("PARIS"));
        const auto seen = k.seen();
        ASSERT_FALSE(seen.empty());
        for (const Observed& o : seen)
            EXPECT_EQ(o.schedule.policy, SCHED_OTHER);
    }
    {
        Keying k(settings(CwTiming::Timer), clock);
        k.onChange = [&k](size_t n) {
            if (n == 3)
                k.keyer.setSettings(settings(CwTiming::Loop));
        };
        k.send(QStringLiteral("PARIS"));
        const auto seen = k.seen();
        ASSERT_GT(seen.size(), 4u);
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_EQ(seen[i].schedule.policy, i < 3 ? SCHED_FIFO : SCHED_OTHER) << i;
        // The next message starts with the Loop method: still normal.
        k.send(QStringLiteral("E"));
        EXPECT_EQ(k.seen().back().schedule.policy, SCHED_OTHER);
        EXPECT_EQ(k.keyer.keyingSchedule().policy, SCHED_OTHER);
    }
}

// On the real clock: a stop while a message is keyed at real-time priority
// leaves the line up before abort() returns, and nothing is keyed after.
TEST_F(KeyingPriorityTest, AStopDuringARealTimeMessageLeavesTheLineUpAtOnce)
{
    SKIP_UNLESS_GRANTED();
    setKeyingClockForTesting(realKeyingClock());
    Keying k(settings(CwTiming::Timer, 40), nullptr);
    std::atomic<bool> downAgain{false};
    k.onChange = [&](size_t n) {
        if (n == 5)
            downAgain = true; // the third key-down
    };
    size_t atAbort = 0;
    bool upAtAbort = false;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!downAgain || atAbort)
            return;
        k.keyer.abort();
        const auto t = k.line->transitions();
        atAbort = t.size();
        upAtAbort = !t.back().down;
    });
    poll.start();
    k.send(QStringLiteral("TEST TEST TEST TEST"));
    poll.stop();
    ASSERT_GE(atAbort, 5u);
    EXPECT_TRUE(upAtAbort);
    const auto seen = k.seen();
    EXPECT_EQ(seen.front().schedule.policy, SCHED_FIFO);
    EXPECT_EQ(k.line->transitions().size(), atAbort);
}

std::atomic<int> cpuLimitSignals{0};

// RLIMIT_RTTIME counts the time a real-time thread runs without blocking;
// at its soft limit the kernel sends SIGXCPU (by default the process ends).
// The kernel counts it in scheduler ticks (10 ms where HZ is 100), and a
// real-time thread preempted meanwhile (the kernel keeps a share of each
// processor for normal threads) counts on when it runs again, so the limit
// is ten ticks there: far more than the keyer's longest run between blocks,
// far less than the half second a message at very high speed would run
// without them.  No way of keying runs that long without a block: the
// Timer method's spins, the Sleep method's zero-length units and the Loop
// method's counting.
TEST_F(KeyingPriorityTest, NoWayOfKeyingRunsLongWithoutBlockingAtRealTime)
{
    SKIP_UNLESS_GRANTED();
    setKeyingClockForTesting(realKeyingClock());
    const double loops = MorseKeyer::calibrateLoop().value_or(kCalibrationPasses);
    struct sigaction count{}, saved{};
    count.sa_handler = [](int) { ++cpuLimitSignals; };
    sigaction(SIGXCPU, &count, &saved);
    rlimit limit{}, before{};
    getrlimit(RLIMIT_RTTIME, &before);
    limit = before;
    limit.rlim_cur = 100000;
    ASSERT_EQ(setrlimit(RLIMIT_RTTIME, &limit), 0);

    struct Case {
        CwTiming timing;
        double wpm;
        int characters;
    };
    for (const Case& c : {Case{CwTiming::Timer, 10000, 1000}, Case{CwTiming::Sleep, 5000, 20000},
                          Case{CwTiming::Loop, 3000, 200}}) {
        SCOPED_TRACE(int(c.timing));
        cpuLimitSignals = 0;
        MorseSettings s = settings(c.timing, c.wpm);
        s.loopsPer60ms = loops;
        Keying k(s, nullptr);
        // The user-interface thread busy meanwhile: the keying thread's
        // hand-overs to it never meet its lock, so they never block.
        QTimer::singleShot(0, [] { std::this_thread::sleep_for(milliseconds(600)); });
        k.send(QString(c.characters, u'E'));
        EXPECT_EQ(k.line->transitions().size(), size_t(2 * c.characters));
        EXPECT_EQ(cpuLimitSignals.load(), 0);
        EXPECT_EQ(k.seen().front().schedule.policy,
                  c.timing == CwTiming::Loop ? SCHED_OTHER : SCHED_FIFO);
    }
    setrlimit(RLIMIT_RTTIME, &before);
    sigaction(SIGXCPU, &saved, nullptr);
}

} // namespace
