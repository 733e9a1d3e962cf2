#include "skin/model/bsEffects.EffectBmp.h"

#include "platform/core/Conversions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Every mix of this unit: nearest, ties to even, then 0..255.
BYTE ClampRGB(double V) {
    const double R = std::nearbyint(V);
    return BYTE(R < 0 ? 0 : (R > 255 ? 255 : R));
}

BYTE ClampInt(int V) {
    return BYTE(std::clamp(V, 0, 255));
}

int RoundInt(double V) {
    return int(std::nearbyint(V));
}

// A factor below 0 or not a number acts as 0, above 1 as 1.
double ClampKf(double Kf) {
    if (!(Kf >= 0))
        return 0;
    return Kf > 1 ? 1 : Kf;
}

BYTE Mix(BYTE A, BYTE B, double KA, double KB) {
    return ClampRGB(KA * A + KB * B);
}

} // namespace

// ---------------------------------------------------------------- life

TbsEffectBmp::TbsEffectBmp(int cx, int cy) {
    Allocate(cx, cy);
}

void TbsEffectBmp::Allocate(int cx, int cy) {
    BmpHeader.biSize = 40;
    BmpHeader.biWidth = cx;
    BmpHeader.biHeight = -cy;
    BmpHeader.biPlanes = 1;
    BmpHeader.biBitCount = 24;
    BmpHeader.biCompression = BI_RGB;
    BmpInfo.bmiHeader = BmpHeader;
    void* P = nullptr;
    if (cx > 0 && cy > 0)
        Handle = CreateDIBSection(0, &BmpInfo, DIB_RGB_COLORS, &P, nullptr, 0);
    if (!Handle || !P) {
        // No section: an empty picture on which everything does nothing.
        if (Handle)
            DeleteObject(ToObj(Handle));
        Handle = 0;
        return;
    }
    Bits = static_cast<BYTE*>(P);
    Width = cx;
    Height = cy;
    Size = Stride() * Height;
}

