// The tool-button pictures of the file and folder dialogs, drawn in code as
// 16 x 16 eight-bit bitmaps on a magenta key and registered as resources by
// name: BS_BACK, BS_UP, BS_NEWFOLDER, BS_LVSTYLE and BS_STRETCH.
#pragma once

#include <memory>
#include <string>

class TBitmap;

// Registers the pictures once; later calls do nothing.
void RegisterShellGlyphs();
// A new bitmap of the named picture (registered first when needed).
std::unique_ptr<TBitmap> LoadShellGlyph(const std::string& Name);
