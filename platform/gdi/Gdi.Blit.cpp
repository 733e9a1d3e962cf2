// Blits: raster operations, stretching by pixel centres and alpha blending.
// Everything runs over rows of the clipped destination.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace gdi {

namespace {

enum class TMode { Rop, Alpha };

struct TBlitJob {
    TMode Mode = TMode::Rop;
    DWORD Rop = SRCCOPY;
    int StretchMode = COLORONCOLOR;
    BLENDFUNCTION Blend;
    TArgb Pattern = 0;
};

bool KnownRop(DWORD Rop) {
    switch (Rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case PATCOPY:
    case DSTINVERT:
    case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

bool UsesSource(DWORD Rop) {
    return Rop == SRCCOPY || Rop == SRCPAINT || Rop == SRCAND || Rop == SRCINVERT;
}

bool UsesDest(DWORD Rop) {
    return Rop == SRCPAINT || Rop == SRCAND || Rop == SRCINVERT || Rop == DSTINVERT;
}

// A copy of 24-bit pixels into a 32-bit surface, alpha 0 as every raster
// operation but a 32-bit copy leaves it: a video picture takes this path on
// every frame. Four pixels are three whole words of the row, so nothing
// past the source's last pixel is read.
void Copy24To32(const std::uint8_t* From, TArgb* To, int Count) {
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= Count; i += 4, From += 12) {
            std::uint32_t A, B, C;
            std::memcpy(&A, From, 4);
            std::memcpy(&B, From + 4, 4);
            std::memcpy(&C, From + 8, 4);
            To[i] = A & 0xFFFFFF;
            To[i + 1] = (A >> 24) | ((B & 0xFFFF) << 8);
            To[i + 2] = (B >> 16) | ((C & 0xFF) << 16);
            To[i + 3] = C >> 8;
        }
    }
    for (; i < Count; ++i, From += 3)
        To[i] = (TArgb(From[2]) << 16) | (TArgb(From[1]) << 8) | From[0];
}

// One span of a raster operation; alpha comes out 0 except a 32-bit copy.
void ApplyRop(DWORD Rop, TArgb* D, const TArgb* S, int N, TArgb Pattern, bool Source32) {
    constexpr TArgb C = 0x00FFFFFF;
    switch (Rop) {
    case SRCCOPY:
        if (Source32)
            std::memcpy(D, S, std::size_t(N) * 4);
        else
            for (int i = 0; i < N; ++i)
                D[i] = S[i] & C;
        break;
    case SRCPAINT:
        for (int i = 0; i < N; ++i)
            D[i] = (S[i] | D[i]) & C;
        break;
    case SRCAND:
        for (int i = 0; i < N; ++i)
            D[i] = (S[i] & D[i]) & C;
        break;
    case SRCINVERT:
        for (int i = 0; i < N; ++i)
            D[i] = (S[i] ^ D[i]) & C;
        break;
    case PATCOPY:
        std::fill(D, D + N, Pattern & C);
        break;
    case DSTINVERT:
        for (int i = 0; i < N; ++i)
            D[i] = ~D[i] & C;
        break;
    case BLACKNESS:
        std::fill(D, D + N, 0u);
        break;
    case WHITENESS:
        std::fill(D, D + N, C);
        break;
    }
}

inline std::uint32_t Div255(std::uint32_t V) {
    return (V + 127) / 255;
}

inline std::uint32_t Channel(TArgb P, int Shift) {
    return (P >> Shift) & 0xFF;
}

void ApplyAlpha(const BLENDFUNCTION& B, TArgb* D, const TArgb* S, int N) {
    const std::uint32_t SCA = B.SourceConstantAlpha;
    if (!(B.AlphaFormat & AC_SRC_ALPHA)) {
        const std::uint32_t Inv = 255 - SCA;
        for (int i = 0; i < N; ++i) {
            const TArgb SP = S[i], DP = D[i];
            D[i] = (Div255(Channel(SP, 24) * SCA + Channel(DP, 24) * Inv) << 24) |
                   (Div255(Channel(SP, 16) * SCA + Channel(DP, 16) * Inv) << 16) |
                   (Div255(Channel(SP, 8) * SCA + Channel(DP, 8) * Inv) << 8) |
                   Div255(Channel(SP, 0) * SCA + Channel(DP, 0) * Inv);
        }
        return;
    }
    for (int i = 0; i < N; ++i) {
        TArgb SP = S[i];
        if (SCA != 255)
            SP = (Div255(Channel(SP, 24) * SCA) << 24) | (Div255(Channel(SP, 16) * SCA) << 16) |
                 (Div255(Channel(SP, 8) * SCA) << 8) | Div255(Channel(SP, 0) * SCA);
        const std::uint32_t Inv = 255 - (SP >> 24);
        if (Inv == 0) {
            D[i] = SP;
            continue;
        }
        const TArgb DP = D[i];
        auto Mix = [&](int Shift) {
            return std::min<std::uint32_t>(255,
                                           Channel(SP, Shift) + Div255(Channel(DP, Shift) * Inv))
                   << Shift;
        };
        D[i] = Mix(24) | Mix(16) | Mix(8) | Mix(0);
    }
}

// An extent -n at c covers c - n + 1 ... c.
void Normalise(std::int64_t& Start, std::int64_t& Count, bool& Flipped) {
    Flipped = Count < 0;
    if (Flipped) {
        Start = Start + Count + 1;
        Count = -Count;
    }
}

// Destination index k reads source index floor((2k + 1) * sn / (2 * dn)),
// for the destination indices From ... To - 1 only.
std::vector<std::int64_t> SampleMap(std::int64_t SrcStart, std::int64_t SrcCount,
                                    std::int64_t DstCount, bool Flip, std::int64_t From,
                                    std::int64_t To) {
    std::vector<std::int64_t> Map;
    Map.reserve(std::size_t(To - From));
    for (std::int64_t k = From; k < To; ++k) {
        const std::int64_t K = Flip ? DstCount - 1 - k : k;
        Map.push_back(SrcStart + (2 * K + 1) * SrcCount / (2 * DstCount));
    }
    return Map;
}

// The box of source indices that destination index k covers when shrinking.
void BoxOf(std::int64_t K, std::int64_t SrcCount, std::int64_t DstCount, std::int64_t& From,
           std::int64_t& To) {
    From = K * SrcCount / DstCount;
    To = std::max(From + 1, (K + 1) * SrcCount / DstCount);
}

// Reads Count source pixels of row Y from X0; outside the surface is black.
void ReadSourceRow(const TPixels& S, std::int64_t X0, std::int64_t Y, int Count, TArgb* Out) {
    std::fill(Out, Out + Count, 0u);
    if (Y < 0 || Y >= S.Height)
        return;
    const std::int64_t From = std::max<std::int64_t>(X0, 0);
    const std::int64_t To = std::min<std::int64_t>(X0 + Count, S.Width);
    if (From < To)
        ReadRow(S, int(From), int(Y), int(To - From), Out + (From - X0));
}

// The average of the source box that destination pixel (K, L) covers. Only
// the part of the box inside the source surface is read; the rest counts as
// black without being visited, so a far too large source costs nothing.
TArgb HalftonePixel(const TPixels& S, std::int64_t SX, std::int64_t SY, std::int64_t K,
                    std::int64_t L, std::int64_t SW, std::int64_t SH, std::int64_t W,
                    std::int64_t H, std::vector<TArgb>& Line) {
    std::int64_t X1, X2, Y1, Y2;
    BoxOf(K, SW, W, X1, X2);
    BoxOf(L, SH, H, Y1, Y2);
    const std::uint64_t Count = std::uint64_t(X2 - X1) * std::uint64_t(Y2 - Y1);
    const std::int64_t ReadX1 = std::max<std::int64_t>(SX + X1, 0);
    const std::int64_t ReadX2 = std::min<std::int64_t>(SX + X2, S.Width);
    const std::int64_t ReadY1 = std::max<std::int64_t>(SY + Y1, 0);
    const std::int64_t ReadY2 = std::min<std::int64_t>(SY + Y2, S.Height);
    std::uint64_t Sum[4] = {};
    if (ReadX1 < ReadX2) {
        Line.resize(std::size_t(ReadX2 - ReadX1));
        for (std::int64_t YY = ReadY1; YY < ReadY2; ++YY) {
            ReadRow(S, int(ReadX1), int(YY), int(Line.size()), Line.data());
            for (TArgb P : Line)
                for (int k = 0; k < 4; ++k)
                    Sum[k] += (P >> (8 * k)) & 0xFF;
        }
    }
    TArgb Avg = 0;
    for (int k = 0; k < 4; ++k)
        Avg |= TArgb((Sum[k] + Count / 2) / Count) << (8 * k);
    return Avg;
}

// Geometry is worked out in 64 bits and cut to the clip before anything is
// allocated, so any rectangle costs only what is visible of it.
bool Transfer(TTarget& D, int X, int Y, int Width, int Height, const TPixels& Src, int SrcX,
              int SrcY, int SrcWidth, int SrcHeight, const TBlitJob& Job) {
    if (!D.Draws)
        return true;
    std::int64_t DX =
        std::int64_t(X) - D.Dc->State.WindowOrg.X + D.Dc->State.ViewportOrg.X + D.Offset.X;
    std::int64_t DY =
        std::int64_t(Y) - D.Dc->State.WindowOrg.Y + D.Dc->State.ViewportOrg.Y + D.Offset.Y;
    std::int64_t W = Width, H = Height, SX = SrcX, SY = SrcY, SW = SrcWidth, SH = SrcHeight;
    bool FlipDX, FlipDY, FlipSX, FlipSY;
    Normalise(DX, W, FlipDX);
    Normalise(DY, H, FlipDY);
    Normalise(SX, SW, FlipSX);
    Normalise(SY, SH, FlipSY);
    if (W == 0 || H == 0 || SW == 0 || SH == 0)
        return true;
    const TRect ClipBox = D.Clip.Bounds();
    const std::int64_t VL = std::max<std::int64_t>(DX, ClipBox.Left);
    const std::int64_t VR = std::min<std::int64_t>(DX + W, ClipBox.Right);
    const std::int64_t VT = std::max<std::int64_t>(DY, ClipBox.Top);
    const std::int64_t VB = std::min<std::int64_t>(DY + H, ClipBox.Bottom);
    if (VL >= VR || VT >= VB)
        return true;
    const bool FlipX = FlipDX != FlipSX, FlipY = FlipDY != FlipSY;
    const std::vector<std::int64_t> Cols = SampleMap(SX, SW, W, FlipX, VL - DX, VR - DX);
    const std::vector<std::int64_t> Rows = SampleMap(SY, SH, H, FlipY, VT - DY, VB - DY);
    const TRect Area{int(VL), int(VT), int(VR), int(VB)};
    const auto [ColMin, ColMax] = std::minmax_element(Cols.begin(), Cols.end());
    const std::int64_t RowFrom = *ColMin;
    const std::int64_t Reach = *ColMax - *ColMin + 1;
    // A source row is read once per row when it is not much wider than what
    // is drawn of it; a far wider one is read pixel by pixel.
    const bool CacheRow = Reach <= 4 * (VR - VL) + 64;
    const int RowCount = CacheRow ? int(Reach) : 0;

    // A source that shares the destination's memory is read from a copy, so
    // that overlapping moves behave as if through a buffer.
    TPixels S = Src;
    std::vector<std::uint8_t> Copy;
    std::vector<RGBQUAD> CopyTable;
    if (S.Bits == D.Pixels.Bits && S.Valid()) {
        Copy.assign(S.Bits, S.Bits + std::size_t(S.Stride) * std::size_t(S.Height));
        if (S.Table)
            CopyTable = *S.Table;
        S.Bits = Copy.data();
        S.Table = &CopyTable;
    }
    const bool Source32 = S.BitCount == 32;
    const bool Plain = !FlipX && SW == W;
    const bool Halftone =
        Job.Mode == TMode::Rop && Job.StretchMode == HALFTONE && (SW > W || SH > H);
    const bool NeedSource = Job.Mode == TMode::Alpha || UsesSource(Job.Rop);
    const bool NeedDest = Job.Mode == TMode::Alpha || UsesDest(Job.Rop);
    const bool Direct = Job.Mode == TMode::Rop && Job.Rop == SRCCOPY && Plain &&
                        D.Pixels.BitCount == 32 && (Source32 || S.BitCount == 24);

    const std::size_t Span = std::size_t(VR - VL);
    std::vector<TArgb> SrcRow, SrcBuf(Span), DstBuf(Span), Line;
    std::int64_t CachedRow = -1;
    ForEachSpan(D, Area, [&](int X0, int Y0, int N) {
        const std::int64_t SrcRowY = Rows[std::size_t(Y0 - Area.Top)];
        const std::int64_t SrcColX = Cols[std::size_t(X0 - Area.Left)];
        if (Direct && SrcRowY >= 0 && SrcRowY < S.Height && SrcColX >= 0 &&
            SrcColX + N <= S.Width) {
            std::uint8_t* To = D.Pixels.Row(Y0) + std::size_t(X0) * 4;
            const std::uint8_t* From = S.Row(int(SrcRowY));
            if (Source32)
                std::memcpy(To, From + std::size_t(SrcColX) * 4, std::size_t(N) * 4);
            else
                Copy24To32(From + std::size_t(SrcColX) * 3, reinterpret_cast<TArgb*>(To), N);
            return;
        }
        TArgb* SB = SrcBuf.data();
        if (NeedSource) {
            if (Halftone) {
                const std::int64_t L = FlipY ? H - 1 - (Y0 - DY) : Y0 - DY;
                for (int i = 0; i < N; ++i) {
                    const std::int64_t K = X0 + i - DX;
                    SB[i] = HalftonePixel(S, SX, SY, FlipX ? W - 1 - K : K, L, SW, SH, W, H, Line);
                }
            } else if (Plain) {
                ReadSourceRow(S, SrcColX, SrcRowY, N, SB);
            } else if (!CacheRow) {
                for (int i = 0; i < N; ++i)
                    ReadSourceRow(S, Cols[std::size_t(X0 - Area.Left + i)], SrcRowY, 1, SB + i);
            } else {
                if (SrcRowY != CachedRow) {
                    SrcRow.resize(std::size_t(RowCount));
                    ReadSourceRow(S, RowFrom, SrcRowY, RowCount, SrcRow.data());
                    CachedRow = SrcRowY;
                }
                for (int i = 0; i < N; ++i)
                    SB[i] = SrcRow[std::size_t(Cols[std::size_t(X0 - Area.Left + i)] - RowFrom)];
            }
        }
        TArgb* DB = DstBuf.data();
        if (NeedDest)
            ReadRow(D.Pixels, X0, Y0, N, DB);
        if (Job.Mode == TMode::Alpha)
            ApplyAlpha(Job.Blend, DB, SB, N);
        else
            ApplyRop(Job.Rop, DB, SB, N, Job.Pattern, Source32);
        WriteRow(D.Pixels, X0, Y0, N, DB);
    });
    return true;
}

TArgb SelectedBrushColor(const TDcObj& Dc) {
    bool Hollow;
    const COLORREF C = BrushColor(Dc.State.Brush, &Hollow);
    return Hollow ? 0 : ArgbFromColor(C);
}

bool BlitFromDC(HDC Dest, int X, int Y, int W, int H, HDC Source, int SX, int SY, int SW, int SH,
                TBlitJob Job) {
    TTarget D;
    if (!ResolveTarget(Dest, D))
        return false;
    Job.Pattern = SelectedBrushColor(*D.Dc);
    Job.StretchMode = D.Dc->State.StretchMode;
    const bool NeedSource = Job.Mode == TMode::Alpha || UsesSource(Job.Rop);
    if (!NeedSource)
        return Transfer(D, X, Y, W, H, TPixels{}, 0, 0, W, H, Job);
    TTarget S;
    if (!ResolveTarget(Source, S, false))
        return false;
    if (Job.Mode == TMode::Alpha && (Job.Blend.AlphaFormat & AC_SRC_ALPHA) &&
        (!S.Draws || S.Pixels.BitCount != 32))
        return false;
    TPixels SP = S.Draws ? S.Pixels : TPixels{};
    return Transfer(D, X, Y, W, H, SP, S.Draws ? S.SX(SX) : SX, S.Draws ? S.SY(SY) : SY, SW, SH,
                    Job);
}

// A caller's buffer seen as pixels, rows from the picture's top.
bool DibPixels(const void* Bits, const BITMAPINFO* Info, TPixels& P, std::vector<RGBQUAD>& Table) {
    if (!Bits || !Info)
        return false;
    const BITMAPINFOHEADER& H = Info->bmiHeader;
    const int Depth = H.biBitCount;
    if (H.biSize < 40 || H.biWidth <= 0 || H.biWidth > 32767 || H.biHeight == 0 ||
        H.biHeight < -32767 || H.biHeight > 32767)
        return false;
    if (Depth != 1 && Depth != 4 && Depth != 8 && Depth != 24 && Depth != 32)
        return false;
    if (H.biCompression != BI_RGB && !(H.biCompression == BI_BITFIELDS && Depth == 32))
        return false;
    if (Depth <= 8) {
        const std::size_t Full = std::size_t(1) << Depth;
        const std::size_t Used = (H.biClrUsed == 0 || H.biClrUsed > Full) ? Full : H.biClrUsed;
        Table.assign(Info->bmiColors, Info->bmiColors + Used);
        Table.resize(Full, RGBQUAD{0, 0, 0, 0});
    }
    P = {static_cast<std::uint8_t*>(const_cast<void*>(Bits)),
         H.biWidth,
         H.biHeight < 0 ? -H.biHeight : H.biHeight,
         RowBytes(H.biWidth, Depth),
         Depth,
         H.biHeight > 0,
         &Table};
    return true;
}

} // namespace

} // namespace gdi

