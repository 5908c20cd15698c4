#pragma once
// What the two own-county dialogs share: their window fit, their county
// field's keys and its selection when the focus comes back.

class QLabel;
class QWidget;

namespace zq {

class EntryBox;

// Scaled by the screen's size over the 9600 x 7200 twip design screen,
// placed exactly in the middle of the screen, control fonts grown with the
// screen width, at most 1.5 times.
void fitCountyChangeDialog(QWidget& dialog);

// A key typed into the county field other than Enter: completed from the
// county table; at the start of the field any key begins a new entry.
void countyFieldKey(EntryBox& box, int& keyAscii);

// The field selects all of its text when it first gets the focus, and from
// where its caret stood to the end when it gets it again.
void selectFromCaretOnFocus(EntryBox& box);

// The county check of the field: true when its text (trimmed) is one of the
// county table's names, ignoring case.  The label is hidden first, and
// shown with a beep when the check fails; InvalidCountyFlag follows.
bool ownCountyChecked(const EntryBox& box, QLabel& invalidLabel);

// The "   Invalid!" label beside the field: Arial 8.25 pt, hidden, and
// read with the field while shown.
void styleInvalidLabel(QLabel& label, QWidget& field);

} // namespace zq
