// A short contest run through the program's real windows, offscreen, once
// for each log window: start-up, station set-up, the log window's start
// question, a few dozen contacts typed as an operator types them (with
// duplicates, a band change, a mode change, an edit and a delete), the close
// box, and a second start that continues the log and shows the same totals.

#include "app/StartProgram.h"
#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/ProgramEnd.h"
#include "common/WindowRegistry.h"
#include "entry/LogOnState.h"
#include "logstore/ContactLog.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "startup/frmBrelvoxLogo.h"
#include "startup/frmSplash.h"
#include "startup/frmStationID.h"
#include "support/LogWindowTestSupport.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <stdexcept>

using namespace zq;
using namespace std::chrono_literals;
using Kind = ScriptedPrompt::Kind;

namespace {

QStringList crlfLines(const QByteArray& content)
{
    QStringList lines = QString::fromUtf8(content).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The score panel as shown.
struct Panel {
    QString phone, cw, digital, multipliers, score, rate20, rate60;
    bool operator==(const Panel&) const = default;
};

void PrintTo(const Panel& p, std::ostream* os)
{
    *os << "PH " << p.phone.toStdString() << ", CW " << p.cw.toStdString() << ", DG "
        << p.digital.toStdString() << ", multipliers " << p.multipliers.toStdString()
        << ", score " << p.score.toStdString() << ", rates " << p.rate20.toStdString() << "/"
        << p.rate60.toStdString();
}

// What a log window shows of the log, compared before the close and after
// the next start.
struct Shown {
    Panel panel;
    QStringList worked;
    QString workedCaption, toGoCaption;
    int toGoCount = 0;
    QStringList newestRow;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os)
{
    PrintTo(s.panel, os);
    *os << "; worked " << s.worked.join(QLatin1Char('|')).toStdString() << "; "
        << s.workedCaption.toStdString() << "; " << s.toGoCaption.toStdString() << " ("
        << s.toGoCount << " listed); newest " << s.newestRow.join(QLatin1Char('|')).toStdString();
}

// A window or dialog that must be there: the test stops when it is not.
template <class T>
T& present(T* p, const char* what)
{
    if (!p) {
        ADD_FAILURE() << what << " is not loaded";
        throw std::runtime_error(what);
    }
    return *p;
}

// The operator at the keyboard: starts the program, answers its boxes,
// types into whatever field has the focus and clicks what a mouse clicks.
class ContestRun : public ::testing::Test {
protected:
    test::TestEnv env;
    QLocale oldLocale;

    void SetUp() override
    {
        // Scores of four digits show the thousands separator.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        for (const char* f : {"county2.txt", "arrlpre2.txt", "states.txt", "ReadSQSO.txt"})
            env.seedDataFile(QString::fromLatin1(f));
    }
    void TearDown() override { QLocale::setDefault(oldLocale); }

    // Starts the program as main() does and continues past the start-up
    // dialog.  The logo dialog is closed by its own timer step at once.
    frmStationID& startToStationSetup()
    {
        QTimer::singleShot(0, [] {
            if (auto* logo = WindowRegistry::existing<frmBrelvoxLogo>())
                logo->Timer1_Timer();
        });
        EXPECT_TRUE(startProgram());
        frmSplash& splash = present(WindowRegistry::existing<frmSplash>(), "frmSplash");
        EXPECT_TRUE(splash.isVisible());
        EXPECT_FALSE(WindowRegistry::isLoaded<frmBrelvoxLogo>());
        QTest::mouseClick(splash.Command1, Qt::LeftButton);
        EXPECT_FALSE(WindowRegistry::isLoaded<frmSplash>());
        frmStationID& setup = present(WindowRegistry::existing<frmStationID>(), "frmStationID");
        EXPECT_TRUE(setup.isVisible());
        return setup;
    }

    template <class W>
    W& openedLogWindow()
    {
        EXPECT_FALSE(WindowRegistry::isLoaded<frmStationID>());
        W& w = present(WindowRegistry::existing<W>(), "the log window");
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(programEnded());
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }

    // Keys into the field that has the focus, following the focus as the
    // entry row moves it: ' ' is Space, '\n' is Enter.
    void type(const QString& keys)
    {
        for (QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr) << "no focus while typing " << keys.toStdString();
            if (c == QLatin1Char(' '))
                QTest::keyClick(target, Qt::Key_Space);
            else if (c == QLatin1Char('\n'))
                QTest::keyClick(target, Qt::Key_Return);
            else
                QTest::keyClicks(target, QString(c));
            QCoreApplication::processEvents();
        }
    }

    // One contact a minute.
    void contact(const QString& keys)
    {
        env.clock().advance(1min);
        type(keys);
    }

    static Panel panel(const LogWindow& w, const QLabel* cwCount)
    {
        return {w.lblTotCon->text(),   cwCount->text(),      w.Label27->text(),
                w.lblTotSec->text(),   w.lblTotScore->text(), w.lblAQSO20->text(),
                w.lblAQSO60->text()};
    }

    static Shown shown(const LogWindow& w, const QLabel* cwCount, const QListWidget* toGo,
                       const QLabel* workedCaption, const QLabel* toGoCaption)
    {
        return {panel(w, cwCount),   test::listEntries(w.List2), workedCaption->text(),
                toGoCaption->text(), toGo->count(),     test::listRow(w.ListView1, 0)};
    }

    static void clickRow(LogWindow& w, int rec) { test::clickContactRow(w.ListView1, rec); }

    // Replaces a dialog field's text by typed keys.
    // The box typed into last: Enter there runs the edit dialog's Done.
    static inline EntryBox* lastRetyped = nullptr;

    static void retype(EntryBox* box, const QString& keys)
    {
        lastRetyped = box;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, keys);
    }

