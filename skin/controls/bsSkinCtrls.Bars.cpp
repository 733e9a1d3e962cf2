#include "skin/controls/bsSkinCtrls.Bars.h"

#include "skin/controls/bsSkinCtrls.Bevel.h"
#include "skin/controls/bsSkinCtrls.GraphicBase.h"
#include "skin/controls/bsSkinCtrls.ToolBarButton.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

namespace {

constexpr int ScrollButtonWidth = 12;
constexpr UINT_PTR ScrollTimerId = 1;

TRect Grown(TRect R, int DW, int DH) {
    return {R.Left, R.Top, R.Right + DW, R.Bottom + DH};
}

} // namespace

void CentreInSkinToolBar(TWinControl* Parent, int& ATop, int AHeight) {
    auto* Bar = dynamic_cast<TbsSkinToolBar*>(Parent);
    if (!Bar || !Bar->AdjustControls())
        return;
    const TRect R = Bar->GetSkinClientRect();
    ATop = R.Top + RectHeight(R) / 2 - AHeight / 2;
}

// ---------------------------------------------------------------- tool bar: properties

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FForceBackground = false;
    FSkinDataName = "toolpanel";
    FDefaultHeight = 0;
    SetHeight(25);
    SetBorderStyle(TbsSkinBorderStyle::bvNone);
}

TbsSkinToolBar::~TbsSkinToolBar() {
    for (TCustomImageList* List : {FImages, FDisabledImages, FHotImages})
        if (List)
            List->RemoveFreeNotification(this);
}

void TbsSkinToolBar::SetScrollOffset(int Value) {
    if (Value >= 0)
        FScrollOffset = Value;
}

void TbsSkinToolBar::SetScrollTimerInterval(int Value) {
    if (Value > 0)
        FScrollTimerInterval = Value;
}

void TbsSkinToolBar::SetShowCaptions(bool Value) {
    if (FShowCaptions == Value)
        return;
    FShowCaptions = Value;
    if (FAutoShowHideCaptions)
        for (int I = 0; I < ControlCount(); ++I)
            if (auto* Button = dynamic_cast<TbsToolBarButton*>(Controls(I)))
                Button->SetShowCaption(Value);
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(Value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::SetFlat(bool Value) {
    FFlat = Value;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Button = dynamic_cast<TbsToolBarButton*>(Controls(I)))
            Button->SetFlat(Value);
}

void TbsSkinToolBar::SetImageList(TCustomImageList*& Field, TCustomImageList* Value) {
    if (Field)
        Field->RemoveFreeNotification(this);
    Field = Value;
    if (Field)
        Field->FreeNotification(this);
}

void TbsSkinToolBar::SetImages(TCustomImageList* Value) {
    SetImageList(FImages, Value);
    for (int I = 0; I < ControlCount(); ++I)
        if (dynamic_cast<TbsGraphicSkinControl*>(Controls(I)))
            Controls(I)->Repaint();
}

void TbsSkinToolBar::SetHotImages(TCustomImageList* Value) {
    SetImageList(FHotImages, Value);
}

void TbsSkinToolBar::SetDisabledImages(TCustomImageList* Value) {
    SetImageList(FDisabledImages, Value);
}

void TbsSkinToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinPanel::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    for (TCustomImageList** List : {&FImages, &FDisabledImages, &FHotImages})
        if (AComponent == *List)
            *List = nullptr;
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Bevel = dynamic_cast<TbsSkinBevel*>(Controls(I)))
            Bevel->SetSkinData(Value);
        else if (auto* Button = dynamic_cast<TbsToolBarButton*>(Controls(I)))
            Button->SetSkinData(Value);
}

void TbsSkinToolBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    ButtonData = nullptr;
    if (FIndex == -1)
        return;
    const int I = FSD->GetControlIndex("resizebutton");
    if (I != -1)
        ButtonData = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[I].get());
}

void TbsSkinToolBar::ChangeSkinData() {
    TbsSkinPanel::ChangeSkinData();
    // The scroll buttons live in the frame, which a repaint of the client
    // leaves alone; a size change repaints them, an unchanged size does not.
    if (FCanScroll && (Buttons[0].Visible || Buttons[1].Visible))
        RepaintScrollButtons();
}

