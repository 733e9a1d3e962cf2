#include "skin/controls/bsSkinCtrls.Button.h"

#include "platform/forms/ActnList.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Hotkeys.h"
#include "platform/forms/Menus.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

#include <memory>

namespace {

constexpr TColor PlainFrameHot = 0x800000;
constexpr TColor PlainFillDown = 0xB59385;
constexpr TColor PlainFillHot = 0xD2BDB6;
constexpr TColor GreyText = 0x808080;

} // namespace

TbsSkinButton::TbsSkinButton(TComponent* AOwner) : TbsButtonContent(AOwner) {
    // The button decides itself when a release is a click (groups, repeat,
    // a press dragged off and back), so the class library must not click too.
    FControlStyle.Exclude(csClickEvents);
    FLayerManager = new TbsLayerManager(this);
    SetTabStop(true);
    SetBounds(Left(), Top(), 75, 25);
    FSkinDataName = "button";
}

TbsSkinButton::~TbsSkinButton() {
    FEffects.StopMorph();
    FEffects.StopFrameAnimation();
    FEffects.StopRepeat();
}

// ---------------------------------------------------------------- properties

void TbsSkinButton::SetImageIndex(int Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Repaint();
}

void TbsSkinButton::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    if (FGroupIndex != 0)
        SetCanFocused(false);
}

void TbsSkinButton::SetDefault(bool Value) {
    FDefault = Value;
    if (!HandleAllocated() || !FCanFocused)
        return;
    TWinControl* Form = FormControlOf(this);
    TFormServices* Services = FormServicesOf(this);
    if (Form && Services)
        Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Services->ActiveControl()));
}

// ---------------------------------------------------------------- predicates

bool TbsSkinButton::HasFocus() {
    return FCanFocused && HandleAllocated() && Focused();
}

bool TbsSkinButton::EffectsMorphTarget() {
    return FMouseIn || HasFocus();
}

bool TbsSkinButton::AnimationEligible() const {
    return FIndex != -1 && SkinEffectsOn() && !IsNullRect(FEffects.AnimateSkinRect);
}

// ---------------------------------------------------------------- skin

void TbsSkinButton::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        FEffects.AnimateSkinRect = TRect{};
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
    FocusedSkinRect = E->FocusedSkinRect;
    Morphing = E->Morphing;
    MorphKind = E->MorphKind;
    FEffects.AnimateSkinRect = E->AnimateSkinRect;
    FEffects.FrameCount = E->FrameCount;
    FEffects.AnimateInterval = E->AnimateInterval;
    ShowFocus = E->ShowFocus;
    GlowLayerPictureIndex = E->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = E->GlowLayerMaskPictureIndex;
    GlowLayerOffsetLeft = E->GlowLayerOffsetLeft;
    GlowLayerOffsetRight = E->GlowLayerOffsetRight;
    GlowLayerOffsetTop = E->GlowLayerOffsetTop;
    GlowLayerOffsetBottom = E->GlowLayerOffsetBottom;
    GlowLayerShowOffsetX = E->GlowLayerShowOffsetX;
    GlowLayerShowOffsetY = E->GlowLayerShowOffsetY;
    GlowLayerAlphaBlendValue = E->GlowLayerAlphaBlendValue;
    if (!FUseSkinSize && E->MaskPictureIndex != -1)
        MaskPicture = nullptr;
    if (SkinEffectsOn())
        FEffects.ApplyFrame(SkinRect, ActiveSkinRect);
}

void TbsSkinButton::CalcSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize || ResizeMode == 1) {
        TbsSkinCustomControl::CalcSkinSize(AWidth, AHeight);
        return;
    }
    NewClRect = ClRect;
    NewClRect.Right += AWidth - RectWidth(SkinRect);
    NewClRect.Bottom += AHeight - RectHeight(SkinRect);
}

void TbsSkinButton::ChangeSkinData() {
    FEffects.StopMorph();
    FEffects.StopFrameAnimation();
    FEffects.FMorphKf = 0;
    TbsSkinCustomControl::ChangeSkinData();
    if (EffectsMorphing() && FIndex != -1 && (HasFocus() || FMouseIn))
        FEffects.FMorphKf = 1.0;
    if (FMouseIn && HandleAllocated())
        PostMessage(Handle(), WM_SHOWBUTTONLAYER, 0, 0);
}

