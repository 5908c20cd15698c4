#include "EntryFixtures.h"
#include "entry/Multipliers.h"
#include "logstore/CountyTable.h"
#include "logstore/SectionTable.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

using namespace zq;

namespace {

void setCounties(const QStringList& names)
{
    auto& t = CountyTable::instance();
    for (int i = 0; i < names.size(); ++i)
        t.CountyName[static_cast<size_t>(i + 1)] = names[i];
    t.CountyCount = static_cast<float>(names.size());
}

} // namespace

TEST(CountyListsTest, RebuildFromTheLog)
{
    test::TestEnv env;
    setCounties({"Dunmore", "Ardent", "Cobalt", "Bellmoor"});
    CountyLists lists;
    lists.rebuild();
    EXPECT_TRUE(lists.worked.isEmpty());
    EXPECT_EQ(lists.toGo, (QStringList{"Ardent", "Bellmoor", "Cobalt", "Dunmore"}));
    EXPECT_EQ(lists.workedCaption(false), "Counties Worked - 0");
    EXPECT_EQ(lists.toGoCaption(true), "Cnty Rem - 4");

    test::addQso({.call = "A", .county = "cobalt"});
    test::addQso({.call = "B", .band = "40", .county = "COBALT"});
    test::addQso({.call = "C", .county = "Elsewhere"});
    test::addQso({.call = "D", .county = ""});
    test::addQso({.call = "E", .county = "Ardent"});
    lists.rebuild();
    EXPECT_EQ(lists.worked, (QStringList{"Ardent", "cobalt", "Elsewhere"}));
    EXPECT_EQ(lists.toGo, (QStringList{"Bellmoor", "Dunmore"}));
    EXPECT_EQ(lists.workedCaption(true), "Cnty Wkd - 3");
    EXPECT_EQ(lists.toGoCaption(false), "Counties To Go - 2");
}

TEST(CountyListsTest, AddCountyKeepsOrderAndCountsOnce)
{
    test::TestEnv env;
    setCounties({"Ardent", "Bellmoor", "Cobalt", "Dunmore"});
    CountyLists lists;
    lists.rebuild();
    CountyLists::Change ch = lists.addCounty("Cobalt");
    EXPECT_EQ(ch.workedInsertedAt, 0);
    EXPECT_EQ(ch.toGoRemovedAt, 2);
    ch = lists.addCounty("ardent");
    EXPECT_EQ(ch.workedInsertedAt, 0);
    EXPECT_EQ(lists.worked, (QStringList{"ardent", "Cobalt"}));
    ch = lists.addCounty("COBALT");
    EXPECT_EQ(ch.workedInsertedAt, -1);
    EXPECT_EQ(ch.toGoRemovedAt, -1);
    ch = lists.addCounty("");
    EXPECT_EQ(ch.workedInsertedAt, -1);
    EXPECT_EQ(lists.toGo, (QStringList{"Bellmoor", "Dunmore"}));
    EXPECT_EQ(sortedInsertPosition(lists.toGo, "c"), 1);
}

TEST(StateGrid, MarksCountEachStateOnce)
{
    test::TestEnv env;
    SectionTable::instance().build();
    const auto& codes = SectionTable::instance().SectionCode;
    MultiplierMatrix m;
    EXPECT_EQ(markStateWorked(m, "tx", codes), 24);
    EXPECT_EQ(markStateWorked(m, "TX", codes), 0);
    EXPECT_EQ(markStateWorked(m, "XX", codes), 0);
    EXPECT_EQ(m.MultiplierCellCount, 1);

    const char* spcs[] = {"CT", "ma", "ME", "NH", "RI", "VT", "NY", "NJ", "DE", "PA", "MD", "ON",
                          "CT", "Germany", "XX", "T"};
    for (const char* s : spcs)
        test::addQso({.call = "A", .spc = s});
    MultiplierMatrix r;
    rebuildStateMatrix(r, codes);
    EXPECT_EQ(r.MultiplierCellCount, 0); // the rebuild leaves the count
    EXPECT_EQ(recountCells(r), 12);
    EXPECT_TRUE(rowWorked(r, 53));
    EXPECT_FALSE(rowWorked(r, 24));
}

TEST(DxList, OneEntryPerCountryInAnyCase)
{
    test::TestEnv env;
    for (const char* s : {"Germany", "TX", "GERMANY", "Austria", "", "Japan"})
        test::addQso({.call = "A", .spc = s});
    const QStringList dx = rebuildDxList();
    EXPECT_EQ(dx, (QStringList{"Austria", "Germany", "Japan"}));
    EXPECT_EQ(dxCaption(static_cast<int>(dx.size())), "DX - 3");
    EXPECT_EQ(indexOfText(dx, "japan"), 2);
}
