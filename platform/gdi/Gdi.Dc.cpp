// Device contexts: kinds, state, origins, clipping and what they draw on.
#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

namespace gdi {

HBITMAP StockMonoBitmap();
void InitDcState(TDcState& S);
std::shared_ptr<TBitmapObj> MakeBitmap(int Width, int Height, int BitCount, bool BottomUp);

bool SurfacePixels(TDcObj& Dc, std::shared_ptr<TBitmapObj>& Bitmap, TPixels& Pixels,
                   TPoint& Offset) {
    Offset = {};
    switch (Dc.Type) {
    case TDcObj::dcMemory:
        Bitmap = Lookup<TBitmapObj>(Dc.State.Bitmap, TKind::Bitmap);
        if (!Bitmap)
            return false;
        Pixels = Bitmap->Pixels;
        return Pixels.Valid();
    case TDcObj::dcSurface:
        Pixels = {static_cast<std::uint8_t*>(Dc.Surface.Bits),
                  Dc.Surface.Width,
                  Dc.Surface.Height,
                  Dc.Surface.Stride,
                  Dc.Surface.BitCount,
                  Dc.Surface.BottomUp,
                  nullptr};
        Offset = Dc.DeviceOffset;
        return Pixels.Valid() && (Pixels.BitCount == 32 || Pixels.BitCount == 24);
    case TDcObj::dcDisplay:
        return false;
    }
    return false;
}

namespace {

// The effective clip in surface coordinates.
TRegion EffectiveClip(const TDcObj& Dc, const TPixels& Pixels, TPoint Offset) {
    TRegion Clip(Pixels.Bounds());
    if (Dc.Type == TDcObj::dcSurface && Dc.HasSystemClip) {
        TRegion System = Dc.SystemClip;
        System.Offset(Offset.X, Offset.Y);
        Clip = TRegion::Combine(Clip, System, TRegion::opAnd);
    }
    if (Dc.State.HasClip) {
        TRegion App = Dc.State.Clip;
        App.Offset(Offset.X, Offset.Y);
        Clip = TRegion::Combine(Clip, App, TRegion::opAnd);
    }
    return Clip;
}

} // namespace

bool TTarget::Visible(int X, int Y) const {
    const auto& Rects = Clip.Rects();
    if (Rects.size() == 1) {
        const TRect& R = Rects.front();
        return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
    }
    return Clip.Contains(X, Y);
}

bool ResolveTarget(HDC DC, TTarget& T, bool Draws) {
    T.Dc = LookupDC(DC);
    if (!T.Dc)
        return false;
    T.Draws = SurfacePixels(*T.Dc, T.Bitmap, T.Pixels, T.Offset);
    if (T.Draws)
        T.Clip = EffectiveClip(*T.Dc, T.Pixels, T.Offset);
    else
        T.Clip = TRegion();
    TDcObj& D = *T.Dc;
    if (Draws && D.Type == TDcObj::dcSurface && T.Draws && !(T.Clip == D.LastReached)) {
        D.Reached = TRegion::Combine(D.Reached, T.Clip, TRegion::opOr);
        D.LastReached = T.Clip;
    }
    return true;
}

namespace {

std::atomic<int> ScreenWidth{1920};
std::atomic<int> ScreenHeight{1080};

HDC MakeDC(TDcObj::TType Type) {
    auto D = std::make_shared<TDcObj>(Type);
    InitDcState(D->State);
    if (Type == TDcObj::dcMemory)
        D->State.Bitmap = StockMonoBitmap();
    const HDC Handle = MakeHandle<HDC>(D);
    D->Self = Handle;
    return Handle;
}

// The application clip to start from: the current one, or the whole surface.
TRegion StartingClip(TDcObj& Dc) {
    if (Dc.State.HasClip)
        return Dc.State.Clip;
    std::shared_ptr<TBitmapObj> B;
    TPixels P;
    TPoint Off;
    if (SurfacePixels(Dc, B, P, Off))
        return TRegion(TRect{-Off.X, -Off.Y, P.Width - Off.X, P.Height - Off.Y});
    if (Dc.Type == TDcObj::dcDisplay)
        return TRegion(TRect{0, 0, ScreenWidth, ScreenHeight});
    return TRegion();
}

TRect LogicalToDevice(const TDcObj& Dc, int Left, int Top, int Right, int Bottom) {
    const std::int64_t DX = std::int64_t(Dc.State.ViewportOrg.X) - Dc.State.WindowOrg.X;
    const std::int64_t DY = std::int64_t(Dc.State.ViewportOrg.Y) - Dc.State.WindowOrg.Y;
    return {TTarget::Saturate(Left + DX), TTarget::Saturate(Top + DY),
            TTarget::Saturate(Right + DX), TTarget::Saturate(Bottom + DY)};
}

} // namespace

} // namespace gdi

