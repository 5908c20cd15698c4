#pragma once
// The CW keyer window "CW String Selections".  While the program runs its
// controls are the only store of the CW settings: the function-key
// messages, the key-line port, the speed, the word space, the keying
// method, the parallel port address, the echo option, the F1 repeat and
// the timing method.  It also owns the software keyer that keys the send
// buffer on the chosen key line.

#include "common/WindowRegistry.h"
#include "keying/KeyerSettings.h"
#include "keying/MorseKeyer.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;
class frmWinKey;

class CWFrm : public QDialog, public UnloadStep, public LoadStep {
    Q_OBJECT
public:
    CWFrm();

    // Unloading stops the keyer at once and releases the key line.
    void onUnload() override;

    // Text1..Text9 F1..F9 messages, Text10 key-line serial port, Text11 speed
    // (WPM), Text12 F10 message, Text13 F11 message, Text14 parallel port
    // address.  Index 0 is not used.
    std::array<EntryBox*, 15> Text{};
    EntryBox* txtSpace = nullptr;  // word-space adjustment, dot units
    EntryBox* txtCWLoop = nullptr; // F1 repeat delay, seconds
    QCheckBox* Check1 = nullptr;   // echo the sent text on the log window
    QGroupBox* Frame1 = nullptr;   // "Keying Options"
    QRadioButton* Option1 = nullptr; // RTS (1)
    QRadioButton* Option2 = nullptr; // DTR (2)
    QRadioButton* Option3 = nullptr; // Printer (3)
    QRadioButton* Option4 = nullptr; // None (0)
    QRadioButton* Option5 = nullptr; // WinKey (5)
    QGroupBox* Frame2 = nullptr;     // the timing options
    QRadioButton* optTimer = nullptr;
    QRadioButton* OptSleep = nullptr;
    QRadioButton* optLoop = nullptr;
    EntryBox* txtLoop = nullptr;     // loops per 60 ms
    QLabel* lblLoop = nullptr;
    QPushButton* cmdLoopFaster = nullptr; // "F"
    QPushButton* cmdLoopSlower = nullptr; // "S"
    QPushButton* cmdConfWinkey = nullptr;
    QLabel* Label23 = nullptr;       // "Sending!"
    QPushButton* Command1 = nullptr; // Done
    QPushButton* Command2 = nullptr; // Faster
    QPushButton* Command3 = nullptr; // Slower
    QPushButton* Command4 = nullptr; // &Test
    QPushButton* Command5 = nullptr; // Less
    QPushButton* Command6 = nullptr; // More
    QPushButton* Command7 = nullptr; // Send Code Practice
    QTimer* tmrRepeat = nullptr;     // repeats the F1 message

    // Passes of the Loop method's counting loop per 60 ms; 0 until calibrated.
    double LoopsPer60ms = 0;

    MorseKeyer* keyer = nullptr;

    // Takes the values a read of CW.txt gave, in file order: the first
    // valuesRead values; the keying method also selects its option.  The
    // repeat interval only when the read was complete.
    void applySettings(const CwSettingsRead& read);
    // The settings as the controls hold them.
    CwSettings currentSettings() const;

    // --- Procedures the log windows call --------------------------------------
    // Sends the CW message of a key code: 112..120 F1..F9, 124 F10, 122 F11
    // (the code itself is not changed).  F1 starts the automatic repeat when
    // a repeat delay is set.
    void FKeyCW(int& KeyCode);
    // The speed box Text11 one word per minute up or down.
    void UpDown1_UpClick();
    void UpDown1_DownClick();
    // Keys CwSendBuffer until it is empty and keyed, with the event loop
    // running: characters appended meanwhile are keyed by the same run, an
    // emptied buffer ends it after the current character, and a "!" logs the
    // contact of the active log window; it returns with the key-up that ends
    // the text, whose time the next text keeps.  With the WinKeyer the
    // buffer is handed to it instead.  The F1 repeat's delay starts at the
    // end of the sending (on the WinKeyer, once it has taken the text).
    void LoopThroughCWBuffer();
    // True when the last LoopThroughCWBuffer could not reach its key line
    // (a port that cannot be opened, a WinKeyer that does not answer) and
    // dropped the text.  With the WinKeyer, known once it has taken the
    // text or dropped it (frmWinKey::transmitting() false).
    bool LastSendFailed() const;

    // --- The dialog's own buttons and handlers --------------------------------
    void Command1_Click(); // Done: CW.txt and the two settings keys, then hide
    void Command4_Click(); // &Test: the F9 message
    void Command5_Click(); // Less
    void Command6_Click(); // More
    void Command7_Click(); // Send Code Practice
    // (Re)opens the key-line serial port of Text10; reports a port that
    // cannot be opened.  True when the port is open or none is wanted.
    bool CWSetup();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void optTimer_Click();
    void OptSleep_Click();
    void optLoop_Click();
    void cmdLoopFaster_Click();
    void cmdLoopSlower_Click();
    void cmdConfWinkey_Click();
    void Text11_Change();
    void txtCWLoop_LostFocus();

private:
    void Form_Load() override;
    void CalibrateLoop();
    void tmrRepeat_Timer();
    void pushSettings();
    void setKeyingMethod(uint8_t method);
    // `permission`: why the device was refused, when it was (PortAccess.h).
    void reportInvalidPort(const QString& permission = {});
    MorseKeyer::LineAnswer lineForKeying(const MorseSettings& s);
    void logContactForExclamation();
    void echoBuffer();
    void enableLoopControls(bool on);
    // Starts the F1 repeat's delay `leadMs` from now: the rest of the
    // sending (the key-up that ends the message) runs first.
    void startRepeat(double leadMs);
    frmWinKey& winKeyer();
    void winKeyerTransmitEnded(bool failed);

    bool invalidPortReported_ = false; // in the running drain
    bool sendFailed_ = false;          // software keying: the last drain
    QTimer* repeatLead_ = nullptr;     // the end of sending, before the delay
    bool repeatAfterHandOver_ = false; // the WinKeyer is taking an F1 message
};

// Reads cw.txt (found without regard to case) from the working folder into
// the CW keyer's controls, creating the window without showing it.  A
// missing file, a short file or an unusable value ends the reading
// silently; what was read stays.
void ReadCWSettings();

} // namespace zq
