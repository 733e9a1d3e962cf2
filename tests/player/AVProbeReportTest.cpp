#include "platform/core/Format.h"
#include "tests/player/ProbeTestSupport.h"

#include <cstdlib>
#include <sstream>

namespace {

// The report with the fixture folder replaced, as the golden files hold it.
std::string PortableReport(TAVProbe& AProbe) {
    std::string Text = AProbe.FileInfoText();
    const std::string Folder = OSTRELA_PROBE_MEDIA;
    const std::size_t At = Text.find(Folder);
    if (At != std::string::npos)
        Text.replace(At, Folder.size(), "<media>");
    return Text;
}

std::vector<std::string> ReportLines(const std::string& AText) {
    std::vector<std::string> Lines;
    std::size_t Start = 0, End;
    while ((End = AText.find("\r\n", Start)) != std::string::npos) {
        Lines.push_back(AText.substr(Start, End - Start));
        Start = End + 2;
    }
    EXPECT_EQ(Start, AText.size()) << "text after the last CR LF";
    return Lines;
}

bool HasLine(const std::vector<std::string>& ALines, const std::string& ALine) {
    return std::find(ALines.begin(), ALines.end(), ALine) != ALines.end();
}

} // namespace

// Regenerate on purpose only: tests/player/regenerate_golden.sh.
TEST_F(ProbeTest, ReportsEqualTheGoldenFiles) {
    const bool Write = std::getenv("OSTRELA_WRITE_GOLDEN") != nullptr;
    for (const char* File : {"av.mp4", "av.mkv", "audio.mp3", "programs.ts"}) {
        SCOPED_TRACE(File);
        Load(File);
        const std::string Text = PortableReport(*Probe);
        const std::string Golden = std::string(OSTRELA_PROBE_GOLDEN) + "/" + File + ".txt";
        if (Write)
            WriteFile(Golden, Text);
        EXPECT_EQ(Text, ReadFile(Golden));
        ReportLines(Text);
    }
    EXPECT_TRUE(Logged.empty());
}

TEST_F(ProbeTest, ReportOfAFileWithoutProgramsListsStreamsInOrder) {
    Load("av.mp4");
    const std::vector<std::string> Lines = ReportLines(Probe->FileInfoText());
    ASSERT_GE(Lines.size(), 5u);
    EXPECT_EQ(Lines[0], "File Name: " + Media("av.mp4"));
    EXPECT_EQ(Lines[1], "Format Name: mov,mp4,m4a,3gp,3g2,mj2");
    EXPECT_EQ(Lines[4], "Duration: 00:00:02.000");
    std::vector<std::string> Streams;
    for (const std::string& Line : Lines)
        if (Line.starts_with("Stream #"))
            Streams.push_back(Line);
    ASSERT_EQ(Streams.size(), 2u);
    EXPECT_TRUE(Streams[0].starts_with("Stream #0[0x1](und), 1/12800: Video: mpeg4"));
    EXPECT_NE(Streams[0].find(", 25 fps, 25 tbr, 12800 tbn, StartTime: 0.000000"),
              std::string::npos);
    // An unopened codec context has no time base of its own.
    EXPECT_EQ(Streams[0].find("tbc"), std::string::npos);
    EXPECT_TRUE(Streams[1].starts_with("Stream #1[0x2](und), 1/44100: Audio: aac"));
    EXPECT_EQ(Streams[1].find("fps"), std::string::npos);
}

TEST_F(ProbeTest, ReportShowsStreamsUnderTheirProgramsOnce) {
    Load("programs.ts");
    const std::vector<std::string> Lines = ReportLines(Probe->FileInfoText());
    std::vector<std::string> Heads;
    for (const std::string& Line : Lines)
        if (Line.starts_with("Program ") || Line.starts_with("Stream #"))
            Heads.push_back(Line.substr(0, Line.find(',')));
    EXPECT_EQ(Heads, (std::vector<std::string>{"Program 1 FFmpeg@One", "Stream #0[0x100]",
                                               "Stream #1[0x101]", "Program 2 FFmpeg@Two",
                                               "Stream #2[0x102]"}));
    EXPECT_TRUE(HasLine(Lines, "StartTime: 1.429089"));
}

