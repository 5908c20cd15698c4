#pragma once
// Option buttons and check boxes answer the operator however the choice is
// made: a mouse click, the keyboard (Space; the arrow keys within an option
// group) or a screen reader's press or toggle action.  Every one of these
// goes through the button's click, so a handler connected here runs once
// per choice.  Code that sets a button's state runs no handler: such code
// calls the handler itself where it must.

#include <QObject>
#include <functional>

class QAbstractButton;

namespace zq {

// Runs `handler` when the operator chooses `button`: an option button when
// it is chosen (also when it already was), a check box at every change.
// `context` ends the connection when destroyed.
void onOperatorChoice(QAbstractButton* button, QObject* context, std::function<void()> handler);

// Makes screen readers' press and toggle actions on option buttons and check
// boxes click them, as the operator's mouse would (done by onOperatorChoice;
// needs the application object).
void installOperatorChoiceAccessibility();

} // namespace zq
