#include "output/ZQEditInfrm.h"

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "entry/EntryState.h"
#include "entry/TextCompare.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "output/EditChecks.h"

#include <QLabel>

namespace zq {

ZQEditInfrm::ZQEditInfrm() : ContactEditDialog(QStringLiteral("ZQEditInfrm"), true)
{
    txtEditCall = addRow(0, "txtEditCall", QStringLiteral("Callsign"), KeyFilter::Call);
    txtEditCk = addRow(1, "txtEditCk", QStringLiteral("RST R"), KeyFilter::Capitals);
    txtEditSec = addRow(2, "txtEditSec", QStringLiteral("County"), KeyFilter::County);
    txtEditPre = addRow(3, "txtEditPre", QStringLiteral("SPC"), KeyFilter::Country);
    txtEditNum = addRow(4, "txtEditNum", QStringLiteral("RST S"), KeyFilter::Capitals);
    txtEditDate = addRow(5, "txtEditDate", QStringLiteral("Date"), KeyFilter::Date);
    txtEditTime = addRow(6, "txtEditTime", QStringLiteral("Time"), KeyFilter::Time);
    txtEditBnd = addRow(7, "txtEditBnd", QStringLiteral("Mode"), KeyFilter::Capitals);
    Text1 = addRow(8, "Text1", QStringLiteral("Band"), KeyFilter::Capitals);
    Text3 = addRow(9, "Text3", QStringLiteral("County Sent"), KeyFilter::County);
    Label7 = addFlag("Label7", QStringLiteral("   Invalid!"), 2);
    Label2 = addFlag("Label2", QStringLiteral("   Invalid!"), 3);
    Label3 = addFlag("Label3", QStringLiteral("   Invalid!"), 7);
    Label6 = addFlag("Label6", QStringLiteral("   Invalid!"), 8);
    Label9 = addFlag("Label9", QStringLiteral("   Invalid!"), 9);
    setLeaveTest(txtEditSec, [this] { txtEditSec_LostFocus(); });
    setLeaveTest(Text3, [this] { Text3_LostFocus(); });
}

void ZQEditInfrm::fillVariantBoxes(const ContactRecord& r)
{
    txtEditSec->setText(r.LogCounty);
    txtEditPre->setText(r.LogSpc);
    Text3->setText(r.LogCountySent);
}

bool ZQEditInfrm::homeStateSpc() const
{
    return sameText(txtEditPre->text().trimmed(), StationSettings::instance().HomeStateCode);
}

bool ZQEditInfrm::txtEditSec_LostFocus()
{
    return countyPasses(txtEditSec, Label7, true, stored().LogCounty, true);
}

bool ZQEditInfrm::Text3_LostFocus()
{
    return countyPasses(Text3, Label9, false, stored().LogCountySent, true);
}

void ZQEditInfrm::beforeDoneTests()
{
    // A state or province code is kept in capitals.
    const QString spc = txtEditPre->text();
    if (spc.size() < 3 && spc != spc.toUpper())
        txtEditPre->setText(spc.toUpper());
}

bool ZQEditInfrm::storedWithoutState() const
{
    return stored().LogSpc.trimmed().isEmpty() && keeps(txtEditPre, stored().LogSpc);
}

bool ZQEditInfrm::variantTestsPass()
{
    bool passed = true;
    // Only a home-state station has a county, and it needs one (a contact
    // left as it was stored passes).
    if (homeStateSpc()) {
        const bool storedWithout =
            keeps(txtEditPre, stored().LogSpc) && stored().LogCounty.trimmed().isEmpty();
        if (txtEditSec->text().isEmpty() && !storedWithout) {
            Label7->hide();
            EntryState::instance().InvalidCountyFlag = 1;
            flagFailure(Label7, txtEditSec, false);
            passed = false;
        } else {
            passed = countyPasses(txtEditSec, Label7, true, stored().LogCounty, false);
        }
    } else if (keeps(txtEditSec, stored().LogCounty) || txtEditSec->text().isEmpty()) {
        // An empty box, or the county as stored, passes: the stored county
        // stays while the state is left as stored and goes with a state
        // changed to another one.
        Label7->hide();
    } else if (storedWithoutState()) {
        // A contact the other window logged (a county, no state): a county
        // typed in its place is checked as any county.
        passed = countyPasses(txtEditSec, Label7, true, stored().LogCounty, false);
    } else {
        // A county typed for a station of another state stays in its box,
        // flagged: the state or the county is to be corrected.
        Label7->hide();
        EntryState::instance().InvalidCountyFlag = 1;
        flagFailure(Label7, txtEditSec, false);
        passed = false;
    }
    passed = countyPasses(Text3, Label9, false, stored().LogCountySent, false) && passed;
    if (keeps(txtEditPre, stored().LogSpc) || isEditSpc(txtEditPre->text())) {
        Label2->hide();
    } else {
        flagFailure(Label2, txtEditPre, false);
        passed = false;
    }
    return passed;
}

void ZQEditInfrm::takeVariantFields(ContactRecord& r) const
{
    r.LogSpc = txtEditPre->text();
    // A county goes only with the home state's code, or with no state on a
    // contact the other window logged.  A contact whose state and county
    // are both left as stored keeps them as they stand.
    if (homeStateSpc())
        r.LogCounty = countySpelling(txtEditSec->text());
    else if (keeps(txtEditPre, stored().LogSpc) && keeps(txtEditSec, stored().LogCounty))
        r.LogCounty = stored().LogCounty;
    else if (storedWithoutState())
        r.LogCounty = countySpelling(txtEditSec->text());
    else
        r.LogCounty.clear();
    r.LogCountySent = countySpelling(Text3->text());
}

void ZQEditInfrm::runWindowDelete()
{
    DefaultInstance<Infrm>().cmdDelete_Click();
}

} // namespace zq
