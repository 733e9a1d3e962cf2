// A set of pixels kept as rectangles in canonical form: horizontal bands from
// top to bottom, each band's rectangles sorted left to right with no overlap
// and no two touching, and no two vertically adjacent bands with the same
// spans. Equal point sets therefore have equal rectangle lists.
#pragma once

#include "platform/gdi/Types.h"

#include <vector>

class TRegion {
public:
    enum TOperation { opAnd = 1, opOr = 2, opXor = 3, opDiff = 4 };

    TRegion() = default;
    explicit TRegion(const TRect& R);
    // The union of any rectangles, in any order, overlapping or not.
    static TRegion FromRects(const TRect* Rects, std::size_t Count);
    static TRegion Combine(const TRegion& A, const TRegion& B, TOperation Op);

    const std::vector<TRect>& Rects() const { return FRects; }
    bool Empty() const { return FRects.empty(); }
    // 1 empty, 2 one rectangle, 3 more (the platform's region kinds).
    int Kind() const;
    TRect Bounds() const;
    bool Contains(int X, int Y) const;
    bool Overlaps(const TRect& R) const;
    void Offset(int DX, int DY);
    TRegion Intersected(const TRect& R) const;

    friend bool operator==(const TRegion&, const TRegion&) = default;

private:
    std::vector<TRect> FRects;
};
