#include "EntryFixtures.h"
#include "entry/ContactIndex.h"
#include "entry/DupeChecks.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

using namespace zq;
using zq::test::addQso;
using zq::test::Qso;

namespace {

DupeStation outStation(const QString& band = "20", const QString& mode = "PH")
{
    DupeStation s;
    s.band = band;
    s.mode = mode;
    s.homeState = "ZQ";
    return s;
}

DupeStation inStation(const QString& ownCounty, const QString& band = "20", const QString& mode = "PH")
{
    DupeStation s = outStation(band, mode);
    s.inState = true;
    s.ownCounty = ownCounty;
    return s;
}

} // namespace

TEST(FinalDupeCheck, OutOfStateMatchesCallBandModeAndCountyInAnyCase)
{
    test::TestEnv env;
    addQso({.call = "K1ABC", .county = "Ardent"});
    addQso({.call = "W5XYZ", .band = "40", .county = "Bellmoor", .time = "18:05:33"});
    addQso({.call = "W5XYZ", .county = "Bellmoor", .time = "18:07:00"});

    struct Case {
        DupeEntry entry;
        DupeStation station;
        int dupe;
    };
    const Case cases[] = {
        {{"w5xyz", "BELLMOOR", ""}, outStation(), 3},
        {{"W5XYZ", "Bellmoor", ""}, outStation("40"), 2},
        {{"W5XYZ", "Bellmoor", ""}, outStation("20", "CW"), 0},
        {{"W5XYZ", "Cobalt", ""}, outStation(), 0},
        {{"W5XY", "Bellmoor", ""}, outStation(), 0},
        {{"K1ABC", "", ""}, outStation(), 1}, // county filled, then equal
    };
    for (const Case& c : cases) {
        const FinalDupeResult r = findFinalDuplicate(c.entry, c.station);
        EXPECT_EQ(r.duplicateOf, c.dupe) << c.entry.call.toStdString() << " " << c.station.band.toStdString();
    }
    EXPECT_EQ(findFinalDuplicate({"W5XYZ", "Bellmoor", ""}, outStation()).message,
              "Duplicate W5XYZ  2026/09/12  18:07:00   Rec#  3");
}

TEST(FinalDupeCheck, EmptyCountyIsFilledFromTheFirstEarlierContactThatHasOne)
{
    test::TestEnv env;
    addQso({.call = "N0CALL", .band = "40", .county = ""});
    addQso({.call = "N0CALL", .band = "40", .county = "Cobalt"});
    addQso({.call = "N0CALL", .band = "20", .county = "Dunmore"});

    const FinalDupeResult r = findFinalDuplicate({"N0CALL", "", ""}, outStation("20"));
    EXPECT_EQ(r.entry.county, "Cobalt");
    EXPECT_TRUE(r.countyFilled);
    EXPECT_EQ(r.duplicateOf, 0); // contact 3 has Dunmore, the row holds Cobalt

    const FinalDupeResult typed = findFinalDuplicate({"N0CALL", "Dunmore", ""}, outStation("20"));
    EXPECT_FALSE(typed.countyFilled);
    EXPECT_EQ(typed.duplicateOf, 3);
}

TEST(FinalDupeCheck, InStateComparesOwnCountySentAndFillsCountyOnlyForHomeState)
{
    test::TestEnv env;
    addQso({.call = "W5ROV", .county = "Ardent", .spc = "ZQ", .countySent = "Bellmoor"});
    addQso({.call = "K2OUT", .spc = "NY", .countySent = "Bellmoor"});

    // Home-state station: both fields filled from the earlier contact.
    FinalDupeResult r = findFinalDuplicate({"W5ROV", "", ""}, inStation("Bellmoor"));
    EXPECT_EQ(r.entry.spc, "ZQ");
    EXPECT_EQ(r.entry.county, "Ardent");
    EXPECT_EQ(r.duplicateOf, 1);
    EXPECT_EQ(r.message, "Duplicate W5ROV 09/12 18:00:00  Rec#  1");

    // After a county change (rover) the same contact is no duplicate.
    EXPECT_EQ(findFinalDuplicate({"W5ROV", "", ""}, inStation("Cobalt")).duplicateOf, 0);

    // The same station now sending another state: no county is taken over.
    r = findFinalDuplicate({"W5ROV", "", "TX"}, inStation("Cobalt"));
    EXPECT_EQ(r.entry.county, "");
    EXPECT_FALSE(r.countyFilled);
    EXPECT_FALSE(r.spcFilled);

    EXPECT_EQ(findFinalDuplicate({"K2OUT", "", ""}, inStation("Bellmoor")).duplicateOf, 2);
}

