// The form's skinned menus: the chain every skinned popup menu of the form
// goes through, the system menu, the tray menu, the main menu bar's
// operations that the form's menu mode calls and the object hints. Without a
// bar or a hint component those answer "none" and do nothing.
#include "skin/forms/SkinForm.h"

#include "skin/forms/bsSkinHint.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/forms/bsTrayIcon.h"

namespace {

struct TSysItem {
    const char* Name;
    const char* Key;
    const char* Text;
};

constexpr TSysItem cMinItem{"BSF_MINITEM", "MI_MINCAPTION", "Mi&nimize"};
constexpr TSysItem cMaxItem{"BSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize"};
constexpr TSysItem cRestoreItem{"BSF_RESTORE", "MI_RESTORECAPTION", "&Restore"};
constexpr TSysItem cRollUpItem{"BSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp"};
constexpr TSysItem cTrayItem{"BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray"};
constexpr TSysItem cCloseItem{"BSF_CLOSE", "MI_CLOSECAPTION", "&Close"};

bool IsSystemItemName(const std::string& N) {
    for (const TSysItem* I :
         {&cMinItem, &cMaxItem, &cRestoreItem, &cRollUpItem, &cTrayItem, &cCloseItem})
        if (N == I->Name)
            return true;
    return false;
}

} // namespace

bool TbsSkinForm::SkinMenuVisible() {
    return SkinMenu && SkinMenu->Visible();
}

void TbsSkinForm::HideSkinMenu() {
    if (SkinMenu)
        SkinMenu->Hide();
}

int TbsSkinForm::SkinMenuPopupCount() {
    return SkinMenu ? SkinMenu->PopupCount() : 0;
}

void TbsSkinForm::SkinMenuPopupKeyDown(TMessage& Message) {
    if (SkinMenu && SkinMenu->PopupCount() > 0)
        SkinMenu->PopupWindow(SkinMenu->PopupCount() - 1)->PopupKeyDown(WORD(Message.WParam));
}

void TbsSkinForm::PopupSkinMenu(TMenu* Menu, TPoint P) {
    if (!Menu || !SkinMenu)
        return;
    SkinMenuOpen();
    SkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, {P.X, P.Y, P.X, P.Y}, Menu->Items(), false);
}

void TbsSkinForm::PopupSkinMenu1(TMenu* Menu, TRect R, bool PopupUp) {
    if (!Menu || !SkinMenu)
        return;
    SkinMenuOpen();
    SkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, Menu->Items(), PopupUp);
}

void TbsSkinForm::DoPopupMenu(TPopupMenu* Menu, int X, int Y) {
    if (!Menu || !SkinMenu)
        return;
    if (Menu->OnPopup)
        Menu->OnPopup(this);
    // Menu mode with nothing on screen would swallow every key until a click.
    if (Menu->Items()->Count() == 0)
        return;
    if (SkinMenuVisible())
        SkinMenuClose();
    SkinMenuOpen();
    SkinMenu->Popup(nullptr, FSD, 0, {X, Y, X, Y}, Menu->Items(), false);
}

