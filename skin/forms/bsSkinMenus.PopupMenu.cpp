// The popup menu component: placed like an ordinary popup menu, it shows its
// items through the chain of its form's skinned form component.
#include "skin/forms/bsSkinMenus.h"

#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinImagesMenu.h"

void LinkMenuButtonsToMenus() {
    TbsMenuButtonMenus& Menus = MenuButtonMenus();
    if (Menus.PopupSkinMenu)
        return;
    // The popup menu opens below the button; its chain performs
    // WM_CLOSESKINMENU on the button when it closes.
    Menus.PopupSkinMenu = [](TbsSkinMenuSpeedButton* Button, TComponent* Menu, const TRect& R) {
        if (auto* Popup = dynamic_cast<TbsSkinPopupMenu*>(Menu))
            Popup->PopupFromRect2(Button, R, false);
    };
    Menus.PopupImagesMenu = [](TbsSkinMenuSpeedButton* Button, TComponent* Menu, const TRect& R) {
        auto* Grid = dynamic_cast<TbsSkinImagesMenu*>(Menu);
        if (!Grid)
            return false;
        Grid->OnInternalMenuClose = [Button](TObject*) { Button->ImagesMenuClose(); };
        // A new choice changes the picture of a button that shows it.
        Grid->OnInternalChange = [Button](TObject*) { Button->Invalidate(); };
        Grid->SetInternalEventsTarget(Button);
        Grid->PopupFromRect(R);
        return Grid->PopupWindow() != nullptr;
    };
    Menus.ImagesMenuChoice = [](TComponent* Menu, TCustomImageList*& Images, int& ImageIndex,
                                std::string& Caption) {
        auto* Grid = dynamic_cast<TbsSkinImagesMenu*>(Menu);
        TbsImagesMenuItem* Item = Grid ? Grid->SelectedItem() : nullptr;
        if (!Item)
            return false;
        Images = Grid->Images();
        ImageIndex = Item->ImageIndex();
        Caption = Item->Caption();
        return true;
    };
}

void LinkEditsToMenus() {
    TbsEditMenus& Menus = EditMenus();
    if (Menus.CreatePopupMenu)
        return;
    Menus.CreatePopupMenu = [](TComponent* Owner, TCustomForm* Form) -> TPopupMenu* {
        auto* Menu = new TbsSkinPopupMenu(Owner);
        Menu->SetComponentForm(Form);
        return Menu;
    };
    Menus.Popup = [](TPopupMenu* Menu, TControl* Control, int X, int Y) {
        if (auto* Popup = dynamic_cast<TbsSkinPopupMenu*>(Menu))
            Popup->Popup2(Control, X, Y);
    };
    Menus.FormSkinData = [](TCustomForm* Form) -> TbsSkinData* {
        TbsSkinForm* SkinForm = Form ? FindSkinFormComponent(Form) : nullptr;
        return SkinForm ? SkinForm->SkinData() : nullptr;
    };
}

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {
    LinkMenuButtonsToMenus();
}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value) {
    FSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD)
        FSD = nullptr;
}

void TbsSkinPopupMenu::DoSkinPopup(const TRect& R, TControl* Ctrl, bool PopupUp, bool NeedSkin) {
    if (OnPopup)
        OnPopup(this);
    // Menu mode with nothing on screen would swallow every key until a click.
    if (Items()->Count() == 0)
        return;
    TComponent* Found = nullptr;
    if (FSkinComponent)
        Found = FSkinComponent;
    else if (FComponentForm)
        Found = FindSkinForm(FComponentForm);
    else if (dynamic_cast<TCustomForm*>(Owner()))
        Found = FindSkinForm(Owner());
    else if (Owner() && dynamic_cast<TCustomForm*>(Owner()->Owner()))
        Found = FindSkinForm(Owner()->Owner());
    auto* SF = dynamic_cast<TbsSkinForm*>(Found);
    if (SF) {
        auto* F = dynamic_cast<TForm*>(SF->Owner());
        if (F && F->FormStyle() == fsMDIChild && Application && Application->MainForm())
            SF = dynamic_cast<TbsSkinForm*>(FindSkinForm(Application->MainForm()));
    }
    if (SF && !FSD)
        SetSkinData(SF->MenusSkinData() ? SF->MenusSkinData() : SF->SkinData());
    if (!SF || !SF->SkinMenu || (NeedSkin && !FSD))
        return;
    if (SF->SkinMenu->Visible())
        SF->SkinMenuClose();
    FPopupPoint = {R.Left, R.Top};
    SF->SkinMenuOpen();
    SF->SkinMenu->Popup(Ctrl, FSD, 0, R, Items(), PopupUp);
    if (OnMenuClose)
        SF->SkinMenu->OnMenuClose = OnMenuClose;
}

void TbsSkinPopupMenu::Popup(int X, int Y) {
    DoSkinPopup({X, Y, X, Y}, nullptr, false, false);
}

void TbsSkinPopupMenu::PopupFromRect(TRect R, bool APopupUp) {
    DoSkinPopup(R, nullptr, APopupUp, false);
}

void TbsSkinPopupMenu::PopupFromRect2(TControl* ACtrl, TRect R, bool APopupUp) {
    DoSkinPopup(R, ACtrl, APopupUp, false);
}

void TbsSkinPopupMenu::Popup2(TControl* ACtrl, int X, int Y) {
    DoSkinPopup({X, Y, X, Y}, ACtrl, false, true);
}
