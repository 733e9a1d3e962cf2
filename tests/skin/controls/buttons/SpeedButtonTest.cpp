// Speed buttons: groups, captions and widths, the accelerator, images from
// the button's list and from its tool bar's lists, the flat look, and the
// tool bar's hand-over of flat style, captions and skin data.
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

#include <algorithm>

namespace {

class TSpeedButtonTest : public TButtonsTest {
protected:
    TbsSkinSpeedButton* MakeSpeed(TWinControl* Parent, const std::string& Name, int Left = 10) {
        auto* B = new TbsSkinSpeedButton(Form);
        B->SetParent(Parent);
        B->SetBounds(Left, 10, 40, 40);
        B->SetCaption(Name);
        B->OnClick = Log.Note(Name);
        return B;
    }
    // A list of one Size x Size image in Colour.
    TCustomImageList* OneImage(TColor Colour, int Size = 16) {
        auto* L = new TCustomImageList(Form);
        L->SetWidth(Size);
        L->SetHeight(Size);
        TBitmap B;
        B.SetSize(Size, Size);
        B.Canvas()->Brush()->SetColor(Colour);
        B.Canvas()->FillRect({0, 0, Size, Size});
        L->Add(&B, nullptr);
        return L;
    }
    TEventLog Log;
};

TEST_F(TSpeedButtonTest, ClickInCodeAndByMouseEachRunTheHandlerOnce) {
    auto* B = MakeSpeed(Form, "s");
    Pump();
    B->Click();
    EXPECT_EQ(Log.Count("s"), 1);
    ClickAt(B, 10, 10);
    EXPECT_EQ(Log.Count("s"), 2);
}

TEST_F(TSpeedButtonTest, GroupButtonsReleaseEachOther) {
    auto* A = MakeSpeed(Form, "a", 10);
    auto* B = MakeSpeed(Form, "b", 60);
    auto* C = MakeSpeed(Form, "c", 110);
    A->SetDown(true);
    for (auto* S : {A, B, C})
        S->SetGroupIndex(1);
    EXPECT_TRUE(A->Down());
    Pump();
    ClickAt(B, 5, 5);
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(B->Down());
    C->SetDown(true);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"b"}));
}

// A group button with AllowAllUp toggles: down at the press of an up
// button, up at the release of a press on a down one, a click each time.
TEST_F(TSpeedButtonTest, AllUpGroupButtonTogglesWithAClickEachWay) {
    auto* A = MakeSpeed(Form, "a");
    A->SetGroupIndex(1);
    A->SetAllowAllUp(true);
    Pump();
    PressAt(A, 5, 5);
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(Log.Count("a"), 1);
    ReleaseAt(A, 5, 5);
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(Log.Count("a"), 1);
    PressAt(A, 5, 5);
    EXPECT_TRUE(A->Down());
    EXPECT_EQ(Log.Count("a"), 1);
    ReleaseAt(A, 5, 5);
    EXPECT_FALSE(A->Down());
    EXPECT_EQ(Log.Count("a"), 2);
}