void TbsSkinToolBar::CreateControlSkinImage(TBitmap* B) {
    if ((Buttons[0].Visible || Buttons[1].Visible) && ResizeMode == 2 && Picture) {
        MakeHorzMiddleBitmap(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, Picture, SkinRect, FWidth,
                             FHeight, StretchEffect);
        return;
    }
    TbsSkinPanel::CreateControlSkinImage(B);
}

// ---------------------------------------------------------------- tool bar: layout

void TbsSkinToolBar::AdjustChildren() {
    const TRect R = GetSkinClientRect();
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (dynamic_cast<TbsSkinControl*>(C) || dynamic_cast<TbsGraphicSkinControl*>(C) ||
            C->Align() != alNone)
            continue;
        C->SetTop(RectHeight(R) / 2 + R.Top - C->Height() / 2);
    }
}

void TbsSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int OldWidth = FWidth;
    TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls)
        for (int I = 0; I < ControlCount(); ++I) {
            TControl* C = Controls(I);
            C->SetBounds(C->Left(), C->Top(), C->Width(), C->Height());
        }
    if (FCanScroll) {
        FHSizeOffset = (OldWidth != 0 && FWidth > OldWidth) ? FWidth - OldWidth : 0;
        if (FAlign != alNone)
            UpdateScroll();
    }
    if (FCanScroll || FAdjustControls)
        AdjustChildren();
}

void TbsSkinToolBar::AdjustClientRect(TRect& Rect) {
    TbsSkinPanel::AdjustClientRect(Rect);
    if (!((FCanScroll && Buttons[0].Visible) || Buttons[1].Visible))
        return;
    const int CW = ClientWidth(), CH = ClientHeight();
    int Top = 0, Bottom = CH;
    if (FIndex == -1 || Designing()) {
        Top = 1;
        Bottom = CH - 1;
    } else if (!(FBorderStyle == TbsSkinBorderStyle::bvNone && ResizeMode == 1)) {
        Top = NewClRect.Top;
        Bottom = NewClRect.Bottom;
    }
    Rect = {-SPosition, Top, -SPosition + std::max(SMax, CW), Bottom};
}

// ---------------------------------------------------------------- tool bar: scrolling

