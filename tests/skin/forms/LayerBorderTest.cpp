// The layered border: whether it is used, its four windows around the form,
// their pictures and alpha, and the drags that resize the form.
#include "platform/core/Conversions.h"
#include "platform/win/Windows.h"
#include "skin/forms/SkinForm.LayerBorder.h"
#include "skin/model/bsUtils.Layers.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using testskin::TTestSkin;

// A layer picture of 440 x 340 with the form in (20, 20, 420, 320), corner
// points 10 pixels further in, a resize band of 10 around the form.
class SkinFormLayerBorder : public SkinFormFixture {
protected:
    TTestSkin LayerSkin(const testskin::TKeys& Extra = {}) {
        TTestSkin Skin = FrameSkin();
        testskin::TTestPicture& P = Skin.AddPicture("layer.bmp", 440, 340, 24);
        P.AddRegion("topleft", {0, 0, 30, 30});
        P.AddRegion("top", {30, 0, 410, 30});
        P.AddRegion("side", {0, 30, 20, 310});
        P.AddRegion("bottom", {30, 310, 410, 340});
        testskin::TTestPicture& M = Skin.AddPicture("layermask.bmp", 440, 340, 24);
        M.AddRegion("all", {0, 0, 440, 340});
        testskin::TKeys Keys{"pictureindex=" + std::to_string(Skin.PictureIndex("layer.bmp")),
                             "maskpictureindex=" +
                                 std::to_string(Skin.PictureIndex("layermask.bmp")),
                             "lefttoppoint=30,30",
                             "righttoppoint=410,30",
                             "leftbottompoint=30,310",
                             "rightbottompoint=410,310",
                             "clientrect=20,20,420,320",
                             "alphablendvalue=255",
                             "inactivealphablendvalue=180",
                             "borderrect=10,10,430,330",
                             "hittestenable=1"};
        for (const std::string& Key : Extra) {
            const std::string Name = Key.substr(0, Key.find('='));
            std::erase_if(
                Keys, [&](const std::string& Old) { return Old.substr(0, Old.find('=')) == Name; });
            Keys.push_back(Key);
        }
        Skin.SetRecord("LAYERFRAME", Keys);
        Layer = Skin;
        return Skin;
    }

    TForm* MakeFramed(const testskin::TKeys& Extra = {}) {
        F = MakeForm(400, 300, bsSizeable, LoadSkin(LayerSkin(Extra)));
        F->SetBounds(500, 200, 400, 300);
        Application->ProcessMessages();
        C = Component(F);
        // The first tick of the show fade brings the border to full alpha.
        TMessage Tick{WM_TIMER, 1, 0, 0};
        C->NewWndProc(Tick);
        return F;
    }

    TbsFormLayerWindow* Side(TbsFormLayerBorderType T) {
        return C->FBorderLayer ? C->FBorderLayer->Window(T) : nullptr;
    }

    TRect WindowRect(TbsFormLayerWindow* W) {
        TRect R{-1, -1, -1, -1};
        if (W)
            GetWindowRect(W->Handle(), &R);
        return R;
    }

    // Presses at From, moves to To in one step, releases.
    void Drag(TPoint From, TPoint To) {
        Headless.MovePointer(From.X, From.Y);
        Application->ProcessMessages();
        Headless.Press();
        Application->ProcessMessages();
        Headless.MovePointer(To.X, To.Y);
        Application->ProcessMessages();
        Headless.Release();
        Application->ProcessMessages();
    }

    static TRect Bounds(TForm* Form) {
        return TRect{Form->Left(), Form->Top(), Form->Left() + Form->Width(),
                     Form->Top() + Form->Height()};
    }

    TTestSkin Layer;
    TForm* F = nullptr;
    TbsSkinForm* C = nullptr;
};

