// The player's events and its two threads: the event thread delivers a
// playback's ring, the play thread runs the SDL event loop.
#include "player/FFPlay.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "player/PlayerScreen.h"

#include <chrono>
#include <cmath>
#include <condition_variable>

// ---- SDL, once per process ------------------------------------------------------

namespace {

std::mutex GSDLLock;
std::atomic<std::uint64_t> GSDLHolder{0};
// Signalled under GSDLLock after every push of the player's own events.
std::condition_variable GSDLEventPushed;

// The channel whose handler the calling thread is running, if any: a Stop or
// Open from inside a handler must not wait for the thread delivering it.
thread_local TPlayEventChannel* GDeliveringChannel = nullptr;

} // namespace

std::mutex& SDLLock() {
    return GSDLLock;
}

bool AcquireSDL(std::uint64_t AOwner) {
    std::uint64_t Expected = 0;
    return GSDLHolder.compare_exchange_strong(Expected, AOwner) || Expected == AOwner;
}

void ReleaseSDL(std::uint64_t AOwner) {
    std::uint64_t Expected = AOwner;
    GSDLHolder.compare_exchange_strong(Expected, 0);
}

bool SDLHeldBy(std::uint64_t AOwner) {
    return AOwner != 0 && GSDLHolder == AOwner;
}

std::uint64_t SDLHolder() {
    return GSDLHolder;
}

void PushPlayerEvent(SDL_Event& AEvent) {
    sdl::SDL_PushEvent(&AEvent);
    GSDLEventPushed.notify_all();
}

// ---- Channels and the event thread ---------------------------------------------

TPlayEventChannel::TPlayEventChannel() = default;

TPlayEventChannel::~TPlayEventChannel() = default;

TEventThread::TEventThread(TCustomPlayer* AOwner, TPlayEventChannel* AChannel)
    : TThread(false), FOwner(AOwner), FChannel(AChannel) {
    AfterConstruction();
}

TEventThread::~TEventThread() {
    TerminateAndWait();
}

void TEventThread::Execute() {
    while (!Terminated()) {
        const TPlayEventItem Item = PopPlayEvent(FChannel->Ring);
        if (Item.kind == 3)
            break;
        if (Item.kind == 1 || Item.kind == 2) {
            TPlayEventChannel* Channel = FChannel;
            TCustomPlayer* Owner = FOwner;
            auto Deliver = [Owner, Channel, Item] {
                TPlayEventChannel* Outer = GDeliveringChannel;
                GDeliveringChannel = Channel;
                try {
                    Owner->DeliverEvent(Item);
                } catch (...) {
                    GDeliveringChannel = Outer;
                    throw;
                }
                GDeliveringChannel = Outer;
            };
            try {
                if (FOwner->TriggerEventInMainThread())
                    CallInMainThread(Deliver);
                else
                    Deliver();
            } catch (const Exception& E) {
                GetFFLogger()->Log(FOwner, llError,
                                   "Error occurs in an event handler: " + E.Message());
            }
            if (Item.kind == 2 && Item.value == psStop)
                break;
        }
        FChannel->Ring.Event.WaitFor(INFINITE);
    }
}

bool DeliveringOnThisThread(const TPlayEventChannel* AChannel) {
    return GDeliveringChannel == AChannel;
}

void TCustomPlayer::DeliverEvent(const TPlayEventItem& AItem) {
    if (AItem.kind == 1)
        DoPosition(AItem.value);
    else if (AItem.kind == 2)
        DoState(static_cast<TPlayState>(AItem.value));
}

void TCustomPlayer::DoPosition(std::int64_t APTS) {
    TPositionEvent Handler = OnPosition();
    if (Handler)
        Handler(this, APTS);
}

void TCustomPlayer::DoState(TPlayState AState) {
    TPlayStateEvent Handler = OnState();
    if (Handler)
        Handler(this, AState);
}

void TCustomPlayer::SetOnPosition(TPositionEvent Value) {
    std::lock_guard Lock(FEventLock);
    FOnPosition = std::move(Value);
}

void TCustomPlayer::SetOnState(TPlayStateEvent Value) {
    std::lock_guard Lock(FEventLock);
    FOnState = std::move(Value);
}

void TCustomPlayer::SetOnHook(THookEvent Value) {
    std::lock_guard Lock(FEventLock);
    FOnHook = std::move(Value);
}

TPositionEvent TCustomPlayer::OnPosition() const {
    std::lock_guard Lock(FEventLock);
    return FOnPosition;
}

TPlayStateEvent TCustomPlayer::OnState() const {
    std::lock_guard Lock(FEventLock);
    return FOnState;
}

THookEvent TCustomPlayer::OnHook() const {
    std::lock_guard Lock(FEventLock);
    return FOnHook;
}

// ---- States and positions ------------------------------------------------------------

void TCustomPlayer::SetPlayState(TPlayState AState) {
    std::shared_ptr<TPlayEventChannel> Channel;
    {
        std::lock_guard Lock(FChannelLock);
        Channel = FChannel;
    }
    if (Channel)
        SetPlayState(AState, *Channel);
    else
        FState = AState;
}

