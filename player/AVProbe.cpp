#include "player/AVProbe.h"

#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "media/UnicodeProtocol.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"

#include <climits>

namespace {

int ClampToInt(std::int64_t AValue) {
    if (AValue > INT_MAX)
        return INT_MAX;
    if (AValue < INT_MIN)
        return INT_MIN;
    return static_cast<int>(AValue);
}

// The whole number a tag starts with; 0 when the tag is missing or starts
// otherwise.
bool LeadingNumber(const AVDictionary* AMetadata, const char* AKey, int& ANumber) {
    const std::string Text = GetMetadataValue(AMetadata, AKey, "");
    if (Text.empty() || Text[0] < '0' || Text[0] > '9')
        return false;
    std::int64_t Value = 0;
    for (std::size_t I = 0; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I)
        Value = std::min<std::int64_t>(Value * 10 + (Text[I] - '0'), INT_MAX);
    ANumber = static_cast<int>(Value);
    return true;
}

// A stream time in microseconds; -1 when unknown.
std::int64_t ScaledTime(std::int64_t ATime, AVRational ATimeBase) {
    if (ATime == AV_NOPTS_VALUE)
        return -1;
    return avutil::av_rescale_q(ATime, ATimeBase, MicrosecondsBase);
}

const char* KindName(AVMediaType AType) {
    switch (AType) {
    case AVMEDIA_TYPE_AUDIO:
        return "audio";
    case AVMEDIA_TYPE_VIDEO:
        return "video";
    default:
        return "subtitle";
    }
}

} // namespace

AVRational UsableTimeBase(AVRational ATimeBase) {
    if (ATimeBase.den == 0)
        ATimeBase.den = ATimeBase.num != 0 ? ATimeBase.num : 1;
    return ATimeBase;
}

TCustomAVProbe::TCustomAVProbe(TComponent* AOwner) : TFFBaseComponent(AOwner) {
    CountStreams();
}

TCustomAVProbe::~TCustomAVProbe() {
    CloseFile();
}

bool TCustomAVProbe::AVLibLoaded() const {
    return FFLoader().Loaded(ProbeLibs);
}

bool TCustomAVProbe::LoadAVLib(const std::string& APath) {
    FFLoader().SetLibraryPath(APath);
    if (FFLoader().Load(ProbeLibs))
        return true;
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
}

void TCustomAVProbe::UnloadAVLib() {
    FFLoader().Unload(ProbeLibs);
}

void TCustomAVProbe::ReportError(int ALevel, const std::string& AMsg) {
    GetFFLogger()->Log(this, AVToLogLevel(ALevel), AMsg);
    FLastErrMsg = AMsg;
}

void TCustomAVProbe::Trace(int ALevel, const std::string& AMsg) {
    GetFFLogger()->Log(this, AVToLogLevel(ALevel), AMsg);
}

void TCustomAVProbe::CheckLibraries() {
    static const std::pair<TLibrary, const char*> Libraries[] = {
        {avCodec, "LibAVCodec not loaded."},
        {avFormat, "LibAVFormat not loaded."},
        {avUtil, "LibAVUtil not loaded."},
        {swScale, "LibSwScale not loaded."}};
    for (const auto& [Library, Text] : Libraries)
        if (!FFLoader().Loaded(Library))
            throw Exception(Text);
}

bool TCustomAVProbe::LoadFile(const std::string& AFileName, const std::string& AFormatName) {
    CheckLibraries();
    CloseFile();

    const AVInputFormat* InputFormat = nullptr;
    if (!AFormatName.empty()) {
        InputFormat = avformat::av_find_input_format(AFormatName.c_str());
        if (!InputFormat) {
            FLastErrMsg = Format("Unknown input format: %s", {AFormatName});
            return false;
        }
    }

    AVFormatContext* Context = avformat::avformat_alloc_context();
    if (!Context) {
        ReportError(AV_LOG_ERROR, FormatAVError(AFileName, AVERROR(ENOMEM)));
        return false;
    }
    Context->flags |= AVFMT_FLAG_NONBLOCK;
    InstallUnicodeIO(Context);
    const int Result = avformat::avformat_open_input(&Context, FileNameToAV(AFileName).c_str(),
                                                     InputFormat, nullptr);
    if (Result < 0) {
        // FFmpeg has freed the context already: closing it again would free
        // it twice.
        ReportError(AV_LOG_ERROR, FormatAVError(AFileName, Result));
        CloseFile();
        return false;
    }
    FFileHandle = Context;
    FOwnHandle = true;

    if (avformat::avformat_find_stream_info(Context, nullptr) < 0) {
        FLastErrMsg = Format("%s: could not find codec parameters", {AFileName});
        CloseFile();
        return false;
    }
    CountStreams();
    FForceFormat = AFormatName;
    return true;
}

