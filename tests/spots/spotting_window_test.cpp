// The spotting window for real (offscreen): the source list and the
// controls of each source, the settings file written by Done and read at
// load, and the TNC link against a fake TNC on a pseudo-terminal: what it
// receives for Enter, Esc and Ctrl+C, and what its cluster lines do in the
// receive pane and the log window.

#include "support/FakeRadio.h"
#include "support/LogWindowTestSupport.h"
#include "support/RefusedPort.h"

#include "common/Form1.h"
#include "common/ModalShow.h"
#include "logstore/PositionTables.h"
#include "platform/SafeFile.h"
#include "platform/SerialPort.h"
#include "spots/PacketSpotfrm.h"
#include "spots/SpotStore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QListWidget>

using namespace zq;
using namespace zq::test;

namespace {

const QString kSpot = QStringLiteral(
    "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z\r\n");
const QString kAttempt = QStringLiteral("** Attempting to Open Port **\r\n\r\n");
const QString kTncOpen = QStringLiteral("** TNC Serial Port Open **\r\n\r\n");

QByteArray packSpot(const char* source, int port, int handshake, const char* baud = "9600",
                    const char* power = "N")
{
    return QStringLiteral("\"%1\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n%2\r\n\"%3\"\r\n\"%4\"\r\n0\r\n%5\r\n"
                          "0\r\n#FALSE#\r\n\"03\"\r\n\"\"\r\n\"\"\r\n")
        .arg(QLatin1String(baud))
        .arg(port)
        .arg(QLatin1String(power))
        .arg(QLatin1String(source))
        .arg(handshake)
        .toLatin1();
}

class SpottingWindowTest : public LogWindowTest {
protected:
    std::unique_ptr<FakeRadio> tnc;
    std::vector<QString> modals;

    void SetUp() override
    {
        LogWindowTest::SetUp();
        open(1);
        tnc = std::make_unique<FakeRadio>(FakeRadio::Family::Raw);
        ASSERT_TRUE(tnc->ok());
        tnc->writeComPorts(env.workDir(), 1);
        setModalShowHandlerForTesting([this](QWidget& w) { modals.push_back(w.objectName()); });
        env.prompt().clear();
    }
    void TearDown() override
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setModalShowHandlerForTesting(nullptr);
    }

    static PacketSpotfrm& window() { return DefaultInstance<PacketSpotfrm>(); }
    static void select(const char* source)
    {
        PacketSpotfrm& p = window();
        p.List1->setCurrentItem(p.List1->findItems(QLatin1String(source), Qt::MatchExactly).value(0));
    }
    // Selects the TNC on port 1 and opens it.
    PacketSpotfrm& openTnc()
    {
        PacketSpotfrm& p = window();
        select("TNC");
        p.Command1_Click();
        return p;
    }
    void ticksUntil(const std::function<bool()>& done)
    {
        pumpUntil([&] {
            window().Timer1_Timer();
            return done();
        });
    }
    // Sends cluster text in the given pieces and runs the intake until the
    // last piece's lines are in.
    void deliver(const QStringList& pieces, const std::function<bool()>& until = {})
    {
        for (const QString& piece : pieces) {
            tnc->send(piece.toLatin1());
            pumpFor(5);
            window().Timer1_Timer();
        }
        for (int i = 0; i < 20 && !(until && until()); ++i) {
            pumpFor(5);
            window().Timer1_Timer();
        }
    }
    // A key as the keyboard delivers it to a control.
    static void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods, const QString& text)
    {
        QKeyEvent down(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(w, &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(w, &up);
    }
    static void reload()
    {
        WindowRegistry::unload<PacketSpotfrm>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(SpottingWindowTest, FirstStartWithoutSettingsShowsDesignStateAndOpensNothing)
{
    PacketSpotfrm& p = window();
    EXPECT_EQ(p.windowTitle(), QStringLiteral(" DX Spotting Setup"));
    EXPECT_EQ(listEntries(p.List1),
              (QStringList{"None", "TNC", "Telnet", "AGW Packet Engine"}));
    EXPECT_EQ(p.List1->currentRow(), -1);
    EXPECT_TRUE(p.SpotSource.isEmpty());
    for (QWidget* w : std::initializer_list<QWidget*>{p.Command1, p.Command2, p.txtSent, p.txtHex,
                                                       p.fraPort, p.Frame1, p.txtTelnetHost,
                                                       p.chkConvToHex, p.chkDX, p.Frame2})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QRadioButton* b : {p.optComm(0), p.optBaud192, p.optParityNone, p.optData8, p.optStop1,
                            p.optPowerNone, p.Option1, p.OptBand})
        EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_TRUE(p.paneText().isEmpty());
    EXPECT_TRUE(p.Label4->isHidden());
    EXPECT_FALSE(p.Timer1->isActive());
    p.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.StreamBuffer.buffer(), QStringLiteral("\n"));
}

TEST_F(SpottingWindowTest, EachSourceEnablesItsControlsHelpAndPrompt)
{
    struct Case {
        const char* source;
        const char* prompt;
        bool serial, telnet, send;
    };
    const Case cases[] = {
        {"TNC", "Send text  (Ctrl C or Esc for TNC Command mode):", true, false, true},
        {"Telnet", "Type text to send and press enter:", false, true, true},
        {"AGW Packet Engine", "Send text (use : to send cmds such as :C Brelvox or :D)", false,
         false, true},
        // "None" keeps the previous prompt.
        {"None", "Send text (use : to send cmds such as :C Brelvox or :D)", false, false, false},
    };
    PacketSpotfrm& p = window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        p.chkDX->setEnabled(true);
        p.chkDX->setChecked(true);
        select(c.source);
        EXPECT_EQ(p.SpotSource, QLatin1String(c.source));
        EXPECT_EQ(p.paneText(), spottingHelpText(QLatin1String(c.source)));
        EXPECT_EQ(p.Label6->text(), QLatin1String(c.prompt));
        EXPECT_FALSE(p.chkDX->isChecked());
        EXPECT_EQ(p.fraBaud->isEnabled(), c.serial);
        EXPECT_EQ(p.txtHex->isEnabled(), c.serial);
        EXPECT_EQ(p.txtTelnetHost->isEnabled(), c.telnet);
        EXPECT_EQ(p.txtSent->isEnabled(), c.send);
        EXPECT_EQ(p.Command1->isEnabled(), c.send);
        EXPECT_FALSE(p.chkConvToHex->isEnabled());
        EXPECT_TRUE(p.Label4->isHidden()); // nothing opened
    }
    // The TNC presets; the port and the power line keep their choice.
    p.optComm(4)->setChecked(true);
    p.optPowerDTR->setChecked(true);
    p.optBaud12->setChecked(true);
    p.Option1->setChecked(true);
    p.txtHex->setText(QStringLiteral("1B"));
    select("TNC");
    for (QRadioButton* b : {p.optBaud96, p.optParityNone, p.optData8, p.optStop1, p.Option3,
                            p.optComm(4), p.optPowerDTR})
        EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_EQ(p.txtHex->text(), QStringLiteral("03"));
    EXPECT_FALSE(p.comComm1->isOpen());
}

TEST_F(SpottingWindowTest, ClosePortSourceChangesAndSerialClicks)
{
    PacketSpotfrm& p = openTnc();
    ASSERT_TRUE(p.comComm1->isOpen());
    EXPECT_EQ(p.paneText(), kAttempt + kTncOpen);
    EXPECT_FALSE(p.Label4->isHidden());
    EXPECT_TRUE(p.Timer1->isActive());

    // A serial option click closes the link once; Close Port when closed
    // does nothing.
    QTest::mouseClick(p.optBaud48, Qt::LeftButton);
    EXPECT_FALSE(p.comComm1->isOpen());
    EXPECT_TRUE(p.Label4->isHidden());
    EXPECT_FALSE(p.Timer1->isActive());
    EXPECT_EQ(p.paneText(), kAttempt + kTncOpen + QStringLiteral("\r\n\r\n** Port Closed **"));
    p.Command2_Click();
    EXPECT_EQ(p.paneText(), kAttempt + kTncOpen + QStringLiteral("\r\n\r\n** Port Closed **"));

    // Selecting "None" while open closes, then shows the whole help text.
    p.Command1_Click();
    ASSERT_TRUE(p.comComm1->isOpen());
    select("None");
    EXPECT_FALSE(p.comComm1->isOpen());
    EXPECT_EQ(p.paneText(), spottingHelpText(QStringLiteral("None")));
    EXPECT_FALSE(p.fraPort->isEnabled());

    // Open Port with "None": the notice, nothing else.
    p.Command1_Click();
    EXPECT_EQ(p.paneText(), kAttempt);
    EXPECT_TRUE(p.Label4->isHidden());
}

