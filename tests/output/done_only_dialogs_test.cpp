// Which output dialogs the operator can close: the edit dialogs and the two
// county change dialogs are left through Done only (no close control; Esc
// and close requests do nothing, so an edit is never dropped and the
// rover's county list is always handed over by Done); the submission
// dialog, the county list, the rate graph and the county map keep their
// close control.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "output/CountyMapZQ.h"
#include "output/GraphQSO.h"
#include "output/ZQCabrilloIn.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "output/frmCountyChange.h"
#include "output/frmCountyChangeRover.h"
#include "output/frmCountyList.h"
#include "keying/frmCodePractice.h"
#include "rig/frmFrequencyTest.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <functional>

using namespace zq;
using namespace zq::test;

namespace {

class DoneOnlyDialogTest : public EntryWindowTest {
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
        unloadAll();
    }

    // A text box of an ordinary dialog, found by its name.
    struct BoxCase {
        const char* name;
        std::function<QDialog&()> window;
        const char* box;
    };
    // Shows the case's dialog active, with the focus in its box.
    static EntryBox* focusedBox(const BoxCase& c)
    {
        QDialog& d = c.window();
        showActive(d);
        auto* box = d.findChild<EntryBox*>(QLatin1String(c.box));
        if (box)
            box->setFocus();
        return box;
    }
    static void unloadAll()
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Esc with the focus on a button and in a box, then the window
    // manager's close request: the dialog stays shown.
    static void tryToLeave(QDialog& d, QWidget* box)
    {
        auto* button = d.findChild<QPushButton*>();
        ASSERT_NE(button, nullptr);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.close());
        EXPECT_TRUE(d.isVisible());
    }
};

bool hasCloseControl(const QWidget& w)
{
    const Qt::WindowFlags f = w.windowFlags();
    return !(f & Qt::CustomizeWindowHint) || (f & Qt::WindowCloseButtonHint);
}

} // namespace

TEST_F(DoneOnlyDialogTest, EditDialogsLeaveOnlyThroughDone)
{
    writeLog();
    for (uint8_t outOfState : {0, 1}) {
        SCOPED_TRACE(outOfState);
        freshRun();
        LogWindow& w = start(outOfState);
        clickContactRow(w.ListView1, 2, Qt::LeftButton);
        const QString before = ContactLog::instance()[2].LogCall;
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& window) {
            shown = true;
            auto& d = dynamic_cast<ContactEditDialog&>(window);
            EXPECT_FALSE(hasCloseControl(d));
            showActive(d);
            d.txtEditCall->setFocus();
            d.txtEditCall->selectAll();
            QTest::keyClicks(d.txtEditCall, QStringLiteral("K2XY"));
            tryToLeave(d, d.txtEditCall);
            // Esc at the start of a completing box empties nothing either.
            auto* county = d.findChild<EntryBox*>(outOfState ? "txtEditPre" : "txtEditSec");
            ASSERT_NE(county, nullptr);
            const QString countyBefore = county->text();
            county->setFocus();
            county->setCursorPosition(0);
            QTest::keyClick(county, Qt::Key_Escape);
            EXPECT_EQ(county->text(), countyBefore);
            EXPECT_EQ(ContactLog::instance()[2].LogCall, before); // nothing saved yet
            EXPECT_EQ(d.txtEditCall->text(), QStringLiteral("K2XY")); // the edit stands
            d.cmdDone->click();
            EXPECT_TRUE(d.isHidden());
        });
        w.cmdEdit->click();
        setModalShowHandlerForTesting(nullptr);
        EXPECT_TRUE(shown);
        EXPECT_EQ(ContactLog::instance()[2].LogCall, QStringLiteral("K2XY"));
        EXPECT_TRUE(env.readWorkFile(QStringLiteral("log.txt")).contains("\"K2XY\""));
    }
}

