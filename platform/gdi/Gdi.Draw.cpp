// Lines, shapes and fills with the platform's pixel rules: a line leaves out
// its end point, a rectangle its right and bottom edge.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {

namespace {

// Fills a rectangle in surface coordinates through the clip.
void FillSurface(const TTarget& T, const TRect& R, TArgb Color) {
    if (!T.Draws)
        return;
    ForEachSpan(T, R, [&](int X, int Y, int N) { FillSpan(T.Pixels, X, Y, N, Color & 0xFFFFFF); });
}

void InvertSurface(const TTarget& T, const TRect& R) {
    if (!T.Draws)
        return;
    std::vector<TArgb> Buf;
    ForEachSpan(T, R, [&](int X, int Y, int N) {
        Buf.resize(std::size_t(N));
        ReadRow(T.Pixels, X, Y, N, Buf.data());
        for (TArgb& P : Buf)
            P = ~P & 0xFFFFFF;
        WriteRow(T.Pixels, X, Y, N, Buf.data());
    });
}

// Draws single pixels with the pen's colour, width, dash pattern and the
// DC's pen mode, in surface coordinates.
class TPenPlotter {
public:
    TPenPlotter(const TTarget& T) : FT(T) {
        auto P = Lookup<TPenObj>(T.Dc->State.Pen, TKind::Pen);
        if (P) {
            FStyle = int(P->Log.lopnStyle);
            FColor = ArgbFromColor(P->Log.lopnColor);
            FWidth = std::max(1, int(P->Log.lopnWidth.X));
        } else {
            FStyle = PS_NULL;
        }
        FRop = T.Dc->State.Rop2;
    }

    bool Null() const { return FStyle == PS_NULL || !FT.Draws; }

    // Steps along a path that are not drawn still move the dash pattern on.
    void Skip(std::int64_t Steps) { FCounter = int((FCounter + Steps) % 24); }

    // The area where a pixel of the path can leave a mark.
    TRect Reach() const {
        TRect R = FT.Clip.Bounds();
        InflateRect(&R, FWidth, FWidth);
        return R;
    }

    // One step along a path; the dash pattern decides whether it shows.
    void Step(int X, int Y) {
        const int N = FCounter;
        FCounter = (FCounter + 1) % 24;
        if (FStyle == PS_DASH && N % 24 >= 18)
            return;
        if (FStyle == PS_DOT && N % 2 == 1)
            return;
        Stroke(X, Y);
    }

    void Stroke(int X, int Y) {
        if (FWidth == 1) {
            Plot(X, Y);
            return;
        }
        const int Lo = -(FWidth - 1) / 2, Hi = FWidth / 2;
        for (int DY = Lo; DY <= Hi; ++DY)
            for (int DX = Lo; DX <= Hi; ++DX)
                Plot(X + DX, Y + DY);
    }

