// Input: mouse routing, activation by clicks, capture, leave tracking, the
// move/size loop, caption and scroll-bar tracking, keys and focus.
#include "tests/platform/win/WinTestSupport.h"

class InputTest : public TWinTest {
protected:
    void SetUp() override {
        TWinTest::SetUp();
        Register("Dbl", CS_DBLCLKS);
    }
};

namespace {

THandler Answer(UINT Msg, LRESULT Value) {
    return [=](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == Msg)
            return Value;
        return std::nullopt;
    };
}

} // namespace

TEST_F(InputTest, PressAndReleaseInAChildOfTheActiveWindow) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 200, 200));
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), P);
    ASSERT_EQ(GetActiveWindow(), P);
    Headless.MovePointer(120, 130);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.Press();
    Headless.Release();
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(C, WM_NCHITTEST).L(MAKELPARAM(120, 130)),
                           Expect(P, WM_PARENTNOTIFY).W(WM_LBUTTONDOWN).L(MAKELPARAM(20, 30)),
                           Expect(C, WM_SETCURSOR)
                               .W(reinterpret_cast<WPARAM>(C))
                               .L(MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                           Expect(P, WM_SETCURSOR).Opt(), // offered to the parent by DefWindowProc
                           Expect(C, WM_LBUTTONDOWN).W(MK_LBUTTON).L(MAKELPARAM(10, 20)),
                           Expect(C, WM_NCHITTEST), Expect(C, WM_SETCURSOR),
                           Expect(P, WM_SETCURSOR).Opt(), Expect(C, WM_LBUTTONUP)}),
              "");
    EXPECT_EQ(Rec.Count(nullptr, WM_MOUSEACTIVATE), 0) << "the window is active already";
    Rec.Clear();
    Headless.Click(120, 130, 1);
    ProcessPending();
    EXPECT_EQ(Rec.Compare(
                  {Expect(C, WM_RBUTTONUP),
                   Expect(C, WM_CONTEXTMENU).W(reinterpret_cast<WPARAM>(C)).L(MAKELPARAM(120, 130)),
                   Expect(P, WM_CONTEXTMENU).W(reinterpret_cast<WPARAM>(C))}),
              "");
}

TEST_F(InputTest, AClickActivatesAnInactiveWindowBeforeThePress) {
    HWND A = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    HWND B = Make(WS_POPUP | WS_VISIBLE, Bounds(200, 0, 100, 100));
    HWND E = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), B);
    SetActiveWindow(A);
    Headless.MovePointer(220, 20);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.Press();
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(E, WM_NCHITTEST), Expect(B, WM_PARENTNOTIFY).W(WM_LBUTTONDOWN),
                           Expect(E, WM_MOUSEACTIVATE).L(MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                           Expect(B, WM_MOUSEACTIVATE), Expect(A, WM_NCACTIVATE).W(FALSE),
                           Expect(A, WM_ACTIVATE).W(WA_INACTIVE), Expect(B, WM_NCACTIVATE).W(TRUE),
                           Expect(B, WM_ACTIVATE).W(WA_CLICKACTIVE), Expect(A, WM_KILLFOCUS),
                           Expect(B, WM_SETFOCUS), Expect(E, WM_SETCURSOR),
                           Expect(B, WM_SETCURSOR).Opt(), Expect(E, WM_LBUTTONDOWN)}),
              "");
    EXPECT_EQ(GetActiveWindow(), B);
}

TEST_F(InputTest, NoActivateKeepsTheFormActiveAndItsEditFocused) {
    HWND F = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 300));
    HWND Edit = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 100, 20), F);
    SetFocus(Edit);
    HWND Popup = Make(WS_POPUP, Bounds(400, 0, 100, 100), F, WS_EX_TOOLWINDOW);
    HWND Item = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 100, 100), Popup, 0,
                     Answer(WM_MOUSEACTIVATE, MA_NOACTIVATE));
    SetWindowPos(Popup, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.Click(450, 50);
    ProcessPending();
    EXPECT_EQ(Rec.Count(Item, WM_LBUTTONDOWN), 1);
    for (UINT M : {WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS})
        EXPECT_EQ(Rec.Count(nullptr, M), 0) << MessageName(M);
    EXPECT_EQ(GetActiveWindow(), F);
    EXPECT_EQ(GetFocus(), Edit);
    EXPECT_EQ(Headless.Surface(SurfaceOf(Popup))->Kind, TSurfaceKind::Popup);
}

