#include "EntryFixtures.h"
#include "entry/Clocks.h"
#include "entry/ContactListRows.h"
#include "support/TestEnv.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace zq;

TEST(ContactListRowsTest, NewestTwentyOrAll)
{
    struct Case {
        int count;
        bool all;
        int first;
    };
    const Case cases[] = {{0, false, 1}, {19, false, 1}, {20, false, 1}, {21, false, 2},
                          {11000, false, 10981}, {11000, true, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(firstListedContact(c.count, c.all), c.first) << c.count;
}

TEST(ContactListRowsTest, ColumnsOfBothWindows)
{
    test::TestEnv env;
    test::addQso({.call = "W5ABC", .band = "40", .mode = "CW", .county = "Ardent", .spc = "ZQ",
                  .countySent = "Cobalt", .date = "2013/09/14", .time = "18:05:33"});
    test::addQso({.call = "K1X", .date = "2013/09/14", .time = "8:05"});
    EXPECT_EQ(contactRow(1, false, true),
              (QStringList{"1", "W5ABC", "59", "Ardent", "59", "09/14 18:05", "CW", "40"}));
    EXPECT_EQ(contactRow(1, true, false),
              (QStringList{"1", "W5ABC", "59", "ZQ", "Ardent", "59", "09/14 18:05", "CW", "40"}));
    EXPECT_EQ(contactRow(1, true, true).last(), "Cobalt");
    EXPECT_EQ(contactRow(2, false, false)[5], "09/14 08:05");
    EXPECT_EQ(contactListHeaders(true, true).size(), 10);
    EXPECT_EQ(contactListHeaders(false, true).size(), 8);
}

TEST(Clocks, OperatingTimeAndClockTexts)
{
    EXPECT_EQ(operatingTimeText(0), "00:00:00");
    EXPECT_EQ(operatingTimeText(65), "00:01:05");
    EXPECT_EQ(operatingTimeText(3725), "01:02:05");
    EXPECT_EQ(operatingTimeText(99 * 3600 + 59 * 60 + 59), "99:59:59");
    EXPECT_EQ(operatingTimeText(100 * 3600), "00:00:00");
    EXPECT_EQ(operatingTimeText(123 * 3600 + 4), "23:00:04");

    const QDateTime local(QDate(2026, 9, 12), QTime(21, 30, 0), Qt::UTC);
    EXPECT_EQ(utcClockText(local, 5), "02:30:00");
    EXPECT_EQ(utcClockText(local, 5.5f), "03:00:00");
    EXPECT_EQ(localClockText(local), "9:30:00");
    EXPECT_EQ(localClockText(QDateTime(QDate(2026, 9, 12), QTime(0, 5, 7), Qt::UTC)), "12:05:07");
    EXPECT_EQ(amPmText(local), QLocale().pmText());

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString offHalf = loggedOffMessage(local, 5.5f); // whole hours: 6
    const QString off = loggedOffMessage(local, 5);
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(offHalf.startsWith("Logged Off at 9/13/")) << offHalf.toStdString();
    EXPECT_TRUE(offHalf.endsWith(" 03:30:00")) << offHalf.toStdString();
    EXPECT_TRUE(off.endsWith(" 02:30:00")) << off.toStdString();

    const QDateTime on(QDate(2026, 9, 12), QTime(18, 0, 0), Qt::UTC);
    EXPECT_EQ(operatingSeconds(100, on, on.addSecs(65)), 165);
}

TEST(Clocks, DuplicateLockIsBoundedByTheMonotonicClock)
{
    using namespace std::chrono;
    const steady_clock::time_point t0{seconds(1000)};
    EXPECT_EQ(dupeLockRemaining(t0, t0 + seconds(1)), milliseconds(2000));
    EXPECT_EQ(dupeLockRemaining(t0, t0 + seconds(5)), milliseconds(0));
    EXPECT_EQ(dupeLockRemaining(t0, t0), milliseconds(3000));
    // A duplicate time ahead of the clock never holds more than 3 seconds.
    EXPECT_EQ(dupeLockRemaining(t0 + hours(1), t0), milliseconds(3000));

    int polls = 0;
    EXPECT_TRUE(holdWhile([&] { return ++polls < 3; }, milliseconds(2000)));
    EXPECT_FALSE(holdWhile([] { return true; }, milliseconds(30)));
}
