#include "skin/model/bsUtils.NinePart.h"

#include <algorithm>

namespace {

bool IsEmpty(const TRect& R) {
    return R.Width() <= 0 || R.Height() <= 0;
}

TRect Offset(const TRect& R, int DX, int DY) {
    return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

struct TNinePart {
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect ClRect;
    TPoint NewLT, NewRT, NewLB, NewRB;
    TRect NewCl;
    TBitmap* Dest;
    TBitmap* Picture;
    TRect Skin;
    int Width, Height;
    bool LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect;
    TbsStretchType StretchType;

    // A picture rectangle given relative to SkinRect.
    TRect Src(int L, int T, int R, int B) const {
        return Offset({L, T, R, B}, Skin.Left, Skin.Top);
    }

    void Edge(bool Stretch, const TRect& S, const TRect& D, bool Horizontal, int Start, int Limit) {
        if (Stretch)
            StretchPart(Dest, D, Picture, S);
        else if (Horizontal)
            TilePartX(Dest, Start, Limit, D.Top, D.Bottom, Picture, S);
        else
            TilePartY(Dest, Start, Limit, D.Left, D.Right, Picture, S);
    }

    void TopEdge(int Right) {
        const TRect S = Src(LTPt.X, 0, RTPt.X, ClRect.Top);
        Edge(TopStretch, S, {NewLT.X, 0, Right, NewCl.Top}, true, NewLT.X, Right);
    }
    void BottomEdge(int Right) {
        const TRect S = Src(LBPt.X, ClRect.Bottom, RBPt.X, Skin.Height());
        Edge(BottomStretch, S, {NewLB.X, NewCl.Bottom, Right, Height}, true, NewLB.X, Right);
    }
    void LeftEdge() {
        const TRect S = Src(0, LTPt.Y, ClRect.Left, LBPt.Y);
        Edge(LeftStretch, S, {0, NewLT.Y, NewCl.Left, NewLB.Y}, false, NewLT.Y, NewLB.Y);
    }
    void RightEdge() {
        const TRect S = Src(ClRect.Right, RTPt.Y, Skin.Width(), RBPt.Y);
        Edge(RightStretch, S, {NewCl.Right, NewRT.Y, Width, NewRB.Y}, false, NewRT.Y, NewRB.Y);
    }

    void Corner(int N) {
        const int SW = Skin.Width(), SH = Skin.Height();
        switch (N) {
        case 1:
            CopyPart(Dest, {0, 0, NewLT.X, NewCl.Top}, Picture, Src(0, 0, LTPt.X, ClRect.Top));
            break;
        case 2:
            CopyPart(Dest, {0, NewCl.Top, NewCl.Left, NewLT.Y}, Picture,
                     Src(0, ClRect.Top, ClRect.Left, LTPt.Y));
            break;
        case 3:
            CopyPart(Dest, {NewRT.X, 0, Width, NewCl.Top}, Picture, Src(RTPt.X, 0, SW, ClRect.Top));
            break;
        case 4:
            CopyPart(Dest, {NewCl.Right, NewCl.Top, Width, NewRT.Y}, Picture,
                     Src(ClRect.Right, ClRect.Top, SW, RTPt.Y));
            break;
        case 5:
            CopyPart(Dest, {0, NewLB.Y, NewCl.Left, Height}, Picture,
                     Src(0, LBPt.Y, ClRect.Left, SH));
            break;
        case 6:
            CopyPart(Dest, {NewCl.Left, NewCl.Bottom, NewLB.X, Height}, Picture,
                     Src(ClRect.Left, ClRect.Bottom, LBPt.X, SH));
            break;
        case 7:
            CopyPart(Dest, {NewRB.X, NewCl.Bottom, Width, Height}, Picture,
                     Src(RBPt.X, ClRect.Bottom, SW, SH));
            break;
        case 8:
            CopyPart(Dest, {NewCl.Right, NewRB.Y, Width, NewCl.Bottom}, Picture,
                     Src(ClRect.Right, RBPt.Y, SW, ClRect.Bottom));
            break;
        }
    }

    // The client part into N: stretched by StretchType, or tiled.
    void Client(const TRect& N) {
        const TRect C = Src(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom);
        const int CW = C.Width(), CH = C.Height();
        if (!StretchEffect) {
            if (CW <= 0 || CH <= 0)
                return;
            for (int I = 0; I <= N.Width() / CW; ++I)
                for (int J = 0; J <= N.Height() / CH; ++J) {
                    const int CutX = std::max(0, CW * (I + 1) - N.Width());
                    const int CutY = std::max(0, CH * (J + 1) - N.Height());
                    const int X = N.Left + I * CW, Y = N.Top + J * CH;
                    CopyPart(Dest, {X, Y, X + CW - CutX, Y + CH - CutY}, Picture,
                             {C.Left, C.Top, C.Right - CutX, C.Bottom - CutY});
                }
            return;
        }
        if (IsEmpty(N) || IsEmpty(C))
            return;
        if (StretchType == bsstFull) {
            StretchPart(Dest, N, Picture, C);
            return;
        }
        const HDC DC = Dest->Canvas()->Handle();
        const int Saved = SaveDC(DC);
        IntersectClipRect(DC, N.Left, N.Top, N.Right, N.Bottom);
        TBitmap Strip;
        if (StretchType == bsstHorz) {
            Strip.SetSize(CW, N.Height());
            StretchPart(&Strip, {0, 0, CW, N.Height()}, Picture, C);
            for (int I = 0; I <= N.Width() / CW; ++I)
                Dest->Canvas()->Draw(N.Left + I * CW, N.Top, &Strip);
        } else {
            Strip.SetSize(N.Width(), CH);
            StretchPart(&Strip, {0, 0, N.Width(), CH}, Picture, C);
            for (int J = 0; J <= N.Height() / CH; ++J)
                Dest->Canvas()->Draw(N.Left, N.Top + J * CH, &Strip);
        }
        RestoreDC(DC, Saved);
    }
};

bool Unpaintable(const TPoint& LTPt, const TPoint& RBPt, TBitmap* Picture) {
    return RBPt.X == LTPt.X || RBPt.Y == LTPt.Y || !Picture || Picture->Empty();
}

} // namespace

void CopyPart(TBitmap* Dest, const TRect& D, TBitmap* Picture, const TRect& S) {
    if (IsEmpty(D) || IsEmpty(S))
        return;
    Dest->Canvas()->CopyRect(D, Picture->Canvas(), S);
}

void StretchPart(TBitmap* Dest, const TRect& D, TBitmap* Picture, const TRect& S) {
    if (IsEmpty(D) || IsEmpty(S))
        return;
    TBitmap Part;
    Part.SetSize(S.Width(), S.Height());
    Part.Canvas()->CopyRect({0, 0, S.Width(), S.Height()}, Picture->Canvas(), S);
    Dest->Canvas()->StretchDraw(D, &Part);
}

void TilePartX(TBitmap* Dest, int X0, int Limit, int DTop, int DBottom, TBitmap* Picture,
               const TRect& S) {
    const int Step = S.Width();
    if (Step <= 0)
        return;
    const int N = (Limit - X0) / Step;
    for (int I = 0; I <= N; ++I) {
        const int X = X0 + I * Step;
        const int Cut = std::max(0, X + Step - Limit);
        CopyPart(Dest, {X, DTop, X + Step - Cut, DBottom}, Picture,
                 {S.Left, S.Top, S.Right - Cut, S.Bottom});
    }
}

void TilePartY(TBitmap* Dest, int Y0, int Limit, int DLeft, int DRight, TBitmap* Picture,
               const TRect& S) {
    const int Step = S.Height();
    if (Step <= 0)
        return;
    const int N = (Limit - Y0) / Step;
    for (int I = 0; I <= N; ++I) {
        const int Y = Y0 + I * Step;
        const int Cut = std::max(0, Y + Step - Limit);
        CopyPart(Dest, {DLeft, Y, DRight, Y + Step - Cut}, Picture,
                 {S.Left, S.Top, S.Right, S.Bottom - Cut});
    }
}

void MakeNinePartBitmap(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                        TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                        TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, int Width,
                        int Height, bool DrawClient, bool LeftStretch, bool TopStretch,
                        bool RightStretch, bool BottomStretch, bool StretchEffect,
                        TbsStretchType StretchType) {
    Dest->SetSize(Width, Height);
    if (Unpaintable(LTPt, RBPt, Picture))
        return;
    TNinePart P{LTPt,          RTPt,          LBPt,       RBPt,        ClRect,     NewLTPoint,
                NewRTPoint,    NewLBPoint,    NewRBPoint, NewClRect,   Dest,       Picture,
                SkinRect,      Width,         Height,     LeftStretch, TopStretch, RightStretch,
                BottomStretch, StretchEffect, StretchType};
    P.TopEdge(NewRTPoint.X);
    P.BottomEdge(NewRBPoint.X);
    P.LeftEdge();
    P.RightEdge();
    for (int N = 1; N <= 8; ++N)
        P.Corner(N);
    if (DrawClient)
        P.Client(NewClRect);
}

void MakeWindowNinePartBitmap(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                              TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest, TBitmap* Picture,
                              TRect SkinRect, int Width, int Height, bool DrawClient,
                              bool LeftStretch, bool TopStretch, bool RightStretch,
                              bool BottomStretch, bool StretchEffect, TbsStretchType StretchType) {
    MakeNinePartBitmap(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                       NewRBPoint, NewClRect, Dest, Picture, SkinRect, Width, Height, DrawClient,
                       LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                       StretchType);
}

void MakeNinePartBitmapNoRight(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                               TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                               TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest, TBitmap* Picture,
                               TRect SkinRect, int Width, int Height, bool DrawClient,
                               bool LeftStretch, bool TopStretch, bool /*RightStretch*/,
                               bool BottomStretch, bool StretchEffect, TbsStretchType StretchType) {
    Dest->SetSize(Width, Height);
    if (Unpaintable(LTPt, RBPt, Picture))
        return;
    TNinePart P{LTPt,          RTPt,          LBPt,       RBPt,        ClRect,     NewLTPoint,
                NewRTPoint,    NewLBPoint,    NewRBPoint, NewClRect,   Dest,       Picture,
                SkinRect,      Width,         Height,     LeftStretch, TopStretch, false,
                BottomStretch, StretchEffect, StretchType};
    P.TopEdge(Width);
    P.BottomEdge(Width);
    P.LeftEdge();
    for (int N : {1, 2, 5, 6})
        P.Corner(N);
    if (DrawClient)
        P.Client({NewClRect.Left, NewClRect.Top, Width, NewClRect.Bottom});
}

void MakeNinePartBitmapByClRect(TBitmap* Dest, TBitmap* Picture, TRect SkinRect, TRect ClRect,
                                bool DrawClient) {
    const int DW = Dest->Width() - SkinRect.Width();
    const int DH = Dest->Height() - SkinRect.Height();
    const TRect NewCl{ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH};
    MakeNinePartBitmap(
        {ClRect.Left, ClRect.Top}, {ClRect.Right, ClRect.Top}, {ClRect.Left, ClRect.Bottom},
        {ClRect.Right, ClRect.Bottom}, ClRect, {NewCl.Left, NewCl.Top}, {NewCl.Right, NewCl.Top},
        {NewCl.Left, NewCl.Bottom}, {NewCl.Right, NewCl.Bottom}, NewCl, Dest, Picture, SkinRect,
        Dest->Width(), Dest->Height(), DrawClient, true, true, true, true, true, bsstFull);
}

namespace {

// The middle of a horizontal strip, stretched or tiled from X0 to Limit.
void HorzMiddle(TBitmap* Dest, TBitmap* Picture, const TRect& Middle, int X0, int Limit, int SH,
                bool StretchEffect) {
    if (StretchEffect)
        StretchPart(Dest, {X0, 0, Limit, SH}, Picture, Middle);
    else
        TilePartX(Dest, X0, Limit, 0, SH, Picture, Middle);
}

} // namespace

void MakeHorzThreePartBitmap(int LeftWidth, int RightWidth, TBitmap* Dest, TBitmap* Picture,
                             TRect SkinRect, int Width, int /*Height*/, bool StretchEffect) {
    const TRect& S = SkinRect;
    const int SH = S.Height();
    Dest->SetSize(Width, SH);
    if (!Picture || Picture->Empty())
        return;
    if (LeftWidth != 0)
        CopyPart(Dest, {0, 0, LeftWidth, SH}, Picture,
                 {S.Left, S.Top, S.Left + LeftWidth, S.Bottom});
    if (RightWidth != 0)
        CopyPart(Dest, {Width - RightWidth, 0, Width, SH}, Picture,
                 {S.Right - RightWidth, S.Top, S.Right, S.Bottom});
    HorzMiddle(Dest, Picture, {S.Left + LeftWidth, S.Top, S.Right - RightWidth, S.Bottom},
               LeftWidth, Width - RightWidth, SH, StretchEffect);
}

void MakeHorzTwoPartBitmap(int LeftWidth, int RightWidth, TBitmap* Dest, TBitmap* Picture,
                           TRect SkinRect, int Width, int /*Height*/, bool StretchEffect) {
    const TRect& S = SkinRect;
    const int SH = S.Height();
    Dest->SetSize(Width, SH);
    if (!Picture || Picture->Empty())
        return;
    if (LeftWidth != 0)
        CopyPart(Dest, {0, 0, LeftWidth, SH}, Picture,
                 {S.Left, S.Top, S.Left + LeftWidth, S.Bottom});
    HorzMiddle(Dest, Picture, {S.Left + LeftWidth, S.Top, S.Right - RightWidth, S.Bottom},
               LeftWidth, Width, SH, StretchEffect);
}

void MakeHorzMiddleBitmap(int LeftWidth, int RightWidth, TBitmap* Dest, TBitmap* Picture,
                          TRect SkinRect, int Width, int /*Height*/, bool StretchEffect) {
    const TRect& S = SkinRect;
    const int SH = S.Height();
    Dest->SetSize(Width, SH);
    if (!Picture || Picture->Empty())
        return;
    HorzMiddle(Dest, Picture, {S.Left + LeftWidth, S.Top, S.Right - RightWidth, S.Bottom}, 0, Width,
               SH, StretchEffect);
}

void MakeVertThreePartBitmap(int TopHeight, int BottomHeight, TBitmap* Dest, TBitmap* Picture,
                             TRect SkinRect, int /*Width*/, int Height, bool StretchEffect) {
    const TRect& S = SkinRect;
    const int SW = S.Width();
    Dest->SetSize(SW, Height);
    if (!Picture || Picture->Empty())
        return;
    if (TopHeight != 0)
        CopyPart(Dest, {0, 0, SW, TopHeight}, Picture, {S.Left, S.Top, S.Right, S.Top + TopHeight});
    if (BottomHeight != 0)
        CopyPart(Dest, {0, Height - BottomHeight, SW, Height}, Picture,
                 {S.Left, S.Bottom - BottomHeight, S.Right, S.Bottom});
    const TRect Middle{S.Left, S.Top + TopHeight, S.Right, S.Bottom - BottomHeight};
    if (StretchEffect)
        StretchPart(Dest, {0, TopHeight, SW, Height - BottomHeight}, Picture, Middle);
    else
        TilePartY(Dest, TopHeight, Height - BottomHeight, 0, SW, Picture, Middle);
}

void MakeFrameBorderBitmaps(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                            TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                            TPoint NewRBPoint, TRect NewClRect, TBitmap* LeftBmp, TBitmap* TopBmp,
                            TBitmap* RightBmp, TBitmap* BottomBmp, TBitmap* Picture, TRect SkinRect,
                            int Width, int Height, bool LeftStretch, bool TopStretch,
                            bool RightStretch, bool BottomStretch) {
    if (!Picture || Picture->Empty())
        return;
    const int SL = SkinRect.Left, ST = SkinRect.Top, SR = SkinRect.Right, SB = SkinRect.Bottom;
    const int TH = NewClRect.Top;
    int TopHeight = 0, BottomHeight = 0;
    if (Width > 0 && TH > 0 && RTPt.X - LTPt.X > 0) {
        TopHeight = TH;
        TopBmp->SetSize(Width, TH);
        const TRect S{SL + LTPt.X, ST, SL + RTPt.X, ST + TH};
        if (TopStretch)
            StretchPart(TopBmp, {NewLTPoint.X, 0, NewRTPoint.X, TH}, Picture, S);
        else
            TilePartX(TopBmp, 0, Width, 0, TH, Picture, S);
        CopyPart(TopBmp, {0, 0, NewLTPoint.X, TH}, Picture, {SL, ST, SL + LTPt.X, ST + TH});
        CopyPart(TopBmp, {NewRTPoint.X, 0, Width, TH}, Picture, {SL + RTPt.X, ST, SR, ST + TH});
    }
    const int BH = Height - NewClRect.Bottom;
    if (Width > 0 && BH > 0 && RBPt.X - LBPt.X > 0) {
        BottomHeight = BH;
        BottomBmp->SetSize(Width, BH);
        const TRect S{SL + LBPt.X, SB - BH, SL + RBPt.X, SB};
        if (BottomStretch)
            StretchPart(BottomBmp, {NewLBPoint.X, 0, NewRBPoint.X, BH}, Picture, S);
        else
            TilePartX(BottomBmp, 0, Width, 0, BH, Picture, S);
        CopyPart(BottomBmp, {0, 0, NewLBPoint.X, BH}, Picture, {SL, SB - BH, SL + LBPt.X, SB});
        CopyPart(BottomBmp, {NewRBPoint.X, 0, Width, BH}, Picture, {SL + RBPt.X, SB - BH, SR, SB});
    }
    const int PH = Height - BottomHeight - TopHeight;
    // A side piece W wide from the picture columns X0..X1, the repeatable
    // rows First..Last (relative to SkinRect) stretched or tiled, then the
    // corners over them.
    auto SidePiece = [&](TBitmap* Piece, int W, int X0, int X1, int First, int Last, bool Stretch) {
        Piece->SetSize(W, PH);
        const TRect S{X0, ST + First, X1, ST + Last};
        if (Stretch)
            StretchPart(Piece, {0, First - ClRect.Top, W, PH + Last - ClRect.Bottom}, Picture, S);
        else
            TilePartY(Piece, 0, PH, 0, W, Picture, S);
        if (First - ClRect.Top > 0)
            CopyPart(Piece, {0, 0, W, First - ClRect.Top}, Picture,
                     {X0, ST + ClRect.Top, X1, ST + First});
        if (ClRect.Bottom - Last > 0)
            CopyPart(Piece, {0, PH + Last - ClRect.Bottom, W, PH}, Picture,
                     {X0, ST + Last, X1, ST + ClRect.Bottom});
    };
    if (NewClRect.Left > 0 && PH > 0 && LBPt.Y - LTPt.Y > 0)
        SidePiece(LeftBmp, NewClRect.Left, SL, SL + NewClRect.Left, LTPt.Y, LBPt.Y, LeftStretch);
    const int RW = Width - NewClRect.Right;
    if (RW >= 1 && PH >= 1 && RBPt.Y - RTPt.Y >= 1)
        SidePiece(RightBmp, RW, SL + ClRect.Right, SR, RTPt.Y, RBPt.Y, RightStretch);
}
