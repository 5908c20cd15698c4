// Rig control timings.
// Each reply decoder on its family's example reply and on 4096 bytes of
// garbage; one send phase and one receive phase of the poll cycle with the
// rig dialog shown, against a fake radio on a pseudo-terminal, handing
// frequency and mode to a started log window; and the worst stall of the
// event loop (a 1 ms probe timer) while polling the fake every 100 ms for
// 10 seconds.
#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "logwindow/Outfrm.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/SerialPort.h"
#include "rig/RigControlfrm.h"
#include "rig/RigDecoders.h"
#include "support/FakeRadio.h"

#include "BenchWorld.h"
#include "OffscreenMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <ctime>

using namespace zq;
using zq::test::FakeRadio;

namespace {

using test::bytesOf;

struct DecoderCase {
    const char* rig;
    QByteArray example;
    bool afterFrequencyQuery;
};

const std::vector<DecoderCase>& decoderCases()
{
    static const std::vector<DecoderCase> cases = {
        {"Kenwood", "FA00014250000;MD3;", true},
        {"Kenwood 2", "IF00014250000     +0000000000300000 ;", true},
        {"Yaesu FTdx9000", "FA14250000;MD03;", true},
        {"Icom", bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD, 0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x00,
                        0x25, 0x14, 0x00, 0xFD}), true},
        {"Icom", bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x04, 0xFD, 0xFE, 0xFE, 0xE0, 0x64, 0x04, 0x03, 0x01,
                        0xFD}), false},
        {"Yaesu", bytesOf({0x01, 0x42, 0x50, 0x00, 0x82}), true},
        {"Yaesu 757 GX II", bytesOf({0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01, 0x02}), true},
        {"Yaesu 890", bytesOf({0, 0, 0x15, 0xBE, 0x68, 0, 0, 0x02}), true},
        {"Yaesu 920", bytesOf({0, 0x00, 0xD9, 0x70, 0x10, 0, 0, 0x01}), true},
        {"Yaesu 990", bytesOf({0, 0x15, 0xBE, 0x68, 0, 0, 0, 0x02}), true},
        {"Yaesu 1000", bytesOf({0, 0x01, 0x5B, 0xE6, 0x80, 0, 0, 0x02}), true},
        {"Ten Tec Fnt Pnl", bytesOf({'A', 0x00, 0xD9, 0x70, 0x10, 0x0D}), true},
        {"Ten Tec Fnt Pnl", bytesOf({'M', 0x33, 0x33, 0x0D}), false},
        {"Ten Tec Orion", "@AF14250000\r@RMM3\r", true},
    };
    return cases;
}

QByteArray garbage4096()
{
    QByteArray g(4096, '\0');
    uint32_t s = 12345;
    for (char& c : g) {
        s = s * 1664525u + 1013904223u;
        c = static_cast<char>(s >> 24);
    }
    // Markers sprinkled in, so the text decoders find and reject fields.
    for (int i = 0; i + 4 < g.size(); i += 97)
        g.replace(i, 4, QByteArrayView((i / 97) % 2 ? "FA0;" : "\xFE\xFE\xE0\x64", 4));
    return g;
}

void BM_Decode(benchmark::State& state, const DecoderCase& c, bool garbage)
{
    const QByteArray reply = garbage ? garbage4096() : c.example;
    const QString rig = QString::fromLatin1(c.rig);
    const QString fa = QStringLiteral("FA;");
    const QString md = QStringLiteral("MD0;");
    for (auto _ : state) {
        RigReading r = decodeReply(rig, reply, c.afterFrequencyQuery, fa, md);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(state.iterations() * reply.size());
}

void BM_ReadPegasusFile(benchmark::State& state)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    QDir().mkpath(home.path() + QStringLiteral("/Pegasus"));
    QFile f(home.path() + QStringLiteral("/Pegasus/PEGASUS.OUT"));
    f.open(QIODevice::WriteOnly);
    f.write("14.25,\"USB\"\r\n");
    f.close();
    for (auto _ : state) {
        RigReading r = ReadPegasusFile();
        benchmark::DoNotOptimize(r);
    }
    qputenv("HOME", oldHome);
}
BENCHMARK(BM_ReadPegasusFile)->Unit(benchmark::kMicrosecond);

// A started out-of-state log window, the rig dialog shown and a Kenwood
// fake on port 3 answering 14.25 MHz CW.
struct RigFixture : zq::bench::BenchWorld {
    FakeRadio radio{FakeRadio::Family::Kenwood};
    RigControlfrm* rig = nullptr;

