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
#include "platform/ContestFiles.h"
#include "platform/InnerLoop.h"
#include "platform/KeyingPorts.h"
#include "platform/Prompt.h"
#include "platform/SafeFile.h"
#include "platform/WaveDevice.h"
#include "platform/WinKeyer.h"
#include "startup/frmSplash.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QPushButton>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
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

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Why the lock file `path` cannot be made, as the file system says it: a
// trial file is made beside it and removed at once.
QString whyNoLockFileCanBeMade(const QString& path)
{
    QByteArray trial = QFile::encodeName(path.left(path.lastIndexOf(QLatin1Char('/')))
                                         + QStringLiteral("/.zqlog-trial.XXXXXX"));
    const int fd = ::mkostemp(trial.data(), O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(strerror(errno));
    ::close(fd);
    ::unlink(trial.constData());
    return QStringLiteral("the lock file %1 could not be made").arg(native(path));
}

// Why the existing lock file `path` cannot be a lock at all, or "": the
// lock reads a lock file that is there already, and one that is no
// regular file (a pipe, say) would hold the start for good.  A lock is
// made with O_EXCL, which never goes through a link, so a link there (one
// that leads nowhere too) is no copy's lock either.
QString whyNoLock(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("the lock file %1 is not a regular file: it is a link to %2, made by "
                              "no copy of this program")
            .arg(native(path), native(QFile::symLinkTarget(path)));
    return QStringLiteral("the lock file %1 is not a regular file").arg(native(path));
}

// The name of the user `uid`, or the number when it has none.
QString userName(uid_t uid)
{
    if (const passwd* pw = ::getpwuid(uid); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(uid);
}

// What a lock file says of the copy that holds it.
struct LockHolder {
    qint64 pid = 0;
    QString app;
    QString host;
    QByteArray machine; // the host's machine id and boot id, when written
    QByteArray boot;
};

// The holder that the content of a lock file names; none when it names
// no process (a copy that is making it, or one killed while it did).
std::optional<LockHolder> lockHolder(const QByteArray& content)
{
    const QList<QByteArray> lines = content.split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).toLongLong(&ok);
    if (!ok || pid <= 0 || pid_t(pid) != pid || lines.size() < 3)
        return std::nullopt;
    return LockHolder{pid, QString::fromUtf8(lines.value(1)), QString::fromUtf8(lines.value(2)),
                      lines.value(3), lines.value(4)};
}

// Opens the lock file `path` for reading only, without following a link
// or waiting on what is no regular file; -1 when it cannot be.
int openLockFile(const QByteArray& path, struct stat* st)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The start of an open lock file, enough for all that it names.
QByteArray lockFileContent(int fd)
{
    QByteArray content(1024, '\0');
    const ssize_t n = ::pread(fd, content.data(), size_t(content.size()), 0);
    content.truncate(n > 0 ? qsizetype(n) : 0);
    return content;
}

// Whether the copy a lock file names is gone for good: its process is of
// this host and no longer runs (no such process, one of an earlier boot,
// or its number now taken by another program).  A process that this user
// may not look at counts as running.
bool lockHolderIsGone(const QByteArray& content)
{
    const std::optional<LockHolder> holder = lockHolder(content);
    if (!holder)
        return false;
    if (!holder->host.isEmpty() && holder->host != QSysInfo::machineHostName())
        return false;
    if (!holder->machine.isEmpty() && holder->machine == QSysInfo::machineUniqueId()
        && !holder->boot.isEmpty() && holder->boot != QSysInfo::bootUniqueId())
        return true;
    if (::kill(pid_t(holder->pid), 0) != 0 && errno == ESRCH)
        return true;
    QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(holder->pid));
    if (exe.endsWith(QLatin1String(" (deleted)")))
        exe.chop(10);
    return !exe.isEmpty() && !holder->app.isEmpty() && QFileInfo(exe).fileName() != holder->app;
}

