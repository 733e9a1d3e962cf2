// Update regions, WM_PAINT, device contexts over the top-level back buffers,
// presenting, scrolling, window regions and the caret.
#include "platform/core/Clock.h"
#include "platform/win/WinInternal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace winsys {

HRGN ToHrgn(const TRegion& Rgn) {
    const auto& Rects = Rgn.Rects();
    if (Rects.empty())
        return CreateRectRgn(0, 0, 0, 0);
    if (Rects.size() == 1)
        return CreateRectRgnIndirect(&Rects[0]);
    std::vector<char> Buffer(sizeof(RGNDATAHEADER) + Rects.size() * sizeof(TRect));
    auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
    Data->rdh = RGNDATAHEADER{};
    Data->rdh.nCount = DWORD(Rects.size());
    Data->rdh.nRgnSize = DWORD(Rects.size() * sizeof(TRect));
    Data->rdh.rcBound = Rgn.Bounds();
    std::memcpy(Buffer.data() + sizeof(RGNDATAHEADER), Rects.data(), Rects.size() * sizeof(TRect));
    return ExtCreateRegion(nullptr, DWORD(Buffer.size()), Data);
}

TRegion FromHrgn(HRGN Rgn) {
    DWORD Size = GetRegionData(Rgn, 0, nullptr);
    if (!Size)
        return {};
    std::vector<char> Buffer(Size);
    auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
    if (!GetRegionData(Rgn, Size, Data))
        return {};
    auto* Rects = reinterpret_cast<const TRect*>(Buffer.data() + sizeof(RGNDATAHEADER));
    return TRegion::FromRects(Rects, Data->rdh.nCount);
}

void ResizeBuffer(TWnd* T) {
    int W = std::max(0, T->Window.Width()), H = std::max(0, T->Window.Height());
    if (W == T->BufferWidth && H == T->BufferHeight && !T->Buffer.empty())
        return;
    std::vector<std::uint32_t> New(std::size_t(std::max(W, 1)) * std::size_t(std::max(H, 1)), 0);
    // The content stays anchored at the top-left.
    int CW = std::min(W, T->BufferWidth), CH = std::min(H, T->BufferHeight);
    for (int Y = 0; Y < CH; ++Y)
        std::memcpy(&New[std::size_t(Y) * std::size_t(W)],
                    &T->Buffer[std::size_t(Y) * std::size_t(T->BufferWidth)], std::size_t(CW) * 4);
    T->Buffer = std::move(New);
    T->BufferWidth = W;
    T->BufferHeight = H;
    T->Dirty.clear();
    T->Dirty.push_back(Rect(0, 0, W, H));
}

void MarkDirty(TWnd* T, const TRect& R) {
    TRect Clipped;
    TRect All = Rect(0, 0, T->BufferWidth, T->BufferHeight);
    if (IntersectRect(&Clipped, &R, &All))
        T->Dirty.push_back(Clipped);
}

void PresentWindow(TWnd* T) {
    if (T->Dirty.empty() || !T->Surface || T->HasLayeredImage)
        return;
    TPixelView View{T->Buffer.data(), T->BufferWidth, T->BufferHeight, T->BufferWidth * 4};
    TRegion Changed = TRegion::FromRects(T->Dirty.data(), T->Dirty.size());
    T->Dirty.clear();
    Backend().Present(T->Surface, View, Changed.Rects());
}

