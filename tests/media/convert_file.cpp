// Runs one conversion job with the engine and shows how it went.
//
//   convert_file IN OUT [name=value ...] [--in name=value ...] [--stop-after MS]
//                [--preview] [--preview-bitmap] [--desktop | --headless]
//                [--report-interval MS] [--shot-after MS:PNG]
//
// Options are applied before the output is created, in the order given;
// "--in name=value" applies one before the input is opened. The program
// prints the stream mapping, the job's progress lines, the end state of the
// job, the time the job took (with the time its worker spent in the post
// hooks and in the progress reports) and the output's size.
// With "--stop-after MS" the job runs on its worker thread and is stopped
// after MS milliseconds; the time Stop(True) took is printed.
//
// "--preview" shows the job's preview window while it converts: the job runs
// on its worker and this program's main thread is the user-interface thread.
// The desktop backend is used unless "--headless" asks for the headless one
// (Qt's offscreen platform gives it its fonts); either way the program says
// when the window appears, with its client size, and when it goes.
// "--preview-bitmap" hands the previews to an empty bitmap handler instead.
// "--desktop" or "--headless" alone runs the job the same way without post
// hooks, so a run with a preview can be set against one without.
// "--report-interval MS" sets how often progress is reported (500 by
// default). "--shot-after MS:PNG" photographs the screen with the screenshot
// helper MS milliseconds after the preview window appeared (desktop only).
#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "media/Previewer.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <QGuiApplication>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

std::pair<std::string, std::string> SplitOption(const char* AText) {
    const std::string Text = AText;
    const std::size_t Equal = Text.find('=');
    if (Equal == std::string::npos)
        return {Text, ""};
    return {Text.substr(0, Equal), Text.substr(Equal + 1)};
}

enum class TFace { None, Desktop, Headless };

struct TOptions {
    std::string Input;
    std::string Output;
    std::vector<std::pair<std::string, std::string>> InputOptions;
    std::vector<std::pair<std::string, std::string>> OutputOptions;
    int StopAfter = -1;
    bool Preview = false;
    bool PreviewBitmap = false;
    TFace Face = TFace::None;
    std::int64_t ReportInterval = -1;
    int ShotAfter = -1;
    std::string ShotFile;
};

bool ParseArguments(int argc, char** argv, TOptions& AOptions) {
    if (argc < 3)
        return false;
    AOptions.Input = argv[1];
    AOptions.Output = argv[2];
    for (int I = 3; I < argc; ++I) {
        const char* Arg = argv[I];
        const bool HasValue = I + 1 < argc;
        if (std::strcmp(Arg, "--stop-after") == 0 && HasValue) {
            AOptions.StopAfter = std::atoi(argv[++I]);
        } else if (std::strcmp(Arg, "--in") == 0 && HasValue) {
            AOptions.InputOptions.push_back(SplitOption(argv[++I]));
        } else if (std::strcmp(Arg, "--preview") == 0) {
            AOptions.Preview = true;
        } else if (std::strcmp(Arg, "--preview-bitmap") == 0) {
            AOptions.PreviewBitmap = true;
        } else if (std::strcmp(Arg, "--desktop") == 0) {
            AOptions.Face = TFace::Desktop;
        } else if (std::strcmp(Arg, "--headless") == 0) {
            AOptions.Face = TFace::Headless;
        } else if (std::strcmp(Arg, "--report-interval") == 0 && HasValue) {
            AOptions.ReportInterval = std::atoll(argv[++I]) * 1000;
        } else if (std::strcmp(Arg, "--shot-after") == 0 && HasValue) {
            const std::string Value = argv[++I];
            const std::size_t Colon = Value.find(':');
            if (Colon == std::string::npos || Colon + 1 == Value.size())
                return false;
            AOptions.ShotAfter = std::atoi(Value.substr(0, Colon).c_str());
            AOptions.ShotFile = Value.substr(Colon + 1);
        } else if (std::strncmp(Arg, "--", 2) == 0) {
            return false;
        } else {
            AOptions.OutputOptions.push_back(SplitOption(Arg));
        }
    }
    // A window needs a user-interface thread; the desktop is the default.
    if ((AOptions.Preview || AOptions.PreviewBitmap) && AOptions.Face == TFace::None)
        AOptions.Face = TFace::Desktop;
    if (AOptions.Face != TFace::None && AOptions.StopAfter >= 0)
        return false;
    return true;
}

