// MDI bookkeeping of the main form: children, their menu entries and tabs.
// Only the work area and the maximized child are answered so far.
#include "skin/forms/SkinForm.h"

void TbsSkinForm::UpdateMDIChildren() {}

void TbsSkinForm::ArrangeMinimizedChildren() {}

TRect TbsSkinForm::GetMDIWorkArea() {
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    return Main ? Main->ClientRect() : TRect{};
}

TCustomForm* TbsSkinForm::FindMaximizedChild() {
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main)
        return nullptr;
    for (int I = 0; I < Main->MDIChildCount(); ++I) {
        TbsSkinForm* C = FindSkinFormComponent(Main->MDIChildren(I));
        if (C && C->WindowState() == wsMaximized)
            return Main->MDIChildren(I);
    }
    return nullptr;
}

void TbsSkinForm::AddChildToMenu() {}

void TbsSkinForm::AddChildToBar() {}

void TbsSkinForm::DeleteChildFromMenu() {}

void TbsSkinForm::DeleteChildFromBar() {}

void TbsSkinForm::UpDateChildCaptionInMenu() {}

void TbsSkinForm::RefreshMDIBarTab() {}

void TbsSkinForm::UpDateChildActiveInMenu() {}

void TbsSkinForm::UpdateMainFormMDITabs() {}
