// The skinned tool bar (centring, scrolling, scroll buttons, hand-over) and
// the status bar (size grip).
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

#include <map>

using namespace skinctl;

namespace {

class BarsTest : public TSkinControlsTest {
protected:
    void SetUp() override {
        TSkinControlsTest::SetUp();
        testskin::TTestSkin S = NineSkin();
        AddBarElement(S, "bar");
        AddNineElement(S, "panel", "mystatus", {"gripperrect=30,15,40,20"});
        AddNineElement(S, "panel", "mystatuskeyed",
                       {"gripperrect=30,15,40,20", "grippertransparent=1",
                        "grippertransparentcolor=" + std::to_string(BgrOf("rb", S))});
        UseSkin(S);
        Form = MakeForm();
    }
    static TColor BgrOf(const std::string& Region, const testskin::TTestSkin& S) {
        const std::uint32_t C = S.Picture("nine.bmp").ColourOf(Region);
        return TColor(((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF));
    }
    // A 300 x 34 scrolling bar of the "bar" element at (0, 0), not yet shown.
    TbsSkinToolBar* SkinnedScrollingBar() {
        auto* Bar = new TbsSkinToolBar(Form);
        Bar->SetParent(Form);
        Bar->SetSkinDataName("bar");
        Bar->SetSkinData(Data.get());
        Bar->SetCanScroll(true);
        Bar->SetBounds(0, 0, 300, 34);
        return Bar;
    }
    // A 300 x 30 scrolling bar at (0, 0) with two children ending at End.
    TbsSkinToolBar* ScrollBar(int End = 450) {
        auto* Bar = new TbsSkinToolBar(Form);
        Bar->SetParent(Form);
        Bar->SetCanScroll(true);
        Bar->SetAdjustControls(false);
        Bar->SetScrollOffset(30);
        Bar->SetBounds(0, 0, 300, 30);
        First = Child(Bar, 0, 200);
        Second = Child(Bar, 250, End - 250);
        Form->Show();
        Pump();
        return Bar;
    }
    TbsSkinPanel* Child(TWinControl* Parent, int Left, int Width) {
        auto* C = new TbsSkinPanel(Form);
        C->SetParent(Parent);
        C->SetBounds(Left, 2, Width, 20);
        return C;
    }
    LRESULT HitAt(TbsSkinToolBar* Bar, int ClientX) {
        const TPoint P = Bar->ClientToScreen({ClientX, 10});
        return SendMessage(Bar->Handle(), WM_NCHITTEST, 0, PointToLParam(P));
    }
    void Tick(int Interval = 50) { Headless.RunUntil(Clock.Now() + Interval); }
    // The screen pixel at window coordinates of Bar.
    std::uint32_t WindowPixel(TbsSkinToolBar* Bar, int X, int Y) {
        Pump();
        FlushPresents();
        const TPoint Origin = Bar->Parent()->ClientToScreen({Bar->Left(), Bar->Top()});
        return Headless.ScreenPixel(Origin.X + X, Origin.Y + Y);
    }
    TSkinChangeForm* Form = nullptr;
    TbsSkinPanel* First = nullptr;
    TbsSkinPanel* Second = nullptr;
};

} // namespace

// ---- scrolling -----------------------------------------------------------------------------

TEST_F(BarsTest, ChildrenWiderThanTheBarShowTheScrollButtons) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->UpdateScroll();
    EXPECT_TRUE(Bar->Buttons[0].Visible);
    EXPECT_TRUE(Bar->Buttons[1].Visible);
    EXPECT_EQ(Bar->ClientWidth(), 276);
    EXPECT_EQ(Bar->SMax, 449);
    // The page is the client width left beside the buttons, so every pixel
    // of the children can be scrolled into view.
    EXPECT_EQ(Bar->SPage, 276);
    EXPECT_EQ(HitAt(Bar, -5), HTTOOLBARLEFTBUTTON);
    EXPECT_EQ(HitAt(Bar, 280), HTTOOLBARRIGHTBUTTON);
    EXPECT_EQ(HitAt(Bar, 100), HTCLIENT);
}

