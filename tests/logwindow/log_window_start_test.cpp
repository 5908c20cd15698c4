// Starting and closing the log window in both variants: the design, the
// start sequence from the saved settings, the open-existing-log question,
// the closing sequence and Exit, and the failures that end the program.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "common/Form1.h"
#include "common/ProgramEnd.h"
#include "entry/ContestTotals.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "keying/KeyingState.h"
#include "logstore/CountyTable.h"
#include "logstore/SectionTable.h"
#include "rig/RigControlfrm.h"

#include <QHeaderView>
#include <QListWidget>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace zq;
using namespace zq::test;

namespace {

QStringList headers(QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->columnCount(); ++i)
        out << list->headerItem()->text(i);
    return out;
}

QStringList headers(ContactListView* list)
{
    QStringList out;
    for (int i = 0; i < list->columnCount(); ++i)
        out << list->rows().headerText(i);
    return out;
}

} // namespace

TEST_F(LogWindowTest, OutOfStateWindowStartsFittedWithItsDesign)
{
    writeLog();
    LogWindow& w = start(1);

    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brelvox's ZQ State QSO Party Contest Log 2.1"));
    EXPECT_FALSE(WindowRegistry::isLoaded<Infrm>());
    const QSizeF screen = screenTwips(&w);
    const TwipsRect r = formTwips(w);
    EXPECT_NEAR(r.Width, screen.width(), 30);
    EXPECT_NEAR(r.Height, screen.height(), 30);
    EXPECT_NEAR(r.Left, 0, 30);

    EXPECT_EQ(headers(w.ListView1), QStringList({"Rec#", "Call", "Rec", "County", "Snt",
                                                 "Date/Time", "Mo", "Bnd"}));
    EXPECT_NEAR(w.ListView1->header()->sectionSize(1), twipsToPixelsX(r.Width / 9600 * 1200, &w), 1);
    EXPECT_EQ(headers(w.txtDX), QStringList({"Call", "Frequency", "QTH", "Status", "Comments",
                                             "Prefix", "Time", "From"}));
    EXPECT_EQ(w.txtDX->header()->sectionSize(3), 0);
    EXPECT_TRUE(w.txtDX->isHidden());
    EXPECT_TRUE(w.lblDX->isHidden());

    EXPECT_EQ(w.lblDialog->text(), QStringLiteral("Select a band and mode. Click Log \"Time On\" below!"));
    EXPECT_TRUE(w.Label3->isHidden());
    EXPECT_TRUE(w.cmdEdit->isHidden());
    EXPECT_TRUE(w.cmdDelete->isHidden());
    EXPECT_TRUE(w.txtCntry->isHidden());
    EXPECT_TRUE(w.Label19->isHidden());
    EXPECT_EQ(w.Label2->text(), QStringLiteral("K9XYZ"));
    EXPECT_EQ(w.Label25->text(), QStringLiteral("IL"));
    EXPECT_EQ(w.lblStation(4)->text(), QStringLiteral("County"));
    EXPECT_EQ(EntryState::instance().PartialDupeDisplayFlag, 1);

    struct Limit {
        EntryBox* box;
        int chars;
    };
    for (const Limit& l : {Limit{w.txtCall, 12}, Limit{w.txtRSTR, 8}, Limit{w.txtCntry, 30},
                           Limit{w.txtSec, 20}, Limit{w.txtRSTS, 3}, Limit{w.txtPostConTime, 5},
                           Limit{w.txtPostConDate, 10}})
        EXPECT_EQ(l.box->typedLimit(), l.chars) << l.box->objectName().toStdString();

    EXPECT_EQ(w.Timer1->interval(), 60000);
    EXPECT_EQ(w.Timer2->interval(), 1000);
    EXPECT_TRUE(w.Timer1->isActive() && w.Timer2->isActive());

    // The question came after the county table was loaded, and Yes kept
    // the log: five contacts, 2 + 2 + 3 + 3 + 3 points.
    EXPECT_EQ(env.prompt().messageTitles(), QStringList({"Open existing log?"}));
    EXPECT_EQ(CountyTable::instance().count(), 77);
    EXPECT_EQ(ContactLog::instance().ContactCount, 5);
    const ContestTotals& t = ContestTotals::instance();
    EXPECT_EQ(t.QsoPoints, 13);
    EXPECT_EQ(t.PhoneContactCount, 2);
    EXPECT_EQ(t.CwContactCount, 1);
    EXPECT_EQ(t.DigitalContactCount, 2);
}

