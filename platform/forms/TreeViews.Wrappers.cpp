// TCustomTreeView, TTreeNodes and TTreeNode.
#include "platform/forms/TreeViews.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

constexpr UINT_PTR ChangeTimer = 0x7E02;

void DeleteTree(std::vector<TTreeNode*>& Children) {
    for (TTreeNode* Child : Children)
        delete Child;
    Children.clear();
}

} // namespace

// ---------------------------------------------------------------- TTreeNode

TTreeNode::TTreeNode(TTreeNodes* Owner) : FOwner(Owner) {}

TTreeNode::~TTreeNode() {
    DeleteTree(FChildren);
}

TCustomTreeView* TTreeNode::TreeView() const {
    return FOwner ? FOwner->Owner() : nullptr;
}

namespace {
bool HasWindow(const TTreeNode* Node) {
    TCustomTreeView* View = Node->TreeView();
    return View && View->HandleAllocated() && Node->ItemId();
}
} // namespace

void TTreeNode::SetText(const std::string& Value) {
    FText = Value;
    if (HasWindow(this)) {
        TVITEM Item;
        Item.mask = TVIF_TEXT | TVIF_HANDLE;
        Item.hItem = FItemId;
        Item.pszText = FText.data();
        SendMessage(TreeView()->Handle(), TVM_SETITEM, 0, LPARAM(&Item));
    }
}

void TTreeNode::SetImageIndex(int Value) {
    // Handlers asked for the image set it while the tree paints: only a
    // change repaints.
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    if (HasWindow(this))
        TreeView()->Invalidate();
}

// The window keeps the state image, which a click on a check box changes.
int TTreeNode::StateIndex() const {
    if (!HasWindow(this))
        return FStateIndex;
    TVITEM Item;
    Item.mask = TVIF_HANDLE | TVIF_STATE;
    Item.hItem = FItemId;
    Item.stateMask = TVIS_STATEIMAGEMASK;
    SendMessage(TreeView()->Handle(), TVM_GETITEM, 0, LPARAM(&Item));
    return int((Item.state & TVIS_STATEIMAGEMASK) >> 12) - 1;
}

void TTreeNode::SetStateIndex(int Value) {
    FStateIndex = std::max(-1, Value);
    if (!HasWindow(this))
        return;
    TVITEM Item;
    Item.mask = TVIF_HANDLE | TVIF_STATE;
    Item.hItem = FItemId;
    Item.stateMask = TVIS_STATEIMAGEMASK;
    Item.state = UINT(FStateIndex + 1) << 12;
    SendMessage(TreeView()->Handle(), TVM_SETITEM, 0, LPARAM(&Item));
}

void TTreeNode::SetSelectedIndex(int Value) {
    if (Value == FSelectedIndex)
        return;
    FSelectedIndex = Value;
    if (HasWindow(this))
        TreeView()->Invalidate();
}

bool TTreeNode::HasChildren() const {
    if (!HasWindow(this))
        return FHasChildren || !FChildren.empty();
    TVITEM Item;
    Item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    Item.hItem = FItemId;
    SendMessage(TreeView()->Handle(), TVM_GETITEM, 0, LPARAM(&Item));
    return Item.cChildren != 0;
}

void TTreeNode::SetHasChildren(bool Value) {
    FHasChildren = Value;
    if (HasWindow(this)) {
        TVITEM Item;
        Item.mask = TVIF_CHILDREN | TVIF_HANDLE;
        Item.hItem = FItemId;
        Item.cChildren = Value ? 1 : 0;
        SendMessage(TreeView()->Handle(), TVM_SETITEM, 0, LPARAM(&Item));
    }
}

