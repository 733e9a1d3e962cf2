// Pixel formats, DIB sections and reading bitmaps back in any depth.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace gdi {

int RowBytes(int Width, int BitCount) {
    return int(((std::int64_t(Width) * BitCount + 31) / 32) * 4);
}

std::vector<RGBQUAD> DefaultTable(int BitCount) {
    static const COLORREF Standard16[16] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
    auto Quad = [](COLORREF C) { return RGBQUAD{GetBValue(C), GetGValue(C), GetRValue(C), 0}; };
    std::vector<RGBQUAD> T;
    if (BitCount == 1) {
        T = {Quad(0), Quad(0xFFFFFF)};
    } else if (BitCount == 4 || BitCount == 8) {
        for (COLORREF C : Standard16)
            T.push_back(Quad(C));
        if (BitCount == 8) {
            for (int R = 0; R < 6; ++R)
                for (int G = 0; G < 6; ++G)
                    for (int B = 0; B < 6; ++B)
                        T.push_back(Quad(RGB(BYTE(R * 51), BYTE(G * 51), BYTE(B * 51))));
            // The remaining 24 entries: greys between the cube's steps.
            for (int i = 0; T.size() < 256; ++i) {
                const BYTE V = BYTE(8 + i * 10);
                T.push_back(Quad(RGB(V, V, V)));
            }
        }
    }
    return T;
}

int NearestIndex(const std::vector<RGBQUAD>& Table, TArgb Color) {
    const int R = int((Color >> 16) & 0xFF), G = int((Color >> 8) & 0xFF), B = int(Color & 0xFF);
    int Best = 0;
    int BestDist = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < Table.size(); ++i) {
        const int DR = Table[i].rgbRed - R, DG = Table[i].rgbGreen - G, DB = Table[i].rgbBlue - B;
        const int D = DR * DR + DG * DG + DB * DB;
        if (D < BestDist) {
            BestDist = D;
            Best = int(i);
            if (D == 0)
                break;
        }
    }
    return Best;
}

namespace {

TArgb TableColor(const TPixels& P, int Index) {
    if (!P.Table || Index >= int(P.Table->size()))
        return 0xFF000000;
    const RGBQUAD& Q = (*P.Table)[std::size_t(Index)];
    return 0xFF000000u | (TArgb(Q.rgbRed) << 16) | (TArgb(Q.rgbGreen) << 8) | Q.rgbBlue;
}

int IndexAt(const std::uint8_t* Row, int X, int BitCount) {
    switch (BitCount) {
    case 1:
        return (Row[X >> 3] >> (7 - (X & 7))) & 1;
    case 4:
        return (Row[X >> 1] >> ((X & 1) ? 0 : 4)) & 0x0F;
    default:
        return Row[X];
    }
}

void SetIndexAt(std::uint8_t* Row, int X, int BitCount, int Index) {
    switch (BitCount) {
    case 1: {
        const std::uint8_t Mask = std::uint8_t(0x80 >> (X & 7));
        Row[X >> 3] = Index ? (Row[X >> 3] | Mask) : (Row[X >> 3] & ~Mask);
        break;
    }
    case 4: {
        const int Shift = (X & 1) ? 0 : 4;
        Row[X >> 1] = std::uint8_t((Row[X >> 1] & ~(0x0F << Shift)) | ((Index & 0x0F) << Shift));
        break;
    }
    default:
        Row[X] = std::uint8_t(Index);
    }
}

// Remembers the last conversion, as spans are mostly of one colour.
struct TIndexCache {
    const std::vector<RGBQUAD>* Table;
    TArgb Last = 0;
    int LastIndex = -1;
    int operator()(TArgb C) {
        C &= 0xFFFFFF;
        if (LastIndex < 0 || C != Last) {
            Last = C;
            LastIndex = Table ? NearestIndex(*Table, C) : 0;
        }
        return LastIndex;
    }
};

} // namespace

void ReadRow(const TPixels& P, int X, int Y, int Count, TArgb* Out) {
    const std::uint8_t* Row = P.Row(Y);
    switch (P.BitCount) {
    case 32:
        std::memcpy(Out, Row + std::size_t(X) * 4, std::size_t(Count) * 4);
        break;
    case 24: {
        const std::uint8_t* S = Row + std::size_t(X) * 3;
        for (int i = 0; i < Count; ++i, S += 3)
            Out[i] = 0xFF000000u | (TArgb(S[2]) << 16) | (TArgb(S[1]) << 8) | S[0];
        break;
    }
    default:
        for (int i = 0; i < Count; ++i)
            Out[i] = TableColor(P, IndexAt(Row, X + i, P.BitCount));
    }
}

