// Scroll information and plain scroll bars, layered windows, monitors,
// metrics, settings, the clipboard, the opener, the beep and the reset.
#include "platform/core/Clock.h"
#include "platform/win/WinInternal.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>

namespace winsys {

namespace {

TScrollData* ScrollOf(HWND Wnd, int Bar) {
    TWnd* W = Ptr(Wnd);
    if (!W || (Bar != SB_HORZ && Bar != SB_VERT))
        return nullptr;
    return &W->Scroll[Bar];
}

int MaxPos(const TScrollData& S) {
    return std::max(S.Min, S.Max - std::max(int(S.Page) - 1, 0));
}

void RedrawBars(HWND Wnd, int Bar) {
    TWnd* W = Ptr(Wnd);
    if (!W || !IsVisible(W))
        return;
    DWORD Need = Bar == SB_VERT   ? WS_VSCROLL
                 : Bar == SB_HORZ ? WS_HSCROLL
                                  : WS_VSCROLL | WS_HSCROLL;
    if (W->Style & Need)
        PaintPlainFrame(W);
}

struct TBarGeometry {
    TRect Bar, Arrow1, Arrow2, Thumb;
    bool Vertical = true;
};

TBarGeometry Geometry(TWnd* W, int Bar);

} // namespace

TRect ScrollBarRect(TWnd* W, int Bar) {
    TRect C = W->Client;
    OffsetRect(&C, -W->Window.Left, -W->Window.Top);
    if (Bar == SB_VERT && (W->Style & WS_VSCROLL))
        return Rect(C.Right, C.Top, C.Right + GetSystemMetrics(SM_CXVSCROLL), C.Bottom);
    if (Bar == SB_HORZ && (W->Style & WS_HSCROLL))
        return Rect(C.Left, C.Bottom, C.Right, C.Bottom + GetSystemMetrics(SM_CYHSCROLL));
    return {};
}

namespace {

TBarGeometry Geometry(TWnd* W, int Bar) {
    TBarGeometry G;
    G.Vertical = Bar == SB_VERT;
    G.Bar = ScrollBarRect(W, Bar);
    int Len = G.Vertical ? G.Bar.Height() : G.Bar.Width();
    int Arrow = std::min(GetSystemMetrics(SM_CYVSCROLL), Len / 2);
    const TScrollData& S = W->Scroll[Bar];
    int Track = std::max(0, Len - 2 * Arrow);
    int Range = S.Max - S.Min + 1;
    int ThumbLen = S.Page ? std::max(8, int(std::int64_t(Track) * S.Page / std::max(1, Range)))
                          : GetSystemMetrics(SM_CYVTHUMB);
    ThumbLen = std::min(ThumbLen, Track);
    int Span = MaxPos(S) - S.Min;
    int Offset = Span > 0 ? int(std::int64_t(Track - ThumbLen) * (S.Pos - S.Min) / Span) : 0;
    if (G.Vertical) {
        G.Arrow1 = Rect(G.Bar.Left, G.Bar.Top, G.Bar.Right, G.Bar.Top + Arrow);
        G.Arrow2 = Rect(G.Bar.Left, G.Bar.Bottom - Arrow, G.Bar.Right, G.Bar.Bottom);
        G.Thumb = Rect(G.Bar.Left, G.Arrow1.Bottom + Offset, G.Bar.Right,
                       G.Arrow1.Bottom + Offset + ThumbLen);
    } else {
        G.Arrow1 = Rect(G.Bar.Left, G.Bar.Top, G.Bar.Left + Arrow, G.Bar.Bottom);
        G.Arrow2 = Rect(G.Bar.Right - Arrow, G.Bar.Top, G.Bar.Right, G.Bar.Bottom);
        G.Thumb = Rect(G.Arrow1.Right + Offset, G.Bar.Top, G.Arrow1.Right + Offset + ThumbLen,
                       G.Bar.Bottom);
    }
    return G;
}

enum TBarPart { bpNone, bpArrow1, bpArrow2, bpPage1, bpPage2, bpThumb };

TBarPart PartAt(const TBarGeometry& G, TPoint P) {
    if (!PtInRect(&G.Bar, P))
        return bpNone;
    if (PtInRect(&G.Arrow1, P))
        return bpArrow1;
    if (PtInRect(&G.Arrow2, P))
        return bpArrow2;
    if (PtInRect(&G.Thumb, P))
        return bpThumb;
    bool Before = G.Vertical ? P.Y < G.Thumb.Top : P.X < G.Thumb.Left;
    return Before ? bpPage1 : bpPage2;
}

WPARAM PartCode(TBarPart Part) {
    switch (Part) {
    case bpArrow1:
        return SB_LINEUP;
    case bpArrow2:
        return SB_LINEDOWN;
    case bpPage1:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

void DrawArrow(HDC DC, TRect R, int Direction) {
    TRect E = R;
    DrawEdge(DC, &E, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    HPEN Pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ Old = SelectObject(DC, ToObj(Pen));
    int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
    for (int I = 0; I < 4; ++I) {
        switch (Direction) {
        case 0: // up
            MoveToEx(DC, CX - I, CY - 2 + I, nullptr);
            LineTo(DC, CX + I + 1, CY - 2 + I);
            break;
        case 1: // down
            MoveToEx(DC, CX - I, CY + 1 - I, nullptr);
            LineTo(DC, CX + I + 1, CY + 1 - I);
            break;
        case 2: // left
            MoveToEx(DC, CX - 2 + I, CY - I, nullptr);
            LineTo(DC, CX - 2 + I, CY + I + 1);
            break;
        default: // right
            MoveToEx(DC, CX + 1 - I, CY - I, nullptr);
            LineTo(DC, CX + 1 - I, CY + I + 1);
            break;
        }
    }
    SelectObject(DC, Old);
    DeleteObject(ToObj(Pen));
}

} // namespace

void PaintScrollBars(TWnd* W, HDC DC) {
    for (int Bar : {SB_VERT, SB_HORZ}) {
        TBarGeometry G = Geometry(W, Bar);
        if (IsRectEmpty(&G.Bar))
            continue;
        FillRect(DC, &G.Bar, GetSysColorBrush(COLOR_SCROLLBAR));
        DrawArrow(DC, G.Arrow1, G.Vertical ? 0 : 2);
        DrawArrow(DC, G.Arrow2, G.Vertical ? 1 : 3);
        if (!IsRectEmpty(&G.Thumb) && W->Scroll[Bar].Max > W->Scroll[Bar].Min) {
            TRect T = G.Thumb;
            DrawEdge(DC, &T, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        }
    }
    if ((W->Style & WS_VSCROLL) && (W->Style & WS_HSCROLL)) {
        TRect V = ScrollBarRect(W, SB_VERT), H = ScrollBarRect(W, SB_HORZ);
        TRect Corner = Rect(H.Right, V.Bottom, V.Right, H.Bottom);
        FillRect(DC, &Corner, GetSysColorBrush(COLOR_BTNFACE));
    }
}

// Tracks a press on a plain scroll bar until the release: arrows and the
// track repeat while held, the thumb follows the pointer.
void TrackScrollBar(TWnd* W, int Bar, TPoint Screen) {
    constexpr DWORD FirstDelay = 200, RepeatDelay = 50;
    HWND H = W->Handle;
    TGlobal& Global = G();
    TThreadQueue& Q = CurrentQueue();
    UINT Msg = Bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    TRect WR = WindowRectScreen(W);
    auto Local = [&](TPoint P) { return TPoint{P.X - WR.Left, P.Y - WR.Top}; };
    TBarGeometry Geo = Geometry(W, Bar);
    TBarPart Part = PartAt(Geo, Local(Screen));
    if (Part == bpNone || !(Global.AsyncKeyState[VK_LBUTTON] & 0x80))
        return;
    SetCapture(H);
    Global.CancelTracking = false;
    TPoint Pointer = Screen;
    int Grab = Geo.Vertical ? Local(Screen).Y - Geo.Thumb.Top : Local(Screen).X - Geo.Thumb.Left;
    int TrackPos = W->Scroll[Bar].Pos;
    DWORD Next = GetTickCount() + FirstDelay;
    if (Part != bpThumb)
        Send(W, Msg, PartCode(Part), 0);
    for (;;) {
        HandleSentMessages(Q);
        PullBackendEvents(Q);
        if (!Ptr(H) || Global.CancelTracking)
            break;
        if (!Q.RawInput.empty()) {
            TRawInput In = Q.RawInput.front();
            Q.RawInput.pop_front();
            if (In.Event.Kind == TBackendEventKind::ButtonUp && In.Event.Button == 0)
                break;
            if (In.Event.Kind != TBackendEventKind::PointerMove)
                continue;
            Pointer = In.Event.Point;
            if (Part == bpThumb) {
                TBarGeometry G = Geometry(W, Bar);
                TScrollData& S = W->Scroll[Bar];
                int Track =
                    (G.Vertical ? G.Arrow2.Top - G.Arrow1.Bottom : G.Arrow2.Left - G.Arrow1.Right) -
                    (G.Vertical ? G.Thumb.Height() : G.Thumb.Width());
                int At = (G.Vertical ? Local(Pointer).Y - G.Arrow1.Bottom
                                     : Local(Pointer).X - G.Arrow1.Right) -
                         Grab;
                int Span = MaxPos(S) - S.Min;
                int Pos = Track > 0
                              ? S.Min + int(std::int64_t(std::clamp(At, 0, Track)) * Span / Track)
                              : S.Min;
                if (Pos != TrackPos) {
                    TrackPos = Pos;
                    S.TrackPos = Pos;
                    Send(W, Msg, MAKEWPARAM(SB_THUMBTRACK, unsigned(Pos)), 0);
                }
            }
            continue;
        }
        const TModalStep Step = DispatchModalMessage(Q);
        if (Step == TModalStep::Quit)
            break;
        if (Step == TModalStep::Dispatched)
            continue;
        if (Part != bpThumb && std::int32_t(GetTickCount() - Next) >= 0) {
            Next = GetTickCount() + RepeatDelay;
            WR = WindowRectScreen(W);
            if (PartAt(Geometry(W, Bar), Local(Pointer)) == Part)
                Send(W, Msg, PartCode(Part), 0);
            continue;
        }
        WaitForMessages(Q, "the scroll bar tracking",
                        Part != bpThumb ? std::optional<DWORD>(Next) : std::nullopt);
    }
    if (Ptr(H)) {
        if (Part == bpThumb)
            Send(W, Msg, MAKEWPARAM(SB_THUMBPOSITION, unsigned(TrackPos)), 0);
        if (Ptr(H))
            Send(W, Msg, SB_ENDSCROLL, 0);
    }
    if (Global.Capture == H)
        ReleaseCapture();
}

} // namespace winsys

using namespace winsys;

// ---------------------------------------------------------------- scroll information

int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO* Info, BOOL Redraw) {
    TScrollData* S = ScrollOf(Wnd, Bar);
    if (!S || !Info)
        return 0;
    if (Info->fMask & SIF_RANGE) {
        S->Min = Info->nMin;
        S->Max = std::max(Info->nMin, Info->nMax);
    }
    if (Info->fMask & SIF_PAGE)
        S->Page = std::min<UINT>(Info->nPage, UINT(S->Max - S->Min + 1));
    if (Info->fMask & SIF_POS)
        S->Pos = Info->nPos;
    S->Pos = std::clamp(S->Pos, S->Min, MaxPos(*S));
    if (Redraw)
        RedrawBars(Wnd, Bar);
    return S->Pos;
}

BOOL GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO* Info) {
    TScrollData* S = ScrollOf(Wnd, Bar);
    if (!S || !Info)
        return FALSE;
    if (Info->fMask & SIF_RANGE) {
        Info->nMin = S->Min;
        Info->nMax = S->Max;
    }
    if (Info->fMask & SIF_PAGE)
        Info->nPage = S->Page;
    if (Info->fMask & SIF_POS)
        Info->nPos = S->Pos;
    if (Info->fMask & SIF_TRACKPOS)
        Info->nTrackPos = S->TrackPos;
    return TRUE;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, BOOL Redraw) {
    TScrollData* S = ScrollOf(Wnd, Bar);
    if (!S)
        return 0;
    int Old = S->Pos;
    SCROLLINFO SI;
    SI.fMask = SIF_POS;
    SI.nPos = Pos;
    SetScrollInfo(Wnd, Bar, &SI, Redraw);
    return Old;
}

int GetScrollPos(HWND Wnd, int Bar) {
    TScrollData* S = ScrollOf(Wnd, Bar);
    return S ? S->Pos : 0;
}

BOOL SetScrollRange(HWND Wnd, int Bar, int Min, int Max, BOOL Redraw) {
    SCROLLINFO SI;
    SI.fMask = SIF_RANGE;
    SI.nMin = Min;
    SI.nMax = Max;
    return ScrollOf(Wnd, Bar) && SetScrollInfo(Wnd, Bar, &SI, Redraw) >= INT_MIN;
}

BOOL GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max) {
    TScrollData* S = ScrollOf(Wnd, Bar);
    if (!S)
        return FALSE;
    if (Min)
        *Min = S->Min;
    if (Max)
        *Max = S->Max;
    return TRUE;
}

BOOL ShowScrollBar(HWND Wnd, int Bar, BOOL Show) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    DWORD Bits = Bar == SB_VERT   ? WS_VSCROLL
                 : Bar == SB_HORZ ? WS_HSCROLL
                 : Bar == SB_BOTH ? WS_VSCROLL | WS_HSCROLL
                                  : 0;
    DWORD New = Show ? (W->Style | Bits) : (W->Style & ~Bits);
    if (New == W->Style)
        return TRUE;
    W->Style = New;
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    for (int B : {SB_HORZ, SB_VERT})
        if (Bar == UINT(B) || Bar == UINT(SB_BOTH))
            W->Scroll[B].Disabled = Arrows;
    return TRUE;
}