void TbsSkinForm::PopupObjectMenu(TbsActiveSkinObject*, TMenuItem* AMenuItem, const TRect& R,
                                  bool PopupUp) {
    if (!AMenuItem)
        return;
    // The system menu of an MDI child opens in the main form's chain.
    TbsSkinForm* Owner = this;
    if (IsMDIChild() && AMenuItem == GetSystemMenuItems()) {
        Owner = Application ? FindSkinFormComponent(Application->MainForm()) : nullptr;
        if (!Owner)
            return;
    }
    if (!Owner->SkinMenu)
        return;
    SkinMenuOpen();
    Owner->SkinMenu->Popup(nullptr, Owner->FMSD ? Owner->FMSD : Owner->FSD, 0, R, AMenuItem,
                           PopupUp);
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
    // Rebuilding frees the items an open system menu may still show.
    if (SkinMenuVisible())
        SkinMenu->Hide();
    TbsResourceStrData* Words = FSD ? FSD->ResourceStrData() : nullptr;
    const bool Child = IsMDIChild();
    const auto Make = [&](const TSysItem& S) {
        auto* I = new TMenuItem(this);
        I->SetName(S.Name);
        I->SetCaption(Words ? Words->GetResStr(S.Key) : std::string(S.Text));
        return I;
    };
    const auto Has = [this](TbsBorderIcon B) { return FBorderIcons.Contains(B); };
    const bool RollUpAllowed = Has(TbsBorderIcon::biRollUp) &&
                               !(Child && FWindowState == wsMaximized) && !FRollUpState &&
                               FWindowState != wsMinimized;
    const bool Restore = FWindowState != wsNormal || FRollUpState;

    auto Min = [&] {
        TMenuItem* I = Make(cMinItem);
        I->OnClick = [this](TObject*) {
            if (FAlwaysMinimizeToTray)
                MinimizeToTray();
            else
                SetWindowState(wsMinimized);
        };
        return I;
    };
    auto Max = [&] {
        TMenuItem* I = Make(cMaxItem);
        I->OnClick = [this](TObject*) { SetWindowState(wsMaximized); };
        return I;
    };
    auto Rest = [&] {
        TMenuItem* I = Make(cRestoreItem);
        I->OnClick = [this](TObject*) {
            if (MaxRollUpState || (FRollUpState && FWindowState == wsNormal))
                SetRollUpState(false);
            else
                SetWindowState(wsNormal);
        };
        return I;
    };
    auto Roll = [&] {
        TMenuItem* I = Make(cRollUpItem);
        I->OnClick = [this](TObject*) { SetRollUpState(true); };
        return I;
    };
    auto Tray = [&] {
        TMenuItem* I = Make(cTrayItem);
        I->OnClick = [this](TObject*) { MinimizeToTray(); };
        return I;
    };
    auto Close = [&] {
        TMenuItem* I = Make(cCloseItem);
        I->SetShortCut(TextToShortCut(Child ? "Ctrl+F4" : "Alt+F4"));
        I->OnClick = [this](TObject*) { FForm->Close(); };
        return I;
    };

    if (FSystemMenu) {
        TMenuItem* Items = FSystemMenu->Items();
        if (FUseDefaultSysMenu) {
            for (int i = 0; i < Items->Count();) {
                if (IsSystemItemName(Items->Items(i)->Name())) {
                    delete Items->Items(i);
                    i = 0;
                } else {
                    ++i;
                }
            }
            if (Has(TbsBorderIcon::biMinimizeToTray))
                Items->Insert(0, Tray());
            if (RollUpAllowed)
                Items->Insert(0, Roll());
            if (Has(TbsBorderIcon::biMaximize) && FWindowState != wsMaximized)
                Items->Insert(0, Max());
            if (Restore)
                Items->Insert(0, Rest());
            if (Has(TbsBorderIcon::biMinimize) && FWindowState != wsMinimized)
                Items->Insert(0, Min());
            Items->Add(Close());
        }
        return Items;
    }
    TMenuItem* Items = FSysMenu->Items();
    while (Items->Count() > 0)
        delete Items->Items(Items->Count() - 1);
    if (Has(TbsBorderIcon::biMinimize) && FWindowState != wsMinimized)
        Items->Add(Min());
    if (Has(TbsBorderIcon::biMaximize) && FWindowState != wsMaximized)
        Items->Add(Max());
    if (Restore)
        Items->Add(Rest());
    if (RollUpAllowed)
        Items->Add(Roll());
    if (Has(TbsBorderIcon::biMinimizeToTray))
        Items->Add(Tray());
    if (Items->Count() > 0) {
        auto* Line = new TMenuItem(this);
        Line->SetCaption("-");
        Items->Add(Line);
    }
    Items->Add(Close());
    return Items;
}

void TbsSkinForm::PopupSystemMenuAt(int X, int Y) {
    PopupSystemMenuUnder({X, Y, X, Y});
}

void TbsSkinForm::PopupSystemMenuUnder(TRect R) {
    TMenuItem* Items = GetSystemMenuItems();
    SkinMenuOpen();
    TbsSkinForm* Owner = this;
    if (IsMDIChild()) {
        Owner = Application ? FindSkinFormComponent(Application->MainForm()) : nullptr;
        if (!Owner)
            return;
    }
    if (Owner->SkinMenu)
        Owner->SkinMenu->Popup(nullptr, Owner->FMSD ? Owner->FMSD : Owner->FSD, 0, R, Items, false);
}