namespace {

bool NeedsPaint(const TWnd* W) {
    return !W->Update.Empty() || W->InternalPaint || W->UpdateFrame;
}

TWnd* FindPaintIn(TWnd* W) {
    if (!(W->Style & WS_VISIBLE) || W->RedrawOff || (W->Style & WS_MINIMIZE))
        return nullptr;
    if (NeedsPaint(W))
        return W;
    for (TWnd* C : W->Children)
        if (TWnd* P = FindPaintIn(C))
            return P;
    return nullptr;
}

void InvalidateTree(TWnd* W, const TRegion& ClientRgn, bool WholeWindow, UINT Flags) {
    TRegion Area = ClientRgn.Intersected(ClientRectLocal(W));
    if (!Area.Empty()) {
        W->Update = TRegion::Combine(W->Update, Area, TRegion::opOr);
        if (Flags & RDW_ERASE)
            W->UpdateErase = true;
    }
    if ((Flags & RDW_FRAME) && WholeWindow)
        W->UpdateFrame = true;
    if (Flags & RDW_INTERNALPAINT)
        W->InternalPaint = true;
    bool Children =
        (Flags & RDW_ALLCHILDREN) || (!(Flags & RDW_NOCHILDREN) && !(W->Style & WS_CLIPCHILDREN));
    if (!Children)
        return;
    for (TWnd* C : W->Children) {
        if (!(C->Style & WS_VISIBLE))
            continue;
        TRegion Part = Area.Intersected(C->Window);
        if (Part.Empty())
            continue;
        TRect PB = Part.Bounds();
        bool Whole = PB == C->Window;
        bool TouchesFrame = !TRegion::Combine(Part, TRegion(C->Client), TRegion::opDiff).Empty();
        Part.Offset(-C->Client.Left, -C->Client.Top);
        UINT ChildFlags = Flags & ~RDW_FRAME;
        if (TouchesFrame)
            ChildFlags |= RDW_FRAME;
        InvalidateTree(C, Part, Whole || TouchesFrame, ChildFlags);
    }
}

void ValidateTree(TWnd* W, const TRegion* Rgn, bool Children) {
    if (!Rgn) {
        W->Update = {};
        W->UpdateErase = false;
        W->InternalPaint = false;
        W->UpdateFrame = false;
    } else
        W->Update = TRegion::Combine(W->Update, *Rgn, TRegion::opDiff);
    if (!Children)
        return;
    for (TWnd* C : W->Children) {
        if (!Rgn)
            ValidateTree(C, nullptr, true);
        else {
            TRegion Part = Rgn->Intersected(C->Window);
            Part.Offset(-C->Client.Left, -C->Client.Top);
            ValidateTree(C, &Part, true);
        }
    }
}

// Paints W (and its children) now, as UpdateWindow does.
void PaintNow(HWND H, bool Children) {
    TWnd* W = Ptr(H);
    if (!W || !(W->Style & WS_VISIBLE) || W->RedrawOff)
        return;
    if (NeedsPaint(W) && IsVisible(W))
        Send(W, WM_PAINT, 0, 0);
    if (!Children || !(W = Ptr(H)))
        return;
    std::vector<HWND> Kids;
    for (TWnd* C : W->Children)
        Kids.push_back(C->Handle);
    for (HWND C : Kids)
        PaintNow(C, true);
}

void EraseNow(HWND H) {
    TWnd* W = Ptr(H);
    if (!W || !IsVisible(W))
        return;
    if (W->UpdateFrame) {
        W->UpdateFrame = false;
        Send(W, WM_NCPAINT, 1, 0);
    }
    if ((W = Ptr(H)) && W->UpdateErase) {
        W->UpdateErase = false;
        HDC DC = GetDCEx(H, nullptr, DCX_CACHE);
        if (DC) {
            HRGN Clip = ToHrgn(W->Update);
            SelectClipRgn(DC, Clip);
            DeleteObject(ToObj(Clip));
            Send(W, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
            ReleaseDC(H, DC);
        }
    }
}

HDC MakeDC(TWnd* W, bool WindowArea, const TRegion& ExtraClip, bool HasExtra, bool Exclude,
           DWORD Flags, bool Paint) {
    TWnd* T = TopLevelOf(W);
    if (!T)
        return nullptr;
    if (T->Buffer.empty())
        ResizeBuffer(T);
    bool ClipChildren = (W->Style & WS_CLIPCHILDREN) || (Flags & DCX_CLIPCHILDREN);
    bool ClipSiblings = (W->Style & WS_CLIPSIBLINGS) || (Flags & DCX_CLIPSIBLINGS);
    TRegion Vis = VisibleRegion(W, !WindowArea, ClipChildren, ClipSiblings);
    TPoint Origin = WindowArea ? WindowOriginInBuffer(W) : ClientOriginInBuffer(W);
    if (HasExtra) {
        TRegion E = ExtraClip;
        E.Offset(Origin.X, Origin.Y);
        Vis = TRegion::Combine(Vis, E, Exclude ? TRegion::opDiff : TRegion::opAnd);
    }
    TSurface S;
    S.Bits = T->Buffer.data();
    S.Width = T->BufferWidth;
    S.Height = T->BufferHeight;
    S.Stride = T->BufferWidth * 4;
    HDC DC = CreateSurfaceDC(S);
    SetSurfaceDCOffset(DC, Origin.X, Origin.Y);
    TRegion Rel = Vis;
    Rel.Offset(-Origin.X, -Origin.Y);
    HRGN Clip = ToHrgn(Rel);
    SetSurfaceDCSystemClip(DC, Clip);
    DeleteObject(ToObj(Clip));
    TDcInfo Info;
    Info.Wnd = W->Handle;
    Info.Paint = Paint;
    Info.WindowArea = WindowArea;
    Info.Top = T->Handle;
    Info.Bounds = Vis.Bounds();
    G().Dcs[DC] = Info;
    return DC;
}

std::uint32_t BlendPixel(std::uint32_t Dst, std::uint32_t Src, unsigned A, bool Premultiplied) {
    std::uint32_t Out = 0;
    for (int Shift = 0; Shift <= 16; Shift += 8) {
        unsigned S = (Src >> Shift) & 0xFF, D = (Dst >> Shift) & 0xFF;
        unsigned V = Premultiplied ? S + D * (255 - A) / 255 : (S * A + D * (255 - A)) / 255;
        Out |= std::min(V, 255u) << Shift;
    }
    return Out;
}

// Composes one top-level window into the screen picture, within its region.
void ComposeWindow(TWnd* T, std::uint32_t* Screen, const TRect& Virtual) {
    TRect WR = WindowRectScreen(T);
    bool Image = T->HasLayeredImage && T->LayeredImage.size() == T->Buffer.size();
    bool Layered = T->ExStyle & WS_EX_LAYERED;
    std::optional<unsigned> Alpha;
    if (Layered && (T->LayeredFlags & LWA_ALPHA))
        Alpha = T->Alpha;
    std::optional<std::uint32_t> Key;
    if (Layered && (T->LayeredFlags & LWA_COLORKEY))
        Key = KeyRgbOf(T->Key);
    int Stride = Virtual.Width();
    const TRegion Shape = WindowRegionOf(T);
    for (TRect R : Shape.Rects()) {
        OffsetRect(&R, WR.Left, WR.Top);
        if (!IntersectRect(&R, &R, &Virtual))
            continue;
        if (!Image && !Alpha && !Key) {
            // Opaque windows copy whole row pieces.
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                std::memcpy(&Screen[std::size_t(Y - Virtual.Top) * std::size_t(Stride) +
                                    std::size_t(R.Left - Virtual.Left)],
                            &T->Buffer[std::size_t(Y - WR.Top) * std::size_t(T->BufferWidth) +
                                       std::size_t(R.Left - WR.Left)],
                            std::size_t(R.Width()) * 4);
            continue;
        }
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                std::size_t From = std::size_t(Y - WR.Top) * std::size_t(T->BufferWidth) +
                                   std::size_t(X - WR.Left);
                if (From >= T->Buffer.size())
                    continue;
                std::uint32_t& Out = Screen[std::size_t(Y - Virtual.Top) * std::size_t(Stride) +
                                            std::size_t(X - Virtual.Left)];
                if (Image) {
                    std::uint32_t Px = T->LayeredImage[From];
                    Out = BlendPixel(Out, Px & 0xFFFFFF, Px >> 24, true);
                    continue;
                }
                std::uint32_t Px = T->Buffer[From] & 0xFFFFFF;
                if (Key && Px == *Key)
                    continue;
                Out = Alpha ? BlendPixel(Out, Px, *Alpha, false) : Px;
            }
    }
}

// The screen DC reads as the program's own visible windows composed in
// z-order over black; what is drawn into it is discarded on release. The
// picture's memory comes zeroed from the system and only the windows' areas
// are touched, so measuring through it stays cheap.
HDC ScreenDC() {
    TRect Virtual =
        Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
               GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    auto* Bits = static_cast<std::uint32_t*>(
        std::calloc(std::size_t(Virtual.Width()) * std::size_t(Virtual.Height()), 4));
    if (!Bits)
        return nullptr;
    TThreadID Me = GetCurrentThreadId();
    auto& Tops = Desktop()->Children;
    for (auto It = Tops.rbegin(); It != Tops.rend(); ++It) {
        TWnd* T = *It;
        if (T->Thread == Me && (T->Style & WS_VISIBLE) && !(T->Style & WS_MINIMIZE) &&
            !T->Buffer.empty())
            ComposeWindow(T, Bits, Virtual);
    }
    TSurface S;
    S.Bits = Bits;
    S.Width = Virtual.Width();
    S.Height = Virtual.Height();
    S.Stride = Virtual.Width() * 4;
    HDC DC = CreateSurfaceDC(S);
    // Screen coordinates: the virtual screen may start left of or above 0.
    SetSurfaceDCOffset(DC, -Virtual.Left, -Virtual.Top);
    TDcInfo Info;
    Info.Wnd = GetDesktopWindow();
    Info.OwnedBits = Bits;
    G().Dcs[DC] = Info;
    return DC;
}

// ---------------------------------------------------------------- caret

struct TCaret {
    HWND Wnd = nullptr;
    int Width = 0;
    int Height = 0;
    TPoint Pos;
    int HideCount = 1; // a new caret is hidden
    bool Drawn = false;
    DWORD NextBlink = 0;
};
TCaret Caret;
constexpr UINT CaretBlinkTime = 530;

void DrawCaret() {
    TWnd* W = Ptr(Caret.Wnd);
    if (!W)
        return;
    HDC DC = MakeDC(W, false, {}, false, false, 0, false);
    if (!DC)
        return;
    TRect R = Bounds(Caret.Pos.X, Caret.Pos.Y, Caret.Width, Caret.Height);
    InvertRect(DC, &R);
    ReleaseDC(Caret.Wnd, DC);
    Caret.Drawn = !Caret.Drawn;
}

void EraseCaretIfDrawn() {
    if (Caret.Drawn)
        DrawCaret();
}

// A window's paint may cover the caret when the caret is in it or in one of
// its children: a transparent child shows what its parent paints under it.
bool CaretUnder(HWND Wnd) {
    return Caret.Wnd && (Caret.Wnd == Wnd || IsChild(Wnd, Caret.Wnd));
}

} // namespace

