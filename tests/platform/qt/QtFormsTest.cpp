// The class library on the Qt backend (offscreen): a form shows what the
// window system painted, and Qt's input reaches the controls through the
// window system's own loop.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/qt/QtBackend.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

class QtFormsTest : public testing::Test {
protected:
    void SetUp() override {
        SetBackend(&Backend);
        InitApplication();
    }

    void TearDown() override {
        while (Screen && Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
    }

    // Runs the window system's pending messages and lets Qt deliver its
    // events, until both are quiet.
    void Pump() {
        for (int I = 0; I < 5; ++I) {
            Application->ProcessMessages();
            FlushPresents();
            Backend.Wait(GetTickCount(), "Pump");
        }
        Application->ProcessMessages();
    }

    QWindow* WindowOf(TCustomForm* Form) {
        return Backend.SurfaceWindow(WindowSurface(Form->Handle()));
    }

    void SendMouse(QWindow* W, QEvent::Type Type, TPoint Screen) {
        QPointF Global(Screen.X, Screen.Y);
        QPointF Local = Global - W->position();
        Qt::MouseButtons Held = Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent E(Type, Local, Global, Qt::LeftButton, Held, Qt::NoModifier);
        QCoreApplication::sendEvent(W, &E);
    }

    void SendKey(QWindow* W, QEvent::Type Type, int Key, Qt::KeyboardModifiers Modifiers,
                 const QString& Text = {}) {
        QKeyEvent E(Type, Key, Modifiers, Text);
        QCoreApplication::sendEvent(W, &E);
    }

    TQtBackend Backend;
};

TEST_F(QtFormsTest, FormShowsPaintsAndTakesClicksKeysAndAltF4) {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(60, 40, 320, 200);
    Form->SetCaption("Qt form");
    auto* Button = new TButton(Form);
    Button->SetParent(Form);
    Button->SetBounds(20, 20, 100, 30);
    Button->SetCaption("添加");
    auto* Check = new TCheckBox(Form);
    Check->SetParent(Form);
    Check->SetBounds(20, 70, 200, 20);
    Check->SetCaption("转换时进行实时视频预览");
    int Clicks = 0;
    Button->OnClick = [&](TObject*) { ++Clicks; };
    bool Closed = false;
    Form->OnClose = [&](TObject*, TCloseAction&) { Closed = true; };
    Application->SetMainForm(Form);
    Form->Show();
    Pump();

    // What Qt shows is the window system's back buffer.
    QWindow* W = WindowOf(Form);
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(W->geometry(), QRect(60, 40, 320, 200));
    QImage Shot =
        W->screen()->grabWindow(W->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(Shot.size(), QSize(320, 200));
    // Each pixel as the window system painted it, read through the window
    // that owns it.
    auto Painted = [](TPoint P) {
        HWND Wnd = WindowFromPoint(P);
        TRect R;
        GetWindowRect(Wnd, &R);
        HDC DC = GetWindowDC(Wnd);
        COLORREF C = GetPixel(DC, P.X - R.Left, P.Y - R.Top);
        ReleaseDC(Wnd, DC);
        return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
    };
    int Mismatches = 0;
    for (int Y = 0; Y < 200; Y += 3)
        for (int X = 0; X < 320; X += 3)
            Mismatches += Shot.pixel(X, Y) != Painted({60 + X, 40 + Y});
    EXPECT_EQ(Mismatches, 0);

    // A click from Qt fires the button's OnClick.
    TPoint Centre = Button->ClientToScreen({50, 15});
    SendMouse(W, QEvent::MouseButtonPress, Centre);
    SendMouse(W, QEvent::MouseButtonRelease, Centre);
    Pump();
    EXPECT_EQ(Clicks, 1);

    // Space on the focused check box toggles it.
    Check->SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), Check->Handle());
    bool Before = Check->Checked();
    SendKey(W, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    SendKey(W, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    Pump();
    EXPECT_NE(Check->Checked(), Before);

    // Alt+F4 closes the main form and ends Run. A guard ends a Run that
    // would never return, so the test fails instead of hanging.
    SendKey(W, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    SendKey(W, QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    SendKey(W, QEvent::KeyRelease, Qt::Key_F4, Qt::AltModifier);
    SendKey(W, QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    std::mutex Lock;
    std::condition_variable Done;
    bool Returned = false;
    std::thread Guard([&] {
        std::unique_lock L(Lock);
        if (!Done.wait_for(L, std::chrono::seconds(60), [&] { return Returned; }))
            PostThreadMessage(MainThreadID(), WM_QUIT, 0, 0);
    });
    Application->Run();
    {
        std::lock_guard L(Lock);
        Returned = true;
    }
    Done.notify_all();
    Guard.join();
    EXPECT_TRUE(Closed);
}

} // namespace
