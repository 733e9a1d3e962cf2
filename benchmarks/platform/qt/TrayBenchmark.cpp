// A notification icon given a new 32 x 32 picture on a real X display's
// tray, each call sent and flushed to the host. Needs a display with a tray
// host, for example:
//   xvfb-run sh -c 'build/tests/tray-host 100 100 & sleep 1;
//                   build/benchmarks/bench_platform_qt_tray'
#include "platform/core/Threads.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void NotifyIconNewPictureOnTheTray(benchmark::State& State) {
    WNDCLASS Class{};
    Class.lpfnWndProc = DefWindowProc;
    Class.lpszClassName = "TrayBench";
    RegisterClass(&Class);
    HWND Wnd = CreateWindowEx(0, "TrayBench", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
    HICON Icons[2];
    for (int I = 0; I < 2; ++I) {
        TArgbImage Image;
        Image.Width = Image.Height = 32;
        Image.Pixels.assign(32 * 32, I ? 0xFFFF0000u : 0xFF0000FFu);
        Icons[I] = CreateIconFromImages({Image});
    }
    NOTIFYICONDATA Data;
    Data.hWnd = Wnd;
    Data.uID = 1;
    Data.uFlags = NIF_ICON | NIF_TIP;
    Data.hIcon = Icons[0];
    Data.szTip = "Ostrela";
    if (!Shell_NotifyIcon(NIM_ADD, &Data)) {
        State.SkipWithError("no tray host on this display");
        DestroyWindow(Wnd);
        return;
    }
    Data.uFlags = NIF_ICON;
    int Turn = 0;
    for (auto _ : State) {
        Data.hIcon = Icons[Turn ^= 1];
        benchmark::DoNotOptimize(Shell_NotifyIcon(NIM_MODIFY, &Data));
    }
    DestroyWindow(Wnd);
    for (HICON Icon : Icons)
        DestroyIcon(Icon);
}
BENCHMARK(NotifyIconNewPictureOnTheTray)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    QGuiApplication App(argc, argv);
    TQtBackend Backend;
    SetBackend(&Backend);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ResetWindowSystem();
    SetBackend(nullptr);
    return 0;
}
