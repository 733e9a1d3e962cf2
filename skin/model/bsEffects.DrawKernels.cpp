// The drawing slots of the kernel table: stretch and copy routines between
// skin bitmaps and into 32-bit bottom-up DIB sections, and the routines that
// put a bitmap on any device context.
#include "platform/core/Exceptions.h"
#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsEffects.Kernels.h"
#include "skin/model/bsUtils.Platform.h"

#include <cmath>
#include <vector>

namespace {

// Where destination rows live: a skin bitmap (top-down) or the pixels of a
// bottom-up DIB section, rows one DIB width apart.
struct TDestRows {
    TbsColor* Bits;
    int Width;
    int Height;
    bool BottomUp;
    TbsColor* Row(int Y) const {
        const int MemRow = BottomUp ? Height - Y - 1 : Y;
        return Bits + std::ptrdiff_t(MemRow) * Width;
    }
};

enum class TRounding { Nearest, Truncate };
enum class TWriter { Opaque, Alpha, Transparent };

// The source column (or row) of destination offset T.
int ScaledIndex(int T, float Scale, int SrcStart, TRounding Rounding) {
    const double V = double(T) * double(Scale) + double(SrcStart);
    return int(Rounding == TRounding::Nearest ? std::nearbyint(V) : std::trunc(V));
}

// One entry per destination offset 0..Count-1 starting at First; a
// destination under 2 pixels takes the middle source index.
std::vector<int> IndexTable(int First, int Count, int DstStart, int DstLen, int SrcStart,
                            int SrcEnd, TRounding Rounding) {
    std::vector<int> Table(std::size_t(Count > 0 ? Count : 0));
    const int SrcLen = SrcEnd - SrcStart;
    if (DstLen < 2) {
        for (int& E : Table)
            E = (SrcStart + SrcEnd - 1) / 2;
        return Table;
    }
    const float Scale = float(double(SrcLen - 1) / double(DstLen - 1));
    for (int K = 0; K < Count; ++K) {
        const int I = ScaledIndex(First + K - DstStart, Scale, SrcStart, Rounding);
        // A float scale can only come within a rounding step of the ends.
        Table[std::size_t(K)] = I < SrcStart ? SrcStart : (I >= SrcEnd ? SrcEnd - 1 : I);
    }
    return Table;
}

void WriteRow(TWriter Writer, const TbsColor* Src, TbsColor* Dst, int Count) {
    const TbsPixelKernels& K = PixelKernels();
    switch (Writer) {
    case TWriter::Opaque:
        K.MoveLongword(Src, Dst, Count);
        break;
    case TWriter::Alpha:
        K.BlendLine(Src, Dst, Count);
        break;
    case TWriter::Transparent:
        K.TransparentLine(Src, Dst, Count);
        break;
    }
}

void StretchRows(const TDestRows& Dest, const TRect& DstRect, const TRect& DstClip,
                 const TRect& SrcRect, TbsBitmap* Source, TRounding Rounding, TWriter Writer) {
    if (!Source || Source->Empty() || !Dest.Bits)
        return;
    if (SrcRect.Width() <= 0 || SrcRect.Height() <= 0)
        return;
    TRect Clip;
    const TRect Bounds{0, 0, Dest.Width, Dest.Height};
    if (!IntersectRect(&Clip, &DstClip, &Bounds) || !IntersectRect(&Clip, &Clip, &DstRect))
        return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Source->Width() ||
        SrcRect.Bottom > Source->Height())
        return;
    const int CW = Clip.Width();
    if (DstRect.Width() == SrcRect.Width() && DstRect.Height() == SrcRect.Height()) {
        const int SX = SrcRect.Left + Clip.Left - DstRect.Left;
        for (int Y = Clip.Top; Y < Clip.Bottom; ++Y)
            WriteRow(Writer, Source->PixelPtr(SX, SrcRect.Top + Y - DstRect.Top),
                     Dest.Row(Y) + Clip.Left, CW);
        return;
    }
    const std::vector<int> Columns = IndexTable(Clip.Left, CW, DstRect.Left, DstRect.Width(),
                                                SrcRect.Left, SrcRect.Right, Rounding);
    const std::vector<int> Rows = IndexTable(Clip.Top, Clip.Height(), DstRect.Top, DstRect.Height(),
                                             SrcRect.Top, SrcRect.Bottom, Rounding);
    const TbsPixelKernels& K = PixelKernels();
    int LastSrcRow = -1;
    TbsColor* LastDst = nullptr;
    TArrayOfseColor Gathered(Writer == TWriter::Opaque ? 0 : std::size_t(CW));
    for (int Y = Clip.Top; Y < Clip.Bottom; ++Y) {
        const int SrcRow = Rows[std::size_t(Y - Clip.Top)];
        TbsColor* Dst = Dest.Row(Y) + Clip.Left;
        const TbsColor* Src = Source->ScanLine(SrcRow);
        if (Writer == TWriter::Opaque) {
            if (SrcRow == LastSrcRow) {
                K.MoveLongword(LastDst, Dst, CW);
            } else {
                for (int C = 0; C < CW; ++C)
                    Dst[C] = Src[Columns[std::size_t(C)]];
            }
        } else {
            if (SrcRow != LastSrcRow)
                for (int C = 0; C < CW; ++C)
                    Gathered[std::size_t(C)] = Src[Columns[std::size_t(C)]];
            WriteRow(Writer, Gathered.data(), Dst, CW);
        }
        LastSrcRow = SrcRow;
        LastDst = Dst;
    }
}

