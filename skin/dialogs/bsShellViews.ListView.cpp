#include "skin/dialogs/bsShellViews.h"

#include "platform/core/Conversions.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Masks.h"
#include "platform/core/Strings.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/dialogs/bsShellViewsInternal.h"
#include "skin/model/bsSkinData.Component.h"
#include "skin/model/bsSkinData.ResStr.h"

#include <algorithm>
#include <cstdint>

namespace {

// The window system's key code of F5 (it names F1 to F4 only).
constexpr WORD KeyF5 = 0x74;

// The unit sort state: set by a list just before it sorts, cleared after.
struct TSortState {
    TbsShellFolder* Folder = nullptr;
    bool Custom = false;
    HWND ListWindow = nullptr;
    int Column = -1;
    bool Descending = false;
};
TSortState SortState;

int Sign(std::int64_t V) {
    return V > 0 ? 1 : V < 0 ? -1 : 0;
}

const char* const DefaultCaptions[4][2] = {
    {"FLV_NAME", "Name"}, {"FLV_SIZE", "Size"}, {"FLV_TYPE", "Type"}, {"FLV_MODIFIED", "Modified"}};
const int DefaultWidths[4] = {25, 10, 10, 14};
const TAlignment DefaultAlignments[4] = {taLeftJustify, taRightJustify, taLeftJustify,
                                         taLeftJustify};

TAlignment AlignmentOf(int Format) {
    switch (Format & 3) {
    case LVCFMT_RIGHT:
        return taRightJustify;
    case LVCFMT_CENTER:
        return taCenter;
    default:
        return taLeftJustify;
    }
}

} // namespace

// ---------------------------------------------------------------- life

TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {
    InitShellControls();
    SetOwnerData(true);
    FObjectTypes = TShellObjectTypes{otFolders, otNonFolders};
    SHFILEINFO Info;
    FSmallImages = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    FLargeImages =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX));
    SetRoot("rfDesktop");
    SetHideSelection(false);
}

TbsCustomShellListView::~TbsCustomShellListView() {
    delete FNotifier;
    FNotifier = nullptr;
    delete FRootFolder;
    FRootFolder = nullptr;
    for (TbsShellFolder* Folder : FFolders)
        delete Folder;
    FFolders.clear();
}

void TbsCustomShellListView::Loaded() {
    TbsSkinCustomListView::Loaded();
    Populate();
    SetAutoRefresh(FAutoRefresh);
}

void TbsCustomShellListView::CreateWnd() {
    TbsSkinCustomListView::CreateWnd();
    if (HandleAllocated()) {
        if (FSmallImages)
            SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(FSmallImages));
        if (FLargeImages)
            SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(FLargeImages));
    }
    // A re-created window (a new skin, a new style) keeps the folder shown.
    if (!FRootFolder)
        LoadRoot();
    RootChanged();
}

void TbsCustomShellListView::DestroyWnd() {
    ClearFolders();
    TbsSkinCustomListView::DestroyWnd();
}

TbsShellFolder* TbsCustomShellListView::Folders(int Index) const {
    return Index >= 0 && Index < int(FFolders.size()) ? FFolders[std::size_t(Index)] : nullptr;
}

void TbsCustomShellListView::ClearFolders() {
    if (!ComponentState().Contains(csDestroying))
        Items()->SetCount(0);
    for (TbsShellFolder* Folder : FFolders)
        delete Folder;
    FFolders.clear();
}

// ---------------------------------------------------------------- properties

void TbsCustomShellListView::LoadRoot() {
    FRootFolder = CreateRootFolder(FRootFolder, FOldRoot, FRoot);
}

void TbsCustomShellListView::SetRoot(const TRoot& Value) {
    if (SameText(Value, FRoot))
        return;
    FOldRoot = FRoot;
    FRoot = Value;
    LoadRoot();
    FSettingRoot = true;
    RootChanged();
}

void TbsCustomShellListView::RootChanged() {
    if (FUpdating)
        return;
    TbsFlagScope Updating(FUpdating);
    const bool WasAutoRefresh = FAutoRefresh;
    SetAutoRefresh(false);
    SyncLinked();
    Populate();
    if (ViewStyle() == vsReport)
        EnumColumns();
    SetAutoRefresh(WasAutoRefresh);
}

void TbsCustomShellListView::SetMask(const std::string& Value) {
    if (Value == FMask)
        return;
    FMask = Value;
    RootChanged();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes Value) {
    FObjectTypes = Value;
    if (!IsLoading())
        RootChanged();
}

