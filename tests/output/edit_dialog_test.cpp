// The "Edit Contact Entry" dialogs on their own: rows and names, the key
// filters and completion, the tests on leaving a box, and Done with its
// re-check, duplicate scan and write-back into ContactLog.

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "entry/EntryState.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/PositionTables.h"
#include "logstore/StationSettings.h"
#include "logstore/ArchiveRestore.h"
#include "logstore/SectionTable.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;
using Kind = ScriptedPrompt::Kind;

namespace {

class EditDialogTest : public ::testing::Test {
protected:
    TestEnv env;
    ContactLog& log = ContactLog::instance();
    // Contact 2 is edited; 1 and 3 are the rest of the log.
    ContactRecord first, underEdit, third;

    void SetUp() override
    {
        env.seedDataFile(QStringLiteral("county2.txt"));
        env.seedDataFile(QStringLiteral("arrlpre2.txt"));
        StationSettings::instance().HomeStateCode = QStringLiteral("ZQ");
        ASSERT_TRUE(LoadCountyTable());
        ASSERT_EQ(LoadCountryTable(), TableLoad::Ok);
        SectionTable::instance().build();
        first = contactRecord("W1AW", "59", "57", "ZQ", "Ashcombe", "Alderbrook", "2026/09/12",
                              "18:00:00", "PH", "20");
        underEdit = contactRecord("K5ZZ", "59", "58", "ZQ", "Carrow", "Alderbrook", "2026/09/12",
                                  "18:05:00", "PH", "20", "14.250");
        underEdit.LogField19 = QStringLiteral("spare");
        third = contactRecord("N9XX", "599", "599", "IL", "", "Alderbrook", "2026/09/12",
                              "18:10:00", "CW", "40");
        setLog({first, underEdit, third});
        edit(2);
    }

    void setLog(const std::vector<ContactRecord>& contacts)
    {
        log.reset();
        for (const ContactRecord& r : contacts)
            log[++log.ContactCount] = r;
    }

    static void edit(float number) { ContactListState::instance().EditRecordNumber = number; }

    template <class D>
    D& openDialog()
    {
        D& d = DefaultInstance<D>();
        d.show();
        QApplication::setActiveWindow(&d);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        return d;
    }

    // The operator moves into the box, selects what it holds and types.
    static void retype(EntryBox* box, const QString& keys)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, keys);
    }

    static void closeDialogs()
    {
        WindowRegistry::unload<ZQEditInfrm>();
        WindowRegistry::unload<ZQEditOut>();
        QCoreApplication::processEvents();
    }

    void TearDown() override { closeDialogs(); }
};

QStringList names(const std::vector<QWidget*>& widgets)
{
    QStringList out;
    for (QWidget* w : widgets)
        out << w->objectName();
    return out;
}

// A box's description as a screen reader reads it.
QString description(QWidget* box)
{
    return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description);
}

// The captions of the rows, top to bottom, with the boxes beside them.
QStringList rowsOf(QDialog& d)
{
    QStringList out;
    for (int r = 1;; ++r) {
        auto* caption = d.findChild<QLabel*>(QStringLiteral("lblRow%1").arg(r));
        if (!caption)
            break;
        QWidget* box = nullptr;
        for (auto* e : d.findChildren<EntryBox*>())
            if (std::abs(e->geometry().center().y() - caption->geometry().center().y()) < 8)
                box = e;
        out << caption->text() + QLatin1Char('=') + (box ? box->objectName() : QString());
    }
    return out;
}

} // namespace

