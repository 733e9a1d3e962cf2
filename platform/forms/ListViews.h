// The list view (window class "SysListView32") with its header (class
// "SysHeader32"), the notification records they share with the other
// common controls, and the wrapper TCustomListView.
//
// The list view keeps its items (or, with LVS_OWNERDATA, only their count
// and states, asking the parent for everything else) and publishes its
// scroll information whether or not it shows bars. In report view it makes
// the header as a child and places it with SetWindowPos, so a subclass of
// the header can change where it goes.
#pragma once

#include "platform/core/Lists.h"
#include "platform/core/StringLists.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ImgList.h"

#include <functional>
#include <memory>
#include <vector>

// ---------------------------------------------------------------- notifications

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

constexpr UINT NM_CLICK = UINT(-2);
constexpr UINT NM_DBLCLK = UINT(-3);
constexpr UINT NM_RETURN = UINT(-4);
constexpr UINT NM_RCLICK = UINT(-5);
constexpr UINT NM_RDBLCLK = UINT(-6);
constexpr UINT NM_SETFOCUS = UINT(-7);
constexpr UINT NM_KILLFOCUS = UINT(-8);

// ---------------------------------------------------------------- header

constexpr DWORD HDS_HORZ = 0x0;
constexpr DWORD HDS_BUTTONS = 0x2;
constexpr DWORD HDS_HIDDEN = 0x8;
constexpr DWORD HDS_DRAGDROP = 0x40;
constexpr DWORD HDS_FULLDRAG = 0x80;

constexpr UINT HDM_GETITEMCOUNT = 0x1200;
constexpr UINT HDM_DELETEITEM = 0x1202;
constexpr UINT HDM_LAYOUT = 0x1205;
constexpr UINT HDM_HITTEST = 0x1206;
constexpr UINT HDM_GETITEMRECT = 0x1207;
constexpr UINT HDM_SETIMAGELIST = 0x1208;
constexpr UINT HDM_INSERTITEM = 0x120A;
constexpr UINT HDM_GETITEM = 0x120B;
constexpr UINT HDM_SETITEM = 0x120C;
constexpr UINT HDM_ORDERTOINDEX = 0x120F;
constexpr UINT HDM_GETORDERARRAY = 0x1211;
constexpr UINT HDM_SETORDERARRAY = 0x1212;

constexpr UINT HDI_WIDTH = 0x1;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT = 0x2;
constexpr UINT HDI_FORMAT = 0x4;
constexpr UINT HDI_LPARAM = 0x8;
constexpr UINT HDI_IMAGE = 0x20;
constexpr UINT HDI_ORDER = 0x80;

constexpr int HDF_LEFT = 0;
constexpr int HDF_RIGHT = 1;
constexpr int HDF_CENTER = 2;
constexpr int HDF_JUSTIFYMASK = 3;
constexpr int HDF_IMAGE = 0x800;
constexpr int HDF_STRING = 0x4000;

constexpr UINT HHT_NOWHERE = 0x1;
constexpr UINT HHT_ONHEADER = 0x2;
constexpr UINT HHT_ONDIVIDER = 0x4;
constexpr UINT HHT_ONDIVOPENED = 0x8;
constexpr UINT HHT_ABOVE = 0x100;
constexpr UINT HHT_BELOW = 0x200;
constexpr UINT HHT_TORIGHT = 0x400;
constexpr UINT HHT_TOLEFT = 0x800;

constexpr UINT HDN_ITEMCHANGING = UINT(-320);
constexpr UINT HDN_ITEMCHANGED = UINT(-321);
constexpr UINT HDN_ITEMCLICK = UINT(-322);
constexpr UINT HDN_DIVIDERDBLCLICK = UINT(-325);
constexpr UINT HDN_BEGINTRACK = UINT(-326);
constexpr UINT HDN_ENDTRACK = UINT(-327);
constexpr UINT HDN_TRACK = UINT(-328);
constexpr UINT HDN_BEGINDRAG = UINT(-310);
constexpr UINT HDN_ENDDRAG = UINT(-311);

struct HDITEM {
    UINT mask = 0;
    int cxy = 0;
    char* pszText = nullptr;
    HBITMAP hbm = nullptr;
    int cchTextMax = 0;
    int fmt = 0;
    LPARAM lParam = 0;
    int iImage = 0;
    int iOrder = 0;
};

