#include "tests/skin/forms/demo/DemoExpectations.h"

#include "platform/gdi/Graphics.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <vector>

std::string Hex(std::uint32_t Rgb) {
    char Text[8];
    std::snprintf(Text, sizeof(Text), "%06X", unsigned(Rgb & 0xFFFFFF));
    return Text;
}

std::uint32_t RgbOf(TColor C) {
    const COLORREF R = ColorToRGB(C);
    return (std::uint32_t(GetRValue(R)) << 16) | (std::uint32_t(GetGValue(R)) << 8) | GetBValue(R);
}

bool InAnyObject(TbsSkinForm* C, int X, int Y) {
    for (int I = 0; I < C->ObjectCount(); ++I) {
        TbsActiveSkinObject* O = C->Object(I);
        if (O->Visible && PtInRect(&O->ObjectRect, TPoint{X, Y}))
            return true;
    }
    return false;
}

void WriteFramePoints(std::ostream& Out, TForm* F, const std::string& Name) {
    TbsSkinForm* C = FindSkinFormComponent(F);
    TRect Screen;
    GetWindowRect(F->Handle(), &Screen);
    const int L = Screen.Left, T = Screen.Top, W = F->Width(), H = F->Height();
    TBitmap Frame;
    Frame.SetSize(W, H);
    F->Perform(WM_NCPAINTTODC, WPARAM(Frame.Canvas()->Handle()), 0);
    HRGN Shape = CreateRectRgn(0, 0, 0, 0);
    const bool Shaped = GetWindowRgn(F->Handle(), Shape) != ERROR;
    const TPoint Origin = F->ClientToScreen(TPoint{0, 0});
    const int CL = Origin.X - L, CT = Origin.Y - T;
    const int CR = CL + F->ClientWidth(), CB = CT + F->ClientHeight();
    auto Framed = [&](int X, int Y) {
        return !(X >= CL && X < CR && Y >= CT && Y < CB) && (!Shaped || PtInRegion(Shape, X, Y)) &&
               !(C && InAnyObject(C, X, Y));
    };
    std::vector<TPoint> Points;
    for (int X = 3; X < W - 3; X += 11)
        Points.push_back({X, CT / 2});
    for (int Y = CT + 5; Y < CB - 5; Y += 23) {
        Points.push_back({CL / 2, Y});
        Points.push_back({(CR + W) / 2, Y});
    }
    for (int X = 8; X < W - 8; X += 37)
        Points.push_back({X, (CB + H) / 2});
    for (const TPoint& P : Points)
        if (Framed(P.X, P.Y))
            Out << "pixel " << Name << "-frame " << L + P.X << " " << T + P.Y << " "
                << Hex(RgbOf(Frame.Canvas()->Pixels(P.X, P.Y))) << "\n";
    DeleteObject(ToObj(Shape));
}
