#include "common/EntryBox.h"

#include "common/KeyCodes.h"

#include <QKeyEvent>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace zq {

// Checks every change of the box's text: typed characters, pastes from
// the keyboard or the context menu, and drops all insert through the line
// edit and arrive here.  Only the inserted part is checked, against the
// text as it stood before the change, so a text set by code that the
// operator could not have typed still takes edits.  Text set by code
// clears the line edit's undo history; an empty history therefore marks a
// change by code, which is taken as it is.  A refused change is undone by
// the line edit, so the text before it stands.  Blanks that a paste or a
// drop puts at either end of the text are dropped in a box that drops them
// (typed keys are left to the key handler).  The inserted letters are
// cased by the box's rule; when that changes the text, the line edit takes
// the cased text (as the text of one change: the undo history starts
// again there).
class EntryTextValidator final : public QValidator {
public:
    explicit EntryTextValidator(EntryBox& box) : QValidator(&box), box_(box) {}

    State validate(QString& input, int& cursor) const override
    {
        if (box_.isUndoAvailable()) {
            auto [from, to] = insertedSpan(box_.lastText_, input);
            if (box_.endBlanksDropped_ && !box_.typing_)
                to = dropEndBlanks(input, cursor, from, to);
            for (qsizetype i = from; i < to; ++i)
                if (box_.refuses(input[i]))
                    return Invalid;
            applyLetterCase(box_.letterCase(), input, from, to);
        }
        box_.lastText_ = input;
        return Acceptable;
    }

private:
    // Drops the blanks of the inserted part input[from, to) that stand at
    // the start or the end of `input`, keeping the cursor on the character
    // it stood before; returns the part's new end.
    static qsizetype dropEndBlanks(QString& input, int& cursor, qsizetype from, qsizetype to)
    {
        const auto drop = [&](qsizetype at, qsizetype count) {
            input.remove(at, count);
            if (cursor >= at + count)
                cursor -= static_cast<int>(count);
            else if (cursor > at)
                cursor = static_cast<int>(at);
            to -= count;
        };
        if (to == input.size()) {
            qsizetype n = 0;
            while (n < to - from && input[to - 1 - n] == u' ')
                ++n;
            drop(to - n, n);
        }
        if (from == 0) {
            qsizetype n = 0;
            while (n < to && input[n] == u' ')
                ++n;
            drop(0, n);
        }
        return to;
    }

    // The part of `after` that the change put in place of `before`'s.
    static std::pair<qsizetype, qsizetype> insertedSpan(const QString& before, const QString& after)
    {
        const qsizetype shorter = std::min(before.size(), after.size());
        qsizetype head = 0;
        while (head < shorter && before[head] == after[head])
            ++head;
        qsizetype tail = 0;
        while (tail < shorter - head
               && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        return {head, after.size() - tail};
    }

    EntryBox& box_;
};

namespace {

QChar raised(QChar c)
{
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

QChar lowered(QChar c)
{
    return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
}

} // namespace

void applyLetterCase(LetterCase rule, QString& text, qsizetype from, qsizetype to)
{
    to = std::min(to, text.size());
    for (qsizetype i = std::max<qsizetype>(from, 0); i < to; ++i) {
        switch (rule) {
        case LetterCase::AsTheyCome:
            return;
        case LetterCase::Capitals:
            text[i] = raised(text[i]);
            break;
        case LetterCase::CodeThenName:
            if (i < 2)
                text[i] = raised(text[i]);
            else if (i == 2 && text[i] != u' ')
                text[1] = lowered(text[1]);
            break;
        }
    }
}

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new EntryTextValidator(*this));
}

bool EntryBox::refuses(QChar c) const
{
    const char16_t u = c.unicode();
    // C0, DEL and the C1 controls (a Latin-1 text pasted from elsewhere).
    if (u < 32 || (u >= 127 && u < 160))
        return true;
    if (u == u'"' && !quotesAllowed_)
        return true;
    if (characterFilter) {
        int code = u;
        characterFilter(code);
        if (code == 0)
            return true;
    }
    return false;
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
    // Ctrl+V and Shift+Insert paste through the line edit, whose inserts
    // the box checks like typed characters.
    if (isPasteKey(e)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    // Esc is the window's: an ordinary dialog closes on it.
    if (e->key() == Qt::Key_Escape) {
        e->ignore();
        return;
    }
    // The line edit's own editing commands edit the box.
    if (e->matches(QKeySequence::SelectAll) || e->matches(QKeySequence::Copy)
        || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Undo)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    int ascii = keyPressCode(e);
    if (ascii == 0) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (onKeyPress)
        onKeyPress(ascii);
    if (ascii == 0 || (ascii == '"' && !quotesAllowed_)) {
        e->accept();
        return;
    }
    if (ascii == vk::Back) {
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QLineEdit::keyPressEvent(&back);
        return;
    }
    if (ascii < 32) { // Enter and the other control characters type nothing
        e->accept();
        return;
    }
    if (typedLimit_ > 0 && text().size() - selectedText().size() >= typedLimit_) {
        e->accept();
        return;
    }
    typing_ = true;
    insert(QString(QChar(ascii)));
    typing_ = false;
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
