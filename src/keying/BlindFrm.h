#pragma once
// Voice navigation: spoken prompts for the entry fields, played from wave
// files in the working folder through the window's own wave device, and
// the window "Voice Navigation Settings" where the level is chosen.

#include "common/WindowRegistry.h"

#include <QDialog>
#include <chrono>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zq {

class WaveDevice;

// The longest wait for a prompt's end: the bound of its playback (its length
// plus the device's PlaybackMargin) and a little more, never more than
// PromptWaitCap.  A prompt whose length is unknown gets the margins.  The
// device itself reports the end within its bound.
constexpr std::chrono::milliseconds PromptWaitMargin{250};
constexpr std::chrono::milliseconds PromptWaitCap{6000};
std::chrono::milliseconds promptWaitLimit(std::chrono::milliseconds promptLength);

class BlindFrm : public QDialog, public UnloadStep, public LoadStep {
    Q_OBJECT
public:
    BlindFrm();

    // Plays <Name>.wav from the working folder (found without regard to
    // case), cutting off the prompt before it; returns at once, no PTT.  A
    // missing or unplayable file is silent.
    void BlindKeyPhone(const QString& Name);
    // Holds the program (EventHold) until the device reports that the prompt
    // playing has been heard, or its bound (promptWaitLimit) has passed.
    void waitForPromptEnd();

    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr; // Off
    QRadioButton* Option2 = nullptr; // Call Only
    QRadioButton* Option3 = nullptr; // All Data Fields
    QPushButton* Command1 = nullptr; // Done
    QLabel* Label7 = nullptr;        // the working folder
    WaveDevice* MMControl1 = nullptr;

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Command1_Click();
    void onUnload() override;

private:
    void Form_Load() override;
};

} // namespace zq
