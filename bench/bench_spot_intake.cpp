// Splitting and filtering received cluster text: a realistic stream of
// spot lines, announcements and repeats, with the receive pane kept at its
// bound as in a long session.

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

} // namespace

BENCHMARK_MAIN();
