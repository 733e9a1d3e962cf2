// Forms, the screen and the application object.
//
// A form is a top-level window control. The main form is unowned; every
// other form's window is owned by the main form's (by the application's
// hidden window while there is none), so dialogs stay above the main window
// and hide with it. Forms are composed in code inside a loading bracket
// (BeginLoading/EndLoading of the core): setters that are silent while
// loading stay silent while a form is built, and Loaded then runs once per
// component in creation order, before OnCreate.
//
// The application runs the message loop: every queued message passes the
// message hooks (newest first) and OnMessage, the hint, the form's
// shortcuts and the key pre-processing of the focused control before it is
// dispatched.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/gdi/Icons.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TApplication;
class TScreen;
class THintWindow;
class TMonitor;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TFormBorderStyle = TBorderStyle;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;
constexpr TModalResult mrClose = 11;

// Sent to an MDI child that loses (wParam) and to one that gains (lParam)
// the activation within its client window.
constexpr UINT WM_MDIACTIVATE = 0x222;

constexpr UINT MB_OKCANCEL = 1;
constexpr UINT MB_ABORTRETRYIGNORE = 2;
constexpr UINT MB_YESNOCANCEL = 3;
constexpr UINT MB_YESNO = 4;
constexpr UINT MB_RETRYCANCEL = 5;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

using TCloseEvent = TMethod<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TMethod<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = TMethod<void(TWMKey& Msg, bool& Handled)>;

// ---------------------------------------------------------------- TCustomForm

