// Painting: update regions, clipping of child windows, DCs, the plain frame,
// scrolling, window regions and layered windows, read back as pixels.
#include "tests/platform/win/WinTestSupport.h"

#include <cstring>
#include <functional>

class PaintTest : public TWinTest {
protected:
    void SetUp() override {
        TWinTest::SetUp();
        Register("Red", 0, CreateSolidBrush(RGB(255, 0, 0)));
        Register("Green", 0, CreateSolidBrush(RGB(0, 255, 0)));
        Register("Blue", 0, CreateSolidBrush(RGB(0, 0, 255)));
        Register("HRedraw", CS_HREDRAW | CS_VREDRAW);
    }
};

namespace {

constexpr std::uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, Yellow = 0xFFFF00;

THandler FillOnPaint(COLORREF Color, std::vector<TRect>* PaintRects = nullptr) {
    return [=](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(H, &PS);
        TRect All = Rect(-1000, -1000, 3000, 3000);
        HBRUSH B = CreateSolidBrush(Color);
        FillRect(DC, &All, B);
        DeleteObject(ToObj(B));
        if (PaintRects)
            PaintRects->push_back(PS.rcPaint);
        EndPaint(H, &PS);
        return 0;
    };
}

} // namespace

TEST_F(PaintTest, SiblingsClipEachOtherByZOrder) {
    HWND P = Make(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 200, 200), nullptr, 0, nullptr, "Red");
    HWND A = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Bounds(10, 10, 100, 100), P, 0, nullptr,
                  "Green");
    HWND B = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Bounds(60, 60, 100, 100), P, 0, nullptr,
                  "Blue");
    SetWindowPos(B, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ProcessPending();
    EXPECT_EQ(ClientPixel(P, 80, 80), Blue) << "the overlap belongs to the upper sibling";
    EXPECT_EQ(ClientPixel(P, 20, 20), Green);
    EXPECT_EQ(ClientPixel(P, 150, 150), Blue);
    EXPECT_EQ(ClientPixel(P, 5, 190), Red);
    SetWindowPos(A, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ProcessPending();
    EXPECT_EQ(ClientPixel(P, 80, 80), Green);
    EXPECT_EQ(ClientPixel(P, 150, 150), Blue);
}

TEST_F(PaintTest, ClipChildrenKeepsChildPixelsAndWithoutItChildrenRepaintOver) {
    for (DWORD Clip : {DWORD(WS_CLIPCHILDREN), DWORD(0)}) {
        HWND P = Make(WS_POPUP | WS_VISIBLE | Clip, Bounds(0, 0, 100, 100), nullptr, 0,
                      FillOnPaint(RGB(255, 255, 0)));
        HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 30, 30), P, 0, nullptr, "Blue");
        ProcessPending();
        EXPECT_EQ(ClientPixel(P, 5, 5), Yellow);
        EXPECT_EQ(ClientPixel(P, 30, 30), Blue);
        InvalidateRect(P, nullptr, TRUE);
        UpdateWindow(P);
        EXPECT_EQ(ClientPixel(P, 30, 30), Blue) << "clip " << Clip;
        DestroyWindow(P);
        (void)C;
    }
}

TEST_F(PaintTest, InvalidationsAccumulateIntoOnePaint) {
    std::vector<TRect> Painted;
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, 0,
                  FillOnPaint(RGB(0, 0, 255), &Painted));
    ProcessPending();
    Painted.clear();
    // Mark the pixels so the next paint shows where it reached.
    HDC DC = GetDC(W);
    TRect All = Rect(0, 0, 100, 100);
    HBRUSH G = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(DC, &All, G);
    DeleteObject(ToObj(G));
    ReleaseDC(W, DC);
    TRect A = Rect(10, 10, 20, 20), B = Rect(60, 70, 80, 90);
    InvalidateRect(W, &A, FALSE);
    InvalidateRect(W, &B, FALSE);
    ProcessPending();
    ASSERT_EQ(Painted.size(), 1u);
    EXPECT_EQ(Painted[0], Rect(10, 10, 80, 90));
    EXPECT_EQ(ClientPixel(W, 15, 15), Blue);
    EXPECT_EQ(ClientPixel(W, 70, 80), Blue);
    EXPECT_EQ(ClientPixel(W, 40, 40), Green) << "outside the update region nothing is drawn";
}

