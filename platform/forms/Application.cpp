// TApplication, TScreen, TMonitor: the message loop and its processing,
// hooks, exceptions, minimizing, message windows; screens and cursors.
#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"

#include <unistd.h>

#include <algorithm>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void InitApplication() {
    if (!Mouse)
        Mouse = new TMouse;
    if (!Screen)
        Screen = new TScreen(nullptr);
    if (!Application)
        Application = new TApplication(nullptr);
}

void DoneApplication() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
    delete Mouse;
    Mouse = nullptr;
}

namespace {

constexpr UINT_PTR HintTimerId = 1;

} // namespace

// ---------------------------------------------------------------- TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
    HintWindowClass = [](TComponent* Owner) { return new THintWindow(Owner); };
    SetControlExceptionHandler([this](TObject* Sender) { HandleException(Sender); });
}

TApplication::~TApplication() {
    SetControlExceptionHandler(nullptr);
    SetControlReleaseWindow(nullptr);
    SetWakeMainThread(nullptr);
    Destroying();
    DestroyComponents();
    FHintWindow = nullptr;
    for (auto& [Wnd, Proc] : FMessageWindows) {
        DestroyWindow(Wnd);
        FreeWindowProc(Proc);
    }
    FMessageWindows.clear();
    if (FHandle)
        DestroyWindow(FHandle);
    if (FWndProc)
        FreeWindowProc(FWndProc);
}

HWND TApplication::Handle() {
    if (FHandle && IsWindow(FHandle))
        return FHandle;
    FWndProc = MakeWindowProc(
        [this](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) { return WndProc(Wnd, Msg, W, L); });
    WNDCLASS Class;
    Class.lpfnWndProc = DefWindowProc;
    Class.lpszClassName = "TApplication";
    if (!GetClassInfo(nullptr, "TApplication", &Class))
        RegisterClass(&Class);
    FHandle = CreateWindowEx(WS_EX_TOOLWINDOW, "TApplication", FTitle.c_str(), WS_POPUP, 0, 0, 0, 0,
                             nullptr, nullptr, nullptr, nullptr);
    SetWindowLong(FHandle, GWL_WNDPROC, LONG_PTR(FWndProc));
    SetControlReleaseWindow(FHandle);
    // A worker's Synchronize or Queue wakes whichever loop runs.
    HWND Wnd = FHandle;
    SetWakeMainThread([Wnd] { PostMessage(Wnd, WM_NULL, 0, 0); });
    return FHandle;
}

