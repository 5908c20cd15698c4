#include "platform/Prompt.h"

#include "platform/InnerLoop.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

namespace zq {

namespace {
std::unique_ptr<Prompt>& slot()
{
    static std::unique_ptr<Prompt> p;
    return p;
}

// The next scripted answer, or `fallback` when none is left.
template <class T>
T takeNext(std::deque<T>& answers, T fallback)
{
    if (answers.empty())
        return fallback;
    T a = std::move(answers.front());
    answers.pop_front();
    return a;
}
} // namespace

Prompt& prompt()
{
    auto& p = slot();
    if (!p)
        p = std::make_unique<QtPrompt>();
    return *p;
}

std::unique_ptr<Prompt> setPrompt(std::unique_ptr<Prompt> p)
{
    auto old = std::move(slot());
    slot() = std::move(p);
    return old;
}

namespace {

std::function<QRect(const QWidget&)>& roomSource()
{
    static std::function<QRect(const QWidget&)> room;
    return room;
}

QRect roomFor(const QWidget& dialog)
{
    if (roomSource())
        return roomSource()(dialog);
    const QScreen* s = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

// Centred over its parent window, or in the room without one, and moved
// inside the room where that falls outside.
void placeInRoom(QDialog& dialog)
{
    const QRect room = roomFor(dialog);
    if (!room.isValid())
        return;
    dialog.adjustSize();
    QRect r(QPoint(0, 0), dialog.size());
    const QWidget* parent = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    r.moveCenter(parent && parent->isVisible() ? parent->geometry().center() : room.center());
    r.moveLeft(std::max(room.left(), std::min(r.left(), room.right() - r.width() + 1)));
    r.moveTop(std::max(room.top(), std::min(r.top(), room.bottom() - r.height() + 1)));
    dialog.move(r.topLeft());
}

// Runs a dialog as an inner loop of its parent window: what exec returned,
// or nothing when the dialog was left from outside or never shown because
// the program ends.
std::optional<int> runDialog(QDialog& dialog, const std::function<void()>& leave)
{
    InnerLoop loop(dialog.parentWidget(), leave);
    if (loop.left())
        return std::nullopt;
    const int result = dialog.exec();
    if (loop.left())
        return std::nullopt;
    return result;
}

MsgAnswer closeAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

} // namespace

void setDialogRoom(std::function<QRect(const QWidget& dialog)> room)
{
    roomSource() = std::move(room);
}

MsgAnswer QtPrompt::message(const QString& text, const QString& title, MsgButtons buttons,
                            MsgIcon icon)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MsgButtons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
    const std::optional<int> pressed = runDialog(box, [&box] { box.done(QMessageBox::Cancel); });
    if (!pressed)
        return closeAnswer(buttons);
    switch (*pressed) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return closeAnswer(buttons);
    }
}

std::unique_ptr<QInputDialog> QtPrompt::inputDialog(QWidget* parent, const QString& promptText,
                                                    const QString& title,
                                                    const QString& defaultAnswer)
{
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setWindowTitle(title);
    dialog->setLabelText(promptText);
    dialog->setTextValue(defaultAnswer);
    dialog->setInputMode(QInputDialog::TextInput);
    // The answer box is read by the box's short title; the question, often
    // a paragraph, is read as its description.
    if (auto* box = dialog->findChild<QLineEdit*>()) {
        box->setAccessibleName(title);
        box->setAccessibleDescription(promptText);
    }
    if (auto* label = dialog->findChild<QLabel*>()) {
        // A prompt wider than the room wraps; a short one stays one line.
        const QRect room = roomFor(*dialog);
        QMargins m;
        if (dialog->layout())
            m = dialog->layout()->contentsMargins();
        label->setWordWrap(true);
        if (room.isValid())
            label->setMaximumWidth(std::max(80, room.width() - m.left() - m.right()));
    }
    placeInRoom(*dialog);
    return dialog;
}

