#include "common/ModalShow.h"

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

void showModal(QWidget& window)
{
    if (handler()) {
        handler()(window);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        dialog->exec();
        return;
    }
    QPointer<QWidget> w(&window);
    const Qt::WindowModality old = window.windowModality();
    window.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    HideWatcher watcher(window, loop);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.show();
    if (window.isVisible())
        loop.exec();
    if (w)
        w->setWindowModality(old);
}

void setModalShowHandlerForTesting(std::function<void(QWidget&)> h)
{
    handler() = std::move(h);
}

} // namespace zq
