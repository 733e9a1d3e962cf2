#include "platform/qt/QtTray.h"

#include "platform/qt/QtX11.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Opcodes of _NET_SYSTEM_TRAY_OPCODE.
constexpr std::uint32_t RequestDock = 0, BeginMessage = 1, CancelMessage = 2;
constexpr std::uint32_t XEmbedMapped = 1;
constexpr std::uint32_t BalloonTimeoutMs = 10000;
// An icon's size until the host gives it another.
constexpr int DefaultIconSize = 22;

constexpr std::uint32_t IconEvents = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                     XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                                     XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_EXPOSURE |
                                     XCB_EVENT_MASK_STRUCTURE_NOTIFY;

const char* const AtomNames[] = {"MANAGER",
                                 "_NET_SYSTEM_TRAY_OPCODE",
                                 "_NET_SYSTEM_TRAY_MESSAGE_DATA",
                                 "_NET_SYSTEM_TRAY_VISUAL",
                                 "_XEMBED_INFO",
                                 "_NET_WM_NAME",
                                 "UTF8_STRING"};

// X buttons 1, 2, 3 are left, middle, right; the wheel's are not buttons here.
int ButtonOf(xcb_button_t Detail) {
    switch (Detail) {
    case 1:
        return 0;
    case 2:
        return 2;
    case 3:
        return 1;
    default:
        return -1;
    }
}

} // namespace