TEST_F(InputTest, APressOnADisabledWindowDeliversNothing) {
    HWND P = Make(WS_POPUP | WS_VISIBLE | WS_DISABLED, Bounds(0, 0, 100, 100));
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 50, 50), P);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.Click(10, 10);
    ProcessPending();
    EXPECT_EQ(Rec.Count(C, WM_LBUTTONDOWN) + Rec.Count(P, WM_LBUTTONDOWN), 0);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleOnlyInTheClientArea) {
    HWND Plain = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200));
    ProcessPending();
    TMessageRecorder Rec;
    Headless.DoubleClick(100, 10); // caption
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(Plain, WM_NCLBUTTONDOWN).W(HTCAPTION),
                           Expect(Plain, WM_SYSCOMMAND).W(SC_MOVE | HTCAPTION),
                           Expect(Plain, WM_NCLBUTTONDBLCLK).W(HTCAPTION),
                           Expect(Plain, WM_SYSCOMMAND).W(SC_MAXIMIZE)}),
              "");
    ShowWindow(Plain, SW_RESTORE);
    ProcessPending();
    Rec.Clear();
    Headless.DoubleClick(100, 100);
    ProcessPending();
    EXPECT_EQ(Rec.Count(Plain, WM_LBUTTONDOWN), 2);
    EXPECT_EQ(Rec.Count(Plain, WM_LBUTTONDBLCLK), 0);
    DestroyWindow(Plain);

    HWND Dbl = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, 0, nullptr, "Dbl");
    ProcessPending();
    Rec.Clear();
    Headless.DoubleClick(50, 50);
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(Dbl, WM_LBUTTONDOWN), Expect(Dbl, WM_LBUTTONUP),
                           Expect(Dbl, WM_LBUTTONDBLCLK), Expect(Dbl, WM_LBUTTONUP)}),
              "");
    Rec.Clear();
    Clock.Advance(GetDoubleClickTime() + 1);
    Headless.Click(50, 50);
    ProcessPending();
    EXPECT_EQ(Rec.Count(Dbl, WM_LBUTTONDBLCLK), 0) << "too late for a double click";
}

TEST_F(InputTest, UnusualHitCodesComeAsNonClientMessagesAndDoNothingByDefault) {
    for (LRESULT Code : {LRESULT(104), LRESULT(HTOBJECT), LRESULT(HTVSCROLL), LRESULT(120)}) {
        HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, 0,
                      Answer(WM_NCHITTEST, Code));
        ProcessPending();
        TMessageRecorder Rec;
        Headless.Click(40, 50);
        ProcessPending();
        EXPECT_EQ(Rec.Compare({Expect(W, WM_NCLBUTTONDOWN).W(WPARAM(Code)).L(MAKELPARAM(40, 50)),
                               Expect(W, WM_NCLBUTTONUP).W(WPARAM(Code))}),
                  "")
            << Code;
        EXPECT_EQ(Rec.Count(W, WM_SYSCOMMAND) + Rec.Count(W, WM_VSCROLL), 0);
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(W);
    }
}

TEST_F(InputTest, CaptureTakesEveryMouseMessageWithoutHitTests) {
    HWND A = Make(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 100, 100));
    HWND B = Make(WS_POPUP | WS_VISIBLE, Bounds(300, 100, 100, 100));
    ProcessPending();
    TMessageRecorder Rec;
    SetCapture(B);
    EXPECT_TRUE(Headless.Grabbed());
    EXPECT_EQ(SetCapture(A), B);
    Headless.MovePointer(5, 5); // outside every window
    Headless.Press();
    Headless.Release();
    ProcessPending();
    ReleaseCapture();
    EXPECT_EQ(Rec.Compare({Expect(B, WM_CAPTURECHANGED).L(reinterpret_cast<LPARAM>(A)),
                           Expect(A, WM_MOUSEMOVE).L(MAKELPARAM(unsigned(-95), unsigned(-95))),
                           Expect(A, WM_LBUTTONDOWN), Expect(A, WM_LBUTTONUP),
                           Expect(A, WM_CAPTURECHANGED).L(0)}),
              "");
    EXPECT_EQ(Rec.Count(nullptr, WM_NCHITTEST) + Rec.Count(nullptr, WM_SETCURSOR), 0);
    EXPECT_FALSE(Headless.Grabbed());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, LeaveTrackingSendsOneLeavePerRequest) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    ProcessPending();
    Headless.MovePointer(50, 50);
    ProcessPending();
    TRACKMOUSEEVENT T;
    T.dwFlags = TME_LEAVE;
    T.hwndTrack = W;
    ASSERT_TRUE(TrackMouseEvent(&T));
    TMessageRecorder Rec;
    Headless.MovePointer(500, 500);
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_MOUSELEAVE), 1);
    Headless.MovePointer(50, 50);
    Headless.MovePointer(500, 500);
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_MOUSELEAVE), 1) << "none without a new request";

    Headless.MovePointer(50, 50);
    ProcessPending();
    T.dwFlags = TME_HOVER;
    T.dwHoverTime = 300;
    ASSERT_TRUE(TrackMouseEvent(&T));
    Headless.RunUntil(Clock.Now() + 400);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_MOUSEHOVER).L(MAKELPARAM(50, 50))}), "");
}

