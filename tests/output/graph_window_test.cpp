// The rate graph window, offscreen: the message for a short log, the
// captions, the picture with its curve and ribbon, and the background
// switch.

#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"
#include "output/GraphQSO.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <cmath>

using namespace zq;
using namespace zq::test;

namespace {

const QRgb Blue = qRgb(0, 0, 255);

class GraphWindowTest : public ::testing::Test {
protected:
    TestEnv env;
    ContactLog& log = ContactLog::instance();

    void TearDown() override { WindowRegistry::unloadAll(); }

    // Contacts at these seconds after 2026/09/12 18:00:00 on these bands.
    void logAt(const std::vector<int>& seconds, const std::vector<QString>& bands)
    {
        const QDateTime base(QDate(2026, 9, 12), QTime(18, 0, 0), Qt::UTC);
        log.reset();
        for (size_t i = 0; i < seconds.size(); ++i) {
            const QDateTime t = base.addSecs(seconds[i]);
            log[++log.ContactCount] =
                contactRecord("W1AW", "59", "59", "", "Alderbrook", "", t.toString("yyyy/MM/dd"),
                              t.toString("HH:mm:ss"), "CW", bands[i]);
        }
    }

    // A contact a minute for five hours: the first half on 40 m, the second
    // on 20 m, one 160 m contact at 01:00 and none from 02:00 to 03:00.
    void fiveHourLog()
    {
        std::vector<int> at;
        std::vector<QString> bands;
        for (int s = 0; s <= 18000; s += 60) {
            if (s > 7200 && s < 10800)
                continue;
            at.push_back(s);
            bands.push_back(s == 3600 ? "160" : s < 9000 ? "40" : "20");
        }
        logAt(at, bands);
    }

    static QStringList captions(const ControlArray<QLabel>& labels)
    {
        QStringList out;
        for (const auto& [i, l] : labels)
            out << l->text();
        return out;
    }
    static QColor foreColour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

    // The picture's pixel column of a graph column and the ribbon's middle
    // row, from the window's frame lines.
    static int columnX(const GraphQSO& w, int c)
    {
        const double width = (w.Line(3)->X1() - w.Line(4)->X1()) / 1500;
        return int(std::lround((w.Line(4)->X1() + 10 + (c - 2) * width) / twipsPerPixelX(&w)));
    }
    static int ribbonY(const GraphQSO& w)
    {
        return int(std::lround((w.Line(8)->Y1() + w.Line(9)->Y1()) / 2 / twipsPerPixelY(&w)));
    }
    static int valueY(const GraphQSO& w, float v)
    {
        const RateGraph& g = w.graph();
        const double h = w.Line(2)->Y1() - w.Line(1)->Y1();
        const double f = h / (g.RateMax - g.RateMin) * 0.995;
        return int(std::lround((w.Line(2)->Y1() - (v - g.RateMin) * f - 0.0025 * h) / twipsPerPixelY(&w)));
    }
    static int bluePixels(const QImage& picture)
    {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += (picture.pixel(x, y) & 0xFFFFFF) == (Blue & 0xFFFFFF);
        return n;
    }
};

} // namespace

