// The engine's life: construction, defaults, starting, stopping, pausing,
// the job body with its guards, termination and release.
#include "media/FFmpeg.h"

#include "media/AVFilterStubs.h"
#include "media/CodecLock.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "media/MyUtils.h"
#include "media/SwResampleStubs.h"
#include "media/SwScaleStubs.h"
#include "media/UnicodeProtocol.h"
#include "platform/core/Format.h"
#include "platform/core/Paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <functional>

// Runs the job body, then opens the stop event for whoever waits in Stop,
// whatever happened in the body.
class TCustomFFmpeg::TConvertThread : public TThread {
public:
    TConvertThread(TCustomFFmpeg* AOwner, TThreadPriority APriority)
        : TThread(true), FOwner(AOwner) {
        SetPriority(APriority);
    }
    ~TConvertThread() override { TerminateAndWait(); }

protected:
    void Execute() override {
        try {
            FOwner->DoConvert();
        } catch (...) {
            // DoConvert guards every step; nothing may end the process here.
        }
        FOwner->FStopEvent->SetEvent();
    }

private:
    TCustomFFmpeg* FOwner;
};

// Terminates a job that never started, off the caller's thread, as a
// running job would terminate on its worker.
class TCustomFFmpeg::TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpeg* AOwner) : TThread(false), FOwner(AOwner) {
        AfterConstruction();
    }
    ~TDoTerminateThread() override { TerminateAndWait(); }

protected:
    void Execute() override {
        try {
            FOwner->DoTerminate();
        } catch (...) {
            // The event must open whatever the handler did.
        }
        FOwner->FTermEvent->SetEvent();
    }

private:
    TCustomFFmpeg* FOwner;
};

// Records outlive nothing they point at: a record is freed before the
// libraries could be unloaded, but it checks the binding all the same.
TAVOutputStream::~TAVOutputStream() {
    if (!avutil::av_frame_free)
        return;
    avutil::av_frame_free(&pict_tmp);
    avutil::av_frame_free(&last_picture);
    if (img_resample_ctx)
        swscale::sws_freeContext(img_resample_ctx);
    if (resample)
        swresample::swr_free(&resample);
    avutil::av_channel_layout_uninit(&resample_in_layout);
    if (fifo)
        avutil::av_audio_fifo_free(fifo);
    if (logfile)
        myutil::fclose(logfile);
    if (filter_graph)
        avfilter::avfilter_graph_free(&filter_graph);
}

TEncoderSettings::~TEncoderSettings() {
    if (avutil::av_dict_free) {
        avutil::av_dict_free(&Options);
        avutil::av_channel_layout_uninit(&ch_layout);
    }
}

void TAVOutputSlot::FreeBsf() {
    for (AVBSFContext*& Filter : Bsf)
        avcodec::av_bsf_free(&Filter);
    Bsf.clear();
}

TAVOutputSlot::~TAVOutputSlot() {
    if (!avcodec::avcodec_free_context)
        return;
    FreeBsf();
    avcodec::avcodec_free_context(&Codec);
}

TAVInputSlot::~TAVInputSlot() {
    if (avutil::av_dict_free)
        avutil::av_dict_free(&DecoderOptions);
}

TAVInputStream::~TAVInputStream() {
    if (dec_ctx && avcodec::avcodec_free_context)
        avcodec::avcodec_free_context(&dec_ctx);
}

TCriticalSection& PostHookLock() {
    static TCriticalSection Lock;
    return Lock;
}

namespace {

int CheckedMaxFiles(int AMaxFiles) {
    Assert(AMaxFiles >= MinEngineFiles && AMaxFiles <= MaxEngineFiles,
           Format("Assertion failure: file limit %d outside 1..512", {AMaxFiles}));
    return AMaxFiles;
}

bool LibsLoaded() {
    return FFLoader().Loaded(ConverterLibs);
}

} // namespace

TCustomFFmpeg::TCustomFFmpeg(int AMaxFiles)
    : FMaxFiles(CheckedMaxFiles(AMaxFiles)), Finput_files(FMaxFiles, nullptr),
      Foutput_files(FMaxFiles, nullptr), Finput_files_ts_offset(FMaxFiles, 0),
      Finput_files_ts_scale(FMaxFiles), Finput_slots(FMaxFiles),
      Fstream_maps(FMaxFiles * MAX_STREAMS), Fmeta_data_maps(FMaxFiles),
      FStopEvent(std::make_unique<TEvent>(true, true)),
      FTermEvent(std::make_unique<TEvent>(true, true)) {
    InitOptions(FOptions);
    SetDefaults();
}

