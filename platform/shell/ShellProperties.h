// The properties window of a shell item: a plain modal form (the platform
// knows no skins) with the item's name, type, place, size, times and
// permissions, and for a mount point its file system and space.
#pragma once

#include "platform/shell/ShellApi.h"

#include <string>
#include <utility>
#include <vector>

// The rows the window shows, caption first: ("", "<name> Properties"),
// then (label, value) pairs. Empty for a virtual item or a vanished one.
std::vector<std::pair<std::string, std::string>> ShellPropertyRows(const ITEMIDLIST* AbsoluteID);

// Shows the window modally; false when the item has no properties.
BOOL ShowShellProperties(HWND Owner, const ITEMIDLIST* AbsoluteID);
