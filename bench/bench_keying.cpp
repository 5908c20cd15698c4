// Morse keying accuracy on the real clock: a message keyed by the keying
// thread onto a recording key line, at 20 and 40 WPM, with each timing
// method, on a quiet machine and under load ("busy": twice as many busy
// loops as processors, running for the message's length only).  Reported
// per run:
//   err_p50_ms, err_p99_ms, err_max_ms  every transition's distance from the
//                                       ideal schedule of the whole message
//                                       (from its first key-down)
//   length_err_pct, length_err_ms       the message's length against the ideal
//   min_element_ms, min_gap_ms          the shortest key-down and the shortest
//                                       key-up keyed (unit_ms is one unit: an
//                                       element or gap shorter than it was
//                                       shortened)
//   ui_stall_max_ms                     the longest gap between two ticks of
//                                       a 1 ms timer of the user-interface
//                                       event loop while the message was keyed
//   cpu_per_s                           keying-thread CPU seconds per second sent
//   realtime                            1 when the keying thread keyed at
//                                       real-time priority; the run's label
//                                       names its scheduling ("SCHED_FIFO 10
//                                       (direct)", "SCHED_OTHER")
//
// Code practice at 40 WPM through its window (BM_CodePractice), the CW
// keyer keying each character the window hands over:
//   added_gap_p50_ms, added_gap_p99_ms, added_gap_max_ms
//                                       key-up between two characters beyond
//                                       its ideal length
//   min_element_ms, min_gap_ms          as above
//
// The F1 repeat (BM_F1Repeat): "E" at 20 WPM (240 ms with its key-up)
// repeated with a delay of 2 s through the CW keyer window; each period,
// from one key-down to the next, should be 2240 ms:
//   period_min_ms, period_max_ms
#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "keying/MorseKeyer.h"
#include "keying/frmCodePractice.h"
#include "platform/KeyLine.h"
#include "platform/KeyingPorts.h"
#include "BenchStats.h"
#include "BenchWorld.h"
#include "OffscreenMain.h"

#include <QPlainTextEdit>
#include <QRadioButton>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

using namespace zq;
using namespace std::chrono;

