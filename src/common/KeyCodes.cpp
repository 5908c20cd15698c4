#include "common/KeyCodes.h"

#include <QKeyEvent>

namespace zq {

int keyDownCode(const QKeyEvent* e)
{
    const int k = e->key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return vk::F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::PageUp;
    case Qt::Key_PageDown: return vk::PageDown;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

int shiftState(const QKeyEvent* e)
{
    int s = 0;
    const auto m = e->modifiers();
    if (m & Qt::ShiftModifier)
        s |= shiftmask::Shift;
    if (m & Qt::ControlModifier)
        s |= shiftmask::Ctrl;
    if (m & Qt::AltModifier)
        s |= shiftmask::Alt;
    return s;
}

int keyPressCode(const QKeyEvent* e)
{
    const int k = e->key();
    if (k == Qt::Key_Backspace)
        return vk::Back;
    if (k == Qt::Key_Return || k == Qt::Key_Enter)
        return vk::Return;
    if (k == Qt::Key_Escape)
        return vk::Escape;
    if ((e->modifiers() & Qt::ControlModifier) && k >= Qt::Key_A && k <= Qt::Key_Z)
        return 1 + (k - Qt::Key_A);
    const QString t = e->text();
    if (t.size() == 1) {
        const ushort c = t.at(0).unicode();
        if (c >= 32 && c != 127)
            return c;
    }
    return 0;
}

bool isPasteKey(const QKeyEvent* e)
{
    return e->matches(QKeySequence::Paste);
}

int mouseButtonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

} // namespace zq
