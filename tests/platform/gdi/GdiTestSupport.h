// A small 32-bit top-down bitmap in a memory DC, read back as a text
// picture: one character per pixel, rows separated by newlines.
#pragma once

#include "platform/gdi/Gdi.h"

#include <map>
#include <string>

class TTestSurface {
public:
    TTestSurface(int Width, int Height, COLORREF Background = RGB(255, 255, 255), int BitCount = 32,
                 bool BottomUp = false)
        : FWidth(Width), FHeight(Height) {
        BITMAPINFO Info{};
        Info.bmiHeader.biWidth = Width;
        Info.bmiHeader.biHeight = BottomUp ? Height : -Height;
        Info.bmiHeader.biBitCount = WORD(BitCount);
        FDC = CreateCompatibleDC(0);
        FBitmap = CreateDIBSection(FDC, &Info, DIB_RGB_COLORS, &FBits, nullptr, 0);
        FOld = SelectObject(FDC, ToObj(FBitmap));
        Fill(Background);
    }
    ~TTestSurface() {
        SelectObject(FDC, FOld);
        DeleteObject(ToObj(FBitmap));
        DeleteDC(FDC);
    }
    TTestSurface(const TTestSurface&) = delete;
    TTestSurface& operator=(const TTestSurface&) = delete;

    HDC DC() const { return FDC; }
    HBITMAP Bitmap() const { return FBitmap; }
    void* Bits() const { return FBits; }

    void Fill(COLORREF Color) {
        HBRUSH B = CreateSolidBrush(Color);
        TPoint VOrg, WOrg;
        SetViewportOrgEx(FDC, 0, 0, &VOrg);
        SetWindowOrgEx(FDC, 0, 0, &WOrg);
        const TRect R{0, 0, FWidth, FHeight};
        FillRect(FDC, &R, B);
        SetViewportOrgEx(FDC, VOrg.X, VOrg.Y, nullptr);
        SetWindowOrgEx(FDC, WOrg.X, WOrg.Y, nullptr);
        DeleteObject(ToObj(B));
    }

    // The raw 0xAARRGGBB of a 32-bit surface pixel (top-down only).
    std::uint32_t Raw(int X, int Y) const {
        return static_cast<const std::uint32_t*>(FBits)[Y * FWidth + X];
    }

    // '.' white, '#' black, legend for the rest, '?' anything else.
    std::string Picture(const std::map<COLORREF, char>& Legend = {}) const {
        std::string Out;
        TDCSurfaceInfo Info;
        GetDCSurfaceInfo(FDC, &Info, false);
        for (int Y = 0; Y < FHeight; ++Y) {
            for (int X = 0; X < FWidth; ++X) {
                const COLORREF C = PixelAt(X, Y);
                auto It = Legend.find(C);
                if (It != Legend.end())
                    Out += It->second;
                else if (C == RGB(255, 255, 255))
                    Out += '.';
                else if (C == 0)
                    Out += '#';
                else
                    Out += '?';
            }
            Out += '\n';
        }
        return Out;
    }

    // Reads through a fresh DC state, whatever the test did to origins and clip.
    COLORREF PixelAt(int X, int Y) const {
        const int Saved = SaveDC(FDC);
        SetViewportOrgEx(FDC, 0, 0, nullptr);
        SetWindowOrgEx(FDC, 0, 0, nullptr);
        SelectClipRgn(FDC, 0);
        const COLORREF C = GetPixel(FDC, X, Y);
        RestoreDC(FDC, Saved);
        return C;
    }

private:
    int FWidth, FHeight;
    HDC FDC = 0;
    HBITMAP FBitmap = 0;
    HGDIOBJ FOld = 0;
    void* FBits = nullptr;
};

// Joins picture rows written one per string literal.
inline std::string Rows(std::initializer_list<const char*> Lines) {
    std::string Out;
    for (const char* L : Lines) {
        Out += L;
        Out += '\n';
    }
    return Out;
}
