#include "EntryFixtures.h"
#include "entry/ContactIndex.h"
#include "entry/ContactStore.h"
#include "entry/EntryState.h"
#include "logstore/LogFileStore.h"
#include "logstore/StationSettings.h"
#include "platform/SafeFile.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

using namespace zq;

TEST(ContactRecordTest, StampsUtcFromLocalTimePlusOffset)
{
    test::TestEnv env; // UTC 18:30:00, local 13:30:00
    auto& st = StationSettings::instance();
    st.CurrentBand = "40";
    st.CurrentMode = "CW";
    EntryState::instance().CurrentFrequencyText = "7.040";

    struct Case {
        float offset;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {5, "2026/09/12", "18:30:00"},
        {5.5f, "2026/09/12", "19:00:00"},
        {11, "2026/09/13", "00:30:00"},
        {-14, "2026/09/11", "23:30:00"},
    };
    for (const Case& c : cases) {
        st.UtcOffsetHours = c.offset;
        const ContactRecord r = makeContactRecord({.call = "W5ABC", .rstSent = "599", .rstReceived = "579",
                                                   .county = "Ardent", .spc = "TX", .countySent = "Cobalt"});
        EXPECT_EQ(r.LogDate, c.date);
        EXPECT_EQ(r.LogTime, c.time);
        EXPECT_EQ(r.LogSpc, ""); // out-of-state contacts carry no state
        EXPECT_EQ(r.LogCountySent, "");
        EXPECT_EQ(r.LogMode, "CW");
        EXPECT_EQ(r.LogBand, "40");
        EXPECT_EQ(r.LogFrequency, "7.040");
    }

    const ContactRecord in = makeContactRecord({.call = "W5ABC", .county = "", .spc = "TX", .countySent = "Cobalt",
                                                .inState = true, .postContest = true,
                                                .postContestDate = "2026/09/11", .postContestTime = "23:05"});
    EXPECT_EQ(in.LogSpc, "TX");
    EXPECT_EQ(in.LogCountySent, "Cobalt");
    EXPECT_EQ(in.LogDate, "2026/09/11");
    EXPECT_EQ(in.LogTime, "23:05");
}

TEST(Points, TwoForPhoneThreeForEveryOtherMode)
{
    test::TestEnv env;
    ContestTotals t;
    for (const char* mode : {"PH", "ph", "CW", "DG", "", "SSB"})
        countContact(t, mode);
    EXPECT_EQ(t.QsoPoints, 2 + 2 + 3 + 3 + 3 + 3);
    EXPECT_EQ(t.PhoneContactCount, 2);
    EXPECT_EQ(t.CwContactCount, 1);
    EXPECT_EQ(t.DigitalContactCount, 3);

    test::addQso({.call = "A1A", .mode = "cw"});
    test::addQso({.call = "A1B", .mode = "PH"});
    ContestTotals r;
    recountContacts(r);
    recountContacts(r); // twice gives the same
    EXPECT_EQ(r.QsoPoints, 5);
    EXPECT_EQ(r.CwContactCount, 1);
    EXPECT_EQ(r.PhoneContactCount, 1);
    EXPECT_EQ(r.DigitalContactCount, 0);
}

TEST(StoreContact, AppendsTheExactLineAndCounts)
{
    test::TestEnv env;
    auto& st = StationSettings::instance();
    st.UtcOffsetHours = 5;
    st.CurrentBand = "20";
    st.CurrentMode = "PH";
    const ContactRecord rec =
        makeContactRecord({.call = "W5ABC", .rstSent = "59", .rstReceived = "59", .county = "Ardent"});
    ASSERT_EQ(storeContact(rec, AppendLogFile), StoreOutcome::Stored);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 2);
    EXPECT_EQ(ContestTotals::instance().PhoneContactCount, 1);
    EXPECT_EQ(env.readWorkFile("log.txt"),
              "\"W5ABC\",\"59\",\"59\",\"\",\"Ardent\",\"\",\"\",\"\",\"\",\"\",\"\",\"2026/09/12\","
              "\"18:30:00\",\"PH\",\"20\",0,\"\",\"\",\"\",\"\"\r\n");
    EXPECT_EQ(ContactIndex::instance().contactsWithCall("W5ABC"), std::vector<int>{1});
}

TEST(StoreContact, FailedAppendLeavesNothingCounted)
{
    test::TestEnv env;
    test::addQso({.call = "K1OLD", .mode = "CW"});
    ContestTotals::instance().QsoPoints = 3;
    ContestTotals::instance().CwContactCount = 1;
    const ContestTotals before = ContestTotals::instance();

    ContactRecord rec;
    rec.LogCall = "W5NEW";
    rec.LogMode = "CW";
    EXPECT_EQ(storeContact(rec, [] { return false; }), StoreOutcome::AppendFailed);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(ContactLog::instance()[2], ContactRecord{});
    EXPECT_EQ(ContestTotals::instance().QsoPoints, before.QsoPoints);
    EXPECT_EQ(ContestTotals::instance().CwContactCount, before.CwContactCount);
    EXPECT_TRUE(ContactIndex::instance().contactsWithCall("W5NEW").empty());

    // Through the real file store with the disk failing.
    setWriteFaultForTesting([](const QString&) { return true; });
    EXPECT_EQ(storeContact(rec, AppendLogFile), StoreOutcome::AppendFailed);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_FALSE(env.prompt().messageTexts().isEmpty());
    EXPECT_TRUE(env.readWorkFile("log.txt").isEmpty());
}

TEST(StoreContact, AFullLogTakesNothing)
{
    test::TestEnv env;
    ContactLog::instance().ContactCount = ContactLog::Capacity;
    bool appended = false;
    ContactRecord rec;
    rec.LogCall = "W5NEW";
    EXPECT_EQ(storeContact(rec, [&] { return appended = true; }), StoreOutcome::LogFull);
    EXPECT_FALSE(appended);
    EXPECT_EQ(ContactLog::instance().ContactCount, ContactLog::Capacity);
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 0);
}
