// The component's takeover of its form and the messages it answers itself.
#include "platform/win/Windows.h"
#include "tests/skin/forms/SkinFormFixture.h"

#include <algorithm>
#include <typeinfo>

namespace skinform {
namespace {

using testskin::TTestSkin;

using SkinFormComponent = SkinFormFixture;

TEST_F(SkinFormComponent, CreateTakesOverTheFormAndLeavesTheDocumentedValues) {
    auto* F = new TForm(nullptr);
    F->SetAutoScroll(true);
    auto* C = new TbsSkinForm(F);
    EXPECT_TRUE(F->BorderIcons().Empty());
    EXPECT_FALSE(F->AutoScroll());
    EXPECT_EQ(F->OnShortCut, TShortCutEvent(C, &TbsSkinForm::FormShortCut));
    EXPECT_EQ(F->WindowProc, TWndMethod(C, &TbsSkinForm::NewWndProc));
    EXPECT_EQ(C->BorderIcons(),
              (TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                              TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp}));
    const struct {
        const char* Name;
        long long Value, Expected;
    } Rows[] = {
        {"UseRibbon", C->UseRibbon(), 0},
        {"QuickButtons", C->QuickButtons()->Count(), 0},
        {"QuickImageList", C->QuickImageList() != nullptr, 0},
        {"ClientInActiveEffect", C->FClientInActiveEffect, 0},
        {"ClientInActiveEffectType", C->FClientInActiveEffectType, bsieSemiTransparent},
        {"DisableSystemMenu", C->DisableSystemMenu(), 0},
        {"AlwaysResize", C->AlwaysResize(), 0},
        {"PositionInMonitor", C->PositionInMonitor(), bspDefault},
        {"StatusBar", C->StatusBar() != nullptr, 0},
        {"UseFormCursorInNCArea", C->UseFormCursorInNCArea(), 0},
        {"MaxMenuItemsInWindow", C->MaxMenuItemsInWindow(), 0},
        {"ClientWidth", C->ClientWidth(), 0},
        {"ClientHeight", C->ClientHeight(), 0},
        {"HideCaptionButtons", C->HideCaptionButtons(), 0},
        {"LogoBitMap empty", C->LogoBitMap()->Empty(), 1},
        {"ShowIcon", C->ShowIcon(), 0},
        {"MaximizeOnFullScreen", C->MaximizeOnFullScreen(), 0},
        {"AlphaBlend", C->AlphaBlend(), 0},
        {"AlphaBlendAnimation", C->AlphaBlendAnimation(), 0},
        {"AlphaBlendValue", C->AlphaBlendValue(), 200},
        {"ShowObjectHint", C->FShowObjectHint, 0},
        {"UseDefaultObjectHint", C->FUseDefaultObjectHint, 1},
        {"MenusAlphaBlendValue", C->FMenusAlphaBlendValue, 200},
        {"DefCaptionFont height", C->DefCaptionFont()->Height(), 14},
        {"DefCaptionFont colour", C->DefCaptionFont()->Color(), clBtnText},
        {"DefInActiveCaptionFont colour", C->DefInActiveCaptionFont()->Color(), clBtnShadow},
        {"UseDefaultSysMenu", C->FUseDefaultSysMenu, 1},
        {"SkinData", C->SkinData() != nullptr, 0},
        {"MinWidth", C->MinWidth(), 0},
        {"MaxHeight", C->MaxHeight(), 0},
        {"Magnetic", C->Magnetic(), 0},
        {"MagneticSize", C->MagneticSize(), 5},
        {"RollUpState", C->RollUpState(), 0},
        {"WindowState", C->WindowState(), wsNormal},
        {"MinimizeDefault", C->MinimizeDefault(), 0},
        {"SkinnableForm", C->SkinnableForm(), 1},
        {"ActiveObject", C->ActiveObject, -1},
        {"MouseCaptureObject", C->MouseCaptureObject, -1},
        {"timers off",
         C->MouseTimer->Enabled() + C->MorphTimer->Enabled() + C->AnimateTimer->Enabled(), 0},
    };
    for (const auto& R : Rows)
        EXPECT_EQ(R.Value, R.Expected) << R.Name;
    EXPECT_EQ(C->DefCaptionFont()->Name(), "Arial");
    EXPECT_TRUE(C->DefCaptionFont()->Style().Contains(fsBold));
    EXPECT_EQ(C->GetProductVersion(), "7.81");
    delete F;
}

TEST_F(SkinFormComponent, AnOwnerThatIsNoFormIsRefused) {
    TComponent Owner(nullptr);
    EXPECT_THROW(new TbsSkinForm(&Owner), std::bad_cast);
    EXPECT_EQ(Owner.ComponentCount(), 0);
}

TEST_F(SkinFormComponent, TheWindowIsCreatedThroughTheNewProcedure) {
    auto* F = new TForm(nullptr);
    auto* C = new TbsSkinForm(F);
    std::vector<UINT> Seen;
    const TWndMethod Old = F->WindowProc;
    F->WindowProc = [&](TMessage& M) {
        Seen.push_back(M.Msg);
        Old(M);
    };
    F->HandleNeeded();
    const auto NcCreate = std::find(Seen.begin(), Seen.end(), WM_NCCREATE);
    ASSERT_NE(NcCreate, Seen.end());
    ASSERT_GE(Seen.end() - NcCreate, 3);
    EXPECT_EQ(NcCreate[1], WM_NCCALCSIZE);
    EXPECT_EQ(NcCreate[2], WM_CREATE);
    (void)C;
    delete F;
}

TEST_F(SkinFormComponent, DestroyGivesTheProcedureBackBeforeFreeing) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    C->ActiveObject = 0;
    C->ObjectList[0]->MouseEnter();
    delete C;
    // The window system's own frame answers, as on a form that never had
    // a component.
    auto* Plain = new TForm(nullptr);
    Plain->SetBounds(100, 100, 300, 200);
    Plain->Show();
    for (const TPoint P : {TPoint{250, 110}, TPoint{101, 200}, TPoint{250, 200}})
        EXPECT_EQ(F->Perform(WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)),
                  Plain->Perform(WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)));
    F->Perform(WM_NCPAINT, 0, 0);
    EXPECT_EQ(FindSkinFormComponent(F), nullptr);
    delete Plain;
    delete F;
}

