// The WinKeyer window: WK.txt read and written, Open and Close with their
// texts, the settings sent in their order and by their range rules, Test,
// Stop, and the sender that feeds the buffer to a keyer on a pseudo-terminal.

#include "support/FakeWaveBackend.h"
#include "support/FakeWinKeyer.h"
#include "support/TestEnv.h"
#include "support/KeyingTestSupport.h"
#include "support/RefusedPort.h"
#include "support/WinKeyerTestSupport.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "keying/WinKeyerSettings.h"
#include "keying/frmWinKey.h"
#include "logstore/StationSettings.h"
#include "platform/KeyingPorts.h"
#include "platform/SafeFile.h"
#include "platform/WinKeyer.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// The settings as "Open" sends them with the window's design values and a
// CW speed of 13: 02 0D, 03 32, 04 00 00, 17 32, 09 06, 0E 00.
const char* const kDesignSettings = "020d 0332 040000 1732 0906 0e00";

TEST(WkTxt, DesignValuesWriteAsEightLines)
{
    EXPECT_EQ(formatWinKeyerSettings(WinKeyerSettings{}),
              "0\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n6\r\n0\r\n");
}

TEST(WkTxt, ReadingStopsAtTheFirstMissingOrUnusableValue)
{
    struct Case {
        const char* name;
        QByteArray content;
        int valuesRead;
        bool complete;
        int port, pin, mode;
        const char* ratio;
    } const cases[] = {
        {"full", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\n8\r\n48\r\n", 8, true, 4, 8,
         48, "40"},
        {"LF ends", "4\n\"25\"\n\"60\"\n\"3\"\n\"5\"\n\"40\"\n8\n48\n", 8, true, 4, 8, 48, "40"},
        {"six values", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\n", 6, true, 4, 6, 0,
         "40"},
        {"seven values", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\n5\r\n", 7, true, 4,
         5, 0, "40"},
        {"four values", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n", 4, false, 4, 6, 0, "50"},
        {"port not a byte", "300\r\n\"25\"\r\n", 0, false, 0, 6, 0, "50"},
        {"port not a number", "\"COM4\"\r\n\"25\"\r\n", 0, false, 0, 6, 0, "50"},
        {"pin not a number", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\nx\r\n48\r\n", 6,
         false, 4, 6, 0, "40"},
        {"unclosed quote", "4\r\n\"25\r\n", 1, false, 4, 6, 0, "50"},
        {"empty", "", 0, false, 0, 6, 0, "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WinKeyerSettingsRead r = parseWinKeyerSettings(c.content);
        EXPECT_EQ(r.valuesRead, c.valuesRead);
        EXPECT_EQ(r.complete, c.complete);
        EXPECT_EQ(r.settings.WinKeyerPort, c.port);
        EXPECT_EQ(r.settings.WinKeyerPinConfig, c.pin);
        EXPECT_EQ(r.settings.WinKeyerKeyMode, c.mode);
        EXPECT_EQ(r.settings.txtRatio, c.ratio);
    }
}

class WinKeyWindowTest : public ::testing::Test {
protected:
    TestEnv env;
    KeyingState& ks = KeyingState::instance();
    FakeWinKeyer keyer;

    void SetUp() override
    {
        ASSERT_TRUE(keyer.ok());
        StationSettings::instance().OwnCall = QStringLiteral("W5ABC");
    }

    QString wkPath() const { return Folders::instance().UserDirectory + QStringLiteral("/WK.txt"); }
    void writeWk(const QByteArray& content) const
    {
        QFile f(wkPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readWk() const
    {
        QFile f(wkPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Waits until the keyer has received exactly `want` and nothing more:
    // a marker byte sent afterwards must come right behind it.
    ::testing::AssertionResult keyerGot(const QByteArray& want)
    {
        wk_backspace();
        const QByteArray expected = want + hex("08");
        keyer.waitForBytes(int(expected.size()));
        const QByteArray got = keyer.received();
        keyer.clearReceived();
        if (got == expected)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "got " << got.toHex(' ').toStdString() << ", want "
               << expected.toHex(' ').toStdString();
    }
    // Runs the event loop a little; used to show that nothing happens.
    static void idle(int ms = 100)
    {
        FakeWinKeyer::waitUntil([] { return false; }, ms);
    }
};

TEST_F(WinKeyWindowTest, LoadsDesignValuesAndTheCwSpeedWithoutWkTxt)
{
    DefaultInstance<CWFrm>().Text[11]->setText(QStringLiteral("13"));
    frmWinKey& w = DefaultInstance<frmWinKey>();
    EXPECT_EQ(w.windowTitle(), " WinKey Setup");
    EXPECT_EQ(w.txtWKComPort->text(), "0");
    EXPECT_EQ(w.txtWKWPM->text(), "13");
    EXPECT_EQ(w.txtWeight->text(), "50");
    EXPECT_EQ(w.txtLeadIn->text(), "0");
    EXPECT_EQ(w.txtTail->text(), "0");
    EXPECT_EQ(w.txtRatio->text(), "50");
    EXPECT_TRUE(w.optTone->isChecked());
    EXPECT_TRUE(w.optIambicB->isChecked());
    EXPECT_EQ(ks.WinKeyerPinConfig, 6);
    EXPECT_EQ(ks.WinKeyerKeyMode, 0);
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
    EXPECT_EQ(w.lblVersion->text(), "Version #");
    EXPECT_EQ(w.cmdDone->text(), "&Done");
    EXPECT_EQ(w.optKey5Out3Off->text(), "P5 Key Out, P3 Off");
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("lblArrows")));
}

TEST_F(WinKeyWindowTest, LoadsWkTxtButTakesTheSpeedFromTheCwKeyer)
{
    struct Case {
        const char* name;
        QByteArray file;
        const char* speed, *weight, *lead, *tail, *ratio;
        QRadioButton* frmWinKey::*pin;
        QRadioButton* frmWinKey::*mode;
        int pinValue, modeValue;
    } const cases[] = {
        {"full", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\n8\r\n48\r\n", "13", "60",
         "3", "5", "40", &frmWinKey::optKey5Out3Off, &frmWinKey::optBug, 8, 48},
        {"seven values", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\n4\r\n", "13", "60",
         "3", "5", "40", &frmWinKey::optKey5Off3Out, &frmWinKey::optIambicB, 4, 0},
        // Broken off: the speed box keeps the file's speed.
        {"four values", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n", "25", "60", "3", "0", "50",
         &frmWinKey::optTone, &frmWinKey::optIambicB, 6, 0},
        {"mode unusable", "4\r\n\"25\"\r\n\"60\"\r\n\"3\"\r\n\"5\"\r\n\"40\"\r\n5\r\n999\r\n", "25",
         "60", "3", "5", "40", &frmWinKey::optPTT, &frmWinKey::optIambicB, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowRegistry::unload<frmWinKey>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ks.WinKeyerPort = 0;
        writeWk(c.file);
        DefaultInstance<CWFrm>().Text[11]->setText(QStringLiteral("13"));
        frmWinKey& w = DefaultInstance<frmWinKey>();
        EXPECT_EQ(ks.WinKeyerPort, 4);
        EXPECT_EQ(w.txtWKComPort->text(), "4"); // also from a short file
        EXPECT_EQ(w.txtWKWPM->text(), c.speed);
        EXPECT_EQ(w.txtWeight->text(), c.weight);
        EXPECT_EQ(w.txtLeadIn->text(), c.lead);
        EXPECT_EQ(w.txtTail->text(), c.tail);
        EXPECT_EQ(w.txtRatio->text(), c.ratio);
        EXPECT_TRUE((w.*c.pin)->isChecked());
        EXPECT_TRUE((w.*c.mode)->isChecked());
        EXPECT_EQ(ks.WinKeyerPinConfig, c.pinValue);
        EXPECT_EQ(ks.WinKeyerKeyMode, c.modeValue);
    }
}

TEST_F(WinKeyWindowTest, DoneWritesWkTxtAndHides)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    w.show();
    QTest::keyClicks(w.txtWKComPort, "1a2"); // digits only
    w.txtWKComPort_LostFocus();
    w.txtWKWPM->setText(QStringLiteral("22"));
    w.txtRatio->setText(QStringLiteral("31")); // out of range: kept, not sent
    w.txtLeadIn->setText(QStringLiteral("7"));
    w.optPTT->click();
    w.optUltimatic->click();
    w.cmdDone->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(readWk(), "12\r\n\"22\"\r\n\"50\"\r\n\"7\"\r\n\"0\"\r\n\"31\"\r\n5\r\n32\r\n");
    EXPECT_TRUE(env.prompt().calls().empty());

    // A write that fails is reported and the old file stays whole.
    const QByteArray before = readWk();
    setWriteFaultForTesting([](const QString&) { return true; });
    w.show();
    w.txtWeight->setText(QStringLiteral("70"));
    w.cmdDone_Click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(readWk(), before);
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
    EXPECT_EQ(env.prompt().beeps(), 1);
}

TEST_F(WinKeyWindowTest, OpenSendsTheSettingsInOrderAndClose)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    useFakeKeyerPort(keyer);
    keyer.setVersion(23);
    w.cmdOpenWinkey->click();
    ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return ks.WinKeyerOpen != 0; }));
    EXPECT_EQ(ks.WinKeyerOpen, 23);
    EXPECT_EQ(w.lblOpenStatus->text(), "WK Success!");
    EXPECT_EQ(w.lblVersion->text(), "Version # 23");
    EXPECT_TRUE(keyerGot(hex("000455 0002") + hex(kDesignSettings)));
    EXPECT_TRUE(env.prompt().calls().empty());

    // Already open: nothing shown, nothing sent, the version stays.
    w.cmdOpenWinkey_Click();
    EXPECT_EQ(w.lblOpenStatus->text(), "WK Already Open");
    EXPECT_EQ(ks.WinKeyerOpen, 23);
    EXPECT_TRUE(keyerGot({}));
    EXPECT_TRUE(env.prompt().calls().empty());

    // An option chosen while open sends all the settings again.
    w.optIambicA->click();
    EXPECT_TRUE(keyerGot(hex("020d 0332 040000 1732 0906 0e10")));

    w.cmdCloseWinkey->click();
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
    EXPECT_EQ(w.lblVersion->text(), "Version #");
    EXPECT_EQ(ks.WinKeyerOpen, 0);
    keyer.waitForBytes(2);
    EXPECT_EQ(keyer.received(), hex("0003"));
}

