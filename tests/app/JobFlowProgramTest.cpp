// The main window with the real task queue converting real clips: outputs
// reach their final names only when finished, a stopped job's work stays
// under its partial name, a failing encoder shows as failed and leaves no
// file, and released tasks take their empty partial files with them.
#include "app/JobOutputs.h"
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "platform/core/Threads.h"
#include "platform/forms/Menus.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "tests/app/support/JobFlowFixture.h"
#include "tests/app/support/MediaFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Clip(const std::string& Name) {
    return CachedClip(OSTRELA_FIXTURES_DIR, OSTRELA_CLIP_CACHE, Name);
}

const std::string Mp4Profile = "MP4 - MPEG-4视频格式(*.mp4)";

// Whether every thread of the test but the calling one is asleep, as a
// paused worker parked outside its work is.
bool OtherThreadsAsleep() {
    const std::string Self = std::to_string(gettid());
    int Others = 0;
    for (const auto& Task : std::filesystem::directory_iterator("/proc/self/task")) {
        const std::string Id = Task.path().filename().string();
        if (Id == Self)
            continue;
        std::ifstream Stat(Task.path() / "stat");
        const std::string Text((std::istreambuf_iterator<char>(Stat)), {});
        const std::size_t Close = Text.rfind(')');
        if (Close == std::string::npos || Close + 2 >= Text.size() || Text[Close + 2] != 'S')
            return false;
        ++Others;
    }
    return Others > 0;
}

class JobFlowProgram : public JobFlow {
protected:
    void SetUp() override {
        JobFlow::SetUp();
        TProgramServices Services = ProgramServices();
        Services.Queue = nullptr; // the window's own queue
        SetProgramServices(Services);
    }

    // A 20 s clip started and stopped once it has made progress.
    void StopALongClipUnderWay() {
        StartWindow();
        ChooseProfile(Mp4Profile);
        AddCopyOf("clip20s.mp4", "long.mp4");
        Form1->bsSkinButton2->ButtonClick();
        ASSERT_TRUE(WaitFor([] { return !Cell(0, 3).empty() && Cell(0, 3) != "0%"; }));
        Form1->bsSkinButton10Click(nullptr);
        ASSERT_TRUE(WaitFor(AllDone));
    }

    // Serves the queue's reports until Done; a generous guard fails a hung
    // conversion instead of waiting for ever.
    bool WaitFor(const std::function<bool()>& Done) {
        const auto Until = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (!Done()) {
            if (std::chrono::steady_clock::now() > Until)
                return false;
            CheckSynchronize();
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
    // The all-done report has come: clearing is offered again.
    static bool AllDone() { return Form1->N10->Enabled() && !Form1->N13->Enabled(); }

    std::string AddCopyOf(const std::string& ClipName, const std::string& As) {
        const std::string Input = Inputs() + "/" + As;
        std::filesystem::copy_file(Clip(ClipName), Input,
                                   std::filesystem::copy_options::overwrite_existing);
        AddFiles({Input});
        return Input;
    }
    std::vector<std::string> OutputFiles() const {
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(Output()))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
};

TEST_F(JobFlowProgram, AClipIsConvertedUnderItsFinalNameAndTheFolderOpened) {
    StartWindow();
    ChooseProfile(Mp4Profile); // MPEG-4 video and MP3 audio
    AddCopyOf("clip2s.mp4", "a.mp4");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 2), "a.mp4");
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_TRUE(WaitFor(AllDone));

    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"a.mp4"});
    const std::string Final = Output() + "/a.mp4";
    const std::string Probed = Probe(Final);
    EXPECT_NE(Probed.find("mpeg4"), std::string::npos) << Probed;
    EXPECT_NE(Probed.find("mp3"), std::string::npos) << Probed;
    EXPECT_NE(Probed.find("mp4"), std::string::npos) << Probed;
    EXPECT_NEAR(ProbedDuration(Final), 2.0, 1.0 / 25); // within one frame
    EXPECT_EQ(Actions.Calls, std::vector<std::string>{"Open " + Output()});
}