TEST_F(SkinFormComponent, NotificationClearsOnlyTheRemovedReference) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    auto* A = new TbsSkinData(nullptr);
    auto* B = new TbsSkinData(nullptr);
    auto* Menu = new TPopupMenu(nullptr);
    C->SetSkinData(A);
    C->SetMenusSkinData(B);
    C->SetSystemMenu(Menu);
    delete B;
    EXPECT_EQ(C->MenusSkinData(), nullptr);
    EXPECT_EQ(C->SkinData(), A);
    EXPECT_EQ(C->SystemMenu(), Menu);
    delete Menu;
    EXPECT_EQ(C->SystemMenu(), nullptr);
    EXPECT_EQ(C->SkinData(), A);
    delete A;
    EXPECT_EQ(C->SkinData(), nullptr);
}

TEST_F(SkinFormComponent, RemovingTheSkinKeepsTheSwitchAndGivesThePlainLook) {
    TbsSkinData* Skin = LoadSkin(FrameSkin(TFrameSkinOptions().WithMask()));
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    Skin->SetSkinnableForm(false);
    C->FSkinnableForm = true;
    C->SetSkinData(nullptr);
    EXPECT_TRUE(C->SkinnableForm());
    EXPECT_FALSE(C->FSkinSupport);
    ASSERT_NE(C->FRgn, nullptr);
    EXPECT_TRUE(PtInRegion(C->FRgn, 0, 0));
    EXPECT_TRUE(PtInRegion(C->FRgn, 299, 199));
    EXPECT_EQ(F->Perform(WM_NCHITTEST, 0, MAKELPARAM(150, 110)), HTCAPTION);
}

TEST_F(SkinFormComponent, LinkMenuAttachesOnlyToButtons) {
    TTestSkin Skin = FrameSkin();
    Skin.AddObject("button", "menubutton", {"skinrect=0,0,8,8", "activepictureindex=0"});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    TbsSkinForm* C = Component(F);
    TPopupMenu Menu(nullptr);
    C->LinkMenu("nothing", &Menu, false);
    C->LinkMenu("caption", &Menu, false);
    for (auto& O : C->ObjectList) {
        if (auto* B = dynamic_cast<TbsSkinButtonObject*>(O.get())) {
            EXPECT_EQ(B->MenuItem, nullptr) << O->IDName;
        }
    }
    C->LinkMenu("menubutton", &Menu, true);
    auto* B = dynamic_cast<TbsSkinButtonObject*>(C->Object(C->GetIndex("menubutton")));
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->MenuItem, Menu.Items());
    EXPECT_TRUE(B->FPopupUp);
}

