// The scroll box and its external bars.
#include "skin/controls/bsSkinEdits.h"

#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>

TbsSkinScrollBox::TbsSkinScrollBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FControlStyle.Include(csAcceptsControls);
    SetTabStop(false);
    SetBounds(Left(), Top(), 150, 150);
    FSkinDataName = "scrollbox";
}

// ---------------------------------------------------------------- bars

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* Value) {
    FVScrollBar = Value;
    if (FVScrollBar) {
        FVScrollBar->FreeNotification(this);
        FVScrollBar->SetCanFocused(false);
        FVScrollBar->OnChange = TNotifyEvent(this, &TbsSkinScrollBox::VScrollBarChange);
        FVScrollBar->OnLastChange = TNotifyEvent(this, &TbsSkinScrollBox::BarLastChange);
        FVScrollBar->SetEnabled(true);
        FVScrollBar->SetVisible(false);
    }
    GetVRange();
}

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* Value) {
    FHScrollBar = Value;
    if (FHScrollBar) {
        FHScrollBar->FreeNotification(this);
        FHScrollBar->SetCanFocused(false);
        FHScrollBar->OnChange = TNotifyEvent(this, &TbsSkinScrollBox::HScrollBarChange);
        FHScrollBar->OnLastChange = TNotifyEvent(this, &TbsSkinScrollBox::BarLastChange);
        FHScrollBar->SetEnabled(true);
        FHScrollBar->SetVisible(false);
    }
    GetHRange();
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle Value) {
    FBorderStyle = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TbsSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FVScrollBar)
        FVScrollBar = nullptr;
    if (AComponent == FHScrollBar)
        FHScrollBar = nullptr;
}

void TbsSkinScrollBox::VScrollControls(int Distance) {
    ScrollBy(0, -Distance);
    if (FIndex != -1 && StretchEffect)
        Repaint();
}

void TbsSkinScrollBox::HScrollControls(int Distance) {
    ScrollBy(-Distance, 0);
    if (FIndex != -1 && StretchEffect)
        Repaint();
}

void TbsSkinScrollBox::VScrollBarChange(TObject*) {
    VScrollControls(FVScrollBar->Position() - FOldVScrollBarPos);
    FOldVScrollBarPos = FVScrollBar->Position();
}

void TbsSkinScrollBox::HScrollBarChange(TObject*) {
    HScrollControls(FHScrollBar->Position() - FOldHScrollBarPos);
    FOldHScrollBarPos = FHScrollBar->Position();
}

void TbsSkinScrollBox::BarLastChange(TObject*) {
    Invalidate();
}

void TbsSkinScrollBox::VScroll(int APosition) {
    if (!FVScrollBar || FVScrollBar->PageSize() == 0)
        return;
    const int Old = FVScrollBar->Position();
    FVScrollBar->SimplySetPosition(
        std::min(APosition, FVScrollBar->Max() - FVScrollBar->PageSize()));
    VScrollControls(FVScrollBar->Position() - Old);
    FOldVScrollBarPos = FVScrollBar->Position();
}

void TbsSkinScrollBox::HScroll(int APosition) {
    if (!FHScrollBar || FHScrollBar->PageSize() == 0)
        return;
    const int Old = FHScrollBar->Position();
    FHScrollBar->SimplySetPosition(APosition);
    HScrollControls(FHScrollBar->Position() - Old);
    FOldHScrollBarPos = FHScrollBar->Position();
}

// ---------------------------------------------------------------- ranges

void TbsSkinScrollBox::UpDateScrollRange() {
    GetHRange();
    GetVRange();
}

void TbsSkinScrollBox::ShowBar(TbsSkinScrollBar* Bar, bool Value) {
    FInCheckScrollBars = true;
    Bar->SetVisible(Value);
    FInCheckScrollBars = false;
    if (Align() == alNone)
        return;
    FInCheckScrollBars = true;
    if (Parent())
        Parent()->Realign();
    Realign();
    FInCheckScrollBars = false;
}

