// Whole-file writes on a really full disk: the write fails, says so, and
// the old file stays as it was with no temporary file left beside it.
// Small files matter most: a writer that buffers them reaches the disk
// only when it is committed.
// Every write (whole-file, copy, append) reaches the real file at the end
// of a chain of links, refuses alike a target it may not write, keeps the
// replaced file's mode, owner and group, writes names up to the folder's
// limit, and the temporary files of killed writes are cleaned up.

#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "support/FullDisk.h"
#include "support/WatchedFifo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zq;
using namespace zq::test;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes an old log.txt of 6000 bytes in `folder` (more than a page and
// than the file size limit, so that a copy of it cannot fit either), makes
// the disk full with `makeFull` (what it returns keeps it full; nullptr:
// it cannot, nothing is tried), then replaces the log with `size` bytes
// and copies it.  Returns "" when both failed with a reason and left the
// old file as it was and no other file, else what went wrong.  No test
// assertions: it also runs in a child process.
std::string replaceOnAFullDisk(const QString& folder, qsizetype size,
                               const std::function<std::shared_ptr<void>()>& makeFull,
                               bool* tried)
{
    const QByteArray old(6000, 'o');
    const QString log = folder + QStringLiteral("/log.txt");
    const QString copy = folder + QStringLiteral("/copy.log");
    if (!writeFileAtomically(log, old))
        return "the old file could not be written";
    std::shared_ptr<void> full = makeFull();
    *tried = full != nullptr;
    if (!full)
        return {};
    std::string failed;
    auto check = [&failed](bool held, const char* what) {
        if (!held)
            failed += std::string(what) + "; ";
    };
    QString error;
    check(!writeFileAtomically(log, QByteArray(size, 'n'), &error), "the write reported success");
    check(!error.isEmpty(), "the failed write gave no reason");
    error.clear();
    check(!copyFileAtomically(log, copy, &error), "the copy reported success");
    check(!error.isEmpty(), "the failed copy gave no reason");
    full.reset();
    check(readFile(log) == old, "the old file changed");
    check(!QFile::exists(copy), "a copy was left");
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(QStringLiteral("filler"));
    check(left == QStringList{QStringLiteral("log.txt")}, "another file was left");
    return failed;
}

} // namespace

// Under and over the 16 KiB that Qt's save file keeps in its buffer, on a
// file size limit in this process and on a small tmpfs (full, or with one
// page free) in a child process of its own.
TEST(SafeFileFullDisk, FailedWritesAreReportedAndKeepTheOldFile)
{
    const qsizetype sizes[] = {5000, 12 * 1024, 40 * 1024};
    int ran = 0;
    for (qsizetype size : sizes) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        QTemporaryDir plain;
        bool tried = false;
        const std::string limited = replaceOnAFullDisk(
            plain.path(), size,
            []() -> std::shared_ptr<void> {
                auto limit = std::make_shared<FileSizeLimit>(1024);
                return limit->active() ? limit : nullptr;
            },
            &tried);
        EXPECT_EQ(limited, "") << "file size limit of 1 KiB";
        ran += tried;

        for (qint64 leaveFree : {qint64(0), qint64(4096)}) {
            const auto onTmpfs = inSmallTmpfs(64, [&](const QString& folder) {
                bool filled = false;
                std::string failed = replaceOnAFullDisk(
                    folder, size,
                    [&] {
                        fillDisk(folder, leaveFree);
                        return std::make_shared<int>(0);
                    },
                    &filled);
                return failed;
            });
            if (!onTmpfs)
                continue;
            ++ran;
            EXPECT_EQ(*onTmpfs, "") << "tmpfs with " << leaveFree << " bytes left free";
        }
    }
    if (ran == 0)
        GTEST_SKIP() << "neither a file size limit nor a small tmpfs can be set up here";
}

namespace {

struct stat statOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
}

void makeLink(const QString& target, const QString& link)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()),
              0)
        << link.toStdString();
}

// Every entry of a folder, hidden ones, links and pipes included.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                      | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The three writes of the layer, each asked to put `data` at `path`: a
// whole-file write, a copy of a file holding `data`, and an append.
struct Writer {
    const char* what;
    std::function<bool(const QString& path, const QByteArray& data, QString* error)> write;
    bool appends;
};

