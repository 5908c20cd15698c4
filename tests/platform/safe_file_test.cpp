// Whole-file writes on a really full disk: the write fails, says so, and
// the old file stays as it was with no temporary file left beside it.
// Small files matter most: a writer that buffers them reaches the disk
// only when it is committed.

#include "platform/SafeFile.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>

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

TEST(SafeFile, ReplacingKeepsTheModeAndFollowsALink)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.txt");
    ASSERT_TRUE(writeFileAtomically(real, "one"));
    ASSERT_TRUE(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::link(real, dir.filePath("link.txt")));
    ASSERT_TRUE(writeFileAtomically(dir.filePath("link.txt"), "two"));
    EXPECT_EQ(readFile(real), "two");
    EXPECT_TRUE(QFileInfo(dir.filePath("link.txt")).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}