TEST_F(SpottingWindowTest, ATncThatHangsUpShowsAsAClosedPort)
{
    // The far end of the line goes away (a USB adapter pulled): the port
    // reads end-of-file for ever.  The window closes it as Close Port does
    // instead of reading nothing on every turn of the event loop.
    PacketSpotfrm& p = openTnc();
    deliver({kSpot});
    ASSERT_EQ(p.paneText(), kAttempt + kTncOpen + kSpot);
    tnc->hangUp();
    EXPECT_TRUE(pumpUntil([&] { return !p.comComm1->isOpen(); }));
    EXPECT_TRUE(p.Label4->isHidden());
    EXPECT_FALSE(p.Timer1->isActive());
    EXPECT_EQ(p.paneText(),
              kAttempt + kTncOpen + kSpot + QStringLiteral("\r\n\r\n** Port Closed **"));
    // Open Port tries again and reports the missing device.
    p.Command1_Click();
    EXPECT_FALSE(p.comComm1->isOpen());
    EXPECT_EQ(env.prompt().messageTexts().size(), 1u);
}

TEST_F(SpottingWindowTest, SpotLastFillsTheSendBoxWithThePlaceholderSelected)
{
    PacketSpotfrm& p = window();
    select("TNC");
    p.show();
    QCoreApplication::processEvents();
    QTest::mouseClick(p.Command3, Qt::LeftButton);
    EXPECT_EQ(p.txtSent->text(), QStringLiteral("DX Frequency in kHz "));
    EXPECT_EQ(p.txtSent->selectionStart(), 3);
    EXPECT_EQ(p.txtSent->selectedText(), QStringLiteral("Frequency in kHz"));
    ContactLog& log = ContactLog::instance();
    log[1].LogCall = QStringLiteral("W1AW");
    log.ContactCount = 1;
    p.Command3_Click();
    EXPECT_EQ(p.txtSent->text(), QStringLiteral("DX Frequency in kHz W1AW"));
    EXPECT_EQ(p.paneText(), spottingHelpText(QStringLiteral("TNC"))); // nothing sent
}

TEST_F(SpottingWindowTest, DoneWritesPackSpotByteExactAndTheNextLoadRestoresAndOpens)
{
    PacketSpotfrm& p = openTnc();
    QTest::mouseClick(p.cmdDone, Qt::LeftButton);
    EXPECT_FALSE(p.isVisible());
    EXPECT_TRUE(p.comComm1->isOpen()); // the link keeps running
    EXPECT_EQ(env.readWorkFile(QStringLiteral("PackSpot.txt")), packSpot("TNC", 1, 3));

    reload();
    PacketSpotfrm& q = window();
    EXPECT_EQ(q.sourceText(), QStringLiteral("TNC"));
    EXPECT_TRUE(q.comComm1->isOpen());
    EXPECT_EQ(q.comComm1->settings(), QStringLiteral("9600,N,8,1"));
    EXPECT_EQ(q.comComm1->handshaking(), Handshaking::Rts);
    EXPECT_EQ(q.paneText(), kAttempt + kTncOpen); // not the help text
    for (QRadioButton* b : {q.optComm(0), q.optBaud96, q.optParityNone, q.optData8, q.optStop1,
                            q.optPowerNone, q.Option3, q.OptBand})
        EXPECT_TRUE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_TRUE(q.fraPort->isEnabled());
    EXPECT_EQ(q.LoadingSettings, 0);
    EXPECT_EQ(q.StreamBuffer.buffer(), QStringLiteral("\n"));

    // Done with Telnet: the TNC members stay as collected; the next load
    // opens the Telnet link (its notice) and enables its controls.
    select("Telnet");
    q.txtTelnetHost->setText(QStringLiteral("127.0.0.1"));
    q.txtTelnetPort->setText(QStringLiteral("7300"));
    q.OptList->setChecked(true);
    q.cmdDone_Click();
    QByteArray expected = packSpot("Telnet", 1, 3);
    expected.replace("#FALSE#", "#TRUE#");
    expected.replace("\"\"\r\n\"\"\r\n", "\"7300\"\r\n\"127.0.0.1\"\r\n");
    EXPECT_EQ(env.readWorkFile(QStringLiteral("PackSpot.txt")), expected);
    reload();
    EXPECT_EQ(window().sourceText(), QStringLiteral("Telnet"));
    EXPECT_TRUE(window().OptList->isChecked());
    EXPECT_TRUE(window().txtTelnetHost->isEnabled());
    EXPECT_FALSE(window().fraPort->isEnabled());
    EXPECT_FALSE(window().Label4->isHidden());
    EXPECT_EQ(window().paneText(), QStringLiteral("Attempting connection to: 127.0.0.1:7300\r\n\r\n"));
}

