#include "entry/EntryChecks.h"
#include "logstore/CountyTable.h"
#include "logstore/SectionTable.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

using namespace zq;

TEST(PostContestCheck, AcceptsRealDatesAndTimesAndNormalisesThem)
{
    struct Case {
        const char* date;
        const char* time;
        bool ok;
        const char* outDate;
        const char* outTime;
        const char* message;
    };
    const Case cases[] = {
        {"2026/9/5", "1830", true, "2026/09/05", "18:30", ""},
        {"2026/09/05", "830", true, "2026/09/05", "08:30", ""},
        {"2026/09/05", "8:30", true, "2026/09/05", "08:30", ""},
        {"2026/09/05", "00:00", true, "2026/09/05", "00:00", ""},
        {"2026/09/05", "23:59", true, "2026/09/05", "23:59", ""},
        {"2024/2/29", "0000", true, "2024/02/29", "00:00", ""},
        {"2026/2/29", "1830", false, "2026/2/29", "1830", "Invalid date format!"},
        {"2026/13/01", "1830", false, "2026/13/01", "1830", "Invalid date format!"},
        {"26/09/05", "1830", false, "26/09/05", "1830", "Invalid date format!"},
        {"20260905", "1830", false, "20260905", "1830", "Invalid date format!"},
        {"", "1830", false, "", "1830", "Invalid date format!"},
        {"2026/09/05", "2400", false, "2026/09/05", "24:00", "Invalid time format!"},
        {"2026/09/05", "1860", false, "2026/09/05", "18:60", "Invalid time format!"},
        {"2026/09/05", "18", false, "2026/09/05", "18", "Invalid time format!"},
        {"2026/09/05", "18305", false, "2026/09/05", "18305", "Invalid time format!"},
        {"2026/09/05", "1:3", false, "2026/09/05", "1:3", "Invalid time format!"},
        {"2026/09/05", "", false, "2026/09/05", "", "Invalid time format!"},
        {"2026/9/5", "1:30:", false, "2026/09/05", "1:30:", "Invalid time format!"},
    };
    for (const Case& c : cases) {
        const PostContestResult r = checkPostContest(c.date, c.time);
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.date, c.outDate);
        EXPECT_EQ(r.time, c.outTime);
        EXPECT_EQ(r.message, c.message);
    }
}

TEST(RequiredFields, EveryFailingTestInOrder)
{
    struct Case {
        EntryTexts e;
        bool inState;
        std::vector<QString> messages;
        EntryField lastFocus;
    };
    const Case cases[] = {
        {{"W1AW", "59", "", "Ardent", "59"}, false, {}, EntryField::Call},
        {{"W1", "", "", "", "59"}, false, {"Need County!", "Need Serial!", "Need Call Sign!"}, EntryField::Call},
        {{"K1A", "5", "", "", ""}, false, {"Need County!"}, EntryField::Sec},
        {{"K1A", "59", "TX", "", ""}, true, {}, EntryField::Call},
        {{"K1A", "59", "zq", "", ""}, true, {"Need County!"}, EntryField::Sec},
        {{"K1A", "59", "", "", ""}, true, {"Need Country!"}, EntryField::Cntry},
        {{"", "", "", "", ""}, true, {"Need Serial!", "Need Call Sign!", "Need Country!"}, EntryField::Cntry},
    };
    for (const Case& c : cases) {
        const auto failures = requiredFieldFailures(c.e, c.inState, "ZQ");
        std::vector<QString> messages;
        for (const auto& f : failures)
            messages.push_back(f.message);
        EXPECT_EQ(messages, c.messages) << c.e.call.toStdString();
        if (!failures.empty())
            EXPECT_EQ(failures.back().focus, c.lastFocus);
    }
}

TEST(CountyCheck, NamesOfTheTableInAnyCase)
{
    test::TestEnv env;
    auto& t = CountyTable::instance();
    t.CountyName[1] = "Ardent";
    t.CountyName[2] = "Port Bellmoor";
    t.CountyCount = 2;
    EXPECT_TRUE(isTableCounty("ardent"));
    EXPECT_TRUE(isTableCounty("PORT BELLMOOR"));
    EXPECT_FALSE(isTableCounty("Port"));
    EXPECT_FALSE(isTableCounty(""));
    EXPECT_EQ(invalidCountyMessage(""), " is not a valid county!");
    EXPECT_EQ(invalidCountyMessage("Xyz"), "Xyz is not a valid county!");
}

TEST(SectionCheck, CodesOfTheInStateTableAndUnusableExchanges)
{
    test::TestEnv env;
    SectionTable::instance().build();
    const auto& codes = SectionTable::instance().SectionCode;
    EXPECT_EQ(sectionIndex("zq", codes), 25);
    EXPECT_EQ(sectionIndex("NL", codes), 59);
    EXPECT_EQ(sectionIndex("DC", codes), 0);
    EXPECT_EQ(sectionIndex("", codes), 0);
    EXPECT_EQ(sectionIndex("TX", std::vector<QString>(101)), 0); // out-of-state: empty table
    EXPECT_EQ(invalidSectionMessage(), "Invald Section!");

    EXPECT_TRUE(isUnusableExchange("T"));
    EXPECT_TRUE(isUnusableExchange("not found"));
    EXPECT_FALSE(isUnusableExchange("TX"));
    EXPECT_FALSE(isUnusableExchange("Germany"));
    EXPECT_FALSE(isUnusableExchange("")); // the required-field check reports it
}
