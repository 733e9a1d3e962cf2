// TWinControl: children, windows and their procedure, tab order and focus,
// keys, painting; the graphic and custom controls.
#include "platform/forms/Controls.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The control of each window of the library, and the one whose window is
// being made (its first messages arrive before CreateWindowEx returns).
std::unordered_map<HWND, TWinControl*> GControlOfWindow;
TWinControl* GCreationControl = nullptr;
WNDPROC GInitWndProc = nullptr;

LRESULT LibraryWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* Control = FindControl(Wnd);
    if (!Control && GCreationControl) {
        Control = GCreationControl;
        GCreationControl = nullptr;
        Control->AttachCreatedHandle(Wnd);
    }
    if (!Control)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    TMessage Message{Msg, WParam, LParam, 0};
    Control->MainWndProc(Message);
    return Message.Result;
}

WNDPROC InitWndProc() {
    if (!GInitWndProc)
        GInitWndProc = MakeWindowProc(&LibraryWndProc);
    return GInitWndProc;
}

} // namespace

TWinControl* FindControl(HWND Wnd) {
    if (!Wnd)
        return nullptr;
    auto It = GControlOfWindow.find(Wnd);
    return It == GControlOfWindow.end() ? nullptr : It->second;
}

void TWinControl::AttachCreatedHandle(HWND Wnd) {
    FHandle = Wnd;
    GControlOfWindow[Wnd] = this;
}

// ---------------------------------------------------------------- life

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    FBrush.SetColor(FColor);
}

TWinControl::~TWinControl() {
    Destroying();
    if (FParent)
        FParent->RemoveControl(this);
    if (FHandle)
        DestroyWindowHandle();
    // Children go with their parent, whoever owns them.
    while (!FControls.empty()) {
        TControl* Child = FControls.back();
        Remove(Child);
        delete Child;
    }
}

// ---------------------------------------------------------------- children

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        RaiseListIndexError(Index);
    return FControls[Index];
}

void TWinControl::Insert(TControl* AControl) {
    AControl->FParent = this;
    FControls.push_back(AControl);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl))
        FTabList.push_back(Win);
}

void TWinControl::Remove(TControl* AControl) {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    if (auto* Win = dynamic_cast<TWinControl*>(AControl))
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), Win), FTabList.end());
    AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
    AControl->ValidateContainer(this);
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), TRUE);
    Insert(AControl);
    if (!AControl->ComponentState().Contains(csReading)) {
        // A new child takes the parent's font, colour and hint setting.
        AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
        if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
            if (Win->FParentCtl3D)
                Win->FCtl3D = FCtl3D;
            if (HandleAllocated() && Win->HandleAllocated())
                ::SetParent(Win->FHandle, Win->IsTopLevelPopup() ? Win->FHandle : FHandle);
            Win->UpdateControlState();
        } else {
            AControl->Invalidate();
        }
        AControl->UpdateAnchorRules();
        AlignControl(AControl);
    }
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), FALSE);
}

void TWinControl::RemoveControl(TControl* AControl) {
    if (AControl->FParent != this)
        return;
    bool Quiet = ComponentState().Contains(csDestroying);
    if (!Quiet)
        Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), FALSE);
    if (auto* Win = dynamic_cast<TWinControl*>(AControl)) {
        if (TFormServices* Form = FormServicesOf(this))
            Form->DefocusControl(Win, true);
        if (Win->HandleAllocated() && !Win->ComponentState().Contains(csDestroying))
            Win->DestroyHandle();
        Win->FShowing = false;
    } else {
        AControl->Invalidate();
    }
    if (GetCaptureControl() == AControl)
        SetCaptureControl(nullptr);
    ForgetMouseControl(AControl);
    Remove(AControl);
    if (!Quiet)
        Realign();
}

void TControl::ValidateContainer(TWinControl* AParent) {
    for (TWinControl* P = AParent; P; P = P->Parent())
        if (P == this)
            throw EInvalidOperation("A control cannot have itself as its parent");
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    while (Control && Control != this)
        Control = Control->Parent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* C = *It;
        auto* Win = dynamic_cast<TWinControl*>(C);
        if (Win && (!AllowWinControls || Win->IsTopLevelPopup()))
            continue;
        if (!C->Visible() || (!C->Enabled() && !AllowDisabled))
            continue;
        TRect R = C->BoundsRect();
        if (!PtInRect(&R, Pos))
            continue;
        if (C->Perform(CM_HITTEST, 0, PointToLParam({Pos.X - C->Left(), Pos.Y - C->Top()})) != 0)
            return C;
    }
    return nullptr;
}

