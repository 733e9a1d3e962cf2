// The stock icons, drawn here as shapes on a 32-unit grid and rendered with
// 4 x 4 samples per pixel, so that they look the same whatever the fonts.
#include "platform/gdi/Icons.h"

#include <cmath>
#include <functional>

namespace {

struct TShape {
    std::function<bool(double, double)> Inside;
    std::uint32_t Color; // 0xRRGGBB
};

std::function<bool(double, double)> Box(double L, double T, double R, double B) {
    return [=](double X, double Y) { return X >= L && X < R && Y >= T && Y < B; };
}

std::function<bool(double, double)> Disc(double CX, double CY, double Radius) {
    return [=](double X, double Y) {
        return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius;
    };
}

// Points within Half of the segment from (X1, Y1) to (X2, Y2).
std::function<bool(double, double)> Stroke(double X1, double Y1, double X2, double Y2,
                                           double Half) {
    return [=](double X, double Y) {
        const double DX = X2 - X1, DY = Y2 - Y1;
        double T = ((X - X1) * DX + (Y - Y1) * DY) / (DX * DX + DY * DY);
        T = std::fmax(0.0, std::fmin(1.0, T));
        const double PX = X1 + T * DX - X, PY = Y1 + T * DY - Y;
        return PX * PX + PY * PY <= Half * Half;
    };
}

std::function<bool(double, double)> Triangle(double X1, double Y1, double X2, double Y2, double X3,
                                             double Y3) {
    return [=](double X, double Y) {
        auto Side = [&](double AX, double AY, double BX, double BY) {
            return (BX - AX) * (Y - AY) - (BY - AY) * (X - AX);
        };
        const double A = Side(X1, Y1, X2, Y2), B = Side(X2, Y2, X3, Y3), C = Side(X3, Y3, X1, Y1);
        return (A >= 0 && B >= 0 && C >= 0) || (A <= 0 && B <= 0 && C <= 0);
    };
}

TArgbImage Render(const std::vector<TShape>& Shapes, int Size) {
    TArgbImage Out;
    Out.Width = Out.Height = Size;
    Out.Pixels.assign(std::size_t(Size) * std::size_t(Size), 0);
    const double Scale = 32.0 / Size;
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X) {
            unsigned R = 0, G = 0, B = 0, Covered = 0;
            for (int S = 0; S < 16; ++S) {
                const double PX = (X + (S % 4 + 0.5) / 4) * Scale;
                const double PY = (Y + (S / 4 + 0.5) / 4) * Scale;
                const TShape* Top = nullptr;
                for (const TShape& Shape : Shapes)
                    if (Shape.Inside(PX, PY))
                        Top = &Shape;
                if (!Top)
                    continue;
                ++Covered;
                R += (Top->Color >> 16) & 0xFF;
                G += (Top->Color >> 8) & 0xFF;
                B += Top->Color & 0xFF;
            }
            if (Covered)
                Out.At(X, Y) = ((Covered * 255 / 16) << 24) | ((R / Covered) << 16) |
                               ((G / Covered) << 8) | (B / Covered);
        }
    return Out;
}

std::vector<TShape> ShapesOf(std::uintptr_t Id) {
    constexpr std::uint32_t White = 0xFFFFFF, Blue = 0x2A64C8, DarkBlue = 0x143C8C;
    switch (Id) {
    case IDI_APPLICATION:
        return {{Box(2, 4, 30, 28), 0x404040},
                {Box(3, 5, 29, 10), 0x0A246A},
                {Box(3, 10, 29, 27), White}};
    case IDI_HAND:
        return {{Disc(16, 16, 14.5), 0x961414},
                {Disc(16, 16, 13.2), 0xDC2828},
                {Stroke(10.5, 10.5, 21.5, 21.5, 2.3), White},
                {Stroke(21.5, 10.5, 10.5, 21.5, 2.3), White}};
    case IDI_QUESTION:
        return {{Disc(16, 16, 14.5), DarkBlue},
                {Disc(16, 16, 13.2), Blue},
                {[](double X, double Y) {
                     const double D = std::hypot(X - 16, Y - 12.5);
                     return D >= 3.6 && D <= 6.0 && !(X < 16 && Y > 12.5);
                 },
                 White},
                {Stroke(16, 17.3, 16, 20, 1.25), White},
                {Disc(16, 24.3, 1.8), White}};
    case IDI_EXCLAMATION:
        return {{Triangle(16, 1.5, 31, 29.5, 1, 29.5), 0x786400},
                {Triangle(16, 4, 28.6, 28.2, 3.4, 28.2), 0xFAD228},
                {Stroke(16, 11, 16, 20, 1.8), 0x000000},
                {Disc(16, 24.2, 1.9), 0x000000}};
    case IDI_ASTERISK:
        return {{Disc(16, 16, 14.5), DarkBlue},
                {Disc(16, 16, 13.2), Blue},
                {Disc(16, 9, 2.1), White},
                {Stroke(16, 14, 16, 24, 1.9), White}};
    default:
        return {};
    }
}

} // namespace

std::vector<TArgbImage> StockIconImages(std::uintptr_t Id) {
    const std::vector<TShape> Shapes = ShapesOf(Id);
    if (Shapes.empty())
        return {};
    return {Render(Shapes, 32), Render(Shapes, 16)};
}
