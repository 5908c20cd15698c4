// The contact list's clipboard text and its column sort order.

#include "logstore/ArchiveRestore.h"

#include <gtest/gtest.h>

using namespace zq;

TEST(ContactListText, HeaderThenRowsFromBottomToTop)
{
    const QStringList headers{"Rec#", "Call", "Rec", "County"};
    // As listed: newest on top, an empty cell, a row short of cells.
    const std::vector<QStringList> rows{{"3", "N3CD", "", "Ashcombe"},
                                        {"2", "K2AB", "59", "Alderbrook"},
                                        {"1", "W1AW"}};
    EXPECT_EQ(contactListClipboardText(headers, rows),
              QStringLiteral("Rec#\tCall\tRec\tCounty\r\n"
                             "1\tW1AW\t\t\r\n"
                             "2\tK2AB\t59\tAlderbrook\r\n"
                             "3\tN3CD\t\tAshcombe\r\n"));
    EXPECT_EQ(contactListClipboardText(headers, {}), QStringLiteral("Rec#\tCall\tRec\tCounty\r\n"));
}

TEST(ContactListText, RecNumberSortsAsANumberOtherColumnsAsText)
{
    const std::vector<QStringList> rows{
        {"10", "w1aw"}, {"9", "K2AB"}, {"100", "N3CD"}, {"2", "W1AW"}, {"x", "AA1A"}};
    EXPECT_EQ(contactListSortOrder(rows, 0), (std::vector<int>{3, 1, 0, 2, 4}));
    // Without regard to case; equal cells keep their order.
    EXPECT_EQ(contactListSortOrder(rows, 1), (std::vector<int>{4, 1, 2, 0, 3}));
    EXPECT_TRUE(contactListCellLess(1, QStringLiteral("10"), QStringLiteral("9")));
    EXPECT_FALSE(contactListCellLess(0, QStringLiteral("10"), QStringLiteral("9")));
}
