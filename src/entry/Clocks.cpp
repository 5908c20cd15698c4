#include "entry/Clocks.h"

#include "entry/LogTimes.h"

#include <QLocale>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <thread>

namespace zq {

namespace {

QString twoDigits(double v)
{
    if (v < 10)
        return QLatin1Char('0') + QString::number(static_cast<qint64>(v));
    const QString s = QString::number(static_cast<qint64>(v));
    return s.right(2);
}

} // namespace

QString operatingTimeText(double s)
{
    const double h = std::floor(s / 3600);
    const double m = std::floor(s / 60 - 60 * std::floor(s / 3600));
    const double x = s - 60 * std::floor(s / 60);
    return twoDigits(h) + QLatin1Char(':') + twoDigits(m) + QLatin1Char(':') + twoDigits(x);
}

double operatingSeconds(double accumulated, const QDateTime& logOnTime, const QDateTime& now)
{
    // Whole seconds between the two moments, as a calendar difference.
    const qint64 from = logOnTime.toSecsSinceEpoch();
    const qint64 to = now.toSecsSinceEpoch();
    return std::fabs(accumulated + static_cast<double>(to - from));
}

QString utcClockText(const QDateTime& local, float utcOffsetHours)
{
    return utcWallTime(local, utcOffsetHours).toString(QStringLiteral("HH:mm:ss"));
}

QString localClockText(const QDateTime& local)
{
    const QTime t = local.time();
    const int h = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return QString::number(h) + t.toString(QStringLiteral(":mm:ss"));
}

QString amPmText(const QDateTime& local)
{
    return local.time().hour() < 12 ? QLocale().amText() : QLocale().pmText();
}

QString loggedOffMessage(const QDateTime& local, float utcOffsetHours)
{
    const QDateTime wall(local.date(), local.time(), Qt::UTC);
    const QDateTime utc = wall.addSecs(std::lround(static_cast<double>(utcOffsetHours)) * 3600);
    return QStringLiteral("Logged Off at ") + QLocale().toString(utc.date(), QLocale::ShortFormat)
        + QLatin1Char(' ') + utc.toString(QStringLiteral("HH:mm:ss"));
}

std::chrono::milliseconds dupeLockRemaining(std::chrono::steady_clock::time_point duplicateAt,
                                            std::chrono::steady_clock::time_point now)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(duplicateAt + DupeLockLength - now);
    return std::clamp(left, std::chrono::milliseconds(0), DupeLockLength);
}

void holdFor(std::chrono::milliseconds d)
{
    if (d.count() > 0)
        std::this_thread::sleep_for(d);
}

bool holdWhile(const std::function<bool()>& busy, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (busy()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace zq
