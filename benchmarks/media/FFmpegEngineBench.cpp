// What the engine's life cycle costs: the processor time a paused job uses
// over 5 seconds (it sleeps at its pause gate: about zero), the time Stop(True)
// takes with a job busy in its turn loop, and the time to apply
// libx264-default and open libx264 at 1280x720.
#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Threads.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

void LoadLibs() {
    static bool Loaded = false;
    if (Loaded)
        return;
    Loaded = true;
    if (!FFLoader().Load(ConverterLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        std::exit(1);
    }
    GetFFLogger()->SetTriggerEventInMainThread(false);
}

// A job whose turns only count, until it is stopped.
class TBusyEngine : public TCustomFFmpeg {
public:
    TBusyEngine() : TCustomFFmpeg(1) {
        ResetJob();
        // A job needs an input and an output to start; its body opens nothing.
        avformat::avformat_alloc_output_context2(&FOutput, nullptr, "null", nullptr);
        Finput_files[Fnb_input_files++] = nullptr;
        Foutput_files[Fnb_output_files++] = FOutput;
    }
    ~TBusyEngine() override { Stop(true); }

    std::atomic<std::uint64_t> Turns{0};

protected:
    void Transcode() override {
        while (!FBroken) {
            PassPauseGate();
            ++Turns;
        }
    }

private:
    AVFormatContext* FOutput = nullptr;
};

double ProcessSeconds() {
    timespec Time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &Time);
    return static_cast<double>(Time.tv_sec) + static_cast<double>(Time.tv_nsec) / 1e9;
}

void BM_PausedJobProcessorTimeOver5s(benchmark::State& State) {
    LoadLibs();
    for (auto _ : State) {
        TBusyEngine Engine;
        Engine.StartConvert(true)->Start();
        while (Engine.Turns == 0)
            std::this_thread::yield();
        Engine.Pause();
        while (!Engine.Parked())
            std::this_thread::yield();
        const double Before = ProcessSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        State.counters["cpu_ms"] = (ProcessSeconds() - Before) * 1000.0;
        Engine.Stop(true);
    }
}
BENCHMARK(BM_PausedJobProcessorTimeOver5s)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StopWithABusyJob(benchmark::State& State) {
    LoadLibs();
    for (auto _ : State) {
        State.PauseTiming();
        auto Engine = std::make_unique<TBusyEngine>();
        Engine->StartConvert(true)->Start();
        while (Engine->Turns < 1000)
            std::this_thread::yield();
        State.ResumeTiming();
        Engine->Stop(true);
        State.PauseTiming();
        Engine.reset();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_StopWithABusyJob)->Unit(benchmark::kMicrosecond);

void BM_ApplyDefaultPresetAndOpen720p(benchmark::State& State) {
    LoadLibs();
    const AVCodec* Codec = avcodec::avcodec_find_encoder_by_name("libx264");
    for (auto _ : State) {
        TCustomFFmpeg Engine(1);
        Engine.ResetJob();
        Engine.ParseOption("vcodec", "libx264");
        Engine.ParseOption("vpre", "libx264-default");
        AVCodecContext* Context = avcodec::avcodec_alloc_context3(Codec);
        Context->width = 1280;
        Context->height = 720;
        Context->pix_fmt = AV_PIX_FMT_YUV420P;
        Context->time_base = {1, 25};
        ApplyContextOptions(Engine.Options(), Context, otVideo,
                            AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
        if (avcodec::avcodec_open2(Context, Codec, nullptr) != 0)
            State.SkipWithError("libx264 did not open");
        avcodec::avcodec_free_context(&Context);
    }
}
BENCHMARK(BM_ApplyDefaultPresetAndOpen720p)->Unit(benchmark::kMillisecond);

} // namespace
