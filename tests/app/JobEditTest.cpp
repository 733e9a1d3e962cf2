// Editing the job table (remove, clear, rename, moves, selection) against
// the recording stand-ins.
#include "app/JobOutputs.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "catalogue/ProfileCatalogue.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "platform/forms/Menus.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.CheckRadio.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "tests/app/support/JobFlowFixture.h"

#include <gtest/gtest.h>

namespace {

class JobEdit : public JobFlow {
protected:
    // Three rows a, b, c (tasks 0, 1, 2), each added on its own.
    void AddThree() {
        for (const char* Name : {"a.mp4", "b.mp4", "c.mp4"})
            AddFiles({MakeInput(Name)});
    }
    static std::string Caption(int Row) { return Form1->lvFiles->Items()->Item(Row)->Caption(); }
    static std::string OwnSlotState(int Row) {
        return Form1->Slots.State(Form1->Slots.SlotOfRow(Row));
    }
    std::string LastPlayerCall() const { return Player.Calls.empty() ? "" : Player.Calls.back(); }
    // The rename box loses the focus to the table, which accepts it.
    static void LeaveRenameBox() {
        ASSERT_TRUE(Form1->edt->Focused());
        Form1->lvFiles->SetFocus();
    }
    // Chooses the first category and profile whose title ends with Ending.
    static bool ChooseProfileEndingWith(const std::string& Ending) {
        auto* Categories = Form1->bsSkinOfficeComboBox2;
        auto* Profiles = Form1->bsSkinOfficeComboBox1;
        for (int C = 0; C < Categories->Items()->Count(); ++C) {
            Categories->SetItemIndex(C);
            for (int P = 0; P < Profiles->Items()->Count(); ++P) {
                const std::string Title = Profiles->Items()->Items(P)->Title();
                if (Title.size() >= Ending.size() &&
                    Title.compare(Title.size() - Ending.size(), Ending.size(), Ending) == 0) {
                    Profiles->SetItemIndex(P);
                    return true;
                }
            }
        }
        return false;
    }
};

// ---------------------------------------------------------------- remove, clear

TEST_F(JobEdit, RemovingTheOnlyRowEmptiesTheTableStopsThePreviewAndDisablesItsCommands) {
    StartWindow();
    AddFiles({MakeInput("a.mp4")});
    const int Slot = Form1->Slots.SlotOfRow(0);
    Form1->bsSkinSlider1->SetValue(40);
    Form1->bsSkinButton7->ButtonClick();

    EXPECT_EQ(Count("RemoveTask(0)"), 1);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Form1->Slots.RowCount(), 0);
    EXPECT_EQ(Form1->Slots.State(Slot), "DELETED");
    EXPECT_TRUE(Form1->bsSkinPanel5->Visible());
    EXPECT_EQ(LastPlayerCall(), "Stop(1)");
    EXPECT_EQ(Form1->bsSkinSlider1->Value(), 0);
    for (TControl* Button :
         std::initializer_list<TControl*>{Form1->bsSkinButton7, Form1->bsSkinButton21,
                                          Form1->bsSkinButton8, Form1->bsSkinButton2})
        EXPECT_FALSE(Button->Enabled()) << Button->Name();
    for (TMenuItem* Entry : {Form1->N9, Form1->N26, Form1->N10, Form1->N12})
        EXPECT_FALSE(Entry->Enabled()) << Entry->Name();
}

TEST_F(JobEdit, RemovingRenumbersTheLaterTasksSelectsTheFirstRowAndMarksTheRowsOwnSlot) {
    StartWindow();
    AddThree();
    const int SlotOfB = Form1->Slots.SlotOfRow(1);
    Form1->lvFiles->SetItemIndex(1);
    Player.Calls.clear();
    Form1->N9->Click();

    EXPECT_EQ(Count("RemoveTask(1)"), 1);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Caption(0), Inputs() + "/a.mp4");
    EXPECT_EQ(Caption(1), Inputs() + "/c.mp4");
    EXPECT_EQ(Cell(0, 7), "1");
    EXPECT_EQ(Cell(1, 7), "2");
    EXPECT_EQ(Form1->Slots.State(SlotOfB), "DELETED");
    EXPECT_EQ(OwnSlotState(0), "Full");
    EXPECT_EQ(OwnSlotState(1), "Full");
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 0);
    EXPECT_EQ(LastPlayerCall(), "Open(" + Inputs() + "/a.mp4,1)");
}

