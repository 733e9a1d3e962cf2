// The main window as the program creates it, on the headless backend with
// the recording stand-ins: its composition, creation step, glyphs, close
// step and window-position handling.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "catalogue/ProfileCatalogue.h"
#include "legacy/Unit6.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListBoxes.h"
#include "platform/forms/ListViews.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsSkinData.Component.h"
#include "tests/app/support/ProgramFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using MainWindow = TProgramFixture;

std::vector<std::string> FormNames() {
    std::vector<std::string> Names;
    for (int I = 0; I < Application->ComponentCount(); ++I)
        if (auto* Form = dynamic_cast<TCustomForm*>(Application->Components(I)))
            Names.push_back(Form->Name());
    return Names;
}

// ---------------------------------------------------------------- composition

TEST_F(MainWindow, ProgramCreatesItsFourFormsInOrderAndShowsOnlyTheMainWindow) {
    Start();
    EXPECT_EQ(FormNames(), (std::vector<std::string>{"Form1", "Form2", "Form5", "Form6"}));
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_EQ(Application->Title(), "Ostrela");
    EXPECT_EQ(Application->HelpFile(), "help.chm");
    EXPECT_TRUE(Form1->Visible());
    EXPECT_FALSE(Form2->Visible());
    EXPECT_FALSE(Form5->Visible());
    EXPECT_FALSE(Form6->Visible());
    EXPECT_EQ(Form1->Caption(), "Ostrela");
    EXPECT_EQ(Form1->ClientWidth(), 804);
    EXPECT_EQ(Form1->ClientHeight(), 541);
    EXPECT_EQ(Form2->ClientWidth(), 332);
    EXPECT_EQ(Form2->ClientHeight(), 259);
    EXPECT_EQ(Form5->ClientWidth(), 561);
    EXPECT_EQ(Form5->ClientHeight(), 537);
    // Centred on the desktop.
    RECT Work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    EXPECT_NEAR(Form1->Left() + Form1->Width() / 2, (Work.Left + Work.Right) / 2, 1);
}

TEST_F(MainWindow, TheLegacyFormWritesTheMainWindowsWorkingSetWithItsFolderAndSkin) {
    Start();
    // Its controls take the main window's skin.
    EXPECT_EQ(Form6->bsSkinForm1->SkinData(), Form1->bsSkinData1);
    // Its settings step writes the main window's working set, naming the
    // output in the folder the main window shows now.
    Form1->Video_OutPut_Folder_Edit->SetText(HomeFolder());
    Form1->ProfileWorkingSet().Video_AddFileName = "/media/视频/clip.mkv";
    Form6->bsSkinOfficeComboBox2->SetItemIndex(0);
    Form6->Button5Click(Form6);
    EXPECT_EQ(Form1->ProfileWorkingSet().Video_OutPutFileName.rfind(HomeFolder() + "/clip", 0), 0u)
        << Form1->ProfileWorkingSet().Video_OutPutFileName;
}

TEST_F(MainWindow, TheMainWindowAloneIsCompleteWithoutTheOptionsDialog) {
    // Nothing of the creation step may reach for the options dialog.
    Application->CreateForm<TForm1>();
    Started = true;
    EXPECT_EQ(Form5, nullptr);
    EXPECT_GT(Form1->bsSkinOfficeComboBox1->Items()->Count(), 0);
    EXPECT_FALSE(Form1->FileOutPutPath.empty());
}

TEST_F(MainWindow, EveryControlStandsInItsParentAtTheBoundsOfTheLayoutTable) {
    Start();
    for (const TLayoutBound& Row : MainWindowLayout()) {
        SCOPED_TRACE(Row.Name);
        auto* Control = dynamic_cast<TControl*>(FindOwnedComponent(*Form1, Row.Name));
        ASSERT_NE(Control, nullptr);
        ASSERT_NE(Control->Parent(), nullptr);
        EXPECT_EQ(Control->Parent()->Name(), Row.Parent);
        EXPECT_EQ(Control->Left(), Row.Left);
        EXPECT_EQ(Control->Top(), Row.Top);
        EXPECT_EQ(Control->Width(), Row.Width);
        EXPECT_EQ(Control->Height(), Row.Height);
    }
}