void TCustomAVProbe::CloseFile() {
    FForceFormat.clear();
    if (FFileHandle) {
        if (FOwnHandle)
            avformat::avformat_close_input(&FFileHandle);
        FFileHandle = nullptr;
        FOwnHandle = false;
    }
    CountStreams();
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* AValue) {
    CheckLibraries();
    CloseFile();
    FOwnHandle = false;
    FFileHandle = AValue;
    CountStreams();
}

void TCustomAVProbe::CountStreams() {
    FFileSize = -1;
    FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    if (!FFileHandle)
        return;

    // The input's own idea of its size first; a stream that cannot tell gets
    // the size of the file behind its name.
    FFileSize = FFileHandle->pb ? avformat::avio_size(FFileHandle->pb) : -1;
    if (FFileSize <= 0) {
        const std::int64_t DiskSize = GetFileSizeByName(FileName());
        if (DiskSize >= 0)
            FFileSize = DiskSize;
    }

    FStreamCount = static_cast<int>(FFileHandle->nb_streams);
    FProgramCount = static_cast<int>(FFileHandle->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    for (int I = 0; I < FStreamCount; ++I) {
        switch (FFileHandle->streams[I]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            if (FVideoStreamCount++ == 0)
                FFirstVideoStreamIndex = I;
            break;
        case AVMEDIA_TYPE_AUDIO:
            if (FAudioStreamCount++ == 0)
                FFirstAudioStreamIndex = I;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            if (FSubtitleStreamCount++ == 0)
                FFirstSubtitleStreamIndex = I;
            break;
        default:
            break;
        }
    }
}

std::string TCustomAVProbe::FileName() const {
    if (!FFileHandle || !FFileHandle->url)
        return "";
    return FileNameFromAV(FFileHandle->url);
}

std::string TCustomAVProbe::FormatName() const {
    return FFileHandle && FFileHandle->iformat ? FFileHandle->iformat->name : "";
}

std::string TCustomAVProbe::FormatLongName() const {
    return FFileHandle && FFileHandle->iformat && FFileHandle->iformat->long_name
               ? FFileHandle->iformat->long_name
               : "";
}

TFileStreamInfo TCustomAVProbe::FileStreamInfo() {
    TFileStreamInfo Info;
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, "file not loaded.");
        return Info;
    }
    const AVFormatContext* Context = FFileHandle;
    Info.StartTime = Context->start_time == AV_NOPTS_VALUE ? -1 : Context->start_time;
    Info.Duration = Context->duration == AV_NOPTS_VALUE ? -1 : Context->duration;
    Info.BitRate = ClampToInt(Context->bit_rate);

    // The demuxers of this FFmpeg keep these three as tags only.
    Info.TimeStamp = 0;
    const std::string Created = GetMetadataValue(Context->metadata, "creation_time", "");
    std::int64_t Microseconds = 0;
    if (!Created.empty() && Created[0] >= '0' && Created[0] <= '9' &&
        avutil::av_parse_time(&Microseconds, Created.c_str(), 0) >= 0)
        Info.TimeStamp = Microseconds / 1000000;
    Info.Year = 0;
    if (!LeadingNumber(Context->metadata, "date", Info.Year))
        LeadingNumber(Context->metadata, "year", Info.Year);
    Info.Track = 0;
    LeadingNumber(Context->metadata, "track", Info.Track);

    Info.Title = GetMetadataValue(Context->metadata, "title", "");
    Info.Author = GetMetadataValue(Context->metadata, "author", "");
    Info.Copyright = GetMetadataValue(Context->metadata, "copyright", "");
    Info.Comment = GetMetadataValue(Context->metadata, "comment", "");
    Info.Album = GetMetadataValue(Context->metadata, "album", "");
    Info.Genre = GetMetadataValue(Context->metadata, "genre", "");
    return Info;
}

bool TCustomAVProbe::StreamIndexValid(int AStreamIndex) {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, "file not loaded.");
        return false;
    }
    if (AStreamIndex < 0 || AStreamIndex >= FStreamCount) {
        ReportError(AV_LOG_ERROR, Format("stream index #%d is invalid.", {AStreamIndex}));
        return false;
    }
    return true;
}

bool TCustomAVProbe::IsStreamOfType(int AStreamIndex, AVMediaType AType) {
    return StreamIndexValid(AStreamIndex) &&
           FFileHandle->streams[AStreamIndex]->codecpar->codec_type == AType;
}

bool TCustomAVProbe::IsAudioStream(int AStreamIndex) {
    return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_AUDIO);
}

bool TCustomAVProbe::IsVideoStream(int AStreamIndex) {
    return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_VIDEO);
}

