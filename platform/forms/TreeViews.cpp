// The native tree view: items with children on demand, rows of the expanded
// tree, selection, expanding, label editing, sorting and scroll information.
#include "platform/forms/TreeViews.h"

#include "platform/core/Clock.h"
#include "platform/core/Strings.h"
#include "platform/forms/Edits.h"
#include "platform/forms/LabelEditors.h"
#include "platform/forms/StandardControlsCommon.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

using namespace StdCtrl;

struct _TREEITEM {
    std::string Text;
    int Image = 0;
    int SelectedImage = 0;
    UINT State = 0;
    LPARAM Param = 0;
    int Children = -2; // -2: as many as it has; -1: ask; 0 or 1: as said
    bool TextCallback = false;
    _TREEITEM* Parent = nullptr;
    std::vector<_TREEITEM*> Kids;
    int Width = -1; // the label's width, measured when needed
};

namespace {

constexpr const char* TreeViewProp = "Ostrela.TreeView";
constexpr UINT_PTR EditLabelTimer = 1;
constexpr UINT_PTR EditorSubclassId = 0x7E01;
constexpr DWORD TypeAheadDelay = 1000;
using TNode = _TREEITEM;

class TTreeViewControl {
public:
    explicit TTreeViewControl(HWND Wnd) : FWnd(Wnd) { FMeasure.SetFont(nullptr); }
    ~TTreeViewControl();
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT EditorMessage(HWND Editor, UINT Msg, WPARAM WParam, LPARAM LParam);

private:
    DWORD Style() const { return StyleOf(FWnd); }
    bool Valid(HTREEITEM Item) const { return Item && FLive.count(Item) != 0; }
    std::vector<TNode*>& Siblings(TNode* Parent) { return Parent ? Parent->Kids : FRoots; }
    bool HasButton(TNode* Node);
    int Level(const TNode* Node) const;
    bool Expanded(const TNode* Node) const { return Node->State & TVIS_EXPANDED; }

    // ---- rows and geometry
    void Rebuild();
    void AddRows(const std::vector<TNode*>& Nodes);
    int RowOf(const TNode* Node) const;
    int RowHeight();
    int VisibleCount();
    int IndentOf(const TNode* Node);
    int LabelWidth(TNode* Node);
    TRect RowRect(int Row);
    TRect LabelRect(TNode* Node);
    TNode* HitTest(TPoint P, UINT& Flags);
    // State images stand between the button and the item's image.
    static constexpr int CheckBoxSize = 16;
    int StateImageWidth();
    int StateImageOf(const TNode* Node);
    void ToggleCheck(TNode* Node);
    void PaintStateImage(HDC DC, TNode* Node, int X, const TRect& Row);
    void SetFirst(int Row);
    void EnsureVisible(TNode* Node);
    void UpdateScrollInfo();
    void Redraw() {
        if (FRedraw)
            InvalidateRect(FWnd, nullptr, TRUE);
    }
    // Rows are rebuilt at once, or when drawing resumes.
    void Changed() {
        if (!FRedraw) {
            FDirty = true;
            return;
        }
        Rebuild();
        Redraw();
    }

    // ---- notifications
    LRESULT Notify(UINT Code, NMHDR& Header);
    void Describe(TNode* Node, TVITEM& Item, UINT Mask);
    std::string TextOf(TNode* Node);
    int ImageOf(TNode* Node, bool Selected);

    // ---- operations
    HTREEITEM Insert(const TVINSERTSTRUCT& In);
    void Delete(TNode* Node);
    bool Expand(TNode* Node, WPARAM Code, UINT Action);
    bool Select(TNode* Node, UINT Action);
    void SingleExpand(TNode* Old, TNode* Node);
    void SortChildren(TNode* Parent, const PFNTVCOMPARE& Compare, LPARAM Data, bool Recurse);
    HTREEITEM NextItem(TNode* Node, WPARAM Code);
    void KeyDown(WPARAM Key);
    void TypeAhead(char32_t C);
    void MouseDown(TPoint P, bool Right, bool Double);
    HWND EditLabel(TNode* Node);
    void EndEdit(bool Cancel);
    void Paint(HDC Given);
    void PaintRow(HDC DC, int Row, bool ShowSel);

    HWND FWnd;
    std::vector<TNode*> FRoots;
    std::unordered_set<const TNode*> FLive;
    std::vector<TNode*> FRows;
    int FCount = 0;
    TMeasure FMeasure;
    HFONT FFont = nullptr;
    HIMAGELIST FImages[3] = {};
    int FIndent = 19;
    int FFirst = 0;
    int FScrollX = 0;
    int FWidest = 0;
    TNode* FCaret = nullptr;
    TNode* FDropHilite = nullptr;
    TNode* FHot = nullptr; // under the pointer, with TVS_TRACKSELECT
    void SetHot(TNode* Node);
    // The tip with the whole label of a cut-off item under the pointer.
    HWND FTip = nullptr;
    TNode* FTipNode = nullptr;
    void ShowTip(TNode* Node);
    void TrackLeave();
    bool FRedraw = true;
    bool FFocused = false;
    // The text colour the parent set for the paint in progress.
    COLORREF FPaintText = 0;
    std::string FPrefix;
    DWORD FLastChar = 0;
    HWND FEditor = nullptr;
    TNode* FEditNode = nullptr;
    bool FEnding = false;
    TNode* FPendingEdit = nullptr;
    bool FDirty = false;
};

LRESULT EditorSubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
    return reinterpret_cast<TTreeViewControl*>(Data)->EditorMessage(Wnd, Msg, WParam, LParam);
}

