#include "platform/qt/QtBackend.h"

#include "platform/core/Clock.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtPixelRegion.h"
#include "platform/qt/QtTray.h"
#include "platform/qt/QtX11.h"
#include "platform/win/Messages.h"

#include <QAbstractEventDispatcher>
#include <QBackingStore>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlatformSurfaceEvent>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <sys/uio.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

namespace {

// How long a window manager may take to iconify a window before the request
// counts as ignored.
constexpr int IconifyGraceMs = 1000;

// A key colour as the low 24 bits of a pixel, which is all the comparison
// against the window system's pixels may look at: their alpha byte is undefined.
std::uint32_t KeyPixel(COLORREF Key) {
    return qRgb(GetRValue(Key), GetGValue(Key), GetBValue(Key)) & 0xFFFFFF;
}

// Pixels of the window system (alpha byte undefined) as opaque pixels. Eight
// at a time: a whole window is copied on every present of a moving picture.
void CopyOpaque(const std::uint32_t* From, std::uint32_t* To, int Count) {
    using TEight = std::uint32_t __attribute__((vector_size(32)));
    int X = 0;
    for (; X + 8 <= Count; X += 8) {
        TEight Pixels;
        std::memcpy(&Pixels, From + X, sizeof Pixels);
        Pixels |= 0xFF000000u;
        std::memcpy(To + X, &Pixels, sizeof Pixels);
    }
    for (; X < Count; ++X)
        To[X] = From[X] | 0xFF000000u;
}

// The same with the key colour (low 24 bits) fully transparent.
void CopyKeyed(const std::uint32_t* From, std::uint32_t* To, int Count, std::uint32_t Key) {
    for (int X = 0; X < Count; ++X) {
        const std::uint32_t P = From[X] & 0xFFFFFF;
        To[X] = P == Key ? 0 : P | 0xFF000000u;
    }
}

QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, std::max(R.Width(), 0), std::max(R.Height(), 0));
}

TRect ToTRect(const QRect& R) {
    return Bounds(R.x(), R.y(), R.width(), R.height());
}

