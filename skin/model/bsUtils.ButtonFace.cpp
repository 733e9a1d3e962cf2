#include "skin/model/bsUtils.ButtonFace.h"

#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

namespace {

TSize MeasureCaption(TCanvas* Canvas, const std::string& Caption, const TRect& R, int GlyphWidth,
                     int GlyphHeight, TbsButtonLayout Layout) {
    if (Caption.empty())
        return {};
    TRect T{0, 0, RectWidth(R), RectHeight(R)};
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
        T.Right -= GlyphWidth;
    else
        T.Bottom -= GlyphHeight;
    DrawWideText(Canvas, Caption, T, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    return {RectWidth(T), RectHeight(T)};
}

void BarLines(TCanvas* Canvas, TColor Color, int X1, int X2, int FirstRow) {
    Canvas->Pen()->SetColor(Color);
    for (int Row = FirstRow; Row < FirstRow + 3; ++Row) {
        Canvas->MoveTo(X1, Row);
        Canvas->LineTo(X2, Row);
    }
}

void FillBar(TCanvas* Canvas, TColor Color, const TRect& R) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

// What the image-list painters share; Centred says whether the caption is
// centred in its rectangle.
void DrawImageFace(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor, bool DrawColorBar,
                   bool Enabled, bool Down, TCustomImageList* Images, int ImageIndex,
                   const std::string& Caption, TbsButtonLayout Layout, int Spacing, bool Centred) {
    const bool HasGlyph = Images && ImageIndex >= 0 && ImageIndex < Images->Count();
    const int GW = HasGlyph ? Images->Width() : 0;
    const int GH = HasGlyph ? Images->Height() : 0;
    const TSize TS = MeasureCaption(Canvas, Caption, R, GW, GH, Layout);
    Canvas->Brush()->SetStyle(bsClear);
    TbsGlyphLayout L = CalcGlyphLayout(Layout, R, GW, GH, TS.cx, TS.cy, Spacing, Margin);
    if (Down) {
        ++L.GlyphX;
        ++L.GlyphY;
        ++L.TextX;
        ++L.TextY;
    }
    const TRect TextR{L.TextX, L.TextY, L.TextX + TS.cx + 2, L.TextY + TS.cy};
    if (!Caption.empty()) {
        TRect T = TextR;
        DrawWideText(Canvas, Caption, T,
                     DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | (Centred ? DT_CENTER : 0));
    }
    if (HasGlyph) {
        Images->Draw(Canvas, L.GlyphX, L.GlyphY, ImageIndex, Enabled);
        if (DrawColorBar)
            BarLines(Canvas, BarColor, L.GlyphX, L.GlyphX + GW, L.GlyphY + GH - 2);
    } else if (DrawColorBar) {
        if (!Caption.empty())
            BarLines(Canvas, BarColor, TextR.Left, TextR.Right, TextR.Bottom - 1);
        else
            FillBar(Canvas, BarColor, {R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4});
    }
}

} // namespace

TbsGlyphLayout CalcGlyphLayout(TbsButtonLayout Layout, const TRect& R, int GlyphWidth,
                               int GlyphHeight, int TextWidth, int TextHeight, int Spacing,
                               int Margin) {
    if (GlyphWidth == 0)
        Spacing = 0;
    const int CX = R.Left + RectWidth(R) / 2;
    const int CY = R.Top + RectHeight(R) / 2;
    TbsGlyphLayout L;
    if (Margin == -1) {
        const int W = (TextWidth + GlyphWidth + Spacing) / 2;
        const int H = (TextHeight + GlyphHeight + Spacing) / 2;
        switch (Layout) {
        case blGlyphLeft:
            L = {CX - W, CY - GlyphHeight / 2, CX + W - TextWidth, CY - TextHeight / 2};
            break;
        case blGlyphRight:
            L = {CX + W - GlyphWidth, CY - GlyphHeight / 2, CX - W, CY - TextHeight / 2};
            break;
        case blGlyphTop:
            L = {CX - GlyphWidth / 2, CY - H, CX - TextWidth / 2, CY + H - TextHeight};
            break;
        case blGlyphBottom:
            L = {CX - GlyphWidth / 2, CY + H - GlyphHeight, CX - TextWidth / 2, CY - H};
            break;
        }
        return L;
    }
    switch (Layout) {
    case blGlyphLeft:
        L.GlyphX = R.Left + Margin;
        L.GlyphY = CY - GlyphHeight / 2;
        L.TextX = L.GlyphX + GlyphWidth + Spacing;
        L.TextY = CY - TextHeight / 2;
        break;
    case blGlyphRight:
        L.GlyphX = R.Right - GlyphWidth - Margin;
        L.GlyphY = CY - GlyphHeight / 2;
        L.TextX = L.GlyphX - Spacing - TextWidth;
        L.TextY = CY - TextHeight / 2;
        break;
    case blGlyphTop:
        L.GlyphY = R.Top + Margin;
        L.GlyphX = CX - GlyphWidth / 2;
        L.TextY = L.GlyphY + GlyphHeight + Spacing;
        L.TextX = CX - TextWidth / 2;
        break;
    case blGlyphBottom:
        L.GlyphY = R.Bottom - GlyphHeight - Margin;
        L.GlyphX = CX - GlyphWidth / 2;
        L.TextY = L.GlyphY - Spacing - TextHeight;
        L.TextX = CX - TextWidth / 2;
        break;
    }
    return L;
}

void DrawImageAndText(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor,
                      bool DrawColorBar, bool Enabled, bool Down, TCustomImageList* Images,
                      int ImageIndex, const std::string& Caption, TbsButtonLayout Layout,
                      int Spacing) {
    DrawImageFace(Canvas, R, Margin, BarColor, DrawColorBar, Enabled, Down, Images, ImageIndex,
                  Caption, Layout, Spacing, true);
}

void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor,
                          bool DrawColorBar, bool Enabled, bool Down, TCustomImageList* Images,
                          int ImageIndex, const std::string& Caption, TbsButtonLayout Layout,
                          int Spacing) {
    DrawImageFace(Canvas, R, Margin, BarColor, DrawColorBar, Enabled, Down, Images, ImageIndex,
                  Caption, Layout, Spacing, false);
}

