#include "skin/controls/bsSkinCtrls.CheckRadio.h"

#include "platform/forms/ActnList.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Hotkeys.h"
#include "skin/controls/bsSkinCtrls.ButtonEffects.h"
#include "skin/model/bsEffects.EffectBmp.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.Controls.h"
#include "skin/model/bsSkinData.ResStr.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.ParentBackground.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

constexpr unsigned MorphInterval = 20;
constexpr double MorphStepSize = 0.2;
constexpr TColor HotFrame = RGB(0, 0, 128);
constexpr int PlainCaptionX = 22;
constexpr int PlainImageGap = 5;
constexpr int SkinImageGap = 8;

} // namespace

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    // A release toggles the box, and the toggle fires OnClick: the class
    // library's own click on release would fire it a second time.
    FControlStyle.Exclude(csClickEvents);
    SetTabStop(false);
    SetBounds(Left(), Top(), 150, 25);
    FSkinDataName = "checkbox";
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() {
    MorphStop();
}

// ---------------------------------------------------------------- values and groups

void TbsSkinCheckRadioBox::SetChecked(bool Value) {
    FChecked = Value;
    if (Value || FState == cbChecked)
        FState = Value ? cbChecked : cbUnchecked;
    Repaint();
    if (FChecked && FGroupIndex != 0 && Parent()) {
        TWinControl* P = Parent();
        for (int I = 0; I < P->ControlCount(); ++I) {
            auto* Other = dynamic_cast<TbsSkinCheckRadioBox*>(P->Controls(I));
            if (Other && Other != this && Other->FGroupIndex == FGroupIndex && Other->FChecked)
                Other->SetChecked(false);
        }
    }
    if (OnClick && (!FRadio || FChecked))
        OnClick(this);
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value) {
    FState = Value;
    FChecked = Value == cbChecked;
    Repaint();
    if (OnClick)
        OnClick(this);
}

void TbsSkinCheckRadioBox::Toggle() {
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TbsSkinCheckRadioBox::SetRadio(bool Value) {
    FRadio = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinCheckRadioBox::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    if (FFLat)
        Repaint();
}

void TbsSkinCheckRadioBox::SetAllowGrayed(bool Value) {
    FAllowGrayed = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetFlat(bool Value) {
    FFLat = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    Repaint();
}

void TbsSkinCheckRadioBox::SetImageIndex(int Value) {
    FImageIndex = Value;
    Repaint();
}

void TbsSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

// ---------------------------------------------------------------- skin

void TbsSkinCheckRadioBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1)
        return;
    auto* E = dynamic_cast<TbsDataSkinCheckRadioControl*>(FSD->CtrlList[FIndex].get());
    if (!E)
        return;
    FontName = E->FontName;
    FontColor = E->FontColor;
    ActiveFontColor = E->ActiveFontColor;
    FrameFontColor = E->FrameFontColor;
    UnEnabledFontColor = E->UnEnabledFontColor;
    FontStyle = E->FontStyle;
    FontHeight = E->FontHeight;
    ActiveSkinRect = IsNullRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
    CheckImageArea = E->CheckImageArea;
    TextArea = E->TextArea;
    CheckImageRect = E->CheckImageRect;
    UnCheckImageRect = E->UnCheckImageRect;
    ActiveCheckImageRect = E->ActiveCheckImageRect;
    UnEnabledCheckImageRect = E->UnEnabledCheckImageRect;
    UnEnabledUnCheckImageRect = E->UnEnabledUnCheckImageRect;
    ActiveUnCheckImageRect = E->ActiveUnCheckImageRect;
    Morphing = E->Morphing;
    MorphKind = E->MorphKind;
    GrayedCheckImageRect = E->GrayedCheckImageRect;
    ActiveGrayedCheckImageRect = E->ActiveGrayedCheckImageRect;
    if (IsNullRect(UnEnabledCheckImageRect))
        UnEnabledCheckImageRect = CheckImageRect;
    if (IsNullRect(ActiveCheckImageRect))
        ActiveCheckImageRect = CheckImageRect;
    if (IsNullRect(UnEnabledUnCheckImageRect))
        UnEnabledUnCheckImageRect = UnCheckImageRect;
    if (IsNullRect(ActiveUnCheckImageRect))
        ActiveUnCheckImageRect = UnCheckImageRect;
    if (FFLat) {
        Morphing = false;
        MaskPicture = nullptr;
    }
}

