#pragma once
// Real-time scheduling for one thread, asked for and given up by that
// thread itself.
//
//   raise   raiseThisThread(priority) - SCHED_FIFO at `priority` with
//           SCHED_RESET_ON_FORK, set directly (root, CAP_SYS_NICE, or an
//           RLIMIT_RTPRIO that allows it, at the limit when it is lower);
//           else through the desktop's real-time service (RealtimeKit on
//           the system D-Bus, which gives SCHED_RR), after RLIMIT_RTTIME has
//           been lowered to what the service requires; else the thread
//           stays at normal priority and the reasons are returned.
//   lower   lowerThisThread() - back to SCHED_OTHER (always allowed; the
//           reset-on-fork flag stays, as the kernel requires).
//
// A thread at real-time priority must block regularly: it runs before
// every normal thread of the machine, and the service's RLIMIT_RTTIME ends
// the process when one runs too long without a blocking call.

#include <QString>
#include <memory>

namespace zq {

// A thread's scheduling as the kernel reports it.
struct ThreadSchedule {
    enum class Source { Normal, Direct, Service };
    Source source = Source::Normal; // how it was obtained
    int policy = 0;                 // SCHED_OTHER, SCHED_FIFO, SCHED_RR ...
    int priority = 0;               // the real-time priority, 0 for a normal one
    bool resetOnFork = false;

    bool realtime() const;
    // "SCHED_FIFO 10 (direct)", "SCHED_RR 10 (service)", "SCHED_OTHER".
    QString describe() const;
};

// The calling thread's scheduling now (source Normal).
ThreadSchedule currentThreadSchedule();
// Whether the calling thread holds real-time priority got through
// raiseThisThread (kept per thread; no system call).
bool thisThreadIsRealtime();

struct RaiseResult {
    ThreadSchedule schedule;
    QString refusal; // both ways' reasons when it stays at normal priority
};
RaiseResult raiseThisThread(int priority);
void lowerThisThread();

// The desktop's real-time service, as seen by raiseThisThread.
class RealtimeService {
public:
    virtual ~RealtimeService() = default;
    // The highest priority it gives and the RLIMIT_RTTIME (microseconds) a
    // process must have set to be served; false with *why when it cannot
    // be reached.
    virtual bool limits(int* maxPriority, long long* rttimeUsecMax, QString* why) = 0;
    // Makes thread `tid` of this process real-time at `priority`.
    virtual bool makeThreadRealtime(long long tid, int priority, QString* why) = 0;
};

// RealtimeKit on the system D-Bus; each call gives up after a short timeout.
std::shared_ptr<RealtimeService> realtimeKit();
// The service raiseThisThread asks (nullptr: RealtimeKit).
void setRealtimeServiceForTesting(std::shared_ptr<RealtimeService> service);

} // namespace zq