TEST_F(JobEdit, AMovedRowRemovesItsOwnTaskAndSlot) {
    StartWindow();
    AddThree();
    // a moves down: rows b, a, c with task numbers 2, 1, 3.
    Form1->lvFiles->SetItemIndex(0);
    Form1->bsSkinButton4->ButtonClick();
    ASSERT_EQ(Caption(1), Inputs() + "/a.mp4");
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 1);
    EXPECT_EQ(Cell(1, 7), "1");
    EXPECT_EQ(Form1->Slots.IO1(Form1->Slots.SlotOfRow(1)).FileName, Inputs() + "/a.mp4");
    EXPECT_EQ(LastPlayerCall(), "Open(" + Inputs() + "/a.mp4,1)");

    const int SlotOfA = Form1->Slots.SlotOfRow(1);
    Form1->btnRemoveClick(nullptr);
    EXPECT_EQ(Count("RemoveTask(0)"), 1);
    EXPECT_EQ(Form1->Slots.State(SlotOfA), "DELETED");
    EXPECT_EQ(Caption(0), Inputs() + "/b.mp4");
    EXPECT_EQ(Cell(0, 7), "1");
    EXPECT_EQ(Cell(1, 7), "2");
}

TEST_F(JobEdit, MovesPastTheEndsChangeNothingAndKeepTheSelection) {
    StartWindow();
    AddThree();
    struct TCase {
        int Row;
        TbsSkinButton* Button;
    } Cases[] = {{0, Form1->bsSkinButton3}, {2, Form1->bsSkinButton4}};
    for (const TCase& Case : Cases) {
        Form1->lvFiles->SetItemIndex(Case.Row);
        Case.Button->ButtonClick();
        EXPECT_EQ(Form1->lvFiles->ItemIndex(), Case.Row);
        EXPECT_EQ(Caption(0), Inputs() + "/a.mp4");
        EXPECT_EQ(Caption(2), Inputs() + "/c.mp4");
    }
    // Up from the last row, through the menu.
    Form1->N7->Click();
    EXPECT_EQ(Caption(1), Inputs() + "/c.mp4");
    EXPECT_EQ(Form1->lvFiles->ItemIndex(), 1);
}

TEST_F(JobEdit, RemoveWithoutSelectionOrWhileWorkingChangesNothing) {
    StartWindow();
    AddThree();
    Form1->lvFiles->SetItemIndex(-1);
    EXPECT_EQ(BoxOf([] { Form1->btnRemoveClick(nullptr); }), "提示|请先选择您需要删除的项目！");
    EXPECT_EQ(BoxOf([] { Form1->bsSkinButton21Click(nullptr); }),
              "提示|请先选中您需要重命名的项目！");
    EXPECT_EQ(Count("RemoveTask(0)") + Count("RemoveTask(1)") + Count("RemoveTask(2)"), 0);

    Form1->lvFiles->SetItemIndex(1);
    Jobs.IsWorking = true;
    EXPECT_THROW(Form1->btnRemoveClick(nullptr), Exception);
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(OwnSlotState(1), "Full");
    EXPECT_EQ(Cell(2, 7), "3");
}

TEST_F(JobEdit, ClearReleasesEveryTaskFreesTheSlotsAndEnablesAdding) {
    StartWindow();
    AddThree();
    Form1->bsSkinButton2->ButtonClick();
    Jobs.EndRun();
    EXPECT_FALSE(Form1->bsSkinMenuSpeedButton1->Enabled());
    Form1->N10->Click();

    EXPECT_EQ(Jobs.Calls.back(), "ClearTasks");
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Form1->Slots.State(0), "kong");
    EXPECT_EQ(Form1->Slots.TakeFree(), 0);
    EXPECT_TRUE(Form1->bsSkinMenuSpeedButton1->Enabled());
    for (TMenuItem* Entry :
         {Form1->N2, Form1->N3, Form1->N21, Form1->N2221, Form1->N2222, Form1->N3331})
        EXPECT_TRUE(Entry->Enabled()) << Entry->Name();
    EXPECT_FALSE(Form1->bsSkinButton2->Enabled());
    EXPECT_FALSE(Form1->N10->Enabled());
    EXPECT_TRUE(Form1->bsSkinPanel5->Visible());
    EXPECT_EQ(LastPlayerCall(), "Stop(1)");
}

// ---------------------------------------------------------------- rename

TEST_F(JobEdit, RenameBoxLiesOverTheOutputColumnOfTheSelectedRow) {
    StartWindow();
    AddThree();
    Form1->lvFiles->SetItemIndex(1);
    Form1->N26->Click();
    TEdit* Box = Form1->edt;
    EXPECT_TRUE(Box->Visible());
    EXPECT_EQ(Box->Parent(), Form1->lvFiles);
    EXPECT_EQ(Box->Left(), Form1->lvFiles->Left() + 80 + 70 + 70 + 2);
    EXPECT_EQ(Box->Top(), Form1->lvFiles->Items()->Item(1)->Top());
    EXPECT_EQ(Box->Width(), 80);
    EXPECT_EQ(Box->Height(), 14);
    EXPECT_EQ(Box->Text(), "b");
}

