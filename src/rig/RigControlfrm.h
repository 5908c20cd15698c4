#pragma once
// The rig interface: rig type, serial settings and polling.

#include "common/WindowRegistry.h"

#include <QDialog>

namespace zq {

class RigControlfrm : public QDialog, public UnloadStep {
    Q_OBJECT
public:
    RigControlfrm()
    {
        setObjectName(QStringLiteral("RigControlfrm"));
        setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    }
    // Opens the radio's port and starts polling.
    void Command1_Click() {}
    // Tunes the radio to `qChangeFreq` MHz after setting the band plan's
    // mode; does nothing while polling is off.
    void ChangeFrequency(float qChangeFreq) { (void)qChangeFreq; }
    // Sets `ModeToChangeTo`, or the band plan's mode at `qChangeFrequency`
    // when it is empty.
    void ChangeMode(float qChangeFrequency, const QString& ModeToChangeTo)
    {
        (void)qChangeFrequency;
        (void)ModeToChangeTo;
    }
    void onUnload() override {}
};

} // namespace zq
