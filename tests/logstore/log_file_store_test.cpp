#include "entry/ContestTotals.h"
#include "entry/LogOnState.h"
#include "platform/Folders.h"
#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"
#include "logstore/StationSettings.h"
#include "platform/SafeFile.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace zq;
using zq::test::TestEnv;

namespace {

ContactRecord phoneContact(const QString& call, const QString& county)
{
    return test::contactRecord(call, "59", "59", "", county, "", "2026/09/12", "18:30:00", "PH",
                               "20", "14.250");
}

QByteArray logOf(const std::vector<ContactRecord>& records)
{
    QByteArray out;
    for (const auto& r : records)
        out += formatContactLine(r);
    return out;
}

std::vector<ContactRecord> threeContacts()
{
    return {phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan"),
            phoneContact("N3CC", "Carrow")};
}

QString backupDir()
{
    return Folders::instance().UserDirectory + QStringLiteral("/BACKUP");
}

QStringList backups()
{
    return QDir(backupDir()).entryList(QDir::Files, QDir::Name);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void failWritesTo(const QString& fileName)
{
    setWriteFaultForTesting([fileName](const QString& path) {
        return QFileInfo(path).fileName().compare(fileName, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

TEST(LogFileFormat, RecordLinesAreByteExactAndReadBack)
{
    struct Case {
        const char* name;
        ContactRecord record;
        QByteArray line;
        ContactRecord readBack; // what a reader gets from the line
    };
    ContactRecord inState = phoneContact("VE3XYZ", "");
    inState.LogRstSent = "599";
    inState.LogRstReceived = "599";
    inState.LogSpc = "ON";
    inState.LogCountySent = "Dunmore";
    inState.LogMode = "CW";
    inState.LogBand = "40";
    inState.LogFrequency = "";

    ContactRecord spares = phoneContact("AA9A", "Tinker");
    spares.LogField6 = "OH";
    spares.LogField8 = "x";
    spares.LogField11 = "y z";
    spares.LogField16 = 12.25;
    spares.LogField19 = "note, with comma";

    ContactRecord negative = phoneContact("K0N", "Yarrow");
    negative.LogField16 = -0.5;

    ContactRecord quoted = phoneContact("W1\"AW", "Ash\r\ncombe");
    ContactRecord quotedRead = phoneContact("W1AW", "Ashcombe");

    const Case cases[] = {
        {"out-of-state phone", phoneContact("W1AW", "Ashcombe"),
         R"("W1AW","59","59","","Ashcombe","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","14.250")"
         "\r\n",
         phoneContact("W1AW", "Ashcombe")},
        {"in-state CW, no frequency", inState,
         R"("VE3XYZ","599","599","ON","","","Dunmore","","","","","2026/09/12","18:30:00","CW","40",0,"","","","")"
         "\r\n",
         inState},
        {"spare fields and a fractional field 16", spares,
         R"("AA9A","59","59","","Tinker","OH","","x","","","y z","2026/09/12","18:30:00","PH","20",12.25,"","","note, with comma","14.250")"
         "\r\n",
         spares},
        {"negative field 16", negative,
         R"("K0N","59","59","","Yarrow","","","","","","","2026/09/12","18:30:00","PH","20",-0.5,"","","","14.250")"
         "\r\n",
         negative},
        {"quote and line breaks stripped", quoted,
         R"("W1AW","59","59","","Ashcombe","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","14.250")"
         "\r\n",
         quotedRead},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatContactLine(c.record), c.line) << c.name;
        auto parsed = parseLogContent(c.line);
        ASSERT_TRUE(parsed.has_value()) << c.name;
        ASSERT_EQ(parsed->size(), 1u) << c.name;
        EXPECT_EQ((*parsed)[0], c.readBack) << c.name;
    }
}

TEST(LogFileFormat, ReaderTakesLfEndsTrailingBlankLinesAndUnquotedValues)
{
    const QByteArray content =
        R"("W1AW","59","59","","Ashcombe","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","14.250")"
        "\n"
        R"(  K2BB ,"59","59","","Brennan","","","","","","","2026/09/12","18:31:00","PH","20", 3.5 ,"","","","")"
        "\n\r\n\n";
    auto parsed = parseLogContent(content);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->size(), 2u);
    EXPECT_EQ((*parsed)[1].LogCall, "K2BB");
    EXPECT_DOUBLE_EQ((*parsed)[1].LogField16, 3.5);
}

TEST(LogFileStore, DamagedLineFailsTheLoadAndLeavesTheFileAlone)
{
    const QByteArray good = formatContactLine(phoneContact("W1AW", "Ashcombe"));
    struct Case {
        const char* name;
        QByteArray bad;
    };
    const Case cases[] = {
        {"19 values", R"("K2BB","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","")"},
        {"21 values", R"("K2BB","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","","")"},
        {"quote not closed", R"("K2BB","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","14.2)"},
        {"field 16 not a number", R"("K2BB","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",abc,"","","","")"},
        {"field 16 quoted empty", R"("K2BB","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20","","","","","")"},
        {"blank line between records", ""},
        {"text after a closing quote", R"("W5"DEF","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","")"},
    };
    for (const auto& c : cases) {
        TestEnv env;
        // The damaged line sits between two good ones: a reader that
        // carried values across lines would shift the third record.
        const QByteArray content = good + c.bad + "\r\n" + good;
        env.writeWorkFile("log.txt", content);
        ContactLog::instance().ContactCount = 5;

        EXPECT_FALSE(LoadLogFile()) << c.name;
        EXPECT_EQ(ContactLog::instance().ContactCount, 0) << c.name;
        EXPECT_EQ(ContactLog::instance().LoadedContactCount, 0) << c.name;
        // The message names the file and the first line that cannot be read.
        ASSERT_EQ(env.prompt().messageTexts().size(), 1) << c.name;
        const QString text = env.prompt().messageTexts()[0];
        EXPECT_TRUE(text.startsWith("Error opening file.\n")) << text.toStdString();
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(env.workPath("log.txt"))))
            << text.toStdString();
        EXPECT_TRUE(text.contains("line 2: ")) << text.toStdString();
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{"File Error"}) << c.name;
        EXPECT_EQ(env.prompt().calls()[0].buttons, MsgButtons::Ok) << c.name;
        EXPECT_EQ(env.readWorkFile("log.txt"), content) << c.name;
    }
}

TEST(LogFileStore, TextAfterAClosingQuoteIsNamedAsTheReason)
{
    TestEnv env;
    const QByteArray content =
        R"("W5"DEF","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","")"
        "\r\n";
    env.writeWorkFile("log.txt", content);
    EXPECT_FALSE(LoadLogFile());
    ASSERT_EQ(env.prompt().messageTexts().size(), 1);
    EXPECT_TRUE(env.prompt().messageTexts()[0].contains("line 1: text follows the closing quote of value 1"))
        << env.prompt().messageTexts()[0].toStdString();
    EXPECT_EQ(env.readWorkFile("log.txt"), content);
}