void TbsSkinScrollBox::SyncBoth() {
    if (FVScrollBar && FHScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
        FHScrollBar->SetBoth(FVScrollBar->Visible());
}

namespace {

// One axis of the range update: View is the client extent, Extent the far
// edge of the visible children, Move shifts the children towards the
// content's start by a distance.
template <typename TMove>
void UpdateAxis(TbsSkinScrollBar* Bar, int View, int Extent, int& SizeOffset, int& OldPos,
                bool& Show, bool& Hide, TMove Move) {
    const int P = Bar->Position();
    if (Extent + P > View) {
        Show = !Bar->Visible();
        if (P > 0 && Extent < View && SizeOffset > 0) {
            SizeOffset = std::min(SizeOffset, P);
            Bar->SetRange(0, Extent + P - 1, P - SizeOffset, View);
            Move(SizeOffset);
        } else if (SizeOffset == 0 && Extent + P - 1 < Bar->Max() && P > 0 && Extent < View) {
            const int D = std::min(View - Extent, P);
            Move(D);
            Bar->SetRange(0, Extent + P - 1, P - D, View);
        } else {
            Bar->SetRange(0, Extent + P - 1, P, View);
        }
        SizeOffset = 0;
        OldPos = Bar->Position();
        return;
    }
    if (P > 0)
        Move(P);
    SizeOffset = 0;
    OldPos = 0;
    Bar->SetRange(0, 0, 0, 0);
    Hide = Bar->Visible();
}

} // namespace

void TbsSkinScrollBox::GetVRange() {
    if (!FVScrollBar || FInCheckScrollBars || !Parent())
        return;
    int Extent = 0;
    for (int I = 0; I < ControlCount(); ++I)
        if (TControl* C = Controls(I); C->Visible())
            Extent = std::max(Extent, C->Top() + C->Height());
    bool Show = false, Hide = false;
    UpdateAxis(FVScrollBar, ClientHeight(), Extent, FVSizeOffset, FOldVScrollBarPos, Show, Hide,
               [this](int D) { ScrollBy(0, D); });
    if (Show || Hide)
        ShowBar(FVScrollBar, Show);
    SyncBoth();
}

void TbsSkinScrollBox::GetHRange() {
    if (!FHScrollBar || FInCheckScrollBars || !Parent())
        return;
    int Extent = 0;
    for (int I = 0; I < ControlCount(); ++I)
        if (TControl* C = Controls(I); C->Visible())
            Extent = std::max(Extent, C->Left() + C->Width());
    bool Show = false, Hide = false;
    UpdateAxis(FHScrollBar, ClientWidth(), Extent, FHSizeOffset, FOldHScrollBarPos, Show, Hide,
               [this](int D) { ScrollBy(D, 0); });
    if (Show || Hide)
        ShowBar(FHScrollBar, Show);
    SyncBoth();
}

void TbsSkinScrollBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int OldW = FWidth, OldH = FHeight;
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FHSizeOffset = OldW != 0 && FWidth > OldW ? FWidth - OldW : 0;
    if (Align() != alNone)
        GetHRange();
    FVSizeOffset = OldH != 0 && FHeight > OldH ? FHeight - OldH : 0;
    if (Align() != alNone)
        GetVRange();
}

void TbsSkinScrollBox::AdjustClientRect(TRect& Rect) {
    int L = 0, W = ClientWidth(), T = 0, H = ClientHeight();
    if (FHScrollBar && FHScrollBar->Visible()) {
        L = -FHScrollBar->Position();
        W = std::max(FHScrollBar->Max(), ClientWidth());
    }
    if (FVScrollBar && FVScrollBar->Visible()) {
        T = -FVScrollBar->Position();
        H = std::max(FVScrollBar->Max(), ClientHeight());
    }
    Rect = {L, T, L + W, T + H};
    TbsSkinCustomControl::AdjustClientRect(Rect);
}

// ---------------------------------------------------------------- window

