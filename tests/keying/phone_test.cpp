// The voice keyer window: playing the function-key messages with
// push-to-talk on recording key lines and a fake wave device, the end-of-
// playback poll, the automatic repeat, the PTT port, Browse, Done and
// wave2.txt, and a machine without sound output.

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "platform/KeyingPorts.h"
#include "platform/SafeFile.h"
#include "platform/WaveDevice.h"
#include "support/FakeWaveBackend.h"
#include "support/KeyingTestSupport.h"
#include "support/RefusedPort.h"
#include "support/TestEnv.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

class PhoneTest : public ::testing::Test {
protected:
    TestEnv env;
    RecordedKeying rec;
    FakeWaveBackend::Install sound;
    KeyingState& ks = KeyingState::instance();
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    QStringList modal;

    void SetUp() override
    {
        setModalShowHandlerForTesting([this](QWidget& w) { modal << w.objectName(); });
        env.writeWorkFile("cq.wav", makeWaveFile(60000, 1000, 1, 8));
        env.writeWorkFile("exch.wav", makeWaveFile(60000, 1000, 1, 8));
        phone.Text[1]->setText("cq.wav");
        phone.Text[2]->setText("exch.wav");
    }

    void key(int code) { phone.FKeyPhone(code); }

    // The device calls since the last look, without the "close" that
    // starts every key press.
    QStringList calls()
    {
        QStringList out = sound.world.calls;
        out.removeAll(QStringLiteral("close"));
        sound.world.calls.clear();
        return out;
    }

    // The file plays to its end and the poll runs.
    void endPlayback()
    {
        FakeWaveBackend::finishAll(sound.world);
        phone.Timer1_Timer();
    }

    // Every key-line change so far: "RTS+", "DTR-", "P3" (parallel 3) ...
    QStringList keyed() const
    {
        QStringList out;
        for (const auto& t : rec.transitions()) {
            if (t.parallelValue)
                out << QStringLiteral("P%1").arg(t.parallelValue);
            else
                out << QString::fromLatin1(t.signal == KeySignal::Rts ? "RTS" : "DTR")
                           + (t.down ? u'+' : u'-');
        }
        return out;
    }
};

