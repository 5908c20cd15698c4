#pragma once
// Placeholder of the out-of-state log window until the window is built.
#include <QMainWindow>

namespace zq {
class Outfrm : public QMainWindow {
    Q_OBJECT
public:
    Outfrm() { setObjectName(QStringLiteral("Outfrm")); setWindowTitle(QStringLiteral("Brelvox's ZQ State QSO Party Contest Log 2.1")); }
};
} // namespace zq
