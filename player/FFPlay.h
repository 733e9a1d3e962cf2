// The preview player: TCustomPlayer (published as TRIVavova) plays one file at
// a time into a host window, on SDL 1.2 threads, and reports file-open,
// position and state events to the user-interface thread.
//
// Threads of one playback: the caller's (user-interface) thread runs the
// operations and, normally, the event handlers; the play thread runs the SDL
// event loop (display, resize, shutdown); the event thread delivers the
// playback's position and state events from its ring; the SDL read, video
// and subtitle threads and SDL's audio thread do the media work.
//
// Locks, in the order they may be taken: FDataLock (one SDL event's handling,
// a forced shutdown) -> a packet queue's or picture queue's mutex ->
// SDLLock(). CodecLock is taken with no other player lock held but the
// playback's stream lock. SDLLock() and the screen copy's lock are leaves. No
// thread waits for the user-interface thread while it holds FDataLock.
//
// SDL 1.2 has one surface, one audio device and one event queue per process,
// so only one playback exists at a time in the whole process (AcquireSDL).
// SDL draws into memory (its "dummy" video driver); PlayerScreen copies what
// it drew into the host window through the window system.
//
// Destroying a player from inside its own event handlers is not supported.
// A derived class that overrides the virtual members the play thread calls
// stops the playback (Stop(true)) in its own destructor.
#pragma once

#include "media/FFBaseComponent.h"
#include "media/FFUtils.h"
#include "media/SwResampleStubs.h"
#include "media/libsdl.h"
#include "platform/core/Events.h"
#include "platform/core/SyncObjects.h"
#include "platform/core/Threads.h"
#include "platform/win/Messages.h"
#include "player/AVProbe.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class TPlayerScreen;
struct AVFilterGraph;
struct AVFilterContext;

