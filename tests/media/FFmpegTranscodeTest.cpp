// Running jobs that copy streams: the outputs are probed with ffprobe and
// their packets compared with the ffmpeg command's own remux of the same
// input; limits, joins, stops, failures and what is left on disk.
#include "media/FFmpeg.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "tests/media/FFmpegTestEngine.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using TOptions = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> Lines(const std::string& AText) {
    std::vector<std::string> Result;
    std::istringstream In(AText);
    for (std::string Line; std::getline(In, Line);)
        if (!Line.empty())
            Result.push_back(Line);
    return Result;
}

std::string ReadBytes(const std::string& AName) {
    std::ifstream In(AName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

bool StartsWith(const std::string& AText, const std::string& APrefix) {
    return AText.compare(0, APrefix.size(), APrefix) == 0;
}

class TranscodeTest : public EngineTest {
protected:
    // Opens the input and the output with their options and runs the job
    // inline; false when a file could not be opened.
    bool Convert(const std::string& AIn, const std::string& AOut, const TOptions& AOutOptions,
                 const TOptions& AInOptions = {}) {
        for (const auto& [Name, Value] : AInOptions)
            Engine->ParseOption(Name, Value);
        if (!Engine->OpenInputFile(AIn)) {
            ADD_FAILURE() << Engine->LastErrMsg();
            return false;
        }
        for (const auto& [Name, Value] : AOutOptions)
            Engine->ParseOption(Name, Value);
        if (Engine->OpenOutputFile(AOut) < 0) {
            ADD_FAILURE() << Engine->LastErrMsg();
            return false;
        }
        Engine->StartConvert(false);
        return true;
    }

    static TOptions Copy(TOptions AMore = {}) {
        TOptions Result = {{"vcodec", "copy"}, {"acodec", "copy"}};
        Result.insert(Result.end(), AMore.begin(), AMore.end());
        return Result;
    }

    // "index,codec,type,width,height,sample_rate,channels,packets" per
    // stream; a transport stream lists its streams once more in its program.
    static std::vector<std::string> Layout(const std::string& AFile) {
        return Unique(Lines(RunCommand(
            "ffprobe -v error -count_packets -show_entries "
            "stream=index,codec_type,codec_name,width,height,sample_rate,channels,nb_read_packets "
            "-of csv=p=0 " +
            Quoted(AFile))));
    }

    static std::vector<std::string> Unique(const std::vector<std::string>& ALines) {
        std::vector<std::string> Result;
        for (const std::string& Line : ALines)
            if (std::find(Result.begin(), Result.end(), Line) == Result.end())
                Result.push_back(Line);
        return Result;
    }

    static double Duration(const std::string& AFile) {
        return std::atof(RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                    Quoted(AFile))
                             .c_str());
    }

    // Per stream, the size and checksum of every packet, in order.
    static std::map<int, std::vector<std::string>> PacketSums(const std::string& AFile) {
        std::map<int, std::vector<std::string>> Result;
        for (const std::string& Line :
             Lines(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(AFile) +
                              " -map 0 -c copy -f framecrc -"))) {
            if (Line[0] == '#')
                continue;
            std::vector<std::string> Fields;
            std::istringstream In(Line);
            for (std::string Field; std::getline(In, Field, ',');)
                Fields.push_back(Field);
            if (Fields.size() >= 6)
                Result[std::atoi(Fields[0].c_str())].push_back(Fields[4] + Fields[5]);
        }
        return Result;
    }

    // "K" or "_" per packet of the first video stream, and its times.
    static std::vector<std::string> VideoPackets(const std::string& AFile) {
        return Lines(RunCommand("ffprobe -v error -select_streams v:0 -show_entries "
                                "packet=dts_time,flags -of csv=p=0 " +
                                Quoted(AFile)));
    }
};

} // namespace

// ---- Remuxing ---------------------------------------------------------------------

struct TRemuxRow {
    const char* In;
    const char* Out;
};

class RemuxTest : public TranscodeTest, public testing::WithParamInterface<TRemuxRow> {};

