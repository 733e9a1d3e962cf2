// Converts files with the task queue, as the main window does, and prints
// what the queue reports.
//
//   queue_files OUTDIR THREADS FILE...
//       [--profile KEY]     the profile whose settings every job takes
//                           (default 0, MPEG-4 AVI)
//       [--pause SECONDS]   once every converting job has reported progress
//                           and sleeps at its pause gate, stays paused that
//                           long, then resumes
//       [--stop-after SECONDS]  that long after the start, once every
//                           converting job has reported progress, stops
//                           the run with Stop(True) and prints how long the
//                           call took
//       [--options TEXT]    option lines added to every output's ExtOptions
//                           ("<CRLF>" between lines)
//       [--progress-interval MS]  the queue's ProgressInterval (default 500)
//
// One line per progress event (task, percent, fps, size), one per
// termination report, then the all-done line. The exit code is 0 when every
// job finished (with --stop-after, when the run ended).
#include "catalogue/ProfileCatalogue.h"
#include "catalogue/ProfileWorkingSet.h"
#include "media/FFmpegLogger.h"
#include "media/FFmpegQueue.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/core/Threads.h"

#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

struct TRun {
    TFFmpegQueue Queue{nullptr};
    std::set<int> Reported;
    bool AllDone = false;
    bool AllFinished = true;
    double PauseSeconds = 0;
    bool Paused = false;
    double StopAfter = 0;
    bool Stopped = false;

    void OnProgress(TObject*, PProgressInfo P) {
        const int Percent = P->TotalDuration > 0
                                ? static_cast<int>(P->CurrentDuration * 100 / P->TotalDuration)
                                : -1;
        std::printf("progress task=%d percent=%d fps=%d size=%lld\n", P->TaskIndex, Percent, P->FPS,
                    static_cast<long long>(P->CurrentSize));
        std::fflush(stdout);
        Reported.insert(P->TaskIndex);
    }

    void OnTerminate(TObject*, const TTerminateInfo& R) {
        if (R.TaskIndex < 0) {
            std::printf("all done\n");
            AllDone = true;
        } else {
            std::printf("terminate task=%d finished=%d exception=%d%s%s\n", R.TaskIndex,
                        R.Finished ? 1 : 0, R.Exception ? 1 : 0, R.ExceptionMsg.empty() ? "" : " ",
                        R.ExceptionMsg.c_str());
            AllFinished = AllFinished && R.Finished && !R.Exception;
        }
        std::fflush(stdout);
    }

    std::vector<TFFmpeg*> Converting() {
        std::vector<TFFmpeg*> Tasks;
        for (int I = 0; I < Queue.TasksCount(); ++I)
            if (Queue.Task(I)->Converting())
                Tasks.push_back(Queue.Task(I));
        return Tasks;
    }

    // Once every converting job has reported, the run pauses; the pause
    // holds once every one of them sleeps at its gate.
    void PauseOnce() {
        if (Paused || PauseSeconds <= 0 || !AllConvertingReported())
            return;
        const std::vector<TFFmpeg*> Tasks = Converting();
        Paused = true;
        Queue.Pause();
        for (TFFmpeg* Task : Tasks)
            while (Task->Converting() && !Task->Parked())
                CheckSynchronize(5);
        std::printf("paused %zu jobs\n", Tasks.size());
        std::fflush(stdout);
        const auto Until =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(PauseSeconds);
        while (std::chrono::steady_clock::now() < Until)
            CheckSynchronize(20);
        Queue.Resume();
        std::printf("resumed\n");
        std::fflush(stdout);
    }

    // Whether every converting job has reported progress (false when none
    // converts).
    bool AllConvertingReported() {
        const std::vector<TFFmpeg*> Tasks = Converting();
        if (Tasks.empty())
            return false;
        for (TFFmpeg* Task : Tasks)
            if (!Reported.count(IndexOf(Task)))
                return false;
        return true;
    }

    void StopOnce(std::chrono::steady_clock::time_point AStarted) {
        if (Stopped || StopAfter <= 0 ||
            std::chrono::steady_clock::now() - AStarted <
                std::chrono::duration<double>(StopAfter) ||
            !AllConvertingReported())
            return;
        Stopped = true;
        const std::size_t Count = Converting().size();
        const auto T0 = std::chrono::steady_clock::now();
        Queue.Stop(true);
        const std::chrono::duration<double, std::milli> Took =
            std::chrono::steady_clock::now() - T0;
        std::printf("stopped %zu converting jobs in %.2f ms\n", Count, Took.count());
        std::fflush(stdout);
    }

