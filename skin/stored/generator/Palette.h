// The palette rule: every colour of a skin derived from its theme row in
// OKLCH (then OKLab, then sRGB), and the WCAG 2 contrast measure the checks
// use. Colours outside sRGB keep their lightness and hue and lose chroma
// until they fit, found by bisection, so the result never depends on the
// order of computations.
#pragma once

#include "skin/model/bsSkinData.IniValues.h"
#include "skin/stored/generator/Themes.h"

#include <cstdint>
#include <vector>

namespace skingen {

// A colour as 0xRRGGBB.
using TRgb = std::uint32_t;

struct TLch {
    double L = 0;
    double C = 0;
    double H = 0; // degrees
};

TRgb LchToRgb(const TLch& Colour);
TLch RgbToLch(TRgb Colour);
// A and B mixed in OKLab, T of the way from A to B.
TLch MixLch(const TLch& A, const TLch& B, double T);
// The OKLab distance of two colours.
double OklabDistance(TRgb A, TRgb B);
// The WCAG 2 ratio of two colours, 1 to 21.
double ContrastRatio(TRgb A, TRgb B);
// The platform's colour value of an 0xRRGGBB colour, and back.
std::uint32_t ToColor(TRgb Colour);
TRgb FromColor(std::uint32_t Color);

// A face fill: a base colour with a vertical lightness spread (soft), or a
// light upper band over the base (glossy), or one colour (flat).
struct TFill {
    TLch Base;
    TSurfaceStyle Style = TSurfaceStyle::Flat;
    double Spread = 0; // total lightness difference, top lighter
    // The colour of row Y of a face Height rows high.
    TRgb Row(int Y, int Height) const;
    // Lightness bounds of every row, for text placed on the fill.
    double MinL() const;
    double MaxL() const;
};

struct TPalette {
    TThemeMode Mode = TThemeMode::Light;
    TRgb Surface = 0, Field = 0, Border = 0, StrongBorder = 0;
    TRgb Text = 0, DisabledText = 0;
    TRgb Accent = 0, AccentHot = 0, AccentDown = 0, TextOnAccent = 0;
    TRgb MenuBg = 0, MenuHot = 0, HintBg = 0, HintText = 0;
    TRgb BtnHighLight = 0, BtnShadow = 0;
    TRgb CloseHot = 0, CloseGlyph = 0;
    TRgb ThumbNormal = 0;
    TFill Face, FaceHot, FaceDown;
    TFill Caption;
    TRgb CaptionText = 0;
    // The inactive frame picture's caption bar and text.
    TFill InActiveCaption;
    TRgb InActiveCaptionText = 0;
    TLch AccentLch;
};

// Tuning of the rule, the same for every skin; tests change it to prove
// the checks catch a bad palette.
struct TPaletteRule {
    double LightTextL = 0.24;
    double DarkTextL = 0.93;
};

TPalette MakePalette(const TTheme& Theme, const TPaletteRule& Rule = {});

// The skin's inactive effect applied to Width x Height pixels (rows top
// down) by the skin library's own effect picture, as a skinned form applies
// it to its caption strips.
void ApplyInActiveEffect(std::vector<TRgb>& Pixels, int Width, int Height,
                         TbsInActiveEffect Effect);

} // namespace skingen