// ---------------------------------------------------------------- layered windows

BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W || !(W->ExStyle & WS_EX_LAYERED) || !IsTopLevel(W))
        return FALSE;
    W->Key = Key;
    W->Alpha = Alpha;
    W->LayeredFlags = Flags & (LWA_ALPHA | LWA_COLORKEY);
    if (W->HasLayeredImage) {
        // Back to painting through WM_PAINT.
        W->HasLayeredImage = false;
        if (W->Surface)
            Backend().SetImage(W->Surface, {});
        W->LayeredImage.clear();
        InvalidateImpl(W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    SyncSurfaceLayering(W);
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND Wnd, COLORREF* Key, BYTE* Alpha, DWORD* Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W || !(W->ExStyle & WS_EX_LAYERED) || W->HasLayeredImage)
        return FALSE;
    if (Key)
        *Key = W->Key;
    if (Alpha)
        *Alpha = W->Alpha;
    if (Flags)
        *Flags = W->LayeredFlags;
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND Wnd, HDC, const TPoint* DestPos, const TSize* Size, HDC SrcDC,
                         const TPoint* SrcPos, COLORREF Key, const BLENDFUNCTION* Blend,
                         DWORD Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W || !(W->ExStyle & WS_EX_LAYERED) || !IsTopLevel(W))
        return FALSE;
    if (DestPos || Size) {
        TRect R = W->Window;
        int X = DestPos ? DestPos->X : R.Left, Y = DestPos ? DestPos->Y : R.Top;
        int Cx = Size ? Size->cx : R.Width(), Cy = Size ? Size->cy : R.Height();
        SetWindowPosImpl(W, nullptr, X, Y, Cx, Cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (!Ptr(Wnd))
            return FALSE;
    }
    if (!SrcDC)
        return TRUE;
    TDCSurfaceInfo Info;
    if (!GetDCSurfaceInfo(SrcDC, &Info, false) || Info.BitCount != 32)
        return FALSE;
    int Width = W->Window.Width(), Height = W->Window.Height();
    TPoint SP = SrcPos ? *SrcPos : TPoint{0, 0};
    std::vector<std::uint32_t> Image(std::size_t(Width) * std::size_t(Height), 0);
    unsigned Constant = Blend ? Blend->SourceConstantAlpha : 255;
    bool PerPixel = (Flags & ULW_ALPHA) && Blend && (Blend->AlphaFormat & AC_SRC_ALPHA);
    for (int Y = 0; Y < Height; ++Y) {
        int SY = Y + SP.Y + Info.Offset.Y;
        if (SY < 0 || SY >= Info.Height)
            continue;
        const auto* Row = static_cast<const std::uint8_t*>(Info.Bits) +
                          std::ptrdiff_t(Info.BottomUp ? Info.Height - 1 - SY : SY) * Info.Stride;
        for (int X = 0; X < Width; ++X) {
            int SX = X + SP.X + Info.Offset.X;
            if (SX < 0 || SX >= Info.Width)
                continue;
            std::uint32_t Px;
            std::memcpy(&Px, Row + std::ptrdiff_t(SX) * 4, 4);
            unsigned A = PerPixel ? Px >> 24 : 255;
            if ((Flags & ULW_COLORKEY) && (Px & 0xFFFFFF) == KeyRgbOf(Key))
                A = 0, Px = 0;
            if (!PerPixel && A) // opaque pixels are premultiplied by 255
                Px = (Px & 0xFFFFFF) | 0xFF000000u;
            std::uint32_t Out = 0;
            for (int Shift = 0; Shift < 24; Shift += 8)
                Out |= (((Px >> Shift) & 0xFF) * Constant / 255) << Shift;
            Out |= (A * Constant / 255) << 24;
            Image[std::size_t(Y) * std::size_t(Width) + std::size_t(X)] = Out;
        }
    }
    W->HasLayeredImage = true;
    EnsureSurface(W);
    Backend().SetImage(W->Surface, {Image.data(), Width, Height, Width * 4});
    W->LayeredImage = std::move(Image);
    // The picture replaces painting: nothing is left to paint.
    ValidateImpl(W, nullptr, true);
    return TRUE;
}

