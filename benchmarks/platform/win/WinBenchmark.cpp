// Speed of the window system's hot paths: sending, posting and dispatching,
// a cross-thread send, a full repaint of a window with many children, and
// the hit search among many windows with regions.
#include "platform/core/Threads.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace {

LRESULT Quick(HWND W, UINT M, WPARAM Wp, LPARAM Lp) {
    if (M == WM_USER)
        return 1;
    return DefWindowProc(W, M, Wp, Lp);
}

LRESULT FillOnPaint(HWND W, UINT M, WPARAM Wp, LPARAM Lp) {
    if (M == WM_PAINT) {
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(W, &PS);
        TRect R;
        GetClientRect(W, &R);
        FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(W, &PS);
        return 0;
    }
    return DefWindowProc(W, M, Wp, Lp);
}

// A fresh window system with the two classes the benchmarks use.
struct TSession {
    THeadlessBackend Headless;
    TSession() {
        SetBackend(&Headless);
        WNDCLASS C;
        C.lpfnWndProc = Quick;
        C.lpszClassName = "Quick";
        RegisterClass(&C);
        C.lpfnWndProc = FillOnPaint;
        C.lpszClassName = "Fill";
        RegisterClass(&C);
    }
    ~TSession() {
        ResetWindowSystem();
        SetBackend(nullptr);
    }
};

HWND Make(const char* Class, DWORD Style, TRect R, HWND Parent = nullptr) {
    return CreateWindowEx(0, Class, "", Style, R.Left, R.Top, R.Width(), R.Height(), Parent,
                          nullptr, nullptr, nullptr);
}

void SameThreadSend(benchmark::State& State) {
    TSession S;
    HWND W = Make("Quick", WS_POPUP, Bounds(0, 0, 10, 10));
    for (auto _ : State)
        benchmark::DoNotOptimize(SendMessage(W, WM_USER, 0, 0));
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(SameThreadSend);

void PostGetDispatch(benchmark::State& State) {
    TSession S;
    HWND W = Make("Quick", WS_POPUP, Bounds(0, 0, 10, 10));
    MSG M;
    for (auto _ : State) {
        PostMessage(W, WM_USER, 0, 0);
        GetMessage(&M, nullptr, 0, 0);
        DispatchMessage(&M);
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(PostGetDispatch);

// The worker sends; the main thread serves in GetMessage.
void CrossThreadSend(benchmark::State& State) {
    TSession S;
    HWND W = Make("Quick", WS_POPUP, Bounds(0, 0, 10, 10));
    std::atomic<bool> Stop{false}, Finished{false};
    std::atomic<long> Done{0};
    std::thread Worker([&] {
        while (!Stop)
            if (SendMessage(W, WM_USER, 0, 0) == 1)
                ++Done;
        Finished = true;
    });
    MSG M;
    for (auto _ : State) {
        long Before = Done;
        while (Done == Before) {
            if (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE))
                DispatchMessage(&M);
        }
    }
    Stop = true;
    while (!Finished)
        if (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&M);
    Worker.join();
    State.SetLabel("round trips, served by the main thread");
}
BENCHMARK(CrossThreadSend)->UseRealTime();

void FullRepaint(benchmark::State& State) {
    TSession S;
    HWND Top = Make("Fill", WS_POPUP | WS_VISIBLE, Bounds(0, 0, 800, 600));
    for (int I = 0; I < 100; ++I)
        Make("Fill", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
             Bounds((I % 10) * 80, (I / 10) * 60, 80, 60), Top);
    ProcessPending();
    for (auto _ : State) {
        RedrawWindow(Top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        ProcessPending();
    }
    State.SetLabel("800 x 600 with 100 children, per frame");
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMillisecond);

void WindowFromPointAmongRegions(benchmark::State& State) {
    TSession S;
    for (int I = 0; I < 500; ++I) {
        HWND W =
            Make("Quick", WS_POPUP | WS_VISIBLE, Bounds((I * 37) % 1800, (I * 53) % 1000, 100, 80));
        // Two bars with a hole between them.
        HRGN R = CreateRectRgn(0, 0, 40, 80);
        HRGN Right = CreateRectRgn(60, 0, 100, 80);
        CombineRgn(R, R, Right, RGN_OR);
        DeleteObject(ToObj(Right));
        SetWindowRgn(W, R, FALSE);
    }
    int I = 0;
    for (auto _ : State)
        benchmark::DoNotOptimize(WindowFromPoint({(I++ * 7) % 1900, (I * 13) % 1060}));
    State.SetLabel("500 top-level windows with regions");
}
BENCHMARK(WindowFromPointAmongRegions)->Unit(benchmark::kMicrosecond);

// Taking and releasing the screen DC with one visible 800 x 600 window.
void ScreenDCRoundTrip(benchmark::State& State) {
    TSession S;
    Make("Fill", WS_POPUP | WS_VISIBLE, Bounds(100, 100, 800, 600));
    ProcessPending();
    for (auto _ : State) {
        HDC DC = GetDC(nullptr);
        benchmark::DoNotOptimize(GetDeviceCaps(DC, BITSPIXEL));
        ReleaseDC(nullptr, DC);
    }
}
BENCHMARK(ScreenDCRoundTrip)->Unit(benchmark::kMicrosecond);

// A notification icon given a new 32 x 32 picture, two pictures by turns.
void NotifyIconNewPicture(benchmark::State& State) {
    TSession S;
    HWND W = Make("Quick", WS_POPUP, Bounds(0, 0, 10, 10));
    HICON Icons[2];
    for (int I = 0; I < 2; ++I) {
        TArgbImage Image;
        Image.Width = Image.Height = 32;
        Image.Pixels.assign(32 * 32, I ? 0x80FF0000u : 0xFF0000FFu);
        Icons[I] = CreateIconFromImages({Image});
    }
    NOTIFYICONDATA Data;
    Data.hWnd = W;
    Data.uID = 1;
    Data.uFlags = NIF_ICON | NIF_TIP;
    Data.hIcon = Icons[0];
    Data.szTip = "Ostrela";
    Shell_NotifyIcon(NIM_ADD, &Data);
    Data.uFlags = NIF_ICON;
    int Turn = 0;
    for (auto _ : State) {
        Data.hIcon = Icons[Turn ^= 1];
        benchmark::DoNotOptimize(Shell_NotifyIcon(NIM_MODIFY, &Data));
        S.Headless.ClearNotifyIconCalls();
    }
    for (HICON Icon : Icons)
        DestroyIcon(Icon);
}
BENCHMARK(NotifyIconNewPicture)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
