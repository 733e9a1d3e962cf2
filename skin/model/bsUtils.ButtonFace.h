// Placing a glyph and a caption on a button face: the layout arithmetic and
// the three painters that skinned buttons use (a glyph from an image list or
// from a strip bitmap of equal cells).
#pragma once

#include "platform/gdi/Graphics.h"
#include "platform/gdi/ImageList.h"

#include <string>

enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// Glyph cells of a strip: normal, disabled, pressed, hot.
using TbsNumGlyphs = int;

struct TbsGlyphLayout {
    int GlyphX = 0;
    int GlyphY = 0;
    int TextX = 0;
    int TextY = 0;
};

// Margin -1 centres glyph and text together; without a glyph (GlyphWidth 0)
// Spacing counts as 0.
TbsGlyphLayout CalcGlyphLayout(TbsButtonLayout Layout, const TRect& R, int GlyphWidth,
                               int GlyphHeight, int TextWidth, int TextHeight, int Spacing,
                               int Margin);

void DrawImageAndText(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor,
                      bool DrawColorBar, bool Enabled, bool Down, TCustomImageList* Images,
                      int ImageIndex, const std::string& Caption, TbsButtonLayout Layout,
                      int Spacing);
// As DrawImageAndText, with the caption not centred in its rectangle.
void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor,
                          bool DrawColorBar, bool Enabled, bool Down, TCustomImageList* Images,
                          int ImageIndex, const std::string& Caption, TbsButtonLayout Layout,
                          int Spacing);
// The glyph is cell GlyphNum (from 1) of NumGlyphs; with NumGlyphs below 1
// there is no glyph.
void DrawGlyphAndText(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor,
                      bool DrawColorBar, bool Down, int GlyphNum, TbsNumGlyphs NumGlyphs,
                      TBitmap* Glyph, const std::string& Caption, TbsButtonLayout Layout,
                      int Spacing);
// Draws the cell keyed by its own bottom-left pixel; nothing for an empty
// strip or NumGlyphs below 1.
void DrawGlyphFromStrip(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, TbsNumGlyphs NumGlyphs,
                        int GlyphNum);