TEST_F(PaintTest, InvalidationReachesChildrenUnlessClippedOrToldNot) {
    struct TCase {
        DWORD ParentStyle;
        UINT Flags;
        bool ChildInvalid;
    };
    const TCase Cases[] = {
        {0, RDW_INVALIDATE, true},
        {WS_CLIPCHILDREN, RDW_INVALIDATE, false},
        {0, RDW_INVALIDATE | RDW_NOCHILDREN, false},
        {WS_CLIPCHILDREN, RDW_INVALIDATE | RDW_ALLCHILDREN, true},
    };
    for (const TCase& Case : Cases) {
        HWND P = Make(WS_POPUP | WS_VISIBLE | Case.ParentStyle, Bounds(0, 0, 100, 100));
        HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 20, 20), P);
        ProcessPending();
        TRect Part = Rect(0, 0, 15, 15);
        RedrawWindow(P, &Part, nullptr, Case.Flags);
        TRect U;
        EXPECT_EQ(GetUpdateRect(C, &U, FALSE) != 0, Case.ChildInvalid) << Case.Flags;
        if (Case.ChildInvalid) {
            EXPECT_EQ(U, Rect(0, 0, 5, 5))
                << "only the overlapping part, in the child's coordinates";
        }
        RedrawWindow(P, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
        EXPECT_FALSE(GetUpdateRect(P, &U, FALSE));
        EXPECT_FALSE(GetUpdateRect(C, &U, FALSE));
        DestroyWindow(P);
    }
}

TEST_F(PaintTest, RegionsValidateAndIntersectingDCs) {
    HWND W = Make(WS_POPUP | WS_VISIBLE | WS_BORDER, Bounds(100, 100, 52, 52), nullptr, 0, nullptr,
                  "Blue");
    ProcessPending();
    HRGN Rgn = CreateRectRgn(0, 0, 50, 50);
    InvalidateRgn(W, Rgn, FALSE);
    TRect Half = Rect(0, 0, 50, 25);
    ValidateRect(W, &Half);
    TRect U;
    ASSERT_TRUE(GetUpdateRect(W, &U, FALSE));
    EXPECT_EQ(U, Rect(0, 25, 50, 50));
    ValidateRgn(W, nullptr);
    EXPECT_FALSE(GetUpdateRect(W, &U, FALSE));
    // A window DC limited to a screen region: only its frame's left edge.
    SetRectRgn(Rgn, 100, 100, 101, 152);
    HDC DC = GetDCEx(W, Rgn, DCX_WINDOW | DCX_INTERSECTRGN);
    TRect All = Rect(0, 0, 52, 52);
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(DC, &All, Red);
    DeleteObject(ToObj(Red));
    ReleaseDC(W, DC);
    EXPECT_EQ(GetObjectType(ToObj(Rgn)), 0) << "the region given to GetDCEx is the system's";
    EXPECT_EQ(Headless.ScreenPixel(100, 120), 0xFF0000u);
    EXPECT_NE(Headless.ScreenPixel(151, 120), 0xFF0000u);
    EXPECT_EQ(Headless.ScreenPixel(120, 120), 0x0000FFu);
    EXPECT_TRUE(SetProp(W, "Skin", reinterpret_cast<HANDLE>(std::uintptr_t(7))));
    EXPECT_EQ(GetProp(W, "Skin"), reinterpret_cast<HANDLE>(std::uintptr_t(7)));
    EXPECT_EQ(RemoveProp(W, "Skin"), reinterpret_cast<HANDLE>(std::uintptr_t(7)));
    EXPECT_EQ(GetProp(W, "Skin"), nullptr);
}

TEST_F(PaintTest, EraseAnsweredZeroLeavesFErase) {
    std::optional<BOOL> Erase;
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50), nullptr, 0,
                  [&](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                      if (M == WM_ERASEBKGND)
                          return 0;
                      if (M == WM_PAINT) {
                          PAINTSTRUCT PS;
                          BeginPaint(H, &PS);
                          Erase = PS.fErase;
                          EndPaint(H, &PS);
                          return 0;
                      }
                      return std::nullopt;
                  });
    ProcessPending();
    Erase.reset();
    InvalidateRect(W, nullptr, TRUE);
    ProcessPending();
    ASSERT_TRUE(Erase.has_value());
    EXPECT_TRUE(*Erase);
    InvalidateRect(W, nullptr, FALSE);
    ProcessPending();
    EXPECT_FALSE(*Erase);
}

