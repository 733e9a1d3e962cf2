// The platform's graphics interface over memory surfaces.
//
// A device context (DC) draws on one pixel surface through its origins and
// its clip: device = logical - window origin + viewport origin, and nothing
// lands outside the effective clip (surface, meet system clip, meet the
// application's clip). A 32-bit pixel is B, G, R, A in memory; drawing
// writes alpha 0 except 32-bit source copies and AlphaBlend.
//
// Handles are opaque values looked up in one process-wide table under a lock;
// a handle that is not live or of the wrong kind fails the call in its
// documented way and is never dereferenced.
#pragma once

#include "platform/gdi/Types.h"

#include <string>
#include <string_view>

struct HGDIOBJ__;
struct HDC__;
struct HBITMAP__;
struct HPEN__;
struct HBRUSH__;
struct HFONT__;
struct HRGN__;
struct HPALETTE__;
struct HICON__;

using HGDIOBJ = HGDIOBJ__*;
using HDC = HDC__*;
using HBITMAP = HBITMAP__*;
using HPEN = HPEN__*;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HRGN = HRGN__*;
using HPALETTE = HPALETTE__*;
using HICON = HICON__*;
using HINSTANCE = void*;

// Any object handle passes where a HGDIOBJ is expected.
template <class H> inline HGDIOBJ ToObj(H Handle) {
    return reinterpret_cast<HGDIOBJ>(Handle);
}
template <class H> inline H FromObj(HGDIOBJ Handle) {
    return reinterpret_cast<H>(Handle);
}

// ---------------------------------------------------------------- constants

constexpr int OBJ_PEN = 1;
constexpr int OBJ_BRUSH = 2;
constexpr int OBJ_DC = 3;
constexpr int OBJ_PAL = 5;
constexpr int OBJ_FONT = 6;
constexpr int OBJ_BITMAP = 7;
constexpr int OBJ_REGION = 8;
constexpr int OBJ_MEMDC = 10;

constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_PALETTE = 15;
constexpr int DEFAULT_GUI_FONT = 17;

constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_COPYPEN = 13;

constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;

constexpr BYTE AC_SRC_OVER = 0;
constexpr BYTE AC_SRC_ALPHA = 1;

// ---------------------------------------------------------------- records

#pragma pack(push, 1)
struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};

struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0;
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};

// The header followed by up to 256 table entries (or three masks).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};
#pragma pack(pop)

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3] = {};
    void* dshSection = nullptr;
    DWORD dsOffset = 0;
};

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    TPoint lopnWidth;
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    std::uintptr_t lbHatch = 0;
};

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    // UTF-8, unlike the platform's fixed array.
    std::string lfFaceName;
};

struct PALETTEENTRY {
    BYTE peRed, peGreen, peBlue, peFlags;
};

struct LOGPALETTE {
    WORD palVersion = 0x300;
    WORD palNumEntries = 0;
    PALETTEENTRY palPalEntry[256];
};

struct BLENDFUNCTION {
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

constexpr DWORD RDH_RECTANGLES = 1;

struct RGNDATAHEADER {
    DWORD dwSize = 32;
    DWORD iType = RDH_RECTANGLES;
    DWORD nCount = 0;
    DWORD nRgnSize = 0;
    TRect rcBound;
};

// The header followed by nCount rectangles of 16 bytes each.
struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};

// ---------------------------------------------------------------- objects

int GetObjectType(HGDIOBJ Obj);
HGDIOBJ GetStockObject(int Index);
HGDIOBJ SelectObject(HDC DC, HGDIOBJ Obj);
BOOL DeleteObject(HGDIOBJ Obj);
HGDIOBJ GetCurrentObject(HDC DC, int Kind);
// Fills a BITMAP, DIBSECTION, LOGPEN, LOGBRUSH or LOGFONT by Size; with Buffer
// null answers the size needed; 0 on failure.
int GetObject(HGDIOBJ Obj, int Size, void* Buffer);
int GetObject(HGDIOBJ Obj, LOGFONT* Font);

HPEN CreatePen(int Style, int Width, COLORREF Color);
HBRUSH CreateSolidBrush(COLORREF Color);
HBRUSH GetSysColorBrush(int Index);
HFONT CreateFontIndirect(const LOGFONT* Font);
HPALETTE CreatePalette(const LOGPALETTE* Palette);

// ---------------------------------------------------------------- device contexts

HDC CreateCompatibleDC(HDC DC);
// Only "DISPLAY": a DC that measures and reports but never draws.
HDC CreateDC(std::string_view Driver);
BOOL DeleteDC(HDC DC);
int GetDeviceCaps(HDC DC, int Index);
// What the window system reports as the primary screen (1920 x 1080 at first).
void SetScreenSize(int Width, int Height);

