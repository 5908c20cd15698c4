#include "common/ModalShow.h"

#include "platform/InnerLoop.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace zq {

namespace {
std::function<void(QWidget&)>& handler()
{
    static std::function<void(QWidget&)> h;
    return h;
}

// Ends a local event loop when the watched window is hidden.
class HideWatcher final : public QObject {
public:
    HideWatcher(QWidget& w, QEventLoop& loop) : loop_(loop) { w.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide)
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};
} // namespace

bool showModal(QWidget& window)
{
    if (handler()) {
        handler()(window);
        return true;
    }
    // Left from outside, the window is closed as its Cancel would close
    // it: a dialog is rejected, any other window hidden, and nothing of its
    // own Done or close steps runs.
    QPointer<QWidget> w(&window);
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        InnerLoop inner(dialog, [w] {
            if (auto* d = qobject_cast<QDialog*>(w.data()))
                d->reject();
        });
        if (!inner.left())
            dialog->exec();
        return !inner.left();
    }
    const Qt::WindowModality old = window.windowModality();
    QEventLoop loop;
    InnerLoop inner(&window, [w, &loop] {
        if (w)
            w->hide();
        loop.quit();
    });
    if (inner.left())
        return false;
    window.setWindowModality(Qt::ApplicationModal);
    HideWatcher watcher(window, loop);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.show();
    if (window.isVisible())
        loop.exec();
    if (w)
        w->setWindowModality(old);
    return !inner.left();
}

void setModalShowHandlerForTesting(std::function<void(QWidget&)> h)
{
    handler() = std::move(h);
}

} // namespace zq