void DropCaretOf(TWnd* W) {
    if (Caret.Wnd == W->Handle)
        Caret = TCaret{};
}

std::optional<DWORD> InternalDeadline() {
    std::optional<DWORD> Result;
    if (Caret.Wnd && Caret.HideCount == 0)
        Result = Caret.NextBlink;
    TGlobal& Global = G();
    if (Global.Track.Wnd && Global.Track.HoverArmed) {
        if (!Result || std::int32_t(Global.Track.HoverDue - *Result) < 0)
            Result = Global.Track.HoverDue;
    }
    return Result;
}

void RunInternalTimers() {
    DWORD Now = GetTickCount();
    if (Caret.Wnd && Caret.HideCount == 0 && std::int32_t(Now - Caret.NextBlink) >= 0) {
        DrawCaret();
        Caret.NextBlink = Now + CaretBlinkTime;
    }
    TGlobal& Global = G();
    if (Global.Track.Wnd && Global.Track.HoverArmed &&
        std::int32_t(Now - Global.Track.HoverDue) >= 0) {
        Global.Track.HoverArmed = false;
        TPoint P;
        GetCursorPos(&P);
        ScreenToClient(Global.Track.Wnd, &P);
        PostMessage(Global.Track.Wnd, WM_MOUSEHOVER, 0, PointToLParam(P));
    }
}

