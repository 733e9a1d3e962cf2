// Helpers of the drawing-foundation tests: small skin bitmaps, a bottom-up
// DIB section in a memory DC, text pictures of canvases, and a fixture with
// the headless backend and the application for tests that need windows.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/model/bsEffects.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

// A W x H skin bitmap filled with Color.
void FillBitmap(TbsBitmap& B, int W, int H, TbsColor Color);
// Pixel (x, y) of a bitmap whose pixels are 0xFF000000 + y * 256 + x: a
// picture that tells where each pixel came from.
void NumberPixels(TbsBitmap& B, int W, int H);
constexpr TbsColor Numbered(int X, int Y) {
    return 0xFF000000u | TbsColor(Y * 256 + X);
}

// A 32-bit DIB section selected into a memory DC; bottom-up unless told.
class TDibSurface {
public:
    TDibSurface(int Width, int Height, bool BottomUp = true);
    ~TDibSurface();
    TDibSurface(const TDibSurface&) = delete;
    TDibSurface& operator=(const TDibSurface&) = delete;

    HDC DC() const { return FDC; }
    TbsColor* Bits() const { return FBits; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Pixel (x, y) counted from the picture's top row.
    TbsColor& At(int X, int Y) const;
    void Fill(TbsColor Color);

private:
    int FWidth, FHeight;
    bool FBottomUp;
    HDC FDC = 0;
    HBITMAP FBitmap = 0;
    HGDIOBJ FOld = 0;
    TbsColor* FBits = nullptr;
};

// A white W x H TBitmap for glyph and text tests.
std::unique_ptr<TBitmap> WhiteCanvas(int W, int H);
// One character per pixel: '.' white, '#' Ink, '?' anything else.
std::string Picture(TBitmap* B, TColor Ink);
inline std::string Rows(std::initializer_list<const char*> Lines) {
    std::string Out;
    for (const char* L : Lines) {
        Out += L;
        Out += '\n';
    }
    return Out;
}

// The headless backend on a manual clock with the application object; every
// window and form is gone after each test.
class TDrawWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A visible top-level popup window at R whose client is filled with Color.
    HWND MakeFilledWindow(const TRect& R, COLORREF Color, DWORD ExStyle = 0);

    THeadlessBackend Headless;
    TManualClock Clock{1000};
};
