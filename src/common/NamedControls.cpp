#include "common/NamedControls.h"

#include "common/ButtonKeys.h"
#include "common/EntryBox.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

namespace zq {

namespace {

template <class W>
W* named(W* control, const QString& name, double left, double top, double width, double height)
{
    // Before any option button or check box is asked for its accessible
    // face, and before any button is pressed from the keyboard.
    installOperatorChoiceAccessibility();
    installEnterPressesFocusedButton();
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

namespace {

// Makes the chosen option of `option`'s group the group's one stop for Tab
// and Shift+Tab; the others are reached with the arrow keys.  The group is
// the one whose options exclude each other: those beneath the same parent.
// With none chosen the stops stay as they are.
void keepTabStopOnChosen(QRadioButton& option)
{
    QWidget* parent = option.parentWidget();
    if (!parent || !option.autoExclusive())
        return;
    QList<QRadioButton*> group;
    const QRadioButton* chosen = nullptr;
    for (QRadioButton* b : parent->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (!b->autoExclusive() || b->group())
            continue;
        group << b;
        if (b->isChecked())
            chosen = b;
    }
    if (!chosen)
        return;
    for (QRadioButton* b : group)
        b->setFocusPolicy(b == chosen ? Qt::FocusPolicy(b->focusPolicy() | Qt::TabFocus)
                                      : Qt::FocusPolicy(b->focusPolicy() & ~Qt::TabFocus));
}

// Qt moves a group's stop to whichever option takes the focus, chosen or
// not, and leaves it there when code chooses another; this option puts it
// back on the chosen one each time.
class OptionButton final : public QRadioButton {
public:
    OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent)
    {
        connect(this, &QAbstractButton::toggled, this, [this](bool on) {
            if (on)
                keepTabStopOnChosen(*this);
        });
    }

protected:
    void focusInEvent(QFocusEvent* e) override
    {
        QRadioButton::focusInEvent(e);
        keepTabStopOnChosen(*this);
    }
};

} // namespace

QRadioButton* makeNamedOption(QWidget* parent, const QString& name, const QString& caption,
                              double left, double top, double width, double height)
{
    return named(new OptionButton(caption, parent), name, left, top, width, height);
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

namespace {

// A text box that takes typing: single-line boxes, spin boxes and editable
// text areas (not the line edits inside combo or spin boxes).
bool isTextBox(const QWidget& w)
{
    if (qobject_cast<const QLineEdit*>(&w))
        return !qobject_cast<const QComboBox*>(w.parentWidget())
            && !qobject_cast<const QAbstractSpinBox*>(w.parentWidget());
    if (qobject_cast<const QAbstractSpinBox*>(&w))
        return true;
    if (const auto* area = qobject_cast<const QPlainTextEdit*>(&w))
        return !area->isReadOnly();
    if (const auto* area = qobject_cast<const QTextEdit*>(&w))
        return !area->isReadOnly();
    return false;
}

// A list, table or pane: a control that shows rows or text for the
// operator to move through, not to type into.
bool isListOrPane(const QWidget& w)
{
    if (qobject_cast<const QHeaderView*>(&w))
        return false;
    if (qobject_cast<const QAbstractItemView*>(&w))
        return true;
    if (const auto* area = qobject_cast<const QPlainTextEdit*>(&w))
        return area->isReadOnly();
    if (const auto* area = qobject_cast<const QTextEdit*>(&w))
        return area->isReadOnly();
    return false;
}

bool isCaption(const QLabel& l)
{
    return l.buddy() == nullptr && l.pixmap().isNull() && !l.text().trimmed().isEmpty();
}

// Whether a control other than `a` and `b` lies in `gap`, the room
// between them.
bool somethingBetween(const QWidget& a, const QWidget& b, const QRect& gap)
{
    if (gap.isEmpty())
        return false;
    for (QObject* o : a.parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w != &a && w != &b && !w->isHidden() && !w->isWindow() && w->geometry().intersects(gap))
            return true;
    }
    return false;
}

enum class Sides { All, LeftOrAbove };

// The caption of `box` among its sibling labels; none when it has none.
// A caption stands, by preference: just left of the box on its row; just
// right of it ("[13] WPM"); above it, starting where the box starts or
// spanning it (an instruction over the box); or just below it, starting
// where the box starts.  No other control lies between the two, and a
// hidden label names no box in view.  `sides` may leave out the right and
// below.
QLabel* captionBeside(const QWidget& box, Sides sides = Sides::All)
{
    const QRect b = box.geometry();
    const int near = 2 * b.height(); // the farthest a caption beside the box stands
    struct Best {
        QLabel* label = nullptr;
        int gap = 0, shift = 0;
        void offer(QLabel* l, int g, int s)
        {
            if (!label || g < gap || (g == gap && s < shift)) {
                label = l;
                gap = g;
                shift = s;
            }
        }
    } left, right, above, below;
    for (QObject* o : box.parentWidget()->children()) {
        auto* l = qobject_cast<QLabel*>(o);
        if (!l || l->isWindow() || !isCaption(*l) || (l->isHidden() && !box.isHidden()))
            continue;
        const QRect r = l->geometry();
        const int centre = r.center().y();
        const bool onRow = centre >= b.top() - 2 && centre <= b.bottom() + 2;
        const bool overBox = r.right() > b.left() && r.left() < b.right();
        const int shift = std::abs(r.left() - b.left());
        const bool aligned = shift <= std::max(b.width() / 2, 4) || (r.left() <= b.left() && r.right() >= b.right());
        if (onRow && r.right() <= b.left() + 2) {
            const int gap = std::max(0, b.left() - r.right() - 1);
            const QRect room(QPoint(r.right() + 1, b.top()), QPoint(b.left() - 1, b.bottom()));
            if (gap <= 2 * near && !somethingBetween(*l, box, room))
                left.offer(l, gap, 0);
        } else if (onRow && r.left() >= b.right() - 2) {
            const int gap = std::max(0, r.left() - b.right() - 1);
            const QRect room(QPoint(b.right() + 1, b.top()), QPoint(r.left() - 1, b.bottom()));
            if (gap <= near && !somethingBetween(*l, box, room))
                right.offer(l, gap, 0);
        } else if (overBox && aligned && r.bottom() <= b.top() + 2) {
            const int gap = std::max(0, b.top() - r.bottom() - 1);
            const QRect room(QPoint(std::max(r.left(), b.left()), r.bottom() + 1),
                             QPoint(std::min(r.right(), b.right()), b.top() - 1));
            if (gap <= near && !somethingBetween(*l, box, room))
                above.offer(l, gap, shift);
        } else if (overBox && shift <= std::max(b.width() / 2, 4) && r.top() >= b.bottom() - 2) {
            const int gap = std::max(0, r.top() - b.bottom() - 1);
            const QRect room(QPoint(std::max(r.left(), b.left()), b.bottom() + 1),
                             QPoint(std::min(r.right(), b.right()), r.top() - 1));
            if (gap <= near && !somethingBetween(*l, box, room))
                below.offer(l, gap, shift);
        }
    }
    if (sides == Sides::LeftOrAbove)
        right.label = below.label = nullptr;
    for (const Best* best : {&left, &right, &above, &below})
        if (best->label)
            return best->label;
    return nullptr;
}

bool hasBuddyLabel(const QWidget& box)
{
    for (QObject* o : box.parentWidget()->children())
        if (auto* l = qobject_cast<QLabel*>(o); l && l->buddy() == &box)
            return true;
    return false;
}

// A caption as read: without its access-key marks ("&&" stands for "&"),
// its white space simplified.
QString plainCaption(const QString& caption)
{
    QString s;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        s += caption[i];
    }
    return s.simplified();
}

// A caption too long for a name is read by its short form, with the whole
// caption as the description.
void nameShortly(QWidget& control, const QString& caption)
{
    const QString whole = plainCaption(caption);
    if (whole.size() <= LongestControlName)
        return;
    const QString name = shortControlName(whole);
    if (name.isEmpty())
        return;
    control.setAccessibleName(name);
    if (control.accessibleDescription().isEmpty())
        control.setAccessibleDescription(whole);
}

} // namespace

QString shortControlName(const QString& caption)
{
    QString s = plainCaption(caption);
    static const QRegularExpression count(QStringLiteral(" - \\d+$"));
    s.remove(count);
    if (s.size() > LongestControlName) {
        const qsizetype remark = s.indexOf(u'(');
        if (remark > 0)
            s.truncate(remark);
    }
    s = s.trimmed();
    while (s.endsWith(u':'))
        s.chop(1);
    s = s.trimmed();
    return s.size() <= LongestControlName ? s : QString();
}

void nameControlsAfterCaptions(QWidget& window)
{
    // Controls in view first: a hidden control that shares a place with a
    // shown one (a field of the other variant) does not take its caption.
    QList<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->parentWidget() && w->window() == &window
            && (isTextBox(*w) || isListOrPane(*w) || qobject_cast<QAbstractButton*>(w)))
            controls << w;
    std::stable_partition(controls.begin(), controls.end(), [](const QWidget* w) { return !w->isHidden(); });
    for (QWidget* c : controls) {
        if (!c->accessibleName().isEmpty())
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(c)) {
            nameShortly(*button, button->text());
            continue;
        }
        if (hasBuddyLabel(*c))
            continue;
        if (isTextBox(*c)) {
            if (QLabel* caption = captionBeside(*c)) {
                caption->setBuddy(c);
                nameShortly(*c, caption->text());
            }
            continue;
        }
        // Lists and panes are not read by a buddy: they take the name.
        if (QLabel* caption = captionBeside(*c, Sides::LeftOrAbove)) {
            const QString name = shortControlName(caption->text());
            if (name.isEmpty())
                continue;
            caption->setBuddy(c);
            c->setAccessibleName(name);
        }
    }
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
