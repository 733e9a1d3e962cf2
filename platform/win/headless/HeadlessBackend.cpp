#include "platform/win/headless/HeadlessBackend.h"

#include "platform/core/Strings.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>

namespace {

// A wait that other threads could still end gives up after this long.
constexpr auto WaitGuard = std::chrono::seconds(30);

int ProcessThreadCount() {
    std::ifstream Status("/proc/self/status");
    std::string Line;
    while (std::getline(Status, Line))
        if (Line.rfind("Threads:", 0) == 0)
            return std::atoi(Line.c_str() + 8);
    return 2; // unknown: assume another thread may post
}

std::uint32_t Rgb(std::uint32_t Bgra) {
    return Bgra & 0x00FFFFFF;
}

std::uint32_t KeyRgb(COLORREF Key) {
    // COLORREF is 0x00BBGGRR; pixels read as 0x00RRGGBB.
    return (GetRValue(Key) << 16) | (GetGValue(Key) << 8) | GetBValue(Key);
}

std::uint32_t Blend(std::uint32_t Dst, std::uint32_t Src, unsigned A, bool Premultiplied) {
    std::uint32_t Out = 0;
    for (int Shift = 0; Shift <= 16; Shift += 8) {
        unsigned S = (Src >> Shift) & 0xFF, D = (Dst >> Shift) & 0xFF;
        unsigned V = Premultiplied ? S + D * (255 - A) / 255 : (S * A + D * (255 - A)) / 255;
        Out |= std::min(V, 255u) << Shift;
    }
    return Out;
}

} // namespace

THeadlessBackend::THeadlessBackend() {
    FScreens.push_back({Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true});
}

THeadlessBackend::~THeadlessBackend() {
    if (FClock)
        ResetTickSource();
}

void THeadlessBackend::SetScreens(std::vector<TScreenInfo> Screens) {
    FScreens = std::move(Screens);
    TBackendEvent E;
    E.Kind = TBackendEventKind::ScreensChanged;
    Push(E);
}

void THeadlessBackend::UseManualClock(TManualClock* Clock) {
    FClock = Clock;
    SetTickSource(Clock->Source());
}

void THeadlessBackend::ResetClock() {
    if (FClock)
        ResetTickSource();
    FClock = nullptr;
}

void THeadlessBackend::RunUntil(std::uint32_t Tick) {
    for (;;) {
        ProcessPending();
        DWORD Next;
        std::uint32_t Now = FClock ? FClock->Now() : GetTickCount();
        if (!FClock || !NextTimerDue(&Next) || std::int32_t(Next - Tick) > 0 ||
            std::int32_t(Tick - Now) < 0) {
            if (FClock && std::int32_t(Tick - Now) > 0)
                FClock->Set(Tick);
            ProcessPending();
            return;
        }
        if (std::int32_t(Next - Now) > 0)
            FClock->Set(Next);
        else if (ProcessPending() == 0)
            FClock->Set(Now + 1);
    }
}

// ---------------------------------------------------------------- read-back

const THeadlessSurface* THeadlessBackend::Surface(TSurfaceId Id) const {
    return Find(Id);
}

std::vector<TSurfaceId> THeadlessBackend::Surfaces() const {
    std::vector<TSurfaceId> Result;
    for (auto& [Id, S] : FSurfaces)
        Result.push_back(Id);
    return Result;
}

THeadlessSurface* THeadlessBackend::Find(TSurfaceId Id) {
    auto It = FSurfaces.find(Id);
    return It == FSurfaces.end() ? nullptr : &It->second;
}

const THeadlessSurface* THeadlessBackend::Find(TSurfaceId Id) const {
    auto It = FSurfaces.find(Id);
    return It == FSurfaces.end() ? nullptr : &It->second;
}

std::uint32_t THeadlessBackend::SurfacePixel(TSurfaceId Id, int X, int Y) const {
    const THeadlessSurface* S = Find(Id);
    if (!S || X < 0 || Y < 0 || X >= S->PresentedWidth || Y >= S->PresentedHeight)
        return 0;
    return Rgb(S->Presented[std::size_t(Y) * std::size_t(S->PresentedWidth) + std::size_t(X)]);
}

