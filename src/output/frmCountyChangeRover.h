#pragma once
// The counties an in-state rover on a county line is in, in a sorted list
// (alphabetical, ignoring case, whatever the order they were added in);
// entry 0, the alphabetically first, is the county the station is logged in.
// The in-state log window logs each contact once more for every further
// county.  A county typed into Text1 (completed from the county table) is
// added by Enter in the table's spelling, once; a click on a listed county,
// or moving to it with the arrow keys, removes it.  Done hides the dialog,
// which keeps its list until the log window unloads it.

#include "common/WindowRegistry.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace zq {

class EntryBox;

class frmCountyChangeRover : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmCountyChangeRover();

    QLabel* Label1 = nullptr;
    QListWidget* List1 = nullptr;
    EntryBox* Text1 = nullptr;
    QLabel* Label2 = nullptr; // "   Invalid!"
    QLabel* Label3 = nullptr;
    QPushButton* Command1 = nullptr; // Done

    void Command1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void Text1_KeyPress(int& k);
    void ValidateRoverCounty();
    void AddRoverCounty();
    void List1_Click(int row);
    // The row an arrow or paging key moves the list's selection to; -1
    // for any other key.
    int rowForKey(int key) const;

};

} // namespace zq