TEST_F(PaintTest, RedrawNowPaintsFrameAndClientBeforeReturning) {
    HWND W = Make(WS_POPUP | WS_BORDER | WS_VISIBLE, Bounds(0, 0, 50, 50));
    ProcessPending();
    TMessageRecorder Rec;
    RedrawWindow(W, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Rec.Compare({Expect(W, WM_PAINT), Expect(W, WM_NCPAINT)}), "");
    TRect U;
    EXPECT_FALSE(GetUpdateRect(W, &U, FALSE));
}

TEST_F(PaintTest, NcPaintThroughGetWindowDCChangesOnlyTheFrame) {
    HWND W = Make(WS_POPUP | WS_THICKFRAME | WS_VISIBLE, Bounds(0, 0, 60, 60), nullptr, 0, nullptr,
                  "Blue");
    On(W, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_NCPAINT) {
            HDC DC = GetWindowDC(H);
            TRect C;
            GetClientRect(H, &C);
            OffsetRect(&C, 4, 4);
            ExcludeClipRect(DC, C.Left, C.Top, C.Right, C.Bottom);
            TRect All = Rect(0, 0, 60, 60);
            HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(DC, &All, B);
            DeleteObject(ToObj(B));
            ReleaseDC(H, DC);
            return 0;
        }
        return std::nullopt;
    });
    ProcessPending();
    FlushPresents();
    EXPECT_EQ(Headless.ScreenPixel(1, 1), Red);
    EXPECT_EQ(Headless.ScreenPixel(58, 30), Red);
    EXPECT_EQ(Headless.ScreenPixel(30, 30), Blue);
}

TEST_F(PaintTest, ReleasingAWindowDCPresentsOnlyWhereItDrew) {
    HWND W = Make(WS_POPUP | WS_THICKFRAME | WS_VISIBLE, Bounds(0, 0, 300, 200), nullptr, 0,
                  nullptr, "Blue");
    ProcessPending();
    FlushPresents();
    const THeadlessSurface* S = Headless.Surface(SurfaceOf(W));
    ASSERT_NE(S, nullptr);
    TRect Client;
    GetClientRect(W, &Client);
    TPoint Origin;
    ClientToScreen(W, &Origin);
    OffsetRect(&Client, Origin.X, Origin.Y);
    ASSERT_GT(Client.Left, 0);

    struct TCase {
        const char* Name;
        std::function<void(HDC)> Draw;
        TRect Expected; // bounds of what is presented; empty for no present
        bool TouchesClient;
    };
    auto Fill = [](HDC DC, TRect R, COLORREF Color) {
        HBRUSH B = CreateSolidBrush(Color);
        FillRect(DC, &R, B);
        DeleteObject(ToObj(B));
    };
    const TRect All = Rect(0, 0, 300, 200);
    const TCase Cases[] = {
        {"a frame painted around the excluded client area",
         [&](HDC DC) {
             ExcludeClipRect(DC, Client.Left, Client.Top, Client.Right, Client.Bottom);
             Fill(DC, All, RGB(255, 0, 0));
         },
         All, false},
        {"a small area",
         [&](HDC DC) {
             IntersectClipRect(DC, 10, 10, 30, 20);
             Fill(DC, All, RGB(0, 255, 0));
         },
         Rect(10, 10, 30, 20), true},
        {"a clip narrowed after drawing keeps the first drawing",
         [&](HDC DC) {
             IntersectClipRect(DC, 0, 0, 100, 100);
             Fill(DC, All, RGB(255, 255, 0));
             IntersectClipRect(DC, 0, 0, 10, 10);
             Fill(DC, All, RGB(0, 0, 255));
         },
         Rect(0, 0, 100, 100), true},
        {"nothing drawn", [](HDC DC) { (void)GetPixel(DC, 1, 1); }, TRect{}, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const int Before = S->PresentCount;
        HDC DC = GetWindowDC(W);
        ASSERT_NE(DC, nullptr);
        Case.Draw(DC);
        ReleaseDC(W, DC);
        if (IsRectEmpty(&Case.Expected)) {
            EXPECT_EQ(S->PresentCount, Before);
            continue;
        }
        ASSERT_EQ(S->PresentCount, Before + 1);
        TRect Presented{};
        bool InClient = false;
        for (const TRect& R : S->LastChanged) {
            UnionRect(&Presented, &Presented, &R);
            TRect Common;
            InClient |= IntersectRect(&Common, &R, &Client) != FALSE;
        }
        EXPECT_EQ(Presented, Case.Expected);
        EXPECT_EQ(InClient, Case.TouchesClient);
    }
    EXPECT_EQ(Headless.ScreenPixel(1, 150), Red);
    EXPECT_EQ(Headless.ScreenPixel(150, 150), Blue) << "the client area was left alone";
    EXPECT_EQ(Headless.ScreenPixel(50, 50), Yellow);
}

TEST_F(PaintTest, AChildReachingOverTheFrameLeavesTheFrameToTheParent) {
    HWND W = Make(WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN | WS_VISIBLE, Bounds(0, 0, 60, 60),
                  nullptr, 0, nullptr, "Blue");
    // The child runs past the client area's right edge into the frame.
    Make(WS_CHILD | WS_VISIBLE, Bounds(40, 10, 40, 20), W, 0, nullptr, "Blue");
    On(W, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_NCPAINT) {
            HDC DC = GetWindowDC(H);
            TRect All = Rect(0, 0, 60, 60);
            HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(DC, &All, B);
            DeleteObject(ToObj(B));
            ReleaseDC(H, DC);
            return 0;
        }
        return std::nullopt;
    });
    RedrawWindow(W, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    ProcessPending();
    FlushPresents();
    EXPECT_EQ(Headless.ScreenPixel(58, 20), Red);
    EXPECT_EQ(Headless.ScreenPixel(58, 40), Red);
}

