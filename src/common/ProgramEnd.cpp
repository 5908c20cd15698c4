#include "common/ProgramEnd.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace zq {

namespace {
bool& endedFlag()
{
    static bool ended = false;
    return ended;
}

std::function<void()>& handler()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void endProgram()
{
    endedFlag() = true;
    if (handler()) {
        handler()();
        return;
    }
    // Queued, so that a request made before the event loop runs still ends it.
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

void flagProgramEnd()
{
    endedFlag() = true;
}

bool programEnded()
{
    return endedFlag();
}

void setProgramEndHandlerForTesting(std::function<void()> h)
{
    handler() = std::move(h);
}

void resetProgramEndForTesting()
{
    endedFlag() = false;
}

} // namespace zq