TEST_F(MainWindow, ControlsHaveTheirClassCaptionHintAndState) {
    Start();
    struct TRow {
        TControl* Control;
        bool IsRightClass;
        std::string Text; // caption, or hint for the small buttons
        bool Visible;
        bool Enabled;
    };
    TForm1& F = *Form1;
    auto Caption = [](TControl* C) { return C->Caption(); };
    const TRow Rows[] = {
        {F.bsSkinMenuSpeedButton1,
         dynamic_cast<TbsSkinMenuSpeedButton*>(F.bsSkinMenuSpeedButton1) != nullptr, "添加", true,
         true},
        {F.bsSkinButton7, true, "删除", true, false},
        {F.bsSkinButton8, true, "清空", true, false},
        {F.bsSkinButton2, true, "开始", true, false},
        {F.bsSkinButton10, true, "停止", true, false},
        {F.bsSkinButton11, true, "暂停", true, false},
        {F.bsSkinButton12, true, "继续", true, false},
        {F.bsSkinButton19, true, "选项", true, true},
        {F.bsSkinButton9, true, "皮肤", true, true},
        {F.bsSkinButton5, true, "浏览", true, true},
        {F.bsSkinButton6, true, "打开", true, true},
        {F.bsSkinButton1, true, "设置", false, true},
        {F.bsSkinPanel4, true, "预置选项", true, true},
        {F.bsSkinPanel3, true, "视频预览", true, true},
        {F.bsSkinStdLabel1, true, "输出格式：", true, true},
        {F.bsSkinStdLabel2, true, "输出目录：", true, true},
        {F.bsSkinStdLabel3, true, "软件网站：", true, true},
        {F.bsSkinLinkLabel1, true, OstrelaWebSite, true, true},
        {F.chkThreadMode, true, "Thread Mode", true, true},
        {F.chkPreview, true, "Preview", true, true},
        {F.Label2, true, "N/A", true, true},
        {F.Label3, true, "N/A", true, true},
        {F.Button19, true, "Button19", false, true},
        {F.edt, true, "", false, true},
        {F.bsSkinButton20, true, "静音", false, true},
        {F.bsSkinButton17, true, "全屏", false, true},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Control->Name());
        EXPECT_TRUE(Row.IsRightClass);
        EXPECT_EQ(Caption(Row.Control), Row.Text);
        EXPECT_EQ(Row.Control->Visible(), Row.Visible);
        EXPECT_EQ(Row.Control->Enabled(), Row.Enabled);
    }
    struct THint {
        TControl* Control;
        const char* Hint;
    };
    for (const THint& Row : {THint{F.bsSkinButton4, "下移"}, THint{F.bsSkinButton3, "上移"},
                             THint{F.bsSkinButton21, "重命名"}, THint{F.bsSkinButton13, "播放"},
                             THint{F.bsSkinButton14, "暂停"}, THint{F.bsSkinButton15, "停止"},
                             THint{F.bsSkinButton16, "静音"}, THint{F.bsSkinButton22, "快照"},
                             THint{F.bsSkinButton23, "设置"}})
        EXPECT_EQ(Row.Control->Hint(), Row.Hint) << Row.Control->Name();
    EXPECT_FALSE(F.bsSkinButton21->Enabled());
    EXPECT_TRUE(F.Video_OutPut_Folder_Edit->ReadOnly());
    EXPECT_EQ(F.bsSkinLinkLabel1->URL(), OstrelaWebSite);
    EXPECT_EQ(F.bsSkinData1->SkinList(), F.bsCompressedSkinList1);
    EXPECT_TRUE(F.chkThreadMode->Checked());
    EXPECT_TRUE(F.chkOpenPaused->Checked());
    EXPECT_FALSE(F.chkStayOnTop->Checked());
    EXPECT_EQ(F.TrackBar2->Max(), 128);
    EXPECT_EQ(F.TrackBar2->Position(), 128);
    for (TComboBox* Box : {F.cboVideo, F.cboAudio, F.cboSubtitle})
        EXPECT_FALSE(Box->Enabled());
    EXPECT_EQ(F.cboVideoDriver->Text(), "Default");
    EXPECT_EQ(F.cboAudioDriver->Text(), "Default");
    EXPECT_EQ(F.mmoLog->ScrollBars(), ssBoth);
}