void TbsSkinCheckRadioBox::CalcSkinSize(int& AWidth, int& AHeight) {
    if (FFLat)
        return;
    TbsSkinCustomControl::CalcSkinSize(AWidth, AHeight);
    const int D = AWidth - RectWidth(SkinRect);
    NewTextArea = TextArea;
    NewTextArea.Right += D;
    TRect Area = CheckImageArea;
    if (TextArea.Right < CheckImageArea.Right) {
        Area.Left += D;
        Area.Right += D;
    }
    const int W = RectWidth(CheckImageRect), H = RectHeight(CheckImageRect);
    CIRect.Left = RectWidth(Area) / 2 + Area.Left - W / 2;
    CIRect.Top = RectHeight(Area) / 2 + Area.Top - H / 2;
    CIRect.Right = CIRect.Left + W;
    CIRect.Bottom = CIRect.Top + H;
}

void TbsSkinCheckRadioBox::ChangeSkinData() {
    if (!FFLat) {
        TbsSkinCustomControl::ChangeSkinData();
        return;
    }
    GetSkinData();
    Repaint();
}

void TbsSkinCheckRadioBox::CheckParentBackground() {
    if (FFLat)
        Repaint();
}

// ---------------------------------------------------------------- hover, focus and morph

bool TbsSkinCheckRadioBox::HasFocus() {
    return FCanFocused && HandleAllocated() && Focused();
}

bool TbsSkinCheckRadioBox::IsActive() {
    return FMouseIn || HasFocus();
}

bool TbsSkinCheckRadioBox::MorphingOn() const {
    return Morphing && FSD && !FSD->Empty && FSD->EnableSkinEffects();
}

void TbsSkinCheckRadioBox::StateChanged() {
    if (FIndex != -1 && MorphingOn())
        MorphStart();
    else
        Repaint();
}

void TbsSkinCheckRadioBox::MorphStart() {
    if (MorphTimer)
        return;
    MorphTimer = new TTimer(this);
    MorphTimer->SetInterval(MorphInterval);
    MorphTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinCheckRadioBox::MorphStep));
    MorphTimer->SetEnabled(true);
}

void TbsSkinCheckRadioBox::MorphStop() {
    delete MorphTimer;
    MorphTimer = nullptr;
}

void TbsSkinCheckRadioBox::MorphStep(TObject*) {
    const bool Active = IsActive();
    if (FIndex == -1 || !MorphingOn()) {
        FMorphKf = Active ? 1 : 0;
        MorphStop();
        return;
    }
    if (Active && FMorphKf < 1) {
        FMorphKf += MorphStepSize;
    } else if (!Active && FMorphKf > 0) {
        FMorphKf -= MorphStepSize;
    } else {
        FMorphKf = Active ? 1 : 0;
        MorphStop();
    }
    Repaint();
}

// ---------------------------------------------------------------- input

void TbsSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!FMouseIn) {
        FMouseIn = true;
        StateChanged();
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FMouseIn)
        return;
    if (FAllowGrayed && !FRadio && FState == cbUnchecked) {
        FState = cbGrayed;
        Repaint();
        if (OnClick)
            OnClick(this);
    } else {
        Toggle();
    }
}

