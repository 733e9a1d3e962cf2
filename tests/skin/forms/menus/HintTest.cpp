// Skinned hints: sizes and placement, the delayed hints on the manual clock,
// the application's hint path with skinned and plain controls, one active
// component per main form, and the application's own hints coming back when
// the last component goes.
#include "platform/forms/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinHint.h"
#include "skin/model/bsUtils.Text.h"
#include "tests/skin/forms/menus/MenusFixture.h"

namespace menus {
namespace {

class HintTest : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        Application->SetMainForm(Form);
        Hint = new TbsSkinHint(Form);
    }
    TSize TextSize(const std::string& S, TFont* Font) const {
        TBitmap M;
        M.SetSize(1, 1);
        M.Canvas()->Font()->Assign(Font);
        TRect R{0, 0, 0, 0};
        DrawWideText(M.Canvas(), S, R, DT_CALCRECT);
        return {R.Right - R.Left, R.Bottom - R.Top};
    }
    // A hint skin: a 40 x 30 picture with the client part (5, 4, 35, 26)
    // and its corner points.
    TbsSkinData* HintSkin(TPoint LT = {5, 4}, TPoint RT = {35, 4}, TPoint LB = {5, 26},
                          TPoint RB = {35, 26}) {
        const auto Pt = [](const char* Name, TPoint P) {
            return std::string(Name) + "=" + std::to_string(P.X) + "," + std::to_string(P.Y);
        };
        testskin::TTestSkin S = testskin::MinimalLoadableSkin();
        testskin::TTestPicture& P = S.AddPicture("hint.bmp", 40, 30, 24);
        P.AddRegion("frame", {0, 0, 40, 30});
        P.AddRegion("client", {5, 4, 35, 26});
        S.SetRecord("HINTWINDOW",
                    {"windowpictureindex=" + std::to_string(S.PictureIndex("hint.bmp")),
                     Pt("lefttoppoint", LT), Pt("righttoppoint", RT), Pt("leftbottompoint", LB),
                     Pt("rightbottompoint", RB), "clientrect=5,4,35,26", "fontname=Arial",
                     "fontheight=14", "fontcolor=255"});
        Skin = S;
        return LoadSkin(Skin);
    }
    TbsSkinHintWindow* W() const { return Hint->HW; }

    TbsSkinHint* Hint = nullptr;
    testskin::TTestSkin Skin;
};

TEST_F(HintTest, LineSeparatorBreaksTheTextIntoLines) {
    struct TCase {
        const char* Separator;
        const char* Text;
        const char* Caption;
    };
    const TCase Cases[] = {{"@", "ab@c", "ab\n\rc"},
                           {"", "ab@c", "ab@c"},
                           {"@", "ab\n\rc", "ab\n\rc"},
                           {"||", "a||b||c", "a\n\rb\n\rc"}};
    for (const TCase& C : Cases) {
        Hint->SetLineSeparator(C.Separator);
        Hint->ActivateHint({100, 100}, C.Text);
        EXPECT_EQ(W()->Caption(), C.Caption) << C.Text;
    }
    Hint->SetLineSeparator("@");
    Hint->ActivateHint({100, 100}, "ab@c");
    const TSize Ab = TextSize("ab", Hint->DefaultFont());
    const TSize Two = TextSize("ab\n\rc", Hint->DefaultFont());
    EXPECT_EQ(W()->Width(), Ab.cx + 4);
    EXPECT_EQ(W()->Height(), Two.cy + 4);
    EXPECT_GT(Two.cy, Ab.cy); // two lines, one break
    EXPECT_LT(Two.cy, 3 * Ab.cy);
}

