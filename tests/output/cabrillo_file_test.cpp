// The submission file's bytes: header, QSO lines at their columns for both
// log variants, and the values the header and the lines derive.

#include "output/CabrilloFile.h"
#include "support/TestContacts.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

CabrilloHeader header(const QString& ownCall)
{
    CabrilloHeader h;
    h.programVersion = QStringLiteral("2.1");
    h.ownCall = ownCall;
    h.ownArrlSection = QStringLiteral("IL");
    h.homeStateCode = QStringLiteral("ZQ");
    h.category = QStringLiteral("CARVONIA SINGLE-OP LOW");
    h.claimedScore = QStringLiteral("1,234");
    h.name = QStringLiteral("Pat Example");
    h.addressLine1 = QStringLiteral("12 Main Street ");
    h.addressLine2 = QStringLiteral("Springfield, IL 62701");
    h.email = QStringLiteral("pat@example.org");
    h.soapbox = QStringLiteral("Great fun!");
    return h;
}

QByteArray lines(std::initializer_list<const char*> text)
{
    QByteArray out;
    for (const char* line : text)
        out += QByteArray(line) + "\r\n";
    return out;
}

ContactLog& logOf(ContactLog& log, std::initializer_list<ContactRecord> contacts)
{
    log.reset();
    for (const ContactRecord& c : contacts)
        log[++log.ContactCount] = c;
    return log;
}

} // namespace

TEST(CabrilloFile, OutOfStateLogBytes)
{
    ContactLog log;
    logOf(log,
          {contactRecord("W1AW", "599", "599", "", "Alderbrook", "", "2026/09/12", "18:05:00"),
           // a band the table does not know, a time entered after the contest
           contactRecord("K2AB", "59", "59", "", "Ashcombe", "", "2026/09/12", "18:07", "PH", "2"),
           // long RS(T) values push what follows one blank along; the call is cut
           contactRecord("VE3/W1ABCDEFG", "5999", "59999", "", "Alderbrook", "", "2026/09/12",
                         "18:10:00", "DG", "30"),
           // no county: the received exchange is empty, the line keeps its blanks
           contactRecord("N3CD", "599", "599", "", "", "", "2026/09/13", "01:02:00", "CW", "160"),
           contactRecord("W4EF", "59", "59", "", "Ashcombe", "Ignored", "2026/09/13", "02:03:00",
                         "PH", "6")});
    const CabrilloStation station{QStringLiteral("K9XYZ"), QStringLiteral("IL"), true};

    const QByteArray expected = lines({
        "START-OF-LOG: 2.0",
        "CREATED-BY: Brelvox's ZQ State QSO Party Program 2.1",
        "CALLSIGN: K9XYZ",
        "ARRL-SECTION: IL",
        "CONTEST: State QSO Party - ZQ",
        "CATEGORY: CARVONIA SINGLE-OP LOW",
        "OPERATORS: K9XYZ",
        "CLAIMED-SCORE: 1,234",
        "NAME: Pat Example",
        "ADDRESS: 12 Main Street ",
        "ADDRESS: Springfield, IL 62701",
        "ADDRESS: (e-mail) pat@example.org",
        "SOAPBOX: Great fun!",
        "QSO: 14000 CW 2026-09-12 1805 K9XYZ      599 IL        W1AW       599 Alderbrook",
        "QSO:       PH 2026-09-12 1807 K9XYZ      59  IL        K2AB       59  Ashcombe",
        "QSO:       DG 2026-09-12 1810 K9XYZ      5999 IL       VE3/W1ABC  59999 Alderbrook",
        "QSO:  1800 CW 2026-09-13 0102 K9XYZ      599 IL        N3CD       599 ",
        "QSO:    50 PH 2026-09-13 0203 K9XYZ      59  IL        W4EF       59  Ashcombe",
        "END-OF-LOG:",
    });
    EXPECT_EQ(formatCabrillo(header(QStringLiteral("K9XYZ")), station, log, log.ContactCount),
              expected);
}

