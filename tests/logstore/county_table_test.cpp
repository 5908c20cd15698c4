#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "platform/QuotedText.h"
#include "support/TestEnv.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::TestEnv;

TEST(CountyFile, ShipsCarvoniasSeventySevenCounties)
{
    TestEnv env;
    env.seedDataFile("county2.txt");
    QByteArray content = env.readWorkFile("county2.txt");
    ASSERT_TRUE(content.endsWith("\r\n"));
    EXPECT_FALSE(content.replace("\r\n", "").contains('\n')); // CR LF line ends only

    QSet<QString> names, abbreviations;
    int homeRows = 0, otherRows = 0;
    for (const QString& line : splitLines(env.readWorkFile("county2.txt"))) {
        auto v = parseQuotedLine(line);
        ASSERT_TRUE(v && v->size() == 2 && (*v)[0].quoted && (*v)[1].quoted) << line.toStdString();
        const QString first = (*v)[0].text;
        const QString abbr = (*v)[1].text;
        if (!first.startsWith("ZQ")) {
            ++otherRows;
            continue;
        }
        ++homeRows;
        const QString name = first.mid(2);
        EXPECT_EQ(abbr, abbr.toUpper()) << line.toStdString();
        EXPECT_FALSE(abbr.isEmpty()) << line.toStdString();
        EXPECT_LT(abbr.size(), name.size()) << line.toStdString();
        names.insert(name);
        abbreviations.insert(abbr);
    }
    EXPECT_EQ(homeRows, 77);
    EXPECT_EQ(names.size(), 77);
    EXPECT_EQ(abbreviations.size(), 77);
    EXPECT_GE(otherRows, 4);

    ASSERT_TRUE(LoadCountyTable());
    EXPECT_EQ(CountyTable::instance().count(), 77);
}

TEST(CountyTable, LoadsHomeRowsOnlyWithExactCode)
{
    TestEnv env;
    env.writeWorkFile("County2.txt", "\"OHAdams\",\"ADAM\"\r\n"
                                     "\"ZQAshcombe\",\"ASHC\"\r\n"
                                     "\"zqLowland\",\"LOWL\"\r\n"
                                     "\"ZQ\",\"NONE\"\r\n"
                                     "\"ZqMixed\",\"MIX\"\r\n"
                                     "\"ZQBrennan\",\"brn\"\r\n"
                                     "\"ZQCarrow\",\"ASHC\"\r\n"
                                     "\"ZQDunmore\",\"\"\n");
    ASSERT_TRUE(LoadCountyTable());
    const auto& t = CountyTable::instance();
    ASSERT_EQ(t.count(), 5);
    EXPECT_EQ(t.CountyName[1], "Ashcombe");
    EXPECT_EQ(t.CountyAbbrev[1], "ASHC");
    EXPECT_EQ(t.CountyName[2], ""); // a first value of just the code
    EXPECT_EQ(t.CountyName[3], "Brennan");
    EXPECT_EQ(t.CountyName[5], "Dunmore");

    struct Case {
        const char* typed;
        const char* upper;
        const char* county;
    };
    const Case cases[] = {
        {"ashc", "ASHC", "Ashcombe"}, // typed small, stored in capitals; first of two wins
        {"ASHC", "ASHC", "Ashcombe"}, {"brn", "BRN", ""}, // stored small: never found
        {"adam", "ADAM", ""},         // another state's row was not loaded
        {"none", "NONE", ""},         {"", "", "Dunmore"}, // only an empty abbreviation matches ""
        {"ASH", "ASH", ""},
    };
    for (const auto& c : cases) {
        QString text = QString::fromLatin1(c.typed);
        EXPECT_EQ(CountyNameFromAbbreviation(text), QString::fromLatin1(c.county)) << c.typed;
        EXPECT_EQ(text, QString::fromLatin1(c.upper)) << c.typed;
    }
}

TEST(CountyTable, EmptyTextFindsNothingWithoutAnEmptyAbbreviation)
{
    TestEnv env;
    env.writeWorkFile("county2.txt", "\"ZQAshcombe\",\"ASHC\"\r\n");
    ASSERT_TRUE(LoadCountyTable());
    QString text;
    EXPECT_EQ(CountyNameFromAbbreviation(text), "");
}

