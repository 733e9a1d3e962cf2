#include "app/Pictures.h"

#include "platform/gdi/ImageList.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr TColor Rgb(int R, int G, int B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}

constexpr TColor Ink = Rgb(40, 48, 60);
constexpr TColor Accent = Rgb(32, 120, 210);

std::unique_ptr<TBitmap> NewPicture(int Width, int Height, TColor Background) {
    auto Picture = std::make_unique<TBitmap>();
    Picture->SetPixelFormat(pf24bit);
    Picture->SetSize(Width, Height);
    TCanvas* Canvas = Picture->Canvas();
    Canvas->Brush()->SetColor(Background);
    Canvas->FillRect({0, 0, Width, Height});
    return Picture;
}

void Solid(TCanvas& Canvas, TColor Color) {
    Canvas.Pen()->SetColor(Color);
    Canvas.Pen()->SetWidth(1);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Color);
}

// A point of a 32-unit design grid mapped into R.
TPoint At(const TRect& R, int X, int Y) {
    return {R.Left + X * (R.Right - R.Left) / 32, R.Top + Y * (R.Bottom - R.Top) / 32};
}

TRect Box(const TRect& R, int X1, int Y1, int X2, int Y2) {
    TPoint A = At(R, X1, Y1), B = At(R, X2, Y2);
    return {A.X, A.Y, B.X, B.Y};
}

void Poly(TCanvas& Canvas, const TRect& R, std::initializer_list<std::pair<int, int>> Points) {
    std::vector<TPoint> Mapped;
    for (auto [X, Y] : Points)
        Mapped.push_back(At(R, X, Y));
    Canvas.Polygon(Mapped);
}

// The glyphs, in the design grid, in one colour on a light disc.
void DrawGlyph(TCanvas& Canvas, TToolGlyph Glyph, TColor Color) {
    const TRect R{0, 0, GlyphSize, GlyphSize};
    Solid(Canvas, Color);
    switch (Glyph) {
    case TToolGlyph::Add:
        Canvas.FillRect(Box(R, 13, 5, 19, 27));
        Canvas.FillRect(Box(R, 5, 13, 27, 19));
        break;
    case TToolGlyph::Start:
    case TToolGlyph::Resume:
        Poly(Canvas, R, {{9, 5}, {27, 16}, {9, 27}});
        if (Glyph == TToolGlyph::Resume)
            Canvas.FillRect(Box(R, 4, 5, 7, 27));
        break;
    case TToolGlyph::Pause:
        Canvas.FillRect(Box(R, 8, 6, 14, 26));
        Canvas.FillRect(Box(R, 18, 6, 24, 26));
        break;
    case TToolGlyph::Stop:
        Canvas.FillRect(Box(R, 7, 7, 25, 25));
        break;
    case TToolGlyph::Clear:
        // A list whose lines are swept away.
        for (int Y : {7, 13, 19})
            Canvas.FillRect(Box(R, 5, Y, 20, Y + 3));
        Poly(Canvas, R, {{18, 22}, {28, 12}, {30, 14}, {20, 24}});
        Poly(Canvas, R, {{15, 23}, {19, 21}, {21, 25}, {17, 28}});
        break;
    case TToolGlyph::Delete:
        Poly(Canvas, R,
             {{7, 10},
              {10, 7},
              {16, 13},
              {22, 7},
              {25, 10},
              {19, 16},
              {25, 22},
              {22, 25},
              {16, 19},
              {10, 25},
              {7, 22},
              {13, 16}});
        break;
    case TToolGlyph::Rename:
        // A pencil over a line of text.
        Poly(Canvas, R, {{8, 20}, {22, 6}, {26, 10}, {12, 24}, {7, 25}});
        Canvas.FillRect(Box(R, 5, 27, 27, 29));
        break;
    case TToolGlyph::Options:
        // Three sliders, each with its knob at another place.
        for (auto [Y, X] : {std::pair{8, 20}, std::pair{16, 10}, std::pair{24, 16}}) {
            Canvas.FillRect(Box(R, 4, Y - 1, 28, Y + 1));
            Canvas.FillRect(Box(R, X - 3, Y - 4, X + 3, Y + 4));
        }
        break;
    case TToolGlyph::Skin:
        // A painter's palette with its thumb hole left open.
        Canvas.Ellipse(Box(R, 3, 5, 29, 27));
        Canvas.Brush()->SetColor(PictureTransparentColor);
        Canvas.Pen()->SetColor(PictureTransparentColor);
        Canvas.Ellipse(Box(R, 17, 16, 23, 22));
        Canvas.Brush()->SetColor(clWhite);
        Canvas.Pen()->SetColor(clWhite);
        for (auto [X, Y] : {std::pair{8, 12}, std::pair{14, 9}, std::pair{21, 10}})
            Canvas.Ellipse(Box(R, X, Y, X + 4, Y + 4));
        break;
    }
}