std::vector<Writer> writers(const QString& scratch)
{
    return {
        {"whole-file write",
         [](const QString& p, const QByteArray& d, QString* e) { return writeFileAtomically(p, d, e); },
         false},
        {"copy",
         [scratch](const QString& p, const QByteArray& d, QString* e) {
             const QString source = scratch + QStringLiteral("/source");
             writeFile(source, d);
             return copyFileAtomically(source, p, e);
         },
         false},
        {"append",
         [](const QString& p, const QByteArray& d, QString* e) { return appendAndSync(p, d, e); },
         true},
    };
}

// Runs `body` in a child process under user and group `id`; its text ("":
// all held) comes back.  nullopt when the process cannot change its user
// (not root).
std::optional<std::string> asUser(uid_t id, const std::function<std::string()>& body)
{
    if (::geteuid() != 0)
        return std::nullopt;
    return inChildProcess(
        [id] { return ::setgroups(0, nullptr) == 0 && ::setgid(id) == 0 && ::setuid(id) == 0; },
        body);
}

} // namespace

// A replaced file keeps its mode, and its owner and group (root may set
// both; the test runs a file of user 65534 when it can), through a link.
TEST(SafeFile, ReplacingKeepsTheModeOwnerAndGroupAndFollowsALink)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.txt");
    ASSERT_TRUE(writeFileAtomically(real, "one"));
    ASSERT_TRUE(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner));
    const bool otherOwner = ::geteuid() == 0
        && ::chown(QFile::encodeName(real).constData(), 65534, 65534) == 0;
    ASSERT_TRUE(QFile::link(real, dir.filePath("link.txt")));
    for (const Writer& w : writers(dir.path())) {
        SCOPED_TRACE(w.what);
        QString error;
        ASSERT_TRUE(w.write(dir.filePath("link.txt"), "two", &error)) << error.toStdString();
        EXPECT_TRUE(readFile(real).endsWith("two"));
        EXPECT_TRUE(QFileInfo(dir.filePath("link.txt")).isSymLink());
        const struct stat st = statOf(real);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        if (otherOwner) {
            EXPECT_EQ(st.st_uid, 65534u);
            EXPECT_EQ(st.st_gid, 65534u);
        }
    }
}

// log.txt -> b.txt -> (absolute) a.txt -> ../real/log.txt: each relative
// link is read from its own folder, the real log takes the write, and
// every link stays a link, also when the real log does not exist yet.
TEST(SafeFile, EveryWriteFollowsAWholeChainOfLinksToTheRealFile)
{
    for (bool realExists : {true, false}) {
        QTemporaryDir scratch;
        for (const Writer& w : writers(scratch.path())) {
            SCOPED_TRACE(testing::Message() << w.what << (realExists ? "" : ", no real log yet"));
            QTemporaryDir dir;
            ASSERT_TRUE(QDir(dir.path()).mkpath("work/sub") && QDir(dir.path()).mkpath("real"));
            const QString work = dir.filePath("work");
            const QString real = dir.filePath("real/log.txt");
            if (realExists)
                writeFile(real, "old\r\n");
            makeLink("../real/log.txt", work + "/a.txt");
            makeLink(work + "/sub/../a.txt", work + "/b.txt");
            makeLink("b.txt", work + "/log.txt");

            QString error;
            ASSERT_TRUE(w.write(work + "/log.txt", "new\r\n", &error)) << error.toStdString();
            EXPECT_EQ(readFile(real),
                      QByteArray(realExists && w.appends ? "old\r\nnew\r\n" : "new\r\n"));
            for (const char* link : {"log.txt", "b.txt", "a.txt"})
                EXPECT_TRUE(S_ISLNK(statOf(work + "/" + link).st_mode)) << link;
            EXPECT_EQ(entries(work), QStringList({"a.txt", "b.txt", "log.txt", "sub"}));
            EXPECT_EQ(entries(dir.filePath("real")), QStringList{"log.txt"});
        }
    }
}