TEST_F(WinKeyWindowTest, FailedOpensShowTheirTextAndOneMessage)
{
    struct Case {
        const char* name;
        std::function<void(FakeWinKeyer&)> setUp;
        const char* status;
    } const cases[] = {
        {"silent", [](FakeWinKeyer& k) { k.setSilent(true); }, "No Echo Response"},
        {"wrong echo", [](FakeWinKeyer& k) { k.setEchoReply(0x54); }, "Echo Mismatch"},
        {"no version", [](FakeWinKeyer& k) { k.setHostOpenSilent(true); }, "No Open Response"},
        {"no device", nullptr, "Com Open Failed"},
    };
    frmWinKey& w = DefaultInstance<frmWinKey>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWinKeyer k;
        useFakeKeyerPort(k, 3);
        if (c.setUp)
            c.setUp(k);
        else
            env.writeWorkFile(QStringLiteral("ComPorts.txt"), "3=/dev/zq-no-such-keyer\n");
        env.prompt().clear();
        w.lblOpenStatus->setText(QStringLiteral("Closed"));
        w.cmdOpenWinkey_Click();
        ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return !env.prompt().calls().empty(); }));
        EXPECT_EQ(w.lblOpenStatus->text(), c.status);
        EXPECT_EQ(ks.WinKeyerOpen, 0);
        EXPECT_EQ(env.prompt().messageTitles(),
                  QStringList{"Unable to establish connection with Winkey."});
        EXPECT_EQ(env.prompt().messageTexts(),
                  QStringList{"Unable to establish connection with WinKey on com port 3.  Please "
                              "check to make sure that you have specified the correct port and "
                              "that the Winkey device is properly connected."});
    }

    const std::pair<long, const char*> texts[] = {
        {0, "WK Success!"},       {-1, "No Echo Response"},  {-2, "Echo Mismatch"},
        {-3, "No Open Response"}, {-4, "Com Open Failed"},   {-5, "Get Com ST Failed"},
        {-6, "Set Com ST Failed"}, {-8, "WK Already Open"},  {-9, "WK Not Open"},
        {-7, ""}};
    for (auto [code, text] : texts)
        EXPECT_EQ(frmWinKey::openResultText(code), text) << code;
}

