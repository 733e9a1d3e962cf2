// The playback core: one playback's state, the read thread, the decoders of
// its streams, seeking and pausing, and the start and end of a playback.
#include "player/FFPlay.h"

#include "media/AVFilterStubs.h"
#include "media/CodecLock.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "media/UnicodeProtocol.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

// Queue limits of the read thread.
constexpr int MaxQueueBytes = 15 * 1024 * 1024;
constexpr int MinAudioQueueBytes = 320 * 1024;
constexpr int MinFrames = 5;

double WallSeconds() {
    return double(avutil::av_gettime()) / 1000000.0;
}

} // namespace

TVideoState::TVideoState() = default;

TVideoState::~TVideoState() {
    for (TVideoPicture& Picture : pictq)
        if (Picture.lock)
            sdl::SDL_DestroyMutex(Picture.lock);
    if (pictq_mutex)
        sdl::SDL_DestroyMutex(pictq_mutex);
    if (pictq_cond)
        sdl::SDL_DestroyCond(pictq_cond);
    if (subpq_mutex)
        sdl::SDL_DestroyMutex(subpq_mutex);
    if (subpq_cond)
        sdl::SDL_DestroyCond(subpq_cond);
}

// ---- Clocks ------------------------------------------------------------------------------

double PlayerAudioClock(TVideoState* is) {
    std::lock_guard Lock(is->AudioClockLock);
    double Clock = is->audio_clock;
    if (is->audio_stream >= 0) {
        const int BytesPerSecond = is->audio_sample_rate * 2 * is->audio_channels;
        if (BytesPerSecond > 0)
            Clock -= double(is->audio_buf_size - is->audio_buf_index) / BytesPerSecond;
    }
    return Clock;
}

double PlayerVideoClock(TVideoState* is) {
    if (is->paused)
        return is->video_current_pts;
    const double Drift = is->video_current_pts_drift;
    if (Drift != 0)
        return Drift + WallSeconds();
    return double(is->StartTime) / 1000000.0;
}

double PlayerExternalClock(TVideoState* is) {
    return is->external_clock + double(avutil::av_gettime() - is->external_clock_time) * 0.000001;
}

double PlayerMasterClock(TVideoState* is) {
    switch (is->av_sync_type) {
    case AV_SYNC_VIDEO_MASTER:
        return is->video_stream >= 0 ? PlayerVideoClock(is) : PlayerAudioClock(is);
    case AV_SYNC_AUDIO_MASTER:
        return is->audio_stream >= 0 ? PlayerAudioClock(is) : PlayerVideoClock(is);
    case AV_SYNC_EXTERNAL_CLOCK:
        break;
    }
    return PlayerExternalClock(is);
}

// ---- Starting and ending a playback ----------------------------------------------------------

bool TCustomPlayer::OpenPlayerStream(const std::string& AFileName, bool APaused,
                                     std::uint64_t ASerial) {
    std::unique_ptr<TVideoState> State(new (std::nothrow) TVideoState);
    if (!State) {
        ReportError("av_mallocz() failed.", true);
        return false;
    }
    TVideoState* is = State.get();
    is->Owner = this;
    if (APaused) {
        is->paused = 1;
        is->open_paused = 1;
        Fstep = false;
    }
    is->filename = AFileName;
    is->iformat = FFormat;
    is->xleft = is->ytop = 0;
    is->pictq_mutex = sdl::SDL_CreateMutex();
    is->pictq_cond = sdl::SDL_CreateCond();
    is->subpq_mutex = sdl::SDL_CreateMutex();
    is->subpq_cond = sdl::SDL_CreateCond();
    for (TVideoPicture& Picture : is->pictq)
        Picture.lock = sdl::SDL_CreateMutex();
    is->av_sync_type = Fav_sync_type;
    is->Serial = ASerial;
    is->AudioInitError = FAudioInitError;
    // Every state of the playback has a ring to go to from the start.
    is->Channel = std::make_shared<TPlayEventChannel>();
    {
        std::lock_guard Lock(FChannelLock);
        FChannel = is->Channel;
    }
    is->parse_tid = sdl::SDL_CreateThread(PlayerReadThread, is);
    if (!is->parse_tid) {
        ReportError("SDL_CreateThread() failed.", true);
        std::lock_guard Lock(FChannelLock);
        FChannel.reset();
        return false;
    }
    const bool Main = GetCurrentThreadId() == MainThreadID();
    auto WaitWhile = [&](int AValue) {
        while (is->Opened == AValue) {
            if (Main) {
                CheckSynchronize();
                PumpMessages();
            }
            Sleep(10);
        }
    };
    WaitWhile(0);
    if (is->Opened > 0) {
        FVideoState = State.release();
        FPlaybackSerial = ASerial;
        if (!is->video_st && !FDisableDisplay)
            is->show_audio = FShowAudio;
        is->refresh_tid = sdl::SDL_CreateThread(PlayerRefreshThread, is);
        return true;
    }
    WaitWhile(-1);
    JoinPlayerThread(is->parse_tid, is->ReadThreadDone);
    {
        std::lock_guard Lock(FChannelLock);
        FChannel.reset();
    }
    State.reset();
    ResetState();
    return false;
}

