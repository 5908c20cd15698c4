#include "output/ZQEditInfrm.h"

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/SectionTable.h"

namespace zq {

ZQEditInfrm::ZQEditInfrm() : ContactEditDialog(QStringLiteral("ZQEditInfrm"), 10)
{
    txtSPC = addField("txtSPC", QStringLiteral("St / Prv / Country"), 8, 30);
    txtCountySent = addField("txtCountySent", QStringLiteral("County Sent"), 9, 20);
    setTabOrder(txtBand, txtSPC);
    setTabOrder(txtSPC, txtCountySent);
    if (index_ > 0) {
        const ContactRecord& r = ContactLog::instance()[index_];
        txtSPC->setText(r.LogSpc);
        txtCountySent->setText(r.LogCountySent);
    }
}

bool ZQEditInfrm::takeVariantFields(ContactRecord& r)
{
    QString spc = txtSPC->text().trimmed();
    if (spc.size() == 2) {
        const int i = SectionTable::instance().indexOf(spc);
        if (i < 1 || i > SectionTable::EntryCount)
            return reject(txtSPC);
        spc = SectionTable::instance().SectionCode[static_cast<size_t>(i)];
    }
    r.LogSpc = spc;
    const QString sent = txtCountySent->text().trimmed();
    if (sent.isEmpty()) {
        r.LogCountySent.clear();
    } else {
        r.LogCountySent = countyNameOf(sent);
        if (r.LogCountySent.isEmpty())
            return reject(txtCountySent);
    }
    return true;
}

bool ZQEditInfrm::countyMayBeEmpty(const ContactRecord& r) const
{
    // Only a station in the home state has a county.
    return r.LogSpc.compare(StationSettings::instance().HomeStateCode, Qt::CaseInsensitive) != 0;
}

void ZQEditInfrm::runWindowDelete()
{
    DefaultInstance<Infrm>().cmdDelete_Click();
}

} // namespace zq