struct HDHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
};

struct HDLAYOUT {
    TRect* prc = nullptr;
    WINDOWPOS* pwpos = nullptr;
};

struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    HDITEM* pitem = nullptr;
};

// The half width of the zone around a section's right edge that drags it.
constexpr int HeaderDividerZone = 10;

// ---------------------------------------------------------------- list view styles and messages

constexpr DWORD LVS_ICON = 0x0;
constexpr DWORD LVS_REPORT = 0x1;
constexpr DWORD LVS_SMALLICON = 0x2;
constexpr DWORD LVS_LIST = 0x3;
constexpr DWORD LVS_TYPEMASK = 0x3;
constexpr DWORD LVS_SINGLESEL = 0x4;
constexpr DWORD LVS_SHOWSELALWAYS = 0x8;
constexpr DWORD LVS_SORTASCENDING = 0x10;
constexpr DWORD LVS_SORTDESCENDING = 0x20;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x40;
constexpr DWORD LVS_NOLABELWRAP = 0x80;
constexpr DWORD LVS_AUTOARRANGE = 0x100;
constexpr DWORD LVS_EDITLABELS = 0x200;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOSCROLL = 0x2000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x1;
constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x2;
constexpr DWORD LVS_EX_TRACKSELECT = 0x8;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x10;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x20;

constexpr UINT LVM_SETBKCOLOR = 0x1001;
constexpr UINT LVM_SETIMAGELIST = 0x1003;
constexpr UINT LVM_GETITEMCOUNT = 0x1004;
constexpr UINT LVM_DELETEITEM = 0x1008;
constexpr UINT LVM_DELETEALLITEMS = 0x1009;
constexpr UINT LVM_GETNEXTITEM = 0x100C;
constexpr UINT LVM_GETITEMRECT = 0x100E;
constexpr UINT LVM_GETITEMPOSITION = 0x1010;
constexpr UINT LVM_HITTEST = 0x1012;
constexpr UINT LVM_ENSUREVISIBLE = 0x1013;
constexpr UINT LVM_SCROLL = 0x1014;
constexpr UINT LVM_REDRAWITEMS = 0x1015;
constexpr UINT LVM_ARRANGE = 0x1016;
constexpr UINT LVM_GETEDITCONTROL = 0x1018;
constexpr UINT LVM_DELETECOLUMN = 0x101C;
constexpr UINT LVM_GETCOLUMNWIDTH = 0x101D;
constexpr UINT LVM_SETCOLUMNWIDTH = 0x101E;
constexpr UINT LVM_GETHEADER = 0x101F;
constexpr UINT LVM_GETVIEWRECT = 0x1022;
constexpr UINT LVM_SETTEXTCOLOR = 0x1024;
constexpr UINT LVM_SETTEXTBKCOLOR = 0x1026;
constexpr UINT LVM_GETTOPINDEX = 0x1027;
constexpr UINT LVM_GETCOUNTPERPAGE = 0x1028;
constexpr UINT LVM_GETORIGIN = 0x1029;
constexpr UINT LVM_UPDATE = 0x102A;
constexpr UINT LVM_SETITEMSTATE = 0x102B;
constexpr UINT LVM_GETITEMSTATE = 0x102C;
constexpr UINT LVM_SETITEMCOUNT = 0x102F;
constexpr UINT LVM_SORTITEMS = 0x1030;
constexpr UINT LVM_GETSELECTEDCOUNT = 0x1032;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037;
constexpr UINT LVM_GETSUBITEMRECT = 0x1038;
constexpr UINT LVM_SUBITEMHITTEST = 0x1039;
constexpr UINT LVM_SETCOLUMNORDERARRAY = 0x103A;
constexpr UINT LVM_GETCOLUMNORDERARRAY = 0x103B;
constexpr UINT LVM_GETITEM = 0x104B;
constexpr UINT LVM_SETITEM = 0x104C;
constexpr UINT LVM_INSERTITEM = 0x104D;
constexpr UINT LVM_FINDITEM = 0x1053;
constexpr UINT LVM_GETSTRINGWIDTH = 0x1057;
constexpr UINT LVM_GETCOLUMN = 0x105F;
constexpr UINT LVM_SETCOLUMN = 0x1060;
constexpr UINT LVM_INSERTCOLUMN = 0x1061;
constexpr UINT LVM_GETITEMTEXT = 0x1073;
constexpr UINT LVM_SETITEMTEXT = 0x1074;
constexpr UINT LVM_EDITLABEL = 0x1076;
constexpr UINT LVM_CANCELEDITLABEL = 0x10B3;

