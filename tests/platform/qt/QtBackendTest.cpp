// The Qt backend on Qt's offscreen platform: surfaces and their flags,
// presented pixels, layering and shapes, the translation of Qt's input into
// backend events, the wait, the clipboard and the fonts behind the texts.
#include "platform/qt/QtBackend.h"

#include "platform/core/Clock.h"
#include "platform/qt/QtKeys.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QRawFont>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

#include <thread>

namespace {

class QtBackendTest : public testing::Test {
protected:
    // Lets Qt deliver what is pending (exposes, geometry) without blocking.
    void Settle() {
        for (int I = 0; I < 3; ++I)
            Backend.Wait(GetTickCount(), "Settle");
    }

    std::vector<TBackendEvent> Drain() {
        std::vector<TBackendEvent> Result;
        TBackendEvent E;
        while (Backend.NextEvent(E))
            Result.push_back(E);
        return Result;
    }

    TSurfaceId ShownSurface(TSurfaceKind Kind, const TRect& Bounds, TSurfaceId Owner = 0) {
        TSurfaceId Id = Backend.CreateSurface(Kind, Owner, "Surface");
        Backend.SetBounds(Id, Bounds);
        Backend.SetVisible(Id, true);
        Settle();
        Drain();
        return Id;
    }

    // A back buffer of one colour with a square of another.
    struct TBuffer {
        int Width, Height;
        std::vector<std::uint32_t> Pixels;
        TPixelView View() const { return {Pixels.data(), Width, Height, Width * 4}; }
    };
    static TBuffer Buffer(int W, int H, std::uint32_t Back, TRect Square = {},
                          std::uint32_t Fore = 0) {
        TBuffer B{W, H, std::vector<std::uint32_t>(std::size_t(W) * H, Back)};
        for (int Y = Square.Top; Y < Square.Bottom; ++Y)
            for (int X = Square.Left; X < Square.Right; ++X)
                B.Pixels[std::size_t(Y) * W + X] = Fore;
        return B;
    }

    QImage Grab(TSurfaceId Id) {
        Settle();
        QWindow* W = Backend.SurfaceWindow(Id);
        return W->screen()->grabWindow(W->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    TQtBackend Backend;
};

// The window system's B, G, R, A pixels with an undefined alpha byte.
constexpr std::uint32_t Red = 0x00FF0000;
constexpr std::uint32_t White = 0x00FFFFFF;

TEST_F(QtBackendTest, FramedSurfaceIsFramelessAtItsBoundsAndShowsThePresentedPixels) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(100, 50, 300, 200));
    QWindow* W = Backend.SurfaceWindow(Id);
    ASSERT_NE(W, nullptr);
    EXPECT_TRUE(W->flags() & Qt::FramelessWindowHint);
    EXPECT_EQ(W->type(), Qt::Window);
    EXPECT_EQ(W->geometry(), QRect(100, 50, 300, 200));

    TBuffer B = Buffer(300, 200, White, Rect(20, 30, 60, 70), Red);
    Backend.Present(Id, B.View(), {Rect(0, 0, 300, 200)});
    QImage Shot = Grab(Id);
    ASSERT_EQ(Shot.size(), QSize(300, 200));
    EXPECT_EQ(Shot.pixel(20, 30), qRgb(255, 0, 0));
    EXPECT_EQ(Shot.pixel(59, 69), qRgb(255, 0, 0));
    EXPECT_EQ(Shot.pixel(60, 70), qRgb(255, 255, 255));
    EXPECT_EQ(Shot.pixel(19, 30), qRgb(255, 255, 255));

