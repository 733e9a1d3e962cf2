#include "catalogue/ProfileCatalogue.h"

#include "catalogue/KeyIndex.h"

#include <algorithm>
#include <vector>

namespace {

const std::vector<const TProfileSettings*>& SettingsIndex() {
    static const std::vector<const TProfileSettings*> Index = SortedByKey(ProfileSettingsRows());
    return Index;
}

const std::vector<const TProfileSettingsReference*>& ReferenceIndex() {
    static const std::vector<const TProfileSettingsReference*> Index =
        SortedByKey(ProfileSettingsReferences());
    return Index;
}

bool IsUtf8Continuation(char C) {
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

// Byte offset of the start of the code point that precedes Offset.
std::size_t PreviousCodePoint(std::string_view Text, std::size_t Offset) {
    if (Offset == 0)
        return 0;
    --Offset;
    while (Offset > 0 && IsUtf8Continuation(Text[Offset]))
        --Offset;
    return Offset;
}

} // namespace

std::span<const TProfileInfo> GroupProfiles(int ProfileGroup) {
    std::span<const TProfileInfo> All = Profiles();
    auto First = std::find_if(All.begin(), All.end(), [&](const TProfileInfo& Profile) {
        return Profile.ProfileGroup == ProfileGroup;
    });
    auto Last = std::find_if(First, All.end(), [&](const TProfileInfo& Profile) {
        return Profile.ProfileGroup != ProfileGroup;
    });
    return {First, Last};
}

int CategoryGroupMap(int CategoryIndex) {
    if (CategoryIndex < 0 || CategoryIndex >= CategoryCount)
        return -1;
    return Categories()[CategoryIndex].ProfileGroup;
}

std::optional<int> ProfileKeyOf(int CategoryIndex, int ProfileIndex) {
    int Group = CategoryGroupMap(CategoryIndex);
    if (Group < 0 || ProfileIndex < 0 || ProfileIndex >= Categories()[CategoryIndex].ProfileCount)
        return std::nullopt;
    return ProfileKey(Group, ProfileIndex);
}

const TProfileInfo* FindProfile(int Key) {
    if (Key < 0)
        return nullptr;
    std::span<const TProfileInfo> Group = GroupProfiles(Key / 100);
    int Index = Key % 100;
    return Index < static_cast<int>(Group.size()) ? &Group[Index] : nullptr;
}

const TProfileSettings* FindProfileSettings(int Key) {
    if (const TProfileSettingsReference* Reference = FindByKey(ReferenceIndex(), Key))
        Key = Reference->SameAsKey;
    return FindByKey(SettingsIndex(), Key);
}

std::string_view ProfileSettingsTitle(int Key) {
    if (const TProfileSettingsReference* Reference = FindByKey(ReferenceIndex(), Key))
        return Reference->Title;
    if (const TProfileSettings* Settings = FindByKey(SettingsIndex(), Key))
        return Settings->Title;
    return {};
}

std::string ProfileCode(int CategoryIndex, int ProfileIndex) {
    return std::to_string((CategoryIndex + 1) * 100 + ProfileIndex);
}

bool DecodeProfileCode(std::string_view Code, int& CategoryIndex, int& ProfileIndex) {
    // Nine digits at most, so the number always fits.
    if (Code.empty() || Code.size() > 9 ||
        !std::all_of(Code.begin(), Code.end(), [](char C) { return C >= '0' && C <= '9'; }))
        return false;
    int Value = 0;
    for (char C : Code)
        Value = Value * 10 + (C - '0');
    CategoryIndex = Value / 100 - 1;
    ProfileIndex = Value % 100;
    return true;
}

std::string ProfileExtension(std::string_view Title) {
    // Titles end in "(*.ext)": the four characters before the closing
    // parenthesis are the extension with its dot, except where it is longer
    // or shorter than three letters.
    std::size_t End = PreviousCodePoint(Title, Title.size());
    std::size_t Begin = End;
    for (int I = 0; I < 4; ++I)
        Begin = PreviousCodePoint(Title, Begin);
    std::string Four(Title.substr(Begin, End - Begin));
    if (Four == "lac)")
        return ".alac";
    if (Four == "flac")
        return ".flac";
    if (Four == "aiff")
        return ".aiff";
    if (Four == "mpeg")
        return ".mpeg";
    if (Four == "*.rm")
        return ".rm";
    if (Four == "*.ra")
        return ".ra";
    return Four;
}

std::string_view VideoPresetForCodec(std::string_view VideoCodec) {
    return VideoCodec == "libx264" ? "libx264-default" : "";
}