TWnd* FindPaintWindow(TThreadID Thread) {
    for (TWnd* T : Desktop()->Children)
        if (T->Thread == Thread)
            if (TWnd* P = FindPaintIn(T))
                return P;
    return nullptr;
}

void InvalidateImpl(TWnd* W, const TRegion* Rgn, UINT Flags) {
    if (!Alive(W) || W->IsDesktop || !(W->Style & WS_VISIBLE))
        return;
    TRegion Area = Rgn ? *Rgn : TRegion(ClientRectLocal(W));
    InvalidateTree(W, Area, Rgn == nullptr, Flags);
}

void ValidateImpl(TWnd* W, const TRegion* Rgn, bool Children) {
    if (Alive(W))
        ValidateTree(W, Rgn, Children);
}

void ReleaseDcsOf(TWnd* W) {
    TGlobal& Global = G();
    for (auto It = Global.Dcs.begin(); It != Global.Dcs.end();) {
        if (It->second.Wnd == W->Handle || It->second.Top == W->Handle) {
            DeleteDC(It->first);
            if (It->second.OwnedRegion)
                DeleteObject(ToObj(It->second.OwnedRegion));
            It = Global.Dcs.erase(It);
        } else
            ++It;
    }
}

} // namespace winsys

using namespace winsys;