TEST_F(BarsTest, HoldingTheRightButtonScrollsEveryTickUntilTheEnd) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->UpdateScroll();
    SendMessage(Bar->Handle(), WM_NCLBUTTONDOWN, HTTOOLBARRIGHTBUTTON, 0);
    EXPECT_EQ(Bar->TimerMode, 2);
    EXPECT_EQ(Bar->SPosition, 0);
    // The scroll limit is SMax - SPage + 1 = 174.
    for (int Expect : {30, 60, 90, 120, 150, 174}) {
        Tick();
        EXPECT_EQ(Bar->SPosition, Expect);
        EXPECT_EQ(First->Left(), -Expect);
        EXPECT_EQ(Second->Left(), 250 - Expect);
    }
    EXPECT_EQ(Bar->TimerMode, 2);
    Tick();
    EXPECT_EQ(Bar->SPosition, 174);
    EXPECT_EQ(Bar->TimerMode, 0);
    Tick();
    EXPECT_EQ(Bar->SPosition, 174);
}

TEST_F(BarsTest, ReleasingTheButtonScrollsOnceMore) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->UpdateScroll();
    SendMessage(Bar->Handle(), WM_NCLBUTTONDOWN, HTTOOLBARRIGHTBUTTON, 0);
    Tick();
    Tick();
    EXPECT_EQ(Bar->SPosition, 60);
    SendMessage(Bar->Handle(), WM_NCLBUTTONUP, HTTOOLBARRIGHTBUTTON, 0);
    EXPECT_EQ(Bar->SPosition, 90);
    EXPECT_EQ(Bar->TimerMode, 0);
    Tick();
    EXPECT_EQ(Bar->SPosition, 90);
    SendMessage(Bar->Handle(), WM_NCLBUTTONDOWN, HTTOOLBARLEFTBUTTON, 0);
    Tick();
    EXPECT_EQ(Bar->SPosition, 60);
    SendMessage(Bar->Handle(), WM_NCLBUTTONUP, HTTOOLBARLEFTBUTTON, 0);
    EXPECT_EQ(Bar->SPosition, 30);
}

TEST_F(BarsTest, HotScrollRunsWhileHoveredOnly) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->SetHotScroll(true);
    Bar->UpdateScroll();
    SendMessage(Bar->Handle(), WM_NCMOUSEMOVE, HTTOOLBARRIGHTBUTTON, 0);
    EXPECT_TRUE(Bar->Buttons[1].MouseIn);
    EXPECT_EQ(Bar->TimerMode, 2);
    Tick();
    EXPECT_EQ(Bar->SPosition, 30);
    SendMessage(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
    EXPECT_EQ(Bar->TimerMode, 0);
    EXPECT_FALSE(Bar->Buttons[1].MouseIn);
    Tick();
    EXPECT_EQ(Bar->SPosition, 30);
}

TEST_F(BarsTest, LeavingForAnotherWindowClearsTheHover) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->SetHotScroll(true);
    Bar->UpdateScroll();
    for (bool OwnWindow : {true, false}) {
        SendMessage(Bar->Handle(), WM_NCMOUSEMOVE, HTTOOLBARRIGHTBUTTON, 0);
        ASSERT_EQ(Bar->TimerMode, 2);
        // On the bar's own window: over the hovered scroll button itself.
        const TPoint Over =
            OwnWindow ? Bar->ClientToScreen({282, 10}) : First->ClientToScreen({5, 5});
        Headless.MovePointer(Over.X, Over.Y);
        Bar->Perform(CM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(Bar->Buttons[1].MouseIn, OwnWindow);
        EXPECT_EQ(Bar->TimerMode, OwnWindow ? 2 : 0);
    }
}

TEST_F(BarsTest, WideningUntilTheChildrenFitUnscrolls) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->UpdateScroll();
    SendMessage(Bar->Handle(), WM_NCLBUTTONDOWN, HTTOOLBARRIGHTBUTTON, 0);
    Tick();
    SendMessage(Bar->Handle(), WM_NCLBUTTONUP, HTTOOLBARRIGHTBUTTON, 0);
    ASSERT_EQ(Bar->SPosition, 60);
    Bar->SetWidth(500);
    Bar->UpdateScroll();
    EXPECT_EQ(First->Left(), 0);
    EXPECT_EQ(Second->Left(), 250);
    EXPECT_FALSE(Bar->Buttons[0].Visible);
    EXPECT_FALSE(Bar->Buttons[1].Visible);
    EXPECT_EQ(Bar->ClientWidth(), 500);
    EXPECT_EQ(Bar->SMax, 0);
    EXPECT_EQ(Bar->SPosition, 0);
    EXPECT_EQ(Bar->SPage, 0);
    EXPECT_EQ(Bar->SOldPosition, 0);
}

