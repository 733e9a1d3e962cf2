// Caption buttons (menu buttons and the standard commands) and the caption
// text object.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/forms/SkinCaptionButton.h"
#include "skin/forms/SkinMorph.h"
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"

#include <algorithm>

// ---------------------------------------------------------------- buttons

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    if (auto* D = dynamic_cast<TbsDataSkinButton*>(AData)) {
        DownRect = D->DownRect;
        DisableSkinRect = D->DisableSkinRect;
    }
}

void TbsSkinButtonObject::DrawButton(TCanvas* Cnvs, bool UpDate) {
    if (!SkinUsable())
        return;
    if (!Enabled && !IsNullRect(DisableSkinRect)) {
        CopyLook(Cnvs, ActivePicture, DisableSkinRect);
        return;
    }
    if (FDown && FMouseIn && !IsNullRect(DownRect)) {
        CopyLook(Cnvs, ActivePicture, DownRect);
        return;
    }
    TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
    DrawButton(Cnvs, UpDate);
}

void TbsSkinButtonObject::SetDown(bool Value) {
    FDown = Value;
    if (EnableMorphing() && Active)
        SetMorphKf(1);
    Parent->DrawSkinObject(this);
    if (EnableMorphing() && !FDown)
        StartMorphing();
}

bool TbsSkinButtonObject::CanMorphing() {
    return TbsActiveSkinObject::CanMorphing() && !(MenuItem && FDown);
}

void TbsSkinButtonObject::ShowLayer() {
    ShowLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TbsSkinButtonObject::HideLayer() {
    HideLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TbsSkinButtonObject::MouseDown(int X, int Y, TMouseButton Button) {
    if (!Enabled)
        return;
    if (Button == mbLeft && !FDown) {
        SetDown(true);
        TrackMenu();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (!Enabled)
        return;
    if (Button == mbLeft && !MenuItem && FDown)
        SetDown(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (IsNullRect(DownRect) || !FDown) {
        if (!IsNullRect(ActiveSkinRect))
            StartMorphing();
        if (MenuItem)
            ShowLayer();
    } else {
        if (EnableMorphing())
            SetMorphKf(1);
        Parent->DrawSkinObject(this);
    }
    Parent->DoMouseEnterEvent(IDName);
    if (!MenuItem)
        ShowLayer();
}

void TbsSkinButtonObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!(MenuItem && FDown)) {
        if (MenuItem)
            HideLayer();
        Parent->DrawSkinObject(this);
        StartMorphing();
    }
    Parent->DoMouseLeaveEvent(IDName);
    if (!MenuItem)
        HideLayer();
}

void TbsSkinButtonObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0)
        return;
    if (Parent->FLayerManager->IsVisible())
        Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible())
        Parent->FMenuLayerManager->Hide();
    if (FMouseIn)
        ShowLayer();
    Parent->PopupObjectMenu(this, MenuItem, ScreenObjectRect(), FPopupUp);
}

// ---------------------------------------------------------------- standard buttons

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AParent, AData) {
    auto* D = dynamic_cast<TbsDataSkinStdButton*>(AData);
    if (!D)
        return;
    Command = D->Command;
    RestoreRect = D->RestoreRect;
    RestoreActiveRect = D->RestoreActiveRect;
    RestoreInActiveRect = D->RestoreInActiveRect;
    RestoreDownRect = D->RestoreDownRect;
    RestoreHint = D->RestoreHint;
    FTempHint = D->Hint;
    FSkinSupport = true;
}

bool TbsSkinStdButtonObject::InRestoreState() const {
    switch (Command) {
    case cmMaximize:
        return Parent->WindowState() == wsMaximized;
    case cmMinimize:
        return Parent->WindowState() == wsMinimized;
    case cmRollUp:
        return Parent->RollUpState();
    default:
        return false;
    }
}

bool TbsSkinStdButtonObject::IconLook() const {
    return FSkinSupport && Command == cmSysMenu && SkinRectInAPicture && Parent->ShowIcon();
}