TEST(CountyTable, LoadFailuresKeepTheCountiesReadBeforeThem)
{
    QByteArray over;
    for (int i = 1; i <= 1001; ++i)
        over += QStringLiteral("\"ZQCounty%1\",\"C%1\"\r\n").arg(i).toLatin1();
    struct Case {
        const char* name;
        std::optional<QByteArray> file;
        int kept;
    };
    const Case cases[] = {
        {"missing file", std::nullopt, 0},
        {"row with one value", "\"ZQAshcombe\",\"ASHC\"\r\n\"ZQBrennan\"\r\n\"ZQCarrow\",\"CARR\"\r\n", 1},
        {"quote not closed", "\"ZQAshcombe\",\"ASHC\"\r\n\"ZQBrennan\",\"BR\r\n", 1},
        {"1001 home counties", over, 1000},
    };
    for (const auto& c : cases) {
        TestEnv env;
        if (c.file)
            env.writeWorkFile("county2.txt", *c.file);
        QString error;
        EXPECT_FALSE(LoadCountyTable(&error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(CountyTable::instance().count(), c.kept) << c.name;
    }
}

// The counties as the lines of the file's text give them: the text split
// at its line ends, each line parsed as a quoted line; the number of the
// first line that is not a county row.
TEST(CountyTable, ReadsTheRowsAsTheLinesOfTheText)
{
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"Latin-1, unquoted values in white space",
         "\"ZQAshcombe\",\"ASHC\"\r\n \xA0ZQL\xE4nd\xA0 , LAND\xA0\r\n\"ZQBrennan\",BREN\r\n"},
        {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF\"ZQ\xC3\x9C" "ber\",\"UBER\"\r\n\"ZQCarrow\",\"CARR\"\n"},
        {"blank lines at the end", "\"ZQAshcombe\",\"ASHC\"\r\n\r\n \t\r\n"},
        {"a blank line inside", "\"ZQAshcombe\",\"ASHC\"\r\n\r\n\"ZQBrennan\",\"BREN\"\r\n"},
        {"an unclosed quote", "\"ZQAshcombe\",\"ASHC\"\r\n\"OHAdams\",\"ADAM\"\r\n\"ZQBrennan,\"BREN\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnv env;
        env.writeWorkFile("county2.txt", c.content);
        QStringList names, abbreviations;
        int badLine = 0;
        const QStringList lines = splitLines(c.content);
        for (int n = 0; n < lines.size() && !badLine; ++n) {
            const auto v = parseQuotedLine(lines[n]);
            if (!v || v->size() != 2)
                badLine = n + 1;
            else if (v->at(0).text.startsWith("ZQ"))
                names << v->at(0).text.mid(2), abbreviations << v->at(1).text;
        }
        QString why;
        EXPECT_EQ(LoadCountyTable(&why), badLine == 0);
        if (badLine)
            EXPECT_EQ(why, QStringLiteral("county2.txt line %1 is not a county row").arg(badLine));
        const CountyTable& t = CountyTable::instance();
        ASSERT_EQ(t.count(), names.size());
        for (int i = 1; i <= t.count(); ++i) {
            EXPECT_EQ(t.CountyName[size_t(i)], names[i - 1]) << i;
            EXPECT_EQ(t.CountyAbbrev[size_t(i)], abbreviations[i - 1]) << i;
        }
    }
}

// Each load starts from the empty table, whatever the one before held or
// how it ended.
TEST(CountyTable, EachLoadStartsEmpty)
{
    TestEnv env;
    env.writeWorkFile("county2.txt", "\"ZQAshcombe\",\"ASHC\"\r\n\"ZQBrennan\",\"BREN\"\r\n"
                                     "\"ZQCarrow\",\"CARR\"\r\n");
    ASSERT_TRUE(LoadCountyTable());
    ASSERT_EQ(CountyTable::instance().count(), 3);
    env.writeWorkFile("county2.txt", "\"ZQDunmore\",\"DUNM\"\r\n\"ZQEast\"\r\n");
    EXPECT_FALSE(LoadCountyTable());
    env.writeWorkFile("county2.txt", "\"ZQFenwick\",\"FENW\"\r\n");
    ASSERT_TRUE(LoadCountyTable());
    const CountyTable& t = CountyTable::instance();
    EXPECT_EQ(t.count(), 1);
    EXPECT_EQ(t.CountyName[1], "Fenwick");
    for (size_t i = 2; i < t.CountyName.size(); ++i) {
        EXPECT_TRUE(t.CountyName[i].isEmpty()) << i;
        EXPECT_TRUE(t.CountyAbbrev[i].isEmpty()) << i;
    }
    for (const char* gone : {"ASHC", "BREN", "DUNM"}) {
        QString text = QString::fromLatin1(gone);
        EXPECT_EQ(CountyNameFromAbbreviation(text), "") << gone;
    }
}

TEST(KeyFilters, UpperKeyAndDigitKey)
{
    struct Case {
        int code;
        int upper;
        int digit;
    };
    const Case cases[] = {
        {'a', 'A', 0}, {'z', 'Z', 0}, {'M', 'M', 0},  {'5', '5', '5'}, {'0', '0', '0'},
        {'9', '9', '9'}, {8, 8, 8},   {9, 9, 0},      {13, 13, 0},    {' ', ' ', 0},
        {'"', 0, 0},   {'{', '{', 0}, {'`', '`', 0},  {'/', '/', 0},  {':', ':', 0},
    };
    for (const auto& c : cases) {
        int u = c.code;
        UpperKey(u);
        EXPECT_EQ(u, c.upper) << c.code;
        int d = c.code;
        DigitKey(d);
        EXPECT_EQ(d, c.digit) << c.code;
    }
}
