// The colour that covers most of a rectangle of some picture: the background
// under text and small pictures, which two renderings of one window agree on
// even where their fonts do not.
#pragma once

#include "platform/gdi/Types.h"

#include <cstdint>
#include <functional>
#include <map>

// Pixel(X, Y) answers 0xRRGGBB (higher bits are ignored); an empty rectangle
// answers 0.
inline std::uint32_t DominantColour(const std::function<std::uint32_t(int, int)>& Pixel,
                                    const TRect& R) {
    std::map<std::uint32_t, int> Count;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            ++Count[Pixel(X, Y) & 0xFFFFFF];
    std::uint32_t Best = 0;
    int Most = -1;
    for (auto [Colour, N] : Count)
        if (N > Most)
            Best = Colour, Most = N;
    return Best;
}
