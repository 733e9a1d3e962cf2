// The native up-down control.
#include "platform/forms/UpDowns.h"

#include "platform/core/Conversions.h"
#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>

using namespace StdCtrl;

namespace {

constexpr const char* UpDownProp = "Ostrela.UpDown";
constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT_PTR BuddySubclassId = 0x0D01;

LRESULT BuddySubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data);

class TUpDownControl {
public:
    explicit TUpDownControl(HWND Wnd) : FWnd(Wnd) {}
    ~TUpDownControl() { SetBuddy(nullptr); }
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    // Up and Down in the buddy step the control (UDS_ARROWKEYS).
    bool BuddyKey(WPARAM Key) {
        if (!(Style() & UDS_ARROWKEYS) || (Key != VK_UP && Key != VK_DOWN))
            return false;
        Step(Key == VK_UP ? 1 : -1);
        return true;
    }

private:
    DWORD Style() const { return StyleOf(FWnd); }
    bool Horizontal() const { return Style() & UDS_HORZ; }
    // The half of the control a point lies in: +1 the up (right) arrow, -1 the other.
    int ArrowAt(TPoint P);
    TRect ArrowRect(int Arrow);
    void Step(int Direction);
    void SetPos(int Pos);
    void UpdateBuddy();
    HWND SetBuddy(HWND Buddy);
    void Paint(HDC Given);

    HWND FWnd;
    int FMin = 0;
    int FMax = 100;
    int FPos = 0;
    HWND FBuddy = nullptr;
    int FPressed = 0;
};

int TUpDownControl::ArrowAt(TPoint P) {
    TRect C;
    GetClientRect(FWnd, &C);
    if (Horizontal())
        return P.X >= C.Width() / 2 ? 1 : -1;
    return P.Y < C.Height() / 2 ? 1 : -1;
}

TRect TUpDownControl::ArrowRect(int Arrow) {
    TRect C;
    GetClientRect(FWnd, &C);
    if (Horizontal())
        return Arrow > 0 ? TRect{C.Width() / 2, 0, C.Right, C.Bottom}
                         : TRect{0, 0, C.Width() / 2, C.Bottom};
    return Arrow > 0 ? TRect{0, 0, C.Right, C.Height() / 2}
                     : TRect{0, C.Height() / 2, C.Right, C.Bottom};
}

void TUpDownControl::UpdateBuddy() {
    if (FBuddy && IsWindow(FBuddy) && (Style() & UDS_SETBUDDYINT))
        SetWindowText(FBuddy, IntToStr(FPos));
}

HWND TUpDownControl::SetBuddy(HWND Buddy) {
    HWND Old = FBuddy;
    if (Old && IsWindow(Old))
        RemoveWindowSubclass(Old, BuddySubclass, BuddySubclassId);
    FBuddy = Buddy;
    if (!FBuddy)
        return Old;
    SetWindowSubclass(FBuddy, BuddySubclass, BuddySubclassId, DWORD_PTR(this));
    UpdateBuddy();
    if (Style() & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) {
        // Sits beside the buddy, as tall as it.
        TRect B, Mine;
        GetWindowRect(FBuddy, &B);
        GetWindowRect(FWnd, &Mine);
        TPoint P{(Style() & UDS_ALIGNRIGHT) ? B.Right : B.Left - Mine.Width(), B.Top};
        ScreenToClient(GetParent(FWnd), &P);
        MoveWindow(FWnd, P.X, P.Y, Mine.Width(), B.Height(), TRUE);
    }
    return Old;
}

LRESULT BuddySubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
    if (Msg == WM_KEYDOWN && reinterpret_cast<TUpDownControl*>(Data)->BuddyKey(WParam))
        return 0;
    return DefSubclassProc(Wnd, Msg, WParam, LParam);
}

void TUpDownControl::SetPos(int Pos) {
    int Low = std::min(FMin, FMax), High = std::max(FMin, FMax);
    FPos = std::clamp(Pos, Low, High);
    UpdateBuddy();
}

