#pragma once
// The voice keyer window "Phone Wave Selections".  Its controls hold the
// voice keyer's settings: the wave files of F1..F9, the push-to-talk port
// and line, the F1 repeat pause and the parallel port address.  It plays
// the wave files through its own wave device and keys push-to-talk (PTT)
// through the keying-port registry while a file plays.

#include "common/WindowRegistry.h"
#include "keying/KeyerSettings.h"
#include "platform/KeyLine.h"

#include <QDialog>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;
class WaveDevice;

// A number in one of the voice keyer's boxes: decimal ("2", "1.5") or
// "&H" hexadecimal ("&H378"); nullopt for anything else.
std::optional<double> phoneBoxNumber(const QString& text);

// Fits a voice window (designed for a 9600 x 7200 twip screen) to the
// screen, exactly centred, its fonts grown with the screen width.
void fitVoiceWindow(QWidget& form);

class PhoneFrm : public QDialog, public UnloadStep, public LoadStep {
    Q_OBJECT
public:
    PhoneFrm();

    // Unloading releases PTT, then closes the wave device.
    void onUnload() override;

    // Text1..Text9 wave files of F1..F9, Text10 serial PTT port ("0" none),
    // Text11 parallel port address.  Index 0 is not used.
    std::array<EntryBox*, 12> Text{};
    EntryBox* txtPHLoop = nullptr;   // F1 repeat pause, seconds
    QGroupBox* Frame1 = nullptr;     // the PTT line
    QRadioButton* Option1 = nullptr; // RTS (0)
    QRadioButton* Option2 = nullptr; // DTR (1)
    QRadioButton* Option3 = nullptr; // Parallel (2)
    // Command2..Command10 "Browse" for Text1..Text9; index 0 and 1 unused.
    std::array<QPushButton*, 11> Browse{};
    QPushButton* Command1 = nullptr;  // Done
    QPushButton* Command11 = nullptr; // Test
    QTimer* Timer1 = nullptr;         // end-of-playback poll, 40 ms
    QTimer* tmrRepeat = nullptr;      // the pause before F1 repeats
    WaveDevice* MMControl1 = nullptr;

    // Takes the values a read of wave2.txt gave, in file order (the first
    // valuesRead of them).  A PTT line value other than 0, 1 or 2 leaves the
    // choice as it was.
    void applySettings(const PhoneSettingsRead& read);
    PhoneSettings currentSettings() const;

    // Plays the wave file of F1..F9 (key codes 112..120; the code itself is
    // not changed) with PTT keyed.  F1 starts the automatic repeat when a
    // repeat pause is set.  Other codes do nothing.
    void FKeyPhone(int& KeyCode);

    // Opens the serial PTT port of Text10, taking the port from the CW key
    // line and the WinKeyer; reports a port that cannot be opened.
    void PhoneSetup();

    // True while a PTT line raised by this window is still raised.
    bool pttKeyed() const { return !raised_.empty(); }

    void Command1_Click();              // Done
    void Browse_Click(int box);         // Command2..Command10: box 1..9
    void Command11_Click();             // Test
    void Timer1_Timer();
    void tmrRepeat_Timer();
    void Text10_LostFocus();
    void txtPHLoop_LostFocus();

private:
    void Form_Load() override;
    // Drops every PTT line this window raised, whatever the settings say now.
    void releasePtt();
    void remember(const std::shared_ptr<KeyLine>& line, KeySignal s);
    // `permission`: why the device was refused, when it was (PortAccess.h).
    void reportInvalidPort(const QString& permission = {});

    struct Raised {
        std::shared_ptr<KeyLine> line;
        KeySignal signal;
    };
    std::vector<Raised> raised_;
};

enum class WaveSettingsLoad {
    Ok,      // all 13 values taken
    Missing, // no wave2.txt: the voice keyer keeps its design values
    Failed,  // unreadable, short or a bad value: the values before it were taken
};

// Reads wave2.txt from the working folder into the voice keyer's controls,
// creating the window without showing it when the file exists.
WaveSettingsLoad LoadWaveSettings();

} // namespace zq
