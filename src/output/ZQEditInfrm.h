#pragma once
// The in-state log window's "Edit Contact Entry" dialog: besides the fields
// of the out-of-state dialog it edits the other station's state, province
// or country (SPC) and the own county sent.  As in the entry row, a county
// belongs only to a home-state station, which must have one: Done refuses
// a county typed for a station of another state (the County box's flag)
// and drops a stored one when the state is changed to another.  A two-letter
// SPC must be one of the section table's codes.

#include "output/ContactEditDialog.h"

namespace zq {

class ZQEditInfrm : public ContactEditDialog {
    Q_OBJECT
public:
    ZQEditInfrm();

    EntryBox* txtEditSec = nullptr; // the county
    EntryBox* txtEditPre = nullptr; // state, province or country
    EntryBox* Text3 = nullptr;      // own county sent
    QLabel* Label7 = nullptr;       // county "   Invalid!"
    QLabel* Label2 = nullptr;       // SPC "   Invalid!"
    QLabel* Label9 = nullptr;       // county sent "   Invalid!"

    bool txtEditSec_LostFocus();
    bool Text3_LostFocus();

protected:
    void fillVariantBoxes(const ContactRecord& r) override;
    void beforeDoneTests() override;
    bool variantTestsPass() override;
    void takeVariantFields(ContactRecord& r) const override;
    void runWindowDelete() override;

private:
    bool homeStateSpc() const;
    // The contact was stored with no state (the other window logs a
    // home-state county without one) and the SPC box is left so.
    bool storedWithoutState() const;
};

} // namespace zq
