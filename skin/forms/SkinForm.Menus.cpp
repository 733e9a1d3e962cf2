// The form's skinned menus, menu bar, object hints and tray icon. None of
// those objects exists yet: every query answers "none", every action does
// nothing, and the settings that have a place here are stored.
#include "skin/forms/SkinForm.h"

bool TbsSkinForm::SkinMenuVisible() {
    return false;
}

void TbsSkinForm::HideSkinMenu() {}

int TbsSkinForm::SkinMenuPopupCount() {
    return 0;
}

void TbsSkinForm::SkinMenuPopupKeyDown(TMessage&) {}

void TbsSkinForm::PopupSkinMenu(TMenu*, TPoint) {}

void TbsSkinForm::PopupSkinMenu1(TMenu*, TRect, bool) {}

void TbsSkinForm::PopupObjectMenu(TbsActiveSkinObject*, TMenuItem*, const TRect&, bool) {}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
    return nullptr;
}

void TbsSkinForm::PopupSystemMenuAt(int, int) {}

void TbsSkinForm::PopupSystemMenuUnder(TRect) {}

void TbsSkinForm::PopupSystemMenuFromKeyboard() {}

TMenu* TbsSkinForm::MainMenuBarMenu() {
    return nullptr;
}

TMenu* TbsSkinForm::GetChildMainMenu() {
    return nullptr;
}

bool TbsSkinForm::MainMenuBarKey(WORD) {
    return false;
}

bool TbsSkinForm::CanSelectNextMainMenuItem() {
    return false;
}

bool TbsSkinForm::CanSelectPrevMainMenuItem() {
    return false;
}

bool TbsSkinForm::OpenMainMenuBarItem() {
    return false;
}

void TbsSkinForm::SelectNextMainMenuItem() {}

void TbsSkinForm::SelectPrevMainMenuItem() {}

void TbsSkinForm::MainMenuBarKeyboardMode() {}

void TbsSkinForm::MainMenuBarLeave() {}

void TbsSkinForm::MainMenuBarPressedToHot() {}

void TbsSkinForm::UpdateMainFormMenuBar() {}

void TbsSkinForm::ShowMDIChildButtonsInMenuBar() {}

void TbsSkinForm::UpdateMDIChildButtonsInMenuBar() {}

void TbsSkinForm::MinimizeToTray() {}

void TbsSkinForm::RestoreFromTray() {}

void TbsSkinForm::ShowObjectHintText(const std::string&) {}

void TbsSkinForm::HideObjectHint() {}

void TbsSkinForm::CreateMenuObjects() {}

void TbsSkinForm::FreeMenuObjects() {}

void TbsSkinForm::MenusSkinDataChanged() {}

bool TbsSkinForm::UseSkinFontInMenu() {
    return false;
}

void TbsSkinForm::SetUseSkinFontInMenu(bool) {}

int TbsSkinForm::DefMenuItemHeight() {
    return 0;
}

void TbsSkinForm::SetDefMenuItemHeight(int) {}

TFont* TbsSkinForm::DefMenuItemFont() {
    return nullptr;
}

void TbsSkinForm::SetDefMenuItemFont(TFont*) {}

void TbsSkinForm::SetMaxMenuItemsInWindow(int Value) {
    if (Value >= 0)
        FMaxMenuItemsInWindow = Value;
}

void TbsSkinForm::SetTrayIcon(TbsTrayIcon* Value) {
    FTrayIcon = Value;
}
