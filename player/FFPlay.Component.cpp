// The player component: properties, operations and the host window.
#include "player/FFPlay.h"

#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "platform/core/Environment.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/win/Windows.h"
#include "player/PlayerScreen.h"

#include <cmath>
#include <cstring>

namespace {

std::atomic<std::uint64_t> GNextSerial{0};

// SDL_AUDIODRIVER as the process had it before a player first changed it.
std::mutex GDriverLock;
bool GDriverSaved = false;
std::string GSavedAudioDriver;

} // namespace

TCustomPlayer::TCustomPlayer(TComponent* AOwner)
    : TFFBaseComponent(AOwner), FAVProbe(std::make_unique<TAVProbe>(nullptr)),
      FScreen(std::make_unique<TPlayerScreen>()) {
    InitDefaults();
}

TCustomPlayer::~TCustomPlayer() {
    {
        std::lock_guard Lock(FEventLock);
        FOnPosition = nullptr;
        FOnState = nullptr;
        FOnHook = nullptr;
    }
    Stop(true);
    JoinEndedChannels(true);
    TThread::RemoveQueuedEvents(this);
    FScreen->Detach();
    FAVProbe.reset();
    ResetRGBContext(FRGBContext);
    ResetRGBContext(FHookContext);
}

void TCustomPlayer::InitDefaults() {
    FAspectRatio = 0;
    FAudioDriver = adDefault;
    FVideoDriver = vdDefault;
    FAudioVolume = 128;
    FMute = false;
    FShowAudio = saWave;
    Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    Fworkaround_bugs = 1;
    Fdebug_mv = 0;
    Ffast = false;
    Fgenpts = false;
    Flowres = 0;
    Fidct_algo = 0;
    Ferror_recognition = 1;
    Ferror_concealment = 3;
    Fdecoder_reorder_pts = -1;
    Fframedrop = 1;
    Frdftspeed = 20;
    ResetState();
}

void TCustomPlayer::ResetState() {
    Fscreen = nullptr;
    FLastPTS = AV_NOPTS_VALUE;
    FCurrentPTS = -1;
    Fstep = false;
    Fwanted_video_stream = -1;
    Fwanted_audio_stream = -1;
    Fwanted_subtitle_stream = -1;
    Fseek_by_bytes = -1;
    Fstart_time = AV_NOPTS_VALUE;
    FPlayTime = AV_NOPTS_VALUE;
    FRepeatType = rtStop;
    FVerticalFlip = false;
    FSeekEvent.SetEvent();
    FSeeking = false;
}

bool TCustomPlayer::AVLibLoaded() const {
    return FFLoader().Loaded(PlayerLibs);
}

bool TCustomPlayer::LoadAVLib(const std::string& APath) {
    FFLoader().SetLibraryPath(APath);
    if (FFLoader().Load(PlayerLibs))
        return true;
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
}

void TCustomPlayer::UnloadAVLib() {
    FFLoader().Unload(PlayerLibs);
}

void TCustomPlayer::ReportError(const std::string& AMsg, bool AStore) {
    GetFFLogger()->Log(this, llError, AMsg);
    if (AStore)
        FLastErrMsg = AMsg;
}

// ---- Open ------------------------------------------------------------------------------

bool TCustomPlayer::Open(const std::string& AFileName, HWND AScreenHandle, bool APaused) {
    if (!AVLibLoaded()) {
        ReportError("libav or libsdl not loaded.", true);
        return false;
    }
    Stop(true);
    const std::uint64_t Serial = ++GNextSerial;
    if (!AcquireSDL(Serial)) {
        ReportError("SDL is in use by another player.", true);
        return false;
    }
    ApplyDrivers();
    if (!InitPlayerSDL(AScreenHandle)) {
        ReportError(::Format("Could not initialize SDL with ScreenHandle(%u): %s",
                             {unsigned(reinterpret_cast<std::uintptr_t>(AScreenHandle)),
                              std::string(sdl::SDL_GetError())}),
                    true);
        ReleaseSDL(Serial);
        return false;
    }
    if (FDisableDisplay) {
        FDisableVideo = true;
    } else {
        const SDL_VideoInfo* Info = sdl::SDL_GetVideoInfo();
        if (!Info) {
            ReportError("SDL_GetVideoInfo() failed", true);
            QuitSDL(Serial);
            return false;
        }
        // The dummy driver reports no size of its own.
        Ffs_screen_width = Info->current_w > 0 ? Info->current_w : GetSystemMetrics(SM_CXSCREEN);
        Ffs_screen_height = Info->current_h > 0 ? Info->current_h : GetSystemMetrics(SM_CYSCREEN);
    }
    for (int Type :
         {int(SDL_ACTIVEEVENT), int(SDL_MOUSEMOTION), int(SDL_SYSWMEVENT), int(SDL_USEREVENT)})
        sdl::SDL_EventState(Uint8(Type), SDL_IGNORE);
    if (!OpenPlayerStream(AFileName, APaused, Serial)) {
        QuitSDL(Serial);
        return false;
    }
    TVideoState* is = FVideoState;
    FFileName = AFileName;
    FScreenHandle = AScreenHandle;
    FAVProbe->SetFileHandle(is->ic);
    if (FTriggerEventInMainThread)
        CallInMainThread([this] { DoFileOpen(); });
    else
        DoFileOpen();
    if (AScreenHandle)
        FScreen->Attach(AScreenHandle);
    is->Channel->Thread = std::make_unique<TEventThread>(this, is->Channel.get());
    FStopEvent->ResetEvent();
    StartPlayThread(this, is->Channel, Serial);
    return true;
}

