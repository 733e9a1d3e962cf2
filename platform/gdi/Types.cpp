#include "platform/gdi/Types.h"

#include <algorithm>
#include <array>

BOOL SetRect(TRect* R, int Left, int Top, int Right, int Bottom) {
    if (!R)
        return FALSE;
    *R = {Left, Top, Right, Bottom};
    return TRUE;
}

BOOL SetRectEmpty(TRect* R) {
    return SetRect(R, 0, 0, 0, 0);
}

BOOL IsRectEmpty(const TRect* R) {
    return !R || R->Right <= R->Left || R->Bottom <= R->Top;
}

BOOL EqualRect(const TRect* A, const TRect* B) {
    return A && B && *A == *B;
}

BOOL PtInRect(const TRect* R, TPoint P) {
    return R && P.X >= R->Left && P.X < R->Right && P.Y >= R->Top && P.Y < R->Bottom;
}

BOOL IntersectRect(TRect* Dest, const TRect* A, const TRect* B) {
    if (!Dest || !A || !B)
        return FALSE;
    TRect R{std::max(A->Left, B->Left), std::max(A->Top, B->Top), std::min(A->Right, B->Right),
            std::min(A->Bottom, B->Bottom)};
    if (IsRectEmpty(&R)) {
        *Dest = {};
        return FALSE;
    }
    *Dest = R;
    return TRUE;
}

BOOL UnionRect(TRect* Dest, const TRect* A, const TRect* B) {
    if (!Dest || !A || !B)
        return FALSE;
    const bool EmptyA = IsRectEmpty(A), EmptyB = IsRectEmpty(B);
    if (EmptyA && EmptyB) {
        *Dest = {};
        return FALSE;
    }
    if (EmptyA)
        *Dest = *B;
    else if (EmptyB)
        *Dest = *A;
    else
        *Dest = {std::min(A->Left, B->Left), std::min(A->Top, B->Top), std::max(A->Right, B->Right),
                 std::max(A->Bottom, B->Bottom)};
    return TRUE;
}

BOOL OffsetRect(TRect* R, int DX, int DY) {
    if (!R)
        return FALSE;
    R->Left += DX;
    R->Right += DX;
    R->Top += DY;
    R->Bottom += DY;
    return TRUE;
}

BOOL InflateRect(TRect* R, int DX, int DY) {
    if (!R)
        return FALSE;
    R->Left -= DX;
    R->Right += DX;
    R->Top -= DY;
    R->Bottom += DY;
    return TRUE;
}

BOOL SubtractRect(TRect* Dest, const TRect* A, const TRect* B) {
    if (!Dest || !A || !B)
        return FALSE;
    TRect R = *A;
    TRect Common;
    if (IntersectRect(&Common, A, B)) {
        const bool FullWidth = Common.Left == A->Left && Common.Right == A->Right;
        const bool FullHeight = Common.Top == A->Top && Common.Bottom == A->Bottom;
        if (FullWidth && FullHeight) {
            *Dest = {};
            return FALSE;
        }
        if (FullWidth) {
            if (Common.Top == A->Top)
                R.Top = Common.Bottom;
            else if (Common.Bottom == A->Bottom)
                R.Bottom = Common.Top;
        } else if (FullHeight) {
            if (Common.Left == A->Left)
                R.Left = Common.Right;
            else if (Common.Right == A->Right)
                R.Right = Common.Left;
        }
    }
    *Dest = R;
    return !IsRectEmpty(Dest);
}

namespace {

constexpr std::array<COLORREF, 31> SysColors = {
    RGB(212, 208, 200), // scroll bar
    RGB(58, 110, 165),  // background
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application work space
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3-D dark shadow
    RGB(212, 208, 200), // 3-D light
    RGB(0, 0, 0),       // info text
    RGB(255, 255, 225), // info background
    RGB(0, 0, 0),       // unused index
    RGB(0, 0, 128),     // hot light
    RGB(166, 202, 240), // gradient active caption
    RGB(192, 192, 192), // gradient inactive caption
    RGB(10, 36, 106),   // menu highlight
    RGB(212, 208, 200), // menu bar
};

} // namespace

COLORREF GetSysColor(int Index) {
    if (Index < 0 || Index >= int(SysColors.size()))
        return 0;
    return SysColors[std::size_t(Index)];
}

TColor ColorToRGB(TColor Color) {
    if ((std::uint32_t(Color) & 0xFF000000u) == 0xFF000000u)
        return TColor(GetSysColor(int(Color & 0xFF)));
    return Color;
}
