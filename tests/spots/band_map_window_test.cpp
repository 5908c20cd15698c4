// The band map window: scales of the eleven bands with their zoom, spot
// labels by band, place and age, the clicks, and its openers.

#include "common/Form1.h"
#include "common/ModalShow.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "logwindow/LogWindow.h"
#include "rig/RigTuning.h"
#include "platform/Clock.h"
#include "spots/BandMapWindow.h"
#include "spots/AllBandsScale.h"
#include "spots/SpotStore.h"
#include "support/LogWindowTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

using namespace zq;
using namespace zq::test;

namespace {

QStringList ticks(int b, const SpotStore& s)
{
    QStringList out;
    for (const QString& c : spectrumTickCaptions(b, s))
        out << c;
    return out;
}

// Puts a spot into the store as the log window would, `ageSeconds` old.
void storeSpot(const QString& call, float mhz, int ageSeconds = 0)
{
    const WallTime now = zq::clock().now();
    const QDateTime arrival =
        now.utc.addSecs(-ageSeconds).toOffsetFromUtc(now.local.offsetFromUtc());
    SpotStore::instance().addSpot(call, mhz, arrival);
}

class SpectrumMapTest : public LogWindowTest {
protected:
    std::vector<float> tuned;
    void SetUp() override
    {
        LogWindowTest::SetUp();
        st.UtcOffsetHours = 5;
        setRigFrequencyChangerForTesting([this](float f) { tuned.push_back(f); });
    }
    void TearDown() override
    {
        setRigFrequencyChangerForTesting({});
        WindowRegistry::unload<SpectrumMap>();
    }
    static int shown(SpectrumMap& m)
    {
        int n = 0;
        for (const auto& [i, l] : m.lblDXSpot)
            n += l->isHidden() ? 0 : 1;
        return n;
    }
};

} // namespace

TEST(AllBandsScale, ScalesKeepTheirEdgesUntilTwoSpotsNarrowThem)
{
    SpotStore s;
    EXPECT_EQ(ticks(0, s), (QStringList{"1.800", "1.850", "1.900", "1.950", "2.000"}));
    EXPECT_EQ(ticks(3, s), (QStringList{"10.100", "10.113", "10.125", "10.137", "10.150"}));
    EXPECT_EQ(ticks(4, s), (QStringList{"14.000", "14.088", "14.175", "14.263", "14.350"}));
    EXPECT_EQ(ticks(9, s), (QStringList{"50.000", "51.000", "52.000", "53.000", "54.000"}));

    const QDateTime t = QDateTime::currentDateTimeUtc();
    s.addSpot("JA1ABC", 14.025f, t);
    EXPECT_EQ(ticks(4, s)[0], QStringLiteral("14.000")); // one spot: no zoom
    s.addSpot("JA1ABD", 14.025f, t);
    EXPECT_EQ(ticks(4, s)[0], QStringLiteral("14.000")); // one frequency: no zoom
    s.addSpot("W1AW", 14.0f, t);                        // band edge: no part
    s.addSpot("DL1XYZ", 14.030f, t);
    EXPECT_EQ(ticks(4, s), (QStringList{"14.024", "14.026", "14.027", "14.029", "14.031"}));
    EXPECT_EQ(ticks(3, s)[0], QStringLiteral("10.100")); // other bands untouched

    // A spot only slot 0 holds takes no part.
    SpotStore old;
    old.addSpot("K1A", 7.010f, t);
    old.addSpot("K1B", 7.020f, t);
    for (int i = 0; i < 48; ++i)
        old.addSpot(QStringLiteral("X%1").arg(i), 0.f, t);
    EXPECT_EQ(old.SpotFrequency[0], 7.010f);
    EXPECT_EQ(old.SpotFrequency[1], 7.020f);
    EXPECT_EQ(ticks(2, old)[0], QStringLiteral("7.000"));

    EXPECT_EQ(spectrumBandOf(14.0f), -1);
    EXPECT_EQ(spectrumBandOf(5.3f), -1);
    EXPECT_EQ(spectrumBandOf(222.f), -1);
    EXPECT_EQ(spectrumBandOf(432.f), -1);
    EXPECT_EQ(spectrumBandOf(10.12f), 3);
}