// A target that may not be written is refused by every write alike, with
// the reason, and nothing changes: a read-only file (no write bit, which
// binds root too), the same through a link, a folder, a pipe, a loop of
// links.
TEST(SafeFile, EveryWriteRefusesATargetItMayNotWriteWithTheReason)
{
    struct Case {
        const char* what;
        // Makes folder/log.txt; what it returns is held while the case runs.
        std::function<std::shared_ptr<void>(const QString& folder)> make;
        QString reason;
    };
    const QString readOnly = QString::fromLocal8Bit(strerror(EACCES));
    const Case cases[] = {
        {"a read-only file",
         [](const QString& f) -> std::shared_ptr<void> {
             writeFile(f + "/log.txt", "old\r\n");
             QFile::setPermissions(f + "/log.txt", QFile::ReadOwner | QFile::ReadGroup
                                                       | QFile::ReadOther);
             return nullptr;
         },
         readOnly},
        {"a read-only file through a link",
         [](const QString& f) -> std::shared_ptr<void> {
             writeFile(f + "/real.txt", "old\r\n");
             QFile::setPermissions(f + "/real.txt", QFile::ReadOwner);
             makeLink("real.txt", f + "/log.txt");
             return nullptr;
         },
         readOnly},
        {"a folder",
         [](const QString& f) -> std::shared_ptr<void> {
             QDir(f).mkdir("log.txt");
             return nullptr;
         },
         QString::fromLocal8Bit(strerror(EISDIR))},
        {"a pipe",
         [](const QString& f) -> std::shared_ptr<void> {
             // With a reader on it, an open for writing does not wait.
             const QByteArray name = QFile::encodeName(f + "/log.txt");
             EXPECT_EQ(::mkfifo(name.constData(), 0644), 0);
             const int reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
             EXPECT_GE(reader, 0);
             return std::shared_ptr<void>(nullptr, [reader](void*) { ::close(reader); });
         },
         QStringLiteral("Not a regular file")},
        {"a loop of links",
         [](const QString& f) -> std::shared_ptr<void> {
             makeLink("a.txt", f + "/log.txt");
             makeLink("log.txt", f + "/a.txt");
             return nullptr;
         },
         QString::fromLocal8Bit(strerror(ELOOP))},
    };
    QTemporaryDir scratch;
    for (const Case& c : cases) {
        for (const Writer& w : writers(scratch.path())) {
            SCOPED_TRACE(testing::Message() << c.what << ", " << w.what);
            QTemporaryDir dir;
            const std::shared_ptr<void> held = c.make(dir.path());
            const QStringList before = entries(dir.path());
            const QByteArray oldBytes = readFile(dir.filePath("real.txt"));
            QString error;
            EXPECT_FALSE(w.write(dir.filePath("log.txt"), "new\r\n", &error));
            EXPECT_EQ(error, c.reason);
            EXPECT_EQ(entries(dir.path()), before);
            EXPECT_EQ(readFile(dir.filePath("real.txt")), oldBytes);
            if (QFileInfo(dir.filePath("log.txt")).isFile())
                EXPECT_EQ(readFile(dir.filePath("log.txt")), "old\r\n");
        }
    }
}

