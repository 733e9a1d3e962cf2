// The task queue running the engine's own jobs (stream copies, which the
// engine runs today without encoders): concurrency, progress, pauses and
// stops at the points where a run changes state, and what is left on disk.
#include "FFmpegQueueTestKit.h"
#include "platform/core/Paths.h"
#include "tests/support/MediaProbe.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

namespace {

char ThreadState(TThreadID AThread) {
    std::ifstream Stat("/proc/self/task/" + std::to_string(AThread) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(Stat)), {});
    const std::size_t Close = Text.rfind(')');
    return Close == std::string::npos ? '?' : Text[Close + 2];
}

} // namespace

class QueueJobsTest : public QueueTest {
protected:
    std::string Source;
    std::vector<std::string> Outputs;
    std::vector<int> ConvertingAtEvents;

    void SetUp() override {
        QueueTest::SetUp();
        Queue->RealJobs = true;
    }

    std::string MakeClip(const std::string& AName) {
        const std::string Command = std::string("\"") + OSTRELA_FIXTURES_DIR +
                                    "/make_media.sh\" \"" + Temp.Path() + "\" " + AName;
        EXPECT_EQ(std::system(Command.c_str()), 0);
        return Temp.File(AName);
    }

    // A stream copy of AClip into AOutput on AQueue; with ARealTime the
    // input is read at its own pace, so the job lasts as long as the clip.
    static void AddCopyTask(TFFmpegQueue& AQueue, const std::string& AClip, bool ARealTime,
                            const std::string& AOutput) {
        TInputOptions In;
        if (ARealTime)
            In.ExtOptions = "re";
        const int Index = AQueue.AddTask(AClip, &In);
        ASSERT_GE(Index, 0) << AQueue.LastErrMsg();
        TOutputOptions Out;
        Out.VideoCodec = "copy";
        Out.AudioCodec = "copy";
        ASSERT_TRUE(AQueue.SetOutputFile(Index, AOutput, &Out)) << AQueue.LastErrMsg();
    }

    // A stream copy of the clip into the next of Outputs, with extension AExt.
    void AddCopyJob(const std::string& AClip, bool ARealTime, const char* AExt = ".mkv") {
        Outputs.push_back(Temp.File("job" + std::to_string(Outputs.size()) + AExt));
        AddCopyTask(*Queue, AClip, ARealTime, Outputs.back());
    }

    int Converting() {
        int Count = 0;
        for (int I = 0; I < Queue->TasksCount(); ++I)
            Count += Queue->Task(I)->Converting();
        return Count;
    }

    // Serves calls until the first two tasks sleep at their pause gates;
    // false when one ended before it could (the test fails, not hangs).
    bool BothParked() {
        ServeUntil([this] {
            for (int I = 0; I < 2; ++I)
                if (!Queue->Task(I)->Parked() && Queue->Task(I)->Converting())
                    return false;
            return true;
        });
        return Queue->Task(0)->Parked() && Queue->Task(1)->Parked();
    }

    // One report per task, then the all-done report, nothing else.
    void ExpectEveryTaskReportedOnce() {
        std::multiset<int> Indexes;
        for (const TTerminateInfo& R : Received())
            Indexes.insert(R.TaskIndex);
        std::multiset<int> Expected{-1};
        for (int I = 0; I < Queue->TasksCount(); ++I)
            Expected.insert(I);
        EXPECT_EQ(Indexes, Expected);
        ASSERT_FALSE(Received().empty());
        EXPECT_EQ(Received().back().TaskIndex, -1);
    }

    // After the run every output is a file that probes, or no file at all.
    void ExpectOutputsValidOrGone() {
        Queue->ClearTasks();
        for (const std::string& Name : Outputs)
            if (FileExists(Name)) {
                EXPECT_NE(Probe(Name), "") << Name << " is left and does not probe";
            }
    }
};