TbsEffectBmp::~TbsEffectBmp() {
    if (Handle)
        DeleteObject(ToObj(Handle));
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateFromhWnd(HBITMAP hBmp) {
    BITMAP Bm;
    if (!hBmp || GetObject(ToObj(hBmp), sizeof(BITMAP), &Bm) == 0)
        return std::make_unique<TbsEffectBmp>(0, 0);
    auto Result = std::make_unique<TbsEffectBmp>(Bm.bmWidth, Bm.bmHeight);
    if (Result->Bits) {
        const HDC DC = CreateDC("DISPLAY");
        GetDIBits(DC, hBmp, 0, UINT(Result->Height), Result->Bits, &Result->BmpInfo,
                  DIB_RGB_COLORS);
        DeleteDC(DC);
    }
    return Result;
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateCopy(const TbsEffectBmp* hBmp) {
    auto Result = std::make_unique<TbsEffectBmp>(hBmp ? hBmp->Width : 0, hBmp ? hBmp->Height : 0);
    if (Result->Bits && hBmp->Bits)
        std::memcpy(Result->Bits, hBmp->Bits, std::size_t(Result->Size));
    return Result;
}

// ---------------------------------------------------------------- pixels

TbsEffectBmp::TPixel TbsEffectBmp::GetPixel(int x, int y) const {
    const BYTE* P = LinePtr(y) + 3 * x;
    return {P[0], P[1], P[2]};
}

void TbsEffectBmp::SetPixel(int x, int y, TPixel Color) {
    BYTE* P = LinePtr(y) + 3 * x;
    P[0] = Color.B;
    P[1] = Color.G;
    P[2] = Color.R;
}

void TbsEffectBmp::GetScanLine(int y, BYTE* Line) const {
    std::memcpy(Line, LinePtr(y), std::size_t(Width) * 3);
}

void TbsEffectBmp::SetLine(int y, const BYTE* Line) {
    std::memcpy(LinePtr(y), Line, std::size_t(Width) * 3);
}

bool TbsEffectBmp::SameSize(const TbsEffectBmp* BMP) const {
    return Bits && BMP && BMP->Bits && BMP->Width == Width && BMP->Height == Height;
}

// ---------------------------------------------------------------- output

void TbsEffectBmp::Draw(HDC DC, int x, int y) {
    if (Bits)
        SetDIBitsToDevice(DC, x, y, DWORD(Width), DWORD(Height), 0, 0, 0, UINT(Height), Bits,
                          &BmpInfo, DIB_RGB_COLORS);
}

void TbsEffectBmp::Stretch(HDC DC, int x, int y, int cx, int cy) {
    if (Bits)
        StretchDIBits(DC, x, y, cx, cy, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS,
                      SRCCOPY);
}

void TbsEffectBmp::DrawRect(HDC DC, int hx, int hy, int x, int y, int cx, int cy) {
    if (Bits)
        StretchDIBits(DC, hx, hy, cx, cy, x, y, cx, cy, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::Resize(TbsEffectBmp* Dst) {
    if (!Bits || !Dst || !Dst->Bits)
        return;
    const double KX = double(Dst->Width - 1) / Width;
    const double KY = double(Dst->Height - 1) / Height;
    const int SpanX = RoundInt(KX), SpanY = RoundInt(KY);
    for (int Y = 0; Y < Height; ++Y) {
        const int Y0 = RoundInt(Y * KY);
        for (int X = 0; X < Width; ++X) {
            const int X0 = RoundInt(X * KX);
            const TPixel P = GetPixel(X, Y);
            for (int DY = Y0; DY <= Y0 + SpanY; ++DY)
                for (int DX = X0; DX <= X0 + SpanX; ++DX)
                    if (Dst->Contains(DX, DY))
                        Dst->SetPixel(DX, DY, P);
        }
    }
}

// ---------------------------------------------------------------- cross-fades

void TbsEffectBmp::CopyRect(TbsEffectBmp* BMP, TRect Rct, int StartX, int StartY) {
    if (!Bits || !BMP || !BMP->Bits)
        return;
    Rct.Right = std::min(Rct.Right, Width - 1);
    Rct.Bottom = std::min(Rct.Bottom, Height - 1);
    for (int Y = Rct.Top; Y <= Rct.Bottom; ++Y)
        for (int X = Rct.Left; X <= Rct.Right; ++X) {
            const int SX = StartX + X - Rct.Left, SY = StartY + Y - Rct.Top;
            if (Contains(X, Y) && BMP->Contains(SX, SY))
                SetPixel(X, Y, BMP->GetPixel(SX, SY));
        }
}

void TbsEffectBmp::MorphRect(TbsEffectBmp* BMP, double Kf, const TRect& Rct, int StartX,
                             int StartY) {
    if (!Bits || !BMP || !BMP->Bits)
        return;
    Kf = ClampKf(Kf);
    for (int Y = Rct.Top; Y < Rct.Bottom; ++Y)
        for (int X = Rct.Left; X < Rct.Right; ++X) {
            const int SX = StartX + X - Rct.Left, SY = StartY + Y - Rct.Top;
            if (!Contains(X, Y) || !BMP->Contains(SX, SY))
                continue;
            const TPixel A = GetPixel(X, Y), B = BMP->GetPixel(SX, SY);
            SetPixel(
                X, Y,
                {Mix(A.B, B.B, 1 - Kf, Kf), Mix(A.G, B.G, 1 - Kf, Kf), Mix(A.R, B.R, 1 - Kf, Kf)});
        }
}

void TbsEffectBmp::Morph(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    Kf = ClampKf(Kf);
    for (int I = 0; I < Size; ++I)
        Bits[I] = Mix(Bits[I], BMP->Bits[I], 1 - Kf, Kf);
}

// ---------------------------------------------------------------- gradient wipes

namespace {

// t = 0 shows BMP, t = 1 this picture.
template <class TP> TP Wipe(TP This, TP Bmp, double T) {
    return {Mix(This.B, Bmp.B, T, 1 - T), Mix(This.G, Bmp.G, T, 1 - T),
            Mix(This.R, Bmp.R, T, 1 - T)};
}

} // namespace

void TbsEffectBmp::MorphHGrad(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    Kf = ClampKf(Kf);
    const int B = RoundInt(Width * Kf);
    const int G = (Width - B) / 2;
    const double Step = G == 0 ? 1 : 1.0 / G;
    const int Left = std::max(0, Width / 2 - B / 2);
    const int Right = std::min(Width - 1, B / 2 + Width / 2);
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = Left; X <= Right; ++X)
            SetPixel(X, Y, BMP->GetPixel(X, Y));
        double T = 0;
        for (int X = Left; X >= 0; --X, T = std::min(1.0, T + Step))
            SetPixel(X, Y, Wipe(GetPixel(X, Y), BMP->GetPixel(X, Y), T));
        T = 0;
        for (int X = Right; X < Width; ++X, T = std::min(1.0, T + Step))
            SetPixel(X, Y, Wipe(GetPixel(X, Y), BMP->GetPixel(X, Y), T));
    }
}

void TbsEffectBmp::MorphVGrad(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    Kf = ClampKf(Kf);
    const int B = RoundInt(Height * Kf);
    const int G = (Height - B - 1) / 2;
    const double Step = G == 0 ? 0 : 1.0 / G;
    const int Top = std::max(0, Height / 2 - B / 2);
    const int Bottom = std::min(Height - 1, B / 2 + Height / 2);
    auto MixRow = [&](int Y, double T) {
        for (int X = 0; X < Width; ++X)
            SetPixel(X, Y, Wipe(GetPixel(X, Y), BMP->GetPixel(X, Y), T));
    };
    for (int Y = Top; Y <= Bottom; ++Y)
        SetLine(Y, BMP->LinePtr(Y));
    double T = 0;
    for (int Y = Top; Y >= 0; --Y, T = std::min(1.0, T + Step))
        MixRow(Y, T);
    T = 0;
    for (int Y = Bottom; Y < Height; ++Y, T = std::min(1.0, T + Step))
        MixRow(Y, T);
}

void TbsEffectBmp::MorphGrad(TbsEffectBmp* BMP, double Kf) {
    if (Width < Height)
        MorphVGrad(BMP, Kf);
    else
        MorphHGrad(BMP, Kf);
}

void TbsEffectBmp::MorphLeftGrad(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    const int B = std::max(1, std::min(RoundInt(Width * ClampKf(Kf)), Width - 1));
    const int Last = std::min(B, Width - 1);
    for (int Y = 0; Y < Height; ++Y) {
        double T = 0;
        for (int X = 0; X <= Last; ++X, T = std::min(1.0, T + 1.0 / B))
            SetPixel(X, Y, Wipe(GetPixel(X, Y), BMP->GetPixel(X, Y), T));
    }
}

void TbsEffectBmp::MorphRightGrad(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    const int C = std::clamp(Width - RoundInt(Width * ClampKf(Kf)), 0, Width - 1);
    const double Step = Width - C > 0 ? 1.0 / (Width - C) : 1;
    for (int Y = 0; Y < Height; ++Y) {
        double T = 0;
        for (int X = Width - 1; X >= C; --X, T = std::min(1.0, T + Step))
            SetPixel(X, Y, Wipe(GetPixel(X, Y), BMP->GetPixel(X, Y), T));
    }
}

// ---------------------------------------------------------------- push and slides

void TbsEffectBmp::MorphPush(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    const int B = std::clamp(RoundInt(Width * ClampKf(Kf)), 0, Width - 1);
    for (int Y = 0; Y < Height; ++Y) {
        for (int J = Width - 1; J >= B + 1; --J)
            SetPixel(J, Y, GetPixel(J - B - 1, Y));
        SetPixel(B, Y, GetPixel(0, Y));
        for (int J = 0; J <= B; ++J)
            SetPixel(J, Y, BMP->GetPixel(std::min(Width - B - 1 + J, Width - 1), Y));
    }
}

void TbsEffectBmp::MorphLeftSlide(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    const int B = std::max(1, std::min(RoundInt(Width * ClampKf(Kf)), Width - 1));
    for (int Y = 0; Y < Height; ++Y)
        for (int J = 0; J < B && J < Width; ++J)
            SetPixel(J, Y, BMP->GetPixel(Width - B + J, Y));
}

void TbsEffectBmp::MorphRightSlide(TbsEffectBmp* BMP, double Kf) {
    if (!SameSize(BMP))
        return;
    const int B = std::max(1, std::min(RoundInt(Width * ClampKf(Kf)), Width - 1));
    for (int Y = 0; Y < Height; ++Y)
        for (int J = 0; J < B && Width - B + J >= 0; ++J)
            SetPixel(Width - B + J, Y, BMP->GetPixel(J, Y));
}

// ---------------------------------------------------------------- colour effects

void TbsEffectBmp::ChangeBrightness(double Kf) {
    Kf = ClampKf(Kf);
    for (int Y = 0; Y < Height; ++Y) {
        BYTE* L = LinePtr(Y);
        for (int I = 0; I < Width * 3; ++I)
            L[I] = ClampRGB((1 - Kf) * L[I] + 255 * Kf);
    }
}

void TbsEffectBmp::ChangeDarkness(double Kf) {
    Kf = ClampKf(Kf);
    for (int Y = 0; Y < Height; ++Y) {
        BYTE* L = LinePtr(Y);
        for (int I = 0; I < Width * 3; ++I)
            L[I] = ClampRGB((1 - Kf) * L[I]);
    }
}

void TbsEffectBmp::Invert() {
    for (int Y = 0; Y < Height; ++Y) {
        BYTE* L = LinePtr(Y);
        for (int I = 0; I < Width * 3; ++I)
            L[I] = BYTE(255 - L[I]);
    }
}

void TbsEffectBmp::GrayScale() {
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const TPixel P = GetPixel(X, Y);
            const BYTE G = ClampRGB(0.3 * P.R + 0.59 * P.G + 0.11 * P.B);
            SetPixel(X, Y, {G, G, G});
        }
}

// ---------------------------------------------------------------- image effects

void TbsEffectBmp::Neighbours(int x, int y, int Amount, int H, int& Up, int& Down, int& Left,
                              int& Right) const {
    Up = y - Amount < 0 ? y : y - Amount;
    Down = y + Amount >= H ? H - y : y + Amount;
    Left = x - Amount < 0 ? x : x - Amount;
    Right = x + Amount >= Width ? Width - x : x + Amount;
    // The rule above reaches one past the end (and beyond, for amounts
    // outside the picture); every read stays inside.
    Up = std::clamp(Up, 0, H - 1);
    Down = std::clamp(Down, 0, H - 1);
    Left = std::clamp(Left, 0, Width - 1);
    Right = std::clamp(Right, 0, Width - 1);
}

TbsEffectBmp::TPixel TbsEffectBmp::DiagonalAverage(int x, int y, int Amount) const {
    int Up, Down, Left, Right;
    Neighbours(x, y, Amount, Height, Up, Down, Left, Right);
    const TPixel P[4] = {GetPixel(Left, Up), GetPixel(Left, Down), GetPixel(Right, Up),
                         GetPixel(Right, Down)};
    return {BYTE((P[0].B + P[1].B + P[2].B + P[3].B) >> 2),
            BYTE((P[0].G + P[1].G + P[2].G + P[3].G) >> 2),
            BYTE((P[0].R + P[1].R + P[2].R + P[3].R) >> 2)};
}

void TbsEffectBmp::SplitBlur(int Amount) {
    if (Amount == 0 || !Bits)
        return;
    std::vector<BYTE> Row(std::size_t(Width) * 3);
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = 0; X < Width; ++X) {
            const TPixel P = DiagonalAverage(X, Y, Amount);
            std::memcpy(&Row[std::size_t(X) * 3], &P, 3);
        }
        SetLine(Y, Row.data());
    }
}

