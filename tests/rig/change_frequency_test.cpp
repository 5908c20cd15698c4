// Tuning the radio against fake radios: the band plan's mode command, then
// the family's frequency command, byte for byte; polling paused meanwhile
// and resumed after; the window's event loop running throughout; refused
// commands, failures and the Pegasus exchange file.

#include "RigTestSupport.h"

#include "platform/SerialPort.h"
#include "rig/RigDecoders.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace zq::test {
namespace {

class ChangeFrequencyTest : public RigTest {
protected:
    void SetUp() override
    {
        RigTest::SetUp();
        env.seedDataFile(QStringLiteral("BandPlan.txt"));
    }

    // The radio chosen and tested; the poll timer left running but so slow
    // that only the test's own ticks poll.  The record starts empty.
    void polling(FakeRadio& radio, const QString& type)
    {
        begin();
        attach(radio);
        choose(type);
        rig().Command1_Click();
        ASSERT_TRUE(rig().tmrGetData->isActive()) << type.toStdString();
        pumpFor(30);
        holdPolling();
        radio.clearRecord();
    }

    void holdPolling()
    {
        rig().tmrGetData->setInterval(HeldInterval);
        rig().tmrGetData->start();
    }

    // Runs the event loop until the command sequence has ended and the
    // radio has read what was sent.
    void finish()
    {
        ASSERT_TRUE(pumpUntil([&] { return !rig().commandPending(); }, 6000));
        pumpFor(20);
    }

    static constexpr int HeldInterval = 3600 * 1000;
};

TEST_F(ChangeFrequencyTest, EveryFamilySendsTheBandPlansModeThenTheFrequency)
{
    struct Case {
        const char* rig;
        FakeRadio::Family family;
        QByteArray expected; // everything the radio receives
    };
    const QByteArray reversed = bytesOf({0, 0, 0, 0x01, 0x0C}) + bytesOf({0x00, 0x50, 0x42, 0x01, 0x0A});
    const QByteArray icomFreq64 =
        bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD});
    const Case cases[] = {
        {"Kenwood", FakeRadio::Family::Kenwood, "MD2;FA00014250000;"},
        {"Kenwood 2", FakeRadio::Family::Kenwood, "MD2;FA00014250000;"},
        {"Elecraft", FakeRadio::Family::Kenwood, "MD2;FA00014250000;"},
        {"Yaesu FTdx9000", FakeRadio::Family::Kenwood, "MD02;FA14250000;"},
        {"Icom", FakeRadio::Family::Icom, bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x06, 0x01, 0xFD}) + icomFreq64},
        {"Icom 735", FakeRadio::Family::Icom, icomFreq64},
        {"Ten Tec Omni VI", FakeRadio::Family::Icom,
         bytesOf({0xFE, 0xFE, 0x04, 0xE0, 0x06, 0x01, 0xFD})
             + bytesOf({0xFE, 0xFE, 0x04, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD})},
        {"Ten Tec Fnt Pnl", FakeRadio::Family::TenTecPanel,
         bytesOf({0x2A, 0x41, 0x00, 0xD9, 0x70, 0x10, 0x0D})},
        {"Ten Tec Orion", FakeRadio::Family::Orion, "*AF14.25\r"},
        {"Yaesu", FakeRadio::Family::Yaesu,
         bytesOf({0x01, 0, 0, 0, 0x07}) + bytesOf({0x01, 0x42, 0x50, 0x00, 0x01})},
        {"Yaesu 757 GX II", FakeRadio::Family::Yaesu, reversed},
        {"Yaesu 890", FakeRadio::Family::Yaesu, reversed},
        {"Yaesu 920", FakeRadio::Family::Yaesu, reversed},
        {"Yaesu 990", FakeRadio::Family::Yaesu, reversed},
        {"Yaesu 1000 D", FakeRadio::Family::Yaesu, reversed},
        {"Yaesu 1000", FakeRadio::Family::Yaesu, reversed},
        {"Other", FakeRadio::Family::Raw, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rig);
        freshRun();
        FakeRadio radio(c.family);
        polling(radio, QLatin1String(c.rig));
        float f = 14.25f;
        rig().ChangeFrequency(f);
        EXPECT_FALSE(rig().tmrGetData->isActive()); // paused for the whole command
        finish();
        EXPECT_EQ(radio.receivedBytes().toHex(' '), c.expected.toHex(' '));
        EXPECT_EQ(f, 14.25f);
        EXPECT_TRUE(env.prompt().messageTitles().isEmpty());
        // Polling resumes where it stood, at its own rate.
        EXPECT_TRUE(rig().tmrGetData->isActive());
        EXPECT_EQ(rig().tmrGetData->interval(), HeldInterval);
    }
}

