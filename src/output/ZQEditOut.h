#pragma once
// The out-of-state log window's "Edit Contact Entry" dialog: call, reports,
// the Carvonia station's county, date, time, mode and band.  The county must
// be one of the county table's names.

#include "output/ContactEditDialog.h"

namespace zq {

class ZQEditOut : public ContactEditDialog {
    Q_OBJECT
public:
    ZQEditOut();

    EntryBox* txtEditPre = nullptr; // the county
    QLabel* Label2 = nullptr;       // county "   Invalid!"

    bool txtEditPre_LostFocus();

protected:
    void fillVariantBoxes(const ContactRecord& r) override;
    bool variantTestsPass() override;
    void takeVariantFields(ContactRecord& r) const override;
    void runWindowDelete() override;

private:
    bool countyTest(bool leaving);
};

} // namespace zq