QString QtPrompt::input(const QString& promptText, const QString& title,
                        const QString& defaultAnswer)
{
    auto dialog = inputDialog(QApplication::activeWindow(), promptText, title, defaultAnswer);
    QInputDialog* d = dialog.get();
    if (runDialog(*d, [d] { d->reject(); }) != QDialog::Accepted)
        return QString();
    return d->textValue();
}

namespace {
QString runFileDialog(QFileDialog& dialog)
{
    if (runDialog(dialog, [&dialog] { dialog.reject(); }) != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}
} // namespace

QString QtPrompt::openFile(const QString& title, const QString& initialPath, const QString& filter)
{
    QFileDialog dialog(QApplication::activeWindow(), title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog);
}

QString QtPrompt::saveFile(const QString& title, const QString& initialPath, const QString& filter,
                           bool confirmOverwrite)
{
    QFileDialog dialog(QApplication::activeWindow(), title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return runFileDialog(dialog);
}

std::optional<QColor> QtPrompt::chooseColor(const QColor& initial, const QString& title)
{
    QColorDialog dialog(initial, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    if (runDialog(dialog, [&dialog] { dialog.reject(); }) != QDialog::Accepted)
        return std::nullopt;
    const QColor c = dialog.selectedColor();
    if (!c.isValid())
        return std::nullopt;
    return c;
}

void QtPrompt::beep()
{
    QApplication::beep();
}

std::vector<ScriptedPrompt::Call> ScriptedPrompt::callsOf(Kind k) const
{
    std::vector<Call> out;
    for (const auto& c : calls_)
        if (c.kind == k)
            out.push_back(c);
    return out;
}

int ScriptedPrompt::beeps() const
{
    return static_cast<int>(callsOf(Kind::Beep).size());
}

QStringList ScriptedPrompt::messageTexts() const
{
    QStringList out;
    for (const auto& c : callsOf(Kind::Message))
        out << c.text;
    return out;
}

QStringList ScriptedPrompt::messageTitles() const
{
    QStringList out;
    for (const auto& c : callsOf(Kind::Message))
        out << c.title;
    return out;
}

void ScriptedPrompt::clear()
{
    calls_.clear();
    messages_.clear();
    inputs_.clear();
    files_.clear();
    colors_.clear();
}

MsgAnswer ScriptedPrompt::message(const QString& text, const QString& title, MsgButtons buttons,
                                  MsgIcon)
{
    calls_.push_back({Kind::Message, text, title, QString(), buttons, QString(), false});
    MsgAnswer first = MsgAnswer::Ok;
    if (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel)
        first = MsgAnswer::Yes;
    else if (buttons == MsgButtons::RetryCancel)
        first = MsgAnswer::Retry;
    return takeNext(messages_, first);
}

QString ScriptedPrompt::input(const QString& promptText, const QString& title,
                              const QString& defaultAnswer)
{
    calls_.push_back({Kind::Input, promptText, title, defaultAnswer, MsgButtons::Ok, QString(), false});
    return takeNext(inputs_, std::optional<QString>()).value_or(QString());
}

QString ScriptedPrompt::openFile(const QString& title, const QString& initialPath,
                                 const QString& filter)
{
    calls_.push_back({Kind::OpenFile, initialPath, title, QString(), MsgButtons::Ok, filter, false});
    return takeNext(files_, QString());
}

QString ScriptedPrompt::saveFile(const QString& title, const QString& initialPath,
                                 const QString& filter, bool confirmOverwrite)
{
    calls_.push_back(
        {Kind::SaveFile, initialPath, title, QString(), MsgButtons::Ok, filter, confirmOverwrite});
    return takeNext(files_, QString());
}

std::optional<QColor> ScriptedPrompt::chooseColor(const QColor& initial, const QString& title)
{
    calls_.push_back({Kind::Color, initial.name(), title, QString(), MsgButtons::Ok, QString(), false});
    return takeNext(colors_, std::optional<QColor>());
}

void ScriptedPrompt::beep()
{
    calls_.push_back({Kind::Beep, QString(), QString(), QString(), MsgButtons::Ok, QString(), false});
}

} // namespace zq
