#include "common/ScreenReader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QWidget>

namespace zq {

namespace {

// Puts `face` in the place of the interface the accessibility layer holds
// for its widget, one made already (by a change announced while the widget
// was built) included.
void replaceFace(QWidget& w, QAccessibleInterface* face)
{
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(&w))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    QAccessible::registerAccessibleInterface(face);
}

// A caption as read: its white space simplified, without the dots that
// lead to the figure and a closing colon ("Total Score......" -> "Total
// Score").
QString plainCaption(const QString& text)
{
    QString s = text.simplified();
    while (!s.isEmpty() && (s.back() == u'.' || s.back() == u':' || s.back() == u' '))
        s.chop(1);
    return s;
}

// A figure read with its caption.  Its text (what it shows, with its unit)
// is its value and its text to read; its name is the caption followed by
// that text, or, when quiet, the caption alone.
class FigureFace final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    FigureFace(QLabel* figure, QLabel* caption, const QString& fixedCaption, FigureChanges changes,
               const QLabel* unit)
        : QAccessibleWidget(figure, QAccessible::StaticText), caption_(caption), fixed_(fixedCaption),
          quiet_(changes == FigureChanges::Quiet), unit_(unit)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shown();
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString caption = plainCaption(caption_ ? caption_->text() : fixed_);
        const QString figure = shown();
        if (quiet_ || figure.isEmpty())
            return caption;
        return caption.isEmpty() ? figure : caption + u' ' + figure;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The text to read, without a caret or a selection.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = *end = 0;
        return {};
    }

private:
    QString shown() const
    {
        QString s = static_cast<const QLabel*>(widget())->text().simplified();
        if (unit_ && !unit_->text().trimmed().isEmpty())
            s += u' ' + unit_->text().simplified();
        return s;
    }

    QPointer<QLabel> caption_;
    QString fixed_;
    bool quiet_ = false;
    QPointer<const QLabel> unit_;
};

void readFigure(QLabel& figure, QLabel* caption, const QString& fixedCaption, FigureChanges changes,
                const QLabel* unit)
{
    if (caption)
        caption->setBuddy(&figure); // the figure's labelling relation
    // A label with a name of its own announces no change of its text.
    figure.setAccessibleName(changes == FigureChanges::Quiet
                                 ? plainCaption(caption ? caption->text() : fixedCaption)
                                 : QString());
    replaceFace(figure, new FigureFace(&figure, caption, fixedCaption, changes, unit));
}

// Follows the showing and hiding of a message beside a box.
class MessageTie final : public QObject {
public:
    MessageTie(QLabel& message, QWidget& box) : QObject(&message), message_(message), box_(&box)
    {
        message.installEventFilter(this);
        if (!message.isHidden())
            apply(true);
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == &message_ && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
            apply(e->type() == QEvent::ShowToParent);
        return false;
    }

private:
    void apply(bool shown)
    {
        if (!box_ || shown == applied_)
            return;
        applied_ = shown;
        if (!shown) {
            box_->setAccessibleDescription(own_);
            return;
        }
        own_ = box_->accessibleDescription();
        // Without a description of its own a box is described by its tool tip.
        const QString ownRead = own_.isEmpty() ? box_->toolTip() : own_;
        QString text = message_.text().simplified();
        if (!ownRead.isEmpty())
            text += u' ' + ownRead;
        box_->setAccessibleDescription(text);
    }

    QLabel& message_;
    QPointer<QWidget> box_;
    QString own_;
    bool applied_ = false;
};

} // namespace

void readAsWindow(QWidget& window, WindowRole role)
{
    replaceFace(window, new QAccessibleWidget(&window, role == WindowRole::Dialog ? QAccessible::Dialog
                                                                                 : QAccessible::Window));
}

void readFigureWithCaption(QLabel& figure, QLabel& caption, FigureChanges changes)
{
    readFigure(figure, &caption, QString(), changes, nullptr);
}

void readFigureWithCaption(QLabel& figure, const QString& caption, FigureChanges changes,
                           const QLabel* unit)
{
    readFigure(figure, nullptr, caption, changes, unit);
}

void tieMessageToBox(QLabel& message, QWidget& box)
{
    new MessageTie(message, box);
}

QString workedItemName(const QString& item, bool worked)
{
    return item + (worked ? QStringLiteral(", worked") : QStringLiteral(", not worked"));
}

} // namespace zq
