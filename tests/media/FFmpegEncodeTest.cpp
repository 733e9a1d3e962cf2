// Jobs that decode and encode: the outputs are probed and compared with the
// ffmpeg command's conversion of the same input with the same options.
#include "media/AVFilterStubs.h"
#include "media/FFmpeg.h"
#include "platform/core/Paths.h"
#include "tests/media/FFmpegTestEngine.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace {

using TOptionList = std::vector<std::pair<std::string, std::string>>;

// Jobs run inline by the test engine, and what the ffmpeg command and
// ffprobe make of the same files.
class ConvertTest : public EngineTest {
protected:
    // Runs one job inline: the input, then the options, then the output.
    bool Run(const std::string& AIn, const std::string& AOut, const TOptionList& AOptions) {
        if (!Engine->OpenInputFile(AIn)) {
            ADD_FAILURE() << Engine->LastErrMsg();
            return false;
        }
        for (const auto& [Name, Value] : AOptions)
            Engine->ParseOption(Name, Value);
        if (Engine->OpenOutputFile(AOut) < 0) {
            ADD_FAILURE() << Engine->LastErrMsg();
            return false;
        }
        Engine->StartConvert(false);
        return true;
    }

    // The ffmpeg command's conversion of the same input.
    static void Reference(const std::string& AIn, const std::string& AOptions,
                          const std::string& AOut) {
        RunCommand("ffmpeg -nostdin -v error -y -i " + Quoted(AIn) + " " + AOptions + " " +
                   Quoted(AOut));
    }

    static double Duration(const std::string& AFile) {
        return std::atof(RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                    Quoted(AFile))
                             .c_str());
    }

    // The container and, per stream, what a player relies on; bit rates
    // left out.
    static std::string Layout(const std::string& AFile) {
        return RunCommand("ffprobe -v error -show_entries "
                          "format=format_name:stream=codec_name,codec_type,codec_tag_string,width,"
                          "height,display_aspect_ratio,r_frame_rate,pix_fmt,sample_rate,channels,"
                          "sample_fmt -of compact=p=0 " +
                          Quoted(AFile));
    }

    // The decoded pictures or samples, as raw bytes.
    static std::string Decoded(const std::string& AFile, const std::string& AFormat) {
        return RunCommand("ffmpeg -nostdin -v error -i " + Quoted(AFile) + " " + AFormat + " -");
    }

    static std::vector<int> Samples16(const std::string& AFile, const std::string& AMore = "") {
        const std::string Bytes = Decoded(AFile, AMore + " -f s16le");
        std::vector<int> Result(Bytes.size() / 2);
        for (std::size_t I = 0; I < Result.size(); ++I)
            Result[I] =
                static_cast<std::int16_t>(static_cast<unsigned char>(Bytes[2 * I]) |
                                          static_cast<unsigned char>(Bytes[2 * I + 1]) << 8);
        return Result;
    }

    // The packet lines of the named stream: times, sizes and checksums.
    static std::vector<std::string> Packets(const std::string& AFile, int AStream) {
        std::vector<std::string> Result;
        std::istringstream In(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(AFile) +
                                         " -map 0:" + std::to_string(AStream) +
                                         " -c copy -f framecrc -"));
        for (std::string Line; std::getline(In, Line);)
            if (!Line.empty() && Line[0] != '#')
                Result.push_back(Line);
        return Result;
    }

    // The same lines without their times: size and checksum.
    static std::vector<std::string> SizesAndSums(const std::vector<std::string>& ALines) {
        std::vector<std::string> Result;
        for (const std::string& Line : ALines) {
            std::istringstream In(Line);
            std::vector<std::string> Fields;
            for (std::string Field; std::getline(In, Field, ',');)
                Fields.push_back(Field);
            Result.push_back(Fields.size() >= 6 ? Fields[4] + "," + Fields[5] : Line);
        }
        return Result;
    }
};

struct TEncodeRow {
    const char* In;
    const char* Out;
    TOptionList Options;
    const char* CommandOptions;
};

class EncodeTest : public ConvertTest, public testing::WithParamInterface<TEncodeRow> {
protected:
    static std::string Probe(const std::string& AFile) {
        return RunCommand(
            "ffprobe -v error -show_entries "
            "stream=codec_type,codec_name,width,height,sample_rate,channels,pix_fmt,sample_fmt "
            "-of csv=p=0 " +
            Quoted(AFile));
    }
};

} // namespace

TEST_P(EncodeTest, MatchesTheCommandsLayout) {
    const TEncodeRow& Row = GetParam();
    const std::string In = Clip(Row.In);
    const std::string Out = Temp.File(Row.Out);
    const std::string Ref = Temp.File(std::string("ref.") + Row.Out);
    ASSERT_TRUE(Run(In, Out, Row.Options));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    Reference(In, Row.CommandOptions, Ref);
    EXPECT_EQ(Probe(Out), Probe(Ref));
    EXPECT_NEAR(Duration(Out), Duration(Ref), 0.1);
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
// one line about the change, whether or not the output was made with a
// rescaler.
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
        EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=width,height -of csv=p=0 " +
                             Quoted(Out)),
                  Rescale ? "352,288\n" : "320,240\n");
    }
}

// A faster output rate duplicates pictures, a slower one drops them. A
// picture is repeated only once the output is more than 1.1 frames behind;
// the last picture is repeated to the end of its time: 50 of 50.
TEST_F(EngineTest, FrameRateDuplicatesAndDrops) {
    const struct {
        const char* Rate;
        int Packets;
        bool Dups;
    } Rows[] = {{"50", 50, true}, {"12.5", 13, false}};
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
// Joined inputs re-encoded: the encoders are replaced once, at the joint,
// and the second part goes on where the first ended.
TEST_F(EngineTest, JoinedInputsEncoded) {
    const std::vector<std::string> Parts = {Clip("part1.mp4"), Clip("part2.mp4")};
    double InputDuration = 0;
    int InputFrames = 0;
    for (const std::string& Part : Parts) {
        ASSERT_TRUE(Engine->OpenInputFile(Part)) << Engine->LastErrMsg();
        InputDuration += std::atof(
            RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Quoted(Part))
                .c_str());
        InputFrames += std::atoi(RunCommand("ffprobe -v error -count_packets -select_streams v "
                                            "-show_entries stream=nb_read_packets -of csv=p=0 " +
                                            Quoted(Part))
                                     .c_str());
    }
    Engine->ParseOption("vcodec", "mpeg4");
    Engine->ParseOption("acodec", "aac");
    const std::string Out = Temp.File("joined.mp4");
    ASSERT_EQ(Engine->OpenOutputFile(Out, true), 2) << Engine->LastErrMsg();
    // Every report marks the encoder contexts it meets: an unmarked one is
    // new. The contexts are the engine's, and nothing else reads the mark.
    static int Mark = 0;
    std::map<int, int> Contexts;
    Engine->ReportInterval = 0;
    Engine->OnReport = [&](int) {
        for (int I = 0; I < Engine->Fnb_segment_streams; ++I)
            if (AVCodecContext* Codec = Engine->Fost_table[I]->enc_ctx;
                Codec && Codec->opaque != &Mark) {
                Codec->opaque = &Mark;
                ++Contexts[I];
            }
    };
    Engine->StartConvert(false);
    // The reopened sound encoder's first packets used to overlap the end of
    // the first part, and the MP4 muxer refused them.
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(Contexts, (std::map<int, int>{{0, 2}, {1, 2}}));
    EXPECT_EQ(std::atoi(RunCommand("ffprobe -v error -count_packets -select_streams v "
                                   "-show_entries stream=nb_read_packets -of csv=p=0 " +
                                   Quoted(Out))
                            .c_str()),
              InputFrames);
    // Each stream's packets rise across the joint, and the stream ends
    // where the parts' durations add up, within one frame. Each part's sound
    // ends where its container says, not with its encoder's padding (1024
    // samples decoded from a last packet of 68); what is left is the
    // reopened encoder's priming, under one sound frame.
    for (const auto& [Stream, Slack] : {std::pair{"v", 0.04}, std::pair{"a", 1024 / 44100.0}}) {
        std::istringstream Packets(RunCommand("ffprobe -v error -select_streams " +
                                              std::string(Stream) +
                                              " -show_entries packet=dts_time,duration_time "
                                              "-of csv=p=0 " +
                                              Quoted(Out)));
        double Previous = -1e9, End = 0;
        int Count = 0;
        for (std::string Line; std::getline(Packets, Line);) {
            double Dts = 0, Duration = 0;
            // A packet with side data gets an empty line of its own.
            if (std::sscanf(Line.c_str(), "%lf,%lf", &Dts, &Duration) != 2)
                continue;
            EXPECT_GT(Dts, Previous) << Stream << " packet " << Count;
            ++Count;
            End = std::max(End, Dts + Duration);
            Previous = Dts;
        }
        EXPECT_GT(Count, 0) << Stream;
        EXPECT_GE(End, InputDuration - 0.04) << Stream;
        EXPECT_LE(End, InputDuration + Slack) << Stream;
    }
}