TEST_F(HintTest, PlainLookIsInfoBackgroundWithAShadowFrame) {
    Hint->ActivateHint({100, 100}, "Hint");
    ASSERT_TRUE(Hint->IsVisible());
    TBitmap B;
    B.SetSize(W()->Width(), W()->Height());
    W()->PaintTo(B.Canvas());
    EXPECT_EQ(Pixel(&B, 0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(&B, W()->Width() - 1, W()->Height() - 1), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(&B, 1, 1), Rgb(clInfoBk));
}

TEST_F(HintTest, SkinnedSizeAddsTheFrameAndDrawsThePicture) {
    Hint->SetSkinData(HintSkin());
    Hint->ActivateHint({100, 100}, "Hint");
    TFont F;
    F.SetName("Arial");
    F.SetHeight(14);
    const TSize T = TextSize("Hint", &F);
    EXPECT_EQ(W()->Width(), T.cx + 5 + 5 + 5);
    EXPECT_EQ(W()->Height(), T.cy + 4 + 4);
    EXPECT_EQ(W()->NewClRect, (TRect{5, 4, W()->Width() - 5, W()->Height() - 4}));
    TBitmap B;
    B.SetSize(W()->Width(), W()->Height());
    W()->PaintTo(B.Canvas());
    const testskin::TTestPicture& P = Skin.Picture("hint.bmp");
    EXPECT_EQ(Pixel(&B, 1, 1), P.ColourOf("frame"));
    EXPECT_EQ(Pixel(&B, 6, 5), P.ColourOf("client"));
}

TEST_F(HintTest, PlacementKeepsTheHintOnTheWorkArea) {
    Hint->ActivateHint({1910, 500}, "Hint");
    const int Wd = W()->Width(), Ht = W()->Height();
    EXPECT_EQ(W()->Left(), 1910 - Wd - 2);
    EXPECT_EQ(W()->Top(), 500);
    Hint->ActivateHint({100, 1035}, "Hint");
    EXPECT_EQ(W()->Left(), 100);
    EXPECT_EQ(W()->Top(), 1035 - Ht - 2);
    // Centred on a rectangle, above or below it.
    for (bool Above : {true, false}) {
        W()->ActivateHintFromRect({200, 300, 260, 320}, "Hint", Above);
        EXPECT_EQ(W()->Left(), 230 - Wd / 2);
        EXPECT_EQ(Above ? W()->Top() + Ht : W()->Top(), Above ? 300 : 320);
    }
}

TEST_F(HintTest, DelayedHintShowsTheLastTextOnceAndHidesItself) {
    Application->SetHintPause(500);
    Application->SetHintHidePause(2500);
    Headless.MovePointer(300, 300);
    Hint->ActivateHint2("first");
    RunFor(200);
    Hint->ActivateHint2("second");
    RunFor(499);
    EXPECT_FALSE(Hint->IsVisible());
    RunFor(2);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(W()->Caption(), "second");
    EXPECT_EQ(W()->Left(), 300);
    EXPECT_GT(W()->Top(), 300); // below the cursor shape
    RunFor(2497);               // shown at +500, hidden at +500 + 2500
    EXPECT_TRUE(Hint->IsVisible());
    RunFor(2);
    EXPECT_FALSE(Hint->IsVisible());
    EXPECT_EQ(Hint->HintTimer, nullptr); // released in its own tick
}

TEST_F(HintTest, ApplicationHintsCarryASkinnedControlsTitle) {
    auto* Skinned = new TbsSkinPanel(Form);
    Skinned->SetParent(Form);
    Skinned->SetBounds(10, 10, 100, 50);
    Skinned->SetHint("Skinned text");
    Skinned->SetShowHint(true);
    Skinned->SetHintTitle("T");
    auto* Plain = new TButton(Form);
    Plain->SetParent(Form);
    Plain->SetBounds(10, 100, 100, 30);
    Plain->SetHint("Plain text");
    Plain->SetShowHint(true);
    Pump();
    Application->SetHintPause(100);
    MoveTo(Skinned->ClientToScreen({20, 20}));
    RunFor(300);
    auto* AppWindow = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow());
    ASSERT_NE(AppWindow, nullptr);
    EXPECT_TRUE(AppWindow->AExtendedStyle);
    EXPECT_EQ(AppWindow->Caption(), "Skinned text");
    // Bold title above the text: the window is higher than one line + 4.
    EXPECT_GT(AppWindow->Height(), TextSize("Skinned text", Hint->DefaultFont()).cy + 4);
    MoveTo(Plain->ClientToScreen({20, 10}));
    RunFor(300);
    AppWindow = dynamic_cast<TbsSkinHintWindow*>(Application->HintWindow());
    ASSERT_NE(AppWindow, nullptr);
    EXPECT_FALSE(AppWindow->AExtendedStyle);
    EXPECT_EQ(AppWindow->Caption(), "Plain text");
}

TEST_F(HintTest, OneActiveComponentPerMainForm) {
    auto* Second = new TbsSkinHint(Form);
    Second->SetLineSeparator("|");
    Second->SetActive(true);
    EXPECT_FALSE(Hint->Active());
    EXPECT_TRUE(Second->Active());
    // Either window follows the active component.
    Hint->ActivateHint({100, 100}, "a|b");
    EXPECT_EQ(W()->Caption(), "a\n\rb");
    EXPECT_EQ(W()->FspHint, Second);
}

