// One label pass of the band map window over a full store of 50 spots
// spread over its eleven bands (offscreen).

#include "OffscreenMain.h"
#include "common/WindowRegistry.h"
#include "spots/BandMapWindow.h"
#include "spots/AllBandsScale.h"
#include "spots/SpotStore.h"

#include <QApplication>
#include <QDateTime>
#include <benchmark/benchmark.h>

namespace {

void BM_BandMapLabelDisplay(benchmark::State& state)
{
    zq::SpotStore& store = zq::SpotStore::instance();
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < zq::SpotStore::Held; ++i) {
        const zq::SpectrumBand& b = zq::SpectrumBandTable()[size_t(i % zq::SpectrumBandCount)];
        store.addSpot(QStringLiteral("K%1ABC").arg(i), b.low + (b.high - b.low) * (i % 7 + 1) / 9.f,
                      now.addSecs(-i * 20));
    }
    zq::SpectrumMap& m = zq::DefaultInstance<zq::SpectrumMap>();
    m.show();
    for (auto _ : state)
        m.BandMapLabelDisplay();
    zq::WindowRegistry::unload<zq::SpectrumMap>();
}
BENCHMARK(BM_BandMapLabelDisplay)->Unit(benchmark::kMicrosecond);

} // namespace

ZQ_OFFSCREEN_BENCHMARK_MAIN()
