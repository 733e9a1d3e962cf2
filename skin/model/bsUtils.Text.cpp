#include "skin/model/bsUtils.Text.h"

#include "skin/model/bsUtils.Rects.h"

#include <functional>

namespace {

// Removes the last UTF-8 character of S.
void DeleteLastChar(std::string& S) {
    std::size_t N = S.size();
    while (N > 0) {
        --N;
        if ((static_cast<unsigned char>(S[N]) & 0xC0) != 0x80)
            break;
    }
    S.resize(N);
}

void ApplyEllipsis(std::string& S, int Width,
                   const std::function<int(const std::string&)>& Measure) {
    if (Measure(S) <= Width)
        return;
    while (!S.empty()) {
        DeleteLastChar(S);
        if (Measure(S + "...") <= Width)
            break;
    }
    S += "...";
}

} // namespace

HDC CanvasTextDC(TCanvas* Canvas) {
    // Measuring selects the canvas's font and sets its text colour.
    Canvas->TextExtent(std::string());
    const HDC DC = Canvas->Handle();
    if (Canvas->Brush()->Style() == bsClear) {
        SetBkMode(DC, TRANSPARENT);
    } else {
        SetBkMode(DC, OPAQUE);
        SetBkColor(DC, COLORREF(ColorToRGB(Canvas->Brush()->Color())));
    }
    return DC;
}

int DrawWideText(TCanvas* Canvas, const std::string& S, TRect& R, UINT Format) {
    return DrawText(CanvasTextDC(Canvas), S, -1, &R, Format);
}

int GetWideTextWidth(TCanvas* Canvas, const std::string& S) {
    TRect R;
    DrawWideText(Canvas, S, R, DT_CALCRECT);
    return RectWidth(R);
}

int GetWideTextHeight(TCanvas* Canvas, const std::string& S) {
    TRect R;
    DrawWideText(Canvas, S, R, DT_CALCRECT);
    return RectHeight(R);
}

void DrawTextVCenter(TCanvas* Canvas, const std::string& S, const TRect& R) {
    if (S.empty())
        return;
    TRect T = R;
    DrawWideText(Canvas, S, T, DT_SINGLELINE | DT_VCENTER);
}

void DrawTextCenterY(TCanvas* Canvas, const std::string& S, const TRect& R) {
    DrawTextCenterYOffset(Canvas, S, R, 0);
}

void DrawTextCenterYOffset(TCanvas* Canvas, const std::string& S, const TRect& R, int Offset) {
    if (S.empty())
        return;
    const int Y = R.Top + RectHeight(R) / 2 - Canvas->TextHeight(S) / 2;
    Canvas->TextRect(R, R.Left + Offset + 2, Y, S);
}

void CorrectWideTextByWidth(TCanvas* Canvas, std::string& S, int Width) {
    ApplyEllipsis(S, Width, [Canvas](const std::string& T) { return GetWideTextWidth(Canvas, T); });
}

void CorrectTextByWidth(TCanvas* Canvas, std::string& S, int Width) {
    ApplyEllipsis(S, Width, [Canvas](const std::string& T) { return Canvas->TextWidth(T); });
}
