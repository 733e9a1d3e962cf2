// The shell namespace: the Desktop with Computer and Home below it, the
// mount points under Computer, and the folders and files of the file system,
// reached through folder interfaces and item-identifier lists.
//
// Item-identifier lists keep the classic byte layout: each item is a 16-bit
// little-endian byte count (counting itself), a kind byte, a flags byte and
// the item's UTF-8 name; a 16-bit zero ends the list; the empty list is the
// Desktop. Kinds: 1 Computer, 2 Home, 3 mount point (the name is its
// absolute path), 4 file-system entry (the name is the entry's name). Flags
// bit 0: the entry was a folder when it was listed (a hint for sorting).
// Every list that comes in from outside is checked before it is walked, and
// every list answered is the caller's to free with ShellFree.
//
// Interfaces are abstract classes held by std::shared_ptr; asking an object
// for another interface answers a std::shared_ptr<IUnknown> that the caller
// casts with std::dynamic_pointer_cast.
//
// Nothing here resolves a relative text against the process's current
// folder, and nothing is written but what the user asked for: a rename, a
// move to the trash.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Windows.h"

#include <cstdint>
#include <memory>
#include <string>

// ---------------------------------------------------------------- results

using ULONG = std::uint32_t;

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr bool SUCCEEDED(HRESULT Result) {
    return Result >= 0;
}
constexpr bool FAILED(HRESULT Result) {
    return Result < 0;
}

// An Exception that carries a failed HRESULT.
class EOleSysError : public Exception {
public:
    explicit EOleSysError(HRESULT Code);
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};

// Raises EOleSysError for a failed result; answers it otherwise.
HRESULT OleCheck(HRESULT Result);

// ---------------------------------------------------------------- item-identifier lists

struct ITEMIDLIST {
    std::uint8_t mkid[2]; // the first item's byte count; the bytes follow
};
using PItemIDList = ITEMIDLIST*;

// The shell allocator: zero-filled blocks, given back with ShellFree.
void* ShellAlloc(std::size_t Size);
void ShellFree(void* Block);

// The byte count at the start of an item (0 for the terminator).
inline std::uint16_t ItemIdByteCount(const ITEMIDLIST* ID) {
    return static_cast<std::uint16_t>(ID->mkid[0] | (ID->mkid[1] << 8));
}

// ---------------------------------------------------------------- constants

constexpr int CSIDL_DESKTOP = 0x00;
constexpr int CSIDL_INTERNET = 0x01;
constexpr int CSIDL_PROGRAMS = 0x02;
constexpr int CSIDL_CONTROLS = 0x03;
constexpr int CSIDL_PRINTERS = 0x04;
constexpr int CSIDL_PERSONAL = 0x05;
constexpr int CSIDL_FAVORITES = 0x06;
constexpr int CSIDL_STARTUP = 0x07;
constexpr int CSIDL_RECENT = 0x08;
constexpr int CSIDL_SENDTO = 0x09;
constexpr int CSIDL_BITBUCKET = 0x0A;
constexpr int CSIDL_STARTMENU = 0x0B;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
constexpr int CSIDL_DRIVES = 0x11;
constexpr int CSIDL_NETWORK = 0x12;
constexpr int CSIDL_FONTS = 0x14;
constexpr int CSIDL_TEMPLATES = 0x15;
constexpr int CSIDL_COMMON_STARTMENU = 0x16;
constexpr int CSIDL_COMMON_PROGRAMS = 0x17;
constexpr int CSIDL_COMMON_STARTUP = 0x18;
constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x19;
constexpr int CSIDL_APPDATA = 0x1A;
constexpr int CSIDL_PRINTHOOD = 0x1B;

constexpr ULONG SFGAO_CANCOPY = 0x1;
constexpr ULONG SFGAO_CANMOVE = 0x2;
constexpr ULONG SFGAO_CANLINK = 0x4;
constexpr ULONG SFGAO_CANRENAME = 0x10;
constexpr ULONG SFGAO_CANDELETE = 0x20;
constexpr ULONG SFGAO_HASPROPSHEET = 0x40;
constexpr ULONG SFGAO_DROPTARGET = 0x100;
constexpr ULONG SFGAO_GHOSTED = 0x8000;
constexpr ULONG SFGAO_LINK = 0x10000;
constexpr ULONG SFGAO_SHARE = 0x20000;
constexpr ULONG SFGAO_READONLY = 0x40000;
constexpr ULONG SFGAO_VALIDATE = 0x1000000;
constexpr ULONG SFGAO_REMOVABLE = 0x2000000;
constexpr ULONG SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr ULONG SFGAO_FOLDER = 0x20000000;
constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;

