#include "entry/CountryLookup.h"

#include "logstore/PositionTables.h"
#include "support/TestEnv.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace zq {
namespace {

using Kind = CountryLookupResult::Kind;

struct Row {
    const char* prefix;
    const char* name;
    const char* continent;
    float longitude;
    float latitude;
};

std::unique_ptr<CountryTable> tableOf(std::initializer_list<Row> rows)
{
    auto t = std::make_unique<CountryTable>();
    for (const Row& r : rows) {
        const int i = ++t->CountryCount;
        t->CountryPrefix[i] = QString::fromLatin1(r.prefix);
        t->CountryName[i] = QString::fromLatin1(r.name);
        t->CountryContinent[i] = QString::fromLatin1(r.continent);
        t->CountryLongitude[i] = r.longitude;
        t->CountryLatitude[i] = r.latitude;
    }
    return t;
}

class ShippedCountryTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        env_.seedDataFile(QStringLiteral("arrlpre2.txt"));
        ASSERT_EQ(LoadCountryTable(), TableLoad::Ok);
    }
    test::TestEnv env_;
};

TEST_F(ShippedCountryTable, FindsTheCountryOfTheLongestMatchingPrefix)
{
    struct Case {
        const char* call;
        Kind kind;
        const char* field;
        const char* continent;
    };
    const Case cases[] = {
        {"G4ABC", Kind::Found, "England", "EU"},
        {"g4abc", Kind::Found, "England", "EU"}, // pasted in lower case
        {"DL1ABC", Kind::Found, "Germany", "EU"},
        {"EA8XY", Kind::Found, "Canary Islands", "AF"}, // EA8 over EA
        {"EA5XY", Kind::Found, "Spain", "EU"},
        {"JA1ABC", Kind::Found, "Japan", "AS"},
        {"ZK1ABC", Kind::Found, "New Zealand", "OC"}, // the table's last letter
        {"1A0KM", Kind::Found, "Sovereign Military Order of Malta", "EU"}, // digit first
        {"3DA0XY", Kind::Found, "Eswatini", "AF"},
        {"KL7AA", Kind::Found, "AK", "NA"},
        {"KH6XX", Kind::Found, "HI", "OC"},
        {"KG4AB", Kind::Found, "Guantanamo Bay", "NA"}, // 5 characters
        {"KG4A", Kind::Found, "", "NA"},                // 4: a United States call
        {"KG4ABC", Kind::Found, "", "NA"},              // 6 and more: the same
        {"W5ABC", Kind::HomeArea, "", "NA"},
        {"VE3ABC", Kind::HomeArea, "", "NA"},
        {"W5ABC/VE3", Kind::HomeArea, "", "NA"},    // looked up by VE3
        {"W5ABC/JA", Kind::Found, "Japan", "AS"},   // 2 of 8 after the "/"
        {"VP2E/W5ABC", Kind::Found, "Anguilla", "NA"}, // 5 of 10: the whole call
        {"QQ1ABC", Kind::NotFound, "Not Found", ""},
        {"~AB", Kind::NotFound, "Not Found", ""},   // first character above Z
        {"\xC4" "B1", Kind::NotFound, "Not Found", ""},
        {"", Kind::NoCall, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const auto r = lookupCallCountry(QString::fromLatin1(c.call), CountryTable::instance());
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.fieldText, QString::fromLatin1(c.field));
        EXPECT_EQ(r.continent, QString::fromLatin1(c.continent));
        EXPECT_EQ(r.hasPosition, c.kind == Kind::Found);
    }
}

TEST_F(ShippedCountryTable, UnitedStatesKg4CallsShowTheUnitedStatesRow)
{
    const CountryTable& t = CountryTable::instance();
    const auto r = lookupCallCountry(QStringLiteral("KG4ABC"), t);
    ASSERT_GT(r.row, 0);
    EXPECT_EQ(t.CountryName[r.row], QStringLiteral("USA"));
    EXPECT_FLOAT_EQ(r.latitude, t.CountryLatitude[r.row]);
    EXPECT_FLOAT_EQ(r.longitude, t.CountryLongitude[r.row]);
}

TEST(CountryLookupTest, EqualPrefixesGoToTheFirstMetAndEveryIndexStaysInTheTable)
{
    const auto t = tableOf({
        {"A4", "Oman", "AS", -58.6f, 23.6f},
        {"G", "England", "EU", 1.5f, 52.5f},
        {"OH", "Finland", "EU", -25, 60},
        {"OH", "Second Finland", "EU", -25, 60},
        {"OH0", "Aland Islands", "EU", -20, 60},
        {"W", "USA", "NA", 97, 38},
    });
    EXPECT_EQ(lookupCallCountry(QStringLiteral("OH2AB"), *t).fieldText, QStringLiteral("Finland"));
    EXPECT_EQ(lookupCallCountry(QStringLiteral("OH0AB"), *t).fieldText,
              QStringLiteral("Aland Islands"));
    // Six rows put the start row of "A" at 0: it is kept at row 1.
    EXPECT_EQ(lookupCallCountry(QStringLiteral("A41AB"), *t).fieldText, QStringLiteral("Oman"));
    EXPECT_EQ(lookupCallCountry(QStringLiteral("~W"), *t).kind, Kind::NotFound);

    // A KG4 call of a table without a United States row stays a US call.
    const auto kg4 = tableOf({{"K", "Somewhere", "NA", 97, 38}});
    const auto r = lookupCallCountry(QStringLiteral("KG4A"), *kg4);
    EXPECT_EQ(r.fieldText, QString());
    EXPECT_EQ(r.continent, QStringLiteral("NA"));
    EXPECT_FALSE(r.hasPosition);

    const CountryTable empty;
    for (const char* call : {"G4ABC", "A", "~", "5"}) {
        SCOPED_TRACE(call);
        EXPECT_EQ(lookupCallCountry(QString::fromLatin1(call), empty).kind, Kind::NotFound);
    }
    CountryTable overfull;
    overfull.CountryCount = CountryTable::Capacity + 50;
    EXPECT_EQ(lookupCallCountry(QStringLiteral("Z"), overfull).kind, Kind::NotFound);
}

