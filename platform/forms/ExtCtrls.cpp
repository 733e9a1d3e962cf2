#include "platform/forms/ExtCtrls.h"

#include "platform/forms/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------- TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
    FEnabled = false;
    if (FWindowHandle) {
        KillTimer(FWindowHandle, 1);
        if (Application)
            Application->DeallocateMessageWindow(FWindowHandle);
        FWindowHandle = nullptr;
    }
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == FInterval)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
    FOnTimer = std::move(Value);
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (FWindowHandle)
        KillTimer(FWindowHandle, 1);
    if (!FEnabled || FInterval == 0 || !FOnTimer || !Application)
        return;
    if (!FWindowHandle)
        FWindowHandle = Application->AllocateMessageWindow(TWindowMethod(this, &TTimer::WndProc));
    SetTimer(FWindowHandle, 1, FInterval, nullptr);
}

void TTimer::WndProc(TMessage& Message) {
    if (Message.Msg == WM_TIMER) {
        // The handler may free this timer: nothing of it is touched after.
        Timer();
        return;
    }
    Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TTimer::Timer() {
    if (FEnabled && FOnTimer)
        FOnTimer(this);
}

// ---------------------------------------------------------------- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                     csOpaque,          csDoubleClicks, csReplicatable};
    FWidth = 185;
    FHeight = 41;
    FParentColor = false;
    FColor = clBtnFace;
    FBrush.SetColor(FColor);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    FBevelInner = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    FBevelOuter = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
    FBevelWidth = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value) {
    FBorderWidth = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    if (FBorderStyle == bsSingle)
        Params.Style |= WS_BORDER;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    int Inset = FBorderWidth;
    if (FBevelOuter != bvNone)
        Inset += FBevelWidth;
    if (FBevelInner != bvNone)
        Inset += FBevelWidth;
    InflateRect(&Rect, -Inset, -Inset);
}

void TCustomPanel::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    auto Bevel = [&](TBevelCut Cut) {
        if (Cut == bvNone)
            return;
        TColor TopColor = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor BottomColor = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (Cut == bvSpace)
            TopColor = BottomColor = FColor;
        Frame3D(C, R, TopColor, BottomColor, FBevelWidth);
    };
    Bevel(FBevelOuter);
    Frame3D(C, R, FColor, FColor, FBorderWidth);
    Bevel(FBevelInner);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FColor);
    C->FillRect(R);
    std::string Text = Caption();
    if (Text.empty())
        return;
    static const UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    C->Font()->Assign(&FFont);
    C->Brush()->SetStyle(bsClear);
    SetTextColor(C->Handle(), COLORREF(ColorToRGB(FFont.Color())));
    DrawText(
        C->Handle(), Text, -1, &R,
        DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | Alignments[FAlignment]));
}

void TCustomPanel::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    // A resized panel repaints whole: bevels and centred caption move.
    if (Message.Msg == WM_SIZE && FFullRepaint)
        Invalidate();
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.Include(csReplicatable);
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape Value) {
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* C = Canvas();
    TColor Color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor Color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    auto Line = [C](TColor Color, int X1, int Y1, int X2, int Y2) {
        C->Pen()->SetColor(Color);
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    };
    int W = FWidth, H = FHeight;
    switch (FShape) {
    case bsBox: {
        TRect R = ClientRect();
        Frame3D(C, R, Color1, Color2, 1);
        break;
    }
    case bsFrame: {
        TRect R = ClientRect();
        R.Right -= 1;
        R.Bottom -= 1;
        Frame3D(C, R, Color1, Color1, 1);
        R = ClientRect();
        R.Left += 1;
        R.Top += 1;
        Frame3D(C, R, Color2, Color2, 1);
        break;
    }
    case bsTopLine:
        Line(Color1, 0, 0, W, 0);
        Line(Color2, 0, 1, W, 1);
        break;
    case bsBottomLine:
        Line(Color1, 0, H - 2, W, H - 2);
        Line(Color2, 0, H - 1, W, H - 1);
        break;
    case bsLeftLine:
        Line(Color1, 0, 0, 0, H);
        Line(Color2, 1, 0, 1, H);
        break;
    case bsRightLine:
        Line(Color1, W - 2, 0, W - 2, H);
        Line(Color2, W - 1, 0, W - 1, H);
        break;
    case bsSpacer:
        break;
    }
}

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.Include(csReplicatable);
    FWidth = 105;
    FHeight = 105;
    FPicture.OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() {
    FPicture.OnChange = nullptr;
}

void TImage::SetStretch(bool Value) {
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    FCenter = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value) {
    FProportional = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    FTransparent = Value;
    if (FPicture.Graphic())
        FPicture.Graphic()->SetTransparent(Value);
    Invalidate();
}

void TImage::PictureChanged(TObject*) {
    if (FPicture.Graphic() && FTransparent)
        FPicture.Graphic()->SetTransparent(true);
    AdjustSize();
    Invalidate();
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight) {
    if (FPicture.Width() <= 0 || FPicture.Height() <= 0)
        return false;
    NewWidth = FPicture.Width();
    NewHeight = FPicture.Height();
    return true;
}

