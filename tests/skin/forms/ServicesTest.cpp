// The skinning switch, the timer steps, the glow layer and the other frame
// services, and a caption press on the headless screen.
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/model/bsUtils.Layers.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using testskin::TTestSkin;
using SkinFormServices = SkinFormFixture;

class TCountingChild : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& Message) override {
        Checks += Message.Msg == WM_CHECKPARENTBG;
        TCustomControl::Dispatch(Message);
    }
    int Checks = 0;
};

TEST_F(SkinFormServices, CheckParentBackgroundReachesEveryWindowedChildOnce) {
    TForm* F = MakeForm(300, 200);
    auto* A = new TCountingChild(F);
    A->SetParent(F);
    auto* B = new TCountingChild(F);
    B->SetParent(F);
    auto* Inner = new TCountingChild(F);
    Inner->SetParent(A);
    Component(F)->SendCheckParentBG();
    EXPECT_EQ(A->Checks, 1);
    EXPECT_EQ(B->Checks, 1);
    EXPECT_EQ(Inner->Checks, 0) << "only direct children";
}

TEST_F(SkinFormServices, ABorderlessFormDrawsNoObject) {
    TForm* F = MakeForm(300, 200, bsNone, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    int Draws = 0;
    C->OnPaintEvent = [&](const std::string&, TCanvas*, TRect) { ++Draws; };
    TbsUserObject User(C, nullptr);
    C->DrawSkinObject(&User);
    EXPECT_EQ(Draws, 0);
    F->SetBorderStyle(bsSingle);
    C->DrawSkinObject(&User);
    EXPECT_EQ(Draws, 1);
}

TEST_F(SkinFormServices, CaptionAnimationAdvancesEveryIntervalOfTicks) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    auto* Caption = dynamic_cast<TbsSkinCaptionObject*>(C->Object(C->GetIndex("caption")));
    ASSERT_NE(Caption, nullptr);
    Caption->AnimateSkinRect = TRect{0, 0, 160, 20};
    Caption->FrameCount = 4;
    Caption->AnimateInterval = 100;
    Caption->Active = true;
    Caption->CurrentFrame = 2;
    Caption->FIncTime = 25;
    for (int Tick = 1; Tick <= 3; ++Tick) {
        C->AnimateTimerStep(nullptr);
        EXPECT_EQ(Caption->FIncTime, 25 + 25 * Tick);
        EXPECT_EQ(Caption->CurrentFrame, 2);
    }
    C->AnimateTimerStep(nullptr);
    EXPECT_EQ(Caption->CurrentFrame, 3);
    EXPECT_EQ(Caption->FIncTime, 25);
}

TEST_F(SkinFormServices, RibbonKeepsTheFrameNative) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    C->SetUseRibbon(true);
    EXPECT_FALSE(C->SkinnableForm());
    F->Perform(WM_CHANGEFORMSKINNABLE, WPARAM(Skin), 1000);
    C->SetSkinnableForm(true);
    EXPECT_FALSE(C->SkinnableForm());
}

TEST_F(SkinFormServices, SwitchingAMaximizedFormKeepsItMaximized) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    C->SetWindowState(wsMaximized);
    C->SetSkinnableForm(false);
    EXPECT_EQ(F->WindowState(), wsMaximized);
    EXPECT_TRUE(F->Visible());
    C->SetSkinnableForm(true);
    EXPECT_EQ(C->WindowState(), wsMaximized);
    EXPECT_EQ(F->BoundsRect(), (TRect{0, 0, 1920, 1040}));
    EXPECT_TRUE(F->Visible());
}

TEST_F(SkinFormServices, GlowNeedsACompositor) {
    for (bool Compositor : {true, false}) {
        Headless.SetHasCompositor(Compositor);
        TTestSkin Skin = FrameSkin();
        Skin.AddObject("button", "glowing",
                       {"skinrect=0,20,16,32", "skinrectinapicture=1", "activepictureindex=0",
                        "glowlayerpictureindex=0", "glowlayermaskpictureindex=0",
                        "glowlayeroffsetx=3", "glowlayeroffsety=2"});
        TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
        TbsSkinForm* C = Component(F);
        TbsActiveSkinObject* O = C->Object(C->GetIndex("glowing"));
        O->MouseEnter();
        EXPECT_EQ(C->FLayerManager->IsVisible(), Compositor);
        if (Compositor) {
            TRect R;
            GetWindowRect(C->FLayerManager->LayerWindow()->Handle(), &R);
            EXPECT_EQ(R.Left, F->Left() + O->ObjectRect.Left - 3);
            EXPECT_EQ(R.Top, F->Top() + O->ObjectRect.Top - 2);
        }
        O->MouseLeave();
        EXPECT_FALSE(C->FLayerManager->IsVisible());
        delete F;
    }
}

