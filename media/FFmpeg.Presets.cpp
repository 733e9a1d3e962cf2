// Target presets (VCD, SVCD, DVD, DV) and codec presets (built-in libx264
// sets and preset files).
#include "media/FFmpeg.h"

#include "media/FFmpegLogger.h"
#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"
#include "platform/core/Streams.h"
#include "platform/core/Strings.h"

namespace {

enum TNorm { nmOpen, nmPAL, nmNTSC, nmFILM };

const char* const TargetFrameRates[] = {"", "25", "30000/1001", "24000/1001"};

// The norm a frame rate in thousandths of a frame per second stands for.
TNorm NormOfRate(std::int64_t ARate) {
    if (ARate == 25000)
        return nmPAL;
    if (ARate == 29970 || ARate == 23976)
        return nmNTSC;
    return nmOpen;
}

std::int64_t RateInThousandths(AVRational ARate) {
    return Round(ARate.num * 1000.0 / ARate.den);
}

} // namespace

void TCustomFFmpeg::OptTarget(const std::string& AValue) {
    const std::string Value = Trim(AValue);
    std::string Norm = "auto";
    std::string Type = Value;
    for (const char* Prefix : {"pal-", "ntsc-", "film-"}) {
        const std::string P = Prefix;
        if (Value.compare(0, P.size(), P) == 0) {
            Norm = P.substr(0, P.size() - 1);
            Type = Value.substr(P.size());
            break;
        }
    }
    SetTarget(Type, Norm, "ntsc");
}

void TCustomFFmpeg::SetTarget(const std::string& ATarget, const std::string& ANorm,
                              const std::string& ANormDefault) {
    TNorm Norm = ANorm == "pal"    ? nmPAL
                 : ANorm == "ntsc" ? nmNTSC
                 : ANorm == "film" ? nmFILM
                                   : nmOpen;
    if (Norm == nmOpen) {
        if (Fframe_rate.den == 0)
            throw FFmpegException("frame_rate is invalid.");
        Norm = NormOfRate(RateInThousandths(Fframe_rate));
        // FFmpeg 5.1 streams carry no codec time base: the first video
        // stream's own frame rate decides.
        for (int I = 0; Norm == nmOpen && I < Fnb_input_files; ++I) {
            const AVFormatContext* Input = Finput_files[I];
            for (unsigned S = 0; Input && Norm == nmOpen && S < Input->nb_streams; ++S) {
                const AVStream* Stream = Input->streams[S];
                if (Stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO ||
                    Stream->r_frame_rate.den == 0)
                    continue;
                Norm = NormOfRate(RateInThousandths(Stream->r_frame_rate));
            }
        }
        if (Norm == nmOpen)
            Norm = ANormDefault == "film" ? nmFILM : ANormDefault == "ntsc" ? nmNTSC : nmPAL;
        if (Fverbose > 0)
            Log(llVerbose, Format("Assuming %s for target.", {Norm == nmPAL ? "PAL" : "NTSC"}));
    }
    const bool PAL = Norm == nmPAL;
    const char* Rate = TargetFrameRates[Norm];

    const auto Aspect = [this](const char* ARatio) {
        if (Fframe_aspect_ratio != 0)
            return;
        Log(llInfo, Format("Assuming %s for aspect ratio", {ARatio}));
        OptAspect(ARatio);
    };

    if (ATarget == "vcd") {
        OptVideoCodec("mpeg1video");
        OptAudioCodec("mp2");
        OptFormat("vcd");
        OptFrameSize(PAL ? "352x288" : "352x240");
        OptFrameRate(Rate);
        OptDefault("g", PAL ? "15" : "18");
        OptDefault("b", "1150000");
        OptDefault("maxrate", "1150000");
        OptDefault("minrate", "1150000");
        OptDefault("bufsize", "327680");
        OptDefault("ab", "224000");
        Faudio_sample_rate = 44100;
        Faudio_channels = 2;
        OptDefault("packetsize", "2324");
        OptDefault("muxrate", "1411200");
        // The output opening hands it to the MPEG muxers as their "preload".
        Fmux_preload = 0.44f;
        Aspect("4:3");
    } else if (ATarget == "svcd") {
        OptVideoCodec("mpeg2video");
        OptAudioCodec("mp2");
        OptFormat("svcd");
        OptFrameSize(PAL ? "480x576" : "480x480");
        OptFrameRate(Rate);
        OptDefault("g", PAL ? "15" : "18");
        OptDefault("b", "2040000");
        OptDefault("maxrate", "2516000");
        OptDefault("minrate", "0");
        OptDefault("bufsize", "1835008");
        // Scan offsets left the generic flags; mpeg2video keeps them as its
        // own option, named by the first step.
        OptDefault("scan_offset", "1");
        OptDefault("ab", "224000");
        Faudio_sample_rate = 44100;
        OptDefault("packetsize", "2324");
        if (Faudio_channels == 1)
            Faudio_channels = 2;
        Aspect("4:3");
    } else if (ATarget == "dvd") {
        OptVideoCodec("mpeg2video");
        OptAudioCodec("ac3");
        OptFormat("dvd");
        OptFrameSize(PAL ? "720x576" : "720x480");
        OptFrameRate(Rate);
        OptDefault("g", PAL ? "15" : "18");
        OptDefault("b", "6000000");
        OptDefault("maxrate", "9000000");
        OptDefault("minrate", "0");
        OptDefault("bufsize", "1835008");
        OptDefault("packetsize", "2048");
        OptDefault("muxrate", "10080000");
        OptDefault("ab", "448000");
        Faudio_sample_rate = 48000;
        if (Faudio_channels == 1)
            Faudio_channels = 2;
        Aspect("16:9");
    } else if (ATarget == "dv" || ATarget == "dv50") {
        OptFormat("dv");
        OptFrameSize(PAL ? "720x576" : "720x480");
        OptPixFmt(ATarget == "dv50" ? "yuv422p" : PAL ? "yuv420p" : "yuv411p");
        OptFrameRate(Rate);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
    } else
        throw FFmpegException("Unknown target type");
}

