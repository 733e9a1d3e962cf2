// The push button and its timed effects: the state-to-face table, the plain
// look, groups, keys, Default/Cancel, clicks and actions, repeat, morph,
// frame animation and the glow layer.
#include "platform/forms/ActnList.h"
#include "platform/forms/Edits.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/model/bsEffects.EffectBmp.h"
#include "skin/model/bsUtils.Layers.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

#include <cstdlib>

namespace {

class TButtonTest : public TButtonsTest {
protected:
    TbsSkinButton* MakeButton(const std::string& Name, int Left = 20, int Top = 20) {
        auto* B = new TbsSkinButton(Form);
        B->SetParent(Form);
        B->SetBounds(Left, Top, 75, 25);
        B->SetCaption(Name);
        B->OnClick = Log.Note(Name);
        Pump();
        return B;
    }
    TEventLog Log;
};

// The standard skin's "button" plus a "fbutton" with a focused picture and
// an "ebutton" carrying the effect keys given.
testskin::TTestSkin EffectsSkin(const testskin::TKeys& EffectKeys) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& P = Skin.AddPicture("effects.bmp", 240, 100, 24);
    const int Index = Skin.PictureIndex("effects.bmp");
    using testskin::RectText;
    const char* States[] = {"normal", "active", "down", "focused"};
    for (int I = 0; I < 4; ++I)
        P.AddRegion(std::string("f.") + States[I], {I * 40, 0, I * 40 + 30, 20});
    for (int I = 0; I < 4; ++I)
        P.AddRegion("frame" + std::to_string(I + 1), {I * 30, 40, I * 30 + 30, 70});
    testskin::TKeys Keys{"pictureindex=" + std::to_string(Index),
                         "skinrect=" + RectText(P.Region("f.normal")),
                         "activeskinrect=" + RectText(P.Region("f.active")),
                         "downskinrect=" + RectText(P.Region("f.down")),
                         "focusedskinrect=" + RectText(P.Region("f.focused")),
                         "lefttoppoint=5,5",
                         "righttoppoint=25,5",
                         "leftbottompoint=5,15",
                         "rightbottompoint=25,15",
                         "clientrect=5,5,25,15"};
    Skin.AddControl("button", "fbutton", Keys);
    Skin.AddControl("button", "ebutton", testskin::operator+(Keys, EffectKeys));
    return Skin;
}

TEST_F(TButtonTest, FacesFollowTheStateTable) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& P = Skin.Picture("controls.bmp");
    auto* SD = LoadSkin(Skin);
    auto* B = MakeButton("b");
    B->SetSkinData(SD);
    B->SetCanFocused(false);
    B->SetUseSkinSize(false);
    B->SetBounds(20, 20, 75, 25);
    // Away from the caption in the middle.
    auto Face = [&] { return P.RegionAt(PixelOf(B, 6, 6)); };
    MoveTo(B, 300, 300);
    EXPECT_EQ(Face(), "button.normal");
    MoveTo(B, 37, 12);
    EXPECT_EQ(Face(), "button.active");
    PressAt(B, 37, 12);
    EXPECT_EQ(Face(), "button.down");
    MoveTo(B, 300, 300);
    EXPECT_EQ(Face(), "button.normal");
    MoveTo(B, 37, 12);
    EXPECT_EQ(Face(), "button.down");
    ReleaseAt(B, 300, 300);
    EXPECT_EQ(Log.Count("b"), 0) << "released outside";
    B->SetEnabled(false);
    EXPECT_EQ(Face(), "button.disabled");

    // A group button stays down wherever the pointer is.
    auto* G = MakeButton("g", 20, 60);
    G->SetSkinData(SD);
    G->SetGroupIndex(1);
    G->SetDown(true);
    MoveTo(G, 300, 300);
    EXPECT_EQ(P.RegionAt(PixelOf(G, 37, 12)), "button.down");
}

