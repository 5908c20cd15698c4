#pragma once
// The WinKeyer set-up window.

#include "common/WindowRegistry.h"

#include <QDialog>

namespace zq {

class frmWinKey : public QDialog, public UnloadStep {
    Q_OBJECT
public:
    frmWinKey()
    {
        setObjectName(QStringLiteral("frmWinKey"));
        setWindowTitle(QStringLiteral(" WinKey Setup"));
    }
    void onUnload() override {}
};

} // namespace zq
