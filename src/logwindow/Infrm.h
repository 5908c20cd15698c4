#pragma once
// Placeholder of the in-state log window until the window is built.
#include <QMainWindow>

namespace zq {
class Infrm : public QMainWindow {
    Q_OBJECT
public:
    Infrm() { setObjectName(QStringLiteral("Infrm")); setWindowTitle(QStringLiteral("Brelvox's ZQ State QSO Party Contest Log 2.1")); }
};
} // namespace zq
