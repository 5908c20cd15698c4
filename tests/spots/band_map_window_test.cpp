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
#include "spots/PacketSpotfrm.h"
#include "spots/SpotStore.h"
#include "support/LogWindowTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

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
    // DL1XYZ on 40 m and JA1ABC on 20 m, drawn in the shown window.
    SpectrumMap& showTwoSpots()
    {
        storeSpot("DL1XYZ", 7.020f);
        storeSpot("JA1ABC", 14.025f);
        SpectrumMap& m = DefaultInstance<SpectrumMap>();
        m.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(shown(m), 2);
        return m;
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
    SpectrumMap& m = showTwoSpots();

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

// Spots that arrive before the window's drawing has run leave the labels
// showing what they were drawn with: a click acts on the spot its label
// shows, not on what its slot holds by then.
TEST_F(SpectrumMapTest, AClickActsOnTheSpotItsLabelShowsWhileSpotsArrive)
{
    LogWindow& w = open(1);
    SpectrumMap& m = showTwoSpots();
    auto arrive = [&m](const char* call) {
        storeSpot(call, 21.250f);
        m.spotArrived(); // drawn after this pass of the event loop
    };

    // A left click drops exactly the spot its label shows.
    arrive("VK2QQ");
    QTest::mouseClick(m.lblDXSpot(48), Qt::LeftButton);
    const SpotStore& store = SpotStore::instance();
    for (int i = 0; i <= SpotStore::Newest; ++i) {
        const auto slot = static_cast<size_t>(i);
        if (!store.SpotCall[slot].isEmpty())
            EXPECT_EQ(store.SpotFrequency[slot] == 0.f, store.SpotCall[slot] == QStringLiteral("DL1XYZ"))
                << store.SpotCall[slot].toStdString();
    }
    QCoreApplication::processEvents();

    // A right click tunes to the spot its label shows and takes its call.
    QLabel* ja = m.lblDXSpot(48);
    ASSERT_TRUE(ja->toolTip().startsWith(QStringLiteral("JA1ABC  14.025"))) << ja->toolTip().toStdString();
    arrive("W1AW");
    arrive("K1ZZ");
    QTest::mouseClick(ja, Qt::RightButton);
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

namespace {

// What a band map shows: each spot label hidden, or shown with its caption,
// tool tip, place and colour; each scale tick with its caption and place.
std::vector<std::string> shownOn(const ControlArray<QLabel>& spots, const ControlArray<QLabel>& ticks)
{
    std::vector<std::string> out;
    const auto rect = [](const QLabel& l) {
        const QRect g = l.geometry();
        return QStringLiteral(" %1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    };
    for (const auto& [i, l] : spots) {
        QString row = l->objectName();
        if (l->isHidden())
            row += QStringLiteral(" hidden");
        else
            row += QLatin1Char(' ') + l->text() + QLatin1Char('|') + l->toolTip() + rect(*l) + QLatin1Char(' ')
                 + l->palette().color(QPalette::WindowText).name();
        out.push_back(row.toStdString());
    }
    for (const auto& [i, t] : ticks)
        out.push_back((t->objectName() + QLatin1Char(' ') + t->text() + rect(*t)).toStdString());
    return out;
}

// Counts the tool tip changes of one label: a label pass that shows a new
// newest spot changes its tool tip once.
class ToolTipChanges : public QObject {
public:
    explicit ToolTipChanges(QObject* label) { label->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        count += e->type() == QEvent::ToolTipChange ? 1 : 0;
        return false;
    }
};

struct Burst {
    const char* name;
    std::vector<std::pair<QString, QString>> spots; // call, kHz
};

std::vector<Burst> bursts()
{
    std::vector<Burst> out = {
        {"one spot", {{"K1ABC", "14030"}}},
        {"three that narrow 20 m", {{"K1ABC", "14030"}, {"DL2XYZ", "14045.5"}, {"VK3QQ", "14012"}}},
        {"a repeat of a stored call, edges, no line, a bad frequency",
         {{"ja1abc", "14026"}, {"W1AW", "14000"}, {"VK2QQ", "5300"}, {"K1BAD", "14O25"},
          {"G4ABC", "21200"}, {"JA1ABC", "14027"}, {"9A1AA", "50110"}}},
    };
    // More than the store holds, over every band: the first ones leave.
    static const char* const kHz[] = {"1830", "3520", "7015", "10120", "14025", "18100",
                                      "21050", "24930", "28400", "50150", "144300"};
    Burst flood{"a dump of 120 spots over all bands", {}};
    for (int i = 0; i < 120; ++i)
        flood.spots.emplace_back(QStringLiteral("K%1Q").arg(i), QString::fromLatin1(kHz[i % 11]) + QStringLiteral(".%1").arg(i % 10));
    out.push_back(flood);
    return out;
}

} // namespace

// A burst of spots taken in one event-loop pass leaves both band maps (the
// log window's and the band map window) showing what drawing them after
// every spot would have left, drawn once rather than once per spot.
TEST_F(SpectrumMapTest, ABurstIsDrawnOnceAsDrawingEachSpotWouldShowIt)
{
    LogWindow& w = open(1);
    PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
    spotting.List1->setCurrentItem(spotting.List1->findItems(QStringLiteral("Telnet"), Qt::MatchExactly).value(0));
    spotting.OptBand->setChecked(true);
    DefaultInstance<Form1>().PacketResize();
    ASSERT_FALSE(w.lblDX->isHidden());

    struct Run {
        std::vector<std::string> logMap, window;
        int logChanges = 0, windowChanges = 0;
    };
    const auto run = [&](const Burst& burst, bool drawEachSpot) {
        SpotStore::instance().clear();
        storeSpot("OLD1", 14.010f, 3600); // an hour old: ends every pass
        storeSpot("DL1XYZ", 14.020f, 700);
        storeSpot("JA1ABC", 14.025f, 100);
        WindowRegistry::unload<SpectrumMap>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SpectrumMap& m = DefaultInstance<SpectrumMap>();
        m.show();
        QCoreApplication::processEvents();
        w.DisplayBandMapLabels();

        Run r;
        ToolTipChanges logLabel(w.lblDXSpot(SpotStore::Newest));
        ToolTipChanges windowLabel(m.lblDXSpot(SpotStore::Newest));
        for (const auto& [call, kHz] : burst.spots) {
            QString c = call, f = kHz, rec = QStringLiteral("de K1TTT:  CW");
            DefaultInstance<Form1>().BandMapSpots(c, f, rec);
            if (drawEachSpot) {
                w.DisplayBandMapLabels();
                m.BandMapLabelDisplay();
            }
        }
        QCoreApplication::processEvents();
        r.logMap = shownOn(w.lblDXSpot, w.lblFreqSpot);
        r.window = shownOn(m.lblDXSpot, m.lblFreqSpot);
        r.logChanges = logLabel.count;
        r.windowChanges = windowLabel.count;
        return r;
    };

    for (const Burst& burst : bursts()) {
        SCOPED_TRACE(burst.name);
        const Run eachSpot = run(burst, true);
        const Run burstOnce = run(burst, false);
        EXPECT_EQ(burstOnce.logMap, eachSpot.logMap);
        EXPECT_EQ(burstOnce.window, eachSpot.window);
        // Drawn once: the newest label's tool tip changed at most once (the
        // log window's map shows only its band's spots).
        EXPECT_LE(burstOnce.logChanges, 1);
        EXPECT_EQ(burstOnce.windowChanges, 1);
        if (burst.spots.size() > 1) // the count sees every pass
            EXPECT_GT(eachSpot.windowChanges, 1);
    }
}
