#include "EntryFixtures.h"
#include "entry/Scoring.h"
#include "support/TestEnv.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace zq;

namespace {

// Sets the default locale for one test.
struct LocaleScope {
    explicit LocaleScope(const QLocale& l) : old(QLocale()) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(old); }
    QLocale old;
};

} // namespace

TEST(Totals, ScoreIsPointsTimesMultipliers)
{
    LocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
    ContestTotals t;
    t.PhoneContactCount = 12;
    t.CwContactCount = 5;
    t.QsoPoints = 12 * 2 + 5 * 3;

    TotalsText out = totalsText(t, 4, 9, false);
    EXPECT_EQ(out.phone, "12");
    EXPECT_EQ(out.cw, "5");
    EXPECT_EQ(out.digital, "0");
    EXPECT_EQ(out.multipliers, "4");
    EXPECT_EQ(out.score, "156");

    TotalsText in = totalsText(t, 4, 9, true);
    EXPECT_EQ(in.multipliers, "13");
    EXPECT_EQ(in.score, "507");

    EXPECT_EQ(totalsText(ContestTotals{}, 0, 0, true).score, "0");
    EXPECT_EQ(formatScore(1234567), "1,234,567");
    EXPECT_EQ(formatCount(1000), "1,000");
    EXPECT_EQ(formatCount(999), "999");
}

TEST(RateMeters, CountsBackFromTheNewestUntilAnHourOld)
{
    test::TestEnv env;
    const QDateTime now(QDate(2026, 9, 12), QTime(18, 30, 0), Qt::UTC);
    auto at = [&](int secondsAgo) {
        const QDateTime t = now.addSecs(-secondsAgo);
        return test::Qso{.call = "X",
                         .date = t.toString("yyyy/MM/dd"),
                         .time = t.toString("HH:mm:ss")};
    };
    struct Case {
        std::vector<int> agesOldestFirst;
        int rate20;
        int rate60;
    };
    const Case cases[] = {
        {{}, 0, 0},
        {{70 * 60, 25 * 60, 5 * 60}, 3, 2},
        {{5 * 60, 61 * 60}, 0, 0},                // the walk stops at the newest
        {{20 * 60 - 1}, 3, 1},
        {{20 * 60}, 0, 1},
        {{60 * 60}, 0, 0},
        {{60 * 60 - 1}, 0, 1},
        {{-300, 30}, 6, 2},                       // a time ahead of now counts
    };
    for (const Case& c : cases) {
        ContactLog::instance().reset();
        for (int age : c.agesOldestFirst)
            test::addQso(at(age));
        const auto r = rateMeters(now.addMSecs(700)); // parts of a second are cut
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->perHour20, c.rate20) << c.agesOldestFirst.size();
        EXPECT_EQ(r->perHour60, c.rate60) << c.agesOldestFirst.size();
    }

    // Post-contest times without seconds count too; a broken time fails.
    ContactLog::instance().reset();
    test::addQso({.call = "X", .date = "2026/09/12", .time = "18:20"});
    EXPECT_EQ(rateMeters(now)->perHour20, 3);
    test::addQso({.call = "Y", .date = "2026/09/12", .time = "18:7"});
    EXPECT_FALSE(rateMeters(now).has_value());
}
