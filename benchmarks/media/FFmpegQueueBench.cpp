// What stopping a run costs: the time Stop(True) takes to return with four
// jobs converting (stream copies read at the clip's own pace, so they are
// still busy when the stop comes). The user-interface thread serves the
// jobs' calls while it waits, as the main window's does.
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/FFmpegQueue.h"
#include "platform/core/Threads.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A 20 s clip made once into the temporary folder.
const std::string& Clip() {
    static const std::string Name = [] {
        const std::string Folder = "/tmp/ostrela-queue-bench";
        const std::string Command =
            std::string("\"") + OSTRELA_FIXTURES_DIR + "/make_media.sh\" " + Folder + " long.mkv";
        if (std::system(Command.c_str()) != 0)
            std::exit(1);
        return Folder + "/long.mkv";
    }();
    return Name;
}

void BM_StopWithFourJobsConverting(benchmark::State& State) {
    for (auto _ : State) {
        TFFmpegQueue Queue(nullptr);
        if (!Queue.LoadAVLib("")) {
            State.SkipWithError(Queue.LastErrMsg().c_str());
            return;
        }
        for (int I = 0; I < 4; ++I) {
            TInputOptions In;
            In.ExtOptions = "re";
            const int Task = Queue.AddTask(Clip(), &In);
            TOutputOptions Out;
            Out.VideoCodec = "copy";
            Out.AudioCodec = "copy";
            const std::string Name = "/tmp/ostrela-queue-bench/out" + std::to_string(I) + ".mkv";
            if (Task < 0 || !Queue.SetOutputFile(Task, Name, &Out)) {
                State.SkipWithError(Queue.LastErrMsg().c_str());
                return;
            }
        }
        Queue.Start(4);
        for (int I = 0; I < 4; ++I)
            while (!Queue.Task(I)->Converting())
                CheckSynchronize(1);
        const auto Begin = std::chrono::steady_clock::now();
        Queue.Stop(true);
        const auto End = std::chrono::steady_clock::now();
        State.SetIterationTime(std::chrono::duration<double>(End - Begin).count());
        while (!Queue.Terminated())
            CheckSynchronize(1);
        Queue.UnloadAVLib();
    }
}
BENCHMARK(BM_StopWithFourJobsConverting)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (!FFLoader().Load(ConverterLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    GetFFLogger()->SetTriggerEventInMainThread(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