void FlushPresents() {
    TThreadID Me = GetCurrentThreadId();
    for (TWnd* T : Desktop()->Children)
        if (T->Thread == Me && (T->Style & WS_VISIBLE))
            PresentWindow(T);
}

BOOL InvalidateRect(HWND Wnd, const TRect* R, BOOL Erase) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    UINT Flags = RDW_INVALIDATE | (Erase ? RDW_ERASE : 0);
    if (R) {
        TRegion Rgn(*R);
        InvalidateImpl(W, &Rgn, Flags);
    } else
        InvalidateImpl(W, nullptr, Flags);
    return TRUE;
}

BOOL InvalidateRgn(HWND Wnd, HRGN Region, BOOL Erase) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    UINT Flags = RDW_INVALIDATE | (Erase ? RDW_ERASE : 0);
    if (Region) {
        TRegion Rgn = FromHrgn(Region);
        InvalidateImpl(W, &Rgn, Flags);
    } else
        InvalidateImpl(W, nullptr, Flags);
    return TRUE;
}

BOOL ValidateRect(HWND Wnd, const TRect* R) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    if (R) {
        TRegion Rgn(*R);
        ValidateImpl(W, &Rgn, false);
    } else
        ValidateImpl(W, nullptr, false);
    return TRUE;
}

BOOL ValidateRgn(HWND Wnd, HRGN Region) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    if (Region) {
        TRegion Rgn = FromHrgn(Region);
        ValidateImpl(W, &Rgn, false);
    } else
        ValidateImpl(W, nullptr, false);
    return TRUE;
}

BOOL GetUpdateRect(HWND Wnd, TRect* R, BOOL Erase) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    if (R)
        *R = W->Update.Empty() ? TRect{} : W->Update.Bounds();
    if (Erase && !W->Update.Empty())
        EraseNow(Wnd);
    return W->Update.Empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND Wnd, HRGN Region, BOOL Erase) {
    TWnd* W = Ptr(Wnd);
    if (!W || !Region)
        return ERROR;
    HRGN Copy = ToHrgn(W->Update);
    CombineRgn(Region, Copy, nullptr, RGN_COPY);
    DeleteObject(ToObj(Copy));
    int Kind = W->Update.Kind();
    if (Erase && !W->Update.Empty())
        EraseNow(Wnd);
    return Kind;
}

BOOL UpdateWindow(HWND Wnd) {
    if (!IsWindow(Wnd))
        return FALSE;
    PaintNow(Wnd, true);
    FlushPresents();
    return TRUE;
}

