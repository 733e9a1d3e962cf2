// The progress report, its event and summary, and the video statistics file.
#include "platform/core/Conversions.h"
#include "tests/media/HookTestEngine.h"

#include <libavutil/intreadwrite.h>

#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

struct TProgressCall {
    int FileIndex, FrameNumber, FPS;
    float Quality, BitRate;
    std::int64_t Size, Current, Total;
};

class ProgressTest : public HookEngineTest {
protected:
    AVCodecContext* Video = nullptr;
    AVCodecContext* Audio = nullptr;
    std::vector<TProgressCall> Calls;

    void SetUp() override {
        HookEngineTest::SetUp();
        Video = avcodec::avcodec_alloc_context3(nullptr);
        Video->codec_type = AVMEDIA_TYPE_VIDEO;
        Video->width = 320;
        Video->height = 240;
        Video->time_base = {1, 25};
        Audio = avcodec::avcodec_alloc_context3(nullptr);
        Audio->codec_type = AVMEDIA_TYPE_AUDIO;
    }
    void TearDown() override {
        avcodec::avcodec_free_context(&Video);
        avcodec::avcodec_free_context(&Audio);
        HookEngineTest::TearDown();
    }

    void RecordProgress() {
        Engine->SetOnProgress([this](TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS,
                                     float AQuality, float ABitRate, std::int64_t ASize,
                                     std::int64_t ACurrent, std::int64_t ATotal) {
            EXPECT_EQ(Sender, Engine.get());
            Calls.push_back(
                {AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ASize, ACurrent, ATotal});
        });
    }
    // Output 0 holding ABytes.
    void Output(int ABytes) {
        AVFormatContext* Context = OpenOutput(Temp.File("out.ts"));
        std::vector<unsigned char> Bytes(std::size_t(ABytes), 0x47);
        avformat::avio_write(Context->pb, Bytes.data(), ABytes);
        avformat::avio_flush(Context->pb);
        Hooked->PlaceOutput(Context);
    }
    TCustomFFmpeg::TStreamReport VideoStream(int AFrameNumber, int AQuality, double ATime) {
        TCustomFFmpeg::TStreamReport Stream;
        Stream.enc = Video;
        Stream.ShowFps = true;
        Stream.FrameNumber = AFrameNumber;
        Stream.Quality = AQuality;
        Stream.Time = ATime;
        return Stream;
    }
    TCustomFFmpeg::TStreamReport AudioStream(double ATime) {
        TCustomFFmpeg::TStreamReport Stream;
        Stream.enc = Audio;
        Stream.Time = ATime;
        return Stream;
    }
    // The clock ASeconds after the start of the job.
    void After(double ASeconds) {
        Hooked->Ftimer_start = 1000000;
        Hooked->Clock = 1000000 + std::int64_t(ASeconds * 1000000);
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> Result;
        for (const TCapturedLine& Line : AllLogged()) {
            if (Line.Sender != Engine.get())
                continue;
            EXPECT_EQ(Line.Level, llVerbose) << Line.Msg;
            Result.push_back(Line.Msg);
        }
        return Result;
    }
};

TEST_F(ProgressTest, TheLastReportLineInTheConvertersFormat) {
    Output(12345);
    After(2.5);
    Hooked->ReportProgress(true, -1, {VideoStream(25, 236, 1.0)});
    const std::vector<std::string> Got = Lines();
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(Got[0], "frame=   25 fps= 10 q=2.0 Lsize=      12kB time=1.00 bitrate=  98.8kbits/s");
    EXPECT_EQ(Got[1], "video:0kB audio:0kB global headers:0kB muxing overhead 0.00%\\r\\n");
}