void TbsSkinButton::BeforeChangeSkinData() {
    TbsSkinCustomControl::BeforeChangeSkinData();
    if (FLayerManager->IsVisible())
        FLayerManager->Hide();
}

// ---------------------------------------------------------------- glow layer

bool TbsSkinButton::GlowAsked() const {
    return FSD && !FSD->Empty && (FSD->ShowButtonGlowFrames() || FAlwaysShowLayeredFrame) &&
           GlowLayerPictureIndex != -1 && IsLayeredWindowSupported() &&
           (ResizeMode == 0 || ResizeMode == 1 || (ResizeMode == 2 && FUseSkinSize));
}

void TbsSkinButton::ShowLayer() {
    if (!GlowAsked())
        return;
    // A glow picture or mask the skin does not hold shows no glow.
    TBitmap* G = FSD->ActivePicture(GlowLayerPictureIndex);
    TBitmap* M = FSD->ActivePicture(GlowLayerMaskPictureIndex);
    if (!G || !M || G->Empty() || M->Empty()) {
        if (FLayerManager->IsVisible())
            FLayerManager->Hide();
        return;
    }
    if (auto* Form = dynamic_cast<TCustomForm*>(FormControlOf(this)))
        FLayerManager->SetTopMostMode(Form->FormStyle() == fsStayOnTop);
    const int DW = Width() - RectWidth(SkinRect), DH = Height() - RectHeight(SkinRect);
    std::unique_ptr<TBitmap> G2, M2;
    if (ResizeMode == 1) {
        auto Nine = [&](TBitmap* Src) {
            auto B = std::make_unique<TBitmap>();
            B->SetSize(Src->Width() + DW, Src->Height() + DH);
            MakeNinePartBitmapByClRect(B.get(), Src, {0, 0, Src->Width(), Src->Height()},
                                       {GlowLayerOffsetLeft, GlowLayerOffsetTop,
                                        Src->Width() - GlowLayerOffsetRight,
                                        Src->Height() - GlowLayerOffsetBottom},
                                       true);
            return B;
        };
        G2 = Nine(G);
        M2 = Nine(M);
    } else if (ResizeMode == 2) {
        auto Three = [&](TBitmap* Src) {
            auto B = std::make_unique<TBitmap>();
            B->SetSize(Src->Width() + DW, Src->Height());
            MakeHorzThreePartBitmap(GlowLayerOffsetLeft, GlowLayerOffsetRight, B.get(), Src,
                                    {0, 0, Src->Width(), Src->Height()}, Src->Width() + DW,
                                    Src->Height(), true);
            return B;
        };
        G2 = Three(G);
        M2 = Three(M);
    }
    const TPoint P = ClientToScreen({0, 0});
    FLayerManager->Show(P.X - GlowLayerShowOffsetX, P.Y - GlowLayerShowOffsetY,
                        GlowLayerAlphaBlendValue, M2 ? M2.get() : M, G2 ? G2.get() : G);
}

void TbsSkinButton::HideLayer() {
    if (GlowAsked())
        FLayerManager->Hide();
}

// ---------------------------------------------------------------- clicks, down and groups