TEST_F(InputTest, ClickThroughLayeredWindowsLetClicksReachTheFormBelow) {
    HWND Form = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND Border = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200), nullptr,
                       WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.Click(100, 100);
    ProcessPending();
    EXPECT_EQ(Rec.Count(Form, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(Rec.Count(Border, WM_NCHITTEST), 0);
    EXPECT_TRUE(Headless.Surface(SurfaceOf(Border))->ClickThrough);
}

// A layered window lets the pointer through where its picture shows nothing:
// per-pixel alpha 0, the colour key, everywhere with WS_EX_TRANSPARENT or
// opacity 0; its region clips first. Every lookup and the headless desktop
// agree on each point.
TEST_F(InputTest, SeeThroughPixelsOfALayeredWindowLetThePointerReachTheWindowBelow) {
    constexpr COLORREF Key = RGB(255, 0, 255);
    // The layered window's picture: opaque blue, with an alpha-0 or keyed right half.
    auto Picture = [](HWND W, bool RightTransparent, int TransparentLeftOf = 0) {
        BITMAPINFO BI{};
        BI.bmiHeader.biWidth = 200;
        BI.bmiHeader.biHeight = -100;
        BI.bmiHeader.biBitCount = 32;
        void* Bits = nullptr;
        HDC Mem = CreateCompatibleDC(nullptr);
        HBITMAP Bmp = CreateDIBSection(Mem, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
        HGDIOBJ Old = SelectObject(Mem, ToObj(Bmp));
        auto* Px = static_cast<std::uint32_t*>(Bits);
        for (int Y = 0; Y < 100; ++Y)
            for (int X = 0; X < 200; ++X)
                Px[Y * 200 + X] =
                    (RightTransparent && X >= 100) || X < TransparentLeftOf ? 0 : 0xFF0000FF;
        BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        TPoint Src{0, 0};
        TSize Size{200, 100};
        ASSERT_TRUE(
            UpdateLayeredWindow(W, nullptr, nullptr, &Size, Mem, &Src, 0, &Blend, ULW_ALPHA));
        SelectObject(Mem, Old);
        DeleteObject(ToObj(Bmp));
        DeleteDC(Mem);
    };
    THandler PaintKeyOnTheRight = [Key](HWND W, UINT Msg, WPARAM,
                                        LPARAM) -> std::optional<LRESULT> {
        if (Msg != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(W, &PS);
        TRect Left = Rect(0, 0, 100, 100), Right = Rect(100, 0, 200, 100);
        HBRUSH Blue = CreateSolidBrush(RGB(0, 0, 255)), Keyed = CreateSolidBrush(Key);
        FillRect(DC, &Left, Blue);
        FillRect(DC, &Right, Keyed);
        DeleteObject(ToObj(Blue));
        DeleteObject(ToObj(Keyed));
        EndPaint(W, &PS);
        return 0;
    };
    struct TCase {
        const char* Name;
        DWORD ExStyle;
        std::function<void(HWND)> Setup;
        bool Takes[3]; // at x = 50, 125 and 175
    };
    const TCase Cases[] = {
        {"per-pixel alpha 0 on the right",
         0,
         [&](HWND W) { Picture(W, true); },
         {true, false, false}},
        {"key colour on the right",
         0,
         [&](HWND W) {
             On(W, PaintKeyOnTheRight);
             SetLayeredWindowAttributes(W, Key, 255, LWA_COLORKEY);
         },
         {true, false, false}},
        {"constant opacity 128",
         0,
         [](HWND W) { SetLayeredWindowAttributes(W, 0, 128, LWA_ALPHA); },
         {true, true, true}},
        {"opacity 0",
         0,
         [](HWND W) { SetLayeredWindowAttributes(W, 0, 0, LWA_ALPHA); },
         {false, false, false}},
        {"transparent to the mouse",
         WS_EX_TRANSPARENT,
         [](HWND W) { SetLayeredWindowAttributes(W, 0, 255, LWA_ALPHA); },
         {false, false, false}},
        {"region without the right quarter, alpha 0 on the left quarter",
         0,
         [&](HWND W) {
             SetWindowRgn(W, CreateRectRgn(0, 0, 150, 100), TRUE);
             Picture(W, false, 100);
         },
         {false, true, false}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        HWND Below = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 100));
        HWND Layered = Make(WS_POPUP, Bounds(0, 0, 200, 100), nullptr, WS_EX_LAYERED | C.ExStyle);
        C.Setup(Layered);
        ShowWindow(Layered, SW_SHOWNA);
        ProcessPending();
        const int Xs[3] = {50, 125, 175};
        for (int I = 0; I < 3; ++I) {
            SCOPED_TRACE(Xs[I]);
            HWND Expected = C.Takes[I] ? Layered : Below;
            TPoint P{Xs[I], 50};
            EXPECT_EQ(WindowFromPoint(P), Expected);
            EXPECT_EQ(ChildWindowFromPoint(GetDesktopWindow(), P), Expected);
            TMessageRecorder Rec;
            Headless.Click(P.X, P.Y);
            EXPECT_EQ(Headless.PointerSurface(), SurfaceOf(Expected)) << "the desktop agrees";
            ProcessPending();
            EXPECT_EQ(Rec.Count(Expected, WM_SETCURSOR), 3) << "move, press, release";
            EXPECT_EQ(Rec.Count(Expected, WM_LBUTTONDOWN), 1);
            EXPECT_EQ(Rec.Count(Expected, WM_LBUTTONUP), 1);
        }
        DestroyWindow(Layered);
        DestroyWindow(Below);
    }
}

TEST_F(InputTest, APressOnTheCaptionWithoutMovingEntersAndLeavesTheLoop) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
    Headless.MovePointer(200, 110);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.Press();
    Headless.Release();
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(W, WM_NCHITTEST), Expect(W, WM_SETCURSOR),
                           Expect(W, WM_NCLBUTTONDOWN).W(HTCAPTION),
                           Expect(W, WM_SYSCOMMAND).W(0xF012), Expect(W, WM_ENTERSIZEMOVE),
                           Expect(W, WM_CAPTURECHANGED).Opt(), Expect(W, WM_EXITSIZEMOVE)}),
              "");
    EXPECT_EQ(Rec.Count(W, WM_NCLBUTTONUP), 0);
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(100, 100, 300, 200));
}

