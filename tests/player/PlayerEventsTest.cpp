// The player's events and threads on real clips.
#include "tests/player/PlayerTestSupport.h"

using namespace std::chrono_literals;

TEST_F(PlayerTest, PausedOpenPauseResumeEndAndStopDeliverTheirStatesOnTheMainThread) {
    ASSERT_TRUE(OpenClip("av.mp4", true)) << Player->LastErrMsg();
    ASSERT_TRUE(WaitForState(psPause));
    EXPECT_TRUE(Player->Paused());
    Player->Resume();
    EXPECT_FALSE(Player->Paused());
    ASSERT_TRUE(WaitForState(psEnd));
    Player->Stop(true);
    EXPECT_TRUE(WasDelivered(psStop));
    EXPECT_EQ(Player->StatesSet(),
              (std::vector<TPlayState>{psPlay, psPause, psResume, psEnd, psStop}));
    // A state the ring replaced may be missing, psStop is always last.
    const auto States = DeliveredStates();
    ASSERT_FALSE(States.empty());
    EXPECT_EQ(States.back(), psStop);
    std::vector<TPlayState> Set = Player->StatesSet();
    auto It = Set.begin();
    for (TPlayState State : States) {
        It = std::find(It, Set.end(), State);
        EXPECT_NE(It, Set.end()) << "out of order: " << int(State);
    }
    for (const TDelivered& D : Delivered)
        EXPECT_EQ(D.Thread, MainThreadID());
    EXPECT_EQ(Player->EndedChannels(), 0u);
}

TEST_F(PlayerTest, WithoutTheMainThreadTheStatesComeOnTheEventThread) {
    Player->SetTriggerEventInMainThread(false);
    ASSERT_TRUE(OpenClip("av.mp4", true));
    ASSERT_TRUE(WaitForState(psPause));
    Player->Stop(true);
    EXPECT_TRUE(WasDelivered(psStop));
    std::lock_guard Guard(Lock);
    for (const TDelivered& D : Delivered)
        EXPECT_NE(D.Thread, MainThreadID());
}

TEST_F(PlayerTest, WithoutAStateHandlerStopStillEndsTheEventThread) {
    Player->SetOnState(nullptr);
    ASSERT_TRUE(OpenClip("av.mp4", false));
    auto Channel = Player->Channel();
    ASSERT_NE(Channel, nullptr);
    Player->Stop(true);
    // Joined and let go by the player; the play thread is gone too.
    EXPECT_EQ(Channel->Thread, nullptr);
    EXPECT_TRUE(ServeUntil([&] { return Channel.use_count() == 1; }));
    EXPECT_EQ(Player->EndedChannels(), 0u);
}

TEST_F(PlayerTest, ASecondOpenDeliversTheFirstStopBeforeTheNextPlay) {
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(OpenClip("two_audio.mkv", false));
    ASSERT_TRUE(WaitForState(psPlay));
    ServeUntil([&] { return DeliveredStates().size() >= 3; });
    Player->Stop(true);
    const auto States = DeliveredStates();
    // The first playback's states end with its psStop, then the second's begin.
    const auto FirstStop = std::find(States.begin(), States.end(), psStop);
    ASSERT_NE(FirstStop, States.end());
    ASSERT_NE(FirstStop + 1, States.end());
    EXPECT_EQ(*(FirstStop + 1), psPlay);
    EXPECT_EQ(States.back(), psStop);
    EXPECT_EQ(std::count(States.begin(), States.end(), psStop), 2);
    EXPECT_EQ(std::count(States.begin(), States.end(), psPlay), 2);
}

TEST_F(PlayerTest, StopWithoutWaitingReturnsAndTheStopArrivesLater) {
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(WaitForState(psPlay));
    Player->Stop(false);
    EXPECT_FALSE(WasDelivered(psStop));
    ASSERT_TRUE(WaitForState(psStop));
    std::lock_guard Guard(Lock);
    EXPECT_EQ(Delivered.back().Thread, MainThreadID());
}

TEST_F(PlayerTest, DestroyingRightAfterStopWithoutWaitingRunsNoHandler) {
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(WaitForState(psPlay));
    Player->Stop(false);
    const std::size_t Before = DeliveredStates().size();
    Player.reset();
    EXPECT_EQ(DeliveredStates().size(), Before);
    // Nothing of the old player is still waiting for the main thread.
    EXPECT_FALSE(CheckSynchronize(50));
}

