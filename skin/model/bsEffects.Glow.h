// Stack Blur, glowing, outlined and mirrored caption text, and alpha from a
// grey mask. The text effects draw the text in red into a temporary skin
// bitmap, turn the red coverage into the alpha of a one-colour layer, blend
// that layer onto the canvas and draw the text itself on top.
#pragma once

#include "skin/model/bsEffects.Bitmap.h"

#include <string>

// Blurs red, green and blue in place (weights r + 1 - |k|, edges clamped);
// every result pixel has alpha 255. Nothing for a radius of 0 or less.
void BlurBitmap(TbsBitmap* Bitmap, int Radius);
// The alpha of each pixel of Bitmap that also lies in Mask becomes the mask
// pixel's grey level, (red + green + blue) div 3; colours stay.
void SetAlphaFromGrayMask(TbsBitmap* Bitmap, TbsBitmap* Mask);
TbsColor ColorToPixel(COLORREF Color);
// The colouring step: alpha from the red byte, colour Color, AlphaBlend set.
void AlphaFromRed(TbsBitmap* Bitmap, COLORREF Color);

// A glow size below 0 counts as 0; when the glow's bitmap cannot be made the
// text is drawn without glow.
void DrawOutlineGlowText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                         int GlowOffset, COLORREF GlowColor, int GlowSize);
int DrawGlowText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                 int GlowOffset, COLORREF GlowColor, int GlowSize);
int DrawVistaGlowText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                      COLORREF GlowColor);
void DrawReflectionText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                        int ReflectionOffset, COLORREF ReflectionColor);
