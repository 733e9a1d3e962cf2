// Small default glyphs drawn with the canvas pen: arrows, the tick, the radio
// dot, the caption-button glyphs (a cell of about 11 x 10 at X, Y) and the
// dotted focus rectangle. Lines leave out their end point and rectangles
// their right and bottom edge, as the canvas draws them.
#pragma once

#include "platform/gdi/Graphics.h"

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color);
// Code 1 left, 2 right, 3 up, 4 down; any other code draws nothing.
void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Code);
void DrawRadioImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawCheckImage(TCanvas* Canvas, int X, int Y, TColor Color);

void DrawCloseImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawSysMenuImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMinimizeImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMaximizeImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRestoreImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollDownImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawTrayImage(TCanvas* Canvas, int X, int Y, TColor Color);

// Dots in the font colour on the last column and row inside R, alternating
// without a break around the corners.
void DrawFocusRectangle(TCanvas* Canvas, const TRect& R);
