#include "entry/LogOnState.h"

namespace zq {

LogOnState& LogOnState::instance()
{
    static LogOnState s;
    return s;
}

} // namespace zq
