// The program as a process of its own, started offscreen in a temporary
// working folder: one copy at a time opens a working folder, and SIGTERM,
// SIGINT and SIGHUP end it in order, with no key line left down.  The
// driven program (tests/app/driver) is the same run with a printing prompt
// and recording key lines.

#include "app/StartProgram.h"
#include "platform/SafeFile.h"
#include "support/FakeWinKeyer.h"
#include "support/TestEnv.h"
#include "support/WatchedFifo.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zq;

namespace {

constexpr int kWaitMs = 15000; // bound of every wait; never reached when all is well

// A home of its own for each test, so settings and documents go there.
class Home {
public:
    Home()
    {
        QDir(home_.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home_.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QProcessEnvironment environment(const QByteArray& drive = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.filePath(QStringLiteral("runtime")));
        env.remove(QStringLiteral("ZQ_DRIVE"));
        if (!drive.isEmpty())
            env.insert(QStringLiteral("ZQ_DRIVE"), QString::fromLatin1(drive));
        return env;
    }

private:
    QTemporaryDir home_;
};

// One run of a program; its standard output read line by line.
class ProgramRun {
public:
    ProgramRun(const QString& program, const QString& folder, const QProcessEnvironment& env,
               const QStringList& arguments = {})
    {
        process_.setProgram(program);
        process_.setArguments(arguments);
        process_.setWorkingDirectory(folder);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        started_ = process_.waitForStarted(kWaitMs);
    }
    ~ProgramRun()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kWaitMs);
        }
    }
    bool started() const { return started_; }

    // Waits until a line that starts with `prefix` has been printed.
    bool waitForLine(const QString& prefix)
    {
        QDeadlineTimer deadline(kWaitMs);
        for (;;) {
            readLines();
            for (const QString& l : lines_)
                if (l.startsWith(prefix))
                    return true;
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        }
    }
    bool waitForEnd()
    {
        const bool ended = process_.state() == QProcess::NotRunning
            || process_.waitForFinished(kWaitMs);
        readLines();
        return ended;
    }
    void signal(int s) { ::kill(pid_t(process_.processId()), s); }
    qint64 processId() const { return process_.processId(); }
    QStringList lines()
    {
        readLines();
        return lines_;
    }
    QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }
    int exitCode() const { return process_.exitCode(); }

private:
    void readLines()
    {
        partial_ += process_.readAllStandardOutput();
        qsizetype nl;
        while ((nl = partial_.indexOf('\n')) >= 0) {
            lines_ << QString::fromUtf8(partial_.left(nl));
            partial_.remove(0, nl + 1);
        }
    }
    QProcess process_;
    bool started_ = false;
    QByteArray partial_;
    QStringList lines_;
};

// What a folder holds, file by file: name, size and time of change.
QStringList snapshot(const QString& folder)
{
    QStringList out;
    for (const QFileInfo& f :
         QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                                    QDir::Name))
        out << QStringLiteral("%1 %2 %3")
                   .arg(f.fileName())
                   .arg(f.size())
                   .arg(f.lastModified().toMSecsSinceEpoch());
    return out;
}

