#include "startup/UtcOffsetCheck.h"

#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"

#include <cmath>

namespace zq {

namespace {

// Minutes since an arbitrary epoch of a wall-clock date and time, seconds dropped.
qint64 wallMinutes(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime tm = t.time();
    return d.toJulianDay() * 1440 + tm.hour() * 60 + tm.minute();
}

const QString kTitle = QStringLiteral("Update the Local Time / UTC Offset?");

} // namespace

float RecommendedUtcOffset(const WallTime& now)
{
    const qint64 minutes = wallMinutes(now.utc) - wallMinutes(now.local);
    const double hours = std::round(static_cast<double>(minutes) / 60.0 * 100.0) / 100.0;
    return static_cast<float>(hours);
}

QString UtcOffsetPromptText(const WallTime& now, float recommended, float current)
{
    const QString sep = QStringLiteral("\r\n\r\n");
    return QStringLiteral("Would you like to adjust the UTC offset in this program for your local "
                          "time setting?")
        + sep + QStringLiteral("Current System Time: ") + now.utc.time().toString(QStringLiteral("HH:mm"))
        + sep + QStringLiteral("Current Local Time: ") + now.local.time().toString(QStringLiteral("HH:mm"))
        + sep + QStringLiteral("Recommended Offset Setting: ") + bareNumber(recommended)
        + sep + QStringLiteral("Current Offset Setting: ") + bareNumber(current)
        + sep + QStringLiteral("Please click OK to accept the recommended change or Cancel to keep "
                               "the current setting.");
}

void CheckUTCOffset()
{
    StationSettings& s = StationSettings::instance();

    // Both wall clocks come from one instant, so a minute tick between two
    // readings cannot skew the offset.
    const WallTime now = clock().now();
    if (!now.utc.isValid() || !now.local.isValid())
        return;
    const float recommended = RecommendedUtcOffset(now);
    if (s.UtcOffsetHours == recommended)
        return;

    const QString answer = prompt().input(UtcOffsetPromptText(now, recommended, s.UtcOffsetHours),
                                          kTitle, bareNumber(recommended));
    float hours = 0;
    if (!parseSingle(QuotedValue{answer.trimmed(), true}, &hours))
        return;
    s.UtcOffsetHours = hours;
    WritePrefFile();
}

} // namespace zq
