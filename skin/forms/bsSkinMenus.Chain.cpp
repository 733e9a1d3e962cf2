// The chain of open popup windows a skinned form owns: opening, the submenu
// delay, choosing and closing in a fixed order.
#include "skin/forms/bsSkinMenus.h"

#include "skin/forms/SkinForm.h"
#include "skin/model/bsUtils.Platform.h"

namespace {

// Posted to the chain's own message window: free the windows closed so far.
constexpr UINT cmFreeClosedWindows = WM_USER + 1;

} // namespace

TbsSkinMenu::TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm)
    : TComponent(AOwner), FDefaultMenuItemFont(std::make_unique<TFont>()), FForm(AForm) {
    FDefaultMenuItemFont->SetName("Arial");
    FDefaultMenuItemFont->SetStyle({});
    FDefaultMenuItemFont->SetHeight(14);
    WaitTimer = new TTimer(this);
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->SetOnTimer(TNotifyEvent(this, &TbsSkinMenu::WaitTimerTick));
    if (Application)
        FReaper = Application->AllocateMessageWindow(TWindowMethod(this, &TbsSkinMenu::ReaperProc));
}

TbsSkinMenu::~TbsSkinMenu() {
    CloseWindowsFrom(0);
    FClosed.clear();
    delete WaitTimer;
    WaitTimer = nullptr;
    if (FReaper && Application)
        Application->DeallocateMessageWindow(FReaper);
}

void TbsSkinMenu::SetDefaultMenuItemHeight(int Value) {
    if (Value > 0)
        FDefaultMenuItemHeight = Value;
}

void TbsSkinMenu::SetDefaultMenuItemFont(TFont* Value) {
    if (Value)
        FDefaultMenuItemFont->Assign(Value);
}

void TbsSkinMenu::SendTo(TControl* Ctrl, UINT Msg) {
    if (auto* W = dynamic_cast<TWinControl*>(Ctrl); W && W->HandleAllocated())
        SendMessage(W->Handle(), Msg, 0, 0);
    else
        Ctrl->Perform(Msg, 0, 0);
}

bool TbsSkinMenu::OpenRoot(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex,
                           const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp) {
    FFirst = !FVisible;
    if (!FPopupList.empty())
        CloseWindowsFrom(0);
    PopupCtrl = APopupCtrl;
    if (PopupCtrl)
        PopupCtrl->FreeNotification(this);
    GetMonitorWorkArea(FForm ? FForm->Handle() : nullptr, true, WorkArea);
    SkinData = ASkinData;
    const int Count = AItem ? AItem->Count() + (AItem2 ? AItem2->Count() : 0) : 0;
    if (!AItem || AItem->Count() == 0 || StartIndex < 0 || StartIndex >= Count) {
        // Nothing opens: no chain keeps a control it would later tell.
        PopupCtrl = nullptr;
        FFirst = false;
        return false;
    }
    FVisible = true;
    ShowPopupWindow(R, AItem, AItem2, StartIndex, false, PopupUp);
    FFirst = false;
    return true;
}

void TbsSkinMenu::Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, TRect R,
                        TMenuItem* AItem, bool PopupUp) {
    OpenRoot(APopupCtrl, ASkinData, StartIndex, R, AItem, nullptr, PopupUp);
}

void TbsSkinMenu::Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, TRect R,
                         TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp) {
    OpenRoot(APopupCtrl, ASkinData, StartIndex, R, AItem, AItem2, PopupUp);
}

void TbsSkinMenu::ShowPopupWindow(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2,
                                  int StartIndex, bool PopupByItem, bool PopupUp) {
    TbsDataSkinPopupWindow* Data =
        SkinData && !SkinData->Empty ? SkinData->PopupWindow.get() : nullptr;
    auto Owned = std::make_unique<TbsSkinPopupWindow>(this, this, Data);
    TbsSkinPopupWindow* W = Owned.get();
    FPopupList.push_back(std::move(Owned));
    if (AItem2)
        W->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
    else
        W->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
    // A hidden form (one in the tray) is never deactivated by a press
    // elsewhere and such a press reaches no window of the program: the root
    // window holds the pointer for the chain and hears of it instead.
    if (PopupCount() == 1 && FPopupList.front().get() == W && !W->Dying && W->HandleAllocated() &&
        FForm && !(FForm->HandleAllocated() && IsWindowVisible(FForm->Handle())))
        SetCapture(W->Handle());
}

TbsSkinPopupWindow* TbsSkinMenu::WindowAt(TPoint P) const {
    // The deepest window first: a submenu may overlap its parent.
    for (auto It = FPopupList.rbegin(); It != FPopupList.rend(); ++It) {
        TbsSkinPopupWindow* W = It->get();
        if (W->Dying || !W->HandleAllocated() || !IsWindowVisible(W->Handle()))
            continue;
        TRect R;
        GetWindowRect(W->Handle(), &R);
        if (P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom)
            return W;
    }
    return nullptr;
}