Qt::CursorShape CursorShapeOf(int CursorId) {
    switch (CursorId) {
    case 0:
        return Qt::BlankCursor;
    case IDC_IBEAM:
        return Qt::IBeamCursor;
    case IDC_WAIT:
        return Qt::WaitCursor;
    case IDC_CROSS:
        return Qt::CrossCursor;
    case IDC_UPARROW:
        return Qt::UpArrowCursor;
    case IDC_SIZENWSE:
        return Qt::SizeFDiagCursor;
    case IDC_SIZENESW:
        return Qt::SizeBDiagCursor;
    case IDC_SIZEWE:
        return Qt::SizeHorCursor;
    case IDC_SIZENS:
        return Qt::SizeVerCursor;
    case IDC_SIZEALL:
        return Qt::SizeAllCursor;
    case IDC_NO:
        return Qt::ForbiddenCursor;
    case IDC_HAND:
        return Qt::PointingHandCursor;
    case IDC_APPSTARTING:
        return Qt::BusyCursor;
    case IDC_HELP:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

int ButtonIndex(Qt::MouseButton Button) {
    switch (Button) {
    case Qt::LeftButton:
        return 0;
    case Qt::RightButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    default:
        return -1;
    }
}

// A region that shows nothing: an empty QRegion would remove the mask.
QRegion NothingVisible() {
    return QRegion(-1, -1, 1, 1);
}

std::optional<xcb_window_t> X11WindowProperty(xcb_connection_t* C, xcb_window_t Window,
                                              xcb_atom_t Atom) {
    xcb_get_property_reply_t* Reply = xcb_get_property_reply(
        C, xcb_get_property(C, 0, Window, Atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    std::optional<xcb_window_t> Value;
    if (Reply && Reply->format == 32 && xcb_get_property_value_length(Reply) >= 4)
        Value = *static_cast<const xcb_window_t*>(xcb_get_property_value(Reply));
    std::free(Reply);
    return Value;
}

// Whether a window manager runs: it names a window of its own on the root
// window, and that window names itself the same way.
bool X11WindowManagerRuns(xcb_connection_t* C) {
    xcb_atom_t Check = X11Atom(C, "_NET_SUPPORTING_WM_CHECK");
    if (Check == XCB_ATOM_NONE)
        return false;
    std::optional<xcb_window_t> Wm = X11WindowProperty(C, X11Root(C), Check);
    return Wm && X11WindowProperty(C, *Wm, Check) == Wm;
}

// The input shape of an X window through the SHAPE extension: the pixels
// that take the pointer, the rest passing it to whatever lies below. No
// region gives the default (the window's bounding shape). The requests are
// written here as the protocol states them; only the input kind is used.
xcb_extension_t ShapeExtension = {"SHAPE", 0};

void SetX11InputShape(xcb_connection_t* C, xcb_window_t Window,
                      const std::optional<QRegion>& Region) {
    const xcb_query_extension_reply_t* Shape = xcb_get_extension_data(C, &ShapeExtension);
    if (!Shape || !Shape->present)
        return;
    constexpr std::uint8_t Set = 0, InputKind = 2, Unsorted = 0;
    constexpr std::uint8_t RectanglesRequest = 1, MaskRequest = 2;
    struct {
        std::uint8_t Major, Minor;
        std::uint16_t Length;
        std::uint8_t Operation, Kind, Ordering, Pad;
        std::uint32_t Window;
        std::int16_t X, Y;
    } Rectangles{};
    struct {
        std::uint8_t Major, Minor;
        std::uint16_t Length;
        std::uint8_t Operation, Kind, Pad[2];
        std::uint32_t Window;
        std::int16_t X, Y;
        std::uint32_t Pixmap;
    } Mask{};
    std::vector<xcb_rectangle_t> Rects;
    iovec Parts[6] = {};
    xcb_protocol_request_t Request{2, &ShapeExtension, MaskRequest, 1};
    if (!Region) {
        Mask.Operation = Set;
        Mask.Kind = InputKind;
        Mask.Window = Window;
        Mask.Pixmap = XCB_NONE;
        Parts[2] = {&Mask, sizeof Mask};
    } else {
        for (const QRect& R : *Region)
            Rects.push_back({std::int16_t(R.x()), std::int16_t(R.y()), std::uint16_t(R.width()),
                             std::uint16_t(R.height())});
        Rectangles.Operation = Set;
        Rectangles.Kind = InputKind;
        Rectangles.Ordering = Unsorted;
        Rectangles.Window = Window;
        Parts[2] = {&Rectangles, sizeof Rectangles};
        Parts[4] = {Rects.data(), Rects.size() * sizeof(xcb_rectangle_t)};
        Request = {4, &ShapeExtension, RectanglesRequest, 1};
    }
    xcb_send_request(C, 0, Parts + 2, &Request);
    xcb_flush(C);
}

} // namespace

// ---------------------------------------------------------------- the surface window

class TSurfaceWindow : public QWindow {
public:
    TSurfaceWindow(TQtBackend::TImpl* Owner, TSurfaceId Id, TSurfaceKind Kind)
        : Id(Id), Kind(Kind), FOwner(Owner) {}

    // After this the window reports nothing: its surface is going away.
    void Detach() { FOwner = nullptr; }

    TSurfaceId Id;
    TSurfaceKind Kind;
    // A popup's owner. The desktop does not manage popups, so it does not
    // take them along when it unmaps their owner (iconified, or on another
    // workspace): they are hidden here until the owner is mapped again.
    TSurfaceId OwnerId = 0;
    bool HiddenWithOwner = false;
    bool UnmappedByDesktop = false; // shown, yet taken off the screen by the desktop
    QImage Content; // the presented back buffer, premultiplied; key pixels transparent
    QImage Picture; // the per-pixel picture that replaces the content, or null
    // Where Qt's backing store does not hold what Shown() shows yet: painted
    // only when the window can be flushed, and only once.
    QRegion Unpainted;
    std::optional<COLORREF> Key;
    std::optional<std::vector<TRect>> Shape;
    QRect Requested;                   // the bounds the window system asked for last
    std::deque<QRect> PendingGeometry; // asked for, not yet confirmed by the platform
    // Minimized and maximized: as the window system wants them, and as the
    // desktop last reported them.
    Qt::WindowStates Wanted;
    Qt::WindowStates Known;
    QTimer IconifyGrace; // a request to iconify that nobody answers is given up
    // The input shape last given to the X window; unknown after the window is made.
    std::optional<QRegion> InputShape;
    bool InputShapeKnown = false;
    bool ActivateWhenShown = false;
    bool AlphaFormat = false;
    int ActivationRequests = 0;
    std::unique_ptr<QBackingStore> Store;

    const QImage& Shown() const { return Picture.isNull() ? Content : Picture; }
    // Area of Shown() changed: to the screen now, or at the next expose.
    void Flush(const QRegion& Area);
    // Sends Area to the screen, painting first what the backing store lacks.
    void Send(const QRegion& Area);
    void UseAlphaFormat();
    void ApplyStates();

protected:
    bool event(QEvent* E) override;
    void exposeEvent(QExposeEvent* E) override;

private:
    void Push(TBackendEvent Event);
    void PointerEvent(QMouseEvent* M);
    void KeyEvent(QKeyEvent* K);
    void InputMethodQuery(QInputMethodQueryEvent* Q);
    void GeometryChanged();
    void StateChanged();

    TQtBackend::TImpl* FOwner;
};

struct TQtBackend::TImpl {
    std::map<TSurfaceId, std::unique_ptr<TSurfaceWindow>> Surfaces;
    TSurfaceId NextId = 1;
    std::deque<TBackendEvent> Events;
    std::vector<TSurfaceId> Stacking;
    int Cursor = IDC_ARROW;
    TSurfaceId LastPress = 0;
    TSurfaceId LastActivated = 0;
    TSurfaceId Grabbing = 0;
    unsigned ButtonsDown = 0; // buttons whose press was reported
    bool TakesText = false;
    TRect Caret;
    std::optional<bool> CompositorOverride;
    std::unique_ptr<TQtTray> Tray;

    // Wake may come from any thread, also while the program shuts down.
    std::atomic<bool> WakePending{false};
    std::mutex DispatcherLock;
    QAbstractEventDispatcher* Dispatcher = nullptr;
    QObject Context;
    QTimer DeadlineTimer;

    TSurfaceWindow* Find(TSurfaceId Id) const {
        auto It = Surfaces.find(Id);
        return It == Surfaces.end() ? nullptr : It->second.get();
    }
    void Push(TBackendEvent Event) { Events.push_back(std::move(Event)); }
    void WatchScreen(QScreen* Screen);
    // The owner's mapping by the desktop changed: its popups follow it.
    void OwnerMapped(TSurfaceWindow* Owner, bool Mapped);
    void ApplyStacking();
    void UpdateMask(TSurfaceWindow* W);
    void UpdateInputShape(TSurfaceWindow* W);
    bool DesktopManages(const TSurfaceWindow* W);
    bool NeedsAlpha(const TSurfaceWindow* W) const { return !W->Picture.isNull() || W->Key; }
    bool Compositor();
};

// ---------------------------------------------------------------- surface window: showing

void TSurfaceWindow::UseAlphaFormat() {
    if (AlphaFormat)
        return;
    AlphaFormat = true;
    QSurfaceFormat Format = format();
    Format.setAlphaBufferSize(8);
    if (!handle()) {
        setFormat(Format);
        return;
    }
    // The visual of a native window is fixed: make it again with alpha.
    bool WasVisible = isVisible();
    Store.reset();
    destroy();
    setFormat(Format);
    Store = std::make_unique<QBackingStore>(this);
    if (WasVisible)
        setVisible(true);
}

void TSurfaceWindow::Flush(const QRegion& Area) {
    Unpainted += Area;
    Send(Area);
}

void TSurfaceWindow::Send(const QRegion& Area) {
    if (!isExposed() || !Store)
        return;
    const QRect Whole(QPoint(0, 0), size());
    if (Store->size() != size()) {
        // A new buffer: nothing of the old one can be trusted.
        Store->resize(size());
        Unpainted = Whole;
    }
    const QRegion Paint = Unpainted & Whole;
    Unpainted = QRegion();
    if (!Paint.isEmpty()) {
        Store->beginPaint(Paint);
        {
            QPainter Painter(Store->paintDevice());
            Painter.setCompositionMode(QPainter::CompositionMode_Source);
            const QImage& Image = Shown();
            for (const QRect& R : Paint& Image.rect())
                Painter.drawImage(R.topLeft(), Image, R);
            // Only what the image leaves uncovered is cleared: a full-size
            // clear would touch every pixel a second time.
            for (const QRect& R : Paint - Image.rect())
                Painter.fillRect(R, Qt::transparent);
        }
        Store->endPaint();
    }
    // The store keeps what was painted into it, so an expose of content
    // already there (a window mapped, shown again, uncovered) only sends it.
    const QRegion Region = (Area & Whole) | Paint;
    if (!Region.isEmpty())
        Store->flush(Region);
}

void TSurfaceWindow::exposeEvent(QExposeEvent*) {
    if (!FOwner)
        return;
    // Unexposed while still shown: the desktop unmapped the window itself.
    if (isVisible())
        FOwner->OwnerMapped(this, isExposed());
    if (!isExposed())
        return;
    if (Shown().isNull()) {
        // Nothing presented yet: the window system presents on request.
        TBackendEvent E;
        E.Kind = TBackendEventKind::Expose;
        Push(E);
        return;
    }
    Send(QRect(QPoint(0, 0), size()));
}

// ---------------------------------------------------------------- surface window: events

void TSurfaceWindow::Push(TBackendEvent Event) {
    if (!FOwner)
        return;
    Event.Surface = Id;
    FOwner->Push(std::move(Event));
}

bool TSurfaceWindow::event(QEvent* E) {
    if (!FOwner)
        return QWindow::event(E);
    switch (E->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        PointerEvent(static_cast<QMouseEvent*>(E));
        return true;
    case QEvent::Wheel: {
        auto* W = static_cast<QWheelEvent*>(E);
        int Delta = W->angleDelta().y();
        if (Delta != 0) {
            TBackendEvent B;
            B.Kind = TBackendEventKind::Wheel;
            B.Point = {W->globalPosition().toPoint().x(), W->globalPosition().toPoint().y()};
            B.Delta = Delta;
            Push(B);
        }
        W->accept();
        return true;
    }
    case QEvent::Leave: {
        TBackendEvent B;
        B.Kind = TBackendEventKind::PointerLeave;
        QPoint P = QCursor::pos();
        B.Point = {P.x(), P.y()};
        Push(B);
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        KeyEvent(static_cast<QKeyEvent*>(E));
        return true;
    case QEvent::InputMethod: {
        auto* I = static_cast<QInputMethodEvent*>(E);
        if (!I->commitString().isEmpty()) {
            TBackendEvent B;
            B.Kind = TBackendEventKind::TextCommit;
            B.Text = I->commitString().toStdString();
            Push(B);
        }
        I->accept();
        return true;
    }
    case QEvent::InputMethodQuery:
        InputMethodQuery(static_cast<QInputMethodQueryEvent*>(E));
        return true;
    case QEvent::FocusIn: {
        TBackendEvent B;
        B.Kind = TBackendEventKind::FocusIn;
        Push(B);
        break;
    }
    case QEvent::FocusOut: {
        // Focus moving to another window of the program is not a deactivation:
        // the window system hears of the new window's focus-in.
        QWindow* Next = QGuiApplication::focusWindow();
        if (!Next || Next == this || !dynamic_cast<TSurfaceWindow*>(Next)) {
            TBackendEvent B;
            B.Kind = TBackendEventKind::FocusOut;
            Push(B);
        }
        break;
    }
    case QEvent::Close: {
        // The program decides whether it closes.
        E->ignore();
        TBackendEvent B;
        B.Kind = TBackendEventKind::CloseRequest;
        Push(B);
        return true;
    }
    case QEvent::Move:
    case QEvent::Resize:
        GeometryChanged();
        break;
    case QEvent::WindowStateChange:
        StateChanged();
        break;
    case QEvent::PlatformSurface:
        // A new X window starts without the input shape of the old one.
        if (static_cast<QPlatformSurfaceEvent*>(E)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceCreated) {
            InputShapeKnown = false;
            FOwner->UpdateInputShape(this);
        }
        break;
    default:
        break;
    }
    return QWindow::event(E);
}

void TSurfaceWindow::PointerEvent(QMouseEvent* M) {
    M->accept();
    TBackendEvent B;
    QPoint Global = M->globalPosition().toPoint();
    B.Point = {Global.x(), Global.y()};
    if (M->type() == QEvent::MouseMove) {
        B.Kind = TBackendEventKind::PointerMove;
        Push(B);
        return;
    }
    int Button = ButtonIndex(M->button());
    if (Button < 0)
        return;
    unsigned Bit = 1u << Button;
    switch (M->type()) {
    case QEvent::MouseButtonDblClick:
        // The window system makes double clicks from its own timing. Qt
        // usually reports the second press before its double click; only a
        // double click without that press stands for the press.
        if (FOwner->ButtonsDown & Bit)
            return;
        [[fallthrough]];
    case QEvent::MouseButtonPress:
        FOwner->ButtonsDown |= Bit;
        FOwner->LastPress = Id;
        B.Kind = TBackendEventKind::ButtonDown;
        break;
    default:
        FOwner->ButtonsDown &= ~Bit;
        B.Kind = TBackendEventKind::ButtonUp;
        break;
    }
    B.Button = Button;
    Push(B);
}

void TSurfaceWindow::KeyEvent(QKeyEvent* K) {
    K->accept();
    // An auto-repeated key reports further downs only, as the window system
    // expects of a held key.
    if (K->type() == QEvent::KeyRelease && K->isAutoRepeat())
        return;
    TKeyTranslation T = TranslateKeyEvent(*K);
    TBackendEvent B;
    B.Kind = K->type() == QEvent::KeyPress ? TBackendEventKind::KeyDown : TBackendEventKind::KeyUp;
    B.VirtualKey = T.VirtualKey;
    B.ScanCode = int(K->nativeScanCode());
    B.Extended = T.Extended;
    if (B.Kind == TBackendEventKind::KeyDown)
        B.Text = std::move(T.Text);
    QPoint P = QCursor::pos();
    B.Point = {P.x(), P.y()};
    Push(B);
}

void TSurfaceWindow::InputMethodQuery(QInputMethodQueryEvent* Q) {
    QRect Caret = ToQRect(FOwner->Caret).translated(-position());
    Qt::InputMethodQueries Queries = Q->queries();
    if (Queries & Qt::ImEnabled)
        Q->setValue(Qt::ImEnabled, FOwner->TakesText);
    if (Queries & Qt::ImCursorRectangle)
        Q->setValue(Qt::ImCursorRectangle, Caret);
    if (Queries & Qt::ImAnchorRectangle)
        Q->setValue(Qt::ImAnchorRectangle, Caret);
    if (Queries & Qt::ImHints)
        Q->setValue(Qt::ImHints, int(Qt::ImhNone));
    if (Queries & Qt::ImCursorPosition)
        Q->setValue(Qt::ImCursorPosition, 0);
    if (Queries & Qt::ImAnchorPosition)
        Q->setValue(Qt::ImAnchorPosition, 0);
    if (Queries & Qt::ImSurroundingText)
        Q->setValue(Qt::ImSurroundingText, QString());
    if (Queries & Qt::ImCurrentSelection)
        Q->setValue(Qt::ImCurrentSelection, QString());
    Q->accept();
}

void TSurfaceWindow::GeometryChanged() {
    QRect Now = geometry();
    if (!PendingGeometry.empty()) {
        // Each request is answered once, in order, possibly after later
        // requests were made. An answer that differs from its request is the
        // desktop's adjustment: news only when it answers the latest request.
        auto It = std::find(PendingGeometry.begin(), PendingGeometry.end(), Now);
        if (It != PendingGeometry.end()) {
            PendingGeometry.erase(PendingGeometry.begin(), It + 1);
            return;
        }
        PendingGeometry.pop_front();
        if (!PendingGeometry.empty())
            return;
    }
    if (Now == Requested)
        return;
    Requested = Now;
    TBackendEvent B;
    B.Kind = TBackendEventKind::MovedResized;
    B.Bounds = ToTRect(Now);
    Push(B);
}

// The desktop reports what it did. An iconify is always news: the window
// system minimizes a window only once the desktop has iconified it. A
// maximize or restore is news when the desktop did it on its own (a
// window manager's shortcut, a taskbar); the window system's own come back
// as echoes and are dropped.
void TSurfaceWindow::StateChanged() {
    Qt::WindowStates Now = windowStates() & (Qt::WindowMinimized | Qt::WindowMaximized);
    if (Now == Known)
        return;
    bool WasMinimized = Known & Qt::WindowMinimized;
    Known = Now;
    TBackendEvent B;
    if (Now & Qt::WindowMinimized) {
        IconifyGrace.stop();
        Wanted = Now;
        if (WasMinimized)
            return;
        B.Kind = TBackendEventKind::Iconified;
    } else {
        if (Now == Wanted)
            return;
        Wanted = Now;
        B.Kind = (Now & Qt::WindowMaximized) ? TBackendEventKind::Maximized
                                             : TBackendEventKind::Restored;
    }
    Push(B);
}

void TSurfaceWindow::ApplyStates() {
    if (!isVisible() || windowStates() == Wanted)
        return;
    setWindowStates(Wanted);
    if ((Wanted & Qt::WindowMinimized) && !(Known & Qt::WindowMinimized))
        IconifyGrace.start();
}

// ---------------------------------------------------------------- backend helpers

void TQtBackend::TImpl::WatchScreen(QScreen* Screen) {
    auto Changed = [this] {
        TBackendEvent E;
        E.Kind = TBackendEventKind::ScreensChanged;
        Push(E);
    };
    QObject::connect(Screen, &QScreen::geometryChanged, &Context, Changed);
    QObject::connect(Screen, &QScreen::availableGeometryChanged, &Context, Changed);
}

void TQtBackend::TImpl::OwnerMapped(TSurfaceWindow* Owner, bool Mapped) {
    if (Owner->Kind == TSurfaceKind::Popup)
        return;
    Owner->UnmappedByDesktop = !Mapped;
    bool Shown = false;
    for (auto& [Id, W] : Surfaces) {
        if (W->Kind != TSurfaceKind::Popup || W->OwnerId != Owner->Id)
            continue;
        if (!Mapped && W->isVisible()) {
            W->HiddenWithOwner = true;
            W->hide();
        } else if (Mapped && W->HiddenWithOwner) {
            W->HiddenWithOwner = false;
            W->setVisible(true);
            Shown = true;
        }
    }
    if (Shown)
        ApplyStacking();
}

void TQtBackend::TImpl::ApplyStacking() {
    // Raising from the bottom up leaves the topmost surface on top.
    for (auto It = Stacking.rbegin(); It != Stacking.rend(); ++It)
        if (TSurfaceWindow* W = Find(*It); W && W->isVisible())
            W->raise();
}

// Whether something on the display manages the surface: iconifies it and
// places it when maximized.
bool TQtBackend::TImpl::DesktopManages(const TSurfaceWindow* W) {
    if (W->Kind == TSurfaceKind::Popup)
        return false; // never managed by the desktop
    xcb_connection_t* C = X11Connection();
    // Other platforms manage their windows themselves.
    return !C || X11WindowManagerRuns(C);
}

bool TQtBackend::TImpl::Compositor() {
    if (CompositorOverride)
        return *CompositorOverride;
    xcb_connection_t* C = X11Connection();
    if (!C)
        return true; // other platforms compose themselves
    std::string Name = "_NET_WM_CM_S" + std::to_string(X11ScreenNumber());
    xcb_intern_atom_reply_t* Atom =
        xcb_intern_atom_reply(C, xcb_intern_atom(C, 1, Name.size(), Name.c_str()), nullptr);
    if (!Atom)
        return false;
    bool Owned = false;
    if (Atom->atom != XCB_ATOM_NONE) {
        xcb_get_selection_owner_reply_t* Owner =
            xcb_get_selection_owner_reply(C, xcb_get_selection_owner(C, Atom->atom), nullptr);
        Owned = Owner && Owner->owner != XCB_NONE;
        std::free(Owner);
    }
    std::free(Atom);
    return Owned;
}

void TQtBackend::TImpl::UpdateMask(TSurfaceWindow* W) {
    std::optional<QRegion> Mask;
    if (W->Shape) {
        QRegion Shape;
        for (const TRect& R : *W->Shape)
            Shape += ToQRect(R);
        Mask = Shape;
    }
    if (NeedsAlpha(W) && !Compositor() && !W->Shown().isNull()) {
        // Without a compositor transparency can only be cut out.
        QRegion Opaque = PixelRegion(W->Shown(), 128);
        Mask = Mask ? *Mask & Opaque : Opaque;
    }
    if (!Mask)
        W->setMask(QRegion());
    else
        W->setMask(Mask->isEmpty() ? NothingVisible() : *Mask);
    UpdateInputShape(W);
}

// With a compositor a translucent window shows whole, so the pointer has to
// be told where it is see-through: the input shape covers the pixels that
// show something (alpha above 0, not the colour key) within the window's
// shape, and nothing at all at opacity 0. Without a compositor the window
// shape already cuts those pixels out of the window and of its input.
void TQtBackend::TImpl::UpdateInputShape(TSurfaceWindow* W) {
    xcb_connection_t* C = X11Connection();
    // Qt gives a click-through window an empty input shape of its own.
    if (!C || !W->handle() || W->flags().testFlag(Qt::WindowTransparentForInput))
        return;
    std::optional<QRegion> Input;
    if ((W->opacity() == 0 || (NeedsAlpha(W) && !W->Shown().isNull())) && Compositor()) {
        Input = W->opacity() == 0 ? QRegion() : PixelRegion(W->Shown(), 1);
        if (W->Shape) {
            QRegion Shape;
            for (const TRect& R : *W->Shape)
                Shape += ToQRect(R);
            *Input &= Shape;
        }
    }
    if (W->InputShapeKnown && Input == W->InputShape)
        return;
    W->InputShape = Input;
    W->InputShapeKnown = true;
    SetX11InputShape(C, xcb_window_t(W->winId()), Input);
}

// ---------------------------------------------------------------- the backend

TQtBackend::TQtBackend() : FImpl(std::make_unique<TImpl>()) {
    if (!QGuiApplication::instance())
        throw EInvalidOperation("The desktop backend needs Qt's application object");
    TImpl& I = *FImpl;
    I.Dispatcher = QAbstractEventDispatcher::instance(QGuiApplication::instance()->thread());
    QObject::connect(
        I.Dispatcher, &QObject::destroyed, &I.Context,
        [&I] {
            std::lock_guard Guard(I.DispatcherLock);
            I.Dispatcher = nullptr;
        },
        Qt::DirectConnection);
    I.DeadlineTimer.setSingleShot(true);
    I.DeadlineTimer.setTimerType(Qt::PreciseTimer);
    for (QScreen* Screen : QGuiApplication::screens())
        I.WatchScreen(Screen);
    auto Changed = [&I] {
        TBackendEvent E;
        E.Kind = TBackendEventKind::ScreensChanged;
        I.Push(E);
    };
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &I.Context, [&I, Changed](QScreen* S) {
        I.WatchScreen(S);
        Changed();
    });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &I.Context, Changed);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &I.Context, Changed);
    I.Tray = std::make_unique<TQtTray>([&I](TBackendEvent E) { I.Push(std::move(E)); });
}

TQtBackend::~TQtBackend() {
    {
        std::lock_guard Guard(FImpl->DispatcherLock);
        FImpl->Dispatcher = nullptr;
    }
    FImpl->Tray.reset();
    for (auto& [Id, W] : FImpl->Surfaces)
        W->Detach();
    FImpl->Surfaces.clear();
}

QWindow* TQtBackend::SurfaceWindow(TSurfaceId Surface) const {
    return FImpl->Find(Surface);
}

int TQtBackend::ActivationRequests(TSurfaceId Surface) const {
    TSurfaceWindow* W = FImpl->Find(Surface);
    return W ? W->ActivationRequests : 0;
}

bool TQtBackend::HasCompositor() {
    return FImpl->Compositor();
}

void TQtBackend::SetCompositorOverride(std::optional<bool> Value) {
    FImpl->CompositorOverride = Value;
}

TSurfaceId TQtBackend::CreateSurface(TSurfaceKind Kind, TSurfaceId Owner,
                                     const std::string& Title) {
    TSurfaceId Id = FImpl->NextId++;
    auto W = std::make_unique<TSurfaceWindow>(FImpl.get(), Id, Kind);
    W->setSurfaceType(QSurface::RasterSurface);
    if (Kind == TSurfaceKind::Popup) {
        // Drop-down lists, menus and hints: never managed, never focused.
        // Qt::Popup is avoided because Qt grabs input for it on its own.
        W->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint |
                    Qt::WindowDoesNotAcceptFocus);
        // Popups are the layered ones (borders, glows, fades): give them an
        // alpha channel from the start rather than re-making them later.
        W->UseAlphaFormat();
        W->OwnerId = Owner;
    } else {
        W->setFlags(Qt::Window | Qt::FramelessWindowHint);
        if (TSurfaceWindow* O = FImpl->Find(Owner))
            W->setTransientParent(O);
    }
    W->setTitle(QString::fromStdString(Title));
    W->setCursor(QCursor(CursorShapeOf(FImpl->Cursor)));
    W->Store = std::make_unique<QBackingStore>(W.get());
    W->IconifyGrace.setSingleShot(true);
    W->IconifyGrace.setInterval(IconifyGraceMs);
    QObject::connect(&W->IconifyGrace, &QTimer::timeout, W.get(), [Window = W.get()] {
        // Nobody iconified it: the window stays as it is, and so does the
        // window system's idea of it; only Qt's own idea is put right.
        if (Window->Known & Qt::WindowMinimized)
            return;
        Window->Wanted &= ~Qt::WindowMinimized;
        Window->setWindowStates(Window->Wanted);
    });
    FImpl->Surfaces.emplace(Id, std::move(W));
    return Id;
}

