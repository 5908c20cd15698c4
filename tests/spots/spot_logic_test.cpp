// The plain steps of the spots: the frequency check, the call prefix, the
// spot-list cells, the store's shifting and same-call drop, the country
// lookup and the band map's scale, places, colours and details.

#include "logstore/PositionTables.h"
#include "spots/BandMapScale.h"
#include "spots/SpotCountryLookup.h"
#include "spots/SpotStore.h"
#include "support/TestEnv.h"

#include <QTimeZone>
#include <set>
#include <gtest/gtest.h>

using namespace zq;

namespace {

const QString kLine = QStringLiteral(
    "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z");

// The record a spot line hands on: from its fourth character, blanks trimmed.
QString recordOf(const QString& line)
{
    return line.mid(3).trimmed();
}

} // namespace

TEST(SpotFrequency, OnlyPlainNumbersPass)
{
    struct Case {
        const char* text;
        bool ok;
        double mhz;
    };
    for (const Case c : {Case{"14025.0", true, 14.025}, Case{"14025", true, 14.025},
                         Case{"+7010.5", true, 7.0105}, Case{"-5", true, -0.005},
                         Case{".5", true, 0.0005}, Case{"3500.", true, 3.5},
                         Case{"", false, 0}, Case{".", false, 0}, Case{"+", false, 0},
                         Case{"1e4", false, 0}, Case{"0x10", false, 0}, Case{"14,025.0", false, 0},
                         Case{"14 025", false, 0}, Case{" 14025", false, 0}, Case{"1.2.3", false, 0},
                         Case{"--5", false, 0}, Case{"inf", false, 0}, Case{"nan", false, 0},
                         Case{"١٤٠٢٥", false, 0}}) {
        const auto mhz = spotFrequencyMHz(QString::fromUtf8(c.text));
        EXPECT_EQ(mhz.has_value(), c.ok) << c.text;
        if (mhz && c.ok)
            EXPECT_DOUBLE_EQ(*mhz, c.mhz) << c.text;
    }
    // Beyond single precision in MHz, or beyond double precision at all.
    EXPECT_TRUE(spotFrequencyMHz(QStringLiteral("3") + QString(40, u'0')).has_value());
    EXPECT_FALSE(spotFrequencyMHz(QStringLiteral("1") + QString(42, u'0')).has_value());
    EXPECT_FALSE(spotFrequencyMHz(QString(350, u'9')).has_value());
    EXPECT_EQ(spotNumberText(14025.0 / 1000), QStringLiteral("14.025"));
    EXPECT_EQ(spotNumberText(144300.0 / 1000), QStringLiteral("144.3"));
    EXPECT_EQ(spotNumberText(1.0 / 3), QStringLiteral("0.333333333333333"));
}

TEST(SpotCallPrefix, FollowsTheDigitAndSlashRules)
{
    const std::pair<const char*, const char*> cases[] = {
        {"QA1BC", "QA1"},       {"QAB1CDE", "QAB1"},   {"3QA0XY", "3QA0"},   {"QABCD", "QABCD"},
        {"QB6/QA1BCD", "QB6"},  {"QA1BCD/QB6", "QB6"}, {"QA1BCD/4", "QA4"},  {"QAB2CDE/1", "QAB1"},
        {"QA1BCD/M", "M"},      {"Q1ABC/QRP", "QR"},   {"QA", ""},           {"", ""},
        {"QA1BC/", ""},         {"///", ""},           {"AB/", ""},          {"1/2", "1"},
    };
    for (const auto& [call, prefix] : cases)
        EXPECT_EQ(CallPrefix(QString::fromLatin1(call)), QString::fromLatin1(prefix)) << call;
}

TEST(SpotListRow, CellsComeFromTheRecordColumns)
{
    const QStringList cells = spotListCells(QStringLiteral("JA1ABC"), QStringLiteral("14.025"),
                                            QStringLiteral("Japan"), recordOf(kLine));
    EXPECT_EQ(cells, (QStringList{"JA1ABC", "14.025", "Japan", "", "de W3LPL:  CW 599", "", "1234", ""}));

    // A record cut at its first CR; columns past the end are empty.
    EXPECT_EQ(spotRecordBeforeLineEnd(QStringLiteral("ab\rcd\re")), QStringLiteral("ab"));
    EXPECT_EQ(spotRecordBeforeLineEnd(QStringLiteral("ab\ncd\re")), QStringLiteral("ab"));
    const QStringList shortRow = spotListCells(QStringLiteral("K1A"), QStringLiteral("7"),
                                               QString(), QStringLiteral("de K1B:"));
    EXPECT_EQ(shortRow, (QStringList{"K1A", "7", "", "", "de K1B:  ", "", "", ""}));
    EXPECT_EQ(recordColumns(QStringLiteral("abc"), 3, 9), QStringLiteral("c"));
    EXPECT_EQ(recordColumns(QStringLiteral("abc"), 4, 9), QString());

    // Every column of a full-length record.
    QString full;
    for (int i = 1; i <= 80; ++i)
        full += QChar(u'A' + (i % 26));
    const QStringList c = spotListCells(QStringLiteral("X"), QStringLiteral("1"), QString(), full);
    EXPECT_EQ(c[4], full.mid(0, 11) + QStringLiteral("  ") + full.mid(34, 25));
    EXPECT_EQ(c[5], full.mid(61, 5));
    EXPECT_EQ(c[6], full.mid(67, 4));
    EXPECT_EQ(c[7], full.mid(72, 4));
}

