// What the units of the shell provider share: the items of a list as
// values, the places they lead to, and the rules every folder applies.
#pragma once

#include "platform/core/Drives.h"
#include "platform/shell/ShellApi.h"

#include <optional>
#include <string>
#include <vector>

namespace shell_detail {

enum TItemKind : std::uint8_t { ikComputer = 1, ikHome = 2, ikMount = 3, ikEntry = 4 };
constexpr std::uint8_t ifFolder = 0x1;

struct TItem {
    TItemKind Kind = ikEntry;
    std::uint8_t Flags = 0;
    std::string Name;
};

// The items of a list that came from outside; nothing when the list is
// damaged (a count below 4 or past the end, an unknown kind, a bad name).
// A list from the shell allocator is never walked past its block.
std::optional<std::vector<TItem>> DecodeList(const ITEMIDLIST* ID);
PItemIDList EncodeList(const std::vector<TItem>& Items);

enum TPlaceKind { pkDesktop, pkComputer, pkHome, pkMount, pkEntry };

// Where a list leads: a virtual folder or a file-system path.
struct TPlace {
    TPlaceKind Kind = pkDesktop;
    std::string Path;         // Home, mount point or entry path; empty for the virtual ones
    std::vector<TItem> Items; // the absolute list
};

// One step down; false when the item cannot stand under From.
bool Step(const TPlace& From, const TItem& Item, TPlace& To);
// Every step of Items from From; false when one cannot be taken.
bool Walk(const TPlace& From, const std::vector<TItem>& Items, TPlace& To);

bool HasPath(const TPlace& Place);
// A folder on disk (links followed), or one of the virtual folders.
bool IsFolderPlace(const TPlace& Place);
ULONG AttributesOf(const TPlace& Place);
std::string DisplayNameOf(const TPlace& Place);
std::string ParsingNameOf(const TPlace& Place);
int IconOf(const TPlace& Place, bool Open);
std::string TypeTextOf(const TPlace& Place);

// The Computer form of an absolute path; nothing when it does not exist.
std::optional<TPlace> ParsePath(const std::string& Text);

// The same rules as the namespace's own folders apply to every item name.
bool IsValidEntryName(const std::string& Name);

// Any line of the mount table mounts something at Path.
bool IsMountPoint(const std::string& Path);
// The drive a mount point is, if it is one.
std::optional<TDriveInfo> DriveOf(const std::string& MountPoint);

void SetLastError(int Code);
std::size_t CountBackslashesOf(const std::string& Path);

// The context menu of one item: open, rename, delete, properties.
PUnknown MakeContextMenu(const TPlace& Place);

// The absolute list of a place as a fresh list for the caller.
inline PItemIDList ListOf(const TPlace& Place) {
    return EncodeList(Place.Items);
}

} // namespace shell_detail