    // Only the changed rectangle is taken from the next buffer.
    TBuffer Next = Buffer(300, 200, 0x000000FF);
    Backend.Present(Id, Next.View(), {Rect(0, 0, 10, 10)});
    Shot = Grab(Id);
    EXPECT_EQ(Shot.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(Shot.pixel(30, 40), qRgb(255, 0, 0));
    EXPECT_EQ(Shot.pixel(200, 100), qRgb(255, 255, 255));

    // An expose shows the last buffer again without asking the window system.
    Backend.SetVisible(Id, false);
    Backend.SetVisible(Id, true);
    Shot = Grab(Id);
    EXPECT_EQ(Shot.pixel(30, 40), qRgb(255, 0, 0));
    for (const TBackendEvent& E : Drain())
        EXPECT_NE(int(E.Kind), int(TBackendEventKind::Expose));
}

// Qt's backing store keeps what was painted into it: an expose only sends it
// again, so whatever changed while the window could not be painted, or a
// store made anew for a larger window, must still be painted first.
TEST_F(QtBackendTest, WhatChangedWhileHiddenOrResizedIsShownWhenExposed) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(100, 50, 300, 200));
    Backend.Present(Id, Buffer(300, 200, White).View(), {Rect(0, 0, 300, 200)});
    Grab(Id);
    Backend.SetVisible(Id, false);
    Settle();
    // Any alpha byte: the window is opaque. 43 pixels wide, not a multiple of eight.
    constexpr std::uint32_t OddRed = 0x5AFF0000;
    TBuffer Next = Buffer(300, 200, White, Rect(20, 30, 63, 70), OddRed);
    Backend.Present(Id, Next.View(), {Rect(20, 30, 63, 70)});
    Backend.SetVisible(Id, true);
    QImage Shot = Grab(Id);
    EXPECT_EQ(Shot.pixel(20, 30), qRgb(255, 0, 0));
    EXPECT_EQ(Shot.pixel(62, 69), qRgb(255, 0, 0));
    EXPECT_EQ(Shot.pixel(63, 69), qRgb(255, 255, 255));
    EXPECT_EQ(Shot.pixel(200, 100), qRgb(255, 255, 255));

    Backend.SetBounds(Id, Bounds(100, 50, 400, 250));
    Settle();
    Backend.Present(Id, Buffer(400, 250, 0x330000FF).View(), {Rect(0, 0, 400, 250)});
    Shot = Grab(Id);
    ASSERT_EQ(Shot.size(), QSize(400, 250));
    EXPECT_EQ(Shot.pixel(30, 40), qRgb(0, 0, 255));
    EXPECT_EQ(Shot.pixel(399, 249), qRgb(0, 0, 255));
}

TEST_F(QtBackendTest, SurfaceShownBeforeAnyPresentAsksForOne) {
    TSurfaceId Id = Backend.CreateSurface(TSurfaceKind::Framed, 0, "Empty");
    Backend.SetBounds(Id, Bounds(10, 10, 50, 50));
    Backend.SetVisible(Id, true);
    Settle();
    bool Asked = false;
    for (const TBackendEvent& E : Drain())
        Asked |= E.Kind == TBackendEventKind::Expose && E.Surface == Id;
    EXPECT_TRUE(Asked);
}

TEST_F(QtBackendTest, PopupNeverTakesTheFocusAndOwnedSurfacesAreTransient) {
    TSurfaceId Main = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 200, 200));
    TSurfaceId Popup = ShownSurface(TSurfaceKind::Popup, Bounds(20, 20, 50, 80), Main);
    TSurfaceId Dialog = ShownSurface(TSurfaceKind::Framed, Bounds(40, 40, 100, 100), Main);

    QWindow* P = Backend.SurfaceWindow(Popup);
    EXPECT_TRUE(P->flags() & Qt::BypassWindowManagerHint);
    EXPECT_TRUE(P->flags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(P->flags() & Qt::FramelessWindowHint);
    EXPECT_NE(P->type(), Qt::Popup);
    Backend.Activate(Popup);
    EXPECT_EQ(Backend.ActivationRequests(Popup), 0);

    EXPECT_EQ(Backend.SurfaceWindow(Dialog)->transientParent(), Backend.SurfaceWindow(Main));
    Backend.Activate(Dialog);
    EXPECT_EQ(Backend.ActivationRequests(Dialog), 1);

    Backend.SetTopmost(Dialog, true);
    EXPECT_TRUE(Backend.SurfaceWindow(Dialog)->flags() & Qt::WindowStaysOnTopHint);
    Backend.SetTitle(Dialog, "视频");
    EXPECT_EQ(Backend.SurfaceWindow(Dialog)->title(), QString::fromUtf8("视频"));
}

