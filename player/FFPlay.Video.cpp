// The video path: when each picture is due against the master clock.
#include "player/FFPlay.h"

#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

// Pictures further apart than this are a jump in the stream, not a delay.
constexpr double NoSyncThreshold = 10.0;
constexpr double SyncThreshold = 0.01;

} // namespace

double NextFrameTime(TVideoState* is, double APTS) {
    double Delay = APTS - is->frame_last_pts;
    if (Delay <= 0 || Delay >= NoSyncThreshold)
        Delay = is->frame_last_delay;
    else
        is->frame_last_delay = Delay;
    is->frame_last_pts = APTS;
    if ((is->av_sync_type == AV_SYNC_AUDIO_MASTER && is->audio_stream >= 0) ||
        is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
        // Late pictures go at once, early ones wait one more frame.
        const double Diff = PlayerVideoClock(is) - PlayerMasterClock(is);
        const double Threshold = std::max(SyncThreshold, Delay);
        if (std::fabs(Diff) < NoSyncThreshold) {
            if (Diff <= -Threshold)
                Delay = 0;
            else if (Diff >= Threshold)
                Delay = 2 * Delay;
        }
    }
    is->frame_timer = is->frame_timer + Delay;
    return is->frame_timer;
}

void CatchUpFrameTimer(TVideoState* is, double ANow) {
    constexpr double MaxLag = 0.1;
    if (is->frame_timer < ANow - MaxLag)
        is->frame_timer = ANow;
}

namespace {

double WallSeconds() {
    return double(avutil::av_gettime()) / 1000000.0;
}

// Pictures later than this are dropped even with only one queued.
constexpr double LateMargin = 0.5;
constexpr double SkipFactor = 0.05;

// The overlay's planes in Y, U, V order (YV12 keeps V before U).
void OverlayPlanes(const SDL_Overlay* AOverlay, std::uint8_t* AData[3], int ALineSize[3]) {
    for (int I = 0; I < 3; ++I) {
        const int Plane = I == 0 ? 0 : 3 - I;
        AData[I] = AOverlay->pixels[Plane];
        ALineSize[I] = AOverlay->pitches[Plane];
    }
}

void PushPictureEvent(TVideoState* is, int AType) {
    SDL_Event Event{};
    Event.type = Uint8(AType);
    Event.user.data1 = is;
    std::lock_guard Lock(SDLLock());
    if (SDLHeldBy(is->Serial))
        PushPlayerEvent(Event);
}

void RecordSync(TVideoState* is, double APTS) {
    const std::pair<double, double> Entry{APTS, PlayerMasterClock(is)};
    std::lock_guard Lock(is->SyncLock);
    if (is->SyncRing.size() < SyncRingSize)
        is->SyncRing.push_back(Entry);
    else
        is->SyncRing[is->SyncNext] = Entry;
    is->SyncNext = (is->SyncNext + 1) % SyncRingSize;
}

} // namespace

TDropDecision DecideDrop(int AFrameDrop, double ATime, double ANext, int AQueued, bool ASeekDone,
                         bool AIsDevice) {
    TDropDecision Decision;
    Decision.Late = (AFrameDrop && ATime > ANext && !AIsDevice) || ASeekDone;
    Decision.Drop = Decision.Late && (AQueued > 1 || ATime > ANext + LateMargin || ASeekDone);
    return Decision;
}

int OutputPicture(TVideoState* is, AVFrame* AFrame, double APTS, std::int64_t APos) {
    if (APTS != 0)
        is->video_clock = APTS;
    else
        APTS = is->video_clock;
    // One frame's time, and half a frame more per repeated field.
    const AVRational Rate = is->video_st->avg_frame_rate.num ? is->video_st->avg_frame_rate
                                                             : is->video_st->r_frame_rate;
    const double FrameDelay = Rate.num && Rate.den ? av_q2d(av_inv_q(Rate)) : 0;
    is->video_clock = is->video_clock + FrameDelay + AFrame->repeat_pict * FrameDelay * 0.5;
    return QueuePicture(is, AFrame, APTS, APos);
}

