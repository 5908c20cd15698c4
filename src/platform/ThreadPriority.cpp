#include "platform/ThreadPriority.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zq {

namespace {

thread_local bool realtimeHere = false;

QString errorText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

int setThisThread(int policy, int priority)
{
    sched_param p{};
    p.sched_priority = priority;
    return pthread_setschedparam(pthread_self(), policy | SCHED_RESET_ON_FORK, &p);
}

// Directly: at `priority`, or at the RLIMIT_RTPRIO limit when that is lower
// but above zero.
bool raiseDirectly(int priority, QString* why)
{
    int rc = setThisThread(SCHED_FIFO, priority);
    if (rc == EPERM) {
        rlimit r{};
        if (getrlimit(RLIMIT_RTPRIO, &r) == 0 && r.rlim_cur > 0
            && r.rlim_cur < rlim_t(priority))
            rc = setThisThread(SCHED_FIFO, int(r.rlim_cur));
    }
    if (rc != 0)
        *why = QStringLiteral("not allowed directly (%1)").arg(errorText(rc));
    return rc == 0;
}

// The service serves a process whose RLIMIT_RTTIME is no higher than its
// own limit: both soft and hard are lowered to it (never raised).
bool limitRealtimeRun(long long usecMax, QString* why)
{
    if (usecMax <= 0)
        return true;
    rlimit r{};
    if (getrlimit(RLIMIT_RTTIME, &r) != 0) {
        *why = errorText(errno);
        return false;
    }
    const rlim_t limit = rlim_t(usecMax);
    if (r.rlim_max == RLIM_INFINITY || r.rlim_max > limit)
        r.rlim_max = limit;
    r.rlim_cur = std::min(r.rlim_cur, r.rlim_max);
    if (setrlimit(RLIMIT_RTTIME, &r) != 0) {
        *why = errorText(errno);
        return false;
    }
    return true;
}

bool raiseThroughService(RealtimeService& service, int priority, QString* why)
{
    int maxPriority = 0;
    long long rttime = 0;
    QString reason;
    if (!service.limits(&maxPriority, &rttime, &reason)) {
        *why = QStringLiteral("no real-time service (%1)").arg(reason);
        return false;
    }
    if (maxPriority < 1) {
        *why = QStringLiteral("the real-time service gives no real-time priority");
        return false;
    }
    if (!limitRealtimeRun(rttime, &reason)) {
        *why = QStringLiteral("RLIMIT_RTTIME could not be set (%1)").arg(reason);
        return false;
    }
    if (!service.makeThreadRealtime(static_cast<long long>(gettid()),
                                    std::min(priority, maxPriority), &reason)) {
        *why = QStringLiteral("refused by the real-time service (%1)").arg(reason);
        return false;
    }
    return true;
}

const QString kRtkitName = QStringLiteral("org.freedesktop.RealtimeKit1");
const QString kRtkitPath = QStringLiteral("/org/freedesktop/RealtimeKit1");

class RealtimeKit final : public RealtimeService {
public:
    bool limits(int* maxPriority, long long* rttimeUsecMax, QString* why) override
    {
        qlonglong p = 0, t = 0;
        if (!property(QStringLiteral("MaxRealtimePriority"), &p, why)
            || !property(QStringLiteral("RTTimeUSecMax"), &t, why))
            return false;
        *maxPriority = int(std::clamp<qlonglong>(p, 0, 99));
        *rttimeUsecMax = t;
        return true;
    }

    bool makeThreadRealtime(long long tid, int priority, QString* why) override
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kRtkitName, kRtkitPath, kRtkitName,
                                                        QStringLiteral("MakeThreadRealtime"));
        m << QVariant::fromValue(quint64(tid)) << QVariant::fromValue(quint32(priority));
        return call(m, why).has_value();
    }

