#include "platform/Prompt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

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
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    default: return MsgAnswer::Cancel;
    }
}

QString QtPrompt::input(const QString& promptText, const QString& title,
                        const QString& defaultAnswer)
{
    bool ok = false;
    QString answer = QInputDialog::getText(QApplication::activeWindow(), title, promptText,
                                           QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

QString QtPrompt::openFile(const QString& title, const QString& initialPath, const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, initialPath, filter);
}

QString QtPrompt::saveFile(const QString& title, const QString& initialPath, const QString& filter,
                           bool confirmOverwrite)
{
    QFileDialog::Options options;
    if (!confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, initialPath, filter,
                                        nullptr, options);
}

std::optional<QColor> QtPrompt::chooseColor(const QColor& initial, const QString& title)
{
    QColor c = QColorDialog::getColor(initial, QApplication::activeWindow(), title);
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
