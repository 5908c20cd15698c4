#include "keying/KeyingState.h"

namespace zq {

KeyingState& KeyingState::instance()
{
    static KeyingState s;
    return s;
}

} // namespace zq
