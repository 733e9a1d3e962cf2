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
