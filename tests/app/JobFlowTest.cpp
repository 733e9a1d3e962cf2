// The main window's job flow against the recording stand-ins: adding files,
// starting, pausing and stopping the list, progress and termination reports
// with the outputs' partial names, and the actions after the work.
#include "app/ExternalActions.h"
#include "app/JobOutputs.h"
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "catalogue/ProfileCatalogue.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Threads.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "tests/app/support/JobFlowFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// ---------------------------------------------------------------- adding

TEST_F(JobFlow, LibrariesThatCannotLoadAreLoggedAndShownAndNothingIsAsked) {
    StartWindow();
    Jobs.LoadSucceeds = false;
    Jobs.ErrorText = "libavformat missing";
    bool Asked = false;
    Form1->OpenDialogRunner = [&](bool, const std::string&, std::vector<std::string>&) {
        Asked = true;
        return false;
    };
    EXPECT_EQ(BoxOf([] { Form1->btnAddClick(nullptr); }), "Ostrela");
    EXPECT_EQ(MemoLines(), std::vector<std::string>{"libavformat missing"});
    EXPECT_FALSE(Asked);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Count("ProbeFile(" + Inputs() + "/a.mp4)"), 0);
}

TEST_F(JobFlow, OneFileBecomesARowASlotAndATaskWritingThePartialName) {
    StartWindow();
    const std::string Input = MakeInput("clip.mp4");
    Jobs.NextProbe.Duration = 3'725'400'000;
    Jobs.NextProbe.FileSize = 1'572'864;
    AddFiles({Input});

    EXPECT_FALSE(DialogMultiple);
    ASSERT_EQ(Rows(), 1);
    TListItem* Item = Form1->lvFiles->Items()->Item(0);
    EXPECT_EQ(Item->Caption(), Input);
    EXPECT_EQ(Cell(0, 0), "01:02:05");
    EXPECT_EQ(Cell(0, 1), "1.5MB");
    const std::string Name = Cell(0, 2);
    EXPECT_EQ(Name.substr(0, 5), "clip.");
    for (int Empty : {3, 4, 5, 6})
        EXPECT_EQ(Cell(0, Empty), "");
    EXPECT_EQ(Cell(0, 7), "1");
    EXPECT_EQ(Cell(0, 8), ProfileCode(Form1->bsSkinOfficeComboBox2->ItemIndex(),
                                      Form1->bsSkinOfficeComboBox1->ItemIndex()));
    EXPECT_EQ(Cell(0, 9), Form1->Catalogue().ParameterCodeFromLists());
    EXPECT_EQ(Item->SubItems()->Count(), 24);

    // The task writes beside the final name; the slot keeps the final one.
    EXPECT_EQ(Jobs.OutputNames[0], PartialOutputPath(Output() + "/" + Name));
    EXPECT_EQ(Form1->Slots.OO1(Form1->Slots.SlotOfRow(0)).FileName, Output() + "/" + Name);
    EXPECT_EQ(Form1->Slots.State(Form1->Slots.SlotOfRow(0)), "Full");
    EXPECT_FALSE(Form1->bsSkinPanel5->Visible());
    for (TControl* Button :
         std::initializer_list<TControl*>{Form1->bsSkinButton7, Form1->bsSkinButton21,
                                          Form1->bsSkinButton8, Form1->bsSkinButton2})
        EXPECT_TRUE(Button->Enabled()) << Button->Name();
    for (TMenuItem* Entry : {Form1->N9, Form1->N26, Form1->N10, Form1->N12})
        EXPECT_TRUE(Entry->Enabled()) << Entry->Name();
    // The memo keeps no empty line at its start or end.
    EXPECT_EQ(MemoLines(),
              (std::vector<std::string>{"Input #0", "Stream #0:0", "", "***Can do convert."}));
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0);
    EXPECT_NE(std::find(Player.Calls.begin(), Player.Calls.end(), "Open(" + Input + ",1)"),
              Player.Calls.end());
}

// FFmpeg's report while a task opens its input comes through the window's
// logger in the middle of the add's and the start's own lines; the memo
// keeps them in the order they came, and the logger writes there again
// after each command.
TEST_F(JobFlow, TheLogOfAddAndStartKeepsFFmpegsLinesInTheirPlace) {
    StartWindow();
    ASSERT_NE(Form1->FFLogger, nullptr);
    Jobs.WhileOpening = [](const std::string& Name) {
        Form1->FFLogger->Log(nullptr, llInfo, "opening " + Name + "\r\nsecond\r");
    };
    const std::string A = MakeInput("a.mp4"), Bad = MakeInput("bad.mp4"), C = MakeInput("c.mp4");
    Jobs.Probes[Bad] = TJobProbe{false, "bad data\nline two", "", 0, 0};
    AddFiles({A, Bad, C});
    ASSERT_EQ(Rows(), 2);
    const auto Logged = [](const std::string& Text) {
        return LogMemoText(GetCurrentThreadId(), llInfo, Text);
    };
    EXPECT_EQ(MemoLines(), (std::vector<std::string>{
                               Logged("opening " + C), "second", "", "Input #0", "Stream #0:0", "",
                               "***Can do convert.", "", "", "***File load error: bad data",
                               "line two", "", Logged("opening " + A), "second", "", "Input #0",
                               "Stream #0:0", "", "***Can do convert."}));
    Form1->FFLogger->Log(nullptr, llInfo, "later");
    EXPECT_EQ(MemoLines().back(), Logged("later"));

    // The start opens every task again, after settling its name.
    const std::size_t Before = MemoLines().size();
    const std::string Name = Cell(1, 2);
    const std::string Ext = Name.substr(1);
    WriteFile(Output() + "/" + Name, "someone's file");
    Form1->bsSkinButton2->ButtonClick();
    const auto Lines = MemoLines();
    EXPECT_EQ(
        std::vector<std::string>(Lines.begin() + static_cast<std::ptrdiff_t>(Before), Lines.end()),
        (std::vector<std::string>{Logged("opening " + C), "second", "",
                                  "***Output renamed: " + Name + " -> a_1" + Ext, "",
                                  Logged("opening " + A), "second"}));
    Form1->FFLogger->Log(nullptr, llInfo, "later");
    EXPECT_EQ(MemoLines().back(), Logged("later"));
}

