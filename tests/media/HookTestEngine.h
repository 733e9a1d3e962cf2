// The engine as the hook, preview and progress tests see it: the picture
// and post hooks and the report callable directly, a clock the test moves,
// and every line of the log captured (FFmpeg's own included).
#pragma once

#include "media/FFmpeg.h"
#include "media/FrameHook.h"
#include "media/Previewer.h"
#include "tests/media/FFmpegTestEngine.h"

#include <atomic>
#include <functional>
#include <memory>

// One frame of its own buffers, filled by the test.
struct TFrameDeleter {
    void operator()(AVFrame* AFrame) const { avutil::av_frame_free(&AFrame); }
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameDeleter>;

class THookEngine : public TTestEngine {
public:
    using TTestEngine::TTestEngine;

    // The engine's clock in microseconds; below 0 the real one.
    std::atomic<std::int64_t> Clock{0};

    // Hands AFrame to PreProcessPicture as decoding does: a reference of its
    // own, changed in place, while AFrame (the decoder's) stays as it is. The
    // answer lives as long as the engine.
    AVFrame* Process(const AVFrame* AFrame, std::int64_t APTS) {
        TFramePtr Ref(avutil::av_frame_alloc());
        avutil::av_frame_ref(Ref.get(), AFrame);
        TAVInputStream Ist;
        Ist.pts = APTS;
        PreProcessPicture(&Ist, Ref.get());
        FProcessed.push_back(std::move(Ref));
        return FProcessed.back().get();
    }

    using TCustomFFmpeg::Faudio_size;
    using TCustomFFmpeg::Fextra_size;
    using TCustomFFmpeg::FFirstHook;
    using TCustomFFmpeg::FHookBuf;
    using TCustomFFmpeg::FHookBufSize;
    using TCustomFFmpeg::FHookFrameNumber;
    using TCustomFFmpeg::FInDelivery;
    using TCustomFFmpeg::Fnb_frames_drop;
    using TCustomFFmpeg::Fnb_frames_dup;
    using TCustomFFmpeg::FPostContext;
    using TCustomFFmpeg::FShowDupOrDrop;
    using TCustomFFmpeg::Ftimer_start;
    using TCustomFFmpeg::Fvideo_size;
    using TCustomFFmpeg::PreProcessPicture;
    using TCustomFFmpeg::ReportProgress;
    using TCustomFFmpeg::RunPostHooks;
    using TCustomFFmpeg::WriteVideoStats;

protected:
    std::int64_t NowUS() override { return Clock >= 0 ? Clock.load() : TCustomFFmpeg::NowUS(); }

private:
    std::vector<TFramePtr> FProcessed;
};

inline TFramePtr MakeFrame(AVPixelFormat AFormat, int AWidth, int AHeight,
                           const std::function<int(int Plane, int X, int Y)>& AValue) {
    TFramePtr Frame(avutil::av_frame_alloc());
    Frame->format = AFormat;
    Frame->width = AWidth;
    Frame->height = AHeight;
    EXPECT_EQ(avutil::av_frame_get_buffer(Frame.get(), 0), 0);
    const AVPixFmtDescriptor* Desc = avutil::av_pix_fmt_desc_get(AFormat);
    const bool Packed = Desc->nb_components > 1 && !(Desc->flags & AV_PIX_FMT_FLAG_PLANAR);
    for (int P = 0; P < 4 && Frame->data[P]; ++P) {
        const int W = Packed ? AWidth * Desc->nb_components
                             : (P == 0 ? AWidth : -((-AWidth) >> Desc->log2_chroma_w));
        const int H = P == 0 ? AHeight : -((-AHeight) >> Desc->log2_chroma_h);
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                Frame->data[P][Y * Frame->linesize[P] + X] = std::uint8_t(AValue(P, X, Y));
    }
    return Frame;
}

// The byte at (X, Y) of a plane (X counts bytes).
inline int ByteAt(const AVFrame* AFrame, int APlane, int X, int Y) {
    return AFrame->data[APlane][Y * AFrame->linesize[APlane] + X];
}

struct TCapturedLine {
    TObject* Sender;
    TLogLevel Level;
    std::string Msg;
};

// Loads the libraries, gives each test a fresh THookEngine and captures every
// logged line, the engine's and FFmpeg's.
class HookEngineTest : public EngineTest {
protected:
    THookEngine* Hooked = nullptr;

    void SetUp() override {
        EngineTest::SetUp();
        Engine = std::make_unique<THookEngine>(4);
        Engine->ResetJob();
        Hooked = static_cast<THookEngine*>(Engine.get());
        GetFFLogger()->OnLog = [this](TObject* Sender, TThreadID, TLogLevel ALevel,
                                      const std::string& AMsg) {
            std::lock_guard Guard(FAllLock);
            FAll.push_back({Sender, ALevel, AMsg});
        };
    }

    std::vector<TCapturedLine> AllLogged() {
        std::lock_guard Guard(FAllLock);
        return FAll;
    }
    int CountAll(TLogLevel ALevel, const std::string& AMsg) {
        int Count = 0;
        for (const TCapturedLine& Line : AllLogged())
            Count += Line.Level == ALevel && Line.Msg == AMsg;
        return Count;
    }
    void ClearAll() {
        std::lock_guard Guard(FAllLock);
        FAll.clear();
    }

private:
    std::mutex FAllLock;
    std::vector<TCapturedLine> FAll;
};