class TCustomForm : public TWinControl, public TFormServices {
public:
    explicit TCustomForm(TComponent* AOwner);
    // A form built in code without the loading bracket's Loaded pass.
    static TCustomForm* CreateNew(TComponent* AOwner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    bool KeyPreview() const override { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    // Inside a modal run, a result ends it even when set while the loop
    // is idle.
    void SetModalResult(TModalResult Value);
    TWinControl* ActiveControl() const override { return FActiveControl; }
    void SetActiveControl(TWinControl* Control) override;
    bool Active() const override { return FActive; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value);
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* Value);
    TCanvas* Canvas() { return &FCanvas; }
    TIcon* Icon() { return &FIcon; }
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    TMonitor* Monitor();
    bool ModalRunning() const { return FModalLevel > 0; }

    void Show();
    void Hide() { SetVisible(false); }
    // Runs the form modally; answers its ModalResult.
    virtual int ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages waiting for it are handled.
    void Release();
    void FocusControl(TWinControl* Control) override;
    // Makes Control the focused one; runs CM_EXIT, CM_ENTER, CM_FOCUSCHANGED.
    bool SetFocusedControl(TWinControl* Control) override;
    // Called when Control is hidden, disabled or removed: the focus goes
    // back to the form when Control (or a child of it) has it.
    void DefocusControl(TWinControl* Control, bool Removing) override;
    // The form's shortcut handling: OnShortCut, then the menus.
    bool IsShortCut(TMessage& Message) override;
    bool DoKeyDown(TMessage& Message) override;
    bool DoKeyUp(TMessage& Message) override;
    bool DoKeyPress(TMessage& Message) override;
    void SetFocus() override;
    bool CanFocus() override { return FVisible && FEnabled; }
    bool Showing() const override { return FShowing; }
    void SetVisible(bool Value) override;
    TPoint ClientOrigin() override;
    // Without a window yet: the bounds less the frame the window will have.
    TRect ClientRect() override;

    // MDI
    HWND ClientHandle() const { return FClientHandle; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int Index) const;
    TCustomForm* ActiveMDIChild() const;
    void Next();
    void Previous();
    // Arrange the MDI children that are not minimized in the client
    // window: overlapping from its top-left / one below the other.
    void Cascade();
    void Tile();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void CreateParams(TCreateParams& Params) override;
    // The styles of the border style and icons.
    void FrameStyles(DWORD& Style, DWORD& ExStyle) const;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();
    void PaintWindow(HDC DC) override;
    void FreeDeviceContexts() override;
    void Dispatch(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    virtual void WMClose(TMessage& Message);
    virtual void WMActivate(TMessage& Message);
    virtual void WMGetMinMaxInfo(TMessage& Message);
    virtual void CMActivate(TMessage& Message);
    virtual void CMDeactivate(TMessage& Message);
    virtual void CMRelease(TMessage& Message);
    void CMShowingChanged(TMessage& Message) override;
    void CMFocusChanged(TMessage&) override {}
    // Places the form by Position at its first show.
    void ApplyPosition();
    void UpdateWindowOwner();
    void ApplyStayOnTop();
    void ApplyAlphaBlend();
    void CreateMDIClient();
    // The MDI client takes what the aligned controls leave.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    // Makes this MDI child the active one of its client window.
    void MDIActivate();
    std::vector<TCustomForm*> MDIChildList() const;
    // A child window has no states of the window system's own: an MDI
    // child is maximized to its client window and minimized to a caption
    // strip in the client's bottom-left corner by the library.
    void ApplyMDIChildState(TWindowState Old);
    TRect MDIClientArea() const;
    void FitMaximizedMDIChildren();
    // Follows the states the window system gives a top-level form.
    void WMSize(TMessage& Message) override;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FActive = false;
    bool FAlphaBlend = false;
    BYTE FAlphaBlendValue = 255;
    TMainMenu* FMenu = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    TControlCanvas FCanvas;
    TIcon FIcon;
    std::string FHelpFile;
    bool FAutoScroll = false;
    bool FScaled = true;
    int FPixelsPerInch = 96;
    int FModalLevel = 0;
    bool FPositioned = false;
    bool FCreated = false;
    HWND FClientHandle = nullptr;
    // An MDI child's bounds before it was minimized or maximized.
    TRect FNormalBounds;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form Control lies on (the top of its parent chain), null for none.
TCustomForm* GetParentForm(TControl* Control);
// The same, raising EInvalidOperation when there is none.
TCustomForm* ValidParentForm(TControl* Control);

// Composes a form of class T in code: its constructor runs inside the
// loading bracket, then Loaded runs for every component and OnCreate fires.
template <class T, class... A> T* CreateFormInCode(TComponent* AOwner, A&&... Args);
// The bracket without the construction, for forms made another way.
void BeginFormLoading(TCustomForm* Form);
void EndFormLoading(TCustomForm* Form);

// ---------------------------------------------------------------- TMonitor, TScreen

class TMonitor : public TObject {
public:
    HMONITOR Handle() const { return FHandle; }
    int MonitorNum() const { return FMonitorNum; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const { return BoundsRect().Width(); }
    int Height() const { return BoundsRect().Height(); }
    bool Primary() const;

private:
    friend class TScreen;
    HMONITOR FHandle = nullptr;
    int FMonitorNum = 0;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const;
    int CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int Index) const { return Forms(Index); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCursor Cursor() const;
    void SetCursor(TCursor Value);
    HCURSOR Cursors(TCursor Index) const;

    int Width() const;
    int Height() const;
    TRect DesktopRect() const;
    int DesktopLeft() const { return DesktopRect().Left; }
    int DesktopTop() const { return DesktopRect().Top; }
    int DesktopWidth() const { return DesktopRect().Width(); }
    int DesktopHeight() const { return DesktopRect().Height(); }
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int MonitorCount();
    TMonitor* Monitors(int Index);
    TMonitor* PrimaryMonitor();
    TMonitor* MonitorFromWindow(HWND Wnd);
    TMonitor* MonitorFromPoint(TPoint P);
    TMonitor* MonitorFromRect(const TRect& R);
    int PixelsPerInch() const { return 96; }
    TFont* HintFont() { return &FHintFont; }
    TFont* MenuFont() { return &FMenuFont; }
    TFont* IconFont() { return &FIconFont; }

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void SetActive(TCustomForm* Form, TWinControl* Control);
    TMonitor* MonitorOf(HMONITOR Handle);

    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    std::vector<std::unique_ptr<TMonitor>> FMonitors;
    TFont FHintFont;
    TFont FMenuFont;
    TFont FIconFont;
};

// ---------------------------------------------------------------- hints

struct THintInfo {
    TControl* HintControl = nullptr;
    std::function<THintWindow*(TComponent*)> HintWindowClass;
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};

using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    virtual void ActivateHint(TRect Rect, const std::string& AHint);
    virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
    virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
    virtual bool IsHintMsg(const MSG& Msg);
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
};

// ---------------------------------------------------------------- TApplication

using TMessageEvent = TMethod<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = TMethod<void(TObject* Sender, const std::exception& E)>;
using TIdleEvent = TMethod<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = TMethod<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using THelpEvent = TMethod<bool(WORD Command, std::intptr_t Data, bool& CallHelp)>;
using TWindowMethod = TMethod<void(TMessage& Message)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    // Creates a form of class T (owned by the application) inside the
    // loading bracket; the first one becomes MainForm.
    template <class T> T* CreateForm();
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void HandleMessage();
    void ProcessMessages();
    // Answers whether the loop may wait: OnIdle can ask to be called again.
    bool Idle();

    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* Value) { FMainForm = Value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    HWND Handle();
    TIcon* Icon() { return &FIcon; }
    std::string ExeName() const;
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
    bool HelpContext(int Context);
    bool HelpCommand(WORD Command, std::intptr_t Data);
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool Value) { FShowMainForm = Value; }
    bool Active() const { return FActive; }
    bool Minimized() const { return FMinimized; }

    void Minimize();
    void Restore();
    void BringToFront();

    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags);

