#include "catalogue/ProfileWorkingSet.h"

#include "platform/core/Conversions.h"
#include "platform/core/Paths.h"

namespace {

constexpr std::string_view UnchangedVolume = "256";
constexpr std::string_view AutoValue = "AUTO";

} // namespace

TOptionTargetType TargetTypeFromText(std::string_view Text) {
    if (Text == "vcd")
        return ttVCD;
    if (Text == "svcd")
        return ttSVCD;
    if (Text == "dvd")
        return ttDVD;
    return ttIgnore;
}

TOptionNormType NormTypeFromText(std::string_view Text) {
    if (Text == "PAL")
        return ntPAL;
    if (Text == "NTSC")
        return ntNTSC;
    return ntAuto;
}

void ResetWorkingSet(TProfileWorkingSet& Set) {
    TProfileWorkingSet Reset;
    Reset.Video_AddFileName = std::move(Set.Video_AddFileName);
    Reset.Video_VideoBitrate = -1;
    Reset.Video_AudioBitrate = -1;
    Reset.Video_AudioVolume = UnchangedVolume;
    Reset.Video_TimeStart = -1;
    Reset.Video_TimeLength = -1;
    Set = std::move(Reset);
}

void AssignProfileSettings(TProfileWorkingSet& Set, const TProfileSettings& Settings) {
    Set.Video_FileExt = Settings.FileExt;
    Set.Video_VideoCodec = Settings.VideoCodec;
    Set.Video_VideoTag = Settings.VideoTag;
    Set.Video_AudioCodec = Settings.AudioCodec;
    Set.Video_FrameSize = Settings.FrameSize;
    Set.Video_FrameRate = Settings.FrameRate;
    Set.Video_FrameAspectRatio = Settings.FrameAspectRatio;
    Set.Video_VideoBitrate = Settings.VideoBitrate;
    Set.Video_AudioBitrate = Settings.AudioBitrate;
    Set.Video_AudioSampleRate = Settings.AudioSampleRate;
    Set.Video_AudioChannels = Settings.AudioChannels;
    Set.Video_AudioVolume = UnchangedVolume;
    Set.Video_TargetType = Settings.TargetType;
    Set.Video_NormType = Settings.NormType;
    Set.Video_DisableVideo = Settings.DisableVideo;
    Set.Video_FileFormat.clear();
    Set.Video_VideoFilters.clear();
}

void ApplyWorkingSet(const TProfileWorkingSet& Set, TOutputOptions& Options, TVolumeRule Volume) {
    if (!Set.Video_AudioChannels.empty())
        Options.AudioChannels = StrToInt(Set.Video_AudioChannels);
    if (!Set.Video_AudioSampleRate.empty() && Set.Video_AudioSampleRate != AutoValue)
        Options.AudioSampleRate = StrToInt(Set.Video_AudioSampleRate);
    if (!Set.Video_FrameSize.empty())
        Options.FrameSize = Set.Video_FrameSize;
    if (!Set.Video_FrameRate.empty())
        Options.FrameRate = Set.Video_FrameRate;
    Options.DisableVideo = Set.Video_DisableVideo;
    if (!Set.Video_TargetType.empty())
        Options.TargetType = TargetTypeFromText(Set.Video_TargetType);
    Options.NormType = NormTypeFromText(Set.Video_NormType);
    if (Set.Video_AudioVolume != UnchangedVolume)
        Options.AudioVolume = StrToInt(Set.Video_AudioVolume);
    else if (Volume == TVolumeRule::AlwaysSet)
        Options.AudioVolume = 256;
    if (!Set.Video_FrameAspectRatio.empty())
        Options.FrameAspectRatio = Set.Video_FrameAspectRatio;
    if (Set.Video_VideoBitrate != -1000)
        Options.VideoBitrate = Set.Video_VideoBitrate;
    if (Set.Video_AudioBitrate != -1000 && Set.Video_AudioBitrate != -2000)
        Options.AudioBitrate = Set.Video_AudioBitrate;
    if (!Set.Video_FileFormat.empty())
        Options.FileFormat = Set.Video_FileFormat;
    if (!Set.Video_VideoFilters.empty())
        Options.VideoFilters = Set.Video_VideoFilters;
    if (!Set.Video_VideoTag.empty())
        Options.VideoTag = Set.Video_VideoTag;
    if (!Set.Video_VideoCodec.empty()) {
        Options.VideoCodec = Set.Video_VideoCodec;
        Options.VideoPreset = VideoPresetForCodec(Set.Video_VideoCodec);
    }
    if (!Set.Video_AudioCodec.empty() && Set.Video_AudioCodec != AutoValue)
        Options.AudioCodec = Set.Video_AudioCodec;
}

std::string FileNamePart(std::string_view Path) {
    std::size_t Slash = Path.rfind('/');
    return std::string(Slash == std::string_view::npos ? Path : Path.substr(Slash + 1));
}

std::string FileNameExtension(std::string_view FileName) {
    std::size_t Dot = FileName.rfind('.');
    return Dot == std::string_view::npos ? std::string() : std::string(FileName.substr(Dot));
}

std::string ReplaceFileNameExtension(std::string_view FileName, std::string_view Ext) {
    std::size_t Dot = FileName.rfind('.');
    std::string Result(FileName.substr(0, Dot));
    Result += Ext;
    return Result;
}

std::string UniqueOutputPath(std::string_view Folder, std::string_view FileName,
                             const std::function<bool()>& Overwrite) {
    std::string Ext = FileNameExtension(FileName);
    std::string Base =
        std::string(Folder) + "/" + std::string(FileName.substr(0, FileName.size() - Ext.size()));
    std::string Candidate = Base + Ext;
    if (!FileExists(Candidate) || Overwrite())
        return Candidate;
    for (int N = 1;; ++N) {
        Candidate = Base + "_" + std::to_string(N) + Ext;
        if (!FileExists(Candidate))
            return Candidate;
    }
}
