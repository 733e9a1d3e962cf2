// The engine's picture hooks (deinterlacing, the custom hook, the frame-hook
// chain) and post hooks (the bitmap event and the preview window).
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/FrameHook.h"
#include "media/Previewer.h"
#include "media/SwScaleStubs.h"
#include "platform/gdi/Graphics.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// ---- Deinterlacing ---------------------------------------------------------------

bool DeinterlaceableFormat(int APixFmt) {
    switch (APixFmt) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_GRAY8:
        return true;
    default:
        return false;
    }
}

// Keeps the first field (even lines) and rebuilds each line of the second
// from the five lines centred on it, weighted -1, 4, 2, 4, -1 (÷ 8, rounded);
// lines beyond the edges repeat the nearest one.
void DeinterlacePlane(std::uint8_t* ADst, int ADstStride, const std::uint8_t* ASrc, int ASrcStride,
                      int AWidth, int AHeight) {
    const auto Line = [&](int Y) {
        return ASrc + std::ptrdiff_t(std::clamp(Y, 0, AHeight - 1)) * ASrcStride;
    };
    for (int Y = 0; Y < AHeight; ++Y) {
        std::uint8_t* Out = ADst + std::ptrdiff_t(Y) * ADstStride;
        if (Y % 2 == 0) {
            std::memcpy(Out, Line(Y), AWidth);
            continue;
        }
        const std::uint8_t *M2 = Line(Y - 2), *M1 = Line(Y - 1), *C = Line(Y), *P1 = Line(Y + 1),
                           *P2 = Line(Y + 2);
        for (int X = 0; X < AWidth; ++X) {
            const int Sum = -M2[X] + 4 * M1[X] + 2 * C[X] + 4 * P1[X] - P2[X];
            Out[X] = static_cast<std::uint8_t>(std::clamp((Sum + 4) >> 3, 0, 255));
        }
    }
}

// -1 for a format it does not know; ADst then holds nothing useful.
int DeinterlacePicture(TAVPicture& ADst, const TAVPicture& ASrc, int APixFmt, int AWidth,
                       int AHeight) {
    if (!DeinterlaceableFormat(APixFmt))
        return -1;
    const AVPixFmtDescriptor* Desc =
        avutil::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(APixFmt));
    const int Planes = Desc->nb_components == 1 ? 1 : 3;
    for (int P = 0; P < Planes; ++P) {
        const bool Chroma = P > 0;
        const int W = Chroma ? AV_CEIL_RSHIFT(AWidth, Desc->log2_chroma_w) : AWidth;
        const int H = Chroma ? AV_CEIL_RSHIFT(AHeight, Desc->log2_chroma_h) : AHeight;
        DeinterlacePlane(ADst.data[P], ADst.linesize[P], ASrc.data[P], ASrc.linesize[P], W, H);
    }
    return 0;
}

TAVPicture PictureOf(const AVFrame* AFrame) {
    TAVPicture Picture;
    for (int I = 0; I < 4; ++I) {
        Picture.data[I] = AFrame->data[I];
        Picture.linesize[I] = AFrame->linesize[I];
    }
    return Picture;
}

// AOut becomes a frame with AIn's properties over APicture's planes; it owns
// no buffer, so whoever keeps it makes a copy.
void LayFrame(AVFrame* AOut, const AVFrame* AIn, const TAVPicture& APicture) {
    avutil::av_frame_unref(AOut);
    AOut->format = AIn->format;
    AOut->width = AIn->width;
    AOut->height = AIn->height;
    AOut->pts = AIn->pts;
    AOut->pkt_dts = AIn->pkt_dts;
    AOut->best_effort_timestamp = AIn->best_effort_timestamp;
    AOut->pkt_duration = AIn->pkt_duration;
    AOut->time_base = AIn->time_base;
    AOut->sample_aspect_ratio = AIn->sample_aspect_ratio;
    AOut->key_frame = AIn->key_frame;
    AOut->pict_type = AIn->pict_type;
    AOut->repeat_pict = AIn->repeat_pict;
    AOut->interlaced_frame = AIn->interlaced_frame;
    AOut->top_field_first = AIn->top_field_first;
    AOut->color_range = AIn->color_range;
    AOut->color_primaries = AIn->color_primaries;
    AOut->color_trc = AIn->color_trc;
    AOut->colorspace = AIn->colorspace;
    AOut->chroma_location = AIn->chroma_location;
    for (int I = 0; I < 4; ++I) {
        AOut->data[I] = APicture.data[I];
        AOut->linesize[I] = APicture.linesize[I];
    }
    AOut->extended_data = AOut->data;
}

