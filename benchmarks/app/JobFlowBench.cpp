// Figures of the job flow in the main window, printed, never asserted: one
// job in the program against the same job in queue_files and the ffmpeg
// command, four jobs with one, two and four threads, adding 100 small clips,
// a progress round with 19 jobs converting, the table's repaint with 500
// rows, opening the preview of a selected row until its first picture, each
// snapshot type's save at 1280 x 720 and the sound child's start until its
// first audio buffer. GoogleTest cases on the headless backend with the real
// task queue; built, never run by CTest. The machine's load is printed with
// the figures that depend on it.
#include "app/PreviewPlayer.h"
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "platform/core/Threads.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "tests/app/support/JobFlowFixture.h"
#include "tests/app/support/MediaFiles.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point Since) {
    return std::chrono::duration<double>(Clock::now() - Since).count();
}

double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V[V.size() / 2];
}

// The machine's load over the last minute (8 helpers may share it).
std::string Load() {
    std::ifstream In("/proc/loadavg");
    std::string One;
    In >> One;
    return One;
}

// CPU time of the calling thread.
double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
}

std::uintmax_t SizeOf(const std::string& Path) {
    std::error_code Error;
    const std::uintmax_t Size = std::filesystem::file_size(Path, Error);
    return Error ? 0 : Size;
}

std::string Clip(const std::string& Name) {
    return CachedClip(OSTRELA_FIXTURES_DIR, OSTRELA_CLIP_CACHE, Name);
}

