// TbsSkinForm: what each point of the frame means, the magnet, and the
// component's own window states.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsUtils.h"

#include <cstdlib>

namespace {

bool In(const TRect& R, TPoint P) {
    return PtInRect(&R, P);
}

} // namespace

LRESULT TbsSkinForm::SkinHitTest(TPoint P) {
    if (FRollUpState || FWindowState == wsMinimized)
        return InCaptionArea(P) ? HTCAPTION : HTOBJECT;
    if (ActiveObject != -1 && !InCaptionArea(P) && !In(NewClRect, P) && !FSizeMove)
        return HTOBJECT;
    auto Inner = [&]() -> LRESULT {
        if (In(NewClRect, P))
            return HTCLIENT;
        return InCaptionArea(P) ? HTCAPTION : HTOBJECT;
    };
    if (FWindowState == wsMaximized || !IsSizeable())
        return Inner();
    if (NearFrameEdge(P)) {
        const int W = FForm->Width(), H = FForm->Height();
        if (NewHitTestLTPoint.X >= P.X && NewHitTestLTPoint.Y >= P.Y)
            return HTTOPLEFT;
        if (NewHitTestRTPoint.X <= P.X && NewHitTestRTPoint.Y >= P.Y)
            return HTTOPRIGHT;
        if (NewHitTestLBPoint.X >= P.X && NewHitTestLBPoint.Y <= P.Y)
            return HTBOTTOMLEFT;
        if (NewHitTestRBPoint.X <= P.X && NewHitTestRBPoint.Y <= P.Y)
            return HTBOTTOMRIGHT;
        if (In(TRect{NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top}, P))
            return HTTOP;
        if (In(TRect{NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, H}, P))
            return HTBOTTOM;
        if (In(TRect{0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y}, P))
            return HTLEFT;
        if (In(TRect{NewClRect.Right, NewHitTestRTPoint.Y, W, NewHitTestRBPoint.Y}, P))
            return HTRIGHT;
    }
    return Inner();
}

bool TbsSkinForm::NearFrameEdge(TPoint P) {
    const int B = FSD ? FSD->BorderW : 0;
    const TPoint Probes[] = {{P.X - B, P.Y}, {P.X, P.Y - B}, {P.X + B, P.Y}, {P.X, P.Y + B}};
    if (!FSD || FSD->FMask->Empty()) {
        const TRect Whole{0, 0, FForm->Width(), FForm->Height()};
        for (const TPoint& Q : Probes)
            if (!In(Whole, Q))
                return true;
        return false;
    }
    if (In(NewMaskRectArea, P))
        return false;
    for (const TPoint& Q : Probes)
        if (!PtInMask(Q))
            return true;
    return false;
}

bool TbsSkinForm::InCaptionArea(TPoint P) {
    for (auto& O : ObjectList) {
        auto* C = dynamic_cast<TbsSkinCaptionObject*>(O.get());
        if (!C || !In(C->ObjectRect, P))
            continue;
        if (FQuickButtons->Count() > 0 && FQuickImageList) {
            TRect R = C->ObjectRect;
            R.Left += FQuickButtons->Count() * (FQuickImageList->Width() + 8);
            return In(R, P);
        }
        return true;
    }
    return false;
}

void TbsSkinForm::GetDefCaptionRect(TRect& R) {
    CalcDefRects();
    R = NewDefCaptionRect;
}

LRESULT TbsSkinForm::DefaultHitTest(TPoint P) {
    const int W = FForm->Width(), H = FForm->Height();
    const int X = P.X, Y = P.Y;
    if (FWindowState != wsMaximized && !FRollUpState && IsSizeable() &&
        FWindowState != wsMinimized) {
        if (ActiveObject != -1)
            return HTOBJECT;
        if (X <= 2 && Y <= 2)
            return HTTOPLEFT;
        if (X >= W - 2 && Y <= 2)
            return HTTOPRIGHT;
        if (X <= 2 && Y >= H - 2)
            return HTBOTTOMLEFT;
        if (X >= W - 2 && Y >= H - 2)
            return HTBOTTOMRIGHT;
        if (X <= 2)
            return HTLEFT;
        if (Y <= 2)
            return HTTOP;
        if (X >= W - 2)
            return HTRIGHT;
        if (Y >= H - 2)
            return HTBOTTOM;
    }
    TRect Caption;
    GetDefCaptionRect(Caption);
    if (In(Caption, P))
        return HTCAPTION;
    const int CH = GetDefCaptionHeight();
    return In(TRect{3, CH + 3, W - 3, H - 3}, P) ? HTCLIENT : HTOBJECT;
}

void TbsSkinForm::DoMagnetic(int& X, int& Y, int W, int H) {
    const int M = FMagneticSize;
    TRect A;
    if (IsMDIChild() && Application->MainForm()) {
        A = GetMDIWorkArea();
        const TPoint O = Application->MainForm()->ClientToScreen(TPoint{0, 0});
        OffsetRect(&A, O.X, O.Y);
    } else
        GetMonitorWorkArea(FForm->Handle(), true, A);
    TPoint Cursor;
    GetCursorPos(&Cursor);

    // One edge: Pos is the proposed coordinate, Edge where it snaps to.
    auto Snap = [M](int& Pos, int Edge, int Near, int CursorPos, int& Coord, bool& Flag) {
        const bool IsNear = Edge - M < Near && Near < Edge + M;
        if (IsNear && !Flag) {
            Pos = Edge;
            Coord = CursorPos;
        } else if (Flag) {
            if (std::abs(CursorPos - Coord) > M)
                Pos = CursorPos + Edge - Coord;
            else
                Pos = Edge;
        }
        Flag = IsNear;
        return IsNear;
    };
    Snap(X, A.Left, X, Cursor.X, FOnMouseDownCoord.X, HMagnetized);
    Snap(Y, A.Top, Y, Cursor.Y, FOnMouseDownCoord.Y, VMagnetized);
    // X + W near A.Right is X near A.Right - W.
    Snap(X, A.Right - W, X, Cursor.X, FOnMouseDownCoord.X, HMagnetized2);
    Snap(Y, A.Bottom - H, Y, Cursor.Y, FOnMouseDownCoord.Y, VMagnetized2);
}

