// option.ini as the program's forms read and write it at start-up and
// through the options dialog, the output folder and the skin commands, on
// real files in the fixture's program folder.
#include "app/OptionFile.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "platform/core/Paths.h"
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/dialogs/bsSelectSkinDialog.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "skin/model/bsSkinData.Component.h"
#include "tests/app/support/ProgramFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class OptionsAtStart : public TProgramFixture {
protected:
    // option.ini with valid [OutPath] and [Skin] sections and Options.
    void WriteWith(const std::string& Options, const std::string& Skin = "0") {
        std::filesystem::create_directories(Out());
        WriteOptionFile("[OutPath]\r\nOutPath=" + Out() + "\r\n\r\n[Skin]\r\nSetSkin=" + Skin +
                        "\r\n\r\n[Options]\r\n" + Options);
    }
    std::string Out() const { return Folder.Path() + "/out"; }
    std::string DefaultOut() const { return HomeFolder() + "/Ostrela视频软件/输出"; }
};

TEST_F(OptionsAtStart, FirstStartWritesEverySectionInOrderAndShowsTheDefaults) {
    Start();
    EXPECT_EQ(OptionText(), "[OutPath]\r\nOutPath=" + DefaultOut() +
                                "\r\n\r\n[Skin]\r\nSetSkin=0\r\n\r\n[Options]\r\n"
                                "Thread_Count=0\r\nAfter_Done=0\r\nThread_Priority=3\r\n"
                                "Overwrite_File=1\r\nShow_Preview=0\r\n\r\n");
    EXPECT_TRUE(DirectoryExists(DefaultOut()));
    EXPECT_EQ(Form1->FileOutPutPath, DefaultOut());
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), DefaultOut());
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 0);
    EXPECT_EQ(Form5->ThreadCountText(), "1");
    EXPECT_EQ(Form5->AfterDoneChoice(), 0);
    EXPECT_FALSE(Form5->LivePreview());
    EXPECT_EQ(Form5->PriorityChoice(), 3);
    EXPECT_FALSE(Form5->OverwriteOutput());
    EXPECT_TRUE(Form5->MultiThread());
}

struct TStoredRow {
    const char* Key;
    const char* Stored; // nullptr: the key is missing
    const char* Thread;
    int AfterDone, Priority;
    bool Overwrite, Preview;
    const char* Kept; // the value the file holds afterwards
};

// Every other key holds a valid value, so only the row's key can change.
std::string OptionsWith(const TStoredRow& Row) {
    const std::pair<const char*, const char*> Defaults[] = {{"Thread_Count", "0"},
                                                            {"After_Done", "0"},
                                                            {"Thread_Priority", "3"},
                                                            {"Overwrite_File", "1"},
                                                            {"Show_Preview", "0"}};
    std::string Text;
    for (auto [Key, Value] : Defaults) {
        if (std::string(Key) == Row.Key) {
            if (Row.Stored)
                Text += std::string(Key) + "=" + Row.Stored + "\r\n";
        } else {
            Text += std::string(Key) + "=" + Value + "\r\n";
        }
    }
    return Text;
}

class StoredOptions : public OptionsAtStart, public testing::WithParamInterface<TStoredRow> {};

