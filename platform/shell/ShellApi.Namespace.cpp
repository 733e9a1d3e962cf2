#include "platform/core/DateTime.h"
#include "platform/core/Paths.h"
#include "platform/core/Strings.h"
#include "platform/shell/ShellInternal.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>

namespace shell_detail {

namespace {

const char* const DesktopParsingName = "::{Desktop}";
const char* const ComputerParsingName = "::{Computer}";

std::string LastComponent(const std::string& Path) {
    const std::string Name = ExtractFileName(Path);
    return Name.empty() ? Path : Name;
}

bool IsAtOrBelow(const std::string& Path, const std::string& Folder) {
    if (Folder == "/")
        return !Path.empty() && Path[0] == '/';
    return Path == Folder ||
           (Path.size() > Folder.size() && Path.compare(0, Folder.size(), Folder) == 0 &&
            Path[Folder.size()] == '/');
}

// The mount table, parsed again only when it changed, since every item of
// a listing asks about its mount several times (on a desktop with many
// mounts, reading the kernel's table made up much of listing a big
// folder). The kernel's table reports a change of the mounts to poll() as
// an exceptional condition on a descriptor open on it; a plain file (a
// test's table) is small and compared by its content.
class TMountTableCache {
public:
    ~TMountTableCache() { Close(); }

    template <class TVisit> void Visit(const std::string& FileName, TVisit&& Visit) {
        std::lock_guard<std::mutex> Lock(FMutex);
        if (FileName != FFileName || Changed()) {
            Close();
            FFileName = FileName;
            FDescriptor = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
            // The kernel's tables look like empty regular files.
            struct statfs Where {};
            FPlainFile = FDescriptor >= 0 && ::fstatfs(FDescriptor, &Where) == 0 &&
                         Where.f_type != PROC_SUPER_MAGIC;
            if (FPlainFile)
                FContent = Content();
            FEntries = ReadMountTable(FileName);
        }
        for (const TMountEntry& Entry : FEntries)
            Visit(Entry);
    }

private:
    std::string Content() const {
        std::ifstream File(FFileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(File), {});
    }
    bool Changed() {
        if (FDescriptor < 0)
            return true;
        if (FPlainFile)
            return Content() != FContent;
        pollfd Poll{FDescriptor, POLLPRI, 0};
        return ::poll(&Poll, 1, 0) != 0;
    }
    void Close() {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
        FDescriptor = -1;
    }

