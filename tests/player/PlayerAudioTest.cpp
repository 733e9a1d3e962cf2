// The audio path, heard through SDL's disk driver: what the device got is
// compared with the clip's own samples.
#include "tests/fixtures/PatternFrames.h"
#include "tests/player/PlayerTestSupport.h"

#include <cmath>
#include <fstream>

namespace {

using TFrames = std::vector<std::pair<std::int16_t, std::int16_t>>;

// Stereo sample frames, all-zero ones left out (the device plays silence
// around the sound).
TFrames WithoutSilence(const TFrames& AFrames) {
    TFrames Sound;
    for (const auto& Frame : AFrames)
        if (Frame.first || Frame.second)
            Sound.push_back(Frame);
    return Sound;
}

TFrames ReadFrames(const std::string& AFile) {
    std::ifstream Stream(AFile, std::ios::binary);
    TFrames Frames;
    std::int16_t Pair[2];
    while (Stream.read(reinterpret_cast<char*>(Pair), sizeof Pair))
        Frames.emplace_back(Pair[0], Pair[1]);
    return Frames;
}

} // namespace

TEST_F(PlayerTest, TheDeviceGetsTheClipsSamplesAtTheVolumeOrSilence) {
    const struct {
        bool Mute;
        int Volume;
    } Rows[] = {{true, 128}, {false, 128}, {false, 64}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Mute ? "mute" : std::to_string(Row.Volume));
        const std::string Output =
            Temp.File("out" + std::to_string(Row.Volume) + (Row.Mute ? "m" : "") + ".raw");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "disk");
        SetEnvironmentVariable("SDL_DISKAUDIOFILE", Output);
        SetEnvironmentVariable("SDL_DISKAUDIODELAY", "23");
        Player->SetMute(Row.Mute);
        Player->SetAudioVolume(Row.Volume);
        Delivered.clear();
        ASSERT_TRUE(OpenClip("pattern.mkv", false)) << Player->LastErrMsg();
        ASSERT_GE(Player->AudioStreamIndex(), 0);
        ASSERT_TRUE(WaitForState(psEnd));
        EXPECT_GE(Player->CurrentPTS(), 1900000); // also when muted, the clock moved on
        Player->Stop(true);
        const TFrames Heard = ReadFrames(Output);
        ASSERT_FALSE(Heard.empty());
        if (Row.Mute) {
            EXPECT_TRUE(WithoutSilence(Heard).empty());
            continue;
        }
        TFrames Expected;
        for (int I = 0; I < pattern::Samples; ++I)
            Expected.emplace_back(std::int16_t(pattern::Sample(I, 0) * Row.Volume / 128),
                                  std::int16_t(pattern::Sample(I, 1) * Row.Volume / 128));
        EXPECT_TRUE(WithoutSilence(Heard) == WithoutSilence(Expected))
            << WithoutSilence(Heard).size() << " frames heard, " << WithoutSilence(Expected).size()
            << " expected";
    }
    SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
}

// With video as master, sound that runs ahead is stretched and sound behind
// is shrunk, by at most a tenth, once 20 measures agree; far apart either way
// the measures start again (paused, so the clocks stand still).
TEST(PlayerAudio, SyncTable) {
    const struct {
        const char* Case;
        Tav_sync_type Sync;
        double AudioAhead;
        int Settled; // the size from the 27th buffer on
    } Rows[] = {
        {"audio master", AV_SYNC_AUDIO_MASTER, 0.05, 4096},
        {"audio 0.05 s ahead", AV_SYNC_VIDEO_MASTER, 0.05, 4504},
        {"audio 0.05 s behind", AV_SYNC_VIDEO_MASTER, -0.05, 3684},
        {"audio 20 s behind", AV_SYNC_VIDEO_MASTER, -20, 4096},
        {"audio 20 s ahead", AV_SYNC_VIDEO_MASTER, 20, 4096},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Case);
        TVideoState State;
        State.av_sync_type = Row.Sync;
        State.paused = 1;
        State.video_stream = 0;
        State.audio_stream = 1;
        State.audio_channels = 2;
        State.audio_sample_rate = 44100;
        State.audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
        State.audio_diff_threshold = 2048.0 / 44100;
        State.video_current_pts = 100.0;
        State.audio_clock = 100.0 + Row.AudioAhead;
        State.audio_buf1.assign(288000, 0);
        for (int I = 0; I < 4096; ++I)
            State.audio_buf1[std::size_t(I)] = std::uint8_t(I);
        for (int Buffer = 1; Buffer <= 30; ++Buffer) {
            const int Size = PlayerSyncAudio(&State, State.audio_buf1.data(), 4096, 0);
            ASSERT_EQ(Size, Buffer < 27 ? 4096 : Row.Settled) << "buffer " << Buffer;
            // The added bytes repeat the last sample frame.
            for (int At = 4096; At < Size; ++At) {
                ASSERT_EQ(State.audio_buf1[std::size_t(At)],
                          State.audio_buf1[std::size_t(4092 + At % 4)]);
            }
        }
        if (std::fabs(Row.AudioAhead) >= 10) {
            EXPECT_EQ(State.audio_diff_avg_count, 0);
            EXPECT_EQ(State.audio_diff_cum, 0);
        }
    }
}

// One packet that is 320000 bytes once converted to 16 bits: the buffers
// grow to it, and every sample arrives.
TEST_F(PlayerTest, ABigPacketOf8BitSoundIsConvertedWhole) {
    const std::string Output = Temp.File("u8.raw");
    SetEnvironmentVariable("SDL_AUDIODRIVER", "disk");
    SetEnvironmentVariable("SDL_DISKAUDIOFILE", Output);
    SetEnvironmentVariable("SDL_DISKAUDIODELAY", "23");
    ASSERT_TRUE(OpenClip("u8_big.nut", false)) << Player->LastErrMsg();
    // The one packet leaves the queue at once; the sound plays on until the
    // position, which counts what the device has taken, reaches the end.
    ASSERT_TRUE(ServeUntil([&] { return Player->CurrentPTS() >= 1600000; }));
    Player->Stop(true);
    SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
    std::ifstream Raw(Clip("u8_big.raw"), std::ios::binary);
    TFrames Expected;
    char Pair[2];
    while (Raw.read(Pair, 2))
        Expected.emplace_back(std::int16_t((std::uint8_t(Pair[0]) - 128) * 256),
                              std::int16_t((std::uint8_t(Pair[1]) - 128) * 256));
    const TFrames Heard = WithoutSilence(ReadFrames(Output));
    EXPECT_TRUE(Heard == WithoutSilence(Expected))
        << Heard.size() << " frames heard, " << WithoutSilence(Expected).size() << " expected";
}