TDestRows DibRows(TbsColor* Bits, int DibHeight, int DibWidth) {
    return {Bits, DibWidth, DibHeight, true};
}

TDestRows BitmapRows(TbsBitmap* Dest) {
    return {Dest->Bits(), Dest->Width(), Dest->Height(), false};
}

void StretchToDibOpaque(TbsColor* Bits, const TRect& DstRect, const TRect& DstClip,
                        const TRect& SrcRect, TbsBitmap* Source, int DibHeight, int DibWidth) {
    StretchRows(DibRows(Bits, DibHeight, DibWidth), DstRect, DstClip, SrcRect, Source,
                TRounding::Nearest, TWriter::Opaque);
}

void StretchToDibAlpha(TbsColor* Bits, const TRect& DstRect, const TRect& DstClip,
                       const TRect& SrcRect, TbsBitmap* Source, int DibHeight, int DibWidth) {
    StretchRows(DibRows(Bits, DibHeight, DibWidth), DstRect, DstClip, SrcRect, Source,
                TRounding::Nearest, TWriter::Alpha);
}

void StretchToDibTransparent(TbsColor* Bits, const TRect& DstRect, const TRect& DstClip,
                             const TRect& SrcRect, TbsBitmap* Source, int DibHeight, int DibWidth) {
    if (DstRect.Width() == SrcRect.Width() && DstRect.Height() == SrcRect.Height())
        Assert(Bits != nullptr && Source != nullptr);
    StretchRows(DibRows(Bits, DibHeight, DibWidth), DstRect, DstClip, SrcRect, Source,
                TRounding::Nearest, TWriter::Transparent);
}

void StretchBitmapOpaque(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                         const TRect& SrcRect, TbsBitmap* Source) {
    StretchRows(BitmapRows(Dest), DstRect, DstClip, SrcRect, Source, TRounding::Truncate,
                TWriter::Opaque);
}

void StretchBitmapAlpha(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                        const TRect& SrcRect, TbsBitmap* Source) {
    StretchRows(BitmapRows(Dest), DstRect, DstClip, SrcRect, Source, TRounding::Truncate,
                TWriter::Alpha);
}

void StretchBitmapTransparent(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                              const TRect& SrcRect, TbsBitmap* Source) {
    StretchRows(BitmapRows(Dest), DstRect, DstClip, SrcRect, Source, TRounding::Truncate,
                TWriter::Transparent);
}