TEST(SpotStoreSlots, NewestLastOldestLeavesSameCallDropped)
{
    SpotStore s;
    const QDateTime t(QDate(2026, 9, 12), QTime(13, 0), Qt::UTC);
    EXPECT_EQ(s.SpotTime[0], zeroSpotTime());
    s.addSpot(QStringLiteral("QA1BC"), 14.01f, t);
    EXPECT_EQ(s.SpotCall[49], QStringLiteral("QA1BC"));
    EXPECT_EQ(s.SpotPrefix[49], QStringLiteral("QA1"));
    EXPECT_TRUE(s.SpotCall[48].isEmpty());

    // Each spot of a call (any case) drops only the newest older one: the
    // first was dropped by the second, the second by the third.
    s.addSpot(QStringLiteral("qa1bc"), 14.02f, t);
    EXPECT_EQ(s.SpotFrequency[48], 0.f);
    s.SpotFrequency[48] = 14.01f; // as if the first were still on the map
    s.addSpot(QStringLiteral("QA1BC"), 14.03f, t);
    EXPECT_EQ(s.SpotFrequency[49], 14.03f);
    EXPECT_EQ(s.SpotFrequency[48], 0.f);
    EXPECT_EQ(s.SpotFrequency[47], 14.01f); // below the first match: kept
    EXPECT_EQ(s.SpotCall[48], QStringLiteral("qa1bc")); // a dropped slot keeps its call

    // Slot 0 is never dropped: a call that reached it keeps its frequency.
    SpotStore full;
    full.addSpot(QStringLiteral("OLD1"), 7.0f, t);
    for (int i = 0; i < 49; ++i)
        full.addSpot(QStringLiteral("K%1A").arg(i), 7.001f + i * 0.001f, t);
    EXPECT_EQ(full.SpotCall[0], QStringLiteral("OLD1"));
    full.addSpot(QStringLiteral("K99A"), 7.2f, t); // the 51st spot: OLD1 leaves
    EXPECT_EQ(full.SpotCall[0], QStringLiteral("K0A"));
    full.addSpot(QStringLiteral("K1A"), 7.25f, t); // K1A is now in slot 0 after the shift
    EXPECT_EQ(full.SpotCall[0], QStringLiteral("K1A"));
    EXPECT_NE(full.SpotFrequency[0], 0.f);
    EXPECT_EQ(full.SpotCall[50], QString()); // never used
}

// ---------------------------------------------------------------------------
// Country lookup

class SpotLookup : public ::testing::Test {
protected:
    CountryTable table;
    void rows(std::initializer_list<std::pair<const char*, const char*>> r)
    {
        int i = 0;
        for (const auto& [prefix, name] : r) {
            ++i;
            table.CountryPrefix[static_cast<size_t>(i)] = QString::fromLatin1(prefix);
            table.CountryName[static_cast<size_t>(i)] = QString::fromLatin1(name);
        }
        table.CountryCount = i;
    }
    QString find(const char* call, int* reads = nullptr)
    {
        return LookupSpotCountry(QString::fromLatin1(call), table, reads);
    }
};

