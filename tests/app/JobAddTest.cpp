// Adding files: what a folder listing offers, what the user is told about a
// file that is not taken, and that a new job leaves the other rows' choices
// alone.
#include "app/ProgramServices.h"
#include "app/Unit1.h"
#include "platform/forms/Forms.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "tests/app/support/JobFlowFixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class JobAdd : public JobFlow {
protected:
    // Adds the folder Dir through the folder command; its notices are
    // answered and kept in Notices.
    void AddFolder(const std::string& Dir) {
        Notices.clear();
        bool Picked = false;
        Application->OnIdle = [&](TObject*, bool&) {
            TCustomForm* Form = Screen->ActiveForm();
            if (!Form || Form == Application->MainForm() || !Form->Visible() ||
                Form->ModalResult() != mrNone)
                return;
            if (auto* Dialog = dynamic_cast<TbsSelDirDlgForm*>(Form)) {
                if (Picked)
                    return;
                Picked = true;
                Dialog->DirTreeView->SetPath(Dir);
                Dialog->OkButton->ButtonClick();
            } else if (auto* Skinned = dynamic_cast<TbsMessageForm*>(Form)) {
                Notices.push_back(Form->Caption() + "|" + Skinned->Message->Caption());
                Form->SetModalResult(mrOk);
            }
        };
        Form1->N3331Click(nullptr);
        Application->OnIdle = {};
        EXPECT_TRUE(Picked);
    }
    std::string MakeFifo(const std::string& Name) const {
        const std::string Path = Inputs() + "/" + Name;
        EXPECT_EQ(mkfifo(Path.c_str(), 0600), 0);
        return Path;
    }
    static std::vector<std::string> Captions() {
        std::vector<std::string> Names;
        for (int Row = 0; Row < Rows(); ++Row)
            Names.push_back(Form1->lvFiles->Items()->Item(Row)->Caption());
        return Names;
    }
};

// ---------------------------------------------------------------- folder listing

TEST_F(JobAdd, AFolderOffersOnlyRegularFilesSoAPipeIsNeverOpened) {
    StartWindow();
    const std::string A = MakeInput("a.mp4");
    const std::string Pipe = MakeFifo("pipe.mp4");
    std::filesystem::create_symlink(A, Inputs() + "/link.mp4");
    std::filesystem::create_directories(Inputs() + "/sub.mp4");

    auto Names = Form1->GetFilenames(Inputs(), "*.*");
    ASSERT_NE(Names, nullptr);
    std::vector<std::string> Listed;
    for (int I = 0; I < Names->Count(); ++I)
        Listed.push_back(Names->Strings(I));
    EXPECT_EQ(Listed, (std::vector<std::string>{A, Inputs() + "/link.mp4"}));

    // The same folder twice: the pipe is passed over both times.
    for (int Round = 1; Round <= 2; ++Round) {
        SCOPED_TRACE(Round);
        AddFolder(Inputs());
        EXPECT_EQ(Rows(), 2 * Round);
        EXPECT_EQ(Count("ProbeFile(" + Pipe + ")"), 0);
        EXPECT_EQ(Notices, std::vector<std::string>{});
    }
}

// ---------------------------------------------------------------- refused files

struct TRefusalCase {
    const char* What;
    const char* Notice; // the box's text after "提示|无法添加文件 a.mp4：\n" begins so
    const char* Logged; // a line of the log begins so
};

class JobAddRefusal : public JobAdd, public testing::WithParamInterface<TRefusalCase> {};

