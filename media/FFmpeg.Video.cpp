// Picture output: the video sync method decides how many frames a decoded
// picture becomes, the picture is cropped and rescaled to the encoder's size
// and format, and each frame is encoded and written.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/SwScaleStubs.h"
#include "platform/core/Conversions.h"
#include "platform/core/Format.h"

#include <cmath>

namespace {

struct TFrameDeleter {
    void operator()(AVFrame* AFrame) const { avutil::av_frame_free(&AFrame); }
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameDeleter>;

} // namespace

SwsContext* TCustomFFmpeg::NewRescaler(int AWidth, int AHeight, AVPixelFormat AFormat,
                                       const AVCodecContext* AEnc) {
    std::int64_t Flags = Fsws_flags;
    if (FOptions.sws_opts && avutil::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &Flags) >= 0)
        Fsws_flags = static_cast<int>(Flags);
    SwsContext* Context = swscale::sws_alloc_context();
    if (!Context)
        return nullptr;
    // Rescaling a large picture on one core would hold up the whole job while
    // the codecs' threads wait for it; the library splits it into slices over
    // as many threads as there are cores (0: automatic), as the codecs do.
    const bool Set = avutil::av_opt_set_int(Context, "srcw", AWidth, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "srch", AHeight, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "src_format", AFormat, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "dstw", AEnc->width, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "dsth", AEnc->height, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "dst_format", AEnc->pix_fmt, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "sws_flags", Fsws_flags, 0) >= 0 &&
                     avutil::av_opt_set_int(Context, "threads", 0, 0) >= 0;
    if (!Set || swscale::sws_init_context(Context, nullptr, nullptr) < 0) {
        swscale::sws_freeContext(Context);
        return nullptr;
    }
    return Context;
}

void TCustomFFmpeg::Rescale(TAVOutputStream* AOst, const AVFrame* ASource) {
    // Only the frame interface runs the slices in parallel; it needs counted
    // buffers on both sides and a source of the size the rescaler was made for.
    if (ASource->buf[0] && AOst->pict_tmp->buf[0] && ASource->width == AOst->resample_width &&
        ASource->height == AOst->resample_height &&
        swscale::sws_scale_frame(AOst->img_resample_ctx, AOst->pict_tmp, ASource) >= 0)
        return;
    swscale::sws_scale(AOst->img_resample_ctx, ASource->data, ASource->linesize, 0,
                       AOst->resample_height, AOst->pict_tmp->data, AOst->pict_tmp->linesize);
}

bool TCustomFFmpeg::ConstantFrameRate(const AVFormatContext* AContext) const {
    return Fvideo_sync_method == 1 ||
           (Fvideo_sync_method < 0 && !(AContext->oformat->flags & AVFMT_VARIABLE_FPS));
}

int TCustomFFmpeg::VideoOut(AVFormatContext* AContext, TAVOutputStream* AOst, TAVInputStream* AIst,
                            AVFrame* APicture) {
    AVCodecContext* Enc = AOst->enc_ctx;
    const double SyncIpts = (static_cast<double>(AOst->sync_ist->pts - Fstart_time) / 1000000.0) /
                            av_q2d(Enc->time_base);
    int Frames = 1;
    if (Fvideo_sync_method != 0) {
        const double Delta = SyncIpts - static_cast<double>(AOst->sync_opts);
        const bool Variable =
            Fvideo_sync_method == 2 ||
            (Fvideo_sync_method < 0 && (AContext->oformat->flags & AVFMT_VARIABLE_FPS));
        if (Delta < -1.1)
            Frames = 0;
        else if (Variable) {
            if (Delta <= -0.6)
                Frames = 0;
            else if (Delta > 0.6)
                AOst->sync_opts = Round(SyncIpts);
        } else if (Delta > 1.1) {
            Frames = static_cast<int>(Round(Delta));
        }
        if (Frames == 0) {
            ++Fnb_frames_drop;
            FShowDupOrDrop = true;
            if (Fverbose > 2)
                Log(llVerbose, "*** drop!");
        } else if (Frames > 1) {
            Fnb_frames_dup += Frames - 1;
            FShowDupOrDrop = true;
            if (Fverbose > 2)
                Log(llVerbose, Format("*** %d dup!", {Frames - 1}));
        }
    } else {
        AOst->sync_opts = Round(SyncIpts);
    }
    // A picture is only repeated once the next one shows how far behind the
    // output is; the last picture has no next one, so the output keeps it
    // to run on to the end of its time (FinishPictures).
    if (ConstantFrameRate(AContext)) {
        if (!AOst->last_picture && !(AOst->last_picture = avutil::av_frame_alloc()))
            throw FFmpegException("Video encoding failed");
        avutil::av_frame_unref(AOst->last_picture);
        if (avutil::av_frame_ref(AOst->last_picture, APicture) < 0)
            throw FFmpegException("Video encoding failed");
        AOst->last_picture_end = AOst->sync_ist->next_pts;
    }
    Frames = std::min(Frames, Fmax_frames[AVMEDIA_TYPE_VIDEO] - AOst->frame_number);
    if (Frames <= 0)
        return 0;
    return EncodePicture(AContext, AOst, AIst, APicture, Frames);
}

