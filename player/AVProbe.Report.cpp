// The information report of TCustomAVProbe: one line per fact, each ended
// with CR LF, streams grouped under the programs that list them.
#include "player/AVProbe.h"

#include "media/MyUtils.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"

#include <cmath>
#include <memory>
#include <set>

namespace {

// ID3v2 frame names as the generic keys the rest of the report uses.
const char* MetadataDisplayKey(const char* AKey) {
    static const std::pair<const char*, const char*> Keys[] = {
        {"TALB", "album"},     {"TAL", "album"},      {"TCOM", "composer"},   {"TCON", "genre"},
        {"TCO", "genre"},      {"TCOP", "copyright"}, {"TDRL", "date"},       {"TENC", "encoder"},
        {"TEN", "encoder"},    {"TSOA", "albumsort"}, {"TSOP", "authorsort"}, {"TIT2", "title"},
        {"TT2", "title"},      {"TLAN", "language"},  {"TPE1", "artist"},     {"TP1", "artist"},
        {"TPOS", "disc"},      {"TPUB", "publisher"}, {"TRCK", "track"},      {"TRK", "track"},
        {"TSOT", "titlesort"}, {"TYER", "year"}};
    for (const auto& [Frame, Key] : Keys)
        if (std::string_view(Frame) == AKey)
            return Key;
    return AKey;
}

std::string RateText(double ARate, const char* AUnit) {
    const long long Hundredths = std::llround(ARate * 100);
    if (Hundredths % 100 != 0)
        return Format(", %3.2f %s", {ARate, AUnit});
    if (Hundredths % 100000 != 0)
        return Format(", %1.0f %s", {ARate, AUnit});
    return Format(", %1.0fk %s", {ARate / 1000, AUnit});
}

bool HasBothParts(AVRational ARate) {
    return ARate.num != 0 && ARate.den != 0;
}

// "seconds.microseconds" of a time in microseconds. A time before zero
// carries its sign in front, not in both parts.
std::string SecondsText(std::int64_t AMicroseconds) {
    // The magnitude in unsigned arithmetic: negating the smallest value
    // would overflow.
    const std::uint64_t Magnitude = AMicroseconds < 0
                                        ? 0 - static_cast<std::uint64_t>(AMicroseconds)
                                        : static_cast<std::uint64_t>(AMicroseconds);
    return Format("%s%d.%.6d",
                  {AMicroseconds < 0 ? "-" : "", static_cast<long long>(Magnitude / 1000000),
                   static_cast<long long>(Magnitude % 1000000)});
}

// FFmpeg's own one-line description of a stream's codec, from a context that
// is filled but never opened.
std::string CodecDescription(const AVCodecParameters* AParameters, AVRational& ACodecTimeBase) {
    struct TFree {
        void operator()(AVCodecContext* AContext) const {
            avcodec::avcodec_free_context(&AContext);
        }
    };
    std::unique_ptr<AVCodecContext, TFree> Context(avcodec::avcodec_alloc_context3(nullptr));
    if (!Context || avcodec::avcodec_parameters_to_context(Context.get(), AParameters) < 0)
        return "";
    char Text[256] = {};
    avcodec::avcodec_string(Text, sizeof(Text), Context.get(), 0);
    ACodecTimeBase = Context->time_base;
    return Text;
}

std::string ProgramTag(const AVDictionary* AMetadata, const char* AKey, const char* AOldKey) {
    const std::string Value = GetMetadataValue(AMetadata, AKey, "");
    return !Value.empty() ? Value : GetMetadataValue(AMetadata, AOldKey, "N/A");
}

} // namespace

void TCustomAVProbe::AddMetadataLines(std::vector<std::string>& ALines,
                                      const AVDictionary* AMetadata, const std::string& AIndent) {
    if (!AMetadata)
        return;
    if (avutil::av_dict_count(AMetadata) == 1 &&
        avutil::av_dict_get(AMetadata, "language", nullptr, 0))
        return;
    ALines.push_back(Format("%sMetadata:", {AIndent}));
    const AVDictionaryEntry* Entry = nullptr;
    while ((Entry = avutil::av_dict_get(AMetadata, "", Entry, AV_DICT_IGNORE_SUFFIX))) {
        if (std::string_view(Entry->key) == "language")
            continue;
        ALines.push_back(
            Format("%s  %-16s: %s", {AIndent, MetadataDisplayKey(Entry->key), Entry->value}));
    }
}

