#include "FFmpegTestEngine.h"
#include "media/MyUtilStubs.h"
#include "media/MyUtils.h"
#include "platform/core/Paths.h"
#include "platform/core/SyncObjects.h"
#include "platform/core/Threads.h"

#include <atomic>
#include <fstream>
#include <thread>

namespace {

// Runs the main thread's queue until APredicate holds.
template <class TPredicate> void ServeUntil(TPredicate APredicate) {
    while (!APredicate())
        CheckSynchronize(10);
}

class LifecycleTest : public EngineTest {
protected:
    std::atomic<int> Terminations{0};
    std::atomic<TThreadID> TerminatedOn{0};
    TEvent Terminated{true, false};

    void SetUp() override {
        EngineTest::SetUp();
        Engine->SetOnTerminate([this](TObject*) {
            TerminatedOn = GetCurrentThreadId();
            ++Terminations;
            Terminated.SetEvent();
        });
    }

    // Placeholders that let a job start; the job body opens nothing.
    void PlaceFiles() {
        Engine->PlaceInput(OpenInput(Clip("clip25.mp4")));
        Engine->PlaceOutput(OpenOutput(Temp.File("out.ts")));
    }
};

} // namespace

TEST(EngineCreate, FileLimitMustLieIn1To512) {
    for (int Bad : {0, 513, -1}) {
        try {
            TCustomFFmpeg Engine(Bad);
            ADD_FAILURE() << Bad;
        } catch (const EAssertionFailed& E) {
            EXPECT_NE(E.Message().find("Assertion failure"), std::string::npos) << E.Message();
            EXPECT_NE(E.Message().find(std::to_string(Bad)), std::string::npos) << E.Message();
        }
    }
    for (int Good : {1, 512}) {
        TCustomFFmpeg Engine(Good);
        EXPECT_EQ(Engine.MaxFiles(), Good);
        EXPECT_EQ(Engine.ReportInterval, 500000);
        EXPECT_EQ(Engine.PreviewInterval, 100000);
    }
}