// Waits until the lock file at `path` names process `pid` (it is made
// empty and then written).
bool waitForLockedBy(const QString& path, qint64 pid)
{
    QDeadlineTimer deadline(kWaitMs);
    for (;;) {
        QLockFile lock(path);
        qint64 holder = 0;
        QString host, app;
        if (lock.getLockInfo(&holder, &host, &app) && holder == pid)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
}

class ProgramProcess : public ::testing::Test {
protected:
    Home home;
    QTemporaryDir work;
    QString lockPath() const { return work.filePath(workingFolderLockName()); }

    void SetUp() override
    {
        QFile log(work.filePath(QStringLiteral("log.txt")));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("\"K1AA\",\"59\",\"59\",\"CA\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"09-12-2026\","
                  "\"18:31\",\"PH\",\"20\",1,\"\",\"\",\"\",\"\"\r\n");
    }

    std::unique_ptr<ProgramRun> program()
    {
        return std::make_unique<ProgramRun>(QStringLiteral(ZQ_PROGRAM), work.path(),
                                            home.environment());
    }
    std::unique_ptr<ProgramRun> driven(const QByteArray& drive = {})
    {
        return std::make_unique<ProgramRun>(QStringLiteral(ZQ_DRIVEN_PROGRAM), work.path(),
                                     home.environment(drive));
    }
    // The driven program started by `launcher` (a program and its
    // arguments, the driven program's path last).
    std::unique_ptr<ProgramRun> drivenBy(const QStringList& launcher)
    {
        return std::make_unique<ProgramRun>(launcher.first(), work.path(), home.environment(),
                                            launcher.mid(1) << QStringLiteral(ZQ_DRIVEN_PROGRAM));
    }
    // The WinKeyer on port 7 is `keyer`.
    void useFakeWinKeyer(const test::FakeWinKeyer& keyer)
    {
        QFile ports(work.filePath(QStringLiteral("ComPorts.txt")));
        ASSERT_TRUE(ports.open(QIODevice::WriteOnly));
        ports.write("7=" + QFile::encodeName(keyer.devicePath()) + "\r\n");
    }
    QByteArray log() const
    {
        QFile f(work.filePath(QStringLiteral("log.txt")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// Leaves in `folder` the temporary file of a rewrite of its log.txt that
// was killed before its rename, as a real kill would: the write runs in a
// child process that ends as its temporary file is written.
bool leaveKilledRewrite(const QString& folder)
{
    const pid_t child = ::fork();
    if (child == 0) {
        setWriteFaultForTesting([](const QString&) -> bool { ::_exit(0); });
        writeFileAtomically(folder + QStringLiteral("/log.txt"), "half a log");
        ::_exit(1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)
        && WEXITSTATUS(status) == 0;
}

QStringList hiddenFiles(const QString& folder)
{
    return QDir(folder).entryList(QStringList{QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
}

// The run ends with exit 1 after one message, "Working Folder Not Locked",
// that names each of `named`; the folder holds what it held `before`.
void expectFolderNotLocked(ProgramRun& run, const QString& folder, const QStringList& before,
                           const QStringList& named)
{
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 1);
    const QStringList said = run.lines();
    ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("MESSAGE Working Folder Not Locked: ")))
        << said[0].toStdString();
    for (const QString& n : named)
        EXPECT_TRUE(said[0].contains(n)) << n.toStdString() << ": " << said[0].toStdString();
    EXPECT_EQ(snapshot(folder).join(u'|').toStdString(), before.join(u'|').toStdString());
}

// Whether `launcher` followed by a command runs here (root, the tools and
// the rights it needs).
bool launches(const QStringList& launcher, const QStringList& command)
{
    QProcess p;
    p.start(launcher.first(), launcher.mid(1) + command);
    return p.waitForFinished(kWaitMs) && p.exitStatus() == QProcess::NormalExit
        && p.exitCode() == 0;
}

// A launcher that runs a command as user nobody, with no groups.
QStringList asUserNobody()
{
    return {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
            QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")};
}

// Whether the driven program can be started through `launcher` here.
bool drivenRunsAs(const QStringList& launcher)
{
    return ::geteuid() == 0
        && launches(launcher, {QStringLiteral("test"), QStringLiteral("-x"),
                               QStringLiteral(ZQ_DRIVEN_PROGRAM)});
}

} // namespace

TEST_F(ProgramProcess, ASecondCopyOnTheSameFolderSaysSoAndEndsBeforeTouchingAFile)
{
    auto first = program();
    ASSERT_TRUE(first->started());
    ASSERT_TRUE(waitForLockedBy(lockPath(), first->processId())) << "the first copy took no lock";
    const QStringList before = snapshot(work.path());

    auto second = driven();
    ASSERT_TRUE(second->waitForEnd()) << "the second copy did not end";
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second->exitCode(), 0);
    const QStringList said = second->lines();
    ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("MESSAGE Log Already Open: ")));
    EXPECT_TRUE(said[0].contains(QDir::toNativeSeparators(work.path())));
    EXPECT_TRUE(said[0].contains(QStringLiteral("open in another copy")));
    EXPECT_EQ(snapshot(work.path()).join(u'|').toStdString(), before.join(u'|').toStdString());

    // The first copy goes on, and gives the folder up when it ends.
    first->signal(SIGTERM);
    ASSERT_TRUE(first->waitForEnd());
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
}

// The temporary files of killed writes go when a copy starts, once it
// holds the folder's lock: a second copy refused by the lock removes
// nothing, not even a file the running copy may be writing.
TEST_F(ProgramProcess, TheCopyThatHoldsTheLockRemovesTheTemporaryFilesOfKilledWrites)
{
    const QByteArray logBytes = log();
    auto first = driven();
    ASSERT_TRUE(first->waitForLine(QStringLiteral("STARTED")));
    ASSERT_TRUE(leaveKilledRewrite(work.path()));
    const QStringList left = hiddenFiles(work.path());
    ASSERT_EQ(left.size(), 1) << left.join(u'|').toStdString();

    auto second = driven();
    ASSERT_TRUE(second->waitForEnd());
    EXPECT_NE(second->exitCode(), 0);
    EXPECT_TRUE(second->lines().value(0).startsWith(QStringLiteral("MESSAGE Log Already Open: ")));
    EXPECT_EQ(hiddenFiles(work.path()), left);

    first->signal(SIGTERM);
    ASSERT_TRUE(first->waitForEnd());
    auto next = driven();
    ASSERT_TRUE(next->waitForLine(QStringLiteral("STARTED"))) << next->lines().join(u'|').toStdString();
    EXPECT_TRUE(hiddenFiles(work.path()).isEmpty()) << hiddenFiles(work.path()).join(u'|').toStdString();
    EXPECT_EQ(log(), logBytes);
    next->signal(SIGTERM);
    ASSERT_TRUE(next->waitForEnd());
}

// A working folder where no lock file can be made: the program says so,
// with the folder and the reason, and ends before it opens the log.  As
// user nobody in a folder of root's, and (binding root too) on a
// read-only mount of the folder in a mount namespace of its own.
TEST_F(ProgramProcess, AFolderThatCannotBeLockedIsSaidAndTheLogIsNotOpened)
{
    const QString drivenPath = QStringLiteral(ZQ_DRIVEN_PROGRAM);
    struct Case {
        const char* what;
        QStringList launcher;
        int reason; // errno of the failed lock file
    };
    const Case cases[] = {
        {"user nobody",
         {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
          QStringLiteral("--clear-groups")},
         EACCES},
        {"read-only mount",
         {QStringLiteral("unshare"), QStringLiteral("--mount"), QStringLiteral("--propagation"),
          QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
          QStringLiteral("mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro \"$0\" && "
                         "cd \"$0\" && exec \"$@\""),
          work.path()},
         EROFS},
    };
    ASSERT_EQ(::chmod(QFile::encodeName(work.path()).constData(), 0755), 0);
    int ran = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (::geteuid() != 0
            || !launches(c.launcher, {QStringLiteral("test"), QStringLiteral("-x"), drivenPath}))
            continue;
        ++ran;
        const QStringList before = snapshot(work.path());
        auto run = drivenBy(c.launcher);
        expectFolderNotLocked(*run, work.path(), before,
                              {QDir::toNativeSeparators(work.path()),
                               QString::fromLocal8Bit(strerror(c.reason))});
    }
    if (ran == 0)
        GTEST_SKIP() << "neither another user nor a read-only mount can be set up here";
}

// log.txt is a pipe (made by another program) when the log window opens:
// "Open existing log?" Yes gives the load failure that a folder gets there,
// with the reason, and the program ends instead of waiting on the pipe.
TEST_F(ProgramProcess, ALogThatIsAPipeIsRefusedAtTheStartAndTheProgramEnds)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    const QString logPath = work.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(QFile::remove(logPath));
    ASSERT_EQ(::mkfifo(QFile::encodeName(logPath).constData(), 0644), 0);

    auto run = driven("log");
    ASSERT_TRUE(run->waitForEnd()) << "the program waits on the pipe: "
                                   << run->lines().join(u'|').toStdString();
    const QStringList said = run->lines();
    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(said.filter(QStringLiteral("MESSAGE Open existing log?: ")).size(), 1)
        << said.join(u'|').toStdString();
    const QStringList failure = said.filter(QStringLiteral("MESSAGE File Error: Error opening file."));
    ASSERT_EQ(failure.size(), 1) << said.join(u'|').toStdString();
    EXPECT_TRUE(failure[0].contains(QDir::toNativeSeparators(logPath)));
    EXPECT_TRUE(failure[0].contains(QStringLiteral("Not a regular file"))) << failure[0].toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(logPath).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
}

