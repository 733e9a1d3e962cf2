#include "skin/stored/generator/Painter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>

namespace skingen {

TImage::TImage(int Width, int Height, TRgb Background)
    : FWidth(Width), FHeight(Height),
      FPixels(std::size_t(Width) * std::size_t(Height), Background) {}

void TImage::SetPixel(int X, int Y, TRgb C) {
    if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight)
        FPixels[std::size_t(Y) * FWidth + X] = C;
}

void TImage::Fill(const TRect& R, TRgb C) {
    for (int Y = std::max(R.Top, 0); Y < std::min(R.Bottom, FHeight); ++Y)
        for (int X = std::max(R.Left, 0); X < std::min(R.Right, FWidth); ++X)
            FPixels[std::size_t(Y) * FWidth + X] = C;
}

void TImage::FillRows(const TRect& R, const TFill& F) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        Fill({R.Left, Y, R.Right, Y + 1}, F.Row(Y - R.Top, R.Height()));
}

void TImage::Draw(const TImage& Source, int X, int Y) {
    for (int SY = 0; SY < Source.Height(); ++SY)
        for (int SX = 0; SX < Source.Width(); ++SX)
            SetPixel(X + SX, Y + SY, Source.Pixel(SX, SY));
}

TImage TImage::Crop(const TRect& R) const {
    TImage Out(R.Width(), R.Height());
    for (int Y = 0; Y < R.Height(); ++Y)
        for (int X = 0; X < R.Width(); ++X)
            Out.SetPixel(X, Y, Pixel(R.Left + X, R.Top + Y));
    return Out;
}

void TImage::Blend(int X, int Y, TRgb C, double Coverage) {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight || Coverage <= 0)
        return;
    TRgb& P = FPixels[std::size_t(Y) * FWidth + X];
    if (Coverage >= 1) {
        P = C;
        return;
    }
    auto Mix = [&](int Shift) {
        const double A = (P >> Shift) & 0xFF, B = (C >> Shift) & 0xFF;
        return TRgb(std::lround(A + (B - A) * Coverage)) << Shift;
    };
    P = Mix(16) | Mix(8) | Mix(0);
}

TShape RoundRectShape(const TRect& R, double Radius) {
    return [R, Radius](double X, double Y) {
        if (X < R.Left || Y < R.Top || X > R.Right || Y > R.Bottom)
            return false;
        if (Radius <= 0)
            return true;
        const double CX = std::clamp(X, R.Left + Radius, R.Right - Radius);
        const double CY = std::clamp(Y, R.Top + Radius, R.Bottom - Radius);
        return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius;
    };
}

TShape DiscShape(double CX, double CY, double Radius) {
    return [=](double X, double Y) {
        return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius;
    };
}

TShape PolygonShape(std::vector<std::pair<double, double>> Points) {
    return [Points](double X, double Y) {
        bool In = false;
        for (std::size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
            const auto [XI, YI] = Points[i];
            const auto [XJ, YJ] = Points[j];
            if ((YI > Y) != (YJ > Y) && X < (XJ - XI) * (Y - YI) / (YJ - YI) + XI)
                In = !In;
        }
        return In;
    };
}

TShape StrokeShape(std::vector<std::pair<double, double>> Points, double Width) {
    return [Points, Width](double X, double Y) {
        for (std::size_t i = 0; i + 1 < Points.size(); ++i) {
            const auto [AX, AY] = Points[i];
            const auto [BX, BY] = Points[i + 1];
            const double DX = BX - AX, DY = BY - AY;
            const double T =
                std::clamp(((X - AX) * DX + (Y - AY) * DY) / (DX * DX + DY * DY), 0.0, 1.0);
            const double EX = AX + T * DX - X, EY = AY + T * DY - Y;
            if (EX * EX + EY * EY <= Width * Width / 4)
                return true;
        }
        return false;
    };
}

void PaintShape(TImage& Image, const TRect& R, const TShape& Shape, TRgb C) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) {
            int Hits = 0;
            for (int SY = 0; SY < 4; ++SY)
                for (int SX = 0; SX < 4; ++SX)
                    Hits += Shape(X + (SX + 0.5) / 4, Y + (SY + 0.5) / 4) ? 1 : 0;
            Image.Blend(X, Y, C, Hits / 16.0);
        }
}

void PaintShapeHard(TImage& Image, const TRect& R, const TShape& Shape, TRgb C) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (Shape(X + 0.5, Y + 0.5))
                Image.SetPixel(X, Y, C);
}

void PaintFace(TImage& Image, const TRect& R, int Radius, TRgb Border, int BorderWidth,
               const TFill& Fill) {
    const TRect Inner{R.Left + BorderWidth, R.Top + BorderWidth, R.Right - BorderWidth,
                      R.Bottom - BorderWidth};
    if (BorderWidth > 0)
        PaintShape(Image, R, RoundRectShape(R, Radius), Border);
    const TShape InnerShape = RoundRectShape(Inner, std::max(0, Radius - BorderWidth));
    for (int Y = Inner.Top; Y < Inner.Bottom; ++Y) {
        const TRgb C = Fill.Row(Y - R.Top, R.Height());
        PaintShape(Image, {Inner.Left, Y, Inner.Right, Y + 1}, InnerShape, C);
    }
}