TEST_F(JobFlow, UnknownDurationShowsNotAvailable) {
    StartWindow();
    Jobs.NextProbe.Duration = 0;
    AddFiles({MakeInput("a.mp4")});
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), "N/A");
}

TEST_F(JobFlow, SeveralFilesAreTakenLastToFirstAndTheLastRowIsSelected) {
    StartWindow();
    const std::string A = MakeInput("a.mp4"), B = MakeInput("b.mp4"), C = MakeInput("c.mp4");
    AddFiles({A, B, C});
    EXPECT_TRUE(DialogMultiple);
    std::vector<std::string> Added;
    for (const std::string& Call : Jobs.Calls)
        if (Call.rfind("AddTask(", 0) == 0)
            Added.push_back(Call);
    EXPECT_EQ(Added, (std::vector<std::string>{"AddTask(" + C + ")", "AddTask(" + B + ")",
                                               "AddTask(" + A + ")"}));
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Form1->lvFiles->Items()->Item(0)->Caption(), C);
    EXPECT_EQ(Form1->lvFiles->Items()->Item(2)->Caption(), A);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 2);
}

TEST_F(JobFlow, TheSameInputTwiceGetsTwoOutputNamesAndNothingUnderAFinalName) {
    StartWindow();
    const std::string A = MakeInput("a.mp4");
    AddFiles({A});
    AddFiles({A});
    ASSERT_EQ(Rows(), 2);
    const std::string First = Cell(0, 2), Second = Cell(1, 2);
    const std::string Ext = First.substr(1);
    EXPECT_EQ(Second, "a_1" + Ext);
    EXPECT_EQ(Jobs.OutputNames[1], Output() + "/a_1.part" + Ext);
    EXPECT_FALSE(std::filesystem::exists(Output() + "/" + First));
}

TEST_F(JobFlow, AnExistingFileOrKeptPartialFileIsNotTakenWithoutOverwriting) {
    StartWindow();
    const std::string A = MakeInput("a.mp4");
    AddFiles({A});
    const std::string Name = Cell(0, 2);
    const std::string Ext = Name.substr(1);
    Form1->lvFiles->Items()->Clear();
    Form1->Slots.ClearRows();
    Form1->Slots.ResetAll();
    WriteFile(Output() + "/a.part" + Ext, "kept work");
    AddFiles({A});
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 2), "a_1" + Ext);
}

struct TFailureCase {
    const char* What;
    int FailingProbe;  // index of the file taken (0 = the last chosen), or -1
    int FailingTask;   // likewise, for AddTask
    int FailingOutput; // task index whose output cannot be set, or -1
    int RowsLeft;
    bool Selected;
    const char* LogLine;
};

class JobFlowFailures : public JobFlow, public testing::WithParamInterface<TFailureCase> {};

TEST_P(JobFlowFailures, AFailingFileEndsTheFlowOrIsSkippedAsItsKindSays) {
    const TFailureCase& Case = GetParam();
    StartWindow();
    const std::vector<std::string> Files = {MakeInput("a.mp4"), MakeInput("b.mp4"),
                                            MakeInput("c.mp4")};
    // Taken last to first: taken index k is Files[2 - k].
    if (Case.FailingProbe >= 0)
        Jobs.Probes[Files[2 - Case.FailingProbe]] = TJobProbe{false, "bad data", "", 0, 0};
    if (Case.FailingTask >= 0)
        Jobs.FailingInputs.insert(Files[2 - Case.FailingTask]);
    if (Case.FailingOutput >= 0)
        Jobs.FailingOutputs.insert(Case.FailingOutput);
    AddFiles(Files);
    EXPECT_EQ(Rows(), Case.RowsLeft);
    EXPECT_EQ(Form1->lvFiles->ItemIndex() >= 0, Case.Selected);
    EXPECT_TRUE(MemoHasPrefix(Case.LogLine)) << Case.LogLine;
    EXPECT_EQ(Form1->Slots.RowCount(), Case.RowsLeft);
    if (Case.FailingOutput >= 0) {
        EXPECT_EQ(Count("RemoveTask(" + std::to_string(Case.FailingOutput) + ")"), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobFlowFailures,
    testing::Values(TFailureCase{"probe", 1, -1, -1, 2, true, "***File load error: bad data"},
                    TFailureCase{"task", -1, 1, -1, 1, false, "***File open error: cannot open "},
                    TFailureCase{"output", -1, -1, 1, 1, false,
                                 "***Cannot do convert, error: no muxer"}),
    [](const testing::TestParamInfo<TFailureCase>& Info) { return Info.param.What; });

TEST_F(JobFlow, TheProfilesSettingsReachTheTaskAsMappedOptions) {
    struct TCase {
        const char* Title;
        const char* VideoCodec;
        const char* Preset;
        TOptionTargetType Target;
        TOptionNormType Norm;
    } Cases[] = {
        {"高清H264视频格式(*.mp4)", "libx264", "libx264-default", ttIgnore, ntAuto},
        {"MP4 - MPEG-4视频格式(*.mp4)", "mpeg4", "", ttIgnore, ntAuto},
        {"DVD - 视频格式(*.mpg)", "", "", ttDVD, ntPAL},
    };
    StartWindow();
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Title);
        ChooseProfile(Case.Title);
        const int Task = Jobs.Tasks;
        AddFiles({MakeInput("a.mp4")});
        ASSERT_EQ(Jobs.Outputs.count(Task), 1u);
        const TOutputOptions& Out = Jobs.Outputs[Task];
        if (*Case.VideoCodec) {
            EXPECT_EQ(Out.VideoCodec, Case.VideoCodec);
        }
        EXPECT_EQ(Out.VideoPreset, Case.Preset);
        EXPECT_EQ(Out.TargetType, Case.Target);
        EXPECT_EQ(Out.NormType, Case.Norm);
        // The row's cells show what the task was given.
        EXPECT_EQ(Cell(Rows() - 1, 10), Out.VideoCodec);
    }
}