constexpr DWORD SHCONTF_FOLDERS = 0x20;
constexpr DWORD SHCONTF_NONFOLDERS = 0x40;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x80;

constexpr DWORD SHGDN_NORMAL = 0;
constexpr DWORD SHGDN_INFOLDER = 1;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;

// A name answered by a folder. The text forms are fields of their own
// rather than a union, so a STRRET_WSTR text needs no freeing.
struct STRRET {
    UINT uType = STRRET_CSTR;
    std::string pOleStr; // STRRET_WSTR (UTF-8)
    UINT uOffset = 0;    // STRRET_OFFSET: into the item's own bytes
    char cStr[260] = {}; // STRRET_CSTR, zero-terminated
};

constexpr int LVCFMT_LEFT_DETAIL = 0; // the column formats of SHELLDETAILS
constexpr int LVCFMT_RIGHT_DETAIL = 1;

struct SHELLDETAILS {
    int fmt = 0;
    int cxChar = 0;
    STRRET str;
};

constexpr DWORD SHCOLSTATE_TYPE_STR = 0x1;
constexpr DWORD SHCOLSTATE_TYPE_INT = 0x2;
constexpr DWORD SHCOLSTATE_TYPE_DATE = 0x3;
constexpr DWORD SHCOLSTATE_ONBYDEFAULT = 0x10;

struct SHFILEINFO {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    std::string szDisplayName;
    std::string szTypeName;
};

constexpr UINT SHGFI_SMALLICON = 0x1;
constexpr UINT SHGFI_OPENICON = 0x2;
constexpr UINT SHGFI_PIDL = 0x8;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

constexpr UINT CMF_NORMAL = 0x0;
constexpr UINT CMF_EXPLORE = 0x4;
constexpr UINT CMF_CANRENAME = 0x10;
constexpr UINT GCS_VERBA = 0x0;
constexpr DWORD CMIC_MASK_ASYNCOK = 0x100000;

struct CMINVOKECOMMANDINFO {
    DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    // A verb's text, or a command offset made with VerbFromOffset.
    const char* lpVerb = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 0;
    DWORD dwHotKey = 0;
    HANDLE hIcon = nullptr;
};

// A command offset in the place of a verb's text.
inline const char* VerbFromOffset(UINT Offset) {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(Offset));
}
inline bool IsVerbOffset(const char* Verb) {
    return reinterpret_cast<std::uintptr_t>(Verb) < 0x10000;
}

constexpr ULONG SEE_MASK_INVOKEIDLIST = 0xC;

struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    const char* lpVerb = nullptr;
    const char* lpFile = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 0;
    std::intptr_t hInstApp = 0;
    const ITEMIDLIST* lpIDList = nullptr;
};

// ---------------------------------------------------------------- interfaces

enum TInterfaceId {
    IID_IShellFolder,
    IID_IShellFolder2,
    IID_IShellDetails,
    IID_IContextMenu,
    IID_IContextMenu2
};

class IUnknown {
public:
    virtual ~IUnknown() = default;
};
using PUnknown = std::shared_ptr<IUnknown>;

class IEnumIDList : public virtual IUnknown {
public:
    // Up to Count lists into Items; S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG Count, PItemIDList* Items, ULONG* Fetched) = 0;
    virtual HRESULT Skip(ULONG Count) = 0;
    virtual HRESULT Reset() = 0;
};

