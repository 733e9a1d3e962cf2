#include "skin/controls/bsSkinCtrls.Panel.h"

#include "skin/model/bsMessages.h"
#include "skin/model/bsUtils.ButtonFace.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.Rects.h"

// ---------------------------------------------------------------- TbsSkinPanel

TbsSkinPanel::TbsSkinPanel(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FControlStyle = FControlStyle + TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                                  csDoubleClicks, csOpaque};
    FForceBackground = true;
    SetBounds(FLeft, FTop, 150, 150);
    NewClRect = {};
    FSkinDataName = "panel";
}

TbsSkinPanel::~TbsSkinPanel() {
    if (FCaptionImageList)
        FCaptionImageList->RemoveFreeNotification(this);
}

void TbsSkinPanel::SetRibbonStyle(bool Value) {
    if (FRibbonStyle == Value)
        return;
    FRibbonStyle = Value;
    Repaint();
}

void TbsSkinPanel::SetImagePosition(TbsImagePosition Value) {
    if (FImagePosition == Value)
        return;
    FImagePosition = Value;
    Repaint();
}

void TbsSkinPanel::SetTransparentMode(bool Value) {
    if (FTransparentMode == Value)
        return;
    FTransparentMode = Value;
    Repaint();
    if (!Designing() && !ComponentState().Contains(csLoading))
        UpdateChildrenBackground();
}

void TbsSkinPanel::SetCaptionImageList(TCustomImageList* Value) {
    if (FCaptionImageList)
        FCaptionImageList->RemoveFreeNotification(this);
    FCaptionImageList = Value;
    if (FCaptionImageList)
        FCaptionImageList->FreeNotification(this);
}

void TbsSkinPanel::SetCaptionImageIndex(int Value) {
    if (FCaptionImageIndex == Value)
        return;
    FCaptionImageIndex = Value;
    Repaint();
}

void TbsSkinPanel::SetCheckedMode(bool Value) {
    FCheckedMode = Value;
    Repaint();
}

void TbsSkinPanel::SetChecked(bool Value) {
    FChecked = Value;
    if (FCheckedMode)
        Repaint();
    if (FAutoEnabledControls && FCheckedMode)
        for (int I = 0; I < ControlCount(); ++I)
            Controls(I)->SetEnabled(Value);
    if (OnChecked)
        OnChecked(this);
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment Value) {
    FDefaultAlignment = Value;
    if (PlainLook() && FCaptionMode)
        Repaint();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int Value) {
    FDefaultCaptionHeight = Value;
    if (PlainLook() && FCaptionMode) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle Value) {
    FBorderStyle = Value;
    if (PlainLook()) {
        Repaint();
        Realign();
    }
}

void TbsSkinPanel::SetCaptionMode(bool Value) {
    FCaptionMode = Value;
    Repaint();
    Realign();
}

void TbsSkinPanel::SetRollUpMode(bool Value) {
    FRollUpMode = Value;
    if (PlainLook() && FCaptionMode)
        Repaint();
}

void TbsSkinPanel::SetRollUpState(bool Value) {
    if (FRollUpState == Value)
        return;
    TSizeConstraints* C = Constraints();
    if (!FRollUpMode) {
        C->SetMaxWidth(FCMaxWidth);
        C->SetMinWidth(FCMinWidth);
        C->SetMaxHeight(FCMaxHeight);
        C->SetMinHeight(FCMinHeight);
        FRollUpState = false;
        return;
    }
    FCMaxWidth = C->MaxWidth();
    FCMinWidth = C->MinWidth();
    FCMaxHeight = C->MaxHeight();
    FCMinHeight = C->MinHeight();
    C->SetMaxWidth(0);
    C->SetMinWidth(0);
    C->SetMaxHeight(0);
    C->SetMinHeight(0);
    FRollUpState = Value;
    DoRollUp(Value);
    if (OnChangeRollUpState)
        OnChangeRollUpState(this);
}

void TbsSkinPanel::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    Repaint();
}

void TbsSkinPanel::SetNumGlyphs(TbsSkinPanelNumGlyphs Value) {
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinPanel::SetSpacing(int Value) {
    FSpacing = Value;
    Repaint();
}

void TbsSkinPanel::PaintClientArea(TCanvas*) {}

void TbsSkinPanel::DoRollUp(bool ARollUp) {
    FInChangingRollUp = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } Done{FInChangingRollUp};
    if (ARollUp && FRealHeight == -1) {
        FRealHeight = FHeight;
        DisableAlign();
        for (int I = 0; I < ControlCount(); ++I)
            Controls(I)->SetVisible(false);
        if (PlainLook())
            SetHeight(FDefaultCaptionHeight + 1);
        else
            SetHeight(FHeight - RectHeight(NewClRect));
    } else if (!ARollUp && FRealHeight != -1) {
        SetHeight(FRealHeight);
        FRealHeight = -1;
        for (int I = 0; I < ControlCount(); ++I)
            Controls(I)->SetVisible(true);
        EnableAlign();
    }
}