bool TTreeNode::Expanded() const {
    if (!HasWindow(this))
        return FExpanded;
    TVITEM Item;
    Item.mask = TVIF_STATE | TVIF_HANDLE;
    Item.hItem = FItemId;
    Item.stateMask = TVIS_EXPANDED;
    SendMessage(TreeView()->Handle(), TVM_GETITEM, 0, LPARAM(&Item));
    return (Item.state & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool Value) {
    if (Value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
    if (HasWindow(this))
        SendMessage(TreeView()->Handle(), TVM_EXPAND, TVE_EXPAND, LPARAM(FItemId));
    else
        FExpanded = true;
    if (Recurse)
        for (TTreeNode* Child : std::vector<TTreeNode*>(FChildren))
            Child->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    if (Recurse)
        for (TTreeNode* Child : FChildren)
            Child->Collapse(true);
    if (HasWindow(this))
        SendMessage(TreeView()->Handle(), TVM_EXPAND, TVE_COLLAPSE, LPARAM(FItemId));
    else
        FExpanded = false;
}

int TTreeNode::Level() const {
    int L = 0;
    for (TTreeNode* P = FParent; P; P = P->FParent)
        ++L;
    return L;
}

TTreeNode* TTreeNode::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (%d)", {Index});
    return FChildren[std::size_t(Index)];
}

int TTreeNode::Index() const {
    const std::vector<TTreeNode*>& List = FParent ? FParent->FChildren : FOwner->FRoots;
    auto It = std::find(List.begin(), List.end(), this);
    return It == List.end() ? -1 : int(It - List.begin());
}

namespace {

// Walks the nodes in tree order until Visit answers true; answers the node
// it stopped at.
TTreeNode* Walk(const std::vector<TTreeNode*>& Nodes,
                const std::function<bool(TTreeNode*)>& Visit) {
    for (TTreeNode* Node : Nodes) {
        if (Visit(Node))
            return Node;
        std::vector<TTreeNode*> Children;
        for (int I = 0; I < Node->Count(); ++I)
            Children.push_back(Node->Item(I));
        if (TTreeNode* Found = Walk(Children, Visit))
            return Found;
    }
    return nullptr;
}

} // namespace

int TTreeNode::AbsoluteIndex() const {
    int I = -1;
    TTreeNode* Found = Walk(FOwner->FRoots, [&](TTreeNode* N) {
        ++I;
        return N == this;
    });
    return Found ? I : -1;
}

TTreeNode* TTreeNode::getNextSibling() const {
    const std::vector<TTreeNode*>& List = FParent ? FParent->FChildren : FOwner->FRoots;
    int I = Index();
    return I >= 0 && I + 1 < int(List.size()) ? List[std::size_t(I) + 1] : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
    const std::vector<TTreeNode*>& List = FParent ? FParent->FChildren : FOwner->FRoots;
    int I = Index();
    return I > 0 ? List[std::size_t(I) - 1] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!FChildren.empty())
        return FChildren.front();
    for (const TTreeNode* N = this; N; N = N->FParent)
        if (TTreeNode* Next = N->getNextSibling())
            return Next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* Prev = getPrevSibling();
    if (!Prev)
        return FParent;
    while (!Prev->FChildren.empty())
        Prev = Prev->FChildren.back();
    return Prev;
}

TTreeNode* TTreeNode::GetNextVisible() const {
    if (!HasWindow(this))
        return nullptr;
    return TreeView()->NodeOf(HTREEITEM(
        SendMessage(TreeView()->Handle(), TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, LPARAM(FItemId))));
}

TTreeNode* TTreeNode::GetPrevVisible() const {
    if (!HasWindow(this))
        return nullptr;
    return TreeView()->NodeOf(HTREEITEM(
        SendMessage(TreeView()->Handle(), TVM_GETNEXTITEM, TVGN_PREVIOUSVISIBLE, LPARAM(FItemId))));
}

bool TTreeNode::Selected() const {
    TCustomTreeView* View = TreeView();
    return View && View->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    TCustomTreeView* View = TreeView();
    if (!View)
        return;
    if (Value)
        View->SetSelected(const_cast<TTreeNode*>(this));
    else if (Selected())
        View->SetSelected(nullptr);
}

bool TTreeNode::EditText() {
    TCustomTreeView* View = TreeView();
    return View && SendMessage(View->Handle(), TVM_EDITLABEL, 0, LPARAM(FItemId)) != 0;
}

void TTreeNode::EndEdit(bool Cancel) {
    if (TCustomTreeView* View = TreeView(); View && View->HandleAllocated())
        SendMessage(View->Handle(), TVM_ENDEDITLABELNOW, Cancel, 0);
}

void TTreeNode::Delete() {
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back());
}

