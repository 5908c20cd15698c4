// The rate graph's computation: columns, the ten-minute count, bridging,
// smoothing, scale ends, ribbon colours and the captions.

#include "logstore/ContactLog.h"
#include "output/RateGraph.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

const BandColours Bands = {qRgb(255, 255, 255), qRgb(0, 0, 255),   qRgb(255, 0, 0),
                           qRgb(0, 255, 0),     qRgb(128, 255, 255), qRgb(255, 0, 255),
                           qRgb(255, 255, 0)};
const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

class RateGraphTest : public ::testing::Test {
protected:
    TestEnv env;
    ContactLog& log = ContactLog::instance();
    const QDateTime base{QDate(2026, 9, 12), QTime(18, 0, 0), Qt::UTC};

    // Contacts at these seconds after 2026/09/12 18:00:00, in this order.
    void logAt(const std::vector<int>& seconds, const QStringList& bands = {})
    {
        log.reset();
        for (size_t i = 0; i < seconds.size(); ++i) {
            const QDateTime t = base.addSecs(seconds[i]);
            const QString band = i < size_t(bands.size()) ? bands[int(i)] : QStringLiteral("20");
            add(t.toString("yyyy/MM/dd"), t.toString("HH:mm:ss"), band);
        }
    }
    void add(const QString& date, const QString& time, const QString& band = "20")
    {
        log[++log.ContactCount] = contactRecord("W1AW", "59", "59", "", "Alderbrook", "", date, time,
                                                "CW", band);
    }
    RateGraph graph(QRgb background = Black)
    {
        return computeRateGraph(log, log.ContactCount, Bands, background);
    }
};

} // namespace