TEST_F(QtBackendTest, OpacityShapeAndClickThrough) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Popup, Bounds(10, 10, 100, 100));
    QWindow* W = Backend.SurfaceWindow(Id);

    Backend.SetOpacity(Id, BYTE(128), std::nullopt);
    EXPECT_NEAR(W->opacity(), 0.5, 1.0 / 255);
    Backend.SetOpacity(Id, std::nullopt, std::nullopt);
    EXPECT_DOUBLE_EQ(W->opacity(), 1.0);

    Backend.SetShape(Id, std::vector<TRect>{Rect(0, 0, 10, 10), Rect(50, 50, 100, 60)});
    QRegion Expected = QRegion(0, 0, 10, 10) + QRegion(50, 50, 50, 10);
    EXPECT_EQ(W->mask(), Expected);
    // An empty shape shows nothing, where no shape at all shows everything.
    Backend.SetShape(Id, std::vector<TRect>{});
    EXPECT_FALSE(W->mask().isEmpty());
    EXPECT_FALSE(W->mask().intersects(QRect(0, 0, 100, 100)));
    Backend.SetShape(Id, std::nullopt);
    EXPECT_TRUE(W->mask().isEmpty());

    Backend.SetClickThrough(Id, true);
    EXPECT_TRUE(W->flags() & Qt::WindowTransparentForInput);
    Backend.SetClickThrough(Id, false);
    EXPECT_FALSE(W->flags() & Qt::WindowTransparentForInput);
}

TEST_F(QtBackendTest, WithoutACompositorAlphaAndColourKeyBecomeAShape) {
    Backend.SetCompositorOverride(false);
    TSurfaceId Id = ShownSurface(TSurfaceKind::Popup, Bounds(10, 10, 40, 20));
    QWindow* W = Backend.SurfaceWindow(Id);

    // Per-pixel alpha: the left half opaque, the right half faint.
    std::vector<std::uint32_t> Picture(40 * 20);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 40; ++X)
            Picture[std::size_t(Y) * 40 + X] = X < 20 ? 0xFF102030 : 0x40080808;
    Backend.SetImage(Id, {Picture.data(), 40, 20, 40 * 4});
    EXPECT_EQ(W->mask(), QRegion(0, 0, 20, 20));
    // Intersected with a window region.
    Backend.SetShape(Id, std::vector<TRect>{Rect(0, 0, 40, 10)});
    EXPECT_EQ(W->mask(), QRegion(0, 0, 20, 10));
    Backend.SetShape(Id, std::nullopt);
    Backend.SetImage(Id, {});
    EXPECT_TRUE(W->mask().isEmpty());

    // Colour key: the key's pixels are cut out, and follow each present.
    Backend.SetOpacity(Id, std::nullopt, RGB(255, 0, 0));
    TBuffer B = Buffer(40, 20, White, Rect(0, 0, 10, 20), Red);
    Backend.Present(Id, B.View(), {Rect(0, 0, 40, 20)});
    EXPECT_EQ(W->mask(), QRegion(10, 0, 30, 20));
    Backend.SetOpacity(Id, std::nullopt, std::nullopt);
    EXPECT_TRUE(W->mask().isEmpty());
}

TEST_F(QtBackendTest, WithACompositorAlphaStaysTranslucentAndUnshaped) {
    Backend.SetCompositorOverride(true);
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(10, 10, 40, 20));
    QWindow* W = Backend.SurfaceWindow(Id);
    std::vector<std::uint32_t> Picture(40 * 20, 0x40080808);
    Backend.SetImage(Id, {Picture.data(), 40, 20, 40 * 4});
    EXPECT_TRUE(W->mask().isEmpty());
    EXPECT_EQ(W->requestedFormat().alphaBufferSize(), 8);
    EXPECT_TRUE(W->isVisible()); // re-made with an alpha channel, still shown
}

// ---------------------------------------------------------------- pointer

