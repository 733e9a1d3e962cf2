#include "skin/controls/bsSkinCtrls.ScrollBar.h"

#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr UINT_PTR RepeatTimerId = 1;
constexpr UINT FirstRepeatDelay = 500;
constexpr UINT RepeatDelay = 50;
constexpr TColor PlainFrameHot = RGB(0, 0, 128);
constexpr TColor PlainFillDown = RGB(133, 147, 181);
constexpr TColor PlainFillHot = RGB(182, 189, 210);
constexpr int PlainButtonSize = 16;
constexpr int PlainThumbSize = 16;

// Halves go to the even neighbour.
int Nearest(double X) {
    return static_cast<int>(std::nearbyint(X));
}

bool InPart(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TRect Moved(TRect R, int DX, int DY) {
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
    return R;
}

} // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = "hscrollbar";
    SetBounds(Left(), Top(), 200, 19);
    SetDefaultHeight(19);
    SetTabStop(false);
}

TbsSkinScrollBar::~TbsSkinScrollBar() {
    if (HandleAllocated())
        KillTimer(Handle(), RepeatTimerId);
}

// ---------------------------------------------------------------- values

int TbsSkinScrollBar::ClampPosition(int Value) const {
    if (Value < FMin)
        return FMin;
    const int Top = FPageSize == 0 ? FMax : FMax - FPageSize + 1;
    return Value > Top ? Top : Value;
}

void TbsSkinScrollBar::SetPosition(int Value) {
    const int P = ClampPosition(Value);
    if (P == FPosition)
        return;
    FPosition = P;
    Repaint();
    if (OnChange)
        OnChange(this);
}

void TbsSkinScrollBar::SimplySetPosition(int Value) {
    FPosition = ClampPosition(Value);
    Repaint();
}

void TbsSkinScrollBar::SetRange(int AMin, int AMax, int APosition, int APageSize) {
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = ClampPosition(APosition);
    Repaint();
}

void TbsSkinScrollBar::SetMin(int Value) {
    FMin = Value;
    if (FPosition < FMin)
        FPosition = FMin;
    Repaint();
}

void TbsSkinScrollBar::SetMax(int Value) {
    FMax = Value;
    if (FPageSize == 0) {
        if (FPosition > FMax)
            FPosition = FMax;
    } else if (FMax - FMin < FPageSize + FPosition) {
        FPosition = FMax - FMin - FPageSize + 1;
        if (FPosition < FMin)
            FPosition = FMin;
    }
    Repaint();
}

void TbsSkinScrollBar::SetPageSize(int Value) {
    if (FMax - FMin + 1 >= Value + FPosition)
        FPageSize = Value;
    Repaint();
}

void TbsSkinScrollBar::SetSmallChange(int Value) {
    FSmallChange = Value;
    Repaint();
}

void TbsSkinScrollBar::SetLargeChange(int Value) {
    FLargeChange = Value;
    Repaint();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value)
        return;
    FKind = Value;
    Repaint();
}

void TbsSkinScrollBar::SetBoth(bool Value) {
    if (FBoth == Value)
        return;
    FBoth = Value;
    if (FBoth) {
        FNormalSkinDataName = FSkinDataName;
        FSkinDataName = FBothSkinDataName;
    } else if (!FNormalSkinDataName.empty()) {
        FSkinDataName = FNormalSkinDataName;
    }
    if (FIndex == -1)
        Repaint();
    else
        ChangeSkinData();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int Value) {
    if (Value < 0)
        return;
    FBothMarkerWidth = Value;
    if (FIndex == -1)
        Repaint();
}

void TbsSkinScrollBar::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

// ---------------------------------------------------------------- skin and layout