TEST_F(ProgramProcess, TheLockOfAKilledCopyIsTakenOver)
{
    // Killed once it runs: its lock file names it by then (a copy killed
    // while making the lock file leaves one that names no process, which
    // the lock test below covers).
    auto killed = driven();
    ASSERT_TRUE(killed->waitForLine(QStringLiteral("STARTED")));
    killed->signal(SIGKILL);
    ASSERT_TRUE(killed->waitForEnd());
    ASSERT_TRUE(QFileInfo::exists(lockPath())) << "the killed copy's lock is left behind";

    auto next = driven();
    ASSERT_TRUE(next->waitForLine(QStringLiteral("STARTED"))) << next->lines().join(u'|').toStdString();
    EXPECT_TRUE(next->lines().filter(QStringLiteral("MESSAGE")).isEmpty());
    next->signal(SIGTERM);
    ASSERT_TRUE(next->waitForEnd());
    EXPECT_EQ(next->exitStatus(), QProcess::NormalExit);
}

// The lock of a copy run as root (through sudo, say) and gone since: a
// file of root's, mode 0644, naming a process of this host that no longer
// runs.  Started as user nobody in a folder of nobody's, the program takes
// it over and starts; in a sticky folder of root's, where nobody may not
// remove it, the start is refused with the lock file, its owner and the
// reason, exit 1, and nothing in the folder is touched.
TEST_F(ProgramProcess, AGoneCopysLockOfAnotherUserIsTakenOverOrSaid)
{
    const QStringList asNobody = asUserNobody();
    if (!drivenRunsAs(asNobody))
        GTEST_SKIP() << "no other user can be set up here";
    // A process of this host that has ended.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ASSERT_GT(gone, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(gone, &status, 0), gone);
    const QByteArray lock = QByteArray::number(gone) + "\nzqlog_driven\n"
        + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n'
        + QSysInfo::bootUniqueId() + '\n';
    auto leaveRootsLock = [&] {
        QFile f(lockPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lock);
        f.close();
        ASSERT_EQ(::chmod(QFile::encodeName(lockPath()).constData(), 0644), 0);
    };
    // The home (settings, documents) is nobody's too.
    const QByteArray homePath = QFile::encodeName(home.environment().value(QStringLiteral("HOME")));
    for (const QByteArray& d : {homePath, homePath + "/runtime"})
        ASSERT_EQ(::chown(d.constData(), 65534, 65534), 0);
    const QByteArray folder = QFile::encodeName(work.path());

    {
        SCOPED_TRACE("a folder of nobody's");
        ASSERT_EQ(::chown(folder.constData(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(folder.constData(), 0755), 0);
        leaveRootsLock();
        auto run = drivenBy(asNobody);
        ASSERT_TRUE(run->waitForLine(QStringLiteral("STARTED"))) << run->lines().join(u'|').toStdString();
        EXPECT_TRUE(run->lines().filter(QStringLiteral("Log Already Open")).isEmpty());
        EXPECT_TRUE(waitForLockedBy(lockPath(), run->processId()));
        EXPECT_EQ(QFileInfo(lockPath()).ownerId(), 65534u);
        run->signal(SIGTERM);
        ASSERT_TRUE(run->waitForEnd());
        EXPECT_EQ(run->exitCode(), 0);
        EXPECT_FALSE(QFileInfo::exists(lockPath()));
    }
    {
        SCOPED_TRACE("a sticky folder of root's");
        ASSERT_EQ(::chown(folder.constData(), 0, 0), 0);
        ASSERT_EQ(::chmod(folder.constData(), 01777), 0);
        leaveRootsLock();
        const QStringList before = snapshot(work.path());
        auto run = drivenBy(asNobody);
        expectFolderNotLocked(*run, work.path(), before,
                              {QDir::toNativeSeparators(work.path()), workingFolderLockName(),
                               QStringLiteral("user root"), QString::fromLocal8Bit(strerror(EPERM))});
        QFile f(lockPath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), lock);
    }
}

// log.txt is a link into another folder, where its rewrites make their
// temporary files: a copy that starts removes those of killed rewrites
// there too, once it holds the lock, and those of its other files in the
// working folder; a file that only looks like one stays, and so does the
// temporary file of a file that the program never writes, in either
// folder.
TEST_F(ProgramProcess, TheTemporaryFilesOfKilledWritesBesideALinkedLogAreRemoved)
{
    QTemporaryDir other;
    const QString real = other.filePath(QStringLiteral("contest.log"));
    ASSERT_TRUE(QFile::rename(work.filePath(QStringLiteral("log.txt")), real));
    ASSERT_TRUE(QFile::link(real, work.filePath(QStringLiteral("log.txt"))));
    const QByteArray logBytes = log();
    ASSERT_TRUE(leaveKilledRewrite(work.path()));
    const QString lookAlike = QStringLiteral(".contest.log.zqtmp.abc");
    const QString foreign = QStringLiteral(".notes.odt.zqtmp.AbC123");
    for (const QString& path : {other.filePath(lookAlike), other.filePath(foreign),
                                work.filePath(foreign),
                                work.filePath(QStringLiteral(".QSOpref.txt.zqtmp.Xy12z3"))}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(hiddenFiles(other.path()).size(), 3) << hiddenFiles(other.path()).join(u'|').toStdString();

    auto next = driven();
    ASSERT_TRUE(next->waitForLine(QStringLiteral("STARTED"))) << next->lines().join(u'|').toStdString();
    EXPECT_EQ(hiddenFiles(other.path()), (QStringList{lookAlike, foreign}));
    EXPECT_EQ(hiddenFiles(work.path()), QStringList{foreign});
    EXPECT_EQ(log(), logBytes);
    EXPECT_TRUE(QFileInfo(work.filePath(QStringLiteral("log.txt"))).isSymLink());
    next->signal(SIGTERM);
    ASSERT_TRUE(next->waitForEnd());
}

// Two working folders whose log.txt lead to one file: the log is the
// folder's own file of one of them, or a file elsewhere that both link to.
// Whichever starts first, the second copy is refused with the log named,
// ends before it touches a file, and starts once the first has ended.
TEST_F(ProgramProcess, TwoWorkingFoldersWhoseLogsAreOneFileAreNeverBothOpen)
{
    QTemporaryDir second, logs;
    const QString ownLog = work.filePath(QStringLiteral("log.txt"));
    const QString elsewhere = logs.filePath(QStringLiteral("contest.log"));
    ASSERT_TRUE(QFile::copy(ownLog, elsewhere));
    struct Case {
        const char* what;
        QString firstFolder, secondFolder;
        QString log;      // the file both lead to
        QString lockFile; // the lock that the second copy finds held
        QString said;     // what its message says of the log
    };
    const Case cases[] = {
        {"the first copy's own log", work.path(), second.path(), ownLog,
         work.filePath(workingFolderLockName()),
         QStringLiteral("The log ") + QDir::toNativeSeparators(ownLog) + QStringLiteral(", which "
             "log.txt in the working folder ") + QDir::toNativeSeparators(second.path())},
        {"the second copy's own log", second.path(), work.path(), ownLog,
         work.filePath(workingFolderLockName()),
         QStringLiteral("The log in the working folder ") + QDir::toNativeSeparators(work.path())},
        {"a log elsewhere", work.path(), second.path(), elsewhere,
         logs.filePath(QStringLiteral("contest.log.zqlock")),
         QStringLiteral("The log ") + QDir::toNativeSeparators(elsewhere) + QStringLiteral(", which "
             "log.txt in the working folder ") + QDir::toNativeSeparators(second.path())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString& folder : {work.path(), second.path()}) {
            const QString link = folder + QStringLiteral("/log.txt");
            if (link != c.log) {
                QFile::remove(link);
                ASSERT_TRUE(QFile::link(c.log, link));
            }
        }
        ProgramRun first(QStringLiteral(ZQ_DRIVEN_PROGRAM), c.firstFolder, home.environment());
        ASSERT_TRUE(first.waitForLine(QStringLiteral("STARTED"))) << first.lines().join(u'|').toStdString();
        ASSERT_TRUE(waitForLockedBy(c.lockFile, first.processId()));
        const QStringList before = snapshot(c.secondFolder);

        ProgramRun refused(QStringLiteral(ZQ_DRIVEN_PROGRAM), c.secondFolder, home.environment());
        ASSERT_TRUE(refused.waitForEnd());
        EXPECT_EQ(refused.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(refused.exitCode(), 1);
        const QStringList said = refused.lines();
        ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
        EXPECT_TRUE(said[0].startsWith(QStringLiteral("MESSAGE Log Already Open: ") + c.said))
            << said[0].toStdString();
        EXPECT_TRUE(said[0].contains(QDir::toNativeSeparators(c.lockFile))) << said[0].toStdString();
        EXPECT_EQ(snapshot(c.secondFolder).join(u'|').toStdString(), before.join(u'|').toStdString());

        first.signal(SIGTERM);
        ASSERT_TRUE(first.waitForEnd());
        EXPECT_FALSE(QFileInfo::exists(c.lockFile));
        ProgramRun next(QStringLiteral(ZQ_DRIVEN_PROGRAM), c.secondFolder, home.environment());
        ASSERT_TRUE(next.waitForLine(QStringLiteral("STARTED"))) << next.lines().join(u'|').toStdString();
        EXPECT_TRUE(waitForLockedBy(c.lockFile, next.processId()));
        next.signal(SIGTERM);
        ASSERT_TRUE(next.waitForEnd());
        EXPECT_EQ(next.exitCode(), 0);
        EXPECT_FALSE(QFileInfo::exists(c.lockFile));
    }
}

// log.txt links into a folder where no lock file can be made (one of
// root's that user nobody, who runs the program, may not write; the log
// there could not be rewritten either): the start is refused with the log,
// its folder's reason and no file touched, as for a working folder that
// cannot be locked.
TEST_F(ProgramProcess, ALogInAFolderThatCannotHoldItsLockIsSaidAndNotOpened)
{
    const QStringList asNobody = asUserNobody();
    if (!drivenRunsAs(asNobody))
        GTEST_SKIP() << "no other user can be set up here";
    QTemporaryDir logs;
    ASSERT_EQ(::chmod(QFile::encodeName(logs.path()).constData(), 0755), 0);
    const QString real = logs.filePath(QStringLiteral("contest.log"));
    ASSERT_TRUE(QFile::rename(work.filePath(QStringLiteral("log.txt")), real));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0666), 0);
    ASSERT_TRUE(QFile::link(real, work.filePath(QStringLiteral("log.txt"))));
    const QByteArray homePath = QFile::encodeName(home.environment().value(QStringLiteral("HOME")));
    for (const QByteArray& d : {homePath, homePath + "/runtime", QFile::encodeName(work.path())})
        ASSERT_EQ(::chown(d.constData(), 65534, 65534), 0);
    const QStringList before = snapshot(logs.path());

    auto run = drivenBy(asNobody);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->exitCode(), 1);
    const QStringList said = run->lines();
    ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("MESSAGE Log Not Locked: The log ")
                                   + QDir::toNativeSeparators(real)))
        << said[0].toStdString();
    EXPECT_TRUE(said[0].contains(QString::fromLocal8Bit(strerror(EACCES)))) << said[0].toStdString();
    EXPECT_EQ(snapshot(logs.path()).join(u'|').toStdString(), before.join(u'|').toStdString());
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
}