void TQtBackend::DestroySurface(TSurfaceId Surface) {
    auto It = FImpl->Surfaces.find(Surface);
    if (It == FImpl->Surfaces.end())
        return;
    // Events Qt still delivers while the window goes (focus, leave) are dropped.
    It->second->Detach();
    if (FImpl->Grabbing == Surface) {
        It->second->setMouseGrabEnabled(false);
        FImpl->Grabbing = 0;
    }
    std::unique_ptr<TSurfaceWindow> W = std::move(It->second);
    FImpl->Surfaces.erase(It);
    for (TSurfaceId* Ref : {&FImpl->LastPress, &FImpl->LastActivated})
        if (*Ref == Surface)
            *Ref = 0;
    W.reset();
}

void TQtBackend::SetBounds(TSurfaceId Surface, const TRect& Bounds) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W)
        return;
    QRect R = ToQRect(Bounds);
    R.setSize(R.size().expandedTo(QSize(1, 1)));
    W->Requested = R;
    if (R == W->geometry())
        return;
    if ((W->Known & Qt::WindowMaximized) && (W->Wanted & Qt::WindowMaximized) &&
        FImpl->DesktopManages(W)) {
        // A window manager places a maximized window itself and takes other
        // geometry as a wish to leave the maximized state: the window system
        // hears where the window is instead.
        W->Requested = W->geometry();
        TBackendEvent E;
        E.Kind = TBackendEventKind::MovedResized;
        E.Surface = Surface;
        E.Bounds = ToTRect(W->geometry());
        FImpl->Push(E);
        return;
    }
    // Only a native window answers with a geometry change.
    if (W->handle()) {
        if (W->PendingGeometry.size() >= 64)
            W->PendingGeometry.pop_front();
        W->PendingGeometry.push_back(R);
    }
    W->setGeometry(R);
}