struct TRenameCase {
    const char* What;
    const char* ProfileEnding; // chosen before adding, "" keeps the default
    const char* Typed;
    const char* Expected; // cell 2 afterwards; "" the row is unchanged
    bool Notice;          // the bad-name notice is shown
};

class JobRename : public JobEdit, public testing::WithParamInterface<TRenameCase> {};

TEST_P(JobRename, TheTypedNameTakesTheProfilesExtensionOrIsRefused) {
    const TRenameCase& Case = GetParam();
    StartWindow();
    if (*Case.ProfileEnding) {
        ASSERT_TRUE(ChooseProfileEndingWith(Case.ProfileEnding));
    }
    AddFiles({MakeInput("other.mp4")});
    AddFiles({MakeInput("a.mp4")});
    const std::string Before = Cell(1, 2);
    const std::string BeforePath = Form1->Slots.OO1(Form1->Slots.SlotOfRow(1)).FileName;

    Form1->lvFilesDblClick(nullptr);
    ASSERT_TRUE(Form1->edt->Visible());
    Form1->edt->SetText(Case.Typed);
    std::string Box;
    if (Case.Notice)
        Box = BoxOf([this] { LeaveRenameBox(); });
    else
        LeaveRenameBox();

    const std::string Own = Form1->Slots.OO1(Form1->Slots.SlotOfRow(1)).FileName;
    if (*Case.Expected) {
        EXPECT_EQ(Cell(1, 2), Case.Expected);
        EXPECT_EQ(Own, Output() + "/" + Case.Expected);
        EXPECT_FALSE(Form1->edt->Visible());
    } else {
        EXPECT_EQ(Cell(1, 2), Before);
        EXPECT_EQ(Own, BeforePath);
        EXPECT_TRUE(Form1->edt->Visible());
    }
    if (Case.Notice) {
        EXPECT_EQ(Box, "提示|输出文件名不能包含“/”，也不能只由“.”组成！");
    }
    // The other row is untouched.
    EXPECT_EQ(Cell(0, 2).substr(0, 6), "other.");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobRename,
    testing::Values(TRenameCase{"avi", "(*.avi)", "name", "name.avi", false},
                    TRenameCase{"flac", "(*.flac)", "name", "name.flac", false},
                    TRenameCase{"empty", "(*.avi)", "", "", false},
                    TRenameCase{"up", "(*.avi)", "../x", "", true},
                    TRenameCase{"folder", "(*.avi)", "a/b", "", true},
                    TRenameCase{"dots", "(*.avi)", "..", "", true},
                    TRenameCase{"taken", "(*.avi)", "other", "other_1.avi", false}),
    [](const testing::TestParamInfo<TRenameCase>& Info) { return Info.param.What; });

TEST_F(JobEdit, ARenameWhoseRowIsRemovedIsDroppedAndWritesNothing) {
    StartWindow();
    AddThree();
    Form1->lvFiles->SetItemIndex(2);
    Form1->bsSkinButton21->ButtonClick();
    Form1->edt->SetText("zzz");
    // The menu takes no focus: the box is still open when the row goes.
    Form1->lvFiles->SetItemIndex(2);
    Form1->N9->Click();
    EXPECT_FALSE(Form1->edt->Visible());
    Form1->edt->OnExit(Form1->edt);
    for (int Row = 0; Row < Rows(); ++Row) {
        EXPECT_EQ(Cell(Row, 2).substr(0, 2), std::string(1, "ab"[Row]) + ".");
        EXPECT_EQ(Form1->Slots.OO1(Form1->Slots.SlotOfRow(Row)).FileName.find("zzz"),
                  std::string::npos);
    }
}

TEST_F(JobEdit, ARenameOpenWhileItsRowMovesRenamesThatRowsJob) {
    StartWindow();
    AddThree();
    Form1->lvFiles->SetItemIndex(0);
    Form1->bsSkinButton21->ButtonClick();
    Form1->edt->SetText("moved");
    // The menu takes no focus: the box is still open when the row moves,
    // and is accepted when the move gives the table the focus.
    Form1->N8->Click();
    ASSERT_EQ(Caption(1), Inputs() + "/a.mp4");
    EXPECT_FALSE(Form1->edt->Visible());
    EXPECT_EQ(Cell(1, 2).substr(0, 6), "moved.");
    EXPECT_EQ(Cell(0, 2).substr(0, 2), "b.");
    EXPECT_EQ(ExtractFileName(Form1->Slots.OO1(Form1->Slots.SlotOfRow(1)).FileName), Cell(1, 2));
}