void TbsSkinScrollBar::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinScrollBarControl*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    TrackArea = E->TrackArea;
    UpButtonRect = E->UpButtonRect;
    ActiveUpButtonRect = E->ActiveUpButtonRect;
    DownUpButtonRect = E->DownUpButtonRect;
    DownButtonRect = E->DownButtonRect;
    ActiveDownButtonRect = E->ActiveDownButtonRect;
    DownDownButtonRect = E->DownDownButtonRect;
    ThumbRect = E->ThumbRect;
    ActiveThumbRect = E->ActiveThumbRect;
    DownThumbRect = E->DownThumbRect;
    ThumbOffset1 = E->ThumbOffset1;
    ThumbOffset2 = E->ThumbOffset2;
    ThumbTransparent = E->ThumbTransparent;
    ThumbTransparentColor = E->ThumbTransparentColor;
    ThumbStretchEffect = E->ThumbStretchEffect;
    ThumbMinSize = E->ThumbMinSize;
    ThumbMinPageSize = E->ThumbMinPageSize;
    GlyphRect = E->GlyphRect;
    ActiveGlyphRect = E->ActiveGlyphRect;
    DownGlyphRect = E->DownGlyphRect;
    GlyphTransparent = E->GlyphTransparent;
    GlyphTransparentColor = E->GlyphTransparentColor;
    if (IsNullRect(DownUpButtonRect))
        DownUpButtonRect = ActiveUpButtonRect;
    if (IsNullRect(DownDownButtonRect))
        DownDownButtonRect = ActiveDownButtonRect;
    if (IsNullRect(ActiveThumbRect))
        ActiveThumbRect = ThumbRect;
    if (IsNullRect(DownThumbRect))
        DownThumbRect = ActiveThumbRect;
    if (IsNullRect(ActiveGlyphRect))
        ActiveGlyphRect = GlyphRect;
    if (IsNullRect(DownGlyphRect))
        DownGlyphRect = ActiveGlyphRect;
}

int TbsSkinScrollBar::Along(const TRect& R, bool End) const {
    if (Horizontal())
        return End ? R.Right : R.Left;
    return End ? R.Bottom : R.Top;
}

void TbsSkinScrollBar::CalcSkinSize(int& AWidth, int& AHeight) {
    TbsSkinCustomControl::CalcSkinSize(AWidth, AHeight);
    LayoutParts();
}

void TbsSkinScrollBar::LayoutParts() {
    const int W = Width(), H = Height();
    int MinLength = PlainThumbSize, FixedLength = PlainThumbSize;
    TRect Thumb;
    if (FIndex == -1) {
        if (Horizontal()) {
            const int Wb = FBoth ? W - FBothMarkerWidth : W;
            Buttons[2].R = {1, 1, 1 + PlainButtonSize, H - 1};
            Buttons[1].R = {Wb - 1 - PlainButtonSize, 1, Wb - 1, H - 1};
            NewTrackArea = {1 + PlainButtonSize, 1, Wb - 1 - PlainButtonSize, H - 1};
        } else {
            Buttons[2].R = {1, 1, W - 1, 1 + PlainButtonSize};
            Buttons[1].R = {1, H - 1 - PlainButtonSize, W - 1, H - 1};
            NewTrackArea = {1, 1 + PlainButtonSize, W - 1, H - 1 - PlainButtonSize};
        }
        Thumb = NewTrackArea;
    } else {
        const int D = Horizontal() ? W - RectWidth(SkinRect) : H - RectHeight(SkinRect);
        NewTrackArea = TrackArea;
        auto MoveAlong = [&](const TRect& R) {
            if (Horizontal())
                return R.Left > RTPt.X ? Moved(R, D, 0) : R;
            return R.Top > LBPt.Y ? Moved(R, 0, D) : R;
        };
        if (Horizontal())
            NewTrackArea.Right += D;
        else
            NewTrackArea.Bottom += D;
        Buttons[1].R = MoveAlong(UpButtonRect);
        Buttons[2].R = MoveAlong(DownButtonRect);
        // Only a damaged skin asks for a thumb longer than the whole bar; no
        // longer than that, its picture stays a size a bitmap can have.
        const int ThumbLength = Horizontal() ? RectWidth(ThumbRect) : RectHeight(ThumbRect);
        const int BarLength = Horizontal() ? W : H;
        MinLength = std::min(ThumbMinSize != 0 ? ThumbMinSize : ThumbLength, BarLength);
        FixedLength = std::min(ThumbMinPageSize != 0 ? ThumbMinPageSize : MinLength, BarLength);
        if (Horizontal()) {
            const int Across = RectHeight(ThumbRect);
            Thumb.Top = NewTrackArea.Top + RectHeight(NewTrackArea) / 2 - Across / 2;
            Thumb.Bottom = Thumb.Top + Across;
        } else {
            const int Across = RectWidth(ThumbRect);
            Thumb.Left = NewTrackArea.Left + RectWidth(NewTrackArea) / 2 - Across / 2;
            Thumb.Right = Thumb.Left + Across;
        }
    }

    const int TrackStart = Along(NewTrackArea, false), TrackEnd = Along(NewTrackArea, true);
    int L = FixedLength;
    if (FPageSize != 0) {
        const int Span = FMax - FMin + 1;
        L = Span == 0 ? 0 : Nearest(static_cast<double>(TrackEnd - TrackStart) * FPageSize / Span);
        if (L < MinLength)
            L = MinLength;
    }
    const int Half = L / 2;
    Offset1 = TrackStart + Half;
    Offset2 = TrackEnd - Half;
    double F = 0;
    if (FPageSize == 0) {
        if (FMax != FMin)
            F = static_cast<double>(FPosition - FMin) / (FMax - FMin);
    } else {
        const int Divisor = FMax - FPageSize + 1 - FMin;
        if (Divisor > 0)
            F = static_cast<double>(FPosition - FMin) / Divisor;
        else
            F = Horizontal() ? 1 : 0;
    }
    BOffset = Nearest((Offset2 - Offset1) * F);
    if (Horizontal()) {
        Thumb.Left = Offset1 + BOffset - Half;
        Thumb.Right = Offset1 + BOffset + Half;
    } else {
        Thumb.Top = Offset1 + BOffset - Half;
        Thumb.Bottom = Offset1 + BOffset + Half;
    }
    Buttons[0].R = Thumb;
}

