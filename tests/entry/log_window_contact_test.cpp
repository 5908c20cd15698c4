// Logging contacts in both log windows with real keys: the stored line,
// the totals, multipliers, score, rates and lists, the refusals with their
// messages, the duplicate checks, log-on and the clocks, and a restart.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "entry/ContestTotals.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "keying/BlindFrm.h"
#include "keying/PhoneFrm.h"
#include "platform/WaveDevice.h"
#include "support/FakeWaveBackend.h"
#include "support/WatchedFifo.h"
#include "logstore/SectionTable.h"
#include "platform/SafeFile.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <thread>

using namespace zq;
using namespace zq::test;

namespace {

QColor background(const QLabel* l)
{
    return l->palette().color(QPalette::Window);
}

class ContactEntryTest : public LogWindowTest {
protected:
    void SetUp() override
    {
        LogWindowTest::SetUp();
        st.UtcOffsetHours = 5; // local 13:30:00 is 18:30:00 UTC
        st.HomeStateCode = QStringLiteral("ZQ");
        st.WorkedColor = 0x0000FF;     // red
        st.RemainingColor = 0x00FF00;  // green
    }

    static void type(EntryBox* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    // Types one contact into the row, field by field, and presses Enter in
    // the last field typed.
    static void enterContact(LogWindow& w, const QString& call, const QString& rstR,
                             const QString& cntry, const QString& county, const QString& rstS)
    {
        type(w.txtCall, call);
        type(w.txtRSTR, rstR);
        if (!cntry.isEmpty())
            type(w.txtCntry, cntry);
        type(w.txtSec, county);
        type(w.txtRSTS, rstS);
        QTest::keyClick(w.txtRSTS, Qt::Key_Return);
    }
};

} // namespace

TEST_F(ContactEntryTest, OutOfStateContactIsStoredScoredAndShown)
{
    LogWindow& w = open(1);
    auto& out = static_cast<Outfrm&>(w);
    EntryState::instance().CurrentFrequencyText = QStringLiteral("14.025");

    enterContact(w, "W5ABC", "599", "", "aldb", "599");

    EXPECT_EQ(logFile(), logLine("W5ABC", "599", "599", "", "Alderbrook", "", "2026/09/12",
                                 "18:30:00", "CW", "20", "14.025"));
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 1);
    EXPECT_EQ(w.cmdLogOn->text(), QStringLiteral("&Log \"Time Off\""));
    EXPECT_EQ(w.lblTotCon->text(), "0");
    EXPECT_EQ(out.lblSectogo->text(), "1");
    EXPECT_EQ(w.Label27->text(), "0");
    EXPECT_EQ(w.lblTotSec->text(), "1");
    EXPECT_EQ(w.lblTotScore->text(), "3");
    EXPECT_EQ(w.lblAQSO20->text(), "3");
    EXPECT_EQ(w.lblAQSO60->text(), "1");
    EXPECT_EQ(listEntries(w.List2), QStringList{"Alderbrook"});
    EXPECT_EQ(w.lblStation(5)->text(), "Counties Worked - 1");
    EXPECT_EQ(w.lblStation(7)->text(), "Counties To Go - 76");
    EXPECT_FALSE(listEntries(w.List1).contains("Alderbrook"));
    EXPECT_EQ(listRow(w.ListView1, 0),
              QStringList({"1", "W5ABC", "599", "Alderbrook", "599", "09/12 18:30", "CW", "20"}));
    for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtSec, w.txtRSTS})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    EXPECT_TRUE(EntryState::instance().CurrentFrequencyText.isEmpty());
    EXPECT_TRUE(w.lblDialog->text().isEmpty());

    // A second county doubles the multipliers: 2 x (3 + 3).
    env.clock().advance(std::chrono::minutes(25));
    enterContact(w, "K0XYZ", "579", "", "Ashcombe", "599");
    EXPECT_EQ(ContactLog::instance().ContactCount, 2);
    EXPECT_EQ(w.lblTotSec->text(), "2");
    EXPECT_EQ(w.lblTotScore->text(), "12");
    EXPECT_EQ(w.lblAQSO20->text(), "3"); // the first is now 25 minutes old
    EXPECT_EQ(w.lblAQSO60->text(), "2");
    EXPECT_EQ(listEntries(w.List2), QStringList({"Alderbrook", "Ashcombe"}));
    EXPECT_EQ(listRow(w.ListView1, 0)[0], "2");
    EXPECT_EQ(listRow(w.ListView1, 1)[0], "1");
}

