// What the picture and post hooks cost per frame: a custom hook that does
// nothing (the round trip of a 1280x720 picture through RGB and back), a
// hook library that inverts plane 0, a frame the preview skips (not due),
// and one progress report.
#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "platform/core/Threads.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

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
    GetFFLogger()->SetLogLevel(llError);
}

class THookBenchEngine : public TCustomFFmpeg {
public:
    THookBenchEngine() : TCustomFFmpeg(1) {
        ResetJob();
        Frame = avutil::av_frame_alloc();
        Frame->format = AV_PIX_FMT_YUV420P;
        Frame->width = 1280;
        Frame->height = 720;
        avutil::av_frame_get_buffer(Frame, 0);
        for (int P = 0; P < 3; ++P)
            for (int Y = 0; Y < (P ? 360 : 720); ++Y)
                for (int X = 0; X < (P ? 640 : 1280); ++X)
                    Frame->data[P][Y * Frame->linesize[P] + X] = std::uint8_t(X + Y * P);
        Work = avutil::av_frame_alloc();
        Enc = avcodec::avcodec_alloc_context3(nullptr);
        Enc->codec_type = AVMEDIA_TYPE_VIDEO;
        Enc->pix_fmt = AV_PIX_FMT_YUV420P;
        Enc->width = 1280;
        Enc->height = 720;
        Enc->time_base = {1, 25};
    }
    ~THookBenchEngine() override {
        avutil::av_frame_free(&Frame);
        avutil::av_frame_free(&Work);
        avcodec::avcodec_free_context(&Enc);
    }
    // As decoding hands a picture over: a reference of the decoded frame.
    AVFrame* Process() {
        avutil::av_frame_unref(Work);
        avutil::av_frame_ref(Work, Frame);
        PreProcessPicture(nullptr, Work);
        return Work;
    }
    void Post() { RunPostHooks(Frame, Enc); }
    void Report() {
        TStreamReport Stream;
        Stream.enc = Enc;
        Stream.ShowFps = true;
        Stream.FrameNumber = 100;
        Stream.Quality = 236;
        Stream.Time = 4.0;
        ReportProgress(false, 0, {Stream});
    }

    AVFrame* Frame = nullptr;
    AVFrame* Work = nullptr;
    AVCodecContext* Enc = nullptr;
};

void BM_EmptyCustomHook720p(benchmark::State& State) {
    LoadLibs();
    THookBenchEngine Engine;
    Engine.SetOnCustomHook([](TObject*, TBitmap*, int, std::int64_t, bool&, bool&) {});
    for (auto _ : State)
        benchmark::DoNotOptimize(Engine.Process());
}
BENCHMARK(BM_EmptyCustomHook720p)->Unit(benchmark::kMillisecond);

void BM_InvertHookLibrary720p(benchmark::State& State) {
    LoadLibs();
    THookBenchEngine Engine;
    Engine.ParseOption("vhook",
                       std::string(OSTRELA_TEST_HOOKS_DIR) + "/libtesthook_invert.so /dev/null");
    for (auto _ : State)
        benchmark::DoNotOptimize(Engine.Process());
}
BENCHMARK(BM_InvertHookLibrary720p)->Unit(benchmark::kMillisecond);

// The preview's cost on a frame that is not due: one clock read under the lock.
void BM_PostHooksNotDue(benchmark::State& State) {
    LoadLibs();
    THookBenchEngine Engine;
    Engine.PreviewInterval = INT64_MAX;
    Engine.SetOnPreviewBitmap([](TObject*, TBitmap*, int, std::int64_t) {});
    Engine.SetPostHooks({phBitmap});
    Engine.Post(); // the first frame is always due
    for (auto _ : State)
        Engine.Post();
}
BENCHMARK(BM_PostHooksNotDue);

void BM_ProgressReportToEvent(benchmark::State& State) {
    LoadLibs();
    THookBenchEngine Engine;
    Engine.SetOnProgress(
        [](TObject*, int, int, int, float, float, std::int64_t, std::int64_t, std::int64_t) {});
    for (auto _ : State)
        Engine.Report();
}
BENCHMARK(BM_ProgressReportToEvent);

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