// Every option field is changed, then ResetJob must bring back the defaults.
TEST_F(LifecycleTest, ResetJobRestoresEveryDefault) {
    TTestEngine& E = *Engine;
    const std::pair<const char*, const char*> Options[] = {{"s", "320x240"},
                                                           {"aspect", "4:3"},
                                                           {"pix_fmt", "yuv420p"},
                                                           {"sample_fmt", "s16"},
                                                           {"vframes", "5"},
                                                           {"aframes", "5"},
                                                           {"dframes", "5"},
                                                           {"r", "25"},
                                                           {"qscale", "3"},
                                                           {"rc_override", "1,2,3"},
                                                           {"vcodec", "mpeg4"},
                                                           {"acodec", "copy"},
                                                           {"scodec", "copy"},
                                                           {"tvstd", "pal"},
                                                           {"vstats_file", "x.log"},
                                                           {"vn", "1"},
                                                           {"an", "1"},
                                                           {"sn", "1"},
                                                           {"sameq", "1"},
                                                           {"deinterlace", "1"},
                                                           {"loop_input", "1"},
                                                           {"qphist", "1"},
                                                           {"intra", "1"},
                                                           {"hex", "1"},
                                                           {"dump", "1"},
                                                           {"psnr", "1"},
                                                           {"copyts", "1"},
                                                           {"shortest", "1"},
                                                           {"re", "1"},
                                                           {"xerror", "1"},
                                                           {"isync", "1"},
                                                           {"force_fps", "1"},
                                                           {"vdt", "3"},
                                                           {"vtag", "XVID"},
                                                           {"atag", "mp4a"},
                                                           {"stag", "text"},
                                                           {"me_threshold", "3"},
                                                           {"pass", "2"},
                                                           {"async", "1"},
                                                           {"vglobal", "1"},
                                                           {"programid", "3"},
                                                           {"copyinkf", "1"},
                                                           {"vc", "3"},
                                                           {"fs", "1000"},
                                                           {"ss", "5"},
                                                           {"timestamp", "2010-05-04 10:20:30"},
                                                           {"itsoffset", "3"},
                                                           {"top", "1"},
                                                           {"loop_output", "2"},
                                                           {"vsync", "2"},
                                                           {"dc", "9"},
                                                           {"ar", "22050"},
                                                           {"aq", "3"},
                                                           {"ac", "6"},
                                                           {"muxpreload", "1"},
                                                           {"muxdelay", "1"},
                                                           {"t", "10"},
                                                           {"adrift_threshold", "2"},
                                                           {"vol", "100"},
                                                           {"v", "3"},
                                                           {"dts_delta_threshold", "3"},
                                                           {"vlang", "eng"},
                                                           {"alang", "eng"},
                                                           {"slang", "eng"},
                                                           {"vf", "null"},
                                                           {"passlogfile", "p"},
                                                           {"f", "mp4"},
                                                           {"map", "0:0"},
                                                           {"map_meta_data", "0:0"},
                                                           {"itsscale", "0:2"},
                                                           {"metadata", "a=b"},
                                                           {"streamid", "0:5"},
                                                           {"vbsf", "null"},
                                                           {"absf", "null"},
                                                           {"sbsf", "null"},
                                                           {"b", "100000"}};
    for (const auto& [Name, Value] : Options)
        E.ParseOption(Name, Value);
    std::string Ones = "1";
    for (int I = 1; I < 64; ++I)
        Ones += ",1";
    E.ParseOption("intra_matrix", Ones);
    E.ParseOption("inter_matrix", Ones);
    E.SetPostHooks({phBitmap});
    ASSERT_NE(E.Fframe_width, 0);

    E.ResetJob();

    EXPECT_EQ(E.nb_input_files(), 0);
    EXPECT_EQ(E.nb_output_files(), 0);
    EXPECT_EQ(E.Fnb_stream_maps, 0);
    EXPECT_EQ(E.Fnb_meta_data_maps, 0);
    EXPECT_EQ(E.Fstreamid_map, (std::array<int, 20>{}));
    EXPECT_EQ(E.Finput_files_ts_scale[0][0], 0);
    for (const std::string* Text :
         {&E.Flast_asked_format, &E.Fvideo_language, &E.Faudio_language, &E.Fsubtitle_language,
          &E.Fvfilters, &E.Fpass_logfilename_prefix, &E.Fvideo_rc_override_string,
          &E.Fvideo_codec_name, &E.Faudio_codec_name, &E.Fsubtitle_codec_name, &E.Fvideo_standard,
          &E.Fvstats_filename})
        EXPECT_EQ(*Text, "");
    for (const int* Zero :
         {&E.Fframe_width, &E.Fframe_height, &E.Fframe_topBand, &E.Fframe_bottomBand,
          &E.Fframe_leftBand, &E.Fframe_rightBand, &E.Fvideo_discard, &E.Fme_threshold, &E.Fdo_pass,
          &E.Faudio_stream_copy, &E.Fvideo_stream_copy, &E.Fsubtitle_stream_copy,
          &E.Faudio_sync_method, &E.Fvideo_global_header, &E.Fopt_programid,
          &E.Fcopy_initial_nonkeyframes, &E.Fvideo_channel, &E.Fpgmyuv_compatibility_hack})
        EXPECT_EQ(*Zero, 0);
    for (const bool* Off :
         {&E.Fvideo_disable, &E.Faudio_disable, &E.Fsubtitle_disable, &E.Fsame_quality,
          &E.Fdo_deinterlace, &E.Floop_input, &E.Fqp_hist, &E.Fintra_only, &E.Fdo_hex_dump,
          &E.Fdo_pkt_dump, &E.Fdo_psnr, &E.Fcopy_ts, &E.Fopt_shortest, &E.Frate_emu,
          &E.Fexit_on_error, &E.Fusing_vhook, &E.Finput_sync, &E.Fforce_fps})
        EXPECT_FALSE(*Off);
    EXPECT_EQ(E.Fframe_aspect_ratio, 0);
    EXPECT_EQ(E.Fframe_pix_fmt, AV_PIX_FMT_NONE);
    EXPECT_EQ(E.Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
    EXPECT_EQ(E.Fmax_frames, (std::array<int, 4>{2147483647, 2147483647, 2147483647, 2147483647}));
    EXPECT_EQ(E.Fframe_rate.num, 0);
    EXPECT_EQ(E.Fframe_rate.den, 0);
    EXPECT_EQ(E.Fvideo_qscale, 0);
    EXPECT_FALSE(E.Fintra_matrix.has_value());
    EXPECT_FALSE(E.Finter_matrix.has_value());
    EXPECT_EQ(E.Fvideo_codec_tag, 0u);
    EXPECT_EQ(E.Faudio_codec_tag, 0u);
    EXPECT_EQ(E.Fsubtitle_codec_tag, 0u);
    EXPECT_EQ(E.Fchannel_layout, 0);
    EXPECT_EQ(E.Flimit_filesize, 0);
    EXPECT_EQ(E.Fstart_time, 0);
    EXPECT_EQ(E.Frecording_timestamp, 0);
    EXPECT_EQ(E.Finput_ts_offset, 0);
    EXPECT_EQ(E.Ftop_field_first, -1);
    EXPECT_EQ(E.Floop_output, -1);
    EXPECT_EQ(E.Fvideo_sync_method, -1);
    EXPECT_EQ(E.Fintra_dc_precision, 8);
    EXPECT_EQ(E.Faudio_sample_rate, 44100);
    EXPECT_EQ(E.Faudio_qscale, -99999.0f);
    EXPECT_EQ(E.Faudio_channels, 2);
    EXPECT_EQ(E.Fmux_preload, 0.5f);
    EXPECT_EQ(E.Fmux_max_delay, 0.7f);
    EXPECT_EQ(E.Frecording_time, INT64_MAX);
    EXPECT_EQ(E.Faudio_drift_threshold, 0.1f);
    EXPECT_EQ(E.Faudio_volume, 256);
    EXPECT_EQ(E.Fverbose, 1);
    EXPECT_EQ(E.Fthread_count, 1);
    EXPECT_EQ(E.Fdts_delta_threshold, 10.0f);
    EXPECT_EQ(E.Fsws_flags, 4);
    EXPECT_EQ(E.Fbit_buffer_size, 262144);
    EXPECT_TRUE(E.Fmetadata.empty());
    EXPECT_TRUE(E.Fvideo_bitstream_filters.empty());
    EXPECT_TRUE(E.Faudio_bitstream_filters.empty());
    EXPECT_TRUE(E.Fsubtitle_bitstream_filters.empty());
    EXPECT_EQ(E.TotalOutputDuration(), -1);
    EXPECT_TRUE(E.PostHooks().Empty());
    EXPECT_FALSE(E.FatalException());
    EXPECT_FALSE(E.Converting());
    EXPECT_FALSE(E.Terminated());
    // A fresh option store: the old bit rate is gone, and options work again.
    EXPECT_EQ(E.Entry(otVideo, "b"), nullptr);
    EXPECT_TRUE(E.OptDefault("g", "12"));
}

TEST_F(LifecycleTest, StartWithoutFilesTerminatesAtOnce) {
    // No output at all.
    EXPECT_EQ(Engine->StartConvert(true), nullptr);
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(Engine->FatalMessage(), "At least one output file must be specified");
    EXPECT_EQ(Terminations, 1);
    EXPECT_EQ(CountLogged(llQuiet, "At least one output file must be specified"), 1);
    // A terminated engine refuses a second start until it is reset.
    EXPECT_EQ(Engine->StartConvert(true), nullptr);
    EXPECT_EQ(Terminations, 1);
    EXPECT_TRUE(Engine->Terminated());

    // An output but no input; the output goes with the release.
    Engine->ResetJob();
    Engine->PlaceOutput(OpenOutput(Temp.File("empty.ts")));
    EXPECT_EQ(Engine->StartConvert(false), nullptr);
    EXPECT_EQ(Engine->FatalMessage(), "At least one input file must be specified");
    EXPECT_EQ(Terminations, 2);
    EXPECT_EQ(Engine->nb_output_files(), 0);
    EXPECT_FALSE(FileExists(Temp.File("empty.ts")));
}

TEST_F(LifecycleTest, PausedJobStopsTurningAndServesTheMainThread) {
    PlaceFiles();
    std::atomic<int> Turns{0};
    std::atomic<bool> Release{false};
    // Turns run until the test lets the job finish, then ten more.
    std::atomic<int> Left{10};
    Engine->Turn = [&] {
        ++Turns;
        return !Release || --Left > 0;
    };
    TThread* Worker = Engine->StartConvert(true);
    ASSERT_NE(Worker, nullptr);
    Worker->Start();
    ServeUntil([&] { return Turns > 3; });

    Engine->Pause();
    ServeUntil([&] { return Engine->Parked(); });
    const int Paused = Turns;
    // A third thread's call into the main thread is served while the job sleeps.
    std::atomic<bool> Called{false};
    std::thread Third([&] { CallInMainThread([&] { Called = true; }); });
    ServeUntil([&] { return Called.load(); });
    Third.join();
    EXPECT_EQ(Turns, Paused);
    EXPECT_TRUE(Engine->Parked());

    Release = true;
    Engine->Resume();
    ASSERT_EQ(Terminated.WaitFor(10000), wrSignaled);
    EXPECT_GT(Turns, Paused);
    EXPECT_TRUE(Engine->Finished());
    EXPECT_FALSE(Engine->FatalException()) << Engine->FatalMessage();
    EXPECT_EQ(Terminations, 1);
    EXPECT_FALSE(Engine->Parked());
}

TEST_F(LifecycleTest, StopOfAPausedJobWaitsForItsEnd) {
    PlaceFiles();
    std::atomic<int> Turns{0};
    Engine->Turn = [&] {
        ++Turns;
        return true;
    };
    Engine->StartConvert(true)->Start();
    ServeUntil([&] { return Turns > 0; });
    Engine->Pause();
    ServeUntil([&] { return Engine->Parked(); });

    Engine->Stop(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_FALSE(Engine->Finished());
    EXPECT_FALSE(Engine->Converting());
    EXPECT_EQ(Engine->Thread(), nullptr);
    EXPECT_FALSE(Engine->FatalException());
    // Pause and resume of an ended job do nothing.
    Engine->Pause();
    Engine->Resume();
}

// The job waits for the main thread while the main thread waits in Stop.
TEST_F(LifecycleTest, StopServesTheJobsCallsIntoTheMainThread) {
    PlaceFiles();
    TEvent InTurn(true, false);
    std::atomic<bool> Stopping{false};
    std::atomic<bool> ServedWhileStopping{false};
    Engine->Turn = [&] {
        InTurn.SetEvent();
        CallInMainThread([&] { ServedWhileStopping = Stopping.load(); });
        return true;
    };
    Engine->StartConvert(true)->Start();
    ASSERT_EQ(InTurn.WaitFor(10000), wrSignaled);
    Stopping = true;
    Engine->Stop(true);
    EXPECT_TRUE(ServedWhileStopping);
    EXPECT_EQ(Terminations, 1);
    EXPECT_FALSE(Engine->Finished());
}

// A pause asked for while the job is being stopped (a queued call served by
// the waiting user-interface thread) must not park the job for good: the
// stop would then wait for ever.
TEST_F(LifecycleTest, APauseAfterTheStopDoesNotParkTheJob) {
    PlaceFiles();
    TEvent InTurn(true, false);
    TEvent Go(true, false);
    Engine->Turn = [&] {
        InTurn.SetEvent();
        Go.WaitFor(INFINITE);
        CallInMainThread([&] { Engine->Pause(); });
        // Where the job's loop passes its gate between two units of work.
        Engine->PassPauseGate();
        return true;
    };
    Engine->StartConvert(true)->Start();
    ASSERT_EQ(InTurn.WaitFor(10000), wrSignaled);
    Engine->Stop(false);
    Go.SetEvent();
    // Served for ten seconds at most: a parked job would never end.
    for (int Slice = 0; Slice < 1000 && Terminated.WaitFor(0) != wrSignaled; ++Slice)
        CheckSynchronize(10);
    EXPECT_EQ(Terminations, 1);
    EXPECT_FALSE(Engine->Parked());
    EXPECT_FALSE(Engine->Finished());
}

TEST_F(LifecycleTest, StopStartsAWorkerThatNeverStarted) {
    PlaceFiles();
    std::atomic<int> Turns{0};
    Engine->Turn = [&] {
        ++Turns;
        return true;
    };
    ASSERT_NE(Engine->StartConvert(true, tpLower), nullptr);
    Engine->Stop(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_FALSE(Engine->Finished());
    EXPECT_EQ(Turns, 0);
    EXPECT_EQ(Engine->nb_input_files(), 0);
    EXPECT_EQ(Engine->nb_output_files(), 0);
}

TEST_F(LifecycleTest, StopOrTerminateEndsAFreshEngineOnItsOwnThread) {
    Engine->StopOrTerminate(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_NE(TerminatedOn.load(), GetCurrentThreadId());
    EXPECT_TRUE(Engine->Terminated());
    // A terminated engine is left alone.
    Engine->StopOrTerminate(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_EQ(Engine->StartConvert(true), nullptr);
}

namespace {

// An opened mpeg4 encoder in a stream record.
// The record only points at its encoder context; the test owns it.
std::shared_ptr<TAVOutputStream> OpenedEncoder(bool AWithStats) {
    std::shared_ptr<TAVOutputStream> Ost(new TAVOutputStream, [](TAVOutputStream* AOst) {
        avcodec::avcodec_free_context(&AOst->enc_ctx);
        delete AOst;
    });
    const AVCodec* Codec = avcodec::avcodec_find_encoder_by_name("mpeg4");
    Ost->enc_ctx = avcodec::avcodec_alloc_context3(Codec);
    Ost->enc_ctx->width = 64;
    Ost->enc_ctx->height = 48;
    Ost->enc_ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    Ost->enc_ctx->time_base = {1, 25};
    EXPECT_EQ(avcodec::avcodec_open2(Ost->enc_ctx, Codec, nullptr), 0);
    if (AWithStats)
        Ost->enc_ctx->stats_in = avutil::av_strdup("statistics of the first pass");
    Ost->encoding_needed = 1;
    return Ost;
}

} // namespace

// The job fails in its body: codecs close, files go (an empty one deleted,
// a written one kept), and the failure is reported once.
TEST_F(LifecycleTest, FailingJobClosesCodecsAndReleasesFiles) {
    Engine->PlaceInput(OpenInput(Clip("clip25.mp4")));
    Engine->PlaceOutput(OpenOutput(Temp.File("empty.ts")));
    AVFormatContext* Written = OpenOutput(Temp.File("written.ts"));
    const char Bytes[] = "partly written";
    avformat::avio_write(Written->pb, reinterpret_cast<const unsigned char*>(Bytes), sizeof Bytes);
    Engine->PlaceOutput(Written);
    auto First = OpenedEncoder(true);
    auto Second = OpenedEncoder(false);
    TTestEngine::AddCodecItem(Engine->FEncoderList, First.get());
    TTestEngine::AddCodecItem(Engine->FEncoderList, Second.get());
    Engine->Turn = []() -> bool { throw FFmpegException("x"); };

    EXPECT_EQ(Engine->StartConvert(false), nullptr);

    EXPECT_EQ(Engine->FEncoderList, nullptr);
    EXPECT_EQ(First->enc_ctx->codec, nullptr);
    EXPECT_EQ(First->enc_ctx->stats_in, nullptr);
    EXPECT_EQ(Second->enc_ctx->codec, nullptr);
    EXPECT_FALSE(FileExists(Temp.File("empty.ts")));
    EXPECT_TRUE(FileExists(Temp.File("written.ts")));
    EXPECT_TRUE(Engine->FatalException());
    EXPECT_EQ(Engine->FatalMessage(), "x");
    EXPECT_EQ(CountLogged(llQuiet, "x"), 1);
    EXPECT_EQ(Terminations, 1);
    EXPECT_FALSE(Engine->Finished());
    EXPECT_EQ(Engine->nb_input_files(), 0);
    EXPECT_EQ(Engine->nb_output_files(), 0);
}

TEST_F(LifecycleTest, CodecListsLinkAndUnlink) {
    TAVInputStream A, B, C;
    TTestEngine::AddCodecItem(Engine->FDecoderList, &A);
    TTestEngine::AddCodecItem(Engine->FDecoderList, &B);
    TTestEngine::AddCodecItem(Engine->FDecoderList, &C);
    // Newest first; removing the middle one keeps both links right.
    TTestEngine::RemoveCodecItem(Engine->FDecoderList, &B);
    TDecoderItem* Head = Engine->FDecoderList;
    ASSERT_EQ(Head->st, &C);
    ASSERT_EQ(Head->Next->st, &A);
    EXPECT_EQ(Head->Next->Prev, Head);
    EXPECT_EQ(Head->Next->Next, nullptr);
    TTestEngine::RemoveCodecItem(Engine->FDecoderList, &B); // not there: nothing happens
    TTestEngine::RemoveCodecItem(Engine->FDecoderList, &C);
    EXPECT_EQ(Engine->FDecoderList->st, &A);
    EXPECT_EQ(Engine->FDecoderList->Prev, nullptr);
    TTestEngine::RemoveCodecItem(Engine->FDecoderList, &A);
    EXPECT_EQ(Engine->FDecoderList, nullptr);
}

// Join segments share one output context; it must be freed once.
TEST_F(LifecycleTest, JoinModeReleasesTheSharedOutputOnce) {
    AVFormatContext* Shared = OpenOutput(Temp.File("joined.ts"));
    for (int I = 0; I < 3; ++I)
        Engine->PlaceOutput(Shared);
    Engine->FJoinMode = true;
    Engine->ReleaseAll();
    EXPECT_EQ(Engine->nb_output_files(), 0);
    for (AVFormatContext* Entry : Engine->Foutput_files)
        EXPECT_EQ(Entry, nullptr);
    EXPECT_FALSE(FileExists(Temp.File("joined.ts")));
}

// What the job leaves pending goes with its files; the option store goes
// until the next reset.
TEST_F(LifecycleTest, ReleaseAllClosesStatisticsAndClearsPendingTexts) {
    Engine->Fvstats_file = myutil::fopen(Temp.File("vstats.log").c_str(), "w");
    ASSERT_NE(Engine->Fvstats_file, nullptr);
    myutil::fprintf(Engine->Fvstats_file, "frame= 1\n");
    Engine->ParseOption("vstats_file", Temp.File("vstats.log"));
    Engine->ParseOption("vcodec", "mpeg4");
    Engine->ParseOption("acodec", "mp2");
    Engine->ParseOption("scodec", "mov_text");
    Engine->ParseOption("tvstd", "pal");
    Engine->ParseOption("rc_override", "0,10,2");
    Engine->ParseOption("slang", "eng");
    Engine->ParseOption("stag", "tx3g");
    Engine->ParseOption("vtag", "XVID");
    std::string Matrix = "16";
    for (int I = 1; I < 64; ++I)
        Matrix += ",16";
    Engine->ParseOption("intra_matrix", Matrix);
    Engine->ReleaseAll();
    EXPECT_EQ(Engine->Fvstats_file, nullptr);
    // Closed, so what was written reached the file.
    EXPECT_GT(GetFileSizeByName(Temp.File("vstats.log")), 0);
    EXPECT_EQ(Engine->Fvstats_filename, "");
    EXPECT_EQ(Engine->Fvideo_codec_name, "");
    EXPECT_EQ(Engine->Faudio_codec_name, "");
    EXPECT_EQ(Engine->Fsubtitle_codec_name, "");
    EXPECT_EQ(Engine->Fvideo_standard, "");
    EXPECT_EQ(Engine->Fvideo_rc_override_string, "");
    EXPECT_EQ(Engine->Fsubtitle_language, "");
    EXPECT_EQ(Engine->Fsubtitle_codec_tag, 0u);
    EXPECT_FALSE(Engine->Fintra_matrix.has_value());
    // Kept: the job's other pending state is the next reset's to clear.
    EXPECT_EQ(Engine->Fvideo_codec_tag, 1145656920u);
    EXPECT_FALSE(Engine->OptDefault("g", "12"));
}

TEST_F(LifecycleTest, DestroyStopsARunningJob) {
    PlaceFiles();
    std::atomic<int> Turns{0};
    Engine->Turn = [&] {
        ++Turns;
        return true;
    };
    Engine->StartConvert(true)->Start();
    ServeUntil([&] { return Turns > 0; });
    Engine.reset();
    EXPECT_EQ(Terminations, 1);
}