TEST_F(BarsTest, GrowingOrShrinkingWhileScrolled) {
    // Children ending at 350 in a 300 bar: SMax 349, page 276, limit 74.
    {
        Form->SetClientSize(300, 200);
        TbsSkinToolBar* Bar = ScrollBar(350);
        Bar->SetAlign(alTop);
        Bar->UpdateScroll();
        SendMessage(Bar->Handle(), WM_NCLBUTTONDOWN, HTTOOLBARRIGHTBUTTON, 0);
        SendMessage(Bar->Handle(), WM_NCLBUTTONUP, HTTOOLBARRIGHTBUTTON, 0);
        ASSERT_EQ(Bar->SPosition, 30);
        // Grown by 50 while scrolled by 30: A = 320 < CW = 326.
        Form->SetClientSize(350, 200);
        EXPECT_EQ(Bar->SMax, 349);
        EXPECT_EQ(Bar->SPosition, 0);
        EXPECT_EQ(Bar->SPage, 326);
        EXPECT_EQ(Bar->SOldPosition, 0);
        EXPECT_EQ(Second->Left() + Second->Width(), 350);
        delete Bar;
    }
    {
        Form->SetClientSize(300, 200);
        TbsSkinToolBar* Bar = ScrollBar(350);
        Bar->UpdateScroll();
        SendMessage(Bar->Handle(), WM_NCLBUTTONDOWN, HTTOOLBARRIGHTBUTTON, 0);
        SendMessage(Bar->Handle(), WM_NCLBUTTONUP, HTTOOLBARRIGHTBUTTON, 0);
        ASSERT_EQ(Bar->SPosition, 30);
        // The last child shrinks by 60: A = 260 < 276 and 30 + 259 < 349.
        Second->SetWidth(Second->Width() - 60);
        Bar->UpdateScroll();
        EXPECT_EQ(Bar->SMax, 289);
        EXPECT_EQ(Bar->SPosition, 14);
        EXPECT_EQ(Bar->SOldPosition, 14);
        EXPECT_EQ(Bar->SPage, 276);
        EXPECT_EQ(Second->Left() + Second->Width(), 276);
    }
}

TEST_F(BarsTest, PlainScrollButtonFaces) {
    TbsSkinToolBar* Bar = ScrollBar();
    Bar->UpdateScroll();
    Pump();
    const int Right = Bar->Width() - 12;
    struct TRow {
        bool MouseIn, Down;
        std::uint32_t Frame, Fill;
    } Rows[] = {{false, false, Rgb(clBtnShadow), Rgb(clBtnFace)},
                {true, false, 0x000080, 0xB6BDD2},
                {true, true, 0x000080, 0x8593B5}};
    for (const TRow& Row : Rows) {
        Bar->Buttons[1].MouseIn = Row.MouseIn;
        Bar->Buttons[1].Down = Row.Down;
        SendMessage(Bar->Handle(), WM_NCPAINT, 1, 0);
        EXPECT_EQ(WindowPixel(Bar, Right, 0), Row.Frame);
        EXPECT_EQ(WindowPixel(Bar, Right + 11, 29), Row.Frame);
        EXPECT_EQ(WindowPixel(Bar, Right + 2, 26), Row.Fill);
        // Also where the last child reaches under the button.
        EXPECT_EQ(WindowPixel(Bar, Right + 2, 10), Row.Fill);
        bool Arrow = false;
        for (int Y = 0; Y < 30; ++Y)
            for (int X = 0; X < 12; ++X)
                Arrow |= WindowPixel(Bar, Right + X, Y) == Rgb(clBtnText);
        EXPECT_TRUE(Arrow);
    }
}