class IShellFolder : public virtual IUnknown {
public:
    virtual HRESULT ParseDisplayName(HWND Owner, const std::string& DisplayName, ULONG* Eaten,
                                     PItemIDList* ID, ULONG* Attributes) = 0;
    virtual HRESULT EnumObjects(HWND Owner, DWORD Flags, std::shared_ptr<IEnumIDList>& Enum) = 0;
    virtual HRESULT BindToObject(const ITEMIDLIST* ID, TInterfaceId Iid, PUnknown& Object) = 0;
    // The low 16 bits hold -1, 0 or 1 as a signed number.
    virtual HRESULT CompareIDs(LPARAM Param, const ITEMIDLIST* ID1, const ITEMIDLIST* ID2) = 0;
    virtual HRESULT CreateViewObject(HWND Owner, TInterfaceId Iid, PUnknown& Object) = 0;
    // Every bit known is answered, whatever the request.
    virtual HRESULT GetAttributesOf(UINT Count, const ITEMIDLIST* const* IDs,
                                    ULONG* Attributes) = 0;
    virtual HRESULT GetUIObjectOf(HWND Owner, UINT Count, const ITEMIDLIST* const* IDs,
                                  TInterfaceId Iid, PUnknown& Object) = 0;
    virtual HRESULT GetDisplayNameOf(const ITEMIDLIST* ID, DWORD Flags, STRRET* Name) = 0;
    virtual HRESULT SetNameOf(HWND Owner, const ITEMIDLIST* ID, const std::string& Name,
                              DWORD Flags, PItemIDList* NewID) = 0;
};
using PShellFolder = std::shared_ptr<IShellFolder>;

class IShellFolder2 : public IShellFolder {
public:
    virtual HRESULT GetDefaultColumnState(UINT Column, DWORD* Flags) = 0;
    // With no item, the column's header.
    virtual HRESULT GetDetailsOf(const ITEMIDLIST* ID, UINT Column, SHELLDETAILS* Details) = 0;
};

class IShellDetails : public virtual IUnknown {
public:
    virtual HRESULT GetDetailsOf(const ITEMIDLIST* ID, UINT Column, SHELLDETAILS* Details) = 0;
    virtual HRESULT ColumnClick(UINT Column) = 0;
};

class IContextMenu : public virtual IUnknown {
public:
    // Adds the commands at Index with ids from First; the result's low 16
    // bits count the ids used.
    virtual HRESULT QueryContextMenu(HMENU Menu, UINT Index, UINT First, UINT Last, UINT Flags) = 0;
    virtual HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* Info) = 0;
    virtual HRESULT GetCommandString(UINT_PTR Offset, UINT Type, UINT* Reserved, char* Name,
                                     UINT NameSize) = 0;
};

class IContextMenu2 : public IContextMenu {
public:
    virtual HRESULT HandleMenuMsg(UINT Msg, WPARAM WParam, LPARAM LParam) = 0;
};

// ---------------------------------------------------------------- functions

HRESULT SHGetDesktopFolder(PShellFolder& Folder);
HRESULT SHGetSpecialFolderLocation(HWND Owner, int Folder, PItemIDList* ID);
// The file-system path of an absolute list; false for virtual items.
BOOL SHGetPathFromIDList(const ITEMIDLIST* ID, std::string& Path);
// With SHGFI_SYSICONINDEX the answer is the system image list (small with
// SHGFI_SMALLICON) and Info->iIcon the item's picture in it.
std::uintptr_t SHGetFileInfo(const std::string& Path, DWORD Attributes, SHFILEINFO* Info,
                             UINT InfoSize, UINT Flags);
std::uintptr_t SHGetFileInfo(const ITEMIDLIST* ID, DWORD Attributes, SHFILEINFO* Info,
                             UINT InfoSize, UINT Flags);
// With SEE_MASK_INVOKEIDLIST runs the default verb ("open") of lpIDList.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* Info);

// The pictures of the system image lists.
enum TShellIcon {
    siDocument,
    siFolder,
    siOpenFolder,
    siDesktop,
    siComputer,
    siHome,
    siHardDisk,
    siRemovable,
    siOptical,
    siNetwork,
    siVideo,
    siAudio,
    siPicture
};
TCustomImageList* ShellImageList(bool Large);

// The errno of the last listing that failed on this thread.
int ShellLastError();

// ---------------------------------------------------------------- test seam

// The provider's own inputs from outside; the defaults come from the
// process environment. Mounted file systems come from SetDriveEnvironment.
struct TShellEnvironment {
    std::string Home;         // HOME
    std::string ConfigHome;   // XDG_CONFIG_HOME, else Home + "/.config"
    std::string DataHome;     // XDG_DATA_HOME, else Home + "/.local/share"
    std::string UserDirsFile; // ConfigHome + "/user-dirs.dirs"
};
TShellEnvironment DefaultShellEnvironment();
void SetShellEnvironment(const TShellEnvironment& Environment);
TShellEnvironment ShellEnvironment();
