#include "platform/gdi/Region.h"

#include <algorithm>

namespace {

struct TSpan {
    int Left, Right;
    friend bool operator==(const TSpan&, const TSpan&) = default;
};

// Appends a band, merging it into the previous one when it continues it with
// the same spans, so that the result stays canonical.
void AppendBand(std::vector<TRect>& Out, std::size_t& LastBandStart, int Top, int Bottom,
                const std::vector<TSpan>& Spans) {
    if (Spans.empty() || Top >= Bottom)
        return;
    if (LastBandStart < Out.size()) {
        const int PrevBottom = Out[LastBandStart].Bottom;
        const std::size_t PrevCount = Out.size() - LastBandStart;
        bool Same = PrevBottom == Top && PrevCount == Spans.size();
        for (std::size_t i = 0; Same && i < Spans.size(); ++i)
            Same = Out[LastBandStart + i].Left == Spans[i].Left &&
                   Out[LastBandStart + i].Right == Spans[i].Right;
        if (Same) {
            for (std::size_t i = LastBandStart; i < Out.size(); ++i)
                Out[i].Bottom = Bottom;
            return;
        }
    }
    LastBandStart = Out.size();
    for (const TSpan& S : Spans)
        Out.push_back({S.Left, Top, S.Right, Bottom});
}

// Sorted, possibly overlapping spans become disjoint, non-touching ones.
void MergeSpans(std::vector<TSpan>& Spans) {
    std::sort(Spans.begin(), Spans.end(),
              [](const TSpan& A, const TSpan& B) { return A.Left < B.Left; });
    std::size_t Out = 0;
    for (const TSpan& S : Spans) {
        if (Out > 0 && S.Left <= Spans[Out - 1].Right)
            Spans[Out - 1].Right = std::max(Spans[Out - 1].Right, S.Right);
        else
            Spans[Out++] = S;
    }
    Spans.resize(Out);
}

// The spans of a canonical region's band covering Y, or none; Index walks
// forward through the rectangle list as Y grows.
void SpansAt(const std::vector<TRect>& Rects, std::size_t& Index, int Y, std::vector<TSpan>& Out) {
    Out.clear();
    while (Index < Rects.size() && Rects[Index].Bottom <= Y)
        ++Index;
    if (Index >= Rects.size() || Rects[Index].Top > Y)
        return;
    const int Top = Rects[Index].Top;
    for (std::size_t i = Index; i < Rects.size() && Rects[i].Top == Top; ++i)
        Out.push_back({Rects[i].Left, Rects[i].Right});
}

void CombineSpans(const std::vector<TSpan>& A, const std::vector<TSpan>& B, TRegion::TOperation Op,
                  std::vector<TSpan>& Out) {
    Out.clear();
    std::vector<int> Edges;
    Edges.reserve(2 * (A.size() + B.size()));
    for (const TSpan& S : A) {
        Edges.push_back(S.Left);
        Edges.push_back(S.Right);
    }
    for (const TSpan& S : B) {
        Edges.push_back(S.Left);
        Edges.push_back(S.Right);
    }
    std::sort(Edges.begin(), Edges.end());
    Edges.erase(std::unique(Edges.begin(), Edges.end()), Edges.end());
    std::size_t IA = 0, IB = 0;
    for (std::size_t e = 0; e + 1 < Edges.size(); ++e) {
        const int X = Edges[e];
        while (IA < A.size() && A[IA].Right <= X)
            ++IA;
        while (IB < B.size() && B[IB].Right <= X)
            ++IB;
        const bool InA = IA < A.size() && A[IA].Left <= X;
        const bool InB = IB < B.size() && B[IB].Left <= X;
        bool In = false;
        switch (Op) {
        case TRegion::opAnd:
            In = InA && InB;
            break;
        case TRegion::opOr:
            In = InA || InB;
            break;
        case TRegion::opXor:
            In = InA != InB;
            break;
        case TRegion::opDiff:
            In = InA && !InB;
            break;
        }
        if (!In)
            continue;
        if (!Out.empty() && Out.back().Right == X)
            Out.back().Right = Edges[e + 1];
        else
            Out.push_back({X, Edges[e + 1]});
    }
}

void AddBandEdges(const std::vector<TRect>& Rects, std::vector<int>& Edges) {
    for (std::size_t i = 0; i < Rects.size(); ++i) {
        if (i == 0 || Rects[i].Top != Rects[i - 1].Top) {
            Edges.push_back(Rects[i].Top);
            Edges.push_back(Rects[i].Bottom);
        }
    }
}

} // namespace

