// Draws one picture with the skin bitmap, its kernels and the drawing
// helpers. Usage:
//   skin-bitmap-demo out.png   the picture, drawn into a skin bitmap offscreen
//   skin-bitmap-demo --window  the same drawing in a form on the desktop
//
// The picture is painted by one control; offscreen it paints into the skin
// bitmap's DC (memory paths), on the desktop into its window DC (the DC and
// composing paths), so the two must show the same pixels.
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/PngImage.h"
#include "platform/win/Windows.h"
#include "skin/model/bsEffects.h"
#include "skin/model/bsUtils.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

constexpr int DemoWidth = 900;
constexpr int DemoHeight = 560;
const TRect GlassBounds{150, 300, 330, 380};

void Caption(TCanvas* C, int X, int Y, const std::string& Text) {
    C->Font()->SetName("Arial");
    C->Font()->SetHeight(-11);
    C->Font()->SetStyle({fsBold});
    C->Font()->SetColor(clNavy);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(X, Y, Text);
    C->Font()->SetStyle({});
}

void Checkerboard(TbsBitmap& B, int W, int H) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B.SetPixel(X, Y, ((X / 8 + Y / 8) % 2) ? 0xFFFFFFFF : 0xFF9090A0);
}

// Red fading in from left to right, blue fading in downwards.
void AlphaGradient(TbsBitmap& B, int W, int H) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TbsColor A = TbsColor(X * 255 / (W - 1));
            B.SetPixel(X, Y, (A << 24) | 0x00E02000 | TbsColor(Y * 255 / (H - 1)));
        }
    B.SetAlphaBlend(true);
}

void Pattern(TbsBitmap& B, int W, int H) {
    B.SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TbsColor R = TbsColor(X * 255 / W), G = TbsColor(Y * 255 / H);
            const bool Frame = X == 0 || Y == 0 || X == W - 1 || Y == H - 1;
            B.SetPixel(X, Y, Frame ? 0xFF000000 : (0xFF000080 | (R << 16) | (G << 8)));
        }
}

void BlendVariants(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Blends: plain | wide | on the target");
    TbsBitmap Gradient, Board;
    AlphaGradient(Gradient, 120, 60);
    Checkerboard(Board, 120, 60);
    for (TbsBlendVariant V : {bvPlain, bvMMX}) {
        TbsBitmap Scratch;
        Scratch.Assign(&Board);
        SelectPixelKernels(V);
        Gradient.Draw(&Scratch, 0, 0);
        Scratch.Draw(C, X + (V == bvPlain ? 0 : 130), Y + 16);
    }
    SelectPixelKernels(bvDetect);
    // Straight onto the target: memory there, composed through the DC here.
    Board.Draw(C, X + 260, Y + 16);
    Gradient.Draw(C, X + 260, Y + 16);
}

void Stretches(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Stretch: bitmap path | DC path");
    TbsBitmap Small;
    Pattern(Small, 8, 8);
    const TRect Up{0, 0, 48, 48}, Down{0, 0, 5, 5};
    int Left = X;
    for (const TRect& R : {Up, Down}) {
        TbsBitmap Scratch;
        Scratch.SetSize(R.Right, R.Bottom);
        Small.Draw(&Scratch, R);
        Scratch.Draw(C, Left, Y + 16);
        TBitmap Plain;
        Plain.SetSize(R.Right, R.Bottom);
        Small.Draw(Plain.Canvas()->Handle(), R);
        C->Draw(Left + 60, Y + 16, &Plain);
        Left += 130;
    }
}

void Tiles(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Tile 16 x 16 over 150 x 70");
    TbsBitmap Tile;
    Pattern(Tile, 16, 16);
    Tile.Tile(C, Bounds(X, Y + 16, 150, 70), TRect{0, 0, 16, 16});
}

void Merge(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "MergeDraw");
    TbsBitmap Top, Below;
    Top.SetSize(80, 50);
    for (int PY = 0; PY < 50; ++PY)
        for (int PX = 0; PX < 80; ++PX) {
            const int DX = PX - 40, DY = PY - 25;
            const int D2 = DX * DX + DY * DY;
            const TbsColor A = D2 < 144 ? 0 : (D2 < 400 ? 128 : 255);
            Top.SetPixel(PX, PY, (A << 24) | 0x00208040);
        }
    Pattern(Below, 80, 50);
    Top.MergeDraw(&Below, 0, 0, TRect{0, 0, 80, 50});
    Top.SetAlphaBlend(false);
    Top.Draw(C, X, Y + 16);
}

