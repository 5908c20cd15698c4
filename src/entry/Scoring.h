#pragma once
// The score panel: contact totals per mode, multipliers, claimed score and
// the two rate meters.

#include "entry/ContestTotals.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace zq {

// "###,##0" and "###,###,###,##0": whole number with the locale's
// thousands separator, 0 for zero.
QString formatCount(double value);
QString formatScore(double value);

// Multipliers: the counties worked; in-state also the states and provinces
// worked (MultiplierCellCount).
int multiplierCount(int countiesWorked, int cellCount, bool inState);
// Claimed score: multipliers x QsoPoints (single precision out of state,
// double in state).
double claimedScore(int multipliers, float qsoPoints, bool inState);

struct TotalsText {
    QString phone, cw, digital, multipliers, score;
};
TotalsText totalsText(const ContestTotals& totals, int countiesWorked, int cellCount, bool inState);

// Rate meters: contacts per hour over the last 20 and 60 minutes.
struct RateMeters {
    int perHour20 = 0; // 3 x contacts less than 20 minutes old
    int perHour60 = 0; // contacts less than 60 minutes old
};
// Walks the log from the newest contact back and stops at the first that is
// an hour old or older.  nowUtc is the UTC wall time (seconds are cut).
// nullopt when a contact walked over has a date or time that is no moment.
std::optional<RateMeters> rateMeters(const QDateTime& nowUtc);

} // namespace zq