TRegion::TRegion(const TRect& R) {
    TRect N{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
            std::max(R.Top, R.Bottom)};
    if (!IsRectEmpty(&N))
        FRects.push_back(N);
}

TRegion TRegion::FromRects(const TRect* Rects, std::size_t Count) {
    std::vector<TRect> Sorted;
    Sorted.reserve(Count);
    std::vector<int> Edges;
    Edges.reserve(2 * Count);
    for (std::size_t i = 0; i < Count; ++i) {
        if (IsRectEmpty(&Rects[i]))
            continue;
        Sorted.push_back(Rects[i]);
        Edges.push_back(Rects[i].Top);
        Edges.push_back(Rects[i].Bottom);
    }
    std::sort(Sorted.begin(), Sorted.end(),
              [](const TRect& A, const TRect& B) { return A.Top < B.Top; });
    std::sort(Edges.begin(), Edges.end());
    Edges.erase(std::unique(Edges.begin(), Edges.end()), Edges.end());

    // Sweep the bands between successive edges, keeping the rectangles that
    // cover the current band.
    TRegion Result;
    std::size_t LastBand = 0;
    std::vector<TRect> Active;
    std::vector<TSpan> Spans;
    std::size_t Next = 0;
    for (std::size_t e = 0; e + 1 < Edges.size(); ++e) {
        const int Top = Edges[e], Bottom = Edges[e + 1];
        while (Next < Sorted.size() && Sorted[Next].Top <= Top)
            Active.push_back(Sorted[Next++]);
        std::erase_if(Active, [Top](const TRect& R) { return R.Bottom <= Top; });
        Spans.clear();
        for (const TRect& R : Active)
            Spans.push_back({R.Left, R.Right});
        MergeSpans(Spans);
        AppendBand(Result.FRects, LastBand, Top, Bottom, Spans);
    }
    return Result;
}

TRegion TRegion::Combine(const TRegion& A, const TRegion& B, TOperation Op) {
    std::vector<int> Edges;
    AddBandEdges(A.FRects, Edges);
    AddBandEdges(B.FRects, Edges);
    std::sort(Edges.begin(), Edges.end());
    Edges.erase(std::unique(Edges.begin(), Edges.end()), Edges.end());

    TRegion Result;
    std::size_t LastBand = 0, IA = 0, IB = 0;
    std::vector<TSpan> SA, SB, Out;
    for (std::size_t e = 0; e + 1 < Edges.size(); ++e) {
        SpansAt(A.FRects, IA, Edges[e], SA);
        SpansAt(B.FRects, IB, Edges[e], SB);
        CombineSpans(SA, SB, Op, Out);
        AppendBand(Result.FRects, LastBand, Edges[e], Edges[e + 1], Out);
    }
    return Result;
}

int TRegion::Kind() const {
    if (FRects.empty())
        return 1;
    return FRects.size() == 1 ? 2 : 3;
}

TRect TRegion::Bounds() const {
    if (FRects.empty())
        return {};
    TRect B = FRects.front();
    for (const TRect& R : FRects) {
        B.Left = std::min(B.Left, R.Left);
        B.Right = std::max(B.Right, R.Right);
    }
    B.Bottom = FRects.back().Bottom;
    return B;
}

bool TRegion::Contains(int X, int Y) const {
    // Bands are sorted by top; find the first rectangle whose bottom is below Y.
    auto It = std::partition_point(FRects.begin(), FRects.end(),
                                   [Y](const TRect& R) { return R.Bottom <= Y; });
    for (; It != FRects.end() && It->Top <= Y; ++It) {
        if (X >= It->Left && X < It->Right)
            return true;
        if (It->Left > X)
            break;
    }
    return false;
}

bool TRegion::Overlaps(const TRect& R) const {
    TRect Common;
    for (const TRect& Part : FRects) {
        if (Part.Top >= R.Bottom)
            break;
        if (IntersectRect(&Common, &Part, &R))
            return true;
    }
    return false;
}

void TRegion::Offset(int DX, int DY) {
    for (TRect& R : FRects)
        OffsetRect(&R, DX, DY);
}

TRegion TRegion::Intersected(const TRect& R) const {
    if (FRects.size() == 1) {
        TRect Common;
        TRegion Result;
        if (IntersectRect(&Common, &FRects.front(), &R))
            Result.FRects.push_back(Common);
        return Result;
    }
    return Combine(*this, TRegion(R), opAnd);
}
