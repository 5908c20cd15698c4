// The program as main() runs it, for tests that start it as a process of
// its own and end it with signals.  Two stand-ins only: message boxes are
// printed ("MESSAGE <title>: <text>") and answered with their first button,
// and every key line the program opens is a recording line that prints
// each change ("KEY rts 1", "KEY lpt 3", ...) and its release
// ("RELEASED").  "STARTED" is printed once the first window shows.
//
// ZQ_DRIVE=key-parallel or key-rts: once started, the CW window keys a
// long message at 5 WPM on the parallel port or on a serial port's RTS.
// ZQ_DRIVE=winkeyer: once started, the WinKeyer window opens the keyer on
// port 7 and "WINKEYER OPEN" is printed when the link is open.

#include "app/StartProgram.h"
#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/frmWinKey.h"
#include "platform/KeyLine.h"
#include "platform/KeyingPorts.h"
#include "platform/Prompt.h"
#include "platform/WinKeyer.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <unistd.h>

using namespace zq;

namespace {

// One whole line per write, so lines of two threads never mix.
void say(const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, bytes.constData(), size_t(bytes.size()));
}

class PrintingPrompt final : public Prompt {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons,
                      MsgIcon) override
    {
        say(QStringLiteral("MESSAGE %1: %2").arg(title, QString(text).replace(u'\n', u' ')));
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
        case MsgButtons::RetryCancel: return MsgAnswer::Retry;
        default: return MsgAnswer::Ok;
        }
    }
    QString input(const QString&, const QString& title, const QString&) override
    {
        say(QStringLiteral("INPUT %1").arg(title));
        return {};
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, bool) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&, const QString&) override { return {}; }
    void beep() override {}
};

// The device under the recording line: every change succeeds, and its
// release is printed.
class ReleaseReporter final : public KeyLine {
public:
    explicit ReleaseReporter(const KeyLinePort& port) : KeyLine(port) {}

protected:
    bool drive(KeySignal, bool) override { return true; }
    void release() override { say(QStringLiteral("RELEASED")); }
};

std::unique_ptr<KeyLine> openRecordingLine(const KeyLinePort& port, QString*)
{
    auto line = std::make_unique<RecordingKeyLine>(port, std::make_unique<ReleaseReporter>(port));
    line->setOnTransition([](const RecordingKeyLine::Transition& t) {
        if (t.parallelValue != 0)
            say(QStringLiteral("KEY lpt %1").arg(t.parallelValue));
        else
            say(QStringLiteral("KEY %1 %2")
                    .arg(t.signal == KeySignal::Rts ? QStringLiteral("rts") : QStringLiteral("dtr"))
                    .arg(t.down ? 1 : 0));
    });
    return line;
}

void keyLongMessage(bool parallel)
{
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[10]->setText(QStringLiteral("1"));   // serial port 1
    cw.Text[11]->setText(QStringLiteral("5"));   // WPM: 240 ms units
    cw.Text[14]->setText(QStringLiteral("888")); // parallel port address
    cw.Text[2]->setText(QStringLiteral("TTTTTTTTTTTTTTTTTTTTTTTTTTTTTT"));
    (parallel ? cw.Option3 : cw.Option1)->click();
    int f2 = 113;
    cw.FKeyCW(f2);
}

void openWinKeyer()
{
    KeyingState::instance().WinKeyerPort = 7;
    DefaultInstance<frmWinKey>().cmdOpenWinkey_Click();
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (WinKeyerLink::instance().isOpen()) {
            say(QStringLiteral("WINKEYER OPEN"));
            poll->stop();
        }
    });
    poll->start(10);
}

} // namespace

int main(int argc, char** argv)
{
    setPrompt(std::make_unique<PrintingPrompt>());
    KeyingPorts::setOpenerForTesting(openRecordingLine);
    const QByteArray drive = qgetenv("ZQ_DRIVE");
    return runProgram(argc, argv, [drive] {
        say(QStringLiteral("STARTED"));
        if (drive == "key-parallel" || drive == "key-rts")
            keyLongMessage(drive == "key-parallel");
        else if (drive == "winkeyer")
            openWinKeyer();
    });
}