// ---------------------------------------------------------------- monitors and metrics

namespace {

HMONITOR MonitorHandle(std::size_t Index) {
    return reinterpret_cast<HMONITOR>(Index + 1);
}

std::optional<TScreenInfo> MonitorOf(HMONITOR M) {
    auto Screens = Backend().Screens();
    auto I = reinterpret_cast<std::uintptr_t>(M);
    if (I == 0 || I > Screens.size())
        return std::nullopt;
    return Screens[I - 1];
}

std::size_t PrimaryIndex(const std::vector<TScreenInfo>& Screens) {
    for (std::size_t I = 0; I < Screens.size(); ++I)
        if (Screens[I].Primary)
            return I;
    return 0;
}

TRect VirtualScreen() {
    auto Screens = Backend().Screens();
    if (Screens.empty())
        return Rect(0, 0, 1920, 1080);
    TRect R = Screens[0].Bounds;
    for (auto& S : Screens)
        UnionRect(&R, &R, &S.Bounds);
    return R;
}

TScreenInfo Primary() {
    auto Screens = Backend().Screens();
    if (Screens.empty())
        return {Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true};
    return Screens[PrimaryIndex(Screens)];
}

} // namespace

HMONITOR MonitorFromRect(const TRect* R, DWORD Flags) {
    if (!R)
        return nullptr;
    auto Screens = Backend().Screens();
    if (Screens.empty())
        return nullptr;
    long long Best = 0;
    std::optional<std::size_t> Found;
    for (std::size_t I = 0; I < Screens.size(); ++I) {
        TRect X;
        if (IntersectRect(&X, R, &Screens[I].Bounds)) {
            long long Area = 1LL * X.Width() * X.Height();
            if (Area > Best) {
                Best = Area;
                Found = I;
            }
        }
    }
    if (!Found && IsRectEmpty(R)) {
        TPoint P{R->Left, R->Top};
        for (std::size_t I = 0; I < Screens.size(); ++I)
            if (PtInRect(&Screens[I].Bounds, P))
                Found = I;
    }
    if (Found)
        return MonitorHandle(*Found);
    if (Flags == MONITOR_DEFAULTTOPRIMARY)
        return MonitorHandle(PrimaryIndex(Screens));
    if (Flags == MONITOR_DEFAULTTONEAREST) {
        long long BestDist = -1;
        std::size_t Nearest = 0;
        for (std::size_t I = 0; I < Screens.size(); ++I) {
            const TRect& B = Screens[I].Bounds;
            long long DX = std::max({0, B.Left - R->Right, R->Left - B.Right});
            long long DY = std::max({0, B.Top - R->Bottom, R->Top - B.Bottom});
            long long D = DX * DX + DY * DY;
            if (BestDist < 0 || D < BestDist) {
                BestDist = D;
                Nearest = I;
            }
        }
        return MonitorHandle(Nearest);
    }
    return nullptr;
}