TEST_F(MainWindow, HiddenPartsLieOutsideTheClientAreaOrAreHidden) {
    Start();
    TForm1& F = *Form1;
    for (TControl* C : std::initializer_list<TControl*>{F.Panel1, F.Panel3, F.Panel4, F.Panel5,
                                                        F.Button19, F.Button27, F.edt})
        EXPECT_TRUE(C->Left() >= F.ClientWidth() || !C->Visible()) << C->Name();
}

TEST_F(MainWindow, ToolBarRunsLeftToRightWithPauseOverResume) {
    Start();
    TForm1& F = *Form1;
    const std::vector<TControl*> Order{F.bsSkinMenuSpeedButton1, F.bsSkinButton7,  F.bsSkinButton8,
                                       F.bsSkinButton2,          F.bsSkinButton10, F.bsSkinButton11,
                                       F.bsSkinButton19,         F.bsSkinButton9};
    for (std::size_t I = 1; I < Order.size(); ++I)
        EXPECT_GT(Order[I]->Left(), Order[I - 1]->Left()) << Order[I]->Name();
    EXPECT_EQ(F.bsSkinButton12->BoundsRect(), F.bsSkinButton11->BoundsRect());
}

// ---------------------------------------------------------------- menus

TEST_F(MainWindow, MainMenuHasItsEntriesSeparatorsShortcutAndStates) {
    Start();
    // "-" stands for a separator; "!" marks an entry that starts disabled.
    const std::vector<std::pair<std::string, std::vector<std::string>>> Expected{
        {"文件", {"添加一个文件", "添加多个文件", "添加整个目录", "-", "退出"}},
        {"编辑", {"上移文件", "下移文件", "-", "!删除选择", "!清空文件", "-", "!重新命名"}},
        {"动作", {"!开始转换", "!停止转换", "-", "!暂停转换", "!继续继续"}},
        {"功能", {"转换设置", "软件皮肤"}},
        {"帮助", {"帮助系统", "-", "官方网站", "关于软件"}},
    };
    TMenuItem* Root = Form1->bsSkinMainMenu1->Items();
    ASSERT_EQ(Root->Count(), static_cast<int>(Expected.size()));
    for (int M = 0; M < Root->Count(); ++M) {
        TMenuItem* Menu = Root->Items(M);
        EXPECT_EQ(Menu->Caption(), Expected[M].first);
        std::vector<std::string> Entries;
        for (int E = 0; E < Menu->Count(); ++E) {
            TMenuItem* Entry = Menu->Items(E);
            Entries.push_back((Entry->Enabled() ? "" : "!") + Entry->Caption());
        }
        EXPECT_EQ(Entries, Expected[M].second) << Expected[M].first;
    }
    EXPECT_EQ(Form1->N15->ShortCut(), ShortCut(VK_F1, {}));

    auto Captions = [](TMenuItem* Parent) {
        std::vector<std::string> Texts;
        for (int I = 0; I < Parent->Count(); ++I)
            Texts.push_back(Parent->Items(I)->Caption());
        return Texts;
    };
    EXPECT_EQ(Captions(Form1->bsSkinPopupMenu1->Items()),
              (std::vector<std::string>{"添加一个文件", "添加多个文件", "添加整个目录"}));
    EXPECT_EQ(Captions(Form1->bsSkinPopupMenu2->Items()),
              (std::vector<std::string>{"打开快照目录", "设置快照目录", "-", "快照保存类型"}));
    EXPECT_EQ(Captions(Form1->N27),
              (std::vector<std::string>{"BMP文件", "JPG文件", "GIF文件", "PNG文件"}));
    for (TMenuItem* Type : {Form1->BMP1, Form1->JPG1, Form1->GIF1, Form1->PNG1}) {
        EXPECT_TRUE(Type->RadioItem());
        EXPECT_EQ(Type->GroupIndex(), Form1->BMP1->GroupIndex());
    }
    EXPECT_TRUE(Form1->BMP1->Checked());
    EXPECT_EQ(Form1->bsSkinMainMenuBar1->MainMenu(), Form1->bsSkinMainMenu1);
    EXPECT_EQ(Form1->bsSkinForm1->MainMenuBar(), Form1->bsSkinMainMenuBar1);
    EXPECT_EQ(Form1->bsSkinMenuSpeedButton1->SkinPopupMenu(),
              static_cast<TComponent*>(Form1->bsSkinPopupMenu1));
}

