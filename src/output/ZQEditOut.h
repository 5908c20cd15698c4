#pragma once
// The dialogs "Edit Contact Entry" of the two log windows.  A dialog edits
// the contact ContactListState::EditRecordNumber of ContactLog: its fields
// are filled when it is created, and Done checks them and writes them back
// into that contact in place, then hides the dialog (a failed check keeps
// it open and shows "   Invalid!" beside the field).  It writes no file:
// the log window that showed it unloads it, rewrites log.txt and reloads.
// "Delete Dupe" hides the dialog and runs the window's delete command.

#include "logstore/ContactLog.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace zq {

class EntryBox;

class ContactEditDialog : public QDialog {
    Q_OBJECT
public:
    // The contact under edit, 1..ContactCount, or 0 when the number handed
    // over names no contact (Done then changes nothing).
    int contactIndex() const { return index_; }

    EntryBox* txtCall = nullptr;
    EntryBox* txtRSTS = nullptr;   // RS(T) sent
    EntryBox* txtRSTR = nullptr;   // RS(T) received
    EntryBox* txtCounty = nullptr; // the other station's county
    EntryBox* txtDate = nullptr;   // "yyyy/mm/dd" UTC
    EntryBox* txtTime = nullptr;   // "hh:mm:ss" or "hh:mm" UTC
    EntryBox* txtMode = nullptr;
    EntryBox* txtBand = nullptr;
    QLabel* lblInvalid = nullptr;
    QPushButton* cmdDone = nullptr;
    QPushButton* cmdDeleteDupe = nullptr;

    void cmdDone_Click();
    void cmdDeleteDupe_Click();

protected:
    ContactEditDialog(const QString& name, int rows);

    // A caption and its field in row `row` of the form.
    EntryBox* addField(const char* name, const QString& caption, int row, int limit);
    void fillSharedFields(const ContactRecord& r);

    // The variant's own fields into `r`; false when one is rejected (it has
    // been marked).
    virtual bool takeVariantFields(ContactRecord& r) = 0;
    // Whether the county may stay empty for the contact as edited.
    virtual bool countyMayBeEmpty(const ContactRecord& r) const = 0;
    // The delete command of the window that showed the dialog.
    virtual void runWindowDelete() = 0;

    // Shows "   Invalid!" beside `field` and gives it the focus.
    bool reject(QWidget* field);
    // A county field's text as a county name of the table (an abbreviation
    // is replaced by its county's name); "" when it names no county.
    static QString countyNameOf(const QString& text);

    int index_ = 0;

private:
    int rows_;
};

class ZQEditOut : public ContactEditDialog {
    Q_OBJECT
public:
    ZQEditOut();

protected:
    bool takeVariantFields(ContactRecord& r) override;
    bool countyMayBeEmpty(const ContactRecord& r) const override;
    void runWindowDelete() override;
};

} // namespace zq
