// The engine as the engine tests see it: its fields in reach, a job body
// that tests script turn by turn, generic-option results recorded, the log
// of the engine captured, and real format contexts placed as its files.
#pragma once

#include "media/FFmpeg.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/UnicodeProtocol.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// A test-name part made of the letters and digits of AText.
inline std::string TestNamePart(const std::string& AText) {
    std::string Name;
    for (const char C : AText)
        Name += std::isalnum(static_cast<unsigned char>(C)) ? C : '_';
    return Name;
}

class TTestEngine : public TCustomFFmpeg {
public:
    using TCustomFFmpeg::TCustomFFmpeg;
    // The job calls back into this object: it ends before this part goes.
    ~TTestEngine() override { Stop(true); }

    // A scripted job body, turn by turn; without it the real body runs.
    std::function<bool()> Turn;
    // Progress reports so far; with StopAtReport k > 0 the job is asked to
    // stop at its k-th report, and OnReport runs at every report.
    std::atomic<int> Reports{0};
    int StopAtReport = 0;
    std::function<void(int)> OnReport;
    // Every generic option and its answer, in order.
    std::vector<std::pair<std::string, bool>> Generic;

    bool OptDefault(const std::string& AName, const std::string& AValue) override {
        const bool Result = TCustomFFmpeg::OptDefault(AName, AValue);
        Generic.emplace_back(AName + "=" + AValue, Result);
        return Result;
    }
    using TCustomFFmpeg::OptDefault;

    // A real input or output context placed as the next file.
    void PlaceInput(AVFormatContext* AContext) { Finput_files[Fnb_input_files++] = AContext; }
    void PlaceOutput(AVFormatContext* AContext) { Foutput_files[Fnb_output_files++] = AContext; }

    // The recorded option entry of that target and name, or null.
    const TFFOptionEntry* Entry(TFFOptionTarget ATarget, const std::string& AName) const {
        for (const TFFOptionEntry& E : FOptions.entries)
            if (E.Target == ATarget && E.Name == AName)
                return &E;
        return nullptr;
    }

    using TCustomFFmpeg::AddCodecItem;
    using TCustomFFmpeg::ApplyPendingPostHooks;
    using TCustomFFmpeg::check_audio_video_sub_inputs;
    using TCustomFFmpeg::DecodePacket;
    using TCustomFFmpeg::do_audio_out;
    using TCustomFFmpeg::DoSetPostHooks;
    using TCustomFFmpeg::Faudio_size;
    using TCustomFFmpeg::Ffile_table;
    using TCustomFFmpeg::FindCodec;
    using TCustomFFmpeg::Finput_codecs;
    using TCustomFFmpeg::Finput_files_ts_offset;
    using TCustomFFmpeg::Finput_slots;
    using TCustomFFmpeg::Fist_table;
    using TCustomFFmpeg::Fnb_frames_drop;
    using TCustomFFmpeg::Fnb_frames_dup;
    using TCustomFFmpeg::Fnb_segment_streams;
    using TCustomFFmpeg::Fost_table;
    using TCustomFFmpeg::Foutput_codecs;
    using TCustomFFmpeg::Foutput_states;
    using TCustomFFmpeg::InitBitstreamFilters;
    using TCustomFFmpeg::InitInputClocks;
    using TCustomFFmpeg::OpenDecoders;
    using TCustomFFmpeg::OpenEncoders;
    using TCustomFFmpeg::OutputSlot;
    using TCustomFFmpeg::OutputState;
    using TCustomFFmpeg::PassPauseGate;
    using TCustomFFmpeg::ReleaseAll;
    using TCustomFFmpeg::ReleaseTables;
    using TCustomFFmpeg::RemoveCodecItem;
    using TCustomFFmpeg::SetDefaults;
    using TCustomFFmpeg::SetupStreams;
    using TCustomFFmpeg::SubtitleOut;
    using TCustomFFmpeg::VideoOut;
    using TCustomFFmpeg::WriteHeaders;
    using TCustomFFmpeg::WritePacket;