// Working-set values no stored profile holds, put in after the add has read
// the profile and the lists: each reaches the task's options by the add's
// mapping. (The row's cells 10-20 are written again by the selection that
// follows the add, from the profile.)
TEST_F(JobFlow, TheAddMapsEachWorkingSetFieldIntoTheTasksOptions) {
    using TOut = const TOutputOptions&;
    struct TCase {
        const char* What;
        std::function<void(TProfileWorkingSet&)> Set;
        std::function<std::string(TOut)> Option;
        std::string Expected;
    } Cases[] = {
        {"libx264", [](auto& S) { S.Video_VideoCodec = "libx264"; },
         [](TOut O) { return O.VideoCodec + "|" + O.VideoPreset; }, "libx264|libx264-default"},
        {"mpeg4", [](auto& S) { S.Video_VideoCodec = "mpeg4"; },
         [](TOut O) { return O.VideoCodec + "|" + O.VideoPreset; }, "mpeg4|"},
        {"audio codec AUTO", [](auto& S) { S.Video_AudioCodec = "AUTO"; },
         [](TOut O) { return O.AudioCodec; }, ""},
        {"audio codec mp2", [](auto& S) { S.Video_AudioCodec = "mp2"; },
         [](TOut O) { return O.AudioCodec; }, "mp2"},
        {"volume 256", [](auto& S) { S.Video_AudioVolume = "256"; },
         [](TOut O) { return std::to_string(O.AudioVolume); }, "256"},
        {"volume 100", [](auto& S) { S.Video_AudioVolume = "100"; },
         [](TOut O) { return std::to_string(O.AudioVolume); }, "100"},
        {"video bit rate -1000", [](auto& S) { S.Video_VideoBitrate = -1000; },
         [](TOut O) { return std::to_string(O.VideoBitrate); }, "-1"},
        {"video bit rate -2000", [](auto& S) { S.Video_VideoBitrate = -2000; },
         [](TOut O) { return std::to_string(O.VideoBitrate); }, "-2000"},
        {"audio bit rate -1000", [](auto& S) { S.Video_AudioBitrate = -1000; },
         [](TOut O) { return std::to_string(O.AudioBitrate); }, "-1"},
        {"audio bit rate -2000", [](auto& S) { S.Video_AudioBitrate = -2000; },
         [](TOut O) { return std::to_string(O.AudioBitrate); }, "-1"},
        {"audio bit rate 128000", [](auto& S) { S.Video_AudioBitrate = 128000; },
         [](TOut O) { return std::to_string(O.AudioBitrate); }, "128000"},
        {"sample rate AUTO", [](auto& S) { S.Video_AudioSampleRate = "AUTO"; },
         [](TOut O) { return std::to_string(O.AudioSampleRate); }, "-1"},
        {"target dvd", [](auto& S) { S.Video_TargetType = "dvd"; },
         [](TOut O) { return std::to_string(O.TargetType); }, std::to_string(ttDVD)},
        {"target DVD", [](auto& S) { S.Video_TargetType = "DVD"; },
         [](TOut O) { return std::to_string(O.TargetType); }, std::to_string(ttIgnore)},
        {"norm empty", [](auto& S) { S.Video_NormType = ""; },
         [](TOut O) { return std::to_string(O.NormType); }, std::to_string(ntAuto)},
        {"norm NTSC", [](auto& S) { S.Video_NormType = "NTSC"; },
         [](TOut O) { return std::to_string(O.NormType); }, std::to_string(ntNTSC)},
    };
    StartWindow();
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        Form1->AddWorkingSetHook = Case.Set;
        const int Task = Jobs.Tasks;
        AddFiles({MakeInput("a.mp4")});
        ASSERT_EQ(Jobs.Outputs.count(Task), 1u);
        EXPECT_EQ(Case.Option(Jobs.Outputs[Task]), Case.Expected);
    }
}

