// The program as main() runs it, for tests that start it as a process of
// its own and end it with signals.  Two stand-ins only: message boxes are
// printed ("MESSAGE <title>: <text>") and answered with their first button,
// input boxes ("INPUT <title>") and file dialogs ("SAVE-FILE", "OPEN-FILE")
// with Cancel; and every key line the program opens is a recording line
// that prints each change ("KEY rts 1", "KEY lpt 3", ...) and its release
// ("RELEASED").  "STARTED" is printed once the first window shows.
//
// ZQ_SHOW=<title>: the prompt of that title (or kind, for a file dialog)
// is shown as the real program shows it, after "SHOWING <title>" is
// printed; the answer is printed as "ANSWERED <answer>".
//
// ZQ_DRIVE=key-parallel or key-rts: once started, the CW window keys a
// long message at 5 WPM on the parallel port or on a serial port's RTS.
// ZQ_DRIVE=winkeyer: once started, the WinKeyer window opens the keyer on
// port 7 and "WINKEYER OPEN" is printed when the link is open.
// ZQ_DRIVE=log, log-delete, log-adif, log-cw-window: the out-of-state log
// window opens on the folder's log ("LOG WINDOW" is printed), then the
// first contact's Delete, the ADIF export or the CW window shown modally.
// ZQ_DRIVE=log-key-rts, log-key-parallel: the long message keyed by F2
// typed in the log window's call field.
// ZQ_DRIVE=log-hold: with a contact typed in the entry row, the program
// holds as for a spoken prompt ("HOLDING") while the CW window keys "E!"
// at 5 WPM on RTS; the "!" logs the contact once the hold ends ("KEYED"
// when the message is done).
// ZQ_DRIVE=log-tool-rig, log-tool-blind, log-tool-cw, log-tool-phone: the
// log window, logged on, with a tool window left only through its own
// Done shown modelessly: the rig interface or voice navigation from the
// menu, the CW or phone window by Ctrl+S or Ctrl+P typed in the call
// field ("SHOWN <name>" once it shows).
// ZQ_DRIVE=log-practice: the log window, logged on, the CW window by
// Ctrl+S and code practice from it, sending a long text at 5 WPM on RTS.
// ZQ_DRIVE=log-blind-hold: log-hold with voice navigation shown.
// ZQ_DRIVE=in-county-change, in-county-change-rover: the in-state window of
// a rover in Ashcombe, logged on; County Change has "Alderbrook" typed
// ("SHOWN frmCountyChange"), and in the second also Add Multiple Counties
// clicked ("SHOWN frmCountyChangeRover").
// ZQ_DRIVE=log-exclamation-exit, log-exclamation-signal,
// log-exclamation-cw-window: with a contact typed in the entry row, the CW
// window keys "E!" at 5 WPM on RTS; once the keyer has reached the "!",
// and before its hand-over to the windows runs ("REACHED"), the end
// comes: File > Exit, the end signal's own step, or the CW window is
// unloaded ("CW WINDOW UNLOADED"; the program runs on until a signal).
// ZQ_DRIVE=log-phone: the voice keyer plays a message that goes on until
// it is stopped ("PLAYING", "PLAYBACK STOPPED"), with push-to-talk on RTS
// of serial port 1.
// ZQ_DRIVE=log-winkeyer: the log window, and a long CW message sent
// through the WinKeyer on port 7 ("WINKEYER OPEN" once its link is open).
// SIGUSR1: File > Exit is chosen in the log window.

#include "app/StartProgram.h"
#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "keying/frmCodePractice.h"
#include "keying/frmWinKey.h"
#include "common/LogWindowLink.h"
#include "logstore/StationSettings.h"
#include "logwindow/LogWindow.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"
#include "output/frmCountyChange.h"
#include "output/frmCountyChangeRover.h"
#include "logwindow/ContactListView.h"
#include "platform/EventHold.h"
#include "platform/KeyLine.h"
#include "platform/KeyingPorts.h"
#include "platform/Prompt.h"
#include "platform/WaveDevice.h"
#include "platform/WinKeyer.h"
#include "rig/RigControlfrm.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <atomic>