TEST_F(LogWindowTest, InStateWindowBuildsItsGridAndRoverColumn)
{
    for (uint8_t rover : {0, 1}) {
        freshRun();
        st.RoverFlag = rover;
        st.OwnCall.clear();
        LogWindow& w = start(0);
        auto& in = static_cast<Infrm&>(w);
        ASSERT_EQ(in.objectName(), QStringLiteral("Infrm"));
        EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());

        QStringList expected{"Rec#", "Call", "Rec", "SPC", "County", "Snt", "Date/Time", "Mo", "Bnd"};
        if (rover == 1)
            expected << "County Sent";
        EXPECT_EQ(headers(in.ListView1), expected);
        EXPECT_EQ(in.mnuChangeCounty->isEnabled(), rover == 1);

        EXPECT_EQ(in.lblDialog->text(), QStringLiteral("Select a band, mode and Click Log \"Time On\"!"));
        EXPECT_EQ(in.lblStation(4)->text(), QStringLiteral("ZQ County"));
        EXPECT_EQ(in.txtSec->toolTip(),
                  QStringLiteral("Enter ZQ in the St / Prv / Country field to enable the County field"));
        EXPECT_EQ(in.Label25->text(), QStringLiteral("Alderbrook"));
        EXPECT_EQ(in.Label2->text(), QString()); // the own call is copied even when empty
        EXPECT_EQ(in.txtRSTR->typedLimit(), 6);
        EXPECT_EQ(in.mnuDigital->text(), QStringLiteral("&DG"));

        ASSERT_EQ(in.Label10.count(), 59);
        EXPECT_EQ(in.Label10(25)->text(), QStringLiteral("ZQ"));
        EXPECT_EQ(in.Label10(25)->toolTip(), QStringLiteral("Carvonia"));
        EXPECT_EQ(in.Label10(59)->text(), QStringLiteral("NL"));
        EXPECT_EQ(SectionTable::instance().SectionCode[51], QStringLiteral("MR"));

        // The window font is bold; the status line and the grid are not,
        // the grid's headings are.
        EXPECT_TRUE(in.font().bold());
        EXPECT_FALSE(in.lblDialog->font().bold());
        EXPECT_EQ(in.lblDialog->font().family(), QStringLiteral("Arial"));
        EXPECT_FALSE(in.Label10(25)->font().bold());
        EXPECT_EQ(in.Label10(25)->font().family(), QStringLiteral("MS Serif"));
        EXPECT_TRUE(in.lblSecFive->font().bold());
    }
}

TEST_F(LogWindowTest, MenusOfBothVariantsWithNamesCaptionsAndAvailability)
{
    struct Item {
        const char* name;
        const char* caption;
        bool outEnabled;
        bool inEnabled;
    };
    const Item items[] = {
        {"mnuFile", "&File", true, true},
        {"mnuNew", "&New", true, true},
        {"mnuArchive", "Archive Current &Log", true, true},
        {"mnuRestore", "&Restore from Archive or Backup", true, true},
        {"mnuOpen", "&Open", false, false},
        {"mnuWriteSumm", "&Write Submission File", true, true},
        {"mnuLogvaneImport", "E&xport for Logvane Import", false, false},
        {"mnuexportADIF", "Export &ADIF File", true, true},
        {"mnuCopyListtoClipboard", "&Copy Listed Items to Clipboard", true, true},
        {"mnuExit", "&Exit", true, true},
        {"mnuOptions", "&Options", true, true},
        {"mnuAppearance", "&Appearance", true, true},
        {"mnuFormSize", "&Form Size", true, true},
        {"mnuColors", "&Colors", false, true},
        {"mnuTaskbar", "&Taskbar", true, true},
        {"mnutrans", "&Transmit", true, true},
        {"mnuCW", "&CW Setup", true, true},
        {"mnuVoice", "&Voice Setup", true, true},
        {"mnuRigInterface", "&Rig Interface", true, true},
        {"mnuDX", "&DX Spotting", true, true},
        {"mnuDXSpotting", "&Configure", true, true},
        {"mnuSpectrumMap", "&View Spectrum Map", true, true},
        {"mnuBlind", "&Voice Navigation", true, true},
        {"mnuListPrevious", "&List Previous Contacts", true, true},
        {"mnuPostContest", "&Post Contest Mode", true, true},
        {"mnuBandChange", "&Band", true, true},
        {"mnuBand160Ch", "160", true, true},
        {"mnuBand6Ch", "6", true, true},
        {"mnuPrivileges", "&Privileges", true, true},
        {"mnuBand", "&Mode", true, true},
        {"mnu160", "&CW", true, true},
        {"mnuSSB", "&PH", true, true},
        {"mnuClear", "&Clear", true, true},
        {"mnuMap", "M&ap", true, true},
        {"mnuGraph", "&Graph", true, true},
        {"mnuRecall", "&Recall", true, true},
        {"mnuCountyList", "L&ist", true, true},
        {"mnuHelp", "&Help", true, true},
    };
    Outfrm out;
    Infrm in;
    for (const Item& i : items) {
        QAction* o = find(out, i.name);
        QAction* n = find(in, i.name);
        ASSERT_TRUE(o && n) << i.name;
        EXPECT_EQ(o->text(), QString::fromUtf8(i.caption)) << i.name;
        EXPECT_EQ(n->text(), QString::fromUtf8(i.caption)) << i.name;
        EXPECT_EQ(o->isEnabled(), i.outEnabled) << i.name;
        EXPECT_EQ(n->isEnabled(), i.inEnabled) << i.name;
    }
    EXPECT_EQ(find(out, "mnuDigital")->text(), QStringLiteral("&Digital"));
    ASSERT_TRUE(find(out, "mnuSetup"));
    EXPECT_FALSE(find(out, "mnuSetup")->isEnabled());
    EXPECT_EQ(find(in, "mnuSetup"), nullptr);
    EXPECT_EQ(find(out, "mnuChangeCounty"), nullptr);
    EXPECT_EQ(find(in, "mnuChangeCounty")->text(), QStringLiteral("Cha&nge County"));
}

