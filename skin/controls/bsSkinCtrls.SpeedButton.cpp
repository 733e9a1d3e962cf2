#include "skin/controls/bsSkinCtrls.SpeedButton.h"

#include "platform/forms/ActnList.h"
#include "platform/forms/Hotkeys.h"
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.Records.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.Rects.h"

namespace {

constexpr TColor PlainFrameHot = 0x800000;
constexpr TColor PlainFillDown = 0xB59385;
constexpr TColor PlainFillHot = 0xD2BDB6;
constexpr TColor GreyText = 0x808080;

} // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(TComponent* AOwner) : TbsButtonContent(AOwner) {
    FImageIndex = 0;
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

// ---------------------------------------------------------------- effects and skin

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

// ---------------------------------------------------------------- clicks and groups

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

// ================================================================ menu speed button

namespace {

constexpr int StripSize = 15;

bool IsOneOf(const std::string& S, std::initializer_list<const char*> Names) {
    for (const char* N : Names)
        if (S == N)
            return true;
    return false;
}

} // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner) {
    FSkinDataName = "toolmenubutton";
}

TbsSkinMenuSpeedButton::~TbsSkinMenuSpeedButton() = default;

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TComponent* Value) {
    if (FSkinPopupMenu)
        FSkinPopupMenu->RemoveFreeNotification(this);
    FSkinPopupMenu = Value;
    if (FSkinPopupMenu)
        FSkinPopupMenu->FreeNotification(this);
}

void TbsSkinMenuSpeedButton::SetSkinImagesMenu(TComponent* Value) {
    if (FSkinImagesMenu)
        FSkinImagesMenu->RemoveFreeNotification(this);
    FSkinImagesMenu = Value;
    if (FSkinImagesMenu)
        FSkinImagesMenu->FreeNotification(this);
    Repaint();
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value) {
    FTrackButtonMode = Value;
    if (FIndex == -1)
        Repaint();
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value) {
    FTrackPosition = Value;
    Repaint();
}

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value) {
    FNewStyle = Value;
    if (Value)
        FSkinDataName = "resizetoolbutton";
}

void TbsSkinMenuSpeedButton::SetStandardArrowKind(int Value) {
    FStandardArrowKind = Value;
    Repaint();
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinSpeedButton::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSkinPopupMenu)
        FSkinPopupMenu = nullptr;
    if (AComponent == FSkinImagesMenu)
        FSkinImagesMenu = nullptr;
}

void TbsSkinMenuSpeedButton::GetSkinData() {
    TbsSkinSpeedButton::GetSkinData();
    if (FIndex == -1)
        return;
    if (auto* E = dynamic_cast<TbsDataSkinMenuButtonControl*>(FSD->CtrlList[FIndex].get()))
        TrackButtonRect = E->TrackButtonRect;
}

// ---------------------------------------------------------------- track area

bool TbsSkinMenuSpeedButton::StripElement() const {
    return FIndex == -1 || IsOneOf(FSkinDataName, {"resizebutton", "resizetoolbutton", "toolbutton",
                                                   "bigtoolbutton"});
}

TRect TbsSkinMenuSpeedButton::StripRect() const {
    const int W = Width(), H = Height();
    if (FNewStyle && FTrackPosition == bstpBottom)
        return {0, H - StripSize, W, H};
    return {W - StripSize, 0, W, H};
}

TRect TbsSkinMenuSpeedButton::GetTrackButtonRect() {
    TRect R = TrackButtonRect;
    if (ResizeMode == 2) {
        const int D = Width() - RectWidth(SkinRect);
        R.Left += D;
        R.Right += D;
    } else if (ResizeMode == 3) {
        const int D = Height() - RectHeight(SkinRect);
        R.Top += D;
        R.Bottom += D;
    }
    return R;
}

bool TbsSkinMenuSpeedButton::InTrackArea(int X, int Y) {
    if (!FSkinPopupMenu && !FSkinImagesMenu)
        return false;
    if (!FTrackButtonMode)
        return true;
    GetSkinData();
    const TRect R = FIndex != -1 && !StripElement() ? GetTrackButtonRect() : StripRect();
    return PointInRect(R, {X, Y});
}

