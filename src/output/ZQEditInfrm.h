#pragma once
// The in-state log window's dialog for editing one contact.

#include <QDialog>

namespace zq {

class ZQEditInfrm : public QDialog {
    Q_OBJECT
public:
    ZQEditInfrm()
    {
        setObjectName(QStringLiteral("ZQEditInfrm"));
        setWindowTitle(QStringLiteral("Edit Contact Entry"));
    }
};

} // namespace zq
