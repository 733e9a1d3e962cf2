#include "tests/player/PlayerTestSupport.h"

namespace {

LRESULT HostProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_PAINT) {
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(Wnd, &PS);
        TRect Client;
        GetClientRect(Wnd, &Client);
        HBRUSH Brush = CreateSolidBrush(0x00404040);
        FillRect(DC, &Client, Brush);
        DeleteObject(reinterpret_cast<HGDIOBJ>(Brush));
        EndPaint(Wnd, &PS);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

} // namespace

void PlayerTest::SetUp() {
    SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
    SetBackend(&Headless);
    // Already there after the first case; the window system keeps classes.
    WNDCLASS Class;
    Class.lpfnWndProc = HostProc;
    Class.lpszClassName = "PlayerTestHost";
    RegisterClass(&Class);
    Top = CreateWindow("PlayerTestHost", "top", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                       nullptr, nullptr, nullptr);
    ASSERT_NE(Top, nullptr);
    Host = MakeHost();
    ASSERT_TRUE(FFLoader().Load(PlayerLibs)) << FFLoader().LastErrMsg();
    TFFLogger* Logger = GetFFLogger();
    Logger->SetTriggerEventInMainThread(false);
    Logger->SetLogLevel(llInfo);
    Logger->OnLog = [this](TObject*, TThreadID, TLogLevel ALevel, const std::string& AMsg) {
        std::lock_guard Guard(Lock);
        Logged.push_back({ALevel, AMsg});
    };
    Player = std::make_unique<TTestPlayer>(nullptr);
    // Pictures late against the clock are neither dropped nor skipped, so
    // what a case sees never depends on how busy the machine is; the cases
    // about dropping turn it back on.
    Player->Setframedrop(0);
    Watch(*Player);
}

void PlayerTest::TearDown() {
    Player.reset();
    TFFLogger* Logger = GetFFLogger();
    Logger->OnLog = nullptr;
    Logger->SetTriggerEventInMainThread(true);
    FFLoader().Unload(PlayerLibs);
    ResetWindowSystem();
    SetBackend(nullptr);
}

HWND PlayerTest::MakeHost(int AWidth, int AHeight, int AX) {
    return CreateWindow("PlayerTestHost", "host", WS_CHILD | WS_VISIBLE, AX, 0, AWidth, AHeight,
                        Top, nullptr, nullptr, nullptr);
}

void PlayerTest::Watch(TTestPlayer& APlayer) {
    APlayer.SetOnState([this](TObject*, TPlayState AState) {
        std::lock_guard Guard(Lock);
        Delivered.push_back({AState, GetCurrentThreadId()});
    });
    APlayer.SetOnPosition([this](TObject*, std::int64_t APTS) {
        std::lock_guard Guard(Lock);
        Positions.push_back(APTS);
    });
}

std::vector<TPlayState> PlayerTest::DeliveredStates() {
    std::lock_guard Guard(Lock);
    std::vector<TPlayState> States;
    for (const TDelivered& D : Delivered)
        States.push_back(D.State);
    return States;
}

bool PlayerTest::WasDelivered(TPlayState AState) {
    std::lock_guard Guard(Lock);
    for (const TDelivered& D : Delivered)
        if (D.State == AState)
            return true;
    return false;
}

bool PlayerTest::WaitForState(TPlayState AState, int AGuardMs) {
    return ServeUntil([&] { return WasDelivered(AState); }, AGuardMs);
}

bool PlayerTest::LoggedLine(TLogLevel ALevel, const std::string& AText) {
    std::lock_guard Guard(Lock);
    for (const TLogged& L : Logged)
        if (L.Level == ALevel && L.Message.find(AText) != std::string::npos)
            return true;
    return false;
}

std::vector<std::uint32_t> PlayerTest::PresentedHost(HWND AHost, int AWidth, int AHeight) {
    PumpMessages();
    UpdateWindow(AHost);
    FlushPresents();
    TPoint Origin{0, 0};
    MapWindowPoints(AHost, Top, &Origin, 1);
    std::vector<std::uint32_t> Pixels;
    for (int Y = 0; Y < AHeight; ++Y)
        for (int X = 0; X < AWidth; ++X)
            Pixels.push_back(Headless.SurfacePixel(WindowSurface(Top), Origin.X + X, Origin.Y + Y));
    return Pixels;
}

bool PlayerTest::OpenClip(const std::string& AName, bool APaused) {
    return Player->Open(Clip(AName), Host, APaused);
}