TEST_F(ChangeFrequencyTest, ModeByBandAndVfo)
{
    FakeRadio radio(FakeRadio::Family::Kenwood);
    polling(radio, QStringLiteral("Kenwood"));
    // 160 m: the plan never sets the mode there.
    rig().ChangeFrequency(1.9f);
    finish();
    EXPECT_EQ(radio.queries(), QList<QByteArray>{"FA00001900000;"});
    // 40 m phone is lower sideband; CW segments give CW; between the
    // segments no mode is set.
    radio.clearRecord();
    rig().ChangeFrequency(7.2f);
    finish();
    rig().ChangeFrequency(7.025f);
    finish();
    rig().ChangeFrequency(5.0f);
    finish();
    EXPECT_EQ(radio.queries(), (QList<QByteArray>{"MD1;", "FA00007200000;", "MD3;", "FA00007025000;",
                                                  "FA00005000000;"}));

    // A Kenwood 2 whose last IF reply showed VFO B.
    freshRun();
    FakeRadio k2(FakeRadio::Family::Kenwood);
    polling(k2, QStringLiteral("Kenwood 2"));
    rig().KenwoodVfo = 1;
    rig().ChangeFrequency(14.25f);
    finish();
    EXPECT_EQ(k2.queries(), (QList<QByteArray>{"MD2;", "FB00014250000;"}));

    // The front panel at 7.025 MHz: CW by the plan, but no mode command.
    freshRun();
    FakeRadio panel(FakeRadio::Family::TenTecPanel);
    polling(panel, QStringLiteral("Ten Tec Fnt Pnl"));
    rig().ChangeFrequency(7.025f);
    finish();
    EXPECT_EQ(panel.receivedBytes(), bytesOf({0x2A, 0x41, 0x00, 0x6B, 0x31, 0x68, 0x0D}));
}

TEST_F(ChangeFrequencyTest, PollingPausedThenResumedWindowAliveOthersIgnoredOrQueued)
{
    FakeRadio radio(FakeRadio::Family::Kenwood);
    polling(radio, QStringLiteral("Elecraft"));
    // Another timer of the window keeps ticking through the 1205 ms pause:
    // nothing blocks the event loop.
    int ticks = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    other.start(20);
    rig().ChangeFrequency(14.25f);
    rig().ChangeFrequency(7.2f);                      // ignored: polling is paused
    rig().ChangeMode(0, QStringLiteral("CW"));        // follows the running command
    pumpUntil([&] { return radio.queries().size() >= 1; });
    // The radio read the mode command from the event loop while the
    // command was still under way.
    EXPECT_TRUE(rig().commandPending());
    EXPECT_FALSE(rig().tmrGetData->isActive());
    finish();
    other.stop();
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(radio.queries(), (QList<QByteArray>{"MD2;", "FA00014250000;", "MD3;"}));
    EXPECT_TRUE(rig().tmrGetData->isActive());

    // The poll cycle goes on: the pending reply phase, then a new query.
    radio.clearRecord();
    tick();
    tick();
    settle(radio, 1);
    EXPECT_EQ(radio.queries().value(0), "FA;");

    // Polling off: nothing is sent, nothing shown.
    radio.clearRecord();
    rig().tmrGetData->stop();
    rig().ChangeFrequency(14.25f);
    EXPECT_FALSE(rig().commandPending());
    pumpFor(20);
    EXPECT_TRUE(radio.receivedBytes().isEmpty());
    EXPECT_TRUE(env.prompt().messageTitles().isEmpty());

    // End Test during a command: the commands fail on the closed port and
    // polling stays ended.
    holdPolling();
    rig().ChangeFrequency(14.25f);
    rig().Command2_Click();
    finish();
    EXPECT_FALSE(rig().tmrGetData->isActive());
    EXPECT_EQ(env.prompt().messageTitles(),
              (QStringList{"Error Changing Mode", "Error Changing Frequency"}));
    env.prompt().clear();
    rig().Command1_Click();
    ASSERT_TRUE(rig().comComm1->isOpen());
    pumpFor(30);
    radio.clearRecord();

    // Unloading the dialog cancels a command under way.
    holdPolling();
    rig().ChangeFrequency(14.25f);
    pumpUntil([&] { return radio.queries().size() >= 1; });
    WindowRegistry::unload<RigControlfrm>();
    pumpFor(1400);
    EXPECT_EQ(radio.queries(), QList<QByteArray>{"MD2;"});
}

