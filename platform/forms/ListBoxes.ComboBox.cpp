// The native combo box (a face, a button and a drop-down list box in a popup
// that never takes the focus) and TCustomComboBox.
#include "platform/forms/ListBoxes.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/forms/Edits.h"
#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>

using namespace StdCtrl;

namespace {

constexpr const char* ComboProp = "Ostrela.ComboBox";
constexpr int EditId = 1001;
constexpr UINT_PTR ListSubclassId = 0xC0B0;
constexpr UINT_PTR EditSubclassId = 0xC0B1;
// What a subclass hook answers when the message goes on to the control.
constexpr LRESULT PassOn = -0x7FFF;

class TComboControl {
public:
    explicit TComboControl(HWND Wnd) : FWnd(Wnd) { FMeasure.SetFont(nullptr); }
    ~TComboControl();

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT ListMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT EditMessage(UINT Msg, WPARAM WParam, LPARAM);
    HWND List() const { return FList; }

private:
    DWORD Kind() const { return StyleOf(FWnd) & 3; }
    bool HasEdit() const { return FEdit != nullptr; }
    int Count() const { return int(SendMessage(FList, LB_GETCOUNT, 0, 0)); }
    int Cur() const { return int(SendMessage(FList, LB_GETCURSEL, 0, 0)); }
    std::string ItemText(int Index) const;
    TRect ButtonRect();
    void Create();
    void Layout();
    // Shows the chosen item in the face.
    void ShowSelection();
    void SetCur(int Index, bool User);
    void DropDown();
    void CloseUp(bool Accept);
    void KeyDown(WPARAM Key, bool Alt);
    void Paint(HDC Given);
    void Notify(UINT Code) { NotifyCommand(FWnd, Code); }

    HWND FWnd;
    HWND FList = nullptr;
    HWND FEdit = nullptr;
    HFONT FFont = nullptr;
    TMeasure FMeasure;
    bool FDropped = false;
    bool FFocused = false;
    int FCurBeforeDrop = -1;
    bool FListTracking = false;
    // Set while the combo itself changes its edit: that is no edit by the user.
    bool FSettingEdit = false;
};

LRESULT ListSubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
    auto* Combo = reinterpret_cast<TComboControl*>(Data);
    LRESULT R = Combo->ListMessage(Msg, WParam, LParam);
    return R == PassOn ? DefSubclassProc(Wnd, Msg, WParam, LParam) : R;
}

LRESULT EditSubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
    auto* Combo = reinterpret_cast<TComboControl*>(Data);
    LRESULT R = Combo->EditMessage(Msg, WParam, LParam);
    return R == PassOn ? DefSubclassProc(Wnd, Msg, WParam, LParam) : R;
}

TComboControl::~TComboControl() {
    if (FList && IsWindow(FList)) {
        RemoveWindowSubclass(FList, ListSubclass, ListSubclassId);
        if (GetCapture() == FList)
            ReleaseCapture();
        DestroyWindow(FList);
    }
}

std::string TComboControl::ItemText(int Index) const {
    LRESULT Len = SendMessage(FList, LB_GETTEXTLEN, WPARAM(Index), 0);
    if (Len < 0)
        return {};
    std::string S(std::size_t(Len) + 1, '\0');
    SendMessage(FList, LB_GETTEXT, WPARAM(Index), LPARAM(S.data()));
    S.resize(std::size_t(Len));
    return S;
}

TRect TComboControl::ButtonRect() {
    TRect C;
    GetClientRect(FWnd, &C);
    return {std::max(C.Left, C.Right - GetSystemMetrics(SM_CXVSCROLL)), C.Top, C.Right, C.Bottom};
}

void TComboControl::Create() {
    RegisterListBoxClass();
    DWORD ListStyle = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS |
                      LBS_NOINTEGRALHEIGHT | ((StyleOf(FWnd) & CBS_SORT) ? LBS_SORT : 0);
    FList = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, "LISTBOX", "",
                           ListStyle, 0, 0, 10, 10, GetAncestor(FWnd, GA_ROOT), nullptr, nullptr,
                           nullptr);
    SetWindowSubclass(FList, ListSubclass, ListSubclassId, DWORD_PTR(this));
    if (Kind() == CBS_DROPDOWN || Kind() == CBS_SIMPLE) {
        RegisterEditClass();
        DWORD EditStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        FEdit = CreateWindowEx(0, "EDIT", "", EditStyle, 0, 0, 10, 10, FWnd,
                               reinterpret_cast<HMENU>(std::intptr_t(EditId)), nullptr, nullptr);
        SetWindowLong(FEdit, GWL_ID, EditId);
        SetWindowSubclass(FEdit, EditSubclass, EditSubclassId, DWORD_PTR(this));
    }
    Layout();
}