TEST_F(ProgressTest, TheEventGetsTheNumbersOfTheFirstCountedVideoStream) {
    RecordProgress();
    Output(1000);
    Engine->ParseOption("t", "30");
    struct TCase {
        double Elapsed;
        std::vector<TCustomFFmpeg::TStreamReport> Streams;
        int FrameNumber, FPS;
        float Quality;
        std::int64_t Current;
    };
    TCustomFFmpeg::TStreamReport Copied = VideoStream(30, 0, 0.5);
    Copied.StreamCopy = true;
    TCustomFFmpeg::TStreamReport Uncounted = VideoStream(99, 118, 4.0);
    Uncounted.ShowFps = false;
    const std::vector<TCase> Cases = {
        {5.0, {AudioStream(2.0)}, -1, -1, -1.0f, 2000000},
        {5.0, {VideoStream(250, 236, 10.0), AudioStream(9.5)}, 250, 50, 2.0f, 9500000},
        {1.0, {VideoStream(30, 118, 1.2)}, 30, 0, 1.0f, 1200000},
        {2.0, {Copied}, 30, 15, -1.0f, 500000},
        {5.0, {Uncounted, VideoStream(100, 354, 0)}, 100, 20, 3.0f, 4000000},
        // No stream has a positive time yet.
        {5.0, {VideoStream(1, 118, 0), AudioStream(-1)}, 1, 0, 1.0f, 10000},
    };
    for (const TCase& Case : Cases) {
        Calls.clear();
        After(Case.Elapsed);
        Hooked->ReportProgress(false, 1, Case.Streams);
        ASSERT_EQ(Calls.size(), 1u);
        const TProgressCall& Call = Calls[0];
        SCOPED_TRACE(Case.FrameNumber);
        EXPECT_EQ(Call.FileIndex, 1);
        EXPECT_EQ(Call.FrameNumber, Case.FrameNumber);
        EXPECT_EQ(Call.FPS, Case.FPS);
        EXPECT_EQ(Call.Quality, Case.Quality);
        EXPECT_EQ(Call.Size, 1000);
        EXPECT_EQ(Call.Current, Case.Current);
        EXPECT_FLOAT_EQ(Call.BitRate, float(1000 * 8 / (Case.Current / 1e6) / 1000));
        EXPECT_EQ(Call.Total, 30000000);
    }
    EXPECT_TRUE(Lines().empty()) << "progress went to the event";
}

TEST_F(ProgressTest, AVideoOutputBeforeItsFirstFrameSaysNothing) {
    RecordProgress();
    Output(100);
    Engine->ParseOption("v", "1");
    Hooked->ReportProgress(false, 0, {AudioStream(1.0), VideoStream(0, 0, 0)});
    Hooked->ReportProgress(true, -1, {VideoStream(0, 0, 0)});
    EXPECT_TRUE(Calls.empty());
    EXPECT_TRUE(Lines().empty());
}

TEST_F(ProgressTest, VerbosityDecidesWhichLinesAreLogged) {
    struct TCase {
        int Verbose;
        std::vector<std::string> Expected;
    };
    const std::string Line =
        "frame=    5 fps=  0 q=1.0 size=       0kB time=0.20 bitrate=   0.0kbits/s";
    const std::string Last =
        "frame=    5 fps=  0 q=1.0 Lsize=       0kB time=0.20 bitrate=   0.0kbits/s";
    const std::string Summary =
        "video:0kB audio:0kB global headers:0kB muxing overhead 0.00%\\r\\n";
    for (const TCase& Case :
         {TCase{-1, {}}, TCase{0, {Last, Summary}}, TCase{1, {Line, Line, Last, Summary}}}) {
        SCOPED_TRACE(Case.Verbose);
        ClearAll();
        Engine->ParseOption("v", std::to_string(Case.Verbose));
        Hooked->ReportProgress(false, 0, {VideoStream(5, 118, 0.2)});
        Hooked->ReportProgress(false, 0, {VideoStream(5, 118, 0.2)});
        Hooked->ReportProgress(true, -1, {VideoStream(5, 118, 0.2)});
        EXPECT_EQ(Lines(), Case.Expected);
    }
}

TEST_F(ProgressTest, ANewDropReachesTheLogOnceWhileProgressGoesToTheEvent) {
    RecordProgress();
    Hooked->ReportProgress(false, 0, {VideoStream(5, 118, 0.2)});
    Hooked->Fnb_frames_drop = 1;
    Hooked->FShowDupOrDrop = true;
    Hooked->ReportProgress(false, 0, {VideoStream(6, 118, 0.24)});
    Hooked->ReportProgress(false, 0, {VideoStream(7, 118, 0.28)});
    EXPECT_EQ(Calls.size(), 3u);
    EXPECT_EQ(Lines(), std::vector<std::string>{"frame=    6 fps=  0 q=1.0 size=       0kB "
                                                "time=0.24 bitrate=   0.0kbits/s dup=0 drop=1"});
}

