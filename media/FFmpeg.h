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
// FFmpeg.Maps.cpp (maps, times, metadata, statistics, filters, setters
// and the post-hook switch), FFmpeg.Input.cpp and FFmpeg.Output.cpp (opening
// inputs, creating outputs and their streams), FFmpeg.Setup.cpp (pairing
// output streams with their sources), FFmpeg.Codecs.cpp (codecs, headers,
// teardown), FFmpeg.Loop.cpp (the read loop), FFmpeg.Copy.cpp (packets
// that are copied, and the one door to the muxer), FFmpeg.Decode.cpp
// (decoding and encoding), FFmpeg.Audio.cpp, FFmpeg.Video.cpp and
// FFmpeg.Subtitle.cpp (the outputs of each kind).
//
// Ownership: each output context created here carries one TAVOutputSlot per
// stream (its encoder context and filter chain), each opened input one
// TAVInputSlot per stream; both live until ReleaseAll frees the context. The
// job's records (TAVInputStream, TAVOutputStream) live for one Transcode.
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

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
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

// A picture of the encoder's size and pixel format, for the rescaler to
// write into; raises when it cannot be had.
AVFrame* AllocEncoderPicture(const AVCodecContext* AEncoder);

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

struct SwsContext;
struct SwrContext;
struct AVAudioFifo;
struct AVFilterGraph;
struct AVFilterContext;

// What a stream creator set on an encoder context: the option entries it
// applied and the fields it set itself. ApplyEncoderSettings writes them onto
// a context; the creator and the reopening of encoders between join segments
// both go through it, so a fresh context is configured exactly as the first.
struct TEncoderSettings {
    TEncoderSettings() = default;
    ~TEncoderSettings();
    TEncoderSettings(const TEncoderSettings&) = delete;
    TEncoderSettings& operator=(const TEncoderSettings&) = delete;

    AVDictionary* Options = nullptr;
    AVMediaType codec_type = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    std::uint32_t codec_tag = 0;
    int flags = 0;  // added to what the options set
    int flags2 = 0; // likewise
    AVRational time_base{0, 1};
    AVRational framerate{0, 1};
    int width = 0;
    int height = 0;
    AVRational sample_aspect_ratio{0, 1};
    int pix_fmt = AV_PIX_FMT_NONE;
    int sample_fmt = AV_SAMPLE_FMT_NONE;
    int sample_rate = 0;
    AVChannelLayout ch_layout{};
    bool intra_only = false;
    bool has_global_quality = false;
    int global_quality = 0;
    std::optional<std::array<std::uint16_t, 64>> intra_matrix;
    std::optional<std::array<std::uint16_t, 64>> inter_matrix;
    std::vector<RcOverride> rc_override;
    bool has_intra_dc_precision = false;
    int intra_dc_precision = 0;
};

void ApplyEncoderSettings(AVCodecContext* AContext, const TEncoderSettings& ASettings);

// What the muxer was last given for a stream: key flag, picture type,
// quality and per-plane error.
struct TCodedFrameInfo {
    int key_frame = 0;
    int pict_type = 0;
    int quality = 0;
    std::array<std::uint64_t, 4> error{};
};

// One stream of an output context, made by its stream creator and owned by
// the engine until the context is freed. Its encoder context and filter
// chain live here, because the job's records come and go with each job
// while the stream stays.
struct TAVOutputSlot {
    TAVOutputSlot() = default;
    ~TAVOutputSlot();
    TAVOutputSlot(const TAVOutputSlot&) = delete;
    TAVOutputSlot& operator=(const TAVOutputSlot&) = delete;
    void FreeBsf();

    AVCodecContext* Codec = nullptr;
    const AVCodec* Encoder = nullptr;
    bool StreamCopy = false;
    float Quality = 0;
    TCodedFrameInfo CodedFrame;
    // Where the written time ends, in the stream's time base.
    std::int64_t LastPts = 0;
    // The decoding time of the last packet written.
    std::int64_t LastDts = AV_NOPTS_VALUE;
    // One frame in the stream's time base, for packets without a duration.
    std::int64_t DefaultDuration = 0;
    std::vector<std::string> BsfNames;
    std::vector<AVBSFContext*> Bsf;
    TEncoderSettings Settings;
};

// What the engine knows of one output context besides its streams.
struct TAVOutputFileState {
    std::vector<std::unique_ptr<TAVOutputSlot>> Slots;
    // The file was opened by OpenOutputFile (not a placed or file-less one).
    bool OpenedForWriting = false;
    bool HeaderTried = false;
    bool HeaderWritten = false;
    bool TrailerTried = false;
    bool TrailerWritten = false;
};

