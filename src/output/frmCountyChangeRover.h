#pragma once
// The counties an in-state rover on a county line is in, in a sorted list
// (alphabetical, ignoring case, whatever the order they were added in);
// entry 0, the alphabetically first, is the county the station is logged in.
// The in-state log window logs each contact once more for every further
// county.  A click on a listed county removes it.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace zq {

class EntryBox;

class frmCountyChangeRover : public QDialog {
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

private:
    void ValidateRoverCounty();
    void AddRoverCounty();
    void List1_Click(int row);
};

} // namespace zq
