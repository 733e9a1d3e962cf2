#include "skin/dialogs/bsShellFolders.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/PopupMenus.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

struct TUnitState {
    TbsShellFolder* Desktop = nullptr;
    TCriticalSection* Lock = nullptr;
    std::shared_ptr<IContextMenu2> ContextMenu2;
    bool Initialised = false;
};

TUnitState& State() {
    static TUnitState Unit;
    return Unit;
}

const char* const RootFolderNames[] = {
    "rfDesktop",        "rfMyComputer",       "rfNetwork",
    "rfRecycleBin",     "rfAppData",          "rfCommonDesktopDirectory",
    "rfCommonPrograms", "rfCommonStartMenu",  "rfCommonStartup",
    "rfControlPanel",   "rfDesktopDirectory", "rfFavorites",
    "rfFonts",          "rfInternet",         "rfPersonal",
    "rfPrinters",       "rfPrintHood",        "rfPrograms",
    "rfRecent",         "rfSendTo",           "rfStartMenu",
    "rfStartup",        "rfTemplates"};

const int RootFolderIds[] = {
    CSIDL_DESKTOP,         CSIDL_DRIVES,           CSIDL_NETWORK,
    CSIDL_BITBUCKET,       CSIDL_APPDATA,          CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_STARTUP,
    CSIDL_CONTROLS,        CSIDL_DESKTOPDIRECTORY, CSIDL_FAVORITES,
    CSIDL_FONTS,           CSIDL_INTERNET,         CSIDL_PERSONAL,
    CSIDL_PRINTERS,        CSIDL_PRINTHOOD,        CSIDL_PROGRAMS,
    CSIDL_RECENT,          CSIDL_SENDTO,           CSIDL_STARTMENU,
    CSIDL_STARTUP,         CSIDL_TEMPLATES};

ULONG AttributesAsked(const PShellFolder& Parent, const ITEMIDLIST* ID, ULONG Mask) {
    if (!Parent)
        return 0;
    ULONG Attributes = Mask;
    const ITEMIDLIST* IDs[] = {ID};
    // A failing query reads as absent attributes.
    if (FAILED(Parent->GetAttributesOf(1, IDs, &Attributes)))
        return 0;
    return Attributes;
}

int PlatformMajorVersion() {
    return static_cast<int>(GetVersion() & 0xFF);
}

template <class Interface> std::shared_ptr<Interface> Ask(HRESULT Result, const PUnknown& Object) {
    return SUCCEEDED(Result) ? std::dynamic_pointer_cast<Interface>(Object) : nullptr;
}

// The three ways a folder may hand out an interface for an item, in the
// order BindShellFolder and BindShellDetails ask them.
template <class Interface>
std::shared_ptr<Interface> BindThrough(const PShellFolder& Parent, const ITEMIDLIST* ID, HWND Owner,
                                       TInterfaceId Iid) {
    std::shared_ptr<Interface> Result;
    if (Parent) {
        PUnknown Object;
        Result = Ask<Interface>(Parent->BindToObject(ID, Iid, Object), Object);
        if (!Result) {
            const ITEMIDLIST* IDs[] = {ID};
            PUnknown UiObject, ViewObject;
            if (auto Found =
                    Ask<Interface>(Parent->GetUIObjectOf(Owner, 1, IDs, Iid, UiObject), UiObject))
                Result = Found;
            if (auto Found =
                    Ask<Interface>(Parent->CreateViewObject(Owner, Iid, ViewObject), ViewObject))
                Result = Found;
        }
    }
    if (!Result) {
        PUnknown Object;
        Result = Ask<Interface>(GetDesktopShellFolder()->BindToObject(ID, Iid, Object), Object);
    }
    return Result;
}

} // namespace

// ---------------------------------------------------------------- lists

PItemIDList AllocItemIdList(int Size) {
    return static_cast<PItemIDList>(ShellAlloc(static_cast<std::size_t>(Size)));
}

void FreeItemIdList(PItemIDList ID) {
    ShellFree(ID);
}