using namespace gdi;

BOOL BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int SX, int SY, DWORD Rop) {
    if (!KnownRop(Rop))
        return FALSE;
    if (Width <= 0 || Height <= 0)
        return LookupDC(Dest) ? TRUE : FALSE;
    TBlitJob Job;
    Job.Rop = Rop;
    return BlitFromDC(Dest, X, Y, Width, Height, Source, SX, SY, Width, Height, Job);
}

BOOL PatBlt(HDC DC, int X, int Y, int Width, int Height, DWORD Rop) {
    if (!KnownRop(Rop) || UsesSource(Rop))
        return FALSE;
    TBlitJob Job;
    Job.Rop = Rop;
    return BlitFromDC(DC, X, Y, Width, Height, 0, 0, 0, Width, Height, Job);
}

BOOL StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int SX, int SY,
                int SWidth, int SHeight, DWORD Rop) {
    if (!KnownRop(Rop))
        return FALSE;
    TBlitJob Job;
    Job.Rop = Rop;
    return BlitFromDC(Dest, X, Y, Width, Height, Source, SX, SY, SWidth, SHeight, Job);
}

BOOL AlphaBlend(HDC Dest, int X, int Y, int Width, int Height, HDC Source, int SX, int SY,
                int SWidth, int SHeight, BLENDFUNCTION Blend) {
    if (Blend.BlendOp != AC_SRC_OVER || Width < 0 || Height < 0 || SWidth < 0 || SHeight < 0)
        return FALSE;
    TBlitJob Job;
    Job.Mode = TMode::Alpha;
    Job.Blend = Blend;
    return BlitFromDC(Dest, X, Y, Width, Height, Source, SX, SY, SWidth, SHeight, Job);
}

