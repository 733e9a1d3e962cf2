// Deterministic shelf packing of element pictures into one skin picture:
// pictures are placed in the order they come, left to right on shelves as
// high as their tallest picture, with a 2-pixel gutter around each, so the
// same elements always give the same rectangles.
#pragma once

#include "skin/stored/generator/Painter.h"

#include <vector>

namespace skingen {

class TAtlas {
public:
    TAtlas() = default;
    explicit TAtlas(int MaxWidth) : FMaxWidth(MaxWidth) {}

    // Where Picture will lie in the composed picture.
    TRect Place(const TImage& Picture);
    // Every placed picture on Background; at least 1 x 1.
    TImage Compose(TRgb Background) const;
    bool Empty() const { return FItems.empty(); }

private:
    static constexpr int Gutter = 2;
    struct TItem {
        TImage Picture;
        TRect Rect;
    };
    int FMaxWidth = 256;
    int FShelfTop = Gutter;
    int FShelfHeight = 0;
    int FX = Gutter;
    std::vector<TItem> FItems;
};

} // namespace skingen
