#pragma once
// The tuning panel: a frequency and a mode for the radio.

#include <QDialog>

namespace zq {

class frmRigTune : public QDialog {
    Q_OBJECT
public:
    frmRigTune()
    {
        setObjectName(QStringLiteral("frmRigTune"));
        setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    }
};

} // namespace zq