TEST_F(ChangeFrequencyTest, RefusedAndFailedCommands)
{
    // Not a frequency: nothing at all.
    FakeRadio radio(FakeRadio::Family::Yaesu);
    polling(radio, QStringLiteral("Yaesu"));
    for (float bad : {0.f, -14.f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()})
        rig().ChangeFrequency(bad);
    EXPECT_FALSE(rig().commandPending());
    EXPECT_TRUE(env.prompt().messageTitles().isEmpty());

    // 1270 MHz does not fit the Yaesu's digits: nothing of the change is
    // sent, the box says why, polling goes on.
    rig().ChangeFrequency(1270.f);
    pumpFor(150);
    EXPECT_TRUE(radio.receivedBytes().isEmpty());
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Error Changing Frequency"});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).contains(QLatin1String("1270 MHz")));
    EXPECT_TRUE(rig().tmrGetData->isActive());

    // An Icom address that is not two hex digits.
    freshRun();
    FakeRadio icom(FakeRadio::Family::Icom);
    polling(icom, QStringLiteral("Icom"));
    rig().RigSettings.FreqPoll = QStringLiteral("FE FE G4 E0 03 FD");
    rig().ChangeFrequency(14.25f);
    pumpFor(150);
    EXPECT_TRUE(icom.receivedBytes().isEmpty());
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Error Changing Frequency"});
    env.prompt().clear();
    rig().ChangeMode(0, QStringLiteral("CW"));
    pumpUntil([&] { return !rig().commandPending(); });
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Error Changing Mode"});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).endsWith(QLatin1String(" CW")));

    // The port closes under the command: the box, and polling stays off
    // until the next Test.
    freshRun();
    FakeRadio kenwood(FakeRadio::Family::Kenwood);
    polling(kenwood, QStringLiteral("Kenwood"));
    rig().ChangeFrequency(14.25f);
    pumpUntil([&] { return kenwood.queries().size() >= 1; });
    rig().comComm1->close();
    finish();
    EXPECT_EQ(kenwood.queries(), QList<QByteArray>{"MD2;"});
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Error Changing Frequency"});
    EXPECT_FALSE(rig().tmrGetData->isActive());
}

TEST_F(ChangeFrequencyTest, ModeChangesAndThePegasusFile)
{
    // A chosen rig whose port is closed: the mode command fails with the
    // mode named; "None" does nothing.
    begin();
    choose(QStringLiteral("Kenwood"));
    rig().ChangeMode(0, QStringLiteral("USB"));
    pumpUntil([&] { return !rig().commandPending(); });
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Error Changing Mode"});
    env.prompt().clear();
    choose(QStringLiteral("None"));
    rig().ChangeMode(0, QStringLiteral("USB"));
    EXPECT_FALSE(rig().commandPending());

    // A mode the family lacks sends nothing; the Icom 735 has no mode
    // commands.
    freshRun();
    FakeRadio radio(FakeRadio::Family::Kenwood);
    polling(radio, QStringLiteral("Kenwood"));
    rig().ChangeMode(0, QStringLiteral("CW-R"));
    rig().ChangeMode(0, QStringLiteral("RTTY"));
    rig().ChangeMode(14.25f, QString()); // the band plan's mode
    finish();
    EXPECT_EQ(radio.queries(), (QList<QByteArray>{"MD6;", "MD2;"}));
    EXPECT_TRUE(env.prompt().messageTitles().isEmpty());
    EXPECT_TRUE(rig().tmrGetData->isActive()); // a mode change leaves polling alone

    // The Pegasus radio is driven through its exchange file.
    freshRun();
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", env.workDir().toLocal8Bit());
    QDir().mkpath(pegasusFolder());
    begin();
    choose(QStringLiteral("Ten Tec Pegasus"));
    rig().Command1_Click();
    ASSERT_TRUE(rig().tmrGetData->isActive());
    holdPolling();
    rig().RigMode = QStringLiteral("CW ");
    rig().ChangeFrequency(14.25f);
    finish();
    QFile in(pegasusFolder() + QStringLiteral("/PEGASUS.IN"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), "14.25\r\nCW\r\n");
    EXPECT_TRUE(rig().tmrGetData->isActive());
    EXPECT_TRUE(QDir(pegasusFolder()).entryList(QDir::Files) == QStringList{"PEGASUS.IN"});
    qputenv("HOME", oldHome);
}

TEST_F(ChangeFrequencyTest, APortThatNeverDrainsDelaysTheCommandButNeverHangsIt)
{
    FakeRadio radio(FakeRadio::Family::Raw);
    polling(radio, QStringLiteral("Kenwood"));
    // The radio stops reading; what the program writes fills the line.
    radio.setListening(false);
    const QByteArray filler(256 * 1024, 'x');
    ASSERT_TRUE(rig().comComm1->output(filler));
    ASSERT_GE(rig().comComm1->outBufferCount(), 1);
    rig().ChangeFrequency(14.25f);
    // Each wait gives up, and the commands are queued anyway.
    ASSERT_TRUE(pumpUntil([&] { return !rig().commandPending(); }, 20000));
    EXPECT_EQ(env.prompt().messageTexts(), QStringList{});
    EXPECT_TRUE(rig().tmrGetData->isActive());
    radio.setListening(true);
    pumpUntil([&] { return radio.receivedBytes().size() >= filler.size() + 18; }, 10000);
    EXPECT_TRUE(radio.receivedBytes().endsWith("MD2;FA00014250000;"));
}

} // namespace
} // namespace zq::test
