// The tree view (window class "SysTreeView32") and its wrapper
// TCustomTreeView with TTreeNodes and TTreeNode.
//
// The window keeps the items; an item whose cChildren says it has children
// but has none is offered to the parent by TVN_ITEMEXPANDING, which may add
// them. Scroll information counts the rows of the expanded tree and is
// published whether or not bars are shown; a thumb position beyond 16 bits
// comes through the stored scroll position.
//
// The wrapper keeps its own tree of TTreeNode objects (each window item's
// lParam is its node), so nodes survive a re-created window.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/ListViews.h"

#include <functional>
#include <memory>
#include <vector>

struct _TREEITEM;
using HTREEITEM = _TREEITEM*;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x0FFFD));

constexpr DWORD TVS_HASBUTTONS = 0x1;
constexpr DWORD TVS_HASLINES = 0x2;
constexpr DWORD TVS_LINESATROOT = 0x4;
constexpr DWORD TVS_EDITLABELS = 0x8;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x10;
constexpr DWORD TVS_SHOWSELALWAYS = 0x20;
constexpr DWORD TVS_NOTOOLTIPS = 0x80;
constexpr DWORD TVS_CHECKBOXES = 0x100;
constexpr DWORD TVS_TRACKSELECT = 0x200;
constexpr DWORD TVS_SINGLEEXPAND = 0x400;
constexpr DWORD TVS_FULLROWSELECT = 0x1000;
constexpr DWORD TVS_NOSCROLL = 0x2000;

constexpr UINT TVM_DELETEITEM = 0x1101;
constexpr UINT TVM_EXPAND = 0x1102;
constexpr UINT TVM_GETITEMRECT = 0x1104;
constexpr UINT TVM_GETCOUNT = 0x1105;
constexpr UINT TVM_GETINDENT = 0x1106;
constexpr UINT TVM_SETINDENT = 0x1107;
constexpr UINT TVM_GETIMAGELIST = 0x1108;
constexpr UINT TVM_SETIMAGELIST = 0x1109;
constexpr UINT TVM_GETNEXTITEM = 0x110A;
constexpr UINT TVM_SELECTITEM = 0x110B;
constexpr UINT TVM_GETEDITCONTROL = 0x110F;
constexpr UINT TVM_GETVISIBLECOUNT = 0x1110;
constexpr UINT TVM_HITTEST = 0x1111;
constexpr UINT TVM_SORTCHILDREN = 0x1113;
constexpr UINT TVM_ENSUREVISIBLE = 0x1114;
constexpr UINT TVM_SORTCHILDRENCB = 0x1115;
constexpr UINT TVM_ENDEDITLABELNOW = 0x1116;
constexpr UINT TVM_INSERTITEM = 0x1132;
constexpr UINT TVM_GETITEM = 0x113E;
constexpr UINT TVM_SETITEM = 0x113F;
constexpr UINT TVM_EDITLABEL = 0x1141;

constexpr WPARAM TVE_COLLAPSE = 1;
constexpr WPARAM TVE_EXPAND = 2;
constexpr WPARAM TVE_TOGGLE = 3;
constexpr WPARAM TVSIL_NORMAL = 0;
constexpr WPARAM TVSIL_STATE = 2;

constexpr WPARAM TVGN_ROOT = 0x0;
constexpr WPARAM TVGN_NEXT = 0x1;
constexpr WPARAM TVGN_PREVIOUS = 0x2;
constexpr WPARAM TVGN_PARENT = 0x3;
constexpr WPARAM TVGN_CHILD = 0x4;
constexpr WPARAM TVGN_FIRSTVISIBLE = 0x5;
constexpr WPARAM TVGN_NEXTVISIBLE = 0x6;
constexpr WPARAM TVGN_PREVIOUSVISIBLE = 0x7;
constexpr WPARAM TVGN_DROPHILITE = 0x8;
constexpr WPARAM TVGN_CARET = 0x9;
constexpr WPARAM TVGN_LASTVISIBLE = 0xA;