TEST_F(ProbeTest, ReportShowsID3FramesUnderTheirGenericNames) {
    Load("av.mkv");
    const std::vector<std::string> Lines = ReportLines(Probe->FileInfoText());
    EXPECT_TRUE(HasLine(Lines, "  title           : Raw key"));
    EXPECT_TRUE(HasLine(Lines, "  COMMENT         : Fixture"));
    // Languages stand in the stream lines, never among the tags.
    int Streams = 0;
    for (const std::string& Line : Lines) {
        Streams += Line.starts_with("Stream #0(eng), 1/1000: Video") ||
                   Line.starts_with("Stream #1(chi), 1/1000: Audio");
        EXPECT_EQ(Line.find("language"), std::string::npos) << Line;
    }
    EXPECT_EQ(Streams, 2);
}

TEST_F(ProbeTest, ReportOfSyntheticStreams) {
    TSyntheticInput Input;
    AVStream* Video = Input.AddVideo(320, 240);
    Video->avg_frame_rate = Video->r_frame_rate = {24000, 1001};
    Video->time_base = {1, 90000};
    Video->sample_aspect_ratio = {2, 1};
    Video->start_time = -9000;
    Video->duration = 180000;
    TSyntheticInput::SetTag(&Video->metadata, "language", "fre");
    AVStream* OnlyLanguage = Input.AddAudio();
    TSyntheticInput::SetTag(&OnlyLanguage->metadata, "language", "eng");
    AVStream* Tagged = Input.AddAudio();
    TSyntheticInput::SetTag(&Tagged->metadata, "language", "eng");
    TSyntheticInput::SetTag(&Tagged->metadata, "artist", "Somebody");
    Input.Context()->start_time = -5;
    Input.Context()->bit_rate = 0;
    Probe->SetFileHandle(Input.Context());

    const std::vector<std::string> Lines = ReportLines(Probe->FileInfoText());
    EXPECT_EQ(Lines,
              (std::vector<std::string>{
                  "File Name: ",
                  "Format Name: ",
                  "Format Long Name: ",
                  "File Size: -1 Byte",
                  "Duration: N/A",
                  "Bit Rate: N/A",
                  "Stream #0(fre), 1/90000: Video: mpeg4, yuv420p, 320x240 [SAR 1:1 DAR "
                  "4:3], PAR 2:1 DAR 8:3, 23.98 fps, 23.98 tbr, 90k tbn, StartTime: "
                  "-0.100000, Duration: 00:00:02.000",
                  "Stream #1(eng), 1/44100: Audio: mp2, 44100 Hz, stereo, s16, Duration: N/A",
                  "Stream #2(eng), 1/44100: Audio: mp2, 44100 Hz, stereo, s16, Duration: N/A",
                  "  Metadata:",
                  "    artist          : Somebody",
              }));
    Probe->CloseFile();
}

// A damaged file can give a stream a start time that has no value in
// microseconds: the report leaves it out, as an unknown one, and goes on.
TEST_F(ProbeTest, ReportLeavesOutAStartTimeBeyondMicroseconds) {
    TSyntheticInput Input;
    for (const std::int64_t Start : {INT64_MAX / 10, -(INT64_MAX / 10)}) {
        AVStream* Video = Input.AddVideo(320, 240);
        Video->time_base = {1, 1};
        Video->avg_frame_rate = Video->r_frame_rate = {0, 0};
        Video->start_time = Start;
        Video->duration = 2;
    }
    Probe->SetFileHandle(Input.Context());

    const std::vector<std::string> Lines = ReportLines(Probe->FileInfoText());
    ASSERT_EQ(Lines.size(), 8u);
    for (int I = 0; I < 2; ++I)
        EXPECT_EQ(Lines[6 + I], Format("Stream #%d, 1/1: Video: mpeg4, yuv420p, 320x240 [SAR 1:1 "
                                       "DAR 4:3], 1 tbn, Duration: 00:00:02.000",
                                       {I}));
    Probe->CloseFile();
}

TEST_F(ProbeTest, ReportWithoutAFileIsEmpty) {
    EXPECT_EQ(Probe->FileInfoText(), "");
    EXPECT_EQ(Logged, (std::vector<TLogLine>{{llWarning, "file not loaded."}}));
}
