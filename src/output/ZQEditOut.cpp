#include "output/ZQEditOut.h"

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "logwindow/Outfrm.h"

namespace zq {

ZQEditOut::ZQEditOut() : ContactEditDialog(QStringLiteral("ZQEditOut"), false)
{
    txtEditCall = addRow(0, "txtEditCall", QStringLiteral("Callsign"), KeyFilter::Call);
    txtEditCk = addRow(1, "txtEditCk", QStringLiteral("RST R"), KeyFilter::Capitals);
    txtEditPre = addRow(2, "txtEditPre", QStringLiteral("County"), KeyFilter::County);
    txtEditNum = addRow(3, "txtEditNum", QStringLiteral("RST S"), KeyFilter::Capitals);
    txtEditDate = addRow(4, "txtEditDate", QStringLiteral("Date"), KeyFilter::Date);
    txtEditTime = addRow(5, "txtEditTime", QStringLiteral("Time"), KeyFilter::Time);
    txtEditBnd = addRow(6, "txtEditBnd", QStringLiteral("Mode"), KeyFilter::Capitals);
    Text1 = addRow(7, "Text1", QStringLiteral("Band"), KeyFilter::Capitals);
    Label2 = addFlag("Label2", QStringLiteral("   Invalid!"), 2);
    Label3 = addFlag("Label3", QStringLiteral("   Invalid!"), 6);
    Label6 = addFlag("Label6", QStringLiteral("   Invalid!"), 7);
    setLeaveTest(txtEditPre, [this] { txtEditPre_LostFocus(); });
}

void ZQEditOut::fillVariantBoxes(const ContactRecord& r)
{
    txtEditPre->setText(r.LogCounty);
}

bool ZQEditOut::countyTest(bool leaving)
{
    return countyPasses(txtEditPre, Label2, false, stored().LogCounty, leaving);
}

bool ZQEditOut::txtEditPre_LostFocus()
{
    return countyTest(true);
}

bool ZQEditOut::variantTestsPass()
{
    return countyTest(false);
}

void ZQEditOut::takeVariantFields(ContactRecord& r) const
{
    r.LogCounty = countySpelling(txtEditPre->text());
}

void ZQEditOut::runWindowDelete()
{
    DefaultInstance<Outfrm>().cmdDelete_Click();
}

} // namespace zq
