// Window objects, classes, styles, procedures, hierarchy, creation and
// destruction, geometry and show states.
#include "tests/platform/win/WinTestSupport.h"

#include <cstring>

class WindowTest : public TWinTest {};

namespace {

LRESULT PlainProc(HWND W, UINT M, WPARAM Wp, LPARAM Lp) {
    return DefWindowProc(W, M, Wp, Lp);
}

} // namespace

TEST_F(WindowTest, HandlesOfDestroyedWindowsStayInvalid) {
    HWND A = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    ASSERT_TRUE(IsWindow(A));
    DestroyWindow(A);
    HWND B = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    EXPECT_FALSE(IsWindow(A));
    EXPECT_NE(A, B);
    EXPECT_EQ(SendMessage(A, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(PostMessage(A, WM_USER, 0, 0));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(std::uintptr_t(12345))));
}

TEST_F(WindowTest, ClassesRegisterLookUpAndChangeStyle) {
    WNDCLASS C;
    C.lpfnWndProc = PlainProc;
    C.lpszClassName = "SysHeader32";
    C.style = CS_DBLCLKS;
    ASSERT_NE(RegisterClass(&C), 0);
    EXPECT_EQ(RegisterClass(&C), 0) << "a name is registered once";
    WNDCLASS Info;
    ASSERT_TRUE(GetClassInfo(nullptr, "sysheader32", &Info)) << "names ignore case";
    EXPECT_EQ(Info.style, CS_DBLCLKS);

    HWND P = Make(WS_POPUP, Bounds(0, 0, 100, 100));
    HWND H =
        CreateWindowEx(0, "SysHeader32", "", WS_CHILD, 0, 0, 10, 10, P, nullptr, nullptr, nullptr);
    char Name[80];
    EXPECT_EQ(GetClassName(H, Name, 80), 11);
    EXPECT_STREQ(Name, "SysHeader32");
    EXPECT_EQ(SetClassLong(H, GCL_STYLE, CS_DBLCLKS | CS_DROPSHADOW), CS_DBLCLKS);
    EXPECT_EQ(GetClassLong(H, GCL_STYLE), CS_DBLCLKS | CS_DROPSHADOW);
    EXPECT_FALSE(UnregisterClass("SysHeader32", nullptr)) << "still in use";
    DestroyWindow(H);
    EXPECT_TRUE(UnregisterClass("SysHeader32", nullptr));
    EXPECT_EQ(
        CreateWindowEx(0, "SysHeader32", "", WS_CHILD, 0, 0, 1, 1, P, nullptr, nullptr, nullptr),
        nullptr);
}

TEST_F(WindowTest, TextCountsBytesAndNeverSplitsACharacter) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10), nullptr, 0, nullptr, "TestWnd", "视频ab");
    EXPECT_EQ(GetWindowTextLength(W), 8);
    EXPECT_EQ(GetWindowText(W), "视频ab");
    char Buffer[8];
    // Room for 5 bytes: the second character (3 bytes) does not fit whole.
    EXPECT_EQ(GetWindowText(W, Buffer, 6), 3);
    EXPECT_STREQ(Buffer, "视");
    EXPECT_TRUE(SetWindowText(W, "x"));
    EXPECT_EQ(GetWindowText(W), "x");
}

TEST_F(WindowTest, StyleChangesSendChangingAndChangedButKeepTheFrame) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    TMessageRecorder Rec;
    SetWindowLong(W, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_BORDER);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_STYLECHANGING).W(WPARAM(GWL_STYLE)),
                           Expect(W, WM_STYLECHANGED).W(WPARAM(GWL_STYLE))}),
              "");
    TRect C;
    GetClientRect(W, &C);
    EXPECT_EQ(C, Rect(0, 0, 100, 100)) << "the frame waits for SWP_FRAMECHANGED";
    SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    GetClientRect(W, &C);
    EXPECT_EQ(C, Rect(0, 0, 98, 98));
    EXPECT_EQ(DWORD(GetWindowLong(W, GWL_STYLE)) & WS_BORDER, WS_BORDER);
    SetWindowLong(W, GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TOPMOST);
    const THeadlessSurface* S = Headless.Surface(SurfaceOf(W));
    ASSERT_NE(S, nullptr);
    EXPECT_TRUE(S->Topmost) << "topmost reaches the backend at once";
}

