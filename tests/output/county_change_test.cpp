// The in-state rover's own-county change and its county-line list, on their
// own and through the in-state log window's "Cha&nge County".

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "common/WindowFit.h"
#include "logstore/CountyTable.h"
#include "output/frmCountyChange.h"
#include "output/frmCountyChangeRover.h"

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace zq;
using namespace zq::test;

namespace {

// A field's description as a screen reader reads it.
QString description(QWidget* field)
{
    return QAccessible::queryAccessibleInterface(field)->text(QAccessible::Description);
}

class CountyChangeTest : public EntryWindowTest {
protected:
    void SetUp() override
    {
        EntryWindowTest::SetUp();
        st.RoverFlag = 1;
        ASSERT_TRUE(LoadCountyTable());
    }
    void TearDown() override
    {
        setModalShowHandlerForTesting(nullptr);
        setScreenTwipsForTesting(0, 0);
    }


    // The operator types each county into the rover dialog and presses Enter.
    static void addCounties(frmCountyChangeRover& rover, const QStringList& counties)
    {
        for (const QString& c : counties) {
            rover.Text1->setFocus();
            rover.Text1->selectAll();
            QTest::keyClicks(rover.Text1, c);
            QTest::keyClick(rover.Text1, Qt::Key_Return);
        }
    }

    QString prefLine7() const
    {
        return QString::fromLatin1(env.readWorkFile(QStringLiteral("QSOpref.txt")))
            .split(QStringLiteral("\r\n"))
            .value(6);
    }
};

} // namespace

TEST_F(CountyChangeTest, ChangeCountyCompletesAndEnterStoresTheCounty)
{
    auto& in = static_cast<Infrm&>(open(0));
    bool shown = false;
    setModalShowHandlerForTesting([&](QWidget& window) {
        auto& change = dynamic_cast<frmCountyChange&>(window);
        shown = true;
        EXPECT_EQ(change.windowTitle(), QStringLiteral("County Change"));
        showActive(change);
        EXPECT_EQ(QApplication::focusWidget(), change.Text1);
        EXPECT_EQ(change.Text1->selectedText(), QStringLiteral("Alderbrook"));
        // A lower-case letter replaces the county by the last county of the
        // table beginning with it, in capitals; the rest stays selected.
        QTest::keyClick(change.Text1, Qt::Key_W);
        EXPECT_EQ(change.Text1->text(), QStringLiteral("Wyeth"));
        EXPECT_EQ(change.Text1->selectedText(), QStringLiteral("yeth"));
        QTest::keyClicks(change.Text1, QStringLiteral("akeMAN"));
        EXPECT_EQ(change.Text1->text(), QStringLiteral("WakeMAN"));
        QTest::keyClick(change.Text1, Qt::Key_Return);
        EXPECT_TRUE(change.isHidden());
    });
    in.mnuChangeCounty->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(WindowRegistry::isLoaded<frmCountyChange>());
    // Stored as the table spells it.
    EXPECT_EQ(st.OwnCounty, QStringLiteral("Wakeman"));
    EXPECT_EQ(in.Label25->text(), QStringLiteral("Wakeman"));
    EXPECT_EQ(prefLine7(), QStringLiteral("\"Wakeman\""));
}

