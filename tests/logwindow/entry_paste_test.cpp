// Pasting into the entry row: Ctrl+V, Shift+Insert and the context menu's
// Paste put the clipboard's text into the field with the focus, and each
// field refuses a paste holding a character it would not take when typed.
// A box whose typed letters become capitals takes pasted letters in
// capitals too; one whose typed text keeps its case keeps it pasted.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "entry/Multipliers.h"
#include "keying/CWFrm.h"
#include "keying/PhoneFrm.h"
#include "output/ZQCabrilloIn.h"
#include "startup/StationSetupEntry.h"
#include "startup/frmStationID.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <functional>

using namespace zq;
using namespace zq::test;

namespace {

enum class PasteBy { CtrlV, ShiftInsert, ContextMenu };

void pasteInto(EntryBox* box, PasteBy how)
{
    box->setFocus();
    switch (how) {
    case PasteBy::CtrlV: QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); break;
    case PasteBy::ShiftInsert: QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); break;
    case PasteBy::ContextMenu: box->paste(); break; // what the menu's Paste runs
    }
    QCoreApplication::processEvents();
}

using EntryPasteTest = EntryWindowTest;

} // namespace

TEST_F(EntryPasteTest, EveryPasteRoutePutsTheClipboardIntoTheField)
{
    LogWindow& w = open(1);
    for (PasteBy how : {PasteBy::CtrlV, PasteBy::ShiftInsert, PasteBy::ContextMenu}) {
        SCOPED_TRACE(static_cast<int>(how));
        w.txtCall->clear();
        w.txtCall->insert(QStringLiteral("K5"));
        QApplication::clipboard()->setText(QStringLiteral("ZZ"));
        pasteInto(w.txtCall, how);
        EXPECT_EQ(w.txtCall->text(), QStringLiteral("K5ZZ"));
        EXPECT_EQ(w.txtCall->cursorPosition(), 4);
    }
}

