#pragma once
// Voice navigation: spoken prompts for the entry fields.

#include "common/WindowRegistry.h"

#include <QDialog>

namespace zq {

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
    void onUnload() override {}
};

} // namespace zq