// Every reader of a file that can be replaced (the whole-file read, the
// copy's source) takes a regular file, through a link too, and refuses a
// pipe, a folder or a device before anything could wait on it, with the
// reason the writes give.  A pipe nobody writes would hold a reader that
// opens it for good: its watchdog releases such a reader and says so.
TEST(SafeFile, EveryReaderRefusesWhatIsNotARegularFileBeforeItCouldWait)
{
    struct Reader {
        const char* what;
        std::function<std::optional<QByteArray>(const QString& path, QString* error)> read;
    };
    QTemporaryDir scratch;
    const Reader readers[] = {
        {"the whole-file read",
         [](const QString& path, QString* error) { return readWholeFile(path, error); }},
        {"the copy",
         [&](const QString& path, QString* error) -> std::optional<QByteArray> {
             const QString copy = scratch.filePath("copy.log");
             QFile::remove(copy);
             if (!copyFileAtomically(path, copy, error))
                 return std::nullopt;
             return readFile(copy);
         }},
    };
    struct Case {
        const char* what;
        // Makes the file to read in `folder` and returns its path.
        std::function<QString(const QString& folder)> make;
        std::optional<QByteArray> content; // nullopt: refused with `reason`
        QString reason;
    };
    const QString notRegular = QStringLiteral("Not a regular file");
    std::unique_ptr<WatchedFifo> fifo;
    const Case cases[] = {
        {"a regular file",
         [](const QString& f) {
             writeFile(f + "/log.txt", "old\r\n");
             return f + "/log.txt";
         },
         QByteArray("old\r\n"), {}},
        {"a link to a regular file",
         [](const QString& f) {
             writeFile(f + "/real.txt", "old\r\n");
             makeLink("real.txt", f + "/log.txt");
             return f + "/log.txt";
         },
         QByteArray("old\r\n"), {}},
        {"a pipe",
         [&](const QString& f) {
             fifo = std::make_unique<WatchedFifo>(f + "/log.txt");
             EXPECT_TRUE(fifo->ok());
             return f + "/log.txt";
         },
         std::nullopt, notRegular},
        {"a link to a pipe",
         [&](const QString& f) {
             fifo = std::make_unique<WatchedFifo>(f + "/pipe");
             EXPECT_TRUE(fifo->ok());
             makeLink("pipe", f + "/log.txt");
             return f + "/log.txt";
         },
         std::nullopt, notRegular},
        {"a folder",
         [](const QString& f) {
             QDir(f).mkdir("log.txt");
             return f + "/log.txt";
         },
         std::nullopt, QString::fromLocal8Bit(strerror(EISDIR))},
        {"a device", [](const QString&) { return QStringLiteral("/dev/null"); }, std::nullopt,
         notRegular},
        {"a missing file", [](const QString& f) { return f + "/log.txt"; }, std::nullopt,
         QString::fromLocal8Bit(strerror(ENOENT))},
    };
    for (const Case& c : cases) {
        for (const Reader& r : readers) {
            SCOPED_TRACE(testing::Message() << c.what << ", " << r.what);
            QTemporaryDir dir;
            fifo.reset();
            const QString path = c.make(dir.path());
            QString error;
            EXPECT_EQ(r.read(path, &error), c.content);
            EXPECT_EQ(error, c.reason);
            if (fifo)
                EXPECT_FALSE(fifo->readerWasReleased()) << "the reader waited on the pipe";
            fifo.reset();
        }
    }
}

// A user who may not write a file (root's, mode 0644, in a folder anyone
// may write) is refused by the whole-file write and the copy as by the
// append, though the folder would let a rename replace it.
TEST(SafeFile, AnotherUsersFileIsRefusedByEveryWrite)
{
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString log = dir.filePath("log.txt");
    writeFile(log, "old\r\n");
    const auto failed = asUser(65534, [&] {
        std::string out;
        QTemporaryDir scratch(dir.filePath("scratchXXXXXX"));
        for (const Writer& w : writers(scratch.path())) {
            QString error;
            if (w.write(log, "new\r\n", &error))
                out += std::string(w.what) + " wrote; ";
            else if (error != QString::fromLocal8Bit(strerror(EACCES)))
                out += std::string(w.what) + ": " + error.toStdString() + "; ";
        }
        return out;
    });
    if (!failed)
        GTEST_SKIP() << "needs root to run as another user";
    EXPECT_EQ(*failed, "");
    EXPECT_EQ(readFile(log), "old\r\n");
    EXPECT_EQ(statOf(log).st_uid, 0u);
}