TControl* TWinControl::FindChildControl(const std::string& ControlName) const {
    for (TControl* C : FControls)
        if (C->Name() == ControlName)
            return C;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    auto List = FControls;
    for (TControl* C : List) {
        C->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT Msg) {
    TMessage Message{Msg, 0, 0, 0};
    Broadcast(Message);
}

void TWinControl::SetZOrder(bool TopMost) {
    if (!FParent)
        return;
    TControl::SetZOrder(TopMost);
    if (FHandle && !IsTopLevelPopup())
        SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetZOrderPosition(int Position) {
    TControl::SetZOrderPosition(Position);
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY) {
    DisableAlign();
    for (TControl* C : FControls) {
        auto* Win = dynamic_cast<TWinControl*>(C);
        if (Win && Win->HandleAllocated() && HandleAllocated())
            continue;
        C->FAnchorMove = true;
        C->SetBounds(C->Left() + DeltaX, C->Top() + DeltaY, C->Width(), C->Height());
        C->FAnchorMove = false;
    }
    if (HandleAllocated()) {
        // Window children move with the scrolled pixels.
        ScrollWindow(FHandle, DeltaX, DeltaY, nullptr, nullptr);
        // The children's windows moved; their bounds follow the windows.
        for (TControl* C : FControls)
            if (auto* Win = dynamic_cast<TWinControl*>(C); Win && Win->HandleAllocated()) {
                Win->FAnchorMove = true;
                Win->UpdateBounds();
                Win->FAnchorMove = false;
            }
    }
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
}

// ---------------------------------------------------------------- bounds

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!ProposeBounds(ALeft, ATop, AWidth, AHeight))
        return;
    bool Sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle && !FControlState.Contains(csDestroyingHandle))
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!FAnchorMove)
        UpdateAnchorRules();
    RequestAlign();
    if (Sized) {
        Realign();
        Resize();
    }
}

TRect TWinControl::ClientRect() {
    if (FHandle) {
        TRect R;
        ::GetClientRect(FHandle, &R);
        return R;
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() {
    if (FHandle || (!FParent && !IsTopLevelPopup())) {
        TPoint P{0, 0};
        ::ClientToScreen(Handle(), &P);
        return P;
    }
    if (IsTopLevelPopup())
        return {FLeft, FTop};
    return TControl::ClientOrigin();
}

void TWinControl::UpdateBounds() {
    if (!FHandle)
        return;
    TRect R;
    GetWindowRect(FHandle, &R);
    HWND ParentWnd = GetParent(FHandle);
    if ((GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) && ParentWnd) {
        TPoint P[2] = {R.TopLeft(), R.BottomRight()};
        MapWindowPoints(nullptr, ParentWnd, P, 2);
        R = {P[0].X, P[0].Y, P[1].X, P[1].Y};
    }
    if (R == BoundsRect())
        return;
    bool Sized = R.Width() != FWidth || R.Height() != FHeight;
    UpdateBoundsRect(R);
    if (Sized)
        Realign();
    RequestAlign();
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
    DefaultHandler(Message);
    if (!FControlState.Contains(csDestroyingHandle))
        UpdateBounds();
}

void TWinControl::WMSize(TMessage& Message) {
    DefaultHandler(Message);
    UpdateBounds();
}

// ---------------------------------------------------------------- handle

bool TWinControl::IsTopLevelPopup() const {
    return FIsPopup;
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle)
        return;
    if (FParent)
        FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
    if (Value == FParentWindow)
        return;
    FParentWindow = Value;
    if (FHandle && !FParent)
        ::SetParent(FHandle, Value);
    UpdateControlState();
}

void TWinControl::CreateHandle() {
    if (FHandle)
        return;
    CreateWnd();
    for (TWinControl* Child : FTabList)
        if (Child->FHandle)
            ::SetParent(Child->FHandle, Child->IsTopLevelPopup() ? nullptr : FHandle);
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = TCreateParams{};
    Params.Caption = FText;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls))
        Params.Style |= WS_CLIPCHILDREN;
    if (!FEnabled)
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = nullptr;
    Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
    WNDCLASS Native;
    if (GetClassInfo(nullptr, ControlClassName, &Native)) {
        DWORD Keep = Params.WindowClass.style & CS_DBLCLKS;
        Params.WindowClass = Native;
        Params.WindowClass.style = (Native.style & ~CS_DBLCLKS) | Keep;
    }
}