void TComboControl::Layout() {
    if (!FEdit)
        return;
    TRect C, B = ButtonRect();
    GetClientRect(FWnd, &C);
    MoveWindow(FEdit, C.Left + 1, C.Top + 1, std::max(0, B.Left - C.Left - 2),
               std::max(0, C.Height() - 2), TRUE);
}

void TComboControl::ShowSelection() {
    int Index = Cur();
    if (FEdit) {
        FSettingEdit = true;
        SetWindowText(FEdit, Index >= 0 ? ItemText(Index) : std::string());
        FSettingEdit = false;
        SendMessage(FEdit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(FWnd, nullptr, TRUE);
}

void TComboControl::SetCur(int Index, bool User) {
    if (Index == Cur())
        return;
    SendMessage(FList, LB_SETCURSEL, WPARAM(Index), 0);
    ShowSelection();
    if (User)
        Notify(CBN_SELCHANGE);
}

void TComboControl::DropDown() {
    if (FDropped || !IsWindowEnabled(FWnd))
        return;
    Notify(CBN_DROPDOWN);
    FCurBeforeDrop = Cur();
    TRect R;
    GetWindowRect(FWnd, &R);
    int ItemHeight = int(SendMessage(FList, LB_GETITEMHEIGHT, 0, 0));
    int Rows = std::clamp(Count(), 1, 8);
    auto* Wanted = reinterpret_cast<int*>(GetProp(FWnd, "Ostrela.ComboRows"));
    if (Wanted)
        Rows = std::clamp(Count(), 1, std::max(1, *Wanted));
    int Height = Rows * ItemHeight + 2;
    // Below the combo box, or above it when the screen ends first and there
    // is more room there.
    MONITORINFO Info;
    Info.cbSize = sizeof(Info);
    int Top = R.Bottom;
    if (GetMonitorInfo(MonitorFromRect(&R, MONITOR_DEFAULTTONEAREST), &Info)) {
        const TRect& Work = Info.rcWork;
        if (R.Bottom + Height > Work.Bottom && R.Top - Work.Top > Work.Bottom - R.Bottom)
            Top = std::max(Work.Top, R.Top - Height);
    }
    // The list shows a bar only when not every item fits.
    DWORD ListStyle = StyleOf(FList);
    DWORD WantStyle = Count() > Rows ? ListStyle | WS_VSCROLL : ListStyle & ~DWORD(WS_VSCROLL);
    if (WantStyle != ListStyle)
        SetWindowLong(FList, GWL_STYLE, LONG(WantStyle));
    SetWindowPos(FList, HWND_TOPMOST, R.Left, Top, R.Width(), Height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    FDropped = true;
    FListTracking = false;
    SetCapture(FList);
    if (Cur() >= 0)
        SendMessage(FList, LB_SETTOPINDEX, WPARAM(Cur()), 0);
}

void TComboControl::CloseUp(bool Accept) {
    if (!FDropped)
        return;
    FDropped = false;
    if (GetCapture() == FList)
        ReleaseCapture();
    ShowWindow(FList, SW_HIDE);
    if (Accept) {
        Notify(CBN_SELENDOK);
    } else {
        if (Cur() != FCurBeforeDrop) {
            SendMessage(FList, LB_SETCURSEL, WPARAM(FCurBeforeDrop), 0);
            ShowSelection();
        }
        Notify(CBN_SELENDCANCEL);
    }
    Notify(CBN_CLOSEUP);
    InvalidateRect(FWnd, nullptr, TRUE);
}

void TComboControl::KeyDown(WPARAM Key, bool Alt) {
    if (Key == VK_F4 || (Alt && (Key == VK_DOWN || Key == VK_UP))) {
        if (FDropped)
            CloseUp(true);
        else
            DropDown();
        return;
    }
    if (FDropped && (Key == VK_RETURN || Key == VK_ESCAPE)) {
        CloseUp(Key == VK_RETURN);
        return;
    }
    int N = Count();
    if (N == 0)
        return;
    int Index = Cur();
    switch (Key) {
    case VK_UP:
    case VK_LEFT:
        Index = Index < 0 ? 0 : Index - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        Index = Index + 1;
        break;
    case VK_HOME:
        Index = 0;
        break;
    case VK_END:
        Index = N - 1;
        break;
    case VK_PRIOR:
        Index -= 8;
        break;
    case VK_NEXT:
        Index += 8;
        break;
    default:
        return;
    }
    SetCur(std::clamp(Index, 0, N - 1), true);
}

void TComboControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    bool Disabled = !IsWindowEnabled(FWnd);
    HBRUSH Brush = AskColors(FWnd, DC, HasEdit() ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX, Disabled);
    TRect C;
    GetClientRect(FWnd, &C);
    if (!IsNullBrush(Brush))
        FillRect(DC, &C, Brush);
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    TRect B = ButtonRect();
    if (!HasEdit()) {
        TRect Face{C.Left + 2, C.Top + 2, B.Left - 2, C.Bottom - 2};
        bool Highlight = FFocused && !FDropped;
        if (Highlight) {
            HBRUSH Sel = GetSysColorBrush(COLOR_HIGHLIGHT);
            FillRect(DC, &Face, Sel);
            SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT));
        }
        SetBkMode(DC, TRANSPARENT);
        int Index = Cur();
        if (Index >= 0) {
            TRect T = Face;
            T.Left += 2;
            DrawText(DC, ItemText(Index), -1, &T,
                     DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (FFocused)
            DrawFocusRect(DC, &Face);
    }
    // The button: a raised face with a down arrow.
    FillRect(DC, &B, GetSysColorBrush(COLOR_BTNFACE));
    TRect Edge = B;
    DrawEdge(DC, &Edge, FDropped ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int CX = (B.Left + B.Right) / 2, CY = (B.Top + B.Bottom) / 2;
    HBRUSH Arrow = GetSysColorBrush(Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    for (int Row = 0; Row < 4; ++Row) {
        TRect Line{CX - 3 + Row, CY - 1 + Row, CX + 4 - Row, CY + Row};
        FillRect(DC, &Line, Arrow);
    }
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

LRESULT TComboControl::ListMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
    // While dropped the list holds the capture: a press outside closes it, a
    // release inside chooses.
    switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        TPoint P = LParamToPoint(LParam);
        TRect C;
        GetClientRect(FList, &C);
        bool Inside = PtInRect(&C, P);
        if (Msg == WM_LBUTTONDOWN && !Inside) {
            CloseUp(false);
            return 0;
        }
        if (Inside && (Msg != WM_MOUSEMOVE || FListTracking || (WParam & MK_LBUTTON) == 0)) {
            if (Msg == WM_LBUTTONDOWN)
                FListTracking = true;
            int Hit = LOWORD(SendMessage(FList, LB_ITEMFROMPOINT, 0, LParam));
            bool Outside = HIWORD(SendMessage(FList, LB_ITEMFROMPOINT, 0, LParam)) != 0;
            if (!Outside)
                SetCur(Hit, true);
            if (Msg == WM_LBUTTONUP && !Outside)
                CloseUp(true);
        }
        if (Msg == WM_LBUTTONUP)
            FListTracking = false;
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (FDropped && HWND(LParam) != FList)
            CloseUp(false);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return PassOn;
    }
}

LRESULT TComboControl::EditMessage(UINT Msg, WPARAM WParam, LPARAM) {
    switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        bool Alt = Msg == WM_SYSKEYDOWN || StdCtrl::KeyDown(VK_MENU);
        bool Navigation = WParam == VK_F4 || WParam == VK_UP || WParam == VK_DOWN ||
                          WParam == VK_PRIOR || WParam == VK_NEXT ||
                          (FDropped && (WParam == VK_RETURN || WParam == VK_ESCAPE));
        if (!Navigation)
            return PassOn;
        KeyDown(WParam, Alt);
        return 0;
    }
    case WM_KILLFOCUS:
        if (HWND(WParam) != FWnd && HWND(WParam) != FList) {
            CloseUp(false);
            FFocused = false;
            Notify(CBN_KILLFOCUS);
        }
        return PassOn;
    default:
        return PassOn;
    }
}

LRESULT TComboControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto Index = int(WParam);
    switch (Msg) {
    case WM_CREATE:
        Create();
        return 0;
    case WM_DESTROY:
        CloseUp(false);
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
        SendMessage(FList, WM_SETFONT, WParam, 0);
        if (FEdit)
            SendMessage(FEdit, WM_SETFONT, WParam, LParam);
        if (LParam)
            InvalidateRect(FWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    case WM_PAINT:
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (FDropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETTEXT:
        if (FEdit) {
            FSettingEdit = true;
            LRESULT R = SendMessage(FEdit, WM_SETTEXT, WParam, LParam);
            FSettingEdit = false;
            return R;
        }
        {
            int Found = int(SendMessage(FList, LB_FINDSTRINGEXACT, WPARAM(-1), LParam));
            SendMessage(FList, LB_SETCURSEL, WPARAM(Found), 0);
            InvalidateRect(FWnd, nullptr, TRUE);
            return Found >= 0 ? TRUE : CB_ERR;
        }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        if (FEdit)
            return SendMessage(FEdit, Msg, WParam, LParam);
        std::string Text = Cur() >= 0 ? ItemText(Cur()) : std::string();
        if (Msg == WM_GETTEXTLENGTH)
            return LRESULT(Text.size());
        if (WParam == 0 || !LParam)
            return 0;
        std::size_t N = std::min<std::size_t>(Text.size(), WParam - 1);
        while (N > 0 && N < Text.size() && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80)
            --N;
        std::copy_n(Text.data(), N, reinterpret_cast<char*>(LParam));
        reinterpret_cast<char*>(LParam)[N] = 0;
        return LRESULT(N);
    }
    case WM_SETFOCUS:
        if (FEdit) {
            SetFocus(FEdit);
            SendMessage(FEdit, EM_SETSEL, 0, -1);
        }
        if (!FFocused) {
            FFocused = true;
            Notify(CBN_SETFOCUS);
        }
        InvalidateRect(FWnd, nullptr, TRUE);
        return 0;
    case WM_KILLFOCUS:
        if (HWND(WParam) == FEdit)
            return 0;
        CloseUp(false);
        FFocused = false;
        InvalidateRect(FWnd, nullptr, TRUE);
        Notify(CBN_KILLFOCUS);
        return 0;
    case WM_COMMAND:
        if (HWND(LParam) == FEdit && FEdit && !FSettingEdit) {
            if (HIWORD(WParam) == EN_CHANGE)
                Notify(CBN_EDITCHANGE);
            else if (HIWORD(WParam) == EN_UPDATE)
                Notify(CBN_EDITUPDATE);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        KeyDown(WParam, Msg == WM_SYSKEYDOWN || StdCtrl::KeyDown(VK_MENU));
        return 0;
    case WM_CHAR:
        if (!FEdit && WParam > ' ') {
            std::string Prefix;
            AppendUtf8(Prefix, char32_t(WParam));
            int Found =
                int(SendMessage(FList, LB_FINDSTRING, WPARAM(Cur()), LPARAM(Prefix.c_str())));
            if (Found >= 0)
                SetCur(Found, true);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != FWnd && GetFocus() != FEdit)
            SetFocus(FWnd);
        TRect Button = ButtonRect();
        if (FDropped)
            CloseUp(false);
        else if (!FEdit || PtInRect(&Button, LParamToPoint(LParam)))
            DropDown();
        return 0;
    }
    case WM_ENABLE:
        if (FEdit)
            EnableWindow(FEdit, WParam != 0);
        InvalidateRect(FWnd, nullptr, TRUE);
        return 0;
    // ---- items
    case CB_ADDSTRING:
        return SendMessage(FList, LB_ADDSTRING, 0, LParam);
    case CB_INSERTSTRING:
        return SendMessage(FList, LB_INSERTSTRING, WParam, LParam);
    case CB_DELETESTRING: {
        LRESULT R = SendMessage(FList, LB_DELETESTRING, WParam, 0);
        InvalidateRect(FWnd, nullptr, TRUE);
        return R;
    }
    case CB_RESETCONTENT:
        SendMessage(FList, LB_RESETCONTENT, 0, 0);
        if (FEdit) {
            FSettingEdit = true;
            SetWindowText(FEdit, "");
            FSettingEdit = false;
        }
        InvalidateRect(FWnd, nullptr, TRUE);
        return 0;
    case CB_GETCOUNT:
        return Count();
    case CB_GETLBTEXT:
        return SendMessage(FList, LB_GETTEXT, WParam, LParam);
    case CB_GETLBTEXTLEN:
        return SendMessage(FList, LB_GETTEXTLEN, WParam, 0);
    case CB_GETITEMDATA:
        return SendMessage(FList, LB_GETITEMDATA, WParam, 0);
    case CB_SETITEMDATA:
        return SendMessage(FList, LB_SETITEMDATA, WParam, LParam);
    case CB_FINDSTRING:
        return SendMessage(FList, LB_FINDSTRING, WParam, LParam);
    case CB_FINDSTRINGEXACT:
        return SendMessage(FList, LB_FINDSTRINGEXACT, WParam, LParam);
    case CB_SELECTSTRING: {
        int Found = int(SendMessage(FList, LB_FINDSTRING, WParam, LParam));
        if (Found < 0)
            return CB_ERR;
        SetCur(Found, false);
        return Found;
    }
    case CB_SETCURSEL:
        if (Index >= Count())
            return CB_ERR;
        SendMessage(FList, LB_SETCURSEL, WPARAM(Index), 0);
        ShowSelection();
        return Index < 0 ? CB_ERR : Index;
    case CB_GETCURSEL:
        return Cur();
    case CB_SHOWDROPDOWN:
        if (WParam)
            DropDown();
        else
            CloseUp(false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return FDropped;
    case CB_SETITEMHEIGHT:
        return SendMessage(FList, LB_SETITEMHEIGHT, 0, LParam);
    case CB_LIMITTEXT:
        if (FEdit)
            SendMessage(FEdit, EM_LIMITTEXT, WParam, 0);
        return TRUE;
    case CB_GETEDITSEL:
        return FEdit ? SendMessage(FEdit, EM_GETSEL, WParam, LParam) : CB_ERR;
    case CB_SETEDITSEL:
        if (!FEdit)
            return CB_ERR;
        SendMessage(FEdit, EM_SETSEL, WPARAM(short(LOWORD(LParam))), LPARAM(short(HIWORD(LParam))));
        return TRUE;
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT ComboWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_NCCREATE) {
        // A combo box's scroll-bar styles are its drop-down list's; the face
        // itself never shows a bar.
        SetWindowLong(Wnd, GWL_STYLE, LONG(StyleOf(Wnd) & ~DWORD(WS_VSCROLL | WS_HSCROLL)));
    }
    return StateWndProc<TComboControl>(Wnd, Msg, WParam, LParam, ComboProp, true);
}

} // namespace

void RegisterComboBoxClass() {
    RegisterNativeClass("COMBOBOX", ComboWndProc);
}

HWND ComboDropDownList(HWND Combo) {
    auto* State = StateOf<TComboControl>(Combo, ComboProp);
    return State ? State->List() : nullptr;
}

// ---------------------------------------------------------------- TComboBoxStrings

class TComboBoxStrings : public TStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* Combo) : FCombo(Combo) {}

    int Count() const override {
        if (!FCombo->HandleAllocated())
            return FCombo->FSaved.Count();
        return int(SendMessage(FCombo->FHandle, CB_GETCOUNT, 0, 0));
    }
    std::string Strings(int Index) const override {
        Check(Index);
        if (!FCombo->HandleAllocated())
            return FCombo->FSaved.Strings(Index);
        LRESULT Len = SendMessage(FCombo->FHandle, CB_GETLBTEXTLEN, WPARAM(Index), 0);
        std::string S(std::size_t(Len) + 1, '\0');
        SendMessage(FCombo->FHandle, CB_GETLBTEXT, WPARAM(Index), LPARAM(S.data()));
        S.resize(std::size_t(Len));
        return S;
    }
    TObject* Objects(int Index) const override {
        Check(Index);
        if (!FCombo->HandleAllocated())
            return FCombo->FSaved.Objects(Index);
        return reinterpret_cast<TObject*>(
            SendMessage(FCombo->FHandle, CB_GETITEMDATA, WPARAM(Index), 0));
    }
    void SetObjects(int Index, TObject* AObject) override {
        Check(Index);
        if (!FCombo->HandleAllocated())
            FCombo->FSaved.SetObjects(Index, AObject);
        else
            SendMessage(FCombo->FHandle, CB_SETITEMDATA, WPARAM(Index), LPARAM(AObject));
    }
    int AddObject(const std::string& S, TObject* AObject) override {
        if (!FCombo->HandleAllocated()) {
            if (!FCombo->FSorted)
                return FCombo->FSaved.AddObject(S, AObject);
            int Index = 0;
            while (Index < FCombo->FSaved.Count() &&
                   AnsiCompareText(FCombo->FSaved.Strings(Index), S) <= 0)
                ++Index;
            FCombo->FSaved.InsertObject(Index, S, AObject);
            return Index;
        }
        int Index = int(SendMessage(FCombo->FHandle, CB_ADDSTRING, 0, LPARAM(S.c_str())));
        SendMessage(FCombo->FHandle, CB_SETITEMDATA, WPARAM(Index), LPARAM(AObject));
        return Index;
    }
    int Add(const std::string& S) override { return AddObject(S, nullptr); }
    void Insert(int Index, const std::string& S) override {
        Check(Index, true);
        if (!FCombo->HandleAllocated())
            FCombo->FSaved.Insert(Index, S);
        else
            SendMessage(FCombo->FHandle, CB_INSERTSTRING, WPARAM(Index), LPARAM(S.c_str()));
    }
    void Delete(int Index) override {
        Check(Index);
        if (!FCombo->HandleAllocated())
            FCombo->FSaved.Delete(Index);
        else
            SendMessage(FCombo->FHandle, CB_DELETESTRING, WPARAM(Index), 0);
    }
    void Clear() override {
        if (!FCombo->HandleAllocated())
            FCombo->FSaved.Clear();
        else
            SendMessage(FCombo->FHandle, CB_RESETCONTENT, 0, 0);
    }