    RigFixture()
    {
        QByteArray counties;
        for (int i = 1; i <= 77; ++i)
            counties += QStringLiteral("\"ZQCounty %1\",\"C%1\"\r\n").arg(i).toUtf8();
        writeFile(QStringLiteral("county2.txt"), counties);
        CountyTable::instance() = CountyTable{};
        ContactLog::instance().reset();
        radio.writeComPorts(work.path(), 3);

        auto& st = StationSettings::instance();
        st = StationSettings{};
        st.CurrentBand = QStringLiteral("20");
        st.CurrentMode = QStringLiteral("CW");
        st.OutOfStateFlag = 1;
        DefaultInstance<Outfrm>().show();
        QCoreApplication::processEvents();

        rig = &DefaultInstance<RigControlfrm>();
        const auto found = rig->List1->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly);
        rig->List1->setCurrentItem(found.first());
        rig->optComm(2)->setChecked(true);
        rig->show();
    }
    // The rig port closes before the fake radio's terminal goes away.
    ~RigFixture() { WindowRegistry::unloadAll(); }
    // Runs the event loop until the radio has answered `queries` queries.
    void waitForRadio(int queries)
    {
        test::pumpUntil([&] { return radio.queries().size() >= queries; }, 2000);
        test::pumpFor(2);
    }
};

void BM_SendPhase(benchmark::State& state)
{
    RigFixture fx;
    fx.rig->Command1_Click();
    fx.rig->tmrGetData->stop();
    for (auto _ : state) {
        state.PauseTiming();
        fx.rig->AwaitingReply = 0;
        QCoreApplication::processEvents(); // the fake takes the last query
        fx.rig->comComm1->discardInput();  // and its answer is dropped
        state.ResumeTiming();
        fx.rig->tmrGetData_Timer();
    }
}
BENCHMARK(BM_SendPhase)->Unit(benchmark::kMicrosecond);

void BM_ReceivePhase(benchmark::State& state)
{
    RigFixture fx;
    fx.rig->Command1_Click();
    fx.rig->tmrGetData->stop();
    for (auto _ : state) {
        state.PauseTiming();
        if (fx.rig->AwaitingReply == 0)
            fx.rig->tmrGetData_Timer(); // send
        fx.radio.clearRecord();
        fx.waitForRadio(2);
        state.ResumeTiming();
        fx.rig->tmrGetData_Timer(); // read, decode, show, hand over
    }
}
BENCHMARK(BM_ReceivePhase)->Unit(benchmark::kMicrosecond);

// Polls the fake at "100 ms" for range(0) seconds; a 1 ms probe timer
// records the longest gap between its ticks.  worst_stall_ms is that gap
// less the probe's own millisecond (on a loaded machine it includes the
// scheduler's delays); worst_tick_ms is the longest single tick, and
// worst_tick_cpu_ms the most processor time one tick took.
void BM_PollStall(benchmark::State& state)
{
    RigFixture fx;
    fx.rig->optPollFast->setChecked(true);
    fx.rig->Command1_Click();
    // The dialog's own timer, with every tick timed: the same ticks at the
    // same interval, driven through a timer that measures each one.
    const int interval = fx.rig->tmrGetData->interval();
    fx.rig->tmrGetData->stop();
    qint64 worstTick = 0;
    double worstTickCpu = 0;
    auto threadCpuMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    };
    QTimer driver;
    driver.setInterval(interval);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QElapsedTimer t;
        t.start();
        const double cpu0 = threadCpuMs();
        fx.rig->tmrGetData_Timer();
        worstTickCpu = std::max(worstTickCpu, threadCpuMs() - cpu0);
        worstTick = std::max(worstTick, t.nsecsElapsed());
    });
    driver.start();
    const int seconds = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(1);
        QElapsedTimer clock;
        qint64 last = -1;
        qint64 worst = 0;
        qint64 gaps = 0;
        qint64 sum = 0;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0) {
                worst = std::max(worst, now - last);
                sum += now - last;
                ++gaps;
            }
            last = now;
        });
        fx.radio.clearRecord();
        clock.start();
        probe.start();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        probe.stop();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        state.counters["worst_stall_ms"] = std::max(0.0, worst / 1e6 - 1.0);
        state.counters["mean_probe_gap_ms"] = gaps ? sum / 1e6 / gaps : 0.0;
        state.counters["worst_tick_ms"] = worstTick / 1e6;
        state.counters["worst_tick_cpu_ms"] = worstTickCpu;
        state.counters["tick_interval_ms"] = interval;
        state.counters["queries"] = static_cast<double>(fx.radio.queries().size());
        state.counters["lblFreq_ok"] = fx.rig->lblFreq->text() == QLatin1String("14.25000") ? 1 : 0;
    }
}
BENCHMARK(BM_PollStall)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const DecoderCase& c : decoderCases()) {
        const std::string name = std::string("BM_Decode/") + c.rig + (c.afterFrequencyQuery ? "/freq" : "/mode");
        benchmark::RegisterBenchmark((name + "/example").c_str(), BM_Decode, c, false);
        benchmark::RegisterBenchmark((name + "/garbage4096").c_str(), BM_Decode, c, true);
    }
    return zq::bench::runBenchmarks(argc, argv);
}