// The one rule for disabled glyphs: the grey of the enabled colour's
// lightness, pulled halfway toward a light face.
TColor Disabled(TColor Color) {
    const int R = Color & 0xFF, G = (Color >> 8) & 0xFF, B = (Color >> 16) & 0xFF;
    const int Grey = (30 * R + 59 * G + 11 * B) / 100;
    const int Faded = Grey + (200 - Grey) / 2;
    return Rgb(Faded, Faded, Faded);
}

struct TCategoryLook {
    int ImageIndex;
    const char* Label;
    TColor Color;
    enum { Film, Note, Phone, Tablet, Screen, Disc, Player } Shape;
};

// Every category image index the catalogue names, and the legacy form's.
constexpr TCategoryLook CategoryLooks[] = {
    {0, "AVI", Rgb(52, 120, 200), TCategoryLook::Film},
    {1, "MP3", Rgb(220, 120, 30), TCategoryLook::Note},
    {2, "HD", Rgb(40, 150, 90), TCategoryLook::Film},
    {3, "iPod", Rgb(120, 120, 130), TCategoryLook::Player},
    {4, "iPh", Rgb(60, 60, 70), TCategoryLook::Phone},
    {5, "PSP", Rgb(30, 30, 40), TCategoryLook::Player},
    {6, "3GP", Rgb(150, 80, 170), TCategoryLook::Phone},
    {7, "TV", Rgb(90, 90, 100), TCategoryLook::Screen},
    {8, "XB", Rgb(60, 150, 40), TCategoryLook::Screen},
    {9, "PMP", Rgb(200, 70, 60), TCategoryLook::Player},
    {10, "MP4", Rgb(30, 140, 160), TCategoryLook::Film},
    {11, "FLV", Rgb(210, 50, 50), TCategoryLook::Film},
    {13, "AVI", Rgb(52, 100, 180), TCategoryLook::Film},
    {14, "MKV", Rgb(80, 110, 60), TCategoryLook::Film},
    {15, "iPad", Rgb(70, 70, 80), TCategoryLook::Tablet},
    {18, "MPG", Rgb(160, 90, 40), TCategoryLook::Film},
    {19, "SWF", Rgb(190, 40, 40), TCategoryLook::Film},
    {28, "MOD", Rgb(100, 80, 150), TCategoryLook::Film},
    {30, "WMV", Rgb(40, 90, 170), TCategoryLook::Film},
    {37, "VOB", Rgb(120, 60, 140), TCategoryLook::Disc},
    {38, "MTS", Rgb(30, 110, 130), TCategoryLook::Film},
    {39, "RM", Rgb(170, 40, 90), TCategoryLook::Film},
    {43, "TV", Rgb(50, 60, 90), TCategoryLook::Screen},
};

const TCategoryLook* LookOf(int ImageIndex) {
    for (const TCategoryLook& Look : CategoryLooks)
        if (Look.ImageIndex == ImageIndex)
            return &Look;
    return nullptr;
}

