// Jobs that decode and encode: the outputs are probed and compared with the
// ffmpeg command's conversion of the same input with the same options.
#include "media/FFmpeg.h"
#include "tests/media/FFmpegTestEngine.h"

#include <sstream>

namespace {

struct TEncodeRow {
    const char* In;
    const char* Out;
    std::vector<std::pair<std::string, std::string>> Options;
    const char* CommandOptions;
};

class EncodeTest : public EngineTest, public testing::WithParamInterface<TEncodeRow> {
protected:
    static std::string Probe(const std::string& AFile) {
        return RunCommand(
            "ffprobe -v error -show_entries "
            "stream=codec_type,codec_name,width,height,sample_rate,channels,pix_fmt,sample_fmt "
            "-of csv=p=0 " +
            Quoted(AFile));
    }

    static double Duration(const std::string& AFile) {
        return std::atof(RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                    Quoted(AFile))
                             .c_str());
    }
};

} // namespace

TEST_P(EncodeTest, MatchesTheCommandsLayout) {
    const TEncodeRow& Row = GetParam();
    const std::string In = Clip(Row.In);
    const std::string Out = Temp.File(Row.Out);
    const std::string Reference = Temp.File(std::string("ref.") + Row.Out);
    ASSERT_TRUE(Engine->OpenInputFile(In)) << Engine->LastErrMsg();
    for (const auto& [Name, Value] : Row.Options)
        Engine->ParseOption(Name, Value);
    ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    RunCommand("ffmpeg -nostdin -v error -y -i " + Quoted(In) + " " + Row.CommandOptions + " " +
               Quoted(Reference));
    EXPECT_EQ(Probe(Out), Probe(Reference));
    EXPECT_NEAR(Duration(Out), Duration(Reference), 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, EncodeTest,
    testing::Values(TEncodeRow{"part1.mp4", "x.avi", {}, ""},
                    TEncodeRow{"h264aac.mkv",
                               "x.mp4",
                               {{"vcodec", "libx264"}, {"acodec", "aac"}},
                               "-c:v libx264 -c:a aac"},
                    TEncodeRow{
                        "part1.mp4", "y.mp4", {{"ar", "48000"}, {"ac", "1"}}, "-ar 48000 -ac 1"},
                    TEncodeRow{"long.mkv",
                               "x.mkv",
                               {{"vcodec", "mpeg4"}, {"acodec", "mp2"}, {"s", "320x240"}},
                               "-c:v mpeg4 -c:a mp2 -s 320x240"}),
    [](const testing::TestParamInfo<TEncodeRow>& AInfo) {
        return std::to_string(AInfo.index) + "_" +
               TestNamePart(std::string(AInfo.param.In) + "_" + AInfo.param.Out);
    });

// A text subtitle is encoded with the muxer's own subtitle codec and keeps
// its times.
TEST_F(EngineTest, TextSubtitlesAreEncoded) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("subs.mkv"))) << Engine->LastErrMsg();
    Engine->ParseOption("vcodec", "copy");
    const std::string Out = Temp.File("subs.mkv");
    ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(Out) + " -map 0:s -f srt -"),
              "1\n00:00:00,000 --> 00:00:00,500\nHello\n\n");
}

// A filter chain runs between the decoder and the encoder, whose size it
// decides.
TEST_F(EngineTest, FilterChainShapesThePicture) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
    Engine->ParseOption("an", "");
    Engine->ParseOption("vf", "pad=400:300:40:30:black");
    const std::string Out = Temp.File("padded.mp4");
    ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffprobe -v error -count_packets -show_entries "
                         "stream=width,height,nb_read_packets -of csv=p=0 " +
                         Quoted(Out)),
              "400,300,25\n");
    // The border is black, the picture inside is not.
    const std::string Pixels =
        RunCommand("ffmpeg -nostdin -v error -i " + Quoted(Out) +
                   " -frames:v 1 -vf crop=2:2:20:150,format=gray -f rawvideo -");
    ASSERT_EQ(Pixels.size(), 4u);
    EXPECT_LT(static_cast<unsigned char>(Pixels[0]), 32);
}

