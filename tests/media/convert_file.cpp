// Runs one conversion job with the engine and shows how it went.
//
//   convert_file IN OUT [name=value ...] [--in name=value ...] [--stop-after MS]
//
// Options are applied before the output is created, in the order given;
// "--in name=value" applies one before the input is opened. The program
// prints the stream mapping, the end state of the job and the output's size.
// With "--stop-after MS" the job runs on its worker thread and is stopped
// after MS milliseconds; the time Stop(True) took is printed.
#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Threads.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::pair<std::string, std::string> SplitOption(const char* AText) {
    const std::string Text = AText;
    const std::size_t Equal = Text.find('=');
    if (Equal == std::string::npos)
        return {Text, ""};
    return {Text.substr(0, Equal), Text.substr(Equal + 1)};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: convert_file IN OUT [name=value ...] [--in name=value ...]\n");
        return 2;
    }
    if (!FFLoader().Load(ConverterLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    std::vector<std::pair<std::string, std::string>> InputOptions;
    std::vector<std::pair<std::string, std::string>> OutputOptions;
    int StopAfter = -1;
    for (int I = 3; I < argc; ++I) {
        if (std::strcmp(argv[I], "--stop-after") == 0 && I + 1 < argc)
            StopAfter = std::atoi(argv[++I]);
        else if (std::strcmp(argv[I], "--in") == 0 && I + 1 < argc)
            InputOptions.push_back(SplitOption(argv[++I]));
        else
            OutputOptions.push_back(SplitOption(argv[I]));
    }
    TFFLogger* Logger = GetFFLogger();
    Logger->SetTriggerEventInMainThread(false);
    Logger->SetLogLevel(llVerbose);
    Logger->OnLog = [](TObject* Sender, TThreadID, TLogLevel ALevel, const std::string& AMsg) {
        // The engine's own lines; the library's chatter stays out.
        if (Sender && ALevel <= llVerbose)
            std::printf("%s\n", AMsg.c_str());
    };
    int Status = 0;
    {
        TCustomFFmpeg Engine(8);
        Engine.ResetJob();
        try {
            for (const auto& [Name, Value] : InputOptions)
                Engine.ParseOption(Name, Value);
            if (!Engine.OpenInputFile(argv[1])) {
                std::printf("input: %s\n", Engine.LastErrMsg().c_str());
                return 1;
            }
            for (const auto& [Name, Value] : OutputOptions)
                Engine.ParseOption(Name, Value);
            if (Engine.OpenOutputFile(argv[2]) < 0) {
                std::printf("output: %s\n", Engine.LastErrMsg().c_str());
                return 1;
            }
        } catch (const std::exception& E) {
            std::printf("option: %s\n", E.what());
            return 1;
        }
        if (StopAfter < 0) {
            Engine.StartConvert(false);
        } else {
            Engine.StartConvert(true)->Start();
            std::this_thread::sleep_for(std::chrono::milliseconds(StopAfter));
            const auto Before = std::chrono::steady_clock::now();
            Engine.Stop(true);
            const std::chrono::duration<double, std::milli> Took =
                std::chrono::steady_clock::now() - Before;
            std::printf("Stop took %.3f ms\n", Took.count());
        }
        std::printf("Finished: %s\n", Engine.Finished() ? "true" : "false");
        std::printf("FatalMessage: \"%s\"\n", Engine.FatalMessage().c_str());
        Status = Engine.Finished() ? 0 : 1;
    }
    struct stat Info {};
    if (::stat(argv[2], &Info) == 0)
        std::printf("Output size: %lld bytes\n", static_cast<long long>(Info.st_size));
    else
        std::printf("Output size: no file\n");
    Logger->OnLog = nullptr;
    return Status;
}