    // Contact list click, "Edit Contact", and the modal dialog filled by
    // `change` and closed with Enter in the box typed last.
    void editContact(LogWindow& w, int rec, const char* dialogName,
                     const std::function<void(ContactEditDialog&)>& change)
    {
        clickRow(w, rec);
        ASSERT_TRUE(w.cmdEdit->isVisible());
        bool ran = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            ran = true;
            ASSERT_EQ(d.objectName(), QLatin1String(dialogName));
            auto& dialog = static_cast<ContactEditDialog&>(d);
            d.show();
            change(dialog);
            QTest::keyClick(lastRetyped, Qt::Key_Return);
            EXPECT_FALSE(d.isVisible()) << "the dialog refused its fields";
        });
        QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
        setModalShowHandlerForTesting([](QWidget&) {});
        EXPECT_TRUE(ran);
        EXPECT_FALSE(w.cmdEdit->isVisible());
    }

    // Contact list click, "Delete Contact", "Are you sure?" Yes.
    void deleteContact(LogWindow& w, int rec)
    {
        clickRow(w, rec);
        ASSERT_TRUE(w.cmdDelete->isVisible());
        env.prompt().answerMessage(MsgAnswer::Yes);
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        EXPECT_FALSE(w.cmdDelete->isVisible());
    }

    // The close box: the program ends.
    static void closeLogWindow(LogWindow& w)
    {
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(programEnded());
    }

    // A new process: nothing survives but the files.
    frmStationID& restart()
    {
        test::resetProgramState();
        return startToStationSetup();
    }

    QByteArray logFile() const { return env.readWorkFile(QStringLiteral("log.txt")); }

    QStringList backups() const
    {
        return QDir(env.documentsDir() + QStringLiteral("/Brelvox Software/Carvonia/BACKUP"))
            .entryList(QDir::Files);
    }
    QByteArray backup(const QString& name) const
    {
        QFile f(env.documentsDir() + QStringLiteral("/Brelvox Software/Carvonia/BACKUP/") + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The name the backup written now gets: local "yyyymmddhhnn".
    QString backupNameNow()
    {
        return env.clock().now().local.toString(QStringLiteral("yyyyMMddHHmm")) +
               QStringLiteral(".log");
    }

    QStringList prefLines() { return crlfLines(env.readWorkFile(QStringLiteral("QSOpref.txt"))); }

    // The one-second tick shows the operating time counted on the fake
    // clock; the close saves what the last tick counted.
    static void waitForOperatingTime(const LogWindow& w, const QString& shown)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.lblttrack->text() == shown; }, 3000))
            << w.lblttrack->text().toStdString();
    }

    QStringList titles(Kind kind)
    {
        QStringList out;
        for (const auto& c : env.prompt().callsOf(kind))
            out << c.title;
        return out;
    }
};