// A surface the caller owns; the window system's back buffers are such.
struct TSurface {
    void* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0; // bytes from one row in memory to the next
    int BitCount = 32;
    bool BottomUp = false;
};

// A DC over a surface the window system owns, with the device offset of the
// window's (0,0) within it and the system clip (in window coordinates, i.e.
// relative to the offset). These never own the surface.
HDC CreateSurfaceDC(const TSurface& Surface);
BOOL SetSurfaceDCSurface(HDC DC, const TSurface& Surface);
BOOL SetSurfaceDCOffset(HDC DC, int X, int Y);
// A null region removes the system clip.
BOOL SetSurfaceDCSystemClip(HDC DC, HRGN Region);
// Copies into Region where the DC may have drawn so far, in surface
// coordinates: the union of the clips its drawing calls (and the callers it
// handed its pixels to) worked within. Nothing outside it has changed.
BOOL GetSurfaceDCReachedRgn(HDC DC, HRGN Region);

// The pixels a DC draws on, for code that reads or blends in memory.
struct TDCSurfaceInfo {
    void* Bits = nullptr; // the top row's first byte for top-down, the bottom row's for bottom-up
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    bool BottomUp = false;
    int BitCount = 0;
    TPoint Offset; // where the DC's device (0,0) lies on the surface
    HRGN Clip = 0; // effective clip in surface coordinates; the caller deletes it
};
// With WantClip false, Clip stays 0. FALSE for a bad DC or the display DC.
BOOL GetDCSurfaceInfo(HDC DC, TDCSurfaceInfo* Info, bool WantClip = true);

int SaveDC(HDC DC);
BOOL RestoreDC(HDC DC, int Level);

COLORREF SetTextColor(HDC DC, COLORREF Color);
COLORREF GetTextColor(HDC DC);
COLORREF SetBkColor(HDC DC, COLORREF Color);
COLORREF GetBkColor(HDC DC);
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);
int SetROP2(HDC DC, int Mode);
int GetROP2(HDC DC);
int SetStretchBltMode(HDC DC, int Mode);
int GetStretchBltMode(HDC DC);
BOOL SetBrushOrgEx(HDC DC, int X, int Y, TPoint* Old);

BOOL SetViewportOrgEx(HDC DC, int X, int Y, TPoint* Old);
BOOL GetViewportOrgEx(HDC DC, TPoint* Org);
BOOL OffsetViewportOrgEx(HDC DC, int DX, int DY, TPoint* Old);
BOOL SetWindowOrgEx(HDC DC, int X, int Y, TPoint* Old);
BOOL GetWindowOrgEx(HDC DC, TPoint* Org);
BOOL OffsetWindowOrgEx(HDC DC, int DX, int DY, TPoint* Old);
// What is drawn afterwards lands DX, DY further.
void MoveWindowOrg(HDC DC, int DX, int DY);
BOOL LPtoDP(HDC DC, TPoint* Points, int Count);
BOOL DPtoLP(HDC DC, TPoint* Points, int Count);

// ---------------------------------------------------------------- bitmaps

HBITMAP CreateDIBSection(HDC DC, const BITMAPINFO* Info, UINT Usage, void** Bits, void* Section,
                         DWORD Offset);
HBITMAP CreateCompatibleBitmap(HDC DC, int Width, int Height);
int GetDIBits(HDC DC, HBITMAP Bitmap, UINT Start, UINT Lines, void* Bits, BITMAPINFO* Info,
              UINT Usage);
// Sets the colour table of an 8-bit or smaller bitmap from a palette.
BOOL SetBitmapPalette(HBITMAP Bitmap, HPALETTE Palette);
UINT GetDIBColorTable(HDC DC, UINT Start, UINT Count, RGBQUAD* Colors);
UINT SetDIBColorTable(HDC DC, UINT Start, UINT Count, const RGBQUAD* Colors);

// ---------------------------------------------------------------- regions

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect* R);
BOOL SetRectRgn(HRGN Region, int Left, int Top, int Right, int Bottom);
int CombineRgn(HRGN Dest, HRGN A, HRGN B, int Mode);
int OffsetRgn(HRGN Region, int DX, int DY);
BOOL PtInRegion(HRGN Region, int X, int Y);
BOOL RectInRegion(HRGN Region, const TRect* R);
int GetRgnBox(HRGN Region, TRect* Box);
BOOL EqualRgn(HRGN A, HRGN B);
DWORD GetRegionData(HRGN Region, DWORD Size, RGNDATA* Data);
HRGN ExtCreateRegion(const void* Transform, DWORD Size, const RGNDATA* Data);

int SelectClipRgn(HDC DC, HRGN Region);
int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int GetClipBox(HDC DC, TRect* Box);
int GetClipRgn(HDC DC, HRGN Region);