TEST_P(StoredOptions, ShowInTheDialogAndAreRepairedOnlyWhereBad) {
    const TStoredRow& Row = GetParam();
    WriteWith(OptionsWith(Row));
    Start();
    EXPECT_EQ(Form5->ThreadCountText(), Row.Thread);
    EXPECT_EQ(Form5->AfterDoneChoice(), Row.AfterDone);
    EXPECT_EQ(Form5->PriorityChoice(), Row.Priority);
    EXPECT_EQ(Form5->OverwriteOutput(), Row.Overwrite);
    EXPECT_EQ(Form5->LivePreview(), Row.Preview);
    EXPECT_EQ(Stored("Options", Row.Key), std::optional<std::string>(Row.Kept));
    // A good value leaves the file as it was.
    if (Row.Stored && std::string(Row.Stored) == Row.Kept) {
        EXPECT_EQ(OptionText(), "[OutPath]\r\nOutPath=" + Out() +
                                    "\r\n\r\n[Skin]\r\nSetSkin=0\r\n\r\n[Options]\r\n" +
                                    OptionsWith(Row));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredOptions,
    testing::Values(TStoredRow{"Thread_Count", "7", "7", 0, 3, false, false, "7"},
                    TStoredRow{"Thread_Count", "1", "1", 0, 3, false, false, "1"},
                    TStoredRow{"Thread_Count", "0", "1", 0, 3, false, false, "0"},
                    TStoredRow{"Thread_Count", "99", "1", 0, 3, false, false, "0"},
                    TStoredRow{"Thread_Count", "x", "1", 0, 3, false, false, "0"},
                    TStoredRow{"Thread_Count", nullptr, "1", 0, 3, false, false, "0"},
                    TStoredRow{"After_Done", "4", "1", 0, 3, false, false, "0"},
                    TStoredRow{"After_Done", "3", "1", 3, 3, false, false, "3"},
                    TStoredRow{"After_Done", "2", "1", 2, 3, false, false, "2"},
                    TStoredRow{"Thread_Priority", "0", "1", 0, 0, false, false, "0"},
                    TStoredRow{"Thread_Priority", "x", "1", 0, 3, false, false, "3"},
                    TStoredRow{"Overwrite_File", "0", "1", 0, 3, true, false, "0"},
                    TStoredRow{"Overwrite_File", "1", "1", 0, 3, false, false, "1"},
                    TStoredRow{"Overwrite_File", "x", "1", 0, 3, false, false, "1"},
                    TStoredRow{"Show_Preview", "1", "1", 0, 3, false, true, "1"},
                    TStoredRow{"Show_Preview", "0", "1", 0, 3, false, false, "0"},
                    TStoredRow{"Show_Preview", "x", "1", 0, 3, false, false, "0"}));

TEST_F(OptionsAtStart, StoredLivePreviewReachesTheQueueWithoutTheDialogShowing) {
    WriteWith("Show_Preview=1\r\n");
    Start();
    EXPECT_TRUE(Queue.Preview);
    EXPECT_NE(std::find(Queue.Calls.begin(), Queue.Calls.end(), "SetPreview(1)"),
              Queue.Calls.end());
    EXPECT_FALSE(Form5->Visible());
}

TEST_F(OptionsAtStart, OkWritesTheControlsAndCancelWritesNothingButTheControlsStayInForce) {
    Start();
    Form5->bsSkinComboBox2->SetItemIndex(3);
    Form5->bsSkinCheckRadioBox5->SetChecked(true);
    Form5->bsSkinCheckRadioBox8->SetChecked(true);
    Form5->bsSkinCheckRadioBox10->SetChecked(true);
    Form5->bsSkinCheckRadioBox3->SetChecked(true);
    Form5->bsSkinButton6->ButtonClick();
    EXPECT_EQ(Stored("Options", "Thread_Count"), "4");
    EXPECT_EQ(Stored("Options", "After_Done"), "3");
    EXPECT_EQ(Stored("Options", "Show_Preview"), "1");
    EXPECT_EQ(Stored("Options", "Thread_Priority"), "1");
    EXPECT_EQ(Stored("Options", "Overwrite_File"), "0");
    EXPECT_TRUE(Queue.Preview);

    const std::string Before = OptionText();
    {
        TScriptNextModal Script([](TCustomForm& Shown) {
            ASSERT_EQ(&Shown, Form5);
            Form5->bsSkinCheckRadioBox9->SetChecked(true);
            Form5->bsSkinButton1->ButtonClick();
        });
        Form1->bsSkinButton19Click(nullptr);
    }
    EXPECT_EQ(OptionText(), Before);
    EXPECT_EQ(Form5->PriorityChoice(), 0);
    EXPECT_FALSE(Form5->Visible());
}

TEST_F(OptionsAtStart, OkWritesTheFiveKeysInItsOrder) {
    // With the file gone the keys are added in the order they are written.
    Start();
    std::filesystem::remove(OptionPath());
    Form5->bsSkinButton6->ButtonClick();
    EXPECT_EQ(OptionText(), "[Options]\r\nThread_Count=1\r\nAfter_Done=0\r\nShow_Preview=0\r\n"
                            "Thread_Priority=3\r\nOverwrite_File=1\r\n\r\n");
}

TEST_F(OptionsAtStart, EveryOptionsCommandShowsTheSameDialog) {
    Start();
    for (void (TForm1::*Command)(TObject*) :
         {&TForm1::bsSkinButton19Click, &TForm1::N24Click, &TForm1::bsSkinButton1Click,
          &TForm1::Button26Click, &TForm1::bsSkinSpeedButton1Click}) {
        TScriptNextModal Script([](TCustomForm& Shown) {
            EXPECT_EQ(&Shown, Form5);
            Form5->bsSkinButton1->ButtonClick();
        });
        (Form1->*Command)(nullptr);
    }
}

TEST_F(OptionsAtStart, StoredOutputFolderIsRepairedCreatedOrUsedAsStored) {
    // "Error" stands for missing: the default is created and written.
    WriteOptionFile("[OutPath]\r\nOutPath=Error\r\n\r\n[Skin]\r\nSetSkin=0\r\n");
    Start();
    EXPECT_EQ(Form1->FileOutPutPath, DefaultOut());
    EXPECT_EQ(Stored("OutPath", "OutPath"), DefaultOut());
    EXPECT_TRUE(DirectoryExists(DefaultOut()));
}

TEST_F(OptionsAtStart, StoredOutputFolderThatIsMissingIsCreatedAndNothingWritten) {
    const std::string Wanted = Folder.Path() + "/新/输出";
    WriteOptionFile("[OutPath]\r\nOutPath=" + Wanted + "\r\n\r\n[Skin]\r\nSetSkin=0\r\n\r\n" +
                    "[Options]\r\nThread_Count=0\r\nAfter_Done=0\r\nThread_Priority=3\r\n" +
                    "Overwrite_File=1\r\nShow_Preview=0\r\n\r\n");
    const std::string Before = OptionText();
    Start();
    EXPECT_TRUE(DirectoryExists(Wanted));
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), Wanted);
    EXPECT_EQ(OptionText(), Before);
}

