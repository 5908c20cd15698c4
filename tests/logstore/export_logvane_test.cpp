#include "platform/Folders.h"
#include "logstore/ContactLog.h"
#include "logstore/LogvaneExport.h"
#include "platform/SafeFile.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::TestEnv;
using Kind = ScriptedPrompt::Kind;

namespace {

ContactRecord contact(const char* call, const char* spc, const char* county, const char* mode,
                      const char* band = "20")
{
    return test::contactRecord(call, "59", "57", spc, county, "", "2026/09/12", "18:30:00", mode,
                               band);
}

QByteArray line(const char* call, const char* band, const char* mode, const char* power,
                const char* country, const char* state, const char* county)
{
    return QByteArray("\"") + call + "\",\"2026/09/12\",\"" + band + "\",\"" + mode + "\",\""
           + power + "\",\"18:30:00\",\"59\",\"57\",,\"" + country + "\",\"" + state + "\",\""
           + county + "\",,,,\"QSO Party Contest\"\r\n";
}

const char* kSuccessTail = ".  Import these contacts into the Logvane program by clicking File, "
                           "Import, and navigating to this directory from the Logvane program.";

} // namespace

TEST(LogvaneExport, LinesAreWrittenByteForByte)
{
    ContactRecord field6 = contact("K1ABC", "TX", "", "CW");
    field6.LogField6 = QStringLiteral("HI");
    ContactRecord field6Dx = contact("JA1XYZ", "Japan", "", "CW");
    field6Dx.LogField6 = QStringLiteral("NY");
    struct Case {
        const char* what;
        ContactRecord c;
        QByteArray expected;
    };
    const Case cases[] = {
        {"out-of-state log: empty LogSpc", contact("K1ABC", "", "Adams", "PH"),
         line("K1ABC", "20", "SSB", "100", "", "ZQ", "Adams")},
        {"in-state log, home-state station", contact("N8AA", "ZQ", "Baker", "DG", "15"),
         line("N8AA", "15", "DG", "100", "USA", "ZQ", "Baker")},
        {"US state with a W call", contact("W5XYZ", "TX", "", "CW", "40"),
         line("W5XYZ", "40", "CW", "100", "USA", "TX", "")},
        {"Canadian: ON with a V call", contact("VE3ABC", "ON", "", "PH", "80"),
         line("VE3ABC", "80", "SSB", "100", "Canada", "", "")},
        {"lower-case call is not taken as US", contact("k5xyz", "TX", "", "PH"),
         line("k5xyz", "20", "SSB", "100", "Canada", "", "")},
        {"DX country", contact("JA1XYZ", "Japan", "", "CW"),
         line("JA1XYZ", "20", "CW", "100", "Japan", "", "")},
        {"Hawaii", contact("KH6AB", "HI", "", "CW", "10"),
         line("KH6AB", "10", "CW", "100", "Hawaii", "HI", "")},
        {"Alaska", contact("KL7CD", "AK", "", "PH", "160"),
         line("KL7CD", "160", "SSB", "100", "Alaska", "AK", "")},
        {"one-character LogSpc: neither state nor country", contact("K1ABC", "X", "", "CW"),
         line("K1ABC", "20", "CW", "100", "", "", "")},
        {"spare field 6 is taken as the state", field6,
         line("K1ABC", "20", "CW", "100", "Hawaii", "HI", "")},
        {"spare field 6 with a DX country", field6Dx,
         line("JA1XYZ", "20", "CW", "100", "Japan", "NY", "")},
        {"lower-case cw is SSB", contact("K1ABC", "", "Adams", "cw"),
         line("K1ABC", "20", "SSB", "100", "", "ZQ", "Adams")},
        {"empty mode is SSB", contact("K1ABC", "", "Adams", ""),
         line("K1ABC", "20", "SSB", "100", "", "ZQ", "Adams")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatLogvaneLine(c.c, QStringLiteral("100"), QStringLiteral("ZQ")), c.expected)
            << c.what;

    // An empty power answer is two double quotes.
    EXPECT_EQ(formatLogvaneLine(contact("K1ABC", "", "Adams", "PH"), QString(), QStringLiteral("ZQ")),
              line("K1ABC", "20", "SSB", "", "", "ZQ", "Adams"));
}

TEST(LogvaneExport, ExportAsksForPowerWritesLogExpAndReports)
{
    TestEnv env;
    auto& log = ContactLog::instance();
    log[1] = contact("K1ABC", "", "Adams", "PH");
    log[2] = contact("W5XYZ", "TX", "", "CW", "40");
    log.ContactCount = 2;
    env.writeWorkFile("LogExp.txt", "an older export that is longer than the new one\r\n"
                                    "and has a second line\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

    env.prompt().answerInput("5");
    ExportLogvaneFile();

    const auto inputs = env.prompt().callsOf(Kind::Input);
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_EQ(inputs[0].text, "Please enter the power value you would like to record.");
    EXPECT_EQ(inputs[0].title, "Please enter the power value");
    EXPECT_EQ(inputs[0].defaultAnswer, "");

    EXPECT_EQ(env.readWorkFile("LogExp.txt"), line("K1ABC", "20", "SSB", "5", "", "ZQ", "Adams")
                                                  + line("W5XYZ", "40", "CW", "5", "USA", "TX", ""));
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Export Successful!"});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"LogExp.txt has been written to this program's working directory "
                          + Folders::instance().WorkingDirectory + kSuccessTail});
    // The beep comes before the message.
    ASSERT_GE(env.prompt().calls().size(), 2u);
    EXPECT_EQ(env.prompt().calls()[env.prompt().calls().size() - 2].kind, Kind::Beep);
}

TEST(LogvaneExport, EmptyLogGivesAnEmptyFile)
{
    TestEnv env;
    env.prompt().answerInputCancel();
    ExportLogvaneFile();
    EXPECT_TRUE(QFile::exists(env.workPath("LogExp.txt")));
    EXPECT_EQ(env.readWorkFile("LogExp.txt"), QByteArray());
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Export Successful!"});
}

TEST(LogvaneExport, FailedWriteIsReportedAndLeavesTheOldFileWhole)
{
    TestEnv env;
    auto& log = ContactLog::instance();
    log[1] = contact("K1ABC", "", "Adams", "PH");
    log.ContactCount = 1;
    env.writeWorkFile("LogExp.txt", "old\r\n");
    setWriteFaultForTesting([](const QString& p) { return p.endsWith("LogExp.txt"); });

    env.prompt().answerInput("100");
    ExportLogvaneFile();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains("No space left on device"))
        << env.prompt().messageTexts().value(0).toStdString();
    EXPECT_FALSE(env.prompt().messageTitles().contains("Export Successful!"));
    EXPECT_EQ(env.readWorkFile("LogExp.txt"), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(env.workDir()).entryList(QDir::Files), QStringList{"LogExp.txt"});
}
