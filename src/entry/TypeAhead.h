#pragma once
// Completion of a typed prefix from a list of names (counties, countries),
// the one rule behind every field and dialog that completes names.
//
// The typed character is added to the text before the caret; the list is
// searched from its last entry to its first and the first entry that begins
// with that prefix (compared without regard to case) completes the field:
// the typed part keeps its case, the rest comes from the entry and is
// selected, so that the next character replaces it.  A character typed at
// the start of the field is upper-cased.

#include <QString>
#include <vector>

class QLineEdit;

namespace zq {

struct TypeAheadRules {
    // A Space typed at the start of the field leaves the text as it is
    // (every other character typed there replaces the whole text).
    bool spaceKeepsText = false;
    // A character typed right after a space, with text after the caret (the
    // proposed rest of a name), is upper-cased: the second word of a county.
    bool capitalAfterSpace = false;
    // A character typed at the start of the field replaces the whole text
    // (when it completes nothing the field is emptied).  Without this rule
    // the text after the caret stays when nothing is completed.
    bool startReplacesText = true;
    // Backspace with the caret at the start empties the field too (it then
    // deletes nothing further).
    bool backspaceAtStartEmpties = false;

    // The log window's county field: Space at the start is typed before the
    // name, a letter after a space of a proposed name is a capital.
    static constexpr TypeAheadRules entryCounty() { return {true, true, true, false}; }
    // The county boxes of the edit dialogs: as the entry row's county field,
    // and Backspace at the start begins a new entry.
    static constexpr TypeAheadRules editCounty() { return {true, true, true, true}; }
    // The state/province/country box of the in-state edit dialog: any key
    // at the start, Space and Backspace included, begins a new entry.
    static constexpr TypeAheadRules editCountry() { return {false, false, true, true}; }
    // The own-county fields of the county change dialogs: as the edit
    // dialogs' county boxes, but Space at the start also begins a new entry.
    static constexpr TypeAheadRules countyChange() { return {false, true, true, true}; }
};

struct TypeAheadResult {
    // The character to insert normally (possibly upper-cased); 0 when the
    // completion took it.
    int key = 0;
    // The field is emptied before the character goes in.
    bool clearFirst = false;
    bool completed = false;
    int row = 0;    // list index of the completing entry
    QString text;   // completed: the field's new text
    int selStart = 0;
    int selLength = 0;
};

// text is the field's text, caret the number of characters before the
// caret (the selection's start when text is selected), key the typed
// character code.  names holds the list at indexes 1..count (index 0 is
// not used); count is bounded by the list's size.  Control characters
// (Backspace and the like) are not typed characters: they pass unchanged.
TypeAheadResult TypeAheadComplete(const QString& text, int caret, int key,
                                  const std::vector<QString>& names, int count,
                                  TypeAheadRules rules = {});

// Applies the completion to an entry box for the key about to be inserted:
// empties the box or completes it as decided and sets keyAscii to what is
// still to be inserted (0 after a completion).  A completed box has its
// caret after the typed part and the proposed rest selected.  Returns the
// completing row (the caller may read that entry's other columns), 0 when
// none.
int TypeAheadComplete(QLineEdit& box, int& keyAscii, const std::vector<QString>& names,
                      int count, TypeAheadRules rules = {});

// The caret as the completion counts it: the selection's start when text is
// selected, else the cursor position.
int caretOf(const QLineEdit& box);

} // namespace zq
