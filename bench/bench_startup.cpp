// Start-up of the whole program, offscreen: each run executes this program
// anew as a child that starts the logger the way main() does, with a
// seeded QSOpref.txt and county table, and ends when the log window has
// painted for the first time.  The logo is dismissed at once and the
// splash's Continue and the set-up dialog's Done are pressed as soon as
// they show, so the figure leaves out the specified waits and the
// operator.  The time runs from the exec of the child to its end; the
// counter child_cpu_ms is the processor time the child used.
#include "app/StartProgram.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/LogWindow.h"
#include "platform/Prompt.h"
#include "startup/frmBrelvoxLogo.h"
#include "startup/frmSplash.h"
#include "startup/frmStationID.h"
#include "OffscreenMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace zq;

namespace {

const char* const ChildFlag = "--startup-child";

// Presses on through the start-up windows as they show and ends the
// process once the log window has painted.
class StartupDriver : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            if (auto* logo = qobject_cast<frmBrelvoxLogo*>(o))
                QTimer::singleShot(0, logo, [logo] { logo->reject(); });
            else if (auto* splash = qobject_cast<frmSplash*>(o))
                QTimer::singleShot(0, splash, [splash] { splash->Command1->click(); });
            else if (auto* setup = qobject_cast<frmStationID*>(o))
                QTimer::singleShot(0, setup, [setup] { setup->Command1->click(); });
        } else if (e->type() == QEvent::Paint) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && qobject_cast<LogWindow*>(w->window()))
                std::_Exit(0);
        }
        return false;
    }
};

int runChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brelvox_Software"));
    QApplication::setApplicationName(QStringLiteral("Carvonia"));
    QApplication::setQuitOnLastWindowClosed(false);
    setPrompt(std::make_unique<ScriptedPrompt>()); // any question answered at once
    StartupDriver driver;
    app.installEventFilter(&driver);
    QTimer::singleShot(30000, [] { std::_Exit(3); });
    if (!startProgram())
        return 2;
    app.exec();
    return 4; // ended without painting the log window
}

// The working folder and home of the child: the shipped data files and a
// station that has been set up before.
struct StartupFolders {
    QTemporaryDir work;
    QTemporaryDir home;

    explicit StartupFolders(uint8_t outOfState)
    {
        for (const char* name : {"county2.txt", "arrlpre2.txt", "states.txt", "ADIFCnt.txt",
                                 "ReadSQSO.txt"})
            QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/data/") + QLatin1String(name),
                        work.filePath(QLatin1String(name)));
        QDir().mkpath(home.filePath(QStringLiteral("Documents")));
        StationSettings& s = StationSettings::instance();
        s = StationSettings{};
        s.OwnCall = QStringLiteral("K0ZQ");
        s.OwnSpc = QStringLiteral("ZQ");
        s.OwnCountry = QStringLiteral("USA");
        s.OwnCounty = QStringLiteral("Alderbrook");
        s.OwnContinent = QStringLiteral("NA");
        s.OwnLatitude = 39.8f;
        s.OwnLongitude = 98.6f;
        s.OutOfStateFlag = outOfState;
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(work.path());
        WritePrefFile();
        QDir::setCurrent(cwd);
    }
};

void BM_StartProgram(benchmark::State& state)
{
    StartupFolders folders(static_cast<uint8_t>(state.range(0)));
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    const QByteArray work = QFile::encodeName(folders.work.path());
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("HOME", folders.home.path().toLocal8Bit().constData(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    double cpuSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        char* args[] = {const_cast<char*>(self.constData()), const_cast<char*>(ChildFlag),
                        const_cast<char*>(work.constData()), nullptr};
        if (posix_spawn(&pid, self.constData(), nullptr, nullptr, args, environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const auto end = std::chrono::steady_clock::now();
        cpuSeconds += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
            + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the log window did not paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    // The child's own processor time (user and system), which a busy
    // machine does not inflate as it does the wall time.
    state.counters["child_cpu_ms"] =
        benchmark::Counter(cpuSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartProgram)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("outOfState")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], ChildFlag) == 0) {
        QDir::setCurrent(QFile::decodeName(argv[2]));
        return runChild(argc, argv);
    }
    QCoreApplication app(argc, argv);
    return zq::bench::runBenchmarks(argc, argv);
}
