#include "platform/InnerLoop.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zq {

namespace {

bool g_closing = false;

// The running loops, outermost first.
std::vector<InnerLoop*>& running()
{
    static std::vector<InnerLoop*> loops;
    return loops;
}

std::vector<QPointer<QObject>>& parked()
{
    static std::vector<QPointer<QObject>> objects;
    return objects;
}

bool isInside(const QObject* object, const QObject* window)
{
    for (; object; object = object->parent())
        if (object == window)
            return true;
    return false;
}

// No inner loop runs any more: the parked windows go.  The caller of the
// last loop is still on the stack (it may be a handler of a parked window),
// and deleteLater waits for it to return to the event loop that called it.
void releaseParked()
{
    for (const QPointer<QObject>& o : std::exchange(parked(), {}))
        if (o)
            o->deleteLater();
}

} // namespace

InnerLoop::InnerLoop(QObject* owner, std::function<void()> leave)
    : owner_(owner), leave_(std::move(leave)), left_(g_closing)
{
    running().push_back(this);
}

InnerLoop::~InnerLoop()
{
    auto& loops = running();
    loops.erase(std::remove(loops.begin(), loops.end(), this), loops.end());
    if (loops.empty())
        releaseParked();
}

void InnerLoop::leave()
{
    if (left_)
        return;
    left_ = true;
    if (leave_)
        leave_();
}

int InnerLoop::depth()
{
    return static_cast<int>(running().size());
}

void InnerLoop::leaveLoopsOf(const QObject* window)
{
    if (!window)
        return;
    // Every loop of the copy is on the stack below this call, so none ends
    // while the copy is walked; a loop that leaving starts is not in it.
    const std::vector<InnerLoop*> loops = running();
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        if ((*it)->owner_ && isInside((*it)->owner_, window))
            (*it)->leave();
}

void InnerLoop::leaveAllForGood()
{
    g_closing = true;
    const std::vector<InnerLoop*> loops = running();
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        (*it)->leave();
}

bool InnerLoop::closing()
{
    return g_closing;
}

void InnerLoop::deleteWhenOutermost(QObject* object)
{
    if (!object)
        return;
    if (running().empty())
        object->deleteLater();
    else
        parked().push_back(object);
}

void InnerLoop::resetForTesting()
{
    g_closing = false;
}

} // namespace zq
