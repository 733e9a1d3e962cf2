// Files whose streams change mid-way, outputs that copy a stream another
// output decodes, and the frames at the end of an output: each job is set
// against the ffmpeg command's conversion of the same input with the same
// options.
#include "media/FFmpeg.h"
#include "tests/media/FFmpegTestEngine.h"

#include <cmath>
#include <sstream>

namespace {

using TOptionList = std::vector<std::pair<std::string, std::string>>;

struct TChangeRow {
    const char* Name;
    const char* In;
    const char* Out;
    // Set before the output is created, and after it (new streams).
    TOptionList Options;
    TOptionList After;
    const char* Command;
    // One frame of the output's longest frames, in seconds.
    double Frame;
};

void PrintTo(const TChangeRow& ARow, std::ostream* AOut) {
    *AOut << ARow.Name;
}

// What is compared, per stream: its kind and shape, and how many frames a
// decoder gets from it; for the file its duration.
struct TOutputFacts {
    std::vector<std::string> Streams;
    std::vector<int> Frames;
    double Duration = 0;
};

class ChangingStreamsTest : public EngineTest, public testing::WithParamInterface<TChangeRow> {
protected:
    static std::vector<std::string> Fields(const std::string& ALine) {
        std::vector<std::string> Result;
        std::istringstream In(ALine);
        for (std::string Field; std::getline(In, Field, ',');)
            Result.push_back(Field);
        return Result;
    }

    static TOutputFacts Facts(const std::string& AFile) {
        TOutputFacts Facts;
        std::istringstream In(RunCommand(
            "ffprobe -v error -count_frames -show_entries "
            "stream=codec_type,codec_name,channels,sample_rate,width,height,r_frame_rate,"
            "avg_frame_rate,nb_read_frames -of csv=p=0 " +
            Quoted(AFile)));
        for (std::string Line; std::getline(In, Line);) {
            if (Line.empty())
                continue;
            // The frame count is the last field.
            const std::size_t Comma = Line.rfind(',');
            Facts.Streams.push_back(Line.substr(0, Comma));
            Facts.Frames.push_back(std::atoi(Line.c_str() + Comma + 1));
        }
        Facts.Duration =
            std::atof(RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                 Quoted(AFile))
                          .c_str());
        return Facts;
    }
};

} // namespace

TEST_P(ChangingStreamsTest, MatchesTheCommand) {
    const TChangeRow& Row = GetParam();
    const std::string In = Clip(Row.In);
    const std::string Out = Temp.File(Row.Out);
    const std::string Ref = Temp.File(std::string("ref.") + Row.Out);
    ASSERT_TRUE(Engine->OpenInputFile(In)) << Engine->LastErrMsg();
    for (const auto& [Name, Value] : Row.Options)
        Engine->ParseOption(Name, Value);
    ASSERT_EQ(Engine->OpenOutputFile(Out), 1) << Engine->LastErrMsg();
    for (const auto& [Name, Value] : Row.After)
        Engine->ParseOption(Name, Value);
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    RunCommand("ffmpeg -nostdin -v error -y -i " + Quoted(In) + " " + Row.Command + " " +
               Quoted(Ref));

    const TOutputFacts Got = Facts(Out);
    const TOutputFacts Want = Facts(Ref);
    EXPECT_EQ(Got.Streams, Want.Streams);
    EXPECT_EQ(Got.Frames, Want.Frames);
    EXPECT_NEAR(Got.Duration, Want.Duration, Row.Frame);
    // Every output decodes without a complaint.
    EXPECT_EQ(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(Out) + " -f null - 2>&1"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ChangingStreamsTest,
    testing::Values(
        // Sound whose layout or rate changes: the output keeps its own.
        TChangeRow{"SurroundToStereo",
                   "chswitch.ts",
                   "a.m4a",
                   {{"acodec", "aac"}},
                   {},
                   "-c:a aac",
                   1024.0 / 48000},
        TChangeRow{"StereoToSurround",
                   "st51.ts",
                   "b.m4a",
                   {{"acodec", "aac"}},
                   {},
                   "-c:a aac",
                   1024.0 / 48000},
        TChangeRow{"SampleRate",
                   "rateswitch.ts",
                   "c.m4a",
                   {{"acodec", "aac"}},
                   {},
                   "-c:a aac",
                   // The parts overlap by 16 ms, which the output keeps.
                   2 * 1024.0 / 48000},
        // Pictures that shrink: rescaled to the size the output was made with.
        TChangeRow{"PictureSize",
                   "size_change.ts",
                   "d.avi",
                   {{"vcodec", "mpeg4"}},
                   {},
                   "-c:v mpeg4",
                   0.04},
        // One sound stream copied into one output stream and encoded into another.
        TChangeRow{"CopiedAndDecoded",
                   "part1.mp4",
                   "e.mkv",
                   {{"vcodec", "mpeg4"}, {"acodec", "mp2"}},
                   {{"acodec", "copy"}, {"newaudio", "1"}},
                   "-map 0:v -map 0:a -map 0:a -c:v mpeg4 -c:a:0 mp2 -c:a:1 copy",
                   0.04},
        // The last frame of constant-rate outputs.
        TChangeRow{"SameRateMp4",
                   "clip3s.mp4",
                   "f.mp4",
                   {{"vcodec", "mpeg4"}, {"r", "25"}, {"acodec", "aac"}},
                   {},
                   "-c:v mpeg4 -r 25 -c:a aac",
                   0.04},
        TChangeRow{"FasterRateMp4",
                   "clip3s.mp4",
                   "g.mp4",
                   {{"vcodec", "mpeg4"}, {"r", "30000/1001"}, {"acodec", "aac"}},
                   {},
                   "-c:v mpeg4 -r 30000/1001 -c:a aac",
                   1001.0 / 30000},
        TChangeRow{"Matroska",
                   "clip3s.mp4",
                   "h.mkv",
                   {{"vcodec", "mpeg4"}, {"acodec", "aac"}},
                   {},
                   "-c:v mpeg4 -c:a aac",
                   0.04}),
    [](const testing::TestParamInfo<TChangeRow>& AInfo) { return AInfo.param.Name; });