TEST_F(ContactEntryTest, ACountyTypedInCapitalsIsStoredWithTheTableSpelling)
{
    LogWindow& w = open(1);
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall); // ready for the first call
    // "WAKE" is Wakeman's abbreviation and also the start of its name, so
    // the completion shows "WAKEman".
    type(w.txtCall, "W5ABC");
    type(w.txtRSTR, "599");
    type(w.txtSec, "WAKE");
    EXPECT_EQ(w.txtSec->text(), "WAKEman");
    type(w.txtRSTS, "599");
    QTest::keyClick(w.txtRSTS, Qt::Key_Return);
    EXPECT_EQ(ContactLog::instance()[1].LogCounty, "Wakeman");
    EXPECT_EQ(listEntries(w.List2), QStringList{"Wakeman"});
}

TEST_F(ContactEntryTest, DuplicateIsRefusedInRedAndTheRowCleared)
{
    LogWindow& w = open(1);
    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    const QByteArray before = logFile();
    env.prompt().clear();

    // Same call, band, mode, county (left empty: taken from the earlier
    // contact).
    enterContact(w, "W5ABC", "599", "", "", "599");
    EXPECT_EQ(w.lblDialog->text(), "Duplicate W5ABC  2026/09/12  18:30:00   Rec#  1");
    EXPECT_EQ(background(w.lblDialog), QColor(255, 0, 0));
    EXPECT_EQ(EntryState::instance().DuplicateFlag, 1);
    EXPECT_EQ(logFile(), before);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(w.lblTotScore->text(), "3");
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_TRUE(w.txtSec->text().isEmpty());
    EXPECT_GE(env.prompt().beeps(), 1);

    // From another county it is only a warning, and it is stored.
    enterContact(w, "W5ABC", "599", "", "Ashcombe", "599");
    EXPECT_EQ(ContactLog::instance().ContactCount, 2);
    EXPECT_EQ(w.lblTotScore->text(), "12");
}

TEST_F(ContactEntryTest, WithVoiceNavigationTheRowIsClearedOnceTheSpokenDupeEnds)
{
    // A short "Dupe" is waited for (level 1); navigation off does not wait
    // (level 0); a prompt longer than the bound is waited for only up to
    // the bound, and the row is cleared while it still plays.
    struct Case {
        uint8_t level;
        int promptMs;
        bool playingWhenCleared;
    };
    const Case cases[] = {{1, 150, false}, {0, 60000, true}, {1, 60000, true}};
    test::FakeWaveBackend::Install sound;
    LogWindow& w = open(1);
    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.level) << " " << c.promptMs);
        env.writeWorkFile(QStringLiteral("dupe.wav"), test::makeWaveFile(c.promptMs, 1000, 1, 8));
        st.VoiceNavigationLevel = c.level;
        w.txtCall->setText(QStringLiteral("W5ABC"));
        w.txtRSTR->setText(QStringLiteral("599"));
        w.txtSec->setText(QStringLiteral("Alderbrook"));
        w.txtRSTS->setText(QStringLiteral("599"));
        WaveDevice* dev = DefaultInstance<BlindFrm>().MMControl1;
        int modeWhenCleared = 0;
        const auto conn = QObject::connect(w.txtCall, &QLineEdit::textChanged,
                                           [&](const QString& t) {
                                               if (t.isEmpty())
                                                   modeWhenCleared = dev->Mode();
                                           });
        sound.world.calls.clear();
        QTest::keyClick(w.txtRSTS, Qt::Key_Return);
        QObject::disconnect(conn);
        EXPECT_EQ(EntryState::instance().DuplicateFlag, 1);
        EXPECT_TRUE(w.txtCall->text().isEmpty());
        EXPECT_TRUE(sound.world.calls.contains(QStringLiteral("open dupe.wav")));
        EXPECT_EQ(modeWhenCleared == WaveDevice::ModePlaying, c.playingWhenCleared);
        dev->Command(QStringLiteral("Close"));
    }
}