void TbsSkinForm::PopupSystemMenuFromKeyboard() {
    for (auto& O : ObjectList) {
        if (!O->Enabled)
            continue;
        auto* Std = dynamic_cast<TbsSkinStdButtonObject*>(O.get());
        auto* Anim = dynamic_cast<TbsSkinAnimateObject*>(O.get());
        if ((Std && Std->Command == cmSysMenu) || (Anim && Anim->Command == cmSysMenu)) {
            TPoint Origin{FForm->Left(), FForm->Top()};
            if (IsMDIChild())
                Origin = FForm->ClientToScreen({-NewClRect.Left, -NewClRect.Top});
            TRect R = O->ObjectRect;
            R.Left += Origin.X;
            R.Right += Origin.X;
            R.Top += Origin.Y;
            R.Bottom += Origin.Y;
            PopupSystemMenuUnder(R);
            return;
        }
    }
    // A form without a system-menu object opens the menu at its top-left.
    const TPoint P =
        FForm->Parent() ? FForm->ClientToScreen({0, 0}) : TPoint{FForm->Left(), FForm->Top()};
    PopupSystemMenuUnder({P.X, P.Y, P.X, P.Y});
}

void TbsSkinForm::SetMainMenuBar(TbsSkinMainMenuBar* Value) {
    if (FMainMenuBar == Value)
        return;
    if (FMainMenuBar)
        FMainMenuBar->RemoveFreeNotification(this);
    FMainMenuBar = Value;
    if (FMainMenuBar)
        FMainMenuBar->FreeNotification(this);
}

TMenu* TbsSkinForm::MainMenuBarMenu() {
    return FMainMenuBar ? FMainMenuBar->MainMenu() : nullptr;
}

TMenu* TbsSkinForm::GetChildMainMenu() {
    return FMainMenuBar ? FMainMenuBar->GetChildMainMenu() : nullptr;
}

bool TbsSkinForm::MainMenuBarKey(WORD Key) {
    return FMainMenuBar && FMainMenuBar->FindHotKeyItem(Key);
}

bool TbsSkinForm::CanSelectNextMainMenuItem() {
    if (!FMainMenuBar)
        return false;
    if (SkinMenuPopupCount() == 0)
        return true;
    TbsSkinPopupWindow* W = SkinMenu->PopupWindow(SkinMenuPopupCount() - 1);
    return W->ActiveItem < 0 || W->ActiveItem >= W->ItemCount() ||
           W->Item(W->ActiveItem)->MenuItem->Count() == 0;
}

bool TbsSkinForm::CanSelectPrevMainMenuItem() {
    return FMainMenuBar && SkinMenuPopupCount() <= 1;
}

bool TbsSkinForm::OpenMainMenuBarItem() {
    return FMainMenuBar && FMainMenuBar->CheckReturnKey();
}

void TbsSkinForm::SelectNextMainMenuItem() {
    if (FMainMenuBar)
        FMainMenuBar->NextMainMenuItem();
}

void TbsSkinForm::SelectPrevMainMenuItem() {
    if (FMainMenuBar)
        FMainMenuBar->PriorMainMenuItem();
}

void TbsSkinForm::MainMenuBarKeyboardMode() {
    if (FMainMenuBar)
        FMainMenuBar->MenuEnter();
}

void TbsSkinForm::MainMenuBarLeave() {
    if (FMainMenuBar)
        FMainMenuBar->MenuExit();
}

void TbsSkinForm::MainMenuBarPressedToHot() {
    if (FMainMenuBar)
        FMainMenuBar->MenuClose();
}

void TbsSkinForm::UpdateMainFormMenuBar() {
    TbsSkinForm* Main = Application ? FindSkinFormComponent(Application->MainForm()) : nullptr;
    TbsSkinMainMenuBar* Bar = Main ? Main->FMainMenuBar : nullptr;
    if (Bar && (Bar->ChildMenuIn || Bar->GetChildMainMenu()))
        Bar->UpDateItems();
}

void TbsSkinForm::ShowMDIChildButtonsInMenuBar() {
    if (FMainMenuBar)
        FMainMenuBar->MDIChildMaximize();
}

void TbsSkinForm::UpdateMDIChildButtonsInMenuBar() {
    if (FMainMenuBar)
        FMainMenuBar->MDIChildRestore();
}