// ---------------------------------------------------------------- menus

TbsMenuButtonMenus& MenuButtonMenus() {
    static TbsMenuButtonMenus Menus;
    return Menus;
}

void TbsSkinMenuSpeedButton::PopupSkinMenu(const TRect& R) {
    if (MenuButtonMenus().PopupSkinMenu)
        MenuButtonMenus().PopupSkinMenu(this, FSkinPopupMenu, R);
}

void TbsSkinMenuSpeedButton::PopupImagesMenu(const TRect& R) {
    FImagesMenuOpened = MenuButtonMenus().PopupImagesMenu &&
                        MenuButtonMenus().PopupImagesMenu(this, FSkinImagesMenu, R);
}

void TbsSkinMenuSpeedButton::TrackMenu() {
    const TPoint P = ClientToScreen({0, 0});
    const TRect R{P.X, P.Y, P.X + Width(), P.Y + Height()};
    if (FSkinPopupMenu) {
        if (OnShowTrackMenu)
            OnShowTrackMenu(this);
        PopupSkinMenu(R);
    }
    if (FSkinImagesMenu) {
        if (OnShowTrackMenu)
            OnShowTrackMenu(this);
        PopupImagesMenu(R);
        // An image grid with nothing to show never opens and never tells us
        // it closed: the button comes up at once unless a popup menu is
        // still open.
        if (!ImagesMenuOpened() && !(FSkinPopupMenu && FMenuTracked))
            ImagesMenuClose();
    }
}

void TbsSkinMenuSpeedButton::CloseMenu() {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
    Repaint();
}

void TbsSkinMenuSpeedButton::ImagesMenuClose() {
    FMenuTracked = false;
    SetDown(false);
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
    FMouseIn = false;
    Repaint();
}

bool TbsSkinMenuSpeedButton::DrawImagesMenuContent(TCanvas* C, const TRect& R, bool Pressed) {
    TCustomImageList* Images = nullptr;
    int Index = -1;
    std::string Caption;
    if (!FSkinImagesMenu || !FUseImagesMenuImage || !MenuButtonMenus().ImagesMenuChoice ||
        !MenuButtonMenus().ImagesMenuChoice(FSkinImagesMenu, Images, Index, Caption) || !Images ||
        Index < 0 || Index >= Images->Count())
        return false;
    DrawImageAndText(C, R, FMargin, 0, false, Enabled(), Pressed, Images, Index,
                     FUseImagesMenuCaption ? Caption : DrawnCaption(), FLayout, FSpacing);
    return true;
}

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FMenuTracked = InTrackArea(X, Y);
        FMouseIn = true;
        if (FMenuTracked) {
            if (!FDown)
                SetDown(true);
            TrackMenu();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FMenuTracked)
        return;
    TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CLOSESKINMENU:
        CloseMenu();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (FMenuTracked) {
            TbsGraphicSkinCustomControl::Dispatch(Message);
            FMouseIn = Message.Msg == CM_MOUSEENTER;
            return;
        }
        TbsSkinSpeedButton::Dispatch(Message);
        return;
    default:
        TbsSkinSpeedButton::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- painting

void TbsSkinMenuSpeedButton::DrawMenuMarker(TCanvas* C, const TRect& R, bool Active, bool Down,
                                            bool Flat) {
    const TRect S = Down     ? MenuMarkerDownRect
                    : Active ? MenuMarkerActiveRect
                    : Flat   ? MenuMarkerFlatRect
                             : MenuMarkerRect;
    if (IsNullRect(S) || !Picture)
        return;
    TBitmap M;
    M.SetSize(RectWidth(S), RectHeight(S));
    CopyPart(&M, {0, 0, M.Width(), M.Height()}, Picture, S);
    M.SetTransparent(true);
    M.SetTransparentMode(tmFixed);
    M.SetTransparentColor(MenuMarkerTransparentColor);
    C->Draw(R.Left + R.Width() / 2 - M.Width() / 2, R.Top + R.Height() / 2 - M.Height() / 2, &M);
}