void TCustomPlayer::SetPlayState(TPlayState AState, TPlayEventChannel& AChannel) {
    FState = AState;
    if (OnState())
        PushPlayEvent(AChannel.Ring, {2, AState});
    else if (AState == psStop)
        PushPlayEvent(AChannel.Ring, {3, 0});
}

bool TCustomPlayer::PositionWorthReporting(std::int64_t ALastPTS, std::int64_t APosition) {
    return ALastPTS == AV_NOPTS_VALUE || std::llabs(ALastPTS - APosition) > 10000;
}

void TCustomPlayer::UpdatePosition(TVideoState* is) {
    if (!is || is != FVideoState || is->IsImage2)
        return;
    std::int64_t Position;
    if (is->video_stream >= 0) {
        Position = std::llround(PlayerVideoClock(is) * 1000000) - is->StartTime;
    } else if (is->audio_stream >= 0) {
        Position = std::llround(PlayerAudioClock(is) * 1000000) - is->StartTime;
        const std::int64_t AudioDuration = is->AudioDuration;
        if (AudioDuration > 0 && Position >= AudioDuration && Position < is->Duration)
            Position = is->Duration;
    } else {
        return;
    }
    FCurrentPTS = Position;
    if (is->Duration > 0 && Position >= is->Duration) {
        if (FLastPTS != is->Duration)
            FLastPTS = 0;
        Position = is->Duration;
    }
    if (PositionWorthReporting(FLastPTS, Position)) {
        FLastPTS = Position;
        if (OnPosition() && is->Channel)
            PushPlayEvent(is->Channel->Ring, {1, Position});
    }
    if (!is->IsDevice && !is->EventEOF && is->ReachEOF) {
        if (is->video_stream >= 0)
            is->EventEOF = 1;
        if (is->Channel)
            SetPlayState(psEnd, *is->Channel);
    }
    const std::int64_t PlayTime = FPlayTime;
    if (PlayTime == AV_NOPTS_VALUE)
        return;
    const std::int64_t Start = Fstart_time;
    const std::int64_t End = Start != AV_NOPTS_VALUE ? Start + PlayTime : PlayTime;
    if (FCurrentPTS < End)
        return;
    switch (FRepeatType.load()) {
    case rtStop:
        Stop(false);
        break;
    case rtLoop:
        if (Start != AV_NOPTS_VALUE)
            Seek(Start, TSeekFlags{}, false);
        else
            Seek(std::int64_t(0), TSeekFlags{sfAny}, false);
        break;
    case rtNone:
        break;
    }
}

bool TCustomPlayer::LockData(std::uint32_t ATimeout) {
    return FDataLock.Acquire(ATimeout) == wrSignaled;
}

void TCustomPlayer::UnlockData() {
    FDataLock.Release();
}

// ---- The play thread -------------------------------------------------------------------

class TPlayThread : public TThread {
public:
    TPlayThread(TCustomPlayer* AOwner, std::shared_ptr<TPlayEventChannel> AChannel,
                std::uint64_t ASerial)
        : TThread(false), FOwner(AOwner), FChannel(std::move(AChannel)), FSerial(ASerial) {
        SetFreeOnTerminate(true);
        AfterConstruction();
    }

protected:
    void Execute() override {
        FOwner->FStopEvent->ResetEvent();
        FOwner->SetPlayState(psPlay, *FChannel);
        FChannel->PlayThreadStarted.SetEvent();
        try {
            FOwner->PlayerEventLoop(FSerial);
        } catch (const Exception& E) {
            GetFFLogger()->Log(FOwner, llFatal, "PlayThread Exception: " + E.Message());
            std::lock_guard Lock(FOwner->FDataLock);
            if (FOwner->FPlaybackSerial == FSerial)
                FOwner->ShutdownPlayback();
        } catch (const std::exception& E) {
            GetFFLogger()->Log(FOwner, llFatal, std::string("PlayThread Exception: ") + E.what());
        } catch (...) {
            GetFFLogger()->Log(FOwner, llFatal, "PlayThread Exception: unknown");
        }
        FOwner->PlayThreadEnded(*FChannel, FSerial);
    }

private:
    TCustomPlayer* FOwner;
    std::shared_ptr<TPlayEventChannel> FChannel;
    std::uint64_t FSerial;
};

void StartPlayThread(TCustomPlayer* AOwner, std::shared_ptr<TPlayEventChannel> AChannel,
                     std::uint64_t ASerial) {
    new TPlayThread(AOwner, std::move(AChannel), ASerial);
}

void TCustomPlayer::PlayThreadEnded(TPlayEventChannel& AChannel, std::uint64_t ASerial) {
    {
        std::lock_guard Lock(SDLLock());
        if (SDLHeldBy(ASerial))
            sdl::SDL_Quit();
    }
    SetPlayState(psStop, AChannel);
    // The last thing this thread touches of the player, through its own
    // reference.
    std::shared_ptr<TEvent> Stopped = FStopEvent;
    Stopped->SetEvent();
}

