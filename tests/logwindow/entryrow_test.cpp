// The entry row typed the way an operator types: calls, Space between
// fields, digits and letters that type through to the field where they
// belong, completions of counties and countries, Enter; the call field's
// default reports and Canadian provinces; the in-state country lookup.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "entry/CallChecks.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "logstore/PositionTables.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace zq;
using namespace zq::test;

namespace {

QColor background(const QLabel* l)
{
    return l->palette().color(QPalette::Window);
}

class EntryRowTest : public EntryWindowTest {
protected:
    void SetUp() override
    {
        EntryWindowTest::SetUp();
        env.seedDataFile(QStringLiteral("arrlpre2.txt"));
        env.seedDataFile(QStringLiteral("states.txt"));
        ASSERT_EQ(LoadCountryTable(), TableLoad::Ok);
        ASSERT_EQ(LoadStateTable(), TableLoad::Ok);
        st.OwnLatitude = 40.2f;
        st.OwnLongitude = 89.6f;
    }

    LogWindow& open(uint8_t outOfState, const char* mode = "CW")
    {
        st.CurrentMode = QString::fromLatin1(mode);
        return EntryWindowTest::open(outOfState);
    }

    LogWindow& openLoggedOn(uint8_t outOfState, const char* mode = "CW")
    {
        LogWindow& w = open(outOfState, mode);
        QTest::mouseClick(w.cmdLogOn, Qt::LeftButton);
        EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 1);
        w.txtCall->setFocus();
        env.prompt().clear();
        return w;
    }

    // Each character goes to whatever field has the focus at that moment,
    // as the operator's keyboard does: "\r" is Enter, "\x1b" Esc.
    static void keys(const QString& text)
    {
        for (QChar c : text) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            if (c == u'\r')
                QTest::keyClick(focus, Qt::Key_Return);
            else if (c == u'\x1b')
                QTest::keyClick(focus, Qt::Key_Escape);
            else
                QTest::keyClick(focus, c.toLatin1());
            QCoreApplication::processEvents();
        }
    }

    static QString focusName()
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }

    // A contact logged now (18:30:00 UTC) on 20 m.
    static QByteArray line(const QString& call, const QString& rstSent, const QString& rstRec,
                           const QString& spc, const QString& county, const QString& countySent,
                           const QString& mode)
    {
        return logLine(call, rstSent, rstRec, spc, county, countySent,
                       QStringLiteral("2026/09/12"), QStringLiteral("18:30:00"), mode);
    }
};

// --- Whole contacts -----------------------------------------------------------

TEST_F(EntryRowTest, OutOfStateContactsTypedAsTheOperatorTypesThem)
{
    LogWindow& w = openLoggedOn(1);

    // Call, a digit that types through to the report received, a letter
    // that starts the county, a completion accepted with Space, Enter.
    keys("w5abc599");
    EXPECT_EQ(w.txtCall->text(), "W5ABC");
    EXPECT_EQ(w.txtRSTR->text(), "599");
    EXPECT_EQ(focusName(), "txtRSTR");
    keys("a");
    EXPECT_EQ(w.txtSec->text(), "Ashcombe");
    EXPECT_EQ(w.txtSec->selectedText(), "shcombe");
    EXPECT_EQ(focusName(), "txtSec");
    keys("ld ");
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");
    EXPECT_EQ(focusName(), "txtRSTS");
    EXPECT_EQ(w.txtRSTS->text(), "599"); // the default, selected: typing replaces it
    keys("559\r");

    QByteArray expected = line("W5ABC", "559", "599", "", "Alderbrook", "", "CW");
    EXPECT_EQ(logFile(), expected);
    EXPECT_EQ(focusName(), "txtCall");
    for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtSec, w.txtRSTS})
        EXPECT_TRUE(box->text().isEmpty());

    // Space between the fields and a county abbreviation.
    keys("k0xyz 57 cedb 5\r");
    expected += line("K0XYZ", "5", "57", "", "Cedar Bluff", "", "CW");
    EXPECT_EQ(logFile(), expected);

    // A two-word county completed word by word.
    keys("n0ab 599 cedar b");
    EXPECT_EQ(w.txtSec->text(), "Cedar Bluff");
    EXPECT_EQ(w.txtSec->selectedText(), "luff");
    keys(" \r");
    expected += line("N0AB", "599", "599", "", "Cedar Bluff", "", "CW");
    EXPECT_EQ(logFile(), expected);
    EXPECT_EQ(ContactLog::instance().ContactCount, 3);
}

