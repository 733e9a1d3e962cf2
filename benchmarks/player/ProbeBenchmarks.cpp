// The prober's speed: describing a file (against the ffprobe command on the
// same file), decoding a full-HD frame into a bitmap, and stepping back one
// frame in a file whose key frames are 250 frames apart.
//
// The clips are made with the ffmpeg command on the first run, into the
// build folder, and kept.
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "player/AVProbe.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
    const std::string FF = "ffmpeg -hide_banner -loglevel error -nostdin -y ";
    if (!std::filesystem::exists(Clip("hd30.mp4")))
        Run(FF +
            "-f lavfi -i testsrc2=size=1920x1080:rate=25:duration=30 -f lavfi -i "
            "sine=frequency=440:sample_rate=48000:duration=30 -c:v libx264 -preset "
            "veryfast -pix_fmt yuv420p -c:a aac -b:a 128k '" +
            Clip("hd30.mp4") + "'");
    if (!std::filesystem::exists(Clip("gop250.mp4")))
        Run(FF +
            "-f lavfi -i testsrc2=size=1920x1080:rate=25:duration=10 -c:v libx264 -preset "
            "veryfast -g 250 -keyint_min 250 -sc_threshold 0 -bf 0 -pix_fmt yuv420p '" +
            Clip("gop250.mp4") + "'");
    if (!std::filesystem::exists(Clip("programs.ts")))
        Run(std::string("sh '") + OSTRELA_PROBE_MEDIA_SCRIPT + "' '" + Folder + "' >/dev/null");
}

void BM_ProbeReport(benchmark::State& AState, const char* AFile) {
    TAVProbe Probe(nullptr);
    std::size_t Bytes = 0;
    for (auto _ : AState) {
        if (!Probe.LoadFile(Clip(AFile))) {
            AState.SkipWithError(Probe.LastErrMsg().c_str());
            break;
        }
        Bytes += Probe.FileInfoText().size();
    }
    benchmark::DoNotOptimize(Bytes);
}

// The same question asked of the command, process start included.
void BM_FFprobeCommand(benchmark::State& AState, const char* AFile) {
    const std::string Command =
        "ffprobe -v quiet -show_format -show_streams '" + Clip(AFile) + "' >/dev/null";
    for (auto _ : AState)
        Run(Command);
}

void BM_DecodeAndCopyFullHD(benchmark::State& AState) {
    TAVProbe Probe(nullptr);
    if (!Probe.LoadFile(Clip("hd30.mp4"))) {
        AState.SkipWithError(Probe.LastErrMsg().c_str());
        return;
    }
    TBitmap Bitmap;
    for (auto _ : AState) {
        if (!Probe.Decode(-1)) {
            AState.PauseTiming();
            Probe.Seek(0, {});
            AState.ResumeTiming();
            continue;
        }
        Probe.CopyToBitmap(&Bitmap);
    }
}

void BM_DecodePreviousFrameLongGOP(benchmark::State& AState) {
    TAVProbe Probe(nullptr);
    if (!Probe.LoadFile(Clip("gop250.mp4"))) {
        AState.SkipWithError(Probe.LastErrMsg().c_str());
        return;
    }
    // From the end of the first group backwards: every step decodes from the
    // group's key frame again.
    auto Restart = [&] {
        Probe.Seek(0, {});
        for (int I = 0; I < 240; ++I)
            Probe.Decode(-1);
    };
    Restart();
    for (auto _ : AState) {
        if (Probe.FrameInfo().PTS <= 40000) {
            AState.PauseTiming();
            Restart();
            AState.ResumeTiming();
        }
        if (!Probe.DecodePreviousFrame(-1)) {
            AState.SkipWithError(Probe.LastErrMsg().c_str());
            break;
        }
    }
}

BENCHMARK_CAPTURE(BM_ProbeReport, hd30_mp4, "hd30.mp4")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FFprobeCommand, hd30_mp4, "hd30.mp4")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProbeReport, programs_ts, "programs.ts")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FFprobeCommand, programs_ts, "programs.ts")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAndCopyFullHD)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePreviousFrameLongGOP)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char** argv) {
    InitializeMediaUnits();
    GetFFLogger()->SetTriggerEventInMainThread(false);
    if (!FFLoader().Load(ProbeLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    MakeClips();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FFLoader().Unload(ProbeLibs);
    return 0;
}