void TCustomPlayer::ApplyDrivers() {
    {
        std::lock_guard Lock(GDriverLock);
        if (FAudioDriver != adDefault && !GDriverSaved) {
            GDriverSaved = true;
            GSavedAudioDriver = GetEnvironmentVariable("SDL_AUDIODRIVER");
        }
        switch (FAudioDriver) {
        case adDirectSound:
            SetEnvironmentVariable("SDL_AUDIODRIVER", "pulse");
            break;
        case adWaveOut:
            SetEnvironmentVariable("SDL_AUDIODRIVER", "alsa");
            break;
        case adDefault:
            if (GDriverSaved) {
                if (GSavedAudioDriver.empty())
                    UnsetEnvironmentVariable("SDL_AUDIODRIVER");
                else
                    SetEnvironmentVariable("SDL_AUDIODRIVER", GSavedAudioDriver);
            }
            break;
        }
    }
    // SDL draws into memory; the screen copy reaches the host window.
    SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
}

bool TCustomPlayer::InitPlayerSDL(HWND AScreenHandle) {
    int Result;
    {
        std::lock_guard Lock(SDLLock());
        Result = sdl::SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    }
    if (Result < 0)
        return false;
    // Without a device SDL_Init still succeeds; its error text is kept per
    // thread, so the read thread opening the device later would not see it.
    char Name[64];
    FAudioInitError.clear();
    if (!sdl::SDL_AudioDriverName(Name, sizeof Name))
        FAudioInitError = sdl::SDL_GetError();
    if (AScreenHandle) {
        if (sdl::SDL_AudioDriverName(Name, sizeof Name))
            avutil::av_log(nullptr, AV_LOG_DEBUG, "using audio driver: %s\n", Name);
        if (sdl::SDL_VideoDriverName(Name, sizeof Name))
            avutil::av_log(nullptr, AV_LOG_DEBUG, "using video driver: %s\n", Name);
    }
    return true;
}

void TCustomPlayer::QuitSDL(std::uint64_t ASerial) {
    std::lock_guard Lock(SDLLock());
    if (!SDLHeldBy(ASerial))
        return;
    sdl::SDL_Quit();
    ReleaseSDL(ASerial);
}

void TCustomPlayer::DoFileOpen() {
    ResetRGBContext(FRGBContext);
    ResetRGBContext(FHookContext);
    TVideoState* is = FVideoState;
    if (is && OnFileOpen) {
        std::int64_t Duration = is->Duration;
        if (is->IsImage2)
            Duration = 0;
        int Width = -1, Height = -1;
        if (is->video_dec && is->video_dec->width != 0) {
            Width = is->video_dec->width;
            Height = is->video_dec->height;
        }
        int ScreenW = FScreenWidth, ScreenH = FScreenHeight;
        OnFileOpen(this, Duration, Width, Height, ScreenW, ScreenH);
        FScreenWidth = ScreenW;
        FScreenHeight = ScreenH;
    }
    if (FScreenHandle && (FScreenWidth == 0 || FScreenHeight == 0)) {
        TRect Client;
        GetClientRect(FScreenHandle, &Client);
        FScreenWidth = Client.Width();
        FScreenHeight = Client.Height();
    }
}

// ---- Stop ------------------------------------------------------------------------------

