#include "platform/core/Exceptions.h"
#include "tests/player/ProbeTestSupport.h"

#include <cmath>
#include <filesystem>
#include <random>

TEST_F(ProbeTest, AFreshProberHoldsNothing) {
    EXPECT_EQ(Probe->FileHandle(), nullptr);
    for (const int Value :
         {Probe->StreamCount(), Probe->ProgramCount(), Probe->AudioStreamCount(),
          Probe->VideoStreamCount(), Probe->SubtitleStreamCount(), Probe->FirstAudioStreamIndex(),
          Probe->FirstVideoStreamIndex(), Probe->FirstSubtitleStreamIndex()})
        EXPECT_EQ(Value, -1);
    EXPECT_EQ(Probe->FileSize(), -1);

    const TFileStreamInfo Info = Probe->FileStreamInfo();
    EXPECT_EQ(Info.StartTime, -1);
    EXPECT_EQ(Info.Duration, -1);
    EXPECT_EQ(Info.BitRate, -1);
    EXPECT_EQ(Info.TimeStamp, -1);
    EXPECT_EQ(Info.Year, -1);
    EXPECT_EQ(Info.Track, -1);
    EXPECT_EQ(Info.Title, "");
    EXPECT_EQ(Logged, (std::vector<TLogLine>{{llWarning, "file not loaded."}}));
}

TEST_F(ProbeTest, LoadFileCountsTheStreamsByKind) {
    struct TCase {
        const char* File;
        int Streams, Programs, Video, Audio, FirstVideo, FirstAudio;
        const char* FormatName;
    };
    const TCase Cases[] = {
        {"av.mp4", 2, 0, 1, 1, 0, 1, "mov,mp4,m4a,3gp,3g2,mj2"},
        {"programs.ts", 3, 2, 1, 2, 0, 1, "mpegts"},
        {"audio.mp3", 1, 0, 0, 1, -1, 0, "mp3"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.File);
        Load(Case.File);
        EXPECT_EQ(Probe->StreamCount(), Case.Streams);
        EXPECT_EQ(Probe->ProgramCount(), Case.Programs);
        EXPECT_EQ(Probe->VideoStreamCount(), Case.Video);
        EXPECT_EQ(Probe->AudioStreamCount(), Case.Audio);
        EXPECT_EQ(Probe->SubtitleStreamCount(), 0);
        EXPECT_EQ(Probe->FirstVideoStreamIndex(), Case.FirstVideo);
        EXPECT_EQ(Probe->FirstAudioStreamIndex(), Case.FirstAudio);
        EXPECT_EQ(Probe->FirstSubtitleStreamIndex(), -1);
        EXPECT_EQ(Probe->FileSize(), std::int64_t(std::filesystem::file_size(Media(Case.File))));
        EXPECT_EQ(Probe->FormatName(), Case.FormatName);
        EXPECT_EQ(Probe->FileName(), Media(Case.File));
        EXPECT_EQ(Probe->ForceFormat(), "");
    }
    ASSERT_TRUE(Probe->LoadFile(Media("av.mp4"), "mov"));
    EXPECT_EQ(Probe->ForceFormat(), "mov");
    EXPECT_TRUE(Logged.empty());
}

TEST_F(ProbeTest, AnUnknownFormatNameFailsWithoutALogLine) {
    Load("av.mp4");
    EXPECT_FALSE(Probe->LoadFile(Media("av.mp4"), "nosuchfmt"));
    EXPECT_EQ(Probe->LastErrMsg(), "Unknown input format: nosuchfmt");
    EXPECT_TRUE(Logged.empty());
    EXPECT_EQ(Probe->FileHandle(), nullptr);
    EXPECT_EQ(Probe->StreamCount(), -1);
    EXPECT_EQ(Probe->ForceFormat(), "");
}