// Which copy holds the lock file `path`, for the operator: the file, its
// owner, and the process and host that it names.  "" when the file is
// gone meanwhile.
QString whoHoldsLock(const QString& path)
{
    struct stat st {};
    const int fd = openLockFile(QFile::encodeName(path), &st);
    if (fd < 0)
        return QString();
    const std::optional<LockHolder> holder = lockHolder(lockFileContent(fd));
    ::close(fd);
    if (!holder)
        return QStringLiteral("  Its lock file %1, of user %2, names no process yet: a copy is "
                              "starting (or was ended as it started; such a file is taken over "
                              "once it is a minute old).")
            .arg(native(path), userName(st.st_uid));
    return QStringLiteral("  Its lock file %1, of user %2, names process %3%4 on host %5.")
        .arg(native(path), userName(st.st_uid), QString::number(holder->pid),
             holder->app.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder->app),
             holder->host.isEmpty() ? QStringLiteral("(none named)") : holder->host);
}

enum class TakeOver { NotStale, Removed, CannotRemove };

// Takes over the lock file `path` of a copy that is gone where the lock's
// own stale-lock removal cannot, since it opens the file for writing: a
// file of another user's (left by a copy run through sudo, say).  The file
// is opened for reading only and held under the lock that every live
// holder keeps on its lock file, so that two starting copies never remove
// each other's fresh lock; what it names is judged, and it is removed only
// while it is still the file at that name.  With CannotRemove, *owner and
// *why say whose file it is and why it stays (a sticky folder, or one that
// this user may not write).
TakeOver takeOverLockOfGoneCopy(const QString& path, QString* owner, QString* why)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat held {}, named {};
    const int fd = openLockFile(native, &held);
    if (fd < 0)
        return TakeOver::NotStale;
    TakeOver result = TakeOver::NotStale;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && lockHolderIsGone(lockFileContent(fd))
        && ::lstat(native.constData(), &named) == 0 && named.st_dev == held.st_dev
        && named.st_ino == held.st_ino) {
        if (::unlink(native.constData()) == 0) {
            result = TakeOver::Removed;
        } else {
            *why = QString::fromLocal8Bit(strerror(errno));
            *owner = userName(held.st_uid);
            result = TakeOver::CannotRemove;
        }
    }
    ::close(fd);
    return result;
}

// What a lock keeps one writer on, as the operator is told about it.
struct Locked {
    QString lockFile;
    QString cannotLockTitle;
    QString subject;      // "The working folder ...", "The log ..."
    QString lockFileName; // the lock file as a message names it
    QString alreadyOpen;  // the message when another copy holds it
    QString remedy;       // what to do when it cannot be locked
};

