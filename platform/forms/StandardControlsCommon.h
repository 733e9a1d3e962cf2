// What the native standard controls (edit, list and combo box, list and tree
// view, tabs, up-down) share: their per-window state, the window procedure and
// class registration, notifications to the parent, colours asked of the
// parent, measuring text in the window's font, and scroll
// information. Internal to platform/forms.
#pragma once

#include "platform/core/Strings.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace StdCtrl {

// The state object of a native control lives in a window property from
// WM_NCCREATE to WM_NCDESTROY.
template <class T> T* StateOf(HWND Wnd, const char* Prop) {
    return static_cast<T*>(GetProp(Wnd, Prop));
}

// The window procedure of a native control whose state object lives in the
// window property Prop from WM_NCCREATE to WM_NCDESTROY; the state object
// answers every other message. With KeepText the control's last text is
// handed to the window system on the way out, so that whoever reads it after
// WM_NCDESTROY (a wrapper re-creating the window) gets what the user typed.
template <class T>
LRESULT StateWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, const char* Prop,
                     bool KeepText = false) {
    if (Msg == WM_NCCREATE) {
        SetProp(Wnd, Prop, new T(Wnd));
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    auto* State = StateOf<T>(Wnd, Prop);
    if (!State)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    if (Msg == WM_NCDESTROY) {
        if (KeepText) {
            std::string Text = GetWindowText(Wnd);
            DefWindowProc(Wnd, WM_SETTEXT, 0, LPARAM(Text.c_str()));
        }
        RemoveProp(Wnd, Prop);
        delete State;
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    return State->Handle(Msg, WParam, LParam);
}

// Registers a native window class once; later calls find it registered.
inline void RegisterNativeClass(const char* Name, WNDPROC Proc, int Cursor = IDC_ARROW) {
    WNDCLASS Existing;
    if (GetClassInfo(nullptr, Name, &Existing))
        return;
    WNDCLASS Class;
    Class.style = CS_DBLCLKS;
    Class.lpfnWndProc = Proc;
    Class.hCursor = LoadCursor(nullptr, Cursor);
    Class.lpszClassName = Name;
    RegisterClass(&Class);
}

inline int ControlId(HWND Wnd) {
    return int(GetWindowLong(Wnd, GWL_ID));
}

inline DWORD StyleOf(HWND Wnd) {
    return DWORD(GetWindowLong(Wnd, GWL_STYLE));
}

// WM_COMMAND to the parent: the code in the high word, the id in the low.
inline void NotifyCommand(HWND Wnd, UINT Code) {
    HWND Parent = GetParent(Wnd);
    if (Parent)
        SendMessage(Parent, WM_COMMAND, MAKEWPARAM(unsigned(ControlId(Wnd)), Code), LPARAM(Wnd));
}

// The brush the parent answers for WM_CTLCOLOR*, with the DC's colours set
// by it; the plain window colours when the parent does not answer.
inline HBRUSH AskColors(HWND Wnd, HDC DC, UINT Msg, bool Disabled) {
    SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(DC, GetSysColor(COLOR_WINDOW));
    HWND Parent = GetParent(Wnd);
    auto Brush = Parent
                     ? reinterpret_cast<HBRUSH>(SendMessage(Parent, Msg, WPARAM(DC), LPARAM(Wnd)))
                     : nullptr;
    if (!Brush)
        Brush = GetSysColorBrush(Msg == WM_CTLCOLORSTATIC ? COLOR_BTNFACE : COLOR_WINDOW);
    if (Disabled)
        SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
    return Brush;
}

inline bool IsNullBrush(HBRUSH Brush) {
    return ToObj(Brush) == GetStockObject(NULL_BRUSH);
}

// Invalid UTF-8 sequences become U+FFFD.
inline std::string SanitizeUtf8(std::string_view Text) {
    if (IsValidUtf8(Text))
        return std::string(Text);
    std::string Out;
    Out.reserve(Text.size() + 8);
    std::size_t Pos = 0;
    while (Pos < Text.size())
        AppendUtf8(Out, Utf8Next(Text, Pos));
    return Out;
}

// A memory DC with the control's font selected, for measuring.
class TMeasure {
public:
    TMeasure() : FDC(CreateCompatibleDC(nullptr)) {}
    ~TMeasure() { DeleteDC(FDC); }
    TMeasure(const TMeasure&) = delete;
    TMeasure& operator=(const TMeasure&) = delete;

    void SetFont(HFONT Font) {
        SelectObject(FDC, Font ? ToObj(Font) : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRIC TM;
        GetTextMetrics(FDC, &TM);
        FLineHeight = std::max<int>(1, TM.tmHeight);
        FAveCharWidth = std::max<int>(1, TM.tmAveCharWidth);
    }
    int Width(std::string_view Text) const {
        if (Text.empty())
            return 0;
        TSize S;
        GetTextExtentPoint32(FDC, Text, &S);
        return S.cx;
    }
    int LineHeight() const { return FLineHeight; }
    int AveCharWidth() const { return FAveCharWidth; }
    HDC DC() const { return FDC; }

private:
    HDC FDC;
    int FLineHeight = 16;
    int FAveCharWidth = 7;
};

// Publishes one bar's range, page and position; a window without the bar's
// style keeps the information without showing a bar.
inline void PublishScroll(HWND Wnd, int Bar, int Min, int Max, int Page, int Pos) {
    SCROLLINFO SI;
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SI.nMin = Min;
    SI.nMax = std::max(Min, Max);
    SI.nPage = UINT(std::max(0, Page));
    SI.nPos = Pos;
    SetScrollInfo(Wnd, Bar, &SI, TRUE);
}

// The new first line (or column) of a scroll request; Count is the number
// of lines, Page the fully visible ones.
inline int ScrollTarget(HWND Wnd, int Bar, WPARAM WParam, int Current, int Count, int Page) {
    int Max = std::max(0, Count - std::max(1, Page));
    int Target = Current;
    switch (LOWORD(WParam)) {
    case SB_LINEUP:
        Target = Current - 1;
        break;
    case SB_LINEDOWN:
        Target = Current + 1;
        break;
    case SB_PAGEUP:
        Target = Current - std::max(1, Page);
        break;
    case SB_PAGEDOWN:
        Target = Current + std::max(1, Page);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // A position beyond 16 bits survives through the stored one.
        int Stored = GetScrollPos(Wnd, Bar);
        Target = (Stored & 0xFFFF) == HIWORD(WParam) ? Stored : int(HIWORD(WParam));
        break;
    }
    case SB_TOP:
        Target = 0;
        break;
    case SB_BOTTOM:
        Target = Max;
        break;
    default:
        break;
    }
    return std::clamp(Target, 0, Max);
}

// The new left edge, in pixels, of a horizontal scroll request over content
// Extent wide seen through a view Width wide; a line moves by Step.
inline int PixelScrollTarget(WPARAM WParam, int Current, int Step, int Width, int Extent) {
    int Target = Current;
    switch (LOWORD(WParam)) {
    case SB_LINELEFT:
        Target -= Step;
        break;
    case SB_LINERIGHT:
        Target += Step;
        break;
    case SB_PAGELEFT:
        Target -= Width;
        break;
    case SB_PAGERIGHT:
        Target += Width;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        Target = HIWORD(WParam);
        break;
    case SB_TOP:
        Target = 0;
        break;
    case SB_BOTTOM:
        Target = Extent;
        break;
    default:
        break;
    }
    return std::clamp(Target, 0, std::max(0, Extent - Width));
}

inline int WheelLines() {
    UINT Lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
    return int(Lines);
}

inline bool KeyDown(int VirtualKey) {
    return GetKeyState(VirtualKey) < 0;
}

} // namespace StdCtrl
