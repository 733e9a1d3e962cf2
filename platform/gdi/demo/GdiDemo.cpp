// Draws one picture with most of the graphics layer and saves it as a PNG:
// gdi-demo [path], by default gdi-demo.png in the current folder.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/PngImage.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

namespace {

const char* const Sample = "图形层 Graphics layer 视频转换";

void Caption(TCanvas* C, int X, int Y, const std::string& Text) {
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-11);
    C->Font()->SetStyle({fsBold});
    C->Font()->SetColor(clNavy);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(X, Y, Text);
    C->Font()->SetStyle({});
}

void Faces(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Faces, heights and styles");
    struct Row {
        const char* Face;
        int Height;
        TFontStyles Style;
        TColor Color;
        bool Opaque;
    };
    const Row Rows[] = {
        {"Arial", -11, {}, clBlack, false},
        {"MS Sans Serif", 14, {fsBold}, clMaroon, false},
        {"Tahoma", -20, {fsItalic}, clGreen, false},
        {"Arial", 14, {fsUnderline}, clWhite, true},
        {"Tahoma", -11, {fsStrikeOut}, clPurple, false},
        {"MS Sans Serif", -20, {fsBold, fsItalic}, clTeal, true},
    };
    int Top = Y + 18;
    for (const Row& R : Rows) {
        C->Font()->SetName(R.Face);
        C->Font()->SetHeight(R.Height);
        C->Font()->SetStyle(R.Style);
        C->Font()->SetColor(R.Color);
        if (R.Opaque)
            C->Brush()->SetColor(R.Color == clWhite ? clNavy : clYellow);
        else
            C->Brush()->SetStyle(bsClear);
        C->TextOut(X, Top, std::string(R.Face) + " " + std::to_string(R.Height) + ": " + Sample);
        Top += C->TextHeight("Wg") + 4;
    }
}

void TextBoxes(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "DrawText");
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-11);
    C->Font()->SetColor(clBlack);
    struct Box {
        const char* Text;
        UINT Flags;
    };
    const Box Boxes[] = {
        {"DT_CENTER", DT_CENTER},
        {"DT_VCENTER | DT_SINGLELINE", DT_VCENTER | DT_SINGLELINE},
        {"视频转换是把一种格式的视频变成另一种格式的过程。", DT_WORDBREAK},
        {"A line far too long for its little box", DT_END_ELLIPSIS | DT_SINGLELINE},
        {"/home/user/videos/holiday/clip.avi", DT_PATH_ELLIPSIS | DT_SINGLELINE},
        {"&File and &&", DT_SINGLELINE},
        {"&File and &&", DT_SINGLELINE | DT_NOPREFIX},
        {"Name\tSize\tType", DT_SINGLELINE | DT_EXPANDTABS},
    };
    const HDC DC = C->Handle();
    C->Brush()->SetStyle(bsClear);
    for (int i = 0; i < 8; ++i) {
        TRect R = Bounds(X + (i % 4) * 150, Y + 18 + (i / 4) * 52, 140, 44);
        C->Brush()->SetColor(clSilver);
        C->FrameRect(R);
        InflateRect(&R, -2, -2);
        C->Brush()->SetStyle(bsClear);
        C->TextWidth("x"); // selects the canvas's font and its colour
        SetBkMode(DC, TRANSPARENT);
        DrawText(DC, Boxes[i].Text, -1, &R, Boxes[i].Flags);
    }
    const int Stops[] = {60, 130};
    TabbedTextOut(DC, X, Y + 128, "Tabbed:\tstop 60\tstop 130", 2, Stops, X);
}

void Shapes(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Lines, shapes, frames");
    const HDC DC = C->Handle();
    int Top = Y + 20;
    C->Pen()->SetColor(clBlack);
    for (int i = 0; i < 8; ++i) {
        C->MoveTo(X + i * 6, Top);
        C->LineTo(X + 40, Top + 40 - i * 5);
    }
    C->Brush()->SetColor(clYellow);
    C->Rectangle(X + 50, Top, X + 90, Top + 30);
    C->Brush()->SetColor(clAqua);
    C->Ellipse(X + 100, Top, X + 140, Top + 30);
    C->RoundRect(X + 150, Top, X + 190, Top + 30, 10, 10);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Bounds(X + 195, Top - 5, 150, 40));
    TRect F = Bounds(X + 200, Top, 40, 30);
    Frame3D(C, F, clBtnHighlight, clBtnShadow, 2);
    TRect E = Bounds(X + 250, Top, 40, 30);
    DrawEdge(DC, &E, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    TRect S = Bounds(X + 300, Top, 40, 30);
    DrawEdge(DC, &S, EDGE_SUNKEN, BF_RECT);
    TRect Focus = Bounds(X + 350, Top, 40, 30);
    DrawFocusRect(DC, &Focus);
    C->Pen()->SetStyle(psDot);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(X + 400, Top, X + 440, Top + 30);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(3);
    C->Pen()->SetColor(clRed);
    C->Polyline({{X + 450, Top + 30}, {X + 470, Top}, {X + 490, Top + 30}});
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clBlack);
}