void TbsSkinForm::MinimizeToTray() {
    if (!FTrayIcon)
        return;
    // The tray icon hides the main form only once its icon is on the
    // desktop; without a notification area this stays a plain minimise.
    FTrayIcon->SetMinimizeToTray(true);
    if (Application)
        Application->Minimize();
    if (OnMinimizeToTray)
        OnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFromTray() {
    if (!FTrayIcon)
        return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    if (Application)
        Application->Restore();
    if (!FAlwaysShowInTray)
        FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray)
        OnRestoreFromTray(this);
}

void TbsSkinForm::ShowObjectHintText(const std::string& Text) {
    if (FSkinHint)
        FSkinHint->ActivateHint2(Text);
}

void TbsSkinForm::HideObjectHint() {
    if (FSkinHint)
        FSkinHint->HideHint();
}

void TbsSkinForm::CreateMenuObjects() {
    FSysTrayMenu = new TbsSkinPopupMenu(this);
    FSysTrayMenu->SetComponentForm(FForm);
    const bool Child = IsMDIChild();
    auto* Restore = new TMenuItem(this);
    Restore->SetName("TRAY_BSF_RESTORE");
    Restore->SetCaption(cRestoreItem.Text);
    Restore->OnClick = [this](TObject*) { RestoreFromTray(); };
    auto* Line = new TMenuItem(this);
    Line->SetCaption("-");
    auto* Close = new TMenuItem(this);
    Close->SetName("TRAY_BSF_CLOSE");
    Close->SetCaption(cCloseItem.Text);
    Close->SetShortCut(TextToShortCut(Child ? "Ctrl+F4" : "Alt+F4"));
    Close->OnClick = [this](TObject*) { FForm->Close(); };
    FSysTrayMenu->Items()->Add(Restore);
    FSysTrayMenu->Items()->Add(Line);
    FSysTrayMenu->Items()->Add(Close);
    SkinMenu = new TbsSkinMenu(this, FForm);
    SkinMenu->MaxMenuItemsInWindow = FMaxMenuItemsInWindow;
    SkinMenu->AlphaBlend = FMenusAlphaBlend;
    SkinMenu->AlphaBlendValue = FMenusAlphaBlendValue;
    SkinMenu->AlphaBlendAnimation = FMenusAlphaBlendAnimation;
}

void TbsSkinForm::FreeMenuObjects() {
    if (SkinMenu) {
        // Closed without telling a form that is going away.
        SkinMenu->CloseWindowsFrom(0);
        SkinMenu->FreeClosedWindows();
    }
    delete SkinMenu;
    SkinMenu = nullptr;
    delete FSysTrayMenu;
    FSysTrayMenu = nullptr;
}

void TbsSkinForm::MenusSkinDataChanged() {
    if (FSysTrayMenu)
        FSysTrayMenu->SetSkinData(FSD);
}

bool TbsSkinForm::UseSkinFontInMenu() {
    return SkinMenu ? SkinMenu->UseSkinFont() : true;
}

void TbsSkinForm::SetUseSkinFontInMenu(bool Value) {
    if (SkinMenu)
        SkinMenu->SetUseSkinFont(Value);
}

int TbsSkinForm::DefMenuItemHeight() {
    return SkinMenu ? SkinMenu->DefaultMenuItemHeight() : 0;
}

void TbsSkinForm::SetDefMenuItemHeight(int Value) {
    if (SkinMenu && Value > 0)
        SkinMenu->SetDefaultMenuItemHeight(Value);
}

TFont* TbsSkinForm::DefMenuItemFont() {
    return SkinMenu ? SkinMenu->DefaultMenuItemFont() : nullptr;
}

void TbsSkinForm::SetDefMenuItemFont(TFont* Value) {
    if (SkinMenu)
        SkinMenu->SetDefaultMenuItemFont(Value);
}

void TbsSkinForm::SetMaxMenuItemsInWindow(int Value) {
    if (Value < 0)
        return;
    FMaxMenuItemsInWindow = Value;
    if (SkinMenu)
        SkinMenu->MaxMenuItemsInWindow = Value;
}

void TbsSkinForm::SetTrayIcon(TbsTrayIcon* Value) {
    FTrayIcon = Value;
    if (!Value)
        return;
    if (!FAlwaysShowInTray)
        Value->SetIconVisible(false);
    Value->SetMinimizeToTray(false);
    if (!Value->PopupMenu()) {
        Value->SetPopupMenu(FSysTrayMenu);
        if (!Value->OnDblClick)
            Value->OnDblClick = [this](TObject*) { RestoreFromTray(); };
    }
}
