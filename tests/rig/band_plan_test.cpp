// The band plan: its two readers, the mode it gives a frequency, the shipped
// plan's rules, and the privileges display drawn from it.

#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "rig/BandPlan.h"
#include "rig/frmBandPlan.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <gtest/gtest.h>
#include <cmath>

using namespace zq;
using namespace zq::test;

namespace {

QByteArray shippedPlan()
{
    QFile f(QStringLiteral(ZQ_SOURCE_DIR "/data/BandPlan.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// A small plan: 160 m, 40 m and 20 m for Extra, General only on 20 m, an
// Extra row in lower case, two overlapping Extra rows on 15 m.
const QByteArray SmallPlan = "\"2024/01/01\"\r\n"
                             "\"160\",\"O\",\"PH\",1.8,2.0\r\n"
                             "\"160\",\"E\",\"CW\",1.8,2.0\r\n"
                             "\"40\",\"O\",\"PH\",7.0,7.3\r\n"
                             "\"40\",\"E\",\"CW\",7.0,7.125\r\n"
                             "\"40\",\"E\",\"PH\",7.125,7.3\r\n"
                             "\"20\",\"O\",\"PH\",14.0,14.35\r\n"
                             "\"20\",\"G\",\"PH\",14.0,14.35\r\n"
                             "\"20\",\"E\",\"PH\",14.15,14.35\r\n"
                             "\"20\",\"e\",\"CW\",14.0,14.15\r\n"
                             "\"15\",\"O\",\"PH\",21.0,21.45\r\n"
                             "\"15\",\"E\",\"RTTY\",21.0,21.2\r\n"
                             "\"15\",\"E\",\"CW\",21.0,21.45\r\n";

QString modeFor(const BandPlanRows& rows, float f, const QString& in = {})
{
    QString m = in;
    BandPlanMode(rows, f, m);
    return m;
}

QList<QLabel*> drawing(frmBandPlan& w, const char* prefix)
{
    QList<QLabel*> out;
    for (QObject* o : w.children())
        if (auto* l = qobject_cast<QLabel*>(o); l && l->objectName().startsWith(QLatin1String(prefix)))
            out.append(l);
    return out;
}

QColor back(const QLabel& l)
{
    return l.palette().color(QPalette::Window);
}

} // namespace

TEST(BandPlan, ModeForAFrequencyFollowsTheExtraRows)
{
    BandPlanRows rows;
    ASSERT_EQ(readBandPlan(SmallPlan, rows, true).status, BandPlanRead::Complete);
    ASSERT_EQ(rows.rowCount(), 6); // Extra rows only; "e" is not Extra
    const struct {
        float f;
        const char* in;
        const char* want;
    } cases[] = {
        {7.2f, "", "LSB"},      // phone on 40 m
        {14.2f, "", "USB"},     // phone on 20 m
        {7.05f, "", "CW"},      // CW on any band
        {1.9f, "", ""},         // 160 m never changes the mode
        {7.125f, "", ""},       // a shared edge matches neither segment
        {14.15f, "", ""},       // lower edge itself
        {14.05f, "", ""},       // only the "e" row and a General row hold it
        {10.12f, "", ""},       // outside every band
        {10.12f, "PH", "USB"},  // no match: an incoming PH still becomes USB
        {10.12f, "FM", "FM"},   // and anything else stays
        {21.1f, "", "RTTY"},    // the earlier of two overlapping rows decides
        {21.3f, "", "CW"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modeFor(rows, c.f, QString::fromLatin1(c.in)), QString::fromLatin1(c.want)) << c.f;
}

TEST(BandPlan, ReadersStopAtDamageAndAtTheTableSize)
{
    BandPlanRows rows;
    // The date alone: an empty table.
    BandPlanReadResult r = readBandPlan("\"Jan 1\"\r\n", rows, false);
    EXPECT_EQ(r.status, BandPlanRead::Complete);
    EXPECT_EQ(r.date, QStringLiteral("Jan 1"));
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(readBandPlan("", rows, false).status, BandPlanRead::NoDate);

    // A record cut short, and one with an edge that is no number: the rows
    // before stay, the partial record is dropped.
    for (const QByteArray& tail : {QByteArray("\"20\",\"E\",\"CW\",14.0\r\n"),
                                   QByteArray("\"20\",\"E\",\"CW\",14.0,abc\r\n")}) {
        r = readBandPlan("\"d\"\r\n\"40\",\"E\",\"CW\",7.0,7.1\r\n" + tail, rows, false);
        EXPECT_EQ(r.status, BandPlanRead::BadRecord);
        EXPECT_EQ(rows.rowCount(), 1);
        EXPECT_EQ(rows.SegmentBand[1], QStringLiteral("40"));
    }

    // 201 records: the display's reader keeps 200 and reports; the rig's
    // keeps every Extra row up to 200.
    QByteArray many = "\"d\"\r\n";
    for (int i = 0; i < 201; ++i)
        many += "\"20\",\"E\",\"CW\",14.0,14.1\r\n";
    r = readBandPlan(many, rows, false);
    EXPECT_EQ(r.status, BandPlanRead::TooManyRows);
    EXPECT_EQ(rows.rowCount(), 200);
    r = readBandPlan(many, rows, true);
    EXPECT_EQ(rows.rowCount(), 200);
    EXPECT_EQ(modeFor(rows, 14.05f), QStringLiteral("CW"));
}

TEST(BandPlan, FrequenciesShowGroupedWithThreeDecimals)
{
    const struct {
        double mhz;
        const char* text;
    } cases[] = {{14.35, "14.350"}, {14.0, "14.000"}, {1240.5, "1,240.500"},
                 {0.5, ".500"},     {1.8, "1.800"},   {float(14.35), "14.350"}};
    for (const auto& c : cases)
        EXPECT_EQ(formatPlanFrequency(c.mhz), QString::fromLatin1(c.text)) << c.mhz;
}

TEST(BandPlan, ShippedPlanFollowsTheFileRules)
{
    BandPlanRows all;
    ASSERT_EQ(readBandPlan(shippedPlan(), all, false).status, BandPlanRead::Complete);
    const QSet<QString> bandNames = {"160", "80", "60", "40", "30", "20", "17", "15", "12",
                                     "10",  "6",  "2",  "1.25", "440", "902", "1.24"};
    const QSet<QString> classes = {"N", "T", "P", "G", "A", "E"};
    QSet<QString> seenBands;
    QMap<QString, QSet<QString>> bandsOfClass;
    float lo = 0, hi = 0;
    QString band;
    for (int i = 1; i <= all.rowCount(); ++i) {
        const QString b = all.SegmentBand[i];
        if (b != band) {
            // A band's rows are contiguous and its outline row comes first.
            EXPECT_FALSE(seenBands.contains(b)) << b.toStdString();
            EXPECT_EQ(all.SegmentClass[i], QStringLiteral("O")) << b.toStdString();
            EXPECT_TRUE(bandNames.contains(b)) << b.toStdString();
            seenBands.insert(b);
            band = b;
            lo = all.SegmentLowerMHz[i];
            hi = all.SegmentUpperMHz[i];
            EXPECT_LT(lo, hi);
            continue;
        }
        const QString c = all.SegmentClass[i];
        EXPECT_TRUE(classes.contains(c)) << c.toStdString();
        EXPECT_GE(all.SegmentLowerMHz[i], lo) << b.toStdString();
        EXPECT_LE(all.SegmentUpperMHz[i], hi) << b.toStdString();
        EXPECT_LT(all.SegmentLowerMHz[i], all.SegmentUpperMHz[i]);
        bandsOfClass[c].insert(b);
        const QString m = all.SegmentMode[i];
        EXPECT_TRUE(m == "CW" || m == "PH" || (b == "60" && m == "USB")) << m.toStdString();
    }
    EXPECT_EQ(seenBands, bandNames);
    for (const QString& c : classes)
        EXPECT_LE(bandsOfClass[c].size(), 20) << c.toStdString();
    // Technician Plus holds the Technician privileges.
    EXPECT_EQ(bandsOfClass["P"], bandsOfClass["T"]);

    // The tuning panel's band buttons land in an Extra segment wherever the
    // plan sets a mode; 60 m is upper sideband only.
    BandPlanRows extra;
    readBandPlan(shippedPlan(), extra, true);
    const struct {
        float f;
        const char* mode;
    } buttons[] = {{1.9f, ""},       {3.75f, "LSB"},  {7.15f, "LSB"},  {10.13f, "CW"},
                   {14.175f, "USB"}, {18.118f, "USB"}, {21.225f, "USB"}, {24.94f, "USB"},
                   {28.5f, "USB"},   {52.f, "USB"},    {146.f, "USB"},   {223.5f, "USB"},
                   {435.f, "USB"},   {915.f, "USB"},   {1270.f, "USB"},  {5.3585f, "USB"}};
    for (const auto& b : buttons)
        EXPECT_EQ(modeFor(extra, b.f), QString::fromLatin1(b.mode)) << b.f;
}

TEST(BandPlanWindow, OpensOnExtraWithBoxesNamesAndBars)
{
    TestEnv env;
    setScreenTwipsForTesting(9600, 7200);
    env.seedDataFile("BandPlan.txt");
    frmBandPlan& w = DefaultInstance<frmBandPlan>();
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Frequency Privileges"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("Frequencies Effective: 2012/03/05"));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("Extra Frequency Privileges"));
    EXPECT_EQ(back(*w.Label3), QColor(0, 0, 255));
    EXPECT_EQ(back(*w.Label4), QColor(0, 255, 0));

    // Extra: every band but none; names and boxes pair up in file order.
    const auto boxes = drawing(w, "blbl");
    const auto names = drawing(w, "bnlb");
    ASSERT_EQ(boxes.size(), 16);
    ASSERT_EQ(names.size(), 16);
    EXPECT_EQ(boxes[0]->objectName(), QStringLiteral("blbl1"));
    EXPECT_EQ(boxes[0]->text(), QStringLiteral("160"));
    EXPECT_EQ(boxes[5]->toolTip(), QStringLiteral("20  14.000 - 14.350"));
    EXPECT_EQ(names[5]->text(), QStringLiteral("20"));
    EXPECT_EQ(back(*names[5]), QColor(255, 255, 0));
    EXPECT_EQ(back(*boxes[5]), QColor(0, 0, 0));

    // The 20 m Extra bars: CW 14.000-14.150 blue over the left 3/7 of the
    // box, phone 14.150-14.350 green over the rest.
    const TwipsRect box = controlTwips(*boxes[5]);
    QLabel* cw = nullptr;
    QLabel* ph = nullptr;
    for (QLabel* b : drawing(w, "priv")) {
        if (b->text() == QStringLiteral("14.000 - 14.150")) cw = b;
        if (b->text() == QStringLiteral("14.150 - 14.350")) ph = b;
    }
    ASSERT_TRUE(cw && ph);
    EXPECT_EQ(cw->toolTip(), QStringLiteral("CW  14.000 - 14.150"));
    EXPECT_EQ(ph->toolTip(), QStringLiteral("PH  14.150 - 14.350"));
    EXPECT_EQ(back(*cw), QColor(0, 0, 255));
    EXPECT_EQ(back(*ph), QColor(0, 255, 0));
    const double px = pixelsToTwipsX(1, &w) * 1.5;
    EXPECT_NEAR(controlTwips(*cw).Left, box.Left, px);
    EXPECT_NEAR(controlTwips(*cw).Width, box.Width * 0.15 / 0.35, px);
    EXPECT_NEAR(controlTwips(*ph).Left, box.Left + box.Width * 0.15 / 0.35, px);
    EXPECT_NEAR(controlTwips(*cw).Top, box.Top, px);

    // Boxes fill the upper 80 % below Line1, the first one pitch below it.
    const TwipsRect f = formTwips(w);
    const double pitch = 0.8 * (f.Height - w.Line1->Y1()) / 16;
    EXPECT_NEAR(controlTwips(*boxes[0]).Top, w.Line1->Y1() + pitch, px);
    EXPECT_NEAR(controlTwips(*boxes[15]).Top, w.Line1->Y1() + 16 * pitch, px);

    // Novice: 80, 40, 15, 10, 1.25 and 1.24; drawn twice the same.
    for (int i = 0; i < 2; ++i) {
        w.Command1->click();
        EXPECT_EQ(w.Label2->text(), QStringLiteral("Novice Frequency Privileges"));
        QStringList bands;
        for (QLabel* b : drawing(w, "blbl"))
            bands << b->text();
        EXPECT_EQ(bands, QStringList({"80", "40", "15", "10", "1.25", "1.24"}));
        EXPECT_EQ(drawing(w, "priv").size(), 7);
        EXPECT_EQ(drawing(w, "priv").first()->objectName(), QStringLiteral("priv1"));
    }
    WindowRegistry::unload<frmBandPlan>();
    setScreenTwipsForTesting(0, 0);
}

TEST(BandPlanWindow, EdgeCasesOfTheDrawing)
{
    TestEnv env;
    // One qualifying band for General; a General row after another band
    // does not make 40 m qualify; an unknown mode is drawn as phone; a band
    // with equal edges stops the bars there.
    env.writeWorkFile("BandPlan.txt", "\"X\"\r\n"
                                      "\"40\",\"O\",\"PH\",7.0,7.3\r\n"
                                      "\"40\",\"E\",\"CW\",7.0,7.3\r\n"
                                      "\"20\",\"O\",\"PH\",14.0,14.35\r\n"
                                      "\"20\",\"G\",\"RTTY\",14.0,14.1\r\n"
                                      "\"20\",\"G\",\"CW\",14.3,14.5\r\n"
                                      "\"40\",\"G\",\"CW\",7.0,7.1\r\n"
                                      "\"17\",\"O\",\"PH\",18.1,18.1\r\n"
                                      "\"17\",\"A\",\"CW\",18.1,18.1\r\n");
    frmBandPlan& w = DefaultInstance<frmBandPlan>();
    w.Command4->click();
    auto boxes = drawing(w, "blbl");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text(), QStringLiteral("20"));
    const TwipsRect f = formTwips(w);
    const double px = pixelsToTwipsX(1, &w) * 1.5;
    EXPECT_NEAR(controlTwips(*boxes[0]).Top,
                w.Line1->Y1() + 0.8 * (f.Height - w.Line1->Y1()), px);
    const auto bars = drawing(w, "priv");
    ASSERT_EQ(bars.size(), 2);
    EXPECT_EQ(bars[0]->toolTip(), QStringLiteral("PH  14.000 - 14.100"));
    EXPECT_EQ(back(*bars[0]), QColor(0, 255, 0));
    // A segment past the band's upper edge reaches past the box.
    const TwipsRect box = controlTwips(*boxes[0]);
    EXPECT_GT(controlTwips(*bars[1]).Left + controlTwips(*bars[1]).Width, box.Left + box.Width);

    // Advanced: the 17 m box is placed, its bar cannot be scaled.
    w.Command5->click();
    EXPECT_EQ(drawing(w, "blbl").size(), 1);
    EXPECT_EQ(drawing(w, "bnlb").size(), 1);
    EXPECT_TRUE(drawing(w, "priv").isEmpty());

    // Novice: nothing at all, the old drawing gone.
    w.Command1->click();
    EXPECT_TRUE(drawing(w, "blbl").isEmpty());
    EXPECT_TRUE(drawing(w, "bnlb").isEmpty());
    EXPECT_EQ(w.Label2->text(), QStringLiteral("Novice Frequency Privileges"));
    WindowRegistry::unload<frmBandPlan>();

    // 21 qualifying bands: boxes made, the drawing stops at the 21st.
    QByteArray wide = "\"X\"\r\n";
    for (int i = 0; i < 21; ++i)
        wide += QStringLiteral("\"B%1\",\"O\",\"PH\",%1.0,%1.5\r\n\"B%1\",\"E\",\"CW\",%1.1,%1.2\r\n")
                    .arg(i + 1)
                    .toLatin1();
    env.writeWorkFile("BandPlan.txt", wide);
    frmBandPlan& w2 = DefaultInstance<frmBandPlan>();
    EXPECT_EQ(drawing(w2, "blbl").size(), 21);
    EXPECT_TRUE(drawing(w2, "bnlb").isEmpty());
    EXPECT_TRUE(drawing(w2, "priv").isEmpty());
    WindowRegistry::unload<frmBandPlan>();
}

TEST(BandPlanWindow, DamagedOrMissingFileSaysSoAndStillOpens)
{
    const struct {
        const char* content; // nullptr: no file
        const char* label1;
        int rowsKept;
    } cases[] = {
        {nullptr, "Frequencies Effective", 0},
        {"\"D\"\r\n\"20\",\"O\",\"PH\",14.0,14.35\r\n\"20\",\"E\",\"CW\"\r\n",
         "Frequencies Effective: D", 1},
    };
    for (const auto& c : cases) {
        TestEnv env;
        if (c.content)
            env.writeWorkFile("BandPlan.txt", c.content);
        frmBandPlan& w = DefaultInstance<frmBandPlan>();
        EXPECT_EQ(env.prompt().messageTexts(), QStringList{"Band data not available."});
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Band Data Not Available."});
        EXPECT_EQ(w.Label1->text(), QString::fromLatin1(c.label1));
        EXPECT_EQ(w.Label2->text(), QStringLiteral("Privelages"));
        EXPECT_TRUE(drawing(w, "blbl").isEmpty());
        EXPECT_EQ(w.rows().rowCount(), c.rowsKept);
        WindowRegistry::unload<frmBandPlan>();
    }
}

TEST(BandPlanWindow, FontFactorFollowsTheScreenWidthUpToOneAndAHalf)
{
    for (const auto& [width, factor] : {std::pair{15360.0, 1.5}, {12000.0, 1.25}, {9600.0, 1.0}}) {
        setScreenTwipsForTesting(width, 7200);
        EXPECT_DOUBLE_EQ(frmBandPlan::fontFactor(nullptr), factor);
    }
    setScreenTwipsForTesting(0, 0);
}