BOOL RedrawWindow(HWND Wnd, const TRect* R, HRGN Region, UINT Flags) {
    TWnd* W = Wnd ? Ptr(Wnd) : Desktop();
    if (!W)
        return FALSE;
    std::optional<TRegion> Area;
    if (Region)
        Area = FromHrgn(Region);
    else if (R)
        Area = TRegion(*R);
    if (Flags & RDW_INVALIDATE) {
        if (W->IsDesktop) {
            for (TWnd* T : std::vector<TWnd*>(W->Children))
                InvalidateImpl(T, nullptr, Flags | RDW_ALLCHILDREN);
        } else
            InvalidateImpl(W, Area ? &*Area : nullptr, Flags);
    }
    if (Flags & RDW_VALIDATE) {
        ValidateImpl(W, Area ? &*Area : nullptr, (Flags & RDW_ALLCHILDREN) != 0);
        if (Flags & RDW_NOFRAME)
            W->UpdateFrame = false;
        if (Flags & RDW_NOERASE)
            W->UpdateErase = false;
        if (Flags & RDW_NOINTERNALPAINT)
            W->InternalPaint = false;
    }
    if (Flags & RDW_ERASENOW)
        EraseNow(W->Handle);
    if (Flags & RDW_UPDATENOW) {
        PaintNow(W->Handle, !(Flags & RDW_NOCHILDREN));
        FlushPresents();
    }
    return TRUE;
}

HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint) {
    TWnd* W = Ptr(Wnd);
    if (!W || !Paint)
        return nullptr;
    if (CaretUnder(Wnd))
        EraseCaretIfDrawn();
    if (W->UpdateFrame) {
        W->UpdateFrame = false;
        Send(W, WM_NCPAINT, 1, 0);
        if (!(W = Ptr(Wnd)))
            return nullptr;
    }
    TRegion Rgn = W->Update.Intersected(ClientRectLocal(W));
    bool Erase = W->UpdateErase;
    W->Update = {};
    W->UpdateErase = false;
    W->InternalPaint = false;
    HDC DC = MakeDC(W, false, Rgn, true, false, 0, true);
    *Paint = PAINTSTRUCT{};
    Paint->hdc = DC;
    Paint->rcPaint = Rgn.Empty() ? TRect{} : Rgn.Bounds();
    if (Erase) {
        LRESULT Erased = Send(W, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        Paint->fErase = Erased ? FALSE : TRUE;
    }
    return DC;
}

BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint) {
    if (!Paint)
        return FALSE;
    if (Paint->hdc) {
        TGlobal& Global = G();
        auto It = Global.Dcs.find(Paint->hdc);
        if (It != Global.Dcs.end()) {
            if (TWnd* T = Ptr(It->second.Top))
                MarkDirty(T, It->second.Bounds);
            Global.Dcs.erase(It);
            DeleteDC(Paint->hdc);
        }
    }
    if (CaretUnder(Wnd) && Caret.HideCount == 0 && !Caret.Drawn)
        DrawCaret();
    return TRUE;
}

HDC GetDC(HWND Wnd) {
    if (!Wnd || Wnd == GetDesktopWindow())
        return ScreenDC();
    TWnd* W = Ptr(Wnd);
    return W ? MakeDC(W, false, {}, false, false, 0, false) : nullptr;
}

HDC GetWindowDC(HWND Wnd) {
    if (!Wnd || Wnd == GetDesktopWindow())
        return ScreenDC();
    TWnd* W = Ptr(Wnd);
    return W ? MakeDC(W, true, {}, false, false, 0, false) : nullptr;
}

HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags) {
    if (!Wnd || Wnd == GetDesktopWindow())
        return ScreenDC();
    TWnd* W = Ptr(Wnd);
    if (!W)
        return nullptr;
    bool WindowArea = Flags & DCX_WINDOW;
    bool HasExtra = Clip && reinterpret_cast<std::uintptr_t>(Clip) > 1 &&
                    (Flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN));
    TRegion Extra;
    if (HasExtra) {
        // The region is in screen coordinates.
        Extra = FromHrgn(Clip);
        TPoint O = WindowArea ? WindowOriginScreen(W) : ClientOriginScreen(W);
        Extra.Offset(-O.X, -O.Y);
    }
    HDC DC = MakeDC(W, WindowArea, Extra, HasExtra, (Flags & DCX_EXCLUDERGN) != 0, Flags, false);
    // As on the platform, the window system owns a region given this way.
    if (DC && HasExtra)
        G().Dcs[DC].OwnedRegion = Clip;
    return DC;
}

