#pragma once
// The WinKeyer set-up window " WinKey Setup": the keyer's port, speed,
// weight, lead-in and tail, dit/dah ratio, pin configuration and key mode,
// kept in WK.txt in the user folder; Open, Close, Test and Stop; and the
// sender that feeds CwSendBuffer to the keyer one character at a time.
//
// The window is loaded when the WinKeyer is chosen as the CW key line and
// stays loaded until program end; "&Done" only hides it.  Unloading closes
// the keyer.

#include "common/WindowRegistry.h"

#include <QDialog>
#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;

class frmWinKey : public QDialog, public UnloadStep, public LoadStep {
    Q_OBJECT
public:
    frmWinKey();
    void onUnload() override;

    EntryBox* txtWKComPort = nullptr;
    EntryBox* txtWKWPM = nullptr;
    EntryBox* txtWeight = nullptr;
    EntryBox* txtLeadIn = nullptr;
    EntryBox* txtTail = nullptr;
    EntryBox* txtRatio = nullptr;
    QGroupBox* framePin = nullptr;        // "Pin 5 Configuration"
    QRadioButton* optKey5Out3Off = nullptr; // 8
    QRadioButton* optKey5Off3Out = nullptr; // 4
    QRadioButton* optTone = nullptr;        // 6
    QRadioButton* optPTT = nullptr;         // 5
    QGroupBox* frameMode = nullptr;       // "Keyer Mode"
    QRadioButton* optBug = nullptr;         // 48
    QRadioButton* optIambicA = nullptr;     // 16
    QRadioButton* optIambicB = nullptr;     // 0
    QRadioButton* optUltimatic = nullptr;   // 32
    QLabel* lblOpenStatus = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOpenWinkey = nullptr;
    QPushButton* cmdCloseWinkey = nullptr;
    QPushButton* Command3 = nullptr; // "Test"
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdDone = nullptr;

    // "Open": connects to the keyer on WinKeyerPort and sends the settings.
    // The handshake runs on the event loop; the window shows its result
    // when it ends (a message box when no keyer answered).
    void cmdOpenWinkey_Click();
    // "Close": closes the keyer; the text still waiting is dropped.
    void cmdCloseWinkey_Click();
    // Feeds CwSendBuffer to the keyer, opening it first when closed (a
    // failed open drops the text).  One character goes out per 10 ms while
    // the keyer's status is below 5; the feeding runs on the event loop, so
    // this returns at once.  Text appended meanwhile goes out with the rest;
    // a call while the feeding runs adds nothing.
    void WKTransmit();
    // True while WKTransmit is opening the keyer or feeding it.
    bool transmitting() const { return opening_ || pumping_; }
    // True when the last transmission dropped its text: the keyer could
    // not be opened, or was closed or lost while it was fed.
    bool lastTransmitFailed() const { return transmitFailed_; }

    void SendWinKeySettings();
    // Key filter of the six boxes: digits and Backspace pass.
    static void DigitsOnly(int& KeyAscii);

    void txtWKComPort_LostFocus();
    void txtWKWPM_LostFocus();
    void txtWeight_LostFocus();
    void txtLeadIn_LostFocus();
    void txtTail_LostFocus();
    void txtRatio_LostFocus();
    // An option of either frame chosen (by the operator or by code).
    void pinOption_Click(uint8_t config);
    void modeOption_Click(uint8_t mode);

    void Command3_Click(); // "Test"
    void cmdStop_Click();
    void cmdDone_Click();

    // The status label's text for a result of the keyer's open; "" for a
    // code without one.
    static QString openResultText(long result);

signals:
    // A transmission of WKTransmit has ended: the keyer has taken every
    // character, or the text was dropped (failed).
    void transmitEnded(bool failed);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Load() override;
    void openKeyer(std::function<void()> after);
    void leadTailLostFocus(EntryBox* left);
    void selectOptions();
    void focusDone();
    void pumpStep();
    void stopPump();
    // Ends a running transmission (opening or feeding) and tells so.
    void endTransmit(bool failed);
    void onLinkFailed();

    QTimer* pumpTimer_ = nullptr;
    bool pumping_ = false;
    bool opening_ = false;
    bool unloading_ = false;
    bool transmitFailed_ = false;
};

} // namespace zq
