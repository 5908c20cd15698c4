// Spots in the log window of either variant, handed over through Form1 as
// the spotting window does: the spot list, the band map with its scale,
// places, ages and details, the clicks that tune the radio and take the
// call, and the spot area that opens, switches and closes without drift.

#include "support/LogWindowTestSupport.h"

#include "common/Form1.h"
#include "common/ModalShow.h"
#include "common/WindowFit.h"
#include "logstore/PositionTables.h"
#include "rig/RigTuning.h"
#include "spots/BandMapScale.h"
#include "spots/BandMapWindow.h"
#include "spots/PacketSpotfrm.h"
#include "spots/SpotStore.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimeZone>
#include <map>

using namespace zq;
using namespace zq::test;

namespace {

const QString kLine = QStringLiteral(
    "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z");

struct Geometry {
    std::map<QString, QRect> controls;
    std::map<QString, std::array<double, 4>> lines;
    bool operator==(const Geometry&) const = default;
};

// Only what differs is worth reading when two layouts differ.
void PrintTo(const Geometry& g, std::ostream* os)
{
    for (const auto& [name, r] : g.controls)
        *os << "\n  " << name.toStdString() << " " << r.x() << "," << r.y() << " " << r.width() << "x"
            << r.height();
    for (const auto& [name, l] : g.lines)
        *os << "\n  " << name.toStdString() << " " << l[0] << "," << l[1] << " - " << l[2] << "," << l[3];
}

bool isSpotAreaControl(const QString& name)
{
    return name == QLatin1String("txtDX") || name == QLatin1String("lblDX")
        || name == QLatin1String("LineDX") || name.startsWith(QLatin1String("lblDXSpot("))
        || name.startsWith(QLatin1String("lblFreqSpot("));
}

Geometry geometryOf(LogWindow& w)
{
    Geometry g;
    for (QWidget* c : formControls(w)) {
        const QString name = c->objectName();
        if (auto* line = qobject_cast<LineControl*>(c))
            g.lines[name] = {line->X1(), line->Y1(), line->X2(), line->Y2()};
        else
            g.controls[name] = c->geometry();
    }
    return g;
}

class SpotWindowTest : public LogWindowTest, public ::testing::WithParamInterface<uint8_t> {
protected:
    std::vector<float> tuned;

    void SetUp() override
    {
        LogWindowTest::SetUp();
        st.UtcOffsetHours = 5;
        setRigFrequencyChangerForTesting([this](float f) { tuned.push_back(f); });
    }

    LogWindow& openWindow() { return open(GetParam()); }

    // One spot handed over, then the event-loop pass that follows the
    // spotting window's data event (the band maps draw after it).
    static void spot(const QString& call, const QString& kHz, const QString& record = QString())
    {
        QString c = call, f = kHz, r = record;
        DefaultInstance<Form1>().BandMapSpots(c, f, r);
        QCoreApplication::processEvents();
    }

    // Done in the spotting window with this source and display.
    static void done(const char* source, bool list)
    {
        PacketSpotfrm& p = DefaultInstance<PacketSpotfrm>();
        const auto items = p.List1->findItems(QString::fromLatin1(source), Qt::MatchExactly);
        p.List1->setCurrentItem(items.value(0));
        (list ? p.OptList : p.OptBand)->setChecked(true);
        DefaultInstance<Form1>().PacketResize();
    }

    static bool bandMapFlag() { return DefaultInstance<Form1>().lblDXVisible(); }

    static QStringList scale(LogWindow& w)
    {
        QStringList out;
        for (int i = 0; i <= 4; ++i)
            out << w.lblFreqSpot(i)->text();
        return out;
    }