TEST_F(PhoneTest, AKeyPlaysItsFileWithPttOnTheChosenLines)
{
    struct Case {
        const char* line; // the option chosen
        const char* port;
        QStringList keyedWhilePlaying;
        QStringList releasedAtEnd;
    };
    const Case cases[] = {
        {"RTS", "1", {"RTS+"}, {"RTS-"}},
        {"DTR", "1", {"DTR+"}, {"DTR-"}},
        {"Parallel", "1", {"RTS+", "P3"}, {"RTS-", "P2"}},
        {"Parallel", "0", {"P3"}, {"P2"}},
        {"RTS", "0", {}, {}},
        {"RTS", "&H2", {"RTS+"}, {"RTS-"}}, // a port number in hexadecimal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " port " + c.port);
        (QString(c.line) == "DTR" ? phone.Option2 : QString(c.line) == "RTS" ? phone.Option1
                                                                             : phone.Option3)
            ->setChecked(true);
        phone.Text[10]->setText(c.port);
        rec.restart();
        calls();
        key(113);
        EXPECT_EQ(calls(), (QStringList{"open exch.wav", "play"}));
        EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
        EXPECT_TRUE(phone.Timer1->isActive());
        EXPECT_EQ(keyed(), c.keyedWhilePlaying);
        phone.Timer1_Timer(); // still playing: nothing changes
        EXPECT_EQ(keyed(), c.keyedWhilePlaying);
        endPlayback();
        EXPECT_FALSE(phone.Timer1->isActive());
        EXPECT_EQ(keyed(), c.keyedWhilePlaying + c.releasedAtEnd);
        EXPECT_EQ(ks.PhoneRepeatActive, 0);
    }
    // The design address "&H378" is the parallel port keyed.
    EXPECT_EQ(rec.openedPorts().back(), KeyLinePort::parallel("&H378"));
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(PhoneTest, AnEmptyBoxOrAnOtherKeyStopsTheMessageAndKeysNothing)
{
    phone.Text[10]->setText("1");
    key(112);
    EXPECT_EQ(keyed(), QStringList{"RTS+"});
    // A key whose box is empty (or blanks) stops the message; the running
    // poll releases PTT.
    phone.Text[3]->setText("   ");
    sound.world.calls.clear();
    key(114);
    EXPECT_EQ(sound.world.calls, QStringList{"close"}); // the message stops
    EXPECT_NE(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
    EXPECT_EQ(keyed(), QStringList{"RTS+"});
    phone.Timer1_Timer();
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS-"}));

    // Codes outside F1..F9 do nothing.
    for (int code : {111, 121, 27}) {
        calls();
        key(code);
        EXPECT_TRUE(sound.world.calls.isEmpty()) << code;
    }
}

TEST_F(PhoneTest, AKeyDuringPlaybackChangesTheMessageWithPttHeld)
{
    phone.Text[10]->setText("1");
    key(112);
    key(113);
    EXPECT_EQ(phone.MMControl1->FileName, "exch.wav");
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS+"})); // raised again, never dropped
    endPlayback();
    EXPECT_EQ(keyed().mid(2), QStringList{"RTS-"});
    EXPECT_FALSE(phone.pttKeyed());
}

TEST_F(PhoneTest, EscStopsTheMessageAndTheNextPollReleasesPtt)
{
    phone.Text[10]->setText("1");
    key(112);
    phone.MMControl1->Command("Stop"); // what Esc in the log window sends
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModeStopped);
    EXPECT_EQ(keyed(), QStringList{"RTS+"});
    phone.Timer1_Timer();
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS-"}));
}

TEST_F(PhoneTest, TheRepeatPause)
{
    struct Case {
        const char* typed;
        const char* boxAfterLeaving;
        int intervalMs;
    };
    const Case cases[] = {
        {"1.5", "1.5", 1500}, {"0", "0", 0}, {"60", "0", 0}, {"59.9", "59.9", 59900}, {"", "0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ks.PhoneRepeatActive = 0;
        phone.txtPHLoop->setText(c.typed);
        phone.txtPHLoop_LostFocus();
        EXPECT_EQ(phone.txtPHLoop->text(), c.boxAfterLeaving);
        EXPECT_EQ(phone.tmrRepeat->interval(), c.intervalMs);
        key(112);
        EXPECT_EQ(ks.PhoneRepeatActive, c.intervalMs > 0 ? 1 : 0);
        EXPECT_FALSE(phone.tmrRepeat->isActive()); // the pause runs from the end
        endPlayback();
        EXPECT_EQ(phone.tmrRepeat->isActive(), c.intervalMs > 0);
        phone.tmrRepeat->stop();
    }

    // The repeat plays F1 again when its pause has run.
    phone.txtPHLoop->setText("2");
    phone.txtPHLoop_LostFocus();
    key(112);
    endPlayback();
    calls();
    phone.tmrRepeat_Timer();
    EXPECT_FALSE(phone.tmrRepeat->isActive());
    EXPECT_EQ(calls(), (QStringList{"open cq.wav", "play"}));

    // Test starts the repeat too, exactly as F1.
    phone.MMControl1->Command("Close");
    ks.PhoneRepeatActive = 0;
    phone.Command11->click();
    EXPECT_EQ(ks.PhoneRepeatActive, 1);
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying);

    // A pause that is not a number: F1 plays nothing, the other keys play.
    phone.MMControl1->Command("Close");
    phone.txtPHLoop->setText("x");
    calls();
    key(112);
    EXPECT_EQ(calls(), QStringList{});
    key(113);
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
}

TEST_F(PhoneTest, ThePttPort)
{
    // Not a number: no key plays.
    phone.Text[10]->setText("COM1");
    key(113);
    EXPECT_EQ(calls(), QStringList{});

    // Leaving the box: a text that is not a number becomes "0" and opens
    // nothing; "0" closes no port that is open.
    phone.Text10_LostFocus();
    EXPECT_EQ(phone.Text[10]->text(), "0");
    EXPECT_TRUE(rec.openedPorts().empty());
    phone.Text[10]->setText("3");
    phone.Text10_LostFocus();
    EXPECT_TRUE(KeyingPorts::instance().holds(KeyingOwner::Ptt));
    phone.Text[10]->setText("0");
    phone.Text10_LostFocus();
    EXPECT_TRUE(KeyingPorts::instance().holds(KeyingOwner::Ptt));

    // A port number takes the port from the CW key line.
    KeyingPorts::instance().claimLine(KeyingOwner::CwKeyLine, KeyLinePort::serial(1));
    phone.Text[10]->setText("2");
    phone.Text10_LostFocus();
    EXPECT_FALSE(KeyingPorts::instance().holds(KeyingOwner::CwKeyLine));
    EXPECT_EQ(KeyingPorts::instance().line(KeyingOwner::Ptt)->port(), KeyLinePort::serial(2));
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(PhoneTest, APortThatCannotBeOpenedIsReportedAndTheFileStillPlays)
{
    KeyingPorts::setOpenerForTesting([](const KeyLinePort&, QString* error, QString*) {
        if (error)
            *error = "no such device";
        return std::unique_ptr<KeyLine>();
    });
    phone.Text[10]->setText("7");
    key(112);
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid port."});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"The port you have selected for Phone keying is invalid.  Please "
                          "select another or enter 0 for none."});
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(modal, QStringList{"PhoneFrm"}); // hidden: shown to put the port right
    EXPECT_EQ(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
    EXPECT_TRUE(keyed().isEmpty());
}

// A PTT port the operator may not open: the message says why after its own
// text, naming the device, its group and the fix.
TEST_F(PhoneTest, ARefusedPortIsReportedWithWhyAndTheFix)
{
    RefusedPort refused;
    ASSERT_TRUE(refused.ok());
    env.writeWorkFile("ComPorts.txt", ("7=" + refused.device() + "\n").toUtf8());
    RecordedKeying real(true); // the real key lines behind the recorder
    phone.Text[10]->setText("7");
    refused.asRefusedUser([&] { phone.Text10_LostFocus(); });
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid port."});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"The port you have selected for Phone keying is invalid.  Please select "
                          "another or enter 0 for none.\n\n"
                          + refusal(refused)});
    EXPECT_FALSE(KeyingPorts::instance().holds(KeyingOwner::Ptt));
}

