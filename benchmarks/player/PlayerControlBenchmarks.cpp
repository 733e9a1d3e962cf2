// The player's control side: a paused Open until psPlay is delivered, a
// waiting Stop, a Stop on a stalled network input, and what a paused
// playback costs the processor (the play thread's and the read thread's
// 10 ms polls).
//
// Every figure is the median of its repetitions. The clips are made with the
// ffmpeg command on the first run, into the build folder, and kept.
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Clock.h"
#include "platform/core/Environment.h"
#include "platform/core/Threads.h"
#include "player/FFPlay.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

const std::string Folder = OSTRELA_BENCH_MEDIA;

std::string Clip(const std::string& AName) {
    return Folder + "/" + AName;
}

void Run(const std::string& ACommand) {
    if (std::system(ACommand.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", ACommand.c_str());
        std::exit(1);
    }
}

void MakeClips() {
    std::filesystem::create_directories(Folder);
    if (!std::filesystem::exists(Clip("hd30.mp4")))
        Run("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
            "testsrc2=size=1920x1080:rate=25:duration=30 -f lavfi -i "
            "sine=frequency=440:sample_rate=48000:duration=30 -c:v libx264 -preset veryfast "
            "-pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 '" +
            Clip("hd30.mp4") + "'");
    if (!std::filesystem::exists(Clip("av.ts")))
        Run(std::string("sh '") + OSTRELA_PROBE_MEDIA_SCRIPT + "' '" + Folder +
            "' >/dev/null && sh '" + OSTRELA_PLAYER_MEDIA_SCRIPT + "' '" + Folder + "' >/dev/null");
}

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point AFrom) {
    return std::chrono::duration<double>(TClock::now() - AFrom).count();
}

template <class F> void WaitUntil(F ACondition) {
    while (!ACondition())
        CheckSynchronize(1);
}

struct TWatchedPlayer {
    TRIVavova Player{nullptr};
    std::atomic<bool> Playing{false};
    std::atomic<bool> PausedShown{false};
    TWatchedPlayer() {
        Player.SetOnState([this](TObject*, TPlayState AState) {
            if (AState == psPlay)
                Playing = true;
            if (AState == psPause)
                PausedShown = true;
        });
    }
};

// APhase 0 times Open until psPlay is delivered, 1 the waiting Stop.
void BM_OpenAndStop(benchmark::State& AState, const char* AFile, int APhase) {
    for (auto _ : AState) {
        TWatchedPlayer W;
        const auto Start = TClock::now();
        if (!W.Player.Open(Clip(AFile), nullptr, true)) {
            AState.SkipWithError(W.Player.LastErrMsg().c_str());
            break;
        }
        WaitUntil([&] { return W.Playing.load(); });
        const double Open = Seconds(Start);
        const auto StopStart = TClock::now();
        W.Player.Stop(true);
        AState.SetIterationTime(APhase == 0 ? Open : Seconds(StopStart));
    }
}

// Sends 60 % of a clip and holds the connection.
void BM_StopStalledInput(benchmark::State& AState) {
    std::ifstream Stream(Clip("av.ts"), std::ios::binary);
    const std::string Content{std::istreambuf_iterator<char>(Stream),
                              std::istreambuf_iterator<char>()};
    for (auto _ : AState) {
        const int Listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(Listener, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
        socklen_t Size = sizeof Address;
        getsockname(Listener, reinterpret_cast<sockaddr*>(&Address), &Size);
        listen(Listener, 1);
        std::atomic<bool> SentAll{false};
        std::thread Server([&] {
            const int Client = accept(Listener, nullptr, nullptr);
            send(Client, Content.data(), Content.size() * 6 / 10, MSG_NOSIGNAL);
            SentAll = true;
            char Byte;
            while (recv(Client, &Byte, 1, 0) > 0) {
            }
            close(Client);
        });
        TWatchedPlayer W;
        W.Player.SetFormat("mpegts");
        if (!W.Player.Open("tcp://127.0.0.1:" + std::to_string(ntohs(Address.sin_port)), nullptr,
                           false)) {
            AState.SkipWithError(W.Player.LastErrMsg().c_str());
            Server.detach();
            break;
        }
        WaitUntil([&] { return SentAll && W.Playing; });
        Sleep(300); // the reader is blocked in the socket by now
        const auto Start = TClock::now();
        W.Player.Stop(true);
        AState.SetIterationTime(Seconds(Start));
        Server.join();
        close(Listener);
    }
}

double ProcessCPUSeconds() {
    std::ifstream Stat("/proc/self/stat");
    std::string Field;
    unsigned long long UserTicks = 0, SystemTicks = 0;
    for (int I = 1; I <= 15 && Stat >> Field; ++I) {
        if (I == 14)
            UserTicks = std::stoull(Field);
        if (I == 15)
            SystemTicks = std::stoull(Field);
    }
    return double(UserTicks + SystemTicks) / double(sysconf(_SC_CLK_TCK));
}

void BM_PausedPlaybackCPU(benchmark::State& AState) {
    for (auto _ : AState) {
        TWatchedPlayer W;
        if (!W.Player.Open(Clip("av.mp4"), nullptr, true)) {
            AState.SkipWithError(W.Player.LastErrMsg().c_str());
            break;
        }
        WaitUntil([&] { return W.PausedShown.load(); });
        // Nothing is delivered while paused: the main thread just sleeps, so
        // the figure is the playback's own.
        const double Before = ProcessCPUSeconds();
        Sleep(10000);
        AState.counters["cpu_s_per_10s"] = ProcessCPUSeconds() - Before;
        W.Player.Stop(true);
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_OpenAndStop, open_av_mp4, "av.mp4", 0)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAndStop, stop_av_mp4, "av.mp4", 1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAndStop, open_hd30_mp4, "hd30.mp4", 0)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenAndStop, stop_hd30_mp4, "hd30.mp4", 1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopStalledInput)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PausedPlaybackCPU)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    RecordMainThread();
    InitializeMediaUnits();
    // Sound goes nowhere; the figures are the control side's.
    SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
    GetFFLogger()->SetTriggerEventInMainThread(false);
    if (!FFLoader().Load(PlayerLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    MakeClips();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FFLoader().Unload(PlayerLibs);
    return 0;
}