// Matroska counts in milliseconds: its sound packets' durations are rounded
// (23 ms for 1024 samples at 44.1 kHz) and must not shorten the decoded sound.
TEST_F(EngineTest, JoinedPartsWithMillisecondTimesKeepEverySample) {
    const auto Samples = [](const std::string& AFile) {
        return RunCommand("ffmpeg -nostdin -v error -i " + Quoted(AFile) + " -map 0:a -f s16le -")
                   .size() /
               4;
    };
    std::size_t Decoded = 0;
    for (const char* Name : {"part1", "part2"}) {
        const std::string Part = Temp.File(std::string(Name) + ".mkv");
        RunCommand("ffmpeg -nostdin -v error -y -i " + Quoted(Clip(std::string(Name) + ".mp4")) +
                   " -c copy " + Quoted(Part));
        Decoded += Samples(Part);
        ASSERT_TRUE(Engine->OpenInputFile(Part)) << Engine->LastErrMsg();
    }
    ASSERT_GT(Decoded, 88200u);
    Engine->ParseOption("vcodec", "mpeg4");
    Engine->ParseOption("acodec", "pcm_s16le");
    const std::string Out = Temp.File("joined.mkv");
    ASSERT_EQ(Engine->OpenOutputFile(Out, true), 2) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(Samples(Out), Decoded);
}

// ---- Jobs run as the catalogue's profiles ----------------------------------------

namespace {

struct TProfileRow {
    const char* Name;
    const char* In;
    const char* Out;
    TOptionList Options;
    const char* CommandOptions;
    std::vector<const char*> Expect; // pieces of the output's layout
    double Frame;                    // one frame of the output, in seconds
    bool CommandRunsLonger;          // see the comment at the rows
};

void PrintTo(const TProfileRow& ARow, std::ostream* AOut) {
    *AOut << ARow.Name;
}

class ProfileTest : public ConvertTest, public testing::WithParamInterface<TProfileRow> {};

} // namespace

// The engine and the command, given the same options, write the same
// layout; the engine's output lasts as long as its input.
TEST_P(ProfileTest, LayoutMatchesTheCommand) {
    const TProfileRow& Row = GetParam();
    const std::string In = Clip(Row.In);
    const std::string Out = Temp.File(Row.Out);
    const std::string Ref = Temp.File(std::string("ref.") + Row.Out);
    ASSERT_TRUE(Run(In, Out, Row.Options));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_FALSE(Engine->FatalException());
    Reference(In, Row.CommandOptions, Ref);
    const std::string Mine = Layout(Out);
    EXPECT_EQ(Mine, Layout(Ref));
    for (const char* Piece : Row.Expect)
        EXPECT_NE(Mine.find(Piece), std::string::npos) << Piece << " not in\n" << Mine;
    // Within one frame of the input, plus the start-up delay the sound
    // encoders add to a container's duration (mp3 at 22.05 kHz: 50 ms).
    EXPECT_NEAR(Duration(Out), Duration(In), Row.Frame + 0.051);
    if (!Row.CommandRunsLonger) {
        EXPECT_NEAR(Duration(Out), Duration(Ref), Row.Frame + 0.001);
    }
}

// The 3GP rows: the engine's synchronisation (method 1, 25 pictures a
// second to 12) gives 13 frames and ends with the input's last picture; the
// command's constant-rate filter also fills the last picture's own duration:
// 14 frames; the containers show 1.167 s against the engine's 1.005 s.
INSTANTIATE_TEST_SUITE_P(
    Engine, ProfileTest,
    testing::Values(
        TProfileRow{"x264_720p",
                    "src_hd.mp4",
                    "x264.mp4",
                    {{"vcodec", "libx264"},
                     {"vpre", "libx264-default"},
                     {"s", "1280x720"},
                     {"r", "29.97"},
                     {"vb", "1800000"},
                     {"acodec", "libfaac"},
                     {"ab", "128000"},
                     {"ar", "48000"},
                     {"ac", "2"}},
                    "-c:v libx264 -preset medium -s 1280x720 -r 29.97 -b:v 1800k -c:a aac -b:a "
                    "128k -ar 48000 -ac 2",
                    {"codec_name=h264|codec_type=video|codec_tag_string=avc1|width=1280|height=720",
                     "r_frame_rate=2997/100",
                     "codec_name=aac|codec_type=audio|codec_tag_string=mp4a|sample_fmt=fltp|"
                     "sample_rate=48000|channels=2"},
                    1 / 29.97,
                    false},
        TProfileRow{"xvid_avi",
                    "src_hd.mp4",
                    "xvid.avi",
                    {{"vcodec", "mpeg4"},
                     {"vtag", "XVID"},
                     {"r", "25"},
                     {"vb", "816000"},
                     {"acodec", "libmp3lame"},
                     {"ab", "128000"},
                     {"ar", "44100"},
                     {"ac", "2"}},
                    "-c:v mpeg4 -vtag XVID -r 25 -b:v 816k -c:a libmp3lame -b:a 128k -ar 44100 "
                    "-ac 2",
                    {"codec_name=mpeg4|codec_type=video|codec_tag_string=XVID|width=640|height=360",
                     "r_frame_rate=25/1", "codec_name=mp3", "sample_rate=44100|channels=2"},
                    0.04,
                    false},
        TProfileRow{"pal_dvd",
                    "src_hd.mp4",
                    "dvd.mpg",
                    {{"target", "pal-dvd"}},
                    "-target pal-dvd",
                    {"format_name=mpeg",
                     "codec_name=mpeg2video|codec_type=video|codec_tag_string=[0][0][0][0]|width="
                     "720|height=576|display_aspect_ratio=16:9",
                     "r_frame_rate=25/1", "codec_name=ac3", "sample_rate=48000|channels=2"},
                    0.04,
                    false},
        TProfileRow{"wmv2",
                    "src_hd.mp4",
                    "x.wmv",
                    {{"vcodec", "wmv2"},
                     {"acodec", "wmav2"},
                     {"r", "25"},
                     {"vb", "816000"},
                     {"ab", "128000"},
                     {"ar", "44100"},
                     {"ac", "2"}},
                    "-c:v wmv2 -c:a wmav2 -r 25 -b:v 816k -b:a 128k -ar 44100 -ac 2",
                    {"format_name=asf", "codec_name=wmv2", "codec_name=wmav2",
                     "sample_rate=44100|channels=2"},
                    // ASF counts the last picture's own duration on top of
                    // the sound's, as the command's file does: two frames.
                    0.08,
                    false},
        TProfileRow{"flv",
                    "src_hd.mp4",
                    "x.flv",
                    {{"r", "25"},
                     {"vb", "816000"},
                     {"acodec", "libmp3lame"},
                     {"ab", "128000"},
                     {"ar", "22050"},
                     {"ac", "2"}},
                    "-r 25 -b:v 816k -c:a libmp3lame -b:a 128k -ar 22050 -ac 2",
                    {"codec_name=flv1", "r_frame_rate=25/1", "codec_name=mp3",
                     "sample_rate=22050|channels=2"},
                    0.04,
                    false},
        TProfileRow{
            "mp3",
            "src_hd.mp4",
            "x.mp3",
            {{"vn", ""}, {"acodec", "libmp3lame"}, {"ab", "128000"}, {"ar", "48000"}, {"ac", "2"}},
            "-vn -c:a libmp3lame -b:a 128k -ar 48000 -ac 2",
            {"codec_name=mp3|codec_type=audio"},
            1152 / 48000.0,
            false},
        TProfileRow{"mpeg4_3gp",
                    "src_hd.mp4",
                    "x.3gp",
                    {{"vcodec", "mpeg4"},
                     {"s", "176x144"},
                     {"r", "12"},
                     {"aspect", "4:3"},
                     {"vb", "128000"},
                     {"acodec", "libfaac"},
                     {"ab", "12000"},
                     {"ar", "8000"},
                     {"ac", "1"}},
                    "-c:v mpeg4 -s 176x144 -r 12 -aspect 4:3 -b:v 128k -c:a aac -b:a 12k -ar 8000 "
                    "-ac 1",
                    {"codec_name=mpeg4|codec_type=video|codec_tag_string=mp4v|width=176|height=144",
                     "r_frame_rate=12/1", "codec_name=aac", "sample_rate=8000|channels=1"},
                    1 / 12.0,
                    true},
        TProfileRow{"h263_3gp",
                    "src_hd.mp4",
                    "y.3gp",
                    {{"s", "176x144"},
                     {"r", "12"},
                     {"aspect", "4:3"},
                     {"vb", "128000"},
                     {"acodec", "libfaac"},
                     {"ab", "12000"},
                     {"ar", "8000"},
                     {"ac", "1"}},
                    "-s 176x144 -r 12 -aspect 4:3 -b:v 128k -c:a aac -b:a 12k -ar 8000 -ac 1",
                    {"codec_name=h263|codec_type=video|codec_tag_string=s263|width=176|height=144",
                     "r_frame_rate=12/1", "codec_name=aac", "sample_rate=8000|channels=1"},
                    1 / 12.0,
                    true}),
    [](const testing::TestParamInfo<TProfileRow>& AInfo) { return AInfo.param.Name; });