void BitmapRect(TWriter Writer, TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX,
                int SrcY) {
    Assert(Dest->Bits() != nullptr && Source->Bits() != nullptr);
    for (int Y = Clip.Top; Y < Clip.Bottom; ++Y)
        WriteRow(Writer, Source->PixelPtr(SrcX, SrcY + Y - Clip.Top), Dest->PixelPtr(Clip.Left, Y),
                 Clip.Width());
}

void CopyBitmapRect(TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX, int SrcY) {
    BitmapRect(TWriter::Opaque, Dest, Clip, Source, SrcX, SrcY);
}

void BlendBitmapRect(TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX, int SrcY) {
    BitmapRect(TWriter::Alpha, Dest, Clip, Source, SrcX, SrcY);
}

void TransparentBitmapRect(TbsBitmap* Dest, const TRect& Clip, TbsBitmap* Source, int SrcX,
                           int SrcY) {
    BitmapRect(TWriter::Transparent, Dest, Clip, Source, SrcX, SrcY);
}

void DrawToDCOpaque(HDC DC, int DstX, int DstY, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX,
                    int SrcY, int SrcW, int SrcH) {
    const int OldMode = SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, DstX, DstY, DstW, DstH, Bitmap->DC(), SrcX, SrcY, SrcW, SrcH, SRCCOPY);
    SetStretchBltMode(DC, OldMode);
}

// Reads the destination area into a scratch bitmap, draws there with full
// alpha and writes the area back.
void DrawToDCComposed(HDC DC, int DstX, int DstY, int DstW, int DstH, TbsBitmap* Bitmap, int SrcX,
                      int SrcY, int SrcW, int SrcH) {
    if (DstW <= 0 || DstH <= 0)
        return;
    TbsBitmap Scratch;
    Scratch.SetSize(DstW, DstH);
    BitBlt(Scratch.DC(), 0, 0, DstW, DstH, DC, DstX, DstY, SRCCOPY);
    Bitmap->Draw(&Scratch, TRect{0, 0, DstW, DstH}, Bounds(SrcX, SrcY, SrcW, SrcH));
    BitBlt(DC, DstX, DstY, DstW, DstH, Scratch.DC(), 0, 0, SRCCOPY);
}

TbsColor* GetDCDibInfo(HDC DC, int& Width, int& Height, int& BitCount) {
    Width = Height = BitCount = 0;
    const HGDIOBJ Bmp = GetCurrentObject(DC, OBJ_BITMAP);
    DIBSECTION Ds;
    if (!Bmp || GetObject(Bmp, sizeof(DIBSECTION), &Ds) == 0 || !Ds.dsBm.bmBits)
        return nullptr;
    Width = Ds.dsBmih.biWidth;
    Height = Ds.dsBmih.biHeight;
    BitCount = Ds.dsBmih.biBitCount;
    return static_cast<TbsColor*>(Ds.dsBm.bmBits);
}

} // namespace

void FillDrawKernelSlots(TbsPixelKernels& T) {
    T.DrawToDCOpaque = DrawToDCOpaque;
    T.DrawToDCAlpha = DrawToDCComposed;
    // There is no keyed blit of the platform to prefer: transparent draws
    // compose in memory like alpha ones.
    T.DrawToDCTransparent = DrawToDCComposed;
    T.GetDCDibInfo = GetDCDibInfo;
    T.StretchToDibOpaque = StretchToDibOpaque;
    T.StretchToDibAlpha = StretchToDibAlpha;
    T.StretchToDibTransparent = StretchToDibTransparent;
    T.CopyBitmapRect = CopyBitmapRect;
    T.BlendBitmapRect = BlendBitmapRect;
    T.TransparentBitmapRect = TransparentBitmapRect;
    T.StretchBitmapOpaque = StretchBitmapOpaque;
    T.StretchBitmapAlpha = StretchBitmapAlpha;
    T.StretchBitmapTransparent = StretchBitmapTransparent;
}
