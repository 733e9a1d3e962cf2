#include "skin/controls/bsSkinUpDown.h"

#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

namespace {

constexpr UINT_PTR RepeatTimerId = 1;
constexpr UINT FirstDelay = 500;
constexpr UINT RepeatDelay = 100;
constexpr UINT ResumeDelay = 50;
constexpr TColor PlainFrameHot = 8388608;
constexpr TColor PlainFillHot = 13811126;
constexpr TColor PlainFillDown = 11899781;

} // namespace

TbsSkinUpDown::TbsSkinUpDown(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = "hupdown";
    SetBounds(Left(), Top(), 50, 25);
}

TbsSkinUpDown::~TbsSkinUpDown() {
    if (HandleAllocated())
        KillTimer(Handle(), RepeatTimerId);
}

// ---------------------------------------------------------------- values

void TbsSkinUpDown::SetPosition(int Value) {
    if (Value > FMax || Value < FMin)
        return;
    FPosition = Value;
    if (OnChange)
        OnChange(this);
}

void TbsSkinUpDown::SetMin(int Value) {
    FMin = Value;
    if (FPosition < FMin)
        FPosition = FMin;
}

void TbsSkinUpDown::SetMax(int Value) {
    FMax = Value;
    if (FPosition > FMax)
        FPosition = FMax;
}

void TbsSkinUpDown::SetOrientation(TUDOrientation Value) {
    FOrientation = Value;
    Repaint();
}

// ---------------------------------------------------------------- skin and geometry

void TbsSkinUpDown::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex != -1) {
        auto* E = dynamic_cast<TbsDataSkinUpDownControl*>(FSD->CtrlList[FIndex].get());
        // An element without a usable picture cannot be drawn: the plain
        // look stands in for it.
        if (!Picture)
            FIndex = -1;
        else if (E) {
            UpButtonRect = E->UpButtonRect;
            ActiveUpButtonRect = E->ActiveUpButtonRect;
            DownUpButtonRect = E->DownUpButtonRect;
            DownButtonRect = E->DownButtonRect;
            ActiveDownButtonRect = E->ActiveDownButtonRect;
            DownDownButtonRect = E->DownDownButtonRect;
            if (IsNullRect(DownUpButtonRect))
                DownUpButtonRect = ActiveUpButtonRect;
            if (IsNullRect(DownDownButtonRect))
                DownDownButtonRect = ActiveDownButtonRect;
            LTPt = RTPt = LBPt = RBPt = TPoint{0, 0};
            ClRect = TRect{};
        }
    }
    CalcButtonRects();
}

void TbsSkinUpDown::CalcButtonRects() {
    const int W = Width(), H = Height();
    if (FIndex != -1 && FUseSkinSize) {
        Buttons[0].R = UpButtonRect;
        Buttons[1].R = DownButtonRect;
    } else if (FOrientation == udVertical) {
        Buttons[0].R = {0, 0, W, H / 2};
        Buttons[1].R = {0, H / 2, W, H};
    } else {
        Buttons[1].R = {0, 0, W / 2, H};
        Buttons[0].R = {W / 2, 0, W, H};
    }
}

void TbsSkinUpDown::CalcSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize)
        TbsSkinCustomControl::CalcSkinSize(AWidth, AHeight);
}

void TbsSkinUpDown::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

// ---------------------------------------------------------------- pointer

void TbsSkinUpDown::TestActive(int X, int Y) {
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int I = 0; I < 2; ++I)
        if (PointInRect(Buttons[I].R, {X, Y})) {
            ActiveButton = I;
            break;
        }
    if (CaptureButton != -1 && CaptureButton != ActiveButton && ActiveButton != -1)
        ActiveButton = -1;
    if (ActiveButton == OldActiveButton)
        return;
    if (OldActiveButton != -1)
        ButtonLeave(OldActiveButton);
    if (ActiveButton != -1)
        ButtonEnter(ActiveButton);
}

void TbsSkinUpDown::ButtonEnter(int I) {
    Buttons[I == 0 ? 1 : 0].MouseIn = false;
    Buttons[I].MouseIn = true;
    Repaint();
    if (FIncrement != 0 && Buttons[I].Down && HandleAllocated()) {
        KillTimer(Handle(), RepeatTimerId);
        SetTimer(Handle(), RepeatTimerId, ResumeDelay, nullptr);
    }
}

void TbsSkinUpDown::ButtonLeave(int I) {
    Buttons[I].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[I].Down && HandleAllocated())
        KillTimer(Handle(), RepeatTimerId);
}

void TbsSkinUpDown::ButtonDown(int I) {
    Buttons[I].MouseIn = true;
    Buttons[I].Down = true;
    Repaint();
    if (FIncrement == 0)
        return;
    TimerMode = I == 0 ? 2 : 1;
    WaitMode = true;
    if (HandleAllocated())
        SetTimer(Handle(), RepeatTimerId, FirstDelay, nullptr);
}

void TbsSkinUpDown::StopTimer() {
    if (HandleAllocated())
        KillTimer(Handle(), RepeatTimerId);
    TimerMode = 0;
}

void TbsSkinUpDown::ButtonUp(int I) {
    if (FIncrement != 0)
        StopTimer();
    Buttons[I].Down = false;
    if (I != ActiveButton)
        Buttons[I].MouseIn = false;
    Repaint();
    if (!Buttons[I].MouseIn)
        return;
    if (I == 0) {
        if (FIncrement != 0)
            SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick)
            OnUpButtonClick(this);
    } else {
        if (FIncrement != 0)
            SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick)
            OnDownButtonClick(this);
    }
}

void TbsSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TestActive(X, Y);
    Buttons[ActiveButton == 0 ? 1 : 0].MouseIn = false;
    if (ActiveButton != -1) {
        CaptureButton = ActiveButton;
        ButtonDown(ActiveButton);
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinUpDown::MouseMove(TShiftState Shift, int X, int Y) {
    TestActive(X, Y);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CaptureButton != -1)
        ButtonUp(CaptureButton);
    CaptureButton = -1;
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinUpDown::TimerTick() {
    if (WaitMode) {
        WaitMode = false;
        KillTimer(Handle(), RepeatTimerId);
        SetTimer(Handle(), RepeatTimerId, RepeatDelay, nullptr);
        return;
    }
    if (TimerMode == 1)
        SetPosition(FPosition - FIncrement);
    else if (TimerMode == 2)
        SetPosition(FPosition + FIncrement);
}

void TbsSkinUpDown::ResetHover() {
    ActiveButton = -1;
    OldActiveButton = -1;
}

void TbsSkinUpDown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(Message);
        TimerTick();
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(Message);
        CalcButtonRects();
        return;
    case CM_MOUSEENTER:
        ResetHover();
        TbsSkinCustomControl::Dispatch(Message);
        return;
    case CM_MOUSELEAVE:
        ResetHover();
        TbsSkinCustomControl::Dispatch(Message);
        for (TbsCBButtonX& B : Buttons)
            if (B.MouseIn) {
                B.MouseIn = false;
                Repaint();
                // The pointer may leave a held button without a move over
                // the control: the repeat pauses here too.
                if (B.Down && FIncrement != 0 && HandleAllocated())
                    KillTimer(Handle(), RepeatTimerId);
            }
        return;
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- painting

int TbsSkinUpDown::ArrowCode(int I) const {
    if (FOrientation == udVertical)
        return I == 0 ? 3 : 4;
    return I == 0 ? 2 : 1;
}

void TbsSkinUpDown::DrawButton(TCanvas* C, int I) {
    const TbsCBButtonX& B = Buttons[I];
    TColor Frame = clBtnShadow, Fill = clBtnFace;
    if (B.Down && B.MouseIn) {
        Frame = PlainFrameHot;
        Fill = PlainFillDown;
    } else if (B.MouseIn) {
        Frame = PlainFrameHot;
        Fill = PlainFillHot;
    }
    C->Brush()->SetColor(Frame);
    C->FrameRect(B.R);
    C->Brush()->SetColor(Fill);
    C->FillRect({B.R.Left + 1, B.R.Top + 1, B.R.Right - 1, B.R.Bottom - 1});
    DrawArrowImage(C, B.R, clBlack, ArrowCode(I));
}

void TbsSkinUpDown::CreateControlDefaultImage(TBitmap* B) {
    CalcButtonRects();
    for (int I = 0; I < 2; ++I)
        DrawButton(B->Canvas(), I);
}

void TbsSkinUpDown::DrawResizeButton(TCanvas* C, int I) {
    const TbsCBButtonX& Btn = Buttons[I];
    const int W = RectWidth(Btn.R), H = RectHeight(Btn.R);
    if (W <= 0 || H <= 0)
        return;
    TBitmap Face;
    Face.SetSize(W, H);
    const int Index = FSD->GetControlIndex("resizebutton");
    auto* E =
        Index == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[Index].get());
    TBitmap* Pic = E ? FSD->ActivePicture(E->PictureIndex) : nullptr;
    if (!E || !Pic) {
        C->Draw(Btn.R.Left, Btn.R.Top, &Face);
        return;
    }
    TRect Source = E->SkinRect;
    TRect Active = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    TRect Down = IsNullRect(E->DownSkinRect) ? Active : E->DownSkinRect;
    TColor ArrowColor = E->FontColor;
    const bool Pressed = Btn.Down && Btn.MouseIn;
    if (Pressed) {
        Source = Down;
        ArrowColor = E->DownFontColor;
    } else if (Btn.MouseIn) {
        Source = Active;
        ArrowColor = E->ActiveFontColor;
    }
    const int DX = W - RectWidth(E->SkinRect), DY = H - RectHeight(E->SkinRect);
    const TPoint NewRT{E->RTPoint.X + DX, E->RTPoint.Y};
    const TPoint NewLB{E->LBPoint.X, E->LBPoint.Y + DY};
    const TPoint NewRB{E->RBPoint.X + DX, E->RBPoint.Y + DY};
    const TRect NewCl{E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DX, E->ClRect.Bottom + DY};
    MakeNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint, NewRT,
                       NewLB, NewRB, NewCl, &Face, Pic, Source, W, H, true, E->LeftStretch,
                       E->TopStretch, E->RightStretch, E->BottomStretch, E->StretchEffect,
                       E->StretchType);
    C->Draw(Btn.R.Left, Btn.R.Top, &Face);
    TRect ArrowRect = Btn.R;
    if (Pressed) {
        ArrowRect.Left += 2;
        ArrowRect.Top += 2;
        ArrowRect.Right += 2;
        ArrowRect.Bottom += 2;
    }
    DrawArrowImage(C, ArrowRect, ArrowColor, ArrowCode(I));
}

void TbsSkinUpDown::CreateControlSkinImage(TBitmap* B) {
    CalcButtonRects();
    if (!FUseSkinSize) {
        for (int I = 0; I < 2; ++I)
            DrawResizeButton(B->Canvas(), I);
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    for (int I = 0; I < 2; ++I) {
        const TbsCBButtonX& Btn = Buttons[I];
        TRect Source;
        if (Btn.Down && Btn.MouseIn)
            Source = I == 0 ? DownUpButtonRect : DownDownButtonRect;
        else if (Btn.MouseIn)
            Source = I == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
        if (!IsNullRect(Source))
            CopyPart(B, Btn.R, Picture, Source);
    }
}
