#pragma once
// Log-on state and the operating time shown by the log window.  The
// accumulated seconds of earlier log-on periods live in StationSettings
// (AccumulatedOperatingSeconds), which is saved in QSOpref.txt.

#include <QDateTime>
#include <cstdint>

namespace zq {

struct LogOnState {
    uint8_t LoggedOnFlag = 0;   // 1 while the operator is logged on
    float OperatingSeconds = 0; // the operating time shown, in whole seconds
    QDateTime LogOnTime;        // local time of the current log-on

    static LogOnState& instance();
};

} // namespace zq
