#pragma once
// Building a window's controls: each is made on its parent, given its
// control name (its objectName, by which tests and accessibility tools find
// it) and placed in twips.

#include <QString>

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
QGroupBox* makeNamedFrame(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height);

QPushButton* makeNamedButton(QWidget* parent, const QString& name, const QString& caption,
                             double left, double top, double width, double height = 360);
// Sets an option button on or off.  Off works even for the chosen option of
// its frame, which then has none chosen.
void setOptionValue(QRadioButton& option, bool value);

} // namespace zq
