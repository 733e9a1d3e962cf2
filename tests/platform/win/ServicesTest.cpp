// Scroll information, monitors, metrics, settings, cursors, the clipboard,
// the opener, the beep and the main-thread wake-up.
#include "tests/platform/win/WinTestSupport.h"

#include <cstring>
#include <thread>

class ServicesTest : public TWinTest {};

TEST_F(ServicesTest, ScrollInformationIsKeptWithoutTouchingStyleOrFrame) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    SI.nMin = 0;
    SI.nMax = 29;
    SI.nPage = 10;
    SI.nPos = 25;
    EXPECT_EQ(SetScrollInfo(W, SB_VERT, &SI, TRUE), 20) << "the position stops at max - page + 1";
    int Min = -1, Max = -1;
    GetScrollRange(W, SB_VERT, &Min, &Max);
    EXPECT_EQ(Min, 0);
    EXPECT_EQ(Max, 29);
    EXPECT_EQ(GetScrollPos(W, SB_VERT), 20);
    EXPECT_FALSE(GetWindowLong(W, GWL_STYLE) & WS_VSCROLL);
    TRect C;
    GetClientRect(W, &C);
    EXPECT_EQ(C, Rect(0, 0, 100, 100));
    EXPECT_EQ(SetScrollPos(W, SB_VERT, -5, FALSE), 20);
    EXPECT_EQ(GetScrollPos(W, SB_VERT), 0);
    SCROLLINFO Out;
    Out.fMask = SIF_PAGE | SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(W, SB_VERT, &Out));
    EXPECT_EQ(Out.nPage, 10u);
    EXPECT_FALSE(GetScrollInfo(W, 7, &Out)) << "no such bar";

    ShowScrollBar(W, SB_VERT, TRUE);
    EXPECT_TRUE(GetWindowLong(W, GWL_STYLE) & WS_VSCROLL);
    GetClientRect(W, &C);
    EXPECT_EQ(C, Rect(0, 0, 100 - GetSystemMetrics(SM_CXVSCROLL), 100));
    EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(95, 50)), HTVSCROLL);
}

TEST_F(ServicesTest, MonitorsDefaultAndSideBySide) {
    TRect Work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
    EXPECT_EQ(Work, Rect(0, 0, 1920, 1040));
    MONITORINFO MI;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({5, 5}, MONITOR_DEFAULTTONULL), &MI));
    EXPECT_EQ(MI.rcWork, Rect(0, 0, 1920, 1040));
    EXPECT_EQ(MI.dwFlags, MONITORINFOF_PRIMARY);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);

    HWND W = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(1800, 100, 400, 300));
    ProcessPending();
    TMessageRecorder Rec;
    Headless.SetScreens({{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true},
                         {Rect(1920, 0, 3200, 1024), Rect(1920, 0, 3200, 1024), false}});
    ProcessPending();
    EXPECT_EQ(Rec.Count(W, WM_DISPLAYCHANGE), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), 3200 + 12);
    HMONITOR Second = MonitorFromPoint({2000, 10}, MONITOR_DEFAULTTONULL);
    EXPECT_EQ(MonitorFromWindow(W, MONITOR_DEFAULTTONULL), Second) << "largest overlap";
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), Second);
    MONITORINFOEX MX;
    ASSERT_TRUE(GetMonitorInfo(Second, &MX));
    EXPECT_EQ(MX.rcMonitor, Rect(1920, 0, 3200, 1024));
    EXPECT_EQ(MX.dwFlags, 0u);
    MONITORINFO Bad;
    Bad.cbSize = 12;
    EXPECT_FALSE(GetMonitorInfo(Second, &Bad));
    int Count = 0;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [&](HMONITOR, HDC, TRect*, LPARAM) {
            ++Count;
            return TRUE;
        },
        0);
    EXPECT_EQ(Count, 2);
}

