// What each frame point means, the magnet, the window states and the size
// limits.
#include "platform/win/Windows.h"
#include "skin/model/bsUtils.Rects.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using B = TbsBorderIcon;
using SkinFormStates = SkinFormFixture;

// Hit test at a point of the frame of a form placed at (100, 100).
LRESULT HitAt(TForm* F, int X, int Y) {
    return F->Perform(WM_NCHITTEST, 0, MAKELPARAM(F->Left() + X, F->Top() + Y));
}

struct THitRow {
    const char* Name;
    int X, Y;
    LRESULT Expected;
};

TEST_F(SkinFormStates, SkinnedHitTest) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* Fixed = MakeForm(300, 200, bsSingle, Skin);
    const THitRow FixedRows[] = {{"border", 2, 100, HTOBJECT},
                                 {"caption text", 100, 15, HTCAPTION},
                                 {"client", 150, 100, HTCLIENT},
                                 {"caption band outside the caption", 20, 28, HTOBJECT}};
    for (const THitRow& R : FixedRows)
        EXPECT_EQ(HitAt(Fixed, R.X, R.Y), R.Expected) << R.Name;

    TForm* Sizeable = MakeForm(300, 200, bsSizeable, Skin);
    const THitRow SizeRows[] = {
        {"top-left", 3, 3, HTTOPLEFT},     {"top edge", 150, 2, HTTOP},
        {"right edge", 298, 100, HTRIGHT}, {"bottom-right", 298, 198, HTBOTTOMRIGHT},
        {"left edge", 1, 100, HTLEFT},     {"inside the band", 150, 15, HTCAPTION},
        {"client", 150, 100, HTCLIENT}};
    for (const THitRow& R : SizeRows)
        EXPECT_EQ(HitAt(Sizeable, R.X, R.Y), R.Expected) << R.Name;

    TbsSkinForm* C = Component(Sizeable);
    C->SetRollUpState(true);
    EXPECT_EQ(HitAt(Sizeable, 100, 15), HTCAPTION);
    EXPECT_EQ(HitAt(Sizeable, 2, 2), HTOBJECT);
}

TEST_F(SkinFormStates, PlainHitTest) {
    TForm* F = MakeForm(300, 200);
    const THitRow Rows[] = {
        {"x 0", 0, 100, HTLEFT},         {"x 2", 2, 100, HTLEFT},
        {"x 3", 3, 100, HTCLIENT},       {"x 296", 296, 100, HTCLIENT},
        {"x 297", 297, 100, HTOBJECT},   {"x 298", 298, 100, HTRIGHT},
        {"y 197", 150, 197, HTOBJECT},   {"y 199", 150, 199, HTBOTTOM},
        {"caption", 100, 10, HTCAPTION}, {"below the caption rectangle", 100, 20, HTOBJECT},
    };
    for (const THitRow& R : Rows)
        EXPECT_EQ(HitAt(F, R.X, R.Y), R.Expected) << R.Name;
}

TEST_F(SkinFormStates, QuickButtonsAreNoCaption) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSingle, Skin);
    TbsSkinForm* C = Component(F);
    TCustomImageList Images(nullptr);
    Images.SetWidth(16);
    Images.SetHeight(16);
    C->SetQuickImageList(&Images);
    C->QuickButtons()->Add();
    C->QuickButtons()->Add();
    const int Left = C->Object(C->GetIndex("caption"))->ObjectRect.Left;
    EXPECT_NE(HitAt(F, Left + 47, 15), HTCAPTION);
    EXPECT_EQ(HitAt(F, Left + 48, 15), HTCAPTION);
    C->SetQuickImageList(nullptr);
}

