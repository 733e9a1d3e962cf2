// Blits: raster operations, stretching by pixel centres and alpha blending.
// Everything runs over rows of the clipped destination.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
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
void Normalise(int& Start, int& Count, bool& Flipped) {
    Flipped = Count < 0;
    if (Flipped) {
        Start = Start + Count + 1;
        Count = -Count;
    }
}

// Destination index k reads source index floor((2k + 1) * sn / (2 * dn)).
std::vector<int> SampleMap(int SrcStart, int SrcCount, int DstCount, bool Flip) {
    std::vector<int> Map(static_cast<std::size_t>(DstCount));
    for (int k = 0; k < DstCount; ++k) {
        const int K = Flip ? DstCount - 1 - k : k;
        Map[std::size_t(k)] =
            SrcStart + int((2 * std::int64_t(K) + 1) * SrcCount / (2 * std::int64_t(DstCount)));
    }
    return Map;
}

// The box of source indices that destination index k covers when shrinking.
void BoxOf(int K, int SrcCount, int DstCount, int& From, int& To) {
    From = int(std::int64_t(K) * SrcCount / DstCount);
    To = std::max(From + 1, int(std::int64_t(K + 1) * SrcCount / DstCount));
}

// Reads source row Y from X0 over Count pixels; outside the surface is black.
void ReadSourceRow(const TPixels& S, int X0, int Y, int Count, TArgb* Out) {
    std::fill(Out, Out + Count, 0u);
    if (Y < 0 || Y >= S.Height)
        return;
    const int From = std::max(X0, 0), To = std::min(X0 + Count, S.Width);
    if (From < To)
        ReadRow(S, From, Y, To - From, Out + (From - X0));
}

bool Transfer(TTarget& D, int X, int Y, int W, int H, const TPixels& Src, int SX, int SY, int SW,
              int SH, const TBlitJob& Job) {
    if (!D.Draws)
        return true;
    int DX = D.SX(X), DY = D.SY(Y);
    bool FlipDX, FlipDY, FlipSX, FlipSY;
    Normalise(DX, W, FlipDX);
    Normalise(DY, H, FlipDY);
    Normalise(SX, SW, FlipSX);
    Normalise(SY, SH, FlipSY);
    if (W == 0 || H == 0 || SW == 0 || SH == 0)
        return true;
    const bool FlipX = FlipDX != FlipSX, FlipY = FlipDY != FlipSY;
    const std::vector<int> Cols = SampleMap(SX, SW, W, FlipX);
    const std::vector<int> Rows = SampleMap(SY, SH, H, FlipY);
    const TRect Area{DX, DY, DX + W, DY + H};

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
    const bool Direct32 = Job.Mode == TMode::Rop && Job.Rop == SRCCOPY && Plain && Source32 &&
                          D.Pixels.BitCount == 32;

    std::vector<TArgb> SrcRow(static_cast<std::size_t>(SW));
    std::vector<TArgb> SrcBuf(static_cast<std::size_t>(W)), DstBuf(static_cast<std::size_t>(W));
    int CachedRow = -1;
    ForEachSpan(D, Area, [&](int X0, int Y0, int N) {
        const int SrcY = Rows[std::size_t(Y0 - DY)];
        const int SrcX = Cols[std::size_t(X0 - DX)];
        if (Direct32 && SrcY >= 0 && SrcY < S.Height && SrcX >= 0 && SrcX + N <= S.Width) {
            std::memcpy(D.Pixels.Row(Y0) + std::size_t(X0) * 4, S.Row(SrcY) + std::size_t(SrcX) * 4,
                        std::size_t(N) * 4);
            return;
        }
        TArgb* SB = SrcBuf.data();
        if (NeedSource) {
            if (Halftone) {
                for (int i = 0; i < N; ++i) {
                    int X1, X2, Y1, Y2;
                    BoxOf(X0 - DX + i, SW, W, X1, X2);
                    BoxOf(Y0 - DY, SH, H, Y1, Y2);
                    std::uint32_t Sum[4] = {}, Count = 0;
                    std::vector<TArgb> Line(static_cast<std::size_t>(X2 - X1));
                    for (int YY = Y1; YY < Y2; ++YY) {
                        ReadSourceRow(S, SX + X1, SY + YY, X2 - X1, Line.data());
                        for (TArgb P : Line) {
                            for (int k = 0; k < 4; ++k)
                                Sum[k] += (P >> (8 * k)) & 0xFF;
                            ++Count;
                        }
                    }
                    TArgb Avg = 0;
                    for (int k = 0; k < 4; ++k)
                        Avg |= ((Sum[k] + Count / 2) / Count) << (8 * k);
                    SB[i] = Avg;
                }
            } else if (Plain) {
                ReadSourceRow(S, SrcX, SrcY, N, SB);
            } else {
                if (SrcY != CachedRow) {
                    ReadSourceRow(S, SX, SrcY, SW, SrcRow.data());
                    CachedRow = SrcY;
                }
                for (int i = 0; i < N; ++i)
                    SB[i] = SrcRow[std::size_t(Cols[std::size_t(X0 - DX + i)] - SX)];
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
    if (!ResolveSource(Source, S))
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
