#pragma once
// The out-of-state log window's dialog for editing one contact.

#include <QDialog>

namespace zq {

class ZQEditOut : public QDialog {
    Q_OBJECT
public:
    ZQEditOut()
    {
        setObjectName(QStringLiteral("ZQEditOut"));
        setWindowTitle(QStringLiteral("Edit Contact Entry"));
    }
};

} // namespace zq