LRESULT TApplication::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    try {
        switch (Msg) {
        case WM_NULL:
            CheckSynchronize();
            return 0;
        case CM_FREECONTROL:
            FreeReleasedControl(reinterpret_cast<TControl*>(LParam));
            return 0;
        case WM_WINDOWPOSCHANGING:
            // This desktop gives the application's own window no task-bar
            // role: shown, it would only be a stray one-pixel window at the
            // screen's corner. Whoever shows it, it stays hidden.
            reinterpret_cast<WINDOWPOS*>(LParam)->flags &= ~SWP_SHOWWINDOW;
            return 0;
        case WM_ACTIVATEAPP:
            FActive = WParam != 0;
            if (FActive) {
                if (OnActivate)
                    OnActivate(this);
            } else {
                CancelHint();
                if (OnDeactivate)
                    OnDeactivate(this);
            }
            return 0;
        case WM_SYSCOMMAND:
            if ((WParam & 0xFFF0) == SC_MINIMIZE) {
                Minimize();
                return 0;
            }
            if ((WParam & 0xFFF0) == SC_RESTORE) {
                Restore();
                return 0;
            }
            break;
        case WM_CLOSE:
            if (FMainForm)
                FMainForm->Close();
            return 0;
        case WM_TIMER:
            if (WParam == HintTimerId) {
                TrackHint();
                return 0;
            }
            break;
        default:
            break;
        }
    } catch (...) {
        HandleException(this);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

void TApplication::FormCreated(TCustomForm*) {
    // Forms made before the main form were owned by the application's
    // window; they follow the main form now.
    if (!Screen)
        return;
    for (int I = 0; I < Screen->FormCount(); ++I)
        if (Screen->Forms(I) != FMainForm && Screen->Forms(I)->HandleAllocated() &&
            !Screen->Forms(I)->Parent())
            SetWindowLong(Screen->Forms(I)->Handle(), GWL_HWNDPARENT,
                          LONG_PTR(FMainForm->Handle()));
}

void TApplication::SetTitle(const std::string& Value) {
    FTitle = Value;
    if (FHandle)
        SetWindowText(FHandle, Value);
}

std::string TApplication::ExeName() const {
    char Buffer[4096];
    ssize_t Len = readlink("/proc/self/exe", Buffer, sizeof(Buffer) - 1);
    return Len > 0 ? std::string(Buffer, std::size_t(Len)) : std::string();
}

void TApplication::Run() {
    Handle();
    if (FMainForm && FShowMainForm)
        FMainForm->SetVisible(true);
    while (!FTerminated)
        HandleMessage();
}

void TApplication::Terminate() {
    FTerminated = true;
    if (FHandle)
        PostMessage(FHandle, WM_NULL, 0, 0);
}

namespace {

bool ProcessOneMessage(TApplication* App, bool& Terminated) {
    MSG Msg;
    if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (Msg.message == WM_QUIT) {
        Terminated = true;
        return true;
    }
    if (!App->PreprocessMessage(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessage(&Msg);
    }
    return true;
}

} // namespace

void TApplication::HandleMessage() {
    Handle();
    if (ProcessOneMessage(this, FTerminated))
        return;
    if (Idle() && !FTerminated)
        WaitMessage();
}

void TApplication::ProcessMessages() {
    Handle();
    while (ProcessOneMessage(this, FTerminated)) {
    }
}

bool TApplication::Idle() {
    UpdateMouseControl();
    TrackHint();
    bool Done = true;
    if (OnIdle) {
        try {
            OnIdle(this, Done);
        } catch (...) {
            HandleException(this);
        }
    }
    CheckSynchronize();
    return Done;
}

bool TApplication::PreprocessMessage(MSG& Msg) {
    bool Handled = false;
    // Newest hook first; a hook may remove itself or others while it runs.
    auto Hooks = FMessageHooks;
    for (auto It = Hooks.rbegin(); It != Hooks.rend() && !Handled; ++It) {
        if (std::find(FMessageHooks.begin(), FMessageHooks.end(), *It) == FMessageHooks.end())
            continue;
        (*It)(Msg, Handled);
    }
    if (!Handled && OnMessage)
        OnMessage(Msg, Handled);
    if (Handled)
        return true;
    IsHintMsg(Msg);
    return IsKeyMsg(Msg);
}

bool TApplication::IsKeyMsg(MSG& Msg) {
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST)
        return false;
    HWND Wnd = Msg.hwnd;
    TWinControl* Control = nullptr;
    // Keys of a native part (an inner window) go to its control.
    while (Wnd && !(Control = FindControl(Wnd)))
        Wnd = GetParent(Wnd);
    if (!Control)
        return false;
    return Control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::AddMessageHook(const TMessageEvent& Hook) {
    FMessageHooks.push_back(Hook);
}

void TApplication::RemoveMessageHook(const TMessageEvent& Hook) {
    auto It = std::find(FMessageHooks.begin(), FMessageHooks.end(), Hook);
    if (It != FMessageHooks.end())
        FMessageHooks.erase(It);
}

void TApplication::AddShowHintHook(const TShowHintEvent& Hook) {
    FShowHintHooks.push_back(Hook);
}

void TApplication::RemoveShowHintHook(const TShowHintEvent& Hook) {
    auto It = std::find(FShowHintHooks.begin(), FShowHintHooks.end(), Hook);
    if (It != FShowHintHooks.end())
        FShowHintHooks.erase(It);
}

void TApplication::HandleException(TObject* Sender) {
    try {
        throw;
    } catch (const std::exception& E) {
        if (OnException)
            OnException(Sender, E);
        else
            ShowException(E);
    } catch (...) {
    }
}

void TApplication::ShowException(const std::exception& E) {
    std::string Text = E.what();
    if (!Text.empty() && Text.back() != '.')
        Text += '.';
    MessageBox(Text, FTitle, MB_OK | MB_ICONHAND);
}

void TApplication::Minimize() {
    if (FMinimized || !FMainForm || !FMainForm->HandleAllocated())
        return;
    FMinimized = true;
    ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
    SendMessage(Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    if (OnMinimize)
        OnMinimize(this);
}

void TApplication::Restore() {
    if (!FMinimized || !FMainForm || !FMainForm->HandleAllocated())
        return;
    FMinimized = false;
    ShowWindow(FMainForm->Handle(), SW_RESTORE);
    SendMessage(Handle(), WM_SIZE, SIZE_RESTORED, 0);
    SetActiveWindow(FMainForm->Handle());
    if (OnRestore)
        OnRestore(this);
}

void TApplication::BringToFront() {
    if (!FMainForm || !FMainForm->HandleAllocated())
        return;
    HWND Active = GetActiveWindow();
    HWND Target = Active && FindControl(Active) ? Active : FMainForm->Handle();
    BringWindowToTop(Target);
    SetActiveWindow(Target);
}

bool TApplication::HelpContext(int Context) {
    return HelpCommand(0x0001, Context);
}

bool TApplication::HelpCommand(WORD Command, std::intptr_t Data) {
    bool CallHelp = true;
    bool Result = false;
    if (OnHelp)
        Result = OnHelp(Command, Data, CallHelp);
    // The active form may name a help file of its own (a dialog's help
    // button); else the application's. The file goes to the desktop's
    // opener; what it makes of it is not ours to check.
    std::string File = FHelpFile;
    if (Screen && Screen->ActiveForm() && !Screen->ActiveForm()->HelpFile().empty())
        File = Screen->ActiveForm()->HelpFile();
    if (CallHelp && !File.empty()) {
        ShellExecute(nullptr, "open", File.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        Result = true;
    }
    return Result;
}

HWND TApplication::AllocateMessageWindow(TWindowMethod Method) {
    WNDPROC Proc = MakeWindowProc([Method](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        TMessage Message{Msg, W, L, 0};
        try {
            Method(Message);
        } catch (...) {
            if (Application)
                Application->HandleException(nullptr);
        }
        (void)Wnd;
        return Message.Result;
    });
    WNDCLASS Class;
    Class.lpfnWndProc = DefWindowProc;
    Class.lpszClassName = "TPUtilWindow";
    if (!GetClassInfo(nullptr, "TPUtilWindow", &Class))
        RegisterClass(&Class);
    HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, nullptr, nullptr);
    SetWindowLong(Wnd, GWL_WNDPROC, LONG_PTR(Proc));
    FMessageWindows.emplace_back(Wnd, Proc);
    return Wnd;
}

void TApplication::DeallocateMessageWindow(HWND Wnd) {
    auto It = std::find_if(FMessageWindows.begin(), FMessageWindows.end(),
                           [Wnd](const auto& Entry) { return Entry.first == Wnd; });
    if (It == FMessageWindows.end())
        return;
    WNDPROC Proc = It->second;
    FMessageWindows.erase(It);
    DestroyWindow(Wnd);
    FreeWindowProc(Proc);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMainForm)
        FMainForm = nullptr;
    if (AComponent == FHintWindow)
        FHintWindow = nullptr;
    if (AComponent == FHintControl)
        FHintControl = nullptr;
    if (AComponent == FHintCandidate)
        FHintCandidate = nullptr;
}

// ---------------------------------------------------------------- TMonitor

namespace {

MONITORINFO InfoOf(HMONITOR Handle) {
    MONITORINFO Info;
    GetMonitorInfo(Handle, &Info);
    return Info;
}

} // namespace

TRect TMonitor::BoundsRect() const {
    return InfoOf(FHandle).rcMonitor;
}

TRect TMonitor::WorkareaRect() const {
    return InfoOf(FHandle).rcWork;
}

bool TMonitor::Primary() const {
    return (InfoOf(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0;
}

// ---------------------------------------------------------------- TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
    FHintFont.SetName("Tahoma");
    FMenuFont.SetName("Tahoma");
    FIconFont.SetName("Tahoma");
}

TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount())
        RaiseListIndexError(Index);
    return FForms[Index];
}

void TScreen::AddForm(TCustomForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
    if (FActiveForm == Form) {
        FActiveForm = nullptr;
        FActiveControl = nullptr;
        if (OnActiveFormChange)
            OnActiveFormChange(this);
    }
    if (FActiveControl && Form->ContainsControl(FActiveControl))
        FActiveControl = nullptr;
}

void TScreen::SetActive(TCustomForm* Form, TWinControl* Control) {
    bool FormChanged = Form != FActiveForm;
    bool ControlChanged = Control != FActiveControl;
    FActiveForm = Form;
    FActiveControl = Control;
    if (FormChanged && OnActiveFormChange)
        OnActiveFormChange(this);
    if (ControlChanged && OnActiveControlChange)
        OnActiveControlChange(this);
}

TCursor TScreen::Cursor() const {
    return ScreenCursor();
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == ScreenCursor())
        return;
    SetScreenCursor(Value);
    if (Value != crDefault) {
        ::SetCursor(CursorHandle(Value));
    } else {
        // Each control's own cursor shows again at the next pointer move.
        TPoint P;
        GetCursorPos(&P);
        SetCursorPos(P.X, P.Y);
    }
}

