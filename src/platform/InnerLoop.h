#pragma once
// The nested event loops the program runs: a question, an input box, a
// file or colour dialog, a window shown modally, a hold for a spoken
// prompt, a message being keyed.  Each one is registered for as long as it
// runs, with the way to leave it as its Cancel or close would.  That keeps
// two things safe from anywhere:
// - a window unloaded while one of its loops runs (a screen reader's press
//   on Done while the window's question is up, a link that drops, a timer)
//   first has those loops left, and is deleted only once no inner loop runs
//   any more, never under a loop that is still on the stack;
// - the end of the program leaves every loop and has any loop started
//   after that return at once unanswered.

#include <QObject>
#include <QPointer>
#include <functional>

namespace zq {

class InnerLoop {
public:
    // Registers a loop about to run.  `owner` is the window it belongs to
    // (a question's parent, the modal window itself), or null; `leave` ends
    // the loop as its Cancel or close would and must not delete anything.
    InnerLoop(QObject* owner, std::function<void()> leave);
    ~InnerLoop();
    InnerLoop(const InnerLoop&) = delete;
    InnerLoop& operator=(const InnerLoop&) = delete;

    // True once the loop has been left from outside, or at once when the
    // program is ending: the loop must not run (or its result not count),
    // and the caller takes its Cancel answer.
    bool left() const { return left_; }

    // How many registered loops run now.
    static int depth();

    // Leaves the running loops that belong to `window` or to a widget
    // inside it, innermost first.
    static void leaveLoopsOf(const QObject* window);

    // The program ends: every running loop is left, innermost first, and
    // every loop started from now on is left as it starts.
    static void leaveAllForGood();
    static bool closing();

    // Deletes `object` (deleteLater) once no registered loop runs: at once
    // when none does.
    static void deleteWhenOutermost(QObject* object);

    // Tests: forgets the closing state.
    static void resetForTesting();

private:
    void leave();

    QPointer<QObject> owner_;
    std::function<void()> leave_;
    bool left_ = false;
};

} // namespace zq
