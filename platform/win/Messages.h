// Handles, message numbers, styles, flags and records of the window system.
//
// Every number keeps its traditional value, because the skin and class
// library code compares them literally. WPARAM, LPARAM and LRESULT are
// pointer-sized; packed values keep the traditional layout in their low 32
// bits.
#pragma once

#include "platform/gdi/Gdi.h"

#include <cstdint>
#include <string>

struct HWND__;
struct HMONITOR__;
struct HCURSOR__;
using HWND = HWND__*;
using HMONITOR = HMONITOR__*;
using HCURSOR = HCURSOR__*;
using HMENU = void*;
using HANDLE = void*;
using HGLOBAL = void*;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using ATOM = WORD;

// A window procedure. Values made by MakeWindowProc are not plain functions:
// call every stored procedure through CallWindowProc.
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using SUBCLASSPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// ---------------------------------------------------------------- packing

constexpr WORD LOWORD(std::uintptr_t V) {
    return WORD(V & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t V) {
    return WORD((V >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(unsigned Low, unsigned High) {
    return WPARAM(DWORD((Low & 0xFFFF) | ((High & 0xFFFF) << 16)));
}
// Sign-extended from 32 bits so that a negative high word reads as a
// negative LPARAM, like a 32-bit value would.
constexpr LPARAM MAKELPARAM(unsigned Low, unsigned High) {
    return LPARAM(std::int32_t((Low & 0xFFFF) | ((High & 0xFFFF) << 16)));
}
constexpr LRESULT MAKELRESULT(unsigned Low, unsigned High) {
    return MAKELPARAM(Low, High);
}
constexpr int GET_X_LPARAM(LPARAM L) {
    return std::int16_t(L & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM L) {
    return std::int16_t((L >> 16) & 0xFFFF);
}
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM W) {
    return short(HIWORD(W));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM W) {
    return LOWORD(W);
}
// A wheel message's wParam: the delta in the high word, sign-extended, so the
// value read as a signed 32-bit number has the delta's sign.
constexpr WPARAM MakeWheelWParam(int Delta, unsigned Keys) {
    return WPARAM(std::intptr_t(std::int32_t((Keys & 0xFFFF) | (unsigned(Delta & 0xFFFF) << 16))));
}
inline LPARAM PointToLParam(TPoint P) {
    return MAKELPARAM(unsigned(P.X), unsigned(P.Y));
}
inline TPoint LParamToPoint(LPARAM L) {
    return {GET_X_LPARAM(L), GET_Y_LPARAM(L)};
}

// ---------------------------------------------------------------- messages

constexpr UINT WM_NULL = 0x00;
constexpr UINT WM_CREATE = 0x01;
constexpr UINT WM_DESTROY = 0x02;
constexpr UINT WM_MOVE = 0x03;
constexpr UINT WM_SIZE = 0x05;
constexpr UINT WM_ACTIVATE = 0x06;
constexpr UINT WM_SETFOCUS = 0x07;
constexpr UINT WM_KILLFOCUS = 0x08;
constexpr UINT WM_ENABLE = 0x0A;
constexpr UINT WM_SETREDRAW = 0x0B;
constexpr UINT WM_SETTEXT = 0x0C;
constexpr UINT WM_GETTEXT = 0x0D;
constexpr UINT WM_GETTEXTLENGTH = 0x0E;
constexpr UINT WM_PAINT = 0x0F;
constexpr UINT WM_CLOSE = 0x10;
constexpr UINT WM_QUERYENDSESSION = 0x11;
constexpr UINT WM_QUIT = 0x12;
constexpr UINT WM_ERASEBKGND = 0x14;
constexpr UINT WM_SHOWWINDOW = 0x18;
constexpr UINT WM_ACTIVATEAPP = 0x1C;
constexpr UINT WM_CANCELMODE = 0x1F;
constexpr UINT WM_SETCURSOR = 0x20;
constexpr UINT WM_MOUSEACTIVATE = 0x21;
constexpr UINT WM_GETMINMAXINFO = 0x24;
constexpr UINT WM_DRAWITEM = 0x2B;
constexpr UINT WM_MEASUREITEM = 0x2C;
constexpr UINT WM_SETFONT = 0x30;
constexpr UINT WM_GETFONT = 0x31;
constexpr UINT WM_WINDOWPOSCHANGING = 0x46;
constexpr UINT WM_WINDOWPOSCHANGED = 0x47;
constexpr UINT WM_NOTIFY = 0x4E;
constexpr UINT WM_USERCHANGED = 0x54;
constexpr UINT WM_CONTEXTMENU = 0x7B;
constexpr UINT WM_STYLECHANGING = 0x7C;
constexpr UINT WM_STYLECHANGED = 0x7D;
constexpr UINT WM_DISPLAYCHANGE = 0x7E;
constexpr UINT WM_NCCREATE = 0x81;
constexpr UINT WM_NCDESTROY = 0x82;
constexpr UINT WM_NCCALCSIZE = 0x83;
constexpr UINT WM_NCHITTEST = 0x84;
constexpr UINT WM_NCPAINT = 0x85;
constexpr UINT WM_NCACTIVATE = 0x86;
constexpr UINT WM_GETDLGCODE = 0x87;
// Sent to the parent of a list box with LBS_WANTKEYBOARDINPUT: wParam the
// key (or character) in the low word and the caret item in the high word,
// lParam the list box. The answer -1 lets the list box act, -2 says the
// parent handled it, an index makes that item the one acted on.
constexpr UINT WM_VKEYTOITEM = 0x002E;
// The same for typed characters, asked of the parent of an owner-drawn list
// box without strings, which has nothing to search.
constexpr UINT WM_CHARTOITEM = 0x002F;
constexpr UINT WM_SYNCPAINT = 0x88;
constexpr UINT WM_NCMOUSEMOVE = 0xA0;
constexpr UINT WM_NCLBUTTONDOWN = 0xA1;
constexpr UINT WM_NCLBUTTONUP = 0xA2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0xA3;
constexpr UINT WM_NCRBUTTONDOWN = 0xA4;
constexpr UINT WM_NCRBUTTONUP = 0xA5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0xA6;
constexpr UINT WM_NCMBUTTONDOWN = 0xA7;
constexpr UINT WM_NCMBUTTONUP = 0xA8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0xA9;
constexpr UINT WM_KEYFIRST = 0x100;
constexpr UINT WM_KEYDOWN = 0x100;
constexpr UINT WM_KEYUP = 0x101;
constexpr UINT WM_CHAR = 0x102;
constexpr UINT WM_SYSKEYDOWN = 0x104;
constexpr UINT WM_SYSKEYUP = 0x105;
constexpr UINT WM_SYSCHAR = 0x106;
constexpr UINT WM_KEYLAST = 0x109;
constexpr UINT WM_COMMAND = 0x111;
constexpr UINT WM_SYSCOMMAND = 0x112;
constexpr UINT WM_TIMER = 0x113;
constexpr UINT WM_HSCROLL = 0x114;
constexpr UINT WM_VSCROLL = 0x115;
constexpr UINT WM_INITMENUPOPUP = 0x117;
constexpr UINT WM_MENUCHAR = 0x120;
constexpr UINT WM_CTLCOLOREDIT = 0x133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x134;
constexpr UINT WM_CTLCOLORSTATIC = 0x138;
constexpr UINT WM_MOUSEFIRST = 0x200;
constexpr UINT WM_MOUSEMOVE = 0x200;
constexpr UINT WM_LBUTTONDOWN = 0x201;
constexpr UINT WM_LBUTTONUP = 0x202;
constexpr UINT WM_LBUTTONDBLCLK = 0x203;
constexpr UINT WM_RBUTTONDOWN = 0x204;
constexpr UINT WM_RBUTTONUP = 0x205;
constexpr UINT WM_RBUTTONDBLCLK = 0x206;
constexpr UINT WM_MBUTTONDOWN = 0x207;
constexpr UINT WM_MBUTTONUP = 0x208;
constexpr UINT WM_MBUTTONDBLCLK = 0x209;
constexpr UINT WM_MOUSEWHEEL = 0x20A;
constexpr UINT WM_MOUSELAST = 0x20A;
constexpr UINT WM_PARENTNOTIFY = 0x210;
constexpr UINT WM_SIZING = 0x214;
constexpr UINT WM_CAPTURECHANGED = 0x215;
constexpr UINT WM_MOVING = 0x216;
constexpr UINT WM_ENTERSIZEMOVE = 0x231;
constexpr UINT WM_EXITSIZEMOVE = 0x232;
constexpr UINT WM_MOUSEHOVER = 0x2A1;
constexpr UINT WM_NCMOUSELEAVE = 0x2A2;
constexpr UINT WM_MOUSELEAVE = 0x2A3;
constexpr UINT WM_CUT = 0x300;
constexpr UINT WM_COPY = 0x301;
constexpr UINT WM_PASTE = 0x302;
constexpr UINT WM_CLEAR = 0x303;
constexpr UINT WM_UNDO = 0x304;
constexpr UINT WM_USER = 0x400;

// ---------------------------------------------------------------- styles

constexpr DWORD CS_VREDRAW = 0x1;
constexpr DWORD CS_HREDRAW = 0x2;
constexpr DWORD CS_DBLCLKS = 0x8;
constexpr DWORD CS_SAVEBITS = 0x800;
constexpr DWORD CS_DROPSHADOW = 0x20000;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x1;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x4;
constexpr DWORD WS_EX_TOPMOST = 0x8;
constexpr DWORD WS_EX_TRANSPARENT = 0x20;
constexpr DWORD WS_EX_MDICHILD = 0x40;
constexpr DWORD WS_EX_TOOLWINDOW = 0x80;
constexpr DWORD WS_EX_WINDOWEDGE = 0x100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x400;
constexpr DWORD WS_EX_STATICEDGE = 0x20000;
constexpr DWORD WS_EX_APPWINDOW = 0x40000;
constexpr DWORD WS_EX_LAYERED = 0x80000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWLP_WNDPROC = GWL_WNDPROC;
constexpr int GWLP_HWNDPARENT = GWL_HWNDPARENT;
constexpr int GWLP_ID = GWL_ID;
constexpr int GWLP_USERDATA = GWL_USERDATA;
constexpr int GCL_STYLE = -26;
constexpr int GCL_HCURSOR = -12;
constexpr int GCL_HBRBACKGROUND = -10;

constexpr int CW_USEDEFAULT = int(0x80000000);

// ---------------------------------------------------------------- hierarchy

constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

inline const HWND HWND_TOP = reinterpret_cast<HWND>(std::intptr_t(0));
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(std::intptr_t(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t(-2));
// The hwnd filter of PeekMessage/GetMessage for thread messages only.
inline const HWND HWND_THREAD_ONLY = reinterpret_cast<HWND>(std::intptr_t(-1));

// ---------------------------------------------------------------- positions and showing

constexpr UINT SWP_NOSIZE = 0x1;
constexpr UINT SWP_NOMOVE = 0x2;
constexpr UINT SWP_NOZORDER = 0x4;
constexpr UINT SWP_NOREDRAW = 0x8;
constexpr UINT SWP_NOACTIVATE = 0x10;
constexpr UINT SWP_FRAMECHANGED = 0x20;
constexpr UINT SWP_SHOWWINDOW = 0x40;
constexpr UINT SWP_HIDEWINDOW = 0x80;
constexpr UINT SWP_NOCOPYBITS = 0x100;
constexpr UINT SWP_NOOWNERZORDER = 0x200;
constexpr UINT SWP_NOSENDCHANGING = 0x400;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
// lParam of WM_SHOWWINDOW.
constexpr int SW_PARENTCLOSING = 1;
constexpr int SW_PARENTOPENING = 3;

constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

constexpr UINT CWP_ALL = 0;
constexpr UINT CWP_SKIPINVISIBLE = 1;
constexpr UINT CWP_SKIPDISABLED = 2;
constexpr UINT CWP_SKIPTRANSPARENT = 4;

// ---------------------------------------------------------------- queue

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
constexpr UINT PM_NOYIELD = 2;

// Private messages of the window system lie in 0xA000-0xA0FF.
constexpr UINT WM_WINSYS_FIRST = 0xA000;
constexpr UINT WM_WINSYS_LAST = 0xA0FF;

// ---------------------------------------------------------------- painting

constexpr UINT RDW_INVALIDATE = 0x1;
constexpr UINT RDW_INTERNALPAINT = 0x2;
constexpr UINT RDW_ERASE = 0x4;
constexpr UINT RDW_VALIDATE = 0x8;
constexpr UINT RDW_NOINTERNALPAINT = 0x10;
constexpr UINT RDW_NOERASE = 0x20;
constexpr UINT RDW_NOCHILDREN = 0x40;
constexpr UINT RDW_ALLCHILDREN = 0x80;
constexpr UINT RDW_UPDATENOW = 0x100;
constexpr UINT RDW_ERASENOW = 0x200;
constexpr UINT RDW_FRAME = 0x400;
constexpr UINT RDW_NOFRAME = 0x800;

constexpr DWORD DCX_WINDOW = 0x1;
constexpr DWORD DCX_CACHE = 0x2;
constexpr DWORD DCX_CLIPCHILDREN = 0x8;
constexpr DWORD DCX_CLIPSIBLINGS = 0x10;
constexpr DWORD DCX_PARENTCLIP = 0x20;
constexpr DWORD DCX_EXCLUDERGN = 0x40;
constexpr DWORD DCX_INTERSECTRGN = 0x80;

constexpr UINT SW_SCROLLCHILDREN = 0x1;
constexpr UINT SW_INVALIDATE = 0x2;
constexpr UINT SW_ERASE = 0x4;

// ---------------------------------------------------------------- input

constexpr int HTERROR = -2;
constexpr int HTTRANSPARENT = -1;
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTSYSMENU = 3;
constexpr int HTGROWBOX = 4;
constexpr int HTSIZE = 4;
constexpr int HTMENU = 5;
constexpr int HTHSCROLL = 6;
constexpr int HTVSCROLL = 7;
constexpr int HTMINBUTTON = 8;
constexpr int HTMAXBUTTON = 9;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
constexpr int HTBORDER = 18;
constexpr int HTOBJECT = 19;
constexpr int HTCLOSE = 20;
constexpr int HTHELP = 21;

constexpr WPARAM MK_LBUTTON = 0x1;
constexpr WPARAM MK_RBUTTON = 0x2;
constexpr WPARAM MK_SHIFT = 0x4;
constexpr WPARAM MK_CONTROL = 0x8;
constexpr WPARAM MK_MBUTTON = 0x10;

constexpr int WHEEL_DELTA = 120;

constexpr int MA_ACTIVATE = 1;
constexpr int MA_ACTIVATEANDEAT = 2;
constexpr int MA_NOACTIVATE = 3;
constexpr int MA_NOACTIVATEANDEAT = 4;

constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;

constexpr DWORD TME_HOVER = 1;
constexpr DWORD TME_LEAVE = 2;
constexpr DWORD TME_NONCLIENT = 0x10;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

// Standard cursor ids, passed to LoadCursor(0, id).
constexpr int IDC_ARROW = 32512;
constexpr int IDC_IBEAM = 32513;
constexpr int IDC_WAIT = 32514;
constexpr int IDC_CROSS = 32515;
constexpr int IDC_UPARROW = 32516;
constexpr int IDC_SIZENWSE = 32642;
constexpr int IDC_SIZENESW = 32643;
constexpr int IDC_SIZEWE = 32644;
constexpr int IDC_SIZENS = 32645;
constexpr int IDC_SIZEALL = 32646;
constexpr int IDC_NO = 32648;
constexpr int IDC_HAND = 32649;
constexpr int IDC_APPSTARTING = 32650;
constexpr int IDC_HELP = 32651;

// ---------------------------------------------------------------- keyboard

constexpr int VK_LBUTTON = 1;
constexpr int VK_RBUTTON = 2;
constexpr int VK_MBUTTON = 4;
constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;
constexpr int VK_MENU = 18;
constexpr int VK_PAUSE = 19;
constexpr int VK_CAPITAL = 20;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_PRIOR = 33;
constexpr int VK_NEXT = 34;
constexpr int VK_END = 35;
constexpr int VK_HOME = 36;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int VK_INSERT = 45;
constexpr int VK_DELETE = 46;
constexpr int VK_LWIN = 91;
constexpr int VK_RWIN = 92;
constexpr int VK_APPS = 93;
constexpr int VK_NUMPAD0 = 96;
constexpr int VK_NUMPAD9 = 105;
constexpr int VK_MULTIPLY = 106;
constexpr int VK_ADD = 107;
constexpr int VK_SUBTRACT = 109;
constexpr int VK_DECIMAL = 110;
constexpr int VK_DIVIDE = 111;
constexpr int VK_F1 = 112;
constexpr int VK_F4 = 115;
constexpr int VK_F10 = 121;
constexpr int VK_F24 = 135;
constexpr int VK_NUMLOCK = 144;
constexpr int VK_SCROLL = 145;
constexpr int VK_LSHIFT = 160;
constexpr int VK_RSHIFT = 161;
constexpr int VK_LCONTROL = 162;
constexpr int VK_RCONTROL = 163;
constexpr int VK_LMENU = 164;
constexpr int VK_RMENU = 165;
constexpr int VK_OEM_1 = 186;
constexpr int VK_OEM_PLUS = 187;
constexpr int VK_OEM_COMMA = 188;
constexpr int VK_OEM_MINUS = 189;
constexpr int VK_OEM_PERIOD = 190;
constexpr int VK_OEM_2 = 191;
constexpr int VK_OEM_3 = 192;
constexpr int VK_OEM_4 = 219;
constexpr int VK_OEM_5 = 220;
constexpr int VK_OEM_6 = 221;
constexpr int VK_OEM_7 = 222;
constexpr int VK_PROCESSKEY = 229;

constexpr LRESULT DLGC_WANTARROWS = 0x1;
constexpr LRESULT DLGC_WANTTAB = 0x2;
constexpr LRESULT DLGC_WANTALLKEYS = 0x4;
constexpr LRESULT DLGC_HASSETSEL = 0x8;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x10;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x20;
constexpr LRESULT DLGC_RADIOBUTTON = 0x40;
constexpr LRESULT DLGC_WANTCHARS = 0x80;
constexpr LRESULT DLGC_STATIC = 0x100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// ---------------------------------------------------------------- system commands

constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;

constexpr WPARAM WMSZ_LEFT = 1;
constexpr WPARAM WMSZ_RIGHT = 2;
constexpr WPARAM WMSZ_TOP = 3;
constexpr WPARAM WMSZ_TOPLEFT = 4;
constexpr WPARAM WMSZ_TOPRIGHT = 5;
constexpr WPARAM WMSZ_BOTTOM = 6;
constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// ---------------------------------------------------------------- scroll bars

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;
constexpr UINT SIF_RANGE = 1;
constexpr UINT SIF_PAGE = 2;
constexpr UINT SIF_POS = 4;
constexpr UINT SIF_DISABLENOSCROLL = 8;
constexpr UINT SIF_TRACKPOS = 0x10;
constexpr UINT SIF_ALL = 0x17;
constexpr WPARAM SB_LINEUP = 0;
constexpr WPARAM SB_LINELEFT = 0;
constexpr WPARAM SB_LINEDOWN = 1;
constexpr WPARAM SB_LINERIGHT = 1;
constexpr WPARAM SB_PAGEUP = 2;
constexpr WPARAM SB_PAGELEFT = 2;
constexpr WPARAM SB_PAGEDOWN = 3;
constexpr WPARAM SB_PAGERIGHT = 3;
constexpr WPARAM SB_THUMBPOSITION = 4;
constexpr WPARAM SB_THUMBTRACK = 5;
constexpr WPARAM SB_TOP = 6;
constexpr WPARAM SB_BOTTOM = 7;
constexpr WPARAM SB_ENDSCROLL = 8;
constexpr UINT ESB_ENABLE_BOTH = 0;
constexpr UINT ESB_DISABLE_BOTH = 3;

// ---------------------------------------------------------------- layered windows

constexpr DWORD LWA_COLORKEY = 1;
constexpr DWORD LWA_ALPHA = 2;
constexpr DWORD ULW_COLORKEY = 1;
constexpr DWORD ULW_ALPHA = 2;
constexpr DWORD ULW_OPAQUE = 4;

// ---------------------------------------------------------------- monitors, metrics

constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXFIXEDFRAME = 7;
constexpr int SM_CYFIXEDFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXSIZEFRAME = 32;
constexpr int SM_CYSIZEFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMAXTRACK = 59;
constexpr int SM_CYMAXTRACK = 60;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;

constexpr UINT SPI_GETDRAGFULLWINDOWS = 38;
constexpr UINT SPI_GETWORKAREA = 48;
constexpr UINT SPI_GETWHEELSCROLLLINES = 104;

// ---------------------------------------------------------------- other services

constexpr UINT MB_OK = 0;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT CF_TEXT = 1;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT GMEM_MOVEABLE = 2;
constexpr std::intptr_t SE_ERR_NOASSOC = 31;

// ---------------------------------------------------------------- records

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
};

// The class library's message record: Result survives a call into a
// previous procedure.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
};

struct WNDCLASSEX {
    UINT cbSize = sizeof(WNDCLASSEX);
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
    HICON hIconSm = nullptr;
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const char* lpszName = nullptr;
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = 0;
    TPoint ptMinPosition;
    TPoint ptMaxPosition;
    TRect rcNormalPosition;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    TRect rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = HOVER_DEFAULT;
};

struct MONITORINFO {
    DWORD cbSize = 40;
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
};

// cbSize 104: the form with a device name.
struct MONITORINFOEX {
    DWORD cbSize = 104;
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
    char szDevice[32] = {};
};

// Notification icons (Shell_NotifyIcon).
constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;
constexpr UINT NIF_INFO = 0x10;
constexpr DWORD NIIF_NONE = 0;
constexpr DWORD NIIF_INFO = 1;
constexpr DWORD NIIF_WARNING = 2;
constexpr DWORD NIIF_ERROR = 3;
constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;

// Strings are UTF-8; cbSize is carried and not checked.
struct NOTIFYICONDATA {
    DWORD cbSize = 0;
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    std::string szTip;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    std::string szInfo;
    UINT uTimeout = 0;
    std::string szInfoTitle;
    DWORD dwInfoFlags = 0;
};
