#pragma once
// The counties an in-state rover on a county line is in; entry 0 is the
// county the station is logged in.

#include <QDialog>
#include <QListWidget>

namespace zq {

class frmCountyChangeRover : public QDialog {
    Q_OBJECT
public:
    frmCountyChangeRover()
    {
        setObjectName(QStringLiteral("frmCountyChangeRover"));
        setWindowTitle(QStringLiteral("County Change for Rovers"));
        List1 = new QListWidget(this);
        List1->setObjectName(QStringLiteral("List1"));
    }
    QListWidget* List1 = nullptr;
};

} // namespace zq
