// The native list view: items or owner data, the four views, selection and
// focus with their notifications, type-ahead, label editing, sorting and
// scroll information that is always published.
#include "platform/forms/ListViews.h"

#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "platform/forms/Edits.h"
#include "platform/forms/LabelEditors.h"
#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>
#include <cstring>

using namespace StdCtrl;

namespace {

constexpr const char* ListViewProp = "Ostrela.ListView";
constexpr UINT_PTR EditLabelTimer = 1;
// With LVS_EX_TRACKSELECT an item the pointer rests on is chosen after this.
constexpr UINT_PTR HoverTimer = 2;
constexpr UINT HoverTime = 400;
constexpr UINT_PTR EditorSubclassId = 0x1E01;
constexpr DWORD TypeAheadDelay = 1000;
constexpr int IconCellWidth = 75;
constexpr int IconCellHeight = 70;
constexpr COLORREF ClrNone = 0xFFFFFFFF;

struct TLVItem {
    std::string Text;
    std::vector<std::string> Sub;
    std::vector<int> SubImage; // -1: none
    int Image = 0;
    UINT State = 0;
    LPARAM Param = 0;
    int Indent = 0;
};

struct TLVCol {
    int Width = 50;
    std::string Text;
    int Format = LVCFMT_LEFT;
    int SubItem = 0;
    int Image = -1;
};

class TListViewControl {
public:
    explicit TListViewControl(HWND Wnd) : FWnd(Wnd) { FMeasure.SetFont(nullptr); }
    ~TListViewControl();
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT EditorMessage(HWND Editor, UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    // ---- state
    DWORD Style() const { return StyleOf(FWnd); }
    DWORD View() const { return Style() & LVS_TYPEMASK; }
    bool OwnerData() const { return Style() & LVS_OWNERDATA; }
    bool Single() const { return Style() & LVS_SINGLESEL; }
    int Count() const { return OwnerData() ? FCount : int(FItems.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    UINT StateOf(int Index) const {
        return OwnerData() ? FStates[std::size_t(Index)] : FItems[std::size_t(Index)].State;
    }
    UINT& StateRef(int Index) {
        return OwnerData() ? FStates[std::size_t(Index)] : FItems[std::size_t(Index)].State;
    }
    LPARAM ParamOf(int Index) const { return OwnerData() ? 0 : FItems[std::size_t(Index)].Param; }
    std::string TextOf(int Index, int SubItem);
    int ImageOf(int Index);
    int SubImageOf(int Index, int SubItem);
    // The width that shows the column's texts whole (and its caption).
    int FittingWidth(int Column, bool UseHeader);
    // The room a state image list takes before the icon of every item.
    int StateImageWidth();

    // ---- geometry
    TRect Client();
    int HeaderHeight();
    int RowHeight();
    int TotalWidth() const;
    int ListColumnWidth();
    int RowsPerColumn();
    int VisibleRows();
    int VisibleColumns();
    int CountPerPage();
    int IconsPerRow();
    TSize IconCell();
    TRect ItemBounds(int Index);
    TRect ItemPart(int Index, int Code);
    TRect SubItemRect(int Index, int SubItem);
    int ColumnLeft(int Column) const;
    int HitTest(TPoint P, UINT& Flags, int* SubItem = nullptr);
    TSize ViewSize();
    void ClampScroll();
    void UpdateScrollInfo();
    void EnsureVisible(int Index, bool PartialOK);
    void ScrollBy(int DX, int DY);
    void LayoutHeader();
    void CreateHeader();
    void Redraw() {
        if (FRedraw)
            InvalidateRect(FWnd, nullptr, TRUE);
    }
    void RedrawItem(int Index);

    // ---- notifications
    LRESULT Notify(UINT Code, NMHDR& Header);
    bool ItemChanging(int Index, UINT OldState, UINT NewState);
    void ItemChanged(int Index, UINT OldState, UINT NewState);
    // Changes the masked state bits of one item (or all with -1); answers
    // false when the parent vetoes.
    bool SetState(int Index, UINT State, UINT Mask);
    void NotifySimple(UINT Code, int Index = -1);

    // ---- items
    int InsertItem(const LVITEM& Item);
    bool SetItem(const LVITEM& Item);
    bool GetItem(LVITEM& Item);
    void DeleteItem(int Index);
    void DeleteAll();
    int Find(int Start, const LVFINDINFO& Info);
    int SortedPlace(const std::string& Text) const;
    void Sort(LPARAM Param, const PFNLVCOMPARE& Compare);

    // ---- columns
    int InsertColumn(int Index, const LVCOLUMN& Column);
    bool SetColumn(int Index, const LVCOLUMN& Column);
    bool GetColumn(int Index, LVCOLUMN& Column) const;
    void SyncHeaderItem(int Index);

    // ---- input
    void Select(int Index, bool Shift, bool Ctrl, bool Toggle);
    void KeyDown(WPARAM Key);
    void TypeAhead(char32_t C);
    void MouseDown(TPoint P, bool Right, bool Double);

    // ---- label editing
    HWND EditLabel(int Index);
    void EndEdit(bool Cancel);

    // ---- painting
    void Paint(HDC Given);
    void PaintItem(HDC DC, int Index, bool ShowSel);
    // Hot tracking.
    void SetHot(int Index);
    void TrackHot(TPoint P);
    int FHot = -1;

    HWND FWnd;
    HWND FHeader = nullptr;
    std::vector<TLVItem> FItems;
    std::vector<UINT> FStates; // owner data
    int FCount = 0;
    std::vector<TLVCol> FColumns;
    TMeasure FMeasure;
    HFONT FFont = nullptr;
    HIMAGELIST FImages[3] = {};
    DWORD FExStyle = 0;
    COLORREF FBkColor = ClrNone;
    COLORREF FTextColor = ClrNone;
    COLORREF FTextBkColor = ClrNone;
    // The text colour of the paint in progress: LVM_SETTEXTCOLOR's, else the
    // one the parent set in the DC.
    COLORREF FPaintText = 0;
    int FTop = 0;     // report: first row; list: first item of the first visible column
    int FScrollX = 0; // report and icon views: pixels
    int FScrollY = 0; // icon views: pixels
    int FListColumnWidth = 0;
    bool FRedraw = true;
    bool FFocused = false;
    // Type-ahead.
    std::string FPrefix;
    DWORD FLastChar = 0;
    // Label editing.
    HWND FEditor = nullptr;
    int FEditItem = -1;
    bool FEnding = false;
    int FPendingEdit = -1;
    bool FWasFocusedOnPress = false;
    int FMark = 0;
};

LRESULT EditorSubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
    return reinterpret_cast<TListViewControl*>(Data)->EditorMessage(Wnd, Msg, WParam, LParam);
}

TListViewControl::~TListViewControl() {
    if (FEditor && IsWindow(FEditor)) {
        RemoveWindowSubclass(FEditor, EditorSubclass, EditorSubclassId);
        DestroyWindow(FEditor);
    }
}

// ---------------------------------------------------------------- items' texts

std::string TListViewControl::TextOf(int Index, int SubItem) {
    if (!OwnerData()) {
        const TLVItem& Item = FItems[std::size_t(Index)];
        if (SubItem == 0)
            return Item.Text;
        return std::size_t(SubItem) <= Item.Sub.size() ? Item.Sub[std::size_t(SubItem) - 1]
                                                       : std::string();
    }
    // Owner data: asked each time, never kept.
    char Buffer[1024] = {};
    NMLVDISPINFO Info;
    Info.item.mask = LVIF_TEXT | (SubItem == 0 ? LVIF_IMAGE : 0);
    Info.item.iItem = Index;
    Info.item.iSubItem = SubItem;
    Info.item.pszText = Buffer;
    Info.item.cchTextMax = int(sizeof(Buffer));
    Notify(LVN_GETDISPINFO, Info.hdr);
    if (!Info.item.pszText)
        return {};
    std::string Text(Info.item.pszText, strnlen(Info.item.pszText, sizeof(Buffer)));
    return SanitizeUtf8(Text);
}

int TListViewControl::SubImageOf(int Index, int SubItem) {
    if (!OwnerData()) {
        const std::vector<int>& Images = FItems[std::size_t(Index)].SubImage;
        return std::size_t(SubItem) - 1 < Images.size() ? Images[std::size_t(SubItem) - 1] : -1;
    }
    NMLVDISPINFO Info;
    Info.item.mask = LVIF_IMAGE;
    Info.item.iItem = Index;
    Info.item.iSubItem = SubItem;
    Info.item.iImage = -1;
    Notify(LVN_GETDISPINFO, Info.hdr);
    return Info.item.iImage;
}

int TListViewControl::FittingWidth(int Column, bool UseHeader) {
    const TLVCol& Col = FColumns[std::size_t(Column)];
    int First = 0, Last = Count() - 1;
    // An owner-data view is only asked for what is on the screen.
    if (OwnerData()) {
        First = FTop;
        Last = std::min(Last, FTop + VisibleRows());
    }
    int Widest = 0;
    for (int I = First; I <= Last; ++I) {
        int W = FMeasure.Width(TextOf(I, Col.SubItem));
        if (Column == 0) {
            TRect B = ItemBounds(I);
            W += ItemPart(I, LVIR_LABEL).Left - (B.Left + ColumnLeft(0)) + 6;
        } else {
            W += 12;
            if ((FExStyle & LVS_EX_SUBITEMIMAGES) && FImages[LVSIL_SMALL] &&
                SubImageOf(I, Col.SubItem) >= 0) {
                int IW = 0, IH = 0;
                ImageList_GetIconSize(FImages[LVSIL_SMALL], &IW, &IH);
                W += IW + 2;
            }
        }
        Widest = std::max(Widest, W);
    }
    if (UseHeader) {
        Widest = std::max(Widest, FMeasure.Width(Col.Text) + 12);
        if (Column == int(FColumns.size()) - 1)
            Widest = std::max(Widest, Client().Width() + FScrollX - ColumnLeft(Column));
    }
    return std::max(Widest, 1);
}

int TListViewControl::StateImageWidth() {
    int W = 0, H = 0;
    if (FImages[LVSIL_STATE])
        ImageList_GetIconSize(FImages[LVSIL_STATE], &W, &H);
    return W;
}

int TListViewControl::ImageOf(int Index) {
    if (!OwnerData())
        return FItems[std::size_t(Index)].Image;
    NMLVDISPINFO Info;
    Info.item.mask = LVIF_IMAGE;
    Info.item.iItem = Index;
    Info.item.iImage = -1;
    Notify(LVN_GETDISPINFO, Info.hdr);
    return Info.item.iImage;
}

// ---------------------------------------------------------------- geometry

TRect TListViewControl::Client() {
    TRect R;
    GetClientRect(FWnd, &R);
    return R;
}

int TListViewControl::HeaderHeight() {
    if (View() != LVS_REPORT || !FHeader || (Style() & LVS_NOCOLUMNHEADER) ||
        !(StyleOf(FHeader) & WS_VISIBLE))
        return 0;
    TRect R;
    GetWindowRect(FHeader, &R);
    return R.Height();
}

int TListViewControl::RowHeight() {
    int H = FMeasure.LineHeight() + 2;
    HIMAGELIST Small = FImages[LVSIL_SMALL];
    if (Small) {
        int W = 0, IH = 0;
        ImageList_GetIconSize(Small, &W, &IH);
        H = std::max(H, IH + 1);
    }
    return std::max(1, H);
}

int TListViewControl::TotalWidth() const {
    int W = 0;
    for (const TLVCol& C : FColumns)
        W += C.Width;
    return W;
}

int TListViewControl::ColumnLeft(int Column) const {
    // Columns follow the header's order.
    std::vector<int> Order(FColumns.size());
    for (std::size_t I = 0; I < Order.size(); ++I)
        Order[I] = int(I);
    if (FHeader && !FColumns.empty())
        SendMessage(FHeader, HDM_GETORDERARRAY, WPARAM(Order.size()), LPARAM(Order.data()));
    int X = 0;
    for (int I : Order) {
        if (I == Column)
            return X;
        X += FColumns[std::size_t(I)].Width;
    }
    return X;
}

int TListViewControl::ListColumnWidth() {
    if (FListColumnWidth > 0)
        return FListColumnWidth;
    int Image = 0;
    if (FImages[LVSIL_SMALL]) {
        int H = 0;
        ImageList_GetIconSize(FImages[LVSIL_SMALL], &Image, &H);
    }
    return 15 * FMeasure.AveCharWidth() + Image + 4;
}

int TListViewControl::RowsPerColumn() {
    return std::max(1, Client().Height() / RowHeight());
}

int TListViewControl::VisibleRows() {
    return std::max(1, (Client().Height() - HeaderHeight()) / RowHeight());
}

int TListViewControl::VisibleColumns() {
    return std::max(1, Client().Width() / ListColumnWidth());
}

int TListViewControl::IconsPerRow() {
    return std::max(1, Client().Width() / IconCell().cx);
}

TSize TListViewControl::IconCell() {
    if (View() == LVS_SMALLICON)
        return {ListColumnWidth(), RowHeight()};
    int W = 32, H = 32;
    if (FImages[LVSIL_NORMAL])
        ImageList_GetIconSize(FImages[LVSIL_NORMAL], &W, &H);
    return {std::max(IconCellWidth, W + 8),
            std::max(IconCellHeight, H + 2 * FMeasure.LineHeight() + 8)};
}

int TListViewControl::CountPerPage() {
    switch (View()) {
    case LVS_REPORT:
        return VisibleRows();
    case LVS_LIST:
        return RowsPerColumn() * VisibleColumns();
    default:
        return Count();
    }
}

TRect TListViewControl::ItemBounds(int Index) {
    switch (View()) {
    case LVS_REPORT: {
        int Y = HeaderHeight() + (Index - FTop) * RowHeight();
        return {-FScrollX, Y, TotalWidth() - FScrollX, Y + RowHeight()};
    }
    case LVS_LIST: {
        int Rows = RowsPerColumn();
        int Column = Index / Rows - FTop / Rows;
        int X = Column * ListColumnWidth(), Y = (Index % Rows) * RowHeight();
        return {X, Y, X + ListColumnWidth(), Y + RowHeight()};
    }
    default: {
        TSize Cell = IconCell();
        int PerRow = IconsPerRow();
        int X = (Index % PerRow) * Cell.cx - FScrollX, Y = (Index / PerRow) * Cell.cy - FScrollY;
        return {X, Y, X + Cell.cx, Y + Cell.cy};
    }
    }
}

TRect TListViewControl::ItemPart(int Index, int Code) {
    TRect B = ItemBounds(Index);
    int ImageW = 0, ImageH = 0;
    HIMAGELIST List = FImages[View() == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL];
    if (List)
        ImageList_GetIconSize(List, &ImageW, &ImageH);
    if (View() == LVS_ICON) {
        TRect Icon{B.Left + (B.Width() - ImageW) / 2, B.Top + 2, 0, 0};
        Icon.Right = Icon.Left + ImageW;
        Icon.Bottom = Icon.Top + ImageH;
        TRect Label{B.Left, Icon.Bottom + 2, B.Right, B.Bottom};
        if (Code == LVIR_ICON)
            return Icon;
        if (Code == LVIR_LABEL)
            return Label;
        return B;
    }
    int StateW = StateImageWidth();
    TRect Icon{B.Left + 2 + StateW, B.Top, B.Left + 2 + StateW + ImageW, B.Bottom};
    int LabelRight = View() == LVS_REPORT && !FColumns.empty()
                         ? B.Left + ColumnLeft(0) + FColumns[0].Width
                         : B.Right;
    if (View() == LVS_REPORT && !FColumns.empty())
        Icon = {B.Left + ColumnLeft(0) + 2 + StateW, B.Top,
                B.Left + ColumnLeft(0) + 2 + StateW + ImageW, B.Bottom};
    TRect Label{Icon.Right + (ImageW ? 2 : 0), B.Top, std::max(Icon.Right, LabelRight), B.Bottom};
    switch (Code) {
    case LVIR_ICON:
        return Icon;
    case LVIR_LABEL:
        return Label;
    case LVIR_SELECTBOUNDS:
        if (View() == LVS_REPORT && (FExStyle & LVS_EX_FULLROWSELECT))
            return B;
        return {Icon.Left, B.Top, Label.Right, B.Bottom};
    default:
        return B;
    }
}

TRect TListViewControl::SubItemRect(int Index, int SubItem) {
    TRect B = ItemBounds(Index);
    if (SubItem < 0 || SubItem >= int(FColumns.size()))
        return B;
    int X = B.Left + ColumnLeft(SubItem);
    return {X, B.Top, X + FColumns[std::size_t(SubItem)].Width, B.Bottom};
}

int TListViewControl::HitTest(TPoint P, UINT& Flags, int* SubItem) {
    TRect C = Client();
    Flags = 0;
    if (P.Y < 0)
        Flags |= LVHT_ABOVE;
    if (P.Y >= C.Bottom)
        Flags |= LVHT_BELOW;
    if (P.X < 0)
        Flags |= LVHT_TOLEFT;
    if (P.X >= C.Right)
        Flags |= LVHT_TORIGHT;
    if (Flags)
        return -1;
    int Index = -1;
    switch (View()) {
    case LVS_REPORT:
        if (P.Y >= HeaderHeight())
            Index = FTop + (P.Y - HeaderHeight()) / RowHeight();
        break;
    case LVS_LIST: {
        int Rows = RowsPerColumn();
        Index = FTop + (P.X / ListColumnWidth()) * Rows + std::min(Rows - 1, P.Y / RowHeight());
        break;
    }
    default: {
        TSize Cell = IconCell();
        int Column = (P.X + FScrollX) / Cell.cx;
        if (Column < IconsPerRow())
            Index = ((P.Y + FScrollY) / Cell.cy) * IconsPerRow() + Column;
        break;
    }
    }
    if (!Valid(Index)) {
        Flags = LVHT_NOWHERE;
        return -1;
    }
    if (SubItem) {
        *SubItem = 0;
        for (int I = 0; I < int(FColumns.size()); ++I) {
            TRect R = SubItemRect(Index, I);
            if (P.X >= R.Left && P.X < R.Right)
                *SubItem = I;
        }
    }
    TRect Icon = ItemPart(Index, LVIR_ICON), Label = ItemPart(Index, LVIR_LABEL);
    if (PtInRect(&Icon, P))
        Flags = LVHT_ONITEMICON;
    else if (PtInRect(&Label, P))
        Flags = LVHT_ONITEMLABEL;
    else if (View() == LVS_REPORT && (FExStyle & LVS_EX_FULLROWSELECT) &&
             P.X < TotalWidth() - FScrollX)
        Flags = LVHT_ONITEMLABEL;
    else {
        Flags = LVHT_NOWHERE;
        return -1;
    }
    return Index;
}

TSize TListViewControl::ViewSize() {
    TSize Cell = IconCell();
    int PerRow = IconsPerRow();
    int Rows = (Count() + PerRow - 1) / PerRow;
    return {std::min(Count(), PerRow) * Cell.cx, Rows * Cell.cy};
}

void TListViewControl::ClampScroll() {
    TRect C = Client();
    switch (View()) {
    case LVS_REPORT:
        FTop = std::clamp(FTop, 0, std::max(0, Count() - VisibleRows()));
        FScrollX = std::clamp(FScrollX, 0, std::max(0, TotalWidth() - C.Width()));
        break;
    case LVS_LIST: {
        int Rows = RowsPerColumn();
        int Columns = (Count() + Rows - 1) / Rows;
        FTop = std::clamp(FTop / Rows, 0, std::max(0, Columns - VisibleColumns())) * Rows;
        break;
    }
    default: {
        TSize V = ViewSize();
        FScrollX = std::clamp(FScrollX, 0, std::max(0, V.cx - C.Width()));
        FScrollY = std::clamp(FScrollY, 0, std::max(0, V.cy - C.Height()));
        break;
    }
    }
}

void TListViewControl::UpdateScrollInfo() {
    if (!FRedraw)
        return;
    TRect C = Client();
    switch (View()) {
    case LVS_REPORT:
        PublishScroll(FWnd, SB_VERT, 0, Count() - 1, VisibleRows(), FTop);
        PublishScroll(FWnd, SB_HORZ, 0, TotalWidth() - 1, C.Width(), FScrollX);
        break;
    case LVS_LIST: {
        int Rows = RowsPerColumn();
        int Columns = (Count() + Rows - 1) / Rows;
        PublishScroll(FWnd, SB_HORZ, 0, Columns - 1, VisibleColumns(), FTop / Rows);
        PublishScroll(FWnd, SB_VERT, 0, 0, 0, 0);
        break;
    }
    default: {
        TSize V = ViewSize();
        PublishScroll(FWnd, SB_HORZ, 0, V.cx - 1, C.Width(), FScrollX);
        PublishScroll(FWnd, SB_VERT, 0, V.cy - 1, C.Height(), FScrollY);
        break;
    }
    }
}

void TListViewControl::LayoutHeader() {
    if (!FHeader)
        return;
    bool Show = View() == LVS_REPORT && !(Style() & LVS_NOCOLUMNHEADER);
    if (!Show) {
        ShowWindow(FHeader, SW_HIDE);
        return;
    }
    TRect C = Client();
    TRect Rest = C;
    WINDOWPOS Pos;
    HDLAYOUT Layout{&Rest, &Pos};
    SendMessage(FHeader, HDM_LAYOUT, 0, LPARAM(&Layout));
    // The header scrolls with the view: it starts left of the client area.
    SetWindowPos(FHeader, nullptr, Pos.x - FScrollX, Pos.y, Pos.cx + FScrollX, Pos.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TListViewControl::CreateHeader() {
    if (FHeader || View() != LVS_REPORT)
        return;
    RegisterHeaderClass();
    DWORD HeaderStyle = WS_CHILD | HDS_HORZ | ((Style() & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS) |
                        ((FExStyle & LVS_EX_HEADERDRAGDROP) ? HDS_DRAGDROP : 0);
    FHeader = CreateWindowEx(0, "SysHeader32", "", HeaderStyle, 0, 0, 0, 0, FWnd, nullptr, nullptr,
                             nullptr);
    SendMessage(FHeader, WM_SETFONT, WPARAM(FFont), 0);
    for (int I = 0; I < int(FColumns.size()); ++I) {
        HDITEM Item;
        Item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        std::string Text = FColumns[std::size_t(I)].Text;
        Item.cxy = FColumns[std::size_t(I)].Width;
        Item.pszText = Text.data();
        Item.fmt = FColumns[std::size_t(I)].Format | HDF_STRING;
        SendMessage(FHeader, HDM_INSERTITEM, WPARAM(I), LPARAM(&Item));
    }
    LayoutHeader();
}

void TListViewControl::EnsureVisible(int Index, bool PartialOK) {
    if (!Valid(Index))
        return;
    TRect C = Client();
    switch (View()) {
    case LVS_REPORT:
        if (Index < FTop)
            FTop = Index;
        else if (Index >= FTop + VisibleRows())
            FTop = Index - VisibleRows() + (PartialOK ? 2 : 1);
        break;
    case LVS_LIST: {
        int Rows = RowsPerColumn(), Column = Index / Rows, First = FTop / Rows;
        if (Column < First)
            FTop = Column * Rows;
        else if (Column >= First + VisibleColumns())
            FTop = (Column - VisibleColumns() + 1) * Rows;
        break;
    }
    default: {
        TRect B = ItemBounds(Index);
        if (B.Top < 0)
            FScrollY += B.Top;
        else if (B.Bottom > C.Bottom)
            FScrollY += B.Bottom - C.Bottom;
        break;
    }
    }
    ClampScroll();
    UpdateScrollInfo();
    Redraw();
}

void TListViewControl::ScrollBy(int DX, int DY) {
    switch (View()) {
    case LVS_REPORT: {
        // Whole rows, rounded to the nearest.
        int Rows = (std::abs(DY) + RowHeight() / 2) / RowHeight();
        FTop += DY < 0 ? -Rows : Rows;
        FScrollX += DX;
        break;
    }
    case LVS_LIST:
        FTop += DX * RowsPerColumn();
        break;
    default:
        FScrollX += DX;
        FScrollY += DY;
        break;
    }
    ClampScroll();
    LayoutHeader();
    UpdateScrollInfo();
    Redraw();
}

void TListViewControl::SetHot(int Index) {
    if (Index == FHot)
        return;
    RedrawItem(FHot);
    FHot = Index;
    RedrawItem(FHot);
    KillTimer(FWnd, HoverTimer);
    if (Index < 0)
        return;
    SetTimer(FWnd, HoverTimer, HoverTime, nullptr);
    TRACKMOUSEEVENT Track;
    Track.cbSize = sizeof(Track);
    Track.dwFlags = TME_LEAVE;
    Track.hwndTrack = FWnd;
    TrackMouseEvent(&Track);
}

// The item under the pointer is hot while the pointer is over its icon or
// label, or anywhere on its row with full-row selection.
void TListViewControl::TrackHot(TPoint P) {
    UINT Flags = 0;
    int Index = HitTest(P, Flags);
    SetHot(Valid(Index) && (Flags & LVHT_ONITEM) ? Index : -1);
}

void TListViewControl::RedrawItem(int Index) {
    if (!FRedraw || !Valid(Index))
        return;
    TRect R = ItemBounds(Index);
    R.Left = 0;
    R.Right = std::max(R.Right, Client().Right);
    InvalidateRect(FWnd, &R, TRUE);
}

// ---------------------------------------------------------------- notifications

LRESULT TListViewControl::Notify(UINT Code, NMHDR& Header) {
    Header.hwndFrom = FWnd;
    Header.idFrom = UINT_PTR(ControlId(FWnd));
    Header.code = Code;
    HWND Parent = GetParent(FWnd);
    return Parent ? SendMessage(Parent, WM_NOTIFY, Header.idFrom, LPARAM(&Header)) : 0;
}

void TListViewControl::NotifySimple(UINT Code, int Index) {
    NMLISTVIEW N;
    N.iItem = Index;
    N.lParam = Valid(Index) ? ParamOf(Index) : 0;
    Notify(Code, N.hdr);
}

bool TListViewControl::ItemChanging(int Index, UINT OldState, UINT NewState) {
    NMLISTVIEW N;
    N.iItem = Index;
    N.uOldState = OldState;
    N.uNewState = NewState;
    N.uChanged = LVIF_STATE;
    N.lParam = Valid(Index) ? ParamOf(Index) : 0;
    return Notify(LVN_ITEMCHANGING, N.hdr) == 0;
}

void TListViewControl::ItemChanged(int Index, UINT OldState, UINT NewState) {
    NMLISTVIEW N;
    N.iItem = Index;
    N.uOldState = OldState;
    N.uNewState = NewState;
    N.uChanged = LVIF_STATE;
    N.lParam = Valid(Index) ? ParamOf(Index) : 0;
    Notify(LVN_ITEMCHANGED, N.hdr);
}

bool TListViewControl::SetState(int Index, UINT State, UINT Mask) {
    if (Index == -1) {
        bool All = true;
        for (int I = 0; I < Count(); ++I)
            All = SetState(I, State, Mask) && All;
        return All;
    }
    if (!Valid(Index))
        return false;
    UINT Old = StateOf(Index);
    UINT New = (Old & ~Mask) | (State & Mask);
    if (Single() && (New & LVIS_SELECTED) && !(Old & LVIS_SELECTED))
        for (int I = 0; I < Count(); ++I)
            if (I != Index && (StateOf(I) & LVIS_SELECTED))
                SetState(I, 0, LVIS_SELECTED);
    if ((New & LVIS_FOCUSED) && !(Old & LVIS_FOCUSED))
        for (int I = 0; I < Count(); ++I)
            if (I != Index && (StateOf(I) & LVIS_FOCUSED))
                SetState(I, 0, LVIS_FOCUSED);
    if (New == Old)
        return true;
    if (!ItemChanging(Index, Old, New))
        return false;
    if (!Valid(Index))
        return false;
    StateRef(Index) = New;
    RedrawItem(Index);
    ItemChanged(Index, Old, New);
    return true;
}

// ---------------------------------------------------------------- items

int TListViewControl::SortedPlace(const std::string& Text) const {
    bool Descending = Style() & LVS_SORTDESCENDING;
    int I = 0;
    while (I < int(FItems.size())) {
        int C = AnsiCompareText(FItems[std::size_t(I)].Text, Text);
        if (Descending ? C < 0 : C > 0)
            break;
        ++I;
    }
    return I;
}

int TListViewControl::InsertItem(const LVITEM& In) {
    if (OwnerData() || In.iSubItem != 0)
        return -1;
    TLVItem Item;
    if ((In.mask & LVIF_TEXT) && In.pszText && In.pszText != LPSTR_TEXTCALLBACK)
        Item.Text = SanitizeUtf8(In.pszText);
    if (In.mask & LVIF_IMAGE)
        Item.Image = In.iImage;
    if (In.mask & LVIF_PARAM)
        Item.Param = In.lParam;
    if (In.mask & LVIF_INDENT)
        Item.Indent = In.iIndent;
    UINT State = (In.mask & LVIF_STATE) ? (In.state & In.stateMask) : 0;
    int Index = std::clamp(In.iItem, 0, Count());
    if (Style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING))
        Index = SortedPlace(Item.Text);
    FItems.insert(FItems.begin() + Index, std::move(Item));
    if (FEditItem >= Index)
        ++FEditItem;
    NotifySimple(LVN_INSERTITEM, Index);
    if (State)
        SetState(Index, State, State);
    ClampScroll();
    UpdateScrollInfo();
    Redraw();
    return Index;
}

bool TListViewControl::SetItem(const LVITEM& In) {
    if (!Valid(In.iItem))
        return false;
    if (OwnerData()) {
        if (In.mask & LVIF_STATE)
            return SetState(In.iItem, In.state, In.stateMask);
        RedrawItem(In.iItem);
        return true;
    }
    TLVItem& Item = FItems[std::size_t(In.iItem)];
    if (In.iSubItem < 0 || In.iSubItem >= std::max<int>(1, int(FColumns.size())))
        if (In.iSubItem != 0)
            return false;
    if ((In.mask & LVIF_TEXT) && In.pszText != LPSTR_TEXTCALLBACK) {
        std::string Text = SanitizeUtf8(In.pszText ? In.pszText : "");
        if (In.iSubItem == 0) {
            Item.Text = Text;
        } else {
            if (Item.Sub.size() < std::size_t(In.iSubItem))
                Item.Sub.resize(std::size_t(In.iSubItem));
            Item.Sub[std::size_t(In.iSubItem) - 1] = Text;
        }
    }
    if (In.iSubItem > 0 && (In.mask & LVIF_IMAGE)) {
        if (Item.SubImage.size() < std::size_t(In.iSubItem))
            Item.SubImage.resize(std::size_t(In.iSubItem), -1);
        Item.SubImage[std::size_t(In.iSubItem) - 1] = In.iImage;
    }
    if (In.iSubItem == 0) {
        if (In.mask & LVIF_IMAGE)
            Item.Image = In.iImage;
        if (In.mask & LVIF_PARAM)
            Item.Param = In.lParam;
        if (In.mask & LVIF_INDENT)
            Item.Indent = In.iIndent;
    }
    RedrawItem(In.iItem);
    if ((In.mask & LVIF_STATE) && In.iSubItem == 0)
        return SetState(In.iItem, In.state, In.stateMask);
    return true;
}

bool TListViewControl::GetItem(LVITEM& Out) {
    if (!Valid(Out.iItem))
        return false;
    if ((Out.mask & LVIF_TEXT) && Out.pszText && Out.cchTextMax > 0) {
        std::string Text = TextOf(Out.iItem, Out.iSubItem);
        std::size_t N = std::min<std::size_t>(Text.size(), std::size_t(Out.cchTextMax - 1));
        while (N > 0 && N < Text.size() && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80)
            --N;
        std::memcpy(Out.pszText, Text.data(), N);
        Out.pszText[N] = 0;
    }
    if (Out.mask & LVIF_IMAGE)
        Out.iImage = Out.iSubItem > 0 ? SubImageOf(Out.iItem, Out.iSubItem) : ImageOf(Out.iItem);
    if (Out.mask & LVIF_PARAM)
        Out.lParam = ParamOf(Out.iItem);
    if (Out.mask & LVIF_STATE)
        Out.state = StateOf(Out.iItem) & Out.stateMask;
    if ((Out.mask & LVIF_INDENT) && !OwnerData())
        Out.iIndent = FItems[std::size_t(Out.iItem)].Indent;
    return true;
}

void TListViewControl::DeleteItem(int Index) {
    // A label edit of the item ends as cancelled before the item goes.
    if (Index == FEditItem)
        EndEdit(true);
    // Indices move: nothing stays hot.
    SetHot(-1);
    NotifySimple(LVN_DELETEITEM, Index);
    if (!Valid(Index))
        return;
    if (OwnerData()) {
        FStates.erase(FStates.begin() + Index);
        --FCount;
    } else {
        FItems.erase(FItems.begin() + Index);
    }
    if (FEditItem > Index)
        --FEditItem;
    ClampScroll();
    UpdateScrollInfo();
    Redraw();
}

void TListViewControl::DeleteAll() {
    EndEdit(true);
    // A nonzero answer to LVN_DELETEALLITEMS spares the per-item notifications.
    bool Quiet = false;
    {
        NMLISTVIEW N;
        N.iItem = -1;
        Quiet = Notify(LVN_DELETEALLITEMS, N.hdr) != 0;
    }
    if (!Quiet && !OwnerData())
        for (int I = Count() - 1; I >= 0; --I)
            NotifySimple(LVN_DELETEITEM, I);
    FItems.clear();
    FStates.clear();
    FCount = 0;
    FTop = 0;
    FScrollX = FScrollY = 0;
    UpdateScrollInfo();
    LayoutHeader();
    Redraw();
}

int TListViewControl::Find(int Start, const LVFINDINFO& Info) {
    int N = Count();
    if (N == 0)
        return -1;
    if (OwnerData()) {
        NMLVFINDITEM F;
        F.iStart = Start;
        F.lvfi = Info;
        return int(Notify(LVN_ODFINDITEM, F.hdr));
    }
    int From = std::clamp(Start, 0, N);
    int Steps = (Info.flags & LVFI_WRAP) ? N : N - From;
    for (int K = 0; K < Steps; ++K) {
        int I = (From + K) % N;
        if (Info.flags & LVFI_PARAM) {
            if (FItems[std::size_t(I)].Param == Info.lParam)
                return I;
            continue;
        }
        if (!(Info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !Info.psz)
            continue;
        const std::string& T = FItems[std::size_t(I)].Text;
        std::string_view Want(Info.psz);
        bool Match = (Info.flags & LVFI_PARTIAL)
                         ? T.size() >= Want.size() && AnsiSameText(T.substr(0, Want.size()), Want)
                         : AnsiSameText(T, Want);
        if (Match)
            return I;
    }
    return -1;
}

void TListViewControl::Sort(LPARAM Param, const PFNLVCOMPARE& Compare) {
    if (OwnerData() || !Compare)
        return;
    std::stable_sort(FItems.begin(), FItems.end(), [&](const TLVItem& A, const TLVItem& B) {
        return Compare(A.Param, B.Param, Param) < 0;
    });
    Redraw();
}

// ---------------------------------------------------------------- columns

void TListViewControl::SyncHeaderItem(int Index) {
    if (!FHeader)
        return;
    HDITEM Item;
    Item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    std::string Text = FColumns[std::size_t(Index)].Text;
    Item.cxy = FColumns[std::size_t(Index)].Width;
    Item.pszText = Text.data();
    Item.fmt = FColumns[std::size_t(Index)].Format | HDF_STRING;
    SendMessage(FHeader, HDM_SETITEM, WPARAM(Index), LPARAM(&Item));
}

int TListViewControl::InsertColumn(int Index, const LVCOLUMN& In) {
    if (Index < 0)
        return -1;
    Index = std::min(Index, int(FColumns.size()));
    TLVCol Col;
    if (In.mask & LVCF_WIDTH)
        Col.Width = std::max(0, In.cx);
    if ((In.mask & LVCF_TEXT) && In.pszText)
        Col.Text = SanitizeUtf8(In.pszText);
    if (In.mask & LVCF_FMT)
        Col.Format = In.fmt & HDF_JUSTIFYMASK;
    if (In.mask & LVCF_IMAGE)
        Col.Image = In.iImage;
    Col.SubItem = (In.mask & LVCF_SUBITEM) ? In.iSubItem : Index;
    FColumns.insert(FColumns.begin() + Index, Col);
    if (FHeader) {
        HDITEM Item;
        Item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        Item.cxy = Col.Width;
        Item.pszText = Col.Text.data();
        Item.fmt = Col.Format | HDF_STRING;
        SendMessage(FHeader, HDM_INSERTITEM, WPARAM(Index), LPARAM(&Item));
    }
    ClampScroll();
    UpdateScrollInfo();
    Redraw();
    return Index;
}

bool TListViewControl::SetColumn(int Index, const LVCOLUMN& In) {
    if (Index < 0 || Index >= int(FColumns.size()))
        return false;
    TLVCol& Col = FColumns[std::size_t(Index)];
    if (In.mask & LVCF_WIDTH)
        Col.Width = std::max(0, In.cx);
    if ((In.mask & LVCF_TEXT) && In.pszText)
        Col.Text = SanitizeUtf8(In.pszText);
    if (In.mask & LVCF_FMT)
        Col.Format = In.fmt & HDF_JUSTIFYMASK;
    if (In.mask & LVCF_IMAGE)
        Col.Image = In.iImage;
    SyncHeaderItem(Index);
    ClampScroll();
    UpdateScrollInfo();
    Redraw();
    return true;
}

bool TListViewControl::GetColumn(int Index, LVCOLUMN& Out) const {
    if (Index < 0 || Index >= int(FColumns.size()))
        return false;
    const TLVCol& Col = FColumns[std::size_t(Index)];
    if (Out.mask & LVCF_WIDTH)
        Out.cx = Col.Width;
    if ((Out.mask & LVCF_TEXT) && Out.pszText && Out.cchTextMax > 0) {
        std::size_t N = std::min<std::size_t>(Col.Text.size(), std::size_t(Out.cchTextMax - 1));
        std::memcpy(Out.pszText, Col.Text.data(), N);
        Out.pszText[N] = 0;
    }
    if (Out.mask & LVCF_FMT)
        Out.fmt = Col.Format;
    if (Out.mask & LVCF_SUBITEM)
        Out.iSubItem = Col.SubItem;
    if (Out.mask & LVCF_IMAGE)
        Out.iImage = Col.Image;
    return true;
}

// ---------------------------------------------------------------- input

void TListViewControl::Select(int Index, bool Shift, bool Ctrl, bool Toggle) {
    if (!Valid(Index))
        return;
    // Shift extends from where the last plain or Ctrl selection was made.
    if (!Shift)
        FMark = Index;
    if (Single() || (!Shift && !Ctrl)) {
        if (!Single())
            for (int I = 0; I < Count(); ++I)
                if (I != Index && (StateOf(I) & LVIS_SELECTED))
                    SetState(I, 0, LVIS_SELECTED);
        SetState(Index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    } else if (Shift) {
        int Anchor = Valid(FMark) ? FMark : Index;
        int From = std::min(Anchor, Index), To = std::max(Anchor, Index);
        for (int I = 0; I < Count(); ++I) {
            bool In = I >= From && I <= To;
            if (In != bool(StateOf(I) & LVIS_SELECTED) && (In || !Ctrl))
                SetState(I, In ? LVIS_SELECTED : 0, LVIS_SELECTED);
        }
        SetState(Index, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (Toggle) {
        SetState(Index,
                 (StateOf(Index) & LVIS_SELECTED) ? LVIS_FOCUSED : LVIS_SELECTED | LVIS_FOCUSED,
                 LVIS_SELECTED | LVIS_FOCUSED);
    } else {
        SetState(Index, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    EnsureVisible(Index, false);
}

void TListViewControl::KeyDown(WPARAM Key) {
    NMLVKEYDOWN K;
    K.wVKey = WORD(Key);
    Notify(LVN_KEYDOWN, K.hdr);
    if (Count() == 0)
        return;
    int Focus = int(SendMessage(FWnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    int From = Focus < 0 ? 0 : Focus;
    int Target = From;
    int Page = std::max(1, CountPerPage() - (View() == LVS_REPORT ? 1 : 0));
    int Across = View() == LVS_LIST ? RowsPerColumn() : View() == LVS_REPORT ? 0 : 1;
    int Down = View() == LVS_LIST || View() == LVS_REPORT ? 1 : IconsPerRow();
    switch (Key) {
    case VK_UP:
        Target = From - Down;
        break;
    case VK_DOWN:
        Target = Focus < 0 ? 0 : From + Down;
        break;
    case VK_LEFT:
        if (!Across)
            return;
        Target = From - Across;
        break;
    case VK_RIGHT:
        if (!Across)
            return;
        Target = From + Across;
        break;
    case VK_HOME:
        Target = 0;
        break;
    case VK_END:
        Target = Count() - 1;
        break;
    case VK_PRIOR:
        Target = From - Page;
        break;
    case VK_NEXT:
        Target = From + Page;
        break;
    case VK_SPACE:
        if (StdCtrl::KeyDown(VK_CONTROL) && Focus >= 0)
            Select(Focus, false, true, true);
        return;
    case VK_F1 + 1:
        if (Focus >= 0 && (Style() & LVS_EDITLABELS))
            EditLabel(Focus);
        return;
    default:
        return;
    }
    Target = std::clamp(Target, 0, Count() - 1);
    bool Shift = StdCtrl::KeyDown(VK_SHIFT) && !Single();
    bool Ctrl = StdCtrl::KeyDown(VK_CONTROL) && !Single();
    Select(Target, Shift, Ctrl, false);
}

void TListViewControl::TypeAhead(char32_t C) {
    DWORD Now = GetTickCount();
    if (Now - FLastChar >= TypeAheadDelay)
        FPrefix.clear();
    FLastChar = Now;
    AppendUtf8(FPrefix, C);
    int Focus = int(SendMessage(FWnd, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    // A first character looks past the focused item, a longer prefix from it.
    int Start = Utf8Length(FPrefix) == 1 ? Focus + 1 : std::max(Focus, 0);
    if (Start >= Count())
        Start = 0;
    LVFINDINFO Info;
    Info.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    Info.psz = FPrefix.c_str();
    int Found = Find(Start, Info);
    if (Valid(Found))
        Select(Found, false, false, false);
}

void TListViewControl::MouseDown(TPoint P, bool Right, bool Double) {
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    UINT Flags = 0;
    int Index = HitTest(P, Flags);
    KillTimer(FWnd, EditLabelTimer);
    FPendingEdit = -1;
    if (Double) {
        NMLISTVIEW N;
        N.iItem = Index;
        N.ptAction = P;
        Notify(NM_DBLCLK, N.hdr);
        return;
    }
    bool Shift = StdCtrl::KeyDown(VK_SHIFT) && !Single(),
         Ctrl = StdCtrl::KeyDown(VK_CONTROL) && !Single();
    if (Index < 0) {
        if (!Ctrl && !Shift)
            SetState(-1, 0, LVIS_SELECTED);
        return;
    }
    FWasFocusedOnPress =
        (StateOf(Index) & (LVIS_FOCUSED | LVIS_SELECTED)) == (LVIS_FOCUSED | LVIS_SELECTED);
    if (Right) {
        if (!(StateOf(Index) & LVIS_SELECTED))
            Select(Index, false, false, false);
        return;
    }
    Select(Index, Shift, Ctrl, Ctrl);
    // A second click on the focused item's label edits it once the double
    // click time has gone by without a second press.
    if (FWasFocusedOnPress && !Shift && !Ctrl && (Style() & LVS_EDITLABELS) &&
        (Flags & LVHT_ONITEMLABEL)) {
        FPendingEdit = Index;
        SetTimer(FWnd, EditLabelTimer, GetDoubleClickTime(), nullptr);
    }
}

// ---------------------------------------------------------------- label editing

HWND TListViewControl::EditLabel(int Index) {
    EndEdit(false);
    if (!Valid(Index))
        return nullptr;
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    NMLVDISPINFO Info;
    std::string Text = TextOf(Index, 0);
    Info.item.mask = LVIF_TEXT | LVIF_PARAM;
    Info.item.iItem = Index;
    Info.item.pszText = Text.data();
    Info.item.lParam = ParamOf(Index);
    if (Notify(LVN_BEGINLABELEDIT, Info.hdr) != 0)
        return nullptr;
    if (!Valid(Index))
        return nullptr;
    EnsureVisible(Index, false);
    RegisterEditClass();
    TRect R = ItemPart(Index, LVIR_LABEL);
    if (View() == LVS_ICON)
        R.Bottom = R.Top + FMeasure.LineHeight() + 6;
    FEditItem = Index;
    FEditor = OpenLabelEditor(FWnd, FFont, Text, R.Left, R.Top, std::max(40, R.Width()),
                              std::max(R.Height(), FMeasure.LineHeight() + 4), EditorSubclass,
                              EditorSubclassId, DWORD_PTR(this));
    SetFocus(FEditor);
    return FEditor;
}

void TListViewControl::EndEdit(bool Cancel) {
    if (!FEditor || FEnding)
        return;
    FEnding = true;
    HWND Editor = FEditor;
    int Index = FEditItem;
    FEditor = nullptr;
    FEditItem = -1;
    std::string Text = CloseLabelEditor(FWnd, Editor, EditorSubclass, EditorSubclassId);
    NMLVDISPINFO Info;
    Info.item.mask = LVIF_TEXT | LVIF_PARAM;
    Info.item.iItem = Index;
    Info.item.pszText = Cancel ? nullptr : Text.data();
    Info.item.cchTextMax = int(Text.size() + 1);
    Info.item.lParam = Valid(Index) ? ParamOf(Index) : 0;
    LRESULT Keep = Notify(LVN_ENDLABELEDIT, Info.hdr);
    if (!Cancel && Keep && Valid(Index) && !OwnerData()) {
        FItems[std::size_t(Index)].Text = SanitizeUtf8(Text);
        RedrawItem(Index);
    }
    FEnding = false;
}

LRESULT TListViewControl::EditorMessage(HWND Editor, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return LabelEditorMessage(Editor, Msg, WParam, LParam,
                              [this](bool Cancel) { EndEdit(Cancel); });
}

// ---------------------------------------------------------------- painting

void TListViewControl::PaintItem(HDC DC, int Index, bool ShowSel) {
    UINT State = StateOf(Index);
    bool Selected = (State & LVIS_SELECTED) && ShowSel;
    TRect Bounds = ItemBounds(Index);
    TRect SelRect = ItemPart(Index, LVIR_SELECTBOUNDS);
    TRect Label = ItemPart(Index, LVIR_LABEL);
    HIMAGELIST List = FImages[View() == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL];
    COLORREF Text = FPaintText;
    bool Full = View() == LVS_REPORT && (FExStyle & LVS_EX_FULLROWSELECT);
    if (Selected) {
        HBRUSH Brush = GetSysColorBrush(FFocused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        FillRect(DC, Full ? &SelRect : &Label, Brush);
    } else if (FTextBkColor != ClrNone) {
        HBRUSH Brush = CreateSolidBrush(FTextBkColor);
        FillRect(DC, Full ? &SelRect : &Label, Brush);
        DeleteObject(ToObj(Brush));
    }
    int Image = ImageOf(Index);
    TRect Icon = ItemPart(Index, LVIR_ICON);
    if (List && Image >= 0)
        ImageList_DrawEx(List, Image, DC, Icon.Left, Icon.Top, 0, 0, ClrNone, ClrNone,
                         ILD_TRANSPARENT);
    // The state image (1-based in the state bits) stands before the icon.
    int StateImage = int((State & LVIS_STATEIMAGEMASK) >> 12) - 1;
    if (HIMAGELIST States = FImages[LVSIL_STATE]; States && StateImage >= 0) {
        int W = 0, H = 0;
        ImageList_GetIconSize(States, &W, &H);
        int Y = View() == LVS_ICON ? Icon.Bottom - H : Icon.Top + (Icon.Height() - H) / 2;
        ImageList_DrawEx(States, StateImage, DC, Icon.Left - W, Y, 0, 0, ClrNone, ClrNone,
                         ILD_TRANSPARENT);
    }
    SetBkMode(DC, TRANSPARENT);
    if (Index == FHot && !(Selected && FFocused))
        Text = GetSysColor(COLOR_HOTLIGHT);
    SetTextColor(DC, Selected && FFocused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Text);
    UINT Flags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER;
    if (View() == LVS_ICON)
        Flags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;
    TRect T = Label;
    T.Left += 2;
    DrawText(DC, TextOf(Index, 0), -1, &T, Flags);
    if (View() == LVS_REPORT) {
        for (int Col = 1; Col < int(FColumns.size()); ++Col) {
            TRect R = SubItemRect(Index, Col);
            if (R.Width() <= 0)
                continue;
            SetTextColor(DC,
                         Selected && Full && FFocused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Text);
            TRect Cell{R.Left + 6, R.Top, R.Right - 6, R.Bottom};
            int SubImage = (FExStyle & LVS_EX_SUBITEMIMAGES) && FImages[LVSIL_SMALL]
                               ? SubImageOf(Index, FColumns[std::size_t(Col)].SubItem)
                               : -1;
            if (SubImage >= 0) {
                int W = 0, H = 0;
                ImageList_GetIconSize(FImages[LVSIL_SMALL], &W, &H);
                ImageList_DrawEx(FImages[LVSIL_SMALL], SubImage, DC, R.Left + 2,
                                 R.Top + (R.Height() - H) / 2, 0, 0, ClrNone, ClrNone,
                                 ILD_TRANSPARENT);
                Cell.Left = R.Left + 2 + W + 2;
            }
            UINT Align = FColumns[std::size_t(Col)].Format == LVCFMT_RIGHT    ? DT_RIGHT
                         : FColumns[std::size_t(Col)].Format == LVCFMT_CENTER ? DT_CENTER
                                                                              : DT_LEFT;
            DrawText(DC, TextOf(Index, FColumns[std::size_t(Col)].SubItem), -1, &Cell,
                     Flags | Align);
        }
    }
    if (FFocused && (State & LVIS_FOCUSED)) {
        TRect F = Full ? SelRect : Label;
        DrawFocusRect(DC, &F);
    }
    (void)Bounds;
}

void TListViewControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    TRect C = Client();
    // The parent chooses the colours as for a list box; the view's own
    // colours, once set, win.
    HBRUSH Brush = AskColors(FWnd, DC, WM_CTLCOLORLISTBOX, !IsWindowEnabled(FWnd));
    FPaintText = FTextColor != ClrNone ? FTextColor : GetTextColor(DC);
    if (FBkColor != ClrNone) {
        HBRUSH Own = CreateSolidBrush(FBkColor);
        FillRect(DC, &C, Own);
        DeleteObject(ToObj(Own));
    } else if (!IsNullBrush(Brush)) {
        FillRect(DC, &C, Brush);
    }
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    int Top = HeaderHeight();
    IntersectClipRect(DC, 0, Top, C.Right, C.Bottom);
    bool ShowSel = FFocused || (Style() & LVS_SHOWSELALWAYS);
    // The range about to be painted, for an owner-data cache.
    int First = 0, Last = Count() - 1;
    if (View() == LVS_REPORT) {
        First = FTop;
        Last = std::min(Count() - 1, FTop + VisibleRows());
    } else if (View() == LVS_LIST) {
        First = FTop;
        Last = std::min(Count() - 1, FTop + RowsPerColumn() * (VisibleColumns() + 1) - 1);
    }
    if (OwnerData() && First <= Last) {
        NMLVCACHEHINT Hint;
        Hint.iFrom = First;
        Hint.iTo = Last;
        Notify(LVN_ODCACHEHINT, Hint.hdr);
    }
    for (int I = First; I <= Last && I < Count(); ++I) {
        TRect B = ItemBounds(I);
        if (B.Bottom <= Top || B.Top >= C.Bottom || B.Right <= 0 || B.Left >= C.Right)
            continue;
        PaintItem(DC, I, ShowSel);
    }
    if (View() == LVS_REPORT && (FExStyle & LVS_EX_GRIDLINES)) {
        HBRUSH Grid = GetSysColorBrush(COLOR_BTNFACE);
        int X = -FScrollX;
        for (const TLVCol& Col : FColumns) {
            X += Col.Width;
            TRect Line{X - 1, Top, X, C.Bottom};
            FillRect(DC, &Line, Grid);
        }
        for (int Y = Top + RowHeight() - 1; Y < C.Bottom; Y += RowHeight()) {
            TRect Line{0, Y, C.Right, Y + 1};
            FillRect(DC, &Line, Grid);
        }
    }
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

// ---------------------------------------------------------------- messages

LRESULT TListViewControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    int Index = int(WParam);
    switch (Msg) {
    case WM_CREATE:
        CreateHeader();
        UpdateScrollInfo();
        return 0;
    case WM_DESTROY:
        EndEdit(true);
        return 0;
    case WM_STYLECHANGED:
        if (WParam == WPARAM(GWL_STYLE)) {
            CreateHeader();
            LayoutHeader();
            ClampScroll();
            UpdateScrollInfo();
            Redraw();
        }
        return 0;
    case WM_SIZE:
        LayoutHeader();
        ClampScroll();
        UpdateScrollInfo();
        Redraw();
        return 0;
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
        if (FHeader)
            SendMessage(FHeader, WM_SETFONT, WParam, 0);
        LayoutHeader();
        ClampScroll();
        UpdateScrollInfo();
        if (LParam)
            Redraw();
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    case WM_SETREDRAW:
        FRedraw = WParam != 0;
        if (FRedraw) {
            UpdateScrollInfo();
            InvalidateRect(FWnd, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT:
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: {
        FFocused = true;
        Redraw();
        NMHDR H;
        Notify(NM_SETFOCUS, H);
        return 0;
    }
    case WM_KILLFOCUS: {
        FFocused = false;
        Redraw();
        NMHDR H;
        Notify(NM_KILLFOCUS, H);
        return 0;
    }
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_CHAR:
        if (WParam > ' ')
            TypeAhead(char32_t(WParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(LParamToPoint(LParam), false, Msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
        MouseDown(LParamToPoint(LParam), true, false);
        return 0;
    case WM_LBUTTONUP: {
        NMLISTVIEW N;
        UINT Flags = 0;
        N.ptAction = LParamToPoint(LParam);
        N.iItem = HitTest(N.ptAction, Flags);
        Notify(NM_CLICK, N.hdr);
        return 0;
    }
    case WM_RBUTTONUP: {
        NMLISTVIEW N;
        UINT Flags = 0;
        N.ptAction = LParamToPoint(LParam);
        N.iItem = HitTest(N.ptAction, Flags);
        Notify(NM_RCLICK, N.hdr);
        // Then the context menu, as for any window.
        TPoint S = N.ptAction;
        ClientToScreen(FWnd, &S);
        SendMessage(FWnd, WM_CONTEXTMENU, WPARAM(FWnd), PointToLParam(S));
        return 0;
    }
    case WM_MOUSEMOVE:
        if (FExStyle & LVS_EX_TRACKSELECT)
            TrackHot(LParamToPoint(LParam));
        return 0;
    case WM_MOUSELEAVE:
        SetHot(-1);
        return 0;
    case WM_TIMER:
        if (WParam == HoverTimer) {
            KillTimer(FWnd, HoverTimer);
            if (Valid(FHot) && !(StateOf(FHot) & LVIS_SELECTED))
                Select(FHot, false, false, false);
            return 0;
        }
        if (WParam == EditLabelTimer) {
            KillTimer(FWnd, EditLabelTimer);
            int Pending = FPendingEdit;
            FPendingEdit = -1;
            if (Valid(Pending))
                EditLabel(Pending);
        }
        return 0;
    case WM_VSCROLL:
        if (View() == LVS_REPORT) {
            FTop = ScrollTarget(FWnd, SB_VERT, WParam, FTop, Count(), VisibleRows());
        } else if (View() != LVS_LIST) {
            TRect C = Client();
            int Line = RowHeight();
            int T = LOWORD(WParam) == SB_LINEUP     ? FScrollY - Line
                    : LOWORD(WParam) == SB_LINEDOWN ? FScrollY + Line
                    : LOWORD(WParam) == SB_PAGEUP   ? FScrollY - C.Height()
                    : LOWORD(WParam) == SB_PAGEDOWN ? FScrollY + C.Height()
                    : (LOWORD(WParam) == SB_THUMBPOSITION || LOWORD(WParam) == SB_THUMBTRACK)
                        ? int(HIWORD(WParam))
                        : FScrollY;
            FScrollY = T;
        }
        ClampScroll();
        UpdateScrollInfo();
        Redraw();
        return 0;
    case WM_HSCROLL: {
        TRect C = Client();
        if (View() == LVS_LIST) {
            int Rows = RowsPerColumn();
            int Columns = (Count() + Rows - 1) / Rows;
            FTop =
                ScrollTarget(FWnd, SB_HORZ, WParam, FTop / Rows, Columns, VisibleColumns()) * Rows;
        } else {
            int Line = FMeasure.AveCharWidth() * 2;
            int T = LOWORD(WParam) == SB_LINELEFT    ? FScrollX - Line
                    : LOWORD(WParam) == SB_LINERIGHT ? FScrollX + Line
                    : LOWORD(WParam) == SB_PAGELEFT  ? FScrollX - C.Width()
                    : LOWORD(WParam) == SB_PAGERIGHT ? FScrollX + C.Width()
                    : (LOWORD(WParam) == SB_THUMBPOSITION || LOWORD(WParam) == SB_THUMBTRACK)
                        ? int(HIWORD(WParam))
                    : LOWORD(WParam) == SB_TOP ? 0
                                               : FScrollX;
            FScrollX = T;
        }
        ClampScroll();
        LayoutHeader();
        UpdateScrollInfo();
        Redraw();
        return 0;
    }
    case WM_MOUSEWHEEL: {
        int Lines = -GET_WHEEL_DELTA_WPARAM(WParam) * WheelLines() / WHEEL_DELTA;
        if (View() == LVS_LIST)
            FTop += (Lines > 0 ? 1 : -1) * RowsPerColumn();
        else if (View() == LVS_REPORT)
            FTop += Lines;
        else
            FScrollY += Lines * RowHeight();
        ClampScroll();
        UpdateScrollInfo();
        Redraw();
        return 0;
    }
    case WM_NOTIFY: {
        auto* H = reinterpret_cast<NMHDR*>(LParam);
        if (!H || !FHeader || H->hwndFrom != FHeader)
            return 0;
        // The header's notifications go on to the view's parent, which may
        // veto or change a width; the view follows the header.
        HWND Parent = GetParent(FWnd);
        LRESULT R = Parent ? SendMessage(Parent, WM_NOTIFY, WParam, LParam) : 0;
        auto* N = reinterpret_cast<NMHEADER*>(LParam);
        if (H->code == HDN_ITEMCHANGED && N->iItem >= 0 && N->iItem < int(FColumns.size()) &&
            N->pitem && (N->pitem->mask & HDI_WIDTH)) {
            FColumns[std::size_t(N->iItem)].Width = N->pitem->cxy;
            ClampScroll();
            UpdateScrollInfo();
            Redraw();
        } else if (H->code == HDN_DIVIDERDBLCLICK && R == 0 && N->iItem >= 0 &&
                   N->iItem < int(FColumns.size())) {
            // A double click on a divider fits the column on its left to its texts.
            SendMessage(FWnd, LVM_SETCOLUMNWIDTH, WPARAM(N->iItem), LPARAM(LVSCW_AUTOSIZE));
        } else if (H->code == HDN_ENDDRAG) {
            // The order changes once the header has taken the drop.
            PostMessage(FWnd, LVM_UPDATE, WPARAM(-1), 0);
        } else if (H->code == HDN_ITEMCLICK && !(Style() & LVS_NOSORTHEADER)) {
            NMLISTVIEW L;
            L.iItem = -1;
            L.iSubItem = N->iItem;
            Notify(LVN_COLUMNCLICK, L.hdr);
        }
        return R;
    }
    // ---- list view messages
    case LVM_SETBKCOLOR:
        FBkColor = COLORREF(LParam);
        Redraw();
        return TRUE;
    case LVM_SETTEXTCOLOR:
        FTextColor = COLORREF(LParam);
        Redraw();
        return TRUE;
    case LVM_SETTEXTBKCOLOR:
        FTextBkColor = COLORREF(LParam);
        Redraw();
        return TRUE;
    case LVM_SETIMAGELIST: {
        if (WParam > LVSIL_STATE)
            return 0;
        HIMAGELIST Old = FImages[WParam];
        FImages[WParam] = reinterpret_cast<HIMAGELIST>(LParam);
        ClampScroll();
        UpdateScrollInfo();
        Redraw();
        return LRESULT(Old);
    }
    case LVM_GETITEMCOUNT:
        return Count();
    case LVM_SETITEMCOUNT: {
        if (!OwnerData())
            return TRUE;
        int N = std::max(0, Index);
        FCount = N;
        FStates.resize(std::size_t(N));
        ClampScroll();
        UpdateScrollInfo();
        Redraw();
        return TRUE;
    }
    case LVM_INSERTITEM:
        return LParam ? InsertItem(*reinterpret_cast<const LVITEM*>(LParam)) : -1;
    case LVM_SETITEM:
        return LParam && SetItem(*reinterpret_cast<const LVITEM*>(LParam));
    case LVM_GETITEM:
        return LParam && GetItem(*reinterpret_cast<LVITEM*>(LParam));
    case LVM_SETITEMTEXT: {
        if (!LParam || !Valid(Index))
            return FALSE;
        LVITEM Item = *reinterpret_cast<const LVITEM*>(LParam);
        Item.iItem = Index;
        Item.mask = LVIF_TEXT;
        return SetItem(Item);
    }
    case LVM_GETITEMTEXT: {
        if (!LParam || !Valid(Index))
            return 0;
        auto* Item = reinterpret_cast<LVITEM*>(LParam);
        Item->iItem = Index;
        Item->mask = LVIF_TEXT;
        GetItem(*Item);
        return Item->pszText ? LRESULT(std::strlen(Item->pszText)) : 0;
    }
    case LVM_SETITEMSTATE: {
        const auto* Item = reinterpret_cast<const LVITEM*>(LParam);
        if (!Item || (Index != -1 && !Valid(Index)))
            return FALSE;
        return SetState(Index, Item->state, Item->stateMask);
    }
    case LVM_GETITEMSTATE:
        return Valid(Index) ? LRESULT(StateOf(Index) & UINT(LParam)) : 0;
    case LVM_GETNEXTITEM: {
        UINT Flags = UINT(LOWORD(LParam));
        for (int I = std::max(0, Index + 1); I < Count(); ++I) {
            UINT S = StateOf(I);
            if (((Flags & LVNI_FOCUSED) && !(S & LVIS_FOCUSED)) ||
                ((Flags & LVNI_SELECTED) && !(S & LVIS_SELECTED)))
                continue;
            return I;
        }
        return -1;
    }
    case LVM_GETSELECTEDCOUNT: {
        int N = 0;
        for (int I = 0; I < Count(); ++I)
            if (StateOf(I) & LVIS_SELECTED)
                ++N;
        return N;
    }
    case LVM_DELETEITEM:
        if (!Valid(Index))
            return FALSE;
        DeleteItem(Index);
        return TRUE;
    case LVM_DELETEALLITEMS:
        SetHot(-1);
        DeleteAll();
        return TRUE;
    case LVM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (!R || !Valid(Index))
            return FALSE;
        *R = ItemPart(Index, R->Left);
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (!R || !Valid(Index) || R->Top < 0 || R->Top >= std::max<int>(1, int(FColumns.size())))
            return FALSE;
        *R = R->Top == 0 && R->Left != LVIR_BOUNDS ? ItemPart(Index, R->Left)
                                                   : SubItemRect(Index, R->Top);
        return TRUE;
    }
    case LVM_GETITEMPOSITION: {
        auto* P = reinterpret_cast<TPoint*>(LParam);
        if (!P || !Valid(Index))
            return FALSE;
        TRect B = ItemBounds(Index);
        *P = B.TopLeft();
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* Info = reinterpret_cast<LVHITTESTINFO*>(LParam);
        if (!Info)
            return -1;
        Info->iItem =
            HitTest(Info->pt, Info->flags, Msg == LVM_SUBITEMHITTEST ? &Info->iSubItem : nullptr);
        return Info->iItem;
    }
    case LVM_ENSUREVISIBLE:
        if (!Valid(Index))
            return FALSE;
        EnsureVisible(Index, LParam != 0);
        return TRUE;
    case LVM_SCROLL:
        ScrollBy(int(WParam), int(LParam));
        return TRUE;
    case LVM_REDRAWITEMS:
        for (int I = std::max(0, Index); I <= int(LParam) && I < Count(); ++I)
            RedrawItem(I);
        return TRUE;
    case LVM_UPDATE:
        if (Index == -1)
            Redraw();
        else
            RedrawItem(Index);
        return TRUE;
    case LVM_ARRANGE:
        Redraw();
        return TRUE;
    case LVM_GETTOPINDEX:
        return View() == LVS_REPORT || View() == LVS_LIST ? FTop : 0;
    case LVM_GETCOUNTPERPAGE:
        return CountPerPage();
    case LVM_GETORIGIN: {
        auto* P = reinterpret_cast<TPoint*>(LParam);
        if (!P || View() == LVS_REPORT || View() == LVS_LIST)
            return FALSE;
        *P = {FScrollX, FScrollY};
        return TRUE;
    }
    case LVM_GETVIEWRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (!R || View() == LVS_REPORT || View() == LVS_LIST)
            return FALSE;
        TSize V = ViewSize();
        *R = {-FScrollX, -FScrollY, V.cx - FScrollX, V.cy - FScrollY};
        return TRUE;
    }
    case LVM_GETHEADER:
        return LRESULT(FHeader);
    case LVM_INSERTCOLUMN:
        return LParam ? InsertColumn(Index, *reinterpret_cast<const LVCOLUMN*>(LParam)) : -1;
    case LVM_SETCOLUMN:
        return LParam && SetColumn(Index, *reinterpret_cast<const LVCOLUMN*>(LParam));
    case LVM_GETCOLUMN:
        return LParam && GetColumn(Index, *reinterpret_cast<LVCOLUMN*>(LParam));
    case LVM_DELETECOLUMN:
        if (Index < 0 || Index >= int(FColumns.size()))
            return FALSE;
        FColumns.erase(FColumns.begin() + Index);
        if (FHeader)
            SendMessage(FHeader, HDM_DELETEITEM, WPARAM(Index), 0);
        ClampScroll();
        UpdateScrollInfo();
        Redraw();
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        if (View() == LVS_LIST)
            return ListColumnWidth();
        return Index >= 0 && Index < int(FColumns.size()) ? FColumns[std::size_t(Index)].Width : 0;
    case LVM_SETCOLUMNWIDTH: {
        if (View() == LVS_LIST) {
            FListColumnWidth = std::max(1, int(short(LOWORD(LParam))));
            ClampScroll();
            UpdateScrollInfo();
            Redraw();
            return TRUE;
        }
        LVCOLUMN Col;
        Col.mask = LVCF_WIDTH;
        Col.cx = int(short(LOWORD(LParam)));
        if (Col.cx == LVSCW_AUTOSIZE || Col.cx == LVSCW_AUTOSIZE_USEHEADER) {
            if (Index < 0 || Index >= int(FColumns.size()))
                return FALSE;
            Col.cx = FittingWidth(Index, Col.cx == LVSCW_AUTOSIZE_USEHEADER);
        }
        return SetColumn(Index, Col);
    }
    case LVM_GETCOLUMNORDERARRAY:
    case LVM_SETCOLUMNORDERARRAY:
        if (!FHeader)
            return FALSE;
        {
            LRESULT R = SendMessage(
                FHeader, Msg == LVM_GETCOLUMNORDERARRAY ? HDM_GETORDERARRAY : HDM_SETORDERARRAY,
                WParam, LParam);
            if (Msg == LVM_SETCOLUMNORDERARRAY)
                Redraw();
            return R;
        }
    case LVM_SORTITEMS:
        Sort(LPARAM(WParam),
             LParam ? *reinterpret_cast<const PFNLVCOMPARE*>(LParam) : PFNLVCOMPARE());
        return TRUE;
    case LVM_FINDITEM:
        return LParam ? Find(Index + 1, *reinterpret_cast<const LVFINDINFO*>(LParam)) : -1;
    case LVM_GETSTRINGWIDTH:
        return LParam ? FMeasure.Width(reinterpret_cast<const char*>(LParam)) : 0;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD Old = FExStyle;
        DWORD Mask = WParam ? DWORD(WParam) : 0xFFFFFFFF;
        FExStyle = (FExStyle & ~Mask) | (DWORD(LParam) & Mask);
        if (FHeader) {
            LONG_PTR HS = GetWindowLong(FHeader, GWL_STYLE);
            bool Drag = FExStyle & LVS_EX_HEADERDRAGDROP;
            SetWindowLong(FHeader, GWL_STYLE,
                          Drag ? (HS | LONG_PTR(HDS_DRAGDROP)) : (HS & ~LONG_PTR(HDS_DRAGDROP)));
        }
        Redraw();
        return LRESULT(Old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return LRESULT(FExStyle);
    case LVM_EDITLABEL:
        return LRESULT(EditLabel(Index));
    case LVM_GETEDITCONTROL:
        return LRESULT(FEditor);
    case LVM_CANCELEDITLABEL:
        EndEdit(true);
        return 0;
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT ListViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<TListViewControl>(Wnd, Msg, WParam, LParam, ListViewProp);
}

} // namespace

void RegisterListViewClass() {
    RegisterHeaderClass();
    RegisterNativeClass("SysListView32", ListViewWndProc);
}