int QueuePicture(TVideoState* is, AVFrame* AFrame, double APTS, std::int64_t APos) {
    sdl::SDL_mutexP(is->pictq_mutex);
    if (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->refresh)
        is->skip_frames = std::max(1.0 - SkipFactor, is->skip_frames * (1.0 - SkipFactor));
    while (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->videoq.abort_request)
        sdl::SDL_CondWait(is->pictq_cond, is->pictq_mutex);
    sdl::SDL_mutexV(is->pictq_mutex);
    if (is->videoq.abort_request)
        return -1;

    TVideoPicture* vp = &is->pictq[is->pictq_windex];
    // The sink's pictures, cut to even numbers.
    const int Width = AFrame->width & ~1;
    const int Height = AFrame->height & ~1;
    if (!vp->bmp || vp->width != Width || vp->height != Height) {
        // Overlays are made on the play thread, against its surface.
        vp->allocated = 0;
        is->alloc_width = Width;
        is->alloc_height = Height;
        PushPictureEvent(is, PlayerAllocEvent);
        sdl::SDL_mutexP(is->pictq_mutex);
        while (!vp->allocated && !is->videoq.abort_request)
            sdl::SDL_CondWait(is->pictq_cond, is->pictq_mutex);
        sdl::SDL_mutexV(is->pictq_mutex);
        if (is->videoq.abort_request)
            return -1;
    }
    if (!vp->bmp)
        return 0;

    sdl::SDL_mutexP(vp->lock);
    sdl::SDL_LockYUVOverlay(vp->bmp);
    std::uint8_t* Dest[3];
    int DestLineSize[3];
    OverlayPlanes(vp->bmp, Dest, DestLineSize);
    const std::uint8_t* Source[3];
    int SourceLineSize[3];
    const bool Flip = is->Owner->VerticalFlip();
    for (int I = 0; I < 3; ++I) {
        const int Rows = I == 0 ? AFrame->height : (AFrame->height + 1) / 2;
        Source[I] = AFrame->data[I];
        SourceLineSize[I] = AFrame->linesize[I];
        if (Flip) {
            Source[I] += std::ptrdiff_t(Rows - 1) * AFrame->linesize[I];
            SourceLineSize[I] = -AFrame->linesize[I];
        }
    }
    // The sink hands out YUV 4:2:0 at least the overlay's size.
    const int Widths[3] = {Width, Width / 2, Width / 2};
    const int Heights[3] = {Height, Height / 2, Height / 2};
    for (int I = 0; I < 3; ++I)
        for (int Y = 0; Y < Heights[I]; ++Y)
            std::memcpy(Dest[I] + std::ptrdiff_t(Y) * DestLineSize[I],
                        Source[I] + std::ptrdiff_t(Y) * SourceLineSize[I], std::size_t(Widths[I]));
    if (is->Owner->Hook())
        is->Owner->PlayerFrameHook(is, Source, SourceLineSize, AVPixelFormat(AFrame->format), Dest,
                                   DestLineSize, Width, Height, APTS);
    sdl::SDL_UnlockYUVOverlay(vp->bmp);
    vp->pts = APTS;
    vp->pos = APos;
    vp->sar = AFrame->sample_aspect_ratio;
    sdl::SDL_mutexV(vp->lock);

    is->pictq_windex = (is->pictq_windex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
    sdl::SDL_mutexP(is->pictq_mutex);
    CatchUpFrameTimer(is, WallSeconds());
    vp->target_clock = NextFrameTime(is, APTS);
    is->pictq_size += 1;
    sdl::SDL_mutexV(is->pictq_mutex);
    is->PictureQueued = true;
    return 0;
}

void TCustomPlayer::AllocPicture(TVideoState* is) {
    TVideoPicture* vp = &is->pictq[is->pictq_windex];
    sdl::SDL_mutexP(vp->lock);
    if (vp->bmp)
        sdl::SDL_FreeYUVOverlay(vp->bmp);
    vp->width = is->alloc_width;
    vp->height = is->alloc_height;
    vp->pix_fmt = AV_PIX_FMT_YUV420P;
    vp->bmp = Fscreen ? sdl::SDL_CreateYUVOverlay(vp->width, vp->height, SDL_YV12_OVERLAY, Fscreen)
                      : nullptr;
    sdl::SDL_mutexV(vp->lock);
    sdl::SDL_mutexP(is->pictq_mutex);
    vp->allocated = 1;
    sdl::SDL_CondSignal(is->pictq_cond);
    sdl::SDL_mutexV(is->pictq_mutex);
}

int PlayerRefreshThread(void* AState) {
    auto* is = static_cast<TVideoState*>(AState);
    SetPlaybackThread();
    while (!is->abort_request) {
        if (!is->refresh.exchange(1))
            PushPictureEvent(is, PlayerRefreshEvent);
        const bool AudioDisplay = is->audio_stream >= 0 && is->show_audio;
        Sleep(AudioDisplay ? std::uint32_t(std::max(1, is->Owner->rdftspeed())) : 5);
    }
    is->RefreshThreadDone = true;
    return 0;
}

void TCustomPlayer::RefreshVideo(TVideoState* is, bool AAdvance) {
    bool Dropped = false;
    if (is->video_stream >= 0) {
        for (;;) {
            if (is->pictq_size == 0) {
                if (!AAdvance)
                    DisplayVideo(is);
                break;
            }
            const double Time = WallSeconds();
            TVideoPicture* vp = &is->pictq[is->pictq_rindex];
            if (Time < vp->target_clock)
                return;
            is->video_current_pts = vp->pts;
            is->video_current_pts_drift = vp->pts - Time;
            is->video_current_pos = vp->pos;
            const double Next = is->pictq_size > 1
                                    ? is->pictq[(is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE]
                                          .target_clock.load()
                                    : vp->target_clock + is->video_clock - vp->pts;
            const TDropDecision Decision =
                DecideDrop(Fframedrop, Time, Next, is->pictq_size, is->seek_done, is->IsDevice);
            if (Decision.Late) {
                is->skip_frames = is->skip_frames * (1.0 + SkipFactor);
                if (Decision.Drop) {
                    is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
                    sdl::SDL_mutexP(is->pictq_mutex);
                    is->pictq_size -= 1;
                    sdl::SDL_CondSignal(is->pictq_cond);
                    sdl::SDL_mutexV(is->pictq_mutex);
                    is->PicturesDropped += 1;
                    Dropped = true;
                    continue;
                }
            }
            RetireSubtitles(is);
            DisplayVideo(is);
            if (AAdvance) {
                is->PicturesShown += 1;
                RecordSync(is, vp->pts);
                is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
                sdl::SDL_mutexP(is->pictq_mutex);
                is->pictq_size -= 1;
                sdl::SDL_CondSignal(is->pictq_cond);
                sdl::SDL_mutexV(is->pictq_mutex);
            }
            break;
        }
    } else if (is->audio_stream >= 0) {
        DisplayVideo(is);
    } else {
        return;
    }
    if (!Dropped)
        UpdatePosition(is);
}

void TCustomPlayer::DisplayVideo(TVideoState* is) {
    if (!Fscreen)
        OpenVideoSurface(is, false);
    if (is->audio_stream >= 0 && is->show_audio)
        DisplayAudio(is);
    else if (is->video_stream >= 0)
        DisplayVideoImage(is);
}

void TCustomPlayer::DisplayVideoImage(TVideoState* is) {
    SDL_Surface* Surface = Fscreen;
    // With nothing queued (paused, a redraw) the picture on show is drawn
    // again, not the older one its slot at the read position still holds.
    const int Slot =
        is->pictq_size == 0 && is->pictq_shown >= 0 ? is->pictq_shown : is->pictq_rindex;
    TVideoPicture* vp = &is->pictq[Slot];
    if (!Surface || !vp->bmp)
        return;
    const int AreaWidth = is->width, AreaHeight = is->height;
    double Aspect;
    if (FAspectRatio < 0 && AreaWidth && AreaHeight) {
        Aspect = double(AreaWidth) / AreaHeight;
    } else {
        Aspect = FAspectRatio;
        if (Aspect <= 0) {
            Aspect = vp->sar.num ? av_q2d(vp->sar) : 0;
            if (Aspect <= 0)
                Aspect = 1;
            Aspect = Aspect * vp->width / vp->height;
        }
    }
    int H = AreaHeight;
    int W = int(std::lrint(H * Aspect)) & ~1;
    if (W > AreaWidth) {
        W = AreaWidth;
        H = int(std::lrint(W / Aspect)) & ~1;
    }
    const int X = (AreaWidth - W) / 2, Y = (AreaHeight - H) / 2;
    if (W <= 0 || H <= 0)
        return;
    const SDL_Rect Rect{Sint16(is->xleft + X), Sint16(is->ytop + Y), Uint16(W), Uint16(H)};
    is->no_background = 0;

    sdl::SDL_mutexP(vp->lock);
    std::uint8_t* Planes[3];
    int LineSizes[3];
    OverlayPlanes(vp->bmp, Planes, LineSizes);
    sdl::SDL_LockYUVOverlay(vp->bmp);
    BlendDueSubtitle(is, Planes, LineSizes, vp->width, vp->height, vp->pts);
    sdl::SDL_UnlockYUVOverlay(vp->bmp);
    is->pictq_shown = Slot;
    is->DisplayContext = swscale::sws_getCachedContext(is->DisplayContext, vp->width, vp->height,
                                                       AV_PIX_FMT_YUV420P, W, H, AV_PIX_FMT_BGR0,
                                                       SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!is->DisplayContext) {
        if (!is->DisplayContextFailed)
            ReportError("Cannot initialize the conversion context", false);
        is->DisplayContextFailed = true;
    } else {
        sdl::SDL_LockSurface(Surface);
        std::uint8_t* Dest[1] = {static_cast<std::uint8_t*>(Surface->pixels) +
                                 std::ptrdiff_t(Rect.y) * Surface->pitch + Rect.x * 4};
        int DestLineSize[1] = {Surface->pitch};
        swscale::sws_scale(is->DisplayContext, Planes, LineSizes, 0, vp->height, Dest,
                           DestLineSize);
        sdl::SDL_UnlockSurface(Surface);
        // What is on show, for CurrentFrame.
        std::lock_guard Shown(is->Shown.Lock);
        const int Widths[3] = {vp->width, vp->width / 2, vp->width / 2};
        const int Heights[3] = {vp->height, vp->height / 2, vp->height / 2};
        for (int I = 0; I < 3; ++I) {
            is->Shown.Planes[I].resize(std::size_t(Widths[I]) * Heights[I]);
            for (int Row = 0; Row < Heights[I]; ++Row)
                std::memcpy(&is->Shown.Planes[I][std::size_t(Row) * Widths[I]],
                            Planes[I] + std::ptrdiff_t(Row) * LineSizes[I], std::size_t(Widths[I]));
        }
        is->Shown.Width = vp->width;
        is->Shown.Height = vp->height;
        is->Shown.PTS = vp->pts;
        is->Shown.Generation += 1;
        is->Shown.Rect = Rect;
    }
    sdl::SDL_mutexV(vp->lock);
    PresentRect(Rect);
}

// The host draws on each picture as an RGB bitmap, which goes back into the
// overlay. The handler runs here, on the video thread.
void TCustomPlayer::PlayerFrameHook(TVideoState* is, const std::uint8_t* const ASource[3],
                                    const int ASourceLineSize[3], AVPixelFormat ASourceFormat,
                                    std::uint8_t* const ADest[3], const int ADestLineSize[3],
                                    int AWidth, int AHeight, double APTS) {
    THookEvent Handler = OnHook();
    if (!Handler)
        return;
    TRGBConvertContext& Context = FHookContext;
    if (!Context.Bitmap)
        Context.Bitmap = NewFrameBitmap(AWidth, AHeight, pf24bit);
    TBitmap* Bitmap = Context.Bitmap.get();
    Bitmap->SetSize(AWidth, AHeight);
    Context.toRGB_convert_ctx = swscale::sws_getCachedContext(
        Context.toRGB_convert_ctx, AWidth, AHeight, ASourceFormat, AWidth, AHeight,
        AV_PIX_FMT_BGR24, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!Context.toRGB_convert_ctx) {
        ReportError("Cannot initialize the toRGB conversion context", false);
        return;
    }
    // The bitmap's rows, top-down.
    std::uint8_t* Rows[1] = {static_cast<std::uint8_t*>(Bitmap->ScanLine(0))};
    int RowSize[1] = {AHeight > 1 ? int(static_cast<std::uint8_t*>(Bitmap->ScanLine(1)) - Rows[0])
                                  : (AWidth * 3 + 3) / 4 * 4};
    swscale::sws_scale(Context.toRGB_convert_ctx, ASource, ASourceLineSize, 0, AHeight, Rows,
                       RowSize);
    Bitmap->Canvas()->Lock();
    try {
        Handler(this, Bitmap, std::llround(APTS * 1000000) - is->StartTime);
    } catch (const Exception& E) {
        Bitmap->Canvas()->Unlock();
        // The picture stays as decoded.
        ReportError("Error occurs OnHook: " + E.Message(), false);
        return;
    }
    Bitmap->Canvas()->Unlock();
    Context.fromRGB_convert_ctx = swscale::sws_getCachedContext(
        Context.fromRGB_convert_ctx, AWidth, AHeight, AV_PIX_FMT_BGR24, AWidth, AHeight,
        AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!Context.fromRGB_convert_ctx) {
        ReportError("Cannot initialize the fromRGB conversion context", false);
        return;
    }
    // Exact rounding on the way back, so white stays white.
    const std::uint8_t* Back[1] = {Rows[0]};
    swscale::sws_scale(Context.fromRGB_convert_ctx, Back, RowSize, 0, AHeight, ADest,
                       ADestLineSize);
}