TEST_F(ProgramProcess, EndSignalsWhileCwIsKeyedLeaveTheKeyUpAndThePortReleased)
{
    struct Case {
        int signal;
        const char* drive;
        const char* down; // the line as keyed
        const char* up;   // the line released
    };
    const Case cases[] = {
        {SIGTERM, "key-parallel", "KEY lpt 3", "KEY lpt 2"},
        {SIGTERM, "key-rts", "KEY rts 1", "KEY rts 0"},
        {SIGINT, "key-parallel", "KEY lpt 3", "KEY lpt 2"},
        {SIGHUP, "key-rts", "KEY rts 1", "KEY rts 0"},
        // From the log window's F2: the keying loop runs under its key
        // handler.
        {SIGTERM, "log-key-rts", "KEY rts 1", "KEY rts 0"},
        {SIGTERM, "log-key-parallel", "KEY lpt 3", "KEY lpt 2"},
    };
    for (const char* name : {"county2.txt"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/") + QLatin1String(name),
                                work.filePath(QLatin1String(name))));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "signal " << c.signal << ", " << c.drive);
        auto run = driven(c.drive);
        // A dah at 5 WPM holds the key down for 720 ms: the signal comes
        // while it is down.
        ASSERT_TRUE(run->waitForLine(QString::fromLatin1(c.down)))
            << run->lines().join(u'|').toStdString();
        run->signal(c.signal);
        ASSERT_TRUE(run->waitForEnd());
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
        EXPECT_EQ(run->exitCode(), 0);
        const QStringList said = run->lines();
        const QStringList keyed = said.filter(QRegularExpression(QStringLiteral("^KEY ")));
        ASSERT_FALSE(keyed.isEmpty());
        EXPECT_EQ(keyed.last().toStdString(), c.up) << said.join(u'|').toStdString();
        EXPECT_EQ(said.last().toStdString(), "RELEASED") << said.join(u'|').toStdString();
        EXPECT_FALSE(QFileInfo::exists(lockPath()));
    }
}

