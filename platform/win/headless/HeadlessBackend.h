// The headless backend: surfaces, screens, pointer and clipboard in memory,
// deterministic and without a thread of its own. Tests inject input through
// it and read back what the window system made of their windows: surface
// state, presented pixels and the composed screen.
//
// With a manual clock (UseManualClock) a wait never sleeps: it advances the
// clock to the next deadline, or, when nothing can arrive any more (no
// deadline and no other thread in the process), raises EWaitWouldHang naming
// the waiting call. When other threads may still post, it waits for their
// wake-up with a generous real-time guard and raises the same way after it.
//
// Injected pointer events carry the surface under the pointer (0 outside the
// program's surfaces; see-through pixels of a translucent surface let the
// pointer through, as a desktop does) and are all reported: whether a grab is on when an
// event is handled is known only when the window system takes it.
#pragma once

#include "platform/core/Clock.h"
#include "platform/win/Backend.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

struct THeadlessSurface {
    TSurfaceKind Kind = TSurfaceKind::Framed;
    TSurfaceId Owner = 0;
    std::string Title;
    TRect Bounds;
    bool Visible = false;
    bool Topmost = false;
    bool Iconified = false;
    bool Maximized = false;
    std::optional<BYTE> Alpha;
    std::optional<COLORREF> Key;
    std::vector<std::uint32_t> Image; // per-pixel picture, premultiplied; empty when none
    int ImageWidth = 0;
    int ImageHeight = 0;
    std::optional<std::vector<TRect>> Shape;
    bool ClickThrough = false;
    std::vector<std::uint32_t> Presented; // the last presented back buffer
    int PresentedWidth = 0;
    int PresentedHeight = 0;
    int PresentCount = 0;
    std::vector<TRect> LastChanged;
};

// An icon in the headless notification area.
struct THeadlessNotifyIcon {
    std::vector<std::uint32_t> Picture; // premultiplied; empty for no picture
    int Width = 0;
    int Height = 0;
    std::string Tip;
    bool BalloonVisible = false;
    std::string BalloonTitle;
    std::string BalloonText;
    int BalloonKind = 0;
};

// One call the window system made on the notification area.
struct THeadlessNotifyCall {
    enum TOperation { Add, Update, Remove, Balloon };
    TOperation Operation = Add;
    TNotifyIconId Id = 0; // 0 for a refused add
    std::string Tip;      // Add, Update
    std::string Title;    // Balloon
    std::string Text;     // Balloon
    int Kind = 0;         // Balloon

    bool operator==(const THeadlessNotifyCall&) const = default;
};

class THeadlessBackend : public TBackend {
public:
    THeadlessBackend();
    ~THeadlessBackend() override;

    // ------------------------------------------------ configuration
    // Replaces the monitors and reports the change to the window system.
    void SetScreens(std::vector<TScreenInfo> Screens);
    // Installs Clock as the tick source until ResetClock or destruction.
    void UseManualClock(TManualClock* Clock);
    void ResetClock();
    TManualClock* ManualClock() const { return FClock; }
    // Runs the loop until the clock reads Tick: every pending message is
    // dispatched, the clock advanced from one timer to the next.
    void RunUntil(std::uint32_t Tick);
    // How the desktop answers a request to iconify: Done (the default) as a
    // window manager that iconifies at once, Pending as one that does it
    // later (IconifyByDesktop confirms), Refused as a display without one.
    void SetIconifyAnswer(TIconifyAnswer Answer) { FIconifyAnswer = Answer; }
    // The notification area is there by default; taking it away forgets its
    // icons. Either change is reported to the window system.
    void SetNotifyAreaAvailable(bool Available);

    // ------------------------------------------------ read-back
    const THeadlessSurface* Surface(TSurfaceId Id) const;
    std::vector<TSurfaceId> Surfaces() const;
    std::vector<TSurfaceId> Stacking() const { return FStacking; }
    TSurfaceId Focused() const { return FFocused; }
    // The surface the last injected pointer event was reported on.
    TSurfaceId PointerSurface() const { return FPointerSurface; }
    int Cursor() const { return FCursor; }
    bool Grabbed() const { return FGrabbed; }
    const std::string& Clipboard() const { return FClipboard; }
    const std::vector<UINT>& Beeps() const { return FBeeps; }
    const std::vector<std::string>& Opened() const { return FOpened; }
    bool InputMethodTakesText() const { return FImeTakesText; }
    // The program's visible surfaces composed in stacking order over black,
    // as 0x00RRGGBB, at a screen point.
    std::uint32_t ScreenPixel(int X, int Y) const;
    // The presented pixel of a surface at surface coordinates, as 0x00RRGGBB.
    std::uint32_t SurfacePixel(TSurfaceId Id, int X, int Y) const;
    // An icon of the notification area, null when there is none of that id.
    const THeadlessNotifyIcon* NotifyIcon(TNotifyIconId Id) const;
    std::vector<TNotifyIconId> NotifyIcons() const;
    const std::vector<THeadlessNotifyCall>& NotifyIconCalls() const { return FNotifyCalls; }
    void ClearNotifyIconCalls() { FNotifyCalls.clear(); }

