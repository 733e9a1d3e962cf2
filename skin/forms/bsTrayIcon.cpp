// The notification-area icon, over the window system's notification-icon
// service.
#include "skin/forms/bsTrayIcon.h"

#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsMessages.h"

namespace {

UINT TaskbarCreatedMessage = 0;

TShiftState KeyboardShift() {
    TShiftState S;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        S.Include(ssShift);
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        S.Include(ssCtrl);
    if (GetAsyncKeyState(VK_MENU) < 0)
        S.Include(ssAlt);
    return S;
}

} // namespace

TbsTrayIcon::TbsTrayIcon(TComponent* AOwner)
    : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
    TaskbarCreatedMessage = RegisterWindowMessage("TaskbarCreated");
    if (Application)
        FHandle =
            Application->AllocateMessageWindow(TWindowMethod(this, &TbsTrayIcon::TrayWindowProc));
    // An unowned message window: no window above it.
    FWindowHandle = FHandle ? HWND(GetWindowLongPtr(FHandle, GWLP_HWNDPARENT)) : nullptr;
    IconData.cbSize = 956;
    IconData.hWnd = FHandle;
    IconData.uID = 1;
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    IconData.uCallbackMessage = WM_TRAYICONNOTIFY;
    AnimateTimer = new TTimer(this);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(0);
    AnimateTimer->SetOnTimer(TNotifyEvent(this, &TbsTrayIcon::AnimateTimerTick));
    ClickTimer = new TTimer(this);
    ClickTimer->SetEnabled(false);
    ClickTimer->SetInterval(GetDoubleClickTime());
    ClickTimer->SetOnTimer(TNotifyEvent(this, &TbsTrayIcon::ClickTimerTick));
    if (FIcon->Empty() && TakesApplicationIcon() && Application)
        FIcon->Assign(Application->Icon());
    // Each icon hooks under its own id: the same procedure and id would
    // share one hook, and the first icon to go would remove it for all.
    if (Application) {
        FAppWnd = Application->Handle();
        SetWindowSubclass(FAppWnd, &TbsTrayIcon::ApplicationHook, HookId(), DWORD_PTR(this));
    }
    if (auto* W = dynamic_cast<TWinControl*>(AOwner)) {
        FOwnerWnd = W->Handle();
        SetWindowSubclass(FOwnerWnd, &TbsTrayIcon::OwnerHook, HookId(), DWORD_PTR(this));
    }
}

TbsTrayIcon::~TbsTrayIcon() {
    SetIconVisible(false);
    delete AnimateTimer;
    delete ClickTimer;
    if (FAppWnd && IsWindow(FAppWnd))
        RemoveWindowSubclass(FAppWnd, &TbsTrayIcon::ApplicationHook, HookId());
    if (FOwnerWnd && IsWindow(FOwnerWnd))
        RemoveWindowSubclass(FOwnerWnd, &TbsTrayIcon::OwnerHook, HookId());
    if (FHandle && Application)
        Application->DeallocateMessageWindow(FHandle);
}

bool TbsTrayIcon::OwnerIsWindow() const {
    return dynamic_cast<TWinControl*>(Owner()) != nullptr;
}

void TbsTrayIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerIsWindow() && FMinimizedOnStart) {
        FIconVisible = true;
        FMinimizeToTray = true;
        if (NotifyAreaAvailable()) {
            if (Application) {
                Application->SetShowMainForm(false);
                ShowWindow(Application->Handle(), SW_HIDE);
            }
        } else if (auto* F = dynamic_cast<TForm*>(Owner())) {
            // No tray to hide into: the form starts minimised, within reach.
            F->SetWindowState(wsMinimized);
        }
    }
    UpdateTrayEntry();
    SetIconVisible(FIconVisible);
}

void TbsTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FIconList)
        FIconList = nullptr;
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

bool TbsTrayIcon::PrepareIconData() {
    IconData.hIcon = FIcon->Handle();
    IconData.szTip = !FHint.empty() && FShowHint ? FHint : std::string();
    return true;
}

bool TbsTrayIcon::AddTrayEntry() {
    FIconVisible = true;
    return PrepareIconData() && Shell_NotifyIcon(NIM_ADD, &IconData);
}

bool TbsTrayIcon::DeleteTrayEntry() {
    FIconVisible = false;
    return PrepareIconData() && Shell_NotifyIcon(NIM_DELETE, &IconData);
}

bool TbsTrayIcon::UpdateTrayEntry() {
    return PrepareIconData() && Shell_NotifyIcon(NIM_MODIFY, &IconData);
}