TEST_F(InputTest, DraggingTheCaptionMovesThroughTheMovingHandlerWhileTimersRun) {
    int TimerTicks = 0;
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(5, 100, 300, 200), nullptr, 0,
                  [&](HWND H, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
                      if (M == WM_MOVING) {
                          auto* R = reinterpret_cast<TRect*>(L);
                          if (R->Left > -10 && R->Left < 10)
                              OffsetRect(R, -R->Left, 0); // a magnet at the screen's left edge
                      }
                      if (M == WM_TIMER) {
                          ++TimerTicks;
                          KillTimer(H, 1);
                          Headless.Release(); // the user lets go while the timer runs
                      }
                      return std::nullopt;
                  });
    ProcessPending();
    SetTimer(W, 1, 100, nullptr);
    TMessageRecorder Rec;
    On(W, [&, Inner = THandler()](HWND H, UINT M, WPARAM Wp, LPARAM L) -> std::optional<LRESULT> {
        if (M == WM_ENTERSIZEMOVE)
            PostMessage(H, WM_USER, 0, 0); // posted while the loop runs
        if (M == WM_MOVING) {
            auto* R = reinterpret_cast<TRect*>(L);
            if (R->Left > -10 && R->Left < 10)
                OffsetRect(R, -R->Left, 0);
        }
        if (M == WM_TIMER) {
            ++TimerTicks;
            KillTimer(H, 1);
            Headless.Release();
        }
        (void)Wp;
        return std::nullopt;
    });
    Headless.MovePointer(100, 110);
    Headless.Press();
    Headless.MovePointer(103, 110); // left would be 8: the magnet snaps it to 0
    ProcessPending();
    EXPECT_EQ(TimerTicks, 1) << "the timer fired inside the loop";
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R.Left, 0);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_ENTERSIZEMOVE), Expect(W, WM_MOVING),
                           Expect(W, WM_WINDOWPOSCHANGING), Expect(W, WM_WINDOWPOSCHANGED),
                           Expect(W, WM_MOVE), Expect(W, WM_TIMER), Expect(W, WM_EXITSIZEMOVE)}),
              "");
    Rec.Clear();
    Clock.Advance(GetDoubleClickTime() + 1); // not a double click on the caption
    Headless.MovePointer(100, 110);
    Headless.Press();
    Headless.MovePointer(150, 110);
    Headless.Release();
    ProcessPending();
    GetWindowRect(W, &R);
    EXPECT_EQ(R.Left, 50);
}

TEST_F(InputTest, SizingTheRightBorderRoundsAndClampsTheWidth) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200), nullptr, 0,
                  [](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
                      if (M == WM_SIZING) {
                          auto* R = reinterpret_cast<TRect*>(L);
                          R->Right = R->Left + (R->Width() + 5) / 10 * 10;
                          return TRUE;
                      }
                      if (M == WM_GETMINMAXINFO) {
                          reinterpret_cast<MINMAXINFO*>(L)->ptMinTrackSize.X = 150;
                          return 0;
                      }
                      return std::nullopt;
                  });
    ProcessPending();
    std::vector<int> Widths;
    On(W, [&, Inner = THandler()](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (M == WM_SIZING) {
            auto* R = reinterpret_cast<TRect*>(L);
            R->Right = R->Left + (R->Width() + 5) / 10 * 10;
            return TRUE;
        }
        if (M == WM_GETMINMAXINFO)
            reinterpret_cast<MINMAXINFO*>(L)->ptMinTrackSize.X = 150;
        if (M == WM_SIZE)
            Widths.push_back(LOWORD(L));
        return std::nullopt;
    });
    TMessageRecorder Rec;
    Headless.MovePointer(298, 100);
    Headless.Press();
    Headless.MovePointer(331, 100);
    Headless.MovePointer(45, 100);
    Headless.Release();
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(W, WM_SYSCOMMAND).W(SC_SIZE + WMSZ_RIGHT),
                           Expect(W, WM_ENTERSIZEMOVE), Expect(W, WM_GETMINMAXINFO),
                           Expect(W, WM_SIZING).W(WMSZ_RIGHT), Expect(W, WM_WINDOWPOSCHANGING),
                           Expect(W, WM_GETMINMAXINFO).Opt(), Expect(W, WM_NCCALCSIZE),
                           Expect(W, WM_WINDOWPOSCHANGED), Expect(W, WM_SIZE), Expect(W, WM_SIZING),
                           Expect(W, WM_WINDOWPOSCHANGING), Expect(W, WM_GETMINMAXINFO).Opt(),
                           Expect(W, WM_NCCALCSIZE), Expect(W, WM_WINDOWPOSCHANGED),
                           Expect(W, WM_SIZE), Expect(W, WM_EXITSIZEMOVE)}),
              "");
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R.Width(), 150) << "dragging to 50 ends at the minimum";
    ASSERT_EQ(Widths.size(), 2u);
    EXPECT_EQ(Widths[0] + 8, 330) << "the first width is rounded to a multiple of 10";
}

