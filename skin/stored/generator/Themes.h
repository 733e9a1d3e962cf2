// The theme table: one row per stored skin, in the order of the skin list.
// Everything a skin looks like follows from its row and the palette rule;
// nothing is tuned per skin elsewhere.
#pragma once

#include "skin/model/bsSkinData.IniValues.h"

#include <vector>

namespace skingen {

enum class TThemeMode { Light, Dark };
// How faces (buttons, bars, headers, captions, thumbs) are filled.
enum class TSurfaceStyle { Flat, Soft, Glossy };
enum class TCaptionStyle { Plain, Tinted, Accent, Gradient };

struct TTheme {
    const char* SkinName;    // ASCII, the ini's "skinname"
    const char* DisplayName; // the list item's Description
    TThemeMode Mode;
    double AccentHue; // OKLCH degrees
    double AccentChroma;
    double AccentL;
    int Radius; // corner radius in pixels
    TSurfaceStyle Surface;
    TCaptionStyle Caption;
    bool ShadowBorder;
    // True: an inactive frame picture; false: the skin's inactive effect.
    bool InActivePicture;
    TbsInActiveEffect InActiveEffect;
    int FrameBits; // 24, or 8 for a frame picture with its own colour table
    const char* Comments;
};

const std::vector<TTheme>& Themes();

} // namespace skingen
