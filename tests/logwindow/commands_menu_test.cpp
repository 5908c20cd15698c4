// Every menu command of both log windows that opens a window or works on
// the log file: what it does, item by item.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "keying/CWFrm.h"
#include "keying/PhoneFrm.h"
#include "platform/SafeFile.h"
#include "support/WatchedFifo.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPointer>
#include <QTreeWidget>

using namespace zq;
using namespace zq::test;

namespace {

enum class Effect {
    ModalUnloaded,   // shown modally, unloaded when it returns
    ModalStaysLoaded,
    Modeless,        // shown without waiting, stays loaded
    FirstMessage,    // a message box with this title comes first
    FirstInput,      // an input box with this title comes first
    Clipboard,       // the list goes onto the clipboard
    Unavailable      // stored unavailable
};

struct MenuCase {
    const char* item;
    Effect effect;
    const char* detail; // window objectName or prompt title
};

const MenuCase kMenuCases[] = {
    {"mnuNew", Effect::FirstInput, "WARNING - Your existing log file will be ERASED!"},
    {"mnuArchive", Effect::FirstMessage, "Archive Information"},
    {"mnuRestore", Effect::FirstMessage, "Opening Archived Data Information"},
    {"mnuOpen", Effect::Unavailable, ""},
    {"mnuWriteSumm", Effect::ModalUnloaded, "ZQCabrilloIn"},
    {"mnuLogvaneImport", Effect::Unavailable, ""},
    {"mnuexportADIF", Effect::FirstInput, "Please enter your transmitter output power."},
    {"mnuCopyListtoClipboard", Effect::Clipboard, ""},
    {"mnuCW", Effect::ModalStaysLoaded, "CWFrm"},
    {"mnuVoice", Effect::ModalStaysLoaded, "PhoneFrm"},
    {"mnuRigInterface", Effect::Modeless, "RigControlfrm"},
    {"mnuDXSpotting", Effect::Modeless, "PacketSpotfrm"},
    {"mnuSpectrumMap", Effect::ModalUnloaded, "SpectrumMap"},
    {"mnuBlind", Effect::Modeless, "BlindFrm"},
    {"mnuPrivileges", Effect::ModalUnloaded, "frmBandPlan"},
    {"mnuMap", Effect::ModalUnloaded, "CountyMapZQ"},
    {"mnuGraph", Effect::ModalUnloaded, "GraphQSO"},
    {"mnuCountyList", Effect::ModalUnloaded, "frmCountyList"},
    {"mnuChangeCounty", Effect::ModalUnloaded, "frmCountyChange"}, // in-state only
};

QWidget* visibleTopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

class MenuCommandsTest : public LogWindowTest, public ::testing::WithParamInterface<uint8_t> {};

} // namespace

TEST_P(MenuCommandsTest, EveryItemDoesWhatItShould)
{
    const bool outOfState = GetParam() == 1;
    st.RoverFlag = 1; // the in-state rover can change county
    writeLog();
    LogWindow& w = start(GetParam());

    QStringList modalShown;
    QList<QPointer<QWidget>> modalWindows;
    setModalShowHandlerForTesting([&](QWidget& window) {
        modalShown << window.objectName();
        modalWindows << QPointer<QWidget>(&window);
    });

    for (const MenuCase& c : kMenuCases) {
        SCOPED_TRACE(c.item);
        const QString detail = QString::fromLatin1(c.detail);
        QAction* item = find(w, c.item);
        if (outOfState && QLatin1String(c.item) == QLatin1String("mnuChangeCounty")) {
            EXPECT_EQ(item, nullptr);
            continue;
        }
        ASSERT_NE(item, nullptr);
        if (c.effect == Effect::Unavailable) {
            EXPECT_FALSE(item->isEnabled());
            continue;
        }
        EXPECT_TRUE(item->isEnabled());

        modalShown.clear();
        modalWindows.clear();
        env.prompt().clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        item->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        switch (c.effect) {
        case Effect::ModalUnloaded:
        case Effect::ModalStaysLoaded:
            ASSERT_EQ(modalShown, QStringList{detail});
            EXPECT_EQ(modalWindows[0].isNull(), c.effect == Effect::ModalUnloaded);
            break;
        case Effect::Modeless:
            EXPECT_TRUE(modalShown.isEmpty());
            EXPECT_NE(visibleTopLevel(detail), nullptr);
            break;
        case Effect::FirstMessage:
            ASSERT_FALSE(env.prompt().calls().empty());
            EXPECT_EQ(env.prompt().calls()[0].kind, ScriptedPrompt::Kind::Message);
            EXPECT_EQ(env.prompt().calls()[0].title, detail);
            break;
        case Effect::FirstInput:
            ASSERT_FALSE(env.prompt().calls().empty());
            EXPECT_EQ(env.prompt().calls()[0].kind, ScriptedPrompt::Kind::Input);
            EXPECT_EQ(env.prompt().calls()[0].title, detail);
            break;
        case Effect::Clipboard:
            EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("Rec#\tCall\tRec\t")));
            break;
        case Effect::Unavailable:
            break;
        }
    }
    // Cancelled dialogs and declined questions left the log alone.
    EXPECT_EQ(ContactLog::instance().ContactCount, 5);
}

INSTANTIATE_TEST_SUITE_P(BothWindows, MenuCommandsTest, ::testing::Values(uint8_t{1}, uint8_t{0}));

