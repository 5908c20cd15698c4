#pragma once
// The voice keyer window "Phone Wave Selections".  Its controls hold the
// voice keyer's settings: the wave files of F1..F9, the push-to-talk port
// and line, the F1 repeat pause and the parallel port address.

#include "common/WindowRegistry.h"
#include "keying/KeyerSettings.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;

// The voice keyer's wave player.  Mode reads 526 while a file plays, 525
// when stopped and 524 when no file is open.
class WavePlayer : public QObject {
public:
    using QObject::QObject;
    static constexpr int ModeNotOpen = 524, ModeStopped = 525, ModePlaying = 526;
    int Mode = ModeNotOpen;
    QString FileName;
    // "Play", "Stop" or "Close"; any other command does nothing.
    void Command(const QString& command);
};

class PhoneFrm : public QDialog, public UnloadStep {
    Q_OBJECT
public:
    PhoneFrm();

    // Unloading the window closes its wave player.
    void onUnload() override;

    // Text1..Text9 wave files of F1..F9, Text10 serial PTT port ("0" none),
    // Text11 parallel port address.  Index 0 is not used.
    std::array<EntryBox*, 12> Text{};
    EntryBox* txtPHLoop = nullptr;   // F1 repeat pause, seconds
    QGroupBox* Frame1 = nullptr;     // the PTT line
    QRadioButton* Option1 = nullptr; // RTS (0)
    QRadioButton* Option2 = nullptr; // DTR (1)
    QRadioButton* Option3 = nullptr; // Parallel (2)
    QTimer* tmrRepeat = nullptr;     // the pause before F1 repeats

    // Takes the values a read of wave2.txt gave, in file order (the first
    // valuesRead of them).  A PTT line value other than 0, 1 or 2 leaves the
    // choice as it was.
    void applySettings(const PhoneSettingsRead& read);
    PhoneSettings currentSettings() const;

    WavePlayer* MMControl1 = nullptr;
    // Plays the wave file of F1..F9 (key codes 112..120; the code itself is
    // not changed).  F1 starts the automatic repeat when a repeat pause is
    // set.  Other codes do nothing.
    void FKeyPhone(int& KeyCode);

private:
    void tmrRepeat_Timer();
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