constexpr UINT TVHT_NOWHERE = 0x1;
constexpr UINT TVHT_ONITEMICON = 0x2;
constexpr UINT TVHT_ONITEMLABEL = 0x4;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | 0x40;
constexpr UINT TVHT_ONITEMINDENT = 0x8;
constexpr UINT TVHT_ONITEMBUTTON = 0x10;
constexpr UINT TVHT_ONITEMRIGHT = 0x20;
constexpr UINT TVHT_ONITEMSTATEICON = 0x40;
constexpr UINT TVHT_ABOVE = 0x100;
constexpr UINT TVHT_BELOW = 0x200;
constexpr UINT TVHT_TORIGHT = 0x400;
constexpr UINT TVHT_TOLEFT = 0x800;

constexpr UINT TVIF_TEXT = 0x1;
constexpr UINT TVIF_IMAGE = 0x2;
constexpr UINT TVIF_PARAM = 0x4;
constexpr UINT TVIF_STATE = 0x8;
constexpr UINT TVIF_HANDLE = 0x10;
constexpr UINT TVIF_SELECTEDIMAGE = 0x20;
constexpr UINT TVIF_CHILDREN = 0x40;
constexpr int I_CHILDRENCALLBACK = -1;

constexpr UINT TVIS_SELECTED = 0x2;
constexpr UINT TVIS_CUT = 0x4;
constexpr UINT TVIS_DROPHILITED = 0x8;
constexpr UINT TVIS_BOLD = 0x10;
constexpr UINT TVIS_EXPANDED = 0x20;
constexpr UINT TVIS_EXPANDEDONCE = 0x40;
// The state image, 1-based, in bits 12 to 15 of the state; 0 is none.
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;

constexpr UINT TVC_UNKNOWN = 0;
constexpr UINT TVC_BYMOUSE = 1;
constexpr UINT TVC_BYKEYBOARD = 2;

constexpr UINT TVN_SELCHANGING = UINT(-450);
constexpr UINT TVN_SELCHANGED = UINT(-451);
constexpr UINT TVN_GETDISPINFO = UINT(-452);
constexpr UINT TVN_ITEMEXPANDING = UINT(-454);
constexpr UINT TVN_ITEMEXPANDED = UINT(-455);
constexpr UINT TVN_DELETEITEM = UINT(-458);
constexpr UINT TVN_BEGINLABELEDIT = UINT(-459);
constexpr UINT TVN_ENDLABELEDIT = UINT(-460);
constexpr UINT TVN_KEYDOWN = UINT(-412);

struct TVITEM {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = nullptr;
    TVITEM item;
};

struct TVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;
    TVITEM itemOld;
    TVITEM itemNew;
    TPoint ptDrag;
};

struct NMTVDISPINFO {
    NMHDR hdr;
    TVITEM item;
};

struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

using PFNTVCOMPARE = std::function<int(LPARAM Item1, LPARAM Item2, LPARAM Sort)>;

struct TVSORTCB {
    HTREEITEM hParent = nullptr;
    PFNTVCOMPARE lpfnCompare;
    LPARAM lParam = 0;
};

void RegisterTreeViewClass();

// ---------------------------------------------------------------- TCustomTreeView

class TCustomTreeView;
class TTreeNodes;
class TTreeNode;

using TTVCompare = std::function<int(LPARAM Node1, LPARAM Node2, LPARAM Data)>;