// The face of a speed button by situation, with and without an element,
// read in the middle of the button over a red parent.
TEST_F(TSpeedButtonTest, PaintTableBySituation) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& P = Skin.Picture("controls.bmp");
    using testskin::RectText;
    using testskin::operator+;
    Skin.AddControl("button", "nodisabled",
                    testskin::NinePartKeys(P, 0, "toolbutton.normal", 3) +
                        testskin::TKeys{"activeskinrect=" + RectText(P.Region("toolbutton.active")),
                                        "downskinrect=" + RectText(P.Region("toolbutton.down"))});
    auto* SD = LoadSkin(Skin);
    Form->SetColor(clRed);
    enum TSituation { GroupDown, Hot, HeldOver, Transparent, Idle, Disabled, DisabledGroupDown };
    struct TRow {
        const char* Element; // "" for none
        TSituation Situation;
        const char* Region; // a region of the skin, or "red", "pressed", "hot", "face"
    };
    const TRow Rows[] = {
        {"", GroupDown, "pressed"},
        {"", Hot, "hot"},
        {"", HeldOver, "pressed"},
        {"", Transparent, "red"},
        {"", Idle, "face"},
        {"toolbutton", GroupDown, "toolbutton.down"},
        {"toolbutton", Hot, "toolbutton.active"},
        {"toolbutton", HeldOver, "toolbutton.down"},
        {"toolbutton", Transparent, "red"},
        {"toolbutton", Idle, "toolbutton.normal"},
        {"toolbutton", Disabled, "toolbutton.disabled"},
        {"toolbutton", DisabledGroupDown, "toolbutton.down"},
        {"nodisabled", Disabled, "toolbutton.normal"},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(std::string(R.Element) + " " + std::to_string(int(R.Situation)));
        auto* S = MakeSpeed(Form, "");
        if (*R.Element) {
            S->SetSkinDataName(R.Element);
            S->SetSkinData(SD);
        }
        MoveTo(Form, 300, 300);
        switch (R.Situation) {
        case GroupDown:
        case DisabledGroupDown:
            S->SetGroupIndex(1);
            S->SetDown(true);
            S->SetEnabled(R.Situation == GroupDown);
            break;
        case Hot:
            MoveTo(S, 20, 20);
            break;
        case HeldOver:
            PressAt(S, 20, 20);
            break;
        case Transparent:
            S->SetTransparent(true);
            break;
        case Disabled:
            S->SetEnabled(false);
            break;
        case Idle:
            break;
        }
        Pump();
        const std::uint32_t C = PixelOf(S, 3, 20);
        const std::string Got = C == 0xFF0000u        ? "red"
                                : C == 0x8593B5u      ? "pressed"
                                : C == 0xB6BDD2u      ? "hot"
                                : C == Rgb(clBtnFace) ? "face"
                                                      : P.RegionAt(C);
        EXPECT_EQ(Got, R.Region);
        if (R.Situation == HeldOver)
            ReleaseAt(S, 20, 20);
        delete S;
    }
}

TEST_F(TSpeedButtonTest, CaptionOffNarrowsButKeepsTheAccelerator) {
    auto* S = MakeSpeed(Form, "&Go");
    S->SetWidthWithCaption(90);
    S->SetWidthWithoutCaption(30);
    S->SetShowCaption(false);
    EXPECT_EQ(S->Width(), 30);
    Pump();
    EXPECT_EQ(S->Perform(CM_DIALOGCHAR, 'G', 0), 1);
    EXPECT_EQ(Log.Count("&Go"), 1);
    S->SetShowCaption(true);
    EXPECT_EQ(S->Width(), 90);
}

TEST_F(TSpeedButtonTest, GlyphWinsOverTheImageList) {
    auto* S = MakeSpeed(Form, "");
    S->SetImageList(OneImage(clRed));
    S->SetImageIndex(0);
    EXPECT_EQ(PixelOf(S, 20, 20), Rgb(clRed));
    TBitmap G;
    G.SetSize(16, 16);
    G.Canvas()->Brush()->SetColor(clLime);
    G.Canvas()->FillRect({0, 0, 16, 16});
    G.Canvas()->SetPixels(0, 15, clFuchsia);
    S->SetGlyph(&G);
    EXPECT_EQ(PixelOf(S, 20, 20), Rgb(clLime));
}

TEST_F(TSpeedButtonTest, ToolBarListsByState) {
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 300, 60);
    Bar->SetImages(OneImage(clRed));
    Bar->SetHotImages(OneImage(clBlue));
    Bar->SetDisabledImages(OneImage(clLime));
    auto* S = MakeSpeed(Bar, "");
    S->SetImageIndex(0);
    Pump();
    MoveTo(S, 35, 35);
    MoveTo(Bar, 280, 50);
    const TPoint C{S->Width() / 2, S->Height() / 2};
    EXPECT_EQ(PixelOf(S, C.X, C.Y), Rgb(clRed));
    MoveTo(S, 35, 35);
    EXPECT_EQ(PixelOf(S, C.X, C.Y), Rgb(clBlue));
    MoveTo(Bar, 280, 50);
    S->SetEnabled(false);
    EXPECT_EQ(PixelOf(S, C.X, C.Y), Rgb(clLime));
}

TEST_F(TSpeedButtonTest, FlatSkinnedButtonShowsOnlyItsContentUntilHot) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& P = Skin.Picture("controls.bmp");
    auto* SD = LoadSkin(Skin);
    Form->SetColor(clRed);
    auto* S = MakeSpeed(Form, "");
    S->SetSkinData(SD);
    S->SetFlat(true);
    MoveTo(S, 100, 100);
    EXPECT_EQ(PixelOf(S, 3, 3), Rgb(clRed));
    MoveTo(S, 5, 5);
    EXPECT_EQ(P.RegionAt(PixelOf(S, 3, 3)), "toolbutton.active");
    EXPECT_FALSE(S->Effects().MorphRunning());
}

} // namespace

