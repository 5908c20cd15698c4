#pragma once
// The band-plan privileges of each licence class.

#include <QDialog>

namespace zq {

class frmBandPlan : public QDialog {
    Q_OBJECT
public:
    frmBandPlan()
    {
        setObjectName(QStringLiteral("frmBandPlan"));
        setWindowTitle(QStringLiteral("Frequency Privileges"));
    }
};

} // namespace zq