// ---------------------------------------------------------------- selection, clicks

TEST_F(JobEdit, SelectingARowRestoresItsChoicesAndPreviewsItsInput) {
    StartWindow();
    AddThree();
    TListItem* Row = Form1->lvFiles->Items()->Item(0);
    Row->SubItems()->SetStrings(8, "305");
    Row->SubItems()->SetStrings(9, "020103000104");
    Form1->bsSkinSlider1->SetValue(30);
    Player.Calls.clear();
    Form1->lvFiles->SetItemIndex(0);

    EXPECT_EQ(Form1->bsSkinOfficeComboBox2->ItemIndex(), 2);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox1->ItemIndex(), 5);
    EXPECT_EQ(Form1->bsSkinComboBox1->ItemIndex(), 2);
    EXPECT_EQ(Form1->bsSkinComboBox2->ItemIndex(), 1);
    EXPECT_EQ(Form1->bsSkinComboBox3->ItemIndex(), 3);
    EXPECT_EQ(Form1->bsSkinComboBox4->ItemIndex(), 0);
    EXPECT_EQ(Form1->bsSkinComboBox9->ItemIndex(), 1);
    EXPECT_EQ(Form1->bsSkinComboBox10->ItemIndex(), 4);
    EXPECT_EQ(Form1->bsSkinSlider1->Value(), 0);
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, Inputs() + "/a.mp4");
    EXPECT_EQ(Player.Calls, std::vector<std::string>{"Open(" + Inputs() + "/a.mp4,1)"});

    // A row whose code is no number changes nothing and opens nothing.
    Form1->lvFiles->Items()->Item(1)->SubItems()->SetStrings(8, "x");
    Player.Calls.clear();
    Form1->lvFiles->SetItemIndex(1);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox2->ItemIndex(), 2);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox1->ItemIndex(), 5);
    EXPECT_EQ(Form1->bsSkinComboBox10->ItemIndex(), 4);
    EXPECT_TRUE(Player.Calls.empty());
}

TEST_F(JobEdit, AClickLeavingNoRowStopsThePreviewAndADoubleClickBeginsARename) {
    StartWindow();
    AddThree();
    Form1->lvFiles->SetItemIndex(-1);
    Player.Calls.clear();
    Form1->lvFiles->OnClick(Form1->lvFiles);
    EXPECT_EQ(Player.Calls, std::vector<std::string>{"Stop(1)"});
    Form1->lvFiles->OnDblClick(Form1->lvFiles);
    EXPECT_FALSE(Form1->edt->Visible());

    Form1->lvFiles->SetItemIndex(0);
    Player.Calls.clear();
    Form1->lvFiles->OnClick(Form1->lvFiles);
    EXPECT_TRUE(Player.Calls.empty());
    Form1->lvFiles->OnDblClick(Form1->lvFiles);
    EXPECT_TRUE(Form1->edt->Visible());
    EXPECT_EQ(Form1->edt->Text(), "a");
}

TEST_F(JobEdit, NoRenameWhileABatchRunsAndAnOpenRenameIsSettledAtTheStart) {
    StartWindow();
    AddThree();
    // A rename left open is taken for its row's job before the start.
    Form1->lvFiles->SetItemIndex(1);
    Form1->lvFiles->OnDblClick(Form1->lvFiles);
    Form1->edt->SetText("renamed");
    Form1->bsSkinButton2->ButtonClick();
    EXPECT_FALSE(Form1->edt->Visible());
    EXPECT_EQ(Cell(1, 2), "renamed.avi");
    EXPECT_EQ(Jobs.OutputNames[1], PartialOutputPath(Output() + "/renamed.avi"));

    // During the batch, and after it until the list is cleared, a double
    // click opens no rename.
    for (bool Ended : {false, true}) {
        if (Ended)
            Jobs.EndRun();
        Form1->lvFiles->SetItemIndex(0);
        Form1->lvFiles->OnDblClick(Form1->lvFiles);
        EXPECT_FALSE(Form1->edt->Visible()) << Ended;
    }

    // A rename that cannot be taken is dropped: the batch keeps the names.
    Form1->N10->Click();
    AddThree();
    Form1->lvFiles->SetItemIndex(2);
    Form1->lvFiles->OnDblClick(Form1->lvFiles);
    Form1->edt->SetText("a/b");
    BoxOf([] { Form1->bsSkinButton2->ButtonClick(); });
    EXPECT_FALSE(Form1->edt->Visible());
    EXPECT_EQ(Form1->FRenameRow, -1);
    EXPECT_EQ(Cell(2, 2), "c.avi");
}

} // namespace