TEST_F(EntryRowTest, OutOfStatePhoneContactGetsFiftyNineDefaults)
{
    LogWindow& w = openLoggedOn(1, "PH");
    keys("w5abc ");
    EXPECT_EQ(w.txtRSTR->text(), "59");
    EXPECT_EQ(w.txtRSTS->text(), "59");
    keys("57 ");
    keys("ald");
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");
    keys("\r");
    EXPECT_EQ(logFile(), line("W5ABC", "59", "57", "", "Alderbrook", "", "PH"));
}

TEST_F(EntryRowTest, InStateContactsTypedAsTheOperatorTypesThem)
{
    LogWindow& w = openLoggedOn(0);
    const QString own = st.OwnCounty;

    // A home-state station: the state code is offered for a call with a 5.
    keys("w5abc599 ");
    EXPECT_EQ(focusName(), "txtCntry");
    EXPECT_EQ(w.txtCntry->text(), "ZQ");
    EXPECT_EQ(w.txtCntry->selectedText(), "ZQ");
    keys(" ");
    EXPECT_EQ(focusName(), "txtSec");
    EXPECT_TRUE(w.lblStation(4)->isEnabled());
    keys("ald 579\r");
    QByteArray expected = line("W5ABC", "579", "599", "ZQ", "Alderbrook", own, "CW");
    EXPECT_EQ(logFile(), expected);
    EXPECT_FALSE(w.lblStation(4)->isEnabled());

    // A Canadian call: the province comes from the prefix, the county field
    // is passed over.
    keys("ve3abc 57 ");
    EXPECT_EQ(w.txtCntry->text(), "ON");
    keys(" ");
    EXPECT_EQ(focusName(), "txtRSTS");
    keys("559\r");
    expected += line("VE3ABC", "559", "57", "ON", "", own, "CW");
    EXPECT_EQ(logFile(), expected);

    // A state typed after the report: the letter starts the field, a digit
    // typed there is the report sent.
    keys("k4xyz 59tx7");
    EXPECT_EQ(w.txtCntry->text(), "TX");
    EXPECT_EQ(w.txtRSTS->text(), "7");
    EXPECT_EQ(focusName(), "txtRSTS");
    keys("3\r");
    expected += line("K4XYZ", "73", "59", "TX", "", own, "CW");
    EXPECT_EQ(logFile(), expected);

    // A DX call: the country is looked up while the call is typed.
    keys("dl1abc");
    EXPECT_EQ(w.txtCntry->text(), "Germany");
    EXPECT_EQ(w.Label19->text(), "EU");
    EXPECT_FALSE(w.Label22->text().trimmed().isEmpty());
    EXPECT_FALSE(w.Label3->isHidden());
    keys(" 599  599\r");
    expected += line("DL1ABC", "599", "599", "Germany", "", own, "CW");
    EXPECT_EQ(logFile(), expected);
    EXPECT_EQ(ContactLog::instance().ContactCount, 4);
}

// --- Hand-overs and moves -------------------------------------------------------