// One stream of an opened input: the decoding options recorded when it was
// opened, and the decoder named for its kind.
struct TAVInputSlot {
    TAVInputSlot() = default;
    ~TAVInputSlot();
    TAVInputSlot(const TAVInputSlot&) = delete;
    TAVInputSlot& operator=(const TAVInputSlot&) = delete;

    AVDictionary* DecoderOptions = nullptr;
    const AVCodec* Decoder = nullptr;
};

// The per-job record of one input file.
struct TAVInputFile {
    int eof_reached = 0;
    int ist_index = 0;
    int buffer_size = 0;
    int nb_streams = 0;
};

// The per-job record of one output stream. Its encoder context belongs to
// its slot; enc_ctx points at the slot's current one.
struct TAVOutputStream {
    TAVOutputStream() = default;
    ~TAVOutputStream();
    TAVOutputStream(const TAVOutputStream&) = delete;
    TAVOutputStream& operator=(const TAVOutputStream&) = delete;

    AVCodecContext* enc_ctx = nullptr;
    int encoding_needed = 0;
    int file_index = 0;
    int index = 0;
    int source_index = 0;
    AVStream* st = nullptr;
    TAVOutputSlot* slot = nullptr;
    int frame_number = 0;
    struct TAVInputStream* sync_ist = nullptr;
    std::int64_t sync_opts = 0;
    int video_resample = 0;
    AVFrame* pict_tmp = nullptr;
    SwsContext* img_resample_ctx = nullptr;
    int resample_height = 0;
    int resample_width = 0;
    int resample_pix_fmt = 0;
    int original_height = 0;
    int original_width = 0;
    // The last picture given to a constant-rate output, and where its time
    // ends (microseconds): at the end the output runs on to that time.
    AVFrame* last_picture = nullptr;
    std::int64_t last_picture_end = AV_NOPTS_VALUE;
    int video_crop = 0;
    int topBand = 0;
    int bottomBand = 0;
    int leftBand = 0;
    int rightBand = 0;
    int original_topBand = 0;
    int original_bottomBand = 0;
    int original_leftBand = 0;
    int original_rightBand = 0;
    int audio_resample = 0;
    SwrContext* resample = nullptr;
    // What the resampler was made for: the decoded sound's layout, rate and
    // format, which a stream may change mid-file.
    AVChannelLayout resample_in_layout{};
    int resample_in_rate = 0;
    int resample_in_format = -1;
    // The sound encoder has had a frame: its times may no longer go back.
    bool audio_started = false;
    int reformat_pair = 0;
    AVAudioFifo* fifo = nullptr;
    FILE* logfile = nullptr;
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    int show_fps = 0;
    // The stream's own filter graph with its source and sink, or none.
    AVFilterGraph* filter_graph = nullptr;
    AVFilterContext* input_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
};

// The per-job record of one input stream; it owns its decoder context.
struct TAVInputStream {
    TAVInputStream() = default;
    ~TAVInputStream();
    TAVInputStream(const TAVInputStream&) = delete;
    TAVInputStream& operator=(const TAVInputStream&) = delete;

    AVCodecContext* dec_ctx = nullptr;
    int decoding_needed = 0;
    int file_index = 0;
    int index = 0;
    AVStream* st = nullptr;
    TAVInputSlot* slot = nullptr;
    int discard = 1;
    std::int64_t sample_index = 0;
    std::int64_t start = 0;
    std::int64_t next_pts = 0;
    std::int64_t pts = 0;
    int is_start = 0;
    int showed_multi_packet_warning = 0;
    int is_past_recording_time = 0;
    int decoder_flushed = 0;
    // The quality of the last picture decoded.
    float quality = 0;
    int decoder_opened = 0;
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

    // ---- Files ----------------------------------------------------------------

    // Opens and probes an input, consuming the pending input options. False
    // with LastErrMsg when the file cannot be used.
    bool OpenInputFile(const std::string& AFileName);
    // Creates an output and its streams; the new output count, or -1 with
    // LastErrMsg.
    int OpenOutputFile(const std::string& AFileName, bool AJoin = false);

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
    // The whole job: setup, codecs and headers, the read loop, the end.
    virtual void Transcode();
    // The worker's pause point; only the worker itself may pass it.
    void PassPauseGate();
    void DoSetPostHooks(TPostHooks AValue);