void TQtBackend::SetVisible(TSurfaceId Surface, bool Visible) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W)
        return;
    W->UnmappedByDesktop = false;
    // A popup shown while the desktop keeps its owner off the screen waits
    // for the owner to come back.
    const TSurfaceWindow* O = W->Kind == TSurfaceKind::Popup ? FImpl->Find(W->OwnerId) : nullptr;
    W->HiddenWithOwner = Visible && O && O->UnmappedByDesktop;
    if (W->HiddenWithOwner)
        Visible = false;
    if (W->isVisible() == Visible)
        return;
    if (!Visible) {
        W->hide();
        return;
    }
    W->setWindowStates(W->Wanted);
    W->setVisible(true);
    if ((W->Wanted & Qt::WindowMinimized) && !(W->Known & Qt::WindowMinimized))
        W->IconifyGrace.start();
    FImpl->ApplyStacking();
    if (W->ActivateWhenShown) {
        W->ActivateWhenShown = false;
        W->requestActivate();
    }
}

void TQtBackend::SetStacking(const std::vector<TSurfaceId>& TopToBottom) {
    if (TopToBottom == FImpl->Stacking)
        return;
    FImpl->Stacking = TopToBottom;
    FImpl->ApplyStacking();
}

void TQtBackend::SetTopmost(TSurfaceId Surface, bool Topmost) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (W && W->flags().testFlag(Qt::WindowStaysOnTopHint) != Topmost)
        W->setFlag(Qt::WindowStaysOnTopHint, Topmost);
}