// ---------------------------------------------------------------- creation step

TEST_F(MainWindow, ScreenListNamesTheWindowsChildrenInTabOrder) {
    Start();
    std::vector<std::string> Items;
    for (int I = 0; I < Form1->cboScreens->Items()->Count(); ++I)
        Items.push_back(Form1->cboScreens->Items()->Strings(I));
    EXPECT_EQ(Items, (std::vector<std::string>{
                         "Panel6", "bsSkinMainMenuBar1", "bsSkinToolBar2", "Panel1", "bsSkinPanel1",
                         "bsSkinPanel2", "bsSkinPanel3", "Panel3", "bsSkinPanel5", "bsSkinPanel4",
                         "Button19", "Button27", "edt", "Panel4", "Panel5", "Panel6"}));
    EXPECT_EQ(Form1->cboScreens->ItemIndex(), 0);
}

TEST_F(MainWindow, CreationStepFreesTheSlotsFillsTheProfileAndParameterListsAndWritesNoRow) {
    Start();
    TForm1& F = *Form1;
    for (int Slot = 0; Slot < JobSlotCount; ++Slot)
        ASSERT_EQ(F.Slots.State(Slot), "kong") << Slot;
    EXPECT_EQ(F.bsSkinOfficeComboBox2->ItemIndex(), 0);
    EXPECT_EQ(F.bsSkinOfficeComboBox2->Items()->Count(), CategoryCount);
    EXPECT_EQ(F.bsSkinOfficeComboBox1->Items()->Count(), Categories()[0].ProfileCount);
    EXPECT_EQ(F.bsSkinOfficeComboBox1->ItemIndex(), 0);
    for (TbsSkinComboBox* List : {F.bsSkinComboBox1, F.bsSkinComboBox2, F.bsSkinComboBox3,
                                  F.bsSkinComboBox4, F.bsSkinComboBox9, F.bsSkinComboBox10}) {
        EXPECT_GT(List->Items()->Count(), 0) << List->Name();
        EXPECT_GE(List->ItemIndex(), 0) << List->Name();
    }
    EXPECT_EQ(F.lvFiles->Items()->Count(), 0);
    EXPECT_EQ(F.bsSkinSlider1_down_UP, "UP");
    EXPECT_TRUE(F.bsSkinPanel5->Visible());
}

TEST_F(MainWindow, JobTableHasItsTwentyFiveColumnsAndHiddenOnesCannotBeWidened) {
    Start();
    TListColumns* Columns = Form1->lvFiles->Columns();
    ASSERT_EQ(Columns->Count(), 25);
    for (int I = 0; I < 25; ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(Columns->Items(I)->Caption(), JobColumns()[I].Caption);
        EXPECT_EQ(Columns->Items(I)->Width(), JobColumns()[I].Width);
        if (JobColumns()[I].Width == 0) {
            Columns->Items(I)->SetWidth(120);
            EXPECT_LE(Columns->Items(I)->Width(), 1);
        }
    }
    EXPECT_EQ(Columns->Items(0)->Caption(), "输入文件");
    EXPECT_EQ(Columns->Items(24)->Caption(), "NormType");
    EXPECT_EQ(Form1->lvFiles->ViewStyle(), vsReport);
    EXPECT_TRUE(Form1->lvFiles->RowSelect());
    EXPECT_TRUE(Form1->lvFiles->ReadOnly());
    EXPECT_TRUE(Form1->lvFiles->GridLines());
}