    std::mutex FMutex;
    std::string FFileName;
    int FDescriptor = -1;
    bool FPlainFile = false;
    std::string FContent;
    std::vector<TMountEntry> FEntries;
};

// The mount-table line on top of the deepest mount holding Path.
std::optional<TMountEntry> MountEntryOf(const std::string& Path) {
    static TMountTableCache Cache;
    std::optional<TMountEntry> Best;
    Cache.Visit(DriveEnvironment().MountTable, [&](const TMountEntry& Entry) {
        if (IsAtOrBelow(Path, Entry.MountPoint) &&
            (!Best || Entry.MountPoint.size() >= Best->MountPoint.size()))
            Best = Entry;
    });
    return Best;
}

bool IsOnRemoteMount(const std::string& Path) {
    const std::optional<TMountEntry> Mount = MountEntryOf(Path);
    return Mount && IsRemoteFileSystem(Mount->FileSystem);
}

bool HasSubFolder(const std::string& Path) {
    if (IsOnRemoteMount(Path))
        return true;
    DIR* Folder = ::opendir(Path.c_str());
    if (!Folder)
        return false;
    bool Found = false;
    while (const dirent* Entry = ::readdir(Folder)) {
        const std::string Name = Entry->d_name;
        if (Name == "." || Name == "..")
            continue;
        if (Entry->d_type == DT_DIR) {
            Found = true;
        } else if (Entry->d_type == DT_UNKNOWN) {
            struct stat Info {};
            Found = ::lstat((Path + "/" + Name).c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
        }
        if (Found)
            break;
    }
    ::closedir(Folder);
    return Found;
}

// Renaming, moving or deleting an entry: its folder must be writable, and
// it must be no mount point, not the home folder and not hold the trash.
bool CanModifyEntry(const std::string& Path) {
    const std::string Parent = ExtractFileDir(Path).empty() ? "/" : ExtractFileDir(Path);
    struct stat Own {
    }, Up{};
    if (::lstat(Path.c_str(), &Own) != 0 || ::stat(Parent.c_str(), &Up) != 0)
        return false;
    if (Own.st_dev != Up.st_dev || IsMountPoint(Path))
        return false;
    const TShellEnvironment Env = ShellEnvironment();
    if (Path == Env.Home || IsAtOrBelow(Env.DataHome + "/Trash", Path))
        return false;
    return ::access(Parent.c_str(), W_OK) == 0;
}

int CompareItems(const TItem& A, const TItem& B) {
    if (A.Kind != B.Kind)
        return A.Kind < B.Kind ? -1 : 1;
    if (A.Kind == ikMount) {
        if ((A.Name == "/") != (B.Name == "/"))
            return A.Name == "/" ? -1 : 1;
        const int R = CompareStr(A.Name, B.Name);
        return R < 0 ? -1 : R > 0 ? 1 : 0;
    }
    if (A.Kind != ikEntry)
        return 0;
    const bool FolderA = A.Flags & ifFolder, FolderB = B.Flags & ifFolder;
    if (FolderA != FolderB)
        return FolderA ? -1 : 1;
    int R = AnsiCompareText(A.Name, B.Name);
    // Two names that differ only in letter case are two files here.
    if (R == 0)
        R = CompareStr(A.Name, B.Name);
    return R < 0 ? -1 : R > 0 ? 1 : 0;
}

int CompareItemLists(const std::vector<TItem>& A, const std::vector<TItem>& B) {
    for (std::size_t I = 0; I < A.size() && I < B.size(); ++I)
        if (const int R = CompareItems(A[I], B[I]))
            return R;
    if (A.size() == B.size())
        return 0;
    return A.size() < B.size() ? -1 : 1;
}

std::string Kilobytes(std::int64_t Size) {
    return std::to_string((Size + 1023) / 1024) + " KB";
}

TDateTime BirthTime(const std::string& Path, const struct stat& Info) {
    struct statx Extended {};
    if (::statx(AT_FDCWD, Path.c_str(), 0, STATX_BTIME, &Extended) == 0 &&
        (Extended.stx_mask & STATX_BTIME))
        return FileTimeToDateTime(Extended.stx_btime.tv_sec, Extended.stx_btime.tv_nsec);
    return FileTimeToDateTime(Info.st_ctim.tv_sec, Info.st_ctim.tv_nsec);
}

std::vector<TItem> ChildrenOf(const TPlace& Place, DWORD Flags, HRESULT& Result) {
    std::vector<TItem> Items;
    Result = S_OK;
    const bool Folders = Flags & SHCONTF_FOLDERS;
    const bool Files = Flags & SHCONTF_NONFOLDERS;
    const bool Hidden = Flags & SHCONTF_INCLUDEHIDDEN;
    if (Place.Kind == pkDesktop) {
        if (Folders) {
            Items.push_back({ikComputer, ifFolder, {}});
            if (DirectoryExists(ShellEnvironment().Home))
                Items.push_back({ikHome, ifFolder, {}});
        }
        return Items;
    }
    if (Place.Kind == pkComputer) {
        if (Folders)
            for (const TDriveInfo& Drive : GetDrives())
                Items.push_back({ikMount, ifFolder, Drive.MountPoint});
        return Items;
    }
    DIR* Folder = ::opendir(Place.Path.c_str());
    if (!Folder) {
        SetLastError(errno);
        Result = E_FAIL;
        return Items;
    }
    while (const dirent* Entry = ::readdir(Folder)) {
        const std::string Name = Entry->d_name;
        if (Name == "." || Name == ".." || !IsValidEntryName(Name))
            continue;
        if (Name[0] == '.' && !Hidden)
            continue;
        struct stat Info {};
        // Links count as what they lead to; dangling ones, devices, pipes
        // and sockets are never listed.
        if (::stat((Place.Path == "/" ? "/" + Name : Place.Path + "/" + Name).c_str(), &Info) != 0)
            continue;
        if (S_ISDIR(Info.st_mode) ? Folders : (S_ISREG(Info.st_mode) && Files))
            Items.push_back({ikEntry, std::uint8_t(S_ISDIR(Info.st_mode) ? ifFolder : 0), Name});
    }
    ::closedir(Folder);
    std::sort(Items.begin(), Items.end(),
              [](const TItem& A, const TItem& B) { return CompareItems(A, B) < 0; });
    return Items;
}

class TEnumIDList : public IEnumIDList {
public:
    explicit TEnumIDList(std::vector<TItem> Items) : FItems(std::move(Items)) {}
    HRESULT Next(ULONG Count, PItemIDList* Items, ULONG* Fetched) override {
        ULONG Done = 0;
        while (Done < Count && FPos < FItems.size())
            Items[Done++] = EncodeList({FItems[FPos++]});
        if (Fetched)
            *Fetched = Done;
        return Done == Count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Count) override {
        FPos = std::min(FItems.size(), FPos + Count);
        return FPos < FItems.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        FPos = 0;
        return S_OK;
    }

private:
    std::vector<TItem> FItems;
    std::size_t FPos = 0;
};

PUnknown MakeFolder(const TPlace& Place);

// The folder rules every folder shares; Interface is IShellFolder for the
// virtual folders and IShellFolder2 for the file-system ones.
template <class Interface> class TFolder : public Interface {
public:
    explicit TFolder(TPlace Place) : FPlace(std::move(Place)) {}

    HRESULT ParseDisplayName(HWND, const std::string& DisplayName, ULONG* Eaten, PItemIDList* ID,
                             ULONG* Attributes) override {
        if (!ID)
            return E_INVALIDARG;
        *ID = nullptr;
        if (FPlace.Kind != pkDesktop)
            return E_FAIL;
        std::optional<TPlace> Place;
        if (DisplayName == DesktopParsingName)
            Place = TPlace{};
        else if (DisplayName == ComputerParsingName)
            Place = TPlace{pkComputer, {}, {{ikComputer, ifFolder, {}}}};
        else
            Place = ParsePath(DisplayName);
        if (!Place)
            return E_FAIL;
        *ID = ListOf(*Place);
        if (Eaten)
            *Eaten = ULONG(DisplayName.size());
        if (Attributes)
            *Attributes = AttributesOf(*Place);
        return S_OK;
    }

    HRESULT EnumObjects(HWND, DWORD Flags, std::shared_ptr<IEnumIDList>& Enum) override {
        HRESULT Result = S_OK;
        std::vector<TItem> Items = ChildrenOf(FPlace, Flags, Result);
        if (FAILED(Result))
            return Result;
        Enum = std::make_shared<TEnumIDList>(std::move(Items));
        return S_OK;
    }

    HRESULT BindToObject(const ITEMIDLIST* ID, TInterfaceId Iid, PUnknown& Object) override {
        TPlace Place;
        if (!Resolve(ID, Place) || Place.Items.size() == FPlace.Items.size())
            return E_INVALIDARG;
        if (!IsFolderPlace(Place))
            return E_FAIL;
        PUnknown Folder = MakeFolder(Place);
        if (Iid == IID_IShellFolder ||
            (Iid == IID_IShellFolder2 && std::dynamic_pointer_cast<IShellFolder2>(Folder))) {
            Object = Folder;
            return S_OK;
        }
        return E_NOINTERFACE;
    }

    HRESULT CompareIDs(LPARAM, const ITEMIDLIST* ID1, const ITEMIDLIST* ID2) override {
        TPlace A, B;
        if (!Resolve(ID1, A) || !Resolve(ID2, B))
            return E_INVALIDARG;
        const int R = CompareItemLists(A.Items, B.Items);
        return static_cast<HRESULT>(static_cast<std::uint16_t>(static_cast<std::int16_t>(R)));
    }

    HRESULT CreateViewObject(HWND, TInterfaceId, PUnknown&) override { return E_NOINTERFACE; }

    HRESULT GetAttributesOf(UINT Count, const ITEMIDLIST* const* IDs, ULONG* Attributes) override {
        if (!Attributes)
            return E_INVALIDARG;
        ULONG Result = Count ? ~ULONG(0) : AttributesOf(FPlace);
        for (UINT I = 0; I < Count; ++I) {
            TPlace Place;
            if (!Resolve(IDs[I], Place)) {
                *Attributes = 0;
                return E_INVALIDARG;
            }
            Result &= AttributesOf(Place);
        }
        *Attributes = Result;
        return S_OK;
    }

    HRESULT GetUIObjectOf(HWND, UINT Count, const ITEMIDLIST* const* IDs, TInterfaceId Iid,
                          PUnknown& Object) override {
        TPlace Place;
        if (Count != 1 || !Resolve(IDs[0], Place))
            return E_INVALIDARG;
        if (Iid != IID_IContextMenu)
            return E_NOINTERFACE;
        Object = MakeContextMenu(Place);
        return S_OK;
    }

    HRESULT GetDisplayNameOf(const ITEMIDLIST* ID, DWORD Flags, STRRET* Name) override {
        TPlace Place;
        if (!Name || !Resolve(ID, Place))
            return E_INVALIDARG;
        Name->uType = STRRET_WSTR;
        if (!(Flags & SHGDN_FORPARSING))
            Name->pOleStr = DisplayNameOf(Place);
        else if ((Flags & SHGDN_INFOLDER) && (Place.Kind == pkEntry || Place.Kind == pkMount))
            Name->pOleStr = Place.Items.back().Name;
        else
            Name->pOleStr = ParsingNameOf(Place);
        return S_OK;
    }

    HRESULT SetNameOf(HWND, const ITEMIDLIST* ID, const std::string& Name, DWORD,
                      PItemIDList* NewID) override {
        TPlace Place;
        if (NewID)
            *NewID = nullptr;
        if (!Resolve(ID, Place) || Place.Kind != pkEntry || !IsValidEntryName(Name))
            return E_INVALIDARG;
        TItem Item = Place.Items.back();
        if (Name != Item.Name) {
            const std::string Target = ExtractFilePath(Place.Path) + Name;
            // Never replaces an item of the new name; a file system that
            // cannot promise that refuses the rename.
            if (::renameat2(AT_FDCWD, Place.Path.c_str(), AT_FDCWD, Target.c_str(),
                            RENAME_NOREPLACE) != 0) {
                SetLastError(errno);
                return E_FAIL;
            }
            Item.Name = Name;
        }
        if (NewID)
            *NewID = EncodeList({Item});
        return S_OK;
    }

protected:
    // The place a relative list leads to from this folder.
    bool Resolve(const ITEMIDLIST* ID, TPlace& Place) const {
        const std::optional<std::vector<TItem>> Items = DecodeList(ID);
        return Items && Walk(FPlace, *Items, Place);
    }

    TPlace FPlace;
};

class TFileSystemFolder : public TFolder<IShellFolder2> {
public:
    using TFolder::TFolder;

    HRESULT GetDefaultColumnState(UINT Column, DWORD* Flags) override {
        static const DWORD States[] = {SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT,
                                       SHCOLSTATE_TYPE_INT | SHCOLSTATE_ONBYDEFAULT,
                                       SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT,
                                       SHCOLSTATE_TYPE_DATE | SHCOLSTATE_ONBYDEFAULT,
                                       SHCOLSTATE_TYPE_DATE};
        if (!Flags || Column >= std::size(States))
            return E_INVALIDARG;
        *Flags = States[Column];
        return S_OK;
    }

    HRESULT GetDetailsOf(const ITEMIDLIST* ID, UINT Column, SHELLDETAILS* Details) override {
        struct THeader {
            const char* Text;
            int Format, Chars;
        };
        static const THeader Headers[] = {{"Name", LVCFMT_LEFT_DETAIL, 25},
                                          {"Size", LVCFMT_RIGHT_DETAIL, 10},
                                          {"Type", LVCFMT_LEFT_DETAIL, 10},
                                          {"Modified", LVCFMT_LEFT_DETAIL, 14},
                                          {"Created", LVCFMT_LEFT_DETAIL, 14}};
        if (!Details || Column >= std::size(Headers))
            return E_INVALIDARG;
        Details->fmt = Headers[Column].Format;
        Details->cxChar = Headers[Column].Chars;
        Details->str.uType = STRRET_WSTR;
        if (!ID) {
            Details->str.pOleStr = Headers[Column].Text;
            return S_OK;
        }
        TPlace Place;
        if (!Resolve(ID, Place) || !HasPath(Place))
            return E_INVALIDARG;
        struct stat Info {};
        if (::stat(Place.Path.c_str(), &Info) != 0) {
            SetLastError(errno);
            return E_FAIL;
        }
        const bool Folder = S_ISDIR(Info.st_mode) || Place.Kind != pkEntry;
        switch (Column) {
        case 0:
            Details->str.pOleStr = DisplayNameOf(Place);
            break;
        case 1:
            Details->str.pOleStr = Folder ? std::string() : Kilobytes(Info.st_size);
            break;
        case 2:
            Details->str.pOleStr = TypeTextOf(Place);
            break;
        case 3:
            Details->str.pOleStr =
                DateTimeToStr(FileTimeToDateTime(Info.st_mtim.tv_sec, Info.st_mtim.tv_nsec));
            break;
        default:
            Details->str.pOleStr = DateTimeToStr(BirthTime(Place.Path, Info));
            break;
        }
        return S_OK;
    }
};

PUnknown MakeFolder(const TPlace& Place) {
    if (HasPath(Place))
        return std::make_shared<TFileSystemFolder>(Place);
    return std::make_shared<TFolder<IShellFolder>>(Place);
}

std::string ExpandUserDir(const std::string& Value, const std::string& Home) {
    if (Value.rfind("$HOME", 0) == 0)
        return Home + Value.substr(5);
    return Value.empty() || Value[0] != '/' ? std::string() : Value;
}

// A folder of the user-dirs file ("XDG_DOCUMENTS_DIR="$HOME/Documents"").
std::string UserDir(const std::string& Key) {
    const TShellEnvironment Env = ShellEnvironment();
    std::ifstream In(Env.UserDirsFile);
    std::string Line;
    while (std::getline(In, Line)) {
        const std::string Text = Trim(Line);
        if (Text.rfind(Key + "=", 0) != 0)
            continue;
        std::string Value = Text.substr(Key.size() + 1);
        if (Value.size() >= 2 && Value.front() == '"' && Value.back() == '"')
            Value = Value.substr(1, Value.size() - 2);
        return ExpandUserDir(Value, Env.Home);
    }
    return {};
}

std::optional<TPlace> SpecialPlace(int Folder) {
    const TShellEnvironment Env = ShellEnvironment();
    auto Existing = [](const std::string& Path) -> std::optional<TPlace> {
        if (Path.empty() || !DirectoryExists(Path))
            return std::nullopt;
        return ParsePath(Path);
    };
    switch (Folder) {
    case CSIDL_DESKTOP:
        return TPlace{};
    case CSIDL_DRIVES:
        return TPlace{pkComputer, {}, {{ikComputer, ifFolder, {}}}};
    case CSIDL_PERSONAL:
        if (auto Place = Existing(UserDir("XDG_DOCUMENTS_DIR")))
            return Place;
        if (DirectoryExists(Env.Home))
            return TPlace{pkHome, Env.Home, {{ikHome, ifFolder, {}}}};
        return std::nullopt;
    case CSIDL_DESKTOPDIRECTORY:
        if (auto Place = Existing(UserDir("XDG_DESKTOP_DIR")))
            return Place;
        return Existing(Env.Home + "/Desktop");
    case CSIDL_APPDATA:
        return Existing(Env.ConfigHome);
    case CSIDL_TEMPLATES:
        return Existing(UserDir("XDG_TEMPLATES_DIR"));
    case CSIDL_FONTS:
        return Existing(Env.Home + "/.local/share/fonts");
    case CSIDL_BITBUCKET:
        return Existing(Env.DataHome + "/Trash/files");
    default:
        return std::nullopt;
    }
}

} // namespace

bool Step(const TPlace& From, const TItem& Item, TPlace& To) {
    TPlace Next;
    switch (Item.Kind) {
    case ikComputer:
        if (From.Kind != pkDesktop)
            return false;
        Next.Kind = pkComputer;
        break;
    case ikHome:
        if (From.Kind != pkDesktop)
            return false;
        Next.Kind = pkHome;
        Next.Path = ShellEnvironment().Home;
        if (Next.Path.empty() || Next.Path[0] != '/')
            return false;
        break;
    case ikMount:
        if (From.Kind != pkComputer)
            return false;
        Next.Kind = pkMount;
        Next.Path = Item.Name;
        break;
    case ikEntry:
        if (!HasPath(From))
            return false;
        Next.Kind = pkEntry;
        Next.Path = From.Path == "/" ? "/" + Item.Name : From.Path + "/" + Item.Name;
        break;
    }
    Next.Items = From.Items;
    Next.Items.push_back(Item);
    To = std::move(Next);
    return true;
}

bool Walk(const TPlace& From, const std::vector<TItem>& Items, TPlace& To) {
    TPlace Place = From;
    for (const TItem& Item : Items)
        if (!Step(Place, Item, Place))
            return false;
    To = std::move(Place);
    return true;
}

bool HasPath(const TPlace& Place) {
    return Place.Kind == pkHome || Place.Kind == pkMount || Place.Kind == pkEntry;
}

bool IsFolderPlace(const TPlace& Place) {
    if (Place.Kind != pkEntry)
        return true;
    struct stat Info {};
    return ::stat(Place.Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

ULONG AttributesOf(const TPlace& Place) {
    if (!HasPath(Place))
        return SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
    ULONG Removable = 0;
    if (Place.Kind == pkMount) {
        const std::optional<TDriveInfo> Drive = DriveOf(Place.Path);
        if (Drive && Drive->Type == dtRemovable)
            Removable = SFGAO_REMOVABLE;
    }
    struct stat Own {
    }, Target{};
    // A mount point is a folder even while it cannot be looked at.
    if (::lstat(Place.Path.c_str(), &Own) != 0)
        return Place.Kind == pkEntry ? 0
                                     : SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_FILESYSTEM |
                                           SFGAO_HASPROPSHEET | Removable;
    const bool Link = S_ISLNK(Own.st_mode);
    const bool Folder = Place.Kind != pkEntry ||
                        (::stat(Place.Path.c_str(), &Target) == 0 && S_ISDIR(Target.st_mode));
    const bool Writable = ::access(Place.Path.c_str(), W_OK) == 0;
    ULONG Result = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK | SFGAO_HASPROPSHEET;
    if (Folder) {
        Result |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
        if (HasSubFolder(Place.Path))
            Result |= SFGAO_HASSUBFOLDER;
        if (Writable)
            Result |= SFGAO_DROPTARGET;
    }
    if (Link && Place.Kind == pkEntry)
        Result |= SFGAO_LINK;
    if (!Writable)
        Result |= SFGAO_READONLY;
    if (Place.Kind == pkEntry && Place.Items.back().Name[0] == '.')
        Result |= SFGAO_GHOSTED;
    Result |= Removable;
    if (Place.Kind == pkEntry && CanModifyEntry(Place.Path))
        Result |= SFGAO_CANRENAME | SFGAO_CANMOVE | SFGAO_CANDELETE;
    return Result;
}

std::string DisplayNameOf(const TPlace& Place) {
    switch (Place.Kind) {
    case pkDesktop:
        return "Desktop";
    case pkComputer:
        return "Computer";
    case pkHome:
        return "Home";
    case pkMount: {
        const std::optional<TDriveInfo> Drive = DriveOf(Place.Path);
        std::string Name = Drive && !Drive->Label.empty() ? Drive->Label
                           : Place.Path == "/"            ? std::string("File System")
                                                          : LastComponent(Place.Path);
        return Name + " (" + Place.Path + ")";
    }
    case pkEntry:
        break;
    }
    return Place.Items.back().Name;
}

std::string ParsingNameOf(const TPlace& Place) {
    if (Place.Kind == pkDesktop)
        return DesktopParsingName;
    if (Place.Kind == pkComputer)
        return ComputerParsingName;
    return Place.Path;
}

std::string TypeTextOf(const TPlace& Place) {
    if (IsFolderPlace(Place))
        return "Folder";
    const std::string Ext = ExtractFileExt(Place.Path);
    if (Ext.size() <= 1)
        return "File";
    return UpperCase(Ext.substr(1)) + " File";
}

std::optional<TPlace> ParsePath(const std::string& Text) {
    if (Text.empty() || Text[0] != '/' || !IsValidUtf8(Text) ||
        Text.find('\0') != std::string::npos)
        return std::nullopt;
    // "." and ".." by text; links keep their own names.
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    while (Start <= Text.size()) {
        std::size_t End = Text.find('/', Start);
        if (End == std::string::npos)
            End = Text.size();
        const std::string Part = Text.substr(Start, End - Start);
        if (Part == "..") {
            if (!Parts.empty())
                Parts.pop_back();
        } else if (!Part.empty() && Part != ".") {
            Parts.push_back(Part);
        }
        Start = End + 1;
    }
    std::string Path;
    for (const std::string& Part : Parts)
        Path += "/" + Part;
    if (Path.empty())
        Path = "/";
    struct stat Info {};
    if (::lstat(Path.c_str(), &Info) != 0)
        return std::nullopt;

    std::string Mount = "/";
    for (const TDriveInfo& Drive : GetDrives())
        if (Drive.MountPoint.size() > Mount.size() && IsAtOrBelow(Path, Drive.MountPoint))
            Mount = Drive.MountPoint;
    TPlace Place{pkComputer, {}, {{ikComputer, ifFolder, {}}}};
    Step(Place, {ikMount, ifFolder, Mount}, Place);
    std::size_t Skip = Mount == "/" ? 0 : CountBackslashesOf(Mount);
    for (std::size_t I = Skip; I < Parts.size(); ++I) {
        std::string Next = Place.Path == "/" ? "/" + Parts[I] : Place.Path + "/" + Parts[I];
        const bool Folder = ::stat(Next.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
        Step(Place, {ikEntry, std::uint8_t(Folder ? ifFolder : 0), Parts[I]}, Place);
    }
    return Place;
}

bool IsMountPoint(const std::string& Path) {
    const std::optional<TMountEntry> Mount = MountEntryOf(Path);
    return Mount && Mount->MountPoint == Path;
}

std::optional<TDriveInfo> DriveOf(const std::string& MountPoint) {
    for (TDriveInfo& Drive : GetDrives())
        if (Drive.MountPoint == MountPoint)
            return std::move(Drive);
    return std::nullopt;
}

std::size_t CountBackslashesOf(const std::string& Path) {
    return static_cast<std::size_t>(std::count(Path.begin(), Path.end(), '/'));
}

} // namespace shell_detail

using namespace shell_detail;

HRESULT SHGetDesktopFolder(PShellFolder& Folder) {
    Folder = std::dynamic_pointer_cast<IShellFolder>(MakeFolder(TPlace{}));
    return Folder ? S_OK : E_FAIL;
}

HRESULT SHGetSpecialFolderLocation(HWND, int Folder, PItemIDList* ID) {
    if (!ID)
        return E_INVALIDARG;
    *ID = nullptr;
    const std::optional<TPlace> Place = SpecialPlace(Folder);
    if (!Place)
        return E_FAIL;
    *ID = ListOf(*Place);
    return S_OK;
}

BOOL SHGetPathFromIDList(const ITEMIDLIST* ID, std::string& Path) {
    Path.clear();
    const std::optional<std::vector<TItem>> Items = DecodeList(ID);
    TPlace Place;
    if (!Items || !Walk(TPlace{}, *Items, Place) || !HasPath(Place))
        return FALSE;
    Path = Place.Path;
    return TRUE;
}