TEST_F(CountyChangeTest, OnlyATableCountyIsStoredAndEscChangesNothing)
{
    auto& change = DefaultInstance<frmCountyChange>();
    showActive(change);
    change.Text1->setText(QStringLiteral("Nowhere"));
    QTest::keyClick(change.Text1, Qt::Key_Return);
    EXPECT_TRUE(change.isVisible());
    EXPECT_TRUE(change.Label2->isVisible());
    EXPECT_EQ(change.Label2->text(), QStringLiteral("   Invalid!"));
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(description(change.Text1), QStringLiteral("Invalid!")); // read with the field

    // Leaving the field checks it too, and puts the focus back.
    QTest::keyClick(change.Text1, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(env.prompt().beeps(), 2);
    EXPECT_EQ(QApplication::focusWidget(), change.Text1);

    // An empty field is no county either.
    change.Text1->clear();
    QTest::mouseClick(change.Command1, Qt::LeftButton);
    EXPECT_TRUE(change.isVisible());
    EXPECT_EQ(env.prompt().beeps(), 3);

    // Esc leaves the dialog as it was: only Done closes it.
    QTest::keyClick(change.Text1, Qt::Key_Escape);
    EXPECT_TRUE(change.isVisible());
    EXPECT_TRUE(change.Text1->text().isEmpty());
    EXPECT_EQ(st.OwnCounty, QStringLiteral("Alderbrook"));
    EXPECT_FALSE(QFile::exists(env.workPath(QStringLiteral("QSOpref.txt"))));
}

TEST_F(CountyChangeTest, KeysAtTheStartOfTheFieldBeginANewEntry)
{
    auto& change = DefaultInstance<frmCountyChange>();
    showActive(change);
    struct Case {
        Qt::Key key;
        const char* after;
    };
    for (const Case& c : {Case{Qt::Key_Space, " "}, Case{Qt::Key_Backspace, ""},
                          Case{Qt::Key_Q, "Quarry"}}) {
        SCOPED_TRACE(c.after);
        change.Text1->setText(QStringLiteral("Carrow"));
        change.Text1->setCursorPosition(0);
        QTest::keyClick(change.Text1, c.key);
        EXPECT_EQ(change.Text1->text(), QLatin1String(c.after));
    }
    // A space and a letter at the end of a text that matches no county keep
    // the case typed; a quote never goes in.
    change.Text1->setText(QStringLiteral("Xx"));
    change.Text1->end(false);
    QTest::keyClicks(change.Text1, QStringLiteral(" y\""));
    EXPECT_EQ(change.Text1->text(), QStringLiteral("Xx y"));
}

TEST_F(CountyChangeTest, RoverListSortedOnceEachAndHandedOverByDone)
{
    auto& in = static_cast<Infrm&>(open(0));
    setModalShowHandlerForTesting([&](QWidget& window) {
        if (auto* change = qobject_cast<frmCountyChange*>(&window)) {
            showActive(*change);
            QTest::mouseClick(change->cmdMultipleCounties, Qt::LeftButton);
            return;
        }
        auto& rover = dynamic_cast<frmCountyChangeRover&>(window);
        showActive(rover);
        EXPECT_EQ(rover.windowTitle(), QStringLiteral("County Change for Rovers"));
        EXPECT_EQ(rover.Text1->text(), QStringLiteral("Alderbrook"));
        addCounties(rover, {"carr", "ashc", "bellh"});
        EXPECT_EQ(listEntries(rover.List1), QStringList({"Ashcombe", "Bellhaven", "Carrow"}));
        EXPECT_TRUE(rover.Text1->text().isEmpty());
        // Listed already (ignoring case): a beep, and the field keeps it.
        env.prompt().clear();
        addCounties(rover, {"CARROW"});
        EXPECT_EQ(rover.List1->count(), 3);
        EXPECT_EQ(rover.Text1->text(), QStringLiteral("CARROW"));
        EXPECT_EQ(env.prompt().beeps(), 1);
        EXPECT_TRUE(rover.Label2->isHidden());
        const QString hint = QStringLiteral("Type the county and the press enter to add to the list.");
        EXPECT_EQ(description(rover.Text1), hint);
        // Not a county: "   Invalid!", read with the field before its hint.
        addCounties(rover, {"Nowhere"});
        EXPECT_TRUE(rover.Label2->isVisible());
        EXPECT_EQ(description(rover.Text1), QStringLiteral("Invalid! ") + hint);
        EXPECT_EQ(rover.List1->count(), 3);
        // The focus arriving in the list removes nothing.
        rover.List1->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        EXPECT_EQ(rover.List1->count(), 3);
        QTest::mouseClick(rover.Command1, Qt::LeftButton);
        EXPECT_TRUE(rover.isHidden());
    });
    in.mnuChangeCounty->trigger();
    EXPECT_EQ(st.OwnCounty, QStringLiteral("Ashcombe"));
    EXPECT_EQ(in.Label25->text(), QStringLiteral("Ashcombe"));
    EXPECT_EQ(prefLine7(), QStringLiteral("\"Ashcombe\""));

    // One contact, three lines: one for each county of the line.
    enterContact(in, "K5TX", "59", "TX", "", "599");
    EXPECT_EQ(logFile(),
              logLine("K5TX", "599", "59", "TX", "", "Ashcombe", "2026/09/12", "18:30:00")
                  + logLine("K5TX", "599", "59", "TX", "", "Bellhaven", "2026/09/12", "18:30:00")
                  + logLine("K5TX", "599", "59", "TX", "", "Carrow", "2026/09/12", "18:30:00"));

    // Reopened: the same list and field.  A click and the arrow keys
    // remove entries; the focus then goes to Done.
    setModalShowHandlerForTesting([&](QWidget& window) {
        if (auto* change = qobject_cast<frmCountyChange*>(&window)) {
            showActive(*change);
            EXPECT_EQ(change->Text1->text(), QStringLiteral("Ashcombe"));
            QTest::mouseClick(change->cmdMultipleCounties, Qt::LeftButton);
            return;
        }
        auto& rover = dynamic_cast<frmCountyChangeRover&>(window);
        showActive(rover);
        EXPECT_EQ(listEntries(rover.List1), QStringList({"Ashcombe", "Bellhaven", "Carrow"}));
        EXPECT_EQ(rover.Text1->text(), QStringLiteral("Nowhere"));
        QListWidget* list = rover.List1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        EXPECT_EQ(listEntries(list), QStringList({"Bellhaven", "Carrow"}));
        EXPECT_EQ(QApplication::focusWidget(), rover.Command1);
        // A click below the last entry picks none.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, list->viewport()->height() - 2));
        EXPECT_EQ(list->count(), 2);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        EXPECT_EQ(listEntries(list), QStringList({"Bellhaven"}));
        EXPECT_EQ(QApplication::focusWidget(), rover.Command1);
        QTest::mouseClick(rover.Command1, Qt::LeftButton);
    });
    in.mnuChangeCounty->trigger();
    EXPECT_EQ(st.OwnCounty, QStringLiteral("Bellhaven"));
    enterContact(in, "K6CA", "59", "CA", "", "599");
    EXPECT_EQ(ContactLog::instance().ContactCount, 4); // one county: logged once
}

TEST_F(CountyChangeTest, EmptyRoverListReturnsToAnInvalidCountyThatKeepsTheDialogOpen)
{
    auto& change = DefaultInstance<frmCountyChange>();
    showActive(change);
    change.Text1->setText(QStringLiteral("Nowhere"));
    setModalShowHandlerForTesting([](QWidget& window) {
        auto& rover = dynamic_cast<frmCountyChangeRover&>(window);
        rover.Command1_Click();
    });
    change.cmdMultipleCounties_Click();
    EXPECT_TRUE(change.isVisible());
    EXPECT_TRUE(change.Label2->isVisible());
    EXPECT_EQ(st.OwnCounty, QStringLiteral("Alderbrook"));
}

TEST_F(CountyChangeTest, DialogsStandInTheMiddleOfTheScreenWithCappedFonts)
{
    struct Case {
        double width, height, fontFactor;
    };
    for (const Case& c : {Case{9600, 7200, 1.0}, Case{19200, 14400, 1.5}}) {
        SCOPED_TRACE(c.width);
        setScreenTwipsForTesting(c.width, c.height);
        auto& change = DefaultInstance<frmCountyChange>();
        const TwipsRect r = formTwips(change);
        EXPECT_NEAR(r.Left, (c.width - r.Width) / 2, 30);
        EXPECT_NEAR(r.Top, (c.height - r.Height) / 2, 30);
        EXPECT_NEAR(controlTwips(*change.Text1).Left, 720 * c.width / 9600, 30);
        EXPECT_NEAR(fontSize(*change.Label2), 8.25 * c.fontFactor, 0.3);
        WindowRegistry::unload<frmCountyChange>();
        QCoreApplication::processEvents();
    }
}