// The tip that shows the whole label of an item cut off at the tree's edge:
// a popup that never takes the focus, painting its window text.
LRESULT LabelTipProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_PAINT: {
        PAINTSTRUCT PS;
        HDC DC = WParam ? reinterpret_cast<HDC>(WParam) : BeginPaint(Wnd, &PS);
        TRect C;
        GetClientRect(Wnd, &C);
        FillRect(DC, &C, GetSysColorBrush(COLOR_INFOBK));
        FrameRect(DC, &C, GetSysColorBrush(COLOR_INFOTEXT));
        auto Font = reinterpret_cast<HFONT>(GetProp(Wnd, "Ostrela.TipFont"));
        SelectObject(DC, Font ? ToObj(Font) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, GetSysColor(COLOR_INFOTEXT));
        C.Left += 2;
        DrawText(DC, GetWindowText(Wnd), -1, &C, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (!WParam)
            EndPaint(Wnd, &PS);
        return 0;
    }
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

const char* LabelTipClass() {
    WNDCLASS Existing;
    if (!GetClassInfo(nullptr, "OstrelaTreeLabelTip", &Existing)) {
        WNDCLASS Class;
        Class.lpfnWndProc = LabelTipProc;
        Class.lpszClassName = "OstrelaTreeLabelTip";
        RegisterClass(&Class);
    }
    return "OstrelaTreeLabelTip";
}

TTreeViewControl::~TTreeViewControl() {
    if (FTip && IsWindow(FTip))
        DestroyWindow(FTip);
    if (FEditor && IsWindow(FEditor)) {
        RemoveWindowSubclass(FEditor, EditorSubclass, EditorSubclassId);
        DestroyWindow(FEditor);
    }
    for (const TNode* Node : FLive)
        delete Node;
}

// ---------------------------------------------------------------- rows

bool TTreeViewControl::HasButton(TNode* Node) {
    if (!Node->Kids.empty())
        return true;
    if (Node->Children == I_CHILDRENCALLBACK) {
        NMTVDISPINFO Info;
        Describe(Node, Info.item, TVIF_CHILDREN);
        Info.item.cChildren = 0;
        Notify(TVN_GETDISPINFO, Info.hdr);
        return Info.item.cChildren != 0;
    }
    return Node->Children == 1;
}

int TTreeViewControl::Level(const TNode* Node) const {
    int L = 0;
    for (const TNode* P = Node->Parent; P; P = P->Parent)
        ++L;
    return L;
}

void TTreeViewControl::AddRows(const std::vector<TNode*>& Nodes) {
    for (TNode* Node : Nodes) {
        FRows.push_back(Node);
        if (Expanded(Node))
            AddRows(Node->Kids);
    }
}

void TTreeViewControl::Rebuild() {
    FDirty = false;
    TNode* FirstNode = FFirst < int(FRows.size()) ? FRows[std::size_t(FFirst)] : nullptr;
    FRows.clear();
    AddRows(FRoots);
    // The first visible row stays on its item when it is still shown.
    int Row = FirstNode ? RowOf(FirstNode) : -1;
    if (Row >= 0)
        FFirst = Row;
    FFirst = std::clamp(FFirst, 0, std::max(0, int(FRows.size()) - VisibleCount()));
    FWidest = 0;
    for (TNode* Node : FRows)
        FWidest = std::max(FWidest, IndentOf(Node) + LabelWidth(Node) + 4);
    UpdateScrollInfo();
}

int TTreeViewControl::RowOf(const TNode* Node) const {
    auto It = std::find(FRows.begin(), FRows.end(), Node);
    return It == FRows.end() ? -1 : int(It - FRows.begin());
}

int TTreeViewControl::RowHeight() {
    int H = FMeasure.LineHeight() + 2;
    if (FImages[TVSIL_NORMAL]) {
        int W = 0, IH = 0;
        ImageList_GetIconSize(FImages[TVSIL_NORMAL], &W, &IH);
        H = std::max(H, IH);
    }
    return std::max(1, H);
}

int TTreeViewControl::VisibleCount() {
    TRect C;
    GetClientRect(FWnd, &C);
    return std::max(1, C.Height() / RowHeight());
}

int TTreeViewControl::StateImageWidth() {
    int W = 0, H = 0;
    if (FImages[TVSIL_STATE])
        ImageList_GetIconSize(FImages[TVSIL_STATE], &W, &H);
    else if (Style() & TVS_CHECKBOXES)
        W = CheckBoxSize;
    return W;
}

// 1-based as in the state bits; check boxes show an item without a state
// image as unchecked (1).
int TTreeViewControl::StateImageOf(const TNode* Node) {
    int Index = int((Node->State & TVIS_STATEIMAGEMASK) >> 12);
    if (Index == 0 && (Style() & TVS_CHECKBOXES))
        Index = 1;
    return Index;
}

void TTreeViewControl::ToggleCheck(TNode* Node) {
    UINT Next = StateImageOf(Node) == 2 ? 1 : 2;
    Node->State = (Node->State & ~TVIS_STATEIMAGEMASK) | (Next << 12);
    Changed();
}

void TTreeViewControl::PaintStateImage(HDC DC, TNode* Node, int X, const TRect& Row) {
    int Index = StateImageOf(Node);
    if (Index <= 0)
        return;
    if (HIMAGELIST States = FImages[TVSIL_STATE]) {
        int W = 0, H = 0;
        ImageList_GetIconSize(States, &W, &H);
        ImageList_DrawEx(States, Index - 1, DC, X, Row.Top + (Row.Height() - H) / 2, 0, 0,
                         0xFFFFFFFF, 0xFFFFFFFF, ILD_TRANSPARENT);
        return;
    }
    if (!(Style() & TVS_CHECKBOXES))
        return;
    // A plain check box: a framed square, ticked when checked (2).
    int Top = Row.Top + (Row.Height() - 13) / 2;
    TRect Box{X + 1, Top, X + 14, Top + 13};
    FillRect(DC, &Box, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(DC, &Box, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (Index == 2)
        for (int I = 0; I < 7; ++I) {
            int Y = I < 3 ? Top + 5 + I : Top + 9 - (I - 2);
            TRect Tick{X + 4 + I, Y, X + 5 + I, Y + 3};
            FillRect(DC, &Tick, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
}

int TTreeViewControl::IndentOf(const TNode* Node) {
    bool RootLines = Style() & TVS_LINESATROOT;
    int X = (Level(Node) + (RootLines ? 1 : 0)) * FIndent + StateImageWidth();
    if (FImages[TVSIL_NORMAL]) {
        int W = 0, H = 0;
        ImageList_GetIconSize(FImages[TVSIL_NORMAL], &W, &H);
        X += W + 2;
    }
    return X;
}

int TTreeViewControl::LabelWidth(TNode* Node) {
    if (Node->Width < 0)
        Node->Width = FMeasure.Width(TextOf(Node)) + 4;
    return Node->Width;
}

TRect TTreeViewControl::RowRect(int Row) {
    TRect C;
    GetClientRect(FWnd, &C);
    int Y = (Row - FFirst) * RowHeight();
    return {0, Y, C.Right, Y + RowHeight()};
}

TRect TTreeViewControl::LabelRect(TNode* Node) {
    int Row = RowOf(Node);
    TRect R = RowRect(Row);
    int X = IndentOf(Node) - FScrollX;
    return {X, R.Top, X + LabelWidth(Node), R.Bottom};
}

TNode* TTreeViewControl::HitTest(TPoint P, UINT& Flags) {
    TRect C;
    GetClientRect(FWnd, &C);
    Flags = 0;
    if (P.Y < 0)
        Flags |= TVHT_ABOVE;
    if (P.Y >= C.Bottom)
        Flags |= TVHT_BELOW;
    if (P.X < 0)
        Flags |= TVHT_TOLEFT;
    if (P.X >= C.Right)
        Flags |= TVHT_TORIGHT;
    if (Flags)
        return nullptr;
    int Row = FFirst + P.Y / RowHeight();
    if (Row >= int(FRows.size())) {
        Flags = TVHT_NOWHERE;
        return nullptr;
    }
    TNode* Node = FRows[std::size_t(Row)];
    int X = P.X + FScrollX;
    int Label = IndentOf(Node);
    int ImageW = 0;
    if (FImages[TVSIL_NORMAL]) {
        int H = 0;
        ImageList_GetIconSize(FImages[TVSIL_NORMAL], &ImageW, &H);
        ImageW += 2;
    }
    int StateW = StateImageWidth();
    int ButtonLeft = Label - ImageW - StateW - FIndent;
    if (X >= Label && X < Label + LabelWidth(Node))
        Flags = TVHT_ONITEMLABEL;
    else if (X >= Label - ImageW && X < Label)
        Flags = TVHT_ONITEMICON;
    else if (X >= Label - ImageW - StateW && X < Label - ImageW && StateImageOf(Node) > 0)
        Flags = TVHT_ONITEMSTATEICON;
    else if (X >= ButtonLeft && X < Label - ImageW - StateW && HasButton(Node) &&
             (Style() & TVS_HASBUTTONS) && (Node->Parent || (Style() & TVS_LINESATROOT)))
        Flags = TVHT_ONITEMBUTTON;
    else if (X < Label)
        Flags = TVHT_ONITEMINDENT;
    else
        Flags = TVHT_ONITEMRIGHT;
    return Node;
}

void TTreeViewControl::SetFirst(int Row) {
    int Old = FFirst;
    FFirst = std::clamp(Row, 0, std::max(0, int(FRows.size()) - VisibleCount()));
    if (FFirst != Old) {
        UpdateScrollInfo();
        Redraw();
    }
}

void TTreeViewControl::EnsureVisible(TNode* Node) {
    bool Opened = false;
    for (TNode* P = Node->Parent; P; P = P->Parent)
        if (!Expanded(P)) {
            Expand(P, TVE_EXPAND, TVC_UNKNOWN);
            Opened = true;
        }
    if (Opened)
        Changed();
    int Row = RowOf(Node);
    if (Row < 0)
        return;
    if (Row < FFirst)
        SetFirst(Row);
    else if (Row >= FFirst + VisibleCount())
        SetFirst(Row - VisibleCount() + 1);
}

void TTreeViewControl::UpdateScrollInfo() {
    if (!FRedraw)
        return;
    TRect C;
    GetClientRect(FWnd, &C);
    // The position is set only when it moved, so a position the parent
    // stored (beyond 16 bits) stays readable until it is used.
    PublishScroll(FWnd, SB_VERT, 0, int(FRows.size()) - 1, VisibleCount(), FFirst);
    PublishScroll(FWnd, SB_HORZ, 0, FWidest - 1, C.Width(), FScrollX);
}

// ---------------------------------------------------------------- notifications

LRESULT TTreeViewControl::Notify(UINT Code, NMHDR& Header) {
    Header.hwndFrom = FWnd;
    Header.idFrom = UINT_PTR(ControlId(FWnd));
    Header.code = Code;
    HWND Parent = GetParent(FWnd);
    return Parent ? SendMessage(Parent, WM_NOTIFY, Header.idFrom, LPARAM(&Header)) : 0;
}

void TTreeViewControl::Describe(TNode* Node, TVITEM& Item, UINT Mask) {
    Item.mask = Mask | TVIF_HANDLE;
    Item.hItem = Node;
    if (!Node)
        return;
    Item.state = Node->State;
    Item.stateMask = 0xFFFF;
    Item.lParam = Node->Param;
    Item.iImage = Node->Image;
    Item.iSelectedImage = Node->SelectedImage;
    Item.cChildren = Node->Children == -2 ? int(!Node->Kids.empty()) : Node->Children;
}

std::string TTreeViewControl::TextOf(TNode* Node) {
    if (!Node->TextCallback)
        return Node->Text;
    char Buffer[1024] = {};
    NMTVDISPINFO Info;
    Describe(Node, Info.item, TVIF_TEXT);
    Info.item.pszText = Buffer;
    Info.item.cchTextMax = int(sizeof(Buffer));
    Notify(TVN_GETDISPINFO, Info.hdr);
    if (!Info.item.pszText)
        return {};
    return SanitizeUtf8(
        std::string_view(Info.item.pszText, strnlen(Info.item.pszText, sizeof(Buffer))));
}

int TTreeViewControl::ImageOf(TNode* Node, bool Selected) {
    int Image = Selected ? Node->SelectedImage : Node->Image;
    if (Image != I_IMAGECALLBACK)
        return Image;
    NMTVDISPINFO Info;
    Describe(Node, Info.item, Selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE);
    Notify(TVN_GETDISPINFO, Info.hdr);
    return Selected ? Info.item.iSelectedImage : Info.item.iImage;
}

// ---------------------------------------------------------------- operations

HTREEITEM TTreeViewControl::Insert(const TVINSERTSTRUCT& In) {
    TNode* Parent = In.hParent == TVI_ROOT || !In.hParent ? nullptr : In.hParent;
    if (Parent && !Valid(Parent))
        return nullptr;
    auto* Node = new TNode;
    const TVITEM& I = In.item;
    if ((I.mask & TVIF_TEXT) && I.pszText && I.pszText != LPSTR_TEXTCALLBACK)
        Node->Text = SanitizeUtf8(I.pszText);
    Node->TextCallback = (I.mask & TVIF_TEXT) && I.pszText == LPSTR_TEXTCALLBACK;
    if (I.mask & TVIF_IMAGE)
        Node->Image = I.iImage;
    if (I.mask & TVIF_SELECTEDIMAGE)
        Node->SelectedImage = I.iSelectedImage;
    if (I.mask & TVIF_PARAM)
        Node->Param = I.lParam;
    if (I.mask & TVIF_STATE)
        Node->State = I.state & I.stateMask & ~TVIS_SELECTED;
    if (I.mask & TVIF_CHILDREN)
        Node->Children = I.cChildren;
    Node->Parent = Parent;
    std::vector<TNode*>& List = Siblings(Parent);
    std::size_t Pos = List.size();
    if (In.hInsertAfter == TVI_FIRST) {
        Pos = 0;
    } else if (In.hInsertAfter == TVI_SORT) {
        Pos = 0;
        while (Pos < List.size() && AnsiCompareText(List[Pos]->Text, Node->Text) <= 0)
            ++Pos;
    } else if (In.hInsertAfter && In.hInsertAfter != TVI_LAST &&
               (List.empty() || In.hInsertAfter != List.back())) {
        auto It = std::find(List.begin(), List.end(), In.hInsertAfter);
        if (It != List.end())
            Pos = std::size_t(It - List.begin()) + 1;
    }
    List.insert(List.begin() + std::ptrdiff_t(Pos), Node);
    FLive.insert(Node);
    ++FCount;
    if (!Parent || Expanded(Parent))
        Changed();
    else if (FRedraw && RowOf(Parent) >= 0) {
        TRect R = RowRect(RowOf(Parent));
        InvalidateRect(FWnd, &R, TRUE);
    }
    return Node;
}

void TTreeViewControl::Delete(TNode* Node) {
    if (Node == FEditNode)
        EndEdit(true);
    while (!Node->Kids.empty())
        Delete(Node->Kids.back());
    NMTREEVIEW N;
    Describe(Node, N.itemOld, TVIF_HANDLE | TVIF_PARAM);
    Notify(TVN_DELETEITEM, N.hdr);
    std::vector<TNode*>& List = Siblings(Node->Parent);
    List.erase(std::find(List.begin(), List.end(), Node));
    if (FCaret == Node)
        FCaret = nullptr;
    if (FDropHilite == Node)
        FDropHilite = nullptr;
    if (FHot == Node)
        FHot = nullptr;
    if (FTipNode == Node)
        ShowTip(nullptr);
    if (FPendingEdit == Node)
        FPendingEdit = nullptr;
    FLive.erase(Node);
    --FCount;
    delete Node;
}

void TTreeViewControl::SetHot(TNode* Node) {
    if (Node == FHot)
        return;
    FHot = Node;
    Redraw();
    if (Node)
        TrackLeave();
}

// Shows the whole label over a label the tree's edge cuts off; nothing for
// one that is seen whole or while a label is being edited.
void TTreeViewControl::ShowTip(TNode* Node) {
    TRect Client, Label;
    GetClientRect(FWnd, &Client);
    if (Node && (FEditor || !Valid(Node) || RowOf(Node) < 0))
        Node = nullptr;
    if (Node) {
        Label = LabelRect(Node);
        if (Label.Right <= Client.Right && Label.Left >= 0)
            Node = nullptr;
    }
    if (Node == FTipNode)
        return;
    FTipNode = Node;
    if (!Node) {
        if (FTip && IsWindow(FTip))
            ShowWindow(FTip, SW_HIDE);
        return;
    }
    if (!FTip || !IsWindow(FTip)) {
        FTip = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, LabelTipClass(),
                              "", WS_POPUP, 0, 0, 1, 1, FWnd, nullptr, nullptr, nullptr);
    }
    SetProp(FTip, "Ostrela.TipFont", FFont);
    SetWindowText(FTip, TextOf(Node));
    TPoint At{Label.Left, Label.Top};
    ClientToScreen(FWnd, &At);
    SetWindowPos(FTip, HWND_TOPMOST, At.X, At.Y, FMeasure.Width(TextOf(Node)) + 6, Label.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(FTip, nullptr, TRUE);
    TrackLeave();
}

void TTreeViewControl::TrackLeave() {
    TRACKMOUSEEVENT Track;
    Track.cbSize = sizeof(Track);
    Track.dwFlags = TME_LEAVE;
    Track.hwndTrack = FWnd;
    TrackMouseEvent(&Track);
}

bool TTreeViewControl::Expand(TNode* Node, WPARAM Code, UINT Action) {
    bool Open = Expanded(Node);
    bool Want = Code == TVE_EXPAND ? true : Code == TVE_COLLAPSE ? false : !Open;
    if (Want == Open)
        return Want ? true : false;
    if (Want && !HasButton(Node))
        return false;
    NMTREEVIEW N;
    N.action = Want ? TVE_EXPAND : TVE_COLLAPSE;
    Describe(Node, N.itemNew, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM);
    // The parent may veto, or add the children now.
    if (Notify(TVN_ITEMEXPANDING, N.hdr) != 0 || !Valid(Node))
        return false;
    if (Want && Node->Kids.empty()) {
        // Nothing came: no more button.
        Node->Children = 0;
        Changed();
        return false;
    }
    if (Want)
        Node->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        Node->State &= ~TVIS_EXPANDED;
    // A collapsed branch gives the selection to its item.
    if (!Want && FCaret) {
        for (TNode* P = FCaret->Parent; P; P = P->Parent)
            if (P == Node) {
                Select(Node, Action);
                break;
            }
    }
    Changed();
    Describe(Node, N.itemNew, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM);
    Notify(TVN_ITEMEXPANDED, N.hdr);
    return true;
}

// The user's choice opens, and the branch left behind closes unless the
// new item lies inside it.
void TTreeViewControl::SingleExpand(TNode* Old, TNode* Node) {
    if (Old && Valid(Old) && Expanded(Old)) {
        bool Inside = false;
        for (TNode* P = Node; P; P = P->Parent)
            Inside = Inside || P == Old;
        if (!Inside)
            Expand(Old, TVE_COLLAPSE, TVC_UNKNOWN);
    }
    if (Node && Valid(Node) && !Expanded(Node))
        Expand(Node, TVE_EXPAND, TVC_UNKNOWN);
}

bool TTreeViewControl::Select(TNode* Node, UINT Action) {
    if (Node == FCaret)
        return true;
    NMTREEVIEW N;
    N.action = Action;
    Describe(FCaret, N.itemOld, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM);
    Describe(Node, N.itemNew, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM);
    if (Notify(TVN_SELCHANGING, N.hdr) != 0)
        return false;
    if (Node && !Valid(Node))
        return false;
    TNode* Old = FCaret && Valid(FCaret) ? FCaret : nullptr;
    if (Old)
        Old->State &= ~TVIS_SELECTED;
    FCaret = Node;
    if (Node) {
        Node->State |= TVIS_SELECTED;
        EnsureVisible(Node);
    }
    Redraw();
    Describe(Node, N.itemNew, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM);
    Notify(TVN_SELCHANGED, N.hdr);
    if ((Style() & TVS_SINGLEEXPAND) && (Action == TVC_BYMOUSE || Action == TVC_BYKEYBOARD) &&
        !StdCtrl::KeyDown(VK_CONTROL))
        SingleExpand(Old, Node);
    return true;
}

void TTreeViewControl::SortChildren(TNode* Parent, const PFNTVCOMPARE& Compare, LPARAM Data,
                                    bool Recurse) {
    std::vector<TNode*>& List = Siblings(Parent);
    if (Compare)
        std::stable_sort(List.begin(), List.end(),
                         [&](TNode* A, TNode* B) { return Compare(A->Param, B->Param, Data) < 0; });
    else
        std::stable_sort(List.begin(), List.end(),
                         [](TNode* A, TNode* B) { return AnsiCompareText(A->Text, B->Text) < 0; });
    if (Recurse)
        for (TNode* Kid : List)
            SortChildren(Kid, Compare, Data, true);
}

HTREEITEM TTreeViewControl::NextItem(TNode* Node, WPARAM Code) {
    switch (Code) {
    case TVGN_ROOT:
        return FRoots.empty() ? nullptr : FRoots.front();
    case TVGN_CARET:
        return FCaret;
    case TVGN_DROPHILITE:
        return FDropHilite;
    case TVGN_FIRSTVISIBLE:
        return FFirst < int(FRows.size()) ? FRows[std::size_t(FFirst)] : nullptr;
    case TVGN_LASTVISIBLE:
        return FRows.empty() ? nullptr : FRows.back();
    default:
        break;
    }
    if (!Valid(Node))
        return nullptr;
    switch (Code) {
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
        std::vector<TNode*>& List = Siblings(Node->Parent);
        auto It = std::find(List.begin(), List.end(), Node);
        if (Code == TVGN_NEXT)
            return It + 1 == List.end() ? nullptr : *(It + 1);
        return It == List.begin() ? nullptr : *(It - 1);
    }
    case TVGN_PARENT:
        return Node->Parent;
    case TVGN_CHILD:
        return Node->Kids.empty() ? nullptr : Node->Kids.front();
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        int Row = RowOf(Node);
        if (Row < 0)
            return nullptr;
        Row += Code == TVGN_NEXTVISIBLE ? 1 : -1;
        return Row >= 0 && Row < int(FRows.size()) ? FRows[std::size_t(Row)] : nullptr;
    }
    default:
        return nullptr;
    }
}

void TTreeViewControl::KeyDown(WPARAM Key) {
    NMTVKEYDOWN K;
    K.wVKey = WORD(Key);
    Notify(TVN_KEYDOWN, K.hdr);
    if (FRows.empty())
        return;
    int Row = FCaret ? RowOf(FCaret) : -1;
    int Target = Row;
    switch (Key) {
    case VK_UP:
        Target = Row < 0 ? 0 : Row - 1;
        break;
    case VK_DOWN:
        Target = Row + 1;
        break;
    case VK_HOME:
        Target = 0;
        break;
    case VK_END:
        Target = int(FRows.size()) - 1;
        break;
    case VK_PRIOR:
        Target = Row - std::max(1, VisibleCount() - 1);
        break;
    case VK_NEXT:
        Target = Row + std::max(1, VisibleCount() - 1);
        break;
    case VK_LEFT:
        if (FCaret && Expanded(FCaret))
            Expand(FCaret, TVE_COLLAPSE, TVC_BYKEYBOARD);
        else if (FCaret && FCaret->Parent)
            Select(FCaret->Parent, TVC_BYKEYBOARD);
        return;
    case VK_RIGHT:
        if (FCaret && !Expanded(FCaret))
            Expand(FCaret, TVE_EXPAND, TVC_BYKEYBOARD);
        else if (FCaret && !FCaret->Kids.empty())
            Select(FCaret->Kids.front(), TVC_BYKEYBOARD);
        return;
    case VK_ADD:
        if (FCaret)
            Expand(FCaret, TVE_EXPAND, TVC_BYKEYBOARD);
        return;
    case VK_SUBTRACT:
        if (FCaret)
            Expand(FCaret, TVE_COLLAPSE, TVC_BYKEYBOARD);
        return;
    case VK_F1 + 1:
        if (FCaret && (Style() & TVS_EDITLABELS))
            EditLabel(FCaret);
        return;
    default:
        return;
    }
    Target = std::clamp(Target, 0, int(FRows.size()) - 1);
    Select(FRows[std::size_t(Target)], TVC_BYKEYBOARD);
}

void TTreeViewControl::TypeAhead(char32_t C) {
    DWORD Now = GetTickCount();
    if (Now - FLastChar >= TypeAheadDelay)
        FPrefix.clear();
    FLastChar = Now;
    AppendUtf8(FPrefix, C);
    int N = int(FRows.size());
    if (N == 0)
        return;
    int Row = FCaret ? RowOf(FCaret) : -1;
    int Start = Utf8Length(FPrefix) == 1 ? Row + 1 : std::max(Row, 0);
    for (int K = 0; K < N; ++K) {
        TNode* Node = FRows[std::size_t((Start + K) % N)];
        const std::string& T = Node->Text;
        if (T.size() >= FPrefix.size() && AnsiSameText(T.substr(0, FPrefix.size()), FPrefix)) {
            Select(Node, TVC_BYKEYBOARD);
            return;
        }
    }
}

void TTreeViewControl::MouseDown(TPoint P, bool Right, bool Double) {
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    KillTimer(FWnd, EditLabelTimer);
    FPendingEdit = nullptr;
    UINT Flags = 0;
    TNode* Node = HitTest(P, Flags);
    if (!Node)
        return;
    if (Right)
        return;
    if (Double) {
        NMHDR H;
        if (Notify(NM_DBLCLK, H) == 0)
            Expand(Node, TVE_TOGGLE, TVC_BYMOUSE);
        return;
    }
    if (Flags & TVHT_ONITEMBUTTON) {
        Expand(Node, TVE_TOGGLE, TVC_BYMOUSE);
        return;
    }
    if ((Flags & TVHT_ONITEMSTATEICON) && (Style() & TVS_CHECKBOXES)) {
        ToggleCheck(Node);
        return;
    }
    if (!(Flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)) && !(Style() & TVS_FULLROWSELECT))
        return;
    bool WasSelected = Node == FCaret;
    Select(Node, TVC_BYMOUSE);
    // A second click on the selected item's label edits it once the double
    // click time has passed without a second press.
    if (WasSelected && (Flags & TVHT_ONITEMLABEL) && (Style() & TVS_EDITLABELS)) {
        FPendingEdit = Node;
        SetTimer(FWnd, EditLabelTimer, GetDoubleClickTime(), nullptr);
    }
}

HWND TTreeViewControl::EditLabel(TNode* Node) {
    EndEdit(false);
    if (!Valid(Node))
        return nullptr;
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    NMTVDISPINFO Info;
    Describe(Node, Info.item, TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT);
    std::string Text = Node->Text;
    Info.item.pszText = Text.data();
    if (Notify(TVN_BEGINLABELEDIT, Info.hdr) != 0 || !Valid(Node))
        return nullptr;
    EnsureVisible(Node);
    RegisterEditClass();
    TRect R = LabelRect(Node);
    FEditNode = Node;
    FEditor = OpenLabelEditor(FWnd, FFont, Text, R.Left, R.Top, std::max(60, R.Width() + 20),
                              R.Height(), EditorSubclass, EditorSubclassId, DWORD_PTR(this));
    SetFocus(FEditor);
    return FEditor;
}

void TTreeViewControl::EndEdit(bool Cancel) {
    if (!FEditor || FEnding)
        return;
    FEnding = true;
    HWND Editor = FEditor;
    TNode* Node = FEditNode;
    FEditor = nullptr;
    FEditNode = nullptr;
    std::string Text = CloseLabelEditor(FWnd, Editor, EditorSubclass, EditorSubclassId);
    NMTVDISPINFO Info;
    Describe(Valid(Node) ? Node : nullptr, Info.item, TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT);
    Info.item.pszText = Cancel ? nullptr : Text.data();
    Info.item.cchTextMax = int(Text.size() + 1);
    LRESULT Keep = Notify(TVN_ENDLABELEDIT, Info.hdr);
    if (!Cancel && Keep && Valid(Node)) {
        Node->Text = SanitizeUtf8(Text);
        Node->Width = -1;
        Changed();
    }
    FEnding = false;
}

LRESULT TTreeViewControl::EditorMessage(HWND Editor, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return LabelEditorMessage(Editor, Msg, WParam, LParam,
                              [this](bool Cancel) { EndEdit(Cancel); });
}

// ---------------------------------------------------------------- painting

void TTreeViewControl::PaintRow(HDC DC, int Row, bool ShowSel) {
    TNode* Node = FRows[std::size_t(Row)];
    TRect R = RowRect(Row);
    int Label = IndentOf(Node) - FScrollX;
    int ImageW = 0, ImageH = 0;
    HIMAGELIST Images = FImages[TVSIL_NORMAL];
    if (Images) {
        ImageList_GetIconSize(Images, &ImageW, &ImageH);
        ImageW += 2;
    }
    int Mid = (R.Top + R.Bottom) / 2;
    int StateW = StateImageWidth();
    int ButtonX = Label - ImageW - StateW - FIndent / 2;
    bool Shown = Node->Parent || (Style() & TVS_LINESATROOT);
    PaintStateImage(DC, Node, Label - ImageW - StateW, R);
    if ((Style() & TVS_HASLINES) && Shown) {
        // Dotted lines from the parent's column to the item.
        for (int X = ButtonX; X < Label - ImageW - StateW; X += 2)
            SetPixel(DC, X, Mid, GetSysColor(COLOR_GRAYTEXT));
        bool Last = Siblings(Node->Parent).back() == Node;
        for (int Y = R.Top; Y < (Last ? Mid : R.Bottom); Y += 2)
            SetPixel(DC, ButtonX, Y, GetSysColor(COLOR_GRAYTEXT));
    }
    if ((Style() & TVS_HASBUTTONS) && Shown && HasButton(Node)) {
        TRect Box{ButtonX - 4, Mid - 4, ButtonX + 5, Mid + 5};
        FillRect(DC, &Box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(DC, &Box, GetSysColorBrush(COLOR_GRAYTEXT));
        TRect Minus{ButtonX - 2, Mid, ButtonX + 3, Mid + 1};
        FillRect(DC, &Minus, GetSysColorBrush(COLOR_WINDOWTEXT));
        if (!Expanded(Node)) {
            TRect Plus{ButtonX, Mid - 2, ButtonX + 1, Mid + 3};
            FillRect(DC, &Plus, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
    }
    bool Selected = Node == FCaret && ShowSel;
    if (Images) {
        int Image = ImageOf(Node, Node == FCaret);
        ImageList_DrawEx(Images, Image, DC, Label - ImageW, R.Top + (R.Height() - ImageH) / 2, 0, 0,
                         0xFFFFFFFF, 0xFFFFFFFF, ILD_TRANSPARENT);
    }
    TRect T{Label, R.Top, Label + LabelWidth(Node), R.Bottom};
    if (Style() & TVS_FULLROWSELECT)
        T = {0, R.Top, R.Right, R.Bottom};
    if (Selected || Node == FDropHilite) {
        FillRect(
            DC, &T,
            GetSysColorBrush(FFocused || Node == FDropHilite ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        SetTextColor(DC, FFocused || Node == FDropHilite ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                         : FPaintText);
    } else {
        SetTextColor(DC, Node == FHot ? GetSysColor(COLOR_HOTLIGHT) : FPaintText);
    }
    TRect Text{Label + 2, R.Top, Label + LabelWidth(Node), R.Bottom};
    DrawText(DC, TextOf(Node), -1, &Text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (Node == FCaret && FFocused)
        DrawFocusRect(DC, &T);
}

void TTreeViewControl::Paint(HDC Given) {
    PAINTSTRUCT PS;
    HDC DC = Given ? Given : BeginPaint(FWnd, &PS);
    int Saved = SaveDC(DC);
    TRect C;
    GetClientRect(FWnd, &C);
    // The parent chooses the colours as for a list box.
    HBRUSH Brush = AskColors(FWnd, DC, WM_CTLCOLORLISTBOX, !IsWindowEnabled(FWnd));
    FPaintText = GetTextColor(DC);
    if (!IsNullBrush(Brush))
        FillRect(DC, &C, Brush);
    SelectObject(DC, FFont ? ToObj(FFont) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(DC, TRANSPARENT);
    bool ShowSel = FFocused || (Style() & TVS_SHOWSELALWAYS);
    int Last = std::min(int(FRows.size()), FFirst + VisibleCount() + 1);
    for (int Row = FFirst; Row < Last; ++Row)
        PaintRow(DC, Row, ShowSel);
    RestoreDC(DC, Saved);
    if (!Given)
        EndPaint(FWnd, &PS);
}

// ---------------------------------------------------------------- messages

LRESULT TTreeViewControl::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto Item = reinterpret_cast<TNode*>(LParam);
    // While drawing is off, insertions only mark the rows stale; anything
    // that reads them brings them up to date first.
    if (FDirty && Msg != TVM_INSERTITEM && Msg != TVM_SETITEM && Msg != WM_SETREDRAW)
        Rebuild();
    switch (Msg) {
    case WM_CREATE:
        UpdateScrollInfo();
        return 0;
    case WM_DESTROY:
        EndEdit(true);
        return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
        for (const TNode* N : FLive)
            const_cast<TNode*>(N)->Width = -1;
        Changed();
        return 0;
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FMeasure.SetFont(FFont);
        for (const TNode* N : FLive)
            const_cast<TNode*>(N)->Width = -1;
        Changed();
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    case WM_SETREDRAW:
        FRedraw = WParam != 0;
        if (FRedraw)
            Changed();
        return 0;
    case WM_PAINT:
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        FFocused = Msg == WM_SETFOCUS;
        Redraw();
        NMHDR H;
        Notify(FFocused ? NM_SETFOCUS : NM_KILLFOCUS, H);
        return 0;
    }
    case WM_KEYDOWN:
        if (WParam == VK_SPACE && (Style() & TVS_CHECKBOXES) && FCaret) {
            ToggleCheck(FCaret);
            return 0;
        }
        KeyDown(WParam);
        return 0;
    case WM_CHAR:
        if (WParam > ' ')
            TypeAhead(char32_t(WParam));
        return 0;
    case WM_MOUSEMOVE: {
        UINT Flags = 0;
        TNode* Node = HitTest(LParamToPoint(LParam), Flags);
        bool OnItem = Flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON);
        SetHot((Style() & TVS_TRACKSELECT) && OnItem ? Node : nullptr);
        ShowTip((Flags & TVHT_ONITEMLABEL) && !(Style() & TVS_NOTOOLTIPS) ? Node : nullptr);
        return 0;
    }
    case WM_MOUSELEAVE:
        SetHot(nullptr);
        ShowTip(nullptr);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(LParamToPoint(LParam), false, Msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
        MouseDown(LParamToPoint(LParam), true, false);
        return 0;
    case WM_LBUTTONUP: {
        NMHDR H;
        Notify(NM_CLICK, H);
        return 0;
    }
    case WM_RBUTTONUP: {
        NMHDR H;
        if (Notify(NM_RCLICK, H) == 0) {
            TPoint S = LParamToPoint(LParam);
            ClientToScreen(FWnd, &S);
            SendMessage(FWnd, WM_CONTEXTMENU, WPARAM(FWnd), PointToLParam(S));
        }
        return 0;
    }
    case WM_TIMER:
        if (WParam == EditLabelTimer) {
            KillTimer(FWnd, EditLabelTimer);
            TNode* Pending = FPendingEdit;
            FPendingEdit = nullptr;
            if (Valid(Pending))
                EditLabel(Pending);
        }
        return 0;
    case WM_VSCROLL:
        SetFirst(ScrollTarget(FWnd, SB_VERT, WParam, FFirst, int(FRows.size()), VisibleCount()));
        UpdateScrollInfo();
        return 0;
    case WM_HSCROLL: {
        TRect C;
        GetClientRect(FWnd, &C);
        int Step = FMeasure.AveCharWidth();
        int T = LOWORD(WParam) == SB_LINELEFT    ? FScrollX - Step
                : LOWORD(WParam) == SB_LINERIGHT ? FScrollX + Step
                : LOWORD(WParam) == SB_PAGELEFT  ? FScrollX - C.Width()
                : LOWORD(WParam) == SB_PAGERIGHT ? FScrollX + C.Width()
                : (LOWORD(WParam) == SB_THUMBPOSITION || LOWORD(WParam) == SB_THUMBTRACK)
                    ? int(HIWORD(WParam))
                : LOWORD(WParam) == SB_TOP ? 0
                                           : FScrollX;
        FScrollX = std::clamp(T, 0, std::max(0, FWidest - C.Width()));
        UpdateScrollInfo();
        Redraw();
        return 0;
    }
    case WM_MOUSEWHEEL:
        SetFirst(FFirst - GET_WHEEL_DELTA_WPARAM(WParam) * WheelLines() / WHEEL_DELTA);
        return 0;
    // ---- tree view messages
    case TVM_INSERTITEM:
        return LParam ? LRESULT(Insert(*reinterpret_cast<const TVINSERTSTRUCT*>(LParam))) : 0;
    case TVM_DELETEITEM:
        if (Item == TVI_ROOT || !Item) {
            while (!FRoots.empty())
                Delete(FRoots.back());
            FFirst = 0;
            Changed();
            return TRUE;
        }
        if (!Valid(Item))
            return FALSE;
        Delete(Item);
        Changed();
        return TRUE;
    case TVM_EXPAND:
        return Valid(Item) && Expand(Item, WParam & 3, TVC_UNKNOWN);
    case TVM_GETITEMRECT: {
        auto* R = reinterpret_cast<TRect*>(LParam);
        if (!R)
            return FALSE;
        TNode* Node = nullptr;
        std::memcpy(&Node, reinterpret_cast<const void*>(LParam), sizeof(Node));
        if (!Valid(Node) || RowOf(Node) < 0)
            return FALSE;
        *R = WParam ? LabelRect(Node) : RowRect(RowOf(Node));
        return TRUE;
    }
    case TVM_GETCOUNT:
        return FCount;
    case TVM_GETINDENT:
        return FIndent;
    case TVM_SETINDENT:
        FIndent = std::max(1, int(WParam));
        Changed();
        return 0;
    case TVM_GETIMAGELIST:
        return WParam <= TVSIL_STATE ? LRESULT(FImages[WParam]) : 0;
    case TVM_SETIMAGELIST: {
        if (WParam > TVSIL_STATE)
            return 0;
        HIMAGELIST Old = FImages[WParam];
        FImages[WParam] = reinterpret_cast<HIMAGELIST>(LParam);
        Changed();
        return LRESULT(Old);
    }
    case TVM_GETNEXTITEM:
        return LRESULT(NextItem(Item, WParam));
    case TVM_SELECTITEM:
        if (Item && !Valid(Item))
            return FALSE;
        if (WParam == TVGN_CARET)
            return Select(Item, TVC_UNKNOWN);
        if (WParam == TVGN_DROPHILITE) {
            FDropHilite = Item;
            Redraw();
            return TRUE;
        }
        if (WParam == TVGN_FIRSTVISIBLE && Item) {
            EnsureVisible(Item);
            SetFirst(RowOf(Item));
            return TRUE;
        }
        return FALSE;
    case TVM_GETEDITCONTROL:
        return LRESULT(FEditor);
    case TVM_GETVISIBLECOUNT:
        return VisibleCount();
    case TVM_HITTEST: {
        auto* Info = reinterpret_cast<TVHITTESTINFO*>(LParam);
        if (!Info)
            return 0;
        Info->hItem = HitTest(Info->pt, Info->flags);
        return LRESULT(Info->hItem);
    }
    case TVM_SORTCHILDREN:
        if (Item && Item != TVI_ROOT && !Valid(Item))
            return FALSE;
        SortChildren(Item == TVI_ROOT ? nullptr : Item, nullptr, 0, WParam != 0);
        Changed();
        return TRUE;
    case TVM_SORTCHILDRENCB: {
        const auto* Sort = reinterpret_cast<const TVSORTCB*>(LParam);
        if (!Sort || (Sort->hParent && Sort->hParent != TVI_ROOT && !Valid(Sort->hParent)))
            return FALSE;
        TNode* Parent = Sort->hParent == TVI_ROOT ? nullptr : Sort->hParent;
        if (Sort->lpfnCompare)
            SortChildren(Parent, Sort->lpfnCompare, Sort->lParam, WParam != 0);
        Changed();
        return TRUE;
    }
    case TVM_ENSUREVISIBLE:
        if (!Valid(Item))
            return FALSE;
        EnsureVisible(Item);
        return TRUE;
    case TVM_ENDEDITLABELNOW:
        EndEdit(WParam != 0);
        return TRUE;
    case TVM_GETITEM: {
        auto* Out = reinterpret_cast<TVITEM*>(LParam);
        if (!Out || !Valid(Out->hItem))
            return FALSE;
        TNode* Node = Out->hItem;
        if ((Out->mask & TVIF_TEXT) && Out->pszText && Out->cchTextMax > 0) {
            std::size_t N =
                std::min<std::size_t>(Node->Text.size(), std::size_t(Out->cchTextMax - 1));
            while (N > 0 && N < Node->Text.size() &&
                   (static_cast<unsigned char>(Node->Text[N]) & 0xC0) == 0x80)
                --N;
            std::memcpy(Out->pszText, Node->Text.data(), N);
            Out->pszText[N] = 0;
        }
        if (Out->mask & TVIF_IMAGE)
            Out->iImage = Node->Image;
        if (Out->mask & TVIF_SELECTEDIMAGE)
            Out->iSelectedImage = Node->SelectedImage;
        if (Out->mask & TVIF_PARAM)
            Out->lParam = Node->Param;
        if (Out->mask & TVIF_STATE)
            Out->state = Node->State & (Out->stateMask ? Out->stateMask : 0xFFFF);
        if (Out->mask & TVIF_CHILDREN)
            Out->cChildren = Node->Children == -2 ? int(!Node->Kids.empty()) : Node->Children;
        return TRUE;
    }
    case TVM_SETITEM: {
        const auto* In = reinterpret_cast<const TVITEM*>(LParam);
        if (!In || !Valid(In->hItem))
            return FALSE;
        TNode* Node = In->hItem;
        if ((In->mask & TVIF_TEXT) && In->pszText && In->pszText != LPSTR_TEXTCALLBACK) {
            Node->Text = SanitizeUtf8(In->pszText);
            Node->Width = -1;
        }
        if (In->mask & TVIF_IMAGE)
            Node->Image = In->iImage;
        if (In->mask & TVIF_SELECTEDIMAGE)
            Node->SelectedImage = In->iSelectedImage;
        if (In->mask & TVIF_PARAM)
            Node->Param = In->lParam;
        if (In->mask & TVIF_CHILDREN)
            Node->Children = In->cChildren;
        if (In->mask & TVIF_STATE) {
            UINT Mask = In->stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED);
            Node->State = (Node->State & ~Mask) | (In->state & Mask);
            if ((In->stateMask & TVIS_EXPANDED) &&
                bool(In->state & TVIS_EXPANDED) != Expanded(Node)) {
                Node->State ^= TVIS_EXPANDED;
                if (Expanded(Node))
                    Node->State |= TVIS_EXPANDEDONCE;
            }
        }
        Changed();
        return TRUE;
    }
    case TVM_EDITLABEL:
        return LRESULT(EditLabel(Item));
    default:
        return DefWindowProc(FWnd, Msg, WParam, LParam);
    }
}

LRESULT TreeViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return StateWndProc<TTreeViewControl>(Wnd, Msg, WParam, LParam, TreeViewProp);
}

} // namespace

void RegisterTreeViewClass() {
    RegisterNativeClass("SysTreeView32", TreeViewWndProc);
}