// ---------------------------------------------------------------- painting

void TbsSkinScrollBar::DrawPlainPart(TCanvas* C, int Index) {
    const TbsScrollBarPart& P = Buttons[Index];
    const bool Pressed =
        (P.Down && P.MouseIn) || (Index == 0 && P.Down) || (Index == 0 && FCanFocused && Focused());
    TColor Frame = clBtnShadow, Fill = clBtnFace;
    if (Pressed) {
        Frame = PlainFrameHot;
        Fill = PlainFillDown;
    } else if (P.MouseIn) {
        Frame = PlainFrameHot;
        Fill = PlainFillHot;
    }
    C->Brush()->SetColor(Frame);
    C->FrameRect(P.R);
    C->Brush()->SetColor(Fill);
    C->FillRect({P.R.Left + 1, P.R.Top + 1, P.R.Right - 1, P.R.Bottom - 1});
    if (Index == 0)
        return;
    const int Code = Index == 1 ? (Horizontal() ? 2 : 4) : (Horizontal() ? 1 : 3);
    DrawArrowImage(C, {P.R.Left + 1, P.R.Top + 1, P.R.Right - 1, P.R.Bottom - 1}, clBlack, Code);
}

void TbsSkinScrollBar::CreateControlDefaultImage(TBitmap* B) {
    LayoutParts();
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect({0, 0, Width(), Height()});
    if (Enabled())
        DrawPlainPart(C, 0);
    DrawPlainPart(C, 1);
    DrawPlainPart(C, 2);
}

void TbsSkinScrollBar::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    LayoutParts();
    if (!Picture)
        return;
    TCanvas* C = B->Canvas();
    for (int Index : {1, 2}) {
        const TbsScrollBarPart& P = Buttons[Index];
        TRect Source;
        if (P.Down && P.MouseIn)
            Source = Index == 1 ? DownUpButtonRect : DownDownButtonRect;
        else if (P.MouseIn)
            Source = Index == 1 ? ActiveUpButtonRect : ActiveDownButtonRect;
        else
            continue;
        if (!IsNullRect(Source))
            C->CopyRect(P.R, Picture->Canvas(), Source);
    }
    if (Enabled())
        DrawSkinThumb(C);
}

