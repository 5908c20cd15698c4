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

#include <memory>
#include <sys/stat.h>

using namespace zq;
using namespace zq::test;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray bytes(qsizetype n, char c)
{
    return QByteArray(n, c);
}

} // namespace

TEST(SafeFileFullDisk, FailedWritesAreReportedAndKeepTheOldFile)
{
    // What the old file holds: more than one page and than the size limit,
    // so copying it cannot fit either.
    const QByteArray old = bytes(6000, 'o');
    struct Disk {
        const char* name;
        bool tmpfs;
        qint64 leaveFree; // tmpfs: bytes left free once it is filled
    };
    const Disk disks[] = {
        {"file size limit of 1 KiB", false, 0},
        {"full tmpfs", true, 0},
        {"tmpfs with one free page", true, 4096},
    };
    // Under and over the 16 KiB that Qt's save file keeps in its buffer.
    const qsizetype sizes[] = {5000, 12 * 1024, 40 * 1024};
    int ran = 0;
    for (const Disk& d : disks) {
        for (qsizetype size : sizes) {
            SCOPED_TRACE(testing::Message() << d.name << ", " << size << " bytes");
            QTemporaryDir plain;
            std::unique_ptr<SmallDisk> disk;
            if (d.tmpfs) {
                disk = std::make_unique<SmallDisk>(64);
                if (!disk->active())
                    continue;
            }
            const QString folder = disk ? disk->path() : plain.path();
            const QString log = folder + QStringLiteral("/log.txt");
            const QString copy = folder + QStringLiteral("/copy.log");
            ASSERT_TRUE(writeFileAtomically(log, old));
            std::unique_ptr<FileSizeLimit> limit;
            if (disk) {
                disk->fill(d.leaveFree);
            } else {
                limit = std::make_unique<FileSizeLimit>(1024);
                if (!limit->active())
                    continue;
            }
            ++ran;

            QString error;
            EXPECT_FALSE(writeFileAtomically(log, bytes(size, 'n'), &error));
            EXPECT_FALSE(error.isEmpty());
            error.clear();
            EXPECT_FALSE(copyFileAtomically(log, copy, &error));
            EXPECT_FALSE(error.isEmpty());
            limit.reset();
            const QByteArray now = readFile(log);
            EXPECT_TRUE(now == old) << "log.txt now holds " << now.size() << " bytes";
            EXPECT_FALSE(QFile::exists(copy));
            QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
            left.removeAll(QStringLiteral("filler"));
            EXPECT_EQ(left, QStringList{QStringLiteral("log.txt")}) << "no temporary file left";
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
