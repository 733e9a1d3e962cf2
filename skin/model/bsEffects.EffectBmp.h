// TbsEffectBmp: a 24-bit top-down picture in a DIB section on which
// transitions, colour effects, blurs, noise, rotations and mask effects are
// computed. Pixels are B, G, R; rows are padded to 4 bytes; there is no
// alpha. Mixes are computed in double per channel, rounded to nearest (ties
// to even) and clamped to 0..255.
//
// Every operation stays inside both pictures it touches: rows and columns
// outside either are skipped, and a picture whose section could not be made
// is empty (no bits) and every operation on it does nothing.
#pragma once

#include "platform/core/Objects.h"
#include "platform/gdi/Gdi.h"

#include <memory>

class TbsEffectBmp : public TObject {
public:
    TbsEffectBmp(int cx, int cy);
    ~TbsEffectBmp() override;
    TbsEffectBmp(const TbsEffectBmp&) = delete;
    TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;

    // A copy of the pixels of a bitmap handle.
    static std::unique_ptr<TbsEffectBmp> CreateFromhWnd(HBITMAP hBmp);
    static std::unique_ptr<TbsEffectBmp> CreateCopy(const TbsEffectBmp* hBmp);

    HBITMAP Handle = 0;
    int Width = 0;
    int Height = 0;
    int Size = 0;
    BYTE* Bits = nullptr;
    BITMAPINFOHEADER BmpHeader{};
    BITMAPINFO BmpInfo{};

    void Draw(HDC DC, int x, int y);
    void Stretch(HDC DC, int x, int y, int cx, int cy);
    // The cx x cy part at (x, y) to (hx, hy), unscaled.
    void DrawRect(HDC DC, int hx, int hy, int x, int y, int cx, int cy);
    void Resize(TbsEffectBmp* Dst);
    // Rct.Right and Rct.Bottom are inclusive here (cut to the last column and row).
    void CopyRect(TbsEffectBmp* BMP, TRect Rct, int StartX, int StartY);
    void MorphRect(TbsEffectBmp* BMP, double Kf, const TRect& Rct, int StartX, int StartY);

    // Transitions from this picture toward BMP, which must have the same size.
    void Morph(TbsEffectBmp* BMP, double Kf);
    void MorphGrad(TbsEffectBmp* BMP, double Kf);
    void MorphHGrad(TbsEffectBmp* BMP, double Kf);
    void MorphVGrad(TbsEffectBmp* BMP, double Kf);
    void MorphLeftGrad(TbsEffectBmp* BMP, double Kf);
    void MorphRightGrad(TbsEffectBmp* BMP, double Kf);
    void MorphPush(TbsEffectBmp* BMP, double Kf);
    void MorphLeftSlide(TbsEffectBmp* BMP, double Kf);
    void MorphRightSlide(TbsEffectBmp* BMP, double Kf);

    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void Invert();
    void GrayScale();

    void SplitBlur(int Amount);
    void Mosaic(int ASize);
    void AddMonoNoise(int Amount);
    void AddColorNoise(int Amount);
    void Wave(int XDIV, int YDIV, int RatioVal);

    // Dst is made by the caller: Height x Width for the rotations.
    void Rotate90_1(TbsEffectBmp* Dst);
    void Rotate90_2(TbsEffectBmp* Dst);
    void FlipVert(TbsEffectBmp* Dst);

    // Limited to the pixels whose mask pixel is not white; the mask must be
    // as wide as this picture and at least as high.
    void MaskAntialiasing(TbsEffectBmp* Msk, int Amount);
    void MaskBlur(TbsEffectBmp* Msk, int Amount);
    void MaskFillColor(TbsEffectBmp* Msk, TColor C, double kf);

private:
    struct TPixel {
        BYTE B, G, R;
    };
    int Stride() const { return Width * 3 + Width % 4; }
    BYTE* LinePtr(int y) const { return Bits + std::ptrdiff_t(y) * Stride(); }
    TPixel GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TPixel Color);
    void GetScanLine(int y, BYTE* Line) const;
    void SetLine(int y, const BYTE* Line);
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    bool SameSize(const TbsEffectBmp* BMP) const;
    bool MaskFits(const TbsEffectBmp* Msk) const;
    bool MaskWhite(int x, int y) const;
    // The four diagonal neighbour positions of (x, y) at distance Amount.
    void Neighbours(int x, int y, int Amount, int H, int& Up, int& Down, int& Left,
                    int& Right) const;
    TPixel DiagonalAverage(int x, int y, int Amount) const;
    void Allocate(int cx, int cy);
};