TEST_F(BarsTest, SkinnedScrollButtonsAndTheMiddleOfAWidthOnlyBar) {
    auto* Bar = SkinnedScrollingBar();
    Form->Show();
    Pump();
    const std::uint32_t Left = Skin.Picture("bar.bmp").ColourOf("bar.l");
    const std::uint32_t Middle = Skin.Picture("bar.bmp").ColourOf("bar.m");
    EXPECT_EQ(WindowPixel(Bar, 1, 20), Left);
    Child(Bar, 100, 350);
    Bar->UpdateScroll();
    Pump();
    ASSERT_TRUE(Bar->Buttons[0].Visible);
    ASSERT_NE(Bar->ButtonData, nullptr);
    EXPECT_EQ(WindowPixel(Bar, 12, 20), Middle);
    const auto& Controls = Skin.Picture("controls.bmp");
    EXPECT_EQ(WindowPixel(Bar, 1, 1), Controls.ColourOf("resizebutton.normal"));
    Bar->Buttons[0].MouseIn = true;
    SendMessage(Bar->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(WindowPixel(Bar, 1, 1), Controls.ColourOf("resizebutton.active"));
    Bar->Buttons[0].Down = true;
    SendMessage(Bar->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(WindowPixel(Bar, 1, 1), Controls.ColourOf("resizebutton.down"));
}

TEST_F(BarsTest, ScrollButtonsRepaintInANewSkin) {
    auto* Bar = SkinnedScrollingBar();
    Child(Bar, 100, 350);
    Form->Show();
    Pump();
    Bar->UpdateScroll();
    ASSERT_TRUE(Bar->Buttons[0].Visible);
    EXPECT_EQ(WindowPixel(Bar, 1, 1), Skin.Picture("controls.bmp").ColourOf("resizebutton.normal"));
    // The same layout in other colours, then back: the bar keeps its size.
    for (int Variant : {3, 0}) {
        testskin::TTestSkin Next = NineSkin(Variant);
        AddBarElement(Next, "bar");
        LoadSkin(*Data, Next);
        const auto& Controls = Next.Picture("controls.bmp");
        EXPECT_EQ(WindowPixel(Bar, 1, 1), Controls.ColourOf("resizebutton.normal")) << Variant;
        EXPECT_EQ(WindowPixel(Bar, Bar->Width() - 2, 1), Controls.ColourOf("resizebutton.normal"))
            << Variant;
    }
}

// ---- layout and hand-over -----------------------------------------------------------------

TEST_F(BarsTest, AdjustingCentresPlainAndSkinnedChildren) {
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetSkinDataName("bar");
    Bar->SetSkinData(Data.get());
    Bar->SetBounds(0, 0, 300, 34);
    auto* Plain = new TCustomControl(Form);
    Plain->SetParent(Bar);
    Plain->SetBounds(10, 0, 30, 10);
    auto* Probe = new TProbeControl(Form);
    Probe->SetParent(Bar);
    Probe->SetBounds(50, 0, 30, 20);
    auto* Aligned = new TCustomControl(Form);
    Aligned->SetParent(Bar);
    Aligned->SetAlign(alRight);
    Aligned->SetWidth(20);
    const int AlignedTop = Aligned->Top();
    Bar->AdjustChildren();
    EXPECT_EQ(Plain->Top(), 12);
    EXPECT_EQ(Probe->Top(), 7);
    EXPECT_EQ(Aligned->Top(), AlignedTop);
    Plain->SetTop(0);
    Bar->SetBounds(0, 0, 250, 34);
    EXPECT_EQ(Plain->Top(), 12);
    EXPECT_EQ(Probe->Top(), 7);
}

TEST_F(BarsTest, CaptionWidthsAndRefusedValues) {
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 150, 30);
    Bar->SetShowCaptions(true);
    Bar->SetWidthWithCaptions(200);
    Bar->SetWidthWithoutCaptions(80);
    Bar->SetShowCaptions(false);
    EXPECT_EQ(Bar->Width(), 80);
    Bar->SetWidthWithCaptions(0);
    Bar->SetShowCaptions(true);
    EXPECT_EQ(Bar->Width(), 80);
    Bar->SetScrollOffset(10);
    Bar->SetScrollOffset(-1);
    EXPECT_EQ(Bar->ScrollOffset(), 10);
    Bar->SetScrollTimerInterval(0);
    EXPECT_EQ(Bar->ScrollTimerInterval(), 50);
}

TEST_F(BarsTest, TheSkinDataGoesToChildBevelsOnly) {
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    auto* Bevel = new TbsSkinBevel(Form);
    Bevel->SetParent(Bar);
    auto* Probe = new TProbeControl(Form);
    Probe->SetParent(Bar);
    Bar->SetSkinData(Data.get());
    EXPECT_EQ(Bevel->SkinData(), Data.get());
    EXPECT_EQ(Probe->SkinData(), nullptr);
}

// ---- the status bar ------------------------------------------------------------------------

namespace {

using TPixels = std::map<std::pair<int, int>, TColor>;

// A line as the canvas draws it, the end point left out.
void Line(TPixels& P, TPoint A, TPoint B, TColor C) {
    const int DX = (B.X > A.X) - (B.X < A.X), DY = (B.Y > A.Y) - (B.Y < A.Y);
    for (; A.X != B.X || A.Y != B.Y; A.X += DX, A.Y += DY)
        P[{A.X, A.Y}] = C;
}

} // namespace

TEST_F(BarsTest, ThePlainGripAndItsHitTest) {
    auto* Status = new TbsSkinStatusBar(Form);
    Status->SetParent(Form);
    Status->SetSizeGrip(true);
    Form->Show();
    Pump();
    const int W = Status->Width();
    ASSERT_EQ(Status->Height(), 21);
    EXPECT_EQ(Status->GetSkinClientRect().Right, W - 21);
    // The ridges in (W - 19, 0, W, 19).
    TPixels Expect;
    const TRect R{W - 19, 0, W, 19};
    for (int B = 3; R.Left + B + 2 <= R.Right; B += 3) {
        Line(Expect, {R.Left + B, R.Bottom}, {R.Right, R.Top + B}, clBtnShadow);
        Line(Expect, {R.Left + B + 1, R.Bottom}, {R.Right, R.Top + B + 1}, clBtnHighlight);
    }
    Pump();
    FlushPresents();
    for (int Y = 0; Y < 21; ++Y)
        for (int X = W - 21; X < W; ++X) {
            auto It = Expect.find({X, Y});
            ASSERT_EQ(ScreenAt(Status, X, Y), Rgb(It == Expect.end() ? clBtnFace : It->second))
                << X << "," << Y;
        }
    auto Hit = [&](int X, int Y) {
        return SendMessage(Status->Handle(), WM_NCHITTEST, 0,
                           PointToLParam(Status->ClientToScreen({X, Y})));
    };
    EXPECT_EQ(Hit(W - 19, 0), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(W - 1, 19), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(W - 20, 5), HTCLIENT);
    EXPECT_EQ(Hit(10, 5), HTCLIENT);
    Status->SetShowGrip(false);
    EXPECT_EQ(Status->GetSkinClientRect().Right, W);
    EXPECT_EQ(Hit(W - 10, 5), HTCLIENT);
}

TEST_F(BarsTest, DraggingTheGripSizesTheForm) {
    auto* Status = new TbsSkinStatusBar(Form);
    Status->SetParent(Form);
    Status->SetSizeGrip(true);
    Form->Show();
    Pump();
    const TPoint P = Status->ClientToScreen({Status->Width() - 5, 15});
    Headless.MovePointer(P.X, P.Y);
    Headless.Press();
    Headless.MovePointer(P.X + 30, P.Y + 20);
    Headless.Release();
    Pump();
    EXPECT_EQ(Form->Width(), 430);
    EXPECT_EQ(Form->Height(), 320);
    EXPECT_EQ(Status->Height(), 21);
}

TEST_F(BarsTest, TheSkinGripperPicture) {
    for (const char* Element : {"mystatus", "mystatuskeyed"}) {
        auto* Status = new TbsSkinStatusBar(Form);
        Status->SetParent(Form);
        Status->SetSkinDataName(Element);
        Status->SetSkinData(Data.get());
        Status->SetSizeGrip(true);
        Form->Show();
        const int W = Status->Width(), H = Status->Height();
        // A frameless bar is covered with its client part; the gripper (10 x 5)
        // lies at (R.Right, R.Bottom - 5) with R = (0, 0, W - 10, H).
        const std::string Region = RegionOf(Status, W - 5, H - 2);
        EXPECT_EQ(Region, std::string(Element) == "mystatus" ? "nine.bmp/rb" : "nine.bmp/client");
        EXPECT_EQ(RegionOf(Status, W - 5, H - 8), "nine.bmp/client");
        EXPECT_EQ(RegionOf(Status, W - 11, H - 2), "nine.bmp/client");
        delete Status;
    }
}

TEST_F(BarsTest, TheStatusBarHandsItsSkinToSkinnedWindowChildren) {
    auto* Status = new TbsSkinStatusBar(Form);
    Status->SetParent(Form);
    auto* Probe = new TProbeControl(Form);
    Probe->SetParent(Status);
    auto* Label = new TbsSkinStdLabel(Form);
    Label->SetParent(Status);
    Status->SetSkinData(Data.get());
    EXPECT_EQ(Probe->SkinData(), Data.get());
    EXPECT_EQ(Label->SkinData(), nullptr);
}