class TTreeNode : public TPersistent {
public:
    explicit TTreeNode(TTreeNodes* Owner);
    ~TTreeNode() override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int Value);
    // -1: none; the first image of StateImages is 0.
    int StateIndex() const;
    void SetStateIndex(int Value);
    bool HasChildren() const;
    void SetHasChildren(bool Value);
    bool Expanded() const;
    void SetExpanded(bool Value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    int Level() const;
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int Index) const;
    int Index() const;
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const { return Selected(); }
    bool Deleting() const { return FDeleting; }
    bool EditText();
    void EndEdit(bool Cancel);
    void Delete();
    void DeleteChildren();
    void MakeVisible();
    TRect DisplayRect(bool TextOnly) const;
    bool CustomSort(TTVCompare SortProc, LPARAM Data, bool Recurse = false);
    bool AlphaSort(bool Recurse = false);
    bool IsVisible() const;
    HTREEITEM ItemId() const { return FItemId; }
    TCustomTreeView* TreeView() const;
    TTreeNodes* Owner() const { return FOwner; }

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;
    std::string FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    int FStateIndex = -1;
    bool FHasChildren = false;
    bool FExpanded = false;
    bool FDeleting = false;
    HTREEITEM FItemId = nullptr;
};

class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* Owner) : FOwner(Owner) {}
    ~TTreeNodes() override;

    TTreeNode* Add(TTreeNode* Sibling, const std::string& S) {
        return AddObject(Sibling, S, nullptr);
    }
    TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Data);
    TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) {
        return AddChildObject(Parent, S, nullptr);
    }
    TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Data);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
    TTreeNode* Insert(TTreeNode* Sibling, const std::string& S) {
        return InsertObject(Sibling, S, nullptr);
    }
    TTreeNode* InsertObject(TTreeNode* Sibling, const std::string& S, void* Data);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    int Count() const;
    // In tree order.
    TTreeNode* Item(int Index) const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    TCustomTreeView* Owner() const { return FOwner; }

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    // Places a new node under Parent (null: the top level) at Position.
    TTreeNode* InsertNode(TTreeNode* Parent, int Position, const std::string& S, void* Data);
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* Parent) {
        return Parent ? Parent->FChildren : FRoots;
    }
    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;
    int FUpdateCount = 0;
};

using TTVChangingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = TMethod<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TMethod<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TMethod<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent =
    TMethod<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() { return FNodes.get(); }
    TTreeNode* Selected();
    void SetSelected(TTreeNode* Value);
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* Value);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value);
    int Indent();
    void SetIndent(int Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool Value) { FRightClickSelect = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool AutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool Value) { FAutoExpand = Value; }
    int ChangeDelay() const { return FChangeDelay; }
    void SetChangeDelay(int Value) { FChangeDelay = std::max(0, Value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    bool AlphaSort(bool Recurse = true);
    bool CustomSort(TTVCompare SortProc, LPARAM Data, bool Recurse = true);
    TTreeNode* GetNodeAt(int X, int Y);
    THitTests GetHitTestInfoAt(int X, int Y);
    void FullExpand();
    void FullCollapse();
    bool IsEditing();

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVExpandedEvent OnDeletion;
    TTVCompareEvent OnCompare;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    virtual void Edit(const TVITEM& Item);
    virtual void Delete(TTreeNode* Node);
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void CNNotify(TMessage& Message);
    // Makes the window items of a node and its children.
    void InsertItems(TTreeNode* Node, HTREEITEM After);
    TTreeNode* NodeOf(HTREEITEM Item) const;
    void FireChange(TTreeNode* Node);

    std::unique_ptr<TTreeNodes> FNodes;
    bool FShowRoot = true;
    bool FShowButtons = true;
    bool FShowLines = true;
    int FIndent = 19;
    bool FHideSelection = true;
    bool FRightClickSelect = false;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FAutoExpand = false;
    int FChangeDelay = 0;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    TSortType FSortType = stNone;
    TTreeNode* FSavedSelected = nullptr;
    TTreeNode* FSavedTop = nullptr;
    TTreeNode* FEditingNode = nullptr;
    TTreeNode* FPendingChange = nullptr;
    bool FRecreatingItems = false;
};

class TTreeView : public TCustomTreeView {
public:
    explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
