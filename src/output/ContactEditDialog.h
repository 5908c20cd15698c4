#pragma once
// What the two "Edit Contact Entry" dialogs share.  A dialog edits the
// contact ContactListState::EditRecordNumber of ContactLog: its boxes are
// filled when it loads; leaving a box tests it; Done trims every box, tests
// them all again (time, date, band, mode, then the variant's counties and
// state/province/country), scans the rest of the log for a duplicate and
// only then writes the boxes back into that contact in place and hides the
// dialog.  A box that still holds the contact's stored value passes every
// test.  The dialog writes no file: the log window that showed it unloads
// it, rewrites log.txt and reloads.  "Delete Dupe" hides the dialog and
// runs the window's delete command for the contact under edit.

#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"

#include <QDialog>
#include <functional>
#include <map>
#include <vector>

class QLabel;
class QPushButton;

namespace zq {

class EntryBox;

class ContactEditDialog : public QDialog, public LoadStep {
    Q_OBJECT
public:
    // The contact under edit, 1..ContactCount, or 0 when the number handed
    // over names no contact (Done then writes nothing).
    int contactIndex() const { return index_; }

    QLabel* lblEditTitle = nullptr; // "Edit Contact:"
    EntryBox* txtEditCall = nullptr; // call
    EntryBox* txtEditCk = nullptr;   // RS(T) received
    EntryBox* txtEditNum = nullptr;  // RS(T) sent
    EntryBox* txtEditDate = nullptr;
    EntryBox* txtEditTime = nullptr;
    EntryBox* txtEditBnd = nullptr;  // the mode
    EntryBox* Text1 = nullptr;       // the band
    QLabel* Label1 = nullptr;        // "  Dupe!"
    QLabel* Label3 = nullptr;        // mode "   Invalid!"
    QLabel* Label6 = nullptr;        // band "   Invalid!"
    QPushButton* cmdDone = nullptr;
    QPushButton* cmdDeleteDupe = nullptr;

    void cmdDone_Click();
    void cmdDeleteDupe_Click();

    // The dialogs' key filter: a-z become capitals.
    static void Cap2(int& KeyAscii);

    // The tests run on leaving a box; true when the box passed.  A failed
    // test beeps, shows the row's flag (a message box for date and time)
    // and puts the focus back into the box.
    bool Text1_LostFocus();
    bool txtEditBnd_LostFocus();
    bool txtEditDate_LostFocus();
    bool txtEditTime_LostFocus();

protected:
    // How a box filters its keys after the double quote and Enter.  The
    // call box takes capitals and, like the log window's call field, no
    // blank and no quote.
    enum class KeyFilter { Capitals, Call, County, Country, Date, Time };

    ContactEditDialog(const QString& name, bool inState);

    // Adds row `row` (0 = the top row): its caption and its box.
    EntryBox* addRow(int row, const char* boxName, const QString& caption, KeyFilter filter);
    // A flag label at the left of row `row`, hidden; while shown, it is read
    // with the row's box (made before it).
    QLabel* addFlag(const char* name, const QString& text, int row);
    // Runs `test` when the focus leaves `box` for another control of the
    // dialog.  (Form_Load sets the tests of date, time, mode and band.)
    void setLeaveTest(EntryBox* box, std::function<void()> test);

    // Fits the dialog to the screen and fills the boxes (the variant's
    // constructor calls it once its rows are made).
    void Form_Load() override;
    virtual void fillVariantBoxes(const ContactRecord& r) = 0;
    // Done, before the boxes are trimmed.
    virtual void beforeDoneTests() {}
    // Runs the variant's tests of Done (each failure flagged); false when
    // one failed.
    virtual bool variantTestsPass() = 0;
    // The variant's boxes into the contact to be written.
    virtual void takeVariantFields(ContactRecord& r) const = 0;
    // The delete command of the window that showed the dialog.
    virtual void runWindowDelete() = 0;

    // The contact as stored (an empty record when no contact is under edit).
    const ContactRecord& stored() const;
    // True when the box, trimmed, still holds `storedValue`.
    bool keeps(const EntryBox* box, const QString& storedValue) const;
    // A county box's test: empty (when allowed), the stored value or one of
    // the county table's names passes; failing shows `flag`.  Sets
    // InvalidCountyFlag.
    bool countyPasses(EntryBox* box, QLabel* flag, bool emptyPasses, const QString& storedValue,
                      bool leaving);
    // Beeps and shows `flag`; on leaving, the focus goes back into `box`
    // (Done puts the focus into the first failed box itself).
    void flagFailure(QLabel* flag, EntryBox* box, bool leaving);
    // The county table's spelling of a county box's text, or the text.
    static QString countySpelling(const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool bandPasses(bool leaving);
    bool modePasses(bool leaving);
    bool datePasses(bool leaving);
    bool timePasses(bool leaving);
    // Beeps and shows the date or time message box.
    bool formatFailure(EntryBox* box, const QString& text, const QString& title, bool leaving);
    void keyPress(EntryBox& box, KeyFilter filter, int& k);
    // Moves the focus without running the leave test of the box it leaves.
    void moveFocus(EntryBox* box);
    void closeDialog();

    int index_ = 0;
    bool inState_ = false;
    bool closing_ = false;
    bool movingFocus_ = false;
    std::vector<EntryBox*> rowBoxes_; // in row order
    std::map<QObject*, std::function<void()>> leaveTests_;
    EntryBox* firstFailed_ = nullptr;  // Done: the first box that failed
};

} // namespace zq