enum TPlayState : std::uint8_t { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType : std::uint8_t { rtNone, rtStop, rtLoop };
enum TShowAudio : std::uint8_t { saNone, saWave, saRDFT };
enum TAudioDriver : std::uint8_t { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver : std::uint8_t { vdDefault, vdDirectDraw, vdGDI };
enum Tav_sync_type : std::uint8_t {
    AV_SYNC_AUDIO_MASTER,
    AV_SYNC_VIDEO_MASTER,
    AV_SYNC_EXTERNAL_CLOCK
};
// 0 .. 128
using TAudioVolume = int;

using TFileOpenEvent = TMethod<void(TObject* Sender, std::int64_t ADuration, int AFrameWidth,
                                    int AFrameHeight, int& AScreenWidth, int& AScreenHeight)>;
using TPositionEvent = TMethod<void(TObject* Sender, std::int64_t APTS)>;
using TPlayStateEvent = TMethod<void(TObject* Sender, TPlayState AState)>;
using THookEvent = TMethod<void(TObject* Sender, TBitmap* ABitmap, std::int64_t APTS)>;

// ---- SDL, once per process ---------------------------------------------------

// The leaf lock around every SDL_Init, SDL_Quit, SDL_PushEvent and
// SDL_PollEvent of the player: SDL_Quit destroys the event queue's mutex
// under any thread still inside those calls.
std::mutex& SDLLock();
// One playback (AOwner, a playback's serial number) may hold SDL at a time.
// AcquireSDL answers false while another holds it.
bool AcquireSDL(std::uint64_t AOwner);
void ReleaseSDL(std::uint64_t AOwner);
bool SDLHeldBy(std::uint64_t AOwner);
// Pushes an event into SDL's queue and wakes the play thread waiting for one,
// so a picture falls due without a polling period's delay. Called with
// SDLLock() held, only while SDL is initialised.
void PushPlayerEvent(SDL_Event& AEvent);
// The holder's serial, 0 when nobody holds SDL.
std::uint64_t SDLHolder();

// The player's SDL user events.
inline constexpr int PlayerAllocEvent = SDL_USEREVENT;       // 24
inline constexpr int PlayerRefreshEvent = SDL_USEREVENT + 1; // 25
inline constexpr int PlayerQuitEvent = SDL_USEREVENT + 2;    // 26
inline constexpr int PlayerReopenEvent = SDL_USEREVENT + 3;  // 27

// ---- Packet queues -------------------------------------------------------------

// One queued packet, or the marker that tells a consumer to flush its decoder.
struct TPacketNode {
    AVPacket* pkt = nullptr; // owned; null for the flush marker
    bool flush = false;
    TPacketNode* next = nullptr;
};

// A queue of packets between the read thread and one consumer. nb_packets and
// size change under mutex and are read without it by the read thread's
// limits.
struct TPacketQueue {
    TPacketNode* first_pkt = nullptr;
    TPacketNode* last_pkt = nullptr;
    std::atomic<int> nb_packets{0};
    std::atomic<int> size{0}; // packet sizes plus 72 bytes per node
    std::atomic<int> abort_request{0};
    SDL_mutex* mutex = nullptr;
    SDL_cond* cond = nullptr;
};

// What a node costs on top of its packet's bytes.
inline constexpr int PacketNodeSize = 72;

void PacketQueueInit(TPacketQueue& q);
void PacketQueueFlush(TPacketQueue& q);
void PacketQueueDestroy(TPacketQueue& q);
// Takes the packet's reference (APacket is left empty); -1 when it cannot be
// made reference-counted or no node can be allocated.
int PacketQueuePut(TPacketQueue& q, AVPacket* APacket);
int PacketQueuePutFlush(TPacketQueue& q);
void PacketQueueAbort(TPacketQueue& q);
// 1 with a packet moved into APacket (or AFlush set for the marker), 0 when
// empty without ABlock, -1 when aborted.
int PacketQueueGet(TPacketQueue& q, AVPacket* APacket, bool& AFlush, bool ABlock);

// ---- The event ring ------------------------------------------------------------

struct TPlayEventItem {
    int kind = 0; // 0 none, 1 position, 2 state, 3 end of delivery
    std::int64_t value = 0;
};

inline constexpr int PlayEventRingSize = 10;

struct TPlayEvent {
    TMutex Lock;
    TEvent Event{true, false}; // manual reset, signalled while not empty
    int Header = 0;
    int Tailer = 0;
    TPlayEventItem Events[PlayEventRingSize];
};

// An event of the kind of the newest pending one replaces it; a full ring
// drops its oldest entry.
void PushPlayEvent(TPlayEvent& ARing, const TPlayEventItem& AItem);
TPlayEventItem PopPlayEvent(TPlayEvent& ARing);
int PlayEventCount(TPlayEvent& ARing);

class TCustomPlayer;
class TEventThread;

// The ring and event thread of one playback. The player owns it until the
// thread has delivered its last event, so a later playback never shares it.
struct TPlayEventChannel {
    TPlayEventChannel();
    ~TPlayEventChannel();
    TPlayEvent Ring;
    std::unique_ptr<TEventThread> Thread;
    // Set by the play thread when it starts: pictures wait for it, so psPlay
    // comes before anything a picture reports.
    TEvent PlayThreadStarted{true, false};
};

class TEventThread : public TThread {
public:
    TEventThread(TCustomPlayer* AOwner, TPlayEventChannel* AChannel);
    ~TEventThread() override;

protected:
    void Execute() override;

private:
    TCustomPlayer* FOwner;
    TPlayEventChannel* FChannel;
};

// ---- One playback ----------------------------------------------------------------

// One slot of the picture queue. The overlay is the slot's plane store; the
// slot's own mutex keeps a picture whole while it is written, shown or
// copied (SDL's lock of a software overlay excludes nothing).
struct TVideoPicture {
    double pts = 0;
    std::atomic<double> target_clock{0};
    std::int64_t pos = 0;
    SDL_Overlay* bmp = nullptr;
    int width = 0;
    int height = 0;
    std::atomic<int> allocated{0};
    AVPixelFormat pix_fmt = AV_PIX_FMT_NONE;
    AVRational sar{0, 1};
    SDL_mutex* lock = nullptr;
};

inline constexpr int VIDEO_PICTURE_QUEUE_SIZE = 2;

// The picture last displayed, as it was displayed, for CurrentFrame.
struct TShownPicture {
    std::mutex Lock;
    std::vector<std::uint8_t> Planes[3]; // Y, U, V at Width x Height, 4:2:0
    int Width = 0;
    int Height = 0;
    double PTS = 0;
    std::uint64_t Generation = 0;
    SDL_Rect Rect{}; // where it was drawn on the surface
};

// One decoded bitmap subtitle waiting to be shown; its palettes hold alpha,
// Y, U and V.
struct TSubPicture {
    double pts = 0;
    AVSubtitle sub{};
};

inline constexpr int SUBPICTURE_QUEUE_SIZE = 4;

// A palette entry (alpha, red, green, blue from the high byte down) as
// alpha, Y, U, V in studio range.
std::uint32_t PaletteEntryToYUVA(std::uint32_t AEntry);
// Blends a palettised rectangle (its palette already YUVA) into a YUV 4:2:0
// picture of AWidth x AHeight (even), planes Y, U, V; the rectangle is moved
// inside, or cut to, the picture.
void BlendSubRect(std::uint8_t* const APlanes[3], const int ALineSizes[3],
                  const AVSubtitleRect& ARect, int AWidth, int AHeight);

struct TVideoState {
    TVideoState();
    ~TVideoState();
    TVideoState(const TVideoState&) = delete;
    TVideoState& operator=(const TVideoState&) = delete;