TEST_F(JobFlowProgram, FourCopiesWithTwoThreadsEachGetTheirOwnFinishedOutput) {
    StartWindow();
    Form5->bsSkinCheckRadioBox7->SetChecked(true); // several at once
    Form5->bsSkinComboBox2->SetItemIndex(1);       // two
    Form5->bsSkinCheckRadioBox5->SetChecked(true); // nothing after the work
    ChooseProfile(Mp4Profile);
    for (int Copy = 0; Copy < 4; ++Copy)
        AddCopyOf("clip2s.mp4", "a.mp4");
    ASSERT_EQ(Rows(), 4);
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_TRUE(WaitFor(AllDone));

    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"a.mp4", "a_1.mp4", "a_2.mp4", "a_3.mp4"}));
    for (int Row = 0; Row < 4; ++Row) {
        EXPECT_EQ(Cell(Row, 3), "100%");
        EXPECT_NEAR(ProbedDuration(Output() + "/" + Cell(Row, 2)), 2.0, 1.0 / 25);
    }
    EXPECT_TRUE(Actions.Calls.empty());
}

TEST_F(JobFlowProgram, APausedJobParksItsWorkerAndFinishesAfterResuming) {
    StartWindow();
    Form1->chkThreadMode->SetChecked(true);
    ChooseProfile(Mp4Profile);
    AddCopyOf("clip20s.mp4", "long.mp4");
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_TRUE(WaitFor([] { return !Cell(0, 3).empty() && Cell(0, 3) != "0%"; }));
    Form1->bsSkinButton11->ButtonClick();
    ASSERT_TRUE(WaitFor(OtherThreadsAsleep));
    EXPECT_TRUE(Form1->bsSkinButton12->Visible());
    EXPECT_FALSE(std::filesystem::exists(Output() + "/long.mp4"));
    Form1->bsSkinButton12->ButtonClick();
    ASSERT_TRUE(WaitFor(AllDone));
    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_NEAR(ProbedDuration(Output() + "/long.mp4"), 20.0, 0.05);
}

TEST_F(JobFlowProgram, AStoppedJobKeepsItsPlayableWorkUnderThePartialName) {
    ASSERT_NO_FATAL_FAILURE(StopALongClipUnderWay());

    EXPECT_NE(Cell(0, 3), "100%");
    const std::string Partial = PartialOutputPath(Output() + "/long.mp4");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"long.part.mp4"});
    const double Kept = ProbedDuration(Partial);
    EXPECT_GT(Kept, 0.0);
    EXPECT_LT(Kept, 20.0);
    EXPECT_TRUE(Actions.Calls.empty());

    // Clearing releases the tasks; the kept work stays.
    Form1->N10->Click();
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"long.part.mp4"});
}

TEST_F(JobFlowProgram, AProfileWithoutEncoderFailsWhenStartedAndLeavesNoFile) {
    StartWindow();
    ChooseProfile("AMR-手机音频格式(*.amr)"); // no AMR-NB encoder in the system's FFmpeg
    AddCopyOf("clip2s.mp4", "a.mp4");
    AddCopyOf("clip2s.mp4", "b.mp4");
    // Both jobs are taken; the second, selected, then gets another profile.
    ASSERT_EQ(Rows(), 2);
    ChooseProfile(Mp4Profile);
    EXPECT_EQ(Cell(0, 2), "a.amr");
    EXPECT_EQ(Cell(1, 2), "b.mp4");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
    // What the window is told, and the box it shows then.
    std::vector<TTerminateInfo> Reports;
    Form1->Queue().SetOnTerminate(TTerminateEvent([&](TObject*, const TTerminateInfo& Info) {
        Reports.push_back(Info);
        Form1->JobTerminated(Info);
    }));
    std::vector<std::string> Boxes;
    {
        TScriptNextModal Script([&](TCustomForm& Box) {
            Boxes.push_back(Box.Caption());
            Box.SetModalResult(mrOk);
        });
        Form1->bsSkinButton2->ButtonClick();
        ASSERT_TRUE(WaitFor(AllDone));
    }

    EXPECT_EQ(Cell(0, 3), "失败");
    EXPECT_EQ(Boxes, std::vector<std::string>{"Ostrela"});
    ASSERT_FALSE(Reports.empty());
    EXPECT_EQ(Reports[0].TaskIndex, 0);
    EXPECT_TRUE(Reports[0].Exception);
    EXPECT_NE(Reports[0].ExceptionMsg.find("Unknown encoder 'libopencore_amrnb'"),
              std::string::npos)
        << Reports[0].ExceptionMsg;
    // The other job's work is not lost; the failed one left nothing.
    EXPECT_EQ(Cell(1, 3), "100%");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"b.mp4"});
}

