#pragma once
// The tuning panel " Change Frequency and Mode (Ctrl G (Go))": a typed
// frequency and Go, sixteen band buttons, tuning steps up and down, six
// mode buttons, and a scan between two frequencies on a 299 ms timer.
// Every action ends in the rig dialog's ChangeFrequency or ChangeMode; the
// panel keeps no rig state.  The window previews every key: any key while
// scanning ends the scan.

#include "common/WindowRegistry.h"
#include "common/ControlArray.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;
class LineControl;

class frmRigTune : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmRigTune();

    ControlArray<QPushButton> cmdBand; // 0..15
    QPushButton *cmdCW = nullptr, *cmdUSB = nullptr, *cmdLSB = nullptr, *cmdAM = nullptr,
                *cmdFM = nullptr, *cmdRTTY = nullptr;
    QLabel* Label1 = nullptr; // "Frequency in MHz:"
    EntryBox* txtFreq = nullptr;
    QPushButton* Command1 = nullptr; // "&Go"
    QLabel* Label2 = nullptr;        // " UP"
    QLabel* Label3 = nullptr;        // " Down"
    ControlArray<QPushButton> cmdTune; // 0..9: even up, odd down
    QCheckBox* chkScan = nullptr;
    QLabel* Label4 = nullptr; // "From:"
    EntryBox* txtFrom = nullptr;
    QLabel* Label5 = nullptr; // "To:"
    EntryBox* txtTo = nullptr;
    QGroupBox* Frame1 = nullptr; // "Scan Steps"
    QRadioButton *Option5 = nullptr, *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr,
                 *Option4 = nullptr;
    QPushButton* cmdDone = nullptr;
    QTimer* Timer1 = nullptr; // 299 ms, the scan
    LineControl *Line1 = nullptr, *Line2 = nullptr, *Line3 = nullptr, *Line4 = nullptr;

    // The band buttons' frequencies as the box shows them, and the steps.
    static QString bandFrequency(int index);
    static double tuneStep(int index); // MHz, positive for up, negative for down

    void Command1_Click();
    void cmdBand_Click(int index);
    void cmdTune_Click(int index);
    void cmdCW_Click();
    void cmdUSB_Click();
    void cmdLSB_Click();
    void cmdAM_Click();
    void cmdFM_Click();
    void cmdRTTY_Click();
    void cmdDone_Click();
    void chkScan_Click();
    void Timer1_Timer();
    void Form_KeyPress(int& keyAscii);
    void txtFreq_Change();
    void txtFreq_KeyPress(int& keyAscii);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void modeButton(const QString& mode);
    float scanStep() const;
};

} // namespace zq