namespace {

using zq::bench::percentile;

const QString kMessage = QStringLiteral("CQ ZQP K9XYZ");

// Twice as many busy loops as processors, for as long as it lives.
class BusyLoad {
public:
    explicit BusyLoad(bool on)
    {
        if (!on)
            return;
        const unsigned n = 2 * std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < n; ++i)
            threads_.emplace_back([this] {
                volatile unsigned long spins = 0;
                while (!stop_.load(std::memory_order_relaxed))
                    spins = spins + 1;
            });
    }
    ~BusyLoad()
    {
        stop_ = true;
        for (auto& t : threads_)
            t.join();
    }
    BusyLoad(const BusyLoad&) = delete;
    BusyLoad& operator=(const BusyLoad&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// The ideal changes of the line for a text, in units from its start.
std::vector<int> idealChanges(const QString& text)
{
    QString pattern;
    for (QChar c : text)
        pattern += characterPattern(c, 0);
    return patternChanges(pattern);
}

// The shortest key-down and key-up between the recorded changes.
void reportShortest(benchmark::State& state, const std::vector<RecordingKeyLine::Transition>& t)
{
    double minDown = 1e9, minUp = 1e9;
    for (size_t i = 1; i < t.size(); ++i) {
        const double ms = duration<double, std::milli>(t[i].at - t[i - 1].at).count();
        double& shortest = t[i - 1].down ? minDown : minUp;
        shortest = std::min(shortest, ms);
    }
    state.counters["min_element_ms"] = t.size() > 1 ? minDown : 0;
    state.counters["min_gap_ms"] = t.size() > 2 ? minUp : 0;
}

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
    const bool busy = state.range(2) != 0;
    const double loops = calibratedLoops(); // on a quiet machine, as chosen once

    for (auto _ : state) {
        SendBuffer buffer;
        MorseKeyer keyer(buffer);
        MorseSettings s;
        s.method = 1;
        s.wpm = wpm;
        s.space = 0;
        s.timing = timing;
        s.loopsPer60ms = loops;
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
        double sentSeconds = 0;
        {
            BusyLoad load(busy);
            const auto started = steady_clock::now();
            keyer.drain();
            sentSeconds = duration<double>(steady_clock::now() - started).count();
        }
        tick.stop();

        // The ideal schedule of the whole message, in units from its start.
        const double unit = timing == CwTiming::Sleep ? sleepUnitMilliseconds(*unitMilliseconds(wpm))
                                                      : *unitMilliseconds(wpm);
        std::vector<double> ideal;
        QString pattern;
        for (QChar c : kMessage)
            pattern += characterPattern(c, 0);
        for (int change : patternChanges(pattern))
            ideal.push_back(double(change) * unit);
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
        state.counters["length_err_ms"] = actualLength - idealLength;
        state.counters["ui_stall_max_ms"] = maxGapMs;
        state.counters["cpu_per_s"] = keyer.lastDrainCpuSeconds() / sentSeconds;
        state.counters["transitions"] = double(t.size());
        const ThreadSchedule schedule = keyer.keyingSchedule();
        state.counters["realtime"] = schedule.realtime() ? 1 : 0;
        state.SetLabel(schedule.describe().toStdString());
        state.counters["unit_ms"] = unit;
        reportShortest(state, t);
    }
}

// Code practice at 40 WPM: the window hands the CW keyer one character at
// a time; every key-up between two characters is measured against its
// ideal length.
// The CW window keying RTS of serial port 1 by the timer method at `wpm`,
// every key line it opens a recording one, collected in `lines`.
CWFrm& cwWindowOnRecordingLines(std::vector<RecordingKeyLine*>& lines, const QString& wpm)
{
    KeyingPorts::setOpenerForTesting([&lines](const KeyLinePort& port, QString*, QString*) {
        auto l = std::make_unique<RecordingKeyLine>(port);
        lines.push_back(l.get());
        return std::unique_ptr<KeyLine>(std::move(l));
    });
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Option1->click();
    cw.Text[10]->setText(QStringLiteral("1"));
    cw.Text[11]->setText(wpm);
    cw.optTimer->click();
    return cw;
}

void BM_CodePractice(benchmark::State& state)
{
    const bool busy = state.range(0) != 0;
    const QString text = QStringLiteral("VVV TEST DE K9XYZ QRL? ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");
    const double unit = 30; // 40 WPM
    for (auto _ : state) {
        zq::bench::BenchWorld world;
        std::vector<RecordingKeyLine*> lines;
        cwWindowOnRecordingLines(lines, QStringLiteral("40"));
        auto& cp = DefaultInstance<frmCodePractice>();
        cp.show();
        cp.Text1->setPlainText(text);
        {
            BusyLoad load(busy);
            cp.Command3_Click();
        }
        std::vector<RecordingKeyLine::Transition> t;
        if (!lines.empty())
            t = lines.back()->transitions();
        const std::vector<int> ideal = idealChanges(text);
        if (t.size() != ideal.size()) {
            state.SkipWithError("transition count differs from the text");
        } else {
            std::vector<double> added;
            for (size_t i = 2; i < t.size(); i += 2) {
                // t[i-1] key-up, t[i] the next key-down.
                const int idealUnits = ideal[i] - ideal[i - 1];
                if (idealUnits < 3)
                    continue; // within a character
                const double ms = duration<double, std::milli>(t[i].at - t[i - 1].at).count();
                added.push_back(ms - idealUnits * unit);
            }
            state.counters["added_gap_p50_ms"] = percentile(added, 0.50);
            state.counters["added_gap_p99_ms"] = percentile(added, 0.99);
            state.counters["added_gap_max_ms"] = percentile(added, 1.0);
            reportShortest(state, t);
        }
        WindowRegistry::unloadAll();
        KeyingPorts::instance().releaseAll();
        KeyingPorts::setOpenerForTesting(nullptr);
    }
}

void BM_F1Repeat(benchmark::State& state)
{
    const bool busy = state.range(0) != 0;
    for (auto _ : state) {
        zq::bench::BenchWorld world;
        std::vector<RecordingKeyLine*> lines;
        CWFrm& cw = cwWindowOnRecordingLines(lines, QStringLiteral("20"));
        cw.Text[1]->setText(QStringLiteral("E"));
        cw.txtCWLoop->setText(QStringLiteral("2"));
        cw.txtCWLoop_LostFocus();
        {
            BusyLoad load(busy);
            int f1 = 112;
            cw.FKeyCW(f1);
            // Four more sendings: the event loop runs the repeat.
            QEventLoop wait;
            QTimer::singleShot(4 * 2240 + 500, &wait, &QEventLoop::quit);
            wait.exec();
        }
        KeyingState::instance().CwRepeatActive = 0;
        cw.tmrRepeat->stop();
        std::vector<double> periods;
        if (!lines.empty()) {
            const auto t = lines.back()->transitions();
            std::vector<steady_clock::time_point> downs;
            for (const auto& tr : t)
                if (tr.down)
                    downs.push_back(tr.at);
            for (size_t i = 1; i < downs.size(); ++i)
                periods.push_back(duration<double, std::milli>(downs[i] - downs[i - 1]).count());
        }
        if (periods.empty()) {
            state.SkipWithError("no repeat");
        } else {
            state.counters["period_min_ms"] = *std::min_element(periods.begin(), periods.end());
            state.counters["period_max_ms"] = *std::max_element(periods.begin(), periods.end());
            state.counters["periods"] = double(periods.size());
        }
        WindowRegistry::unloadAll();
        KeyingPorts::instance().releaseAll();
        KeyingPorts::setOpenerForTesting(nullptr);
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int busy : {0, 1}) {
        const std::string load = busy ? "/busy" : "/quiet";
        for (int timing : {int(CwTiming::Timer), int(CwTiming::Sleep), int(CwTiming::Loop)}) {
            for (int wpm : {20, 40}) {
                benchmark::RegisterBenchmark((std::string("BM_KeyMessage/") + timingName(timing)
                                              + "/" + std::to_string(wpm) + "wpm" + load)
                                                 .c_str(),
                                             BM_KeyMessage)
                    ->Args({wpm, timing, busy})
                    ->Iterations(1)
                    ->Unit(benchmark::kMillisecond);
            }
        }
        benchmark::RegisterBenchmark((std::string("BM_CodePractice/40wpm") + load).c_str(),
                                     BM_CodePractice)
            ->Args({busy})
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_F1Repeat/20wpm") + load).c_str(),
                                     BM_F1Repeat)
            ->Args({busy})
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return zq::bench::runBenchmarks(argc, argv);
}
