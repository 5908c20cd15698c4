#pragma once
// The CW keyer window "CW String Selections".  While the program runs its
// controls are the only store of the CW settings: the function-key
// messages, the key-line port, the speed, the word space, the keying
// method, the parallel port address, the echo option and the F1 repeat.

#include "keying/KeyerSettings.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QGroupBox;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;

class CWFrm : public QDialog {
    Q_OBJECT
public:
    CWFrm();

    // Text1..Text9 F1..F9 messages, Text10 key-line serial port, Text11 speed
    // (WPM), Text12 F10 message, Text13 F11 message, Text14 parallel port
    // address.  Index 0 is not used.
    std::array<EntryBox*, 15> Text{};
    EntryBox* txtSpace = nullptr;  // word-space adjustment
    EntryBox* txtCWLoop = nullptr; // F1 repeat delay, seconds
    QCheckBox* Check1 = nullptr;   // echo the sent text on the log window
    QGroupBox* Frame1 = nullptr;   // "Keying Options"
    QRadioButton* Option1 = nullptr; // RTS (1)
    QRadioButton* Option2 = nullptr; // DTR (2)
    QRadioButton* Option3 = nullptr; // Printer (3)
    QRadioButton* Option4 = nullptr; // None (0)
    QRadioButton* Option5 = nullptr; // WinKey (5)
    QTimer* tmrRepeat = nullptr;   // repeats the F1 message

    // Takes the values a read of CW.txt gave, in file order: the first
    // valuesRead values (the keying method into CwKeyingMethod), the repeat
    // interval and the method's option only when the read was complete.
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
    // Keys CwSendBuffer from its start until it is empty, letting queued
    // events run after each character: characters appended meanwhile are
    // keyed by the same run, and an emptied buffer ends it.  A "!" logs the
    // contact of the active log window.  With the WinKeyer the buffer is
    // handed to it instead.
    void LoopThroughCWBuffer();
    // Where each character to be keyed goes; the key-line driver sets it.
    std::function<void(QChar)> keyCharacter;

private:
    QString expandMacros(const QString& message) const;
    void tmrRepeat_Timer();
};

// Reads cw.txt (found without regard to case) from the working folder into
// the CW keyer's controls, creating the window without showing it.  A
// missing file, a short file or an unusable value ends the reading
// silently; what was read stays.
void ReadCWSettings();

} // namespace zq