// The engine's remux holds what the command's own remux holds: the same
// streams and, stream by stream, the same packets.
TEST_P(RemuxTest, MatchesTheCommand) {
    const TRemuxRow& Row = GetParam();
    const std::string In = Clip(Row.In);
    const std::string Out = Temp.File(Row.Out);
    const std::string Reference = Temp.File(std::string("ref.") + Row.Out);
    ASSERT_TRUE(Convert(In, Out, Copy()));
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    RunCommand("ffmpeg -nostdin -v error -y -i " + Quoted(In) + " -map 0 -c copy " +
               Quoted(Reference));
    const auto Streams = Layout(Out);
    EXPECT_EQ(Streams, Layout(Reference));
    EXPECT_EQ(Streams.size(), 2u);
    EXPECT_EQ(PacketSums(Out), PacketSums(Reference));
    EXPECT_NEAR(Duration(Out), Duration(In), 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RemuxTest,
    testing::Values(TRemuxRow{"h264aac.mkv", "x.mp4"}, TRemuxRow{"part1.mp4", "x.mkv"},
                    TRemuxRow{"part1.mp4", "x.avi"}, TRemuxRow{"h264aac.mkv", "x.ts"},
                    TRemuxRow{"测试 片段.mkv", "输出 片段.mp4"}),
    [](const testing::TestParamInfo<TRemuxRow>& AInfo) {
        return std::to_string(AInfo.index) + "_" +
               TestNamePart(std::string(AInfo.param.In) + "_" + AInfo.param.Out);
    });

TEST_F(TranscodeTest, TimeStampJumpsAreSmoothedOut) {
    Engine->Fdts_delta_threshold = 10;
    ASSERT_TRUE(Convert(Clip("jump.ts"), Temp.File("x.mp4"), Copy()));
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_NEAR(Duration(Temp.File("x.mp4")), 4.0, 0.2);
}

TEST_F(TranscodeTest, CopiedVideoStartsAtAKeyFrame) {
    ASSERT_TRUE(Convert(Clip("nokey.ts"), Temp.File("key.mkv"), Copy()));
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    auto Packets = VideoPackets(Temp.File("key.mkv"));
    ASSERT_FALSE(Packets.empty());
    EXPECT_NE(Packets[0].find('K'), std::string::npos) << Packets[0];

    Engine->ResetJob();
    ASSERT_TRUE(Convert(Clip("nokey.ts"), Temp.File("any.mkv"), Copy({{"copyinkf", "1"}})));
    Packets = VideoPackets(Temp.File("any.mkv"));
    ASSERT_FALSE(Packets.empty());
    EXPECT_EQ(Packets[0].find('K'), std::string::npos) << Packets[0];
}

TEST_F(TranscodeTest, BitstreamFilters) {
    const std::string Raw = Temp.File("x.h264");
    ASSERT_TRUE(
        Convert(Clip("h264aac.mkv"), Raw, Copy({{"an", ""}, {"vbsf", "h264_mp4toannexb"}})));
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const std::string Bytes = ReadBytes(Raw);
    EXPECT_EQ(Bytes.substr(0, 4), std::string("\0\0\0\1", 4));
    EXPECT_EQ(Layout(Raw), (std::vector<std::string>{"0,h264,video,320,240,50"}));

    // The filter refuses the codec at its start: the job ends at setup.
    Engine->ResetJob();
    const std::string Refused = Temp.File("refused.mkv");
    ASSERT_TRUE(
        Convert(Clip("part1.mp4"), Refused, Copy({{"an", ""}, {"vbsf", "h264_mp4toannexb"}})));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_TRUE(StartsWith(Engine->FatalMessage(), "h264_mp4toannexb: ")) << Engine->FatalMessage();
    EXPECT_FALSE(FileExists(Refused));
}

// A packet the filter cannot read is logged and written as it was; with
// exit on error the same text ends the job.
TEST_F(TranscodeTest, AFailingFilterPassesThePacketOn) {
    for (const bool ExitOnError : {false, true}) {
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("h264aac.mkv")));
        Engine->ParseOption("an", "");
        Engine->ParseOption("vcodec", "copy");
        Engine->ParseOption("vbsf", "h264_mp4toannexb");
        ASSERT_EQ(Engine->OpenOutputFile(Temp.File("bad.mkv")), 1);
        Engine->Fexit_on_error = ExitOnError;
        Engine->SetupStreams();
        Engine->InitBitstreamFilters();
        Engine->WriteHeaders();
        ClearLog();
        AVPacket* Packet = avcodec::av_packet_alloc();
        ASSERT_EQ(avcodec::av_new_packet(Packet, 8), 0);
        const unsigned char Bytes[8] = {0, 0, 0, 16, 0x65, 1, 2, 3};
        std::copy(std::begin(Bytes), std::end(Bytes), Packet->data);
        Packet->pts = Packet->dts = 0;
        Packet->flags = AV_PKT_FLAG_KEY;
        AVFormatContext* Output = Engine->Foutput_files[0];
        TAVOutputSlot* Slot = Engine->OutputSlot(Output, 0);
        const std::string Expected =
            "h264_mp4toannexb failed for stream 0, codec copy: Invalid data found when "
            "processing input";
        if (ExitOnError) {
            try {
                Engine->WritePacket(Output, Packet, Slot, Slot->Codec);
                ADD_FAILURE() << "nothing raised";
            } catch (const Exception& E) {
                EXPECT_EQ(E.Message(), Expected);
            }
        } else {
            Engine->WritePacket(Output, Packet, Slot, Slot->Codec);
            EXPECT_EQ(CountLogged(llError, Expected), 1);
            EXPECT_GT(Slot->LastPts, 0);
        }
        avcodec::av_packet_free(&Packet);
        Engine->ReleaseTables();
    }
}