void TbsSkinScrollBox::CreateParams(TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinScrollBox::WndProc(TMessage& Message) {
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && FCanFocused &&
        !Designing() && !Focused()) {
        FClicksDisabled = true;
        if (CanFocus())
            ::SetFocus(Handle());
        FClicksDisabled = false;
        if (!Focused())
            return;
    }
    if (Message.Msg == CN_COMMAND && FClicksDisabled)
        return;
    TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinScrollBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_VISIBLECHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        if (FVScrollBar)
            FVScrollBar->SetVisible(Visible());
        if (FHScrollBar)
            FHScrollBar->SetVisible(Visible());
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(Message);
        if (HandleAllocated())
            SendMessage(Handle(), WM_NCPAINT, 1, 0);
        return;
    case WM_WINDOWPOSCHANGING:
        TbsSkinCustomControl::Dispatch(Message);
        if (HandleAllocated() && Align() == alNone) {
            GetVRange();
            GetHRange();
        }
        return;
    case WM_NCCALCSIZE:
        WMNCCalcSize(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint();
        return;
    case WM_NCPAINTTODC: {
        HDC DC = reinterpret_cast<HDC>(Message.WParam);
        Message.Result = 0;
        if (DC && HasFrame()) {
            TCanvas C;
            C.SetHandle(DC);
            PaintBoxFrame(&C);
            C.SetHandle(nullptr);
            Message.Result = NCPAINTTODC_ANSWER;
        }
        return;
    }
    case WM_PAINTTODC: {
        if (Message.LParam != PAINTTODC_TOKEN) {
            TbsSkinCustomControl::Dispatch(Message);
            return;
        }
        HDC DC = reinterpret_cast<HDC>(Message.WParam);
        if (DC && HasFrame()) {
            TCanvas C;
            C.SetHandle(DC);
            PaintBoxFrame(&C);
            C.SetHandle(nullptr);
        }
        Message.Result = PAINTTODC_TOKEN;
        return;
    }
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

void TbsSkinScrollBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (HandleAllocated())
        RecreateWnd();
    // Assigning the same alignment again makes the parent place the bars.
    if (FVScrollBar)
        FVScrollBar->SetAlign(FVScrollBar->Align());
    if (FHScrollBar)
        FHScrollBar->SetAlign(FHScrollBar->Align());
}

// ---------------------------------------------------------------- skin and frame

void TbsSkinScrollBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1)
        return;
    if (auto* E = dynamic_cast<TbsDataSkinScrollBoxControl*>(FSD->CtrlList[FIndex].get()))
        // A picture the skin does not have is no background picture.
        if (E->BGPictureIndex >= 0 && FSD->ActivePicture(E->BGPictureIndex))
            BGPictureIndex = E->BGPictureIndex;
    // Neither a face with a client part to tile nor a background picture:
    // the plain look.
    if (BGPictureIndex == -1 && (!Picture || RectWidth(ClRect) <= 0 || RectHeight(ClRect) <= 0))
        FIndex = -1;
}

bool TbsSkinScrollBox::HasFrame() {
    GetSkinData();
    return FBorderStyle != TbsSkinBorderStyle::bvNone && BGPictureIndex == -1;
}

void TbsSkinScrollBox::WMNCCalcSize(TMessage& Message) {
    TRect* R = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                              : reinterpret_cast<TRect*>(Message.LParam);
    if (!R || !HasFrame())
        return;
    if (FIndex == -1) {
        R->Left += 1;
        R->Top += 1;
        R->Right -= 1;
        R->Bottom -= 1;
        return;
    }
    R->Left += ClRect.Left;
    R->Top += ClRect.Top;
    R->Right += ClRect.Right - RectWidth(SkinRect);
    R->Bottom += ClRect.Bottom - RectHeight(SkinRect);
}

void TbsSkinScrollBox::WMNCPaint() {
    if (!HandleAllocated() || !HasFrame())
        return;
    HDC DC = GetWindowDC(Handle());
    {
        TCanvas C;
        C.SetHandle(DC);
        PaintBoxFrame(&C);
        C.SetHandle(nullptr);
    }
    ReleaseDC(Handle(), DC);
}