// Puts the custom hook's bitmap back into APicture; false when the scaler
// refuses the picture's format. A bitmap the handler resized or reformatted
// is left out: its rows no longer match the picture.
bool WriteBackBitmap(TRGBConvertContext& AContext, TAVPicture& APicture, int APixFmt, int AWidth,
                     int AHeight) {
    TBitmap* Bitmap = AContext.Bitmap.get();
    if (Bitmap->Width() != AWidth || Bitmap->Height() != AHeight ||
        Bitmap->PixelFormat() != AContext.BMPPixFmt)
        return true;
    const int RowBytes = AWidth * 3;
    const bool Direct = APixFmt == AContext.RGBPixFmt;
    const TAVPicture& Rows = Direct ? APicture : AContext.RGBPicture;
    for (int Y = 0; Y < AHeight; ++Y)
        std::memcpy(Rows.data[0] + std::ptrdiff_t(Y) * Rows.linesize[0], Bitmap->ScanLine(Y),
                    RowBytes);
    if (Direct)
        return true;
    AContext.fromRGB_convert_ctx = swscale::sws_getCachedContext(
        AContext.fromRGB_convert_ctx, AWidth, AHeight, AContext.RGBPixFmt, AWidth, AHeight,
        static_cast<AVPixelFormat>(APixFmt), SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!AContext.fromRGB_convert_ctx)
        return false;
    swscale::sws_scale(AContext.fromRGB_convert_ctx, AContext.RGBPicture.data,
                       AContext.RGBPicture.linesize, 0, AHeight, APicture.data, APicture.linesize);
    return true;
}

} // namespace

// ---- Picture hooks -------------------------------------------------------------------

void TCustomFFmpeg::PreProcessPicture(TAVInputStream* AIst, AVFrame* APicture) {
    ++FHookFrameNumber;
    if (!APicture || !(Fdo_deinterlace || FOnCustomHook || Fusing_vhook))
        return;
    const int Format = APicture->format, Width = APicture->width, Height = APicture->height;
    const std::int64_t PTS = AIst ? AIst->pts : AV_NOPTS_VALUE;

    const int Size =
        avutil::av_image_get_buffer_size(static_cast<AVPixelFormat>(Format), Width, Height, 1);
    if (!FHookFrame)
        FHookFrame = avutil::av_frame_alloc();
    if (Size <= 0 || !FHookFrame || !GrowAVBuffer(FHookBuf, FHookBufSize, Size)) {
        Log(llError, "hook buf malloc error.");
        return;
    }
    TAVPicture Work;
    avutil::av_image_fill_arrays(Work.data, Work.linesize, FHookBuf,
                                 static_cast<AVPixelFormat>(Format), Width, Height, 1);
    const TAVPicture Decoded = PictureOf(APicture);
    // The decoder may still refer to its own picture, so one that could not
    // be deinterlaced is copied as it is and hooked there.
    bool Copy = !Fdo_deinterlace;
    if (Fdo_deinterlace && DeinterlacePicture(Work, Decoded, Format, Width, Height) < 0) {
        Log(llError, "Deinterlacing failed.");
        Copy = true;
    }
    if (Copy)
        avutil::av_image_copy(Work.data, Work.linesize,
                              const_cast<const std::uint8_t**>(Decoded.data), Decoded.linesize,
                              static_cast<AVPixelFormat>(Format), Width, Height);

    if (FOnCustomHook) {
        RunCustomHook(Work, Format, Width, Height, PTS);
    } else if (Fusing_vhook) {
        TFrameHookPicture Hooked;
        std::copy(std::begin(Work.data), std::end(Work.data), Hooked.data);
        std::copy(std::begin(Work.linesize), std::end(Work.linesize), Hooked.linesize);
        ProcessFrameHooks(FFirstHook, &Hooked, Format, Width, Height, PTS);
    }
    // The caller's picture becomes the processed copy: it lets go of the
    // decoder's buffer and keeps its own properties.
    LayFrame(FHookFrame, APicture, Work);
    avutil::av_frame_unref(APicture);
    LayFrame(APicture, FHookFrame, Work);
}