// A keyer's port the operator may not open: the message says why after its
// own text, naming the device, its group and the fix.
TEST_F(WinKeyWindowTest, ARefusedPortIsReportedWithWhyAndTheFix)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    RefusedPort refused;
    ASSERT_TRUE(refused.ok());
    useFakeKeyerPort(keyer, 3);
    env.writeWorkFile(QStringLiteral("ComPorts.txt"), ("3=" + refused.device() + "\n").toUtf8());
    refused.asRefusedUser([&] { w.cmdOpenWinkey_Click(); });
    EXPECT_EQ(w.lblOpenStatus->text(), "Com Open Failed");
    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList{"Unable to establish connection with Winkey."});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"Unable to establish connection with WinKey on com port 3.  Please check "
                          "to make sure that you have specified the correct port and that the "
                          "Winkey device is properly connected.\n\n"
                          + refusal(refused)});
}

TEST_F(WinKeyWindowTest, LeavingABoxSendsItsValueByItsRange)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    ASSERT_TRUE(openFakeKeyer(keyer));
    using Box = EntryBox* frmWinKey::*;
    using Handler = void (frmWinKey::*)();
    struct Case {
        Box box;
        Handler leave;
        const char* text;
        const char* sent;   // hex
        const char* after;  // the box's text afterwards
    } const cases[] = {
        {&frmWinKey::txtRatio, &frmWinKey::txtRatio_LostFocus, "32", "1720", "32"},
        {&frmWinKey::txtRatio, &frmWinKey::txtRatio_LostFocus, "67", "1743", "67"},
        {&frmWinKey::txtRatio, &frmWinKey::txtRatio_LostFocus, "31", "", "31"},
        {&frmWinKey::txtRatio, &frmWinKey::txtRatio_LostFocus, "68", "", "68"},
        {&frmWinKey::txtRatio, &frmWinKey::txtRatio_LostFocus, "", "", "50"},
        {&frmWinKey::txtWKWPM, &frmWinKey::txtWKWPM_LostFocus, "0", "0200", "0"},
        {&frmWinKey::txtWKWPM, &frmWinKey::txtWKWPM_LostFocus, "99", "0263", "99"},
        {&frmWinKey::txtWKWPM, &frmWinKey::txtWKWPM_LostFocus, "100", "", "100"},
        {&frmWinKey::txtWKWPM, &frmWinKey::txtWKWPM_LostFocus, "x", "", "18"},
        {&frmWinKey::txtWeight, &frmWinKey::txtWeight_LostFocus, "99", "0363", "99"},
        {&frmWinKey::txtWeight, &frmWinKey::txtWeight_LostFocus, "100", "", "100"},
        {&frmWinKey::txtWeight, &frmWinKey::txtWeight_LostFocus, "", "", "50"},
        {&frmWinKey::txtLeadIn, &frmWinKey::txtLeadIn_LostFocus, "255", "04ff00", "255"},
        {&frmWinKey::txtLeadIn, &frmWinKey::txtLeadIn_LostFocus, "256", "", "0"},
        {&frmWinKey::txtTail, &frmWinKey::txtTail_LostFocus, "300", "", "0"},
        {&frmWinKey::txtTail, &frmWinKey::txtTail_LostFocus, "12", "04000c", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string((w.*c.box)->objectName().toStdString()) + " " + c.text);
        (w.*c.box)->setText(QLatin1String(c.text));
        (w.*c.leave)();
        EXPECT_EQ((w.*c.box)->text(), c.after);
        EXPECT_TRUE(keyerGot(hex(c.sent)));
    }

    // The operator's focus moves: the box's own handler runs.
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.txtWeight->setFocus();
    w.txtWeight->setText(QString());
    QTest::keyClicks(w.txtWeight, "4a5");
    QTest::keyClick(w.txtWeight, Qt::Key_Tab);
    EXPECT_EQ(w.txtWeight->text(), "45");
    EXPECT_TRUE(keyerGot(hex("032d")));
}

