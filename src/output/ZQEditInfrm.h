#pragma once
// The in-state log window's dialog for editing one contact: besides the
// fields of the out-of-state dialog it edits the other station's state,
// province or country and the own county sent.  A two-letter state or
// province must be one of the section table's codes.

#include "output/ZQEditOut.h"

namespace zq {

class ZQEditInfrm : public ContactEditDialog {
    Q_OBJECT
public:
    ZQEditInfrm();

    EntryBox* txtSPC = nullptr;        // state, province or country
    EntryBox* txtCountySent = nullptr; // own county at the time of the contact

protected:
    bool takeVariantFields(ContactRecord& r) override;
    bool countyMayBeEmpty(const ContactRecord& r) const override;
    void runWindowDelete() override;
};

} // namespace zq