TEST_F(JobFlow, AllSlotsTakenGivesTheNoticeAndProbesNothing) {
    StartWindow();
    TInputOptions In;
    TOutputOptions Out;
    for (int Slot = 0; Slot < JobSlotCount; ++Slot)
        Form1->Slots.Store(Slot, In, Out);
    Chosen = {MakeInput("a.mp4")};
    EXPECT_EQ(BoxOf([] { Form1->btnAddClick(nullptr); }),
              "提示|任务数已达上限，无法添加更多文件！");
    EXPECT_EQ(Count("ProbeFile(" + Chosen[0] + ")"), 0);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(JobFlow, AFolderWithoutMediaGivesTheNoticeAfterTryingEveryFileHiddenOnesToo) {
    StartWindow();
    const std::string Empty = Folder.Path() + "/empty";
    const std::string Odd = Folder.Path() + "/odd";
    std::filesystem::create_directories(Empty);
    std::filesystem::create_directories(Odd + "/sub");
    WriteFile(Odd + "/notmedia.bin", "none");
    WriteFile(Odd + "/.hidden", "none");
    for (const std::string& Chosen : {Empty, Odd}) {
        Jobs.NextProbe.Loaded = false;
        int Shown = 0;
        std::string Notice;
        // Two boxes in a row: the folder dialog, then the notice (which may
        // take the freed dialog's address, so the kinds are told apart).
        bool BoxDone = false;
        Application->OnIdle = [&](TObject*, bool&) {
            TCustomForm* Form = Screen->ActiveForm();
            if (!Form || Form == Application->MainForm() || !Form->Visible())
                return;
            if (auto* Dialog = dynamic_cast<TbsSelDirDlgForm*>(Form)) {
                if (Shown > 0)
                    return;
                Dialog->DirTreeView->SetPath(Chosen);
                ++Shown;
                Dialog->OkButton->ButtonClick();
            } else if (!BoxDone) {
                BoxDone = true;
                if (auto* Skinned = dynamic_cast<TbsMessageForm*>(Form))
                    Notice = Skinned->Message->Caption();
                Form->SetModalResult(mrOk);
            }
        };
        Form1->N3331Click(nullptr);
        Application->OnIdle = {};
        EXPECT_EQ(Shown, 1);
        EXPECT_EQ(Notice, "在该目录没有发现可以用的视频或音频文件！");
    }
    EXPECT_EQ(Count("ProbeFile(" + Odd + "/.hidden)"), 1);
    EXPECT_EQ(Count("ProbeFile(" + Odd + "/notmedia.bin)"), 1);
    EXPECT_EQ(Count("ProbeFile(" + Odd + "/sub)"), 0);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(JobFlow, FolderListingIsSortedFilesOnlyAndNullForNoFolder) {
    StartWindow();
    const std::string Dir = Folder.Path() + "/list";
    std::filesystem::create_directories(Dir + "/z-folder");
    for (const char* Name : {"c.avi", "a.mp4", "b.wav"})
        WriteFile(Dir + "/" + Name, "x");
    auto Names = Form1->GetFilenames(Dir, "*.*");
    ASSERT_NE(Names, nullptr);
    ASSERT_EQ(Names->Count(), 3);
    EXPECT_EQ(Names->Strings(0), Dir + "/a.mp4");
    EXPECT_EQ(Names->Strings(2), Dir + "/c.avi");
    EXPECT_EQ(Form1->GetFilenames(Dir + "/missing", "*.*"), nullptr);
}

TEST_F(JobFlow, OpenDialogFilterHasItsFortyTwoEntriesAndTheirQuirks) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    const std::string& F = DialogFilter;
    EXPECT_EQ(F.rfind("所有文件格式 (*.*)|*.*|支持的视频/音频文件格式|*.AVI;*.ASF;", 0), 0u);
    EXPECT_NE(F.find("*.SWF;*.FLAC;*.M4A;"), std::string::npos);
    EXPECT_NE(F.find("|AVI文件 (*.avi)|*.avi|"), std::string::npos);
    EXPECT_NE(F.find("|微软数字视频格式( *.dvr-ms)|*.dvr-ms|"), std::string::npos);
    EXPECT_NE(F.find("|Flac无损压缩音频格式　(*.flac)|*.flac|"), std::string::npos);
    EXPECT_NE(F.find("|MJPEG视频格式(*.mjpg;*.mjpeg)|*.mjpg;*.mjpeg|"), std::string::npos);
    const std::string Last = "AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|";
    EXPECT_EQ(F.substr(F.size() - Last.size()), Last);
    EXPECT_EQ(std::count(F.begin(), F.end(), '|'), 84);
}

// ---------------------------------------------------------------- conversion control

TEST_F(JobFlow, StartRebuildsEveryTaskFromItsRowsCellsOverItsOwnSlot) {
    StartWindow();
    AddFiles({MakeInput("a.mp4"), MakeInput("b.mp4")});
    ASSERT_EQ(Rows(), 2);
    // Row 0's own slot holds values the empty cells must keep.
    TOutputOptions& Slot0 = Form1->Slots.OO1(Form1->Slots.SlotOfRow(0));
    Slot0.AudioCodec = "aac";
    Slot0.AudioBitrate = 96000;
    Slot0.TargetType = ttVCD;
    Slot0.NormType = ntPAL;
    Slot0.VideoCodec = "mpeg2video";
    auto Set = [](int Row, int Index, const char* Text) {
        Form1->lvFiles->Items()->Item(Row)->SubItems()->SetStrings(Index, Text);
    };
    Set(0, 10, "");
    Set(0, 11, "AUTO");
    Set(0, 12, "2");
    Set(0, 13, "XVID");
    Set(0, 18, "-1000");
    Set(0, 19, "44100");
    Set(0, 21, "true");
    Set(0, 22, "");
    Set(0, 23, "");
    Set(1, 10, "libx264");
    Set(1, 13, "XVID");
    Set(1, 12, "");
    Set(1, 18, "128000");
    Set(1, 19, "AUTO");
    Set(1, 21, "True");
    Set(1, 22, "DVD");
    Set(1, 23, "PAL");
    Jobs.Calls.clear();
    Form1->bsSkinButton2->ButtonClick();
    ASSERT_EQ(Count("ClearTasks"), 1);
    const TOutputOptions& Zero = Jobs.Outputs[0];
    EXPECT_EQ(Zero.VideoCodec, "mpeg2video");
    EXPECT_EQ(Zero.AudioCodec, "aac");
    EXPECT_EQ(Zero.AudioChannels, 2);
    EXPECT_EQ(Zero.VideoTag, "XVID");
    EXPECT_EQ(Zero.AudioBitrate, 96000);
    EXPECT_EQ(Zero.AudioSampleRate, 44100);
    EXPECT_FALSE(Zero.DisableVideo);
    EXPECT_EQ(Zero.TargetType, ttVCD);
    EXPECT_EQ(Zero.NormType, ntAuto);
    EXPECT_EQ(Zero.AudioLanguage, "");
    const TOutputOptions& One = Jobs.Outputs[1];
    EXPECT_EQ(One.VideoCodec, "libx264");
    EXPECT_EQ(One.VideoPreset, "libx264-default");
    EXPECT_EQ(One.VideoTag, "");
    EXPECT_EQ(One.AudioBitrate, 128000);
    EXPECT_TRUE(One.DisableVideo);
    EXPECT_EQ(One.TargetType, ttIgnore);
    EXPECT_EQ(One.NormType, ntPAL);
    EXPECT_EQ(Jobs.OutputNames[0], PartialOutputPath(Output() + "/" + Cell(0, 2)));
    EXPECT_EQ(Form1->Slots.State(Form1->Slots.SlotOfRow(0)), "Full");
}

TEST_F(JobFlow, StartTakesTheOutputFolderAndFilesOfThatMomentAndLogsARename) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    const std::string Name = Cell(0, 2);
    const std::string Ext = Name.substr(1);
    const std::string Moved = Folder.Path() + "/moved";
    std::filesystem::create_directories(Moved);
    WriteFile(Moved + "/" + Name, "someone's file");
    Form1->FileOutPutPath = Moved;
    Form1->bsSkinButton2->ButtonClick();
    EXPECT_EQ(Cell(0, 2), "a_1" + Ext);
    EXPECT_EQ(Jobs.OutputNames[0], Moved + "/a_1.part" + Ext);
    EXPECT_TRUE(MemoHas("***Output renamed: " + Name + " -> a_1" + Ext));
    EXPECT_EQ(ReadFile(Moved + "/" + Name), "someone's file");
}

