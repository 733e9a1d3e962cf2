// The audio path, heard through SDL's disk driver: what the device got is
// compared with the clip's own samples.
#include "tests/fixtures/PatternFrames.h"
#include "tests/player/PlayerTestSupport.h"

#include <algorithm>
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
        const char* Clip;
        bool Mute;
        int Volume;
    } Rows[] = {{"pattern.mkv", true, 128},
                {"pattern.mkv", false, 128},
                {"pattern.mkv", false, 64},
                {"pattern_f32.mkv", false, 128}};
    int Run = 0;
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Clip) +
                     (Row.Mute ? " mute" : " " + std::to_string(Row.Volume)));
        const bool Float = std::string(Row.Clip) == "pattern_f32.mkv";
        const std::string Output = Temp.File("out" + std::to_string(Run++) + ".raw");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "disk");
        SetEnvironmentVariable("SDL_DISKAUDIOFILE", Output);
        SetEnvironmentVariable("SDL_DISKAUDIODELAY", "23");
        Player->SetMute(Row.Mute);
        Player->SetAudioVolume(Row.Volume);
        Delivered.clear();
        ASSERT_TRUE(OpenClip(Row.Clip, false)) << Player->LastErrMsg();
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
        // Floating-point samples k / 16 convert exactly to k x 2048.
        auto Sample = [Float](int I, int C) {
            return Float ? pattern::FloatStep(I, C) * 2048 : int(pattern::Sample(I, C));
        };
        for (int I = 0; I < pattern::Samples; ++I)
            Expected.emplace_back(std::int16_t(Sample(I, 0) * Row.Volume / 128),
                                  std::int16_t(Sample(I, 1) * Row.Volume / 128));
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

// The audio display of a file without pictures, in a 200 x 124 host.
class PlayerAudioDisplay : public PlayerTest {
protected:
    // The screen copy once AMore further displays were drawn.
    std::vector<std::uint32_t> AfterDisplays(int AMore) {
        TVideoState* is = Player->State();
        const int Target = is->AudioDisplays + AMore;
        EXPECT_TRUE(ServeUntil([&] { return is->AudioDisplays >= Target; }));
        auto Pixels = Player->Screen().Pixels();
        for (std::uint32_t& Pixel : Pixels)
            Pixel &= 0x00FFFFFF;
        return Pixels;
    }
};

// Each channel's wave stays within 9/20 of its band around the band's
// centre line; the line between the bands is white; nothing but black and
// white is drawn. Paused, the wave stands still.
TEST_F(PlayerAudioDisplay, TheWaveformOfAStereoTone) {
    Player->SetShowAudio(saWave);
    ASSERT_TRUE(OpenClip("tone.nut", false)) << Player->LastErrMsg();
    // Once the tone has reached the display's samples.
    std::vector<std::uint32_t> Pixels;
    ASSERT_TRUE(ServeUntil([&] {
        Pixels = AfterDisplays(1);
        return Pixels.size() == 200u * 124 &&
               std::count(Pixels.begin(), Pixels.end(), 0x00FFFFFFu) > 400;
    }));
    for (int Y = 0; Y < 124; ++Y)
        for (int X = 0; X < 200; ++X) {
            const std::uint32_t P = Pixels[std::size_t(Y) * 200 + X];
            ASSERT_TRUE(P == 0 || P == 0x00FFFFFF) << X << "," << Y;
            if (Y == 62) {
                ASSERT_EQ(P, 0x00FFFFFFu) << X;
            } else if (P) {
                const int Centre = Y < 62 ? 31 : 93;
                ASSERT_LE(std::abs(Y - Centre), 27) << X << "," << Y;
            }
        }
    Player->Pause();
    AfterDisplays(2);
    const auto First = AfterDisplays(1);
    EXPECT_EQ(AfterDisplays(2), First);
    EXPECT_EQ(PresentedHost(Host, 200, 124), First);
    Player->Stop(true);
}

// 1 kHz falls into bin 6 of 128 (22050 / 128 Hz each), drawn 6 rows above
// the bottom; a single channel shows grey, as nothing of a second channel is
// read.
TEST_F(PlayerAudioDisplay, TheSpectrumOfAMonoTone) {
    Player->SetShowAudio(saWave);
    ASSERT_TRUE(OpenClip("tone_mono.nut", false)) << Player->LastErrMsg();
    TVideoState* is = Player->State();
    ASSERT_TRUE(ServeUntil([&] { return Player->Surface() != nullptr; }));
    Player->ToggleAudioDisplay();
    ASSERT_EQ(is->show_audio, 2);
    // Columns drawn once the tone plays: skip the first ones, which may
    // still show silence.
    AfterDisplays(20);
    const int From = is->xpos;
    const auto Pixels = AfterDisplays(40);
    int Columns = 0;
    for (int Column = From; Column < From + 30; ++Column) {
        const int X = Column % 200;
        int Brightest = -1, Row = -1;
        for (int Y = 0; Y < 124; ++Y) {
            const std::uint32_t P = Pixels[std::size_t(Y) * 200 + X];
            const int R = int((P >> 16) & 0xFF), G = int((P >> 8) & 0xFF), B = int(P & 0xFF);
            ASSERT_TRUE(R == G && G == B) << X << "," << Y << " " << std::hex << P;
            if (R > Brightest) {
                Brightest = R;
                Row = Y;
            }
        }
        if (Brightest > 0) {
            ++Columns;
            EXPECT_NEAR(Row, 124 - 6, 1) << X;
        }
    }
    EXPECT_GT(Columns, 20);
    Player->Stop(true);
}

// A file without pictures reports its end again while it stands there.
TEST_F(PlayerTest, AnAudioOnlyFileReportsItsEndRepeatedly) {
    ASSERT_TRUE(OpenClip("tone.nut", false)) << Player->LastErrMsg();
    ASSERT_TRUE(ServeUntil([&] {
        const auto States = DeliveredStates();
        return std::count(States.begin(), States.end(), psEnd) >= 2;
    }));
    Player->Stop(true);
}
