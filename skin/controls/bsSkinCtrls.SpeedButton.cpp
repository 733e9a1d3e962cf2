#include "skin/controls/bsSkinCtrls.SpeedButton.h"

#include "platform/forms/ActnList.h"
#include "platform/forms/Hotkeys.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

namespace {

constexpr TColor PlainFrameHot = 0x800000;
constexpr TColor PlainFillDown = 0xB59385;
constexpr TColor PlainFillHot = 0xD2BDB6;
constexpr TColor GreyText = 0x808080;
constexpr TColor GlyphKey = 0xFF00FF;

} // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner) : TbsGraphicSkinCustomControl(AOwner) {
    TControlStyle S = ControlStyle();
    S.Include(csCaptureMouse);
    S.Include(csOpaque);
    S.Include(csDoubleClicks);
    S.Exclude(csClickEvents);
    SetControlStyle(S);
    SetBounds(Left(), Top(), 25, 25);
    FSkinDataName = "toolbutton";
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() {
    FEffects.StopRepeat();
    FEffects.StopFrameAnimation();
    FEffects.StopMorph();
}

// ---------------------------------------------------------------- properties

void TbsSkinSpeedButton::SetImageList(TCustomImageList* Value) {
    if (FImageList)
        FImageList->RemoveFreeNotification(this);
    FImageList = Value;
    if (FImageList)
        FImageList->FreeNotification(this);
    Repaint();
}

void TbsSkinSpeedButton::SetImageIndex(int Value) {
    FImageIndex = Value;
    if (dynamic_cast<TbsSkinToolBar*>(Parent()))
        Repaint();
}

void TbsSkinSpeedButton::SetShowCaption(bool Value) {
    if (FShowCaption == Value)
        return;
    FShowCaption = Value;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Repaint();
}

void TbsSkinSpeedButton::SetTransparent(bool Value) {
    FTransparent = Value;
    TControlStyle S = ControlStyle();
    if (Value)
        S.Exclude(csOpaque);
    else
        S.Include(csOpaque);
    SetControlStyle(S);
    Repaint();
}

void TbsSkinSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    SetTransparent(Value);
}

void TbsSkinSpeedButton::SetGlyph(TBitmap* Value) {
    FGlyph.Assign(Value);
    Repaint();
}

void TbsSkinSpeedButton::SetNumGlyphs(TbsNumGlyphs Value) {
    FNumGlyphs = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetMargin(int Value) {
    if (Value < -1 || Value == FMargin)
        return;
    FMargin = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetSpacing(int Value) {
    FSpacing = Value;
    Repaint();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout Value) {
    if (Value == FLayout)
        return;
    FLayout = Value;
    Repaint();
}

void TbsSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImageList)
        FImageList = nullptr;
}

// ---------------------------------------------------------------- effects and skin

bool TbsSkinSpeedButton::SkinEffectsOn() const {
    return FSD && !FSD->Empty && FSD->EnableSkinEffects();
}

bool TbsSkinSpeedButton::EffectsMorphing() {
    return SkinEffectsOn() && Morphing;
}

bool TbsSkinSpeedButton::AnimationEligible() const {
    return FIndex != -1 && SkinEffectsOn() && !IsNullRect(FEffects.AnimateSkinRect) && !FFlat;
}

void TbsSkinSpeedButton::GetSkinData() {
    TbsGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        ActiveSkinRect = TRect{};
        return;
    }
    auto* E = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    FontName = E->FontName;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    FontColor = E->FontColor;
    ActiveFontColor = E->ActiveFontColor;
    DownFontColor = E->DownFontColor;
    DisabledFontColor = E->DisabledFontColor == E->FontColor ? GreyText : E->DisabledFontColor;
    ActiveSkinRect = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    DownSkinRect = IsNullRect(E->DownSkinRect) ? ActiveSkinRect : E->DownSkinRect;
    DisabledSkinRect = E->DisabledSkinRect;
    Morphing = E->Morphing && !FTransparent;
    MorphKind = E->MorphKind;
    FEffects.AnimateSkinRect = E->AnimateSkinRect;
    FEffects.FrameCount = E->FrameCount;
    FEffects.AnimateInterval = E->AnimateInterval;
    MenuMarkerRect = E->MenuMarkerRect;
    MenuMarkerActiveRect =
        IsNullRect(E->MenuMarkerActiveRect) ? MenuMarkerRect : E->MenuMarkerActiveRect;
    MenuMarkerDownRect =
        IsNullRect(E->MenuMarkerDownRect) ? MenuMarkerActiveRect : E->MenuMarkerDownRect;
    MenuMarkerFlatRect = IsNullRect(E->MenuMarkerFlatRect) ? MenuMarkerRect : E->MenuMarkerFlatRect;
    MenuMarkerTransparentColor = E->MenuMarkerTransparentColor;
    if (SkinEffectsOn())
        FEffects.ApplyFrame(SkinRect, ActiveSkinRect);
}

