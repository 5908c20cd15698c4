#pragma once
// The contact-rate graph of the whole log.

#include <QDialog>

namespace zq {

class GraphQSO : public QDialog {
    Q_OBJECT
public:
    GraphQSO()
    {
        setObjectName(QStringLiteral("GraphQSO"));
        setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    }
};

} // namespace zq
