#pragma once
// The log window's clocks, the operating-time display, the log-off report
// and the bounded waits of the duplicate lock and the spoken "Dupe".

#include <QDateTime>
#include <QString>
#include <chrono>
#include <functional>

namespace zq {

// "hh:mm:ss" of s seconds; hours past 99 show their last two digits.
QString operatingTimeText(double seconds);
// Whole seconds from logOnTime to now added to the accumulated seconds.
double operatingSeconds(double accumulated, const QDateTime& logOnTime, const QDateTime& now);

// The UTC clock: local time of day plus the offset (minutes), "hh:mm:ss".
QString utcClockText(const QDateTime& local, float utcOffsetHours);
// The local clock "h:mm:ss" (12-hour, without the designator) and the
// designator (the locale's AM or PM text).
QString localClockText(const QDateTime& local);
QString amPmText(const QDateTime& local);
// "Logged Off at <short date> <hh:mm:ss>" with the offset taken to whole hours.
QString loggedOffMessage(const QDateTime& local, float utcOffsetHours);

// The duplicate lock: how long a key in the call field still has to wait,
// 3 seconds after the duplicate by the monotonic clock, never more than 3 s.
std::chrono::milliseconds dupeLockRemaining(std::chrono::steady_clock::time_point duplicateAt,
                                            std::chrono::steady_clock::time_point now);
constexpr std::chrono::milliseconds DupeLockLength{3000};
// Keys typed on for a row come with shorter gaps than this; a longer pause
// after a duplicate starts the next contact.
constexpr std::chrono::milliseconds DuplicateRowPause{1000};
// Holds the thread for d (the window's events wait meanwhile).
void holdFor(std::chrono::milliseconds d);
// Holds the thread while busy() is true, at most limit; false when the limit
// ended the wait.
bool holdWhile(const std::function<bool()>& busy, std::chrono::milliseconds limit);

} // namespace zq