void TbsSkinToolBar::ShowScrollButtons(bool Value) {
    if (Buttons[0].Visible == Value)
        return;
    Buttons[0].Visible = Value;
    Buttons[1].Visible = Value;
    // A new frame measure keeps the bar's children, focus and timers.
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TbsSkinToolBar::UpdateScroll() {
    if (!FCanScroll || FWidth == 0)
        return;
    int A = 0;
    for (int I = 0; I < ControlCount(); ++I)
        if (Controls(I)->Visible())
            A = std::max(A, Controls(I)->Left() + Controls(I)->Width());
    if (A == 0) {
        if (Buttons[1].Visible)
            ShowScrollButtons(false);
        return;
    }
    int CW = ClientWidth();
    if (CW < A + SPosition) {
        if (!Buttons[1].Visible) {
            ShowScrollButtons(true);
            // The buttons took their room: the page is what is left.
            CW = ClientWidth();
        }
        if (SPosition > 0 && A < CW && FHSizeOffset > 0) {
            FHSizeOffset = std::min(FHSizeOffset, SPosition);
            SMax = SPosition + A - 1;
            SPosition -= FHSizeOffset;
            SPage = CW;
            ScrollBy(FHSizeOffset, 0);
            SOldPosition = SPosition;
            return;
        }
        if (FHSizeOffset == 0 && SPosition + A - 1 < SMax && SPosition > 0 && A < CW) {
            SMax = SPosition + A - 1;
            SPosition = SPosition + A - CW;
            SPage = CW;
            ScrollBy(CW - A, 0);
        } else {
            SMax = SPosition + A - 1;
            SPage = CW;
        }
        FHSizeOffset = 0;
        SOldPosition = SPosition;
        return;
    }
    if (SPosition > 0)
        ScrollBy(SPosition, 0);
    FHSizeOffset = 0;
    SMax = 0;
    SPosition = 0;
    SPage = 0;
    SOldPosition = 0;
    if (Buttons[1].Visible)
        ShowScrollButtons(false);
}

void TbsSkinToolBar::StartScroll(bool Right) {
    TimerMode = Right ? 2 : 1;
    KillTimer(Handle(), ScrollTimerId);
    SetTimer(Handle(), ScrollTimerId, UINT(FScrollTimerInterval), nullptr);
}

void TbsSkinToolBar::StopScroll(bool Right) {
    KillTimer(Handle(), ScrollTimerId);
    TimerMode = 0;
    ScrollStep(Right);
}

void TbsSkinToolBar::ScrollStep(bool Right) {
    const int Step = FScrollOffset != 0 ? FScrollOffset : ClientWidth();
    if (Right)
        SPosition = std::min(SPosition + Step, SMax - SPage + 1);
    else
        SPosition = std::max(0, SPosition - Step);
    if (SPosition == SOldPosition) {
        KillTimer(Handle(), ScrollTimerId);
        TimerMode = 0;
        return;
    }
    ScrollBy(SOldPosition - SPosition, 0);
    Repaint();
    SOldPosition = SPosition;
}

// ---------------------------------------------------------------- tool bar: messages

void TbsSkinToolBar::NCCalcSize(TMessage& Message) {
    GetSkinData();
    TRect* R = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                              : reinterpret_cast<TRect*>(Message.LParam);
    if (!R)
        return;
    if (Buttons[0].Visible)
        R->Left += ScrollButtonWidth;
    if (Buttons[1].Visible)
        R->Right -= ScrollButtonWidth;
    Message.Result = 0;
}

void TbsSkinToolBar::LeaveScrollButton() {
    const int I = (Buttons[0].MouseIn && Buttons[0].Visible)   ? 0
                  : (Buttons[1].MouseIn && Buttons[1].Visible) ? 1
                                                               : -1;
    if (I == -1)
        return;
    if (TimerMode != 0) {
        KillTimer(Handle(), ScrollTimerId);
        TimerMode = 0;
    }
    Buttons[I].MouseIn = false;
    RepaintScrollButtons();
}

void TbsSkinToolBar::RepaintScrollButtons() {
    if (HandleAllocated())
        SendMessage(Handle(), WM_NCPAINT, 1, 0);
}

bool TbsSkinToolBar::ScrollButtonMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCHITTEST: {
        if (Designing())
            return false;
        const TPoint P = ScreenToClient(LParamToPoint(Message.LParam));
        if (P.X < 0 && Buttons[0].Visible) {
            Message.Result = HTTOOLBARLEFTBUTTON;
            return true;
        }
        if (P.X > ClientWidth() && Buttons[1].Visible) {
            Message.Result = HTTOOLBARRIGHTBUTTON;
            return true;
        }
        return false;
    }
    case WM_SETCURSOR: {
        const WORD Hit = LOWORD(DWORD(Message.LParam));
        if (Hit == HTTOOLBARLEFTBUTTON || Hit == HTTOOLBARRIGHTBUTTON)
            Message.LParam = MAKELPARAM(HTCLIENT, HIWORD(DWORD(Message.LParam)));
        return false;
    }
    case WM_NCMOUSEMOVE: {
        int Mode = 0;
        if (Message.WParam == WPARAM(HTTOOLBARLEFTBUTTON) && !Buttons[0].MouseIn) {
            Buttons[0].MouseIn = true;
            Buttons[1].MouseIn = false;
            Mode = 1;
        } else if (Message.WParam == WPARAM(HTTOOLBARRIGHTBUTTON) && !Buttons[1].MouseIn) {
            Buttons[1].MouseIn = true;
            Buttons[0].MouseIn = false;
            Mode = 2;
        }
        if (Mode != 0) {
            RepaintScrollButtons();
            if (FHotScroll)
                StartScroll(Mode == 2);
        }
        return false;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP: {
        const bool Up = Message.Msg == WM_NCLBUTTONUP;
        for (int I = 0; I < 2; ++I)
            if (Message.WParam == WPARAM(I == 0 ? HTTOOLBARLEFTBUTTON : HTTOOLBARRIGHTBUTTON)) {
                Buttons[I].Down = !Up;
                RepaintScrollButtons();
                if (Up)
                    StopScroll(I == 1);
                else
                    StartScroll(I == 1);
            }
        return false;
    }
    case WM_MOUSEMOVE:
        LeaveScrollButton();
        return false;
    default:
        return false;
    }
}