// ---- Codec presets ------------------------------------------------------------------

namespace {

#define X264_PRESET(Speed) "preset=" Speed "\n"
#define X264_FIRSTPASS(Speed) "preset=" Speed "\nfastfirstpass=1\n"
#define X264_LOSSLESS(Speed) "preset=" Speed "\nqp=0\n"

// FFmpeg 5.1 dropped the generic options the old texts used; libx264's own
// options say the same, and x264's presets stand for the long speed sets.
const std::vector<TOptionsPreset> BuiltinPresetTable = {
    {"libx264-baseline", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nwpredp=0\n"},
    {"libx264-default", X264_PRESET("medium")},
    {"libx264-fast", X264_PRESET("fast")},
    {"libx264-fast_firstpass", X264_FIRSTPASS("fast")},
    {"libx264-faster", X264_PRESET("faster")},
    {"libx264-faster_firstpass", X264_FIRSTPASS("faster")},
    {"libx264-fastfirstpass", "preset=medium\nfastfirstpass=1\n"},
    {"libx264-hq", X264_PRESET("slow")},
    {"libx264-ipod320", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nlevel=13\nmaxrate=768000\n"
                        "bufsize=3000000\nwpredp=0\n"},
    {"libx264-ipod640", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nlevel=30\nmaxrate=10000000\n"
                        "bufsize=10000000\nwpredp=0\n"},
    {"libx264-lossless_fast", X264_LOSSLESS("fast")},
    {"libx264-lossless_max", X264_LOSSLESS("placebo")},
    {"libx264-lossless_medium", X264_LOSSLESS("medium")},
    {"libx264-lossless_slow", X264_LOSSLESS("slow")},
    {"libx264-lossless_slower", X264_LOSSLESS("slower")},
    {"libx264-lossless_ultrafast", X264_LOSSLESS("ultrafast")},
    {"libx264-main", "8x8dct=0\n"},
    {"libx264-max", "preset=placebo\nbf=3\n"},
    {"libx264-medium", X264_PRESET("medium")},
    {"libx264-medium_firstpass", X264_FIRSTPASS("fast")},
    {"libx264-normal", X264_PRESET("fast")},
    {"libx264-placebo", X264_PRESET("placebo")},
    {"libx264-placebo_firstpass", X264_PRESET("placebo")},
    {"libx264-slow", X264_PRESET("slow")},
    {"libx264-slow_firstpass", X264_FIRSTPASS("slow")},
    {"libx264-slower", X264_PRESET("slower")},
    {"libx264-slower_firstpass", X264_FIRSTPASS("slow")},
    {"libx264-slowfirstpass", "preset=medium\nfastfirstpass=0\n"},
    {"libx264-superfast", X264_PRESET("superfast")},
    {"libx264-superfast_firstpass", X264_FIRSTPASS("superfast")},
    {"libx264-ultrafast", X264_PRESET("ultrafast")},
    {"libx264-ultrafast_firstpass", X264_PRESET("ultrafast")},
    {"libx264-veryfast", X264_PRESET("veryfast")},
    {"libx264-veryfast_firstpass", X264_FIRSTPASS("veryfast")},
    {"libx264-veryslow", X264_PRESET("veryslow")},
    {"libx264-veryslow_firstpass", X264_FIRSTPASS("veryslow")},
};

#undef X264_PRESET
#undef X264_FIRSTPASS
#undef X264_LOSSLESS

std::string ReadPresetFile(const std::string& AFileName) {
    TFileStream Stream(AFileName, fmOpenRead | fmShareDenyWrite);
    std::string Text(static_cast<std::size_t>(Stream.Size()), '\0');
    if (!Text.empty())
        Stream.ReadBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    return Text;
}

// Line breaks of any system become line feeds.
std::string UnifyLineBreaks(const std::string& AText) {
    std::string Result;
    Result.reserve(AText.size());
    for (std::size_t I = 0; I < AText.size(); ++I) {
        if (AText[I] == '\r') {
            Result += '\n';
            if (I + 1 < AText.size() && AText[I + 1] == '\n')
                ++I;
        } else
            Result += AText[I];
    }
    return Result;
}

} // namespace

const std::vector<TOptionsPreset>& BuiltinPresets() {
    return BuiltinPresetTable;
}

std::string FindBuiltinPreset(const std::string& AName) {
    for (const TOptionsPreset& Preset : BuiltinPresetTable)
        if (SameText(Preset.Name, AName))
            return Preset.Text;
    return {};
}

void TCustomFFmpeg::ApplyPreset(const std::string& AOptName, const std::string& APreset) {
    if (AOptName.empty() || APreset.empty())
        return;
    std::string Key = APreset;
    std::string Text;
    if (AOptName[0] != 'f') {
        Text = FindBuiltinPreset(Key);
        const std::string& Encoder =
            AOptName[0] == 'v' && !Fvideo_codec_name.empty()   ? Fvideo_codec_name
            : AOptName[0] == 'a' && !Faudio_codec_name.empty() ? Faudio_codec_name
                                                               : Fsubtitle_codec_name;
        if (Text.empty() && !Encoder.empty()) {
            Key = Encoder + "-" + APreset;
            Text = FindBuiltinPreset(Key);
        }
    }
    if (Text.empty()) {
        if (!FileExists(APreset))
            throw FFmpegException("Preset \"%s\" not found", {APreset});
        Text = ReadPresetFile(APreset);
    }
    Text = UnifyLineBreaks(Trim(Text));
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        const std::string Line = Trim(Text.substr(Start, End - Start));
        Start = End + 1;
        if (Line.empty())
            continue;
        const std::size_t Equal = Line.find('=');
        if (Equal == std::string::npos || Equal == 0 || Equal + 1 == Line.size())
            throw FFmpegException("%s: Invalid syntax: \"%s\"", {Key, Line});
        const std::string Name = Line.substr(0, Equal);
        const std::string Value = Line.substr(Equal + 1);
        if (SameText(Name, "acodec"))
            OptAudioCodec(Value);
        else if (SameText(Name, "vcodec"))
            OptVideoCodec(Value);
        else if (SameText(Name, "scodec"))
            OptSubtitleCodec(Value);
        else if (!OptDefault(Name, Value))
            throw FFmpegException(
                "%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                {Key, Line, Name, Value});
    }
}