TEST_F(PaintTest, ScrollWindowMovesContentAndChildren) {
    HWND P = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 100), nullptr, 0,
                  nullptr, "Red");
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 50, 20, 20), P, 0, nullptr, "Blue");
    ProcessPending();
    // A green stripe in rows 40..49 of the parent.
    HDC DC = GetDC(P);
    TRect Stripe = Rect(50, 40, 100, 50);
    HBRUSH G = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(DC, &Stripe, G);
    DeleteObject(ToObj(G));
    ReleaseDC(P, DC);
    TMessageRecorder Rec;
    ScrollWindow(P, 0, -10, nullptr, nullptr);
    EXPECT_EQ(ClientPixel(P, 70, 35), Green) << "content moved up 10 rows";
    EXPECT_EQ(ClientPixel(P, 70, 45), Red);
    TRect U;
    ASSERT_TRUE(GetUpdateRect(P, &U, FALSE));
    EXPECT_EQ(U, Rect(0, 90, 100, 100));
    TRect R;
    GetWindowRect(C, &R);
    EXPECT_EQ(R, Bounds(10, 40, 20, 20));
    EXPECT_EQ(Rec.Compare({Expect(C, WM_MOVE).L(MAKELPARAM(10, 40))}), "");
}

TEST_F(PaintTest, AMovedChildKeepsItsPixelsAndTheParentRepaintsWhatItUncovers) {
    HWND P = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 200, 100), nullptr, 0,
                  nullptr, "Red");
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 30, 30), P, 0, nullptr, "Blue");
    ProcessPending();
    HDC DC = GetDC(C);
    SetPixel(DC, 5, 5, RGB(0, 255, 0));
    ReleaseDC(C, DC);
    TMessageRecorder Rec;
    SetWindowPos(C, nullptr, 100, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ProcessPending();
    EXPECT_EQ(Rec.Count(C, WM_PAINT), 0) << "nothing of the child needs painting";
    EXPECT_EQ(ClientPixel(C, 5, 5), Green) << "its pixels moved along";
    EXPECT_EQ(ClientPixel(C, 20, 20), Blue);
    EXPECT_EQ(ClientPixel(P, 15, 15), Red) << "the parent repainted where the child was";
    EXPECT_EQ(Rec.Count(P, WM_PAINT), 1);
    SetWindowPos(C, nullptr, 180, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ProcessPending(); // only 20 of its 30 columns are inside the parent now
    SetWindowPos(C, nullptr, 100, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    TRect U;
    ASSERT_TRUE(GetUpdateRect(C, &U, FALSE));
    EXPECT_EQ(U, Rect(20, 0, 30, 30)) << "the columns that were outside the parent are painted";
}

TEST_F(PaintTest, SizeChangesInvalidateTheNewStripOrEverythingByClassStyle) {
    struct TCase {
        const char* Class;
        TRect Expected;
    };
    for (TCase Case :
         {TCase{"TestWnd", Rect(100, 0, 120, 80)}, TCase{"HRedraw", Rect(0, 0, 120, 80)}}) {
        HWND W =
            Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 80), nullptr, 0, nullptr, Case.Class);
        ProcessPending();
        SetWindowPos(W, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetUpdateRgn(W, Rgn, FALSE), SIMPLEREGION);
        TRect Box;
        GetRgnBox(Rgn, &Box);
        DeleteObject(ToObj(Rgn));
        EXPECT_EQ(Box, Case.Expected) << Case.Class;
        DestroyWindow(W);
    }
}

