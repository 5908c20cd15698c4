#include "common/WindowRegistry.h"

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
    if (w) {
        w->hide();
        w->deleteLater();
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