    SDL_Thread* parse_tid = nullptr;
    SDL_Thread* video_tid = nullptr;
    SDL_Thread* refresh_tid = nullptr;
    const AVInputFormat* iformat = nullptr;
    int no_background = 0;
    std::atomic<int> abort_request{0};
    std::atomic<int> paused{0};
    int last_paused = 0;
    std::atomic<int> seek_req{0};
    int seek_flags = 0;
    std::int64_t seek_pos = 0;
    std::int64_t seek_rel = 0;
    std::atomic<int> read_pause_return{0};
    AVFormatContext* ic = nullptr;
    int dtg_active_format = 0;

    std::atomic<int> audio_stream{-1};
    Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
    double external_clock = 0;
    std::int64_t external_clock_time = 0;
    std::atomic<double> audio_clock{0};
    double audio_diff_cum = 0;
    double audio_diff_avg_coef = 0;
    double audio_diff_threshold = 0;
    int audio_diff_avg_count = 0;
    AVStream* audio_st = nullptr;
    AVCodecContext* audio_dec = nullptr;
    TPacketQueue audioq;
    int audio_hw_buf_size = 0;
    std::atomic<int> audio_buf_size{0};
    std::atomic<int> audio_buf_index{0};
    std::atomic<int> audio_channels{0}; // what the device gets: 1 or 2
    std::atomic<int> audio_sample_rate{0};
    std::atomic<int> show_audio{0};
    // Decoded sound (buf1) and sound converted to 16 bits (buf2); both grow
    // to what each write needs. audio_buf points into one of them.
    std::vector<std::uint8_t> audio_buf1;
    std::vector<std::uint8_t> audio_buf2;
    std::uint8_t* audio_buf = nullptr;
    SwrContext* reformat_ctx = nullptr;
    AVSampleFormat audio_src_fmt = AV_SAMPLE_FMT_NONE;
    int audio_src_rate = 0;
    AVChannelLayout audio_src_layout{};
    AVFrame* audio_frame = nullptr;
    std::atomic<std::int64_t> audio_callback_time{0};
    // The audio clock and the bytes of its buffer not yet played change
    // together, so the clock never counts a piece before it is in the
    // buffer.
    std::mutex AudioClockLock;
    // The last samples played, for the audio display: written by the audio
    // thread, read by the play thread, both under SampleLock.
    std::mutex SampleLock;
    std::vector<std::int16_t> sample_array;
    int sample_array_index = 0;
    int last_i_start = 0;
    RDFTContext* rdft = nullptr;
    int rdft_bits = 0;
    std::vector<float> rdft_data;
    std::atomic<int> xpos{0}; // the spectrum's next column

    SDL_Thread* subtitle_tid = nullptr;
    std::atomic<int> subtitle_stream{-1};
    std::atomic<int> subtitle_stream_changed{0};
    AVStream* subtitle_st = nullptr;
    AVCodecContext* subtitle_dec = nullptr;
    TPacketQueue subtitleq;
    TSubPicture subpq[SUBPICTURE_QUEUE_SIZE];
    std::atomic<int> subpq_size{0};
    int subpq_rindex = 0;
    int subpq_windex = 0;
    SDL_mutex* subpq_mutex = nullptr;
    SDL_cond* subpq_cond = nullptr;
    std::atomic<int> SubtitlesQueued{0}; // bitmap subtitles ever queued

    std::atomic<double> frame_timer{0};
    std::atomic<double> frame_last_pts{0};
    std::atomic<double> frame_last_delay{0};
    std::atomic<double> video_clock{0};
    std::atomic<int> video_stream{-1};
    AVStream* video_st = nullptr;
    AVCodecContext* video_dec = nullptr;
    TPacketQueue videoq;
    std::atomic<double> video_current_pts{0};
    std::atomic<double> video_current_pts_drift{0};
    std::atomic<std::int64_t> video_current_pos{0};
    TVideoPicture pictq[VIDEO_PICTURE_QUEUE_SIZE];
    // The filter graph (the video thread's); the sink's size, cut to even
    // numbers, is kept for the play thread.
    AVFilterGraph* graph = nullptr;
    AVFilterContext* in_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    AVFrame* filter_frame = nullptr;
    std::atomic<int> filter_width{0};
    std::atomic<int> filter_height{0};
    // The size of the overlay the video thread asked the play thread for.
    std::atomic<int> alloc_width{0};
    std::atomic<int> alloc_height{0};
    std::atomic<int> pictq_size{0};
    int pictq_rindex = 0;
    int pictq_shown = -1; // the slot last displayed, redrawn while none is queued
    int pictq_windex = 0;
    SDL_mutex* pictq_mutex = nullptr;
    SDL_cond* pictq_cond = nullptr;