private:
    void Check(int Index, bool AllowEnd = false) const {
        if (Index < 0 || Index > Count() - (AllowEnd ? 0 : 1))
            throw EListError("List index out of bounds (%d)", {Index});
    }
    TCustomComboBox* FCombo;
};

// ---------------------------------------------------------------- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)) {
    FWidth = 145;
    FHeight = 24;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush.SetColor(clWindow);
    FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    RegisterComboBoxClass();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "COMBOBOX");
    static const DWORD Styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
    Params.Style |= Styles[FStyle] | CBS_HASSTRINGS | CBS_AUTOHSCROLL | WS_VSCROLL;
    if (FSorted)
        Params.Style |= CBS_SORT;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::CreateWnd() {
    std::string Text = FText;
    TWinControl::CreateWnd();
    HWND Wnd = FHandle;
    SetProp(Wnd, "Ostrela.ComboRows", &FDropDownCount);
    SendMessage(Wnd, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
    for (int I = 0; I < FSaved.Count(); ++I) {
        int At = int(SendMessage(Wnd, CB_ADDSTRING, 0, LPARAM(FSaved.Strings(I).c_str())));
        SendMessage(Wnd, CB_SETITEMDATA, WPARAM(At), LPARAM(FSaved.Objects(I)));
    }
    FSaved.Clear();
    if (FSavedItemIndex >= 0) {
        // Sorting may have moved the chosen item; it is found by its text.
        int Found =
            int(SendMessage(Wnd, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(FSavedItemText.c_str())));
        SendMessage(Wnd, CB_SETCURSEL, WPARAM(Found >= 0 ? Found : FSavedItemIndex), 0);
    } else if (FStyle != csDropDownList)
        SendMessage(Wnd, WM_SETTEXT, 0, LPARAM(Text.c_str()));
    FSavedItemIndex = -1;
}

void TCustomComboBox::DestroyWnd() {
    HWND Wnd = FHandle;
    FSavedItemIndex = int(SendMessage(Wnd, CB_GETCURSEL, 0, 0));
    FSavedItemText = FSavedItemIndex >= 0 ? FItems->Strings(FSavedItemIndex) : std::string();
    FSaved.Clear();
    int N = int(SendMessage(Wnd, CB_GETCOUNT, 0, 0));
    for (int I = 0; I < N; ++I)
        FSaved.AddObject(FItems->Strings(I), FItems->Objects(I));
    RemoveProp(Wnd, "Ostrela.ComboRows");
    TWinControl::DestroyWnd();
}

int TCustomComboBox::ItemIndex() {
    if (!HandleAllocated())
        return FSavedItemIndex;
    return int(SendMessage(FHandle, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (!HandleAllocated()) {
        FSavedItemIndex = Value;
        return;
    }
    if (ItemIndex() != Value)
        SendMessage(FHandle, CB_SETCURSEL, WPARAM(Value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (Value == FStyle)
        return;
    FStyle = Value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    FSorted = Value;
    RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    if (HandleAllocated())
        SendMessage(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
}

bool TCustomComboBox::DroppedDown() {
    return HandleAllocated() && SendMessage(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    SendMessage(Handle(), CB_SHOWDROPDOWN, Value, 0);
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::CNCommand(TMessage& Message) {
    switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE:
        Click();
        Select();
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_DROPDOWN:
        if (OnDropDown)
            OnDropDown(this);
        break;
    case CBN_CLOSEUP:
        if (OnCloseUp)
            OnCloseUp(this);
        break;
    default:
        break;
    }
}

void TCustomComboBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        CNCommand(Message);
        return;
    }
    TWinControl::Dispatch(Message);
}