    void Plot(int X, int Y) {
        if (!FT.Visible(X, Y))
            return;
        TArgb D = 0;
        if (FRop != R2_COPYPEN)
            D = ReadPixel(FT.Pixels, X, Y);
        TArgb Out = FColor;
        if (FRop == R2_NOT)
            Out = ~D;
        else if (FRop == R2_XORPEN)
            Out = D ^ FColor;
        WritePixel(FT.Pixels, X, Y, Out & 0xFFFFFF);
    }

private:
    const TTarget& FT;
    int FStyle = PS_SOLID;
    TArgb FColor = 0;
    int FWidth = 1;
    int FRop = R2_COPYPEN;
    int FCounter = 0;
};

// Bresenham from (X0, Y0) towards (X1, Y1): the start is drawn, the end not.
// Only the steps whose major coordinate can reach the clip are walked, so
// that a line running far outside the surface costs nothing; the minor
// coordinate of step i is computed directly, exactly as the walk would.
void Line(TPenPlotter& Pen, const TRect& Reach, std::int64_t X0, std::int64_t Y0, std::int64_t X1,
          std::int64_t Y1) {
    const bool XMajor = std::llabs(X1 - X0) >= std::llabs(Y1 - Y0);
    // Walk in (major, minor) coordinates.
    const std::int64_t M0 = XMajor ? X0 : Y0, N0 = XMajor ? Y0 : X0;
    const std::int64_t M1 = XMajor ? X1 : Y1, N1 = XMajor ? Y1 : X1;
    const std::int64_t DM = std::llabs(M1 - M0), DN = std::llabs(N1 - N0);
    const std::int64_t SM = M1 > M0 ? 1 : -1, SN = N1 > N0 ? 1 : -1;
    const std::int64_t Lo = XMajor ? Reach.Left : Reach.Top;
    const std::int64_t Hi = XMajor ? Reach.Right : Reach.Bottom; // exclusive
    std::int64_t First = 0, Last = DM;                           // steps First ... Last - 1
    if (SM > 0) {
        First = std::max<std::int64_t>(First, Lo - M0);
        Last = std::min<std::int64_t>(Last, Hi - M0);
    } else {
        First = std::max<std::int64_t>(First, M0 - (Hi - 1));
        Last = std::min<std::int64_t>(Last, M0 - Lo + 1);
    }
    if (First >= Last)
        return;
    Pen.Skip(First);
    std::int64_t K = DM ? (2 * DN * First + DM - 1) / (2 * DM) : 0;
    std::int64_t Err = 2 * DN * (First + 1) - DM - 2 * DM * K;
    std::int64_t M = M0 + SM * First, N = N0 + SN * K;
    for (std::int64_t i = First; i < Last; ++i) {
        if (XMajor)
            Pen.Step(int(M), int(N));
        else
            Pen.Step(int(N), int(M));
        if (Err > 0) {
            N += SN;
            Err -= 2 * DM;
        }
        Err += 2 * DN;
        M += SM;
    }
}

TArgb BrushArgb(const TTarget& T, bool* Hollow) {
    return ArgbFromColor(BrushColor(T.Dc->State.Brush, Hollow));
}

TRect Ordered(int L, int T, int R, int B) {
    return {std::min(L, R), std::min(T, B), std::max(L, R), std::max(T, B)};
}

// Shapes given as "is the pixel at (X, Y) of the box inside": pixels with a
// neighbour outside take the pen, the others the brush.
template <class TInside> void Shape(const TTarget& T, const TRect& Box, TInside Inside) {
    TPenPlotter Pen(T);
    bool Hollow;
    const TArgb Brush = BrushArgb(T, &Hollow);
    TRect Area;
    const TRect Clip = T.Clip.Bounds();
    if (!IntersectRect(&Area, &Box, &Clip))
        return;
    for (int Y = Area.Top; Y < Area.Bottom; ++Y) {
        for (int X = Area.Left; X < Area.Right; ++X) {
            if (!Inside(X, Y))
                continue;
            const bool Edge =
                !Inside(X - 1, Y) || !Inside(X + 1, Y) || !Inside(X, Y - 1) || !Inside(X, Y + 1);
            if (Edge && !Pen.Null())
                Pen.Plot(X, Y);
            else if (!Hollow && T.Visible(X, Y))
                WritePixel(T.Pixels, X, Y, Brush);
        }
    }
}

// Inside the ellipse inscribed in the box, by pixel centres.
bool InEllipse(double PX, double PY, double CX, double CY, double RX, double RY) {
    if (RX <= 0 || RY <= 0)
        return false;
    const double U = (PX - CX) / RX, V = (PY - CY) / RY;
    return U * U + V * V <= 1.0 + 1e-9;
}

} // namespace

void SurfaceFill(const TTarget& T, const TRect& R, TArgb Color) {
    FillSurface(T, R, Color);
}

} // namespace gdi

using namespace gdi;

