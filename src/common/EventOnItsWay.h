#pragma once
// One event remembered while it may still be on its way: a key that a
// control did not take travels on up through the control's parents to its
// window, and a filter that saw it at the control recognises it there.
// The next turn of the event loop forgets it, so a later event that
// happens to reuse its address is never taken for it.

#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

namespace zq {

class EventOnItsWay {
public:
    // `owner` is the filter that keeps this; the forgetting is bound to it.
    explicit EventOnItsWay(QObject* owner) : owner_(owner) {}

    // Remembers `event`, seen at `at`, until the next turn of the event loop.
    void remember(const QEvent* event, QObject* at)
    {
        event_ = event;
        at_ = at;
        QMetaObject::invokeMethod(
            owner_,
            [this, event] {
                if (event_ == event)
                    forget();
            },
            Qt::QueuedConnection);
    }

    bool is(const QEvent* event) const { return event && event == event_; }
    // Where it was seen; null once that object is gone.
    QObject* at() const { return at_; }
    void forget()
    {
        event_ = nullptr;
        at_ = nullptr;
    }

private:
    QObject* owner_;
    const QEvent* event_ = nullptr;
    QPointer<QObject> at_;
};

} // namespace zq
