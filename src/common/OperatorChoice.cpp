#include "common/OperatorChoice.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace zq {
namespace {

// The accessible face of an option button or check box.  Qt's own one
// toggles the state on the toggle action, which checks the button without a
// click, so no handler learns of it; this one clicks.
class ChoiceButtonAccessible final : public QAccessibleWidget {
public:
    ChoiceButtonAccessible(QAbstractButton* b, QAccessible::Role role) : QAccessibleWidget(b, role)
    {
    }

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const QAbstractButton* b = button();
        s.checkable = b->isCheckable();
        s.checked = b->isChecked();
        if (const auto* box = qobject_cast<const QCheckBox*>(b);
            box && box->checkState() == Qt::PartiallyChecked) {
            s.checked = false;
            s.checkStateMixed = true;
        }
        s.pressed = b->isDown();
        return s;
    }

    // Where a click chooses the button: its mark and caption, not the
    // whole control, whose room past the caption does not answer a click.
    // Tools that click an object at the centre of its rectangle then
    // choose it.
    QRect rect() const override
    {
        const QAbstractButton* b = button();
        if (!b->isVisible())
            return {};
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        opt.icon = b->icon();
        opt.iconSize = b->iconSize();
        opt.state |= b->isChecked() ? QStyle::State_On : QStyle::State_Off;
        const bool option = qobject_cast<const QRadioButton*>(b) != nullptr;
        const QRect click = b->style()->subElementRect(
            option ? QStyle::SE_RadioButtonClickRect : QStyle::SE_CheckBoxClickRect, &opt, b);
        return click.translated(b->mapToGlobal(QPoint(0, 0)));
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        QString s = widget()->accessibleName();
        if (!s.isEmpty())
            return s;
        // The caption without its mnemonic marks ("&&" stands for "&").
        const QString caption = button()->text();
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == u'&' && i + 1 < caption.size())
                ++i;
            s += caption[i];
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction() << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (!widget()->isEnabled())
            return;
        if (action == toggleAction() || action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == toggleAction() || action == pressAction()) {
            const QKeySequence key = button()->shortcut();
            if (!key.isEmpty())
                return {key.toString(QKeySequence::NativeText)};
        }
        return QAccessibleWidget::keyBindingsForAction(action);
    }
};

QAccessibleInterface* choiceButtonFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QRadioButton"))
        if (auto* b = qobject_cast<QRadioButton*>(object))
            return new ChoiceButtonAccessible(b, QAccessible::RadioButton);
    if (className == QLatin1String("QCheckBox"))
        if (auto* b = qobject_cast<QCheckBox*>(object))
            return new ChoiceButtonAccessible(b, QAccessible::CheckBox);
    return nullptr;
}

} // namespace

void installOperatorChoiceAccessibility()
{
    // After the application's own factory, so that this one is asked first.
    static bool installed = false;
    if (installed || !QApplication::instance())
        return;
    installed = true;
    QAccessible::installFactory(&choiceButtonFactory);
}

void onOperatorChoice(QAbstractButton* button, QObject* context, std::function<void()> handler)
{
    installOperatorChoiceAccessibility();
    const bool option = qobject_cast<QRadioButton*>(button) != nullptr;
    QObject::connect(button, &QAbstractButton::clicked, context, [button, option, handler] {
        if (!option || button->isChecked())
            handler();
    });
}

} // namespace zq
