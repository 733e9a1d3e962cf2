// TCustomListView with its columns and items. Each item of an ordinary view
// is a TListItem whose pointer is the window item's lParam; an owner-data
// view keeps no items and fills one temporary item per request.
#include "platform/forms/ListViews.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

#include <algorithm>

namespace {

[[noreturn]] void IndexError(int Index) {
    throw EListError("List index out of bounds (%d)", {Index});
}

} // namespace

// ---------------------------------------------------------------- sub-items

// The sub-item texts of an item; a change shows in the view at once.
class TSubItems : public TStringList {
public:
    explicit TSubItems(TListItem* Owner) : FOwner(Owner) {}

    void SetStrings(int Index, const std::string& S) override {
        TStringList::SetStrings(Index, S);
        Push(Index);
    }
    void Insert(int Index, const std::string& S) override {
        TStringList::Insert(Index, S);
        PushFrom(Index);
    }
    void InsertObject(int Index, const std::string& S, TObject* AObject) override {
        TStringList::InsertObject(Index, S, AObject);
        PushFrom(Index);
    }
    int AddObject(const std::string& S, TObject* AObject) override {
        int Index = TStringList::AddObject(S, AObject);
        PushFrom(Index);
        return Index;
    }
    void Delete(int Index) override {
        TStringList::Delete(Index);
        PushFrom(Index, 1);
    }
    void Clear() override {
        int Old = Count();
        TStringList::Clear();
        PushFrom(0, Old);
    }

private:
    void Push(int Index) {
        TCustomListView* View = FOwner->ListView();
        if (!View || !View->HandleAllocated() || View->OwnerData() || FOwner->FTempIndex >= 0)
            return;
        int Item = FOwner->Index();
        if (Item < 0)
            return;
        std::string Text = Index < Count() ? Strings(Index) : std::string();
        LVITEM LV;
        LV.iSubItem = Index + 1;
        LV.pszText = Text.data();
        SendMessage(View->Handle(), LVM_SETITEMTEXT, WPARAM(Item), LPARAM(&LV));
    }
    void PushFrom(int Index, int Extra = 0) {
        for (int I = Index; I < Count() + Extra; ++I)
            Push(I);
    }
    TListItem* FOwner;
};

// ---------------------------------------------------------------- TListColumn

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

TCustomListView* TListColumn::ListView() const {
    auto* Columns = dynamic_cast<TListColumns*>(Collection());
    return Columns ? Columns->Owner() : nullptr;
}

int TListColumn::Clamp(int Width) const {
    if (FMaxWidth > 0)
        Width = std::min(Width, FMaxWidth);
    return std::max(Width, FMinWidth);
}

void TListColumn::Apply() {
    if (TCustomListView* View = ListView())
        View->UpdateColumn(Index());
}

void TListColumn::SetCaption(const std::string& Value) {
    FCaption = Value;
    Apply();
}

int TListColumn::Width() {
    TCustomListView* View = ListView();
    if (View && View->HandleAllocated())
        FWidth = int(SendMessage(View->Handle(), LVM_GETCOLUMNWIDTH, WPARAM(Index()), 0));
    return FWidth;
}

void TListColumn::SetWidth(int Value) {
    FWidth = Clamp(Value);
    Apply();
}

// An auto-sized column fits its texts and caption, within its limits.
void TListColumn::SetAutoSize(bool Value) {
    FAutoSize = Value;
    FitWidth();
}

void TListColumn::FitWidth() {
    TCustomListView* View = ListView();
    if (!FAutoSize || !View || !View->HandleAllocated())
        return;
    SendMessage(View->Handle(), LVM_SETCOLUMNWIDTH, WPARAM(Index()),
                LPARAM(LVSCW_AUTOSIZE_USEHEADER));
    SetWidth(Width());
}

void TListColumn::SetMinWidth(int Value) {
    FMinWidth = std::max(0, Value);
    SetWidth(Width());
}

void TListColumn::SetMaxWidth(int Value) {
    FMaxWidth = std::max(0, Value);
    SetWidth(Width());
}

void TListColumn::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Apply();
}

void TListColumn::SetImageIndex(int Value) {
    FImageIndex = Value;
    Apply();
}

TListColumns::TListColumns(TCustomListView* Owner)
    : TCollection(TCollection::ItemClass<TListColumn>(), Owner), FOwner(Owner) {}

TListColumn* TListColumns::Add() {
    FOwner->FAddingColumn = true;
    auto* Column = static_cast<TListColumn*>(TCollection::Add());
    FOwner->FAddingColumn = false;
    FOwner->UpdateColumn(-1);
    return Column;
}

void TListColumns::Update(TCollectionItem* Item) {
    // A column under construction is added by Add once it is complete.
    if (!Item && FOwner && !FOwner->FAddingColumn)
        FOwner->UpdateColumn(-1);
}

// ---------------------------------------------------------------- TListItem

TListItem::TListItem(TListItems* Owner)
    : FOwner(Owner), FSubItems(std::make_unique<TSubItems>(this)) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const {
    return FOwner ? FOwner->Owner() : nullptr;
}