// ---------------------------------------------------------------- glyphs

// A colour as the screen holds it (0xRRGGBB).
std::uint32_t ScreenColor(TColor Color) {
    const std::uint32_t C = static_cast<std::uint32_t>(ColorToRGB(Color));
    return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

bool SamePixels(TBitmap* A, TBitmap* B) {
    if (A->Width() != B->Width() || A->Height() != B->Height())
        return false;
    for (int Y = 0; Y < A->Height(); ++Y)
        for (int X = 0; X < A->Width(); ++X)
            if (A->Canvas()->Pixels(X, Y) != B->Canvas()->Pixels(X, Y))
                return false;
    return true;
}

TBitmap* GlyphOf(TControl* Button) {
    if (auto* Push = dynamic_cast<TbsSkinButton*>(Button))
        return Push->Glyph();
    return dynamic_cast<TbsSkinSpeedButton*>(Button)->Glyph();
}

TEST_F(MainWindow, ToolButtonsTakeTheGlyphOfTheirStateFromTheTable) {
    Start();
    TForm1& F = *Form1;
    struct TRow {
        TControl* Button;
        TImage* Enabled;
        TImage* Disabled;
    };
    const TRow Rows[] = {
        {F.bsSkinMenuSpeedButton1, F.Image3, F.Image2}, {F.bsSkinButton2, F.Image5, F.Image4},
        {F.bsSkinButton11, F.Image7, F.Image6},         {F.bsSkinButton12, F.Image9, F.Image8},
        {F.bsSkinButton10, F.Image11, F.Image10},       {F.bsSkinButton8, F.Image13, F.Image12},
        {F.bsSkinButton7, F.Image15, F.Image14},        {F.bsSkinButton21, F.Image16, F.Image17},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Button->Name());
        // The start-up state first: only "添加" is enabled.
        const bool Initially = Row.Button == F.bsSkinMenuSpeedButton1;
        EXPECT_TRUE(SamePixels(GlyphOf(Row.Button),
                               (Initially ? Row.Enabled : Row.Disabled)->Picture()->Bitmap()));
        for (bool Enabled : {true, false}) {
            F.SetToolButtonEnabled(Row.Button, Enabled, true);
            EXPECT_EQ(Row.Button->Enabled(), Enabled);
            TImage* Expected = Enabled ? Row.Enabled : Row.Disabled;
            EXPECT_TRUE(SamePixels(GlyphOf(Row.Button), Expected->Picture()->Bitmap()));
        }
        EXPECT_FALSE(
            SamePixels(Row.Enabled->Picture()->Bitmap(), Row.Disabled->Picture()->Bitmap()));
    }
}

TEST_F(MainWindow, EveryImageIndexTheCatalogueNamesIsInItsList) {
    Start();
    for (const TCategoryInfo& Category : Categories())
        EXPECT_LT(Category.ImageIndex, Form1->ImageList1->Count()) << Category.Caption;
    EXPECT_GE(Form1->ImageList2->Count(), 2);
}

// ---------------------------------------------------------------- close step