void Reflections(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Reflection 1, 2, 3");
    TbsBitmap Board;
    Checkerboard(Board, 150, 80);
    TbsBitmap Scratch;
    Scratch.Assign(&Board);
    int Left = 0;
    for (void (TbsBitmap::*Reflect)() :
         {&TbsBitmap::Reflection, &TbsBitmap::Reflection2, &TbsBitmap::Reflection3}) {
        TbsBitmap Image;
        Pattern(Image, 40, 30);
        Image.Draw(&Scratch, Left, 0);
        (Image.*Reflect)();
        Image.SetAlphaBlend(true);
        Image.Draw(&Scratch, Left, 30);
        Left += 50;
    }
    Scratch.Draw(C, X, Y + 16);
}

void Keyed(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Keyed");
    TbsBitmap Board, Key;
    Checkerboard(Board, 60, 50);
    Board.Draw(C, X, Y + 16);
    Pattern(Key, 60, 50);
    for (int PY = 10; PY < 40; ++PY)
        for (int PX = 15; PX < 45; ++PX)
            Key.SetPixel(PX, PY, 0xFFFF00FF);
    Key.CheckingTransparent(0x00FF00FF);
    Key.Draw(C, X, Y + 16);
}

void Glyphs(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Glyphs (x3)");
    TBitmap Cells;
    Cells.SetSize(12 * 14, 12);
    Cells.Canvas()->Brush()->SetColor(clWhite);
    Cells.Canvas()->FillRect({0, 0, Cells.Width(), 12});
    TCanvas* G = Cells.Canvas();
    for (int Code = 1; Code <= 4; ++Code)
        DrawArrowImage(G, Bounds((Code - 1) * 12, 1, 10, 10), clBlack, Code);
    DrawDropDownArrow(G, Bounds(48, 1, 10, 10), clBlack);
    DrawCheckImage(G, 61, 1, clBlack);
    DrawRadioImage(G, 74, 3, clBlack);
    using TDraw = void (*)(TCanvas*, int, int, TColor);
    const TDraw Caps[] = {DrawCloseImage,   DrawSysMenuImage,  DrawMinimizeImage, DrawMaximizeImage,
                          DrawRestoreImage, DrawRollDownImage, DrawRollUpImage,   DrawTrayImage};
    int Left = 84;
    for (TDraw D : Caps) {
        G->Brush()->SetStyle(bsSolid);
        D(G, Left, 1, clMaroon);
        Left += 12;
    }
    C->StretchDraw(Bounds(X, Y + 16, Cells.Width() * 3, 36), &Cells);
}

void FocusRects(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Focus rectangles");
    C->Font()->SetColor(clBlack);
    DrawFocusRectangle(C, Bounds(X, Y + 16, 60, 30));
    DrawFocusRectangle(C, Bounds(X + 70, Y + 16, 31, 31));
    DrawFocusRectangle(C, Bounds(X + 110, Y + 16, 5, 3));
}

void Ellipsis(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Ellipsis");
    C->Font()->SetName("Tahoma");
    C->Font()->SetHeight(-13);
    C->Font()->SetColor(clBlack);
    int Top = Y + 16;
    for (int Width : {260, 160, 90, 40, 5}) {
        std::string S = "视频转换软件 Video converter";
        CorrectWideTextByWidth(C, S, Width);
        C->Pen()->SetColor(clSilver);
        C->MoveTo(X + Width, Top);
        C->LineTo(X + Width, Top + 16);
        C->Brush()->SetStyle(bsClear);
        TRect R = Bounds(X, Top, 300, 16);
        DrawWideText(C, S, R, DT_SINGLELINE);
        Top += 18;
    }
}

void ButtonFaces(TCanvas* C, int X, int Y, TCustomImageList* Images) {
    Caption(C, X, Y, "Button faces");
    const TbsButtonLayout Layouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};
    int Left = X;
    for (TbsButtonLayout L : Layouts) {
        const TRect R = Bounds(Left, Y + 16, 96, 56);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
        C->Font()->SetName("Tahoma");
        C->Font()->SetHeight(-12);
        C->Font()->SetColor(clBtnText);
        DrawImageAndText(C, R, -1, clRed, L == blGlyphBottom, true, false, Images, 0, "转换", L, 4);
        Left += 104;
    }
}

void Link(TCanvas* C, int X, int Y) {
    Caption(C, X, Y, "Bitmap link (20,10,60,40)");
    TbsBitmap Skin;
    Pattern(Skin, 80, 50);
    auto L = Skin.GetBitmapLink("(20,10,60,40)");
    L->Draw(C, X, Y + 16);
}

