// Archive and restore of log.txt through the log window's file dialog.

#include "platform/Folders.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "logstore/ArchiveRestore.h"
#include "common/CommonDialog.h"
#include "platform/SafeFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

// Spare fields, a non-integral field 16, a last line without its line end:
// a byte copy must keep all of it.
const QByteArray kArchived =
    "\"W1AW\",\"59\",\"59\",\"\",\"Alderbrook\",\"x6\",\"\",\"\",\"\",\"\",\"\",\"2026/09/12\","
    "\"18:00:00\",\"PH\",\"20\",1.25,\"\",\"\",\"r19\",\"14.250\"\r\n"
    "\"K2AB\",\"599\",\"599\",\"\",\"Ashcombe\",\"\",\"\",\"\",\"\",\"\",\"\",\"2026/09/12\","
    "\"18:01:00\",\"CW\",\"40\",0,\"\",\"\",\"\",\"\"";
const QByteArray kCurrent =
    "\"N3CD\",\"59\",\"59\",\"\",\"Alderbrook\",\"\",\"\",\"\",\"\",\"\",\"\",\"2026/09/12\","
    "\"18:05:00\",\"PH\",\"20\",0,\"\",\"\",\"\",\"\"\r\n";

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class ArchiveRestoreTest : public ::testing::Test {
protected:
    TestEnv env;
    CommonDialog dialog;

    QString backupDir() const { return Folders::instance().UserDirectory + QStringLiteral("/BACKUP"); }
    QStringList backups() const { return QDir(backupDir()).entryList(QDir::Files); }
};

} // namespace

TEST_F(ArchiveRestoreTest, ArchiveProposesTheCallAndDateNameAndCopiesTheBytes)
{
    env.writeWorkFile(QStringLiteral("log.txt"), kArchived);
    struct Case {
        const char* call;
        const char* stem;
    };
    for (const Case& c : {Case{"N0CALL/M", "N0CALL"}, Case{"n0call", "YourCall"}, Case{"", "YourCall"}}) {
        env.prompt().clear();
        StationSettings::instance().OwnCall = QString::fromLatin1(c.call);
        const QString target = backupDir() + QLatin1Char('/') + QString::fromLatin1(c.stem)
            + QStringLiteral("-archive.log");
        env.prompt().answerFile(target);
        EXPECT_EQ(ArchiveCurrentLog(dialog), LogFileCommandResult::Done) << c.call;

        // Local date of the fake clock: 2026-09-12.
        const auto saves = env.prompt().callsOf(ScriptedPrompt::Kind::SaveFile);
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0].text, backupDir() + QLatin1Char('/') + QString::fromLatin1(c.stem)
                                     + QStringLiteral("2026-09-12.log"));
        EXPECT_TRUE(saves[0].confirmOverwrite); // asks before replacing an archive
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Archive Information")});
        EXPECT_EQ(readFile(target), kArchived);
    }
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), kArchived);
}

TEST_F(ArchiveRestoreTest, ArchiveThenRestoreGivesBackTheLogByteForByte)
{
    env.writeWorkFile(QStringLiteral("log.txt"), kArchived);
    const QString archive = backupDir() + QStringLiteral("/K9XYZ2026-09-12.log");
    env.prompt().answerFile(archive);
    ASSERT_EQ(ArchiveCurrentLog(dialog), LogFileCommandResult::Done);

    // The log moves on; then the archive is restored over it.
    env.writeWorkFile(QStringLiteral("log.txt"), kCurrent);
    ContactLog::instance().ContactCount = 1;
    env.prompt().clear();
    env.prompt().answerMessage(MsgAnswer::Ok);
    env.prompt().answerMessage(MsgAnswer::Yes);
    env.prompt().answerFile(archive);
    EXPECT_EQ(RestoreLogFromArchive(dialog), LogFileCommandResult::Done);

    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), kArchived);
    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList({QStringLiteral("Opening Archived Data Information"),
                           QStringLiteral("Are your sure?")}));
    // The replaced log was kept in BACKUP under the local time stamp.
    EXPECT_EQ(readFile(backupDir() + QStringLiteral("/202609121330.log")), kCurrent);
}

