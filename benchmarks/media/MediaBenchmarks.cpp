// What the binding layer costs: loading the library sets in a fresh process
// (median of 5 runs of this program with --load-once), a message below the
// logger's level, one delivered line, and lines per second from 4 threads.
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Environment.h"
#include "platform/core/Threads.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void PrepareLogger() {
    static bool Prepared = false;
    if (Prepared)
        return;
    Prepared = true;
    if (!FFLoader().Load(ConverterLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        std::exit(1);
    }
    TFFLogger* Logger = GetFFLogger();
    Logger->SetTriggerEventInMainThread(false);
    Logger->SetLogLevel(llInfo);
    Logger->OnLog = [](TObject*, TThreadID, TLogLevel, const std::string& AMsg) {
        benchmark::DoNotOptimize(AMsg.data());
    };
}

void BM_LogBelowTheLevel(benchmark::State& State) {
    PrepareLogger();
    int I = 0;
    for (auto _ : State)
        avutil::av_log(nullptr, AV_LOG_DEBUG, "dropped %d\n", ++I);
}
BENCHMARK(BM_LogBelowTheLevel);

void BM_LogOneDeliveredLine(benchmark::State& State) {
    PrepareLogger();
    int I = 0;
    for (auto _ : State)
        avutil::av_log(nullptr, AV_LOG_INFO, "frame=%d fps=25 q=2.0 size=1024kB\n", ++I);
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_LogOneDeliveredLine);

void BM_LogLinesFromThreads(benchmark::State& State) {
    if (State.thread_index() == 0)
        PrepareLogger();
    int I = 0;
    for (auto _ : State)
        avutil::av_log(nullptr, AV_LOG_INFO, "thread line %d\n", ++I);
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_LogLinesFromThreads)->Threads(4)->UseRealTime();

// One load in this fresh process; prints nanoseconds.
int LoadOnce(const char* ASet) {
    const TLibraries Set = std::strcmp(ASet, "player") == 0 ? PlayerLibs : ConverterLibs;
    InitializeMediaUnits();
    const auto Start = std::chrono::steady_clock::now();
    const bool Ok = FFLoader().Load(Set);
    const auto Elapsed = std::chrono::steady_clock::now() - Start;
    if (!Ok)
        return 1;
    std::printf("%lld\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Elapsed).count()));
    return 0;
}

void ReportLoadTimes() {
    for (const char* Set : {"converter", "player"}) {
        std::vector<double> Times;
        for (int Run = 0; Run < 5; ++Run) {
            const std::string Command = "'" + GetAppFileName() + "' --load-once " + Set;
            FILE* Pipe = popen(Command.c_str(), "r");
            long long Ns = 0;
            if (Pipe && std::fscanf(Pipe, "%lld", &Ns) == 1)
                Times.push_back(Ns / 1e6);
            if (Pipe)
                pclose(Pipe);
        }
        if (Times.empty())
            continue;
        std::sort(Times.begin(), Times.end());
        std::printf("Load(%sLibs) in a fresh process: median %.2f ms of %zu runs\n",
                    Set[0] == 'c' ? "Converter" : "Player", Times[Times.size() / 2], Times.size());
    }
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc == 3 && std::strcmp(argv[1], "--load-once") == 0)
        return LoadOnce(argv[2]);
    ReportLoadTimes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
