// The log window's own keys, whatever control has the focus: Ctrl
// shortcuts, the voice and CW function keys, the CW speed arrows,
// keyboard-CW mode, Esc, Backspace while sending, and the quote characters.

#include "support/FakeWaveBackend.h"
#include "support/KeyingTestSupport.h"
#include "support/LogWindowTestSupport.h"
#include "support/WinKeyerTestSupport.h"

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "platform/WaveDevice.h"
#include "platform/WinKeyer.h"
#include "rig/RigControlfrm.h"
#include "rig/frmBandPlan.h"
#include "rig/frmRigTune.h"
#include "spots/PacketSpotfrm.h"
#include "spots/BandMapWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace zq;
using namespace zq::test;

namespace {

QColor background(const QLabel* l)
{
    return l->palette().color(QPalette::Window);
}

class KeyMapTest : public LogWindowTest {
protected:
    KeyingState& ks = KeyingState::instance();
    RecordedKeying rec; // what the CW keyer keys

    // What was keyed since the last call, as text.
    QString keyed()
    {
        const QString text = rec.keyedText();
        rec.restart();
        return text;
    }

    void TearDown() override { setModalShowHandlerForTesting(nullptr); }

    LogWindow& open(uint8_t outOfState, const char* mode, uint8_t keyingMethod = 0)
    {
        st.CurrentMode = QString::fromLatin1(mode);
        ks.CwKeyingMethod = keyingMethod;
        LogWindow& w = LogWindowTest::open(outOfState);
        rec.install();
        w.txtCall->setFocus();
        DefaultInstance<CWFrm>().Text[10]->setText(QStringLiteral("1"));
        return w;
    }

    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(target, key, mods);
        QCoreApplication::processEvents();
    }
};

TEST_F(KeyMapTest, CtrlShortcutsOpenTheToolWindowsAndTypeNothing)
{
    struct Case {
        Qt::Key key;
        const char* window;
        bool modal;
        bool (*loaded)();
    };
    const Case cases[] = {
        {Qt::Key_B, "SpectrumMap", true, &WindowRegistry::isLoaded<SpectrumMap>},
        {Qt::Key_C, "CWFrm", false, &WindowRegistry::isLoaded<CWFrm>},
        {Qt::Key_D, "PacketSpotfrm", false, &WindowRegistry::isLoaded<PacketSpotfrm>},
        {Qt::Key_F, "frmBandPlan", true, &WindowRegistry::isLoaded<frmBandPlan>},
        {Qt::Key_G, "frmRigTune", true, &WindowRegistry::isLoaded<frmRigTune>},
        {Qt::Key_P, "PhoneFrm", false, &WindowRegistry::isLoaded<PhoneFrm>},
        {Qt::Key_R, "RigControlfrm", false, &WindowRegistry::isLoaded<RigControlfrm>},
        {Qt::Key_S, "CWFrm", false, &WindowRegistry::isLoaded<CWFrm>},
    };
    LogWindow& w = open(1, "CW");
    QStringList modal;
    setModalShowHandlerForTesting([&](QWidget& window) { modal << window.objectName(); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        modal.clear();
        press(w.txtCall, c.key, Qt::ControlModifier);
        EXPECT_TRUE(w.txtCall->text().isEmpty());
        if (c.modal) {
            EXPECT_EQ(modal, QStringList{c.window});
            EXPECT_FALSE(c.loaded());
        } else {
            EXPECT_TRUE(modal.isEmpty());
            ASSERT_TRUE(c.loaded());
            auto* shown = qobject_cast<QWidget*>(
                [&]() -> QObject* {
                    for (QWidget* t : QApplication::topLevelWidgets())
                        if (t->objectName() == QLatin1String(c.window))
                            return t;
                    return nullptr;
                }());
            ASSERT_NE(shown, nullptr);
            EXPECT_TRUE(shown->isVisible());
            EXPECT_FALSE(shown->isMinimized());
        }
        // The next character is typed as usual.
        press(w.txtCall, Qt::Key_A);
        EXPECT_EQ(w.txtCall->text(), "A");
        w.txtCall->clear();
    }
}

TEST_F(KeyMapTest, OtherCtrlKeysConsumeOnlyTheirOwnCharacter)
{
    LogWindow& w = open(1, "CW");
    QStringList modal;
    setModalShowHandlerForTesting([&](QWidget& window) { modal << window.objectName(); });

    // Ctrl alone: the next letter is typed.
    press(w.txtCall, Qt::Key_Control, Qt::ControlModifier);
    press(w.txtCall, Qt::Key_A);
    EXPECT_EQ(w.txtCall->text(), "A");

    // Ctrl+X is no shortcut: nothing typed, and it stops a running repeat.
    ks.CwRepeatActive = 1;
    press(w.txtCall, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.txtCall->text(), "A");
    EXPECT_EQ(ks.CwRepeatActive, 0);
    press(w.txtCall, Qt::Key_B);
    EXPECT_EQ(w.txtCall->text(), "AB");

    // Ctrl+Shift+B is no shortcut either.
    press(w.txtCall, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(modal.isEmpty());
    EXPECT_EQ(w.txtCall->text(), "AB");

    // Called directly, the handlers behave alike.
    int code = 17, shift = 2, ascii = 'c';
    w.Form_KeyDown(code, shift);
    w.Form_KeyPress(ascii);
    EXPECT_EQ(ascii, 'c');
    code = 'X';
    ascii = 24;
    w.Form_KeyDown(code, shift);
    w.Form_KeyPress(ascii);
    EXPECT_EQ(ascii, 0);
}

TEST_F(KeyMapTest, QuoteCharactersAreDropped)
{
    LogWindow& w = open(1, "CW");
    for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtSec, w.txtRSTS}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setFocus();
        QTest::keyClicks(box, "'\"");
        EXPECT_TRUE(box->text().isEmpty());
    }
}