TEST_F(EntryRowTest, DigitsTypeThroughOnlyAfterACompleteCall)
{
    struct Case {
        const char* call; // set as it stands
        int caret;        // -1: at the end
        const char* key;
        const char* callAfter;
        const char* rstrAfter;
    };
    const Case cases[] = {
        {"W5ABC", -1, "5", "W5ABC", "5"},
        {"K5A", -1, "9", "K5A", "9"},
        {"K5", -1, "5", "K55", ""},
        {"W5AB/M", -1, "5", "W5AB/M5", ""},
        {"W5A BC", -1, "5", "W5A BC5", ""},
        {"W5ABC", 2, "5", "W55ABC", ""},
    };
    LogWindow& w = openLoggedOn(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        w.txtRSTR->clear();
        w.txtCall->setFocus();
        w.txtCall->setText(QString::fromLatin1(c.call));
        const int end = static_cast<int>(w.txtCall->text().size());
        w.txtCall->setCursorPosition(c.caret < 0 ? end : c.caret);
        w.txtRSTR->clear();
        keys(QString::fromLatin1(c.key));
        EXPECT_EQ(w.txtCall->text(), c.callAfter);
        if (*c.rstrAfter) {
            EXPECT_EQ(w.txtRSTR->text(), c.rstrAfter);
            EXPECT_EQ(w.txtRSTR->cursorPosition(), 1);
            EXPECT_EQ(focusName(), "txtRSTR");
        } else {
            EXPECT_EQ(focusName(), "txtCall");
        }
    }
    w.txtCall->setText(QStringLiteral("W5ABC"));
    w.txtCall->setFocus();
    keys("59");
    EXPECT_EQ(w.txtRSTR->text(), "59");
}

TEST_F(EntryRowTest, LetterInTheReportReceivedStartsTheExchange)
{
    {
        LogWindow& w = openLoggedOn(1);
        keys("w5abc 599");
        keys("a");
        EXPECT_EQ(w.txtRSTR->text(), "599");
        EXPECT_EQ(w.txtSec->text(), "Ashcombe");
        EXPECT_EQ(w.txtSec->selectionStart(), 1);
        EXPECT_EQ(focusName(), "txtSec");
        keys("\x1b"); // clear the row
        keys("w5abc 599q");
        EXPECT_EQ(w.txtSec->text(), "Quarry");
        keys("\x1b");
        keys("w5abc 599x"); // no county begins with X

        EXPECT_EQ(w.txtSec->text(), "X");
        EXPECT_EQ(w.txtSec->cursorPosition(), 1);
    }
    freshRun();
    {
        LogWindow& w = openLoggedOn(0);
        keys("w4abc 59o");
        EXPECT_EQ(w.txtCntry->text(), "O");
        EXPECT_EQ(w.txtCntry->cursorPosition(), 1);
        EXPECT_EQ(focusName(), "txtCntry");
        keys("n");
        EXPECT_EQ(w.txtCntry->text(), "ON");
    }
}

TEST_F(EntryRowTest, CountryFieldCapitalsCodesAndCompletesNames)
{
    LogWindow& w = openLoggedOn(0);
    w.txtCntry->setFocus();
    keys("g");
    EXPECT_EQ(w.txtCntry->text(), "G");
    keys("e");
    EXPECT_EQ(w.txtCntry->text(), "GE");
    keys("r");
    // "Ge" and the typed r, then the rest of the last name in the table
    // beginning with those letters.
    EXPECT_EQ(w.txtCntry->text(), "Germany");
    EXPECT_EQ(w.txtCntry->selectedText(), "many");
    EXPECT_EQ(w.Label19->text(), "EU");
    EXPECT_FALSE(w.Label23->text().trimmed().isEmpty());
    keys(" ");
    EXPECT_EQ(w.txtCntry->text(), "Germany");
    EXPECT_EQ(focusName(), "txtRSTS"); // no county outside the home state

    // A state code shows the state's bearing and distance.
    w.txtCntry->clear();
    w.Label19->clear();
    w.txtCntry->setFocus();
    keys("tx");
    EXPECT_EQ(w.Label19->text(), "NA");
    EXPECT_FALSE(w.Label22->text().trimmed().isEmpty());
    EXPECT_TRUE(w.Label3->isHidden());
}

