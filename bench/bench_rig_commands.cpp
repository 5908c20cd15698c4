// Tuning the radio, against fake radios on pseudo-terminals:
// - BM_ElecraftStall: the worst stall of the event loop (a 1 ms probe
//   timer) while an Elecraft frequency change runs its 1205 ms of pauses;
// - BM_CommandGap/<type>: per family, the time from the call to the mode
//   command and the gap between the mode and the frequency command as the
//   fake receives them, against the family's own pause;
// - BM_BuildFrequencyCommand: building one command.
#include "BenchWorld.h"
#include "common/WindowRegistry.h"
#include "rig/RigCommands.h"
#include "rig/RigControlfrm.h"
#include "rig/RigSettings.h"
#include "support/FakeRadio.h"
#include "OffscreenMain.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QRadioButton>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <functional>

using namespace zq;
using zq::test::FakeRadio;

namespace {

// The Extra rows the commands need: 20 m phone gives USB at 14.25 MHz.
const QByteArray kPlan = "\"2024/01/01\"\r\n"
                         "\"20\",\"O\",\"CW\",14.0,14.35\r\n"
                         "\"20\",\"E\",\"CW\",14.0,14.15\r\n"
                         "\"20\",\"E\",\"PH\",14.15,14.35\r\n";

// The rig dialog polling a fake radio of the type, the poll timer held so
// only the commands talk to the radio.
struct TuneFixture {
    bench::BenchWorld world;
    FakeRadio radio;
    RigControlfrm* rig = nullptr;

    TuneFixture(const QString& type, FakeRadio::Family family) : radio(family)
    {
        world.writeFile(QStringLiteral("BandPlan.txt"), kPlan);
        radio.writeComPorts(world.work.path(), 3);

        rig = &DefaultInstance<RigControlfrm>();
        rig->List1->setCurrentItem(rig->List1->findItems(type, Qt::MatchExactly).first());
        rig->optComm(2)->setChecked(true);
        rig->show();
        rig->Command1_Click();
        rig->tmrGetData->setInterval(3600 * 1000);
        rig->tmrGetData->start();
        test::pumpFor(30);
    }
    ~TuneFixture()
    {
        // The dialog closes its port while the fake radio is still there.
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Runs the event loop until the command has gone out and been read.
    void finish()
    {
        test::pumpUntil([&] { return !rig->commandPending(); }, 10000);
        test::pumpFor(10);
    }
};

double msBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Longest gap between the ticks of a 1 ms probe timer, less the probe's
// own millisecond, while `during` runs the event loop.
//
// worstBusyMs (when given) receives the longest stretch the event loop
// spent handling events between two waits: the work the program did in
// one go, without the scheduler's delays while the loop slept.
double worstProbeStall(const std::function<void(QEventLoop&)>& during, double* worstBusyMs = nullptr)
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QElapsedTimer busy;
    qint64 worstBusy = 0;
    const QMetaObject::Connection awake =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { busy.start(); });
    const QMetaObject::Connection blocking =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] {
            if (busy.isValid())
                worstBusy = std::max(worstBusy, busy.nsecsElapsed());
        });
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 worst = 0;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            worst = std::max(worst, now - last);
        last = now;
    });
    clock.start();
    probe.start();
    QEventLoop loop;
    during(loop);
    loop.exec();
    QObject::disconnect(awake);
    QObject::disconnect(blocking);
    if (worstBusyMs)
        *worstBusyMs = worstBusy / 1e6;
    return std::max(0.0, worst / 1e6 - 1.0);
}

// worst_stall_ms during the Elecraft command; idle_stall_ms is the same
// probe over the same time with nothing running (the machine's own noise);
// worst_busy_ms the longest the loop was busy in one go during the command.
void BM_ElecraftStall(benchmark::State& state)
{
    TuneFixture fx(QStringLiteral("Elecraft"), FakeRadio::Family::Kenwood);
    double worstCommand = 0, worstIdle = 0, worstBusy = 0;
    for (auto _ : state) {
        fx.radio.clearRecord();
        const auto start = std::chrono::steady_clock::now();
        QTimer done;
        double busyMs = 0;
        worstCommand = std::max(worstCommand, worstProbeStall([&](QEventLoop& loop) {
            fx.rig->ChangeFrequency(14.25f);
            QObject::connect(&done, &QTimer::timeout, &loop, [&] {
                if (!fx.rig->commandPending())
                    loop.quit();
            });
            done.start(1);
        }, &busyMs));
        worstBusy = std::max(worstBusy, busyMs);
        done.stop();
        state.SetIterationTime(msBetween(start, std::chrono::steady_clock::now()) / 1000.0);
        fx.finish();
        worstIdle = std::max(worstIdle, worstProbeStall([](QEventLoop& loop) {
            QTimer::singleShot(1300, &loop, &QEventLoop::quit);
        }));
    }
    state.counters["worst_stall_ms"] = worstCommand;
    state.counters["idle_stall_ms"] = worstIdle;
    state.counters["worst_busy_ms"] = worstBusy;
    state.counters["bytes_ok"] = fx.radio.receivedBytes() == "MD2;FA00014250000;" ? 1 : 0;
}
BENCHMARK(BM_ElecraftStall)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