TEST_F(QtBackendTest, PointerEventsBecomeBackendEventsWithScreenPositions) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(100, 50, 300, 200));
    QWindow* W = Backend.SurfaceWindow(Id);
    auto Mouse = [&](QEvent::Type Type, QPoint Local, Qt::MouseButton Button,
                     Qt::MouseButtons Held) {
        QMouseEvent E(Type, Local, Local + QPoint(100, 50), Button, Held, Qt::NoModifier);
        QCoreApplication::sendEvent(W, &E);
    };
    Mouse(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {15, 25}, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {15, 25}, Qt::LeftButton, Qt::NoButton);
    // Qt's own order for a second click: press, double click, release.
    Mouse(QEvent::MouseButtonPress, {15, 25}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonDblClick, {15, 25}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {15, 25}, Qt::LeftButton, Qt::NoButton);
    // A double click that comes alone stands for the press.
    Mouse(QEvent::MouseButtonDblClick, {1, 2}, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {1, 2}, Qt::RightButton, Qt::NoButton);
    QWheelEvent Wheel(QPointF(3, 4), QPointF(103, 54), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(W, &Wheel);
    QEvent Leave(QEvent::Leave);
    QCoreApplication::sendEvent(W, &Leave);

    struct TRow {
        TBackendEventKind Kind;
        TPoint Point;
        int Button;
    };
    const TRow Expected[] = {
        {TBackendEventKind::ButtonDown, {110, 70}, 0},
        {TBackendEventKind::PointerMove, {115, 75}, 0},
        {TBackendEventKind::ButtonUp, {115, 75}, 0},
        {TBackendEventKind::ButtonDown, {115, 75}, 0},
        {TBackendEventKind::ButtonUp, {115, 75}, 0},
        {TBackendEventKind::ButtonDown, {101, 52}, 1},
        {TBackendEventKind::ButtonUp, {101, 52}, 1},
        {TBackendEventKind::Wheel, {103, 54}, 0},
    };
    std::vector<TBackendEvent> Got = Drain();
    ASSERT_EQ(Got.size(), std::size(Expected) + 1);
    for (std::size_t I = 0; I < std::size(Expected); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(int(Got[I].Kind), int(Expected[I].Kind));
        EXPECT_EQ(Got[I].Surface, Id);
        EXPECT_EQ(Got[I].Point.X, Expected[I].Point.X);
        EXPECT_EQ(Got[I].Point.Y, Expected[I].Point.Y);
        bool HasButton = Got[I].Kind == TBackendEventKind::ButtonDown ||
                         Got[I].Kind == TBackendEventKind::ButtonUp;
        if (HasButton) {
            EXPECT_EQ(Got[I].Button, Expected[I].Button);
        }
    }
    EXPECT_EQ(Got[7].Delta, 120);
    EXPECT_EQ(int(Got[8].Kind), int(TBackendEventKind::PointerLeave));
}

// ---------------------------------------------------------------- keys

struct TKeyCase {
    const char* Name;
    int QtKey;
    Qt::KeyboardModifiers Modifiers;
    const char* QtText;
    int VirtualKey;
    const char* Text;
};

class QtKeyTable : public QtBackendTest, public testing::WithParamInterface<TKeyCase> {};

TEST_P(QtKeyTable, KeyPressGivesVirtualKeyScanCodeAndText) {
    const TKeyCase& C = GetParam();
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    QWindow* W = Backend.SurfaceWindow(Id);
    QKeyEvent Down(QEvent::KeyPress, C.QtKey, C.Modifiers, 38, 0, 0, QString::fromUtf8(C.QtText));
    QKeyEvent Up(QEvent::KeyRelease, C.QtKey, C.Modifiers, 38, 0, 0, QString::fromUtf8(C.QtText));
    QCoreApplication::sendEvent(W, &Down);
    QCoreApplication::sendEvent(W, &Up);
    std::vector<TBackendEvent> Got = Drain();
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(int(Got[0].Kind), int(TBackendEventKind::KeyDown));
    EXPECT_EQ(Got[0].VirtualKey, C.VirtualKey);
    EXPECT_EQ(Got[0].ScanCode, 38);
    EXPECT_EQ(Got[0].Text, C.Text);
    EXPECT_EQ(int(Got[1].Kind), int(TBackendEventKind::KeyUp));
    EXPECT_EQ(Got[1].VirtualKey, C.VirtualKey);
}