TEST_F(DoneOnlyDialogTest, CountyChangeDialogsLeaveOnlyThroughDone)
{
    open(0);
    auto& change = DefaultInstance<frmCountyChange>();
    EXPECT_FALSE(hasCloseControl(change));
    showActive(change);
    tryToLeave(change, change.Text1);
    EXPECT_EQ(st.OwnCounty, QStringLiteral("Alderbrook"));
    EXPECT_FALSE(QFile::exists(env.workPath(QStringLiteral("QSOpref.txt"))));

    // The rover's list: neither Esc nor a close request skips handing
    // List(0) over; Done does it.
    auto& rover = DefaultInstance<frmCountyChangeRover>();
    EXPECT_FALSE(hasCloseControl(rover));
    showActive(rover);
    for (const char* county : {"Wakeman", "Carrow"}) {
        rover.Text1->setFocus();
        rover.Text1->selectAll();
        QTest::keyClicks(rover.Text1, QLatin1String(county));
        QTest::keyClick(rover.Text1, Qt::Key_Return);
    }
    ASSERT_EQ(rover.List1->count(), 2);
    tryToLeave(rover, rover.Text1);
    EXPECT_EQ(change.Text1->text(), QStringLiteral("Alderbrook"));
    rover.Command1->click();
    EXPECT_TRUE(rover.isHidden());
    EXPECT_EQ(change.Text1->text(), QStringLiteral("Carrow"));
}

TEST_F(DoneOnlyDialogTest, OtherOutputWindowsKeepTheirCloseControl)
{
    open(1);
    struct Case {
        const char* name;
        std::function<QDialog&()> window;
    };
    const Case cases[] = {
        {"submission", []() -> QDialog& { return DefaultInstance<ZQCabrilloIn>(); }},
        {"county list", []() -> QDialog& { return DefaultInstance<frmCountyList>(); }},
        {"rate graph", []() -> QDialog& { return DefaultInstance<GraphQSO>(); }},
        {"county map", []() -> QDialog& { return DefaultInstance<CountyMapZQ>(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDialog& d = c.window();
        EXPECT_TRUE(hasCloseControl(d));
        showActive(d);
        EXPECT_TRUE(d.close());
        EXPECT_FALSE(d.isVisible());
    }
}

// The ordinary dialogs close on Esc with the focus in a text box, as with
// the focus anywhere else: the box passes Esc on to its dialog.
TEST_F(DoneOnlyDialogTest, EscInATextBoxClosesTheOrdinaryDialogs)
{
    const BoxCase cases[] = {
        {"command test", []() -> QDialog& { return DefaultInstance<frmFrequencyTest>(); }, "Text1"},
        {"command test, frequency", []() -> QDialog& { return DefaultInstance<frmFrequencyTest>(); }, "Text2"},
        {"code practice, keyboard sending", []() -> QDialog& { return DefaultInstance<frmCodePractice>(); }, "Text5"},
        {"code practice, groups", []() -> QDialog& { return DefaultInstance<frmCodePractice>(); }, "Text3"},
        {"Cabrillo sheet, name", []() -> QDialog& { return DefaultInstance<ZQCabrilloIn>(); }, "Text5"},
        {"Cabrillo sheet, calls", []() -> QDialog& { return DefaultInstance<ZQCabrilloIn>(); }, "Text1"},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        EntryBox* box = focusedBox(c);
        ASSERT_NE(box, nullptr);
        QDialog& d = c.window();
        QTest::mouseClick(box, Qt::LeftButton); // as the operator clicks into it
        ASSERT_EQ(QApplication::focusWidget(), box);
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Rejected);
        unloadAll();
    }
}

// Where no window gives them a meaning, Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+Z
// in a text box select, copy, cut and undo as in any line edit.
TEST_F(DoneOnlyDialogTest, EditingKeysWorkInTheBoxesOfTheDialogs)
{
    const BoxCase cases[] = {
        {"Cabrillo sheet", []() -> QDialog& { return DefaultInstance<ZQCabrilloIn>(); }, "Text5"},
        {"command test", []() -> QDialog& { return DefaultInstance<frmFrequencyTest>(); }, "Text1"},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        EntryBox* box = focusedBox(c);
        ASSERT_NE(box, nullptr);
        QDialog& d = c.window();
        box->clear();
        QTest::keyClicks(box, QStringLiteral("Ann"));
        QApplication::clipboard()->clear();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(box->selectedText(), QStringLiteral("Ann"));
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Ann"));
        EXPECT_EQ(box->text(), QStringLiteral("Ann"));
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(box->text(), QString());
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box->text(), QStringLiteral("Ann"));
        EXPECT_TRUE(d.isVisible());
        unloadAll();
    }
}