TEST_F(SkinFormStates, MagnetSnapsInsideTheSizeAndHoldsUntilTheCursorMoves) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    C->SetMagnetic(true);
    int X = 5, Y = 500;
    Headless.MovePointer(400, 600);
    C->DoMagnetic(X, Y, 300, 200);
    EXPECT_EQ(X, 5) << "a distance of exactly the size does not snap";
    X = 4;
    C->DoMagnetic(X, Y, 300, 200);
    EXPECT_EQ(X, 0);
    Headless.MovePointer(395, 600);
    X = -1;
    C->DoMagnetic(X, Y, 300, 200);
    EXPECT_EQ(X, 0) << "stays while the cursor moved no more than the size";
    Headless.MovePointer(394, 600);
    X = -2;
    C->DoMagnetic(X, Y, 300, 200);
    EXPECT_EQ(X, -6) << "breaks free and follows the cursor from where it snapped";
}

TEST_F(SkinFormStates, MaximizeToTheWorkArea) {
    struct TRow {
        const char* Name;
        TRect WorkArea;
        bool FullScreen;
        TRect Expected;
    };
    const TRow Rows[] = {
        {"task bar", {0, 0, 1920, 1040}, false, {0, 0, 1920, 1040}},
        {"work area is the screen", {0, 0, 1920, 1080}, false, {1, 1, 1919, 1079}},
        {"full screen", {0, 0, 1920, 1040}, true, {0, 0, 1920, 1080}},
    };
    for (const TRow& R : Rows) {
        Headless.SetScreens({{TRect{0, 0, 1920, 1080}, R.WorkArea, true}});
        TForm* F = MakeForm(300, 200);
        TbsSkinForm* C = Component(F);
        C->SetMaximizeOnFullScreen(R.FullScreen);
        C->SetWindowState(wsMaximized);
        EXPECT_EQ(F->BoundsRect(), R.Expected) << R.Name;
        delete F;
    }
}

TEST_F(SkinFormStates, MaximizeTwiceAndRestore) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    int Maximized = 0, Restored = 0;
    C->OnMaximize = [&](TObject*) { ++Maximized; };
    C->OnRestore = [&](TObject*) { ++Restored; };
    const TRect Old = F->BoundsRect();
    C->SetWindowState(wsMaximized);
    C->SetWindowState(wsMaximized);
    EXPECT_EQ(Maximized, 1);
    C->SetWindowState(wsNormal);
    EXPECT_EQ(F->BoundsRect(), Old);
    EXPECT_TRUE(IsNullRect(C->OldBoundsRect));
    EXPECT_EQ(Restored, 1);
}

TEST_F(SkinFormStates, MinimizedFormsBecomeCaptionStripsSideBySide) {
    std::vector<TForm*> Forms;
    for (int I = 0; I < 3; ++I) {
        Forms.push_back(MakeForm(300, 200));
        Component(Forms.back())->SetWindowState(wsMinimized);
    }
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(Forms[I]->BoundsRect(), (TRect{120 * I, 1015, 120 * I + 120, 1040})) << I;
}

TEST_F(SkinFormStates, MinimizingTheMainFormMinimizesTheApplication) {
    TForm* F = MakeForm(300, 200);
    Application->SetMainForm(F);
    Component(F)->SetWindowState(wsMinimized);
    EXPECT_TRUE(Application->Minimized());
    EXPECT_EQ(Component(F)->WindowState(), wsNormal);
    EXPECT_TRUE(Headless.Surface(WindowSurface(F->Handle()))->Iconified);
    Application->SetMainForm(nullptr);
}

TEST_F(SkinFormStates, RollUpAndDown) {
    TForm* F = MakeForm(300, 400);
    TbsSkinForm* C = Component(F);
    C->SetClientHeight(240);
    int Changes = 0;
    C->OnChangeRollUpState = [&](TObject*) { ++Changes; };
    C->SetRollUpState(true);
    EXPECT_EQ(F->Height(), C->GetMinHeight());
    EXPECT_EQ(F->Height(), 25);
    C->SetRollUpState(false);
    EXPECT_EQ(F->ClientHeight(), 240);
    EXPECT_EQ(Changes, 2);

    C->SetBorderIcons({B::biMinimize});
    C->SetRollUpState(true);
    EXPECT_FALSE(C->RollUpState());
    C->SetBorderIcons({B::biRollUp});
    C->SetWindowState(wsMinimized);
    C->SetRollUpState(true);
    EXPECT_FALSE(C->RollUpState());
    EXPECT_EQ(Changes, 2);
}