HMONITOR MonitorFromPoint(TPoint P, DWORD Flags) {
    TRect R = Bounds(P.X, P.Y, 1, 1);
    return MonitorFromRect(&R, Flags);
}

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return Flags == MONITOR_DEFAULTTONULL ? nullptr
                                              : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    TWnd* T = TopLevelOf(W);
    TRect R = T && (T->Style & WS_MINIMIZE) ? T->Normal : WindowRectScreen(W);
    return MonitorFromRect(&R, Flags);
}

BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info) {
    auto S = MonitorOf(Monitor);
    if (!S || !Info || (Info->cbSize != 40 && Info->cbSize != 104))
        return FALSE;
    Info->rcMonitor = S->Bounds;
    Info->rcWork = S->WorkArea;
    Info->dwFlags = S->Primary ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFOEX* Info) {
    auto S = MonitorOf(Monitor);
    if (!S || !Info || Info->cbSize != 104)
        return FALSE;
    Info->rcMonitor = S->Bounds;
    Info->rcWork = S->WorkArea;
    Info->dwFlags = S->Primary ? MONITORINFOF_PRIMARY : 0;
    std::string Name = "DISPLAY" + std::to_string(reinterpret_cast<std::uintptr_t>(Monitor));
    std::snprintf(Info->szDevice, sizeof Info->szDevice, "%s", Name.c_str());
    return TRUE;
}