private:
    // Short: the keying thread waits for the answer before it keys.
    static constexpr int kTimeoutMs = 500;

    static std::optional<QDBusMessage> call(const QDBusMessage& m, QString* why)
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected()) {
            *why = QStringLiteral("no system D-Bus: %1").arg(bus.lastError().message());
            return std::nullopt;
        }
        const QDBusMessage reply = bus.call(m, QDBus::Block, kTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            *why = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
            return std::nullopt;
        }
        return reply;
    }

    static bool property(const QString& name, qlonglong* value, QString* why)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(
            kRtkitName, kRtkitPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        m << kRtkitName << name;
        const auto reply = call(m, why);
        if (!reply)
            return false;
        QVariant v = reply->arguments().value(0);
        if (v.canConvert<QDBusVariant>())
            v = qvariant_cast<QDBusVariant>(v).variant();
        bool ok = false;
        *value = v.toLongLong(&ok);
        if (!ok)
            *why = QStringLiteral("%1 is no number").arg(name);
        return ok;
    }
};

std::mutex serviceMutex;
std::shared_ptr<RealtimeService>& serviceForTesting()
{
    static std::shared_ptr<RealtimeService> s;
    return s;
}

std::shared_ptr<RealtimeService> service()
{
    std::lock_guard lock(serviceMutex);
    return serviceForTesting() ? serviceForTesting() : realtimeKit();
}

} // namespace

bool ThreadSchedule::realtime() const
{
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

QString ThreadSchedule::describe() const
{
    QString name;
    switch (policy) {
    case SCHED_FIFO: name = QStringLiteral("SCHED_FIFO"); break;
    case SCHED_RR: name = QStringLiteral("SCHED_RR"); break;
    case SCHED_OTHER: name = QStringLiteral("SCHED_OTHER"); break;
    default: name = QStringLiteral("policy %1").arg(policy); break;
    }
    if (!realtime())
        return name;
    return QStringLiteral("%1 %2 (%3)")
        .arg(name)
        .arg(priority)
        .arg(source == Source::Service ? QStringLiteral("service") : QStringLiteral("direct"));
}

ThreadSchedule currentThreadSchedule()
{
    ThreadSchedule s;
    const int policy = sched_getscheduler(0);
    sched_param p{};
    sched_getparam(0, &p);
    s.policy = policy & ~SCHED_RESET_ON_FORK;
    s.resetOnFork = (policy & SCHED_RESET_ON_FORK) != 0;
    s.priority = p.sched_priority;
    return s;
}

bool thisThreadIsRealtime()
{
    return realtimeHere;
}

RaiseResult raiseThisThread(int priority)
{
    RaiseResult r;
    QString direct, viaService;
    if (raiseDirectly(priority, &direct))
        r.schedule.source = ThreadSchedule::Source::Direct;
    else if (raiseThroughService(*service(), priority, &viaService))
        r.schedule.source = ThreadSchedule::Source::Service;
    const ThreadSchedule now = currentThreadSchedule();
    r.schedule.policy = now.policy;
    r.schedule.priority = now.priority;
    r.schedule.resetOnFork = now.resetOnFork;
    realtimeHere = r.schedule.realtime();
    if (!realtimeHere) {
        r.schedule.source = ThreadSchedule::Source::Normal;
        r.refusal = direct + QStringLiteral("; ")
                    + (viaService.isEmpty() ? QStringLiteral("the real-time service did not "
                                                             "make it real-time")
                                            : viaService);
    }
    return r;
}

void lowerThisThread()
{
    if (currentThreadSchedule().realtime())
        setThisThread(SCHED_OTHER, 0);
    realtimeHere = currentThreadSchedule().realtime();
}

std::shared_ptr<RealtimeService> realtimeKit()
{
    static std::shared_ptr<RealtimeService> kit = std::make_shared<RealtimeKit>();
    return kit;
}

void setRealtimeServiceForTesting(std::shared_ptr<RealtimeService> s)
{
    std::lock_guard lock(serviceMutex);
    serviceForTesting() = std::move(s);
}

} // namespace zq
