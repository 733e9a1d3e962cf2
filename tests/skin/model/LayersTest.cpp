// The layered-window manager on the headless backend with the manual clock:
// the window it makes, the fade, click-through, and a desktop without a
// compositor.
#include "skin/model/bsUtils.Layers.h"
#include "tests/skin/model/DrawTestSupport.h"

namespace {

class LayersTest : public TDrawWindowTest {
protected:
    void SetUp() override {
        TDrawWindowTest::SetUp();
        Image.SetSize(4, 2);
        Image.Canvas()->Brush()->SetColor(TColor(RGB(200, 100, 50)));
        Image.Canvas()->FillRect({0, 0, 4, 2});
        Mask.SetSize(4, 2);
        Mask.Canvas()->Brush()->SetColor(clBlack);
        Mask.Canvas()->FillRect({0, 0, 4, 2});
        Mask.Canvas()->SetPixels(0, 0, clWhite);
        Mask.Canvas()->SetPixels(1, 0, TColor(RGB(90, 90, 90)));
    }
    void Tick() { Headless.RunUntil(Clock.Now() + 25); }
    const THeadlessSurface* LayerSurface() {
        if (!Manager.LayerWindow())
            return nullptr;
        return Headless.Surface(WindowSurface(Manager.LayerWindow()->Handle()));
    }
    // The alpha byte of the layered image's pixel (X, Y).
    int ImageAlpha(int X, int Y) {
        const THeadlessSurface* S = LayerSurface();
        return S ? int(S->Image[std::size_t(Y * S->ImageWidth + X)] >> 24) : -1;
    }

    TBitmap Image, Mask;
    TbsLayerManager Manager{nullptr};
};

} // namespace

TEST(LayeredRuleTest, VersionAndCompositor) {
    EXPECT_TRUE(IsLayeredWindowSupportedRule(6, 1, true));
    EXPECT_FALSE(IsLayeredWindowSupportedRule(6, 1, false));
    EXPECT_FALSE(IsLayeredWindowSupportedRule(4, 9, true));
}

TEST_F(LayersTest, SupportFollowsTheBackendsCompositor) {
    EXPECT_TRUE(IsLayeredWindowSupported());
    Headless.SetHasCompositor(false);
    EXPECT_FALSE(IsLayeredWindowSupported());
}

TEST_F(LayersTest, ShowMakesATopmostClickThroughLayerAndFadesIn) {
    HWND Owner = MakeFilledWindow({0, 0, 300, 200}, RGB(0, 128, 0));
    SetActiveWindow(Owner);
    SetFocus(Owner);
    Manager.Show(100, 50, 255, &Mask, &Image);
    ASSERT_NE(Manager.LayerWindow(), nullptr);
    const HWND Wnd = Manager.LayerWindow()->Handle();
    EXPECT_EQ(DWORD(GetWindowLong(Wnd, GWL_STYLE)) & ~WS_VISIBLE, WS_POPUP);
    // WS_EX_TOPMOST comes with the topmost placement.
    EXPECT_EQ(DWORD(GetWindowLong(Wnd, GWL_EXSTYLE)) & ~WS_EX_TOPMOST, 0xA0u | WS_EX_LAYERED);
    EXPECT_TRUE(IsWindowVisible(Wnd));
    EXPECT_EQ(GetActiveWindow(), Owner);
    EXPECT_EQ(GetFocus(), Owner);
    const THeadlessSurface* S = LayerSurface();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->Bounds, (TRect{100, 50, 104, 52}));
    EXPECT_TRUE(S->Topmost);
    EXPECT_TRUE(S->ClickThrough);
    EXPECT_EQ(Headless.Focused(), WindowSurface(Owner));
    EXPECT_TRUE(Manager.IsVisible());
    EXPECT_EQ(ImageAlpha(0, 0), 0);

    // The white mask pixel shows the constant alpha as it fades in.
    std::vector<int> Seen;
    for (int I = 0; I < 12; ++I) {
        Tick();
        Seen.push_back(ImageAlpha(0, 0));
    }
    EXPECT_EQ(Seen, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255, 255}));
    EXPECT_FALSE(Manager.Timer()->Enabled());
    // Alpha from the mask's grey, (r + g + b) div 3; the colours handed over
    // as they are, scaled by the constant alpha (255 by now).
    EXPECT_EQ(ImageAlpha(1, 0), 90);
    EXPECT_EQ(ImageAlpha(3, 1), 0);
    for (std::size_t I : {0u, 1u, 7u}) {
        EXPECT_EQ((S->Image[I] >> 16) & 0xFF, 200u);
        EXPECT_EQ(S->Image[I] & 0xFF, 50u);
    }
}

TEST_F(LayersTest, WithoutACompositorNothingIsShown) {
    Headless.SetHasCompositor(false);
    const auto Before = Headless.Surfaces().size();
    Manager.Show(10, 10, 255, &Mask, &Image);
    Tick();
    EXPECT_EQ(Manager.LayerWindow(), nullptr);
    EXPECT_FALSE(Manager.IsVisible());
    EXPECT_FALSE(Manager.Timer()->Enabled());
    Manager.Hide();
    EXPECT_EQ(Headless.Surfaces().size(), Before);
}

TEST_F(LayersTest, HideFreesTheLayerEvenWhenTheCompositorWentAway) {
    Manager.Show(10, 10, 255, &Mask, &Image);
    ASSERT_NE(Manager.LayerWindow(), nullptr);
    const HWND Wnd = Manager.LayerWindow()->Handle();
    Headless.SetHasCompositor(false);
    Manager.Hide();
    EXPECT_EQ(Manager.LayerWindow(), nullptr);
    EXPECT_EQ(Manager.Bmp(), nullptr);
    EXPECT_FALSE(IsWindow(Wnd));
    EXPECT_FALSE(Manager.IsVisible());
}