TEST_F(SkinFormComponent, FormStyleAcceptsOnlyTopLevelStyles) {
    TForm* F = MakeForm(300, 200);
    Component(F)->SetFormStyle(fsMDIChild);
    EXPECT_EQ(F->FormStyle(), fsNormal);
    Component(F)->SetFormStyle(fsStayOnTop);
    EXPECT_EQ(F->FormStyle(), fsStayOnTop);
}

// ---- messages ----

struct TCalcRow {
    const char* Name;
    bool Skinned;
    TFormBorderStyle Style;
    int W, H;
    TRect Expected;
};

TEST_F(SkinFormComponent, NCCalcSizeShrinksByTheFrame) {
    const TCalcRow Rows[] = {
        {"skin", true, bsSizeable, 400, 300, {5, 30, 395, 295}},
        {"plain", false, bsSizeable, 400, 300, {3, 22, 397, 297}},
        {"tool window", false, bsToolWindow, 400, 300, {3, 18, 397, 297}},
        {"no border", false, bsNone, 400, 300, {0, 0, 400, 300}},
        {"tiny", false, bsSizeable, 4, 4, {3, 22, 3, 22}},
    };
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    for (const TCalcRow& R : Rows) {
        TForm* F = MakeForm(R.W, R.H, R.Style, R.Skinned ? Skin : nullptr);
        NCCALCSIZE_PARAMS P;
        P.rgrc[0] = TRect{0, 0, R.W, R.H};
        Component(F)->NewWndProc(*std::make_unique<TMessage>(
            TMessage{WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&P), 0}));
        EXPECT_EQ(P.rgrc[0], R.Expected) << R.Name;
        EXPECT_GE(P.rgrc[0].Right, P.rgrc[0].Left) << R.Name;
        EXPECT_GE(P.rgrc[0].Bottom, P.rgrc[0].Top) << R.Name;
        delete F;
    }
}

TEST_F(SkinFormComponent, NCActivateAnswersItselfOnOrdinaryForms) {
    TbsSkinData* Skin = LoadSkin(FrameSkin(TFrameSkinOptions().WithInactive()));
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    bool OldReached = false;
    TbsSkinForm* C = Component(F);
    const TWndMethod Old = C->OldWindowProc;
    C->OldWindowProc = [&](TMessage& M) {
        if (M.Msg == WM_NCACTIVATE)
            OldReached = true;
        Old(M);
    };
    EXPECT_EQ(F->Perform(WM_NCACTIVATE, 0, 0), 1);
    EXPECT_FALSE(OldReached);
    EXPECT_FALSE(C->FFormActive);
    delete F;
}

TEST_F(SkinFormComponent, SetCursorKeepsSizingCodesOnly) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    C->SetUseFormCursorInNCArea(true);
    WORD Reached = 0;
    const TWndMethod Old = C->OldWindowProc;
    C->OldWindowProc = [&](TMessage& M) {
        if (M.Msg == WM_SETCURSOR)
            Reached = LOWORD(M.LParam);
        Old(M);
    };
    const std::pair<WORD, WORD> Rows[] = {{2, 1}, {19, 1}, {13, 13}, {1, 1}, {17, 17}, {10, 10}};
    for (const auto& [Code, Expected] : Rows) {
        F->Perform(WM_SETCURSOR, WPARAM(F->Handle()), MAKELPARAM(Code, WM_MOUSEMOVE));
        EXPECT_EQ(Reached, Expected) << Code;
    }
    delete F;
}

TEST_F(SkinFormComponent, MinMaxInfoCarriesTheLimits) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(400, 300, bsSizeable, Skin);
    MINMAXINFO Info{};
    F->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    EXPECT_EQ(Info.ptMinTrackSize, (TPoint{300, 35}));
    EXPECT_EQ(Info.ptMaxTrackSize, (TPoint{1920, 1040}));
}