TEST_F(ProgramProcess, EndSignalClosesTheWinKeyerWithItsCloseBytes)
{
    test::FakeWinKeyer keyer;
    ASSERT_TRUE(keyer.ok());
    useFakeWinKeyer(keyer);

    auto run = driven("winkeyer");
    ASSERT_TRUE(run->waitForLine(QStringLiteral("WINKEYER OPEN")))
        << run->lines().join(u'|').toStdString();
    run->signal(SIGTERM);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
    EXPECT_EQ(run->exitCode(), 0);
    const QByteArray hostClose("\x00\x03", 2);
    EXPECT_TRUE(test::FakeWinKeyer::waitUntil(
        [&] { return keyer.received().endsWith(hostClose); }, kWaitMs))
        << keyer.received().toHex(' ').toStdString();
}

// An end signal while the program runs an inner loop: a question, an input
// box, a file dialog, a window shown modally, a hold for a spoken prompt
// with a contact whose "!" was keyed meanwhile.  Each ends as from the
// outermost loop: the question answered as its Cancel and nothing written
// from that answer, the held contact logged, the key line up, the lock
// gone, exit 0.
TEST_F(ProgramProcess, AnEndSignalInsideAnInnerLoopEndsInOrder)
{
    for (const char* name : {"county2.txt", "ADIFCnt.txt"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/") + QLatin1String(name),
                                work.filePath(QLatin1String(name))));
    const QString logPath = work.filePath(QStringLiteral("log.txt"));
    auto logText = [&] {
        QFile f(logPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray log = logText();
    struct Case {
        const char* drive;
        const char* show;    // the prompt shown for real
        const char* waitFor; // the line printed once the loop runs
        int signal;
    };
    const Case cases[] = {
        {"log", "Open existing log?", "SHOWING Open existing log?", SIGTERM},
        {"log-delete", "Are you sure?", "SHOWING Are you sure?", SIGHUP},
        {"log-adif", "Please enter your transmitter output power.", "SHOWING Please enter", SIGINT},
        {"log-adif", "SAVE-FILE", "SHOWING SAVE-FILE", SIGTERM},
        {"log-cw-window", "", "MODAL CWFrm", SIGTERM},
        {"log-hold", "", "KEYED", SIGHUP},
        // With voice navigation shown: a window left only through its own
        // Done does not hold the end up.
        {"log-blind-hold", "", "KEYED", SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.drive << " " << c.show);
        QProcessEnvironment env = home.environment(c.drive);
        env.insert(QStringLiteral("ZQ_SHOW"), QString::fromLatin1(c.show));
        ProgramRun run(QStringLiteral(ZQ_DRIVEN_PROGRAM), work.path(), env);
        ASSERT_TRUE(run.waitForLine(QString::fromLatin1(c.waitFor)))
            << run.lines().join(u'|').toStdString();
        run.signal(c.signal);
        ASSERT_TRUE(run.waitForEnd()) << run.lines().join(u'|').toStdString();
        const QStringList said = run.lines();
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << said.join(u'|').toStdString();
        EXPECT_EQ(run.exitCode(), 0) << said.join(u'|').toStdString();
        EXPECT_FALSE(QFileInfo::exists(lockPath()));
        if (QByteArray(c.drive).endsWith("-hold")) {
            const QStringList keyed = said.filter(QRegularExpression(QStringLiteral("^KEY ")));
            ASSERT_FALSE(keyed.isEmpty());
            EXPECT_EQ(keyed.last().toStdString(), "KEY rts 0");
            EXPECT_TRUE(said.contains(QStringLiteral("RELEASED")));
            EXPECT_TRUE(logText().startsWith(log)) << logText().toStdString();
            EXPECT_TRUE(logText().mid(log.size()).startsWith("\"K5LOW\""))
                << logText().toStdString();
            QFile::remove(logPath);
            QFile restore(logPath);
            ASSERT_TRUE(restore.open(QIODevice::WriteOnly));
            restore.write(log);
        } else {
            EXPECT_EQ(logText().toStdString(), log.toStdString()) << "written from a left question";
        }
    }
}

// The keyer has reached the "!" of "E!" and the end comes before the
// hand-over of that "!" to the log window has run: File > Exit, the end
// signal's own step, or the CW window unloaded (and then SIGTERM).  The
// contact is logged exactly once, the key line is up and released, the
// lock gone, exit 0.
TEST_F(ProgramProcess, AContactWhoseExclamationWasReachedIsLoggedOnceWhateverEndFollows)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    const QString logPath = work.filePath(QStringLiteral("log.txt"));
    const QByteArray before = log();
    struct Case {
        const char* drive;
        const char* waitFor;
        int signal; // 0: the driven program ends itself
    };
    const Case cases[] = {
        {"log-exclamation-exit", "REACHED", 0},
        {"log-exclamation-signal", "REACHED", 0},
        {"log-exclamation-cw-window", "CW WINDOW UNLOADED", SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drive);
        {
            QFile restore(logPath);
            ASSERT_TRUE(restore.open(QIODevice::WriteOnly));
            restore.write(before);
        }
        auto run = driven(c.drive);
        ASSERT_TRUE(run->waitForLine(QString::fromLatin1(c.waitFor)))
            << run->lines().join(u'|').toStdString();
        if (c.signal)
            run->signal(c.signal);
        ASSERT_TRUE(run->waitForEnd()) << run->lines().join(u'|').toStdString();
        const QStringList said = run->lines();
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << said.join(u'|').toStdString();
        EXPECT_EQ(run->exitCode(), 0) << said.join(u'|').toStdString();
        EXPECT_FALSE(QFileInfo::exists(lockPath()));
        const QByteArray after = log();
        EXPECT_TRUE(after.startsWith(before)) << after.toStdString();
        EXPECT_EQ(after.mid(before.size()).count("\"K5LOW\""), 1) << after.toStdString();
        const QStringList keyed = said.filter(QRegularExpression(QStringLiteral("^KEY ")));
        ASSERT_FALSE(keyed.isEmpty());
        EXPECT_EQ(keyed.last().toStdString(), "KEY rts 0");
        EXPECT_TRUE(said.contains(QStringLiteral("RELEASED"))) << said.join(u'|').toStdString();
    }
}

// Every end stops every transmitter before the program is gone: push-to-
// talk held by a playing message and a CW message keyed, each ended by
// File > Exit (SIGUSR1 in the driven program) and by SIGTERM.  The playback
// stops first, then the line goes up and its port is released.
TEST_F(ProgramProcess, EveryEndStopsPlaybackAndKeyingAndReleasesTheLines)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    struct Case {
        const char* drive;
        const char* waitFor; // the transmitter keyed
        bool plays;
    };
    const Case cases[] = {
        {"log-phone", "PLAYING", true},
        {"log-key-rts", "KEY rts 1", false},
    };
    for (const Case& c : cases) {
        for (int end : {SIGUSR1, SIGTERM}) {
            SCOPED_TRACE(testing::Message() << c.drive << ", signal " << end);
            auto run = driven(c.drive);
            ASSERT_TRUE(run->waitForLine(QString::fromLatin1(c.waitFor)))
                << run->lines().join(u'|').toStdString();
            run->signal(end);
            ASSERT_TRUE(run->waitForEnd()) << run->lines().join(u'|').toStdString();
            const QStringList said = run->lines();
            const std::string all = said.join(u'|').toStdString();
            EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << all;
            EXPECT_EQ(run->exitCode(), 0) << all;
            EXPECT_FALSE(QFileInfo::exists(lockPath()));
            const QStringList keyed = said.filter(QRegularExpression(QStringLiteral("^KEY ")));
            ASSERT_FALSE(keyed.isEmpty()) << all;
            EXPECT_EQ(keyed.last().toStdString(), "KEY rts 0") << all;
            const qsizetype up = said.lastIndexOf(keyed.last());
            EXPECT_GT(said.indexOf(QStringLiteral("RELEASED"), up), up) << all;
            if (c.plays) {
                const qsizetype stopped = said.indexOf(QStringLiteral("PLAYBACK STOPPED"));
                EXPECT_GE(stopped, 0) << all;
                EXPECT_LT(stopped, up) << "the line went up while the message still played: "
                                       << all;
            }
        }
    }
}