    std::string filename;
    std::atomic<int> width{0};
    std::atomic<int> height{0};
    int xleft = 0;
    int ytop = 0;
    std::int64_t faulty_pts = 0;
    std::int64_t faulty_dts = 0;
    std::int64_t last_dts_for_fault_detection = 0;
    std::int64_t last_pts_for_fault_detection = 0;
    std::atomic<double> skip_frames{1};
    double skip_frames_index = 0;
    std::atomic<int> refresh{0};

    TCustomPlayer* Owner = nullptr;
    std::atomic<int> Opened{0};
    std::int64_t StartTime = 0;
    std::int64_t Duration = -1;
    std::atomic<std::int64_t> AudioDuration{-1};
    bool IsImage2 = false;
    bool IsDevice = false;
    std::atomic<int> ErrorEOF{0};
    std::atomic<int> EventEOF{0};
    std::atomic<int> ReachEOF{0};
    std::atomic<int> Reading{0};
    std::atomic<int> open_paused{0};
    std::atomic<int> seek_paused{0};
    std::atomic<int> seek_done{0};
    std::atomic<int> seek_flushed{0};

    // Our own bookkeeping.
    std::uint64_t Serial = 0;   // owner of SDL while this playback lives
    std::string AudioInitError; // what SDL_Init said of the audio device
    std::mutex StreamLock;      // packet routing against stream switching
    std::atomic<int> OpenDecoders{0};
    std::atomic<bool> WaitingForRoom{false};
    std::atomic<bool> ReadThreadDone{false};
    std::atomic<bool> VideoThreadDone{false};
    std::atomic<bool> SubtitleThreadDone{false};
    std::atomic<bool> RefreshThreadDone{false};
    // The sound holds back until the first picture is queued (see
    // SoundWaitsForPictures); the audio thread's start of that wait, and
    // whether the sound has started (it never holds back again).
    std::atomic<bool> PictureQueued{false};
    double SoundHeldSince = 0;
    bool SoundStarted = false;
    // Pictures shown, dropped at display time and skipped at decoding.
    std::atomic<int> PicturesShown{0};
    std::atomic<int> PicturesDropped{0};
    std::atomic<int> PicturesSkipped{0};
    std::atomic<int> AudioDisplays{0}; // waveforms or spectrum columns drawn
    // For each picture shown, its pts and the master clock then (the last
    // 1000), for measuring how well sound and pictures keep together.
    std::mutex SyncLock;
    std::vector<std::pair<double, double>> SyncRing;
    std::size_t SyncNext = 0;
    SwsContext* DisplayContext = nullptr; // overlay -> surface
    bool DisplayContextFailed = false;
    TShownPicture Shown;
    bool Drained = false; // the video decoder was sent its drain request
    std::shared_ptr<TPlayEventChannel> Channel;
};

inline constexpr std::size_t SyncRingSize = 1000;

// The clocks, in seconds.
double PlayerAudioClock(TVideoState* is);
double PlayerVideoClock(TVideoState* is);
double PlayerExternalClock(TVideoState* is);
double PlayerMasterClock(TVideoState* is);
// The wall-clock time (seconds) at which a picture of APTS is due: the
// frame timer moved on by the picture's delay, corrected against the master
// clock when video is not the master.
double NextFrameTime(TVideoState* is, double APTS);
// A frame timer more than a tenth of a second behind ANow (the wall clock)
// restarts at ANow: the schedule of pictures starts when they can be shown,
// not when decoding began (an open, a seek) or before a stall. Otherwise every
// picture would be due in the past, judged late against that lost time and
// shown at once, running ahead of the master clock.
void CatchUpFrameTimer(TVideoState* is, double ANow);

// What the refresh does with the picture due at ATime whose successor is due
// at ANext: a late one raises the skip ratio, and goes unshown when another
// is queued, when it is more than half a second late, or after a seek.
struct TDropDecision {
    bool Late = false;
    bool Drop = false;
};
TDropDecision DecideDrop(int AFrameDrop, double ATime, double ANext, int AQueued, bool ASeekDone,
                         bool AIsDevice);

// ---- The component ------------------------------------------------------------------

class TPlayThread;

class TCustomPlayer : public TFFBaseComponent {
public:
    explicit TCustomPlayer(TComponent* AOwner);
    ~TCustomPlayer() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& APath);
    void UnloadAVLib();