void TbsSkinButton::ButtonClick() {
    if (FCanFocused)
        if (auto* Form = dynamic_cast<TCustomForm*>(FormControlOf(this)))
            Form->SetModalResult(FModalResult);
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

void TbsSkinButton::Click() {
    ButtonClick();
}

// ---------------------------------------------------------------- mouse

bool TbsSkinButton::FaceMustChange() {
    if (FGroupIndex != 0)
        return !FDown;
    return !HasFocus() || FDown;
}

void TbsSkinButton::DoMouseEnter() {
    FMouseIn = true;
    if (FaceMustChange()) {
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
    if (HandleAllocated())
        PostMessage(Handle(), WM_SHOWBUTTONLAYER, 0, 0);
}

void TbsSkinButton::DoMouseLeave() {
    // The default button keeps its highlight while the focus is elsewhere.
    if (!(FCanFocused && FDefault && FActive && !HasFocus()))
        FMouseIn = false;
    if (FaceMustChange()) {
        if (AnimationEligible())
            FEffects.StartFrameAnimation(false);
        FEffects.StartMorph();
    }
    if (FDown && FRepeatMode && FEffects.Repeating() && FGroupIndex == 0)
        FEffects.StopRepeat();
    if (HandleAllocated())
        PostMessage(Handle(), WM_HIDEBUTTONLAYER, 0, 0);
}

void TbsSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
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

void TbsSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
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
    if (HandleAllocated() && Visible())
        TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------- keys, focus and messages

void TbsSkinButton::WndProc(TMessage& Message) {
    if (!FCanFocused) {
        TbsSkinCustomControl::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE) {
            if (AnimationEligible())
                FEffects.StopFrameAnimation();
            SetDown(true);
            if (FRepeatMode)
                ButtonClick();
        } else if (Message.WParam == VK_RETURN) {
            ButtonClick();
        }
        break;
    case WM_KEYUP:
        if (Message.WParam == VK_SPACE) {
            SetDown(false);
            ButtonClick();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!HasFocus()) {
            FClicksDisabled = true;
            if (CanFocus())
                SetFocus();
            FClicksDisabled = false;
            if (!HasFocus())
                return;
        }
        break;
    case CN_COMMAND:
        if (FClicksDisabled)
            return;
        break;
    default:
        break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinButton::CreateWnd() {
    TbsSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

void TbsSkinButton::DoFocusChanged(TMessage& Message) {
    auto* Control = reinterpret_cast<TControl*>(Message.LParam);
    auto* SkinButton = dynamic_cast<TbsSkinButton*>(Control);
    FActive = SkinButton ? SkinButton == this : FDefault;
    if (!FCanFocused || !FDefault)
        return;
    if (SkinButton && SkinButton != this && FMouseIn) {
        FMouseIn = false;
        FEffects.StartMorph();
    } else if (!SkinButton && Control && !FMouseIn) {
        if (EffectsMorphing())
            FEffects.FMorphKf = 1.0;
        FMouseIn = true;
        FEffects.StartMorph();
    }
}

void TbsSkinButton::DoDialogKey(TMessage& Message) {
    const WPARAM Key = Message.WParam;
    const TShiftState Shift = KeyDataToShiftState(static_cast<long>(Message.LParam));
    const bool Plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) &&
                       !Shift.Contains(ssAlt) && GetKeyState(VK_CONTROL) >= 0 &&
                       GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
    if ((Key == VK_RETURN && FActive && Enabled()) ||
        (Key == VK_ESCAPE && FCancel && FCanFocused && Plain && CanFocus())) {
        ButtonClick();
        Message.Result = 1;
        return;
    }
    TbsSkinCustomControl::Dispatch(Message);
}

void TbsSkinButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        if (!FromWMPaint && Message.WParam) {
            TBitmap B;
            B.SetSize(Width(), Height());
            PaintInto(&B);
            TCanvas C;
            C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
            C.Draw(0, 0, &B);
            C.SetHandle(0);
        }
        return;
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        if (FCanFocused) {
            if (AnimationEligible())
                FEffects.StartFrameAnimation(true);
            FEffects.StartMorph();
        }
        return;
    case WM_KILLFOCUS:
        if (FEffects.Repeating())
            FEffects.StopRepeat();
        if (FGroupIndex == 0)
            FDown = false;
        TbsSkinCustomControl::Dispatch(Message);
        if (FCanFocused) {
            if (AnimationEligible())
                FEffects.StartFrameAnimation(false);
            if (EffectsMorphing() && FIndex != -1)
                FEffects.StartMorph();
            else
                Invalidate();
        }
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        if (EffectsMorphing()) {
            FEffects.StopMorph();
            FEffects.FMorphKf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(Message);
        DoMouseEnter();
        return;
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(Message);
        DoMouseLeave();
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case CM_DIALOGKEY:
        DoDialogKey(Message);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && CanFocus() &&
            FCanFocused) {
            SetFocus();
            ButtonClick();
            Message.Result = 1;
            return;
        }
        TbsSkinCustomControl::Dispatch(Message);
        return;
    case CM_FOCUSCHANGED:
        DoFocusChanged(Message);
        TbsSkinCustomControl::Dispatch(Message);
        return;
    case WM_SHOWBUTTONLAYER:
        ShowLayer();
        return;
    case WM_HIDEBUTTONLAYER:
        HideLayer();
        return;
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- painting

void TbsSkinButton::SetFaceFont(TCanvas* C) {
    if (FUseSkinFont && FIndex != -1) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(DefaultFont()->Charset());
}

void TbsSkinButton::DrawContent(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn) {
    C->Brush()->SetStyle(bsClear);
    if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        DrawImageAndText(C, R, FMargin, 0, false, Enabled(), ADown && AMouseIn, FImageList,
                         FImageIndex, Caption(), FLayout, FSpacing);
    else
        DrawGlyphAndText(C, R, FMargin, 0, false, ADown && AMouseIn, GlyphNumber(ADown, AMouseIn),
                         FNumGlyphs, &FGlyph, Caption(), FLayout, FSpacing);
}

void TbsSkinButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
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
    SetFaceFont(C);
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
    if (ShowFocus && HasFocus()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FSD->SkinColors() ? FSD->SkinColors()->cBtnFace() : clBtnFace);
        DrawFocusRectangle(C, Content);
        C->Brush()->SetStyle(bsClear);
    }
    if (OnPaint) {
        bool DrawDefault = true;
        OnPaint(this, C, NewClRect, ADown, AMouseIn, DrawDefault);
        if (!DrawDefault)
            return;
    }
    DrawContent(C, Content, ADown, AMouseIn);
}

void TbsSkinButton::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* C = B->Canvas();
    const TRect R{0, 0, Width(), Height()};
    const bool Pressed = FDown && (FGroupIndex != 0 || FMouseIn || (HasFocus() && !FMouseDown));
    TColor Frame = clBtnShadow, Fill = clBtnFace;
    if (Pressed) {
        Frame = PlainFrameHot;
        Fill = PlainFillDown;
    } else if (FMouseIn || HasFocus()) {
        Frame = PlainFrameHot;
        Fill = PlainFillHot;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(R);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
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
    C->Brush()->SetStyle(bsClear);
    if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        DrawImageAndText(C, R, FMargin, 0, false, Enabled(), FDown && FMouseIn, FImageList,
                         FImageIndex, Caption(), FLayout, FSpacing);
    else
        DrawGlyphAndText(C, R, FMargin, 0, false, Pressed, GlyphNumber(FDown, FMouseIn), FNumGlyphs,
                         &FGlyph, Caption(), FLayout, FSpacing);
}

// The face of the state table, into B (of the control's size).
void TbsSkinButton::PaintInto(TBitmap* B) {
    GetSkinData();
    if (FIndex == -1) {
        CreateControlDefaultImage(B);
        return;
    }
    int W = Width(), H = Height();
    CalcSkinSize(W, H);
    const bool Focus = HasFocus();
    if (!Enabled() && !IsNullRect(DisabledSkinRect))
        CreateButtonImage(B, DisabledSkinRect, false, false);
    else if (FDown && (FGroupIndex != 0 || FMouseIn || (Focus && !FMouseDown)))
        CreateButtonImage(B, DownSkinRect, true, true);
    else if (Focus && !IsNullRect(FocusedSkinRect) && !FEffects.Animating())
        CreateButtonImage(B, FocusedSkinRect, false, true);
    else if (Focus || FMouseIn || (EffectsMorphing() && FEffects.FMorphKf == 1.0))
        CreateButtonImage(B, ActiveSkinRect, false, true);
    else
        CreateButtonImage(B, SkinRect, false, false);
}

void TbsSkinButton::Paint() {
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    if (FIndex != -1 && EffectsMorphing() && FEffects.FMorphKf > 0 && FEffects.FMorphKf < 1 &&
        Enabled()) {
        int W = Width(), H = Height();
        CalcSkinSize(W, H);
        TBitmap Normal, Hot;
        Normal.SetSize(Width(), Height());
        Hot.SetSize(Width(), Height());
        CreateButtonImage(&Normal, SkinRect, false, false);
        CreateButtonImage(&Hot, ActiveSkinRect, false, true);
        DrawMorphedFaces(&Normal, &Hot, MorphKind, FEffects.FMorphKf, Canvas()->Handle());
        return;
    }
    TBitmap B;
    B.SetSize(Width(), Height());
    PaintInto(&B);
    Canvas()->Draw(0, 0, &B);
}