TEST(LogFileStore, OversizedLogIsRefusedUnreadAndLeftAlone)
{
    TestEnv env;
    {
        QFile f(env.workPath("log.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxLogFileBytes + 1)); // sparse: no time spent writing
    }
    EXPECT_FALSE(LoadLogFile());
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    ASSERT_EQ(env.prompt().messageTexts().size(), 1);
    EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith("Error opening file."));
    EXPECT_EQ(QFileInfo(env.workPath("log.txt")).size(), kMaxLogFileBytes + 1);
}

TEST(LogFileStore, Latin1AndByteOrderMarkLogsLoadAndRewriteWithoutLoss)
{
    const QByteArray tail =
        R"(,"59","59","","M)" "\xFC" R"(nster","","","","","","","2026/09/12","18:30:00","PH","20",0,"","","","")"
        "\r\n";
    struct Case {
        const char* name;
        QByteArray content;
    };
    const Case cases[] = {
        {"Latin-1", "\"W1AW\"" + tail + "\"K2BB\"" + tail},
        {"byte-order mark", "\xEF\xBB\xBF\"W1AW\"" + QByteArray(tail).replace("\xFC", "\xC3\xBC")
                                + "\"K2BB\"" + QByteArray(tail).replace("\xFC", "\xC3\xBC")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnv env;
        env.writeWorkFile("log.txt", c.content);
        ASSERT_TRUE(LoadLogFile());
        const auto& log = ContactLog::instance();
        ASSERT_EQ(log.ContactCount, 2);
        EXPECT_EQ(log[1].LogCall, "W1AW"); // found by the duplicate check
        EXPECT_EQ(log[1].LogCounty, QString::fromUtf8("M\u00fcnster"));
        ASSERT_TRUE(DeleteContact(2));
        ASSERT_TRUE(LoadLogFile());
        ASSERT_EQ(log.ContactCount, 1);
        EXPECT_EQ(log[1].LogCall, "W1AW");
        EXPECT_EQ(log[1].LogCounty, QString::fromUtf8("M\u00fcnster"));
        EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
    }
}

TEST(LogFileStore, AValueBeginningWithTwoFeffSurvivesEveryRewrite)
{
    TestEnv env;
    const QString county = QString(QChar(0xFEFF)) + QChar(0xFEFF) + QStringLiteral("Ashcombe");
    const QByteArray line = formatContactLine(phoneContact("W1AW", county));
    ASSERT_TRUE(line.contains("\"\xEF\xBB\xBF\xEF\xBB\xBF" "Ashcombe\""));
    env.writeWorkFile("log.txt", line + formatContactLine(phoneContact("K2BB", "Brennan")));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(LoadLogFile());
        const auto& log = ContactLog::instance();
        ASSERT_GE(log.ContactCount, 1);
        EXPECT_EQ(log[1].LogCounty, county) << round;
        if (log.ContactCount == 2)
            ASSERT_TRUE(DeleteContact(2));
        else
            ASSERT_TRUE(RewriteLogFile());
        EXPECT_EQ(env.readWorkFile("log.txt"), line) << round;
    }
}

TEST(LogFileStore, MissingLogIsAnEmptyLogAndIsCreated)
{
    TestEnv env;
    EXPECT_TRUE(LoadLogFile());
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    EXPECT_TRUE(env.prompt().calls().empty());
    EXPECT_TRUE(QFileInfo::exists(env.workPath("log.txt")));
    EXPECT_TRUE(env.readWorkFile("log.txt").isEmpty());
}

TEST(LogFileStore, LoadFillsTheLogAndResetsPointsAndMarksOnly)
{
    TestEnv env;
    env.writeWorkFile("Log.txt", logOf(threeContacts())); // found whatever its case
    auto& totals = ContestTotals::instance();
    totals.QsoPoints = 9;
    totals.PhoneContactCount = 4;
    auto& matrix = MultiplierMatrix::instance();
    matrix.at(0, 1) = 1;
    matrix.at(1, 0) = 1;
    matrix.at(25, 1) = 1;
    matrix.at(100, 8) = 1;
    matrix.MultiplierCellCount = 2;

    ASSERT_TRUE(LoadLogFile());
    const auto& log = ContactLog::instance();
    EXPECT_EQ(log.ContactCount, 3);
    EXPECT_EQ(log[1], threeContacts()[0]);
    EXPECT_EQ(log[3], threeContacts()[2]);
    EXPECT_EQ(totals.QsoPoints, 0);
    EXPECT_EQ(totals.PhoneContactCount, 4); // the reload recounts these
    EXPECT_EQ(matrix.at(25, 1), 0);
    EXPECT_EQ(matrix.at(100, 8), 0);
    EXPECT_EQ(matrix.MultiplierCellCount, 0);
    EXPECT_EQ(matrix.at(0, 1), 1);
    EXPECT_EQ(matrix.at(1, 0), 1);
}

TEST(LogFileStore, LoadedContactCountHoldsTheFirstLoadThatFoundContacts)
{
    TestEnv env;
    auto& log = ContactLog::instance();
    env.writeWorkFile("log.txt", "");
    ASSERT_TRUE(LoadLogFile());
    EXPECT_EQ(log.LoadedContactCount, 0);

    env.writeWorkFile("log.txt", logOf(threeContacts()));
    ASSERT_TRUE(LoadLogFile());
    EXPECT_EQ(log.LoadedContactCount, 3);

    ASSERT_TRUE(DeleteContact(1));
    ASSERT_TRUE(LoadLogFile());
    EXPECT_EQ(log.ContactCount, 2);
    EXPECT_EQ(log.LoadedContactCount, 3);

    env.prompt().answerInput("YES");
    ASSERT_TRUE(NewLogFile());
    EXPECT_EQ(log.ContactCount, 0);
    EXPECT_EQ(log.LoadedContactCount, 3); // a new log does not reset it
}

TEST(LogFileStore, CapacityIsElevenThousandRecords)
{
    const QByteArray line = formatContactLine(phoneContact("W1AW", "Ashcombe"));
    for (int records : {11000, 11001}) {
        TestEnv env;
        env.writeWorkFile("log.txt", line.repeated(records));
        const bool loaded = LoadLogFile();
        EXPECT_EQ(loaded, records == 11000) << records;
        EXPECT_EQ(ContactLog::instance().ContactCount, loaded ? 11000 : 0) << records;
        EXPECT_EQ(env.prompt().messageTexts().size(), loaded ? 0 : 1) << records;
    }
}

TEST(LogFileStore, FullLogRefusesAnotherContactWithAMessage)
{
    TestEnv env;
    auto& log = ContactLog::instance();
    log.ContactCount = ContactLog::Capacity - 1;
    EXPECT_TRUE(ContactLogHasRoom());
    EXPECT_TRUE(env.prompt().calls().empty());

    log.ContactCount = ContactLog::Capacity;
    EXPECT_FALSE(ContactLogHasRoom());
    ASSERT_EQ(env.prompt().messageTexts().size(), 1);
    EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith("The log is full: it holds 11000 contacts."));
}