// ---------------------------------------------------------------- procedures

namespace {

std::vector<std::string> Trace;

LRESULT SubA(HWND W, UINT M, WPARAM Wp, LPARAM Lp, UINT_PTR, DWORD_PTR) {
    if (M == WM_USER)
        Trace.push_back("A");
    return DefSubclassProc(W, M, Wp, Lp);
}

LRESULT SubB(HWND W, UINT M, WPARAM Wp, LPARAM Lp, UINT_PTR, DWORD_PTR) {
    if (M == WM_USER)
        Trace.push_back("B");
    return DefSubclassProc(W, M, Wp, Lp);
}

} // namespace

TEST_F(WindowTest, SubclassesCanBeRemovedInEitherOrder) {
    for (bool RemoveFirstInstalledFirst : {false, true}) {
        HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10), nullptr, 0,
                      [](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                          if (M == WM_USER) {
                              Trace.push_back("W");
                              return 7;
                          }
                          return std::nullopt;
                      });
        Trace.clear();
        ASSERT_TRUE(SetWindowSubclass(W, SubA, 1, 0));
        ASSERT_TRUE(SetWindowSubclass(W, SubB, 2, 0));
        EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 7);
        EXPECT_EQ(Trace, (std::vector<std::string>{"B", "A", "W"}));
        Trace.clear();
        if (RemoveFirstInstalledFirst) {
            EXPECT_TRUE(RemoveWindowSubclass(W, SubA, 1));
            EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 7);
            EXPECT_EQ(Trace, (std::vector<std::string>{"B", "W"}));
        } else {
            EXPECT_TRUE(RemoveWindowSubclass(W, SubB, 2));
            EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 7);
            EXPECT_EQ(Trace, (std::vector<std::string>{"A", "W"}));
        }
        Trace.clear();
        EXPECT_TRUE(RemoveWindowSubclass(W, RemoveFirstInstalledFirst ? SubB : SubA,
                                         RemoveFirstInstalledFirst ? 2 : 1));
        EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 7);
        EXPECT_EQ(Trace, (std::vector<std::string>{"W"}));
        DestroyWindow(W);
    }
}

TEST_F(WindowTest, ClosuresBecomeProceduresAndReleasedOnesAreNeverCalled) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    int Calls = 0;
    WNDPROC Old = reinterpret_cast<WNDPROC>(GetWindowLong(W, GWL_WNDPROC));
    WNDPROC Mine = MakeWindowProc([&](HWND H, UINT M, WPARAM Wp, LPARAM Lp) -> LRESULT {
        if (M == WM_USER) {
            ++Calls;
            return 5;
        }
        return CallWindowProc(Old, H, M, Wp, Lp);
    });
    SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Mine));
    EXPECT_EQ(GetWindowLong(W, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(Mine));
    EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 5);
    EXPECT_EQ(GetWindowTextLength(W), 0) << "other messages reach the previous procedure";
    FreeWindowProc(Mine);
    EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 0);
    EXPECT_EQ(Calls, 1);
    SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Old));
}

TEST_F(WindowTest, PackedParametersKeepSignsInTheLowThirtyTwoBits) {
    LPARAM L = MAKELPARAM(unsigned(-5), unsigned(-7));
    EXPECT_EQ(GET_X_LPARAM(L), -5);
    EXPECT_EQ(GET_Y_LPARAM(L), -7);
    WPARAM Down = MakeWheelWParam(-120, MK_SHIFT);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Down), -120);
    EXPECT_LT(std::int32_t(Down), 0) << "read as a signed 32-bit value the sign is the delta's";
    EXPECT_GT(std::int32_t(MakeWheelWParam(120, 0)), 0);
    EXPECT_EQ(LOWORD(Down), MK_SHIFT);
}

// ---------------------------------------------------------------- hierarchy