TEST_F(PlayerTest, HandlersMayStopOrOpenAgainOnTheEnd) {
    bool Stopped = false;
    Player->SetOnState([&](TObject*, TPlayState AState) {
        {
            std::lock_guard Guard(Lock);
            Delivered.push_back({AState, GetCurrentThreadId()});
        }
        if (AState == psEnd && !Stopped) {
            Stopped = true;
            Player->Stop(true);
        }
    });
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(WaitForState(psStop));
    EXPECT_EQ(DeliveredStates().back(), psStop);
    EXPECT_EQ(Player->State(), nullptr);

    Delivered.clear();
    bool Reopened = false;
    Player->SetOnState([&](TObject*, TPlayState AState) {
        {
            std::lock_guard Guard(Lock);
            Delivered.push_back({AState, GetCurrentThreadId()});
        }
        if (AState == psEnd && !Reopened) {
            Reopened = true;
            EXPECT_TRUE(Player->Open(Clip("av.mp4"), Host, true)) << Player->LastErrMsg();
        }
    });
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(ServeUntil([&] {
        const auto S = DeliveredStates();
        return std::count(S.begin(), S.end(), psStop) >= 1 && WasDelivered(psPause);
    }));
    Player->Stop(true);
    const auto States = DeliveredStates();
    EXPECT_EQ(std::count(States.begin(), States.end(), psStop), 2);
    // The second playback's own order: play, pause (after its two pictures), stop.
    std::vector<TPlayState> Second;
    for (auto It = std::find(States.begin() + 1, States.end(), psPlay); It != States.end(); ++It)
        if (*It != psEnd)
            Second.push_back(*It);
    EXPECT_EQ(Second.back(), psStop);
    EXPECT_EQ(Player->EndedChannels(), 0u);
}

TEST_F(PlayerTest, AnExceptionInTheEventLoopShutsThePlaybackDown) {
    Player->RaiseOnResize = true;
    ASSERT_TRUE(OpenClip("av.mp4", false));
    MoveWindow(Host, 0, 0, 150, 100, TRUE);
    ASSERT_TRUE(WaitForState(psStop));
    EXPECT_TRUE(LoggedLine(llFatal, "PlayThread Exception: boom"));
    EXPECT_EQ(Player->State(), nullptr);
    Player->Stop(true);
    // SDL is free again.
    EXPECT_TRUE(OpenClip("av.mp4", true));
    Player->Stop(true);
}

TEST_F(PlayerTest, ThePlayWindowLoopsOrStops) {
    Player->Setstart_time(500000);
    Player->SetPlayTime(1000000);
    Player->SetRepeatType(rtLoop);
    ASSERT_TRUE(OpenClip("av.mp4", false));
    // Positions go back to the key frame before 0.5 s after passing 1.5 s.
    // The video clock restarts at each shown picture's time stamp, so a
    // picture shown late moves the position back a little: a loop is a move
    // back of more than half a second.
    auto IsLoop = [this](std::size_t I) { return Positions[I] < Positions[I - 1] - 500000; };
    int Loops = 0;
    ASSERT_TRUE(ServeUntil([&] {
        std::lock_guard Guard(Lock);
        Loops = 0;
        for (std::size_t I = 1; I < Positions.size(); ++I)
            if (IsLoop(I))
                ++Loops;
        return Loops >= 2;
    }));
    {
        std::lock_guard Guard(Lock);
        // Positions are the video clock when a picture is shown: within a
        // frame of its time stamp. Before the first picture it is the start.
        const auto First =
            std::find_if(Positions.begin(), Positions.end(), [](std::int64_t P) { return P > 0; });
        ASSERT_NE(First, Positions.end());
        // The play window starts at the key frame before 0.5 s; on a busy
        // machine the first pictures may come late and be dropped, so the
        // first shown one lies somewhere in the window's first half.
        const auto NearTheStart = [](std::int64_t P) { return P >= 400000 && P < 1000000; };
        EXPECT_TRUE(NearTheStart(*First)) << *First;
        for (std::size_t I = 1; I < Positions.size(); ++I)
            if (IsLoop(I)) {
                EXPECT_GE(Positions[I - 1], 1500000);
                EXPECT_TRUE(NearTheStart(Positions[I])) << Positions[I];
            }
    }
    Player->Stop(true);

    Delivered.clear();
    Player->Setstart_time(500000);
    Player->SetPlayTime(1000000);
    Player->SetRepeatType(rtStop);
    ASSERT_TRUE(OpenClip("av.mp4", false));
    ASSERT_TRUE(WaitForState(psStop));
    EXPECT_GE(Player->CurrentPTS(), -1);
    EXPECT_FALSE(WasDelivered(psEnd));
}

TEST_F(PlayerTest, APlaybackLeavesTheResetValuesBehind) {
    Player->Setwanted_audio_stream(0);
    Player->Setstart_time(0);
    Player->SetPlayTime(5000000);
    Player->SetRepeatType(rtLoop);
    Player->SetVerticalFlip(true);
    ASSERT_TRUE(OpenClip("av.mp4", true));
    ASSERT_TRUE(WaitForState(psPause));
    Player->Seek(std::int64_t(1000000), {}, false);
    Player->Stop(true);
    EXPECT_EQ(Player->wanted_audio_stream(), -1);
    EXPECT_EQ(Player->start_time(), AV_NOPTS_VALUE);
    EXPECT_EQ(Player->PlayTime(), AV_NOPTS_VALUE);
    EXPECT_EQ(Player->RepeatType(), rtStop);
    EXPECT_FALSE(Player->VerticalFlip());
    EXPECT_EQ(Player->CurrentPTS(), -1);
    EXPECT_FALSE(Player->Seeking());
    EXPECT_TRUE(Player->Paused());
    std::int64_t PTS = 0;
    EXPECT_EQ(Player->CurrentFrame(PTS)->Width(), 0);
    EXPECT_EQ(PTS, -1);
}
