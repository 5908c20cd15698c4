#pragma once
// One injectable source of "now".  Local and UTC wall-clock times are taken
// from one instant, so they never straddle a minute tick.  Waits use the
// monotonic clock and are always bounded.

#include <QDateTime>
#include <chrono>
#include <memory>

namespace zq {

struct WallTime {
    QDateTime utc;   // date()/time() give the UTC wall clock
    QDateTime local; // date()/time() give the local wall clock
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual WallTime now() const;
    virtual std::chrono::steady_clock::time_point steadyNow() const;
};

Clock& clock();
std::unique_ptr<Clock> setClock(std::unique_ptr<Clock> c);

// A clock for tests: a fixed UTC instant, a fixed local offset, and a
// monotonic time that only moves when told to (or with the wall time).
class FakeClock final : public Clock {
public:
    FakeClock(const QDateTime& utc, int localOffsetSeconds)
        : utc_(utc.toUTC()), offset_(localOffsetSeconds) {}
    WallTime now() const override;
    std::chrono::steady_clock::time_point steadyNow() const override { return steady_; }

    void setUtc(const QDateTime& utc) { utc_ = utc.toUTC(); }
    void setLocalOffset(int seconds) { offset_ = seconds; }
    // Moves wall and monotonic time forward together.
    void advance(std::chrono::milliseconds ms);

private:
    QDateTime utc_;
    int offset_;
    std::chrono::steady_clock::time_point steady_{};
};

} // namespace zq