constexpr WPARAM LVSIL_NORMAL = 0;
constexpr WPARAM LVSIL_SMALL = 1;
constexpr WPARAM LVSIL_STATE = 2;

constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;
constexpr int LVIR_SELECTBOUNDS = 3;

constexpr UINT LVIS_FOCUSED = 0x1;
constexpr UINT LVIS_SELECTED = 0x2;
constexpr UINT LVIS_CUT = 0x4;
constexpr UINT LVIS_DROPHILITED = 0x8;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;

constexpr UINT LVNI_ALL = 0x0;
constexpr UINT LVNI_FOCUSED = 0x1;
constexpr UINT LVNI_SELECTED = 0x2;

constexpr UINT LVIF_TEXT = 0x1;
constexpr UINT LVIF_IMAGE = 0x2;
constexpr UINT LVIF_PARAM = 0x4;
constexpr UINT LVIF_STATE = 0x8;
constexpr UINT LVIF_INDENT = 0x10;

constexpr UINT LVCF_FMT = 0x1;
constexpr UINT LVCF_WIDTH = 0x2;
constexpr UINT LVCF_TEXT = 0x4;
constexpr UINT LVCF_SUBITEM = 0x8;
constexpr UINT LVCF_IMAGE = 0x10;
constexpr UINT LVCF_ORDER = 0x20;
// LVM_SETCOLUMNWIDTH: fit the column to its texts, or to its texts and its
// header (the last column then fills the view).
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

constexpr UINT LVFI_PARAM = 0x1;
constexpr UINT LVFI_STRING = 0x2;
constexpr UINT LVFI_PARTIAL = 0x8;
constexpr UINT LVFI_WRAP = 0x20;
constexpr UINT LVFI_NEARESTXY = 0x40;

constexpr UINT LVHT_NOWHERE = 0x1;
constexpr UINT LVHT_ONITEMICON = 0x2;
constexpr UINT LVHT_ONITEMLABEL = 0x4;
constexpr UINT LVHT_ONITEMSTATEICON = 0x8;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x8;
constexpr UINT LVHT_BELOW = 0x10;
constexpr UINT LVHT_TORIGHT = 0x20;
constexpr UINT LVHT_TOLEFT = 0x40;

constexpr UINT LVN_ITEMCHANGING = UINT(-100);
constexpr UINT LVN_ITEMCHANGED = UINT(-101);
constexpr UINT LVN_INSERTITEM = UINT(-102);
constexpr UINT LVN_DELETEITEM = UINT(-103);
constexpr UINT LVN_DELETEALLITEMS = UINT(-104);
constexpr UINT LVN_COLUMNCLICK = UINT(-108);
constexpr UINT LVN_ODCACHEHINT = UINT(-113);
constexpr UINT LVN_KEYDOWN = UINT(-155);
constexpr UINT LVN_BEGINLABELEDIT = UINT(-175);
constexpr UINT LVN_ENDLABELEDIT = UINT(-176);
constexpr UINT LVN_GETDISPINFO = UINT(-177);
constexpr UINT LVN_ODFINDITEM = UINT(-179);

// A text field answered with this asks the parent (LVN_GETDISPINFO).
inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(std::intptr_t(-1));
constexpr int I_IMAGECALLBACK = -1;

struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};

struct LVCOLUMN {
    UINT mask = 0;
    int fmt = 0;
    int cx = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
};

struct LVFINDINFO {
    UINT flags = 0;
    const char* psz = nullptr;
    LPARAM lParam = 0;
    TPoint pt;
    UINT vkDirection = 0;
};

struct LVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    TPoint ptAction;
    LPARAM lParam = 0;
};

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};

