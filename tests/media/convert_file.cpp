// Runs one conversion job with the engine and shows how it went.
//
//   convert_file IN OUT [name=value ...] [--in name=value ...]
//
// Options are applied before the output is created, in the order given;
// "--in name=value" applies one before the input is opened. The program
// prints the stream mapping, the end state of the job and the output's size.
#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Threads.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
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
    for (int I = 3; I < argc; ++I) {
        if (std::strcmp(argv[I], "--in") == 0 && I + 1 < argc)
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
        Engine.StartConvert(false);
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
