#pragma once
// The voice keyer window "Phone Wave Selections".  Its controls hold the
// voice keyer's settings: the wave files of F1..F9, the push-to-talk port
// and line, the F1 repeat pause and the parallel port address.

#include "keying/KeyerSettings.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;

class PhoneFrm : public QDialog {
    Q_OBJECT
public:
    PhoneFrm();

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

private:
    std::array<QLabel*, 10> keyLabels_{};
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
