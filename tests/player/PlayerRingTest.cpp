// The event ring and the small rules of the player, without a playback.
#include "player/FFPlay.h"

#include <gtest/gtest.h>

namespace {

std::vector<TPlayEventItem> Drain(TPlayEvent& ARing) {
    std::vector<TPlayEventItem> Items;
    for (TPlayEventItem Item = PopPlayEvent(ARing); Item.kind != 0; Item = PopPlayEvent(ARing))
        Items.push_back(Item);
    return Items;
}

bool Signalled(TPlayEvent& ARing) {
    return ARing.Event.WaitFor(0) == wrSignaled;
}

} // namespace

TEST(PlayerRing, SameKindReplacesTheNewestAndAFullRingDropsTheOldest) {
    TPlayEvent Ring;
    EXPECT_FALSE(Signalled(Ring));
    for (int I = 1; I <= 10; ++I)
        PushPlayEvent(Ring, {1, I});
    EXPECT_EQ(PlayEventCount(Ring), 1);
    EXPECT_TRUE(Signalled(Ring));
    auto Items = Drain(Ring);
    ASSERT_EQ(Items.size(), 1u);
    EXPECT_EQ(Items[0].value, 10);
    EXPECT_FALSE(Signalled(Ring));

    // Alternating kinds: the tenth push drops the oldest, nine stay.
    for (int I = 0; I < 10; ++I)
        PushPlayEvent(Ring, {I % 2 ? 2 : 1, I});
    EXPECT_EQ(PlayEventCount(Ring), 9);
    Items = Drain(Ring);
    ASSERT_EQ(Items.size(), 9u);
    for (int I = 0; I < 9; ++I)
        EXPECT_EQ(Items[I].value, I + 1) << I;
}

TEST(PlayerRing, PopsInBetweenKeepOrderAndResetTheEventOnlyWhenEmpty) {
    TPlayEvent Ring;
    PushPlayEvent(Ring, {1, 1});
    PushPlayEvent(Ring, {2, psPause});
    EXPECT_EQ(PopPlayEvent(Ring).value, 1);
    EXPECT_TRUE(Signalled(Ring));
    PushPlayEvent(Ring, {1, 2});
    PushPlayEvent(Ring, {3, 0});
    EXPECT_EQ(PopPlayEvent(Ring).kind, 2);
    EXPECT_EQ(PopPlayEvent(Ring).value, 2);
    EXPECT_TRUE(Signalled(Ring));
    EXPECT_EQ(PopPlayEvent(Ring).kind, 3);
    EXPECT_FALSE(Signalled(Ring));
    EXPECT_EQ(PopPlayEvent(Ring).kind, 0);
}

TEST(PlayerRules, PositionReportsOnlyMovesAboveTenMilliseconds) {
    EXPECT_TRUE(TCustomPlayer::PositionWorthReporting(AV_NOPTS_VALUE, 0));
    EXPECT_FALSE(TCustomPlayer::PositionWorthReporting(50000, 60000));
    EXPECT_TRUE(TCustomPlayer::PositionWorthReporting(50000, 60001));
    EXPECT_TRUE(TCustomPlayer::PositionWorthReporting(60001, 50000));
}

TEST(PlayerRules, SeekTargetTable) {
    struct TRow {
        std::int64_t PTS;
        TSeekFlags Flags;
        std::int64_t Duration, Start;
        std::int64_t Position, Relative;
    } Rows[] = {
        {5000000, {}, 2000000, 0, 2000000, 0},
        {5000000, {}, 2000000, 1400000, 3400000, 0},
        {0, {}, 2000000, 0, 0, 1},
        {-5, {}, 2000000, 0, -5, 1},
        {1000000, {}, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 1000000, 0},
        {123456, {sfByte}, 1000, 5000, 123456, 0},
    };
    for (const TRow& Row : Rows) {
        std::int64_t Position = 0, Relative = 0;
        TCustomPlayer::SeekTarget(Row.PTS, Row.Flags, Row.Duration, Row.Start, Position, Relative);
        EXPECT_EQ(Position, Row.Position) << Row.PTS;
        EXPECT_EQ(Relative, Row.Relative) << Row.PTS;
    }
}

TEST(PlayerRules, NextFrameTimeTable) {
    // Paused, so that the clocks stand still: video at 1.0 s.
    AVStream Audio{};
    AVCodecContext AudioDecoder{};
    AudioDecoder.sample_rate = 44100;
    struct TRow {
        const char* Case;
        Tav_sync_type Sync;
        double LastPTS, PTS, AudioClock;
        double Delay; // what the frame timer moves by
    } Rows[] = {
        {"a pts jump of 12 s keeps the previous delay", AV_SYNC_VIDEO_MASTER, 1.0, 13.0, 0, 0.04},
        {"video behind the audio master by 0.1 s", AV_SYNC_AUDIO_MASTER, 1.0, 1.04, 1.1, 0},
        {"video ahead of the audio master by 0.1 s", AV_SYNC_AUDIO_MASTER, 1.0, 1.04, 0.9, 0.08},
        {"video as master", AV_SYNC_VIDEO_MASTER, 1.0, 1.04, 0.9, 0.04},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Case);
        TVideoState State;
        State.av_sync_type = Row.Sync;
        State.paused = 1;
        State.video_current_pts = 1.0;
        State.audio_st = &Audio;
        State.audio_dec = &AudioDecoder;
        State.audio_stream = 1;
        State.audio_sample_rate = 44100;
        State.audio_channels = 2;
        State.audio_clock = Row.AudioClock;
        State.frame_last_pts = Row.LastPTS;
        State.frame_last_delay = 0.04;
        State.frame_timer = 100.0;
        EXPECT_NEAR(NextFrameTime(&State, Row.PTS), 100.0 + Row.Delay, 1e-9);
        EXPECT_EQ(State.frame_last_pts, Row.PTS);
    }
}