// FFmpeg frees the context of a failed open itself; these run under the
// address sanitizer too, where a second free would stop the test.
TEST_F(ProbeTest, FilesThatCannotBeOpenedLeaveTheProberClosed) {
    const std::string Clip = ReadFile(Media("av.mp4"));
    // The movie header sits at the end of the clip, so its first half has none.
    WriteFile(Temp.File("truncated.mp4"), Clip.substr(0, Clip.size() / 2));
    std::string Garbage(64 * 1024, '\0');
    std::mt19937 Random(12345);
    for (char& Byte : Garbage)
        Byte = static_cast<char>(Random());
    WriteFile(Temp.File("garbage.bin"), Garbage);

    const std::pair<std::string, const char*> Cases[] = {
        {Temp.File("missing.mp4"), "No such file or directory"},
        {Temp.File("garbage.bin"), "Invalid data found when processing input"},
        {Temp.File("truncated.mp4"), "Invalid data found when processing input"},
    };
    for (const auto& [Name, Text] : Cases) {
        SCOPED_TRACE(Name);
        Load("av.mp4");
        Logged.clear();
        EXPECT_FALSE(Probe->LoadFile(Name));
        const std::string Expected = Name + ": " + Text;
        EXPECT_EQ(Probe->LastErrMsg(), Expected);
        EXPECT_EQ(Logged, (std::vector<TLogLine>{{llError, Expected}}));
        EXPECT_EQ(Probe->FileHandle(), nullptr);
        EXPECT_EQ(Probe->StreamCount(), -1);
        EXPECT_EQ(Probe->FileSize(), -1);
        EXPECT_EQ(Probe->FirstVideoStreamIndex(), -1);
    }
}

TEST_F(ProbeTest, NonASCIINamesOpenPlainAndPrefixed) {
    const std::string Name = Temp.File("测试 clip.mp4");
    std::filesystem::copy_file(Media("av.mp4"), Name);
    for (const std::string& Given : {Name, std::string("unicode:utf8:") + Name}) {
        SCOPED_TRACE(Given);
        ASSERT_TRUE(Probe->LoadFile(Given)) << Probe->LastErrMsg();
        EXPECT_EQ(Probe->FileName(), Name);
        EXPECT_EQ(Probe->StreamCount(), 2);
        EXPECT_EQ(Probe->FileSize(), std::int64_t(std::filesystem::file_size(Name)));
    }
}