void TbsSkinMenuSpeedButton::DrawSign(TCanvas* C, const TRect& R, TColor Color, bool Active,
                                      bool Down, bool Flat, bool UsePicture) {
    if (FStandardArrowKind >= 1 && FStandardArrowKind <= 4)
        DrawArrowImage(C, R, Color, FStandardArrowKind);
    else if (UsePicture)
        DrawMenuMarker(C, R, Active, Down, Flat);
    else
        DrawDropDownArrow(C, R, Color);
}

void TbsSkinMenuSpeedButton::DrawResizeElement(const std::string& Name, TCanvas* C, bool Down,
                                               bool Active, const TRect& T) {
    const int I = FSD ? FSD->GetControlIndex(Name) : -1;
    auto* E = I == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[I].get());
    TBitmap* Pic = E ? FSD->ActivePicture(E->PictureIndex) : nullptr;
    if (!E || !Pic || T.Width() <= 0 || T.Height() <= 0)
        return;
    const TRect A = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    const TRect D = IsNullRect(E->DownSkinRect) ? A : E->DownSkinRect;
    const TRect Source = Down && Active ? D : Active ? A : E->SkinRect;
    const int DW = T.Width() - RectWidth(E->SkinRect), DH = T.Height() - RectHeight(E->SkinRect);
    TBitmap B;
    B.SetSize(T.Width(), T.Height());
    MakeNinePartBitmap(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
                       {E->RTPoint.X + DW, E->RTPoint.Y}, {E->LBPoint.X, E->LBPoint.Y + DH},
                       {E->RBPoint.X + DW, E->RBPoint.Y + DH},
                       {E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DW, E->ClRect.Bottom + DH},
                       &B, Pic, Source, T.Width(), T.Height(), true, E->LeftStretch, E->TopStretch,
                       E->RightStretch, E->BottomStretch, E->StretchEffect, E->StretchType);
    C->Draw(T.Left, T.Top, &B);
}

void TbsSkinMenuSpeedButton::FillPart(TBitmap* B, const TRect& Part, const TRect& Source,
                                      bool NinePart) {
    const int W = Part.Width(), H = Part.Height();
    if (W <= 0 || H <= 0 || !Picture)
        return;
    TBitmap P;
    P.SetSize(W, H);
    if (NinePart) {
        const int DW = W - RectWidth(SkinRect), DH = H - RectHeight(SkinRect);
        MakeNinePartBitmap(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, {RTPt.X + DW, RTPt.Y},
                           {LBPt.X, LBPt.Y + DH}, {RBPt.X + DW, RBPt.Y + DH},
                           {ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH}, &P,
                           Picture, Source, W, H, true, LeftStretch, TopStretch, RightStretch,
                           BottomStretch, StretchEffect, StretchType);
    } else {
        MakeNinePartBitmapByClRect(&P, Picture, Source, ClRect, true);
    }
    B->Canvas()->Draw(Part.Left, Part.Top, &P);
}

void TbsSkinMenuSpeedButton::DrawFaceContent(TCanvas* C, const TRect& Text, bool Pressed,
                                             bool AMouseIn) {
    SetFaceFont(C, false);
    TColor Color = FontColor;
    if (!Enabled())
        Color = DisabledFontColor;
    else if (!FUseSkinFontColor)
        Color = DefaultFont()->Color();
    else if (Pressed)
        Color = DownFontColor;
    else if (AMouseIn)
        Color = ActiveFontColor;
    C->Font()->SetColor(Color);
    DrawContent(C, Text, Pressed, AMouseIn, true, Pressed);
}