void TbsSkinScrollBar::DrawSkinThumb(TCanvas* C) {
    const TbsScrollBarPart& T = Buttons[0];
    const int TW = RectWidth(T.R), TH = RectHeight(T.R);
    if (TW <= 0 || TH <= 0)
        return;
    const bool Pressed = T.Down || (FCanFocused && Focused());
    const TRect Source = Pressed ? DownThumbRect : T.MouseIn ? ActiveThumbRect : ThumbRect;
    const TRect Grip = Pressed ? DownGlyphRect : T.MouseIn ? ActiveGlyphRect : GlyphRect;
    if (IsNullRect(Source))
        return;
    auto Bmp = std::make_unique<TBitmap>();
    Bmp->SetSize(TW, TH);
    if (FPageSize != 0 || ThumbMinPageSize != 0) {
        if (Horizontal())
            MakeHorzThreePartBitmap(ThumbOffset1, ThumbOffset2, Bmp.get(), Picture, Source, TW, TH,
                                    ThumbStretchEffect);
        else
            MakeVertThreePartBitmap(ThumbOffset1, ThumbOffset2, Bmp.get(), Picture, Source, TW, TH,
                                    ThumbStretchEffect);
    } else {
        StretchPart(Bmp.get(), {0, 0, TW, TH}, Picture, Source);
    }
    const int GW = RectWidth(Grip), GH = RectHeight(Grip);
    const bool GripFits = Horizontal() ? GW < TW : GH < TH;
    if (!IsNullRect(Grip) && GripFits) {
        const int GX = TW / 2 - GW / 2, GY = TH / 2 - GH / 2;
        if (GlyphTransparent) {
            TBitmap G;
            G.SetSize(GW, GH);
            CopyPart(&G, {0, 0, GW, GH}, Picture, Grip);
            G.SetTransparent(true);
            G.SetTransparentMode(tmFixed);
            G.SetTransparentColor(GlyphTransparentColor);
            Bmp->Canvas()->Draw(GX, GY, &G);
        } else {
            CopyPart(Bmp.get(), {GX, GY, GX + GW, GY + GH}, Picture, Grip);
        }
    }
    if (ThumbTransparent) {
        Bmp->SetTransparent(true);
        Bmp->SetTransparentMode(tmFixed);
        Bmp->SetTransparentColor(ThumbTransparentColor);
    }
    C->Draw(T.R.Left, T.R.Top, Bmp.get());
}

// ---------------------------------------------------------------- pointer

int TbsSkinScrollBar::PartAt(int X, int Y) const {
    for (int Index = 0; Index < 3; ++Index)
        if (InPart(Buttons[Index].R, X, Y))
            return Index;
    return -1;
}

void TbsSkinScrollBar::UpdateActivePart(int X, int Y) {
    int Hit = PartAt(X, Y);
    if (CaptureButton != -1 && Hit != CaptureButton)
        Hit = -1;
    if (Hit == ActiveButton)
        return;
    OldActiveButton = ActiveButton;
    ActiveButton = Hit;
    if (OldActiveButton != -1)
        LeavePart(OldActiveButton);
    if (ActiveButton != -1)
        EnterPart(ActiveButton);
}

void TbsSkinScrollBar::EnterPart(int Index) {
    Buttons[Index].MouseIn = true;
    Repaint();
    if (Index != 0 && Buttons[Index].Down && HandleAllocated())
        SetTimer(Handle(), RepeatTimerId, RepeatDelay, nullptr);
}

void TbsSkinScrollBar::LeavePart(int Index) {
    Buttons[Index].MouseIn = false;
    Repaint();
    if (Index != 0 && Buttons[Index].Down && HandleAllocated())
        KillTimer(Handle(), RepeatTimerId);
}

void TbsSkinScrollBar::StartRepeat(int Mode) {
    TimerMode = Mode;
    WaitMode = true;
    if (HandleAllocated())
        SetTimer(Handle(), RepeatTimerId, FirstRepeatDelay, nullptr);
}

void TbsSkinScrollBar::StopRepeat() {
    if (HandleAllocated())
        KillTimer(Handle(), RepeatTimerId);
    TimerMode = 0;
}

void TbsSkinScrollBar::StepBy(int Delta) {
    SetPosition(FPosition + Delta);
}

void TbsSkinScrollBar::PressPart(int Index) {
    Buttons[Index].Down = true;
    Repaint();
    switch (Index) {
    case 1:
        if (OnUpButtonClick)
            OnUpButtonClick(this);
        else
            StepBy(FSmallChange);
        StartRepeat(2);
        break;
    case 2:
        if (OnDownButtonClick)
            OnDownButtonClick(this);
        else
            StepBy(-FSmallChange);
        StartRepeat(1);
        break;
    default:
        OMPos = Horizontal() ? MX : MY;
        OldBOffset = BOffset;
        FDown = true;
        Repaint();
        break;
    }
}

void TbsSkinScrollBar::ReleasePart(int Index) {
    Buttons[Index].Down = false;
    if (Index != ActiveButton)
        Buttons[Index].MouseIn = false;
    Repaint();
    if (Index == 0)
        FDown = false;
    else
        StopRepeat();
}

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    MX = X;
    MY = Y;
    MouseD = true;
    LayoutParts();
    TimerMode = 0;
    WaitMode = true;
    const int Hit = PartAt(X, Y);
    if (Hit != -1) {
        CaptureButton = Hit;
        PressPart(Hit);
        return;
    }
    if (!InPart(NewTrackArea, X, Y))
        return;
    const int P = Horizontal() ? X : Y;
    if (P < Along(Buttons[0].R, false)) {
        StepBy(-FLargeChange);
        StartRepeat(3);
        if (OnPageUp)
            OnPageUp(this);
    } else {
        StepBy(FLargeChange);
        StartRepeat(4);
        if (OnPageDown)
            OnPageDown(this);
    }
}

