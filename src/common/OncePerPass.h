#pragma once
// A drawing asked for many times within one pass of the event loop (a
// burst of spots, each wanting the band maps redrawn) that runs once, from
// a queued call right after that pass.  A drawing that depends only on the
// state at the time it runs ends the same whether it ran after every
// change or once after the last.
//
// The queued call is bound to a context object (the window that owns this):
// when the window is deleted first, the call is dropped with it.

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <utility>

namespace zq {

class OncePerPass {
public:
    OncePerPass(QObject* context, std::function<void()> action)
        : context_(context), action_(std::move(action))
    {
    }
    OncePerPass(const OncePerPass&) = delete;
    OncePerPass& operator=(const OncePerPass&) = delete;

    // Asks for one run after the present pass; further requests before it
    // runs add nothing.
    void request()
    {
        due_ = true;
        if (queued_)
            return;
        queued_ = true;
        QMetaObject::invokeMethod(
            context_,
            [this] {
                queued_ = false;
                if (!due_)
                    return;
                due_ = false;
                action_();
            },
            Qt::QueuedConnection);
    }

    // The drawing has just run directly: a run asked for earlier has
    // nothing left to do.
    void ran() { due_ = false; }

    bool due() const { return due_; }

private:
    QObject* context_;
    std::function<void()> action_;
    bool due_ = false;
    bool queued_ = false;
};

} // namespace zq