// ---- Limits, joins, stops ------------------------------------------------------------

TEST_F(TranscodeTest, LimitsEndTheJob) {
    const std::string Input = Clip("long.mkv");
    const std::int64_t InputSize = GetFileSizeByName(Input);

    ASSERT_TRUE(Convert(Input, Temp.File("fs.mkv"), Copy({{"fs", "100000"}})));
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const std::int64_t Size = GetFileSizeByName(Temp.File("fs.mkv"));
    EXPECT_GT(Size, 100000);
    EXPECT_LT(Size, InputSize / 2);
    EXPECT_EQ(Layout(Temp.File("fs.mkv")).size(), 2u);

    Engine->ResetJob();
    ASSERT_TRUE(Convert(Input, Temp.File("frames.mkv"), Copy({{"vframes", "10"}})));
    EXPECT_TRUE(Engine->Finished());
    EXPECT_EQ(VideoPackets(Temp.File("frames.mkv")).size(), 10u);

    Engine->ResetJob();
    ASSERT_TRUE(Convert(Input, Temp.File("t.mkv"), Copy({{"t", "3"}})));
    EXPECT_TRUE(Engine->Finished());
    EXPECT_LE(Duration(Temp.File("t.mkv")), 3.05);
    EXPECT_GE(Duration(Temp.File("t.mkv")), 2.9);
}

TEST_F(TranscodeTest, JoinedInputsContinueEachOther) {
    for (const char* Name : {"part1.mp4", "part2.mp4"})
        ASSERT_TRUE(Engine->OpenInputFile(Clip(Name)));
    Engine->ParseOption("vcodec", "copy");
    Engine->ParseOption("acodec", "copy");
    const std::string Out = Temp.File("joined.mkv");
    ASSERT_EQ(Engine->OpenOutputFile(Out, true), 2);
    std::vector<int> FrameNumbers;
    Engine->ReportInterval = 0;
    Engine->OnReport = [&](int) {
        if (Engine->Fost_table.size() == 4)
            FrameNumbers.push_back(Engine->Fost_table[2]->frame_number);
    };
    Engine->StartConvert(false);
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    EXPECT_NEAR(Duration(Out), 2.0, 0.1);
    const auto Packets = VideoPackets(Out);
    EXPECT_EQ(Packets.size(), 50u);
    double Last = -1;
    for (const std::string& Line : Packets) {
        const double Time = std::atof(Line.c_str());
        EXPECT_GT(Time, Last) << Line;
        Last = Time;
    }
    // The second segment's record counts on from the first's 25 frames.
    ASSERT_FALSE(FrameNumbers.empty());
    EXPECT_EQ(FrameNumbers.back(), 50);
}

namespace {

// Counts the engine's terminations and opens when the first arrives.
struct TTerminations {
    std::atomic<int> Count{0};
    TEvent Ended{true, false};
    void OnTerminate(TObject*) {
        ++Count;
        Ended.SetEvent();
    }
};

} // namespace

