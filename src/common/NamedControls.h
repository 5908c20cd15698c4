#pragma once
// Building a window's controls: each is made on its parent, given its
// control name (its objectName, by which tests and accessibility tools find
// it) and placed in twips.

#include <QPushButton>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace zq {

class EntryBox;

// A command button whose caption wraps onto further lines, at word breaks,
// when it is wider than the button, as the designed two-line buttons show
// it.  Its text stays the caption as given; a caption that fits one line is
// drawn as on any button.  The property "wordWrap" is true.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

QLabel* makeNamedLabel(QWidget* parent, const QString& name, const QString& caption,
                       double left, double top, double width, double height);
// A text box holding text; 285 twips is the height of a one-line box.
EntryBox* makeNamedBox(QWidget* parent, const QString& name, const QString& text, double left,
                       double top, double width, double height = 285);
QRadioButton* makeNamedOption(QWidget* parent, const QString& name, const QString& caption,
                              double left, double top, double width, double height = 255);
// A command button (375 twips high unless told) that is never the window's
// default; its caption wraps when it needs more than one line.
QPushButton* makeNamedButton(QWidget* parent, const QString& name, const QString& caption,
                             double left, double top, double width, double height = 375);
QCheckBox* makeNamedCheck(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height = 255);
QGroupBox* makeNamedFrame(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height);
// Gives each text box of `window` the caption beside it as its accessible
// name, so that a screen reader says which box it is in: the caption is the
// label just left of the box on its row, or else the label just above it
// starting where the box starts, with no other control between the two.
// The label becomes the box's buddy, so the name follows the caption's
// text.  A box with a name of its own, or a buddy already, is left as it
// is; a label names one box.  Run when the window's controls stand in
// their places (the window fit does it).
void nameBoxesAfterCaptions(QWidget& window);

// Sets an option button on or off.  Off works even for the chosen option of
// its frame, which then has none chosen.
void setOptionValue(QRadioButton& option, bool value);

} // namespace zq
