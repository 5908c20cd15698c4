#include "platform/Folders.h"
#include "logstore/AdifExport.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "platform/SafeFile.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::TestEnv;
using Kind = ScriptedPrompt::Kind;

namespace {

const QByteArray kCountries = "\"USA\",291\r\n\"Canada\",1\r\n\"Alaska\",6\r\n\"Hawaii\",110\r\n"
                              "\"Japan\",339\r\n\"Fed. Rep. of Germany\",230\r\n";
const QString kComment = QStringLiteral("ZQ State QSO Party Contest");

ContactRecord contact(const char* call, const char* spc, const char* county, const char* mode,
                      const char* band, const char* time = "18:30:00", const char* freq = "")
{
    return test::contactRecord(call, "59", "59", spc, county, "", "2026/09/12", time, mode, band,
                               freq);
}

AdifCountryTable countries()
{
    auto t = parseAdifCountryTable(kCountries);
    EXPECT_TRUE(t.has_value());
    return t.value_or(AdifCountryTable{});
}

AdifExportOptions options(const QString& power = QStringLiteral("100"),
                          const QString& comment = kComment)
{
    AdifExportOptions o;
    o.power = power;
    o.comment = comment;
    o.homeStateCode = QStringLiteral("ZQ");
    o.programVersion = QStringLiteral("2.1");
    o.exportedOn = QStringLiteral("9/12/2026 1:30:00 PM");
    return o;
}

// ---------------------------------------------------------------------------
// A small ADIF reader of its own, for checking that the export reads back:
// items "<name:len[:type]>value" are taken by their length, "<eoh>" and
// "<eor>" (any case) end the header and each record.  Text between items is
// skipped.
struct AdifField {
    QString value;
    QString type;
};
using AdifRecord = QMap<QString, AdifField>; // lower-case field name -> field

struct AdifFile {
    bool ok = false;
    QString error;
    QString headerText;
    QList<AdifRecord> records;
};

AdifFile readAdif(const QByteArray& bytes)
{
    AdifFile f;
    qsizetype pos = 0;
    bool inHeader = !bytes.startsWith('<');
    AdifRecord current;
    while (true) {
        const qsizetype open = bytes.indexOf('<', pos);
        if (open < 0)
            break;
        if (inHeader && f.headerText.isEmpty())
            f.headerText = QString::fromLatin1(bytes.left(open));
        const qsizetype close = bytes.indexOf('>', open);
        if (close < 0) {
            f.error = QStringLiteral("unclosed tag");
            return f;
        }
        const QList<QByteArray> spec = bytes.mid(open + 1, close - open - 1).split(':');
        const QByteArray name = spec[0].toLower();
        if (spec.size() == 1) {
            if (name == "eoh") {
                if (!inHeader || !current.isEmpty()) {
                    f.error = QStringLiteral("misplaced <eoh>");
                    return f;
                }
                inHeader = false;
            } else if (name == "eor") {
                if (inHeader) {
                    f.error = QStringLiteral("<eor> in header");
                    return f;
                }
                f.records.append(current);
                current.clear();
            } else {
                f.error = QStringLiteral("tag without length: ") + QString::fromLatin1(name);
                return f;
            }
            pos = close + 1;
            continue;
        }
        bool lenOk = false;
        const int len = spec[1].toInt(&lenOk);
        if (!lenOk || len < 0 || spec.size() > 3 || close + 1 + len > bytes.size()) {
            f.error = QStringLiteral("bad length in tag ") + QString::fromLatin1(name);
            return f;
        }
        AdifField field;
        field.value = QString::fromLatin1(bytes.mid(close + 1, len));
        if (spec.size() == 3)
            field.type = QString::fromLatin1(spec[2]);
        if (current.contains(QString::fromLatin1(name))) {
            f.error = QStringLiteral("field twice in a record: ") + QString::fromLatin1(name);
            return f;
        }
        current.insert(QString::fromLatin1(name), field);
        pos = close + 1 + len;
    }
    if (!current.isEmpty()) {
        f.error = QStringLiteral("record without <eor>");
        return f;
    }
    f.ok = !inHeader;
    if (!f.ok)
        f.error = QStringLiteral("no <eoh>");
    return f;
}

QMap<QString, QString> valuesOf(const AdifRecord& r)
{
    QMap<QString, QString> out;
    for (auto it = r.begin(); it != r.end(); ++it)
        out.insert(it.key(), it.value().value);
    return out;
}

void fillLog(const QList<ContactRecord>& contacts)
{
    auto& log = ContactLog::instance();
    for (const auto& c : contacts)
        log[++log.ContactCount] = c;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const char* kPowerPrompt =
    "Please enter the power value that you would like to record.  This is an optional value "
    "that will be included in each QSO record and displayed in Logvane's power output column.";
const char* kCommentPrompt =
    "Please enter a comment that you would like to appear on each QSO record.  This is an "
    "optional description that will be displayed in Logvane's Comments column.";

} // namespace

// ---------------------------------------------------------------------------

TEST(AdifExport, RecordsAreWrittenByteForByte)
{
    struct Case {
        const char* what;
        ContactRecord c;
        QByteArray expected;
    };
    const QByteArray tail = "<RST_Rcvd:2>59 <RST_Sent:2>59 <Comment:26>ZQ State QSO Party "
                            "Contest\r\n<eor>\r\n\r\n";
    ContactRecord canadian = contact("VE3ABC", "ON", "", "PH", "80");
    canadian.LogRstSent = QStringLiteral("599 ");
    canadian.LogRstReceived = QStringLiteral("579  ");
    const Case cases[] = {
        {"out-of-state log: empty state, county filled",
         contact("K1ABC", "", "Adams", "PH", "20", "18:30:00", " 14.250 "),
         "<Call:5>K1ABC <Qso_Date:8:d>20260912 <Band:3>20M <Mode:3>SSB\r\n"
         "<Tx_Pwr:3>100 <Freq:6>14.250 <Time_On:4>1830 <DXCC:3>291 <State:2>ZQ "
         "<Cnty:8>ZQ,Adams <Cont:2>NA " + tail},
        {"in-state log, home-state station with county",
         contact("N8AA", "ZQ", "Baker", "DG", "15", "00:01:00"),
         "<Call:4>N8AA <Qso_Date:8:d>20260912 <Band:3>15M <Mode:2>DG\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>0001 <DXCC:3>291 <State:2>ZQ <Cnty:8>ZQ,Baker <Cont:2>NA "
             + tail},
        {"TX with a K call", contact("K5XYZ", "TX", "", "CW", "40", "9:05:00"),
         "<Call:5>K5XYZ <Qso_Date:8:d>20260912 <Band:3>40M <Mode:2>CW\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>0905 <DXCC:3>291 <State:2>TX <Cont:2>NA " + tail},
        {"Canadian: ON with a V call, reports with trailing blanks", canadian,
         "<Call:6>VE3ABC <Qso_Date:8:d>20260912 <Band:3>80M <Mode:3>SSB\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 <DXCC:1>1 <RST_Rcvd:3>579 <RST_Sent:3>599 "
         "<Comment:26>ZQ State QSO Party Contest\r\n<eor>\r\n\r\n"},
        {"DX: country name in LogSpc", contact("JA1XYZ", "Japan", "", "CW", "20"),
         "<Call:6>JA1XYZ <Qso_Date:8:d>20260912 <Band:3>20M <Mode:2>CW\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 <DXCC:3>339 " + tail},
        {"Hawaii", contact("KH6AB", "HI", "", "PH", "10"),
         "<Call:5>KH6AB <Qso_Date:8:d>20260912 <Band:3>10M <Mode:3>SSB\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 <DXCC:3>110 <State:2>HI <Cont:2>NA " + tail},
        {"Alaska", contact("WL7CD", "AK", "", "CW", "160"),
         "<Call:5>WL7CD <Qso_Date:8:d>20260912 <Band:4>160M <Mode:2>CW\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 <DXCC:1>6 <State:2>AK <Cont:2>NA " + tail},
        {"DX country not in the table gives no DXCC item",
         contact("ZS6AA", "South Africa", "", "CW", "20"),
         "<Call:5>ZS6AA <Qso_Date:8:d>20260912 <Band:3>20M <Mode:2>CW\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 " + tail},
        {"one-character LogSpc takes the home state",
         contact("K1ABC", "X", "", "PH", "20"),
         "<Call:5>K1ABC <Qso_Date:8:d>20260912 <Band:3>20M <Mode:3>SSB\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 <State:2>ZQ " + tail},
        {"empty mode: the first two lines run together", contact("K1ABC", "TX", "", "", "20"),
         "<Call:5>K1ABC <Qso_Date:8:d>20260912 <Band:3>20M <Tx_Pwr:3>100 <Time_On:4>1830 "
         "<DXCC:3>291 <State:2>TX <Cont:2>NA " + tail},
        {"lower-case ph mode", contact("K1ABC", "TX", "", "ph", "20"),
         "<Call:5>K1ABC <Qso_Date:8:d>20260912 <Band:3>20M <Mode:3>SSB\r\n"
         "<Tx_Pwr:3>100 <Time_On:4>1830 <DXCC:3>291 <State:2>TX <Cont:2>NA " + tail},
    };
    const AdifCountryTable table = countries();
    for (const auto& c : cases)
        EXPECT_EQ(formatAdifRecord(c.c, options(), table), c.expected) << c.what;
}

TEST(AdifExport, AnswersShapeEveryRecord)
{
    const AdifCountryTable table = countries();
    const ContactRecord c = contact("K1ABC", "", "Adams", "CW", "20");
    // Both input boxes cancelled: no power, no comment, <eor> ends the second line.
    EXPECT_EQ(formatAdifRecord(c, options(QString(), QString()), table),
              QByteArray("<Call:5>K1ABC <Qso_Date:8:d>20260912 <Band:3>20M <Mode:2>CW\r\n"
                         "<Time_On:4>1830 <DXCC:3>291 <State:2>ZQ <Cnty:8>ZQ,Adams <Cont:2>NA "
                         "<RST_Rcvd:2>59 <RST_Sent:2>59 <eor>\r\n\r\n"));
    // A power with trailing blanks is written, and counted, without them.
    EXPECT_EQ(formatAdifRecord(c, options(QStringLiteral(" 5  "), QStringLiteral("x")), table),
              QByteArray("<Call:5>K1ABC <Qso_Date:8:d>20260912 <Band:3>20M <Mode:2>CW\r\n"
                         "<Tx_Pwr:2> 5 <Time_On:4>1830 <DXCC:3>291 <State:2>ZQ "
                         "<Cnty:8>ZQ,Adams <Cont:2>NA <RST_Rcvd:2>59 <RST_Sent:2>59 "
                         "<Comment:1>x\r\n<eor>\r\n\r\n"));
}

TEST(AdifExport, DerivedValuesFollowStateCountyAndCall)
{
    const AdifCountryTable table = countries();
    struct Case {
        ContactRecord c;
        const char* country;
        const char* continent;
        const char* state;
        int dxcc;
    };
    const Case cases[] = {
        // A county makes the contact a USA one whatever LogSpc says.
        {contact("KH6AB", "HI", "Adams", "CW", "20"), "USA", "NA", "HI", 291},
        {contact("JA1XYZ", "Japan", "Adams", "CW", "20"), "USA", "NA", "", 291},
        // Only A, K, N and W (upper case) make a two-letter LogSpc a US state.
        {contact("k5xyz", "TX", "", "CW", "20"), "Canada", "", "", 1},
        {contact("AA5XY", "TX", "", "CW", "20"), "USA", "NA", "TX", 291},
        // The DXCC lookup ignores blanks around the country name, not case.
        {contact("JA1XYZ", " Japan ", "", "CW", "20"), " Japan ", "", "", 339},
        {contact("JA1XYZ", "JAPAN", "", "CW", "20"), "JAPAN", "", "", 0},
        {contact("", "", "", "", ""), "", "", "ZQ", 0},
    };
    for (const auto& c : cases) {
        const AdifContactValues v = adifContactValues(c.c, QStringLiteral("ZQ"), table);
        const std::string what = (c.c.LogCall + "/" + c.c.LogSpc + "/" + c.c.LogCounty).toStdString();
        EXPECT_EQ(v.country, QString::fromLatin1(c.country)) << what;
        EXPECT_EQ(v.continent, QString::fromLatin1(c.continent)) << what;
        EXPECT_EQ(v.state, QString::fromLatin1(c.state)) << what;
        EXPECT_EQ(v.dxcc, c.dxcc) << what;
    }
    // A home-state code longer than two characters is cut to two.
    EXPECT_EQ(adifContactValues(contact("K1A", "", "", "CW", "20"), QStringLiteral("ZQX"), table)
                  .state,
              QStringLiteral("ZQ"));
}

TEST(AdifExport, DateAndTimeTexts)
{
    const std::pair<const char*, const char*> times[] = {
        {"9:05:00", "0905"}, {"18:30:00", "1830"}, {"18:30", "1830"}, {" 07:05:00 ", "0705"},
        {"1830", "1830"},    {"123456", "1234"},   {"", "0000"},
    };
    for (const auto& [in, out] : times)
        EXPECT_EQ(adifTimeText(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;

    const std::pair<const char*, const char*> dates[] = {
        {"2026/09/12", "20260912"}, {"2026/9/2", "20260902"}, {"", ""},
        {"2026/13/01", ""},         {"2026/02/30", ""},       {"soon", ""},
    };
    for (const auto& [in, out] : dates)
        EXPECT_EQ(adifDateText(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;

    // No valid date: no Qso_Date item.
    ContactRecord c = contact("K1ABC", "TX", "", "CW", "20");
    c.LogDate = QStringLiteral("2026/13/01");
    EXPECT_FALSE(formatAdifRecord(c, options(), countries()).contains("Qso_Date"));
}

TEST(AdifExport, CountryTableReadsRowsAndRefusesTheThousandAndFirst)
{
    QByteArray rows;
    for (int i = 1; i <= 1000; ++i)
        rows += "\"Country " + QByteArray::number(i) + "\"," + QByteArray::number(i) + "\r\n";
    auto full = parseAdifCountryTable(rows);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->rows.size(), 1000);
    EXPECT_EQ(full->dxccOf(QStringLiteral("Country 1000")), 1000);

    QString error;
    EXPECT_FALSE(parseAdifCountryTable(rows + "\"One too many\",1\r\n", &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("ADIFCnt.txt"))) << error.toStdString();

    // The first row of a name wins; LF line ends and a final blank line are fine.
    auto dup = parseAdifCountryTable("\"USA\",291\n\"USA\",5\n\n");
    ASSERT_TRUE(dup.has_value());
    EXPECT_EQ(dup->dxccOf(QStringLiteral("USA")), 291);

    for (const char* bad : {"\"USA\"\r\n", "\"USA\",abc\r\n", "\"USA\",99999\r\n", "\"USA,291\r\n"})
        EXPECT_FALSE(parseAdifCountryTable(bad).has_value()) << bad;
}

TEST(AdifExport, HeaderAndWholeFile)
{
    TestEnv env;
    auto& log = ContactLog::instance();
    const QByteArray header = "Exported from Brelvox's ZQ State QSO Party Logging Program 2.1\r\n"
                              "Log exported on: 9/12/2026 1:30:00 PM\r\n\r\n<EOH>\r\n\r\n";
    EXPECT_EQ(formatAdif(log, 0, options(), countries()), header);

    log[1] = contact("K1ABC", "", "Adams", "CW", "20");
    log[2] = contact("VE3ABC", "ON", "", "PH", "40");
    log.ContactCount = 2;
    const AdifCountryTable table = countries();
    EXPECT_EQ(formatAdif(log, 2, options(), table),
              header + formatAdifRecord(log[1], options(), table)
                  + formatAdifRecord(log[2], options(), table));
}

// ---------------------------------------------------------------------------
// The export with its questions, dialogs and file.

TEST(AdifExport, ExportAsksWritesAndReportsTheFile)
{
    TestEnv env;
    const auto& folders = Folders::instance();
    writeFile(folders.SharedDirectory + "/ADIFCnt.txt", kCountries);
    fillLog({contact("K1ABC", "", "Adams", "PH", "20", "18:30:00", "14.250"),
             contact("VE3ABC", "ON", "", "CW", "40", "9:05:00"),
             contact("JA1XYZ", "Japan", "", "DG", "15"),
             contact("KH6AB", "HI", "", "PH", "10"),
             contact("WL7CD", "AK", "", "CW", "160")});

    const QString target = folders.UserDirectory + "/ZQ.adi";
    env.prompt().answerInput("100");
    env.prompt().answerInput(kComment);
    env.prompt().answerFile(target);
    ExportADIF();

    const auto inputs = env.prompt().callsOf(Kind::Input);
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0].text, QString::fromLatin1(kPowerPrompt));
    EXPECT_EQ(inputs[0].title, "Please enter your transmitter output power.");
    EXPECT_EQ(inputs[0].defaultAnswer, "100");
    EXPECT_EQ(inputs[1].text, QString::fromLatin1(kCommentPrompt));
    EXPECT_EQ(inputs[1].title, "Please enter a comment.");
    EXPECT_EQ(inputs[1].defaultAnswer, kComment);

    const auto saves = env.prompt().callsOf(Kind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].text, target); // proposed name in the user folder

    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"File Written Successfully."});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"The file was successfully written to the directory:\n\n" + target + "."});
    EXPECT_EQ(env.prompt().beeps(), 0);
    EXPECT_EQ(QDir::currentPath(), QDir(env.workDir()).absolutePath());

    const QByteArray written = readFile(target);
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "Exported from Brelvox's ZQ State QSO Party Logging Program 2.1\r");
    EXPECT_TRUE(lines[1].startsWith("Log exported on: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("2026")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "\r");
    EXPECT_EQ(lines[3], "<EOH>\r");
    EXPECT_EQ(lines[4], "\r");
    const qsizetype body = written.indexOf("<EOH>\r\n\r\n") + 9;
    auto table = parseAdifCountryTable(kCountries);
    AdifExportOptions o = options();
    QByteArray records;
    for (int i = 1; i <= 5; ++i)
        records += formatAdifRecord(ContactLog::instance()[i], o, *table);
    EXPECT_EQ(written.mid(body), records);

    // An independent reader finds every record with its fields.
    const AdifFile f = readAdif(written);
    ASSERT_TRUE(f.ok) << f.error.toStdString();
    EXPECT_TRUE(f.headerText.startsWith("Exported from Brelvox's"));
    using M = QMap<QString, QString>;
    const M common{{"qso_date", "20260912"}, {"tx_pwr", "100"}, {"rst_rcvd", "59"},
                   {"rst_sent", "59"},       {"comment", kComment}};
    auto with = [&](M m) {
        for (auto it = common.begin(); it != common.end(); ++it)
            m.insert(it.key(), it.value());
        return m;
    };
    const QList<M> expected = {
        with({{"call", "K1ABC"}, {"band", "20M"}, {"mode", "SSB"}, {"freq", "14.250"},
              {"time_on", "1830"}, {"dxcc", "291"}, {"state", "ZQ"}, {"cnty", "ZQ,Adams"},
              {"cont", "NA"}}),
        with({{"call", "VE3ABC"}, {"band", "40M"}, {"mode", "CW"}, {"time_on", "0905"},
              {"dxcc", "1"}}),
        with({{"call", "JA1XYZ"}, {"band", "15M"}, {"mode", "DG"}, {"time_on", "1830"},
              {"dxcc", "339"}}),
        with({{"call", "KH6AB"}, {"band", "10M"}, {"mode", "SSB"}, {"time_on", "1830"},
              {"dxcc", "110"}, {"state", "HI"}, {"cont", "NA"}}),
        with({{"call", "WL7CD"}, {"band", "160M"}, {"mode", "CW"}, {"time_on", "1830"},
              {"dxcc", "6"}, {"state", "AK"}, {"cont", "NA"}}),
    };
    ASSERT_EQ(f.records.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(valuesOf(f.records[i]), expected[i]) << "record " << i + 1;
        EXPECT_EQ(f.records[i].value("qso_date").type, "d");
    }
}

TEST(AdifExport, EmptyLogWritesTheHeaderAloneAndCancelledBoxesLeaveItemsOut)
{
    TestEnv env;
    writeFile(env.workPath("ADIFCnt.txt"), kCountries);
    const QString target = env.documentsDir() + "/empty.adi";
    env.prompt().answerInputCancel();
    env.prompt().answerInputCancel();
    env.prompt().answerFile(target);
    ExportADIF();
    const AdifFile empty = readAdif(readFile(target));
    ASSERT_TRUE(empty.ok) << empty.error.toStdString();
    EXPECT_TRUE(empty.records.isEmpty());
    EXPECT_TRUE(readFile(target).endsWith("<EOH>\r\n\r\n"));
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"File Written Successfully."});

    env.prompt().clear();
    fillLog({contact("K1ABC", "", "Adams", "CW", "20")});
    env.prompt().answerInputCancel();
    env.prompt().answerInputCancel();
    env.prompt().answerFile(target);
    ExportADIF();
    const QByteArray bytes = readFile(target);
    EXPECT_TRUE(bytes.endsWith("<RST_Sent:2>59 <eor>\r\n\r\n")) << bytes.toStdString();
    const AdifFile one = readAdif(bytes);
    ASSERT_TRUE(one.ok) << one.error.toStdString();
    ASSERT_EQ(one.records.size(), 1);
    EXPECT_FALSE(one.records[0].contains("tx_pwr"));
    EXPECT_FALSE(one.records[0].contains("comment"));
}

