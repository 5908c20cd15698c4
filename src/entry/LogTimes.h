#pragma once
// Reading the date and time texts of the log ("yyyy/mm/dd", "hh:mm:ss" or
// "hh:mm", both UTC) and the clock arithmetic of the log window.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace zq {

// "yyyy/m/d" or "yyyy/mm/dd" ("-" also separates); nullopt when the text is
// not a real calendar date in that form.
std::optional<QDate> parseLogDate(const QString& text);
// "h:mm", "hh:mm", "h:mm:ss" or "hh:mm:ss", 00:00:00 to 23:59:59.
std::optional<QTime> parseLogTime(const QString& text);
// Date and time of a contact as one moment (UTC wall time, no zone).
std::optional<QDateTime> parseLogMoment(const QString& date, const QString& time);

// The date as "mm/dd"; the text unchanged when it is not a date.
QString monthDayText(const QString& logDate);
// The time as "hh:mm"; the text unchanged when it is not a time.
QString hourMinuteText(const QString& logTime);

// The UTC wall time of a local wall time: local plus the offset in whole
// minutes (offset hours x 60, rounded), as plain wall-clock arithmetic.
QDateTime utcWallTime(const QDateTime& local, float utcOffsetHours);
// The UTC wall time now, from zq::clock().
QDateTime utcWallNow(float utcOffsetHours);

} // namespace zq