TEST_F(QueueJobsTest, FourCopiesOnTwoThreadsReportProgressAndFinish) {
    const std::string Clip = MakeClip("h264aac.mkv");
    for (int I = 0; I < 4; ++I)
        AddCopyJob(Clip, false);
    std::set<int> Progressed;
    Queue->SetOnProgress([&](TObject*, PProgressInfo AInfo) {
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
        EXPECT_LE(Converting(), 2);
        Progressed.insert(AInfo->TaskIndex);
    });
    Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        EXPECT_LE(Converting(), 2);
        Reports.push_back(AInfo);
    });
    Queue->Start(2);
    ServeUntil([this] { return AllDoneReceived(); });
    ExpectEveryTaskReportedOnce();
    for (const TTerminateInfo& R : Received()) {
        EXPECT_TRUE(R.Finished) << R.TaskIndex;
        EXPECT_FALSE(R.Exception) << R.ExceptionMsg;
    }
    EXPECT_EQ(Progressed, (std::set<int>{0, 1, 2, 3}));
    for (const std::string& Name : Outputs)
        EXPECT_NE(Probe(Name).find("h264"), std::string::npos) << Name;
}

TEST_F(QueueJobsTest, PausedJobsSleepAndGoOnWhenResumed) {
    const std::string Clip = MakeClip("h264aac.mkv");
    AddCopyJob(Clip, true);
    AddCopyJob(Clip, true);
    std::set<int> Progressed;
    Queue->SetOnProgress(
        [&](TObject*, PProgressInfo AInfo) { Progressed.insert(AInfo->TaskIndex); });
    // Early reports: the pause comes long before the short jobs could end.
    Queue->SetProgressInterval(100);
    Queue->Start(2);
    ServeUntil([&] { return Progressed.size() == 2 || AllDoneReceived(); });
    ASSERT_FALSE(AllDoneReceived()) << "the jobs ended before they could be paused";
    Queue->Pause();
    ASSERT_TRUE(BothParked()) << "a job ended before it was paused";
    for (int I = 0; I < 2; ++I) {
        TThread* Worker = Queue->Task(I)->Thread();
        ASSERT_NE(Worker, nullptr);
        EXPECT_EQ(ThreadState(Worker->ThreadID()), 'S');
    }
    Queue->Resume();
    ServeUntil([this] { return AllDoneReceived(); });
    ExpectEveryTaskReportedOnce();
    for (const TTerminateInfo& R : Received())
        EXPECT_TRUE(R.Finished) << R.TaskIndex;
}

// Every point where a stop can meet a run: each task reports once, then the
// all-done report, and nothing unplayable stays on disk.
TEST_F(QueueJobsTest, AStopAtEveryStateEndsTheRunCleanly) {
    const std::string Clip = MakeClip("long.mkv");
    enum TPoint { BeforeStart, AfterStart, InProgress, WhilePaused, InTermination, AfterAllDone };
    for (TPoint Point :
         {BeforeStart, AfterStart, InProgress, WhilePaused, InTermination, AfterAllDone}) {
        SCOPED_TRACE(static_cast<int>(Point));
        if (Queue->Working() || Queue->Terminated())
            ExpectOutputsValidOrGone();
        Reports.clear();
        Outputs.clear();
        // MP4: a stopped output must still hold its index.
        const bool Long = Point != AfterAllDone;
        for (int I = 0; I < 3; ++I)
            AddCopyJob(Clip, Long, ".mp4");
        bool Stopped = false;
        Queue->SetOnProgress([&](TObject*, PProgressInfo) {
            if (Point == InProgress && !Stopped) {
                Stopped = true;
                Queue->Stop(false);
            }
        });
        Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            Reports.push_back(AInfo);
            if (Point == InTermination && AInfo.TaskIndex == 0 && !Stopped) {
                Stopped = true;
                Queue->Stop(true);
            }
        });
        if (Point == BeforeStart) {
            Queue->Stop(true);
            ServeUntil([this] { return AllDoneReceived(); });
            EXPECT_FALSE(Queue->Working());
            EXPECT_TRUE(Queue->Terminated());
            ExpectEveryTaskReportedOnce();
            continue;
        }
        Queue->Start(2);
        if (Point == AfterStart)
            Queue->Stop(true);
        if (Point == WhilePaused) {
            ServeUntil([this] { return Converting() == 2; });
            Queue->Pause();
            ASSERT_TRUE(BothParked()) << "a job ended before it was paused";
            Queue->Stop(true);
        }
        if (Point == InTermination) {
            // Task 0 ends first; its handler stops 1 (converting) and 2 (waiting).
            ServeUntil([this] { return Converting() == 2; });
            Queue->Task(0)->Stop(false);
        }
        ServeUntil([this] { return AllDoneReceived(); });
        if (Point == AfterAllDone) {
            const std::size_t Count = Received().size();
            Queue->Stop(true);
            while (CheckSynchronize())
                ;
            EXPECT_EQ(Received().size(), Count);
        }
        EXPECT_TRUE(Queue->Working());
        EXPECT_TRUE(Queue->Terminated());
        ExpectEveryTaskReportedOnce();
        for (const TTerminateInfo& R : Received())
            if (R.TaskIndex >= 0) {
                EXPECT_EQ(R.Finished, Point == AfterAllDone) << R.TaskIndex;
                EXPECT_FALSE(R.Exception) << R.ExceptionMsg;
            }
    }
    ExpectOutputsValidOrGone();
}