TEST_F(ArchiveRestoreTest, RestoreRefusesAFileThatIsNotALog)
{
    env.writeWorkFile(QStringLiteral("log.txt"), kCurrent);
    const QString damaged = backupDir() + QStringLiteral("/damaged.log");
    for (const QByteArray& content :
         {QByteArray("\"W1AW\",\"59\",\"59\"\r\n"), // a record that ends early
          QByteArray(kCurrent).replace("0,\"\"", "x,\"\"")}) { // field 16 no number
        writeFile(damaged, content);
        env.prompt().clear();
        env.prompt().answerFile(damaged);
        EXPECT_EQ(RestoreLogFromArchive(dialog), LogFileCommandResult::Failed);
        EXPECT_EQ(env.prompt().messageTitles().last(), QStringLiteral("Error Restoring Log"));
        EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), kCurrent);
    }
    EXPECT_EQ(backups(), QStringList{QStringLiteral("damaged.log")});
}

TEST_F(ArchiveRestoreTest, CancelAndNoChangeNothing)
{
    env.writeWorkFile(QStringLiteral("log.txt"), kCurrent);
    // Nothing scripted for the file dialogs: they answer Cancel.
    EXPECT_EQ(ArchiveCurrentLog(dialog), LogFileCommandResult::Cancelled);
    EXPECT_EQ(RestoreLogFromArchive(dialog), LogFileCommandResult::Cancelled);
    // An empty log in memory asks no question before the dialog.
    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList({QStringLiteral("Archive Information"),
                           QStringLiteral("Opening Archived Data Information")}));

    ContactLog::instance().ContactCount = 1;
    env.prompt().clear();
    env.prompt().answerMessage(MsgAnswer::Ok);
    env.prompt().answerMessage(MsgAnswer::No);
    EXPECT_EQ(RestoreLogFromArchive(dialog), LogFileCommandResult::Declined);
    EXPECT_TRUE(env.prompt().callsOf(ScriptedPrompt::Kind::OpenFile).empty());

    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), kCurrent);
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(ArchiveRestoreTest, FailedWritesAreReportedAndLeaveTheFilesWhole)
{
    env.writeWorkFile(QStringLiteral("log.txt"), kCurrent);
    const QString archive = backupDir() + QStringLiteral("/old.log");
    writeFile(archive, kArchived);
    setWriteFaultForTesting([](const QString& path) { return !path.endsWith(QStringLiteral(".txt")); });

    env.prompt().answerFile(archive);
    EXPECT_EQ(ArchiveCurrentLog(dialog), LogFileCommandResult::Failed);
    EXPECT_EQ(env.prompt().messageTitles().last(), QStringLiteral("Error Archiving Log"));
    EXPECT_EQ(env.prompt().messageTexts().last(), QStringLiteral("No space left on device"));
    EXPECT_EQ(readFile(archive), kArchived);

    // The copy of the current log into BACKUP fails: log.txt is kept.
    env.prompt().clear();
    env.prompt().answerFile(archive);
    EXPECT_EQ(RestoreLogFromArchive(dialog), LogFileCommandResult::Failed);
    EXPECT_EQ(env.prompt().messageTitles().last(), QStringLiteral("Error Restoring Log"));
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), kCurrent);

    // Writing log.txt itself fails.
    setWriteFaultForTesting([](const QString& path) { return path.endsWith(QStringLiteral("log.txt")); });
    env.prompt().clear();
    env.prompt().answerFile(archive);
    EXPECT_EQ(RestoreLogFromArchive(dialog), LogFileCommandResult::Failed);
    EXPECT_TRUE(env.prompt().messageTexts().last().contains(QStringLiteral("No space left")));
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), kCurrent);
}
