// Logging a contact in the out-of-state window: the exchange is the county
// of a home-state station.

#include "logwindow/Outfrm.h"

namespace zq {

void Outfrm::Mains()
{
    logOnIfNeeded();
    if (!checkPostContestFields())
        return;
    expandCountyAbbreviation();
    CheckRequiredFields();
    CheckCounty();
    FinalDupeCheck();
    storeCheckedContact([this] {
        RefreshContactList();
        UpdateCountyLists();
    });
}

} // namespace zq