// What a visible surface shows at a screen point: nothing outside its
// bounds, its shape or its picture, and nothing where its colour key is.
std::optional<THeadlessBackend::TShown> THeadlessBackend::ShownAt(const THeadlessSurface& S,
                                                                  TPoint P) const {
    if (!S.Visible || S.Iconified || !PtInRect(&S.Bounds, P))
        return std::nullopt;
    TPoint L{P.X - S.Bounds.Left, P.Y - S.Bounds.Top};
    if (S.Shape && std::none_of(S.Shape->begin(), S.Shape->end(),
                                [L](const TRect& R) { return PtInRect(&R, L); }))
        return std::nullopt;
    if (!S.Image.empty()) {
        if (L.X >= S.ImageWidth || L.Y >= S.ImageHeight)
            return std::nullopt;
        std::uint32_t Px = S.Image[std::size_t(L.Y) * std::size_t(S.ImageWidth) + std::size_t(L.X)];
        return TShown{Rgb(Px), Px >> 24, true};
    }
    if (L.X >= S.PresentedWidth || L.Y >= S.PresentedHeight)
        return std::nullopt;
    std::uint32_t Px =
        Rgb(S.Presented[std::size_t(L.Y) * std::size_t(S.PresentedWidth) + std::size_t(L.X)]);
    if (S.Key && Px == KeyRgb(*S.Key))
        return std::nullopt;
    return TShown{Px, S.Alpha ? unsigned(*S.Alpha) : 255u, false};
}

std::uint32_t THeadlessBackend::ScreenPixel(int X, int Y) const {
    std::uint32_t Out = 0;
    for (auto It = FStacking.rbegin(); It != FStacking.rend(); ++It)
        if (const THeadlessSurface* S = Find(*It))
            if (auto Shown = ShownAt(*S, {X, Y}))
                Out = Blend(Out, Shown->Rgb, Shown->Alpha, Shown->Premultiplied);
    return Out;
}

// ---------------------------------------------------------------- injection

// The pointer goes through whatever shows nothing: outside the shape, fully
// transparent pixels and key pixels, and click-through surfaces as a whole.
TSurfaceId THeadlessBackend::SurfaceAt(TPoint P) const {
    for (TSurfaceId Id : FStacking) {
        const THeadlessSurface* S = Find(Id);
        if (!S || S->ClickThrough)
            continue;
        if (auto Shown = ShownAt(*S, P); Shown && Shown->Alpha > 0)
            return Id;
    }
    return 0;
}

void THeadlessBackend::Push(TBackendEvent Event) {
    {
        std::lock_guard Guard(FLock);
        FEvents.push_back(std::move(Event));
    }
    FCv.notify_all();
}

void THeadlessBackend::PushPointer(TBackendEventKind Kind, int Button, int Delta) {
    // Every pointer event is reported, also outside the program's surfaces:
    // input is injected before the loop runs, so whether a grab will be on
    // when the event is handled is the window system's to decide.
    TSurfaceId Under = SurfaceAt(FPointer);
    if (!Under && FPointerSurface && Kind == TBackendEventKind::PointerMove) {
        TBackendEvent Leave;
        Leave.Kind = TBackendEventKind::PointerLeave;
        Leave.Surface = FPointerSurface;
        Leave.Point = FPointer;
        Push(Leave);
    }
    FPointerSurface = Under;
    TBackendEvent E;
    E.Kind = Kind;
    E.Surface = Under;
    E.Point = FPointer;
    E.Button = Button;
    E.Delta = Delta;
    Push(E);
}

void THeadlessBackend::MovePointer(int X, int Y) {
    FPointer = {X, Y};
    PushPointer(TBackendEventKind::PointerMove, 0, 0);
}

void THeadlessBackend::Press(int Button) {
    PushPointer(TBackendEventKind::ButtonDown, Button, 0);
}

void THeadlessBackend::Release(int Button) {
    PushPointer(TBackendEventKind::ButtonUp, Button, 0);
}

void THeadlessBackend::Click(int X, int Y, int Button) {
    MovePointer(X, Y);
    Press(Button);
    Release(Button);
}

void THeadlessBackend::DoubleClick(int X, int Y, int Button) {
    Click(X, Y, Button);
    Press(Button);
    Release(Button);
}