void TbsEffectBmp::Mosaic(int ASize) {
    if (ASize <= 1)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            SetPixel(X, Y, GetPixel(X - X % ASize, Y - Y % ASize));
}

void TbsEffectBmp::AddMonoNoise(int Amount) {
    if (Amount <= 0)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const int N = Random(Amount) - Amount / 2;
            const TPixel P = GetPixel(X, Y);
            SetPixel(X, Y, {ClampInt(P.B + N), ClampInt(P.G + N), ClampInt(P.R + N)});
        }
}

void TbsEffectBmp::AddColorNoise(int Amount) {
    if (Amount <= 0)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const int NR = Random(Amount) - Amount / 2;
            const int NG = Random(Amount) - Amount / 2;
            const int NB = Random(Amount) - Amount / 2;
            const TPixel P = GetPixel(X, Y);
            SetPixel(X, Y, {ClampInt(P.B + NB), ClampInt(P.G + NG), ClampInt(P.R + NR)});
        }
}

void TbsEffectBmp::Wave(int XDIV, int YDIV, int RatioVal) {
    if (XDIV == 0 || YDIV == 0 || !Bits)
        return;
    const auto Copy = CreateCopy(this);
    if (!Copy->Bits)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const int SX =
                std::clamp(RoundInt(X + RatioVal * std::sin(double(Y) / YDIV)), 0, Width - 1);
            const int SY =
                std::clamp(RoundInt(Y + RatioVal * std::sin(double(X) / XDIV)), 0, Height - 1);
            SetPixel(X, Y, Copy->GetPixel(SX, SY));
        }
}

