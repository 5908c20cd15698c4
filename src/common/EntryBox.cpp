#include "common/EntryBox.h"

#include "common/KeyCodes.h"

#include <QKeyEvent>
#include <QValidator>

namespace zq {

namespace {
// Refuses text holding characters that the program's files cannot carry.
class SafeTextValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (QChar c : input)
            if (c == u'"' || c == u'\r' || c == u'\n')
                return Invalid;
        return Acceptable;
    }
};
} // namespace

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new SafeTextValidator(this));
}

void EntryBox::keyPressEvent(QKeyEvent* e)
{
    int code = keyDownCode(e);
    if (onKeyDown && code != 0) {
        onKeyDown(code, shiftState(e));
        if (code == 0) {
            e->accept();
            return;
        }
    }
    int ascii = keyPressCode(e);
    if (ascii == 0) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (onKeyPress)
        onKeyPress(ascii);
    if (ascii == 0 || ascii == '"') {
        e->accept();
        return;
    }
    if (ascii == vk::Back) {
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QLineEdit::keyPressEvent(&back);
        return;
    }
    if (ascii < 32) { // Enter, Esc and control characters type nothing
        e->accept();
        return;
    }
    if (typedLimit_ > 0 && text().size() - selectedText().size() >= typedLimit_) {
        e->accept();
        return;
    }
    insert(QString(QChar(ascii)));
    e->accept();
}

void EntryBox::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    emit focusLost();
}

void EntryBox::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    emit focusGained();
}

} // namespace zq