int TListItem::Index() const {
    if (FTempIndex >= 0)
        return FTempIndex;
    return FOwner ? FOwner->IndexOf(this) : -1;
}

void TListItem::SetCaption(const std::string& Value) {
    FCaption = Value;
    TCustomListView* View = ListView();
    if (View && View->HandleAllocated() && !View->OwnerData() && Index() >= 0) {
        LVITEM LV;
        LV.pszText = FCaption.data();
        SendMessage(View->Handle(), LVM_SETITEMTEXT, WPARAM(Index()), LPARAM(&LV));
    }
}

int TListItem::SubItemImages(int Index) const {
    if (Index < 0 || Index >= FSubItems->Count())
        IndexError(Index);
    return std::size_t(Index) < FSubItemImages.size() ? FSubItemImages[std::size_t(Index)] : -1;
}

void TListItem::SetSubItemImages(int Index, int Value) {
    if (Index < 0 || Index >= FSubItems->Count())
        IndexError(Index);
    if (FSubItemImages.size() <= std::size_t(Index))
        FSubItemImages.resize(std::size_t(Index) + 1, -1);
    FSubItemImages[std::size_t(Index)] = Value;
    TCustomListView* View = ListView();
    if (View && View->HandleAllocated() && !View->OwnerData() && this->Index() >= 0)
        View->SendSubItemImage(this, Index);
    Update();
}

void TListItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    TCustomListView* View = ListView();
    if (View && View->HandleAllocated() && !View->OwnerData() && this->Index() >= 0) {
        LVITEM LV;
        LV.mask = LVIF_IMAGE;
        LV.iItem = this->Index();
        LV.iImage = Value;
        SendMessage(View->Handle(), LVM_SETITEM, 0, LPARAM(&LV));
    }
}

void TListItem::SetStateIndex(int Value) {
    FStateIndex = Value;
    TCustomListView* View = ListView();
    if (View && View->HandleAllocated() && !View->OwnerData() && Index() >= 0)
        View->SendStateIndex(this);
    Update();
}

bool TListItem::GetState(UINT State) const {
    TCustomListView* View = ListView();
    if (!View || Index() < 0)
        return false;
    return SendMessage(View->Handle(), LVM_GETITEMSTATE, WPARAM(Index()), LPARAM(State)) != 0;
}

void TListItem::SetState(UINT State, bool Value) {
    TCustomListView* View = ListView();
    if (!View || Index() < 0)
        return;
    LVITEM LV;
    LV.stateMask = State;
    LV.state = Value ? State : 0;
    SendMessage(View->Handle(), LVM_SETITEMSTATE, WPARAM(Index()), LPARAM(&LV));
}

TPoint TListItem::Position() const {
    TPoint P;
    if (TCustomListView* View = ListView())
        SendMessage(View->Handle(), LVM_GETITEMPOSITION, WPARAM(Index()), LPARAM(&P));
    return P;
}

TRect TListItem::DisplayRect(TDisplayCode Code) const {
    static const int Codes[] = {LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, LVIR_SELECTBOUNDS};
    TRect R;
    R.Left = Codes[Code];
    if (TCustomListView* View = ListView())
        if (!SendMessage(View->Handle(), LVM_GETITEMRECT, WPARAM(Index()), LPARAM(&R)))
            R = {};
    return R;
}

void TListItem::Delete() {
    if (FOwner)
        FOwner->Delete(Index());
}

void TListItem::MakeVisible(bool PartialOK) {
    if (TCustomListView* View = ListView())
        SendMessage(View->Handle(), LVM_ENSUREVISIBLE, WPARAM(Index()), PartialOK);
}

bool TListItem::EditCaption() {
    TCustomListView* View = ListView();
    return View && SendMessage(View->Handle(), LVM_EDITLABEL, WPARAM(Index()), 0) != 0;
}

void TListItem::CancelEdit() {
    if (TCustomListView* View = ListView())
        SendMessage(View->Handle(), LVM_CANCELEDITLABEL, 0, 0);
}

void TListItem::Update() {
    TCustomListView* View = ListView();
    if (View && View->HandleAllocated())
        SendMessage(View->FHandle, LVM_UPDATE, WPARAM(Index()), 0);
}

void TListItem::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TListItem*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    SetCaption(Other->FCaption);
    FData = Other->FData;
    SetImageIndex(Other->FImageIndex);
    FStateIndex = Other->FStateIndex;
    FSubItemImages = Other->FSubItemImages;
    FSubItems->Assign(Other->FSubItems.get());
}

// ---------------------------------------------------------------- TListItems

TListItems::~TListItems() {
    for (TListItem* Item : FItems)
        delete Item;
}

int TListItems::Count() const {
    if (FOwner->OwnerData())
        return FOwner->HandleAllocated() ? int(SendMessage(FOwner->FHandle, LVM_GETITEMCOUNT, 0, 0))
                                         : FOwner->FOwnerDataCount;
    return int(FItems.size());
}