// An independent great-circle bearing and distance (east longitudes
// negative, as in the tables).
void referenceBearing(double lat1, double lon1, double lat2, double lon2, double* bearing,
                      double* miles)
{
    const double r = M_PI / 180;
    const double p1 = lat1 * r, p2 = lat2 * r, dl = (lon1 - lon2) * r; // east positive
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    *bearing = std::fmod(std::atan2(y, x) / r + 360, 360);
    *miles = std::acos(std::sin(p1) * std::sin(p2) + std::cos(p1) * std::cos(p2) * std::cos(dl))
             / r * 69.041;
}

TEST(BearingDistanceTest, AgreesWithTheGreatCircleOnBothSidesOfTheStation)
{
    struct Case {
        const char* where;
        float lat, lon;
    };
    const float ownLat = 40.2f, ownLon = 89.6f;
    const Case cases[] = {
        {"England (east)", 52.5f, 1.5f},
        {"Japan (west over the Pacific)", 35.7f, -139.7f},
        {"New Zealand (south-west)", -41.3f, -174.8f},
        {"Texas (south-west, near)", 31.0f, 99.0f},
        {"Maine (north-east, near)", 45.3f, 69.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        double bearing = 0, miles = 0;
        referenceBearing(ownLat, ownLon, c.lat, c.lon, &bearing, &miles);
        const BearingDistance bd = bearingDistance(ownLat, ownLon, c.lat, c.lon);
        ASSERT_TRUE(bd.bearing.endsWith(QLatin1Char(' ')));
        EXPECT_NEAR(bd.bearing.trimmed().toDouble(), bearing, 1.0);
        const double shownMiles = QLocale::system().toLongLong(bd.distance.trimmed());
        EXPECT_NEAR(shownMiles, miles, 2.0);
    }
}

TEST(BearingDistanceTest, EmptyWhereTheFormulasHaveNoRealResult)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float ownLat, ownLon, lat, lon;
    };
    const Case cases[] = {
        {"the same point", 40.2f, 89.6f, 40.2f, 89.6f},
        {"the same point elsewhere", 41.6f, 72.7f, 41.6f, 72.7f},
        {"the same point in the south-east", -33.9f, -151.2f, -33.9f, -151.2f},
        {"the opposite point", 40.0f, 90.0f, -40.0f, -90.0f},
        {"a pole to itself", 90.0f, 0.0f, 90.0f, 0.0f},
        {"no own position", nan, 89.6f, 52.5f, 1.5f},
        {"no other position", 40.2f, 89.6f, 52.5f, nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BearingDistance bd = bearingDistance(c.ownLat, c.ownLon, c.lat, c.lon);
        EXPECT_TRUE(bd.bearing.isEmpty());
        EXPECT_TRUE(bd.distance.isEmpty());
    }
}

TEST(BearingDistanceTest, RoundsToWholeDegreesAndMiles)
{
    const QString sep = QLocale::system().groupSeparator();
    EXPECT_EQ(bearingText(359.6), QStringLiteral("360 "));
    EXPECT_EQ(bearingText(12.5), QStringLiteral("13 "));
    EXPECT_EQ(bearingText(0.4), QStringLiteral(" "));
    EXPECT_EQ(distanceText(1234.6), QStringLiteral("1") + sep + QStringLiteral("235 "));
    EXPECT_EQ(distanceText(987.2), QStringLiteral("987 "));
    EXPECT_EQ(distanceText(0.3), QStringLiteral(" "));
}

TEST(StateIndexTest, FindsTwoLetterCodesOnly)
{
    StateTable t;
    t.StateCode[1] = QStringLiteral("CT");
    t.StateCode[50] = QStringLiteral("TX");
    t.StateCode[55] = QStringLiteral("ZZ"); // past the searched entries
    EXPECT_EQ(stateIndex(QStringLiteral("TX"), t), 50);
    EXPECT_EQ(stateIndex(QStringLiteral("tx"), t), 50);
    EXPECT_EQ(stateIndex(QStringLiteral("ON"), t), 0);
    EXPECT_EQ(stateIndex(QStringLiteral("ZZ"), t), 0);
    EXPECT_EQ(stateIndex(QStringLiteral("CTX"), t), 0);
    EXPECT_EQ(stateIndex(QString(), t), 0);
}

} // namespace
} // namespace zq