// ---------------------------------------------------------------- blits

BOOL BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int SX, int SY, DWORD Rop);
BOOL PatBlt(HDC DC, int X, int Y, int Width, int Height, DWORD Rop);
BOOL StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int SX, int SY,
                int SWidth, int SHeight, DWORD Rop);
int StretchDIBits(HDC DC, int X, int Y, int Width, int Height, int SX, int SY, int SWidth,
                  int SHeight, const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop);
int SetDIBitsToDevice(HDC DC, int X, int Y, DWORD Width, DWORD Height, int SX, int SY,
                      UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                      UINT Usage);
BOOL AlphaBlend(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int SX, int SY,
                int SWidth, int SHeight, BLENDFUNCTION Blend);

// ---------------------------------------------------------------- lines, shapes, fills

BOOL MoveToEx(HDC DC, int X, int Y, TPoint* Old);
BOOL LineTo(HDC DC, int X, int Y);
BOOL GetCurrentPositionEx(HDC DC, TPoint* Pos);
BOOL Polyline(HDC DC, const TPoint* Points, int Count);
BOOL Polygon(HDC DC, const TPoint* Points, int Count);
BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom);
BOOL RoundRect(HDC DC, int Left, int Top, int Right, int Bottom, int Width, int Height);
BOOL Ellipse(HDC DC, int Left, int Top, int Right, int Bottom);
int FillRect(HDC DC, const TRect* R, HBRUSH Brush);
int FrameRect(HDC DC, const TRect* R, HBRUSH Brush);
BOOL InvertRect(HDC DC, const TRect* R);
BOOL FillRgn(HDC DC, HRGN Region, HBRUSH Brush);
COLORREF SetPixel(HDC DC, int X, int Y, COLORREF Color);
COLORREF GetPixel(HDC DC, int X, int Y);
BOOL DrawFocusRect(HDC DC, const TRect* R);

constexpr UINT BDR_RAISEDOUTER = 1;
constexpr UINT BDR_SUNKENOUTER = 2;
constexpr UINT BDR_RAISEDINNER = 4;
constexpr UINT BDR_SUNKENINNER = 8;
constexpr UINT EDGE_RAISED = 5;
constexpr UINT EDGE_SUNKEN = 10;
constexpr UINT EDGE_ETCHED = 6;
constexpr UINT EDGE_BUMP = 9;
constexpr UINT BF_LEFT = 1;
constexpr UINT BF_TOP = 2;
constexpr UINT BF_RIGHT = 4;
constexpr UINT BF_BOTTOM = 8;
constexpr UINT BF_RECT = 15;
constexpr UINT BF_MIDDLE = 0x800;
constexpr UINT BF_ADJUST = 0x2000;
BOOL DrawEdge(HDC DC, TRect* R, UINT Edge, UINT Flags);

// One ring per Width: top and left in TopColor, right and bottom (and the
// top-right and bottom-left corners) in BottomColor; R shrinks by Width.
void Frame3D(HDC DC, TRect& R, TColor TopColor, TColor BottomColor, int Width);

// ---------------------------------------------------------------- text

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

constexpr UINT ETO_OPAQUE = 2;
constexpr UINT ETO_CLIPPED = 4;

constexpr UINT DT_LEFT = 0;
constexpr UINT DT_TOP = 0;
constexpr UINT DT_CENTER = 1;
constexpr UINT DT_RIGHT = 2;
constexpr UINT DT_VCENTER = 4;
constexpr UINT DT_BOTTOM = 8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_EXPANDTABS = 0x40;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_RTLREADING = 0x20000;

struct DRAWTEXTPARAMS {
    UINT cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 0;
    int iLeftMargin = 0;
    int iRightMargin = 0;
    UINT uiLengthDrawn = 0;
};

// Text functions raise EInvalidOperation when Qt's application object is missing.
BOOL TextOut(HDC DC, int X, int Y, std::string_view Text);
BOOL ExtTextOut(HDC DC, int X, int Y, UINT Options, const TRect* R, std::string_view Text,
                const int* DX = nullptr);
BOOL GetTextExtentPoint32(HDC DC, std::string_view Text, TSize* Size);
BOOL GetTextMetrics(HDC DC, TEXTMETRIC* Metrics);
LONG TabbedTextOut(HDC DC, int X, int Y, std::string_view Text, int TabCount, const int* TabStops,
                   int TabOrigin);
// Count -1 takes the whole text; otherwise Count bytes of it.
int DrawText(HDC DC, std::string_view Text, int Count, TRect* R, UINT Format);
int DrawTextEx(HDC DC, std::string_view Text, int Count, TRect* R, UINT Format,
               DRAWTEXTPARAMS* Params);
