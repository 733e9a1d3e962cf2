// The program's stored skins: eleven compressed skins made at build time and
// embedded in the executable, handed to the main window as the stored skin
// list it would have read from its form. No skin file is read at run time.
#pragma once

#include "platform/core/Objects.h"
#include "skin/model/bsSkinData.Stored.h"

#include <string>

// 11.
int StoredSkinCount();
// The Chinese name the select-skin dialog shows for skin Index; raises
// EListError for an index outside 0 .. StoredSkinCount() - 1.
std::string StoredSkinDisplayName(int Index);
// A new list owned by AOwner (by the caller when AOwner is none) whose
// items 0 .. 10 hold the eleven skins, Description the display name and
// Name "bsSkin0" ... "bsSkin10".
TbsCompressedSkinList* CreateStoredSkinList(TComponent* AOwner);