void WriteRow(const TPixels& P, int X, int Y, int Count, const TArgb* In) {
    std::uint8_t* Row = P.Row(Y);
    switch (P.BitCount) {
    case 32:
        std::memcpy(Row + std::size_t(X) * 4, In, std::size_t(Count) * 4);
        break;
    case 24: {
        std::uint8_t* D = Row + std::size_t(X) * 3;
        for (int i = 0; i < Count; ++i, D += 3) {
            D[0] = std::uint8_t(In[i]);
            D[1] = std::uint8_t(In[i] >> 8);
            D[2] = std::uint8_t(In[i] >> 16);
        }
        break;
    }
    default: {
        TIndexCache Cache{P.Table};
        for (int i = 0; i < Count; ++i)
            SetIndexAt(Row, X + i, P.BitCount, Cache(In[i]));
    }
    }
}

void FillSpan(const TPixels& P, int X, int Y, int Count, TArgb Value) {
    std::uint8_t* Row = P.Row(Y);
    switch (P.BitCount) {
    case 32: {
        auto* D = reinterpret_cast<TArgb*>(Row) + X;
        std::fill(D, D + Count, Value);
        break;
    }
    case 24: {
        std::uint8_t* D = Row + std::size_t(X) * 3;
        for (int i = 0; i < Count; ++i, D += 3) {
            D[0] = std::uint8_t(Value);
            D[1] = std::uint8_t(Value >> 8);
            D[2] = std::uint8_t(Value >> 16);
        }
        break;
    }
    default: {
        const int Index = P.Table ? NearestIndex(*P.Table, Value) : 0;
        for (int i = 0; i < Count; ++i)
            SetIndexAt(Row, X + i, P.BitCount, Index);
    }
    }
}

TArgb ReadPixel(const TPixels& P, int X, int Y) {
    TArgb V;
    ReadRow(P, X, Y, 1, &V);
    return V;
}

void WritePixel(const TPixels& P, int X, int Y, TArgb Value) {
    WriteRow(P, X, Y, 1, &Value);
}

namespace {

bool ValidBitCount(int Bits) {
    return Bits == 1 || Bits == 4 || Bits == 8 || Bits == 24 || Bits == 32;
}

// The colour table a header brings, or the default one for its depth.
std::vector<RGBQUAD> HeaderTable(const BITMAPINFO* Info) {
    const int Bits = Info->bmiHeader.biBitCount;
    if (Bits > 8)
        return {};
    const std::size_t Full = std::size_t(1) << Bits;
    std::size_t Used = Info->bmiHeader.biClrUsed;
    if (Used == 0 || Used > Full)
        Used = Full;
    std::vector<RGBQUAD> T(Info->bmiColors, Info->bmiColors + Used);
    T.resize(Full, RGBQUAD{0, 0, 0, 0});
    return T;
}

} // namespace