TEST_F(WindowTest, HierarchyOwnersAndZOrder) {
    HWND P = Make(WS_OVERLAPPEDWINDOW, Bounds(0, 0, 300, 300));
    HWND A = Make(WS_CHILD, Bounds(0, 0, 10, 10), P);
    HWND B = Make(WS_CHILD, Bounds(0, 0, 10, 10), P);
    HWND C = Make(WS_CHILD, Bounds(0, 0, 10, 10), B);
    HWND O = Make(WS_POPUP, Bounds(0, 0, 10, 10), P);
    EXPECT_EQ(GetParent(A), P);
    EXPECT_EQ(GetParent(O), P) << "an owned top-level window names its owner";
    EXPECT_EQ(GetWindow(O, GW_OWNER), P);
    EXPECT_EQ(GetWindowLong(O, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(P));
    EXPECT_EQ(GetAncestor(O, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(C, GA_ROOT), P);
    EXPECT_EQ(GetAncestor(O, GA_ROOTOWNER), P);
    EXPECT_TRUE(IsChild(P, C));
    EXPECT_FALSE(IsChild(P, O));
    // New children go to the bottom: the first created stays on top.
    EXPECT_EQ(GetWindow(P, GW_CHILD), A);
    EXPECT_EQ(GetWindow(A, GW_HWNDNEXT), B);
    SetWindowPos(B, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(P), B);
    std::vector<HWND> Walk;
    EnumChildWindows(
        P,
        [&](HWND H, LPARAM) {
            Walk.push_back(H);
            return TRUE;
        },
        0);
    EXPECT_EQ(Walk, (std::vector<HWND>{B, C, A})) << "depth first in z-order";
    SetWindowLong(O, GWL_HWNDPARENT, 0);
    EXPECT_EQ(GetWindow(O, GW_OWNER), nullptr);
}

TEST_F(WindowTest, TopmostBandAndOwnedWindowsStayAbove) {
    HWND T = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), nullptr, WS_EX_TOPMOST);
    HWND A = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    HWND O = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), A);
    HWND B = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    EXPECT_EQ(GetTopWindow(nullptr), T) << "a topmost window stays above newer ones";
    SetActiveWindow(A);
    EXPECT_EQ(GetWindow(T, GW_HWNDNEXT), O) << "activation raises the owner with its owned window";
    EXPECT_EQ(GetWindow(O, GW_HWNDNEXT), A);
    EXPECT_EQ(GetWindow(A, GW_HWNDNEXT), B);
    SetWindowPos(B, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), B);
    EXPECT_TRUE(GetWindowLong(B, GWL_EXSTYLE) & WS_EX_TOPMOST);
    auto Order = Headless.Stacking();
    ASSERT_EQ(Order.size(), 4u);
    EXPECT_EQ(Order[0], SurfaceOf(B)) << "the backend hears the order";
}

TEST_F(WindowTest, SetParentKeepsCoordinatesRelativeToTheNewParent) {
    HWND P1 = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND P2 = Make(WS_POPUP | WS_VISIBLE, Bounds(300, 300, 200, 200));
    HWND E = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 20, 50, 20), P1);
    EXPECT_EQ(SetParent(E, P2), P1);
    TRect R;
    GetWindowRect(E, &R);
    EXPECT_EQ(R, Bounds(310, 320, 50, 20));
    EXPECT_TRUE(IsChild(P2, E));
    EXPECT_TRUE(IsWindowVisible(E));
}

// ---------------------------------------------------------------- creation and destruction

TEST_F(WindowTest, CreatingAVisibleChildSendsTheDocumentedSequence) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    ProcessPending();
    TMessageRecorder Rec;
    HWND C = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Bounds(10, 20, 50, 40), P);
    ASSERT_TRUE(C);
    EXPECT_EQ(Rec.Compare({Expect(C, WM_NCCREATE), Expect(C, WM_NCCALCSIZE).W(FALSE),
                           Expect(C, WM_CREATE),
                           Expect(C, WM_SIZE).W(SIZE_RESTORED).L(MAKELPARAM(50, 40)),
                           Expect(C, WM_MOVE).L(MAKELPARAM(10, 20)),
                           Expect(P, WM_PARENTNOTIFY).W(WM_CREATE).L(reinterpret_cast<LPARAM>(C)),
                           Expect(C, WM_SHOWWINDOW).W(TRUE), Expect(C, WM_WINDOWPOSCHANGING),
                           Expect(C, WM_WINDOWPOSCHANGED)}),
              "");
    Rec.Clear();
    ProcessPending();
    EXPECT_EQ(
        Rec.Compare({Expect(C, WM_PAINT), Expect(C, WM_NCPAINT).Opt(), Expect(C, WM_ERASEBKGND)}),
        "");
    for (auto& M : Rec.Of(C)) {
        if (M.Msg == WM_ERASEBKGND) {
            EXPECT_TRUE(M.FromDefProc) << "BeginPaint sends it inside DefWindowProc(WM_PAINT)";
        }
    }
}

