// Presenting a 1280 x 720 window's back buffer through the Qt backend, as a
// window showing a moving picture does on every frame: the whole buffer, a
// frame-sized border only, and the expose of a window whose content is
// already in Qt's backing store. On an X display the flush goes to the X
// server, and each present waits for the server to have read the previous
// one from shared memory before it writes there again:
//   xvfb-run -s "-screen 0 1920x1080x24" build/benchmarks/bench_platform_qt_present
// Without a display, run it with QT_QPA_PLATFORM=offscreen.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"

#include <QExposeEvent>
#include <QGuiApplication>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int Width = 1280, Height = 720;

TQtBackend* Desktop = nullptr;

// Two back buffers with different pixels and an undefined alpha byte, so
// that every present changes what is shown.
struct TBuffers {
    std::vector<std::uint32_t> Pixels[2];
    TBuffers() {
        for (int B = 0; B < 2; ++B) {
            Pixels[B].resize(std::size_t(Width) * Height);
            for (std::size_t I = 0; I < Pixels[B].size(); ++I)
                Pixels[B][I] = std::uint32_t(I * 2654435761u + std::uint32_t(B) * 977u);
        }
    }
    TPixelView View(int B) const { return {Pixels[B].data(), Width, Height, Width * 4}; }
};

TSurfaceId ShownSurface() {
    const TSurfaceId Id = Desktop->CreateSurface(TSurfaceKind::Framed, 0, "Present");
    Desktop->SetBounds(Id, Bounds(100, 100, Width, Height));
    Desktop->SetVisible(Id, true);
    const std::uint32_t Until = GetTickCount() + 2000;
    while (!Desktop->SurfaceWindow(Id)->isExposed() && GetTickCount() < Until)
        Desktop->Wait(GetTickCount() + 10, "bench");
    TBackendEvent E;
    while (Desktop->NextEvent(E)) {
    }
    return Id;
}

void Present(benchmark::State& State, std::vector<TRect> Changed) {
    const TBuffers Buffers;
    const TSurfaceId Id = ShownSurface();
    Desktop->Present(Id, Buffers.View(0), {Rect(0, 0, Width, Height)});
    int Turn = 0;
    for (auto _ : State)
        Desktop->Present(Id, Buffers.View(Turn ^= 1), Changed);
    Desktop->DestroySurface(Id);
}
BENCHMARK_CAPTURE(Present, Whole1280x720, {Rect(0, 0, Width, Height)})
    ->Unit(benchmark::kMillisecond);
// A tool window's caption and border around a 1280 x 720 client.
BENCHMARK_CAPTURE(Present, Border,
                  {Rect(0, 0, Width, 18), Rect(0, 18, 3, Height - 3),
                   Rect(Width - 3, 18, Width, Height - 3), Rect(0, Height - 3, Width, Height)})
    ->Unit(benchmark::kMillisecond);

// What Qt does when the window system uncovers the window.
void ExposeWhole1280x720(benchmark::State& State) {
    const TBuffers Buffers;
    const TSurfaceId Id = ShownSurface();
    Desktop->Present(Id, Buffers.View(0), {Rect(0, 0, Width, Height)});
    QWindow* Window = Desktop->SurfaceWindow(Id);
    for (auto _ : State) {
        QExposeEvent Expose(QRegion(0, 0, Width, Height));
        QGuiApplication::sendEvent(Window, &Expose);
    }
    Desktop->DestroySurface(Id);
}
BENCHMARK(ExposeWhole1280x720)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    QGuiApplication App(argc, argv);
    TQtBackend QtBackend;
    Desktop = &QtBackend;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