TEST_F(PaintTest, SetRedrawFalseHoldsPaintingUntilTurnedBackOn) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50));
    ProcessPending();
    SendMessage(W, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(W, nullptr, TRUE);
    TMessageRecorder Rec;
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_PAINT), 0);
    SendMessage(W, WM_SETREDRAW, TRUE, 0);
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_PAINT), 1) << "the held invalidation is painted";
}

TEST_F(PaintTest, PlainFrameShowsActivationCaptionTextAndButtons) {
    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200), nullptr, 0, nullptr,
                  "TestWnd", "Preview");
    HWND Other = Make(WS_OVERLAPPEDWINDOW, Bounds(500, 500, 100, 100));
    ProcessPending();
    ASSERT_EQ(GetActiveWindow(), W);
    // The caption band: 4 px thick frame, 19 px caption.
    std::uint32_t Active = Rgb(GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(Headless.ScreenPixel(150, 8), Active);
    // Caption text: some pixel of the caption's left part has the text colour.
    std::uint32_t TextColor = Rgb(GetSysColor(COLOR_CAPTIONTEXT));
    bool FoundText = false;
    for (int X = 6; X < 80 && !FoundText; ++X)
        for (int Y = 6; Y < 20 && !FoundText; ++Y)
            FoundText = Headless.ScreenPixel(X, Y) == TextColor;
    EXPECT_TRUE(FoundText);
    // Buttons: close right-most, maximize and minimize to its left, each a raised face.
    std::uint32_t Face = Rgb(GetSysColor(COLOR_BTNFACE));
    int Top = 4 + 2, Right = 300 - 4 - 2;
    // Each button is 16 x 14 with a 2-pixel raised edge; its face starts 2 px in.
    EXPECT_EQ(Headless.ScreenPixel(Right - 16 + 2, Top + 2), Face) << "close button";
    EXPECT_EQ(Headless.ScreenPixel(Right - 34 + 2, Top + 2), Face) << "maximize button";
    EXPECT_EQ(Headless.ScreenPixel(Right - 50 + 2, Top + 2), Face) << "minimize button";
    EXPECT_EQ(Headless.ScreenPixel(Right - 17, Top + 2), Active)
        << "a gap between close and maximize";
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(Right - 4, Top + 4)), HTCLOSE);
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(Right - 20, Top + 4)), HTMAXBUTTON);
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(Right - 36, Top + 4)), HTMINBUTTON);
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(150, 10)), HTCAPTION);
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(1, 100)), HTLEFT);
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(299, 199)), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(150, 100)), HTCLIENT);
    SetActiveWindow(Other);
    ProcessPending();
    EXPECT_EQ(Headless.ScreenPixel(150, 8), Rgb(GetSysColor(COLOR_INACTIVECAPTION)));
}