// A WinKeyer sending a long message keys on by itself from what it holds:
// File > Exit and SIGTERM clear its buffer before the host close, and
// nothing is sent after that.
TEST_F(ProgramProcess, EveryEndClearsTheWinKeyersBufferBeforeClosingIt)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    for (int end : {SIGUSR1, SIGTERM}) {
        SCOPED_TRACE(testing::Message() << "signal " << end);
        test::FakeWinKeyer keyer;
        ASSERT_TRUE(keyer.ok());
        useFakeWinKeyer(keyer);

        auto run = driven("log-winkeyer");
        ASSERT_TRUE(run->waitForLine(QStringLiteral("WINKEYER OPEN")))
            << run->lines().join(u'|').toStdString();
        // Some of the message has gone to the keyer.
        ASSERT_TRUE(test::FakeWinKeyer::waitUntil(
            [&] { return keyer.received().count("TE") >= 1; }, kWaitMs))
            << keyer.received().toHex(' ').toStdString();
        run->signal(end);
        ASSERT_TRUE(run->waitForEnd()) << run->lines().join(u'|').toStdString();
        EXPECT_EQ(run->exitCode(), 0);
        const QByteArray clearThenClose("\x0A\x00\x03", 3);
        EXPECT_TRUE(test::FakeWinKeyer::waitUntil(
            [&] { return keyer.received().endsWith(clearThenClose); }, kWaitMs))
            << keyer.received().toHex(' ').toStdString();
    }
}