void TbsEffectBmp::Rotate90_1(TbsEffectBmp* Dst) {
    if (!Bits || !Dst || !Dst->Bits)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if (Dst->Contains(Y, Width - 1 - X))
                Dst->SetPixel(Y, Width - 1 - X, GetPixel(X, Y));
}

void TbsEffectBmp::Rotate90_2(TbsEffectBmp* Dst) {
    if (!Bits || !Dst || !Dst->Bits)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if (Dst->Contains(Height - 1 - Y, X))
                Dst->SetPixel(Height - 1 - Y, X, GetPixel(X, Y));
}

void TbsEffectBmp::FlipVert(TbsEffectBmp* Dst) {
    if (!Bits || !Dst || !Dst->Bits)
        return;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if (Dst->Contains(X, Height - 1 - Y))
                Dst->SetPixel(X, Height - 1 - Y, GetPixel(X, Y));
}

// ---------------------------------------------------------------- mask effects

bool TbsEffectBmp::MaskFits(const TbsEffectBmp* Msk) const {
    return Bits && Width > 0 && Height > 0 && Msk && Msk->Bits && Msk->Width == Width &&
           Msk->Height >= Height;
}

bool TbsEffectBmp::MaskWhite(int x, int y) const {
    const TPixel P = GetPixel(x, y);
    return P.B == 255 && P.G == 255 && P.R == 255;
}