TEST_F(OptionsAtStart, StoredOutputFolderThatCannotBeMadeGivesWayToTheDefaultAndIsLogged) {
    std::ofstream(Folder.File("plain")) << "x";
    const std::string Wanted = Folder.File("plain") + "/out";
    WriteOptionFile("[OutPath]\r\nOutPath=" + Wanted + "\r\n");
    Start();
    EXPECT_EQ(Form1->FileOutPutPath, DefaultOut());
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), DefaultOut());
    EXPECT_EQ(Stored("OutPath", "OutPath"), DefaultOut());
    EXPECT_NE(Form1->mmoLog->Text().find(Wanted), std::string::npos) << Form1->mmoLog->Text();
}

struct TSkinRow {
    const char* Stored;
    int Index;
    const char* Kept;
};

class StoredSkin : public OptionsAtStart, public testing::WithParamInterface<TSkinRow> {};

TEST_P(StoredSkin, ChoosesTheSkinOrKeepsTheFormsOwn) {
    WriteWith("", GetParam().Stored);
    Start();
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), GetParam().Index);
    EXPECT_FALSE(Form1->bsSkinData1->Empty);
    EXPECT_EQ(Stored("Skin", "SetSkin"), GetParam().Kept);
    // Every step after the skin's ran.
    EXPECT_GT(Form1->bsSkinOfficeComboBox1->Items()->Count(), 0);
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");
}

INSTANTIATE_TEST_SUITE_P(Table, StoredSkin,
                         testing::Values(TSkinRow{"10", 10, "10"}, TSkinRow{"11", 0, "0"},
                                         TSkinRow{"99", 0, "0"}, TSkinRow{"abc", 0, "0"},
                                         TSkinRow{"Error", 0, "0"}, TSkinRow{"3", 3, "3"}));

TEST_F(OptionsAtStart, UnwritableOptionFileStartsCompleteWithOneErrorShown) {
    std::filesystem::create_directories(OptionPath());
    int Shown = 0;
    Application->OnIdle = [&](TObject*, bool&) {
        TCustomForm* Form = Screen->ActiveForm();
        if (Form && Form != Application->MainForm() && Form->Visible()) {
            ++Shown;
            Form->SetModalResult(mrOk);
        }
    };
    Start();
    Application->OnIdle = {};
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), DefaultOut());
    EXPECT_GT(Form1->bsSkinOfficeComboBox1->Items()->Count(), 0);
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");
    EXPECT_EQ(Form1->cboScreens->Items()->Count(), 16);
    EXPECT_EQ(Form5->ThreadCountText(), "1");
    EXPECT_EQ(Form5->PriorityChoice(), 3);
}