void THeadlessBackend::Wheel(int Delta) {
    PushPointer(TBackendEventKind::Wheel, 0, Delta);
}

void THeadlessBackend::KeyDown(int VirtualKey, std::string Text, int Repeat) {
    TBackendEvent E;
    E.Kind = TBackendEventKind::KeyDown;
    E.Surface = FFocused;
    E.VirtualKey = VirtualKey;
    E.Repeat = Repeat;
    E.Text = std::move(Text);
    Push(E);
}

void THeadlessBackend::KeyUp(int VirtualKey) {
    TBackendEvent E;
    E.Kind = TBackendEventKind::KeyUp;
    E.Surface = FFocused;
    E.VirtualKey = VirtualKey;
    Push(E);
}

void THeadlessBackend::TypeText(std::string_view Text) {
    std::size_t Pos = 0;
    while (Pos < Text.size()) {
        std::size_t Start = Pos;
        char32_t C = Utf8Next(Text, Pos);
        int Vk = 0;
        if (C >= 'a' && C <= 'z')
            Vk = int(C - 'a' + 'A');
        else if ((C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9'))
            Vk = int(C);
        else if (C == ' ')
            Vk = 32;
        else if (C == '\r' || C == '\n')
            Vk = 13;
        else
            Vk = VK_PROCESSKEY;
        std::string Piece(Text.substr(Start, Pos - Start));
        if (Piece == "\n")
            Piece = "\r";
        KeyDown(Vk, Piece);
        KeyUp(Vk);
    }
}

void THeadlessBackend::CommitText(std::string Text) {
    TBackendEvent E;
    E.Kind = TBackendEventKind::TextCommit;
    E.Surface = FFocused;
    E.Text = std::move(Text);
    Push(E);
}

void THeadlessBackend::TakeFocusAway() {
    TBackendEvent E;
    E.Kind = TBackendEventKind::FocusOut;
    E.Surface = FFocused;
    FFocused = 0;
    Push(E);
}

void THeadlessBackend::GiveFocusBack(TSurfaceId Surface) {
    FFocused = Surface;
    TBackendEvent E;
    E.Kind = TBackendEventKind::FocusIn;
    E.Surface = Surface;
    Push(E);
}

void THeadlessBackend::RequestClose(TSurfaceId Surface) {
    TBackendEvent E;
    E.Kind = TBackendEventKind::CloseRequest;
    E.Surface = Surface;
    Push(E);
}

void THeadlessBackend::MoveSurfaceByDesktop(TSurfaceId Surface, const TRect& Bounds) {
    TBackendEvent E;
    E.Kind = TBackendEventKind::MovedResized;
    E.Surface = Surface;
    E.Bounds = Bounds;
    Push(E);
}

void THeadlessBackend::IconifyByDesktop(TSurfaceId Surface, bool Iconified) {
    if (auto* S = Find(Surface))
        S->Iconified = Iconified;
    TBackendEvent E;
    E.Kind = Iconified ? TBackendEventKind::Iconified : TBackendEventKind::Restored;
    E.Surface = Surface;
    Push(E);
}

void THeadlessBackend::MaximizeByDesktop(TSurfaceId Surface, bool Maximized) {
    if (auto* S = Find(Surface))
        S->Maximized = Maximized;
    TBackendEvent E;
    E.Kind = Maximized ? TBackendEventKind::Maximized : TBackendEventKind::Restored;
    E.Surface = Surface;
    Push(E);
}

void THeadlessBackend::RequestRepaint(TSurfaceId Surface) {
    TBackendEvent E;
    E.Kind = TBackendEventKind::Expose;
    E.Surface = Surface;
    Push(E);
}

void THeadlessBackend::PushNotifyPointer(TNotifyIconId Id, TNotifyPointer Kind, int Button) {
    if (!FNotifyIcons.count(Id))
        return;
    TBackendEvent E;
    E.Kind = TBackendEventKind::NotifyIconPointer;
    E.NotifyIcon = Id;
    E.NotifyPointer = Kind;
    E.Button = Button;
    E.Point = FPointer;
    Push(E);
}

void THeadlessBackend::PointNotifyIcon(TNotifyIconId Id, TPoint Point) {
    if (!FNotifyIcons.count(Id))
        return;
    FPointer = Point;
    PushNotifyPointer(Id, TNotifyPointer::Move, 0);
}

void THeadlessBackend::PressNotifyIcon(TNotifyIconId Id, int Button) {
    PushNotifyPointer(Id, TNotifyPointer::ButtonDown, Button);
}

void THeadlessBackend::ReleaseNotifyIcon(TNotifyIconId Id, int Button) {
    PushNotifyPointer(Id, TNotifyPointer::ButtonUp, Button);
}

void THeadlessBackend::ClickNotifyIcon(TNotifyIconId Id, int Button) {
    PressNotifyIcon(Id, Button);
    ReleaseNotifyIcon(Id, Button);
}

void THeadlessBackend::DoubleClickNotifyIcon(TNotifyIconId Id, int Button) {
    ClickNotifyIcon(Id, Button);
    ClickNotifyIcon(Id, Button);
}

void THeadlessBackend::ClickNotifyBalloon(TNotifyIconId Id) {
    auto It = FNotifyIcons.find(Id);
    if (It == FNotifyIcons.end() || !It->second.BalloonVisible)
        return;
    TBackendEvent E;
    E.Kind = TBackendEventKind::NotifyBalloonClick;
    E.NotifyIcon = Id;
    Push(E);
}

void THeadlessBackend::SetNotifyAreaAvailable(bool Available) {
    if (Available == FNotifyAreaAvailable)
        return;
    FNotifyAreaAvailable = Available;
    if (!Available)
        FNotifyIcons.clear();
    TBackendEvent E;
    E.Kind = TBackendEventKind::NotifyAreaChanged;
    E.Available = Available;
    Push(E);
}

const THeadlessNotifyIcon* THeadlessBackend::NotifyIcon(TNotifyIconId Id) const {
    auto It = FNotifyIcons.find(Id);
    return It == FNotifyIcons.end() ? nullptr : &It->second;
}

std::vector<TNotifyIconId> THeadlessBackend::NotifyIcons() const {
    std::vector<TNotifyIconId> Result;
    for (auto& [Id, Icon] : FNotifyIcons)
        Result.push_back(Id);
    return Result;
}

// ---------------------------------------------------------------- the backend

namespace {

void CopyNotifyPicture(THeadlessNotifyIcon& Icon, const TPixelView& View) {
    Icon.Picture.clear();
    Icon.Width = Icon.Height = 0;
    if (!View.Bits || View.Width <= 0 || View.Height <= 0)
        return;
    Icon.Width = View.Width;
    Icon.Height = View.Height;
    for (int Y = 0; Y < View.Height; ++Y) {
        auto* Row =
            reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(View.Bits) +
                                                   std::size_t(Y) * std::size_t(View.Stride));
        Icon.Picture.insert(Icon.Picture.end(), Row, Row + View.Width);
    }
}

} // namespace

TNotifyIconId THeadlessBackend::AddNotifyIcon(const TPixelView& Picture, const std::string& Tip) {
    TNotifyIconId Id = FNotifyAreaAvailable ? FNextNotifyIcon++ : 0;
    FNotifyCalls.push_back({THeadlessNotifyCall::Add, Id, Tip, {}, {}, 0});
    if (!Id)
        return 0;
    THeadlessNotifyIcon& Icon = FNotifyIcons[Id];
    CopyNotifyPicture(Icon, Picture);
    Icon.Tip = Tip;
    return Id;
}

void THeadlessBackend::UpdateNotifyIcon(TNotifyIconId Id, const TPixelView& Picture,
                                        const std::string& Tip) {
    FNotifyCalls.push_back({THeadlessNotifyCall::Update, Id, Tip, {}, {}, 0});
    auto It = FNotifyIcons.find(Id);
    if (It == FNotifyIcons.end())
        return;
    CopyNotifyPicture(It->second, Picture);
    It->second.Tip = Tip;
}

void THeadlessBackend::RemoveNotifyIcon(TNotifyIconId Id) {
    FNotifyCalls.push_back({THeadlessNotifyCall::Remove, Id, {}, {}, {}, 0});
    FNotifyIcons.erase(Id);
}

void THeadlessBackend::ShowNotifyBalloon(TNotifyIconId Id, const std::string& Title,
                                         const std::string& Text, int IconKind) {
    FNotifyCalls.push_back({THeadlessNotifyCall::Balloon, Id, {}, Title, Text, IconKind});
    auto It = FNotifyIcons.find(Id);
    if (It == FNotifyIcons.end())
        return;
    THeadlessNotifyIcon& Icon = It->second;
    Icon.BalloonVisible = !Text.empty();
    Icon.BalloonTitle = Icon.BalloonVisible ? Title : std::string();
    Icon.BalloonText = Text;
    Icon.BalloonKind = Icon.BalloonVisible ? IconKind : 0;
}

TSurfaceId THeadlessBackend::CreateSurface(TSurfaceKind Kind, TSurfaceId Owner,
                                           const std::string& Title) {
    TSurfaceId Id = FNextId++;
    THeadlessSurface& S = FSurfaces[Id];
    S.Kind = Kind;
    S.Owner = Owner;
    S.Title = Title;
    FStacking.insert(FStacking.begin(), Id);
    return Id;
}

void THeadlessBackend::DestroySurface(TSurfaceId Surface) {
    FSurfaces.erase(Surface);
    FStacking.erase(std::remove(FStacking.begin(), FStacking.end(), Surface), FStacking.end());
    if (FFocused == Surface)
        FFocused = 0;
    if (FPointerSurface == Surface)
        FPointerSurface = 0;
}

void THeadlessBackend::SetBounds(TSurfaceId Surface, const TRect& Bounds) {
    if (auto* S = Find(Surface))
        S->Bounds = Bounds;
}

void THeadlessBackend::SetVisible(TSurfaceId Surface, bool Visible) {
    if (auto* S = Find(Surface)) {
        S->Visible = Visible;
        if (!Visible && FFocused == Surface)
            FFocused = 0;
    }
}

void THeadlessBackend::SetStacking(const std::vector<TSurfaceId>& TopToBottom) {
    FStacking = TopToBottom;
}

void THeadlessBackend::SetTopmost(TSurfaceId Surface, bool Topmost) {
    if (auto* S = Find(Surface))
        S->Topmost = Topmost;
}

TIconifyAnswer THeadlessBackend::SetIconified(TSurfaceId Surface, bool Iconified) {
    auto* S = Find(Surface);
    if (!S || !Iconified || S->Iconified) {
        if (S)
            S->Iconified = Iconified;
        return TIconifyAnswer::Done;
    }
    if (FIconifyAnswer == TIconifyAnswer::Done)
        S->Iconified = true;
    return FIconifyAnswer;
}

void THeadlessBackend::SetMaximized(TSurfaceId Surface, bool Maximized) {
    if (auto* S = Find(Surface))
        S->Maximized = Maximized;
}

void THeadlessBackend::SetTitle(TSurfaceId Surface, const std::string& Title) {
    if (auto* S = Find(Surface))
        S->Title = Title;
}

void THeadlessBackend::Activate(TSurfaceId Surface) {
    auto* S = Find(Surface);
    // Popups never take the keyboard focus.
    if (S && S->Kind == TSurfaceKind::Framed)
        FFocused = Surface;
}

void THeadlessBackend::SetOpacity(TSurfaceId Surface, std::optional<BYTE> Alpha,
                                  std::optional<COLORREF> Key) {
    if (auto* S = Find(Surface)) {
        S->Alpha = Alpha;
        S->Key = Key;
    }
}

void THeadlessBackend::SetImage(TSurfaceId Surface, const TPixelView& Image) {
    auto* S = Find(Surface);
    if (!S)
        return;
    S->Image.clear();
    S->ImageWidth = S->ImageHeight = 0;
    if (!Image.Bits)
        return;
    S->ImageWidth = Image.Width;
    S->ImageHeight = Image.Height;
    S->Image.resize(std::size_t(Image.Width) * std::size_t(Image.Height));
    for (int Y = 0; Y < Image.Height; ++Y)
        std::memcpy(&S->Image[std::size_t(Y) * std::size_t(Image.Width)],
                    static_cast<const char*>(Image.Bits) + std::ptrdiff_t(Y) * Image.Stride,
                    std::size_t(Image.Width) * 4);
}

void THeadlessBackend::SetShape(TSurfaceId Surface,
                                const std::optional<std::vector<TRect>>& Rects) {
    if (auto* S = Find(Surface))
        S->Shape = Rects;
}

void THeadlessBackend::SetClickThrough(TSurfaceId Surface, bool ClickThrough) {
    if (auto* S = Find(Surface))
        S->ClickThrough = ClickThrough;
}

void THeadlessBackend::Present(TSurfaceId Surface, const TPixelView& Buffer,
                               const std::vector<TRect>& Changed) {
    auto* S = Find(Surface);
    if (!S || !Buffer.Bits)
        return;
    S->PresentedWidth = Buffer.Width;
    S->PresentedHeight = Buffer.Height;
    S->Presented.resize(std::size_t(Buffer.Width) * std::size_t(Buffer.Height));
    for (int Y = 0; Y < Buffer.Height; ++Y)
        std::memcpy(&S->Presented[std::size_t(Y) * std::size_t(Buffer.Width)],
                    static_cast<const char*>(Buffer.Bits) + std::ptrdiff_t(Y) * Buffer.Stride,
                    std::size_t(Buffer.Width) * 4);
    ++S->PresentCount;
    S->LastChanged = Changed;
}

void THeadlessBackend::SetCursor(int CursorId) {
    FCursor = CursorId;
}

void THeadlessBackend::SetPointerGrab(bool Grab) {
    FGrabbed = Grab;
}

TPoint THeadlessBackend::PointerPos() {
    return FPointer;
}

void THeadlessBackend::SetPointerPos(TPoint Pos) {
    FPointer = Pos;
}

void THeadlessBackend::SetInputMethodState(bool TakesText, const TRect&) {
    FImeTakesText = TakesText;
}

std::vector<TScreenInfo> THeadlessBackend::Screens() {
    return FScreens;
}

std::string THeadlessBackend::ClipboardText() {
    return FClipboard;
}

void THeadlessBackend::SetClipboardText(const std::string& Text) {
    FClipboard = Text;
    FHasClipboard = true;
    FClipboardPicture.reset();
}

bool THeadlessBackend::HasClipboardText() {
    return FHasClipboard && !FClipboard.empty();
}

void THeadlessBackend::SetClipboardPicture(const TClipboardPicture& Picture) {
    FClipboard.clear();
    FClipboardPicture = Picture;
}

bool THeadlessBackend::HasClipboardPicture() {
    return FClipboardPicture.has_value();
}

bool THeadlessBackend::ClipboardPicture(TClipboardPicture& Picture) {
    if (!FClipboardPicture)
        return false;
    Picture = *FClipboardPicture;
    return true;
}

bool THeadlessBackend::Open(const std::string& Target) {
    FOpened.push_back(Target);
    return !Target.empty();
}

void THeadlessBackend::Beep(UINT Type) {
    FBeeps.push_back(Type);
}

void THeadlessBackend::Wake() {
    {
        std::lock_guard Guard(FLock);
        ++FWakes;
    }
    FCv.notify_all();
}

void THeadlessBackend::Wait(std::optional<std::uint32_t> Deadline, const char* Caller) {
    std::unique_lock Lock(FLock);
    auto Ready = [this] { return FWakes > 0 || !FEvents.empty(); };
    if (Ready()) {
        FWakes = 0;
        return;
    }
    if (FClock) {
        if (Deadline) {
            if (std::int32_t(*Deadline - FClock->Now()) > 0)
                FClock->Set(*Deadline);
            return;
        }
        if (ProcessThreadCount() <= 1)
            throw EWaitWouldHang(std::string(Caller) +
                                 " waits for a message that can never arrive");
        if (!FCv.wait_for(Lock, WaitGuard, Ready))
            throw EWaitWouldHang(std::string(Caller) + " waited too long for another thread");
        FWakes = 0;
        return;
    }
    if (Deadline) {
        auto Ms = std::max<std::int32_t>(0, std::int32_t(*Deadline - GetTickCount()));
        FCv.wait_for(Lock, std::chrono::milliseconds(Ms), Ready);
    } else
        FCv.wait(Lock, Ready);
    FWakes = 0;
}

bool THeadlessBackend::NextEvent(TBackendEvent& Event) {
    std::lock_guard Guard(FLock);
    if (FEvents.empty())
        return false;
    Event = std::move(FEvents.front());
    FEvents.pop_front();
    return true;
}
