// The component's task operations, the option text and the output option
// mapping, shown on scripted tasks (see FFmpegQueueTestKit.h).
#include "FFmpegQueueTestKit.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "player/AVProbe.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

const TFFOptionEntry* RecordedOption(const TScriptedTask& ATask, TFFOptionTarget ATarget,
                                     const std::string& AName) {
    for (const TFFOptionEntry& E : ATask.FOptions.entries)
        if (E.Target == ATarget && E.Name == AName)
            return &E;
    return nullptr;
}

std::vector<std::string> MetadataLines(const TScriptedTask& ATask) {
    std::vector<std::string> Lines;
    for (const TAVMetadataTag& Tag : ATask.Fmetadata)
        Lines.push_back(Tag.key + "=" + Tag.value);
    return Lines;
}

} // namespace

TEST(OptionText, LinesAreSplitAtTheirFirstEqualsAndAtEveryKindOfBreak) {
    struct TRow {
        const char* Text;
        std::vector<std::pair<std::string, std::string>> Lines;
    };
    const TRow Rows[] = {
        {"ar=22050<CRLF>ac=1", {{"ar", "22050"}, {"ac", "1"}}},
        {"  a=1\r\nb=2\rc=3\nd=4\r\n\t", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}},
        {"metadata=title=A=B", {{"metadata", "title=A=B"}}},
        {"an\nx =1\n b= 2 ", {{"an", ""}, {"x ", "1"}, {" b", " 2"}}},
        {"", {{"", ""}}},
    };
    for (const TRow& Row : Rows) {
        std::vector<std::pair<std::string, std::string>> Got;
        for (const TOptionLine& Line : SplitOptionText(Row.Text))
            Got.emplace_back(Line.Name, Line.Value);
        EXPECT_EQ(Got, Row.Lines) << Row.Text;
    }
}

TEST_F(QueueTest, AnInputTextIsAppliedInOrderWithItsNamesLowerCased) {
    TInputOptions In;
    In.ExtOptions = "ar=22050<CRLF>ac=1\nVCODEC=mpeg4\nmetadata=title=A=B\nacodec =mp2";
    ASSERT_EQ(Queue->AddTask(Clip, &In), 0) << Queue->LastErrMsg();
    TScriptedTask* Task = Queue->Scripted(0);
    EXPECT_EQ(Task->Faudio_sample_rate, 22050);
    EXPECT_EQ(Task->Faudio_channels, 1);
    EXPECT_EQ(Task->InputDecoder(0, 0), "mpeg4");
    EXPECT_EQ(MetadataLines(*Task), std::vector<std::string>{"title=A=B"});
    // A blank before "=" makes a name no option has: the generic path
    // ignores it without a message, and no codec is set.
    EXPECT_EQ(Task->Faudio_codec_name, "");
    ASSERT_FALSE(Task->Generic.empty());
    EXPECT_EQ(Task->Generic.back(), (std::pair<std::string, bool>{"acodec =mp2", false}));
    EXPECT_EQ(Queue->LastErrMsg(), "");
}

TEST_F(QueueTest, AnOptionErrorEndsTheTextAndTheCallKeepsNoTask) {
    TInputOptions In;
    In.ExtOptions = "ac=1\nr=nonsense\nar=22050";
    EXPECT_EQ(Queue->AddTask(Clip, &In), -1);
    EXPECT_EQ(Queue->LastErrMsg(), "Incorrect frame rate");
    EXPECT_EQ(Queue->TasksCount(), 0);
    ASSERT_EQ(Queue->Made.size(), 1u);
}

TEST_F(QueueTest, AnOutputTextLeavesCodecNamesToTheCodecDefaults) {
    ASSERT_EQ(AddJob(false), 0);
    TOutputOptions Out;
    Out.ExtOptions = "VCODEC=mpeg4";
    ASSERT_TRUE(Queue->SetOutputFile(0, Temp.File("a.nut"), &Out)) << Queue->LastErrMsg();
    EXPECT_EQ(Queue->Scripted(0)->OutputEncoder(0, 0), "mpeg4");

    // A field of the record wins over the text for the main streams.
    ASSERT_EQ(AddJob(false), 1);
    TOutputOptions Out2;
    Out2.VideoCodec = "mpeg2video";
    Out2.ExtOptions = "vcodec=mpeg4";
    ASSERT_TRUE(Queue->SetOutputFile(1, Temp.File("b.nut"), &Out2)) << Queue->LastErrMsg();
    EXPECT_EQ(Queue->Scripted(1)->OutputEncoder(0, 0), "mpeg2video");
}