// The component itself let go of while its workers convert and call its
// relays, and just after its jobs ended, before anyone served their
// reports (relays on the user-interface thread, and on the workers): it
// stops its workers and waits for them before any part of it is destroyed,
// and no report is delivered any more. The thread sanitizer shows a worker
// that still reaches it.
TEST_F(QueueJobsTest, DestroyingTheComponentStopsItsWorkersFirst) {
    const std::string LongClip = MakeClip("long.mkv");
    // Reports of ended jobs on a delivery thread of their own are delivered
    // before the test could let go: that row would show nothing.
    const std::pair<bool, bool> Rows[] = {{true, true}, {true, false}, {false, true}};
    for (const auto& [Converting, InMainThread] : Rows) {
        SCOPED_TRACE(std::to_string(Converting) + std::to_string(InMainThread));
        auto Component = std::make_unique<TFFmpegQueue>(nullptr);
        Component->SetTriggerEventInMainThread(InMainThread);
        Component->SetProgressInterval(100);
        std::atomic<int> Progress{0};
        std::atomic<int> Terminated{0};
        // Progress on the user-interface thread would wait for a test
        // that does not serve it.
        if (Converting)
            Component->SetOnProgress([&](TObject*, PProgressInfo) { ++Progress; });
        Component->SetOnTerminate([&](TObject*, const TTerminateInfo&) { ++Terminated; });
        std::vector<std::string> Files;
        for (int I = 0; I < 2; ++I) {
            Files.push_back(Temp.File("gone" + std::to_string(Converting) +
                                      std::to_string(InMainThread) + std::to_string(I) + ".mkv"));
            ASSERT_NO_FATAL_FAILURE(
                AddCopyTask(*Component, Converting ? LongClip : Clip, Converting, Files.back()));
        }
        Component->Start(2);
        if (Converting)
            ServeUntil([&] { return Progress >= 4; });
        else
            while (!Component->Terminated())
                std::this_thread::yield();
        Component.reset();
        while (CheckSynchronize())
            ;
        EXPECT_EQ(Terminated, 0);
        for (const std::string& Name : Files)
            if (FileExists(Name)) {
                EXPECT_NE(Probe(Name), "") << Name << " is left and does not probe";
            }
    }
}

namespace {

// One job of the catalogue's kind: its source, its output's extension, the
// record as the main window fills it, and what its output must show.
struct TProfileJob {
    const char* Clip;
    const char* Ext;
    std::function<void(TOutputOptions&)> Fill;
    std::vector<const char*> Expect; // pieces of the probed layout
};

std::string ProbeLayout(const std::string& AFileName) {
    return CommandOutput("ffprobe -v error -show_entries format=format_name:stream=codec_"
                         "name,codec_tag_string,width,height,r_frame_rate,sample_rate,"
                         "channels -of compact=p=0 \"" +
                         AFileName + "\" 2>/dev/null");
}

} // namespace