namespace {

TEST_F(TSpeedButtonTest, ToolBarHandsFlatCaptionsAndSkinDataToItsSpeedButtons) {
    auto* SD = LoadSkin(testskin::StandardTestSkin());
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 300, 60);
    auto* A = MakeSpeed(Bar, "a", 10);
    auto* B = MakeSpeed(Bar, "b", 60);
    Bar->SetFlat(true);
    EXPECT_TRUE(A->Flat());
    EXPECT_TRUE(B->Flat());
    Bar->SetAutoShowHideCaptions(true);
    Bar->SetShowCaptions(true);
    Bar->SetShowCaptions(false);
    EXPECT_FALSE(A->ShowCaption());
    EXPECT_FALSE(B->ShowCaption());
    Bar->SetSkinData(SD);
    EXPECT_EQ(A->SkinData(), SD);
    EXPECT_EQ(B->SkinData(), SD);
}

} // namespace

namespace {

// Records the openings the menus' seams would perform.
class TRecordingMenuButton : public TbsSkinMenuSpeedButton {
public:
    using TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton;
    std::vector<std::string> Opened;
    TRect At;

protected:
    void PopupSkinMenu(const TRect& R) override {
        Opened.push_back("popup");
        At = R;
    }
    void PopupImagesMenu(const TRect&) override { Opened.push_back("images"); }
};

class TMenuSpeedButtonTest : public TSpeedButtonTest {
protected:
    TRecordingMenuButton* MakeMenuButton(int W = 78, int H = 47) {
        auto* B = new TRecordingMenuButton(Form);
        B->SetParent(Form);
        B->SetBounds(20, 20, W, H);
        B->OnShowTrackMenu = Log.Note("show");
        B->OnHideTrackMenu = Log.Note("hide");
        B->OnClick = Log.Note("click");
        Pump();
        return B;
    }
};

TEST_F(TMenuSpeedButtonTest, PressAnywhereOpensThePopupBelowAndCloseBringsItUp) {
    auto* B = MakeMenuButton();
    auto* Menu = new TComponent(Form);
    B->SetSkinPopupMenu(Menu);
    PressAt(B, 10, 10);
    EXPECT_EQ(B->Opened, (std::vector<std::string>{"popup"}));
    const TPoint O = B->ClientToScreen({0, 0});
    EXPECT_EQ(B->At, (TRect{O.X, O.Y, O.X + 78, O.Y + 47}));
    EXPECT_TRUE(B->Down());
    EXPECT_TRUE(B->MenuTracked());
    // The plain face: pressed main part.
    EXPECT_EQ(PixelOf(B, 5, 5), 0x8593B5u);
    ReleaseAt(B, 10, 10);
    EXPECT_TRUE(B->Down());
    B->Perform(WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"show", "hide"}));
    delete Menu;
    EXPECT_EQ(B->SkinPopupMenu(), nullptr);
}

TEST_F(TMenuSpeedButtonTest, SplitButtonClicksLeftOfTheStripAndOpensOnIt) {
    auto* B = MakeMenuButton();
    B->SetSkinPopupMenu(new TComponent(Form));
    B->SetTrackButtonMode(true);
    ClickAt(B, 10, 10);
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"click"}));
    EXPECT_TRUE(B->Opened.empty());
    PressAt(B, 78 - 15, 10);
    EXPECT_EQ(B->Opened, (std::vector<std::string>{"popup"}));
    // Only the strip looks pressed; the main part is hot.
    EXPECT_EQ(PixelOf(B, 70, 20), 0x8593B5u);
    EXPECT_EQ(PixelOf(B, 10, 20), 0xB6BDD2u);
    B->Perform(WM_CLOSESKINMENU, 0, 0);
    Headless.Release(0);
    Pump();
}