TEST_F(JobFlow, PriorityAndThreadCountAreReadWhenStarting) {
    StartWindow();
    for (int I = 0; I < 3; ++I)
        AddFiles({MakeInput("f" + std::to_string(I) + ".mp4")});
    Form5->bsSkinCheckRadioBox11->SetChecked(true);
    Form5->bsSkinComboBox2->SetItemIndex(18);
    Form1->bsSkinButton2->ButtonClick();
    EXPECT_EQ(Jobs.ThreadPriority(), tpLower);
    EXPECT_EQ(Count("Start(19)"), 1);
}

// A vanished input, or an output the queue refuses when the tasks are made
// again, stops the start before any control changes: no job may run with
// nowhere to write.
TEST_F(JobFlow, AVanishedInputOrRefusedOutputStopsTheStartBeforeAnyControlChanges) {
    StartWindow();
    const std::string A = MakeInput("a.mp4");
    AddFiles({A});
    for (const bool InputGone : {true, false}) {
        SCOPED_TRACE(InputGone ? "input gone" : "output refused");
        if (InputGone)
            Jobs.FailingInputs.insert(A);
        else
            Jobs.FailingOutputs.insert(0); // the first task made again
        EXPECT_EQ(BoxOf([] { Form1->bsSkinButton2->ButtonClick(); }), "Ostrela");
        EXPECT_EQ(Count("Start(1)") + Count("Start(19)"), 0);
        EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
        EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
        EXPECT_TRUE(Form1->bsSkinOfficeComboBox2->Enabled());
        Jobs.FailingInputs.clear();
        Jobs.FailingOutputs.clear();
    }
}

TEST_F(JobFlow, ARefusedStartLeavesNoTasksAndItsRowsCanBeRemoved) {
    StartWindow();
    const std::string A = MakeInput("a.mp4"), B = MakeInput("b.mp4"), C = MakeInput("c.mp4");
    AddFiles({A});
    AddFiles({B});
    AddFiles({C});
    Jobs.FailingInputs.insert(B);
    EXPECT_EQ(BoxOf([] { Form1->bsSkinButton2->ButtonClick(); }), "Ostrela");
    // The task made for the row before the failing one went with the rest.
    EXPECT_EQ(Jobs.Tasks, 0);

    const std::size_t Before = Jobs.Calls.size();
    for (int Row : {1, 0}) {
        Form1->lvFiles->SetItemIndex(Row);
        Form1->btnRemoveClick(nullptr);
    }
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Form1->lvFiles->Items()->Item(0)->Caption(), C);
    EXPECT_TRUE(
        std::none_of(Jobs.Calls.begin() + Before, Jobs.Calls.end(),
                     [](const std::string& Call) { return Call.rfind("RemoveTask", 0) == 0; }));

    // The next start makes the remaining row's task afresh and numbers it.
    Form1->bsSkinButton2->ButtonClick();
    EXPECT_EQ(Jobs.Tasks, 1);
    EXPECT_EQ(Cell(0, 7), "1");
    EXPECT_EQ(Count("Start(1)") + Count("Start(19)"), 1);
}