void TListItems::SetCount(int Value) {
    if (!FOwner->OwnerData())
        return;
    FOwner->FOwnerDataCount = std::max(0, Value);
    if (FOwner->HandleAllocated())
        SendMessage(FOwner->FHandle, LVM_SETITEMCOUNT, WPARAM(FOwner->FOwnerDataCount), 0);
}

TListItem* TListItems::Item(int Index) const {
    if (FOwner->OwnerData()) {
        if (Index < 0 || Index >= Count())
            IndexError(Index);
        return FOwner->OwnerDataItem(Index);
    }
    if (Index < 0 || Index >= int(FItems.size()))
        IndexError(Index);
    return FItems[std::size_t(Index)];
}

int TListItems::IndexOf(const TListItem* Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

TListItem* TListItems::Add() {
    return AddItem(nullptr, -1);
}

TListItem* TListItems::Insert(int Index) {
    return AddItem(nullptr, Index);
}

TListItem* TListItems::AddItem(TListItem* Item, int Index) {
    if (FOwner->OwnerData())
        throw EListError("Operation not allowed on an owner-data list view");
    if (Index < 0 || Index > int(FItems.size()))
        Index = int(FItems.size());
    auto* New = new TListItem(this);
    if (Item)
        New->Assign(Item);
    int At = Index;
    if (FOwner->HandleAllocated()) {
        LVITEM LV;
        LV.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        LV.iItem = Index;
        LV.pszText = New->FCaption.data();
        LV.lParam = LPARAM(New);
        LV.iImage = New->FImageIndex;
        // The item must be known before the view's notifications name it.
        FItems.insert(FItems.begin() + Index, New);
        At = int(SendMessage(FOwner->FHandle, LVM_INSERTITEM, 0, LPARAM(&LV)));
        if (At != Index && At >= 0) {
            FItems.erase(FItems.begin() + Index);
            FItems.insert(FItems.begin() + At, New);
        }
        for (int I = 0; I < New->FSubItems->Count(); ++I) {
            std::string Text = New->FSubItems->Strings(I);
            LVITEM Sub;
            Sub.iSubItem = I + 1;
            Sub.pszText = Text.data();
            SendMessage(FOwner->FHandle, LVM_SETITEMTEXT, WPARAM(At), LPARAM(&Sub));
        }
    } else {
        FItems.insert(FItems.begin() + Index, New);
        FOwner->InsertItem(New);
    }
    return New;
}

void TListItems::Delete(int Index) {
    if (FOwner->OwnerData()) {
        if (Index < 0 || Index >= Count())
            IndexError(Index);
        SendMessage(FOwner->Handle(), LVM_DELETEITEM, WPARAM(Index), 0);
        return;
    }
    if (Index < 0 || Index >= int(FItems.size()))
        IndexError(Index);
    TListItem* Item = FItems[std::size_t(Index)];
    if (FOwner->HandleAllocated())
        SendMessage(FOwner->FHandle, LVM_DELETEITEM, WPARAM(Index), 0);
    else
        FOwner->Delete(Item);
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    if (It != FItems.end())
        FItems.erase(It);
    if (FOwner->FEditingItem == Item)
        FOwner->FEditingItem = nullptr;
    delete Item;
}

void TListItems::Clear() {
    if (FOwner->OwnerData()) {
        SetCount(0);
        return;
    }
    BeginUpdate();
    while (!FItems.empty())
        Delete(int(FItems.size()) - 1);
    EndUpdate();
}

void TListItems::BeginUpdate() {
    if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
        SendMessage(FOwner->FHandle, WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner->HandleAllocated()) {
        SendMessage(FOwner->FHandle, WM_SETREDRAW, TRUE, 0);
        FOwner->Invalidate();
    }
}

// ---------------------------------------------------------------- TCustomListView

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
    FWidth = 250;
    FHeight = 150;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush.SetColor(clWindow);
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
    FCanvas.SetControl(this);
}

TCustomListView::~TCustomListView() {
    FCanvas.SetControl(nullptr);
    // The items go before the window, so deleting them sends nothing.
    if (HandleAllocated())
        DestroyHandle();
}

DWORD TCustomListView::ViewStyleBits(TViewStyle Value) {
    static const DWORD Bits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    return Bits[Value];
}

DWORD TCustomListView::ExtendedStyle() const {
    return (FGridLines ? LVS_EX_GRIDLINES : 0) | (FRowSelect ? LVS_EX_FULLROWSELECT : 0) |
           (FHotTrack ? LVS_EX_TRACKSELECT : 0) | LVS_EX_SUBITEMIMAGES;
}

