// The country and state tables: the shipped data and the loaders.

#include "platform/Folders.h"
#include "logstore/PositionTables.h"
#include "logstore/SectionTable.h"
#include "platform/QuotedText.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace zq;

namespace {

QByteArray shipped(const char* name)
{
    QFile f(QStringLiteral(ZQ_SOURCE_DIR "/data/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray countryRows(int count, const char* name = "Land")
{
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += QStringLiteral("\"P%1\",\"%2 %1\",\"EU\",-10.5,45.25,14,27,0\r\n")
                   .arg(i, 5, 10, QLatin1Char('0'))
                   .arg(QLatin1String(name))
                   .toUtf8();
    return out;
}

} // namespace

TEST(ShippedCountryFile, IsSortedParsableAndNamesTheMainCountries)
{
    const QByteArray content = shipped("arrlpre2.txt");
    ASSERT_FALSE(content.isEmpty());
    EXPECT_EQ(content.count("\r\n"), content.count('\n')) << "every line ends with CR LF";

    const QStringList rows = splitLines(content);
    ASSERT_GT(rows.size(), 300);
    ASSERT_LE(rows.size(), CountryTable::Capacity);

    QString previous;
    QSet<QString> prefixes;
    QMap<QString, QString> countryOf;
    for (const QString& row : rows) {
        const auto v = parseQuotedLine(row);
        ASSERT_TRUE(v.has_value()) << row.toStdString();
        ASSERT_EQ(v->size(), 8) << row.toStdString();
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(v->at(i).quoted) << row.toStdString();
        double lon = 0, lat = 0;
        EXPECT_TRUE(parseNumber(v->at(3), &lon)) << row.toStdString();
        EXPECT_TRUE(parseNumber(v->at(4), &lat)) << row.toStdString();
        EXPECT_TRUE(lon >= -180 && lon <= 180 && lat >= -90 && lat <= 90) << row.toStdString();
        const QString prefix = v->at(0).text;
        const QString name = v->at(1).text;
        EXPECT_FALSE(prefix.isEmpty());
        EXPECT_EQ(prefix, prefix.toUpper());
        EXPECT_FALSE(name.isEmpty());
        EXPECT_FALSE(name.contains(QLatin1Char(','))) << row.toStdString();
        EXPECT_TRUE(QStringList({"NA", "SA", "EU", "AF", "AS", "OC", "AN"}).contains(v->at(2).text))
            << row.toStdString();
        // Character order, each prefix once.
        EXPECT_LT(previous, prefix) << row.toStdString();
        previous = prefix;
        prefixes.insert(prefix);
        countryOf[prefix] = name;
    }

    for (const char* p : {"K", "N", "W", "AA", "AB", "AC", "AD", "AE", "AF", "AG", "AI", "AJ", "AK"})
        EXPECT_EQ(countryOf.value(QLatin1String(p)), "USA") << p;
    for (const char* p : {"VA", "VE", "VO", "VY"})
        EXPECT_EQ(countryOf.value(QLatin1String(p)), "Canada") << p;
    for (const char* p : {"KL", "AL"})
        EXPECT_EQ(countryOf.value(QLatin1String(p)), "Alaska") << p;
    for (const char* p : {"KH6", "AH6"})
        EXPECT_EQ(countryOf.value(QLatin1String(p)), "Hawaii") << p;
    EXPECT_EQ(countryOf.value("KG4"), "Guantanamo Bay");
}

TEST(ShippedStateFile, HoldsTheFiftyStatesOfTheSectionTable)
{
    const QByteArray content = shipped("states.txt");
    EXPECT_EQ(content.count("\r\n"), content.count('\n'));
    const QStringList rows = splitLines(content);
    ASSERT_EQ(rows.size(), 50);

    SectionTable sections;
    sections.build();
    QStringList expected;
    for (int i = 1; i <= 50; ++i)
        expected << sections.SectionCode[i];
    EXPECT_TRUE(expected.contains("ZQ"));

    QStringList codes;
    for (const QString& row : rows) {
        const auto v = parseQuotedLine(row);
        ASSERT_TRUE(v.has_value());
        ASSERT_EQ(v->size(), 3) << row.toStdString();
        double lat = 0, lon = 0;
        ASSERT_TRUE(parseNumber(v->at(1), &lat));
        ASSERT_TRUE(parseNumber(v->at(2), &lon));
        // Latitude first; US longitudes are west, so positive.
        EXPECT_TRUE(lat > 18 && lat < 72) << row.toStdString();
        EXPECT_TRUE(lon > 60 && lon < 180) << row.toStdString();
        codes << v->at(0).text;
    }
    QStringList a = codes, b = expected;
    a.sort();
    b.sort();
    EXPECT_EQ(a, b);
}

TEST(LoadCountryTable, TakesTheShippedFileWhole)
{
    test::TestEnv env;
    env.seedDataFile("arrlpre2.txt");
    EXPECT_EQ(LoadCountryTable(), TableLoad::Ok);
    const CountryTable& t = CountryTable::instance();
    EXPECT_EQ(t.CountryCount, splitLines(shipped("arrlpre2.txt")).size());
    int k = 0;
    for (int i = 1; i <= t.CountryCount; ++i)
        if (t.CountryPrefix[i] == QLatin1String("K"))
            k = i;
    ASSERT_GT(k, 0);
    EXPECT_EQ(t.CountryName[k], "USA");
    EXPECT_EQ(t.CountryContinent[k], "NA");
    EXPECT_GT(t.CountryLongitude[k], 60.f); // west is positive
    EXPECT_GT(t.CountryLatitude[k], 20.f);
}

TEST(LoadCountryTable, LooksInTheSharedThenTheUserThenTheWorkingFolder)
{
    test::TestEnv env;
    const Folders& f = Folders::instance();
    writeFile(f.WorkingDirectory + "/arrlpre2.txt", countryRows(1, "Working"));
    writeFile(f.UserDirectory + "/ARRLPRE2.TXT", countryRows(1, "User"));
    writeFile(f.SharedDirectory + "/arrlpre2.txt", countryRows(1, "Shared"));
    EXPECT_EQ(LoadCountryTable(), TableLoad::Ok);
    EXPECT_EQ(CountryTable::instance().CountryName[1], "Shared 00001");

    QFile::remove(f.SharedDirectory + "/arrlpre2.txt");
    CountryTable::instance() = CountryTable{};
    EXPECT_EQ(LoadCountryTable(), TableLoad::Ok);
    EXPECT_EQ(CountryTable::instance().CountryName[1], "User 00001");

    QFile::remove(f.UserDirectory + "/ARRLPRE2.TXT");
    CountryTable::instance() = CountryTable{};
    EXPECT_EQ(LoadCountryTable(), TableLoad::Ok);
    EXPECT_EQ(CountryTable::instance().CountryName[1], "Working 00001");

    QFile::remove(f.WorkingDirectory + "/arrlpre2.txt");
    CountryTable::instance() = CountryTable{};
    EXPECT_EQ(LoadCountryTable(), TableLoad::Missing);
    EXPECT_EQ(CountryTable::instance().CountryCount, 0);
}

TEST(LoadCountryTable, CapacityIsTenThousandRows)
{
    test::TestEnv env;
    env.writeWorkFile("arrlpre2.txt", countryRows(CountryTable::Capacity));
    EXPECT_EQ(LoadCountryTable(), TableLoad::Ok);
    EXPECT_EQ(CountryTable::instance().CountryCount, CountryTable::Capacity);
    EXPECT_EQ(CountryTable::instance().CountryName[CountryTable::Capacity], "Land 10000");

    CountryTable::instance() = CountryTable{};
    env.writeWorkFile("arrlpre2.txt", countryRows(CountryTable::Capacity + 1));
    QString why;
    EXPECT_EQ(LoadCountryTable(&why), TableLoad::Failed);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(CountryTable::instance().CountryCount, CountryTable::Capacity);
}

TEST(LoadCountryTable, ADamagedRowStopsTheLoadAndIsNotCounted)
{
    test::TestEnv env;
    const char* damaged[] = {
        "\"X\",\"Broken\",\"EU\",east,45,14,27,0\r\n", // longitude not a number
        "\"X\",\"Broken\",\"EU\",10,45\r\n",           // too few values
        "\"X,\"Broken\",\"EU\",10,45,14,27,0\r\n",     // unclosed quote
        "\"X\",\"Broken\",\"EU\",1e40,45,14,27,0\r\n", // not a number of this form
    };
    for (const char* row : damaged) {
        CountryTable::instance() = CountryTable{};
        env.writeWorkFile("arrlpre2.txt", countryRows(2) + QByteArray(row) + countryRows(1));
        EXPECT_EQ(LoadCountryTable(), TableLoad::Failed) << row;
        EXPECT_EQ(CountryTable::instance().CountryCount, 2) << row;
        EXPECT_TRUE(CountryTable::instance().CountryName[3].isEmpty()) << row;
    }
}

// The rows as the lines of the file's text give them: the text split at
// its line ends, blank lines (white space of any kind) passed over, each
// other line parsed as a quoted line.  Empty when a line is damaged, with
// its number.
struct TextRows {
    std::vector<QList<QuotedValue>> rows;
    int damagedLine = 0;
};
TextRows rowsOfText(const QByteArray& content)
{
    TextRows out;
    const QStringList lines = splitLines(content);
    for (int n = 0; n < lines.size(); ++n) {
        if (lines[n].trimmed().isEmpty())
            continue;
        const auto v = parseQuotedLine(lines[n]);
        float x = 0;
        if (!v || v->size() != 8 || !parseSingle(v->at(3), &x) || !parseSingle(v->at(4), &x)) {
            out.damagedLine = n + 1;
            return out;
        }
        out.rows.push_back(*v);
    }
    return out;
}

TEST(LoadCountryTable, ReadsTheRowsAsTheLinesOfTheText)
{
    const QByteArray row = "\"Q\",\"Row\",\"OC\",1,2,0,0,0\r\n";
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"blank lines of blanks, tabs and a CR",
         row + "   \r\n\t\r\n\r\r\n\"P2\",\"Land B\",\"AS\",20,30,0,0,0\n" + row},
        {"Latin-1 with a no-break space line and unquoted values in white space",
         row + "\xA0\r\n\"P2\", Land\xA0 ,\"AS\", \xA0" "20 ,30,0,0,0\r\n\"P3\",\"L\xE4nd\",\"AF\",1,2,0,0,0\r\n"},
        {"UTF-8 after a byte-order mark with a no-break space line",
         "\xEF\xBB\xBF" + row + "\xC2\xA0\r\n\"P2\",\"\xC3\x9C\",\"EU\",3,4,0,0,0\r\n"},
        {"blank lines at the end", row + row + "\r\n \r\n\t\r\n"},
        {"a damaged line counted after blank lines", row + "\r\n  \r\n\"P2\",\"B\",\"EU\",x,4,0,0,0\r\n" + row},
        {"an unclosed quote after a blank line", row + "\t\r\n\"P2,\"B\",\"EU\",3,4,0,0,0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestEnv env;
        CountryTable::instance() = CountryTable{};
        env.writeWorkFile("arrlpre2.txt", c.content);
        QString why;
        const TableLoad load = LoadCountryTable(&why);
        const TextRows want = rowsOfText(c.content);
        EXPECT_EQ(load, want.damagedLine ? TableLoad::Failed : TableLoad::Ok);
        if (want.damagedLine)
            EXPECT_EQ(why, QStringLiteral("arrlpre2.txt: line %1 is damaged").arg(want.damagedLine));
        const CountryTable& t = CountryTable::instance();
        ASSERT_EQ(t.CountryCount, int(want.rows.size()));
        for (int i = 1; i <= t.CountryCount; ++i) {
            const QList<QuotedValue>& v = want.rows[size_t(i - 1)];
            EXPECT_EQ(t.CountryPrefix[i], v[0].text) << i;
            EXPECT_EQ(t.CountryName[i], v[1].text) << i;
            EXPECT_EQ(t.CountryContinent[i], v[2].text) << i;
        }
    }
}

TEST(LoadStateTable, ReadsFiftyRowsLatitudeFirst)
{
    test::TestEnv env;
    env.seedDataFile("states.txt");
    EXPECT_EQ(LoadStateTable(), TableLoad::Ok);
    const StateTable& t = StateTable::instance();
    int zq = 0;
    for (int i = 1; i <= 50; ++i) {
        EXPECT_EQ(t.StateCode[i].size(), 2) << i;
        if (t.StateCode[i] == QLatin1String("ZQ"))
            zq = i;
    }
    ASSERT_GT(zq, 0);
    // Carvonia sits at the geographic centre of the contiguous United States.
    EXPECT_FLOAT_EQ(t.StateLatitude[zq], 39.8f);
    EXPECT_FLOAT_EQ(t.StateLongitude[zq], 98.6f);
    for (int i = 51; i <= StateTable::Capacity; ++i)
        EXPECT_TRUE(t.StateCode[i].isEmpty());
}

TEST(LoadStateTable, MissingShortAndDamagedFiles)
{
    test::TestEnv env;
    EXPECT_EQ(LoadStateTable(), TableLoad::Missing);

    QByteArray rows;
    for (int i = 1; i <= 49; ++i)
        rows += QStringLiteral("\"S%1\",40.5,90.25\r\n").arg(i).toUtf8();
    env.writeWorkFile("states.txt", rows);
    EXPECT_EQ(LoadStateTable(), TableLoad::Failed);
    EXPECT_EQ(StateTable::instance().StateCode[49], "S49");
    EXPECT_FLOAT_EQ(StateTable::instance().StateLatitude[49], 40.5f);
    EXPECT_FLOAT_EQ(StateTable::instance().StateLongitude[49], 90.25f);

    StateTable::instance() = StateTable{};
    env.writeWorkFile("states.txt", rows + "\"S50\",north,90\r\n");
    EXPECT_EQ(LoadStateTable(), TableLoad::Failed);
    EXPECT_TRUE(StateTable::instance().StateCode[50].isEmpty());

    // Rows past the fiftieth are not read.
    StateTable::instance() = StateTable{};
    env.writeWorkFile("states.txt", rows + "\"S50\",41,91\r\n\"S51\",42,92\r\n");
    EXPECT_EQ(LoadStateTable(), TableLoad::Ok);
    EXPECT_EQ(StateTable::instance().StateCode[50], "S50");
    EXPECT_TRUE(StateTable::instance().StateCode[51].isEmpty());
}