TEST_F(JobFlow, AStopFollowedByAStartConvertsEveryRowAgain) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    AddFiles({MakeInput("b.mp4")});
    for (int Run = 1; Run <= 3; ++Run) {
        SCOPED_TRACE(Run);
        Form1->bsSkinButton2->ButtonClick();
        EXPECT_EQ(Count("Start(1)") + Count("Start(19)"), Run);
        EXPECT_EQ(Jobs.Tasks, 2);
        EXPECT_EQ(Jobs.OutputNames[1], PartialOutputPath(Output() + "/b.avi"));
        Form1->btnStopClick(nullptr);
        Jobs.EndRun();
        EXPECT_TRUE(Form1->bsSkinButton2->Enabled());
    }
}

// The states of the commands the flow switches, as one text per step.
std::string States() {
    auto On = [](bool Value) { return Value ? "1" : "0"; };
    std::string S;
    for (TControl* C : std::initializer_list<TControl*>{
             Form1->bsSkinButton2, Form1->bsSkinButton10, Form1->bsSkinButton11,
             Form1->bsSkinButton12, Form1->bsSkinMenuSpeedButton1, Form1->bsSkinButton7,
             Form1->bsSkinButton21, Form1->bsSkinButton8, Form1->bsSkinOfficeComboBox2,
             Form1->bsSkinComboBox1, Form1->bsSkinButton5, Form1->bsSkinButton3})
        S += On(C->Enabled());
    S += " ";
    for (TMenuItem* M : {Form1->N12, Form1->N13, Form1->N16, Form1->N17, Form1->N2, Form1->N3331,
                         Form1->N9, Form1->N10, Form1->N7})
        S += On(M->Enabled());
    S += " ";
    S += On(Form1->bsSkinButton11->Visible());
    S += On(Form1->bsSkinButton12->Visible());
    return S;
}

TEST_F(JobFlow, ControlStatesFollowStartPauseResumeStopAndTheEndOfTheWork) {
    for (bool ThreadMode : {true, false}) {
        SCOPED_TRACE(ThreadMode);
        StartWindow();
        Form1->chkThreadMode->SetChecked(ThreadMode);
        Form5->bsSkinCheckRadioBox5->SetChecked(true); // nothing after the work
        AddFiles({MakeInput("a.mp4")});
        //                        start stop pause resume add del ren clr cat list browse move
        EXPECT_EQ(States(), "100011111111 100011111 11");
        Form1->bsSkinButton2->ButtonClick();
        const std::string T = ThreadMode ? "1" : "0";
        EXPECT_EQ(States(), "0" + T + T + "000000000 0" + T + T + "000000 11");
        if (ThreadMode) {
            Form1->bsSkinButton11->ButtonClick();
            EXPECT_EQ(States(), "010100000000 010100000 01");
            Form1->bsSkinButton12->ButtonClick();
            EXPECT_EQ(States(), "011000000000 011000000 10");
        }
        Form1->btnStopClick(nullptr);
        const std::string Shown = ThreadMode ? "10" : "11";
        EXPECT_EQ(States(), "10" + T + "000001110 00" + T + "000000 " + Shown);
        Jobs.EndRun();
        EXPECT_EQ(States(), "100000011111 000000011 " + Shown);
        EXPECT_TRUE(Actions.Calls.empty());
        Stop();
        DestroyProgramFormsForRestart();
        // The next window starts with an empty queue of its own.
        Jobs.ClearTasks();
        Jobs.Calls.clear();
    }
}

TEST_F(JobFlow, AStartWhileAStopWaitsIsRefusedAndTheStopGoesOn) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    Form1->bsSkinButton2->ButtonClick();
    std::string Refusal;
    Jobs.StopSlice = [&](int) { Refusal = BoxOf([] { Form1->bsSkinButton2->ButtonClick(); }); };
    Form1->bsSkinButton10->ButtonClick();
    EXPECT_EQ(Refusal, "Ostrela");
    EXPECT_EQ(Count("Start(1)") + Count("Start(19)"), 1);
    // The queue refused the second clear: the stopping run kept its tasks.
    EXPECT_EQ(Count("ClearTasks"), 2);
    EXPECT_EQ(Count("AddTask(" + Inputs() + "/a.mp4)"), 2);
    EXPECT_FALSE(Form1->FStopping);
}

TEST_F(JobFlow, ACloseDuringTheStopCommandsWaitFollowsOnceTheStopReturned) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    Form1->bsSkinButton2->ButtonClick();
    bool ClosedDuringStop = true;
    Jobs.StopSlice = [&](int) {
        SendMessage(Form1->Handle(), WM_CLOSE, 0, 0);
        ClosedDuringStop = Application->Terminated();
    };
    Form1->bsSkinButton10->ButtonClick();
    EXPECT_FALSE(ClosedDuringStop);
    EXPECT_EQ(Jobs.MaxStopDepth(), 1);
    Jobs.StopSlice = nullptr;
    Jobs.EndRun();
    Pump();
    EXPECT_TRUE(Application->Terminated());
}

// ---------------------------------------------------------------- progress and termination

