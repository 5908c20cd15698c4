#pragma once
// The in-state station's own-county change: the operator types the county
// the station is now in, or, for a rover on a county line, opens the
// rover's county list.  Done stores the county as OwnCounty and saves the
// preferences; the caller unloads the dialog.

#include <QDialog>

class QLabel;
class QPushButton;

namespace zq {

class EntryBox;

class frmCountyChange : public QDialog {
    Q_OBJECT
public:
    frmCountyChange();

    QLabel* Label1 = nullptr;
    EntryBox* Text1 = nullptr;
    QLabel* Label2 = nullptr; // "   Invalid!"
    QPushButton* cmdMultipleCounties = nullptr;
    QPushButton* Command1 = nullptr; // Done

    void Command1_Click();
    void cmdMultipleCounties_Click();
};

} // namespace zq