TEST_F(KeyMapTest, AnyKeyStopsTheAutomaticRepeats)
{
    LogWindow& w = open(1, "CW", 5);
    FakeWinKeyer keyer;
    ASSERT_TRUE(openFakeKeyer(keyer));
    CWFrm& cw = DefaultInstance<CWFrm>();
    FakeWaveBackend::Install sound;
    env.writeWorkFile(QStringLiteral("cq.wav"), makeWaveFile(60000, 1000, 1, 8));
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    phone.Text[2]->setText(QStringLiteral("cq.wav"));
    int f2 = 113;
    phone.FKeyPhone(f2);
    cw.tmrRepeat->start(60000);
    phone.tmrRepeat->start(60000);
    ks.CwRepeatActive = 1;
    ks.PhoneRepeatActive = 1;
    ks.CwSendBuffer = QStringLiteral("CQ TEST");

    press(w.txtCall, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(ks.CwRepeatActive, 0);
    EXPECT_EQ(ks.PhoneRepeatActive, 0);
    EXPECT_FALSE(cw.tmrRepeat->isActive());
    EXPECT_FALSE(phone.tmrRepeat->isActive());
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    ASSERT_TRUE(keyer.waitForBytes(1));
    EXPECT_EQ(keyer.received(), QByteArray("\x0A")); // the keyer's buffer cleared
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying); // the message plays on
}

TEST_F(KeyMapTest, PhoneModeKeysPlayAndStopTheVoiceMessages)
{
    FakeWaveBackend::Install sound;
    env.writeWorkFile(QStringLiteral("cq.wav"), makeWaveFile(60000, 1000, 1, 8));
    LogWindow& w = open(1, "PH");
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    phone.Text[1]->setText(QStringLiteral("cq.wav"));
    phone.txtPHLoop->setText(QStringLiteral("4"));
    w.txtCall->setText(QStringLiteral("W5ABC"));

    press(w.txtCall, Qt::Key_F1);
    EXPECT_EQ(phone.MMControl1->FileName, "cq.wav");
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
    EXPECT_EQ(ks.PhoneRepeatActive, 1);
    EXPECT_FALSE(phone.tmrRepeat->isActive()); // its pause runs from the end of the message

    // F1 again stops the repeat and plays the message again.
    press(w.txtCall, Qt::Key_F1);
    EXPECT_EQ(ks.PhoneRepeatActive, 1);
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying);

    // F11 does nothing in phone mode; Esc stops the playing message and
    // leaves the row; a second Esc clears the row.
    press(w.txtCall, Qt::Key_F11);
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModeStopped);
    EXPECT_EQ(w.txtCall->text(), "W5ABC");
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_TRUE(keyed().isEmpty());
}