TEST_F(EntryRowTest, CountyFieldSpaceAcceptsOrContinuesTheName)
{
    LogWindow& w = openLoggedOn(1);
    struct Case {
        const char* typed;
        const char* county;
        const char* focus;
    };
    const Case cases[] = {
        {" ", "", "txtRSTS"},                        // empty field: on to RS(T) S
        {"a ", "Ashcombe", "txtRSTS"},               // accepted as shown
        {"ashcomb ", "Ashcombe", "txtRSTS"},         // one selected character left
        {"lost ", "Lost River", "txtSec"},           // the space of a two-word name
        {"lost r", "Lost River", "txtSec"},          // second word capitalised
        {"north s", "North Sable", "txtSec"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        w.txtSec->clear();
        w.txtSec->setFocus();
        keys(QString::fromLatin1(c.typed));
        EXPECT_EQ(w.txtSec->text(), c.county);
        EXPECT_EQ(focusName(), c.focus);
    }
}

TEST_F(EntryRowTest, InStateDigitsGoToTheReportSentAndLettersThereAreRefused)
{
    LogWindow& w = openLoggedOn(0);
    keys("w4abc 59tx");
    w.txtRSTS->setText(QStringLiteral("599"));

    // Punctuation typed into the county stays there; only a digit is the
    // report sent.
    w.txtCntry->setText(QStringLiteral("ZQ"));
    w.txtSec->clear();
    w.txtSec->setFocus();
    keys("-");
    EXPECT_EQ(w.txtRSTS->text(), "599");
    EXPECT_EQ(w.txtSec->text(), "-");
    keys("7");
    EXPECT_EQ(w.txtRSTS->text(), "7");
    EXPECT_EQ(focusName(), "txtRSTS");

    // A letter typed into RS(T) S is refused and goes nowhere.
    keys("k");
    EXPECT_EQ(w.txtRSTS->text(), "7");
    EXPECT_EQ(w.txtCntry->text(), "ZQ");
    EXPECT_EQ(focusName(), "txtRSTS");
    EXPECT_EQ(KeyHandOver::instance().KeyTarget, 0);

    // Space in RS(T) S moves on in tab order.
    keys(" ");
    EXPECT_NE(focusName(), "txtRSTS");
    EXPECT_EQ(w.txtRSTS->text(), "7");
}

// The county field passes the focus over in the direction it came, for a
// station outside the home state: Tab from the state goes on to RS(T) Sn,
// Shift+Tab from RS(T) Sn back to the state.
TEST_F(EntryRowTest, InStateTheCountyIsPassedOverBothWays)
{
    const struct {
        const char* state;
        const char* forward;
        const char* back;
    } cases[] = {{"tx", "txtRSTS", "txtCntry"}, {"zq", "txtSec", "txtSec"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        freshRun();
        openLoggedOn(0);
        keys(QStringLiteral("k4xyz 59") + QLatin1String(c.state));
        ASSERT_EQ(focusName(), "txtCntry");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focusName(), c.forward);
        if (focusName() == "txtSec")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(focusName(), "txtRSTS");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(focusName(), c.back);
    }
}

// --- Call field checks --------------------------------------------------------

TEST_F(EntryRowTest, LeavingTheCallFillsDefaultReportsByMode)
{
    struct Case {
        const char* mode;
        const char* report;
    };
    for (const Case& c : {Case{"PH", "59"}, Case{"CW", "599"}, Case{"DG", "599"}}) {
        SCOPED_TRACE(c.mode);
        freshRun();
        LogWindow& w = openLoggedOn(1, c.mode);
        keys("w5abc ");
        EXPECT_EQ(w.txtRSTR->text(), c.report);
        EXPECT_EQ(w.txtRSTR->selectedText(), c.report);
        EXPECT_EQ(w.txtRSTS->text(), c.report);
        EXPECT_EQ(w.txtRSTS->selectedText(), c.report);
    }

    // A report typed before the call stays; an empty call fills nothing.
    freshRun();
    LogWindow& w = openLoggedOn(1);
    keys(" ");
    EXPECT_EQ(focusName(), "txtRSTR");
    EXPECT_TRUE(w.txtRSTR->text().isEmpty());
    EXPECT_TRUE(w.txtRSTS->text().isEmpty());
    w.txtCall->setFocus();
    w.txtRSTS->setText(QStringLiteral("579"));
    keys("w5abc ");
    EXPECT_EQ(w.txtRSTS->text(), "579");
    EXPECT_EQ(w.txtRSTR->text(), "599");
}

TEST_F(EntryRowTest, CanadianCallsFillTheProvinceWhenTheFieldIsEmpty)
{
    LogWindow& w = openLoggedOn(0);
    struct Case {
        const char* call;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"ve3abc", "", "ON"}, {"vy2xy", "", "MR"}, {"ve0ab", "", ""}, {"ve3abc", "TX", "TX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        keys("\x1b");
        keys(QString::fromLatin1(c.call));
        w.txtCntry->setText(QString::fromLatin1(c.before));
        keys(" ");
        EXPECT_EQ(w.txtCntry->text(), c.after);
        if (!*c.before && *c.after)
            EXPECT_EQ(w.txtCntry->selectedText(), c.after);
    }
}

TEST_F(EntryRowTest, EnterAndSpaceInTheCallFieldLeaveTheirMessagesStanding)
{
    LogWindow& w = openLoggedOn(1);
    keys("w5abc 599 ald 599\r");
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);

    // Space: the earlier contact's warning stays in red.
    keys("w5abc ");
    EXPECT_TRUE(w.lblDialog->text().startsWith("Duplicate Unless Rover!"));
    EXPECT_EQ(background(w.lblDialog), QColor(255, 0, 0));
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");

    // Enter in the call field: the duplicate stays reported in red.
    w.txtCall->setFocus();
    keys("\r");
    EXPECT_EQ(w.lblDialog->text(), "Duplicate W5ABC  2026/09/12  18:30:00   Rec#  1");
    EXPECT_EQ(background(w.lblDialog), QColor(255, 0, 0));
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
}

