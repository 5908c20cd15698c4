#pragma once
// Default instances of the program's windows: a window is created on first
// use, reached by its type anywhere, and destroyed when unloaded; the next
// use creates a fresh one.  Creating a window builds it, registers it and
// only then runs its load step, so whatever the load does (a message box,
// a modal showing, a failed port, an event pass) reaches this same window
// and never builds a second one.  Unloading runs the window's unload step
// at once, closes the window's open questions and modal showings as their
// Cancel would, and deletes the object from the event loop once no inner
// loop runs (platform/InnerLoop.h), so a window may be unloaded from inside
// one of its own handlers or while one of its questions is up.

#include <QPointer>
#include <QWidget>
#include <map>
#include <typeindex>

namespace zq {

// Windows with work to do when loaded (fitting, reading settings, opening
// a link) implement this instead of doing it in their constructor; the
// registry runs the step once, right after registering the window.
class LoadStep {
public:
    virtual ~LoadStep() = default;
    virtual void Form_Load() = 0;
};

// Windows with work to do when unloaded (closing a port, a player, a link)
// implement this; the step runs before the window is hidden and deleted.
class UnloadStep {
public:
    virtual ~UnloadStep() = default;
    virtual void onUnload() = 0;
};

class WindowRegistry {
public:
    template <class W>
    static W& instance()
    {
        auto& map = windows();
        auto it = map.find(std::type_index(typeid(W)));
        if (it != map.end() && it->second)
            return *static_cast<W*>(it->second.data());
        W* w = new W();
        map[std::type_index(typeid(W))] = w;
        if (auto* step = dynamic_cast<LoadStep*>(w))
            step->Form_Load();
        return *w;
    }

    template <class W>
    static W* existing()
    {
        auto& map = windows();
        auto it = map.find(std::type_index(typeid(W)));
        if (it == map.end() || !it->second)
            return nullptr;
        return static_cast<W*>(it->second.data());
    }

    template <class W>
    static bool isLoaded()
    {
        return existing<W>() != nullptr;
    }

    // Unloading a window that is not loaded does nothing.
    template <class W>
    static void unload()
    {
        auto& map = windows();
        auto it = map.find(std::type_index(typeid(W)));
        if (it == map.end())
            return;
        QPointer<QWidget> w = it->second;
        map.erase(it);
        dispose(w);
    }

    // Unloads every window (program end, and between tests).
    static void unloadAll();

private:
    static std::map<std::type_index, QPointer<QWidget>>& windows();
    static void dispose(QPointer<QWidget> w);
};

template <class W>
W& DefaultInstance()
{
    return WindowRegistry::instance<W>();
}

} // namespace zq