TEST_F(KeyMapTest, CwKeysNeedAKeyingMethod)
{
    LogWindow& w = open(1, "CW", 0);
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[1]->setText(QStringLiteral("CQ"));
    w.lblDialog->setText(QStringLiteral("status"));
    press(w.txtCall, Qt::Key_Up);
    press(w.txtCall, Qt::Key_F1);
    press(w.txtCall, Qt::Key_F12);
    EXPECT_EQ(cw.Text[11]->text(), "13");
    EXPECT_EQ(w.lblDialog->text(), "status");
    EXPECT_EQ(ks.KeyboardCwMode, 0);
    EXPECT_TRUE(keyed().isEmpty());
}

TEST_F(KeyMapTest, ArrowsChangeTheCwSpeedByOne)
{
    LogWindow& w = open(1, "CW", 1);
    CWFrm& cw = DefaultInstance<CWFrm>();
    struct Step {
        Qt::Key key;
        const char* speed;
    };
    for (const Step& s : {Step{Qt::Key_Down, "12"}, Step{Qt::Key_Up, "13"}, Step{Qt::Key_Up, "14"}}) {
        press(w.txtCall, s.key);
        EXPECT_EQ(cw.Text[11]->text(), s.speed);
        EXPECT_EQ(w.lblDialog->text(), QString::fromLatin1(s.speed) + " WPM");
    }
}

TEST_F(KeyMapTest, FunctionKeysSendTheCwMessagesWithTheirMacros)
{
    // "^" is the own county's abbreviation in the in-state window and drops
    // out in the out-of-state one.
    struct Variant {
        uint8_t outOfState;
        const char* f1;
    };
    for (const Variant& v : {Variant{1, "CQ ZQP W5ABC"}, Variant{0, "CQ ZQP W5ABC ALDB"}}) {
        SCOPED_TRACE(v.outOfState);
        freshRun();
        LogWindow& w = open(v.outOfState, "CW", 1);
        CWFrm& cw = DefaultInstance<CWFrm>();
        cw.Text[1]->setText(QStringLiteral("CQ ZQP $ ^"));
        cw.Text[2]->setText(QStringLiteral("$ *"));
        cw.Text[9]->setText(QStringLiteral("F9"));
        cw.Text[12]->setText(QStringLiteral("TU"));   // F10
        cw.Text[13]->setText(QStringLiteral("AGN?")); // F11
        w.txtCall->setText(QStringLiteral("W5ABC"));

        struct Case {
            Qt::Key key;
            const char* keyed;
        };
        const Case cases[] = {
            {Qt::Key_F1, v.f1},
            {Qt::Key_F2, "W5ABC 5NN"},
            {Qt::Key_F9, "F9"},
            {Qt::Key_F10, "TU"},
            {Qt::Key_F11, "AGN?"},
            {Qt::Key_F5, ""}, // no message
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.keyed);
            press(w.txtCall, c.key);
            EXPECT_EQ(keyed(), c.keyed);
            EXPECT_EQ(ks.CwSendingBusy, 0);
        }
        w.txtRSTS->setText(QStringLiteral("579"));
        press(w.txtCall, Qt::Key_F2);
        EXPECT_EQ(keyed(), "W5ABC 579");
    }
}