    // The frame-hook registry; it refuses until frame hooks exist.
    virtual int AddFrameHook(const std::vector<std::string>& AArgs);
    // The stream creators of the output opening.
    virtual void new_video_stream(AVFormatContext* AContext);
    virtual void new_audio_stream(AVFormatContext* AContext);
    virtual void new_subtitle_stream(AVFormatContext* AContext);

    // ---- Opening ------------------------------------------------------------------

    bool FindCodec(const std::string& AName, int AType, AVCodecID& ACodecID, int AStrict,
                   bool AEncoder, const AVCodec** AFound = nullptr);
    void check_audio_video_sub_inputs(int& AHasVideo, int& AHasAudio, bool AFirstOnly,
                                      int& AHasSubtitle);
    void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec);
    void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec);
    void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec);
    // The slot of a stream of an output context; a stream without one (a
    // context placed from outside) gets a copying slot.
    TAVOutputSlot* OutputSlot(AVFormatContext* AContext, int AIndex);
    TAVOutputFileState* OutputState(const AVFormatContext* AContext);

    // ---- The job ----------------------------------------------------------------------

    void SetupStreams();
    void MapOutputStream(TAVOutputStream& AOst, int ANumber);
    void SetCopyParameters(TAVOutputStream* AOst, TAVInputStream* AIst);
    void SetEncodingParameters(TAVOutputStream* AOst, TAVInputStream* AIst, int AIndex);
    void OpenEncoders();
    void OpenDecoders();
    void OpenDecoder(TAVInputStream* AIst);
    void InitBitstreamFilters();
    void InitInputClocks();
    void ApplyMetadataMaps();
    void CopyChapters();
    void WriteHeaders();
    void DumpAndMapping();
    void ReopenEncoders();
    void RunLoop();
    bool HandlePacket(int AFileIndex, AVPacket* APacket);
    int MaxFramesOf(const TAVOutputStream& AOst) const;
    // False when the loop ends with this segment.
    bool EndJoinSegment(int AFileIndex);
    void WriteTrailers(bool AAfterFailure);
    void ReleaseTables();
    int DecodePacket(TAVInputStream* AIst, int AIstIndex, const AVPacket* APacket);
    void CopyPacket(TAVInputStream* AIst, TAVOutputStream* AOst, const AVPacket* APacket);
    // The one door to the muxer: the stream's filter chain, then the
    // interleaving writer, which takes the packet's reference.
    void WritePacket(AVFormatContext* AContext, AVPacket* APacket, TAVOutputSlot* ASlot,
                     AVCodecContext* AAvctx);
    int OutputEntries() const {
        return FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
    }

    // Decoded data to the outputs.
    void HandleDecodedFrame(TAVInputStream* AIst, int AIstIndex, AVFrame* AFrame,
                            const AVPacket* APacket);
    void ScaleVolume(AVFrame* AFrame);
    void TrimToPacketDuration(const TAVInputStream* AIst, AVFrame* AFrame);
    void FilterPicture(AVFormatContext* AContext, TAVOutputStream* AOst, TAVInputStream* AIst,
                       AVFrame* APicture);
    void do_audio_out(AVFormatContext* AContext, TAVOutputStream* AOst, TAVInputStream* AIst,
                      AVFrame* AFrame);
    void WriteAudioSamples(AVFormatContext* AContext, TAVOutputStream* AOst, bool AFlush);
    void DrainResampler(TAVOutputStream* AOst);
    void ReserveAudioBuffer(const AVCodecContext* AEnc, int ASamples);
    int VideoOut(AVFormatContext* AContext, TAVOutputStream* AOst, TAVInputStream* AIst,
                 AVFrame* APicture);
    int EncodePicture(AVFormatContext* AContext, TAVOutputStream* AOst, TAVInputStream* AIst,
                      AVFrame* APicture, int AFrames);
    void FinishPictures(AVFormatContext* AContext, TAVOutputStream* AOst);
    bool ConstantFrameRate(const AVFormatContext* AContext) const;
    // The stream's rescaler for pictures of the given size and format, slice
    // threaded; null when the library refuses the conversion.
    SwsContext* NewRescaler(int AWidth, int AHeight, AVPixelFormat AFormat,
                            const AVCodecContext* AEnc);
    void Rescale(TAVOutputStream* AOst, const AVFrame* ASource);
    // Sends a frame (null: the end) to the stream's encoder and writes what
    // comes back; the size of the last packet, 0 when none.
    int EncodeFrame(AVFormatContext* AContext, TAVOutputStream* AOst, AVFrame* AFrame);
    void DrainEncoders(int AIstIndex);
    int DecodeSubtitle(TAVInputStream* AIst, int AIstIndex, const AVPacket* APacket);
    void SubtitleOut(AVFormatContext* AContext, TAVOutputStream* AOst, std::int64_t APts,
                     AVSubtitle* ASub, TAVInputStream* AIst);
    virtual void RunPostHooks(AVFrame* APicture, AVCodecContext* AEnc);
    virtual void WriteVideoStats(TAVOutputStream* AOst, int AFrameSize);

    // Seams that the filter graph, the picture hooks and the progress report
    // fill.
    virtual int DecodeAndOutput(TAVInputStream* AIst, int AIstIndex, const AVPacket* APacket);
    virtual int ConfigureFilters(TAVInputStream* AIst, TAVOutputStream* AOst);
    virtual void PreProcessPicture(TAVInputStream* AIst, AVFrame* APicture);
    virtual void ReportProgress(bool ALast, int AFileIndex);
    // The job's wall clock in microseconds.
    virtual std::int64_t NowUS();

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
    // One entry per decodable input stream and per created output stream.
    std::vector<const AVCodec*> Finput_codecs;
    std::vector<const AVCodec*> Foutput_codecs;
    // Per input file, one slot per stream.
    std::vector<std::vector<std::unique_ptr<TAVInputSlot>>> Finput_slots;
    std::map<const AVFormatContext*, TAVOutputFileState> Foutput_states;
    // The tables of the running job.
    std::vector<TAVInputFile> Ffile_table;
    std::vector<std::unique_ptr<TAVInputStream>> Fist_table;
    std::vector<std::unique_ptr<TAVOutputStream>> Fost_table;
    // Output streams per join segment (the stream count of entry 0).
    int Fnb_segment_streams = 0;
    std::int64_t Ftimer_start = 0;
    // Work buffers of the job: decoded frames, converted samples, encoded
    // subtitles.
    AVFrame* Fdecoded_frame = nullptr;
    std::array<std::uint8_t*, AV_NUM_DATA_POINTERS> Faudio_buf{};
    int Faudio_buf_samples = 0;
    int Faudio_buf_format = -1;
    int Faudio_buf_channels = 0;
    std::uint8_t* Fsubtitle_out = nullptr;
    std::vector<TAVStreamMap> Fstream_maps;
    int Fnb_stream_maps = 0;
    std::vector<TAVMetaDataMap> Fmeta_data_maps;
    int Fnb_meta_data_maps = 0;
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

    // The record of one output stream as the report and the statistics read it.
    TStreamReport StreamReportOf(const TAVOutputStream& AOst) const;
    void RunCustomHook(TAVPicture& APicture, int APixFmt, int AWidth, int AHeight,
                       std::int64_t APTS);
    // The report of the streams given; AFileIndex is -1 in the last report.
    void ReportProgress(bool is_last_report, int AFileIndex,
                        const std::vector<TStreamReport>& AStreams);
    // One line of the statistics file for the frame just encoded.
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
    // Holds a decoded picture's properties while it is laid over FHookBuf.
    AVFrame* FHookFrame = nullptr;
    int FHookFrameNumber = 0;
    TRGBConvertContext FHookContext;
    TPostHookContext FPostContext;
    // A frame is being shown or handed over; under PostHookLock.
    bool FInDelivery = false;
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
    bool DoOpenInputFile(const std::string& AFileName);
    std::unique_ptr<TAVInputSlot> TakeInputStream(const std::string& AFileName, AVStream* ASt,
                                                  std::vector<const AVCodec*>& ACodecs);
    void TakeVideoStream(AVStream* ASt, AVDictionary* ADecoderOptions);
    int DoOpenOutputFile(AVFormatContext* AContext, const std::string& AFileName, bool AJoin,
                         bool& AStored, bool& AFileOpened);
    TAVOutputSlot& NewOutputStream(AVFormatContext* AContext, AVMediaType AType,
                                   std::vector<std::string>& APendingBsf, AVStream*& ASt);
    void SetupEncoder(TAVOutputSlot& ASlot, AVMediaType AType, const std::string& AName,
                      AVFormatContext* AContext, int AOptionFlags);
    void ReleaseOutputs();
    void ReleaseOutputContext(AVFormatContext* AContext);
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
