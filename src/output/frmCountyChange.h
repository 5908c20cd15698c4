#pragma once
// The in-state station's own-county change.

#include <QDialog>

namespace zq {

class frmCountyChange : public QDialog {
    Q_OBJECT
public:
    frmCountyChange()
    {
        setObjectName(QStringLiteral("frmCountyChange"));
        setWindowTitle(QStringLiteral("County Change"));
    }
};

} // namespace zq
