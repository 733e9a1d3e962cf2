// TbsBitmap: the skin library's 32-bit bitmap with straight per-pixel alpha.
//
// It wraps a top-down 32-bit DIB section selected into its own memory DC, so
// GDI draws into it through Canvas while skin code reads and writes Bits
// directly (pixel (x, y) is element x + y * Width, no row padding). GDI
// drawing leaves alpha 0 behind; callers that draw shapes or text through
// Canvas set alpha afterwards.
//
// Every bitmap that owns a DC is listed in BitmapList, so a draw onto a DC
// that belongs to another TbsBitmap is done in memory with full alpha.
// User-interface thread only.
#pragma once

#include "platform/core/Streams.h"
#include "platform/gdi/Graphics.h"
#include "skin/model/bsEffects.Kernels.h"

#include <memory>
#include <string>
#include <vector>

class TbsBitmapLink;

// Pixel packing and the hue, saturation and lightness model of the colour
// transforms; components are in 0..1.
TbsColor PackPixel(int R, int G, int B, int A);
void RGBToHSL(TbsColor Pixel, float& H, float& S, float& L);
TbsColor HSLToRGB(float L, float S, float H);
int HueToRGB(float P, float Q, float H);

class TbsBitmap : public TPersistent {
public:
    TbsBitmap();
    ~TbsBitmap() override;
    TbsBitmap(const TbsBitmap&) = delete;
    TbsBitmap& operator=(const TbsBitmap&) = delete;

    HBITMAP Handle() const { return FHandle; }
    HDC DC() const { return FDC; }
    TCanvas* Canvas();
    PbsColorArray Bits() const { return FBits; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    bool NewFormat() const { return FNewFormat; }
    void SetNewFormat(bool Value) { FNewFormat = Value; }

    // Magnitudes are used; nothing happens for a 0 or for the current size.
    // A failure raises and leaves the bitmap empty.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const { return FHandle == 0; }
    void Clear(TbsColor Color);
    // No checks: callers clip first.
    PbsColor ScanLine(int Y) const { return FBits + std::ptrdiff_t(Y) * FWidth; }
    PbsColor PixelPtr(int X, int Y) const { return FBits + std::ptrdiff_t(Y) * FWidth + X; }
    void SetPixel(int X, int Y, TbsColor Color);

    // Also with the clipboard (TClipboard): the picture goes there as a
    // 32-bit bitmap and comes back with its alpha.
    void Assign(TPersistent* Source) override;
    void AssignTo(TPersistent* Dest) override;

    // Name, width, height (negative: rows stored bottom-up), pixels. A
    // damaged header raises EReadError and changes nothing.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    // A picture of the program's resource registry; the module name is not
    // used. A missing name changes nothing.
    void LoadFromResource(const std::string& ResFileName, const std::string& ResName);
    // An 8-bit PCX picture; a damaged one raises EReadError and changes
    // nothing, one that is no PCX picture at all is ignored.
    void LoadFromPcxStream(TStream* Stream);

    std::unique_ptr<TbsBitmapLink> GetBitmapLink(const TRect& Rect);
    std::unique_ptr<TbsBitmapLink> GetBitmapLink(const std::string& Rect);

    void CheckingAlphaBlend();
    // The whole bitmap is scanned whatever the rectangle.
    void CheckingAlphaBlend(const TRect& ARect);
    // Pixels within 5 of Color in each of red, green and blue become
    // TransparentKey.
    void CheckingTransparent(TbsColor Color);
    void CheckingTransparent(const TRect& ARect, TbsColor Color);
    void SetAlpha(BYTE Alpha);
    void SetAlpha(BYTE Alpha, const TRect& Rect);
    void ChangeBitmapBrightness(int DeltaBrightness);
    void SetBitmapHue(int Hue);
    void ChangeBitmapSat(int DeltaSat);
    void ChangeBitmapHue(int DeltaHue);
    void FlipVert();

    // Drawing: a DC that belongs to another TbsBitmap is drawn in memory,
    // moved by minus its window origin; other DCs go through the kernels'
    // DC routines. Flags decide: AlphaBlend blends, else Transparent keys,
    // else the pixels are copied.
    void Draw(HDC DC, int X, int Y);
    void Draw(HDC DC, int X, int Y, const TRect& SrcRect);
    void Draw(HDC DC, const TRect& DstRect);
    void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect);
    void Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);

    void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
    // A non-empty DstClip draws only the tiles that meet it.
    void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip,
                  const TRect& SrcRect);
    void TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip,
                  const TRect& SrcRect);
    // Puts Bitmap under this bitmap's see-through and translucent pixels.
    void MergeDraw(TbsBitmap* Bitmap, int X, int Y, TRect SrcRect);
    void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);
    void FillRect(const TRect& R, TbsColor Color);
    // The bitmap becomes its own fading mirror image.
    void Reflection();
    void Reflection2();
    void Reflection3();

    // Shapes and text are drawn through Canvas; these do nothing.
    void DrawBevel(const TRect&, TbsColor, TbsColor) {}
    void DrawEdge(const TRect&, TbsColor, TbsColor) {}
    void DrawEllipse(const TRect&, TbsColor) {}
    void DrawFocusRect(const TRect&, TbsColor) {}
    void DrawLine(int, int, int, int, TbsColor) {}
    void DrawPolygon(const std::vector<TPoint>&, TbsColor) {}
    void DrawRect(const TRect&, TbsColor) {}
    void DrawRoundRect(const TRect&, int, TbsColor) {}
    void FillEllipse(const TRect&, TbsColor) {}
    void FillGradientRect(const TRect&, TbsColor, TbsColor, bool) {}
    void FillHalftonePolygon(const std::vector<TPoint>&, TbsColor, TbsColor) {}
    void FillHalftoneRect(const TRect&, TbsColor, TbsColor) {}
    void FillPolygon(const std::vector<TPoint>&, TbsColor) {}
    void FillRadialGradientRect(const TRect&, TbsColor, TbsColor, TPoint) {}
    void FillRoundRect(const TRect&, int, TbsColor) {}
    void MoveTo(int, int) {}
    void LineTo(int, int, TbsColor) {}
    void DrawText(const std::string&, TRect&, UINT) {}
    void DrawText(const std::string&, int, int) {}
    void DrawVerticalText(const std::string&, const TRect&, bool) {}
    int TextWidth(const std::string&) { return 0; }
    int TextHeight(const std::string&) { return 0; }

private:
    void FreeSurface();
    void DrawToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void StretchInto(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                     const TRect& SrcRect);
    template <class DrawTile>
    void TileWith(const TRect& DstRect, const TRect& SrcRect, const TRect* DstClip, DrawTile Draw);
    void ReflectionBy(int Divisor);
    void AssignGdiBitmap(TBitmap* Source);
    void AssignGraphic(TGraphic* Source);
    template <class Transform> void TransformColors(Transform F);

    PbsColorArray FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    std::string FName;
    BITMAPINFO FBitmapInfo{};
    HBITMAP FHandle = 0;
    HDC FDC = 0;
    HGDIOBJ FOldBitmap = 0;
    std::unique_ptr<TCanvas> FCanvas;
    bool FAlphaBlend = false;
    bool FTransparent = false;
    bool FNewFormat = false;
};

// Every bitmap that owns a DC; user-interface thread only.
const std::vector<TbsBitmap*>& BitmapList();
// The first listed bitmap whose DC is DC, or null.
TbsBitmap* FindBitmapByDC(HDC DC);