// The engine, with a look at its preview window for the messages, and the
// time its worker spends in the post hooks and in the progress reports.
class TConvertEngine : public TCustomFFmpeg {
public:
    TConvertEngine() : TCustomFFmpeg(8) {}

    HWND PreviewWindow() {
        std::lock_guard Guard(PostHookLock());
        return FPostContext.Previewer ? FPostContext.Previewer->FormHandle() : nullptr;
    }

    // Read once the job has ended.
    struct TSpent {
        int Calls = 0;
        TClock::duration Time{};
    };
    TSpent PostHooksSpent, ReportsSpent;

protected:
    using TCustomFFmpeg::ReportProgress;

    void RunPostHooks(AVFrame* APicture, AVCodecContext* AEnc) override {
        const auto Start = TClock::now();
        TCustomFFmpeg::RunPostHooks(APicture, AEnc);
        Count(PostHooksSpent, Start);
    }
    void ReportProgress(bool ALast, int AFileIndex) override {
        const auto Start = TClock::now();
        TCustomFFmpeg::ReportProgress(ALast, AFileIndex);
        Count(ReportsSpent, Start);
    }

private:
    static void Count(TSpent& ASpent, TClock::time_point AStart) {
        ASpent.Calls += 1;
        ASpent.Time += TClock::now() - AStart;
    }
};

void PrintSpent(const char* AWhat, const TConvertEngine::TSpent& ASpent) {
    const std::chrono::duration<double, std::milli> Time = ASpent.Time;
    std::printf("%s: %d calls, %.3f ms\n", AWhat, ASpent.Calls, Time.count());
}

void Photograph(const std::string& APng) {
    const std::string Command = std::string("'") + OSTRELA_BIN_DIR + "/screenshot' '" + APng + "'";
    const int Status = std::system(Command.c_str());
    std::printf("photograph %s: %s\n", APng.c_str(), Status == 0 ? "taken" : "FAILED");
    std::fflush(stdout);
}

// Serves the worker's calls and the window system until the job has ended,
// and tells what becomes of the preview window.
void ServeUntilDone(TConvertEngine& AEngine, const TOptions& AOptions, TBackend& ABackend,
                    const std::atomic<bool>& ADone) {
    HWND Shown = nullptr;
    std::optional<TClock::time_point> ShownAt;
    bool ShotTaken = false;
    while (!ADone) {
        CheckSynchronize();
        PumpMessages();
        ABackend.Wait(GetTickCount() + 5, "convert_file");
        const HWND Window = AEngine.PreviewWindow();
        if (Window && Window != Shown) {
            TRect Client;
            GetClientRect(Window, &Client);
            TRect Outer;
            GetWindowRect(Window, &Outer);
            std::printf("preview window created: client %d x %d, at %d,%d\n", Client.Width(),
                        Client.Height(), Outer.Left, Outer.Top);
            std::fflush(stdout);
            Shown = Window;
            ShownAt = TClock::now();
        } else if (!Window && Shown) {
            std::printf("preview window gone\n");
            Shown = nullptr;
        }
        if (ShownAt && !ShotTaken && AOptions.ShotAfter >= 0 &&
            TClock::now() - *ShownAt >= std::chrono::milliseconds(AOptions.ShotAfter)) {
            ShotTaken = true;
            Photograph(AOptions.ShotFile);
        }
    }
    // The job frees its window before it reports its end.
    if (Shown)
        std::printf("preview window gone\n");
}

