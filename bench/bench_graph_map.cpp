// The rate graph and the county map.
// Rate graph at 1000 and 11000 contacts (a 48-hour contest, bands mixed):
// the computation alone, and through the real window (offscreen) the whole
// drawing (computation, captions, curve and ribbon on the picture) and the
// background switch (erase, recolour, draw), on a 1920 x 1040 pixel work
// area.
// County map: colouring all 77 counties of the shipped map, and one fill of
// its largest county.
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"
#include "output/CountyMap.h"
#include "output/GraphQSO.h"
#include "platform/Prompt.h"
#include "OffscreenMain.h"

#include <QApplication>
#include <QDateTime>
#include <benchmark/benchmark.h>

using namespace zq;

namespace {

const char* const Bands[] = {"160", "80", "40", "20", "15", "10", "6"};

uint32_t nextRandom(uint32_t& s)
{
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

// n contacts over 48 hours, in time order, with a quiet night in between.
void fillLog(int n)
{
    ContactLog& log = ContactLog::instance();
    log.reset();
    const QDateTime start(QDate(2026, 9, 12), QTime(14, 0, 0), Qt::UTC);
    uint32_t seed = 7;
    for (int i = 1; i <= n; ++i) {
        qint64 at = qint64(i) * 48 * 3600 / n;
        if (at > 12 * 3600 && at < 20 * 3600)
            at = 12 * 3600 + (at - 12 * 3600) / 8; // few contacts at night
        const QDateTime t = start.addSecs(at);
        ContactRecord& c = log[i];
        c.LogCall = QStringLiteral("W1AW");
        c.LogDate = t.toString(QStringLiteral("yyyy/MM/dd"));
        c.LogTime = t.toString(QStringLiteral("HH:mm:ss"));
        c.LogBand = QString::fromLatin1(Bands[nextRandom(seed) % 7]);
        c.LogMode = QStringLiteral("CW");
    }
    log.ContactCount = n;
}

const BandColours Colours = {qRgb(255, 255, 255), qRgb(0, 0, 255),   qRgb(255, 0, 0),
                             qRgb(0, 255, 0),     qRgb(128, 255, 255), qRgb(255, 0, 255),
                             qRgb(255, 255, 0)};

void BM_RateGraphCompute(benchmark::State& state)
{
    fillLog(static_cast<int>(state.range(0)));
    const ContactLog& log = ContactLog::instance();
    for (auto _ : state) {
        RateGraph g = computeRateGraph(log, log.ContactCount, Colours, qRgb(0, 0, 0));
        benchmark::DoNotOptimize(g.RateMax);
    }
}
BENCHMARK(BM_RateGraphCompute)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

void BM_RateGraphWindowDraw(benchmark::State& state)
{
    fillLog(static_cast<int>(state.range(0)));
    setWorkAreaTwipsForTesting(1920 * twipsPerPixelX(), 1040 * twipsPerPixelY());
    GraphQSO& w = DefaultInstance<GraphQSO>();
    state.counters["width"] = w.picture().width();
    for (auto _ : state) {
        w.DrawRateGraph();
        benchmark::DoNotOptimize(w.picture().constBits());
    }
    WindowRegistry::unloadAll();
}
BENCHMARK(BM_RateGraphWindowDraw)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

void BM_RateGraphBackgroundSwitch(benchmark::State& state)
{
    fillLog(static_cast<int>(state.range(0)));
    setWorkAreaTwipsForTesting(1920 * twipsPerPixelX(), 1040 * twipsPerPixelY());
    GraphQSO& w = DefaultInstance<GraphQSO>();
    state.counters["width"] = w.picture().width();
    for (auto _ : state) {
        w.Command1_Click();
        benchmark::DoNotOptimize(w.picture().constBits());
    }
    WindowRegistry::unloadAll();
}
BENCHMARK(BM_RateGraphBackgroundSwitch)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

void BM_ColourAll77Counties(benchmark::State& state)
{
    const QImage map = countyMapPicture();
    const std::vector<HotSpot> spots = countyMapHotSpots();
    QStringList names;
    for (const HotSpot& s : spots)
        names << s.name.toUpper(); // matched without regard to case
    CountyColours colours(1);
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = map;
        picture.detach();
        state.ResumeTiming();
        benchmark::DoNotOptimize(colourWorkedCounties(picture, spots, names, colours));
    }
}
BENCHMARK(BM_ColourAll77Counties)->Unit(benchmark::kMicrosecond);

void BM_FillLargestCounty(benchmark::State& state)
{
    const QImage map = countyMapPicture();
    QPoint largest;
    int most = 0;
    for (const HotSpot& s : countyMapHotSpots()) {
        QImage probe = map;
        const int n = floodFill(probe, s.centre(), qRgb(1, 2, 3));
        if (n > most) {
            most = n;
            largest = s.centre();
        }
    }
    state.counters["pixels"] = most;
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = map;
        picture.detach();
        state.ResumeTiming();
        benchmark::DoNotOptimize(floodFill(picture, largest, qRgb(10, 20, 30)));
    }
}
BENCHMARK(BM_FillLargestCounty)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setPrompt(std::make_unique<ScriptedPrompt>());
    return zq::bench::runBenchmarks(argc, argv);
}
