// The form's translucency and the layered border around it.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/forms/SkinForm.LayerBorder.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.Platform.h"

namespace {

bool StateEmpty(const TComponent* C) {
    return !C->ComponentState().Contains(csLoading) && !C->ComponentState().Contains(csReading) &&
           !C->ComponentState().Contains(csDesigning) &&
           !C->ComponentState().Contains(csDestroying);
}

} // namespace

void TbsSkinForm::SetAlphaBlend(bool Value) {
    if (Value == FAlphaBlend)
        return;
    FAlphaBlend = Value;
    if (!StateEmpty(this) || !IsLayeredWindowSupported() || !FForm->HandleAllocated())
        return;
    const HWND H = FForm->Handle();
    const LONG Ex = GetWindowLong(H, GWL_EXSTYLE);
    if (Value) {
        if (!(Ex & WS_EX_LAYERED))
            SetWindowLong(H, GWL_EXSTYLE, Ex | WS_EX_LAYERED);
        SetLayeredAlpha(H, FAlphaBlendValue);
    } else if (Ex & WS_EX_LAYERED)
        SetWindowLong(H, GWL_EXSTYLE, Ex & ~WS_EX_LAYERED);
}

void TbsSkinForm::SetAlphaBlendValue(BYTE Value) {
    if (Value == FAlphaBlendValue)
        return;
    FAlphaBlendValue = Value;
    if (FAlphaBlend && StateEmpty(this) && IsLayeredWindowSupported() && FForm->HandleAllocated())
        SetLayeredAlpha(FForm->Handle(), Value);
}

void TbsSkinForm::SetMenusAlphaBlend(bool Value) {
    FMenusAlphaBlend = Value;
    if (SkinMenu)
        SkinMenu->AlphaBlend = Value;
}

void TbsSkinForm::SetMenusAlphaBlendAnimation(bool Value) {
    FMenusAlphaBlendAnimation = Value;
    if (SkinMenu)
        SkinMenu->AlphaBlendAnimation = Value;
}

void TbsSkinForm::SetMenusAlphaBlendValue(BYTE Value) {
    FMenusAlphaBlendValue = Value;
    if (SkinMenu)
        SkinMenu->AlphaBlendValue = Value;
}

TbsFormLayerBorder* TbsSkinForm::LayerBorder() {
    if (!FBorderLayer)
        FBorderLayer = new TbsFormLayerBorder(this);
    return FBorderLayer;
}

bool TbsSkinForm::IsLayeredBorderUsed() {
    return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame &&
           FSD->LayerFrame->PictureIndex != -1 && FIsLayerEnabled && FSkinnableForm &&
           !AlwaysDisableLayeredFrames && !PreviewMode && FForm->BorderStyle() != bsNone &&
           !IsMDIChild() && !FSmartEffectsShow;
}

bool TbsSkinForm::IsLayeredBorderVisible() {
    return FBorderLayer && FBorderLayer->Visible();
}

bool TbsSkinForm::UseVistaBorderFade() {
    return FIsVistaOs && IsLayeredBorderUsed() && !FAlphaBlend && !FAlphaBlendAnimation &&
           !(FSD && FSD->AnimationForAllWindows());
}

HWND TbsSkinForm::FindStayOnTopFormHandle() {
    if (!Screen)
        return nullptr;
    for (int I = 0; I < Screen->FormCount(); ++I) {
        TCustomForm* F = Screen->Forms(I);
        if (F->Visible() && F->FormStyle() == fsStayOnTop && F->HandleAllocated())
            return F->Handle();
    }
    return nullptr;
}

void TbsSkinForm::BorderShowWithForm() {
    LayerBorder()->ShowWithForm();
}

void TbsSkinForm::BorderHide() {
    if (FBorderLayer)
        FBorderLayer->Hide();
}

void TbsSkinForm::BorderSetBoundsWithForm() {
    if (FBorderLayer)
        FBorderLayer->SetBoundsWithForm();
}

void TbsSkinForm::BorderSetBoundsWithForm3(int L, int T, int W, int H) {
    if (FBorderLayer)
        FBorderLayer->SetBoundsWithForm3(L, T, W, H);
}

void TbsSkinForm::BorderMoveWithForm2(int L, int T) {
    if (FBorderLayer)
        FBorderLayer->MoveWithForm2(L, T);
}

void TbsSkinForm::BorderSetActive(bool AActive, bool AUpdate) {
    LayerBorder()->SetActive(AActive, AUpdate);
}

void TbsSkinForm::BorderInitFrame() {
    LayerBorder()->InitFrame(FSD, FForm);
}

void TbsSkinForm::BorderShowWithFormAnimation() {
    LayerBorder()->ShowWithFormAnimation();
}

void TbsSkinForm::BorderSetActiveFlag(bool AActive) {
    LayerBorder()->FActive = AActive;
}

void TbsSkinForm::BorderCheckFormAlpha(int AFormAlpha, bool AUpdate) {
    LayerBorder()->CheckFormAlpha(AFormAlpha, AUpdate);
}