TEST_F(SkinFormComponent, FrameQueriesAndPaintIntoADC) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    auto B = PaintFrame(F);
    EXPECT_EQ(PixelOf(B.get(), 2, 100), Region("left"));
    EXPECT_EQ(F->Perform(WM_PAINTTODC, WPARAM(B->Canvas()->Handle()), PAINTTODC_TOKEN),
              PAINTTODC_TOKEN);
    EXPECT_EQ(F->Perform(WM_PAINTTODC, 0, 5), 0);
    EXPECT_EQ(F->Perform(WM_QUERYSKINFRAME, 0, 0), QUERYSKINFRAME_SKINNED);
    Component(F)->FSkinnableForm = false;
    EXPECT_EQ(F->Perform(WM_QUERYSKINFRAME, 0, 0), QUERYSKINFRAME_NATIVE);
}

TEST_F(SkinFormComponent, SysCommandKeyMenuIsNeverPassedOn) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    std::vector<WPARAM> Reached;
    const TWndMethod Old = C->OldWindowProc;
    C->OldWindowProc = [&](TMessage& M) {
        if (M.Msg == WM_SYSCOMMAND)
            Reached.push_back(M.WParam);
        else
            Old(M);
    };
    int Restores = 0;
    C->OnRestore = [&](TObject*) { ++Restores; };
    F->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
    F->Perform(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(Reached, (std::vector<WPARAM>{SC_RESTORE}));
    EXPECT_EQ(Restores, 1);
    delete F;
}

TEST_F(SkinFormComponent, AMaximizedFormDoesNotMove) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    C->SetWindowState(wsMaximized);
    TRect R{10, 10, 310, 210};
    F->Perform(WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_EQ(R, F->BoundsRect());
}

