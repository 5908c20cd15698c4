// The wave device: header reading, the mode a caller polls, and the real
// backend on a machine without sound output.

#include "platform/WaveDevice.h"
#include "support/FakeWaveBackend.h"
#include "support/TestEnv.h"

#include <QMediaDevices>
#include <QAudioDevice>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;
using namespace std::chrono_literals;

TEST(WaveHeader, ReadsPcmLayoutsAndRefusesTheRest)
{
    const struct {
        QByteArray bytes;
        bool ok;
        int ms;
    } cases[] = {
        {makeWaveFile(500, 8000, 1, 16), true, 500},
        {makeWaveFile(250, 11025, 2, 8), true, 250},
        {makeWaveFile(100, 48000, 2, 32), true, 100}, // float
        {makeWaveFile(1000).left(44 + 8000), true, 500}, // data cut short: what is there
        {makeWaveFile(100, 8000, 1, 24), false, 0},   // 24-bit not played
        {QByteArray("RIFF\0\0\0\0WAVE", 12), false, 0},
        {QByteArray("MThd not a wave file"), false, 0},
        {makeWaveFile(100).left(30), false, 0},       // format chunk cut
        {QByteArray(), false, 0},
    };
    for (const auto& c : cases) {
        QString why;
        const auto f = parseWaveHeader(c.bytes, &why);
        ASSERT_EQ(f.has_value(), c.ok) << why.toStdString();
        if (f)
            EXPECT_EQ(f->duration.count(), c.ms);
        else
            EXPECT_FALSE(why.isEmpty());
    }
    // A chunk before the data (odd size, padded) is passed over.
    QByteArray withList = makeWaveFile(200);
    withList.insert(36, QByteArray("LIST\x03\0\0\0abc\0", 12));
    ASSERT_TRUE(parseWaveHeader(withList).has_value());
    EXPECT_EQ(parseWaveHeader(withList)->duration.count(), 200);
}

TEST(WaveDevice, ModeFollowsPlayStopCloseAndTheFilesEnd)
{
    TestEnv env;
    FakeWaveBackend::Install fake;
    env.writeWorkFile("cq.wav", makeWaveFile(150));
    WaveDevice dev;
    EXPECT_EQ(dev.Mode(), WaveDevice::ModeNotOpen);

    // A missing file never plays.
    dev.FileName = QStringLiteral("missing.wav");
    dev.Command(QStringLiteral("Play"));
    EXPECT_NE(dev.Mode(), WaveDevice::ModePlaying);

    dev.FileName = QStringLiteral("CQ.WAV"); // found in any letter case
    dev.Command(QStringLiteral("play"));
    EXPECT_EQ(dev.Mode(), WaveDevice::ModePlaying);
    dev.Command(QStringLiteral("Stop"));
    EXPECT_EQ(dev.Mode(), WaveDevice::ModeStopped);

    // Played again, it ends by itself after the file's length; polled
    // without an event loop.
    dev.Command(QStringLiteral("Play"));
    const auto t0 = std::chrono::steady_clock::now();
    while (dev.Mode() == WaveDevice::ModePlaying && std::chrono::steady_clock::now() - t0 < 2s) {
    }
    EXPECT_EQ(dev.Mode(), WaveDevice::ModeStopped);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, 140ms);

    dev.Command(QStringLiteral("Close"));
    EXPECT_EQ(dev.Mode(), WaveDevice::ModeNotOpen);
    EXPECT_EQ(fake.world.calls,
              (QStringList{"open cq.wav", "play", "stop", "play", "close"}));

    // A damaged file and a failed play read as not playing.
    env.writeWorkFile("bad.wav", "RIFFxxxxWAVEjunk");
    dev.FileName = QStringLiteral("bad.wav");
    dev.Command(QStringLiteral("Play"));
    EXPECT_NE(dev.Mode(), WaveDevice::ModePlaying);
    EXPECT_FALSE(dev.lastError().isEmpty());
    fake.world.failPlay = true;
    dev.FileName = QStringLiteral("cq.wav");
    dev.Command(QStringLiteral("Play"));
    EXPECT_NE(dev.Mode(), WaveDevice::ModePlaying);
}

TEST(WaveDevice, WithoutSoundOutputTheRealBackendFailsCleanlyOnce)
{
    if (!QMediaDevices::defaultAudioOutput().isNull())
        GTEST_SKIP() << "this machine has a sound output";
    TestEnv env;
    env.writeWorkFile("cq.wav", makeWaveFile(300));
    WaveDevice dev;
    dev.FileName = QStringLiteral("cq.wav");
    for (int i = 0; i < 3; ++i) {
        dev.Command(QStringLiteral("Play"));
        EXPECT_NE(dev.Mode(), WaveDevice::ModePlaying);
        EXPECT_EQ(dev.lastError(), WaveDevice::noOutputReason());
        EXPECT_EQ(WaveDevice::takeNoOutputNotice(), i == 0); // said once a run
    }
    dev.Command(QStringLiteral("Close"));
}