struct NMLVFINDITEM {
    NMHDR hdr;
    int iStart = 0;
    LVFINDINFO lvfi;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct NMLVCACHEHINT {
    NMHDR hdr;
    int iFrom = 0;
    int iTo = 0;
};

// Compares the lParam values of two items (LVM_SORTITEMS).
using PFNLVCOMPARE = std::function<int(LPARAM Item1, LPARAM Item2, LPARAM Sort)>;

void RegisterHeaderClass();
void RegisterListViewClass();

// ---------------------------------------------------------------- TCustomListView

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };
enum TItemRequest { irText, irImage, irParam, irState, irIndent };
using TItemRequests = TSet<TItemRequest>;
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TListArrangement {
    arAlignBottom,
    arAlignLeft,
    arAlignRight,
    arAlignTop,
    arDefault,
    arSnapToGrid
};
enum TIconArrangement { iaTop, iaLeft };
enum THitTest {
    htAbove,
    htBelow,
    htNowhere,
    htOnItem,
    htOnButton,
    htOnIcon,
    htOnIndent,
    htOnLabel,
    htOnRight,
    htOnStateIcon,
    htToLeft,
    htToRight
};
using THitTests = TSet<THitTest>;
enum TItemChange { ctText, ctImage, ctState };

class TCustomListView;
class TListItem;
class TListItems;
class TListColumn;

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* Collection);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    int Width();
    void SetWidth(int Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // Clamps a width to MinWidth and MaxWidth (0: no limit).
    int Clamp(int Width) const;

private:
    void FitWidth();
    friend class TCustomListView;
    TCustomListView* ListView() const;
    void Apply();
    std::string FCaption;
    int FWidth = 50;
    int FMinWidth = 0;
    int FMaxWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
    bool FAutoSize = false;
    int FTag = 0;
};

class TListColumns : public TCollection {
public:
    explicit TListColumns(TCustomListView* Owner);
    TListColumn* Add();
    TListColumn* Items(int Index) const {
        return static_cast<TListColumn*>(TCollection::Items(Index));
    }
    TCustomListView* Owner() const { return FOwner; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TCustomListView* FOwner;
};

class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* Owner);
    ~TListItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TStrings* SubItems() { return FSubItems.get(); }
    void SetSubItems(TStrings* Value) { FSubItems->Assign(Value); }
    int SubItemImages(int Index) const;
    void SetSubItemImages(int Index, int Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int Value);
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    int Index() const;
    bool Selected() const { return GetState(LVIS_SELECTED); }
    void SetSelected(bool Value) { SetState(LVIS_SELECTED, Value); }
    bool Focused() const { return GetState(LVIS_FOCUSED); }
    void SetFocused(bool Value) { SetState(LVIS_FOCUSED, Value); }
    bool Cut() const { return GetState(LVIS_CUT); }
    void SetCut(bool Value) { SetState(LVIS_CUT, Value); }
    bool DropTarget() const { return GetState(LVIS_DROPHILITED); }
    void SetDropTarget(bool Value) { SetState(LVIS_DROPHILITED, Value); }
    TPoint Position() const;
    int Left() const { return Position().X; }
    int Top() const { return Position().Y; }
    TRect DisplayRect(TDisplayCode Code) const;
    void Delete();
    void MakeVisible(bool PartialOK);
    bool EditCaption();
    void CancelEdit();
    void Update();
    void Assign(TPersistent* Source) override;
    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;

private:
    friend class TListItems;
    friend class TCustomListView;
    friend class TSubItems;
    bool GetState(UINT State) const;
    void SetState(UINT State, bool Value);
    TListItems* FOwner;
    std::string FCaption;
    std::unique_ptr<TStrings> FSubItems;
    std::vector<int> FSubItemImages;
    int FImageIndex = -1;
    int FStateIndex = -1;
    void* FData = nullptr;
    // An owner-data item made for an event knows its index itself.
    int FTempIndex = -1;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* Owner) : FOwner(Owner) {}
    ~TListItems() override;

    TListItem* Add();
    TListItem* AddItem(TListItem* Item, int Index = -1);
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const;
    // Settable for owner data.
    void SetCount(int Value);
    TListItem* Item(int Index) const;
    int IndexOf(const TListItem* Item) const;
    void BeginUpdate();
    void EndUpdate();
    TCustomListView* Owner() const { return FOwner; }

private:
    friend class TCustomListView;
    friend class TListItem;
    TCustomListView* FOwner;
    std::vector<TListItem*> FItems;
    int FUpdateCount = 0;
};