void TbsSkinScrollBar::PositionFromThumbOffset(int T) {
    const int Span = Offset2 - Offset1;
    double F = Span > 0 ? static_cast<double>(T) / Span : 0;
    F = F < 0 ? 0 : F > 1 ? 1 : F;
    const int Range = FPageSize != 0 ? FMax - FMin - FPageSize + 1 : FMax - FMin;
    SetPosition(FMin + Nearest(Range * F));
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
    MX = X;
    MY = Y;
    UpdateActivePart(X, Y);
    if (FDown)
        PositionFromThumbOffset(OldBOffset + (Horizontal() ? X : Y) - OMPos);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    MouseD = false;
    if (TimerMode == 3 || TimerMode == 4)
        StopRepeat();
    const int Captured = CaptureButton;
    if (Captured != -1)
        ReleasePart(Captured);
    CaptureButton = -1;
    if (Button == mbLeft && Captured == 0 && OnLastChange)
        OnLastChange(this);
}

void TbsSkinScrollBar::DoMouseLeave() {
    if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
        Buttons[ActiveButton].MouseIn = false;
        Repaint();
        ActiveButton = -1;
    }
    // A page-down repeat follows the pointer only inside the bar.
    if (MouseD && TimerMode == 4)
        StopRepeat();
}

void TbsSkinScrollBar::RepeatTick() {
    if (WaitMode) {
        WaitMode = false;
        SetTimer(Handle(), RepeatTimerId, RepeatDelay, nullptr);
        return;
    }
    switch (TimerMode) {
    case 1:
        if (OnDownButtonClick)
            OnDownButtonClick(this);
        else
            StepBy(-FSmallChange);
        break;
    case 2:
        if (OnUpButtonClick)
            OnUpButtonClick(this);
        else
            StepBy(FSmallChange);
        break;
    case 3:
        UpdateActivePart(MX, MY);
        if ((Horizontal() ? MX : MY) < Along(Buttons[0].R, false)) {
            StepBy(-FLargeChange);
            if (OnPageUp)
                OnPageUp(this);
        } else {
            StopRepeat();
        }
        break;
    case 4:
        UpdateActivePart(MX, MY);
        if ((Horizontal() ? MX : MY) > Along(Buttons[0].R, true)) {
            StepBy(FLargeChange);
            if (OnPageDown)
                OnPageDown(this);
        } else {
            StopRepeat();
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- keys, focus, messages

void TbsSkinScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (!FCanFocused)
        return;
    if (Key == VK_LEFT || Key == VK_UP)
        StepBy(-FSmallChange);
    else if (Key == VK_RIGHT || Key == VK_DOWN)
        StepBy(FSmallChange);
}

void TbsSkinScrollBar::DoWheel(TMessage& Message) {
    if (!FCanFocused || !Focused())
        return;
    if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
        StepBy(-FSmallChange);
    else
        StepBy(FSmallChange);
}

void TbsSkinScrollBar::WndProc(TMessage& Message) {
    const bool Click = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
    if (Click && FCanFocused && !Focused() && CanFocus()) {
        FClicksDisabled = true;
        SetFocus();
        FClicksDisabled = false;
        if (!Focused())
            return;
    }
    if (Message.Msg == CN_COMMAND && FClicksDisabled)
        return;
    TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinScrollBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        if (!FromWMPaint && Message.WParam) {
            TCanvas C;
            C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
            TBitmap B;
            B.SetSize(Width(), Height());
            GetSkinData();
            if (FIndex == -1)
                CreateControlDefaultImage(&B);
            else
                CreateControlSkinImage(&B);
            C.Draw(0, 0, &B);
            C.SetHandle(0);
        }
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(Message);
        RepeatTick();
        return;
    case WM_MOUSEWHEEL:
        DoWheel(Message);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(Message);
        DoMouseLeave();
        return;
    case CM_WANTSPECIALKEY: {
        const WPARAM Key = Message.WParam;
        if ((Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN))
            Message.Result = 1;
        else
            TbsSkinCustomControl::Dispatch(Message);
        return;
    }
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}