TEST_F(KeyMapTest, MessageWithAnExclamationMarkLogsTheContact)
{
    LogWindow& w = open(1, "CW", 1);
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[3]->setText(QStringLiteral("TU!EE"));
    // No call typed: nothing is logged.
    press(w.txtCall, Qt::Key_F3);
    EXPECT_EQ(keyed(), "TUEE");
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);

    w.txtCall->setText(QStringLiteral("W5ABC"));
    w.txtRSTR->setText(QStringLiteral("599"));
    w.txtSec->setText(QStringLiteral("Alderbrook"));
    w.txtRSTS->setText(QStringLiteral("599"));
    press(w.txtCall, Qt::Key_F3);
    EXPECT_EQ(keyed(), "TUEE");
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_TRUE(w.txtCall->text().isEmpty());
}

// A message key runs its message once, also when the windows it brings up
// take the focus away from the log window and it has not come back by the
// time the key has been handled.
TEST_F(KeyMapTest, AMessageKeyRunsItsMessageOnce)
{
    LogWindow& w = open(1, "CW", 1);
    CWFrm& cw = DefaultInstance<CWFrm>();
    RecordedKeying real(true); // the real key line behind the recorder: no port 7
    env.writeWorkFile("ComPorts.txt", "7=/nonexistent/ttyX\n");
    cw.Text[10]->setText(QStringLiteral("7"));
    cw.Text[3]->setText(QStringLiteral("TEST"));
    // The CW window comes up for the port to be put right, takes the focus,
    // and is closed; the focus has not come back when the key is done.
    QStringList modal;
    setModalShowHandlerForTesting([&](QWidget& window) {
        modal << window.objectName();
        showActive(window);
        cw.Text[1]->setFocus();
        window.hide();
    });
    // Pressed again, the key runs its message again, once.
    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        env.prompt().clear();
        modal.clear();
        showActive(w);
        w.txtCall->setFocus();
        press(w.txtCall, Qt::Key_F3);
        EXPECT_EQ(env.prompt().messageTitles().join(u'|'), "Invalid port.");
        EXPECT_EQ(modal.join(u'|'), "CWFrm");
        EXPECT_TRUE(real.transitions().empty());
    }
}

// While a message is being keyed (the keying thread held at a key-down),
// the window keeps working: Esc, a new message key, Backspace in keyboard
// CW, typing into the entry row and closing act as they should.
TEST_F(KeyMapTest, TheWindowWorksWhileAMessageIsSent)
{
    LogWindow& w = open(1, "CW", 1);
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[1]->setText(QStringLiteral("AAAA"));
    cw.Text[2]->setText(QStringLiteral("TU"));
    w.txtSec->setText(QStringLiteral("Alderbrook"));

    // Esc: the rest of the message goes, the row stays.
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        press(w.txtCall, Qt::Key_Escape);
        rec.release();
    });
    press(w.txtCall, Qt::Key_F1);
    EXPECT_EQ(keyed(), "A");
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");

    // A message key replaces the rest of the message.
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        QTimer::singleShot(0, [&] { rec.release(); });
        press(w.txtCall, Qt::Key_F2);
    });
    press(w.txtCall, Qt::Key_F1);
    EXPECT_EQ(keyed(), "ATU");

    // Typing into the entry row, and a refused close that empties the buffer.
    bool busy = false;
    bool visibleAfterClose = false;
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        QTest::keyClicks(w.txtCall, "w5");
        busy = ks.CwSendingBusy == 1;
        w.close();
        visibleAfterClose = w.isVisible();
        rec.release();
    });
    press(w.txtCall, Qt::Key_F1);
    EXPECT_TRUE(busy);
    EXPECT_EQ(w.txtCall->text(), "W5");
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(keyed(), "A");
    EXPECT_EQ(ks.CwSendingBusy, 0);

    // Keyboard CW: characters typed meanwhile join the running drain, and
    // Backspace takes back the last one not yet keyed.
    w.txtCall->clear();
    press(w.txtCall, Qt::Key_F12);
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        QTest::keyClicks(w.txtCall, "est");
        press(w.txtCall, Qt::Key_Backspace);
        rec.release();
    });
    press(w.txtCall, Qt::Key_T);
    EXPECT_EQ(keyed(), "TES");
    EXPECT_TRUE(w.txtCall->text().isEmpty());
}

