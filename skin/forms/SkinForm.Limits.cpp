// TbsSkinForm: size limits, centring on the monitor and the place of a
// minimized caption strip.
#include "skin/forms/SkinForm.h"

#include "skin/model/bsUtils.h"

#include <algorithm>

int TbsSkinForm::GetMinWidth() {
    if (!FSkinSupport || !SkinReady())
        return FMinWidth > 0 ? FMinWidth : 120;
    const int PW = FSD->FPicture->Width();
    const bool Minimized = FWindowState == wsMinimized;
    if (PW < FMinWidth && !Minimized)
        return FMinWidth;
    if (FSD->FormMinWidth > 0)
        return (FSD->FormMinWidth >= FMinWidth || Minimized) ? FSD->FormMinWidth : FMinWidth;
    return PW;
}

int TbsSkinForm::GetMinHeight() {
    const int V = (FSkinSupport && SkinReady()) ? FSD->FPicture->Height() - FSD->ClRect.Height()
                                                : GetDefCaptionHeight() + 6;
    if (V < FMinHeight && !FRollUpState && FWindowState != wsMinimized)
        return FMinHeight;
    return V;
}

int TbsSkinForm::GetMaxWidth() {
    if (FMaxWidth != 0)
        return FMaxWidth;
    TRect R;
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen,
                       R);
    return R.Width();
}

int TbsSkinForm::GetMaxHeight() {
    if (FMaxHeight != 0)
        return FMaxHeight;
    TRect R;
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen,
                       R);
    return R.Height();
}

TPoint TbsSkinForm::GetPositionInMonitor(int AX, int AY, int AW, int AH) {
    if (FPositionInMonitor == bspDefault)
        return {AX, AY};
    TRect R;
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr,
                       FPositionInMonitor == bspDesktopCenter, R);
    return {R.Left + R.Width() / 2 - AW / 2, R.Top + R.Height() / 2 - AH / 2};
}

void TbsSkinForm::ApplyPositionInMonitor() {
    if (FPositionInMonitor == bspDefault)
        return;
    const TPoint P =
        GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(P.X, P.Y, FForm->Width(), FForm->Height());
}

void TbsSkinForm::FindMinimizedPosition(TPoint& P) {
    // A frame picture of width 0 would give a step of 0: the search then
    // could never leave a taken place.
    const int MW = std::max(1, GetMinWidth());
    const int MH = std::max(1, GetMinHeight());
    int Left, Right, Top, Bottom;
    std::vector<TCustomForm*> Others;
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (IsMDIChild() && Main) {
        const TRect R = GetMDIWorkArea();
        Left = 0;
        Top = 0;
        Right = R.Width();
        Bottom = R.Height();
        for (int I = 0; I < Main->MDIChildCount(); ++I)
            Others.push_back(Main->MDIChildren(I));
    } else {
        TRect R;
        GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, R);
        Left = R.Left;
        Top = R.Top;
        Right = R.Right;
        Bottom = R.Bottom;
        for (int I = 0; Screen && I < Screen->FormCount(); ++I)
            if (Screen->Forms(I) != Main)
                Others.push_back(Screen->Forms(I));
    }
    auto Taken = [&](TPoint Q) {
        for (TCustomForm* F : Others) {
            if (F == FForm || !F->Visible())
                continue;
            TbsSkinForm* C = FindSkinFormComponent(F);
            if (C && C->FWindowState == wsMinimized && F->Left() == Q.X && F->Top() == Q.Y)
                return true;
        }
        return false;
    };
    const TPoint First{Left, Bottom - MH};
    P = First;
    while (Taken(P)) {
        P.X += MW;
        if (P.X + MW > Right) {
            P.X = Left;
            P.Y -= MH;
            if (P.Y < Top) {
                P = First;
                return;
            }
        }
    }
}