TEST_F(SkinFormStates, CaptionDoubleClick) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    const LPARAM P = MAKELPARAM(F->Left() + 100, F->Top() + 10);
    F->Perform(WM_NCLBUTTONDBLCLK, HTCAPTION, P);
    EXPECT_EQ(C->WindowState(), wsMaximized);
    C->SetWindowState(wsNormal);
    C->SetBorderIcons({B::biRollUp});
    const LPARAM Q = MAKELPARAM(F->Left() + 100, F->Top() + 10);
    F->Perform(WM_NCLBUTTONDBLCLK, HTCAPTION, Q);
    EXPECT_TRUE(C->RollUpState());
    F->Perform(WM_NCLBUTTONDBLCLK, HTCAPTION, Q);
    EXPECT_FALSE(C->RollUpState());
}

TEST_F(SkinFormStates, ANativeFrameKeepsTheFormsOwnState) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    C->FSkinnableForm = false;
    C->SetWindowState(wsMaximized);
    EXPECT_EQ(F->WindowState(), wsMaximized);
    EXPECT_EQ(C->WindowState(), wsNormal);
}

TEST_F(SkinFormStates, SizeLimits) {
    TForm* Plain = MakeForm(300, 200);
    TbsSkinForm* P = Component(Plain);
    EXPECT_EQ(P->GetMinWidth(), 120);
    P->SetMinWidth(200);
    EXPECT_EQ(P->GetMinWidth(), 200);
    EXPECT_EQ(P->GetMinHeight(), 25);
    P->SetMinHeight(100);
    EXPECT_EQ(P->GetMinHeight(), 100);
    P->SetRollUpState(true);
    EXPECT_EQ(P->GetMinHeight(), 25);
    EXPECT_EQ(P->GetMaxHeight(), 1040);
    P->SetMaximizeOnFullScreen(true);
    EXPECT_EQ(P->GetMaxHeight(), 1080);

    struct TRow {
        const char* Name;
        int FormMinWidth, MinWidth;
        TWindowState State;
        int Expected;
    };
    const TRow Rows[] = {
        {"picture", 0, 0, wsNormal, 300},          {"skin minimum", 150, 0, wsNormal, 150},
        {"own minimum", 0, 400, wsNormal, 400},    {"own over skin", 150, 200, wsNormal, 200},
        {"minimized", 150, 200, wsMinimized, 150},
    };
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* Skinned = MakeForm(400, 300, bsSizeable, Skin);
    TbsSkinForm* S = Component(Skinned);
    for (const TRow& R : Rows) {
        Skin->FormMinWidth = R.FormMinWidth;
        S->SetMinWidth(R.MinWidth);
        S->FWindowState = R.State;
        EXPECT_EQ(S->GetMinWidth(), R.Expected) << R.Name;
    }
    S->FWindowState = wsNormal;
    EXPECT_EQ(S->GetMinHeight(), 35);

    TForm* Centred = MakeForm(400, 300);
    Component(Centred)->SetPositionInMonitor(bspDesktopCenter);
    Component(Centred)->ApplyPositionInMonitor();
    EXPECT_EQ(Centred->Left(), 760);
    EXPECT_EQ(Centred->Top(), 370);
}

TEST_F(SkinFormStates, AFramePictureWithoutWidthStillFindsAPlace) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* A = MakeForm(300, 200, bsSizeable, Skin);
    TForm* Bf = MakeForm(300, 200, bsSizeable, Skin);
    Skin->FPicture->SetSize(0, 200);
    Component(A)->SetWindowState(wsMinimized);
    Component(Bf)->SetWindowState(wsMinimized);
    EXPECT_EQ(A->Left(), 0);
    EXPECT_EQ(Bf->Left(), 1) << "the search steps at least one pixel";
    EXPECT_EQ(Bf->Top(), A->Top());
}

} // namespace
} // namespace skinform