void TCustomFFmpeg::RunCustomHook(TAVPicture& APicture, int APixFmt, int AWidth, int AHeight,
                                  std::int64_t APTS) {
    TRGBConvertContext& Context = FHookContext;
    bool Stop = false;
    if (!PictureToBitmap(Context, APicture, APixFmt, AWidth, AHeight)) {
        Log(llError, "Cannot initialize the toRGB conversion context");
        Stop = true;
    } else {
        bool Update = true;
        try {
            FOnCustomHook(this, Context.Bitmap.get(), FHookFrameNumber, APTS, Update, Stop);
        } catch (const Exception& E) {
            Log(llError, "Error occurs OnCustomHook: " + E.Message());
            Update = false;
        }
        if (Update && !WriteBackBitmap(Context, APicture, APixFmt, AWidth, AHeight)) {
            Log(llError, "Cannot initialize the fromRGB conversion context");
            Stop = true;
        }
    }
    if (Stop) {
        FOnCustomHook = nullptr;
        Fusing_vhook = false;
    }
}

int TCustomFFmpeg::AddFrameHook(const std::vector<std::string>& AArgs) {
    // The hook gets the words as a C array of 64 entries, null after the last.
    std::vector<std::string> Words(AArgs.begin(),
                                   AArgs.begin() + std::min<std::size_t>(AArgs.size(), 63));
    std::array<char*, 64> Argv{};
    for (std::size_t I = 0; I < Words.size(); ++I)
        Argv[I] = Words[I].data();
    return ::AddFrameHook(FFirstHook, static_cast<int>(Words.size()), Argv.data());
}

// ---- Post hooks ------------------------------------------------------------------------

namespace {

// Frees a previewer outside every lock: its window goes on the
// user-interface thread, which the caller may have to wait for.
void FreePreviewer(TPreviewer*& APreviewer) {
    delete APreviewer;
    APreviewer = nullptr;
}

} // namespace