void TWinControl::RegisterWindowClass(TCreateParams& Params) {
    // The class's own procedure (a native class's) becomes the default one.
    FDefWndProc = Params.WindowClass.lpfnWndProc;
    WNDCLASS Existing;
    bool Registered = GetClassInfo(nullptr, Params.WinClassName.c_str(), &Existing);
    if (Registered && Existing.lpfnWndProc == InitWndProc())
        return;
    if (Registered)
        UnregisterClass(Params.WinClassName.c_str(), nullptr);
    WNDCLASS Class = Params.WindowClass;
    Class.lpfnWndProc = InitWndProc();
    Class.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClass(&Class))
        throw EInvalidOperation(
            Format("Cannot register the window class %s", {Params.WinClassName}));
}

void TWinControl::CreateWnd() {
    TCreateParams Params;
    CreateParams(Params);
    FIsPopup = (Params.Style & WS_POPUP) != 0;
    if (FIsPopup && FParent) {
        // A popup with a parent is a top-level window owned by the parent's
        // top-level window; it stays in the parent's Controls.
        Params.WndParent = GetAncestor(FParent->Handle(), GA_ROOT);
    } else if (!Params.WndParent && (Params.Style & WS_CHILD)) {
        throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    } else if (!Params.WndParent && !FIsPopup && !dynamic_cast<TFormServices*>(this)) {
        throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    }
    RegisterWindowClass(Params);
    FControlState.Include(csCreating);
    CreateWindowHandle(Params);
    FControlState.Exclude(csCreating);
    if (!FHandle)
        throw EInvalidOperation(Format("Error creating window for %s", {Name()}));
    UpdateBounds();
    Perform(WM_SETFONT, WPARAM(FFont.Handle()), 1);
    if (FAutoSize)
        AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
    GCreationControl = this;
    HWND Wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                              Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                              Params.WndParent, nullptr, nullptr, Params.Param);
    GCreationControl = nullptr;
    if (Wnd && !FHandle)
        AttachCreatedHandle(Wnd);
}

void TWinControl::DestroyHandle() {
    if (!FHandle)
        return;
    for (TWinControl* Child : FTabList)
        Child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    // The window held the text; the control keeps it for the next window.
    FText = GetWindowText(FHandle);
    FreeDeviceContexts();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    FControlState.Include(csDestroyingHandle);
    HWND Wnd = FHandle;
    ::DestroyWindow(Wnd);
    GControlOfWindow.erase(Wnd);
    FHandle = nullptr;
    FShowing = false;
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
    DefaultHandler(Message);
    if (FHandle) {
        // Destroyed by the window system (a parent window went, or Alt+F4).
        FText = GetWindowText(FHandle);
        GControlOfWindow.erase(FHandle);
        FHandle = nullptr;
        FShowing = false;
    }
}

void TWinControl::RecreateWnd() {
    if (FHandle)
        Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
    // The focus comes back to this control or the child of it that had it.
    TWinControl* Focus = FindControl(GetFocus());
    if (Focus && !ContainsControl(Focus))
        Focus = nullptr;
    DestroyHandle();
    UpdateControlState();
    if (Focus && Focus->HandleAllocated())
        ::SetFocus(Focus->FHandle);
}

void TWinControl::UpdateControlState() {
    TWinControl* Control = this;
    while (Control->FParent) {
        Control = Control->FParent;
        if (!Control->Showing())
            return;
    }
    if (dynamic_cast<TFormServices*>(Control) || Control->FParentWindow || Control->FIsPopup ||
        (Control->FHandle && Control != this))
        UpdateShowing();
}