TEST_P(JobAddRefusal, TheOneFileAddSaysWhyInTheLogAndInTheBox) {
    const TRefusalCase& Case = GetParam();
    StartWindow();
    const std::string What = Case.What;
    std::string A = Inputs() + "/a.mp4";
    if (What == "pipe")
        A = MakeFifo("a.mp4");
    else if (What != "vanished")
        A = MakeInput("a.mp4", "");
    if (What == "empty file")
        Jobs.Probes[A] = TJobProbe{false, "Invalid data found when processing input", "", 0, 0};
    if (What == "task")
        Jobs.FailingInputs.insert(A);
    if (What == "output")
        Jobs.FailingOutputs.insert(0);

    AddFiles({A});
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0].rfind(std::string("提示|无法添加文件 a.mp4：\n") + Case.Notice, 0), 0u)
        << Notices[0];
    EXPECT_TRUE(MemoHasPrefix(Case.Logged)) << Case.Logged;
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Form1->Slots.RowCount(), 0);
    if (What == "pipe" || What == "vanished") {
        EXPECT_EQ(Count("ProbeFile(" + A + ")"), 0);
    }

    // The next add is not held back by the refusal.
    Jobs.Probes.clear();
    Jobs.FailingInputs.clear();
    Jobs.FailingOutputs.clear();
    AddFiles({MakeInput("b.mp4")});
    EXPECT_EQ(Notices, std::vector<std::string>{});
    EXPECT_EQ(Rows(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobAddRefusal,
    testing::Values(
        TRefusalCase{"empty file",
                     "无法读取的视频或音频文件：Invalid data found when processing input",
                     "***File load error: Invalid data found when processing input"},
        TRefusalCase{"pipe", "不是普通文件（管道、设备等无法转换）", "***Not a regular file: "},
        TRefusalCase{"vanished", "文件不存在", "***File not found: "},
        TRefusalCase{"task", "无法打开文件：cannot open ", "***File open error: cannot open "},
        TRefusalCase{"output", "无法建立输出文件：no muxer",
                     "***Cannot do convert, error: no muxer"}),
    [](const testing::TestParamInfo<TRefusalCase>& Info) {
        std::string Name = Info.param.What;
        std::replace(Name.begin(), Name.end(), ' ', '_');
        return Name;
    });

TEST_F(JobAdd, SeveralFilesTellEveryFileNotTakenInOneBoxAfterTheOthersAreAdded) {
    StartWindow();
    const std::string A = MakeInput("a.mp4"), Bad = MakeInput("bad.mp4");
    const std::string Pipe = MakeFifo("pipe.mp4"), C = MakeInput("c.mp4");
    Jobs.Probes[Bad] = TJobProbe{false, "bad data\nline two", "", 0, 0};
    AddFiles({A, Bad, Pipe, C});
    EXPECT_EQ(Captions(), (std::vector<std::string>{C, A}));
    EXPECT_EQ(Notices, (std::vector<std::string>{
                           "提示|以下文件未能添加：\npipe.mp4：不是普通文件（管道、设备等无法转换）"
                           "\nbad.mp4：无法读取的视频或音频文件：bad data"}));
    EXPECT_EQ(Count("ProbeFile(" + Pipe + ")"), 0);
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 1);

    // A file that ends the flow is told as well, with those skipped before it.
    Jobs.FailingInputs.insert(A);
    AddFiles({A, Bad, C});
    EXPECT_EQ(Captions(), (std::vector<std::string>{C, A, C}));
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0], "提示|以下文件未能添加：\nbad.mp4：无法读取的视频或音频文件：bad data"
                          "\na.mp4：无法打开文件：cannot open " +
                              A);
}

TEST_F(JobAdd, ALongListOfRefusedFilesIsCutShortInTheBoxButLoggedWhole) {
    StartWindow();
    std::vector<std::string> Files;
    for (int I = 0; I < 12; ++I)
        Files.push_back(MakeInput("f" + std::to_string(I) + ".bin"));
    Jobs.NextProbe = TJobProbe{false, "unknown format", "", 0, 0};
    AddFiles(Files);
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_NE(Notices[0].find("\nf2.bin："), std::string::npos) << Notices[0];
    EXPECT_EQ(Notices[0].find("\nf1.bin："), std::string::npos) << Notices[0];
    EXPECT_NE(Notices[0].find("\n……另有 2 个文件"), std::string::npos) << Notices[0];
    int Logged = 0;
    for (const std::string& Line : MemoLines())
        Logged += Line == "***File load error: unknown format";
    EXPECT_EQ(Logged, 12);
}