TEST_F(TranscodeTest, AStoppedJobLeavesAValidShorterFile) {
    for (const char* Name : {"stop.mp4", "stop.mkv", "paused.mp4"}) {
        SCOPED_TRACE(Name);
        Engine->ResetJob();
        Engine->Reports = 0;
        TTerminations Terminations;
        Engine->SetOnTerminate([&](TObject* S) { Terminations.OnTerminate(S); });
        ASSERT_TRUE(Engine->OpenInputFile(Clip("long.mkv")));
        Engine->ParseOption("vcodec", "copy");
        Engine->ParseOption("acodec", "copy");
        const std::string Out = Temp.File(Name);
        ASSERT_EQ(Engine->OpenOutputFile(Out), 1);
        Engine->ReportInterval = 0;
        const bool Pause = std::string(Name) == "paused.mp4";
        double TimeAtStop = 0;
        TEvent AtReport(true, false);
        TEvent Continue(true, false);
        Engine->OnReport = [&](int ACount) {
            if (ACount != 5)
                return;
            const TAVOutputStream& Ost = *Engine->Fost_table[0];
            TimeAtStop = static_cast<double>(Ost.slot->LastPts) * av_q2d(Ost.st->time_base);
            if (!Pause) {
                Engine->Stop(false);
                return;
            }
            AtReport.SetEvent();
            Continue.WaitFor(10000);
        };
        TThread* Worker = Engine->StartConvert(true);
        ASSERT_NE(Worker, nullptr);
        Worker->Start();
        if (Pause) {
            ASSERT_EQ(AtReport.WaitFor(10000), wrSignaled);
            Engine->Pause();
            Continue.SetEvent();
            while (!Engine->Parked())
                Sleep(1);
            Engine->Stop(true);
        }
        ASSERT_EQ(Terminations.Ended.WaitFor(20000), wrSignaled);
        Engine->Stop(true);
        EXPECT_FALSE(Engine->Finished());
        EXPECT_FALSE(Engine->FatalException()) << Engine->FatalMessage();
        EXPECT_EQ(Terminations.Count, 1);
        const double Length = Duration(Out);
        EXPECT_LT(Length, Duration(Clip("long.mkv")));
        EXPECT_GE(Length + 0.05, TimeAtStop);
        EXPECT_EQ(Layout(Out).size(), 2u);
    }
}

// ---- Failures and what they leave -------------------------------------------------------

TEST_F(TranscodeTest, ARefusedWriteKeepsWhatWasWritten) {
    const std::string Out = Temp.File("back.mp4");
    ASSERT_TRUE(Convert(Clip("jumpback.ts"), Out, Copy({{"copyts", ""}})));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_TRUE(StartsWith(Engine->FatalMessage(), "av_interleaved_write_frame(): "))
        << Engine->FatalMessage();
    ASSERT_TRUE(FileExists(Out));
    const auto Streams = Layout(Out);
    ASSERT_EQ(Streams.size(), 2u);
    // Only the first half (2 s of 25 pictures a second) made it.
    const auto Video = VideoPackets(Out);
    EXPECT_GT(Video.size(), 0u);
    EXPECT_LE(Video.size(), 50u);
    // Those packets are the input's first ones, byte for byte.
    const auto Written = PacketSums(Out);
    const auto Source = PacketSums(Clip("jumpback.ts"));
    for (const auto& [Stream, Sums] : Written) {
        ASSERT_TRUE(Source.count(Stream)) << Stream;
        ASSERT_LE(Sums.size(), Source.at(Stream).size()) << Stream;
        EXPECT_TRUE(std::equal(Sums.begin(), Sums.end(), Source.at(Stream).begin())) << Stream;
    }
}

TEST_F(TranscodeTest, AFailureAfterTheHeaderStillWritesTheTrailer) {
    Engine->ReportInterval = 0;
    Engine->OnReport = [](int ACount) {
        if (ACount == 5)
            throw FFmpegException("raised at the fifth report");
    };
    const std::string Out = Temp.File("failed.mp4");
    ASSERT_TRUE(Convert(Clip("long.mkv"), Out, Copy()));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(Engine->FatalMessage(), "raised at the fifth report");
    ASSERT_TRUE(FileExists(Out));
    EXPECT_EQ(Layout(Out).size(), 2u);
    EXPECT_GT(VideoPackets(Out).size(), 0u);
}

