// The desktop backend on Qt 6 GUI: one frameless Qt window per surface,
// showing the back buffer the window system paints; popups are
// override-redirect windows that never take the focus.
//
// Qt's event loop is driven from the window system's loop (Wait), never the
// other way round. Qt event handlers only turn Qt events into backend events
// and queue them; the window system pulls them with NextEvent, so no window
// procedure ever runs inside a Qt handler. Everything runs on the thread that
// made Qt's application object, except Wake.
//
// Translucency needs a compositing manager. Without one, constant opacity
// shows opaque, and per-pixel alpha and colour keys become a shape: pixels
// below alpha 128 are cut out.
#pragma once

#include "platform/win/Backend.h"

#include <memory>

class QWindow;

class TQtBackend : public TBackend {
public:
    // Raises EInvalidOperation when Qt's application object does not exist.
    TQtBackend();
    ~TQtBackend() override;
    TQtBackend(const TQtBackend&) = delete;
    TQtBackend& operator=(const TQtBackend&) = delete;

    // The Qt window of a surface, nullptr for an unknown one.
    QWindow* SurfaceWindow(TSurfaceId Surface) const;
    // How often the backend asked Qt to activate the surface's window.
    int ActivationRequests(TSurfaceId Surface) const;
    // Whether a compositing manager shows translucency (asked on X11; other
    // platforms compose themselves). A test may force the answer.
    bool HasCompositor() override;
    void SetCompositorOverride(std::optional<bool> Value);

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
    bool Open(const std::string& Target) override;
    void Beep(UINT Type) override;
    // The freedesktop system tray (X11 only; elsewhere there is none).
    bool NotifyAreaAvailable() override;
    TNotifyIconId AddNotifyIcon(const TPixelView& Icon, const std::string& Tip) override;
    void UpdateNotifyIcon(TNotifyIconId Id, const TPixelView& Icon,
                          const std::string& Tip) override;
    void RemoveNotifyIcon(TNotifyIconId Id) override;
    void ShowNotifyBalloon(TNotifyIconId Id, const std::string& Title, const std::string& Text,
                           int IconKind) override;
    void Wake() override;
    void Wait(std::optional<std::uint32_t> Deadline, const char* Caller) override;
    bool NextEvent(TBackendEvent& Event) override;

    struct TImpl;

private:
    std::unique_ptr<TImpl> FImpl;
};
