// The backend below the window system: surfaces for top-level windows, the
// pointer, the clipboard, screens and the wait for events.
//
// The backend knows nothing of messages. The window system drives it and
// pulls its events (NextEvent) when it retrieves messages; a backend never
// calls a window procedure. Coordinates are screen pixels. Every call comes
// from the thread that runs the windows, except Wake, which any thread may
// call.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/gdi/Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Raised by a wait that could never end, naming the waiting call, so that a
// test that would hang fails instead.
class EWaitWouldHang : public Exception {
public:
    using Exception::Exception;
};

using TSurfaceId = std::uint64_t;

enum class TSurfaceKind {
    Framed, // may be activated; an owned one is transient for its owner
    Popup,  // never takes the keyboard focus and is never managed by the desktop
};

struct TScreenInfo {
    TRect Bounds;
    TRect WorkArea;
    bool Primary = false;
};

// A picture in memory, 32 bits per pixel, B, G, R, A, top row first.
// A picture on the clipboard: 32 bits a pixel (B, G, R, A in memory), rows
// top-down without padding.
struct TClipboardPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
};

struct TPixelView {
    const void* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;
};

enum class TBackendEventKind {
    PointerMove,
    ButtonDown,
    ButtonUp,
    Wheel,
    PointerLeave,
    KeyDown,
    KeyUp,
    TextCommit,
    FocusIn,
    FocusOut,
    CloseRequest,
    MovedResized,
    Iconified,
    Restored, // back to normal, from iconified or maximized
    Maximized,
    Expose,
    ScreensChanged,
    NotifyIconPointer,  // NotifyIcon, NotifyPointer, Button, Point
    NotifyBalloonClick, // NotifyIcon
    NotifyAreaChanged,  // Available
};

using TNotifyIconId = std::uint64_t;

// What the pointer did on a notification icon.
enum class TNotifyPointer {
    Move,
    ButtonDown,
    ButtonUp,
};

// How the desktop answers a request to iconify a surface.
enum class TIconifyAnswer {
    Done,    // iconified now
    Pending, // asked; an Iconified event follows if and when the desktop does it
    Refused, // nothing on the display iconifies windows: the surface stays as it is
};

// Buttons: 0 left, 1 right, 2 middle.
struct TBackendEvent {
    TBackendEventKind Kind = TBackendEventKind::PointerMove;
    TSurfaceId Surface = 0;
    TPoint Point;       // screen position of the pointer
    int Button = 0;     // ButtonDown, ButtonUp
    int Delta = 0;      // Wheel: 120 per notch, positive away from the user
    int VirtualKey = 0; // KeyDown, KeyUp
    int ScanCode = 0;   // KeyDown, KeyUp
    int Repeat = 1;     // KeyDown
    bool Extended = false;
    std::string Text; // KeyDown: the text of the key; TextCommit: the committed text
    TRect Bounds;     // MovedResized
    TNotifyIconId NotifyIcon = 0;
    TNotifyPointer NotifyPointer = TNotifyPointer::Move;
    bool Available = false; // NotifyAreaChanged
};

class TBackend {
public:
    virtual ~TBackend() = default;

    virtual TSurfaceId CreateSurface(TSurfaceKind Kind, TSurfaceId Owner,
                                     const std::string& Title) = 0;
    virtual void DestroySurface(TSurfaceId Surface) = 0;
    virtual void SetBounds(TSurfaceId Surface, const TRect& Bounds) = 0;
    virtual void SetVisible(TSurfaceId Surface, bool Visible) = 0;
    // The order of every surface, topmost first.
    virtual void SetStacking(const std::vector<TSurfaceId>& TopToBottom) = 0;
    virtual void SetTopmost(TSurfaceId Surface, bool Topmost) = 0;
    // Iconifying is the desktop's to do, hence the answer; restoring is always Done.
    virtual TIconifyAnswer SetIconified(TSurfaceId Surface, bool Iconified) = 0;
    // Tells the desktop that the window system maximized or restored the surface.
    virtual void SetMaximized(TSurfaceId Surface, bool Maximized) = 0;
    virtual void SetTitle(TSurfaceId Surface, const std::string& Title) = 0;
    virtual void Activate(TSurfaceId Surface) = 0;
    // Alpha 255 and no key: opaque.
    virtual void SetOpacity(TSurfaceId Surface, std::optional<BYTE> Alpha,
                            std::optional<COLORREF> Key) = 0;
    // A premultiplied picture that replaces the presented content; a view
    // without bits returns the surface to its presented content.
    virtual void SetImage(TSurfaceId Surface, const TPixelView& Image) = 0;
    // Rectangles in surface coordinates; no value removes the shape.
    virtual void SetShape(TSurfaceId Surface, const std::optional<std::vector<TRect>>& Rects) = 0;
    virtual void SetClickThrough(TSurfaceId Surface, bool ClickThrough) = 0;
    // The whole back buffer and the rectangles that changed since the last present.
    virtual void Present(TSurfaceId Surface, const TPixelView& Buffer,
                         const std::vector<TRect>& Changed) = 0;
    virtual void SetCursor(int CursorId) = 0;
    virtual void SetPointerGrab(bool Grab) = 0;
    virtual TPoint PointerPos() = 0;
    virtual void SetPointerPos(TPoint Pos) = 0;
    virtual void SetInputMethodState(bool TakesText, const TRect& Caret) = 0;
    virtual std::vector<TScreenInfo> Screens() = 0;
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& Text) = 0;
    virtual bool HasClipboardText() = 0;
    // The clipboard holds one thing at a time: a picture replaces the text
    // and text replaces the picture. A backend whose desktop takes no
    // pictures keeps none.
    virtual void SetClipboardPicture(const TClipboardPicture&) {}
    virtual bool HasClipboardPicture() { return false; }
    virtual bool ClipboardPicture(TClipboardPicture&) { return false; }
    virtual bool Open(const std::string& Target) = 0;
    virtual void Beep(UINT Type) = 0;
    // Whether the desktop shows per-pixel alpha and constant opacity
    // translucent (a compositor runs).
    virtual bool HasCompositor() = 0;

    // The desktop's notification area. An icon's picture is premultiplied,
    // as for SetImage (no bits: an empty icon); the backend scales it to the
    // size the desktop gives the icon. Adding answers 0 when refused. An
    // empty balloon text hides the balloon; IconKind is an NIIF_ value.
    virtual bool NotifyAreaAvailable() = 0;
    virtual TNotifyIconId AddNotifyIcon(const TPixelView& Icon, const std::string& Tip) = 0;
    virtual void UpdateNotifyIcon(TNotifyIconId Id, const TPixelView& Icon,
                                  const std::string& Tip) = 0;
    virtual void RemoveNotifyIcon(TNotifyIconId Id) = 0;
    virtual void ShowNotifyBalloon(TNotifyIconId Id, const std::string& Title,
                                   const std::string& Text, int IconKind) = 0;

    // Thread-safe; makes a waiting Wait return. A wake that comes before the
    // wait is kept, so the wait returns at once.
    virtual void Wake() = 0;
    // Returns when an event or a wake arrives or the deadline (tick count)
    // passes. Caller names the waiting call for a test that would hang.
    virtual void Wait(std::optional<std::uint32_t> Deadline, const char* Caller) = 0;
    virtual bool NextEvent(TBackendEvent& Event) = 0;
};

// The window system's backend. Without one set, a headless backend on the
// real clock is made on first use. The caller keeps ownership.
void SetBackend(TBackend* Backend);
TBackend& Backend();
