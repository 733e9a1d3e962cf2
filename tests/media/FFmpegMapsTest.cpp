#include "FFmpegTestEngine.h"
#include "media/MyUtils.h"
#include "platform/core/SyncObjects.h"
#include "platform/core/Threads.h"

#include <atomic>
#include <ctime>
#include <functional>
#include <mutex>
#include <thread>

namespace {

std::string RaisedBy(const std::function<void()>& AAction) {
    try {
        AAction();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "(nothing raised)";
}

using MapsTest = EngineTest;

} // namespace

TEST_F(MapsTest, StreamMapsReadCNumbers) {
    struct TRow {
        const char* Text;
        TAVStreamMap Map;
    };
    const TRow Rows[] = {
        {"0:1", {0, 1, 0, 1}},
        {"0.1:1.0", {0, 1, 1, 0}},
        {"010:0x1", {8, 1, 8, 1}},
        {"2", {2, 0, 2, 0}},
    };
    for (const TRow& Row : Rows)
        Engine->ParseOption("map", Row.Text);
    ASSERT_EQ(Engine->Fnb_stream_maps, 4);
    for (int I = 0; I < 4; ++I) {
        const TAVStreamMap& Map = Engine->Fstream_maps[I];
        const TAVStreamMap& Want = Rows[I].Map;
        EXPECT_EQ(Map.file_index, Want.file_index) << Rows[I].Text;
        EXPECT_EQ(Map.stream_index, Want.stream_index) << Rows[I].Text;
        EXPECT_EQ(Map.sync_file_index, Want.sync_file_index) << Rows[I].Text;
        EXPECT_EQ(Map.sync_stream_index, Want.sync_stream_index) << Rows[I].Text;
    }
}

// The tables have room for MaxFiles x 20 stream maps and MaxFiles metadata
// maps; one more is refused instead of written past the end.
TEST_F(MapsTest, MapsStopAtTheirRoom) {
    const int Room = Engine->MaxFiles() * 20;
    for (int I = Engine->Fnb_stream_maps; I < Room; ++I)
        Engine->ParseOption("map", "0:0");
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("map", "1:1"); }),
              "max stream maps " + std::to_string(Room) + " reached");
    EXPECT_EQ(Engine->Fnb_stream_maps, Room);

    Engine->ParseOption("map_meta_data", "1:0");
    EXPECT_EQ(Engine->Fmeta_data_maps[0].out_file, 1);
    EXPECT_EQ(Engine->Fmeta_data_maps[0].in_file, 0);
    for (int I = 1; I < Engine->MaxFiles(); ++I)
        Engine->ParseOption("map_meta_data", "0:0");
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("map_meta_data", "0:1"); }),
              "max metadata maps 4 reached");
    EXPECT_EQ(Engine->Fnb_meta_data_maps, 4);
}

TEST_F(MapsTest, TimeStampScalesGoToTheNextInput) {
    Engine->ParseOption("itsscale", "1:0.5");
    EXPECT_EQ(Engine->Finput_files_ts_scale[0][1], 0.5);
    for (const char* Bad : {"20:1", "-1:1"}) {
        EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("itsscale", Bad); }),
                  "stream index over MAX_STREAMS(20)")
            << Bad;
    }
    // With every input of the limit open there is no next input to scale.
    AVFormatContext* Input = OpenInput(Clip("clip25.mp4"));
    Engine->PlaceInput(Input);
    Engine->ParseOption("itsscale", "0:2");
    EXPECT_EQ(Engine->Finput_files_ts_scale[1][0], 2.0);
    for (int I = 1; I < Engine->MaxFiles(); ++I)
        Engine->PlaceInput(OpenInput(Clip("clip25.mp4")));
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("itsscale", "0:3"); }),
              "max input files 4 reached");
}

TEST_F(MapsTest, TimesAndDurations) {
    Engine->ParseOption("t", "90");
    EXPECT_EQ(Engine->Frecording_time, 90000000);
    EXPECT_EQ(Engine->TotalOutputDuration(), 90000000);
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("t", "x"); }), "Invalid duration given for t: x");
    Engine->SetRecordingTime(AV_NOPTS_VALUE);
    EXPECT_EQ(Engine->Frecording_time, 90000000);
    EXPECT_EQ(Engine->TotalOutputDuration(), 90000000);
    Engine->SetRecordingTime(5);
    EXPECT_EQ(Engine->TotalOutputDuration(), 5);

    Engine->ParseOption("ss", "00:01:02.5");
    EXPECT_EQ(Engine->Fstart_time, 62500000);
    Engine->SetStartTime(AV_NOPTS_VALUE);
    EXPECT_EQ(Engine->Fstart_time, 62500000);
    Engine->ParseOption("itsoffset", "-1.5");
    EXPECT_EQ(Engine->Finput_ts_offset, -1500000);

    std::tm Local{};
    Local.tm_year = 110;
    Local.tm_mon = 4;
    Local.tm_mday = 4;
    Local.tm_hour = 10;
    Local.tm_min = 20;
    Local.tm_sec = 30;
    Local.tm_isdst = -1;
    Engine->ParseOption("timestamp", "2010-05-04 10:20:30");
    EXPECT_EQ(Engine->Frecording_timestamp, static_cast<std::int64_t>(std::mktime(&Local)));
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("timestamp", "never"); }),
              "Invalid date given for timestamp: never");
}