int ReleaseDC(HWND, HDC DC) {
    TGlobal& Global = G();
    auto It = Global.Dcs.find(DC);
    if (It == Global.Dcs.end())
        return 0;
    TDcInfo Info = It->second;
    Global.Dcs.erase(It);
    // Only what was drawn through the DC goes to the screen: a frame painted
    // through a window DC must not send the whole window along with it.
    std::optional<TRegion> Reached;
    if (!Info.OwnedBits) {
        HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
        if (GetSurfaceDCReachedRgn(DC, Rgn))
            Reached = FromHrgn(Rgn);
        DeleteObject(ToObj(Rgn));
    }
    DeleteDC(DC);
    if (Info.OwnedRegion)
        DeleteObject(ToObj(Info.OwnedRegion));
    if (Info.OwnedBits) {
        std::free(Info.OwnedBits);
        return 1;
    }
    if (TWnd* T = Ptr(Info.Top)) {
        if (!Reached)
            MarkDirty(T, Info.Bounds);
        else
            for (const TRect& R : Reached->Rects())
                MarkDirty(T, R);
        // Fades paint and present inside busy loops.
        if (!Info.Paint && (T->Style & WS_VISIBLE))
            PresentWindow(T);
    }
    return 1;
}

HWND WindowFromDC(HDC DC) {
    TGlobal& Global = G();
    auto It = Global.Dcs.find(DC);
    return It == Global.Dcs.end() ? nullptr : It->second.Wnd;
}

