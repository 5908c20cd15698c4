#pragma once
// The in-state rover's own-county change: the operator types the county the
// station is now in (completed from the county table), or, on a county
// line, opens the rover's county list.  Done stores a county of the table,
// in the table's spelling, as OwnCounty and saves the preferences; any
// other text beeps, shows "   Invalid!" and keeps the dialog open.  Esc or
// closing the window leaves OwnCounty as it was.  The caller unloads the
// dialog.

#include "common/WindowRegistry.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace zq {

class EntryBox;

class frmCountyChange : public QDialog, public LoadStep {
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
    // The county check run when the focus leaves Text1; true when it passed.
    bool Text1_LostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void Text1_KeyPress(int& k);
    void focusText1();

    bool closing_ = false;
    bool movingFocus_ = false;
};

} // namespace zq