void TbsTrayIcon::SetIcon(TIcon* Value) {
    FIcon->Assign(Value);
    UpdateTrayEntry();
}

void TbsTrayIcon::SetIconVisible(bool Value) {
    if (Value)
        AddTrayEntry();
    else
        DeleteTrayEntry();
}

void TbsTrayIcon::SetHint(const std::string& Value) {
    FHint = Value;
    UpdateTrayEntry();
}

void TbsTrayIcon::SetShowHint(bool Value) {
    FShowHint = Value;
    UpdateTrayEntry();
}

void TbsTrayIcon::SetPopupMenu(TbsSkinPopupMenu* Value) {
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsTrayIcon::SetIconList(TCustomImageList* Value) {
    FIconList = Value;
    if (Value)
        Value->FreeNotification(this);
    SetIconIndex(0);
}

void TbsTrayIcon::SetIconIndex(int Value) {
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(Value, 0, FIconList->Count() - 1);
        FIconList->GetIcon(FIconIndex, FIcon.get());
    } else {
        FIconIndex = 0;
    }
    UpdateTrayEntry();
}

void TbsTrayIcon::SetCycleIcons(bool Value) {
    FCycleIcons = Value;
    if (Value)
        SetIconIndex(0);
    AnimateTimer->SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(unsigned Value) {
    FAnimateTimerInterval = Value;
    AnimateTimer->SetInterval(Value);
}

bool TbsTrayIcon::ShowBalloonHint(const std::string& Title, const std::string& Text,
                                  TbsBalloonHintIcon IconType) {
    HideBalloonHint();
    IconData.uFlags |= NIF_INFO;
    IconData.szInfo = Text;
    IconData.szInfoTitle = Title;
    IconData.dwInfoFlags = DWORD(IconType);
    const bool Result = UpdateTrayEntry();
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return Result;
}

bool TbsTrayIcon::HideBalloonHint() {
    IconData.uFlags |= NIF_INFO;
    IconData.szInfo.clear();
    const bool Result = UpdateTrayEntry();
    IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return Result;
}

void TbsTrayIcon::ShowMainForm() {
    if (!OwnerIsWindow() || !Application || !Application->MainForm())
        return;
    TCustomForm* F = Application->MainForm();
    ShowWindow(Application->Handle(), SW_RESTORE);
    F->SetVisible(true);
    if (F->WindowState() == wsMinimized)
        F->SetWindowState(wsNormal);
    F->SetTag(-10000);
    PostMessage(F->Handle(), WM_SHOWFROMTRAY, 0, 0);
}

void TbsTrayIcon::HideMainForm() {
    if (!OwnerIsWindow() || !Application || !Application->MainForm())
        return;
    TCustomForm* F = Application->MainForm();
    F->SetVisible(false);
    ShowWindow(Application->Handle(), SW_HIDE);
    F->SetTag(-10000);
}

void TbsTrayIcon::MinimizeMainFormToTray() {
    // The icon first: only a form with a way back is hidden. An icon that
    // is already showing refuses to be added again, yet is that way back;
    // only a modify of it tells that it is there.
    const bool Added = AddTrayEntry();
    if (Added || UpdateTrayEntry())
        HideMainForm();
}

void TbsTrayIcon::DoClick() {
    if (OnClick)
        OnClick(this);
}

void TbsTrayIcon::DoDblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TbsTrayIcon::DoCycle(int NextIndex) {
    if (OnCycle)
        OnCycle(this, NextIndex);
}

void TbsTrayIcon::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TbsTrayIcon::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TbsTrayIcon::DoMouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

bool TbsTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor) {
    if (!Bitmap || !Icon)
        return false;
    TCustomImageList List(nullptr);
    List.SetWidth(16);
    List.SetHeight(16);
    if (List.AddMasked(Bitmap, MaskColor) != 0)
        return false;
    List.GetIcon(0, Icon);
    return true;
}

void TbsTrayIcon::ShowTrayMenu() {
    TPoint P;
    if (!FPopupMenu || !FPopupMenu->AutoPopup() || !GetCursorPos(&P))
        return;
    Application->ProcessMessages();
    SetForegroundWindow(FHandle);
    if (FOwnerWnd)
        SetForegroundWindow(FOwnerWnd);
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(P.X, P.Y);
    if (FOwnerWnd)
        PostMessage(FOwnerWnd, WM_NULL, 0, 0);
}