void TCustomPlayer::PlayerEventLoop(std::uint64_t ASerial) {
    auto Mine = [this, ASerial] { return FPlaybackSerial == ASerial; };
    for (;;) {
        SDL_Event Event;
        int Got;
        {
            std::unique_lock Lock(SDLLock());
            Got = SDLHeldBy(ASerial) ? sdl::SDL_PollEvent(&Event) : 0;
            // The player's own events wake the wait at once; the period is
            // for SDL's own events and for noticing a playback that ended.
            if (!Got && Mine())
                GSDLEventPushed.wait_for(Lock, std::chrono::milliseconds(10));
        }
        if (!Got) {
            if (!Mine())
                return;
            continue;
        }
        std::lock_guard Lock(FDataLock);
        if (!Mine())
            return;
        if (HandlePlayerEvent(Event))
            return;
    }
}

bool TCustomPlayer::HandlePlayerEvent(const SDL_Event& AEvent) {
    TVideoState* is = FVideoState;
    switch (AEvent.type) {
    case SDL_QUIT:
    case PlayerQuitEvent:
        ShutdownPlayback();
        return true;
    case SDL_VIDEORESIZE:
        ResizeSurface(AEvent.resize.w, AEvent.resize.h);
        if (is->paused)
            RefreshVideo(is, false);
        break;
    case SDL_VIDEOEXPOSE:
        if (is->paused)
            RefreshVideo(is, false);
        else
            DisplayVideo(is);
        break;
    case PlayerAllocEvent:
        OpenVideoSurface(is, false);
        AllocPicture(is);
        break;
    case PlayerRefreshEvent:
        RefreshVideo(is, true);
        is->refresh = 0;
        break;
    case PlayerReopenEvent:
        OpenVideoSurface(is, true);
        DisplayVideo(is);
        break;
    default:
        break;
    }
    return false;
}

void TCustomPlayer::ResizeSurface(int AWidth, int AHeight) {
    TVideoState* is = FVideoState;
    SDL_Surface* Surface = sdl::SDL_SetVideoMode(AWidth, AHeight, 32, 0x115);
    if (!Surface) {
        ReportError("SDL: could not set video mode.", false);
        return;
    }
    FScreenWidth = Surface->w;
    FScreenHeight = Surface->h;
    AdoptSurface(is, Surface);
}

void TCustomPlayer::PostQuitEvent(TVideoState* is) {
    SDL_Event Event{};
    Event.type = PlayerQuitEvent;
    Event.user.data1 = is;
    // By serial: the state may be going away under another thread.
    const std::uint64_t Serial = FPlaybackSerial;
    std::lock_guard Lock(SDLLock());
    if (is && SDLHeldBy(Serial))
        PushPlayerEvent(Event);
}

void TCustomPlayer::PostReopenEvent() {
    TVideoState* is = FVideoState;
    if (!is)
        return;
    SDL_Event Event{};
    Event.type = PlayerReopenEvent;
    Event.user.data1 = is;
    const std::uint64_t Serial = FPlaybackSerial;
    std::lock_guard Lock(SDLLock());
    if (SDLHeldBy(Serial))
        PushPlayerEvent(Event);
}

// ---- Waiting on the user-interface thread -----------------------------------------------

namespace {
thread_local bool GPlaybackThread = false;
} // namespace

void SetPlaybackThread() {
    GPlaybackThread = true;
}

bool OnPlaybackThread() {
    return GPlaybackThread;
}

std::unique_lock<TMutex> TCustomPlayer::LockState() {
    if (GPlaybackThread)
        return std::unique_lock<TMutex>(FDataLock, std::defer_lock);
    return std::unique_lock<TMutex>(FDataLock);
}

void TCustomPlayer::WaitForSeekEnd(std::uint64_t ASerial, bool AVideo) {
    const bool Main = GetCurrentThreadId() == MainThreadID();
    for (TEvent* Event : {&FSeekEvent, &FPictEvent}) {
        if (Event == &FPictEvent && !AVideo)
            break;
        while (Event->WaitFor(100) != wrSignaled && FPlaybackSerial == ASerial)
            if (Main) {
                CheckSynchronize();
                PumpMessages();
            }
    }
}

bool WaitServing(TEvent& AEvent, int AStepMs, int ASteps) {
    const bool Main = GetCurrentThreadId() == MainThreadID();
    for (int Step = 0; ASteps == 0 || Step < ASteps; ++Step) {
        if (AEvent.WaitFor(AStepMs) == wrSignaled)
            return true;
        if (Main) {
            CheckSynchronize();
            PumpMessages();
        }
    }
    return false;
}

void JoinPlayerThread(SDL_Thread*& AThread, const std::atomic<bool>& ADone) {
    if (!AThread)
        return;
    if (GetCurrentThreadId() == MainThreadID())
        while (!ADone)
            CheckSynchronize(10);
    sdl::SDL_WaitThread(AThread, nullptr);
    AThread = nullptr;
}
