#include "skin/stored/generator/Atlas.h"

#include <algorithm>

namespace skingen {

TRect TAtlas::Place(const TImage& Picture) {
    if (FX > Gutter && FX + Picture.Width() + Gutter > FMaxWidth) {
        FShelfTop += FShelfHeight + Gutter;
        FShelfHeight = 0;
        FX = Gutter;
    }
    const TRect R{FX, FShelfTop, FX + Picture.Width(), FShelfTop + Picture.Height()};
    FX += Picture.Width() + Gutter;
    FShelfHeight = std::max(FShelfHeight, Picture.Height());
    FItems.push_back({Picture, R});
    return R;
}

TImage TAtlas::Compose(TRgb Background) const {
    int W = 1, H = 1;
    for (const TItem& I : FItems) {
        W = std::max(W, I.Rect.Right + Gutter);
        H = std::max(H, I.Rect.Bottom + Gutter);
    }
    TImage Out(W, H, Background);
    for (const TItem& I : FItems)
        Out.Draw(I.Picture, I.Rect.Left, I.Rect.Top);
    return Out;
}

} // namespace skingen
