#include "entry/Scoring.h"

#include "entry/LogTimes.h"
#include "logstore/ContactLog.h"

#include <QLocale>
#include <QTimeZone>
#include <cmath>
#include <cstdint>

namespace zq {

QString formatCount(double value)
{
    return QLocale().toString(static_cast<qlonglong>(std::llround(value)));
}

QString formatScore(double value)
{
    return formatCount(value);
}

int multiplierCount(int countiesWorked, int cellCount, bool inState)
{
    return inState ? countiesWorked + cellCount : countiesWorked;
}

double claimedScore(int multipliers, float qsoPoints, bool inState)
{
    if (inState)
        return static_cast<double>(qsoPoints) * static_cast<double>(multipliers);
    return static_cast<double>(static_cast<float>(multipliers) * qsoPoints);
}

TotalsText totalsText(const ContestTotals& totals, int countiesWorked, int cellCount, bool inState)
{
    TotalsText t;
    t.phone = formatCount(totals.PhoneContactCount);
    t.cw = formatCount(totals.CwContactCount);
    t.digital = formatCount(totals.DigitalContactCount);
    const int multipliers = multiplierCount(countiesWorked, cellCount, inState);
    t.multipliers = formatCount(multipliers);
    t.score = formatScore(claimedScore(multipliers, totals.QsoPoints, inState));
    return t;
}

std::optional<RateMeters> rateMeters(const QDateTime& nowUtc)
{
    const QDateTime now(nowUtc.date(), QTime(nowUtc.time().hour(), nowUtc.time().minute(),
                                             nowUtc.time().second()),
                        Qt::UTC);
    const ContactLog& log = ContactLog::instance();
    int count20 = 0;
    int count60 = 0;
    for (int i = log.ContactCount; i >= 1; --i) {
        const auto t = parseLogMoment(log[i].LogDate, log[i].LogTime);
        if (!t)
            return std::nullopt;
        const qint64 d = t->secsTo(now);
        if (d < 1200)
            ++count20;
        if (d >= 3600)
            break;
        ++count60;
    }
    return RateMeters{3 * count20, count60};
}

} // namespace zq