// An output known to be incomplete goes; nothing else does.
TEST_F(TranscodeTest, IncompleteOutputsAreRemoved) {
    std::ofstream(Temp.File("neighbour.txt")) << "stays";
    for (const bool WithStop : {false, true}) {
        Engine->ResetJob();
        Engine->Reports = 0;
        Engine->ReportInterval = 0;
        Engine->OnReport = [&](int ACount) {
            if (ACount != 5)
                return;
            Engine->Foutput_files[0]->pb->error = AVERROR(ENOSPC);
            if (WithStop)
                Engine->Stop(false);
        };
        const std::string Out = Temp.File("full.mp4");
        ClearLog();
        ASSERT_TRUE(Convert(Clip("long.mkv"), Out, Copy()));
        EXPECT_TRUE(Engine->FatalException()) << WithStop;
        EXPECT_FALSE(FileExists(Out));
        EXPECT_EQ(CountLogged(llInfo, "Removed the incomplete output file " + Out), 1);
    }
    Engine->ResetJob();
    Engine->OnReport = nullptr;
    const std::string Wav = Temp.File("pcm.mp4");
    ASSERT_TRUE(Convert(Clip("pcm.wav"), Wav, Copy()));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(Engine->FatalMessage(),
              "Could not write header for output file #0 (incorrect codec parameters ?)");
    EXPECT_FALSE(FileExists(Wav));
    EXPECT_TRUE(FileExists(Temp.File("neighbour.txt")));

    // A pipe named as the output of a muxer without a file stays.
    Engine->ResetJob();
    const std::string Pipe = Temp.File("pipe");
    ASSERT_EQ(mkfifo(Pipe.c_str(), 0600), 0);
    ASSERT_TRUE(Convert(Clip("part1.mp4"), Pipe, Copy({{"f", "null"}})));
    EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    struct stat Info {};
    EXPECT_EQ(lstat(Pipe.c_str(), &Info), 0);
}

// ---- Setup -------------------------------------------------------------------------------

TEST_F(TranscodeTest, SetupFailures) {
    const struct {
        const char* In;
        const char* Out;
        TOptions Options;
        const char* Error;
    } Rows[] = {
        {"part1.mp4", "x.mkv", Copy({{"map", "0:0"}, {"map", "0:1"}, {"map", "0:1"}}),
         "Number of stream maps must match number of output streams"},
        {"part1.mp4", "x.mkv", Copy({{"map", "0:0"}, {"map", "0:5"}}),
         "Could not find input stream #0.5"},
        {"part1.mp4", "x.mkv", Copy({{"map", "0:1"}, {"map", "0:0"}}),
         "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)"},
        {"part1.mp4", "x.mkv", Copy({{"vol", "512"}}),
         "-acodec copy and -vol are incompatible (frames are not decoded)"},
        {"part1.mp4",
         "x.amr",
         {},
         "Encoder (codec id 73728) not found for output stream #0.0 (Audio)"},
        {"pcm.wav", "x.mp4", Copy(),
         "Could not write header for output file #0 (incorrect codec parameters ?)"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Error);
        Engine->ResetJob();
        ASSERT_TRUE(Convert(Clip(Row.In), Temp.File(Row.Out), Row.Options));
        EXPECT_TRUE(Engine->FatalException());
        EXPECT_EQ(Engine->FatalMessage(), Row.Error);
        EXPECT_EQ(Engine->FEncoderList, nullptr);
        EXPECT_EQ(Engine->FDecoderList, nullptr);
        EXPECT_FALSE(FileExists(Temp.File(Row.Out)));
    }
}

