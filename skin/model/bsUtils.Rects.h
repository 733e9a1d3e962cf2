// Rectangle and point arithmetic of the skin library. PointInRect counts all
// four edges as inside, unlike PtInRect; RectInRect uses PtInRect for both
// corners, so a rectangle never lies in an equal one.
#pragma once

#include "platform/gdi/Types.h"

int RectWidth(const TRect& R);
int RectHeight(const TRect& R);
void NullRect(TRect& R);
bool IsNullRect(const TRect& R);
bool EqRects(const TRect& A, const TRect& B);
bool IsNullPoint(const TPoint& P);
bool PointInRect(const TRect& R, const TPoint& P);
bool RectInRect(const TRect& Inner, const TRect& Outer);
bool RectVertOverlaps(const TRect& A, const TRect& B);
int Max(int A, int B);
int Min(int A, int B);