TEST_F(TButtonTest, FocusedFaceAndDisabledWithoutPictureAfterRefresh) {
    const testskin::TTestSkin Skin = EffectsSkin({});
    const testskin::TTestPicture& P = Skin.Picture("effects.bmp");
    auto* SD = LoadSkin(Skin);
    auto* B = MakeButton("b");
    B->SetSkinDataName("fbutton");
    B->SetSkinData(SD);
    B->SetFocus();
    EXPECT_EQ(P.RegionAt(PixelOf(B, 37, 12)), "f.focused");
    auto* Other = MakeButton("o", 20, 60);
    Other->SetFocus();
    MoveTo(B, 37, 12);
    B->SetEnabled(false);
    B->RefreshButton();
    EXPECT_EQ(P.RegionAt(PixelOf(B, 37, 12)), "f.normal");
}

TEST_F(TButtonTest, PlainLookColoursByState) {
    auto* B = MakeButton("b");
    auto* Other = MakeButton("o", 20, 60);
    Other->SetFocus();
    MoveTo(B, 300, 300);
    EXPECT_EQ(PixelOf(B, 0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(B, 2, 2), Rgb(clBtnFace));
    MoveTo(B, 60, 20);
    EXPECT_EQ(PixelOf(B, 0, 0), 0x000080u);
    EXPECT_EQ(PixelOf(B, 2, 2), 0xB6BDD2u);
    PressAt(B, 60, 20);
    EXPECT_EQ(PixelOf(B, 2, 2), 0x8593B5u);
    ReleaseAt(B, 60, 20);
}

TEST_F(TButtonTest, GroupButtonsAreExclusiveAndAllowAllUpReleases) {
    auto* A = MakeButton("a");
    auto* B = MakeButton("b", 120, 20);
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    ClickAt(A, 10, 10);
    ClickAt(B, 10, 10);
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"a", "b"}));
    ClickAt(B, 10, 10);
    EXPECT_TRUE(B->Down());
    EXPECT_EQ(Log.Count("b"), 1);
    B->SetAllowAllUp(true);
    ClickAt(B, 10, 10);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Log.Count("b"), 2);
}

TEST_F(TButtonTest, DefaultButtonKeepsItsHighlightWhileFocusIsInAnEdit) {
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(200, 200, 80, 20);
    auto* D = MakeButton("d");
    D->SetDefault(true);
    Edit->SetFocus();
    Pump();
    EXPECT_TRUE(D->MouseIn());
    MoveTo(D, 30, 10);
    MoveTo(D, 300, 300);
    EXPECT_TRUE(D->MouseIn());
    auto* Other = MakeButton("o", 20, 60);
    Other->SetFocus();
    Pump();
    EXPECT_FALSE(D->MouseIn());
}

TEST_F(TButtonTest, KeysDefaultCancelAndAccelerator) {
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(200, 200, 80, 20);
    auto* D = MakeButton("d");
    auto* C = MakeButton("c", 120, 20);
    auto* O = MakeButton("&Open", 20, 60);
    D->SetDefault(true);
    C->SetCancel(true);
    Edit->SetFocus();
    Pump();
    EXPECT_EQ(D->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(C->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
    Headless.KeyDown(VK_CONTROL);
    Pump();
    EXPECT_EQ(C->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
    Headless.KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(O->Perform(CM_DIALOGCHAR, 'O', 0), 1);
    EXPECT_TRUE(O->Focused());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"d", "c", "&Open"}));

    Log.Names.clear();
    Headless.KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(O->Down());
    EXPECT_TRUE(Log.Names.empty());
    Headless.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Log.Count("&Open"), 1);
}

TEST_F(TButtonTest, ClickSetsModalResultAndRunsActionOrHandlerOnce) {
    auto* B = MakeButton("b");
    B->SetModalResult(2);
    ClickAt(B, 10, 10);
    EXPECT_EQ(Form->ModalResult(), 2);

    int Executed = 0;
    auto* Other = new TAction(Form);
    Other->OnExecute = [&](TObject*) { ++Executed; };
    B->SetAction(Other);
    B->OnClick = Log.Note("click");
    B->ButtonClick();
    EXPECT_EQ(Executed, 0);
    EXPECT_EQ(Log.Count("click"), 1);

    auto* Same = new TAction(Form);
    Same->OnExecute = B->OnClick;
    B->SetAction(Same);
    B->ButtonClick();
    EXPECT_EQ(Log.Count("click"), 2);

    B->OnClick = nullptr;
    B->SetAction(Other);
    B->ButtonClick();
    EXPECT_EQ(Executed, 1);
}