const Qt::KeyboardModifiers None = Qt::NoModifier;
const Qt::KeyboardModifiers Keypad = Qt::KeypadModifier;
const Qt::KeyboardModifiers Shift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, QtKeyTable,
    testing::Values(TKeyCase{"A", Qt::Key_A, None, "a", 'A', "a"},
                    TKeyCase{"ShiftZ", Qt::Key_Z, Shift, "Z", 'Z', "Z"},
                    TKeyCase{"Digit0", Qt::Key_0, None, "0", '0', "0"},
                    TKeyCase{"Digit9", Qt::Key_9, None, "9", '9', "9"},
                    TKeyCase{"ShiftDigit1", Qt::Key_Exclam, Shift, "!", '1', "!"},
                    TKeyCase{"F1", Qt::Key_F1, None, "", VK_F1, ""},
                    TKeyCase{"F12", Qt::Key_F12, None, "", VK_F1 + 11, ""},
                    TKeyCase{"Left", Qt::Key_Left, None, "", VK_LEFT, ""},
                    TKeyCase{"Up", Qt::Key_Up, None, "", VK_UP, ""},
                    TKeyCase{"Right", Qt::Key_Right, None, "", VK_RIGHT, ""},
                    TKeyCase{"Down", Qt::Key_Down, None, "", VK_DOWN, ""},
                    TKeyCase{"Home", Qt::Key_Home, None, "", VK_HOME, ""},
                    TKeyCase{"End", Qt::Key_End, None, "", VK_END, ""},
                    TKeyCase{"PageUp", Qt::Key_PageUp, None, "", VK_PRIOR, ""},
                    TKeyCase{"PageDown", Qt::Key_PageDown, None, "", VK_NEXT, ""},
                    TKeyCase{"Insert", Qt::Key_Insert, None, "", VK_INSERT, ""},
                    TKeyCase{"Delete", Qt::Key_Delete, None, "\x7f", VK_DELETE, "\x7f"},
                    TKeyCase{"Backspace", Qt::Key_Backspace, None, "\b", VK_BACK, "\b"},
                    TKeyCase{"Tab", Qt::Key_Tab, None, "\t", VK_TAB, "\t"},
                    TKeyCase{"ShiftTab", Qt::Key_Backtab, Shift, "", VK_TAB, ""},
                    TKeyCase{"Return", Qt::Key_Return, None, "\r", VK_RETURN, "\r"},
                    TKeyCase{"KeypadEnter", Qt::Key_Enter, Keypad, "\r", VK_RETURN, "\r"},
                    TKeyCase{"Escape", Qt::Key_Escape, None, "\x1b", VK_ESCAPE, "\x1b"},
                    TKeyCase{"Space", Qt::Key_Space, None, " ", VK_SPACE, " "},
                    TKeyCase{"Shift", Qt::Key_Shift, Shift, "", VK_SHIFT, ""},
                    TKeyCase{"Control", Qt::Key_Control, Qt::ControlModifier, "", VK_CONTROL, ""},
                    TKeyCase{"Alt", Qt::Key_Alt, Qt::AltModifier, "", VK_MENU, ""},
                    TKeyCase{"Keypad0", Qt::Key_0, Keypad, "0", VK_NUMPAD0, "0"},
                    TKeyCase{"KeypadPlus", Qt::Key_Plus, Keypad, "+", VK_ADD, "+"},
                    TKeyCase{"KeypadStar", Qt::Key_Asterisk, Keypad, "*", VK_MULTIPLY, "*"},
                    TKeyCase{"Plus", Qt::Key_Plus, Shift, "+", VK_OEM_PLUS, "+"},
                    TKeyCase{"Semicolon", Qt::Key_Semicolon, None, ";", VK_OEM_1, ";"},
                    TKeyCase{"Equal", Qt::Key_Equal, None, "=", VK_OEM_PLUS, "="},
                    TKeyCase{"Comma", Qt::Key_Comma, None, ",", VK_OEM_COMMA, ","},
                    TKeyCase{"Minus", Qt::Key_Minus, None, "-", VK_OEM_MINUS, "-"},
                    TKeyCase{"Period", Qt::Key_Period, None, ".", VK_OEM_PERIOD, "."},
                    TKeyCase{"Slash", Qt::Key_Slash, None, "/", VK_OEM_2, "/"},
                    TKeyCase{"Grave", Qt::Key_QuoteLeft, None, "`", VK_OEM_3, "`"},
                    TKeyCase{"BracketLeft", Qt::Key_BracketLeft, None, "[", VK_OEM_4, "["},
                    TKeyCase{"Backslash", Qt::Key_Backslash, None, "\\", VK_OEM_5, "\\"},
                    TKeyCase{"BracketRight", Qt::Key_BracketRight, None, "]", VK_OEM_6, "]"},
                    TKeyCase{"Apostrophe", Qt::Key_Apostrophe, None, "'", VK_OEM_7, "'"},
                    TKeyCase{"CtrlC", Qt::Key_C, Qt::ControlModifier, "", 'C', "\x03"},
                    TKeyCase{"CtrlCWithLetter", Qt::Key_C, Qt::ControlModifier, "c", 'C', "\x03"},
                    TKeyCase{"OtherKeyTextOnly", Qt::Key_Eacute, None, "é", 0, "é"}),
    [](const testing::TestParamInfo<TKeyCase>& Info) { return std::string(Info.param.Name); });

