// Submission file timings on a full log of 11000 contacts: the file's
// content alone, and the whole write (content, then QSaveFile with its sync
// and rename over an existing file).
#include "logstore/ContactLog.h"
#include "output/CabrilloFile.h"
#include "platform/SafeFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zq;

namespace {

const char* const kCounties[] = {"Alderbrook", "Ashcombe", "Pembrook Valley", "Red Oak"};
const char* const kSpcs[] = {"ZQ", "IL", "ON", "Germany"};
const char* const kBands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};

ContactLog& fullLog()
{
    static ContactLog* log = [] {
        auto* l = new ContactLog;
        for (int i = 1; i <= ContactLog::Capacity; ++i) {
            ContactRecord& r = (*l)[i];
            r.LogCall = QStringLiteral("W%1ABC").arg(i % 10);
            r.LogRstSent = QStringLiteral("599");
            r.LogRstReceived = QStringLiteral("599");
            r.LogSpc = QLatin1String(kSpcs[i % 4]);
            r.LogCounty = r.LogSpc == u"ZQ" ? QLatin1String(kCounties[i % 4]) : QString();
            r.LogCountySent = QStringLiteral("Alderbrook");
            r.LogDate = QStringLiteral("2026/09/12");
            r.LogTime = QStringLiteral("18:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'));
            r.LogMode = (i % 2) ? QStringLiteral("CW") : QStringLiteral("PH");
            r.LogBand = QLatin1String(kBands[i % 8]);
        }
        l->ContactCount = ContactLog::Capacity;
        return l;
    }();
    return *log;
}

CabrilloHeader sampleHeader()
{
    CabrilloHeader h;
    h.programVersion = QStringLiteral("2.1");
    h.ownCall = QStringLiteral("K9XYZ");
    h.ownArrlSection = QStringLiteral("IL");
    h.homeStateCode = QStringLiteral("ZQ");
    h.category = cabrilloCategory(CabrilloLocation::Carvonia, CabrilloCategory::SingleOp,
                                  CabrilloPower::Low);
    h.claimedScore = QStringLiteral("2,541,000");
    h.name = QStringLiteral("Pat Example");
    return h;
}

const CabrilloStation kStation{QStringLiteral("K9XYZ"), QStringLiteral("IL"), false};

void BM_CabrilloContentFullLog(benchmark::State& state)
{
    const ContactLog& log = fullLog();
    const CabrilloHeader h = sampleHeader();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray content = formatCabrillo(h, kStation, log, log.ContactCount);
        bytes = content.size();
        benchmark::DoNotOptimize(content.constData());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CabrilloContentFullLog)->Unit(benchmark::kMillisecond);

void BM_CabrilloWriteFullLog(benchmark::State& state)
{
    const ContactLog& log = fullLog();
    const CabrilloHeader h = sampleHeader();
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/K9XYZ.log");
    for (auto _ : state) {
        const bool ok =
            writeFileAtomically(path, formatCabrillo(h, kStation, log, log.ContactCount));
        if (!ok)
            state.SkipWithError("the write failed");
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_CabrilloWriteFullLog)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