// Counts the command notifications that reach the button's handlers.
class TCommandCountingButton : public TbsSkinButton {
public:
    using TbsSkinButton::TbsSkinButton;
    int Commands = 0;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CN_COMMAND)
            ++Commands;
        TbsSkinButton::Dispatch(Message);
    }
};

TEST_F(TButtonTest, APressFocusesFirstAndDropsACommandArrivingMeanwhile) {
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 100, 80, 22);
    auto* B = new TCommandCountingButton(Form);
    B->SetParent(Form);
    B->SetBounds(20, 20, 75, 25);
    Edit->SetFocus();
    Pump();
    bool FocusedAtPress = false;
    B->OnEnter = [&](TObject*) { B->Perform(CN_COMMAND, 0, 0); };
    B->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        FocusedAtPress = B->Focused();
    };
    PressAt(B, 10, 10);
    EXPECT_TRUE(FocusedAtPress);
    EXPECT_EQ(B->Commands, 0);
    ReleaseAt(B, 10, 10);
    B->Perform(CN_COMMAND, 0, 0);
    EXPECT_EQ(B->Commands, 1);
}

TEST_F(TButtonTest, AnActionsImageBecomesTheGlyphDrawnKeyed) {
    // Three images, each a coloured square on a transparent ground.
    auto* Images = new TCustomImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    for (TColor C : {clRed, clLime, clBlue}) {
        TBitmap I;
        I.SetSize(16, 16);
        I.Canvas()->Brush()->SetColor(clFuchsia);
        I.Canvas()->FillRect({0, 0, 16, 16});
        I.Canvas()->Brush()->SetColor(C);
        I.Canvas()->FillRect({4, 4, 12, 12});
        Images->AddMasked(&I, clFuchsia);
    }
    auto* List = new TActionList(Form);
    List->SetImages(Images);
    auto* A = new TAction(Form);
    A->SetActionList(List);
    A->SetImageIndex(2);
    auto* B = MakeButton("");
    B->SetCanFocused(false);
    B->SetAction(A);
    Pump();
    EXPECT_EQ(Rgb(B->Glyph()->Canvas()->Pixels(0, 0)), Rgb(clFuchsia));
    EXPECT_EQ(Rgb(B->Glyph()->Canvas()->Pixels(8, 8)), Rgb(clBlue));
    int Blue = 0, Key = 0;
    for (int X = 0; X < B->Width(); ++X)
        for (int Y = 0; Y < B->Height(); ++Y) {
            Blue += PixelOf(B, X, Y) == Rgb(clBlue) ? 1 : 0;
            Key += PixelOf(B, X, Y) == Rgb(clFuchsia) ? 1 : 0;
        }
    EXPECT_EQ(Blue, 64);
    EXPECT_EQ(Key, 0);
}

// One OnClick serves code, mouse and keyboard: each path runs the handler
// exactly once (the class library's release click must not add a second).
TEST_F(TButtonTest, ClickInCodeByMouseAndByKeyEachRunTheHandlerOnce) {
    auto* B = MakeButton("b");
    B->Click();
    EXPECT_EQ(Log.Count("b"), 1);
    ClickAt(B, 10, 10);
    EXPECT_EQ(Log.Count("b"), 2);
    EXPECT_TRUE(B->Focused());
    Headless.KeyDown(VK_SPACE);
    Headless.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Log.Count("b"), 3);
    Headless.KeyDown(VK_RETURN);
    Headless.KeyUp(VK_RETURN);
    Pump();
    EXPECT_EQ(Log.Count("b"), 4);

    int Executed = 0;
    auto* A = new TAction(Form);
    A->OnExecute = [&](TObject*) { ++Executed; };
    B->OnClick = nullptr;
    B->SetAction(A);
    B->Click();
    ClickAt(B, 10, 10);
    EXPECT_EQ(Executed, 2);
}