void TCustomFFmpeg::RunPostHooks(const AVFrame* AFrame, const AVCodecContext* AEnc) {
    // Decide under the lock, deliver without it: showing a frame waits for the
    // user-interface thread, which may itself want the lock.
    TPostHook Serving = phPreview;
    TPreviewer* Previewer = nullptr;
    // A window switched off while no frame was shown in it goes here.
    TPreviewer* Stale = nullptr;
    const auto Decide = [&] {
        std::lock_guard Guard(PostHookLock());
        ApplyPendingPostHooks();
        const TPostHooks Hooks = PostHooks();
        if (!Hooks.Contains(phPreview)) {
            Stale = FPostContext.Previewer;
            FPostContext.Previewer = nullptr;
        }
        if (Hooks.Contains(phBitmap) && FOnPreviewBitmap)
            Serving = phBitmap;
        else if (!Hooks.Contains(phPreview))
            return false;
        FPostContext.preview_cur_time = NowUS();
        // The first frame of a job is always due.
        if (FPostContext.Delivered &&
            FPostContext.preview_cur_time - FPostContext.preview_last_time <= PreviewInterval)
            return false;
        FPostContext.Delivered = true;
        FPostContext.preview_last_time = FPostContext.preview_cur_time;
        if (Serving == phPreview) {
            if (!FPostContext.Previewer)
                FPostContext.Previewer = new TPreviewer;
            Previewer = FPostContext.Previewer;
        }
        FInDelivery = true;
        return true;
    };
    const bool Due = Decide();
    FreePreviewer(Stale);
    if (!Due)
        return;

    bool Converted = false;
    bool Shown = true;
    // Whatever happens in the handler, the delivery ends and a window that
    // is no longer wanted goes.
    const auto EndDelivery = [&] {
        TPreviewer* Retired = nullptr;
        {
            std::lock_guard Guard(PostHookLock());
            FInDelivery = false;
            TPostHooks Hooks = PostHooks();
            if (!Converted || !Shown)
                Hooks = TPostHooks::FromBits(Hooks.Bits() & ~(1u << Serving));
            DoSetPostHooks(Hooks);
            if (!PostHooks().Contains(phPreview) && FPostContext.Previewer) {
                Retired = FPostContext.Previewer;
                FPostContext.Previewer = nullptr;
            }
        }
        FreePreviewer(Retired);
    };
    try {
        const std::int64_t PTS =
            AFrame->pts == AV_NOPTS_VALUE
                ? AV_NOPTS_VALUE
                : avutil::av_rescale_q(AFrame->pts, AEnc->time_base, MicrosecondsBase);
        TRGBConvertContext& Context = FPostContext.Context;
        Converted =
            PictureToBitmap(Context, PictureOf(AFrame), AEnc->pix_fmt, AEnc->width, AEnc->height);
        if (!Converted)
            Log(llError, "Cannot initialize the toRGB conversion context");
        else if (Serving == phBitmap)
            FOnPreviewBitmap(this, Context.Bitmap.get(), FHookFrameNumber, PTS);
        else
            Shown = Previewer->PaintFrame(Context.Bitmap.get(), FHookFrameNumber, PTS);
    } catch (...) {
        EndDelivery();
        throw;
    }
    EndDelivery();
}

void TCustomFFmpeg::RetirePreviewer(TPostHooks ANewHooks) {
    // Called with PostHookLock held. Only the user-interface thread frees a
    // window here, and only when no frame is being shown in it: freeing it
    // waits for nobody there. Anywhere else the job frees it after its
    // current or next delivery, or when it releases its resources.
    if (ANewHooks.Contains(phPreview) || !FPostContext.Previewer || FInDelivery ||
        GetCurrentThreadId() != MainThreadID())
        return;
    FreePreviewer(FPostContext.Previewer);
}

void TCustomFFmpeg::FreePostHookContext() {
    TPreviewer* Previewer;
    {
        std::lock_guard Guard(PostHookLock());
        Previewer = FPostContext.Previewer;
        FPostContext.Previewer = nullptr;
        FPostContext.preview_last_time = 0;
        FPostContext.preview_cur_time = 0;
        FPostContext.Delivered = false;
    }
    ResetRGBContext(FPostContext.Context);
    FreePreviewer(Previewer);
}

void TCustomFFmpeg::ReleaseHooks() {
    ReleaseFrameHooks(FFirstHook);
    if (FHookFrame)
        avutil::av_frame_free(&FHookFrame);
    if (FHookBuf)
        avutil::av_free(FHookBuf);
    FHookBuf = nullptr;
    FHookBufSize = 0;
    ResetRGBContext(FHookContext);
    FreePostHookContext();
}

void TCustomFFmpeg::ResetHooks() {
    FHookFrameNumber = 0;
    Fqp_histogram.fill(0);
    Ftimer_start = 0;
    ResetRGBContext(FHookContext);
    FreePostHookContext();
}