using TLVChangeEvent = TMethod<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent =
    TMethod<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVSelectItemEvent = TMethod<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = TMethod<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent =
    TMethod<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVOwnerDataEvent = TMethod<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent = TMethod<void(
    TObject* Sender, TItemFind Find, const std::string& FindString, const TPoint& FindPosition,
    void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap, int& Index)>;
using TLVOwnerDataHintEvent = TMethod<void(TObject* Sender, int StartIndex, int EndIndex)>;
using TLVEditingEvent = TMethod<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = TMethod<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVDeletedEvent = TMethod<void(TObject* Sender, TListItem* Item)>;
using TLVCompare = std::function<int(LPARAM Item1, LPARAM Item2, LPARAM Sort)>;

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TViewStyle ViewStyle() const { return FViewStyle; }
    virtual void SetViewStyle(TViewStyle Value);
    TListColumns* Columns() { return FColumns.get(); }
    TListColumn* Column(int Index) { return FColumns->Items(Index); }
    TListItems* Items() { return FItems.get(); }
    TListItem* Selected();
    void SetSelected(TListItem* Value);
    int ItemIndex();
    void SetItemIndex(int Value);
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* Value);
    int SelCount();
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool Value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool Value) { FFullDrag = Value; }
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value; }
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool Value);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* Value);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    bool AlphaSort();
    bool CustomSort(TLVCompare SortProc, LPARAM LParam);
    void Scroll(int DX, int DY);
    TListItem* TopItem();
    int VisibleRowCount();
    TPoint ViewOrigin();
    TListItem* GetItemAt(int X, int Y);
    THitTests GetHitTestInfoAt(int X, int Y);
    TListItem* FindCaption(int StartIndex, const std::string& Value, bool Partial, bool Inclusive,
                           bool Wrap);
    TListItem* FindData(int StartIndex, void* Value, bool Inclusive, bool Wrap);
    bool IsEditing();
    TCanvas* Canvas() { return &FCanvas; }
    // Window styles of the view (LVS_ICON ... LVS_LIST) for a view style.
    static DWORD ViewStyleBits(TViewStyle Value);

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVOwnerDataHintEvent OnDataHint;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    friend class TSubItems;

    void SendSubItemImage(TListItem* Item, int SubIndex);
    void SendStateIndex(TListItem* Item);

    virtual bool OwnerDataFetch(TListItem* Item, TItemRequests Request);
    virtual int OwnerDataFind(TItemFind Find, const std::string& FindString,
                              const TPoint& FindPosition, void* FindData, int StartIndex,
                              TSearchDirection Direction, bool Wrap);
    virtual bool OwnerDataHint(int StartIndex, int EndIndex);
    virtual void ColClick(TListColumn* Column);
    virtual bool CanEdit(TListItem* Item);
    // A label edit ended; the item's text in Item.pszText (null: cancelled).
    virtual void Edit(const LVITEM& Item);
    virtual void Change(TListItem* Item, int Change);
    virtual bool CanChange(TListItem* Item, int Change);
    virtual void Delete(TListItem* Item);
    virtual void InsertItem(TListItem* Item);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void FreeDeviceContexts() override;
    virtual void CNNotify(TMessage& Message);
    void HeaderNotify(NMHEADER* Header, LRESULT& Result);
    // Sends every column, item and list to a new window.
    void FillWindow();
    void UpdateColumn(int Index);
    TListItem* ItemOf(int Index);
    TListItem* OwnerDataItem(int Index);
    void SetImageList(TCustomImageList*& Field, TCustomImageList* Value, WPARAM Which);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    DWORD ExtendedStyle() const;

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TControlCanvas FCanvas;
    TViewStyle FViewStyle = vsIcon;
    bool FMultiSelect = false;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FShowColumnHeaders = true;
    bool FColumnClick = true;
    bool FHotTrack = false;
    bool FFullDrag = false;
    int FAllocBy = 0;
    bool FOwnerData = false;
    int FOwnerDataCount = 0;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    TSortType FSortType = stNone;
    // The temporary item of owner-data events.
    std::unique_ptr<TListItem> FTempItem;
    // States kept across re-creation (selected, focused ...), by index.
    std::vector<UINT> FSavedStates;
    int FSavedTop = 0;
    TListItem* FEditingItem = nullptr;
    bool FAddingColumn = false;
    std::string FEditText;
    int FUpdating = 0;
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};