TEST_F(QtBackendTest, AutoRepeatReportsFurtherDownsOnly) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    QWindow* W = Backend.SurfaceWindow(Id);
    QKeyEvent Down(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QKeyEvent RepeatUp(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a", true);
    QKeyEvent RepeatDown(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
    QCoreApplication::sendEvent(W, &Down);
    QCoreApplication::sendEvent(W, &RepeatUp);
    QCoreApplication::sendEvent(W, &RepeatDown);
    std::vector<TBackendEvent> Got = Drain();
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(int(Got[1].Kind), int(TBackendEventKind::KeyDown));
}

// ---------------------------------------------------------------- input methods, focus, close

TEST_F(QtBackendTest, InputMethodCommitsTextAndAnswersFromTheWindowSystemsState) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(100, 50, 300, 200));
    QWindow* W = Backend.SurfaceWindow(Id);

    QInputMethodEvent Commit;
    Commit.setCommitString(QString::fromUtf8("视频"));
    QCoreApplication::sendEvent(W, &Commit);
    std::vector<TBackendEvent> Got = Drain();
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(int(Got[0].Kind), int(TBackendEventKind::TextCommit));
    EXPECT_EQ(Got[0].Text, "视频");

    // Pre-edit text alone commits nothing: the input method shows it itself.
    QInputMethodEvent Preedit(QString::fromUtf8("shi"), {});
    QCoreApplication::sendEvent(W, &Preedit);
    EXPECT_TRUE(Drain().empty());

    auto Query = [&] {
        QInputMethodQueryEvent Q(Qt::ImEnabled | Qt::ImCursorRectangle);
        QCoreApplication::sendEvent(W, &Q);
        return std::make_pair(Q.value(Qt::ImEnabled).toBool(),
                              Q.value(Qt::ImCursorRectangle).toRect());
    };
    EXPECT_FALSE(Query().first);
    Backend.SetInputMethodState(true, Bounds(130, 70, 2, 16));
    auto [Enabled, Caret] = Query();
    EXPECT_TRUE(Enabled);
    EXPECT_EQ(Caret, QRect(30, 20, 2, 16));
    Backend.SetInputMethodState(false, {});
    EXPECT_FALSE(Query().first);
}

TEST_F(QtBackendTest, CloseIsRefusedAndReported) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    QCloseEvent Close;
    QCoreApplication::sendEvent(Backend.SurfaceWindow(Id), &Close);
    EXPECT_FALSE(Close.isAccepted());
    EXPECT_TRUE(Backend.SurfaceWindow(Id)->isVisible());
    std::vector<TBackendEvent> Got = Drain();
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(int(Got[0].Kind), int(TBackendEventKind::CloseRequest));
    EXPECT_EQ(Got[0].Surface, Id);
}

TEST_F(QtBackendTest, DesktopMovesAreReportedButTheBackendsOwnAreNot) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    auto Moves = [&] {
        std::vector<TRect> Result;
        for (const TBackendEvent& E : Drain())
            if (E.Kind == TBackendEventKind::MovedResized)
                Result.push_back(E.Bounds);
        return Result;
    };
    Backend.SetBounds(Id, Bounds(10, 20, 60, 70));
    Settle();
    EXPECT_TRUE(Moves().empty());
    // A move the backend did not ask for, as a window manager makes it.
    Backend.SurfaceWindow(Id)->setGeometry(QRect(30, 40, 60, 70));
    Settle();
    std::vector<TRect> Got = Moves();
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(Got[0], Bounds(30, 40, 60, 70));
}

// Iconifying is the desktop's to do: the backend's own request is answered
// by the desktop's report. A maximize or restore the window system asked for
// comes back as an echo and is dropped; the desktop's own are reported.
TEST_F(QtBackendTest, WindowStatesFollowWhatTheDesktopDid) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    QWindow* W = Backend.SurfaceWindow(Id);
    auto States = [&] {
        std::vector<TBackendEventKind> Result;
        for (const TBackendEvent& E : Drain())
            if (E.Kind == TBackendEventKind::Iconified || E.Kind == TBackendEventKind::Restored ||
                E.Kind == TBackendEventKind::Maximized)
                Result.push_back(E.Kind);
        return Result;
    };
    using K = TBackendEventKind;
    EXPECT_EQ(Backend.SetIconified(Id, true), TIconifyAnswer::Pending);
    Settle();
    EXPECT_TRUE(W->windowStates() & Qt::WindowMinimized);
    EXPECT_EQ(States(), std::vector{K::Iconified}) << "the desktop's confirmation";
    EXPECT_EQ(Backend.SetIconified(Id, true), TIconifyAnswer::Done) << "already iconified";
    // The desktop restores it, as a task bar does, and iconifies it again.
    W->showNormal();
    Settle();
    EXPECT_EQ(States(), std::vector{K::Restored});
    W->showMinimized();
    Settle();
    EXPECT_EQ(States(), std::vector{K::Iconified});
    EXPECT_EQ(Backend.SetIconified(Id, false), TIconifyAnswer::Done);
    Backend.SetMaximized(Id, true);
    Settle();
    EXPECT_TRUE(W->windowStates() & Qt::WindowMaximized);
    EXPECT_TRUE(States().empty()) << "the window system's own restore and maximize";
    W->showNormal();
    Settle();
    W->showMaximized();
    Settle();
    EXPECT_EQ(States(), (std::vector{K::Restored, K::Maximized}));
}