TEST_F(ProbeTest, TheFirstStreamsOfEachKindAreDescribed) {
    Load("av.mp4");
    const TVideoStreamInfo Video = Probe->FirstVideoStreamInfo();
    EXPECT_EQ(Video.CodecName, "mpeg4(MPEG-4 part 2)");
    EXPECT_EQ(Video.Width, 320);
    EXPECT_EQ(Video.Height, 240);
    EXPECT_FLOAT_EQ(Video.AspectRatio, 1.3333334f);
    EXPECT_EQ(Video.FrameRate.num, 25);
    EXPECT_EQ(Video.FrameRate.den, 1);
    EXPECT_EQ(Video.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(Video.StartTime, 0);
    EXPECT_EQ(Video.StartTimeScaled, 0);
    EXPECT_EQ(Video.Duration, 25600); // in the stream's 1/12800
    EXPECT_EQ(Video.DurationScaled, 2000000);
    EXPECT_GT(Video.BitRate, 0);

    const TAudioStreamInfo Audio = Probe->FirstAudioStreamInfo();
    EXPECT_EQ(Audio.CodecName, "aac(AAC (Advanced Audio Coding))");
    EXPECT_EQ(Audio.Channels, 2);
    EXPECT_EQ(Audio.SampleRate, 44100);
    EXPECT_EQ(Audio.SampleFormat, AV_SAMPLE_FMT_FLTP);
    EXPECT_EQ(Audio.Language, "und");

    // No subtitle stream here: the record stays reset.
    const TSubtitleStreamInfo Subtitle = Probe->FirstSubtitleStreamInfo();
    EXPECT_EQ(Subtitle.CodecName, "");
    EXPECT_EQ(Probe->LastErrMsg(), "no subtitle stream.");
}

TEST_F(ProbeTest, WrongStreamsGiveResetRecordsAndTheirTexts) {
    Load("audio.mp3");
    const TVideoStreamInfo Video = Probe->FirstVideoStreamInfo();
    EXPECT_EQ(Video.Width, -1);
    EXPECT_EQ(Video.AspectRatio, -1.0f);
    EXPECT_EQ(Video.CodecName, "");
    EXPECT_EQ(Logged, (std::vector<TLogLine>{{llError, "no video stream."}}));

    Load("av.mp4");
    Logged.clear();
    EXPECT_FALSE(Probe->IsVideoStream(-1));
    EXPECT_EQ(Probe->LastErrMsg(), "stream index #-1 is invalid.");
    EXPECT_FALSE(Probe->IsVideoStream(Probe->StreamCount()));
    EXPECT_EQ(Probe->LastErrMsg(), "stream index #2 is invalid.");
    EXPECT_TRUE(Probe->IsVideoStream(0));
    EXPECT_FALSE(Probe->IsVideoStream(1));
    EXPECT_TRUE(Probe->IsAudioStream(1));
    TVideoStreamInfo Info;
    EXPECT_FALSE(Probe->GetVideoStreamInfo(1, Info));
    EXPECT_EQ(Probe->LastErrMsg(), "stream #1 is not video stream.");
    EXPECT_EQ(Info.Width, -1);
    TAudioStreamInfo AudioInfo;
    EXPECT_FALSE(Probe->GetAudioStreamInfo(5, AudioInfo));
    EXPECT_EQ(Probe->LastErrMsg(), "stream index #5 is invalid.");
    EXPECT_EQ(Logged.size(), 4u);
    for (const TLogLine& Line : Logged)
        EXPECT_EQ(Line.Level, llError);
}

TEST_F(ProbeTest, SyntheticStreamsWithoutStartSampleRatioOrTimeBase) {
    TSyntheticInput Input;
    AVStream* Audio = Input.AddAudio();
    AVStream* Video = Input.AddVideo();
    Video->codecpar->sample_aspect_ratio = {0, 1};
    AVStream* Broken = Input.AddVideo();
    Broken->time_base = {0, 0};
    Broken->start_time = 100;
    Broken->duration = 2000;
    Probe->SetFileHandle(Input.Context());

    TAudioStreamInfo AudioInfo;
    ASSERT_TRUE(Probe->GetAudioStreamInfo(Audio->index, AudioInfo));
    EXPECT_EQ(AudioInfo.StartTime, AV_NOPTS_VALUE);
    EXPECT_EQ(AudioInfo.StartTimeScaled, -1);
    EXPECT_EQ(AudioInfo.DurationScaled, -1);
    EXPECT_EQ(AudioInfo.Channels, 2);

    TVideoStreamInfo VideoInfo;
    ASSERT_TRUE(Probe->GetVideoStreamInfo(Video->index, VideoInfo));
    EXPECT_EQ(VideoInfo.AspectRatio, 0.0f);

    // The repair of a 0/0 time base is worked out on a copy: the stream may
    // belong to a player whose threads read it at the same time.
    TVideoStreamInfo First, Second;
    ASSERT_TRUE(Probe->GetVideoStreamInfo(Broken->index, First));
    ASSERT_TRUE(Probe->GetVideoStreamInfo(Broken->index, Second));
    EXPECT_EQ(First.StartTime, 100);
    EXPECT_EQ(First.StartTimeScaled, Second.StartTimeScaled);
    EXPECT_EQ(First.DurationScaled, Second.DurationScaled);
    EXPECT_EQ(Broken->time_base.num, 0);
    EXPECT_EQ(Broken->time_base.den, 0);
    Probe->CloseFile();
}

TEST_F(ProbeTest, FileStreamInfoReadsTheTags) {
    Load("audio.mp3");
    TFileStreamInfo Info = Probe->FileStreamInfo();
    EXPECT_EQ(Info.Title, "Tone");
    EXPECT_EQ(Info.Album, "Fixtures");
    EXPECT_EQ(Info.Duration, Probe->FileHandle()->duration);
    EXPECT_GT(Info.StartTime, 0); // the encoder's delay
    EXPECT_GT(Info.BitRate, 60000);

    Load("av.mkv");
    Info = Probe->FileStreamInfo();
    EXPECT_EQ(Info.Title, ""); // "TIT2" is only a raw key in this container
    EXPECT_EQ(Info.Comment, "Fixture");
    EXPECT_EQ(Info.TimeStamp, 0);
    EXPECT_EQ(Info.Year, 0);
    EXPECT_EQ(Info.Track, 0);

    TSyntheticInput Input;
    Input.AddVideo();
    TSyntheticInput::SetTag(&Input.Context()->metadata, "creation_time",
                            "2010-05-04T10:20:30.000000Z");
    TSyntheticInput::SetTag(&Input.Context()->metadata, "date", "2009-07-01");
    TSyntheticInput::SetTag(&Input.Context()->metadata, "track", "3/12");
    Probe->SetFileHandle(Input.Context());
    Info = Probe->FileStreamInfo();
    EXPECT_EQ(Info.TimeStamp, 1272968430);
    EXPECT_EQ(Info.Year, 2009);
    EXPECT_EQ(Info.Track, 3);
    EXPECT_EQ(Info.StartTime, -1);
    EXPECT_EQ(Info.Duration, -1);

    // Tags that do not start with a number count as missing; "year" stands
    // in for a "date" without one.
    TSyntheticInput Other;
    Other.AddVideo();
    TSyntheticInput::SetTag(&Other.Context()->metadata, "creation_time", "yesterday");
    TSyntheticInput::SetTag(&Other.Context()->metadata, "date", "July 2009");
    TSyntheticInput::SetTag(&Other.Context()->metadata, "year", "1999");
    TSyntheticInput::SetTag(&Other.Context()->metadata, "track", "A3");
    Probe->SetFileHandle(Other.Context());
    Info = Probe->FileStreamInfo();
    EXPECT_EQ(Info.TimeStamp, 0);
    EXPECT_EQ(Info.Year, 1999);
    EXPECT_EQ(Info.Track, 0);
    Probe->CloseFile();
}

TEST_F(ProbeTest, AnAdoptedContextStaysItsOwners) {
    AVFormatContext* Context = nullptr;
    ASSERT_EQ(
        avformat::avformat_open_input(&Context, Media("programs.ts").c_str(), nullptr, nullptr), 0);
    ASSERT_GE(avformat::avformat_find_stream_info(Context, nullptr), 0);

    Load("av.mp4");
    Probe->SetFileHandle(Context);
    EXPECT_EQ(Probe->FileHandle(), Context);
    EXPECT_EQ(Probe->StreamCount(), 3);
    EXPECT_EQ(Probe->ProgramCount(), 2);
    EXPECT_EQ(Probe->FileSize(), std::int64_t(std::filesystem::file_size(Media("programs.ts"))));
    EXPECT_EQ(Probe->FirstVideoStreamInfo().Width, 320);

    // Neither decoding nor seeking touches it.
    EXPECT_THROW(
        {
            try {
                Probe->Decode(-1);
            } catch (const Exception& E) {
                EXPECT_EQ(E.Message(), "file cannot be seeked, handle is readonly.");
                throw;
            }
        },
        Exception);
    EXPECT_THROW(Probe->Seek(0, {}), Exception);

    Probe->CloseFile();
    EXPECT_EQ(Probe->FileHandle(), nullptr);
    Probe->SetFileHandle(Context);
    Probe.reset();

    // Still open and readable.
    AVPacket* Packet = avcodec::av_packet_alloc();
    EXPECT_EQ(avformat::av_read_frame(Context, Packet), 0);
    avcodec::av_packet_free(&Packet);
    avformat::avformat_close_input(&Context);
}

TEST(ProbeLibraries, AdoptingWithoutTheLibrariesRaises) {
    ASSERT_FALSE(FFLoader().Loaded(avCodec));
    TAVProbe Probe(nullptr);
    try {
        Probe.SetFileHandle(nullptr);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "LibAVCodec not loaded.");
    }
    EXPECT_FALSE(Probe.AVLibLoaded());
}

// An input that cannot tell its size gets the size of the file behind its
// name; without such a file it stays unknown.
TEST_F(ProbeTest, TheFileSystemStandsInForASizeTheInputCannotTell) {
    TSyntheticInput Input;
    Input.AddVideo();
    Input.Context()->url = avutil::av_strdup(Media("av.mkv").c_str());
    Probe->SetFileHandle(Input.Context());
    EXPECT_EQ(Probe->FileSize(), std::int64_t(std::filesystem::file_size(Media("av.mkv"))));
    EXPECT_EQ(Probe->FileName(), Media("av.mkv"));

    TSyntheticInput Nameless;
    Nameless.AddVideo();
    Probe->SetFileHandle(Nameless.Context());
    EXPECT_EQ(Probe->FileSize(), -1);
    Probe->CloseFile();
}