TEST_F(QueueTest, TheTargetPresetComesFirstAndTheRecordsBitRateStays) {
    ASSERT_EQ(AddJob(false), 0);
    TOutputOptions Out;
    Out.TargetType = ttDVD;
    Out.NormType = ntPAL;
    Out.VideoBitrate = 3000000;
    ASSERT_TRUE(Queue->SetOutputFile(0, Temp.File("dvd.mpg"), &Out)) << Queue->LastErrMsg();
    TScriptedTask* Task = Queue->Scripted(0);
    const TFFOptionEntry* Rate = RecordedOption(*Task, otVideo, "b");
    ASSERT_NE(Rate, nullptr);
    EXPECT_EQ(Rate->Value, "3000000");
    EXPECT_EQ(Task->Fframe_width, 720);
    EXPECT_EQ(Task->Fframe_height, 576);
}

TEST_F(QueueTest, PlainFieldsApplyOnlyWhenSetAndNeverSwitchAFlagOff) {
    struct TRow {
        const char* Name;
        std::function<void(TOutputOptions&)> Fill;
        std::function<void(TScriptedTask&)> Check;
    };
    const TRow Rows[] = {
        {"volume 0 is applied", [](TOutputOptions& O) { O.AudioVolume = 0; },
         [](TScriptedTask& T) { EXPECT_EQ(T.Faudio_volume, 0); }},
        {"volume -1 is not", [](TOutputOptions& O) { O.AudioVolume = -1; },
         [](TScriptedTask& T) { EXPECT_EQ(T.Faudio_volume, 256); }},
        {"audio stays disabled by the text",
         [](TOutputOptions& O) {
             O.DisableAudio = false;
             O.ExtOptions = "an";
         },
         [](TScriptedTask& T) { EXPECT_TRUE(T.Faudio_disable); }},
        {"metadata in field order",
         [](TOutputOptions& O) {
             O.Info.Title = "标题";
             O.Info.Year = 2010;
             O.Info.Track = 3;
         },
         [](TScriptedTask& T) {
             EXPECT_EQ(T.OutputMetadata(0, "title"), "标题");
             EXPECT_EQ(T.OutputMetadata(0, "year"), "2010");
             EXPECT_EQ(T.OutputMetadata(0, "track"), "3");
         }},
        {"a time stamp above 0 is taken as it stands",
         [](TOutputOptions& O) { O.Info.TimeStamp = 1272968430; },
         [](TScriptedTask& T) {
             EXPECT_EQ(T.OutputMetadata(0, "creation_time"), "2010-05-04T10:20:30.000000Z");
         }},
        {"a negative time stamp sets nothing", [](TOutputOptions& O) { O.Info.TimeStamp = -1; },
         [](TScriptedTask& T) { EXPECT_EQ(T.OutputMetadata(0, "creation_time"), ""); }},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const int Index = AddJob(false);
        TOutputOptions Out;
        Row.Fill(Out);
        ASSERT_TRUE(Queue->SetOutputFile(Index, Temp.File("o.nut"), &Out)) << Queue->LastErrMsg();
        Row.Check(*Queue->Scripted(Index));
    }
}