// The end of a constant-rate output: the last picture is repeated until the
// output reaches the end of that picture's time, as far as the limits go.
void TCustomFFmpeg::FinishPictures(AVFormatContext* AContext, TAVOutputStream* AOst) {
    TFramePtr Last(AOst->last_picture);
    AOst->last_picture = nullptr;
    // Joined parts keep their own timeline: each part starts where the
    // previous one's written time ends, shifted by the sound encoder's
    // priming, so their pictures are not run on.
    if (!Last || !Last->buf[0] || FBroken || AOst->last_picture_end == AV_NOPTS_VALUE ||
        !ConstantFrameRate(AContext) || FJoinMode)
        return;
    std::int64_t End = AOst->last_picture_end;
    if (Frecording_time != INT64_MAX)
        End = std::min(End, Fstart_time + Frecording_time);
    const double Ahead =
        (static_cast<double>(End - Fstart_time) / 1000000.0) / av_q2d(AOst->enc_ctx->time_base) -
        static_cast<double>(AOst->sync_opts);
    if (!(Ahead > 0.5))
        return;
    const int Frames = static_cast<int>(
        std::min<double>(std::llrint(Ahead), Fmax_frames[AVMEDIA_TYPE_VIDEO] - AOst->frame_number));
    if (Frames <= 0)
        return;
    Fnb_frames_dup += Frames;
    FShowDupOrDrop = true;
    if (Fverbose > 2)
        Log(llVerbose, Format("*** %d dup!", {Frames}));
    const int Size = EncodePicture(AContext, AOst, AOst->sync_ist, Last.get(), Frames);
    if (!Fvstats_filename.empty() && Size > 0)
        WriteVideoStats(AOst, Size);
}

