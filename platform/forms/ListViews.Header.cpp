// The native header: sections with widths in display order, hit testing
// with divider zones, resizing by dragging a divider and clicks on sections.
#include "platform/forms/ListViews.h"

#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace StdCtrl;

namespace {

constexpr const char* HeaderProp = "Ostrela.Header";

struct TSection {
    int Width = 50;
    std::string Text;
    int Format = HDF_LEFT | HDF_STRING;
    LPARAM Param = 0;
    int Image = -1;
};

class THeaderControl {
public:
    explicit THeaderControl(HWND Wnd) : FWnd(Wnd) { FMeasure.SetFont(nullptr); }
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    int Count() const { return int(FSections.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    int Left(int Index) const;
    TRect SectionRect(int Index);
    void HitTest(HDHITTESTINFO& Info);
    LRESULT Notify(UINT Code, int Item, HDITEM* Pitem);
    void SetWidth(int Index, int Width, bool Track);
    void Paint(HDC Given);
    void Fill(int Index, const HDITEM& Item);

    HWND FWnd;
    std::vector<TSection> FSections;
    std::vector<int> FOrder; // display position -> index
    HFONT FFont = nullptr;
    HIMAGELIST FImages = nullptr;
    TMeasure FMeasure;
    int FTracking = -1;
    int FTrackOffset = 0;
    int FPressed = -1;
    // Dragging a section to a new place (HDS_DRAGDROP).
    TPoint FPressPoint;
    bool FDragging = false;
    int DropOrder(int X) const;
};

// The display position a section dropped at X takes.
int THeaderControl::DropOrder(int X) const {
    int Left = 0;
    for (std::size_t Pos = 0; Pos < FOrder.size(); ++Pos) {
        int W = FSections[std::size_t(FOrder[Pos])].Width;
        if (X < Left + W / 2)
            return int(Pos);
        Left += W;
    }
    return int(FOrder.size()) - 1;
}

int THeaderControl::Left(int Index) const {
    int X = 0;
    for (int I : FOrder) {
        if (I == Index)
            return X;
        X += FSections[std::size_t(I)].Width;
    }
    return X;
}

TRect THeaderControl::SectionRect(int Index) {
    TRect C;
    GetClientRect(FWnd, &C);
    int X = Left(Index);
    return {X, 0, X + FSections[std::size_t(Index)].Width, C.Bottom};
}

void THeaderControl::HitTest(HDHITTESTINFO& Info) {
    TRect C;
    GetClientRect(FWnd, &C);
    TPoint P = Info.pt;
    Info.flags = 0;
    Info.iItem = -1;
    if (P.Y < 0)
        Info.flags |= HHT_ABOVE;
    if (P.Y >= C.Bottom)
        Info.flags |= HHT_BELOW;
    if (P.X < 0)
        Info.flags |= HHT_TOLEFT;
    if (P.X >= C.Right)
        Info.flags |= HHT_TORIGHT;
    if (Info.flags)
        return;
    // Divider zones first: 10 pixels centred on each section's right edge.
    int Half = HeaderDividerZone / 2;
    int X = 0;
    for (std::size_t Pos = 0; Pos < FOrder.size(); ++Pos) {
        int Index = FOrder[Pos];
        X += FSections[std::size_t(Index)].Width;
        if (P.X < X - Half || P.X >= X + Half)
            continue;
        // Zero-width sections after this edge: the right half opens the last of them.
        std::size_t Last = Pos;
        while (Last + 1 < FOrder.size() && FSections[std::size_t(FOrder[Last + 1])].Width == 0)
            ++Last;
        if (Last != Pos && P.X >= X) {
            Info.flags = HHT_ONDIVOPENED;
            Info.iItem = FOrder[Last];
            return;
        }
        Info.flags = HHT_ONDIVIDER;
        Info.iItem = Index;
        return;
    }
    X = 0;
    for (int Index : FOrder) {
        int W = FSections[std::size_t(Index)].Width;
        if (P.X >= X && P.X < X + W) {
            Info.flags = HHT_ONHEADER;
            Info.iItem = Index;
            return;
        }
        X += W;
    }
    Info.flags = HHT_NOWHERE;
}

LRESULT THeaderControl::Notify(UINT Code, int Item, HDITEM* Pitem) {
    NMHEADER N;
    N.hdr.hwndFrom = FWnd;
    N.hdr.idFrom = UINT_PTR(ControlId(FWnd));
    N.hdr.code = Code;
    N.iItem = Item;
    N.pitem = Pitem;
    HWND Parent = GetParent(FWnd);
    return Parent ? SendMessage(Parent, WM_NOTIFY, N.hdr.idFrom, LPARAM(&N)) : 0;
}

void THeaderControl::SetWidth(int Index, int Width, bool Track) {
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    Item.cxy = std::max(0, Width);
    if (Track && Notify(HDN_TRACK, Index, &Item))
        return;
    // The parent may veto or change the width it is offered.
    if (Notify(HDN_ITEMCHANGING, Index, &Item))
        return;
    if (Item.cxy == FSections[std::size_t(Index)].Width)
        return;
    FSections[std::size_t(Index)].Width = std::max(0, Item.cxy);
    InvalidateRect(FWnd, nullptr, TRUE);
    Notify(HDN_ITEMCHANGED, Index, &Item);
}

void THeaderControl::Fill(int Index, const HDITEM& Item) {
    TSection& S = FSections[std::size_t(Index)];
    if (Item.mask & HDI_WIDTH)
        S.Width = std::max(0, Item.cxy);
    if (Item.mask & HDI_TEXT)
        S.Text = SanitizeUtf8(Item.pszText ? Item.pszText : "");
    if (Item.mask & HDI_FORMAT)
        S.Format = Item.fmt;
    if (Item.mask & HDI_LPARAM)
        S.Param = Item.lParam;
    if (Item.mask & HDI_IMAGE)
        S.Image = Item.iImage;
    if (Item.mask & HDI_ORDER) {
        auto It = std::find(FOrder.begin(), FOrder.end(), Index);
        if (It != FOrder.end())
            FOrder.erase(It);
        FOrder.insert(FOrder.begin() + std::clamp(Item.iOrder, 0, int(FOrder.size())), Index);
    }
}

void THeaderControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    TRect C;
    GetClientRect(FWnd, &C);
    FillRect(DC, &C, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
    for (int Index : FOrder) {
        const TSection& S = FSections[std::size_t(Index)];
        if (S.Width <= 0)
            continue;
        TRect R = SectionRect(Index);
        TRect Edge = R;
        DrawEdge(DC, &Edge, FPressed == Index ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        TRect T{R.Left + 6, R.Top, R.Right - 6, R.Bottom};
        if (FImages && (S.Format & HDF_IMAGE) && S.Image >= 0) {
            int W = 0, H = 0;
            ImageList_GetIconSize(FImages, &W, &H);
            ImageList_DrawEx(FImages, S.Image, DC, T.Left, (R.Height() - H) / 2, 0, 0, 0xFFFFFFFF,
                             0xFFFFFFFF, ILD_TRANSPARENT);
            T.Left += W + 2;
        }
        UINT Align = (S.Format & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                     : (S.Format & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                  : DT_LEFT;
        int Clip = SaveDC(DC);
        IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
        DrawText(DC, S.Text, -1, &T,
                 Align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        RestoreDC(DC, Clip);
    }
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

LRESULT THeaderControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    int Index = int(WParam);
    switch (Msg) {
    case HDM_GETITEMCOUNT:
        return Count();
    case HDM_INSERTITEM: {
        const auto* Item = reinterpret_cast<const HDITEM*>(LParam);
        if (!Item || Index < 0)
            return -1;
        Index = std::min(Index, Count());
        FSections.insert(FSections.begin() + Index, TSection{});
        for (int& O : FOrder)
            if (O >= Index)
                ++O;
        FOrder.insert(FOrder.begin() + std::min(Index, int(FOrder.size())), Index);
        HDITEM Copy = *Item;
        if (!(Copy.mask & HDI_ORDER))
            Copy.iOrder = Index;
        Copy.mask |= HDI_ORDER;
        Fill(Index, Copy);
        InvalidateRect(FWnd, nullptr, TRUE);
        return Index;
    }
    case HDM_DELETEITEM: {
        if (!Valid(Index))
            return FALSE;
        FSections.erase(FSections.begin() + Index);
        FOrder.erase(std::find(FOrder.begin(), FOrder.end(), Index));
        for (int& O : FOrder)
            if (O > Index)
                --O;
        InvalidateRect(FWnd, nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEM: {
        auto* Item = reinterpret_cast<HDITEM*>(LParam);
        if (!Valid(Index) || !Item)
            return FALSE;
        const TSection& S = FSections[std::size_t(Index)];
        if (Item->mask & HDI_WIDTH)
            Item->cxy = S.Width;
        if ((Item->mask & HDI_TEXT) && Item->pszText && Item->cchTextMax > 0) {
            std::size_t N = std::min<std::size_t>(S.Text.size(), std::size_t(Item->cchTextMax - 1));
            std::memcpy(Item->pszText, S.Text.data(), N);
            Item->pszText[N] = 0;
        }
        if (Item->mask & HDI_FORMAT)
            Item->fmt = S.Format;
        if (Item->mask & HDI_LPARAM)
            Item->lParam = S.Param;
        if (Item->mask & HDI_IMAGE)
            Item->iImage = S.Image;
        if (Item->mask & HDI_ORDER)
            Item->iOrder = int(std::find(FOrder.begin(), FOrder.end(), Index) - FOrder.begin());
        return TRUE;
    }
    case HDM_SETITEM: {
        const auto* Item = reinterpret_cast<const HDITEM*>(LParam);
        if (!Valid(Index) || !Item)
            return FALSE;
        HDITEM Copy = *Item;
        if ((Copy.mask & HDI_WIDTH) && Copy.cxy != FSections[std::size_t(Index)].Width) {
            if (Notify(HDN_ITEMCHANGING, Index, &Copy))
                return FALSE;
            Fill(Index, Copy);
            Notify(HDN_ITEMCHANGED, Index, &Copy);
        } else {
            Fill(Index, Copy);
        }
        InvalidateRect(FWnd, nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEMRECT:
        if (!Valid(Index) || !LParam)
            return FALSE;
        *reinterpret_cast<TRect*>(LParam) = SectionRect(Index);
        return TRUE;
    case HDM_HITTEST: {
        auto* Info = reinterpret_cast<HDHITTESTINFO*>(LParam);
        if (!Info)
            return -1;
        HitTest(*Info);
        return Info->iItem;
    }
    case HDM_LAYOUT: {
        auto* Layout = reinterpret_cast<HDLAYOUT*>(LParam);
        if (!Layout || !Layout->prc || !Layout->pwpos)
            return FALSE;
        int Height = (StyleOf(FWnd) & HDS_HIDDEN) ? 0 : FMeasure.LineHeight() + 8;
        TRect& R = *Layout->prc;
        *Layout->pwpos = WINDOWPOS{};
        Layout->pwpos->hwnd = FWnd;
        Layout->pwpos->x = R.Left;
        Layout->pwpos->y = R.Top;
        Layout->pwpos->cx = R.Width();
        Layout->pwpos->cy = Height;
        R.Top += Height;
        return TRUE;
    }
    case HDM_SETIMAGELIST: {
        HIMAGELIST Old = FImages;
        FImages = reinterpret_cast<HIMAGELIST>(LParam);
        InvalidateRect(FWnd, nullptr, TRUE);
        return LRESULT(Old);
    }
    case HDM_ORDERTOINDEX:
        return Index >= 0 && Index < int(FOrder.size()) ? FOrder[std::size_t(Index)] : Index;
    case HDM_GETORDERARRAY: {
        auto* Out = reinterpret_cast<int*>(LParam);
        if (!Out || Index != Count())
            return FALSE;
        std::copy(FOrder.begin(), FOrder.end(), Out);
        return TRUE;
    }
    case HDM_SETORDERARRAY: {
        const auto* In = reinterpret_cast<const int*>(LParam);
        if (!In || Index != Count())
            return FALSE;
        std::vector<int> Order(In, In + Index);
        std::vector<int> Sorted = Order;
        std::sort(Sorted.begin(), Sorted.end());
        for (int I = 0; I < Index; ++I)
            if (Sorted[std::size_t(I)] != I)
                return FALSE;
        FOrder = Order;
        InvalidateRect(FWnd, nullptr, TRUE);
        return TRUE;
    }
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
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
    case WM_SETCURSOR: {
        TPoint P;
        GetCursorPos(&P);
        ScreenToClient(FWnd, &P);
        HDHITTESTINFO Info;
        Info.pt = P;
        HitTest(Info);
        if (FTracking >= 0 || (Info.flags & (HHT_ONDIVIDER | HHT_ONDIVOPENED))) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
    case WM_LBUTTONDOWN: {
        HDHITTESTINFO Info;
        Info.pt = LParamToPoint(LParam);
        HitTest(Info);
        if (Info.flags & (HHT_ONDIVIDER | HHT_ONDIVOPENED)) {
            HDITEM Item;
            Item.mask = HDI_WIDTH;
            Item.cxy = FSections[std::size_t(Info.iItem)].Width;
            if (Notify(HDN_BEGINTRACK, Info.iItem, &Item))
                return 0;
            FTracking = Info.iItem;
            FTrackOffset = Info.pt.X - (Left(Info.iItem) + Item.cxy);
            SetCapture(FWnd);
        } else if (Info.flags & HHT_ONHEADER) {
            FPressed = Info.iItem;
            FPressPoint = Info.pt;
            FDragging = false;
            SetCapture(FWnd);
            InvalidateRect(FWnd, nullptr, TRUE);
        }
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        HDHITTESTINFO Info;
        Info.pt = LParamToPoint(LParam);
        HitTest(Info);
        if (Info.flags & (HHT_ONDIVIDER | HHT_ONDIVOPENED))
            Notify(HDN_DIVIDERDBLCLICK, Info.iItem, nullptr);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (FTracking >= 0 && Valid(FTracking)) {
            int X = GET_X_LPARAM(LParam) - FTrackOffset;
            SetWidth(FTracking, X - Left(FTracking), true);
        } else if (FPressed >= 0 && !FDragging && (StyleOf(FWnd) & HDS_DRAGDROP) &&
                   std::abs(GET_X_LPARAM(LParam) - FPressPoint.X) > GetSystemMetrics(SM_CXDRAG)) {
            // The parent may refuse the drag.
            FDragging = Notify(HDN_BEGINDRAG, FPressed, nullptr) == 0;
        }
        return 0;
    case WM_LBUTTONUP: {
        if (FTracking >= 0) {
            int Item = FTracking;
            FTracking = -1;
            if (GetCapture() == FWnd)
                ReleaseCapture();
            if (Valid(Item)) {
                HDITEM Info;
                Info.mask = HDI_WIDTH;
                Info.cxy = FSections[std::size_t(Item)].Width;
                Notify(HDN_ENDTRACK, Item, &Info);
            }
        } else if (FPressed >= 0 && FDragging) {
            int Item = FPressed;
            FPressed = -1;
            FDragging = false;
            if (GetCapture() == FWnd)
                ReleaseCapture();
            HDITEM Drop;
            Drop.mask = HDI_ORDER;
            Drop.iOrder = DropOrder(GET_X_LPARAM(LParam));
            if (Notify(HDN_ENDDRAG, Item, &Drop) == 0 && Valid(Item))
                Fill(Item, Drop);
            InvalidateRect(FWnd, nullptr, TRUE);
        } else if (FPressed >= 0) {
            int Item = FPressed;
            FPressed = -1;
            if (GetCapture() == FWnd)
                ReleaseCapture();
            InvalidateRect(FWnd, nullptr, TRUE);
            HDHITTESTINFO Info;
            Info.pt = LParamToPoint(LParam);
            HitTest(Info);
            if (Info.iItem == Item && (Info.flags & HHT_ONHEADER))
                Notify(HDN_ITEMCLICK, Item, nullptr);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        FTracking = -1;
        FDragging = false;
        if (FPressed >= 0) {
            FPressed = -1;
            InvalidateRect(FWnd, nullptr, TRUE);
        }
        return 0;
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<THeaderControl>(Wnd, Msg, WParam, LParam, HeaderProp);
}

} // namespace

void RegisterHeaderClass() {
    RegisterNativeClass("SysHeader32", HeaderWndProc);
}
