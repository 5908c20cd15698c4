#include "common/ProgramEnd.h"

#include "platform/InnerLoop.h"

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
    // Nothing a window answers holds the end up: a question or a modal
    // window still up is left as its Cancel would leave it.
    InnerLoop::leaveAllForGood();
    if (handler()) {
        handler()();
        return;
    }
    // QCoreApplication::exit, not quit: quit first asks every window to
    // close and is dropped when one refuses (a window left only through its
    // own Done, code practice while it sends), so the program would run on
    // with its lock held.  exit tells every running event loop to return,
    // whatever the windows say.  Queued, so that a request made before the
    // event loop runs still ends it.
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
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
