#include "platform/core/Threads.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

// One Synchronize round trip: a worker calls into the main thread again as
// soon as its previous call returned, and each iteration serves one call.
static void BM_SynchronizeRoundTrip(benchmark::State& State) {
    std::atomic<bool> stop{false}, finished{false};
    long calls = 0;
    std::thread worker([&] {
        while (!stop)
            TThread::Synchronize(nullptr, [&] { ++calls; });
        finished = true;
    });
    for (auto _ : State) {
        while (!CheckSynchronize(1000)) {
        }
    }
    stop = true;
    // The worker may be waiting in one last call.
    while (!finished)
        CheckSynchronize(10);
    worker.join();
    benchmark::DoNotOptimize(calls);
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SynchronizeRoundTrip);
