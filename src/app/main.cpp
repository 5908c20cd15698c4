#include "app/StartProgram.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brelvox_Software"));
    QApplication::setApplicationName(QStringLiteral("Carvonia"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (!zq::startProgram())
        return 1;
    return app.exec();
}