    bool Open(const std::string& AFileName, HWND AScreenHandle, bool APaused);
    void Stop(bool AWaitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    void ToggleAudioDisplay();
    // APTS in microseconds (bytes with sfByte).
    void Seek(std::int64_t APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
    // ADelta in seconds.
    void Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd);
    // The player's own bitmap, overwritten by the next call.
    TBitmap* CurrentFrame();
    TBitmap* CurrentFrame(std::int64_t& APTS);
    // Kept for hosts that call it after moving their window: painting goes
    // through the window system, so nothing needs to follow the move.
    void UpdateScreenPosition() {}

    // Properties.
    float AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(float Value);
    TAudioDriver AudioDriver() const { return FAudioDriver; }
    void SetAudioDriver(TAudioDriver Value) { FAudioDriver = Value; }
    TVideoDriver VideoDriver() const { return FVideoDriver; }
    void SetVideoDriver(TVideoDriver Value) { FVideoDriver = Value; }
    TAudioVolume AudioVolume() const { return FAudioVolume; }
    void SetAudioVolume(TAudioVolume Value);
    bool Mute() const { return FMute; }
    void SetMute(bool Value) { FMute = Value; }
    bool DisableAudio() const { return FDisableAudio; }
    void SetDisableAudio(bool Value) { FDisableAudio = Value; }
    bool DisableVideo() const { return FDisableVideo; }
    void SetDisableVideo(bool Value) { FDisableVideo = Value; }
    bool DisableDisplay() const { return FDisableDisplay; }
    void SetDisableDisplay(bool Value) { FDisableDisplay = Value; }
    int FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(int Value) { FFrameWidth = Value; }
    int FrameHeight() const { return FFrameHeight; }
    void SetFrameHeight(int Value) { FFrameHeight = Value; }
    int ScreenWidth() const { return FScreenWidth; }
    void SetScreenWidth(int Value) { FScreenWidth = Value; }
    int ScreenHeight() const { return FScreenHeight; }
    void SetScreenHeight(int Value) { FScreenHeight = Value; }
    bool FullScreen() const { return Fis_full_screen; }
    void SetFullScreen(bool Value) { Fis_full_screen = Value; }
    bool Hook() const { return FHook; }
    void SetHook(bool Value) { FHook = Value; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
    const std::string& VideoFilters() const { return FVideoFilters; }
    void SetVideoFilters(const std::string& Value) { FVideoFilters = Value; }
    TShowAudio ShowAudio() const { return FShowAudio; }
    void SetShowAudio(TShowAudio Value);
    TRepeatType RepeatType() const { return FRepeatType; }
    void SetRepeatType(TRepeatType Value) { FRepeatType = Value; }
    std::int64_t PlayTime() const { return FPlayTime; }
    void SetPlayTime(std::int64_t Value) { FPlayTime = Value; }
    std::int64_t start_time() const { return Fstart_time; }
    void Setstart_time(std::int64_t Value) { Fstart_time = Value; }
    bool VerticalFlip() const { return FVerticalFlip; }
    void SetVerticalFlip(bool Value) { FVerticalFlip = Value; }
    int wanted_video_stream() const { return Fwanted_video_stream; }
    void Setwanted_video_stream(int Value) { Fwanted_video_stream = Value; }
    int wanted_audio_stream() const { return Fwanted_audio_stream; }
    void Setwanted_audio_stream(int Value) { Fwanted_audio_stream = Value; }
    int wanted_subtitle_stream() const { return Fwanted_subtitle_stream; }
    void Setwanted_subtitle_stream(int Value) { Fwanted_subtitle_stream = Value; }
    int seek_by_bytes() const { return Fseek_by_bytes; }
    void Setseek_by_bytes(int Value) { Fseek_by_bytes = Value; }
    Tav_sync_type av_sync_type() const { return Fav_sync_type; }
    void Setav_sync_type(Tav_sync_type Value) { Fav_sync_type = Value; }
    int workaround_bugs() const { return Fworkaround_bugs; }
    void Setworkaround_bugs(int Value) { Fworkaround_bugs = Value; }
    // Kept for hosts that set it; this FFmpeg no longer draws motion vectors.
    int debug_mv() const { return Fdebug_mv; }
    void Setdebug_mv(int Value) { Fdebug_mv = Value; }
    bool fast() const { return Ffast; }
    void Setfast(bool Value) { Ffast = Value; }
    bool genpts() const { return Fgenpts; }
    void Setgenpts(bool Value) { Fgenpts = Value; }
    int lowres() const { return Flowres; }
    void Setlowres(int Value) { Flowres = Value; }
    int idct_algo() const { return Fidct_algo; }
    void Setidct_algo(int Value) { Fidct_algo = Value; }
    int error_recognition() const { return Ferror_recognition; }
    void Seterror_recognition(int Value) { Ferror_recognition = Value; }
    int error_concealment() const { return Ferror_concealment; }
    void Seterror_concealment(int Value) { Ferror_concealment = Value; }
    int decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
    void Setdecoder_reorder_pts(int Value) { Fdecoder_reorder_pts = Value; }
    int framedrop() const { return Fframedrop; }
    void Setframedrop(int Value) { Fframedrop = Value; }
    int rdftspeed() const { return Frdftspeed; }
    void Setrdftspeed(int Value) { Frdftspeed = Value; }
    std::string Format() const;
    void SetFormat(const std::string& Value);
    const std::string& FileName() const { return FFileName; }
    HWND ScreenHandle() const { return FScreenHandle; }
    int AudioStreamIndex() const;
    void SetAudioStreamIndex(int Value);
    int VideoStreamIndex() const;
    void SetVideoStreamIndex(int Value);
    int SubtitleStreamIndex() const;
    void SetSubtitleStreamIndex(int Value);
    TAVProbe* AVProbe() const { return FAVProbe.get(); }
    std::int64_t CurrentPTS() const { return FCurrentPTS; }
    bool Paused() const;
    TPlayState PlayState() const { return FState; }
    bool Seeking() const { return FSeeking; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    std::string Version() const { return "2.3"; }
    const std::string& About() const { return FAbout; }
    void SetAbout(const std::string& Value) { FAbout = Value; }

    TFileOpenEvent OnFileOpen;
    // Set and cleared on the user-interface thread; workers copy them under
    // the event lock before calling. OnHook runs on the video thread with the
    // bitmap's canvas locked: it must not touch the user interface.
    void SetOnPosition(TPositionEvent Value);
    void SetOnState(TPlayStateEvent Value);
    void SetOnHook(THookEvent Value);
    TPositionEvent OnPosition() const;
    TPlayStateEvent OnState() const;
    THookEvent OnHook() const;

    // Whether a position change from ALastPTS to APosition is reported: the
    // first one always, then moves of more than 10 ms.
    static bool PositionWorthReporting(std::int64_t ALastPTS, std::int64_t APosition);
    // The target of an absolute seek: clamped to the duration, shifted by
    // the file's start (both when known); relative 1 for APTS <= 0. With
    // sfByte the position is passed as it is, relative 0.
    static void SeekTarget(std::int64_t APTS, TSeekFlags ASeekFlags, std::int64_t ADuration,
                           std::int64_t AStartTime, std::int64_t& APosition,
                           std::int64_t& ARelative);

    // ---- For the playback's threads ----
    void ReportError(const std::string& AMsg, bool AStore);
    void SetPlayState(TPlayState AState);
    virtual void SetPlayState(TPlayState AState, TPlayEventChannel& AChannel);
    void UpdatePosition(TVideoState* is);
    void DeliverEvent(const TPlayEventItem& AItem);
    bool LockData(std::uint32_t ATimeout);
    void UnlockData();
    TVideoState* VideoState() const { return FVideoState; }
    TEvent& SeekEvent() { return FSeekEvent; }
    TEvent& PictEvent() { return FPictEvent; }
    void SetLastErrMsg(const std::string& AMsg) { FLastErrMsg = AMsg; }
    void SetSeeking(bool Value) { FSeeking = Value; }
    // Keeps the playback from being freed while the calling thread uses it.
    // Not taken on the playback's own threads, which the shutdown joins.
    std::unique_lock<TMutex> LockState();
    // Waits for the seek to be done and, with video, its first picture;
    // also ends when the playback goes.
    void WaitForSeekEnd(std::uint64_t ASerial, bool AVideo);
    bool Stepping() const { return Fstep; }
    TPlayerScreen& Screen() { return *FScreen; }
    SDL_Surface* Surface() const { return Fscreen; }
    int FullScreenWidth() const { return Ffs_screen_width; }
    int FullScreenHeight() const { return Ffs_screen_height; }
    // Pushes the quit event for the playback's play thread; a failed push
    // (SDL shut down already) is ignored.
    virtual void PostQuitEvent(TVideoState* is);
    void PostReopenEvent();
    void ShutdownPlayback();
    int OpenVideoSurface(TVideoState* is, bool AForce);
    void DisplayVideo(TVideoState* is);
    void RefreshVideo(TVideoState* is, bool AAdvance);
    void AllocPicture(TVideoState* is);
    void DisplayVideoImage(TVideoState* is);
    // The waveform (show_audio 1) or the spectrum (2) of the sound playing.
    void DisplayAudio(TVideoState* is);
    void PlayerFrameHook(TVideoState* is, const std::uint8_t* const ASource[3],
                         const int ASourceLineSize[3], AVPixelFormat ASourceFormat,
                         std::uint8_t* const ADest[3], const int ADestLineSize[3], int AWidth,
                         int AHeight, double APTS);

protected:
    friend class TPlayThread;
    friend class TEventThread;

    // Handles one SDL event with FDataLock held; true once the playback is
    // shut down and the loop must end.
    virtual bool HandlePlayerEvent(const SDL_Event& AEvent);
    void PlayerEventLoop(std::uint64_t ASerial);
    void PlayThreadEnded(TPlayEventChannel& AChannel, std::uint64_t ASerial);

    void InitDefaults();
    void ResetState();
    void DoFileOpen();
    void DoPosition(std::int64_t APTS);
    void DoState(TPlayState AState);
    bool InitPlayerSDL(HWND AScreenHandle);
    void ApplyDrivers();
    bool OpenPlayerStream(const std::string& AFileName, bool APaused, std::uint64_t ASerial);
    void QuitSDL(std::uint64_t ASerial);
    void DetachInactiveHost();
    void WaitForPlayerStop();
    // Joins the event threads of ended playbacks, all but one delivering a
    // handler on the calling thread (with AAll, every one).
    void JoinEndedChannels(bool AAll);
    void ReleaseHostWindow();
    void ResizeSurface(int AWidth, int AHeight);
    void AdoptSurface(TVideoState* is, SDL_Surface* ASurface);
    // The surface copied into the screen copy after a drawing step.
    void PresentRect(const SDL_Rect& ARect);

    std::atomic<TVideoState*> FVideoState{nullptr};
    std::unique_ptr<TAVProbe> FAVProbe;
    std::unique_ptr<TPlayerScreen> FScreen;
    TMutex FDataLock;
    TEvent FSeekEvent{true, true};
    TEvent FPictEvent{true, true};
    // Shared with the play thread, whose last act is to set it: a waiting
    // Stop may return and the player go before SetEvent has returned.
    std::shared_ptr<TEvent> FStopEvent = std::make_shared<TEvent>(true, true);
    std::atomic<SDL_Surface*> Fscreen{nullptr};
    // The serial of the playback FVideoState points at (0 for none), for
    // threads that must not touch a state another thread may be freeing.
    std::atomic<std::uint64_t> FPlaybackSerial{0};
    HWND FScreenHandle = nullptr;
    TRGBConvertContext FRGBContext;
    TRGBConvertContext FHookContext;
    std::atomic<std::int64_t> FLastPTS{AV_NOPTS_VALUE};
    std::atomic<std::int64_t> FCurrentPTS{-1};
    std::atomic<TPlayState> FState{psStop};
    std::atomic<bool> FSeeking{false};
    std::atomic<bool> Fstep{false};
    std::shared_ptr<TPlayEventChannel> FChannel; // the current playback's
    std::vector<std::shared_ptr<TPlayEventChannel>> FEndedChannels;
    std::mutex FChannelLock; // FChannel and FEndedChannels
    mutable std::mutex FEventLock;
    TPositionEvent FOnPosition;
    TPlayStateEvent FOnState;
    THookEvent FOnHook;
    std::string FLastErrMsg;
    std::string FFileName;
    std::string FAbout;
    std::string FVideoFilters;
    std::string FAudioInitError;
    const AVInputFormat* FFormat = nullptr;
    int Ffs_screen_width = 0;
    int Ffs_screen_height = 0;
    std::atomic<int> FStopCycles{0}; // locked cycles of the last waiting Stop

    float FAspectRatio = 0;
    TAudioDriver FAudioDriver = adDefault;
    TVideoDriver FVideoDriver = vdDefault;
    std::atomic<int> FAudioVolume{128};
    std::atomic<bool> FMute{false};
    bool FDisableAudio = false;
    bool FDisableVideo = false;
    bool FDisableDisplay = false;
    int FFrameWidth = 0;
    int FFrameHeight = 0;
    std::atomic<int> FScreenWidth{0};
    std::atomic<int> FScreenHeight{0};
    bool Fis_full_screen = false;
    std::atomic<bool> FHook{false};
    std::atomic<bool> FTriggerEventInMainThread{true};
    TShowAudio FShowAudio = saWave;
    std::atomic<TRepeatType> FRepeatType{rtStop};
    std::atomic<std::int64_t> FPlayTime{AV_NOPTS_VALUE};
    std::atomic<std::int64_t> Fstart_time{AV_NOPTS_VALUE};
    std::atomic<bool> FVerticalFlip{false};
    int Fwanted_video_stream = -1;
    int Fwanted_audio_stream = -1;
    int Fwanted_subtitle_stream = -1;
    int Fseek_by_bytes = -1;
    Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    int Fworkaround_bugs = 1;
    int Fdebug_mv = 0;
    bool Ffast = false;
    bool Fgenpts = false;
    int Flowres = 0;
    int Fidct_algo = 0;
    int Ferror_recognition = 1;
    int Ferror_concealment = 3;
    int Fdecoder_reorder_pts = -1;
    int Fframedrop = 1;
    int Frdftspeed = 20;
};

class TRIVavova : public TCustomPlayer {
public:
    using TCustomPlayer::TCustomPlayer;
};

// ---- The playback core (FFPlay.Core.cpp) --------------------------------------

int PlayerReadThread(void* AState);
int PlayerVideoThread(void* AState);
int PlayerSubtitleThread(void* AState);
// The play thread's side of the subtitle queue: emptied after a stream
// switch, else subtitles retired once the picture on show is past them.
void RetireSubtitles(TVideoState* is);
// Blends the subtitle due at the picture's APTS into its planes.
void BlendDueSubtitle(TVideoState* is, std::uint8_t* const APlanes[3], const int ALineSizes[3],
                      int AWidth, int AHeight, double APTS);
void FreeSubtitleQueue(TVideoState* is);
int PlayerRefreshThread(void* AState);
int QueuePicture(TVideoState* is, AVFrame* AFrame, double APTS, std::int64_t APos);
// The next piece of sound as 16-bit samples in is->audio_buf: its size in
// bytes, -1 when there is none (paused, stopped or nothing queued).
int DecodeAudioFrame(TVideoState* is, double& APTS);
// With video or an external clock as master, the piece is shrunk or
// stretched (repeating its last sample frame) to follow the master clock.
int PlayerSyncAudio(TVideoState* is, std::uint8_t* ASamples, int ASize, double APTS);
void PlayerAudioCallback(void* AState, Uint8* AStream, int ALength);
inline constexpr int SAMPLE_ARRAY_SIZE = 2 * 65536;
// Copies ASize bytes of 16-bit samples into the display's ring.
void UpdateSampleDisplay(TVideoState* is, const std::int16_t* ASamples, int ASize);
int DecodeInterrupt(void* AState);
int OpenStreamComponent(TVideoState* is, int AStreamIndex);
void CloseStreamComponent(TVideoState* is, int AStreamIndex);
bool SwitchStream(TVideoState* is, int AKind, int AStreamIndex);
void RequestSeek(TVideoState* is, TSeekFlags AFlags, bool AWait, std::int64_t APosition,
                 std::int64_t ARelative);
void TogglePlayerPause(TVideoState* is);
// Whether the sound still holds back at ANow (seconds of wall time) for the
// first picture of a playback with video: the video decoder may need a while
// (threads filling, a long first frame) before it gives anything, and sound
// started meanwhile would put every early picture behind the audio clock,
// judged late and dropped while the video catches up. It also waits while
// the streams are being opened (sound opens before video). The wait ends
// with the first queued picture, when the video thread has ended, or after
// MaxSoundHold seconds, so a video stream that never gives a picture cannot
// keep the sound silent. Only the start waits: once the sound has started, a
// video stream switched on later does not silence it. Live devices never
// wait: their sound would only pile up.
inline constexpr double MaxSoundHold = 2.0;
bool SoundWaitsForPictures(TVideoState* is, double ANow);
// The clocks when a pause ends at ATime (seconds): the frame timer moves on
// by the time spent paused, or starts at ATime when nothing was shown yet.
void ResumeClocks(TVideoState* is, double ATime);
void ClosePlayerStream(TVideoState* is);
// 1 with a picture, 0 for nothing yet, -1 when the queue was aborted.
int GetVideoFrame(TVideoState* is, AVFrame* AFrame, std::int64_t& APTS, std::int64_t& APos);
int OutputPicture(TVideoState* is, AVFrame* AFrame, double APTS, std::int64_t APos);
// The graph from "src" through AFilters (UTF-8; empty for none) to "out";
// false when it cannot be built, FFmpeg having logged why.
bool BuildVideoFilterGraph(TVideoState* is, const std::string& AFilters);
void FreeVideoFilterGraph(TVideoState* is);
// Like GetVideoFrame, through the graph: APTS in the sink's time base.
int GetFilteredVideoFrame(TVideoState* is, AVFrame* AFrame, std::int64_t& APTS, std::int64_t& APos);
// Marks the calling thread as one of a playback's own (read, video,
// subtitle, audio), which the shutdown joins before it frees the state.
void SetPlaybackThread();
bool OnPlaybackThread();
// Joins an SDL thread; on the user-interface thread it first serves
// synchronous calls until the thread says it is done, since the thread may
// be delivering a log line there.
void JoinPlayerThread(SDL_Thread*& AThread, const std::atomic<bool>& ADone);
// Waits for AEvent in steps of AStepMs (ASteps of them at most, 0 for no limit),
// serving synchronous calls and messages between steps on the
// user-interface thread.
bool WaitServing(TEvent& AEvent, int AStepMs, int ASteps = 0);

// Whether the calling thread is running a handler that AChannel delivers.
bool DeliveringOnThisThread(const TPlayEventChannel* AChannel);
void StartPlayThread(TCustomPlayer* AOwner, std::shared_ptr<TPlayEventChannel> AChannel,
                     std::uint64_t ASerial);