void TCustomPlayer::Stop(bool AWaitForStop) {
    if (auto Lock = LockState(); TVideoState* is = FVideoState) {
        if (is->paused) {
            TogglePlayerPause(is);
            Fstep = false;
        }
        PostQuitEvent(is);
    }
    if (!AWaitForStop)
        return;
    WaitForPlayerStop();
    JoinEndedChannels(false);
}

void TCustomPlayer::WaitForPlayerStop() {
    // A playback thread may have to finish a call into this thread (a log
    // line, an event) before it can end: the main thread serves such calls
    // every few milliseconds of its round, not once a round.
    const int Step = GetCurrentThreadId() == MainThreadID() ? 2 : 100;
    int Count = 1;
    FStopCycles = 0;
    bool Forced = false;
    for (;;) {
        if (WaitServing(*FStopEvent, Step, 100 / Step))
            return;
        if (!FVideoState)
            break;
        if (!LockData(100))
            continue;
        ++Count;
        FStopCycles = Count - 1;
        TVideoState* is = FVideoState;
        if (!is) {
            UnlockData();
            break;
        }
        if ((Count <= 10 || !is->Reading) && Count <= 20) {
            PostQuitEvent(is);
            UnlockData();
            continue;
        }
        ShutdownPlayback();
        UnlockData();
        Forced = true;
        break;
    }
    // The play thread ends at its next look, its playback being gone.
    if (Forced)
        WaitServing(*FStopEvent, 100, 50);
}

void TCustomPlayer::JoinEndedChannels(bool AAll) {
    std::vector<std::shared_ptr<TPlayEventChannel>> ToJoin;
    {
        std::lock_guard Lock(FChannelLock);
        std::erase_if(FEndedChannels, [&](const std::shared_ptr<TPlayEventChannel>& Channel) {
            if (!AAll && DeliveringOnThisThread(Channel.get()))
                return false;
            ToJoin.push_back(Channel);
            return true;
        });
    }
    for (const auto& Channel : ToJoin)
        if (Channel->Thread && !Channel->Thread->Finished())
            Channel->Thread->WaitFor();
    for (const auto& Channel : ToJoin)
        Channel->Thread.reset();
}

void TCustomPlayer::ShutdownPlayback() {
    TVideoState* is = FVideoState;
    std::uint64_t Serial = SDLHolder();
    if (is) {
        Serial = is->Serial;
        ClosePlayerStream(is);
        FPlaybackSerial = 0;
        FVideoState = nullptr;
        {
            std::lock_guard Lock(FChannelLock);
            if (FChannel) {
                FEndedChannels.push_back(FChannel);
                FChannel.reset();
            }
        }
        delete is;
        ResetState();
        ReleaseHostWindow();
    }
    QuitSDL(Serial);
}

// The subclass comes off on the host's thread; from another thread it stops
// presenting at once and is removed there later.
void TCustomPlayer::ReleaseHostWindow() {
    FScreen->Deactivate();
    FScreen->Replace(nullptr);
    if (!FScreen->Host())
        return;
    if (GetCurrentThreadId() == FScreen->HostThread())
        FScreen->Detach();
    else
        TThread::Queue(nullptr, TThreadMethod(this, &TCustomPlayer::DetachInactiveHost));
}

void TCustomPlayer::DetachInactiveHost() {
    if (!FScreen->Active())
        FScreen->Detach();
}

// ---- Pause, step, display ----------------------------------------------------------------

bool TCustomPlayer::Paused() const {
    auto Lock = const_cast<TCustomPlayer*>(this)->LockState();
    TVideoState* is = FVideoState;
    return !is || is->paused;
}

void TCustomPlayer::Pause() {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (!is || is->paused)
        return;
    TogglePlayerPause(is);
    Fstep = false;
    SetPlayState(psPause);
}

void TCustomPlayer::Resume() {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (!is || !is->paused)
        return;
    TogglePlayerPause(is);
    Fstep = false;
    SetPlayState(psResume);
}