TIconifyAnswer TQtBackend::SetIconified(TSurfaceId Surface, bool Iconified) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W || (Iconified && (W->Known & Qt::WindowMinimized)))
        return TIconifyAnswer::Done;
    if (!Iconified) {
        W->IconifyGrace.stop();
        W->Wanted &= ~Qt::WindowMinimized;
        W->Known &= ~Qt::WindowMinimized;
        W->ApplyStates();
        return TIconifyAnswer::Done;
    }
    if (!FImpl->DesktopManages(W))
        return TIconifyAnswer::Refused;
    W->Wanted |= Qt::WindowMinimized;
    W->ApplyStates();
    return TIconifyAnswer::Pending;
}

void TQtBackend::SetMaximized(TSurfaceId Surface, bool Maximized) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W)
        return;
    W->Wanted.setFlag(Qt::WindowMaximized, Maximized);
    W->ApplyStates();
}

void TQtBackend::SetTitle(TSurfaceId Surface, const std::string& Title) {
    if (TSurfaceWindow* W = FImpl->Find(Surface))
        W->setTitle(QString::fromStdString(Title));
}

void TQtBackend::Activate(TSurfaceId Surface) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W || W->Kind == TSurfaceKind::Popup)
        return;
    FImpl->LastActivated = Surface;
    ++W->ActivationRequests;
    if (W->isVisible())
        W->requestActivate();
    else
        W->ActivateWhenShown = true;
}

