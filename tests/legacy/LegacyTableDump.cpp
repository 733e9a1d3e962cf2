// Prints every legacy profile key with what the form would show and write:
// title, description, image index, each list's items and default, and every
// working-set field after the settings step on a set of sentinel values.
// Used to audit the tables against their source by a separate script.
#include "legacy/LegacySteps.h"
#include "legacy/LegacyTables.h"

#include <cstdio>
#include <string>

namespace {

void Field(const char* Name, const std::string& Value) {
    std::printf("  %s=%s\n", Name, Value.c_str());
}

TProfileWorkingSet Sentinels() {
    TProfileWorkingSet Set;
    Set.Video_AddFileName = "/in/clip.mkv";
    for (std::string* Text :
         {&Set.Video_FileExt, &Set.Video_VideoCodec, &Set.Video_VideoTag, &Set.Video_AudioCodec,
          &Set.Video_FrameSize, &Set.Video_FrameRate, &Set.Video_FrameAspectRatio,
          &Set.Video_AudioSampleRate, &Set.Video_AudioChannels, &Set.Video_AudioVolume,
          &Set.Video_TargetType, &Set.Video_NormType, &Set.Video_FileFormat,
          &Set.Video_VideoFilters, &Set.Video_CopyTimestamp})
        *Text = "<kept>";
    Set.Video_VideoBitrate = -7;
    Set.Video_AudioBitrate = -7;
    return Set;
}

} // namespace

int main() {
    static const char* KindNames[] = {"FrameSize",    "VideoBitrate", "FrameRate",
                                      "AudioBitrate", "SampleRate",   "AspectMode"};
    int Category = 0;
    for (const TLegacyCategory& C : LegacyCategories()) {
        std::printf("category %d %s %d\n", Category, std::string(C.Caption).c_str(), C.ImageIndex);
        for (int Profile = 0; Profile < static_cast<int>(C.Profiles.size()); ++Profile) {
            const TLegacyProfile& P = C.Profiles[Profile];
            const int Key = LegacyProfileKey(Category, Profile);
            std::printf("key %d\n", Key);
            Field("Title", std::string(P.Title));
            Field("Caption", std::string(P.Caption));
            Field("ImageIndex", std::to_string(P.ImageIndex));
            const TLegacyParameterRow& Row = *FindLegacyParameterRow(Key);
            for (TParameterKind Kind : ParameterKinds) {
                std::string Items;
                for (std::string_view Item : LegacyParameterList(Kind, Row.Choice(Kind).List))
                    Items += std::string(Items.empty() ? "" : "|") + std::string(Item);
                Field(KindNames[KindIndex(Kind)], Items);
                Field((std::string(KindNames[KindIndex(Kind)]) + "Default").c_str(),
                      std::to_string(Row.Choice(Kind).Default));
            }
            Field("AudioOnly", IsLegacyAudioOnlyKey(Key) ? "1" : "0");
            TProfileWorkingSet Set = Sentinels();
            WriteLegacySettings(Set, Key, "/out", [] { return true; });
            Field("Video_OutPutFileName", Set.Video_OutPutFileName);
            Field("Video_FileExt", Set.Video_FileExt);
            Field("Video_VideoCodec", Set.Video_VideoCodec);
            Field("Video_VideoTag", Set.Video_VideoTag);
            Field("Video_AudioCodec", Set.Video_AudioCodec);
            Field("Video_FrameSize", Set.Video_FrameSize);
            Field("Video_FrameRate", Set.Video_FrameRate);
            Field("Video_FrameAspectRatio", Set.Video_FrameAspectRatio);
            Field("Video_VideoBitrate", std::to_string(Set.Video_VideoBitrate));
            Field("Video_AudioBitrate", std::to_string(Set.Video_AudioBitrate));
            Field("Video_AudioSampleRate", Set.Video_AudioSampleRate);
            Field("Video_AudioChannels", Set.Video_AudioChannels);
            Field("Video_AudioVolume", Set.Video_AudioVolume);
            Field("Video_VideoFilters", Set.Video_VideoFilters);
            Field("Video_NormType", Set.Video_NormType);
            Field("Video_CopyTimestamp", Set.Video_CopyTimestamp);
            Field("Video_FileFormat", Set.Video_FileFormat);
            Field("Video_TargetType", Set.Video_TargetType);
            Field("Video_DisableVideo", Set.Video_DisableVideo ? "1" : "0");
        }
        ++Category;
    }
    return 0;
}