TCustomFFmpeg::~TCustomFFmpeg() {
    Stop(true);
    JoinWorker();
    if (LibsLoaded()) {
        CloseEncoders(FEncoderList);
        CloseDecoders(FDecoderList);
        ReleaseTables();
        ReleaseAll();
    }
}

void TCustomFFmpeg::SetDefaults() {
    for (auto& Row : Finput_files_ts_scale)
        Row.fill(0);
    Fnb_input_files = 0;
    Fnb_output_files = 0;
    Fnb_stream_maps = 0;
    Fnb_meta_data_maps = 0;
    Fstreamid_map.fill(0);
    Flast_asked_format.clear();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fvfilters.clear();
    Fpass_logfilename_prefix.clear();
    Fframe_width = Fframe_height = 0;
    Fframe_aspect_ratio = 0;
    Fframe_topBand = Fframe_bottomBand = Fframe_leftBand = Fframe_rightBand = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
    Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    Fmax_frames.fill(2147483647);
    Fframe_rate = {0, 0};
    Fvideo_qscale = 0;
    Fintra_matrix.reset();
    Finter_matrix.reset();
    Fvideo_rc_override_string.clear();
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_standard.clear();
    Fvstats_filename.clear();
    Fvstats_file = nullptr;

    Fvideo_disable = Faudio_disable = Fsubtitle_disable = false;
    Fsame_quality = Fdo_deinterlace = Floop_input = Fqp_hist = FEnableFilter = false;
    Fintra_only = Fdo_hex_dump = Fdo_pkt_dump = Fdo_psnr = Fcopy_ts = Fopt_shortest = false;
    Frate_emu = Fexit_on_error = Fusing_vhook = FShowDupOrDrop = Finput_sync = false;
    Fforce_fps = false;

    Fvideo_discard = 0;
    Fvideo_codec_tag = Faudio_codec_tag = Fsubtitle_codec_tag = 0;
    Fme_threshold = 0;
    Fchannel_layout = 0;
    Fdo_benchmark = Fdo_pass = 0;
    Faudio_stream_copy = Fvideo_stream_copy = Fsubtitle_stream_copy = 0;
    Faudio_sync_method = Fvideo_global_header = Fopt_programid = 0;
    Fcopy_initial_nonkeyframes = Fvideo_channel = Fusing_stdin = Fq_pressed = 0;
    Fvideo_size = Faudio_size = Fextra_size = 0;
    Fnb_frames_dup = Fnb_frames_drop = 0;
    Flimit_filesize = 0;
    Fpgmyuv_compatibility_hack = 0;
    Fstart_time = Frecording_timestamp = Finput_ts_offset = 0;

    Ftop_field_first = Floop_output = Fvideo_sync_method = -1;
    Fintra_dc_precision = 8;
    Faudio_sample_rate = 44100;
    Faudio_qscale = -99999.0f;
    Faudio_channels = 2;
    Fmux_preload = 0.5f;
    Fmux_max_delay = 0.7f;
    Frecording_time = INT64_MAX;
    Faudio_drift_threshold = 0.1f;
    Faudio_volume = 256;
    Fverbose = 1;
    Fthread_count = 1;
    Fdts_delta_threshold = 10.0f;
    Fsws_flags = 4;
    InitOptions(FOptions);
    Fmetadata.clear();
    Fvideo_bitstream_filters.clear();
    Faudio_bitstream_filters.clear();
    Fsubtitle_bitstream_filters.clear();
    Fbit_buffer_size = 262144;
    FThread = nullptr;
    FTotalOutputDuration = -1;
    FPostHooks = 0;
    FPendingPostHooks = -1;
    FFatalException = false;
    ResetHooks();
}

void TCustomFFmpeg::ResetJob() {
    if (!LibsLoaded())
        return;
    // A job of the previous reset may still run: it is stopped and joined
    // before its state goes.
    JoinWorker();
    CloseEncoders(FEncoderList);
    CloseDecoders(FDecoderList);
    ReleaseTables();
    ReleaseAll();
    SetDefaults();
    FJoinMode = false;
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FTotalOutputDuration = -1;
    AllocOptions(FOptions, Fsws_flags);
}

std::string TCustomFFmpeg::FatalMessage() const {
    std::lock_guard Guard(FFatalLock);
    return FFatalMessage;
}