struct GapCase {
    const char* rig;
    FakeRadio::Family family;
    int modeLength;  // bytes of the mode command (0: none)
    int familyPause; // ms before the frequency command
};

const std::vector<GapCase>& gapCases()
{
    static const std::vector<GapCase> cases = {
        {"Kenwood", FakeRadio::Family::Kenwood, 4, 205},
        {"Kenwood 2", FakeRadio::Family::Kenwood, 4, 205},
        {"Elecraft", FakeRadio::Family::Kenwood, 4, 1205},
        {"Yaesu FTdx9000", FakeRadio::Family::Kenwood, 5, 205},
        {"Icom", FakeRadio::Family::Icom, 7, 140},
        {"Icom 735", FakeRadio::Family::Icom, 0, 140},
        {"Ten Tec Omni VI", FakeRadio::Family::Icom, 7, 360},
        {"Ten Tec Fnt Pnl", FakeRadio::Family::TenTecPanel, 0, 205},
        {"Ten Tec Orion", FakeRadio::Family::Orion, 0, 205},
        {"Yaesu", FakeRadio::Family::Yaesu, 5, 205},
        {"Yaesu 757 GX II", FakeRadio::Family::Yaesu, 5, 205},
        {"Yaesu 890", FakeRadio::Family::Yaesu, 5, 205},
        {"Yaesu 920", FakeRadio::Family::Yaesu, 5, 205},
        {"Yaesu 990", FakeRadio::Family::Yaesu, 5, 205},
        {"Yaesu 1000 D", FakeRadio::Family::Yaesu, 5, 205},
        {"Yaesu 1000", FakeRadio::Family::Yaesu, 5, 10},
    };
    return cases;
}

// gap_ms: from the last byte of the mode command to the first of the
// frequency command (for the families without a mode command, from the
// call: the 99 ms mode pause is part of it then).  min/max over the
// iterations; below_pause counts gaps shorter than the family's pause.
void BM_CommandGap(benchmark::State& state, const GapCase& c)
{
    TuneFixture fx(QString::fromLatin1(c.rig), c.family);
    const double expected = c.familyPause + (c.modeLength == 0 ? ModeCommandPauseMs : 0);
    double minGap = 1e9, maxGap = 0, minModeLead = 1e9;
    int belowPause = 0;
    for (auto _ : state) {
        fx.radio.clearRecord();
        const auto called = std::chrono::steady_clock::now();
        fx.rig->ChangeFrequency(14.25f);
        fx.finish();
        state.SetIterationTime(msBetween(called, std::chrono::steady_clock::now()) / 1000.0);
        std::chrono::steady_clock::time_point modeEnd = called, freqStart = called;
        qsizetype seen = 0;
        bool found = false;
        for (const FakeRadio::Chunk& ch : fx.radio.received()) {
            if (c.modeLength > 0 && seen < c.modeLength && seen + ch.bytes.size() >= c.modeLength)
                modeEnd = ch.at;
            if (!found && seen + ch.bytes.size() > c.modeLength) {
                freqStart = ch.at;
                found = true;
            }
            seen += ch.bytes.size();
        }
        const double gap = msBetween(modeEnd, freqStart);
        minGap = std::min(minGap, gap);
        maxGap = std::max(maxGap, gap);
        if (c.modeLength > 0)
            minModeLead = std::min(minModeLead, msBetween(called, modeEnd));
        belowPause += gap < expected ? 1 : 0;
    }
    state.counters["pause_ms"] = expected;
    state.counters["gap_min_ms"] = minGap;
    state.counters["gap_max_ms"] = maxGap;
    state.counters["over_pause_max_ms"] = maxGap - expected;
    state.counters["below_pause"] = belowPause;
    if (c.modeLength > 0)
        state.counters["call_to_mode_min_ms"] = minModeLead;
}

void BM_BuildFrequencyCommand(benchmark::State& state)
{
    RigCommandContext ctx;
    ctx.rigType = QStringLiteral("Icom");
    ctx.freqPoll = QStringLiteral("FE FE 64 E0 03 FD");
    float f = 1.8f;
    for (auto _ : state) {
        RigCommand c = buildFrequencyCommand(ctx, f);
        benchmark::DoNotOptimize(c);
        f = f > 1000 ? 1.8f : f * 1.01f;
    }
}
BENCHMARK(BM_BuildFrequencyCommand);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const GapCase& c : gapCases()) {
        benchmark::RegisterBenchmark((std::string("BM_CommandGap/") + c.rig).c_str(), BM_CommandGap, c)
            ->Iterations(5)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    return zq::bench::runBenchmarks(argc, argv);
}
