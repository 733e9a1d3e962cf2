// Stream and metadata maps, times, metadata tags, passes, statistics,
// bitstream filters, the direct setters and the post-hook switch.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "media/MyUtils.h"
#include "platform/core/Conversions.h"
#include "platform/core/DateTime.h"
#include "platform/core/Environment.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"

#include <vector>

namespace {

// A reader of the numbers of a map text: base 0 as the C library reads it,
// one separator character skipped between numbers.
class TMapText {
public:
    explicit TMapText(const std::string& AText) : FText(AText.begin(), AText.end()) {
        FText.push_back('\0');
        FPos = FText.data();
    }
    long Number() { return myutil::strtol(FPos, &FPos, 0); }
    double Real() { return myutil::strtod(FPos, &FPos); }
    bool More() const { return *FPos != '\0'; }
    void SkipSeparator() {
        if (More())
            ++FPos;
    }

private:
    std::vector<char> FText;
    char* FPos;
};

} // namespace

void TCustomFFmpeg::OptMap(const std::string& AValue) {
    const int Capacity = FMaxFiles * MAX_STREAMS;
    if (Fnb_stream_maps >= Capacity)
        throw FFmpegException("max stream maps %d reached", {Capacity});
    TAVStreamMap Map;
    TMapText Text(AValue);
    Map.file_index = static_cast<int>(Text.Number());
    Text.SkipSeparator();
    Map.stream_index = static_cast<int>(Text.Number());
    if (Text.More()) {
        Text.SkipSeparator();
        Map.sync_file_index = static_cast<int>(Text.Number());
        Text.SkipSeparator();
        Map.sync_stream_index = static_cast<int>(Text.Number());
    } else {
        Map.sync_file_index = Map.file_index;
        Map.sync_stream_index = Map.stream_index;
    }
    Fstream_maps[Fnb_stream_maps++] = Map;
}

void TCustomFFmpeg::OptMapMetaData(const std::string& AValue) {
    if (Fnb_meta_data_maps >= FMaxFiles)
        throw FFmpegException("max metadata maps %d reached", {FMaxFiles});
    TAVMetaDataMap Map;
    TMapText Text(AValue);
    Map.out_file = static_cast<int>(Text.Number());
    Text.SkipSeparator();
    Map.in_file = static_cast<int>(Text.Number());
    Fmeta_data_maps[Fnb_meta_data_maps++] = Map;
}

void TCustomFFmpeg::OptInputTsScale(const std::string& AValue) {
    TMapText Text(AValue);
    const long Stream = Text.Number();
    Text.SkipSeparator();
    const double Scale = Text.Real();
    // Negative numbers count as huge ones, as an unsigned index would.
    if (static_cast<unsigned long>(Stream) >= static_cast<unsigned long>(MAX_STREAMS))
        throw FFmpegException("stream index over MAX_STREAMS(%d)", {MAX_STREAMS});
    if (Fnb_input_files >= FMaxFiles)
        throw FFmpegException("max input files %d reached", {FMaxFiles});
    Finput_files_ts_scale[Fnb_input_files][Stream] = Scale;
}

std::int64_t TCustomFFmpeg::ParseTime(const std::string& AName, const std::string& AValue,
                                      bool AIsDuration) {
    std::int64_t Time = 0;
    if (avutil::av_parse_time(&Time, AValue.c_str(), AIsDuration ? 1 : 0) < 0)
        throw FFmpegException("Invalid %s given for %s: %s",
                              {AIsDuration ? "duration" : "date", AName, AValue});
    return Time;
}

void TCustomFFmpeg::OptRecordingTime(const std::string& AName, const std::string& AValue) {
    SetRecordingTime(ParseTime(AName, AValue, true));
}

void TCustomFFmpeg::SetRecordingTime(std::int64_t AValue) {
    if (AValue == AV_NOPTS_VALUE)
        return;
    Frecording_time = AValue;
    FTotalOutputDuration = AValue;
}

void TCustomFFmpeg::OptStartTime(const std::string& AName, const std::string& AValue) {
    Fstart_time = ParseTime(AName, AValue, true);
}

void TCustomFFmpeg::SetStartTime(std::int64_t AValue) {
    if (AValue != AV_NOPTS_VALUE)
        Fstart_time = AValue;
}