// Eight encoding jobs of eight profiles on four workers: never more than
// four convert at once, each ends well and its output is what the profile
// asks for.
TEST_F(QueueJobsTest, EightProfilesOnFourWorkers) {
    const std::vector<TProfileJob> Jobs = {
        {"part1.mp4",
         ".avi",
         [](TOutputOptions& O) {
             O.VideoCodec = "mpeg4";
             O.VideoTag = "XVID";
             O.FrameRate = "25";
             O.VideoBitrate = 816000;
             O.AudioCodec = "libmp3lame";
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 44100;
             O.AudioChannels = 2;
         },
         {"format_name=avi", "codec_name=mpeg4|codec_tag_string=XVID|width=320|height=240",
          "codec_name=mp3", "sample_rate=44100|channels=2"}},
        {"h264aac.mkv",
         ".mp4",
         [](TOutputOptions& O) {
             O.VideoCodec = "libx264";
             O.FrameSize = "320x240";
             O.VideoBitrate = 768000;
             O.AudioCodec = "libfaac";
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 44100;
             O.AudioChannels = 2;
         },
         {"format_name=mov", "codec_name=h264|codec_tag_string=avc1|width=320|height=240",
          "codec_name=aac", "sample_rate=44100|channels=2"}},
        {"ref576.mkv",
         ".mpg",
         [](TOutputOptions& O) {
             O.TargetType = ttDVD;
             O.NormType = ntPAL;
         },
         {"format_name=mpeg", "codec_name=mpeg2video", "width=720|height=576", "r_frame_rate=25/1",
          "codec_name=ac3", "sample_rate=48000|channels=2"}},
        {"src_hd.mp4",
         ".wmv",
         [](TOutputOptions& O) {
             O.VideoCodec = "wmv2";
             O.AudioCodec = "wmav2";
             O.FrameRate = "25";
             O.VideoBitrate = 816000;
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 44100;
             O.AudioChannels = 2;
         },
         {"format_name=asf", "codec_name=wmv2", "width=640|height=360", "codec_name=wmav2",
          "sample_rate=44100|channels=2"}},
        {"part2.mp4",
         ".flv",
         [](TOutputOptions& O) {
             O.FrameRate = "25";
             O.VideoBitrate = 816000;
             O.AudioCodec = "libmp3lame";
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 22050;
             O.AudioChannels = 2;
         },
         {"format_name=flv", "codec_name=flv1", "codec_name=mp3", "sample_rate=22050|channels=2"}},
        {"long.mkv",
         ".mp3",
         [](TOutputOptions& O) {
             O.DisableVideo = true;
             O.AudioCodec = "libmp3lame";
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 48000;
             O.AudioChannels = 2;
         },
         {"format_name=mp3", "codec_name=mp3", "sample_rate=48000|channels=2"}},
        {"mono44.wav",
         ".m4a",
         [](TOutputOptions& O) {
             O.AudioCodec = "libfaac";
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 44100;
             O.AudioChannels = 2;
         },
         {"format_name=mov", "codec_name=aac", "sample_rate=44100|channels=2"}},
        {"late.mkv",
         ".mkv",
         [](TOutputOptions& O) {
             O.VideoCodec = "mpeg4";
             O.VideoBitrate = 816000;
             O.AudioCodec = "libmp3lame";
             O.AudioBitrate = 128000;
             O.AudioSampleRate = 44100;
             O.AudioChannels = 2;
         },
         {"format_name=matroska", "codec_name=mpeg4|codec_tag_string=[0][0][0][0]|width=160",
          "codec_name=mp3", "sample_rate=44100|channels=2"}},
    };
    std::vector<std::string> Inputs;
    for (const TProfileJob& Job : Jobs) {
        Inputs.push_back(MakeClip(Job.Clip));
        const int Index = Queue->AddTask(Inputs.back(), nullptr);
        ASSERT_GE(Index, 0) << Queue->LastErrMsg();
        TOutputOptions Out;
        Job.Fill(Out);
        Outputs.push_back(Temp.File("job" + std::to_string(Index) + Job.Ext));
        ASSERT_TRUE(Queue->SetOutputFile(Index, Outputs.back(), &Out)) << Queue->LastErrMsg();
    }
    int MostConverting = 0;
    Queue->SetOnProgress(
        [&](TObject*, PProgressInfo) { MostConverting = std::max(MostConverting, Converting()); });
    Queue->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        MostConverting = std::max(MostConverting, Converting());
        Reports.push_back(AInfo);
    });
    Queue->Start(4);
    ServeUntil([this] { return AllDoneReceived(); });
    EXPECT_LE(MostConverting, 4);
    EXPECT_GE(MostConverting, 2);
    ExpectEveryTaskReportedOnce();
    for (const TTerminateInfo& R : Received()) {
        EXPECT_TRUE(R.Finished) << R.TaskIndex;
        EXPECT_FALSE(R.Exception) << R.TaskIndex << ": " << R.ExceptionMsg;
    }
    for (std::size_t I = 0; I < Jobs.size(); ++I) {
        SCOPED_TRACE(Outputs[I]);
        const std::string Layout = ProbeLayout(Outputs[I]);
        for (const char* Piece : Jobs[I].Expect)
            EXPECT_NE(Layout.find(Piece), std::string::npos) << Piece << " not in\n" << Layout;
        // Within a frame of the input, plus the sound encoders' start-up
        // delay (at most 50 ms for these settings).
        EXPECT_NEAR(ProbedDuration(Outputs[I]), ProbedDuration(Inputs[I]), 0.1);
    }
}