TQtTray::TQtTray(TPush Push) : FPush(std::move(Push)), C(X11Connection()) {
    if (!C)
        return;
    FRoot = X11Root(C);
    FAtoms["selection"] =
        X11Atom(C, "_NET_SYSTEM_TRAY_S" + std::to_string(X11ScreenNumber()), true);
    for (const char* Name : AtomNames)
        FAtoms[Name] = X11Atom(C, Name, true);
    // A new tray host announces itself to the root window's structure
    // listeners. The event mask is per client: Qt's own bits stay.
    xcb_get_window_attributes_reply_t* Attributes =
        xcb_get_window_attributes_reply(C, xcb_get_window_attributes(C, FRoot), nullptr);
    std::uint32_t Mask =
        (Attributes ? Attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::free(Attributes);
    xcb_change_window_attributes(C, FRoot, XCB_CW_EVENT_MASK, &Mask);
    xcb_flush(C);
    Available();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TQtTray::~TQtTray() {
    if (!C)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    for (auto& [Id, Icon] : FIcons)
        Destroy(Icon);
    xcb_flush(C);
}

// Asked of the server each time: the host that answers is the one the
// icons go to. One that took over before its predecessor's end was heard of
// replaces it here: the old host's icons are gone with it.
bool TQtTray::Available() {
    if (!C)
        return false;
    xcb_get_selection_owner_reply_t* Owner =
        xcb_get_selection_owner_reply(C, xcb_get_selection_owner(C, FAtoms["selection"]), nullptr);
    xcb_window_t Host = Owner ? Owner->owner : XCB_NONE;
    std::free(Owner);
    if (Host != XCB_NONE && Host != FHost) {
        if (FHost)
            HostGone();
        FHost = Host;
        Watch(Host);
    }
    return Host != XCB_NONE;
}

void TQtTray::Watch(std::uint32_t Window) {
    std::uint32_t Mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_discard_reply(
        C, xcb_change_window_attributes_checked(C, Window, XCB_CW_EVENT_MASK, &Mask).sequence);
    xcb_flush(C);
}

// The host's 32-bit visual, when it offers one: icons then keep their alpha.
std::uint32_t TQtTray::HostVisual32() {
    xcb_get_property_reply_t* Reply = xcb_get_property_reply(
        C,
        xcb_get_property(C, 0, FHost, FAtoms["_NET_SYSTEM_TRAY_VISUAL"], XCB_ATOM_VISUALID, 0, 1),
        nullptr);
    xcb_visualid_t Visual = 0;
    if (Reply && Reply->format == 32 && xcb_get_property_value_length(Reply) >= 4)
        Visual = *static_cast<const xcb_visualid_t*>(xcb_get_property_value(Reply));
    std::free(Reply);
    if (!Visual)
        return 0;
    for (auto D = xcb_screen_allowed_depths_iterator(X11Screen(C)); D.rem; xcb_depth_next(&D))
        for (auto V = xcb_depth_visuals_iterator(D.data); V.rem; xcb_visualtype_next(&V))
            if (V.data->visual_id == Visual)
                return D.data->depth == 32 ? Visual : 0;
    return 0;
}

void TQtTray::SendToHost(std::uint32_t Window, std::uint32_t Type, int Format, const void* Data) {
    xcb_client_message_event_t E{};
    E.response_type = XCB_CLIENT_MESSAGE;
    E.format = std::uint8_t(Format);
    E.window = Window;
    E.type = Type;
    std::memcpy(&E.data, Data, sizeof E.data);
    // A host that went away meanwhile is heard of through its DestroyNotify.
    xcb_discard_reply(C, xcb_send_event_checked(C, 0, FHost, XCB_EVENT_MASK_NO_EVENT,
                                                reinterpret_cast<const char*>(&E))
                             .sequence);
}

void TQtTray::SetNames(const TIcon& Icon, const std::string& Tip) {
    xcb_change_property(C, XCB_PROP_MODE_REPLACE, Icon.Window, FAtoms["_NET_WM_NAME"],
                        FAtoms["UTF8_STRING"], 8, std::uint32_t(Tip.size()), Tip.data());
    xcb_change_property(C, XCB_PROP_MODE_REPLACE, Icon.Window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        std::uint32_t(Tip.size()), Tip.data());
}

TNotifyIconId TQtTray::Add(const TPixelView& Picture, const std::string& Tip) {
    if (!Available())
        return 0;
    TIcon Icon;
    Icon.Window = xcb_generate_id(C);
    Icon.Width = Icon.Height = DefaultIconSize;
    if (std::uint32_t Visual = HostVisual32()) {
        Icon.Argb = true;
        Icon.Colormap = xcb_generate_id(C);
        xcb_create_colormap(C, XCB_COLORMAP_ALLOC_NONE, Icon.Colormap, FRoot, Visual);
        const std::uint32_t Values[] = {0, 0, IconEvents, Icon.Colormap};
        xcb_create_window(
            C, 32, Icon.Window, FRoot, 0, 0, DefaultIconSize, DefaultIconSize, 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, Visual,
            XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, Values);
    } else {
        const std::uint32_t Values[] = {XCB_BACK_PIXMAP_PARENT_RELATIVE, IconEvents};
        xcb_create_window(C, XCB_COPY_FROM_PARENT, Icon.Window, FRoot, 0, 0, DefaultIconSize,
                          DefaultIconSize, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, Values);
    }
    Icon.Gc = xcb_generate_id(C);
    xcb_create_gc(C, Icon.Gc, Icon.Window, 0, nullptr);
    const std::uint32_t Info[] = {0, XEmbedMapped};
    xcb_change_property(C, XCB_PROP_MODE_REPLACE, Icon.Window, FAtoms["_XEMBED_INFO"],
                        FAtoms["_XEMBED_INFO"], 32, 2, Info);
    SetNames(Icon, Tip);
    if (Picture.Bits && Picture.Width > 0 && Picture.Height > 0)
        Icon.Picture = QImage(static_cast<const uchar*>(Picture.Bits), Picture.Width,
                              Picture.Height, Picture.Stride, QImage::Format_ARGB32_Premultiplied)
                           .copy();
    const std::uint32_t Dock[5] = {XCB_CURRENT_TIME, RequestDock, Icon.Window, 0, 0};
    SendToHost(FHost, FAtoms["_NET_SYSTEM_TRAY_OPCODE"], 32, Dock);
    xcb_flush(C);
    TNotifyIconId Id = FNextId++;
    FIcons.emplace(Id, std::move(Icon));
    return Id;
}

void TQtTray::Update(TNotifyIconId Id, const TPixelView& Picture, const std::string& Tip) {
    auto It = FIcons.find(Id);
    if (It == FIcons.end() || !It->second.Alive)
        return;
    TIcon& Icon = It->second;
    Icon.Picture = Picture.Bits && Picture.Width > 0 && Picture.Height > 0
                       ? QImage(static_cast<const uchar*>(Picture.Bits), Picture.Width,
                                Picture.Height, Picture.Stride, QImage::Format_ARGB32_Premultiplied)
                             .copy()
                       : QImage();
    SetNames(Icon, Tip);
    Paint(Icon);
    xcb_flush(C);
}

void TQtTray::Remove(TNotifyIconId Id) {
    auto It = FIcons.find(Id);
    if (It == FIcons.end())
        return;
    Destroy(It->second);
    FIcons.erase(It);
    xcb_flush(C);
}

// Title and text go as one UTF-8 message, a line break between them; hosts
// that show no balloons ignore it. No text takes the last one back.
void TQtTray::Balloon(TNotifyIconId Id, const std::string& Title, const std::string& Text) {
    auto It = FIcons.find(Id);
    if (It == FIcons.end() || !It->second.Alive)
        return;
    TIcon& Icon = It->second;
    if (Icon.BalloonId) {
        const std::uint32_t Cancel[5] = {XCB_CURRENT_TIME, CancelMessage, Icon.BalloonId, 0, 0};
        SendToHost(Icon.Window, FAtoms["_NET_SYSTEM_TRAY_OPCODE"], 32, Cancel);
        Icon.BalloonId = 0;
    }
    if (!Text.empty()) {
        std::string Message = Title.empty() ? Text : Title + "\n" + Text;
        Icon.BalloonId = FNextBalloon++;
        const std::uint32_t Begin[5] = {XCB_CURRENT_TIME, BeginMessage, BalloonTimeoutMs,
                                        std::uint32_t(Message.size()), Icon.BalloonId};
        SendToHost(Icon.Window, FAtoms["_NET_SYSTEM_TRAY_OPCODE"], 32, Begin);
        for (std::size_t At = 0; At < Message.size(); At += 20) {
            char Chunk[20] = {};
            std::memcpy(Chunk, Message.data() + At, std::min<std::size_t>(20, Message.size() - At));
            SendToHost(Icon.Window, FAtoms["_NET_SYSTEM_TRAY_MESSAGE_DATA"], 8, Chunk);
        }
    }
    xcb_flush(C);
}

// The picture scaled to the icon's window. A 32-bit window takes it with its
// alpha; any other keeps the host's background and gets only the pixels of
// alpha 128 and above, the cut windows get without a compositor.
void TQtTray::Paint(const TIcon& Icon) {
    if (!Icon.Alive)
        return;
    if (!Icon.Argb || Icon.Picture.isNull())
        xcb_clear_area(C, 0, Icon.Window, 0, 0, 0, 0);
    if (Icon.Picture.isNull())
        return;
    QImage Scaled = Icon.Picture.scaled(Icon.Width, Icon.Height, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
    if (Icon.Argb) {
        Scaled = Scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        xcb_put_image(C, XCB_IMAGE_FORMAT_Z_PIXMAP, Icon.Window, Icon.Gc, std::uint16_t(Icon.Width),
                      std::uint16_t(Icon.Height), 0, 0, 0, 32, std::uint32_t(Scaled.sizeInBytes()),
                      Scaled.constBits());
        return;
    }
    Scaled = Scaled.convertToFormat(QImage::Format_ARGB32);
    std::uint8_t Depth = X11Screen(C)->root_depth;
    for (int Y = 0; Y < Scaled.height(); ++Y) {
        const auto* Row = reinterpret_cast<const QRgb*>(Scaled.constScanLine(Y));
        for (int X = 0; X < Scaled.width();) {
            while (X < Scaled.width() && qAlpha(Row[X]) < 128)
                ++X;
            int From = X;
            while (X < Scaled.width() && qAlpha(Row[X]) >= 128)
                ++X;
            if (X > From)
                xcb_put_image(C, XCB_IMAGE_FORMAT_Z_PIXMAP, Icon.Window, Icon.Gc,
                              std::uint16_t(X - From), 1, std::int16_t(From), std::int16_t(Y), 0,
                              Depth, std::uint32_t((X - From) * 4),
                              reinterpret_cast<const std::uint8_t*>(Row + From));
        }
    }
}

void TQtTray::Destroy(TIcon& Icon) {
    xcb_free_gc(C, Icon.Gc);
    if (Icon.Colormap)
        xcb_free_colormap(C, Icon.Colormap);
    // The host may have taken the window with it.
    if (Icon.Alive)
        xcb_discard_reply(C, xcb_destroy_window_checked(C, Icon.Window).sequence);
    Icon.Alive = false;
}

void TQtTray::HostGone() {
    for (auto& [Id, Icon] : FIcons)
        Destroy(Icon);
    FIcons.clear();
    FHost = 0;
    xcb_flush(C);
    TBackendEvent E;
    E.Kind = TBackendEventKind::NotifyAreaChanged;
    E.Available = false;
    FPush(E);
}

void TQtTray::NewHost(std::uint32_t Window) {
    // A host that replaces another without going away first: the old one's
    // icons are lost all the same.
    if (FHost && FHost != Window)
        HostGone();
    FHost = Window;
    Watch(Window);
    TBackendEvent E;
    E.Kind = TBackendEventKind::NotifyAreaChanged;
    E.Available = true;
    FPush(E);
}

bool TQtTray::IconEvent(TIcon& Icon, TNotifyIconId Id, const void* Event, std::uint8_t Type) {
    TBackendEvent B;
    B.Kind = TBackendEventKind::NotifyIconPointer;
    B.NotifyIcon = Id;
    switch (Type) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
        auto* E = static_cast<const xcb_button_press_event_t*>(Event);
        B.Button = ButtonOf(E->detail);
        if (B.Button < 0)
            return true;
        B.NotifyPointer =
            Type == XCB_BUTTON_PRESS ? TNotifyPointer::ButtonDown : TNotifyPointer::ButtonUp;
        B.Point = {E->root_x, E->root_y};
        FPush(B);
        return true;
    }
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY: {
        // Both event records start alike up to the root position.
        auto* E = static_cast<const xcb_motion_notify_event_t*>(Event);
        B.NotifyPointer = TNotifyPointer::Move;
        B.Point = {E->root_x, E->root_y};
        FPush(B);
        return true;
    }
    case XCB_EXPOSE:
        if (static_cast<const xcb_expose_event_t*>(Event)->count == 0) {
            Paint(Icon);
            xcb_flush(C);
        }
        return true;
    case XCB_CONFIGURE_NOTIFY: {
        auto* E = static_cast<const xcb_configure_notify_event_t*>(Event);
        if (E->width != Icon.Width || E->height != Icon.Height) {
            Icon.Width = std::max<int>(E->width, 1);
            Icon.Height = std::max<int>(E->height, 1);
            Paint(Icon);
            xcb_flush(C);
        }
        return true;
    }
    case XCB_DESTROY_NOTIFY:
        Icon.Alive = false;
        return true;
    default:
        return true;
    }
}

bool TQtTray::nativeEventFilter(const QByteArray& EventType, void* Message, qintptr*) {
    if (EventType != "xcb_generic_event_t")
        return false;
    auto* Event = static_cast<const xcb_generic_event_t*>(Message);
    std::uint8_t Type = Event->response_type & 0x7F;
    if (Type == XCB_CLIENT_MESSAGE) {
        auto* E = static_cast<const xcb_client_message_event_t*>(Message);
        if (E->window == FRoot && E->type == FAtoms["MANAGER"] && E->format == 32 &&
            E->data.data32[1] == FAtoms["selection"])
            NewHost(E->data.data32[2]);
        return false;
    }
    if (Type == XCB_DESTROY_NOTIFY && FHost &&
        static_cast<const xcb_destroy_notify_event_t*>(Message)->window == FHost) {
        HostGone();
        return false;
    }
    // The event's window sits at the same place in each of these records.
    xcb_window_t Window = 0;
    switch (Type) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
        Window = static_cast<const xcb_button_press_event_t*>(Message)->event;
        break;
    case XCB_EXPOSE:
        Window = static_cast<const xcb_expose_event_t*>(Message)->window;
        break;
    case XCB_CONFIGURE_NOTIFY:
        Window = static_cast<const xcb_configure_notify_event_t*>(Message)->window;
        break;
    case XCB_DESTROY_NOTIFY:
        Window = static_cast<const xcb_destroy_notify_event_t*>(Message)->window;
        break;
    default:
        return false;
    }
    for (auto& [Id, Icon] : FIcons)
        if (Icon.Window == Window)
            return IconEvent(Icon, Id, Message, Type);
    return false;
}