TEST_F(SpectrumMapTest, LabelsStandOnTheirBandColouredByAge)
{
    storeSpot("OLD1", 7.010f, 3600); // an hour old: ends the pass
    storeSpot("DL1XYZ", 7.020f, 3599);
    storeSpot("K1TTT", 14.000f, 1800); // band edge: on no band
    storeSpot("VK2QQ", 5.3f, 1799);    // no line for it
    storeSpot("W3LPL", 21.200f, 600);
    storeSpot("JA1ABC", 14.025f, 599);
    storeSpot("UA9XYZ", 14.030f, -30); // ahead of the clock

    SpectrumMap& m = DefaultInstance<SpectrumMap>();
    m.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(m), 4);
    const auto colour = [&](int i) { return m.lblDXSpot(i)->palette().color(QPalette::WindowText); };
    EXPECT_EQ(colour(49), QColor(255, 255, 128));
    EXPECT_EQ(colour(48), QColor(255, 255, 128));
    EXPECT_EQ(colour(47), QColor(255, 255, 255)); // 600 s
    EXPECT_EQ(colour(46), QColor(255, 255, 255)); // 1799 s
    EXPECT_EQ(colour(45), QColor(192, 192, 192)); // 1800 s
    EXPECT_EQ(colour(44), QColor(192, 192, 192)); // 3599 s
    EXPECT_TRUE(m.lblDXSpot(46)->isHidden());     // 5.3 MHz
    EXPECT_TRUE(m.lblDXSpot(45)->isHidden());     // band edge
    EXPECT_TRUE(m.lblDXSpot(44)->isVisible());
    EXPECT_TRUE(m.lblDXSpot(43)->isHidden()); // the pass ended at the hour-old spot
    EXPECT_EQ(m.lblDXSpot(48)->text(), QStringLiteral("JA1"));
    // Received at 13:30:00 local (fake clock), 599 s ago, offset 5 h.
    EXPECT_EQ(m.lblDXSpot(48)->toolTip(), QStringLiteral("JA1ABC  14.025  18:20:01"));

    // 20 m zoomed to 14.024 .. 14.031; labels on the line, centred on their
    // place.
    EXPECT_EQ(m.lblFreqSpot(20)->text(), QStringLiteral("14.024"));
    EXPECT_EQ(m.lblFreqSpot(24)->text(), QStringLiteral("14.031"));
    const LineControl& line = *m.lineHF(4);
    const TwipsRect r = controlTwips(*m.lblDXSpot(48));
    const double px = pixelsToTwipsX(1, &m) * 1.5;
    EXPECT_NEAR(r.Top, line.Y1() - r.Height, px);
    EXPECT_NEAR(r.Left + r.Width / 2,
                line.X1() + (14.025 - 14.024) / (14.031 - 14.024) * (line.X2() - line.X1()), px * 20);
    // Ticks sit under their line, the first centred on its left end.
    const TwipsRect t0 = controlTwips(*m.lblFreqSpot(20));
    EXPECT_NEAR(t0.Left + t0.Width / 2, line.X1(), px);
    EXPECT_GT(t0.Top, line.Y1());
}

TEST_F(SpectrumMapTest, ClicksTuneOrDropTheSpot)
{
    LogWindow& w = open(1);
    storeSpot("DL1XYZ", 7.020f);
    storeSpot("JA1ABC", 14.025f);
    SpectrumMap& m = DefaultInstance<SpectrumMap>();
    m.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(shown(m), 2);

    // A left click drops the spot from the band maps at once.
    QTest::mouseClick(m.lblDXSpot(48), Qt::LeftButton);
    EXPECT_EQ(SpotStore::instance().SpotFrequency[48], 0.f);
    EXPECT_TRUE(m.lblDXSpot(48)->isHidden());
    EXPECT_TRUE(tuned.empty());

    // A right click tunes once, takes the call of the slot as it was even
    // when a spot arrives meanwhile, and hides the map.
    setRigFrequencyChangerForTesting([this](float f) {
        tuned.push_back(f);
        storeSpot("VK2QQ", 14.040f);
    });
    QTest::mouseClick(m.lblDXSpot(49), Qt::RightButton);
    EXPECT_EQ(tuned, (std::vector<float>{14.025f}));
    EXPECT_EQ(w.txtCall->text(), QStringLiteral("JA1ABC"));
    EXPECT_FALSE(m.isVisible());
}

TEST_F(SpectrumMapTest, OpenedModallyByTheLogWindow)
{
    LogWindow& w = open(0);
    storeSpot("JA1ABC", 14.025f);
    int opened = 0;
    int labels = 0;
    setModalShowHandlerForTesting([&](QWidget& win) {
        if (auto* m = qobject_cast<SpectrumMap*>(&win)) {
            ++opened;
            m->show();
            QCoreApplication::processEvents();
            labels = shown(*m);
            EXPECT_EQ(m->windowTitle(), QStringLiteral(" HF Spectrum Map"));
        }
    });
    QTest::keyClick(w.txtCall, Qt::Key_B, Qt::ControlModifier);
    find(w, "mnuSpectrumMap")->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(labels, 1);
    EXPECT_FALSE(WindowRegistry::isLoaded<SpectrumMap>()); // unloaded on return
    setModalShowHandlerForTesting({});
}

// Ctrl+B pressed again while the map loads: the load's event pass delivers
// the second press, which must reach the map being loaded, never build a
// second one beside it.
TEST_F(SpectrumMapTest, ASecondOpeningDuringTheLoadReachesTheSameMap)
{
    LogWindow& w = open(0);
    std::set<QWidget*> shownMaps;
    int mostAlive = 0;
    setModalShowHandlerForTesting([&](QWidget& win) {
        if (!qobject_cast<SpectrumMap*>(&win))
            return;
        shownMaps.insert(&win);
        int alive = 0;
        for (QWidget* x : QApplication::allWidgets())
            alive += qobject_cast<SpectrumMap*>(x) ? 1 : 0;
        mostAlive = std::max(mostAlive, alive);
    });
    QMetaObject::invokeMethod(
        &w, [&w] { QTest::keyClick(w.txtCall, Qt::Key_B, Qt::ControlModifier); },
        Qt::QueuedConnection);
    QTest::keyClick(w.txtCall, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(shownMaps.size(), 1u);
    EXPECT_EQ(mostAlive, 1);
    EXPECT_FALSE(WindowRegistry::isLoaded<SpectrumMap>());
    setModalShowHandlerForTesting({});
}