void TbsSkinMenu::PressOutside() {
    // The form's own door for closing its menus on a cancelled mode.
    if (FForm && FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_CANCELMODE, 0, 0);
    if (FVisible)
        Hide();
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == PopupCtrl)
        PopupCtrl = nullptr;
    if (AComponent == DCtrl)
        DCtrl = nullptr;
}

int TbsSkinMenu::IndexOfWindow(const TbsSkinPopupWindow* Window) const {
    for (int i = 0; i < PopupCount(); ++i)
        if (FPopupList[i].get() == Window)
            return i;
    return PopupCount();
}

void TbsSkinMenu::StopWaiting() {
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
}

void TbsSkinMenu::CloseDeeper(TbsSkinPopupWindow* Window) {
    const int Index = IndexOfWindow(Window);
    if (Index < PopupCount() - 1)
        CloseWindowsFrom(Index + 1);
}

void TbsSkinMenu::CheckMenuItem(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool Execute,
                                bool FromKeyboard) {
    TMenuItem* MI = Item->MenuItem;
    const auto Dispatch = [MI] {
        if (TMenu* M = MI->GetParentMenu())
            M->DispatchCommand(MI->Command());
        else
            MI->Click();
    };
    if (MI->Count() == 0) {
        StopWaiting();
        if (!Execute) {
            CloseDeeper(Window);
            return;
        }
        Hide();
        Dispatch();
        if (DCtrl)
            SendTo(DCtrl, WM_AFTERSKINMENUCOMMAND);
        DCtrl = nullptr;
        return;
    }
    if (!Execute) {
        if (FromKeyboard)
            return;
        StopWaiting();
        CloseDeeper(Window);
        WItem = Item;
        WaitTimer->SetEnabled(true);
        return;
    }
    Dispatch();
    // The handler may have closed the chain.
    if (Window->Dying)
        return;
    StopWaiting();
    Item->Down = true;
    TRect R = Item->ObjectRect;
    R.Left += Window->Left();
    R.Right += Window->Left();
    R.Top += Window->Top();
    R.Bottom += Window->Top();
    ShowPopupWindow(R, MI, nullptr, 0, true, false);
}

void TbsSkinMenu::WaitTimerTick(TObject*) {
    TbsSkinMenuItem* I = WItem;
    WaitTimer->SetEnabled(false);
    if (I && !I->Parent->Dying)
        CheckMenuItem(I->Parent, I, true, false);
    WaitTimer->SetEnabled(false);
}

void TbsSkinMenu::Retire(std::unique_ptr<TbsSkinPopupWindow> Window) {
    Window->Dying = true;
    Window->Hide();
    if (WItem && WItem->Parent == Window.get())
        StopWaiting();
    FClosed.push_back(std::move(Window));
    if (FReaper && !FReapPosted) {
        FReapPosted = true;
        PostMessage(FReaper, cmFreeClosedWindows, 0, 0);
    }
}

void TbsSkinMenu::ReaperProc(TMessage& Message) {
    if (Message.Msg == cmFreeClosedWindows) {
        FReapPosted = false;
        if (FHold == 0)
            FreeClosedWindows();
        return;
    }
    Message.Result = DefWindowProc(FReaper, Message.Msg, Message.WParam, Message.LParam);
}

void TbsSkinMenu::ReleaseClosedWindows() {
    if (--FHold > 0 || FClosed.empty() || !FReaper || FReapPosted)
        return;
    FReapPosted = true;
    PostMessage(FReaper, cmFreeClosedWindows, 0, 0);
}

void TbsSkinMenu::FreeClosedWindows() {
    auto Closed = std::move(FClosed);
    FClosed.clear();
    Closed.clear();
}

void TbsSkinMenu::CloseWindowsFrom(int Index) {
    Index = std::max(Index, 0);
    if (Index == 0)
        for (auto& W : FPopupList)
            if (W->HandleAllocated() && GetCapture() == W->Handle())
                ReleaseCapture();
    while (PopupCount() > Index) {
        auto W = std::move(FPopupList.back());
        FPopupList.pop_back();
        Retire(std::move(W));
    }
    if (Index != 0)
        return;
    FVisible = false;
    WaitTimer->SetEnabled(false);
    DCtrl = PopupCtrl;
    if (PopupCtrl) {
        TControl* C = PopupCtrl;
        PopupCtrl = nullptr;
        SendTo(C, WM_CLOSESKINMENU);
    }
    if (OnMenuClose) {
        // Cleared before it runs, so a handler may open the next chain.
        TNotifyEvent E = OnMenuClose;
        OnMenuClose = nullptr;
        E(this);
    }
}

void TbsSkinMenu::Hide() {
    CloseWindowsFrom(0);
    StopWaiting();
    if (FForm && FForm->HandleAllocated() && !FForm->ComponentState().Contains(csDestroying))
        SendMessage(FForm->Handle(), WM_CLOSESKINMENU, 0, 0);
}

TComponent* FindSkinForm(TComponent* AForm) {
    if (!AForm)
        return nullptr;
    for (int i = 0; i < AForm->ComponentCount(); ++i)
        if (auto* F = dynamic_cast<TbsSkinForm*>(AForm->Components(i)))
            return F;
    return nullptr;
}