TEST_F(QueueTest, TimeStampZeroIsTheMomentOfTheCallInUniversalTime) {
    const char* OldTZ = std::getenv("TZ");
    const std::string Saved = OldTZ ? OldTZ : "";
    setenv("TZ", "CST-8", 1);
    tzset();
    ASSERT_EQ(AddJob(false), 0);
    TOutputOptions Out;
    Out.Info.TimeStamp = 0;
    const std::time_t Before = std::time(nullptr);
    const bool Done = Queue->SetOutputFile(0, Temp.File("o.nut"), &Out);
    const std::time_t After = std::time(nullptr);
    if (OldTZ)
        setenv("TZ", Saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    ASSERT_TRUE(Done) << Queue->LastErrMsg();
    EXPECT_GE(Queue->Scripted(0)->Frecording_timestamp, Before);
    EXPECT_LE(Queue->Scripted(0)->Frecording_timestamp, After + 1);
}

TEST_F(QueueTest, AFailedCreationAddsNoOutputAndResetsTheKeptRecord) {
    ASSERT_EQ(AddJob(false), 0);
    TOutputOptions Out;
    Out.FileFormat = "no_such_format";
    Out.VideoCodec = "mpeg4";
    EXPECT_FALSE(Queue->SetOutputFile(0, Temp.File("o.xyz"), &Out));
    EXPECT_EQ(Queue->LastErrMsg(),
              "Requested output format 'no_such_format' is not a suitable output format");
    TScriptedTask* Task = Queue->Scripted(0);
    EXPECT_EQ(Task->nb_output_files(), 0);
    ASSERT_NE(Task->OutputOptions(0), nullptr);
    EXPECT_EQ(Task->OutputOptions(0)->FileFormat, "");
    EXPECT_EQ(Task->OutputOptions(0)->VideoCodec, "");
}

// An added stream that cannot be made takes the output it was added to with
// it: false always means that nothing was added, and the task then reports
// that it has no output.
TEST_F(QueueTest, AFailedAddedStreamRemovesTheOutputAgain) {
    ASSERT_EQ(AddJob(false), 0);
    TOutputOptions Out;
    Out.ExtOptions = "acodec=no_such_encoder\nnewaudio";
    Queue->Scripted(0)->Body = nullptr;
    EXPECT_FALSE(Queue->SetOutputFile(0, Temp.File("o.nut"), &Out));
    EXPECT_NE(Queue->LastErrMsg().find("Unknown encoder 'no_such_encoder'"), std::string::npos)
        << Queue->LastErrMsg();
    EXPECT_FALSE(FileExists(Temp.File("o.nut")));
    TScriptedTask* Task = Queue->Scripted(0);
    EXPECT_EQ(Task->nb_output_files(), 0);
    EXPECT_EQ(Task->OutputOptions(0)->ExtOptions, "");
    Queue->Start(1);
    ServeUntil([this] { return AllDoneReceived(); });
    const auto R = Received();
    ASSERT_EQ(R.size(), 2u);
    EXPECT_TRUE(R[0].Exception);
    EXPECT_EQ(R[0].ExceptionMsg, "At least one output file must be specified");
}

TEST_F(QueueTest, ACustomHookOutputBindsTheComponentsRelay) {
    ASSERT_EQ(AddJob(false), 0);
    EXPECT_FALSE(Queue->Scripted(0)->OnCustomHook());
    ASSERT_TRUE(Queue->SetOutputFile(0, Temp.File("o.nut"), "Join=0\ntimelength=x\nHook="))
        << Queue->LastErrMsg();
    TScriptedTask* Task = Queue->Scripted(0);
    EXPECT_TRUE(Task->OnCustomHook() == Queue->HookRelay());
    const TOutputOptions* Kept = Task->OutputOptions(0);
    ASSERT_NE(Kept, nullptr);
    EXPECT_TRUE(Kept->Join);
    EXPECT_TRUE(Kept->CustomHook);
    EXPECT_EQ(Kept->TimeLength, TimeNotGiven);
    EXPECT_EQ(Kept->ExtOptions, "");
}

// ---- The component -------------------------------------------------------------------

TEST_F(QueueTest, LibrariesLoadFromTheSystemWhenTheFolderIsEmpty) {
    TFFmpegQueue Real(nullptr);
    EXPECT_EQ(Real.Version(), "3.3");
    EXPECT_TRUE(Real.LoadAVLib(""));
    EXPECT_TRUE(Real.AVLibLoaded());
    Real.UnloadAVLib();
    // The fixture's own hold keeps the set loaded.
    EXPECT_TRUE(Real.AVLibLoaded());
}

TEST_F(QueueTest, AddTaskOpensTheInputAndItsProberAdoptsIt) {
    EXPECT_EQ(Queue->AddTask(Temp.File("missing.mp4"), "ar=22050"), -1);
    EXPECT_EQ(Queue->LastErrMsg(), Temp.File("missing.mp4") + ": No such file or directory");
    EXPECT_EQ(Queue->TasksCount(), 0);

    TInputOptions Empty;
    ASSERT_EQ(Queue->AddTask(Clip, &Empty), 0);
    EXPECT_EQ(Empty.FileName, Clip);
    TInputOptions Named;
    Named.FileName = "elsewhere.mp4";
    ASSERT_EQ(Queue->AddTask(Clip, &Named), 1);
    EXPECT_EQ(Named.FileName, "elsewhere.mp4");
    EXPECT_EQ(Queue->Scripted(1)->InputOptions(0)->FileName, "elsewhere.mp4");
    // The kept copy is the task's own.
    Named.FileName = "changed";
    EXPECT_EQ(Queue->Scripted(1)->InputOptions(0)->FileName, "elsewhere.mp4");

    TAVProbe* Probe = Queue->GetTaskAVProbe(1, 0);
    ASSERT_NE(Probe, nullptr);
    EXPECT_EQ(Probe->FileHandle(), Queue->Scripted(1)->InputFile(0));
    EXPECT_EQ(Probe->VideoStreamCount(), 1);
    EXPECT_EQ(Probe->AudioStreamCount(), 0);
    EXPECT_EQ(Queue->GetTaskAVProbe(1, 1), nullptr);
    EXPECT_THROW(Queue->GetTaskAVProbe(1, 20), EListError);
}

TEST_F(QueueTest, FileLimitsAreReportedAndInvalidLimitsRaise) {
    Queue->SetCustomMaxFiles(1);
    ASSERT_EQ(AddJob(), 0);
    EXPECT_FALSE(Queue->AddInputFile(0, Clip, "ac=1"));
    EXPECT_EQ(Queue->LastErrMsg(), "max input files 1 reached");
    TOutputOptions Out;
    EXPECT_FALSE(Queue->SetOutputFile(0, Temp.File("second"), &Out));
    EXPECT_EQ(Queue->LastErrMsg(), "max output files 1 reached");

    Queue->SetCustomMaxFiles(2);
    ASSERT_EQ(AddJob(false), 1);
    EXPECT_FALSE(Queue->AddInputFile(1, Temp.File("missing.mp4"), "ac=1"));
    EXPECT_EQ(Queue->Scripted(1)->nb_input_files(), 1);
    EXPECT_EQ(Queue->Scripted(1)->InputOptions(1)->ExtOptions, "");
    EXPECT_TRUE(Queue->AddInputFile(1, Clip, "ac=1"));
    EXPECT_EQ(Queue->Scripted(1)->nb_input_files(), 2);

    for (int Limit : {0, 513}) {
        Queue->SetCustomMaxFiles(Limit);
        EXPECT_THROW(Queue->AddTask(Clip, ""), EAssertionFailed) << Limit;
    }
    EXPECT_EQ(Queue->TasksCount(), 2);
}

TEST_F(QueueTest, ABadTaskIndexRaisesTheListErrorWithTheIndex) {
    AddJob();
    TOutputOptions Out;
    try {
        Queue->SetOutputFile(7, Temp.File("x"), &Out);
        FAIL() << "no error";
    } catch (const EListError& E) {
        EXPECT_NE(E.Message().find("7"), std::string::npos) << E.Message();
    }
    EXPECT_THROW(Queue->RemoveTask(-1), EListError);
    EXPECT_THROW(Queue->Exchange(0, 1), EListError);
}

TEST_F(QueueTest, TheStreamFormsNameAStreamThatNothingServes) {
    TStringStream* NoStream = nullptr;
    EXPECT_EQ(Queue->AddTask(NoStream, "x", nullptr), -1);
    EXPECT_EQ(Queue->LastErrMsg().rfind("stream:0:x: ", 0), 0u) << Queue->LastErrMsg();
}

TEST_F(QueueTest, AfterARunEveryListOperationIsRefusedUntilClearTasks) {
    AddJob();
    Queue->Start(1);
    ServeUntil([this] { return AllDoneReceived(); });
    ASSERT_TRUE(Queue->Working());
    ASSERT_TRUE(Queue->Terminated());
    TInputOptions In;
    TOutputOptions Out;
    const std::pair<const char*, std::function<void()>> Rows[] = {
        {"AddTask", [&] { Queue->AddTask(Clip, &In); }},
        {"AddInputFile", [&] { Queue->AddInputFile(0, Clip, &In); }},
        {"SetOutputFile", [&] { Queue->SetOutputFile(0, "x", &Out); }},
        {"Exchange", [&] { Queue->Exchange(0, 0); }},
        {"RemoveTask", [&] { Queue->RemoveTask(0); }},
        {"StartTask", [&] { Queue->Start(1); }},
    };
    for (const auto& [Name, Call] : Rows) {
        try {
            Call();
            ADD_FAILURE() << Name << " was not refused";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), std::string("Cannot ") + Name + " while working.");
        }
    }
    EXPECT_EQ(Queue->TasksCount(), 1);
    Queue->ClearTasks();
    EXPECT_FALSE(Queue->Working());
    EXPECT_EQ(Queue->TasksCount(), 0);
    EXPECT_EQ(AddJob(), 0);
}

