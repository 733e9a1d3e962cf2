// The objects behind the handles of the graphics interface, shared by its
// implementation files only.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class TEngineFont;

namespace gdi {

// ---------------------------------------------------------------- pixels

// A pixel as a number: 0xAARRGGBB, which is B, G, R, A in memory.
using TArgb = std::uint32_t;

constexpr TArgb ArgbFromColor(COLORREF C) {
    return (TArgb(GetRValue(C)) << 16) | (TArgb(GetGValue(C)) << 8) | TArgb(GetBValue(C));
}
constexpr COLORREF ColorFromArgb(TArgb P) {
    return RGB(BYTE(P >> 16), BYTE(P >> 8), BYTE(P));
}

// A view of pixel memory; Table holds the colours of 1-, 4- and 8-bit pixels.
struct TPixels {
    std::uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    int BitCount = 32;
    bool BottomUp = false;
    std::vector<RGBQUAD>* Table = nullptr;

    bool Valid() const { return Bits && Width > 0 && Height > 0; }
    // Row Y counted from the top of the picture.
    std::uint8_t* Row(int Y) const {
        return Bits + std::ptrdiff_t(BottomUp ? Height - 1 - Y : Y) * Stride;
    }
    TRect Bounds() const { return {0, 0, Width, Height}; }
};

int RowBytes(int Width, int BitCount);
std::vector<RGBQUAD> DefaultTable(int BitCount);
// Nearest table entry by squared RGB distance, the lower index on a tie.
int NearestIndex(const std::vector<RGBQUAD>& Table, TArgb Color);

// Reads Count pixels of row Y from X as 0xAARRGGBB (alpha 255 below 32 bits).
// The span must lie inside the surface.
void ReadRow(const TPixels& P, int X, int Y, int Count, TArgb* Out);
// Writes Count pixels; 32-bit surfaces take the alpha byte as given.
void WriteRow(const TPixels& P, int X, int Y, int Count, const TArgb* In);
void FillSpan(const TPixels& P, int X, int Y, int Count, TArgb Value);
TArgb ReadPixel(const TPixels& P, int X, int Y);
void WritePixel(const TPixels& P, int X, int Y, TArgb Value);

// ---------------------------------------------------------------- objects

enum class TKind {
    DC = OBJ_DC,
    MemDC = OBJ_MEMDC,
    Bitmap = OBJ_BITMAP,
    Pen = OBJ_PEN,
    Brush = OBJ_BRUSH,
    Font = OBJ_FONT,
    Region = OBJ_REGION,
    Palette = OBJ_PAL,
    Icon = 100,
    ImageList = 101
};

struct TGdiObject {
    explicit TGdiObject(TKind K) : Kind(K) {}
    virtual ~TGdiObject() = default;
    TKind Kind;
    bool Stock = false;
    // In how many DCs' current state the object is selected; such an
    // object cannot be deleted.
    std::atomic<int> SelectCount{0};
};

struct TBitmapObj : TGdiObject {
    TBitmapObj() : TGdiObject(TKind::Bitmap) {}
    std::vector<std::uint8_t> Storage;
    std::vector<RGBQUAD> Table;
    TPixels Pixels;
    BITMAPINFOHEADER Header;
    bool DibSection = false;
    HDC SelectedInto = 0;
};

struct TPenObj : TGdiObject {
    TPenObj() : TGdiObject(TKind::Pen) {}
    LOGPEN Log;
};

struct TBrushObj : TGdiObject {
    TBrushObj() : TGdiObject(TKind::Brush) {}
    LOGBRUSH Log;
};

struct TFontObj : TGdiObject {
    TFontObj() : TGdiObject(TKind::Font) {}
    LOGFONT Log;
    std::mutex EngineLock;
    std::shared_ptr<TEngineFont> Engine;
};

struct TRegionObj : TGdiObject {
    TRegionObj() : TGdiObject(TKind::Region) {}
    TRegion Region;
};

struct TPaletteObj : TGdiObject {
    TPaletteObj() : TGdiObject(TKind::Palette) {}
    std::vector<RGBQUAD> Colors;
};

struct TDcState {
    TPoint ViewportOrg;
    TPoint WindowOrg;
    bool HasClip = false;
    TRegion Clip; // device coordinates
    HPEN Pen = 0;
    HBRUSH Brush = 0;
    HFONT Font = 0;
    HBITMAP Bitmap = 0;
    HPALETTE Palette = 0;
    COLORREF TextColor = 0;
    COLORREF BkColor = 0xFFFFFF;
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    int StretchMode = BLACKONWHITE;
    TPoint BrushOrg;
    TPoint CurPos;
};

struct TDcObj : TGdiObject {
    enum TType { dcMemory, dcSurface, dcDisplay };
    explicit TDcObj(TType T) : TGdiObject(T == dcMemory ? TKind::MemDC : TKind::DC), Type(T) {}
    TType Type;
    HDC Self = 0;
    TDcState State;
    std::vector<TDcState> Saved;
    // Surface DCs only.
    TSurface Surface;
    TPoint DeviceOffset;
    bool HasSystemClip = false;
    TRegion SystemClip; // window coordinates
    // Where calls may have drawn, in surface coordinates: the union of the
    // clips they drew within. LastReached spares the union when, as usual,
    // one call after another draws within the same clip.
    TRegion Reached;
    TRegion LastReached;
};

// The process-wide handle table.
std::uintptr_t Register(std::shared_ptr<TGdiObject> Obj);
std::shared_ptr<TGdiObject> Find(const void* Handle);
bool Unregister(const void* Handle);

template <class T> std::shared_ptr<T> Lookup(const void* Handle, TKind Kind) {
    std::shared_ptr<TGdiObject> Obj = Find(Handle);
    if (!Obj || Obj->Kind != Kind)
        return nullptr;
    return std::static_pointer_cast<T>(Obj);
}
std::shared_ptr<TDcObj> LookupDC(HDC DC);

template <class H> H MakeHandle(std::shared_ptr<TGdiObject> Obj) {
    return reinterpret_cast<H>(Register(std::move(Obj)));
}

// ---------------------------------------------------------------- drawing target

// What one call draws on: the DC's surface, its mapping and its effective
// clip, all in surface coordinates. Holds the selected bitmap alive.
struct TTarget {
    std::shared_ptr<TDcObj> Dc;
    std::shared_ptr<TBitmapObj> Bitmap;
    TPixels Pixels;
    TPoint Offset; // surface = logical - window org + viewport org + Offset
    TRegion Clip;
    bool Draws = false; // false for the display DC and DCs without pixels