TEST_F(SkinFormServices, LeavingTheFormDropsTheHotObject) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    C->PreviewMode = false;
    F->SetFocus();
    ASSERT_TRUE(C->GetFormActive());
    const TRect Close = C->Object(C->GetIndex("closebutton"))->ObjectRect;
    C->TestActive(Close.Left + 2, Close.Top + 2, true);
    ASSERT_NE(C->ActiveObject, -1);
    C->MouseTimer->SetEnabled(true);
    Headless.MovePointer(1500, 900);
    C->TestMouse(nullptr);
    EXPECT_EQ(C->ActiveObject, -1);
    EXPECT_FALSE(C->MouseTimer->Enabled());
}

TEST_F(SkinFormServices, ACaptionPressRunsTheMoveLoopThenReachesTheCaption) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    F->SetFocus();
    std::vector<std::string> Seen;
    const TWndMethod Old = C->OldWindowProc;
    C->OldWindowProc = [&](TMessage& M) {
        if (M.Msg == WM_ENTERSIZEMOVE)
            Seen.push_back("enter");
        if (M.Msg == WM_EXITSIZEMOVE)
            Seen.push_back("exit");
        Old(M);
    };
    C->OnMouseDownEvent = [&](const std::string& Name, int, int, TRect, TMouseButton) {
        Seen.push_back("down " + Name);
    };
    const TRect Caption = C->Object(C->GetIndex("caption"))->ObjectRect;
    Headless.Click(F->Left() + Caption.Left + 20, F->Top() + Caption.Top + 5);
    Application->ProcessMessages();
    EXPECT_EQ(Seen, (std::vector<std::string>{"enter", "exit", "down caption"}));
    EXPECT_EQ(C->MouseCaptureObject, -1);
    C->OldWindowProc = Old;
}

// Skinned edits and combos that count the cancel notices they get.
template <class TBase> class TCancelCounting : public TBase {
public:
    using TBase::TBase;
    void Dispatch(TMessage& Message) override {
        Cancels += Message.Msg == CM_CANCELMODE;
        TBase::Dispatch(Message);
    }
    int Cancels = 0;
};
using TCountingCombo = TCancelCounting<TbsSkinComboBox>;
using TCountingEdit = TCancelCounting<TbsSkinEdit>;

TEST_F(SkinFormServices, ClosingMessagesOnAnMdiParentCloseItsDropDowns) {
    TForm* Main = Application->CreateForm<TForm>();
    Main->SetFormStyle(fsMDIForm);
    Main->SetBounds(50, 50, 500, 400);
    new TbsSkinForm(Main);
    const auto Place = [Main](TControl* C, int Y) {
        C->SetParent(Main);
        C->SetBounds(10, Y, 120, 20);
    };
    auto* Open = new TCountingCombo(Main);
    Place(Open, 10);
    Open->Items()->Add("one");
    Open->Items()->Add("two");
    auto* Edit = new TCountingEdit(Main);
    Place(Edit, 40);
    auto* Hidden = new TCountingCombo(Main);
    Place(Hidden, 70);
    Hidden->SetVisible(false);
    auto* Disabled = new TCountingEdit(Main);
    Place(Disabled, 100);
    Disabled->SetEnabled(false);
    // Owned by a panel, not by the form: out of reach as well.
    auto* Panel = new TPanel(Main);
    Place(Panel, 130);
    auto* Inner = new TCountingCombo(Panel);
    Inner->SetParent(Panel);
    Main->Show();
    Application->ProcessMessages();
    // Showing the form sent closing messages of its own.
    for (auto* C : {Open, Hidden, Inner})
        C->Cancels = 0;
    Edit->Cancels = Disabled->Cancels = 0;

    for (int Round = 1; Round <= 2; ++Round) {
        Open->DropDown();
        ASSERT_TRUE(Open->IsPopupVisible()) << Round;
        SendMessage(Main->Handle(), WM_CANCELMODE, 0, 0);
        EXPECT_FALSE(Open->IsPopupVisible()) << Round;
        EXPECT_EQ(Open->Cancels, Round);
        EXPECT_EQ(Edit->Cancels, Round);
    }
    EXPECT_EQ(Hidden->Cancels, 0);
    EXPECT_EQ(Disabled->Cancels, 0);
    EXPECT_EQ(Inner->Cancels, 0);

    // A hidden parent, and a form that is no MDI parent, close nothing.
    Main->Hide();
    const int WhileShown = Edit->Cancels;
    SendMessage(Main->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(Edit->Cancels, WhileShown);
    TForm* Plain = MakeForm(300, 200);
    auto* PlainEdit = new TCountingEdit(Plain);
    PlainEdit->SetParent(Plain);
    Application->ProcessMessages();
    SendMessage(Plain->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(PlainEdit->Cancels, 0);
}

} // namespace
} // namespace skinform
