#pragma once
// The code-practice window "On the Air Code Practice".

#include <QDialog>

namespace zq {

class frmCodePractice : public QDialog {
    Q_OBJECT
public:
    frmCodePractice()
    {
        setObjectName(QStringLiteral("frmCodePractice"));
        setWindowTitle(QStringLiteral("On the Air Code Practice"));
    }
};

} // namespace zq