TEST_F(QueueTest, ClearTasksIsRefusedWhileARunGoesOn) {
    std::atomic<bool> Release{false};
    Queue->Body = [&Release](TScriptedTask& T) {
        while (!Release && !T.Broken())
            T.Gate();
    };
    AddJob();
    Queue->SetProgressInterval(50);
    EXPECT_EQ(Queue->ProgressInterval(), 100);
    Queue->SetProgressInterval(250);
    Queue->Start(1);
    EXPECT_EQ(Queue->Scripted(0)->ReportInterval, 250000);
    try {
        Queue->ClearTasks();
        ADD_FAILURE() << "not refused";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Cannot ClearTasks while working.");
    }
    EXPECT_EQ(Queue->TasksCount(), 1);
    Release = true;
    ServeUntil([this] { return AllDoneReceived(); });
    Queue->ClearTasks();
}

TEST_F(QueueTest, PreviewSettingsReachEveryTaskAndKeepTheOtherHooks) {
    AddJob();
    AddJob();
    Queue->SetPreview(true);
    Queue->SetPreviewBitmap(true);
    for (int I = 0; I < 2; ++I)
        EXPECT_EQ(Queue->Task(I)->PostHooks(), (TPostHooks{phPreview, phBitmap})) << I;
    Queue->SetPreviewBitmap(false);
    for (int I = 0; I < 2; ++I)
        EXPECT_EQ(Queue->Task(I)->PostHooks(), (TPostHooks{phPreview})) << I;
    // A task added later takes the current values.
    AddJob();
    EXPECT_EQ(Queue->Task(2)->PostHooks(), (TPostHooks{phPreview}));

    // While a job holds the hook lock (it shows a frame), the setters return
    // at once and the second change builds on the first, still pending.
    TEvent Held, Done;
    std::thread Job([&] {
        std::lock_guard Guard(PostHookLock());
        Held.SetEvent();
        Done.WaitFor();
        for (int I = 0; I < 3; ++I)
            Queue->Task(I)->ApplyPendingPostHooks();
    });
    Held.WaitFor();
    Queue->SetPreview(false);
    Queue->SetPreviewBitmap(true);
    Done.SetEvent();
    Job.join();
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(Queue->Task(I)->PostHooks(), (TPostHooks{phBitmap})) << I;
}

