#pragma once

// The main of a benchmark that draws: fonts and images need a GUI application
// (offscreen, no window) before the benchmarks run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace dyno::bench {

inline int runDrawingBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace dyno::bench