BOOL EnumDisplayMonitors(HDC, const TRect* Clip, const MONITORENUMPROC& Proc, LPARAM LParam) {
    if (!Proc)
        return FALSE;
    auto Screens = Backend().Screens();
    for (std::size_t I = 0; I < Screens.size(); ++I) {
        TRect R = Screens[I].Bounds;
        if (Clip && !IntersectRect(&R, &R, Clip))
            continue;
        if (!Proc(MonitorHandle(I), nullptr, &R, LParam))
            break;
    }
    return TRUE;
}

int GetSystemMetrics(int Index) {
    switch (Index) {
    case SM_CXSCREEN:
        return Primary().Bounds.Width();
    case SM_CYSCREEN:
        return Primary().Bounds.Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
        return 17;
    case SM_CYCAPTION:
    case SM_CYMENU:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXFULLSCREEN:
        return Primary().WorkArea.Width();
    case SM_CYFULLSCREEN:
        return Primary().WorkArea.Height() - 19;
    case SM_SWAPBUTTON:
        return 0;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME:
        return 4;
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMINTRACK:
        return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CMOUSEBUTTONS:
        return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
        return 13;
    case SM_CXMAXTRACK:
        return VirtualScreen().Width() + 2 * 4 + 4;
    case SM_CYMAXTRACK:
        return VirtualScreen().Height() + 2 * 4 + 4;
    case SM_CXMAXIMIZED:
        return Primary().WorkArea.Width() + 2 * 4;
    case SM_CYMAXIMIZED:
        return Primary().WorkArea.Height() + 2 * 4;
    case SM_MOUSEWHEELPRESENT:
        return 1;
    case SM_XVIRTUALSCREEN:
        return VirtualScreen().Left;
    case SM_YVIRTUALSCREEN:
        return VirtualScreen().Top;
    case SM_CXVIRTUALSCREEN:
        return VirtualScreen().Width();
    case SM_CYVIRTUALSCREEN:
        return VirtualScreen().Height();
    case SM_CMONITORS:
        return int(Backend().Screens().size());
    default:
        return 0;
    }
}