    using TCustomFFmpeg::Faudio_bitstream_filters;
    using TCustomFFmpeg::Faudio_channels;
    using TCustomFFmpeg::Faudio_codec_name;
    using TCustomFFmpeg::Faudio_codec_tag;
    using TCustomFFmpeg::Faudio_disable;
    using TCustomFFmpeg::Faudio_drift_threshold;
    using TCustomFFmpeg::Faudio_language;
    using TCustomFFmpeg::Faudio_qscale;
    using TCustomFFmpeg::Faudio_sample_fmt;
    using TCustomFFmpeg::Faudio_sample_rate;
    using TCustomFFmpeg::Faudio_stream_copy;
    using TCustomFFmpeg::Faudio_sync_method;
    using TCustomFFmpeg::Faudio_volume;
    using TCustomFFmpeg::Fbit_buffer_size;
    using TCustomFFmpeg::Fchannel_layout;
    using TCustomFFmpeg::Fcopy_initial_nonkeyframes;
    using TCustomFFmpeg::Fcopy_ts;
    using TCustomFFmpeg::FDecoderList;
    using TCustomFFmpeg::Fdo_deinterlace;
    using TCustomFFmpeg::Fdo_hex_dump;
    using TCustomFFmpeg::Fdo_pass;
    using TCustomFFmpeg::Fdo_pkt_dump;
    using TCustomFFmpeg::Fdo_psnr;
    using TCustomFFmpeg::Fdts_delta_threshold;
    using TCustomFFmpeg::FEncoderList;
    using TCustomFFmpeg::Fexit_on_error;
    using TCustomFFmpeg::Fforce_fps;
    using TCustomFFmpeg::Fframe_aspect_ratio;
    using TCustomFFmpeg::Fframe_bottomBand;
    using TCustomFFmpeg::Fframe_height;
    using TCustomFFmpeg::Fframe_leftBand;
    using TCustomFFmpeg::Fframe_pix_fmt;
    using TCustomFFmpeg::Fframe_rate;
    using TCustomFFmpeg::Fframe_rightBand;
    using TCustomFFmpeg::Fframe_topBand;
    using TCustomFFmpeg::Fframe_width;
    using TCustomFFmpeg::Finput_files;
    using TCustomFFmpeg::Finput_files_ts_scale;
    using TCustomFFmpeg::Finput_sync;
    using TCustomFFmpeg::Finput_ts_offset;
    using TCustomFFmpeg::Finter_matrix;
    using TCustomFFmpeg::Fintra_dc_precision;
    using TCustomFFmpeg::Fintra_matrix;
    using TCustomFFmpeg::Fintra_only;
    using TCustomFFmpeg::FJoinMode;
    using TCustomFFmpeg::Flast_asked_format;
    using TCustomFFmpeg::Flimit_filesize;
    using TCustomFFmpeg::Floop_input;
    using TCustomFFmpeg::Floop_output;
    using TCustomFFmpeg::Fmax_frames;
    using TCustomFFmpeg::Fme_threshold;
    using TCustomFFmpeg::Fmeta_data_maps;
    using TCustomFFmpeg::Fmetadata;
    using TCustomFFmpeg::Fmux_max_delay;
    using TCustomFFmpeg::Fmux_preload;
    using TCustomFFmpeg::Fnb_meta_data_maps;
    using TCustomFFmpeg::Fnb_stream_maps;
    using TCustomFFmpeg::Fopt_programid;
    using TCustomFFmpeg::Fopt_shortest;
    using TCustomFFmpeg::FOptions;
    using TCustomFFmpeg::Foutput_files;
    using TCustomFFmpeg::Fpass_logfilename_prefix;
    using TCustomFFmpeg::Fpgmyuv_compatibility_hack;
    using TCustomFFmpeg::Fqp_hist;
    using TCustomFFmpeg::Frate_emu;
    using TCustomFFmpeg::Frecording_time;
    using TCustomFFmpeg::Frecording_timestamp;
    using TCustomFFmpeg::Fsame_quality;
    using TCustomFFmpeg::Fstart_time;
    using TCustomFFmpeg::Fstream_maps;
    using TCustomFFmpeg::Fstreamid_map;
    using TCustomFFmpeg::Fsubtitle_bitstream_filters;
    using TCustomFFmpeg::Fsubtitle_codec_name;
    using TCustomFFmpeg::Fsubtitle_codec_tag;
    using TCustomFFmpeg::Fsubtitle_disable;
    using TCustomFFmpeg::Fsubtitle_language;
    using TCustomFFmpeg::Fsubtitle_stream_copy;
    using TCustomFFmpeg::Fsws_flags;
    using TCustomFFmpeg::Fthread_count;
    using TCustomFFmpeg::Ftop_field_first;
    using TCustomFFmpeg::Fusing_vhook;
    using TCustomFFmpeg::Fverbose;
    using TCustomFFmpeg::Fvfilters;
    using TCustomFFmpeg::Fvideo_bitstream_filters;
    using TCustomFFmpeg::Fvideo_channel;
    using TCustomFFmpeg::Fvideo_codec_name;
    using TCustomFFmpeg::Fvideo_codec_tag;
    using TCustomFFmpeg::Fvideo_disable;
    using TCustomFFmpeg::Fvideo_discard;
    using TCustomFFmpeg::Fvideo_global_header;
    using TCustomFFmpeg::Fvideo_language;
    using TCustomFFmpeg::Fvideo_qscale;
    using TCustomFFmpeg::Fvideo_rc_override_string;
    using TCustomFFmpeg::Fvideo_standard;
    using TCustomFFmpeg::Fvideo_stream_copy;
    using TCustomFFmpeg::Fvideo_sync_method;
    using TCustomFFmpeg::Fvstats_file;
    using TCustomFFmpeg::Fvstats_filename;

protected:
    void Transcode() override {
        if (!Turn) {
            TCustomFFmpeg::Transcode();
            return;
        }
        while (!FBroken) {
            PassPauseGate();
            if (!Turn())
                break;
        }
        FFinished = !FBroken;
    }