TEST(CabrilloFile, InStateLogBytes)
{
    ContactLog log;
    logOf(log,
          {// home-state station: its county in full; own county cut to 9, then trimmed
           contactRecord("W1AW", "599", "599", "ZQ", "Pembrook Valley Long", "Red Oak  Flats",
                         "2026/9/5", "18:05:00", "CW", "80"),
           // a state; a date that is no calendar date keeps its digits
           contactRecord("K2AB", "59", "59", "IL", "", "Red Oak  Flats", "2026/02/30", "18:06:00",
                         "PH", "40"),
           // a province; an own county of 11 characters shows its first 9
           contactRecord("VE3XYZ", "599", "599", "ON", "", "Alderbrooks", "2026/09/12",
                         "18:07:00", "CW", "15"),
           // a country name; no own county recorded
           contactRecord("DL1ABC", "599", "599", "Germany", "", "", "2026/09/12", "18:08:00",
                         "DG", "10")});
    const CabrilloStation station{QStringLiteral("N9ZQABCDEFG"), QStringLiteral("ZQ"), false};
    CabrilloHeader h = header(QStringLiteral("N9ZQABCDEFG"));
    h.operators = QStringLiteral("N9ZQABCDEFG K9XYZ");

    const QByteArray bytes = formatCabrillo(h, station, log, log.ContactCount);
    const QList<QByteArray> got = bytes.split('\n');
    ASSERT_EQ(got.size(), 13 + 4 + 1 + 1); // the last line end leaves an empty piece
    EXPECT_EQ(got[2], "CALLSIGN: N9ZQABCDEFG\r");
    EXPECT_EQ(got[6], "OPERATORS: N9ZQABCDEFG K9XYZ\r");
    const QByteArray expectedQso = lines({
        "QSO:  3500 CW 2026-09-05 1805 N9ZQABCDE  599 Red Oak   W1AW       599 Pembrook Valley Long",
        "QSO:  7000 PH 2026-02-30 1806 N9ZQABCDE  59  Red Oak   K2AB       59  IL",
        "QSO: 21000 CW 2026-09-12 1807 N9ZQABCDE  599 Alderbroo VE3XYZ     599 ON",
        "QSO: 28000 DG 2026-09-12 1808 N9ZQABCDE  599           DL1ABC     599 DX",
        "END-OF-LOG:",
    });
    EXPECT_TRUE(bytes.endsWith(expectedQso)) << bytes.constData();
}

TEST(CabrilloFile, EmptyLogAndEmptyAnswers)
{
    ContactLog log;
    log.reset();
    CabrilloHeader h;
    h.programVersion = QStringLiteral("2.1");
    h.ownCall = QStringLiteral("K9XYZ");
    h.homeStateCode = QStringLiteral("ZQ");
    const QByteArray expected = lines({
        "START-OF-LOG: 2.0",
        "CREATED-BY: Brelvox's ZQ State QSO Party Program 2.1",
        "CALLSIGN: K9XYZ",
        "ARRL-SECTION: ",
        "CONTEST: State QSO Party - ZQ",
        "CATEGORY: ",
        "OPERATORS: K9XYZ",
        "CLAIMED-SCORE: ",
        "NAME: ",
        "ADDRESS: ",
        "ADDRESS: ",
        "ADDRESS: (e-mail) ",
        "SOAPBOX: ",
        "END-OF-LOG:",
    });
    EXPECT_EQ(formatCabrillo(h, CabrilloStation{}, log, 0), expected);

    // Operators holding only blanks are kept; CR and LF never break a line,
    // so the header keeps its 13 lines; text is written as UTF-8.
    h.operators = QStringLiteral("   ");
    h.name = QStringLiteral("Ren\u00e9e\r\nO'Neil");
    h.soapbox = QStringLiteral("line one\nline two");
    const QList<QByteArray> got = formatCabrillo(h, CabrilloStation{}, log, 0).split('\n');
    ASSERT_EQ(got.size(), 15);
    EXPECT_EQ(got[6], "OPERATORS:    \r");
    EXPECT_EQ(got[8], QByteArray("NAME: Ren\xc3\xa9" "e  O'Neil\r"));
    EXPECT_EQ(got[12], "SOAPBOX: line one line two\r");
    EXPECT_EQ(got[13], "END-OF-LOG:\r");
}

