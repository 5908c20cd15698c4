#pragma once
// "Frequency Privileges": for one licence class at a time, a box per band
// spanning the band's edges with a bar for every segment of the class (CW
// blue, phone green).  It reads BandPlan.txt afresh each time it is loaded
// and opens on the Extra class.

#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "rig/BandPlan.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;

namespace zq {

class frmBandPlan : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmBandPlan();
    ~frmBandPlan() override;

    QPushButton* Command1 = nullptr; // "Novice"
    QPushButton* Command2 = nullptr; // "Technician"
    QPushButton* Command3 = nullptr; // "Tech +"
    QPushButton* Command4 = nullptr; // "General"
    QPushButton* Command5 = nullptr; // "Advanced"
    QPushButton* Command6 = nullptr; // "Extra"
    QPushButton* Command7 = nullptr; // "Done"
    QLabel* Label1 = nullptr;        // "Frequencies Effective: " and the plan's date
    QLabel* Label2 = nullptr;        // title of the class shown
    QLabel* Label3 = nullptr;        // legend "CW"
    QLabel* Label4 = nullptr;        // legend "Phone"
    LineControl* Line1 = nullptr;    // the drawing lies below it

    // Every record of the file, outline rows included, in file order.
    BandPlanRows& rows() { return *rows_; }

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

    // Removes the previous drawing and draws class `classLetter`.
    void DrawPrivileges(const QString& classLetter);

    // The font factor: screen width / 9600 twips, at most 1.5.
    static double fontFactor(const QWidget* w);

private:
    void Form_Load() override;
    void showClass(const QString& title, const QString& classLetter);
    QLabel* addRunTimeLabel(const QString& name);

    std::unique_ptr<BandPlanRows> rows_;
};

} // namespace zq
