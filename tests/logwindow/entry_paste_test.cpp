// Pasting into the entry row: Ctrl+V, Shift+Insert and the context menu's
// Paste put the clipboard's text into the field with the focus, and each
// field refuses a paste holding a character it would not take when typed.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

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
        {"call, lower case kept", 1, &LogWindow::txtCall, "w1aw", "w1aw"},
        {"call with blanks", 1, &LogWindow::txtCall, "AA1AA 59 CT", ""},
        {"call, trailing blank", 1, &LogWindow::txtCall, "W1AW ", ""},
        {"call with a quote", 1, &LogWindow::txtCall, "W1\"AW", ""},
        {"call with an apostrophe", 0, &LogWindow::txtCall, "W1'AW", ""},
        {"call with a line break", 0, &LogWindow::txtCall, "W1AW\n", ""},
        {"report received", 1, &LogWindow::txtRSTR, "599", "599"},
        {"report received, letters", 1, &LogWindow::txtRSTR, "5NN", ""},
        {"report sent, blank", 0, &LogWindow::txtRSTS, "59 ", ""},
        {"out-of-state county", 1, &LogWindow::txtSec, "Orchard Valley", "Orchard Valley"},
        {"in-state county, digit", 0, &LogWindow::txtSec, "Carrow5", ""},
        {"in-state state, digit", 0, &LogWindow::txtCntry, "T7", ""},
        {"in-state state", 0, &LogWindow::txtCntry, "tx", "tx"},
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