int Convert(const TOptions& AOptions, TBackend* ABackend) {
    TFFLogger* Logger = GetFFLogger();
    Logger->SetTriggerEventInMainThread(false);
    Logger->SetLogLevel(llVerbose);
    Logger->OnLog = [](TObject* Sender, TThreadID, TLogLevel ALevel, const std::string& AMsg) {
        // The engine's own lines; the library's chatter stays out.
        if (Sender && ALevel <= llVerbose) {
            std::printf("%s\n", AMsg.c_str());
            std::fflush(stdout);
        }
    };
    int Status = 0;
    {
        TConvertEngine Engine;
        Engine.ResetJob();
        try {
            for (const auto& [Name, Value] : AOptions.InputOptions)
                Engine.ParseOption(Name, Value);
            if (!Engine.OpenInputFile(AOptions.Input)) {
                std::printf("input: %s\n", Engine.LastErrMsg().c_str());
                return 1;
            }
            for (const auto& [Name, Value] : AOptions.OutputOptions)
                Engine.ParseOption(Name, Value);
            if (Engine.OpenOutputFile(AOptions.Output) < 0) {
                std::printf("output: %s\n", Engine.LastErrMsg().c_str());
                return 1;
            }
        } catch (const std::exception& E) {
            std::printf("option: %s\n", E.what());
            return 1;
        }
        if (AOptions.ReportInterval >= 0)
            Engine.ReportInterval = AOptions.ReportInterval;
        TPostHooks Hooks;
        if (AOptions.Preview)
            Hooks = TPostHooks{phPreview};
        if (AOptions.PreviewBitmap) {
            Hooks = AOptions.Preview ? TPostHooks{phPreview, phBitmap} : TPostHooks{phBitmap};
            Engine.SetOnPreviewBitmap(
                [](TObject*, TBitmap*, int, std::int64_t) { /* costs only the conversion */ });
        }
        Engine.SetPostHooks(Hooks);
        const auto Started = TClock::now();
        if (ABackend) {
            std::atomic<bool> Done{false};
            Engine.SetOnTerminate([&Done](TObject*) {
                Done = true;
                // The user-interface thread may be waiting for an event.
                PostThreadMessage(MainThreadID(), WM_NULL, 0, 0);
            });
            Engine.StartConvert(true)->Start();
            ServeUntilDone(Engine, AOptions, *ABackend, Done);
        } else if (AOptions.StopAfter < 0) {
            Engine.StartConvert(false);
        } else {
            Engine.StartConvert(true)->Start();
            std::this_thread::sleep_for(std::chrono::milliseconds(AOptions.StopAfter));
            const auto Before = TClock::now();
            Engine.Stop(true);
            const std::chrono::duration<double, std::milli> Took = TClock::now() - Before;
            std::printf("Stop took %.3f ms\n", Took.count());
        }
        const std::chrono::duration<double> JobTime = TClock::now() - Started;
        std::printf("Finished: %s\n", Engine.Finished() ? "true" : "false");
        std::printf("FatalMessage: \"%s\"\n", Engine.FatalMessage().c_str());
        std::printf("Job time: %.3f s\n", JobTime.count());
        PrintSpent("Post hooks", Engine.PostHooksSpent);
        PrintSpent("Progress reports", Engine.ReportsSpent);
        Status = Engine.Finished() ? 0 : 1;
    }
    struct stat Info {};
    if (::stat(AOptions.Output.c_str(), &Info) == 0)
        std::printf("Output size: %lld bytes\n", static_cast<long long>(Info.st_size));
    else
        std::printf("Output size: no file\n");
    Logger->OnLog = nullptr;
    return Status;
}

// Runs the job with a user-interface thread on the chosen backend.
int ConvertWithWindows(const TOptions& AOptions, char* AProgram) {
    if (AOptions.Face == TFace::Headless)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string Error;
    if (AOptions.Face == TFace::Desktop && !PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {AProgram, nullptr};
    QGuiApplication Qt(QtArgc, QtArgv);
    // Qt takes the user's locale; the progress lines keep the "." of C.
    std::setlocale(LC_NUMERIC, "C");
    std::unique_ptr<TBackend> Backend;
    if (AOptions.Face == TFace::Desktop)
        Backend = std::make_unique<TQtBackend>();
    else
        Backend = std::make_unique<THeadlessBackend>();
    SetBackend(Backend.get());
    InitApplication();
    const int Status = Convert(AOptions, Backend.get());
    DoneApplication();
    ResetWindowSystem();
    SetBackend(nullptr);
    return Status;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    TOptions Options;
    if (!ParseArguments(argc, argv, Options)) {
        std::fprintf(stderr, "usage: convert_file IN OUT [name=value ...] [--in name=value ...]\n"
                             "       [--stop-after MS] [--preview] [--preview-bitmap]\n"
                             "       [--desktop | --headless] [--report-interval MS]\n"
                             "       [--shot-after MS:PNG]\n");
        return 2;
    }
    if (!FFLoader().Load(ConverterLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    const int Status = Options.Face == TFace::None ? Convert(Options, nullptr)
                                                   : ConvertWithWindows(Options, argv[0]);
    FFLoader().Unload(ConverterLibs);
    return Status;
}