namespace {

using TPoints = std::vector<std::pair<double, double>>;

TPoints Moved(TPoints P, double X, double Y) {
    for (auto& [PX, PY] : P) {
        PX += X;
        PY += Y;
    }
    return P;
}

} // namespace

void PaintGlyph(TImage& Image, const TRect& R, TGlyph Glyph, TRgb C, bool Hard) {
    const double CX = (R.Left + R.Right) / 2.0, CY = (R.Top + R.Bottom) / 2.0;
    auto Paint = [&](const TShape& S) {
        if (Hard)
            PaintShapeHard(Image, R, S, C);
        else
            PaintShape(Image, R, S, C);
    };
    switch (Glyph) {
    case TGlyph::ArrowUp:
        Paint(PolygonShape(Moved({{-4, 2}, {4, 2}, {0, -2}}, CX, CY)));
        break;
    case TGlyph::ArrowDown:
        Paint(PolygonShape(Moved({{-4, -2}, {4, -2}, {0, 2}}, CX, CY)));
        break;
    case TGlyph::ArrowLeft:
        Paint(PolygonShape(Moved({{2, -4}, {2, 4}, {-2, 0}}, CX, CY)));
        break;
    case TGlyph::ArrowRight:
        Paint(PolygonShape(Moved({{-2, -4}, {-2, 4}, {2, 0}}, CX, CY)));
        break;
    case TGlyph::Check:
        Paint(StrokeShape(Moved({{-3.5, 0}, {-1, 2.5}, {3.5, -2.5}}, CX, CY), 2.0));
        break;
    case TGlyph::Dot:
        Paint(DiscShape(CX, CY, 3));
        break;
    case TGlyph::Cross:
        Paint(StrokeShape(Moved({{-4, -4}, {4, 4}}, CX, CY), 1.6));
        Paint(StrokeShape(Moved({{-4, 4}, {4, -4}}, CX, CY), 1.6));
        break;
    case TGlyph::Minimize:
        Paint(PolygonShape(Moved({{-5, 3}, {5, 3}, {5, 4.5}, {-5, 4.5}}, CX, CY)));
        break;
    case TGlyph::Maximize:
        Paint(StrokeShape(
            Moved({{-4.5, -4.5}, {4.5, -4.5}, {4.5, 4.5}, {-4.5, 4.5}, {-4.5, -4.5}}, CX, CY),
            1.4));
        Paint(PolygonShape(Moved({{-4.5, -4.5}, {4.5, -4.5}, {4.5, -2.8}, {-4.5, -2.8}}, CX, CY)));
        break;
    case TGlyph::Restore:
        Paint(StrokeShape(
            Moved({{-4.5, -1.5}, {2, -1.5}, {2, 4.5}, {-4.5, 4.5}, {-4.5, -1.5}}, CX, CY), 1.4));
        Paint(StrokeShape(
            Moved({{-1.5, -1.5}, {-1.5, -4.5}, {4.5, -4.5}, {4.5, 1.5}, {2, 1.5}}, CX, CY), 1.4));
        break;
    case TGlyph::RollUp:
        Paint(StrokeShape(Moved({{-4, 2}, {0, -2}, {4, 2}}, CX, CY), 1.8));
        break;
    case TGlyph::RollDown:
        Paint(StrokeShape(Moved({{-4, -2}, {0, 2}, {4, -2}}, CX, CY), 1.8));
        break;
    case TGlyph::SysMenu:
        Paint(RoundRectShape({int(CX) - 5, int(CY) - 5, int(CX) + 5, int(CY) + 5}, 2));
        break;
    case TGlyph::Tray:
        Paint(PolygonShape(Moved({{-5, 1}, {5, 1}, {5, 4.5}, {-5, 4.5}}, CX, CY)));
        Paint(PolygonShape(Moved({{-3, -4}, {3, -4}, {0, -0.5}}, CX, CY)));
        break;
    case TGlyph::Dash:
        Paint(PolygonShape(Moved({{-3.5, -1}, {3.5, -1}, {3.5, 1}, {-3.5, 1}}, CX, CY)));
        break;
    }
}

namespace {

int RowBytes(int Width, int Bits) {
    return ((Width * Bits + 31) / 32) * 4;
}

} // namespace

std::unique_ptr<TBitmap> ToBitmap24(const TImage& Image) {
    const int Row = RowBytes(Image.Width(), 24);
    std::vector<BYTE> Bytes(std::size_t(Row) * Image.Height(), 0);
    for (int Y = 0; Y < Image.Height(); ++Y)
        for (int X = 0; X < Image.Width(); ++X) {
            const TRgb C = Image.Pixel(X, Y);
            BYTE* P = &Bytes[std::size_t(Y) * Row + X * 3];
            P[0] = BYTE(C & 0xFF);
            P[1] = BYTE((C >> 8) & 0xFF);
            P[2] = BYTE((C >> 16) & 0xFF);
        }
    auto B = std::make_unique<TBitmap>();
    B->LoadPixels(Image.Width(), Image.Height(), pf24bit, Bytes.data(), {});
    return B;
}