// The desktop places a maximized window: other bounds are not sent to it,
// the window system hears where the window is instead; restored, the
// window goes where it is asked again.
TEST_F(QtBackendTest, AMaximizedWindowIsPlacedByTheDesktop) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(10, 10, 50, 50));
    QWindow* W = Backend.SurfaceWindow(Id);
    Backend.SetMaximized(Id, true);
    Settle();
    Drain();
    QRect Placed = W->geometry();
    ASSERT_NE(Placed, QRect(10, 10, 50, 50)) << "the offscreen desktop fills its screen";
    Backend.SetBounds(Id, Bounds(-4, -4, 60, 60));
    Settle();
    EXPECT_EQ(W->geometry(), Placed);
    std::vector<TRect> Reported;
    for (const TBackendEvent& E : Drain())
        if (E.Kind == TBackendEventKind::MovedResized)
            Reported.push_back(E.Bounds);
    EXPECT_EQ(Reported,
              std::vector{Bounds(Placed.x(), Placed.y(), Placed.width(), Placed.height())});
    Backend.SetMaximized(Id, false);
    Backend.SetBounds(Id, Bounds(20, 20, 50, 50));
    Settle();
    EXPECT_EQ(W->geometry(), QRect(20, 20, 50, 50));
}

// A popup is never managed by the desktop, so nothing would ever iconify it.
TEST_F(QtBackendTest, APopupIsNeverIconified) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Popup, Bounds(0, 0, 50, 50));
    EXPECT_EQ(Backend.SetIconified(Id, true), TIconifyAnswer::Refused);
    Settle();
    EXPECT_FALSE(Backend.SurfaceWindow(Id)->windowStates() & Qt::WindowMinimized);
}

TEST_F(QtBackendTest, EventsOfADestroyedSurfaceAreDropped) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    QPointer<QWindow> W = Backend.SurfaceWindow(Id);
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::postEvent(W, Press.clone());
    Backend.DestroySurface(Id);
    EXPECT_TRUE(W.isNull());
    EXPECT_EQ(Backend.SurfaceWindow(Id), nullptr);
    Settle();
    EXPECT_TRUE(Drain().empty());
    // Every operation on the stale surface is ignored.
    Backend.SetBounds(Id, Bounds(0, 0, 1, 1));
    Backend.SetVisible(Id, true);
    Backend.Activate(Id);
}

// ---------------------------------------------------------------- wait and wake

TEST_F(QtBackendTest, WaitReturnsOnAWakeFromAnotherThreadAndAtItsDeadline) {
    std::thread Waker([this] { Backend.Wake(); });
    Backend.Wait(std::nullopt, "WaitForWake");
    Waker.join();
    // A wake that came before the wait is kept.
    Backend.Wake();
    Backend.Wait(std::nullopt, "WaitForEarlierWake");
    Backend.Wait(GetTickCount() + 20, "WaitForDeadline");
    Backend.Wait(GetTickCount() - 5, "WaitForPastDeadline");
    SUCCEED();
}

// ---------------------------------------------------------------- services

TEST_F(QtBackendTest, ClipboardKeepsUtf8Text) {
    Backend.SetClipboardText("中文");
    EXPECT_TRUE(Backend.HasClipboardText());
    EXPECT_EQ(Backend.ClipboardText(), "中文");
}

TEST_F(QtBackendTest, ScreensComeFromQt) {
    std::vector<TScreenInfo> Screens = Backend.Screens();
    ASSERT_EQ(Screens.size(), std::size_t(QGuiApplication::screens().size()));
    ASSERT_FALSE(Screens.empty());
    QRect Primary = QGuiApplication::primaryScreen()->geometry();
    int Primaries = 0;
    for (const TScreenInfo& S : Screens) {
        if (!S.Primary)
            continue;
        ++Primaries;
        EXPECT_EQ(S.Bounds, Bounds(Primary.x(), Primary.y(), Primary.width(), Primary.height()));
    }
    EXPECT_EQ(Primaries, 1);
}

