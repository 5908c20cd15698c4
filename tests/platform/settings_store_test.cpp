// The per-user settings store: its file under the XDG configuration
// folder, and a file in its place that could hold QSettings in its open
// for good (a pipe, a link as the lock file) refused before anything waits
// on it: keys read as "", nothing is saved, the operator is told once.

#include "platform/SettingsStore.h"
#include "support/TestEnv.h"
#include "support/WatchedFifo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace zq;
using namespace zq::test;

namespace {

// Runs `release` on a thread of its own once five seconds have passed,
// unless it is destroyed first: whatever a refused file could hold is let
// go, so a store that waits on it fails its test instead of hanging.
class Watchdog {
public:
    explicit Watchdog(std::function<void()> release)
        : thread_([this, release = std::move(release)] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!wake_.wait_for(lock, std::chrono::seconds(5), [this] { return stop_; })) {
                  released_ = true;
                  release();
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    bool released()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return released_;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool released_ = false;
    std::thread thread_;
};

} // namespace

TEST(SettingsStore, KeysAreKeptInTheApplicationsFileUnderTheConfigurationFolder)
{
    TestEnv env;
    const QString file = env.configDir() + QStringLiteral("/Brelvox_Software/CarvoniaTests.conf");
    EXPECT_EQ(GetSetting(QStringLiteral("UserCWSelection")), QString());
    EXPECT_TRUE(SaveSetting(QStringLiteral("UserCWSelection"), QStringLiteral("Sleep")));
    EXPECT_EQ(GetSetting(QStringLiteral("UserCWSelection")), QStringLiteral("Sleep"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    EXPECT_TRUE(f.readAll().contains("UserCWSelection=Sleep"));
    EXPECT_TRUE(env.prompt().messageTitles().isEmpty());
}

// In the store's place: a pipe (QSettings would wait in its open for a
// writer), a link as the lock file that a save makes (the lock would wait
// for it to go for good), a folder.  Each is refused unopened, said once
// with its path, and left as it was; once it is gone the store works
// again.
TEST(SettingsStore, AFileInTheStoresPlaceThatIsNoRegularFileIsRefusedUnopened)
{
    enum class Kind { Pipe, LinkAsLock, Folder };
    for (const Kind kind : {Kind::Pipe, Kind::LinkAsLock, Kind::Folder}) {
        SCOPED_TRACE(int(kind));
        TestEnv env;
        const QString folder = env.configDir() + QStringLiteral("/Brelvox_Software");
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/CarvoniaTests.conf");
        const QString lock = file + QStringLiteral(".lock");
        const QString refused = kind == Kind::LinkAsLock ? lock : file;

        std::optional<WatchedFifo> pipe;
        std::optional<Watchdog> watchdog;
        switch (kind) {
        case Kind::Pipe:
            pipe.emplace(file);
            ASSERT_TRUE(pipe->ok());
            break;
        case Kind::LinkAsLock:
            ASSERT_TRUE(QFile::link(folder + QStringLiteral("/nowhere"), lock));
            watchdog.emplace([lock] { QFile::remove(lock); });
            break;
        case Kind::Folder: ASSERT_TRUE(QDir().mkdir(file)); break;
        }

        EXPECT_EQ(GetSetting(QStringLiteral("UserCWSelection")), QString());
        EXPECT_FALSE(SaveSetting(QStringLiteral("UserCWSelection"), QStringLiteral("Sleep")));
        EXPECT_EQ(GetSetting(QStringLiteral("UserCWSelection")), QString());
        EXPECT_FALSE(pipe && pipe->readerWasReleased()) << "the store waited on the pipe";
        EXPECT_FALSE(watchdog && watchdog->released()) << "the store waited on the lock";
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Settings Not Used")});
        EXPECT_TRUE(env.prompt().messageTexts().value(0).contains(
            QDir::toNativeSeparators(refused) + QStringLiteral(" is not a regular file")))
            << env.prompt().messageTexts().value(0).toStdString();
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(refused).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, kind == Kind::Pipe          ? S_IFIFO
                                           : kind == Kind::LinkAsLock ? S_IFLNK
                                                                      : S_IFDIR);
        watchdog.reset();
        pipe.reset();

        ASSERT_TRUE(kind == Kind::Folder ? QDir().rmdir(file) : QFile::remove(refused));
        EXPECT_TRUE(SaveSetting(QStringLiteral("UserCWSelection"), QStringLiteral("Sleep")));
        EXPECT_EQ(GetSetting(QStringLiteral("UserCWSelection")), QStringLiteral("Sleep"));
        EXPECT_EQ(env.prompt().messageTitles().size(), 1);
    }
}