const QString kOffsetTitle = QStringLiteral("Update the Local Time / UTC Offset?");
const QString kOpenTitle = QStringLiteral("Open existing log?");
const QString kNewLogTitle = QStringLiteral("WARNING - Your existing log file will be ERASED!");
const QString kSureTitle = QStringLiteral("Are you sure?");

} // namespace

TEST_F(ContestRun, OutOfStateStation)
{
    // --- First start: the station is set up and a new log begun -----------
    // The fake clock's local time is UTC - 5 h: the set-up dialog offers 5.
    env.prompt().answerInput(QStringLiteral("5"));
    frmStationID& setup = startToStationSetup();
    QTest::keyClicks(setup.Text[1], QStringLiteral("k9xyz"));
    QTest::keyClicks(setup.Text[5], QStringLiteral("il"));
    QTest::keyClicks(setup.Text[8], QStringLiteral("cook"));
    QTest::keyClicks(setup.Text[2], QStringLiteral("USA")); // completes the position
    QTest::keyClicks(setup.Text[9], QStringLiteral("il"));
    QTest::mouseClick(setup.Option2, Qt::LeftButton);    // not in Carvonia
    EXPECT_EQ(setup.Text[3]->text(), QStringLiteral("97"));
    EXPECT_EQ(setup.Text[7]->text(), QStringLiteral("NA"));
    // A new contest: No, then the confirmation typed in lower case.
    env.prompt().answerMessage(MsgAnswer::No);
    env.prompt().answerInput(QStringLiteral("yes"));
    QTest::keyClick(setup.Text[9], Qt::Key_Return); // Enter runs Done

    Outfrm& w = openedLogWindow<Outfrm>();
    EXPECT_EQ(w.Label2->text(), QStringLiteral("K9XYZ"));
    EXPECT_EQ(w.Label25->text(), QStringLiteral("IL"));
    EXPECT_EQ(w.lblTotScore->text(), QStringLiteral("0"));
    EXPECT_EQ(logFile(), QByteArray());
    QTest::mouseClick(w.cmdLogOn, Qt::LeftButton); // focus to the call field
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);

    // --- 20 m phone ---------------------------------------------------------
    contact("W5ABC 57 aldb\n");  // abbreviation -> Alderbrook
    contact("N5XX59ash\n");      // digits type through, a letter starts the county
    contact("K5DEF 59 bellh\n");
    contact("W5GHI 58 cedar b\n"); // a two-word county
    contact("KD5JKL 59 wake\n");
    contact("AA5MN55holl\n");
    contact("W5OP 59 BLKW\n");   // abbreviation typed in capitals
    contact("K5QR 59 fox\n");
    contact("N5ST 57 ald\n");
    contact("WB5UV 59 iron\n");
    ASSERT_EQ(ContactLog::instance().ContactCount, 10);
    EXPECT_EQ(test::listRow(w.ListView1, 0),
              QStringList({"10", "WB5UV", "59", "Ironwood", "59", "09/12 18:40", "PH", "20"}));

    // The same call, band, mode and county again: refused.
    const int beeps = env.prompt().beeps();
    contact("W5ABC 59 aldb\n");
    EXPECT_EQ(ContactLog::instance().ContactCount, 10);
    EXPECT_EQ(w.lblDialog->text(), QStringLiteral("Duplicate W5ABC  2026/09/12  18:31:00   Rec#  1"));
    EXPECT_GE(env.prompt().beeps(), beeps + 2); // the warning and the refusal
    for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtSec, w.txtRSTS})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    // From another county it is warned of but stored (a rover).
    contact("W5ABC 59 ashc\n");
    EXPECT_EQ(ContactLog::instance().ContactCount, 11);
    EXPECT_EQ(w.lblDialog->text(), QString());

    // --- Band menu: 40 m, where the same contact is new -----------------------
    w.mnuBand40Ch->trigger();
    EXPECT_EQ(w.Label24->text(), QStringLiteral("40"));
    EXPECT_TRUE(w.mnuBand40Ch->isChecked());
    EXPECT_FALSE(w.mnuBand20Ch->isChecked());
    contact("W5ABC 59 aldb\n");
    contact("K5WX 59 lach\n");
    contact("N5YZ 59 ORCV\n");
    contact("W5AAA 59 ston\n");

    // --- Mode menu: CW, the reports default to 599 ------------------------------
    w.mnu160->trigger();
    EXPECT_EQ(w.Label30->text(), QStringLiteral("CW"));
    EXPECT_TRUE(w.mnu160->isChecked());
    EXPECT_FALSE(w.mnuSSB->isChecked());
    contact("K5CW599pall\n");
    contact("W5BBB 579 red\n");
    contact("N5CCC599SSAB\n");
    contact("K5DDD 599 tall\n");
    contact("W5ABC 599 aldb\n");
    contact("KA5EEE 599 GRAP\n");
    contact("N5FFF 599 wild\n");
    contact("W5GGG 599 yarr\n");
    contact("K5HHH 599 dal\n");
    ASSERT_EQ(ContactLog::instance().ContactCount, 24);
    EXPECT_EQ(panel(w, w.lblSectogo),
              (Panel{"15", "9", "0", "20", "1,140", "57", "24"})); // 20 x (15 x 2 + 9 x 3)

    // --- Edit contact 3 (all contacts listed first), delete contact 9 ------------
    QTest::mouseClick(w.cmdList, Qt::LeftButton);
    EXPECT_EQ(w.cmdList->text(), QStringLiteral("All"));
    editContact(w, 3, "ZQEditOut", [](ContactEditDialog& d) {
        auto& out = static_cast<ZQEditOut&>(d);
        EXPECT_EQ(out.txtEditCall->text(), QStringLiteral("K5DEF"));
        EXPECT_EQ(out.txtEditPre->text(), QStringLiteral("Bellhaven"));
        retype(out.txtEditPre, QStringLiteral("birc")); // completed to Birchfield
        EXPECT_EQ(out.txtEditPre->text(), QStringLiteral("Birchfield"));
        retype(out.txtEditCk, QStringLiteral("55"));
    });
    deleteContact(w, 9); // N5ST: Alderbrook stays worked through other contacts
    ASSERT_EQ(ContactLog::instance().ContactCount, 23);
    EXPECT_EQ(w.ListView1->rowCount(), 23);

    // 14 PH, 9 CW, 20 counties (Bellhaven became Birchfield): 20 x 55.  At
    // 18:55 UTC 18 contacts are younger than 20 minutes, 23 than 60.
    const Panel expected{"14", "9", "0", "20", "1,100", "54", "23"};
    EXPECT_EQ(panel(w, w.lblSectogo), expected);
    EXPECT_EQ(w.lblStation(5)->text(), QStringLiteral("Counties Worked - 20"));
    EXPECT_EQ(w.lblStation(7)->text(), QStringLiteral("Counties To Go - 57"));
    EXPECT_TRUE(test::listEntries(w.List2).contains(QStringLiteral("Birchfield")));
    EXPECT_FALSE(test::listEntries(w.List2).contains(QStringLiteral("Bellhaven")));
    const Shown before = shown(w, w.lblSectogo, w.List1, w.lblStation(5), w.lblStation(7));

    const QByteArray log = logFile();
    const QStringList lines = crlfLines(log);
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines[0].toStdString(), R"("W5ABC","59","57","","Alderbrook","","","","","","","2026/09/12","18:31:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[2].toStdString(), R"("K5DEF","59","55","","Birchfield","","","","","","","2026/09/12","18:33:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[8].toStdString(), R"("WB5UV","59","59","","Ironwood","","","","","","","2026/09/12","18:40:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[18].toStdString(), R"("W5ABC","599","599","","Alderbrook","","","","","","","2026/09/12","18:51:00","CW","40",0,"","","","")");
    EXPECT_TRUE(log.endsWith("\r\n"));

    // --- Close box: a backup of the log, the preferences saved ---------------------
    // Logged on at 18:30 UTC, now 18:55.
    waitForOperatingTime(w, QStringLiteral("00:25:00"));
    closeLogWindow(w);
    EXPECT_EQ(backups(), QStringList{backupNameNow()});
    EXPECT_EQ(backup(backupNameNow()), log);
    const QStringList prefs = prefLines();
    EXPECT_EQ(prefs, QStringList({"\"K9XYZ\"", "\"IL\"", "\"USA\"", "\"IL\"", "\"\"", "\"\"",
                                  "\"Cook\"", "\"\"", "\"CW\"", "\"40\"", "5", "97", "38", "\"NA\"",
                                  "100", "16711680", "0", "1500", "\"ZQ\"", "1", "0", "0", "\"None\"", "0",
                                  "0"}));

    // --- Second start: the station as saved, the log continued ----------------------
    frmStationID& again = restart();
    EXPECT_EQ(again.Text[1]->text(), QStringLiteral("K9XYZ"));
    EXPECT_EQ(again.Text[8]->text(), QStringLiteral("Cook"));
    EXPECT_EQ(again.Text[6]->text(), QStringLiteral("5"));
    EXPECT_TRUE(again.Option2->isChecked());
    env.prompt().answerMessage(MsgAnswer::Yes);
    QTest::mouseClick(again.Command1, Qt::LeftButton);

    Outfrm& w2 = openedLogWindow<Outfrm>();
    EXPECT_EQ(w2.Label24->text(), QStringLiteral("40"));
    EXPECT_EQ(w2.Label30->text(), QStringLiteral("CW"));
    EXPECT_TRUE(w2.mnuBand40Ch->isChecked());
    EXPECT_TRUE(w2.mnu160->isChecked());
    EXPECT_EQ(w2.lblttrack->text(), QStringLiteral("00:25:00"));
    EXPECT_EQ(shown(w2, w2.lblSectogo, w2.List1, w2.lblStation(5), w2.lblStation(7)), before);
    EXPECT_EQ(w2.ListView1->rowCount(), 20); // back to the newest 20
    EXPECT_EQ(logFile(), log);

    // Nothing changed and never logged on: closing again makes no second
    // backup and saves nothing.
    env.clock().advance(5min);
    closeLogWindow(w2);
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(logFile(), log);
    EXPECT_EQ(prefLines(), prefs);

    // Every box the two runs showed, in order: nothing else came up.
    EXPECT_EQ(titles(Kind::Input), QStringList({kOffsetTitle, kNewLogTitle}));
    EXPECT_EQ(titles(Kind::Message), QStringList({kOpenTitle, kSureTitle, kOpenTitle}));
}