TEST_F(SkinFormLayerBorder, UsedOnlyWithEverythingInPlace) {
    struct Row {
        const char* Name;
        bool Expected;
        std::function<void(TbsSkinForm*, TbsSkinData*)> Change;
        bool Compositor = true;
    };
    const Row Rows[] = {
        {"layer frame", true, [](TbsSkinForm*, TbsSkinData*) {}},
        {"borders off", false,
         [](TbsSkinForm*, TbsSkinData* S) { S->SetShowLayeredBorders(false); }},
        {"no border", false, [](TbsSkinForm* C, TbsSkinData*) { C->SetFormBorderStyle(bsNone); }},
        {"preview", false, [](TbsSkinForm* C, TbsSkinData*) { C->PreviewMode = true; }},
        {"no skin", false, [](TbsSkinForm* C, TbsSkinData*) { C->SetSkinData(nullptr); }},
        {"no compositor", false, [](TbsSkinForm*, TbsSkinData*) {}, false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Headless.SetHasCompositor(R.Compositor);
        TbsSkinData* Skin = LoadSkin(LayerSkin());
        TForm* Form = MakeForm(400, 300, bsSizeable, Skin);
        TbsSkinForm* Comp = Component(Form);
        R.Change(Comp, Skin);
        EXPECT_EQ(Comp->IsLayeredBorderUsed(), R.Expected);
        if (!R.Expected) {
            Comp->FormChangeSkinData();
            EXPECT_FALSE(Comp->IsLayeredBorderVisible());
        }
        delete Form;
    }
}

TEST_F(SkinFormLayerBorder, FourWindowsAroundTheFormFollowIt) {
    MakeFramed();
    ASSERT_TRUE(C->IsLayeredBorderVisible());
    EXPECT_EQ(WindowRect(Side(bsflTop)), (TRect{480, 180, 920, 210}));
    EXPECT_EQ(WindowRect(Side(bsflBottom)), (TRect{480, 490, 920, 520}));
    EXPECT_EQ(WindowRect(Side(bsflLeft)), (TRect{480, 210, 500, 490}));
    EXPECT_EQ(WindowRect(Side(bsflRight)), (TRect{900, 210, 920, 490}));
    // Per-pixel pictures cut from the layer picture, alpha from the mask's
    // grey; the form keeps the focus.
    const THeadlessSurface* Top = Headless.Surface(WindowSurface(Side(bsflTop)->Handle()));
    ASSERT_NE(Top, nullptr);
    ASSERT_EQ(Top->ImageWidth, 440);
    const std::uint32_t Grey = Layer.Picture("layermask.bmp").ColourOf("all");
    const int Alpha = ((Grey >> 16) + ((Grey >> 8) & 255) + (Grey & 255)) / 3;
    EXPECT_NEAR(int(Top->Image[100] >> 24), Alpha, 1);
    EXPECT_TRUE(F->Active());
    EXPECT_EQ(Headless.Focused(), WindowSurface(F->Handle()));
    for (auto T : {bsflLeft, bsflTop, bsflRight, bsflBottom}) {
        EXPECT_TRUE(GetWindowLong(Side(T)->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ(Side(T)->ClassName(), "TbsFormLayerWindow");
    }

    F->SetLeft(550);
    Application->ProcessMessages();
    EXPECT_EQ(WindowRect(Side(bsflTop)), (TRect{530, 180, 970, 210}));
    EXPECT_EQ(WindowRect(Side(bsflRight)), (TRect{950, 210, 970, 490}));
    F->SetWidth(450);
    Application->ProcessMessages();
    EXPECT_EQ(WindowRect(Side(bsflTop)), (TRect{530, 180, 1020, 210}));
    EXPECT_EQ(WindowRect(Side(bsflBottom)), (TRect{530, 490, 1020, 520}));
    EXPECT_EQ(WindowRect(Side(bsflRight)), (TRect{1000, 210, 1020, 490}));

    // Another skin without a layer picture: no border.
    C->SetSkinData(LoadSkin(FrameSkin(TFrameSkinOptions{}.WithVariant(1))));
    EXPECT_FALSE(C->IsLayeredBorderVisible());
    EXPECT_EQ(Side(bsflTop), nullptr);
}

TEST_F(SkinFormLayerBorder, AlphaFollowsTheFormAndItsActivity) {
    MakeFramed();
    TbsFormLayerBorder* B = C->FBorderLayer;
    B->CheckFormAlpha(128, false);
    EXPECT_EQ(B->FCurrentAlphaBlendValue, 128);
    EXPECT_EQ(B->FCurrentInActiveAlphaBlendValue, 90);
    B->CheckFormAlpha(255, true);
    const TSurfaceId S = WindowSurface(Side(bsflTop)->Handle());
    const int ActiveAlpha = Headless.Surface(S)->Image[100] >> 24;
    Headless.TakeFocusAway();
    Application->ProcessMessages();
    EXPECT_FALSE(B->FActive);
    EXPECT_LT(int(Headless.Surface(WindowSurface(Side(bsflTop)->Handle()))->Image[100] >> 24),
              ActiveAlpha);
    F->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(B->FActive);
    EXPECT_EQ(int(Headless.Surface(WindowSurface(Side(bsflTop)->Handle()))->Image[100] >> 24),
              ActiveAlpha);
}

TEST_F(SkinFormLayerBorder, AnEmptySideHasNoWindow) {
    MakeFramed({"clientrect=0,20,420,320", "borderrect=0,10,430,330"});
    ASSERT_TRUE(C->IsLayeredBorderVisible());
    EXPECT_EQ(Side(bsflLeft), nullptr);
    EXPECT_NE(Side(bsflTop), nullptr);
    EXPECT_NE(Side(bsflRight), nullptr);
    EXPECT_NE(Side(bsflBottom), nullptr);
}

TEST_F(SkinFormLayerBorder, HitTestOfEachWindow) {
    MakeFramed();
    struct Row {
        TbsFormLayerBorderType Side;
        TPoint P;
        TbsFormLayerBorderHit Hit;
    };
    // The form is (500, 200, 900, 500); the bands are 10 wide.
    const Row Rows[] = {
        {bsflLeft, {490, 300}, bsflhLeft},     {bsflLeft, {489, 300}, bsflhNone},
        {bsflRight, {910, 300}, bsflhRight},   {bsflRight, {911, 300}, bsflhNone},
        {bsflTop, {490, 190}, bsflhTopLeft},   {bsflTop, {502, 202}, bsflhTopLeft},
        {bsflTop, {503, 195}, bsflhTop},       {bsflTop, {898, 195}, bsflhTop},
        {bsflTop, {905, 195}, bsflhTopRight},  {bsflTop, {909, 202}, bsflhTopRight},
        {bsflTop, {495, 205}, bsflhLeft},      {bsflTop, {905, 205}, bsflhRight},
        {bsflTop, {600, 185}, bsflhNone},      {bsflBottom, {490, 498}, bsflhBottomLeft},
        {bsflBottom, {600, 505}, bsflhBottom}, {bsflBottom, {905, 509}, bsflhBottomRight},
        {bsflBottom, {495, 495}, bsflhLeft},   {bsflBottom, {600, 511}, bsflhNone},
    };
    for (const Row& R : Rows) {
        Headless.MovePointer(R.P.X, R.P.Y);
        EXPECT_EQ(Side(R.Side)->HitTest(), R.Hit) << R.P.X << "," << R.P.Y;
    }
}

TEST_F(SkinFormLayerBorder, DraggingTheBandsResizesWithinTheLimits) {
    MakeFramed();
    Drag({495, 300}, {465, 300});
    EXPECT_EQ(Bounds(F), (TRect{470, 200, 900, 500})) << "the right edge stays";
    Drag({905, 300}, {935, 300});
    EXPECT_EQ(Bounds(F), (TRect{470, 200, 930, 500}));
    Drag({935, 505}, {955, 515});
    EXPECT_EQ(Bounds(F), (TRect{470, 200, 950, 510}));
    Drag({955, 515}, {975, 515});
    EXPECT_EQ(Bounds(F), (TRect{470, 200, 970, 510})) << "only the width";

    // Towards the minimum: the step that would move the right edge is dropped.
    C->SetMinWidth(480);
    Headless.MovePointer(465, 300);
    Application->ProcessMessages();
    Headless.Press();
    Application->ProcessMessages();
    Headless.MovePointer(475, 300);
    Application->ProcessMessages();
    EXPECT_EQ(Bounds(F), (TRect{480, 200, 970, 510}));
    Headless.MovePointer(500, 300);
    Application->ProcessMessages();
    Headless.Release();
    Application->ProcessMessages();
    EXPECT_EQ(Bounds(F), (TRect{480, 200, 970, 510}));
}

TEST_F(SkinFormLayerBorder, NoResizeWhenTheFormCannotBeResized) {
    MakeFramed();
    C->SetRollUpState(true);
    Application->ProcessMessages();
    const TRect Before = Bounds(F);
    TbsFormLayerWindow* Left = Side(bsflLeft);
    ASSERT_NE(Left, nullptr);
    Drag({495, 205}, {465, 205});
    EXPECT_EQ(Bounds(F), Before);
    EXPECT_EQ(Side(bsflLeft) ? Side(bsflLeft)->Cursor() : crDefault, crDefault);
}

TEST_F(SkinFormLayerBorder, WithoutABorderRectClicksPassThrough) {
    MakeFramed({"borderrect=0,0,0,0"});
    ASSERT_NE(Side(bsflTop), nullptr);
    EXPECT_TRUE(GetWindowLong(Side(bsflTop)->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_NE(WindowFromPoint(TPoint{600, 185}), Side(bsflTop)->Handle());
    const TRect Before = Bounds(F);
    Drag({600, 195}, {600, 150});
    EXPECT_EQ(Bounds(F), Before);
}

TEST_F(SkinFormLayerBorder, WithoutHitTestAClickNeitherShowsNorResizes) {
    MakeFramed({"hittestenable=0"});
    TForm* Other = MakeForm(200, 100);
    Other->SetFocus();
    Application->ProcessMessages();
    ASSERT_FALSE(F->Active());
    const TRect Before = Bounds(F);
    Drag({600, 195}, {600, 150});
    EXPECT_EQ(Bounds(F), Before);
    EXPECT_FALSE(F->Active());
}

TEST_F(SkinFormLayerBorder, AFormHiddenDuringADragStepTakesItsWindowsAlong) {
    MakeFramed();
    Headless.MovePointer(905, 300);
    Application->ProcessMessages();
    Headless.Press();
    Application->ProcessMessages();
    PostMessage(F->Handle(), WM_CLOSE, 0, 0);
    Headless.MovePointer(925, 300);
    Application->ProcessMessages();
    Headless.MovePointer(945, 300);
    Headless.Release();
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_FALSE(F->Visible());
    EXPECT_FALSE(C->IsLayeredBorderVisible());
    for (int I = 0; I < Screen->FormCount(); ++I)
        EXPECT_EQ(dynamic_cast<TbsFormLayerWindow*>(Screen->Forms(I)), nullptr);
}

// However the form goes to the task bar, its border goes with it, and
// comes back around it on restore; a second round does the same.
TEST_F(SkinFormLayerBorder, TheBorderIsHiddenWhileTheFormIsMinimized) {
    struct Row {
        const char* Name;
        bool Main;
        std::function<void(TForm*, TbsSkinForm*, THeadlessBackend&)> Minimize, Restore;
    };
    const Row Rows[] = {
        {"its own minimize button", true,
         [](TForm*, TbsSkinForm* C, THeadlessBackend&) { C->SetWindowState(wsMinimized); },
         [](TForm*, TbsSkinForm*, THeadlessBackend&) { Application->Restore(); }},
        {"by the desktop", false,
         [](TForm* F, TbsSkinForm*, THeadlessBackend& H) {
             H.IconifyByDesktop(WindowSurface(F->Handle()), true);
         },
         [](TForm* F, TbsSkinForm*, THeadlessBackend& H) {
             H.IconifyByDesktop(WindowSurface(F->Handle()), false);
         }},
        {"minimized as a plain window", false,
         [](TForm*, TbsSkinForm* C, THeadlessBackend&) {
             C->SetMinimizeDefault(true);
             C->SetWindowState(wsMinimized);
         },
         [](TForm* F, TbsSkinForm*, THeadlessBackend&) { ShowWindow(F->Handle(), SW_RESTORE); }},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        MakeFramed();
        if (R.Main)
            Application->SetMainForm(F);
        ASSERT_TRUE(C->IsLayeredBorderVisible());
        const TRect Top = WindowRect(Side(bsflTop));
        for (int Round = 0; Round < 2; ++Round) {
            SCOPED_TRACE(Round);
            R.Minimize(F, C, Headless);
            Application->ProcessMessages();
            ASSERT_TRUE(IsIconic(F->Handle()));
            for (auto T : {bsflLeft, bsflTop, bsflRight, bsflBottom}) {
                ASSERT_NE(Side(T), nullptr);
                EXPECT_FALSE(IsWindowVisible(Side(T)->Handle())) << T;
                EXPECT_FALSE(Headless.Surface(WindowSurface(Side(T)->Handle()))->Visible) << T;
            }
            R.Restore(F, C, Headless);
            Application->ProcessMessages();
            ASSERT_FALSE(IsIconic(F->Handle()));
            ASSERT_TRUE(C->IsLayeredBorderVisible());
            for (auto T : {bsflLeft, bsflTop, bsflRight, bsflBottom}) {
                ASSERT_NE(Side(T), nullptr);
                EXPECT_TRUE(IsWindowVisible(Side(T)->Handle())) << T;
                EXPECT_TRUE(Headless.Surface(WindowSurface(Side(T)->Handle()))->Visible) << T;
            }
            EXPECT_EQ(WindowRect(Side(bsflTop)), Top);
        }
        Application->SetMainForm(nullptr);
        delete F;
    }
}

TEST_F(SkinFormLayerBorder, BorderFadeMakesTheFormOpaqueAtTheFirstTick) {
    MakeFramed();
    if (!C->UseVistaBorderFade())
        GTEST_SKIP() << "the border fade needs the newer system rule";
    C->SetAlphaBlendValue(200);
    F->Hide();
    Application->ProcessMessages();
    F->Show();
    EXPECT_TRUE(GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(C->FBorderLayer->FCurrentAlphaBlendValue, 0);
    TMessage M{WM_TIMER, 1, 0, 0};
    C->NewWndProc(M);
    EXPECT_FALSE(GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(C->FBorderLayer->FCurrentAlphaBlendValue, 255);
}

// A form shown by a window effect gets its border when the effect ends: the
// border's alpha climbs to its value in steps of a fifteenth.
TEST_F(SkinFormLayerBorder, AfterAWindowEffectTheBorderFadesIn) {
    MakeFramed({"alphablendvalue=200"});
    TbsFormLayerBorder* B = C->FBorderLayer;
    ASSERT_EQ(B->FCurrentAlphaBlendValue, 200);
    TMessage Begin{WM_BEGINSMARTEFFECT, 0, 0, 0};
    C->NewWndProc(Begin);
    std::vector<int> Seen;
    TSteppingClock Stepping(1, 5000);
    // The fade busy-waits on the tick clock: every read notes the border's
    // alpha then.
    SetTickSource([&] {
        if (Seen.empty() || Seen.back() != B->FCurrentAlphaBlendValue)
            Seen.push_back(B->FCurrentAlphaBlendValue);
        return Stepping.Read();
    });
    TMessage End{WM_ENDSMARTEFFECT, 0, 0, 0};
    C->NewWndProc(End);
    SetTickSource(Clock.Source());
    if (Seen.empty() || Seen.back() != B->FCurrentAlphaBlendValue)
        Seen.push_back(B->FCurrentAlphaBlendValue);
    std::vector<int> Expected{200, 0}; // the value before, then from nothing
    for (int A = 13; A < 200; A += 13)
        Expected.push_back(A);
    Expected.push_back(200);
    EXPECT_EQ(Seen, Expected);
    EXPECT_TRUE(IsWindowVisible(Side(bsflTop)->Handle()));
    // A second end without a new effect does nothing.
    Seen.clear();
    C->NewWndProc(End);
    EXPECT_TRUE(Seen.empty());
}

// Brought back from the tray, the main form comes to the front and a
// stay-on-top form in front of it.
TEST_F(SkinFormLayerBorder, BackFromTheTrayTheStayOnTopFormIsInFront) {
    MakeFramed();
    Application->SetMainForm(F);
    TForm* OnTop = MakeForm(200, 100);
    OnTop->SetFormStyle(fsStayOnTop);
    TForm* Other = MakeForm(200, 100);
    Other->SetFocus();
    Application->ProcessMessages();
    ASSERT_EQ(GetForegroundWindow(), Other->Handle());
    std::vector<HWND> Order;
    for (TForm* Form : {F, OnTop}) {
        TWndMethod Old = Form->WindowProc;
        Form->WindowProc = [Form, Old, &Order](TMessage& M) {
            if (M.Msg == WM_ACTIVATE && LOWORD(M.WParam) != WA_INACTIVE)
                Order.push_back(Form->Handle());
            Old(M);
        };
    }
    F->SetTag(-10000); // hidden to the tray
    F->Perform(WM_SHOWFROMTRAY, 0, 0);
    EXPECT_EQ(Order, (std::vector<HWND>{F->Handle(), OnTop->Handle()}));
    EXPECT_EQ(GetForegroundWindow(), OnTop->Handle());
    EXPECT_EQ(F->Tag(), 0);
    // Not tagged: nothing is brought forward.
    Order.clear();
    F->Perform(WM_SHOWFROMTRAY, 0, 0);
    EXPECT_TRUE(Order.empty());
    for (TForm* Form : {F, OnTop})
        Form->WindowProc = TWndMethod(Form, &TControl::WndProc);
    Application->SetMainForm(nullptr);
}

// The form's own fade takes its border along: at every step the border's
// alpha is its element's value scaled by the form's, and the form ends
// opaque and unlayered.
TEST_F(SkinFormLayerBorder, TheShowFadeScalesTheBorderAtEveryStep) {
    MakeFramed({"alphablendvalue=200"});
    C->SetAlphaBlendAnimation(true);
    F->Hide();
    Application->ProcessMessages();
    F->Show();
    TbsFormLayerBorder* B = C->FBorderLayer;
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->FCurrentAlphaBlendValue, 0);
    const TSurfaceId S = WindowSurface(F->Handle());
    std::vector<std::pair<int, int>> Seen; // form alpha, border alpha
    TSteppingClock Stepping(1, 5000);
    SetTickSource([&] {
        const auto* Surface = Headless.Surface(S);
        const int Form = Surface && Surface->Alpha ? *Surface->Alpha : 255;
        if (Form != 0 && (Seen.empty() || Seen.back().first != Form))
            Seen.emplace_back(Form, B->FCurrentAlphaBlendValue);
        return Stepping.Read();
    });
    TMessage Tick{WM_TIMER, 1, 0, 0};
    C->NewWndProc(Tick);
    SetTickSource(Clock.Source());
    std::vector<std::pair<int, int>> Expected;
    for (int A = 17; A <= 255; A += 17)
        Expected.emplace_back(A, static_cast<int>(Round(200 * (A / 255.0))));
    // The last step is seen after the loop, with the opaque form.
    Expected.pop_back();
    EXPECT_EQ(Seen, Expected);
    EXPECT_FALSE(GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(B->FCurrentAlphaBlendValue, 200);
}

} // namespace
} // namespace skinform