void TCustomFFmpeg::OptRecordingTimestamp(const std::string& AName, const std::string& AValue) {
    Frecording_timestamp = Round(static_cast<double>(ParseTime(AName, AValue, false)) / 1000000.0);
}

void TCustomFFmpeg::OptInputTsOffset(const std::string& AName, const std::string& AValue) {
    Finput_ts_offset = ParseTime(AName, AValue, true);
}

void TCustomFFmpeg::OptMetadata(const std::string& AValue) {
    const std::size_t Equal = AValue.find('=');
    if (Equal == std::string::npos)
        throw FFmpegException("Missing =");
    AddMetadata(AValue.substr(0, Equal), AValue.substr(Equal + 1));
}

void TCustomFFmpeg::AddMetadata(const std::string& AKey, const std::string& AValue) {
    Fmetadata.push_back({AKey, AValue});
}

void TCustomFFmpeg::OptPass(int AValue) {
    if (AValue != 1 && AValue != 2)
        throw FFmpegException("pass number can be only 1 or 2");
    Fdo_pass = AValue;
}

void TCustomFFmpeg::OptVStatsFile(const std::string& AValue) {
    Fvstats_filename = AValue;
}

void TCustomFFmpeg::OptVStats(bool AEnable) {
    Fvstats_filename.clear();
    if (!AEnable)
        return;
    Fvstats_filename =
        Format("%svstats_%s.log", {GetAppPath(), FormatDateTimeStr("hhnnss", Now())});
}

void TCustomFFmpeg::OptBitstreamFilter(const std::string& AName, const std::string& AValue) {
    if (AName.empty() || AValue.empty() || AValue[0] == '=')
        return;
    const std::string Filter = AValue.substr(0, AValue.find('='));
    if (!avcodec::av_bsf_get_by_name(Filter.c_str()))
        throw FFmpegException("Unknown bitstream filter %s", {Trim(AValue)});
    std::vector<std::string>& Chain = AName[0] == 'v'   ? Fvideo_bitstream_filters
                                      : AName[0] == 'a' ? Faudio_bitstream_filters
                                                        : Fsubtitle_bitstream_filters;
    Chain.push_back(Filter);
}

// ---- Direct setters ----------------------------------------------------------------

void TCustomFFmpeg::SetProgramId(int AValue) {
    if (AValue >= 0)
        Fopt_programid = AValue;
}

void TCustomFFmpeg::SetAudioVolume(int AValue) {
    if (AValue >= 0)
        Faudio_volume = AValue;
}

void TCustomFFmpeg::SetAudioSyncMethod(int AValue) {
    Faudio_sync_method = AValue;
}

void TCustomFFmpeg::SetVideoSyncMethod(int AValue) {
    Fvideo_sync_method = AValue;
}

void TCustomFFmpeg::SetMuxMaxDelay(float AValue) {
    if (AValue > 0)
        Fmux_max_delay = AValue;
}

void TCustomFFmpeg::SetMuxPreload(float AValue) {
    if (AValue > 0)
        Fmux_preload = AValue;
}

// ---- Post hooks ------------------------------------------------------------------------

void TCustomFFmpeg::SetPostHooks(TPostHooks AValue) {
    // A job may hold the lock while it waits for this (user-interface)
    // thread to take a frame: waiting here would deadlock. The job applies
    // the set at its next frame instead.
    TCriticalSection& Lock = PostHookLock();
    if (!Lock.try_lock()) {
        FPendingPostHooks = static_cast<int>(AValue.Bits());
        return;
    }
    try {
        FPendingPostHooks = -1;
        DoSetPostHooks(AValue);
    } catch (...) {
        Lock.unlock();
        throw;
    }
    Lock.unlock();
}

void TCustomFFmpeg::ApplyPendingPostHooks() {
    const int Pending = FPendingPostHooks.exchange(-1);
    if (Pending >= 0)
        DoSetPostHooks(TPostHooks::FromBits(static_cast<unsigned>(Pending)));
}

void TCustomFFmpeg::DoSetPostHooks(TPostHooks AValue) {
    if (AValue.Bits() == FPostHooks)
        return;
    RetirePreviewer(AValue);
    FPostHooks = AValue.Bits();
}
