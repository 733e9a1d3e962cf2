// Mock-ups of the program's windows in a skin, composed from the skin's own
// elements with the nine-part painters, for the contact sheet and the
// demonstration (the skinned controls themselves are not needed). Text is
// drawn only with Text set: it needs Qt's application object.
#pragma once

#include "platform/gdi/Graphics.h"
#include "skin/model/bsSkinData.h"

#include <memory>

// The main window's client size.
constexpr int MainClientWidth = 804;
constexpr int MainClientHeight = 541;
// The select-skin dialog's preview window.
constexpr int PreviewWidth = 220;
constexpr int PreviewHeight = 170;

// The frame's outer size around a client of the given size.
TSize FrameSizeFor(TbsSkinData& Skin, int ClientWidth, int ClientHeight);
// The main window: frame with caption and minimize button, menu bar, tool
// bar, job list, output panel and the two group boxes.
std::unique_ptr<TBitmap> DrawMainWindow(TbsSkinData& Skin, bool Text);
// The preview window: a frame with a caption, a label, a check box and a
// button.
std::unique_ptr<TBitmap> DrawPreview(TbsSkinData& Skin, bool Text);
// The states: buttons, check and radio boxes, scroll bars, a popup menu, a
// hint, and the message box and the options dialog in miniature.
std::unique_ptr<TBitmap> DrawStates(TbsSkinData& Skin, bool Text);
// The window region of a Width x Height frame, made from the skin's mask
// as the skinned form makes it: four mask strips by MakeFrameMaskBitmaps,
// each turned into a region by MaskToRegionData, joined with the always
// inside rectangle. None (0) for a skin without a mask.
HRGN MakeFrameRegion(TbsSkinData& Skin, int Width, int Height);