int StretchDIBits(HDC DC, int X, int Y, int Width, int Height, int SX, int SY, int SWidth,
                  int SHeight, const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop) {
    TTarget D;
    TPixels P;
    std::vector<RGBQUAD> Table;
    if (Usage != DIB_RGB_COLORS || !KnownRop(Rop) || !ResolveTarget(DC, D) ||
        !DibPixels(Bits, Info, P, Table))
        return 0;
    TBlitJob Job;
    Job.Rop = Rop;
    Job.StretchMode = D.Dc->State.StretchMode;
    Job.Pattern = SelectedBrushColor(*D.Dc);
    Transfer(D, X, Y, Width, Height, P, SX, SY, SWidth, SHeight, Job);
    return P.Height;
}

int SetDIBitsToDevice(HDC DC, int X, int Y, DWORD Width, DWORD Height, int SX, int SY,
                      UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                      UINT Usage) {
    TTarget D;
    TPixels P;
    std::vector<RGBQUAD> Table;
    if (Usage != DIB_RGB_COLORS || !ResolveTarget(DC, D) || !DibPixels(Bits, Info, P, Table))
        return 0;
    if (StartScan >= UINT(P.Height) || Lines == 0)
        return 0;
    Lines = std::min<UINT>(Lines, UINT(P.Height) - StartScan);
    // The buffer holds scan lines StartScan ... StartScan + Lines - 1, which
    // for a bottom-up picture are counted from its bottom.
    const int FirstRow = P.BottomUp ? P.Height - int(StartScan) - int(Lines) : int(StartScan);
    P.Height = int(Lines);
    TBlitJob Job;
    Job.Rop = SRCCOPY;
    Transfer(D, X, Y, int(Width), int(Height), P, SX, SY - FirstRow, int(Width), int(Height), Job);
    return int(Lines);
}
