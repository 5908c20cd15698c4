// Logging a contact in the out-of-state window: the exchange is the county
// of a home-state station.

#include "logwindow/Outfrm.h"

#include "common/EntryBox.h"
#include "entry/EntryState.h"

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
    bool storeFailed = false;
    if (checksPassed()) {
        if (storeEnteredContact()) {
            resetStatusAfterStore();
            RefreshContactList();
            UpdateCountyLists();
            yieldOnce();
            UpdateTotals();
        } else {
            storeFailed = true;
        }
    }
    // A duplicate clears the row too; a contact that could not be stored
    // stays in it.
    if (rowChecksPassed() && !storeFailed)
        clearEnteredRow();
    finishMains(storeFailed);
}

} // namespace zq