// Once the end is asked for, no window can refuse it: with a tool window
// that is left only through its own Done shown modelessly, or code practice
// sending, File > Exit and each end signal end the program with exit 0, the
// lock gone and the operating time saved in QSOpref.txt (the operator is
// logged on).
TEST_F(ProgramProcess, ExitAndEndSignalsEndTheProgramWhateverToolWindowIsShown)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    const QString prefs = work.filePath(QStringLiteral("QSOpref.txt"));
    struct Tool {
        const char* drive;
        const char* waitFor; // printed once the window shows (or keys)
    };
    const Tool tools[] = {
        {"log-tool-rig", "SHOWN RigControlfrm"},   {"log-tool-blind", "SHOWN BlindFrm"},
        {"log-tool-cw", "SHOWN CWFrm"},            {"log-tool-phone", "SHOWN PhoneFrm"},
        {"log-practice", "KEY rts 1"},
    };
    // SIGUSR1 makes the driven program choose File > Exit.
    for (const Tool& t : tools) {
        for (int end : {SIGUSR1, SIGTERM, SIGHUP, SIGINT}) {
            SCOPED_TRACE(testing::Message() << t.drive << ", signal " << end);
            QFile::remove(prefs);
            auto run = driven(t.drive);
            ASSERT_TRUE(run->waitForLine(QString::fromLatin1(t.waitFor)))
                << run->lines().join(u'|').toStdString();
            ASSERT_FALSE(QFileInfo::exists(prefs)) << "saved before the end";
            run->signal(end);
            ASSERT_TRUE(run->waitForEnd()) << "still running: " << run->lines().join(u'|').toStdString();
            const QStringList said = run->lines();
            EXPECT_EQ(run->exitStatus(), QProcess::NormalExit) << said.join(u'|').toStdString();
            EXPECT_EQ(run->exitCode(), 0) << said.join(u'|').toStdString();
            EXPECT_FALSE(QFileInfo::exists(lockPath()));
            EXPECT_TRUE(QFileInfo::exists(prefs)) << "the operating time was not saved";
            const QStringList keyed = said.filter(QRegularExpression(QStringLiteral("^KEY ")));
            if (!keyed.isEmpty())
                EXPECT_EQ(keyed.last().toStdString(), "KEY rts 0") << said.join(u'|').toStdString();
        }
    }
}

// County Change left by the end, with or without the rovers' window over
// it: the county typed there is not stored, so QSOpref.txt keeps the own
// county the operator confirmed.  File > Exit and an end signal alike.
TEST_F(ProgramProcess, AnOwnCountyTypedButNotConfirmedIsNotStoredByTheEnd)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    const QString prefs = work.filePath(QStringLiteral("QSOpref.txt"));
    struct Case {
        const char* drive;
        const char* waitFor;
    };
    const Case cases[] = {
        {"in-county-change", "SHOWN frmCountyChange"},
        {"in-county-change-rover", "SHOWN frmCountyChangeRover"},
    };
    for (const Case& c : cases) {
        for (int end : {SIGUSR1, SIGTERM}) {
            SCOPED_TRACE(testing::Message() << c.drive << ", signal " << end);
            QFile::remove(prefs);
            auto run = driven(c.drive);
            ASSERT_TRUE(run->waitForLine(QString::fromLatin1(c.waitFor)))
                << run->lines().join(u'|').toStdString();
            run->signal(end);
            ASSERT_TRUE(run->waitForEnd()) << run->lines().join(u'|').toStdString();
            EXPECT_EQ(run->exitCode(), 0);
            QFile f(prefs);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "the preferences were not saved";
            const QByteArray saved = f.readAll();
            EXPECT_TRUE(saved.contains("\"Ashcombe\"")) << saved.toStdString();
            EXPECT_FALSE(saved.contains("Alderbrook")) << saved.toStdString();
        }
    }
}

