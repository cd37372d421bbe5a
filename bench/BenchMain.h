#pragma once
// The main of a window benchmark program: an offscreen application, the program's windows
// prepared once before the benchmarks and released after them.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunWindowBenchmarks(int argc, char** argv, void (*prepare)(), void (*finish)()) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    prepare();
    benchmark::RunSpecifiedBenchmarks();
    finish();
    benchmark::Shutdown();
    return 0;
}
