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
// An option button.  Of the options of its frame, the chosen one is where
// Tab and Shift+Tab stop, however it was chosen (by code too); the arrow
// keys move within the frame.  With none chosen, the one last focused is.
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
// The longest name a control is read by: a caption of a few words.  The
// instructions and remarks some captions hold run longer.
constexpr qsizetype LongestControlName = 50;

// The name a control is read by for `caption`: the caption without its
// access-key marks and its closing colon; without a count shown after a
// dash ("Cnty Wkd - 12": a list tells its own count); and, when longer than
// LongestControlName, cut before a remark in brackets.  Empty when even
// that is too long (an instruction, not a name).
QString shortControlName(const QString& caption);

// Gives the controls of `window` that take the focus the caption beside
// them as their accessible name, so that a screen reader says which
// control it is in:
// - a text box is named by the label just left of it on its row, or else
//   just right of it, above it (starting where the box starts, or
//   spanning it) or below it, with no other control between the two.  The
//   label becomes the box's buddy, so the name follows the caption's text;
// - a list, table or read-only pane is named by the label just left of it
//   or above it, in the short form of its text, which it keeps;
// - a button, option button or check box is read by its own caption.
// A caption longer than LongestControlName is read in its short form, the
// whole caption as the control's description.  A control with a name of
// its own, or a buddy already, is left as it is; a label names one
// control.  Run when the window's controls stand in their places (the
// window fit does it).
void nameControlsAfterCaptions(QWidget& window);

// Sets an option button on or off.  Off works even for the chosen option of
// its frame, which then has none chosen.
void setOptionValue(QRadioButton& option, bool value);

} // namespace zq