// The caption takes the element's colour of the state: normal, hot, held,
// disabled; without UseSkinFontColor the default font's.
TEST_F(TButtonTest, SkinnedCaptionColourFollowsTheState) {
    const testskin::TTestSkin Skin =
        EffectsSkin({"fontcolor=255", "activefontcolor=65280", "downfontcolor=16711680",
                     "disabledfontcolor=8388736", "fontheight=14"});
    auto* SD = LoadSkin(Skin);
    auto* B = MakeButton("WWW");
    B->SetCanFocused(false);
    B->SetSkinDataName("ebutton");
    B->SetSkinData(SD);
    Pump();
    // A glyph core in the colour (its smoothed edges blend with the face).
    auto Has = [&](std::uint32_t Colour) {
        for (int Y = 3; Y < B->Height() - 3; ++Y)
            for (int X = 3; X < B->Width() - 3; ++X) {
                const std::uint32_t P = PixelOf(B, X, Y);
                bool Near = true;
                for (int Shift : {0, 8, 16})
                    Near = Near &&
                           std::abs(int((P >> Shift) & 0xFF) - int((Colour >> Shift) & 0xFF)) <= 24;
                if (Near)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(Has(0xFF0000u));
    MoveTo(B, 5, 5);
    EXPECT_TRUE(Has(0x00FF00u));
    PressAt(B, 5, 5);
    EXPECT_TRUE(Has(0x0000FFu));
    ReleaseAt(B, 5, 5);
    MoveTo(B, 300, 300);
    B->SetEnabled(false);
    Pump();
    EXPECT_TRUE(Has(0x800080u));
    B->SetEnabled(true);
    B->SetUseSkinFontColor(false);
    B->DefaultFont()->SetColor(clYellow);
    B->RefreshButton();
    Pump();
    EXPECT_TRUE(Has(0xFFFF00u));
}

TEST_F(TButtonTest, RepeatClicksAfterTheWaitAndOnceOnRelease) {
    auto* B = MakeButton("r");
    B->SetRepeatMode(true);
    B->SetCanFocused(false);
    const std::uint32_t T0 = Clock.Now();
    std::vector<std::uint32_t> At;
    B->OnClick = [&](TObject*) { At.push_back(Clock.Now() - T0); };
    PressAt(B, 10, 10);
    Headless.RunUntil(T0 + 1050);
    ReleaseAt(B, 10, 10);
    EXPECT_EQ(At, (std::vector<std::uint32_t>{600, 700, 800, 900, 1000, 1050}));
}

TEST_F(TButtonTest, MorphFactorMovesByAFifthPerTickAndPins) {
    const testskin::TTestSkin Skin = EffectsSkin({"morphing=1"});
    auto* SD = LoadSkin(Skin);
    auto* B = MakeButton("m");
    B->SetCanFocused(false);
    B->SetSkinDataName("ebutton");
    B->SetSkinData(SD);
    Pump();
    const std::uint32_t T0 = Clock.Now();
    MoveTo(B, 10, 10);
    for (int Tick = 1; Tick <= 5; ++Tick) {
        Headless.RunUntil(T0 + 20 * Tick);
        EXPECT_NEAR(B->MorphKf(), 0.2 * Tick, 1e-9);
    }
    Headless.RunUntil(T0 + 200);
    EXPECT_EQ(B->MorphKf(), 1.0);
    EXPECT_FALSE(B->Effects().MorphRunning());
    MoveTo(B, 300, 300);
    Headless.RunUntil(Clock.Now() + 200);
    EXPECT_EQ(B->MorphKf(), 0.0);

    SD->SetEnableSkinEffects(false);
    MoveTo(B, 10, 10);
    EXPECT_FALSE(B->Effects().MorphRunning());
}

// Each morph kind, caught on screen at 0.4 on the way in: the button shows
// the normal and hot faces it had before and after, joined by that kind's
// transition.
TEST_F(TButtonTest, CrossFadeShowsTheTransitionOfItsMorphKind) {
    using TMorph = void (TbsEffectBmp::*)(TbsEffectBmp*, double);
    const std::pair<const char*, TMorph> Kinds[] = {
        {"mkdefault", &TbsEffectBmp::Morph},
        {"mkgradient", &TbsEffectBmp::MorphGrad},
        {"mkleftgradient", &TbsEffectBmp::MorphLeftGrad},
        {"mkrightgradient", &TbsEffectBmp::MorphRightGrad},
        {"mkleftslide", &TbsEffectBmp::MorphLeftSlide},
        {"mkrightslide", &TbsEffectBmp::MorphRightSlide},
        {"mkpush", &TbsEffectBmp::MorphPush}};
    for (const auto& [Word, Transition] : Kinds) {
        SCOPED_TRACE(Word);
        auto* SD = LoadSkin(EffectsSkin({"morphing=1", std::string("morphkind=") + Word}));
        auto* B = MakeButton("m");
        B->SetCanFocused(false);
        B->SetSkinDataName("ebutton");
        B->SetSkinData(SD);
        Pump();
        auto Grab = [&](TBitmap& Into) {
            Into.SetPixelFormat(pf24bit);
            Into.SetSize(B->Width(), B->Height());
            for (int Y = 0; Y < B->Height(); ++Y)
                for (int X = 0; X < B->Width(); ++X) {
                    const std::uint32_t C = PixelOf(B, X, Y);
                    Into.Canvas()->SetPixels(X, Y, TColor(RGB(C >> 16, C >> 8 & 0xFF, C & 0xFF)));
                }
        };
        TBitmap Normal, Mid, Hot;
        Grab(Normal);
        const std::uint32_t T0 = Clock.Now();
        MoveTo(B, 10, 10);
        Headless.RunUntil(T0 + 40);
        ASSERT_NEAR(B->MorphKf(), 0.4, 1e-9);
        Grab(Mid);
        Headless.RunUntil(T0 + 200);
        ASSERT_EQ(B->MorphKf(), 1.0);
        Grab(Hot);
        auto From = TbsEffectBmp::CreateFromhWnd(Normal.Handle());
        auto To = TbsEffectBmp::CreateFromhWnd(Hot.Handle());
        ((*From).*Transition)(To.get(), 0.4);
        TBitmap Expected;
        Expected.SetPixelFormat(pf24bit);
        Expected.SetSize(B->Width(), B->Height());
        From->Draw(Expected.Canvas()->Handle(), 0, 0);
        int Differ = 0, NotNormal = 0, NotHot = 0;
        for (int Y = 0; Y < B->Height(); ++Y)
            for (int X = 0; X < B->Width(); ++X) {
                const TColor M = Mid.Canvas()->Pixels(X, Y);
                Differ += M != Expected.Canvas()->Pixels(X, Y);
                NotNormal += M != Normal.Canvas()->Pixels(X, Y);
                NotHot += M != Hot.Canvas()->Pixels(X, Y);
            }
        EXPECT_EQ(Differ, 0);
        EXPECT_GT(NotNormal, 0);
        EXPECT_GT(NotHot, 0);
        delete B;
    }
}

class TDummyHost : public TbsButtonEffectsHost {
public:
    bool EffectsSkinned() override { return true; }
    bool EffectsMorphing() override { return true; }
    bool EffectsMorphTarget() override { return true; }
    void EffectsRepaint() override {}
    void EffectsClick() override {}
    int EffectsRepeatInterval() override { return 100; }
};

TEST(ButtonEffects, AnimationFramesLieSideBySideOrStacked) {
    TDummyHost Host;
    TbsButtonEffects E(&Host);
    E.FrameCount = 4;
    E.AnimateSkinRect = {0, 0, 120, 30};
    for (int N = 1; N <= 4; ++N) {
        E.CurrentFrame = N;
        EXPECT_EQ(E.AnimationFrameRect({0, 0, 30, 30}), (TRect{30 * (N - 1), 0, 30 * N, 30}));
    }
    E.AnimateSkinRect = {0, 0, 30, 120};
    for (int N = 1; N <= 4; ++N) {
        E.CurrentFrame = N;
        EXPECT_EQ(E.AnimationFrameRect({0, 0, 30, 30}), (TRect{0, 30 * (N - 1), 30, 30 * N}));
    }
}

TEST_F(TButtonTest, GlowLayerShownOnEntryHiddenOnLeaveAndSkippedForMissingPictures) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestSkin WithGlow = Skin;
    testskin::TTestPicture& G = WithGlow.AddPicture("glow.bmp", 40, 30, 24);
    G.AddRegion("glow", {0, 0, 40, 30});
    testskin::TTestPicture& M = WithGlow.AddPicture("glowmask.bmp", 40, 30, 24);
    M.Fill({0, 0, 40, 30}, 0xFFFFFF);
    const int GI = WithGlow.PictureIndex("glow.bmp"), MI = WithGlow.PictureIndex("glowmask.bmp");
    WithGlow.AddControl(
        "button", "gbutton",
        {"pictureindex=0",
         "skinrect=" + testskin::RectText(Skin.Picture("controls.bmp").Region("button.normal")),
         "glowlayerpictureindex=" + std::to_string(GI),
         "glowlayermaskpictureindex=" + std::to_string(MI), "glowlayershowoffsetx=5",
         "glowlayershowoffsety=6", "glowlayeralphablendvalue=200"});
    WithGlow.AddControl("button", "badglow",
                        {"pictureindex=0", "skinrect=0,0,12,12", "glowlayerpictureindex=99",
                         "glowlayermaskpictureindex=-1"});
    auto* SD = LoadSkin(WithGlow);
    auto* B = MakeButton("g");
    B->SetCanFocused(false);
    B->SetSkinDataName("gbutton");
    B->SetSkinData(SD);
    Pump();
    MoveTo(B, 5, 5);
    Pump();
    ASSERT_TRUE(B->LayerManager()->IsVisible());
    const TPoint Origin = B->ClientToScreen({0, 0});
    const TRect L = B->LayerManager()->LayerWindow()->BoundsRect();
    EXPECT_EQ(L.Left, Origin.X - 5);
    EXPECT_EQ(L.Top, Origin.Y - 6);
    MoveTo(B, 300, 300);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible());

    // The skin's glow frames turned off: only a button that always shows
    // its frame glows.
    SD->SetShowButtonGlowFrames(false);
    MoveTo(B, 5, 5);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible());
    MoveTo(B, 300, 300);
    B->SetAlwaysShowLayeredFrame(true);
    MoveTo(B, 5, 5);
    Pump();
    EXPECT_TRUE(B->LayerManager()->IsVisible());
    MoveTo(B, 300, 300);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible());
    SD->SetShowButtonGlowFrames(true);
    B->SetAlwaysShowLayeredFrame(false);

    B->SetSkinDataName("badglow");
    MoveTo(B, 5, 5);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible());

    // Without a compositor nothing is shown; the faces stay as they are.
    Headless.SetHasCompositor(false);
    B->SetSkinDataName("gbutton");
    MoveTo(B, 300, 300);
    MoveTo(B, 5, 5);
    Pump();
    EXPECT_FALSE(B->LayerManager()->IsVisible());
}

