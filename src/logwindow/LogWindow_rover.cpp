// Recall of the last logged call, and the re-logging of each contact of an
// in-state rover standing on a county line for every further county it is
// in.

#include "logwindow/Infrm.h"
#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "entry/EntryState.h"
#include "entry/RoverRelog.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "output/frmCountyChangeRover.h"
#include "platform/Prompt.h"

#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QStringList>

namespace zq {

void LogWindow::mnuRecall_Click()
{
    const ContactLog& log = ContactLog::instance();
    if (log.ContactCount < 1)
        return;
    const QString call = log[log.ContactCount].LogCall;
    const QString field19 = log[log.ContactCount].LogField19;
    txtCall->setText(call);
    // Leaving the call field fills the exchange from the call's earlier
    // contacts, warns of a duplicate and fills the default reports.
    txtSec->setFocus();
    txtSec->selectAll();
    bool numeric = false;
    const double number = field19.trimmed().toDouble(&numeric);
    if (numeric)
        txtRSTR->setText(QString::number(number + 1, 'g', 15));
}

void Infrm::roverHandOff(const ContactRecord& justStored)
{
    if (StationSettings::instance().RoverFlag != 1 || RoverCountyIndex != 0)
        return;
    if (DefaultInstance<frmCountyChangeRover>().List1->count() > 1)
        RelogRoverCounties(justStored);
}

// Each further county gets a contact built from the one just stored, never
// from the entry row, which the operator may already be filling with the
// next contact.
void Infrm::RelogRoverCounties(const ContactRecord& justStored)
{
    const QListWidget* list = DefaultInstance<frmCountyChangeRover>().List1;
    QStringList counties;
    for (int i = 0; i < list->count(); ++i)
        counties << list->item(i)->text();
    if (counties.size() < 2)
        return;
    StationSettings& st = StationSettings::instance();
    const bool postContest = !txtPostConTime->isHidden();
    auto showOwnCounty = [this, &st](const QString& county) {
        st.OwnCounty = county;
        Label25->setText(county);
        Label25_Change();
    };
    // Whatever happens below, the station is left on its first county.
    const auto backToFirst = qScopeGuard([&] {
        showOwnCounty(counties.at(0));
        RoverCountyIndex = 0;
    });

    for (int i = 1; i < counties.size(); ++i) {
        RoverCountyIndex = i;
        showOwnCounty(counties.at(i));
        const RoverRelog relog = prepareRoverRelog(justStored, st.OwnCounty, postContest);
        if (relog.duplicateOf != 0) {
            lblDialog->setText(relog.message);
            setDialogRed(true);
            prompt().beep();
            continue;
        }
        if (!storeAndReport(relog.record))
            break;
        EntryState::instance().CurrentFrequencyText.clear();
        // The same call, exchange and county as the contact just stored: the
        // county lists, the state grid and the DX list stay as they are.
        resetStatusAfterStore();
        RefreshContactList();
        UpdateTotals();
    }
    UpdateRates();
}

} // namespace zq
