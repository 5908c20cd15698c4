#include "logstore/ContactLog.h"

namespace zq {

ContactLog& ContactLog::instance()
{
    static ContactLog log;
    return log;
}

void ContactLog::reset()
{
    for (auto& s : slots_)
        s = ContactRecord{};
    ContactCount = 0;
    LoadedContactCount = 0;
}

} // namespace zq
