// TCustomForm: creation, showing, activation and focus, closing, the modal
// loop, positions, stay-on-top and alpha blending, minimal MDI.
#include "platform/forms/Forms.h"

#include "platform/core/Exceptions.h"

#include <algorithm>

bool GComposeFormInCode = false;

TCustomForm* GetParentForm(TControl* Control) {
    if (!Control)
        return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(Control);
}

TCustomForm* ValidParentForm(TControl* Control) {
    TCustomForm* Form = GetParentForm(Control);
    if (!Form)
        throw EInvalidOperation(Format("Control '%s' has no parent form", {Control->Name()}));
    return Form;
}

void BeginFormLoading(TCustomForm* Form) {
    Form->BeginLoading();
}

void EndFormLoading(TCustomForm* Form) {
    if (Form->ComponentState().Contains(csLoading))
        Form->EndLoading();
}

// ---------------------------------------------------------------- life

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    if (GComposeFormInCode) {
        GComposeFormInCode = false;
        BeginLoading();
    }
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                     csDoubleClicks};
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FColor = clBtnFace;
    FBrush.SetColor(FColor);
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    FCanvas.SetControl(this);
    FIcon.OnChange = [this](TObject*) { Perform(CM_ICONCHANGED, 0, 0); };
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm* TCustomForm::CreateNew(TComponent* AOwner) {
    auto* Form = new TCustomForm(AOwner);
    Form->DoCreate();
    return Form;
}

TCustomForm::~TCustomForm() {
    // Also when the owner's destruction marked the form already.
    Destroying();
    DoDestroy();
    if (Application && Application->MainForm() == this)
        Application->SetMainForm(nullptr);
    if (Screen)
        Screen->RemoveForm(this);
    FCanvas.SetControl(nullptr);
    FIcon.OnChange = nullptr;
    // Owned components go while the form's fields still exist.
    DestroyComponents();
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    DoCreate();
}

void TCustomForm::DoCreate() {
    if (FCreated)
        return;
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy)
        OnDestroy(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMenu)
        FMenu = nullptr;
    if (AComponent == FWindowMenu)
        FWindowMenu = nullptr;
    if (AComponent == FActiveControl)
        FActiveControl = nullptr;
    if (AComponent == FFocusedControl)
        FFocusedControl = nullptr;
}

// ---------------------------------------------------------------- window

void TCustomForm::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
    Params.Style |= WS_CLIPCHILDREN;
    Params.WindowClass.style = CS_DBLCLKS;
    Params.WindowClass.hbrBackground = nullptr;
    DWORD Style = 0, ExStyle = 0;
    FrameStyles(Style, ExStyle);
    Params.Style |= Style;
    Params.ExStyle |= ExStyle;
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (FAlphaBlend)
        Params.ExStyle |= WS_EX_LAYERED;
    if (FFormStyle == fsMDIChild) {
        TCustomForm* Main = Application ? Application->MainForm() : nullptr;
        if (!Main || Main->FFormStyle != fsMDIForm || !Main->FClientHandle)
            throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
        Params.Style = (Params.Style & ~(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
        Params.ExStyle |= WS_EX_MDICHILD;
        Params.WndParent = Main->FClientHandle;
    } else if (FParent) {
        Params.Style |= WS_CHILD;
    } else if (FParentWindow) {
        Params.WndParent = FParentWindow;
    } else if (Application && Application->MainForm() && Application->MainForm() != this) {
        Params.WndParent = Application->MainForm()->Handle();
    } else if (Application && Application->MainForm() != this) {
        Params.WndParent = Application->Handle();
    } else {
        Params.WndParent = nullptr;
    }
}

void TCustomForm::FrameStyles(DWORD& Style, DWORD& ExStyle) const {
    switch (FBorderStyle) {
    case bsNone:
        Style |= WS_POPUP;
        break;
    case bsSingle:
        Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
        Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        Style |= WS_POPUP | WS_CAPTION;
        ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        Style |= WS_CAPTION;
        ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        Style |= WS_CAPTION | WS_THICKFRAME;
        ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu))
            Style |= WS_SYSMENU;
        if (FBorderIcons.Contains(biMinimize) && FBorderStyle != bsDialog)
            Style |= WS_MINIMIZEBOX;
        if (FBorderIcons.Contains(biMaximize) && FBorderStyle != bsDialog)
            Style |= WS_MAXIMIZEBOX;
        if (FBorderIcons.Contains(biHelp))
            ExStyle |= WS_EX_CONTEXTHELP;
    }
}

