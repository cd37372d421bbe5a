#pragma once
// The main of a window benchmark program: an offscreen application, the program's windows
// prepared once before the benchmarks and released after them.
#include "platform/vcl/ExtCtrls.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

// The benchmarks drive the device roads themselves. The main window's device timer counts
// the devices every 3.5 s and, finding a count it did not expect, opens its arrival or
// loss message, which no one closes here; its ticks are pushed out of every run's reach.
inline void KeepDeviceTimerAway(platform::vcl::TTimer& timer) {
    timer.SetInterval(100000000);
}

// The offscreen platform cannot raise a window or set its mask and says so on stderr at
// every call, where the program's own platform does both quietly; those lines would be
// timed as the program's cost (a busy-window step raises its window), so they are dropped.
inline QtMessageHandler g_qtMessages = nullptr;
inline void DropOffscreenLimits(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    g_qtMessages(type, context, message);
}

inline int RunWindowBenchmarks(int argc, char** argv, void (*prepare)(), void (*finish)()) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    g_qtMessages = qInstallMessageHandler(DropOffscreenLimits);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    prepare();
    benchmark::RunSpecifiedBenchmarks();
    finish();
    benchmark::Shutdown();
    return 0;
}
