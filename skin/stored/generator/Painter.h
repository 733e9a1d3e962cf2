// Shapes, gradients and glyphs drawn into plain pictures of 0xRRGGBB pixels.
// Anti-aliased edges are composed over a given colour (what lies under the
// element), so every picture stays opaque; shapes that a keyed picture
// shows are drawn hard-edged instead.
#pragma once

#include "platform/gdi/Graphics.h"
#include "skin/model/bsSkinData.IniValues.h"
#include "skin/stored/generator/Palette.h"

#include <functional>
#include <memory>
#include <vector>

namespace skingen {

class TImage {
public:
    TImage() = default;
    TImage(int Width, int Height, TRgb Background = 0);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TRgb Pixel(int X, int Y) const { return FPixels[std::size_t(Y) * FWidth + X]; }
    void SetPixel(int X, int Y, TRgb C);
    // Pixels outside the picture are left out.
    void Fill(const TRect& R, TRgb C);
    void FillRows(const TRect& R, const TFill& F);
    // Source copied to (X, Y).
    void Draw(const TImage& Source, int X, int Y);
    TImage Crop(const TRect& R) const;
    // Each pixel mixed toward C by Coverage (0..1) in sRGB values.
    void Blend(int X, int Y, TRgb C, double Coverage);

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<TRgb> FPixels;
};

// A shape as a test on a point in picture coordinates (pixel centres at +0.5).
using TShape = std::function<bool(double X, double Y)>;

TShape RoundRectShape(const TRect& R, double Radius);
TShape DiscShape(double CX, double CY, double Radius);
// Inside a polygon given by its corners.
TShape PolygonShape(std::vector<std::pair<double, double>> Points);
// Within Width / 2 of the polyline.
TShape StrokeShape(std::vector<std::pair<double, double>> Points, double Width);

// Covers the shape with C, 4 x 4 samples per pixel, within R.
void PaintShape(TImage& Image, const TRect& R, const TShape& Shape, TRgb C);
// The shape without partial coverage: a pixel whose centre is inside.
void PaintShapeHard(TImage& Image, const TRect& R, const TShape& Shape, TRgb C);

// A rounded face in R of Image over what Image already holds: the border of
// BorderWidth pixels in Border, the inside filled by Fill (its rows counted
// within R).
void PaintFace(TImage& Image, const TRect& R, int Radius, TRgb Border, int BorderWidth,
               const TFill& Fill);

// Glyphs centred in R.
enum class TGlyph {
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Check,
    Dot,
    Cross,
    Minimize,
    Maximize,
    Restore,
    RollUp,
    RollDown,
    SysMenu,
    Tray,
    Dash
};
void PaintGlyph(TImage& Image, const TRect& R, TGlyph Glyph, TRgb C, bool Hard = false);

// Pictures of the platform: 24-bit, 8-bit with the picture's own colours
// (at most 256 of them) and 1-bit masks (black inside).
std::unique_ptr<TBitmap> ToBitmap24(const TImage& Image);
std::unique_ptr<TBitmap> ToBitmap8(const TImage& Image);
std::unique_ptr<TBitmap> ToMask1(const std::vector<bool>& Inside, int Width, int Height);
// An 8-bit grey picture of the values Grey (0..255).
std::unique_ptr<TBitmap> ToGrey8(const std::vector<BYTE>& Grey, int Width, int Height);
// The pixels of a platform picture, whatever its depth.
TImage FromBitmap(TBitmap& Bitmap);

} // namespace skingen

namespace skingen {
// The skin's inactive effect applied to a picture, by the skin library's
// own effect picture, as a skinned form applies it to its caption strips.
void ApplyInActiveEffect(TImage& Image, TbsInActiveEffect Effect);
} // namespace skingen
