// The menu bar under the mouse and the keyboard: the hover test, items
// opening their menus through the form's chain, the hidden items behind the
// scroll arrow, the MDI child's buttons and the keyboard operations the form
// calls in main menu mode.
#include "skin/forms/bsSkinMainMenuBar.h"

#include "platform/forms/Hotkeys.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinMenus.h"

namespace {

TRect ToScreen(TControl* C, const TRect& R) {
    const TPoint TL = C->ClientToScreen({R.Left, R.Top});
    return {TL.X, TL.Y, TL.X + R.Right - R.Left, TL.Y + R.Bottom - R.Top};
}

bool Inside(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

} // namespace

// ---------------------------------------------------------------- mouse

void TbsSkinMainMenuBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        PaintBar(HDC(Message.WParam));
        Message.Result = 1;
        return;
    case WM_CLOSESKINMENU:
        CloseSkinMenuMessage();
        return;
    case WM_CHECKPARENTBG:
        if (FIndex != -1 && FSD->MainMenuBarTransparent)
            Invalidate();
        return;
    case WM_SIZE:
        TbsSkinControl::Dispatch(Message);
        CalcItemsRect();
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(Message);
        if (FIndex != -1 && FSD->MainMenuBarTransparent && Align() == alNone)
            Invalidate();
        return;
    case CM_MOUSEENTER:
        TbsSkinControl::Dispatch(Message);
        MouseTimer->SetEnabled(true);
        return;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(Message);
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1);
        return;
    default:
        TbsSkinControl::Dispatch(Message);
    }
}

void TbsSkinMainMenuBar::MouseTimerTick(TObject*) {
    POINT P;
    GetCursorPos(&P);
    const TPoint C = ScreenToClient(P);
    if (C.X < 0 || C.Y < 0 || C.X > Width() || C.Y > Height()) {
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1);
    } else
        TestActive(C.X, C.Y);
}

void TbsSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (!MouseTimer->Enabled())
        MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    TestActive(X, Y);
    if (ActiveObject != -1) {
        const int Index = ActiveObject;
        MouseCaptureObject = Index;
        TbsMenuBarObject* O = Object(Index);
        O->MouseDown(X, Y, Button);
        // The command may have rebuilt the objects.
        if (Shift.Contains(ssDouble) && Index < ObjectCount() && Object(Index) == O)
            O->DblClick();
        return;
    }
    if (Scroll && FScrollMenu && Inside(ScrollArrowRect(), X, Y))
        PopupHiddenItems();
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (MouseCaptureObject >= 0 && MouseCaptureObject < ObjectCount())
        Object(MouseCaptureObject)->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMainMenuBar::TestActive(int X, int Y) {
    if (ObjectList.empty())
        return;
    OldActiveObject = ActiveObject;
    int Hit = -1;
    for (int i = 0; i < ObjectCount(); ++i)
        if (Object(i)->Enabled && Inside(Object(i)->ObjectRect, X, Y)) {
            Hit = i;
            break;
        }
    const bool KeepItem = Hit == -1 && OldActiveObject != -1 && MenuActive &&
                          OldActiveObject < ObjectCount() && OldActiveObject >= ButtonsCount;
    if (!KeepItem)
        ActiveObject = Hit;
    if (MouseCaptureObject != -1 && ActiveObject >= 0 && MouseCaptureObject != ActiveObject)
        ActiveObject = -1;
    if (ActiveObject >= ObjectCount())
        ActiveObject = -1;
    if (OldActiveObject >= ObjectCount())
        OldActiveObject = -1;
    if (ActiveObject != OldActiveObject) {
        if (OldActiveObject != -1 && Object(OldActiveObject)->Enabled)
            Object(OldActiveObject)->MouseLeave();
        if (ActiveObject != -1 && ActiveObject < ObjectCount() && Object(ActiveObject)->Enabled)
            Object(ActiveObject)->MouseEnter();
    }
    if (Scroll && FScrollMenu) {
        const bool In = Inside(ScrollArrowRect(), X, Y);
        if (In != MarkerActive) {
            MarkerActive = In;
            if (HandleAllocated())
                DrawScrollArrow(Canvas());
        }
    }
}

void TbsSkinMainMenuBar::CloseSkinMenuMessage() {
    for (int i = 0; i < ButtonsCount; ++i) {
        auto* B = static_cast<TbsSkinMainMenuBarButton*>(Object(i));
        if (B->Command != cmSysMenu || !B->FDown)
            continue;
        B->FDown = false;
        if (i != ActiveObject) {
            B->Active = false;
            B->FMouseIn = false;
        }
        B->StartMorphing();
    }
}

void TbsSkinMainMenuBar::PopupHiddenItems() {
    if (!BSF || !BSF->SkinMenu || !FMainMenu)
        return;
    int N = 0;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->Visible)
            ++N;
    const TRect R = ToScreen(this, ScrollArrowRect());
    TMenuItem* Child = ChildMenuItems();
    BSF->SkinMenuOpen();
    if (Child)
        BSF->SkinMenu->Popup2(nullptr, FSD, N, R, FMainMenu->Items(), Child, false);
    else
        BSF->SkinMenu->Popup(nullptr, FSD, N, R, FMainMenu->Items(), false);
}

