#include "app/StartProgram.h"

#include "common/LogWindowLink.h"
#include "common/OperatorChoice.h"
#include "common/ProgramEnd.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "keying/KeyingState.h"
#include "logwindow/LogWindow.h"
#include "platform/EndSignals.h"
#include "platform/InnerLoop.h"
#include "platform/KeyingPorts.h"
#include "platform/Prompt.h"
#include "startup/frmSplash.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace zq {

bool startProgram()
{
    installOperatorChoiceAccessibility();
    fitPromptDialogsToScreen();
    frmSplash& splash = DefaultInstance<frmSplash>();
    splash.Form_Load();
    splash.show();
    splash.Command1->setFocus();
    return true;
}

QString workingFolderLockName()
{
    return QStringLiteral("zqlog.lock");
}

namespace {
QString lockFilePath(const QString& folder)
{
    return folder + QLatin1Char('/') + workingFolderLockName();
}
} // namespace

bool lockWorkingFolder(QLockFile& lock, const QString& folder)
{
    // A running copy keeps its lock however long it runs; only a lock
    // whose process is gone counts as stale.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0) || lock.error() != QLockFile::LockFailedError)
        return true;
    // A copy killed between making the lock file and writing its process
    // into it leaves a file that names no process: taken over once it is
    // older than any start could take.
    qint64 pid = 0;
    QString host, app;
    const QFileInfo file(lockFilePath(folder));
    if (!lock.getLockInfo(&pid, &host, &app)
        && file.lastModified().secsTo(QDateTime::currentDateTime()) > 60
        && lock.removeStaleLockFile() && lock.tryLock(0))
        return true;
    prompt().message(QStringLiteral("The log in the working folder %1 is open in another copy of "
                                    "this program.  One copy at a time can open a working folder: "
                                    "use the copy that is running, or close it first.")
                         .arg(QDir::toNativeSeparators(folder)),
                     QStringLiteral("Log Already Open"), MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

void endProgramInOrder()
{
    static bool ending = false;
    if (ending)
        return;
    ending = true;
    // Flagged first: a handler that returns from a question writes nothing
    // from its answer, and a keying drain stops at once instead of keying on.
    flagProgramEnd();
    KeyingState::instance().CwSendBuffer.clear();
    // Every question, dialog, modal window, prompt hold and keyed message
    // is left as its Cancel would leave it, and none starts any more.
    InnerLoop::leaveAllForGood();
    // Quitting makes every running event loop return, the outermost last,
    // so the handlers below them return too; the rest runs after that.
    endProgram();
}

void finishProgramEndInOrder()
{
    // Work held for after a prompt hold (a contact whose "!" was keyed
    // meanwhile) was handed to the event loop as the hold ended: it runs
    // now, while its window is still there.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QList<QPointer<LogWindow>> logWindows;
    for (bool outOfState : {false, true})
        if (ActiveLogWindow* w = LoadedLogWindow(outOfState))
            logWindows.append(&w->logWindow());
    KeyingState::instance().CwSendBuffer.clear();
    WindowRegistry::unloadAll();
    KeyingPorts::instance().releaseAll();
    // With every line up, the log window ends as its Exit command does:
    // the operating time and preferences saved, no backup.
    for (const QPointer<LogWindow>& w : logWindows)
        if (w)
            w->saveOperatingTime();
    // The unloaded windows go now, with whatever they still hold.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int runProgram(int argc, char** argv, const std::function<void()>& started)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brelvox_Software"));
    QApplication::setApplicationName(QStringLiteral("Carvonia"));
    QApplication::setQuitOnLastWindowClosed(false);

    const QString folder = QDir::currentPath();
    QLockFile lock(lockFilePath(folder));
    if (!lockWorkingFolder(lock, folder))
        return 1;

    bool bySignal = false;
    installEndSignalHandlers([&bySignal](int) {
        bySignal = true;
        endProgramInOrder();
    });
    if (!startProgram())
        return 1;
    if (started)
        QTimer::singleShot(0, &app, started);
    const int code = app.exec();
    if (bySignal)
        finishProgramEndInOrder();
    return code;
}

} // namespace zq