std::shared_ptr<TBitmapObj> MakeBitmap(int Width, int Height, int BitCount, bool BottomUp) {
    if (Width <= 0 || Height <= 0 || Width > 32767 || Height > 32767 || !ValidBitCount(BitCount))
        return nullptr;
    auto B = std::make_shared<TBitmapObj>();
    const int Stride = RowBytes(Width, BitCount);
    try {
        B->Storage.assign(std::size_t(Stride) * std::size_t(Height), 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (BitCount <= 8)
        B->Table = DefaultTable(BitCount);
    B->Pixels = {B->Storage.data(), Width, Height, Stride, BitCount, BottomUp, &B->Table};
    B->Header.biWidth = Width;
    B->Header.biHeight = BottomUp ? Height : -Height;
    B->Header.biBitCount = WORD(BitCount);
    B->Header.biSizeImage = DWORD(B->Storage.size());
    B->DibSection = true;
    return B;
}

} // namespace gdi

using namespace gdi;

HBITMAP CreateDIBSection(HDC DC, const BITMAPINFO* Info, UINT Usage, void** Bits, void* Section,
                         DWORD Offset) {
    (void)DC;
    (void)Offset;
    if (Bits)
        *Bits = nullptr;
    if (!Info || Usage != DIB_RGB_COLORS || Section)
        return 0;
    const BITMAPINFOHEADER& H = Info->bmiHeader;
    if (H.biSize < 40 || H.biPlanes != 1 || H.biHeight == std::numeric_limits<LONG>::min())
        return 0;
    if (H.biCompression == BI_BITFIELDS) {
        const DWORD* Masks = reinterpret_cast<const DWORD*>(Info->bmiColors);
        if (H.biBitCount != 32 || Masks[0] != 0xFF0000 || Masks[1] != 0xFF00 || Masks[2] != 0xFF)
            return 0;
    } else if (H.biCompression != BI_RGB) {
        return 0;
    }
    auto B = MakeBitmap(H.biWidth, H.biHeight < 0 ? -H.biHeight : H.biHeight, H.biBitCount,
                        H.biHeight > 0);
    if (!B)
        return 0;
    if (H.biBitCount <= 8 && H.biCompression == BI_RGB)
        B->Table = HeaderTable(Info);
    B->Header.biCompression = H.biCompression;
    B->Header.biClrUsed = H.biClrUsed;
    if (Bits)
        *Bits = B->Pixels.Bits;
    return MakeHandle<HBITMAP>(B);
}

HBITMAP CreateCompatibleBitmap(HDC DC, int Width, int Height) {
    if (DC && !LookupDC(DC))
        return 0;
    auto B = MakeBitmap(Width, Height, 32, false);
    if (!B)
        return 0;
    // Not a DIB section: its pixels are only reachable through a DC.
    B->DibSection = false;
    return MakeHandle<HBITMAP>(B);
}

int GetDIBits(HDC DC, HBITMAP Bitmap, UINT Start, UINT Lines, void* Bits, BITMAPINFO* Info,
              UINT Usage) {
    if (!LookupDC(DC) || !Info || Usage != DIB_RGB_COLORS)
        return 0;
    auto B = Lookup<TBitmapObj>(Bitmap, TKind::Bitmap);
    if (!B)
        return 0;
    BITMAPINFOHEADER& H = Info->bmiHeader;
    const TPixels& Src = B->Pixels;
    if (H.biSize < 40)
        return 0;
    if (H.biBitCount == 0 || !Bits) {
        // Describe the bitmap as it is.
        if (H.biBitCount == 0) {
            H.biWidth = Src.Width;
            H.biHeight = Src.BottomUp ? Src.Height : -Src.Height;
            H.biBitCount = WORD(Src.BitCount);
            H.biPlanes = 1;
            H.biCompression = BI_RGB;
        }
        if (!ValidBitCount(H.biBitCount))
            return 0;
        H.biSizeImage = DWORD(RowBytes(Src.Width, H.biBitCount)) * DWORD(Src.Height);
        if (!Bits)
            return int(Src.Height);
    }
    if (!ValidBitCount(H.biBitCount) || H.biCompression != BI_RGB)
        return 0;
    const int Depth = H.biBitCount;
    const bool BottomUp = H.biHeight >= 0;
    // The table written: the bitmap's own of that size, else the default.
    std::vector<RGBQUAD> Table;
    if (Depth <= 8) {
        Table = (Src.BitCount == Depth && !B->Table.empty()) ? B->Table : DefaultTable(Depth);
        std::copy(Table.begin(), Table.end(), Info->bmiColors);
    }
    H.biWidth = Src.Width;
    H.biSizeImage = DWORD(RowBytes(Src.Width, Depth)) * DWORD(Src.Height);
    if (Start >= UINT(Src.Height))
        return 0;
    const UINT Count = std::min<UINT>(Lines, UINT(Src.Height) - Start);
    TPixels Dst{static_cast<std::uint8_t*>(Bits),
                Src.Width,
                int(Count),
                RowBytes(Src.Width, Depth),
                Depth,
                BottomUp,
                &Table};
    std::vector<TArgb> Row(std::size_t(Src.Width));
    // Scan lines are counted from the bottom of the picture, as in the buffer.
    for (UINT i = 0; i < Count; ++i) {
        const int SrcY = BottomUp ? Src.Height - 1 - int(Start + i) : int(Start + i);
        const int DstY = BottomUp ? int(Count) - 1 - int(i) : int(i);
        ReadRow(Src, 0, SrcY, Src.Width, Row.data());
        WriteRow(Dst, 0, DstY, Src.Width, Row.data());
    }
    return int(Count);
}

UINT GetDIBColorTable(HDC DC, UINT Start, UINT Count, RGBQUAD* Colors) {
    auto D = LookupDC(DC);
    if (!D || !Colors)
        return 0;
    auto B = Lookup<TBitmapObj>(D->State.Bitmap, TKind::Bitmap);
    if (!B || Start >= B->Table.size())
        return 0;
    const UINT N = std::min<UINT>(Count, UINT(B->Table.size()) - Start);
    std::copy_n(B->Table.begin() + Start, N, Colors);
    return N;
}

UINT SetDIBColorTable(HDC DC, UINT Start, UINT Count, const RGBQUAD* Colors) {
    auto D = LookupDC(DC);
    if (!D || !Colors)
        return 0;
    auto B = Lookup<TBitmapObj>(D->State.Bitmap, TKind::Bitmap);
    if (!B || B->Stock || Start >= B->Table.size())
        return 0;
    const UINT N = std::min<UINT>(Count, UINT(B->Table.size()) - Start);
    std::copy_n(Colors, N, B->Table.begin() + Start);
    return N;
}
