// Morse keying accuracy on the real clock: a message keyed by the keying
// thread onto a recording key line, at 20 and 40 WPM, with each timing
// method.  Reported per run:
//   err_p50_ms, err_p99_ms, err_max_ms  every transition's distance from the
//                                       ideal schedule of the whole message
//                                       (from its first key-down)
//   length_err_pct                      the message's length against the ideal
//   ui_stall_max_ms                     the longest gap between two ticks of
//                                       a 1 ms timer of the user-interface
//                                       event loop while the message was keyed
//   cpu_per_s                           keying-thread CPU seconds per second sent
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "keying/MorseKeyer.h"
#include "platform/KeyLine.h"
#include "BenchStats.h"
#include "OffscreenMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

using namespace zq;
using namespace std::chrono;

namespace {

using zq::bench::percentile;

const QString kMessage = QStringLiteral("CQ ZQP K9XYZ");

// The Loop method's calibration as the keyer window runs it.
double calibratedLoops()
{
    static double loops = calibrateLoopsPer60ms().value_or(kCalibrationPasses);
    return loops;
}

void BM_KeyMessage(benchmark::State& state)
{
    const double wpm = static_cast<double>(state.range(0));
    const auto timing = static_cast<CwTiming>(state.range(1));

    for (auto _ : state) {
        SendBuffer buffer;
        MorseKeyer keyer(buffer);
        MorseSettings s;
        s.method = 1;
        s.wpm = wpm;
        s.space = 0;
        s.timing = timing;
        s.loopsPer60ms = calibratedLoops();
        keyer.setSettings(s);
        auto line = std::make_shared<RecordingKeyLine>(KeyLinePort::serial(1));
        keyer.needLine = [line](const MorseSettings&) { return MorseKeyer::LineAnswer{line, false}; };

        // The user-interface loop's turns while keying.
        double maxGapMs = 0;
        QElapsedTimer sinceLast;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            maxGapMs = std::max(maxGapMs, double(sinceLast.nsecsElapsed()) / 1e6);
            sinceLast.restart();
        });
        sinceLast.start();
        tick.start();

        buffer = kMessage;
        const auto started = steady_clock::now();
        keyer.drain();
        const double sentSeconds = duration<double>(steady_clock::now() - started).count();
        tick.stop();

        // The ideal schedule of the whole message, in units from its start.
        const double unit = timing == CwTiming::Sleep ? sleepUnitMilliseconds(*unitMilliseconds(wpm))
                                                      : *unitMilliseconds(wpm);
        std::vector<double> ideal;
        QString pattern;
        for (QChar c : kMessage)
            pattern += characterPattern(c, 0);
        QChar prev = u'0';
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            if (pattern[i] != prev)
                ideal.push_back(double(i) * unit);
            prev = pattern[i];
        }
        const auto t = line->transitions();
        std::vector<double> errors;
        const size_t n = std::min(t.size(), ideal.size());
        for (size_t i = 0; i < n; ++i) {
            const double actual = duration<double, std::milli>(t[i].at - t[0].at).count();
            errors.push_back(std::abs(actual - ideal[i]));
        }
        const double idealLength = double(pattern.size()) * unit;
        const double actualLength = n ? duration<double, std::milli>(t[n - 1].at - t[0].at).count()
                                            + (idealLength - ideal[n - 1])
                                      : 0;
        if (t.size() != ideal.size())
            state.SkipWithError("transition count differs from the schedule");
        state.counters["err_p50_ms"] = percentile(errors, 0.50);
        state.counters["err_p99_ms"] = percentile(errors, 0.99);
        state.counters["err_max_ms"] = percentile(errors, 1.0);
        state.counters["length_err_pct"] = (actualLength - idealLength) / idealLength * 100.0;
        state.counters["ui_stall_max_ms"] = maxGapMs;
        state.counters["cpu_per_s"] = keyer.lastDrainCpuSeconds() / sentSeconds;
        state.counters["transitions"] = double(t.size());
    }
}

const char* timingName(int t)
{
    switch (static_cast<CwTiming>(t)) {
    case CwTiming::Timer: return "Timer";
    case CwTiming::Sleep: return "Sleep";
    case CwTiming::Loop: return "Loop";
    default: return "None";
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int timing : {int(CwTiming::Timer), int(CwTiming::Sleep), int(CwTiming::Loop)}) {
        for (int wpm : {20, 40}) {
            benchmark::RegisterBenchmark(
                (std::string("BM_KeyMessage/") + timingName(timing) + "/" + std::to_string(wpm)
                 + "wpm")
                    .c_str(),
                BM_KeyMessage)
                ->Args({wpm, timing})
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return zq::bench::runBenchmarks(argc, argv);
}
