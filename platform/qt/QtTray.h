// The desktop's notification area on X11: the freedesktop system-tray
// protocol, each icon a small X window embedded (XEmbed) by the tray host
// that owns the selection _NET_SYSTEM_TRAY_S<screen>. Everything goes over
// Qt's own xcb connection; X events reach it through a native event filter
// on the application, which only queues backend events. On other Qt
// platforms there is no notification area.
#pragma once

#include "platform/win/Backend.h"

#include <QAbstractNativeEventFilter>
#include <QImage>

#include <functional>
#include <map>
#include <string>

struct xcb_connection_t;

class TQtTray : public QAbstractNativeEventFilter {
public:
    using TPush = std::function<void(TBackendEvent)>;
    explicit TQtTray(TPush Push);
    ~TQtTray() override;
    TQtTray(const TQtTray&) = delete;
    TQtTray& operator=(const TQtTray&) = delete;

    bool Available();
    TNotifyIconId Add(const TPixelView& Picture, const std::string& Tip);
    void Update(TNotifyIconId Id, const TPixelView& Picture, const std::string& Tip);
    void Remove(TNotifyIconId Id);
    void Balloon(TNotifyIconId Id, const std::string& Title, const std::string& Text);

    bool nativeEventFilter(const QByteArray& EventType, void* Message, qintptr* Result) override;

private:
    struct TIcon {
        std::uint32_t Window = 0;
        std::uint32_t Gc = 0;
        std::uint32_t Colormap = 0;
        bool Argb = false;
        bool Alive = true; // false once the X window is gone
        int Width = 22;
        int Height = 22;
        QImage Picture; // premultiplied; null for an empty icon
        std::uint32_t BalloonId = 0;
    };

    std::uint32_t HostVisual32();
    void Watch(std::uint32_t Window);
    void SetNames(const TIcon& Icon, const std::string& Tip);
    void Paint(const TIcon& Icon);
    void Destroy(TIcon& Icon);
    void HostGone();
    void NewHost(std::uint32_t Window);
    bool IconEvent(TIcon& Icon, TNotifyIconId Id, const void* Event, std::uint8_t Type);
    void SendToHost(std::uint32_t Window, std::uint32_t Type, int Format, const void* Data);

    TPush FPush;
    xcb_connection_t* C = nullptr;
    std::uint32_t FRoot = 0;
    std::uint32_t FHost = 0;
    std::map<std::string, std::uint32_t> FAtoms;
    std::map<TNotifyIconId, TIcon> FIcons;
    TNotifyIconId FNextId = 1;
    std::uint32_t FNextBalloon = 1;
};
