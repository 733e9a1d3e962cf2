// Geometry, colours and the small shared types of the graphics layer.
//
// Rectangles keep the platform's convention: Right and Bottom lie outside,
// so a rectangle's width is Right - Left. A COLORREF is 0x00BBGGRR; a TColor
// is the same for a plain colour and 0xFF000000 + index for a system colour,
// whose value is fixed (a classic grey scheme, identical on every machine).
#pragma once

#include <cstdint>
#include <initializer_list>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using COLORREF = DWORD;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// ---------------------------------------------------------------- geometry

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

using POINT = TPoint;
using SIZE = TSize;
using RECT = TRect;

constexpr TPoint Point(int X, int Y) {
    return {X, Y};
}
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) {
    return {Left, Top, Right, Bottom};
}
constexpr TRect Bounds(int Left, int Top, int Width, int Height) {
    return {Left, Top, Left + Width, Top + Height};
}

BOOL SetRect(TRect* R, int Left, int Top, int Right, int Bottom);
BOOL SetRectEmpty(TRect* R);
// Empty when the width or the height is zero or negative.
BOOL IsRectEmpty(const TRect* R);
BOOL EqualRect(const TRect* A, const TRect* B);
// The right and bottom edges are outside.
BOOL PtInRect(const TRect* R, TPoint P);
// Both answer FALSE and an empty (all zero) rectangle when the result is empty.
BOOL IntersectRect(TRect* Dest, const TRect* A, const TRect* B);
BOOL UnionRect(TRect* Dest, const TRect* A, const TRect* B);
BOOL OffsetRect(TRect* R, int DX, int DY);
BOOL InflateRect(TRect* R, int DX, int DY);
// A minus B, which is only a rectangle when B covers A fully across one axis;
// otherwise Dest is A.
BOOL SubtractRect(TRect* Dest, const TRect* A, const TRect* B);

// ---------------------------------------------------------------- colours

constexpr COLORREF RGB(BYTE R, BYTE G, BYTE B) {
    return COLORREF(R) | (COLORREF(G) << 8) | (COLORREF(B) << 16);
}
constexpr BYTE GetRValue(COLORREF C) {
    return BYTE(C & 0xFF);
}
constexpr BYTE GetGValue(COLORREF C) {
    return BYTE((C >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF C) {
    return BYTE((C >> 16) & 0xFF);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colour indices.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;

constexpr TColor SystemColor(int Index) {
    return TColor(0xFF000000u | unsigned(Index));
}

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);

// The fixed value of a system colour; index 25 and unknown indices are black.
COLORREF GetSysColor(int Index);
// A system colour becomes its fixed value; any other value comes back unchanged.
TColor ColorToRGB(TColor Color);

// ---------------------------------------------------------------- class-library types

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles, as small and comparable as the class library's.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> Styles) {
        for (TFontStyle S : Styles)
            FBits |= Bit(S);
    }

    constexpr bool Contains(TFontStyle S) const { return (FBits & Bit(S)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TFontStyles& Include(TFontStyle S) {
        FBits |= Bit(S);
        return *this;
    }
    constexpr TFontStyles& Exclude(TFontStyle S) {
        FBits &= BYTE(~Bit(S));
        return *this;
    }
    constexpr BYTE Bits() const { return FBits; }
    static constexpr TFontStyles FromBits(BYTE Bits) {
        TFontStyles Result;
        Result.FBits = Bits & 0x0F;
        return Result;
    }

    friend constexpr TFontStyles operator+(TFontStyles A, TFontStyles B) {
        return FromBits(A.FBits | B.FBits);
    }
    friend constexpr TFontStyles operator-(TFontStyles A, TFontStyles B) {
        return FromBits(A.FBits & BYTE(~B.FBits));
    }
    friend constexpr TFontStyles operator*(TFontStyles A, TFontStyles B) {
        return FromBits(A.FBits & B.FBits);
    }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    static constexpr BYTE Bit(TFontStyle S) { return BYTE(1u << unsigned(S)); }
    BYTE FBits = 0;
};

using TFontCharset = BYTE;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset OEM_CHARSET = 255;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TPenStyle { psSolid, psDash, psDot, psClear };
enum TPenMode { pmCopy, pmNot, pmXor };
enum TBrushStyle { bsSolid, bsClear };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

// Bits per pixel of a format; the device format is 32-bit.
constexpr int PixelFormatBits(TPixelFormat F) {
    switch (F) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined };
enum TBitmapHandleType { bmDIB };

using TCopyMode = DWORD;