TEST_F(KeyMapTest, F1RepeatsAfterItsDelayUntilAKeyIsPressed)
{
    LogWindow& w = open(1, "CW", 1);
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[1]->setText(QStringLiteral("E"));
    cw.txtCWLoop->setText(QStringLiteral("5"));
    press(w.txtCall, Qt::Key_F1);
    EXPECT_EQ(keyed(), "E");
    EXPECT_EQ(ks.CwRepeatActive, 1);
    EXPECT_TRUE(cw.tmrRepeat->isActive());
    EXPECT_EQ(cw.tmrRepeat->interval(), 5000);

    // The delay runs out: F1 is sent again and the delay starts over.
    cw.tmrRepeat->start(1);
    for (int i = 0; i < 500 && rec.keyedText() != "E"; ++i)
        QTest::qWait(5);
    EXPECT_EQ(keyed(), "E");
    EXPECT_EQ(ks.CwRepeatActive, 1);

    press(w.txtCall, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(ks.CwRepeatActive, 0);
    EXPECT_FALSE(cw.tmrRepeat->isActive());

    // A delay of 0 sends once.
    cw.txtCWLoop->setText(QStringLiteral("0"));
    press(w.txtCall, Qt::Key_F1);
    EXPECT_EQ(keyed(), "E");
    EXPECT_EQ(ks.CwRepeatActive, 0);
    EXPECT_FALSE(cw.tmrRepeat->isActive());
}

TEST_F(KeyMapTest, EchoShowsTheEndOfSending)
{
    LogWindow& w = open(1, "CW", 1);
    CWFrm& cw = DefaultInstance<CWFrm>();
    // A message of empty macros still drains, and echoes its end.
    cw.Text[4]->setText(QStringLiteral("#$"));
    w.lblDialog->setText(QStringLiteral("old"));
    press(w.txtCall, Qt::Key_F4);
    EXPECT_TRUE(w.lblDialog->text().isEmpty());
    EXPECT_EQ(keyed(), "");
    cw.Check1->setChecked(false);
    w.lblDialog->setText(QStringLiteral("old"));
    cw.Text[4]->setText(QStringLiteral("E"));
    press(w.txtCall, Qt::Key_F4);
    EXPECT_EQ(w.lblDialog->text(), "old");
}

TEST_F(KeyMapTest, F12TogglesKeyboardCwModeInBothWindows)
{
    struct Case {
        uint8_t outOfState;
        const char* on;
    };
    for (const Case& c : {Case{1, "Keyboard CW mode is ON!  Press F12 to exit."},
                          Case{0, "Press F12 to exit keyboard CW mode."}}) {
        SCOPED_TRACE(c.on);
        freshRun();
        LogWindow& w = open(c.outOfState, "CW", 2);
        press(w.txtCall, Qt::Key_F12);
        EXPECT_EQ(ks.KeyboardCwMode, 1);
        EXPECT_EQ(w.lblDialog->text(), c.on);
        EXPECT_EQ(background(w.lblDialog), QColor(255, 255, 192));
        press(w.txtCall, Qt::Key_F12);
        EXPECT_EQ(ks.KeyboardCwMode, 0);
        EXPECT_TRUE(w.lblDialog->text().isEmpty());
        EXPECT_EQ(background(w.lblDialog), QColor(0, 192, 192));
    }
}

TEST_F(KeyMapTest, KeyboardCwModeKeysTypedCharactersInCapitals)
{
    LogWindow& w = open(1, "CW", 1);
    press(w.txtCall, Qt::Key_F12);
    QTest::keyClicks(w.txtCall, "cq 'de\" k9xyz");
    QTest::keyClick(w.txtCall, Qt::Key_Return);
    EXPECT_EQ(keyed(), "CQ DE K9XYZ");
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_EQ(w.lblDialog->text(), "Keyboard CW Mode is on.  Press F12 to exit.");

    // In phone mode the characters go to the fields again.
    st.CurrentMode = QStringLiteral("PH");
    QTest::keyClicks(w.txtCall, "w5");
    EXPECT_EQ(w.txtCall->text(), "W5");
    EXPECT_TRUE(keyed().isEmpty());
}

TEST_F(KeyMapTest, EscAndBackspaceWhileSending)
{
    LogWindow& w = open(1, "CW", 1);
    press(w.txtCall, Qt::Key_F12);
    w.txtSec->setText(QStringLiteral("Alderbrook"));

    // While the keyer drains the buffer: Backspace takes back the last
    // waiting character, Esc empties the buffer and leaves the row.
    ks.CwSendingBusy = 1;
    ks.CwSendBuffer = QStringLiteral("TEST");
    press(w.txtCall, Qt::Key_Backspace);
    EXPECT_EQ(ks.CwSendBuffer, "TES");
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");

    // Idle: Esc clears the row.
    ks.CwSendingBusy = 0;
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_TRUE(w.txtSec->text().isEmpty());
    EXPECT_TRUE(keyed().isEmpty());
}

TEST_F(KeyMapTest, BusyWinKeyerTakesEscAndBackspace)
{
    LogWindow& w = open(1, "CW", 5);
    FakeWinKeyer keyer;
    ASSERT_TRUE(openFakeKeyer(keyer));
    press(w.txtCall, Qt::Key_F12);
    w.txtSec->setText(QStringLiteral("Alderbrook"));
    auto statusIs = [](int s) {
        return FakeWinKeyer::waitUntil([s] { return wk_getstatus() == s; });
    };

    keyer.send("\xC4"); // busy
    ASSERT_TRUE(statusIs(4));
    press(w.txtCall, Qt::Key_Backspace);
    ks.CwSendBuffer = QStringLiteral("X");
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
    EXPECT_EQ(w.txtSec->text(), "Alderbrook");
    ASSERT_TRUE(keyer.waitForBytes(2));
    EXPECT_EQ(keyer.received(), QByteArray("\x08\x0A"));

    // Typed characters go to the keyer.
    keyer.clearReceived();
    press(w.txtCall, Qt::Key_E);
    ASSERT_TRUE(keyer.waitForBytes(1));
    EXPECT_EQ(keyer.received(), "E");

    // Idle, Esc clears the row and sends nothing.
    keyer.send("\xC0");
    ASSERT_TRUE(statusIs(0));
    keyer.clearReceived();
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_TRUE(w.txtSec->text().isEmpty());
    wk_wpm(20); // a marker: nothing went out before it
    ASSERT_TRUE(keyer.waitForBytes(2));
    EXPECT_EQ(keyer.received(), QByteArray("\x02\x14"));
}

TEST_F(KeyMapTest, DigitalModeSendsNothingAndEscStillClears)
{
    LogWindow& w = open(1, "DG", 1);
    DefaultInstance<CWFrm>().Text[1]->setText(QStringLiteral("CQ"));
    w.txtCall->setText(QStringLiteral("W5ABC"));
    press(w.txtCall, Qt::Key_F1);
    press(w.txtCall, Qt::Key_F12);
    EXPECT_TRUE(keyed().isEmpty());
    EXPECT_EQ(ks.KeyboardCwMode, 0);
    press(w.txtCall, Qt::Key_Escape);
    EXPECT_TRUE(w.txtCall->text().isEmpty());
}

TEST_F(KeyMapTest, KeysReachTheWindowFromAnyControl)
{
    LogWindow& w = open(1, "CW", 1);
    w.txtCall->setText(QStringLiteral("W5ABC"));
    w.ListView1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w.ListView1);
    press(w.ListView1, Qt::Key_F12);
    EXPECT_EQ(ks.KeyboardCwMode, 1);
    press(w.ListView1, Qt::Key_F12);
    press(w.ListView1, Qt::Key_Escape);
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
}

} // namespace