TEST_F(ContactEntryTest, LeavingTheCallFieldWarnsAndListsPreviousContacts)
{
    LogWindow& w = open(1);
    enterContact(w, "N0CALL", "599", "", "Alderbrook", "599");
    find(w, "mnuListPrevious")->trigger();
    EXPECT_TRUE(find(w, "mnuListPrevious")->isChecked());
    EXPECT_EQ(savedSettings().ListPreviousFlag, 1);

    type(w.txtCall, "N0CALL");
    w.txtRSTR->setFocus();
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");
    EXPECT_EQ(w.lblDialog->text(),
              "Duplicate Unless Rover!  N0CALL  2026/09/12  18:30:00   Rec#  1");
    EXPECT_EQ(background(w.lblDialog), QColor(255, 0, 0));
    EXPECT_EQ(w.ListView1->rowCount(), 1);
    EXPECT_EQ(listRow(w.ListView1, 0)[1], "N0CALL");

    find(w, "mnuListPrevious")->trigger();
    EXPECT_FALSE(find(w, "mnuListPrevious")->isChecked());
    EXPECT_EQ(savedSettings().ListPreviousFlag, 0);
}

TEST_F(ContactEntryTest, MissingFieldsAndBadCountyAreRefusedAndTheRowKept)
{
    LogWindow& w = open(1);
    EntryState::instance().CurrentFrequencyText = QStringLiteral("7.040");
    type(w.txtCall, "W5XY");
    env.prompt().clear(); // keys typed while logged off beep on their own
    QTest::keyClick(w.txtCall, Qt::Key_Return);
    // Enter while logged off, then county, RS(T) and the county check.
    EXPECT_EQ(env.prompt().beeps(), 4);
    EXPECT_EQ(w.lblDialog->text(), " is not a valid county!");
    EXPECT_EQ(QApplication::focusWidget(), w.txtSec);
    EXPECT_EQ(w.txtCall->text(), "W5XY");
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    EXPECT_TRUE(logFile().isEmpty());
    EXPECT_TRUE(EntryState::instance().CurrentFrequencyText.isEmpty());
    EXPECT_EQ(w.lblAQSO20->text(), "0");

    type(w.txtRSTR, "599");
    type(w.txtSec, "Nowhere");
    QTest::keyClick(w.txtSec, Qt::Key_Return);
    EXPECT_EQ(w.lblDialog->text(), "Nowhere is not a valid county!");
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);

    w.txtCall->setText("W5");
    w.txtSec->setText("Ashcombe");
    QTest::keyClick(w.txtSec, Qt::Key_Return);
    EXPECT_EQ(w.lblDialog->text(), "Need Call Sign!");
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
}

TEST_F(ContactEntryTest, FailedAppendLeavesNothingCountedAndKeepsTheRow)
{
    LogWindow& w = open(1);
    setWriteFaultForTesting([](const QString&) { return true; });
    env.prompt().clear();
    EntryState::instance().CurrentFrequencyText = QStringLiteral("14.025");

    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    EXPECT_TRUE(env.prompt().messageTitles().contains("File Error"));
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 0);
    EXPECT_EQ(ContestTotals::instance().CwContactCount, 0);
    EXPECT_EQ(w.lblTotScore->text(), "0");
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_EQ(w.txtCall->text(), "W5ABC");
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");
    EXPECT_EQ(EntryState::instance().CurrentFrequencyText, "14.025");
    EXPECT_TRUE(logFile().isEmpty());

    // Once the disk is back the same Enter logs it.
    setWriteFaultForTesting(nullptr);
    QTest::keyClick(w.txtRSTS, Qt::Key_Return);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(logFile(), logLine("W5ABC", "599", "599", "", "Alderbrook", "", "2026/09/12",
                                 "18:30:00", "CW", "20", "14.025"));
}

