#pragma once
// The main() of a benchmark program that opens windows: an offscreen
// application, then Google Benchmark.

#include <QApplication>
#include <benchmark/benchmark.h>

#define ZQ_OFFSCREEN_BENCHMARK_MAIN()                                                              \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
