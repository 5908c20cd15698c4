#pragma once
// The end of every benchmark program's main(): Google Benchmark run over
// the command line; and the whole main() of one that opens windows: an
// offscreen application, then the benchmarks.

#include <QApplication>
#include <benchmark/benchmark.h>

namespace zq::bench {

inline int runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zq::bench

#define ZQ_OFFSCREEN_BENCHMARK_MAIN()                                                              \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QApplication app(argc, argv);                                                              \
        return zq::bench::runBenchmarks(argc, argv);                                               \
    }
