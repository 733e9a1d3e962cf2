// The list box (window class "LISTBOX") and its wrapper TCustomListBox;
// the owner-draw records they share with other owner-drawn controls.
//
// The native list box publishes its scroll information (rows, or columns in
// the multi-column layout) whether or not it shows bars, so a skinned list
// without bars can read it and scroll the box with WM_VSCROLL/WM_HSCROLL.
#pragma once

#include "platform/core/StringLists.h"
#include "platform/forms/Controls.h"

#include <algorithm>
#include <memory>

// ---------------------------------------------------------------- owner draw

constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODA_DRAWENTIRE = 1;
constexpr UINT ODA_SELECT = 2;
constexpr UINT ODA_FOCUS = 4;
constexpr UINT ODS_SELECTED = 0x1;
constexpr UINT ODS_GRAYED = 0x2;
constexpr UINT ODS_DISABLED = 0x4;
constexpr UINT ODS_CHECKED = 0x8;
constexpr UINT ODS_FOCUS = 0x10;

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    TRect rcItem;
    DWORD_PTR itemData = 0;
};

struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    DWORD_PTR itemData = 0;
};

// In the order of the ODS_ bits.
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

using TDrawItemEvent =
    TMethod<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TMethod<void(TWinControl* Control, int Index, int& Height)>;

// ---------------------------------------------------------------- list box styles and messages

constexpr DWORD LBS_NOTIFY = 0x1;
constexpr DWORD LBS_SORT = 0x2;
constexpr DWORD LBS_NOREDRAW = 0x4;
constexpr DWORD LBS_MULTIPLESEL = 0x8;
constexpr DWORD LBS_OWNERDRAWFIXED = 0x10;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x20;
constexpr DWORD LBS_HASSTRINGS = 0x40;
constexpr DWORD LBS_USETABSTOPS = 0x80;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x100;
constexpr DWORD LBS_MULTICOLUMN = 0x200;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x400;
constexpr DWORD LBS_EXTENDEDSEL = 0x800;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;
constexpr DWORD LBS_NOSEL = 0x4000;

constexpr UINT LB_ADDSTRING = 0x180;
constexpr UINT LB_INSERTSTRING = 0x181;
constexpr UINT LB_DELETESTRING = 0x182;
constexpr UINT LB_RESETCONTENT = 0x184;
constexpr UINT LB_SETSEL = 0x185;
constexpr UINT LB_SETCURSEL = 0x186;
constexpr UINT LB_GETSEL = 0x187;
constexpr UINT LB_GETCURSEL = 0x188;
constexpr UINT LB_GETTEXT = 0x189;
constexpr UINT LB_GETTEXTLEN = 0x18A;
constexpr UINT LB_GETCOUNT = 0x18B;
constexpr UINT LB_SELECTSTRING = 0x18C;
constexpr UINT LB_GETTOPINDEX = 0x18E;
constexpr UINT LB_FINDSTRING = 0x18F;
constexpr UINT LB_GETSELCOUNT = 0x190;
constexpr UINT LB_GETSELITEMS = 0x191;
constexpr UINT LB_SETTABSTOPS = 0x192;
constexpr UINT LB_GETHORIZONTALEXTENT = 0x193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x194;
constexpr UINT LB_SETCOLUMNWIDTH = 0x195;
constexpr UINT LB_SETTOPINDEX = 0x197;
constexpr UINT LB_GETITEMRECT = 0x198;
constexpr UINT LB_GETITEMDATA = 0x199;
constexpr UINT LB_SETITEMDATA = 0x19A;
constexpr UINT LB_SELITEMRANGE = 0x19B;
constexpr UINT LB_SETANCHORINDEX = 0x19C;
constexpr UINT LB_GETANCHORINDEX = 0x19D;
constexpr UINT LB_SETCARETINDEX = 0x19E;
constexpr UINT LB_GETCARETINDEX = 0x19F;
constexpr UINT LB_SETITEMHEIGHT = 0x1A0;
constexpr UINT LB_GETITEMHEIGHT = 0x1A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x1A2;
constexpr UINT LB_ITEMFROMPOINT = 0x1A9;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

constexpr UINT LBN_ERRSPACE = UINT(-2);
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr UINT LBN_SELCANCEL = 3;
constexpr UINT LBN_SETFOCUS = 4;
constexpr UINT LBN_KILLFOCUS = 5;

// Registers the class "LISTBOX" when it is not yet registered.
void RegisterListBoxClass();

// ---------------------------------------------------------------- TCustomListBox

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TCustomListBox;

