#pragma once
// Building a window's controls: each is made on its parent, given its
// control name (its objectName, by which tests and accessibility tools find
// it) and placed in twips.

#include <QString>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QLabel;
class QRadioButton;
class QWidget;

namespace zq {

class EntryBox;

QLabel* makeNamedLabel(QWidget* parent, const QString& name, const QString& caption,
                       double left, double top, double width, double height);
// A text box holding text; 285 twips is the height of a one-line box.
EntryBox* makeNamedBox(QWidget* parent, const QString& name, const QString& text, double left,
                       double top, double width, double height = 285);
QRadioButton* makeNamedOption(QWidget* parent, const QString& name, const QString& caption,
                              double left, double top, double width, double height = 255);
// A command button (375 twips high unless told) that is never the window's
// default.
QPushButton* makeNamedButton(QWidget* parent, const QString& name, const QString& caption,
                             double left, double top, double width, double height = 375);
QCheckBox* makeNamedCheck(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height = 255);
QGroupBox* makeNamedFrame(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height);
// Sets an option button on or off.  Off works even for the chosen option of
// its frame, which then has none chosen.
void setOptionValue(QRadioButton& option, bool value);

} // namespace zq