void DrawDemo(TCanvas* C, TCustomImageList* Images) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWhite);
    C->FillRect({0, 0, DemoWidth, DemoHeight});
    BlendVariants(C, 10, 10);
    Stretches(C, 410, 10);
    Tiles(C, 10, 100);
    Merge(C, 180, 100);
    Keyed(C, 280, 100);
    Reflections(C, 360, 100);
    Link(C, 530, 100);
    Glyphs(C, 10, 210);
    FocusRects(C, 560, 210);
    Ellipsis(C, 10, 280);
    ButtonFaces(C, 330, 280, Images);
}

void MakeImages(TCustomImageList& Images) {
    Images.SetWidth(16);
    Images.SetHeight(16);
    TBitmap Icon;
    Icon.SetSize(16, 16);
    Icon.Canvas()->Brush()->SetColor(clFuchsia);
    Icon.Canvas()->FillRect({0, 0, 16, 16});
    Icon.Canvas()->Brush()->SetColor(clGreen);
    Icon.Canvas()->Pen()->SetColor(clBlack);
    Icon.Canvas()->Ellipse(1, 1, 15, 15);
    Images.AddMasked(&Icon, clFuchsia);
}

// The whole demonstration; its see-through child shows what lies behind it.
class TDemoPanel : public TCustomControl {
public:
    explicit TDemoPanel(TComponent* AOwner) : TCustomControl(AOwner), FImages(nullptr) {
        MakeImages(FImages);
    }

protected:
    void Paint() override { DrawDemo(Canvas(), &FImages); }

private:
    TCustomImageList FImages;
};

// Paints like a skinned control: the whole area in an off-screen bitmap
// first, starting from what lies behind it, then copied at (0, 0).
class TDemoGlass : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        TBitmap Buffer;
        Buffer.SetSize(Width(), Height());
        TCanvas* B = Buffer.Canvas();
        DrawParentBackground(this, B);
        TbsBitmap Tint;
        Tint.SetSize(Width(), Height());
        Tint.Clear(0x60000080);
        Tint.SetAlphaBlend(true);
        Tint.Draw(B, 0, 0);
        B->Font()->SetName("Arial");
        B->Font()->SetHeight(-12);
        B->Font()->SetColor(clWhite);
        B->Brush()->SetStyle(bsClear);
        B->TextOut(6, 6, "DrawParentBackground");
        Canvas()->Draw(0, 0, &Buffer);
    }
};

void BuildControls(TWinControl* Panel) {
    auto* Glass = new TDemoGlass(Panel);
    Glass->SetBoundsRect(GlassBounds);
    Glass->SetParent(Panel);
}

int WritePicture(const char* Path) {
    InitApplication();
    int Status = 0;
    {
        TDemoPanel Panel(nullptr);
        Panel.SetBounds(0, 0, DemoWidth, DemoHeight);
        BuildControls(&Panel);
        TbsBitmap Picture;
        Picture.SetSize(DemoWidth, DemoHeight);
        Panel.PaintTo(Picture.DC(), 0, 0);
        Picture.SetAlpha(255);
        TBitmap Bmp;
        Picture.AssignTo(&Bmp);
        TPngImage Png;
        Png.Assign(&Bmp);
        try {
            Png.SaveToFile(Path);
            std::printf("%s\n", Path);
        } catch (const std::exception& E) {
            std::fprintf(stderr, "skin-bitmap-demo: %s\n", E.what());
            Status = 1;
        }
    }
    DoneApplication();
    return Status;
}

int ShowWindow(TDemoDesktop& Demo) {
    Demo.Start();
    int Status = 0;
    try {
        Application->Initialize();
        Application->SetTitle("skin-bitmap-demo");
        auto* Form = new TForm(nullptr);
        Form->SetCaption("skin-bitmap-demo");
        Form->SetBounds(40, 40, DemoWidth + 40, DemoHeight + 60);
        Form->SetClientWidth(DemoWidth);
        Form->SetClientHeight(DemoHeight);
        auto* Panel = new TDemoPanel(Form);
        Panel->SetBounds(0, 0, DemoWidth, DemoHeight);
        Panel->SetParent(Form);
        BuildControls(Panel);
        Application->SetMainForm(Form);
        Form->Show();
        Application->Run();
    } catch (const std::exception& E) {
        std::fprintf(stderr, "skin-bitmap-demo: %s\n", E.what());
        Status = 1;
    }
    Demo.Close();
    return Status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-bitmap-demo out.png | --window\n");
        return 2;
    }
    TDemoDesktop Demo("skin-bitmap-demo");
    if (std::strcmp(argv[1], "--window") == 0)
        return Demo.OpenDisplay(argv[0]) ? ShowWindow(Demo) : 1;
    Demo.OpenOffscreen(argv[0]);
    return WritePicture(argv[1]);
}
