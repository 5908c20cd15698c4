// Log store timings on a full log: load of 11000 contacts, one synced
// append, and a rewrite of 11000 contacts.
#include "platform/Folders.h"
#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zq;

namespace {

ContactRecord sampleContact(int i)
{
    ContactRecord r;
    r.LogCall = QStringLiteral("W%1ABC").arg(i % 10);
    r.LogRstSent = QStringLiteral("59");
    r.LogRstReceived = QStringLiteral("59");
    r.LogCounty = QStringLiteral("Ashcombe");
    r.LogDate = QStringLiteral("2026/09/12");
    r.LogTime = QStringLiteral("18:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'));
    r.LogMode = (i % 2) ? QStringLiteral("CW") : QStringLiteral("PH");
    r.LogBand = QStringLiteral("20");
    r.LogFrequency = QStringLiteral("14.250");
    return r;
}

// A temporary working and documents folder with a full log.txt; dialogs are
// answered by a scripted prompt so nothing waits for an operator.
struct Fixture {
    QTemporaryDir work;
    QTemporaryDir docs;

    Fixture()
    {
        setPrompt(std::make_unique<ScriptedPrompt>());
        auto& f = Folders::instance();
        f.WorkingDirectory = work.path();
        f.UserDirectory = docs.path() + QStringLiteral("/Brelvox Software/Carvonia");
        QDir().mkpath(f.UserDirectory + QStringLiteral("/BACKUP"));
        QDir::setCurrent(work.path());
        writeFullLog();
    }
    ~Fixture() { setPrompt(nullptr); }

    void writeFullLog()
    {
        QByteArray content;
        for (int i = 1; i <= ContactLog::Capacity; ++i)
            content += formatContactLine(sampleContact(i));
        QFile file(logFilePath());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
    }
};

void BM_LoadFullLog(benchmark::State& state)
{
    Fixture fx;
    for (auto _ : state) {
        bool ok = LoadLogFile();
        benchmark::DoNotOptimize(ok);
    }
    state.counters["contacts"] = ContactLog::instance().ContactCount;
}
BENCHMARK(BM_LoadFullLog)->Unit(benchmark::kMillisecond);

void BM_AppendOneContact(benchmark::State& state)
{
    Fixture fx;
    LoadLogFile();
    // Appends the last contact again and again; the file grows by one line
    // per iteration, which does not change the cost of an append.
    for (auto _ : state) {
        bool ok = AppendLogFile();
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_AppendOneContact)->Unit(benchmark::kMillisecond);

void BM_RewriteFullLog(benchmark::State& state)
{
    Fixture fx;
    LoadLogFile();
    for (auto _ : state) {
        bool ok = RewriteLogFile();
        benchmark::DoNotOptimize(ok);
    }
    state.counters["contacts"] = ContactLog::instance().ContactCount;
}
BENCHMARK(BM_RewriteFullLog)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
