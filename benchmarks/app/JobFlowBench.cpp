// Figures of the job flow in the main window, printed, never asserted: one
// job in the program against the same job in queue_files, four jobs with one,
// two and four threads, adding 100 small clips, the table's repaint with 500
// rows, and each snapshot type's save at 1280 x 720. GoogleTest cases on the
// headless backend with the real task queue; built, never run by CTest.
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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point Since) {
    return std::chrono::duration<double>(Clock::now() - Since).count();
}

double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V[V.size() / 2];
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

TEST_F(JobFlowFigures, OneJobInTheProgramAgainstQueueFiles) {
    StartWindow();
    UseThreads(1);
    // The window's first profile (200) in both; the window's six lists hold
    // their own defaults (its video bit rate 1600 kbit/s, the profile's own
    // 1500), so the jobs differ in that one setting.
    const std::vector<std::string> Input = Copies("clip20s.mp4", 1, "c");
    std::vector<double> Program, Demo;
    for (int Run = 0; Run < 3; ++Run) {
        Form1->btnClearClick(nullptr);
        ClearOutput();
        AddFiles(Input);
        Program.push_back(Convert());
        ClearOutput();
        const std::string Command = std::string("\"") + OSTRELA_QUEUE_FILES + "\" \"" + Output() +
                                    "\" 1 \"" + Input[0] + "\" --profile 200 >/dev/null 2>&1";
        const auto Start = Clock::now();
        EXPECT_EQ(std::system(Command.c_str()), 0);
        Demo.push_back(Seconds(Start));
    }
    std::printf("one 20 s clip, profile 200: program %.2f s, queue_files %.2f s, ratio %.3f "
                "(median of 3)\n",
                Median(Program), Median(Demo), Median(Program) / Median(Demo));
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

} // namespace