void TCustomListView::CreateParams(TCreateParams& Params) {
    RegisterListViewClass();
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "SysListView32");
    Params.Style |= ViewStyleBits(FViewStyle) | LVS_SHAREIMAGELISTS | WS_HSCROLL | WS_VSCROLL;
    if (!FMultiSelect)
        Params.Style |= LVS_SINGLESEL;
    if (!FHideSelection)
        Params.Style |= LVS_SHOWSELALWAYS;
    if (!FReadOnly)
        Params.Style |= LVS_EDITLABELS;
    if (!FShowColumnHeaders)
        Params.Style |= LVS_NOCOLUMNHEADER;
    if (!FColumnClick)
        Params.Style |= LVS_NOSORTHEADER;
    if (FOwnerData)
        Params.Style |= LVS_OWNERDATA;
    if (FSortType == stText || FSortType == stBoth)
        Params.Style |= LVS_SORTASCENDING;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    FillWindow();
}

void TCustomListView::SendSubItemImage(TListItem* Item, int SubIndex) {
    LVITEM LV;
    LV.mask = LVIF_IMAGE;
    LV.iItem = Item->Index();
    LV.iSubItem = SubIndex + 1;
    LV.iImage = Item->FSubItemImages[std::size_t(SubIndex)];
    SendMessage(FHandle, LVM_SETITEM, 0, LPARAM(&LV));
}

// The state image is 1-based in the item's state; StateIndex -1 is none.
void TCustomListView::SendStateIndex(TListItem* Item) {
    LVITEM LV;
    LV.stateMask = LVIS_STATEIMAGEMASK;
    LV.state = UINT(std::max(0, Item->FStateIndex + 1) << 12) & LVIS_STATEIMAGEMASK;
    SendMessage(FHandle, LVM_SETITEMSTATE, WPARAM(Item->Index()), LPARAM(&LV));
}

void TCustomListView::FillWindow() {
    HWND Wnd = FHandle;
    SendMessage(Wnd, WM_SETREDRAW, FALSE, 0);
    SendMessage(Wnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(ExtendedStyle()));
    if (FSmallImages)
        SendMessage(Wnd, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(FSmallImages->Handle()));
    if (FLargeImages)
        SendMessage(Wnd, LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(FLargeImages->Handle()));
    if (FStateImages)
        SendMessage(Wnd, LVM_SETIMAGELIST, LVSIL_STATE, LPARAM(FStateImages->Handle()));
    UpdateColumn(-1);
    if (FOwnerData) {
        SendMessage(Wnd, LVM_SETITEMCOUNT, WPARAM(FOwnerDataCount), 0);
    } else {
        std::vector<TListItem*> Items;
        Items.swap(FItems->FItems);
        for (TListItem* Item : Items) {
            FItems->FItems.push_back(Item);
            LVITEM LV;
            LV.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
            LV.iItem = int(FItems->FItems.size()) - 1;
            LV.pszText = Item->FCaption.data();
            LV.lParam = LPARAM(Item);
            LV.iImage = Item->FImageIndex;
            int At = int(SendMessage(Wnd, LVM_INSERTITEM, 0, LPARAM(&LV)));
            if (At != LV.iItem && At >= 0) {
                FItems->FItems.pop_back();
                FItems->FItems.insert(FItems->FItems.begin() + At, Item);
            }
            for (int I = 0; I < Item->FSubItems->Count(); ++I) {
                std::string Text = Item->FSubItems->Strings(I);
                LVITEM Sub;
                Sub.iSubItem = I + 1;
                Sub.pszText = Text.data();
                SendMessage(Wnd, LVM_SETITEMTEXT, WPARAM(At), LPARAM(&Sub));
            }
            for (std::size_t I = 0; I < Item->FSubItemImages.size(); ++I)
                SendSubItemImage(Item, int(I));
            if (Item->FStateIndex >= 0)
                SendStateIndex(Item);
        }
    }
    for (std::size_t I = 0; I < FSavedStates.size() && int(I) < FItems->Count(); ++I)
        if (FSavedStates[I]) {
            LVITEM LV;
            LV.stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;
            LV.state = FSavedStates[I];
            SendMessage(Wnd, LVM_SETITEMSTATE, I, LPARAM(&LV));
        }
    FSavedStates.clear();
    for (int I = 0; I < FColumns->Count(); ++I)
        FColumns->Items(I)->FitWidth();
    SendMessage(Wnd, WM_SETREDRAW, TRUE, 0);
    if (FSavedTop > 0)
        SendMessage(Wnd, LVM_ENSUREVISIBLE,
                    WPARAM(std::min(FItems->Count() - 1, FSavedTop + VisibleRowCount() - 1)), 0);
    FSavedTop = 0;
}

void TCustomListView::DestroyWnd() {
    HWND Wnd = FHandle;
    int N = int(SendMessage(Wnd, LVM_GETITEMCOUNT, 0, 0));
    FSavedStates.assign(std::size_t(N), 0);
    for (int I = 0; I < N; ++I)
        FSavedStates[std::size_t(I)] =
            UINT(SendMessage(Wnd, LVM_GETITEMSTATE, WPARAM(I),
                             LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED));
    FSavedTop = int(SendMessage(Wnd, LVM_GETTOPINDEX, 0, 0));
    for (int I = 0; I < FColumns->Count(); ++I)
        FColumns->Items(I)->FWidth = int(SendMessage(Wnd, LVM_GETCOLUMNWIDTH, WPARAM(I), 0));
    if (FOwnerData)
        FOwnerDataCount = N;
    // Items leave the window quietly: they stay in the wrapper.
    FUpdating++;
    TWinControl::DestroyWnd();
    FUpdating--;
}