// ---------------------------------------------------------------- items

void TbsSkinMainMenuBarItem::MouseEnter() {
    TbsSkinMainMenuBar* Bar = Parent;
    TbsSkinMainMenuBarItem* DownItem = nullptr;
    for (int i = 0; i < Bar->ItemCount() && !DownItem; ++i)
        if (Bar->Item(i) != this && Bar->Item(i)->FDown)
            DownItem = Bar->Item(i);
    if (DownItem) {
        // A menu is open: moving onto this item switches to its menu.
        DownItem->SetDown(false);
        Active = true;
        FMouseIn = true;
        if (EnableMorphing())
            SetMorphKf(1);
        SetDown(true);
        return;
    }
    for (int i = 0; i < Bar->ItemCount(); ++i)
        if (Bar->Item(i) != this && Bar->Item(i)->Active) {
            Bar->Item(i)->MouseLeave();
            break;
        }
    FMouseIn = true;
    Active = true;
    StartMorphing();
    if (Bar->OnItemMouseEnter)
        Bar->OnItemMouseEnter(MenuItem);
    if (Bar->Hint() != MenuItem->Hint())
        Bar->SetHint(MenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave() {
    Active = false;
    FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Parent->DrawSkinObject(this);
    }
    if (EnableMorphing() && FDown)
        SetMorphKf(0);
    StartMorphing();
    if (Parent->OnItemMouseLeave)
        Parent->OnItemMouseLeave(MenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, TMouseButton Button) {
    TbsSkinMainMenuBar* Bar = Parent;
    TbsSkinForm* F = Bar->BSF;
    if (!Enabled || !F || Button != mbLeft)
        return;
    if (MenuItem->Count() > 0) {
        Bar->MenuActive = true;
        SetDown(true);
        return;
    }
    if (F->InMainMenu)
        F->ExitMainMenu();
    F->InMenu = false;
    if (EnableMorphing())
        StartMorphing();
    else
        Bar->DrawSkinObject(this);
    TMenuItem* MI = MenuItem;
    if (TMenu* M = MI->GetParentMenu())
        M->DispatchCommand(MI->Command());
    else
        MI->Click();
}

void TbsSkinMainMenuBarItem::SetDown(bool Value) {
    TbsSkinMainMenuBar* Bar = Parent;
    if (Value) {
        FDown = true;
        SetMorphKf(1);
        Bar->DrawSkinObject(this);
        if (Bar->BSF && !Bar->BSF->InMainMenu && Bar->BSF->OnMainMenuEnter)
            Bar->BSF->OnMainMenuEnter(Bar);
        TrackMenu();
        return;
    }
    FDown = false;
    Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            StartMorphing();
        } else {
            CurrentFrame = 0;
            Bar->DrawSkinObject(this);
        }
    } else if (EnableMorphing()) {
        SetMorphKf(1);
        StartMorphing();
    } else
        Bar->DrawSkinObject(this);
}

void TbsSkinMainMenuBarItem::TrackMenu() {
    TbsSkinMainMenuBar* Bar = Parent;
    TbsSkinForm* F = Bar->BSF;
    if (!F || !F->SkinMenu)
        return;
    const TRect R = ToScreen(Bar, ObjectRect);
    F->SkinMenuOpen();
    F->InMainMenu = true;
    F->SkinMenu->Popup(nullptr, Bar->SkinData(), 0, R, MenuItem, Bar->PopupToUp());
}

// ---------------------------------------------------------------- MDI buttons

void TbsSkinMainMenuBarButton::MouseEnter() {
    if (FDown && Command == cmSysMenu) {
        FMouseIn = true;
        Active = true;
    } else if (FDown && EnableMorphing()) {
        FMouseIn = true;
        Active = true;
        Parent->DrawSkinObject(this);
    } else
        TbsMenuBarObject::MouseEnter();
}

void TbsSkinMainMenuBarButton::MouseLeave() {
    if (FDown && Command == cmSysMenu) {
        if (EnableMorphing())
            SetMorphKf(1);
        Active = false;
        FMouseIn = false;
    } else if (FDown && EnableMorphing()) {
        Active = false;
        FMouseIn = false;
        Parent->DrawSkinObject(this);
    } else
        TbsMenuBarObject::MouseLeave();
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || FDown)
        return;
    FDown = true;
    if (EnableMorphing() && !(DownRect.Right - DownRect.Left <= 0))
        SetMorphKf(1);
    Parent->DrawSkinObject(this);
    if (Command == cmSysMenu)
        DoCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(int, int, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || Command == cmSysMenu)
        return;
    FDown = false;
    Parent->DrawSkinObject(this);
    if (EnableMorphing())
        StartMorphing();
    if (Active)
        DoCommand();
}