bool TbsSkinPanel::CanAutoSize(int& NewWidth, int& NewHeight) {
    if (FInChangingRollUp && FRollUpMode && FAutoSize)
        return false;
    return TbsSkinCustomControl::CanAutoSize(NewWidth, NewHeight);
}

void TbsSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (PlainLook())
        Repaint();
}

void TbsSkinPanel::AdjustClientRect(TRect& Rect) {
    TbsSkinCustomControl::AdjustClientRect(Rect);
    if (PlainLook() || Designing()) {
        if (FBorderStyle != TbsSkinBorderStyle::bvNone)
            Rect = {Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
        if (FCaptionMode) {
            if (FRibbonStyle)
                Rect.Bottom -= FDefaultCaptionHeight;
            else
                Rect.Top += FDefaultCaptionHeight;
        }
        return;
    }
    if (BGPictureIndex != -1)
        return;
    if (FBorderStyle == TbsSkinBorderStyle::bvNone && !FCaptionMode && ResizeMode == 1)
        return;
    Rect = NewClRect;
}

void TbsSkinPanel::GetSkinClientRect(TRect& R) {
    R = {0, 0, FWidth, FHeight};
    AdjustClientRect(R);
}

void TbsSkinPanel::CreateParams(TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinPanel::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinPanelControl*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    CaptionRect = E->CaptionRect;
    Alignment = E->Alignment;
    FontName = E->FontName;
    FontColor = E->FontColor;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    BGPictureIndex = E->BGPictureIndex;
    CheckImageRect = E->CheckImageRect;
    UnCheckImageRect = E->UnCheckImageRect;
    MarkFrameRect = E->MarkFrameRect;
    FrameRect = E->FrameRect;
    FrameTextRect = E->FrameTextRect;
    FrameLeftOffset = E->FrameLeftOffset;
    FrameRightOffset = E->FrameRightOffset;
}

void TbsSkinPanel::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (FRollUpState) {
        // Collapse again to the new look's caption, keeping the height to
        // roll down to.
        const int Saved = FRealHeight;
        FRealHeight = -1;
        DoRollUp(true);
        FRealHeight = Saved;
    } else {
        Realign();
    }
}

void TbsSkinPanel::PaintskinTo(TCanvas* C, int X, int Y) {
    GetSkinData();
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    if (FIndex == -1)
        CreateControlDefaultImage(&B);
    else
        CreateControlSkinImage(&B);
    C->Draw(X, Y, &B);
}

void TbsSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCaptionImageList)
        FCaptionImageList = nullptr;
}

void TbsSkinPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOVE:
        TbsSkinCustomControl::Dispatch(Message);
        if (FTransparentMode) {
            Repaint();
            UpdateChildrenBackground();
        }
        return;
    case WM_CHECKPARENTBG:
        if (FTransparentMode) {
            Repaint();
            UpdateChildrenBackground();
        }
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case CM_TEXTCHANGED:
        if (FCaptionMode)
            Repaint();
        return;
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

bool TbsSkinPanel::CaptionHit(int X, int Y) const {
    const TPoint P{X, Y};
    if (!PlainLook())
        return PointInRect(NewCaptionRect, P);
    if (FRibbonStyle)
        return PointInRect({1, FHeight - FDefaultCaptionHeight, FWidth - 1, FHeight - 1}, P);
    return PointInRect({1, 1, FWidth - 1, FDefaultCaptionHeight}, P);
}

void TbsSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if ((FRollUpMode || FCheckedMode) && FCaptionMode && Button == mbLeft && CaptionHit(X, Y)) {
        if (FCheckedMode)
            SetChecked(!FChecked);
        if (FRollUpMode)
            SetRollUpState(!FRollUpState);
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------- painting

void TbsSkinPanel::Paint() {
    if (FWidth < 1 || FHeight < 1)
        return;
    GetSkinData();
    const bool Skinned = !PlainLook();
    if (FTransparentMode && Skinned) {
        if (FCaptionMode)
            PaintTransparentGroup();
        else
            PaintTransparentFrame();
        return;
    }
    if (!Skinned || (!FForceBackground && StretchEffect))
        TbsSkinCustomControl::Paint();
    else if (FBorderStyle == TbsSkinBorderStyle::bvNone && ResizeMode == 1 && !FCaptionMode &&
             FForceBackground)
        PaintClientCovering();
    else if (BGPictureIndex == -1)
        TbsSkinCustomControl::Paint();
    else
        PaintBackgroundPicture();
}

bool TbsSkinPanel::HasCaptionImage() const {
    return FGlyph->Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
           FCaptionImageIndex < FCaptionImageList->Count();
}

int TbsSkinPanel::GlyphCell() const {
    return (!Enabled() && FNumGlyphs == 2) ? 2 : 1;
}

int TbsSkinPanel::ContentWidth(TCanvas* C) {
    int CW = C->TextWidth(Caption());
    if (!FGlyph->Empty() && FNumGlyphs > 0)
        CW += FGlyph->Width() / FNumGlyphs + FSpacing;
    return CW;
}

void TbsSkinPanel::SetPlainFont(TCanvas* C) {
    C->Font()->Assign(FDefaultFont.get());
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
}

void TbsSkinPanel::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* C = B->Canvas();
    TRect R{0, 0, FWidth, FHeight};
    switch (FBorderStyle) {
    case TbsSkinBorderStyle::bvFrame:
        Frame3D(C, R, clBtnShadow, clBtnShadow, 1);
        break;
    case TbsSkinBorderStyle::bvRaised:
        Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
        break;
    case TbsSkinBorderStyle::bvLowered:
        Frame3D(C, R, clBtnShadow, clBtnHighlight, 1);
        break;
    case TbsSkinBorderStyle::bvNone:
        break;
    }
    if (FCaptionMode)
        DrawPlainCaption(C);
}