TEST_F(QtBackendTest, PointerPositionAndCursorReachQt) {
    TSurfaceId Id = ShownSurface(TSurfaceKind::Framed, Bounds(0, 0, 50, 50));
    Backend.SetPointerPos({12, 34});
    EXPECT_EQ(Backend.PointerPos().X, 12);
    EXPECT_EQ(Backend.PointerPos().Y, 34);
    Backend.SetCursor(IDC_IBEAM);
    EXPECT_EQ(Backend.SurfaceWindow(Id)->cursor().shape(), Qt::IBeamCursor);
    Backend.SetCursor(IDC_SIZENWSE);
    EXPECT_EQ(Backend.SurfaceWindow(Id)->cursor().shape(), Qt::SizeFDiagCursor);
    TSurfaceId Later = ShownSurface(TSurfaceKind::Popup, Bounds(0, 0, 5, 5));
    EXPECT_EQ(Backend.SurfaceWindow(Later)->cursor().shape(), Qt::SizeFDiagCursor);
    Backend.SetCursor(0);
    EXPECT_EQ(Backend.SurfaceWindow(Id)->cursor().shape(), Qt::BlankCursor);
}

TEST_F(QtBackendTest, OpenRefusesAnEmptyTarget) {
    EXPECT_FALSE(Backend.Open(""));
    EXPECT_FALSE(Backend.Open("   "));
}

// The program's faces resolve to installed fonts, and Chinese characters the
// face lacks come from the CJK font.
TEST(QtFonts, ProgramFacesFallBackToTheCjkFontForChinese) {
    const QString Text = QString::fromUtf8("视频软件设置");
    for (const char* Face : {"MS Sans Serif", "Arial", "Tahoma"}) {
        SCOPED_TRACE(Face);
        QRawFont Raw = QRawFont::fromFont(QFont(QString::fromUtf8(Face), 12),
                                          QFontDatabase::SimplifiedChinese);
        ASSERT_TRUE(Raw.isValid());
        EXPECT_EQ(Raw.familyName(), QString("WenQuanYi Micro Hei"));
        for (QChar C : Text)
            EXPECT_TRUE(Raw.supportsCharacter(C)) << QString(C).toStdString();
    }
}

} // namespace

TEST_F(QtBackendTest, CompositorAnswerThroughTheBackendInterface) {
    TBackend& Interface = Backend;
    // Qt's offscreen platform composes itself.
    EXPECT_TRUE(Interface.HasCompositor());
    Backend.SetCompositorOverride(false);
    EXPECT_FALSE(Interface.HasCompositor());
    SetBackend(&Backend);
    EXPECT_FALSE(HasCompositor());
    SetBackend(nullptr);
    Backend.SetCompositorOverride(std::nullopt);
    EXPECT_TRUE(Interface.HasCompositor());
}

// Only an X display has the tray protocol: elsewhere the desktop has no
// notification area, and an icon is refused without any call failing.
TEST_F(QtBackendTest, WithoutAnXDisplayThereIsNoNotificationArea) {
    EXPECT_FALSE(Backend.NotifyAreaAvailable());
    std::uint32_t Pixel = 0xFFFF0000;
    EXPECT_EQ(Backend.AddNotifyIcon({&Pixel, 1, 1, 4}, "Ostrela"), 0u);
    Backend.UpdateNotifyIcon(1, {}, "");
    Backend.ShowNotifyBalloon(1, "T", "Text", 1);
    Backend.RemoveNotifyIcon(1);

    SetBackend(&Backend);
    WNDCLASS Class{};
    Class.lpfnWndProc = DefWindowProc;
    Class.lpszClassName = "TrayOwner";
    RegisterClass(&Class);
    HWND Wnd = CreateWindowEx(0, "TrayOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
    EXPECT_NE(Wnd, nullptr);
    NOTIFYICONDATA Data;
    Data.hWnd = Wnd;
    Data.uID = 1;
    Data.uFlags = NIF_MESSAGE | NIF_TIP;
    Data.uCallbackMessage = WM_USER + 1024;
    Data.szTip = "Ostrela";
    EXPECT_FALSE(NotifyAreaAvailable());
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &Data));
    ResetWindowSystem();
    SetBackend(nullptr);
}
