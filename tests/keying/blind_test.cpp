// Voice navigation: the prompts, the bounded wait for a prompt's end, the
// level's announcements at load and on click, Done and QSOpref.txt, the
// shipped prompt files.

#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "keying/BlindFrm.h"
#include "logstore/StationSettings.h"
#include "platform/WaveDevice.h"
#include "support/FakeWaveBackend.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;
using std::chrono::milliseconds;

namespace {

const char* const kPrompts[] = {"NavEn", "NavDis", "Call", "RstSnt",
                                "SerNum", "County", "SPC", "Dupe"};

TEST(PromptWait, BoundedByThePlaybackBoundPlusAMarginAtMostSixSeconds)
{
    const struct {
        int lengthMs, limitMs;
    } cases[] = {{0, 4250}, {-20, 4250}, {800, 5050}, {1750, 6000}, {1800, 6000}, {60000, 6000}};
    for (const auto& c : cases)
        EXPECT_EQ(promptWaitLimit(milliseconds(c.lengthMs)), milliseconds(c.limitMs))
            << c.lengthMs;
}

class BlindTest : public ::testing::Test {
protected:
    TestEnv env;
    FakeWaveBackend::Install sound;
    StationSettings& st = StationSettings::instance();

    void SetUp() override
    {
        Folders::instance().WorkingDirectory = env.workDir();
        for (const char* p : kPrompts)
            env.writeWorkFile(QString::fromLatin1(p).toLower() + ".wav",
                              makeWaveFile(100, 1000, 1, 8));
    }
    // The prompts opened since the last call, in order.
    QStringList opened()
    {
        QStringList out;
        for (const QString& c : sound.world.calls)
            if (c.startsWith("open "))
                out << c.mid(5);
        sound.world.calls.clear();
        return out;
    }
};

TEST_F(BlindTest, LoadingAnnouncesTheStoredLevel)
{
    const struct {
        int level;
        const char* checked; // the option selected, "" for none
        QStringList prompts;
    } cases[] = {
        {0, "Option1", {"navdis.wav"}},
        {1, "Option2", {"naven.wav", "call.wav"}},
        {2, "Option3", {"naven.wav"}},
        {3, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        st.VoiceNavigationLevel = static_cast<uint8_t>(c.level);
        BlindFrm& b = DefaultInstance<BlindFrm>();
        EXPECT_EQ(opened(), c.prompts);
        QStringList checked;
        for (QRadioButton* o : {b.Option1, b.Option2, b.Option3})
            if (o->isChecked())
                checked << o->objectName();
        EXPECT_EQ(checked.join(""), c.checked);
        EXPECT_EQ(b.Label7->text(),
                  "Put the audio wave files in this program's working directory: " + env.workDir());
        // "Call Only" waited for NavEn to end before Call.
        if (c.level == 1)
            EXPECT_EQ(b.MMControl1->FileName, Folders::workingFile("Call.wav"));
        WindowRegistry::unload<BlindFrm>();
        EXPECT_EQ(sound.world.calls.value(sound.world.calls.size() - 1), c.prompts.isEmpty() ? "" : "close");
        sound.world.calls.clear();
    }
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(BlindTest, ANewPromptCutsTheLastOneAndMissingFilesAreSilent)
{
    env.writeWorkFile("county.wav", makeWaveFile(60000, 1000, 1, 8));
    BlindFrm& b = DefaultInstance<BlindFrm>();
    opened();
    b.BlindKeyPhone("County");
    EXPECT_EQ(b.MMControl1->Mode(), WaveDevice::ModePlaying);
    sound.world.calls.clear();
    b.BlindKeyPhone("SerNum");
    EXPECT_EQ(sound.world.calls, (QStringList{"close", "open sernum.wav", "play"}));

    QFile::remove(env.workPath("rstsnt.wav"));
    b.BlindKeyPhone("RstSnt");
    EXPECT_NE(b.MMControl1->Mode(), WaveDevice::ModePlaying);
    b.waitForPromptEnd(); // ends at once
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(BlindTest, OptionsAnnounceAndDoneStoresTheLevel)
{
    st.VoiceNavigationLevel = 3; // no option selected
    BlindFrm& b = DefaultInstance<BlindFrm>();
    b.show();
    b.Command1->click();
    EXPECT_FALSE(b.isVisible());
    EXPECT_EQ(st.VoiceNavigationLevel, 0);

    b.Option3->click();
    EXPECT_EQ(opened(), QStringList{"naven.wav"});
    EXPECT_EQ(st.VoiceNavigationLevel, 0); // only Done changes the level
    b.Option2->click();
    EXPECT_EQ(opened(), (QStringList{"naven.wav", "call.wav"}));
    b.Option1->click();
    EXPECT_EQ(opened(), QStringList{"navdis.wav"});
    b.Option3->click();
    b.Command1->click();
    EXPECT_EQ(st.VoiceNavigationLevel, 2);
    const QList<QByteArray> lines = env.readWorkFile("QSOpref.txt").split('\n');
    ASSERT_GT(lines.size(), 22);
    EXPECT_EQ(lines[21].trimmed(), "2");
}

TEST_F(BlindTest, TheWaitEndsWithThePromptAndTheProgramsTimersWaitForIt)
{
    BlindFrm& b = DefaultInstance<BlindFrm>();
    b.BlindKeyPhone("Dupe");
    // A timer of the program that comes due meanwhile fires once the prompt
    // has ended.
    int ranWhilePlaying = 0, ran = 0;
    QTimer::singleShot(1, [&] {
        ++ran;
        ranWhilePlaying += b.MMControl1->Mode() == WaveDevice::ModePlaying;
    });
    b.waitForPromptEnd();
    EXPECT_NE(b.MMControl1->Mode(), WaveDevice::ModePlaying);
    EXPECT_EQ(ran, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(ranWhilePlaying, 0);
    EXPECT_EQ(b.MMControl1->fileLength(), milliseconds(100));
}

TEST_F(BlindTest, CallOnlyPlaysNavEnWholeThoughTheSoundServerIsSlowToStart)
{
    // The sound is heard only 700 ms after play: the wait lasts until the
    // device has played it out, so Call does not cut NavEn off.
    st.VoiceNavigationLevel = 3;
    BlindFrm& b = DefaultInstance<BlindFrm>();
    opened();
    sound.world.startDelay = milliseconds(700);
    b.Option2->click();
    EXPECT_EQ(opened(), (QStringList{"naven.wav", "call.wav"}));
    EXPECT_TRUE(sound.world.cut.isEmpty()) << sound.world.cut.join(",").toStdString();
}

TEST(ShippedPrompts, EightShortWaveFilesFoundWithoutRegardToCase)
{
    TestEnv env;
    for (const char* p : kPrompts) {
        SCOPED_TRACE(p);
        env.seedDataFile(QString::fromLatin1(p) + ".wav");
        WaveDevice dev;
        dev.FileName = Folders::workingFile(QString::fromLatin1(p).toUpper() + ".WAV");
        const auto length = dev.fileLength();
        EXPECT_GT(length, milliseconds(200));
        EXPECT_LT(length, PromptWaitCap);
    }
}

} // namespace