// The window's queue remembers a missing encoder by task: a removal before
// it moves the message with its task, and no other task's report gets it.
TEST_F(JobFlowProgram, AMissingEncoderStaysWithItsTaskWhenAnEarlierOneIsRemoved) {
    StartWindow();
    const std::string Input = AddCopyOf("clip2s.mp4", "in.mp4"); // loads the libraries
    IJobQueue& Jobs = Form1->Queue();
    Jobs.ClearTasks();
    const auto Add = [&](const std::string& Name, const std::string& Audio) {
        TInputOptions In;
        InitInputOptions(In);
        TOutputOptions Out;
        InitOutputOptions(Out);
        Out.AudioCodec = Audio;
        const int Task = Jobs.AddTask(Input, &In);
        EXPECT_TRUE(Jobs.SetOutputFile(Task, Output() + "/" + Name, &Out)) << Name;
        return Task;
    };
    ASSERT_EQ(Add("gone.mp4", ""), 0);
    ASSERT_EQ(Add("x.amr", "libopencore_amrnb"), 1);
    ASSERT_EQ(Add("b.mp4", ""), 2);
    Jobs.RemoveTask(0);
    std::vector<TTerminateInfo> Reports;
    Jobs.SetOnTerminate(
        TTerminateEvent([&](TObject*, const TTerminateInfo& Info) { Reports.push_back(Info); }));
    Jobs.Start(1);
    ASSERT_TRUE(WaitFor([&] { return !Reports.empty() && Reports.back().TaskIndex == -1; }));

    ASSERT_EQ(Reports.size(), 3u);
    EXPECT_EQ(Reports[0].TaskIndex, 0);
    EXPECT_TRUE(Reports[0].Exception);
    EXPECT_NE(Reports[0].ExceptionMsg.find("Unknown encoder 'libopencore_amrnb'"),
              std::string::npos)
        << Reports[0].ExceptionMsg;
    EXPECT_EQ(Reports[1].TaskIndex, 1);
    EXPECT_TRUE(Reports[1].Finished);
    EXPECT_FALSE(Reports[1].Exception) << Reports[1].ExceptionMsg;
    Jobs.ClearTasks();
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"b.mp4"});
}

TEST_F(JobFlowProgram, RemovingOrClearingJobsThatNeverRanLeavesNoFiles) {
    StartWindow();
    ChooseProfile(Mp4Profile);
    AddCopyOf("clip2s.mp4", "a.mp4");
    AddCopyOf("clip2s.mp4", "b.mp4");
    AddCopyOf("clip2s.mp4", "c.mp4");
    ASSERT_EQ(Rows(), 3);
    Form1->lvFiles->SetItemIndex(1);
    Form1->N9->Click();
    EXPECT_EQ(Rows(), 2);
    EXPECT_FALSE(std::filesystem::exists(PartialOutputPath(Output() + "/b.mp4")));
    Form1->N10->Click();
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
}

TEST_F(JobFlowProgram, AnInputDeletedAfterAddingStopsTheStartWithItsName) {
    StartWindow();
    ChooseProfile(Mp4Profile);
    const std::string Input = AddCopyOf("clip2s.mp4", "a.mp4");
    std::filesystem::remove(Input);
    std::string Shown;
    {
        TScriptNextModal Script([&](TCustomForm& Box) {
            Shown = Box.Caption();
            Box.SetModalResult(mrOk);
        });
        Form1->bsSkinButton2->ButtonClick();
    }
    EXPECT_EQ(Shown, "Ostrela");
    EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
    EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
    EXPECT_EQ(Cell(0, 3), "");
}