void TbsSkinSpeedButton::CalcSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize || ResizeMode == 1) {
        TbsGraphicSkinCustomControl::CalcSkinSize(AWidth, AHeight);
        return;
    }
    NewClRect = ClRect;
    NewClRect.Right += AWidth - RectWidth(SkinRect);
    NewClRect.Bottom += AHeight - RectHeight(SkinRect);
}

void TbsSkinSpeedButton::ChangeSkinData() {
    FEffects.StopFrameAnimation();
    FEffects.StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (EffectsMorphing() && FIndex != -1 && FMouseIn && !FTransparent)
        FEffects.FMorphKf = 1.0;
}

void TbsSkinSpeedButton::RefreshButton() {
    FMouseIn = false;
    FDown = false;
    if (EffectsMorphing())
        FEffects.FMorphKf = 0;
    if (SkinEffectsOn())
        FEffects.StopFrameAnimation();
    Repaint();
}

// ---------------------------------------------------------------- clicks and groups

void TbsSkinSpeedButton::SetDown(bool Value) {
    FDown = Value;
    if (EffectsMorphing()) {
        FEffects.FMorphKf = 1.0;
        if (Value)
            FEffects.StopMorph();
        else
            FEffects.StartMorph();
    }
    Repaint();
    if (FGroupIndex == 0 || !FDown || FAllowAllUp || !Parent())
        return;
    TWinControl* P = Parent();
    for (int I = 0; I < P->ControlCount(); ++I) {
        auto* Other = dynamic_cast<TbsSkinSpeedButton*>(P->Controls(I));
        if (Other && Other != this && Other->FGroupIndex == FGroupIndex && Other->FDown)
            Other->SetDown(false);
    }
}

void TbsSkinSpeedButton::ButtonClick() {
    TBasicAction* A = Action();
    if (OnClick && A && !(A->OnExecute == OnClick)) {
        OnClick(this);
        return;
    }
    if (A) {
        A->Execute();
        return;
    }
    if (OnClick)
        OnClick(this);
}

void TbsSkinSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TbsGraphicSkinCustomControl::ActionChange(Sender, CheckDefaults);
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    TCustomImageList* List = A && A->ActionList() ? A->ActionList()->Images() : nullptr;
    if (List && A->ImageIndex() >= 0 && A->ImageIndex() < List->Count() && FGlyph.Empty()) {
        FGlyph.SetSize(List->Width(), List->Height());
        FGlyph.Canvas()->Brush()->SetStyle(bsSolid);
        FGlyph.Canvas()->Brush()->SetColor(GlyphKey);
        FGlyph.Canvas()->FillRect({0, 0, List->Width(), List->Height()});
        List->Draw(FGlyph.Canvas(), 0, 0, A->ImageIndex(), true);
    }
    Repaint();
}

// ---------------------------------------------------------------- mouse

void TbsSkinSpeedButton::DoMouseEnter() {
    if (!Enabled())
        return;
    FMouseIn = true;
    if (!(FDown && FGroupIndex != 0)) {
        if (FDown) {
            if (EffectsMorphing())
                FEffects.FMorphKf = 1.0;
            Repaint();
        } else {
            if (AnimationEligible())
                FEffects.StartFrameAnimation(true);
            FEffects.StartMorph();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0)
        FEffects.StartRepeat();
}

void TbsSkinSpeedButton::DoMouseLeave() {
    if (!Enabled())
        return;
    FMouseIn = false;
    if (!(FDown && FGroupIndex != 0)) {
        if (AnimationEligible())
            FEffects.StartFrameAnimation(false);
        FEffects.StartMorph();
    }
    if (FDown && FRepeatMode && FEffects.Repeating() && FGroupIndex == 0)
        FEffects.StopRepeat();
}

void TbsSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (AnimationEligible())
        FEffects.StopFrameAnimation();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FRepeatMode && FGroupIndex == 0)
            FEffects.StartRepeat();
        else if (FGroupIndex != 0)
            ButtonClick();
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FMouseDown = false;
    const bool Over = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (FGroupIndex == 0) {
        if (FMouseIn && Over) {
            const bool WasDown = FDown;
            SetDown(false);
            FEffects.StopRepeat();
            if (WasDown)
                ButtonClick();
        } else {
            FDown = false;
            FEffects.StopRepeat();
        }
    } else if (FDown && FAllowAllUp && FAllowAllUpCheck && Over) {
        SetDown(false);
        ButtonClick();
    }
}

void TbsSkinSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        TbsGraphicSkinCustomControl::Dispatch(Message);
        DoMouseEnter();
        return;
    case CM_MOUSELEAVE:
        TbsGraphicSkinCustomControl::Dispatch(Message);
        DoMouseLeave();
        return;
    case CM_ENABLEDCHANGED:
        TbsGraphicSkinCustomControl::Dispatch(Message);
        if (EffectsMorphing()) {
            FEffects.StopMorph();
            FEffects.FMorphKf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    case CM_TEXTCHANGED:
        TbsGraphicSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && Enabled() && Visible() &&
            Parent() && Parent()->Showing()) {
            ButtonClick();
            Message.Result = 1;
            return;
        }
        TbsGraphicSkinCustomControl::Dispatch(Message);
        return;
    default:
        TbsGraphicSkinCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- painting

std::string TbsSkinSpeedButton::DrawnCaption() {
    return FShowCaption ? Caption() : std::string();
}

int TbsSkinSpeedButton::GlyphNumber(bool ADown, bool AMouseIn) const {
    if (ADown && AMouseIn && FNumGlyphs > 2)
        return 3;
    if (AMouseIn && FNumGlyphs > 3)
        return 4;
    if (!Enabled() && FNumGlyphs > 1)
        return 2;
    return 1;
}

void TbsSkinSpeedButton::SetFaceFont(TCanvas* C, bool ContentOnly) {
    C->Font()->Assign(DefaultFont());
    if (FIndex != -1 && (FUseSkinFont || ContentOnly)) {
        // Content drawn on the parent keeps the element's name and style
        // even with the default font's height.
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        if (FUseSkinFont)
            C->Font()->SetHeight(FontHeight);
    }
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(DefaultFont()->Charset());
}

void TbsSkinSpeedButton::DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn,
                                     bool HotList, bool PressedLook) {
    C->Brush()->SetStyle(bsClear);
    const std::string S = DrawnCaption();
    const bool Pressed = ADown && AMouseIn;
    if (DrawImagesMenuContent(C, R, Pressed))
        return;
    auto* Bar = dynamic_cast<TbsSkinToolBar*>(Parent());
    if (FGlyph.Empty() && Bar) {
        TCustomImageList* List = Bar->Images();
        bool Enabled = this->Enabled();
        if (!Enabled && Bar->DisabledImages()) {
            List = Bar->DisabledImages();
            Enabled = true;
        } else if (HotList && (ADown || AMouseIn) && Bar->HotImages()) {
            List = Bar->HotImages();
        }
        if (List && FImageIndex >= 0 && FImageIndex < List->Count()) {
            DrawImageAndText(C, R, FMargin, 0, false, Enabled, Pressed, List, FImageIndex, S,
                             FLayout, FSpacing);
            return;
        }
    }
    if (FGlyph.Empty() && FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
        DrawImageAndText(C, R, FMargin, 0, false, Enabled(), Pressed, FImageList, FImageIndex, S,
                         FLayout, FSpacing);
        return;
    }
    DrawGlyphAndText(C, R, FMargin, 0, false, PressedLook, GlyphNumber(ADown, AMouseIn), FNumGlyphs,
                     &FGlyph, S, FLayout, FSpacing);
}

void TbsSkinSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    TRect Content = NewClRect;
    if (FUseSkinSize || ResizeMode == 1) {
        CreateSkinImage(B, Picture, R);
    } else {
        if (ResizeMode == 0)
            StretchPart(B, {0, 0, B->Width(), B->Height()}, Picture, R);
        else if (ResizeMode == 2 || ResizeMode == 3)
            MakeNinePartBitmapByClRect(B, Picture, R, ClRect, true);
        Content = ClRect;
        Content.Right += B->Width() - RectWidth(R);
        Content.Bottom += B->Height() - RectHeight(R);
    }
    TCanvas* C = B->Canvas();
    SetFaceFont(C, false);
    TColor Color = FontColor;
    if (Enabled() && !FUseSkinFontColor)
        Color = DefaultFont()->Color();
    else if (!Enabled())
        Color = DisabledFontColor;
    else if (ADown && AMouseIn)
        Color = DownFontColor;
    else if (AMouseIn)
        Color = ActiveFontColor;
    C->Font()->SetColor(Color);
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, C, NewClRect, ADown, AMouseIn, DrawDefault);
        if (!DrawDefault)
            return;
    }
    DrawContent(C, Content, ADown, AMouseIn, true, ADown && AMouseIn);
}

// Only the glyph or image and the caption, so that the parent shows through.
void TbsSkinSpeedButton::DrawContentOnly(TCanvas* C) {
    SetFaceFont(C, true);
    TRect R{0, 0, Width(), Height()};
    if (FIndex != -1) {
        int W = Width(), H = Height();
        CalcSkinSize(W, H);
        R = NewClRect;
        TbsSkinColors* Colors = FSD->SkinColors();
        if (!Enabled())
            C->Font()->SetColor(Colors ? Colors->cBtnShadow() : clBtnShadow);
        else if (FUseSkinFontColor)
            C->Font()->SetColor(Colors ? Colors->cBtnText() : clBtnText);
        else
            C->Font()->SetColor(DefaultFont()->Color());
    } else if (!Enabled()) {
        C->Font()->SetColor(clBtnShadow);
    }
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, C, R, FDown, FMouseIn, DrawDefault);
        if (!DrawDefault)
            return;
    }
    DrawContent(C, R, false, false, false, false);
}

void TbsSkinSpeedButton::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* C = B->Canvas();
    const TRect R{0, 0, Width(), Height()};
    C->Brush()->SetStyle(bsSolid);
    if (FacePressed() || FMouseIn || !FFlat) {
        TColor Frame = clBtnShadow, Fill = clBtnFace;
        if (FacePressed()) {
            Frame = PlainFrameHot;
            Fill = PlainFillDown;
        } else if (FMouseIn) {
            Frame = PlainFrameHot;
            Fill = PlainFillHot;
        }
        C->Brush()->SetColor(Fill);
        C->FillRect(R);
        C->Brush()->SetColor(Frame);
        C->FrameRect(R);
    } else if (!FTransparent) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
    }
    C->Font()->Assign(DefaultFont());
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    if (!Enabled())
        C->Font()->SetColor(clBtnShadow);
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, C, R, FDown, FMouseIn, DrawDefault);
        if (!DrawDefault)
            return;
    }
    DrawContent(C, R, FDown, FMouseIn, true, FacePressed());
}

void TbsSkinSpeedButton::Paint() {
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    TCanvas* C = Canvas();
    if (FIndex == -1) {
        if (FTransparent && !FacePressed() && !FMouseIn) {
            DrawContentOnly(C);
            return;
        }
        TBitmap B;
        B.SetSize(Width(), Height());
        CreateControlDefaultImage(&B);
        C->Draw(0, 0, &B);
        return;
    }
    int W = Width(), H = Height();
    CalcSkinSize(W, H);
    const double Kf = FEffects.FMorphKf;
    if (EffectsMorphing() && Kf != 0.0 && Kf != 1.0 && !FTransparent) {
        TBitmap Normal, Hot;
        Normal.SetSize(Width(), Height());
        Hot.SetSize(Width(), Height());
        CreateButtonImage(&Normal, SkinRect, false, false);
        CreateButtonImage(&Hot, ActiveSkinRect, false, true);
        DrawMorphedFaces(&Normal, &Hot, MorphKind, Kf, C->Handle());
        return;
    }
    TBitmap B;
    B.SetSize(Width(), Height());
    if (FacePressed())
        CreateButtonImage(&B, DownSkinRect, true, true);
    else if (FMouseIn || (EffectsMorphing() && Kf == 1.0))
        CreateButtonImage(&B, ActiveSkinRect, false, true);
    else if (FTransparent) {
        DrawContentOnly(C);
        return;
    } else if (Enabled() || IsNullRect(DisabledSkinRect))
        CreateButtonImage(&B, SkinRect, false, false);
    else
        CreateButtonImage(&B, DisabledSkinRect, false, false);
    C->Draw(0, 0, &B);
}