TEST_F(ContestRun, InStateStation)
{
    // --- First start: the station in Carvonia, "Open existing log?" Yes with
    // no log yet, which begins an empty one ---------------------------------
    env.prompt().answerInput(QStringLiteral("5"));
    frmStationID& setup = startToStationSetup();
    QTest::keyClicks(setup.Text[1], QStringLiteral("k5zq"));
    QTest::keyClicks(setup.Text[5], QStringLiteral("zq"));
    QTest::keyClicks(setup.Text[8], QStringLiteral("ashcombe"));
    QTest::keyClicks(setup.Text[2], QStringLiteral("USA"));
    QTest::keyClicks(setup.Text[9], QStringLiteral("zq"));
    QTest::mouseClick(setup.Option1, Qt::LeftButton); // in Carvonia
    EXPECT_TRUE(setup.Frame2->isEnabled());
    EXPECT_TRUE(setup.Option3->isChecked()); // not a rover
    env.prompt().answerMessage(MsgAnswer::Yes);
    QTest::mouseClick(setup.Command1, Qt::LeftButton);

    Infrm& w = openedLogWindow<Infrm>();
    EXPECT_EQ(w.Label2->text(), QStringLiteral("K5ZQ"));
    EXPECT_EQ(w.Label25->text(), QStringLiteral("Ashcombe"));
    EXPECT_EQ(w.lblStation(4)->text(), QStringLiteral("ZQ County"));
    EXPECT_EQ(logFile(), QByteArray());

    // Typing while logged off: every key is a reminder; Enter logs on.
    QTest::mouseClick(w.txtCall, Qt::LeftButton);
    const int beeps = env.prompt().beeps();
    env.clock().advance(1min);
    type("W1AW");
    EXPECT_EQ(w.lblDialog->text(), QStringLiteral("Click Log \"Time On\"!"));
    EXPECT_EQ(env.prompt().beeps(), beeps + 4);
    type(" 57 ct\n");
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 1);
    EXPECT_EQ(w.cmdLogOn->text(), QStringLiteral("&Log \"Time Off\""));

    // --- 20 m phone ---------------------------------------------------------
    contact("K5ZZ 59  aldb\n");  // the call's 5 brings "ZQ"; Space goes on to the county
    contact("VE3ABC 59 \n");     // "ON" from the Canadian prefix
    contact("G4XYZ 59\n");       // the country from the call
    contact("N5DX59zq wake\n");  // type-through, a letter starts the exchange
    contact("K4ABC 59 fl\n");
    contact("W5QQ 59  holl\n");
    contact("K5AAA 59  BLKW\n"); // abbreviation -> Blackwater
    contact("W6XYZ 59 ca\n");
    contact("VE7ZZ 59 \n");
    ASSERT_EQ(ContactLog::instance().ContactCount, 10);
    EXPECT_EQ(test::listEntries(w.List1), QStringList{"England"});
    EXPECT_EQ(test::listRow(w.ListView1, 0), QStringList({"10", "VE7ZZ", "59", "BC", "", "59",
                                                    "09/12 18:40", "PH", "20"}));

    // A station of another state again: cleared as soon as the call is left.
    contact("W1AW ");
    EXPECT_EQ(w.lblDialog->text(), QStringLiteral("Duplicate W1AW 09/12 18:31:00  Rec#  1"));
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    // A Carvonia station again: warned when the call is left, the exchange
    // filled from its contact, and refused on Enter.
    contact("K5ZZ ");
    EXPECT_EQ(w.lblDialog->text(),
              QStringLiteral("Dupe if not rover!  K5ZZ  09/12  18:32:00   Rec#  2"));
    EXPECT_EQ(w.txtCntry->text(), QStringLiteral("ZQ"));
    EXPECT_EQ(w.txtSec->text(), QStringLiteral("Alderbrook"));
    type("59  aldb\n");
    EXPECT_EQ(w.lblDialog->text(), QStringLiteral("Duplicate K5ZZ 09/12 18:32:00  Rec#  2"));
    EXPECT_EQ(ContactLog::instance().ContactCount, 10);
    for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtCntry, w.txtSec, w.txtRSTS})
        EXPECT_TRUE(box->text().isEmpty());

    // --- Band menu: 80 m ----------------------------------------------------------
    w.mnuBand80Ch->trigger();
    EXPECT_EQ(w.Label24->text(), QStringLiteral("80"));
    contact("W1AW 59 ct\n");
    contact("K5BBB 59  dal\n");
    contact("AB5CD 59  ston\n");

    // --- Mode menu: CW ---------------------------------------------------------
    w.mnu160->trigger();
    EXPECT_EQ(w.Label30->text(), QStringLiteral("CW"));
    contact("K5CCC599  iron\n");
    contact("N2XYZ599ny\n");
    contact("K5DDD599 zq tall\n");
    contact("DL1ABC599\n");
    contact("W5EEE 599  red\n");
    contact("K0ABC 599 mn\n");
    contact("VE3ABC 599 \n");
    ASSERT_EQ(ContactLog::instance().ContactCount, 20);
    // 9 counties + CT ZQ ON FL CA BC NY MN; 13 x 2 + 7 x 3 points.
    EXPECT_EQ(panel(w, w.lblsectogo), (Panel{"13", "7", "0", "17", "799", "54", "20"}));
    EXPECT_EQ(test::listEntries(w.List1), QStringList({"England", "Germany"}));

    // --- Edit contact 6 (FL -> GA), delete contact 9 (the only CA) ----------------
    editContact(w, 6, "ZQEditInfrm", [](ContactEditDialog& d) {
        auto& in = static_cast<ZQEditInfrm&>(d);
        EXPECT_EQ(in.txtEditCall->text(), QStringLiteral("K4ABC"));
        EXPECT_EQ(in.txtEditPre->text(), QStringLiteral("FL"));
        EXPECT_EQ(in.Text3->text(), QStringLiteral("Ashcombe"));
        // "ga" completes to a country; Delete takes the proposed rest away
        // and Done turns the code into capitals.
        retype(in.txtEditPre, QStringLiteral("ga"));
        QTest::keyClick(in.txtEditPre, Qt::Key_Delete);
        EXPECT_EQ(in.txtEditPre->text(), QStringLiteral("Ga"));
        retype(in.txtEditCk, QStringLiteral("55"));
    });
    deleteContact(w, 9);
    ASSERT_EQ(ContactLog::instance().ContactCount, 19);

    // 12 PH, 7 CW; 9 counties + CT ZQ ON GA BC NY MN = 16 multipliers, 16 x 45.
    // At 18:52 UTC 17 contacts are younger than 20 minutes, 19 than 60.
    EXPECT_EQ(panel(w, w.lblsectogo), (Panel{"12", "7", "0", "16", "720", "51", "19"}));
    EXPECT_EQ(test::listEntries(w.List2),
              QStringList({"Alderbrook", "Blackwater", "Dalby", "Hollis", "Ironwood", "Redstone",
                           "Stonebridge", "Tallis", "Wakeman"}));
    EXPECT_EQ(w.lblStation(8)->text(), QStringLiteral("Cnty Wkd - 9"));
    EXPECT_EQ(w.lblStation(7)->text(), QStringLiteral("Cnty Rem - 68"));
    EXPECT_EQ(w.lblStation(5)->text(), QStringLiteral("DX - 2"));
    const Shown before = shown(w, w.lblsectogo, w.List3, w.lblStation(8), w.lblStation(7));
    const QStringList dx = test::listEntries(w.List1);

    const QByteArray log = logFile();
    const QStringList lines = crlfLines(log);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[1].toStdString(), R"("K5ZZ","59","59","ZQ","Alderbrook","","Ashcombe","","","","","2026/09/12","18:32:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[3].toStdString(), R"("G4XYZ","59","59","England","","","Ashcombe","","","","","2026/09/12","18:34:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[5].toStdString(), R"("K4ABC","59","55","GA","","","Ashcombe","","","","","2026/09/12","18:36:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[8].toStdString(), R"("VE7ZZ","59","59","BC","","","Ashcombe","","","","","2026/09/12","18:40:00","PH","20",0,"","","","")");
    EXPECT_EQ(lines[18].toStdString(), R"("VE3ABC","599","599","ON","","","Ashcombe","","","","","2026/09/12","18:52:00","CW","80",0,"","","","")");

    // Logged on by the first contact at 18:31 UTC, now 18:52.
    waitForOperatingTime(w, QStringLiteral("00:21:00"));
    closeLogWindow(w);
    EXPECT_EQ(backups(), QStringList{backupNameNow()});
    EXPECT_EQ(backup(backupNameNow()), log);
    const QStringList prefs = prefLines();
    EXPECT_EQ(prefs, QStringList({"\"K5ZQ\"", "\"ZQ\"", "\"USA\"", "\"ZQ\"", "\"\"", "\"\"",
                                  "\"Ashcombe\"", "\"\"", "\"CW\"", "\"80\"", "5", "97", "38",
                                  "\"NA\"", "100", "16711680", "0", "1260", "\"ZQ\"", "0", "0", "0",
                                  "\"None\"", "0", "0"}));

    // --- Second start -------------------------------------------------------------
    frmStationID& again = restart();
    EXPECT_EQ(again.Text[1]->text(), QStringLiteral("K5ZQ"));
    EXPECT_EQ(again.Text[8]->text(), QStringLiteral("Ashcombe"));
    EXPECT_TRUE(again.Option1->isChecked());
    env.prompt().answerMessage(MsgAnswer::Yes);
    QTest::keyClick(again.Text[1], Qt::Key_Return);

    Infrm& w2 = openedLogWindow<Infrm>();
    EXPECT_EQ(w2.Label24->text(), QStringLiteral("80"));
    EXPECT_EQ(w2.Label30->text(), QStringLiteral("CW"));
    EXPECT_EQ(shown(w2, w2.lblsectogo, w2.List3, w2.lblStation(8), w2.lblStation(7)), before);
    EXPECT_EQ(test::listEntries(w2.List1), dx);
    EXPECT_EQ(w2.ListView1->rowCount(), 19);
    EXPECT_EQ(w2.lblttrack->text(), QStringLiteral("00:21:00"));
    closeLogWindow(w2);
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(logFile(), log);
    EXPECT_EQ(prefLines(), prefs);

    EXPECT_EQ(titles(Kind::Input), QStringList{kOffsetTitle});
    EXPECT_EQ(titles(Kind::Message), QStringList({kOpenTitle, kSureTitle, kOpenTitle}));
}
