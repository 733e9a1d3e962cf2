// The animation object's looks, hover, buttons, command and menu.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/model/bsUtils.h"

namespace {

// The window is in the state that the object's command undoes.
bool InRestoreState(TbsSkinForm* F, TbsStdCommand Command) {
    switch (Command) {
    case cmMaximize:
        return F->WindowState() == wsMaximized;
    case cmMinimize:
        return F->WindowState() == wsMinimized;
    case cmRollUp:
        return F->RollUpState();
    default:
        return false;
    }
}

} // namespace

void TbsSkinAnimateObject::ShowLayer() {
    ShowLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TbsSkinAnimateObject::HideLayer() {
    HideLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool) {
    if (!SkinUsable() || !ActivePicture)
        return;
    TRect Normal = SkinRect, Hover = ActiveSkinRect, Down = DownSkinRect,
          InActive = InActiveSkinRect;
    if (InRestoreState(Parent, Command) && !IsNullRect(RestoreRect)) {
        Normal = RestoreRect;
        Hover = RestoreActiveRect;
        Down = RestoreDownRect;
        InActive = RestoreInActiveRect;
    }
    const int W = Normal.Width(), H = Normal.Height();
    auto FrameRect = [&](int N) {
        return TRect{Hover.Left + W * (N - 1), Hover.Top, Hover.Left + W * N, Hover.Top + H};
    };
    if (FMenuTracking) {
        if (!IsNullRect(Down))
            CopyLook(Cnvs, ActivePicture, Down);
        else {
            FFrame = CountFrames;
            CopyLook(Cnvs, ActivePicture, FrameRect(FFrame));
        }
        return;
    }
    if (!Parent->GetFormActive() && !IsNullRect(InActive))
        CopyLook(Cnvs, ActivePicture, InActive);
    else if (FDown && FMouseIn && !IsNullRect(Down))
        CopyLook(Cnvs, ActivePicture, Down);
    else
        CopyLook(Cnvs, ActivePicture, FrameRect(FFrame));
}

void TbsSkinAnimateObject::DblClick() {
    if (Command == cmSysMenu)
        Parent->Form()->Close();
}

namespace {

bool CursorOver(TbsSkinForm* F, const TRect& R) {
    TPoint P;
    GetCursorPos(&P);
    F->PointToFrame(P);
    return PtInRect(&R, P);
}

} // namespace

void TbsSkinAnimateObject::MouseDown(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == mbLeft && !IsNullRect(DownSkinRect)) {
        FFrame = CountFrames;
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (Command == cmSysMenu && ButtonStyle && Button == mbLeft && CursorOver(Parent, ObjectRect))
        DoCommand();
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking)
        return;
    if (Button == mbLeft && !IsNullRect(DownSkinRect)) {
        FDown = false;
        Parent->DrawSkinObject(this);
        if (!Parent->AnimateTimer->Enabled())
            Parent->AnimateTimer->SetEnabled(true);
    }
    if (Command != cmSysMenu && ButtonStyle && Button == mbLeft && CursorOver(Parent, ObjectRect))
        DoCommand();
}

// Hover runs the frames forward, leaving runs them back; a press on a
// pressed look keeps that look and is only redrawn.
static void RunHover(TbsSkinAnimateObject* O, bool Forward) {
    O->Active = true;
    O->Increment = Forward;
    if (O->FDown && !IsNullRect(O->DownSkinRect))
        O->Parent->DrawSkinObject(O);
    else if (!O->Parent->AnimateTimer->Enabled())
        O->Parent->AnimateTimer->SetEnabled(true);
}

void TbsSkinAnimateObject::MouseEnter() {
    if (Command != cmDefault)
        Hint = !RestoreHint.empty() && InRestoreState(Parent, Command) ? RestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking)
        return;
    if (ButtonStyle)
        RunHover(this, true);
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave() {
    if (!FMouseIn)
        return;
    FMouseIn = false;
    if (FMenuTracking)
        return;
    if (ButtonStyle)
        RunHover(this, false);
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TbsSkinAnimateObject::DoCommand() {
    TbsSkinForm* F = Parent;
    switch (Command) {
    case cmClose:
        F->TestActive(-1, -1, false);
        F->Form()->Close();
        break;
    case cmMaximize:
        F->TestActive(-1, -1, false);
        F->SetWindowState(F->WindowState() == wsMaximized ? wsNormal : wsMaximized);
        break;
    case cmMinimize:
        F->TestActive(-1, -1, false);
        if (F->AlwaysMinimizeToTray())
            F->MinimizeToTray();
        else
            F->SetWindowState(F->WindowState() == wsMinimized ? wsNormal : wsMinimized);
        break;
    case cmSysMenu:
        MenuItem = F->GetSystemMenuItems();
        TrackMenu();
        break;
    case cmDefault:
        if (MenuItem)
            TrackMenu();
        break;
    case cmRollUp:
        F->SetRollUpState(!F->RollUpState());
        break;
    case cmMinimizeToTray:
        F->TestActive(-1, -1, false);
        F->MinimizeToTray();
        break;
    }
}

void TbsSkinAnimateObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0)
        return;
    const TRect R = ScreenObjectRect();
    FMenuTracking = true;
    if (Parent->FLayerManager->IsVisible())
        Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible())
        Parent->FMenuLayerManager->Hide();
    if (FMouseIn)
        ShowLayer();
    Parent->PopupObjectMenu(this, MenuItem, R, FPopupUp);
}
