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
    void onUnload() override {}
};

} // namespace zq