TEST_F(WindowTest, FailedCreationDestroysWithoutParentNotify) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    for (UINT Refused : {WM_NCCREATE, WM_CREATE}) {
        TMessageRecorder Rec;
        HWND Seen = nullptr;
        HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), P, 0,
                      [&](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                          Seen = H;
                          if (M == Refused)
                              return M == WM_CREATE ? -1 : FALSE;
                          return std::nullopt;
                      });
        EXPECT_EQ(C, nullptr);
        EXPECT_FALSE(IsWindow(Seen));
        EXPECT_EQ(Rec.Compare({Expect(Seen, WM_DESTROY), Expect(Seen, WM_NCDESTROY)}), "");
        EXPECT_EQ(Rec.Count(P, WM_PARENTNOTIFY), 0);
    }
}

TEST_F(WindowTest, DestroyingATopLevelWindowTakesItsOwnedAndChildWindows) {
    HWND T = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 300));
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), T);
    HWND O = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), T, 0, nullptr, "TestWnd");
    SetActiveWindow(T);
    ASSERT_EQ(GetActiveWindow(), T);
    PostMessage(C, WM_USER, 0, 0);
    TMessageRecorder Rec;
    EXPECT_TRUE(DestroyWindow(T));
    EXPECT_EQ(Rec.Compare(
                  {Expect(O, WM_WINDOWPOSCHANGING).Opt(), Expect(O, WM_WINDOWPOSCHANGED).Opt(),
                   Expect(O, WM_DESTROY), Expect(O, WM_NCDESTROY), Expect(T, WM_WINDOWPOSCHANGING),
                   Expect(T, WM_WINDOWPOSCHANGED), Expect(T, WM_NCACTIVATE).W(FALSE),
                   Expect(T, WM_ACTIVATE).W(WA_INACTIVE), Expect(T, WM_DESTROY),
                   Expect(C, WM_DESTROY), Expect(C, WM_NCDESTROY), Expect(T, WM_NCDESTROY)}),
              "");
    EXPECT_FALSE(IsWindow(T));
    EXPECT_FALSE(IsWindow(C));
    EXPECT_FALSE(IsWindow(O));
    Rec.Clear();
    ProcessPending();
    EXPECT_EQ(Rec.Count(nullptr, WM_USER), 0)
        << "messages posted to a destroyed window are dropped";
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowTest, AWindowDestroyedInsideItsOwnMessageIsLeftAlone) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND Popup = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), P, 0,
                      [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                          if (M == WM_LBUTTONDOWN) {
                              DestroyWindow(H);
                              return 0;
                          }
                          return std::nullopt;
                      });
    ProcessPending();
    PostMessage(Popup, WM_USER, 0, 0);
    Headless.Click(20, 20);
    TMessageRecorder Rec;
    ProcessPending();
    EXPECT_FALSE(IsWindow(Popup));
    EXPECT_EQ(Rec.Count(Popup, WM_LBUTTONUP), 0);
    EXPECT_EQ(SendMessage(Popup, WM_USER, 0, 0), 0);
    EXPECT_TRUE(IsWindow(P));
}

TEST_F(WindowTest, CloseDestroysByDefault) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    SendMessage(W, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(W));
}

// ---------------------------------------------------------------- geometry

TEST_F(WindowTest, MovingSendsNoSizeMessagesAndAHandlerMayRewriteThePosition) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 50, 50), P);
    TMessageRecorder Rec;
    SetWindowPos(C, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Rec.Compare({Expect(C, WM_WINDOWPOSCHANGING), Expect(C, WM_NCCALCSIZE).Opt(),
                           Expect(C, WM_WINDOWPOSCHANGED), Expect(C, WM_MOVE).L(MAKELPARAM(10, 20)),
                           Expect(C, WM_SIZE).Opt()}),
              "");
    EXPECT_EQ(Rec.Count(C, WM_NCCALCSIZE) + Rec.Count(C, WM_SIZE), 0);
    On(C, [](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (M == WM_WINDOWPOSCHANGING)
            reinterpret_cast<WINDOWPOS*>(L)->x = 0;
        return std::nullopt;
    });
    SetWindowPos(C, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    TRect R;
    GetWindowRect(C, &R);
    EXPECT_EQ(R, Bounds(0, 40, 50, 50));
}