TEST_F(OptionsAtStart, ChineseOutputFolderComesBackByteForByte) {
    const std::string Chinese = Folder.Path() + "/视频 输出/二〇二六";
    std::filesystem::create_directories(Chinese);
    Start();
    Form1->FileOutPutPath = Chinese;
    Form1->Button16Click(nullptr);
    Stop();
    DestroyProgramFormsForRestart();
    Start();
    EXPECT_EQ(Form1->FileOutPutPath, Chinese);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), Chinese);
}

TEST_F(OptionsAtStart, BrowseTakesTheConfirmedFolderAndWritesIt) {
    Start();
    const std::string Chosen = Folder.Path() + "/选中";
    std::filesystem::create_directories(Chosen);
    {
        TScriptNextModal Script([&](TCustomForm& Shown) {
            auto* Dialog = dynamic_cast<TbsSelDirDlgForm*>(&Shown);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->Caption(), "选择输出目录");
            Dialog->DirTreeView->SetPath(Chosen);
            Dialog->OkButton->ButtonClick();
        });
        Form1->bsSkinButton5->ButtonClick();
    }
    EXPECT_EQ(Form1->FileOutPutPath, Chosen);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), Chosen);
    EXPECT_EQ(Stored("OutPath", "OutPath"), Chosen);
}

TEST_F(OptionsAtStart, BrowseThatIsCancelledChangesNothingWhateverTheDialogHeld) {
    Start();
    // The shared dialog last confirmed another folder (the snapshot folder).
    const std::string Snapshots = Folder.Path() + "/快照";
    std::filesystem::create_directories(Snapshots);
    Form1->bsSkinSelectDirectoryDialog2->Directory = Snapshots;
    const std::string Before = OptionText();
    const std::string Folder1 = Form1->FileOutPutPath;
    {
        TScriptNextModal Script([](TCustomForm& Shown) {
            auto* Dialog = dynamic_cast<TbsSelDirDlgForm*>(&Shown);
            ASSERT_NE(Dialog, nullptr);
            Dialog->CancelButton->ButtonClick();
        });
        Form1->bsSkinButton5Click(nullptr);
    }
    EXPECT_EQ(Form1->FileOutPutPath, Folder1);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), Folder1);
    EXPECT_EQ(OptionText(), Before);
}

TEST_F(OptionsAtStart, OpenAsksTheDesktopForTheFolderShown) {
    Start();
    Form1->bsSkinButton6->ButtonClick();
    EXPECT_EQ(Actions.Calls, std::vector<std::string>{"Open " + DefaultOut()});
}

TEST_F(OptionsAtStart, SkinCommandAppliesTheChosenSkinAndWritesIt) {
    Start();
    {
        TScriptNextModal Script([](TCustomForm& Shown) {
            auto* Dialog = dynamic_cast<TbsSelectSkinDlgForm*>(&Shown);
            ASSERT_NE(Dialog, nullptr);
            Dialog->SkinsListBox->SetItemIndex(3);
            Dialog->SLBOnChange(nullptr);
            Dialog->OpenButton->ButtonClick();
        });
        Form1->bsSkinButton9->ButtonClick();
    }
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 3);
    EXPECT_EQ(Stored("Skin", "SetSkin"), "3");
}

TEST_F(OptionsAtStart, SkinCommandWritesTheCurrentSkinEvenWhenCancelled) {
    WriteWith("", "3");
    Start();
    for (void (TForm1::*Command)(TObject*) : {&TForm1::bsSkinButton9Click, &TForm1::N23Click}) {
        TOptionFile(ProgramFolder()).Write("Skin", "SetSkin", "7");
        TScriptNextModal Script([](TCustomForm& Shown) {
            auto* Dialog = dynamic_cast<TbsSelectSkinDlgForm*>(&Shown);
            ASSERT_NE(Dialog, nullptr);
            Dialog->CancelButton->ButtonClick();
        });
        (Form1->*Command)(nullptr);
        EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 3);
        EXPECT_EQ(Stored("Skin", "SetSkin"), "3");
    }
}

} // namespace