bool TbsSkinStdButtonObject::PointInMask(int X, int Y) {
    return IconLook() || TbsSkinButtonObject::PointInMask(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer() {
    if (!IconLook())
        TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer() {
    if (!IconLook())
        TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() {
    return !IconLook() && TbsSkinButtonObject::CanMorphing();
}

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (!SkinUsable())
        return;
    if (IconLook()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        SetMorphKf(0);
        return;
    }
    const bool Restore = InRestoreState();
    if (!Enabled || (!Parent->GetFormActive() && !IsNullRect(InActiveSkinRect) && !Restore) ||
        IsNullRect(RestoreRect) || !Restore) {
        DrawButton(Cnvs, UpDate);
        return;
    }
    if (!Parent->FFormActive && !IsNullRect(RestoreInActiveRect))
        CopyLook(Cnvs, ActivePicture, RestoreInActiveRect);
    else if (FDown && FMouseIn && !IsNullRect(RestoreDownRect))
        CopyLook(Cnvs, ActivePicture, RestoreDownRect);
    else if (EnableMorphing() && MorphUnderWay())
        DrawMorph(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
    else if (Active && !IsNullRect(RestoreActiveRect))
        CopyLook(Cnvs, ActivePicture, RestoreActiveRect);
    else
        CopyLook(Cnvs, ActivePicture, RestoreRect);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    TbsCaptionGlyph Glyph = cgNone;
    switch (Command) {
    case cmClose:
        Glyph = cgClose;
        break;
    case cmMaximize:
        Glyph = Parent->WindowState() == wsMaximized ? cgRestore : cgMaximize;
        break;
    case cmMinimize:
        Glyph = Parent->WindowState() == wsMinimized ? cgRestore : cgMinimize;
        break;
    case cmSysMenu:
        Glyph = cgSysMenu;
        break;
    case cmRollUp:
        Glyph = Parent->RollUpState() ? cgRollDown : cgRollUp;
        break;
    case cmMinimizeToTray:
        Glyph = cgTray;
        break;
    case cmDefault:
        break;
    }
    DrawDefaultCaptionButton(Cnvs, ObjectRect, Glyph, FDown, FMouseIn, Enabled);
}

void TbsSkinStdButtonObject::MouseEnter() {
    if (Command != cmDefault)
        Hint = (!RestoreHint.empty() && InRestoreState()) ? RestoreHint : FTempHint;
    TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || FDown)
        return;
    SetDown(true);
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSystemMenuItems();
        TrackMenu();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, TMouseButton Button) {
    const bool Run = Button == mbLeft && Active;
    if (Command == cmClose) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (Run)
            DoCommand();
        return;
    }
    if (Run)
        DoCommand();
    TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick() {
    if (Command == cmSysMenu)
        Parent->Form()->Close();
}

void TbsSkinStdButtonObject::DoCommand() {
    TbsSkinForm* F = Parent;
    switch (Command) {
    case cmClose:
        F->TestActive(-1, -1, false);
        F->Form()->Close();
        break;
    case cmMaximize:
        F->TestActive(-1, -1, false);
        F->SetWindowState(F->WindowState() == wsMaximized ? wsNormal : wsMaximized);
        break;
    case cmMinimize:
        F->TestActive(-1, -1, false);
        if (F->AlwaysMinimizeToTray())
            F->MinimizeToTray();
        else
            F->SetWindowState(F->WindowState() == wsMinimized ? wsNormal : wsMinimized);
        break;
    case cmRollUp:
        F->SetRollUpState(!F->RollUpState());
        break;
    case cmMinimizeToTray:
        F->TestActive(-1, -1, false);
        F->MinimizeToTray();
        break;
    case cmSysMenu:
    case cmDefault:
        break;
    }
}

// ---------------------------------------------------------------- caption

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    auto* D = dynamic_cast<TbsDataSkinCaption*>(AData);
    if (!D)
        return;
    FontName = D->FontName;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    ShadowColor = D->ShadowColor;
    ActiveShadowColor = D->ActiveShadowColor;
    Shadow = D->Shadow;
    LightColor = D->LightColor;
    ActiveLightColor = D->ActiveLightColor;
    Light = D->Light;
    Alignment = D->Alignment;
    TextRct = D->TextRct;
    FrameRect = D->FrameRect;
    ActiveFrameRect = D->ActiveFrameRect;
    FrameLeftOffset = D->FrameLeftOffset;
    FrameRightOffset = D->FrameRightOffset;
    FrameTextRect = D->FrameTextRect;
    StretchEffect = D->StretchEffect;
    FullFrame = D->FullFrame;
    AnimateSkinRect = D->AnimateSkinRect;
    FrameCount = D->FrameCount;
    AnimateInterval = D->AnimateInterval;
    InActiveAnimation = D->InActiveAnimation;
    VistaGlowEffect = D->VistaGlowEffect;
    VistaGlowInActiveEffect = D->VistaGlowInActiveEffect;
    GlowEffect = D->GlowEffect;
    GlowInActiveEffect = D->GlowInActiveEffect;
    GlowSize = D->GlowSize;
    GlowColor = D->GlowColor;
    GlowActiveColor = D->GlowActiveColor;
    GlowOffset = D->GlowOffset;
    ReflectionEffect = D->ReflectionEffect;
    ReflectionColor = D->ReflectionColor;
    ReflectionActiveColor = D->ReflectionActiveColor;
    ReflectionOffset = D->ReflectionOffset;
}

bool TbsSkinCaptionObject::EnableAnimation() {
    return SkinUsable() && SD->EnableSkinEffects() && !IsNullRect(AnimateSkinRect);
}

bool TbsSkinCaptionObject::HasQuickButtons() {
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList();
}

TRect TbsSkinCaptionObject::TextArea() {
    TRect TR = TextRct;
    if (!IsNullRect(TextRct)) {
        TR.Right = ObjectRect.Width() - (SkinRect.Width() - TextRct.Right);
        if (HasQuickButtons())
            TR.Left += Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8);
    }
    if (!IsNullRect(FrameRect)) {
        TR.Top += FrameTextRect.Top;
        TR.Left += FrameTextRect.Left;
        TR.Right -= FrameRect.Width() - FrameTextRect.Right;
    }
    return TR;
}

void TbsSkinCaptionObject::SetCaptionFont(TCanvas* Cnvs, TColor Color) {
    TFont* F = Cnvs->Font();
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
    F->SetColor(Color);
    if (SD && SD->ResourceStrData())
        F->SetCharset(SD->ResourceStrData()->CharSet());
    else
        F->SetCharset(Parent->DefCaptionFont()->Charset());
}

std::string TbsSkinCaptionObject::CaptionText(TCanvas* Cnvs) {
    std::string Text = Parent->Form()->Caption();
    if (Parent->Form()->FormStyle() == fsMDIForm && Parent->FMDIChildMaximized)
        if (TCustomForm* Child = Parent->FindMaximizedChild())
            Text += " - [" + Child->Caption() + "]";
    if (!Text.empty())
        CorrectWideTextByWidth(Cnvs, Text, TextArea().Width());
    return Text;
}

void TbsSkinCaptionObject::PaintText(TCanvas* Cnvs, int DX, int DY, bool AActive) {
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Cnvs, ObjectRect, AActive);
        return;
    }
    if (IsNullRect(TextRct) || Parent->Form()->Caption().empty())
        return;
    const TRect TR = TextArea();
    const std::string Text = CaptionText(Cnvs);
    if (Text.empty())
        return;
    const int TW = GetWideTextWidth(Cnvs, Text), TH = GetWideTextHeight(Cnvs, Text);
    int TY = TR.Top + TR.Height() / 2 - TH / 2;
    int TX;
    if (HasQuickButtons() || Alignment == taCenter)
        TX = TR.Left + TR.Width() / 2 - TW / 2;
    else if (Alignment == taRightJustify)
        TX = TR.Right - TW;
    else
        TX = TR.Left;
    TX += DX;
    TY += DY;
    Cnvs->Brush()->SetStyle(bsClear);

    if (!IsNullRect(FrameRect) && ActivePicture) {
        const TRect F = (AActive && !IsNullRect(ActiveFrameRect)) ? ActiveFrameRect : FrameRect;
        const int WF = FullFrame ? ObjectRect.Width() - 2 * (SD ? SD->ButtonsOffset : 0)
                                 : FrameRect.Width() + TW - FrameTextRect.Width();
        if (WF > 0) {
            TBitmap B;
            MakeHorzThreePartBitmap(FrameLeftOffset, FrameRightOffset, &B, ActivePicture, F, WF,
                                    F.Height(), false);
            if (FullFrame)
                Cnvs->Draw(DX + (SD ? SD->ButtonsOffset : 0), TY - FrameTextRect.Top, &B);
            else
                Cnvs->Draw(TX - FrameTextRect.Left, TY - FrameTextRect.Top, &B);
        }
    }
    auto Out = [&](int X, int Y) {
        TRect R{X, Y, X, Y};
        DrawWideText(Cnvs, Text, R, DT_CALCRECT);
        DrawWideText(Cnvs, Text, R, DT_VCENTER);
    };
    const TColor Own = Cnvs->Font()->Color();
    if (Light) {
        Cnvs->Font()->SetColor(AActive ? ActiveLightColor : LightColor);
        Out(TX - 1, TY - 1);
        Cnvs->Font()->SetColor(Own);
    }
    if (Shadow) {
        Cnvs->Font()->SetColor(AActive ? ActiveShadowColor : ShadowColor);
        Out(TX + 1, TY + 1);
        Cnvs->Font()->SetColor(Own);
    }
    TRect R{TX, TY, TX, TY};
    DrawWideText(Cnvs, Text, R, DT_CALCRECT);
    if (ReflectionEffect)
        DrawReflectionText(Cnvs, R, Text, DT_VCENTER,
                           AActive ? ReflectionActiveColor : ReflectionColor, ReflectionOffset);
    else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect))
        DrawVistaGlowText(Cnvs, R, Text, DT_VCENTER, AActive ? GlowActiveColor : GlowColor);
    else if (GlowEffect && (AActive || GlowInActiveEffect))
        DrawGlowText(Cnvs, R, Text, DT_VCENTER, GlowSize, AActive ? GlowActiveColor : GlowColor,
                     GlowOffset);
    else
        DrawWideText(Cnvs, Text, R, DT_VCENTER);
}

std::unique_ptr<TBitmap> TbsSkinCaptionObject::MakeStrip(TBitmap* Pic, const TRect& S) {
    auto B = std::make_unique<TBitmap>();
    const int W = ObjectRect.Width();
    if (!Pic || W <= 0 || IsNullRect(S))
        return B;
    const int LO = std::max(0, SD->LTPoint.X - SkinRect.Left);
    const int RO = std::max(0, SkinRect.Right - SD->RTPoint.X);
    if (LO == 0 && RO == 0) {
        B->SetSize(W, ObjectRect.Height());
        B->Canvas()->CopyRect(TRect{0, 0, W, ObjectRect.Height()}, Pic->Canvas(), S);
    } else
        MakeHorzThreePartBitmap(LO, RO, B.get(), Pic, S, W, S.Height(), StretchEffect);
    return B;
}