void TQtBackend::SetOpacity(TSurfaceId Surface, std::optional<BYTE> Alpha,
                            std::optional<COLORREF> Key) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W)
        return;
    // Without a compositor the desktop ignores the opacity: the window shows opaque.
    W->setOpacity(Alpha ? qreal(*Alpha) / 255.0 : 1.0);
    if (W->Key == Key) {
        FImpl->UpdateInputShape(W);
        return;
    }
    W->Key = Key;
    if (Key && FImpl->Compositor())
        W->UseAlphaFormat();
    // The key is applied as the content is copied: take it again from the
    // window system's buffer on its next present; until then re-key what we have.
    if (!W->Content.isNull()) {
        QRgb KeyRgb = Key ? KeyPixel(*Key) : 0;
        for (int Y = 0; Y < W->Content.height(); ++Y) {
            auto* Row = reinterpret_cast<QRgb*>(W->Content.scanLine(Y));
            for (int X = 0; X < W->Content.width(); ++X)
                if (Key && (Row[X] & 0xFFFFFF) == KeyRgb)
                    Row[X] = 0;
                else if (!Key && qAlpha(Row[X]) == 0)
                    Row[X] = 0xFF000000; // a formerly keyed pixel; repainted on the next present
        }
    }
    FImpl->UpdateMask(W);
    W->Flush(QRect(QPoint(0, 0), W->size()));
}