void TbsCustomShellListView::SetSorted(bool Value) {
    if (FSorted == Value)
        return;
    FSorted = Value;
    Populate();
}

void TbsCustomShellListView::SetViewStyle(TViewStyle Value) {
    TbsSkinCustomListView::SetViewStyle(Value);
    if (Value == vsReport)
        EnumColumns();
}

void TbsCustomShellListView::SetAutoRefresh(bool Value) {
    FAutoRefresh = Value;
    if (IsLoading())
        return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!Value)
        return;
    FNotifier = new TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    if (FRootFolder)
        FNotifier->SetRoot(FRootFolder->PathName());
    FNotifier->SetOnChange([this] { Refresh(); });
}

std::string TbsCustomShellListView::Path() const {
    return FRootFolder ? FRootFolder->PathName() : std::string();
}

void TbsCustomShellListView::SetPath(const std::string& Value) {
    PItemIDList ID = nullptr;
    ULONG Eaten = 0;
    if (FAILED(DesktopFolder()->ShellFolder()->ParseDisplayName(nullptr, Value, &Eaten, &ID,
                                                                nullptr)) ||
        !ID)
        throw EInvalidPath("Error setting path: \"%s\"", {Value});
    TItemIdListHolder Holder(ID);
    OpenFolder(ID);
}

// ---------------------------------------------------------------- moving

void TbsCustomShellListView::OpenFolder(const ITEMIDLIST* ID) {
    if (FUpdating || !ID)
        return;
    if (FRootFolder && SameItemIdList(FRootFolder->AbsoluteID(), ID))
        return;
    delete FRootFolder;
    FRootFolder = nullptr;
    FSettingRoot = false;
    FRootFolder = CreateFolderFromItemIdList(ID);
    RootChanged();
    if (OnPathChanged)
        OnPathChanged(this);
}

void TbsCustomShellListView::SyncToFolder(const ITEMIDLIST* ID) {
    if (FUpdating)
        return;
    if (!FRootFolder || !SameItemIdList(FRootFolder->AbsoluteID(), ID))
        OpenFolder(ID);
}

void TbsCustomShellListView::Back() {
    if (!FRootFolder)
        return;
    TItemIdListHolder Parent(CopyItemIdList(FRootFolder->AbsoluteID()));
    RemoveLastItemId(Parent.get());
    OpenFolder(Parent.get());
}

void TbsCustomShellListView::Refresh() {
    if (!FRootFolder)
        return;
    const int Index = ItemIndex();
    SetItemIndex(-1);
    TItemIdListHolder Copy(CopyItemIdList(FRootFolder->AbsoluteID()));
    delete FRootFolder;
    FRootFolder = nullptr;
    OpenFolder(Copy.get());
    if (Index >= 0 && Index < Items()->Count())
        SetItemIndex(Index);
}

TbsShellFolder* TbsCustomShellListView::SelectedFolder() {
    return Folders(ItemIndex());
}

std::string TbsCustomShellListView::GetSelectedFile() {
    TbsShellFolder* Folder = SelectedFolder();
    return Folder && !Folder->IsFolder() ? Folder->FullObjectName() : std::string();
}

void TbsCustomShellListView::GetSelectedFiles(TStrings* AFiles) {
    AFiles->Clear();
    if (!HandleAllocated())
        return;
    int Index = -1;
    while ((Index = int(SendMessage(Handle(), LVM_GETNEXTITEM, WPARAM(Index), LVNI_SELECTED))) >=
           0) {
        TbsShellFolder* Folder = Folders(Index);
        if (Folder && !Folder->IsFolder())
            AFiles->Add(Folder->FullObjectName());
    }
}

// ---------------------------------------------------------------- filling

bool TbsCustomShellListView::MaskAdmits(TbsShellFolder* Folder) const {
    const std::string Name = ExtractFileName(Folder->FullObjectName());
    std::string Part;
    auto Try = [&](const std::string& P) {
        if (P == "*")
            return true;
        return P.find('.') != std::string::npos && MatchesMask(Name, P);
    };
    for (char C : FMask) {
        if (C == ';' || C == '|') {
            if (Try(Part))
                return true;
            Part.clear();
        } else {
            Part += C;
        }
    }
    return !Part.empty() && Try(Part);
}

