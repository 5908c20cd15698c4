// Voice navigation in the log windows: which entry boxes speak at which
// level, and the spoken "Dupe" at every level.

#include "support/FakeWaveBackend.h"
#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "keying/BlindFrm.h"
#include "logwindow/LogWindow.h"

#include "platform/EventHold.h"
#include "platform/WaveDevice.h"
#include "entry/EntryState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zq::test {
namespace {

class VoiceNavigationTest : public EntryWindowTest {
protected:
    FakeWaveBackend::Install sound;

    void SetUp() override
    {
        EntryWindowTest::SetUp();
        for (const char* p : {"NavEn", "NavDis", "Call", "RstSnt", "SerNum", "County", "SPC",
                              "Dupe"})
            env.writeWorkFile(QString::fromLatin1(p) + ".wav", makeWaveFile(50, 1000, 1, 8));
    }
    QStringList spoken()
    {
        QStringList out;
        for (const QString& c : sound.world.calls)
            if (c.startsWith("open "))
                out << c.mid(5).chopped(4);
        sound.world.calls.clear();
        return out;
    }
    // Each box in turn gets the focus as the operator moves there.
    QStringList visit(LogWindow& w, std::initializer_list<EntryBox*> boxes)
    {
        spoken();
        for (EntryBox* b : boxes) {
            b->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
        }
        return spoken();
    }
};

TEST_F(VoiceNavigationTest, TheEntryBoxesSpeakByLevel)
{
    LogWindow& w = open(1);
    DefaultInstance<BlindFrm>(); // its announcement is not part of this
    env.prompt().clear();
    const struct {
        uint8_t level;
        QStringList prompts;
    } cases[] = {
        {0, {}},
        {1, {"Call"}},
        {2, {"SerNum", "County", "RstSnt", "Call"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.level));
        st.VoiceNavigationLevel = c.level;
        const QStringList got = visit(w, {w.txtRSTR, w.txtSec, w.txtRSTS, w.txtCall});
        EXPECT_EQ(got, c.prompts) << got.join(",").toStdString();
    }
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty())
        << env.prompt().messageTexts().join("|").toStdString();
}

TEST_F(VoiceNavigationTest, TheInStateWindowSpeaksTheStateBoxAtLevelTwo)
{
    LogWindow& w = open(0);
    DefaultInstance<BlindFrm>();
    st.VoiceNavigationLevel = 1;
    EXPECT_EQ(visit(w, {w.txtCntry, w.txtCall}), QStringList{"Call"});
    st.VoiceNavigationLevel = 2;
    EXPECT_EQ(visit(w, {w.txtCntry, w.txtCall}), (QStringList{"SPC", "Call"}));
}

TEST_F(VoiceNavigationTest, WithoutPromptFilesNothingIsHeardAndNothingFails)
{
    for (const QString& f : QDir(env.workDir()).entryList({"*.wav"}))
        QFile::remove(env.workPath(f));
    st.VoiceNavigationLevel = 2;
    LogWindow& w = open(1);
    env.prompt().clear();
    visit(w, {w.txtRSTR, w.txtSec, w.txtRSTS, w.txtCall});
    EXPECT_NE(DefaultInstance<BlindFrm>().MMControl1->Mode(), WaveDevice::ModePlaying);
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(VoiceNavigationTest, TheSpokenDupeIsHeardWholeAndWhatCameMeanwhileFollowsIt)
{
    // The sound server starts each prompt 700 ms late.  The row is cleared
    // (and "Call" spoken) only once "Dupe" has been heard; keys typed while
    // it plays go into the cleared call box afterwards, in order; a timer of
    // the program (a CW repeat, a spot tick) fires only after it.
    LogWindow& w = open(1);
    enterContact(w, "W5ABC", "599", "", "Alderbrook", "599");
    WaveDevice* dev = DefaultInstance<BlindFrm>().MMControl1;
    sound.world.startDelay = std::chrono::milliseconds(700);
    for (const uint8_t level : {1, 2}) {
        SCOPED_TRACE(int(level));
        st.VoiceNavigationLevel = level;
        w.txtCall->setText(QStringLiteral("W5ABC"));
        w.txtRSTR->setText(QStringLiteral("599"));
        w.txtSec->setText(QStringLiteral("Alderbrook"));
        w.txtRSTS->setText(QStringLiteral("599"));
        w.txtRSTS->setFocus();
        dev->Command(QStringLiteral("Close")); // the box's own prompt
        spoken();
        sound.world.cut.clear();

        QTimer typist; // the operator, who is not held
        EventHold::keepRunning(&typist);
        typist.setSingleShot(true);
        QObject::connect(&typist, &QTimer::timeout,
                         [] { QTest::keyClicks(QApplication::focusWidget(), "K1"); });
        typist.start(100);
        int ticks = 0, ticksBeforeDupeEnded = 0;
        bool dupeEnded = false;
        QObject heard;
        QObject::connect(dev, &WaveDevice::playbackEnded, &heard, [&] { dupeEnded = true; });
        QTimer::singleShot(50, [&] {
            ++ticks;
            ticksBeforeDupeEnded += !dupeEnded;
        });

        QTest::keyClick(w.txtRSTS, Qt::Key_Return);
        EXPECT_EQ(EntryState::instance().DuplicateFlag, 1);
        EXPECT_TRUE(sound.world.cut.isEmpty()) << sound.world.cut.join(",").toStdString();
        EXPECT_EQ(spoken(), (QStringList{"Dupe", "Call"}));
        QApplication::processEvents();
        EXPECT_EQ(w.txtCall->text(), "K1");
        EXPECT_EQ(ticks, 1);
        EXPECT_EQ(ticksBeforeDupeEnded, 0);
        dev->Command(QStringLiteral("Close"));
    }
}

} // namespace
} // namespace zq::test
