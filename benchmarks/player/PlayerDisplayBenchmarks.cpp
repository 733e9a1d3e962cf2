// What showing one picture costs the player: the scaler's conversion of a
// full-HD picture into the surface, the copy of the picture on show (for
// CurrentFrame) and PresentRect into the screen copy, at 1280x720 and at the
// main window's 200x124 panel; and the same with the host's repaint from
// the screen copy (headless backend); and the scaler's share alone.
//
// A full-HD clip is opened paused in a host of the size asked for; each
// iteration draws the paused picture again with the play thread held off
// (the player's data lock), as a refresh does for every picture it shows.
// The clip is made with the ffmpeg command on the first run, into the build
// folder, and kept (the control benchmarks use the same one).
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "platform/core/Environment.h"
#include "platform/core/Threads.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "player/FFPlay.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string Folder = OSTRELA_BENCH_MEDIA;
const std::string HD30 = Folder + "/hd30.mp4";

void MakeClip() {
    std::filesystem::create_directories(Folder);
    if (std::filesystem::exists(HD30))
        return;
    const std::string Command =
        "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
        "testsrc2=size=1920x1080:rate=25:duration=30 -f lavfi -i "
        "sine=frequency=440:sample_rate=48000:duration=30 -c:v libx264 -preset veryfast "
        "-pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 '" +
        HD30 + "'";
    if (std::system(Command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", Command.c_str());
        std::exit(1);
    }
}

LRESULT HostProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

HWND Top = nullptr;

template <class F> bool ServeUntil(F ACondition) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!ACondition()) {
        if (std::chrono::steady_clock::now() > End)
            return false;
        CheckSynchronize(5);
        PumpMessages();
    }
    return true;
}

// AWithHost: the host also repaints from the screen copy after each picture.
void BM_ShownPicture(benchmark::State& AState, int AWidth, int AHeight, bool AWithHost) {
    HWND Host = CreateWindow("PlayerBenchHost", "host", WS_CHILD | WS_VISIBLE, 0, 0, AWidth,
                             AHeight, Top, nullptr, nullptr, nullptr);
    {
        TRIVavova Player(nullptr);
        std::atomic<bool> Paused{false};
        Player.SetOnState([&](TObject*, TPlayState S) {
            if (S == psPause)
                Paused = true;
        });
        if (!Player.Open(HD30, Host, true)) {
            AState.SkipWithError(Player.LastErrMsg().c_str());
            return;
        }
        // The paused open's two pictures are on show once the counter says so.
        if (!ServeUntil([&] {
                TVideoState* is = Player.VideoState();
                return Paused && is && is->PicturesShown >= 2;
            })) {
            AState.SkipWithError("the paused pictures never showed");
            return;
        }
        TVideoState* is = Player.VideoState();
        for (auto _ : AState) {
            Player.LockData(INFINITE);
            Player.DisplayVideoImage(is);
            Player.UnlockData();
            if (AWithHost) {
                PumpMessages();
                UpdateWindow(Host);
                FlushPresents();
            }
        }
        AState.counters["pictures_per_s"] =
            benchmark::Counter(double(AState.iterations()), benchmark::Counter::kIsRate);
        Player.Stop(true);
    }
    DestroyWindow(Host);
}

// The scaler's share alone: the same conversion of a full-HD 4:2:0 picture
// into a 32-bit buffer of the host's size.
void BM_ScalerOnly(benchmark::State& AState, int AWidth, int AHeight) {
    constexpr int SourceWidth = 1920, SourceHeight = 1080;
    std::vector<std::uint8_t> Y(std::size_t(SourceWidth) * SourceHeight),
        U(std::size_t(SourceWidth / 2) * (SourceHeight / 2)), V(U.size());
    for (std::size_t I = 0; I < Y.size(); ++I)
        Y[I] = std::uint8_t(I * 7 % 251);
    for (std::size_t I = 0; I < U.size(); ++I) {
        U[I] = std::uint8_t(I * 3 % 241);
        V[I] = std::uint8_t(I * 5 % 239);
    }
    std::vector<std::uint8_t> Dest(std::size_t(AWidth) * AHeight * 4);
    SwsContext* Context = swscale::sws_getCachedContext(
        nullptr, SourceWidth, SourceHeight, AV_PIX_FMT_YUV420P, AWidth, AHeight, AV_PIX_FMT_BGR0,
        SWS_BICUBIC, nullptr, nullptr, nullptr);
    const std::uint8_t* Planes[3] = {Y.data(), U.data(), V.data()};
    const int LineSizes[3] = {SourceWidth, SourceWidth / 2, SourceWidth / 2};
    std::uint8_t* DestPlanes[1] = {Dest.data()};
    const int DestLineSizes[1] = {AWidth * 4};
    for (auto _ : AState) {
        swscale::sws_scale(Context, Planes, LineSizes, 0, SourceHeight, DestPlanes, DestLineSizes);
        benchmark::DoNotOptimize(Dest.data());
    }
    swscale::sws_freeContext(Context);
}

} // namespace

BENCHMARK_CAPTURE(BM_ScalerOnly, hd_into_1280x720, 1280, 720)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScalerOnly, hd_into_200x124, 200, 124)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShownPicture, hd_into_1280x720, 1280, 720, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShownPicture, hd_into_200x124, 200, 124, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShownPicture, hd_into_1280x720_host_repaint, 1280, 720, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShownPicture, hd_into_200x124_host_repaint, 200, 124, true)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    RecordMainThread();
    InitializeMediaUnits();
    SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
    THeadlessBackend Headless;
    SetBackend(&Headless);
    WNDCLASS Class;
    Class.lpfnWndProc = HostProc;
    Class.lpszClassName = "PlayerBenchHost";
    RegisterClass(&Class);
    Top = CreateWindow("PlayerBenchHost", "top", WS_POPUP | WS_VISIBLE, 0, 0, 1400, 800, nullptr,
                       nullptr, nullptr, nullptr);
    GetFFLogger()->SetTriggerEventInMainThread(false);
    if (!FFLoader().Load(PlayerLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    MakeClip();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FFLoader().Unload(PlayerLibs);
    DestroyWindow(Top);
    ResetWindowSystem();
    SetBackend(nullptr);
    return 0;
}
