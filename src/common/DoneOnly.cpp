#include "common/DoneOnly.h"

#include "common/ProgramEnd.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace zq {

namespace {

// Swallows the close requests and the Esc keys that reach the window,
// also those an entry box with the focus passes on.  Once the program is
// ending, a close goes through: nothing a window says holds the end up.
class DoneOnlyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Close) {
            if (programEnded())
                return false;
            e->ignore();
            return true;
        }
        if (e->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
            e->accept();
            return true;
        }
        return false;
    }
};

} // namespace

void makeDoneOnly(QWidget& window)
{
    Qt::WindowFlags flags = window.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags &= ~(Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    window.setWindowFlags(flags);
    window.installEventFilter(new DoneOnlyFilter(&window));
}

} // namespace zq