using namespace gdi;

HDC CreateCompatibleDC(HDC DC) {
    if (DC && !LookupDC(DC))
        return 0;
    return MakeDC(TDcObj::dcMemory);
}

HDC CreateDC(std::string_view Driver) {
    if (Driver != "DISPLAY")
        return 0;
    return MakeDC(TDcObj::dcDisplay);
}

HDC CreateSurfaceDC(const TSurface& Surface) {
    const HDC DC = MakeDC(TDcObj::dcSurface);
    LookupDC(DC)->Surface = Surface;
    return DC;
}

BOOL SetSurfaceDCSurface(HDC DC, const TSurface& Surface) {
    auto D = LookupDC(DC);
    if (!D || D->Type != TDcObj::dcSurface)
        return FALSE;
    D->Surface = Surface;
    return TRUE;
}

BOOL SetSurfaceDCOffset(HDC DC, int X, int Y) {
    auto D = LookupDC(DC);
    if (!D || D->Type != TDcObj::dcSurface)
        return FALSE;
    D->DeviceOffset = {X, Y};
    return TRUE;
}

BOOL GetSurfaceDCReachedRgn(HDC DC, HRGN Region) {
    auto D = LookupDC(DC);
    auto R = Lookup<TRegionObj>(Region, TKind::Region);
    if (!D || !R || D->Type != TDcObj::dcSurface)
        return FALSE;
    R->Region = D->Reached;
    return TRUE;
}

BOOL SetSurfaceDCSystemClip(HDC DC, HRGN Region) {
    auto D = LookupDC(DC);
    if (!D || D->Type != TDcObj::dcSurface)
        return FALSE;
    if (!Region) {
        D->HasSystemClip = false;
        D->SystemClip = TRegion();
        return TRUE;
    }
    auto R = Lookup<TRegionObj>(Region, TKind::Region);
    if (!R)
        return FALSE;
    D->HasSystemClip = true;
    D->SystemClip = R->Region;
    return TRUE;
}

BOOL DeleteDC(HDC DC) {
    auto D = LookupDC(DC);
    if (!D)
        return FALSE;
    if (auto B = Lookup<TBitmapObj>(D->State.Bitmap, TKind::Bitmap); B && B->SelectedInto == DC)
        B->SelectedInto = 0;
    if (!Unregister(DC))
        return FALSE;
    CountSelection(D->State, -1);
    return TRUE;
}

void SetScreenSize(int Width, int Height) {
    if (Width > 0 && Height > 0) {
        ScreenWidth = Width;
        ScreenHeight = Height;
    }
}

int GetDeviceCaps(HDC DC, int Index) {
    if (!LookupDC(DC))
        return 0;
    switch (Index) {
    case HORZRES:
        return ScreenWidth;
    case VERTRES:
        return ScreenHeight;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    default:
        return 0;
    }
}

BOOL GetDCSurfaceInfo(HDC DC, TDCSurfaceInfo* Info, bool WantClip) {
    TTarget T;
    if (!Info || !ResolveTarget(DC, T) || !T.Draws)
        return FALSE;
    *Info = {};
    Info->Bits = T.Pixels.Bits;
    Info->Width = T.Pixels.Width;
    Info->Height = T.Pixels.Height;
    Info->Stride = T.Pixels.Stride;
    Info->BottomUp = T.Pixels.BottomUp;
    Info->BitCount = T.Pixels.BitCount;
    Info->Offset = T.Offset;
    if (WantClip) {
        auto R = std::make_shared<TRegionObj>();
        R->Region = T.Clip;
        Info->Clip = MakeHandle<HRGN>(R);
    }
    return TRUE;
}

int SaveDC(HDC DC) {
    auto D = LookupDC(DC);
    if (!D)
        return 0;
    D->Saved.push_back(D->State);
    return int(D->Saved.size());
}