    // Message hooks, offered every queued message newest first, then
    // OnMessage; removal by identity in any order.
    void AddMessageHook(const TMessageEvent& Hook);
    void RemoveMessageHook(const TMessageEvent& Hook);
    void AddShowHintHook(const TShowHintEvent& Hook);
    void RemoveShowHintHook(const TShowHintEvent& Hook);

    // Hints.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int Value) { FHintShortPause = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    void ActivateHint(TPoint CursorPos);
    void CancelHint();
    void HideHint();
    THintWindow* HintWindow() const { return FHintWindow; }

    // A hidden window whose procedure is Method.
    HWND AllocateMessageWindow(TWindowMethod Method);
    void DeallocateMessageWindow(HWND Wnd);

    // Runs the application's processing of one message taken from the queue
    // (hooks, hint, keys); answers whether it was handled and not dispatched.
    bool PreprocessMessage(MSG& Msg);

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnHint;
    THelpEvent OnHelp;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    THintWindowClass HintWindowClass;

    // Internal to the library.
    void FormCreated(TCustomForm* Form);
    void TrackHint();
    void ModalStarted() { ++FModalLevel; }
    void ModalFinished() { --FModalLevel; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    bool IsKeyMsg(MSG& Msg);
    bool IsHintMsg(MSG& Msg);
    bool RunShowHintHooks(std::string& HintStr, THintInfo& Info);
    void ShowHintFor(TControl* Control, TPoint CursorPos);
    void HideHintWindow();
    void CreateHintWindow();
    std::uint32_t Now() const;

    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::string FTitle = "Ostrela";
    HWND FHandle = nullptr;
    WNDPROC FWndProc = nullptr;
    TIcon FIcon;
    std::string FHelpFile = "help.chm";
    bool FShowMainForm = true;
    bool FActive = false;
    bool FMinimized = false;
    int FModalLevel = 0;
    std::vector<TMessageEvent> FMessageHooks;
    std::vector<TShowHintEvent> FShowHintHooks;
    std::vector<std::pair<HWND, WNDPROC>> FMessageWindows;

    bool FShowHint = true;
    int FHintPause = 500;
    int FHintShortPause = 50;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    std::string FHint;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    TControl* FHintCandidate = nullptr;
    std::uint32_t FHintCandidateSince = 0;
    bool FHintShowing = false;
    std::uint32_t FHintShownAt = 0;
    std::uint32_t FHintHiddenAt = 0;
    bool FHintRecentlyShown = false;
    TRect FHintCursorRect;
    int FHintHideTimeout = 0;
};

extern TApplication* Application;
extern TScreen* Screen;

// Makes the global Application, Screen and Mouse (once); tests call it
// after resetting the window system. DoneApplication frees them.
void InitApplication();
void DoneApplication();

// ---------------------------------------------------------------- templates

// Set while CreateFormInCode constructs a form: the form's constructor then
// starts the loading bracket before a derived constructor creates children.
extern bool GComposeFormInCode;

template <class T, class... A> T* CreateFormInCode(TComponent* AOwner, A&&... Args) {
    bool Saved = GComposeFormInCode;
    GComposeFormInCode = true;
    T* Form = nullptr;
    try {
        Form = new T(AOwner, std::forward<A>(Args)...);
    } catch (...) {
        GComposeFormInCode = Saved;
        throw;
    }
    GComposeFormInCode = Saved;
    EndFormLoading(Form);
    return Form;
}

template <class T> T* TApplication::CreateForm() {
    T* Form = CreateFormInCode<T>(this);
    if (!FMainForm) {
        FMainForm = Form;
        FormCreated(Form);
    }
    return Form;
}