BOOL MoveToEx(HDC DC, int X, int Y, TPoint* Old) {
    auto D = LookupDC(DC);
    if (!D)
        return FALSE;
    if (Old)
        *Old = D->State.CurPos;
    D->State.CurPos = {X, Y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC DC, TPoint* Pos) {
    auto D = LookupDC(DC);
    if (!D || !Pos)
        return FALSE;
    *Pos = D->State.CurPos;
    return TRUE;
}

BOOL LineTo(HDC DC, int X, int Y) {
    TTarget T;
    if (!ResolveTarget(DC, T))
        return FALSE;
    TPenPlotter Pen(T);
    const TPoint From = T.Dc->State.CurPos;
    if (!Pen.Null())
        Line(Pen, Pen.Reach(), T.SX(From.X), T.SY(From.Y), T.SX(X), T.SY(Y));
    T.Dc->State.CurPos = {X, Y};
    return TRUE;
}

BOOL Polyline(HDC DC, const TPoint* Points, int Count) {
    TTarget T;
    if (!ResolveTarget(DC, T) || !Points || Count < 2)
        return FALSE;
    TPenPlotter Pen(T);
    if (Pen.Null())
        return TRUE;
    for (int i = 0; i + 1 < Count; ++i)
        Line(Pen, Pen.Reach(), T.SX(Points[i].X), T.SY(Points[i].Y), T.SX(Points[i + 1].X),
             T.SY(Points[i + 1].Y));
    return TRUE;
}

BOOL Polygon(HDC DC, const TPoint* Points, int Count) {
    TTarget T;
    if (!ResolveTarget(DC, T) || !Points || Count < 2)
        return FALSE;
    if (!T.Draws)
        return TRUE;
    std::vector<TPoint> P(Points, Points + Count);
    for (TPoint& Q : P)
        Q = {T.SX(Q.X), T.SY(Q.Y)};
    bool Hollow;
    const TArgb Brush = BrushArgb(T, &Hollow);
    if (!Hollow) {
        int Top = P[0].Y, Bottom = P[0].Y;
        for (const TPoint& Q : P) {
            Top = std::min(Top, Q.Y);
            Bottom = std::max(Bottom, Q.Y);
        }
        // Even-odd over pixel centres, one scan line at a time.
        std::vector<double> Xs;
        const TRect Clip = T.Clip.Bounds();
        Top = std::max(Top, Clip.Top);
        Bottom = std::min(Bottom, Clip.Bottom);
        for (int Y = Top; Y < Bottom; ++Y) {
            const double CY = Y + 0.5;
            Xs.clear();
            for (std::size_t i = 0; i < P.size(); ++i) {
                const TPoint A = P[i], B = P[(i + 1) % P.size()];
                if ((A.Y <= CY) != (B.Y <= CY))
                    Xs.push_back(A.X + (CY - A.Y) * (double(B.X) - A.X) / (double(B.Y) - A.Y));
            }
            std::sort(Xs.begin(), Xs.end());
            for (std::size_t i = 0; i + 1 < Xs.size(); i += 2) {
                auto Column = [&](double X) {
                    return int(
                        std::clamp(std::ceil(X - 0.5), double(Clip.Left), double(Clip.Right)));
                };
                const int X1 = Column(Xs[i]), X2 = Column(Xs[i + 1]);
                FillSurface(T, {X1, Y, X2, Y + 1}, Brush);
            }
        }
    }
    TPenPlotter Pen(T);
    if (!Pen.Null())
        for (std::size_t i = 0; i < P.size(); ++i)
            Line(Pen, Pen.Reach(), P[i].X, P[i].Y, P[(i + 1) % P.size()].X,
                 P[(i + 1) % P.size()].Y);
    return TRUE;
}

BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom) {
    TTarget T;
    if (!ResolveTarget(DC, T))
        return FALSE;
    const TRect R = T.ToSurface(Ordered(Left, Top, Right, Bottom));
    if (IsRectEmpty(&R) || !T.Draws)
        return TRUE;
    TPenPlotter Pen(T);
    bool Hollow;
    const TArgb Brush = BrushArgb(T, &Hollow);
    if (Pen.Null()) {
        if (!Hollow)
            FillSurface(T, {R.Left, R.Top, R.Right - 1, R.Bottom - 1}, Brush);
        return TRUE;
    }
    if (!Hollow)
        FillSurface(T, {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, Brush);
    const int L = R.Left, Tp = R.Top, Rt = R.Right - 1, Bt = R.Bottom - 1;
    if (L == Rt || Tp == Bt) {
        TRect Area;
        const TRect Reach = Pen.Reach();
        if (IntersectRect(&Area, &R, &Reach))
            for (int Y = Area.Top; Y < Area.Bottom; ++Y)
                for (int X = Area.Left; X < Area.Right; ++X)
                    Pen.Stroke(X, Y);
        return TRUE;
    }
    // The outline as one closed path, so that a dotted pen runs round it.
    const TPoint Corners[] = {{L, Tp}, {Rt, Tp}, {Rt, Bt}, {L, Bt}, {L, Tp}};
    for (int i = 0; i < 4; ++i)
        Line(Pen, Pen.Reach(), Corners[i].X, Corners[i].Y, Corners[i + 1].X, Corners[i + 1].Y);
    return TRUE;
}

BOOL Ellipse(HDC DC, int Left, int Top, int Right, int Bottom) {
    TTarget T;
    if (!ResolveTarget(DC, T))
        return FALSE;
    const TRect R = T.ToSurface(Ordered(Left, Top, Right, Bottom));
    if (!T.Draws || IsRectEmpty(&R))
        return TRUE;
    const double CX = (double(R.Left) + R.Right) / 2.0, CY = (double(R.Top) + R.Bottom) / 2.0;
    const double RX = (double(R.Right) - R.Left) / 2.0, RY = (double(R.Bottom) - R.Top) / 2.0;
    Shape(T, R, [&](int X, int Y) { return InEllipse(X + 0.5, Y + 0.5, CX, CY, RX, RY); });
    return TRUE;
}

BOOL RoundRect(HDC DC, int Left, int Top, int Right, int Bottom, int Width, int Height) {
    TTarget T;
    if (!ResolveTarget(DC, T))
        return FALSE;
    const TRect R = T.ToSurface(Ordered(Left, Top, Right, Bottom));
    if (!T.Draws || IsRectEmpty(&R))
        return TRUE;
    // Extents in doubles: a shape may span more than an int can count.
    const double A = std::min<double>(std::abs(double(Width)), double(R.Right) - R.Left) / 2.0;
    const double B = std::min<double>(std::abs(double(Height)), double(R.Bottom) - R.Top) / 2.0;
    Shape(T, R, [&](int X, int Y) {
        const double PX = X + 0.5, PY = Y + 0.5;
        if (PX < R.Left || PX > R.Right || PY < R.Top || PY > R.Bottom)
            return false;
        const double CX = PX < R.Left + A ? R.Left + A : (PX > R.Right - A ? R.Right - A : PX);
        const double CY = PY < R.Top + B ? R.Top + B : (PY > R.Bottom - B ? R.Bottom - B : PY);
        if (CX == PX || CY == PY)
            return true;
        return InEllipse(PX, PY, CX, CY, A, B);
    });
    return TRUE;
}

int FillRect(HDC DC, const TRect* R, HBRUSH Brush) {
    TTarget T;
    if (!R || !ResolveTarget(DC, T))
        return FALSE;
    bool Hollow;
    const COLORREF C = BrushColor(Brush, &Hollow);
    if (!ValidBrush(Brush))
        return FALSE;
    if (!Hollow)
        FillSurface(T, T.ToSurface(*R), ArgbFromColor(C));
    return TRUE;
}

int FrameRect(HDC DC, const TRect* R, HBRUSH Brush) {
    TTarget T;
    if (!R || !ResolveTarget(DC, T) || !ValidBrush(Brush))
        return FALSE;
    bool Hollow;
    const TArgb C = ArgbFromColor(BrushColor(Brush, &Hollow));
    const TRect S = T.ToSurface(*R);
    if (Hollow || IsRectEmpty(&S))
        return TRUE;
    FillSurface(T, {S.Left, S.Top, S.Right, S.Top + 1}, C);
    FillSurface(T, {S.Left, S.Bottom - 1, S.Right, S.Bottom}, C);
    FillSurface(T, {S.Left, S.Top + 1, S.Left + 1, S.Bottom - 1}, C);
    FillSurface(T, {S.Right - 1, S.Top + 1, S.Right, S.Bottom - 1}, C);
    return TRUE;
}

BOOL InvertRect(HDC DC, const TRect* R) {
    TTarget T;
    if (!R || !ResolveTarget(DC, T))
        return FALSE;
    InvertSurface(T, T.ToSurface(*R));
    return TRUE;
}

BOOL FillRgn(HDC DC, HRGN Region, HBRUSH Brush) {
    TTarget T;
    auto Rgn = Lookup<TRegionObj>(Region, TKind::Region);
    if (!Rgn || !ResolveTarget(DC, T) || !ValidBrush(Brush))
        return FALSE;
    bool Hollow;
    const TArgb C = ArgbFromColor(BrushColor(Brush, &Hollow));
    if (Hollow)
        return TRUE;
    for (const TRect& R : Rgn->Region.Rects())
        FillSurface(T, T.ToSurface(R), C);
    return TRUE;
}

COLORREF SetPixel(HDC DC, int X, int Y, COLORREF Color) {
    TTarget T;
    if (!ResolveTarget(DC, T) || !T.Draws)
        return CLR_INVALID;
    const int SX = T.SX(X), SY = T.SY(Y);
    if (!T.Visible(SX, SY))
        return CLR_INVALID;
    WritePixel(T.Pixels, SX, SY, ArgbFromColor(Color));
    return ColorFromArgb(ReadPixel(T.Pixels, SX, SY));
}

COLORREF GetPixel(HDC DC, int X, int Y) {
    TTarget T;
    if (!ResolveTarget(DC, T, false) || !T.Draws)
        return CLR_INVALID;
    const int SX = T.SX(X), SY = T.SY(Y);
    if (!T.Visible(SX, SY))
        return CLR_INVALID;
    return ColorFromArgb(ReadPixel(T.Pixels, SX, SY));
}

BOOL DrawFocusRect(HDC DC, const TRect* R) {
    TTarget T;
    if (!R || !ResolveTarget(DC, T))
        return FALSE;
    const TRect S = T.ToSurface(*R);
    if (!T.Draws || IsRectEmpty(&S))
        return TRUE;
    // The pattern follows device coordinates, so drawing twice restores.
    auto Flip = [&](int X, int Y) {
        const int DX = X - T.Offset.X, DY = Y - T.Offset.Y;
        if (((DX + DY) & 1) != 0 || !T.Visible(X, Y))
            return;
        WritePixel(T.Pixels, X, Y, ~ReadPixel(T.Pixels, X, Y) & 0xFFFFFF);
    };
    for (int X = S.Left; X < S.Right; ++X) {
        Flip(X, S.Top);
        if (S.Bottom - 1 > S.Top)
            Flip(X, S.Bottom - 1);
    }
    for (int Y = S.Top + 1; Y < S.Bottom - 1; ++Y) {
        Flip(S.Left, Y);
        if (S.Right - 1 > S.Left)
            Flip(S.Right - 1, Y);
    }
    return TRUE;
}

namespace {

// One ring of a 3-D frame on the given sides, by the rule of Frame3D.
void Ring(const TTarget& T, const TRect& S, TArgb TopLeft, TArgb BottomRight, UINT Sides) {
    const int L = S.Left, Tp = S.Top, R = S.Right, B = S.Bottom;
    if (R <= L || B <= Tp)
        return;
    if (Sides & BF_TOP)
        FillSurface(T, {L, Tp, R - 1, Tp + 1}, TopLeft);
    if (Sides & BF_LEFT)
        FillSurface(T, {L, Tp, L + 1, B - 1}, TopLeft);
    if (Sides & BF_RIGHT)
        FillSurface(T, {R - 1, Tp, R, B}, BottomRight);
    if (Sides & BF_BOTTOM)
        FillSurface(T, {L, B - 1, R, B}, BottomRight);
}

TArgb Sys(TColor C) {
    return ArgbFromColor(COLORREF(ColorToRGB(C)));
}

void Shrink(TRect& R, UINT Sides) {
    if (Sides & BF_LEFT)
        ++R.Left;
    if (Sides & BF_TOP)
        ++R.Top;
    if (Sides & BF_RIGHT)
        --R.Right;
    if (Sides & BF_BOTTOM)
        --R.Bottom;
}

} // namespace

BOOL DrawEdge(HDC DC, TRect* R, UINT Edge, UINT Flags) {
    TTarget T;
    if (!R || !ResolveTarget(DC, T))
        return FALSE;
    TRect S = T.ToSurface(*R);
    TRect Logical = *R;
    const UINT Sides = Flags & BF_RECT;
    struct TBorder {
        UINT Bit;
        TColor TopLeft, BottomRight;
    };
    static const TBorder Outer[] = {{BDR_RAISEDOUTER, cl3DLight, cl3DDkShadow},
                                    {BDR_SUNKENOUTER, clBtnShadow, clBtnHighlight}};
    static const TBorder Inner[] = {{BDR_RAISEDINNER, clBtnHighlight, clBtnShadow},
                                    {BDR_SUNKENINNER, cl3DDkShadow, cl3DLight}};
    for (const TBorder* Set : {Outer, Inner}) {
        for (int i = 0; i < 2; ++i) {
            if (!(Edge & Set[i].Bit))
                continue;
            if (T.Draws)
                Ring(T, S, Sys(Set[i].TopLeft), Sys(Set[i].BottomRight), Sides);
            Shrink(S, Sides);
            Shrink(Logical, Sides);
            break;
        }
    }
    if ((Flags & BF_MIDDLE) && T.Draws)
        FillSurface(T, S, Sys(clBtnFace));
    if (Flags & BF_ADJUST)
        *R = Logical;
    return TRUE;
}

void Frame3D(HDC DC, TRect& R, TColor TopColor, TColor BottomColor, int Width) {
    TTarget T;
    const bool Ok = ResolveTarget(DC, T) && T.Draws;
    for (int i = 0; i < Width; ++i) {
        if (Ok)
            Ring(T, T.ToSurface(R), Sys(TopColor), Sys(BottomColor), BF_RECT);
        InflateRect(&R, -1, -1);
    }
}