TEST_F(ProgressTest, TheQuantiserHistogramAndPSNRFollowTheFrameCount) {
    Engine->ParseOption("qphist", "1");
    Video->flags |= AV_CODEC_FLAG_PSNR;
    const double Pixels = 320.0 * 240 * 255 * 255;
    TCustomFFmpeg::TStreamReport Stream = VideoStream(10, 2 * 118, 0.4);
    // The last packet: 30 dB on every plane.
    Stream.Error = {std::int64_t(Pixels / 1000), std::int64_t(Pixels / 4000),
                    std::int64_t(Pixels / 4000)};
    // The whole stream of 10 frames: 40 dB.
    Video->error[0] = std::uint64_t(Pixels * 10 / 10000);
    Video->error[1] = Video->error[2] = std::uint64_t(Pixels * 10 / 40000);
    Hooked->ReportProgress(false, 0, {Stream});
    Hooked->ReportProgress(true, -1, {Stream});
    const std::vector<std::string> Got = Lines();
    ASSERT_GE(Got.size(), 2u);
    // One upper-case hexadecimal digit per quantiser 0..31, about log2 of its count.
    const std::string Once = "001" + std::string(29, '0');
    const std::string Twice = "002" + std::string(29, '0');
    EXPECT_EQ(Got[0], "frame=   10 fps=  0 q=2.0 " + Once +
                          "PSNR=Y:30.00 U:30.00 V:30.00 *:30.00 "
                          "size=       0kB time=0.40 bitrate=   0.0kbits/s");
    EXPECT_EQ(Got[1], "frame=   10 fps=  0 q=2.0 L" + Twice +
                          "PSNR=Y:40.00 U:40.00 V:40.00 *:40.00 "
                          "size=       0kB time=0.40 bitrate=   0.0kbits/s");
}

TEST_F(ProgressTest, TheSummaryUsesTheFormattingSettingsAndNeverDividesByZero) {
    const char Saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    Output(20480);
    Hooked->Fvideo_size = 10240;
    Hooked->Faudio_size = 7168;
    Hooked->Fextra_size = 1024;
    Hooked->ReportProgress(true, -1, {AudioStream(2.0)});
    // An audio-only job stopped before its first packet.
    Engine->ResetJob();
    Hooked->ReportProgress(true, -1, {AudioStream(0)});
    FormatSettings.DecimalSeparator = Saved;
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "size=      20kB time=2.00 bitrate=  81.9kbits/s",
                           "video:10kB audio:7kB global headers:1kB muxing overhead 11,11%\\r\\n",
                           "size=       0kB time=0.01 bitrate=   0.0kbits/s",
                           "video:0kB audio:0kB global headers:0kB muxing overhead 0,00%\\r\\n"}));
}

// The encoder keeps its error sums with the PSNR flag; the last report rates
// the whole stream from them, the others the last packet's errors.
TEST_F(ProgressTest, PSNROfARealEncoderComesFromItsSumsInTheLastReport) {
    AVCodecContext* Enc =
        avcodec::avcodec_alloc_context3(avcodec::avcodec_find_encoder(AV_CODEC_ID_MPEG4));
    Enc->width = 64;
    Enc->height = 48;
    Enc->pix_fmt = AV_PIX_FMT_YUV420P;
    Enc->time_base = {1, 25};
    Enc->flags |= AV_CODEC_FLAG_PSNR;
    Enc->thread_count = 1;
    ASSERT_EQ(avcodec::avcodec_open2(Enc, nullptr, nullptr), 0);
    AVPacket* Packet = avcodec::av_packet_alloc();
    TCustomFFmpeg::TStreamReport Stream;
    Stream.enc = Enc;
    Stream.ShowFps = true;
    for (int I = 0; I < 5; ++I) {
        TFramePtr Frame = MakeFrame(AV_PIX_FMT_YUV420P, 64, 48, [=](int P, int X, int Y) {
            return (X * 5 + Y * 3 + I * 9 + P) % 256;
        });
        Frame->pts = I;
        ASSERT_EQ(avcodec::avcodec_send_frame(Enc, Frame.get()), 0);
        while (avcodec::avcodec_receive_packet(Enc, Packet) == 0) {
            std::size_t Size = 0;
            const std::uint8_t* Stats =
                avcodec::av_packet_get_side_data(Packet, AV_PKT_DATA_QUALITY_STATS, &Size);
            ASSERT_NE(Stats, nullptr);
            Stream.FrameNumber += 1;
            Stream.Quality = int(AV_RL32(Stats));
            for (int J = 0; J < 3; ++J)
                Stream.Error[std::size_t(J)] = std::int64_t(AV_RL64(Stats + 8 + 8 * J));
            Stream.Time = Stream.FrameNumber * 0.04;
            avcodec::av_packet_unref(Packet);
        }
    }
    ASSERT_GT(Stream.FrameNumber, 0);
    ASSERT_GT(Enc->error[0], 0u);
    Hooked->ReportProgress(false, 0, {Stream});
    Hooked->ReportProgress(true, -1, {Stream});
    const double Scale = 64.0 * 48 * 255 * 255;
    char Last[16], Current[16];
    std::snprintf(Last, sizeof Last, "Y:%2.2f ",
                  -10 * std::log10(Enc->error[0] / (Scale * Stream.FrameNumber)));
    std::snprintf(Current, sizeof Current, "Y:%2.2f ", -10 * std::log10(Stream.Error[0] / Scale));
    const std::vector<std::string> Got = Lines();
    ASSERT_EQ(Got.size(), 3u);
    EXPECT_NE(Got[0].find(std::string("PSNR=") + Current), std::string::npos) << Got[0];
    EXPECT_NE(Got[1].find(std::string("PSNR=") + Last), std::string::npos) << Got[1];
    avcodec::av_packet_free(&Packet);
    avcodec::avcodec_free_context(&Enc);
}