// The window with its own real queue.
class JobFlowFigures : public JobFlow {
protected:
    void SetUp() override {
        JobFlow::SetUp();
        TProgramServices Services = ProgramServices();
        Services.Queue = nullptr;
        SetProgramServices(Services);
    }
    bool WaitFor(const std::function<bool()>& Done) {
        const auto Until = Clock::now() + std::chrono::minutes(5);
        while (!Done()) {
            if (Clock::now() > Until)
                return false;
            CheckSynchronize();
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    static bool AllDone() { return Form1->N10->Enabled() && !Form1->N13->Enabled(); }
    std::vector<std::string> Copies(const std::string& ClipName, int Count,
                                    const std::string& Prefix) {
        std::vector<std::string> Files;
        for (int I = 0; I < Count; ++I) {
            Files.push_back(Inputs() + "/" + Prefix + std::to_string(I) + ".mp4");
            std::filesystem::copy_file(Clip(ClipName), Files.back(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        return Files;
    }
    void ClearOutput() {
        for (const auto& Entry : std::filesystem::directory_iterator(Output()))
            std::filesystem::remove(Entry.path());
    }
    static void UseThreads(int Count) {
        Form5->bsSkinCheckRadioBox7->SetChecked(Count > 1);
        Form5->bsSkinComboBox2->SetItemIndex(Count - 1);
        Form5->bsSkinCheckRadioBox5->SetChecked(true); // nothing after the work
    }
    // Start to the all-done report.
    double Convert() {
        const auto Start = Clock::now();
        Form1->bsSkinButton2->ButtonClick();
        EXPECT_TRUE(WaitFor(AllDone));
        return Seconds(Start);
    }
};

// The same job three ways, back to back in each round so that each triple
// meets the same load: the program (start to the all-done report, the
// output moved into place), queue_files (the queue alone, process start
// included) and the ffmpeg command with the same settings: the window's
// first profile (200), whose lists hold the profile's own settings except
// the frame rate (29.97 by default, the profile's own 25).
TEST_F(JobFlowFigures, OneJobInTheProgramAgainstQueueFilesAndFfmpeg) {
    StartWindow();
    UseThreads(1);
    Form1->bsSkinComboBox9->SetItemIndex(1);
    ASSERT_EQ(Form1->bsSkinComboBox9->Text(), "25.00");
    const std::vector<std::string> Input = Copies("clip20s.mp4", 1, "c");
    const std::string Demo = Folder.Path() + "/demo";
    const std::string Command = Folder.Path() + "/command.avi";
    const std::string DemoCommand = std::string("\"") + OSTRELA_QUEUE_FILES + "\" \"" + Demo +
                                    "\" 1 \"" + Input[0] + "\" --profile 200 >/dev/null 2>&1";
    const std::string FfmpegCommand =
        "ffmpeg -nostdin -y -v error -i \"" + Input[0] +
        "\" -c:v mpeg4 -s 1280x720 -r 25 -b:v 1600k -c:a libmp3lame -b:a 128k -ar 48000 -ac 2 \"" +
        Command + "\" >/dev/null 2>&1";
    std::vector<double> Program, Queue, Ffmpeg;
    const auto InTheProgram = [&] {
        Form1->btnClearClick(nullptr);
        ClearOutput();
        AddFiles(Input);
        Program.push_back(Convert());
    };
    for (int Round = 0; Round < 5; ++Round) {
        const std::string LoadBefore = Load();
        // The program first in one round, last in the next, so that neither
        // side always meets a warmed or a busier machine.
        if (Round % 2 == 0)
            InTheProgram();
        std::filesystem::remove_all(Demo);
        auto Start = Clock::now();
        EXPECT_EQ(std::system(DemoCommand.c_str()), 0);
        Queue.push_back(Seconds(Start));
        Start = Clock::now();
        EXPECT_EQ(std::system(FfmpegCommand.c_str()), 0);
        Ffmpeg.push_back(Seconds(Start));
        if (Round % 2 == 1)
            InTheProgram();
        std::printf("round %d, load %s -> %s: program %.2f s, queue_files %.2f s, ffmpeg %.2f s\n",
                    Round + 1, LoadBefore.c_str(), Load().c_str(), Program.back(), Queue.back(),
                    Ffmpeg.back());
    }
    std::printf("outputs: program %ju bytes, queue_files %ju bytes, ffmpeg %ju bytes\n",
                SizeOf(Output() + "/c0.avi"), SizeOf(Demo + "/c0.avi"), SizeOf(Command));
    std::printf("one 20 s clip, profile 200, median of 5: program %.2f s, queue_files %.2f s "
                "(program/queue_files %.3f), ffmpeg %.2f s (program/ffmpeg %.3f)\n",
                Median(Program), Median(Queue), Median(Program) / Median(Queue), Median(Ffmpeg),
                Median(Program) / Median(Ffmpeg));
}

TEST_F(JobFlowFigures, FourJobsWithOneTwoAndFourThreads) {
    StartWindow();
    const std::vector<std::string> Inputs = Copies("clip2s.mp4", 4, "c");
    for (int Threads : {1, 2, 4}) {
        Form1->btnClearClick(nullptr);
        ClearOutput();
        UseThreads(Threads);
        AddFiles(Inputs);
        std::printf("four 2 s clips, %d thread(s): %.2f s\n", Threads, Convert());
    }
}

TEST_F(JobFlowFigures, AddingOneHundredSmallClips) {
    StartWindow();
    const std::vector<std::string> Files = Copies("clip2s.mp4", 100, "s");
    const auto Start = Clock::now();
    AddFiles(Files);
    const double Took = Seconds(Start);
    EXPECT_EQ(Rows(), 100);
    std::printf("adding 100 clips (probe, task and row each): %.2f s, %.1f ms a file\n", Took,
                Took * 10);
    // What the start does for each row before the jobs run.
    const auto Rebuild = Clock::now();
    Form1->button28Click(nullptr);
    const double Rebuilt = Seconds(Rebuild);
    Form1->Queue().ClearTasks();
    std::printf("the start's rebuild of 100 rows (a task and its output each): %.2f s, %.1f ms "
                "a row (load %s)\n",
                Rebuilt, Rebuilt * 10, Load().c_str());
}

// Nineteen jobs at once: what the user-interface thread spends on their
// progress reports (four cells of a row each, and the table's repaint). The
// loop waits for queued calls as the program's message loop does, so the
// share is the window's own work, not a polling loop's.
TEST_F(JobFlowFigures, ProgressRoundWith19JobsConverting) {
    StartWindow();
    ChooseProfile("MP4 - MPEG-4视频格式(*.mp4)");
    UseThreads(19);
    AddFiles(Copies("clip20s.mp4", 19, "p"));
    ASSERT_EQ(Rows(), 19);
    int Reports = 0;
    double InHandler = 0;
    const TProgressEvent Window = Form1->FFQueue->OnProgress();
    Form1->FFQueue->SetOnProgress([&](TObject* Sender, PProgressInfo Info) {
        const double Before = ThreadSeconds();
        Window(Sender, Info);
        InHandler += ThreadSeconds() - Before;
        ++Reports;
    });
    const std::string LoadBefore = Load();
    double CpuBefore = ThreadSeconds();
    Form1->bsSkinButton2->ButtonClick();
    const double StartCpu = ThreadSeconds() - CpuBefore;
    CpuBefore = ThreadSeconds();
    const auto Start = Clock::now();
    const auto Until = Clock::now() + std::chrono::minutes(10);
    while (!AllDone() && Clock::now() < Until) {
        CheckSynchronize(20);
        Pump();
    }
    const double Wall = Seconds(Start);
    const double Cpu = ThreadSeconds() - CpuBefore;
    EXPECT_TRUE(AllDone());
    Form1->FFQueue->SetOnProgress(Window);
    std::printf("19 jobs converting (load %s -> %s): the start %.0f ms of CPU; then %.2f s, of "
                "which the user-interface thread %.3f s of CPU, %.2f %% of a core; %d progress "
                "reports, %.1f us each in the handler (%.2f ms a round of 19); with repaints and "
                "terminations %.2f ms of CPU a report\n",
                LoadBefore.c_str(), Load().c_str(), StartCpu * 1000, Wall, Cpu, Cpu / Wall * 100,
                Reports, Reports ? InHandler / Reports * 1e6 : 0.0,
                InHandler / std::max(Reports, 1) * 19 * 1000, Reports ? Cpu / Reports * 1000 : 0.0);
}

// The window's own player: from the selection of a row to the first picture
// of its file on display, alternating between two rows.
TEST_F(JobFlowFigures, PreviewOfASelectedRowUntilItsFirstPicture) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TProgramServices Services = ProgramServices();
    Services.Player = nullptr;
    SetProgramServices(Services);
    StartWindow();
    AddFiles(Copies("clip2s.mp4", 2, "v"));
    ASSERT_EQ(Rows(), 2);
    const auto Shown = [] {
        TBitmap* Frame = Form1->Player().CurrentFrame();
        return Frame && Frame->Width() > 0;
    };
    ASSERT_TRUE(WaitFor(Shown));
    std::vector<double> Times, Stopping, Selecting;
    for (int Run = 0; Run < 7; ++Run) {
        // The selection stops the file on display first; that part apart.
        const auto Stop = Clock::now();
        Form1->Player().Stop(true);
        Stopping.push_back(Seconds(Stop));
        const auto Start = Clock::now();
        Form1->SelectJobRow(Run % 2);
        Selecting.push_back(Seconds(Start));
        const auto Until = Clock::now() + std::chrono::seconds(30);
        while (!Shown() && Clock::now() < Until) {
            CheckSynchronize();
            Pump();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        Times.push_back(Seconds(Start));
    }
    Form1->Player().Stop(true);
    std::printf("preview of a selected row (320x240 clip): stopping the file on display %.1f "
                "ms, then from the selection to the first picture %.1f ms, of which the "
                "selection's own call %.1f ms (medians of 7, load %s)\n",
                Median(Stopping) * 1000, Median(Times) * 1000, Median(Selecting) * 1000,
                Load().c_str());
}

// The table with 500 rows, from the scripted queue (no probing).
TEST_F(JobFlow, TableRepaintWith500Rows) {
    StartWindow();
    std::vector<std::string> Files;
    for (int I = 0; I < 500; ++I)
        Files.push_back(MakeInput("r" + std::to_string(I) + ".mp4"));
    AddFiles(Files);
    EXPECT_EQ(Rows(), 500);
    std::vector<double> Times;
    for (int Run = 0; Run < 20; ++Run) {
        const auto Start = Clock::now();
        RedrawWindow(Form1->lvFiles->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        FlushPresents();
        Times.push_back(Seconds(Start));
    }
    std::printf("table repaint with 500 rows: %.2f ms (median of 20)\n", Median(Times) * 1000);
}

TEST_F(JobFlow, EachSnapshotTypeSavedAt1280x720) {
    const std::string Shots = Folder.Path() + "/shots";
    std::filesystem::create_directories(Shots);
    WriteOptionFile("[SnapShot]\nDir=" + Shots + "\nPicture=BMP\n");
    StartWindow();
    Form1->T_Movie_PLayer_FileName = Inputs() + "/clip.mp4";
    TBitmap Frame;
    Frame.SetPixelFormat(pf24bit);
    Frame.SetSize(1280, 720);
    for (int Y = 0; Y < 720; Y += 4)
        for (int X = 0; X < 1280; X += 4)
            Frame.Canvas()->SetPixels(X, Y, RGB(X % 256, Y % 256, (X + Y) % 256));
    Player.Frame = &Frame;
    const std::pair<TMenuItem*, const char*> Types[] = {
        {Form1->BMP1, "BMP"}, {Form1->JPG1, "JPG"}, {Form1->GIF1, "GIF"}, {Form1->PNG1, "PNG"}};
    for (auto [Entry, Name] : Types) {
        Entry->Click();
        std::vector<double> Times;
        for (int Run = 0; Run < 5; ++Run) {
            const auto Start = Clock::now();
            Form1->bsSkinButton22Click(nullptr);
            Times.push_back(Seconds(Start));
        }
        std::printf("snapshot %s at 1280x720: %.1f ms (median of 5)\n", Name, Median(Times) * 1000);
    }
    Player.Frame = nullptr;
}

// The built program as the sound child, writing through SDL's disk driver:
// from the start of the process to its first audio buffer in the file, and
// to its end.
TEST(JobFlowSoundChild, StartUntilTheFirstAudioBuffer) {
    const std::string Tone = Clip("tone.wav");
    const std::string Folder =
        std::filesystem::temp_directory_path() / ("ostrela-sound-" + std::to_string(getpid()));
    std::filesystem::create_directories(Folder);
    const std::string Sink = Folder + "/sink.raw";
    std::vector<std::string> Environment = {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + Sink};
    for (char** Entry = environ; *Entry; ++Entry) {
        const std::string Text = *Entry;
        if (Text.rfind("DISPLAY=", 0) != 0 && Text.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
            Text.rfind("SDL_", 0) != 0)
            Environment.push_back(Text);
    }
    std::vector<char*> Env;
    for (std::string& Text : Environment)
        Env.push_back(Text.data());
    Env.push_back(nullptr);
    std::string Program = OSTRELA_PROGRAM, Option = "--play-sound", File = Tone;
    char* Argv[] = {Program.data(), Option.data(), File.data(), nullptr};

    std::vector<double> FirstBuffer, Whole;
    for (int Run = 0; Run < 5; ++Run) {
        std::filesystem::remove(Sink);
        const auto Start = Clock::now();
        pid_t Child = 0;
        ASSERT_EQ(posix_spawn(&Child, Program.c_str(), nullptr, nullptr, Argv, Env.data()), 0);
        double First = -1;
        int Status = 0;
        for (;;) {
            if (First < 0 && SizeOf(Sink) > 0)
                First = Seconds(Start);
            if (waitpid(Child, &Status, WNOHANG) == Child)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        Whole.push_back(Seconds(Start));
        EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0);
        FirstBuffer.push_back(First < 0 ? Whole.back() : First);
    }
    std::filesystem::remove_all(Folder);
    std::printf("sound child: first audio buffer %.1f ms after the start, ends after %.1f ms "
                "(0.5 s tone; median of 5, load %s)\n",
                Median(FirstBuffer) * 1000, Median(Whole) * 1000, Load().c_str());
}

} // namespace