void TbsCustomShellListView::Populate() {
    if (IsLoading() && !HandleAllocated())
        return;
    TbsUpdateBatch Batch(Items());
    ClearFolders();
    TbsHourGlass Cursor;
    if (!FRootFolder || !FRootFolder->ShellFolder())
        return;
    std::shared_ptr<IEnumIDList> Enum;
    const HWND Owner = Application ? Application->Handle() : nullptr;
    if (FAILED(FRootFolder->ShellFolder()->EnumObjects(Owner, EnumFlagsOf(FObjectTypes), Enum)) ||
        !Enum)
        return;
    PItemIDList ID = nullptr;
    ULONG Fetched = 0;
    while (Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) {
        TItemIdListHolder Holder(ID);
        PShellFolder Shell = BindShellFolder(FRootFolder->ShellFolder(), ID, nullptr);
        auto Folder = std::make_unique<TbsShellFolder>(FRootFolder, ID, Shell);
        bool CanAdd = Folder->IsFolder() || MaskAdmits(Folder.get());
        if (OnAddFolder)
            OnAddFolder(this, Folder.get(), CanAdd);
        if (CanAdd)
            FFolders.push_back(Folder.release());
    }
    Items()->SetCount(int(FFolders.size()));
    if (FSorted)
        SortFolders(false);
    ForgetFetchedItem();
}

void TbsCustomShellListView::ForgetFetchedItem() {
    // The base keeps the last item it fetched by index; after a refill or
    // a sort that index names another entry.
    FTempItem.reset();
}

// ---------------------------------------------------------------- sorting

TbsCustomShellListView::TSortKey& TbsCustomShellListView::SortKeyOf(TbsShellFolder* Folder) {
    static TSortKey Unused;
    return FSortKeys ? (*FSortKeys)[Folder] : (Unused = TSortKey{});
}

bool TbsCustomShellListView::SortIsFolder(TbsShellFolder* Folder) {
    TSortKey& Key = SortKeyOf(Folder);
    if (Key.IsFolder < 0)
        Key.IsFolder = Folder->IsFolder() ? 1 : 0;
    return Key.IsFolder == 1;
}

const TSearchRec& TbsCustomShellListView::SortFindData(TbsShellFolder* Folder) {
    TSortKey& Key = SortKeyOf(Folder);
    if (!Key.HasFindData) {
        Folder->ReadFindData(Key.FindData);
        Key.HasFindData = true;
    }
    return Key.FindData;
}

int TbsCustomShellListView::CompareFolders(TbsShellFolder* A, TbsShellFolder* B, bool Custom) {
    const bool FA = SortIsFolder(A), FB = SortIsFolder(B);
    // A column click in descending direction negates every result, this
    // one included, so folders then follow the files.
    const bool Negate = Custom && SortState.Descending;
    if (FA != FB)
        return (FB ? 1 : -1) * (Negate ? -1 : 1);
    int Result = 0;
    if (A->Parent() && A->Parent()->ShellFolder())
        Result = std::int16_t(
            A->Parent()->ShellFolder()->CompareIDs(0, A->RelativeID(), B->RelativeID()) & 0xFFFF);
    if (!Custom)
        return Result;
    const int Column = SortState.Column;
    auto Directed = [&](int R) { return SortState.Descending ? -R : R; };
    if (Column != 0) {
        A->LoadColumnDetails(SortState.Folder, SortState.ListWindow, 4);
        B->LoadColumnDetails(SortState.Folder, SortState.ListWindow, 4);
        if (A->DetailText(4).find(FormatSettings.TimeSeparator) == std::string::npos)
            return Directed(Result);
    }
    switch (Column) {
    case 0:
        Result = AnsiCompareText(A->DisplayName(), B->DisplayName());
        break;
    case 1:
        if (!FA)
            Result = Sign(FindDataSize(SortFindData(A)) - FindDataSize(SortFindData(B)));
        break;
    case 2:
        Result = AnsiCompareText(A->DetailText(2), B->DetailText(2));
        break;
    case 3: {
        const double TA = FindDataModified(SortFindData(A)), TB = FindDataModified(SortFindData(B));
        Result = TA > TB ? 1 : TA < TB ? -1 : 0;
        break;
    }
    default:
        break;
    }
    return Directed(Result);
}