    // ------------------------------------------------ input injection
    void MovePointer(int X, int Y);
    void Press(int Button = 0);
    void Release(int Button = 0);
    void Click(int X, int Y, int Button = 0);
    void DoubleClick(int X, int Y, int Button = 0);
    void Wheel(int Delta);
    void KeyDown(int VirtualKey, std::string Text = {}, int Repeat = 1);
    void KeyUp(int VirtualKey);
    // Key events with text for each character.
    void TypeText(std::string_view Text);
    void CommitText(std::string Text);
    void TakeFocusAway();
    void GiveFocusBack(TSurfaceId Surface);
    void RequestClose(TSurfaceId Surface);
    void MoveSurfaceByDesktop(TSurfaceId Surface, const TRect& Bounds);
    void IconifyByDesktop(TSurfaceId Surface, bool Iconified);
    void MaximizeByDesktop(TSurfaceId Surface, bool Maximized);
    void RequestRepaint(TSurfaceId Surface);
    // The pointer on a notification icon: PointNotifyIcon moves it to a
    // screen point over the icon, where the presses and releases then happen.
    // Events for an icon that is not there are not made.
    void PointNotifyIcon(TNotifyIconId Id, TPoint Point);
    void PressNotifyIcon(TNotifyIconId Id, int Button = 0);
    void ReleaseNotifyIcon(TNotifyIconId Id, int Button = 0);
    void ClickNotifyIcon(TNotifyIconId Id, int Button = 0);
    void DoubleClickNotifyIcon(TNotifyIconId Id, int Button = 0);
    void ClickNotifyBalloon(TNotifyIconId Id);

    // ------------------------------------------------ the backend
    TSurfaceId CreateSurface(TSurfaceKind Kind, TSurfaceId Owner,
                             const std::string& Title) override;
    void DestroySurface(TSurfaceId Surface) override;
    void SetBounds(TSurfaceId Surface, const TRect& Bounds) override;
    void SetVisible(TSurfaceId Surface, bool Visible) override;
    void SetStacking(const std::vector<TSurfaceId>& TopToBottom) override;
    void SetTopmost(TSurfaceId Surface, bool Topmost) override;
    TIconifyAnswer SetIconified(TSurfaceId Surface, bool Iconified) override;
    void SetMaximized(TSurfaceId Surface, bool Maximized) override;
    void SetTitle(TSurfaceId Surface, const std::string& Title) override;
    void Activate(TSurfaceId Surface) override;
    void SetOpacity(TSurfaceId Surface, std::optional<BYTE> Alpha,
                    std::optional<COLORREF> Key) override;
    void SetImage(TSurfaceId Surface, const TPixelView& Image) override;
    void SetShape(TSurfaceId Surface, const std::optional<std::vector<TRect>>& Rects) override;
    void SetClickThrough(TSurfaceId Surface, bool ClickThrough) override;
    void Present(TSurfaceId Surface, const TPixelView& Buffer,
                 const std::vector<TRect>& Changed) override;
    void SetCursor(int CursorId) override;
    void SetPointerGrab(bool Grab) override;
    TPoint PointerPos() override;
    void SetPointerPos(TPoint Pos) override;
    void SetInputMethodState(bool TakesText, const TRect& Caret) override;
    std::vector<TScreenInfo> Screens() override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& Text) override;
    bool HasClipboardText() override;
    void SetClipboardPicture(const TClipboardPicture& Picture) override;
    bool HasClipboardPicture() override;
    bool ClipboardPicture(TClipboardPicture& Picture) override;
    bool Open(const std::string& Target) override;
    void Beep(UINT Type) override;
    // True unless a test says otherwise: the composed screen blends alpha.
    bool HasCompositor() override { return FHasCompositor; }
    void SetHasCompositor(bool Value) { FHasCompositor = Value; }
    bool NotifyAreaAvailable() override { return FNotifyAreaAvailable; }
    TNotifyIconId AddNotifyIcon(const TPixelView& Icon, const std::string& Tip) override;
    void UpdateNotifyIcon(TNotifyIconId Id, const TPixelView& Icon,
                          const std::string& Tip) override;
    void RemoveNotifyIcon(TNotifyIconId Id) override;
    void ShowNotifyBalloon(TNotifyIconId Id, const std::string& Title, const std::string& Text,
                           int IconKind) override;
    void Wake() override;
    void Wait(std::optional<std::uint32_t> Deadline, const char* Caller) override;
    bool NextEvent(TBackendEvent& Event) override;

private:
    THeadlessSurface* Find(TSurfaceId Id);
    const THeadlessSurface* Find(TSurfaceId Id) const;
    TSurfaceId SurfaceAt(TPoint P) const;
    struct TShown {
        std::uint32_t Rgb;
        unsigned Alpha;
        bool Premultiplied;
    };
    std::optional<TShown> ShownAt(const THeadlessSurface& S, TPoint P) const;
    void Push(TBackendEvent Event);
    void PushPointer(TBackendEventKind Kind, int Button, int Delta);
    void PushNotifyPointer(TNotifyIconId Id, TNotifyPointer Kind, int Button);

    std::map<TSurfaceId, THeadlessSurface> FSurfaces;
    std::vector<TSurfaceId> FStacking;
    TSurfaceId FNextId = 1;
    TSurfaceId FFocused = 0;
    TSurfaceId FPointerSurface = 0;
    std::vector<TScreenInfo> FScreens;
    int FCursor = 0;
    bool FGrabbed = false;
    TPoint FPointer;
    std::string FClipboard;
    bool FHasClipboard = false;
    std::optional<TClipboardPicture> FClipboardPicture;
    std::vector<UINT> FBeeps;
    bool FHasCompositor = true;
    std::vector<std::string> FOpened;
    bool FImeTakesText = false;
    TManualClock* FClock = nullptr;
    TIconifyAnswer FIconifyAnswer = TIconifyAnswer::Done;
    bool FNotifyAreaAvailable = true;
    std::map<TNotifyIconId, THeadlessNotifyIcon> FNotifyIcons;
    TNotifyIconId FNextNotifyIcon = 1;
    std::vector<THeadlessNotifyCall> FNotifyCalls;

    // Guards the events and the wake count: other threads wake.
    mutable std::mutex FLock;
    std::condition_variable FCv;
    std::deque<TBackendEvent> FEvents;
    int FWakes = 0;
};