TEST_F(SpotLookup, LongestExactPrefixOfTheCallOrItsPortablePart)
{
    rows({{"1A", "Malta Order"}, {"3B8", "Mauritius"}, {"9A", "Croatia"}, {"DL", "Germany"},
          {"JA", "Japan"}, {"K", "USA"}, {"KG4", "Guantanamo Bay"}, {"KH6", "Hawaii"},
          {"QA", "Qland"}, {"QB6", "Qisle"}, {"VE", "Canada"}, {"W", "USA"}});
    struct Case {
        const char* call;
        const char* country;
        const char* lookupCall;
    };
    for (const Case c : {Case{"KH6AB", "Hawaii", "KH6AB"}, Case{"KH7AB", "USA", "KH7AB"},
                         Case{"QA1BC/QB6", "Qisle", "QB6"}, Case{"QB6/QA1BC", "Qisle", "QB6/QA1BC"},
                         Case{"DL1ABC/P", "Germany", "DL1ABC/P"},
                         Case{"KG4ABC", "USA", "KG4ABC"}, Case{"KG4AB", "Guantanamo Bay", "KG4AB"},
                         Case{"3B8XY", "Mauritius", "3B8XY"}, Case{"9A1A", "Croatia", "9A1A"},
                         Case{"1A0KM", "Malta Order", "1A0KM"}, Case{"ja1abc", "", "ja1abc"},
                         Case{"ZZ1A", "", "ZZ1A"}, Case{"[1A", "", "[1A"}, Case{"~", "", "~"},
                         Case{"", "", ""}, Case{"XX9", "", "XX9"}}) {
        EXPECT_EQ(find(c.call), QString::fromLatin1(c.country)) << c.call;
        EXPECT_EQ(LookupState::instance().LookupCall, QString::fromLatin1(c.lookupCall)) << c.call;
    }
}

TEST_F(SpotLookup, NeverReadsOutsideTheLoadedRows)
{
    // An empty table, a one-row table and an estimate of row 0.
    EXPECT_EQ(find("A1A"), QString());
    rows({{"A", "Alpha"}});
    EXPECT_EQ(find("A1A"), QStringLiteral("Alpha"));
    EXPECT_EQ(find("Z1A"), QString());
    // A count past the table's rows is held to them.
    table.CountryCount = 50000;
    EXPECT_EQ(find("\xff"), QString());
    EXPECT_EQ(find("Z1A"), QString());
}

TEST_F(SpotLookup, FindsWhatReadingEveryRowFindsInAFewDozenReads)
{
    // 10000 prefixes of one to three characters, sorted by code.
    std::set<QString> prefixes;
    const QString chars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (QChar a : chars)
        for (QChar b : chars) {
            prefixes.insert(QString(a));
            prefixes.insert(QString(a) + b);
            for (QChar c : chars)
                if (prefixes.size() < 10000 && (c.unicode() * 7 + b.unicode()) % 5 == 0)
                    prefixes.insert(QString(a) + b + c);
        }
    int i = 0;
    for (const QString& p : prefixes) {
        if (i == CountryTable::Capacity)
            break;
        ++i;
        table.CountryPrefix[static_cast<size_t>(i)] = p;
        table.CountryName[static_cast<size_t>(i)] = QStringLiteral("Country ") + p;
    }
    table.CountryCount = i;
    ASSERT_EQ(table.CountryCount, 10000);

    uint32_t seed = 1;
    int most = 0;
    for (int n = 0; n < 3000; ++n) {
        QString call;
        const int length = 1 + static_cast<int>((seed = seed * 1664525u + 1013904223u) >> 29);
        for (int k = 0; k < length; ++k)
            call += chars[static_cast<int>((seed = seed * 1664525u + 1013904223u) >> 8) % 36];
        QString expected;
        int bestLength = 0;
        for (int r = 1; r <= table.CountryCount; ++r) {
            const QString& p = table.CountryPrefix[static_cast<size_t>(r)];
            if (p.size() > bestLength && call.startsWith(p)) {
                bestLength = static_cast<int>(p.size());
                expected = table.CountryName[static_cast<size_t>(r)];
            }
        }
        int reads = 0;
        ASSERT_EQ(LookupSpotCountry(call, table, &reads), expected) << call.toStdString();
        most = std::max(most, reads);
    }
    EXPECT_LT(most, 60);
}

TEST_F(SpotLookup, ShippedTableFindsHawaiiAndKeepsTheKg4Rule)
{
    test::TestEnv env;
    env.seedDataFile(QStringLiteral("arrlpre2.txt"));
    ASSERT_EQ(LoadCountryTable(), TableLoad::Ok);
    const CountryTable& shipped = CountryTable::instance();
    int reads = 0;
    EXPECT_EQ(LookupSpotCountry(QStringLiteral("KH6XYZ"), shipped, &reads), QStringLiteral("Hawaii"));
    EXPECT_LT(reads, 80); // of 824 rows
    EXPECT_EQ(LookupSpotCountry(QStringLiteral("KG4ABC"), shipped), QStringLiteral("USA"));
    EXPECT_EQ(LookupSpotCountry(QStringLiteral("KG4AB"), shipped), QStringLiteral("Guantanamo Bay"));
    EXPECT_EQ(LookupSpotCountry(QStringLiteral("JA1ABC"), shipped), QStringLiteral("Japan"));
    EXPECT_EQ(LookupSpotCountry(QStringLiteral("W1AW/KH6"), shipped), QStringLiteral("Hawaii"));
    // Every row's own prefix finds its own country (or a longer prefix's).
    for (int i = 1; i <= shipped.CountryCount; ++i) {
        const QString& p = shipped.CountryPrefix[static_cast<size_t>(i)];
        const QString found = LookupSpotCountry(p + QStringLiteral("1ZZ"), shipped, &reads);
        EXPECT_FALSE(found.isEmpty()) << p.toStdString();
        EXPECT_LT(reads, 80) << p.toStdString();
    }
}

