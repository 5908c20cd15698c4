#include "output/EditChecks.h"

#include "entry/EntryChecks.h"
#include "entry/TextCompare.h"
#include "logstore/SectionTable.h"

#include <algorithm>

namespace zq {

bool isEditBand(const QString& band)
{
    static const QString bands[] = {QStringLiteral("160"), QStringLiteral("80"),
                                    QStringLiteral("40"),  QStringLiteral("20"),
                                    QStringLiteral("15"),  QStringLiteral("10"),
                                    QStringLiteral("6")};
    return std::find(std::begin(bands), std::end(bands), band) != std::end(bands);
}

bool isEditMode(const QString& mode)
{
    return sameText(mode, QStringLiteral("CW")) || sameText(mode, QStringLiteral("PH"))
        || sameText(mode, QStringLiteral("DG"));
}

bool isEditSpc(const QString& spc)
{
    if (spc.isEmpty() || isUnusableExchange(spc))
        return false;
    if (spc.size() == 2)
        return SectionTable::instance().indexOf(spc) != 0;
    return true;
}

std::vector<int> editDuplicates(const ContactLog& log, int under, const EditDupeKey& key)
{
    std::vector<int> found;
    const int count = std::clamp(log.ContactCount, 0, ContactLog::Capacity);
    for (int j = 1; j <= count; ++j) {
        if (j == under)
            continue;
        const ContactRecord& r = log[j];
        // The call first: it differs for nearly every contact.
        if (sameText(r.LogCall, key.call) && sameText(r.LogBand, key.band)
            && sameText(r.LogMode, key.mode) && sameText(r.LogCounty, key.county)
            && (!key.withCountySent || sameText(r.LogCountySent, key.countySent)))
            found.push_back(j);
    }
    return found;
}

} // namespace zq
