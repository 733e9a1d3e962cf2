// The skin library's drawing helpers: rectangles, text, glyphs, button faces,
// parent backgrounds, 24-bit pixel copies, platform entries and versions,
// stream strings and rectangle text, nine-part painters, mask regions and
// layered windows.
#pragma once

#include "skin/model/bsUtils.ButtonFace.h"
#include "skin/model/bsUtils.FBitmap.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.Layers.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.ParentBackground.h"
#include "skin/model/bsUtils.Platform.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Regions.h"
#include "skin/model/bsUtils.StreamText.h"
#include "skin/model/bsUtils.Text.h"
