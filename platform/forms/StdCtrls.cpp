#include "platform/forms/StdCtrls.h"

#include "platform/forms/Forms.h"

namespace {

void FillWith(TCanvas* Canvas, TColor Color, const TRect& R) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

} // namespace

// ---------------------------------------------------------------- TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
    // The user's click is decided here, not by the generic click events.
    FControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
    FTabStop = true;
    FParentColor = false;
    FColor = clBtnFace;
    FBrush.SetColor(FColor);
}

void TButtonControl::SetPressed(bool Value) {
    if (Value == FPressed)
        return;
    FPressed = Value;
    Invalidate();
}

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FEnabled)
        return;
    FTracking = true;
    SetMouseCapture(true);
    SetPressed(true);
}

void TButtonControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FTracking) {
        TRect R = ClientRect();
        SetPressed(PtInRect(&R, {X, Y}));
    }
}

void TButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    bool Click = false;
    if (Button == mbLeft && FTracking) {
        FTracking = false;
        SetMouseCapture(false);
        TRect R = ClientRect();
        Click = PtInRect(&R, {X, Y});
        SetPressed(false);
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Click)
        UserClick();
}

void TButtonControl::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE && Shift.Empty()) {
        FSpaceDown = true;
        SetPressed(true);
    }
}

void TButtonControl::KeyUp(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FSpaceDown) {
        FSpaceDown = false;
        SetPressed(false);
        UserClick();
    }
}

void TButtonControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KILLFOCUS:
        FSpaceDown = false;
        SetPressed(false);
        break;
    case WM_SETFOCUS:
        Invalidate();
        break;
    case CM_ENABLEDCHANGED:
        FTracking = false;
        SetPressed(false);
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
    if (Message.Msg == WM_KILLFOCUS)
        Invalidate();
}