TEST_F(TMenuSpeedButtonTest, BothMenusOpenAndAnEmptyImageGridComesBackAtOnce) {
    auto* B = MakeMenuButton();
    B->SetSkinImagesMenu(new TComponent(Form));
    PressAt(B, 10, 10);
    // The grid had nothing to show: up, not tracked, hidden again.
    EXPECT_EQ(B->Opened, (std::vector<std::string>{"images"}));
    EXPECT_FALSE(B->Down());
    EXPECT_FALSE(B->MenuTracked());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"show", "hide"}));
    Headless.Release(0);
    Pump();

    Log.Names.clear();
    B->Opened.clear();
    B->SetSkinPopupMenu(new TComponent(Form));
    PressAt(B, 10, 10);
    EXPECT_EQ(B->Opened, (std::vector<std::string>{"popup", "images"}));
    EXPECT_EQ(Log.Count("show"), 2);
    EXPECT_TRUE(B->MenuTracked());
    B->Perform(WM_CLOSESKINMENU, 0, 0);
    Headless.Release(0);
    Pump();
}

TEST_F(TMenuSpeedButtonTest, TrackRectangleFollowsAWidthOnlyElement) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    Skin.AddControl("menubutton", "widemenubutton",
                    {"pictureindex=0", "skinrect=0,0,30,12", "lefttoppoint=4,0",
                     "righttoppoint=20,0", "clientrect=4,0,20,12", "trackbuttonrect=22,0,30,12"});
    auto* SD = LoadSkin(Skin);
    auto* B = MakeMenuButton(50, 12);
    B->SetSkinDataName("widemenubutton");
    B->SetSkinData(SD);
    B->SetSkinPopupMenu(new TComponent(Form));
    B->SetTrackButtonMode(true);
    EXPECT_EQ(B->GetTrackButtonRect(), (TRect{42, 0, 50, 12}));
    EXPECT_TRUE(B->InTrackArea(42, 5));
    EXPECT_FALSE(B->InTrackArea(41, 5));
}

TEST_F(TMenuSpeedButtonTest, StandardArrowReplacesTheSign) {
    auto* B = MakeMenuButton(15, 20);
    B->SetFlat(false);
    std::vector<std::uint32_t> Sign, Arrow;
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 15; ++X)
            Sign.push_back(PixelOf(B, X, Y));
    B->SetStandardArrowKind(4);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 15; ++X)
            Arrow.push_back(PixelOf(B, X, Y));
    EXPECT_NE(Sign, Arrow);
    B->SetStandardArrowKind(0);
    std::vector<std::uint32_t> Again;
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 15; ++X)
            Again.push_back(PixelOf(B, X, Y));
    EXPECT_EQ(Sign, Again);
}

// The plain look by situation: split (track-button mode with a menu) or
// one piece, read at the main part (10, 20) and in the strip (70, 20).
TEST_F(TMenuSpeedButtonTest, PlainLookSplitsIntoMainPartAndStrip) {
    constexpr std::uint32_t Pressed = 0x8593B5, Hot = 0xB6BDD2;
    const std::uint32_t Face = Rgb(clBtnFace), Shadow = Rgb(clBtnShadow);
    for (bool Split : {true, false}) {
        SCOPED_TRACE(Split);
        auto* B = MakeMenuButton();
        B->SetFlat(false);
        if (Split) {
            B->SetSkinPopupMenu(new TComponent(Form));
            B->SetTrackButtonMode(true);
        }
        MoveTo(B, 10, 20);
        EXPECT_EQ(PixelOf(B, 10, 20), Hot);
        EXPECT_EQ(PixelOf(B, 70, 20), Hot);
        PressAt(B, 10, 20);
        EXPECT_EQ(PixelOf(B, 10, 20), Pressed);
        EXPECT_EQ(PixelOf(B, 70, 20), Pressed);
        ReleaseAt(B, 10, 20);
        MoveTo(B, 300, 300);
        EXPECT_EQ(PixelOf(B, 10, 20), Face);
        EXPECT_EQ(PixelOf(B, 70, 20), Face);
        EXPECT_EQ(PixelOf(B, 0, 0), Shadow);
        B->SetFlat(true);
        B->Invalidate();
        Pump();
        EXPECT_EQ(PixelOf(B, 0, 0), Face) << "a flat idle face has no frame";
        delete B;
    }
}