void TbsSkinMenuSpeedButton::DrawStripFace(TBitmap* B, bool ADown, bool AMouseIn, bool NinePart) {
    const int W = B->Width(), H = B->Height();
    const bool Pressed = ADown && AMouseIn;
    const TRect Main{0, 0, W - StripSize, H}, Strip{W - StripSize, 0, W, H};
    bool PressedDrawn = false;
    if (FTrackButtonMode) {
        if (FMenuTracked) {
            FillPart(B, Main, ActiveSkinRect, NinePart);
            FillPart(B, Strip, DownSkinRect, NinePart);
        } else if (Pressed) {
            FillPart(B, Main, DownSkinRect, NinePart);
            FillPart(B, Strip, DownSkinRect, NinePart);
            PressedDrawn = true;
        } else if (AMouseIn) {
            FillPart(B, Main, ActiveSkinRect, NinePart);
            FillPart(B, Strip, ActiveSkinRect, NinePart);
        } else if (!FFlat) {
            FillPart(B, Main, SkinRect, NinePart);
            FillPart(B, Strip, SkinRect, NinePart);
        }
    } else {
        const TRect All{0, 0, W, H};
        if (Pressed) {
            FillPart(B, All, DownSkinRect, NinePart);
            PressedDrawn = true;
        } else if (AMouseIn) {
            FillPart(B, All, ActiveSkinRect, NinePart);
        } else if (!FFlat) {
            FillPart(B, All, SkinRect, NinePart);
        }
    }
    TCanvas* C = B->Canvas();
    DrawFaceContent(C, Main, PressedDrawn, AMouseIn);
    TRect SignRect = Strip;
    if (Pressed || FMenuTracked)
        SignRect = {W - 13, 2, W, H};
    const TColor SignColor = FMenuTracked ? DownFontColor : C->Font()->Color();
    DrawSign(C, SignRect, SignColor, AMouseIn, Pressed || FMenuTracked, false,
             !IsNullRect(MenuMarkerRect));
}

void TbsSkinMenuSpeedButton::DrawNewStyleFace(TBitmap* B, bool ADown, bool AMouseIn) {
    const int W = B->Width(), H = B->Height();
    const std::string Main =
        FSD->GetControlIndex("resizetoolbutton") != -1 ? "resizetoolbutton" : "resizebutton";
    const std::string StripName =
        FTrackPosition == bstpBottom ? "htracktoolbutton" : "vtracktoolbutton";
    const bool HasStrip = FSD->GetControlIndex(StripName) != -1;
    const TRect Strip = StripRect();
    const bool HotTrack = AMouseIn && FTrackButtonMode;
    TRect MainRect{0, 0, W, H};
    if (HotTrack && !HasStrip)
        MainRect = FTrackPosition == bstpBottom ? TRect{0, 0, W, H - StripSize}
                                                : TRect{0, 0, W - StripSize, H};
    const bool Pressed = ADown && AMouseIn && !(FTrackButtonMode && FMenuTracked);
    TCanvas* C = B->Canvas();
    DrawResizeElement(Main, C, Pressed, AMouseIn, MainRect);
    if (HotTrack)
        DrawResizeElement(HasStrip ? StripName : Main, C, FMenuTracked, true, Strip);
    const TRect Text = FTrackPosition == bstpBottom ? TRect{0, 0, W, H - StripSize}
                                                    : TRect{0, 0, W - StripSize, H};
    DrawFaceContent(C, Text, Pressed, AMouseIn);
    TRect SignRect = Strip;
    if (ADown && AMouseIn && (!FTrackButtonMode || FMenuTracked))
        SignRect = {Strip.Left + 1, Strip.Top + 1, Strip.Right + 1, Strip.Bottom + 1};
    DrawSign(C, SignRect, FMenuTracked ? DownFontColor : C->Font()->Color(), AMouseIn,
             Pressed || FMenuTracked, false, !IsNullRect(MenuMarkerRect));
}

void TbsSkinMenuSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown,
                                               bool AMouseIn) {
    if (FNewStyle && FSkinDataName == "resizetoolbutton") {
        DrawNewStyleFace(B, ADown, AMouseIn);
    } else if (IsOneOf(FSkinDataName, {"toolbutton", "bigtoolbutton"})) {
        DrawStripFace(B, ADown, AMouseIn, false);
    } else if (IsOneOf(FSkinDataName, {"resizebutton", "resizetoolbutton"})) {
        DrawStripFace(B, ADown, AMouseIn, true);
    } else if (FMenuTracked && FTrackButtonMode && !IsNullRect(TrackButtonRect) &&
               !IsNullRect(DownSkinRect)) {
        // Only the element's drop-down part looks pressed.
        TbsSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, AMouseIn);
        const TRect S = {
            TrackButtonRect.Left + DownSkinRect.Left, TrackButtonRect.Top + DownSkinRect.Top,
            TrackButtonRect.Right + DownSkinRect.Left, TrackButtonRect.Bottom + DownSkinRect.Top};
        CopyPart(B, GetTrackButtonRect(), Picture, S);
    } else {
        TbsSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
    }
}