void TCustomPlayer::TogglePause() {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (!is)
        return;
    TogglePlayerPause(is);
    Fstep = false;
    SetPlayState(is->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame() {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (!is)
        return;
    if (is->paused)
        TogglePlayerPause(is);
    if (!Fstep.exchange(true))
        SetPlayState(psStep);
}

void TCustomPlayer::ToggleAudioDisplay() {
    TVideoState* is = FVideoState;
    if (!is || !Fscreen)
        return;
    // The play thread draws on the same surface.
    std::lock_guard Lock(FDataLock);
    if (is != FVideoState || !Fscreen)
        return;
    is->show_audio = (is->show_audio + 1) % 3;
    SDL_Rect Area{Sint16(is->xleft), Sint16(is->ytop), Uint16(is->width.load()),
                  Uint16(is->height.load())};
    SDL_Surface* Surface = Fscreen;
    sdl::SDL_FillRect(Surface, &Area, sdl::SDL_MapRGB(Surface->format, 0, 0, 0));
    sdl::SDL_UpdateRect(Surface, Area.x, Area.y, Area.w, Area.h);
    PresentRect(Area);
}

void TCustomPlayer::PresentRect(const SDL_Rect& ARect) {
    FScreen->PresentRect(Fscreen, ARect);
}

int TCustomPlayer::OpenVideoSurface(TVideoState* is, bool AForce) {
    int W = 640, H = 480;
    if (Fis_full_screen && Ffs_screen_width > 0) {
        W = Ffs_screen_width;
        H = Ffs_screen_height;
    } else if (!Fis_full_screen && FScreenWidth > 0) {
        W = FScreenWidth;
        H = FScreenHeight;
    } else if (is->filter_width > 0 && is->filter_height > 0) {
        W = is->filter_width;
        H = is->filter_height;
    }
    SDL_Surface* Current = Fscreen;
    if (!AForce && Current && Current->w == W && Current->h == H && is->width == W &&
        is->height == H)
        return 0;
    const Uint32 Flags = Fis_full_screen
                             ? SDL_FULLSCREEN | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL
                             : SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWACCEL;
    SDL_Surface* Surface = sdl::SDL_SetVideoMode(W, H, 32, Flags);
    if (!Surface) {
        ReportError("SDL: could not set video mode.", false);
        return -1;
    }
    if (!FScreenHandle)
        sdl::SDL_WM_SetCaption("RIVavova", "RIVavova");
    AdoptSurface(is, Surface);
    return 0;
}

// A new surface starts black, as its copy does.
void TCustomPlayer::AdoptSurface(TVideoState* is, SDL_Surface* ASurface) {
    sdl::SDL_FillRect(ASurface, nullptr, 0);
    Fscreen = ASurface;
    is->width = ASurface->w;
    is->height = ASurface->h;
    FScreen->Replace(ASurface);
}

// ---- Seeking ---------------------------------------------------------------------------

void TCustomPlayer::SeekTarget(std::int64_t APTS, TSeekFlags ASeekFlags, std::int64_t ADuration,
                               std::int64_t AStartTime, std::int64_t& APosition,
                               std::int64_t& ARelative) {
    if (ASeekFlags.Contains(sfByte)) {
        APosition = APTS;
        ARelative = 0;
        return;
    }
    APosition = APTS;
    if (ADuration != AV_NOPTS_VALUE && APosition > ADuration)
        APosition = ADuration;
    if (AStartTime != AV_NOPTS_VALUE)
        APosition += AStartTime;
    ARelative = APTS <= 0 ? 1 : 0;
}

// The request is made with the playback held; the wait lets it go, so the
// play thread can shut the playback down meanwhile.
void TCustomPlayer::Seek(std::int64_t APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
    std::uint64_t Serial;
    bool Video;
    {
        auto Lock = LockState();
        TVideoState* is = FVideoState;
        if (!is)
            return;
        std::int64_t Position, Relative;
        SeekTarget(APTS, ASeekFlags, is->ic->duration, is->ic->start_time, Position, Relative);
        RequestSeek(is, ASeekFlags, false, Position, Relative);
        Serial = is->Serial;
        Video = is->video_stream >= 0;
    }
    if (AWaitForSeekEnd)
        WaitForSeekEnd(Serial, Video);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
    std::uint64_t Serial;
    bool Video;
    {
        auto Lock = LockState();
        TVideoState* is = FVideoState;
        if (!is)
            return;
        if (ASeekFlags.Contains(sfByte)) {
            const double Increment =
                is->ic->bit_rate ? ADelta * double(is->ic->bit_rate) / 8.0 : ADelta * 180000.0;
            const std::int64_t Position = is->ic->pb ? avformat::avio_tell(is->ic->pb) : 0;
            RequestSeek(is, ASeekFlags, false, std::llround(double(Position) + Increment),
                        std::llround(Increment));
        } else {
            RequestSeek(is, ASeekFlags, false,
                        std::llround((PlayerMasterClock(is) + ADelta) * 1000000.0),
                        std::llround(ADelta * 1000000.0));
        }
        Serial = is->Serial;
        Video = is->video_stream >= 0;
    }
    if (AWaitForSeekEnd)
        WaitForSeekEnd(Serial, Video);
}

// ---- Pictures --------------------------------------------------------------------------

TBitmap* TCustomPlayer::CurrentFrame() {
    std::int64_t PTS;
    return CurrentFrame(PTS);
}

TBitmap* TCustomPlayer::CurrentFrame(std::int64_t& APTS) {
    auto Lock = LockState();
    if (!FRGBContext.Bitmap)
        FRGBContext.Bitmap = NewFrameBitmap(0, 0, FRGBContext.BMPPixFmt);
    TBitmap* Bitmap = FRGBContext.Bitmap.get();
    APTS = -1;
    TVideoState* is = FVideoState;
    if (!is || !is->video_dec) {
        Bitmap->SetSize(0, 0);
        return Bitmap;
    }
    // The picture last displayed, at its own size.
    {
        std::lock_guard Shown(is->Shown.Lock);
        if (is->Shown.Generation > 0) {
            TAVPicture Picture;
            for (int I = 0; I < 3; ++I)
                Picture.data[I] = is->Shown.Planes[I].data();
            Picture.linesize[0] = is->Shown.Width;
            Picture.linesize[1] = Picture.linesize[2] = is->Shown.Width / 2;
            if (!PictureToBitmap(FRGBContext, Picture, AV_PIX_FMT_YUV420P, is->Shown.Width,
                                 is->Shown.Height))
                Bitmap->SetSize(0, 0);
            APTS = std::llround(is->Shown.PTS * 1000000) - is->StartTime;
            return Bitmap;
        }
    }
    Bitmap->SetSize(is->video_dec->width, is->video_dec->height);
    const int RowBytes = Bitmap->Width() * 3;
    for (int Y = 0; Y < Bitmap->Height(); ++Y)
        std::memset(Bitmap->ScanLine(Y), 0, static_cast<std::size_t>(RowBytes));
    return Bitmap;
}

// ---- Properties ----------------------------------------------------------------------

void TCustomPlayer::SetAspectRatio(float Value) {
    if (Value == FAspectRatio)
        return;
    FAspectRatio = Value;
    if (FVideoState)
        PostReopenEvent();
}

void TCustomPlayer::SetAudioVolume(TAudioVolume Value) {
    FAudioVolume = std::clamp(Value, 0, 128);
}

void TCustomPlayer::SetShowAudio(TShowAudio Value) {
    auto Lock = LockState();
    FShowAudio = Value;
    TVideoState* is = FVideoState;
    if (is && is->audio_st && !FDisableDisplay)
        is->show_audio = Value;
}

std::string TCustomPlayer::Format() const {
    return FFormat ? FFormat->name : "";
}

void TCustomPlayer::SetFormat(const std::string& Value) {
    if (!AVLibLoaded()) {
        ReportError("libav or libsdl not loaded.", true);
        return;
    }
    const AVInputFormat* Found = avformat::av_find_input_format(Value.c_str());
    if (!Found)
        throw Exception(::Format("Unknown input format: %s", {Value}));
    FFormat = Found;
}

int TCustomPlayer::AudioStreamIndex() const {
    auto Lock = const_cast<TCustomPlayer*>(this)->LockState();
    TVideoState* is = FVideoState;
    return is ? is->audio_stream.load() : -1;
}

int TCustomPlayer::VideoStreamIndex() const {
    auto Lock = const_cast<TCustomPlayer*>(this)->LockState();
    TVideoState* is = FVideoState;
    return is ? is->video_stream.load() : -1;
}

int TCustomPlayer::SubtitleStreamIndex() const {
    auto Lock = const_cast<TCustomPlayer*>(this)->LockState();
    TVideoState* is = FVideoState;
    return is ? is->subtitle_stream.load() : -1;
}

void TCustomPlayer::SetAudioStreamIndex(int Value) {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (is && Value != is->audio_stream)
        SwitchStream(is, AVMEDIA_TYPE_AUDIO, Value);
}

void TCustomPlayer::SetVideoStreamIndex(int Value) {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (is && Value != is->video_stream)
        SwitchStream(is, AVMEDIA_TYPE_VIDEO, Value);
}

void TCustomPlayer::SetSubtitleStreamIndex(int Value) {
    auto Lock = LockState();
    TVideoState* is = FVideoState;
    if (is && Value != is->subtitle_stream)
        SwitchStream(is, AVMEDIA_TYPE_SUBTITLE, Value);
}
