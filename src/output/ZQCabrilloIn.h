#pragma once
// The summary sheet questions and the writer of the submission file.

#include <QDialog>

namespace zq {

class ZQCabrilloIn : public QDialog {
    Q_OBJECT
public:
    ZQCabrilloIn()
    {
        setObjectName(QStringLiteral("ZQCabrilloIn"));
        setWindowTitle(QStringLiteral("Summary Sheet Information"));
    }
};

} // namespace zq