// A device: a rounded body in its colour around a light face.
void DrawDevice(TCanvas& Canvas, const TRect& Body, int Radius, const TRect& Face) {
    Canvas.RoundRect(Body.Left, Body.Top, Body.Right, Body.Bottom, Radius, Radius);
    Solid(Canvas, clWhite);
    Canvas.FillRect(Face);
}

void DrawShape(TCanvas& Canvas, const TRect& R, int Shape, TColor Color) {
    Solid(Canvas, Color);
    switch (Shape) {
    case TCategoryLook::Film: {
        Canvas.FillRect(Box(R, 2, 6, 30, 26));
        Solid(Canvas, clWhite);
        for (int X = 4; X < 29; X += 5) {
            Canvas.FillRect(Box(R, X, 7, X + 3, 9));
            Canvas.FillRect(Box(R, X, 23, X + 3, 25));
        }
        break;
    }
    case TCategoryLook::Note:
        Canvas.Ellipse(Box(R, 4, 20, 14, 29));
        Canvas.Ellipse(Box(R, 18, 17, 28, 26));
        Canvas.FillRect(Box(R, 11, 5, 14, 24));
        Canvas.FillRect(Box(R, 25, 3, 28, 21));
        Poly(Canvas, R, {{11, 5}, {28, 2}, {28, 7}, {11, 10}});
        break;
    case TCategoryLook::Phone:
        DrawDevice(Canvas, Box(R, 9, 2, 23, 30), 5, Box(R, 11, 6, 21, 24));
        break;
    case TCategoryLook::Tablet:
        DrawDevice(Canvas, Box(R, 5, 2, 27, 30), 5, Box(R, 8, 5, 24, 26));
        break;
    case TCategoryLook::Screen:
        Canvas.FillRect(Box(R, 2, 4, 30, 24));
        Canvas.FillRect(Box(R, 12, 24, 20, 27));
        Canvas.FillRect(Box(R, 8, 27, 24, 29));
        Solid(Canvas, clWhite);
        Canvas.FillRect(Box(R, 4, 6, 28, 22));
        break;
    case TCategoryLook::Disc:
        Canvas.Ellipse(Box(R, 2, 2, 30, 30));
        Solid(Canvas, clWhite);
        Canvas.Ellipse(Box(R, 13, 13, 19, 19));
        break;
    case TCategoryLook::Player:
        DrawDevice(Canvas, Box(R, 3, 7, 29, 25), 6, Box(R, 6, 10, 22, 22));
        break;
    }
}

void DrawLabel(TCanvas& Canvas, const TRect& R, const std::string& Text, TColor Color) {
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Font()->SetName("Arial");
    Canvas.Font()->SetStyle({fsBold});
    Canvas.Font()->SetColor(Color);
    // The largest size up to a third of the box's height that fits its width.
    for (int Height = std::max(7, (R.Bottom - R.Top) * 2 / 3); Height > 6; --Height) {
        Canvas.Font()->SetHeight(-Height);
        if (Canvas.TextWidth(Text) <= R.Right - R.Left)
            break;
    }
    const int W = Canvas.TextWidth(Text), H = Canvas.TextHeight(Text);
    Canvas.TextOut(R.Left + (R.Right - R.Left - W) / 2, R.Top + (R.Bottom - R.Top - H) / 2, Text);
    Canvas.Brush()->SetStyle(bsSolid);
}

void FillList(TCustomImageList& List, int Count, void (*Draw)(TCanvas&, const TRect&, int)) {
    for (int Index = 0; Index < Count; ++Index) {
        auto Icon = NewPicture(GlyphSize, GlyphSize, PictureTransparentColor);
        Draw(*Icon->Canvas(), {0, 0, GlyphSize, GlyphSize}, Index);
        List.AddMasked(Icon.get(), PictureTransparentColor);
    }
}

} // namespace

