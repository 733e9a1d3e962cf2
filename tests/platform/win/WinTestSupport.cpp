#include "tests/platform/win/WinTestSupport.h"

namespace {

std::map<HWND, THandler> Handlers;
THandler Pending;

LRESULT CALLBACK_TestProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_NCCREATE && Pending) {
        Handlers[Wnd] = Pending;
        Pending = nullptr;
    }
    auto It = Handlers.find(Wnd);
    if (It != Handlers.end() && It->second) {
        THandler H = It->second; // the handler may replace itself
        if (auto R = H(Wnd, Msg, WParam, LParam))
            return *R;
    }
    if (Msg == WM_NCDESTROY)
        Handlers.erase(Wnd);
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

} // namespace

void TWinTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    Register("TestWnd", 0);
}

void TWinTest::TearDown() {
    ResetWindowSystem();
    Handlers.clear();
    Pending = nullptr;
    Headless.ResetClock();
    SetBackend(nullptr);
}

void TWinTest::Register(const char* Name, UINT Style, HBRUSH Background) {
    WNDCLASS C;
    C.style = Style;
    C.lpfnWndProc = CALLBACK_TestProc;
    C.hbrBackground = Background;
    C.lpszClassName = Name;
    ASSERT_NE(RegisterClass(&C), 0);
}

HWND TWinTest::Make(DWORD Style, TRect R, HWND Parent, DWORD ExStyle, THandler Handler,
                    const char* Class, const char* Title) {
    Pending = Handler;
    HWND H = CreateWindowEx(ExStyle, Class, Title, Style, R.Left, R.Top, R.Width(), R.Height(),
                            Parent, nullptr, nullptr, nullptr);
    Pending = nullptr;
    return H;
}

void TWinTest::On(HWND Wnd, THandler Handler) {
    Handlers[Wnd] = std::move(Handler);
}

TSurfaceId TWinTest::SurfaceOf(HWND Wnd) {
    return WindowSurface(Wnd);
}

std::uint32_t TWinTest::ClientPixel(HWND Wnd, int X, int Y) {
    FlushPresents();
    TPoint P{X, Y};
    ClientToScreen(Wnd, &P);
    return Headless.ScreenPixel(P.X, P.Y);
}