TEST_F(JobFlowProgram, TheRealPlayerPreviewsTheSelectedRowAndASnapshotIsItsPicture) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TProgramServices Services = ProgramServices();
    Services.Player = nullptr; // the window's own player
    SetProgramServices(Services);
    const std::string Shots = Folder.Path() + "/shots";
    std::filesystem::create_directories(Shots);
    WriteOptionFile("[SnapShot]\nDir=" + Shots + "\nPicture=PNG\n");
    StartWindow();
    ChooseProfile(Mp4Profile);
    AddCopyOf("clip2s.mp4", "clip.mp4");
    ASSERT_EQ(Rows(), 1);
    // The selection opened the file paused: its picture comes once decoded.
    ASSERT_TRUE(WaitFor([] { return Form1->FDuration > 0; }));
    const std::string Picture = Shots + "/clip_1.png";
    // A snapshot saves nothing until a picture is on display.
    ASSERT_TRUE(WaitFor([&] {
        Form1->bsSkinButton22->ButtonClick();
        return std::filesystem::exists(Picture);
    }));
    const std::string Command =
        "ffprobe -v error -show_entries stream=width,height -of csv=p=0 \"" + Picture +
        "\" 2>/dev/null";
    std::string Size;
    if (FILE* Pipe = popen(Command.c_str(), "r")) {
        std::array<char, 64> Buffer{};
        while (fgets(Buffer.data(), Buffer.size(), Pipe))
            Size += Buffer.data();
        pclose(Pipe);
    }
    EXPECT_EQ(Size.substr(0, 7), "320,240");
    Form1->Player().Stop(true);
}

TEST_F(JobFlowProgram, AStartAfterAStopConvertsEveryRowAgain) {
    ASSERT_NO_FATAL_FAILURE(StopALongClipUnderWay());
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_TRUE(WaitFor(AllDone));

    // The stopped run's work keeps its partial name; the new run converts
    // the whole clip under the next free name.
    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"long.part.mp4", "long_1.mp4"}));
    EXPECT_NEAR(ProbedDuration(Output() + "/long_1.mp4"), 20.0, 0.05);
}

TEST_F(JobFlowProgram, AStartRefusedForAVanishedInputLeavesRowsThatCanBeRemoved) {
    StartWindow();
    ChooseProfile(Mp4Profile);
    AddCopyOf("clip2s.mp4", "a.mp4");
    const std::string Gone = AddCopyOf("clip2s.mp4", "b.mp4");
    std::filesystem::remove(Gone);
    // Refused: b.mp4 cannot be opened.
    EXPECT_EQ(BoxOf([] { Form1->bsSkinButton2->ButtonClick(); }), "Ostrela");
    EXPECT_EQ(Form1->Queue().Working(), false);
    for (int Row : {1, 0}) {
        Form1->lvFiles->SetItemIndex(Row);
        EXPECT_NO_THROW(Form1->btnRemoveClick(nullptr));
    }
    EXPECT_EQ(Rows(), 0);
    AddCopyOf("clip2s.mp4", "c.mp4");
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_TRUE(WaitFor(AllDone));
    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"c.mp4"});
}

TEST_F(JobFlowProgram, OverwritingNeverTakesAnInputOrAnotherRowsPartialName) {
    StartWindow();
    Form5->bsSkinCheckRadioBox7->SetChecked(true); // several at once
    Form5->bsSkinComboBox2->SetItemIndex(1);       // two
    Form5->bsSkinCheckRadioBox5->SetChecked(true); // nothing after the work
    Form5->bsSkinCheckRadioBox3->SetChecked(true); // overwrite outputs
    ChooseProfile(Mp4Profile);
    // The first input lies in the output folder itself.
    const std::string Own = Output() + "/x.mp4";
    std::filesystem::copy_file(Clip("clip20s.mp4"), Own);
    AddFiles({Own});
    AddCopyOf("clip2s.mp4", "x.part.mp4");
    ASSERT_EQ(Rows(), 2);
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_TRUE(WaitFor(AllDone));

    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(Cell(1, 3), "100%");
    EXPECT_NEAR(ProbedDuration(Own), 20.0, 0.05); // the input is untouched
    EXPECT_NEAR(ProbedDuration(Output() + "/" + Cell(0, 2)), 20.0, 0.05);
    EXPECT_NEAR(ProbedDuration(Output() + "/" + Cell(1, 2)), 2.0, 1.0 / 25);
    EXPECT_EQ(OutputFiles().size(), 3u);
}

} // namespace