void TbsSkinPanel::DrawPlainCaption(TCanvas* C) {
    const int h = FDefaultCaptionHeight;
    TRect R;
    if (FBorderStyle != TbsSkinBorderStyle::bvFrame) {
        R = FRibbonStyle ? TRect{1, FHeight - h - 1, FWidth - 1, FHeight - 1}
                         : TRect{1, 1, FWidth - 1, h};
        Frame3D(C, R, clBtnShadow, clBtnHighlight, 1);
        Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
    } else {
        R = FRibbonStyle ? TRect{0, FHeight - h, FWidth, FHeight} : TRect{0, 0, FWidth, h};
        Frame3D(C, R, clBtnShadow, clBtnShadow, 1);
        Frame3D(C, R, clBtnHighlight, clBtnFace, 1);
    }
    // Frame3D has inset the strip by 2 already.
    if (FCheckedMode)
        R.Left += 20;
    if (FRollUpMode)
        R.Right -= 10;

    SetPlainFont(C);
    const std::string Text = Caption();
    const int CW = ContentWidth(C);
    const int TH = C->TextHeight(Text);
    const int TY = RectHeight(R) / 2 + R.Top - TH / 2;
    int TX = R.Left + 2;
    if (FDefaultAlignment == taRightJustify)
        TX = R.Right - CW;
    else if (FDefaultAlignment == taCenter)
        TX = RectWidth(R) / 2 + (R.Left + 2) - CW / 2;

    if (FCheckedMode) {
        TRect Box{5, RectHeight(R) / 2 + R.Top - 7, 0, 0};
        Box.Right = Box.Left + 14;
        Box.Bottom = Box.Top + 14;
        const TPoint Tick{Box.Left + 3, Box.Top + 2};
        Frame3D(C, Box, clBtnShadow, clBtnShadow, 1);
        if (FChecked)
            DrawCheckImage(C, Tick.X, Tick.Y, clBtnText);
    }

    int IX = 0, IY = 0;
    const bool ListPicture = HasCaptionImage();
    if (ListPicture) {
        IX = TX;
        IY = RectHeight(R) / 2 + R.Top - FCaptionImageList->Height() / 2;
        TX += FCaptionImageList->Width() + FSpacing;
    } else if (!FGlyph->Empty()) {
        IX = TX;
        IY = RectHeight(R) / 2 + R.Top - FGlyph->Height() / 2;
        TX += FGlyph->Width() / FNumGlyphs + FSpacing;
    }

    C->Brush()->SetStyle(bsClear);
    C->TextRect(R, TX, TY, Text);
    if (ListPicture)
        FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
    else if (!FGlyph->Empty())
        DrawGlyphFromStrip(C, IX, IY, FGlyph.get(), FNumGlyphs, GlyphCell());

    if (FRollUpMode)
        DrawArrowImage(C, {R.Right, R.Top, R.Right + 10, R.Bottom}, clBtnText,
                       FRollUpState ? 4 : 3);
}

// ---------------------------------------------------------------- TbsSkinPaintPanel

TbsSkinPaintPanel::TbsSkinPaintPanel(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FForceBackground = false;
}

void TbsSkinPaintPanel::PaintClientArea(TCanvas* Canvas) {
    if (OnPanelPaint)
        OnPanelPaint(Canvas, GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinPanel::CreateControlDefaultImage(B);
    if (OnPanelPaint)
        OnPanelPaint(B->Canvas(), GetSkinClientRect());
}

void TbsSkinPaintPanel::CreateControlSkinImage(TBitmap* B) {
    TbsSkinPanel::CreateControlSkinImage(B);
    if (OnPanelPaint)
        OnPanelPaint(B->Canvas(), GetSkinClientRect());
}

void TbsSkinPaintPanel::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        if (!FromWMPaint)
            PaintWindow(HDC(Message.WParam));
        Message.Result = 0;
        return;
    }
    TbsSkinPanel::Dispatch(Message);
}

// ---------------------------------------------------------------- TbsSkinGroupBox

TbsSkinGroupBox::TbsSkinGroupBox(TComponent* AOwner) : TbsSkinPanel(AOwner) {
    FSkinDataName = "groupbox";
    SetCaptionMode(true);
}

void TbsSkinGroupBox::GetSkinData() {
    TbsSkinPanel::GetSkinData();
    if (ClRect.Bottom < CaptionRect.Top)
        FForceBackground = false;
}