TRect TCustomForm::ClientRect() {
    if (FHandle || FFormStyle == fsMDIChild)
        return TWinControl::ClientRect();
    DWORD Style = 0, ExStyle = 0;
    FrameStyles(Style, ExStyle);
    TRect Frame{0, 0, 0, 0};
    AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
    return {0, 0, std::max(0, FWidth - Frame.Width()), std::max(0, FHeight - Frame.Height())};
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (FAlphaBlend)
        ApplyAlphaBlend();
    if (FFormStyle == fsMDIForm)
        CreateMDIClient();
}

void TCustomForm::DestroyWnd() {
    FClientHandle = nullptr;
    TWinControl::DestroyWnd();
}

void TCustomForm::FreeDeviceContexts() {
    FCanvas.FreeHandle();
}

void TCustomForm::UpdateWindowOwner() {
    if (!FHandle || FParent || FFormStyle == fsMDIChild)
        return;
    HWND Owner = nullptr;
    if (Application && Application->MainForm() && Application->MainForm() != this)
        Owner = Application->MainForm()->Handle();
    else if (Application && Application->MainForm() != this)
        Owner = Application->Handle();
    SetWindowLong(FHandle, GWL_HWNDPARENT, LONG_PTR(Owner));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
    Perform(CM_BORDERCHANGED, 0, 0);
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (Value == FBorderIcons)
        return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (Value == FFormStyle)
        return;
    TFormStyle Old = FFormStyle;
    FFormStyle = Value;
    if ((Old == fsStayOnTop) != (Value == fsStayOnTop) && Old != fsMDIChild &&
        Value != fsMDIChild && Old != fsMDIForm && Value != fsMDIForm) {
        ApplyStayOnTop();
        return;
    }
    RecreateWnd();
}

void TCustomForm::ApplyStayOnTop() {
    if (FHandle)
        SetWindowPos(FHandle, FFormStyle == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetAlphaBlend(bool Value) {
    if (Value == FAlphaBlend)
        return;
    FAlphaBlend = Value;
    ApplyAlphaBlend();
}

void TCustomForm::SetAlphaBlendValue(BYTE Value) {
    if (Value == FAlphaBlendValue)
        return;
    FAlphaBlendValue = Value;
    if (FAlphaBlend)
        ApplyAlphaBlend();
}

void TCustomForm::ApplyAlphaBlend() {
    if (!FHandle)
        return;
    LONG_PTR ExStyle = GetWindowLong(FHandle, GWL_EXSTYLE);
    if (FAlphaBlend) {
        SetWindowLong(FHandle, GWL_EXSTYLE, ExStyle | WS_EX_LAYERED);
        SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
    } else if (ExStyle & WS_EX_LAYERED) {
        SetWindowLong(FHandle, GWL_EXSTYLE, ExStyle & ~LONG_PTR(WS_EX_LAYERED));
    }
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (Value == FMenu)
        return;
    FMenu = Value;
    if (Value)
        Value->FreeNotification(this);
    Perform(CM_MENUCHANGED, 0, 0);
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
    if (Value == FWindowMenu)
        return;
    FWindowMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (Value == FWindowState)
        return;
    TWindowState Old = FWindowState;
    FWindowState = Value;
    if (!FHandle || !Showing())
        return;
    if (FFormStyle == fsMDIChild) {
        ApplyMDIChildState(Old);
        return;
    }
    static const int Commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, Commands[Value]);
}

void TCustomForm::WMSize(TMessage& Message) {
    // Minimizing the application iconifies the main form without changing
    // the state the form keeps; a window being made or still hidden has no
    // state of its own yet.
    bool Ours = FFormStyle == fsMDIChild || FParent ||
                (Application && Application->MainForm() == this && Application->Minimized());
    // The desktop restored the minimized main form itself (a task bar, the
    // window manager): the application is no longer minimized, so that it
    // can be minimized again and its other windows come back.
    if (Application && Application->MainForm() == this && Application->Minimized() && FHandle &&
        Message.WParam == SIZE_RESTORED && !IsIconic(FHandle))
        Application->Restore();
    if (!Ours && FHandle && IsWindowVisible(FHandle)) {
        if (Message.WParam == SIZE_MINIMIZED)
            FWindowState = wsMinimized;
        else if (Message.WParam == SIZE_MAXIMIZED)
            FWindowState = wsMaximized;
        else if (Message.WParam == SIZE_RESTORED && !IsIconic(FHandle) && !IsZoomed(FHandle))
            FWindowState = wsNormal;
    }
    TWinControl::WMSize(Message);
}

TPoint TCustomForm::ClientOrigin() {
    TPoint P{0, 0};
    ::ClientToScreen(Handle(), &P);
    return P;
}

TMonitor* TCustomForm::Monitor() {
    return Screen ? Screen->MonitorFromWindow(Handle()) : nullptr;
}

// ---------------------------------------------------------------- showing

void TCustomForm::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    if (!Value && FModalLevel > 0 && FModalResult == mrNone)
        FModalResult = mrCancel;
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value, 0);
}