TEST_F(TranscodeTest, AutomaticStreamChoice) {
    const struct {
        const char* In;
        int Outputs;
        std::vector<int> Channels;
    } Rows[] = {
        {"twoaudio.mkv", 1, {2}}, {"twoaudio_def.mkv", 1, {1}}, {"twoaudio.mkv", 2, {2, 1}}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.In);
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Clip(Row.In)));
        for (int I = 0; I < Row.Outputs; ++I) {
            Engine->ParseOption("vn", "");
            Engine->ParseOption("acodec", "copy");
            ASSERT_EQ(Engine->OpenOutputFile(Temp.File("a" + std::to_string(I) + ".mkv")), I + 1);
        }
        Engine->StartConvert(false);
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        for (int I = 0; I < Row.Outputs; ++I) {
            const auto Streams = Layout(Temp.File("a" + std::to_string(I) + ".mkv"));
            ASSERT_EQ(Streams.size(), 1u);
            EXPECT_NE(Streams[0].find(",44100," + std::to_string(Row.Channels[I]) + ","),
                      std::string::npos)
                << Streams[0];
        }
    }

    // One video stream for two outputs: the second takes it again, unless a
    // program is asked for.
    for (const bool WithProgram : {false, true}) {
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("jump.ts")));
        for (int I = 0; I < 2; ++I) {
            Engine->ParseOption("an", "");
            Engine->ParseOption("vcodec", "copy");
            ASSERT_EQ(Engine->OpenOutputFile(Temp.File("v" + std::to_string(I) + ".mkv")), I + 1);
        }
        if (WithProgram)
            Engine->Fopt_programid = 1;
        Engine->StartConvert(false);
        if (WithProgram)
            EXPECT_EQ(Engine->FatalMessage(),
                      "Could not find input stream matching output stream #1.0 (Video)");
        else
            EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    }
}

TEST_F(TranscodeTest, ChaptersFollowTheRecordingLimit) {
    const struct {
        TOptions Options;
        std::vector<std::string> Chapters;
    } Rows[] = {{Copy(), {"0.000000,2.000000", "2.000000,4.000000", "4.000000,6.000000"}},
                {Copy({{"t", "3"}}), {"0.000000,2.000000", "2.000000,3.000000"}}};
    for (const auto& Row : Rows) {
        Engine->ResetJob();
        const std::string Out = Temp.File("chapters.mkv");
        ASSERT_TRUE(Convert(Clip("chapters.mkv"), Out, Row.Options));
        EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        EXPECT_EQ(Lines(RunCommand("ffprobe -v error -show_entries chapter=start_time,end_time "
                                   "-of csv=p=0 " +
                                   Quoted(Out))),
                  Row.Chapters);
    }
}

TEST_F(TranscodeTest, ClocksMappingAndTables) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("h264aac.mkv")));
    Engine->ParseOption("vcodec", "copy");
    Engine->ParseOption("acodec", "copy");
    ASSERT_EQ(Engine->OpenOutputFile(Temp.File("x.mkv")), 1);
    Engine->SetupStreams();
    Engine->InitInputClocks();
    // Two reordered pictures at 25 a second.
    EXPECT_EQ(Engine->Fist_table[0]->pts, -80000);
    EXPECT_EQ(Engine->Fist_table[1]->pts, 0);
    Engine->ReleaseTables();
    Engine->StartConvert(false);
    EXPECT_EQ(CountLogged(llVerbose, "  Stream #0.0 -> #0.0 (Video)"), 1);
    EXPECT_EQ(CountLogged(llVerbose, "  Stream #0.1 -> #0.1 (Audio)"), 1);

    // A big encoded picture needs a big buffer.
    Engine->ResetJob();
    ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
    Engine->ParseOption("an", "");
    Engine->ParseOption("vcodec", "mpeg4");
    Engine->ParseOption("s", "1920x1080");
    ASSERT_EQ(Engine->OpenOutputFile(Temp.File("big.mkv")), 1);
    Engine->SetupStreams();
    EXPECT_GE(Engine->Fbit_buffer_size, 12441800);
    Engine->ReleaseTables();
}

// Beyond the 20 streams of the old tables: every stream is copied, the id
// table covers the first 20.
TEST_F(TranscodeTest, ManyStreams) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("many24.mkv")));
    Engine->ParseOption("streamid", "0:300");
    Engine->ParseOption("acodec", "copy");
    ASSERT_EQ(Engine->OpenOutputFile(Temp.File("many.ts")), 1) << Engine->LastErrMsg();
    for (int I = 1; I < 24; ++I) {
        Engine->ParseOption("acodec", "copy");
        Engine->ParseOption("newaudio", "");
    }
    for (int I = 0; I < 24; ++I)
        Engine->ParseOption("map", "0:" + std::to_string(I));
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    const auto Ids = Unique(Lines(RunCommand("ffprobe -v error -show_entries stream=index,id -of "
                                             "csv=p=0 " +
                                             Quoted(Temp.File("many.ts")))));
    ASSERT_EQ(Ids.size(), 24u);
    EXPECT_EQ(Ids[0], "0,0x12c");
}