BOOL SystemParametersInfo(UINT Action, UINT, void* Value, UINT) {
    if (!Value)
        return FALSE;
    switch (Action) {
    case SPI_GETWORKAREA:
        *static_cast<TRect*>(Value) = Primary().WorkArea;
        return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
        *static_cast<BOOL*>(Value) = TRUE;
        return TRUE;
    case SPI_GETWHEELSCROLLLINES:
        *static_cast<UINT*>(Value) = 3;
        return TRUE;
    default:
        return FALSE;
    }
}

DWORD GetVersion() {
    return 6u | (1u << 8) | (7601u << 16);
}

bool HasCompositor() {
    return Backend().HasCompositor();
}

// ---------------------------------------------------------------- other services

BOOL MessageBeep(UINT Type) {
    Backend().Beep(Type);
    return TRUE;
}

namespace {

struct TGlobalBlock {
    std::vector<char> Data;
};

std::mutex BlocksLock;
std::set<TGlobalBlock*>& Blocks() {
    static std::set<TGlobalBlock*> B;
    return B;
}

TGlobalBlock* Block(HGLOBAL H) {
    std::lock_guard Guard(BlocksLock);
    auto* B = static_cast<TGlobalBlock*>(H);
    return Blocks().count(B) ? B : nullptr;
}

void DropBlock(HGLOBAL& Block) {
    if (Block) {
        GlobalFree(Block);
        Block = nullptr;
    }
}

void DropClipboardData() {
    TGlobal& Global = G();
    DropBlock(Global.ClipboardData);
    DropBlock(Global.ClipboardPicture);
}

// Makes Data the one block the clipboard owns, in the slot of its format; a
// block it already holds is kept, not freed under the caller.
void TakeClipboardBlock(HGLOBAL Data, HGLOBAL& Slot) {
    TGlobal& Global = G();
    for (HGLOBAL* Held : {&Global.ClipboardData, &Global.ClipboardPicture}) {
        if (*Held == Data)
            *Held = nullptr;
        DropBlock(*Held);
    }
    Slot = Data;
}

// A packed 32-bit DIB (header, pixels) as a clipboard picture; false for any
// other layout or a block too short for its header's size.
bool PictureOfDib(const std::vector<char>& Data, TClipboardPicture& Picture) {
    BITMAPINFOHEADER H;
    if (Data.size() < sizeof H)
        return false;
    std::memcpy(&H, Data.data(), sizeof H);
    const std::int64_t W = H.biWidth;
    const std::int64_t AbsH = std::llabs(std::int64_t(H.biHeight));
    if (H.biSize < sizeof H || H.biBitCount != 32 || H.biCompression != BI_RGB || W <= 0 ||
        AbsH == 0 || H.biClrUsed > 256)
        return false;
    const std::uint64_t Offset = std::uint64_t(H.biSize) + std::uint64_t(H.biClrUsed) * 4;
    const std::uint64_t Bytes = std::uint64_t(W) * std::uint64_t(AbsH) * 4;
    if (Offset > Data.size() || Bytes > Data.size() - Offset)
        return false;
    Picture.Width = int(W);
    Picture.Height = int(AbsH);
    Picture.Pixels.resize(std::size_t(W * AbsH));
    const char* Bits = Data.data() + Offset;
    for (std::int64_t Y = 0; Y < AbsH; ++Y) {
        // A positive height stores the rows bottom-up.
        const std::int64_t Row = H.biHeight > 0 ? AbsH - 1 - Y : Y;
        std::memcpy(&Picture.Pixels[std::size_t(Y * W)], Bits + Row * W * 4, std::size_t(W * 4));
    }
    return true;
}

std::vector<char> DibOfPicture(const TClipboardPicture& Picture) {
    BITMAPINFOHEADER H;
    H.biWidth = Picture.Width;
    H.biHeight = -Picture.Height;
    H.biBitCount = 32;
    H.biSizeImage = DWORD(Picture.Pixels.size() * 4);
    std::vector<char> Data(sizeof H + Picture.Pixels.size() * 4);
    std::memcpy(Data.data(), &H, sizeof H);
    if (!Picture.Pixels.empty())
        std::memcpy(Data.data() + sizeof H, Picture.Pixels.data(), Picture.Pixels.size() * 4);
    return Data;
}

HANDLE GetClipboardPicture() {
    TGlobal& Global = G();
    TClipboardPicture Picture;
    if (!Backend().ClipboardPicture(Picture))
        return nullptr;
    std::vector<char> Data = DibOfPicture(Picture);
    // As for text: a block handed out before stays valid while it holds the
    // same picture.
    if (TGlobalBlock* Held = Block(Global.ClipboardPicture); Held && Held->Data == Data)
        return Global.ClipboardPicture;
    DropBlock(Global.ClipboardPicture);
    HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, Data.size());
    std::memcpy(GlobalLock(H), Data.data(), Data.size());
    Global.ClipboardPicture = H;
    return H;
}

} // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t Bytes) {
    auto* B = new TGlobalBlock;
    B->Data.assign(Bytes, 0);
    std::lock_guard Guard(BlocksLock);
    Blocks().insert(B);
    return B;
}