TEST_F(PhoneTest, PttIsNeverLeftKeyed)
{
    // Settings changed during playback: the lines raised are dropped.
    phone.Text[10]->setText("1");
    phone.Option3->setChecked(true);
    key(112);
    phone.Option2->setChecked(true);
    phone.Text[10]->setText("0");
    phone.Text[11]->setText("&H278");
    endPlayback();
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "P3", "RTS-", "P2"}));

    // A parallel address that is not a number after the serial line was
    // raised: PTT dropped, nothing played.
    rec.restart();
    phone.Text[10]->setText("1");
    phone.Option3->setChecked(true);
    phone.Text[11]->setText("LPT1");
    calls();
    key(113);
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS-"}));
    EXPECT_EQ(calls(), QStringList{});
    EXPECT_FALSE(phone.pttKeyed());

    // Another keyer taking the port while a file plays drops the line.
    rec.restart();
    phone.Option1->setChecked(true);
    key(113);
    KeyingPorts::instance().claimLine(KeyingOwner::CwKeyLine, KeyLinePort::serial(1));
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS-"}));
    endPlayback();
    EXPECT_FALSE(phone.pttKeyed());
}

TEST_F(PhoneTest, UnloadingDropsPttBeforeTheDeviceCloses)
{
    int callsWhenDropped = -1;
    KeyingPorts::setOpenerForTesting([&](const KeyLinePort& port, QString*, QString*) {
        auto line = std::make_unique<RecordingKeyLine>(port);
        line->setOnTransition([&](const RecordingKeyLine::Transition& t) {
            if (!t.down && callsWhenDropped < 0)
                callsWhenDropped = static_cast<int>(sound.world.calls.size());
        });
        return line;
    });
    phone.Text[10]->setText("1");
    key(112);
    sound.world.calls.clear();
    WindowRegistry::unload<PhoneFrm>();
    EXPECT_EQ(callsWhenDropped, 0);
    EXPECT_EQ(sound.world.calls, QStringList{"close"});
    EXPECT_FALSE(KeyingPorts::instance().holds(KeyingOwner::Ptt));
}

TEST_F(PhoneTest, DoneWritesWave2AndHidesTheWindow)
{
    phone.show();
    for (int i = 1; i <= 9; ++i)
        phone.Text[i]->setText(QStringLiteral(" /snd/f%1.wav ").arg(i));
    phone.Text[5]->setText("");
    phone.Text[10]->setText("2");
    phone.Option2->setChecked(true);
    phone.txtPHLoop->setText("1.5");
    phone.Text[11]->setText("&H278");
    phone.Command1->click();
    EXPECT_FALSE(phone.isVisible());
    const QByteArray expected = "\"/snd/f1.wav\"\r\n\"/snd/f2.wav\"\r\n\"/snd/f3.wav\"\r\n"
                                "\"/snd/f4.wav\"\r\n\"\"\r\n\"/snd/f6.wav\"\r\n\"/snd/f7.wav\"\r\n"
                                "\"/snd/f8.wav\"\r\n\"/snd/f9.wav\"\r\n\"2\"\r\n1\r\n\"1.5\"\r\n"
                                "\"&H278\"\r\n";
    EXPECT_EQ(env.readWorkFile("wave2.txt"), expected);
    EXPECT_EQ(expected.count("\r\n"), 13);

    // A failed write is reported, the old file stays whole, the window hides.
    phone.show();
    phone.Text[1]->setText("/other.wav");
    setWriteFaultForTesting([](const QString& p) { return p.endsWith("wave2.txt"); });
    phone.Command1->click();
    setWriteFaultForTesting(nullptr);
    EXPECT_FALSE(phone.isVisible());
    EXPECT_EQ(env.readWorkFile("wave2.txt"), expected);
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to write file."});
}