TEST(AdifExport, CountryFileIsTakenFromSharedThenUserThenWorkingFolder)
{
    TestEnv env;
    const auto& folders = Folders::instance();
    // Distinct numbers for USA show which copy was read; the user copy's
    // name is spelled in another case.
    const QString shared = folders.SharedDirectory + "/ADIFCnt.txt";
    const QString user = folders.UserDirectory + "/adifcnt.TXT";
    const QString work = env.workPath("ADIFCnt.txt");
    writeFile(shared, "\"USA\",1001\r\n");
    writeFile(user, "\"USA\",1002\r\n");
    writeFile(work, "\"USA\",1003\r\n");
    fillLog({contact("K1ABC", "", "Adams", "CW", "20")});
    const QString target = env.documentsDir() + "/out.adi";
    for (const auto& [removeFirst, dxcc] :
         {std::pair<QString, const char*>{QString(), "<DXCC:4>1001"}, {shared, "<DXCC:4>1002"},
          {user, "<DXCC:4>1003"}}) {
        if (!removeFirst.isEmpty())
            QFile::remove(removeFirst);
        env.prompt().answerFile(target);
        ExportADIF();
        EXPECT_TRUE(readFile(target).contains(dxcc)) << dxcc;
    }
}

TEST(AdifExport, FailuresStopTheExportWithAMessage)
{
    TestEnv env;
    const QString target = env.documentsDir() + "/out.adi";
    fillLog({contact("K1ABC", "", "Adams", "CW", "20")});

    // No ADIFCnt.txt anywhere: reported, no save dialog, nothing written.
    env.prompt().answerFile(target);
    ExportADIF();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains("ADIFCnt.txt"));
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_TRUE(env.prompt().callsOf(Kind::SaveFile).empty());
    EXPECT_FALSE(QFile::exists(target));

    // A 1001st row: the same.
    env.prompt().clear();
    QByteArray rows;
    for (int i = 1; i <= 1001; ++i)
        rows += "\"C" + QByteArray::number(i) + "\"," + QByteArray::number(i) + "\r\n";
    writeFile(env.workPath("ADIFCnt.txt"), rows);
    env.prompt().answerFile(target);
    ExportADIF();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains("1000"));
    EXPECT_TRUE(env.prompt().callsOf(Kind::SaveFile).empty());
    EXPECT_FALSE(QFile::exists(target));

    // Cancel in the save dialog ends the export silently.
    env.prompt().clear();
    writeFile(env.workPath("ADIFCnt.txt"), kCountries);
    ExportADIF();
    EXPECT_EQ(env.prompt().callsOf(Kind::SaveFile).size(), 1u);
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
    EXPECT_EQ(env.prompt().beeps(), 0);
    EXPECT_FALSE(QFile::exists(target));
}

TEST(AdifExport, FailedWriteIsReportedAndLeavesTheOldFileWhole)
{
    TestEnv env;
    writeFile(env.workPath("ADIFCnt.txt"), kCountries);
    fillLog({contact("K1ABC", "", "Adams", "CW", "20")});
    const QString target = env.documentsDir() + "/out.adi";
    writeFile(target, "old export\r\n");
    setWriteFaultForTesting([&](const QString& p) { return p == target; });

    env.prompt().answerFile(target);
    ExportADIF();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains("No space left on device"))
        << env.prompt().messageTexts().value(0).toStdString();
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(readFile(target), QByteArray("old export\r\n"));
    EXPECT_EQ(QDir(env.documentsDir()).entryList(QDir::Files), QStringList{"out.adi"});
    EXPECT_EQ(QDir::currentPath(), QDir(env.workDir()).absolutePath());

    // A folder that does not exist is a write failure too, never a success.
    setWriteFaultForTesting(nullptr);
    env.prompt().clear();
    env.prompt().answerFile(env.documentsDir() + "/missing/out.adi");
    ExportADIF();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
}