void Pictures(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Alpha, icons, image list, region clip");
    const int Top = Y + 20;
    // A red gradient, more opaque to the right, blended over a checkerboard.
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j) {
            C->Brush()->SetColor((i + j) % 2 ? clSilver : clWhite);
            C->FillRect(Bounds(X + i * 15, Top + j * 10, 15, 10));
        }
    TBitmap Gradient;
    Gradient.SetPixelFormat(pf32bit);
    Gradient.SetSize(120, 40);
    for (int Row = 0; Row < 40; ++Row) {
        auto* P = static_cast<std::uint32_t*>(Gradient.ScanLine(Row));
        for (int Col = 0; Col < 120; ++Col)
            P[Col] = (std::uint32_t(Col * 255 / 119) << 24) | 0xD02020;
    }
    Gradient.SetAlphaFormat(afDefined);
    C->Draw(X, Top, &Gradient);

    int IconX = X + 140;
    for (std::uintptr_t Id :
         {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
        DrawIconEx(C->Handle(), IconX, Top, LoadIcon(0, Id), 32, 32, 0, 0, DI_NORMAL);
        DrawIconEx(C->Handle(), IconX + 8, Top + 36, LoadIcon(0, Id), 16, 16, 0, 0, DI_NORMAL);
        IconX += 40;
    }

    TImageList List(nullptr);
    TBitmap Glyphs;
    Glyphs.SetPixelFormat(pf24bit);
    Glyphs.SetSize(32, 16);
    Glyphs.Canvas()->Brush()->SetColor(clFuchsia);
    Glyphs.Canvas()->FillRect(Rect(0, 0, 32, 16));
    Glyphs.Canvas()->Brush()->SetColor(clBlue);
    Glyphs.Canvas()->Ellipse(1, 1, 15, 15);
    Glyphs.Canvas()->Brush()->SetColor(clGreen);
    Glyphs.Canvas()->Pen()->SetColor(clBlack);
    Glyphs.Canvas()->Polygon({{24, 1}, {31, 14}, {17, 14}});
    List.AddMasked(&Glyphs, clFuchsia);
    for (int i = 0; i < 2; ++i) {
        List.Draw(C, X + 350 + i * 20, Top, i, true);
        List.Draw(C, X + 350 + i * 20, Top + 20, i, false);
    }

    // A fill clipped by a region with a hole.
    const HDC DC = C->Handle();
    HRGN Outer = CreateRectRgn(X + 410, Top, X + 470, Top + 40);
    HRGN Hole = CreateRectRgn(X + 425, Top + 10, X + 455, Top + 30);
    CombineRgn(Outer, Outer, Hole, RGN_DIFF);
    const int Saved = SaveDC(DC);
    SelectClipRgn(DC, Outer);
    C->Brush()->SetColor(clOlive);
    C->FillRect(Rect(0, 0, 2000, 2000));
    RestoreDC(DC, Saved);
    C->Refresh();
    DeleteObject(ToObj(Outer));
    DeleteObject(ToObj(Hole));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    const std::string Path = argc > 1 ? argv[1] : "gdi-demo.png";
    try {
        TBitmap Picture;
        Picture.SetPixelFormat(pf32bit);
        Picture.SetSize(640, 480);
        TCanvas* C = Picture.Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 640, 480));
        Faces(C, 10, 8);
        TextBoxes(C, 10, 190);
        Shapes(C, 10, 340);
        Pictures(C, 10, 400);
        TPngImage Png;
        Png.Assign(&Picture);
        Png.SaveToFile(Path);
        std::printf("%s\n", Path.c_str());
    } catch (const std::exception& E) {
        std::fprintf(stderr, "gdi-demo: %s\n", E.what());
        return 1;
    }
    return 0;
}
