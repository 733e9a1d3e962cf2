// Window regions from black-and-white masks: a pixel is inside when it is
// pure black. A mask of an element's size is laid out for a new size like
// the element's picture (tiled, never stretched) and joined with the client
// rectangle, which is always wholly inside.
#pragma once

#include "platform/gdi/Graphics.h"

#include <vector>

// One rectangle per run of inside pixels, row by row, moved by (X, Y), in
// region data (a 32-byte header, then 16 bytes per rectangle); answers the
// byte size, or 0 with Data untouched for an empty mask.
DWORD MaskToRegionData(TBitmap* Mask, int X, int Y, std::vector<BYTE>& Data);
// Rgn becomes the mask's region, or 0 for an empty mask.
void MaskToRegion(HRGN& Rgn, TBitmap* Mask);
// The four border pieces of the mask for a Width-wide frame. A new piece
// starts white (outside), so what no tile or corner reaches is not inside.
void MakeFrameMaskBitmaps(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                          TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                          TPoint NewRBPoint, TRect NewClRect, TBitmap* Mask, TBitmap* TopB,
                          TBitmap* LeftB, TBitmap* RightB, TBitmap* BottomB, int Width, int Height);
// Rgn becomes the region for the new size, or 0 when the size is below the
// corners or there is nothing to join.
void MakeNinePartRegion(HRGN& Rgn, TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                        TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                        TRect NewClRect, TBitmap* Mask, int Width, int Height);
