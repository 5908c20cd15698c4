#pragma once
// Every message box, input box, file dialog, colour dialog and beep of the
// program goes through Prompt, so tests can answer them without a modal
// dialog ever blocking.

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QInputDialog;
class QWidget;

namespace zq {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual MsgAnswer message(const QString& text, const QString& title,
                              MsgButtons buttons = MsgButtons::Ok,
                              MsgIcon icon = MsgIcon::None) = 0;
    // Returns the answer; Cancel (or closing the box) answers "".
    virtual QString input(const QString& promptText, const QString& title,
                          const QString& defaultAnswer = QString()) = 0;
    // File dialogs return the chosen path, or "" when cancelled.  The save
    // dialog asks before an existing file is replaced when confirmOverwrite
    // is set (a "No" there lets the operator choose again).
    virtual QString openFile(const QString& title, const QString& initialPath,
                             const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& initialPath,
                             const QString& filter, bool confirmOverwrite = true) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial, const QString& title) = 0;
    virtual void beep() = 0;
};

// The prompt in force; the real Qt one unless a test installed another.
Prompt& prompt();
// Installs p (takes ownership); returns the previous one.
std::unique_ptr<Prompt> setPrompt(std::unique_ptr<Prompt> p);

// Where the client area of the prompt layer's dialogs must lie (the
// available area less the window manager's frame); the window layer sets
// it.  Without it, the screen's available area.
void setDialogRoom(std::function<QRect(const QWidget& dialog)> room);

// Qt dialogs.  Each runs as an inner loop (platform/InnerLoop.h): left from
// outside, or asked while the program ends, a message box answers as its
// close would (Cancel, No for Yes/No, Ok for Ok alone), an input box, a
// file dialog and the colour dialog as Cancel.
class QtPrompt final : public Prompt {
public:
    // The input box as input() shows it: its prompt wraps so that the box
    // lies inside the room for dialogs.
    static std::unique_ptr<QInputDialog> inputDialog(QWidget* parent, const QString& promptText,
                                                     const QString& title,
                                                     const QString& defaultAnswer);

    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons,
                      MsgIcon icon) override;
    QString input(const QString& promptText, const QString& title,
                  const QString& defaultAnswer) override;
    QString openFile(const QString& title, const QString& initialPath,
                     const QString& filter) override;
    QString saveFile(const QString& title, const QString& initialPath,
                     const QString& filter, bool confirmOverwrite = true) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    void beep() override;
};

// Answers from a script and records every call.  With nothing scripted a
// message box answers its first button (Ok / Yes / Retry), an input box and
// a file dialog answer Cancel, and the colour dialog is cancelled.
class ScriptedPrompt final : public Prompt {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Color, Beep };
    struct Call {
        Kind kind;
        QString text;   // message text, input prompt, or dialog initial path
        QString title;
        QString defaultAnswer;
        MsgButtons buttons = MsgButtons::Ok;
        QString filter;                 // file dialogs
        bool confirmOverwrite = false;  // save dialog asked to confirm a replace
    };

    void answerMessage(MsgAnswer a) { messages_.push_back(a); }
    void answerInput(const QString& a) { inputs_.push_back(a); }
    void answerInputCancel() { inputs_.push_back(std::nullopt); }
    void answerFile(const QString& path) { files_.push_back(path); }
    void answerColor(std::optional<QColor> c) { colors_.push_back(c); }

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> callsOf(Kind k) const;
    int beeps() const;
    // Texts of every message box shown, in order.
    QStringList messageTexts() const;
    QStringList messageTitles() const;
    void clear();

    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons,
                      MsgIcon icon) override;
    QString input(const QString& promptText, const QString& title,
                  const QString& defaultAnswer) override;
    QString openFile(const QString& title, const QString& initialPath,
                     const QString& filter) override;
    QString saveFile(const QString& title, const QString& initialPath,
                     const QString& filter, bool confirmOverwrite = true) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    void beep() override;

private:
    std::vector<Call> calls_;
    std::deque<MsgAnswer> messages_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<QString> files_;
    std::deque<std::optional<QColor>> colors_;
};

} // namespace zq
