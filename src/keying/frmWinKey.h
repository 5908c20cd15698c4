#pragma once
// The WinKeyer set-up window.

#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"

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

    // Hands the whole send buffer to the WinKeyer.
    void WKTransmit()
    {
        SendBuffer& b = KeyingState::instance().CwSendBuffer;
        const QString text = b.text();
        b.clear();
        wk_sendtext(text);
    }
};

} // namespace zq
