// The skin looks of TbsSkinPanel: the skin image with its caption and the
// group-box caption frame, the two transparent looks over the parent's
// background, the covering of the control with the element's client part,
// and the background picture.
#include "skin/controls/bsSkinCtrls.Panel.h"
#include "skin/model/bsUtils.ButtonFace.h"
#include "skin/model/bsUtils.Glyphs.h"
#include "skin/model/bsUtils.NinePart.h"
#include "skin/model/bsUtils.ParentBackground.h"
#include "skin/model/bsUtils.Rects.h"
#include "skin/model/bsUtils.Text.h"

#include <algorithm>

namespace {

// Part S of Picture as a bitmap of its own; empty when S is.
void CutPart(TBitmap& Into, TBitmap* Picture, const TRect& S) {
    Into.SetSize(std::max(RectWidth(S), 0), std::max(RectHeight(S), 0));
    if (!Into.Empty())
        CopyPart(&Into, {0, 0, Into.Width(), Into.Height()}, Picture, S);
}

// Tile P over (0, 0, Width, Height) of C, the last column and row cut. A
// tile without area cannot cover anything: nothing is drawn.
void TileOver(TCanvas* C, TBitmap& P, int Width, int Height) {
    const int cw = P.Width(), ch = P.Height();
    if (cw <= 0 || ch <= 0)
        return;
    for (int Y = 0; Y < Height; Y += ch)
        for (int X = 0; X < Width; X += cw) {
            const int W = std::min(cw, Width - X), H = std::min(ch, Height - Y);
            C->CopyRect({X, Y, X + W, Y + H}, P.Canvas(), {0, 0, W, H});
        }
}

// P stretched over the control (bsstFull), or into strips repeated across
// (bsstHorz) or down (bsstVert).
void StretchOver(TCanvas* C, TBitmap& P, TbsStretchType Type, const TRect& Full, int Width,
                 int Height) {
    const int cw = P.Width(), ch = P.Height();
    if (cw <= 0 || ch <= 0)
        return;
    if (Type == bsstFull) {
        C->StretchDraw(Full, &P);
    } else if (Type == bsstHorz) {
        TBitmap Strip;
        Strip.SetSize(cw, Height);
        Strip.Canvas()->StretchDraw({0, 0, cw, Height}, &P);
        for (int I = 0; I <= Width / cw; ++I)
            C->Draw(I * cw, 0, &Strip);
    } else {
        TBitmap Strip;
        Strip.SetSize(Width, ch);
        Strip.Canvas()->StretchDraw({0, 0, Width, ch}, &P);
        for (int J = 0; J <= Height / ch; ++J)
            C->Draw(0, J * ch, &Strip);
    }
}

} // namespace

void TbsSkinPanel::TileClientPart(TCanvas* C, int Width, int Height) {
    TBitmap P;
    CutPart(P, Picture,
            {SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
             SkinRect.Top + ClRect.Bottom});
    TileOver(C, P, Width, Height);
}

void TbsSkinPanel::SetSkinFont(TCanvas* C) {
    TFont* F = C->Font();
    if (FUseSkinFont) {
        F->SetName(FontName);
        F->SetHeight(FontHeight);
        F->SetStyle(FontStyle);
    } else {
        F->Assign(FDefaultFont.get());
    }
    if (FSD && FSD->ResourceStrData())
        F->SetCharset(FSD->ResourceStrData()->CharSet());
    else
        F->SetCharset(FDefaultFont->Charset());
}

// ---------------------------------------------------------------- the skin image