PItemIDList NextItemId(PItemIDList ID) {
    return reinterpret_cast<PItemIDList>(reinterpret_cast<std::uint8_t*>(ID) + ItemIdByteCount(ID));
}

int ItemIdCount(const ITEMIDLIST* ID) {
    int Count = 0;
    for (auto* Item = const_cast<PItemIDList>(ID); Item && ItemIdByteCount(Item) != 0;
         Item = NextItemId(Item))
        ++Count;
    return Count;
}

int ItemIdListSize(const ITEMIDLIST* ID) {
    if (!ID)
        return 0;
    int Size = 2;
    for (auto* Item = const_cast<PItemIDList>(ID); ItemIdByteCount(Item) != 0;
         Item = NextItemId(Item))
        Size += ItemIdByteCount(Item);
    return Size;
}

PItemIDList CopyItemIdList(const ITEMIDLIST* ID) {
    if (!ID)
        return nullptr;
    const int Size = ItemIdListSize(ID);
    PItemIDList Copy = AllocItemIdList(Size);
    std::memcpy(Copy, ID, static_cast<std::size_t>(Size));
    return Copy;
}

PItemIDList JoinItemIdLists(const ITEMIDLIST* ID1, const ITEMIDLIST* ID2) {
    const int Size1 = ID1 ? ItemIdListSize(ID1) - 2 : 0;
    const int Size2 = ID2 ? ItemIdListSize(ID2) : 2;
    PItemIDList Joined = AllocItemIdList(Size1 + Size2);
    auto* Bytes = reinterpret_cast<std::uint8_t*>(Joined);
    if (Size1 > 0)
        std::memcpy(Bytes, ID1, static_cast<std::size_t>(Size1));
    if (ID2)
        std::memcpy(Bytes + Size1, ID2, static_cast<std::size_t>(Size2));
    return Joined;
}

void RemoveLastItemId(PItemIDList ID) {
    if (!ID || ItemIdByteCount(ID) == 0)
        return;
    PItemIDList Last = ID;
    for (PItemIDList Item = ID; ItemIdByteCount(Item) != 0; Item = NextItemId(Item))
        Last = Item;
    Last->mkid[0] = 0;
    Last->mkid[1] = 0;
}

PItemIDList LastItemIdOf(const ITEMIDLIST* ID) {
    if (!ID)
        return nullptr;
    auto* Last = const_cast<PItemIDList>(ID);
    for (PItemIDList Item = Last; ItemIdByteCount(Item) != 0; Item = NextItemId(Item))
        Last = Item;
    const int Size = ItemIdByteCount(Last);
    PItemIDList Copy = AllocItemIdList(Size + 2);
    std::memcpy(Copy, Last, static_cast<std::size_t>(Size));
    return Copy;
}

std::vector<PItemIDList> ItemIdListPrefixes(const ITEMIDLIST* ID) {
    std::vector<PItemIDList> Prefixes;
    const int Count = ItemIdCount(ID);
    if (Count == 0)
        return Prefixes;
    TItemIdListHolder Prefix(CopyItemIdList(ID));
    for (int I = 0; I < Count; ++I) {
        RemoveLastItemId(Prefix.get());
        Prefixes.insert(Prefixes.begin(), CopyItemIdList(Prefix.get()));
    }
    return Prefixes;
}

void FreeItemIdListPrefixes(std::vector<PItemIDList>& List) {
    for (PItemIDList ID : List)
        FreeItemIdList(ID);
    List.clear();
}

PItemIDList DesktopItemIdList() {
    PItemIDList ID = nullptr;
    OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &ID));
    return ID;
}

PShellFolder GetDesktopShellFolder() {
    PShellFolder Folder;
    OleCheck(SHGetDesktopFolder(Folder));
    return Folder;
}

bool SameItemIdList(const ITEMIDLIST* ID1, const ITEMIDLIST* ID2) {
    return GetDesktopShellFolder()->CompareIDs(0, ID1, ID2) == 0;
}