TEST_F(SkinFormComponent, FadeInStepsToTheTargetWithACompositor) {
    struct TRow {
        const char* Name;
        bool AlphaBlend;
        BYTE Value;
        bool Compositor;
        std::vector<int> Steps;
        bool LayeredAfter;
    };
    std::vector<int> Full, Partial;
    for (int A = 17; A <= 255; A += 17)
        Full.push_back(A);
    for (int A = 13; A < 200; A += 13)
        Partial.push_back(A);
    Partial.push_back(200);
    const TRow Rows[] = {{"animation", false, 200, true, Full, false},
                         {"alpha blend", true, 200, true, Partial, true},
                         {"no compositor", true, 200, false, {255}, false}};
    TSteppingClock Stepping(1, 5000);
    for (const TRow& R : Rows) {
        Headless.SetHasCompositor(R.Compositor);
        auto* F = new TForm(nullptr);
        F->SetBounds(10, 10, 300, 200);
        auto* C = new TbsSkinForm(F);
        C->SetAlphaBlendAnimation(true);
        C->SetAlphaBlend(R.AlphaBlend);
        C->SetAlphaBlendValue(R.Value);
        F->Show();
        std::vector<int> Seen;
        const TSurfaceId S = WindowSurface(F->Handle());
        EXPECT_EQ((GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, R.Compositor)
            << R.Name;
        if (R.Compositor)
            EXPECT_EQ(Headless.Surface(S)->Alpha.value_or(255), 0) << R.Name;
        else
            EXPECT_EQ(Headless.Surface(S)->Alpha.value_or(255), 255) << R.Name;
        // The fade busy-waits on the tick clock: every read of the clock
        // notes the alpha the surface has then.
        SetTickSource([&] {
            const auto* Surface = Headless.Surface(S);
            if (Surface && Surface->Alpha && *Surface->Alpha != 0 &&
                (Seen.empty() || Seen.back() != *Surface->Alpha))
                Seen.push_back(*Surface->Alpha);
            return Stepping.Read();
        });
        TMessage M{WM_TIMER, 1, 0, 0};
        C->NewWndProc(M);
        const int Final = Headless.Surface(S)->Alpha.value_or(255);
        if (Seen.empty() || Seen.back() != Final)
            Seen.push_back(Final);
        SetTickSource(Clock.Source());
        EXPECT_EQ(Seen, R.Steps) << R.Name;
        EXPECT_EQ((GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, R.LayeredAfter)
            << R.Name;
        delete F;
    }
}

// ---- the application hook and menu states ----

TEST_F(SkinFormComponent, HooksAreRemovedByIdentityInAnyOrder) {
    TForm* A = MakeForm(300, 200);
    TForm* B = MakeForm(300, 200);
    int User = 0, Third = 0;
    Application->OnMessage = [&](MSG& M, bool&) { User += M.message == WM_KEYDOWN; };
    const TMessageEvent ThirdHook = [&](MSG& M, bool&) { Third += M.message == WM_KEYDOWN; };
    Application->AddMessageHook(ThirdHook);
    Component(A)->SkinMenuOpen();
    Component(B)->SkinMenuOpen();
    Component(A)->SkinMenuClose();
    PostMessage(A->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    Application->ProcessMessages();
    EXPECT_EQ(User, 0) << "B's hook still takes the keys";
    EXPECT_EQ(Third, 0);
    Component(B)->SkinMenuClose();
    PostMessage(A->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    Application->ProcessMessages();
    EXPECT_GE(User, 1);
    EXPECT_GE(Third, 1);
    Component(A)->SkinMenuOpen();
    delete A;
    User = 0;
    PostMessage(B->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    Application->ProcessMessages();
    EXPECT_GE(User, 1) << "a destroyed component leaves no hook behind";
    Application->RemoveMessageHook(ThirdHook);
}

TEST_F(SkinFormComponent, WhileInMenuKeysAndWheelsReachNoWindow) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    C->SkinMenuOpen();
    auto Msg = [&](UINT Message, WPARAM W) {
        MSG M{};
        M.hwnd = F->Handle();
        M.message = Message;
        M.wParam = W;
        return M;
    };
    MSG Key = Msg(WM_KEYDOWN, VK_ESCAPE), Wheel = Msg(WM_MOUSEWHEEL, 0),
        Click = Msg(WM_LBUTTONDOWN, 0);
    for (MSG* M : {&Key, &Wheel, &Click}) {
        bool Handled = false;
        C->AppOnMessage(*M, Handled);
        EXPECT_EQ(Handled, M != &Click);
    }
    EXPECT_EQ(Key.message, 0u);
    EXPECT_EQ(Wheel.message, 0u);
    EXPECT_EQ(Click.message, UINT(WM_LBUTTONDOWN));
}

TEST_F(SkinFormComponent, MenuOpenAndCloseRunOnceAndReleaseTheButton) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    int Opens = 0, Closes = 0;
    C->OnSkinMenuOpen = [&](TObject*) { ++Opens; };
    C->OnSkinMenuClose = [&](TObject*) { ++Closes; };
    TPopupMenu Menu(nullptr);
    auto* B = dynamic_cast<TbsSkinButtonObject*>(C->ObjectList[1].get());
    ASSERT_NE(B, nullptr);
    B->MenuItem = Menu.Items();
    B->FDown = true;
    C->SkinMenuOpen();
    C->SkinMenuOpen();
    EXPECT_EQ(Opens, 1);
    EXPECT_TRUE(C->FInAppHook);
    C->SkinMenuClose();
    EXPECT_EQ(Closes, 1);
    EXPECT_FALSE(C->FInAppHook);
    EXPECT_FALSE(B->FDown);
}

TEST_F(SkinFormComponent, ShortCuts) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    int UserCalls = 0;
    C->OnShortCut = [&](TWMKey&, bool& Handled) {
        ++UserCalls;
        Handled = true;
    };
    TWMKey AltSpace{WM_SYSKEYDOWN, VK_SPACE, 1 << 29, 0};
    bool Handled = false;
    C->FormShortCut(AltSpace, Handled);
    EXPECT_EQ(UserCalls, 1);
    EXPECT_TRUE(Handled);
    C->OnShortCut = nullptr;
    Handled = false;
    C->FInShortCut = true;
    C->FormShortCut(AltSpace, Handled);
    EXPECT_TRUE(Handled);
    EXPECT_FALSE(C->FInShortCut);
    TWMKey CtrlO{WM_KEYDOWN, 'O', 0, 0};
    Handled = false;
    C->FormShortCut(CtrlO, Handled);
    EXPECT_FALSE(Handled);
}

} // namespace
} // namespace skinform