#include <csignal>
#include <fcntl.h>
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
    PrintingPrompt() : show_(QString::fromLocal8Bit(qgetenv("ZQ_SHOW"))) {}

    MsgAnswer message(const QString& text, const QString& title, MsgButtons buttons,
                      MsgIcon icon) override
    {
        say(QStringLiteral("MESSAGE %1: %2").arg(title, QString(text).replace(u'\n', u' ')));
        if (shown(title)) {
            const MsgAnswer a = real_.message(text, title, buttons, icon);
            say(QStringLiteral("ANSWERED %1").arg(int(a)));
            return a;
        }
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
        case MsgButtons::RetryCancel: return MsgAnswer::Retry;
        default: return MsgAnswer::Ok;
        }
    }
    QString input(const QString& text, const QString& title, const QString& answer) override
    {
        say(QStringLiteral("INPUT %1").arg(title));
        return shown(title) ? answered(real_.input(text, title, answer)) : QString();
    }
    QString openFile(const QString& title, const QString& path, const QString& filter) override
    {
        say(QStringLiteral("OPEN-FILE"));
        return shown(QStringLiteral("OPEN-FILE")) ? answered(real_.openFile(title, path, filter))
                                                  : QString();
    }
    QString saveFile(const QString& title, const QString& path, const QString& filter,
                     bool confirm) override
    {
        say(QStringLiteral("SAVE-FILE"));
        return shown(QStringLiteral("SAVE-FILE"))
            ? answered(real_.saveFile(title, path, filter, confirm))
            : QString();
    }
    std::optional<QColor> chooseColor(const QColor&, const QString&) override { return {}; }
    void beep() override {}

private:
    bool shown(const QString& title)
    {
        if (show_.isEmpty() || title != show_)
            return false;
        say(QStringLiteral("SHOWING %1").arg(title));
        return true;
    }
    static QString answered(const QString& a)
    {
        say(QStringLiteral("ANSWERED %1").arg(a));
        return a;
    }

    const QString show_;
    QtPrompt real_;
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

// Runs on the keying thread at the first key-up of a recording line.
std::function<void()> g_onFirstKeyUp;
std::atomic<bool> g_keyedUp{false};

std::unique_ptr<KeyLine> openRecordingLine(const KeyLinePort& port, QString*, QString*)
{
    auto line = std::make_unique<RecordingKeyLine>(port, std::make_unique<ReleaseReporter>(port));
    line->setOnTransition([](const RecordingKeyLine::Transition& t) {
        if (t.parallelValue != 0)
            say(QStringLiteral("KEY lpt %1").arg(t.parallelValue));
        else
            say(QStringLiteral("KEY %1 %2")
                    .arg(t.signal == KeySignal::Rts ? QStringLiteral("rts") : QStringLiteral("dtr"))
                    .arg(t.down ? 1 : 0));
        if (!t.down && g_onFirstKeyUp && !g_keyedUp.exchange(true))
            g_onFirstKeyUp();
    });
    return line;
}

// A playback that goes on until it is stopped.
class EndlessPlayback final : public WaveBackend {
public:
    bool open(const QString&, QString*) override { return true; }
    bool play(QString*) override
    {
        playing_ = true;
        say(QStringLiteral("PLAYING"));
        return true;
    }
    void stop() override { end(); }
    void close() override { end(); }
    bool isPlaying() override { return playing_; }

private:
    void end()
    {
        if (playing_)
            say(QStringLiteral("PLAYBACK STOPPED"));
        playing_ = false;
    }
    bool playing_ = false;
};

void setUpLongMessage(bool parallel)
{
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[10]->setText(QStringLiteral("1"));   // serial port 1
    cw.Text[11]->setText(QStringLiteral("5"));   // WPM: 240 ms units
    cw.Text[14]->setText(QStringLiteral("888")); // parallel port address
    cw.Text[2]->setText(QStringLiteral("TTTTTTTTTTTTTTTTTTTTTTTTTTTTTT"));
    (parallel ? cw.Option3 : cw.Option1)->click();
}

void keyLongMessage(bool parallel)
{
    setUpLongMessage(parallel);
    int f2 = 113;
    DefaultInstance<CWFrm>().FKeyCW(f2);
}

// "WINKEYER OPEN" once the keyer's link is open.
void sayWhenWinKeyerOpen()
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (WinKeyerLink::instance().isOpen()) {
            say(QStringLiteral("WINKEYER OPEN"));
            poll->stop();
        }
    });
    poll->start(10);
}

void openWinKeyer()
{
    KeyingState::instance().WinKeyerPort = 7;
    DefaultInstance<frmWinKey>().cmdOpenWinkey_Click();
    sayWhenWinKeyerOpen();
}

// The station on 20 m CW, as its set-up leaves it.
void setStation(const char* call, const char* spc, const char* county, uint8_t outOfState)
{
    StationSettings& st = StationSettings::instance();
    st.OwnCall = QLatin1String(call);
    st.OwnSpc = QLatin1String(spc);
    st.OwnCountry = QStringLiteral("United States");
    st.OwnCounty = QLatin1String(county);
    st.CurrentBand = QStringLiteral("20");
    st.CurrentMode = QStringLiteral("CW");
    st.FormSizePercent = 100;
    st.OutOfStateFlag = outOfState;
}