TEST_F(MapsTest, MetadataPassAndStatistics) {
    Engine->ParseOption("metadata", "title=A=B");
    ASSERT_EQ(Engine->Fmetadata.size(), 1u);
    EXPECT_EQ(Engine->Fmetadata[0].key, "title");
    EXPECT_EQ(Engine->Fmetadata[0].value, "A=B");
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("metadata", "title"); }), "Missing =");
    EXPECT_EQ(Engine->Fmetadata.size(), 1u);

    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("pass", "3"); }),
              "pass number can be only 1 or 2");
    EXPECT_EQ(Engine->Fdo_pass, 0);
    Engine->ParseOption("pass", "2");
    EXPECT_EQ(Engine->Fdo_pass, 2);

    Engine->ParseOption("vstats_file", "stats.log");
    EXPECT_EQ(Engine->Fvstats_filename, "stats.log");
    Engine->OptVStats(false);
    EXPECT_EQ(Engine->Fvstats_filename, "");
}

TEST_F(MapsTest, BitstreamFilters) {
    Engine->ParseOption("vbsf", "h264_mp4toannexb");
    Engine->ParseOption("vbsf", "null=arguments");
    EXPECT_EQ(Engine->Fvideo_bitstream_filters,
              (std::vector<std::string>{"h264_mp4toannexb", "null"}));
    EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("absf", " nosuch=1 "); }),
              "Unknown bitstream filter nosuch=1");
    EXPECT_TRUE(Engine->Faudio_bitstream_filters.empty());
    Engine->ParseOption("sbsf", "=null");
    EXPECT_TRUE(Engine->Fsubtitle_bitstream_filters.empty());
}

TEST_F(MapsTest, StreamIds) {
    Engine->ParseOption("streamid", "1:300");
    EXPECT_EQ(Engine->Fstreamid_map[1], 300);
    for (const char* Bad : {"300", ":5", "5:"}) {
        EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("streamid", Bad); }),
                  std::string("Invalid value \"") + Bad +
                      "\" for option \"streamid\", required syntax is \"index:value\"");
    }
    // The table holds 20 entries; other indices are refused, nothing stored.
    for (const char* Bad : {"25:1", "-1:5", "20:1"}) {
        EXPECT_EQ(RaisedBy([&] { Engine->ParseOption("streamid", Bad); }),
                  "stream index over MAX_STREAMS(20)")
            << Bad;
    }
    EXPECT_THROW(Engine->ParseOption("streamid", "x:1"), EConvertError);
    Engine->ParseOption("streamid", "19:7");
    EXPECT_EQ(Engine->Fstreamid_map[19], 7);
}

TEST_F(MapsTest, DirectSettersIgnoreResetValues) {
    Engine->SetAudioVolume(-1);
    Engine->SetMuxPreload(-1.0f);
    Engine->SetMuxMaxDelay(0);
    Engine->SetProgramId(-1);
    EXPECT_EQ(Engine->Faudio_volume, 256);
    EXPECT_EQ(Engine->Fmux_preload, 0.5f);
    EXPECT_EQ(Engine->Fmux_max_delay, 0.7f);
    EXPECT_EQ(Engine->Fopt_programid, 0);
    Engine->SetVideoSyncMethod(-1);
    Engine->SetAudioSyncMethod(-1);
    EXPECT_EQ(Engine->Fvideo_sync_method, -1);
    EXPECT_EQ(Engine->Faudio_sync_method, -1);
    Engine->SetAudioVolume(0);
    Engine->SetProgramId(3);
    Engine->SetMuxPreload(0.25f);
    Engine->SetMuxMaxDelay(0.5f);
    EXPECT_EQ(Engine->Faudio_volume, 0);
    EXPECT_EQ(Engine->Fopt_programid, 3);
    EXPECT_EQ(Engine->Fmux_preload, 0.25f);
    EXPECT_EQ(Engine->Fmux_max_delay, 0.5f);
}

TEST_F(MapsTest, PostHooksApplyAtOnceWhenTheLockIsFree) {
    Engine->SetPostHooks({phPreview, phBitmap});
    EXPECT_EQ(Engine->PostHooks(), (TPostHooks{phPreview, phBitmap}));
    Engine->SetPostHooks({});
    EXPECT_TRUE(Engine->PostHooks().Empty());
}

// A job holds the post-hook lock while it waits for the main thread, which
// meanwhile changes the set: the change must not wait for the lock, and the
// job applies it at its next frame.
TEST_F(MapsTest, PostHookChangeNeverWaitsForABusyJob) {
    std::atomic<bool> Changed{false};
    std::atomic<bool> CallDone{false};
    std::thread Job([&] {
        std::lock_guard Guard(PostHookLock());
        CallInMainThread([&] {
            Engine->SetPostHooks({phBitmap});
            Changed = true;
        });
        Engine->ApplyPendingPostHooks();
        CallDone = true;
    });
    while (!CallDone)
        CheckSynchronize(10);
    Job.join();
    EXPECT_TRUE(Changed);
    EXPECT_EQ(Engine->PostHooks(), (TPostHooks{phBitmap}));
    // Nothing is left pending to undo a later change.
    Engine->SetPostHooks({phPreview});
    Engine->ApplyPendingPostHooks();
    EXPECT_EQ(Engine->PostHooks(), (TPostHooks{phPreview}));
}

// A set left pending when the job ends is applied by the termination.
TEST_F(MapsTest, TerminationAppliesAPendingPostHookSet) {
    TEvent Held(true, false);
    TEvent Release(true, false);
    std::thread Holder([&] {
        std::lock_guard Guard(PostHookLock());
        Held.SetEvent();
        Release.WaitFor();
    });
    Held.WaitFor();
    Engine->SetPostHooks({phHBITMAP});
    EXPECT_TRUE(Engine->PostHooks().Empty());
    Release.SetEvent();
    Holder.join();
    Engine->StartConvert(false);
    EXPECT_EQ(Engine->PostHooks(), (TPostHooks{phHBITMAP}));
}