int TCustomFFmpeg::EncodePicture(AVFormatContext* AContext, TAVOutputStream* AOst,
                                 TAVInputStream* AIst, AVFrame* APicture, int AFrames) {
    AVCodecContext* Enc = AOst->enc_ctx;
    const bool Changed =
        APicture->height - (AOst->topBand + AOst->bottomBand) != AOst->resample_height ||
        APicture->width - (AOst->leftBand + AOst->rightBand) != AOst->resample_width ||
        APicture->format != AOst->resample_pix_fmt;
    // The graph hands over pictures of the encoder's size already. Without
    // it a picture of another size or format is brought to the encoder's,
    // which keeps what it was opened with: the bands are scaled with the
    // picture and a rescaler is made for it, before anything is cropped.
    if (Changed && !FEnableFilter) {
        const char* Name =
            avutil::av_get_pix_fmt_name(static_cast<AVPixelFormat>(APicture->format));
        Log(llQuiet, Format("Input Stream #%d.%d frame size changed to %dx%d, %s",
                            {AIst->file_index, AIst->index, APicture->width, APicture->height,
                             std::string(Name ? Name : "none")}));
        if (!AOst->pict_tmp)
            AOst->pict_tmp = AllocEncoderPicture(Enc);
        AOst->video_resample = 1;
        const auto Even = [](int AValue) { return AValue & ~1; };
        AOst->topBand =
            Even(APicture->height * AOst->original_topBand / std::max(AOst->original_height, 1));
        AOst->bottomBand =
            Even(APicture->height * AOst->original_bottomBand / std::max(AOst->original_height, 1));
        AOst->leftBand =
            Even(APicture->width * AOst->original_leftBand / std::max(AOst->original_width, 1));
        AOst->rightBand =
            Even(APicture->width * AOst->original_rightBand / std::max(AOst->original_width, 1));
        AOst->resample_height = APicture->height - AOst->topBand - AOst->bottomBand;
        AOst->resample_width = APicture->width - AOst->leftBand - AOst->rightBand;
        AOst->resample_pix_fmt = APicture->format;
        swscale::sws_freeContext(AOst->img_resample_ctx);
        AOst->img_resample_ctx = NewRescaler(AOst->resample_width, AOst->resample_height,
                                             static_cast<AVPixelFormat>(APicture->format), Enc);
        if (!AOst->img_resample_ctx)
            throw FFmpegException("Cannot get resampling context");
    }

    // Cropping moves the plane pointers of a new reference; nothing is copied.
    TFramePtr Cropped;
    AVFrame* Formatted = APicture;
    if (!FEnableFilter && AOst->video_crop) {
        Cropped.reset(avutil::av_frame_clone(APicture));
        bool Failed = !Cropped;
        if (Cropped) {
            Cropped->crop_top = AOst->topBand;
            Cropped->crop_bottom = AOst->bottomBand;
            Cropped->crop_left = AOst->leftBand;
            Cropped->crop_right = AOst->rightBand;
            Failed = avutil::av_frame_apply_cropping(Cropped.get(), AV_FRAME_CROP_UNALIGNED) < 0;
        }
        if (Failed) {
            if (Fexit_on_error)
                throw FFmpegException("error cropping picture");
            Log(llError, "error cropping picture");
            return 0;
        }
        Formatted = Cropped.get();
    }

    AVFrame* Final = Formatted;
    if (!FEnableFilter && AOst->video_resample) {
        // An encoder with delay may still hold the previous picture.
        if (avutil::av_frame_make_writable(AOst->pict_tmp) < 0)
            throw FFmpegException("Cannot allocate temp picture, check pix fmt");
        Rescale(AOst, Formatted);
        Final = AOst->pict_tmp;
    }

    int OutSize = 0;
    const AVCodecContext* VideoOptions = FOptions.avcodec_opts[otVideo];
    const bool Interlaced =
        VideoOptions &&
        (VideoOptions->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME));
    for (int I = 0; I < AFrames; ++I) {
        if (FBroken)
            break;
        TFramePtr Frame(avutil::av_frame_alloc());
        if (!Frame || avutil::av_frame_ref(Frame.get(), Final) < 0)
            throw FFmpegException("Video encoding failed");
        Frame->interlaced_frame = APicture->interlaced_frame;
        if (Interlaced)
            Frame->top_field_first =
                Ftop_field_first == -1 ? APicture->top_field_first : Ftop_field_first;
        Frame->quality =
            static_cast<int>(Round(Fsame_quality ? AIst->quality : AOst->slot->Quality));
        Frame->pict_type = AV_PICTURE_TYPE_NONE;
        Frame->pts = AOst->sync_opts;
        Frame->sample_aspect_ratio = Enc->sample_aspect_ratio;
        const std::int64_t Before = Fvideo_size;
        const int Size = EncodeFrame(AContext, AOst, Frame.get());
        if (Fvideo_size != Before) {
            OutSize = Size;
            if (!PostHooks().Empty())
                RunPostHooks(Frame.get(), Enc);
        }
        ++AOst->sync_opts;
        ++AOst->frame_number;
    }
    return OutSize;
}
