// The county map window over a running log window: the hint, the
// tooltips, and exactly the worked counties painted, each in one colour.

#include "output/CountyMap.h"
#include "output/CountyMapZQ.h"
#include "support/LogWindowTestSupport.h"

#include <QAccessible>
#include <QLabel>
#include <QSet>
#include <QTimer>
#include <QToolTip>
#include <QtTest/qtestspontaneevent.h>

using namespace zq;
using namespace zq::test;

namespace {

class CountyMapWindowTest : public LogWindowTest {
protected:
    const QImage original = countyMapPicture();
    const std::vector<HotSpot> spots = countyMapHotSpots();

    void TearDown() override { WindowRegistry::unloadAll(); }

    // Opens the map and lets its one-shot timer run.
    CountyMapZQ& openMap()
    {
        WindowRegistry::unload<CountyMapZQ>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CountyMapZQ& m = DefaultInstance<CountyMapZQ>();
        EXPECT_TRUE(m.Timer1->isActive());
        EXPECT_EQ(m.Timer1->interval(), 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !m.Timer1->isActive(); }, 5000));
        return m;
    }

    // The names of the counties whose area changed, after checking that
    // each changed area took one colour and nothing else changed.
    QStringList paintedCounties(const QImage& now)
    {
        QStringList painted;
        QImage rest = now;
        for (const HotSpot& s : spots) {
            QImage area = original;
            floodFill(area, s.centre(), qRgb(1, 2, 3));
            const QRgb colour = now.pixel(s.centre());
            if (colour == original.pixel(s.centre()))
                continue;
            painted << s.name;
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    if (area.pixel(x, y) == qRgb(1, 2, 3)) {
                        EXPECT_EQ(now.pixel(x, y), colour) << s.name.toStdString();
                        rest.setPixel(x, y, original.pixel(x, y));
                    }
        }
        EXPECT_EQ(rest, original); // every other pixel as the picture has it
        return painted;
    }
};

} // namespace

TEST_F(CountyMapWindowTest, EmptyLogShowsTheHintAndPaintsNothing)
{
    start(1);
    CountyMapZQ& m = openMap();
    EXPECT_EQ(m.windowTitle(), " Carvonia County Map");
    EXPECT_TRUE(m.Label1->isVisibleTo(&m));
    EXPECT_EQ(m.Label1->text(), "Counties will change color when worked.");
    EXPECT_EQ(m.picture(), original);
    EXPECT_EQ(m.Picture1->size(), QSize(621, 295));

    // The hot spots show no name: they carry their county's name as a
    // tooltip, and a screen reader reads them by it, none of them worked.
    ASSERT_EQ(m.lblCounty.count(), 77);
    for (int k = 0; k < 77; ++k) {
        QLabel* l = m.lblCounty(k);
        ASSERT_NE(l, nullptr) << k;
        EXPECT_EQ(l->toolTip(), spots[size_t(k)].name);
        EXPECT_TRUE(l->text().isEmpty());
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(l);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), spots[size_t(k)].name + QStringLiteral(", not worked"));
        EXPECT_EQ(l->geometry(),
                  QRect(spots[size_t(k)].left, spots[size_t(k)].top, spots[size_t(k)].width,
                        spots[size_t(k)].height));
    }
}

TEST_F(CountyMapWindowTest, PaintsExactlyTheWorkedCountiesOfTheOutOfStateList)
{
    writeLog(); // Alderbrook and Ashcombe
    LogWindow& w = start(1);
    w.List2->addItem(QStringLiteral("tallis"));        // a case of its own
    w.List2->addItem(QStringLiteral("Atlantis"));      // no such county
    w.List2->addItem(QStringLiteral("Orchard Valley"));
    CountyMapZQ& m = openMap();
    EXPECT_FALSE(m.Label1->isVisibleTo(&m));
    QStringList painted = paintedCounties(m.picture());
    painted.sort();
    EXPECT_EQ(painted, QStringList({"Alderbrook", "Ashcombe", "Orchard Valley", "Tallis"}));
    // The picture shown is the painted one.
    EXPECT_EQ(m.Picture1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), m.picture());

    // Opened again: the same counties.
    CountyMapZQ& again = openMap();
    QStringList repainted = paintedCounties(again.picture());
    repainted.sort();
    EXPECT_EQ(repainted, painted);
}

TEST_F(CountyMapWindowTest, InStateMapPaintsTheInStateList)
{
    writeLog();
    LogWindow& w = start(0);
    w.List2->clear();
    CountyMapZQ& empty = openMap();
    EXPECT_FALSE(empty.Label1->isVisibleTo(&empty)); // contacts, but no county worked
    EXPECT_EQ(empty.picture(), original);

    w.List2->addItem(QStringLiteral("WYETH"));
    EXPECT_EQ(paintedCounties(openMap().picture()), QStringList{"Wyeth"});
}

// A hover over each hot spot names its county, as the application's own
// tool-tip timer asks (a QHelpEvent after the pointer rests), also while
// another window is the active one, as a window manager may leave it.
TEST_F(CountyMapWindowTest, HoveringAHotSpotNamesItsCounty)
{
    LogWindow& w = start(1);
    CountyMapZQ& m = openMap();
    m.show();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    QTest::qWait(50); // the platform's own activations first
    QApplication::setActiveWindow(&w);
    QTest::qWait(50);
    ASSERT_NE(QApplication::activeWindow(), &m);
    for (size_t k = 0; k < spots.size(); ++k) {
        SCOPED_TRACE(spots[k].name.toStdString());
        const QPoint at = m.Picture1->mapTo(&m, spots[k].centre());
        QWidget* under = m.childAt(at);
        ASSERT_NE(under, nullptr);
        const QPoint local = under->mapFrom(&m, at);
        QMouseEvent move(QEvent::MouseMove, local, under->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&move);
        QApplication::instance()->notify(under, &move);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return QToolTip::isVisible() && QToolTip::text() == spots[k].name; }, 5000))
            << "shown: " << QToolTip::text().toStdString();
    }
    QToolTip::hideText();
}
