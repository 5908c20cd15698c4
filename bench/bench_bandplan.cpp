// The band plan: the mode lookup every frequency change makes, and one
// drawing of the Extra privileges in the real window (offscreen).

#include "OffscreenMain.h"
#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "rig/BandPlan.h"
#include "rig/frmBandPlan.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A plan shaped like the shipped one: 16 bands, an outline row and eight
// class rows each (136 records).
QByteArray planText()
{
    QByteArray out = "\"2012/03/05\"\r\n";
    for (int b = 0; b < 16; ++b) {
        const double lo = 1.8 * (b + 1) * (b + 1);
        const double hi = lo + 0.5 * (b + 1);
        const QByteArray band = QByteArray::number(b + 1);
        out += "\"" + band + "\",\"O\",\"PH\"," + QByteArray::number(lo) + ","
            + QByteArray::number(hi) + "\r\n";
        for (const char* cls : {"N", "T", "P", "G", "A", "E", "E", "G"}) {
            const double mid = (lo + hi) / 2;
            out += "\"" + band + "\",\"" + cls + "\",\"CW\"," + QByteArray::number(lo) + ","
                + QByteArray::number(mid) + "\r\n";
        }
    }
    return out;
}

void BM_BandPlanMode(benchmark::State& state)
{
    zq::BandPlanRows rows;
    zq::readBandPlan(planText(), rows, true);
    float f = 1.9f;
    for (auto _ : state) {
        QString mode;
        zq::BandPlanMode(rows, f, mode);
        benchmark::DoNotOptimize(mode);
        f = f > 500 ? 1.9f : f * 1.37f; // walk every band, matched or not
    }
}
BENCHMARK(BM_BandPlanMode);

void BM_DrawExtraPrivileges(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("BandPlan.txt")));
    f.open(QIODevice::WriteOnly);
    f.write(planText());
    f.close();
    zq::Folders::instance().WorkingDirectory = dir.path();
    zq::frmBandPlan& w = zq::DefaultInstance<zq::frmBandPlan>();
    for (auto _ : state) {
        w.DrawPrivileges(QStringLiteral("E"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    zq::WindowRegistry::unload<zq::frmBandPlan>();
}
BENCHMARK(BM_DrawExtraPrivileges)->Unit(benchmark::kMillisecond);

} // namespace

ZQ_OFFSCREEN_BENCHMARK_MAIN()
