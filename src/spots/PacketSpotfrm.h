#pragma once
// The spotting window: spot source, links and intake.

#include "common/WindowRegistry.h"

#include <QDialog>

namespace zq {

class PacketSpotfrm : public QDialog, public UnloadStep {
    Q_OBJECT
public:
    PacketSpotfrm()
    {
        setObjectName(QStringLiteral("PacketSpotfrm"));
        setWindowTitle(QStringLiteral(" DX Spotting Setup"));
    }
    void onUnload() override {}
};

} // namespace zq