TEST(CabrilloFile, CategoryFollowsEveryOption)
{
    using L = CabrilloLocation;
    using C = CabrilloCategory;
    using P = CabrilloPower;
    const struct {
        L location;
        C category;
        P power;
        const char* expected;
    } cases[] = {
        {L::Carvonia, C::SingleOp, P::Low, "CARVONIA SINGLE-OP LOW"}, // the design defaults
        {L::Carvonia, C::SingleOp, P::High, "CARVONIA SINGLE-OP HIGH"},
        {L::World, C::MultiOne, P::Low, "WORLD MULTI-ONE"},
        {L::World, C::MultiMulti, P::High, "WORLD MULTI-MULTI"},
        {L::Carvonia, C::Rover, P::Low, "CARVONIA ROVER"},
        {L::Carvonia, C::Qrp, P::High, "CARVONIA QRP"},
        {L::World, C::SingleOp, P::None, "WORLD SINGLE-OP"},
        {L::None, C::None, P::High, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cabrilloCategory(c.location, c.category, c.power), QLatin1String(c.expected));
}

TEST(CabrilloFile, FieldValues)
{
    const struct {
        const char* stored;
        const char* expected;
    } dates[] = {
        {"2026/09/12", "2026-09-12"}, {"2026/9/5", "2026-09-05"}, {"2026/02/30", "2026-02-30"},
        {"2026/13/01", "2026-13-01"}, {"12/09/2026", "12-09-2026"}, {"", ""},
        {"2026/09/12/", "2026-09-12-"}, {" 2026/9/5", " 2026-9-5"},
    };
    for (const auto& d : dates)
        EXPECT_EQ(cabrilloDate(QLatin1String(d.stored)), QLatin1String(d.expected)) << d.stored;

    EXPECT_EQ(cabrilloTime(QStringLiteral("18:05:59")), QStringLiteral("1805"));
    EXPECT_EQ(cabrilloTime(QStringLiteral("18:05")), QStringLiteral("1805"));
    EXPECT_EQ(cabrilloTime(QStringLiteral("8:05")), QStringLiteral("8:5"));
    EXPECT_EQ(cabrilloTime(QString()), QString());

    const char* bands[][2] = {{"160", " 1800"}, {"80", " 3500"}, {"40", " 7000"},
                              {"20", "14000"},  {"15", "21000"}, {"10", "28000"},
                              {"6", "   50"},   {"2", ""},       {"30", ""},
                              {"06", ""},       {"20 ", ""}};
    for (const auto& b : bands)
        EXPECT_EQ(cabrilloFrequency(QLatin1String(b[0])), QLatin1String(b[1])) << b[0];
}

TEST(CabrilloFile, ScoreCarriesCommaGroupingInEveryLocale)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(cabrilloScoreText(QStringLiteral("0"), english), QStringLiteral("0"));
    EXPECT_EQ(cabrilloScoreText(QStringLiteral("999"), german), QStringLiteral("999"));
    EXPECT_EQ(cabrilloScoreText(QStringLiteral("12,345,678"), english),
              QStringLiteral("12,345,678"));
    EXPECT_EQ(cabrilloScoreText(german.toString(qlonglong(1234)), german), QStringLiteral("1,234"));
    EXPECT_EQ(cabrilloScoreText(french.toString(qlonglong(1234567)), french),
              QStringLiteral("1,234,567"));
    EXPECT_EQ(cabrilloScoreText(QString(), english), QString());
}
