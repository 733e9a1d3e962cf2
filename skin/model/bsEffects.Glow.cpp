#include "skin/model/bsEffects.Glow.h"

#include "skin/model/bsUtils.Text.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// One pass of the blur over Count values Stride apart: the weighted window
// sum of Stack Blur kept by its incoming and outgoing sums, indices clamped.
void BlurLine(const std::int32_t* In, std::int32_t* Out, int Count, int Radius) {
    auto At = [&](std::int64_t I) {
        return std::int64_t(In[std::clamp<std::int64_t>(I, 0, Count - 1)]);
    };
    const std::int64_t Div = std::int64_t(Radius + 1) * (Radius + 1);
    std::int64_t Sum = 0, SumIn = 0, SumOut = 0;
    for (std::int64_t K = -Radius; K <= Radius; ++K) {
        const std::int64_t P = At(K);
        Sum += P * (Radius + 1 - (K < 0 ? -K : K));
        if (K <= 0)
            SumOut += P;
        else
            SumIn += P;
    }
    for (int X = 0; X < Count; ++X) {
        Out[X] = std::int32_t(Sum / Div);
        Sum -= SumOut;
        SumOut -= At(std::int64_t(X) - Radius);
        SumIn += At(std::int64_t(X) + Radius + 1);
        Sum += SumIn;
        const std::int64_t Centre = At(std::int64_t(X) + 1);
        SumOut += Centre;
        SumIn -= Centre;
    }
}

// A temporary bitmap of the given size with the canvas's font in red and a
// clear brush; false when it cannot be made.
bool MakeTextLayer(TbsBitmap& Layer, TCanvas* Canvas, std::int64_t W, std::int64_t H) {
    constexpr std::int64_t MaxSide = 32767; // the graphics layer's DIB limit
    if (W <= 0 || H <= 0 || W > MaxSide || H > MaxSide)
        return false;
    try {
        Layer.SetSize(int(W), int(H));
    } catch (const Exception&) {
        return false;
    }
    TCanvas* C = Layer.Canvas();
    C->Font()->Assign(Canvas->Font());
    C->Font()->SetColor(clRed);
    C->Brush()->SetStyle(bsClear);
    return true;
}

int DrawPlainText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format) {
    Canvas->Brush()->SetStyle(bsClear);
    TRect R = Rect;
    return DrawWideText(Canvas, Text, R, Format);
}

void DrawShifted(TCanvas* C, const std::string& Text, const TRect& T, int DX, int DY, UINT Format) {
    TRect R{T.Left + DX, T.Top + DY, T.Right + DX, T.Bottom + DY};
    DrawWideText(C, Text, R, Format);
}

// The glow of the plain and the outline variants; Outline adds the four
// one-pixel copies that thicken the strokes.
int DrawGlow(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format, int Offset,
             COLORREF Color, int Size, bool Outline) {
    const int S = std::max(0, Size);
    TbsBitmap Layer;
    if (MakeTextLayer(Layer, Canvas, std::int64_t(Rect.Width()) + 2 * std::int64_t(S),
                      std::int64_t(Rect.Height()) + 2 * std::int64_t(S))) {
        const TRect T{S, S, Layer.Width() - S, Layer.Height() - S};
        DrawShifted(Layer.Canvas(), Text, T, 0, 0, Format);
        if (Outline) {
            DrawShifted(Layer.Canvas(), Text, T, -1, 0, Format);
            DrawShifted(Layer.Canvas(), Text, T, 1, 0, Format);
            DrawShifted(Layer.Canvas(), Text, T, 0, -1, Format);
            DrawShifted(Layer.Canvas(), Text, T, 0, 1, Format);
        }
        BlurBitmap(&Layer, S);
        AlphaFromRed(&Layer, Color);
        Layer.Draw(Canvas, Rect.Left + Offset - S, Rect.Top + Offset - S);
    }
    return DrawPlainText(Canvas, Rect, Text, Format);
}

} // namespace

void BlurBitmap(TbsBitmap* Bitmap, int Radius) {
    if (Radius <= 0 || !Bitmap || Bitmap->Empty())
        return;
    const int W = Bitmap->Width(), H = Bitmap->Height();
    const std::size_t N = std::size_t(W) * std::size_t(H);
    std::vector<std::int32_t> Channel(N), Pass(N), In(std::size_t(std::max(W, H))),
        Out(std::size_t(std::max(W, H)));
    TbsColor* Bits = Bitmap->Bits();
    std::vector<TbsColor> Result(N, 0xFF000000);
    for (int Shift : {0, 8, 16}) {
        for (std::size_t I = 0; I < N; ++I)
            Channel[I] = std::int32_t((Bits[I] >> Shift) & 0xFF);
        for (int Y = 0; Y < H; ++Y)
            BlurLine(&Channel[std::size_t(Y) * W], &Pass[std::size_t(Y) * W], W, Radius);
        for (int X = 0; X < W; ++X) {
            for (int Y = 0; Y < H; ++Y)
                In[std::size_t(Y)] = Pass[std::size_t(Y) * W + X];
            BlurLine(In.data(), Out.data(), H, Radius);
            for (int Y = 0; Y < H; ++Y)
                Result[std::size_t(Y) * W + X] |= TbsColor(Out[std::size_t(Y)]) << Shift;
        }
    }
    std::copy(Result.begin(), Result.end(), Bits);
}