// Every name the folder allows is written, however near its limit (255
// bytes on the usual file systems): the temporary name beside it stays
// within the limit and ends on a whole UTF-8 character.  One byte more is
// refused with the reason and leaves nothing.
TEST(SafeFile, NamesUpToTheFoldersLimitAreWritten)
{
    QTemporaryDir dir;
    QTemporaryDir scratch;
    const long limit = ::pathconf(QFile::encodeName(dir.path()).constData(), _PC_NAME_MAX);
    ASSERT_GT(limit, 16);
    std::vector<QByteArray> names;
    for (long n = limit - 8; n <= limit; ++n)
        names.push_back(QByteArray(n - 4, 'a') + ".adi");
    const QByteArray twoBytes = QStringLiteral("\u00e9").toUtf8();
    const QByteArray threeBytes = QStringLiteral("\u20ac").toUtf8();
    names.push_back(twoBytes.repeated(limit / 2));   // cut inside a character when odd
    names.push_back(threeBytes.repeated(limit / 3)); // and when not
    QStringList temporaryNames;
    setWriteFaultForTesting([&](const QString&) {
        for (const QString& e : entries(dir.path()))
            if (e.startsWith('.'))
                temporaryNames << e;
        return false;
    });
    for (const Writer& w : writers(scratch.path())) {
        for (const QByteArray& name : names) {
            SCOPED_TRACE(testing::Message() << w.what << ", " << name.size() << " bytes");
            const QString path = dir.path() + '/' + QFile::decodeName(name);
            QString error;
            EXPECT_TRUE(w.write(path, "x", &error)) << error.toStdString();
            EXPECT_TRUE(readFile(path).endsWith("x"));
            EXPECT_TRUE(QFile::remove(path));
            EXPECT_TRUE(entries(dir.path()).isEmpty());
        }
    }
    setWriteFaultForTesting(nullptr);
    ASSERT_FALSE(temporaryNames.isEmpty());
    for (const QString& t : temporaryNames) {
        const QByteArray bytes = QFile::encodeName(t);
        EXPECT_LE(bytes.size(), limit) << t.toStdString();
        EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes) << "not whole UTF-8: " << t.toStdString();
    }

    const QString tooLong = dir.path() + '/' + QString(int(limit) + 1, 'a');
    for (const Writer& w : writers(scratch.path())) {
        SCOPED_TRACE(w.what);
        QString error;
        EXPECT_FALSE(w.write(tooLong, "x", &error));
        EXPECT_EQ(error, QString::fromLocal8Bit(strerror(ENAMETOOLONG)));
        EXPECT_TRUE(entries(dir.path()).isEmpty());
    }
}

// Writes killed before their rename leave temporary files; the clean-up
// of the files it is given removes those and nothing else: not the file of
// a write under way, not a file, folder or link of another shape or kind,
// not the temporary file of another file.
TEST(SafeFile, TemporaryFilesOfKilledWritesAreRemoved)
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString log = dir.filePath("log.txt");
    writeFile(log, "old\r\n");
    const QString longName = dir.path() + '/' + QString(250, 'n') + ".adi";
    // Each killed as its temporary file is written: an existing log, a new
    // export, a name at the length limit.
    for (const QString& target : {log, dir.filePath("new.adi"), longName}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setWriteFaultForTesting([](const QString&) -> bool { ::_exit(0); });
            writeFileAtomically(target, "new\r\n");
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    QStringList stale = entries(dir.path());
    stale.removeOne("log.txt");
    ASSERT_EQ(stale.size(), 3) << stale.join(' ').toStdString();

    // Shapes and kinds that are not the layer's leftovers.
    const QStringList kept = {".notes.backup", ".log.txt.Ab12Cd", "x.zqtmp.Ab12Cd",
                              ".x.zqtmp.Ab12C", ".x.zqtmp.Ab12C!", ".notes.odt.zqtmp.AbC123",
                              ".folder.zqtmp.Ab12Cd", ".link.zqtmp.Ab12Cd"};
    for (const QString& name : kept.mid(0, 6))
        writeFile(dir.filePath(name), "keep");
    ASSERT_TRUE(QDir(dir.path()).mkdir(kept[6]));
    writeFile(elsewhere.filePath("target"), "keep");
    makeLink(elsewhere.filePath("target"), dir.filePath(kept[7]));
    // The files whose temporary files go; notes.odt is not one of them.
    const QStringList names = {"log.txt", "new.adi", QFileInfo(longName).fileName(),
                               "x", "folder", "link"};

    // The clean-up runs while a write of log.txt is under way: that write
    // goes on to its end.
    int removed = -1;
    setWriteFaultForTesting([&](const QString&) {
        removed = removeStaleTemporaryFiles(dir.path(), names);
        return false;
    });
    EXPECT_TRUE(writeFileAtomically(log, "newer\r\n"));
    setWriteFaultForTesting(nullptr);
    EXPECT_EQ(removed, 3);
    EXPECT_EQ(readFile(log), "newer\r\n");
    QStringList expected = kept;
    expected << "log.txt";
    expected.sort();
    EXPECT_EQ(entries(dir.path()), expected);
    EXPECT_EQ(readFile(elsewhere.filePath("target")), "keep");
    EXPECT_EQ(removeStaleTemporaryFiles(dir.path(), names), 0);
}