void TCustomForm::Show() {
    SetVisible(true);
    // Bringing an MDI child forward makes it the active child, so the one it
    // covers is told it lost the activation.
    if (FFormStyle == fsMDIChild)
        MDIActivate();
    else if (FHandle)
        BringWindowToTop(FHandle);
}

void TCustomForm::ApplyPosition() {
    if (FPositioned || !Screen)
        return;
    FPositioned = true;
    TRect Area;
    switch (FPosition) {
    case poScreenCenter:
        Area = Screen->PrimaryMonitor() ? Screen->PrimaryMonitor()->WorkareaRect()
                                        : Screen->WorkAreaRect();
        break;
    case poDesktopCenter:
        // The bounding box of every monitor's work area.
        Area = Screen->PrimaryMonitor()->WorkareaRect();
        for (int I = 0; I < Screen->MonitorCount(); ++I) {
            TRect Work = Screen->Monitors(I)->WorkareaRect();
            UnionRect(&Area, &Area, &Work);
        }
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* Centre = nullptr;
        if (FPosition == poOwnerFormCenter)
            Centre = dynamic_cast<TCustomForm*>(Owner());
        if (!Centre && Application)
            Centre = Application->MainForm();
        if (!Centre || Centre == this) {
            Area = Screen->WorkAreaRect();
            break;
        }
        Area = Centre->BoundsRect();
        break;
    }
    case poDefault:
    case poDefaultPosOnly: {
        // Successive forms cascade from the work area's corner.
        static int Cascade = 0;
        TRect Work = Screen->WorkAreaRect();
        // Back to the corner when the next step would leave the work area.
        if (Work.Left + Cascade * 20 + FWidth > Work.Right ||
            Work.Top + Cascade * 20 + FHeight > Work.Bottom)
            Cascade = 0;
        SetBounds(Work.Left + Cascade * 20, Work.Top + Cascade * 20, FWidth, FHeight);
        ++Cascade;
        return;
    }
    default:
        return;
    }
    SetBounds(Area.Left + (Area.Width() - FWidth) / 2, Area.Top + (Area.Height() - FHeight) / 2,
              FWidth, FHeight);
}