int ScrollWindowEx(HWND Wnd, int DX, int DY, const TRect* R, const TRect* Clip, HRGN Update,
                   TRect* UpdateRect, UINT Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return ERROR;
    TRect Client = ClientRectLocal(W);
    TRect Area = Client;
    if (R)
        IntersectRect(&Area, R, &Client);
    TRect ClipArea = Client;
    if (Clip)
        IntersectRect(&ClipArea, Clip, &Client);
    // Move the pixels of the visible client area within the back buffer.
    TWnd* T = TopLevelOf(W);
    TRegion Exposed(Area);
    if (T && IsVisible(W) && !T->Buffer.empty()) {
        TRegion Vis = VisibleRegion(W, true, (W->Style & WS_CLIPCHILDREN) != 0, true);
        TPoint O = ClientOriginInBuffer(W);
        TRect Src = Area;
        TRect Dst = Area;
        OffsetRect(&Dst, DX, DY);
        TRect Moved;
        IntersectRect(&Moved, &Dst, &ClipArea);
        IntersectRect(&Moved, &Moved, &Area);
        std::vector<std::uint32_t> Copy = T->Buffer;
        for (int Y = Moved.Top; Y < Moved.Bottom; ++Y)
            for (int X = Moved.Left; X < Moved.Right; ++X) {
                int SX = X - DX + O.X, SY = Y - DY + O.Y, BX = X + O.X, BY = Y + O.Y;
                if (!Vis.Contains(BX, BY) || !Vis.Contains(SX, SY))
                    continue;
                T->Buffer[std::size_t(BY) * std::size_t(T->BufferWidth) + std::size_t(BX)] =
                    Copy[std::size_t(SY) * std::size_t(T->BufferWidth) + std::size_t(SX)];
            }
        MarkDirty(T, Bounds(Area.Left + O.X, Area.Top + O.Y, Area.Width(), Area.Height()));
        (void)Src;
        Exposed = TRegion::Combine(TRegion(Area), TRegion(Moved), TRegion::opDiff);
    }
    // The update region moves with the content.
    if (!W->Update.Empty()) {
        TRegion Moving = W->Update.Intersected(Area);
        Moving.Offset(DX, DY);
        W->Update = TRegion::Combine(TRegion::Combine(W->Update, TRegion(Area), TRegion::opDiff),
                                     Moving.Intersected(Area), TRegion::opOr);
    }
    if ((Flags & SW_SCROLLCHILDREN) || !R) {
        std::vector<HWND> Kids;
        for (TWnd* C : W->Children)
            Kids.push_back(C->Handle);
        for (HWND K : Kids)
            if (TWnd* C = Ptr(K)) {
                if (R && !PtInRect(R, {C->Window.Left, C->Window.Top}))
                    continue;
                SetWindowPosImpl(C, nullptr, C->Window.Left + DX, C->Window.Top + DY, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
                if (TWnd* C2 = Ptr(K))
                    InvalidateImpl(C2, nullptr,
                                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            }
    }
    if (Update) {
        HRGN H = ToHrgn(Exposed);
        CombineRgn(Update, H, nullptr, RGN_COPY);
        DeleteObject(ToObj(H));
    }
    if (UpdateRect)
        *UpdateRect = Exposed.Empty() ? TRect{} : Exposed.Bounds();
    if (Flags & SW_INVALIDATE)
        InvalidateImpl(W, &Exposed, RDW_INVALIDATE | ((Flags & SW_ERASE) ? RDW_ERASE : 0));
    return Exposed.Kind();
}

BOOL ScrollWindow(HWND Wnd, int DX, int DY, const TRect* R, const TRect* Clip) {
    return ScrollWindowEx(Wnd, DX, DY, R, Clip, nullptr, nullptr,
                          SW_INVALIDATE | SW_ERASE | (R ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}

// ---------------------------------------------------------------- window regions

int SetWindowRgn(HWND Wnd, HRGN Region, BOOL Redraw) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return 0;
    if (Region && GetObjectType(ToObj(Region)) != OBJ_REGION)
        return 0;
    if (W->Region && W->Region != Region)
        DeleteObject(ToObj(W->Region));
    W->Region = Region;
    if (IsTopLevel(W))
        SyncSurfaceShape(W);
    if (Redraw && (W->Style & WS_VISIBLE)) {
        if (!IsTopLevel(W)) {
            TRegion Old(W->Window);
            InvalidateImpl(W->Parent, &Old, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        InvalidateImpl(W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Region) {
    TWnd* W = Ptr(Wnd);
    if (!W || !W->Region || !Region)
        return ERROR;
    return CombineRgn(Region, W->Region, nullptr, RGN_COPY);
}

// ---------------------------------------------------------------- caret

BOOL CreateCaret(HWND Wnd, HBITMAP, int Width, int Height) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    EraseCaretIfDrawn();
    Caret = TCaret{};
    Caret.Wnd = Wnd;
    Caret.Width = Width > 0 ? Width : 1;
    Caret.Height = Height > 0 ? Height : 16;
    return TRUE;
}

BOOL DestroyCaret() {
    if (!Caret.Wnd)
        return FALSE;
    EraseCaretIfDrawn();
    Caret = TCaret{};
    // Without a caret the focus window takes no text from an input method.
    Backend().SetInputMethodState(false, {});
    return TRUE;
}

BOOL ShowCaret(HWND Wnd) {
    if (!Caret.Wnd || (Wnd && Wnd != Caret.Wnd) || Caret.HideCount == 0)
        return FALSE;
    if (--Caret.HideCount == 0) {
        DrawCaret();
        Caret.NextBlink = GetTickCount() + CaretBlinkTime;
    }
    return TRUE;
}

BOOL HideCaret(HWND Wnd) {
    if (!Caret.Wnd || (Wnd && Wnd != Caret.Wnd))
        return FALSE;
    if (Caret.HideCount++ == 0)
        EraseCaretIfDrawn();
    return TRUE;
}

BOOL SetCaretPos(int X, int Y) {
    if (!Caret.Wnd)
        return FALSE;
    bool WasDrawn = Caret.Drawn;
    EraseCaretIfDrawn();
    Caret.Pos = {X, Y};
    if (WasDrawn)
        DrawCaret();
    TRect R = Bounds(X, Y, Caret.Width, Caret.Height);
    TPoint O;
    ClientToScreen(Caret.Wnd, &O);
    OffsetRect(&R, O.X, O.Y);
    Backend().SetInputMethodState(true, R);
    return TRUE;
}

BOOL GetCaretPos(TPoint* P) {
    if (!Caret.Wnd || !P)
        return FALSE;
    *P = Caret.Pos;
    return TRUE;
}

UINT GetCaretBlinkTime() {
    return CaretBlinkTime;
}
