// The native tab control: tab layout in one or more rows, top, bottom or at
// the side, selection with its notifications, and the scroller of tabs that
// do not fit.
#include "platform/forms/Tabs.h"

#include "platform/forms/ListBoxes.h"
#include "platform/forms/StandardControlsCommon.h"
#include "platform/forms/UpDowns.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace StdCtrl;

namespace {

constexpr const char* TabProp = "Ostrela.TabControl";
constexpr int ScrollerId = 1;

struct TTab {
    std::string Text;
    int Image = -1;
    LPARAM Param = 0;
    bool Highlighted = false;
};

class TTabControl {
public:
    explicit TTabControl(HWND Wnd) : FWnd(Wnd) { FMeasure.SetFont(nullptr); }
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    DWORD Style() const { return StyleOf(FWnd); }
    bool Vertical() const { return (Style() & TCS_VERTICAL) && (Style() & TCS_MULTILINE); }
    bool MultiLine() const { return Style() & TCS_MULTILINE; }
    int Count() const { return int(FTabs.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    TRect Client();
    int RowHeight();
    int TabLength(int Index);
    void Layout();
    void LayOutRows(int Width, int RowHeight);
    void DrawOwnTab(HDC DC, int Index, TRect R, bool Selected);
    int TabArea();
    void Notify(UINT Code, LRESULT* Result = nullptr);
    void Select(int Index, bool User);
    int HitTest(TPoint P);
    void Paint(HDC Given);
    void AdjustRect(bool Larger, TRect& R);
    void SetFirst(int Index);

    HWND FWnd;
    std::vector<TTab> FTabs;
    std::vector<TRect> FRects;
    int FRows = 1;
    // With TCS_SCROLLOPPOSITE: the rows moved to the far side of the page,
    // and whether the rows are already placed where they belong.
    int FOpposite = 0;
    bool FPlaced = false;
    int FCur = -1;
    int FHot = -1; // the tab under the pointer, with TCS_HOTTRACK
    int FFirst = 0;
    int FMaxFirst = 0;
    HWND FScroller = nullptr;
    TMeasure FMeasure;
    HFONT FFont = nullptr;
    HIMAGELIST FImages = nullptr;
    int FItemWidth = 0;
    int FItemHeight = 0;
    int FPadX = 6;
    int FPadY = 3;
    int FMinWidth = -1;
    bool FFocused = false;
};

TRect TTabControl::Client() {
    TRect R;
    GetClientRect(FWnd, &R);
    return R;
}

int TTabControl::RowHeight() {
    if (FItemHeight > 0)
        return FItemHeight;
    int H = FMeasure.LineHeight();
    if (FImages) {
        int W = 0, IH = 0;
        ImageList_GetIconSize(FImages, &W, &IH);
        H = std::max(H, IH);
    }
    return H + 2 * FPadY;
}

int TTabControl::TabLength(int Index) {
    if ((Style() & TCS_FIXEDWIDTH) && FItemWidth > 0)
        return FItemWidth;
    int W = FMeasure.Width(FTabs[std::size_t(Index)].Text) + 2 * FPadX;
    // An image list reserves its image width on every tab.
    if (FImages) {
        int IW = 0, IH = 0;
        ImageList_GetIconSize(FImages, &IW, &IH);
        W += IW;
    }
    int Min = FMinWidth >= 0 ? FMinWidth : 0;
    return std::max(W, Min);
}

int TTabControl::TabArea() {
    return (FRows - FOpposite) * RowHeight() + 2;
}

void TTabControl::Layout() {
    FRects.assign(FTabs.size(), TRect{});
    TRect C = Client();
    int H = RowHeight();
    FRows = 1;
    FOpposite = 0;
    FPlaced = false;
    bool NeedScroller = false;
    if (Vertical()) {
        int Y = 2;
        bool Right = Style() & TCS_RIGHT;
        for (int I = 0; I < Count(); ++I) {
            int L = TabLength(I);
            int X = Right ? C.Right - 2 - H : 2;
            FRects[std::size_t(I)] = {X, Y, X + H, Y + L};
            Y += L;
        }
    } else if (MultiLine()) {
        LayOutRows(C.Width(), H);
    } else {
        int Total = 0;
        for (int I = 0; I < Count(); ++I)
            Total += TabLength(I);
        NeedScroller = Total > C.Width() && Count() > 1;
        int Available = C.Width() - (NeedScroller ? 2 * H : 0);
        // The last first tab that still shows the end of the row.
        FMaxFirst = 0;
        int Tail = 0;
        for (int I = Count() - 1; I >= 0; --I) {
            Tail += TabLength(I);
            if (Tail > Available) {
                FMaxFirst = std::min(Count() - 1, I + 1);
                break;
            }
        }
        if (!NeedScroller)
            FFirst = 0;
        int X = 0;
        for (int I = 0; I < FFirst; ++I)
            X -= TabLength(I);
        for (int I = 0; I < Count(); ++I) {
            int L = TabLength(I);
            FRects[std::size_t(I)] = {X, 0, X + L, H};
            X += L;
        }
    }
    // Tabs at the bottom sit below the display area; at the top they leave
    // room for the selected tab drawn larger.
    bool Bottom = (Style() & TCS_BOTTOM) && !Vertical();
    for (TRect& R : FRects) {
        if (Vertical() || FPlaced)
            continue;
        if (Bottom)
            OffsetRect(&R, 0, C.Bottom - TabArea());
        else
            OffsetRect(&R, 0, 2);
    }
    if (NeedScroller) {
        RegisterUpDownClass();
        TRect S{C.Right - 2 * H, Bottom ? C.Bottom - H : 2, C.Right, 0};
        S.Bottom = S.Top + H;
        if (!FScroller || !IsWindow(FScroller)) {
            FScroller =
                CreateWindowEx(0, "msctls_updown32", "", WS_CHILD | WS_VISIBLE | UDS_HORZ, S.Left,
                               S.Top, S.Width(), S.Height(), FWnd, nullptr, nullptr, nullptr);
            SetWindowLong(FScroller, GWL_ID, ScrollerId);
        } else {
            MoveWindow(FScroller, S.Left, S.Top, S.Width(), S.Height(), TRUE);
        }
        SendMessage(FScroller, UDM_SETRANGE32, 0, FMaxFirst);
        SendMessage(FScroller, UDM_SETPOS32, 0, FFirst);
    } else if (FScroller) {
        if (IsWindow(FScroller))
            DestroyWindow(FScroller);
        FScroller = nullptr;
    }
    InvalidateRect(FWnd, nullptr, TRUE);
}

void TTabControl::SetFirst(int Index) {
    FFirst = std::clamp(Index, 0, std::max(0, Count() - 1));
    Layout();
}

void TTabControl::Notify(UINT Code, LRESULT* Result) {
    NMHDR H;
    H.hwndFrom = FWnd;
    H.idFrom = UINT_PTR(ControlId(FWnd));
    H.code = Code;
    HWND Parent = GetParent(FWnd);
    LRESULT R = Parent ? SendMessage(Parent, WM_NOTIFY, H.idFrom, LPARAM(&H)) : 0;
    if (Result)
        *Result = R;
}

// Tabs fill rows in order; with more than one row each row is stretched to
// the full width unless TCS_RAGGEDRIGHT, and the row of the selected tab
// sits next to the display area, the others keeping their cyclic order.
void TTabControl::LayOutRows(int Width, int H) {
    std::vector<std::vector<int>> Rows(1);
    int X = 0;
    for (int I = 0; I < Count(); ++I) {
        int L = TabLength(I);
        if (X > 0 && X + L > Width) {
            Rows.emplace_back();
            X = 0;
        }
        Rows.back().push_back(I);
        X += L;
    }
    FRows = int(Rows.size());
    FPlaced = (Style() & TCS_SCROLLOPPOSITE) && FRows > 1;
    bool Stretch = FRows > 1 && !(Style() & TCS_RAGGEDRIGHT);
    int SelRow = 0;
    for (int R = 0; R < FRows; ++R)
        for (int I : Rows[std::size_t(R)])
            if (I == FCur)
                SelRow = R;
    bool Bottom = Style() & TCS_BOTTOM;
    // The rows between the selected one and the page go to the far side.
    bool Opposite = (Style() & TCS_SCROLLOPPOSITE) && FRows > 1;
    if (Opposite)
        FOpposite = Bottom ? SelRow : FRows - 1 - SelRow;
    int ClientBottom = Client().Bottom;
    for (int R = 0; R < FRows; ++R) {
        const std::vector<int>& Row = Rows[std::size_t(R)];
        int Used = 0;
        for (int I : Row)
            Used += TabLength(I);
        int Extra = Stretch ? std::max(0, Width - Used) : 0;
        // Relative to the tab area, which Layout moves into place ...
        int Top =
            (Bottom ? (R - SelRow + FRows) % FRows : (R - SelRow - 1 + 2 * FRows) % FRows) * H;
        if (Opposite) {
            // ... or, split over both sides, placed here: rows keep their
            // order, those past the selected one (before it for bottom tabs)
            // stand on the far side, nearest the page first.
            bool Far = Bottom ? R < SelRow : R > SelRow;
            int Near = FRows - FOpposite;
            if (Bottom)
                Top = Far ? 2 + R * H : ClientBottom - 2 - (Near - (R - SelRow)) * H;
            else
                Top = Far ? ClientBottom - 2 - (FOpposite - (R - SelRow - 1)) * H : 2 + R * H;
        }
        X = 0;
        for (std::size_t K = 0; K < Row.size(); ++K) {
            // The extra room is shared out evenly, the remainder from the left.
            int Share = Extra / int(Row.size()) + (int(K) < Extra % int(Row.size()) ? 1 : 0);
            int L = TabLength(Row[K]) + Share;
            FRects[std::size_t(Row[K])] = {X, Top, X + L, Top + H};
            X += L;
        }
    }
}

void TTabControl::Select(int Index, bool User) {
    if (!Valid(Index) || Index == FCur)
        return;
    if (User) {
        LRESULT Veto = 0;
        Notify(TCN_SELCHANGING, &Veto);
        if (Veto)
            return;
    }
    FCur = Index;
    // Another row may have to come next to the display area.
    if (MultiLine() && FRows > 1)
        Layout();
    InvalidateRect(FWnd, nullptr, TRUE);
    if (User)
        Notify(TCN_SELCHANGE);
}

int TTabControl::HitTest(TPoint P) {
    TRect C = Client();
    if (FScroller && IsWindow(FScroller)) {
        TRect S;
        GetWindowRect(FScroller, &S);
        TPoint Q = P;
        ClientToScreen(FWnd, &Q);
        if (PtInRect(&S, Q))
            return -1;
    }
    for (int I = 0; I < Count(); ++I) {
        const TRect& R = FRects[std::size_t(I)];
        if (PtInRect(&R, P) && R.Right > 0 && R.Left < C.Right)
            return I;
    }
    return -1;
}

void TTabControl::AdjustRect(bool Larger, TRect& R) {
    int Area = TabArea();
    int Left = 2, Top = 2, Right = 2, Bottom = 2;
    if (Vertical()) {
        if (Style() & TCS_RIGHT)
            Right += RowHeight();
        else
            Left += RowHeight();
    } else if (Style() & TCS_BOTTOM) {
        Bottom += Area;
        Top += FOpposite * RowHeight();
    } else {
        Top += Area;
        Bottom += FOpposite * RowHeight();
    }
    int Sign = Larger ? -1 : 1;
    R.Left += Sign * Left;
    R.Top += Sign * Top;
    R.Right -= Sign * Right;
    R.Bottom -= Sign * Bottom;
}

void TTabControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    TRect C = Client();
    FillRect(DC, &C, GetSysColorBrush(COLOR_BTNFACE));
    TRect Display = C;
    AdjustRect(false, Display);
    InflateRect(&Display, 2, 2);
    if (!(Style() & TCS_BUTTONS)) {
        TRect Edge = Display;
        DrawEdge(DC, &Edge, EDGE_RAISED, BF_RECT);
    }
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
    for (int I = 0; I < Count(); ++I) {
        TRect R = FRects[std::size_t(I)];
        if (R.Right <= 0 || R.Left >= C.Right)
            continue;
        bool Selected = I == FCur;
        if (Selected)
            InflateRect(&R, 2, 2);
        TRect Face = R;
        bool Highlighted = FTabs[std::size_t(I)].Highlighted;
        FillRect(DC, &Face, GetSysColorBrush(Highlighted ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        // A highlighted tab reads as a selection; the hot one as a link.
        SetTextColor(DC, GetSysColor(Highlighted ? COLOR_HIGHLIGHTTEXT
                                     : I == FHot ? COLOR_HOTLIGHT
                                                 : COLOR_BTNTEXT));
        UINT Sides = BF_LEFT | BF_RIGHT | ((Style() & TCS_BOTTOM) ? BF_BOTTOM : BF_TOP);
        if (Style() & TCS_BUTTONS)
            Sides = BF_RECT;
        TRect Edge = R;
        DrawEdge(DC, &Edge, (Style() & TCS_BUTTONS) && Selected ? EDGE_SUNKEN : EDGE_RAISED, Sides);
        if (Style() & TCS_OWNERDRAWFIXED) {
            DrawOwnTab(DC, I, R, Selected);
            continue;
        }
        TRect Text = R;
        Text.Left += FPadX;
        if (FImages && FTabs[std::size_t(I)].Image >= 0) {
            int W = 0, H = 0;
            ImageList_GetIconSize(FImages, &W, &H);
            ImageList_DrawEx(FImages, FTabs[std::size_t(I)].Image, DC, Text.Left,
                             (R.Top + R.Bottom - H) / 2, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF,
                             ILD_TRANSPARENT);
            Text.Left += W;
        }
        DrawText(DC, FTabs[std::size_t(I)].Text, -1, &Text,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (Selected && FFocused) {
            TRect F = R;
            InflateRect(&F, -3, -3);
            DrawFocusRect(DC, &F);
        }
    }
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

// The parent draws the inside of the tab; the frame is the control's.
void TTabControl::DrawOwnTab(HDC DC, int Index, TRect R, bool Selected) {
    HWND Parent = GetParent(FWnd);
    if (!Parent)
        return;
    InflateRect(&R, -2, -2);
    DRAWITEMSTRUCT DIS;
    DIS.CtlType = ODT_TAB;
    DIS.CtlID = UINT(ControlId(FWnd));
    DIS.itemID = UINT(Index);
    DIS.itemAction = ODA_DRAWENTIRE;
    DIS.itemState = (Selected ? ODS_SELECTED : 0) | (Selected && FFocused ? ODS_FOCUS : 0);
    DIS.hwndItem = FWnd;
    DIS.hDC = DC;
    DIS.rcItem = R;
    DIS.itemData = DWORD_PTR(FTabs[std::size_t(Index)].Param);
    int Saved = SaveDC(DC);
    SendMessage(Parent, WM_DRAWITEM, WPARAM(DIS.CtlID), LPARAM(&DIS));
    RestoreDC(DC, Saved);
}

LRESULT TTabControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    int Index = int(WParam);
    switch (Msg) {
    case WM_CREATE:
        Layout();
        return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
        Layout();
        return 0;
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
        Layout();
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    case WM_PAINT:
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FFocused = Msg == WM_SETFOCUS;
        InvalidateRect(FWnd, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE: {
        int Hot = (Style() & TCS_HOTTRACK) ? HitTest(LParamToPoint(LParam)) : -1;
        if (Hot != FHot) {
            FHot = Hot;
            InvalidateRect(FWnd, nullptr, TRUE);
            if (Hot >= 0) {
                TRACKMOUSEEVENT Track;
                Track.cbSize = sizeof(Track);
                Track.dwFlags = TME_LEAVE;
                Track.hwndTrack = FWnd;
                TrackMouseEvent(&Track);
            }
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        if (FHot >= 0) {
            FHot = -1;
            InvalidateRect(FWnd, nullptr, TRUE);
        }
        return 0;
    case TCM_HIGHLIGHTITEM:
        if (!Valid(Index))
            return FALSE;
        FTabs[std::size_t(Index)].Highlighted = LOWORD(LParam) != 0;
        InvalidateRect(FWnd, nullptr, TRUE);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int Hit = HitTest(LParamToPoint(LParam));
        if (Hit < 0)
            return 0;
        if ((Style() & TCS_FOCUSONBUTTONDOWN) && GetFocus() != FWnd)
            SetFocus(FWnd);
        Select(Hit, true);
        return 0;
    }
    case WM_KEYDOWN: {
        NMTCKEYDOWN K;
        NMHDR& H = K.hdr;
        H.hwndFrom = FWnd;
        H.idFrom = UINT_PTR(ControlId(FWnd));
        H.code = TCN_KEYDOWN;
        K.wVKey = WORD(WParam);
        if (HWND Parent = GetParent(FWnd))
            SendMessage(Parent, WM_NOTIFY, H.idFrom, LPARAM(&K));
        if (WParam == VK_LEFT || WParam == VK_UP)
            Select(std::max(0, FCur - 1), true);
        else if (WParam == VK_RIGHT || WParam == VK_DOWN)
            Select(std::min(Count() - 1, FCur + 1), true);
        return 0;
    }
    case WM_HSCROLL:
        // From the scroller, or from whoever stands in for it.
        if (LOWORD(WParam) == SB_THUMBPOSITION)
            SetFirst(HIWORD(WParam));
        return 0;
    case TCM_GETIMAGELIST:
        return LRESULT(FImages);
    case TCM_SETIMAGELIST: {
        HIMAGELIST Old = FImages;
        FImages = reinterpret_cast<HIMAGELIST>(LParam);
        Layout();
        return LRESULT(Old);
    }
    case TCM_GETITEMCOUNT:
        return Count();
    case TCM_INSERTITEM: {
        const auto* Item = reinterpret_cast<const TCITEM*>(LParam);
        if (!Item || Index < 0)
            return -1;
        Index = std::min(Index, Count());
        TTab Tab;
        if ((Item->mask & TCIF_TEXT) && Item->pszText)
            Tab.Text = SanitizeUtf8(Item->pszText);
        if (Item->mask & TCIF_IMAGE)
            Tab.Image = Item->iImage;
        if (Item->mask & TCIF_PARAM)
            Tab.Param = Item->lParam;
        FTabs.insert(FTabs.begin() + Index, Tab);
        if (FCur >= Index)
            ++FCur;
        if (FCur < 0)
            FCur = 0;
        Layout();
        return Index;
    }
    case TCM_SETITEM:
    case TCM_GETITEM: {
        auto* Item = reinterpret_cast<TCITEM*>(LParam);
        if (!Item || !Valid(Index))
            return FALSE;
        TTab& Tab = FTabs[std::size_t(Index)];
        if (Msg == TCM_SETITEM) {
            if ((Item->mask & TCIF_TEXT) && Item->pszText)
                Tab.Text = SanitizeUtf8(Item->pszText);
            if (Item->mask & TCIF_IMAGE)
                Tab.Image = Item->iImage;
            if (Item->mask & TCIF_PARAM)
                Tab.Param = Item->lParam;
            Layout();
            return TRUE;
        }
        if ((Item->mask & TCIF_TEXT) && Item->pszText && Item->cchTextMax > 0) {
            std::size_t N =
                std::min<std::size_t>(Tab.Text.size(), std::size_t(Item->cchTextMax - 1));
            std::memcpy(Item->pszText, Tab.Text.data(), N);
            Item->pszText[N] = 0;
        }
        if (Item->mask & TCIF_IMAGE)
            Item->iImage = Tab.Image;
        if (Item->mask & TCIF_PARAM)
            Item->lParam = Tab.Param;
        return TRUE;
    }
    case TCM_DELETEITEM:
        if (!Valid(Index))
            return FALSE;
        FTabs.erase(FTabs.begin() + Index);
        if (FCur == Index)
            FCur = Count() > 0 ? std::min(Index, Count() - 1) : -1;
        else if (FCur > Index)
            --FCur;
        FFirst = std::min(FFirst, std::max(0, Count() - 1));
        Layout();
        return TRUE;
    case TCM_DELETEALLITEMS:
        FTabs.clear();
        FCur = -1;
        FFirst = 0;
        Layout();
        return TRUE;
    case TCM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (!R || !Valid(Index))
            return FALSE;
        *R = FRects[std::size_t(Index)];
        return TRUE;
    }
    case TCM_GETCURSEL:
        return FCur;
    case TCM_SETCURSEL: {
        if (!Valid(Index))
            return -1;
        int Old = FCur;
        Select(Index, false);
        return Old;
    }
    case TCM_HITTEST: {
        auto* Info = reinterpret_cast<TCHITTESTINFO*>(LParam);
        if (!Info)
            return -1;
        int Hit = HitTest(Info->pt);
        Info->flags = Hit < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return Hit;
    }
    case TCM_ADJUSTRECT:
        if (LParam)
            AdjustRect(WParam != 0, *reinterpret_cast<TRect*>(LParam));
        return 0;
    case TCM_SETITEMSIZE: {
        LRESULT Old = MAKELRESULT(unsigned(FItemWidth), unsigned(RowHeight()));
        FItemWidth = LOWORD(LParam);
        FItemHeight = HIWORD(LParam);
        Layout();
        return Old;
    }
    case TCM_SETPADDING:
        FPadX = LOWORD(LParam);
        FPadY = HIWORD(LParam);
        Layout();
        return 0;
    case TCM_GETROWCOUNT:
        return FRows;
    case TCM_SETMINTABWIDTH: {
        int Old = FMinWidth;
        FMinWidth = int(LParam);
        Layout();
        return Old;
    }
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT TabWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<TTabControl>(Wnd, Msg, WParam, LParam, TabProp);
}

} // namespace

void RegisterTabControlClass() {
    RegisterNativeClass("SysTabControl32", TabWndProc);
}