TEST_F(SpottingWindowTest, SettingsFilesNeverCollectedShortOrOddStillLoadSafely)
{
    struct Case {
        QByteArray file;
        const char* listed;   // the selected source, "" none
        bool opened;          // the link's Open Port ran
        bool portOneChosen;
    };
    QByteArray shortFile = packSpot("TNC", 1, 3);
    shortFile.chop(4); // 13 lines
    QByteArray lowerCase = packSpot("tnc", 2, 4, "4800 ", "d");
    const Case cases[] = {
        // Never collected: port and handshaking 0 are passed over.
        {packSpot("AGW Packet Engine", 0, 0, "", ""), "AGW Packet Engine", true, true},
        {shortFile, "", false, true},
        {QByteArray("\"9600\"\r\n\"N\"\r\nnot a number\r\n"), "", false, true},
        {lowerCase, "TNC", false, false}, // opened port 2, which failed
        {QByteArray(100000, 'x'), "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.left(60).toStdString());
        reload();
        env.writeWorkFile(QStringLiteral("PackSpot.txt"), c.file);
        PacketSpotfrm& p = window();
        EXPECT_EQ(p.sourceText(), QLatin1String(c.listed));
        EXPECT_EQ(!p.Label4->isHidden(), c.opened);
        EXPECT_EQ(p.LoadingSettings, 0);
        EXPECT_EQ(p.StreamBuffer.buffer(), QStringLiteral("\n"));
        EXPECT_EQ(p.optComm(0)->isChecked(), c.portOneChosen);
        // The list works afterwards.
        select("Telnet");
        EXPECT_TRUE(p.txtTelnetHost->isEnabled());
    }
    // The lower-case source opened port 2 (a missing device): reported.
    EXPECT_GE(env.prompt().messageTitles().count(QStringLiteral("Invalid Comm Settings.")), 1);
}

TEST_F(SpottingWindowTest, AFailedWriteOfPackSpotIsReportedAndKeepsTheOldFile)
{
    env.writeWorkFile(QStringLiteral("PackSpot.txt"), packSpot("None", 1, 1));
    PacketSpotfrm& p = window();
    p.show();
    setWriteFaultForTesting([](const QString& path) { return path.endsWith("PackSpot.txt"); });
    select("Telnet");
    p.cmdDone_Click();
    setWriteFaultForTesting(nullptr);
    EXPECT_TRUE(env.prompt().messageTitles().contains(QStringLiteral("Error writing file.")));
    EXPECT_EQ(env.readWorkFile(QStringLiteral("PackSpot.txt")), packSpot("None", 1, 1));
    EXPECT_TRUE(p.isVisible());
}

TEST_F(SpottingWindowTest, KeysSendTheCommandCharacterAndTheTypedLine)
{
    PacketSpotfrm& p = openTnc();
    p.show();
    QCoreApplication::processEvents();

    QTest::keyClicks(p.txtSent, QStringLiteral("SH/DX"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(p.txtSent->text().isEmpty());
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); // a lone CR
    struct Key {
        const char* hex;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        QByteArray sent;
    };
    const Key keys[] = {
        {"03", Qt::Key_Escape, Qt::NoModifier, QByteArray(1, 3)},
        {"1B", Qt::Key_C, Qt::ControlModifier, QByteArray(1, 27)},
        {"FF", Qt::Key_Escape, Qt::ShiftModifier, QByteArray(1, char(0xFF))},
        {"", Qt::Key_Escape, Qt::NoModifier, QByteArray()},   // not a number: nothing
        {"03", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, QByteArray()},
    };
    for (const Key& k : keys) {
        p.txtHex->setText(QLatin1String(k.hex));
        press(p.List1, k.key, k.mods, k.key == Qt::Key_Escape ? QStringLiteral("\x1b") : QStringLiteral("\x03"));
    }
    pumpUntil([&] { return tnc->receivedBytes().size() >= 10; });
    pumpFor(50);
    EXPECT_EQ(tnc->receivedBytes(), QByteArray("SH/DX\r\r\x03\x1b\xff", 10));

    // Esc while closed and not listening opens the port first.
    p.Command2_Click();
    p.txtHex->setText(QStringLiteral("03"));
    tnc->clearRecord();
    press(p.txtSent, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_TRUE(p.comComm1->isOpen());
    pumpUntil([&] { return !tnc->receivedBytes().isEmpty(); });
    EXPECT_EQ(tnc->receivedBytes(), QByteArray(1, 3));

    // Characters without a single-byte form never enter the send box.
    p.txtSent->clear();
    for (const char16_t c : {u'A', u'\u20ac', u'B'})
        press(p.txtSent, c == u'A' ? Qt::Key_A : c == u'B' ? Qt::Key_B : Qt::Key_unknown,
              Qt::NoModifier, QString(QChar(c)));
    EXPECT_EQ(p.txtSent->text(), QStringLiteral("AB"));
}

TEST_F(SpottingWindowTest, EscWithTheAgwSourceTypesAColonAndEnterWithNoneOpensOnly)
{
    PacketSpotfrm& p = window();
    select("AGW Packet Engine");
    press(p.txtSent, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_EQ(p.txtSent->text(), QStringLiteral(":"));
    EXPECT_TRUE(tnc->receivedBytes().isEmpty());

    select("None");
    p.txtSent->setEnabled(true);
    p.txtSent->setText(QStringLiteral("hello"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(p.paneText(), kAttempt);
    EXPECT_TRUE(p.txtSent->text().isEmpty());
    pumpFor(30);
    EXPECT_TRUE(tnc->receivedBytes().isEmpty());
}

TEST_F(SpottingWindowTest, ClusterLinesInOddChunksReachThePaneAndTheLogWindowOnce)
{
    PacketSpotfrm& p = openTnc();
    const QString second = QStringLiteral(
        "dx de K1TTT:      7005.5  DL1XYZ       CW                             1235Z\r\n");
    const QString notice = QStringLiteral("To ALL de K1TTT: band open\r\n");
    const QString all = kSpot + notice + kSpot + second + QStringLiteral("\xe9 Latin-1 \xff\r\n");
    QStringList pieces;
    for (qsizetype i = 0, n = 1; i < all.size(); i += n, n = n % 37 + 3)
        pieces << all.mid(i, n);
    deliver(pieces);
    EXPECT_EQ(p.paneText(), kAttempt + kTncOpen + kSpot + notice + second
                                + QStringLiteral("\xe9 Latin-1 \xff\r\n"));
    const SpotStore& s = SpotStore::instance();
    EXPECT_EQ(s.SpotCall[49], QStringLiteral("DL1XYZ"));
    EXPECT_EQ(s.SpotCall[48], QStringLiteral("JA1ABC"));
    EXPECT_TRUE(s.SpotCall[47].isEmpty()); // the repeat was dropped
    EXPECT_EQ(DefaultInstance<Outfrm>().txtDX->topLevelItemCount(), 2);

    // chkDX ticked: other lines are neither shown nor remembered.
    p.chkDX->setChecked(true);
    const qsizetype before = p.paneText().size();
    deliver({QStringLiteral("Chat line\r\n")});
    EXPECT_EQ(p.paneText().size(), before);
}

TEST_F(SpottingWindowTest, ControlCharactersFromTheClusterNeverReachThePane)
{
    // A NUL would end the pane's text for a screen reader; an escape shows
    // as a box.  Both are dropped, CR and LF kept, a tab shown as a blank,
    // and a repeat that differs only in them is still a repeat.
    PacketSpotfrm& p = openTnc();
    const QString spot = QStringLiteral(
        "DX de W3LPL:     14025.0  JA1ABC       CW 599\t                       1234Z\r\n");
    QString dirty = spot;
    dirty.insert(12, QChar(0));
    deliver({QStringLiteral("Chat\0line \x1b[1mbold\x7f\r\n"), dirty, spot});
    const QString shown = QStringLiteral("Chatline [1mbold\r\n") + QString(spot).replace(u'\t', u' ');
    EXPECT_EQ(p.paneText(), kAttempt + kTncOpen + shown);
    EXPECT_TRUE(p.txtUnProcessed->toPlainText().endsWith(
        QString(shown).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    EXPECT_EQ(DefaultInstance<Outfrm>().txtDX->topLevelItemCount(), 1);
}

TEST_F(SpottingWindowTest, FirstShowingWithoutSettingsSelectsNoSourceAndShowsNoHelp)
{
    // The list takes the focus with nothing selected; that is no choice of
    // "None", so the pane stays empty and no help text shows.
    PacketSpotfrm& p = window();
    p.show();
    QApplication::setActiveWindow(&p);
    p.List1->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(p.paneText().isEmpty());
    EXPECT_TRUE(p.txtUnProcessed->toPlainText().isEmpty());
    EXPECT_TRUE(p.SpotSource.isEmpty());
    EXPECT_TRUE(p.List1->selectedItems().isEmpty());
    EXPECT_FALSE(p.Command1->isEnabled());

    // A click on "None" is a choice.
    QListWidgetItem* none = p.List1->item(0);
    QTest::mouseClick(p.List1->viewport(), Qt::LeftButton, {},
                      p.List1->visualItemRect(none).center());
    EXPECT_EQ(p.SpotSource, "None");
    EXPECT_EQ(p.paneText(), spottingHelpText(QStringLiteral("None")));
}

TEST_F(SpottingWindowTest, PaneIsCutAt10001AndAStreamWithoutLineEndsStaysBounded)
{
    PacketSpotfrm& p = openTnc();
    // Unique lines of 100 characters, then one that makes the pane 10001
    // characters long: it is cut to its last 9000.
    int n = 0;
    auto line = [&](qsizetype length) {
        return QStringLiteral("line %1 ").arg(n++).leftJustified(length - 2, u'.')
               + QStringLiteral("\r\n");
    };
    while (10001 - p.paneText().size() > 200)
    {
        const QString next = line(100);
        deliver({next}, [&] { return p.paneText().endsWith(next); });
    }
    const QString last = line(10001 - p.paneText().size());
    deliver({last}, [&] { return p.paneText().endsWith(last); });
    EXPECT_EQ(p.paneText().size(), 9000);
    EXPECT_TRUE(p.paneText().endsWith(last));
    EXPECT_EQ(p.txtUnProcessed->textCursor().position(),
              p.txtUnProcessed->document()->characterCount() - 2); // caret before the end

    // 100 000 characters without LF, then a spot line: memory stays flat
    // and the spot is taken.
    QString flood(100000, u'z');
    for (int i = 0; i < 50; ++i) {
        tnc->send(flood.mid(i * 2000, 2000).toLatin1());
        pumpFor(5);
        for (int t = 0; t < 4; ++t)
            p.Timer1_Timer();
        EXPECT_LE(p.StreamBuffer.buffer().size(), SpotStream::MaxLine + 2);
    }
    deliver({QStringLiteral("\n") + kSpot});
    EXPECT_EQ(SpotStore::instance().SpotCall[49], QStringLiteral("JA1ABC"));
}

TEST_F(SpottingWindowTest, AnOpenFailureBeepsReportsAndClosesWithoutReenteringTheTick)
{
    PacketSpotfrm& p = window();
    select("TNC");
    p.optComm(6)->setChecked(true); // port 7: no such device
    float counter = -1;
    setModalShowHandlerForTesting([&](QWidget& w) {
        modals.push_back(w.objectName());
        p.Timer1_Timer(); // a tick inside the modal wait does nothing
        counter = p.LabelUpdateTimeCounter;
    });
    p.Command1_Click();
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid Comm Settings."});
    EXPECT_EQ(env.prompt().messageTexts().value(0),
              QStringLiteral("The comm port that you selected for DX Spotting is either in use, "
                             "invalid or the settings that you have selected are invalid.  Please "
                             "select another combination or choose None for your DX Spot "
                             "selection."));
    EXPECT_EQ(modals, std::vector<QString>{"PacketSpotfrm"}); // shown, since it was hidden
    EXPECT_EQ(counter, 0.0f);
    EXPECT_EQ(p.paneText(), kAttempt + QStringLiteral("** Unable to open TNC Serial Port **\r\n\r\n"
                                                      "\r\n\r\n** Port Closed **"));
    EXPECT_TRUE(p.Label4->isHidden());
    EXPECT_FALSE(p.Timer1->isActive());
}

// A TNC port the operator may not open: the message says why after its own
// text, naming the device, its group and the fix; the pane says what it
// says of any port that does not open.
TEST_F(SpottingWindowTest, ARefusedPortIsReportedWithWhyAndTheFix)
{
    PacketSpotfrm& p = window();
    select("TNC");
    RefusedPort refused;
    ASSERT_TRUE(refused.ok());
    env.writeWorkFile("ComPorts.txt", ("7=" + refused.device() + "\n").toUtf8());
    p.optComm(6)->setChecked(true);
    refused.asRefusedUser([&] { p.Command1_Click(); });
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid Comm Settings."});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"The comm port that you selected for DX Spotting is either in use, "
                          "invalid or the settings that you have selected are invalid.  Please "
                          "select another combination or choose None for your DX Spot "
                          "selection.\n\n"
                          + refusal(refused)});
    EXPECT_TRUE(p.paneText().contains("** Unable to open TNC Serial Port **"));
}

// The saved TNC's adapter is unplugged: each load fails to open it and
// shows the window modally, and the operator presses Done there.  Done
// reaches the spotting window again (the log window's spot area asks it
// for the chosen display); that must be the window being loaded, never a
// second one built beside it.
TEST_F(SpottingWindowTest, DoneInsideAFailingLoadReachesTheWindowBeingLoaded)
{
    env.writeWorkFile(QStringLiteral("PackSpot.txt"), packSpot("TNC", 2, 1)); // no such device
    int donePresses = 0;
    setModalShowHandlerForTesting([&](QWidget& w) {
        modals.push_back(w.objectName());
        auto* p = qobject_cast<PacketSpotfrm*>(&w);
        if (!p || donePresses >= 3)
            return;
        ++donePresses;
        p->show();
        QTest::mouseClick(p->cmdDone, Qt::LeftButton);
    });
    auto spottingWindows = [] {
        QList<PacketSpotfrm*> found;
        for (QWidget* w : QApplication::allWidgets())
            if (auto* p = qobject_cast<PacketSpotfrm*>(w))
                found << p;
        return found;
    };

    for (int load = 1; load <= 3; ++load) {
        SCOPED_TRACE(load);
        reload();
        donePresses = 0;
        modals.clear();
        PacketSpotfrm& p = window();
        const QList<PacketSpotfrm*> all = spottingWindows();
        EXPECT_EQ(all, QList<PacketSpotfrm*>{&p});
        EXPECT_EQ(modals.size(), 1u); // one showing, one Done
        EXPECT_EQ(donePresses, 1);
        EXPECT_FALSE(p.isVisible()); // Done hid it
        EXPECT_TRUE(p.Label4->isHidden());
        EXPECT_FALSE(p.comComm1->isOpen());
        for (PacketSpotfrm* stray : all) // only a failed run leaves any
            if (stray != &p)
                delete stray;
    }
    EXPECT_EQ(env.readWorkFile(QStringLiteral("PackSpot.txt")), packSpot("TNC", 2, 1));
}

TEST_F(SpottingWindowTest, TheTickRefreshesTheBandMapEvery361TicksWhileItIsShown)
{
    PacketSpotfrm& p = window();
    select("Telnet");
    DefaultInstance<Form1>().lblDX->show();
    for (int i = 0; i < 360; ++i)
        p.Timer1_Timer();
    EXPECT_EQ(p.LabelUpdateTimeCounter, 360.0f);
    p.Timer1_Timer();
    EXPECT_EQ(p.LabelUpdateTimeCounter, 0.0f);
}

// ---------------------------------------------------------------------------
// The Telnet link against a cluster on the loopback interface.

#include <QTcpServer>
#include <QTcpSocket>

namespace {

class FakeCluster {
public:
    FakeCluster()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll(); });
            peer->write("Please enter your call: ");
        });
    }
    quint16 port() const { return server.serverPort(); }
    void send(const QByteArray& b)
    {
        peer->write(b);
        peer->flush();
    }

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;
};

class TelnetLinkTest : public SpottingWindowTest {
protected:
    FakeCluster cluster;

    PacketSpotfrm& connectTo(quint16 port, const QString& host = QStringLiteral("127.0.0.1"))
    {
        PacketSpotfrm& p = window();
        select("Telnet");
        p.txtTelnetHost->setText(host);
        p.txtTelnetPort->setText(QString::number(port));
        p.Command1_Click();
        return p;
    }
    static QString prefix(quint16 port)
    {
        return QStringLiteral("Attempting connection to: 127.0.0.1:%1\r\n\r\n").arg(port);
    }
};

} // namespace

TEST_F(TelnetLinkTest, LoginSpotsInAnyChunkingAndTheTypedLine)
{
    PacketSpotfrm& p = connectTo(cluster.port());
    EXPECT_EQ(p.paneText(), prefix(cluster.port()));
    EXPECT_TRUE(p.Timer1->isActive());
    ASSERT_TRUE(pumpUntil([&] { return p.paneText().endsWith(QStringLiteral("call: ")); }));

    p.txtSent->setText(QStringLiteral("N0CALL"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_TRUE(pumpUntil([&] { return cluster.received == "N0CALL\r\n"; }));

    const QString second = QStringLiteral(
        "DX de K1TTT:      7005.5  DL1XYZ       CW                             1235Z\r\n");
    const QByteArray stream =
        (QStringLiteral("Hello N0CALL\r\n") + kSpot + second + kSpot + QStringLiteral("keep-alive\r\n"))
            .toLatin1();
    for (qsizetype i = 0, n = 7; i < stream.size(); i += n, n = n % 29 + 5) {
        cluster.send(stream.mid(i, n));
        pumpFor(3);
    }
    ASSERT_TRUE(pumpUntil([&] { return p.paneText().endsWith(QStringLiteral("keep-alive\r\n")); }));
    // Everything shows as it came; every spot line is handed on, repeats too.
    EXPECT_EQ(p.paneText(), prefix(cluster.port()) + QStringLiteral("Please enter your call: ")
                                + QString::fromLatin1(stream));
    const SpotStore& s = SpotStore::instance();
    EXPECT_EQ(s.SpotCall[49], QStringLiteral("JA1ABC"));
    EXPECT_EQ(s.SpotCall[48], QStringLiteral("DL1XYZ"));
    EXPECT_EQ(DefaultInstance<Outfrm>().txtDX->topLevelItemCount(), 3);

    // "List DX Only": only the spot lines show.
    p.chkDX->setChecked(true);
    const QString before = p.paneText();
    cluster.send(("chat\r\n" + second + "more chat\r\n").toLatin1());
    ASSERT_TRUE(pumpUntil([&] { return p.paneText().size() > before.size(); }));
    pumpFor(30);
    EXPECT_EQ(p.paneText(), before + second);

    // Enter with an empty box sends CR LF alone.
    cluster.received.clear();
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_TRUE(pumpUntil([&] { return cluster.received == "\r\n"; }));
    EXPECT_EQ(env.prompt().beeps(), 0);
}

TEST_F(TelnetLinkTest, ASpotLineEndedByALineFeedAloneFillsTheSpotListAsOneEndedByCrLf)
{
    PacketSpotfrm& p = connectTo(cluster.port());
    ASSERT_TRUE(pumpUntil([&] { return p.paneText().endsWith(QStringLiteral("call: ")); }));
    const QString crlf = QStringLiteral(
        "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z\r\n");
    QString lf = crlf;
    lf.replace(QStringLiteral("JA1ABC"), QStringLiteral("DL1XYZ"))
        .replace(QStringLiteral("14025.0"), QStringLiteral("14027.0"))
        .chop(2);
    lf += u'\n';
    cluster.send(("\r\n" + crlf + lf).toLatin1());
    QTreeWidget* list = DefaultInstance<Outfrm>().txtDX;
    ASSERT_TRUE(pumpUntil([&] { return list->topLevelItemCount() == 2; }));
    QTreeWidgetItem* a = list->findItems(QStringLiteral("JA1ABC"), Qt::MatchExactly).value(0);
    QTreeWidgetItem* b = list->findItems(QStringLiteral("DL1XYZ"), Qt::MatchExactly).value(0);
    ASSERT_TRUE(a && b);
    for (int column = 2; column < list->columnCount(); ++column) {
        EXPECT_FALSE(b->text(column).contains(u'\n')) << column;
        EXPECT_EQ(b->text(column), a->text(column)) << column;
    }
    EXPECT_TRUE(b->text(7).isEmpty()); // "From": the line's columns 76 to 79
}

TEST_F(TelnetLinkTest, FailuresAreReportedOnceAndClose)
{
    const QString closed = QStringLiteral("\r\n\r\n** Port Closed **");
    // The cluster closes the connection.
    {
        PacketSpotfrm& p = connectTo(cluster.port());
        ASSERT_TRUE(pumpUntil([&] { return cluster.peer != nullptr; }));
        cluster.send(("\r\n" + kSpot).toLatin1());
        cluster.peer->close();
        ASSERT_TRUE(pumpUntil([&] { return p.Label4->isHidden(); }));
        pumpFor(50);
        EXPECT_EQ(p.paneText(), prefix(cluster.port()) + QStringLiteral("Please enter your call: \r\n")
                                    + kSpot + QStringLiteral("ERROR: The connection is reset by remote side.!")
                                    + closed);
        EXPECT_EQ(SpotStore::instance().SpotCall[49], QStringLiteral("JA1ABC"));
        EXPECT_EQ(env.prompt().beeps(), 1);
        EXPECT_FALSE(p.Timer1->isActive());
    }
    // Refused: nothing listens on the port.
    {
        QTcpServer gone;
        gone.listen(QHostAddress::LocalHost);
        const quint16 port = gone.serverPort();
        gone.close();
        PacketSpotfrm& p = connectTo(port);
        ASSERT_TRUE(pumpUntil([&] { return p.Label4->isHidden(); }));
        pumpFor(50);
        EXPECT_EQ(p.paneText(),
                  prefix(port) + QStringLiteral("ERROR: Connection is forcefully rejected.") + closed);
        EXPECT_EQ(env.prompt().beeps(), 2);
    }
    // No port, or no host: the invalid-value report, and no "Listening".
    for (const char* port : {"", "70000", "x1"}) {
        PacketSpotfrm& p = window();
        p.txtTelnetPort->setText(QLatin1String(port));
        p.Command1_Click();
        EXPECT_EQ(p.paneText(), kAttempt + QStringLiteral("ERROR: The property value is invalid.") + closed);
        EXPECT_TRUE(p.Label4->isHidden());
    }
    // Our own close reports nothing.
    PacketSpotfrm& p = connectTo(cluster.port());
    ASSERT_TRUE(pumpUntil([&] { return p.Winsock1->state() == QAbstractSocket::ConnectedState; }));
    const int beeps = env.prompt().beeps();
    p.Command2_Click();
    pumpFor(50);
    EXPECT_TRUE(p.paneText().endsWith(closed));
    EXPECT_FALSE(p.paneText().contains(QStringLiteral("ERROR")));
    EXPECT_EQ(env.prompt().beeps(), beeps);
}

TEST_F(TelnetLinkTest, EnterBeforeTheConnectionStandsTellsToWait)
{
    PacketSpotfrm& p = window();
    select("Telnet");
    p.txtTelnetHost->setText(QStringLiteral("127.0.0.1"));
    p.txtTelnetPort->setText(QString::number(cluster.port()));
    p.txtSent->setText(QStringLiteral("N0CALL"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); // opens, then sends
    EXPECT_EQ(p.paneText(), prefix(cluster.port())
                                + QStringLiteral("**  Connection not yet established.  Please wait a "
                                                 "moment and try again.\r\n\r\n"));
    EXPECT_TRUE(p.txtSent->text().isEmpty());
}

TEST(SocketErrorText, TableAndOtherNumbers)
{
    EXPECT_EQ(winsockErrorText(10060), winsockErrorText(10058));
    EXPECT_EQ(winsockErrorText(10060), QStringLiteral("ERROR: Socket has been shut down."));
    EXPECT_EQ(winsockErrorText(11001),
              QStringLiteral("ERROR: Authoritative answer: Host not found."));
    EXPECT_EQ(winsockErrorText(10059), QStringLiteral("Error number 10059"));
    EXPECT_EQ(winsockErrorText(10050), QStringLiteral("ERROR: Network subsystem failed."));
}

// ---------------------------------------------------------------------------
// The AGW Packet Engine link against a fake engine on the loopback interface.

#include "support/FakeAgwEngine.h"

namespace {

class AgwLinkTest : public SpottingWindowTest {
protected:
    FakeAgwEngine engine;

    void SetUp() override
    {
        SpottingWindowTest::SetUp();
        engine.useForLink();
    }
    void TearDown() override
    {
        SpottingWindowTest::TearDown();
        AgwEngine::setEndpointForTesting(QString(), 0);
    }
    PacketSpotfrm& registered()
    {
        PacketSpotfrm& p = window();
        select("AGW Packet Engine");
        p.Command1_Click();
        EXPECT_TRUE(pumpUntil([&] { return p.Timer1->isActive(); }));
        // The registration and the monitoring request have reached the
        // engine, on a busy machine too, before a test counts what follows.
        EXPECT_TRUE(pumpUntil([&] { return engine.received().size() >= 2; }));
        return p;
    }
    void frame(char kind, const char* from, const char* to, const QByteArray& data)
    {
        engine.sendFrame(FakeAgwEngine::frame(kind, from, to, data));
    }
    // Runs ticks until the pane stops growing.
    void settle()
    {
        for (int i = 0; i < 10; ++i) {
            pumpFor(5);
            window().Timer1_Timer();
        }
    }
    std::vector<AgwFrame> sentAfter(size_t n) const
    {
        return std::vector<AgwFrame>(engine.received().begin() + static_cast<long>(n),
                                     engine.received().end());
    }
};

const QString kAgwOk = QStringLiteral("\r\n** Successfully connected to AGW Packet Engine **\r\n\r\n");

} // namespace

TEST_F(AgwLinkTest, RegistersMonitorsSpotsAndShowsOtherFrames)
{
    PacketSpotfrm& p = registered();
    EXPECT_EQ(p.paneText(), kAttempt + kAgwOk);
    ASSERT_GE(engine.received().size(), 2u);
    EXPECT_EQ(engine.received()[0].kind, 'X');
    EXPECT_EQ(engine.received()[0].callFrom, QByteArray("K9XYZ"));
    EXPECT_EQ(engine.received()[1].kind, 'm');

    // A monitored UI frame: header line, then a spot line; CR line ends.
    const QByteArray ui = "1:Fm W3LPL To DX <UI pid=F0 Len=70>\r" + kSpot.toLatin1().replace("\r\n", "\r");
    frame('U', "W3LPL", "DX", ui);
    settle();
    EXPECT_EQ(p.paneText(), kAttempt + kAgwOk + kSpot);
    EXPECT_EQ(SpotStore::instance().SpotCall[49], QStringLiteral("JA1ABC"));
    // Again within 800 characters: dropped.  With CR LF line ends: taken.
    frame('U', "W3LPL", "DX", ui);
    const QString second = QStringLiteral(
        "DX de K1TTT:      7005.5  DL1XYZ       CW                             1235Z\r\n");
    frame('U', "K1TTT", "DX", "1:Fm K1TTT To DX <UI>\r\n" + second.toLatin1());
    settle();
    EXPECT_EQ(p.paneText(), kAttempt + kAgwOk + kSpot + second);
    EXPECT_EQ(SpotStore::instance().SpotCall[48], QStringLiteral("JA1ABC"));
    EXPECT_EQ(SpotStore::instance().SpotCall[49], QStringLiteral("DL1XYZ"));

    // Other monitored frames show as kind, call, blank, data, every time;
    // one with "DX " inside does not show.
    const QString before = p.paneText();
    frame('U', "N1ABC", "ID", "beacon\rtext");
    frame('U', "N1ABC", "ID", "beacon\rtext");
    frame('U', "N1ABC", "CQ", "hdr\rsee DX spots");
    settle();
    EXPECT_EQ(p.paneText(), before + QStringLiteral("UN1ABC beacon\r\ntext").repeated(2));
}

TEST_F(AgwLinkTest, ConnectSendDisconnectAndClose)
{
    PacketSpotfrm& p = registered();
    const size_t start = engine.received().size();
    p.show();
    p.txtSent->setText(QStringLiteral(":c node"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    p.txtSent->setText(QStringLiteral(":x whatever"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(p.txtSent->text().isEmpty());
    ASSERT_TRUE(pumpUntil([&] { return engine.received().size() >= start + 1; }));
    pumpFor(30);
    std::vector<AgwFrame> sent = sentAfter(start);
    ASSERT_EQ(sent.size(), 1u); // 'C' to NODE; "P" sends nothing
    EXPECT_EQ(sent[0].kind, 'C');
    EXPECT_EQ(sent[0].callTo, QByteArray("NODE"));
    EXPECT_EQ(sent[0].callFrom, QByteArray("K9XYZ"));

    // The engine reports the connection.
    frame('C', "NODE", "K9XYZ", "*** CONNECTED With Station NODE\r");
    settle();
    EXPECT_EQ(p.ConnectedCall, QStringLiteral("NODE"));
    EXPECT_EQ(p.windowTitle(), QStringLiteral("DX Spotting Setup - Connected to NODE"));
    EXPECT_TRUE(p.paneText().endsWith(QStringLiteral("** Connected to NODE **")));

    // Text to the station; its spot lines arrive cut across frames.
    p.txtSent->setText(QStringLiteral("SH/DX"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_TRUE(pumpUntil([&] { return engine.received().size() >= start + 2; }));
    EXPECT_EQ(engine.received().back().kind, 'D');
    EXPECT_EQ(engine.received().back().data, QByteArray("SH/DX\r"));
    const QByteArray lines = (kSpot + kSpot).toLatin1();
    frame('D', "NODE", "K9XYZ", lines.left(30));
    frame('D', "NODE", "K9XYZ", lines.mid(30, 70));
    frame('D', "NODE", "K9XYZ", lines.mid(100));
    settle();
    EXPECT_EQ(SpotStore::instance().SpotCall[49], QStringLiteral("JA1ABC"));
    EXPECT_TRUE(SpotStore::instance().SpotCall[48].isEmpty());
    EXPECT_EQ(p.paneText().count(QStringLiteral("JA1ABC")), 1);

    // :D asks; Close Port sends 'd' and unregisters.
    p.txtSent->setText(QStringLiteral(":D"));
    press(p.txtSent, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_TRUE(pumpUntil([&] { return engine.received().back().kind == 'd'; }));
    EXPECT_EQ(engine.received().back().callTo, QByteArray("NODE"));
    const size_t beforeClose = engine.received().size();
    p.Command2_Click();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("DX Spotting Setup"));
    EXPECT_TRUE(p.ConnectedCall.isEmpty());
    ASSERT_TRUE(pumpUntil([&] { return engine.received().size() >= beforeClose + 2; }));
    sent = sentAfter(beforeClose);
    EXPECT_EQ(sent[0].kind, 'd');
    EXPECT_EQ(sent[1].kind, 'x');
}

TEST_F(AgwLinkTest, DisconnectFrameAndWordWrap)
{
    PacketSpotfrm& p = registered();
    frame('C', "NODE", "K9XYZ", "*** CONNECTED With Station NODE\r");
    settle();
    ASSERT_EQ(p.ConnectedCall, QStringLiteral("NODE"));
    const int beeps = env.prompt().beeps();
    frame('C', "OTHER", "K9XYZ", "*** CONNECTED With Station OTHER\r"); // ignored
    frame('d', "OTHER", "K9XYZ", "*** DISCONNECTED From Station OTHER\r"); // ignored
    settle();
    EXPECT_EQ(p.ConnectedCall, QStringLiteral("NODE"));

    // A 71st character that is a blank sends the line without it.
    const size_t start = engine.received().size();
    p.txtSent->setText(QString(70, u'a'));
    EXPECT_EQ(p.txtSent->text().size(), 70);
    p.txtSent->setText(QString(70, u'a') + u' ');
    EXPECT_TRUE(p.txtSent->text().isEmpty());
    ASSERT_TRUE(pumpUntil([&] { return engine.received().size() > start; }));
    EXPECT_EQ(engine.received().back().data, QByteArray(70, 'a') + '\r');

    frame('d', "NODE", "K9XYZ", "*** DISCONNECTED From Station NODE\r");
    settle();
    EXPECT_TRUE(p.ConnectedCall.isEmpty());
    EXPECT_EQ(p.windowTitle(), QStringLiteral("DX Spotting Setup"));
    EXPECT_TRUE(p.paneText().endsWith(QStringLiteral("\r\n** Disconnected from NODE **\r\n")));
    EXPECT_EQ(env.prompt().beeps(), beeps + 2);
}

TEST_F(AgwLinkTest, RefusalMissingCallAndALostEngineCloseTheLink)
{
    // Refused.
    engine.registration = FakeAgwEngine::Registration::Refuse;
    PacketSpotfrm& p = window();
    select("AGW Packet Engine");
    p.Command1_Click();
    ASSERT_TRUE(pumpUntil([&] { return p.Label4->isHidden(); }));
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to connect to the AGW Packet Engine."});
    EXPECT_TRUE(p.paneText().endsWith(QStringLiteral("- Click Open from this program.\r\n\r\n")));
    EXPECT_FALSE(p.Timer1->isActive());
    EXPECT_TRUE(p.isVisible());

    // A blank or over-long own call: nothing registered.
    for (const char* own : {"   ", "K9XYZ/PORTABLE"}) {
        env.prompt().clear();
        st.OwnCall = QLatin1String(own);
        p.Command1_Click();
        pumpFor(30);
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Call Sign Required!"});
        EXPECT_FALSE(p.Timer1->isActive());
    }

    // The engine goes away: Close Port.
    st.OwnCall = QStringLiteral("K9XYZ");
    engine.registration = FakeAgwEngine::Registration::Accept;
    p.Command1_Click();
    ASSERT_TRUE(pumpUntil([&] { return p.Timer1->isActive(); }));
    engine.dropClient();
    ASSERT_TRUE(pumpUntil([&] { return p.Label4->isHidden(); }));
    EXPECT_TRUE(p.paneText().endsWith(QStringLiteral("** Port Closed **")));
    EXPECT_FALSE(p.Timer1->isActive());

    // A header announcing an absurd length: Close Port.
    p.Command1_Click();
    ASSERT_TRUE(pumpUntil([&] { return p.Timer1->isActive(); }));
    QByteArray header(36, '\0');
    header[4] = 'U';
    header[28] = '\xff';
    header[29] = '\xff';
    header[30] = '\xff';
    header[31] = '\x7f';
    engine.sendRaw(header);
    ASSERT_TRUE(pumpUntil([&] { return p.Label4->isHidden(); }));
    EXPECT_FALSE(p.Timer1->isActive());

    // No engine at all: the same report as a refusal.
    env.prompt().clear();
    QTcpServer gone;
    gone.listen(QHostAddress::LocalHost);
    AgwEngine::setEndpointForTesting(QStringLiteral("127.0.0.1"), gone.serverPort());
    gone.close();
    p.Command1_Click();
    ASSERT_TRUE(pumpUntil([&] { return p.Label4->isHidden(); }));
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to connect to the AGW Packet Engine."});
}

TEST_F(AgwLinkTest, UnloadWhileConnectedDisconnectsAndUnregisters)
{
    PacketSpotfrm& p = registered();
    frame('C', "NODE", "K9XYZ", "*** CONNECTED With Station NODE\r");
    settle();
    ASSERT_EQ(p.ConnectedCall, QStringLiteral("NODE"));
    const size_t start = engine.received().size();
    reload();
    ASSERT_TRUE(pumpUntil([&] { return engine.received().size() >= start + 2; }));
    const std::vector<AgwFrame> sent = sentAfter(start);
    EXPECT_EQ(sent[0].kind, 'd');
    EXPECT_EQ(sent[0].callTo, QByteArray("NODE"));
    EXPECT_EQ(sent[1].kind, 'x');
}

// ---------------------------------------------------------------------------
// Control characters in a spot, over each link, as far as the log.

#include "rig/RigTuning.h"

namespace {

// C0 but CR and LF, DEL, C1.
bool holdsControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\r' && u != u'\n') || (u >= 0x7F && u <= 0x9F);
    });
}

// A cluster spot line by its columns, CR LF ended.
QString spotLine(const QString& kHz, const QString& call, const QString& comment)
{
    return QStringLiteral("DX de W3LPL:").leftJustified(15) + kHz.rightJustified(9)
           + QStringLiteral("  ") + call.leftJustified(13) + comment.leftJustified(30)
           + QStringLiteral("1234Z\r\n");
}

class AnyLinkTest : public SpottingWindowTest {
protected:
    FakeCluster cluster;
    FakeAgwEngine engine;

    void SetUp() override
    {
        SpottingWindowTest::SetUp();
        engine.useForLink();
        setRigFrequencyChangerForTesting([](float) {});
    }
    void TearDown() override
    {
        SpottingWindowTest::TearDown();
        AgwEngine::setEndpointForTesting(QString(), 0);
        setRigFrequencyChangerForTesting(nullptr);
    }

    // Opens a link and sends `bytes` over it.
    void sendOverTnc(const QByteArray& bytes)
    {
        select("TNC");
        window().Command1_Click();
        tnc->send(bytes);
    }
    void sendOverTelnet(const QByteArray& bytes)
    {
        PacketSpotfrm& p = window();
        select("Telnet");
        p.txtTelnetHost->setText(QStringLiteral("127.0.0.1"));
        p.txtTelnetPort->setText(QString::number(cluster.port()));
        p.Command1_Click();
        ASSERT_TRUE(pumpUntil([&] { return cluster.peer != nullptr; }));
        cluster.send("\r\n" + bytes);
    }
    // Opens the packet engine link, registered and monitoring.
    void openAgw()
    {
        PacketSpotfrm& p = window();
        select("AGW Packet Engine");
        const size_t before = engine.received().size();
        p.Command1_Click();
        ASSERT_TRUE(pumpUntil([&] { return p.Timer1->isActive(); }));
        ASSERT_TRUE(pumpUntil([&] { return engine.received().size() >= before + 2; }));
    }
};

} // namespace

// A spot whose call and comment carry a NUL, a DEL, an escape, C1 codes
// and a tab reaches the log window over the TNC, Telnet and the packet
// engine: the pane, the spot list's cells, the band-map label and its
// details and the call field that a right click on the label fills hold
// none of them (the tab is a blank), and the contact is logged with the
// call as the cluster meant it.
TEST_F(AnyLinkTest, ControlCharactersOfASpotReachNoWindowNorTheLog)
{
    struct Case {
        const char* link;
        const char* call;
        const char* kHz;
        std::function<void(const QByteArray& line)> deliver;
    };
    PacketSpotfrm& p = window();
    const Case cases[] = {
        {"TNC", "G4ABC", "14025.0", [&](const QByteArray& line) { sendOverTnc(line); }},
        {"Telnet", "W9ABC", "14031.0", [&](const QByteArray& line) { sendOverTelnet(line); }},
        {"AGW Packet Engine", "K1ABC", "14037.0",
         [&](const QByteArray& line) {
             openAgw();
             engine.sendFrame(FakeAgwEngine::frame('U', "W3\x7fLPL", "DX",
                                                   "1:Fm W3LPL To DX <UI>\r"
                                                       + QByteArray(line).replace("\r\n", "\r")));
         }},
    };
    LogWindow& w = DefaultInstance<Outfrm>();
    p.OptBand->setChecked(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        const QString call = QLatin1String(c.call);
        const QString clean =
            spotLine(QLatin1String(c.kHz), call, QStringLiteral("CW 599 up 2"));
        // The call and the comment as a noisy link delivers them.
        QString dirty = clean;
        dirty.replace(call, call.left(2) + QChar(0x7F) + call.mid(2, 1) + QChar(0x9B)
                                + call.mid(3, 1) + QChar(0) + call.mid(4));
        dirty.replace(QStringLiteral("CW 599 up 2"),
                      QStringLiteral("CW") + QChar(1) + QStringLiteral(" 599") + QChar(0x85)
                          + QChar(0x1B) + QStringLiteral(" up\t2"));
        ASSERT_NE(dirty, clean);

        const int rows = w.txtDX->topLevelItemCount();
        c.deliver(dirty.toLatin1());
        DefaultInstance<Form1>().PacketResize(); // the band map of the chosen source
        ASSERT_FALSE(w.lblDX->isHidden());
        ASSERT_TRUE(pumpUntil([&] {
            p.Timer1_Timer();
            return w.txtDX->topLevelItemCount() > rows;
        }));
        QApplication::processEvents(); // the band map draws after the event

        EXPECT_TRUE(p.paneText().contains(QString(clean).chopped(2))) << p.paneText().toStdString();
        EXPECT_FALSE(holdsControlCharacter(p.paneText()));
        EXPECT_FALSE(holdsControlCharacter(p.txtUnProcessed->toPlainText()));

        const QStringList row = listRow(w.txtDX, 0);
        EXPECT_EQ(row.value(0), call);
        EXPECT_EQ(row.value(4), QStringLiteral("de W3LPL:  CW 599 up 2"));
        for (const QString& cell : row)
            EXPECT_FALSE(holdsControlCharacter(cell)) << cell.toStdString();

        QLabel* label = w.lblDXSpot(SpotStore::Newest);
        ASSERT_FALSE(label->isHidden());
        EXPECT_EQ(label->text(), call.left(2));
        EXPECT_TRUE(label->toolTip().startsWith(call + QStringLiteral("  "))) << label->toolTip().toStdString();
        EXPECT_FALSE(holdsControlCharacter(label->toolTip()));

        // Taken into the entry row by a right click, and logged.
        QTest::mouseClick(label, Qt::RightButton);
        EXPECT_EQ(w.txtCall->text(), call);
        QApplication::processEvents(); // the queued Tab
        w.txtSec->setFocus();
        QTest::keyClicks(w.txtSec, QStringLiteral("Alderbrook"));
        QTest::keyClick(w.txtSec, Qt::Key_Return);
        EXPECT_TRUE(logFile().contains("\r\n\"" + call.toLatin1() + "\",")
                    || logFile().startsWith("\"" + call.toLatin1() + "\","))
            << logFile().toStdString();
        EXPECT_FALSE(holdsControlCharacter(QString::fromUtf8(logFile())));
        p.Command2_Click();
    }
}

// Spot columns stand where the cluster wrote them, one character a byte,
// over every link (the packet engine also as Dire Wolf serves it: a blank
// before the header, a time stamp, a NUL after the text).  A control
// character inside the call or the spotter moves no character into the
// call, the comment or the time; a line that ends inside the call leaves
// no line end in it, so a later spot of the call replaces it.  Read back:
// the spot list's cells, the band-map label and its details, the call a
// right click puts into the entry row, and the log.
TEST_F(AnyLinkTest, SpotColumnsStandWhereTheClusterWroteThem)
{
    env.seedDataFile(QStringLiteral("arrlpre2.txt"));
    ASSERT_EQ(LoadCountryTable(), TableLoad::Ok);
    PacketSpotfrm& p = window();
    LogWindow& w = DefaultInstance<Outfrm>();
    p.OptBand->setChecked(true);

    // Each line in a monitored frame of its own, as the packet engine sends
    // it: the engine's header line, then the text.
    const auto agwFrames = [&](const QByteArray& lines, bool direWolf) {
        for (QByteArray line : lines.split('\n')) {
            line.replace("\r", "");
            if (line.isEmpty())
                continue;
            const QByteArray data =
                direWolf ? " 1:Fm K1TTT To DX <UI pid=F0 Len=" + QByteArray::number(line.size() + 1)
                               + " >[12:34:56]\r" + line + '\r' + QByteArray(1, '\0')
                         : "1:Fm K1TTT To DX <UI>\r" + line + '\r';
            engine.sendFrame(FakeAgwEngine::frame('U', "K1TTT", "DX", data));
        }
    };
    struct Link {
        const char* name;
        char tag; // ends every call sent over the link
        std::function<void(const QByteArray& lines)> deliver;
    };
    const Link links[] = {
        {"TNC", 'T', [&](const QByteArray& lines) { sendOverTnc(lines); }},
        {"Telnet", 'N', [&](const QByteArray& lines) { sendOverTelnet(lines); }},
        {"AGW Packet Engine", 'A',
         [&](const QByteArray& lines) {
             openAgw();
             agwFrames(lines, false);
         }},
        {"AGW Packet Engine as Dire Wolf serves it", 'D',
         [&](const QByteArray& lines) {
             openAgw();
             agwFrames(lines, true);
         }},
    };
    struct Spot {
        const char* name;
        const char* spotter;
        const char* call; // as the cluster wrote it, without the link's letter
        const char* comment;
        const char* listed; // the call as listed and logged
        const char* country;
        const char* comments; // the list's cell
    };
    const Spot spots[] = {
        {"DEL in the call", "K1TTT", "G4\x7f" "AB", "del in call", "G4AB", "England",
         "de K1TTT:  del in call"},
        {"C1 code in the call", "K1TTT", "K7\x85XY", "CQ", "K7XY", "USA",
         "de K1TTT:  CQ"},
        {"BEL in the spotter", "JA1\aXX", "JA7CT", "big signal", "JA7CT", "Japan",
         "de JA1XX:  big signal"},
    };
    // Spotter and colon in 1-15, kHz right-aligned in 16-24, call 27-39,
    // comment 40-70, time 71-75, counted in bytes as a cluster pads them.
    const auto clusterLine = [](const QByteArray& spotter, const QByteArray& kHz,
                                const QByteArray& call, const QByteArray& comment,
                                const QByteArray& time) {
        return ("DX de " + spotter + ':').leftJustified(15) + kHz.rightJustified(9) + "  "
               + call.leftJustified(13) + comment.leftJustified(31) + time + "\r\n";
    };
    int kHz = 14010;
    for (const Link& link : links) {
        SCOPED_TRACE(link.name);
        const auto withTag = [&](const char* call) { return QByteArray(call) + link.tag; };
        QByteArray lines;
        for (const Spot& s : spots)
            lines += clusterLine(s.spotter, QByteArray::number(kHz++) + ".0", withTag(s.call),
                                 s.comment, "1326Z");
        // A line that ends inside the call, then a whole spot of that call.
        const QByteArray shortCall = withTag("JA1AB");
        lines += "DX de W3LPL:     " + QByteArray::number(kHz++) + ".0  " + shortCall + "\r\n";
        lines += clusterLine("W3LPL", QByteArray::number(kHz++) + ".0", shortCall, "", "1327Z");

        const int rows = w.txtDX->topLevelItemCount();
        link.deliver(lines);
        DefaultInstance<Form1>().PacketResize(); // the band map of the chosen source
        ASSERT_FALSE(w.lblDX->isHidden());
        ASSERT_TRUE(pumpUntil([&] {
            p.Timer1_Timer();
            return w.txtDX->topLevelItemCount() >= rows + 5;
        }));
        QApplication::processEvents(); // the band map draws after the event
        EXPECT_FALSE(holdsControlCharacter(p.paneText()));
        EXPECT_EQ(w.txtDX->topLevelItemCount(), rows + 5);

        // The labels that show `call`.
        const auto labelsOf = [&](const QString& call) {
            std::vector<QLabel*> out;
            for (const auto& [i, label] : w.lblDXSpot)
                if (!label->isHidden() && label->toolTip().startsWith(call + QStringLiteral("  ")))
                    out.push_back(label);
            return out;
        };
        // Newest first: the whole spot of the short line's call, the short
        // line, then the spots in reverse.
        const QString shortListed = QString::fromLatin1(shortCall);
        EXPECT_EQ(listRow(w.txtDX, 0).value(0), shortListed);
        EXPECT_EQ(listRow(w.txtDX, 0).value(6), QStringLiteral("1327"));
        EXPECT_EQ(listRow(w.txtDX, 1).value(0), shortListed);
        EXPECT_EQ(listRow(w.txtDX, 1).value(4), QStringLiteral("de W3LPL:  "));
        EXPECT_EQ(labelsOf(shortListed).size(), 1u); // the later spot replaced it

        for (int i = 0; i < 3; ++i) {
            const Spot& s = spots[2 - i];
            SCOPED_TRACE(s.name);
            const QString call = QLatin1String(s.listed) + QLatin1Char(link.tag);
            const QStringList row = listRow(w.txtDX, 2 + i);
            EXPECT_EQ(row.value(0), call);
            EXPECT_EQ(row.value(2), QLatin1String(s.country));
            EXPECT_EQ(row.value(4), QLatin1String(s.comments));
            EXPECT_EQ(row.value(6), QStringLiteral("1326"));
            for (const QString& cell : row)
                EXPECT_FALSE(holdsControlCharacter(cell)) << cell.toStdString();

            const std::vector<QLabel*> labels = labelsOf(call);
            ASSERT_EQ(labels.size(), 1u);
            EXPECT_EQ(labels[0]->text(), CallPrefix(call));
            EXPECT_FALSE(holdsControlCharacter(labels[0]->toolTip()));

            // Taken into the entry row by a right click, and logged.
            QTest::mouseClick(labels[0], Qt::RightButton);
            EXPECT_EQ(w.txtCall->text(), call);
            QApplication::processEvents(); // the queued Tab
            w.txtSec->setFocus();
            QTest::keyClicks(w.txtSec, QStringLiteral("Alderbrook"));
            QTest::keyClick(w.txtSec, Qt::Key_Return);
            EXPECT_TRUE(logFile().contains("\"" + call.toLatin1() + "\",")) << logFile().toStdString();
        }
        p.Command2_Click();
    }
    EXPECT_FALSE(holdsControlCharacter(QString::fromLatin1(logFile())));
}