void TbsSkinPanel::CreateControlSkinImage(TBitmap* B) {
    if (!Picture)
        return;
    if (FBorderStyle == TbsSkinBorderStyle::bvNone && ResizeMode == 1 && !FCaptionMode &&
        !StretchEffect) {
        TileClientPart(B->Canvas(), B->Width(), B->Height());
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (ResizeMode < 1)
        NewCaptionRect = CaptionRect;
    else if (!FTransparentMode)
        MapSkinRect(CaptionRect, NewCaptionRect);
    if (!Caption().empty() && !IsNullRect(CaptionRect))
        DrawSkinCaption(B->Canvas());
}

void TbsSkinPanel::DrawSkinCaption(TCanvas* C) {
    TRect T = NewCaptionRect;
    if (FRollUpMode)
        T.Right -= 12;

    if (FCheckedMode) {
        TBitmap Check;
        CutPart(Check, Picture, FChecked ? CheckImageRect : UnCheckImageRect);
        if (!Check.Empty()) {
            Check.SetTransparent(true);
            C->Draw(T.Left, RectHeight(T) / 2 + T.Top - RectHeight(CheckImageRect) / 2, &Check);
        }
        T.Left += RectWidth(CheckImageRect) + 2;
    }

    SetSkinFont(C);
    C->Font()->SetColor(FontColor);
    const std::string Text = Caption();
    const int CW = ContentWidth(C);
    const int TextW = C->TextWidth(Text);
    const int TY = RectHeight(T) / 2 + T.Top - C->TextHeight(Text) / 2;
    int TX = T.Left;
    if (Alignment == taRightJustify)
        TX = T.Right - CW;
    else if (Alignment == taCenter)
        TX = RectWidth(T) / 2 + T.Left - CW / 2;
    C->Brush()->SetStyle(bsClear);

    // The caption's picture: an image of the list or a cell of the glyph.
    const bool ListPicture = HasCaptionImage();
    const bool GlyphPicture = !ListPicture && !FGlyph->Empty() && FNumGlyphs > 0;
    int IX = 0, IY = 0;
    if (ListPicture || GlyphPicture) {
        const int PW = ListPicture ? FCaptionImageList->Width() : FGlyph->Width() / FNumGlyphs;
        const int PH = ListPicture ? FCaptionImageList->Height() : FGlyph->Height();
        IY = RectHeight(T) / 2 + T.Top - PH / 2;
        if (FImagePosition == bsipLeft) {
            IX = T.Left + 2;
            TX = IX + PW + FSpacing;
            if (Alignment == taRightJustify)
                TX = T.Right - TextW;
            else if (Alignment == taCenter)
                TX = RectWidth(T) / 2 + T.Left - TextW / 2;
            TX = std::max(TX, IX + PW + FSpacing);
        } else {
            IX = TX;
            TX += PW + FSpacing;
        }
    }

    if (FRollUpMode) {
        const TRect M{T.Right, T.Top, T.Right + 10, T.Bottom};
        if (!IsNullRect(MarkFrameRect)) {
            TBitmap Mark;
            CutPart(Mark, Picture, MarkFrameRect);
            C->CopyRect({M.Left, M.Top, M.Left + RectWidth(MarkFrameRect),
                         CaptionRect.Top + RectHeight(MarkFrameRect)},
                        Mark.Canvas(), {0, 0, Mark.Width(), Mark.Height()});
        }
        DrawArrowImage(C, M, FontColor, FRollUpState ? 4 : 3);
    }

    if (!IsNullRect(FrameRect)) {
        const int E = RectWidth(FrameRect) - RectWidth(FrameTextRect);
        TBitmap Frame;
        Frame.SetSize(E + TextW, RectHeight(FrameRect));
        MakeHorzThreePartBitmap(FrameLeftOffset, FrameRightOffset, &Frame, Picture, FrameRect,
                                Frame.Width(), Frame.Height(), false);
        int FX = TX;
        if (Alignment == taLeftJustify) {
            FX = TX;
            TX = FrameTextRect.Left + TX;
        } else if (Alignment == taRightJustify) {
            FX = TX - E;
            TX = FrameTextRect.Left + TX - E;
            IX -= E;
        } else {
            FX = TX - FrameTextRect.Left - 2;
            IX -= FrameTextRect.Left;
            TX -= 2;
        }
        C->Draw(FX, CaptionRect.Top, &Frame);
    }

    C->Brush()->SetStyle(bsClear);
    C->TextRect(T, TX, TY, Text);
    if (ListPicture)
        FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
    else if (GlyphPicture)
        DrawGlyphFromStrip(C, IX, IY, FGlyph.get(), FNumGlyphs, GlyphCell());
}

// ---------------------------------------------------------------- transparent looks

void TbsSkinPanel::PaintTransparentFrame() {
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    DrawParentBackground(this, B.Canvas());
    if (FBorderStyle != TbsSkinBorderStyle::bvNone) {
        B.Canvas()->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
        B.Canvas()->Pen()->SetWidth(1);
        B.Canvas()->Brush()->SetStyle(bsClear);
        B.Canvas()->Rectangle(0, 0, FWidth, FHeight);
    }
    PaintClientArea(B.Canvas());
    Canvas()->Draw(0, 0, &B);
}

void TbsSkinPanel::PaintTransparentGroup() {
    TBitmap B;
    B.SetSize(FWidth, FHeight);
    TCanvas* C = B.Canvas();
    DrawParentBackground(this, C);
    const TColor Shadow = FSD->SkinColors()->cBtnShadow();
    C->Pen()->SetColor(Shadow);
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(bsClear);
    SetSkinFont(C);
    const std::string Text = Caption();
    const int TH = C->TextHeight(Text);
    TRect K{5, 0, FWidth, TH + 5};
    NewCaptionRect = K;
    int X = 5;

    if (FCheckedMode) {
        TBitmap Check;
        CutPart(Check, Picture, FChecked ? CheckImageRect : UnCheckImageRect);
        if (!Check.Empty()) {
            Check.SetTransparent(true);
            C->Draw(5, RectHeight(K) / 2 - RectHeight(CheckImageRect) / 2, &Check);
        }
        X = RectWidth(CheckImageRect) + 10;
    }

    const bool ListPicture = HasCaptionImage();
    const bool GlyphPicture = !ListPicture && !FGlyph->Empty() && FNumGlyphs > 0;
    int IX = 0, IY = 0;
    if (ListPicture) {
        IX = X;
        IY = RectHeight(K) / 2 - FCaptionImageList->Height() / 2;
        X += FCaptionImageList->Width() + 2;
    } else if (GlyphPicture) {
        IX = X;
        IY = RectHeight(K) / 2 - FGlyph->Height() / 2;
        X += FGlyph->Width() / FNumGlyphs + 2;
    }

    K = {X, 0, FWidth, TH + 5};
    TColor TextColour = FSD->SkinColors()->cBtnText();
    const int LabelIndex = FSD->GetControlIndex("stdlabel");
    if (LabelIndex != -1)
        if (auto* L = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[LabelIndex].get()))
            TextColour = L->FontColor;
    C->Font()->SetColor(TextColour);
    DrawTextVCenter(C, Text, K);
    const int TW = C->TextWidth(Text);
    if (ListPicture)
        FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
    else if (GlyphPicture)
        DrawGlyphFromStrip(C, IX, IY, FGlyph.get(), FNumGlyphs, GlyphCell());

    const int MY = RectHeight(K) / 2;
    C->Pen()->SetColor(Shadow);
    if (FRollUpMode) {
        DrawArrowImage(C, {X + TW + 3, 0, X + TW + 10, K.Bottom}, TextColour, FRollUpState ? 4 : 3);
        C->Pen()->SetColor(Shadow);
        C->MoveTo(X + TW + 12, MY);
    } else {
        C->MoveTo(X + TW + 3, MY);
    }
    C->LineTo(FWidth, MY);
    C->MoveTo(0, MY);
    C->LineTo(4, MY);
    C->Polyline({{FWidth - 1, MY}, {FWidth - 1, FHeight - 1}, {0, FHeight - 1}, {0, MY}});
    PaintClientArea(C);
    Canvas()->Draw(0, 0, &B);
}

// ---------------------------------------------------------------- covering and background

void TbsSkinPanel::PaintClientCovering() {
    if (!Picture)
        return;
    TBitmap P;
    CutPart(P, Picture,
            {SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
             SkinRect.Top + ClRect.Bottom});
    if (!StretchEffect)
        TileOver(Canvas(), P, FWidth, FHeight);
    else
        StretchOver(Canvas(), P, StretchType, {0, 0, FWidth, FHeight}, FWidth, FHeight);
}

void TbsSkinPanel::PaintBackgroundPicture() {
    TBitmap* Q = FSD->ActivePicture(BGPictureIndex);
    if (!Q || Q->Empty())
        return;
    if (!StretchEffect)
        TileOver(Canvas(), *Q, FWidth, FHeight);
    else
        StretchOver(Canvas(), *Q, StretchType, NewClRect, FWidth, FHeight);
}