// "vol" 512 doubles 16-bit samples, clipped to their range; drift
// correction keeps the sound's length.
TEST_F(EngineTest, VolumeAndDriftCorrection) {
    const std::string In = Clip("pcm.wav");
    ASSERT_TRUE(Engine->OpenInputFile(In));
    Engine->ParseOption("acodec", "pcm_s16le");
    Engine->ParseOption("vol", "512");
    const std::string Out = Temp.File("loud.wav");
    ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const auto Raw = [](const std::string& AFile) {
        const std::string Bytes =
            RunCommand("ffmpeg -nostdin -v error -i " + Quoted(AFile) + " -f s16le -");
        std::vector<int> Samples(Bytes.size() / 2);
        for (std::size_t I = 0; I < Samples.size(); ++I)
            Samples[I] =
                static_cast<std::int16_t>(static_cast<unsigned char>(Bytes[2 * I]) |
                                          static_cast<unsigned char>(Bytes[2 * I + 1]) << 8);
        return Samples;
    };
    const auto Quiet = Raw(In);
    const auto Loud = Raw(Out);
    ASSERT_EQ(Loud.size(), Quiet.size());
    for (std::size_t I = 0; I < Quiet.size(); I += 97)
        EXPECT_EQ(Loud[I], std::clamp(Quiet[I] * 2, -32768, 32767)) << I;

    Engine->ResetJob();
    ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
    Engine->ParseOption("vn", "");
    Engine->ParseOption("acodec", "mp2");
    Engine->ParseOption("async", "2");
    Engine->ParseOption("ar", "48000");
    const std::string Drift = Temp.File("drift.mkv");
    ASSERT_EQ(Engine->OpenOutputFile(Drift), 1) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_NEAR(std::atof(RunCommand("ffprobe -v error -show_entries format=duration -of "
                                     "csv=p=0 " +
                                     Quoted(Drift))
                              .c_str()),
                1.0, 0.1);
}

// Pictures that change size mid-stream: rescaled to the output's size, with
// one line about the change; without a rescaler the job ends.
TEST_F(EngineTest, PictureSizeChanges) {
    for (const bool Rescale : {true, false}) {
        SCOPED_TRACE(Rescale);
        Engine->ResetJob();
        ClearLog();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("size_change.ts"))) << Engine->LastErrMsg();
        Engine->ParseOption("vcodec", "mpeg4");
        if (Rescale)
            Engine->ParseOption("s", "352x288");
        const std::string Out = Temp.File("sized.mkv");
        ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
        Engine->StartConvert(false);
        int Lines = 0;
        for (const TLoggedLine& Line : Logged())
            Lines += Line.Level == llQuiet &&
                     Line.Msg == "Input Stream #0.0 frame size changed to 160x120, yuv420p";
        EXPECT_EQ(Lines, 1);
        if (Rescale) {
            EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
            EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=width,height -of csv=p=0 " +
                                 Quoted(Out)),
                      "352,288\n");
        } else {
            EXPECT_TRUE(Engine->FatalException());
            EXPECT_EQ(Engine->FatalMessage().rfind("Assertion failure", 0), 0u)
                << Engine->FatalMessage();
        }
    }
}

// A faster output rate duplicates pictures, a slower one drops them. A
// picture is repeated only once the output is more than 1.1 frames behind, so
// the second picture of a doubled rate is not yet repeated: 48 of 50.
TEST_F(EngineTest, FrameRateDuplicatesAndDrops) {
    const struct {
        const char* Rate;
        int Packets;
        bool Dups;
    } Rows[] = {{"50", 48, true}, {"12.5", 13, false}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Rate);
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
        Engine->ParseOption("an", "");
        Engine->ParseOption("vcodec", "mpeg4");
        Engine->ParseOption("r", Row.Rate);
        const std::string Out = Temp.File("rate.avi");
        ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
        Engine->StartConvert(false);
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        const int Packets = std::atoi(RunCommand("ffprobe -v error -count_packets -show_entries "
                                                 "stream=nb_read_packets -of csv=p=0 " +
                                                 Quoted(Out))
                                          .c_str());
        EXPECT_NEAR(Packets, Row.Packets, 1);
        EXPECT_EQ(Engine->Fnb_frames_dup > 0, Row.Dups);
        EXPECT_EQ(Engine->Fnb_frames_drop > 0, !Row.Dups);
    }
}

// Joined inputs encoded: the encoders are drained and made afresh between
// the segments, and the output runs on without a gap.
TEST_F(EngineTest, JoinedInputsEncoded) {
    for (const char* Name : {"part1.mp4", "part2.mp4"})
        ASSERT_TRUE(Engine->OpenInputFile(Clip(Name)));
    Engine->ParseOption("vcodec", "mpeg4");
    Engine->ParseOption("acodec", "mp2");
    const std::string Out = Temp.File("joined.mkv");
    ASSERT_EQ(Engine->OpenOutputFile(Out, true), 2) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_NEAR(std::atof(RunCommand("ffprobe -v error -show_entries format=duration -of "
                                     "csv=p=0 " +
                                     Quoted(Out))
                              .c_str()),
                2.0, 0.1);
    EXPECT_EQ(RunCommand("ffprobe -v error -count_packets -select_streams v -show_entries "
                         "stream=nb_read_packets -of csv=p=0 " +
                         Quoted(Out)),
              "50\n");
}