// A schedule left behind the wall clock (decoding the first picture after an
// open took longer than the audio needed to start) restarts at the present;
// otherwise every later picture would count as late.
TEST(PlayerRules, AFrameTimerBehindTheWallClockRestartsNow) {
    const struct {
        const char* Case;
        double FrameTimer, Now, Timer;
    } Rows[] = {
        {"a second behind", 99.0, 100.0, 100.0},
        {"just over a tenth behind", 99.89, 100.0, 100.0},
        {"a twentieth behind: kept", 99.95, 100.0, 99.95},
        {"ahead: kept", 100.08, 100.0, 100.08},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Case);
        TVideoState State;
        State.frame_timer = Row.FrameTimer;
        CatchUpFrameTimer(&State, Row.Now);
        EXPECT_NEAR(State.frame_timer, Row.Timer, 1e-9);
    }
}

// The sound of a playback with video starts with its first picture, so no
// picture is late against sound that played before any picture existed; but
// it never waits for a video that cannot start, nor stops once started.
TEST(PlayerRules, SoundWaitsForTheFirstPictureTable) {
    const struct {
        const char* Case;
        int Opened, VideoStream;
        bool Started, Queued, VideoEnded, Device;
        double Waited; // seconds since the sound first held back
        bool Waits;
    } Rows[] = {
        {"video, nothing queued yet", 1, 0, false, false, false, false, 0.5, true},
        {"video, the first picture queued", 1, 0, false, true, false, false, 0.5, false},
        {"no video stream", 1, -1, false, false, false, false, 0.5, false},
        {"the video thread ended without a picture", 1, 0, false, false, true, false, 0.5, false},
        {"a live device", 1, 0, false, false, false, true, 0.5, false},
        {"no picture for longer than the longest hold", 1, 0, false, false, false, false,
         MaxSoundHold + 0.1, false},
        {"the streams still opening, no video open yet", 0, -1, false, false, false, false, 0.5,
         true},
        {"sound playing, a video stream switched on", 1, 0, true, false, false, false, 0.5, false},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Case);
        TVideoState State;
        State.Opened = Row.Opened;
        State.video_stream = Row.VideoStream;
        State.SoundStarted = Row.Started;
        State.PictureQueued = Row.Queued;
        State.VideoThreadDone = Row.VideoEnded;
        State.IsDevice = Row.Device;
        // The first call starts the hold; the second asks Waited later.
        const bool First = SoundWaitsForPictures(&State, 100.0);
        EXPECT_EQ(SoundWaitsForPictures(&State, 100.0 + Row.Waited), Row.Waits);
        EXPECT_EQ(First, Row.Waits || Row.Waited >= MaxSoundHold);
        // Once it has gone on, the sound never holds back again, whatever
        // the video does next.
        State.Opened = 1;
        State.PictureQueued = false;
        State.VideoThreadDone = false;
        State.IsDevice = false;
        State.video_stream = 0;
        EXPECT_EQ(SoundWaitsForPictures(&State, 100.0 + Row.Waited + 0.1), Row.Waits);
    }
}

TEST(PlayerRules, DropRuleTable) {
    struct TRow {
        const char* Case;
        int FrameDrop;
        double Late; // seconds past the next picture's time
        int Queued;
        bool SeekDone, Device;
        bool RaisesSkip, Drop;
    } Rows[] = {
        {"0.1 s late, one queued", 1, 0.1, 1, false, false, true, false},
        {"0.1 s late, two queued", 1, 0.1, 2, false, false, true, true},
        {"0.6 s late, one queued", 1, 0.6, 1, false, false, true, true},
        {"framedrop 0, 1 s late, two queued", 0, 1.0, 2, false, false, false, false},
        {"a seek done, not late", 1, -0.1, 1, true, false, true, true},
        {"a capture device, 1 s late, two queued", 1, 1.0, 2, false, true, false, false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Case);
        const TDropDecision D =
            DecideDrop(Row.FrameDrop, 10.0 + Row.Late, 10.0, Row.Queued, Row.SeekDone, Row.Device);
        EXPECT_EQ(D.Late, Row.RaisesSkip);
        EXPECT_EQ(D.Drop, Row.Drop);
    }
}

// Leaving a pause: the pictures' schedule moves on by the time spent paused;
// with nothing shown before the pause it starts at the moment of resuming,
// never a wall-clock time later (which would leave every picture unshown).
TEST(PlayerRules, ResumeClocksTable) {
    const struct {
        const char* Case;
        double Pts, Drift, FrameTimer, Now, Timer;
    } Rows[] = {
        // Shown at 100.0 s of wall time with pts 2.0, paused until 105.0.
        {"shown before the pause", 2.0, 2.0 - 100.0, 100.04, 105.0, 105.04},
        {"nothing shown yet", 0, 0, 100.08, 105.0, 105.0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Case);
        TVideoState State;
        State.video_current_pts = Row.Pts;
        State.video_current_pts_drift = Row.Drift;
        State.frame_timer = Row.FrameTimer;
        ResumeClocks(&State, Row.Now);
        EXPECT_NEAR(State.frame_timer, Row.Timer, 1e-9);
    }
}