// Takes `lock` on lockFile of `what` for the whole run; see
// lockWorkingFolder.
bool takeLock(QLockFile& lock, const Locked& what)
{
    // A running copy keeps its lock however long it runs; only a lock
    // whose process is gone counts as stale.
    lock.setStaleLockTime(0);
    QString cannotLock = whyNoLock(what.lockFile);
    if (cannotLock.isEmpty()) {
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError)
            cannotLock = whyNoLockFileCanBeMade(what.lockFile);
    }
    if (!cannotLock.isEmpty()) {
        // Without its lock another copy could open the same log and both
        // would write it: the log is not opened.
        prompt().message(QStringLiteral("%1 cannot be locked for this program: %2.  The log is not "
                                        "opened without the lock, so that no other copy can write "
                                        "it at the same time.  %3")
                             .arg(what.subject, cannotLock, what.remedy),
                         what.cannotLockTitle, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    // The lock of a copy that is gone, in a file that the lock could not
    // take over: taken over here where the folder lets it go, and said
    // where not, with its owner and the reason.
    QString owner, why;
    switch (takeOverLockOfGoneCopy(what.lockFile, &owner, &why)) {
    case TakeOver::Removed:
        if (lock.tryLock(0))
            return true;
        break;
    case TakeOver::CannotRemove:
        prompt().message(QStringLiteral("%1 holds the lock file %2 of user %3, left by a copy of "
                                        "this program that no longer runs, and it cannot be "
                                        "removed: %4.  The log is not opened without the lock, so "
                                        "that no other copy can write it at the same time.  "
                                        "Remove %2 (as user %3), or start the program in a "
                                        "folder that you may write.")
                             .arg(what.subject, what.lockFileName, owner, why),
                         what.cannotLockTitle, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    case TakeOver::NotStale: break;
    }
    // A copy killed between making the lock file and writing its process
    // into it leaves a file that names no process: taken over once it is
    // older than any start could take, or dated in the future (a clock
    // set back since), which no start in progress can be.
    qint64 pid = 0;
    QString host, app;
    const QFileInfo file(what.lockFile);
    const qint64 age = file.lastModified().secsTo(QDateTime::currentDateTime());
    if (!lock.getLockInfo(&pid, &host, &app) && (age > 60 || age < 0)
        && lock.removeStaleLockFile() && lock.tryLock(0))
        return true;
    prompt().message(what.alreadyOpen + whoHoldsLock(what.lockFile),
                     QStringLiteral("Log Already Open"), MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

} // namespace

bool lockWorkingFolder(QLockFile& lock, const QString& folder)
{
    return takeLock(
        lock,
        {lockFilePath(folder), QStringLiteral("Working Folder Not Locked"),
         QStringLiteral("The working folder %1").arg(native(folder)), workingFolderLockName(),
         QStringLiteral("The log in the working folder %1 is open in another copy of this "
                        "program.  One copy at a time can open a working folder: use the copy "
                        "that is running, or close it first.")
             .arg(native(folder)),
         QStringLiteral("Start the program in a folder that you may write.")});
}

bool lockLinkedLog(std::unique_ptr<QLockFile>& lock, const QString& folder)
{
    QString log;
    const QString lockFile = linkedLogLockFile(folder, &log);
    if (lockFile.isEmpty())
        return true;
    lock = std::make_unique<QLockFile>(lockFile);
    const QString subject = QStringLiteral("The log %1 (log.txt in the working folder %2 is a "
                                           "link to it)")
                                .arg(native(log), native(folder));
    if (takeLock(*lock,
                 {lockFile, QStringLiteral("Log Not Locked"), subject, native(lockFile),
                  QStringLiteral("The log %1, which log.txt in the working folder %2 links to, is "
                                 "open in another copy of this program.  One copy at a time can "
                                 "open a log: use the copy that is running, or close it first.")
                      .arg(native(log), native(folder)),
                  QStringLiteral("Keep the log in a folder that you may write.")}))
        return true;
    lock.reset();
    return false;
}

namespace {
// The end came through endProgramInOrder (an end signal): the windows are
// left as Exit leaves the log window.
bool& endedInOrder()
{
    static bool inOrder = false;
    return inOrder;
}
} // namespace

void endProgramInOrder()
{
    static bool ending = false;
    if (ending)
        return;
    ending = true;
    endedInOrder() = true;
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

void stopTransmitting()
{
    // Nothing more is keyed or played: a keyed message was stopped with the
    // inner loops, what is left of its text goes, and every playback stops.
    KeyingState::instance().CwSendBuffer.clear();
    WaveDevice::stopAll();
    // The WinKeyer keys what it holds on its own: its buffer is cleared
    // before its link closes.
    if (WinKeyerLink::instance().isOpen())
        wk_clearbuf();
    // Every line raised goes down, every keying port is let go, and the
    // WinKeyer's link closes with its close bytes.
    KeyingPorts::instance().releaseAll();
}

void finishProgramEnd()
{
    stopTransmitting();
    // Work held for after a prompt hold and the hand-over of a "!" the
    // keyer reached were handed to the event loop before the end: they run
    // now, while their windows are still there, so the contact is logged.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    // Whatever that work started keys nothing either.
    stopTransmitting();
    if (endedInOrder()) {
        QList<QPointer<LogWindow>> logWindows;
        for (bool outOfState : {false, true})
            if (ActiveLogWindow* w = LoadedLogWindow(outOfState))
                logWindows.append(&w->logWindow());
        WindowRegistry::unloadAll();
        // The log window ends as its Exit command does: the operating time
        // and preferences saved, no backup.
        for (const QPointer<LogWindow>& w : logWindows)
            if (w)
                w->saveOperatingTime();
    }
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
    std::unique_ptr<QLockFile> logLock;
    if (!lockLinkedLog(logLock, folder))
        return 1;
    // Only now: a refused copy leaves the running one's alone.  The
    // contest's files may be links into other folders, where their
    // rewrites make their temporary files.
    removeStaleTemporaryFilesOfContestFiles(folder);

    installEndSignalHandlers([](int) { endProgramInOrder(); });
    int code = 1;
    if (startProgram()) {
        if (started)
            QTimer::singleShot(0, &app, started);
        code = app.exec();
    }
    // Every end comes here: Exit, the close box, a signal, a failed start
    // or a window that ends the program.
    finishProgramEnd();
    return code;
}

} // namespace zq