void* GlobalLock(HGLOBAL Memory) {
    TGlobalBlock* B = Block(Memory);
    return B ? B->Data.data() : nullptr;
}

BOOL GlobalUnlock(HGLOBAL Memory) {
    return Block(Memory) ? TRUE : FALSE;
}

std::size_t GlobalSize(HGLOBAL Memory) {
    TGlobalBlock* B = Block(Memory);
    return B ? B->Data.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL Memory) {
    std::lock_guard Guard(BlocksLock);
    auto* B = static_cast<TGlobalBlock*>(Memory);
    if (!Blocks().erase(B))
        return Memory;
    delete B;
    return nullptr;
}

BOOL OpenClipboard(HWND) {
    TGlobal& Global = G();
    if (Global.ClipboardOpen)
        return FALSE;
    Global.ClipboardOpen = true;
    return TRUE;
}

BOOL CloseClipboard() {
    TGlobal& Global = G();
    if (!Global.ClipboardOpen)
        return FALSE;
    Global.ClipboardOpen = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    TGlobal& Global = G();
    if (!Global.ClipboardOpen)
        return FALSE;
    DropClipboardData();
    Backend().SetClipboardText("");
    return TRUE;
}

HANDLE SetClipboardData(UINT Format, HANDLE Data) {
    TGlobal& Global = G();
    TGlobalBlock* B = Block(Data);
    if (!Global.ClipboardOpen || !B)
        return nullptr;
    if (Format == CF_DIB) {
        TClipboardPicture Picture;
        if (!PictureOfDib(B->Data, Picture))
            return nullptr;
        Backend().SetClipboardPicture(Picture);
        // A desktop that keeps no pictures took nothing: the caller keeps
        // the block and learns it.
        if (!Backend().HasClipboardPicture())
            return nullptr;
        TakeClipboardBlock(Data, Global.ClipboardPicture);
        return Data;
    }
    if (Format != CF_TEXT && Format != CF_UNICODETEXT)
        return nullptr;
    std::string Text(B->Data.data(), strnlen(B->Data.data(), B->Data.size()));
    Backend().SetClipboardText(Text);
    // The clipboard owns the block from now on.
    TakeClipboardBlock(Data, Global.ClipboardData);
    return Data;
}

