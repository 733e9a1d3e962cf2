// Image lists for controls. The list and its change links are the graphics
// layer's (TCustomImageList, TImageList, TChangeLink, the handle and its
// drawing); this unit keeps the free forms of registering a link.
#pragma once

#include "platform/gdi/ImageList.h"

// The same as List->RegisterChanges(Link); nothing for a null list.
void RegisterChanges(TCustomImageList* List, TChangeLink* Link);
void UnRegisterChanges(TCustomImageList* List, TChangeLink* Link);
