// The conversion engine: one TCustomFFmpeg runs one conversion job.
//
// A job is configured like the command-line converter it descends from:
// named options (ParseOption, or the handlers and setters directly) fill the
// engine's pending state, which the next input opened or output created
// consumes. StartConvert then runs the job inline or on a worker thread that
// the engine owns; Stop, Pause and Resume act on it from the user-interface
// thread, and OnTerminate reports its end exactly once.
//
// Threads: options and setters run on the thread that sets the task up,
// before the worker exists. Pausing is cooperative: the worker sleeps at its
// pause gate (PassPauseGate) between units of work, holding no lock, so the
// user-interface thread never waits for a worker that is stuck inside one.
// A user-interface thread that waits for a job (Stop, StopOrTerminate)
// keeps serving CallInMainThread calls and its window messages.
//
// A derived class whose job body uses its own fields stops the job in its
// own destructor (Stop(true)): those fields are gone when this destructor
// runs. Nothing may destroy or reset an engine from its own job's thread.
//
// Files: the implementation is spread over FFmpeg.Lifecycle.cpp (life cycle,
// threads, release), FFmpeg.Options.cpp (the dispatcher and the picture,
// codec and format handlers), FFmpeg.Presets.cpp (target and codec presets)
// and FFmpeg.Maps.cpp (maps, times, metadata, statistics, filters, setters
// and the post-hook switch).
#pragma once

#include "media/AVCodecStubs.h"
#include "media/AVFormatStubs.h"
#include "media/AVUtilStubs.h"
#include "media/FFUtils.h"
#include "platform/core/Events.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Objects.h"
#include "platform/core/SyncObjects.h"
#include "platform/core/Threads.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class TBitmap;
class TPreviewer;
struct TFrameHookEntry;

// Everything that fails while a job is set up or runs, with the converter's
// English texts.
class FFmpegException : public Exception {
public:
    using Exception::Exception;
};

// The most streams per file in the per-file tables.
inline constexpr int MAX_STREAMS = 20;
// The limits of the engine's file limit.
inline constexpr int MinEngineFiles = 1;
inline constexpr int MaxEngineFiles = 512;

enum TPostHook : std::uint8_t { phPreview, phBitmap, phHBITMAP };