void TbsSkinCheckRadioBox::WndProc(TMessage& Message) {
    if (!FCanFocused) {
        TbsSkinCustomControl::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_KEYUP:
        if (Message.WParam == VK_SPACE && HasFocus())
            Toggle();
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

void TbsSkinCheckRadioBox::ActionChange(TObject* Sender, bool CheckDefaults) {
    TbsSkinCustomControl::ActionChange(Sender, CheckDefaults);
    auto* A = dynamic_cast<TCustomAction*>(Sender);
    if (A && (!CheckDefaults || !FChecked))
        SetChecked(A->Checked());
}

void TbsSkinCheckRadioBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TbsSkinCustomControl::Dispatch(Message);
        FMouseIn = Message.Msg == CM_MOUSEENTER;
        StateChanged();
        return;
    case CM_DIALOGCHAR:
        if (FCanFocused && IsAccel(static_cast<unsigned>(Message.WParam), Caption()) &&
            CanFocus()) {
            SetFocus();
            Toggle();
            Message.Result = 1;
            return;
        }
        TbsSkinCustomControl::Dispatch(Message);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(Message);
        if (FCanFocused) {
            if (FFLat)
                Invalidate();
            else
                StateChanged();
        }
        return;
    case CM_ENABLEDCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        if (MorphingOn()) {
            MorphStop();
            FMorphKf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(Message);
        Repaint();
        return;
    case WM_MOVE:
        TbsSkinCustomControl::Dispatch(Message);
        if (FFLat)
            Invalidate();
        return;
    case WM_ERASEBKGND:
        if (!FFLat && !FromWMPaint && Message.WParam) {
            TCanvas C;
            C.SetHandle(reinterpret_cast<HDC>(Message.WParam));
            TBitmap B;
            B.SetSize(Width(), Height());
            GetSkinData();
            if (FIndex == -1)
                CreateControlDefaultImage(&B);
            else
                DrawFace(&B, IsActive(), FChecked);
            C.Draw(0, 0, &B);
            C.SetHandle(0);
        }
        return;
    default:
        TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------- painting

void TbsSkinCheckRadioBox::SetCharsetOf(TFont* F) {
    if (FSD && FSD->ResourceStrData())
        F->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        F->SetCharset(DefaultFont()->Charset());
}

void TbsSkinCheckRadioBox::DrawCheckPicture(TCanvas* C, int X, int Y, bool ACheckState) {
    if (!Picture)
        return;
    const bool Grayed = FState == cbGrayed;
    TRect R;
    if (Enabled())
        R = FMouseIn ? (Grayed || ACheckState ? ActiveCheckImageRect : ActiveUnCheckImageRect)
                     : (Grayed || ACheckState ? CheckImageRect : UnCheckImageRect);
    else
        R = Grayed || ACheckState ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    bool Brighten = false;
    if (Grayed) {
        if (IsNullRect(GrayedCheckImageRect))
            Brighten = true;
        else if (Enabled() && FMouseIn && !IsNullRect(ActiveGrayedCheckImageRect))
            R = ActiveGrayedCheckImageRect;
        else
            R = GrayedCheckImageRect;
    }
    if (IsNullRect(R))
        return;
    TBitmap P;
    P.SetSize(RectWidth(R), RectHeight(R));
    CopyPart(&P, {0, 0, P.Width(), P.Height()}, Picture, R);
    if (Brighten) {
        auto E = TbsEffectBmp::CreateFromhWnd(P.Handle());
        E->ChangeBrightness(0.5);
        E->Draw(P.Canvas()->Handle(), 0, 0);
    }
    P.SetTransparent(true);
    C->Draw(X, Y, &P);
}

TRect TbsSkinCheckRadioBox::CaptionPlace(TCanvas* C, int X, int ImageGap, bool& ImageShown) {
    const int H = Height();
    ImageShown = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
    const std::string S = Caption();
    if (FWordWrap) {
        TRect R{X + (ImageShown ? FImages->Width() : 0), 0, ClientWidth(), H};
        TRect M = R;
        DrawWideText(C, S, M, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        const int Top = std::max(0, H / 2 - RectHeight(M) / 2);
        return {R.Left, Top, R.Right, Top + RectHeight(M)};
    }
    TRect M{0, 0, 0, 0};
    DrawWideText(C, S, M, DT_CALCRECT);
    TRect R{X, H / 2 - RectHeight(M) / 2, X + RectWidth(M),
            H / 2 - RectHeight(M) / 2 + RectHeight(M)};
    if (ImageShown) {
        R.Left += FImages->Width() + ImageGap;
        R.Right += FImages->Width() + ImageGap;
    }
    if (R.Right > Width() - 2)
        R.Right = Width() - 2;
    return R;
}

void TbsSkinCheckRadioBox::DrawCaptionAndFocus(TCanvas* C, const TRect& Place, int X,
                                               TColor Color) {
    const int H = Height();
    const bool ImageShown = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
    if (ImageShown)
        FImages->Draw(C, X, H / 2 - FImages->Height() / 2, FImageIndex, Enabled());
    C->Font()->SetColor(Color);
    C->Brush()->SetStyle(bsClear);
    const std::string S = Caption();
    if (FWordWrap) {
        TRect R = Place;
        DrawWideText(C, S, R, DT_EXPANDTABS | DT_WORDBREAK);
    } else {
        DrawTextVCenter(C, S, Place);
    }
    if (!HasFocus())
        return;
    if (!S.empty()) {
        const TRect F =
            FWordWrap ? TRect{Place.Left - 2, Place.Top - 1, Place.Right + 2, Place.Bottom + 1}
                      : TRect{Place.Left - 2, Place.Top - 1, Place.Right + 3, Place.Bottom + 1};
        DrawFocusRectangle(C, F);
    } else if (ImageShown) {
        const int Top = H / 2 - FImages->Height() / 2;
        DrawFocusRectangle(C,
                           {X - 1, Top - 1, X + FImages->Width() + 1, Top + FImages->Height() + 1});
    }
}

void TbsSkinCheckRadioBox::DrawBoxAndTick(TCanvas* C, int H, bool ACheckState) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FMouseIn ? HotFrame : clBtnShadow);
    C->FrameRect({3, H / 2 - 7, 17, H / 2 + 7});
    if (FState == cbGrayed && !FRadio) {
        DrawCheckImage(C, 7, H / 2 - 4, clGrayText);
    } else if (ACheckState) {
        const TColor Tick = Enabled() ? clBlack : clBtnShadow;
        if (FRadio)
            DrawRadioImage(C, 7, H / 2 - 3, Tick);
        else
            DrawCheckImage(C, 7, H / 2 - 4, Tick);
    }
}

void TbsSkinCheckRadioBox::DrawFlatPlain(TCanvas* C, bool ACheckState) {
    const int H = Height();
    C->Font()->Assign(DefaultFont());
    SetCharsetOf(C->Font());
    C->Brush()->SetStyle(bsClear);
    bool ImageShown = false;
    const TRect Place = CaptionPlace(C, PlainCaptionX, PlainImageGap, ImageShown);
    const TColor Color = Enabled() ? DefaultFont()->Color() : clBtnShadow;
    DrawCaptionAndFocus(C, Place, PlainCaptionX, Color);
    DrawBoxAndTick(C, H, ACheckState);
}

void TbsSkinCheckRadioBox::DrawFlatSkin(TCanvas* C, bool ACheckState) {
    const int H = Height();
    DrawCheckPicture(C, 3, H / 2 - RectHeight(CheckImageRect) / 2, ACheckState);
    if (FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    SetCharsetOf(C->Font());
    const int X = RectWidth(CheckImageRect) + 7;
    bool ImageShown = false;
    const TRect Place = CaptionPlace(C, X, SkinImageGap, ImageShown);
    TColor Color = Enabled() ? FrameFontColor : UnEnabledFontColor;
    if (!FUseSkinFontColor)
        Color = DefaultFont()->Color();
    DrawCaptionAndFocus(C, Place, X, Color);
}

void TbsSkinCheckRadioBox::DrawFace(TBitmap* B, bool Active, bool ACheckState) {
    int W = Width(), H = Height();
    CalcSkinSize(W, H);
    B->SetSize(Width(), Height());
    CreateSkinImage(B, Picture, Active ? ActiveSkinRect : SkinRect);
    TCanvas* C = B->Canvas();
    DrawCheckPicture(C, CIRect.Left,
                     CIRect.Top + RectHeight(CIRect) / 2 - RectHeight(CheckImageRect) / 2,
                     ACheckState);
    if (FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    SetCharsetOf(C->Font());
    C->Font()->SetColor(!Enabled() ? UnEnabledFontColor : Active ? ActiveFontColor : FontColor);
    C->Brush()->SetStyle(bsClear);
    DrawTextVCenter(C, Caption(), NewTextArea);
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* C = B->Canvas();
    const int H = Height();
    if (HasFocus() || FMouseIn) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect({0, 0, Width(), H});
    }
    C->Font()->Assign(DefaultFont());
    SetCharsetOf(C->Font());
    if (!Enabled())
        C->Font()->SetColor(clBtnShadow);
    C->Brush()->SetStyle(bsClear);
    DrawTextVCenter(C, Caption(), {19, 0, Width(), H});
    DrawBoxAndTick(C, H, FChecked);
}

void TbsSkinCheckRadioBox::PaintFlatTo(TCanvas* C, bool ACheckState) {
    if (FIndex == -1)
        DrawFlatPlain(C, ACheckState);
    else
        DrawFlatSkin(C, ACheckState);
}

void TbsSkinCheckRadioBox::Paint() {
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    if (FFLat) {
        TBitmap B;
        B.SetSize(Width(), Height());
        DrawParentBackground(this, B.Canvas());
        PaintFlatTo(B.Canvas(), FChecked);
        Canvas()->Draw(0, 0, &B);
        return;
    }
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    if (MorphingOn() && FMorphKf > 0 && FMorphKf < 1) {
        TBitmap Normal, Active;
        const bool WasIn = FMouseIn;
        DrawFace(&Normal, false, FChecked);
        DrawFace(&Active, true, FChecked);
        FMouseIn = WasIn;
        DrawMorphedFaces(&Normal, &Active, MorphKind, FMorphKf, Canvas()->Handle());
        return;
    }
    TBitmap B;
    DrawFace(&B, IsActive(), FChecked);
    Canvas()->Draw(0, 0, &B);
}

void TbsSkinCheckRadioBox::PaintSkinTo(TCanvas* C, int X, int Y, bool ACheckState) {
    GetSkinData();
    TBitmap B;
    B.SetSize(Width(), Height());
    if (FFLat) {
        DrawParentBackground(this, B.Canvas());
        PaintFlatTo(B.Canvas(), ACheckState);
    } else if (FIndex != -1) {
        DrawFace(&B, false, ACheckState);
    } else {
        return;
    }
    C->Draw(X, Y, &B);
}