void TTreeNode::MakeVisible() {
    if (TCustomTreeView* View = TreeView())
        SendMessage(View->Handle(), TVM_ENSUREVISIBLE, 0, LPARAM(FItemId));
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
    TRect R;
    if (!HasWindow(this))
        return R;
    // The rectangle carries the item in, as the message wants.
    std::memcpy(static_cast<void*>(&R), &FItemId, sizeof(FItemId));
    if (!SendMessage(TreeView()->Handle(), TVM_GETITEMRECT, TextOnly, LPARAM(&R)))
        R = {};
    return R;
}

bool TTreeNode::CustomSort(TTVCompare SortProc, LPARAM Data, bool Recurse) {
    TCustomTreeView* View = TreeView();
    if (!View)
        return false;
    PFNTVCOMPARE Compare = SortProc;
    if (!Compare)
        Compare = [View](LPARAM A, LPARAM B, LPARAM D) {
            auto* X = reinterpret_cast<TTreeNode*>(A);
            auto* Y = reinterpret_cast<TTreeNode*>(B);
            int Result = 0;
            if (View->OnCompare)
                View->OnCompare(View, X, Y, int(D), Result);
            else
                Result = AnsiCompareText(X->Text(), Y->Text());
            return Result;
        };
    // The wrapper's order is sorted the same way as the window's.
    std::function<void(std::vector<TTreeNode*>&)> SortList = [&](std::vector<TTreeNode*>& List) {
        std::stable_sort(List.begin(), List.end(), [&](TTreeNode* A, TTreeNode* B) {
            return Compare(LPARAM(A), LPARAM(B), Data) < 0;
        });
        if (Recurse)
            for (TTreeNode* N : List)
                SortList(N->FChildren);
    };
    SortList(FChildren);
    if (HasWindow(this)) {
        TVSORTCB Sort;
        Sort.hParent = FItemId;
        Sort.lpfnCompare = Compare;
        Sort.lParam = Data;
        SendMessage(View->Handle(), TVM_SORTCHILDRENCB, Recurse, LPARAM(&Sort));
    }
    return true;
}

bool TTreeNode::AlphaSort(bool Recurse) {
    return CustomSort(nullptr, 0, Recurse);
}

bool TTreeNode::IsVisible() const {
    if (!HasWindow(this))
        return false;
    TRect R = DisplayRect(false);
    return R.Bottom > R.Top;
}

