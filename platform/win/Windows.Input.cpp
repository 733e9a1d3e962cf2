// Backend events turned into messages: mouse routing with hit testing,
// capture, double clicks and leave tracking; keys and committed text;
// activation and focus; cursors.
#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "platform/win/WinInternal.h"

#include <algorithm>
#include <cstdlib>

namespace winsys {

namespace {

constexpr UINT NcOffset = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;

UINT ButtonDownMsg(int Button) {
    return Button == 1 ? WM_RBUTTONDOWN : Button == 2 ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
}

int ButtonVk(int Button) {
    return Button == 1 ? VK_RBUTTON : Button == 2 ? VK_MBUTTON : VK_LBUTTON;
}

WPARAM MouseKeys() {
    const BYTE* S = G().AsyncKeyState;
    WPARAM K = 0;
    if (S[VK_LBUTTON] & 0x80)
        K |= MK_LBUTTON;
    if (S[VK_RBUTTON] & 0x80)
        K |= MK_RBUTTON;
    if (S[VK_MBUTTON] & 0x80)
        K |= MK_MBUTTON;
    if (S[VK_SHIFT] & 0x80)
        K |= MK_SHIFT;
    if (S[VK_CONTROL] & 0x80)
        K |= MK_CONTROL;
    return K;
}

bool IsDown(UINT Msg) {
    return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN;
}

bool DisabledInside(TWnd* W) {
    for (; W && !W->IsDesktop; W = W->Parent)
        if (W->Style & WS_DISABLED)
            return true;
    return false;
}

void SetKeyDown(BYTE* State, int Vk, bool Down) {
    if (Vk <= 0 || Vk > 255)
        return;
    if (Down) {
        if (!(State[Vk] & 0x80))
            State[Vk] ^= 0x01; // toggled on each press
        State[Vk] |= 0x80;
    } else
        State[Vk] &= 0x7F;
    // The generic modifier follows either side.
    auto Pair = [&](int Generic, int L, int R) {
        if (Vk == L || Vk == R)
            State[Generic] = BYTE((State[L] | State[R]) & 0x80) | BYTE(State[Generic] & 1);
    };
    Pair(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    Pair(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    Pair(VK_MENU, VK_LMENU, VK_RMENU);
}

bool RouteMouse(UINT Msg, const TBackendEvent& E, MSG& Out) {
    TGlobal& Global = G();
    TPoint Pt = E.Point;
    Out = MSG{};
    Out.time = GetTickCount();
    Out.pt = Pt;
    if (TWnd* C = Ptr(Global.Capture)) {
        if (C->Thread != GetCurrentThreadId())
            return false;
        TPoint P = Pt;
        ScreenToClient(C->Handle, &P);
        Out.hwnd = C->Handle;
        Out.message = Msg;
        Out.wParam = MouseKeys();
        Out.lParam = PointToLParam(P);
        return true;
    }
    int Hit = HTNOWHERE;
    TWnd* W = HitWindow(Pt, &Hit, true);
    if (!W) {
        NotifyMouseLeaveIfNeeded(nullptr, 0);
        return false;
    }
    HWND H = W->Handle;
    if (DisabledInside(W))
        return false;
    NotifyMouseLeaveIfNeeded(H, Hit);
    bool Client = Hit == HTCLIENT;
    bool Eat = false;
    if (IsDown(Msg)) {
        auto& LC = Global.LastClick;
        int Button = Msg == WM_RBUTTONDOWN ? 1 : Msg == WM_MBUTTONDOWN ? 2 : 0;
        bool Near = std::abs(Pt.X - LC.Pos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                    std::abs(Pt.Y - LC.Pos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        bool Second = LC.Button == Button && Out.time - LC.Time <= Global.DoubleClickTime && Near &&
                      LC.Wnd == H && LC.Hit == Hit;
        bool Double = Second && (!Client || (W->Class && (W->Class->Style & CS_DBLCLKS)));
        if (Double) {
            LC.Button = -1;
        } else {
            LC.Button = Button;
            LC.Time = Out.time;
            LC.Pos = Pt;
            LC.Wnd = H;
            LC.Hit = Hit;
        }
        // Ancestors hear of a press in a child, innermost first.
        for (TWnd* Cur = W;
             Cur && (Cur->Style & WS_CHILD) && !(Cur->ExStyle & WS_EX_NOPARENTNOTIFY);) {
            TWnd* P = Cur->Parent;
            if (!Alive(P) || P->IsDesktop)
                break;
            TPoint PP = Pt;
            ScreenToClient(P->Handle, &PP);
            Send(P, WM_PARENTNOTIFY, MAKEWPARAM(Msg, 0), PointToLParam(PP));
            Cur = P;
        }
        if (!(W = Ptr(H)))
            return false;
        TWnd* Top = TopLevelOf(W);
        if (Top && Top->Handle != Global.Active) {
            LRESULT R = Send(W, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Top->Handle),
                             MAKELPARAM(unsigned(Hit), Msg));
            if ((R == MA_ACTIVATE || R == MA_ACTIVATEANDEAT || R == 0) && Alive(Top) &&
                !(Top->ExStyle & WS_EX_NOACTIVATE))
                ActivateImpl(Top, WA_CLICKACTIVE);
            Eat = R == MA_ACTIVATEANDEAT || R == MA_NOACTIVATEANDEAT;
            if (!(W = Ptr(H)))
                return false;
        }
        if (Double)
            Msg += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    }
    Send(W, WM_SETCURSOR, reinterpret_cast<WPARAM>(H), MAKELPARAM(unsigned(Hit), Msg));
    if (Eat || !Ptr(H))
        return false;
    Out.hwnd = H;
    if (Client) {
        TPoint P = Pt;
        ScreenToClient(H, &P);
        Out.message = Msg;
        Out.wParam = MouseKeys();
        Out.lParam = PointToLParam(P);
    } else {
        Out.message = Msg - NcOffset;
        Out.wParam = WPARAM(std::intptr_t(Hit));
        Out.lParam = PointToLParam(Pt);
    }
    return true;
}

bool RouteKey(const TRawInput& In, MSG& Out) {
    TGlobal& Global = G();
    const TBackendEvent& E = In.Event;
    bool Down = E.Kind == TBackendEventKind::KeyDown;
    int Vk = E.VirtualKey;
    bool Alt = Global.AsyncKeyState[VK_MENU] & 0x80;
    if (Vk == VK_MENU || Vk == VK_LMENU || Vk == VK_RMENU)
        Alt = Down;
    TWnd* Target = Ptr(Global.Focus);
    bool NoFocus = !Target;
    if (!Target)
        Target = Ptr(Global.Active);
    if (!Target || Target->Thread != GetCurrentThreadId())
        return false;
    if (Down) {
        if (Vk == VK_MENU || Vk == VK_LMENU || Vk == VK_RMENU)
            Global.AltAlone = !In.PreviousDown || Global.AltAlone;
        else
            Global.AltAlone = false;
    }
    bool AltKey = Vk == VK_MENU || Vk == VK_LMENU || Vk == VK_RMENU;
    // Releasing Alt is a system key too.
    bool Sys = Alt || (AltKey && !Down) || Vk == VK_F10 || NoFocus;
    Out = MSG{};
    Out.hwnd = Target->Handle;
    Out.message = Down ? (Sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (Sys ? WM_SYSKEYUP : WM_KEYUP);
    Out.wParam = WPARAM(Vk);
    std::uint32_t L = std::uint32_t(Down ? std::max(1, E.Repeat) : 1) & 0xFFFF;
    L |= std::uint32_t(E.ScanCode & 0xFF) << 16;
    if (E.Extended)
        L |= 1u << 24;
    if (Alt)
        L |= 1u << 29;
    if (In.PreviousDown || !Down)
        L |= 1u << 30;
    if (!Down)
        L |= 1u << 31;
    Out.lParam = LPARAM(std::int32_t(L));
    Out.time = GetTickCount();
    GetCursorPos(&Out.pt);
    Global.LastKey = {Out, Down ? E.Text : std::string()};
    return true;
}

} // namespace

TWnd* WindowOfSurface(TSurfaceId Surface) {
    if (!Surface)
        return nullptr;
    for (TWnd* T : Desktop()->Children)
        if (T->Surface == Surface)
            return T;
    return nullptr;
}

void NotifyMouseLeaveIfNeeded(HWND Under, int Hit) {
    TGlobal& Global = G();
    Global.MouseWnd = Under;
    Global.MouseHit = Hit;
    if (!Global.Track.Wnd || !(Global.Track.Flags & TME_LEAVE))
        return;
    bool NonClient = Global.Track.Flags & TME_NONCLIENT;
    bool Inside = Under == Global.Track.Wnd && (NonClient ? Hit != HTCLIENT : Hit == HTCLIENT);
    if (Inside)
        return;
    HWND W = Global.Track.Wnd;
    Global.Track = {};
    PostMessage(W, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

bool RouteRawInput(TThreadQueue& Q, const TRawInput& In, MSG& Out) {
    const TBackendEvent& E = In.Event;
    TGlobal& Global = G();
    switch (E.Kind) {
    case TBackendEventKind::PointerMove:
        return RouteMouse(WM_MOUSEMOVE, E, Out);
    case TBackendEventKind::ButtonDown:
        return RouteMouse(ButtonDownMsg(E.Button), E, Out);
    case TBackendEventKind::ButtonUp:
        return RouteMouse(ButtonDownMsg(E.Button) + 1, E, Out);
    case TBackendEventKind::PointerLeave:
        if (!Global.Capture)
            NotifyMouseLeaveIfNeeded(nullptr, 0);
        return false;
    case TBackendEventKind::Wheel: {
        TWnd* Target = Ptr(Global.Focus);
        if (!Target)
            Target = Ptr(Global.Active);
        if (!Target)
            return false;
        Out = MSG{};
        Out.hwnd = Target->Handle;
        Out.message = WM_MOUSEWHEEL;
        Out.wParam = MakeWheelWParam(E.Delta, unsigned(MouseKeys()));
        Out.lParam = PointToLParam(E.Point);
        Out.time = GetTickCount();
        Out.pt = E.Point;
        return true;
    }
    case TBackendEventKind::KeyDown:
    case TBackendEventKind::KeyUp:
        return RouteKey(In, Out);
    case TBackendEventKind::TextCommit: {
        TWnd* Target = Ptr(Global.Focus);
        if (!Target)
            return false;
        std::size_t Pos = 0;
        while (Pos < E.Text.size()) {
            char32_t C = Utf8Next(E.Text, Pos);
            MSG M;
            M.hwnd = Target->Handle;
            M.message = WM_CHAR;
            M.wParam = WPARAM(C);
            M.lParam = 1;
            M.time = GetTickCount();
            M.pt = E.Point;
            Q.Input.push_back(M);
        }
        return false;
    }
    default:
        return false;
    }
}

void PullBackendEvents(TThreadQueue& Q) {
    TGlobal& Global = G();
    TBackendEvent E;
    // One input event at a time: the key and button state then reads as of
    // the event being handled, not as of events still to come.
    while (Q.RawInput.empty() && Backend().NextEvent(E)) {
        TWnd* W = WindowOfSurface(E.Surface);
        switch (E.Kind) {
        case TBackendEventKind::PointerMove:
        case TBackendEventKind::ButtonDown:
        case TBackendEventKind::ButtonUp:
        case TBackendEventKind::Wheel:
        case TBackendEventKind::PointerLeave:
            Global.PointerPos = E.Point;
            break;
        default:
            break;
        }
        switch (E.Kind) {
        case TBackendEventKind::ButtonDown:
        case TBackendEventKind::ButtonUp: {
            int Vk = ButtonVk(E.Button);
            bool Prev = Global.AsyncKeyState[Vk] & 0x80;
            SetKeyDown(Global.AsyncKeyState, Vk, E.Kind == TBackendEventKind::ButtonDown);
            Q.RawInput.push_back({E, Prev});
            break;
        }
        case TBackendEventKind::KeyDown:
        case TBackendEventKind::KeyUp: {
            int Vk = E.VirtualKey & 0xFF;
            bool Prev = Global.AsyncKeyState[Vk] & 0x80;
            SetKeyDown(Global.AsyncKeyState, Vk, E.Kind == TBackendEventKind::KeyDown);
            Q.RawInput.push_back({E, Prev});
            break;
        }
        case TBackendEventKind::PointerMove:
        case TBackendEventKind::PointerLeave:
        case TBackendEventKind::Wheel:
        case TBackendEventKind::TextCommit:
            Q.RawInput.push_back({E, false});
            break;
        case TBackendEventKind::FocusOut:
            DeactivateApp();
            break;
        case TBackendEventKind::FocusIn:
            // Asking the desktop again would answer with a focus event of its
            // own after any that are already queued: several windows shown
            // together would then pass the focus round without end.
            if (W && (W->Style & WS_VISIBLE))
                ActivateImpl(W, WA_ACTIVE, true);
            break;
        case TBackendEventKind::CloseRequest:
            if (W)
                PostMessage(W->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case TBackendEventKind::MovedResized:
            if (W)
                SetWindowPos(W->Handle, nullptr, E.Bounds.Left, E.Bounds.Top, E.Bounds.Width(),
                             E.Bounds.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case TBackendEventKind::Iconified:
            if (W)
                DesktopIconified(W);
            break;
        case TBackendEventKind::Restored:
        case TBackendEventKind::Maximized:
            // At once: the desktop's new geometry may follow, and the bounds
            // to restore to are the ones from before it.
            if (W)
                Send(W, WM_SYSCOMMAND,
                     E.Kind == TBackendEventKind::Maximized ? SC_MAXIMIZE : SC_RESTORE, 0);
            break;
        case TBackendEventKind::Expose:
            if (W) {
                W->Dirty.push_back(Rect(0, 0, W->BufferWidth, W->BufferHeight));
                PresentWindow(W);
            }
            break;
        case TBackendEventKind::NotifyIconPointer:
        case TBackendEventKind::NotifyBalloonClick:
        case TBackendEventKind::NotifyAreaChanged:
            NotifyIconEvent(Q, E);
            break;
        case TBackendEventKind::ScreensChanged: {
            int Cx = GetSystemMetrics(SM_CXSCREEN), Cy = GetSystemMetrics(SM_CYSCREEN);
            SetScreenSize(Cx, Cy);
            std::vector<HWND> Tops;
            for (TWnd* T : Desktop()->Children)
                if (T->Thread == Q.Thread)
                    Tops.push_back(T->Handle);
            for (HWND T : Tops)
                SendMessage(T, WM_DISPLAYCHANGE, 32, MAKELPARAM(unsigned(Cx), unsigned(Cy)));
            break;
        }
        }
    }
}

// ---------------------------------------------------------------- activation and focus

void ActivateImpl(TWnd* B, WPARAM How, bool FromDesktop) {
    TGlobal& Global = G();
    TWnd* A = Ptr(Global.Active);
    if (A == B)
        return;
    HWND BH = B ? B->Handle : nullptr;
    HWND AH = A ? A->Handle : nullptr;
    if (A) {
        Send(A, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(BH));
        if (Ptr(AH))
            Send(A, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(BH));
    }
    if (BH && !Ptr(BH))
        return;
    if (B && !Global.AppActive) {
        Global.AppActive = true;
        std::vector<HWND> Tops;
        for (TWnd* T : Desktop()->Children)
            if (T->Thread == B->Thread)
                Tops.push_back(T->Handle);
        for (HWND T : Tops)
            SendMessage(T, WM_ACTIVATEAPP, TRUE, 0);
        if (!Ptr(BH))
            return;
    }
    Global.Active = BH;
    if (!B) {
        SetFocusImpl(nullptr);
        return;
    }
    BringToTopImpl(B);
    if (B->Surface && !FromDesktop)
        Backend().Activate(B->Surface);
    Send(B, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(AH));
    if (Ptr(BH))
        Send(B, WM_ACTIVATE, How | ((B->Style & WS_MINIMIZE) ? 0x10000 : 0),
             reinterpret_cast<LPARAM>(AH));
}

void ActivateOtherThan(TWnd* W) {
    TWnd* Next = nullptr;
    auto Candidate = [W](TWnd* T) {
        return T && T != W && !T->Destroying && (T->Style & WS_VISIBLE) &&
               !(T->Style & (WS_DISABLED | WS_MINIMIZE)) && !(T->ExStyle & WS_EX_NOACTIVATE) &&
               T->Thread == GetCurrentThreadId();
    };
    if (W->Owner && Candidate(W->Owner))
        Next = W->Owner;
    if (!Next)
        for (TWnd* T : Desktop()->Children)
            if (Candidate(T) && !(T->ExStyle & WS_EX_TOOLWINDOW) &&
                !((T->Style & WS_POPUP) && !(T->Style & WS_CAPTION))) {
                Next = T;
                break;
            }
    ActivateImpl(Next, WA_ACTIVE);
}

void DeactivateApp() {
    TGlobal& Global = G();
    if (!Global.AppActive && !Global.Active)
        return;
    if (TWnd* A = Ptr(Global.Active)) {
        HWND AH = A->Handle;
        Send(A, WM_NCACTIVATE, FALSE, 0);
        if (Ptr(AH))
            Send(A, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    Global.Active = nullptr;
    SetFocusImpl(nullptr);
    if (Global.AppActive) {
        Global.AppActive = false;
        std::vector<HWND> Tops;
        for (TWnd* T : Desktop()->Children)
            if (T->Thread == GetCurrentThreadId())
                Tops.push_back(T->Handle);
        for (HWND T : Tops)
            SendMessage(T, WM_ACTIVATEAPP, FALSE, 0);
    }
}

void SetFocusImpl(TWnd* W) {
    TGlobal& Global = G();
    TWnd* Old = Ptr(Global.Focus);
    if (Old == W)
        return;
    HWND WH = W ? W->Handle : nullptr;
    if (W) {
        TWnd* Top = TopLevelOf(W);
        if (Top && Top->Handle != Global.Active) {
            ActivateImpl(Top, WA_ACTIVE);
            if (!Ptr(WH))
                return;
        }
        Old = Ptr(Global.Focus);
        if (Old == W)
            return;
    }
    HWND OldH = Old ? Old->Handle : nullptr;
    Global.Focus = WH;
    if (Old)
        Send(Old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(WH), 0);
    if (W && Ptr(WH) && Global.Focus == WH)
        Send(W, WM_SETFOCUS, reinterpret_cast<WPARAM>(OldH), 0);
}

} // namespace winsys

using namespace winsys;

TSurfaceId WindowSurface(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    TWnd* T = W ? TopLevelOf(W) : nullptr;
    return T ? T->Surface : 0;
}

HWND SetActiveWindow(HWND Wnd) {
    TGlobal& Global = G();
    HWND Old = Global.Active;
    TWnd* W = Ptr(Wnd);
    if (Wnd && !W)
        return nullptr;
    ActivateImpl(W ? TopLevelOf(W) : nullptr, WA_ACTIVE);
    return Old;
}

HWND GetActiveWindow() {
    return G().Active;
}

BOOL SetForegroundWindow(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    ActivateImpl(TopLevelOf(W), WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() {
    return G().AppActive ? G().Active : nullptr;
}

HWND SetFocus(HWND Wnd) {
    TGlobal& Global = G();
    HWND Old = Global.Focus;
    if (!Wnd) {
        SetFocusImpl(nullptr);
        return Old;
    }
    TWnd* W = Ptr(Wnd);
    if (!W || W->Thread != GetCurrentThreadId())
        return nullptr;
    SetFocusImpl(W);
    return Old;
}

HWND GetFocus() {
    return G().Focus;
}

// ---------------------------------------------------------------- capture and tracking

HWND SetCapture(HWND Wnd) {
    TGlobal& Global = G();
    HWND Old = Global.Capture;
    TWnd* W = Ptr(Wnd);
    if (!W)
        return Old;
    if (Old == Wnd)
        return Old;
    Global.Capture = Wnd;
    Backend().SetPointerGrab(true);
    if (TWnd* O = Ptr(Old))
        Send(O, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(Wnd));
    return Old;
}

BOOL ReleaseCapture() {
    TGlobal& Global = G();
    HWND Old = Global.Capture;
    Global.Capture = nullptr;
    Backend().SetPointerGrab(false);
    if (TWnd* O = Ptr(Old))
        Send(O, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return G().Capture;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* T) {
    if (!T)
        return FALSE;
    TGlobal& Global = G();
    if (T->dwFlags & TME_QUERY) {
        T->hwndTrack = Global.Track.Wnd;
        T->dwFlags = Global.Track.Wnd ? Global.Track.Flags : 0;
        T->dwHoverTime = Global.Track.HoverTime;
        return TRUE;
    }
    if (!IsWindow(T->hwndTrack))
        return FALSE;
    if (T->dwFlags & TME_CANCEL) {
        if (Global.Track.Wnd == T->hwndTrack) {
            Global.Track.Flags &= ~(T->dwFlags & (TME_HOVER | TME_LEAVE));
            if (!(Global.Track.Flags & TME_HOVER))
                Global.Track.HoverArmed = false;
            if (!(Global.Track.Flags & (TME_HOVER | TME_LEAVE)))
                Global.Track = {};
        }
        return TRUE;
    }
    bool NonClient = T->dwFlags & TME_NONCLIENT;
    bool Inside = Global.MouseWnd == T->hwndTrack &&
                  (NonClient ? Global.MouseHit != HTCLIENT : Global.MouseHit == HTCLIENT);
    if ((T->dwFlags & TME_LEAVE) && !Inside) {
        // The pointer is already elsewhere: the leave comes at once.
        PostMessage(T->hwndTrack, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    if (Global.Track.Wnd != T->hwndTrack)
        Global.Track = {};
    Global.Track.Wnd = T->hwndTrack;
    Global.Track.Flags |= T->dwFlags & (TME_HOVER | TME_LEAVE | TME_NONCLIENT);
    if (T->dwFlags & TME_HOVER) {
        Global.Track.HoverTime = T->dwHoverTime == HOVER_DEFAULT ? 400 : T->dwHoverTime;
        Global.Track.HoverDue = GetTickCount() + Global.Track.HoverTime;
        Global.Track.HoverArmed = true;
    }
    return TRUE;
}

BOOL GetCursorPos(TPoint* P) {
    if (!P)
        return FALSE;
    *P = G().PointerPos ? *G().PointerPos : Backend().PointerPos();
    return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
    G().PointerPos = TPoint{X, Y};
    Backend().SetPointerPos({X, Y});
    return TRUE;
}

UINT GetDoubleClickTime() {
    return G().DoubleClickTime;
}

BOOL SetDoubleClickTime(UINT Ms) {
    G().DoubleClickTime = Ms ? Ms : 500;
    return TRUE;
}

namespace {
const int StandardCursors[] = {IDC_ARROW,    IDC_IBEAM,    IDC_WAIT,        IDC_CROSS,  IDC_UPARROW,
                               IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,      IDC_SIZENS, IDC_SIZEALL,
                               IDC_NO,       IDC_HAND,     IDC_APPSTARTING, IDC_HELP};
}

HCURSOR LoadCursor(HINSTANCE, int Id) {
    for (int C : StandardCursors)
        if (C == Id)
            return reinterpret_cast<HCURSOR>(std::uintptr_t(Id));
    return nullptr;
}

int CursorId(HCURSOR Cursor) {
    auto V = reinterpret_cast<std::uintptr_t>(Cursor);
    for (int C : StandardCursors)
        if (std::uintptr_t(C) == V)
            return C;
    return 0;
}

HCURSOR SetCursor(HCURSOR Cursor) {
    TGlobal& Global = G();
    HCURSOR Old = Global.Cursor;
    Global.Cursor = Cursor;
    Backend().SetCursor(Global.CursorShowCount >= 0 ? CursorId(Cursor) : 0);
    return Old;
}

HCURSOR GetCursor() {
    return G().Cursor;
}

int ShowCursor(BOOL Show) {
    TGlobal& Global = G();
    Global.CursorShowCount += Show ? 1 : -1;
    Backend().SetCursor(Global.CursorShowCount >= 0 ? CursorId(Global.Cursor) : 0);
    return Global.CursorShowCount;
}

// ---------------------------------------------------------------- keyboard

short GetKeyState(int Vk) {
    if (Vk <= 0 || Vk > 255)
        return 0;
    BYTE S = G().KeyState[Vk];
    return short(((S & 0x80) ? 0x8000 : 0) | (S & 1));
}

short GetAsyncKeyState(int Vk) {
    if (Vk <= 0 || Vk > 255)
        return 0;
    BYTE S = G().AsyncKeyState[Vk];
    return short((S & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* State) {
    if (!State)
        return FALSE;
    std::copy(std::begin(G().KeyState), std::end(G().KeyState), State);
    return TRUE;
}

BOOL TranslateMessage(const MSG* Msg) {
    if (!Msg)
        return FALSE;
    if (Msg->message != WM_KEYDOWN && Msg->message != WM_SYSKEYDOWN)
        return Msg->message == WM_KEYUP || Msg->message == WM_SYSKEYUP;
    TGlobal& Global = G();
    const MSG& K = Global.LastKey.Msg;
    if (K.hwnd != Msg->hwnd || K.message != Msg->message || K.wParam != Msg->wParam ||
        K.lParam != Msg->lParam || Global.LastKey.Text.empty())
        return TRUE;
    UINT Char = Msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    const std::string Text = Global.LastKey.Text;
    Global.LastKey.Text.clear();
    std::size_t Pos = 0;
    while (Pos < Text.size()) {
        char32_t C = Utf8Next(Text, Pos);
        PostMessage(Msg->hwnd, Char, WPARAM(C), Msg->lParam);
    }
    return TRUE;
}

// ---------------------------------------------------------------- cursor pictures

namespace {

struct TCursorShape {
    int Id;
    TPoint HotSpot;
    bool (*Covers)(int X, int Y);
};

bool Arrow(int X, int Y) {
    return (Y < 17 && X <= Y / 1 && X < 12) ||
           (Y >= 12 && Y < 21 && X >= 5 + (Y - 12) / 3 && X < 8 + (Y - 12) / 3);
}
bool IBeam(int X, int Y) {
    return (Y >= 6 && Y < 26 && (X == 15 || X == 16)) || ((Y == 6 || Y == 25) && X >= 12 && X < 20);
}
bool Hourglass(int X, int Y) {
    int D = std::abs(Y - 16);
    return Y >= 4 && Y < 28 && std::abs(X - 16) <= std::max(1, D - 1) + 1 && D < 12;
}
bool Cross(int X, int Y) {
    return ((X == 15 || X == 16) && Y >= 4 && Y < 28) || ((Y == 15 || Y == 16) && X >= 4 && X < 28);
}
bool UpArrow(int X, int Y) {
    return (Y < 8 && std::abs(X - 16) <= Y) || (Y >= 8 && Y < 24 && std::abs(X - 16) <= 1);
}
bool SizeWE(int X, int Y) {
    return (std::abs(Y - 16) <= 1 && X >= 6 && X < 26) ||
           (X < 12 && X >= 6 && std::abs(Y - 16) <= X - 6) ||
           (X >= 20 && X < 26 && std::abs(Y - 16) <= 25 - X);
}
bool SizeNS(int X, int Y) {
    return SizeWE(Y, X);
}
bool SizeNWSE(int X, int Y) {
    return std::abs(X - Y) <= 1 && X >= 6 && X < 26;
}
bool SizeNESW(int X, int Y) {
    return std::abs(X + Y - 31) <= 1 && X >= 6 && X < 26;
}
bool SizeAll(int X, int Y) {
    return SizeWE(X, Y) || SizeNS(X, Y);
}
bool No(int X, int Y) {
    int D2 = (X - 16) * (X - 16) + (Y - 16) * (Y - 16);
    return (D2 <= 100 && D2 >= 64) || (std::abs(X - Y) <= 1 && D2 <= 81);
}
bool Hand(int X, int Y) {
    return (X >= 9 && X < 13 && Y < 14) || (X >= 9 && X < 22 && Y >= 10 && Y < 26);
}

const TCursorShape Shapes[] = {
    {IDC_ARROW, {0, 0}, Arrow},
    {IDC_IBEAM, {16, 16}, IBeam},
    {IDC_WAIT, {16, 16}, Hourglass},
    {IDC_CROSS, {16, 16}, Cross},
    {IDC_UPARROW, {16, 0}, UpArrow},
    {IDC_SIZENWSE, {16, 16}, SizeNWSE},
    {IDC_SIZENESW, {16, 16}, SizeNESW},
    {IDC_SIZEWE, {16, 16}, SizeWE},
    {IDC_SIZENS, {16, 16}, SizeNS},
    {IDC_SIZEALL, {16, 16}, SizeAll},
    {IDC_NO, {16, 16}, No},
    {IDC_HAND, {10, 0}, Hand},
    {IDC_APPSTARTING, {0, 0}, Arrow},
    {IDC_HELP, {0, 0}, Arrow},
};

} // namespace

BOOL GetIconInfo(HCURSOR Cursor, ICONINFO* Info) {
    int Id = CursorId(Cursor);
    if (!Id || !Info)
        return FALSE;
    const TCursorShape* Shape = nullptr;
    for (const auto& S : Shapes)
        if (S.Id == Id)
            Shape = &S;
    if (!Shape)
        return FALSE;
    BITMAPINFO BI{};
    BI.bmiHeader.biWidth = 32;
    BI.bmiHeader.biHeight = -64;
    BI.bmiHeader.biBitCount = 1;
    BI.bmiHeader.biClrUsed = 2;
    BI.bmiColors[0] = {0, 0, 0, 0};
    BI.bmiColors[1] = {255, 255, 255, 0};
    void* Bits = nullptr;
    HBITMAP Mask = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (!Mask || !Bits)
        return FALSE;
    // Rows of 32 bits, top-down: the AND mask (1 = transparent) over the XOR
    // mask (1 = white where the AND bit is 0: a white cursor body).
    auto* Rows = static_cast<std::uint8_t*>(Bits);
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X) {
            bool On = Shape->Covers(X, Y);
            std::uint8_t Bit = std::uint8_t(0x80 >> (X % 8));
            std::uint8_t& And = Rows[std::size_t(Y) * 4 + std::size_t(X / 8)];
            std::uint8_t& Xor = Rows[std::size_t(Y + 32) * 4 + std::size_t(X / 8)];
            if (On)
                And &= std::uint8_t(~Bit), Xor |= Bit;
            else
                And |= Bit, Xor &= std::uint8_t(~Bit);
        }
    *Info = ICONINFO{};
    Info->fIcon = FALSE;
    Info->xHotspot = DWORD(Shape->HotSpot.X);
    Info->yHotspot = DWORD(Shape->HotSpot.Y);
    Info->hbmMask = Mask;
    return TRUE;
}
