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
// Sets an option button on or off.  Off works even for the chosen option of
// its frame, which then has none chosen.
void setOptionValue(QRadioButton& option, bool value);

} // namespace zq
