#include "legacy/LegacySteps.h"
#include "legacy/LegacyTables.h"

#include <optional>
#include <utility>

namespace {

template <typename T, typename TField> void Take(const std::optional<T>& Value, TField& Field) {
    if (Value)
        Field = TField(*Value);
}

void WriteRowFields(TProfileWorkingSet& Set, const TLegacySettingsRow& Row) {
    Take(Row.FileExt, Set.Video_FileExt);
    Take(Row.VideoCodec, Set.Video_VideoCodec);
    Take(Row.VideoTag, Set.Video_VideoTag);
    Take(Row.AudioCodec, Set.Video_AudioCodec);
    Take(Row.FrameSize, Set.Video_FrameSize);
    Take(Row.FrameRate, Set.Video_FrameRate);
    Take(Row.FrameAspectRatio, Set.Video_FrameAspectRatio);
    Take(Row.VideoBitrate, Set.Video_VideoBitrate);
    Take(Row.AudioBitrate, Set.Video_AudioBitrate);
    Take(Row.AudioSampleRate, Set.Video_AudioSampleRate);
    Take(Row.AudioChannels, Set.Video_AudioChannels);
    Take(Row.AudioVolume, Set.Video_AudioVolume);
    Take(Row.VideoFilters, Set.Video_VideoFilters);
    Take(Row.NormType, Set.Video_NormType);
    Take(Row.CopyTimestamp, Set.Video_CopyTimestamp);
    Take(Row.FileFormat, Set.Video_FileFormat);
    Take(Row.TargetType, Set.Video_TargetType);
    Take(Row.DisableVideo, Set.Video_DisableVideo);
}

// The aspect modes by their list texts; "保持原视频模式" and "无视频" clear it.
std::optional<std::string> AspectOf(std::string_view Text) {
    static constexpr std::pair<std::string_view, std::string_view> Modes[] = {
        {"保持原视频模式", ""},         {"普通视频4:3模式", "4:3"},
        {"宽屏视频16:9模式", "16:9"},   {"宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "47:20"}, {"无视频", ""},
    };
    for (const auto& [Item, Ratio] : Modes)
        if (Text == Item)
            return std::string(Ratio);
    return std::nullopt;
}

} // namespace

void WriteLegacySettings(TProfileWorkingSet& Set, int Key, std::string_view FolderText,
                         const std::function<bool()>& Overwrite) {
    Set.Video_DisableVideo = false;
    if (const TLegacySettingsRow* Row = FindLegacySettingsRow(Key)) {
        Set.Video_OutPutFileName =
            std::string(FolderText) + "/" +
            ReplaceFileNameExtension(FileNamePart(Set.Video_AddFileName), Row->NameExt);
        WriteRowFields(Set, *Row);
    }
    Set.Video_OutPutFileName =
        UniqueOutputPath(FolderText, FileNamePart(Set.Video_OutPutFileName), Overwrite);
}

void ReadLegacyParameterTexts(TProfileWorkingSet& Set, const TLegacyParameterTexts& Texts) {
    auto Text = [&](TParameterKind Kind) -> const std::string& { return Texts[KindIndex(Kind)]; };
    Set.Video_FrameSize = FrameSizeValue(Text(TParameterKind::FrameSize));
    Set.Video_FrameRate = FrameRateValue(Text(TParameterKind::FrameRate));
    Set.Video_VideoBitrate = VideoBitrateValue(Text(TParameterKind::VideoBitrate));
    Set.Video_AudioSampleRate = SampleRateValue(Text(TParameterKind::SampleRate));
    Set.Video_AudioBitrate = AudioBitrateValue(Text(TParameterKind::AudioBitrate));
    if (std::optional<std::string> Aspect = AspectOf(Text(TParameterKind::AspectMode)))
        Set.Video_FrameAspectRatio = std::move(*Aspect);
}