void TUpDownControl::Step(int Direction) {
    // An inverted range counts the other way.
    int Delta = FMin <= FMax ? Direction : -Direction;
    NMUPDOWN N;
    N.hdr.hwndFrom = FWnd;
    N.hdr.idFrom = UINT_PTR(ControlId(FWnd));
    N.hdr.code = UDN_DELTAPOS;
    N.iPos = FPos;
    N.iDelta = Delta;
    HWND Parent = GetParent(FWnd);
    if (Parent && SendMessage(Parent, WM_NOTIFY, N.hdr.idFrom, LPARAM(&N)) != 0)
        return;
    int Low = std::min(FMin, FMax), High = std::max(FMin, FMax);
    int Pos = FPos + N.iDelta;
    if (Style() & UDS_WRAP) {
        if (Pos > High)
            Pos = Low;
        else if (Pos < Low)
            Pos = High;
    }
    SetPos(Pos);
    InvalidateRect(FWnd, nullptr, TRUE);
    if (Parent)
        SendMessage(Parent, Horizontal() ? WM_HSCROLL : WM_VSCROLL,
                    MAKEWPARAM(SB_THUMBPOSITION, unsigned(FPos & 0xFFFF)), LPARAM(FWnd));
}

void TUpDownControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    bool Disabled = !IsWindowEnabled(FWnd);
    for (int Arrow : {1, -1}) {
        TRect R = ArrowRect(Arrow);
        FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
        TRect Edge = R;
        DrawEdge(DC, &Edge, FPressed == Arrow ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
        HBRUSH Brush = GetSysColorBrush(Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        for (int I = 0; I < 3; ++I) {
            TRect Line;
            if (Horizontal()) {
                int X = Arrow > 0 ? CX - 1 + I : CX + 1 - I;
                Line = {X, CY - 2 + I, X + 1, CY + 3 - I};
            } else {
                int Y = Arrow > 0 ? CY - 1 + I : CY + 1 - I;
                Line = {CX - 2 + I, Y, CX + 3 - I, Y + 1};
            }
            FillRect(DC, &Line, Brush);
        }
    }
    if (!Given)
        EndPaint(FWnd, &PS);
}

LRESULT TUpDownControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
    case WM_PAINT:
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowEnabled(FWnd))
            return 0;
        FPressed = ArrowAt(LParamToPoint(LParam));
        SetCapture(FWnd);
        InvalidateRect(FWnd, nullptr, TRUE);
        Step(FPressed);
        SetTimer(FWnd, RepeatTimer, UpDownRepeatDelay, nullptr);
        return 0;
    case WM_TIMER:
        if (WParam == RepeatTimer && FPressed) {
            SetTimer(FWnd, RepeatTimer, UpDownRepeatInterval, nullptr);
            Step(FPressed);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (FPressed) {
            FPressed = 0;
            KillTimer(FWnd, RepeatTimer);
            if (Msg == WM_LBUTTONUP && GetCapture() == FWnd)
                ReleaseCapture();
            InvalidateRect(FWnd, nullptr, TRUE);
            if (HWND Parent = GetParent(FWnd))
                SendMessage(Parent, Horizontal() ? WM_HSCROLL : WM_VSCROLL,
                            MAKEWPARAM(SB_ENDSCROLL, unsigned(FPos & 0xFFFF)), LPARAM(FWnd));
        }
        return 0;
    case UDM_SETRANGE:
        FMax = short(LOWORD(LParam));
        FMin = short(HIWORD(LParam));
        SetPos(FPos);
        return 0;
    case UDM_GETRANGE:
        return MAKELRESULT(unsigned(FMax & 0xFFFF), unsigned(FMin & 0xFFFF));
    case UDM_SETRANGE32:
        FMin = int(WParam);
        FMax = int(LParam);
        SetPos(FPos);
        return 0;
    case UDM_GETRANGE32:
        if (WParam)
            *reinterpret_cast<int*>(WParam) = FMin;
        if (LParam)
            *reinterpret_cast<int*>(LParam) = FMax;
        return 0;
    case UDM_SETPOS: {
        int Old = FPos;
        SetPos(short(LOWORD(LParam)));
        return Old;
    }
    case UDM_GETPOS:
        return MAKELRESULT(unsigned(FPos & 0xFFFF), 0);
    case UDM_SETPOS32: {
        int Old = FPos;
        SetPos(int(LParam));
        return Old;
    }
    case UDM_GETPOS32:
        if (LParam)
            *reinterpret_cast<BOOL*>(LParam) = FALSE;
        return FPos;
    case UDM_SETBUDDY:
        return LRESULT(SetBuddy(reinterpret_cast<HWND>(WParam)));
    case WM_CREATE:
        // The window before it in the z-order becomes the buddy.
        if (Style() & UDS_AUTOBUDDY)
            SetBuddy(GetWindow(FWnd, GW_HWNDPREV));
        return 0;
    case UDM_GETBUDDY:
        return LRESULT(FBuddy);
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT UpDownWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<TUpDownControl>(Wnd, Msg, WParam, LParam, UpDownProp);
}

} // namespace

void RegisterUpDownClass() {
    RegisterNativeClass("msctls_updown32", UpDownWndProc);
}