TEST_F(LayersTest, ClicksPassThroughToTheWindowBelow) {
    int Clicks = 0;
    HWND Below = MakeFilledWindow({0, 0, 300, 200}, RGB(0, 128, 0));
    SetWindowLongPtr(Below, GWLP_WNDPROC,
                     LONG_PTR(+[](HWND W, UINT M, WPARAM WP, LPARAM LP) -> LRESULT {
                         if (M == WM_LBUTTONDOWN)
                             ++*reinterpret_cast<int*>(GetWindowLongPtr(W, GWLP_USERDATA));
                         return DefWindowProc(W, M, WP, LP);
                     }));
    SetWindowLongPtr(Below, GWLP_USERDATA, LONG_PTR(&Clicks));
    Manager.Show(100, 50, 255, &Mask, &Image);
    const HWND Wnd = Manager.LayerWindow()->Handle();
    EXPECT_EQ(SendMessage(Wnd, WM_MOUSEACTIVATE, WPARAM(Below), 0), MA_NOACTIVATE);
    Headless.Click(102, 51);
    ProcessPending();
    EXPECT_EQ(Clicks, 1);
}

TEST_F(LayersTest, TopMostModeOffPlacesTheLayerNotTopmost) {
    Manager.SetTopMostMode(false);
    Manager.Show(10, 10, 255, &Mask, &Image);
    ASSERT_NE(LayerSurface(), nullptr);
    EXPECT_FALSE(LayerSurface()->Topmost);
}

TEST_F(LayersTest, ShowTwiceKeepsOneLayerFadingFromZero) {
    Manager.Show(10, 10, 255, &Mask, &Image);
    Tick();
    Tick();
    const HWND First = Manager.LayerWindow()->Handle();
    Manager.Show(20, 20, 255, &Mask, &Image);
    EXPECT_FALSE(IsWindow(First));
    EXPECT_EQ(Manager.BeginAlphaBlendValue(), 0);
    EXPECT_EQ(ImageAlpha(0, 0), 0);
    int Layered = 0;
    for (TSurfaceId Id : Headless.Surfaces())
        Layered += Headless.Surface(Id)->Visible && Headless.Surface(Id)->ClickThrough;
    EXPECT_EQ(Layered, 1);
}

TEST_F(LayersTest, FaintAndZeroAlphasEndTheirFade) {
    struct TCase {
        int Alpha;
        std::vector<int> Seen;
    } Cases[] = {{5, {1, 2, 3, 4, 5, 5}}, {0, {0, 0}}, {300, {25, 50}}};
    for (const TCase& C : Cases) {
        Manager.Show(10, 10, C.Alpha, &Mask, &Image);
        std::vector<int> Seen;
        for (std::size_t I = 0; I < C.Seen.size(); ++I) {
            Tick();
            Seen.push_back(Manager.BeginAlphaBlendValue());
        }
        EXPECT_EQ(Seen, C.Seen) << C.Alpha;
        if (C.Alpha <= 5) {
            EXPECT_FALSE(Manager.Timer()->Enabled()) << C.Alpha;
        }
    }
    EXPECT_EQ(Manager.EndAlphaBlendValue(), 255) << "300 clamped";
}

TEST_F(LayersTest, HideWithNothingShownAndAfterShow) {
    Manager.Hide();
    EXPECT_FALSE(Manager.IsVisible());
    Manager.Show(10, 10, 255, &Mask, &Image);
    const HWND Wnd = Manager.LayerWindow()->Handle();
    // What the layer window is told while it goes: hidden in place, then destroyed.
    std::vector<std::string> Seen;
    SetMessageHook([&](const TMessageHookInfo& Info) {
        if (Info.Wnd == Wnd && Info.Msg == WM_WINDOWPOSCHANGING)
            Seen.push_back("pos " +
                           std::to_string(reinterpret_cast<WINDOWPOS*>(Info.LParam)->flags));
        if (Info.Wnd == Wnd && Info.Msg == WM_DESTROY)
            Seen.push_back("destroy");
    });
    Manager.Hide();
    SetMessageHook(nullptr);
    EXPECT_EQ(Seen, (std::vector<std::string>{"pos " + std::to_string(0x97), "destroy"}));
    EXPECT_FALSE(IsWindow(Wnd));
    EXPECT_EQ(Manager.Bmp(), nullptr);
    EXPECT_FALSE(Manager.Timer()->Enabled());
}

TEST_F(LayersTest, MissingPicturesShowNothingAndHideAnEarlierLayer) {
    Manager.Show(10, 10, 255, &Mask, &Image);
    TBitmap Empty;
    Manager.Show(10, 10, 255, &Mask, nullptr);
    EXPECT_EQ(Manager.LayerWindow(), nullptr);
    EXPECT_FALSE(Manager.IsVisible());
    Manager.Show(10, 10, 255, &Empty, &Image);
    EXPECT_EQ(Manager.LayerWindow(), nullptr);
    TbsBitmap Dest;
    MakeAlphaLayerBitmap(&Empty, &Mask, &Dest);
    EXPECT_TRUE(Dest.Empty());
}

TEST_F(LayersTest, DestroyedWhileFading) {
    auto* M = new TbsLayerManager(nullptr);
    M->Show(10, 10, 255, &Mask, &Image);
    Tick();
    const HWND Wnd = M->LayerWindow()->Handle();
    delete M;
    EXPECT_FALSE(IsWindow(Wnd));
    Tick();
    Tick();
}