HANDLE GetClipboardData(UINT Format) {
    TGlobal& Global = G();
    if (Global.ClipboardOpen && Format == CF_DIB)
        return GetClipboardPicture();
    if (!Global.ClipboardOpen || (Format != CF_TEXT && Format != CF_UNICODETEXT) ||
        !Backend().HasClipboardText())
        return nullptr;
    std::string Text = Backend().ClipboardText();
    // A block handed out before stays valid while it holds the same text, so
    // that asking twice does not free what the caller may still be reading.
    if (TGlobalBlock* Held = Block(Global.ClipboardData);
        Held &&
        std::string(Held->Data.data(), strnlen(Held->Data.data(), Held->Data.size())) == Text)
        return Global.ClipboardData;
    DropBlock(Global.ClipboardData);
    HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    std::memcpy(GlobalLock(H), Text.c_str(), Text.size() + 1);
    Global.ClipboardData = H;
    return H;
}

BOOL IsClipboardFormatAvailable(UINT Format) {
    if (Format == CF_DIB)
        return Backend().HasClipboardPicture();
    return (Format == CF_TEXT || Format == CF_UNICODETEXT) && Backend().HasClipboardText();
}

std::intptr_t ShellExecute(HWND, const char* Verb, const char* File, const char*, const char*,
                           int) {
    if (Verb && *Verb && std::string(Verb) != "open")
        return SE_ERR_NOASSOC;
    if (!File || !*File)
        return 2;
    return Backend().Open(File) ? 42 : 2;
}

// ---------------------------------------------------------------- reset

void ResetWindowSystem() {
    TGlobal& Global = G();
    Global.Hook = nullptr;
    TThreadID Me = GetCurrentThreadId();
    std::vector<HWND> Tops;
    for (TWnd* T : Desktop()->Children)
        if (T->Thread == Me)
            Tops.push_back(T->Handle);
    for (HWND T : Tops)
        DestroyWindow(T);
    ResetNotifyIcons();
    DestroyCaret();
    TThreadQueue& Q = CurrentQueue();
    {
        std::lock_guard Guard(Q.Lock);
        Q.Posted.clear();
        Q.WakePending = false;
    }
    HandleSentMessages(Q);
    Q.RawInput.clear();
    Q.Input.clear();
    Q.QuitPosted = false;
    Q.Timers.clear();
    TBackendEvent E;
    while (Backend().NextEvent(E)) {
    }
    for (auto& [DC, Info] : Global.Dcs) {
        DeleteDC(DC);
        std::free(Info.OwnedBits);
        if (Info.OwnedRegion)
            DeleteObject(ToObj(Info.OwnedRegion));
    }
    Global.Dcs.clear();
    {
        std::lock_guard Guard(Global.Lock);
        Global.Classes.clear();
    }
    Global.Active = Global.Focus = Global.Capture = nullptr;
    Global.AppActive = false;
    std::fill(std::begin(Global.KeyState), std::end(Global.KeyState), 0);
    std::fill(std::begin(Global.AsyncKeyState), std::end(Global.AsyncKeyState), 0);
    Global.AltAlone = false;
    Global.Cursor = nullptr;
    Global.CursorShowCount = 0;
    Global.DoubleClickTime = 500;
    Global.LastClick = {};
    Global.Track = {};
    Global.MouseWnd = nullptr;
    Global.PointerPos.reset();
    Global.LastKey = {};
    Global.InSizeMove = false;
    Global.CancelTracking = false;
    Global.ClipboardOpen = false;
    DropClipboardData();
}