TEST_F(ServicesTest, MetricsSettingsAndVersion) {
    struct TRow {
        int Index;
        int Value;
    };
    const TRow Rows[] = {
        {SM_CXSCREEN, 1920},       {SM_CYSCREEN, 1080},     {SM_CXVSCROLL, 17},
        {SM_CYCAPTION, 19},        {SM_CXBORDER, 1},        {SM_CXFIXEDFRAME, 3},
        {SM_CYCURSOR, 32},         {SM_CXFULLSCREEN, 1920}, {SM_CYFULLSCREEN, 1021},
        {SM_CXSIZE, 18},           {SM_CXSIZEFRAME, 4},     {SM_CXMINTRACK, 112},
        {SM_CYMINTRACK, 27},       {SM_CXDOUBLECLK, 4},     {SM_CXEDGE, 2},
        {SM_CXSMICON, 16},         {SM_CYSMCAPTION, 15},    {SM_CXSMSIZE, 13},
        {SM_CXMAXTRACK, 1932},     {SM_CXMAXIMIZED, 1928},  {SM_CYMAXIMIZED, 1048},
        {SM_MOUSEWHEELPRESENT, 1}, {SM_CMOUSEBUTTONS, 3},   {SM_SWAPBUTTON, 0}};
    for (const TRow& R : Rows)
        EXPECT_EQ(GetSystemMetrics(R.Index), R.Value) << "index " << R.Index;
    BOOL Full = FALSE;
    UINT Lines = 0;
    EXPECT_TRUE(SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0));
    EXPECT_TRUE(Full);
    EXPECT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0));
    EXPECT_EQ(Lines, 3u);
    DWORD V = GetVersion();
    EXPECT_EQ(V & 0xFF, 6u);
    EXPECT_EQ((V >> 8) & 0xFF, 1u);
    EXPECT_EQ(V >> 16, 7601u);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
}

TEST_F(ServicesTest, CursorMasksHaveTheDocumentedSize) {
    for (int Id : {IDC_ARROW, IDC_IBEAM, IDC_SIZEWE, IDC_HAND, IDC_NO}) {
        HCURSOR C = LoadCursor(nullptr, Id);
        ASSERT_NE(C, nullptr);
        ICONINFO Info;
        ASSERT_TRUE(GetIconInfo(C, &Info)) << Id;
        BITMAP B;
        ASSERT_EQ(GetObject(ToObj(Info.hbmMask), sizeof B, &B), int(sizeof B));
        EXPECT_EQ(B.bmWidth, 32);
        EXPECT_EQ(B.bmHeight, 64);
        EXPECT_EQ(B.bmBitsPixel, 1);
        EXPECT_EQ(Info.hbmColor, nullptr);
        EXPECT_LT(Info.xHotspot, 32u);
        EXPECT_LT(Info.yHotspot, 32u);
        DeleteObject(ToObj(Info.hbmMask));
    }
    EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);
}

TEST_F(ServicesTest, ClipboardTextOpenerAndBeep) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    HGLOBAL Refused = GlobalAlloc(GMEM_MOVEABLE, 1);
    EXPECT_EQ(SetClipboardData(CF_TEXT, Refused), nullptr)
        << "not open: the caller keeps the block";
    EXPECT_EQ(GlobalFree(Refused), nullptr);
    ASSERT_TRUE(OpenClipboard(W));
    EXPECT_FALSE(OpenClipboard(W));
    EmptyClipboard();
    const char Text[] = "视频 clip";
    HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, sizeof Text);
    std::memcpy(GlobalLock(H), Text, sizeof Text);
    GlobalUnlock(H);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, H), H);
    // Handing the clipboard its own block again keeps the block alive.
    EXPECT_EQ(SetClipboardData(CF_TEXT, H), H);
    EXPECT_EQ(GlobalSize(H), sizeof Text);
    CloseClipboard();
    EXPECT_EQ(Headless.Clipboard(), "视频 clip");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    Headless.SetClipboardText("pasted");
    ASSERT_TRUE(OpenClipboard(W));
    HANDLE Got = GetClipboardData(CF_TEXT);
    ASSERT_NE(Got, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(Got)), "pasted");
    // Asking again leaves the first answer readable.
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), Got);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(Got)), "pasted");
    CloseClipboard();

    EXPECT_GT(ShellExecute(W, "open", "https://example.org/help", nullptr, nullptr, SW_SHOW), 32);
    EXPECT_GT(ShellExecute(W, nullptr, "/tmp", nullptr, nullptr, SW_SHOW), 32);
    EXPECT_EQ(ShellExecute(W, "print", "/tmp/a.txt", nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(Headless.Opened(), (std::vector<std::string>{"https://example.org/help", "/tmp"}));
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBeep(0xFFFFFFFF);
    EXPECT_EQ(Headless.Beeps(), (std::vector<UINT>{MB_ICONEXCLAMATION, 0xFFFFFFFF}));
}

// A packed 32-bit DIB block of W x H whose pixel i (in stored order) is i + 1.
HGLOBAL DibBlock(LONG W, LONG H, WORD Bits = 32, std::size_t Cut = 0) {
    BITMAPINFOHEADER Header;
    Header.biWidth = W;
    Header.biHeight = H;
    Header.biBitCount = Bits;
    const std::size_t Count = std::size_t(W) * std::size_t(H < 0 ? -H : H);
    HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE, sizeof Header + Count * 4 - Cut);
    auto* Bytes = static_cast<char*>(GlobalLock(Block));
    std::memcpy(Bytes, &Header, sizeof Header);
    for (std::uint32_t I = 0; I < Count && (I + 1) * 4 <= Count * 4 - Cut; ++I) {
        const std::uint32_t V = I + 1;
        std::memcpy(Bytes + sizeof Header + I * 4, &V, 4);
    }
    return Block;
}

