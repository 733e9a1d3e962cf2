// Creation and destruction, geometry, z-order, showing and window states.
#include "platform/win/WinInternal.h"

#include <algorithm>

namespace winsys {
std::shared_ptr<TClassInfo> LookupClass(const char* Name);
void FreeWindowResources(TWnd* Wnd);
void DropCaretOf(TWnd* Wnd);

namespace {

// Internal flags of WM_WINDOWPOSCHANGED: the client area neither moved nor
// changed size, so DefWindowProc sends no WM_MOVE or WM_SIZE.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

TPoint TopLeftOf(const TRect& R) {
    return {R.Left, R.Top};
}

TRect OffsetBy(TRect R, int DX, int DY) {
    OffsetRect(&R, DX, DY);
    return R;
}

bool HasMinMaxInfo(const TWnd* W) {
    return IsTopLevel(W) && (!(W->Style & WS_POPUP) || (W->Style & WS_THICKFRAME));
}

TRect PrimaryWorkArea() {
    for (auto& S : Backend().Screens())
        if (S.Primary)
            return S.WorkArea;
    auto Screens = Backend().Screens();
    return Screens.empty() ? Rect(0, 0, 1920, 1040) : Screens.front().WorkArea;
}

void Unlink(TWnd* W) {
    if (!W->Parent)
        return;
    auto& Siblings = W->Parent->Children;
    Siblings.erase(std::remove(Siblings.begin(), Siblings.end(), W), Siblings.end());
}

// Top-level windows keep the topmost band first and each owned window above
// its owner.
std::size_t BandStart(TWnd* Parent, bool Topmost) {
    if (!Parent->IsDesktop || Topmost)
        return 0;
    std::size_t I = 0;
    while (I < Parent->Children.size() && (Parent->Children[I]->ExStyle & WS_EX_TOPMOST))
        ++I;
    return I;
}

std::size_t BandEnd(TWnd* Parent, bool Topmost) {
    if (!Parent->IsDesktop || !Topmost)
        return Parent->Children.size();
    return BandStart(Parent, false);
}

void LinkAt(TWnd* W, HWND After) {
    TWnd* P = W->Parent;
    Unlink(W);
    auto& C = P->Children;
    bool Topmost = P->IsDesktop && (W->ExStyle & WS_EX_TOPMOST);
    std::size_t Pos;
    if (After == HWND_TOP || After == HWND_TOPMOST || After == HWND_NOTOPMOST)
        Pos = BandStart(P, Topmost);
    else if (After == HWND_BOTTOM)
        Pos = BandEnd(P, Topmost);
    else {
        TWnd* A = Ptr(After);
        auto It = A ? std::find(C.begin(), C.end(), A) : C.end();
        Pos = It == C.end() ? BandStart(P, Topmost) : std::size_t(It - C.begin()) + 1;
        Pos = std::clamp(Pos, BandStart(P, Topmost), BandEnd(P, Topmost));
    }
    C.insert(C.begin() + std::ptrdiff_t(Pos), W);
}

// Owned windows go above their owner, keeping their own order.
void RaiseOwned(TWnd* Owner) {
    auto& C = Desktop()->Children;
    std::vector<TWnd*> Owned;
    for (TWnd* T : C)
        if (T->Owner == Owner)
            Owned.push_back(T);
    for (auto It = Owned.rbegin(); It != Owned.rend(); ++It) {
        TWnd* O = *It;
        auto OwnerPos = std::find(C.begin(), C.end(), Owner);
        auto OPos = std::find(C.begin(), C.end(), O);
        if (OPos > OwnerPos && ((O->ExStyle & WS_EX_TOPMOST) == (Owner->ExStyle & WS_EX_TOPMOST))) {
            C.erase(OPos);
            C.insert(std::find(C.begin(), C.end(), Owner), O);
        }
        RaiseOwned(O);
    }
}

void SendParentNotify(TWnd* W, WPARAM Event, LPARAM LParam) {
    TWnd* Cur = W;
    while (Cur && (Cur->Style & WS_CHILD) && !(Cur->ExStyle & WS_EX_NOPARENTNOTIFY)) {
        TWnd* P = Cur->Parent;
        if (!Alive(P) || P->IsDesktop)
            break;
        Send(P, WM_PARENTNOTIFY, MAKEWPARAM(unsigned(Event), unsigned(W->Id)), LParam);
        Cur = P;
    }
}

void ForEachDescendant(TWnd* W, const std::function<void(TWnd*)>& F) {
    for (TWnd* C : std::vector<TWnd*>(W->Children)) {
        F(C);
        ForEachDescendant(C, F);
    }
}

void SendDestroyTree(HWND H) {
    TWnd* W = Ptr(H);
    if (!W)
        return;
    Send(W, WM_DESTROY, 0, 0);
    if (!(W = Ptr(H)))
        return;
    std::vector<HWND> Children;
    for (TWnd* C : W->Children)
        Children.push_back(C->Handle);
    for (HWND C : Children)
        SendDestroyTree(C);
}

void NcDestroyTree(HWND H) {
    auto Keep = Find(H);
    if (!Keep || Keep->Destroyed)
        return;
    TWnd* W = Keep.get();
    std::vector<HWND> Children;
    for (TWnd* C : W->Children)
        Children.push_back(C->Handle);
    for (HWND C : Children)
        NcDestroyTree(C);
    Send(W, WM_NCDESTROY, 0, 0);
    FreeWindowResources(W);
    W->Destroyed = true;
    Unlink(W);
    W->Parent = nullptr;
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    Global.Windows.erase(reinterpret_cast<std::uintptr_t>(H));
}

bool Contains(TWnd* Outer, TWnd* Inner) {
    for (; Inner; Inner = Inner->Parent)
        if (Inner == Outer)
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------- geometry helpers

TPoint ClientOriginScreen(const TWnd* W) {
    if (!W || W->IsDesktop)
        return {0, 0};
    TPoint P = ClientOriginScreen(W->Parent);
    return {P.X + W->Client.Left, P.Y + W->Client.Top};
}

TPoint WindowOriginScreen(const TWnd* W) {
    if (!W || W->IsDesktop)
        return {0, 0};
    TPoint P = ClientOriginScreen(W->Parent);
    return {P.X + W->Window.Left, P.Y + W->Window.Top};
}

TRect WindowRectScreen(const TWnd* W) {
    TPoint O = WindowOriginScreen(W);
    return Bounds(O.X, O.Y, W->Window.Width(), W->Window.Height());
}

TRect ClientRectLocal(const TWnd* W) {
    return Rect(0, 0, std::max(0, W->Client.Width()), std::max(0, W->Client.Height()));
}

TPoint WindowOriginInBuffer(const TWnd* W) {
    if (!W || IsTopLevel(W) || W->IsDesktop)
        return {0, 0};
    TPoint P = ClientOriginInBuffer(W->Parent);
    return {P.X + W->Window.Left, P.Y + W->Window.Top};
}

TPoint ClientOriginInBuffer(const TWnd* W) {
    if (!W || W->IsDesktop)
        return {0, 0};
    if (IsTopLevel(W))
        return {W->Client.Left - W->Window.Left, W->Client.Top - W->Window.Top};
    TPoint P = ClientOriginInBuffer(W->Parent);
    return {P.X + W->Client.Left, P.Y + W->Client.Top};
}

TRegion WindowRegionOf(const TWnd* W) {
    TRect R = Rect(0, 0, W->Window.Width(), W->Window.Height());
    if (!W->Region)
        return TRegion(R);
    return FromHrgn(W->Region).Intersected(R);
}

TRegion VisibleRegion(const TWnd* W, bool ClientArea, bool ClipChildren, bool ClipSiblings) {
    if (!IsVisible(W) || W->IsDesktop)
        return {};
    for (const TWnd* A = W; A && !A->IsDesktop; A = A->Parent)
        if (A->RedrawOff)
            return {};
    TPoint WO = WindowOriginInBuffer(W);
    TRegion R = WindowRegionOf(W);
    R.Offset(WO.X, WO.Y);
    if (ClientArea) {
        TPoint CO = ClientOriginInBuffer(W);
        R = R.Intersected(Bounds(CO.X, CO.Y, W->Client.Width(), W->Client.Height()));
    }
    for (const TWnd* Cur = W; !IsTopLevel(Cur); Cur = Cur->Parent) {
        const TWnd* P = Cur->Parent;
        TPoint PC = ClientOriginInBuffer(P);
        R = R.Intersected(Bounds(PC.X, PC.Y, P->Client.Width(), P->Client.Height()));
        if (P->Region) {
            TRegion PR = WindowRegionOf(P);
            TPoint PO = WindowOriginInBuffer(P);
            PR.Offset(PO.X, PO.Y);
            R = TRegion::Combine(R, PR, TRegion::opAnd);
        }
        bool Clip = Cur == W ? ClipSiblings || (W->Style & WS_CLIPSIBLINGS)
                             : (Cur->Style & WS_CLIPSIBLINGS);
        if (Clip)
            for (TWnd* S : P->Children) {
                if (S == Cur)
                    break;
                if (!(S->Style & WS_VISIBLE))
                    continue;
                TRegion SR = WindowRegionOf(S);
                TPoint SO = WindowOriginInBuffer(S);
                SR.Offset(SO.X, SO.Y);
                R = TRegion::Combine(R, SR, TRegion::opDiff);
            }
    }
    if (ClipChildren) {
        // A child shows only inside its parent's client area: the part of it
        // that reaches over the frame hides nothing of the frame.
        TPoint WC = ClientOriginInBuffer(W);
        const TRect Client = Bounds(WC.X, WC.Y, W->Client.Width(), W->Client.Height());
        for (TWnd* C : W->Children) {
            // A transparent child shows its parent through: the parent's erase
            // and paint must reach the pixels under it.
            if (!(C->Style & WS_VISIBLE) || (C->ExStyle & WS_EX_TRANSPARENT))
                continue;
            TRegion CR = WindowRegionOf(C);
            TPoint CO = WindowOriginInBuffer(C);
            CR.Offset(CO.X, CO.Y);
            R = TRegion::Combine(R, CR.Intersected(Client), TRegion::opDiff);
        }
    }
    return R;
}

void FillMinMaxInfo(TWnd* W, MINMAXINFO& Info) {
    HMONITOR Mon = MonitorFromWindow(W->Handle, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO MI;
    GetMonitorInfo(Mon, &MI);
    int FX = GetSystemMetrics(SM_CXSIZEFRAME);
    Info.ptMaxSize = {MI.rcWork.Width() + 2 * FX, MI.rcWork.Height() + 2 * FX};
    Info.ptMaxPosition = {MI.rcWork.Left - FX, MI.rcWork.Top - FX};
    Info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    Info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
}

void BringToTopImpl(TWnd* W) {
    if (!W->Parent)
        return;
    LinkAt(W, HWND_TOP);
    if (IsTopLevel(W)) {
        RaiseOwned(W);
        UpdateStacking();
    }
}

void UpdateStacking() {
    std::vector<TSurfaceId> Order;
    for (TWnd* T : Desktop()->Children)
        if (T->Surface)
            Order.push_back(T->Surface);
    Backend().SetStacking(Order);
}

void EnsureSurface(TWnd* T) {
    if (T->Surface || !IsTopLevel(T))
        return;
    bool Popup = (T->Style & WS_POPUP) && (T->Style & WS_CAPTION) != WS_CAPTION &&
                 (T->ExStyle & (WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE));
    if (T->Owner)
        EnsureSurface(T->Owner);
    T->Surface = Backend().CreateSurface(Popup ? TSurfaceKind::Popup : TSurfaceKind::Framed,
                                         T->Owner ? T->Owner->Surface : 0, T->Text);
    Backend().SetBounds(T->Surface, WindowRectScreen(T));
    Backend().SetTopmost(T->Surface, (T->ExStyle & WS_EX_TOPMOST) != 0);
    SyncSurfaceLayering(T);
    SyncSurfaceShape(T);
    if (T->Style & WS_MAXIMIZE)
        Backend().SetMaximized(T->Surface, true);
    UpdateStacking();
}

void SyncSurfaceBounds(TWnd* T) {
    if (T->Surface)
        Backend().SetBounds(T->Surface, WindowRectScreen(T));
}

void SyncSurfaceLayering(TWnd* T) {
    if (!T->Surface)
        return;
    bool Layered = T->ExStyle & WS_EX_LAYERED;
    std::optional<BYTE> Alpha;
    std::optional<COLORREF> Key;
    if (Layered && (T->LayeredFlags & LWA_ALPHA))
        Alpha = T->Alpha;
    if (Layered && (T->LayeredFlags & LWA_COLORKEY))
        Key = T->Key;
    Backend().SetOpacity(T->Surface, Alpha, Key);
    Backend().SetClickThrough(T->Surface, Layered && (T->ExStyle & WS_EX_TRANSPARENT));
    Backend().SetTopmost(T->Surface, (T->ExStyle & WS_EX_TOPMOST) != 0);
}

namespace {

// A maximized window's frame lies beyond the work area, as the window system
// places it; the desktop shows only what lies on the window's own monitor, so
// that the edge never shows on a neighbouring screen. Window coordinates;
// nothing when the whole window lies on the monitor.
std::optional<TRect> MaximizedClip(const TWnd* T) {
    if (!(T->Style & WS_MAXIMIZE) || !IsTopLevel(T))
        return std::nullopt;
    MONITORINFO MI;
    if (!GetMonitorInfo(MonitorFromWindow(T->Handle, MONITOR_DEFAULTTONEAREST), &MI))
        return std::nullopt;
    TRect WR = WindowRectScreen(T), Inside;
    IntersectRect(&Inside, &WR, &MI.rcMonitor);
    if (Inside == WR)
        return std::nullopt;
    OffsetRect(&Inside, -WR.Left, -WR.Top);
    return Inside;
}

// Whether the layered picture of a top-level window lets the pointer through
// at a point of the window: where it shows nothing (alpha 0 or the colour
// key), or everywhere when it is fully transparent or marked transparent.
// Constant opacity above 0 shows every pixel and so takes the pointer.
bool SeeThroughAt(const TWnd* T, int X, int Y) {
    if (!(T->ExStyle & WS_EX_LAYERED))
        return false;
    if (T->ExStyle & WS_EX_TRANSPARENT)
        return true;
    if (X < 0 || Y < 0 || X >= T->BufferWidth || Y >= T->BufferHeight)
        return false;
    std::size_t At = std::size_t(Y) * std::size_t(T->BufferWidth) + std::size_t(X);
    if (T->HasLayeredImage)
        return T->LayeredImage.size() == T->Buffer.size() && (T->LayeredImage[At] >> 24) == 0;
    if ((T->LayeredFlags & LWA_ALPHA) && T->Alpha == 0)
        return true;
    return (T->LayeredFlags & LWA_COLORKEY) && (T->Buffer[At] & 0xFFFFFF) == KeyRgbOf(T->Key);
}

} // namespace

bool TakesPointer(const TWnd* W, TPoint Screen) {
    TRect R = WindowRectScreen(W);
    if (!PtInRect(&R, Screen))
        return false;
    int X = Screen.X - R.Left, Y = Screen.Y - R.Top;
    if (W->Region && !WindowRegionOf(W).Contains(X, Y))
        return false;
    if (!IsTopLevel(W))
        return true;
    if (auto Clip = MaximizedClip(W); Clip && !PtInRect(&*Clip, {X, Y}))
        return false;
    return !SeeThroughAt(W, X, Y);
}

void SyncSurfaceShape(TWnd* T) {
    if (!T->Surface)
        return;
    std::optional<TRect> Clip = MaximizedClip(T);
    if (!T->Region && !Clip)
        Backend().SetShape(T->Surface, std::nullopt);
    else if (!Clip)
        Backend().SetShape(T->Surface, WindowRegionOf(T).Rects());
    else
        Backend().SetShape(T->Surface, WindowRegionOf(T).Intersected(*Clip).Rects());
}

// ---------------------------------------------------------------- SetWindowPos

namespace {

// A moved child keeps what it showed: its pixels move along in the back
// buffer, and only what was not visible before is painted anew. Answers
// whether it copied.
bool CopyMovedPixels(TWnd* W, const TRegion& OldVisible, TPoint OldOrigin) {
    TWnd* T = TopLevelOf(W);
    if (!T || T->Buffer.empty())
        return false;
    TPoint NewOrigin = WindowOriginInBuffer(W);
    int DX = NewOrigin.X - OldOrigin.X, DY = NewOrigin.Y - OldOrigin.Y;
    TRegion NewVisible = VisibleRegion(W, false, false, true);
    TRegion Shifted = OldVisible;
    Shifted.Offset(DX, DY);
    TRegion Kept = TRegion::Combine(NewVisible, Shifted, TRegion::opAnd);
    if (!Kept.Empty()) {
        TRect Src = OldVisible.Bounds();
        TRect All = Rect(0, 0, T->BufferWidth, T->BufferHeight);
        IntersectRect(&Src, &Src, &All);
        // The source rows first, as source and destination may overlap.
        std::vector<std::uint32_t> Copy(std::size_t(std::max(0, Src.Width())) *
                                        std::size_t(std::max(0, Src.Height())));
        for (int Y = Src.Top; Y < Src.Bottom; ++Y)
            std::copy_n(
                &T->Buffer[std::size_t(Y) * std::size_t(T->BufferWidth) + std::size_t(Src.Left)],
                Src.Width(), &Copy[std::size_t(Y - Src.Top) * std::size_t(Src.Width())]);
        for (const TRect& R : Kept.Rects())
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                for (int X = R.Left; X < R.Right; ++X) {
                    int SX = X - DX - Src.Left, SY = Y - DY - Src.Top;
                    if (SX < 0 || SY < 0 || SX >= Src.Width() || SY >= Src.Height())
                        continue;
                    T->Buffer[std::size_t(Y) * std::size_t(T->BufferWidth) + std::size_t(X)] =
                        Copy[std::size_t(SY) * std::size_t(Src.Width()) + std::size_t(SX)];
                }
        MarkDirty(T, Kept.Bounds());
    }
    TRegion Lost = TRegion::Combine(NewVisible, Kept, TRegion::opDiff);
    if (!Lost.Empty()) {
        TPoint C = ClientOriginInBuffer(W);
        Lost.Offset(-C.X, -C.Y);
        InvalidateImpl(W, &Lost, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        TRegion ClientPart = Lost.Intersected(ClientRectLocal(W));
        if (!(ClientPart == Lost))
            W->UpdateFrame = true;
    }
    return true;
}

} // namespace

bool SetWindowPosImpl(TWnd* W, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags) {
    if (!Alive(W) || W->IsDesktop)
        return false;
    HWND H = W->Handle;
    bool WasVisible = W->Style & WS_VISIBLE;
    if (WasVisible)
        Flags &= ~SWP_SHOWWINDOW;
    else
        Flags &= ~SWP_HIDEWINDOW;
    WINDOWPOS Pos{H, InsertAfter, X, Y, Cx, Cy, Flags};
    if (Flags & SWP_NOMOVE) {
        Pos.x = W->Window.Left;
        Pos.y = W->Window.Top;
    }
    if (Flags & SWP_NOSIZE) {
        Pos.cx = W->Window.Width();
        Pos.cy = W->Window.Height();
    }
    if (!(Flags & SWP_NOSENDCHANGING)) {
        Send(W, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&Pos));
        if (!Alive(W))
            return false;
    }
    Flags = Pos.flags;
    TRect OldWindow = W->Window;
    TRect OldClient = W->Client;
    TRect NewWindow = OldWindow;
    if (!(Flags & SWP_NOMOVE))
        NewWindow = Bounds(Pos.x, Pos.y, NewWindow.Width(), NewWindow.Height());
    if (!(Flags & SWP_NOSIZE))
        NewWindow = Bounds(NewWindow.Left, NewWindow.Top, std::max(0, Pos.cx), std::max(0, Pos.cy));
    bool Sized = NewWindow.Width() != OldWindow.Width() || NewWindow.Height() != OldWindow.Height();
    TRect NewClient =
        OffsetBy(OldClient, NewWindow.Left - OldWindow.Left, NewWindow.Top - OldWindow.Top);
    if (Sized || (Flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS Params;
        Params.rgrc[0] = NewWindow;
        Params.rgrc[1] = OldWindow;
        Params.rgrc[2] = OldClient;
        Params.lppos = &Pos;
        Send(W, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&Params));
        if (!Alive(W))
            return false;
        NewClient = Params.rgrc[0];
        NewClient.Right = std::max(NewClient.Right, NewClient.Left);
        NewClient.Bottom = std::max(NewClient.Bottom, NewClient.Top);
    }

    bool Redraw = !(Flags & SWP_NOREDRAW);
    bool Moved = NewWindow.Left != OldWindow.Left || NewWindow.Top != OldWindow.Top;
    bool Hiding = Flags & SWP_HIDEWINDOW;
    bool Showing = Flags & SWP_SHOWWINDOW;
    bool Child = !IsTopLevel(W);
    // What the window covered and showed before, to find what it uncovers in
    // its parent and which of its pixels can move along with it.
    TRegion OldArea;
    TRegion OldVisible;
    TPoint OldOrigin;
    if (Redraw && WasVisible && Child && (Moved || Sized || Hiding)) {
        OldArea = WindowRegionOf(W);
        OldArea.Offset(OldWindow.Left, OldWindow.Top);
        OldVisible = VisibleRegion(W, false, false, true);
        OldOrigin = WindowOriginInBuffer(W);
    }
    bool CopyBits = Redraw && WasVisible && Child && Moved && !Hiding &&
                    !(Flags & SWP_NOCOPYBITS) && !OldVisible.Empty();

    W->Window = NewWindow;
    W->Client = NewClient;
    if (!(Flags & SWP_NOZORDER) && W->Parent) {
        if (InsertAfter == HWND_TOPMOST)
            W->ExStyle |= WS_EX_TOPMOST;
        else if (InsertAfter == HWND_NOTOPMOST)
            W->ExStyle &= ~WS_EX_TOPMOST;
        LinkAt(W, InsertAfter);
        if (IsTopLevel(W)) {
            if (!(Flags & SWP_NOOWNERZORDER))
                RaiseOwned(W);
            if (W->Surface)
                Backend().SetTopmost(W->Surface, (W->ExStyle & WS_EX_TOPMOST) != 0);
        }
        if (Redraw && WasVisible)
            InvalidateImpl(W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (Showing)
        W->Style |= WS_VISIBLE;
    if (Hiding)
        W->Style &= ~WS_VISIBLE;

    if (!OldArea.Empty()) {
        TRegion NewArea;
        if (W->Style & WS_VISIBLE) {
            NewArea = WindowRegionOf(W);
            NewArea.Offset(NewWindow.Left, NewWindow.Top);
        }
        TRegion Uncovered = TRegion::Combine(OldArea, NewArea, TRegion::opDiff);
        if (!Uncovered.Empty())
            InvalidateImpl(W->Parent, &Uncovered, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    bool Copied = CopyBits && (W->Style & WS_VISIBLE) && CopyMovedPixels(W, OldVisible, OldOrigin);

    // Repaint what changed in the window itself.
    bool ClientSized =
        NewClient.Width() != OldClient.Width() || NewClient.Height() != OldClient.Height();
    if (IsTopLevel(W) && (Sized || !W->Buffer.size()))
        ResizeBuffer(W);
    if (Redraw && (W->Style & WS_VISIBLE)) {
        if (Showing) {
            InvalidateImpl(W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        } else {
            if (Sized || (Flags & SWP_FRAMECHANGED))
                W->UpdateFrame = true;
            bool Whole = (Flags & SWP_NOCOPYBITS) ||
                         ((W->Class && (W->Class->Style & CS_HREDRAW)) &&
                          NewClient.Width() != OldClient.Width()) ||
                         ((W->Class && (W->Class->Style & CS_VREDRAW)) &&
                          NewClient.Height() != OldClient.Height()) ||
                         (Moved && Child && !Copied);
            if (Whole)
                InvalidateImpl(W, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            else if (ClientSized) {
                TRegion Exposed = TRegion::Combine(
                    TRegion(ClientRectLocal(W)),
                    TRegion(Rect(0, 0, OldClient.Width(), OldClient.Height())), TRegion::opDiff);
                if (!Exposed.Empty())
                    InvalidateImpl(W, &Exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
        }
    }

    if (IsTopLevel(W)) {
        if (Showing)
            EnsureSurface(W);
        SyncSurfaceBounds(W);
        // A maximized window's clip to its monitor moves with it.
        if (W->Surface && (W->Style & WS_MAXIMIZE) &&
            (Flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
            SyncSurfaceShape(W);
        if (W->Surface && (Showing || Hiding)) {
            if (Showing && W->Region)
                SyncSurfaceShape(W);
            Backend().SetVisible(W->Surface, Showing);
        }
        if (W->Surface && !(Flags & SWP_NOZORDER))
            UpdateStacking();
        // Showing activates inside the sequence, before WM_WINDOWPOSCHANGED.
        if (Showing && !(Flags & SWP_NOACTIVATE) && !(W->ExStyle & WS_EX_NOACTIVATE))
            ActivateImpl(W, WA_ACTIVE);
        else if (!(Flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && (W->Style & WS_VISIBLE) &&
                 !(Flags & SWP_NOZORDER) && !(W->ExStyle & WS_EX_NOACTIVATE))
            ActivateImpl(W, WA_ACTIVE);
        if (!Alive(W))
            return false;
    }

    WINDOWPOS Changed = Pos;
    Changed.x = NewWindow.Left;
    Changed.y = NewWindow.Top;
    Changed.cx = NewWindow.Width();
    Changed.cy = NewWindow.Height();
    Changed.flags = Flags;
    if (TopLeftOf(NewClient) == TopLeftOf(OldClient))
        Changed.flags |= SWP_NOCLIENTMOVE;
    if (!ClientSized)
        Changed.flags |= SWP_NOCLIENTSIZE;
    Send(W, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Changed));
    return Alive(W);
}

// DefWindowProc(WM_WINDOWPOSCHANGED)
void DefWindowPosChanged(TWnd* W, const WINDOWPOS* Pos) {
    if (!(Pos->flags & SWP_NOCLIENTMOVE))
        Send(W, WM_MOVE, 0, MAKELPARAM(unsigned(W->Client.Left), unsigned(W->Client.Top)));
    if (Alive(W) && !(Pos->flags & SWP_NOCLIENTSIZE)) {
        WPARAM Kind = (W->Style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                      : (W->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
        Send(W, WM_SIZE, Kind,
             MAKELPARAM(unsigned(W->Client.Width()), unsigned(W->Client.Height())));
    }
}

// DefWindowProc(WM_WINDOWPOSCHANGING): the tracking limits of resizable
// top-level windows.
void DefWindowPosChanging(TWnd* W, WINDOWPOS* Pos) {
    if (!HasMinMaxInfo(W) || (Pos->flags & SWP_NOSIZE) || (W->Style & WS_MINIMIZE))
        return;
    if (!(W->Style & WS_THICKFRAME) && (W->Style & WS_POPUP))
        return;
    MINMAXINFO Info;
    FillMinMaxInfo(W, Info);
    Send(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    if (W->Style & WS_MAXIMIZE)
        return;
    Pos->cx = std::clamp(Pos->cx, Info.ptMinTrackSize.X,
                         std::max(Info.ptMinTrackSize.X, Info.ptMaxTrackSize.X));
    Pos->cy = std::clamp(Pos->cy, Info.ptMinTrackSize.Y,
                         std::max(Info.ptMinTrackSize.Y, Info.ptMaxTrackSize.Y));
}

void FreeWindowResources(TWnd* W) {
    TThreadQueue& Q = CurrentQueue();
    Q.Timers.erase(std::remove_if(Q.Timers.begin(), Q.Timers.end(),
                                  [W](const TTimer& T) { return T.Wnd == W->Handle; }),
                   Q.Timers.end());
    {
        std::lock_guard Guard(Q.Lock);
        Q.Posted.erase(std::remove_if(Q.Posted.begin(), Q.Posted.end(),
                                      [W](const MSG& M) { return M.hwnd == W->Handle; }),
                       Q.Posted.end());
        for (auto& Call : Q.Sent)
            if (Call->Wnd == W->Handle)
                Call->Wnd = nullptr; // answered 0 when its turn comes
    }
    Q.Input.erase(std::remove_if(Q.Input.begin(), Q.Input.end(),
                                 [W](const MSG& M) { return M.hwnd == W->Handle; }),
                  Q.Input.end());
    if (W->Region) {
        DeleteObject(ToObj(W->Region));
        W->Region = nullptr;
    }
    DropCaretOf(W);
    ReleaseDcsOf(W);
    W->Props.clear();
    for (auto& S : W->Subclasses)
        S->Removed = true;
    W->Subclasses.clear();
    W->Scroll[0] = W->Scroll[1] = {};
    TGlobal& Global = G();
    if (Global.Active == W->Handle)
        Global.Active = nullptr;
    if (Global.Focus == W->Handle)
        Global.Focus = nullptr;
    if (Global.Capture == W->Handle)
        Global.Capture = nullptr;
    if (Global.MouseWnd == W->Handle)
        Global.MouseWnd = nullptr;
    if (Global.Track.Wnd == W->Handle)
        Global.Track.Wnd = nullptr;
    if (Global.LastClick.Wnd == W->Handle)
        Global.LastClick.Wnd = nullptr;
    RemoveNotifyIconsOf(W->Handle);
    if (W->Surface) {
        Backend().DestroySurface(W->Surface);
        W->Surface = 0;
    }
    W->Buffer.clear();
    W->Buffer.shrink_to_fit();
}

TWnd* HitWindowIn(TWnd* Parent, TPoint Screen, TWnd* Skip, int* Hit, bool SendHitTest,
                  bool& SkipFound);

// The window under a screen point: the topmost visible top-level window
// that takes the pointer there, then down through its children.
// With SendHitTest, a window answering HTTRANSPARENT passes the point on to
// what lies below it.
TWnd* HitWindow(TPoint Screen, int* HitCode, bool SendHitTest) {
    std::vector<TWnd*> Passed;
    for (;;) {
        TWnd* Found = nullptr;
        for (TWnd* T : Desktop()->Children) {
            if (!(T->Style & WS_VISIBLE) || (T->Style & WS_MINIMIZE))
                continue;
            if (!TakesPointer(T, Screen))
                continue;
            // Descend through children, stopping at the parent of a disabled child.
            TWnd* Cur = T;
            for (;;) {
                TWnd* Next = nullptr;
                TPoint CO = ClientOriginScreen(Cur);
                TRect CR = Bounds(CO.X, CO.Y, Cur->Client.Width(), Cur->Client.Height());
                if (!PtInRect(&CR, Screen))
                    break;
                for (TWnd* C : Cur->Children) {
                    if (!(C->Style & WS_VISIBLE))
                        continue;
                    if (std::find(Passed.begin(), Passed.end(), C) != Passed.end())
                        continue;
                    if (TakesPointer(C, Screen)) {
                        Next = C;
                        break;
                    }
                }
                if (!Next || (Next->Style & WS_DISABLED))
                    break;
                Cur = Next;
            }
            if (std::find(Passed.begin(), Passed.end(), Cur) != Passed.end())
                continue;
            Found = Cur;
            break;
        }
        if (!Found)
            return nullptr;
        int Hit = HTCLIENT;
        if (SendHitTest && Found->Thread == GetCurrentThreadId()) {
            HWND H = Found->Handle;
            Hit = int(Send(Found, WM_NCHITTEST, 0, PointToLParam(Screen)));
            if (!Ptr(H))
                return nullptr;
        }
        if (Hit == HTTRANSPARENT) {
            Passed.push_back(Found);
            continue;
        }
        if (HitCode)
            *HitCode = Hit;
        return Found;
    }
}

} // namespace winsys

using namespace winsys;

// ---------------------------------------------------------------- creation

HWND CreateWindowEx(DWORD ExStyle, const char* ClassName, const char* WindowName, DWORD Style,
                    int X, int Y, int Width, int Height, HWND Parent, HMENU Menu,
                    HINSTANCE Instance, void* Param) {
    auto Class = LookupClass(ClassName);
    if (!Class)
        return nullptr;
    TWnd* ParentWnd = Desktop();
    TWnd* Owner = nullptr;
    if (Style & WS_CHILD) {
        ParentWnd = Ptr(Parent);
        if (!ParentWnd)
            return nullptr;
    } else if (Parent && Parent != GetDesktopWindow()) {
        TWnd* P = Ptr(Parent);
        if (!P)
            return nullptr;
        Owner = TopLevelOf(P);
    }
    auto Keep = std::make_shared<TWnd>();
    TWnd* W = Keep.get();
    {
        TGlobal& Global = G();
        std::lock_guard Guard(Global.Lock);
        W->Handle = reinterpret_cast<HWND>(Global.NextHandle++);
        Global.Windows[reinterpret_cast<std::uintptr_t>(W->Handle)] = Keep;
    }
    HWND H = W->Handle;
    W->Thread = GetCurrentThreadId();
    CurrentQueue();
    W->Class = Class;
    // Overlapped windows always have a caption and clip their siblings.
    if (!(Style & (WS_CHILD | WS_POPUP)))
        Style |= WS_CAPTION | WS_CLIPSIBLINGS;
    W->Style = Style & ~WS_VISIBLE & ~(WS_MINIMIZE | WS_MAXIMIZE);
    W->ExStyle = ExStyle;
    W->Proc = Class->Proc;
    W->Id = (Style & WS_CHILD) ? LONG_PTR(reinterpret_cast<std::intptr_t>(Menu)) : 0;
    W->Text = WindowName ? WindowName : "";
    W->Parent = ParentWnd;
    W->Owner = Owner;
    if (Style & WS_CHILD)
        ParentWnd->Children.push_back(W);
    else
        LinkAt(W, HWND_TOP);

    if (!(Style & WS_CHILD)) {
        TRect Work = PrimaryWorkArea();
        if (X == CW_USEDEFAULT) {
            X = Work.Left + 64;
            Y = Work.Top + 64;
        }
        if (Width == CW_USEDEFAULT) {
            Width = Work.Width() * 3 / 4;
            Height = Work.Height() * 3 / 4;
        }
    } else {
        if (X == CW_USEDEFAULT)
            X = Y = 0;
        if (Width == CW_USEDEFAULT)
            Width = Height = 0;
    }
    if (HasMinMaxInfo(W)) {
        MINMAXINFO Info;
        FillMinMaxInfo(W, Info);
        Send(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
        if (W->Style & WS_THICKFRAME || !(W->Style & WS_POPUP)) {
            Width = std::min(Width, std::max(Info.ptMaxTrackSize.X, Info.ptMinTrackSize.X));
            Height = std::min(Height, std::max(Info.ptMaxTrackSize.Y, Info.ptMinTrackSize.Y));
        }
    }
    W->Window = Bounds(X, Y, std::max(0, Width), std::max(0, Height));
    W->Client = W->Window;
    W->Normal = W->Window;

    CREATESTRUCT CS;
    CS.lpCreateParams = Param;
    CS.hInstance = Instance;
    CS.hMenu = Menu;
    CS.hwndParent = Parent;
    CS.cx = W->Window.Width();
    CS.cy = W->Window.Height();
    CS.x = X;
    CS.y = Y;
    CS.style = LONG(Style);
    CS.lpszName = WindowName;
    CS.lpszClass = ClassName;
    CS.dwExStyle = ExStyle;

    auto Fail = [&]() -> HWND {
        if (Ptr(H)) {
            Send(W, WM_DESTROY, 0, 0);
            if (Ptr(H))
                NcDestroyTree(H);
        }
        return nullptr;
    };
    if (!Send(W, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&CS)) || !Ptr(H))
        return Fail();
    TRect Proposed = W->Window;
    Send(W, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&Proposed));
    if (!Ptr(H))
        return nullptr;
    Proposed.Right = std::max(Proposed.Right, Proposed.Left);
    Proposed.Bottom = std::max(Proposed.Bottom, Proposed.Top);
    W->Client = Proposed;
    if (IsTopLevel(W))
        ResizeBuffer(W);
    if (Send(W, WM_CREATE, 0, reinterpret_cast<LPARAM>(&CS)) == -1 || !Ptr(H))
        return Fail();
    W->Created = true;
    Send(W, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(unsigned(W->Client.Width()), unsigned(W->Client.Height())));
    if (!Ptr(H))
        return nullptr;
    Send(W, WM_MOVE, 0, MAKELPARAM(unsigned(W->Client.Left), unsigned(W->Client.Top)));
    if (!Ptr(H))
        return nullptr;
    if (Style & WS_CHILD)
        SendParentNotify(W, WM_CREATE, reinterpret_cast<LPARAM>(H));
    if (!Ptr(H))
        return nullptr;
    if (Style & WS_VISIBLE)
        ShowWindow(H, SW_SHOW);
    return Ptr(H) ? H : nullptr;
}

BOOL DestroyWindow(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    if (!W || W->IsDesktop || W->Destroying || W->Thread != GetCurrentThreadId())
        return FALSE;
    auto Keep = Find(Wnd);
    W->Destroying = true;
    ForEachDescendant(W, [](TWnd* C) { C->Destroying = true; });

    if (IsTopLevel(W)) {
        std::vector<HWND> Owned;
        for (TWnd* T : Desktop()->Children)
            if (T->Owner == W)
                Owned.push_back(T->Handle);
        for (HWND O : Owned)
            DestroyWindow(O);
    }
    if (W->Style & WS_CHILD)
        SendParentNotify(W, WM_DESTROY, reinterpret_cast<LPARAM>(Wnd));
    if (!Alive(W))
        return TRUE;
    if (W->Style & WS_VISIBLE)
        SetWindowPosImpl(W, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (!Alive(W))
        return TRUE;
    TGlobal& Global = G();
    if (IsTopLevel(W) && Global.Active == Wnd)
        ActivateOtherThan(W);
    TWnd* FocusWnd = Ptr(Global.Focus);
    if (FocusWnd && Contains(W, FocusWnd))
        SetFocusImpl(IsTopLevel(W) ? nullptr : W->Parent);
    TWnd* CaptureWnd = Ptr(Global.Capture);
    if (CaptureWnd && Contains(W, CaptureWnd))
        ReleaseCapture();
    if (!Alive(W))
        return TRUE;
    SendDestroyTree(Wnd);
    NcDestroyTree(Wnd);
    return TRUE;
}

HWND SetParent(HWND Wnd, HWND NewParent) {
    TWnd* W = Ptr(Wnd);
    if (!W || W->IsDesktop)
        return nullptr;
    TWnd* P = NewParent ? Ptr(NewParent) : Desktop();
    if (!P || Contains(W, P))
        return nullptr;
    TWnd* Old = W->Parent;
    HWND OldHandle = Old ? Old->Handle : nullptr;
    bool WasVisible = W->Style & WS_VISIBLE;
    if (WasVisible)
        ShowWindow(Wnd, SW_HIDE);
    TWnd* OldTop = TopLevelOf(W);
    if (IsTopLevel(W) && W->Surface) {
        Backend().DestroySurface(W->Surface);
        W->Surface = 0;
    }
    Unlink(W);
    W->Parent = P;
    // The window keeps its coordinates, now relative to the new parent's client area.
    LinkAt(W, HWND_TOP);
    if (IsTopLevel(W)) {
        W->Owner = nullptr;
        ResizeBuffer(W);
    } else if (OldTop == W) {
        W->Buffer.clear();
    }
    if (WasVisible)
        ShowWindow(Wnd, SW_SHOWNA);
    return OldHandle;
}

// ---------------------------------------------------------------- geometry API

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    bool Hiding = (Flags & SWP_HIDEWINDOW) && (W->Style & WS_VISIBLE);
    TGlobal& Global = G();
    bool WasActive = Global.Active == Wnd;
    if (!SetWindowPosImpl(W, InsertAfter, X, Y, Width, Height, Flags))
        return IsWindow(Wnd) ? FALSE : TRUE;
    if (Hiding)
        if (WasActive || (Global.Focus && (Global.Focus == Wnd || IsChild(Wnd, Global.Focus)))) {
            if (WasActive)
                ActivateOtherThan(W);
            else
                SetFocusImpl(W->Parent);
        }
    return TRUE;
}

BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint) {
    return SetWindowPos(Wnd, nullptr, X, Y, Width, Height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND Wnd) {
    return SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

void ShowOwned(TWnd* Owner, bool Show) {
    std::vector<HWND> Owned;
    for (TWnd* T : Desktop()->Children)
        if (T->Owner == Owner)
            Owned.push_back(T->Handle);
    for (HWND H : Owned) {
        TWnd* O = Ptr(H);
        if (!O)
            continue;
        if (!Show && (O->Style & WS_VISIBLE)) {
            Send(O, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
            O->HiddenByOwnerMinimize = true;
            SetWindowPosImpl(O, nullptr, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE |
                                 SWP_NOSIZE);
        } else if (Show && O->HiddenByOwnerMinimize) {
            O->HiddenByOwnerMinimize = false;
            Send(O, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
            SetWindowPosImpl(O, nullptr, 0, 0, 0, 0,
                             SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE |
                                 SWP_NOSIZE);
        }
    }
}

// A hidden window hears that it is about to show before its state changes; the handler may
// destroy it, so the caller stops when this returns false.
bool NoticeShowing(TWnd* W, bool& WasVisible) {
    HWND H = W->Handle;
    WasVisible = W->Style & WS_VISIBLE;
    if (!WasVisible)
        Send(W, WM_SHOWWINDOW, TRUE, 0);
    return Ptr(H) != nullptr;
}

// The minimized state itself, once the desktop has iconified a top-level window.
void BecomeMinimized(TWnd* W, bool Activate) {
    HWND H = W->Handle;
    W->IconifyRequest.reset();
    if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE)))
        W->Normal = W->Window;
    bool WasVisible;
    if (!NoticeShowing(W, WasVisible))
        return;
    bool WasMax = W->Style & WS_MAXIMIZE;
    W->Style = (W->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    ShowOwned(W, false);
    if (!Ptr(H))
        return;
    if (W->Surface) {
        W->Iconified = true;
        if (WasMax)
            Backend().SetMaximized(W->Surface, false);
    }
    SetWindowPosImpl(W, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (WasVisible ? 0 : SWP_SHOWWINDOW));
    if (!Ptr(H))
        return;
    Send(W, WM_SIZE, SIZE_MINIMIZED, 0);
    if (!Activate && G().Active == H)
        ActivateOtherThan(W);
}

// A top-level window is minimized only once the desktop has iconified it:
// on a display where nothing iconifies windows (no window manager) it would
// stay on screen while the program took it for gone, deaf to every click.
// Such a request is dropped and the window stays as it is; a request the
// desktop takes up later completes when it reports the iconify. Answers
// whether the window is minimized now.
bool Minimize(TWnd* W, bool Activate) {
    if (IsTopLevel(W)) {
        EnsureSurface(W);
        TIconifyAnswer Answer = Backend().SetIconified(W->Surface, true);
        if (Answer != TIconifyAnswer::Done) {
            if (Answer == TIconifyAnswer::Pending)
                W->IconifyRequest = Activate;
            return false;
        }
    }
    BecomeMinimized(W, Activate);
    return true;
}

// A minimize the desktop has not done yet is called off.
void ForgetIconifyRequest(TWnd* W) {
    if (!W->IconifyRequest)
        return;
    W->IconifyRequest.reset();
    if (W->Surface)
        Backend().SetIconified(W->Surface, false);
}

void Maximize(TWnd* W, bool Activate) {
    HWND H = W->Handle;
    ForgetIconifyRequest(W);
    if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE)))
        W->Normal = W->Window;
    bool WasVisible;
    if (!NoticeShowing(W, WasVisible))
        return;
    MINMAXINFO Info;
    FillMinMaxInfo(W, Info);
    Send(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    if (!Ptr(H))
        return;
    bool WasMin = W->Style & WS_MINIMIZE;
    W->Style = (W->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    if (WasMin && W->Surface) {
        W->Iconified = false;
        Backend().SetIconified(W->Surface, false);
        ShowOwned(W, true);
    }
    SetWindowPosImpl(W, nullptr, Info.ptMaxPosition.X, Info.ptMaxPosition.Y, Info.ptMaxSize.X,
                     Info.ptMaxSize.Y,
                     SWP_NOZORDER | SWP_FRAMECHANGED | (WasVisible ? 0 : SWP_SHOWWINDOW) |
                         (Activate ? 0 : SWP_NOACTIVATE));
    if (Ptr(H) && W->Surface)
        Backend().SetMaximized(W->Surface, true);
}

void Restore(TWnd* W, bool Activate) {
    bool WasMin = W->Style & WS_MINIMIZE;
    HWND H = W->Handle;
    bool WasVisible;
    if (!NoticeShowing(W, WasVisible))
        return;
    bool WasMax = W->Style & WS_MAXIMIZE;
    W->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (WasMin && W->Surface) {
        W->Iconified = false;
        Backend().SetIconified(W->Surface, false);
    }
    if (WasMax && W->Surface)
        Backend().SetMaximized(W->Surface, false);
    TRect N = W->Normal;
    TRect Client = W->Client;
    SetWindowPosImpl(W, nullptr, N.Left, N.Top, N.Width(), N.Height(),
                     SWP_NOZORDER | SWP_FRAMECHANGED | (WasVisible ? 0 : SWP_SHOWWINDOW) |
                         (Activate ? 0 : SWP_NOACTIVATE));
    if (!Ptr(H))
        return;
    if (WasMax)
        SyncSurfaceShape(W);
    if (!WasMin)
        return;
    // A minimized window keeps its size here, so coming back may change no
    // size; the window still hears that it is restored, as it heard that it
    // was minimized.
    if (W->Client.Width() == Client.Width() && W->Client.Height() == Client.Height()) {
        Send(W, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(unsigned(W->Client.Width()), unsigned(W->Client.Height())));
        if (!Ptr(H))
            return;
    }
    ShowOwned(W, true);
    // Coming back from minimized brings the window forward, active; the
    // position change alone keeps the z-order and activates nothing.
    if (Activate && Ptr(H) && IsTopLevel(W) && G().Active != H && !(W->Style & WS_DISABLED) &&
        !(W->ExStyle & WS_EX_NOACTIVATE))
        ActivateImpl(W, WA_ACTIVE);
}

} // namespace

namespace winsys {

void DesktopIconified(TWnd* W) {
    if (W->Style & WS_MINIMIZE)
        return;
    if (W->IconifyRequest)
        BecomeMinimized(W, *W->IconifyRequest);
    else
        PostMessage(W->Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

} // namespace winsys

BOOL ShowWindow(HWND Wnd, int Cmd) {
    TWnd* W = Ptr(Wnd);
    if (!W || W->IsDesktop)
        return FALSE;
    bool WasVisible = W->Style & WS_VISIBLE;
    bool TopLevel = IsTopLevel(W);
    switch (Cmd) {
    case SW_HIDE:
        if (!WasVisible)
            return FALSE;
        Send(W, WM_SHOWWINDOW, FALSE, 0);
        if (!Ptr(Wnd))
            return TRUE;
        SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        return TRUE;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (TopLevel && !(W->Style & WS_MINIMIZE)) {
            if (Minimize(W, Cmd == SW_SHOWMINIMIZED))
                return WasVisible;
            // A hidden window the desktop does not iconify at once is shown as it is.
            if (!WasVisible && Ptr(Wnd))
                ShowWindow(Wnd, Cmd == SW_SHOWMINIMIZED ? SW_SHOW : SW_SHOWNA);
        } else if (!WasVisible) {
            ShowWindow(Wnd, SW_SHOWNA);
        }
        return WasVisible;
    case SW_MAXIMIZE:
        if (TopLevel && !(W->Style & WS_MAXIMIZE)) {
            Maximize(W, true);
            return WasVisible;
        }
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        ForgetIconifyRequest(W);
        if (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            Restore(W, true);
            return WasVisible;
        }
        break;
    default:
        break;
    }
    if (WasVisible)
        return TRUE;
    Send(W, WM_SHOWWINDOW, TRUE, 0);
    if (!Ptr(Wnd))
        return FALSE;
    bool NoActivate = Cmd == SW_SHOWNA || Cmd == SW_SHOWNOACTIVATE || !TopLevel;
    SetWindowPosImpl(W, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                         (NoActivate ? SWP_NOACTIVATE : 0));
    return FALSE;
}

BOOL EnableWindow(HWND Wnd, BOOL Enable) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    bool WasDisabled = W->Style & WS_DISABLED;
    if (Enable && WasDisabled) {
        W->Style &= ~WS_DISABLED;
        Send(W, WM_ENABLE, TRUE, 0);
    } else if (!Enable && !WasDisabled) {
        Send(W, WM_CANCELMODE, 0, 0);
        if (!Ptr(Wnd))
            return FALSE;
        W->Style |= WS_DISABLED;
        TGlobal& Global = G();
        TWnd* F = Ptr(Global.Focus);
        if (F && (F == W || IsChild(Wnd, Global.Focus)))
            SetFocusImpl(nullptr);
        if (Ptr(Wnd))
            Send(W, WM_ENABLE, FALSE, 0);
    }
    return WasDisabled ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND Wnd, TRect* R) {
    TWnd* W = Ptr(Wnd);
    if (!W || !R)
        return FALSE;
    if (W->IsDesktop) {
        *R = Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
        return TRUE;
    }
    *R = WindowRectScreen(W);
    return TRUE;
}

BOOL GetClientRect(HWND Wnd, TRect* R) {
    TWnd* W = Ptr(Wnd);
    if (!W || !R)
        return FALSE;
    if (W->IsDesktop)
        return GetWindowRect(Wnd, R);
    *R = ClientRectLocal(W);
    return TRUE;
}

BOOL ClientToScreen(HWND Wnd, TPoint* P) {
    TWnd* W = Ptr(Wnd);
    if (!W || !P)
        return FALSE;
    TPoint O = ClientOriginScreen(W);
    P->X += O.X;
    P->Y += O.Y;
    return TRUE;
}

BOOL ScreenToClient(HWND Wnd, TPoint* P) {
    TWnd* W = Ptr(Wnd);
    if (!W || !P)
        return FALSE;
    TPoint O = ClientOriginScreen(W);
    P->X -= O.X;
    P->Y -= O.Y;
    return TRUE;
}

int MapWindowPoints(HWND From, HWND To, TPoint* Points, UINT Count) {
    TWnd* F = From ? Ptr(From) : Desktop();
    TWnd* T = To ? Ptr(To) : Desktop();
    if (!F || !T)
        return 0;
    TPoint A = ClientOriginScreen(F), B = ClientOriginScreen(T);
    int DX = A.X - B.X, DY = A.Y - B.Y;
    for (UINT I = 0; I < Count; ++I) {
        Points[I].X += DX;
        Points[I].Y += DY;
    }
    return MAKELPARAM(unsigned(DX), unsigned(DY));
}

BOOL AdjustWindowRect(TRect* R, DWORD Style, BOOL Menu) {
    return AdjustWindowRectEx(R, Style, Menu, 0);
}

BOOL AdjustWindowRectEx(TRect* R, DWORD Style, BOOL Menu, DWORD ExStyle) {
    if (!R)
        return FALSE;
    TFrameInsets In = FrameInsets(Style, ExStyle, false);
    R->Left -= In.Left;
    R->Top -= In.Top + (Menu ? GetSystemMetrics(SM_CYMENU) : 0);
    R->Right += In.Right;
    R->Bottom += In.Bottom;
    return TRUE;
}

BOOL GetWindowPlacement(HWND Wnd, WINDOWPLACEMENT* P) {
    TWnd* W = Ptr(Wnd);
    if (!W || !P)
        return FALSE;
    P->flags = 0;
    P->showCmd = (W->Style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                 : (W->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                 : (W->Style & WS_VISIBLE)  ? SW_SHOWNORMAL
                                            : SW_HIDE;
    P->rcNormalPosition = (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? W->Normal : W->Window;
    return TRUE;
}

BOOL SetWindowPlacement(HWND Wnd, const WINDOWPLACEMENT* P) {
    TWnd* W = Ptr(Wnd);
    if (!W || !P)
        return FALSE;
    TRect N = P->rcNormalPosition;
    if (W->Style & (WS_MINIMIZE | WS_MAXIMIZE))
        W->Normal = N;
    else
        SetWindowPos(Wnd, nullptr, N.Left, N.Top, N.Width(), N.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Wnd, int(P->showCmd));
    return TRUE;
}

HWND WindowFromPoint(TPoint Point) {
    TWnd* W = HitWindow(Point, nullptr, true);
    return W ? W->Handle : nullptr;
}

HWND ChildWindowFromPoint(HWND Parent, TPoint Point) {
    return ChildWindowFromPointEx(Parent, Point, CWP_ALL);
}

HWND ChildWindowFromPointEx(HWND Parent, TPoint Point, UINT Flags) {
    TWnd* P = Ptr(Parent);
    if (!P)
        return nullptr;
    TRect CR = ClientRectLocal(P);
    if (!P->IsDesktop && !PtInRect(&CR, Point))
        return nullptr;
    TPoint Screen = Point;
    if (!P->IsDesktop)
        ClientToScreen(Parent, &Screen);
    for (TWnd* C : P->Children) {
        if ((Flags & CWP_SKIPINVISIBLE) && !(C->Style & WS_VISIBLE))
            continue;
        if ((Flags & CWP_SKIPDISABLED) && (C->Style & WS_DISABLED))
            continue;
        if ((Flags & CWP_SKIPTRANSPARENT) && (C->ExStyle & WS_EX_TRANSPARENT))
            continue;
        if (TakesPointer(C, Screen))
            return C->Handle;
    }
    return P->IsDesktop ? nullptr : Parent;
}