// A pause half-way changes nothing in what bit-exact encoders write.
TEST_F(QueueJobsTest, APausedRunWritesWhatAnUnpausedRunWrites) {
    const std::string Clip = MakeClip("part1.mp4");
    const auto Run = [&](const std::string& APrefix, bool APause) {
        Outputs.clear();
        Reports.clear();
        for (int I = 0; I < 2; ++I) {
            TInputOptions In;
            In.ExtOptions = "re";
            const int Index = Queue->AddTask(Clip, &In);
            ASSERT_GE(Index, 0) << Queue->LastErrMsg();
            TOutputOptions Out;
            Out.VideoCodec = "mpeg4";
            Out.AudioCodec = "mp2";
            Out.ExtOptions = "flags=+bitexact\r\nfflags=+bitexact";
            Outputs.push_back(Temp.File(APrefix + std::to_string(I) + ".mkv"));
            ASSERT_TRUE(Queue->SetOutputFile(Index, Outputs.back(), &Out)) << Queue->LastErrMsg();
        }
        std::set<int> Progressed;
        Queue->SetOnProgress(
            [&](TObject*, PProgressInfo AInfo) { Progressed.insert(AInfo->TaskIndex); });
        Queue->SetOnTerminate(
            [&](TObject*, const TTerminateInfo& AInfo) { Reports.push_back(AInfo); });
        // Early reports: the pause comes long before the short jobs could end.
        Queue->SetProgressInterval(100);
        Queue->Start(2);
        if (APause) {
            ServeUntil([&] { return Progressed.size() == 2 || AllDoneReceived(); });
            ASSERT_FALSE(AllDoneReceived()) << "the jobs ended before they could be paused";
            Queue->Pause();
            ASSERT_TRUE(BothParked()) << "a job ended before it was paused";
            Queue->Resume();
        }
        ServeUntil([this] { return AllDoneReceived(); });
        for (const TTerminateInfo& R : Received())
            EXPECT_TRUE(R.Finished) << R.TaskIndex;
        Queue->ClearTasks();
    };
    const auto Sums = [](const std::string& AFile) {
        return CommandOutput("ffmpeg -nostdin -v error -i \"" + AFile +
                             "\" -map 0 -c copy -f framecrc - | grep -v '^#'");
    };
    Run("plain", false);
    const std::vector<std::string> Plain = Outputs;
    Run("paused", true);
    for (std::size_t I = 0; I < Plain.size(); ++I) {
        const std::string Expected = Sums(Plain[I]);
        EXPECT_FALSE(Expected.empty());
        EXPECT_EQ(Sums(Outputs[I]), Expected) << Outputs[I];
    }
}
