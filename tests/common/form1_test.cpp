// The facade Form1: every call reaches the log window variant in use,
// creating and loading it when needed, with its arguments by reference.

#include "common/Form1.h"
#include "common/WindowRegistry.h"
#include "entry/EntryState.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

using namespace zq;

namespace {

struct Form1Test : ::testing::Test {
    test::TestEnv env;
    StationSettings& st = StationSettings::instance();
    void SetUp() override
    {
        env.seedDataFile(QStringLiteral("county2.txt"));
        st.CurrentBand = QStringLiteral("40");
        st.CurrentMode = QStringLiteral("PH");
    }
    QString& frequencyText() { return EntryState::instance().CurrentFrequencyText; }
};

} // namespace

TEST_F(Form1Test, FrequencyReachesTheActiveWindowAndLoadsIt)
{
    st.OutOfStateFlag = 1;
    Form1& f = DefaultInstance<Form1>();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Form1"));
    EXPECT_FALSE(f.lblDXVisible());

    float mhz = 14.025f;
    f.BandFreqConversion(mhz);
    ASSERT_TRUE(WindowRegistry::isLoaded<Outfrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Infrm>());
    EXPECT_TRUE(DefaultInstance<Outfrm>().logLoaded());
    EXPECT_EQ(mhz, 14.025f);
    EXPECT_EQ(st.CurrentBand, QStringLiteral("20"));
    EXPECT_EQ(DefaultInstance<Outfrm>().Label24->text(), QStringLiteral("20"));
    EXPECT_EQ(frequencyText(), QStringLiteral("14.025"));

    // The same band again, a band without a handler and a microwave
    // frequency change only the frequency text.
    env.writeWorkFile(QStringLiteral("QSOpref.txt"), "marker");
    struct Case {
        float mhz;
        const char* text;
    };
    for (const Case c : {Case{14.2f, "14.200"}, Case{10.12f, "10.120"}, Case{10368.0f, "10368.000"},
                         Case{0.0f, ".000"}}) {
        float v = c.mhz;
        f.BandFreqConversion(v);
        EXPECT_EQ(st.CurrentBand, QStringLiteral("20")) << c.mhz;
        EXPECT_EQ(frequencyText(), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(env.readWorkFile(QStringLiteral("QSOpref.txt")), QByteArray("marker"));
}

TEST_F(Form1Test, ModeFromTheRigSelectsPhoneOrCwOnly)
{
    st.OutOfStateFlag = 0;
    Form1& f = DefaultInstance<Form1>();
    struct Case {
        const char* reported;
        const char* before;
        const char* after;
    };
    for (const Case c : {Case{"cw", "PH", "CW"}, Case{"DG", "CW", "CW"}, Case{"", "CW", "CW"},
                         Case{"PH", "DG", "PH"}, Case{"CW", "CW", "CW"}}) {
        st.CurrentMode = QString::fromLatin1(c.before);
        QString mode = QString::fromLatin1(c.reported);
        f.ModeSelection(mode);
        EXPECT_EQ(st.CurrentMode, QString::fromLatin1(c.after)) << c.reported << c.before;
        EXPECT_EQ(mode, QString::fromLatin1(c.reported));
    }
    EXPECT_TRUE(WindowRegistry::isLoaded<Infrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());
    EXPECT_EQ(DefaultInstance<Infrm>().Label30->text(), QStringLiteral("PH"));
}

TEST_F(Form1Test, SavePrefWritesThePreferences)
{
    st.OwnCall = QStringLiteral("K9XYZ");
    DefaultInstance<Form1>().SavePref();
    EXPECT_EQ(env.readWorkFile(QStringLiteral("QSOpref.txt")), formatPrefFile());
    EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());
}