TEST_F(PhoneTest, BrowseAndTheKeyFilters)
{
    env.prompt().answerFile("/snd/my cq.wav");
    phone.Browse[4]->click(); // Command5
    EXPECT_EQ(phone.Browse[4]->objectName(), "Command5");
    EXPECT_EQ(phone.Text[4]->text(), "/snd/my cq.wav");
    ASSERT_EQ(env.prompt().callsOf(ScriptedPrompt::Kind::OpenFile).size(), 1u);
    EXPECT_EQ(env.prompt().callsOf(ScriptedPrompt::Kind::OpenFile)[0].filter, "(*.wav)");
    // Cancel beeps; the box keeps its text.
    phone.Browse[4]->click();
    EXPECT_EQ(phone.Text[4]->text(), "/snd/my cq.wav");
    EXPECT_EQ(env.prompt().beeps(), 1);

    phone.show();
    phone.txtPHLoop->setText("");
    QTest::keyClicks(phone.txtPHLoop, "1a.5-");
    EXPECT_EQ(phone.txtPHLoop->text(), "1.5");
    phone.Text[11]->setText("");
    QTest::keyClicks(phone.Text[11], "&h3\"7b");
    EXPECT_EQ(phone.Text[11]->text(), "&H37B");
}

TEST_F(PhoneTest, WithoutSoundOutputOneMessageOnceThePttIsReleased)
{
    sound.world.failPlay = true;
    phone.Text[10]->setText("1");
    for (int i = 0; i < 2; ++i) {
        key(112);
        EXPECT_NE(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
        EXPECT_TRUE(env.prompt().messageTexts().isEmpty() || i > 0);
        phone.Timer1_Timer();
        EXPECT_FALSE(phone.pttKeyed());
    }
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS-", "RTS+", "RTS-"}));
    // It names what is missing.
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"No sound output was found. Voice keying and voice navigation play "
                          "through the desktop's sound server (PulseAudio, or PipeWire with its "
                          "PulseAudio service), and none answers: the wave file cannot be "
                          "played."});
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"No sound output."});
}

} // namespace

TEST_F(PhoneTest, PttDropsOnceTheSoundHasBeenHeardToItsEnd)
{
    // The real backend on a sound server that starts the message 300 ms late
    // and whose output goes Idle (all data handed over) 200 ms before the
    // last sample is heard: PTT drops when the play position has reached
    // the file's end, not at Idle.
    FakeServerOutput::Record heard;
    setWaveBackendFactoryForTesting([&heard] {
        return makeAudioSinkBackend([&heard](const WaveFormat& f, QString*) {
            return std::make_unique<FakeServerOutput>(f, std::chrono::milliseconds(300),
                                                      std::chrono::milliseconds(200), heard);
        });
    });
    env.writeWorkFile("short.wav", makeWaveFile(400, 8000, 1, 16));
    phone.Text[1]->setText("short.wav");
    phone.Text[10]->setText("1");
    key(112);
    ASSERT_TRUE(phone.pttKeyed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !phone.pttKeyed(); }, 3000));
    EXPECT_EQ(keyed(), (QStringList{"RTS+", "RTS-"}));
    EXPECT_EQ(heard.stops, 1);
    EXPECT_GE(heard.positionAtStop, 400000 - 5000); // heard to its end
}

TEST(PhoneRealBackend, WithoutASoundDeviceFailsCleanlyWithOneMessage)
{
    if (!QMediaDevices::defaultAudioOutput().isNull())
        GTEST_SKIP() << "this machine has a sound output";
    TestEnv env;
    env.writeWorkFile("cq.wav", makeWaveFile(300));
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    phone.Text[1]->setText("cq.wav");
    for (int i = 0; i < 2; ++i) {
        int f1 = 112;
        phone.FKeyPhone(f1);
        EXPECT_NE(phone.MMControl1->Mode(), WaveDevice::ModePlaying);
        phone.Timer1_Timer();
        EXPECT_FALSE(phone.Timer1->isActive());
    }
    EXPECT_EQ(env.prompt().messageTexts(), QStringList{WaveDevice::noOutputReason()});
}