// ---------------------------------------------------------------- TTreeNodes

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* Node : FRoots)
        delete Node;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, int Position, const std::string& S,
                                  void* Data) {
    auto* Node = new TTreeNode(this);
    Node->FText = S;
    Node->FData = Data;
    Node->FParent = Parent;
    std::vector<TTreeNode*>& List = SiblingsOf(Parent);
    Position = std::clamp(Position, 0, int(List.size()));
    List.insert(List.begin() + Position, Node);
    if (FOwner->HandleAllocated() && (!Parent || Parent->FItemId)) {
        TTreeNode* Before = Position > 0 ? List[std::size_t(Position) - 1] : nullptr;
        FOwner->InsertItems(Node, Before ? Before->FItemId : TVI_FIRST);
    }
    return Node;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Data) {
    TTreeNode* Parent = Sibling ? Sibling->FParent : nullptr;
    return InsertNode(Parent, int(SiblingsOf(Parent).size()), S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
    return InsertNode(Sibling ? Sibling->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Data) {
    return InsertNode(Parent, int(SiblingsOf(Parent).size()), S, Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) {
    return InsertNode(Parent, 0, S, nullptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const std::string& S, void* Data) {
    if (!Sibling)
        return AddObject(nullptr, S, Data);
    return InsertNode(Sibling->FParent, Sibling->Index(), S, Data);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node)
        return;
    Node->FDeleting = true;
    if (FOwner->HandleAllocated() && Node->FItemId)
        SendMessage(FOwner->FHandle, TVM_DELETEITEM, 0, LPARAM(Node->FItemId));
    else
        FOwner->Delete(Node);
    std::vector<TTreeNode*>& List = SiblingsOf(Node->FParent);
    auto It = std::find(List.begin(), List.end(), Node);
    if (It != List.end())
        List.erase(It);
    // Nothing keeps pointing at a node that goes (or at one of its children).
    for (TTreeNode** Ref : {&FOwner->FSavedSelected, &FOwner->FSavedTop, &FOwner->FEditingNode,
                            &FOwner->FPendingChange})
        for (TTreeNode* P = *Ref; P; P = P->FParent)
            if (P == Node) {
                *Ref = nullptr;
                break;
            }
    delete Node;
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (!FRoots.empty())
        Delete(FRoots.back());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() {
    if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
        SendMessage(FOwner->FHandle, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner->HandleAllocated()) {
        SendMessage(FOwner->FHandle, WM_SETREDRAW, TRUE, 0);
        FOwner->Invalidate();
    }
}

int TTreeNodes::Count() const {
    int N = 0;
    Walk(FRoots, [&](TTreeNode*) {
        ++N;
        return false;
    });
    return N;
}

TTreeNode* TTreeNodes::Item(int Index) const {
    int I = -1;
    TTreeNode* Found = Walk(FRoots, [&](TTreeNode*) { return ++I == Index; });
    if (!Found || Index < 0)
        throw EListError("List index out of bounds (%d)", {Index});
    return Found;
}

// ---------------------------------------------------------------- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FNodes(std::make_unique<TTreeNodes>(this)) {
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush.SetColor(clWindow);
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
}

TCustomTreeView::~TCustomTreeView() {
    if (HandleAllocated())
        DestroyHandle();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
    RegisterTreeViewClass();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "SysTreeView32");
    if (FShowButtons)
        Params.Style |= TVS_HASBUTTONS;
    if (FShowLines)
        Params.Style |= TVS_HASLINES;
    if (FShowRoot)
        Params.Style |= TVS_LINESATROOT;
    if (!FReadOnly)
        Params.Style |= TVS_EDITLABELS;
    if (!FHideSelection)
        Params.Style |= TVS_SHOWSELALWAYS;
    if (FRowSelect)
        Params.Style |= TVS_FULLROWSELECT;
    Params.Style |= WS_HSCROLL | WS_VSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::InsertItems(TTreeNode* Node, HTREEITEM After) {
    TVINSERTSTRUCT In;
    In.hParent = Node->FParent ? Node->FParent->FItemId : TVI_ROOT;
    In.hInsertAfter = After;
    In.item.mask =
        TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    In.item.stateMask = TVIS_STATEIMAGEMASK;
    In.item.state = UINT(Node->FStateIndex + 1) << 12;
    In.item.pszText = Node->FText.data();
    In.item.lParam = LPARAM(Node);
    // Images are asked for when drawn, so GetImageIndex can decide late.
    In.item.iImage = I_IMAGECALLBACK;
    In.item.iSelectedImage = I_IMAGECALLBACK;
    In.item.cChildren = Node->FHasChildren || !Node->FChildren.empty() ? 1 : 0;
    Node->FItemId = HTREEITEM(SendMessage(FHandle, TVM_INSERTITEM, 0, LPARAM(&In)));
    HTREEITEM Prev = TVI_FIRST;
    for (TTreeNode* Child : Node->FChildren) {
        InsertItems(Child, Prev);
        Prev = Child->FItemId;
    }
    if (Node->FExpanded && !Node->FChildren.empty()) {
        TVITEM State;
        State.mask = TVIF_STATE | TVIF_HANDLE;
        State.hItem = Node->FItemId;
        State.stateMask = TVIS_EXPANDED;
        State.state = TVIS_EXPANDED;
        SendMessage(FHandle, TVM_SETITEM, 0, LPARAM(&State));
    }
}

void TCustomTreeView::CreateWnd() {
    TWinControl::CreateWnd();
    HWND Wnd = FHandle;
    FRecreatingItems = true;
    SendMessage(Wnd, WM_SETREDRAW, FALSE, 0);
    SendMessage(Wnd, TVM_SETINDENT, WPARAM(FIndent), 0);
    if (FImages)
        Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImages->Handle()));
    if (FStateImages)
        Perform(TVM_SETIMAGELIST, TVSIL_STATE, LPARAM(FStateImages->Handle()));
    HTREEITEM Prev = TVI_FIRST;
    for (TTreeNode* Node : FNodes->FRoots) {
        InsertItems(Node, Prev);
        Prev = Node->FItemId;
    }
    SendMessage(Wnd, WM_SETREDRAW, TRUE, 0);
    if (FSavedSelected)
        SendMessage(Wnd, TVM_SELECTITEM, TVGN_CARET, LPARAM(FSavedSelected->FItemId));
    if (FSavedTop)
        SendMessage(Wnd, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(FSavedTop->FItemId));
    FSavedSelected = FSavedTop = nullptr;
    FRecreatingItems = false;
}

void TCustomTreeView::DestroyWnd() {
    FSavedSelected = Selected();
    FSavedTop = TopItem();
    std::function<void(TTreeNode*)> Save = [&](TTreeNode* Node) {
        Node->FExpanded = Node->Expanded();
        Node->FStateIndex = Node->StateIndex();
        for (TTreeNode* Child : Node->FChildren)
            Save(Child);
    };
    for (TTreeNode* Node : FNodes->FRoots)
        Save(Node);
    std::function<void(TTreeNode*)> Forget = [&](TTreeNode* Node) {
        Node->FItemId = nullptr;
        for (TTreeNode* Child : Node->FChildren)
            Forget(Child);
    };
    for (TTreeNode* Node : FNodes->FRoots)
        Forget(Node);
    TWinControl::DestroyWnd();
}

TTreeNode* TCustomTreeView::NodeOf(HTREEITEM Item) const {
    if (!Item || !HandleAllocated())
        return nullptr;
    TVITEM Info;
    Info.mask = TVIF_PARAM | TVIF_HANDLE;
    Info.hItem = Item;
    if (!SendMessage(FHandle, TVM_GETITEM, 0, LPARAM(&Info)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(Info.lParam);
}

TTreeNode* TCustomTreeView::Selected() {
    if (!HandleAllocated())
        return FSavedSelected;
    return NodeOf(HTREEITEM(SendMessage(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
    SendMessage(Handle(), TVM_SELECTITEM, TVGN_CARET, LPARAM(Value ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() {
    if (!HandleAllocated())
        return FSavedTop;
    return NodeOf(HTREEITEM(SendMessage(FHandle, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
    if (Value)
        SendMessage(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, LPARAM(Value->FItemId));
}

namespace {
void ChangeTreeStyle(TWinControl* Control, DWORD Bits, bool On) {
    if (!Control->HandleAllocated())
        return;
    HWND Wnd = Control->Handle();
    LONG_PTR Style = GetWindowLong(Wnd, GWL_STYLE);
    SetWindowLong(Wnd, GWL_STYLE, On ? (Style | LONG_PTR(Bits)) : (Style & ~LONG_PTR(Bits)));
    Control->Invalidate();
}
} // namespace

void TCustomTreeView::SetShowRoot(bool Value) {
    FShowRoot = Value;
    ChangeTreeStyle(this, TVS_LINESATROOT, Value);
}

void TCustomTreeView::SetShowButtons(bool Value) {
    FShowButtons = Value;
    ChangeTreeStyle(this, TVS_HASBUTTONS, Value);
}

void TCustomTreeView::SetShowLines(bool Value) {
    FShowLines = Value;
    ChangeTreeStyle(this, TVS_HASLINES, Value);
}

void TCustomTreeView::SetHideSelection(bool Value) {
    FHideSelection = Value;
    ChangeTreeStyle(this, TVS_SHOWSELALWAYS, !Value);
}

void TCustomTreeView::SetReadOnly(bool Value) {
    FReadOnly = Value;
    ChangeTreeStyle(this, TVS_EDITLABELS, !Value);
}

void TCustomTreeView::SetRowSelect(bool Value) {
    FRowSelect = Value;
    ChangeTreeStyle(this, TVS_FULLROWSELECT, Value);
}

int TCustomTreeView::Indent() {
    return HandleAllocated() ? int(SendMessage(FHandle, TVM_GETINDENT, 0, 0)) : FIndent;
}

void TCustomTreeView::SetIndent(int Value) {
    FIndent = std::max(1, Value);
    if (HandleAllocated())
        SendMessage(FHandle, TVM_SETINDENT, WPARAM(FIndent), 0);
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
    // Through the control's own procedure, where a derived class may step in.
    if (HandleAllocated())
        Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(Value ? Value->Handle() : nullptr));
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
    if (FStateImages)
        FStateImages->RemoveFreeNotification(this);
    FStateImages = Value;
    if (Value)
        Value->FreeNotification(this);
    if (HandleAllocated())
        Perform(TVM_SETIMAGELIST, TVSIL_STATE, LPARAM(Value ? Value->Handle() : nullptr));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        SetImages(nullptr);
    if (AComponent == FStateImages)
        SetStateImages(nullptr);
}

void TCustomTreeView::SetSortType(TSortType Value) {
    if (Value == FSortType)
        return;
    FSortType = Value;
    if (Value != stNone)
        AlphaSort(true);
}

bool TCustomTreeView::CustomSort(TTVCompare SortProc, LPARAM Data, bool Recurse) {
    PFNTVCOMPARE Compare = SortProc;
    if (!Compare)
        Compare = [this](LPARAM A, LPARAM B, LPARAM D) {
            auto* X = reinterpret_cast<TTreeNode*>(A);
            auto* Y = reinterpret_cast<TTreeNode*>(B);
            int Result = 0;
            if (OnCompare)
                OnCompare(this, X, Y, int(D), Result);
            else
                Result = AnsiCompareText(X->Text(), Y->Text());
            return Result;
        };
    std::function<void(std::vector<TTreeNode*>&)> SortList = [&](std::vector<TTreeNode*>& List) {
        std::stable_sort(List.begin(), List.end(), [&](TTreeNode* A, TTreeNode* B) {
            return Compare(LPARAM(A), LPARAM(B), Data) < 0;
        });
        if (Recurse)
            for (TTreeNode* N : List)
                SortList(N->FChildren);
    };
    SortList(FNodes->FRoots);
    if (HandleAllocated()) {
        TVSORTCB Sort;
        Sort.hParent = TVI_ROOT;
        Sort.lpfnCompare = Compare;
        Sort.lParam = Data;
        SendMessage(FHandle, TVM_SORTCHILDRENCB, Recurse, LPARAM(&Sort));
    }
    return true;
}

bool TCustomTreeView::AlphaSort(bool Recurse) {
    return CustomSort(nullptr, 0, Recurse);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) {
    TVHITTESTINFO Info;
    Info.pt = {X, Y};
    SendMessage(Handle(), TVM_HITTEST, 0, LPARAM(&Info));
    if (!(Info.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT |
                        TVHT_ONITEMRIGHT)))
        return nullptr;
    return NodeOf(Info.hItem);
}

THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y) {
    TVHITTESTINFO Info;
    Info.pt = {X, Y};
    SendMessage(Handle(), TVM_HITTEST, 0, LPARAM(&Info));
    THitTests Result;
    const std::pair<UINT, THitTest> Map[] = {
        {TVHT_ABOVE, htAbove},         {TVHT_BELOW, htBelow},
        {TVHT_NOWHERE, htNowhere},     {TVHT_ONITEMBUTTON, htOnButton},
        {TVHT_ONITEMICON, htOnIcon},   {TVHT_ONITEMINDENT, htOnIndent},
        {TVHT_ONITEMLABEL, htOnLabel}, {TVHT_ONITEMRIGHT, htOnRight},
        {TVHT_TOLEFT, htToLeft},       {TVHT_TORIGHT, htToRight},
    };
    for (const auto& [Bit, Hit] : Map)
        if (Info.flags & Bit)
            Result.Include(Hit);
    if (Info.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))
        Result.Include(htOnItem);
    return Result;
}

void TCustomTreeView::FullExpand() {
    for (TTreeNode* Node : std::vector<TTreeNode*>(FNodes->FRoots))
        Node->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (TTreeNode* Node : FNodes->FRoots)
        Node->Collapse(true);
}

bool TCustomTreeView::IsEditing() {
    return HandleAllocated() && SendMessage(FHandle, TVM_GETEDITCONTROL, 0, 0) != 0;
}

// ---------------------------------------------------------------- hooks

bool TCustomTreeView::CanChange(TTreeNode* Node) {
    bool Allow = true;
    if (OnChanging)
        OnChanging(this, Node, Allow);
    return Allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange)
        OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    bool Allow = true;
    if (OnExpanding)
        OnExpanding(this, Node, Allow);
    return Allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
    if (OnExpanded)
        OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
    bool Allow = true;
    if (OnCollapsing)
        OnCollapsing(this, Node, Allow);
    return Allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
    if (OnCollapsed)
        OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
    bool Allow = true;
    if (OnEditing)
        OnEditing(this, Node, Allow);
    return Allow;
}

void TCustomTreeView::Edit(const TVITEM& Item) {
    TTreeNode* Node = FEditingNode;
    FEditingNode = nullptr;
    if (!Item.pszText || !Node)
        return;
    std::string S = Item.pszText;
    if (OnEdited)
        OnEdited(this, Node, S);
    Node->SetText(S);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion && !FRecreatingItems)
        OnDeletion(this, Node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
    if (OnGetImageIndex)
        OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, Node);
}

void TCustomTreeView::FireChange(TTreeNode* Node) {
    // With a delay the change is reported once the selection rests.
    if (FChangeDelay > 0 && HandleAllocated()) {
        FPendingChange = Node;
        SetTimer(FHandle, ChangeTimer, UINT(FChangeDelay), nullptr);
        return;
    }
    Change(Node);
}

// ---------------------------------------------------------------- notifications

void TCustomTreeView::CNNotify(TMessage& Message) {
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    Message.Result = 0;
    switch (H->code) {
    case TVN_SELCHANGING: {
        auto* N = reinterpret_cast<NMTREEVIEW*>(H);
        if (!FRecreatingItems && !CanChange(reinterpret_cast<TTreeNode*>(N->itemNew.lParam)))
            Message.Result = 1;
        break;
    }
    case TVN_SELCHANGED: {
        auto* N = reinterpret_cast<NMTREEVIEW*>(H);
        if (!FRecreatingItems)
            FireChange(N->itemNew.hItem ? reinterpret_cast<TTreeNode*>(N->itemNew.lParam)
                                        : nullptr);
        break;
    }
    case TVN_ITEMEXPANDING: {
        auto* N = reinterpret_cast<NMTREEVIEW*>(H);
        auto* Node = reinterpret_cast<TTreeNode*>(N->itemNew.lParam);
        bool Allow = N->action == TVE_EXPAND ? CanExpand(Node) : CanCollapse(Node);
        Message.Result = Allow ? 0 : 1;
        break;
    }
    case TVN_ITEMEXPANDED: {
        auto* N = reinterpret_cast<NMTREEVIEW*>(H);
        auto* Node = reinterpret_cast<TTreeNode*>(N->itemNew.lParam);
        if (Node)
            Node->FExpanded = N->action == TVE_EXPAND;
        if (N->action == TVE_EXPAND)
            Expand(Node);
        else
            Collapse(Node);
        break;
    }
    case TVN_DELETEITEM: {
        auto* N = reinterpret_cast<NMTREEVIEW*>(H);
        auto* Node = reinterpret_cast<TTreeNode*>(N->itemOld.lParam);
        if (Node) {
            Node->FDeleting = true;
            Delete(Node);
            Node->FItemId = nullptr;
        }
        break;
    }
    case TVN_GETDISPINFO: {
        auto* D = reinterpret_cast<NMTVDISPINFO*>(H);
        auto* Node = reinterpret_cast<TTreeNode*>(D->item.lParam);
        if (!Node)
            break;
        if (D->item.mask & TVIF_IMAGE) {
            GetImageIndex(Node);
            D->item.iImage = Node->FImageIndex;
        }
        if (D->item.mask & TVIF_SELECTEDIMAGE) {
            GetSelectedIndex(Node);
            D->item.iSelectedImage = Node->FSelectedIndex;
        }
        break;
    }
    case TVN_BEGINLABELEDIT: {
        auto* D = reinterpret_cast<NMTVDISPINFO*>(H);
        auto* Node = reinterpret_cast<TTreeNode*>(D->item.lParam);
        if (!Node || !CanEdit(Node)) {
            Message.Result = 1;
            break;
        }
        FEditingNode = Node;
        break;
    }
    case TVN_ENDLABELEDIT: {
        auto* D = reinterpret_cast<NMTVDISPINFO*>(H);
        Edit(D->item);
        break;
    }
    case NM_RCLICK:
        if (FRightClickSelect) {
            TPoint P;
            GetCursorPos(&P);
            P = ScreenToClient(P);
            if (TTreeNode* Node = GetNodeAt(P.X, P.Y))
                Node->SetSelected(true);
        }
        break;
    default:
        break;
    }
}

void TCustomTreeView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_NOTIFY:
        CNNotify(Message);
        return;
    case WM_TIMER:
        if (Message.WParam == ChangeTimer) {
            KillTimer(FHandle, ChangeTimer);
            TTreeNode* Node = FPendingChange;
            FPendingChange = nullptr;
            Change(Node);
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}