void TbsSkinToolBar::Dispatch(TMessage& Message) {
    if (FCanScroll && ScrollButtonMessage(Message))
        return;
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        // The bar has no system border: only the scroll buttons take room.
        if (FCanScroll)
            NCCalcSize(Message);
        return;
    case WM_NCPAINT:
        if (FCanScroll && (Buttons[0].Visible || Buttons[1].Visible)) {
            GetSkinData();
            const HDC DC = GetWindowDC(Handle());
            TCanvas C;
            C.SetHandle(DC);
            for (int I = 0; I < 2; ++I)
                if (Buttons[I].Visible)
                    PaintScrollButton(&C, I);
            C.SetHandle(nullptr);
            ReleaseDC(Handle(), DC);
            return;
        }
        break;
    case WM_SIZE:
        TbsSkinPanel::Dispatch(Message);
        if (FCanScroll && (Buttons[0].Visible || Buttons[1].Visible)) {
            Buttons[0].R = {0, 0, ScrollButtonWidth, FHeight};
            Buttons[1].R = {FWidth - ScrollButtonWidth, 0, FWidth, FHeight};
            RepaintScrollButtons();
        }
        return;
    case WM_TIMER:
        TbsSkinPanel::Dispatch(Message);
        if (FCanScroll && TimerMode != 0)
            ScrollStep(TimerMode == 2);
        return;
    case CM_MOUSELEAVE:
        TbsSkinPanel::Dispatch(Message);
        if (FCanScroll && !Designing() && WindowFromPoint(Mouse->CursorPos()) != Handle())
            LeaveScrollButton();
        return;
    case WM_WINDOWPOSCHANGING:
        if (HandleAllocated() && FAlign == alNone)
            UpdateScroll();
        TbsSkinPanel::Dispatch(Message);
        if (HandleAllocated() && FAdjustControls)
            AdjustChildren();
        return;
    default:
        break;
    }
    TbsSkinPanel::Dispatch(Message);
}

void TbsSkinToolBar::PaintScrollButton(TCanvas* C, int Index) {
    const TbsToolBarScrollButton& Btn = Buttons[Index];
    const int W = RectWidth(Btn.R), H = RectHeight(Btn.R);
    if (W <= 0 || H <= 0)
        return;
    TBitmap B;
    B.SetSize(W, H);
    TColor Arrow = clBtnText;
    TBitmap* ButtonPicture = ButtonData ? FSD->ActivePicture(ButtonData->PictureIndex) : nullptr;
    if (ButtonData && ButtonPicture) {
        const TbsDataSkinButtonControl& E = *ButtonData;
        TRect Face = E.SkinRect;
        Arrow = E.FontColor;
        if (!IsNullRect(E.DownSkinRect) && Btn.MouseIn && (Btn.Down || FHotScroll)) {
            Face = E.DownSkinRect;
            Arrow = E.DownFontColor;
        } else if (Btn.MouseIn && !IsNullRect(E.ActiveSkinRect)) {
            Face = E.ActiveSkinRect;
            Arrow = E.ActiveFontColor;
        }
        const int dw = W - RectWidth(E.SkinRect), dh = H - RectHeight(E.SkinRect);
        MakeNinePartBitmap(E.LTPoint, E.RTPoint, E.LBPoint, E.RBPoint, E.ClRect, E.LTPoint,
                           {E.RTPoint.X + dw, E.RTPoint.Y}, {E.LBPoint.X, E.LBPoint.Y + dh},
                           {E.RBPoint.X + dw, E.RBPoint.Y + dh}, Grown(E.ClRect, dw, dh), &B,
                           ButtonPicture, Face, W, H, true, E.LeftStretch, E.TopStretch,
                           E.RightStretch, E.BottomStretch, E.StretchEffect, E.StretchType);
    } else {
        TCanvas* BC = B.Canvas();
        const bool Strong = Btn.MouseIn && (Btn.Down || FHotScroll);
        TColor Frame = clBtnShadow, Fill = clBtnFace;
        if (Strong) {
            Frame = TColor(RGB(0, 0, 128));
            Fill = TColor(RGB(133, 147, 181));
        } else if (Btn.MouseIn) {
            Frame = TColor(RGB(0, 0, 128));
            Fill = TColor(RGB(182, 189, 210));
        }
        BC->Brush()->SetColor(Fill);
        BC->FillRect({0, 0, W, H});
        BC->Brush()->SetColor(Frame);
        BC->FrameRect({0, 0, W, H});
    }
    DrawArrowImage(B.Canvas(), {0, 0, W, H}, Arrow, Index == 0 ? 1 : 2);
    C->Draw(Btn.R.Left, Btn.R.Top, &B);
}