TEST_F(EntryPasteTest, FieldsRefuseAPasteHoldingWhatTheyRefuseTyped)
{
    struct Case {
        const char* name;
        uint8_t outOfState;
        EntryBox* LogWindow::*field;
        const char* clipboard;
        const char* after; // the field, which held "" before
    };
    const Case cases[] = {
        {"call", 1, &LogWindow::txtCall, "W1AW", "W1AW"},
        {"call, in capitals as typed", 1, &LogWindow::txtCall, "w1aw", "W1AW"},
        {"call with blanks", 1, &LogWindow::txtCall, "AA1AA 59 CT", ""},
        {"call, trailing blank", 1, &LogWindow::txtCall, "W1AW ", ""},
        {"call with a quote", 1, &LogWindow::txtCall, "W1\"AW", ""},
        {"call with an apostrophe", 0, &LogWindow::txtCall, "W1'AW", ""},
        {"call with a line break", 0, &LogWindow::txtCall, "W1AW\n", ""},
        {"call with a DEL", 1, &LogWindow::txtCall, "W1\x7f" "AW", ""},
        {"county with a C1 control", 1, &LogWindow::txtSec, "Orchard\x9b" "Valley", ""},
        {"report received", 1, &LogWindow::txtRSTR, "599", "599"},
        {"report received, letters", 1, &LogWindow::txtRSTR, "5NN", ""},
        {"report sent, blank", 0, &LogWindow::txtRSTS, "59 ", ""},
        {"out-of-state county", 1, &LogWindow::txtSec, "Orchard Valley", "Orchard Valley"},
        {"in-state county, digit", 0, &LogWindow::txtSec, "Carrow5", ""},
        {"in-state state, digit", 0, &LogWindow::txtCntry, "T7", ""},
        {"in-state state, in capitals as typed", 0, &LogWindow::txtCntry, "tx", "TX"},
        {"in-state country, mixed case as typed", 0, &LogWindow::txtCntry, "germany", "Germany"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshRun();
        LogWindow& w = open(c.outOfState);
        EntryBox* box = w.*c.field;
        QApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        pasteInto(box, PasteBy::CtrlV);
        EXPECT_EQ(box->text(), QLatin1String(c.after));
    }
}

// A call pasted in lower case is logged in capitals, as a typed one is.
TEST_F(EntryPasteTest, ACallPastedInLowerCaseIsLoggedInCapitals)
{
    for (uint8_t outOfState : {uint8_t(1), uint8_t(0)}) {
        SCOPED_TRACE(outOfState ? "out-of-state" : "in-state");
        env.writeWorkFile("log.txt", {});
        freshRun();
        LogWindow& w = open(outOfState);
        QApplication::clipboard()->setText(QStringLiteral("k5low"));
        pasteInto(w.txtCall, PasteBy::CtrlV);
        EXPECT_EQ(w.txtCall->text(), QStringLiteral("K5LOW"));
        type(w.txtRSTR, QStringLiteral("599"));
        if (outOfState)
            type(w.txtSec, QStringLiteral("aldb"));
        else
            type(w.txtCntry, QStringLiteral("tx"));
        type(w.txtRSTS, QStringLiteral("599"));
        QTest::keyClick(w.txtRSTS, Qt::Key_Return);
        ASSERT_EQ(ContactLog::instance().ContactCount, 1);
        EXPECT_TRUE(logFile().startsWith("\"K5LOW\",")) << logFile().toStdString();
        EXPECT_FALSE(logFile().contains("k5low"));
    }
}

// A state code pasted in lower case is logged in capitals, as a typed one
// is; after a code, a pasted rest makes it a name in mixed case.
TEST_F(EntryPasteTest, AStatePastedInLowerCaseIsLoggedInCapitals)
{
    env.writeWorkFile("log.txt", {});
    LogWindow& w = open(0);
    type(w.txtCall, QStringLiteral("K5LOW"));
    type(w.txtRSTR, QStringLiteral("599"));
    w.txtCntry->clear();
    QApplication::clipboard()->setText(QStringLiteral("tx"));
    pasteInto(w.txtCntry, PasteBy::CtrlV);
    EXPECT_EQ(w.txtCntry->text(), QStringLiteral("TX"));
    type(w.txtRSTS, QStringLiteral("599"));
    QTest::keyClick(w.txtRSTS, Qt::Key_Return);
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_TRUE(logFile().startsWith("\"K5LOW\",\"599\",\"599\",\"TX\","))
        << logFile().toStdString();

    QApplication::clipboard()->setText(QStringLiteral("as"));
    w.txtCntry->setText(QStringLiteral("TX"));
    w.txtCntry->end(false);
    pasteInto(w.txtCntry, PasteBy::ShiftInsert);
    EXPECT_EQ(w.txtCntry->text(), QStringLiteral("Txas"));
}

// Blanks around a pasted state code or county are dropped, as typed ones
// are (a typed blank there moves on to the next field): the exchange is
// logged as typed and the state counts as a multiplier.
TEST_F(EntryPasteTest, BlanksAroundAPastedExchangeAreDroppedAsTypedOnes)
{
    struct Case {
        const char* name;
        uint8_t outOfState;
        EntryBox* LogWindow::*field;
        const char* clipboard;
        const char* shown;
        const char* logged; // how the line starts
    };
    const Case cases[] = {
        {"state, blank before", 0, &LogWindow::txtCntry, " ny", "NY", "\"K5PA\",\"599\",\"599\",\"NY\","},
        {"state, blank after", 0, &LogWindow::txtCntry, "ny ", "NY", "\"K5PA\",\"599\",\"599\",\"NY\","},
        {"state, blanks around", 0, &LogWindow::txtCntry, "  ny  ", "NY",
         "\"K5PA\",\"599\",\"599\",\"NY\","},
        {"county, blanks around", 1, &LogWindow::txtSec, " Orchard Valley ", "Orchard Valley",
         "\"K5PA\",\"599\",\"599\",\"\",\"Orchard Valley\","},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.writeWorkFile("log.txt", {});
        freshRun();
        LogWindow& w = open(c.outOfState);
        type(w.txtCall, QStringLiteral("K5PA"));
        type(w.txtRSTR, QStringLiteral("599"));
        EntryBox* box = w.*c.field;
        box->clear();
        QApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        pasteInto(box, PasteBy::CtrlV);
        EXPECT_EQ(box->text(), QLatin1String(c.shown));
        EXPECT_EQ(box->cursorPosition(), box->text().size());
        type(w.txtRSTS, QStringLiteral("599"));
        QTest::keyClick(w.txtRSTS, Qt::Key_Return);
        ASSERT_EQ(ContactLog::instance().ContactCount, 1);
        EXPECT_TRUE(logFile().startsWith(c.logged)) << logFile().toStdString();
        if (!c.outOfState)
            EXPECT_EQ(MultiplierMatrix::instance().MultiplierCellCount, 1);
    }

    // A blank pasted inside the text stays: a county's second word.
    LogWindow& w = open(1);
    w.txtSec->setText(QStringLiteral("Orchard"));
    w.txtSec->end(false);
    QApplication::clipboard()->setText(QStringLiteral(" Valley "));
    pasteInto(w.txtSec, PasteBy::ShiftInsert);
    EXPECT_EQ(w.txtSec->text(), QStringLiteral("Orchard Valley"));
}

// In the tool windows a box takes pasted letters as it takes typed ones:
// in capitals where typing raises them, as they are where it keeps them.
TEST_F(EntryPasteTest, ToolWindowBoxesTakePastedLettersInTheCaseOfTypedOnes)
{
    open(1);
    ShowStationSetup();
    struct Case {
        const char* name;
        std::function<EntryBox*()> box;
        bool capitals;
    };
    const Case cases[] = {
        {"CW message F1", [] { return DefaultInstance<CWFrm>().Text[1]; }, true},
        {"voice keyer's parallel address", [] { return DefaultInstance<PhoneFrm>().Text[11]; }, true},
        {"Cabrillo operators' calls", [] { return DefaultInstance<ZQCabrilloIn>().Text1; }, true},
        {"Cabrillo name", [] { return DefaultInstance<ZQCabrilloIn>().Text5; }, false},
        {"own call", [] { return DefaultInstance<frmStationID>().Text[1]; }, true},
        {"Cabrillo soapbox", [] { return DefaultInstance<ZQCabrilloIn>().Text11; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EntryBox* box = c.box();
        QWidget* window = box->window();
        window->show();
        QApplication::setActiveWindow(window);
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, QStringLiteral("ab"));
        const QString typed = box->text();
        EXPECT_EQ(typed, QLatin1String(c.capitals ? "AB" : "ab"));
        box->clear();
        QApplication::clipboard()->setText(QStringLiteral("ab"));
        pasteInto(box, PasteBy::CtrlV);
        EXPECT_EQ(box->text(), typed);
        // The context menu's Paste, after text set by code that keeps its case.
        box->setText(QStringLiteral("x"));
        box->end(false);
        pasteInto(box, PasteBy::ContextMenu);
        EXPECT_EQ(box->text(), QStringLiteral("x") + typed);
    }
    WindowRegistry::unload<frmStationID>();
    WindowRegistry::unload<ZQCabrilloIn>();
}