TEST_F(TranscodeTest, TwoPassFiles) {
    char Saved[4096];
    ASSERT_NE(getcwd(Saved, sizeof Saved), nullptr);
    ASSERT_EQ(chdir(Temp.Path().c_str()), 0);
    ASSERT_TRUE(Convert(Clip("part1.mp4"), Temp.File("pass1.mkv"),
                        {{"an", ""}, {"vcodec", "mpeg4"}, {"pass", "1"}}));
    EXPECT_TRUE(FileExists(Temp.File("ffmpeg2pass-0.log")));
    DeleteFile(Temp.File("ffmpeg2pass-0.log"));
    Engine->ResetJob();
    ASSERT_TRUE(Convert(Clip("part1.mp4"), Temp.File("pass2.mkv"),
                        {{"an", ""}, {"vcodec", "mpeg4"}, {"pass", "2"}}));
    EXPECT_EQ(Engine->FatalMessage(),
              "Cannot read file: Error reading log file \"ffmpeg2pass-0.log\" for pass-2 encoding");
    ASSERT_EQ(chdir(Saved), 0);
}

namespace {

// A UDP port nobody uses at this moment, from the system.
int FreeUdpPort() {
    const int Socket = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t Length = sizeof Address;
    bind(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address);
    getsockname(Socket, reinterpret_cast<sockaddr*>(&Address), &Length);
    close(Socket);
    return ntohs(Address.sin_port);
}

} // namespace

// Only a job whose every output is RTP describes itself in SDP.
TEST_F(TranscodeTest, SdpForRtpOutputsOnly) {
    for (const bool WithFile : {false, true}) {
        Engine->ResetJob();
        ClearLog();
        ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
        for (const char* Kind : {"video", "audio"}) {
            const bool Video = std::string(Kind) == "video";
            // "an" lasts until an audio stream is made; none is made here.
            Engine->Faudio_disable = false;
            Engine->ParseOption(Video ? "an" : "vn", "");
            Engine->ParseOption(Video ? "vcodec" : "acodec", "copy");
            Engine->ParseOption("t", "0.2");
            std::string Name = "rtp://127.0.0.1:" + std::to_string(FreeUdpPort());
            if (WithFile && !Video)
                Name = Temp.File("audio.mkv");
            else
                Engine->ParseOption("f", "rtp");
            ASSERT_GT(Engine->OpenOutputFile(Name), 0) << Engine->LastErrMsg();
        }
        Engine->StartConvert(false);
        EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        int SdpLines = 0;
        for (const TLoggedLine& Line : Logged())
            if (StartsWith(Line.Msg, "SDP:\r\n")) {
                ++SdpLines;
                EXPECT_NE(Line.Msg.find("m=video"), std::string::npos);
                EXPECT_NE(Line.Msg.find("m=audio"), std::string::npos);
            }
        EXPECT_EQ(SdpLines, WithFile ? 0 : 1);
    }
}

// Copied MP3 with a block align of 1, and AC-3 always, write none.
TEST_F(TranscodeTest, CopiedBlockAlign) {
    const std::string Ac3 = Temp.File("tone.ac3");
    RunCommand("ffmpeg -nostdin -v error -f lavfi -i sine=duration=0.2 -c:a ac3 " + Quoted(Ac3));
    for (const std::string& In : {Clip("cover.mp3"), Ac3}) {
        SCOPED_TRACE(In);
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(In));
        Engine->Finput_files[0]->streams[0]->codecpar->block_align = 1;
        Engine->ParseOption("vn", "");
        Engine->ParseOption("acodec", "copy");
        ASSERT_EQ(Engine->OpenOutputFile(Temp.File("x.mkv")), 1) << Engine->LastErrMsg();
        Engine->SetupStreams();
        EXPECT_EQ(Engine->Foutput_files[0]->streams[0]->codecpar->block_align, 0);
        Engine->ReleaseTables();
    }
}