TEST_F(WindowTest, SizingAThickFrameWindowAsksLimitsAndTheClientArea) {
    HWND W = Make(WS_POPUP | WS_THICKFRAME | WS_VISIBLE, Bounds(0, 0, 200, 150), nullptr, 0,
                  [](HWND, UINT M, WPARAM Wp, LPARAM L) -> std::optional<LRESULT> {
                      if (M == WM_NCCALCSIZE && Wp) {
                          auto* P = reinterpret_cast<NCCALCSIZE_PARAMS*>(L);
                          InflateRect(&P->rgrc[0], -3, -3);
                          return 0;
                      }
                      return std::nullopt;
                  });
    TMessageRecorder Rec;
    SetWindowPos(W, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_WINDOWPOSCHANGING), Expect(W, WM_GETMINMAXINFO),
                           Expect(W, WM_NCCALCSIZE).W(TRUE), Expect(W, WM_WINDOWPOSCHANGED),
                           Expect(W, WM_SIZE).L(MAKELPARAM(294, 194))}),
              "");
    TRect C;
    GetClientRect(W, &C);
    EXPECT_EQ(C, Rect(0, 0, 294, 194));
    SetWindowPos(W, nullptr, 0, 0, 20, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R.Width(), GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(R.Height(), GetSystemMetrics(SM_CYMINTRACK));
    Rec.Clear();
    SetWindowPos(W, nullptr, 0, 0, R.Width() + 1, R.Height(), SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(W, nullptr, 0, 0, R.Width(), R.Height(), SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Rec.Count(W, WM_NCCALCSIZE), 2) << "every size change recomputes the frame";
}

TEST_F(WindowTest, FrameChangedRecomputesTheFrameWithoutASizeChange) {
    int Inset = 0;
    HWND W =
        Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, 0,
             [&](HWND, UINT M, WPARAM Wp, LPARAM L) -> std::optional<LRESULT> {
                 if (M == WM_NCCALCSIZE && Wp) {
                     InflateRect(&reinterpret_cast<NCCALCSIZE_PARAMS*>(L)->rgrc[0], -Inset, -Inset);
                     return 0;
                 }
                 return std::nullopt;
             });
    ProcessPending();
    TMessageRecorder Rec;
    UINT Flags = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(W, nullptr, 0, 0, 0, 0, Flags);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_WINDOWPOSCHANGING), Expect(W, WM_NCCALCSIZE).W(TRUE),
                           Expect(W, WM_WINDOWPOSCHANGED)}),
              "");
    EXPECT_EQ(Rec.Count(W, WM_SIZE), 0);
    Rec.Clear();
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_NCPAINT), 1) << "the frame is repainted";
    Inset = 5;
    Rec.Clear();
    SetWindowPos(W, nullptr, 0, 0, 0, 0, Flags);
    EXPECT_EQ(Rec.Count(W, WM_SIZE), 1);
}

TEST_F(WindowTest, ShowingAnOverlappedWindowActivatesItInsideTheSequence) {
    TMessageRecorder Rec;
    HWND W = Make(WS_OVERLAPPEDWINDOW, Bounds(50, 50, 400, 300));
    EXPECT_EQ(
        Rec.Compare({Expect(W, WM_GETMINMAXINFO), Expect(W, WM_NCCREATE), Expect(W, WM_NCCALCSIZE),
                     Expect(W, WM_CREATE), Expect(W, WM_SIZE), Expect(W, WM_MOVE)}),
        "");
    Rec.Clear();
    ShowWindow(W, SW_SHOW);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_SHOWWINDOW).W(TRUE).L(0), Expect(W, WM_WINDOWPOSCHANGING),
                           Expect(W, WM_ACTIVATEAPP).W(TRUE), Expect(W, WM_NCACTIVATE).W(TRUE),
                           Expect(W, WM_ACTIVATE).W(WA_ACTIVE), Expect(W, WM_SETFOCUS),
                           Expect(W, WM_WINDOWPOSCHANGED)}),
              "");
    EXPECT_EQ(GetFocus(), W);
    const THeadlessSurface* S = Headless.Surface(SurfaceOf(W));
    ASSERT_NE(S, nullptr);
    EXPECT_TRUE(S->Visible);
    EXPECT_EQ(S->Kind, TSurfaceKind::Framed);
    EXPECT_EQ(Headless.Focused(), SurfaceOf(W));
}