TThread* TCustomFFmpeg::Thread() const {
    return FThread.load();
}

void TCustomFFmpeg::Log(int ALevel, const std::string& AMsg) {
    GetFFLogger()->Log(this, static_cast<TLogLevel>(ALevel), AMsg);
}

void TCustomFFmpeg::HandleFatal(const std::string& AMsg) {
    {
        std::lock_guard Guard(FFatalLock);
        FFatalMessage = AMsg;
    }
    FFatalException = true;
    try {
        Log(llQuiet, AMsg);
    } catch (...) {
        // A failing log handler must not hide the job's own error.
    }
}

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority) {
    if (FConverting || FTerminated)
        return nullptr;
    const char* Missing = Fnb_output_files <= 0  ? "At least one output file must be specified"
                          : Fnb_input_files == 0 ? "At least one input file must be specified"
                                                 : nullptr;
    if (Missing) {
        ReleaseAll();
        HandleFatal(Missing);
        DoTerminate();
        return nullptr;
    }
    JoinWorker();
    FConverting = true;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    if (!AUseThread) {
        DoConvert();
        return nullptr;
    }
    FStopEvent->ResetEvent();
    FThreadObject = std::make_unique<TConvertThread>(this, APriority);
    FThread = FThreadObject.get();
    return FThreadObject.get();
}

void TCustomFFmpeg::DoConvert() {
    const auto Guarded = [this](const std::function<void()>& AStep) {
        try {
            AStep();
        } catch (const Exception& E) {
            HandleFatal(E.Message());
        } catch (const std::exception& E) {
            HandleFatal(E.what());
        } catch (...) {
            HandleFatal("Unknown error");
        }
    };
    FFinished = false;
    Guarded([this] { Transcode(); });
    Guarded([this] { CloseEncoders(FEncoderList); });
    Guarded([this] { CloseDecoders(FDecoderList); });
    Guarded([this] { ReleaseAll(); });
    Guarded([this] { DoTerminate(); });
}

void TCustomFFmpeg::PassPauseGate() {
    TConvertThread* Worker = FThread;
    // A job being stopped is never parked: nobody would resume it, and the
    // stop waits for its end.
    if (!Worker || Worker->ThreadID() != GetCurrentThreadId() || FBroken || !Worker->Suspended())
        return;
    FParked = true;
    Worker->WaitWhileSuspended();
    FParked = false;
}

void TCustomFFmpeg::DoTerminate() {
    FConverting = false;
    FTerminated = true;
    FThread = nullptr;
    {
        std::lock_guard Guard(PostHookLock());
        ApplyPendingPostHooks();
    }
    if (FOnTerminate)
        FOnTerminate(this);
}

void TCustomFFmpeg::WaitServing(TEvent& AEvent) {
    if (GetCurrentThreadId() != MainThreadID()) {
        while (AEvent.WaitFor(20) == wrTimeout) {
        }
        return;
    }
    // The job's last log lines and reports each wait for this thread: they
    // are served as they arrive, not once per slice.
    while (AEvent.WaitFor(0) == wrTimeout) {
        CheckSynchronize(5);
        PumpMessages();
    }
}

void TCustomFFmpeg::Stop(bool AWaitFor) {
    FBroken = true;
    TConvertThread* Worker = FThreadObject.get();
    if (!Worker)
        return;
    // Starts a worker that was made but never started, and opens the pause
    // gate of a paused one, so that it sees the stop.
    Worker->Resume();
    // The job's own thread (an event handler of the job) cannot wait for
    // its own end.
    if (AWaitFor && Worker->ThreadID() != GetCurrentThreadId())
        WaitServing(*FStopEvent);
}

void TCustomFFmpeg::StopOrTerminate(bool AWaitFor) {
    if (FConverting) {
        Stop(AWaitFor);
        return;
    }
    if (FTerminated || FTermThread)
        return;
    FTermEvent->ResetEvent();
    FTermThread = std::make_unique<TDoTerminateThread>(this);
    if (AWaitFor)
        WaitServing(*FTermEvent);
}

void TCustomFFmpeg::Pause() {
    // A pause asked for once the job is stopping (say, from a call served
    // while Stop waits) would hold the stop up.
    if (FThread && FConverting && !FBroken)
        FThreadObject->Suspend();
}

void TCustomFFmpeg::Resume() {
    if (FThread && FConverting && FThreadObject->Suspended())
        FThreadObject->Resume();
}

