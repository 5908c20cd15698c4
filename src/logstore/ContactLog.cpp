#include "logstore/ContactLog.h"

namespace zq {

ContactLog& ContactLog::instance()
{
    static ContactLog log;
    return log;
}

void ContactLog::reset()
{
    slots_.assign(1, ContactRecord{});
    ContactCount = 0;
    LoadedContactCount = 0;
}

void ContactLog::emptyAbove(int n)
{
    const auto keep = static_cast<size_t>(n) + 1;
    if (slots_.size() > keep)
        slots_.resize(keep);
}

const ContactRecord& ContactLog::emptyRecord()
{
    static const ContactRecord empty;
    return empty;
}

} // namespace zq