HCURSOR TScreen::Cursors(TCursor Index) const {
    return CursorHandle(Index);
}

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::DesktopRect() const {
    int L = GetSystemMetrics(SM_XVIRTUALSCREEN), T = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Bounds(L, T, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
    TRect R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
}

TMonitor* TScreen::MonitorOf(HMONITOR Handle) {
    for (auto& M : FMonitors)
        if (M->FHandle == Handle)
            return M.get();
    auto M = std::make_unique<TMonitor>();
    M->FHandle = Handle;
    M->FMonitorNum = static_cast<int>(FMonitors.size());
    FMonitors.push_back(std::move(M));
    return FMonitors.back().get();
}

int TScreen::MonitorCount() {
    return GetSystemMetrics(SM_CMONITORS);
}

TMonitor* TScreen::Monitors(int Index) {
    std::vector<HMONITOR> Handles;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [&Handles](HMONITOR M, HDC, TRect*, LPARAM) {
            Handles.push_back(M);
            return TRUE;
        },
        0);
    if (Index < 0 || Index >= static_cast<int>(Handles.size()))
        RaiseListIndexError(Index);
    return MonitorOf(Handles[Index]);
}

TMonitor* TScreen::PrimaryMonitor() {
    return MonitorOf(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

TMonitor* TScreen::MonitorFromWindow(HWND Wnd) {
    return MonitorOf(::MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromPoint(TPoint P) {
    return MonitorOf(::MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromRect(const TRect& R) {
    return MonitorOf(::MonitorFromRect(&R, MONITOR_DEFAULTTONEAREST));
}