TEST_F(JobAdd, AFolderWithSomeUnusableFilesAddsTheRestAndNamesTheOthers) {
    StartWindow();
    const std::string A = MakeInput("a.mp4"), Text = MakeInput("notes.txt");
    Jobs.Probes[Text] = TJobProbe{false, "Invalid data found when processing input", "", 0, 0};
    AddFolder(Inputs());
    EXPECT_EQ(Captions(), std::vector<std::string>{A});
    EXPECT_EQ(Notices, std::vector<std::string>{"提示|无法添加文件 notes.txt：\n"
                                                "无法读取的视频或音频文件：Invalid data found "
                                                "when processing input"});

    // Nothing usable at all: the folder's own notice, logged too.
    const std::string Empty = Folder.Path() + "/empty";
    std::filesystem::create_directories(Empty);
    AddFolder(Empty);
    EXPECT_EQ(Notices, std::vector<std::string>{"提示|在该目录没有发现可以用的视频或音频文件！"});
    EXPECT_TRUE(MemoHas("在该目录没有发现可以用的视频或音频文件！ " + Empty));
    EXPECT_EQ(Rows(), 1);
}

// The window's own task queue, whose prober reads the file.
class JobAddProgram : public JobAdd {
protected:
    void SetUp() override {
        JobAdd::SetUp();
        TProgramServices Services = ProgramServices();
        Services.Queue = nullptr;
        SetProgramServices(Services);
    }
};

TEST_F(JobAddProgram, AnEmptyFileChosenAloneIsRefusedWithTheProbersReason) {
    StartWindow();
    const std::string Empty = MakeInput("empty.mp4", "");
    AddFiles({Empty});
    EXPECT_EQ(Rows(), 0);
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0].rfind("提示|无法添加文件 empty.mp4：\n无法读取的视频或音频文件：", 0), 0u)
        << Notices[0];
    EXPECT_TRUE(MemoHasPrefix("***File load error: ")) << Form1->mmoLog->Text();
}

// ---------------------------------------------------------------- other rows

TEST_F(JobAdd, AddingLeavesEveryOtherRowsCellsAndConversionAsTheyWere) {
    StartWindow();
    ChooseProfile("高清H264视频格式(*.mp4)"); // its own defaults: 1280*720 at 25
    auto Choose = [](TbsSkinComboBox* List, const std::string& Text) {
        const int Index = List->Items()->IndexOf(Text);
        ASSERT_GE(Index, 0) << Text;
        List->SetItemIndex(Index);
    };
    Choose(Form1->bsSkinComboBox1, "1600*1200");
    Choose(Form1->bsSkinComboBox9, "30.00");

    const std::string A = MakeInput("a.mp4"), B = MakeInput("b.mp4"), C = MakeInput("c.mp4");
    AddFiles({A});
    ASSERT_EQ(Rows(), 1);
    std::vector<std::string> RowA;
    for (int Cell = 0; Cell < Form1->lvFiles->Items()->Item(0)->SubItems()->Count(); ++Cell)
        RowA.push_back(JobFlow::Cell(0, Cell));
    EXPECT_EQ(Cell(0, 15), "1600*1200");
    EXPECT_EQ(Cell(0, 17), "30.00");

    // A selected while B is added, then B selected while C is added.
    for (const std::string& Next : {B, C}) {
        ASSERT_GE(Form1->lvFiles->ItemIndex(), 0);
        AddFiles({Next});
    }
    ASSERT_EQ(Rows(), 3);
    for (int Row = 0; Row < 3; ++Row)
        for (int Cell = 10; Cell < static_cast<int>(RowA.size()); ++Cell)
            EXPECT_EQ(JobFlow::Cell(Row, Cell), RowA[Cell]) << "row " << Row << " cell " << Cell;

    // What the rows show is what their tasks are made with at the start.
    Form1->bsSkinButton2->ButtonClick();
    for (int Task = 0; Task < 3; ++Task) {
        EXPECT_EQ(Jobs.Outputs[Task].FrameSize, "1600*1200") << Task;
        EXPECT_EQ(Jobs.Outputs[Task].FrameRate, "30.00") << Task;
    }
}

} // namespace