std::unique_ptr<TBitmap> MakeToolGlyph(TToolGlyph Glyph, bool Enabled) {
    auto Picture = NewPicture(GlyphSize, GlyphSize, PictureTransparentColor);
    const TColor Colors[] = {Rgb(40, 150, 70), Rgb(40, 150, 70), Rgb(220, 150, 20),
                             Rgb(40, 150, 70), Rgb(200, 50, 50), Rgb(90, 110, 140),
                             Rgb(200, 60, 60), Accent,           Rgb(70, 100, 160),
                             Rgb(190, 120, 40)};
    const TColor Color = Colors[static_cast<int>(Glyph)];
    DrawGlyph(*Picture->Canvas(), Glyph, Enabled ? Color : Disabled(Color));
    return Picture;
}

bool HasCategoryIcon(int ImageIndex) {
    return LookOf(ImageIndex) != nullptr;
}

void DrawCategoryIcon(TCanvas& Canvas, const TRect& Rect, int ImageIndex) {
    const TCategoryLook* Look = LookOf(ImageIndex);
    const TColor Color = Look ? Look->Color : Ink;
    DrawShape(Canvas, Rect, Look ? Look->Shape : TCategoryLook::Film, Color);
    // A note, a phone and a tablet speak for themselves; other shapes carry
    // their format's name, on the film in white, on a device's light face in
    // the device's colour.
    if (!Look || Look->Shape == TCategoryLook::Note || Look->Shape == TCategoryLook::Phone ||
        Look->Shape == TCategoryLook::Tablet)
        return;
    if (Look->Shape == TCategoryLook::Film)
        DrawLabel(Canvas, Box(Rect, 2, 9, 30, 23), Look->Label, clWhite);
    else
        DrawLabel(Canvas, Box(Rect, 6, 10, 26, 20), Look->Label, Color);
}

void DrawProfileIcon(TCanvas& Canvas, const TRect& Rect, int ImageIndex) {
    DrawShape(Canvas, Rect, ImageIndex == 1 ? TCategoryLook::Note : TCategoryLook::Film, Accent);
}

void FillCategoryImageList(TCustomImageList& List) {
    int Highest = 0;
    for (const TCategoryLook& Look : CategoryLooks)
        Highest = std::max(Highest, Look.ImageIndex);
    FillList(List, Highest + 1, DrawCategoryIcon);
}

void FillProfileImageList(TCustomImageList& List) {
    FillList(List, 2, DrawProfileIcon);
}

std::unique_ptr<TBitmap> MakeCoverPicture() {
    constexpr int Width = 558, Height = 260;
    auto Picture = NewPicture(Width, Height, Rgb(250, 251, 253));
    TCanvas& Canvas = *Picture->Canvas();
    // A soft film frame behind the invitation.
    DrawShape(Canvas, {199, 40, 359, 140}, TCategoryLook::Film, Rgb(214, 224, 238));
    Solid(Canvas, Rgb(226, 232, 242));
    Canvas.FillRect({40, 200, Width - 40, 201});
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Font()->SetName("Arial");
    Canvas.Font()->SetStyle({});
    Canvas.Font()->SetHeight(-16);
    Canvas.Font()->SetColor(Rgb(90, 100, 115));
    const std::string Text = "点击“添加”按钮添加视频或音频文件";
    Canvas.TextOut((Width - Canvas.TextWidth(Text)) / 2, 160, Text);
    return Picture;
}

std::unique_ptr<TBitmap> MakeAboutPicture() {
    auto Picture = NewPicture(53, 57, PictureTransparentColor);
    TCanvas& Canvas = *Picture->Canvas();
    DrawShape(Canvas, {2, 6, 51, 50}, TCategoryLook::Film, Accent);
    Solid(Canvas, clWhite);
    Canvas.Polygon({{20, 18}, {36, 28}, {20, 38}});
    return Picture;
}