void TbsCustomShellListView::SortFolders(bool Custom) {
    SortState.Folder = FRootFolder;
    SortState.Custom = Custom;
    SortState.ListWindow = HandleAllocated() ? Handle() : nullptr;
    SortState.Column = FSortColumn;
    SortState.Descending = FSortDirection;
    std::unordered_map<TbsShellFolder*, TSortKey> Keys;
    Keys.reserve(FFolders.size());
    FSortKeys = &Keys;
    struct TClear {
        TbsCustomShellListView* List;
        ~TClear() {
            SortState.Folder = nullptr;
            SortState.Custom = false;
            List->FSortKeys = nullptr;
        }
    } Clear{this};
    // Sorted in a copy: a comparison that raises (a file vanished since the
    // listing) leaves every entry in the list.
    std::vector<TbsShellFolder*> Sorted = FFolders;
    std::stable_sort(Sorted.begin(), Sorted.end(), [&](TbsShellFolder* A, TbsShellFolder* B) {
        return CompareFolders(A, B, Custom) < 0;
    });
    FFolders = std::move(Sorted);
}

void TbsCustomShellListView::ColClick(TListColumn* Column) {
    TbsSkinCustomListView::ColClick(Column);
    if (!Column)
        return;
    const int Index = Column->Index();
    if (Columns()->Count() < 4 && Index != 0)
        return;
    FOldSortColumn = FSortColumn;
    FSortColumn = Index;
    FSortDirection = FSortColumn == FOldSortColumn && FSortColumn != -1 ? !FSortDirection : false;
    TbsUpdateBatch Batch(Items());
    struct TForget {
        TbsCustomShellListView* List;
        ~TForget() { List->ForgetFetchedItem(); }
    } Forget{this};
    SortFolders(true);
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

// ---------------------------------------------------------------- columns

int TbsCustomShellListView::CharWidth() {
    TBitmap Probe;
    Probe.Canvas()->Font()->Assign(Font());
    return std::max(1, Probe.Canvas()->TextWidth("X"));
}

bool TbsCustomShellListView::AddColumn(const SHELLDETAILS& Details,
                                       std::vector<std::string>& Added) {
    const std::string Caption = StrRetText(nullptr, Details.str);
    if (Caption.empty())
        return true;
    for (const std::string& Other : Added)
        if (SameText(Other, Caption))
            return false;
    Added.push_back(Caption);
    TListColumn* Column = Columns()->Add();
    Column->SetCaption(Caption);
    Column->SetAlignment(AlignmentOf(Details.fmt));
    Column->SetWidth(Details.cxChar * CharWidth());
    return true;
}

void TbsCustomShellListView::EnumColumns() {
    if (!FRootFolder || !FRootFolder->ShellFolder())
        return;
    std::vector<std::string> Added;
    Columns()->BeginUpdate();
    struct TEnd {
        TListColumns* Columns;
        ~TEnd() { Columns->EndUpdate(); }
    } End{Columns()};
    Columns()->Clear();
    FRootFolder->SetViewHandle(HandleAllocated() ? Handle() : nullptr);
    if (const auto Folder2 = FRootFolder->ShellFolder2()) {
        bool SeenOnByDefault = false;
        for (UINT I = 0;; ++I) {
            SHELLDETAILS Details;
            if (FAILED(Folder2->GetDetailsOf(nullptr, I, &Details)))
                break;
            DWORD State = 0;
            Folder2->GetDefaultColumnState(I, &State);
            if (State & SHCOLSTATE_ONBYDEFAULT)
                SeenOnByDefault = true;
            else if (SeenOnByDefault)
                break;
            AddColumn(Details, Added);
        }
        return;
    }
    if (const auto Details = FRootFolder->ShellDetails()) {
        for (UINT I = 0;; ++I) {
            SHELLDETAILS Record;
            if (FAILED(Details->GetDetailsOf(nullptr, I, &Record)) || !AddColumn(Record, Added))
                break;
        }
        return;
    }
    TbsResourceStrData* Words = SkinData() ? SkinData()->ResourceStrData() : nullptr;
    const int Count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    for (int I = 0; I < Count; ++I) {
        TListColumn* Column = Columns()->Add();
        Column->SetCaption(Words ? Words->GetResStr(DefaultCaptions[I][0]) : DefaultCaptions[I][1]);
        Column->SetAlignment(DefaultAlignments[I]);
        Column->SetWidth(DefaultWidths[I] * CharWidth());
    }
}

// ---------------------------------------------------------------- owner data

bool TbsCustomShellListView::OwnerDataFetch(TListItem* Item, TItemRequests Request) {
    const int Index = Item ? Item->Index() : -1;
    TbsShellFolder* Folder = Folders(Index);
    if (!Folder)
        return true;
    if (Request.Contains(irText))
        Item->SetCaption(Folder->DisplayName());
    if (Request.Contains(irImage))
        Item->SetImageIndex(Folder->ImageIndex(ViewStyle() == vsIcon));
    if (ViewStyle() == vsReport && FRootFolder) {
        const int Count = Columns()->Count();
        Folder->LoadColumnDetails(FRootFolder, HandleAllocated() ? Handle() : nullptr, Count);
        Item->SubItems()->Clear();
        for (int I = 1; I < Count; ++I)
            Item->SubItems()->Add(Folder->DetailText(I));
    }
    return true;
}

int TbsCustomShellListView::OwnerDataFind(TItemFind Find, const std::string& FindString,
                                          const TPoint&, void*, int StartIndex, TSearchDirection,
                                          bool Wrap) {
    if ((Find != ifPartialString && Find != ifExactString) || StartIndex == -1)
        return -1;
    const int Count = int(FFolders.size());
    if (Count == 0)
        return -1;
    const std::string Wanted = UpperCase(FindString);
    int Index = std::clamp(StartIndex, 0, Count);
    for (int Examined = 0; Examined < Count; ++Examined, ++Index) {
        if (Index >= Count) {
            if (!Wrap)
                return -1;
            Index = 0;
        }
        if (UpperCase(FFolders[std::size_t(Index)]->DisplayName()).rfind(Wanted, 0) == 0)
            return Index;
    }
    return -1;
}

// ---------------------------------------------------------------- user actions

void TbsCustomShellListView::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomListView::KeyDown(Key, Shift);
    if (!FAutoNavigate)
        return;
    switch (Key) {
    case VK_BACK:
        if (!(HandleAllocated() && SendMessage(Handle(), LVM_GETEDITCONTROL, 0, 0)))
            Back();
        break;
    case VK_RETURN:
        if (Shift.Contains(ssAlt)) {
            InvokeShellVerb(SelectedFolder(), "properties");
            Key = 0;
        } else if (TbsShellFolder* Folder = SelectedFolder(); Folder && Folder->IsFolder()) {
            TItemIdListHolder ID(CopyItemIdList(Folder->AbsoluteID()));
            OpenFolder(ID.get());
        }
        break;
    case KeyF5:
        Refresh();
        break;
    default:
        break;
    }
}