TEST_F(EntryRowTest, EnterInTheInStateCallFieldLeavesTheDuplicateLockForTheNextKey)
{
    LogWindow& w = openLoggedOn(0);
    keys("w5abc599  ald 599\r");
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);
    keys("w5abc ");
    EXPECT_TRUE(w.lblDialog->text().startsWith("Dupe if not rover!"));
    w.txtCall->setFocus();
    keys("\r");
    EXPECT_TRUE(w.lblDialog->text().startsWith("Duplicate W5ABC"));
    EXPECT_EQ(EntryState::instance().DuplicateFlag, 1);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
}

TEST_F(EntryRowTest, DigitTypedThroughIntoARowClearedByADuplicateIsDropped)
{
    LogWindow& w = openLoggedOn(0);
    keys("k2ny599 ny 599\r");
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);

    // The digit moves the focus on; leaving the call field finds the
    // duplicate and clears the row: the digit lands nowhere.
    keys("k2ny5");
    EXPECT_TRUE(w.lblDialog->text().startsWith("Duplicate K2NY")) << w.lblDialog->text().toStdString();
    EXPECT_EQ(w.txtCall->text(), "");
    EXPECT_EQ(w.txtRSTR->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    // The lock waits for the next key, as after any other duplicate.
    EXPECT_EQ(EntryState::instance().DuplicateFlag, 1);

    env.clock().advance(std::chrono::seconds(3));
    keys("w1aw 599 ny 599\r");
    ASSERT_EQ(ContactLog::instance().ContactCount, 2);
    EXPECT_EQ(ContactLog::instance()[2].LogCall, "W1AW");
    EXPECT_EQ(ContactLog::instance()[2].LogRstReceived, "599");
}

TEST_F(EntryRowTest, TypeThroughStillUpdatesThePossibleDuplicates)
{
    LogWindow& w = openLoggedOn(1);
    keys("k2ny599 ald 599\r");
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);
    keys("k2n"); // the partial-call display is on from the start
    EXPECT_EQ(w.lblDupe->text(), "K2NY ");
    // The digit types through: the list of the call's prefix is not left
    // standing.
    keys("5");
    EXPECT_EQ(w.txtRSTR->text(), "5");
    EXPECT_EQ(w.lblDupe->text(), "");
}