void TCustomListView::FreeDeviceContexts() {
    FCanvas.FreeHandle();
}

void TCustomListView::UpdateColumn(int Index) {
    if (!HandleAllocated())
        return;
    HWND Wnd = FHandle;
    auto Describe = [&](TListColumn* C, LVCOLUMN& LV, std::string& Text) {
        static const int Formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
        Text = C->FCaption;
        LV.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        LV.fmt = Formats[C->FAlignment];
        LV.cx = C->FWidth;
        LV.pszText = Text.data();
        LV.iSubItem = C->Index();
        if (C->FImageIndex >= 0) {
            LV.mask |= LVCF_IMAGE;
            LV.iImage = C->FImageIndex;
        }
    };
    if (Index >= 0 && Index < FColumns->Count()) {
        LVCOLUMN LV;
        std::string Text;
        Describe(FColumns->Items(Index), LV, Text);
        SendMessage(Wnd, LVM_SETCOLUMN, WPARAM(Index), LPARAM(&LV));
        return;
    }
    // The whole set again: columns were added or removed.
    LVCOLUMN Probe;
    Probe.mask = LVCF_WIDTH;
    while (SendMessage(Wnd, LVM_GETCOLUMN, 0, LPARAM(&Probe)))
        SendMessage(Wnd, LVM_DELETECOLUMN, 0, 0);
    for (int I = 0; I < FColumns->Count(); ++I) {
        LVCOLUMN LV;
        std::string Text;
        Describe(FColumns->Items(I), LV, Text);
        SendMessage(Wnd, LVM_INSERTCOLUMN, WPARAM(I), LPARAM(&LV));
    }
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
    if (Value == FViewStyle)
        return;
    FViewStyle = Value;
    if (HandleAllocated()) {
        LONG_PTR Style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE,
                      (Style & ~LONG_PTR(LVS_TYPEMASK)) | LONG_PTR(ViewStyleBits(Value)));
        Invalidate();
    }
}

TListItem* TCustomListView::ItemOf(int Index) {
    if (Index < 0 || Index >= FItems->Count())
        return nullptr;
    return FItems->Item(Index);
}

TListItem* TCustomListView::OwnerDataItem(int Index) {
    if (!FTempItem)
        FTempItem = std::make_unique<TListItem>(FItems.get());
    TListItem* Item = FTempItem.get();
    if (Item->FTempIndex != Index) {
        Item->FTempIndex = Index;
        Item->FCaption.clear();
        Item->FSubItems->Clear();
        Item->FImageIndex = -1;
        OwnerDataFetch(Item, {irText, irImage});
    }
    return Item;
}