void TbsSkinForm::SetWindowState(TWindowState Value) {
    if (!FSkinnableForm) {
        FForm->SetWindowState(Value);
        return;
    }
    if (Value == FWindowState)
        return;
    const TWindowState Old = FWindowState;
    if (!(Value == wsMinimized && (Application->MainForm() == FForm || FMinimizeDefault)))
        FWindowState = Value;
    switch (Value) {
    case wsNormal:
        if (Old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize)
            SetRollUpState(false);
        FRollUpBeforeMaximize = false;
        DoNormal();
        break;
    case wsMinimized:
        DoMinimize();
        break;
    case wsMaximized:
        FRollUpBeforeMaximize = FRollUpState;
        DoMaximize();
        break;
    }
}

void TbsSkinForm::DoMinimize() {
    if (Application->MainForm() == FForm)
        Application->Minimize();
    else if (FMinimizeDefault)
        FForm->SetWindowState(wsMinimized);
    else {
        if (IsNullRect(OldBoundsRect))
            OldBoundsRect = FForm->BoundsRect();
        TPoint P;
        FindMinimizedPosition(P);
        FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
        if (IsMDIChild() && Application->MainForm())
            SendMessage(Application->MainForm()->Handle(), WM_MDICHILDRESTORE, 0, 0);
    }
    if (OnMinimize)
        OnMinimize(this);
}

void TbsSkinForm::DoMaximize() {
    if (IsNullRect(OldBoundsRect))
        OldBoundsRect = FForm->BoundsRect();
    if (IsMDIChild()) {
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1, false);
        const TRect R = GetMDIWorkArea();
        const bool Same = FForm->Width() == R.Width() && FForm->Height() == R.Height();
        FForm->SetBounds(0, 0, R.Width(), R.Height());
        if (Same)
            ForceRealign();
        if (Application->MainForm())
            SendMessage(Application->MainForm()->Handle(), WM_MDICHILDMAX, 0, 0);
    } else {
        TRect R;
        if (FMaximizeOnFullScreen)
            GetMonitorWorkArea(FForm->Handle(), false, R);
        else {
            GetMonitorWorkArea(FForm->Handle(), true, R);
            TRect Whole, Screen0;
            GetMonitorWorkArea(FForm->Handle(), false, Whole);
            GetScreenWorkArea(false, Screen0);
            // A work area that is the whole screen keeps a one-pixel edge
            // free, so a task bar that hides itself can still be reached.
            if (R.Width() == Whole.Width() && R.Height() == Whole.Height() &&
                EqRects(Whole, Screen0))
                InflateRect(&R, -1, -1);
        }
        FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    }
    if (FStatusBar)
        SetStatusBarGrip(false);
    if (OnMaximize)
        OnMaximize(this);
}

void TbsSkinForm::DoNormal() {
    MaxRollUpState = false;
    const int W0 = FForm->Width(), H0 = FForm->Height();
    if (FStartShow) {
        FStartShow = false;
        const TPoint P = GetPositionInMonitor(OldBoundsRect.Left, OldBoundsRect.Top,
                                              OldBoundsRect.Width(), OldBoundsRect.Height());
        FForm->SetBounds(P.X, P.Y, OldBoundsRect.Width(), OldBoundsRect.Height());
    } else {
        if (IsLayeredBorderVisible())
            BorderSetBoundsWithForm3(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                     OldBoundsRect.Height());
        FForm->SetBounds(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                         OldBoundsRect.Height());
    }
    MouseTimer->SetEnabled(true);
    if (W0 == OldBoundsRect.Width() && H0 == OldBoundsRect.Height())
        ForceRealign();
    FForm->Repaint();
    if (IsMDIChild() && FWindowState != wsMaximized && Application->MainForm())
        SendMessage(Application->MainForm()->Handle(), WM_MDICHILDRESTORE, 0, 0);
    OldBoundsRect = TRect{};
    if (FStatusBar)
        SetStatusBarGrip(true);
    if (OnRestore)
        OnRestore(this);
}

void TbsSkinForm::SetRollUpState(bool Value) {
    if (!FBorderIcons.Contains(TbsBorderIcon::biRollUp))
        return;
    if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState)
        return;
    if (FWindowState == wsMinimized)
        return;
    if (FWindowState == wsMaximized)
        MaxRollUpState = Value;
    FRollUpState = Value;
    if (Value) {
        OldHeight = FForm->Height();
        FForm->SetHeight(GetMinHeight());
    } else if (FClientHeight != 0)
        FForm->SetClientHeight(FClientHeight);
    else
        FForm->SetHeight(OldHeight);
    if (OnChangeRollUpState)
        OnChangeRollUpState(this);
}

void TbsSkinForm::ForceRealign() {
    const int W = FForm->Width();
    if (W - 1 < GetMinWidth()) {
        FForm->SetWidth(W + 1);
        FForm->SetWidth(W);
    } else {
        FForm->SetWidth(W - 1);
        FForm->SetWidth(W);
    }
}