TEST_F(InputTest, EscapeRestoresTheRectangle) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
    ProcessPending();
    Headless.MovePointer(200, 110);
    Headless.Press();
    Headless.MovePointer(260, 150);
    Headless.KeyDown(VK_ESCAPE);
    ProcessPending();
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(100, 100, 300, 200));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, CaptionButtonsSendTheirCommandOnARelease) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200));
    ProcessPending();
    TMessageRecorder Rec;
    int Right = 300 - 4 - 2, Top = 4 + 2;
    // Pressed on close, released elsewhere: nothing.
    Headless.MovePointer(Right - 8, Top + 7);
    Headless.Press();
    Headless.MovePointer(100, 100);
    Headless.Release();
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_SYSCOMMAND), 0);
    Headless.Click(Right - 24, Top + 7);
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(W, WM_SYSCOMMAND).W(SC_MAXIMIZE)}), "");
    EXPECT_TRUE(IsZoomed(W));
    TRect R;
    GetWindowRect(W, &R);
    Headless.Click(R.Right - 4 - 2 - 8, R.Top + 4 + 8);
    ProcessPending();
    EXPECT_FALSE(IsWindow(W)) << "close → WM_CLOSE → destroyed";
}

TEST_F(InputTest, AHeldCaptionButtonLooksPressedWhileThePointerIsOverIt) {
    std::uint32_t Seen = 0;
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200));
    int Right = 300 - 4 - 2, Top = 4 + 2;
    On(W, [&](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_TIMER) {
            KillTimer(H, 1);
            Seen = Headless.ScreenPixel(Right - 16, Top);
            Headless.MovePointer(150, 100); // off the button: no command at the release
            Headless.Release();
        }
        return std::nullopt;
    });
    ProcessPending();
    std::uint32_t Raised = Headless.ScreenPixel(Right - 16, Top);
    SetTimer(W, 1, 50, nullptr);
    TMessageRecorder Rec;
    Headless.MovePointer(Right - 8, Top + 7);
    Headless.Press();
    ProcessPending();
    EXPECT_EQ(Seen, Rgb(GetSysColor(COLOR_BTNSHADOW))) << "the sunken edge while held";
    EXPECT_NE(Seen, Raised);
    EXPECT_EQ(Headless.ScreenPixel(Right - 16, Top), Raised) << "raised again after the release";
    EXPECT_EQ(Rec.Count(W, WM_SYSCOMMAND), 0);
    EXPECT_TRUE(IsWindow(W));
}

TEST_F(InputTest, ScrollBarThumbTracksAndThePageAreaPages) {
    std::vector<std::pair<WPARAM, int>> Seen;
    HWND W = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, Bounds(0, 0, 100, 134), nullptr, 0,
                  [&](HWND, UINT M, WPARAM Wp, LPARAM) -> std::optional<LRESULT> {
                      if (M == WM_VSCROLL)
                          Seen.push_back({LOWORD(Wp), short(HIWORD(Wp))});
                      return std::nullopt;
                  });
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    SI.nMax = 99;
    SI.nPage = 50;
    SetScrollInfo(W, SB_VERT, &SI, TRUE);
    ProcessPending();
    // Track 100 px between the arrows, thumb 50 px at the top.
    Headless.MovePointer(90, 30);
    Headless.Press();
    Headless.MovePointer(90, 55); // half the free track: position 25
    Headless.Release();
    ProcessPending();
    ASSERT_GE(Seen.size(), 3u);
    EXPECT_EQ(Seen[0], (std::pair<WPARAM, int>{SB_THUMBTRACK, 25}));
    EXPECT_EQ(Seen[Seen.size() - 2], (std::pair<WPARAM, int>{SB_THUMBPOSITION, 25}));
    EXPECT_EQ(Seen.back().first, SB_ENDSCROLL);
    SI.fMask = SIF_TRACKPOS;
    GetScrollInfo(W, SB_VERT, &SI);
    EXPECT_EQ(SI.nTrackPos, 25);
    EXPECT_EQ(GetScrollPos(W, SB_VERT), 0) << "the window sets the position itself";
    Seen.clear();
    Headless.MovePointer(90, 110); // below the thumb
    Headless.Press();
    Headless.Release();
    ProcessPending();
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0].first, SB_PAGEDOWN);
    EXPECT_EQ(Seen[1].first, SB_ENDSCROLL);
}

TEST_F(InputTest, ScrollBarArrowRepeatsOnTheClockUntilTheRelease) {
    int Lines = 0;
    HWND W = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, Bounds(0, 0, 100, 100), nullptr, 0,
                  [&](HWND, UINT M, WPARAM Wp, LPARAM) -> std::optional<LRESULT> {
                      if (M == WM_VSCROLL && LOWORD(Wp) == SB_LINEDOWN && ++Lines == 3)
                          Headless.Release();
                      return std::nullopt;
                  });
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    SI.nMax = 99;
    SI.nPage = 10;
    SetScrollInfo(W, SB_VERT, &SI, TRUE);
    ProcessPending();
    TMessageRecorder Rec;
    Headless.MovePointer(90, 95); // the down arrow
    Headless.Press();
    ProcessPending();
    EXPECT_EQ(
        Rec.Compare({Expect(W, WM_VSCROLL).W(SB_LINEDOWN), Expect(W, WM_VSCROLL).W(SB_LINEDOWN),
                     Expect(W, WM_VSCROLL).W(SB_LINEDOWN), Expect(W, WM_VSCROLL).W(SB_ENDSCROLL)}),
        "");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, FocusChangesAndWheelGoesToTheFocus) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND A = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 50, 50), P);
    HWND B = Make(WS_CHILD | WS_VISIBLE, Bounds(60, 0, 50, 50), P);
    SetFocus(A);
    TMessageRecorder Rec;
    EXPECT_EQ(SetFocus(B), A);
    EXPECT_EQ(Rec.Compare({Expect(A, WM_KILLFOCUS).W(reinterpret_cast<WPARAM>(B)),
                           Expect(B, WM_SETFOCUS).W(reinterpret_cast<WPARAM>(A))}),
              "");
    Rec.Clear();
    Headless.MovePointer(20, 20);
    Headless.Wheel(-120);
    ProcessPending();
    EXPECT_EQ(
        Rec.Compare({Expect(B, WM_MOUSEWHEEL).L(MAKELPARAM(20, 20)), Expect(P, WM_MOUSEWHEEL)}),
        "");
    for (auto& M : Rec.Of(B)) {
        if (M.Msg == WM_MOUSEWHEEL) {
            EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(M.WParam), -120);
        }
    }
    ShowWindow(B, SW_HIDE);
    EXPECT_EQ(GetFocus(), P) << "a hidden focus window loses the focus";
}

