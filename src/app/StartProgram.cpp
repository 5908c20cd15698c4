#include "app/StartProgram.h"

#include <QApplication>

namespace zq {

bool startProgram()
{
    // The start-up dialog takes over from here once it exists.
    QApplication::quit();
    return true;
}

} // namespace zq
