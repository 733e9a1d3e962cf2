// Shows a job's preview window on the desktop backend: a worker decodes a
// clip at its own pace and hands each picture to the engine's post hooks, as
// a conversion hands over its encoded frames. Prints the window's place once
// it shows; the window goes with the engine's resources at the end.
// Usage: preview_demo CLIP
#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/Previewer.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

class TPreviewEngine : public TCustomFFmpeg {
public:
    TPreviewEngine() : TCustomFFmpeg(1) {}
    using TCustomFFmpeg::ReleaseAll;
    using TCustomFFmpeg::RunPostHooks;

    HWND Window() {
        std::lock_guard Guard(PostHookLock());
        return FPostContext.Previewer ? FPostContext.Previewer->FormHandle() : nullptr;
    }
};

// Decodes every picture of AClip, 40 ms apart, into the engine's post hooks.
void Decode(TPreviewEngine& AEngine, const char* AClip, std::atomic<bool>& ADone) {
    AVFormatContext* Input = nullptr;
    if (avformat::avformat_open_input(&Input, AClip, nullptr, nullptr) < 0 ||
        avformat::avformat_find_stream_info(Input, nullptr) < 0) {
        std::fprintf(stderr, "preview_demo: cannot open %s\n", AClip);
        ADone = true;
        return;
    }
    const AVCodec* Codec = nullptr;
    const int Index = avformat::av_find_best_stream(Input, AVMEDIA_TYPE_VIDEO, -1, -1, &Codec, 0);
    AVCodecContext* Decoder = avcodec::avcodec_alloc_context3(Codec);
    avcodec::avcodec_parameters_to_context(Decoder, Input->streams[Index]->codecpar);
    Decoder->pkt_timebase = Input->streams[Index]->time_base;
    avcodec::avcodec_open2(Decoder, Codec, nullptr);
    // What the post hooks read of an encoder: format, size and time base.
    AVCodecContext* Shown = avcodec::avcodec_alloc_context3(nullptr);
    Shown->time_base = Input->streams[Index]->time_base;
    AVPacket* Packet = avcodec::av_packet_alloc();
    AVFrame* Frame = avutil::av_frame_alloc();
    while (avformat::av_read_frame(Input, Packet) >= 0) {
        if (Packet->stream_index == Index && avcodec::avcodec_send_packet(Decoder, Packet) >= 0)
            while (avcodec::avcodec_receive_frame(Decoder, Frame) >= 0) {
                Frame->pts = Frame->best_effort_timestamp;
                Shown->pix_fmt = static_cast<AVPixelFormat>(Frame->format);
                Shown->width = Frame->width;
                Shown->height = Frame->height;
                AEngine.RunPostHooks(Frame, Shown);
                std::this_thread::sleep_for(std::chrono::milliseconds(40));
            }
        avcodec::av_packet_unref(Packet);
    }
    avutil::av_frame_free(&Frame);
    avcodec::av_packet_free(&Packet);
    avcodec::avcodec_free_context(&Shown);
    avcodec::avcodec_free_context(&Decoder);
    avformat::avformat_close_input(&Input);
    ADone = true;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: preview_demo CLIP\n");
        return 2;
    }
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    if (!FFLoader().Load(ConverterLibs)) {
        std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
        return 1;
    }
    {
        TQtBackend Backend;
        SetBackend(&Backend);
        InitApplication();
        TPreviewEngine Engine;
        Engine.ResetJob();
        Engine.SetPostHooks({phPreview});
        std::atomic<bool> Done{false};
        std::thread Worker([&] { Decode(Engine, argv[1], Done); });
        bool Reported = false;
        while (!Done) {
            CheckSynchronize(10);
            Application->ProcessMessages();
            // The desktop's own events (mapping, exposure) come through Qt.
            QCoreApplication::processEvents();
            if (!Reported && Engine.Window()) {
                TRect R;
                GetWindowRect(Engine.Window(), &R);
                std::printf("preview window %dx%d at %d,%d\n", R.Width(), R.Height(), R.Left,
                            R.Top);
                std::fflush(stdout);
                Reported = true;
            }
        }
        Worker.join();
        Engine.ReleaseAll();
        std::printf("window gone: %s\n", Engine.Window() ? "no" : "yes");
        DoneApplication();
        SetBackend(nullptr);
    }
    FFLoader().Unload(ConverterLibs);
    return 0;
}