void TQtBackend::SetImage(TSurfaceId Surface, const TPixelView& Image) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W)
        return;
    if (!Image.Bits || Image.Width <= 0 || Image.Height <= 0) {
        W->Picture = QImage();
    } else {
        QImage View(static_cast<const uchar*>(Image.Bits), Image.Width, Image.Height, Image.Stride,
                    QImage::Format_ARGB32_Premultiplied);
        W->Picture = View.copy();
        if (FImpl->Compositor())
            W->UseAlphaFormat();
    }
    FImpl->UpdateMask(W);
    W->Flush(QRect(QPoint(0, 0), W->size()));
}

void TQtBackend::SetShape(TSurfaceId Surface, const std::optional<std::vector<TRect>>& Rects) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W)
        return;
    W->Shape = Rects;
    FImpl->UpdateMask(W);
}

void TQtBackend::SetClickThrough(TSurfaceId Surface, bool ClickThrough) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W || W->flags().testFlag(Qt::WindowTransparentForInput) == ClickThrough)
        return;
    W->setFlag(Qt::WindowTransparentForInput, ClickThrough);
    // Qt leaves the input shape of the window's size at that moment.
    W->InputShapeKnown = false;
    FImpl->UpdateInputShape(W);
}

void TQtBackend::Present(TSurfaceId Surface, const TPixelView& Buffer,
                         const std::vector<TRect>& Changed) {
    TSurfaceWindow* W = FImpl->Find(Surface);
    if (!W || !Buffer.Bits || Buffer.Width <= 0 || Buffer.Height <= 0)
        return;
    QSize Size(Buffer.Width, Buffer.Height);
    std::vector<QRect> Areas;
    if (W->Content.size() != Size) {
        W->Content = QImage(Size, QImage::Format_ARGB32_Premultiplied);
        Areas.push_back(QRect(QPoint(0, 0), Size));
    } else {
        for (const TRect& R : Changed) {
            QRect Area = ToQRect(R) & W->Content.rect();
            if (!Area.isEmpty())
                Areas.push_back(Area);
        }
    }
    // The window system leaves the alpha byte of its pixels undefined; the
    // key colour, when there is one, becomes fully transparent.
    std::optional<QRgb> Key;
    if (W->Key)
        Key = KeyPixel(*W->Key);
    QRegion Region;
    for (const QRect& Area : Areas) {
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            auto* From =
                reinterpret_cast<const std::uint32_t*>(static_cast<const uchar*>(Buffer.Bits) +
                                                       std::size_t(Y) * Buffer.Stride) +
                Area.left();
            auto* To = reinterpret_cast<std::uint32_t*>(W->Content.scanLine(Y)) + Area.left();
            if (Key)
                CopyKeyed(From, To, Area.width(), *Key);
            else
                CopyOpaque(From, To, Area.width());
        }
        Region += Area;
    }
    if (!W->Picture.isNull())
        return;
    if (W->Key) {
        if (FImpl->Compositor())
            FImpl->UpdateInputShape(W);
        else
            FImpl->UpdateMask(W);
    }
    W->Flush(Region);
}