TEST_F(InputTest, KeysBecomeKeyAndCharacterMessages) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 200, 200));
    ASSERT_EQ(GetFocus(), W);
    ProcessPending();
    auto Run = [&](auto Inject, std::vector<TExpectedMessage> Expected) {
        TMessageRecorder Rec;
        Inject();
        ProcessPending();
        return Rec.Compare(Expected);
    };
    EXPECT_EQ(
        Run(
            [&] {
                Headless.KeyDown('A', "a");
                Headless.KeyUp('A');
            },
            {Expect(W, WM_KEYDOWN).W('A'), Expect(W, WM_CHAR).W('a'), Expect(W, WM_KEYUP).W('A')}),
        "");
    EXPECT_EQ(Run(
                  [&] {
                      Headless.KeyDown(VK_MENU);
                      Headless.KeyUp(VK_MENU);
                  },
                  {Expect(W, WM_SYSKEYDOWN).W(VK_MENU), Expect(W, WM_SYSKEYUP).W(VK_MENU),
                   Expect(W, WM_SYSCOMMAND).W(SC_KEYMENU).L(0)}),
              "");
    EXPECT_EQ(Run(
                  [&] {
                      Headless.KeyDown(VK_MENU);
                      Headless.KeyDown('F', "f");
                      Headless.KeyUp('F');
                      Headless.KeyUp(VK_MENU);
                  },
                  {Expect(W, WM_SYSKEYDOWN).W(VK_MENU), Expect(W, WM_SYSKEYDOWN).W('F'),
                   Expect(W, WM_SYSCHAR).W('f'), Expect(W, WM_SYSCOMMAND).W(SC_KEYMENU).L('f'),
                   Expect(W, WM_SYSKEYUP).W('F'), Expect(W, WM_SYSKEYUP).W(VK_MENU)}),
              "");
    EXPECT_EQ(Run(
                  [&] {
                      Headless.KeyDown(VK_F10);
                      Headless.KeyUp(VK_F10);
                  },
                  {Expect(W, WM_SYSKEYDOWN).W(VK_F10), Expect(W, WM_SYSKEYUP).W(VK_F10),
                   Expect(W, WM_SYSCOMMAND).W(SC_KEYMENU)}),
              "");
    EXPECT_EQ(Run(
                  [&] {
                      Headless.KeyDown(VK_SHIFT);
                      Headless.KeyDown(VK_F10);
                      Headless.KeyUp(VK_F10);
                      Headless.KeyUp(VK_SHIFT);
                  },
                  {Expect(W, WM_CONTEXTMENU).L(-1)}),
              "");
    EXPECT_EQ(Run([&] { Headless.CommitText("视频"); },
                  {Expect(W, WM_CHAR).W(0x89C6), Expect(W, WM_CHAR).W(0x9891)}),
              "");
    EXPECT_EQ(Run([&] { Headless.KeyDown(VK_RETURN, "\r"); },
                  {Expect(W, WM_KEYDOWN).W(VK_RETURN), Expect(W, WM_CHAR).W(13)}),
              "");
    EXPECT_TRUE(GetKeyState(VK_RETURN) & 0x8000);
    Headless.KeyUp(VK_RETURN);
    ProcessPending();
    EXPECT_FALSE(GetKeyState(VK_RETURN) & 0x8000);
    EXPECT_EQ(Run(
                  [&] {
                      Headless.KeyDown(VK_MENU);
                      Headless.KeyDown(VK_F4);
                  },
                  {Expect(W, WM_SYSKEYDOWN).W(VK_MENU), Expect(W, WM_SYSKEYDOWN).W(VK_F4),
                   Expect(W, WM_SYSCOMMAND).W(SC_CLOSE), Expect(W, WM_CLOSE)}),
              "");
    EXPECT_FALSE(IsWindow(W));
}

TEST_F(InputTest, TheDesktopTakesAndGivesBackTheFocus) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 200, 200));
    ProcessPending();
    TMessageRecorder Rec;
    Headless.TakeFocusAway();
    ProcessPending();
    EXPECT_EQ(
        Rec.Compare({Expect(W, WM_NCACTIVATE).W(FALSE), Expect(W, WM_ACTIVATE).W(WA_INACTIVE).L(0),
                     Expect(W, WM_ACTIVATEAPP).W(FALSE)}),
        "");
    EXPECT_EQ(GetActiveWindow(), nullptr);
    Rec.Clear();
    Headless.GiveFocusBack(SurfaceOf(W));
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(W, WM_ACTIVATEAPP).W(TRUE), Expect(W, WM_NCACTIVATE).W(TRUE),
                           Expect(W, WM_ACTIVATE).W(WA_ACTIVE), Expect(W, WM_SETFOCUS)}),
              "");
    Rec.Clear();
    Headless.RequestClose(SurfaceOf(W));
    ProcessPending();
    EXPECT_EQ(Rec.Compare({Expect(W, WM_SYSCOMMAND).W(SC_CLOSE), Expect(W, WM_CLOSE)}), "");
    EXPECT_FALSE(IsWindow(W));
}

