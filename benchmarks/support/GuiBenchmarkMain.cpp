// The main of the benchmark programs that make windows: the calling thread is
// the user-interface thread, and Qt draws offscreen.
#include "platform/core/Threads.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv) {
    RecordMainThread();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