TEST_F(LogWindowTest, KeyerSetupAlreadyOnScreenIsBroughtForward)
{
    LogWindow& w = start(1);
    QStringList modalShown;
    setModalShowHandlerForTesting([&](QWidget& window) { modalShown << window.objectName(); });

    // The keyboard shortcuts leave the keyers on screen as modeless windows.
    DefaultInstance<CWFrm>().show();
    DefaultInstance<PhoneFrm>().showMinimized();
    find(w, "mnuCW")->trigger();
    find(w, "mnuVoice")->trigger();

    EXPECT_TRUE(modalShown.isEmpty());
    EXPECT_TRUE(DefaultInstance<CWFrm>().isVisible());
    EXPECT_TRUE(DefaultInstance<PhoneFrm>().isVisible());
    EXPECT_FALSE(DefaultInstance<PhoneFrm>().isMinimized());
}

namespace {

// File > Restore: the note acknowledged, "Yes" to replacing the log, and
// `chosen` picked in the file dialog.
void restoreThroughTheMenu(LogWindow& w, TestEnv& env, const QString& chosen)
{
    env.prompt().clear();
    env.prompt().answerMessage(MsgAnswer::Ok);
    env.prompt().answerMessage(MsgAnswer::Yes);
    env.prompt().answerFile(chosen);
    w.findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
}

} // namespace

TEST_F(LogWindowTest, RestoreThroughTheMenuShowsTheRestoredLog)
{
    writeLog();
    const QByteArray archived = formatContactLine(contact("W7XX", "Ashcombe", "CW"))
        + formatContactLine(contact("W8YY", "Alderbrook", "PH"));
    const QString archive =
        Folders::instance().UserDirectory + QStringLiteral("/BACKUP/K9XYZ2026-09-01.log");
    {
        QFile f(archive);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(archived);
    }
    LogWindow& w = start(1);
    restoreThroughTheMenu(w, env, archive);

    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), archived);
    EXPECT_EQ(ContactLog::instance().ContactCount, 2);
    ASSERT_EQ(w.ListView1->rowCount(), 2);
    EXPECT_EQ(w.ListView1->text(0, 1), QStringLiteral("W8YY"));
    EXPECT_EQ(w.List2->count(), 2); // counties worked, rebuilt from the restored log
    EXPECT_TRUE(backups().contains(QStringLiteral("202609121330.log"))); // the replaced log
}

// A backup replaced by a pipe (by another program) and chosen to restore:
// refused without waiting on it, with the reason; the log and the window
// stay as they were.
TEST_F(LogWindowTest, RestoreOfAPipeIsRefusedWithoutWaitingOnIt)
{
    writeLog();
    const QByteArray before = logFile();
    const QString archive =
        Folders::instance().UserDirectory + QStringLiteral("/BACKUP/K9XYZ2026-09-03.log");
    WatchedFifo pipe(archive);
    ASSERT_TRUE(pipe.ok());
    LogWindow& w = start(1);
    restoreThroughTheMenu(w, env, archive);

    EXPECT_FALSE(pipe.readerWasReleased()) << "the restore waited on the pipe";
    EXPECT_EQ(env.prompt().messageTitles().last(), QStringLiteral("Error Restoring Log"));
    EXPECT_EQ(env.prompt().messageTexts().last(), QStringLiteral("Not a regular file"));
    EXPECT_EQ(logFile(), before);
    EXPECT_EQ(ContactLog::instance().ContactCount, 5);
    EXPECT_EQ(w.ListView1->rowCount(), 5);
}

TEST_F(LogWindowTest, RestoredLogOfOneMoreContactIsListedAfresh)
{
    // The restored log holds one contact more than the log it replaces:
    // every row must come from the restored log, not only the newest.
    writeLog();
    QByteArray archived;
    for (const char* call : {"W7AA", "W7BB", "W7CC", "W7DD", "W7EE", "W7FF"})
        archived += formatContactLine(contact(QString::fromLatin1(call), "Ashcombe", "CW"));
    const QString archive =
        Folders::instance().UserDirectory + QStringLiteral("/BACKUP/K9XYZ2026-09-02.log");
    {
        QFile f(archive);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(archived);
    }
    LogWindow& w = start(1);
    ASSERT_EQ(w.ListView1->rowCount(), 5);
    restoreThroughTheMenu(w, env, archive);

    ASSERT_EQ(ContactLog::instance().ContactCount, 6);
    ASSERT_EQ(w.ListView1->rowCount(), 6);
    for (int row = 0; row < 6; ++row) {
        const int contact = 6 - row;
        EXPECT_EQ(listRow(w.ListView1, row)[0], QString::number(contact));
        EXPECT_EQ(listRow(w.ListView1, row)[1], ContactLog::instance()[contact].LogCall);
    }
}

TEST_F(LogWindowTest, FailedExportIsReportedNotShownAsSuccess)
{
    env.seedDataFile(QStringLiteral("ADIFCnt.txt"));
    writeLog();
    LogWindow& w = start(1);
    env.prompt().clear();
    env.prompt().answerInput(QStringLiteral("100"));
    env.prompt().answerInput(QStringLiteral("ZQ party"));
    env.prompt().answerFile(env.documentsDir() + QStringLiteral("/ZQ.adi"));
    setWriteFaultForTesting([](const QString& path) { return path.endsWith(QStringLiteral(".adi")); });
    find(w, "mnuexportADIF")->trigger();

    EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Unable to write file.")});
    EXPECT_TRUE(env.prompt().messageTexts()[0].contains(QStringLiteral("No space left on device")));
    EXPECT_FALSE(QFile::exists(env.documentsDir() + QStringLiteral("/ZQ.adi")));
}