void TbsSkinMenuSpeedButton::PaintIdleContent(TCanvas* C) {
    GetSkinData();
    const bool Skinned = FIndex != -1;
    TRect Text;
    if (Skinned && !StripElement()) {
        int W = Width(), H = Height();
        CalcSkinSize(W, H);
        Text = NewClRect;
    } else {
        Text = {0, 0, Width() - StripSize, Height()};
    }
    SetFaceFont(C, false);
    if (!Enabled())
        C->Font()->SetColor(clBtnShadow);
    else if (Skinned)
        C->Font()->SetColor(FUseSkinFontColor && FSD->SkinColors() ? FSD->SkinColors()->cBtnText()
                                                                   : DefaultFont()->Color());
    DrawContent(C, Text, false, false, false, false);
    TRect SignRect = StripElement() ? StripRect() : TRect{Text.Right, 0, Width(), Height()};
    if (Skinned && ResizeMode != 1) {
        SignRect.Left -= 2;
        SignRect.Right -= 2;
    }
    if (!Skinned)
        DrawSign(C, SignRect, clBtnText, false, false, true, false);
    else
        DrawSign(C, SignRect, FSD->SkinColors() ? FSD->SkinColors()->cBtnText() : clBtnText, false,
                 false, true, !IsNullRect(MenuMarkerFlatRect));
}

void TbsSkinMenuSpeedButton::Paint() {
    if (FMouseIn || FDown || FMenuTracked || !FTransparent) {
        TbsSkinSpeedButton::Paint();
        return;
    }
    PaintIdleContent(Canvas());
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B) {
    enum TLook { Plain, Hot, Pressed };
    TCanvas* C = B->Canvas();
    const int W = Width(), H = Height();
    const bool DownHot = FDown && FMouseIn;
    const bool Split = FTrackButtonMode && (!FNewStyle || FMouseIn);
    const TRect Strip = StripRect();
    const TRect All{0, 0, W, H};
    const TRect Main = Strip.Top > 0 ? TRect{0, 0, W, Strip.Top} : TRect{0, 0, Strip.Left, H};
    auto Fill = [&](const TRect& R, TLook L) {
        C->Brush()->SetStyle(bsSolid);
        if (L == Plain) {
            C->Brush()->SetColor(clBtnFace);
            C->FillRect(R);
            if (!FFlat) {
                C->Brush()->SetColor(clBtnShadow);
                C->FrameRect(R);
            }
            return;
        }
        C->Brush()->SetColor(L == Pressed ? 0xB59385 : 0xD2BDB6);
        C->FillRect(R);
        C->Brush()->SetColor(0x800000);
        C->FrameRect(R);
    };
    if (Split) {
        if (FMenuTracked) {
            Fill(Main, Hot);
            Fill(Strip, Pressed);
        } else if (DownHot) {
            Fill(Main, Pressed);
            Fill(Strip, FNewStyle ? Hot : Pressed);
        } else if (FMouseIn) {
            Fill(Main, Hot);
            Fill(Strip, Hot);
        } else {
            Fill(Main, Plain);
            Fill(Strip, Plain);
        }
    } else {
        Fill(All, DownHot ? Pressed : FMouseIn ? Hot : Plain);
    }
    C->Font()->Assign(DefaultFont());
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    if (!Enabled())
        C->Font()->SetColor(clBtnShadow);
    DrawContent(C, Main, FDown, FMouseIn, true, DownHot);
    TRect SignRect = Strip;
    if (FNewStyle) {
        if (DownHot && (!FTrackButtonMode || FMenuTracked))
            SignRect = {Strip.Left + 2, Strip.Top + 2, Strip.Right + 2, Strip.Bottom + 2};
    } else if (DownHot || FMenuTracked) {
        SignRect = {W - 13, 2, W, H};
    }
    DrawSign(C, SignRect, clBtnText, false, false, false, false);
}