TEST_F(GraphWindowTest, SixContactsGiveTheMessageAndTheOpeningCaptions)
{
    logAt({0, 60, 120, 180, 240, 300}, {"20", "20", "20", "20", "20", "20"});
    GraphQSO& w = DefaultInstance<GraphQSO>();

    EXPECT_EQ(w.windowTitle(), " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)");
    ASSERT_EQ(env.prompt().messageTexts(),
              QStringList{"The graph will not display with less than 7 contacts.  The graph becomes "
                          "more meaningful as several hours of contest logging are accumulated."});
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Not Enough Contacts to Graph."});
    EXPECT_EQ(env.prompt().calls()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(captions(w.lblTime), QStringList(15, "00:00"));
    EXPECT_EQ(captions(w.lblDate), QStringList(15, "MM/DD"));
    EXPECT_EQ(captions(w.lblY), QStringList(17, "0"));
    EXPECT_EQ(bluePixels(w.picture()), 0);
    EXPECT_EQ(w.Command1->text(), "Black Background");

    // The message comes again at every switch; the pointer is the arrow
    // afterwards.
    env.prompt().clear();
    w.Command1->click();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Not Enough Contacts to Graph."});
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GraphWindowTest, DrawsTheCurveAndTheRibbonAndSwitchesTheBackground)
{
    fiveHourLog();
    setWorkAreaTwipsForTesting(18000, 12000); // columns about 3/4 of a pixel wide
    GraphQSO& w = DefaultInstance<GraphQSO>();
    setWorkAreaTwipsForTesting(0, 0);
    EXPECT_TRUE(env.prompt().calls().empty());
    EXPECT_EQ(w.lblTime(0)->text(), "18:00");
    EXPECT_EQ(w.lblTime(14)->text(), "23:00");
    EXPECT_EQ(w.lblDate(7)->text(), "09/12");
    EXPECT_EQ(w.lblY(0)->text(), "0.0");
    EXPECT_EQ(w.lblY(16)->text(), "60.0");

    // The picture fills the client area; 12 s a column: 01:00 is column
    // 300, the gap runs from 600 to 900, 20 m starts at column 750.
    const QImage& black = w.picture();
    ASSERT_EQ(black.size(), w.size());
    EXPECT_EQ(QColor(black.pixel(columnX(w, 200), ribbonY(w))), QColor(255, 0, 0));
    for (int x = columnX(w, 10); x <= columnX(w, 290); ++x) // no gaps, however narrow a column
        ASSERT_EQ(QColor(black.pixel(x, ribbonY(w))), QColor(255, 0, 0)) << x;
    EXPECT_EQ(QColor(black.pixel(columnX(w, 300), ribbonY(w))), QColor(255, 255, 255));
    EXPECT_EQ(QColor(black.pixel(columnX(w, 302), ribbonY(w))), QColor(255, 255, 255));
    EXPECT_EQ(QColor(black.pixel(columnX(w, 750), ribbonY(w))), QColor(0, 0, 0));
    EXPECT_EQ(QColor(black.pixel(columnX(w, 1200), ribbonY(w))), QColor(0, 255, 0));
    // The curve: at the plateau of 60 an hour, and on the base in the gap.
    EXPECT_EQ(QColor(black.pixel(columnX(w, 400), valueY(w, 60))), QColor(Blue));
    EXPECT_EQ(QColor(black.pixel(columnX(w, 750), valueY(w, 0))), QColor(Blue));
    EXPECT_EQ(QColor(black.pixel(columnX(w, 750), valueY(w, 60))), QColor(0, 0, 0));
    for (const auto& [i, l] : w.lblY)
        EXPECT_EQ(foreColour(l), QColor(255, 255, 255));

    // To white: captions, lines and labels black, a fresh drawing.
    w.Command1->click();
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w.Command1->text(), "White Background");
    EXPECT_EQ(w.BackColor(), QColor(255, 255, 255));
    for (const ControlArray<QLabel>* labels : {&w.lblY, &w.lblTime, &w.lblDate})
        for (const auto& [i, l] : *labels)
            EXPECT_EQ(foreColour(l), QColor(0, 0, 0));
    EXPECT_EQ(foreColour(w.Label1), QColor(0, 0, 0));
    for (const auto& [i, line] : w.Line)
        EXPECT_EQ(line->BorderColor(), QColor(0, 0, 0)) << i;
    EXPECT_EQ(foreColour(w.lblBnd(2)), QColor(255, 0, 0)); // the legend keeps its colours
    const QImage white = w.picture();
    EXPECT_EQ(QColor(white.pixel(5, 5)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(white.pixel(columnX(w, 400), valueY(w, 60))), QColor(Blue));
    // The 160 m column is the background now: it takes the 40 m colour.
    EXPECT_EQ(QColor(white.pixel(columnX(w, 300), ribbonY(w))), QColor(255, 0, 0));
    EXPECT_EQ(QColor(white.pixel(columnX(w, 750), ribbonY(w))), QColor(255, 255, 255));

    // And back.
    w.Command1->click();
    EXPECT_EQ(w.Command1->text(), "Black Background");
    EXPECT_EQ(w.BackColor(), QColor(0, 0, 0));
    EXPECT_EQ(foreColour(w.lblTime(3)), QColor(255, 255, 255));
    EXPECT_EQ(w.Line(5)->BorderColor(), QColor(255, 255, 255));
    EXPECT_EQ(w.picture(), black);
}

TEST_F(GraphWindowTest, FitsTheWorkAreaAndKeepsThePictureOverARepaint)
{
    setWorkAreaTwipsForTesting(14400, 10800);
    fiveHourLog();
    GraphQSO& w = DefaultInstance<GraphQSO>();
    setWorkAreaTwipsForTesting(0, 0);
    const TwipsRect r = formTwips(w);
    // The frame, which does not grow, counts in the outer size; the window
    // widens to hold the last time label, which reaches 45 twips past the
    // design client area.
    const double frameW = r.Width - pixelsToTwipsX(w.width(), &w);
    const double frameH = r.Height - pixelsToTwipsY(w.height(), &w);
    EXPECT_NEAR(r.Width, (8895.0 + 615) * 1.5 + frameW, 30);
    EXPECT_NEAR(r.Height, (6825.0 + frameH) / 7200 * 10800, 30);
    EXPECT_NEAR(w.Line(3)->X1(), 9240 * 1.5, 1);
    EXPECT_NEAR(controlTwips(*w.Command1).Top, 6600 * 1.5, 30);

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // What the window shows is the picture under its controls.
    const int drawn = bluePixels(w.picture());
    ASSERT_GT(drawn, 1500);
    EXPECT_GT(bluePixels(w.grab().toImage()), drawn * 9 / 10);
}
