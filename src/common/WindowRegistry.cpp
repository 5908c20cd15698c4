#include "common/WindowRegistry.h"

#include "platform/InnerLoop.h"

namespace zq {

std::map<std::type_index, QPointer<QWidget>>& WindowRegistry::windows()
{
    static std::map<std::type_index, QPointer<QWidget>> map;
    return map;
}

void WindowRegistry::dispose(QPointer<QWidget> w)
{
    if (!w)
        return;
    if (auto* step = dynamic_cast<UnloadStep*>(w.data()))
        step->onUnload();
    if (!w)
        return;
    // Its questions and modal showings are closed as their Cancel would
    // close them; the window itself goes once no inner loop runs, so none
    // of them, nor a handler of its own below one, is left with a deleted
    // window.
    InnerLoop::leaveLoopsOf(w);
    if (w) {
        w->hide();
        InnerLoop::deleteWhenOutermost(w);
    }
}

void WindowRegistry::unloadAll()
{
    auto& map = windows();
    while (!map.empty()) {
        QPointer<QWidget> w = map.begin()->second;
        map.erase(map.begin());
        dispose(w);
    }
}

} // namespace zq