// A 78 x 47 "resizetoolbutton" menu button: the caption centred in the 63
// pixels left of the strip, the skin's 7 x 4 sign centred in the 15 x 47
// strip at (4, 21) from its corner, its see-through colour keyed out.
TEST_F(TMenuSpeedButtonTest, ResizeToolButtonCentresCaptionAndSkinSign) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("menubutton.bmp", 60, 30, 24);
    P.AddRegion("face", {0, 0, 30, 30});
    P.AddRegion("sign", {40, 0, 47, 4});
    P.Fill({40, 3, 41, 4}, 0xFF00FF);
    using testskin::RectText;
    using testskin::operator+;
    Skin.AddControl("button", "resizetoolbutton",
                    testskin::NinePartKeys(P, Skin.PictureIndex("menubutton.bmp"), "face", 4) +
                        testskin::TKeys{"menumarkerrect=" + RectText(P.Region("sign")),
                                        "menumarkertransparentcolor=16711935", "fontcolor=65280"});
    auto* SD = LoadSkin(Skin);
    auto* B = MakeMenuButton();
    B->SetFlat(false);
    B->SetCaption("Go");
    B->SetSkinDataName("resizetoolbutton");
    B->SetSkinData(SD);
    Pump();
    EXPECT_EQ(P.RegionAt(PixelOf(B, 63 + 4, 21)), "sign");
    EXPECT_EQ(P.RegionAt(PixelOf(B, 63 + 10, 23)), "sign");
    EXPECT_EQ(P.RegionAt(PixelOf(B, 63 + 3, 21)), "face");
    EXPECT_EQ(P.RegionAt(PixelOf(B, 63 + 4, 20)), "face");
    EXPECT_EQ(P.RegionAt(PixelOf(B, 63 + 4, 24)), "face") << "keyed corner";
    int Left = 1000, Right = -1;
    for (int Y = 0; Y < 47; ++Y)
        for (int X = 0; X < 78; ++X)
            if (IsGreenish(PixelOf(B, X, Y))) {
                Left = std::min(Left, X);
                Right = std::max(Right, X);
            }
    ASSERT_GE(Right, 0) << "no caption";
    EXPECT_LT(Right, 63);
    EXPECT_NEAR((Left + Right + 1) / 2.0, 63 / 2.0, 2.0);
}

// The new style with the strip at the bottom: the "resizetoolbutton" face
// over the whole button; while hot in track-button mode the strip's own
// element ("htracktoolbutton") in the bottom 15 pixels, or, without one,
// the main face shortened above a strip of the main element.
TEST_F(TMenuSpeedButtonTest, NewStyleDrawsTheBottomStripFromItsOwnElement) {
    for (bool WithStrip : {true, false}) {
        SCOPED_TRACE(WithStrip);
        testskin::TTestSkin Skin = testskin::StandardTestSkin();
        testskin::TTestPicture& P = Skin.AddPicture("strip.bmp", 80, 20, 24);
        P.AddRegion("strip.normal", {0, 0, 20, 20});
        P.AddRegion("strip.active", {20, 0, 40, 20});
        P.AddRegion("strip.down", {40, 0, 60, 20});
        if (WithStrip) {
            using testskin::operator+;
            Skin.AddControl(
                "button", "htracktoolbutton",
                testskin::NinePartKeys(P, Skin.PictureIndex("strip.bmp"), "strip.normal", 3) +
                    testskin::TKeys{"activeskinrect=" +
                                        testskin::RectText(P.Region("strip.active")),
                                    "downskinrect=" + testskin::RectText(P.Region("strip.down"))});
        }
        const testskin::TTestPicture& C = Skin.Picture("controls.bmp");
        auto* SD = LoadSkin(Skin);
        auto* B = MakeMenuButton();
        B->SetCaption("");
        B->SetSkinData(SD);
        B->SetSkinPopupMenu(new TComponent(Form));
        B->SetTrackButtonMode(true);
        B->SetNewStyle(true);
        B->SetTrackPosition(bstpBottom);
        MoveTo(B, 300, 300);
        auto Region = [&](int X, int Y) {
            const std::uint32_t Pixel = PixelOf(B, X, Y);
            return C.RegionAt(Pixel).empty() ? P.RegionAt(Pixel) : C.RegionAt(Pixel);
        };
        EXPECT_EQ(Region(39, 10), "resizetoolbutton.normal");
        EXPECT_EQ(Region(5, 40), "resizetoolbutton.normal");
        MoveTo(B, 39, 10);
        EXPECT_EQ(Region(39, 10), "resizetoolbutton.active");
        EXPECT_EQ(Region(5, 40), WithStrip ? "strip.active" : "resizetoolbutton.active");
        delete B;
    }
}

} // namespace
