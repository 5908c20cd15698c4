#pragma once
// The UTC offset check of the station set-up: offers the offset of the
// system clock when the stored one differs.

#include "platform/Clock.h"

#include <QString>

namespace zq {

// UTC minus local wall time of one instant, each counted to the minute, in
// hours rounded to 2 decimals (positive west of Greenwich).
float RecommendedUtcOffset(const WallTime& now);

// The input box's prompt for the given instant and offsets.
QString UtcOffsetPromptText(const WallTime& now, float recommended, float current);

// Compares UtcOffsetHours with the clock's offset; when they differ, asks
// whether to take the clock's.  An accepted number becomes UtcOffsetHours
// and the preferences are saved; Cancel or anything that is not a number
// changes nothing.
void CheckUTCOffset();

} // namespace zq