void TCustomAVProbe::AddStreamLine(std::vector<std::string>& ALines, int AStreamIndex) {
    const AVStream* Stream = FFileHandle->streams[AStreamIndex];
    const AVCodecParameters* Codec = Stream->codecpar;
    std::string Line = Format("Stream #%d", {AStreamIndex});
    if (FFileHandle->iformat && (FFileHandle->iformat->flags & AVFMT_SHOW_IDS))
        Line += LowerCase(Format("[0x%x]", {Stream->id}));
    const std::string Language = GetMetadataValue(Stream->metadata, "language", "");
    if (!Language.empty())
        Line += Format("(%s)", {Language});
    const AVRational TimeBase = Stream->time_base;
    int Divisor = static_cast<int>(avutil::av_gcd(TimeBase.num, TimeBase.den));
    if (Divisor == 0)
        Divisor = 1;
    Line += Format(", %d/%d", {TimeBase.num / Divisor, TimeBase.den / Divisor});

    AVRational CodecTimeBase{0, 1};
    Line += ": " + CodecDescription(Codec, CodecTimeBase);

    const AVRational Sample = Stream->sample_aspect_ratio;
    const AVRational CodecSample = Codec->sample_aspect_ratio;
    if (Sample.num != 0 &&
        std::int64_t(Sample.num) * CodecSample.den != std::int64_t(CodecSample.num) * Sample.den) {
        int DisplayNum = 0, DisplayDen = 0;
        avutil::av_reduce(&DisplayNum, &DisplayDen, std::int64_t(Codec->width) * Sample.num,
                          std::int64_t(Codec->height) * Sample.den, 1024 * 1024);
        Line += Format(", PAR %d:%d DAR %d:%d", {Sample.num, Sample.den, DisplayNum, DisplayDen});
    }

    if (Codec->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (HasBothParts(Stream->avg_frame_rate))
            Line += RateText(av_q2d(Stream->avg_frame_rate), "fps");
        if (HasBothParts(Stream->r_frame_rate))
            Line += RateText(av_q2d(Stream->r_frame_rate), "tbr");
        if (HasBothParts(TimeBase))
            Line += RateText(1 / av_q2d(TimeBase), "tbn");
        // Only a codec context that was opened has a time base of its own.
        if (HasBothParts(CodecTimeBase))
            Line += RateText(1 / av_q2d(CodecTimeBase), "tbc");
    }

    const AVRational Usable = UsableTimeBase(TimeBase);
    // A time too large for microseconds (a damaged file) rescales to the
    // missing time, and is left out as an unknown one is.
    const std::int64_t StartTime =
        Stream->start_time == AV_NOPTS_VALUE
            ? AV_NOPTS_VALUE
            : avutil::av_rescale_q(Stream->start_time, Usable, MicrosecondsBase);
    if (StartTime != AV_NOPTS_VALUE)
        Line += ", StartTime: " + SecondsText(StartTime);
    if (Stream->duration == AV_NOPTS_VALUE)
        Line += ", Duration: N/A";
    else
        Line += ", Duration: " +
                FormatTimeUS(avutil::av_rescale_q(Stream->duration, Usable, MicrosecondsBase));
    ALines.push_back(Line);
    AddMetadataLines(ALines, Stream->metadata, "  ");
}

std::string TCustomAVProbe::FileInfoText() {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, "file not loaded.");
        return "";
    }
    std::vector<std::string> Lines;
    Lines.push_back(Format("File Name: %s", {FileName()}));
    Lines.push_back(Format("Format Name: %s", {FormatName()}));
    Lines.push_back(Format("Format Long Name: %s", {FormatLongName()}));
    Lines.push_back(Format("File Size: %s", {FormatFileSize(FFileSize)}));

    const TFileStreamInfo Info = FileStreamInfo();
    if (Info.Duration == AV_NOPTS_VALUE || Info.Duration < 0)
        Lines.push_back("Duration: N/A");
    else
        Lines.push_back(Format("Duration: %s", {FormatTimeUS(Info.Duration)}));
    if (Info.StartTime != AV_NOPTS_VALUE && Info.StartTime >= 0)
        Lines.push_back("StartTime: " + SecondsText(Info.StartTime));
    if (Info.BitRate < 1)
        Lines.push_back("Bit Rate: N/A");
    else
        Lines.push_back(Format("Bit Rate: %d kb/s", {Info.BitRate / 1000}));
    if (Info.TimeStamp > 0)
        Lines.push_back(Format("Time Stamp: %s",
                               {FormatDateTimeStr("yyyy-mm-dd hh:nn:ss",
                                                  UnixSecondsToLocalDateTime(Info.TimeStamp))}));
    AddMetadataLines(Lines, FFileHandle->metadata, "");

    std::set<int> Shown;
    for (unsigned P = 0; P < FFileHandle->nb_programs; ++P) {
        const AVProgram* Program = FFileHandle->programs[P];
        // This FFmpeg's demuxers name the tags after the transport stream's
        // service description; older ones used the short keys.
        Lines.push_back(
            Format("Program %d %s@%s",
                   {Program->id, ProgramTag(Program->metadata, "service_provider", "provider_name"),
                    ProgramTag(Program->metadata, "service_name", "name")}));
        AddMetadataLines(Lines, Program->metadata, "  ");
        for (unsigned I = 0; I < Program->nb_stream_indexes; ++I) {
            const int Index = static_cast<int>(Program->stream_index[I]);
            if (Index < 0 || Index >= FStreamCount)
                continue;
            AddStreamLine(Lines, Index);
            Shown.insert(Index);
        }
    }
    for (int I = 0; I < FStreamCount; ++I)
        if (!Shown.contains(I))
            AddStreamLine(Lines, I);

    std::string Text;
    for (const std::string& Line : Lines)
        Text += Line + "\r\n";
    return Text;
}