bool TCustomAVProbe::IsSubtitleStream(int AStreamIndex) {
    return IsStreamOfType(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
}

AVStream* TCustomAVProbe::StreamOfKind(int AStreamIndex, AVMediaType AType, int AFirstIndex) {
    if (!FFileHandle) {
        ReportError(AV_LOG_WARNING, "file not loaded.");
        return nullptr;
    }
    if (AStreamIndex < 0) {
        AStreamIndex = AFirstIndex;
        if (AStreamIndex < 0) {
            ReportError(AV_LOG_ERROR, Format("no %s stream.", {KindName(AType)}));
            return nullptr;
        }
    }
    if (!StreamIndexValid(AStreamIndex))
        return nullptr;
    AVStream* Stream = FFileHandle->streams[AStreamIndex];
    if (Stream->codecpar->codec_type != AType) {
        ReportError(AV_LOG_ERROR,
                    Format("stream #%d is not %s stream.", {AStreamIndex, KindName(AType)}));
        return nullptr;
    }
    return Stream;
}

namespace {

template <class TInfo> void FillCommon(const AVStream* AStream, TInfo& AInfo) {
    AInfo.Language = GetMetadataValue(AStream->metadata, "language", "");
    AInfo.CodecName = CodecTagText(AStream->codecpar, false);
}

template <class TInfo> void FillTimes(const AVStream* AStream, TInfo& AInfo) {
    const AVRational TimeBase = UsableTimeBase(AStream->time_base);
    AInfo.StartTime = AStream->start_time;
    AInfo.StartTimeScaled = ScaledTime(AStream->start_time, TimeBase);
    AInfo.Duration = AStream->duration;
    AInfo.DurationScaled = ScaledTime(AStream->duration, TimeBase);
}

} // namespace

bool TCustomAVProbe::GetAudioStreamInfo(int AStreamIndex, TAudioStreamInfo& AInfo) {
    AInfo = TAudioStreamInfo{};
    const AVStream* Stream = StreamOfKind(AStreamIndex, AVMEDIA_TYPE_AUDIO, FFirstAudioStreamIndex);
    if (!Stream)
        return false;
    FillCommon(Stream, AInfo);
    FillTimes(Stream, AInfo);
    const AVCodecParameters* Codec = Stream->codecpar;
    AInfo.BitRate = ClampToInt(Codec->bit_rate);
    AInfo.Channels = Codec->ch_layout.nb_channels;
    AInfo.SampleRate = Codec->sample_rate;
    AInfo.SampleFormat = Codec->format;
    return true;
}

bool TCustomAVProbe::GetVideoStreamInfo(int AStreamIndex, TVideoStreamInfo& AInfo) {
    AInfo = TVideoStreamInfo{};
    const AVStream* Stream = StreamOfKind(AStreamIndex, AVMEDIA_TYPE_VIDEO, FFirstVideoStreamIndex);
    if (!Stream)
        return false;
    FillCommon(Stream, AInfo);
    FillTimes(Stream, AInfo);
    const AVCodecParameters* Codec = Stream->codecpar;
    AInfo.BitRate = ClampToInt(Codec->bit_rate);
    AInfo.Height = Codec->height;
    AInfo.Width = Codec->width;
    // No guard on purpose: floating-point faults are masked, so a zero part
    // gives an infinity or not-a-number, never a signal.
    const double Sample =
        static_cast<double>(Codec->sample_aspect_ratio.num) / Codec->sample_aspect_ratio.den;
    AInfo.AspectRatio = static_cast<float>(Codec->width * Sample / Codec->height);
    AInfo.PixFmt = Codec->format;
    AInfo.FrameRate = Stream->r_frame_rate;
    return true;
}

bool TCustomAVProbe::GetSubtitleStreamInfo(int AStreamIndex, TSubtitleStreamInfo& AInfo) {
    AInfo = TSubtitleStreamInfo{};
    const AVStream* Stream =
        StreamOfKind(AStreamIndex, AVMEDIA_TYPE_SUBTITLE, FFirstSubtitleStreamIndex);
    if (!Stream)
        return false;
    FillCommon(Stream, AInfo);
    return true;
}

TAudioStreamInfo TCustomAVProbe::FirstAudioStreamInfo() {
    TAudioStreamInfo Info;
    GetAudioStreamInfo(-1, Info);
    return Info;
}

TVideoStreamInfo TCustomAVProbe::FirstVideoStreamInfo() {
    TVideoStreamInfo Info;
    GetVideoStreamInfo(-1, Info);
    return Info;
}

TSubtitleStreamInfo TCustomAVProbe::FirstSubtitleStreamInfo() {
    TSubtitleStreamInfo Info;
    GetSubtitleStreamInfo(-1, Info);
    return Info;
}