TEST_F(ServicesTest, ClipboardPicturesAsPacked32BitDibs) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    ASSERT_TRUE(OpenClipboard(W));
    // Damaged or other layouts are refused and stay the caller's.
    for (HGLOBAL Bad : {DibBlock(2, 2, 24), DibBlock(0, 2), DibBlock(2, 2, 32, 4)}) {
        EXPECT_EQ(SetClipboardData(CF_DIB, Bad), nullptr);
        EXPECT_EQ(GlobalFree(Bad), nullptr);
    }
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));

    // A bottom-up picture comes back top-down.
    EmptyClipboard();
    HGLOBAL Put = DibBlock(2, 2);
    EXPECT_EQ(SetClipboardData(CF_DIB, Put), Put);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    HANDLE Got = GetClipboardData(CF_DIB);
    ASSERT_NE(Got, nullptr);
    EXPECT_EQ(GetClipboardData(CF_DIB), Got) << "asking again keeps the first answer";
    BITMAPINFOHEADER Header;
    std::memcpy(&Header, GlobalLock(Got), sizeof Header);
    EXPECT_EQ(Header.biWidth, 2);
    EXPECT_EQ(Header.biHeight, -2);
    std::uint32_t Pixels[4];
    std::memcpy(Pixels, static_cast<char*>(GlobalLock(Got)) + sizeof Header, sizeof Pixels);
    EXPECT_EQ(std::vector<std::uint32_t>(Pixels, Pixels + 4),
              (std::vector<std::uint32_t>{3, 4, 1, 2}));

    // Text replaces the picture.
    EmptyClipboard();
    const char Text[] = "abc";
    HGLOBAL T = GlobalAlloc(GMEM_MOVEABLE, sizeof Text);
    std::memcpy(GlobalLock(T), Text, sizeof Text);
    EXPECT_EQ(SetClipboardData(CF_TEXT, T), T);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    CloseClipboard();
}

TEST_F(ServicesTest, SynchronizeWakesTheLoopThroughTheQueue) {
    Make(WS_POPUP, Bounds(0, 0, 10, 10)); // the main thread's queue exists now
    bool Ran = false;
    std::thread Worker([&] { TThread::Synchronize(nullptr, [&] { Ran = true; }); });
    MSG M;
    // The wake-up arrives as a thread message; the loop then serves the call.
    while (!Ran) {
        GetMessage(&M, nullptr, 0, 0);
        CheckSynchronize();
    }
    Worker.join();
    EXPECT_TRUE(Ran);
}

TEST_F(ServicesTest, CompositorIsTheBackendsAnswer) {
    EXPECT_TRUE(HasCompositor()) << "the headless screen blends alpha";
    Headless.SetHasCompositor(false);
    EXPECT_FALSE(HasCompositor());
    Headless.SetHasCompositor(true);
    EXPECT_TRUE(HasCompositor());
}
