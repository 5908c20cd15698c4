#include "platform/EventHold.h"

#include "platform/InnerLoop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <memory>
#include <vector>

namespace zq {
namespace {

const char* const kKeepRunning = "zqKeepsRunningInHolds";

struct Deferred {
    enum class Kind { Input, Timer, Call } kind;
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event; // Input
    int timerId = 0;               // Timer
    std::function<void()> call;    // Call
};

int g_depth = 0;
std::vector<Deferred>& deferred()
{
    static std::vector<Deferred> v;
    return v;
}

bool isHeldInput(QEvent::Type t)
{
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::FocusIn: // a focus handler (a spoken prompt) waits its turn
    case QEvent::FocusOut:
        return true;
    default:
        return false;
    }
}

bool isDroppedInput(QEvent::Type t)
{
    // Pointer movement takes no effect later; a shortcut waits as its key.
    return t == QEvent::MouseMove || t == QEvent::ShortcutOverride || t == QEvent::Shortcut;
}

bool keptRunning(const QObject* o)
{
    for (; o; o = o->parent())
        if (o->property(kKeepRunning).toBool())
            return true;
    return false;
}

// The program's own timers: QTimer objects and the helpers of
// QTimer::singleShot.  Qt's internal timers (cursor blink, the sound
// output's feed) are QBasicTimers of other objects and go on.
bool isProgramTimer(const QObject* o)
{
    if (qobject_cast<const QTimer*>(o))
        return true;
    return std::strcmp(o->metaObject()->className(), "QSingleShotTimer") == 0;
}

bool isUserObject(const QObject* o)
{
    return o->isWidgetType() || o->isWindowType();
}

class HoldFilter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if (t == QEvent::Timer) {
            if (!isProgramTimer(watched) || keptRunning(watched))
                return false;
            const int id = static_cast<QTimerEvent*>(e)->timerId();
            for (const Deferred& d : deferred())
                if (d.kind == Deferred::Kind::Timer && d.receiver == watched && d.timerId == id)
                    return true;
            Deferred d{Deferred::Kind::Timer, watched, nullptr, id, {}};
            deferred().push_back(std::move(d));
            return true;
        }
        if (!isUserObject(watched))
            return false;
        if (isDroppedInput(t)) {
            e->accept(); // an accepted override keeps a shortcut from firing
            return true;
        }
        if (isHeldInput(t)) {
            Deferred d{Deferred::Kind::Input, watched, std::unique_ptr<QEvent>(e->clone()), 0, {}};
            deferred().push_back(std::move(d));
            return true;
        }
        return false;
    }
};

HoldFilter* g_filter = nullptr;

void release()
{
    std::vector<Deferred> items;
    items.swap(deferred());
    for (Deferred& d : items) {
        // The program ends: what the operator did meanwhile and the timers
        // that came due are dropped, the held work (a contact to log) still
        // runs before the windows go.
        if (InnerLoop::closing() && d.kind != Deferred::Kind::Call)
            continue;
        switch (d.kind) {
        case Deferred::Kind::Input: {
            QObject* to = d.receiver;
            if (!to)
                break;
            const QEvent::Type t = d.event->type();
            if ((t == QEvent::KeyPress || t == QEvent::KeyRelease) && to->isWidgetType()) {
                // A key goes where the focus is when its turn comes, as a key
                // typed then would (the held work may move the focus).
                QPointer<QWidget> window = static_cast<QWidget*>(to)->window();
                std::shared_ptr<QEvent> key(d.event.release());
                QPointer<QObject> typedInto = to;
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [window, typedInto, key] {
                        QObject* target = typedInto;
                        if (window && window->focusWidget())
                            target = window->focusWidget();
                        if (target)
                            QCoreApplication::sendEvent(target, key.get());
                    },
                    Qt::QueuedConnection);
                break;
            }
            if ((t == QEvent::FocusIn || t == QEvent::FocusOut) && to->isWidgetType()) {
                // Only a focus change that still holds is told.
                const auto* w = static_cast<QWidget*>(to);
                if ((t == QEvent::FocusIn) != (w->window()->focusWidget() == w && w->hasFocus()))
                    break;
            }
            QCoreApplication::postEvent(to, d.event.release());
            break;
        }
        case Deferred::Kind::Timer:
            if (d.receiver)
                QCoreApplication::postEvent(d.receiver, new QTimerEvent(d.timerId));
            break;
        case Deferred::Kind::Call:
            if (QCoreApplication* app = QCoreApplication::instance())
                QMetaObject::invokeMethod(app, std::move(d.call), Qt::QueuedConnection);
            break;
        }
    }
}

} // namespace

bool EventHold::active()
{
    return g_depth > 0;
}

void EventHold::runAfter(std::function<void()> fn)
{
    if (!active()) {
        fn();
        return;
    }
    Deferred d{Deferred::Kind::Call, nullptr, nullptr, 0, std::move(fn)};
    deferred().push_back(std::move(d));
}

void EventHold::keepRunning(QObject* object)
{
    if (object)
        object->setProperty(kKeepRunning, true);
}

EventHold::Scope::Scope()
{
    if (g_depth++ == 0) {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            g_filter = new HoldFilter;
            app->installEventFilter(g_filter);
        }
    }
}

EventHold::Scope::~Scope()
{
    if (--g_depth > 0)
        return;
    delete g_filter; // removes itself from the application's filters
    g_filter = nullptr;
    release();
}

struct EventHold::Loop::Impl {
    Scope scope;
    QEventLoop loop;
    QTimer bound;
    bool signalled = false;
};

EventHold::Loop::Loop(std::chrono::milliseconds bound) : d(new Impl)
{
    d->bound.setSingleShot(true);
    keepRunning(&d->bound);
    QObject::connect(&d->bound, &QTimer::timeout, &d->loop, &QEventLoop::quit);
    d->bound.start(bound);
}

EventHold::Loop::~Loop()
{
    delete d;
}

QObject* EventHold::Loop::target() const
{
    return &d->loop;
}

void EventHold::Loop::signalled()
{
    d->signalled = true;
    d->loop.quit();
}

void EventHold::Loop::quit()
{
    d->loop.quit();
}

bool EventHold::Loop::run()
{
    // Left from outside (the program ends) as if the bound had passed.
    InnerLoop inner(nullptr, [this] { d->loop.quit(); });
    if (!d->signalled && !inner.left())
        d->loop.exec(QEventLoop::ExcludeUserInputEvents);
    return d->signalled && !inner.left();
}

} // namespace zq