TEST_F(JobFlow, ProgressShowsAClampedPercentageTimeAndSize) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    struct TCase {
        std::int64_t Current, Total;
        int FPS;
        const char* Percent;
        const char* Fps;
    };
    const TCase Cases[] = {
        {90'000'000, 0, 0, "N/A", ""},
        {90'000'000, 360'000'000, 25, "25%", "25"},
        {359'999'999, 360'000'000, 0, "99%", "25"},
        {400'000'000, 360'000'000, 0, "100%", "25"},
        {-5'000'000, 360'000'000, 0, "0%", "25"},
    };
    for (const TCase& Case : Cases) {
        TProgressInfo Info;
        Info.TaskIndex = 0;
        Info.CurrentDuration = Case.Current;
        Info.TotalDuration = Case.Total;
        Info.FPS = Case.FPS;
        Info.CurrentSize = 1'572'864;
        Jobs.OnProgress(nullptr, &Info);
        EXPECT_EQ(Cell(0, 3), Case.Percent) << Case.Current;
        EXPECT_EQ(Cell(0, 4), Case.Fps);
        EXPECT_EQ(Cell(0, 6), "1.5MB");
    }
    EXPECT_EQ(Cell(0, 5), "00:00:00");
    TProgressInfo Beyond;
    Beyond.TaskIndex = 5;
    Jobs.OnProgress(nullptr, &Beyond);
    EXPECT_EQ(Rows(), 1);
}

TEST_F(JobFlow, TerminationMovesFinishedWorkMarksFailuresAndKeepsStoppedWork) {
    StartWindow();
    AddFiles({MakeInput("a.mp4"), MakeInput("b.mp4"), MakeInput("c.mp4"), MakeInput("d.mp4")});
    ASSERT_EQ(Rows(), 4);
    Form1->bsSkinButton2->ButtonClick();
    std::vector<std::string> Finals;
    for (int Row = 0; Row < 4; ++Row) {
        Finals.push_back(Output() + "/" + Cell(Row, 2));
        WriteFile(PartialOutputPath(Finals[Row]), "work " + std::to_string(Row));
        TProgressInfo Info;
        Info.TaskIndex = Row;
        Info.CurrentDuration = 1'000'000;
        Info.TotalDuration = 2'000'000;
        Jobs.OnProgress(nullptr, &Info);
    }
    // Finished: moved, "100%".
    Jobs.OnTerminate(nullptr, TTerminateInfo{0, true, false, ""});
    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(ReadFile(Finals[0]), "work 0");
    EXPECT_FALSE(std::filesystem::exists(PartialOutputPath(Finals[0])));
    // Failed, finished or not: "失败" and a box; its file is the engine's.
    for (int Row : {1, 2}) {
        EXPECT_EQ(BoxOf([Row] {
                      Form1->JobTerminated(TTerminateInfo{Row, Row == 2, true, "codec failed"});
                  }),
                  "Ostrela");
        EXPECT_EQ(Cell(Row, 3), "失败");
        EXPECT_EQ(ReadFile(PartialOutputPath(Finals[Row])), "work " + std::to_string(Row));
        EXPECT_FALSE(std::filesystem::exists(Finals[Row]));
    }
    // Stopped: the last percentage and the partial file stay.
    Jobs.OnTerminate(nullptr, TTerminateInfo{3, false, false, ""});
    EXPECT_EQ(Cell(3, 3), "50%");
    EXPECT_EQ(ReadFile(PartialOutputPath(Finals[3])), "work 3");
    EXPECT_FALSE(std::filesystem::exists(Finals[3]));
    // A report for no row changes nothing.
    Jobs.OnTerminate(nullptr, TTerminateInfo{9, true, false, ""});
    EXPECT_EQ(Rows(), 4);
}

TEST_F(JobFlow, OverwritingKeepsAnExistingFileUntilTheJobFinishesButNeverSharesANameWithARow) {
    StartWindow();
    Form5->bsSkinCheckRadioBox3->SetChecked(true); // overwrite existing outputs
    const std::string A = MakeInput("a.mp4");
    AddFiles({A});
    const std::string Name = Cell(0, 2);
    const std::string Final = Output() + "/" + Name;
    WriteFile(Final, "old");
    // Another add of the same input, and the start, resolve names again.
    AddFiles({A});
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(1, 2), "a_1" + Name.substr(1));
    Form1->bsSkinButton2->ButtonClick();
    EXPECT_EQ(Cell(0, 2), Name);
    EXPECT_EQ(ReadFile(Final), "old");

    WriteFile(PartialOutputPath(Final), "new");
    Jobs.OnTerminate(nullptr, TTerminateInfo{0, true, false, ""});
    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(ReadFile(Final), "new");
    EXPECT_FALSE(std::filesystem::exists(PartialOutputPath(Final)));
}

TEST_F(JobFlow, ReportsWaitForAJobsErrorBoxAndTheActionComesAfterAllBoxes) {
    StartWindow();
    Form5->bsSkinCheckRadioBox1->SetChecked(true); // open the output folder
    AddFiles({MakeInput("a.mp4"), MakeInput("b.mp4")});
    Form1->bsSkinButton2->ButtonClick();
    WriteFile(PartialOutputPath(Output() + "/" + Cell(1, 2)), "work");
    Jobs.ReportTermination(TTerminateInfo{0, false, true, "first failed"});
    Jobs.ReportTermination(TTerminateInfo{1, true, false, ""});
    Jobs.ReportTermination(TTerminateInfo{-1, true, false, ""});
    std::string SecondWhileOpen;
    std::size_t ActionsWhileOpen = 99;
    {
        TScriptNextModal Box([&](TCustomForm& Shown) {
            SecondWhileOpen = Cell(1, 3);
            ActionsWhileOpen = Actions.Calls.size();
            Shown.SetModalResult(mrOk);
        });
        Jobs.DeliverPending();
    }
    EXPECT_EQ(SecondWhileOpen, "");
    EXPECT_EQ(ActionsWhileOpen, 0u);
    EXPECT_EQ(Cell(0, 3), "失败");
    EXPECT_EQ(Cell(1, 3), "100%");
    EXPECT_EQ(Actions.Calls, std::vector<std::string>{"Open " + Output()});
}