    // Saturated, so that rectangles meant as "everything" stay so under any origin.
    int SX(int X) const {
        return Saturate(std::int64_t(X) - Dc->State.WindowOrg.X + Dc->State.ViewportOrg.X +
                        Offset.X);
    }
    int SY(int Y) const {
        return Saturate(std::int64_t(Y) - Dc->State.WindowOrg.Y + Dc->State.ViewportOrg.Y +
                        Offset.Y);
    }
    static int Saturate(std::int64_t V) {
        return int(std::clamp<std::int64_t>(V, INT32_MIN, INT32_MAX));
    }
    TRect ToSurface(const TRect& R) const {
        return {SX(R.Left), SY(R.Top), SX(R.Right), SY(R.Bottom)};
    }
    bool Visible(int X, int Y) const;
};

// False when the DC is not live. A call that only reads passes Draws false,
// so that what it touches is not taken for drawn.
bool ResolveTarget(HDC DC, TTarget& T, bool Draws = true);
// The surface of a DC and where its device (0,0) lies on it.
bool SurfacePixels(TDcObj& Dc, std::shared_ptr<TBitmapObj>& Bitmap, TPixels& Pixels,
                   TPoint& Offset);

// Applies Op(TArgb* Row, int Count, int SurfaceX, int SurfaceY) to every
// clipped row span of the surface rectangle R.
template <class TOp> void ForEachSpan(const TTarget& T, const TRect& R, TOp Op) {
    TRect Part;
    for (const TRect& C : T.Clip.Rects()) {
        if (C.Top >= R.Bottom)
            break;
        if (!IntersectRect(&Part, &C, &R))
            continue;
        for (int Y = Part.Top; Y < Part.Bottom; ++Y)
            Op(Part.Left, Y, Part.Width());
    }
}

COLORREF BrushColor(HBRUSH Brush, bool* Hollow);
// A live brush, or a system colour index + 1 standing for one.
bool ValidBrush(HBRUSH Brush);
// Moves the selection count from the object in Slot to New and stores New.
template <class H> H Reselect(H& Slot, H New) {
    if (auto Old = Find(Slot))
        --Old->SelectCount;
    if (auto Obj = Find(New))
        ++Obj->SelectCount;
    return std::exchange(Slot, New);
}
// Counts the pen, brush, font and palette of a state as selected, or no longer.
void CountSelection(const TDcState& State, int Delta);
std::shared_ptr<TFontObj> SelectedFont(const TDcObj& Dc);

} // namespace gdi