// A decoder that cannot open after two encoders did: nothing stays open.
TEST_F(TranscodeTest, ADecoderThatCannotOpenClosesTheEncoders) {
    ASSERT_TRUE(Engine->OpenInputFile(Clip("part1.mp4")));
    // A decoder that cannot read the stream's set-up.
    Engine->Finput_slots[0][1]->Decoder = avcodec::avcodec_find_decoder_by_name("vorbis");
    Engine->ParseOption("vcodec", "mpeg4");
    Engine->ParseOption("acodec", "mp2");
    ASSERT_EQ(Engine->OpenOutputFile(Temp.File("x.mkv")), 1) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    EXPECT_EQ(Engine->FatalMessage(), "Error while opening decoder for input stream #0.1 (Audio)");
    EXPECT_EQ(Engine->FEncoderList, nullptr);
    EXPECT_EQ(Engine->FDecoderList, nullptr);
}

// An output that is one of the inputs, however it is spelt, is refused
// before anything is opened for writing; the input keeps every byte.
TEST_F(TranscodeTest, AnOutputThatIsAnInputIsRefused) {
    const std::string In = Temp.File("in.mkv");
    ASSERT_EQ(std::system(("cp " + Quoted(Clip("part1.mp4")) + " " + Quoted(In)).c_str()), 0);
    const std::string Before = ReadBytes(In);
    ASSERT_EQ(symlink(In.c_str(), Temp.File("link.mkv").c_str()), 0);
    ASSERT_EQ(link(In.c_str(), Temp.File("hard.mkv").c_str()), 0);
    const std::string Dir = ExtractFilePath(In);
    const struct {
        std::string Out;
        bool Same;
    } Rows[] = {{In, true},
                {IncludeTrailingPathDelimiter(Dir) + "./in.mkv", true},
                {Temp.File("link.mkv"), true},
                {Temp.File("hard.mkv"), true},
                {Temp.File("other.mkv"), false}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Out);
        Engine->ResetJob();
        ASSERT_TRUE(Engine->OpenInputFile(In)) << Engine->LastErrMsg();
        for (const auto& [Name, Value] : Copy())
            Engine->ParseOption(Name, Value);
        const int Opened = Engine->OpenOutputFile(Row.Out);
        if (Row.Same) {
            EXPECT_EQ(Opened, -1);
            EXPECT_EQ(Engine->LastErrMsg(), "Output " + Row.Out + " same as Input #0 - exiting");
        } else {
            EXPECT_EQ(Opened, 1) << Engine->LastErrMsg();
            Engine->StartConvert(false);
            EXPECT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        }
        EXPECT_EQ(ReadBytes(In), Before);
    }
}

// A sound encoder the container cannot hold gives way to the container's own
// one; an encoder the container takes is kept, whether the container lists
// its codecs or not.
TEST_F(TranscodeTest, ASoundEncoderTheContainerRefusesGivesWayToItsOwn) {
    const struct {
        const char* Out;
        const char* AudioCodec;
        const char* Written;
    } Rows[] = {{"x.vob", "aac", "mp2"}, {"x.mpg", "aac", "mp2"}, {"x.vob", "ac3", "ac3"},
                {"x.mp4", "aac", "aac"}, {"x.mkv", "mp2", "mp2"}, {"x.avi", "libmp3lame", "mp3"}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Out) + " " + Row.AudioCodec);
        Engine->ResetJob();
        const std::string Out = Temp.File(Row.Out);
        ASSERT_TRUE(Convert(Clip("part1.mp4"), Out,
                            {{"vcodec", "mpeg2video"}, {"acodec", Row.AudioCodec}}));
        ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
        bool Audio = false;
        for (const std::string& Stream : Layout(Out))
            if (Stream.find(",audio,") != std::string::npos) {
                Audio = true;
                EXPECT_NE(Stream.find(std::string(",") + Row.Written + ",audio,"),
                          std::string::npos)
                    << Stream;
            }
        EXPECT_TRUE(Audio);
        EXPECT_EQ(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(Out) + " -f null - 2>&1"), "");
    }
}