TEST_F(LogWindowTest, SavedBandAndModeSetTheMenusWithoutChangingTheValues)
{
    struct Case {
        const char* band;
        const char* mode;
        const char* bandItem; // "" when none is checked
        const char* label24;
        const char* modeItem;
    };
    const Case cases[] = {
        {"40", "PH", "mnuBand40Ch", "40", "mnuSSB"},
        {"6", "dg", "mnuBand6Ch", "6", "mnuDigital"},
        {"2", "", "", "160", "mnu160"},
        {"", "CW", "", "160", "mnu160"},
    };
    const char* bandItems[] = {"mnuBand160Ch", "mnuBand80Ch", "mnuBand40Ch", "mnuBand20Ch",
                               "mnuBand15Ch", "mnuBand10Ch", "mnuBand6Ch"};
    for (const Case& c : cases) {
        freshRun();
        st.CurrentBand = QString::fromLatin1(c.band);
        st.CurrentMode = QString::fromLatin1(c.mode);
        LogWindow& w = start(1);
        for (const char* item : bandItems)
            EXPECT_EQ(find(w, item)->isChecked(), qstrcmp(item, c.bandItem) == 0) << c.band << item;
        EXPECT_EQ(w.Label24->text(), QString::fromLatin1(c.label24));
        EXPECT_EQ(w.Label30->text(), QString::fromLatin1(c.mode));
        for (const char* item : {"mnu160", "mnuSSB", "mnuDigital"})
            EXPECT_EQ(find(w, item)->isChecked(), qstrcmp(item, c.modeItem) == 0) << c.mode << item;
        EXPECT_EQ(st.CurrentBand, QString::fromLatin1(c.band));
    }
}

TEST_F(LogWindowTest, NoStartsANewLogOnlyAfterYes)
{
    // Anything but YES keeps and loads the log.
    writeLog();
    env.prompt().answerMessage(MsgAnswer::No);
    env.prompt().answerInput(QStringLiteral("no"));
    LogWindow& kept = start(1);
    EXPECT_EQ(ContactLog::instance().ContactCount, 5);
    EXPECT_TRUE(kept.cmdEdit->isHidden());
    EXPECT_TRUE(backups().isEmpty());

    freshRun();
    writeLog();
    env.prompt().answerMessage(MsgAnswer::No);
    env.prompt().answerInput(QStringLiteral("yes"));
    LogWindow& fresh = start(1);
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), QByteArray());
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 0);
    EXPECT_EQ(backups().size(), 1); // the erased log was kept first
    EXPECT_TRUE(fresh.cmdDelete->isHidden());
}

TEST_F(LogWindowTest, RigPollingStartsUnlessTheRigTypeIsNone)
{
    for (const char* rig : {"none", "Icom IC-7300"}) {
        freshRun();
        // Port 1 has no device here: the test never touches real hardware.
        env.writeWorkFile(QStringLiteral("ComPorts.txt"), "1=" + env.workPath("no-such-tty").toLocal8Bit());
        st.RigType = QString::fromLatin1(rig);
        start(1);
        EXPECT_EQ(WindowRegistry::isLoaded<RigControlfrm>(), qstrcmp(rig, "none") != 0) << rig;
    }
}