void TCustomForm::CMShowingChanged(TMessage&) {
    if (FShowing) {
        ApplyPosition();
        DoShow();
        if (FFormStyle == fsMDIChild) {
            ShowWindow(FHandle, SW_SHOW);
            if (FWindowState != wsNormal)
                ApplyMDIChildState(wsNormal);
            MDIActivate();
        } else {
            static const int Commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
            ShowWindow(FHandle, Commands[FWindowState]);
        }
        if (FFormStyle == fsStayOnTop)
            ApplyStayOnTop();
    } else {
        DoHide();
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TCustomForm::DoShow() {
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide)
        OnHide(this);
}

// ---------------------------------------------------------------- activation and focus

void TCustomForm::Activate() {
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::CMActivate(TMessage&) {
    Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
    Deactivate();
}

void TCustomForm::WMActivate(TMessage& Message) {
    // Not passed on: the default would focus the form itself and lose the
    // control the form means to focus.
    bool Value = LOWORD(Message.WParam) != WA_INACTIVE;
    if (Value == FActive)
        return;
    FActive = Value;
    if (Value) {
        if (Screen)
            Screen->SetActive(this, FActiveControl);
        if (!FActiveControl)
            FActiveControl = FindNextControl(nullptr, true, true, false);
        HWND Target =
            FActiveControl && FActiveControl->CanFocus() ? FActiveControl->Handle() : FHandle;
        ::SetFocus(Target);
        Perform(CM_ACTIVATE, 0, 0);
    } else {
        Perform(CM_DEACTIVATE, 0, 0);
        if (Application)
            Application->CancelHint();
    }
}

void TCustomForm::SetFocus() {
    if (!FHandle || !Showing() || !FEnabled)
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (FActive) {
        HWND Target = FActiveControl ? FActiveControl->Handle() : FHandle;
        ::SetFocus(Target);
        return;
    }
    SetActiveWindow(FHandle);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl)
        return;
    // The form itself may still be hidden: a dialog picks its control first.
    auto Focusable = [this](TWinControl* C) {
        for (; C && C != this; C = C->Parent())
            if (!C->Visible() || !C->Enabled())
                return false;
        return true;
    };
    if (Control && (Control == this || GetParentForm(Control) != this ||
                    (!ComponentState().Contains(csLoading) && !Focusable(Control))))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (ComponentState().Contains(csLoading))
        return;
    if (FActive && FHandle)
        ::SetFocus(Control ? Control->Handle() : FHandle);
}

void TCustomForm::FocusControl(TWinControl* Control) {
    bool WasActive = FActive;
    SetActiveControl(Control);
    if (!WasActive && FHandle && Showing())
        SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    if (Control != this)
        FActiveControl = Control;
    else
        FActiveControl = nullptr;
    if (Screen)
        Screen->SetActive(this, Control);
    if (Control->ControlState().Contains(csFocusing))
        return true;
    Control->FControlState.Include(csFocusing);
    if (!FFocusedControl)
        FFocusedControl = this;
    // An OnExit or OnEnter handler may move the focus on; the nested change
    // has then done the whole walk for the new control and this one stops.
    TWinControl* Wanted = FActiveControl;
    auto Superseded = [&] { return FActiveControl != Wanted; };
    if (FFocusedControl != Control) {
        // Leave up to below the common ancestor, then enter down to Control.
        while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
            TWinControl* Leaving = FFocusedControl;
            FFocusedControl = Leaving->Parent();
            Leaving->Perform(CM_EXIT, 0, 0);
            if (Superseded())
                break;
        }
        while (!Superseded() && FFocusedControl && FFocusedControl != Control &&
               FFocusedControl->ContainsControl(Control)) {
            TWinControl* Step = Control;
            while (Step->Parent() != FFocusedControl)
                Step = Step->Parent();
            FFocusedControl = Step;
            Step->Perform(CM_ENTER, 0, 0);
        }
        if (!Superseded())
            Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
    }
    Control->FControlState.Exclude(csFocusing);
    return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
    if (Removing && Control->ContainsControl(FFocusedControl))
        FFocusedControl = Control->Parent();
    if (Control->ContainsControl(FActiveControl))
        SetActiveControl(nullptr);
}

bool TCustomForm::IsShortCut(TMessage& Message) {
    TWMKey Key{Message.Msg, WORD(Message.WParam), long(Message.LParam), 0};
    bool Handled = false;
    if (OnShortCut)
        OnShortCut(Key, Handled);
    if (!Handled && FMenu)
        Handled = FMenu->IsShortCut(Key);
    if (!Handled && !FMenu && Application && Application->MainForm() &&
        Application->MainForm() != this && Application->MainForm()->Menu())
        Handled = Application->MainForm()->Menu()->IsShortCut(Key);
    return Handled;
}

bool TCustomForm::DoKeyDown(TMessage& Message) {
    WORD Key = WORD(Message.WParam);
    KeyDown(Key, KeyDataToShiftState(long(Message.LParam)));
    Message.WParam = Key;
    return Key == 0;
}