// The out-of-state log window on the folder's log, as a station in
// another state starts it.
LogWindow& openLogWindow()
{
    setStation("K9XYZ", "IL", "Alderbrook", 1);
    ShowLogWindow();
    say(QStringLiteral("LOG WINDOW"));
    return DefaultInstance<Outfrm>();
}

// The in-state window of a rover in Ashcombe, logged on, with County
// Change shown and a county typed; Add Multiple Counties is clicked when
// `rover` is set.
void changeOwnCounty(bool rover)
{
    setStation("W5ROV", "ZQ", "Ashcombe", 0);
    StationSettings::instance().RoverFlag = 1;
    ShowLogWindow();
    Infrm& w = DefaultInstance<Infrm>();
    w.cmdLogOn->click();
    // Runs inside County Change's own loop.
    QTimer::singleShot(0, qApp, [rover] {
        auto* change = WindowRegistry::existing<frmCountyChange>();
        if (!change || !change->isVisible())
            return;
        change->Text1->setText(QStringLiteral("Alderbrook"));
        if (!rover) {
            say(QStringLiteral("SHOWN frmCountyChange"));
            return;
        }
        QTimer::singleShot(0, qApp, [] {
            if (auto* r = WindowRegistry::existing<frmCountyChangeRover>(); r && r->isVisible())
                say(QStringLiteral("SHOWN frmCountyChangeRover"));
        });
        change->cmdMultipleCounties->click();
    });
    w.mnuChangeCounty->trigger();
}

// A contact typed in the entry row.
void fillEntryRow(LogWindow& w)
{
    w.txtCall->setText(QStringLiteral("K5LOW"));
    w.txtRSTR->setText(QStringLiteral("599"));
    w.txtSec->setText(QStringLiteral("Alderbrook"));
    w.txtRSTS->setText(QStringLiteral("599"));
}

// "E!" keyed by the CW window at 5 WPM on RTS of serial port 1.
void keyExclamationMessage()
{
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[10]->setText(QStringLiteral("1"));
    cw.Text[11]->setText(QStringLiteral("5"));
    cw.Text[2]->setText(QStringLiteral("E!"));
    cw.Option1->click();
    int f2 = 113;
    cw.FKeyCW(f2);
}

// Holds as a spoken prompt does while "E!" is keyed: the "!" comes during
// the hold, so the contact is logged once the hold ends.
void keyExclamationDuringHold(LogWindow& w)
{
    fillEntryRow(w);
    QMetaObject::invokeMethod(
        qApp,
        [] {
            keyExclamationMessage();
            say(QStringLiteral("KEYED"));
        },
        Qt::QueuedConnection);
    say(QStringLiteral("HOLDING"));
    QObject never;
    EventHold::waitFor(&never, &QObject::objectNameChanged, std::chrono::minutes(1));
}

// "E!" keyed; the end comes between the "!" reached and its hand-over to
// the windows: the user-interface thread is kept busy from the key-up of
// the "E" until the keyer has reached the "!", and then ends.
void endOnceExclamationReached(LogWindow& w, const QByteArray& end)
{
    fillEntryRow(w);
    g_onFirstKeyUp = [end] {
        QMetaObject::invokeMethod(
            qApp,
            [end] {
                const QDeadlineTimer bound(10000);
                CWFrm* cw = WindowRegistry::existing<CWFrm>();
                while (cw && !cw->keyer->owesExclamation() && !bound.hasExpired())
                    QThread::usleep(500);
                say(QStringLiteral("REACHED"));
                if (end == "exit") {
                    if (auto* log = LoadedLogWindow(true))
                        log->logWindow().findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
                } else if (end == "signal") {
                    endProgramInOrder(); // what an end signal runs
                } else {
                    WindowRegistry::unload<CWFrm>();
                    say(QStringLiteral("CW WINDOW UNLOADED"));
                }
            },
            Qt::QueuedConnection);
    };
    keyExclamationMessage();
}

// The voice keyer's F2 message, with push-to-talk on RTS of serial port 1.
void playWithPtt()
{
    setWaveBackendFactoryForTesting([] { return std::make_unique<EndlessPlayback>(); });
    const QString wave = QDir::current().absoluteFilePath(QStringLiteral("message.wav"));
    QFile file(wave);
    [[maybe_unused]] const bool made = file.open(QIODevice::WriteOnly);
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    phone.Text[10]->setText(QStringLiteral("1"));
    phone.Option1->setChecked(true);
    phone.Text[2]->setText(wave);
    int f2 = 113;
    phone.FKeyPhone(f2);
}

// A long message handed to the WinKeyer on port 7.
void sendThroughWinKeyer()
{
    KeyingState::instance().WinKeyerPort = 7;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[2]->setText(QStringLiteral("TEST TEST TEST TEST TEST TEST TEST TEST TEST TEST"));
    cw.Option5->click();
    int f2 = 113;
    cw.FKeyCW(f2);
    sayWhenWinKeyerOpen();
}

