#include "platform/Clock.h"

#include <QTimeZone>

namespace zq {

WallTime Clock::now() const
{
    QDateTime utc = QDateTime::currentDateTimeUtc();
    return {utc, utc.toLocalTime()};
}

std::chrono::steady_clock::time_point Clock::steadyNow() const
{
    return std::chrono::steady_clock::now();
}

namespace {
std::unique_ptr<Clock>& slot()
{
    static std::unique_ptr<Clock> c;
    return c;
}
} // namespace

Clock& clock()
{
    auto& c = slot();
    if (!c)
        c = std::make_unique<Clock>();
    return *c;
}

std::unique_ptr<Clock> setClock(std::unique_ptr<Clock> c)
{
    auto old = std::move(slot());
    slot() = std::move(c);
    return old;
}

WallTime FakeClock::now() const
{
    return {utc_, utc_.toTimeZone(QTimeZone(offset_))};
}

void FakeClock::advance(std::chrono::milliseconds ms)
{
    utc_ = utc_.addMSecs(ms.count());
    steady_ += ms;
}

} // namespace zq
