#pragma once
// Holding the program while a device is awaited (a spoken prompt): the
// operator's input and the program's own timers wait until the hold ends,
// while the device being awaited, painting and Qt's own housekeeping go on.
//
// During a hold
// - keys, mouse buttons and wheel turns are kept, in the order they came,
//   and take effect once the hold has ended: a key goes to the widget that
//   has the focus in its window then, a mouse event to the widget it was
//   meant for; shortcuts do not fire meanwhile;
// - a QTimer (or a QTimer::singleShot with a delay) of the program that
//   comes due fires once right after the hold instead, unless its object is
//   marked with keepRunning (the device being awaited and its timers);
// - work handed to runAfter waits until the hold has ended.
// Real window-system input also stays queued in the window system while the
// hold's loop runs.  Holds nest; the outermost one's end releases it all.

#include <QObject>
#include <chrono>
#include <functional>

namespace zq {

class EventHold {
public:
    // True while a hold is in progress.
    static bool active();

    // Runs fn at once when no hold is in progress; otherwise right after the
    // outermost hold ends, in turn with the input kept meanwhile.
    static void runAfter(std::function<void()> fn);

    // The timers of `object` and of its children go on during holds.
    static void keepRunning(QObject* object);

    // Holds the program until `sender` emits `signal`, `sender` is destroyed,
    // or `bound` has passed.  True when the signal came.
    template <typename Sender, typename Signal>
    static bool waitFor(Sender* sender, Signal signal, std::chrono::milliseconds bound)
    {
        Loop loop(bound);
        QObject::connect(sender, signal, loop.target(), [l = &loop] { l->signalled(); });
        QObject::connect(sender, &QObject::destroyed, loop.target(), [l = &loop] { l->quit(); });
        return loop.run();
    }

    // A hold for as long as the object lives (the loop above uses one).
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

private:
    class Loop {
    public:
        explicit Loop(std::chrono::milliseconds bound);
        ~Loop();
        QObject* target() const;
        void signalled();
        void quit();
        bool run();

    private:
        struct Impl;
        Impl* d;
    };
};

} // namespace zq