int RootFolderOrdinal(const std::string& Name) {
    for (int I = 0; I <= rfTemplates; ++I)
        if (SameText(Name, RootFolderNames[I]))
            return I;
    return -1;
}

int RootFolderId(TRootFolder Folder) {
    return RootFolderIds[Folder];
}

DWORD EnumFlagsOf(TShellObjectTypes Types) {
    DWORD Flags = 0;
    if (Types.Contains(otFolders))
        Flags |= SHCONTF_FOLDERS;
    if (Types.Contains(otNonFolders))
        Flags |= SHCONTF_NONFOLDERS;
    if (Types.Contains(otHidden))
        Flags |= SHCONTF_INCLUDEHIDDEN;
    return Flags;
}

// ---------------------------------------------------------------- shell queries

int ShellIconIndex(const ITEMIDLIST* AbsoluteID, bool Large, bool Open) {
    SHFILEINFO Info;
    UINT Flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
    if (Open)
        Flags |= SHGFI_OPENICON;
    if (!Large)
        Flags |= SHGFI_SMALLICON;
    SHGetFileInfo(AbsoluteID, 0, &Info, sizeof Info, Flags);
    return Info.iIcon;
}

TbsShellFolderCapabilities CapabilitiesOf(const PShellFolder& Parent, const ITEMIDLIST* ID) {
    const ULONG A = AttributesAsked(Parent, ID, 0x177);
    TbsShellFolderCapabilities Result;
    const std::pair<TbsShellFolderCapability, ULONG> Bits[] = {
        {fcCanCopy, SFGAO_CANCOPY},          {fcCanDelete, SFGAO_CANDELETE},
        {fcCanLink, SFGAO_CANLINK},          {fcCanMove, SFGAO_CANMOVE},
        {fcCanRename, SFGAO_CANRENAME},      {fcDropTarget, SFGAO_DROPTARGET},
        {fcHasPropSheet, SFGAO_HASPROPSHEET}};
    for (const auto& [Element, Bit] : Bits)
        if (A & Bit)
            Result.Include(Element);
    return Result;
}

TbsShellFolderProperties PropertiesOf(const PShellFolder& Parent, const ITEMIDLIST* ID) {
    TbsShellFolderProperties Result;
    const ULONG First = AttributesAsked(Parent, ID, 0xFC000);
    const std::pair<TbsShellFolderProperty, ULONG> FirstBits[] = {{fpCut, SFGAO_GHOSTED},
                                                                  {fpIsLink, SFGAO_LINK},
                                                                  {fpReadOnly, SFGAO_READONLY},
                                                                  {fpShared, SFGAO_SHARE}};
    for (const auto& [Element, Bit] : FirstBits)
        if (First & Bit)
            Result.Include(Element);
    // Asked with an empty mask; the shell answers every bit it knows.
    const ULONG Second = AttributesAsked(Parent, ID, 0);
    const std::pair<TbsShellFolderProperty, ULONG> SecondBits[] = {
        {fpFileSystem, SFGAO_FILESYSTEM},
        {fpFileSystemAncestor, SFGAO_FILESYSANCESTOR},
        {fpRemovable, SFGAO_REMOVABLE},
        {fpValidate, SFGAO_VALIDATE}};
    for (const auto& [Element, Bit] : SecondBits)
        if (Second & Bit)
            Result.Include(Element);
    return Result;
}

bool IsFolderItem(const PShellFolder& Parent, const ITEMIDLIST* ID) {
    return AttributesAsked(Parent, ID, SFGAO_FOLDER) & SFGAO_FOLDER;
}