std::unique_ptr<TBitmap> ToBitmap8(const TImage& Image) {
    std::map<TRgb, int> Index;
    for (int Y = 0; Y < Image.Height(); ++Y)
        for (int X = 0; X < Image.Width(); ++X)
            Index.emplace(Image.Pixel(X, Y), 0);
    if (Index.size() > 256)
        throw std::runtime_error("an 8-bit picture needs more than 256 colours");
    std::vector<RGBQUAD> Table;
    for (auto& [C, I] : Index) {
        I = int(Table.size());
        Table.push_back({BYTE(C & 0xFF), BYTE((C >> 8) & 0xFF), BYTE((C >> 16) & 0xFF), 0});
    }
    const int Row = RowBytes(Image.Width(), 8);
    std::vector<BYTE> Bytes(std::size_t(Row) * Image.Height(), 0);
    for (int Y = 0; Y < Image.Height(); ++Y)
        for (int X = 0; X < Image.Width(); ++X)
            Bytes[std::size_t(Y) * Row + X] = BYTE(Index[Image.Pixel(X, Y)]);
    auto B = std::make_unique<TBitmap>();
    B->LoadPixels(Image.Width(), Image.Height(), pf8bit, Bytes.data(), Table);
    return B;
}

std::unique_ptr<TBitmap> ToMask1(const std::vector<bool>& Inside, int Width, int Height) {
    const int Row = RowBytes(Width, 1);
    std::vector<BYTE> Bytes(std::size_t(Row) * Height, 0);
    // Entry 0 black (inside), entry 1 white (outside).
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if (!Inside[std::size_t(Y) * Width + X])
                Bytes[std::size_t(Y) * Row + X / 8] |= BYTE(0x80 >> (X % 8));
    auto B = std::make_unique<TBitmap>();
    B->LoadPixels(Width, Height, pf1bit, Bytes.data(), {{0, 0, 0, 0}, {255, 255, 255, 0}});
    return B;
}

std::unique_ptr<TBitmap> ToGrey8(const std::vector<BYTE>& Grey, int Width, int Height) {
    std::vector<RGBQUAD> Table(256);
    for (int i = 0; i < 256; ++i)
        Table[std::size_t(i)] = {BYTE(i), BYTE(i), BYTE(i), 0};
    const int Row = RowBytes(Width, 8);
    std::vector<BYTE> Bytes(std::size_t(Row) * Height, 0);
    for (int Y = 0; Y < Height; ++Y)
        std::memcpy(&Bytes[std::size_t(Y) * Row], &Grey[std::size_t(Y) * Width],
                    std::size_t(Width));
    auto B = std::make_unique<TBitmap>();
    B->LoadPixels(Width, Height, pf8bit, Bytes.data(), Table);
    return B;
}

TImage FromBitmap(TBitmap& Bitmap) {
    TImage Out(Bitmap.Width(), Bitmap.Height());
    const int Bits = PixelFormatBits(Bitmap.PixelFormat());
    const auto& Table = Bitmap.ColorTable();
    auto FromTable = [&](int I) {
        if (I < 0 || std::size_t(I) >= Table.size())
            return TRgb(0);
        return TRgb(Table[std::size_t(I)].rgbRed) << 16 |
               TRgb(Table[std::size_t(I)].rgbGreen) << 8 | Table[std::size_t(I)].rgbBlue;
    };
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        const auto* Row = static_cast<const BYTE*>(Bitmap.ScanLine(Y));
        for (int X = 0; X < Bitmap.Width(); ++X) {
            TRgb C = 0;
            switch (Bits) {
            case 1:
                C = FromTable((Row[X / 8] >> (7 - X % 8)) & 1);
                break;
            case 4:
                C = FromTable((Row[X / 2] >> (X % 2 ? 0 : 4)) & 0xF);
                break;
            case 8:
                C = FromTable(Row[X]);
                break;
            case 24:
                C = TRgb(Row[X * 3 + 2]) << 16 | TRgb(Row[X * 3 + 1]) << 8 | Row[X * 3];
                break;
            default:
                C = TRgb(Row[X * 4 + 2]) << 16 | TRgb(Row[X * 4 + 1]) << 8 | Row[X * 4];
                break;
            }
            Out.SetPixel(X, Y, C);
        }
    }
    return Out;
}

} // namespace skingen

namespace skingen {

void ApplyInActiveEffect(TImage& Image, TbsInActiveEffect Effect) {
    std::vector<TRgb> Pixels;
    for (int Y = 0; Y < Image.Height(); ++Y)
        for (int X = 0; X < Image.Width(); ++X)
            Pixels.push_back(Image.Pixel(X, Y));
    ApplyInActiveEffect(Pixels, Image.Width(), Image.Height(), Effect);
    for (int Y = 0; Y < Image.Height(); ++Y)
        for (int X = 0; X < Image.Width(); ++X)
            Image.SetPixel(X, Y, Pixels[std::size_t(Y) * Image.Width() + X]);
}

} // namespace skingen