void TbsCustomShellListView::DblClick() {
    if (FAutoNavigate)
        if (TbsShellFolder* Folder = SelectedFolder(); Folder && Folder->IsFolder()) {
            TItemIdListHolder ID(CopyItemIdList(Folder->AbsoluteID()));
            OpenFolder(ID.get());
        }
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (FAutoContext)
        if (TbsShellFolder* Folder = SelectedFolder()) {
            ShowShellContextMenu(this, Folder, MousePos.X, MousePos.Y);
            Handled = true;
            Refresh();
            return;
        }
    TbsSkinCustomListView::DoContextPopup(MousePos, Handled);
}

void TbsCustomShellListView::Edit(const LVITEM& Item) {
    if (!Item.pszText)
        return;
    TbsShellFolder* Folder = Folders(Item.iItem);
    if (!Folder)
        return;
    const std::string Text = Item.pszText;
    // An edit that ends as it began renames nothing: the shown name may
    // differ from the file's name.
    if (Text == Folder->DisplayName())
        return;
    Folder->Rename(Text);
    ForgetFetchedItem();
    if (HandleAllocated())
        SendMessage(Handle(), LVM_REDRAWITEMS, WPARAM(Item.iItem), LPARAM(Item.iItem));
    if (FTreeView && FTreeView->Selected())
        FTreeView->Refresh(FTreeView->Selected());
}

void TbsCustomShellListView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        if (const auto& Menu = ActiveContextMenu2()) {
            Menu->HandleMenuMsg(Message.Msg, Message.WParam, Message.LParam);
            Message.Result = 0;
        }
        break;
    default:
        break;
    }
    TbsSkinCustomListView::WndProc(Message);
}

// ---------------------------------------------------------------- commands

void TbsCustomShellListView::ExecuteCommand(const std::string& Verb, bool& Handled) {
    if (SameText(Verb, "rename")) {
        const int Index = ItemIndex();
        if (Index >= 0 && HandleAllocated())
            SendMessage(Handle(), LVM_EDITLABEL, WPARAM(Index), 0);
        Handled = true;
    }
}

void TbsCustomShellListView::CommandCompleted(const std::string& Verb, bool Succeeded) {
    if (Succeeded && (SameText(Verb, "delete") || SameText(Verb, "paste")))
        Refresh();
}
