// The county list: the home state's counties with their abbreviations in
// the table's order, its place on the screen, and a click that fills the
// active log window's county box.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "logstore/CountyTable.h"
#include "output/frmCountyList.h"

#include <QHeaderView>

using namespace zq;
using namespace zq::test;

namespace {

class CountyListTest : public LogWindowTest {
protected:
    void TearDown() override
    {
        setModalShowHandlerForTesting(nullptr);
        setScreenTwipsForTesting(0, 0);
    }

    // "L&ist" in the window: the list is shown and `pick` runs in it.
    static void showList(LogWindow& w, const std::function<void(frmCountyList&)>& pick)
    {
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& window) {
            shown = true;
            auto& list = dynamic_cast<frmCountyList&>(window);
            list.show();
            pick(list);
        });
        find(w, "mnuCountyList")->trigger();
        EXPECT_TRUE(shown);
        EXPECT_FALSE(WindowRegistry::isLoaded<frmCountyList>());
    }

    static void clickRow(frmCountyList& list, int row)
    {
        QTreeWidget* view = list.ListView1;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualItemRect(view->topLevelItem(row)).center());
    }
};

} // namespace

TEST_F(CountyListTest, ListsEveryCountyInTableOrder)
{
    ASSERT_TRUE(LoadCountyTable());
    const CountyTable& t = CountyTable::instance();
    ASSERT_EQ(t.count(), 77);
    auto& list = DefaultInstance<frmCountyList>();
    EXPECT_EQ(list.windowTitle(), QStringLiteral("County List"));
    QTreeWidget* view = list.ListView1;
    EXPECT_EQ(view->headerItem()->text(0), QStringLiteral("County"));
    EXPECT_EQ(view->headerItem()->text(1), QStringLiteral("Abbreviation"));
    ASSERT_EQ(view->topLevelItemCount(), 77);
    for (int i = 1; i <= 77; ++i)
        EXPECT_EQ(listRow(view, i - 1),
                  QStringList({t.CountyName[static_cast<size_t>(i)],
                               t.CountyAbbrev[static_cast<size_t>(i)]}));
    EXPECT_EQ(listRow(view, 0), QStringList({"Alderbrook", "ALDB"}));
    EXPECT_EQ(listRow(view, 76), QStringList({"Yarrow", "YARR"}));
}

TEST_F(CountyListTest, PlacedASixthDownWithColumnsAndFontsScaled)
{
    struct Case {
        double width, height, fontFactor;
    };
    for (const Case& c : {Case{9600, 7200, 1.0}, Case{19200, 14400, 1.5}}) {
        SCOPED_TRACE(c.width);
        setScreenTwipsForTesting(c.width, c.height);
        // An empty table: only the headers.
        CountyTable::instance().CountyCount = 0;
        const double designFont = QApplication::font().pointSizeF();
        auto& list = DefaultInstance<frmCountyList>();
        EXPECT_EQ(list.ListView1->topLevelItemCount(), 0);
        EXPECT_EQ(list.ListView1->columnCount(), 2);
        const TwipsRect r = formTwips(list);
        EXPECT_NEAR(r.Left, (c.width - r.Width) / 2, 30);
        EXPECT_NEAR(r.Top, (c.height - r.Height) / 6, 30);
        const double column = 1300 * c.width / 9600;
        EXPECT_NEAR(pixelsToTwipsX(list.ListView1->header()->sectionSize(0), &list), column, 30);
        EXPECT_NEAR(pixelsToTwipsX(list.ListView1->header()->sectionSize(1), &list), column, 30);
        EXPECT_NEAR(controlTwips(*list.ListView1).Width, 2915 * c.width / 9600, 30);
        EXPECT_NEAR(fontSize(*list.ListView1), designFont * c.fontFactor, 0.3);
        WindowRegistry::unload<frmCountyList>();
        QCoreApplication::processEvents();
    }
}

TEST_F(CountyListTest, AClickFillsOnlyTheActiveWindowsCountyBox)
{
    for (uint8_t outOfState : {uint8_t(1), uint8_t(0)}) {
        SCOPED_TRACE(int(outOfState));
        freshRun();
        LogWindow& w = start(outOfState);
        w.txtCall->setText(QStringLiteral("K5ABC"));
        w.txtSec->setText(QStringLiteral("ALDB"));
        showList(w, [](frmCountyList& list) {
            // The full name, never the abbreviation.
            clickRow(list, 2);
            EXPECT_TRUE(list.isHidden());
        });
        EXPECT_EQ(w.txtSec->text(), QStringLiteral("Bellhaven"));
        EXPECT_EQ(w.txtCall->text(), QStringLiteral("K5ABC"));

        // The flag names the other variant, which is not loaded: no window
        // is written, none is created.
        st.OutOfStateFlag = outOfState ? 0 : 1;
        showList(w, [](frmCountyList& list) { clickRow(list, 0); });
        EXPECT_EQ(w.txtSec->text(), QStringLiteral("Bellhaven"));
        EXPECT_FALSE(outOfState ? WindowRegistry::isLoaded<Infrm>() : WindowRegistry::isLoaded<Outfrm>());
        st.OutOfStateFlag = outOfState;

        // A click that picks no row, then the close box: nothing changes.
        CountyTable::instance().CountyCount = 0;
        showList(w, [](frmCountyList& list) {
            QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            EXPECT_FALSE(list.isHidden());
            list.close();
        });
        EXPECT_EQ(w.txtSec->text(), QStringLiteral("Bellhaven"));
    }
}

TEST_F(CountyListTest, EnterOrSpaceOnTheCountyInFocusPicksIt)
{
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int downs;
        const char* county;
    } cases[] = {
        {Qt::Key_Return, Qt::NoModifier, 2, "Bellhaven"},
        {Qt::Key_Enter, Qt::KeypadModifier, 0, "Alderbrook"},
        {Qt::Key_Space, Qt::NoModifier, 1, "Ashcombe"},
    };
    LogWindow& w = start(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.county);
        w.txtSec->clear();
        showList(w, [&](frmCountyList& list) {
            QApplication::setActiveWindow(&list);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
            ASSERT_EQ(QApplication::focusWidget(), list.ListView1);
            for (int i = 0; i < c.downs; ++i)
                QTest::keyClick(list.ListView1, Qt::Key_Down);
            ASSERT_EQ(list.ListView1->currentItem(), list.ListView1->topLevelItem(c.downs));
            QTest::keyClick(list.ListView1, c.key, c.mods);
            EXPECT_TRUE(list.isHidden());
        });
        EXPECT_EQ(w.txtSec->text(), QLatin1String(c.county));
    }
}
