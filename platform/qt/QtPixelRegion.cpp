#include "platform/qt/QtPixelRegion.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

// Rows with the same runs share one band so that the region stays small.
QRegion PixelRegion(const QImage& Image, unsigned MinAlpha) {
    std::vector<QRect> Rects;
    std::vector<std::pair<int, int>> Runs, Previous;
    int BandStart = 0;
    auto CloseBand = [&](int End) {
        for (auto [From, To] : Previous)
            Rects.emplace_back(QPoint(From, BandStart), QPoint(To - 1, End - 1));
    };
    std::size_t RowBytes = std::size_t(Image.width()) * 4;
    for (int Y = 0; Y < Image.height(); ++Y) {
        const auto* Row = reinterpret_cast<const std::uint32_t*>(Image.constScanLine(Y));
        // Borders and glows repeat their rows: a repeated row has the same runs.
        if (Y > 0 && std::memcmp(Row, Image.constScanLine(Y - 1), RowBytes) == 0)
            continue;
        Runs.clear();
        for (int X = 0; X < Image.width();) {
            while (X < Image.width() && (Row[X] >> 24) < MinAlpha)
                ++X;
            int From = X;
            while (X < Image.width() && (Row[X] >> 24) >= MinAlpha)
                ++X;
            if (X > From)
                Runs.emplace_back(From, X);
        }
        if (Y == 0 || Runs != Previous) {
            CloseBand(Y);
            Previous = Runs;
            BandStart = Y;
        }
    }
    CloseBand(Image.height());
    QRegion Result;
    Result.setRects(Rects.data(), int(Rects.size()));
    return Result;
}
