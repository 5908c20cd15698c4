#include "support/TestEnv.h"

#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/ProgramEnd.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "entry/CallChecks.h"
#include "entry/ContactIndex.h"
#include "entry/ContestTotals.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/MorseKeyer.h"
#include "platform/KeyingPorts.h"
#include "platform/WaveDevice.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/PositionTables.h"
#include "logstore/StationSettings.h"
#include "logstore/ArchiveRestore.h"
#include "rig/RigTuning.h"
#include "logstore/SectionTable.h"
#include "platform/Paths.h"
#include "platform/InnerLoop.h"
#include "platform/SafeFile.h"
#include "platform/WinKeyer.h"
#include "spots/SpotCountryLookup.h"
#include "spots/SpotStore.h"
#include "startup/SharedPrefs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimeZone>
#include <QWidget>
#include <gtest/gtest.h>

#ifndef ZQ_SOURCE_DIR
#define ZQ_SOURCE_DIR "."
#endif

namespace zq::test {

void resetProgramState()
{
    WindowRegistry::unloadAll();
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ContactLog::instance().reset();
    StationSettings::instance() = StationSettings{};
    CountyTable::instance() = CountyTable{};
    CountryTable::instance() = CountryTable{};
    StateTable::instance() = StateTable{};
    ContestTotals::instance() = ContestTotals{};
    MultiplierMatrix::instance() = MultiplierMatrix{};
    EntryState::instance() = EntryState{};
    ContactIndex::instance().invalidate();
    LogOnState::instance() = LogOnState{};
    SectionTable::instance() = SectionTable{};
    ContactListState::instance() = ContactListState{};
    KeyingState::instance() = KeyingState{};
    KeyHandOver::instance() = KeyHandOver{};
    wk_close();
    // Keying: real key lines (tests that key install a recording one), and
    // a virtual clock, so a keyed message takes no real time.
    KeyingPorts::instance().releaseAll();
    KeyingPorts::setOpenerForTesting(nullptr);
    setKeyingClockForTesting(std::make_shared<VirtualKeyingClock>());
    WaveDevice::resetNoOutputNoticeForTesting();
    Folders::instance() = Folders{};
    SharedPrefs::instance() = SharedPrefs{};
    SpotStore::instance().clear();
    LookupState::instance() = LookupState{};
    setRigFrequencyChangerForTesting(nullptr);
    setScreenTwipsForTesting(0, 0);
    setWorkAreaTwipsForTesting(0, 0);
    setFrameMarginsForTesting({}, false);
    setWriteFaultForTesting(nullptr);
    // A test never ends its own process or waits on a modal window.
    setProgramEndHandlerForTesting([] {});
    resetProgramEndForTesting();
    InnerLoop::resetForTesting();
    setModalShowHandlerForTesting([](QWidget&) {});
}

void showActive(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
}

TestEnv::TestEnv()
{
    resetProgramState();
    oldCwd_ = QDir::currentPath();
    QDir::setCurrent(work_.path());
    setDocumentsFolderOverride(docs_.path());
    // The per-user settings store goes to a configuration folder of the
    // test's own.
    oldConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir()));
    auto& f = Folders::instance();
    f.WorkingDirectory = work_.path();
    f.WorkingDrive = QStringLiteral("/");
    f.UserDirectory = docs_.path() + QStringLiteral("/Brelvox Software/Carvonia");
    f.SharedDirectory = docs_.path() + QStringLiteral("/Brelvox Software/Shared");
    QDir().mkpath(f.UserDirectory + QStringLiteral("/BACKUP"));
    QDir().mkpath(f.SharedDirectory);
    f.ProgramVersion = QStringLiteral("2.1");

    auto p = std::make_unique<ScriptedPrompt>();
    prompt_ = p.get();
    setPrompt(std::move(p));
    auto c = std::make_unique<FakeClock>(
        QDateTime(QDate(2026, 9, 12), QTime(18, 30, 0), Qt::UTC), -5 * 3600);
    clock_ = c.get();
    setClock(std::move(c));
}

TestEnv::~TestEnv()
{
    resetProgramState();
    setPrompt(nullptr);
    setClock(nullptr);
    setDocumentsFolderOverride(QString());
    if (hadConfigHome_)
        qputenv("XDG_CONFIG_HOME", oldConfigHome_);
    else
        qunsetenv("XDG_CONFIG_HOME");
    QDir::setCurrent(oldCwd_);
}

QString TestEnv::configDir() const
{
    return docs_.path() + QStringLiteral("/config");
}

QString TestEnv::workPath(const QString& name) const
{
    return work_.path() + QLatin1Char('/') + name;
}

void TestEnv::writeWorkFile(const QString& name, const QByteArray& content) const
{
    QFile f(workPath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

QByteArray TestEnv::readWorkFile(const QString& name) const
{
    QFile f(workPath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void TestEnv::seedDataFile(const QString& name) const
{
    QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/") + name, workPath(name));
}

} // namespace zq::test