TEST_F(EntryRowTest, LoggedOffEveryCallKeyAsksForTimeOnAndEnterLogsOn)
{
    LogWindow& w = open(1);
    env.prompt().clear();
    keys("w5");
    EXPECT_EQ(w.lblDialog->text(), "Click Log \"Time On\"!");
    EXPECT_EQ(env.prompt().beeps(), 2);
    keys("a");
    EXPECT_EQ(env.prompt().beeps(), 3);
    w.txtRSTR->setText(QStringLiteral("599"));
    w.txtSec->setText(QStringLiteral("Alderbrook"));
    w.txtCall->setFocus();
    keys("\r");
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 1);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
}

TEST_F(EntryRowTest, ReturningToAnEmptyCallRestoresTheContactList)
{
    LogWindow& w = openLoggedOn(1);
    keys("w5abc 599 ald 599\r");
    keys("k0xyz 599 ash 599\r");
    keys("n0ab 599 bel 599\r");
    find(w, "mnuListPrevious")->trigger();
    ASSERT_TRUE(find(w, "mnuListPrevious")->isChecked());
    keys("w5abc ");
    EXPECT_EQ(w.ListView1->rowCount(), 1);
    keys("\x1b");
    EXPECT_EQ(focusName(), "txtCall");
    EXPECT_EQ(w.ListView1->rowCount(), 3);
}

// --- Country lookup in the window -------------------------------------------------

TEST_F(EntryRowTest, CallLookupFillsCountryContinentBearingAndDistance)
{
    LogWindow& w = openLoggedOn(0);
    struct Case {
        const char* call;
        const char* field;
        const char* continent;
        bool bearing;
        bool isNew;
    };
    const Case cases[] = {
        {"dl1abc", "Germany", "EU", true, true},
        {"kl7aa", "AK", "NA", true, false},
        {"kh6xx", "HI", "OC", true, false},
        {"w5abc", "", "NA", false, false},
        {"ve3abc", "", "NA", false, false},
        {"qq1ab", "Not Found", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        keys("\x1b");
        keys(QString::fromLatin1(c.call));
        EXPECT_EQ(w.txtCntry->text(), c.field);
        EXPECT_EQ(w.Label19->text(), c.continent);
        EXPECT_EQ(!w.Label22->text().trimmed().isEmpty(), c.bearing);
        EXPECT_EQ(!w.Label23->text().trimmed().isEmpty(), c.bearing);
        EXPECT_EQ(!w.Label3->isHidden(), c.isNew);
        if (*c.field)
            EXPECT_EQ(w.txtCntry->selectedText(), c.field);
    }
}

TEST_F(EntryRowTest, OwnPositionAtTheStateLeavesBearingAndDistanceEmpty)
{
    const StateTable& states = StateTable::instance();
    st.OwnLatitude = states.StateLatitude[1];
    st.OwnLongitude = states.StateLongitude[1];
    LogWindow& w = openLoggedOn(0);
    w.Label22->setText(QStringLiteral("x"));
    w.txtCntry->setText(states.StateCode[1]);
    EXPECT_EQ(w.Label19->text(), "NA");
    EXPECT_TRUE(w.Label22->text().isEmpty());
    EXPECT_TRUE(w.Label23->text().isEmpty());
}

TEST_F(EntryRowTest, EscClearsTheRowAndDisablesTheCountyCaption)
{
    LogWindow& w = openLoggedOn(0);
    keys("w5abc599 ");
    keys(" ");
    ASSERT_TRUE(w.lblStation(4)->isEnabled());
    keys("\x1b");
    for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtCntry, w.txtSec, w.txtRSTS})
        EXPECT_TRUE(box->text().isEmpty());
    for (QLabel* l : {w.lblDialog, w.lblDupe, w.Label19, w.Label22, w.Label23})
        EXPECT_TRUE(l->text().isEmpty());
    EXPECT_EQ(background(w.lblDialog), QColor(0, 192, 192));
    EXPECT_FALSE(w.lblStation(4)->isEnabled());
    EXPECT_EQ(focusName(), "txtCall");
}

} // namespace