TEST(LogFileStore, AppendWritesOneSyncedLine)
{
    TestEnv env;
    auto& log = ContactLog::instance();
    log.ContactCount = 1;
    log[1] = phoneContact("W1AW", "Ashcombe");
    ASSERT_TRUE(AppendLogFile()); // creates the file
    log.ContactCount = 2;
    log[2] = phoneContact("K2\"BB", "Brennan"); // a quote cannot reach the file
    ASSERT_TRUE(AppendLogFile());

    EXPECT_EQ(env.readWorkFile("log.txt"),
              logOf({phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan")}));
    ASSERT_TRUE(LoadLogFile());
    EXPECT_EQ(log.ContactCount, 2);
    EXPECT_EQ(log[2].LogCounty, "Brennan");
}

TEST(LogFileStore, AppendAfterALastLineWithoutLineEndStartsANewLine)
{
    TestEnv env;
    QByteArray first = formatContactLine(phoneContact("W1AW", "Ashcombe"));
    first.chop(2);
    env.writeWorkFile("log.txt", first);
    ASSERT_TRUE(LoadLogFile());
    auto& log = ContactLog::instance();
    log.ContactCount = 2;
    log[2] = phoneContact("K2BB", "Brennan");
    ASSERT_TRUE(AppendLogFile());
    ASSERT_TRUE(LoadLogFile());
    EXPECT_EQ(log.ContactCount, 2);
    EXPECT_EQ(log[2].LogCall, "K2BB");
}

TEST(LogFileStore, AppendAfterBlankLinesAtTheEndKeepsTheLogLoadable)
{
    // The reader passes over blank lines at the end of the file, not
    // between records: a record appended after them must not leave any.
    const QByteArray first = formatContactLine(phoneContact("W1AW", "Ashcombe"));
    const struct {
        const char* name;
        QByteArray content;
        std::vector<ContactRecord> after;
    } cases[] = {
        {"CR LF blank line", first + "\r\n", {phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan")}},
        {"LF blank lines", first + "\n\n", {phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan")}},
        {"blanks and tabs", first + " \t\r\n\r\n  ", {phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan")}},
        {"only blank lines", "\r\n\r\n", {phoneContact("K2BB", "Brennan")}},
        {"a Latin-1 no-break space alone", first + "\xA0",
         {phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan")}},
        {"a no-break space line and blank lines", first + "\xA0\r\n \r\n",
         {phoneContact("W1AW", "Ashcombe"), phoneContact("K2BB", "Brennan")}},
    };
    for (const auto& c : cases) {
        TestEnv env;
        env.writeWorkFile("log.txt", c.content);
        ASSERT_TRUE(LoadLogFile()) << c.name;
        auto& log = ContactLog::instance();
        log.ContactCount += 1;
        log[log.ContactCount] = phoneContact("K2BB", "Brennan");
        ASSERT_TRUE(AppendLogFile()) << c.name;

        EXPECT_EQ(env.readWorkFile("log.txt"), logOf(c.after)) << c.name;
        ASSERT_TRUE(LoadLogFile()) << c.name;
        EXPECT_EQ(log.ContactCount, static_cast<int>(c.after.size())) << c.name;
    }
}

TEST(LogFileStore, FailedAppendIsReportedAndLeavesTheFileAsItWas)
{
    TestEnv env;
    const QByteArray before = logOf(threeContacts());
    env.writeWorkFile("log.txt", before);
    ASSERT_TRUE(LoadLogFile());
    auto& log = ContactLog::instance();
    log.ContactCount = 4;
    log[4] = phoneContact("W4DD", "Dalby");
    failWritesTo("log.txt");

    EXPECT_FALSE(AppendLogFile());
    EXPECT_EQ(env.readWorkFile("log.txt"), before);
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{"File Error"});
    EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith("Unable to write log.txt: "));
}

// A log.txt that may not be written (no write bit: read-only for every
// user, root included) refuses every write alike with the reason: a new
// contact, an edit, a delete and a new log.  The file keeps its bytes and
// its mode, and memory follows the file.
TEST(LogFileStore, ReadOnlyLogRefusesEveryWriteWithTheReason)
{
    struct Case {
        const char* what;
        std::function<bool()> write;
    };
    const Case cases[] = {
        {"append",
         [] {
             auto& log = ContactLog::instance();
             log.ContactCount = 4;
             log[4] = phoneContact("W4DD", "Dalby");
             return AppendLogFile();
         }},
        {"rewrite",
         [] {
             ContactLog::instance()[2].LogCounty = "Dalby";
             return RewriteLogFile();
         }},
        {"delete", [] { return DeleteContact(1); }},
        {"new log", [] { return NewLogFile(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestEnv env;
        const QByteArray before = logOf(threeContacts());
        env.writeWorkFile("log.txt", before);
        const QFileDevice::Permissions readOnly =
            QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
        ASSERT_TRUE(QFile::setPermissions(env.workPath("log.txt"), readOnly));
        ASSERT_TRUE(LoadLogFile());
        env.prompt().answerInput("YES");

        EXPECT_FALSE(c.write());
        EXPECT_EQ(env.readWorkFile("log.txt"), before);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(env.workPath("log.txt")).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
        EXPECT_EQ(env.prompt().messageTitles().value(0), "File Error");
        EXPECT_EQ(env.prompt().messageTexts().value(0), "Unable to write log.txt: Permission denied");
        auto& log = ContactLog::instance();
        if (std::string(c.what) != "append") {
            EXPECT_EQ(log.ContactCount, 3);
            EXPECT_EQ(log[1].LogCall, "W1AW");
            EXPECT_EQ(log[2].LogCounty, "Brennan");
        }
    }
}

TEST(LogFileStore, RewriteWritesEveryContactAndKeepsFractionalField16)
{
    TestEnv env;
    QByteArray content =
        R"("W1AW","59","59","","Ashcombe","","","","","","","2026/09/12","18:30:00","PH","20",0.1,"","","","14.250")"
        "\n";
    env.writeWorkFile("log.txt", content);
    ASSERT_TRUE(LoadLogFile());
    ContactLog::instance()[1].LogCounty = "Brennan";
    ASSERT_TRUE(RewriteLogFile());
    EXPECT_EQ(env.readWorkFile("log.txt"),
              R"("W1AW","59","59","","Brennan","","","","","","","2026/09/12","18:30:00","PH","20",0.1,"","","","14.250")"
              "\r\n");
}

TEST(LogFileStore, FailedRewriteKeepsTheOldFileAndMemoryFollowsIt)
{
    TestEnv env;
    const QByteArray before = logOf(threeContacts());
    env.writeWorkFile("log.txt", before);
    ASSERT_TRUE(LoadLogFile());
    auto& log = ContactLog::instance();
    log[2].LogCounty = "Dalby";
    failWritesTo("log.txt");

    EXPECT_FALSE(RewriteLogFile());
    EXPECT_EQ(env.readWorkFile("log.txt"), before);
    EXPECT_EQ(log[2].LogCounty, "Brennan");
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{"File Error"});
    EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith("Unable to write log.txt: "));

    // A failed delete leaves the contact in memory as in the file.
    EXPECT_FALSE(DeleteContact(1));
    EXPECT_EQ(log.ContactCount, 3);
    EXPECT_EQ(log[1].LogCall, "W1AW");
}

TEST(LogFileStore, DeleteMovesLaterContactsDownAndRewrites)
{
    struct Case {
        int n;
        std::vector<int> kept; // indexes into threeContacts()
    };
    const Case cases[] = {{1, {1, 2}}, {2, {0, 2}}, {3, {0, 1}}};
    for (const auto& c : cases) {
        TestEnv env;
        auto contacts = threeContacts();
        contacts[2].LogField17 = "spare";
        env.writeWorkFile("log.txt", logOf(contacts));
        ASSERT_TRUE(LoadLogFile());
        ASSERT_TRUE(DeleteContact(c.n)) << c.n;

        std::vector<ContactRecord> expected;
        for (int k : c.kept)
            expected.push_back(contacts[static_cast<size_t>(k)]);
        auto& log = ContactLog::instance();
        EXPECT_EQ(log.ContactCount, 2) << c.n;
        EXPECT_EQ(log[1], expected[0]) << c.n;
        EXPECT_EQ(log[2], expected[1]) << c.n;
        EXPECT_EQ(log[3], ContactRecord{}) << c.n; // a later contact starts empty
        EXPECT_EQ(env.readWorkFile("log.txt"), logOf(expected)) << c.n;
    }
}

TEST(LogFileStore, DeleteOutsideTheLogDoesNothing)
{
    TestEnv env;
    const QByteArray before = logOf(threeContacts());
    env.writeWorkFile("log.txt", before);
    ASSERT_TRUE(LoadLogFile());
    for (int n : {0, -1, 4, 11001}) {
        EXPECT_FALSE(DeleteContact(n)) << n;
        EXPECT_EQ(ContactLog::instance().ContactCount, 3) << n;
    }
    EXPECT_EQ(env.readWorkFile("log.txt"), before);
}

TEST(LogFileStore, LoadEmptiesSlotsAboveTheCount)
{
    TestEnv env;
    auto contacts = threeContacts();
    contacts[2].LogField8 = "old spare";
    env.writeWorkFile("log.txt", logOf(contacts));
    ASSERT_TRUE(LoadLogFile());
    env.writeWorkFile("log.txt", logOf({contacts[0]}));
    ASSERT_TRUE(LoadLogFile());
    EXPECT_EQ(ContactLog::instance()[3], ContactRecord{});
}

TEST(LogFileStore, NewLogNeedsYesTypedExactly)
{
    struct Case {
        std::optional<QString> answer; // nullopt: Cancel
        bool erased;
    };
    const Case cases[] = {
        {QString("YES"), true}, {QString("yes"), true},  {QString("Yes"), true},
        {QString(" YES"), false}, {QString("YES "), false}, {QString("no"), false},
        {QString(""), false},     {std::nullopt, false},
    };
    for (const auto& c : cases) {
        TestEnv env;
        const QString label = c.answer.value_or("<cancel>");
        const QByteArray before = logOf(threeContacts());
        env.writeWorkFile("log.txt", before);
        ASSERT_TRUE(LoadLogFile());
        StationSettings::instance().AccumulatedOperatingSeconds = 3600;
        LogOnState::instance().OperatingSeconds = 3700;
        if (c.answer)
            env.prompt().answerInput(*c.answer);
        else
            env.prompt().answerInputCancel();

        EXPECT_EQ(NewLogFile(), c.erased) << label.toStdString();
        const auto inputs = env.prompt().callsOf(ScriptedPrompt::Kind::Input);
        ASSERT_EQ(inputs.size(), 1u);
        EXPECT_EQ(inputs[0].title, "WARNING - Your existing log file will be ERASED!");
        EXPECT_EQ(inputs[0].text,
                  "Are you sure that you want to start a new log file?  This function will ERASE "
                  "the existing log file!\n\nTo verify that you want to start a new log file, "
                  "please type: YES");
        EXPECT_EQ(inputs[0].defaultAnswer, "");
        if (c.erased) {
            EXPECT_EQ(ContactLog::instance().ContactCount, 0);
            EXPECT_TRUE(env.readWorkFile("log.txt").isEmpty());
            EXPECT_EQ(StationSettings::instance().AccumulatedOperatingSeconds, 0);
            EXPECT_EQ(LogOnState::instance().OperatingSeconds, 0);
            // The cleared operating time is saved (value 18).
            const QList<QByteArray> pref = env.readWorkFile("QSOpref.txt").split('\n');
            ASSERT_GE(pref.size(), 18);
            EXPECT_EQ(pref[17], "0\r");
            // The old log is kept even though nothing changed since the load.
            ASSERT_EQ(backups(), QStringList{"202609121330.log"});
            EXPECT_EQ(readFile(backupDir() + "/202609121330.log"), before);
        } else {
            EXPECT_EQ(ContactLog::instance().ContactCount, 3);
            EXPECT_EQ(env.readWorkFile("log.txt"), before);
            EXPECT_EQ(StationSettings::instance().AccumulatedOperatingSeconds, 3600);
            EXPECT_TRUE(backups().isEmpty());
            EXPECT_FALSE(QFileInfo::exists(env.workPath("QSOpref.txt")));
        }
        EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
    }
}

TEST(LogFileStore, NewLogErasesNothingWhenTheBackupOrTheEraseFails)
{
    for (const char* failing : {"202609121330.log", "log.txt"}) {
        TestEnv env;
        const QByteArray before = logOf(threeContacts());
        env.writeWorkFile("log.txt", before);
        ASSERT_TRUE(LoadLogFile());
        StationSettings::instance().AccumulatedOperatingSeconds = 3600;
        failWritesTo(failing);
        env.prompt().answerInput("YES");

        EXPECT_FALSE(NewLogFile()) << failing;
        EXPECT_EQ(env.readWorkFile("log.txt"), before) << failing;
        EXPECT_EQ(ContactLog::instance().ContactCount, 3) << failing;
        EXPECT_EQ(StationSettings::instance().AccumulatedOperatingSeconds, 3600) << failing;
        ASSERT_EQ(env.prompt().messageTitles(), QStringList{"File Error"}) << failing;
        EXPECT_TRUE(env.prompt().messageTexts()[0].contains("log.txt")) << failing;
    }
}

TEST(LogFileStore, NewLogOfAnEmptyLogMakesNoBackup)
{
    TestEnv env;
    ASSERT_TRUE(LoadLogFile());
    env.prompt().answerInput("yes");
    EXPECT_TRUE(NewLogFile());
    EXPECT_TRUE(backups().isEmpty());
}

TEST(LogFileStore, BackupOnlyWhenTheCountChangedSinceTheLoad)
{
    TestEnv env;
    env.writeWorkFile("log.txt", logOf(threeContacts()));
    ASSERT_TRUE(LoadLogFile());
    auto& log = ContactLog::instance();

    BackupLogFile(); // unchanged count
    EXPECT_TRUE(backups().isEmpty());

    // An edit and a delete followed by a new contact leave the count alone.
    log[1].LogCounty = "Dalby";
    ASSERT_TRUE(RewriteLogFile());
    ASSERT_TRUE(DeleteContact(3));
    log.ContactCount = 3;
    log[3] = phoneContact("W4DD", "Dalby");
    ASSERT_TRUE(AppendLogFile());
    BackupLogFile();
    EXPECT_TRUE(backups().isEmpty());

    ASSERT_TRUE(DeleteContact(3));
    BackupLogFile();
    ASSERT_EQ(backups(), QStringList{"202609121330.log"});
    EXPECT_EQ(readFile(backupDir() + "/202609121330.log"), env.readWorkFile("log.txt"));
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST(LogFileStore, SecondBackupInTheSameMinuteNeverReplacesTheFirst)
{
    TestEnv env;
    env.writeWorkFile("log.txt", logOf(threeContacts()));
    ASSERT_TRUE(LoadLogFile());
    ASSERT_TRUE(DeleteContact(3));
    const QByteArray first = env.readWorkFile("log.txt");
    BackupLogFile();
    BackupLogFile(); // same bytes: no second copy
    ASSERT_TRUE(DeleteContact(2));
    BackupLogFile();

    ASSERT_EQ(backups(), (QStringList{"202609121330-2.log", "202609121330.log"}));
    EXPECT_EQ(readFile(backupDir() + "/202609121330.log"), first);
    EXPECT_EQ(readFile(backupDir() + "/202609121330-2.log"), env.readWorkFile("log.txt"));
}

TEST(LogFileStore, BackupMakesTheFolderAndFailsSilently)
{
    TestEnv env;
    QDir(backupDir()).removeRecursively();
    env.writeWorkFile("log.txt", logOf(threeContacts()));
    ASSERT_TRUE(LoadLogFile());
    ASSERT_TRUE(DeleteContact(1));
    BackupLogFile();
    EXPECT_EQ(backups(), QStringList{"202609121330.log"});

    env.clock().advance(std::chrono::minutes(1));
    failWritesTo("202609121331.log");
    ASSERT_TRUE(DeleteContact(1));
    BackupLogFile();
    EXPECT_EQ(backups(), QStringList{"202609121330.log"});
    EXPECT_TRUE(env.prompt().calls().empty());
}
