#include "app/StartProgram.h"

#include "common/ButtonKeys.h"
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
#include "platform/SafeFile.h"
#include "startup/frmSplash.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zq {

bool startProgram()
{
    installOperatorChoiceAccessibility();
    installEnterPressesFocusedButton();
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

// Why no file can be made in `folder`, as the file system says it: a
// trial file is made and removed at once.
QString whyNoFileCanBeMade(const QString& folder)
{
    QByteArray trial = QFile::encodeName(folder + QStringLiteral("/.zqlog-trial.XXXXXX"));
    const int fd = ::mkostemp(trial.data(), O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(strerror(errno));
    ::close(fd);
    ::unlink(trial.constData());
    return QStringLiteral("the lock file %1 could not be made")
        .arg(QDir::toNativeSeparators(lockFilePath(folder)));
}

} // namespace

bool lockWorkingFolder(QLockFile& lock, const QString& folder)
{
    // A running copy keeps its lock however long it runs; only a lock
    // whose process is gone counts as stale.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return true;
    if (lock.error() != QLockFile::LockFailedError) {
        // Without its lock another copy could open the same log and both
        // would write it: the log is not opened.
        prompt().message(QStringLiteral("The working folder %1 cannot be locked for this program: "
                                        "%2.  The log is not opened without the lock, so that no "
                                        "other copy can write it at the same time.  Start the "
                                        "program in a folder that you may write.")
                             .arg(QDir::toNativeSeparators(folder), whyNoFileCanBeMade(folder)),
                         QStringLiteral("Working Folder Not Locked"), MsgButtons::Ok,
                         MsgIcon::Critical);
        return false;
    }
    // A copy killed between making the lock file and writing its process
    // into it leaves a file that names no process: taken over once it is
    // older than any start could take, or dated in the future (a clock
    // set back since), which no start in progress can be.
    qint64 pid = 0;
    QString host, app;
    const QFileInfo file(lockFilePath(folder));
    const qint64 age = file.lastModified().secsTo(QDateTime::currentDateTime());
    if (!lock.getLockInfo(&pid, &host, &app) && (age > 60 || age < 0)
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
    removeStaleTemporaryFiles(folder); // only now: a refused copy leaves the running one's alone

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