TEST_F(TButtonTest, NinePartGlowGrowsWithTheButtonAndComesBackAfterASkinChange) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestSkin WithGlow = Skin;
    testskin::TTestPicture& G = WithGlow.AddPicture("glow.bmp", 40, 30, 24);
    G.AddRegion("glow", {0, 0, 40, 30});
    testskin::TTestPicture& M = WithGlow.AddPicture("glowmask.bmp", 40, 30, 24);
    M.Fill({0, 0, 40, 30}, 0xFFFFFF);
    const TRect Face = Skin.Picture("controls.bmp").Region("button.normal");
    const int W = Face.Width(), H = Face.Height();
    WithGlow.AddControl(
        "button", "nineglow",
        {"pictureindex=0", "skinrect=" + testskin::RectText(Face), "lefttoppoint=3,3",
         "righttoppoint=" + std::to_string(W - 3) + ",3",
         "leftbottompoint=3," + std::to_string(H - 3),
         "rightbottompoint=" + std::to_string(W - 3) + "," + std::to_string(H - 3),
         "clientrect=3,3," + std::to_string(W - 3) + "," + std::to_string(H - 3),
         "glowlayerpictureindex=" + std::to_string(WithGlow.PictureIndex("glow.bmp")),
         "glowlayermaskpictureindex=" + std::to_string(WithGlow.PictureIndex("glowmask.bmp")),
         "glowlayeroffsetleft=5", "glowlayeroffsetright=5", "glowlayeroffsettop=5",
         "glowlayeroffsetbottom=5"});
    auto* SD = LoadSkin(WithGlow);
    auto* B = MakeButton("g");
    B->SetCanFocused(false);
    B->SetSkinDataName("nineglow");
    B->SetSkinData(SD);
    B->SetBounds(20, 20, W + 40, H);
    Pump();
    ASSERT_EQ(B->ResizeMode, 1);
    MoveTo(B, 5, 5);
    Pump();
    ASSERT_TRUE(B->LayerManager()->IsVisible());
    EXPECT_EQ(B->LayerManager()->LayerWindow()->Width(), 40 + 40);
    EXPECT_EQ(B->LayerManager()->LayerWindow()->Height(), 30);

    // A skin change hides the glow; with the pointer still over the button
    // it shows again once the new skin is in.
    B->BeforeChangeSkinData();
    EXPECT_FALSE(B->LayerManager()->IsVisible());
    B->ChangeSkinData();
    Pump();
    EXPECT_TRUE(B->LayerManager()->IsVisible());
}

} // namespace