void TbsEffectBmp::MaskBlur(TbsEffectBmp* Msk, int Amount) {
    if (!MaskFits(Msk) || Amount == 0)
        return;
    std::vector<BYTE> Row(std::size_t(Width) * 3);
    for (int Y = 0; Y < Height; ++Y) {
        GetScanLine(Y, Row.data());
        for (int X = 0; X < Width; ++X)
            if (!Msk->MaskWhite(X, Y)) {
                const TPixel P = DiagonalAverage(X, Y, Amount);
                std::memcpy(&Row[std::size_t(X) * 3], &P, 3);
            }
        SetLine(Y, Row.data());
    }
}

void TbsEffectBmp::MaskAntialiasing(TbsEffectBmp* Msk, int Amount) {
    if (!MaskFits(Msk) || Amount == 0)
        return;
    std::vector<BYTE> Row(std::size_t(Width) * 3);
    for (int Y = 0; Y < Height; ++Y) {
        GetScanLine(Y, Row.data());
        for (int X = 0; X < Width; ++X) {
            if (Msk->MaskWhite(X, Y))
                continue;
            int Up, Down, Left, Right;
            Neighbours(X, Y, Amount, Msk->Height, Up, Down, Left, Right);
            if (Msk->MaskWhite(Left, Up) || Msk->MaskWhite(Left, Down) ||
                Msk->MaskWhite(Right, Up) || Msk->MaskWhite(Right, Down)) {
                const TPixel P = DiagonalAverage(X, Y, Amount);
                std::memcpy(&Row[std::size_t(X) * 3], &P, 3);
            }
        }
        SetLine(Y, Row.data());
    }
}

void TbsEffectBmp::MaskFillColor(TbsEffectBmp* Msk, TColor C, double kf) {
    if (!MaskFits(Msk))
        return;
    const COLORREF RGBColor = COLORREF(ColorToRGB(C));
    const BYTE R = GetRValue(RGBColor), G = GetGValue(RGBColor), B = GetBValue(RGBColor);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            if (Msk->MaskWhite(X, Y))
                continue;
            const TPixel P = GetPixel(X, Y);
            SetPixel(X, Y,
                     {Mix(P.B, B, 1 - kf, kf), Mix(P.G, G, 1 - kf, kf), Mix(P.R, R, 1 - kf, kf)});
        }
}
