// The network spot links.  Telnet: spot lines from a cluster on the
// loopback interface through the link, the line assembly and the receive
// pane into the spot store, with the longest data event.  Packet engine:
// received frame bytes split into frames, read, and their text handled
// (monitored and from a connected station).

#include "platform/AgwEngine.h"
#include "spots/AgwSpotLink.h"
#include "spots/SpotStore.h"
#include "spots/TelnetLink.h"
#include "OffscreenMain.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTcpServer>
#include <QTcpSocket>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace zq;

namespace {

QByteArray spotLine(int i)
{
    QByteArray call = "K" + QByteArray::number(i % 9000) + "X";
    QByteArray line = "DX de W3LPL:   ";
    line += QByteArray::number(14000 + i % 350).append(".0").rightJustified(9, ' ');
    line += "  " + call.leftJustified(13, ' ') + QByteArray("CW 599").leftJustified(31, ' ') + "1234Z\r\n";
    return line;
}

// arg: spot lines the cluster sends at once.
void BM_TelnetIntakeToStore(benchmark::State& state)
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost)) {
        state.SkipWithError("no loopback server");
        return;
    }
    QTcpSocket* peer = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { peer = server.nextPendingConnection(); });

    SpotStore& store = SpotStore::instance();
    store.clear();
    SpotPane pane;
    TelnetIntake intake;
    int64_t forwarded = 0;
    double longestEventMs = 0;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    TelnetLink link{{[&](const QString& chunk) {
                         const auto t0 = std::chrono::steady_clock::now();
                         forwarded += intake.take(chunk, pane, false,
                                                  [&](const QString& f, const QString& c, const QString&) {
                                                      store.addSpot(c, f.toFloat() / 1000.f, now);
                                                  });
                         longestEventMs = std::max(
                             longestEventMs, std::chrono::duration<double, std::milli>(
                                                 std::chrono::steady_clock::now() - t0)
                                                 .count());
                     },
                     {}}};
    link.connectTo(QStringLiteral("127.0.0.1"), QString::number(server.serverPort()));
    for (int i = 0; i < 2000 && (!peer || !link.isConnected()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!peer) {
        state.SkipWithError("no connection");
        return;
    }
    const int batch = static_cast<int>(state.range(0));
    QByteArray text;
    for (int i = 0; i < batch; ++i)
        text += spotLine(i);
    int64_t lines = 0;
    for (auto _ : state) {
        const int64_t want = forwarded + batch;
        peer->write(text);
        peer->flush();
        for (int guard = 0; guard < 1000000 && forwarded < want; ++guard)
            QCoreApplication::processEvents();
        lines += batch;
    }
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
    state.counters["longestEventMs"] = longestEventMs;
    state.counters["bytesPerBatch"] = double(text.size());
}
BENCHMARK(BM_TelnetIntakeToStore)->Arg(20)->Arg(1000)->Arg(10000)->ArgName("lines")->Unit(benchmark::kMillisecond);

// arg: 0 monitored frames, 1 frames from the connected station (text
// gathered across frames).
void BM_AgwFrameDecoding(benchmark::State& state)
{
    const bool connected = state.range(0) == 1;
    QByteArray wire;
    const int frames = 1000;
    for (int i = 0; i < frames; ++i) {
        AgwFrame f;
        f.kind = connected ? 'D' : 'U';
        f.pid = 0xF0;
        f.callFrom = connected ? "NODE" : "K1TTT";
        f.callTo = connected ? "W1AW" : "DX";
        f.data = connected ? spotLine(i) : "1:Fm K1TTT To DX <UI pid=F0>\r" + spotLine(i);
        wire += encodeAgwFrame(f);
    }
    int64_t taken = 0;
    for (auto _ : state) {
        AgwSpotLink link;
        SpotPane pane;
        AgwSpotEvents events;
        int forwarded = 0;
        events.forward = [&](const QString&, const QString&, const QString&) { ++forwarded; };
        if (connected)
            link.ConnectedCall = QStringLiteral("NODE");
        QByteArray buffer = wire;
        std::deque<AgwFrame> out;
        // Delivered in socket-sized pieces.
        QByteArray in;
        for (qsizetype p = 0; p < buffer.size(); p += 4096) {
            in += buffer.mid(p, 4096);
            takeAgwFrames(in, out);
            while (!out.empty()) {
                link.takeFrame(deliverAgwFrame(out.front()), pane, false, events);
                out.pop_front();
                ++taken;
            }
        }
        benchmark::DoNotOptimize(forwarded);
    }
    state.counters["frames/s"] = benchmark::Counter(double(taken), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AgwFrameDecoding)->Arg(0)->Arg(1)->ArgName("connected")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return zq::bench::runBenchmarks(argc, argv);
}
