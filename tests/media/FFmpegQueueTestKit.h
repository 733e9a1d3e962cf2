// The task queue as its tests drive it: tasks whose job bodies the test
// scripts (their inputs and outputs are really opened and created), so that
// scheduling, relays and reports can be shown without converting anything. The test's main thread
// is the user-interface thread and serves the workers' calls while it waits.
#pragma once

#include "media/FFmpegLoader.h"
#include "media/FFmpegQueue.h"
#include "media/UnicodeProtocol.h"
#include "platform/core/Threads.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class TScriptedTask : public TFFmpeg {
public:
    TScriptedTask(int AMaxFiles, int AId) : TFFmpeg(AMaxFiles), Id(AId) {}
    ~TScriptedTask() override { Stop(true); }

    // The job body; none ends the job at once, finished.
    std::function<void(TScriptedTask&)> Body;
    const int Id;
    std::atomic<TThreadID> WorkerID{0};
    // Every generic option and its answer, in order.
    std::vector<std::pair<std::string, bool>> Generic;

    bool Broken() const { return FBroken; }
    void Gate() { PassPauseGate(); }
    void Progress(int AFrame) {
        if (FOnProgress)
            FOnProgress(this, 0, AFrame, 25, 2.0f, 100.0f, AFrame * 1000, AFrame * 40000, 400000);
    }

    bool OptDefault(const std::string& AName, const std::string& AValue) override {
        const bool Result = TFFmpeg::OptDefault(AName, AValue);
        Generic.emplace_back(AName + "=" + AValue, Result);
        return Result;
    }
    using TFFmpeg::OptDefault;

    // What the openings made of the options.
    AVFormatContext* Output(int AIndex) const { return Foutput_files.at(AIndex); }
    std::string OutputMetadata(int AIndex, const char* AKey) const {
        const AVDictionaryEntry* Entry =
            avutil::av_dict_get(Output(AIndex)->metadata, AKey, nullptr, 0);
        return Entry ? Entry->value : "";
    }
    // The encoder chosen for a stream of an output ("" for none).
    std::string OutputEncoder(int AIndex, int AStream) const {
        const TAVOutputFileState& State = Foutput_states.at(Output(AIndex));
        const TAVOutputSlot& Slot = *State.Slots.at(AStream);
        return Slot.Encoder ? Slot.Encoder->name : "";
    }
    std::string InputDecoder(int AIndex, int AStream) const {
        const TAVInputSlot* Slot = Finput_slots.at(AIndex).at(AStream).get();
        return Slot && Slot->Decoder ? Slot->Decoder->name : "";
    }

    using TFFmpeg::Faudio_channels;
    using TFFmpeg::Faudio_codec_name;
    using TFFmpeg::Faudio_disable;
    using TFFmpeg::Faudio_sample_rate;
    using TFFmpeg::Faudio_volume;
    using TFFmpeg::Fframe_height;
    using TFFmpeg::Fframe_width;
    using TFFmpeg::Fmetadata;
    using TFFmpeg::FOptions;
    using TFFmpeg::Frecording_timestamp;
    using TFFmpeg::Fvideo_codec_name;

protected:
    void Transcode() override {
        WorkerID = GetCurrentThreadId();
        if (Body)
            Body(*this);
        FFinished = !FBroken;
    }
};

class TTestQueue : public TFFmpegQueue {
public:
    using TFFmpegQueue::TFFmpegQueue;
    // The workers call the relays: they end before this part goes.
    ~TTestQueue() override { EndWork(); }

    // The body every task made from now on gets.
    std::function<void(TScriptedTask&)> Body;
    // Tasks made from now on are the engine's own jobs.
    bool RealJobs = false;
    std::vector<TScriptedTask*> Made;

    TScriptedTask* Scripted(int AIndex) const { return static_cast<TScriptedTask*>(Task(AIndex)); }

    using TCustomFFmpegQueue::DoCustomHook;
    using TCustomFFmpegQueue::DoPreviewBitmap;
    using TCustomFFmpegQueue::DoProgress;
    using TCustomFFmpegQueue::DoTaskTerminate;

    // The relay as an engine event, to compare with what a task holds.
    TCustomFFmpeg::TCustomHookEvent HookRelay() {
        return TCustomFFmpeg::TCustomHookEvent(this, &TTestQueue::DoCustomHook);
    }

protected:
    TFFmpeg* CreateTask(int AMaxFiles) override {
        if (RealJobs)
            return TFFmpegQueue::CreateTask(AMaxFiles);
        auto* Task = new TScriptedTask(AMaxFiles, static_cast<int>(Made.size()));
        Task->Body = Body;
        Made.push_back(Task);
        return Task;
    }
};

// Loads the converter's libraries, makes the test's clip and a queue whose
// reports are recorded in the order they arrive.
class QueueTest : public testing::Test {
protected:
    TTempDir Temp;
    std::string Clip;
    std::unique_ptr<TTestQueue> Queue;
    std::mutex ReportLock;
    std::vector<TTerminateInfo> Reports;

    void SetUp() override {
        ASSERT_TRUE(FFLoader().Load(ConverterLibs)) << FFLoader().LastErrMsg();
        const std::string Command = std::string("\"") + OSTRELA_FIXTURES_DIR +
                                    "/make_media.sh\" \"" + Temp.Path() + "\" clip25.mp4";
        ASSERT_EQ(std::system(Command.c_str()), 0);
        Clip = Temp.File("clip25.mp4");
        Queue = std::make_unique<TTestQueue>(nullptr);
        Queue->SetOnTerminate([this](TObject*, const TTerminateInfo& AInfo) {
            std::lock_guard Guard(ReportLock);
            Reports.push_back(AInfo);
        });
    }

    void TearDown() override {
        Queue.reset();
        FFLoader().Unload(ConverterLibs);
    }

    // Adds a task on the clip with an output (unless AWithOutput is false).
    int AddJob(bool AWithOutput = true) {
        TInputOptions In;
        const int Index = Queue->AddTask(Clip, &In);
        EXPECT_GE(Index, 0) << Queue->LastErrMsg();
        if (AWithOutput) {
            TOutputOptions Out;
            EXPECT_TRUE(Queue->SetOutputFile(
                Index, Temp.File("out" + std::to_string(Index) + ".nut"), &Out))
                << Queue->LastErrMsg();
        }
        return Index;
    }

    std::vector<TTerminateInfo> Received() {
        std::lock_guard Guard(ReportLock);
        return Reports;
    }

    // Serves the workers' calls until APredicate holds.
    static void ServeUntil(const std::function<bool()>& APredicate) {
        while (!APredicate())
            CheckSynchronize(5);
    }

    bool AllDoneReceived() {
        const auto R = Received();
        return !R.empty() && R.back().TaskIndex == -1;
    }

    // The task indexes of the per-task reports, in arrival order, and
    // whether the all-done report came last and only once.
    std::vector<int> ReportOrder() {
        std::vector<int> Order;
        for (const TTerminateInfo& R : Received())
            Order.push_back(R.TaskIndex);
        return Order;
    }
};
