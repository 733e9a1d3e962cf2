#include "platform/core/Threads.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    RecordMainThread();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