// A key typed with Ctrl in the log window's call field.
void typeCtrl(LogWindow& w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(w.txtCall, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(w.txtCall, &release);
}

void showToolWindow(LogWindow& w, const QByteArray& which)
{
    QWidget* shown = nullptr;
    if (which == "rig") {
        w.findChild<QAction*>(QStringLiteral("mnuRigInterface"))->trigger();
        shown = WindowRegistry::existing<RigControlfrm>();
    } else if (which == "blind") {
        w.findChild<QAction*>(QStringLiteral("mnuBlind"))->trigger();
        shown = WindowRegistry::existing<BlindFrm>();
    } else if (which == "cw") {
        typeCtrl(w, Qt::Key_S);
        shown = WindowRegistry::existing<CWFrm>();
    } else if (which == "phone") {
        typeCtrl(w, Qt::Key_P);
        shown = WindowRegistry::existing<PhoneFrm>();
    }
    if (shown && shown->isVisible() && !shown->isModal())
        say(QStringLiteral("SHOWN %1").arg(shown->objectName()));
}

// Code practice, shown modally from the CW window, sends a long text.
void sendCodePractice(LogWindow& w)
{
    typeCtrl(w, Qt::Key_S);
    setUpLongMessage(false);
    QMetaObject::invokeMethod(
        qApp,
        [] {
            if (auto* practice = WindowRegistry::existing<frmCodePractice>()) {
                practice->Text1->setPlainText(QStringLiteral("TTTTTTTTTTTTTTTTTTTT"));
                practice->Command3->click();
            }
        },
        Qt::QueuedConnection);
    DefaultInstance<CWFrm>().Command7_Click();
}

// SIGUSR1 chooses File > Exit, from the event loop as a menu click would.
int g_exitPipe[2] = {-1, -1};

void onExitSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_exitPipe[1], &c, 1);
}

void exitOnSignal()
{
    if (::pipe2(g_exitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_exitPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char c;
        while (::read(g_exitPipe[0], &c, 1) > 0) {
        }
        ActiveLogWindow* w = LoadedLogWindow(true);
        if (!w)
            w = LoadedLogWindow(false);
        if (w)
            w->logWindow().findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    });
    std::signal(SIGUSR1, onExitSignal);
}

void drive(const QByteArray& what)
{
    if (what == "key-parallel" || what == "key-rts") {
        keyLongMessage(what == "key-parallel");
    } else if (what == "winkeyer") {
        openWinKeyer();
    } else if (what.startsWith("in-county-change")) {
        changeOwnCounty(what.endsWith("-rover"));
    } else if (what.startsWith("log")) {
        LogWindow& w = openLogWindow();
        if (what == "log-key-rts" || what == "log-key-parallel") {
            // F2 typed in the call field, as the operator sends a message.
            setUpLongMessage(what == "log-key-parallel");
            QWidget* focus = w.txtCall;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
            QCoreApplication::sendEvent(focus, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier);
            QCoreApplication::sendEvent(focus, &release);
        } else if (what == "log-delete") {
            w.ListView1->selectRow(0);
            w.cmdDelete_Click();
        } else if (what == "log-adif") {
            w.findChild<QAction*>(QStringLiteral("mnuexportADIF"))->trigger();
        } else if (what == "log-cw-window") {
            QTimer::singleShot(100, qApp, [] {
                if (QWidget* modal = QApplication::activeModalWidget())
                    say(QStringLiteral("MODAL %1").arg(modal->objectName()));
            });
            w.findChild<QAction*>(QStringLiteral("mnuCW"))->trigger();
        } else if (what == "log-hold") {
            keyExclamationDuringHold(w);
        } else if (what.startsWith("log-tool-")) {
            w.cmdLogOn->click();
            showToolWindow(w, what.mid(9));
        } else if (what == "log-practice") {
            w.cmdLogOn->click();
            sendCodePractice(w);
        } else if (what == "log-blind-hold") {
            showToolWindow(w, "blind");
            keyExclamationDuringHold(w);
        } else if (what.startsWith("log-exclamation-")) {
            endOnceExclamationReached(w, what.mid(16));
        } else if (what == "log-phone") {
            playWithPtt();
        } else if (what == "log-winkeyer") {
            sendThroughWinKeyer();
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    setPrompt(std::make_unique<PrintingPrompt>());
    KeyingPorts::setOpenerForTesting(openRecordingLine);
    const QByteArray what = qgetenv("ZQ_DRIVE");
    return runProgram(argc, argv, [what] {
        exitOnSignal();
        say(QStringLiteral("STARTED"));
        drive(what);
    });
}