void TButtonControl::CMDialogChar(TMessage& Message) {
    if (IsAccel(unsigned(Message.WParam), Caption()) && CanFocus()) {
        UserClick();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TButtonControl::DrawCaption(TRect R, UINT Flags) {
    std::string Text = Caption();
    TCanvas* C = Canvas();
    C->Font()->Assign(&FFont);
    C->Brush()->SetStyle(bsClear);
    HDC DC = C->Handle();
    if (FEnabled) {
        SetTextColor(DC, COLORREF(ColorToRGB(FFont.Color())));
        DrawText(DC, Text, -1, &R, Flags);
        return;
    }
    // The disabled look: embossed, highlight under shadow.
    TRect Shifted = R;
    OffsetRect(&Shifted, 1, 1);
    SetTextColor(DC, COLORREF(ColorToRGB(clBtnHighlight)));
    DrawText(DC, Text, -1, &Shifted, Flags);
    SetTextColor(DC, COLORREF(ColorToRGB(clBtnShadow)));
    DrawText(DC, Text, -1, &R, Flags);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    FWidth = 75;
    FHeight = 25;
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    TCustomForm* Form = GetParentForm(this);
    TWinControl* Focused = Form ? Form->ActiveControl() : nullptr;
    FActive = Focused == this || (FDefault && !dynamic_cast<TButton*>(Focused));
    Invalidate();
}

void TButton::Click() {
    if (TCustomForm* Form = GetParentForm(this); Form && FModalResult != 0)
        Form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
    }
    TButtonControl::Dispatch(Message);
}

void TButton::CMDialogKey(TMessage& Message) {
    WORD Key = WORD(Message.WParam);
    TShiftState Shift = KeyDataToShiftState(long(Message.LParam));
    if (((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) && Shift.Empty() &&
        CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::CMDialogKey(Message);
}

void TButton::CMFocusChanged(TMessage& Message) {
    auto* Focused = reinterpret_cast<TWinControl*>(Message.LParam);
    bool Active = Focused == this || (FDefault && !dynamic_cast<TButton*>(Focused));
    if (Active != FActive) {
        FActive = Active;
        Invalidate();
    }
}

void TButton::Paint() {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    FillWith(C, FColor, R);
    if (FActive) {
        C->Brush()->SetColor(clWindowFrame);
        C->FrameRect(R);
        InflateRect(&R, -1, -1);
    }
    TRect Edge = R;
    DrawEdge(C->Handle(), &Edge, FPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    TRect Text = R;
    if (FPressed)
        OffsetRect(&Text, 1, 1);
    DrawCaption(Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        TRect F = R;
        InflateRect(&F, -4, -4);
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(F);
    }
}

// ---------------------------------------------------------------- TCheckBox

namespace {

// The 13-pixel box of a check box or the circle of a radio button, with its
// caption beside it.
void PaintCheck(TButtonControl* Control, TCanvas* C, TRect Client, TAlignment Alignment, bool Radio,
                int State, bool Enabled, bool Focused, TColor Color,
                const std::function<void(TRect, UINT)>& Caption) {
    FillWith(C, Color, Client);
    const int Box = 13;
    int Top = (Client.Height() - Box) / 2;
    bool Left = Alignment == taRightJustify;
    TRect BoxRect = Left ? Bounds(0, Top, Box, Box) : Bounds(Client.Right - Box, Top, Box, Box);
    TColor Face = Enabled && State != cbGrayed ? clWindow : clBtnFace;
    if (Radio) {
        C->Pen()->SetColor(clBtnShadow);
        C->Brush()->SetColor(Face);
        C->Ellipse(BoxRect);
        if (State == cbChecked) {
            TRect Dot = BoxRect;
            InflateRect(&Dot, -4, -4);
            C->Brush()->SetColor(Enabled ? clWindowText : clGrayText);
            C->Pen()->SetColor(Enabled ? clWindowText : clGrayText);
            C->Ellipse(Dot);
        }
    } else {
        FillWith(C, Face, BoxRect);
        TRect Edge = BoxRect;
        DrawEdge(C->Handle(), &Edge, EDGE_SUNKEN, BF_RECT);
        if (State != cbUnchecked) {
            // The tick: three short strokes.
            C->Pen()->SetColor(Enabled && State == cbChecked ? clWindowText : clGrayText);
            for (int I = 0; I < 3; ++I) {
                C->MoveTo(BoxRect.Left + 3, BoxRect.Top + 5 + I);
                C->LineTo(BoxRect.Left + 5, BoxRect.Top + 7 + I);
                C->LineTo(BoxRect.Left + 10, BoxRect.Top + 2 + I);
            }
        }
    }
    TRect Text = Left ? Rect(Box + 4, 0, Client.Right, Client.Bottom)
                      : Rect(0, 0, Client.Right - Box - 4, Client.Bottom);
    Caption(Text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused) {
        TRect Measure = Text;
        C->Font()->Assign(Control->Font());
        DrawText(C->Handle(), Control->Caption(), -1, &Measure,
                 DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
        int Height = Measure.Height();
        Measure.Top = (Client.Height() - Height) / 2;
        Measure.Bottom = Measure.Top + Height;
        InflateRect(&Measure, 1, 1);
        C->Brush()->SetStyle(bsSolid);
        C->DrawFocusRect(Measure);
    }
}

} // namespace

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    FWidth = 97;
    FHeight = 17;
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (Value == FState)
        return;
    FState = Value;
    Invalidate();
    Click();
}

void TCheckBox::UserClick() {
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    }
}

void TCheckBox::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TCheckBox::Paint() {
    PaintCheck(this, Canvas(), ClientRect(), FAlignment, false, FState, FEnabled, Focused(), FColor,
               [this](TRect R, UINT F) { DrawCaption(R, F); });
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == FChecked)
        return;
    FChecked = Value;
    FTabStop = Value;
    Invalidate();
    if (!Value)
        return;
    if (FParent)
        for (int I = 0; I < FParent->ControlCount(); ++I)
            if (auto* Other = dynamic_cast<TRadioButton*>(FParent->Controls(I));
                Other && Other != this)
                Other->SetChecked(false);
    Click();
}

void TRadioButton::Paint() {
    PaintCheck(this, Canvas(), ClientRect(), FAlignment, true, FChecked ? cbChecked : cbUnchecked,
               FEnabled, Focused(), FColor, [this](TRect R, UINT F) { DrawCaption(R, F); });
}

// ---------------------------------------------------------------- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle = {csCaptureMouse, csClickEvents,  csSetCaption,
                     csOpaque,       csDoubleClicks, csReplicatable};
    FWidth = 65;
    FHeight = 17;
    FAutoSize = true;
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (Value == Transparent())
        return;
    if (Value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (Value == FShowAccelChar)
        return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::SetAutoSize(bool Value) {
    TGraphicControl::SetAutoSize(Value);
    AdjustBounds();
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
    std::string Text = GetLabelText();
    if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == "&")))
        Text.assign(1, ' ');
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    Flags = DrawTextBiDiModeFlags(Flags);
    TCanvas* C = Canvas();
    C->Font()->Assign(&FFont);
    HDC DC = (Flags & DT_CALCRECT) ? nullptr : C->Handle();
    if (!DC) {
        // Measuring needs no window: a memory DC with the label's font.
        HDC Memory = CreateCompatibleDC(nullptr);
        HGDIOBJ Old = SelectObject(Memory, ToObj(FFont.Handle()));
        DrawText(Memory, Text, -1, &Rect, Flags);
        SelectObject(Memory, Old);
        DeleteDC(Memory);
        return;
    }
    // The canvas selects its font only for its own drawing calls: text drawn
    // on the bare device context needs the label's font selected here, or it
    // comes out in the context's own font.
    const HGDIOBJ OldFont = SelectObject(DC, ToObj(FFont.Handle()));
    SetBkMode(DC, TRANSPARENT);
    if (FEnabled) {
        SetTextColor(DC, COLORREF(ColorToRGB(FFont.Color())));
        DrawText(DC, Text, -1, &Rect, Flags);
    } else {
        TRect Shifted = Rect;
        OffsetRect(&Shifted, 1, 1);
        SetTextColor(DC, COLORREF(ColorToRGB(clBtnHighlight)));
        DrawText(DC, Text, -1, &Shifted, Flags);
        SetTextColor(DC, COLORREF(ColorToRGB(clBtnShadow)));
        DrawText(DC, Text, -1, &Rect, Flags);
    }
    SelectObject(DC, OldFont);
}

void TCustomLabel::Paint() {
    static const UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    if (!Transparent())
        FillWith(C, FColor, R);
    C->Brush()->SetStyle(bsClear);
    UINT Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | Alignments[FAlignment];
    if (FLayout != tlTop) {
        TRect Measure = R;
        DoDrawText(Measure, Flags | DT_CALCRECT);
        int Offset = R.Height() - Measure.Height();
        R.Top += FLayout == tlBottom ? Offset : Offset / 2;
    }
    DoDrawText(R, Flags);
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    TRect R = ClientRect();
    UINT Flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
    if (!FWordWrap)
        R.Right = R.Left + 0x7FFF;
    DoDrawText(R, Flags);
    int X = FLeft;
    // A right-aligned label grows to the left: its right edge stays.
    if (FAlignment == taRightJustify)
        X += FWidth - R.Width();
    SetBounds(X, FTop, R.Width(), R.Height());
}

void TCustomLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(Message);
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && FEnabled && FShowAccelChar &&
            IsAccel(unsigned(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}