void TCustomFFmpeg::JoinWorker() {
    if (FThreadObject) {
        if (FConverting)
            Stop(true);
        FThreadObject.reset();
    }
    if (FTermThread) {
        WaitServing(*FTermEvent);
        FTermThread.reset();
    }
}

// ---- Release -----------------------------------------------------------------

namespace {

bool IsRegularFile(const std::string& AName) {
    struct stat Info {};
    return ::lstat(AName.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

} // namespace

void TCustomFFmpeg::ReleaseOutputContext(AVFormatContext* AContext) {
    const bool HasFile = AContext->oformat && !(AContext->oformat->flags & AVFMT_NOFILE);
    if (HasFile && AContext->pb)
        avformat::avio_closep(&AContext->pb);
    const std::string Name = AContext->url ? FileNameFromAV(AContext->url) : std::string();
    bool Incomplete = false;
    bool Known = false;
    if (auto Found = Foutput_states.find(AContext); Found != Foutput_states.end()) {
        const TAVOutputFileState& State = Found->second;
        Known = State.OpenedForWriting;
        Incomplete = (State.HeaderTried && !State.HeaderWritten) ||
                     (State.HeaderWritten && !State.TrailerWritten);
        // The slots hold the streams' encoder contexts: they go first.
        Foutput_states.erase(Found);
    }
    avformat::avformat_free_context(AContext);
    // A job that failed or stopped before writing leaves no empty file, and
    // one whose header or trailer did not make it leaves no unplayable one.
    // Only a regular file is ever removed: a device or a pipe named as the
    // output stays whatever happened.
    if (!HasFile || Name.empty() || !IsRegularFile(Name))
        return;
    if (GetFileSizeByName(Name) == 0 || (Known && Incomplete)) {
        DeleteFile(Name);
        Log(llInfo, "Removed the incomplete output file " + Name);
    }
}

void TCustomFFmpeg::ReleaseOutputs() {
    // Join segments share one context: it is released once.
    std::vector<AVFormatContext*> Released;
    for (int I = 0; I < OutputEntries(); ++I) {
        AVFormatContext* Context = Foutput_files[I];
        if (!Context || std::find(Released.begin(), Released.end(), Context) != Released.end())
            continue;
        Released.push_back(Context);
        ReleaseOutputContext(Context);
    }
    for (int I = 0; I < FMaxFiles; ++I)
        Foutput_files[I] = nullptr;
    Fnb_output_files = 0;
    Foutput_states.clear();
    Foutput_codecs.clear();
}

void TCustomFFmpeg::ReleaseInputs() {
    for (int I = 0; I < Fnb_input_files; ++I)
        if (Finput_files[I])
            avformat::avformat_close_input(&Finput_files[I]);
    Fnb_input_files = 0;
    for (auto& Slots : Finput_slots)
        Slots.clear();
    Finput_codecs.clear();
}

void TCustomFFmpeg::ReleaseAll() {
    if (!LibsLoaded())
        return;
    FreeOptions(FOptions);
    ReleaseTables();
    ReleaseOutputs();
    ReleaseInputs();
    Fintra_matrix.reset();
    Finter_matrix.reset();
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_standard.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    if (Fvstats_file) {
        myutil::fclose(Fvstats_file);
        Fvstats_file = nullptr;
    }
    Fvstats_filename.clear();
    ReleaseHooks();
}

// ---- Codec lists ---------------------------------------------------------------

void TCustomFFmpeg::CloseEncoders(TEncoderItem*& AHead) {
    while (AHead) {
        TEncoderItem* Item = AHead;
        AHead = Item->Next;
        TAVOutputStream* Ost = Item->st;
        if (Ost && Ost->encoding_needed && Ost->enc_ctx) {
            // The two-pass statistics text is the caller's to free on 5.1.
            avutil::av_freep(&Ost->enc_ctx->stats_in);
            TCodecLockGuard Guard(CodecLock());
            avcodec::avcodec_close(Ost->enc_ctx);
        }
        delete Item;
    }
}

void TCustomFFmpeg::CloseDecoders(TDecoderItem*& AHead) {
    while (AHead) {
        TDecoderItem* Item = AHead;
        AHead = Item->Next;
        TAVInputStream* Ist = Item->st;
        if (Ist && Ist->decoding_needed && Ist->dec_ctx) {
            TCodecLockGuard Guard(CodecLock());
            avcodec::avcodec_close(Ist->dec_ctx);
        }
        delete Item;
    }
}
