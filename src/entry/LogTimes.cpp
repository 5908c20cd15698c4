#include "entry/LogTimes.h"

#include "platform/Clock.h"

#include <QTimeZone>

#include <cmath>

namespace zq {

namespace {

// Reads digits [pos, pos+count) of s; false when any is not a digit.
bool readDigits(const QString& s, qsizetype pos, qsizetype count, int* out)
{
    int v = 0;
    for (qsizetype i = pos; i < pos + count; ++i) {
        const QChar c = s.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    *out = v;
    return true;
}

// Splits s at sep1 or sep2 into `parts` numbers of minLen..maxLen digits.
bool numericParts(const QString& s, QChar sep1, QChar sep2, int parts, int* out, const int* minLen,
                  const int* maxLen)
{
    qsizetype pos = 0;
    for (int p = 0; p < parts; ++p) {
        qsizetype end = pos;
        while (end < s.size() && s.at(end) != sep1 && s.at(end) != sep2)
            ++end;
        const qsizetype len = end - pos;
        if (len < minLen[p] || len > maxLen[p] || !readDigits(s, pos, len, &out[p]))
            return false;
        if (p < parts - 1) {
            if (end >= s.size())
                return false;
            pos = end + 1;
        } else if (end != s.size()) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<QDate> parseLogDate(const QString& text)
{
    const QString s = text.trimmed();
    int v[3];
    static const int minLen[3] = {4, 1, 1};
    static const int maxLen[3] = {4, 2, 2};
    if (!numericParts(s, u'/', u'-', 3, v, minLen, maxLen))
        return std::nullopt;
    const QDate d(v[0], v[1], v[2]);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<QTime> parseLogTime(const QString& text)
{
    const QString s = text.trimmed();
    int v[3] = {0, 0, 0};
    static const int minLen[3] = {1, 2, 2};
    static const int maxLen[3] = {2, 2, 2};
    const int colons = static_cast<int>(s.count(QLatin1Char(':')));
    if (colons < 1 || colons > 2 || !numericParts(s, u':', u':', colons + 1, v, minLen, maxLen))
        return std::nullopt;
    if (v[0] > 23 || v[1] > 59 || v[2] > 59)
        return std::nullopt;
    return QTime(v[0], v[1], v[2]);
}

std::optional<QDateTime> parseLogMoment(const QString& date, const QString& time)
{
    const auto d = parseLogDate(date);
    const auto t = parseLogTime(time);
    if (!d || !t)
        return std::nullopt;
    return QDateTime(*d, *t, Qt::UTC);
}

QString monthDayText(const QString& logDate)
{
    const auto d = parseLogDate(logDate);
    return d ? d->toString(QStringLiteral("MM/dd")) : logDate;
}

QString hourMinuteText(const QString& logTime)
{
    const auto t = parseLogTime(logTime);
    return t ? t->toString(QStringLiteral("HH:mm")) : logTime;
}

QDateTime utcWallTime(const QDateTime& local, float utcOffsetHours)
{
    const auto minutes = static_cast<qint64>(std::lround(static_cast<double>(utcOffsetHours) * 60.0));
    const QDateTime wall(local.date(), local.time(), Qt::UTC);
    return wall.addSecs(minutes * 60);
}

QDateTime utcWallNow(float utcOffsetHours)
{
    return utcWallTime(clock().now().local, utcOffsetHours);
}

} // namespace zq
