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
// holds one is refused whole.  Letters are cased by the box's rule however
// they arrive (in a box of capitals a-z become A-Z).  In a box whose typed
// keys never put a blank at the start or the end of its text, blanks that a
// paste or a drop would put there are dropped.  Text set by code is neither
// checked nor changed.
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

// How a box cases the letters the operator puts into it, as its key
// handler cases typed ones.
enum class LetterCase {
    AsTheyCome,
    // a-z become A-Z.
    Capitals,
    // A state or province code or a country name: the first two characters
    // in capitals; a character put in third place (other than a blank)
    // makes it a name, and the second character is lowered.
    CodeThenName,
};

// Cases the characters `from` to `to` (exclusive) of `text`, just put in
// place of others, by `rule`, as if typed one by one.
void applyLetterCase(LetterCase rule, QString& text, qsizetype from, qsizetype to);

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

    // The case rule of the letters the operator types, pastes or drops.
    // AsTheyCome (the default): pasted text keeps its case.
    void setLetterCase(LetterCase rule) { letterCase_ = rule; }
    LetterCase letterCase() const { return letterCase_; }
    // A box of capitals (on) or of letters as they come (off).
    void setCapitals(bool on) { letterCase_ = on ? LetterCase::Capitals : LetterCase::AsTheyCome; }
    bool capitals() const { return letterCase_ == LetterCase::Capitals; }

    // The double quote is refused unless the box's text never goes into a
    // quoted file.
    void setQuotesAllowed(bool allowed) { quotesAllowed_ = allowed; }
    bool quotesAllowed() const { return quotesAllowed_; }

    // A box whose key handler never types a blank at the start or the end
    // of its text (a blank there moves on to the next field): blanks that
    // a paste or a drop would put there are dropped as typed ones are.
    void setEndBlanksDropped(bool on) { endBlanksDropped_ = on; }
    bool endBlanksDropped() const { return endBlanksDropped_; }

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
    bool endBlanksDropped_ = false;
    bool typing_ = false; // a typed key's character is being inserted
    LetterCase letterCase_ = LetterCase::AsTheyCome;
    QString lastText_;   // the text before the change being checked
};

} // namespace zq
