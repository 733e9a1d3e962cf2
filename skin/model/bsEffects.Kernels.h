// The process-wide table of pixel routines that every bulk pixel operation
// of the skin bitmaps goes through.
//
// A pixel (TbsColor) is 0xAARRGGBB, stored as the bytes B, G, R, A, with
// straight alpha. Two blend formulas exist: the plain one (weights a and
// 255 - a, result alpha 255, early exits for a = 0 and 255) and the wide one
// (weights a and 256 - a on all four bytes, alpha included). The wide one is
// installed wherever the processor reports MMX, which every x86-64 processor
// does; the kernels themselves are portable C++. Arithmetic shifts by 8 and
// never divides by 255.
//
// The table is filled on first use, before any window exists, and is
// read-only afterwards.
#pragma once

#include "platform/gdi/Gdi.h"

#include <cstdint>
#include <vector>

using TbsColor = std::uint32_t;
using PbsColor = TbsColor*;
using PbsColorArray = TbsColor*;
using TArrayOfseColor = std::vector<TbsColor>;

// A see-through pixel of a Transparent bitmap (only the low 24 bits count).
constexpr TbsColor TransparentKey = 0x007F007F;

class TbsBitmap;

enum TbsBlendVariant { bvDetect, bvPlain, bvMMX };

struct TbsPixelKernels {
    TbsColor (*BlendPixel)(TbsColor F, TbsColor B) = nullptr;
    void (*BlendLine)(const TbsColor* Src, TbsColor* Dst, int Count) = nullptr;
    void (*TransparentLine)(const TbsColor* Src, TbsColor* Dst, int Count) = nullptr;
    void (*MoveLongword)(const TbsColor* Src, TbsColor* Dst, int Count) = nullptr;
    void (*FillLongword)(TbsColor* Dst, int Count, TbsColor Value) = nullptr;
    // X1..X2 and Y1..Y2 inclusive; Width is the row stride in pixels.
    void (*FillPixelRect)(TbsColor* Bits, int Width, int Height, int X1, int Y1, int X2, int Y2,
                          TbsColor Value) = nullptr;
    void (*FillAlpha)(TbsColor* Dst, int Count, BYTE Alpha) = nullptr;
    void (*FillAlphaRect)(TbsColor* Bits, int Width, int Height, int X1, int Y1, int X2, int Y2,
                          BYTE Alpha) = nullptr;
    void (*ClearColorAlpha)(TbsColor* Dst, int Count, TbsColor Color) = nullptr;

    void (*DrawToDCOpaque)(HDC DC, int DstX, int DstY, int DstW, int DstH, TbsBitmap* Bitmap,
                           int SrcX, int SrcY, int SrcW, int SrcH) = nullptr;
    void (*DrawToDCAlpha)(HDC DC, int DstX, int DstY, int DstW, int DstH, TbsBitmap* Bitmap,
                          int SrcX, int SrcY, int SrcW, int SrcH) = nullptr;
    void (*DrawToDCTransparent)(HDC DC, int DstX, int DstY, int DstW, int DstH, TbsBitmap* Bitmap,
                                int SrcX, int SrcY, int SrcW, int SrcH) = nullptr;
    // The pixels of the DIB section selected into DC, or null (and zeros).
    TbsColor* (*GetDCDibInfo)(HDC DC, int& Width, int& Height, int& BitCount) = nullptr;
    // Into a bottom-up 32-bit DIB section's pixels.
    void (*StretchToDibOpaque)(TbsColor* Bits, const TRect& DstRect, const TRect& DstClip,
                               const TRect& SrcRect, TbsBitmap* Source, int DibHeight,
                               int DibWidth) = nullptr;
    void (*StretchToDibAlpha)(TbsColor* Bits, const TRect& DstRect, const TRect& DstClip,
                              const TRect& SrcRect, TbsBitmap* Source, int DibHeight,
                              int DibWidth) = nullptr;
    void (*StretchToDibTransparent)(TbsColor* Bits, const TRect& DstRect, const TRect& DstClip,
                                    const TRect& SrcRect, TbsBitmap* Source, int DibHeight,
                                    int DibWidth) = nullptr;
    void (*CopyBitmapRect)(TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX,
                           int SrcY) = nullptr;
    void (*BlendBitmapRect)(TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX,
                            int SrcY) = nullptr;
    void (*TransparentBitmapRect)(TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX,
                                  int SrcY) = nullptr;
    void (*StretchBitmapOpaque)(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                                const TRect& SrcRect, TbsBitmap* Source) = nullptr;
    void (*StretchBitmapAlpha)(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                               const TRect& SrcRect, TbsBitmap* Source) = nullptr;
    void (*StretchBitmapTransparent)(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                                     const TRect& SrcRect, TbsBitmap* Source) = nullptr;
};

// The table, complete on first use.
const TbsPixelKernels& PixelKernels();

// Fills the row-kernel slots. bvDetect follows the processor; the others let
// tests exercise either formula on any machine.
void SelectPixelKernels(TbsBlendVariant Variant = bvDetect);
// Fills the drawing slots (the composing routine serves transparent draws).
void SelectDrawKernels();
// The variant that bvDetect installs here.
TbsBlendVariant DetectedBlendVariant();
// The screen has 24 bits per pixel or more.
bool IsTrueColorScreen();