namespace {

// Keys as the window system queues them for a window: each goes, when its
// turn comes, to the widget that has the focus then.
void queueKeys(QWidget& window, const QString& keys)
{
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    for (QChar c : keys) {
        Qt::Key key = Qt::Key(Qt::Key_A + (c.toUpper().unicode() - u'A'));
        if (c == u'\r')
            key = Qt::Key_Return;
        else if (c == u' ')
            key = Qt::Key_Space;
        else if (c.isDigit())
            key = Qt::Key(Qt::Key_0 + c.digitValue());
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(handle, new QKeyEvent(t, key, Qt::NoModifier, QString(c)));
    }
}

QStringList loggedCalls(const QByteArray& log)
{
    QStringList calls;
    for (const QByteArray& line : log.split('\n'))
        if (!line.trimmed().isEmpty())
            calls << QString::fromLatin1(line.left(line.indexOf(',')));
    return calls;
}

} // namespace

// The operator types on while log.txt is written (a slow disk): the keys
// typed after the Enter that logs a contact go to the next contacts, whole
// and in order, in both windows.  They are queued while the first
// contact's line is being written.
TEST_F(ContactEntryTest, KeysTypedWhileTheLogIsWrittenGoToTheNextContacts)
{
    struct Case {
        uint8_t outOfState;
        const char* cntry;  // the first contact's state (in-state window)
        const char* typed;  // the next two contacts, typed on
        QStringList states; // the states logged (in-state window)
    };
    const Case cases[] = {
        {1, "", "w5def 599 bellhaven 599\rk5ghi 599 ashcombe 599\r", {}},
        {0, "TX", "w5def 59 tx 599\rk5ghi 59 oh 599\r",
         {QStringLiteral("TX"), QStringLiteral("TX"), QStringLiteral("OH")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outOfState ? "out-of-state" : "in-state");
        freshRun();
        env.writeWorkFile(QStringLiteral("log.txt"), QByteArray());
        LogWindow& w = open(c.outOfState);
        bool queued = false;
        setWriteFaultForTesting([&](const QString& path) {
            if (!queued && path.endsWith(QStringLiteral("log.txt"))) {
                queued = true;
                queueKeys(w, QString::fromLatin1(c.typed));
            }
            return false;
        });
        enterContact(w, "W5ABC", "599", c.cntry, c.outOfState ? "Alderbrook" : "", "599");
        EXPECT_TRUE(queued);
        EXPECT_TRUE(QTest::qWaitFor([] { return ContactLog::instance().ContactCount >= 3; }, 5000));
        setWriteFaultForTesting(nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(loggedCalls(logFile()).join(u' ').toStdString(), "\"W5ABC\" \"W5DEF\" \"K5GHI\"");
        EXPECT_EQ(ContactLog::instance().ContactCount, 3);
        for (int i = 0; i < c.states.size(); ++i)
            EXPECT_EQ(ContactLog::instance()[i + 1].LogSpc.toStdString(), c.states[i].toStdString());
        if (c.outOfState)
            EXPECT_EQ(ContactLog::instance()[3].LogCounty, QStringLiteral("Ashcombe"));
        EXPECT_TRUE(w.txtCall->text().isEmpty());
        EXPECT_TRUE(w.txtCall->hasFocus());
    }
}

// Enter twice after a contact, or Enter on a row where nothing was typed:
// nothing is checked, no message moves the focus out of the call field, and
// the next contact typed on is logged whole, in both windows.
TEST_F(ContactEntryTest, AnEnterOnTheEmptiedRowChangesNothing)
{
    struct Case {
        uint8_t outOfState;
        const char* typed;
        const char* calls;
    };
    const Case cases[] = {
        {1, "\rk5dea  belh\r\rw5nxa  ashc\r", "\"K5DEA\" \"W5NXA\""},
        {0, "\rk5dea  tx\r\rw5nxa  oh\r", "\"K5DEA\" \"W5NXA\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outOfState ? "out-of-state" : "in-state");
        freshRun();
        env.writeWorkFile(QStringLiteral("log.txt"), QByteArray());
        LogWindow& w = open(c.outOfState);
        w.cmdLogOn->click();
        w.txtCall->setFocus();
        env.prompt().clear();
        queueKeys(w, QString::fromLatin1(c.typed));
        QCoreApplication::processEvents();
        EXPECT_EQ(loggedCalls(logFile()).join(u' ').toStdString(), c.calls);
        EXPECT_EQ(env.prompt().beeps(), 0);
        EXPECT_TRUE(w.lblDialog->text().trimmed().isEmpty()) << w.lblDialog->text().toStdString();
        EXPECT_TRUE(w.txtCall->hasFocus());
        EXPECT_TRUE(w.txtSec->text().isEmpty());
    }
}

// A duplicate found when the call field is left clears the row while the
// operator types on: the rest of that row, up to and including its Enter,
// goes with it, and only what follows is the next contact.  After a pause
// the keys are the next contact's again.
TEST_F(ContactEntryTest, TheRestOfADuplicateTypedOnGoesWithItsRow)
{
    struct Case {
        uint8_t outOfState;
        const char* first;   // logged before
        const char* call;    // typed again
        const char* rest;    // typed on at once
        int pauseMs;         // a pause after the first key of the rest
        const char* calls;   // log.txt's calls at the end
        const char* lastSpc; // the last contact's state (in-state window)
    };
    const Case cases[] = {
        {0, "K5DUP", "k5dup ", "ct\rw5nex  az\r", 0, "\"K5DUP\" \"W5NEX\"", "AZ"},
        // The out-of-state window finds the duplicate at the Enter.
        {1, "K5DUP", "k5dup  alde", "\rw5nex  ashc\r", 0, "\"K5DUP\" \"W5NEX\"", ""},
        // A pause: the operator starts the next contact without an Enter.
        {0, "K5DUP", "k5dup ", "cw5nex  az\r", 2000, "\"K5DUP\" \"W5NEX\"", "AZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.outOfState ? "out-of-state " : "in-state ")
                                        << c.rest << " " << c.pauseMs);
        freshRun();
        env.writeWorkFile(QStringLiteral("log.txt"), QByteArray());
        LogWindow& w = open(c.outOfState);
        enterContact(w, c.first, "599", c.outOfState ? "" : "CT", c.outOfState ? "Alderbrook" : "",
                     "599");
        ASSERT_EQ(ContactLog::instance().ContactCount, 1);
        w.txtCall->setFocus();
        queueKeys(w, QString::fromLatin1(c.call));
        QCoreApplication::processEvents();
        // Typed on within the duplicate lock, so its wait is short.
        env.clock().advance(std::chrono::milliseconds(2900));
        const QString rest = QString::fromLatin1(c.rest);
        if (c.pauseMs > 0) {
            queueKeys(w, rest.left(1));
            QCoreApplication::processEvents();
            env.clock().advance(std::chrono::milliseconds(c.pauseMs));
            queueKeys(w, rest.mid(1));
        } else {
            queueKeys(w, rest);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(loggedCalls(logFile()).join(u' ').toStdString(), c.calls);
        if (!c.outOfState)
            EXPECT_EQ(ContactLog::instance()[ContactLog::instance().ContactCount].LogSpc.toStdString(),
                      c.lastSpc);
        EXPECT_TRUE(w.txtCall->text().isEmpty());
        EXPECT_TRUE(w.txtCall->hasFocus());
    }
}

// log.txt replaced by a pipe after the load (by another program): the
// append refuses it without waiting on it and says why; the contact is not
// counted and stays in the row.
TEST_F(ContactEntryTest, ALogReplacedByAPipeIsRefusedWithoutWaitingAndTheRowKept)
{
    LogWindow& w = open(1);
    env.prompt().clear();
    ASSERT_TRUE(QFile::remove(env.workPath(QStringLiteral("log.txt"))));
    WatchedFifo pipe(env.workPath(QStringLiteral("log.txt")));
    ASSERT_TRUE(pipe.ok());

    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    EXPECT_FALSE(pipe.readerWasReleased()) << "logging waited on the pipe";
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"File Error"});
    EXPECT_EQ(env.prompt().messageTexts().value(0),
              QStringLiteral("Unable to write log.txt: Not a regular file"));
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 0);
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_EQ(w.txtCall->text(), "W5ABC");
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");
}

TEST_F(ContactEntryTest, FullLogTakesNoMoreContacts)
{
    QByteArray full;
    const QByteArray one = logLine("K1OLD", "599", "599", "", "Ashcombe", "", "2026/09/12",
                                   "10:00:00", "CW", "40", "");
    for (int i = 0; i < ContactLog::Capacity; ++i)
        full += one;
    env.writeWorkFile(QStringLiteral("log.txt"), full);
    LogWindow& w = open(1);
    ASSERT_EQ(ContactLog::instance().ContactCount, ContactLog::Capacity);
    env.prompt().clear();

    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    EXPECT_TRUE(env.prompt().messageTitles().contains("Log Full"));
    EXPECT_EQ(ContactLog::instance().ContactCount, ContactLog::Capacity);
    EXPECT_EQ(logFile().size(), full.size());
    EXPECT_EQ(w.txtCall->text(), "W5ABC");
}

TEST_F(ContactEntryTest, PostContestDateAndTimeAreCheckedAndStored)
{
    LogWindow& w = open(1);
    w.txtPostConTime->show();
    w.txtPostConDate->show();
    w.txtPostConDate->setText("2026/9/5");
    w.txtPostConTime->setText("1830");
    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    EXPECT_EQ(logFile(), logLine("W5ABC", "599", "599", "", "Alderbrook", "", "2026/09/05", "18:30",
                                 "CW", "20", ""));
    EXPECT_EQ(w.txtPostConDate->text(), "2026/09/05");
    EXPECT_EQ(w.txtPostConTime->text(), "18:30");
    EXPECT_EQ(listRow(w.ListView1, 0)[5], "09/05 18:30");

    w.txtPostConDate->setText("2026/2/30");
    EntryState::instance().CurrentFrequencyText = QStringLiteral("7.040");
    enterContact(w, "K0XYZ", "599", "", "Ashcombe", "599");
    EXPECT_EQ(w.lblDialog->text(), "Invalid date format!");
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(w.txtCall->text(), "K0XYZ");
    EXPECT_EQ(EntryState::instance().CurrentFrequencyText, "7.040");
}

TEST_F(ContactEntryTest, InStateExchangesAndTheStateGrid)
{
    LogWindow& w = open(0);
    auto& in = static_cast<Infrm&>(w);

    // Another state: the county typed is dropped.
    enterContact(w, "K5TX", "59", "TX", "Ashcombe", "599");
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(logFile(), logLine("K5TX", "599", "59", "TX", "", "Alderbrook", "2026/09/12",
                                 "18:30:00", "CW", "20", ""));
    EXPECT_EQ(MultiplierMatrix::instance().MultiplierCellCount, 1);
    EXPECT_EQ(in.Label10(24)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(in.Label10(25)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_FALSE(in.lblStation(4)->isEnabled());

    // A home-state station with its county typed as the abbreviation.
    enterContact(w, "W5ZQ", "59", "ZQ", "ashc", "599");
    ASSERT_EQ(ContactLog::instance().ContactCount, 2);
    EXPECT_EQ(ContactLog::instance()[2].LogCounty, "Ashcombe");
    EXPECT_EQ(w.lblTotSec->text(), "3"); // 1 county + TX + ZQ
    EXPECT_EQ(w.lblTotScore->text(), "18");
    EXPECT_EQ(in.lblsectogo->text(), "2");
    EXPECT_EQ(in.lblStation(8)->text(), "Cnty Wkd - 1");
    EXPECT_EQ(in.lblStation(7)->text(), "Cnty Rem - 76");
    EXPECT_EQ(listRow(w.ListView1, 0),
              QStringList({"2", "W5ZQ", "59", "ZQ", "Ashcombe", "599", "09/12 18:30", "CW", "20"}));

    // No such code; then a country name is taken.
    enterContact(w, "DL1AB", "59", "XX", "", "599");
    EXPECT_EQ(w.lblDialog->text(), "Invald Section!");
    EXPECT_EQ(QApplication::focusWidget(), w.txtCntry);
    w.txtCntry->setText("Germany");
    QTest::keyClick(w.txtCntry, Qt::Key_Return);
    EXPECT_EQ(ContactLog::instance().ContactCount, 3);
    EXPECT_EQ(ContactLog::instance()[3].LogSpc, "Germany");
    EXPECT_EQ(w.lblTotSec->text(), "3"); // countries are no multipliers

    // One letter or the lookup's "Not Found" is no exchange.
    for (const char* bad : {"G", "Not Found"}) {
        w.txtCall->setText("OH2XX");
        w.txtRSTR->setText("59");
        w.txtCntry->setText(bad);
        QTest::keyClick(w.txtCntry, Qt::Key_Return);
        EXPECT_EQ(w.lblDialog->text(), "Need Country!") << bad;
        EXPECT_EQ(ContactLog::instance().ContactCount, 3) << bad;
    }
}

TEST_F(ContactEntryTest, InStateDuplicateFromAnotherStateAndTheLock)
{
    LogWindow& w = open(0);
    enterContact(w, "K2NY", "59", "NY", "", "599");
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);

    // Leaving the call field already clears the row as a duplicate.
    type(w.txtCall, "K2NY");
    w.txtRSTR->setFocus();
    EXPECT_EQ(w.lblDialog->text(), "Duplicate K2NY 09/12 18:30:00  Rec#  1");
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_EQ(EntryState::instance().DuplicateFlag, 1);

    // A key 5 seconds later goes through at once and ends the lock.
    env.clock().advance(std::chrono::seconds(5));
    type(w.txtCall, "K");
    EXPECT_EQ(EntryState::instance().DuplicateFlag, 0);
    EXPECT_EQ(w.txtCall->text(), "K");

    // Another county sent (rover after a county change): no duplicate.
    st.OwnCounty = QStringLiteral("Ashcombe");
    w.txtCall->clear();
    enterContact(w, "K2NY", "59", "NY", "", "599");
    EXPECT_EQ(ContactLog::instance().ContactCount, 2);
}

TEST_F(ContactEntryTest, PossibleDuplicatesWhileTheCallIsTyped)
{
    LogWindow& w = open(1);
    enterContact(w, "K5ABC", "599", "", "Alderbrook", "599");
    enterContact(w, "K5ABD", "599", "", "Alderbrook", "599");
    enterContact(w, "K5ABE", "599", "", "Ashcombe", "599");

    type(w.txtCall, "K5A");
    EXPECT_EQ(w.lblDupe->text(), "K5ABE K5ABD K5ABC ");
    EXPECT_EQ(w.lblDialog->text(), " ");
    QTest::keyClicks(w.txtCall, "B");
    EXPECT_EQ(w.lblDialog->text(), "Possible Duplicate!");
    QTest::keyClicks(w.txtCall, "X");
    EXPECT_TRUE(w.lblDupe->text().isEmpty());

    QTest::mouseClick(w.cmdDup, Qt::LeftButton);
    EXPECT_EQ(w.cmdDup->text(), "Off");
    w.txtCall->clear();
    env.prompt().clear();
    type(w.txtCall, "KAB");
    EXPECT_TRUE(w.lblDupe->text().isEmpty());
    EXPECT_EQ(w.lblDialog->text(), "The second or third character is not numeric!");
    EXPECT_EQ(env.prompt().beeps(), 1);
    QTest::mouseClick(w.cmdDup, Qt::LeftButton);
    EXPECT_EQ(w.cmdDup->text(), "On");
}

TEST_F(ContactEntryTest, ContactListShowsTheNewestTwentyOrAll)
{
    QByteArray data;
    for (int i = 1; i <= 25; ++i)
        data += logLine(QStringLiteral("K1A%1").arg(i), "599", "599", "", "Ashcombe", "",
                        "2026/09/12", "10:00:00", "CW", "40", "");
    env.writeWorkFile(QStringLiteral("log.txt"), data);
    LogWindow& w = open(1);
    EXPECT_EQ(w.ListView1->rowCount(), 20);
    EXPECT_EQ(listRow(w.ListView1, 0)[0], "25");

    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    ASSERT_EQ(w.ListView1->rowCount(), 20);
    EXPECT_EQ(listRow(w.ListView1, 0)[0], "26");
    EXPECT_EQ(listRow(w.ListView1, 19)[0], "7");

    EntryState::instance().ListAllContactsFlag = 1;
    enterContact(w, "W5ABD", "599", "", "Alderbrook", "599");
    ASSERT_EQ(w.ListView1->rowCount(), 27);
    for (int r = 0; r < 27; ++r)
        EXPECT_EQ(listRow(w.ListView1, r)[0], QString::number(27 - r));
    enterContact(w, "W5ABE", "599", "", "Alderbrook", "599");
    EXPECT_EQ(w.ListView1->rowCount(), 28);
    EXPECT_EQ(listRow(w.ListView1, 0)[1], "W5ABE");
}

TEST_F(ContactEntryTest, RestartReloadsTheSameFigures)
{
    {
        LogWindow& w = open(0);
        enterContact(w, "K5TX", "59", "TX", "", "599");
        enterContact(w, "W5ZQ", "59", "ZQ", "Ashcombe", "599");
        w.Label3->show(); // the country check found a new country
        enterContact(w, "DL1AB", "59", "Germany", "", "599");
    }
    const QStringList labels = {"lblTotCon", "lblsectogo", "Label27", "lblTotSec", "lblTotScore"};
    auto texts = [&](LogWindow& w) {
        QStringList out;
        for (const QString& name : labels)
            out << w.findChild<QLabel*>(name)->text();
        out << listEntries(w.List1) << listEntries(w.List2) << w.lblStation(5)->text() << w.lblStation(8)->text();
        return out;
    };
    const QStringList before = texts(DefaultInstance<Infrm>());
    EXPECT_EQ(before.mid(0, 5), QStringList({"0", "3", "0", "3", "27"}));
    EXPECT_EQ(listEntries(DefaultInstance<Infrm>().List1), QStringList{"Germany"});
    const int cells = MultiplierMatrix::instance().MultiplierCellCount;

    freshRun();
    st.UtcOffsetHours = 5;
    st.WorkedColor = 0x0000FF;
    LogWindow& again = open(0);
    EXPECT_EQ(texts(again), before);
    EXPECT_EQ(MultiplierMatrix::instance().MultiplierCellCount, cells);
    EXPECT_EQ(static_cast<Infrm&>(again).Label10(24)->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
}

TEST_F(ContactEntryTest, LogOnOffAndTheOperatingTime)
{
    LogWindow& w = open(1);
    QTest::mouseClick(w.cmdLogOn, Qt::LeftButton);
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 1);
    EXPECT_EQ(w.lblDialog->text(), " ");

    env.clock().advance(std::chrono::seconds(65));
    QTest::qWait(1100); // one tick of the clock timer
    EXPECT_EQ(w.lblttrack->text(), "00:01:05");
    EXPECT_EQ(w.lblutctime->text(), "18:31:05"); // local 13:31:05 + 5 h
    EXPECT_EQ(w.lblCurTime->text(), "1:31:05");

    QTest::mouseClick(w.cmdLogOn, Qt::LeftButton);
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 0);
    EXPECT_EQ(w.cmdLogOn->text(), QStringLiteral("&Log \"Time On\""));
    EXPECT_TRUE(w.lblDialog->text().startsWith("Logged Off at "));
    EXPECT_TRUE(w.lblDialog->text().endsWith(" 18:31:05"));
    EXPECT_EQ(savedSettings().AccumulatedOperatingSeconds, 65);

    // A new log while logged on counts its operating time from now.
    QTest::mouseClick(w.cmdLogOn, Qt::LeftButton);
    env.clock().advance(std::chrono::seconds(100));
    env.prompt().answerInput(QStringLiteral("YES"));
    find(w, "mnuNew")->trigger();
    EXPECT_EQ(LogOnState::instance().LogOnTime, env.clock().now().local);
    EXPECT_EQ(st.AccumulatedOperatingSeconds, 0);
}