void TWinControl::UpdateShowing() {
    bool ShowControl = FVisible && !FControlState.Contains(csReadingState);
    if (ShowControl) {
        if (!FHandle)
            CreateHandle();
        auto Children = FTabList;
        for (TWinControl* Child : Children)
            Child->UpdateShowing();
    }
    if (FHandle && FShowing != ShowControl) {
        FShowing = ShowControl;
        Perform(CM_SHOWINGCHANGED, 0, 0);
        auto Children = FTabList;
        for (TWinControl* Child : Children)
            Child->UpdateShowing();
    }
}

void TWinControl::CMShowingChanged(TMessage&) {
    UINT Flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                 (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, Flags);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    if (!FVisible && FParent)
        if (TFormServices* Form = FormServicesOf(this))
            Form->DefocusControl(this, false);
    UpdateControlState();
    TControl::CMVisibleChanged(Message);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
    if (!FEnabled && FParent)
        if (TFormServices* Form = FormServicesOf(this))
            Form->DefocusControl(this, false);
    if (FHandle)
        EnableWindow(FHandle, FEnabled);
    TControl::CMEnabledChanged(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::CMFontChanged(Message);
    if (FHandle)
        Perform(WM_SETFONT, WPARAM(FFont.Handle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    FBrush.SetColor(FColor);
    TControl::CMColorChanged(Message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMTextChanged(TMessage& Message) {
    TControl::CMTextChanged(Message);
}

// ---------------------------------------------------------------- messages

void TWinControl::MainWndProc(TMessage& Message) {
    // A handler may free the control: the procedure runs from a copy, and
    // nothing of the control is touched afterwards.
    TWndMethod Proc = WindowProc;
    try {
        Proc(Message);
    } catch (...) {
        HandleControlException(nullptr);
    }
}

namespace {

// The child control a reflected notification came from.
TWinControl* ReflectionTarget(TWinControl* Parent, const TMessage& Message) {
    HWND From = nullptr;
    switch (Message.Msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case 0x135:
    case 0x137:
    case WM_HSCROLL:
    case WM_VSCROLL:
        From = reinterpret_cast<HWND>(Message.LParam);
        break;
    case WM_NOTIFY:
        // The notification header starts with the sender's window.
        if (Message.LParam)
            From = *reinterpret_cast<const HWND*>(Message.LParam);
        break;
    default:
        // Owner-draw messages name the child by its id.
        for (int I = 0; I < Parent->ControlCount(); ++I)
            if (auto* Win = dynamic_cast<TWinControl*>(Parent->Controls(I));
                Win && Win->HandleAllocated() &&
                WPARAM(GetWindowLong(Win->Handle(), GWL_ID)) == Message.WParam)
                return Win;
        return nullptr;
    }
    TWinControl* Child = FindControl(From);
    return Child && Child != Parent ? Child : nullptr;
}

} // namespace

void TWinControl::WndProc(TMessage& Message) {
    UINT Msg = Message.Msg;
    if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) {
        // Told when the pointer leaves, so that the control under it is
        // updated even when no other message follows.
        if (Msg == WM_MOUSEMOVE && FHandle) {
            TRACKMOUSEEVENT Track;
            Track.dwFlags = TME_LEAVE;
            Track.hwndTrack = FHandle;
            TrackMouseEvent(&Track);
        }
        UpdateMouseControl();
        if (RouteToGraphicChild(Message))
            return;
    } else if ((Msg >= WM_NCMOUSEMOVE && Msg <= WM_NCMBUTTONDBLCLK) || Msg == WM_MOUSELEAVE ||
               Msg == WM_NCMOUSELEAVE) {
        UpdateMouseControl();
        if (Msg == WM_NCLBUTTONDOWN || Msg == WM_NCRBUTTONDOWN || Msg == WM_NCMBUTTONDOWN)
            SendCancelMode(this);
    } else if (IsReflectedMessage(Msg) && Msg != 0x4A && Msg != 0x4B) {
        if (TWinControl* Child = ReflectionTarget(this, Message)) {
            Message.Result = Child->Perform(CN_BASE + Msg, Message.WParam, Message.LParam);
            return;
        }
    }
    TControl::WndProc(Message);
}

bool TWinControl::RouteToGraphicChild(TMessage& Message) {
    TControl* Control = nullptr;
    TPoint P = LParamToPoint(Message.LParam);
    TControl* Capture = GetCaptureControl();
    if (Message.Msg == WM_MOUSEWHEEL)
        return false;
    if (Capture && Capture != this) {
        if (Capture->Parent() == this)
            Control = Capture;
    } else if (!Capture || Capture == this) {
        if (GetCapture() == FHandle && Capture == this)
            return false;
        Control = ControlAtPos(P, false);
    }
    if (!Control || dynamic_cast<TWinControl*>(Control))
        return false;
    TPoint Local{P.X - Control->Left(), P.Y - Control->Top()};
    Message.Result = Control->Perform(Message.Msg, Message.WParam, PointToLParam(Local));
    return true;
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        WMKeyDown(Message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        WMKeyUp(Message);
        return;
    case WM_CHAR:
        WMChar(Message);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        return;
    case WM_SETCURSOR:
        WMSetCursor(Message);
        return;
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_NCDESTROY:
        WMNCDestroy(Message);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        CNKeyDown(Message);
        return;
    case CN_CHAR:
    case CN_SYSCHAR:
        CNChar(Message);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSCROLLBAR:
        CNCtlColor(Message);
        return;
    case CM_DIALOGKEY:
        CMDialogKey(Message);
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(Message);
        return;
    case CM_FOCUSCHANGED:
        CMFocusChanged(Message);
        Broadcast(Message);
        return;
    case CM_ENTER:
        CMEnter(Message);
        return;
    case CM_EXIT:
        CMExit(Message);
        return;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(Message);
        return;
    case CM_RECREATEWND:
        CMRecreateWnd(Message);
        return;
    case CM_CONTROLLISTCHANGE:
        CMControlListChange(Message);
        return;
    case CM_WANTSPECIALKEY:
        CMWantSpecialKey(Message);
        return;
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    case CM_BIDIMODECHANGED:
        NotifyControls(CM_PARENTBIDIMODECHANGED);
        return;
    default:
        TControl::Dispatch(Message);
    }
}

void TWinControl::DefaultHandler(TMessage& Message) {
    if (!FHandle) {
        TControl::DefaultHandler(Message);
        return;
    }
    if (Message.Msg >= CM_BASE && Message.Msg <= CM_BASE + 0xFF) {
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_PAINT && Message.WParam == 0 && !FDefWndProc) {
        // Nothing painted the window: validate it so the loop goes on.
        PAINTSTRUCT PS;
        BeginPaint(FHandle, &PS);
        EndPaint(FHandle, &PS);
        return;
    }
    WNDPROC Proc = FDefWndProc;
    Message.Result =
        Proc ? CallWindowProc(Proc, FHandle, Message.Msg, Message.WParam, Message.LParam)
             : DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMCommand(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::CNCtlColor(TMessage& Message) {
    auto DC = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(DC, COLORREF(ColorToRGB(FFont.Color())));
    SetBkColor(DC, COLORREF(ColorToRGB(FBrush.Color())));
    Message.Result = LRESULT(FBrush.Handle());
}

void TWinControl::WMSetCursor(TMessage& Message) {
    if (LOWORD(Message.LParam) == HTCLIENT) {
        TCursor Cursor = ScreenCursor();
        if (Cursor == crDefault) {
            TPoint P;
            GetCursorPos(&P);
            TControl* Control = ControlAtPos(ScreenToClient(P), false);
            Cursor = Control ? Control->Cursor() : FCursor;
        }
        if (Cursor != crDefault) {
            ::SetCursor(CursorHandle(Cursor));
            Message.Result = 1;
            return;
        }
    }
    DefaultHandler(Message);
}

// ---------------------------------------------------------------- painting

void TWinControl::WMEraseBkgnd(TMessage& Message) {
    if (FControlStyle.Contains(csOpaque) || !Message.WParam) {
        Message.Result = 1;
        return;
    }
    auto DC = reinterpret_cast<HDC>(Message.WParam);
    TRect R;
    GetClipBox(DC, &R);
    FillRect(DC, &R, FBrush.Handle());
    Message.Result = 1;
}

void TWinControl::PaintHandler(TMessage& Message) {
    auto DC = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT PS;
    bool Own = DC == nullptr;
    if (Own)
        DC = BeginPaint(FHandle, &PS);
    bool HasGraphic = std::any_of(FControls.begin(), FControls.end(), [](TControl* C) {
        return !dynamic_cast<TWinControl*>(C) && C->Visible();
    });
    if (!HasGraphic) {
        PaintWindow(DC);
    } else {
        int Saved = SaveDC(DC);
        // Opaque graphic children paint all of their rectangle themselves.
        for (TControl* C : FControls)
            if (!dynamic_cast<TWinControl*>(C) && C->Visible() &&
                C->ControlStyle().Contains(csOpaque))
                ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(),
                                C->Top() + C->Height());
        PaintWindow(DC);
        RestoreDC(DC, Saved);
    }
    PaintControls(DC, nullptr);
    if (Own)
        EndPaint(FHandle, &PS);
}

void TWinControl::PaintWindow(HDC DC) {
    TMessage Message{WM_PAINT, WPARAM(DC), 0, 0};
    DefaultHandler(Message);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    auto Start = FControls.begin();
    if (First) {
        Start = std::find(FControls.begin(), FControls.end(), First);
        if (Start == FControls.end())
            Start = FControls.begin();
    }
    for (auto It = Start; It != FControls.end(); ++It) {
        TControl* C = *It;
        if (dynamic_cast<TWinControl*>(C) || !C->Visible() || C->Width() <= 0 || C->Height() <= 0)
            continue;
        int Saved = SaveDC(DC);
        MoveWindowOrg(DC, C->Left(), C->Top());
        IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
        C->Perform(WM_PAINT, WPARAM(DC), 0);
        RestoreDC(DC, Saved);
    }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
    int Saved = SaveDC(DC);
    MoveWindowOrg(DC, X, Y);
    IntersectClipRect(DC, 0, 0, FWidth, FHeight);
    TMessage Erase{WM_ERASEBKGND, WPARAM(DC), 0, 0};
    WindowProc(Erase);
    TMessage Paint{WM_PAINT, WPARAM(DC), 0, 0};
    WindowProc(Paint);
    for (TWinControl* Child : FTabList)
        if (Child->Visible() && !Child->IsTopLevelPopup())
            Child->PaintTo(DC, Child->Left(), Child->Top());
    RestoreDC(DC, Saved);
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

// ---------------------------------------------------------------- graphic and custom

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
    FCanvas.SetControl(this);
}

TGraphicControl::~TGraphicControl() {
    FCanvas.SetControl(nullptr);
}

void TGraphicControl::WMPaint(TMessage& Message) {
    if (!Message.WParam)
        return;
    FCanvas.PaintOn(reinterpret_cast<HDC>(Message.WParam), [this] { Paint(); });
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
    FCanvas.SetControl(this);
}

TCustomControl::~TCustomControl() {
    FCanvas.SetControl(nullptr);
}

void TCustomControl::FreeDeviceContexts() {
    FCanvas.FreeHandle();
}

void TCustomControl::PaintWindow(HDC DC) {
    FCanvas.PaintOn(DC, [this] { Paint(); });
}

// ---------------------------------------------------------------- TControlCanvas

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value) {
    if (Value == FControl)
        return;
    FreeHandle();
    FControl = Value;
}

void TControlCanvas::FreeHandle() {
    if (FDeviceContext) {
        SetHandle(nullptr);
        if (IsWindow(FWindowHandle))
            ReleaseDC(FWindowHandle, FDeviceContext);
        FDeviceContext = nullptr;
        FWindowHandle = nullptr;
    }
}

void TControlCanvas::CreateHandle() {
    if (!FControl)
        return;
    if (auto* Win = dynamic_cast<TWinControl*>(FControl)) {
        FWindowHandle = Win->Handle();
        FDeviceContext = GetDC(FWindowHandle);
    } else if (FControl->Parent()) {
        // A graphic control draws on its parent's window, moved to its place.
        FWindowHandle = FControl->Parent()->Handle();
        FDeviceContext = GetDC(FWindowHandle);
        MoveWindowOrg(FDeviceContext, FControl->Left(), FControl->Top());
        IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
    }
    if (FDeviceContext)
        SetHandle(FDeviceContext);
}
