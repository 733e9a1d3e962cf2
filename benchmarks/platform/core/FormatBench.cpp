#include "platform/core/Conversions.h"
#include "platform/core/Format.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A typical log line of the engine: name, whole and fractional counter,
// percentage.
void BM_FormatLogLine(benchmark::State& State) {
    const std::string name = "frame";
    int counter = 0;
    for (auto _ : State) {
        std::string line = Format("%s: %d.%.6d %.2f%%", {name, counter, counter * 7, 45.678});
        benchmark::DoNotOptimize(line);
        ++counter;
    }
}
BENCHMARK(BM_FormatLogLine);

void BM_FloatToStr(benchmark::State& State) {
    double value = 0.1;
    for (auto _ : State) {
        std::string text = FloatToStr(value);
        benchmark::DoNotOptimize(text);
        value += 0.37;
    }
}
BENCHMARK(BM_FloatToStr);

} // namespace