TEST_F(WinKeyWindowTest, SendingOpensTheKeyerAndFeedsEachCharacterOnce)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    useFakeKeyerPort(keyer);
    w.Command3->click(); // closed: opens first
    ASSERT_TRUE(keyer.waitForBytes(5 + 13 + 17));
    EXPECT_TRUE(keyerGot(hex("000455 0002") + hex(kDesignSettings) + "VVV TEST DE W5ABC"));
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    EXPECT_EQ(ks.CwSendingBusy, 0);

    // XOFF holds the characters back; Test meanwhile appends to the text
    // that waits, without a second sender.
    keyer.send(hex("c5"));
    ASSERT_TRUE(FakeWinKeyer::waitUntil([] { return wk_getstatus() == 5; }));
    ks.CwSendBuffer = QStringLiteral("CQ !\r\x01\u00c4");
    w.WKTransmit();
    idle();
    EXPECT_TRUE(w.transmitting());
    w.Command3_Click();
    EXPECT_TRUE(keyerGot({}));
    keyer.send(hex("c4")); // busy, ready for more
    ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return !w.transmitting(); }));
    // Characters the keyer would take as commands are not sent.
    EXPECT_TRUE(keyerGot("CQ !VVV TEST DE W5ABC"));

    // Stop: the keyer's buffer and the waiting text are dropped.
    keyer.send(hex("c5"));
    ASSERT_TRUE(FakeWinKeyer::waitUntil([] { return wk_getstatus() == 5; }));
    ks.CwSendBuffer = QStringLiteral("TEST");
    w.WKTransmit();
    w.cmdStop->click();
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return !w.transmitting(); }));
    EXPECT_TRUE(keyerGot(hex("0a")));
}

