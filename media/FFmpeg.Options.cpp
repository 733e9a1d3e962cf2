// The option dispatcher and the handlers of picture, codec, format, filter,
// frame-hook and matrix options.
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "media/MyUtilStubs.h"
#include "platform/core/Conversions.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"

#include <cstring>
#include <unordered_map>

namespace {

using TOptionHandler = void (*)(TCustomFFmpeg&, const std::string&, const std::string&);

bool FlagValue(const std::string& AValue) {
    return AValue != "0";
}

float RealValue(const std::string& AValue) {
    return static_cast<float>(StrToFloat(AValue));
}

} // namespace

// The table lives in a member so that its handlers reach the engine's fields.
// Every name maps to one action; a name that is not here takes the generic
// path. The platform's code page is UTF-8, so the "8-bit" texts are the
// values as given.
void TCustomFFmpeg::ParseOption(const std::string& AName, const std::string& AValue) {
#define OPT(Name, Body)                                                                            \
    {                                                                                              \
        Name, [](TCustomFFmpeg& E, const std::string& N, const std::string& V) {                   \
            (void)E;                                                                               \
            (void)N;                                                                               \
            (void)V;                                                                               \
            Body;                                                                                  \
        }                                                                                          \
    }
    static const std::unordered_map<std::string, TOptionHandler> Table = {
        // Options that do nothing, are refused, or act outside the engine.
        OPT("L", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("h", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("version", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("formats", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("codecs", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("bsfs", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("protocols", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("filters", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("i", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("y", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("benchmark", E.Log(llInfo, "Do nothing: option - " + N)),
        OPT("timelimit", E.Log(llWarning, "Warning: -timelimit not implemented on Windows")),
        OPT("loglevel", GetFFLogger()->OptLogLevel(V)),
        OPT("threads", throw FFmpegException("TODO: option - " + N)),
        OPT("padtop", throw FFmpegException("Please use vfilters=pad")),
        OPT("padbottom", throw FFmpegException("Please use vfilters=pad")),
        OPT("padleft", throw FFmpegException("Please use vfilters=pad")),
        OPT("padright", throw FFmpegException("Please use vfilters=pad")),
        OPT("padcolor", throw FFmpegException("Please use vfilters=pad")),

        // Files, times, maps, muxing and general options.
        OPT("f", E.OptFormat(V)),
        OPT("map", E.OptMap(V)),
        OPT("map_meta_data", E.OptMapMetaData(V)),
        OPT("t", E.OptRecordingTime(N, V)),
        OPT("ss", E.OptStartTime(N, V)),
        OPT("itsoffset", E.OptInputTsOffset(N, V)),
        OPT("timestamp", E.OptRecordingTimestamp(N, V)),
        OPT("itsscale", E.OptInputTsScale(V)),
        OPT("metadata", E.OptMetadata(V)),
        OPT("fs", E.Flimit_filesize = StrToInt64(V)),
        OPT("dframes", E.Fmax_frames[2] = StrToInt(V)),
        OPT("dump", E.Fdo_pkt_dump = FlagValue(V)),
        OPT("hex", E.Fdo_hex_dump = FlagValue(V)),
        OPT("re", E.Frate_emu = FlagValue(V)),
        OPT("loop_input", E.Floop_input = FlagValue(V)),
        OPT("loop_output", E.Floop_output = StrToInt(V)),
        OPT("v", E.OptVerbose(StrToInt(V))),
        OPT("target", E.OptTarget(V)),
        OPT("vsync", E.Fvideo_sync_method = StrToInt(V)),
        OPT("async", E.Faudio_sync_method = StrToInt(V)),
        OPT("adrift_threshold", E.Faudio_drift_threshold = RealValue(V)),
        OPT("vglobal", E.Fvideo_global_header = StrToInt(V)),
        OPT("copyts", E.Fcopy_ts = true),
        OPT("shortest", E.Fopt_shortest = FlagValue(V)),
        OPT("dts_delta_threshold", E.Fdts_delta_threshold = RealValue(V)),
        OPT("programid", E.Fopt_programid = StrToInt(V)),
        OPT("xerror", E.Fexit_on_error = true),
        OPT("copyinkf", E.Fcopy_initial_nonkeyframes = StrToInt(V)),
        OPT("pass", E.OptPass(StrToInt(V))),
        OPT("passlogfile", E.Fpass_logfilename_prefix = V),
        OPT("vstats", E.OptVStats(true)),
        OPT("vstats_file", E.OptVStatsFile(V)),
        OPT("streamid", E.OptStreamId(N, V)),
        OPT("isync", E.Finput_sync = FlagValue(V)),
        OPT("muxdelay", E.Fmux_max_delay = RealValue(V)),
        OPT("muxpreload", E.Fmux_preload = RealValue(V)),
        OPT("fpre", E.ApplyPreset(N, V)),

        // Video options.
        OPT("b", E.OptBitrate(N, V)),
        OPT("vb", E.OptBitrate(N, V)),
        OPT("vframes", E.Fmax_frames[0] = StrToInt(V)),
        OPT("r", E.OptFrameRate(V)),
        OPT("s", E.OptFrameSize(V)),
        OPT("aspect", E.OptAspect(V)),
        OPT("pix_fmt", E.OptPixFmt(V)),
        OPT("croptop", E.OptCropTop(StrToInt(V))),
        OPT("cropbottom", E.OptCropBottom(StrToInt(V))),
        OPT("cropleft", E.OptCropLeft(StrToInt(V))),
        OPT("cropright", E.OptCropRight(StrToInt(V))),
        OPT("intra", E.Fintra_only = FlagValue(V)),
        OPT("vn", E.Fvideo_disable = FlagValue(V)),
        OPT("vdt", E.Fvideo_discard = StrToInt(V)),
        OPT("qscale", E.OptQScale(RealValue(V))),
        OPT("rc_override", E.OptRcOverride(V)),
        OPT("vcodec", E.OptVideoCodec(V)),
        OPT("me_threshold", E.OptMeThreshold(StrToInt(V))),
        OPT("sameq", E.Fsame_quality = FlagValue(V)),
        OPT("deinterlace", E.Fdo_deinterlace = FlagValue(V)),
        OPT("psnr", E.Fdo_psnr = FlagValue(V)),
        OPT("vhook", E.OptVHook(V)),
        OPT("vfilters", E.OptVFilters(V)),
        OPT("vf", E.OptVFilters(V)),
        OPT("intra_matrix", E.OptIntraMatrix(V)),
        OPT("inter_matrix", E.OptInterMatrix(V)),
        OPT("top", E.OptTopFieldFirst(StrToInt(V))),
        OPT("dc", E.Fintra_dc_precision = StrToInt(V)),
        OPT("vtag", E.OptVideoTag(V)),
        OPT("newvideo", E.OptNewStream(AVMEDIA_TYPE_VIDEO)),
        OPT("vlang", E.Fvideo_language = V),
        OPT("qphist", E.Fqp_hist = FlagValue(V)),
        OPT("force_fps", E.Fforce_fps = FlagValue(V)),
        OPT("vc", E.OptVideoChannel(StrToInt(V))),
        OPT("tvstd", E.OptVideoStandard(V)),
        OPT("vbsf", E.OptBitstreamFilter(N, V)),
        OPT("vpre", E.ApplyPreset(N, V)),

        // Audio and subtitle options.
        OPT("ab", E.OptBitrate(N, V)),
        OPT("aframes", E.Fmax_frames[1] = StrToInt(V)),
        OPT("aq", E.Faudio_qscale = RealValue(V)),
        OPT("ar", E.OptAudioSampleRate(StrToInt(V))),
        OPT("ac", E.OptAudioChannels(StrToInt(V))),
        OPT("an", E.Faudio_disable = FlagValue(V)),
        OPT("acodec", E.OptAudioCodec(V)),
        OPT("atag", E.OptAudioTag(V)),
        OPT("vol", E.Faudio_volume = StrToInt(V)),
        OPT("newaudio", E.OptNewStream(AVMEDIA_TYPE_AUDIO)),
        OPT("alang", E.Faudio_language = V),
        OPT("sample_fmt", E.OptAudioSampleFmt(V)),
        OPT("absf", E.OptBitstreamFilter(N, V)),
        OPT("apre", E.ApplyPreset(N, V)),
        OPT("sn", E.Fsubtitle_disable = FlagValue(V)),
        OPT("scodec", E.OptSubtitleCodec(V)),
        OPT("newsubtitle", E.OptNewStream(AVMEDIA_TYPE_SUBTITLE)),
        OPT("slang", E.Fsubtitle_language = V),
        OPT("stag", E.OptSubtitleTag(V)),
        OPT("sbsf", E.OptBitstreamFilter(N, V)),
        OPT("spre", E.ApplyPreset(N, V)),
    };
#undef OPT
    const auto Found = Table.find(AName);
    if (Found != Table.end())
        Found->second(*this, AName, AValue);
    else
        OptDefault(AName, AValue);
}

// ---- Generic options -----------------------------------------------------------

bool TCustomFFmpeg::OptDefault(const std::string& AName, const std::string& AValue) {
    return SetOptionDefault(FOptions, AName, AValue);
}

bool TCustomFFmpeg::OptDefault(const std::string& AName, int AValue) {
    return OptDefault(AName, IntToStr(AValue));
}

void TCustomFFmpeg::OptFormat(const std::string& AValue) {
    if (AValue.empty())
        return;
    std::string Value = AValue;
    if (Value == "pgmyuv") {
        Fpgmyuv_compatibility_hack = 1;
        Value = "image2";
        Log(llInfo, "pgmyuv format is deprecated, use image2");
    }
    Flast_asked_format = Value;
    // Names the muxer, so that its private options given next are accepted.
    if (FOptions.avcodec_opts[otVideo])
        SetMuxer(FOptions, avformat::av_guess_format(Value.c_str(), nullptr, nullptr));
}

bool TCustomFFmpeg::OptBitrate(const std::string& AName, const std::string& AValue) {
    if (AName.empty() || AValue.empty())
        return false;
    if (!OptDefault(AName, AValue))
        return false;
    AVCodecContext* Context =
        AName[0] == 'a' ? FOptions.avcodec_opts[otAudio] : FOptions.avcodec_opts[otVideo];
    std::int64_t BitRate = 0;
    if (Context && avutil::av_opt_get_int(Context, "b", 0, &BitRate) >= 0 && BitRate < 1000)
        Log(llWarning, "WARNING: The bitrate parameter is set too low. It takes bits/s as "
                       "argument, not kbits/s");
    return true;
}

// ---- Picture geometry ------------------------------------------------------------

void TCustomFFmpeg::OptFrameRate(const std::string& AValue) {
    if (AValue.empty())
        return;
    AVRational Rate{0, 0};
    if (avutil::av_parse_video_rate(&Rate, AValue.c_str()) < 0)
        throw FFmpegException("Incorrect frame rate");
    Fframe_rate = Rate;
}

void TCustomFFmpeg::OptFrameSize(const std::string& AValue) {
    if (AValue.empty())
        return;
    int Width = 0;
    int Height = 0;
    if (avutil::av_parse_video_size(&Width, &Height, AValue.c_str()) < 0)
        throw FFmpegException("Incorrect frame size");
    Fframe_width = Width;
    Fframe_height = Height;
}

void TCustomFFmpeg::OptCrop(int AValue, bool AVertical, int& ABand) {
    if (AValue <= 0)
        return;
    int& Size = AVertical ? Fframe_height : Fframe_width;
    if (AValue >= Size)
        throw FFmpegException(std::string(AVertical ? "Vertical" : "Horizontal") +
                              " crop dimensions are outside the range of the original image.\n"
                              "Remember to crop first and scale second.");
    Log(llWarning, "CropXXX is deprecated in favor of the crop avfilter");
    ABand = AValue;
    Size -= AValue;
}

void TCustomFFmpeg::OptCropTop(int AValue) {
    OptCrop(AValue, true, Fframe_topBand);
}

void TCustomFFmpeg::OptCropBottom(int AValue) {
    OptCrop(AValue, true, Fframe_bottomBand);
}

void TCustomFFmpeg::OptCropLeft(int AValue) {
    OptCrop(AValue, false, Fframe_leftBand);
}

void TCustomFFmpeg::OptCropRight(int AValue) {
    OptCrop(AValue, false, Fframe_rightBand);
}

void TCustomFFmpeg::ListFormats(bool APixelFormats) {
    char Line[128];
    const auto LogLine = [&] { Log(llInfo, Trim(Line)); };
    if (APixelFormats) {
        avutil::av_get_pix_fmt_string(Line, sizeof Line, AV_PIX_FMT_NONE);
        LogLine();
        for (const AVPixFmtDescriptor* Desc = avutil::av_pix_fmt_desc_next(nullptr); Desc;
             Desc = avutil::av_pix_fmt_desc_next(Desc)) {
            avutil::av_get_pix_fmt_string(Line, sizeof Line, avutil::av_pix_fmt_desc_get_id(Desc));
            LogLine();
        }
        return;
    }
    for (int Format = AV_SAMPLE_FMT_NONE; Format < AV_SAMPLE_FMT_NB; ++Format) {
        avutil::av_get_sample_fmt_string(Line, sizeof Line, static_cast<AVSampleFormat>(Format));
        LogLine();
    }
}

void TCustomFFmpeg::OptPixFmt(const std::string& AValue) {
    if (AValue == "list") {
        ListFormats(true);
        return;
    }
    Fframe_pix_fmt = avutil::av_get_pix_fmt(AValue.c_str());
    if (Fframe_pix_fmt == AV_PIX_FMT_NONE)
        throw FFmpegException("Unknown pixel format requested: %s", {AValue});
}

void TCustomFFmpeg::OptAudioSampleFmt(const std::string& AValue) {
    if (AValue == "list") {
        ListFormats(false);
        return;
    }
    Faudio_sample_fmt = avutil::av_get_sample_fmt(AValue.c_str());
}

void TCustomFFmpeg::OptAspect(const std::string& AValue) {
    if (AValue.empty())
        return;
    double Ratio = 0;
    const std::size_t Colon = AValue.find(':');
    if (Colon != std::string::npos) {
        const int X = StrToIntDef(AValue.substr(0, Colon), 0);
        const int Y = StrToIntDef(AValue.substr(Colon + 1), 0);
        if (Y > 0)
            Ratio = static_cast<double>(X) / Y;
    } else
        Ratio = StrToFloatDef(AValue, 0);
    if (Ratio == 0)
        throw FFmpegException("Incorrect aspect ratio: give it as w:h or as a number.");
    Fframe_aspect_ratio = static_cast<float>(Ratio);
}

void TCustomFFmpeg::OptQScale(float AValue) {
    if (AValue <= 0 || AValue > 255)
        throw FFmpegException("qscale must be > 0.0 and <= 255");
    Fvideo_qscale = AValue;
}

void TCustomFFmpeg::OptRcOverride(const std::string& AValue) {
    Fvideo_rc_override_string = AValue;
}

void TCustomFFmpeg::OptVideoStandard(const std::string& AValue) {
    Fvideo_standard = AValue;
}

void TCustomFFmpeg::OptMeThreshold(int AValue) {
    Fme_threshold = AValue;
}

void TCustomFFmpeg::OptVerbose(int AValue) {
    Fverbose = AValue;
}

void TCustomFFmpeg::OptTopFieldFirst(int AValue) {
    Ftop_field_first = AValue;
}

void TCustomFFmpeg::OptVideoChannel(int AValue) {
    Fvideo_channel = AValue;
}

void TCustomFFmpeg::OptAudioSampleRate(int AValue) {
    if (AValue > 0)
        Faudio_sample_rate = AValue;
}

void TCustomFFmpeg::OptAudioChannels(int AValue) {
    if (AValue > 0)
        Faudio_channels = AValue;
}

// ---- Coders, tags, filters -------------------------------------------------------

const AVCodec* TCustomFFmpeg::FindEncoderByName(const std::string& AName, bool ARaise) {
    const AVCodec* Codec = avcodec::avcodec_find_encoder_by_name(AName.c_str());
    if (!Codec && AName == "libfaac") {
        Codec = avcodec::avcodec_find_encoder_by_name("aac");
        if (Codec)
            Log(llInfo, "Encoder libfaac is not available, using aac instead");
    }
    if (!Codec && ARaise)
        throw FFmpegException("Unknown %s '%s'", {"encoder", AName});
    return Codec;
}

void TCustomFFmpeg::OptCodec(int AMediaType, const std::string& AValue) {
    if (AValue.empty())
        return;
    std::string& Name = AMediaType == AVMEDIA_TYPE_VIDEO   ? Fvideo_codec_name
                        : AMediaType == AVMEDIA_TYPE_AUDIO ? Faudio_codec_name
                                                           : Fsubtitle_codec_name;
    int& Copy = AMediaType == AVMEDIA_TYPE_VIDEO   ? Fvideo_stream_copy
                : AMediaType == AVMEDIA_TYPE_AUDIO ? Faudio_stream_copy
                                                   : Fsubtitle_stream_copy;
    Name.clear();
    // Copying, once asked for, stays on: a later coder name does not end it.
    if (AValue == "copy")
        Copy = 1;
    else
        Name = AValue;
    if (FOptions.avcodec_opts[otVideo])
        SetEncoder(FOptions, AMediaType, Name.empty() ? nullptr : FindEncoderByName(Name));
}

void TCustomFFmpeg::OptVideoCodec(const std::string& AValue) {
    OptCodec(AVMEDIA_TYPE_VIDEO, AValue);
}

void TCustomFFmpeg::OptAudioCodec(const std::string& AValue) {
    OptCodec(AVMEDIA_TYPE_AUDIO, AValue);
}

void TCustomFFmpeg::OptSubtitleCodec(const std::string& AValue) {
    OptCodec(AVMEDIA_TYPE_SUBTITLE, AValue);
}

void TCustomFFmpeg::OptTag(const std::string& AValue, const char* AMessage, std::uint32_t& ATag) {
    if (AValue.empty())
        return;
    Assert(AValue.size() == 4, AMessage);
    const auto Byte = [&](int I) { return static_cast<std::uint32_t>(std::uint8_t(AValue[I])); };
    ATag = Byte(0) | Byte(1) << 8 | Byte(2) << 16 | Byte(3) << 24;
}

void TCustomFFmpeg::OptVideoTag(const std::string& AValue) {
    OptTag(AValue, "video tag parameter must be 4 chars", Fvideo_codec_tag);
}

void TCustomFFmpeg::OptAudioTag(const std::string& AValue) {
    OptTag(AValue, "audio tag parameter must be 4 chars", Faudio_codec_tag);
}

void TCustomFFmpeg::OptSubtitleTag(const std::string& AValue) {
    OptTag(AValue, "subtitle tag parameter must be 4 chars", Fsubtitle_codec_tag);
}

void TCustomFFmpeg::OptVFilters(const std::string& AValue) {
    if (!AValue.empty())
        Fvfilters = AValue;
}

std::vector<std::string> SplitHookArgs(const std::string& AText) {
    std::vector<char> Copy(AText.begin(), AText.end());
    Copy.push_back('\0');
    const char* Separator = AText.find('|') != std::string::npos ? "|" : " ";
    std::vector<std::string> Words;
    char* Save = nullptr;
    for (char* Word = myutil::strtok_r(Copy.data(), Separator, &Save); Word && Words.size() < 63;
         Word = myutil::strtok_r(nullptr, Separator, &Save))
        Words.emplace_back(Word);
    return Words;
}

void TCustomFFmpeg::OptVHook(const std::string& AValue) {
    if (AddFrameHook(SplitHookArgs(AValue)) != 0)
        throw FFmpegException("Failed to add video hook function: " + AValue);
    Fusing_vhook = true;
}

namespace {

// Reads 64 coefficients separated by commas; everything after the 64th is
// ignored. The matrix keeps what was read before a failure.
void ParseMatrixCoeffs(std::array<std::uint16_t, 64>& AMatrix, const std::string& AText) {
    const char* P = AText.c_str();
    for (int I = 0; I < 64; ++I) {
        while (*P == ' ')
            ++P;
        unsigned Value = 0;
        for (const char* D = P; *D >= '0' && *D <= '9'; ++D)
            Value = Value * 10 + static_cast<unsigned>(*D - '0');
        AMatrix[I] = static_cast<std::uint16_t>(Value);
        if (I == 63)
            break;
        P = std::strchr(P, ',');
        if (!P)
            throw FFmpegException("Syntax error in matrix \"%s\" at coeff %d", {AText, I});
        ++P;
    }
}

} // namespace

void TCustomFFmpeg::OptMatrix(const std::string& AValue,
                              std::optional<std::array<std::uint16_t, 64>>& AMatrix) {
    AMatrix.emplace();
    AMatrix->fill(0);
    ParseMatrixCoeffs(*AMatrix, AValue);
}

void TCustomFFmpeg::OptIntraMatrix(const std::string& AValue) {
    OptMatrix(AValue, Fintra_matrix);
}

void TCustomFFmpeg::OptInterMatrix(const std::string& AValue) {
    OptMatrix(AValue, Finter_matrix);
}

// ---- Streams of the output being built -------------------------------------------

void TCustomFFmpeg::OptNewStream(int AMediaType) {
    if (Fnb_output_files <= 0)
        throw FFmpegException("At least one output file must be specified");
    AVFormatContext* Context = Foutput_files[Fnb_output_files - 1];
    if (AMediaType == AVMEDIA_TYPE_VIDEO)
        new_video_stream(Context);
    else if (AMediaType == AVMEDIA_TYPE_AUDIO)
        new_audio_stream(Context);
    else
        new_subtitle_stream(Context);
}

void TCustomFFmpeg::OptStreamId(const std::string& AName, const std::string& AValue) {
    const std::size_t Colon = AValue.find(':');
    if (Colon == std::string::npos || Colon == 0 || Colon + 1 == AValue.size())
        throw FFmpegException(
            "Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"",
            {AValue, AName});
    const int Index = StrToInt(AValue.substr(0, Colon));
    const int Value = StrToInt(AValue.substr(Colon + 1));
    if (Index < 0 || Index >= MAX_STREAMS)
        throw FFmpegException("stream index over MAX_STREAMS(%d)", {MAX_STREAMS});
    Fstreamid_map[Index] = Value;
}
