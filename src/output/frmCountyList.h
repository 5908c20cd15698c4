#pragma once
// The home state's counties with their abbreviations.

#include <QDialog>

namespace zq {

class frmCountyList : public QDialog {
    Q_OBJECT
public:
    frmCountyList()
    {
        setObjectName(QStringLiteral("frmCountyList"));
        setWindowTitle(QStringLiteral("County List"));
    }
};

} // namespace zq