// ---- Deterministic encoders: the command's very packets ------------------------

namespace {

struct TBitExactRow {
    const char* Name;
    const char* In;
    const char* Out;
    TOptionList Options;
    const char* CommandOptions;
    std::vector<int> Streams;
    std::vector<int> BytesOnly; // streams whose times are not compared
};

void PrintTo(const TBitExactRow& ARow, std::ostream* AOut) {
    *AOut << ARow.Name;
}

class BitExactTest : public ConvertTest, public testing::WithParamInterface<TBitExactRow> {};

} // namespace

// Sources at the output's size, rate and channels, so only decoding, format
// conversion and encoding are compared: the packets are the command's, time
// stamps included.
TEST_P(BitExactTest, PacketsMatchTheCommand) {
    const TBitExactRow& Row = GetParam();
    const std::string In = Clip(Row.In);
    const std::string Out = Temp.File(Row.Out);
    const std::string Ref = Temp.File(std::string("ref.") + Row.Out);
    TOptionList Options = Row.Options;
    Options.insert(Options.end(), {{"flags", "+bitexact"}, {"fflags", "+bitexact"}});
    ASSERT_TRUE(Run(In, Out, Options));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    Reference(In, std::string(Row.CommandOptions) + " -flags +bitexact -fflags +bitexact", Ref);
    for (const int Stream : Row.Streams) {
        const auto Mine = Packets(Out, Stream);
        EXPECT_FALSE(Mine.empty()) << Stream;
        if (std::count(Row.BytesOnly.begin(), Row.BytesOnly.end(), Stream)) {
            EXPECT_EQ(SizesAndSums(Mine), SizesAndSums(Packets(Ref, Stream))) << Stream;
        } else {
            EXPECT_EQ(Mine, Packets(Ref, Stream)) << "stream " << Stream;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, BitExactTest,
    testing::Values(
        TBitExactRow{"xvid_avi",
                     "ref320.mkv",
                     "x.avi",
                     {{"vcodec", "mpeg4"},
                      {"vtag", "XVID"},
                      {"r", "25"},
                      {"vb", "816000"},
                      {"acodec", "libmp3lame"},
                      {"ab", "128000"},
                      {"ar", "44100"},
                      {"ac", "2"}},
                     "-c:v mpeg4 -vtag XVID -r 25 -b:v 816k -c:a libmp3lame -b:a 128k -ar 44100 "
                     "-ac 2",
                     {0},
                     {}},
        // Stream 0 of a DVD is its navigation packets. The sound's packets
        // are the command's, their times not: see the WMV test below.
        TBitExactRow{"pal_dvd",
                     "ref576.mkv",
                     "x.mpg",
                     {{"target", "pal-dvd"}},
                     "-target pal-dvd",
                     {1, 2},
                     {2}},
        TBitExactRow{"mp2",
                     "ref320.mkv",
                     "x.mp2",
                     {{"vn", ""}, {"ab", "128000"}, {"ar", "44100"}, {"ac", "2"}},
                     "-vn -b:a 128k -ar 44100 -ac 2",
                     {0},
                     {}}),
    [](const testing::TestParamInfo<TBitExactRow>& AInfo) { return AInfo.param.Name; });

// WMV: the same packets; their times differ by a millisecond. The engine
// sets the sound's clock from the input's time stamps at every block (the
// Matroska source's are whole milliseconds), the command counts samples:
// the second 2048-sample packet is at 47 ms against 46, and the ASF muxer
// moves the pictures' send times with the sound's.
TEST_F(ConvertTest, WmvPacketsMatchTheCommandsBytes) {
    const std::string In = Clip("ref320.mkv");
    const std::string Out = Temp.File("x.wmv");
    const std::string Ref = Temp.File("ref.wmv");
    ASSERT_TRUE(Run(In, Out,
                    {{"vcodec", "wmv2"},
                     {"vb", "816000"},
                     {"r", "25"},
                     {"acodec", "wmav2"},
                     {"ab", "128000"},
                     {"ar", "44100"},
                     {"ac", "2"},
                     {"flags", "+bitexact"},
                     {"fflags", "+bitexact"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    Reference(In,
              "-c:v wmv2 -b:v 816k -r 25 -c:a wmav2 -b:a 128k -ar 44100 -ac 2 -flags +bitexact "
              "-fflags +bitexact",
              Ref);
    const auto Mine = Packets(Out, 0);
    ASSERT_EQ(Mine.size(), 25u);
    EXPECT_EQ(SizesAndSums(Mine), SizesAndSums(Packets(Ref, 0)));
}

// ---- Sound: channels, rates, formats, volume, drift and the sample queue -------

namespace {

double Rms(const std::vector<int>& ASamples) {
    double Sum = 0;
    for (const int S : ASamples)
        Sum += static_cast<double>(S) * S;
    return std::sqrt(Sum / static_cast<double>(std::max<std::size_t>(ASamples.size(), 1)));
}

} // namespace

TEST_F(ConvertTest, ChannelsRatesAndFormatsAreConverted) {
    const struct {
        const char* In;
        const char* Out;
        TOptionList Options;
        const char* CommandOptions;
        const char* Stream; // codec, sample rate, channels as probed
        double Frame;       // one encoder frame, in seconds
    } Rows[] = {
        {"mono44.wav",
         "x.m4a",
         {{"acodec", "aac"}, {"ar", "48000"}, {"ac", "2"}},
         "-c:a aac -ar 48000 -ac 2",
         "aac,48000,2",
         1024 / 48000.0},
        {"six.mka",
         "x.mp3",
         {{"acodec", "libmp3lame"}, {"ac", "2"}},
         "-c:a libmp3lame -ac 2",
         "mp3,48000,2",
         1152 / 48000.0},
        {"u8_8k.wav",
         "x.mp2",
         {{"acodec", "mp2"}, {"ar", "44100"}, {"ac", "2"}},
         "-c:a mp2 -ar 44100 -ac 2",
         "mp2,44100,2",
         1152 / 44100.0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.In);
        Engine->ResetJob();
        const std::string Out = Temp.File(Row.Out);
        ASSERT_TRUE(Run(Clip(Row.In), Out, Row.Options));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        EXPECT_EQ(
            RunCommand("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels "
                       "-of csv=p=0 " +
                       Quoted(Out)),
            std::string(Row.Stream) + "\n");
        // Against the command's output of the same options: the decoders'
        // and encoders' delays stay in both.
        const std::string Ref = Temp.File(std::string("ref.") + Row.Out);
        Reference(Clip(Row.In), Row.CommandOptions, Ref);
        EXPECT_NEAR(Duration(Out), Duration(Ref), Row.Frame + 0.001);
    }
    // The 8-bit mono sound keeps its level: swresample spreads one channel
    // over two at -3 dB each, so the two together hold the input's power.
    const std::vector<int> In = Samples16(Clip("u8_8k.wav"));
    const std::vector<int> Out = Samples16(Temp.File("x.mp2"));
    EXPECT_NEAR(20 * std::log10(std::sqrt(2.0) * Rms(Out) / Rms(In)), 0.0, 1.0);
}

// s16 to float at the same rate: a conversion of the format alone, exact.
TEST_F(ConvertTest, AFormatOnlyConversionIsExact) {
    const std::string Out = Temp.File("f32.wav");
    ASSERT_TRUE(Run(Clip("mono44.wav"), Out, {{"acodec", "pcm_f32le"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const std::vector<int> In = Samples16(Clip("mono44.wav"));
    const std::string Bytes = Decoded(Out, "-f f32le");
    ASSERT_EQ(Bytes.size(), In.size() * 4);
    for (std::size_t I = 0; I < In.size(); ++I) {
        float Value;
        std::memcpy(&Value, Bytes.data() + 4 * I, 4);
        ASSERT_EQ(Value, static_cast<float>(In[I]) / 32768.0f) << I;
    }
}

// The volume scales planar float sound in its own format: 512 doubles what
// 256 gives, and 256 leaves the sound as it is.
TEST_F(ConvertTest, VolumeScalesPlanarFloatSound) {
    std::map<std::string, std::vector<int>> Runs;
    for (const char* Volume : {"", "256", "512"}) {
        Engine->ResetJob();
        const std::string Out = Temp.File(std::string("vol") + Volume + ".wav");
        TOptionList Options = {{"acodec", "pcm_s16le"}};
        if (*Volume)
            Options.emplace_back("vol", Volume);
        ASSERT_TRUE(Run(Clip("fltp.m4a"), Out, Options));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        Runs[Volume] = Samples16(Out);
    }
    EXPECT_EQ(Runs["256"], Runs[""]);
    const auto& Single = Runs["256"];
    const auto& Double = Runs["512"];
    ASSERT_EQ(Double.size(), Single.size());
    int Loud = 0;
    for (std::size_t I = 0; I < Single.size(); ++I) {
        if (std::abs(Double[I]) >= 32767)
            continue;
        ASSERT_LE(std::abs(Double[I] - 2 * Single[I]), 1) << I;
        Loud += std::abs(Single[I]) > 8000;
    }
    EXPECT_GT(Loud, 0);
}

// Sound that starts 0.5 s after the pictures: with "async" 1 the gap is
// filled with silence once, at the start; without, the stream starts late.
TEST_F(ConvertTest, LateSoundIsPaddedOnlyWithDriftCorrection) {
    for (const char* Async : {"1", "0"}) {
        SCOPED_TRACE(Async);
        Engine->ResetJob();
        const std::string Out = Temp.File(std::string("late") + Async + ".mkv");
        ASSERT_TRUE(
            Run(Clip("late.mkv"), Out, {{"vcodec", "mpeg4"}, {"acodec", "mp2"}, {"async", Async}}));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        const double Start = std::atof(
            RunCommand("ffprobe -v error -select_streams a -show_entries stream=start_time -of "
                       "csv=p=0 " +
                       Quoted(Out))
                .c_str());
        const std::vector<int> Sound = Samples16(Out, "-map 0:a");
        std::size_t First = 0;
        while (First < Sound.size() && std::abs(Sound[First]) <= 50)
            ++First;
        First /= 2; // stereo
        if (std::string(Async) == "1") {
            EXPECT_NEAR(Start, 0.0, 0.001);
            // Half a second of silence, within one encoder frame.
            EXPECT_NEAR(static_cast<double>(First), 22050, 1152);
            EXPECT_NEAR(static_cast<double>(Sound.size()) / 2 / 44100, 2.0, 1152 / 44100.0);
        } else {
            EXPECT_NEAR(Start, 0.477, 0.03);
            EXPECT_LT(First, 1152u * 2);
        }
    }
}

// Blocks of 1000 samples reach a 1152-sample encoder through the queue; the
// last frame is padded for mp2, and keeps its length for aac.
TEST_F(ConvertTest, TheSampleQueueFramesBlocksForTheEncoder) {
    ASSERT_TRUE(Run(Clip("blocks1000.nut"), Temp.File("x.mp2"), {{"acodec", "mp2"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    // 44100 samples: 38 whole frames and one padded.
    EXPECT_EQ(Samples16(Temp.File("x.mp2")).size(), 39u * 1152 * 2);

    Engine->ResetJob();
    ASSERT_TRUE(Run(Clip("blocks1000.nut"), Temp.File("x.m4a"), {{"acodec", "aac"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    // The last packet holds the 68 samples left over (44100 - 43 x 1024).
    const std::string Last =
        RunCommand("ffprobe -v error -select_streams a -show_entries packet=duration -of csv=p=0 " +
                   Quoted(Temp.File("x.m4a")) + " | tail -1");
    EXPECT_EQ(Last, "68\n");
}

// ---- Pictures: cropping, scaling and the filter graph ---------------------------

namespace {

// Plane 0 of picture AIndex of a raw yuv420p or gray stream.
std::string Luma(const std::string& ABytes, int AWidth, int AHeight, int AIndex) {
    const std::size_t Frame = static_cast<std::size_t>(AWidth) * AHeight * 3 / 2;
    return ABytes.substr(Frame * AIndex, static_cast<std::size_t>(AWidth) * AHeight);
}

int MaxDifference(const std::string& A, const std::string& B) {
    int Result = A.size() == B.size() ? 0 : 256;
    for (std::size_t I = 0; I < std::min(A.size(), B.size()); ++I)
        Result = std::max(
            Result, std::abs(static_cast<unsigned char>(A[I]) - static_cast<unsigned char>(B[I])));
    return Result;
}

double MeanDifference(const std::string& A, const std::string& B) {
    if (A.size() != B.size() || A.empty())
        return 256;
    double Sum = 0;
    for (std::size_t I = 0; I < A.size(); ++I)
        Sum += std::abs(static_cast<unsigned char>(A[I]) - static_cast<unsigned char>(B[I]));
    return Sum / static_cast<double>(A.size());
}

} // namespace

TEST_F(ConvertTest, CropBandsWithoutAChainKeepTheRowsBetween) {
    const std::string Out = Temp.File("crop.nut");
    ASSERT_TRUE(Run(Clip("ref576.mkv"), Out,
                    {{"an", ""}, {"vcodec", "rawvideo"}, {"croptop", "8"}, {"cropbottom", "8"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const std::string In = Decoded(Clip("ref576.mkv"), "-f rawvideo -pix_fmt yuv420p");
    const std::string Mine = Decoded(Out, "-f rawvideo -pix_fmt yuv420p");
    ASSERT_EQ(Mine.size(), 25u * 720 * 560 * 3 / 2);
    for (int I = 0; I < 25; ++I)
        ASSERT_EQ(Luma(Mine, 720, 560, I), Luma(In, 720, 576, I).substr(8 * 720, 560 * 720)) << I;
}

// Bands of 16 on the left and right of a 1280x720 picture brought to
// 640x360: the whole cropped picture is scaled, with or without a chain,
// as the command's crop and scale filters do.
TEST_F(ConvertTest, CroppedPicturesAreScaledWhole) {
    const std::string Source = Temp.File("hd720.mkv");
    RunCommand("ffmpeg -nostdin -v error -f lavfi -i testsrc=size=1280x720:rate=25:duration=0.2 "
               "-c:v mpeg4 -q:v 2 " +
               Quoted(Source));
    const std::string Ref = Temp.File("ref.nut");
    Reference(Source, "-c:v rawvideo -vf crop=1248:720:16:0,scale=640:360", Ref);
    const std::string Expected = Decoded(Ref, "-f rawvideo");
    ASSERT_FALSE(Expected.empty());
    for (const bool Chain : {false, true}) {
        SCOPED_TRACE(Chain);
        Engine->ResetJob();
        const std::string Out = Temp.File(Chain ? "chain.nut" : "plain.nut");
        TOptionList Options = {
            {"vcodec", "rawvideo"}, {"cropleft", "16"}, {"cropright", "16"}, {"s", "640x360"}};
        if (Chain)
            Options.emplace_back("vf", "null");
        ASSERT_TRUE(Run(Source, Out, Options));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        EXPECT_LE(MaxDifference(Decoded(Out, "-f rawvideo"), Expected), 2);
    }
}

// The graph a crop with a chain builds, read during the job from the
// source to the sink: the crop of the bands, a scale stage only when the
// cropped picture is not the encoder's size, then the chain.
TEST_F(ConvertTest, ACropBeforeAChainShapesTheGraph) {
    struct TRow {
        TOptionList Options;
        std::vector<std::string> Stages;
        const char* Crop; // out_w:out_h:x:y
    };
    const TRow Rows[] = {
        {{{"cropleft", "16"}}, {"buffer", "crop", "null", "buffersink"}, "704:576:16:0"},
        {{{"cropleft", "16"}, {"cropright", "16"}, {"s", "352x288"}},
         {"buffer", "crop", "scale", "null", "buffersink"},
         "688:576:16:0"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Crop);
        Engine->ResetJob();
        std::vector<std::string> Stages;
        std::string Crop;
        Engine->ReportInterval = 0;
        Engine->OnReport = [&](int) {
            const AVFilterContext* Filter = Engine->Fost_table[0]->input_video_filter;
            if (!Stages.empty() || !Filter)
                return;
            for (; Filter; Filter = Filter->nb_outputs ? Filter->outputs[0]->dst : nullptr) {
                Stages.emplace_back(Filter->filter->name);
                if (Stages.back() != "crop")
                    continue;
                for (const char* Name : {"out_w", "out_h", "x", "y"}) {
                    std::uint8_t* Value = nullptr;
                    if (avutil::av_opt_get(const_cast<AVFilterContext*>(Filter), Name,
                                           AV_OPT_SEARCH_CHILDREN, &Value) >= 0) {
                        Crop +=
                            (Crop.empty() ? "" : ":") + std::string(reinterpret_cast<char*>(Value));
                        avutil::av_free(Value);
                    }
                }
            }
        };
        TOptionList Options = {{"an", ""}, {"vcodec", "mpeg4"}};
        Options.insert(Options.end(), Row.Options.begin(), Row.Options.end());
        Options.emplace_back("vf", "null");
        ASSERT_TRUE(Run(Clip("ref576.mkv"), Temp.File("graph.avi"), Options));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        EXPECT_EQ(Stages, Row.Stages);
        EXPECT_EQ(Crop, Row.Crop);
    }
}

TEST_F(ConvertTest, FilterChains) {
    const std::string In = Clip("ref320.mkv");
    // A mirror keeps the size; each pixel comes from the other side.
    ASSERT_TRUE(
        Run(In, Temp.File("flip.nut"), {{"an", ""}, {"vcodec", "rawvideo"}, {"vf", "hflip"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const std::string Source = Decoded(In, "-frames:v 1 -f rawvideo -pix_fmt gray");
    const std::string Flipped =
        Decoded(Temp.File("flip.nut"), "-frames:v 1 -f rawvideo -pix_fmt gray");
    ASSERT_EQ(Flipped.size(), 320u * 240);
    for (int Y = 0; Y < 240; Y += 7)
        for (int X = 0; X < 320; ++X)
            ASSERT_EQ(Flipped[Y * 320 + X], Source[Y * 320 + 319 - X]) << X << "," << Y;

    // The chain decides the encoder's size over the options'.
    Engine->ResetJob();
    ASSERT_TRUE(Run(In, Temp.File("scaled.mp4"),
                    {{"an", ""}, {"vcodec", "mpeg4"}, {"s", "640x480"}, {"vf", "scale=320:240"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=width,height -of csv=p=0 " +
                         Quoted(Temp.File("scaled.mp4"))),
              "320,240\n");

    // A filter that does not exist ends the job at its setup.
    Engine->ResetJob();
    ASSERT_TRUE(
        Run(In, Temp.File("none.avi"), {{"an", ""}, {"vcodec", "mpeg4"}, {"vf", "nosuchfilter"}}));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(Engine->FatalMessage(), "Error opening filters!");
    EXPECT_FALSE(FileExists(Temp.File("none.avi")));
}

// Two outputs of one picture stream, each with its own graph in its own
// pixel format: both mirrored.
TEST_F(ConvertTest, EachOutputHasItsOwnGraph) {
    const std::string In = Clip("ref320.mkv");
    ASSERT_TRUE(Engine->OpenInputFile(In));
    for (const auto& [Name, Codec, Format] : {std::tuple{"flip.avi", "mpeg4", "yuv420p"},
                                              std::tuple{"flip.nut", "rawvideo", "rgb24"}}) {
        Engine->ParseOption("an", "");
        Engine->ParseOption("vcodec", Codec);
        Engine->ParseOption("pix_fmt", Format);
        Engine->ParseOption("vf", "hflip");
        ASSERT_GT(Engine->OpenOutputFile(Temp.File(Name)), 0) << Engine->LastErrMsg();
    }
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=pix_fmt -of csv=p=0 " +
                         Quoted(Temp.File("flip.nut"))),
              "rgb24\n");
    // Each output's first picture lies far closer to the mirrored input than
    // to the input itself.
    const std::string Mirrored = Decoded(In, "-frames:v 1 -vf hflip -f rawvideo -pix_fmt gray");
    const std::string Plain = Decoded(In, "-frames:v 1 -f rawvideo -pix_fmt gray");
    for (const char* Name : {"flip.avi", "flip.nut"}) {
        const std::string Mine = Decoded(Temp.File(Name), "-frames:v 1 -f rawvideo -pix_fmt gray");
        EXPECT_LT(MeanDifference(Mine, Mirrored), 2.0) << Name;
        EXPECT_GT(MeanDifference(Mine, Plain), 20.0) << Name;
    }
}

// ---- Subtitles and jobs at the edges ----------------------------------------------

TEST_F(ConvertTest, SubtitlesToMovTextOrNone) {
    ASSERT_TRUE(
        Run(Clip("subs.mkv"), Temp.File("subs.mp4"), {{"vcodec", "copy"}, {"scodec", "mov_text"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffprobe -v error -select_streams s -show_entries "
                         "packet=pts_time,duration_time -of csv=p=0 " +
                         Quoted(Temp.File("subs.mp4"))),
              "0.000000,0.500000\n");
    EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " +
                         Quoted(Temp.File("subs.mp4"))),
              "mpeg4\nmov_text\n");

    Engine->ResetJob();
    ASSERT_TRUE(Run(Clip("subs.mkv"), Temp.File("nosubs.mkv"), {{"vcodec", "copy"}, {"sn", ""}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " +
                         Quoted(Temp.File("nosubs.mkv"))),
              "mpeg4\n");
}

TEST_F(ConvertTest, JobsAtTheEdges) {
    // Reordered pictures: the drain gives back every delayed one.
    ASSERT_TRUE(Run(Clip("h264aac.mkv"), Temp.File("b.mkv"), {{"an", ""}, {"vcodec", "mpeg4"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(RunCommand("ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of "
                         "csv=p=0 " +
                         Quoted(Temp.File("b.mkv"))),
              "50\n");

    // A start time with decoding: half a second shorter.
    Engine->ResetJob();
    ASSERT_TRUE(Run(Clip("src_hd.mp4"), Temp.File("whole.mp4"), {}));
    Engine->ResetJob();
    Engine->ParseOption("ss", "0.5");
    ASSERT_TRUE(Run(Clip("src_hd.mp4"), Temp.File("ss.mp4"), {}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_NEAR(Duration(Temp.File("ss.mp4")), Duration(Temp.File("whole.mp4")) - 0.5, 0.041);

    // Garbage in the middle of a stream: errors logged, the job goes on.
    Engine->ResetJob();
    // Every 37th byte of the middle fifth to three fifths of an MP4 (its
    // index is at the end, so the file still opens).
    const std::string Damaged = Temp.File("damaged.mp4");
    {
        std::string Bytes = RunCommand("cat " + Quoted(Clip("part1.mp4")));
        for (std::size_t I = Bytes.size() * 3 / 10; I < Bytes.size() * 6 / 10; I += 37)
            Bytes[I] = static_cast<char>(I * 7919 % 251);
        std::ofstream(Damaged, std::ios::binary) << Bytes;
    }
    ClearLog();
    ASSERT_TRUE(Run(Damaged, Temp.File("damaged.mkv"), {{"vcodec", "mpeg4"}, {"acodec", "mp2"}}));
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    int Errors = 0;
    for (const TLoggedLine& Line : Logged())
        Errors += Line.Level == llVerbose && Line.Msg.rfind("Error while decoding stream", 0) == 0;
    EXPECT_GT(Errors, 0);
    EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " +
                         Quoted(Temp.File("damaged.mkv"))),
              "mpeg4\nmp2\n");

    // x264 refuses odd sizes in 4:2:0.
    Engine->ResetJob();
    ASSERT_TRUE(Run(Clip("odd.mkv"), Temp.File("odd.mp4"), {{"vcodec", "libx264"}}));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(Engine->FatalMessage().rfind("Error while opening encoder for output stream #0.0 "
                                           "(Video) - maybe incorrect parameters",
                                           0),
              0u)
        << Engine->FatalMessage();
}

// Pass 1 writes the statistics that pass 2, given the same prefix, reads.
TEST_F(ConvertTest, TwoPassesShareTheirLogFile) {
    const std::string Prefix = Temp.File("passes");
    for (const char* Pass : {"1", "2"}) {
        SCOPED_TRACE(Pass);
        Engine->ResetJob();
        const std::string Out = Temp.File(std::string("pass") + Pass + ".mp4");
        ASSERT_TRUE(
            Run(Clip("src_hd.mp4"), Out,
                {{"vcodec", "mpeg4"}, {"vb", "400000"}, {"pass", Pass}, {"passlogfile", Prefix}}));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        EXPECT_EQ(RunCommand("ffprobe -v error -count_packets -select_streams v -show_entries "
                             "stream=codec_name,nb_read_packets -of csv=p=0 " +
                             Quoted(Out)),
                  "mpeg4,25\n");
        if (std::string(Pass) == "1") {
            EXPECT_GT(GetFileSizeByName(Prefix + "-0.log"), 0);
        }
    }
}

// A bitmap subtitle shown from 0.5 s to 3 s after its packet's time of 10 s:
// DVB writes it at 10.5 s and clears it with a second packet at 13 s. A
// subtitle without a time is refused.
TEST_F(ConvertTest, BitmapSubtitlesShowAndClearAtTheirTimes) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("subs.mkv"))) << Engine->LastErrMsg();
    Engine->ParseOption("vn", "");
    Engine->ParseOption("scodec", "dvbsub");
    const std::string Out = Temp.File("dvb.ts");
    ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
    Engine->SetupStreams();
    Engine->OpenEncoders();
    Engine->WriteHeaders();
    TAVOutputStream* Ost = Engine->Fost_table[0].get();
    TAVInputStream* Ist = Engine->Fist_table[Ost->source_index].get();
    AVFormatContext* Output = Engine->Foutput_files[0];

    const auto MakeSubtitle = [](AVSubtitle& ASub) {
        ASub = AVSubtitle{};
        ASub.start_display_time = 500;
        ASub.end_display_time = 3000;
        ASub.num_rects = 1;
        ASub.rects = static_cast<AVSubtitleRect**>(avutil::av_mallocz(sizeof(AVSubtitleRect*)));
        AVSubtitleRect* Rect =
            static_cast<AVSubtitleRect*>(avutil::av_mallocz(sizeof(AVSubtitleRect)));
        ASub.rects[0] = Rect;
        Rect->type = SUBTITLE_BITMAP;
        Rect->x = 8;
        Rect->y = 8;
        Rect->w = 64;
        Rect->h = 16;
        Rect->nb_colors = 4;
        Rect->linesize[0] = 64;
        Rect->data[0] = static_cast<std::uint8_t*>(avutil::av_mallocz(64 * 16));
        for (int I = 0; I < 64 * 16; ++I)
            Rect->data[0][I] = static_cast<std::uint8_t>(I / 64 % 4);
        Rect->data[1] = static_cast<std::uint8_t*>(avutil::av_mallocz(4 * 4));
        for (int I = 0; I < 4; ++I)
            reinterpret_cast<std::uint32_t*>(Rect->data[1])[I] = 0xFF000000u | (0x404040u * I);
    };
    const std::int64_t TenSeconds =
        avutil::av_rescale_q(10000000, MicrosecondsBase, Ist->st->time_base);

    // Without a time: logged, or raised with exit on error; nothing written.
    AVSubtitle Sub;
    MakeSubtitle(Sub);
    ClearLog();
    Engine->SubtitleOut(Output, Ost, AV_NOPTS_VALUE, &Sub, Ist);
    EXPECT_EQ(CountLogged(llError, "Subtitle packets must have a pts"), 1);
    Engine->Fexit_on_error = true;
    try {
        Engine->SubtitleOut(Output, Ost, AV_NOPTS_VALUE, &Sub, Ist);
        ADD_FAILURE() << "nothing raised";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Subtitle packets must have a pts");
    }
    Engine->Fexit_on_error = false;
    EXPECT_EQ(Ost->slot->LastPts, 0);

    Engine->SubtitleOut(Output, Ost, TenSeconds, &Sub, Ist);
    avcodec::avsubtitle_free(&Sub);
    ASSERT_GE(avformat::av_write_trailer(Output), 0);
    Engine->ReleaseTables();
    std::istringstream Times(RunCommand(
        "ffprobe -v error -select_streams s -show_entries packet=pts -of default=nw=1:nk=1 " +
        Quoted(Out)));
    std::int64_t First = 0;
    std::int64_t Second = 0;
    ASSERT_TRUE(Times >> First >> Second);
    // 10.5 s at 90 kHz, plus the transport stream muxer's start offset.
    EXPECT_GE(First, 945000);
    EXPECT_LE(First, 945000 + 126000);
    EXPECT_EQ(Second - First, 225000);
}

// A packet holding two sound frames: the warning never, once, or for every
// such packet as the verbosity says; the drain of a decoder at the end is
// no packet and never warns.
TEST_F(ConvertTest, MultipleFramesInAPacketAreReportedByVerbosity) {
    const std::string Mp2 = Temp.File("two.mp2");
    RunCommand("ffmpeg -nostdin -v error -f lavfi -i sine=sample_rate=48000:duration=0.2 -c:a mp2 "
               "-b:a 128k " +
               Quoted(Mp2));
    // 128 kbit/s at 48 kHz: frames of 384 bytes without padding.
    const std::string Bytes = RunCommand("cat " + Quoted(Mp2));
    ASSERT_GE(Bytes.size(), 6u * 384);
    for (const int Verbose : {0, 1, 2}) {
        SCOPED_TRACE(Verbose);
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Mp2)) << Engine->LastErrMsg();
        Engine->ParseOption("acodec", "pcm_s16le");
        ASSERT_EQ(Engine->OpenOutputFile(Temp.File("two.wav")), 1) << Engine->LastErrMsg();
        Engine->SetupStreams();
        Engine->OpenEncoders();
        Engine->OpenDecoders();
        Engine->WriteHeaders();
        Engine->InitInputClocks();
        Engine->Fverbose = Verbose;
        ClearLog();
        TAVInputStream* Ist = Engine->Fist_table[0].get();
        for (int I = 0; I < 3; ++I) {
            AVPacket* Packet = avcodec::av_packet_alloc();
            ASSERT_EQ(avcodec::av_new_packet(Packet, 2 * 384), 0);
            std::copy_n(Bytes.data() + I * 2 * 384, 2 * 384, Packet->data);
            Packet->pts = Packet->dts =
                avutil::av_rescale_q(I * 2 * 1152, {1, 48000}, Ist->st->time_base);
            EXPECT_EQ(Engine->DecodePacket(Ist, 0, Packet), 0);
            avcodec::av_packet_free(&Packet);
        }
        Engine->DecodePacket(Ist, 0, nullptr);
        EXPECT_EQ(CountLogged(llError, "Multiple frames in a packet from stream 0"),
                  Verbose == 0   ? 0
                  : Verbose == 1 ? 1
                                 : 3);
        Engine->ReleaseTables();
    }

    // The delayed pictures of a threaded H.264 decoder come out at the end
    // of the stream, many at once: that is no packet.
    Engine->ResetJob();
    ClearLog();
    ASSERT_TRUE(Run(Clip("h264aac.mkv"), Temp.File("b.mkv"), {{"an", ""}, {"vcodec", "mpeg4"}}));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_EQ(CountLogged(llError, "Multiple frames in a packet from stream 0"), 0);
}

// ---- Frame-rate synchronisation, picture by picture --------------------------------

namespace {

// Stops the job at the first packet the encoder returns, as a user's stop
// between two frames of one picture would.
class TStopAtFirstPacket : public TTestEngine {
public:
    using TCustomFFmpeg::FBroken;
    using TTestEngine::TTestEngine;

protected:
    void RunPostHooks(AVFrame*, AVCodecContext*) override { FBroken = true; }
};

} // namespace

// The sync stream's clock is set ahead of or behind the output's by a
// number of frames (vdelta) and one picture is given: it becomes that many
// frames. Halves round to even. An exact -0.6 is not reachable through a
// microsecond clock (0.376 s / 0.04 s is not 9.4 in binary), so the variable-rate
// threshold is tested just on either side of it.
TEST_F(ConvertTest, PicturesAreRepeatedOrDroppedByTheClocks) {
    const struct {
        int Method;
        double Delta;    // frames the input runs ahead of the output
        int Frames;      // frames encoded
        int Dups, Drops; // counted
        int MaxFrames;   // video frame limit, or 0 for none
        bool FollowsInput;
    } Rows[] = {
        {1, 2.4, 2, 1, 0, 0, false},  {1, 1.4, 1, 0, 0, 0, false},   {1, 2.5, 2, 1, 0, 0, false},
        {1, -1.2, 0, 0, 1, 0, false}, {2, -0.61, 0, 0, 1, 0, false}, {2, -0.59, 1, 0, 0, 0, false},
        {2, 0.7, 1, 0, 0, 0, true},   {0, 3.0, 1, 0, 0, 0, true},    {1, 3.0, 1, 2, 0, 100, false},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::to_string(Row.Method) + " " + std::to_string(Row.Delta));
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
        Engine->ParseOption("an", "");
        Engine->ParseOption("vcodec", "mpeg4");
        ASSERT_EQ(Engine->OpenOutputFile(Temp.File("sync.avi")), 1) << Engine->LastErrMsg();
        Engine->SetupStreams();
        Engine->OpenEncoders();
        Engine->WriteHeaders();
        Engine->Fvideo_sync_method = Row.Method;
        TAVOutputStream* Ost = Engine->Fost_table[0].get();
        Ost->sync_opts = 10;
        if (Row.MaxFrames) {
            Engine->Fmax_frames[AVMEDIA_TYPE_VIDEO] = Row.MaxFrames;
            Ost->frame_number = Row.MaxFrames - 1;
        }
        const int FramesBefore = Ost->frame_number;
        // 25 frames a second: one frame is 40000 microseconds.
        Ost->sync_ist->pts = static_cast<std::int64_t>(std::llround((10 + Row.Delta) * 40000));
        AVFrame* Picture = avutil::av_frame_alloc();
        Picture->format = AV_PIX_FMT_YUV420P;
        Picture->width = 320;
        Picture->height = 240;
        ASSERT_EQ(avutil::av_frame_get_buffer(Picture, 0), 0);
        Engine->VideoOut(Engine->Foutput_files[0], Ost, Ost->sync_ist, Picture);
        avutil::av_frame_free(&Picture);
        EXPECT_EQ(Ost->frame_number - FramesBefore, Row.Frames);
        EXPECT_EQ(Engine->Fnb_frames_dup, Row.Dups);
        EXPECT_EQ(Engine->Fnb_frames_drop, Row.Drops);
        if (Row.FollowsInput) {
            EXPECT_EQ(Ost->sync_opts, static_cast<std::int64_t>(std::lround(10 + Row.Delta)) + 1);
        }
        Engine->ReleaseTables();
    }
}

// A stop asked for while one picture is being repeated: no further copy.
TEST_F(ConvertTest, AStopEndsTheRepeatsOfAPicture) {
    TStopAtFirstPacket Stopper(4);
    Stopper.ResetJob();
    ASSERT_TRUE(Stopper.OpenInputFile(Clip("part1.mp4")));
    Stopper.ParseOption("an", "");
    Stopper.ParseOption("vcodec", "mpeg4");
    ASSERT_EQ(Stopper.OpenOutputFile(Temp.File("stop.avi")), 1) << Stopper.LastErrMsg();
    Stopper.SetPostHooks({phBitmap});
    Stopper.ApplyPendingPostHooks();
    Stopper.SetupStreams();
    Stopper.OpenEncoders();
    Stopper.WriteHeaders();
    Stopper.Fvideo_sync_method = 1;
    TAVOutputStream* Ost = Stopper.Fost_table[0].get();
    Ost->sync_ist->pts = 4 * 40000; // four frames ahead: three repeats
    AVFrame* Picture = avutil::av_frame_alloc();
    Picture->format = AV_PIX_FMT_YUV420P;
    Picture->width = 320;
    Picture->height = 240;
    ASSERT_EQ(avutil::av_frame_get_buffer(Picture, 0), 0);
    Stopper.VideoOut(Stopper.Foutput_files[0], Ost, Ost->sync_ist, Picture);
    avutil::av_frame_free(&Picture);
    EXPECT_EQ(Stopper.Fnb_frames_dup, 3);
    EXPECT_EQ(Ost->frame_number, 1);
    Stopper.ReleaseTables();
}

// Drift correction block by block: an input clock 60 samples ahead (above
// 50, below the threshold) is stretched by at most "async" samples through
// the resampler; a drift behind by more than the block holds drops the
// block whole. The resampler spreads each block's 20 samples over a second
// of output and every block asks again, so the sound runs 20/44100 faster
// for as long as the drift lasts: enough blocks show it in the count.
TEST_F(ConvertTest, DriftIsStretchedWithinItsLimitOrTheBlockDropped) {
    for (const bool Stretch : {true, false}) {
        SCOPED_TRACE(Stretch);
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("mono44.wav")));
        Engine->ParseOption("acodec", "pcm_s16le");
        Engine->ParseOption("async", "20");
        ASSERT_EQ(Engine->OpenOutputFile(Temp.File("drift.wav")), 1) << Engine->LastErrMsg();
        Engine->SetupStreams();
        Engine->OpenEncoders();
        Engine->WriteHeaders();
        Engine->Fverbose = 3;
        ClearLog();
        TAVOutputStream* Ost = Engine->Fost_table[0].get();
        TAVInputStream* Ist = Ost->sync_ist;
        Ist->is_start = 0;
        AVFrame* Block = avutil::av_frame_alloc();
        Block->format = AV_SAMPLE_FMT_S16;
        Block->sample_rate = 44100;
        Block->nb_samples = 1024;
        avutil::av_channel_layout_default(&Block->ch_layout, 1);
        ASSERT_EQ(avutil::av_frame_get_buffer(Block, 0), 0);
        std::fill_n(reinterpret_cast<std::int16_t*>(Block->data[0]), 1024, std::int16_t(1000));
        const int Blocks = Stretch ? 200 : 3;
        for (int I = 0; I < Blocks; ++I) {
            const std::int64_t Written = Ost->sync_opts + avutil::av_audio_fifo_size(Ost->fifo);
            const std::int64_t Ahead = Stretch ? 60 : -5000;
            Ist->pts = (Written + Ahead) * 1000000 / 44100;
            Engine->do_audio_out(Engine->Foutput_files[0], Ost, Ist, Block);
        }
        avutil::av_frame_free(&Block);
        int Compensations = 0;
        for (const TLoggedLine& Line : Logged())
            if (Line.Msg.rfind("compensating audio timestamp drift:", 0) == 0) {
                ++Compensations;
                EXPECT_NE(Line.Msg.find(" compensation:20 in:44100"), std::string::npos)
                    << Line.Msg;
            }
        const std::int64_t Output = Ost->sync_opts + avutil::av_audio_fifo_size(Ost->fifo);
        if (Stretch) {
            EXPECT_EQ(Compensations, Blocks);
            // 200 blocks of 1024 gain 92.9 samples, less what the resampler's
            // filter still holds (under 32); a compensation of 60 would gain
            // three times as many.
            const double Gained = static_cast<double>(Output - Blocks * 1024);
            EXPECT_GT(Gained, 92.9 - 32) << Output;
            EXPECT_LT(Gained, 93.0) << Output;
        } else {
            EXPECT_EQ(Compensations, 0);
            EXPECT_EQ(Engine->Faudio_size, 0);
            EXPECT_EQ(Ost->sync_opts + avutil::av_audio_fifo_size(Ost->fifo), 0);
        }
        Engine->ReleaseTables();
    }
}

// Pictures whose times jitter: to AVI at 25 a second (method 1) the gaps
// are filled with repeats; to Matroska, which takes variable rates (method
// 2), every picture is written once. Either way the frames written are the
// pictures plus repeats less drops.
TEST_F(ConvertTest, JitteredPicturesByTheMuxersRate) {
    const struct {
        const char* Out;
        TOptionList Options;
        bool Repeats;
    } Rows[] = {{"vfr.avi", {{"vcodec", "mpeg4"}, {"r", "25"}}, true},
                {"vfr.mkv", {{"vcodec", "mpeg4"}}, false}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Out);
        Engine->ResetJob();
        ASSERT_TRUE(Run(Clip("vfr.mkv"), Temp.File(Row.Out), Row.Options));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        const int Packets = std::atoi(RunCommand("ffprobe -v error -count_packets -show_entries "
                                                 "stream=nb_read_packets -of csv=p=0 " +
                                                 Quoted(Temp.File(Row.Out)))
                                          .c_str());
        EXPECT_EQ(Packets, 50 + Engine->Fnb_frames_dup - Engine->Fnb_frames_drop);
        EXPECT_EQ(Engine->Fnb_frames_dup > 0, Row.Repeats);
    }
}

// A change of sample format alone makes its converter once and keeps it.
TEST_F(ConvertTest, AFormatConverterIsMadeOnceForItsPair) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("mono44.wav")));
    Engine->ParseOption("acodec", "pcm_f32le");
    ASSERT_EQ(Engine->OpenOutputFile(Temp.File("f32.wav")), 1) << Engine->LastErrMsg();
    Engine->SetupStreams();
    Engine->OpenEncoders();
    Engine->WriteHeaders();
    TAVOutputStream* Ost = Engine->Fost_table[0].get();
    AVFrame* Block = avutil::av_frame_alloc();
    Block->format = AV_SAMPLE_FMT_S16;
    Block->sample_rate = 44100;
    Block->nb_samples = 1000;
    avutil::av_channel_layout_default(&Block->ch_layout, 1);
    ASSERT_EQ(avutil::av_frame_get_buffer(Block, 0), 0);
    SwrContext* First = nullptr;
    for (int I = 0; I < 2; ++I) {
        Ost->sync_ist->pts = I * 1000 * 1000000LL / 44100;
        Engine->do_audio_out(Engine->Foutput_files[0], Ost, Ost->sync_ist, Block);
        if (I == 0)
            First = Ost->resample;
    }
    avutil::av_frame_free(&Block);
    ASSERT_NE(First, nullptr);
    EXPECT_EQ(Ost->resample, First);
    EXPECT_EQ(Ost->audio_resample, 0);
    EXPECT_EQ(Ost->reformat_pair, AV_SAMPLE_FMT_S16 * 100 + AV_SAMPLE_FMT_FLT);
    Engine->ReleaseTables();
}