TListItem* TCustomListView::Selected() {
    if (!HandleAllocated())
        return nullptr;
    return ItemOf(int(SendMessage(FHandle, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
}

void TCustomListView::SetSelected(TListItem* Value) {
    if (Value) {
        if (!FMultiSelect)
            Value->SetSelected(true);
        else {
            LVITEM LV;
            LV.stateMask = LVIS_SELECTED;
            SendMessage(Handle(), LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&LV));
            Value->SetSelected(true);
        }
        return;
    }
    LVITEM LV;
    LV.stateMask = LVIS_SELECTED;
    SendMessage(Handle(), LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&LV));
}

int TCustomListView::ItemIndex() {
    TListItem* Item = Selected();
    return Item ? Item->Index() : -1;
}

void TCustomListView::SetItemIndex(int Value) {
    if (Value < 0)
        SetSelected(nullptr);
    else
        SetSelected(FItems->Item(Value));
}

TListItem* TCustomListView::ItemFocused() {
    return ItemOf(int(SendMessage(Handle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)));
}

void TCustomListView::SetItemFocused(TListItem* Value) {
    if (Value)
        Value->SetFocused(true);
    else if (TListItem* Old = ItemFocused())
        Old->SetFocused(false);
}

int TCustomListView::SelCount() {
    return HandleAllocated() ? int(SendMessage(FHandle, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

namespace {
void ChangeStyle(TWinControl* Control, DWORD Bits, bool On) {
    if (!Control->HandleAllocated())
        return;
    HWND Wnd = Control->Handle();
    LONG_PTR Style = GetWindowLong(Wnd, GWL_STYLE);
    SetWindowLong(Wnd, GWL_STYLE, On ? (Style | LONG_PTR(Bits)) : (Style & ~LONG_PTR(Bits)));
    Control->Invalidate();
}
} // namespace

void TCustomListView::SetMultiSelect(bool Value) {
    FMultiSelect = Value;
    ChangeStyle(this, LVS_SINGLESEL, !Value);
}

void TCustomListView::SetRowSelect(bool Value) {
    FRowSelect = Value;
    if (HandleAllocated())
        SendMessage(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(ExtendedStyle()));
}

void TCustomListView::SetGridLines(bool Value) {
    FGridLines = Value;
    if (HandleAllocated())
        SendMessage(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(ExtendedStyle()));
}

void TCustomListView::SetHotTrack(bool Value) {
    FHotTrack = Value;
    if (HandleAllocated())
        SendMessage(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(ExtendedStyle()));
}

void TCustomListView::SetReadOnly(bool Value) {
    FReadOnly = Value;
    ChangeStyle(this, LVS_EDITLABELS, !Value);
}

void TCustomListView::SetHideSelection(bool Value) {
    FHideSelection = Value;
    ChangeStyle(this, LVS_SHOWSELALWAYS, !Value);
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
    if (Value == FShowColumnHeaders)
        return;
    FShowColumnHeaders = Value;
    RecreateWnd();
}

void TCustomListView::SetColumnClick(bool Value) {
    if (Value == FColumnClick)
        return;
    FColumnClick = Value;
    RecreateWnd();
}

void TCustomListView::SetOwnerData(bool Value) {
    if (Value == FOwnerData)
        return;
    FItems->Clear();
    FOwnerData = Value;
    RecreateWnd();
}

void TCustomListView::SetImageList(TCustomImageList*& Field, TCustomImageList* Value,
                                   WPARAM Which) {
    if (Field)
        Field->RemoveFreeNotification(this);
    Field = Value;
    if (Value)
        Value->FreeNotification(this);
    if (HandleAllocated())
        SendMessage(FHandle, LVM_SETIMAGELIST, Which, LPARAM(Value ? Value->Handle() : nullptr));
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
    SetImageList(FSmallImages, Value, LVSIL_SMALL);
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
    SetImageList(FLargeImages, Value, LVSIL_NORMAL);
}

void TCustomListView::SetStateImages(TCustomImageList* Value) {
    SetImageList(FStateImages, Value, LVSIL_STATE);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSmallImages)
        SetSmallImages(nullptr);
    if (AComponent == FLargeImages)
        SetLargeImages(nullptr);
    if (AComponent == FStateImages)
        SetStateImages(nullptr);
}

void TCustomListView::SetSortType(TSortType Value) {
    if (Value == FSortType)
        return;
    FSortType = Value;
    if (Value != stNone)
        AlphaSort();
}

bool TCustomListView::CustomSort(TLVCompare SortProc, LPARAM LParam) {
    if (!HandleAllocated() || FOwnerData)
        return false;
    PFNLVCOMPARE Compare = SortProc;
    if (!Compare) {
        Compare = [this](LPARAM A, LPARAM B, LPARAM Data) {
            auto* X = reinterpret_cast<TListItem*>(A);
            auto* Y = reinterpret_cast<TListItem*>(B);
            int Result = 0;
            if (OnCompare)
                OnCompare(this, X, Y, int(Data), Result);
            else
                Result = AnsiCompareText(X->Caption(), Y->Caption());
            return Result;
        };
    }
    SendMessage(FHandle, LVM_SORTITEMS, WPARAM(LParam), LPARAM(&Compare));
    // The wrapper's order follows the window's.
    int N = int(SendMessage(FHandle, LVM_GETITEMCOUNT, 0, 0));
    std::vector<TListItem*> Order;
    for (int I = 0; I < N; ++I) {
        LVITEM LV;
        LV.mask = LVIF_PARAM;
        LV.iItem = I;
        SendMessage(FHandle, LVM_GETITEM, 0, LPARAM(&LV));
        Order.push_back(reinterpret_cast<TListItem*>(LV.lParam));
    }
    FItems->FItems = Order;
    return true;
}

bool TCustomListView::AlphaSort() {
    return CustomSort(nullptr, 0);
}

void TCustomListView::Scroll(int DX, int DY) {
    SendMessage(Handle(), LVM_SCROLL, WPARAM(DX), LPARAM(DY));
}

TListItem* TCustomListView::TopItem() {
    return ItemOf(int(SendMessage(Handle(), LVM_GETTOPINDEX, 0, 0)));
}

int TCustomListView::VisibleRowCount() {
    return int(SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
}

TPoint TCustomListView::ViewOrigin() {
    TPoint P;
    SendMessage(Handle(), LVM_GETORIGIN, 0, LPARAM(&P));
    return P;
}

TListItem* TCustomListView::GetItemAt(int X, int Y) {
    LVHITTESTINFO Info;
    Info.pt = {X, Y};
    return ItemOf(int(SendMessage(Handle(), LVM_HITTEST, 0, LPARAM(&Info))));
}

THitTests TCustomListView::GetHitTestInfoAt(int X, int Y) {
    LVHITTESTINFO Info;
    Info.pt = {X, Y};
    SendMessage(Handle(), LVM_HITTEST, 0, LPARAM(&Info));
    THitTests Result;
    if (Info.flags & LVHT_ABOVE)
        Result.Include(htAbove);
    if (Info.flags & LVHT_BELOW)
        Result.Include(htBelow);
    if (Info.flags & LVHT_NOWHERE)
        Result.Include(htNowhere);
    if (Info.flags & LVHT_ONITEMICON)
        Result.Include(htOnIcon);
    if (Info.flags & LVHT_ONITEMLABEL)
        Result.Include(htOnLabel);
    if (Info.flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL))
        Result.Include(htOnItem);
    if (Info.flags & LVHT_TOLEFT)
        Result.Include(htToLeft);
    if (Info.flags & LVHT_TORIGHT)
        Result.Include(htToRight);
    return Result;
}

TListItem* TCustomListView::FindCaption(int StartIndex, const std::string& Value, bool Partial,
                                        bool Inclusive, bool Wrap) {
    LVFINDINFO Info;
    Info.flags = LVFI_STRING | (Partial ? LVFI_PARTIAL : 0) | (Wrap ? LVFI_WRAP : 0);
    Info.psz = Value.c_str();
    int Start = Inclusive ? StartIndex - 1 : StartIndex;
    return ItemOf(int(SendMessage(Handle(), LVM_FINDITEM, WPARAM(Start), LPARAM(&Info))));
}

TListItem* TCustomListView::FindData(int StartIndex, void* Value, bool Inclusive, bool Wrap) {
    if (FOwnerData)
        return ItemOf(OwnerDataFind(ifData, {}, {}, Value, StartIndex, sdAll, Wrap));
    int N = FItems->Count();
    int From = Inclusive ? StartIndex : StartIndex + 1;
    for (int K = 0; K < N; ++K) {
        int I = From + K;
        if (I >= N) {
            if (!Wrap)
                break;
            I -= N;
        }
        if (FItems->Item(I)->Data() == Value)
            return FItems->Item(I);
    }
    return nullptr;
}

bool TCustomListView::IsEditing() {
    return HandleAllocated() && SendMessage(FHandle, LVM_GETEDITCONTROL, 0, 0) != 0;
}

// ---------------------------------------------------------------- hooks

bool TCustomListView::OwnerDataFetch(TListItem* Item, TItemRequests) {
    if (OnData) {
        OnData(this, Item);
        return true;
    }
    return false;
}

int TCustomListView::OwnerDataFind(TItemFind Find, const std::string& FindString,
                                   const TPoint& FindPosition, void* FindData, int StartIndex,
                                   TSearchDirection Direction, bool Wrap) {
    int Index = -1;
    if (OnDataFind)
        OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap,
                   Index);
    return Index;
}

bool TCustomListView::OwnerDataHint(int StartIndex, int EndIndex) {
    if (!OnDataHint)
        return false;
    OnDataHint(this, StartIndex, EndIndex);
    return true;
}

void TCustomListView::ColClick(TListColumn* Column) {
    if (OnColumnClick)
        OnColumnClick(this, Column);
}

bool TCustomListView::CanEdit(TListItem* Item) {
    bool Allow = true;
    if (OnEditing)
        OnEditing(this, Item, Allow);
    return Allow;
}

void TCustomListView::Edit(const LVITEM& LV) {
    TListItem* Item = FEditingItem;
    FEditingItem = nullptr;
    if (!LV.pszText || !Item)
        return;
    std::string S = LV.pszText;
    if (OnEdited)
        OnEdited(this, Item, S);
    if (!FOwnerData)
        Item->SetCaption(S);
}

bool TCustomListView::CanChange(TListItem* Item, int Change) {
    bool Allow = true;
    if (OnChanging)
        OnChanging(this, Item,
                   TItemChange(Change == LVIF_TEXT    ? ctText
                               : Change == LVIF_IMAGE ? ctImage
                                                      : ctState),
                   Allow);
    return Allow;
}

void TCustomListView::Change(TListItem* Item, int Change) {
    if (OnChange)
        OnChange(this, Item,
                 TItemChange(Change == LVIF_TEXT    ? ctText
                             : Change == LVIF_IMAGE ? ctImage
                                                    : ctState));
}

void TCustomListView::Delete(TListItem* Item) {
    if (OnDeletion && !FUpdating)
        OnDeletion(this, Item);
}

void TCustomListView::InsertItem(TListItem* Item) {
    if (OnInsert)
        OnInsert(this, Item);
}

// ---------------------------------------------------------------- notifications

void TCustomListView::HeaderNotify(NMHEADER* Header, LRESULT& Result) {
    (void)Result;
    // The columns' limits hold for what the header is asked to do, so a
    // hidden column of maximum width 1 cannot be dragged open.
    if ((Header->hdr.code == HDN_ITEMCHANGING || Header->hdr.code == HDN_TRACK) && Header->pitem &&
        (Header->pitem->mask & HDI_WIDTH) && Header->iItem >= 0 &&
        Header->iItem < FColumns->Count())
        Header->pitem->cxy = FColumns->Items(Header->iItem)->Clamp(Header->pitem->cxy);
    if (Header->hdr.code == HDN_ITEMCHANGED && Header->pitem && (Header->pitem->mask & HDI_WIDTH) &&
        Header->iItem >= 0 && Header->iItem < FColumns->Count())
        FColumns->Items(Header->iItem)->FWidth = Header->pitem->cxy;
}

void TCustomListView::CNNotify(TMessage& Message) {
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    Message.Result = 0;
    switch (H->code) {
    case LVN_ITEMCHANGING: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(H);
        if (!CanChange(ItemOf(N->iItem), int(N->uChanged)))
            Message.Result = 1;
        break;
    }
    case LVN_ITEMCHANGED: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(H);
        TListItem* Item = ItemOf(N->iItem);
        Change(Item, int(N->uChanged));
        if ((N->uChanged & LVIF_STATE) && ((N->uOldState ^ N->uNewState) & LVIS_SELECTED) &&
            OnSelectItem)
            OnSelectItem(this, Item, (N->uNewState & LVIS_SELECTED) != 0);
        break;
    }
    case LVN_INSERTITEM: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(H);
        InsertItem(ItemOf(N->iItem));
        break;
    }
    case LVN_DELETEITEM: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(H);
        if (!FOwnerData)
            Delete(reinterpret_cast<TListItem*>(N->lParam));
        break;
    }
    case LVN_DELETEALLITEMS:
        Message.Result = OnDeletion || FOwnerData ? 0 : 1;
        break;
    case LVN_COLUMNCLICK: {
        auto* N = reinterpret_cast<NMLISTVIEW*>(H);
        if (FColumnClick && N->iSubItem >= 0 && N->iSubItem < FColumns->Count())
            ColClick(FColumns->Items(N->iSubItem));
        break;
    }
    case LVN_GETDISPINFO: {
        auto* D = reinterpret_cast<NMLVDISPINFO*>(H);
        if (!FOwnerData)
            break;
        TListItem* Item = OwnerDataItem(D->item.iItem);
        if ((D->item.mask & LVIF_TEXT) && D->item.pszText && D->item.cchTextMax > 0) {
            std::string Text = D->item.iSubItem == 0 ? Item->Caption()
                               : D->item.iSubItem - 1 < Item->SubItems()->Count()
                                   ? Item->SubItems()->Strings(D->item.iSubItem - 1)
                                   : std::string();
            std::size_t N = std::min<std::size_t>(Text.size(), std::size_t(D->item.cchTextMax - 1));
            std::copy_n(Text.data(), N, D->item.pszText);
            D->item.pszText[N] = 0;
        }
        if ((D->item.mask & LVIF_IMAGE) && D->item.iSubItem == 0)
            D->item.iImage = Item->ImageIndex();
        else if ((D->item.mask & LVIF_IMAGE) && D->item.iSubItem - 1 < Item->SubItems()->Count())
            D->item.iImage = Item->SubItemImages(D->item.iSubItem - 1);
        break;
    }
    case LVN_ODCACHEHINT: {
        auto* C = reinterpret_cast<NMLVCACHEHINT*>(H);
        OwnerDataHint(C->iFrom, C->iTo);
        break;
    }
    case LVN_ODFINDITEM: {
        auto* F = reinterpret_cast<NMLVFINDITEM*>(H);
        TItemFind Find = (F->lvfi.flags & LVFI_PARAM)     ? ifData
                         : (F->lvfi.flags & LVFI_PARTIAL) ? ifPartialString
                         : (F->lvfi.flags & LVFI_STRING)  ? ifExactString
                                                          : ifNearest;
        Message.Result = OwnerDataFind(Find, F->lvfi.psz ? F->lvfi.psz : "", F->lvfi.pt,
                                       reinterpret_cast<void*>(F->lvfi.lParam), F->iStart, sdAll,
                                       (F->lvfi.flags & LVFI_WRAP) != 0);
        break;
    }
    case LVN_BEGINLABELEDIT: {
        auto* D = reinterpret_cast<NMLVDISPINFO*>(H);
        TListItem* Item = FOwnerData ? nullptr : ItemOf(D->item.iItem);
        if (!FOwnerData && !Item) {
            Message.Result = 1;
            break;
        }
        if (!CanEdit(Item)) {
            Message.Result = 1;
            break;
        }
        FEditingItem = Item;
        break;
    }
    case LVN_ENDLABELEDIT: {
        auto* D = reinterpret_cast<NMLVDISPINFO*>(H);
        Edit(D->item);
        // The wrapper set the caption itself.
        Message.Result = 0;
        break;
    }
    default:
        break;
    }
}

void TCustomListView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_NOTIFY:
        CNNotify(Message);
        return;
    case WM_NOTIFY: {
        auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
        if (H && HandleAllocated() &&
            H->hwndFrom == HWND(SendMessage(FHandle, LVM_GETHEADER, 0, 0))) {
            LRESULT Result = 0;
            HeaderNotify(reinterpret_cast<NMHEADER*>(H), Result);
        }
        break;
    }
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}
