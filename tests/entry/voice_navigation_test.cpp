// Voice navigation in the log windows: which entry boxes speak at which
// level, and the spoken "Dupe" at every level.

#include "support/FakeWaveBackend.h"
#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "keying/BlindFrm.h"
#include "logwindow/LogWindow.h"

#include "platform/WaveDevice.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
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

} // namespace
} // namespace zq::test
