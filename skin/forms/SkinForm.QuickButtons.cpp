// The form's quick buttons and the finders of a form's component.
#include "skin/forms/SkinForm.h"

#include "platform/win/Windows.h"

TbsQuickButtonItem::TbsQuickButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TbsQuickButtonItem::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TbsQuickButtonItem*>(Source)) {
        FImageIndex = Other->FImageIndex;
        FHint = Other->FHint;
        FEnabled = Other->FEnabled;
        FVisible = Other->FVisible;
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsQuickButtonItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool Value) {
    FVisible = Value;
    Changed(false);
}

TbsQuickButtonItems::TbsQuickButtonItems(TbsSkinForm* AOwner)
    : TCollection(TCollection::ItemClass<TbsQuickButtonItem>(), AOwner), BSF(AOwner) {}

TbsQuickButtonItem* TbsQuickButtonItems::Items(int Index) const {
    return static_cast<TbsQuickButtonItem*>(TCollection::Items(Index));
}

TbsQuickButtonItem* TbsQuickButtonItems::Add() {
    return static_cast<TbsQuickButtonItem*>(TCollection::Add());
}

TbsQuickButtonItem* TbsQuickButtonItems::Insert(int Index) {
    return static_cast<TbsQuickButtonItem*>(TCollection::Insert(Index));
}

void TbsQuickButtonItems::Update(TCollectionItem*) {
    if (!BSF || BSF->ComponentState().Contains(csDesigning) ||
        BSF->ComponentState().Contains(csLoading))
        return;
    if (BSF->Form() && BSF->Form()->HandleAllocated())
        SendMessage(BSF->Form()->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetQuickButtons(TbsQuickButtonItems* Value) {
    FQuickButtons->Assign(Value);
}

TbsSkinForm* FindSkinFormComponent(TCustomForm* AForm) {
    if (!AForm)
        return nullptr;
    for (int I = 0; I < AForm->ComponentCount(); ++I)
        if (auto* C = dynamic_cast<TbsSkinForm*>(AForm->Components(I)))
            return C;
    return nullptr;
}

TbsSkinForm* FindMaximizedChildSkinForm() {
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main)
        return nullptr;
    for (int I = 0; I < Main->MDIChildCount(); ++I) {
        TbsSkinForm* C = FindSkinFormComponent(Main->MDIChildren(I));
        if (C && C->WindowState() == wsMaximized)
            return C;
    }
    return nullptr;
}

TbsSkinForm* FindActiveChildSkinForm() {
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main || !Main->ActiveMDIChild())
        return nullptr;
    return FindSkinFormComponent(Main->ActiveMDIChild());
}