TEST_F(JobFlow, AFileThatTookTheNameMeanwhileSendsTheOutputToTheNextFreeName) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    Form1->bsSkinButton2->ButtonClick();
    const std::string Name = Cell(0, 2);
    const std::string Ext = Name.substr(1);
    WriteFile(PartialOutputPath(Output() + "/" + Name), "new work");
    WriteFile(Output() + "/" + Name, "someone's file");
    Jobs.OnTerminate(nullptr, TTerminateInfo{0, true, false, ""});
    EXPECT_EQ(Cell(0, 2), "a_1" + Ext);
    EXPECT_EQ(Cell(0, 3), "100%");
    EXPECT_EQ(ReadFile(Output() + "/a_1" + Ext), "new work");
    EXPECT_EQ(ReadFile(Output() + "/" + Name), "someone's file");
    EXPECT_EQ(Form1->Slots.OO1(Form1->Slots.SlotOfRow(0)).FileName, Output() + "/a_1" + Ext);
}

TEST_F(JobFlow, AMoveThatFailsShowsFailureAndKeepsAndLogsThePartialFile) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    Form1->bsSkinButton2->ButtonClick();
    const std::string Final = Output() + "/" + Cell(0, 2);
    WriteFile(PartialOutputPath(Final), "work");
    // A folder in the final name's place: no rename can replace it.
    std::filesystem::create_directories(Final + "/inside");
    Form5->bsSkinCheckRadioBox3->SetChecked(true); // overwrite
    EXPECT_EQ(BoxOf([] { Form1->JobTerminated(TTerminateInfo{0, true, false, ""}); }), "Ostrela");
    EXPECT_EQ(Cell(0, 3), "失败");
    EXPECT_EQ(ReadFile(PartialOutputPath(Final)), "work");
    EXPECT_TRUE(MemoHas("***Output kept as: " + PartialOutputPath(Final)));
}

struct TAfterDoneCase {
    const char* What;
    int Choice; // 0 open, 1 power off, 2 sound, 3 nothing
    bool SoundFile;
    const char* Recorded; // with "<out>" and "<sound>" for the folders
};

class JobFlowAfterDone : public JobFlow, public testing::WithParamInterface<TAfterDoneCase> {};

TEST_P(JobFlowAfterDone, TheChosenActionRunsOnlyAfterABatchThatWasNotStopped) {
    const TAfterDoneCase& Case = GetParam();
    StartWindow();
    if (Case.SoundFile) {
        std::filesystem::create_directories(ProgramFolder() + "sounds");
        WriteFile(ProgramFolder() + "sounds/ring001.wav", "RIFF");
    }
    TbsSkinCheckRadioBox* const Boxes[] = {Form5->bsSkinCheckRadioBox1, Form5->bsSkinCheckRadioBox2,
                                           Form5->bsSkinCheckRadioBox4,
                                           Form5->bsSkinCheckRadioBox5};
    Boxes[Case.Choice]->SetChecked(true);
    AddFiles({MakeInput("a.mp4")});
    for (bool Stopped : {true, false}) {
        Actions.Calls.clear();
        Form1->bsSkinButton2->ButtonClick();
        if (Stopped)
            Form1->btnStopClick(nullptr);
        Jobs.EndRun();
        std::string Expected = Stopped ? "" : Case.Recorded;
        for (const auto& [Key, Value] : {std::pair<std::string, std::string>{"<out>", Output()},
                                         std::pair<std::string, std::string>{
                                             "<sound>", ProgramFolder() + "sounds/ring001.wav"}})
            if (const auto At = Expected.find(Key); At != std::string::npos)
                Expected.replace(At, Key.size(), Value);
        EXPECT_EQ(Actions.Calls, Expected.empty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{Expected})
            << (Stopped ? "after a stop" : "after the end");
        EXPECT_TRUE(Form1->bsSkinButton8->Enabled());
        EXPECT_TRUE(Form1->bsSkinButton3->Enabled());
        EXPECT_FALSE(Form1->bsSkinButton10->Enabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, JobFlowAfterDone,
                         testing::Values(TAfterDoneCase{"OpenFolder", 0, false, "Open <out>"},
                                         TAfterDoneCase{"PowerOff", 1, false, "PowerOff"},
                                         TAfterDoneCase{"Sound", 2, true, "PlaySound <sound>"},
                                         TAfterDoneCase{"SoundFileAbsent", 2, false, ""},
                                         TAfterDoneCase{"Nothing", 3, false, ""}),
                         [](const testing::TestParamInfo<TAfterDoneCase>& Info) {
                             return Info.param.What;
                         });

// The real service with a power-off command that fails.
class JobFlowPowerOff : public JobFlow {
protected:
    void SetUp() override {
        JobFlow::SetUp();
        TProgramServices Services = ProgramServices();
        Services.Actions = &Failing;
        SetProgramServices(Services);
    }
    TExternalActions Failing{{"sh", "-c", "echo no >&2; exit 1"}};
};

TEST_F(JobFlowPowerOff, AFailedPowerOffIsLoggedAndShown) {
    StartWindow();
    std::string Caption;
    {
        TScriptNextModal Box([&](TCustomForm& Shown) {
            Caption = Shown.Caption();
            Shown.SetModalResult(mrOk);
        });
        Form1->Button25Click(nullptr);
        const auto Guard = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!MemoHas("***Power off failed: no") && std::chrono::steady_clock::now() < Guard) {
            CheckSynchronize();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    EXPECT_EQ(Caption, "Ostrela");
    EXPECT_TRUE(MemoHas("***Power off failed: no"));
}

} // namespace