// Focus events the desktop sends for windows the program activated one after
// the other arrive late. Answering each with a fresh request made the desktop
// send them again, and the focus went round the windows without end.
TEST_F(InputTest, AFocusGivenByTheDesktopIsNotAskedForAgain) {
    std::vector<HWND> Windows;
    for (int I = 0; I < 3; ++I)
        Windows.push_back(Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(I * 220, 0, 200, 200)));
    ProcessPending();
    ASSERT_EQ(GetActiveWindow(), Windows[2]);
    // The late focus events of the three shows, all queued before any is read.
    std::vector<TSurfaceId> FocusWhenActivated;
    for (HWND W : Windows) {
        On(W, [&](HWND, UINT Msg, WPARAM Wp, LPARAM) -> std::optional<LRESULT> {
            if (Msg == WM_ACTIVATE && LOWORD(Wp) != WA_INACTIVE)
                FocusWhenActivated.push_back(Headless.Focused());
            return std::nullopt;
        });
        Headless.GiveFocusBack(SurfaceOf(W));
    }
    ProcessPending();
    // Each window followed the desktop without taking the focus back from the
    // window the desktop holds it on now.
    const TSurfaceId Last = SurfaceOf(Windows[2]);
    EXPECT_EQ(FocusWhenActivated, (std::vector<TSurfaceId>{Last, Last, Last}));
    EXPECT_EQ(GetActiveWindow(), Windows[2]);
    EXPECT_EQ(Headless.Focused(), Last);
    for (HWND W : Windows)
        On(W, nullptr);
}

// A window is minimized only once the desktop has iconified it, so the frame's
// minimize button never leaves a window on screen that the program takes for
// gone: whatever the desktop answers, the window comes back usable.
TEST_F(InputTest, MinimizeFollowsWhatTheDesktopDoes) {
    Register("Green", 0, CreateSolidBrush(RGB(0, 255, 0)));
    for (TIconifyAnswer Answer :
         {TIconifyAnswer::Done, TIconifyAnswer::Pending, TIconifyAnswer::Refused}) {
        SCOPED_TRACE(int(Answer));
        Headless.SetIconifyAnswer(Answer);
        HWND Other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(400, 0, 200, 200));
        HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200), nullptr, 0, nullptr,
                      "Green");
        ProcessPending();
        ASSERT_EQ(GetActiveWindow(), W);
        TMessageRecorder Rec;
        Headless.Click(300 - 4 - 2 - 42, 4 + 2 + 7); // the minimize button
        ProcessPending();
        EXPECT_EQ(Rec.Count(W, WM_SYSCOMMAND), 1);
        const THeadlessSurface* S = Headless.Surface(SurfaceOf(W));
        EXPECT_EQ(bool(IsIconic(W)), Answer == TIconifyAnswer::Done);
        EXPECT_EQ(S->Iconified, Answer == TIconifyAnswer::Done);
        switch (Answer) {
        case TIconifyAnswer::Done:
            EXPECT_EQ(GetActiveWindow(), Other);
            ShowWindow(W, SW_RESTORE);
            break;
        case TIconifyAnswer::Pending:
            // The window manager iconifies it a moment later, and the user restores it.
            EXPECT_EQ(Rec.Count(W, WM_SIZE), 0);
            Headless.IconifyByDesktop(SurfaceOf(W), true);
            ProcessPending();
            EXPECT_TRUE(IsIconic(W));
            EXPECT_EQ(Rec.Count(W, WM_SYSCOMMAND), 1) << "the program is not asked twice";
            EXPECT_EQ(Rec.Count(W, WM_SIZE), 1);
            Headless.IconifyByDesktop(SurfaceOf(W), false);
            ProcessPending();
            SetActiveWindow(W);
            break;
        case TIconifyAnswer::Refused:
            EXPECT_EQ(Rec.Count(W, WM_SIZE), 0) << "nothing iconifies it: it stays as it was";
            break;
        }
        EXPECT_EQ(Rec.Count(W, WM_SIZE), Answer == TIconifyAnswer::Refused ? 0 : 2)
            << "SIZE_MINIMIZED, then SIZE_RESTORED";
        EXPECT_FALSE(IsIconic(W));
        EXPECT_FALSE(S->Iconified);
        EXPECT_TRUE(S->Visible);
        EXPECT_EQ(GetActiveWindow(), W);
        EXPECT_EQ(ClientPixel(W, 10, 10), 0x00FF00u) << "painted";
        Rec.Clear();
        Headless.Click(100, 100);
        ProcessPending();
        EXPECT_EQ(Rec.Count(W, WM_LBUTTONDOWN), 1);
        Headless.KeyDown(VK_MENU);
        Headless.KeyDown(VK_F4);
        Headless.KeyUp(VK_F4);
        Headless.KeyUp(VK_MENU);
        ProcessPending();
        EXPECT_FALSE(IsWindow(W)) << "Alt+F4 closes it";
        DestroyWindow(Other);
    }
    // A hidden window shown minimized where nothing iconifies is shown as it is.
    HWND Hidden = Make(WS_OVERLAPPEDWINDOW, Bounds(0, 0, 300, 200));
    ShowWindow(Hidden, SW_SHOWMINIMIZED);
    EXPECT_TRUE(IsWindowVisible(Hidden));
    EXPECT_FALSE(IsIconic(Hidden));
    EXPECT_EQ(GetActiveWindow(), Hidden);
}

