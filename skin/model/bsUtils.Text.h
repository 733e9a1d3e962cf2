// Text on a canvas with its current font and colours, and the ellipsis rule
// that shortens a caption to a width. Texts are UTF-8; the names of the
// wide-text routines are kept.
#pragma once

#include "platform/gdi/Graphics.h"

#include <string>

// The canvas's DC with its font selected, its text colour set and its
// background mode following the brush (clear brush: transparent).
HDC CanvasTextDC(TCanvas* Canvas);

int DrawWideText(TCanvas* Canvas, const std::string& S, TRect& R, UINT Format);
int GetWideTextWidth(TCanvas* Canvas, const std::string& S);
int GetWideTextHeight(TCanvas* Canvas, const std::string& S);
void DrawTextVCenter(TCanvas* Canvas, const std::string& S, const TRect& R);
void DrawTextCenterY(TCanvas* Canvas, const std::string& S, const TRect& R);
void DrawTextCenterYOffset(TCanvas* Canvas, const std::string& S, const TRect& R, int Offset);

// The longest prefix of S that fits Width together with "...", followed by
// "..."; "..." alone when no prefix fits; S itself when it fits. Characters
// are removed whole, never cut inside.
void CorrectWideTextByWidth(TCanvas* Canvas, std::string& S, int Width);
void CorrectTextByWidth(TCanvas* Canvas, std::string& S, int Width);