TEST_F(HintTest, FreeingTheLastComponentGivesBackThePlainHints) {
    auto* Plain = new TButton(Form);
    Plain->SetParent(Form);
    Plain->SetBounds(10, 100, 100, 30);
    Plain->SetHint("Plain text");
    Plain->SetShowHint(true);
    Pump();
    delete Hint;
    Hint = nullptr;
    Application->SetHintPause(100);
    MoveTo(Plain->ClientToScreen({20, 10}));
    RunFor(300);
    THintWindow* AppWindow = Application->HintWindow();
    ASSERT_NE(AppWindow, nullptr);
    EXPECT_EQ(dynamic_cast<TbsSkinHintWindow*>(AppWindow), nullptr);
    EXPECT_TRUE(AppWindow->Visible());
    EXPECT_EQ(AppWindow->Caption(), "Plain text");
}

TEST_F(HintTest, TheFormsObjectHintsGoThroughItsHintComponent) {
    auto* Component = new TbsSkinForm(Form);
    Component->SetSkinHint(Hint);
    Application->SetHintPause(500);
    Component->ShowObjectHintText("Close");
    RunFor(501);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(W()->Caption(), "Close");
    Component->HideObjectHint();
    EXPECT_FALSE(Hint->IsVisible());
}

TEST_F(HintTest, FadeInEndsAtTheAlphaValue) {
    Hint->SetAlphaBlend(true);
    Hint->SetAlphaBlendAnimation(true);
    for (int Value : {255, 10, 0}) {
        SCOPED_TRACE(Value);
        Hint->SetAlphaBlendValue(BYTE(Value));
        // The fade busy-waits on the clock: a clock that moves on every read.
        TSteppingClock Stepping(2, Clock.Now());
        SetTickSource(Stepping.Source());
        Hint->ActivateHint({100, 100}, "Fade");
        SetTickSource(Clock.Source());
        std::optional<BYTE> Alpha;
        for (TSurfaceId Id : Headless.Surfaces())
            if (const THeadlessSurface* S = Headless.Surface(Id);
                S && S->Visible && S->Bounds == W()->BoundsRect())
                Alpha = S->Alpha;
        ASSERT_TRUE(Alpha.has_value());
        EXPECT_EQ(*Alpha, Value);
        Hint->HideHint();
    }
}

TEST_F(HintTest, CursorHeightMarginIsTheCursorsRowsBelowItsHotSpot) {
    const int M = Hint->GetCursorHeightMargin();
    EXPECT_GT(M, 0);
    EXPECT_LE(M, GetSystemMetrics(SM_CYCURSOR));
}

TEST_F(HintTest, ASmallSkinnedHintGrowsUntilNoCornerCrossesItsPartner) {
    // "i" is far narrower and lower than the picture: each case moves one
    // corner point so that shrinking would cross it over its partner.
    struct TCase {
        const char* Name;
        TPoint LT, RT, LB, RB;
        bool Wider, Higher;
    };
    const TCase Cases[] = {
        {"TopRightLeftOfTopLeft", {5, 4}, {15, 4}, {5, 26}, {35, 26}, true, false},
        {"BottomRightLeftOfBottomLeft", {5, 4}, {35, 4}, {5, 26}, {15, 26}, true, false},
        {"BottomLeftAboveTopLeft", {5, 4}, {35, 4}, {5, 6}, {35, 26}, false, true},
        {"BottomRightAboveTopRight", {5, 4}, {35, 4}, {5, 26}, {35, 6}, false, true},
        {"NoneCrosses", {5, 4}, {35, 4}, {5, 26}, {35, 26}, false, false}};
    TFont F;
    F.SetName("Arial");
    F.SetHeight(14);
    const TSize T = TextSize("i", &F);
    ASSERT_LT(T.cx + 15, 30);
    ASSERT_LT(T.cy + 8, 28);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Hint->SetSkinData(HintSkin(C.LT, C.RT, C.LB, C.RB));
        Hint->ActivateHint({100, 100}, "i");
        // Grown just enough for the moved corner to meet its partner.
        EXPECT_EQ(W()->Width(), C.Wider ? 30 : T.cx + 15);
        EXPECT_EQ(W()->Height(), C.Higher ? 28 : T.cy + 8);
        if (C.RT.X == 15) {
            EXPECT_EQ(W()->NewRTPoint.X, W()->NewLTPoint.X);
        }
        if (C.RB.X == 15) {
            EXPECT_EQ(W()->NewRBPoint.X, W()->NewLBPoint.X);
        }
        if (C.LB.Y == 6) {
            EXPECT_EQ(W()->NewLBPoint.Y, W()->NewLTPoint.Y);
        }
        if (C.RB.Y == 6) {
            EXPECT_EQ(W()->NewRBPoint.Y, W()->NewRTPoint.Y);
        }
        Hint->HideHint();
    }
}