BOOL RestoreDC(HDC DC, int Level) {
    auto D = LookupDC(DC);
    if (!D)
        return FALSE;
    const int Count = int(D->Saved.size());
    if (Level < 0)
        Level = Count + 1 + Level;
    if (Level < 1 || Level > Count)
        return FALSE;
    TDcState State = D->Saved[std::size_t(Level - 1)];
    D->Saved.resize(std::size_t(Level - 1));
    const HBITMAP Wanted = State.Bitmap;
    State.Bitmap = D->State.Bitmap;
    CountSelection(D->State, -1);
    CountSelection(State, +1);
    D->State = State;
    // The bitmap goes back through selection, so that its owner stays right.
    if (D->Type == TDcObj::dcMemory && Wanted != D->State.Bitmap)
        SelectObject(DC, reinterpret_cast<HGDIOBJ>(Wanted));
    return TRUE;
}

COLORREF SetTextColor(HDC DC, COLORREF Color) {
    auto D = LookupDC(DC);
    return D ? std::exchange(D->State.TextColor, Color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetTextColor(HDC DC) {
    auto D = LookupDC(DC);
    return D ? D->State.TextColor : CLR_INVALID;
}
COLORREF SetBkColor(HDC DC, COLORREF Color) {
    auto D = LookupDC(DC);
    return D ? std::exchange(D->State.BkColor, Color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetBkColor(HDC DC) {
    auto D = LookupDC(DC);
    return D ? D->State.BkColor : CLR_INVALID;
}
int SetBkMode(HDC DC, int Mode) {
    auto D = LookupDC(DC);
    if (!D || (Mode != TRANSPARENT && Mode != OPAQUE))
        return 0;
    return std::exchange(D->State.BkMode, Mode);
}
int GetBkMode(HDC DC) {
    auto D = LookupDC(DC);
    return D ? D->State.BkMode : 0;
}
int SetROP2(HDC DC, int Mode) {
    auto D = LookupDC(DC);
    if (!D || (Mode != R2_COPYPEN && Mode != R2_NOT && Mode != R2_XORPEN))
        return 0;
    return std::exchange(D->State.Rop2, Mode);
}
int GetROP2(HDC DC) {
    auto D = LookupDC(DC);
    return D ? D->State.Rop2 : 0;
}
int SetStretchBltMode(HDC DC, int Mode) {
    auto D = LookupDC(DC);
    if (!D || Mode < BLACKONWHITE || Mode > HALFTONE)
        return 0;
    return std::exchange(D->State.StretchMode, Mode);
}
int GetStretchBltMode(HDC DC) {
    auto D = LookupDC(DC);
    return D ? D->State.StretchMode : 0;
}
BOOL SetBrushOrgEx(HDC DC, int X, int Y, TPoint* Old) {
    auto D = LookupDC(DC);
    if (!D)
        return FALSE;
    if (Old)
        *Old = D->State.BrushOrg;
    D->State.BrushOrg = {X, Y};
    return TRUE;
}

namespace {

BOOL SetOrigin(HDC DC, TPoint TDcState::*Which, TPoint Value, TPoint* Old) {
    auto D = LookupDC(DC);
    if (!D)
        return FALSE;
    if (Old)
        *Old = D->State.*Which;
    D->State.*Which = Value;
    return TRUE;
}

BOOL GetOrigin(HDC DC, TPoint TDcState::*Which, TPoint* Org) {
    auto D = LookupDC(DC);
    if (!D || !Org)
        return FALSE;
    *Org = D->State.*Which;
    return TRUE;
}

BOOL OffsetOrigin(HDC DC, TPoint TDcState::*Which, int DX, int DY, TPoint* Old) {
    auto D = LookupDC(DC);
    if (!D)
        return FALSE;
    TPoint& P = D->State.*Which;
    if (Old)
        *Old = P;
    P.X += DX;
    P.Y += DY;
    return TRUE;
}

} // namespace

BOOL SetViewportOrgEx(HDC DC, int X, int Y, TPoint* Old) {
    return SetOrigin(DC, &TDcState::ViewportOrg, {X, Y}, Old);
}
BOOL GetViewportOrgEx(HDC DC, TPoint* Org) {
    return GetOrigin(DC, &TDcState::ViewportOrg, Org);
}
BOOL OffsetViewportOrgEx(HDC DC, int DX, int DY, TPoint* Old) {
    return OffsetOrigin(DC, &TDcState::ViewportOrg, DX, DY, Old);
}
BOOL SetWindowOrgEx(HDC DC, int X, int Y, TPoint* Old) {
    return SetOrigin(DC, &TDcState::WindowOrg, {X, Y}, Old);
}
BOOL GetWindowOrgEx(HDC DC, TPoint* Org) {
    return GetOrigin(DC, &TDcState::WindowOrg, Org);
}
BOOL OffsetWindowOrgEx(HDC DC, int DX, int DY, TPoint* Old) {
    return OffsetOrigin(DC, &TDcState::WindowOrg, DX, DY, Old);
}
void MoveWindowOrg(HDC DC, int DX, int DY) {
    OffsetWindowOrgEx(DC, -DX, -DY, nullptr);
}

BOOL LPtoDP(HDC DC, TPoint* Points, int Count) {
    auto D = LookupDC(DC);
    if (!D || !Points)
        return FALSE;
    for (int i = 0; i < Count; ++i) {
        Points[i].X += D->State.ViewportOrg.X - D->State.WindowOrg.X;
        Points[i].Y += D->State.ViewportOrg.Y - D->State.WindowOrg.Y;
    }
    return TRUE;
}

BOOL DPtoLP(HDC DC, TPoint* Points, int Count) {
    auto D = LookupDC(DC);
    if (!D || !Points)
        return FALSE;
    for (int i = 0; i < Count; ++i) {
        Points[i].X -= D->State.ViewportOrg.X - D->State.WindowOrg.X;
        Points[i].Y -= D->State.ViewportOrg.Y - D->State.WindowOrg.Y;
    }
    return TRUE;
}

// ---------------------------------------------------------------- clipping

namespace {

int ClipAnswer(TDcObj& Dc) {
    TTarget T;
    if (!ResolveTarget(Dc.Self, T, false))
        return ERROR;
    if (!T.Draws)
        return Dc.State.HasClip ? Dc.State.Clip.Kind() : SIMPLEREGION;
    return T.Clip.Kind();
}

} // namespace

int SelectClipRgn(HDC DC, HRGN Region) {
    auto D = LookupDC(DC);
    if (!D)
        return ERROR;
    if (!Region) {
        D->State.HasClip = false;
        D->State.Clip = TRegion();
        return ClipAnswer(*D);
    }
    auto R = Lookup<TRegionObj>(Region, TKind::Region);
    if (!R)
        return ERROR;
    D->State.HasClip = true;
    D->State.Clip = R->Region;
    return ClipAnswer(*D);
}

int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom) {
    auto D = LookupDC(DC);
    if (!D)
        return ERROR;
    const TRegion Start = StartingClip(*D);
    D->State.Clip = Start.Intersected(LogicalToDevice(*D, Left, Top, Right, Bottom));
    D->State.HasClip = true;
    return ClipAnswer(*D);
}

int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom) {
    auto D = LookupDC(DC);
    if (!D)
        return ERROR;
    const TRegion Start = StartingClip(*D);
    D->State.Clip = TRegion::Combine(Start, TRegion(LogicalToDevice(*D, Left, Top, Right, Bottom)),
                                     TRegion::opDiff);
    D->State.HasClip = true;
    return ClipAnswer(*D);
}

int GetClipBox(HDC DC, TRect* Box) {
    TTarget T;
    if (!Box || !ResolveTarget(DC, T, false))
        return ERROR;
    const TDcState& S = T.Dc->State;
    TRect B;
    int Kind;
    if (T.Draws) {
        B = T.Clip.Bounds();
        Kind = T.Clip.Kind();
        OffsetRect(&B, -T.Offset.X, -T.Offset.Y);
    } else {
        const TRegion Clip = StartingClip(*T.Dc);
        B = Clip.Bounds();
        Kind = Clip.Kind();
    }
    if (Kind == NULLREGION) {
        *Box = {};
        return NULLREGION;
    }
    OffsetRect(&B, S.WindowOrg.X - S.ViewportOrg.X, S.WindowOrg.Y - S.ViewportOrg.Y);
    *Box = B;
    return Kind;
}

int GetClipRgn(HDC DC, HRGN Region) {
    auto D = LookupDC(DC);
    auto R = Lookup<TRegionObj>(Region, TKind::Region);
    if (!D || !R)
        return -1;
    if (!D->State.HasClip)
        return 0;
    R->Region = D->State.Clip;
    return 1;
}

// ---------------------------------------------------------------- regions

namespace {

std::shared_ptr<TRegionObj> LookupRgn(HRGN R) {
    return Lookup<TRegionObj>(R, TKind::Region);
}

} // namespace

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom) {
    auto R = std::make_shared<TRegionObj>();
    R->Region = TRegion(TRect{Left, Top, Right, Bottom});
    return MakeHandle<HRGN>(R);
}

HRGN CreateRectRgnIndirect(const TRect* R) {
    return R ? CreateRectRgn(R->Left, R->Top, R->Right, R->Bottom) : HRGN(0);
}

BOOL SetRectRgn(HRGN Region, int Left, int Top, int Right, int Bottom) {
    auto R = LookupRgn(Region);
    if (!R)
        return FALSE;
    R->Region = TRegion(TRect{Left, Top, Right, Bottom});
    return TRUE;
}

int CombineRgn(HRGN Dest, HRGN A, HRGN B, int Mode) {
    auto D = LookupRgn(Dest);
    auto RA = LookupRgn(A);
    if (!D || !RA || Mode < RGN_AND || Mode > RGN_COPY)
        return ERROR;
    if (Mode == RGN_COPY) {
        D->Region = RA->Region;
        return D->Region.Kind();
    }
    auto RB = LookupRgn(B);
    if (!RB)
        return ERROR;
    D->Region = TRegion::Combine(RA->Region, RB->Region, TRegion::TOperation(Mode));
    return D->Region.Kind();
}

int OffsetRgn(HRGN Region, int DX, int DY) {
    auto R = LookupRgn(Region);
    if (!R)
        return ERROR;
    R->Region.Offset(DX, DY);
    return R->Region.Kind();
}

BOOL PtInRegion(HRGN Region, int X, int Y) {
    auto R = LookupRgn(Region);
    return R && R->Region.Contains(X, Y);
}

BOOL RectInRegion(HRGN Region, const TRect* Rc) {
    auto R = LookupRgn(Region);
    if (!R || !Rc)
        return FALSE;
    const TRect N{std::min(Rc->Left, Rc->Right), std::min(Rc->Top, Rc->Bottom),
                  std::max(Rc->Left, Rc->Right), std::max(Rc->Top, Rc->Bottom)};
    return R->Region.Overlaps(N);
}

int GetRgnBox(HRGN Region, TRect* Box) {
    auto R = LookupRgn(Region);
    if (!R || !Box)
        return ERROR;
    *Box = R->Region.Bounds();
    return R->Region.Kind();
}

BOOL EqualRgn(HRGN A, HRGN B) {
    auto RA = LookupRgn(A);
    auto RB = LookupRgn(B);
    if (!RA || !RB)
        return ERROR;
    return RA->Region == RB->Region;
}

DWORD GetRegionData(HRGN Region, DWORD Size, RGNDATA* Data) {
    auto R = LookupRgn(Region);
    if (!R)
        return 0;
    const auto& Rects = R->Region.Rects();
    const DWORD Needed = DWORD(sizeof(RGNDATAHEADER) + Rects.size() * sizeof(TRect));
    if (!Data || Size < Needed)
        return Needed;
    RGNDATAHEADER H;
    H.nCount = DWORD(Rects.size());
    H.nRgnSize = DWORD(Rects.size() * sizeof(TRect));
    H.rcBound = R->Region.Bounds();
    std::memcpy(static_cast<void*>(Data), &H, sizeof(H));
    if (!Rects.empty())
        std::memcpy(reinterpret_cast<char*>(Data) + sizeof(H), Rects.data(),
                    Rects.size() * sizeof(TRect));
    return Needed;
}

HRGN ExtCreateRegion(const void* Transform, DWORD Size, const RGNDATA* Data) {
    if (Transform || !Data || Size < sizeof(RGNDATAHEADER))
        return 0;
    RGNDATAHEADER H;
    std::memcpy(&H, static_cast<const void*>(Data), sizeof(H));
    if (H.dwSize != sizeof(RGNDATAHEADER) || H.iType != RDH_RECTANGLES)
        return 0;
    if (std::uint64_t(H.nCount) * sizeof(TRect) > Size - sizeof(RGNDATAHEADER))
        return 0;
    std::vector<TRect> Rects(H.nCount);
    if (H.nCount)
        std::memcpy(Rects.data(), reinterpret_cast<const char*>(Data) + sizeof(H),
                    Rects.size() * sizeof(TRect));
    auto R = std::make_shared<TRegionObj>();
    R->Region = TRegion::FromRects(Rects.data(), Rects.size());
    return MakeHandle<HRGN>(R);
}
