#include "skin/model/bsEffects.Kernels.h"

#include "skin/model/bsUtils.Platform.h"

#include <cstring>

// Defined with the drawing routines, which need the whole bitmap class.
void FillDrawKernelSlots(TbsPixelKernels& Table);

namespace {

TbsPixelKernels& Table() {
    static TbsPixelKernels T;
    return T;
}

constexpr TbsColor AlphaOf(TbsColor C) {
    return C >> 24;
}

TbsColor PlainBlendPixel(TbsColor F, TbsColor B) {
    const TbsColor A = AlphaOf(F);
    if (A == 255)
        return F;
    if (A == 0)
        return B;
    const TbsColor NA = 255 - A;
    // Red and blue share one multiply: 255 * 255 fits in a 16-bit lane.
    const TbsColor RB = (((F & 0x00FF00FF) * A + (B & 0x00FF00FF) * NA) >> 8) & 0x00FF00FF;
    const TbsColor G = (((F & 0x0000FF00) * A + (B & 0x0000FF00) * NA) >> 8) & 0x0000FF00;
    return 0xFF000000 | RB | G;
}

TbsColor WideBlendPixel(TbsColor F, TbsColor B) {
    const TbsColor A = AlphaOf(F);
    const TbsColor NA = 256 - A;
    // Two bytes per multiply: 255 * 256 still fits in a 16-bit lane.
    const TbsColor RB = (((F & 0x00FF00FF) * A + (B & 0x00FF00FF) * NA) >> 8) & 0x00FF00FF;
    const TbsColor AG = (((F >> 8) & 0x00FF00FF) * A + ((B >> 8) & 0x00FF00FF) * NA) & 0xFF00FF00;
    return AG | RB;
}

template <TbsColor (*Blend)(TbsColor, TbsColor)>
void BlendLineWith(const TbsColor* Src, TbsColor* Dst, int Count) {
    for (int I = 0; I < Count; ++I) {
        const TbsColor S = Src[I];
        const TbsColor A = AlphaOf(S);
        if (A == 0)
            continue;
        Dst[I] = A == 255 ? S : Blend(S, Dst[I]);
    }
}

void TransparentLine(const TbsColor* Src, TbsColor* Dst, int Count) {
    for (int I = 0; I < Count; ++I)
        if ((Src[I] & 0x00FFFFFF) != (TransparentKey & 0x00FFFFFF))
            Dst[I] = Src[I] | 0xFF000000;
}

void MoveLongword(const TbsColor* Src, TbsColor* Dst, int Count) {
    if (Count <= 0 || Src == Dst)
        return;
    std::memmove(Dst, Src, std::size_t(Count) * sizeof(TbsColor));
}

void FillLongword(TbsColor* Dst, int Count, TbsColor Value) {
    for (int I = 0; I < Count; ++I)
        Dst[I] = Value;
}

void FillPixelRect(TbsColor* Bits, int Width, int /*Height*/, int X1, int Y1, int X2, int Y2,
                   TbsColor Value) {
    for (int Y = Y1; Y <= Y2; ++Y)
        FillLongword(Bits + std::ptrdiff_t(Y) * Width + X1, X2 - X1 + 1, Value);
}

void FillAlpha(TbsColor* Dst, int Count, BYTE Alpha) {
    const TbsColor A = TbsColor(Alpha) << 24;
    for (int I = 0; I < Count; ++I)
        Dst[I] = (Dst[I] & 0x00FFFFFF) | A;
}

void FillAlphaRect(TbsColor* Bits, int Width, int /*Height*/, int X1, int Y1, int X2, int Y2,
                   BYTE Alpha) {
    for (int Y = Y1; Y <= Y2; ++Y)
        FillAlpha(Bits + std::ptrdiff_t(Y) * Width + X1, X2 - X1 + 1, Alpha);
}

void ClearColorAlpha(TbsColor* Dst, int Count, TbsColor Color) {
    for (int I = 0; I < Count; ++I)
        if ((Dst[I] & 0x00FFFFFF) == (Color & 0x00FFFFFF))
            Dst[I] &= 0x00FFFFFF;
}

void FillRowSlots(TbsBlendVariant Variant) {
    TbsPixelKernels& T = Table();
    if (Variant == bvDetect)
        Variant = DetectedBlendVariant();
    if (Variant == bvMMX) {
        T.BlendPixel = WideBlendPixel;
        T.BlendLine = BlendLineWith<WideBlendPixel>;
    } else {
        T.BlendPixel = PlainBlendPixel;
        T.BlendLine = BlendLineWith<PlainBlendPixel>;
    }
    T.TransparentLine = TransparentLine;
    T.MoveLongword = MoveLongword;
    T.FillLongword = FillLongword;
    T.FillPixelRect = FillPixelRect;
    T.FillAlpha = FillAlpha;
    T.FillAlphaRect = FillAlphaRect;
    T.ClearColorAlpha = ClearColorAlpha;
}

} // namespace

const TbsPixelKernels& PixelKernels() {
    static const bool Filled = [] {
        FillRowSlots(bvDetect);
        FillDrawKernelSlots(Table());
        return true;
    }();
    (void)Filled;
    return Table();
}

void SelectPixelKernels(TbsBlendVariant Variant) {
    PixelKernels();
    FillRowSlots(Variant);
}

void SelectDrawKernels() {
    PixelKernels();
    FillDrawKernelSlots(Table());
}

TbsBlendVariant DetectedBlendVariant() {
    return HasMMX() ? bvMMX : bvPlain;
}

bool IsTrueColorScreen() {
    const HDC DC = CreateDC("DISPLAY");
    const int Bits = GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES);
    DeleteDC(DC);
    return Bits >= 24;
}