TEST_F(HintTest, FadeInStepsAFifteenthOfTheAlphaValueAtATime) {
    Hint->SetAlphaBlend(true);
    Hint->SetAlphaBlendAnimation(true);
    struct TCase {
        int Value;
        std::vector<int> Steps;
    };
    std::vector<int> Fifteenths, Ones;
    for (int A = 0; A <= 255; A += 17)
        Fifteenths.push_back(A);
    for (int A = 0; A <= 10; ++A)
        Ones.push_back(A);
    for (const TCase& C : {TCase{255, Fifteenths}, TCase{10, Ones}, TCase{0, {0}}}) {
        SCOPED_TRACE(C.Value);
        Hint->SetAlphaBlendValue(BYTE(C.Value));
        // The fade busy-waits on the clock; every read of this one moves it
        // and notes the hint window's alpha when it changed.
        std::vector<int> Seen;
        const auto Sample = [&] {
            if (W() && W()->HandleAllocated())
                for (TSurfaceId Id : Headless.Surfaces())
                    if (const THeadlessSurface* S = Headless.Surface(Id);
                        S && S->Visible && S->Bounds == W()->BoundsRect() && S->Alpha &&
                        (Seen.empty() || Seen.back() != *S->Alpha))
                        Seen.push_back(*S->Alpha);
        };
        std::uint32_t Now = Clock.Now();
        SetTickSource([&] {
            Sample();
            return Now += 2;
        });
        Hint->ActivateHint({100, 100}, "Fade");
        SetTickSource(Clock.Source());
        Sample();
        EXPECT_EQ(Seen, C.Steps);
        Hint->HideHint();
    }
}

TEST_F(HintTest, AnExtendedHintsTitleIsDrawnBold) {
    const std::string Title = "WWWW";
    // Dark pixels of the title drawn by itself, regular and bold.
    const auto Dark = [](TBitmap* B, const TRect& R) {
        int N = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                N += (Pixel(B, x, y) & 0x808080) == 0;
        return N;
    };
    const auto Alone = [&](bool Bold) {
        TBitmap B;
        B.SetSize(200, 40);
        B.Canvas()->Brush()->SetColor(clWhite);
        B.Canvas()->FillRect({0, 0, 200, 40});
        B.Canvas()->Font()->Assign(Hint->DefaultFont());
        B.Canvas()->Font()->SetColor(clBlack);
        if (Bold)
            B.Canvas()->Font()->SetStyle({fsBold});
        B.Canvas()->Brush()->SetStyle(bsClear);
        TRect R{0, 0, 200, 40};
        DrawWideText(B.Canvas(), Title, R, 0);
        return Dark(&B, {0, 0, 200, 40});
    };
    const int Regular = Alone(false), Bold = Alone(true);
    ASSERT_GT(Bold, Regular + Regular / 5);
    Hint->ActivateHintEx({100, 100}, Title, "x", 0, nullptr);
    TBitmap B;
    B.SetSize(W()->Width(), W()->Height());
    W()->PaintTo(B.Canvas());
    const TSize T = TextSize(Title, Hint->DefaultFont());
    const int InTitle = Dark(&B, {2, 2, W()->Width() - 2, 2 + T.cy});
    // The title is measured regular, so its bold drawing may be cut at the
    // right edge; it is still well above the regular count.
    EXPECT_GT(InTitle, Regular + Regular / 10);
}

TEST_F(HintTest, ACursorWithAWideShortMaskGivesTheCursorHeightBelowItsHotSpot) {
    // Wider than high: no square of mask rows to scan.
    TBitmap Picture;
    Picture.SetSize(32, 8);
    ICONINFO Info;
    Info.fIcon = FALSE;
    Info.hbmColor = Picture.Handle();
    const HICON Cursor = CreateIconIndirect(&Info);
    ASSERT_NE(Cursor, HICON(0));
    // The hot spot as the window system reports it for this picture.
    ICONINFO Reported;
    ASSERT_TRUE(GetIconInfo(Cursor, &Reported));
    DeleteObject(ToObj(Reported.hbmMask));
    DeleteObject(ToObj(Reported.hbmColor));
    const HCURSOR Old = SetCursor(reinterpret_cast<HCURSOR>(Cursor));
    EXPECT_EQ(Hint->GetCursorHeightMargin(),
              GetSystemMetrics(SM_CYCURSOR) - int(Reported.yHotspot));
    SetCursor(Old);
    DestroyIcon(Cursor);
}

} // namespace
} // namespace menus
