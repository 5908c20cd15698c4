// The contest's own files are never replaced by a file the operator names
// in a save dialog: the ADIF export and the archive refuse them with a
// message and write nothing, however the name is spelled or reached.

#include "common/CommonDialog.h"
#include "logstore/AdifExport.h"
#include "logstore/ArchiveRestore.h"
#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"
#include "platform/Folders.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

#include <functional>

using namespace zq;
using zq::test::TestEnv;

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

void makeLink(const QString& target, const QString& link)
{
    ASSERT_TRUE(QFile::link(target, link)) << link.toStdString();
}

// Every file below the folders, with its bytes.
QMap<QString, QByteArray> contentsOf(const QStringList& folders)
{
    QMap<QString, QByteArray> out;
    for (const QString& folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            out.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unread>"));
        }
    }
    return out;
}

} // namespace

TEST(ExportTargets, TheContestsOwnFilesAreRefusedAndNothingIsWritten)
{
    struct Command {
        const char* what;
        std::function<void(CommonDialog&)> run;
        QStringList titlesBefore; // messages shown before the save dialog
    };
    const Command commands[] = {
        {"ADIF export", [](CommonDialog&) { ExportADIF(); }, {}},
        {"archive", [](CommonDialog& d) { ArchiveCurrentLog(d); }, {"Archive Information"}},
    };
    // Where the chosen name is, relative to the folders of the run.
    struct Target {
        const char* what;
        std::function<QString(const QString& work, const QString& docs)> chosen;
        bool refused;
    };
    const Folders& folders = Folders::instance();
    const Target targets[] = {
        {"the log", [](const QString& w, const QString&) { return w + "/log.txt"; }, true},
        {"the log in other letters", [](const QString& w, const QString&) { return w + "/LOG.TXT"; },
         true},
        {"the station preferences",
         [](const QString& w, const QString&) { return w + "/qsopref.txt"; }, true},
        {"the county table", [](const QString& w, const QString&) { return w + "/county2.txt"; },
         true},
        {"the folder's lock", [](const QString& w, const QString&) { return w + "/zqlog.lock"; },
         true},
        {"a link to the log",
         [](const QString& w, const QString& d) {
             makeLink(w + "/log.txt", d + "/linked.adi");
             return d + "/linked.adi";
         },
         true},
        {"a chain of links to the log",
         [](const QString& w, const QString& d) {
             makeLink(QDir(d).relativeFilePath(w + "/log.txt"), d + "/hop.adi");
             makeLink("hop.adi", d + "/chain.adi");
             return d + "/chain.adi";
         },
         true},
        {"the log in the working folder reached through a link",
         [](const QString& w, const QString& d) {
             makeLink(w, d + "/work");
             return d + "/work/log.txt";
         },
         true},
        {"the WinKeyer settings in the user folder",
         [&](const QString&, const QString&) { return folders.UserDirectory + "/WK.txt"; }, true},
        {"the shared preferences",
         [&](const QString&, const QString&) {
             return folders.SharedDirectory + "/SharedUserPreferences.xml";
         },
         true},
        {"the file the log links to, in another folder",
         [](const QString& w, const QString& d) {
             QDir(d).mkpath("kept");
             QFile::rename(w + "/log.txt", d + "/kept/contest.log");
             makeLink(d + "/kept/contest.log", w + "/log.txt");
             return d + "/kept/contest.log";
         },
         true},
        {"a new name in the working folder",
         [](const QString& w, const QString&) { return w + "/ZQ.adi"; }, false},
        {"a file named log.txt in the user folder",
         [&](const QString&, const QString&) { return folders.UserDirectory + "/log.txt"; }, false},
    };

    for (const Command& command : commands) {
        for (const Target& target : targets) {
            SCOPED_TRACE(testing::Message() << command.what << ", " << target.what);
            TestEnv env;
            ContactLog& log = ContactLog::instance();
            log[1] = test::contactRecord("K1ABC", "59", "59", "", "Adams", "", "2026/09/12",
                                         "18:30:00", "PH", "20", "14.250");
            log.ContactCount = 1;
            env.writeWorkFile("log.txt", formatContactLine(log[1]));
            env.writeWorkFile("QSOpref.txt", "\"ZQ\"\r\n");
            env.writeWorkFile("county2.txt", "\"Adams\",\"ADA\"\r\n");
            env.writeWorkFile("zqlog.lock", "");
            env.writeWorkFile("ADIFCnt.txt", "\"USA\",291\r\n");
            writeFile(folders.UserDirectory + "/WK.txt", "wk\r\n");
            writeFile(folders.SharedDirectory + "/SharedUserPreferences.xml", "<?xml?>\r\n");
            const QString chosen = target.chosen(env.workDir(), env.documentsDir());
            const QStringList all = {env.workDir(), env.documentsDir()};
            const auto before = contentsOf(all);
            env.prompt().answerFile(chosen);
            CommonDialog dialog;

            command.run(dialog);

            const QStringList titles = env.prompt().messageTitles();
            if (target.refused) {
                EXPECT_EQ(contentsOf(all), before);
                EXPECT_EQ(titles, command.titlesBefore + QStringList{"Unable to write file."});
                EXPECT_TRUE(env.prompt().messageTexts().value(titles.size() - 1).startsWith(
                    QDir::toNativeSeparators(chosen) + ": "))
                    << env.prompt().messageTexts().join('|').toStdString();
                EXPECT_EQ(env.prompt().beeps(), 1);
            } else {
                EXPECT_FALSE(titles.contains("Unable to write file."))
                    << env.prompt().messageTexts().join('|').toStdString();
                EXPECT_TRUE(QFile(chosen).size() > 0);
                auto after = contentsOf(all);
                after.remove(chosen);
                EXPECT_EQ(after, before);
            }
            EXPECT_EQ(QDir::currentPath(), QDir(env.workDir()).absolutePath());
        }
    }
}