void TbsSkinScrollBox::PaintBoxFrame(TCanvas* C) {
    if (FIndex == -1) {
        if (FBorderStyle == TbsSkinBorderStyle::bvNone)
            return;
        TColor TopLeft = clBtnShadow, BottomRight = clBtnShadow;
        if (FBorderStyle == TbsSkinBorderStyle::bvRaised)
            BottomRight = clBtnHighlight;
        else if (FBorderStyle == TbsSkinBorderStyle::bvLowered)
            TopLeft = clBtnHighlight;
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(TopLeft);
        C->MoveTo(0, FHeight - 1);
        C->LineTo(0, 0);
        C->LineTo(FWidth - 1, 0);
        C->Pen()->SetColor(BottomRight);
        C->LineTo(FWidth - 1, FHeight - 1);
        C->LineTo(0, FHeight - 1);
        return;
    }
    const int DX = FWidth - RectWidth(SkinRect), DY = FHeight - RectHeight(SkinRect);
    TRect NewCl = ClRect;
    NewCl.Right += DX;
    NewCl.Bottom += DY;
    TBitmap L, T, R, B;
    MakeFrameBorderBitmaps(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, {RTPt.X + DX, RTPt.Y},
                           {LBPt.X, LBPt.Y + DY}, {RBPt.X + DX, RBPt.Y + DY}, NewCl, &L, &T, &R, &B,
                           Picture, SkinRect, FWidth, FHeight, LeftStretch, TopStretch,
                           RightStretch, BottomStretch);
    C->Draw(0, 0, &T);
    C->Draw(0, T.Height(), &L);
    C->Draw(FWidth - R.Width(), T.Height(), &R);
    C->Draw(0, FHeight - B.Height(), &B);
}

// ---------------------------------------------------------------- client

void TbsSkinScrollBox::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(Color());
    B->Canvas()->FillRect({0, 0, B->Width(), B->Height()});
}

void TbsSkinScrollBox::Paint() {
    GetSkinData();
    const int CW = ClientWidth(), CH = ClientHeight();
    TBitmap Face;
    TBitmap* Src = nullptr;
    if (FIndex != -1 && BGPictureIndex != -1) {
        Src = FSD->ActivePicture(BGPictureIndex);
    } else if (FIndex != -1 && Picture && RectWidth(ClRect) > 0 && RectHeight(ClRect) > 0) {
        Face.SetSize(RectWidth(ClRect), RectHeight(ClRect));
        CopyPart(&Face, {0, 0, Face.Width(), Face.Height()}, Picture,
                 {SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                  SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom});
        Src = &Face;
    }
    // No tile to lay (plain look, or a skin without a usable client part).
    if (!Src || Src->Width() < 1 || Src->Height() < 1) {
        TbsSkinControl::Paint();
        return;
    }
    if (CW < 1 || CH < 1)
        return;
    TCanvas* C = Canvas();
    const HDC DC = C->Handle();
    const int Saved = SaveDC(DC);
    IntersectClipRect(DC, 0, 0, CW, CH);
    const int W = Src->Width(), H = Src->Height();
    const bool FromFace = Src == &Face;
    if (StretchEffect && FWidth > 0 && FHeight > 0) {
        if (StretchType == bsstFull) {
            C->StretchDraw({0, 0, FWidth, FHeight}, Src);
        } else if (StretchType == bsstHorz) {
            TBitmap Strip;
            Strip.SetSize(W, FHeight);
            Strip.Canvas()->StretchDraw({0, 0, W, FHeight}, Src);
            for (int K = 0; K <= FWidth / W; ++K)
                C->Draw(K * W, 0, &Strip);
        } else {
            TBitmap Strip;
            Strip.SetSize(FWidth, H);
            Strip.Canvas()->StretchDraw({0, 0, FWidth, H}, Src);
            for (int K = 0; K <= FHeight / H; ++K)
                C->Draw(0, K * H, &Strip);
        }
    } else {
        const int Cols = (FromFace ? CW : FWidth) / W, Rows = (FromFace ? CH : FHeight) / H;
        for (int Y = 0; Y <= Rows; ++Y)
            for (int X = 0; X <= Cols; ++X)
                C->Draw(X * W, Y * H, Src);
    }
    RestoreDC(DC, Saved);
}
