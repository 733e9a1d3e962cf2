// What the player tests share: the clips, a headless host window, the
// player with its playback in reach, and waits that serve the user-interface
// thread's calls and messages.
#pragma once

#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "platform/core/Environment.h"
#include "platform/core/Threads.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "player/FFPlay.h"
#include "player/PlayerScreen.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

// A clip of the prober's fixtures or of the player's own.
inline std::string Clip(const std::string& AName) {
    return std::string(OSTRELA_PROBE_MEDIA) + "/" + AName;
}

// Waits until ACondition holds, serving synchronous calls and messages; false
// after a generous guard, so a hung case fails instead of hanging.
template <class F> bool ServeUntil(F ACondition, int AGuardMs = 30000) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(AGuardMs);
    while (!ACondition()) {
        if (std::chrono::steady_clock::now() > End)
            return false;
        CheckSynchronize(5);
        PumpMessages();
    }
    return true;
}

// The player with its playback and its test seams open.
class TTestPlayer : public TRIVavova {
public:
    using TRIVavova::TRIVavova;
    // The play thread calls the overrides below: it must be gone before
    // this part of the object is. Handlers go first, as in the player's own
    // destructor.
    ~TTestPlayer() override {
        SetOnPosition(nullptr);
        SetOnState(nullptr);
        SetOnHook(nullptr);
        Stop(true);
    }

    TVideoState* State() const { return FVideoState; }
    int StopCycles() const { return FStopCycles; }
    std::vector<TPlayState> StatesSet() {
        std::lock_guard Lock(FStatesLock);
        return FStatesSet;
    }
    // Event threads of ended playbacks not joined yet.
    std::size_t EndedChannels() {
        std::lock_guard Lock(FChannelLock);
        return FEndedChannels.size();
    }
    std::shared_ptr<TPlayEventChannel> Channel() {
        std::lock_guard Lock(FChannelLock);
        return FChannel;
    }

    bool DropQuitEvents = false;
    bool RaiseOnResize = false;
    // Re-open events the play thread has handled.
    std::atomic<int> ReopenEvents{0};

    void SetPlayState(TPlayState AState, TPlayEventChannel& AChannel) override {
        {
            std::lock_guard Lock(FStatesLock);
            FStatesSet.push_back(AState);
        }
        TRIVavova::SetPlayState(AState, AChannel);
    }
    void PostQuitEvent(TVideoState* is) override {
        if (!DropQuitEvents)
            TRIVavova::PostQuitEvent(is);
    }

protected:
    bool HandlePlayerEvent(const SDL_Event& AEvent) override {
        if (RaiseOnResize && AEvent.type == SDL_VIDEORESIZE)
            throw Exception("boom");
        const bool Ended = TRIVavova::HandlePlayerEvent(AEvent);
        if (AEvent.type == PlayerReopenEvent)
            ReopenEvents += 1;
        return Ended;
    }

private:
    std::mutex FStatesLock;
    std::vector<TPlayState> FStatesSet;
};

struct TDelivered {
    TPlayState State;
    TThreadID Thread;
};

struct TLogged {
    TLogLevel Level;
    std::string Message;
};

// Host windows on the headless backend, the libraries, SDL's dummy audio, the
// logger and a player whose deliveries are recorded.
class PlayerTest : public testing::Test {
protected:
    static constexpr COLORREF HostColour = 0x00404040; // the host's own grey

    THeadlessBackend Headless;
    HWND Top = nullptr;
    HWND Host = nullptr;
    std::unique_ptr<TTestPlayer> Player;
    std::mutex Lock;
    std::vector<TDelivered> Delivered;
    std::vector<std::int64_t> Positions;
    std::vector<TLogged> Logged;
    TTempDir Temp;

    void SetUp() override;
    void TearDown() override;

    // A plain child of a top-level window, painting itself grey.
    HWND MakeHost(int AWidth = 200, int AHeight = 124, int AX = 0);
    // Records every delivered state and position of APlayer.
    void Watch(TTestPlayer& APlayer);
    std::vector<TPlayState> DeliveredStates();
    bool WasDelivered(TPlayState AState);
    bool WaitForState(TPlayState AState, int AGuardMs = 30000);
    bool LoggedLine(TLogLevel ALevel, const std::string& AText);
    // The host's client area as presented, 0x00RRGGBB row by row.
    std::vector<std::uint32_t> PresentedHost(HWND AHost, int AWidth, int AHeight);
    bool OpenClip(const std::string& AName, bool APaused);
};