void TbsSkinMainMenuBarButton::DoCommand() {
    TbsSkinForm* Child = FindMaximizedChildSkinForm();
    if (!Child || !Child->Form())
        return;
    TbsSkinMainMenuBar* Bar = Parent;
    switch (Command) {
    case cmClose:
        Child->Form()->Close();
        break;
    case cmMaximize:
        Child->SetWindowState(wsNormal);
        break;
    case cmMinimize:
        Child->SetWindowState(wsMinimized);
        break;
    case cmSysMenu: {
        Bar->Repaint();
        TbsSkinForm* F = Bar->BSF;
        if (!F || !F->SkinMenu)
            break;
        const TRect R = ToScreen(Bar, ObjectRect);
        F->SkinMenuOpen();
        F->SkinMenu->Popup(Bar, F->MenusSkinData() ? F->MenusSkinData() : F->SkinData(), 0, R,
                           Child->GetSystemMenuItems(), Bar->PopupToUp());
        break;
    }
    default:
        break;
    }
}

void TbsSkinMainMenuBarButton::DblClick() {
    if (Command != cmSysMenu)
        return;
    TbsSkinForm* Child = FindMaximizedChildSkinForm();
    if (!Child || !Child->Form())
        return;
    if (TbsSkinForm* F = Parent->BSF) {
        F->HideSkinMenu();
        F->SkinMenuClose();
    }
    Child->Form()->Close();
}

// ---------------------------------------------------------------- keyboard

void TbsSkinMainMenuBar::MenuEnter() {
    MenuActive = true;
    TbsSkinMainMenuBarItem* First = nullptr;
    for (int i = 0; i < ItemCount() && !First; ++i)
        if (Item(i)->Active)
            First = Item(i);
    if (!First && ItemCount() > 0)
        First = Item(0);
    if (First)
        First->MouseEnter();
    if (!BSF)
        return;
    BSF->HookApplicationMessages();
    BSF->InMainMenu = true;
    if (BSF->OnMainMenuEnter)
        BSF->OnMainMenuEnter(this);
}

bool TbsSkinMainMenuBar::FindHotKeyItem(WORD Key) {
    if (!BSF || ObjectList.empty() || !BSF->Form() || !BSF->Form()->Visible())
        return false;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMainMenuBarItem* I = Item(i);
        if (!I->Enabled || !I->Visible || !IsAccel(Key, I->MenuItem->Caption()))
            continue;
        const bool Switched = BSF->SkinMenuVisible() && I->MenuItem->Count() > 0;
        I->MouseEnter();
        if (!Switched)
            I->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TbsSkinMainMenuBar::NextMainMenuItem() {
    const auto Usable = [this](int i) { return Item(i)->Enabled && Item(i)->Visible; };
    int First = -1, Current = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        if (!Usable(i))
            continue;
        if (First == -1)
            First = i;
        if (Item(i)->Active || Item(i)->FDown) {
            Current = i;
            Item(i)->MouseLeave();
            break;
        }
    }
    if (First == -1)
        return;
    if (Current == -1) {
        Item(First)->MouseEnter();
        return;
    }
    for (int i = Current + 1; i < ItemCount(); ++i)
        if (Usable(i)) {
            Item(i)->MouseEnter();
            return;
        }
    Item(First)->MouseEnter();
}

void TbsSkinMainMenuBar::PriorMainMenuItem() {
    const auto Usable = [this](int i) { return Item(i)->Enabled && Item(i)->Visible; };
    int Last = -1, Current = -1;
    for (int i = ItemCount() - 1; i >= 0; --i) {
        if (!Usable(i))
            continue;
        if (Last == -1)
            Last = i;
        if (Item(i)->Active || Item(i)->FDown) {
            Current = i;
            Item(i)->MouseLeave();
            break;
        }
    }
    if (Last == -1)
        return;
    if (Current == -1) {
        Item(Last)->MouseEnter();
        return;
    }
    for (int i = Current - 1; i >= 0; --i)
        if (Usable(i)) {
            Item(i)->MouseEnter();
            return;
        }
    Item(Last)->MouseEnter();
}

bool TbsSkinMainMenuBar::CheckReturnKey() {
    if (!BSF)
        return false;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMainMenuBarItem* I = Item(i);
        if ((I->FDown && I->MenuItem->Count() == 0) || (I->Active && !BSF->SkinMenuVisible())) {
            I->Active = false;
            I->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
}

void TbsSkinMainMenuBar::MenuClose() {
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMainMenuBarItem* I = Item(i);
        if (I->FDown) {
            I->FDown = false;
            I->Active = true;
            DrawSkinObject(I);
            return;
        }
    }
}

void TbsSkinMainMenuBar::MenuExit() {
    MenuActive = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TbsSkinMainMenuBarItem* I = Item(i);
        if (!I->FDown && !I->Active)
            continue;
        I->Active = false;
        I->FMouseIn = false;
        I->FDown = false;
        if (!I->EnableAnimation() || I->InActiveAnimation)
            I->StartMorphing();
        else {
            I->CurrentFrame = 0;
            DrawSkinObject(I);
        }
        break;
    }
    ActiveObject = OldActiveObject = -1;
}
