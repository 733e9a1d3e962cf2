// TbsSkinForm: following a skin change, for the frame and for every skinned
// control on the form.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/model/bsUtils.h"

void TbsSkinForm::BeforeChangeSkin(TbsSkinData* ASkinData) {
    if (!ASkinData || ASkinData != FSD)
        return;
    FStopPainting = true;
    FSkinSupport = false;
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    ClearObjects();
    BeforeChangeControlsSkinData(ASkinData, FForm);
    if (OnBeforeChangeSkinData)
        OnBeforeChangeSkinData(this);
}

void TbsSkinForm::FormChangeSkinData() {
    if (FUseRibbon)
        FSkinnableForm = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    FSkinSupport = SkinReady();
    if (FLayerManager->IsVisible())
        FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible())
        FMenuLayerManager->Hide();
    if (IsLayeredBorderVisible())
        BorderHide();

    if (FSkinSupport && FSkinnableForm) {
        CreateObjects();
        CheckObjects();
    } else {
        ClearObjects();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        SetFormRegion();
    }
    if (FSkinnableForm) {
        if (!FForm->BorderIcons().Empty())
            FForm->SetBorderIcons({});
    } else
        SyncFormBorderIcons();

    FInChangeSkinData = true;
    const int MinW = GetMinWidth(), MinH = GetMinHeight();
    const bool NarrowW = FForm->Width() < MinW, NarrowH = FForm->Height() < MinH;
    if (NarrowW && NarrowH)
        FForm->SetBounds(FForm->Left(), FForm->Top(), MinW, MinH);
    else if (NarrowH)
        FForm->SetHeight(MinH);
    else if (NarrowW)
        FForm->SetWidth(MinW);
    else
        ForceRealign();
    if ((FRollUpState || FWindowState == wsMinimized) && FForm->Height() != GetMinHeight())
        FForm->SetHeight(GetMinHeight());
    if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth())
        FForm->SetWidth(GetMinWidth());
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (FSkinSupport)
        UpdateSkinFrame();
    if (IsMDIForm()) {
        if (FForm->ClientHandle())
            RedrawWindow(FForm->ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
        UpdateMDIChildren();
    } else
        FForm->Repaint();
    SetCaptionActive(!(IsMDIChild() && FWindowState == wsMaximized));
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData)
        OnChangeSkinData(this);
    FInChangeSkinData = false;
    if (!FRollUpState) {
        if (FClientWidth > 0)
            FForm->SetClientWidth(FClientWidth);
        if (FClientHeight > 0)
            FForm->SetClientHeight(FClientHeight);
    }
    BorderInitFrame();
    if (IsLayeredBorderUsed() && FForm->Visible()) {
        BorderShowWithForm();
        FForm->Show();
        BorderSetBoundsWithForm();
    }
}

namespace {

// One row of the class table: the first class a control belongs to decides
// how its skin is reached and re-read.
template <class T> bool TryChange(TControl* Control, TbsSkinData* ASkinData, bool& Found) {
    auto* C = dynamic_cast<T*>(Control);
    if (!C)
        return false;
    Found = true;
    if (!ASkinData || C->SkinData() == ASkinData)
        C->ChangeSkinData();
    return true;
}

void ChangeOne(TControl* Control, TbsSkinData* ASkinData) {
    bool Found = false;
    TryChange<TbsSkinControl>(Control, ASkinData, Found) ||
        TryChange<TbsGraphicSkinControl>(Control, ASkinData, Found) ||
        TryChange<TbsSkinPageControl>(Control, ASkinData, Found) ||
        TryChange<TbsSkinCustomEdit>(Control, ASkinData, Found) ||
        TryChange<TbsSkinStdLabel>(Control, ASkinData, Found) ||
        TryChange<TbsSkinLinkLabel>(Control, ASkinData, Found) ||
        TryChange<TbsSkinTextLabel>(Control, ASkinData, Found) ||
        TryChange<TbsSkinCustomTreeView>(Control, ASkinData, Found) ||
        TryChange<TbsSkinBevel>(Control, ASkinData, Found) ||
        TryChange<TbsSkinCustomListView>(Control, ASkinData, Found) ||
        TryChange<TbsSkinSplitter>(Control, ASkinData, Found);
}

} // namespace

void TbsSkinForm::BeforeChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl) {
    if (auto* C = dynamic_cast<TbsSkinControl*>(AControl);
        C && (!ASkinData || C->SkinData() == ASkinData))
        C->BeforeChangeSkinData();
    auto* W = dynamic_cast<TWinControl*>(AControl);
    if (!W)
        return;
    for (int I = 0; I < W->ControlCount(); ++I) {
        TControl* Child = W->Controls(I);
        if (dynamic_cast<TWinControl*>(Child))
            BeforeChangeControlsSkinData(ASkinData, Child);
        else if (auto* C = dynamic_cast<TbsSkinControl*>(Child);
                 C && (!ASkinData || C->SkinData() == ASkinData))
            C->BeforeChangeSkinData();
    }
}

void TbsSkinForm::ChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl) {
    ChangeOne(AControl, ASkinData);
    auto* W = dynamic_cast<TWinControl*>(AControl);
    if (!W)
        return;
    for (int I = 0; I < W->ControlCount(); ++I) {
        TControl* Child = W->Controls(I);
        if (dynamic_cast<TWinControl*>(Child))
            ChangeControlsSkinData(ASkinData, Child);
        else
            ChangeOne(Child, ASkinData);
    }
}

void TbsSkinForm::SetStatusBarGrip(bool Show) {
    if (FStatusBar && FStatusBar->SizeGrip())
        FStatusBar->SetShowGrip(Show);
}