// ---------------------------------------------------------------- status bar

TbsSkinStatusBar::TbsSkinStatusBar(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = "statusbar";
    SetAlign(alBottom);
    SetHeight(21);
    SetBorderStyle(TbsSkinBorderStyle::bvNone);
    FForceBackground = false;
}

void TbsSkinStatusBar::SetSizeGrip(bool Value) {
    FSizeGrip = Value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::SetShowGrip(bool Value) {
    FShowGrip = Value;
    Repaint();
    Realign();
}

void TbsSkinStatusBar::AdjustClientRect(TRect& Rect) {
    TbsSkinPanel::AdjustClientRect(Rect);
    if (!GripActive())
        return;
    if (FIndex == -1 || IsNullRect(GripperRect))
        Rect.Right -= RectHeight(Rect);
    else
        Rect.Right -= RectWidth(GripperRect);
}

TRect TbsSkinStatusBar::GetGripRect() {
    const TRect R = GetSkinClientRect();
    if (FIndex != -1 && !IsNullRect(GripperRect))
        return {R.Right, R.Bottom - RectHeight(GripperRect), R.Right + RectWidth(GripperRect),
                R.Bottom};
    return {R.Right + 2, R.Top, R.Right + RectHeight(R), R.Bottom - 2};
}

void TbsSkinStatusBar::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    if (FIndex == -1)
        return;
    if (auto* E = dynamic_cast<TbsDataSkinPanelControl*>(FSD->CtrlList[FIndex].get())) {
        GripperRect = E->GripperRect;
        GripperTransparent = E->GripperTransparent;
        GripperTransparentColor = E->GripperTransparentColor;
    }
}

void TbsSkinStatusBar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Skinned = dynamic_cast<TbsSkinControl*>(Controls(I)))
            Skinned->SetSkinData(Value);
}

void TbsSkinStatusBar::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinPanel::CreateControlDefaultImage(B);
    if (GripActive())
        DrawGrip(B->Canvas(), GetGripRect(), clBtnHighlight, clBtnShadow);
}

void TbsSkinStatusBar::CreateControlSkinImage(TBitmap* B) {
    TbsSkinPanel::CreateControlSkinImage(B);
    if (!GripActive())
        return;
    const TRect G = GetGripRect();
    if (IsNullRect(GripperRect) || !Picture) {
        DrawGrip(B->Canvas(), G, FSD->SkinColors()->cBtnHighLight(),
                 FSD->SkinColors()->cBtnShadow());
        return;
    }
    TBitmap Gripper;
    Gripper.SetSize(RectWidth(GripperRect), RectHeight(GripperRect));
    CopyPart(&Gripper, {0, 0, Gripper.Width(), Gripper.Height()}, Picture, GripperRect);
    if (GripperTransparent) {
        Gripper.SetTransparentMode(tmFixed);
        Gripper.SetTransparentColor(GripperTransparentColor);
        Gripper.SetTransparent(true);
    }
    B->Canvas()->Draw(G.Left, G.Top, &Gripper);
}

void TbsSkinStatusBar::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_NCHITTEST && !Designing() && GripActive()) {
        const TPoint P = ScreenToClient(LParamToPoint(Message.LParam));
        Message.Result = PointInRect(GetGripRect(), P) ? HTBOTTOMRIGHT : HTCLIENT;
        return;
    }
    // A press on the grip sizes the window the bar belongs to, never the bar.
    if (Message.Msg == WM_NCLBUTTONDOWN && Message.WParam == WPARAM(HTBOTTOMRIGHT)) {
        TWinControl* Top = this;
        while (Top->Parent())
            Top = Top->Parent();
        if (Top != this && Top->HandleAllocated())
            SendMessage(Top->Handle(), WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, Message.LParam);
        return;
    }
    TbsSkinPanel::Dispatch(Message);
}

void DrawGrip(TCanvas* C, const TRect& R, TColor Light, TColor Dark) {
    for (int B = 3; R.Left + B + 2 <= R.Right; B += 3) {
        C->Pen()->SetColor(Dark);
        C->MoveTo(R.Left + B, R.Bottom);
        C->LineTo(R.Right, R.Top + B);
        C->Pen()->SetColor(Light);
        C->MoveTo(R.Left + B + 1, R.Bottom);
        C->LineTo(R.Right, R.Top + B + 1);
    }
}
