// CW through the WinKeyer, with a fake keyer on a pseudo-terminal and the
// out-of-state log window in CW mode (offscreen):
//  - F1 to the first character byte at the keyer, the keyer open and idle;
//  - a 200-character message handed over (one character per 10 ms while the
//    status is below 5): characters per second, and the longest stall of
//    the user-interface event loop meanwhile, seen by a 1 ms probe timer:
//    longest_stall_ms is the longest wall-clock gap between two ticks (it
//    includes time the thread waited for a CPU on a loaded machine),
//    longest_busy_ms the most CPU time the thread spent between two ticks.
#include "OffscreenMain.h"
#include "BenchWorld.h"
#include "support/FakeWinKeyer.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/frmWinKey.h"
#include "logstore/StationSettings.h"
#include "logwindow/Outfrm.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/WinKeyer.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <ctime>

using namespace zq;
using zq::test::FakeWinKeyer;
using Clock = std::chrono::steady_clock;

namespace {

double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// CPU time of the calling thread: a gap between probe ticks in which the
// user-interface thread itself worked, as opposed to waiting for a CPU.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

// The log window open on an empty log, CW through the WinKeyer on the fake.
struct KeyerFixture : zq::bench::BenchWorld {
    FakeWinKeyer keyer;
    Outfrm* window = nullptr;
    frmWinKey* winKey = nullptr;
    bool ok = false;

    KeyerFixture()
    {
        writeFile(QStringLiteral("county2.txt"), "\"ZQAlderbrook\",\"ALD\"\r\n");
        writeFile(QStringLiteral("ComPorts.txt"),
                  QStringLiteral("7=%1\n").arg(keyer.devicePath()).toLocal8Bit());

        auto& st = StationSettings::instance();
        st = StationSettings{};
        st.CurrentBand = QStringLiteral("20");
        st.CurrentMode = QStringLiteral("CW");
        st.OutOfStateFlag = 1;
        KeyingState& ks = KeyingState::instance();
        ks = KeyingState{};
        ks.CwKeyingMethod = 5;
        window = &DefaultInstance<Outfrm>();
        window->show();
        QCoreApplication::processEvents();

        winKey = &DefaultInstance<frmWinKey>();
        ks.WinKeyerPort = 7;
        winKey->cmdOpenWinkey_Click();
        ok = FakeWinKeyer::waitUntil([&] { return ks.WinKeyerOpen != 0; });
        keyer.waitForBytes(18);
        keyer.clearReceived();
    }
    // The keyer closes while the fake still listens.
    ~KeyerFixture() { wk_close(); }
    void pressF1() const
    {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::sendEvent(window->txtCall, &key);
    }
    // Ends a transmission and forgets what the keyer received.
    void reset()
    {
        winKey->cmdStop_Click();
        FakeWinKeyer::waitUntil([&] { return !winKey->transmitting(); });
        keyer.waitForBytes(1); // the clear-buffer command
        keyer.clearReceived();
    }
};

// F1 to the first character byte at the keyer.
void BM_F1ToFirstCharacterByte(benchmark::State& state)
{
    KeyerFixture fx;
    if (!fx.ok) {
        state.SkipWithError("keyer did not open");
        return;
    }
    DefaultInstance<CWFrm>().Text[1]->setText(QStringLiteral("CQ TEST"));
    for (auto _ : state) {
        const auto t0 = Clock::now();
        fx.pressF1();
        if (!fx.keyer.waitForBytes(1)) {
            state.SkipWithError("nothing arrived");
            return;
        }
        const auto first = fx.keyer.receivedStamped().front();
        state.SetIterationTime(msBetween(t0, first.at) / 1000.0);
        if (first.value != 'C')
            state.SkipWithError("wrong first byte");
        fx.reset();
    }
}
BENCHMARK(BM_F1ToFirstCharacterByte)->UseManualTime()->Iterations(50)->Unit(benchmark::kMicrosecond);

// A 200-character message handed over: time per character and the longest
// event-loop stall while it goes out.
void BM_HandOver200Characters(benchmark::State& state)
{
    KeyerFixture fx;
    if (!fx.ok) {
        state.SkipWithError("keyer did not open");
        return;
    }
    QString message;
    while (message.size() < 200)
        message += QStringLiteral("CQ ZQ TEST DE W5ABC ");
    message.truncate(200);
    DefaultInstance<CWFrm>().Text[1]->setText(message);

    double worstStallMs = 0;
    double worstBusyMs = 0;
    double perCharMs = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(1);
        auto last = Clock::now();
        double lastCpu = threadCpuMs();
        double stall = 0;
        double busy = 0;
        QObject::connect(&probe, &QTimer::timeout, &loop, [&] {
            const auto now = Clock::now();
            const double cpuNow = threadCpuMs();
            stall = std::max(stall, msBetween(last, now));
            busy = std::max(busy, cpuNow - lastCpu);
            last = now;
            lastCpu = cpuNow;
            if (!fx.winKey->transmitting())
                loop.quit();
        });
        probe.start();
        last = Clock::now();
        lastCpu = threadCpuMs();
        fx.pressF1();
        loop.exec();
        probe.stop();

        if (!fx.keyer.waitForBytes(200)) {
            state.SkipWithError("message incomplete");
            return;
        }
        const auto bytes = fx.keyer.receivedStamped();
        if (bytes.size() != 200) {
            state.SkipWithError("wrong byte count");
            return;
        }
        perCharMs = msBetween(bytes.front().at, bytes.back().at) / 199.0;
        worstStallMs = std::max(worstStallMs, stall);
        worstBusyMs = std::max(worstBusyMs, busy);
        fx.keyer.clearReceived();
    }
    state.counters["ms_per_char"] = perCharMs;
    state.counters["chars_per_s"] = perCharMs > 0 ? 1000.0 / perCharMs : 0;
    state.counters["longest_stall_ms"] = worstStallMs;
    state.counters["longest_busy_ms"] = worstBusyMs;
}
BENCHMARK(BM_HandOver200Characters)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

ZQ_OFFSCREEN_BENCHMARK_MAIN()