void TQtBackend::SetCursor(int CursorId) {
    if (CursorId == FImpl->Cursor)
        return;
    FImpl->Cursor = CursorId;
    QCursor Cursor(CursorShapeOf(CursorId));
    for (auto& [Id, W] : FImpl->Surfaces)
        W->setCursor(Cursor);
}

void TQtBackend::SetPointerGrab(bool Grab) {
    if (!Grab) {
        if (TSurfaceWindow* W = FImpl->Find(FImpl->Grabbing))
            W->setMouseGrabEnabled(false);
        FImpl->Grabbing = 0;
        return;
    }
    // The capture follows a press; the move/size loop starts from one too.
    TSurfaceWindow* W = FImpl->Find(FImpl->LastPress);
    if (!W || !W->isVisible())
        W = FImpl->Find(FImpl->LastActivated);
    if (!W || !W->isVisible())
        return;
    if (FImpl->Grabbing && FImpl->Grabbing != W->Id)
        SetPointerGrab(false);
    W->setMouseGrabEnabled(true);
    FImpl->Grabbing = W->Id;
}

TPoint TQtBackend::PointerPos() {
    QPoint P = QCursor::pos();
    return {P.x(), P.y()};
}

void TQtBackend::SetPointerPos(TPoint Pos) {
    QCursor::setPos(Pos.X, Pos.Y);
}

void TQtBackend::SetInputMethodState(bool TakesText, const TRect& Caret) {
    bool EnabledChanged = TakesText != FImpl->TakesText;
    if (!EnabledChanged && Caret == FImpl->Caret)
        return;
    FImpl->TakesText = TakesText;
    FImpl->Caret = Caret;
    if (!QGuiApplication::focusObject())
        return;
    Qt::InputMethodQueries Changed = Qt::ImCursorRectangle | Qt::ImAnchorRectangle;
    if (EnabledChanged)
        Changed |= Qt::ImEnabled | Qt::ImHints;
    QGuiApplication::inputMethod()->update(Changed);
}

std::vector<TScreenInfo> TQtBackend::Screens() {
    std::vector<TScreenInfo> Result;
    QScreen* Primary = QGuiApplication::primaryScreen();
    for (QScreen* S : QGuiApplication::screens())
        Result.push_back({ToTRect(S->geometry()), ToTRect(S->availableGeometry()), S == Primary});
    return Result;
}

std::string TQtBackend::ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void TQtBackend::SetClipboardText(const std::string& Text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(Text));
}

bool TQtBackend::HasClipboardText() {
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    return Data && Data->hasText();
}

bool TQtBackend::Open(const std::string& Target) {
    QString Text = QString::fromStdString(Target).trimmed();
    if (Text.isEmpty())
        return false;
    QUrl Url;
    if (Text.startsWith('/') || QFileInfo::exists(Text))
        Url = QUrl::fromLocalFile(QFileInfo(Text).absoluteFilePath());
    else
        Url = QUrl::fromUserInput(Text);
    return Url.isValid() && QDesktopServices::openUrl(Url);
}

void TQtBackend::Beep(UINT) {
    if (xcb_connection_t* C = X11Connection()) {
        xcb_bell(C, 0);
        xcb_flush(C);
    }
}

bool TQtBackend::NotifyAreaAvailable() {
    return FImpl->Tray->Available();
}

TNotifyIconId TQtBackend::AddNotifyIcon(const TPixelView& Icon, const std::string& Tip) {
    return FImpl->Tray->Add(Icon, Tip);
}

void TQtBackend::UpdateNotifyIcon(TNotifyIconId Id, const TPixelView& Icon,
                                  const std::string& Tip) {
    FImpl->Tray->Update(Id, Icon, Tip);
}

void TQtBackend::RemoveNotifyIcon(TNotifyIconId Id) {
    FImpl->Tray->Remove(Id);
}

// The tray protocol has no icon kinds for its messages, and no click on them.
void TQtBackend::ShowNotifyBalloon(TNotifyIconId Id, const std::string& Title,
                                   const std::string& Text, int) {
    FImpl->Tray->Balloon(Id, Title, Text);
}

void TQtBackend::Wake() {
    FImpl->WakePending.store(true);
    std::lock_guard Guard(FImpl->DispatcherLock);
    if (FImpl->Dispatcher)
        FImpl->Dispatcher->wakeUp();
}

void TQtBackend::Wait(std::optional<std::uint32_t> Deadline, const char*) {
    TImpl& I = *FImpl;
    bool Block = !I.WakePending.exchange(false);
    if (Block && Deadline) {
        auto Left = std::int32_t(*Deadline - GetTickCount());
        if (Left <= 0)
            Block = false;
        else
            I.DeadlineTimer.start(Left);
    }
    QEventLoop::ProcessEventsFlags Flags = QEventLoop::AllEvents;
    if (Block && I.Events.empty())
        Flags |= QEventLoop::WaitForMoreEvents;
    QCoreApplication::processEvents(Flags);
    I.DeadlineTimer.stop();
    I.WakePending.store(false);
}

bool TQtBackend::NextEvent(TBackendEvent& Event) {
    if (FImpl->Events.empty())
        return false;
    Event = std::move(FImpl->Events.front());
    FImpl->Events.pop_front();
    return true;
}