TEST(RateFormat, RoundsHalvesAwayFromZeroToOneDecimal)
{
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {{0.0f, "0.0"},         {6.0f, "6.0"},      {11.25f, "11.3"},
                          {11.24f, "11.2"},      {0.05f, "0.1"},     {0.04f, "0.0"},
                          {9.95f, "10.0"},       {99.96f, "100.0"},  {1.35f, "1.4"},
                          {12345.67f, "12345.7"}, {66000.0f, "66000.0"}};
    for (const Case& c : cases)
        EXPECT_EQ(formatRate(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(RateBands, OnlyTheSixNamedBandTextsHaveTheirOwnColour)
{
    struct Case {
        const char* band;
        int index;
    };
    const Case cases[] = {{"160", 0}, {"80", 1}, {"40", 2}, {"20", 3}, {"15", 4}, {"10", 5},
                          {"6", 6},   {"2", 6},  {"", 6},   {"20 ", 6}, {"020", 6}};
    for (const Case& c : cases)
        EXPECT_EQ(bandLegendIndex(QString::fromLatin1(c.band)), c.index) << c.band;
}

TEST_F(RateGraphTest, SevenReadableContactsAreNeeded)
{
    logAt({0, 60, 120, 180, 240, 300});
    EXPECT_EQ(graph().outcome, RateGraph::Outcome::TooFewContacts);
    EXPECT_FALSE(graph().timeLabelsSet());

    // A damaged seventh row does not count.
    add("2026/09/12", "25:00:00");
    EXPECT_EQ(graph().outcome, RateGraph::Outcome::TooFewContacts);
    add("2026/09/12", "18:07");
    EXPECT_EQ(graph().outcome, RateGraph::Outcome::Drawn);
}

TEST_F(RateGraphTest, ColumnsCountsAndTimeLabels)
{
    // 14 hours: one time label an hour, across midnight; 33.6 s a column.
    logAt({0, 599, 1199, 1800, 1801, 1802, 50400}, {"160", "80", "40", "6", "6", "6", "10"});
    const RateGraph g = graph();
    ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
    for (int k = 0; k < 15; ++k) {
        const QDateTime t = base.addSecs(3600 * k);
        EXPECT_EQ(g.lblTime[k], t.toString("HH:mm")) << k;
        EXPECT_EQ(g.lblDate[k], t.toString("MM/dd")) << k;
    }
    // 599 s apart count together (column 18: two contacts); 600 s apart
    // do not (column 36: one).
    EXPECT_EQ(g.ColumnRate[18], 12);
    EXPECT_EQ(g.ColumnRate[36], 6);
    // Three contacts in column 54 (1800 s / 33.6 = 53.6): the last one's
    // count wins, and a 6 m contact takes the "Other" colour.
    EXPECT_EQ(g.ColumnRate[54], 18); // 1800, 1801, 1802
    EXPECT_EQ(g.ColumnBandColor[54], Bands[6]);
    EXPECT_EQ(g.ColumnBandColor[36], Bands[2]);
    // The first contact lies in column 1, the last in 1500.
    EXPECT_EQ(g.ColumnRate[1500], 6);
    EXPECT_EQ(g.ColumnBandColor[1500], Bands[5]);
    EXPECT_EQ(g.ColumnRate[1], 6);
    EXPECT_EQ(g.SmoothedRate[1], 6);
    // Long gaps leave columns at 0: the lowest rate label reads 0.0.
    EXPECT_EQ(g.RateMin, 0);
    EXPECT_EQ(g.lblY[0], "0.0");
    EXPECT_EQ(g.lblY[16], formatRate(g.RateMax));
}

TEST_F(RateGraphTest, GapsUpToFifteenColumnsAreBridged)
{
    // 3000 s: 2 s a column.  Columns 1, 1 (2 s), 100, 116, 200, 217, 1000, 1500.
    logAt({0, 2, 200, 232, 400, 434, 2000, 3000});
    const RateGraph g = graph();
    ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
    // Column 1 holds the rate of its last contact, but is plotted at 6.
    EXPECT_EQ(g.ColumnRate[1], 12);
    EXPECT_EQ(g.SmoothedRate[1], 6);
    EXPECT_EQ(g.ColumnRate[100], 18);
    EXPECT_EQ(g.ColumnRate[116], 24);
    // 15 empty columns: a straight ramp that starts with column 100's value
    // and would reach column 116's at 116.
    for (int k = 101; k <= 115; ++k)
        EXPECT_FLOAT_EQ(g.ColumnRate[k], 18 + (k - 101) * 6.0f / 15) << k;
    // 16 empty columns: the first falls to 0, then a ramp rises from 0
    // over the 15 columns before the next contact column.
    EXPECT_EQ(g.ColumnRate[200], 30);
    EXPECT_EQ(g.ColumnRate[217], 36);
    EXPECT_EQ(g.ColumnRate[201], 0);
    EXPECT_EQ(g.ColumnRate[202], 0);
    EXPECT_FLOAT_EQ(g.ColumnRate[203], 36.0f / 15);
    EXPECT_FLOAT_EQ(g.ColumnRate[216], 36.0f * 14 / 15);
    // Far from any contact the columns stay 0.
    EXPECT_EQ(g.ColumnRate[500], 0);
    EXPECT_EQ(g.SmoothedRate[500], 0);
    // Smoothing: the mean of those of the seven columns up to x that are
    // above 0 (column 116 has seven, column 118 five: 117 and 118 are 0).
    float sum = 0;
    for (int c = 110; c <= 116; ++c)
        sum += g.ColumnRate[c];
    EXPECT_FLOAT_EQ(g.SmoothedRate[116], sum / 7);
    sum = 0;
    for (int c = 112; c <= 116; ++c)
        sum += g.ColumnRate[c];
    EXPECT_EQ(g.ColumnRate[117], 0);
    EXPECT_FLOAT_EQ(g.SmoothedRate[118], sum / 5);
}

TEST_F(RateGraphTest, HalfColumnsRoundToTheEvenColumn)
{
    // 2 s a column: 1 s is column 0.5 -> 0, 3 s is 1.5 -> 2, 5 s is 2.5 -> 2.
    logAt({0, 1, 3, 5, 3000, 3000, 3000}, {"20", "80", "40", "15", "20", "20", "20"});
    const RateGraph g = graph();
    ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
    EXPECT_EQ(g.ColumnRate[0], 12);
    EXPECT_EQ(g.ColumnBandColor[0], Bands[1]);
    EXPECT_EQ(g.ColumnRate[1], 6);
    EXPECT_EQ(g.ColumnRate[2], 24); // the contact at 5 s, counting four
    EXPECT_EQ(g.ColumnBandColor[2], Bands[4]);
    EXPECT_EQ(g.ColumnRate[3], 0);
}

TEST_F(RateGraphTest, RibbonCarriesTheBandColourThroughARun)
{
    // Contacts every 60 s (5 columns apart) on 80 m, one 160 m contact in
    // the middle, then a long gap and a second run on 40 m.
    std::vector<int> at;
    QStringList bands;
    for (int s = 0; s <= 1800; s += 60) {
        at.push_back(s);
        bands << (s == 900 ? "160" : "80");
    }
    for (int s = 16200; s <= 18000; s += 60) {
        at.push_back(s);
        bands << "40";
    }
    logAt(at, bands);
    // 18000 s: 12 s a column; 900 s is column 75, 1800 s column 150.
    const RateGraph black = graph(Black);
    EXPECT_EQ(black.ColumnBandColor[3], Bands[1]);  // bridged: carried from column 1
    EXPECT_EQ(black.ColumnBandColor[75], Bands[0]); // white on black
    EXPECT_EQ(black.ColumnBandColor[77], Bands[0]); // carried from the 160 m column
    EXPECT_EQ(black.ColumnBandColor[81], Bands[1]);
    EXPECT_EQ(black.ColumnBandColor[800], Black); // in the gap
    EXPECT_EQ(black.ColumnBandColor[1400], Bands[2]);

    // On white, the 160 m column is the background: it takes the colour
    // carried from the left.
    const RateGraph white = graph(White);
    EXPECT_EQ(white.ColumnBandColor[75], Bands[1]);
    EXPECT_EQ(white.ColumnBandColor[77], Bands[1]);
    EXPECT_EQ(white.ColumnBandColor[800], White);
    // The first run's columns before its first contact column: none here,
    // the run starts at column 1; the second run's ramp columns before its
    // first contact column keep the background.
    const int firstOfSecondRun = static_cast<int>(std::nearbyint(16200 / 12.0));
    EXPECT_EQ(white.ColumnBandColor[firstOfSecondRun - 3], White);
    EXPECT_GT(white.SmoothedRate[firstOfSecondRun - 3], 0);
}

TEST_F(RateGraphTest, ContactsOutOfOrderAndDamagedRowsStillGiveTheGraph)
{
    // A contact logged late but made earlier, and rows without a time.
    logAt({600, 660, 720, 780, 840, 900, 3600});
    add("2026/09/12", "18:00:00"); // the earliest, logged last
    add("2026/09/12", "");
    add("12/09/2026", "18:30:00");
    add("2026/9/12", "18:45"); // short forms read too
    const RateGraph g = graph();
    ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
    EXPECT_EQ(g.lblTime[0], "18:00");
    EXPECT_EQ(g.lblTime[14], "19:00");
    EXPECT_EQ(g.ColumnRate[1], 6);
    // 18:45 (2700 s of 3600) lands in column 1125.
    EXPECT_EQ(g.ColumnRate[1125], 6);
}

TEST_F(RateGraphTest, LabelMomentsRoundHalfSecondsUp)
{
    // Seven seconds over 14 labels: label 1 lies at 18:59:59.5 -> 19:00:00.
    log.reset();
    for (const char* t : {"18:59:59", "19:00:00", "19:00:01", "19:00:02", "19:00:03", "19:00:04",
                          "19:00:06"})
        add("2026/09/12", t);
    const RateGraph g = graph();
    EXPECT_EQ(g.lblTime[0], "18:59");
    EXPECT_EQ(g.lblTime[1], "19:00");
    EXPECT_EQ(g.lblTime[14], "19:00");
}

TEST_F(RateGraphTest, NoCurveWhenTheAxisOrTheScaleHasNoLength)
{
    // All in one second: time and date labels only.
    logAt({30, 30, 30, 30, 30, 30, 30});
    RateGraph g = graph();
    EXPECT_EQ(g.outcome, RateGraph::Outcome::SameSecond);
    EXPECT_EQ(g.lblTime[0], "18:00");
    EXPECT_EQ(g.lblTime[14], "18:00");
    EXPECT_EQ(g.lblDate[7], "09/12");
    EXPECT_FALSE(g.rateLabelsSet());

    // Every column alike: 101 contacts 600 s apart are 15 columns apart,
    // each counting alone.
    std::vector<int> at;
    for (int i = 0; i <= 100; ++i)
        at.push_back(600 * i);
    logAt(at);
    g = graph();
    EXPECT_EQ(g.outcome, RateGraph::Outcome::FlatRate);
    EXPECT_EQ(g.RateMin, 6);
    EXPECT_EQ(g.RateMax, 6);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(g.lblY[i], "6.0") << i;

    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QImage before = picture;
    drawRateGraph(picture, g, RateGraphFrame{});
    EXPECT_EQ(picture, before);
}

TEST_F(RateGraphTest, RateLabelsRunEvenlyFromMinimumToMaximum)
{
    // A contact a minute for 50 minutes (a plateau at 60 an hour), then one
    // more at 6000 s after a gap where the rate falls to 0.
    std::vector<int> at;
    for (int s = 0; s <= 3000; s += 60)
        at.push_back(s);
    at.push_back(6000);
    logAt(at);
    const RateGraph g = graph();
    ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
    EXPECT_EQ(g.RateMin, 0);
    EXPECT_EQ(g.RateMax, 60);
    EXPECT_EQ(g.lblY[0], "0.0");
    EXPECT_EQ(g.lblY[1], "3.8");  // 3.75
    EXPECT_EQ(g.lblY[3], "11.3"); // 11.25
    EXPECT_EQ(g.lblY[8], "30.0");
    EXPECT_EQ(g.lblY[15], "56.3"); // 56.25
    EXPECT_EQ(g.lblY[16], "60.0");
}