void TbsTrayIcon::TrayWindowProc(TMessage& Message) {
    if (Message.Msg != WM_TRAYICONNOTIFY) {
        switch (Message.Msg) {
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_QUIT:
        case WM_USERCHANGED:
        case WM_NCDESTROY:
            Message.Result = 1;
            return;
        default:
            Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
            return;
        }
    }
    if (!FEnabled)
        return;
    TPoint P{0, 0};
    GetCursorPos(&P);
    TShiftState S = KeyboardShift();
    const auto With = [&S](TShiftStateItem I) {
        TShiftState T = S;
        T.Include(I);
        return T;
    };
    switch (UINT(Message.LParam)) {
    case WM_MOUSEMOVE:
        DoMouseMove(S, P.X, P.Y);
        break;
    case WM_LBUTTONDOWN:
        ClickTimer->SetEnabled(true);
        DoMouseDown(mbLeft, With(ssLeft), P.X, P.Y);
        FClickStart = true;
        if (FPopupByLeftButton)
            ShowTrayMenu();
        break;
    case WM_LBUTTONUP:
        if (FClickStart) {
            FClickReady = true;
            if (!ClickTimer->Enabled()) {
                FClickStart = false;
                FClickReady = false;
                DoClick();
            }
        }
        FClickStart = false;
        DoMouseUp(mbLeft, With(ssLeft), P.X, P.Y);
        break;
    case WM_LBUTTONDBLCLK:
        FClickReady = false;
        IsDblClick = true;
        DoDblClick();
        if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) {
            TMenuItem* Items = FPopupMenu->Items();
            for (int i = 0; i < Items->Count(); ++i)
                if (Items->Items(i)->Default()) {
                    Items->Items(i)->Click();
                    break;
                }
        }
        break;
    case WM_RBUTTONDOWN:
        DoMouseDown(mbRight, With(ssRight), P.X, P.Y);
        ShowTrayMenu();
        break;
    case WM_RBUTTONUP:
        DoMouseUp(mbRight, With(ssRight), P.X, P.Y);
        break;
    case WM_MBUTTONDOWN:
        DoMouseDown(mbMiddle, With(ssMiddle), P.X, P.Y);
        break;
    case WM_MBUTTONUP:
        DoMouseUp(mbMiddle, With(ssMiddle), P.X, P.Y);
        break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick)
            OnBalloonHintClick(this);
        break;
    default:
        break;
    }
}

void TbsTrayIcon::ClickTimerTick(TObject*) {
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        DoClick();
    }
    IsDblClick = false;
}

void TbsTrayIcon::AnimateTimerTick(TObject*) {
    if (!FIconList || FIconList->Count() == 0)
        return;
    const int Count = FIconList->Count();
    FIconList->GetIcon(FIconIndex, FIcon.get());
    const int Next = FIconIndex < Count - 1 ? FIconIndex + 1 : 0;
    DoCycle(Next);
    UpdateTrayEntry();
    SetIconIndex(Next);
}

LRESULT TbsTrayIcon::ApplicationHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                     DWORD_PTR Data) {
    auto* Self = reinterpret_cast<TbsTrayIcon*>(Data);
    if (Msg == WM_SIZE && WParam == SIZE_MINIMIZED && Self->FMinimizeToTray)
        Self->MinimizeMainFormToTray();
    else if (Msg == WM_WINDOWPOSCHANGED && Self->SettingMDIForm) {
        if (TCustomForm* Main = Application ? Application->MainForm() : nullptr) {
            Self->SettingMDIForm = false;
            if (Main->FormStyle() == fsMDIForm && Self->FMinimizedOnStart)
                ShowWindow(Wnd, SW_HIDE);
        }
    } else if (Msg == TaskbarCreatedMessage && Self->FIconVisible)
        Self->AddTrayEntry();
    return DefSubclassProc(Wnd, Msg, WParam, LParam);
}

LRESULT TbsTrayIcon::OwnerHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                               DWORD_PTR) {
    if (Msg == WM_ACTIVATE && (LOWORD(WParam) == WA_ACTIVE || LOWORD(WParam) == WA_CLICKACTIVE) &&
        Screen && Screen->ActiveControl()) {
        TWinControl* Active = Screen->ActiveControl();
        TWinControl* W = Active->Parent() ? Active->Parent() : Active;
        if (W->HandleAllocated() && W->Handle() != HWND(LParam))
            SetFocus(Active->Handle());
    } else if (Msg == WM_SHOWWINDOW && WParam == 1 && LParam == 0 && Application) {
        ShowWindow(Application->Handle(), SW_RESTORE);
        SetForegroundWindow(Application->Handle());
        SetForegroundWindow(Wnd);
    }
    return DefSubclassProc(Wnd, Msg, WParam, LParam);
}