    void ReportProgress(bool ALast, int AFileIndex) override {
        TCustomFFmpeg::ReportProgress(ALast, AFileIndex);
        if (ALast)
            return;
        const int Count = ++Reports;
        if (OnReport)
            OnReport(Count);
        if (StopAtReport > 0 && Count == StopAtReport)
            Stop(false);
    }
};

// One captured line of the engine's log.
struct TLoggedLine {
    TLogLevel Level;
    std::string Msg;
};

// Loads the converter's libraries, gives each test a fresh engine (reset, so
// its option store exists) and captures what the engine logs.
class EngineTest : public testing::Test {
protected:
    std::unique_ptr<TTestEngine> Engine;
    TTempDir Temp;

    void SetUp() override {
        ASSERT_TRUE(FFLoader().Load(ConverterLibs)) << FFLoader().LastErrMsg();
        TFFLogger* Logger = GetFFLogger();
        Logger->SetTriggerEventInMainThread(false);
        Logger->SetLogLevel(llVerbose);
        Logger->OnLog = [this](TObject* Sender, TThreadID, TLogLevel ALevel,
                               const std::string& AMsg) {
            std::lock_guard Guard(FLogLock);
            if (Sender && Sender == Engine.get())
                FLogged.push_back({ALevel, AMsg});
            else if (Sender == GetFFLogger())
                FAVLogged.push_back({ALevel, AMsg});
        };
        Engine = std::make_unique<TTestEngine>(4);
        Engine->ResetJob();
    }

    void TearDown() override {
        Engine.reset();
        TFFLogger* Logger = GetFFLogger();
        Logger->OnLog = nullptr;
        Logger->SetTriggerEventInMainThread(true);
        Logger->SetLogLevel(llInfo);
        FFLoader().Unload(ConverterLibs);
    }

    std::vector<TLoggedLine> Logged() {
        std::lock_guard Guard(FLogLock);
        return FLogged;
    }
    void ClearLog() {
        std::lock_guard Guard(FLogLock);
        FLogged.clear();
        FAVLogged.clear();
    }
    // What FFmpeg's own code logged through the logger's callback (the
    // format dumps among it), line by line.
    std::vector<TLoggedLine> AVLogged() {
        std::lock_guard Guard(FLogLock);
        return FAVLogged;
    }
    int CountLogged(TLogLevel ALevel, const std::string& AMsg) {
        int Count = 0;
        for (const TLoggedLine& Line : Logged())
            Count += Line.Level == ALevel && Line.Msg == AMsg;
        return Count;
    }

    // A clip of the fixture generator, made once per build tree and shared
    // by the tests, which only read it.
    static std::string Clip(const std::string& AName) {
        const std::string Command = std::string("\"") + OSTRELA_FIXTURES_DIR +
                                    "/make_media.sh\" \"" + OSTRELA_CLIP_CACHE + "\" \"" + AName +
                                    "\"";
        EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
        return std::string(OSTRELA_CLIP_CACHE) + "/" + AName;
    }

    // What a command printed on its standard output.
    static std::string RunCommand(const std::string& ACommand) {
        std::string Output;
        if (FILE* Pipe = popen(ACommand.c_str(), "r")) {
            char Buffer[4096];
            std::size_t Count;
            while ((Count = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0)
                Output.append(Buffer, Count);
            pclose(Pipe);
        }
        return Output;
    }

    // A file name in quotes for the shell.
    static std::string Quoted(const std::string& AName) { return "'" + AName + "'"; }

    // An opened input of a clip.
    static AVFormatContext* OpenInput(const std::string& AFileName) {
        AVFormatContext* Context = nullptr;
        EXPECT_EQ(avformat::avformat_open_input(&Context, AFileName.c_str(), nullptr, nullptr), 0);
        if (Context) {
            EXPECT_GE(avformat::avformat_find_stream_info(Context, nullptr), 0);
        }
        return Context;
    }

    // An output context of the named muxer whose file is open for writing.
    static AVFormatContext* OpenOutput(const std::string& AFileName,
                                       const char* AFormat = "mpegts") {
        AVFormatContext* Context = nullptr;
        EXPECT_GE(
            avformat::avformat_alloc_output_context2(&Context, nullptr, AFormat, AFileName.c_str()),
            0);
        if (Context) {
            EXPECT_GE(UnicodeAVIOOpen(&Context->pb, AFileName, AVIO_FLAG_WRITE, nullptr, nullptr),
                      0);
        }
        return Context;
    }

private:
    std::mutex FLogLock;
    std::vector<TLoggedLine> FLogged;
    std::vector<TLoggedLine> FAVLogged;
};