TEST_F(WinKeyWindowTest, KeyerThatDoesNotAnswerDropsTheTextWithOneMessage)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    useFakeKeyerPort(keyer);
    keyer.setSilent(true);
    ks.CwSendBuffer = QStringLiteral("CQ TEST");
    w.WKTransmit();
    w.WKTransmit(); // a second call while opening adds nothing
    ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return !w.transmitting(); }));
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    EXPECT_EQ(env.prompt().messageTexts().size(), 1);
    EXPECT_EQ(w.lblOpenStatus->text(), "No Echo Response");
    EXPECT_EQ(ks.WinKeyerOpen, 0);
    EXPECT_EQ(keyer.received(), hex("000455"));
}

TEST_F(WinKeyWindowTest, UnpluggedKeyerDropsTheWaitingText)
{
    frmWinKey& w = DefaultInstance<frmWinKey>();
    ASSERT_TRUE(openFakeKeyer(keyer));
    keyer.send(hex("c5"));
    ASSERT_TRUE(FakeWinKeyer::waitUntil([] { return wk_getstatus() == 5; }));
    ks.CwSendBuffer = QStringLiteral("CQ TEST");
    w.WKTransmit();
    keyer.unplug();
    ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return ks.WinKeyerOpen == 0; }));
    EXPECT_FALSE(w.transmitting());
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
    EXPECT_EQ(w.lblVersion->text(), "Version #");
}

TEST_F(WinKeyWindowTest, UnloadingClosesTheKeyer)
{
    ASSERT_TRUE(openFakeKeyer(keyer));
    WindowRegistry::unload<frmWinKey>();
    EXPECT_EQ(ks.WinKeyerOpen, 0);
    EXPECT_FALSE(WinKeyerLink::instance().isOpen());
    keyer.waitForBytes(2);
    EXPECT_EQ(keyer.received(), hex("0003"));
}

} // namespace

