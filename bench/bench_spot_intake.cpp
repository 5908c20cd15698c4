// Splitting and filtering received cluster text: a realistic stream of
// spot lines, announcements and repeats, with the receive pane kept at its
// bound as in a long session.

#include "platform/AgwEngine.h"
#include "spots/SpotIntake.h"

#include <benchmark/benchmark.h>

namespace {

QString clusterStream(int lines)
{
    QString s;
    for (int i = 0; i < lines; ++i) {
        if (i % 10 == 9)
            s += QStringLiteral("To ALL de K1TTT: band is open to EU %1\r\n").arg(i);
        else if (i % 10 == 4 && i > 20)
            s += QStringLiteral("DX de W3LPL:     %1.0  CALL%2       CW 599                         1234Z\r\n")
                     .arg(14000 + (i - 3) % 350, 5)
                     .arg((i - 3) % 1000, 3, 10, QLatin1Char('0')); // a repeat
        else
            s += QStringLiteral("DX de W3LPL:     %1.0  CALL%2       CW 599                         1234Z\r\n")
                     .arg(14000 + i % 350, 5)
                     .arg(i % 1000, 3, 10, QLatin1Char('0'));
    }
    return s;
}

void BM_SplitSpotLines(benchmark::State& state)
{
    const QString stream = clusterStream(1000);
    int64_t lines = 0;
    for (auto _ : state) {
        zq::SpotStream in;
        zq::SpotPane pane;
        pane.setText(QString(zq::SpotPane::TrimTo, u'.'));
        int forwarded = 0;
        // Delivered in 256-character pieces, as a serial port would.
        for (qsizetype p = 0; p < stream.size(); p += 256) {
            in.add(QStringView(stream).mid(p, 256));
            lines += zq::SplitSpotLines(in, pane, false,
                                        [&](const QString&, const QString&, const QString&) {
                                            ++forwarded;
                                        });
        }
        benchmark::DoNotOptimize(forwarded);
    }
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SplitSpotLines)->Unit(benchmark::kMillisecond);

// Decoding AGW frames as they arrive from the engine: 1000 monitored
// frames of cluster text in one buffer, cut into frames and delivered.
void BM_AgwFrameDecoding(benchmark::State& state)
{
    QByteArray wire;
    for (int i = 0; i < 1000; ++i) {
        zq::AgwFrame f;
        f.kind = 'U';
        f.callFrom = "W3LPL";
        f.callTo = "DX";
        f.pid = 0xF0;
        f.data = QStringLiteral("1:Fm W3LPL To DX <UI pid=F0>\rDX de W3LPL:     %1.0  CALL%2       CW 599                         1234Z\r")
                     .arg(14000 + i % 350, 5)
                     .arg(i, 3, 10, QLatin1Char('0'))
                     .toLatin1();
        wire += zq::encodeAgwFrame(f);
    }
    int64_t frames = 0;
    for (auto _ : state) {
        QByteArray buffer = wire;
        std::deque<zq::AgwFrame> out;
        zq::takeAgwFrames(buffer, out);
        for (const zq::AgwFrame& f : out)
            benchmark::DoNotOptimize(zq::deliverAgwFrame(f));
        frames += static_cast<int64_t>(out.size());
    }
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AgwFrameDecoding)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
