#include "entry/LogOnState.h"

#include "logstore/LogFileStore.h"

namespace zq {

LogOnState& LogOnState::instance()
{
    static LogOnState s;
    static const bool handedOver = (addNewLogReset([] { s.OperatingSeconds = 0; }), true);
    (void)handedOver;
    return s;
}

} // namespace zq
