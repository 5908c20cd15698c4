#pragma once
// The map of the home state's counties with the worked ones filled.

#include <QDialog>

namespace zq {

class CountyMapZQ : public QDialog {
    Q_OBJECT
public:
    CountyMapZQ()
    {
        setObjectName(QStringLiteral("CountyMapZQ"));
        setWindowTitle(QStringLiteral(" Carvonia County Map"));
    }
};

} // namespace zq
