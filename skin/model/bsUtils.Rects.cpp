#include "skin/model/bsUtils.Rects.h"

int RectWidth(const TRect& R) {
    return R.Right - R.Left;
}

int RectHeight(const TRect& R) {
    return R.Bottom - R.Top;
}

void NullRect(TRect& R) {
    R = TRect{};
}

bool IsNullRect(const TRect& R) {
    return RectWidth(R) <= 0 || RectHeight(R) <= 0;
}

bool EqRects(const TRect& A, const TRect& B) {
    return A == B;
}

bool IsNullPoint(const TPoint& P) {
    return P.X == 0 || P.Y == 0;
}

bool PointInRect(const TRect& R, const TPoint& P) {
    return R.Left <= P.X && P.X <= R.Right && R.Top <= P.Y && P.Y <= R.Bottom;
}

bool RectInRect(const TRect& Inner, const TRect& Outer) {
    return PtInRect(&Outer, Inner.TopLeft()) && PtInRect(&Outer, Inner.BottomRight());
}

bool RectVertOverlaps(const TRect& A, const TRect& B) {
    return PtInRect(&B, {B.Left + 1, A.Top}) || PtInRect(&B, {B.Right - 1, A.Bottom});
}

int Max(int A, int B) {
    return A > B ? A : B;
}

int Min(int A, int B) {
    return A < B ? A : B;
}
