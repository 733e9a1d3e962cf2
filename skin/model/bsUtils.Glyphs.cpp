#include "skin/model/bsUtils.Glyphs.h"

#include "skin/model/bsUtils.Rects.h"

namespace {

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2) {
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

void Outline(TCanvas* Canvas, int X1, int Y1, int X2, int Y2) {
    Canvas->Rectangle(X1, Y1, X2, Y2);
}

} // namespace

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    const int CX = R.Left + RectWidth(R) / 2;
    const int CY = R.Top + RectHeight(R) / 2;
    for (int N = 2; N >= 0; --N)
        Line(Canvas, CX - N, CY - N + 2, CX + N + 1, CY - N + 2);
}

void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Code) {
    Canvas->Pen()->SetColor(Color);
    const int CX = R.Left + RectWidth(R) / 2;
    const int CY = R.Top + RectHeight(R) / 2;
    switch (Code) {
    case 1:
        for (int I = 0; I <= 3; ++I) {
            const int X = CX + I - 2;
            Line(Canvas, X, CY - I, X, CY + I + 1);
        }
        break;
    case 2:
        for (int N = 3; N >= 0; --N) {
            const int X = CX - N + 2;
            Line(Canvas, X, CY + N, X, CY - N - 1);
        }
        break;
    case 3:
        for (int I = 0; I <= 3; ++I) {
            const int Y = CY + I - 2;
            Line(Canvas, CX - I, Y, CX + I + 1, Y);
        }
        break;
    case 4:
        for (int N = 3; N >= 0; --N) {
            const int Y = CY - N + 2;
            Line(Canvas, CX - N, Y, CX + N + 1, Y);
        }
        break;
    default:
        break;
    }
}

void DrawRadioImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Outline(Canvas, X, Y, X + 6, Y + 6);
}

void DrawCheckImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (int I = 0; I <= 2; ++I) {
        Canvas->MoveTo(X, Y - I + 5);
        Canvas->LineTo(X + 2, Y - I + 7);
        Canvas->LineTo(X + 7, Y - I + 2);
    }
}

void DrawCloseImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
    Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
    Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
    Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    Outline(Canvas, X + 1, Y + 3, X + 9, Y + 6);
}

void DrawMinimizeImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
    Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    Outline(Canvas, X, Y, X + 11, Y + 10);
    Outline(Canvas, X, Y, X + 11, Y + 2);
}

void DrawRestoreImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    Outline(Canvas, X + 2, Y, X + 10, Y + 6);
    Outline(Canvas, X + 2, Y, X + 10, Y + 2);
    Outline(Canvas, X, Y + 4, X + 7, Y + 10);
    Outline(Canvas, X, Y + 4, X + 7, Y + 6);
}

void DrawRollDownImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 5, Y + 6, X + 5, Y + 6);
    Line(Canvas, X + 4, Y + 5, X + 6, Y + 5);
    Line(Canvas, X + 3, Y + 4, X + 7, Y + 4);
    Line(Canvas, X + 2, Y + 3, X + 8, Y + 3);
    Line(Canvas, X + 1, Y + 2, X + 9, Y + 2);
}

void DrawRollUpImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 6, X + 9, Y + 6);
    Line(Canvas, X + 2, Y + 5, X + 8, Y + 5);
    Line(Canvas, X + 3, Y + 4, X + 7, Y + 4);
    Line(Canvas, X + 4, Y + 3, X + 6, Y + 3);
    Line(Canvas, X + 5, Y + 2, X + 5, Y + 2);
}

void DrawTrayImage(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Outline(Canvas, X + 2, Y + 2, X + 7, Y + 7);
}

void DrawFocusRectangle(TCanvas* Canvas, const TRect& R) {
    const TColor Color = Canvas->Font()->Color();
    Canvas->Pen()->SetColor(Color);
    const TRect E{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
    bool On = !(RectWidth(E) % 2 == 0 && RectHeight(E) % 2 == 0);
    auto Visit = [&](int X, int Y) {
        if (On)
            Canvas->SetPixels(X, Y, Color);
        On = !On;
    };
    // Each edge includes both ends; the phase flips once more at a corner so
    // the shared pixel gets the same decision from both edges.
    for (int X = E.Left; X <= E.Right; ++X)
        Visit(X, E.Top);
    On = !On;
    for (int Y = E.Top; Y <= E.Bottom; ++Y)
        Visit(E.Right, Y);
    On = !On;
    for (int X = E.Right; X >= E.Left; --X)
        Visit(X, E.Bottom);
    On = !On;
    for (int Y = E.Bottom; Y >= E.Top; --Y)
        Visit(E.Left, Y);
}
