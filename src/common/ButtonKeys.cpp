#include "common/ButtonKeys.h"

#include "common/EventOnItsWay.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace zq {

namespace {

bool isEnter(const QKeyEvent& e)
{
    return (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter)
        && (e.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !e.isAutoRepeat();
}

// Sees each Enter twice: where it starts, at the button with the focus, and
// at that button's window, the last stop of a key that no control and no
// key handling on the way took.  There it presses the button.
class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress || !watched->isWidgetType()
            || !isEnter(*static_cast<QKeyEvent*>(e)))
            return false;
        auto* w = static_cast<QWidget*>(watched);
        if (auto* button = qobject_cast<QPushButton*>(w); button && button->hasFocus()) {
            // A button that presses itself on Enter (a message box's) is
            // left alone: the key stops there.
            start_.remember(e, button);
            return false;
        }
        if (!start_.is(e) || !w->isWindow())
            return false;
        const QPointer<QPushButton> button = qobject_cast<QPushButton*>(start_.at());
        start_.forget();
        if (!button || button->window() != w || !button->isEnabled() || !button->isVisible())
            return false;
        e->accept();
        button->click();
        return true;
    }

private:
    // The Enter that started at a focused button.
    EventOnItsWay start_{this};
};

} // namespace

void installEnterPressesFocusedButton()
{
    static QPointer<EnterPressesButton> filter;
    if (filter || !QApplication::instance())
        return;
    filter = new EnterPressesButton(QApplication::instance());
    QApplication::instance()->installEventFilter(filter);
}

} // namespace zq
