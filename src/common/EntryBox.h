#pragma once
// A single-line entry box whose typed keys pass through key-down and
// key-press handlers first.  A handler may change a code or set it to 0 to
// drop the key.  The length limit applies to typed keys only: text set by
// code is kept whole.
//
// What the operator puts into the box, typed, pasted (Ctrl+V, Shift+Insert,
// the context menu's Paste) or dropped, passes one check: a control
// character, a double quote (unless the box takes quotes) or a character
// that the box's character filter drops never enters it, and a paste that
// holds one is refused whole.  In a box of capitals, letters a-z become
// A-Z however they arrive.  Text set by code is neither checked nor
// changed.
//
// Keys that the key-down handler leaves keep their usual meaning and never
// reach the key-press handler as characters: Esc goes on to the window (an
// ordinary dialog closes), and the line edit's editing commands (select
// all, copy, cut, undo, paste) edit the box.  Enter and the Ctrl+letters
// that are no editing command reach the key-press handler as their
// character codes and type nothing.

#include <QLineEdit>
#include <functional>

namespace zq {

class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    explicit EntryBox(QWidget* parent = nullptr);

    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyAscii)> onKeyPress;

    // The characters the box takes, in the key filters' form (DigitKey and
    // the like): a character code it sets to 0 is refused however it
    // arrives.  Its other changes are for onKeyPress to make on typed keys.
    // Empty: every character.
    std::function<void(int& keyAscii)> characterFilter;

    // A box of capitals: the letters a-z that the operator types, pastes or
    // drops become A-Z, as its key handler makes them when typed.  Off:
    // pasted text keeps its case.
    void setCapitals(bool on) { capitals_ = on; }
    bool capitals() const { return capitals_; }

    // The double quote is refused unless the box's text never goes into a
    // quoted file.
    void setQuotesAllowed(bool allowed) { quotesAllowed_ = allowed; }
    bool quotesAllowed() const { return quotesAllowed_; }

    // True when the operator may not put `c` into the box.
    bool refuses(QChar c) const;

    void setTypedLimit(int chars) { typedLimit_ = chars; }
    int typedLimit() const { return typedLimit_; }

signals:
    void focusLost();
    void focusGained();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    friend class EntryTextValidator;

    int typedLimit_ = 0; // 0: no limit
    bool quotesAllowed_ = false;
    bool capitals_ = false;
    QString lastText_;   // the text before the change being checked
};

} // namespace zq
