// The cost of the shape of a translucent 1920 x 1080 picture: the input
// shape under a compositor (pixels with alpha above 0) and the window shape
// without one (alpha 128 and above). It is computed once per new picture.
#include "platform/qt/QtPixelRegion.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Width = 1920, Height = 1080;

// An opaque frame 100 pixels wide around a see-through middle: rows repeat.
QImage Holed() {
    QImage Image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Image.fill(0xFF800000);
    for (int Y = 100; Y < Height - 100; ++Y)
        std::fill_n(reinterpret_cast<QRgb*>(Image.scanLine(Y)) + 100, Width - 200, 0u);
    return Image;
}

// A glow fading from the middle: every row differs from the one above.
QImage Glow() {
    QImage Image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (int Y = 0; Y < Height; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X = 0; X < Width; ++X) {
            double D = std::hypot(X - Width / 2.0, Y - Height / 2.0);
            int A = std::clamp(int(255 - D / 2.2), 0, 255);
            Row[X] = qPremultiply(qRgba(255, 255, 255, A));
        }
    }
    return Image;
}

// Every other pixel see-through, shifted on every row: the worst picture.
QImage Checkered() {
    QImage Image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (int Y = 0; Y < Height; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X = 0; X < Width; ++X)
            Row[X] = (X + Y) % 2 ? 0xFF000000 : 0;
    }
    return Image;
}

void Shape(benchmark::State& State, QImage (*Make)(), unsigned MinAlpha) {
    QImage Image = Make();
    for (auto _ : State) {
        QRegion Region = PixelRegion(Image, MinAlpha);
        benchmark::DoNotOptimize(Region);
    }
    State.counters["rects"] = double(PixelRegion(Image, MinAlpha).rectCount());
}

} // namespace

BENCHMARK_CAPTURE(Shape, InputHoled1920x1080, Holed, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Shape, InputGlow1920x1080, Glow, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Shape, InputCheckered1920x1080, Checkered, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Shape, WindowGlow1920x1080, Glow, 128)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
