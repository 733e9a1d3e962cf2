// The caption objects' base: state from the skin element, mask hit test,
// looks and morphing, glow layer and events; the user-drawn object; the
// animation's frames and timing.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/forms/SkinMorph.h"
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"

#include <algorithm>

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : Parent(AParent), SD(AParent->SkinData()) {
    if (!AData)
        return;
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    if (SD) {
        ActivePicture = SD->ActivePicture(AData->ActivePictureIndex);
        ActiveMaskPicture = SD->ActivePicture(AData->ActiveMaskPictureIndex);
        Picture = SD->FPicture.get();
    }
    if (!ActivePicture)
        ActiveSkinRect = TRect{};
    if (Morphing && IsNullRect(ActiveSkinRect))
        Morphing = false;
    ObjectRect = SkinRect;
}

bool TbsActiveSkinObject::SkinUsable() const {
    return SD && !SD->Empty;
}

bool TbsActiveSkinObject::PointInMask(int X, int Y) {
    if (!SkinUsable() || !ActiveMaskPicture)
        return true;
    if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height())
        return false;
    return (ActiveMaskPicture->Canvas()->Pixels(X, Y) & 0xFFFFFF) == 0;
}

void TbsActiveSkinObject::SetMorphKf(double Value) {
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

bool TbsActiveSkinObject::EnableMorphing() {
    return Morphing && SkinUsable() && SD->EnableSkinEffects();
}

void TbsActiveSkinObject::StartMorphing() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

bool TbsActiveSkinObject::CanMorphing() {
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TbsActiveSkinObject::DoMorphing() {
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->DrawSkinObject(this);
}

bool TbsActiveSkinObject::MorphUnderWay() const {
    return (Active && FMorphKf != 1) || (!Active && FMorphKf != 0);
}

void TbsActiveSkinObject::CopyLook(TCanvas* Cnvs, TBitmap* Pic, const TRect& S) {
    if (!Pic || IsNullRect(S))
        return;
    Cnvs->CopyRect(ObjectRect, Pic->Canvas(), S);
}

void TbsActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* FromPic, const TRect& From,
                                    const TRect& To) {
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W <= 0 || H <= 0 || !FromPic || !ActivePicture)
        return;
    TBitmap A, B;
    A.SetSize(W, H);
    B.SetSize(W, H);
    A.Canvas()->CopyRect(TRect{0, 0, W, H}, FromPic->Canvas(), From);
    B.Canvas()->CopyRect(TRect{0, 0, W, H}, ActivePicture->Canvas(), To);
    auto EA = TbsEffectBmp::CreateFromhWnd(A.Handle());
    auto EB = TbsEffectBmp::CreateFromhWnd(B.Handle());
    MorphByKind(*EA, *EB, FMorphKf, MorphKind);
    EA->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate) {
    if (!SkinUsable())
        return;
    if (Enabled && !Parent->GetFormActive() && !IsNullRect(InActiveSkinRect)) {
        CopyLook(Cnvs, ActivePicture, InActiveSkinRect);
        return;
    }
    TBitmap* NormalPic = SkinRectInAPicture ? ActivePicture : Picture;
    if (EnableMorphing() && MorphUnderWay()) {
        DrawMorph(Cnvs, NormalPic, SkinRect, ActiveSkinRect);
        return;
    }
    if (Active && !IsNullRect(ActiveSkinRect)) {
        CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
        return;
    }
    if (!UpDate && !SkinRectInAPicture)
        return;
    CopyLook(Cnvs, NormalPic, SkinRect);
}

bool TbsActiveSkinObject::GlowAllowed() const {
    return SkinUsable() && GlowLayerPictureIndex != -1 && IsLayeredWindowSupported() &&
           SD->ShowCaptionButtonGlowFrames();
}

TRect TbsActiveSkinObject::ScreenObjectRect() {
    TForm* F = Parent->Form();
    TPoint Origin;
    if (F->FormStyle() == fsMDIChild) {
        const TPoint Client = Parent->FSkinSupport
                                  ? TPoint{-Parent->NewClRect.Left, -Parent->NewClRect.Top}
                                  : TPoint{-3, -Parent->GetDefCaptionHeight() - 3};
        Origin = F->ClientToScreen(Client);
    } else
        Origin = {F->Left(), F->Top()};
    TRect R = ObjectRect;
    OffsetRect(&R, Origin.X, Origin.Y);
    return R;
}

void TbsActiveSkinObject::ShowLayerWith(TbsLayerManager* Manager) {
    if (!GlowAllowed())
        return;
    const TRect R = ScreenObjectRect();
    Manager->Show(R.Left - GlowLayerOffsetX, R.Top - GlowLayerOffsetY, GlowLayerAlphaBlendValue,
                  SD->ActivePicture(GlowLayerMaskPictureIndex),
                  SD->ActivePicture(GlowLayerPictureIndex));
}

void TbsActiveSkinObject::HideLayerWith(TbsLayerManager* Manager) {
    if (GlowAllowed())
        Manager->Hide();
}

void TbsActiveSkinObject::ShowLayer() {
    ShowLayerWith(Parent->FLayerManager);
}

void TbsActiveSkinObject::HideLayer() {
    HideLayerWith(Parent->FLayerManager);
}

void TbsActiveSkinObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (!IsNullRect(ActiveSkinRect))
        StartMorphing();
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TbsActiveSkinObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!IsNullRect(ActiveSkinRect))
        StartMorphing();
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TbsActiveSkinObject::MouseDown(int X, int Y, TMouseButton Button) {
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (FMouseIn)
        Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) {
    Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsUserObject::Draw(TCanvas* Cnvs, bool) {
    Parent->DoPaintEvent(IDName, Cnvs, ObjectRect);
}

// ---------------------------------------------------------------- animation

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    auto* D = dynamic_cast<TbsDataSkinAnimate*>(AData);
    if (!D)
        return;
    TimerInterval = std::max(25, D->TimerInterval);
    CountFrames = D->CountFrames;
    Cycle = D->Cycle;
    ButtonStyle = D->ButtonStyle;
    Command = D->Command;
    DownSkinRect = D->DownSkinRect;
    RestoreRect = D->RestoreRect;
    RestoreActiveRect = D->RestoreActiveRect;
    RestoreInActiveRect = D->RestoreInActiveRect;
    RestoreDownRect = D->RestoreDownRect;
    RestoreHint = D->RestoreHint;
    FTempHint = D->Hint;
}

void TbsSkinAnimateObject::ChangeFrame() {
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    if (Increment) {
        SetFrame(FFrame + 1);
        if (!Cycle && FFrame == CountFrames)
            Active = false;
    } else {
        SetFrame(FFrame - 1);
        if (FFrame == 1)
            Active = false;
    }
    FInc = 25;
}

void TbsSkinAnimateObject::SetFrame(int Value) {
    if (Increment)
        FFrame = Value > CountFrames ? 1 : Value;
    else
        FFrame = Value < 1 ? CountFrames : Value;
    Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::Start() {
    FInc = 25;
    FFrame = 1;
    Active = true;
    if (!Parent->AnimateTimer->Enabled())
        Parent->AnimateTimer->SetEnabled(true);
}

void TbsSkinAnimateObject::Stop() {
    SetFrame(1);
    Active = false;
    FInc = 25;
}