namespace {

// A strip of 10 x 10 glyph cells in the given colours, each keyed on its own
// bottom-left pixel.
void Cells(TBitmap& G, const std::vector<TColor>& Colours) {
    const int N = int(Colours.size());
    G.SetSize(10 * N, 10);
    for (int I = 0; I < N; ++I) {
        G.Canvas()->Brush()->SetColor(Colours[I]);
        G.Canvas()->FillRect({I * 10, 0, I * 10 + 10, 10});
        G.Canvas()->SetPixels(I * 10, 9, clFuchsia);
    }
}

TEST_F(TButtonTest, GlyphCellsByStateAndPaintEventThatDrawsNothing) {
    auto* B = MakeButton("");
    B->SetCanFocused(false);
    TBitmap G;
    Cells(G, {clRed, clLime, clBlue, clYellow});
    B->SetGlyph(&G);
    B->SetNumGlyphs(4);
    const TPoint Mid{37, 12};
    MoveTo(B, 200, 200);
    EXPECT_EQ(PixelOf(B, Mid.X, Mid.Y), Rgb(clRed));
    MoveTo(B, 5, 5);
    EXPECT_EQ(PixelOf(B, Mid.X, Mid.Y), Rgb(clYellow));
    PressAt(B, 5, 5);
    // The pressed content moves one pixel right and down.
    EXPECT_EQ(PixelOf(B, Mid.X + 1, Mid.Y + 1), Rgb(clBlue));
    ReleaseAt(B, 5, 5);
    MoveTo(B, 200, 200);
    B->SetEnabled(false);
    EXPECT_EQ(PixelOf(B, Mid.X, Mid.Y), Rgb(clLime));

    TBitmap Two;
    Cells(Two, {clRed, clLime});
    B->SetGlyph(&Two);
    B->SetNumGlyphs(2);
    B->SetEnabled(true);
    MoveTo(B, 5, 5);
    EXPECT_EQ(PixelOf(B, Mid.X, Mid.Y), Rgb(clRed));

    // An image of the button's list wins over the glyph while its index is
    // inside the list.
    auto* List = new TCustomImageList(Form);
    List->SetWidth(10);
    List->SetHeight(10);
    TBitmap Blue;
    Blue.SetSize(10, 10);
    Blue.Canvas()->Brush()->SetColor(clBlue);
    Blue.Canvas()->FillRect({0, 0, 10, 10});
    List->Add(&Blue, nullptr);
    B->SetImageList(List);
    B->SetImageIndex(0);
    EXPECT_EQ(PixelOf(B, Mid.X, Mid.Y), Rgb(clBlue));
    B->SetImageIndex(1);
    EXPECT_EQ(PixelOf(B, Mid.X, Mid.Y), Rgb(clRed));

    B->OnPaint = [](TObject*, TCanvas*, TRect, bool, bool, bool& DrawDefault) {
        DrawDefault = false;
    };
    B->Repaint();
    EXPECT_NE(PixelOf(B, Mid.X, Mid.Y), Rgb(clRed));
}

// With the element's ShowFocus a focused button outlines its content
// rectangle (the client rectangle grown with the button) and nothing else.
TEST_F(TButtonTest, ShowFocusOutlinesTheContentRectangle) {
    auto* SD = LoadSkin(EffectsSkin({"showfocus=1"}));
    auto Face = [&](const char* Element) {
        auto* B = MakeButton("");
        B->SetSkinDataName(Element);
        B->SetSkinData(SD);
        B->SetFocus();
        Pump();
        std::vector<std::uint32_t> Pixels;
        for (int Y = 0; Y < 25; ++Y)
            for (int X = 0; X < 75; ++X)
                Pixels.push_back(PixelOf(B, X, Y));
        delete B;
        return Pixels;
    };
    const std::vector<std::uint32_t> Plain = Face("fbutton"), Outlined = Face("ebutton");
    // The face's client rectangle (5, 5, 25, 15) of 30 x 20, at 75 x 25.
    const TRect Content{5, 5, 70, 20};
    int Outline = 0, Elsewhere = 0;
    for (int Y = 0; Y < 25; ++Y)
        for (int X = 0; X < 75; ++X) {
            if (Plain[Y * 75 + X] == Outlined[Y * 75 + X])
                continue;
            const bool OnEdge = (X == Content.Left || X == Content.Right - 1 || Y == Content.Top ||
                                 Y == Content.Bottom - 1) &&
                                X >= Content.Left && X < Content.Right && Y >= Content.Top &&
                                Y < Content.Bottom;
            ++(OnEdge ? Outline : Elsewhere);
        }
    EXPECT_GT(Outline, 40);
    EXPECT_EQ(Elsewhere, 0);
}

TEST_F(TButtonTest, WithoutSkinSizeAFixedFaceIsStretchedAndNoRegionIsSet) {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& P = Skin.AddPicture("fixed.bmp", 30, 20, 24);
    P.AddRegion("face", {0, 0, 30, 20});
    const int Index = Skin.PictureIndex("fixed.bmp");
    Skin.AddControl("button", "fixedbutton",
                    {"pictureindex=" + std::to_string(Index), "skinrect=0,0,30,20",
                     "maskpictureindex=" + std::to_string(Index)});
    auto* SD = LoadSkin(Skin);
    auto* B = MakeButton("");
    B->SetUseSkinSize(false);
    B->SetSkinDataName("fixedbutton");
    B->SetSkinData(SD);
    B->SetBounds(20, 20, 100, 40);
    Pump();
    EXPECT_EQ(B->Width(), 100);
    EXPECT_EQ(B->Height(), 40);
    EXPECT_EQ(Skin.Picture("fixed.bmp").RegionAt(PixelOf(B, 97, 37)), "face");
    EXPECT_EQ(B->MaskPicture, nullptr);
}

TEST_F(TButtonTest, FrameStripPlaysForwardOnEntryAndBackOnLeave) {
    testskin::TTestSkin Skin = EffectsSkin({});
    const testskin::TTestPicture& P = Skin.Picture("effects.bmp");
    Skin.AddControl("button", "animbutton",
                    {"pictureindex=" + std::to_string(Skin.PictureIndex("effects.bmp")),
                     "skinrect=" + testskin::RectText(P.Region("f.normal")),
                     "activeskinrect=" + testskin::RectText(P.Region("f.active")),
                     "animateskinrect=0,40,120,70", "framecount=4", "animateinterval=40"});
    auto* SD = LoadSkin(Skin);
    auto* B = MakeButton("");
    B->SetCanFocused(false);
    B->SetSkinDataName("animbutton");
    B->SetSkinData(SD);
    Pump();
    const std::uint32_t T0 = Clock.Now();
    MoveTo(B, 3, 3);
    std::vector<std::string> Seen;
    for (int Tick = 1; Tick <= 5; ++Tick) {
        Headless.RunUntil(T0 + 40 * Tick);
        Seen.push_back(P.RegionAt(PixelOf(B, 3, 3)));
    }
    EXPECT_EQ(Seen,
              (std::vector<std::string>{"frame2", "frame3", "frame4", "f.active", "f.active"}));
    EXPECT_FALSE(B->Effects().Animating());
    MoveTo(B, 300, 300);
    EXPECT_TRUE(B->Effects().Animating());
    Headless.RunUntil(Clock.Now() + 400);
    EXPECT_EQ(P.RegionAt(PixelOf(B, 3, 3)), "f.normal");
}

} // namespace