bool TCustomForm::DoKeyUp(TMessage& Message) {
    WORD Key = WORD(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(long(Message.LParam)));
    Message.WParam = Key;
    return Key == 0;
}

bool TCustomForm::DoKeyPress(TMessage& Message) {
    auto Key = unsigned(Message.WParam);
    KeyPress(Key);
    Message.WParam = Key;
    return Key == 0;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
    WORD Key = WORD(Message.WParam);
    if (GetKeyState(VK_MENU) >= 0) {
        TShiftState Shift = KeyDataToShiftState(long(Message.LParam));
        switch (Key) {
        case VK_TAB:
            if (!Shift.Contains(ssCtrl)) {
                SelectNext(FActiveControl, !Shift.Contains(ssShift), true);
                Message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(FActiveControl,
                                                     Key == VK_RIGHT || Key == VK_DOWN, false);
                Message.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    TWinControl::CMDialogKey(Message);
}

// ---------------------------------------------------------------- closing

bool TCustomForm::CloseQuery() {
    if (FFormStyle == fsMDIForm)
        for (int I = 0; I < MDIChildCount(); ++I)
            if (!MDIChildren(I)->CloseQuery())
                return false;
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    if (Value != mrNone && FModalLevel > 0 && Application)
        PostMessage(Application->Handle(), WM_NULL, 0, 0);
}

void TCustomForm::Close() {
    if (FModalLevel > 0) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction Action = FFormStyle == fsMDIChild ? caMinimize : caHide;
    DoClose(Action);
    if (Action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (Action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

void TCustomForm::WMClose(TMessage&) {
    Close();
}

void TCustomForm::Release() {
    if (FHandle)
        PostMessage(FHandle, CM_RELEASE, 0, 0);
    else
        PostReleaseControl(this);
}

void TCustomForm::CMRelease(TMessage&) {
    delete this;
}

int TCustomForm::ShowModal() {
    if (FVisible || !FEnabled || FModalLevel > 0)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture())
        SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    ++FModalLevel;
    if (Application)
        Application->ModalStarted();
    HWND WasActive = GetActiveWindow();
    std::vector<HWND> Disabled;
    if (Screen)
        for (int I = 0; I < Screen->FormCount(); ++I) {
            TCustomForm* Other = Screen->Forms(I);
            if (Other != this && Other->HandleAllocated() && !Other->Parent() &&
                IsWindowEnabled(Other->FHandle)) {
                EnableWindow(Other->FHandle, FALSE);
                Disabled.push_back(Other->FHandle);
            }
        }
    auto Finish = [&] {
        for (HWND Wnd : Disabled)
            if (IsWindow(Wnd))
                EnableWindow(Wnd, TRUE);
        if (FHandle && Showing()) {
            // The window that was active takes the activation back before
            // this one hides, so the activation never falls to nobody.
            if (WasActive && IsWindow(WasActive))
                SetActiveWindow(WasActive);
            SetVisible(false);
        } else if (WasActive && IsWindow(WasActive)) {
            SetActiveWindow(WasActive);
        }
        --FModalLevel;
        if (Application)
            Application->ModalFinished();
    };
    try {
        FModalResult = mrNone;
        Show();
        SetActiveWindow(FHandle);
        for (;;) {
            if (Application) {
                Application->HandleMessage();
                if (Application->Terminated() && FModalResult == mrNone)
                    FModalResult = mrCancel;
            } else {
                ProcessPending();
            }
            if (FModalResult != mrNone) {
                // A refused close clears the result and the run goes on.
                TCloseAction Action = caNone;
                if (CloseQuery()) {
                    Action = caHide;
                    DoClose(Action);
                }
                if (Action == caNone) {
                    if (Application && Application->Terminated())
                        break;
                    FModalResult = mrNone;
                    continue;
                }
                if (Action == caFree)
                    Release();
                break;
            }
        }
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
    return FModalResult;
}

// ---------------------------------------------------------------- painting and messages

void TCustomForm::Paint() {
    if (OnPaint)
        OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
    FCanvas.PaintOn(DC, [this] { Paint(); });
}

void TCustomForm::WMGetMinMaxInfo(TMessage& Message) {
    DefaultHandler(Message);
    auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    if (!Info)
        return;
    if (FConstraints.MinWidth() > 0)
        Info->ptMinTrackSize.X = FConstraints.MinWidth();
    if (FConstraints.MinHeight() > 0)
        Info->ptMinTrackSize.Y = FConstraints.MinHeight();
    if (FConstraints.MaxWidth() > 0)
        Info->ptMaxTrackSize.X = FConstraints.MaxWidth();
    if (FConstraints.MaxHeight() > 0)
        Info->ptMaxTrackSize.Y = FConstraints.MaxHeight();
}

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CLOSE:
        WMClose(Message);
        return;
    case WM_ACTIVATE:
        WMActivate(Message);
        return;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(Message);
        return;
    case CM_ACTIVATE:
        CMActivate(Message);
        return;
    case CM_DEACTIVATE:
        CMDeactivate(Message);
        return;
    case CM_RELEASE:
        CMRelease(Message);
        return;
    case WM_PARENTNOTIFY:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        // A press anywhere in an MDI child activates it within the client.
        if (FFormStyle == fsMDIChild &&
            (Message.Msg != WM_PARENTNOTIFY || LOWORD(Message.WParam) == WM_LBUTTONDOWN ||
             LOWORD(Message.WParam) == WM_RBUTTONDOWN))
            MDIActivate();
        break;
    case WM_SYSCOMMAND:
        // Minimizing the main form minimizes the application.
        if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application &&
            Application->MainForm() == this) {
            Application->Minimize();
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------- MDI

void TCustomForm::CreateMDIClient() {
    WNDCLASS Class;
    if (!GetClassInfo(nullptr, "MDICLIENT", &Class)) {
        Class.lpfnWndProc = DefWindowProc;
        Class.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
        Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        Class.lpszClassName = "MDICLIENT";
        RegisterClass(&Class);
    }
    TRect R = ClientRect();
    FClientHandle = CreateWindowEx(WS_EX_CLIENTEDGE, "MDICLIENT", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                   R.Width(), R.Height(), FHandle, nullptr, nullptr, nullptr);
    Realign();
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
    TWinControl::AlignControls(AControl, Rect);
    if (FClientHandle) {
        MoveWindow(FClientHandle, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), TRUE);
        FitMaximizedMDIChildren();
    }
}

TRect TCustomForm::MDIClientArea() const {
    TRect R{0, 0, 0, 0};
    if (FClientHandle)
        GetClientRect(FClientHandle, &R);
    return R;
}

void TCustomForm::FitMaximizedMDIChildren() {
    TRect Area = MDIClientArea();
    for (TCustomForm* Child : MDIChildList())
        if (Child->FWindowState == wsMaximized && Child->Showing())
            Child->SetBounds(0, 0, Area.Width(), Area.Height());
}

void TCustomForm::ApplyMDIChildState(TWindowState Old) {
    auto* Main = Application ? Application->MainForm() : nullptr;
    if (!Main || !FHandle)
        return;
    if (Old == wsNormal)
        FNormalBounds = BoundsRect();
    TRect Area = Main->MDIClientArea();
    switch (FWindowState) {
    case wsNormal:
        SetBounds(FNormalBounds.Left, FNormalBounds.Top, FNormalBounds.Width(),
                  FNormalBounds.Height());
        break;
    case wsMaximized:
        SetBounds(0, 0, Area.Width(), Area.Height());
        break;
    case wsMinimized: {
        // Only the frame and the caption stay.
        int Strip = FHeight - ClientHeight();
        SetBounds(0, Area.Height() - Strip, 160, Strip);
        break;
    }
    }
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
    // In the client window's z-order, topmost first.
    std::vector<TCustomForm*> Children;
    if (FClientHandle)
        for (HWND Wnd = GetWindow(FClientHandle, GW_CHILD); Wnd; Wnd = GetWindow(Wnd, GW_HWNDNEXT))
            if (auto* Form = dynamic_cast<TCustomForm*>(FindControl(Wnd));
                Form && Form->FFormStyle == fsMDIChild)
                Children.push_back(Form);
    return Children;
}

int TCustomForm::MDIChildCount() const {
    return static_cast<int>(MDIChildList().size());
}

TCustomForm* TCustomForm::MDIChildren(int Index) const {
    auto Children = MDIChildList();
    if (Index < 0 || Index >= static_cast<int>(Children.size()))
        RaiseListIndexError(Index);
    return Children[Index];
}

void TCustomForm::MDIActivate() {
    if (FFormStyle != fsMDIChild || !FHandle)
        return;
    HWND Client = GetParent(FHandle);
    // The child that holds the activation, which need not be the topmost one
    // (a child sent to the bottom keeps it until another is activated).
    HWND Previous = nullptr;
    for (HWND Wnd = GetWindow(Client, GW_CHILD); Wnd && !Previous;
         Wnd = GetWindow(Wnd, GW_HWNDNEXT))
        if (auto* Form = dynamic_cast<TCustomForm*>(FindControl(Wnd));
            Form && Form->FFormStyle == fsMDIChild && Form->FActive)
            Previous = Wnd;
    if (!Previous)
        Previous = GetWindow(Client, GW_CHILD);
    if (Previous == FHandle && FActive) {
        BringWindowToTop(FHandle);
        return;
    }
    BringWindowToTop(FHandle);
    if (Previous && Previous != FHandle) {
        if (auto* Old = dynamic_cast<TCustomForm*>(FindControl(Previous))) {
            Old->FActive = false;
            Old->Perform(CM_DEACTIVATE, 0, 0);
        }
        SendMessage(Previous, WM_NCACTIVATE, FALSE, 0);
        SendMessage(Previous, WM_MDIACTIVATE, WPARAM(Previous), LPARAM(FHandle));
    }
    SendMessage(FHandle, WM_NCACTIVATE, TRUE, 0);
    SendMessage(FHandle, WM_MDIACTIVATE, WPARAM(Previous != FHandle ? Previous : nullptr),
                LPARAM(FHandle));
    FActive = true;
    Perform(CM_ACTIVATE, 0, 0);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    auto Children = MDIChildList();
    return Children.empty() ? nullptr : Children.front();
}

void TCustomForm::Next() {
    auto Children = MDIChildList();
    if (Children.size() < 2)
        return;
    Children[1]->MDIActivate();
    SetWindowPos(Children[0]->FHandle, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::Previous() {
    auto Children = MDIChildList();
    if (Children.size() > 1)
        Children.back()->MDIActivate();
}

void TCustomForm::Cascade() {
    // Bottom first, so the active child ends up front and furthest in.
    std::vector<TCustomForm*> Children;
    for (TCustomForm* Child : MDIChildList())
        if (Child->FWindowState != wsMinimized)
            Children.insert(Children.begin(), Child);
    if (Children.empty())
        return;
    TRect Area = MDIClientArea();
    const int Step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    const int W = Area.Width() * 2 / 3, H = Area.Height() * 2 / 3;
    // Starts over at the corner rather than leave the client window.
    const int Fit = std::max(1, (Area.Height() - H) / std::max(1, Step) + 1);
    for (std::size_t I = 0; I < Children.size(); ++I) {
        TCustomForm* Child = Children[I];
        Child->SetWindowState(wsNormal);
        int Offset = int(I % std::size_t(Fit)) * Step;
        Child->SetBounds(Offset, Offset, W, H);
    }
}

void TCustomForm::Tile() {
    std::vector<TCustomForm*> Children;
    for (TCustomForm* Child : MDIChildList())
        if (Child->FWindowState != wsMinimized)
            Children.push_back(Child);
    if (Children.empty())
        return;
    TRect Area = MDIClientArea();
    const int Count = int(Children.size());
    // The rows share the height; the last takes what division leaves.
    const int H = Area.Height() / Count;
    for (int I = 0; I < Count; ++I) {
        Children[std::size_t(I)]->SetWindowState(wsNormal);
        int Bottom = I == Count - 1 ? Area.Height() : (I + 1) * H;
        Children[std::size_t(I)]->SetBounds(0, I * H, Area.Width(), Bottom - I * H);
    }
}