// The per-user settings file is a pipe (made by another program): the CW
// window, whose load reads the settings, opens and shows; the operator is
// told once, the pipe is left as it was, and SIGTERM ends the program.
TEST_F(ProgramProcess, ASettingsFileThatIsAPipeIsSaidOnceAndHoldsNothing)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/county2.txt"),
                            work.filePath(QStringLiteral("county2.txt"))));
    const QString folder =
        home.environment().value(QStringLiteral("XDG_CONFIG_HOME")) + QStringLiteral("/Brelvox_Software");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString settings = folder + QStringLiteral("/Carvonia.conf");
    test::WatchedFifo pipe(settings);
    ASSERT_TRUE(pipe.ok());

    auto run = driven("log-tool-cw");
    ASSERT_TRUE(run->waitForLine(QStringLiteral("SHOWN CWFrm"))) << run->lines().join(u'|').toStdString();
    EXPECT_FALSE(pipe.readerWasReleased()) << "the program waited on the pipe";
    run->signal(SIGTERM);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run->exitCode(), 0);
    const QStringList said = run->lines().filter(QStringLiteral("MESSAGE Settings Not Used: "));
    ASSERT_EQ(said.size(), 1) << run->lines().join(u'|').toStdString();
    EXPECT_TRUE(said[0].contains(QDir::toNativeSeparators(settings) + QStringLiteral(" is not a regular file")))
        << said[0].toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(settings).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// The lock itself, in this process: a held lock refuses a second taker
// with the message, and a lock file that names no process (its copy died
// before writing it) is taken over once it is old or dated in the future,
// but not while it may be a start in progress.
TEST(WorkingFolderLock, HeldLockRefusesAndAnOldLockThatNamesNoProcessIsTakenOver)
{
    test::TestEnv env;
    const QString folder = env.workDir();
    const QString path = env.workPath(workingFolderLockName());
    {
        QLockFile first(path);
        ASSERT_TRUE(lockWorkingFolder(first, folder));
        QLockFile second(path);
        EXPECT_FALSE(lockWorkingFolder(second, folder));
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Log Already Open")});
        EXPECT_TRUE(env.prompt().messageTexts().value(0).contains(folder));
    }
    EXPECT_FALSE(QFileInfo::exists(path));

    struct Case {
        int ageSeconds;
        bool taken;
    };
    // Just made (a start in progress), old, and dated in the future.
    for (const Case c : {Case{0, false}, Case{300, true}, Case{-3600, true}}) {
        SCOPED_TRACE(c.ageSeconds);
        env.prompt().clear();
        QFile empty(path);
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
        ASSERT_TRUE(empty.setFileTime(QDateTime::currentDateTime().addSecs(-c.ageSeconds),
                                      QFileDevice::FileModificationTime));
        empty.close();
        QLockFile lock(path);
        EXPECT_EQ(lockWorkingFolder(lock, folder), c.taken);
        EXPECT_EQ(env.prompt().messageTitles().size(), c.taken ? 0 : 1);
        lock.unlock();
        QFile::remove(path);
    }
}

// A lock file that is a pipe (made by another program): the start is
// refused with the reason, without waiting on the pipe.
TEST(WorkingFolderLock, ALockFileThatIsAPipeIsRefusedUnread)
{
    test::TestEnv env;
    const QString path = env.workPath(workingFolderLockName());
    test::WatchedFifo pipe(path);
    ASSERT_TRUE(pipe.ok());
    QLockFile lock(path);
    EXPECT_FALSE(lockWorkingFolder(lock, env.workDir()));
    EXPECT_FALSE(pipe.readerWasReleased()) << "the lock waited on the pipe";
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Working Folder Not Locked")});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains(
        QDir::toNativeSeparators(path) + QStringLiteral(" is not a regular file")))
        << env.prompt().messageTexts().value(0).toStdString();
}

// A lock held by a copy that runs, in another user's name or on another
// host: "Log Already Open" says which lock file, whose it is, and which
// process on which host it names.  The live copy of this host is this
// test's own process; the file is user nobody's where the test may give
// it away, its own user's otherwise.
TEST(WorkingFolderLock, ALiveCopysLockIsSaidWithItsFileOwnerAndHost)
{
    test::TestEnv env;
    const QString path = env.workPath(workingFolderLockName());
    const QString app = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    struct Case {
        const char* what;
        QString host;
    };
    const Case cases[] = {{"this host", QSysInfo::machineHostName()},
                          {"another host", QStringLiteral("shack-pc.example.org")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        env.prompt().clear();
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::number(qint64(::getpid())) + '\n' + app.toUtf8() + '\n'
                    + c.host.toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n'
                    + QSysInfo::bootUniqueId() + '\n');
        }
        if (::geteuid() == 0)
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        const passwd* owner = ::getpwuid(QFileInfo(path).ownerId());
        ASSERT_NE(owner, nullptr);

        QLockFile lock(path);
        EXPECT_FALSE(lockWorkingFolder(lock, env.workDir()));
        ASSERT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Log Already Open")});
        const QString text = env.prompt().messageTexts().value(0);
        for (const QString& named :
             {QStringLiteral("open in another copy"),
              QStringLiteral("Its lock file %1, of user %2, names process %3 (%4) on host %5.")
                  .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(owner->pw_name))
                  .arg(::getpid())
                  .arg(app, c.host)})
            EXPECT_TRUE(text.contains(named)) << named.toStdString() << "\n" << text.toStdString();
        ASSERT_TRUE(QFile::remove(path));
    }
}

// A link named as the lock file, one that leads nowhere: no copy makes
// one, so it is no running copy's lock; the start is refused with the file
// and where it leads, the link is left as it is, and no copy is said to
// have the log open.
TEST(WorkingFolderLock, ALinkNamedAsTheLockIsRefusedAsNoLock)
{
    test::TestEnv env;
    const QString path = env.workPath(workingFolderLockName());
    const QString nowhere = env.workPath(QStringLiteral("gone.lock"));
    ASSERT_TRUE(QFile::link(nowhere, path));
    QLockFile lock(path);
    EXPECT_FALSE(lockWorkingFolder(lock, env.workDir()));
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Working Folder Not Locked")});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains(
        QDir::toNativeSeparators(path) + QStringLiteral(" is not a regular file: it is a link to ")
        + QDir::toNativeSeparators(nowhere)))
        << env.prompt().messageTexts().value(0).toStdString();
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), nowhere);
}
