// The main window's pictures, drawn in code at start-up: the tool buttons'
// glyphs with their disabled twins, the category and profile icons, the
// cover over the empty job table and the about box's picture. Nothing
// binary is stored; every picture is the same on every run.
#pragma once

#include "platform/gdi/Graphics.h"

#include <memory>

class TCustomImageList;

// The tool buttons' glyphs: the first eight follow their button's
// availability; options and skin are always available.
enum class TToolGlyph { Add, Start, Pause, Resume, Stop, Clear, Delete, Rename, Options, Skin };
inline constexpr int ToolGlyphCount = 8;
inline constexpr int ToolButtonGlyphCount = 10;
inline constexpr int GlyphSize = 32;

// A 32 × 32 glyph on the transparent colour clFuchsia; the disabled twin is
// the enabled one in grey at reduced contrast.
std::unique_ptr<TBitmap> MakeToolGlyph(TToolGlyph Glyph, bool Enabled);

// The transparent colour of glyphs and icons.
inline constexpr TColor PictureTransparentColor = clFuchsia;

// Draws the category icon of ImageIndex into Rect (any size; made for
// 32 × 32). An index without an icon of its own draws a plain film frame.
void DrawCategoryIcon(TCanvas& Canvas, const TRect& Rect, int ImageIndex);
// Whether ImageIndex has an icon of its own.
bool HasCategoryIcon(int ImageIndex);
// The profile icons: 0 video, 1 audio.
void DrawProfileIcon(TCanvas& Canvas, const TRect& Rect, int ImageIndex);

// Fills an image list of 32 × 32 icons with every category icon from 0 to
// the highest index drawn, and one with the two profile icons.
void FillCategoryImageList(TCustomImageList& List);
void FillProfileImageList(TCustomImageList& List);

// The 558 × 260 cover with its invitation to add files, and the 53 × 57
// picture of the about box.
std::unique_ptr<TBitmap> MakeCoverPicture();
std::unique_ptr<TBitmap> MakeAboutPicture();
