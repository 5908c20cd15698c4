#include "common/NamedControls.h"

#include "common/EntryBox.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QLabel>
#include <QRadioButton>

namespace zq {

namespace {

template <class W>
W* named(W* control, const QString& name, double left, double top, double width, double height)
{
    // Before any option button or check box is asked for its accessible face.
    installOperatorChoiceAccessibility();
    control->setObjectName(name);
    placeControl(*control, left, top, width, height);
    return control;
}

} // namespace

QLabel* makeNamedLabel(QWidget* parent, const QString& name, const QString& caption,
                       double left, double top, double width, double height)
{
    return named(new QLabel(caption, parent), name, left, top, width, height);
}

EntryBox* makeNamedBox(QWidget* parent, const QString& name, const QString& text, double left,
                       double top, double width, double height)
{
    auto* b = named(new EntryBox(parent), name, left, top, width, height);
    b->setText(text);
    return b;
}

QRadioButton* makeNamedOption(QWidget* parent, const QString& name, const QString& caption,
                              double left, double top, double width, double height)
{
    return named(new QRadioButton(caption, parent), name, left, top, width, height);
}

CaptionButton::CaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setProperty("wordWrap", true);
}

void CaptionButton::paintEvent(QPaintEvent* e)
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
    QString shown = text();
    shown.remove(QLatin1Char('&'));
    if (fontMetrics().horizontalAdvance(shown) <= room.width() || !icon().isNull()) {
        QPushButton::paintEvent(e);
        return;
    }
    // The bevel without a caption, then the caption wrapped inside it.
    QStylePainter p(this);
    opt.text.clear();
    p.drawControl(QStyle::CE_PushButton, opt);
    p.drawItemText(room, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(),
                   isEnabled(), text(), QPalette::ButtonText);
}

QPushButton* makeNamedButton(QWidget* parent, const QString& name, const QString& caption,
                             double left, double top, double width, double height)
{
    auto* b = named(new CaptionButton(caption, parent), name, left, top, width, height);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* makeNamedCheck(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height)
{
    return named(new QCheckBox(caption, parent), name, left, top, width, height);
}

QGroupBox* makeNamedFrame(QWidget* parent, const QString& name, const QString& caption,
                          double left, double top, double width, double height)
{
    return named(new QGroupBox(caption, parent), name, left, top, width, height);
}

void setOptionValue(QRadioButton& option, bool value)
{
    if (value) {
        option.setChecked(true);
        return;
    }
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(true);
}

} // namespace zq