TEST_F(PaintTest, ARegionWithAHoleShowsTheWindowBelow) {
    HWND Below = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, 0, nullptr, "Green");
    HWND Above = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, 0, nullptr, "Blue");
    HRGN Two = CreateRectRgn(0, 0, 30, 100);
    HRGN Right = CreateRectRgn(70, 0, 100, 100);
    CombineRgn(Two, Two, Right, RGN_OR);
    DeleteObject(ToObj(Right));
    SetWindowRgn(Above, Two, TRUE);
    ProcessPending();
    FlushPresents();
    EXPECT_EQ(Headless.ScreenPixel(10, 50), Blue);
    EXPECT_EQ(Headless.ScreenPixel(50, 50), Green);
    EXPECT_EQ(WindowFromPoint({50, 50}), Below);
    TMessageRecorder Rec;
    Headless.Click(50, 50);
    ProcessPending();
    EXPECT_EQ(Rec.Count(Below, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(Rec.Count(Above, WM_LBUTTONDOWN), 0);
}

TEST_F(PaintTest, LayeredWindowsTakeOpacityAPictureAndReturnToPainting) {
    HWND W =
        Make(WS_POPUP | WS_VISIBLE, Bounds(10, 10, 2, 2), nullptr, WS_EX_LAYERED, nullptr, "Blue");
    ASSERT_TRUE(SetLayeredWindowAttributes(W, 0, 128, LWA_ALPHA));
    ProcessPending();
    const THeadlessSurface* S = Headless.Surface(SurfaceOf(W));
    ASSERT_NE(S, nullptr);
    ASSERT_TRUE(S->Alpha.has_value());
    EXPECT_EQ(*S->Alpha, 128);

    // A 2 x 2 premultiplied picture through a memory DC.
    BITMAPINFO BI{};
    BI.bmiHeader.biWidth = 2;
    BI.bmiHeader.biHeight = -2;
    BI.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    HDC Mem = CreateCompatibleDC(nullptr);
    HBITMAP Bmp = CreateDIBSection(Mem, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
    HGDIOBJ Old = SelectObject(Mem, ToObj(Bmp));
    const std::uint32_t Picture[4] = {0xFF0000FF, 0x80008000, 0x00000000, 0xFFFFFFFF};
    std::memcpy(Bits, Picture, sizeof Picture);
    BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    TPoint Src{0, 0};
    TSize Size{2, 2};
    TMessageRecorder Rec;
    SetLayeredWindowAttributes(W, 0, 0, 0);
    SetWindowLong(W, GWL_EXSTYLE, 0);
    SetWindowLong(W, GWL_EXSTYLE, WS_EX_LAYERED);
    ProcessPending();
    Rec.Clear();
    ASSERT_TRUE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Mem, &Src, 0, &Blend, ULW_ALPHA));
    ProcessPending();
    S = Headless.Surface(SurfaceOf(W));
    ASSERT_EQ(S->Image.size(), 4u);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(S->Image[std::size_t(I)], Picture[I]);
    EXPECT_EQ(Rec.Count(W, WM_PAINT), 0);
    SelectObject(Mem, Old);
    DeleteObject(ToObj(Bmp));
    DeleteDC(Mem);

    SetWindowLong(W, GWL_EXSTYLE, 0);
    S = Headless.Surface(SurfaceOf(W));
    EXPECT_TRUE(S->Image.empty());
    EXPECT_FALSE(S->Alpha.has_value());
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_PAINT), 1) << "normal painting again";
}

TEST_F(PaintTest, TheScreenDCShowsTheProgramsWindowsOverBlackAndDiscardsDrawing) {
    HWND Below =
        Make(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 50, 50), nullptr, 0, nullptr, "Green");
    HWND Above = Make(WS_POPUP | WS_VISIBLE, Bounds(120, 120, 50, 50), nullptr, 0, nullptr, "Blue");
    ProcessPending();
    HDC DC = GetDC(nullptr);
    ASSERT_NE(DC, nullptr);
    EXPECT_EQ(GetDeviceCaps(DC, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(DC, PLANES), 1);
    EXPECT_EQ(WindowFromDC(DC), GetDesktopWindow());
    EXPECT_EQ(GetPixel(DC, 110, 110), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(DC, 130, 130), RGB(0, 0, 255)) << "composed in z-order";
    EXPECT_EQ(GetPixel(DC, 10, 10), RGB(0, 0, 0)) << "other programs are not visible";
    SetPixel(DC, 10, 10, RGB(255, 255, 255));
    EXPECT_EQ(ReleaseDC(nullptr, DC), 1);
    DC = GetDC(GetDesktopWindow());
    EXPECT_EQ(GetPixel(DC, 10, 10), RGB(0, 0, 0)) << "drawing into the screen is discarded";
    ShowWindow(Above, SW_HIDE);
    EXPECT_EQ(ReleaseDC(nullptr, DC), 1);
    DC = GetDC(nullptr);
    EXPECT_EQ(GetPixel(DC, 130, 130), RGB(0, 255, 0));
    ReleaseDC(nullptr, DC);
    (void)Below;
}