// A set of TPostHook.
class TPostHooks {
public:
    constexpr TPostHooks() = default;
    constexpr TPostHooks(std::initializer_list<TPostHook> AHooks) {
        for (TPostHook Hook : AHooks)
            FBits |= Bit(Hook);
    }
    static constexpr TPostHooks FromBits(unsigned ABits) {
        TPostHooks Hooks;
        Hooks.FBits = ABits & 7u;
        return Hooks;
    }
    constexpr unsigned Bits() const { return FBits; }
    constexpr bool Contains(TPostHook AHook) const { return (FBits & Bit(AHook)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    friend constexpr bool operator==(TPostHooks, TPostHooks) = default;

private:
    static constexpr unsigned Bit(TPostHook AHook) { return 1u << AHook; }
    unsigned FBits = 0;
};

struct TAVStreamMap {
    int file_index = 0;
    int stream_index = 0;
    int sync_file_index = 0;
    int sync_stream_index = 0;
};

struct TAVMetaDataMap {
    int out_file = 0;
    int in_file = 0;
};

struct TAVMetadataTag {
    std::string key;
    std::string value;
};

// The per-job record of one output stream; the transcode setup adds the rest
// of its fields. The record owns its encoder context.
struct TAVOutputStream {
    TAVOutputStream() = default;
    ~TAVOutputStream();
    TAVOutputStream(const TAVOutputStream&) = delete;
    TAVOutputStream& operator=(const TAVOutputStream&) = delete;

    AVCodecContext* enc_ctx = nullptr;
    int encoding_needed = 0;
};

// The per-job record of one input stream; it owns its decoder context.
struct TAVInputStream {
    TAVInputStream() = default;
    ~TAVInputStream();
    TAVInputStream(const TAVInputStream&) = delete;
    TAVInputStream& operator=(const TAVInputStream&) = delete;

    AVCodecContext* dec_ctx = nullptr;
    int decoding_needed = 0;
};

// One entry of a list of opened codecs: the stream record whose codec was
// opened. A list is its head pointer, null when empty.
template <class TStream> struct TCodecItem {
    TStream* st = nullptr;
    TCodecItem* Prev = nullptr;
    TCodecItem* Next = nullptr;
};
using TEncoderItem = TCodecItem<TAVOutputStream>;
using TDecoderItem = TCodecItem<TAVInputStream>;

// The process-wide lock held while an engine's post-hook set changes and
// while a job shows or hands over a converted frame. It outlives every
// engine.
TCriticalSection& PostHookLock();

// One built-in codec preset.
struct TOptionsPreset {
    const char* Name;
    const char* Text;
};
// The 36 built-in presets, in table order.
const std::vector<TOptionsPreset>& BuiltinPresets();
// The text of the first built-in preset named AName in any letter case, or "".
std::string FindBuiltinPreset(const std::string& AName);

// The words of a frame-hook text: split at "|" when it holds one, else at
// blanks; runs of separators count as one; at most 63 words.
std::vector<std::string> SplitHookArgs(const std::string& AText);

class TCustomFFmpeg : public TObject {
public:
    // The engine's own event types (the task queue's records have their own).
    using TCustomHookEvent = TMethod<void(TObject* Sender, TBitmap* ABitmap, int AFrameNumber,
                                          std::int64_t APTS, bool& AUpdate, bool& AStopHook)>;
    using TPreviewBitmapEvent =
        TMethod<void(TObject* Sender, TBitmap* ABitmap, int AFrameNumber, std::int64_t APTS)>;
    using TProgressEvent = TMethod<void(
        TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS, float AQuality, float ABitRate,
        std::int64_t ACurrentSize, std::int64_t ACurrentDuration, std::int64_t ATotalDuration)>;

    // AMaxFiles in 1..512, else EAssertionFailed and no engine.
    explicit TCustomFFmpeg(int AMaxFiles);
    ~TCustomFFmpeg() override;
    TCustomFFmpeg(const TCustomFFmpeg&) = delete;
    TCustomFFmpeg& operator=(const TCustomFFmpeg&) = delete;

    // ---- Life cycle ---------------------------------------------------------

    // Makes the engine ready for a new job; only with ConverterLibs loaded.
    void ResetJob();
    // The worker, created suspended (the caller starts it), or null: inline
    // jobs, jobs that could not start, and a second start before ResetJob.
    // The engine owns the worker.
    TThread* StartConvert(bool AUseThread, TThreadPriority APriority = tpNormal);
    void Stop(bool AWaitFor);
    void StopOrTerminate(bool AWaitFor);
    void Pause();
    void Resume();

    // ---- Options --------------------------------------------------------------

    // The single entry for a named option; every error reaches the caller.
    void ParseOption(const std::string& AName, const std::string& AValue);
    // The generic path: a library option of that name; never raises.
    virtual bool OptDefault(const std::string& AName, const std::string& AValue);
    bool OptDefault(const std::string& AName, int AValue);

    void OptFormat(const std::string& AValue);
    bool OptBitrate(const std::string& AName, const std::string& AValue);
    void OptFrameRate(const std::string& AValue);
    void OptFrameSize(const std::string& AValue);
    void OptAspect(const std::string& AValue);
    void OptCropTop(int AValue);
    void OptCropBottom(int AValue);
    void OptCropLeft(int AValue);
    void OptCropRight(int AValue);
    void OptPixFmt(const std::string& AValue);
    void OptAudioSampleFmt(const std::string& AValue);
    void OptQScale(float AValue);
    void OptRcOverride(const std::string& AValue);
    void OptVideoStandard(const std::string& AValue);
    void OptMeThreshold(int AValue);
    void OptVerbose(int AValue);
    void OptTopFieldFirst(int AValue);
    void OptVideoChannel(int AValue);
    void OptAudioSampleRate(int AValue);
    void OptAudioChannels(int AValue);
    void OptVideoCodec(const std::string& AValue);
    void OptAudioCodec(const std::string& AValue);
    void OptSubtitleCodec(const std::string& AValue);
    void OptVideoTag(const std::string& AValue);
    void OptAudioTag(const std::string& AValue);
    void OptSubtitleTag(const std::string& AValue);
    void OptVFilters(const std::string& AValue);
    void OptVHook(const std::string& AValue);
    void OptIntraMatrix(const std::string& AValue);
    void OptInterMatrix(const std::string& AValue);

    // The engine's one encoder lookup by name. "libfaac" is served by
    // FFmpeg's own "aac" when the library has no encoder of that name. An
    // unknown name answers null, or with ARaise the error "Unknown encoder".
    const AVCodec* FindEncoderByName(const std::string& AName, bool ARaise = false);

    // Targets and presets.
    void SetTarget(const std::string& ATarget, const std::string& ANorm,
                   const std::string& ANormDefault);
    void OptTarget(const std::string& AValue);
    void ApplyPreset(const std::string& AOptName, const std::string& APreset);

    // Maps, times, metadata, passes, statistics, bitstream filters.
    void OptMap(const std::string& AValue);
    void OptMapMetaData(const std::string& AValue);
    void OptInputTsScale(const std::string& AValue);
    std::int64_t ParseTime(const std::string& AName, const std::string& AValue, bool AIsDuration);
    void OptRecordingTime(const std::string& AName, const std::string& AValue);
    void OptStartTime(const std::string& AName, const std::string& AValue);
    void OptRecordingTimestamp(const std::string& AName, const std::string& AValue);
    void OptInputTsOffset(const std::string& AName, const std::string& AValue);
    void SetRecordingTime(std::int64_t AValue);
    void SetStartTime(std::int64_t AValue);
    void OptMetadata(const std::string& AValue);
    void AddMetadata(const std::string& AKey, const std::string& AValue);
    void OptPass(int AValue);
    void OptVStatsFile(const std::string& AValue);
    void OptVStats(bool AEnable);
    void OptBitstreamFilter(const std::string& AName, const std::string& AValue);
    void OptStreamId(const std::string& AName, const std::string& AValue);

    // Direct setters; the reset values of the option records change nothing.
    void SetProgramId(int AValue);
    void SetAudioVolume(int AValue);
    void SetAudioSyncMethod(int AValue);
    void SetVideoSyncMethod(int AValue);
    void SetMuxMaxDelay(float AValue);
    void SetMuxPreload(float AValue);

    // The post-hook switch. SetPostHooks never waits for PostHookLock: when
    // a job holds it, the set is kept pending and the job applies it at its
    // next frame (ApplyPendingPostHooks, called with the lock held).
    void SetPostHooks(TPostHooks AValue);
    void ApplyPendingPostHooks();
    TPostHooks PostHooks() const { return TPostHooks::FromBits(FPostHooks); }

    // ---- State ----------------------------------------------------------------

    int MaxFiles() const { return FMaxFiles; }
    int nb_input_files() const { return Fnb_input_files; }
    int nb_output_files() const { return Fnb_output_files; }
    bool Finished() const { return FFinished; }
    bool FatalException() const { return FFatalException; }
    std::string FatalMessage() const;
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    bool Converting() const { return FConverting; }
    bool Terminated() const { return FTerminated; }
    bool JoinMode() const { return FJoinMode; }
    std::int64_t TotalOutputDuration() const { return FTotalOutputDuration; }
    // The generic options recorded so far, for the openings that apply them.
    const TFFOptions& Options() const { return FOptions; }
    // The worker sleeps at its pause gate.
    bool Parked() const { return FParked; }
    // The job's worker while it runs, else null.
    TThread* Thread() const;

    const TNotifyEvent& OnTerminate() const { return FOnTerminate; }
    void SetOnTerminate(TNotifyEvent Value) { FOnTerminate = std::move(Value); }
    const TProgressEvent& OnProgress() const { return FOnProgress; }
    void SetOnProgress(TProgressEvent Value) { FOnProgress = std::move(Value); }
    const TPreviewBitmapEvent& OnPreviewBitmap() const { return FOnPreviewBitmap; }
    void SetOnPreviewBitmap(TPreviewBitmapEvent Value) { FOnPreviewBitmap = std::move(Value); }
    const TCustomHookEvent& OnCustomHook() const { return FOnCustomHook; }
    void SetOnCustomHook(TCustomHookEvent Value) { FOnCustomHook = std::move(Value); }

    // Microseconds between progress reports and between preview pictures.
    std::int64_t ReportInterval = 500000;
    std::int64_t PreviewInterval = 100000;

protected:
    class TConvertThread;
    class TDoTerminateThread;

    // The job body and its parts.
    void DoConvert();
    void DoTerminate();
    void ReleaseAll();
    void SetDefaults();
    // Until the transcoding exists: turns of TranscodeTurn, stopped by
    // FBroken, paused at the gate.
    virtual void Transcode();
    virtual bool TranscodeTurn() { return false; }
    // The worker's pause point; only the worker itself may pass it.
    void PassPauseGate();
    void DoSetPostHooks(TPostHooks AValue);

    // The frame-hook registry; it refuses until frame hooks exist.
    virtual int AddFrameHook(const std::vector<std::string>& AArgs);
    // The stream creators of the output opening; they refuse until then.
    virtual void new_video_stream(AVFormatContext* AContext);
    virtual void new_audio_stream(AVFormatContext* AContext);
    virtual void new_subtitle_stream(AVFormatContext* AContext);

    // Codec lists.
    template <class TStream>
    static TCodecItem<TStream>* AddCodecItem(TCodecItem<TStream>*& AHead, TStream* ASt);
    template <class TStream> static void RemoveCodecItem(TCodecItem<TStream>*& AHead, TStream* ASt);
    static void CloseEncoders(TEncoderItem*& AHead);
    static void CloseDecoders(TDecoderItem*& AHead);

    // ---- Life-cycle fields ------------------------------------------------------

    int FMaxFiles;
    std::vector<AVFormatContext*> Finput_files;
    std::vector<AVFormatContext*> Foutput_files;
    std::vector<std::int64_t> Finput_files_ts_offset;
    std::vector<std::array<double, MAX_STREAMS>> Finput_files_ts_scale;
    std::vector<const AVCodec*> Finput_codecs;
    std::vector<const AVCodec*> Foutput_codecs;
    std::vector<TAVStreamMap> Fstream_maps;
    int Fnb_stream_maps = 0;
    std::vector<TAVMetaDataMap> Fmeta_data_maps;
    int Fnb_meta_data_maps = 0;
    // Per output file, one chain per stream.
    std::vector<std::array<AVBSFContext*, MAX_STREAMS>> Fbitstream_filters;
    int Fnb_input_files = 0;
    int Fnb_output_files = 0;
    TFFOptions FOptions;
    TEncoderItem* FEncoderList = nullptr;
    TDecoderItem* FDecoderList = nullptr;
    std::atomic<TConvertThread*> FThread{nullptr};
    std::unique_ptr<TEvent> FStopEvent;
    std::unique_ptr<TEvent> FTermEvent;
    std::atomic<unsigned> FPostHooks{0};
    // A set that SetPostHooks could not apply yet; -1 = none.
    std::atomic<int> FPendingPostHooks{-1};
    bool FJoinMode = false;
    std::atomic<bool> FConverting{false};
    std::atomic<bool> FBroken{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFatalException{false};
    std::atomic<bool> FParked{false};
    // Written by the worker, read by anyone: under FFatalLock.
    std::string FFatalMessage;
    mutable std::mutex FFatalLock;
    std::string FLastErrMsg;
    std::int64_t FTotalOutputDuration = -1;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TNotifyEvent FOnTerminate;

    // ---- Option fields (defaults in SetDefaults) ------------------------------

    std::array<int, MAX_STREAMS> Fstreamid_map{};
    std::string Flast_asked_format;
    std::string Fvideo_language;
    std::string Faudio_language;
    std::string Fsubtitle_language;
    std::string Fvfilters;
    std::string Fpass_logfilename_prefix;
    int Fframe_width = 0;
    int Fframe_height = 0;
    float Fframe_aspect_ratio = 0;
    int Fframe_topBand = 0;
    int Fframe_bottomBand = 0;
    int Fframe_leftBand = 0;
    int Fframe_rightBand = 0;
    AVPixelFormat Fframe_pix_fmt = AV_PIX_FMT_NONE;
    AVSampleFormat Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    std::array<int, 4> Fmax_frames{};
    AVRational Fframe_rate{0, 0};
    float Fvideo_qscale = 0;
    std::optional<std::array<std::uint16_t, 64>> Fintra_matrix;
    std::optional<std::array<std::uint16_t, 64>> Finter_matrix;
    std::string Fvideo_rc_override_string;
    std::string Fvideo_codec_name;
    std::string Faudio_codec_name;
    std::string Fsubtitle_codec_name;
    std::string Fvideo_standard;
    std::string Fvstats_filename;
    FILE* Fvstats_file = nullptr;

    bool Fvideo_disable = false;
    bool Faudio_disable = false;
    bool Fsubtitle_disable = false;
    bool Fsame_quality = false;
    bool Fdo_deinterlace = false;
    bool Floop_input = false;
    bool Fqp_hist = false;
    bool FEnableFilter = false;
    bool Fintra_only = false;
    bool Fdo_hex_dump = false;
    bool Fdo_pkt_dump = false;
    bool Fdo_psnr = false;
    bool Fcopy_ts = false;
    bool Fopt_shortest = false;
    bool Frate_emu = false;
    bool Fexit_on_error = false;
    bool Fusing_vhook = false;
    bool FShowDupOrDrop = false;
    bool Finput_sync = false;
    bool Fforce_fps = false;

    int Fvideo_discard = 0;
    std::uint32_t Fvideo_codec_tag = 0;
    std::uint32_t Faudio_codec_tag = 0;
    std::uint32_t Fsubtitle_codec_tag = 0;
    int Fme_threshold = 0;
    std::int64_t Fchannel_layout = 0;
    int Fdo_benchmark = 0;
    int Fdo_pass = 0;
    int Faudio_stream_copy = 0;
    int Fvideo_stream_copy = 0;
    int Fsubtitle_stream_copy = 0;
    int Faudio_sync_method = 0;
    int Fvideo_global_header = 0;
    int Fopt_programid = 0;
    int Fcopy_initial_nonkeyframes = 0;
    int Fvideo_channel = 0;
    int Fusing_stdin = 0;
    int Fq_pressed = 0;
    std::int64_t Fvideo_size = 0;
    std::int64_t Faudio_size = 0;
    std::int64_t Fextra_size = 0;
    int Fnb_frames_dup = 0;
    int Fnb_frames_drop = 0;
    std::int64_t Flimit_filesize = 0;
    int Fpgmyuv_compatibility_hack = 0;
    std::int64_t Fstart_time = 0;
    std::int64_t Frecording_timestamp = 0;
    std::int64_t Finput_ts_offset = 0;

    int Ftop_field_first = -1;
    int Floop_output = -1;
    int Fvideo_sync_method = -1;
    int Fintra_dc_precision = 8;
    int Faudio_sample_rate = 44100;
    float Faudio_qscale = -99999.0f;
    int Faudio_channels = 2;
    float Fmux_preload = 0.5f;
    float Fmux_max_delay = 0.7f;
    std::int64_t Frecording_time = INT64_MAX;
    float Faudio_drift_threshold = 0.1f;
    int Faudio_volume = 256;
    int Fverbose = 1;
    int Fthread_count = 1;
    float Fdts_delta_threshold = 10.0f;
    int Fsws_flags = 4;
    // Bookkeeping only: encoders allocate their own packets.
    int Fbit_buffer_size = 262144;

    std::vector<TAVMetadataTag> Fmetadata;
    std::vector<std::string> Fvideo_bitstream_filters;
    std::vector<std::string> Faudio_bitstream_filters;
    std::vector<std::string> Fsubtitle_bitstream_filters;

    // ---- Frame hooks, preview and progress --------------------------------------
    // (FFmpeg.Hooks.cpp and FFmpeg.Progress.cpp; the transcode loop calls
    // PreProcessPicture per decoded picture, RunPostHooks per encoded frame,
    // WriteVideoStats per encoded video packet and ReportProgress.)
public:
    // What the progress report and the statistics file read of one output
    // stream, taken from its record when they run.
    struct TStreamReport {
        // Type, flags (PSNR), size, time base and the error sums.
        const AVCodecContext* enc = nullptr;
        bool StreamCopy = false;
        // The stream counts frames for the report.
        bool ShowFps = false;
        int FrameNumber = 0;
        std::int64_t SyncOpts = 0;
        // Quality (lambda), picture type and per-plane errors of the last packet.
        int Quality = 0;
        int PictType = 0;
        std::array<std::int64_t, 3> Error{};
        // The last packet's time in seconds.
        double Time = 0;
    };

protected:
    // The post-hook state of a job. The previewer is made, used and freed by
    // the job's worker; PostHookLock guards who may touch it.
    struct TPostHookContext {
        TRGBConvertContext Context;
        TPreviewer* Previewer = nullptr;
        std::int64_t preview_last_time = 0;
        std::int64_t preview_cur_time = 0;
        bool Delivered = false;
    };

    // The job's clock in microseconds; tests replace it.
    virtual std::int64_t NowUS();
    // The picture the encoders get for a decoded one: AFrame itself, or the
    // job's processed copy (deinterlaced, hooked) whose planes lie in
    // FHookBuf, valid until the next picture and owning no buffer (FFmpeg
    // copies it where it keeps it). A copied video stream calls it with no
    // frame, to be counted. APTS is the input stream's time in microseconds.
    AVFrame* PreProcessPicture(TAVInputStream* ist, AVFrame* AFrame, std::int64_t APTS);
    void RunCustomHook(TAVPicture& APicture, int APixFmt, int AWidth, int AHeight,
                       std::int64_t APTS);
    // AFrame is the frame the encoder took, in AEnc's format and size.
    void RunPostHooks(const AVFrame* AFrame, const AVCodecContext* AEnc);
    // AFileIndex is -1 in the last report.
    void ReportProgress(bool is_last_report, int AFileIndex,
                        const std::vector<TStreamReport>& AStreams);
    void WriteVideoStats(const TStreamReport& AStream, int AFrameSize);
    // The hook chain, the buffers and the post-hook context go (ReleaseAll).
    void ReleaseHooks();
    // The per-job counters and contexts start afresh (SetDefaults).
    void ResetHooks();
    void FreePostHookContext();
    // Called by DoSetPostHooks with the lock held, before the set changes.
    void RetirePreviewer(TPostHooks ANewHooks);

    TFrameHookEntry* FFirstHook = nullptr;
    std::uint8_t* FHookBuf = nullptr;
    int FHookBufSize = 0;
    // The processed copy handed on; its planes point into FHookBuf.
    AVFrame* FHookFrame = nullptr;
    int FHookFrameNumber = 0;
    TRGBConvertContext FHookContext;
    TPostHookContext FPostContext;
    // A frame is being shown or handed over; under PostHookLock.
    bool FInDelivery = false;
    std::int64_t Ftimer_start = 0;
    std::array<int, 52> Fqp_histogram{};
    // ---- End of frame hooks, preview and progress ----------------------------

private:
    void OptCodec(int AMediaType, const std::string& AValue);
    void OptCrop(int AValue, bool AVertical, int& ABand);
    void OptTag(const std::string& AValue, const char* AMessage, std::uint32_t& ATag);
    void OptMatrix(const std::string& AValue,
                   std::optional<std::array<std::uint16_t, 64>>& AMatrix);
    void ListFormats(bool APixelFormats);
    void OptNewStream(int AMediaType);
    void Log(int ALevel, const std::string& AMsg);
    void HandleFatal(const std::string& AMsg);
    void WaitServing(TEvent& AEvent);
    void ReleaseOutputs();
    void ReleaseInputs();
    void JoinWorker();

    std::unique_ptr<TConvertThread> FThreadObject;
    std::unique_ptr<TDoTerminateThread> FTermThread;
};

template <class TStream>
TCodecItem<TStream>* TCustomFFmpeg::AddCodecItem(TCodecItem<TStream>*& AHead, TStream* ASt) {
    auto* Item = new TCodecItem<TStream>{ASt, nullptr, AHead};
    if (AHead)
        AHead->Prev = Item;
    AHead = Item;
    return Item;
}

template <class TStream>
void TCustomFFmpeg::RemoveCodecItem(TCodecItem<TStream>*& AHead, TStream* ASt) {
    for (TCodecItem<TStream>* Item = AHead; Item; Item = Item->Next) {
        if (Item->st != ASt)
            continue;
        if (Item->Prev)
            Item->Prev->Next = Item->Next;
        else
            AHead = Item->Next;
        if (Item->Next)
            Item->Next->Prev = Item->Prev;
        delete Item;
        return;
    }
}