// ---------------------------------------------------------------------------
// Band map arithmetic

TEST(BandMapScaleCaptions, ZoomToTheSpotsOrShowTheWholeBand)
{
    SpotStore s;
    const QDateTime t(QDate(2026, 9, 12), QTime(13, 0), Qt::UTC);
    auto captions = [&](const char* band) {
        const auto c = bandMapScaleCaptions(QString::fromLatin1(band), s);
        return QStringList(c.begin(), c.end());
    };
    EXPECT_EQ(captions("20"), (QStringList{"14.000", "14.088", "14.175", "14.262", "14.350"}));
    s.addSpot(QStringLiteral("K1A"), 14.010f, t);
    EXPECT_EQ(captions("20"), (QStringList{"14.000", "14.088", "14.175", "14.262", "14.350"}));
    s.addSpot(QStringLiteral("K2A"), 14.030f, t);
    EXPECT_EQ(captions("20"), (QStringList{"14.009", "14.015", "14.020", "14.025", "14.031"}));
    // Spots on the edges or off the band take no part; neither does slot 0.
    s.addSpot(QStringLiteral("K3A"), 14.35f, t);
    s.addSpot(QStringLiteral("K4A"), 7.0f, t);
    EXPECT_EQ(captions("20"), (QStringList{"14.009", "14.015", "14.020", "14.025", "14.031"}));
    EXPECT_EQ(captions("nonsense"), (QStringList{".000", ".000", ".000", ".000", ".000"}));
    EXPECT_EQ(captions("160"), (QStringList{"1.800", "1.850", "1.900", "1.950", "2.000"}));
    EXPECT_EQ(captions("1.25"), (QStringList{"219.000", "220.500", "222.000", "223.500", "225.000"}));

    EXPECT_EQ(threeDecimalText(0.5), QStringLiteral(".500"));
    EXPECT_EQ(threeDecimalText(-0.0004), QStringLiteral(".000"));
    EXPECT_EQ(threeDecimalText(2.0005), QStringLiteral("2.000")); // halves to even
    EXPECT_EQ(threeDecimalText(2.0015), QStringLiteral("2.002"));
    EXPECT_EQ(scaleCaptionValue(QStringLiteral("14.009")), 14.009f);
    EXPECT_EQ(scaleCaptionValue(QStringLiteral("lblFreqSpot")), 0.f);
}

TEST(BandMapLabels, PlaceColourAndDetails)
{
    EXPECT_NEAR(spotLabelLeft(14.02f, 14.0f, 14.04f, 100, 900, 60), 500 - 30, 0.05);
    EXPECT_DOUBLE_EQ(spotLabelLeft(14.0f, 14.0f, 14.04f, 100, 900, 60), 70);
    struct Case {
        qint64 age;
        QColor colour; // invalid: the pass ends
    };
    for (const Case c : {Case{0, QColor(255, 255, 128)}, Case{599, QColor(255, 255, 128)},
                         Case{600, QColor(255, 255, 255)}, Case{1799, QColor(255, 255, 255)},
                         Case{1800, QColor(192, 192, 192)}, Case{3599, QColor(192, 192, 192)},
                         Case{3600, QColor()}, Case{1000000, QColor()}}) {
        const auto colour = spotAgeColour(c.age);
        EXPECT_EQ(colour.has_value(), c.colour.isValid()) << c.age;
        if (colour && c.colour.isValid())
            EXPECT_EQ(*colour, c.colour) << c.age;
    }
    // Ages between instants: a change of the local offset in between (the
    // clocks changed) changes nothing.
    const QDateTime arrival = QDateTime(QDate(2026, 10, 25), QTime(5, 50), Qt::UTC)
                                  .toTimeZone(QTimeZone(3600 * 2));
    const QDateTime now = QDateTime(QDate(2026, 10, 25), QTime(6, 0), Qt::UTC)
                              .toTimeZone(QTimeZone(3600));
    EXPECT_EQ(spotAgeSeconds(arrival, now), 600);

    const QDateTime local(QDate(2026, 9, 12), QTime(13, 5), QTimeZone(-5 * 3600));
    EXPECT_EQ(spotDetailsText(QStringLiteral("JA1ABC"), 14.025f, local, 5),
              QStringLiteral("JA1ABC  14.025  18:05:00"));
}