    static int shownSpotLabels(LogWindow& w)
    {
        int n = 0;
        for (const auto& [i, l] : w.lblDXSpot)
            n += l->isHidden() ? 0 : 1;
        return n;
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(BothVariants, SpotWindowTest, ::testing::Values(uint8_t(1), uint8_t(0)));

TEST_P(SpotWindowTest, SpotsFillTheStoreAndTheListNewestFirst)
{
    env.seedDataFile(QStringLiteral("arrlpre2.txt"));
    ASSERT_EQ(LoadCountryTable(), TableLoad::Ok);
    LogWindow& w = openWindow();

    QString call = QStringLiteral("JA1ABC"), freq = QStringLiteral("14025.0");
    QString record = kLine.mid(3).trimmed() + QStringLiteral("\r\nDX de K1AA: more");
    DefaultInstance<Form1>().BandMapSpots(call, freq, record);
    EXPECT_EQ(freq, QStringLiteral("14.025")); // handed back in MHz
    EXPECT_EQ(record, kLine.mid(3).trimmed());
    EXPECT_EQ(listRow(w.txtDX, 0),
              (QStringList{"JA1ABC", "14.025", "Japan", "", "de W3LPL:  CW 599", "", "1234", ""}));
    const SpotStore& s = SpotStore::instance();
    EXPECT_EQ(s.SpotCall[49], QStringLiteral("JA1ABC"));
    EXPECT_EQ(s.SpotFrequency[49], 14.025f);
    EXPECT_EQ(s.SpotPrefix[49], QStringLiteral("JA1"));
    EXPECT_EQ(s.SpotTime[49], env.clock().now().local);

    // A frequency that is not a plain number changes nothing.
    for (const char* bad : {"14O25", "", "1e4", "0x3A", "14,025"}) {
        QString c = QStringLiteral("K1BAD"), f = QString::fromLatin1(bad), r = QStringLiteral("x\ry");
        DefaultInstance<Form1>().BandMapSpots(c, f, r);
        EXPECT_EQ(f, QString::fromLatin1(bad));
        EXPECT_EQ(r, QStringLiteral("x\ry"));
        EXPECT_EQ(w.txtDX->topLevelItemCount(), 1) << bad;
        EXPECT_EQ(s.SpotCall[49], QStringLiteral("JA1ABC")) << bad;
    }

    // The same call in another case drops the older spot from the store
    // but keeps its row.
    spot(QStringLiteral("ja1abc"), QStringLiteral("14026"));
    EXPECT_EQ(s.SpotFrequency[48], 0.f);
    EXPECT_EQ(w.txtDX->topLevelItemCount(), 2);

    // The 51st spot leaves the store, the 201st row the list.
    for (int i = 3; i <= 201; ++i)
        spot(QStringLiteral("K%1Z").arg(i), QStringLiteral("%1").arg(14000 + i));
    EXPECT_EQ(w.txtDX->topLevelItemCount(), 200);
    EXPECT_EQ(listRow(w.txtDX, 0).value(0), QStringLiteral("K201Z"));
    EXPECT_EQ(listRow(w.txtDX, 199).value(0), QStringLiteral("ja1abc"));
    EXPECT_EQ(s.SpotCall[0], QStringLiteral("K152Z"));
    EXPECT_EQ(s.SpotCall[49], QStringLiteral("K201Z"));
}

TEST_P(SpotWindowTest, BandMapScalePlacesAndAges)
{
    LogWindow& w = openWindow();
    done("Telnet", false);
    ASSERT_FALSE(w.lblDX->isHidden());
    EXPECT_TRUE(bandMapFlag());
    EXPECT_EQ(scale(w), (QStringList{"14.000", "14.088", "14.175", "14.262", "14.350"}));
    EXPECT_EQ(shownSpotLabels(w), 0);

    // Local 13:05:00 with the clocks 5 h behind UTC.
    env.clock().setUtc(QDateTime(QDate(2026, 9, 12), QTime(18, 5), Qt::UTC));
    spot(QStringLiteral("JA1ABC"), QStringLiteral("14025.0"));
    EXPECT_EQ(scale(w), (QStringList{"14.000", "14.088", "14.175", "14.262", "14.350"}));
    EXPECT_EQ(w.lblDXSpot(49)->toolTip(), QStringLiteral("JA1ABC  14.025  18:05:00"));
    EXPECT_EQ(w.lblDXSpot(49)->text(), QStringLiteral("JA1"));

    SpotStore::instance().SpotFrequency[49] = 0;
    spot(QStringLiteral("K1AB"), QStringLiteral("14010"));
    spot(QStringLiteral("K2AB"), QStringLiteral("14030"));
    EXPECT_EQ(scale(w), (QStringList{"14.009", "14.015", "14.020", "14.025", "14.031"}));
    EXPECT_EQ(shownSpotLabels(w), 2);
    const double formHeight = formTwips(w).Height;
    for (const auto& [slot, f] : {std::pair{48, 14.010f}, std::pair{49, 14.030f}}) {
        const QLabel* l = w.lblDXSpot(slot);
        const TwipsRect r = controlTwips(*l);
        const double left = (f - 14.009f) / (14.031f - 14.009f) * (w.LineDX->X2() - w.LineDX->X1())
            - r.Width / 2 + w.LineDX->X1();
        EXPECT_EQ(l->x(), twipsToPixelsX(left, l)) << slot;
        EXPECT_EQ(l->y(), twipsToPixelsY(w.LineDX->Y1() - r.Height - 0.004 * formHeight, l)) << slot;
        EXPECT_GT(l->x() + l->width() / 2, twipsToPixelsX(w.LineDX->X1(), l));
        EXPECT_LT(l->x() + l->width() / 2, twipsToPixelsX(w.LineDX->X2(), l));
    }

    // Ages on the fake clock; the clocks' offset changes meanwhile (summer
    // time ends), which changes no age.
    SpotStore::instance().clear();
    const QDateTime now(QDate(2026, 11, 1), QTime(12, 0), Qt::UTC);
    struct Arrival {
        const char* call;
        const char* kHz;
        int age;
    };
    const Arrival arrivals[] = {{"K0A", "14100", 4000}, {"K1A", "14110", 3600}, {"K2A", "14120", 3599},
                                {"K3A", "14130", 1800}, {"K4A", "14140", 1799}, {"K5A", "14150", 600},
                                {"K6A", "14160", 599},  {"K7A", "7010", 9000}};
    for (const Arrival& a : arrivals) {
        env.clock().setLocalOffset(-4 * 3600);
        env.clock().setUtc(now.addSecs(-a.age));
        spot(QString::fromLatin1(a.call), QString::fromLatin1(a.kHz));
    }
    env.clock().setLocalOffset(-5 * 3600);
    env.clock().setUtc(now);
    DefaultInstance<Form1>().DisplayBandMapLabels();
    const QColor yellow(255, 255, 128), white(255, 255, 255), grey(192, 192, 192);
    const std::pair<int, QColor> shown[] = {{48, yellow}, {47, white}, {46, white}, {45, grey}, {44, grey}};
    for (const auto& [slot, colour] : shown) {
        EXPECT_FALSE(w.lblDXSpot(slot)->isHidden()) << slot;
        EXPECT_EQ(w.lblDXSpot(slot)->palette().color(QPalette::WindowText), colour) << slot;
    }
    EXPECT_TRUE(w.lblDXSpot(49)->isHidden()); // another band: skipped, ends nothing
    EXPECT_TRUE(w.lblDXSpot(43)->isHidden()); // an hour old: the pass ends here
    EXPECT_TRUE(w.lblDXSpot(42)->isHidden());
    EXPECT_EQ(shownSpotLabels(w), 5);

    // A spot right on a scale end is not drawn.
    SpotStore::instance().clear();
    spot(QStringLiteral("K9E"), QStringLiteral("14000"));
    EXPECT_EQ(scale(w).value(0), QStringLiteral("14.000"));
    EXPECT_EQ(shownSpotLabels(w), 0);

    // A band change redraws the scale for the new band.
    w.mnuBand40Ch_Click();
    EXPECT_EQ(scale(w), (QStringList{"7.000", "7.075", "7.150", "7.225", "7.300"}));
}

// Spots that arrive in the same event-loop pass as the click, before the
// band map's drawing has run: the labels still show what they were drawn
// with, and a click acts on the spot its label shows.  A right click tunes
// to that spot and takes its call; a left click drops exactly that spot.
TEST_P(SpotWindowTest, AClickActsOnTheSpotItsLabelShowsWhileSpotsArrive)
{
    LogWindow& w = openWindow();
    done("TNC", false);
    spot(QStringLiteral("JA1ABC"), QStringLiteral("14025.0"));
    spot(QStringLiteral("DL1XYZ"), QStringLiteral("14030.5"));
    // Two more spots of one burst, not drawn yet.
    auto burst = [](const QString& a, const QString& b) {
        for (const QString& call : {a, b}) {
            QString c = call, f = QStringLiteral("14250"), r;
            DefaultInstance<Form1>().BandMapSpots(c, f, r);
        }
    };
    burst(QStringLiteral("VK2QQ"), QStringLiteral("W1AW"));
    QLabel* ja = w.lblDXSpot(48);
    ASSERT_TRUE(ja->toolTip().startsWith(QStringLiteral("JA1ABC  14.025")))
        << ja->toolTip().toStdString();
    QTest::mouseClick(ja, Qt::RightButton);
    EXPECT_EQ(tuned, (std::vector<float>{14.025f}));
    EXPECT_EQ(w.txtCall->text(), QStringLiteral("JA1ABC"));
    QApplication::processEvents();

    // Drawn again; then another burst, and a left click on DL1XYZ.
    QLabel* dl = w.lblDXSpot(47);
    ASSERT_TRUE(dl->toolTip().startsWith(QStringLiteral("DL1XYZ  14.031"))) << dl->toolTip().toStdString();
    burst(QStringLiteral("K1ZZ"), QStringLiteral("N2YY"));
    QTest::mouseClick(dl, Qt::LeftButton);
    const SpotStore& store = SpotStore::instance();
    for (int i = 0; i <= SpotStore::Newest; ++i) {
        const auto slot = static_cast<size_t>(i);
        if (store.SpotCall[slot].isEmpty())
            continue;
        SCOPED_TRACE(store.SpotCall[slot].toStdString());
        EXPECT_EQ(store.SpotFrequency[slot] == 0.f, store.SpotCall[slot] == QStringLiteral("DL1XYZ"));
    }
    EXPECT_EQ(tuned.size(), 1u);
}

TEST_P(SpotWindowTest, RightClickTunesAndTakesTheCallEvenWhenASpotArrives)
{
    LogWindow& w = openWindow();
    done("TNC", false);
    spot(QStringLiteral("JA1ABC"), QStringLiteral("14025.0"));
    spot(QStringLiteral("DL1XYZ"), QStringLiteral("14030.5"));
    // While the radio is tuned a new spot arrives and the slots move on.
    setRigFrequencyChangerForTesting([this](float f) {
        tuned.push_back(f);
        spot(QStringLiteral("VK2QQ"), QStringLiteral("14040"));
    });
    QLabel* label = w.lblDXSpot(48);
    ASSERT_FALSE(label->isHidden());
    QTest::mouseClick(label, Qt::RightButton);
    EXPECT_EQ(tuned, (std::vector<float>{14.025f}));
    EXPECT_EQ(w.txtCall->text(), QStringLiteral("JA1ABC"));
    QApplication::processEvents(); // the queued Tab
    EXPECT_NE(QApplication::focusWidget(), w.txtCall);
    EXPECT_EQ(SpotStore::instance().SpotCall[48], QStringLiteral("DL1XYZ"));

    // A call that the field would not take typed: quotes and blanks
    // dropped, letters in capitals, the field's length limit kept.
    setRigFrequencyChangerForTesting([this](float f) { tuned.push_back(f); });
    spot(QStringLiteral("ab\"c d/0123456789XYZ"), QStringLiteral("14050"));
    QTest::mouseClick(w.lblDXSpot(49), Qt::RightButton);
    EXPECT_EQ(w.txtCall->text(), QStringLiteral("ABCD/0123456").left(w.txtCall->typedLimit()));

    // A left click drops the spot and redraws: the scale widens.
    const QStringList before = scale(w);
    QTest::mouseClick(w.lblDXSpot(49), Qt::LeftButton);
    EXPECT_EQ(SpotStore::instance().SpotFrequency[49], 0.f);
    EXPECT_TRUE(w.lblDXSpot(49)->isHidden());
    EXPECT_NE(scale(w), before);
    EXPECT_EQ(w.txtDX->topLevelItemCount(), 4); // the row stays

    // The pointer over a label shows its details.
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w.lblDXSpot(48)->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.lblDXSpot(48), &move);
    EXPECT_EQ(w.lblDupe->text(), w.lblDXSpot(48)->toolTip());

    // A click on the strip opens the spotting window, a double click the
    // band map window.
    int modal = 0;
    setModalShowHandlerForTesting([&](QWidget& win) {
        modal += win.objectName() == QLatin1String("SpectrumMap") ? 1 : 0;
    });
    QTest::mouseClick(w.lblDX, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(DefaultInstance<PacketSpotfrm>().isVisible());
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(2, 2), w.lblDX->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.lblDX, &twice);
    EXPECT_EQ(modal, 1);
}

TEST_P(SpotWindowTest, ListClickFillsTheCallAndTunesOnlyWithARig)
{
    LogWindow& w = openWindow();
    int modal = 0;
    setModalShowHandlerForTesting([&](QWidget& win) {
        modal += win.objectName() == QLatin1String("SpectrumMap") ? 1 : 0;
    });
    done("Telnet", true);
    ASSERT_FALSE(w.txtDX->isHidden());
    spot(QStringLiteral("JA1ABC"), QStringLiteral("14025.0"));
    spot(QStringLiteral("DL1XYZ"), QStringLiteral("7010"));
    auto clickRow = [&](int r) {
        QTreeWidgetItem* item = w.txtDX->topLevelItem(r);
        QTest::mouseClick(w.txtDX->viewport(), Qt::LeftButton, {},
                          w.txtDX->visualItemRect(item).center());
    };

    clickRow(1); // rig type "None"
    EXPECT_EQ(w.txtCall->text(), QStringLiteral("JA1ABC"));
    EXPECT_TRUE(tuned.empty());

    st.RigType = QStringLiteral("Kenwood TS-2000");
    setRigFrequencyChangerForTesting([this](float f) {
        tuned.push_back(f);
        spot(QStringLiteral("VK2QQ"), QStringLiteral("14040"));
    });
    clickRow(0);
    EXPECT_EQ(tuned, (std::vector<float>{7.01f}));
    EXPECT_EQ(w.txtCall->text(), QStringLiteral("DL1XYZ"));
    EXPECT_EQ(modal, 0);

    // A double click first acts as a click, then opens the band map window.
    setRigFrequencyChangerForTesting([this](float f) { tuned.push_back(f); });
    const QRect r = w.txtDX->visualItemRect(w.txtDX->topLevelItem(2));
    QTest::mouseClick(w.txtDX->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mousePress(w.txtDX->viewport(), Qt::LeftButton, {}, r.center());
    QMouseEvent second(QEvent::MouseButtonDblClick, r.center(),
                       w.txtDX->viewport()->mapToGlobal(r.center()), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(w.txtDX->viewport(), &second);
    QTest::mouseRelease(w.txtDX->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(modal, 1);
    EXPECT_FALSE(WindowRegistry::isLoaded<SpectrumMap>());
}

TEST_P(SpotWindowTest, SpotAreaFollowsTheTableOfCases)
{
    LogWindow& w = openWindow();
    const Geometry start = geometryOf(w);

    done("None", true); // nothing shown, "None": nothing changes
    EXPECT_TRUE(w.txtDX->isHidden());
    EXPECT_TRUE(w.lblDX->isHidden());
    EXPECT_EQ(geometryOf(w), start);

    done("TNC", true); // opened with the list
    EXPECT_FALSE(w.txtDX->isHidden());
    EXPECT_TRUE(w.lblDX->isHidden());
    EXPECT_FALSE(bandMapFlag());
    const QRect area = w.txtDX->geometry();
    const TwipsRect form = formTwips(w);
    EXPECT_NEAR(controlTwips(*w.txtDX).Left, 0.01 * form.Width, 15);
    EXPECT_NEAR(controlTwips(*w.txtDX).Width, 0.97 * form.Width, 15);
    EXPECT_NEAR(area.bottom() + 1, w.centralWidget()->height(), 1);
    for (QWidget* c : formControls(w)) {
        if (!isSpotAreaControl(c->objectName()) && !c->isHidden() && !qobject_cast<LineControl*>(c))
            EXPECT_LE(c->geometry().bottom(), area.top()) << c->objectName().toStdString();
    }
    const Geometry opened = geometryOf(w);
    done("TNC", true); // unchanged choice: nothing
    EXPECT_EQ(geometryOf(w), opened);

    done("TNC", false); // band map in the same area
    EXPECT_TRUE(w.txtDX->isHidden());
    EXPECT_FALSE(w.lblDX->isHidden());
    EXPECT_EQ(w.lblDX->geometry(), area);
    EXPECT_TRUE(bandMapFlag());
    EXPECT_EQ(shownSpotLabels(w), 50);
    EXPECT_NEAR(w.LineDX->X1(), controlTwips(*w.lblDX).Left + controlTwips(*w.lblDXSpot(0)).Width / 2, 1e-6);
    EXPECT_NEAR(w.LineDX->Y1(), controlTwips(*w.lblDX).Top + controlTwips(*w.lblDX).Height / 2, 1e-6);

    done("Telnet", true); // list again
    EXPECT_FALSE(w.txtDX->isHidden());
    EXPECT_TRUE(w.lblDX->isHidden());
    EXPECT_FALSE(bandMapFlag());
    EXPECT_EQ(shownSpotLabels(w), 0);
    EXPECT_EQ(w.txtDX->geometry(), area);

    done("None", false); // switch, then close
    EXPECT_TRUE(w.txtDX->isHidden());
    EXPECT_TRUE(w.lblDX->isHidden());
    EXPECT_TRUE(w.LineDX->isHidden());
    EXPECT_FALSE(bandMapFlag());
    EXPECT_EQ(geometryOf(w), start); // the spot area's controls parked where they were

    // Opened straight onto the band map: the strip, the line and the scale,
    // no spot labels yet.
    done("AGW Packet Engine", false);
    EXPECT_FALSE(w.lblDX->isHidden());
    EXPECT_FALSE(w.LineDX->isHidden());
    EXPECT_EQ(scale(w), (QStringList{"14.000", "14.088", "14.175", "14.262", "14.350"}));
    for (int i = 0; i <= 4; ++i) {
        const QLabel* l = w.lblFreqSpot(i);
        EXPECT_FALSE(l->isHidden());
        const double centre = w.LineDX->X1() + i * 0.25 * (w.LineDX->X2() - w.LineDX->X1());
        EXPECT_NEAR(controlTwips(*l).Left + controlTwips(*l).Width / 2, centre, 16) << i;
    }
    EXPECT_EQ(shownSpotLabels(w), 0);
    EXPECT_TRUE(bandMapFlag());
}

TEST_P(SpotWindowTest, OpeningAndClosingNeverDrifts)
{
    LogWindow& w = openWindow();
    const Geometry start = geometryOf(w);
    for (int cycle = 0; cycle < 20; ++cycle) {
        done("Telnet", cycle % 2 == 0);
        done("None", cycle % 3 == 0);
        ASSERT_EQ(geometryOf(w), start) << cycle;
    }

    // A change of the window's size while the area is open: closing gives
    // back exactly what the change gives a window that never opened it.
    freshRun();
    {
        LogWindow& plain = openWindow();
        st.FormSizePercent = 80;
        plain.SizeFormToPercent();
    }
    const Geometry resized = geometryOf(Form1::activeLogWindow());
    freshRun();
    LogWindow& again = openWindow();
    done("TNC", false);
    st.FormSizePercent = 80;
    again.SizeFormToPercent();
    done("None", false);
    EXPECT_EQ(geometryOf(again), resized);
}
