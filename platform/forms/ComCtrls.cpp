#include "platform/forms/ComCtrls.h"

#include <algorithm>

// ---------------------------------------------------------------- TTrackBar

namespace {

constexpr int ThumbLength = 11;
constexpr int ThumbThickness = 21;
constexpr int Margin = 8;

} // namespace

TTrackBar::TTrackBar(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 150;
    FHeight = 45;
    FTabStop = true;
    FParentColor = false;
    FColor = clBtnFace;
    FBrush.SetColor(FColor);
    FControlStyle.Exclude(csClickEvents);
}

void TTrackBar::SetRange(int AMin, int AMax) {
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    int Clamped = std::clamp(FPosition, FMin, FMax);
    Invalidate();
    SetPosition(Clamped);
}

void TTrackBar::SetPosition(int Value) {
    Value = std::clamp(Value, FMin, FMax);
    if (Value == FPosition)
        return;
    FPosition = Value;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TTrackBar::SetFrequency(int Value) {
    FFrequency = Value;
    Invalidate();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
    FTickMarks = Value;
    Invalidate();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
    FTickStyle = Value;
    Invalidate();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    SetBounds(FLeft, FTop, FHeight, FWidth);
    Invalidate();
}

TRect TTrackBar::ChannelRect() {
    TRect C = ClientRect();
    if (FOrientation == trHorizontal) {
        int Mid = C.Height() / 2;
        return Rect(Margin, Mid - 2, C.Right - Margin, Mid + 2);
    }
    int Mid = C.Width() / 2;
    return Rect(Mid - 2, Margin, Mid + 2, C.Bottom - Margin);
}

TRect TTrackBar::ThumbRect() {
    TRect Channel = ChannelRect();
    int Range = std::max(1, FMax - FMin);
    if (FOrientation == trHorizontal) {
        int Span = Channel.Width();
        int X = Channel.Left + (FPosition - FMin) * Span / Range - ThumbLength / 2;
        int Mid = (Channel.Top + Channel.Bottom) / 2;
        return Bounds(X, Mid - ThumbThickness / 2, ThumbLength, ThumbThickness);
    }
    int Span = Channel.Height();
    int Y = Channel.Top + (FPosition - FMin) * Span / Range - ThumbLength / 2;
    int Mid = (Channel.Left + Channel.Right) / 2;
    return Bounds(Mid - ThumbThickness / 2, Y, ThumbThickness, ThumbLength);
}

int TTrackBar::PositionAt(TPoint P) {
    TRect Channel = ChannelRect();
    int Range = FMax - FMin;
    int Span = FOrientation == trHorizontal ? Channel.Width() : Channel.Height();
    int Offset = FOrientation == trHorizontal ? P.X - Channel.Left : P.Y - Channel.Top;
    if (Span <= 0)
        return FMin;
    return FMin + (Offset * Range + Span / 2) / Span;
}

void TTrackBar::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FColor);
    C->FillRect(R);
    TRect Channel = ChannelRect();
    DrawEdge(C->Handle(), &Channel, EDGE_SUNKEN, BF_RECT);
    TRect Thumb = ThumbRect();
    if (FTickStyle == tsAuto && FFrequency > 0) {
        C->Pen()->SetColor(clBtnText);
        TRect Ch = ChannelRect();
        int Range = std::max(1, FMax - FMin);
        for (int V = FMin; V <= FMax; V += FFrequency) {
            if (FOrientation == trHorizontal) {
                int X = Ch.Left + (V - FMin) * Ch.Width() / Range;
                if (FTickMarks != tmTopLeft) {
                    C->MoveTo(X, Thumb.Bottom + 2);
                    C->LineTo(X, Thumb.Bottom + 5);
                }
                if (FTickMarks != tmBottomRight) {
                    C->MoveTo(X, Thumb.Top - 5);
                    C->LineTo(X, Thumb.Top - 2);
                }
            } else {
                int Y = Ch.Top + (V - FMin) * Ch.Height() / Range;
                if (FTickMarks != tmTopLeft) {
                    C->MoveTo(Thumb.Right + 2, Y);
                    C->LineTo(Thumb.Right + 5, Y);
                }
                if (FTickMarks != tmBottomRight) {
                    C->MoveTo(Thumb.Left - 5, Y);
                    C->LineTo(Thumb.Left - 2, Y);
                }
            }
        }
    }
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Thumb);
    TRect Edge = Thumb;
    DrawEdge(C->Handle(), &Edge, EDGE_RAISED, BF_RECT);
    if (Focused()) {
        TRect F = R;
        InflateRect(&F, -1, -1);
        C->DrawFocusRect(F);
    }
}

void TTrackBar::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_LEFT:
    case VK_UP:
        SetPosition(FPosition - FLineSize);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetPosition(FPosition + FLineSize);
        break;
    case VK_PRIOR:
        SetPosition(FPosition - FPageSize);
        break;
    case VK_NEXT:
        SetPosition(FPosition + FPageSize);
        break;
    case VK_HOME:
        SetPosition(FMin);
        break;
    case VK_END:
        SetPosition(FMax);
        break;
    default:
        break;
    }
}

void TTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (CanFocus())
        SetFocus();
    TRect Thumb = ThumbRect();
    if (PtInRect(&Thumb, {X, Y})) {
        FDragging = true;
        SetMouseCapture(true);
        return;
    }
    // A press beside the thumb moves it a page toward the pointer.
    int Target = PositionAt({X, Y});
    SetPosition(Target < FPosition ? FPosition - FPageSize : FPosition + FPageSize);
}

void TTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FDragging)
        SetPosition(PositionAt({X, Y}));
}

void TTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FDragging) {
        FDragging = false;
        SetMouseCapture(false);
    }
}

void TTrackBar::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TCustomControl::Dispatch(Message);
    if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS)
        Invalidate();
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 150;
    FHeight = 16;
    FParentColor = false;
    FColor = clBtnFace;
    FBrush.SetColor(FColor);
    FControlStyle.Include(csOpaque);
}

void TProgressBar::SetMin(int Value) {
    FMin = Value;
    if (FMax < FMin)
        FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Invalidate();
}

void TProgressBar::SetMax(int Value) {
    FMax = Value;
    if (FMin > FMax)
        FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Invalidate();
}

void TProgressBar::SetPosition(int Value) {
    Value = std::clamp(Value, FMin, FMax);
    if (Value == FPosition)
        return;
    FPosition = Value;
    Invalidate();
}

void TProgressBar::StepIt() {
    int Next = FPosition + FStep;
    if (Next > FMax)
        Next = FMin + (Next - FMax - 1) % std::max(1, FMax - FMin + 1);
    if (Next < FMin)
        Next = FMin;
    FPosition = Next;
    Invalidate();
}

void TProgressBar::StepBy(int Delta) {
    SetPosition(FPosition + Delta);
}

void TProgressBar::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FColor);
    C->FillRect(R);
    TRect Edge = R;
    DrawEdge(C->Handle(), &Edge, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&R, -2, -2);
    int Range = FMax - FMin;
    if (Range <= 0)
        return;
    TRect Done = R;
    Done.Right = R.Left + int((long long)(FPosition - FMin) * R.Width() / Range);
    C->Brush()->SetColor(clHighlight);
    C->FillRect(Done);
}