TEST_F(PaintTest, TheCaretBlinksByInvertingAndHidesWhilePainting) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50), nullptr, 0, nullptr, "Green");
    ProcessPending();
    ASSERT_TRUE(CreateCaret(W, nullptr, 2, 10));
    SetCaretPos(5, 5);
    ShowCaret(W);
    EXPECT_EQ(ClientPixel(W, 5, 5), 0xFF00FF) << "inverted green";
    Headless.RunUntil(Clock.Now() + GetCaretBlinkTime());
    EXPECT_EQ(ClientPixel(W, 5, 5), Green);
    HideCaret(W);
    HideCaret(W);
    ShowCaret(W);
    Headless.RunUntil(Clock.Now() + 2 * GetCaretBlinkTime());
    EXPECT_EQ(ClientPixel(W, 5, 5), Green) << "hide counts nest";
    EXPECT_TRUE(Headless.InputMethodTakesText());
    DestroyCaret();
    EXPECT_FALSE(Headless.InputMethodTakesText());
}

TEST_F(PaintTest, ATransparentChildLetsTheParentsEraseThroughAndAnOpaqueOneKeepsItsPixels) {
    // The parent erases to a two-colour pattern; the children paint nothing.
    THandler Pattern = [](HWND H, UINT M, WPARAM W, LPARAM) -> std::optional<LRESULT> {
        if (M != WM_ERASEBKGND)
            return std::nullopt;
        HDC DC = reinterpret_cast<HDC>(W);
        TRect R;
        GetClientRect(H, &R);
        HBRUSH A = CreateSolidBrush(RGB(255, 0, 0)), B = CreateSolidBrush(RGB(0, 0, 255));
        for (int X = 0; X < R.Right; X += 4) {
            TRect Stripe = Rect(X, 0, X + 4, R.Bottom);
            FillRect(DC, &Stripe, (X / 4) % 2 ? B : A);
        }
        DeleteObject(ToObj(A));
        DeleteObject(ToObj(B));
        return 1;
    };
    THandler PaintsNothing = [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_ERASEBKGND)
            return 1;
        if (M != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT PS;
        BeginPaint(H, &PS);
        EndPaint(H, &PS);
        return 0;
    };
    struct {
        DWORD ExStyle;
        bool PatternUnder;
    } Cases[] = {{WS_EX_TRANSPARENT, true}, {0, false}};
    for (auto& Case : Cases) {
        HWND P = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 60), nullptr, 0,
                      Pattern);
        ProcessPending();
        HWND C =
            Make(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 40, 20), P, Case.ExStyle, PaintsNothing);
        ProcessPending();
        // Mark the child's area so that only a later erase of the parent can
        // bring the pattern back.
        HDC DC = GetDC(C);
        TRect All = Rect(0, 0, 40, 20);
        HBRUSH G = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(DC, &All, G);
        DeleteObject(ToObj(G));
        ReleaseDC(C, DC);
        InvalidateRect(P, nullptr, TRUE);
        ProcessPending();
        for (int X : {21, 25, 30, 58})
            EXPECT_EQ(ClientPixel(P, X, 30), !Case.PatternUnder ? Green
                                             : (X / 4) % 2      ? Blue
                                                                : Red)
                << "ex style " << Case.ExStyle << " x " << X;
        DestroyWindow(P);
    }
}

// The parent's paint under a transparent child covers the child's caret: the
// caret is taken off before and put back after, so that it stays visible and
// hiding it leaves the parent's pixels, not an inverted mark.
TEST_F(PaintTest, AParentPaintingUnderATransparentChildKeepsTheChildsCaretInStep) {
    THandler Pattern = [](HWND H, UINT M, WPARAM W, LPARAM) -> std::optional<LRESULT> {
        if (M != WM_ERASEBKGND)
            return std::nullopt;
        TRect R;
        GetClientRect(H, &R);
        HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(reinterpret_cast<HDC>(W), &R, Red);
        DeleteObject(ToObj(Red));
        return 1;
    };
    HWND P =
        Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 60), nullptr, 0, Pattern);
    ProcessPending();
    HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 40, 20), P, WS_EX_TRANSPARENT, nullptr);
    ProcessPending();
    ASSERT_TRUE(CreateCaret(C, nullptr, 2, 10));
    SetCaretPos(5, 5);
    ShowCaret(C);
    ASSERT_EQ(ClientPixel(P, 25, 25), 0x00FFFF) << "inverted red";
    InvalidateRect(P, nullptr, TRUE);
    ProcessPending();
    EXPECT_EQ(ClientPixel(P, 25, 25), 0x00FFFF) << "still shown after the parent's paint";
    HideCaret(C);
    EXPECT_EQ(ClientPixel(P, 25, 25), 0xFF0000) << "hidden: the parent's own pixels";
    DestroyCaret();
    DestroyWindow(P);
}