TEST(QueueLibraries, AFailedLoadLeavesTheLoadersMessage) {
    if (FFLoader().Loaded(avFormat))
        GTEST_SKIP() << "another set holds avformat in this process";
    TFFmpegQueue Queue(nullptr);
    TLibraryStatus& Row = FFLoader().Status(avFormat);
    Row.Name = "libavformat-missing.so.59";
    const bool Loaded = Queue.LoadAVLib("");
    Row.Name.clear();
    EXPECT_FALSE(Loaded);
    EXPECT_FALSE(Queue.AVLibLoaded());
    EXPECT_EQ(Queue.LastErrMsg().rfind("Load library libavformat-missing.so.59 error: ", 0), 0u)
        << Queue.LastErrMsg();
    // Nothing is called without the libraries.
    EXPECT_EQ(Queue.AddTask("clip.mp4", ""), -1);
    EXPECT_EQ(Queue.LastErrMsg(), "The converter's libraries are not loaded.");
}

TEST_F(QueueTest, AnOutputThatIsOneOfTheTasksInputsIsRefusedAndTheInputKept) {
    const std::string Second = Temp.File("second.mp4");
    std::filesystem::copy_file(Clip, Second);
    std::filesystem::create_symlink(Clip, Temp.File("link.mp4"));
    std::filesystem::create_hard_link(Second, Temp.File("hard.mp4"));
    const auto Bytes = [](const std::string& Path) {
        std::ifstream In(Path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(In)), {});
    };
    const std::string ClipBytes = Bytes(Clip);
    struct {
        const char* Case;
        std::string Output;
        int Input; // the input it reaches, -1 for none
    } Cases[] = {
        {"the first input by its own name", Clip, 0},
        {"the first input spelt otherwise", Temp.Path() + "/./clip25.mp4", 0},
        {"the first input through a link", Temp.File("link.mp4"), 0},
        {"the second input through a hard link", Temp.File("hard.mp4"), 1},
        {"a file of its own", Temp.File("out.mp4"), -1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Case);
        Queue->ClearTasks();
        ASSERT_EQ(Queue->AddTask(Clip, nullptr), 0) << Queue->LastErrMsg();
        ASSERT_TRUE(Queue->AddInputFile(0, Second, nullptr)) << Queue->LastErrMsg();
        const bool Accepted = Queue->SetOutputFile(0, C.Output, nullptr);
        EXPECT_EQ(Accepted, C.Input < 0) << Queue->LastErrMsg();
        if (C.Input >= 0) {
            EXPECT_EQ(Queue->LastErrMsg(), "Output " + C.Output + " same as Input #" +
                                               std::to_string(C.Input) + " - exiting");
            EXPECT_EQ(Queue->Scripted(0)->nb_output_files(), 0);
        }
        EXPECT_EQ(Bytes(Clip), ClipBytes);
        EXPECT_EQ(Bytes(Second), ClipBytes);
    }
}
