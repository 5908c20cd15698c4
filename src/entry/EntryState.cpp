#include "entry/EntryState.h"

namespace zq {

EntryState& EntryState::instance()
{
    static EntryState s;
    return s;
}

} // namespace zq