TEST_F(WindowTest, HidingTheActiveOwnedWindowActivatesItsOwner) {
    HWND Owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 300));
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(50, 50, 100, 100), Owner);
    ASSERT_EQ(GetActiveWindow(), W);
    UINT HideFlags = 0;
    On(W, [&](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (M == WM_WINDOWPOSCHANGED)
            HideFlags = reinterpret_cast<WINDOWPOS*>(L)->flags;
        return std::nullopt;
    });
    TMessageRecorder Rec;
    ShowWindow(W, SW_HIDE);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_SHOWWINDOW).W(FALSE), Expect(W, WM_WINDOWPOSCHANGING),
                           Expect(W, WM_WINDOWPOSCHANGED), Expect(W, WM_NCACTIVATE).W(FALSE),
                           Expect(W, WM_ACTIVATE).W(WA_INACTIVE).L(reinterpret_cast<LPARAM>(Owner)),
                           Expect(Owner, WM_NCACTIVATE).W(TRUE),
                           Expect(Owner, WM_ACTIVATE).W(WA_ACTIVE).L(reinterpret_cast<LPARAM>(W)),
                           Expect(W, WM_KILLFOCUS), Expect(Owner, WM_SETFOCUS)}),
              "");
    EXPECT_TRUE(HideFlags & SWP_HIDEWINDOW);
    EXPECT_EQ(GetActiveWindow(), Owner);
}

TEST_F(WindowTest, MinimizeMaximizeAndRestoreOfAPlainWindow) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 400, 300));
    HWND O = Make(WS_POPUP | WS_VISIBLE, Bounds(120, 120, 50, 50), W);
    TMessageRecorder Rec;
    ShowWindow(W, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(W));
    TRect R;
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Rect(-4, -4, 1924, 1044)) << "the work area grown by the frame";
    EXPECT_EQ(Rec.Compare({Expect(W, WM_GETMINMAXINFO), Expect(W, WM_GETMINMAXINFO).Opt(),
                           Expect(W, WM_SIZE).W(SIZE_MAXIMIZED)}),
              "");
    Rec.Clear();
    ShowWindow(W, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(W));
    EXPECT_TRUE(Headless.Surface(SurfaceOf(W))->Iconified);
    EXPECT_FALSE(IsWindowVisible(O));
    EXPECT_EQ(Rec.Compare({Expect(O, WM_SHOWWINDOW).W(FALSE).L(SW_PARENTCLOSING),
                           Expect(W, WM_SIZE).W(SIZE_MINIMIZED)}),
              "");
    Rec.Clear();
    ShowWindow(W, SW_RESTORE);
    GetWindowRect(W, &R);
    EXPECT_EQ(R, Bounds(100, 100, 400, 300));
    EXPECT_FALSE(IsIconic(W));
    EXPECT_FALSE(IsZoomed(W));
    EXPECT_TRUE(IsWindowVisible(O));
    EXPECT_EQ(Rec.Compare({Expect(O, WM_SHOWWINDOW).W(TRUE).L(SW_PARENTOPENING)}), "");
}