bool HasSubFoldersItem(const PShellFolder& Parent, const ITEMIDLIST* ID) {
    return AttributesAsked(Parent, ID, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER;
}

bool HasSubItems(const PShellFolder& Folder, DWORD Flags) {
    if (!Folder)
        return false;
    std::shared_ptr<IEnumIDList> Enum;
    if (FAILED(Folder->EnumObjects(nullptr, Flags, Enum)) || !Enum)
        return false;
    PItemIDList ID = nullptr;
    ULONG Fetched = 0;
    const bool Any = Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1;
    FreeItemIdList(Fetched == 1 ? ID : nullptr);
    return Any;
}

std::string StrRetText(const ITEMIDLIST* ID, const STRRET& StrRet) {
    std::string Text;
    switch (StrRet.uType) {
    case STRRET_WSTR:
        Text = StrRet.pOleStr;
        break;
    case STRRET_OFFSET: {
        // Only inside the first item: an offset outside it reads nothing.
        const std::size_t Count = ID ? ItemIdByteCount(ID) : 0;
        if (StrRet.uOffset < Count) {
            const char* Start = reinterpret_cast<const char*>(ID) + StrRet.uOffset;
            const std::size_t Length = Count - StrRet.uOffset;
            Text.assign(Start, strnlen(Start, Length));
        }
        break;
    }
    case STRRET_CSTR:
        Text.assign(StrRet.cStr, strnlen(StrRet.cStr, sizeof StrRet.cStr));
        break;
    default:
        break;
    }
    if (Text.size() > 1 && Text[0] == '?' && Text[1] >= '0' && Text[1] <= '9')
        std::erase(Text, '?');
    return Text;
}

std::string ItemDisplayName(const PShellFolder& Folder, const ITEMIDLIST* ID, DWORD Flags) {
    if (!Folder)
        return "parentfolder = nil";
    STRRET Name;
    Folder->GetDisplayNameOf(ID, Flags, &Name);
    std::string Result = StrRetText(ID, Name);
    if (Result.rfind("::{", 0) == 0) {
        STRRET Normal;
        Folder->GetDisplayNameOf(ID, SHGDN_NORMAL, &Normal);
        Result = StrRetText(ID, Normal);
    }
    return Result;
}

PShellFolder BindShellFolder(const PShellFolder& Parent, const ITEMIDLIST* ID, HWND Owner) {
    return BindThrough<IShellFolder>(Parent, ID, Owner, IID_IShellFolder);
}

std::shared_ptr<IShellDetails> BindShellDetails(const PShellFolder& Folder, const ITEMIDLIST* ID,
                                                HWND Owner) {
    return BindThrough<IShellDetails>(Folder, ID, Owner, IID_IShellDetails);
}

std::shared_ptr<IShellFolder2> BindShellFolder2(const PShellFolder& Folder, const ITEMIDLIST* ID,
                                                HWND Owner) {
    if (PlatformMajorVersion() < 5)
        return nullptr;
    PUnknown Object;
    auto Result = Ask<IShellFolder2>(
        GetDesktopShellFolder()->BindToObject(ID, IID_IShellFolder2, Object), Object);
    if (!Result && Folder) {
        const ITEMIDLIST* IDs[] = {ID};
        PUnknown UiObject, Bound;
        Result = Ask<IShellFolder2>(
            Folder->GetUIObjectOf(Owner, 1, IDs, IID_IShellFolder2, UiObject), UiObject);
        if (!Result)
            Result = Ask<IShellFolder2>(Folder->BindToObject(ID, IID_IShellFolder2, Bound), Bound);
    }
    return Result;
}

// ---------------------------------------------------------------- TbsShellFolder

TbsShellFolder::TbsShellFolder(TbsShellFolder* AParent, const ITEMIDLIST* ID, PShellFolder SF)
    : FIShellFolder(std::move(SF)), FDetails(std::make_unique<TStringList>()) {
    FParent = AParent;
    FPIDL.reset(CopyItemIdList(ID));
    if (AParent) {
        FFullPIDL.reset(JoinItemIdLists(AParent->FFullPIDL.get(), ID));
    } else {
        TItemIdListHolder Desktop(DesktopItemIdList());
        FFullPIDL.reset(JoinItemIdLists(Desktop.get(), ID));
    }
    // While the desktop item itself is made, DesktopFolder is still empty.
    if (!FParent)
        FParent = State().Desktop;
    for (TbsShellFolder* Up = AParent; Up && Up->FParent; Up = Up->FParent)
        ++FLevel;
}

TbsShellFolder::~TbsShellFolder() = default;

PShellFolder TbsShellFolder::ParentShellFolder() const {
    if (FParent)
        return FParent->FIShellFolder;
    return GetDesktopShellFolder();
}

TbsShellFolderProperties TbsShellFolder::Properties() const {
    return PropertiesOf(ParentShellFolder(), FPIDL.get());
}

TbsShellFolderCapabilities TbsShellFolder::Capabilities() const {
    return CapabilitiesOf(ParentShellFolder(), FPIDL.get());
}

bool TbsShellFolder::SubFolders() const {
    return HasSubFoldersItem(ParentShellFolder(), FPIDL.get());
}

bool TbsShellFolder::IsFolder() const {
    // Compressed folders count as files.
    return IsFolderItem(ParentShellFolder(), FPIDL.get()) &&
           UpperCase(ExtractFileExt(FullObjectName())) != ".ZIP";
}

std::string TbsShellFolder::PathName() const {
    return ItemDisplayName(GetDesktopShellFolder(), FFullPIDL.get(), SHGDN_FORPARSING);
}

std::string TbsShellFolder::FullObjectName() const {
    std::string Path;
    SHGetPathFromIDList(FFullPIDL.get(), Path);
    return Path;
}

std::string TbsShellFolder::DisplayName() const {
    return ItemDisplayName(ParentShellFolder(), FPIDL.get(), SHGDN_INFOLDER);
}

int TbsShellFolder::ImageIndex(bool LargeIcon) const {
    return ShellIconIndex(FFullPIDL.get(), LargeIcon, false);
}

bool TbsShellFolder::Rename(const std::string& NewName) {
    if (!Capabilities().Contains(fcCanRename))
        return false;
    PItemIDList NewID = nullptr;
    const PShellFolder Parent = ParentShellFolder();
    if (!Parent || FAILED(Parent->SetNameOf(nullptr, FPIDL.get(), NewName, SHGDN_NORMAL, &NewID)) ||
        !NewID)
        throw Exception("Rename to %s failed", {NewName});
    FPIDL.reset(NewID);
    FFullPIDL.reset(FParent ? JoinItemIdLists(FParent->FFullPIDL.get(), NewID)
                            : CopyItemIdList(NewID));
    return true;
}

int TbsShellFolder::ExecuteDefault() {
    SHELLEXECUTEINFO Info;
    Info.fMask = SEE_MASK_INVOKEIDLIST;
    Info.hwnd = Application ? Application->Handle() : nullptr;
    Info.lpIDList = FFullPIDL.get();
    Info.nShow = SW_SHOW;
    return ShellExecuteEx(&Info);
}

void TbsShellFolder::LoadDetailInterface() {
    if (FDetailInterface || !FIShellFolder)
        return;
    FIShellDetails = BindShellDetails(FIShellFolder, FFullPIDL.get(), FViewHandle);
    if (!FIShellDetails && PlatformMajorVersion() > 4)
        FIShellFolder2 = BindShellFolder2(FIShellFolder, FFullPIDL.get(), FViewHandle);
    if (FIShellFolder2)
        FDetailInterface = FIShellFolder2;
    else
        FDetailInterface = FIShellDetails;
}

std::shared_ptr<IShellFolder2> TbsShellFolder::ShellFolder2() {
    LoadDetailInterface();
    return FIShellFolder2;
}

std::shared_ptr<IShellDetails> TbsShellFolder::ShellDetails() {
    LoadDetailInterface();
    return FIShellDetails;
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* RootFolder, HWND AViewHandle,
                                       int ColumnCount) {
    if (FDetails->Count() >= ColumnCount)
        return;
    FDetails->Clear();
    FViewHandle = AViewHandle;
    auto AddDetails = [&](auto Ask) {
        for (int I = 1; I <= ColumnCount; ++I) {
            SHELLDETAILS Details;
            if (FAILED(Ask(static_cast<UINT>(I), Details)))
                FDetails->Add("");
            else
                FDetails->Add(StrRetText(FPIDL.get(), Details.str));
        }
    };
    if (auto Folder2 = RootFolder->ShellFolder2()) {
        AddDetails([&](UINT Column, SHELLDETAILS& D) {
            return Folder2->GetDetailsOf(FPIDL.get(), Column, &D);
        });
    } else if (auto Details = RootFolder->ShellDetails()) {
        AddDetails([&](UINT Column, SHELLDETAILS& D) {
            return Details->GetDetailsOf(FPIDL.get(), Column, &D);
        });
    } else if (RootFolder->Properties().Contains(fpFileSystem)) {
        TSearchRec Data;
        ReadFindData(Data);
        for (int I = 1; I <= ColumnCount; ++I) {
            switch (I) {
            case 1:
                FDetails->Add(std::to_string(FindDataSize(Data)));
                break;
            case 2:
                FDetails->Add(ExtractFileExt(Data.Name));
                break;
            case 3:
                FDetails->Add(DateTimeToStr(FindDataModified(Data)));
                break;
            case 4:
                FDetails->Add(std::to_string(Data.Attr));
                break;
            default:
                break;
            }
        }
    }
}

std::string TbsShellFolder::DetailText(int Index) {
    if (FDetails->Count() == 0)
        throw Exception("%s: Missing call to LoadColumnDetails", {DisplayName()});
    return FDetails->Strings(Index - 1);
}

void TbsShellFolder::ReadFindData(TSearchRec& Data) const {
    Data = TSearchRec();
    const std::string Path = PathName();
    struct stat Info {};
    if (Path.empty() || Path[0] != '/' || ::stat(Path.c_str(), &Info) != 0) {
        const int Code = Path.empty() || Path[0] != '/' ? ENOENT : errno;
        throw EInvalidPath("Unable to retrieve folder details for \"%s\". Error code $%x",
                           {DisplayName(), Code});
    }
    Data.Name = ExtractFileName(Path);
    Data.Size = static_cast<std::int64_t>(Info.st_size);
    Data.Attr = S_ISDIR(Info.st_mode) ? faDirectory : faArchive;
    Data.TimeStamp = FileTimeToDateTime(Info.st_mtim.tv_sec, Info.st_mtim.tv_nsec);
}

std::int64_t FindDataSize(const TSearchRec& Data) {
    return (Data.Attr & faDirectory) ? -1 : Data.Size;
}

TDateTime FindDataModified(const TSearchRec& Data) {
    return (Data.Attr & faDirectory) ? -1.0 : Data.TimeStamp;
}

// ---------------------------------------------------------------- roots

TbsShellFolder* CreateFolderFromItemIdList(const ITEMIDLIST* ID) {
    const PShellFolder Desktop = GetDesktopShellFolder();
    PShellFolder Folder = BindShellFolder(Desktop, ID, nullptr);
    if (!Folder)
        Folder = Desktop;
    return new TbsShellFolder(DesktopFolder(), ID, Folder);
}

TbsShellFolder* CreateRootFolder(TbsShellFolder* OldFolder, const TRoot& OldRoot, TRoot& Root) {
    PItemIDList ID = nullptr;
    HRESULT Result = E_FAIL;
    const int Ordinal = RootFolderOrdinal(Root);
    if (Ordinal >= 0)
        Result = SHGetSpecialFolderLocation(nullptr, RootFolderIds[Ordinal], &ID);
    else if (!Root.empty())
        Result = GetDesktopShellFolder()->ParseDisplayName(nullptr, Root, nullptr, &ID, nullptr);
    if (FAILED(Result) || !ID) {
        const std::string Message = Format("Error setting path: \"%s\"", {Root});
        Root = OldRoot;
        throw Exception(Message);
    }
    TItemIdListHolder Holder(ID);
    TbsShellFolder* Folder = CreateFolderFromItemIdList(ID);
    delete OldFolder;
    return Folder;
}

// ---------------------------------------------------------------- context menus

void ShowShellContextMenu(TWinControl* Control, TbsShellFolder* Folder, int X, int Y) {
    if (!Folder || !Control)
        return;
    const PShellFolder Parent = Folder->ParentShellFolder();
    if (!Parent)
        return;
    const ITEMIDLIST* IDs[] = {Folder->RelativeID()};
    PUnknown Object;
    const auto Menu = Ask<IContextMenu>(
        Parent->GetUIObjectOf(Control->Handle(), 1, IDs, IID_IContextMenu, Object), Object);
    if (!Menu)
        return;
    const TPoint Point = Control->ClientToScreen({X, Y});
    HMENU Popup = CreatePopupMenu();
    struct TMenuGuard {
        HMENU Menu;
        ~TMenuGuard() {
            ActiveContextMenu2().reset();
            DestroyMenu(Menu);
        }
    } Guard{Popup};
    Menu->QueryContextMenu(Popup, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
    ActiveContextMenu2() = std::dynamic_pointer_cast<IContextMenu2>(Menu);
    const UINT Command = static_cast<UINT>(TrackPopupMenu(
        Popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, Point.X, Point.Y, 0, Control->Handle(), nullptr));
    ActiveContextMenu2().reset();
    if (Command == 0)
        return;
    char VerbText[256] = {};
    if (FAILED(Menu->GetCommandString(Command - 1, GCS_VERBA, nullptr, VerbText, sizeof VerbText)))
        VerbText[0] = '\0';
    const std::string Verb = VerbText;
    bool Handled = false;
    bool Succeeded = false;
    auto* Target = dynamic_cast<IbsShellCommandTarget*>(Control);
    if (Target) {
        Target->ExecuteCommand(Verb, Handled);
        Succeeded = true;
    }
    if (!Handled) {
        CMINVOKECOMMANDINFO Info;
        Info.hwnd = Control->Handle();
        Info.lpVerb = VerbFromOffset(Command - 1);
        Info.nShow = SW_SHOWNORMAL;
        Succeeded = SUCCEEDED(Menu->InvokeCommand(&Info));
    }
    if (Target)
        Target->CommandCompleted(Verb, Succeeded);
}

void InvokeShellVerb(TbsShellFolder* Folder, const std::string& Verb) {
    if (!Folder)
        return;
    const PShellFolder Parent = Folder->ParentShellFolder();
    if (!Parent)
        return;
    const ITEMIDLIST* IDs[] = {Folder->RelativeID()};
    PUnknown Object;
    const auto Menu =
        Ask<IContextMenu>(Parent->GetUIObjectOf(nullptr, 1, IDs, IID_IContextMenu, Object), Object);
    if (!Menu)
        return;
    CMINVOKECOMMANDINFO Info;
    Info.fMask = CMIC_MASK_ASYNCOK;
    Info.lpVerb = Verb.c_str();
    Info.nShow = SW_SHOWNORMAL;
    Menu->InvokeCommand(&Info);
}

// ---------------------------------------------------------------- unit state

void InitShellControls() {
    TUnitState& Unit = State();
    if (Unit.Initialised)
        return;
    Unit.Initialised = true;
    PItemIDList ID = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &ID)) && ID) {
        TItemIdListHolder Holder(ID);
        Unit.Desktop = new TbsShellFolder(nullptr, ID, GetDesktopShellFolder());
    }
    Unit.Lock = new TCriticalSection;
}

void DoneShellControls() {
    TUnitState& Unit = State();
    if (!Unit.Initialised)
        return;
    delete Unit.Desktop;
    Unit.Desktop = nullptr;
    delete Unit.Lock;
    Unit.Lock = nullptr;
    Unit.ContextMenu2.reset();
    Unit.Initialised = false;
}

TbsShellFolder* DesktopFolder() {
    InitShellControls();
    return State().Desktop;
}

TCriticalSection* ShellUnitLock() {
    InitShellControls();
    return State().Lock;
}

std::shared_ptr<IContextMenu2>& ActiveContextMenu2() {
    return State().ContextMenu2;
}