    int IndexOf(TFFmpeg* ATask) {
        for (int I = 0; I < Queue.TasksCount(); ++I)
            if (Queue.Task(I) == ATask)
                return I;
        return -1;
    }
};

int Usage() {
    std::fprintf(stderr,
                 "usage: queue_files OUTDIR THREADS FILE... [--profile KEY] [--pause SECONDS]\n"
                 "       [--stop-after SECONDS] [--options TEXT] [--progress-interval MS]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    std::vector<std::string> Args(argv + 1, argv + argc);
    int ProfileKey = 0;
    double PauseSeconds = 0;
    double StopAfter = 0;
    std::string ExtraOptions;
    int ProgressInterval = 500;
    std::vector<std::string> Plain;
    for (std::size_t I = 0; I < Args.size(); ++I) {
        if (Args[I] == "--profile" && I + 1 < Args.size())
            ProfileKey = StrToIntDef(Args[++I], -1);
        else if (Args[I] == "--pause" && I + 1 < Args.size())
            PauseSeconds = StrToFloat(Args[++I]);
        else if (Args[I] == "--stop-after" && I + 1 < Args.size())
            StopAfter = StrToFloat(Args[++I]);
        else if (Args[I] == "--options" && I + 1 < Args.size())
            ExtraOptions = Args[++I];
        else if (Args[I] == "--progress-interval" && I + 1 < Args.size())
            ProgressInterval = StrToIntDef(Args[++I], 500);
        else
            Plain.push_back(Args[I]);
    }
    if (Plain.size() < 3)
        return Usage();
    const std::string OutDir = Plain[0];
    const int Threads = StrToIntDef(Plain[1], -1);
    const TProfileSettings* Settings = FindProfileSettings(ProfileKey);
    if (Threads < 0 || !Settings) {
        std::fprintf(stderr, "queue_files: bad thread count or unknown profile %d\n", ProfileKey);
        return 2;
    }
    ForceDirectories(OutDir);

    TRun Run;
    Run.PauseSeconds = PauseSeconds;
    Run.StopAfter = StopAfter;
    Run.Queue.SetProgressInterval(ProgressInterval);
    if (!Run.Queue.LoadAVLib(IncludeTrailingPathDelimiter(GetAppPath()) + "LibAV")) {
        std::fprintf(stderr, "queue_files: %s\n", Run.Queue.LastErrMsg().c_str());
        return 1;
    }
    GetFFLogger()->SetLogLevel(llError);
    GetFFLogger()->OnLog = [](TObject*, TThreadID AThread, TLogLevel ALevel,
                              const std::string& AMsg) {
        if (ALevel > llError)
            return;
        std::fprintf(stderr, "#%u.%d: %s\n", AThread, static_cast<int>(ALevel), AMsg.c_str());
    };
    Run.Queue.SetOnProgress(TProgressEvent(&Run, &TRun::OnProgress));
    Run.Queue.SetOnTerminate(TTerminateEvent(&Run, &TRun::OnTerminate));

    TProfileWorkingSet Set;
    ResetWorkingSet(Set);
    AssignProfileSettings(Set, *Settings);
    for (std::size_t I = 2; I < Plain.size(); ++I) {
        TInputOptions In;
        const int Task = Run.Queue.AddTask(Plain[I], &In);
        if (Task < 0) {
            std::fprintf(stderr, "queue_files: %s\n", Run.Queue.LastErrMsg().c_str());
            return 1;
        }
        TOutputOptions Out;
        ApplyWorkingSet(Set, Out, TVolumeRule::AlwaysSet);
        if (!ExtraOptions.empty())
            Out.ExtOptions += (Out.ExtOptions.empty() ? "" : "\n") + ExtraOptions;
        const std::string Name = IncludeTrailingPathDelimiter(OutDir) +
                                 ChangeFileExt(ExtractFileName(Plain[I]), Set.Video_FileExt);
        if (!Run.Queue.SetOutputFile(Task, Name, &Out)) {
            std::fprintf(stderr, "queue_files: %s: %s\n", Name.c_str(),
                         Run.Queue.LastErrMsg().c_str());
            return 1;
        }
    }
    const auto Started = std::chrono::steady_clock::now();
    Run.Queue.Start(Threads);
    while (!Run.AllDone) {
        CheckSynchronize(20);
        Run.PauseOnce();
        Run.StopOnce(Started);
    }
    GetFFLogger()->OnLog = nullptr;
    return Run.AllFinished || Run.Stopped ? 0 : 1;
}