// The desktop maximizes and restores a window on its own (a window manager's
// shortcut); the window system is told of its own maximize and clips the
// frame that lies beyond the work area to the window's monitor.
TEST_F(InputTest, MaximizedStateIsSharedWithTheDesktop) {
    Headless.SetScreens({{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true},
                         {Rect(1920, 0, 3840, 1080), Rect(1920, 0, 3840, 1080), false}});
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 400, 300));
    ProcessPending();
    const THeadlessSurface* S = Headless.Surface(SurfaceOf(W));
    ShowWindow(W, SW_MAXIMIZE);
    EXPECT_TRUE(S->Maximized);
    ASSERT_TRUE(S->Shape.has_value());
    EXPECT_EQ(*S->Shape, std::vector{Rect(4, 4, 1924, 1048)}) << "the frame as far as the monitor";
    EXPECT_NE(WindowFromPoint({1921, 500}), W) << "the frame's edge on the right-hand screen";
    EXPECT_EQ(WindowFromPoint({1919, 500}), W);
    ShowWindow(W, SW_RESTORE);
    EXPECT_FALSE(S->Maximized);
    EXPECT_FALSE(S->Shape.has_value());

    Headless.MaximizeByDesktop(SurfaceOf(W), true);
    ProcessPending();
    EXPECT_TRUE(IsZoomed(W));
    Headless.MaximizeByDesktop(SurfaceOf(W), false);
    ProcessPending();
    EXPECT_FALSE(IsZoomed(W));
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(100, 100, 400, 300));
    // Minimizing a maximized window clears the desktop's maximized state.
    ShowWindow(W, SW_MAXIMIZE);
    ShowWindow(W, SW_MINIMIZE);
    EXPECT_FALSE(S->Maximized);
}

TEST_F(InputTest, TheDesktopMovesAndIconifiesSurfaces) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND Other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(400, 0, 200, 200));
    ProcessPending();
    ASSERT_EQ(GetActiveWindow(), Other);
    TMessageRecorder Rec;
    Headless.MoveSurfaceByDesktop(SurfaceOf(W), Bounds(50, 60, 300, 250));
    ProcessPending();
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(50, 60, 300, 250));
    EXPECT_EQ(GetActiveWindow(), Other) << "a desktop move does not activate";
    EXPECT_EQ(Rec.Compare({Expect(W, WM_WINDOWPOSCHANGING), Expect(W, WM_WINDOWPOSCHANGED),
                           Expect(W, WM_MOVE), Expect(W, WM_SIZE)}),
              "");
    Headless.IconifyByDesktop(SurfaceOf(W), true);
    ProcessPending();
    EXPECT_TRUE(IsIconic(W));
    Headless.IconifyByDesktop(SurfaceOf(W), false);
    ProcessPending();
    EXPECT_FALSE(IsIconic(W));
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(50, 60, 300, 250));
    WINDOWPLACEMENT WP;
    GetWindowPlacement(W, &WP);
    WP.rcNormalPosition = Bounds(10, 10, 150, 120);
    WP.showCmd = SW_SHOWNORMAL;
    SetWindowPlacement(W, &WP);
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(10, 10, 150, 120));
    std::vector<HWND> Mine;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [&](HWND H, LPARAM) {
            Mine.push_back(H);
            return TRUE;
        },
        0);
    EXPECT_EQ(Mine.size(), 2u);
}

TEST_F(InputTest, MessagePositionAndTimeComeWithTheRetrievedMessage) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    ProcessPending();
    Headless.MovePointer(70, 80);
    Clock.Advance(5);
    MSG M;
    ASSERT_TRUE(PeekMessage(&M, W, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    Headless.MovePointer(90, 95); // the pointer moves on; the message position stays
    EXPECT_EQ(LParamToPoint(LPARAM(std::int32_t(GetMessagePos()))), (TPoint{70, 80}));
    EXPECT_EQ(DWORD(GetMessageTime()), Clock.Now());
    EXPECT_EQ(M.pt, (TPoint{70, 80}));
}

TEST_F(InputTest, CursorsFollowHitCodesAndMasksAreDocumented) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200));
    ProcessPending();
    Headless.MovePointer(1, 100);
    ProcessPending();
    EXPECT_EQ(Headless.Cursor(), IDC_SIZEWE);
    Headless.MovePointer(150, 100);
    ProcessPending();
    EXPECT_EQ(Headless.Cursor(), IDC_ARROW);
    SetClassLong(W, GCL_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_IBEAM)));
    Headless.MovePointer(151, 100);
    ProcessPending();
    EXPECT_EQ(Headless.Cursor(), IDC_IBEAM);
    EXPECT_EQ(CursorId(GetCursor()), IDC_IBEAM);
}