void ClosePlayerStream(TVideoState* is) {
    is->abort_request = 1;
    JoinPlayerThread(is->refresh_tid, is->RefreshThreadDone);
    JoinPlayerThread(is->parse_tid, is->ReadThreadDone);
    FreeSubtitleQueue(is);
    avcodec::av_rdft_end(is->rdft);
    is->rdft = nullptr;
    for (TVideoPicture& Picture : is->pictq)
        if (Picture.bmp) {
            sdl::SDL_FreeYUVOverlay(Picture.bmp);
            Picture.bmp = nullptr;
        }
    swscale::sws_freeContext(is->DisplayContext);
    is->DisplayContext = nullptr;
}

// ---- The read thread ---------------------------------------------------------------------

int DecodeInterrupt(void* AState) {
    return static_cast<TVideoState*>(AState)->abort_request.load();
}

namespace {

// The stream of each kind to play: the n-th of its kind, or FFmpeg's best.
// Attached pictures (cover art) are never chosen.
int ChooseStream(AVFormatContext* ic, AVMediaType AType, int AWanted) {
    auto Usable = [&](unsigned I) {
        return ic->streams[I]->codecpar->codec_type == AType &&
               !(ic->streams[I]->disposition & AV_DISPOSITION_ATTACHED_PIC);
    };
    if (AWanted >= 0) {
        int Count = 0;
        for (unsigned I = 0; I < ic->nb_streams; ++I)
            if (Usable(I) && Count++ == AWanted)
                return int(I);
        return -1;
    }
    const int Best = avformat::av_find_best_stream(ic, AType, -1, -1, nullptr, 0);
    if (Best < 0 || !Usable(unsigned(Best)))
        return -1;
    return Best;
}

bool QueuesHaveRoom(TVideoState* is) {
    const int Total = is->audioq.size + is->videoq.size + is->subtitleq.size;
    if (Total > MaxQueueBytes)
        return false;
    return (is->audio_stream >= 0 && is->audioq.size <= MinAudioQueueBytes) ||
           (is->video_stream >= 0 && is->videoq.nb_packets <= MinFrames) ||
           (is->subtitle_stream >= 0 && is->subtitleq.nb_packets <= MinFrames);
}

void DoSeek(TVideoState* is, bool& AEndOfFile) {
    TCustomPlayer* Owner = is->Owner;
    AVFormatContext* ic = is->ic;
    const std::int64_t Target = is->seek_pos;
    const std::int64_t Min = is->seek_rel > 0 ? Target - is->seek_rel + 2 : INT64_MIN;
    const std::int64_t Max = is->seek_rel < 0 ? Target - is->seek_rel - 2 : INT64_MAX;
    int Result = avformat::avformat_seek_file(ic, -1, Min, Target, Max, is->seek_flags);
    if (Result < 0)
        Result = avformat::av_seek_frame(ic, -1, Target, is->seek_flags);
    if (Result < 0)
        Result = avformat::av_seek_frame(ic, -1, Target, is->seek_flags ^ AVSEEK_FLAG_BACKWARD);
    if (Result < 0) {
        Owner->ReportError(is->filename + ": error while seeking", false);
        if (is->video_stream >= 0)
            Owner->PictEvent().SetEvent();
    } else {
        if (is->audio_stream >= 0) {
            PacketQueueFlush(is->audioq);
            PacketQueuePutFlush(is->audioq);
        }
        if (is->subtitle_stream >= 0) {
            PacketQueueFlush(is->subtitleq);
            PacketQueuePutFlush(is->subtitleq);
        }
        if (is->video_stream >= 0) {
            is->seek_flushed = 0;
            PacketQueueFlush(is->videoq);
            PacketQueuePutFlush(is->videoq);
            Owner->PictEvent().ResetEvent();
        }
    }
    is->ErrorEOF = 0;
    is->ReachEOF = 0;
    is->seek_req = 0;
    is->seek_done = 1;
    Owner->SeekEvent().SetEvent();
    if (is->video_stream < 0)
        Owner->SetSeeking(false);
    AEndOfFile = false;
}

// Empty end-of-stream packets keep the video decoder noticing the end.
void AtEndOfInput(TVideoState* is) {
    if (is->video_stream >= 0) {
        AVPacket* Empty = avcodec::av_packet_alloc();
        if (Empty) {
            Empty->stream_index = is->video_stream;
            PacketQueuePut(is->videoq, Empty);
            avcodec::av_packet_free(&Empty);
        }
        is->Owner->PictEvent().SetEvent();
    }
    Sleep(10);
    if (is->audioq.size + is->videoq.size + is->subtitleq.size == 0)
        is->ReachEOF = 1;
}

// A packet goes to the queue of its stream, under the stream lock so that a
// switch never destroys a queue in between.
void RoutePacket(TVideoState* is, AVPacket* APacket) {
    std::lock_guard Lock(is->StreamLock);
    if (APacket->stream_index == is->audio_stream)
        PacketQueuePut(is->audioq, APacket);
    else if (APacket->stream_index == is->video_stream)
        PacketQueuePut(is->videoq, APacket);
    else if (APacket->stream_index == is->subtitle_stream)
        PacketQueuePut(is->subtitleq, APacket);
    avcodec::av_packet_unref(APacket);
}

// Answers false when the input failed; the text is in LastErrMsg.
bool OpenInput(TVideoState* is) {
    TCustomPlayer* Owner = is->Owner;
    AVFormatContext* ic = avformat::avformat_alloc_context();
    if (!ic) {
        Owner->SetLastErrMsg(FormatAVError(is->filename, AVERROR(ENOMEM)));
        return false;
    }
    ic->interrupt_callback.callback = DecodeInterrupt;
    ic->interrupt_callback.opaque = is;
    InstallUnicodeIO(ic);
    AVDictionary* Options = nullptr;
    if (Owner->FrameWidth() > 0 && Owner->FrameHeight() > 0)
        avutil::av_dict_set(&Options, "video_size",
                            Format("%dx%d", {Owner->FrameWidth(), Owner->FrameHeight()}).c_str(),
                            0);
    int Result = avformat::avformat_open_input(&ic, FileNameToAV(is->filename).c_str(), is->iformat,
                                               &Options);
    avutil::av_dict_free(&Options);
    if (Result < 0) {
        // FFmpeg freed the context itself.
        Owner->SetLastErrMsg(FormatAVError(is->filename, Result));
        return false;
    }
    is->ic = ic;
    if (Owner->genpts())
        ic->flags |= AVFMT_FLAG_GENPTS;
    if (avformat::avformat_find_stream_info(ic, nullptr) < 0) {
        Owner->SetLastErrMsg(is->filename + ": could not find codec parameters");
        return false;
    }
    if (ic->pb)
        ic->pb->eof_reached = 0;
    if (Owner->seek_by_bytes() < 0)
        Owner->Setseek_by_bytes((ic->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0);
    const std::string Name = ic->iformat->name;
    is->IsImage2 = IsPictureInputFormat(Name);
    is->IsDevice = Name == "vfwcap" || Name == "vfwcapture";
    if (ic->start_time != AV_NOPTS_VALUE)
        is->StartTime = ic->start_time;
    is->Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;
    const std::int64_t StartAt = Owner->start_time();
    if (StartAt != AV_NOPTS_VALUE) {
        std::int64_t Timestamp = StartAt;
        if (ic->start_time != AV_NOPTS_VALUE)
            Timestamp += ic->start_time;
        if (avformat::avformat_seek_file(ic, -1, INT64_MIN, Timestamp, INT64_MAX, 0) < 0)
            Owner->ReportError(Format("%s: could not seek to position %0.3f",
                                      {is->filename, double(Timestamp) / 1000000.0}),
                               false);
    }
    for (unsigned I = 0; I < ic->nb_streams; ++I)
        ic->streams[I]->discard = AVDISCARD_ALL;
    int Video = -1, Audio = -1, Subtitle = -1;
    if (!Owner->DisableVideo()) {
        Video = ChooseStream(ic, AVMEDIA_TYPE_VIDEO, Owner->wanted_video_stream());
        Subtitle = ChooseStream(ic, AVMEDIA_TYPE_SUBTITLE, Owner->wanted_subtitle_stream());
    }
    if (!Owner->DisableAudio())
        Audio = ChooseStream(ic, AVMEDIA_TYPE_AUDIO, Owner->wanted_audio_stream());
    if (Audio >= 0)
        OpenStreamComponent(is, Audio);
    if (Video >= 0)
        OpenStreamComponent(is, Video);
    if (Subtitle >= 0)
        OpenStreamComponent(is, Subtitle);
    if (is->audio_stream < 0 && is->video_stream < 0) {
        Owner->SetLastErrMsg(is->filename + ": could not open codecs, no stream to play.");
        return false;
    }
    return true;
}

// The read thread's idle wait at the end of the input or after an error:
// up to AMs, over at once when the playback closes or a seek is asked for,
// so a stop or a seek never waits for the rest of it.
void IdleWait(TVideoState* is, std::uint32_t AMs) {
    for (std::uint32_t Waited = 0; Waited < AMs && !is->abort_request && !is->seek_req;
         Waited += 10)
        Sleep(10);
}

// The loop; answers false when it left on an I/O error.
bool ReadLoop(TVideoState* is) {
    TCustomPlayer* Owner = is->Owner;
    AVFormatContext* ic = is->ic;
    AVPacket* Packet = avcodec::av_packet_alloc();
    if (!Packet)
        return false;
    bool EndOfFile = false;
    bool Failed = false;
    while (!is->abort_request) {
        if (is->paused != is->last_paused) {
            is->last_paused = is->paused;
            if (is->paused)
                is->read_pause_return = avformat::av_read_pause(ic);
            else
                avformat::av_read_play(ic);
        }
        if (is->seek_req)
            DoSeek(is, EndOfFile);
        if (!QueuesHaveRoom(is)) {
            is->WaitingForRoom = true;
            Sleep(10);
            continue;
        }
        is->WaitingForRoom = false;
        if (EndOfFile || (ic->pb && avformat::avio_feof(ic->pb))) {
            AtEndOfInput(is);
            continue;
        }
        is->Reading = 1;
        const int Result = avformat::av_read_frame(ic, Packet);
        is->Reading = 0;
        if (is->abort_request) {
            avcodec::av_packet_unref(Packet);
            break;
        }
        if (Result == AVERROR(EAGAIN)) {
            Sleep(10);
            continue;
        }
        if (Result < 0) {
            if (is->video_stream >= 0)
                Owner->PictEvent().SetEvent();
            if (!is->IsImage2 && !is->ErrorEOF) {
                is->ErrorEOF = 1;
                if (Result == AVERROR_EOF)
                    GetFFLogger()->Log(Owner, llInfo, "reach end of file: " + is->filename);
                else
                    Owner->ReportError(
                        Format("error #%d while reading file: %s", {Result, is->filename}), false);
            }
            if (Result == AVERROR_EOF)
                EndOfFile = true;
            if (ic->pb && ic->pb->error) {
                Failed = true;
                break;
            }
            IdleWait(is, 100);
            continue;
        }
        RoutePacket(is, Packet);
    }
    avcodec::av_packet_free(&Packet);
    return !Failed;
}

} // namespace

int PlayerReadThread(void* AState) {
    SetPlaybackThread();
    auto* is = static_cast<TVideoState*>(AState);
    TCustomPlayer* Owner = is->Owner;
    bool Ok = OpenInput(is);
    if (Ok) {
        is->Opened = 1;
        Ok = ReadLoop(is);
        // A failed input waits for the close, which it then follows at once.
        while (!is->abort_request)
            Sleep(10);
    }
    if (is->Opened != 1)
        is->Opened = -1;
    // Video first: its thread reads the audio clock until it is joined.
    for (int Index : {is->video_stream.load(), is->audio_stream.load(), is->subtitle_stream.load()})
        if (Index >= 0)
            CloseStreamComponent(is, Index);
    if (is->ic) {
        if (Owner->AVProbe()->FileHandle() == is->ic)
            Owner->AVProbe()->SetFileHandle(nullptr);
        avformat::avformat_close_input(&is->ic);
    }
    if (!Ok && is->Opened == 1)
        Owner->PostQuitEvent(is);
    if (is->Opened == -1)
        is->Opened = -2;
    is->ReadThreadDone = true;
    return 0;
}

// ---- Stream components ------------------------------------------------------------------

namespace {

void FreeDecoder(AVCodecContext*& AContext) {
    TCodecLockGuard Lock(CodecLock());
    avcodec::avcodec_free_context(&AContext);
}

AVCodecContext* OpenDecoder(TVideoState* is, AVStream* AStream) {
    TCustomPlayer* Owner = is->Owner;
    const AVCodec* Codec = avcodec::avcodec_find_decoder(AStream->codecpar->codec_id);
    AVCodecContext* Context = avcodec::avcodec_alloc_context3(Codec);
    if (!Context)
        return nullptr;
    if (avcodec::avcodec_parameters_to_context(Context, AStream->codecpar) < 0) {
        avcodec::avcodec_free_context(&Context);
        return nullptr;
    }
    Context->pkt_timebase = AStream->time_base;
    Context->debug = 0;
    Context->workaround_bugs = Owner->workaround_bugs();
    Context->lowres = Owner->lowres();
    Context->idct_algo = Owner->idct_algo();
    if (Owner->fast())
        Context->flags2 |= AV_CODEC_FLAG2_FAST;
    Context->skip_frame = AVDISCARD_DEFAULT;
    Context->skip_idct = AVDISCARD_DEFAULT;
    Context->skip_loop_filter = AVDISCARD_DEFAULT;
    if (Owner->error_recognition() >= 1)
        Context->err_recognition = AV_EF_CAREFUL;
    Context->error_concealment = Owner->error_concealment();
    Context->thread_count = 0;
    TCodecLockGuard Lock(CodecLock());
    if (!Codec || avcodec::avcodec_open2(Context, Codec, nullptr) < 0) {
        avcodec::avcodec_free_context(&Context);
        return nullptr;
    }
    return Context;
}

} // namespace

int OpenStreamComponent(TVideoState* is, int AStreamIndex) {
    AVFormatContext* ic = is->ic;
    if (AStreamIndex < 0 || AStreamIndex >= int(ic->nb_streams))
        return -1;
    TCustomPlayer* Owner = is->Owner;
    AVStream* Stream = ic->streams[AStreamIndex];
    const AVCodecParameters* Par = Stream->codecpar;
    int Channels = 0;
    if (Par->codec_type == AVMEDIA_TYPE_AUDIO) {
        Channels = Par->ch_layout.nb_channels;
        if (Channels != 1 && Channels != 2)
            Channels = 2;
    }
    AVCodecContext* Context = OpenDecoder(is, Stream);
    if (!Context) {
        Owner->ReportError("avcodec_open() failed.", false);
        return -1;
    }
    if (Par->codec_type == AVMEDIA_TYPE_AUDIO) {
        // Ready before the device's thread starts calling for sound.
        PacketQueueInit(is->audioq);
        PacketQueuePutFlush(is->audioq);
        is->audio_st = Stream;
        is->audio_dec = Context;
        is->audio_channels = Channels;
        is->audio_sample_rate = Context->sample_rate;
        SDL_AudioSpec Wanted{};
        Wanted.freq = Context->sample_rate;
        Wanted.format = AUDIO_S16LSB;
        Wanted.channels = Uint8(Channels);
        Wanted.silence = 0;
        Wanted.samples = 1024;
        Wanted.callback = PlayerAudioCallback;
        Wanted.userdata = is;
        if (sdl::SDL_OpenAudio(&Wanted, nullptr) < 0) {
            std::string Reason = sdl::SDL_GetError();
            if (Reason.empty())
                Reason = is->AudioInitError;
            Owner->ReportError("SDL_OpenAudio() failed: " + Reason, false);
            // Nothing recorded the stream as open: close its decoder here.
            is->audio_st = nullptr;
            is->audio_dec = nullptr;
            PacketQueueDestroy(is->audioq);
            FreeDecoder(Context);
            Stream->discard = AVDISCARD_ALL;
            return -1;
        }
        is->audio_hw_buf_size = int(Wanted.size);
    }
    Stream->discard = AVDISCARD_DEFAULT;
    is->OpenDecoders += 1;
    switch (Par->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        is->video_st = Stream;
        is->video_dec = Context;
        PacketQueueInit(is->videoq);
        PacketQueuePutFlush(is->videoq);
        is->VideoThreadDone = false;
        is->video_stream = AStreamIndex;
        is->video_tid = sdl::SDL_CreateThread(PlayerVideoThread, is);
        break;
    case AVMEDIA_TYPE_AUDIO:
        is->AudioDuration =
            Stream->duration == AV_NOPTS_VALUE
                ? -1
                : avutil::av_rescale_q(Stream->duration, Stream->time_base, MicrosecondsBase);
        is->audio_buf_size = 0;
        is->audio_buf_index = 0;
        is->audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
        is->audio_diff_avg_count = 0;
        is->audio_diff_threshold = 2048.0 / Context->sample_rate;
        is->audio_stream = AStreamIndex;
        sdl::SDL_PauseAudio(0);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        is->subtitle_st = Stream;
        is->subtitle_dec = Context;
        PacketQueueInit(is->subtitleq);
        PacketQueuePutFlush(is->subtitleq);
        is->SubtitleThreadDone = false;
        is->subtitle_stream = AStreamIndex;
        is->subtitle_tid = sdl::SDL_CreateThread(PlayerSubtitleThread, is);
        break;
    default:
        break;
    }
    return 0;
}

void CloseStreamComponent(TVideoState* is, int AStreamIndex) {
    AVFormatContext* ic = is->ic;
    if (AStreamIndex < 0 || AStreamIndex >= int(ic->nb_streams))
        return;
    AVStream* Stream = ic->streams[AStreamIndex];
    AVCodecContext* Context = nullptr;
    switch (Stream->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        PacketQueueAbort(is->videoq);
        sdl::SDL_mutexP(is->pictq_mutex);
        sdl::SDL_CondSignal(is->pictq_cond);
        sdl::SDL_mutexV(is->pictq_mutex);
        JoinPlayerThread(is->video_tid, is->VideoThreadDone);
        is->video_stream = -1;
        PacketQueueDestroy(is->videoq);
        Context = is->video_dec;
        is->video_dec = nullptr;
        is->video_st = nullptr;
        break;
    case AVMEDIA_TYPE_AUDIO:
        PacketQueueAbort(is->audioq);
        sdl::SDL_CloseAudio();
        is->audio_stream = -1;
        PacketQueueDestroy(is->audioq);
        Context = is->audio_dec;
        is->audio_dec = nullptr;
        is->audio_st = nullptr;
        is->AudioDuration = -1;
        swresample::swr_free(&is->reformat_ctx);
        avutil::av_frame_free(&is->audio_frame);
        avutil::av_channel_layout_uninit(&is->audio_src_layout);
        is->audio_src_fmt = AV_SAMPLE_FMT_NONE;
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        PacketQueueAbort(is->subtitleq);
        sdl::SDL_mutexP(is->subpq_mutex);
        is->subtitle_stream_changed = 1;
        sdl::SDL_CondSignal(is->subpq_cond);
        sdl::SDL_mutexV(is->subpq_mutex);
        JoinPlayerThread(is->subtitle_tid, is->SubtitleThreadDone);
        is->subtitle_stream = -1;
        PacketQueueDestroy(is->subtitleq);
        Context = is->subtitle_dec;
        is->subtitle_dec = nullptr;
        is->subtitle_st = nullptr;
        break;
    default:
        return;
    }
    Stream->discard = AVDISCARD_ALL;
    if (Context) {
        FreeDecoder(Context);
        is->OpenDecoders -= 1;
    }
}

bool SwitchStream(TVideoState* is, int AKind, int AStreamIndex) {
    TCustomPlayer* Owner = is->Owner;
    auto Refuse = [&](const char* AText) {
        Owner->ReportError(AText, true);
        return false;
    };
    const int Lowest = AKind == AVMEDIA_TYPE_SUBTITLE ? -1 : 0;
    int Current = -1;
    switch (AKind) {
    case AVMEDIA_TYPE_VIDEO:
        Current = is->video_stream;
        break;
    case AVMEDIA_TYPE_AUDIO:
        Current = is->audio_stream;
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        Current = is->subtitle_stream;
        break;
    default:
        return Refuse("the stream type is invalid.");
    }
    if (Current < Lowest)
        return Refuse("the current stream is not valid.");
    if (AStreamIndex < Lowest || AStreamIndex >= int(is->ic->nb_streams))
        return Refuse("the stream index is not valid.");
    if (AStreamIndex == Current)
        return true;
    if (!(AKind == AVMEDIA_TYPE_SUBTITLE && AStreamIndex == -1)) {
        const AVCodecParameters* Par = is->ic->streams[AStreamIndex]->codecpar;
        if (Par->codec_type != AKind)
            return Refuse("the stream type is not matched.");
        if (AKind == AVMEDIA_TYPE_AUDIO &&
            (Par->sample_rate == 0 || Par->ch_layout.nb_channels == 0))
            return Refuse("the audio stream is not invalid.");
    }
    std::lock_guard Lock(is->StreamLock);
    CloseStreamComponent(is, Current);
    OpenStreamComponent(is, AStreamIndex);
    return true;
}

// ---- Seeking and pausing ----------------------------------------------------------------

void RequestSeek(TVideoState* is, TSeekFlags AFlags, bool AWait, std::int64_t APosition,
                 std::int64_t ARelative) {
    if (is->seek_req)
        return;
    TCustomPlayer* Owner = is->Owner;
    Owner->SetSeeking(true);
    is->seek_paused = is->paused.load();
    is->seek_pos = APosition;
    is->seek_rel = ARelative;
    is->seek_flags = SeekFlagsToInt(AFlags);
    Owner->SeekEvent().ResetEvent();
    is->seek_req = 1;
    if (AWait)
        Owner->WaitForSeekEnd(is->Serial, is->video_stream >= 0);
}

void ResumeClocks(TVideoState* is, double ATime) {
    const double Drift = is->video_current_pts_drift;
    if (Drift == 0) {
        // Nothing was shown before the pause (a paused open resumed before
        // its first picture was due): there is no paused time to add, and
        // adding the wall clock would put every later picture decades away.
        is->frame_timer = ATime;
        return;
    }
    // The pictures' schedule moves on by the time spent paused.
    is->frame_timer = is->frame_timer + ATime + Drift - is->video_current_pts;
    if (is->read_pause_return != AVERROR(ENOSYS))
        is->video_current_pts = Drift + ATime;
    is->video_current_pts_drift = is->video_current_pts - ATime;
}

void TogglePlayerPause(TVideoState* is) {
    TCustomPlayer* Owner = is->Owner;
    if (Owner->SeekEvent().WaitFor(250) != wrSignaled)
        Owner->SeekEvent().SetEvent();
    if (!Owner->VideoState())
        return;
    if (is->paused) {
        ResumeClocks(is, WallSeconds());
        is->paused = 0;
    } else {
        if (is->video_stream >= 0 && Owner->PictEvent().WaitFor(250) != wrSignaled)
            Owner->PictEvent().SetEvent();
        if (!Owner->VideoState())
            return;
        is->paused = 1;
    }
}

// ---- The video thread -----------------------------------------------------------------------

int GetVideoFrame(TVideoState* is, AVFrame* AFrame, std::int64_t& APTS, std::int64_t& APos) {
    TCustomPlayer* Owner = is->Owner;
    AVCodecContext* Decoder = is->video_dec;
    // A decoder with threads or reordering may hold pictures back.
    int Result = avcodec::avcodec_receive_frame(Decoder, AFrame);
    if (Result < 0) {
        AVPacket* Packet = avcodec::av_packet_alloc();
        if (!Packet)
            return -1;
        bool Flush = false;
        if (PacketQueueGet(is->videoq, Packet, Flush, true) < 0) {
            avcodec::av_packet_free(&Packet);
            return -1;
        }
        if (Flush) {
            avcodec::av_packet_free(&Packet);
            avcodec::avcodec_flush_buffers(Decoder);
            is->Drained = false;
            // Pictures from before the seek are due at once, and dropped.
            sdl::SDL_mutexP(is->pictq_mutex);
            for (TVideoPicture& Picture : is->pictq)
                Picture.target_clock = 0;
            while (is->pictq_size && !is->videoq.abort_request)
                sdl::SDL_CondWait(is->pictq_cond, is->pictq_mutex);
            sdl::SDL_mutexV(is->pictq_mutex);
            is->video_current_pos = -1;
            is->last_dts_for_fault_detection = INT64_MIN;
            is->last_pts_for_fault_detection = INT64_MIN;
            is->frame_last_pts = double(AV_NOPTS_VALUE);
            is->frame_last_delay = 0;
            is->frame_timer = WallSeconds();
            is->skip_frames = 1;
            is->skip_frames_index = 0;
            is->seek_flushed = 1;
            return 0;
        }
        // Queued packets are made reference-counted, so the read thread's
        // empty end marker arrives with a data pointer but no bytes.
        const bool EndOfStream = Packet->size == 0;
        if (EndOfStream) {
            // The read thread's end marker drains what the decoder holds.
            avcodec::avcodec_send_packet(Decoder, nullptr);
            is->Drained = true;
        } else {
            avcodec::avcodec_send_packet(Decoder, Packet);
        }
        avcodec::av_packet_free(&Packet);
        Result = avcodec::avcodec_receive_frame(Decoder, AFrame);
        if (Result < 0) {
            if (EndOfStream && !is->EventEOF)
                Owner->UpdatePosition(is);
            return 0;
        }
    }
    if (AFrame->pkt_dts != AV_NOPTS_VALUE) {
        is->faulty_dts += AFrame->pkt_dts <= is->last_dts_for_fault_detection;
        is->last_dts_for_fault_detection = AFrame->pkt_dts;
    }
    if (AFrame->pts != AV_NOPTS_VALUE) {
        is->faulty_pts += AFrame->pts <= is->last_pts_for_fault_detection;
        is->last_pts_for_fault_detection = AFrame->pts;
    }
    const int ReorderPts = Owner->decoder_reorder_pts();
    if (AFrame->pts != AV_NOPTS_VALUE &&
        (ReorderPts == 1 || (ReorderPts != 0 && is->faulty_pts < is->faulty_dts) ||
         AFrame->pkt_dts == AV_NOPTS_VALUE))
        APTS = AFrame->pts;
    else if (AFrame->pkt_dts != AV_NOPTS_VALUE)
        APTS = AFrame->pkt_dts;
    else
        APTS = 0;
    APos = AFrame->pkt_pos;
    is->skip_frames_index += 1;
    if (is->skip_frames_index >= is->skip_frames) {
        is->skip_frames_index -= std::max(is->skip_frames.load(), 1.0);
        return 1;
    }
    is->PicturesSkipped += 1;
    avutil::av_frame_unref(AFrame);
    return 0;
}

int PlayerVideoThread(void* AState) {
    SetPlaybackThread();
    auto* is = static_cast<TVideoState*>(AState);
    TCustomPlayer* Owner = is->Owner;
    AVFrame* Frame = avutil::av_frame_alloc();
    if (Frame && !BuildVideoFilterGraph(is, Owner->VideoFilters()))
        avutil::av_frame_free(&Frame);
    while (Frame) {
        while (is->paused && !is->videoq.abort_request && !is->seek_paused && !is->open_paused)
            Sleep(10);
        std::int64_t PTS = 0, Pos = -1;
        const int Result = GetFilteredVideoFrame(is, Frame, PTS, Pos);
        if (Result < 0)
            break;
        if (Result == 0)
            continue;
        // A picture decoded before a seek's flush must not tell a waiting
        // Seek that the new position is on show.
        const bool BeforeSeek = is->seek_done && !is->seek_flushed;
        if (is->seek_done && is->seek_flushed) {
            is->seek_done = 0;
            is->seek_paused = 0;
        }
        // Filters may change the time base (fps=10 makes it 1/10).
        const double Seconds =
            double(PTS) * av_q2d(avfilter::av_buffersink_get_time_base(is->out_video_filter));
        const int Output = OutputPicture(is, Frame, Seconds, Pos);
        avutil::av_frame_unref(Frame);
        if (Output < 0)
            break;
        is->EventEOF = 0;
        if (!BeforeSeek) {
            Owner->PictEvent().SetEvent();
            if (Owner->Seeking() && !is->seek_req)
                Owner->SetSeeking(false);
        }
        if (is->open_paused) {
            if (is->open_paused > 1) {
                is->open_paused = 0;
                if (is->Channel)
                    Owner->SetPlayState(psPause, *is->Channel);
            } else {
                is->open_paused += 1;
            }
        }
        if (Owner->Stepping() && Owner->VideoState())
            TogglePlayerPause(is);
    }
    avutil::av_frame_free(&Frame);
    FreeVideoFilterGraph(is);
    is->VideoThreadDone = true;
    return 0;
}