// The items of a list box: the window's own items while it exists, a plain
// list before and between windows.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}

    int Count() const override;
    std::string Strings(int Index) const override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    void SetStrings(int Index, const std::string& S) override;
    int Add(const std::string& S) override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void Insert(int Index, const std::string& S) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    int IndexOf(const std::string& S) const override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    void Check(int Index, bool AllowEnd = false) const;
    TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    int Count() { return FItems->Count(); }
    void Clear() { FItems->Clear(); }
    // Setting it fires no event.
    int ItemIndex();
    void SetItemIndex(int Value);
    int TopIndex();
    void SetTopIndex(int Value);
    int ItemHeight();
    void SetItemHeight(int Value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);
    int ScrollWidth();
    void SetScrollWidth(int Value);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int SelCount();
    bool Selected(int Index);
    void SetSelected(int Index, bool Value);
    // -1 outside every item when Existing, else the count past the last.
    int ItemAtPos(TPoint Pos, bool Existing);
    TRect ItemRect(int Index);
    TCanvas* Canvas() { return &FCanvas; }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    friend class TListBoxStrings;
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void KeyPress(unsigned& Key) override;
    void FreeDeviceContexts() override;
    virtual void CNCommand(TMessage& Message);
    virtual void CNDrawItem(TMessage& Message);
    virtual void CNMeasureItem(TMessage& Message);
    [[noreturn]] void IndexError(int Index) const;

    std::unique_ptr<TListBoxStrings> FItems;
    // The items while there is no window.
    TStringList FSaved;
    TControlCanvas FCanvas;
    TListBoxStyle FStyle = lbStandard;
    int FColumns = 0;
    bool FSorted = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FIntegralHeight = false;
    int FTabWidth = 0;
    int FScrollWidth = 0;
    bool FAutoComplete = true;
    TBorderStyle FBorderStyle = bsSingle;
    int FItemHeight = 16;
    int FSavedItemIndex = -1;
    std::string FSavedItemText;
    int FSavedTopIndex = 0;
    std::string FFilter;
    DWORD FLastTime = 0;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------- combo box styles and messages

constexpr DWORD CBS_SIMPLE = 0x1;
constexpr DWORD CBS_DROPDOWN = 0x2;
constexpr DWORD CBS_DROPDOWNLIST = 0x3;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x10;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x20;
constexpr DWORD CBS_AUTOHSCROLL = 0x40;
constexpr DWORD CBS_SORT = 0x100;
constexpr DWORD CBS_HASSTRINGS = 0x200;

constexpr UINT CB_GETEDITSEL = 0x140;
constexpr UINT CB_LIMITTEXT = 0x141;
constexpr UINT CB_SETEDITSEL = 0x142;
constexpr UINT CB_ADDSTRING = 0x143;
constexpr UINT CB_DELETESTRING = 0x144;
constexpr UINT CB_GETCOUNT = 0x146;
constexpr UINT CB_GETCURSEL = 0x147;
constexpr UINT CB_GETLBTEXT = 0x148;
constexpr UINT CB_GETLBTEXTLEN = 0x149;
constexpr UINT CB_INSERTSTRING = 0x14A;
constexpr UINT CB_RESETCONTENT = 0x14B;
constexpr UINT CB_FINDSTRING = 0x14C;
constexpr UINT CB_SELECTSTRING = 0x14D;
constexpr UINT CB_SETCURSEL = 0x14E;
constexpr UINT CB_SHOWDROPDOWN = 0x14F;
constexpr UINT CB_GETITEMDATA = 0x150;
constexpr UINT CB_SETITEMDATA = 0x151;
constexpr UINT CB_SETITEMHEIGHT = 0x153;
constexpr UINT CB_GETDROPPEDSTATE = 0x157;
constexpr UINT CB_FINDSTRINGEXACT = 0x158;

constexpr LRESULT CB_ERR = -1;

constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_DBLCLK = 2;
constexpr UINT CBN_SETFOCUS = 3;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr UINT CBN_EDITUPDATE = 6;
constexpr UINT CBN_DROPDOWN = 7;
constexpr UINT CBN_CLOSEUP = 8;
constexpr UINT CBN_SELENDOK = 9;
constexpr UINT CBN_SELENDCANCEL = 10;

// Registers the class "COMBOBOX" (and what it needs) when not yet registered.
void RegisterComboBoxClass();
// The drop-down list of a combo box window (a popup list box), for tests
// and for code that looks at it.
HWND ComboDropDownList(HWND Combo);

// ---------------------------------------------------------------- TCustomComboBox

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* Items() { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    // Setting it fires no event.
    int ItemIndex();
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = std::max(1, Value); }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool DroppedDown();
    void SetDroppedDown(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    friend class TComboBoxStrings;
    virtual void Change();
    virtual void Select();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void CNCommand(TMessage& Message);

    std::unique_ptr<TStrings> FItems;
    TStringList FSaved;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    bool FSorted = false;
    int FMaxLength = 0;
    int FSavedItemIndex = -1;
    std::string FSavedItemText;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
