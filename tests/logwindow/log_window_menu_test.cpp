// Menu commands that open the other windows or run a log-store operation.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "entry/LogOnState.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "output/CountyMapZQ.h"
#include "output/frmCountyChange.h"
#include "rig/RigControlfrm.h"
#include "spots/PacketSpotfrm.h"

using namespace zq;
using namespace zq::test;

TEST_F(LogWindowTest, ModalCommandsShowTheirWindowAndUnloadIt)
{
    LogWindow& w = start(1);
    QStringList shown;
    setModalShowHandlerForTesting([&](QWidget& window) {
        shown << window.objectName() + QLatin1Char('|') + window.windowTitle();
    });
    struct Case {
        const char* item;
        const char* window;
        bool staysLoaded;
    };
    const Case cases[] = {
        {"mnuWriteSumm", "ZQCabrilloIn|Summary Sheet Information", false},
        {"mnuMap", "CountyMapZQ| Carvonia County Map", false},
        {"mnuGraph", "GraphQSO| Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)", false},
        {"mnuCountyList", "frmCountyList|County List", false},
        {"mnuSpectrumMap", "SpectrumMap| HF Spectrum Map", false},
        {"mnuPrivileges", "frmBandPlan|Frequency Privileges", false},
        {"mnuCW", "CWFrm|CW String Selections", true},
    };
    for (const Case& c : cases) {
        shown.clear();
        find(w, c.item)->trigger();
        EXPECT_EQ(shown, QStringList({QString::fromLatin1(c.window)})) << c.item;
    }
    EXPECT_FALSE(WindowRegistry::isLoaded<CountyMapZQ>());
    EXPECT_TRUE(WindowRegistry::isLoaded<CWFrm>());
}

TEST_F(LogWindowTest, PrivilegesRunsInTheWorkingFolder)
{
    LogWindow& w = start(1);
    QString folderSeen;
    setModalShowHandlerForTesting([&](QWidget&) { folderSeen = QDir::currentPath(); });
    QDir::setCurrent(env.documentsDir());
    find(w, "mnuPrivileges")->trigger();
    EXPECT_EQ(QDir(folderSeen).canonicalPath(), QDir(env.workDir()).canonicalPath());
}

TEST_F(LogWindowTest, ModelessCommandsShowTheirWindowAndReturn)
{
    LogWindow& w = start(1);
    env.writeWorkFile(QStringLiteral("QSOpref.txt"), "marker");
    find(w, "mnuRigInterface")->trigger();
    find(w, "mnuBlind")->trigger();
    find(w, "mnuDXSpotting")->trigger();
    EXPECT_TRUE(DefaultInstance<RigControlfrm>().isVisible());
    EXPECT_TRUE(DefaultInstance<BlindFrm>().isVisible());
    EXPECT_TRUE(DefaultInstance<PacketSpotfrm>().isVisible());
    EXPECT_NE(env.readWorkFile(QStringLiteral("QSOpref.txt")), QByteArray("marker"));
}

TEST_F(LogWindowTest, ChangeCountyShowsTheNewOwnCountyAndSavesIt)
{
    st.RoverFlag = 1;
    auto& in = static_cast<Infrm&>(start(0));
    setModalShowHandlerForTesting([&](QWidget& window) {
        EXPECT_EQ(window.objectName(), QStringLiteral("frmCountyChange"));
        st.OwnCounty = QStringLiteral("Ashcombe");
    });
    in.mnuChangeCounty->trigger();
    EXPECT_EQ(in.Label25->text(), QStringLiteral("Ashcombe"));
    EXPECT_EQ(savedSettings().OwnCounty, QStringLiteral("Ashcombe"));
    EXPECT_FALSE(WindowRegistry::isLoaded<frmCountyChange>());
}

TEST_F(LogWindowTest, NewCommandReloadsWhateverTheAnswer)
{
    writeLog();
    LogWindow& w = start(1);
    st.AccumulatedOperatingSeconds = 600;

    env.prompt().answerInput(QStringLiteral("no"));
    find(w, "mnuNew")->trigger();
    EXPECT_EQ(ContactLog::instance().ContactCount, 5);
    EXPECT_EQ(w.lblttrack->text(), QStringLiteral("00:10:00"));
    EXPECT_EQ(savedSettings().AccumulatedOperatingSeconds, 600);

    env.prompt().answerInput(QStringLiteral("YES"));
    find(w, "mnuNew")->trigger();
    EXPECT_EQ(ContactLog::instance().ContactCount, 0);
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), QByteArray());
    EXPECT_EQ(w.lblttrack->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(savedSettings().AccumulatedOperatingSeconds, 0);
    EXPECT_EQ(backups().size(), 1);
}