TEST_F(WindowTest, DisablingCancelsModesAndTakesTheFocus) {
    HWND P = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 300));
    HWND E = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), P);
    SetFocus(E);
    TMessageRecorder Rec;
    EnableWindow(E, FALSE);
    EXPECT_EQ(Rec.Compare({Expect(E, WM_CANCELMODE), Expect(E, WM_KILLFOCUS),
                           Expect(E, WM_ENABLE).W(FALSE)}),
              "");
    EXPECT_FALSE(IsWindowEnabled(E));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowTest, CoordinatesMapThroughTheFrames) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 50, 400, 300));
    HWND C = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, Bounds(10, 20, 100, 100), W);
    TRect Adjusted = Rect(0, 0, 100, 100);
    AdjustWindowRectEx(&Adjusted, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(Adjusted, Rect(-4, -23, 104, 104));
    TPoint P{0, 0};
    ClientToScreen(C, &P);
    EXPECT_EQ(P, (TPoint{100 + 4 + 10 + 1, 50 + 23 + 20 + 1}));
    ScreenToClient(W, &P);
    EXPECT_EQ(P, (TPoint{11, 21}));
    TPoint Q{0, 0};
    MapWindowPoints(C, W, &Q, 1);
    EXPECT_EQ(Q, (TPoint{11, 21}));
    TRect D;
    GetWindowRect(GetDesktopWindow(), &D);
    EXPECT_EQ(D, Rect(0, 0, 1920, 1080));
    WINDOWPLACEMENT WP;
    GetWindowPlacement(W, &WP);
    EXPECT_EQ(WP.rcNormalPosition, Bounds(100, 50, 400, 300));
    EXPECT_EQ(WP.showCmd, UINT(SW_SHOWNORMAL));
}

TEST_F(WindowTest, WindowFromPointSkipsClickThroughHolesDisabledAndTransparentWindows) {
    HWND Form = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 400, 400));
    HWND Below = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 100, 100), Form);
    HWND Above = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 100, 100), Form, 0,
                      [](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                          if (M == WM_NCHITTEST)
                              return HTTRANSPARENT;
                          return std::nullopt;
                      });
    SetWindowPos(Above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint({50, 50}), Below) << "HTTRANSPARENT passes to the sibling below";
    HWND Disabled = Make(WS_CHILD | WS_VISIBLE | WS_DISABLED, Bounds(200, 200, 50, 50), Form);
    EXPECT_EQ(WindowFromPoint({210, 210}), Form) << "a disabled child gives its parent";
    (void)Disabled;
    HWND Border = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 400, 400), nullptr,
                       WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST);
    EXPECT_EQ(WindowFromPoint({300, 50}), Form) << "layered and transparent is click-through";
    (void)Border;
    HWND Holed = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 300, 100, 100), nullptr, WS_EX_TOPMOST);
    HRGN Two = CreateRectRgn(0, 0, 30, 100);
    HRGN Right = CreateRectRgn(70, 0, 100, 100);
    CombineRgn(Two, Two, Right, RGN_OR);
    DeleteObject(ToObj(Right));
    SetWindowRgn(Holed, Two, TRUE);
    EXPECT_EQ(WindowFromPoint({10, 350}), Holed);
    EXPECT_EQ(WindowFromPoint({50, 350}), Form) << "a point in the hole belongs to what lies below";
    EXPECT_EQ(ChildWindowFromPointEx(Form, {210, 210}, CWP_SKIPDISABLED), Form);
    EXPECT_EQ(ChildWindowFromPointEx(Form, {210, 210}, CWP_ALL), Disabled);
}

TEST_F(WindowTest, WindowRegionsAreOwnedAndDeletedOnce) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    std::vector<HRGN> Given;
    for (int I = 0; I < 3; ++I) {
        HRGN R = CreateRectRgn(0, 0, 50 + I, 50);
        ASSERT_EQ(SetWindowRgn(W, R, TRUE), 1);
        Given.push_back(R);
    }
    EXPECT_EQ(GetObjectType(ToObj(Given[0])), 0) << "a replaced region is deleted";
    EXPECT_EQ(GetObjectType(ToObj(Given[1])), 0);
    EXPECT_EQ(GetObjectType(ToObj(Given[2])), OBJ_REGION) << "the window owns its current region";
    HRGN Copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(W, Copy), SIMPLEREGION);
    TRect Box;
    GetRgnBox(Copy, &Box);
    EXPECT_EQ(Box, Rect(0, 0, 52, 50));
    DestroyWindow(W);
    EXPECT_EQ(GetObjectType(ToObj(Given[2])), 0) << "destruction deletes it";
    EXPECT_EQ(GetObjectType(ToObj(Copy)), OBJ_REGION);
    DeleteObject(ToObj(Copy));
    const auto* S = Headless.Surface(SurfaceOf(W));
    EXPECT_EQ(S, nullptr);
}
