#include "logstore/SectionTable.h"
#include "support/TestEnv.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::TestEnv;

TEST(SectionTable, HoldsTheFiftyNineEntriesInGridOrder)
{
    TestEnv env;
    auto& t = SectionTable::instance();
    t.build();
    struct Case {
        int index;
        const char* code;
        const char* name;
    };
    const Case cases[] = {
        {1, "CT", "Connecticut"}, {10, "PA", "Pennsylvania"}, {24, "TX", "Texas"},
        {25, "ZQ", "Carvonia"},   {38, "OH", "Ohio"},         {50, "SD", "South Dakota"},
        {51, "MR", "Maritime"},   {58, "NT", "Northwest Territories"},
        {59, "NL", "Newfoundland/Labrador"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(t.SectionCode[c.index], c.code) << c.index;
        EXPECT_EQ(t.SectionName[c.index], c.name) << c.index;
    }
    QSet<QString> codes;
    for (int i = 1; i <= 59; ++i) {
        EXPECT_EQ(t.SectionCode[i].size(), 2) << i;
        EXPECT_EQ(t.SectionCode[i], t.SectionCode[i].toUpper()) << i;
        codes.insert(t.SectionCode[i]);
    }
    EXPECT_EQ(codes.size(), 59);
    EXPECT_TRUE(t.SectionCode[0].isEmpty());
    EXPECT_TRUE(t.SectionCode[60].isEmpty());
}

TEST(SectionTable, IndexOfIgnoresCaseAndKnowsOnlyTheTable)
{
    TestEnv env;
    auto& t = SectionTable::instance();
    struct Case {
        const char* code;
        int index;
    };
    const Case cases[] = {{"ZQ", 25}, {"zq", 25}, {"Nl", 59}, {"ct", 1},       {"DC", 0},
                          {"PR", 0},  {"", 0},    {"Z", 0},   {"Carvonia", 0}, {"ZQ ", 0}};
    // Not built (the out-of-state window): nothing matches, not even "".
    for (const auto& c : cases)
        EXPECT_EQ(t.indexOf(QString::fromLatin1(c.code)), 0) << c.code;
    t.build();
    for (const auto& c : cases)
        EXPECT_EQ(t.indexOf(QString::fromLatin1(c.code)), c.index) << c.code;
}