void DrawGlyphAndText(TCanvas* Canvas, const TRect& R, int Margin, TColor BarColor,
                      bool DrawColorBar, bool Down, int GlyphNum, TbsNumGlyphs NumGlyphs,
                      TBitmap* Glyph, const std::string& Caption, TbsButtonLayout Layout,
                      int Spacing) {
    // A strip of no cells has no glyph to show (its cell width would divide by zero).
    const bool HasGlyph = Glyph && !Glyph->Empty() && NumGlyphs >= 1;
    const int GW = HasGlyph ? Glyph->Width() / NumGlyphs : 0;
    const int GH = HasGlyph ? Glyph->Height() : 0;
    const TSize TS = MeasureCaption(Canvas, Caption, R, GW, GH, Layout);
    if (!Caption.empty())
        Canvas->Brush()->SetStyle(bsClear);
    TbsGlyphLayout L = CalcGlyphLayout(Layout, R, GW, GH, TS.cx, TS.cy, Spacing, Margin);
    if (Down) {
        ++L.GlyphX;
        ++L.GlyphY;
        ++L.TextX;
        ++L.TextY;
    }
    const TRect TextR{L.TextX, L.TextY, L.TextX + TS.cx + 2, L.TextY + TS.cy};
    if (!Caption.empty()) {
        TRect T = TextR;
        DrawWideText(Canvas, Caption, T, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    }
    if (HasGlyph) {
        DrawGlyphFromStrip(Canvas, L.GlyphX, L.GlyphY, Glyph, NumGlyphs, GlyphNum);
        if (DrawColorBar)
            BarLines(Canvas, BarColor, L.GlyphX, L.GlyphX + Glyph->Width(), L.GlyphY + GH - 2);
    } else if (DrawColorBar) {
        if (!Caption.empty())
            BarLines(Canvas, BarColor, TextR.Left, TextR.Right, TextR.Bottom - 1);
        else if (Down)
            FillBar(Canvas, BarColor, {R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3});
        else
            FillBar(Canvas, BarColor, {R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4});
    }
}

void DrawGlyphFromStrip(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, TbsNumGlyphs NumGlyphs,
                        int GlyphNum) {
    if (!Glyph || Glyph->Empty() || NumGlyphs < 1)
        return;
    const int W = Glyph->Width() / NumGlyphs;
    if (W <= 0)
        return;
    const int H = Glyph->Height();
    TBitmap Cell;
    Cell.SetSize(W, H);
    Cell.Canvas()->CopyRect({0, 0, W, H}, Glyph->Canvas(),
                            {W * (GlyphNum - 1), 0, W * GlyphNum, H});
    Cell.SetTransparent(true);
    Canvas->Draw(X, Y, &Cell);
}