TEST_F(MainWindow, CloseDetachesEventsStopsAndWaitsThenDetachesTheLogger) {
    Start();
    Queue.IsWorking = true;
    Player.Calls.clear();
    Queue.Calls.clear();
    std::size_t PlayerCallsAtStop = 0;
    int MemoLinesAfterStop = 0;
    Queue.StopSlice = [&](int) {
        PlayerCallsAtStop = Player.Calls.size();
        // A worker's log line during the wait still reaches the memo.
        Form1->FFLogger->OnLog(nullptr, 9, llInfo, "stopping");
        MemoLinesAfterStop = Form1->mmoLog->Lines()->Count();
    };
    TTerminateInfo Report;
    Report.TaskIndex = 0;
    Report.Finished = true;
    Queue.ReportTermination(Report);
    Stop();
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{"SetOnPosition(none)", "SetOnState(none)",
                                                      "SetOnHook(none)"}));
    EXPECT_EQ(PlayerCallsAtStop, 3u);
    EXPECT_EQ(Queue.Calls, (std::vector<std::string>{"SetOnCustomHook(none)", "SetOnProgress(none)",
                                                     "Stop(1)", "SetOnTerminate(none)"}));
    EXPECT_EQ(MemoLinesAfterStop, 1);
    EXPECT_EQ(Form1->mmoLog->Lines()->Strings(0), "#9.5: stopping");
    EXPECT_FALSE(Form1->FFLogger->OnLog);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Actions.Calls, std::vector<std::string>{});
}

TEST_F(MainWindow, CloseWithNothingRunningStopsOnceAndCloses) {
    Start();
    Stop();
    EXPECT_EQ(std::count(Queue.Calls.begin(), Queue.Calls.end(), "Stop(1)"), 1);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindow, ACloseArrivingDuringTheClosesOwnStopIsThatSameClose) {
    Start();
    Queue.StopSlices = 3;
    Queue.StopSlice = [&](int Slice) {
        if (Slice == 0)
            SendMessage(Form1->Handle(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(Application->Terminated());
    };
    Stop();
    EXPECT_EQ(Queue.MaxStopDepth(), 1);
    EXPECT_EQ(std::count(Queue.Calls.begin(), Queue.Calls.end(), "Stop(1)"), 1);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindow, ACloseDuringAWaitingStopFollowsOnceTheStopHasReturned) {
    Start();
    bool ClosedDuringStop = true;
    Queue.StopSlice = [&](int Slice) {
        if (Slice == 0)
            SendMessage(Form1->Handle(), WM_CLOSE, 0, 0);
        ClosedDuringStop = Application->Terminated();
    };
    // The stop command's wait, as the job flow runs it.
    Form1->WaitingStop();
    EXPECT_FALSE(ClosedDuringStop);
    EXPECT_FALSE(Application->Terminated());
    Queue.StopSlice = nullptr;
    Pump();
    EXPECT_EQ(Queue.MaxStopDepth(), 1);
    EXPECT_EQ(std::count(Queue.Calls.begin(), Queue.Calls.end(), "Stop(1)"), 2);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindow, PositionChangeUpdatesThePlayersScreenAfterTheFormsOwnHandling) {
    Start();
    Player.Calls.clear();
    WINDOWPOS Pos{};
    Pos.hwnd = Form1->Handle();
    Pos.x = 40;
    Pos.y = 30;
    Pos.flags = SWP_NOSIZE | SWP_NOZORDER;
    SendMessage(Form1->Handle(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Pos));
    EXPECT_EQ(Player.Calls, std::vector<std::string>{"UpdateScreenPosition"});
}

// ---------------------------------------------------------------- pixels

TEST_F(MainWindow, CoverAndVideoSurfaceLieOverWhatIsBehindThem) {
    Start();
    // The cover picture shows where the empty table lies.
    TBitmap* Cover = Form1->Image1->Picture()->Bitmap();
    for (auto [X, Y] : {std::pair{100, 100}, std::pair{279, 200}, std::pair{20, 240}})
        EXPECT_EQ(PixelOf(Form1->bsSkinPanel5, X, Y) & 0xFFFFFF,
                  ScreenColor(Cover->Canvas()->Pixels(X, Y)))
            << X << "," << Y;
    // The video surface is filled with the button-text colour.
    EXPECT_EQ(PixelOf(Form1->Panel6, 100, 60) & 0xFFFFFF, ScreenColor(clBtnText));
}

} // namespace