TRect TImage::DestRect() {
    int W = FPicture.Width(), H = FPicture.Height();
    int CW = ClientWidth(), CH = ClientHeight();
    if (FStretch || (FProportional && (W > CW || H > CH))) {
        if (FProportional && W > 0 && H > 0) {
            // The larger ratio decides; the picture keeps its shape.
            if (double(W) / CW > double(H) / CH) {
                H = H * CW / W;
                W = CW;
            } else {
                W = W * CH / H;
                H = CH;
            }
        } else {
            W = CW;
            H = CH;
        }
    }
    TRect R = Bounds(0, 0, W, H);
    if (FCenter)
        OffsetRect(&R, (CW - W) / 2, (CH - H) / 2);
    return R;
}

void TImage::Paint() {
    if (FPicture.Graphic() && !FPicture.Graphic()->Empty())
        Canvas()->StretchDraw(DestRect(), FPicture.Graphic());
}

// ---------------------------------------------------------------- TSplitter

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    FAlign = alLeft;
    FWidth = 3;
    FHeight = 100;
    FCursor = crHSplit;
    FParentColor = true;
}

void TSplitter::SetBeveled(bool Value) {
    FBeveled = Value;
    Invalidate();
}

void TSplitter::RequestAlign() {
    TGraphicControl::RequestAlign();
    FCursor = (FAlign == alTop || FAlign == alBottom) ? crVSplit : crHSplit;
}

TControl* TSplitter::FindControl() {
    if (!FParent)
        return nullptr;
    TPoint P;
    switch (FAlign) {
    case alLeft:
        P = {FLeft - 1, FTop};
        break;
    case alRight:
        P = {FLeft + FWidth, FTop};
        break;
    case alTop:
        P = {FLeft, FTop - 1};
        break;
    case alBottom:
        P = {FLeft, FTop + FHeight};
        break;
    default:
        return nullptr;
    }
    for (int I = 0; I < FParent->ControlCount(); ++I) {
        TControl* C = FParent->Controls(I);
        if (C == this || !C->Visible() || C->Align() != FAlign)
            continue;
        TRect R = C->BoundsRect();
        if (R.Width() == 0)
            R.Right += 1;
        if (R.Height() == 0)
            R.Bottom += 1;
        if (PtInRect(&R, P))
            return C;
    }
    return nullptr;
}

void TSplitter::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FColor);
    C->FillRect(R);
    if (FBeveled)
        Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FControl = FindControl();
    if (!FControl)
        return;
    FDownPos = {X + FLeft, Y + FTop};
    bool Horizontal = FAlign == alLeft || FAlign == alRight;
    FStartSize = Horizontal ? FControl->Width() : FControl->Height();
    // The room: the neighbour and the parent's client area not taken by
    // the controls aligned to the same and the opposite side.
    TRect Client = FParent->ClientRect();
    int Taken = 0;
    for (int I = 0; I < FParent->ControlCount(); ++I) {
        TControl* C = FParent->Controls(I);
        if (C == FControl || !C->Visible())
            continue;
        if (Horizontal && (C->Align() == alLeft || C->Align() == alRight))
            Taken += C->Width();
        else if (!Horizontal && (C->Align() == alTop || C->Align() == alBottom))
            Taken += C->Height();
    }
    FMaxSize = (Horizontal ? Client.Width() : Client.Height()) - Taken - FMinSize;
    FDragging = true;
}

int TSplitter::CalcNewSize(int Offset) {
    int NewSize = FStartSize;
    switch (FAlign) {
    case alLeft:
    case alTop:
        NewSize += Offset;
        break;
    default:
        NewSize -= Offset;
        break;
    }
    // Below the minimum the neighbour snaps shut, or stops at the minimum.
    if (NewSize < FMinSize)
        NewSize = FAutoSnap ? 0 : FMinSize;
    if (FMaxSize > FMinSize && NewSize > FMaxSize)
        NewSize = FMaxSize;
    return NewSize;
}

void TSplitter::ApplySize(int NewSize) {
    bool Accept = true;
    if (OnCanResize)
        OnCanResize(this, NewSize, Accept);
    if (!Accept || !FControl)
        return;
    if (FAlign == alLeft || FAlign == alRight)
        FControl->SetWidth(NewSize);
    else
        FControl->SetHeight(NewSize);
    if (FParent)
        FParent->Update();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging || !FControl)
        return;
    // Measured in the parent, where the pointer does not move with the
    // splitter.
    bool Horizontal = FAlign == alLeft || FAlign == alRight;
    int Offset = Horizontal ? X + FLeft - FDownPos.X : Y + FTop - FDownPos.Y;
    ApplySize(CalcNewSize(Offset));
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FDragging)
        return;
    FDragging = false;
    FControl = nullptr;
    if (OnMoved)
        OnMoved(this);
}