void SetAlphaFromGrayMask(TbsBitmap* Bitmap, TbsBitmap* Mask) {
    if (!Bitmap || !Mask || Bitmap->Empty() || Mask->Empty())
        return;
    const int W = std::min(Bitmap->Width(), Mask->Width());
    const int H = std::min(Bitmap->Height(), Mask->Height());
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TbsColor M = *Mask->PixelPtr(X, Y);
            const TbsColor Grey = (((M >> 16) & 0xFF) + ((M >> 8) & 0xFF) + (M & 0xFF)) / 3;
            TbsColor& P = *Bitmap->PixelPtr(X, Y);
            P = (P & 0x00FFFFFF) | (Grey << 24);
        }
}

TbsColor ColorToPixel(COLORREF Color) {
    return (TbsColor(GetRValue(Color)) << 16) | (TbsColor(GetGValue(Color)) << 8) |
           GetBValue(Color);
}

void AlphaFromRed(TbsBitmap* Bitmap, COLORREF Color) {
    const TbsColor C = ColorToPixel(Color);
    TbsColor* P = Bitmap->Bits();
    for (int I = 0, N = Bitmap->Width() * Bitmap->Height(); I < N; ++I)
        P[I] = (((P[I] >> 16) & 0xFF) << 24) | C;
    Bitmap->SetAlphaBlend(true);
}

void DrawOutlineGlowText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                         int GlowOffset, COLORREF GlowColor, int GlowSize) {
    DrawGlow(Canvas, Rect, Text, Format, GlowOffset, GlowColor, GlowSize, true);
}

int DrawGlowText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                 int GlowOffset, COLORREF GlowColor, int GlowSize) {
    return DrawGlow(Canvas, Rect, Text, Format, GlowOffset, GlowColor, GlowSize, false);
}

int DrawVistaGlowText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                      COLORREF GlowColor) {
    constexpr int M = 12;
    TbsBitmap Layer;
    if (MakeTextLayer(Layer, Canvas, Rect.Width() + 2 * M, Rect.Height() + 2 * M)) {
        TCanvas* C = Layer.Canvas();
        const TRect T{M, M, Layer.Width() - M, Layer.Height() - M};
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clRed);
        C->FillRect({T.Left - 3, T.Top + 2, T.Right + 3, T.Bottom - 2});
        C->Brush()->SetStyle(bsClear);
        const int Shifts[9][2] = {{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0},
                                  {2, 0},   {1, 1},   {2, 2},  {0, 0}};
        for (const auto& D : Shifts)
            DrawShifted(C, Text, T, D[0], D[1], Format);
        BlurBitmap(&Layer, M / 2);
        BlurBitmap(&Layer, M / 2);
        AlphaFromRed(&Layer, GlowColor);
        Layer.Draw(Canvas, Rect.Left - M, Rect.Top - M);
    }
    return DrawPlainText(Canvas, Rect, Text, Format);
}

void DrawReflectionText(TCanvas* Canvas, const TRect& Rect, const std::string& Text, UINT Format,
                        int ReflectionOffset, COLORREF ReflectionColor) {
    TbsBitmap Layer;
    const int W = Rect.Width(), H = Rect.Height();
    if (MakeTextLayer(Layer, Canvas, W, H)) {
        TRect R0{0, 0, W, H};
        DrawWideText(Layer.Canvas(), Text, R0, Format);
        DrawWideText(Layer.Canvas(), Text, R0, Format | DT_CALCRECT);
        TRect R1 = Rect;
        DrawWideText(Canvas, Text, R1, Format | DT_CALCRECT);
        const TbsColor C = ColorToPixel(ReflectionColor);
        const int TextH = R0.Bottom - R0.Top;
        if (TextH > 0) {
            for (int Y = 0; Y < H; ++Y) {
                TbsColor* Row = Layer.ScanLine(Y);
                if (Y < R0.Top || Y > R0.Bottom) {
                    std::fill(Row, Row + W, 0u);
                    continue;
                }
                float F = 0.7f - float(R0.Bottom - (Y - R0.Top)) / float(TextH);
                if (F < 0)
                    F = 0;
                for (int X = 0; X < W; ++X) {
                    const TbsColor A = TbsColor(float((Row[X] >> 16) & 0xFF) * F);
                    Row[X] = (A << 24) | C;
                }
            }
            Layer.FlipVert();
            Layer.SetAlphaBlend(true);
            Layer.Draw(Canvas, Rect.Left, R1.Bottom - (H - R0.Bottom) + ReflectionOffset);
        }
    }
    DrawPlainText(Canvas, Rect, Text, Format);
}