TEST(DupCheck2, OutOfStateWarnsOnBandAndModeAndListsPreviousContacts)
{
    test::TestEnv env;
    addQso({.call = "K9AA", .county = "Ardent"});
    addQso({.call = "K9AA", .band = "40", .county = "Ardent"});
    addQso({.call = "K9AA", .county = "Bellmoor"});
    addQso({.call = "K9AB", .county = "Bellmoor"});

    DupCheck2Result r = dupCheck2({"K9AA", "", ""}, outStation(), true);
    EXPECT_EQ(r.listedContacts, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(r.entry.county, "Ardent");
    EXPECT_EQ(r.beeps, 2);
    EXPECT_EQ(r.message, "Duplicate Unless Rover!  K9AA  2026/09/12  18:00:00   Rec#  3");

    r = dupCheck2({"K9AA", "Cobalt", ""}, outStation(), false);
    EXPECT_TRUE(r.listedContacts.empty());
    EXPECT_EQ(r.entry.county, "Cobalt");
    EXPECT_EQ(r.beeps, 1);
    EXPECT_TRUE(r.message.endsWith("Rec#  1"));

    r = dupCheck2({"K9AA", "", ""}, outStation("15"), false);
    EXPECT_EQ(r.beeps, 0);
    EXPECT_TRUE(r.message.isEmpty());
}

TEST(DupCheck2, InStateRunsTheFinalCheckForAStationOutsideTheHomeState)
{
    test::TestEnv env;
    addQso({.call = "K2OUT", .spc = "NY", .countySent = "Bellmoor"});
    addQso({.call = "W5IN", .county = "Ardent", .spc = "ZQ", .countySent = "Bellmoor"});

    DupCheck2Result r = dupCheck2({"K2OUT", "", ""}, inStation("Bellmoor"), true);
    EXPECT_TRUE(r.finalCheckRan);
    EXPECT_EQ(r.finalCheck.duplicateOf, 1);
    EXPECT_EQ(r.beeps, 0);

    // A home-state station in another county is only warned about.
    r = dupCheck2({"W5IN", "Cobalt", "ZQ"}, inStation("Bellmoor"), false);
    EXPECT_FALSE(r.finalCheckRan);
    EXPECT_EQ(r.beeps, 1);
    EXPECT_EQ(r.message, "Dupe if not rover!  W5IN  09/12  18:00:00   Rec#  2");
    EXPECT_EQ(findFinalDuplicate(r.entry, inStation("Bellmoor")).duplicateOf, 0);

    // From another own county nothing is said.
    r = dupCheck2({"K2OUT", "", ""}, inStation("Cobalt"), false);
    EXPECT_FALSE(r.finalCheckRan);
    EXPECT_EQ(r.beeps, 0);
    EXPECT_EQ(r.entry.spc, "NY");
}

TEST(PossibleDupes, ListsCallsOfBandAndModeNewestFirst)
{
    test::TestEnv env;
    addQso({.call = "K5ABC"});
    addQso({.call = "K5ABD"});
    addQso({.call = "K5ABE", .mode = "CW"});
    addQso({.call = "W5ABC"});

    PossibleDupesResult r = possibleDupes("K5", 'A', outStation(), true, true);
    EXPECT_EQ(r.list, "K5ABD K5ABC ");
    EXPECT_TRUE(r.listColoured);
    EXPECT_EQ(r.dialog, " ");
    EXPECT_FALSE(r.beep);

    r = possibleDupes("K5A", 'B', outStation(), true, true);
    EXPECT_EQ(r.dialog, "Possible Duplicate!");

    r = possibleDupes("K5AB", 'X', outStation(), true, true);
    EXPECT_TRUE(r.list.isEmpty());
    EXPECT_FALSE(r.listColoured);
    EXPECT_EQ(r.dialog, " ");

    // Display off: no list, but the character rule still runs.
    r = possibleDupes("K5", 'A', outStation(), false, true);
    EXPECT_TRUE(r.list.isEmpty());
    r = possibleDupes("KA", 'B', outStation(), false, false);
    EXPECT_TRUE(r.beep);
    EXPECT_EQ(r.dialog, "The second or third character is not numeric!");
}

TEST(PossibleDupes, SecondOrThirdCharacterRule)
{
    test::TestEnv env;
    struct Case {
        const char* call;
        int key;
        bool beep;
        bool setDialog;
    };
    const Case cases[] = {
        {"KA", 'B', true, true},  {"K5", 'B', false, true}, {"KA", '5', false, true},
        {"K/", 'B', false, true}, {"KA", '/', false, true}, {"KAB", 'C', false, false},
        {"K", 'A', false, false}, {"KA", 8, false, false},  {"KA", '-', false, false}, {"K-", 'B', true, true},
    };
    for (const Case& c : cases) {
        const PossibleDupesResult r = possibleDupes(c.call, c.key, outStation(), true, false);
        EXPECT_EQ(r.beep, c.beep) << c.call << char(c.key);
        EXPECT_EQ(r.setDialog, c.setDialog) << c.call << char(c.key);
    }
}

TEST(PossibleDupes, StopsPast100CharactersKeepingTheEarliestCalls)
{
    test::TestEnv env;
    for (int i = 0; i < 40; ++i)
        addQso({.call = QStringLiteral("K5A%1").arg(i, 2, 10, QLatin1Char('0'))});
    const QString list = possibleDupeList("K5", outStation());
    // 6 characters per call: the 17th call passes 100 characters.
    EXPECT_EQ(list.size(), 17 * 6);
    EXPECT_TRUE(list.startsWith("K5A16 "));
    EXPECT_TRUE(list.endsWith("K5A00 "));
}

TEST(PossibleDupes, InStateOnlyContactsFromTheOwnCounty)
{
    test::TestEnv env;
    addQso({.call = "K5OLD", .spc = "TX", .countySent = "Ardent"});
    addQso({.call = "K5NEW", .spc = "TX", .countySent = "bellmoor"});
    EXPECT_EQ(possibleDupeList("K5", inStation("Bellmoor")), "K5NEW ");
    EXPECT_EQ(possibleDupeList("K5", inStation("Cobalt")), "");
}

TEST(ContactIndexTest, FollowsAppendsAndRebuildsAfterChanges)
{
    test::TestEnv env;
    ContactIndex& index = ContactIndex::instance();
    addQso({.call = "AA1A"});
    EXPECT_EQ(index.contactsWithCall("aa1a"), std::vector<int>{1});
    addQso({.call = "AA1A", .band = "40"});
    EXPECT_EQ(index.contactsWithCall("AA1A"), (std::vector<int>{1, 2}));
    EXPECT_EQ(index.contactsOnBandMode("40", "ph"), std::vector<int>{2});

    // The last contact replaced behind the index's back is noticed.
    ContactLog::instance()[2].LogCall = "BB2B";
    EXPECT_EQ(index.contactsWithCall("AA1A"), std::vector<int>{1});

    // An edit in the middle needs invalidate() (the reload calls it).
    ContactLog::instance()[1].LogCall = "CC3C";
    index.invalidate();
    EXPECT_TRUE(index.contactsWithCall("AA1A").empty());
    EXPECT_EQ(index.contactsWithCall("CC3C"), std::vector<int>{1});

    // A shorter log rebuilds.
    ContactLog::instance().ContactCount = 1;
    EXPECT_TRUE(index.contactsWithCall("BB2B").empty());
}
