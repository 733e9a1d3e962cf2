// The drawing operations of TbsBitmap: which kernel runs, with which
// rectangles.
#include "platform/core/Conversions.h"
#include "skin/model/bsEffects.Bitmap.h"
#include "skin/model/bsUtils.Platform.h"

#include <algorithm>

namespace {

TRect Moved(const TRect& R, TPoint By) {
    return {R.Left - By.X, R.Top - By.Y, R.Right - By.X, R.Bottom - By.Y};
}

TPoint WindowOrigin(HDC DC) {
    TPoint Org;
    GetWindowOrgEx(DC, &Org);
    return Org;
}

bool IsEmptyRect(const TRect& R) {
    return R.Width() <= 0 || R.Height() <= 0;
}

// Runs ClearMMXState on the way out, also when an exception passes.
struct TMMXStateGuard {
    ~TMMXStateGuard() { ClearMMXState(); }
};

} // namespace

// ---------------------------------------------------------------- Draw

void TbsBitmap::Draw(HDC DC, int X, int Y) {
    Draw(DC, Bounds(X, Y, FWidth, FHeight), TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(HDC DC, int X, int Y, const TRect& SrcRect) {
    Draw(DC, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()), SrcRect);
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect) {
    Draw(DC, DstRect, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
    if (Empty() || !DC)
        return;
    if (TbsBitmap* Owner = FindBitmapByDC(DC)) {
        Draw(Owner, Moved(DstRect, WindowOrigin(DC)), SrcRect);
        return;
    }
    DrawToDC(DC, DstRect, SrcRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y) {
    Draw(Canvas->Handle(), X, Y);
}

void TbsBitmap::Draw(TCanvas* Canvas, int X, int Y, const TRect& SrcRect) {
    Draw(Canvas->Handle(), X, Y, SrcRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) {
    Draw(Canvas->Handle(), DstRect);
}

void TbsBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
    Draw(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y) {
    Draw(Bitmap, Bounds(X, Y, FWidth, FHeight), TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, int X, int Y, const TRect& SrcRect) {
    Draw(Bitmap, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()), SrcRect);
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect) {
    Draw(Bitmap, DstRect, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
    StretchInto(Bitmap, DstRect, DstRect, SrcRect);
}

void TbsBitmap::StretchInto(TbsBitmap* Dest, const TRect& DstRect, const TRect& DstClip,
                            const TRect& SrcRect) {
    if (Empty() || !Dest || Dest->Empty())
        return;
    TMMXStateGuard Guard;
    const TbsPixelKernels& K = PixelKernels();
    if (FAlphaBlend)
        K.StretchBitmapAlpha(Dest, DstRect, DstClip, SrcRect, this);
    else if (FTransparent)
        K.StretchBitmapTransparent(Dest, DstRect, DstClip, SrcRect, this);
    else
        K.StretchBitmapOpaque(Dest, DstRect, DstClip, SrcRect, this);
}

void TbsBitmap::DrawToDC(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
    TMMXStateGuard Guard;
    const TbsPixelKernels& K = PixelKernels();
    auto Routine =
        FAlphaBlend ? K.DrawToDCAlpha : (FTransparent ? K.DrawToDCTransparent : K.DrawToDCOpaque);
    Routine(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), this, SrcRect.Left,
            SrcRect.Top, SrcRect.Width(), SrcRect.Height());
}

// ---------------------------------------------------------------- tiles

template <class DrawTile>
void TbsBitmap::TileWith(const TRect& DstRect, const TRect& SrcRect, const TRect* DstClip,
                         DrawTile Draw) {
    const int TW = SrcRect.Width();
    const int TH = SrcRect.Height();
    if (Empty() || TW == 0 || TH == 0)
        return;
    const int NX = DstRect.Width() / TW + (DstRect.Width() % TW != 0 ? 1 : 0);
    const int NY = DstRect.Height() / TH + (DstRect.Height() % TH != 0 ? 1 : 0);
    if (NX < 0)
        return;
    for (int I = 0; I <= NX; ++I) {
        for (int J = 0; J <= NY; ++J) {
            const TRect Tile = Bounds(DstRect.Left + I * TW, DstRect.Top + J * TH, TW, TH);
            TRect Cut;
            if (!IntersectRect(&Cut, &Tile, &DstRect))
                break;
            const TRect Src = Cut == Tile
                                  ? SrcRect
                                  : Bounds(SrcRect.Left, SrcRect.Top, Cut.Width(), Cut.Height());
            TRect Meet;
            if (DstClip && !IsEmptyRect(*DstClip) && !IntersectRect(&Meet, &Cut, DstClip))
                continue;
            Draw(Cut, Src);
        }
    }
}

void TbsBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
    if (Empty() || !DC)
        return;
    TbsBitmap* Owner = FindBitmapByDC(DC);
    int DibW = 0, DibH = 0, DibBits = 0;
    TbsColor* Dib = Owner ? nullptr : PixelKernels().GetDCDibInfo(DC, DibW, DibH, DibBits);
    const bool Direct = Dib && DibBits == 32 && DibH > 0;
    const TPoint Org = (Owner || Direct) ? WindowOrigin(DC) : TPoint{};
    TMMXStateGuard Guard;
    TileWith(DstRect, SrcRect, nullptr, [&](const TRect& T, const TRect& S) {
        if (Owner) {
            Draw(Owner, Moved(T, Org), S);
        } else if (Direct) {
            const TbsPixelKernels& K = PixelKernels();
            auto Routine = FAlphaBlend
                               ? K.StretchToDibAlpha
                               : (FTransparent ? K.StretchToDibTransparent : K.StretchToDibOpaque);
            const TRect M = Moved(T, Org);
            Routine(Dib, M, M, S, this, DibH, DibW);
        } else {
            DrawToDC(DC, T, S);
        }
    });
}

void TbsBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
    Tile(Canvas->Handle(), DstRect, SrcRect);
}

void TbsBitmap::Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
    TileWith(DstRect, SrcRect, nullptr,
             [&](const TRect& T, const TRect& S) { Draw(Bitmap, T, S); });
}

void TbsBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
    if (Empty() || !DC)
        return;
    TbsBitmap* Owner = FindBitmapByDC(DC);
    const TPoint Org = Owner ? WindowOrigin(DC) : TPoint{};
    TileWith(DstRect, SrcRect, &DstClip, [&](const TRect& T, const TRect& S) {
        if (Owner)
            Draw(Owner, Moved(T, Org), S);
        else
            DrawToDC(DC, T, S);
    });
}

void TbsBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip,
                         const TRect& SrcRect) {
    TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}

void TbsBitmap::TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip,
                         const TRect& SrcRect) {
    TileWith(DstRect, SrcRect, &DstClip,
             [&](const TRect& T, const TRect& S) { Draw(Bitmap, T, S); });
}

// ---------------------------------------------------------------- merge, graphic, fill

void TbsBitmap::MergeDraw(TbsBitmap* Bitmap, int X, int Y, TRect SrcRect) {
    if (Empty() || !Bitmap || Bitmap->Empty())
        return;
    TMMXStateGuard Guard;
    if (SrcRect.Left < 0) {
        X -= SrcRect.Left;
        SrcRect.Left = 0;
    }
    if (SrcRect.Top < 0) {
        Y -= SrcRect.Top;
        SrcRect.Top = 0;
    }
    SrcRect.Right = std::min(SrcRect.Right, Bitmap->Width());
    SrcRect.Bottom = std::min(SrcRect.Bottom, Bitmap->Height());
    const auto Blend = PixelKernels().BlendPixel;
    for (int SX = SrcRect.Left; SX < SrcRect.Right; ++SX) {
        for (int SY = SrcRect.Top; SY < SrcRect.Bottom; ++SY) {
            const int DX = X + SX - SrcRect.Left;
            const int DY = Y + SY - SrcRect.Top;
            if (DX < 0 || DY < 0 || DX >= FWidth || DY >= FHeight)
                continue;
            TbsColor& D = *PixelPtr(DX, DY);
            const TbsColor A = D >> 24;
            if (A == 0)
                D = *Bitmap->PixelPtr(SX, SY);
            else if (A < 255)
                D = Blend(D, *Bitmap->PixelPtr(SX, SY));
        }
    }
}

void TbsBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect) {
    if (Empty() || !Graphic)
        return;
    constexpr TbsColor Fuchsia = 0x00FF00FF;
    TBitmap Temp;
    Temp.SetPixelFormat(pf32bit);
    Temp.SetSize(FWidth, FHeight);
    TCanvas* C = Temp.Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clFuchsia);
    C->Rectangle(-1, -1, FWidth + 1, FHeight + 1);
    C->StretchDraw(DstRect, Graphic);
    for (int Y = 0; Y < FHeight; ++Y) {
        const auto* Row = static_cast<const TbsColor*>(Temp.ScanLine(Y));
        for (int X = 0; X < FWidth; ++X)
            if ((Row[X] & 0x00FFFFFF) != Fuchsia)
                SetPixel(X, Y, Row[X]);
    }
}

void TbsBitmap::FillRect(const TRect& R, TbsColor Color) {
    if (Empty())
        return;
    TRect C;
    const TRect B{0, 0, FWidth, FHeight};
    if (!IntersectRect(&C, &R, &B))
        return;
    const TbsPixelKernels& K = PixelKernels();
    if (FAlphaBlend) {
        TMMXStateGuard Guard;
        TArrayOfseColor Row(std::size_t(C.Width()), Color);
        for (int Y = C.Top; Y < C.Bottom; ++Y)
            K.BlendLine(Row.data(), PixelPtr(C.Left, Y), C.Width());
    } else {
        K.FillPixelRect(FBits, FWidth, FHeight, C.Left, C.Top, C.Right - 1, C.Bottom - 1, Color);
    }
}

// ---------------------------------------------------------------- reflections

void TbsBitmap::ReflectionBy(int Divisor) {
    if (Empty())
        return;
    FlipVert();
    const double Step = (1.0 / FHeight) * 2;
    double F = 1.0;
    for (int Y = 0; Y < FHeight; ++Y) {
        TbsColor* Row = ScanLine(Y);
        for (int X = 0; X < FWidth; ++X) {
            const int A = int(Row[X] >> 24);
            if (A == 0)
                continue;
            int NA = int(Round(F * A)) / Divisor;
            if (NA < 0)
                NA = 0;
            Row[X] = (Row[X] & 0x00FFFFFF) | (TbsColor(NA) << 24);
        }
        F -= Step;
    }
}

void TbsBitmap::Reflection() {
    ReflectionBy(3);
}

void TbsBitmap::Reflection2() {
    ReflectionBy(4);
}

void TbsBitmap::Reflection3() {
    ReflectionBy(2);
}