TEST_F(LogWindowTest, ClosingBacksUpAChangedLogAndSavesTheOperatingTime)
{
    writeLog();
    LogWindow& w = start(1);
    DefaultInstance<RigControlfrm>();
    DefaultInstance<Form1>();

    // One more contact than was loaded.
    ContactLog& log = ContactLog::instance();
    log[++log.ContactCount] = contact(QStringLiteral("W9IJ"), QStringLiteral("Ashcombe"), QStringLiteral("CW"));
    ASSERT_TRUE(AppendLogFile());
    LogOnState::instance().LoggedOnFlag = 1;
    LogOnState::instance().OperatingSeconds = 3725;

    // Refused while CW is being sent; the unsent text is dropped.
    KeyingState::instance().CwSendBuffer = QStringLiteral("CQ TEST");
    KeyingState::instance().CwSendingBusy = 1;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(KeyingState::instance().CwSendBuffer.isEmpty());
    EXPECT_FALSE(programEnded());
    EXPECT_TRUE(backups().isEmpty());

    KeyingState::instance().CwSendingBusy = 0;
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(WindowRegistry::isLoaded<RigControlfrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Form1>());
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 0);
    EXPECT_EQ(savedSettings().AccumulatedOperatingSeconds, 3725);
}

TEST_F(LogWindowTest, ClosingWhileLoggedOffSavesNothingAndAnUnchangedLogIsNotBackedUp)
{
    writeLog();
    LogWindow& w = start(1);
    env.writeWorkFile(QStringLiteral("QSOpref.txt"), "marker");
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_EQ(env.readWorkFile(QStringLiteral("QSOpref.txt")), QByteArray("marker"));
}

TEST_F(LogWindowTest, ExitSavesTheOperatingTimeButWritesNoBackup)
{
    writeLog();
    LogWindow& w = start(0);
    ContactLog& log = ContactLog::instance();
    log[++log.ContactCount] = contact(QStringLiteral("W9IJ"), QStringLiteral("Ashcombe"), QStringLiteral("CW"));
    ASSERT_TRUE(AppendLogFile());
    LogOnState::instance().LoggedOnFlag = 1;
    LogOnState::instance().OperatingSeconds = 90;
    KeyingState::instance().CwSendingBusy = 1; // nothing refuses Exit

    w.mnuExit->trigger();
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_EQ(savedSettings().AccumulatedOperatingSeconds, 90);
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 0);
}

TEST_F(LogWindowTest, MissingCountyTableEndsTheProgramBeforeTheLogIsTouched)
{
    writeLog();
    const QByteArray before = env.readWorkFile(QStringLiteral("log.txt"));
    QFile::remove(env.workPath(QStringLiteral("county2.txt")));
    LogWindow& w = start(1);

    ASSERT_EQ(env.prompt().messageTexts().size(), 1);
    EXPECT_TRUE(env.prompt().messageTexts()[0].contains(QStringLiteral("county2.txt")));
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(w.logLoaded());
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    // The columns and menus were set before the failing step.
    EXPECT_EQ(w.ListView1->columnCount(), 8);

    // Whatever happens to the window afterwards, nothing of the log is written.
    LogOnState::instance().LoggedOnFlag = 1;
    ContactLog::instance().ContactCount = 3;
    w.close();
    w.mnuExit->trigger();
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), before);
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_FALSE(QFile::exists(env.workPath(QStringLiteral("QSOpref.txt"))));
}

TEST_F(LogWindowTest, DamagedLogEndsTheProgramAfterItsMessage)
{
    env.writeWorkFile(QStringLiteral("log.txt"), "\"W1AW\",\"59\"\r\n");
    st.RigType = QStringLiteral("Icom IC-7300");
    LogWindow& w = start(1);
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(env.prompt().messageTitles().last(), QStringLiteral("File Error"));
    EXPECT_FALSE(w.logLoaded());
    EXPECT_FALSE(WindowRegistry::isLoaded<RigControlfrm>()); // no polling after a failed load
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), QByteArray("\"W1AW\",\"59\"\r\n"));
}

TEST_F(LogWindowTest, MouseOverTheBareWindowClearsThePossibleDuplicates)
{
    LogWindow& w = start(1);
    QWidget* surface = w.centralWidget();
    auto move = [&](QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), surface->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &e);
    };
    w.lblDupe->setText(QStringLiteral("W1AW 20 CW"));
    move(w.txtCall->geometry().center()); // over a control: kept
    EXPECT_EQ(w.lblDupe->text(), QStringLiteral("W1AW 20 CW"));
    move(QPoint(1, 1));
    EXPECT_EQ(w.lblDupe->text(), QString());
}