namespace {

TEST_F(WinKeyWindowTest, OneKeyingPortAtATime)
{
    RecordedKeying lines;
    KeyingPorts& ports = KeyingPorts::instance();
    ASSERT_TRUE(ports.claimLine(KeyingOwner::CwKeyLine, KeyLinePort::serial(2)));

    // Opening the keyer takes the port from the CW key line.
    ASSERT_TRUE(openFakeKeyer(keyer));
    EXPECT_FALSE(ports.holds(KeyingOwner::CwKeyLine));
    EXPECT_TRUE(ports.holds(KeyingOwner::WinKeyer));

    // The voice keyer's push-to-talk taking a port closes the keyer as its
    // "Close" would.
    frmWinKey& w = DefaultInstance<frmWinKey>();
    ASSERT_TRUE(ports.claimLine(KeyingOwner::Ptt, KeyLinePort::serial(2)));
    EXPECT_EQ(ks.WinKeyerOpen, 0);
    EXPECT_EQ(w.lblOpenStatus->text(), "Closed");
    EXPECT_FALSE(WinKeyerLink::instance().isOpen());
    ASSERT_TRUE(keyer.waitForBytes(2));
    EXPECT_EQ(keyer.received(), hex("0003"));
}

// F1 repeated with a delay shorter than the keyer takes to be handed the
// message: the delay runs from the hand-over of its last character, so
// every repetition reaches the keyer whole.
TEST_F(WinKeyWindowTest, TheF1RepeatWaitsForTheWholeMessage)
{
    ASSERT_TRUE(openFakeKeyer(keyer));
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Option5->click();
    const QString message = QStringLiteral("CQ CQ TEST DE W5ABC W5ABC TEST K ").repeated(2).left(60);
    ASSERT_EQ(message.size(), 60);
    cw.Text[1]->setText(message);
    cw.txtCWLoop->setText(QStringLiteral("0.3"));
    cw.txtCWLoop_LostFocus();
    int f1 = 112;
    cw.FKeyCW(f1);
    const bool twice = keyer.waitForBytes(120, 10000);
    ks.CwRepeatActive = 0;
    cw.tmrRepeat->stop();
    ASSERT_TRUE(twice);
    EXPECT_EQ(keyer.received().left(120), (message + message).toLatin1());
}

// A WinKeyer for CW, push-to-talk on the parallel port: the parallel port
// opens no serial port and closes none.
TEST_F(WinKeyWindowTest, AWinKeyerAndParallelPushToTalkKeepBoth)
{
    RecordedKeying lines;
    FakeWaveBackend::Install sound;
    KeyingPorts& ports = KeyingPorts::instance();
    ASSERT_TRUE(openFakeKeyer(keyer));
    frmWinKey& w = DefaultInstance<frmWinKey>();
    const QString status = w.lblOpenStatus->text();
    const uint8_t version = ks.WinKeyerOpen;

    env.writeWorkFile("cq.wav", makeWaveFile(60000, 1000, 1, 8));
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    phone.Text[1]->setText(QStringLiteral("cq.wav"));
    phone.Text[10]->setText(QStringLiteral("0"));
    phone.Option3->setChecked(true);
    int f1 = 112;
    phone.FKeyPhone(f1);
    ASSERT_TRUE(ports.holds(KeyingOwner::PttParallel));
    EXPECT_NE(version, 0);
    EXPECT_EQ(ks.WinKeyerOpen, version);
    EXPECT_TRUE(WinKeyerLink::instance().isOpen());
    EXPECT_EQ(w.lblOpenStatus->text(), status);

    // The keyer still sends while push-to-talk is down.
    ks.CwSendBuffer = QStringLiteral("TEST");
    w.WKTransmit();
    ASSERT_TRUE(FakeWinKeyer::waitUntil([&] { return !w.transmitting(); }));
    EXPECT_TRUE(keyerGot("TEST"));
    FakeWaveBackend::finishAll(sound.world);
    phone.Timer1_Timer();

    // CW on the parallel port leaves a serial push-to-talk port open.
    ASSERT_TRUE(ports.claimLine(KeyingOwner::Ptt, KeyLinePort::serial(4)));
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[11]->setText(QStringLiteral("20"));
    cw.Option3->click();
    cw.Text[1]->setText(QStringLiteral("E"));
    cw.FKeyCW(f1);
    EXPECT_EQ(lines.keyedText(20), "E");
    EXPECT_TRUE(ports.holds(KeyingOwner::Ptt));
    EXPECT_TRUE(ports.holds(KeyingOwner::CwKeyLine));
    EXPECT_TRUE(env.prompt().calls().empty());
}

} // namespace
