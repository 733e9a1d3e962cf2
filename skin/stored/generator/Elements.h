// One builder per element family: each draws the family's pictures with the
// painter, packs them with the atlas and sets the fields of the skin model's
// element objects. BuildSkin composes a whole skin from its theme row.
#pragma once

#include "skin/model/bsSkinData.h"
#include "skin/stored/generator/Palette.h"
#include "skin/stored/generator/Themes.h"

#include <memory>

namespace skingen {

// The active pictures of a skin, in this order; the last two exist only
// for themes with a shadow border.
enum TPictureFamily {
    pfButtons,        // push, tool and frame-button faces
    pfContainers,     // panels, group boxes, tool bars, tabs, labels
    pfBars,           // scroll bars, slider, menu bar, splitters, up-downs
    pfFields,         // edits, combo boxes, lists, memo
    pfMenus,          // menu items and their images
    pfCaptionButtons, // the frame's caption buttons
    pfPopupWindow,
    pfPopupMask,
    pfHintWindow,
    pfHintMask,
    pfLayerFrame,
    pfLayerMask,
    pfFamilyCount
};

// The frame's design size: the frame picture is at most 200 wide and its
// height without the client part at most 40, so small forms keep their
// designed size.
constexpr int FrameWidth = 160;
constexpr int FrameHeight = 100;
constexpr int CaptionHeight = 30;
constexpr int FrameBorder = 4;
constexpr int LayerShadow = 8;

// The colour that keyed pictures leave where nothing is drawn.
constexpr TRgb KeyColour = 0xFF00FF;

std::unique_ptr<TbsSkinData> BuildSkin(const TTheme& Theme, const TPalette& Palette);

} // namespace skingen