TEST_F(EditDialogTest, RowsNamesAndTabOrderOfBothDialogs)
{
    struct Case {
        bool inState;
        QStringList rows;
    };
    const Case cases[] = {
        {true,
         {"Callsign=txtEditCall", "RST R=txtEditCk", "County=txtEditSec", "SPC=txtEditPre",
          "RST S=txtEditNum", "Date=txtEditDate", "Time=txtEditTime", "Mode=txtEditBnd",
          "Band=Text1", "County Sent=Text3"}},
        {false,
         {"Callsign=txtEditCall", "RST R=txtEditCk", "County=txtEditPre", "RST S=txtEditNum",
          "Date=txtEditDate", "Time=txtEditTime", "Mode=txtEditBnd", "Band=Text1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inState ? "in-state" : "out-of-state");
        ContactEditDialog& d = c.inState ? static_cast<ContactEditDialog&>(openDialog<ZQEditInfrm>())
                                         : openDialog<ZQEditOut>();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit Contact Entry"));
        EXPECT_EQ(d.lblEditTitle->text(), QStringLiteral("Edit Contact:"));
        EXPECT_EQ(rowsOf(d), c.rows);
        EXPECT_EQ(QApplication::focusWidget(), d.txtEditCall);

        // Tab walks the rows and ends on Done.
        QStringList tabbed;
        for (int i = 0; i <= c.rows.size(); ++i) {
            tabbed << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList expected;
        for (const QString& row : c.rows)
            expected << row.section(QLatin1Char('='), 1);
        expected << QStringLiteral("cmdDone");
        EXPECT_EQ(tabbed, expected);

        // Flags: hidden, each at the left of its row's caption.
        const QStringList flags = c.inState
            ? QStringList{"Label1", "Label7", "Label2", "Label3", "Label6", "Label9"}
            : QStringList{"Label1", "Label2", "Label3", "Label6"};
        for (const QString& f : flags) {
            auto* l = d.findChild<QLabel*>(f);
            ASSERT_NE(l, nullptr) << f.toStdString();
            EXPECT_TRUE(l->isHidden()) << f.toStdString();
            EXPECT_LT(l->geometry().right(), d.findChild<QLabel*>("lblRow1")->geometry().left());
        }
        EXPECT_EQ(d.Label1->text(), QStringLiteral("  Dupe!"));
        EXPECT_EQ(d.Label6->text(), QStringLiteral("   Invalid!"));
        EXPECT_TRUE(d.cmdDeleteDupe->isHidden());
        EXPECT_EQ(d.cmdDeleteDupe->text(), QStringLiteral("Delete Dupe"));
        EXPECT_GT(d.cmdDeleteDupe->geometry().top(), d.Label1->geometry().top());
        EXPECT_EQ(d.cmdDone->text(), QStringLiteral("Done"));
        closeDialogs();
    }
}

// A screen reader reads each box by the caption of its row, even while a
// flag beside the caption shows.
TEST_F(EditDialogTest, ScreenReadersNameEachBoxByItsRowCaption)
{
    for (bool inState : {true, false}) {
        SCOPED_TRACE(inState ? "in-state" : "out-of-state");
        ContactEditDialog& d = inState ? static_cast<ContactEditDialog&>(openDialog<ZQEditInfrm>())
                                       : openDialog<ZQEditOut>();
        QStringList read;
        for (const QString& row : rowsOf(d)) {
            auto* box = d.findChild<EntryBox*>(row.section(QLatin1Char('='), 1));
            ASSERT_NE(box, nullptr) << row.toStdString();
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
            ASSERT_NE(face, nullptr);
            read << face->text(QAccessible::Name) + QLatin1Char('=') + box->objectName();
        }
        EXPECT_EQ(read, rowsOf(d));
        d.Label6->show();
        QAccessibleInterface* band = QAccessible::queryAccessibleInterface(d.Text1);
        EXPECT_EQ(band->text(QAccessible::Name), QStringLiteral("Band"));
        closeDialogs();
    }
}

TEST_F(EditDialogTest, BoxesShowTheContactAndDoneWithoutChangesKeepsIt)
{
    auto& in = openDialog<ZQEditInfrm>();
    EXPECT_EQ(in.contactIndex(), 2);
    const QStringList shown{in.txtEditCall->text(), in.txtEditCk->text(), in.txtEditSec->text(),
                            in.txtEditPre->text(), in.txtEditNum->text(), in.txtEditDate->text(),
                            in.txtEditTime->text(), in.txtEditBnd->text(), in.Text1->text(),
                            in.Text3->text()};
    EXPECT_EQ(shown, QStringList({"K5ZZ", "58", "Carrow", "ZQ", "59", "2026/09/12", "18:05:00",
                                  "PH", "20", "Alderbrook"}));
    QTest::keyClick(in.txtEditCall, Qt::Key_Return);
    EXPECT_TRUE(in.isHidden());
    EXPECT_EQ(log[2], underEdit);
    EXPECT_EQ(env.prompt().beeps(), 0);
}

TEST_F(EditDialogTest, TypedEditIsStoredTrimmedInTheTablesSpellingAndTwoDigitForm)
{
    auto& in = openDialog<ZQEditInfrm>();
    retype(in.txtEditCall, QStringLiteral("k5zq "));
    retype(in.txtEditSec, QStringLiteral("wak"));
    EXPECT_EQ(in.txtEditSec->text(), QStringLiteral("Wakeman"));
    EXPECT_EQ(in.txtEditSec->selectedText(), QStringLiteral("eman"));
    retype(in.txtEditDate, QStringLiteral("2026/9/1x"));
    retype(in.txtEditTime, QStringLiteral("9:07"));
    retype(in.txtEditBnd, QStringLiteral("cw"));
    retype(in.Text1, QStringLiteral("40"));
    retype(in.Text3, QStringLiteral("ash"));
    EXPECT_EQ(in.Text3->text(), QStringLiteral("Ashcombe"));
    in.Text3->setText(QStringLiteral("  ashcombe")); // pasted: spelling and blanks as they come
    QTest::keyClick(in.Text3, Qt::Key_Return);

    ASSERT_TRUE(in.isHidden());
    ContactRecord expected = underEdit;
    expected.LogCall = QStringLiteral("K5ZQ");
    expected.LogCounty = QStringLiteral("Wakeman");
    expected.LogDate = QStringLiteral("2026/09/01");
    expected.LogTime = QStringLiteral("09:07");
    expected.LogMode = QStringLiteral("CW");
    expected.LogBand = QStringLiteral("40");
    expected.LogCountySent = QStringLiteral("Ashcombe");
    EXPECT_EQ(log[2], expected); // the fields without a box are carried through
    EXPECT_EQ(log[1], first);
    EXPECT_EQ(log[3], third);
}

TEST_F(EditDialogTest, DoneRefusesEveryFailedTestAndWritesNothing)
{
    struct Case {
        bool inState;
        const char* box;
        const char* text;
        const char* flag;    // the row's flag, or the message box title
        const char* stored;  // nullptr: refused
    };
    const Case cases[] = {
        {true, "Text1", "12", "Label6", nullptr},
        {true, "Text1", "6", nullptr, "6"},
        {true, "txtEditBnd", "SSB", "Label3", nullptr},
        {true, "txtEditBnd", "dg", nullptr, "dg"},
        {true, "txtEditDate", "2026/02/30", "Invalid Date Format!", nullptr},
        {true, "txtEditDate", "09/12/2026", "Invalid Date Format!", nullptr},
        {true, "txtEditTime", "24:00:00", "Invalid Time Format!", nullptr},
        {true, "txtEditTime", "18:5", "Invalid Time Format!", nullptr},
        {true, "txtEditTime", "7:05:09", nullptr, "07:05:09"},
        {true, "txtEditSec", "Nowhere", "Label7", nullptr},
        {true, "txtEditSec", "", "Label7", nullptr},        // a home-state station has a county
        {true, "txtEditSec", "CARR", "Label7", nullptr},    // abbreviations are no names
        {true, "Text3", "", "Label9", nullptr},
        {true, "Text3", "Nowhere", "Label9", nullptr},
        {true, "txtEditPre", "xx", "Label2", nullptr},
        {true, "txtEditPre", "", "Label2", nullptr},
        {true, "txtEditPre", "X", "Label2", nullptr},
        {true, "txtEditPre", "Not Found", "Label2", nullptr},
        {true, "txtEditPre", "il", nullptr, "IL"},
        {true, "txtEditPre", "Germany", nullptr, "Germany"},
        {false, "txtEditPre", "", "Label2", nullptr},
        {false, "txtEditPre", "Nowhere", "Label2", nullptr},
        {false, "txtEditPre", "BELLHAVEN", nullptr, "Bellhaven"},
        {false, "Text1", "30", "Label6", nullptr},
    };
    auto storedField = [](const ContactRecord& r, bool inState, const QString& box) {
        if (box == "Text1") return r.LogBand;
        if (box == "txtEditBnd") return r.LogMode;
        if (box == "txtEditDate") return r.LogDate;
        if (box == "txtEditTime") return r.LogTime;
        if (box == "txtEditSec" || (!inState && box == "txtEditPre")) return r.LogCounty;
        if (box == "Text3") return r.LogCountySent;
        return r.LogSpc;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.inState ? "in " : "out ") + c.box + " = " + c.text);
        setLog({first, underEdit, third});
        env.prompt().clear();
        ContactEditDialog& d = c.inState ? static_cast<ContactEditDialog&>(openDialog<ZQEditInfrm>())
                                         : openDialog<ZQEditOut>();
        auto* box = d.findChild<EntryBox*>(QLatin1String(c.box));
        box->setText(QString::fromLatin1(c.text));
        d.cmdDone->click();
        if (c.stored) {
            EXPECT_TRUE(d.isHidden());
            EXPECT_EQ(storedField(log[2], c.inState, QLatin1String(c.box)), QLatin1String(c.stored));
        } else {
            EXPECT_FALSE(d.isHidden());
            EXPECT_EQ(log[2], underEdit);
            EXPECT_EQ(QApplication::focusWidget(), box);
            EXPECT_EQ(env.prompt().beeps(), 1);
            const QString flag = QLatin1String(c.flag);
            if (flag.startsWith(QLatin1String("Label"))) {
                EXPECT_TRUE(d.findChild<QLabel*>(flag)->isVisible());
                // The refusal is read with the box, and only with it; mended,
                // the box is read without it.
                for (EntryBox* other : d.findChildren<EntryBox*>())
                    EXPECT_EQ(description(other), other == box ? QStringLiteral("Invalid!") : QString())
                        << other->objectName().toStdString();
                box->setText(storedField(underEdit, c.inState, QLatin1String(c.box)));
                d.cmdDone->click();
                EXPECT_TRUE(d.isHidden());
                EXPECT_EQ(description(box), QString());
            } else {
                EXPECT_EQ(env.prompt().messageTitles(), QStringList{flag});
            }
        }
        closeDialogs();
    }
}

TEST_F(EditDialogTest, CountyOnlyWithTheHomeStateAndStoredValuesPass)
{
    // Another state with a county typed: refused, the county kept in its
    // box; emptied, the contact is saved without one.
    auto& in = openDialog<ZQEditInfrm>();
    in.txtEditPre->setText(QStringLiteral("TX"));
    in.txtEditSec->setText(QStringLiteral("Wakeman"));
    in.cmdDone->click();
    EXPECT_TRUE(in.isVisible());
    EXPECT_TRUE(in.Label7->isVisible());
    EXPECT_EQ(in.txtEditSec->text(), QStringLiteral("Wakeman"));
    EXPECT_EQ(log[2], underEdit);
    in.txtEditSec->clear();
    in.cmdDone->click();
    ASSERT_TRUE(in.isHidden());
    EXPECT_EQ(log[2].LogSpc, QStringLiteral("TX"));
    EXPECT_EQ(log[2].LogCounty, QString());
    closeDialogs();

    // Another state with the stored county left in its box: the county goes
    // with the state, as in the entry row.
    setLog({first, underEdit, third});
    auto& moved = openDialog<ZQEditInfrm>();
    moved.txtEditPre->setText(QStringLiteral("TX"));
    moved.cmdDone->click();
    ASSERT_TRUE(moved.isHidden());
    EXPECT_EQ(log[2].LogSpc, QStringLiteral("TX"));
    EXPECT_EQ(log[2].LogCounty, QString());
    closeDialogs();
    env.prompt().clear();

    // A contact stored with a band outside the list (set from the radio)
    // and a date of another form keeps them when the operator changes the
    // call.
    underEdit.LogBand = QStringLiteral("30");
    underEdit.LogDate = QStringLiteral("12.09.2026");
    setLog({first, underEdit, third});
    auto& again = openDialog<ZQEditInfrm>();
    again.Text1->setFocus();
    QTest::keyClick(again.Text1, Qt::Key_Tab); // leaving it passes
    EXPECT_TRUE(again.Label6->isHidden());
    retype(again.txtEditCall, QStringLiteral("K5QQ"));
    QTest::keyClick(again.txtEditCall, Qt::Key_Return);
    ASSERT_TRUE(again.isHidden());
    EXPECT_EQ(log[2].LogCall, QStringLiteral("K5QQ"));
    EXPECT_EQ(log[2].LogBand, QStringLiteral("30"));
    EXPECT_EQ(log[2].LogDate, QStringLiteral("12.09.2026"));
    EXPECT_EQ(env.prompt().beeps(), 0);
}

// A contact the out-of-state window logged (a county, no state): with the
// state left as stored, the county stays, and a county typed in its place
// is checked and stored as the table spells it.
TEST_F(EditDialogTest, ACountyWithoutAStateStaysAndIsCheckedWhenChanged)
{
    underEdit.LogSpc.clear();
    underEdit.LogCounty = QStringLiteral("Bellhaven");
    setLog({first, underEdit, third});

    auto& in = openDialog<ZQEditInfrm>();
    in.cmdDone->click();
    ASSERT_TRUE(in.isHidden());
    EXPECT_EQ(log[2], underEdit);
    closeDialogs();

    auto& again = openDialog<ZQEditInfrm>();
    retype(again.txtEditSec, QStringLiteral("Nowhere"));
    again.cmdDone->click();
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(again.Label7->isVisible());
    EXPECT_EQ(log[2], underEdit);
    again.txtEditSec->setText(QStringLiteral("ashcombe"));
    again.cmdDone->click();
    ASSERT_TRUE(again.isHidden());
    EXPECT_EQ(log[2].LogCounty, QStringLiteral("Ashcombe"));
    EXPECT_EQ(log[2].LogSpc, QString());
}

TEST_F(EditDialogTest, LeavingABoxTestsItAndEnterThereStillSavesNothing)
{
    auto& out = openDialog<ZQEditOut>();
    retype(out.Text1, QStringLiteral("12"));
    QTest::keyClick(out.Text1, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_TRUE(out.Label6->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), out.Text1); // back in the box
    EXPECT_EQ(env.prompt().beeps(), 1);

    // Enter in the failed box runs Done, which tests it again.
    QTest::keyClick(out.Text1, Qt::Key_Return);
    EXPECT_FALSE(out.isHidden());
    EXPECT_EQ(log[2], underEdit);
    EXPECT_EQ(env.prompt().beeps(), 2);

    // The date's test shows its message box once, and the box keeps the focus.
    retype(out.Text1, QStringLiteral("40"));
    retype(out.txtEditDate, QStringLiteral("2026/13/01"));
    EXPECT_TRUE(out.Label6->isHidden());
    QTest::keyClick(out.txtEditDate, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid Date Format!"});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"You have entered an invalid date format!"});
    EXPECT_EQ(QApplication::focusWidget(), out.txtEditDate);

    // The county: leaving it empty fails.
    retype(out.txtEditDate, QStringLiteral("2026/09/13"));
    out.txtEditPre->setFocus();
    out.txtEditPre->clear();
    QTest::keyClick(out.txtEditPre, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_TRUE(out.Label2->isVisible());
    EXPECT_EQ(EntryState::instance().InvalidCountyFlag, 1);
    retype(out.txtEditPre, QStringLiteral("Carrow"));
    QTest::keyClick(out.txtEditPre, Qt::Key_Tab);
    EXPECT_TRUE(out.Label2->isHidden());
    EXPECT_EQ(EntryState::instance().InvalidCountyFlag, 0);

    QTest::mouseClick(out.cmdDone, Qt::LeftButton);
    ASSERT_TRUE(out.isHidden());
    EXPECT_EQ(log[2].LogBand, QStringLiteral("40"));
    EXPECT_EQ(log[2].LogDate, QStringLiteral("2026/09/13"));
}

TEST_F(EditDialogTest, KeyFiltersOfTheBoxes)
{
    auto& in = openDialog<ZQEditInfrm>();
    struct Case {
        EntryBox* box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {in.txtEditCall, "w1\"aw", "W1AW"},     // capitals; no double quote
        {in.txtEditCk, "5n9", "5N9"},
        {in.txtEditDate, "2026-09/1a2", "202609/12"},
        {in.txtEditTime, "18.05:0x0", "1805:00"},
        {in.txtEditBnd, "ph", "PH"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        retype(c.box, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.box->text(), QLatin1String(c.shown));
    }
}

TEST_F(EditDialogTest, CompletionInTheCountyAndCountryBoxes)
{
    auto& in = openDialog<ZQEditInfrm>();
    EntryBox* county = in.txtEditSec;
    county->setFocus();

    // At the start of a filled box: a letter begins a new name, Backspace
    // empties the box, Space goes in before the name.
    county->setCursorPosition(0);
    QTest::keyClick(county, Qt::Key_B);
    EXPECT_EQ(county->text().left(1), QStringLiteral("B"));
    EXPECT_NE(county->text(), QStringLiteral("Carrow"));
    county->setText(QStringLiteral("Carrow"));
    county->setCursorPosition(0);
    QTest::keyClick(county, Qt::Key_Backspace);
    EXPECT_EQ(county->text(), QString());
    county->setText(QStringLiteral("Carrow"));
    county->setCursorPosition(0);
    QTest::keyClick(county, Qt::Key_Space);
    EXPECT_EQ(county->text(), QStringLiteral(" Carrow"));
    // A second word becomes a capital before a proposed rest.
    county->clear();
    QTest::keyClicks(county, QStringLiteral("cedar b"));
    EXPECT_EQ(county->text(), QStringLiteral("Cedar Bluff"));
    EXPECT_EQ(county->selectedText(), QStringLiteral("luff"));
    // Enter at the start runs Done and changes nothing else in the box.
    county->setCursorPosition(0);
    QTest::keyClick(county, Qt::Key_Return);
    EXPECT_EQ(county->text(), QStringLiteral("Cedar Bluff"));
    ASSERT_TRUE(in.isHidden());
    EXPECT_EQ(log[2].LogCounty, QStringLiteral("Cedar Bluff"));
    closeDialogs();

    // The SPC box: Space at the start empties it; names complete from the
    // country table; a code of two letters is kept after Delete.
    auto& again = openDialog<ZQEditInfrm>();
    EntryBox* spc = again.txtEditPre;
    spc->setFocus();
    spc->setCursorPosition(0);
    QTest::keyClick(spc, Qt::Key_Space);
    EXPECT_EQ(spc->text(), QStringLiteral(" "));
    retype(spc, QStringLiteral("germ"));
    EXPECT_EQ(spc->text(), QStringLiteral("Germany"));
    retype(spc, QStringLiteral("tx"));
    QTest::keyClick(spc, Qt::Key_Delete);
    EXPECT_EQ(spc->text(), QStringLiteral("Tx"));
    again.txtEditSec->setText(QString());
    QTest::keyClick(spc, Qt::Key_Return);
    ASSERT_TRUE(again.isHidden());
    EXPECT_EQ(log[2].LogSpc, QStringLiteral("TX"));
}

TEST_F(EditDialogTest, DuplicatesAreFlaggedWithOneBeepEachAndNothingIsWritten)
{
    // Two other contacts with the key the edit gives contact 2.
    ContactRecord again = first;
    again.LogTime = QStringLiteral("18:20:00");
    setLog({first, underEdit, third, again});
    auto& in = openDialog<ZQEditInfrm>();
    retype(in.txtEditCall, QStringLiteral("w1aw"));
    retype(in.txtEditSec, QStringLiteral("Ashcombe"));
    QTest::keyClick(in.txtEditSec, Qt::Key_Return);
    EXPECT_FALSE(in.isHidden());
    EXPECT_TRUE(in.Label1->isVisible());
    EXPECT_TRUE(in.cmdDeleteDupe->isVisible());
    EXPECT_EQ(env.prompt().beeps(), 2);
    EXPECT_EQ(log[2], underEdit);

    // A county sent of its own is no duplicate; the SPC test then fails:
    // "  Dupe!" goes, "Delete Dupe" stays.
    retype(in.Text3, QStringLiteral("Carrow"));
    in.txtEditPre->setText(QStringLiteral("QQ"));
    in.cmdDone->click();
    EXPECT_TRUE(in.Label2->isVisible());
    in.txtEditPre->setText(QStringLiteral("ZQ"));
    in.cmdDone->click();
    EXPECT_TRUE(in.isHidden());
    EXPECT_TRUE(in.Label1->isHidden());
    EXPECT_FALSE(in.cmdDeleteDupe->isHidden());
    EXPECT_EQ(log[2].LogCall, QStringLiteral("W1AW"));
    EXPECT_EQ(log[2].LogCountySent, QStringLiteral("Carrow"));
    closeDialogs();

    // Out of state the county sent is no part of the key; blanks around the
    // call do not hide a duplicate.
    setLog({first, underEdit, third});
    auto& out = openDialog<ZQEditOut>();
    out.txtEditCall->setText(QStringLiteral(" W1AW "));
    out.txtEditPre->setText(QStringLiteral("ashcombe"));
    env.prompt().clear();
    out.cmdDone->click();
    EXPECT_TRUE(out.Label1->isVisible());
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(log[2], underEdit);
}

TEST_F(EditDialogTest, ANumberThatNamesNoContactWritesNothing)
{
    for (float n : {0.0f, 4.0f, -1.0f, 2.5f}) {
        SCOPED_TRACE(n);
        edit(n);
        auto& d = openDialog<ZQEditOut>();
        EXPECT_EQ(d.contactIndex(), 0);
        d.txtEditCall->setText(QStringLiteral("W9ZZ"));
        d.cmdDone->click();
        EXPECT_TRUE(d.isHidden());
        EXPECT_EQ(log[1], first);
        EXPECT_EQ(log[2], underEdit);
        EXPECT_EQ(log[3], third);
        EXPECT_EQ(log[4], ContactRecord{});
        closeDialogs();
    }
}

// The call box refuses what the log window's call field refuses: a blank
// or a quote, typed or pasted (a paste holding one is refused whole); the
// date and time boxes refuse pasted letters.  A call that already holds a
// blank still takes the operator's edits.
TEST_F(EditDialogTest, CallBoxTakesNoBlankTypedOrPasted)
{
    for (bool inState : {true, false}) {
        SCOPED_TRACE(inState ? "in-state" : "out-of-state");
        ContactEditDialog& d = inState ? static_cast<ContactEditDialog&>(openDialog<ZQEditInfrm>())
                                       : openDialog<ZQEditOut>();
        retype(d.txtEditCall, QStringLiteral("aa1aa 59 ct"));
        EXPECT_EQ(d.txtEditCall->text(), QStringLiteral("AA1AA59CT"));

        struct Paste {
            EntryBox* box;
            const char* clipboard;
            const char* after;
        };
        const Paste pastes[] = {
            {d.txtEditCall, "AA1AA 59 CT", ""},
            {d.txtEditCall, "K1\"X", ""},
            {d.txtEditCall, "k1x", "K1X"}, // in capitals, as typed
            {d.txtEditBnd, "ph", "PH"},
            {d.txtEditDate, "2026/09/1x", ""},
            {d.txtEditDate, "2026/09/13", "2026/09/13"},
            {d.txtEditTime, "18.07", ""},
            {d.txtEditTime, "18:07", "18:07"},
        };
        for (const Paste& p : pastes) {
            SCOPED_TRACE(p.clipboard);
            p.box->setFocus();
            p.box->clear();
            QApplication::clipboard()->setText(QString::fromLatin1(p.clipboard));
            QTest::keyClick(p.box, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(p.box->text(), QLatin1String(p.after));
        }
        d.txtEditCall->setText(QStringLiteral("AA1AA"));
        QTest::keyClick(d.txtEditCall, Qt::Key_Return);
        ASSERT_TRUE(d.isHidden());
        EXPECT_EQ(log[2].LogCall, QStringLiteral("AA1AA"));
        closeDialogs();
        setLog({first, underEdit, third});
    }

    // A stored call with a blank (from an older log): the box still edits.
    underEdit.LogCall = QStringLiteral("K5 ZZ");
    setLog({first, underEdit, third});
    auto& out = openDialog<ZQEditOut>();
    out.txtEditCall->setFocus();
    out.txtEditCall->end(false);
    QTest::keyClicks(out.txtEditCall, QStringLiteral("x"));
    QTest::keyClick(out.txtEditCall, Qt::Key_Backspace);
    QTest::keyClick(out.txtEditCall, Qt::Key_Backspace);
    EXPECT_EQ(out.txtEditCall->text(), QStringLiteral("K5 Z"));
}
