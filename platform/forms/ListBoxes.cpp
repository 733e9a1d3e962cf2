// The native list box: items with data, single, multiple and extended
// selection, single- and multi-column layout, owner draw and scroll
// information that is always published.
#include "platform/forms/ListBoxes.h"

#include "platform/core/Strings.h"
#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

using namespace StdCtrl;

namespace {

constexpr const char* ListBoxProp = "Ostrela.ListBox";
constexpr UINT_PTR DragTimer = 1;

struct TItem {
    std::string Text;
    LPARAM Data = 0;
    bool Selected = false;
    int Height = 0;
};

class TListBoxControl {
public:
    explicit TListBoxControl(HWND Wnd) : FWnd(Wnd) {
        FMeasure.SetFont(nullptr);
        FItemHeight = FMeasure.LineHeight();
    }

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    DWORD Style() const { return StyleOf(FWnd); }
    bool MultiColumn() const { return Style() & LBS_MULTICOLUMN; }
    bool Multiple() const { return Style() & LBS_MULTIPLESEL; }
    bool Extended() const { return Style() & LBS_EXTENDEDSEL; }
    bool AnyMulti() const { return Multiple() || Extended(); }
    bool OwnerDraw() const { return Style() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
    bool Variable() const { return Style() & LBS_OWNERDRAWVARIABLE; }
    bool HasStrings() const { return !OwnerDraw() || (Style() & LBS_HASSTRINGS); }
    int Count() const { return int(FItems.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }

    // ---- layout
    TRect Client();
    int HeightOf(int Index) const;
    int RowsPerColumn();
    int ColumnWidth();
    int VisibleRows();
    int VisibleColumns();
    TRect ItemRect(int Index);
    int ItemAt(TPoint P, bool& Outside);
    void ClampTop();
    void SetTop(int Index);
    void EnsureVisible(int Index);
    void UpdateScrollInfo();
    // Action is what changed in the item, for owner drawing: ODA_SELECT,
    // ODA_FOCUS or ODA_DRAWENTIRE.
    void InvalidateItem(int Index, UINT Action = ODA_DRAWENTIRE);
    void Redraw();
    // Owner drawing hears of the focus at the caret alone; the plain look
    // draws the selection in other colours, so all of it changes.
    void FocusChanged() {
        if (OwnerDraw())
            InvalidateItem(FCaret, ODA_FOCUS);
        else
            Redraw();
    }
    UINT ActionOf(int Index, bool OnlyChanges) const;

    // ---- items
    int Insert(int Index, std::string_view Text, LPARAM Data);
    int SortedPlace(std::string_view Text) const;
    int Find(int After, std::string_view Text, bool Exact) const;
    void Delete(int Index);
    void Reset();
    void Measure(int Index);

    // ---- selection
    void SetCur(int Index);
    void SetCaret(int Index);
    void SelectRange(int From, int To, bool Select);
    void ClearSelection();
    void UserSelect(int Index, bool Shift, bool Ctrl, bool Toggle);
    void Notify(UINT Code) {
        if (Style() & LBS_NOTIFY)
            NotifyCommand(FWnd, Code);
    }

    // ---- input and painting
    void KeyDown(WPARAM Key);
    // WM_VKEYTOITEM or WM_CHARTOITEM to the parent when it wants the keys.
    int AskParent(UINT Msg, WPARAM Key);
    void Char(char32_t C);
    void MouseDown(TPoint P, bool Double);
    void MouseMove(TPoint P);
    void Paint(HDC Given);
    void DrawItem(HDC DC, int Index, HBRUSH Background, UINT Action = ODA_DRAWENTIRE);

    HWND FWnd;
    std::vector<TItem> FItems;
    TMeasure FMeasure;
    HFONT FFont = nullptr;
    int FItemHeight = 16;
    int FTop = 0;
    int FCur = -1;   // the selection of a single-selection box
    int FCaret = 0;  // the focused item
    int FAnchor = 0; // where an extended selection starts
    int FColumnWidth = 0;
    int FExtent = 0;
    int FScrollX = 0;
    std::vector<int> FTabStops;
    bool FRedraw = true;
    bool FFocused = false;
    // What changed in each item since the last paint, and where.
    std::map<int, UINT> FChanged;
    TRect FChangedArea{};
    bool FTracking = false;
};

// ---------------------------------------------------------------- layout

TRect TListBoxControl::Client() {
    TRect R;
    GetClientRect(FWnd, &R);
    return R;
}

int TListBoxControl::HeightOf(int Index) const {
    if (Variable() && Valid(Index) && FItems[std::size_t(Index)].Height > 0)
        return FItems[std::size_t(Index)].Height;
    return std::max(1, FItemHeight);
}

int TListBoxControl::RowsPerColumn() {
    return std::max(1, Client().Height() / std::max(1, FItemHeight));
}

int TListBoxControl::ColumnWidth() {
    return FColumnWidth > 0 ? FColumnWidth : 15 * FMeasure.AveCharWidth();
}

int TListBoxControl::VisibleRows() {
    if (!Variable())
        return std::max(1, Client().Height() / std::max(1, FItemHeight));
    int H = Client().Height(), Rows = 0;
    for (int I = FTop; I < Count() && H >= HeightOf(I); ++I, ++Rows)
        H -= HeightOf(I);
    return std::max(1, Rows);
}

int TListBoxControl::VisibleColumns() {
    return std::max(1, Client().Width() / ColumnWidth());
}

TRect TListBoxControl::ItemRect(int Index) {
    TRect C = Client();
    if (MultiColumn()) {
        int Rows = RowsPerColumn();
        int Column = Index / Rows - FTop / Rows;
        int X = Column * ColumnWidth();
        int Y = (Index % Rows) * FItemHeight;
        return {X, Y, X + ColumnWidth(), Y + FItemHeight};
    }
    int Y = 0;
    if (Index >= FTop) {
        for (int I = FTop; I < Index; ++I)
            Y += HeightOf(I);
    } else {
        for (int I = Index; I < FTop; ++I)
            Y -= HeightOf(I);
    }
    int Width = std::max(C.Width(), FExtent);
    return {-FScrollX, Y, Width - FScrollX, Y + HeightOf(Index)};
}

int TListBoxControl::ItemAt(TPoint P, bool& Outside) {
    TRect C = Client();
    Outside = !PtInRect(&C, P);
    if (Count() == 0) {
        Outside = true;
        return 0;
    }
    if (MultiColumn()) {
        int Rows = RowsPerColumn();
        int Column = std::max(0, P.X) / ColumnWidth();
        int Row = std::clamp(P.Y / std::max(1, FItemHeight), 0, Rows - 1);
        int Index = FTop + Column * Rows + Row;
        if (Index >= Count()) {
            Outside = true;
            Index = Count() - 1;
        }
        return Index;
    }
    if (P.Y < 0)
        return std::max(0, FTop - 1);
    int Y = 0;
    for (int I = FTop; I < Count(); ++I) {
        Y += HeightOf(I);
        if (P.Y < Y)
            return I;
    }
    Outside = true;
    return Count() - 1;
}

void TListBoxControl::ClampTop() {
    if (MultiColumn()) {
        int Rows = RowsPerColumn();
        int Columns = (Count() + Rows - 1) / Rows;
        int First = std::clamp(FTop / Rows, 0, std::max(0, Columns - VisibleColumns()));
        FTop = First * Rows;
        return;
    }
    // The last page ends with the last item.
    int Max = Count() - 1, H = Client().Height();
    int Top = Count();
    while (Top > 0 && H >= HeightOf(Top - 1)) {
        H -= HeightOf(Top - 1);
        --Top;
    }
    Max = std::max(0, std::min(Max, Top));
    FTop = std::clamp(FTop, 0, Max);
}

void TListBoxControl::SetTop(int Index) {
    int Old = FTop;
    FTop = Index;
    ClampTop();
    if (FTop != Old) {
        UpdateScrollInfo();
        Redraw();
    }
}

void TListBoxControl::EnsureVisible(int Index) {
    if (!Valid(Index))
        return;
    if (MultiColumn()) {
        int Rows = RowsPerColumn();
        int Column = Index / Rows, First = FTop / Rows;
        if (Column < First)
            SetTop(Column * Rows);
        else if (Column >= First + VisibleColumns())
            SetTop((Column - VisibleColumns() + 1) * Rows);
        return;
    }
    if (Index < FTop) {
        SetTop(Index);
        return;
    }
    // Scroll down until the item is fully visible.
    int Top = FTop, H = Client().Height();
    auto Bottom = [&] {
        int Y = 0;
        for (int I = Top; I <= Index; ++I)
            Y += HeightOf(I);
        return Y;
    };
    while (Top < Index && Bottom() > H)
        ++Top;
    SetTop(Top);
}

void TListBoxControl::UpdateScrollInfo() {
    if (!FRedraw)
        return;
    if (MultiColumn()) {
        int Rows = RowsPerColumn();
        int Columns = (Count() + Rows - 1) / Rows;
        PublishScroll(FWnd, SB_HORZ, 0, Columns - 1, VisibleColumns(), FTop / Rows);
        return;
    }
    PublishScroll(FWnd, SB_VERT, 0, Count() - 1, VisibleRows(), FTop);
    if (FExtent > 0)
        PublishScroll(FWnd, SB_HORZ, 0, FExtent - 1, Client().Width(), FScrollX);
}

void TListBoxControl::InvalidateItem(int Index, UINT Action) {
    if (!FRedraw || !Valid(Index))
        return;
    TRect R = ItemRect(Index);
    FChanged[Index] |= Action;
    UnionRect(&FChangedArea, &FChangedArea, &R);
    InvalidateRect(FWnd, &R, TRUE);
}

void TListBoxControl::Redraw() {
    if (!FRedraw)
        return;
    FChanged.clear();
    FChangedArea = {};
    InvalidateRect(FWnd, nullptr, TRUE);
}

// An owner-drawn item whose selection or focus alone changed is told so,
// so that it can redraw just that; anything else draws it whole.
UINT TListBoxControl::ActionOf(int Index, bool OnlyChanges) const {
    auto It = FChanged.find(Index);
    if (!OnlyChanges || It == FChanged.end() || (It->second & ODA_DRAWENTIRE))
        return ODA_DRAWENTIRE;
    return (It->second & ODA_SELECT) ? ODA_SELECT : ODA_FOCUS;
}

// ---------------------------------------------------------------- items

int TListBoxControl::SortedPlace(std::string_view Text) const {
    auto It = std::upper_bound(
        FItems.begin(), FItems.end(), Text,
        [](std::string_view T, const TItem& Item) { return AnsiCompareText(T, Item.Text) < 0; });
    return int(It - FItems.begin());
}

int TListBoxControl::Insert(int Index, std::string_view Text, LPARAM Data) {
    TItem Item;
    if (HasStrings())
        Item.Text = SanitizeUtf8(Text);
    Item.Data = Data;
    if (Index < 0 || Index > Count())
        Index = Count();
    FItems.insert(FItems.begin() + Index, std::move(Item));
    if (FCur >= Index)
        ++FCur;
    if (FCaret >= Index && Count() > 1)
        ++FCaret;
    Measure(Index);
    UpdateScrollInfo();
    Redraw();
    return Index;
}

void TListBoxControl::Measure(int Index) {
    if (!Variable())
        return;
    MEASUREITEMSTRUCT MIS;
    MIS.CtlType = ODT_LISTBOX;
    MIS.CtlID = UINT(ControlId(FWnd));
    MIS.itemID = UINT(Index);
    MIS.itemHeight = UINT(FItemHeight);
    MIS.itemData = DWORD_PTR(FItems[std::size_t(Index)].Data);
    if (HWND Parent = GetParent(FWnd))
        SendMessage(Parent, WM_MEASUREITEM, WPARAM(MIS.CtlID), LPARAM(&MIS));
    FItems[std::size_t(Index)].Height = int(MIS.itemHeight);
}

int TListBoxControl::Find(int After, std::string_view Text, bool Exact) const {
    int N = Count();
    if (N == 0)
        return int(LB_ERR);
    int Start = After < 0 || After >= N ? 0 : After + 1;
    for (int K = 0; K < N; ++K) {
        int I = (Start + K) % N;
        const std::string& S = FItems[std::size_t(I)].Text;
        bool Match = Exact
                         ? AnsiSameText(S, Text)
                         : S.size() >= Text.size() && AnsiSameText(S.substr(0, Text.size()), Text);
        if (Match)
            return I;
    }
    return int(LB_ERR);
}

void TListBoxControl::Delete(int Index) {
    FItems.erase(FItems.begin() + Index);
    if (FCur == Index)
        FCur = -1;
    else if (FCur > Index)
        --FCur;
    if (FCaret > Index || FCaret >= Count())
        FCaret = std::max(0, FCaret - 1);
    ClampTop();
    UpdateScrollInfo();
    Redraw();
}

void TListBoxControl::Reset() {
    FItems.clear();
    FCur = -1;
    FCaret = 0;
    FAnchor = 0;
    FTop = 0;
    UpdateScrollInfo();
    Redraw();
}

// ---------------------------------------------------------------- selection

void TListBoxControl::SetCur(int Index) {
    if (!Valid(Index))
        Index = -1;
    if (Index == FCur && (Index < 0 || FCaret == Index))
        return;
    InvalidateItem(FCur, ODA_SELECT);
    InvalidateItem(FCaret, ODA_FOCUS);
    FCur = Index;
    if (Index >= 0)
        FCaret = Index;
    InvalidateItem(FCur, ODA_SELECT);
    InvalidateItem(FCaret, ODA_FOCUS);
    EnsureVisible(Index);
}

void TListBoxControl::SetCaret(int Index) {
    if (!Valid(Index) || Index == FCaret)
        return;
    InvalidateItem(FCaret, ODA_FOCUS);
    FCaret = Index;
    InvalidateItem(FCaret, ODA_FOCUS);
    EnsureVisible(Index);
}

void TListBoxControl::SelectRange(int From, int To, bool Select) {
    if (From > To)
        std::swap(From, To);
    for (int I = std::max(0, From); I <= To && I < Count(); ++I)
        if (FItems[std::size_t(I)].Selected != Select) {
            FItems[std::size_t(I)].Selected = Select;
            InvalidateItem(I, ODA_SELECT);
        }
}

void TListBoxControl::ClearSelection() {
    SelectRange(0, Count() - 1, false);
}

void TListBoxControl::UserSelect(int Index, bool Shift, bool Ctrl, bool Toggle) {
    if (!Valid(Index) || (Style() & LBS_NOSEL))
        return;
    if (!AnyMulti()) {
        if (Index == FCur)
            return SetCaret(Index);
        SetCur(Index);
        Notify(LBN_SELCHANGE);
        return;
    }
    if (Multiple()) {
        if (Toggle) {
            FItems[std::size_t(Index)].Selected = !FItems[std::size_t(Index)].Selected;
            InvalidateItem(Index, ODA_SELECT);
        }
        SetCaret(Index);
        if (Toggle)
            Notify(LBN_SELCHANGE);
        return;
    }
    // Extended: Shift extends from the anchor, Ctrl toggles, neither selects one.
    if (Shift) {
        if (!Ctrl)
            ClearSelection();
        SelectRange(FAnchor, Index, true);
    } else if (Ctrl) {
        if (Toggle) {
            FItems[std::size_t(Index)].Selected = !FItems[std::size_t(Index)].Selected;
            InvalidateItem(Index, ODA_SELECT);
        }
        FAnchor = Index;
    } else {
        ClearSelection();
        SelectRange(Index, Index, true);
        FAnchor = Index;
    }
    SetCaret(Index);
    InvalidateItem(Index);
    Notify(LBN_SELCHANGE);
}

// ---------------------------------------------------------------- input

void TListBoxControl::KeyDown(WPARAM Key) {
    if (Count() == 0)
        return;
    int From = AnyMulti() ? FCaret : std::max(FCur, 0);
    int Page = MultiColumn() ? RowsPerColumn() : VisibleRows();
    int Target = From;
    switch (Key) {
    case VK_UP:
        Target = From - 1;
        break;
    case VK_DOWN:
        Target = From + 1;
        break;
    case VK_LEFT:
        Target = MultiColumn() ? From - RowsPerColumn() : From - 1;
        break;
    case VK_RIGHT:
        Target = MultiColumn() ? From + RowsPerColumn() : From + 1;
        break;
    case VK_PRIOR:
        Target = From - std::max(1, Page - 1);
        break;
    case VK_NEXT:
        Target = From + std::max(1, Page - 1);
        break;
    case VK_HOME:
        Target = 0;
        break;
    case VK_END:
        Target = Count() - 1;
        break;
    case VK_SPACE:
        if (Multiple() || (Extended() && StdCtrl::KeyDown(VK_CONTROL)))
            UserSelect(FCaret, false, true, true);
        return;
    default:
        return;
    }
    // The first key in a box without selection picks the first item.
    if (!AnyMulti() && FCur < 0)
        Target = Key == VK_END ? Count() - 1 : (Key == VK_HOME || Key == VK_UP) ? 0 : Target;
    Target = std::clamp(Target, 0, Count() - 1);
    bool Shift = StdCtrl::KeyDown(VK_SHIFT), Ctrl = StdCtrl::KeyDown(VK_CONTROL);
    if (Multiple() || (Extended() && Ctrl && !Shift)) {
        SetCaret(Target);
        return;
    }
    UserSelect(Target, Shift, false, false);
}

int TListBoxControl::AskParent(UINT Msg, WPARAM Key) {
    HWND Parent = GetParent(FWnd);
    if (!(Style() & LBS_WANTKEYBOARDINPUT) || !Parent)
        return -1;
    int Caret = AnyMulti() ? FCaret : FCur;
    WPARAM WParam = MAKEWPARAM(unsigned(Key & 0xFFFF), unsigned(std::max(Caret, 0)));
    auto Answer = int(SendMessage(Parent, Msg, WParam, LPARAM(FWnd)));
    // An index outside the items is the parent's mistake: nothing happens.
    return Answer < -2 || Answer >= Count() ? -2 : Answer;
}

void TListBoxControl::Char(char32_t C) {
    if (C <= ' ' || !HasStrings() || Count() == 0)
        return;
    std::string Prefix;
    AppendUtf8(Prefix, C);
    int From = AnyMulti() ? FCaret : FCur;
    int Found = Find(From, Prefix, false);
    if (Found >= 0)
        UserSelect(Found, false, false, false);
}

void TListBoxControl::MouseDown(TPoint P, bool Double) {
    // A drop-down list in a popup never takes the focus from its combo box.
    if (GetFocus() != FWnd && (Style() & WS_CHILD))
        SetFocus(FWnd);
    bool Outside = false;
    int Index = ItemAt(P, Outside);
    if (Outside)
        return;
    if (Double) {
        Notify(LBN_DBLCLK);
        return;
    }
    bool Shift = StdCtrl::KeyDown(VK_SHIFT), Ctrl = StdCtrl::KeyDown(VK_CONTROL);
    UserSelect(Index, Shift, Ctrl, Multiple() || Ctrl);
    FTracking = true;
    SetCapture(FWnd);
}

void TListBoxControl::MouseMove(TPoint P) {
    if (!FTracking || Multiple())
        return;
    TRect C = Client();
    if (!MultiColumn() && P.Y < 0 && FTop > 0)
        SetTop(FTop - 1);
    else if (!MultiColumn() && P.Y >= C.Bottom)
        SetTop(FTop + 1);
    bool Outside = false;
    int Index = ItemAt({std::clamp(P.X, 0, std::max(0, C.Right - 1)),
                        std::clamp(P.Y, 0, std::max(0, C.Bottom - 1))},
                       Outside);
    if (Valid(Index))
        UserSelect(Index, Extended(), false, false);
}

// ---------------------------------------------------------------- painting

void TListBoxControl::DrawItem(HDC DC, int Index, HBRUSH Background, UINT Action) {
    const TItem& Item = FItems[std::size_t(Index)];
    TRect R = ItemRect(Index);
    bool Selected = AnyMulti() ? Item.Selected : Index == FCur;
    bool Focus = FFocused && Index == FCaret;
    if (OwnerDraw()) {
        DRAWITEMSTRUCT DIS;
        DIS.CtlType = ODT_LISTBOX;
        DIS.CtlID = UINT(ControlId(FWnd));
        DIS.itemID = UINT(Index);
        DIS.itemAction = Action;
        DIS.itemState = (Selected ? ODS_SELECTED : 0) | (Focus ? ODS_FOCUS : 0) |
                        (IsWindowEnabled(FWnd) ? 0 : ODS_DISABLED);
        DIS.hwndItem = FWnd;
        DIS.hDC = DC;
        DIS.rcItem = R;
        DIS.itemData = DWORD_PTR(Item.Data);
        int Saved = SaveDC(DC);
        if (HWND Parent = GetParent(FWnd))
            SendMessage(Parent, WM_DRAWITEM, WPARAM(DIS.CtlID), LPARAM(&DIS));
        RestoreDC(DC, Saved);
        return;
    }
    int Saved = SaveDC(DC);
    // A list that can never take the focus (a combo box's drop-down) is the
    // active choice while it is shown.
    bool Active = FFocused || (GetWindowLong(FWnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    if (Selected) {
        COLORREF Back = GetSysColor(Active ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        HBRUSH Brush = CreateSolidBrush(Back);
        FillRect(DC, &R, Brush);
        DeleteObject(ToObj(Brush));
        SetTextColor(DC, GetSysColor(Active ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    } else if (!IsNullBrush(Background)) {
        FillRect(DC, &R, Background);
    }
    SetBkMode(DC, TRANSPARENT);
    if ((Style() & LBS_USETABSTOPS) && Item.Text.find('\t') != std::string::npos) {
        std::vector<int> Stops = FTabStops;
        TabbedTextOut(DC, R.Left + 2, R.Top, Item.Text, int(Stops.size()),
                      Stops.empty() ? nullptr : Stops.data(), R.Left + 2);
    } else {
        TextOut(DC, R.Left + 2, R.Top + (R.Height() - FMeasure.LineHeight()) / 2, Item.Text);
    }
    RestoreDC(DC, Saved);
    if (Focus)
        DrawFocusRect(DC, &R);
}

void TListBoxControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    HBRUSH Brush = AskColors(FWnd, DC, WM_CTLCOLORLISTBOX, !IsWindowEnabled(FWnd));
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    TRect C = Client(), Box;
    GetClipBox(DC, &Box);
    // A paint of nothing but items whose selection or focus changed leaves
    // their pixels to the owner, who may only touch up what changed.
    // The clip box is the update region's when the window system asked for
    // the paint, or all of a DC handed over to be painted whole.
    bool OnlyChanges = false;
    if (OwnerDraw() && !FChanged.empty()) {
        TRect Inside;
        OnlyChanges = IntersectRect(&Inside, &Box, &FChangedArea) && Inside.Left == Box.Left &&
                      Inside.Top == Box.Top && Inside.Right == Box.Right &&
                      Inside.Bottom == Box.Bottom;
    }
    if (!IsNullBrush(Brush) && !OnlyChanges)
        FillRect(DC, &C, Brush);
    for (int I = FTop; I < Count(); ++I) {
        TRect R = ItemRect(I);
        if (R.Left >= C.Right || R.Top >= C.Bottom)
            break;
        TRect Common;
        if (IntersectRect(&Common, &R, &Box))
            DrawItem(DC, I, Brush, ActionOf(I, OnlyChanges));
    }
    FChanged.clear();
    FChangedArea = {};
    // An empty focused box still shows where the focus is.
    if (Count() == 0 && FFocused) {
        TRect R{0, 0, C.Right, FItemHeight};
        DrawFocusRect(DC, &R);
    }
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

// ---------------------------------------------------------------- messages

LRESULT TListBoxControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto Text = [&] {
        return std::string_view(LParam ? reinterpret_cast<const char*>(LParam) : "");
    };
    int Index = int(WParam);
    switch (Msg) {
    case WM_CREATE:
        if (Style() & LBS_NOREDRAW)
            FRedraw = false;
        UpdateScrollInfo();
        return 0;
    case LB_ADDSTRING:
        return Insert((Style() & LBS_SORT) && HasStrings() ? SortedPlace(Text()) : Count(), Text(),
                      HasStrings() ? 0 : LParam);
    case LB_INSERTSTRING:
        if (Index < -1 || Index > Count())
            return LB_ERR;
        return Insert(Index, Text(), HasStrings() ? 0 : LParam);
    case LB_DELETESTRING:
        if (!Valid(Index))
            return LB_ERR;
        Delete(Index);
        return Count();
    case LB_RESETCONTENT:
        Reset();
        return 0;
    case LB_GETCOUNT:
        return Count();
    case LB_GETTEXT:
        if (!Valid(Index) || !LParam)
            return LB_ERR;
        if (!HasStrings()) {
            std::memcpy(reinterpret_cast<void*>(LParam), &FItems[std::size_t(Index)].Data,
                        sizeof(LPARAM));
            return sizeof(LPARAM);
        }
        std::memcpy(reinterpret_cast<char*>(LParam), FItems[std::size_t(Index)].Text.c_str(),
                    FItems[std::size_t(Index)].Text.size() + 1);
        return LRESULT(FItems[std::size_t(Index)].Text.size());
    case LB_GETTEXTLEN:
        if (!Valid(Index))
            return LB_ERR;
        return HasStrings() ? LRESULT(FItems[std::size_t(Index)].Text.size()) : sizeof(LPARAM);
    case LB_GETITEMDATA:
        return Valid(Index) ? FItems[std::size_t(Index)].Data : LB_ERR;
    case LB_SETITEMDATA:
        if (!Valid(Index))
            return LB_ERR;
        FItems[std::size_t(Index)].Data = LParam;
        return TRUE;
    case LB_SETCURSEL:
        if (AnyMulti())
            return LB_ERR;
        SetCur(Index);
        return Valid(Index) ? Index : LB_ERR;
    case LB_GETCURSEL:
        return AnyMulti() ? LRESULT(FCaret < Count() ? FCaret : -1) : FCur;
    case LB_SETSEL: {
        if (!AnyMulti())
            return LB_ERR;
        int Item = int(LParam);
        if (Item == -1) {
            SelectRange(0, Count() - 1, WParam != 0);
            return 0;
        }
        if (!Valid(Item))
            return LB_ERR;
        SelectRange(Item, Item, WParam != 0);
        return 0;
    }
    case LB_GETSEL:
        if (!Valid(Index))
            return LB_ERR;
        return AnyMulti() ? FItems[std::size_t(Index)].Selected : Index == FCur;
    case LB_GETSELCOUNT:
        if (!AnyMulti())
            return LB_ERR;
        return std::count_if(FItems.begin(), FItems.end(),
                             [](const TItem& I) { return I.Selected; });
    case LB_GETSELITEMS: {
        if (!AnyMulti())
            return LB_ERR;
        auto* Out = reinterpret_cast<int*>(LParam);
        int N = 0;
        for (int I = 0; I < Count() && N < int(WParam); ++I)
            if (FItems[std::size_t(I)].Selected)
                Out[N++] = I;
        return N;
    }
    case LB_SELITEMRANGE:
        if (!AnyMulti())
            return LB_ERR;
        SelectRange(LOWORD(LParam), HIWORD(LParam), WParam != 0);
        return 0;
    case LB_SETANCHORINDEX:
        if (!Valid(Index))
            return LB_ERR;
        FAnchor = Index;
        return 0;
    case LB_GETANCHORINDEX:
        return FAnchor;
    case LB_SETCARETINDEX:
        if (!Valid(Index))
            return LB_ERR;
        SetCaret(Index);
        return 0;
    case LB_GETCARETINDEX:
        return FCaret;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Find(Index, Text(), Msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        int Found = Find(Index, Text(), false);
        if (Found < 0)
            return LB_ERR;
        if (AnyMulti())
            SetCaret(Found);
        else
            SetCur(Found);
        return Found;
    }
    case LB_GETTOPINDEX:
        return FTop;
    case LB_SETTOPINDEX:
        if (!Valid(Index) && !(Index == 0 && Count() == 0))
            return LB_ERR;
        SetTop(Index);
        return 0;
    case LB_GETITEMRECT:
        if (!Valid(Index) || !LParam)
            return LB_ERR;
        *reinterpret_cast<TRect*>(LParam) = ItemRect(Index);
        return 1;
    case LB_ITEMFROMPOINT: {
        bool Outside = false;
        int Found = ItemAt(LParamToPoint(LParam), Outside);
        return MAKELRESULT(unsigned(Found), Outside ? 1u : 0u);
    }
    case LB_SETITEMHEIGHT: {
        int Height = LOWORD(LParam);
        if (Height <= 0 || Height > 255)
            return LB_ERR;
        if (Variable()) {
            if (!Valid(Index))
                return LB_ERR;
            FItems[std::size_t(Index)].Height = Height;
        } else {
            FItemHeight = Height;
        }
        ClampTop();
        UpdateScrollInfo();
        Redraw();
        return 0;
    }
    case LB_GETITEMHEIGHT:
        return Variable() && Valid(Index) ? HeightOf(Index) : FItemHeight;
    case LB_SETCOLUMNWIDTH:
        FColumnWidth = int(WParam);
        ClampTop();
        UpdateScrollInfo();
        Redraw();
        return 0;
    case LB_SETHORIZONTALEXTENT:
        FExtent = int(WParam);
        UpdateScrollInfo();
        Redraw();
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return FExtent;
    case LB_SETTABSTOPS: {
        FTabStops.clear();
        const auto* Stops = reinterpret_cast<const int*>(LParam);
        int Unit = std::max(1, FMeasure.AveCharWidth() / 4);
        if (WParam == 0 || !Stops)
            FTabStops.push_back(32 * Unit);
        else
            for (WPARAM I = 0; I < WParam; ++I)
                FTabStops.push_back(Stops[I] * Unit);
        Redraw();
        return TRUE;
    }
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
        if (!OwnerDraw())
            FItemHeight = FMeasure.LineHeight();
        ClampTop();
        UpdateScrollInfo();
        if (LParam)
            Redraw();
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    case WM_SIZE:
        ClampTop();
        UpdateScrollInfo();
        Redraw();
        return 0;
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
    case WM_SETFOCUS:
        FFocused = true;
        FocusChanged();
        Notify(LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        FFocused = false;
        FTracking = false;
        FocusChanged();
        Notify(LBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_KEYDOWN:
        switch (int Answer = AskParent(WM_VKEYTOITEM, WParam)) {
        case -2:
            break;
        case -1:
            KeyDown(WParam);
            break;
        default:
            UserSelect(Answer, false, false, false);
            break;
        }
        return 0;
    case WM_CHAR:
        if (OwnerDraw() && !HasStrings()) {
            int Answer = AskParent(WM_CHARTOITEM, WParam);
            if (Answer >= 0)
                UserSelect(Answer, false, false, false);
        } else {
            Char(char32_t(WParam));
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(LParamToPoint(LParam), Msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(LParamToPoint(LParam));
        return 0;
    case WM_LBUTTONUP:
        if (FTracking) {
            FTracking = false;
            if (GetCapture() == FWnd)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        FTracking = false;
        return 0;
    case WM_TIMER:
        if (WParam == DragTimer)
            KillTimer(FWnd, DragTimer);
        return 0;
    case WM_VSCROLL:
        if (!MultiColumn())
            SetTop(ScrollTarget(FWnd, SB_VERT, WParam, FTop, Count(), VisibleRows()));
        return 0;
    case WM_HSCROLL:
        if (MultiColumn()) {
            int Rows = RowsPerColumn();
            int Columns = (Count() + Rows - 1) / Rows;
            SetTop(ScrollTarget(FWnd, SB_HORZ, WParam, FTop / Rows, Columns, VisibleColumns()) *
                   Rows);
        } else if (FExtent > 0) {
            int Target = PixelScrollTarget(WParam, FScrollX, FMeasure.AveCharWidth(),
                                           Client().Width(), FExtent);
            if (Target != FScrollX) {
                FScrollX = Target;
                UpdateScrollInfo();
                Redraw();
            }
        }
        return 0;
    case WM_MOUSEWHEEL: {
        int Lines = -GET_WHEEL_DELTA_WPARAM(WParam) * WheelLines() / WHEEL_DELTA;
        if (MultiColumn())
            SetTop(FTop + (Lines > 0 ? 1 : -1) * RowsPerColumn());
        else
            SetTop(FTop + Lines);
        return 0;
    }
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<TListBoxControl>(Wnd, Msg, WParam, LParam, ListBoxProp);
}

} // namespace

TOwnerDrawState OwnerDrawStateOf(UINT ItemState) {
    TOwnerDrawState State;
    for (int Bit = 0; Bit <= int(odFocused); ++Bit)
        if (ItemState & (1u << Bit))
            State.Include(TOwnerDrawStateItem(Bit));
    return State;
}

void RegisterListBoxClass() {
    RegisterNativeClass("LISTBOX", ListBoxWndProc);
}