TEST_F(ProgressTest, ARealJobReportsItsTimeRisingToTheOutputsDuration) {
    RecordProgress();
    Hooked->Clock = -1;
    Hooked->ReportInterval = 0; // every packet that finds the clock moved
    ASSERT_TRUE(Engine->OpenInputFile(Clip("long.mkv")));
    Engine->ParseOption("vcodec", "copy");
    Engine->ParseOption("acodec", "copy");
    ASSERT_GE(Engine->OpenOutputFile(Temp.File("copy.mkv")), 0) << Engine->LastErrMsg();
    Engine->StartConvert(false);
    ASSERT_TRUE(Engine->Finished()) << Engine->FatalMessage();
    ASSERT_GE(Calls.size(), 2u);
    for (std::size_t I = 1; I < Calls.size(); ++I) {
        EXPECT_GE(Calls[I].Current, Calls[I - 1].Current);
        EXPECT_GE(Calls[I].FrameNumber, Calls[I - 1].FrameNumber);
        EXPECT_GE(Calls[I].Size, Calls[I - 1].Size);
    }
    const TProgressCall& Last = Calls.back();
    EXPECT_EQ(Last.FileIndex, -1);
    EXPECT_NEAR(double(Last.Current), 20e6, 0.2e6);
    EXPECT_NEAR(double(Last.Total), 20e6, 0.2e6);
    EXPECT_EQ(Last.Quality, -1.0f); // copied
    EXPECT_GT(Last.FrameNumber, 400);
    EXPECT_GT(Last.Size, 0);
}

// ---- Video statistics ----------------------------------------------------------------

TEST_F(ProgressTest, TheStatisticsFileGetsOneLinePerVideoFrame) {
    const std::string Name = Temp.File("stats.log");
    Engine->ParseOption("vstats_file", Name);
    for (int Frame = 1; Frame <= 3; ++Frame) {
        TCustomFFmpeg::TStreamReport Stream = VideoStream(Frame, 236, 0);
        Stream.SyncOpts = Frame;
        Stream.PictType = Frame == 1 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_P;
        Hooked->Fvideo_size += 1234;
        Hooked->WriteVideoStats(Stream, 1234);
    }
    Hooked->WriteVideoStats(AudioStream(1.0), 99);
    // PSNR goes before the frame size.
    Video->flags |= AV_CODEC_FLAG_PSNR;
    TCustomFFmpeg::TStreamReport Stream = VideoStream(4, 118, 0);
    Stream.SyncOpts = 0;
    Stream.Error[0] = std::int64_t(320.0 * 240 * 255 * 255 / 100);
    Stream.PictType = AV_PICTURE_TYPE_B;
    Hooked->WriteVideoStats(Stream, 50);
    Hooked->ReleaseAll();

    std::ifstream In(Name);
    std::vector<std::string> Got;
    for (std::string Line; std::getline(In, Line);)
        Got.push_back(Line);
    EXPECT_EQ(Got, (std::vector<std::string>{
                       "frame=     1 q= 2.0 f_size=   1234 s_size=        1kB time= 0.040 br=   "
                       "246.8kbits/s avg_br=   246.8kbits/s type= I",
                       "frame=     2 q= 2.0 f_size=   1234 s_size=        2kB time= 0.080 br=   "
                       "246.8kbits/s avg_br=   246.8kbits/s type= P",
                       "frame=     3 q= 2.0 f_size=   1234 s_size=        4kB time= 0.120 br=   "
                       "246.8kbits/s avg_br=   246.8kbits/s type= P",
                       "frame=     4 q= 1.0 PSNR=  20.00 f_size=     50 s_size=        4kB time= "
                       "0.010 br=    10.0kbits/s avg_br=  2961.6kbits/s type= B"}));
}

TEST_F(ProgressTest, AStatisticsFileThatCannotBeMadeEndsTheJob) {
    const std::string Name = Temp.File("missing/stats.log");
    Engine->ParseOption("vstats_file", Name);
    try {
        Hooked->WriteVideoStats(VideoStream(1, 118, 0), 10);
        ADD_FAILURE() << "no error";
    } catch (const FFmpegException& E) {
        EXPECT_EQ(E.Message(), "fopen fail: " + Name);
    }
}

} // namespace
