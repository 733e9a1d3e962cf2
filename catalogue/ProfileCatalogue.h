// The output catalogue: 17 categories, 175 profiles and their settings.
//
// A category selects a numbered profile group through CategoryGroupMap; a
// profile is addressed by ProfileKey (group * 100 + profile index), which is
// what the settings and the parameter rows are keyed by. The job table does
// not store the key but the ProfileCode, built from the category index
// instead of the group: (category index + 1) * 100 + profile index.
//
// All data is constant and lives in ProfileCatalogue.Data.cpp; nothing here
// allocates or changes at run time.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr int CategoryCount = 17;

struct TCategoryInfo {
    std::string_view Caption;
    int ImageIndex; // into the category list's image list
    int ProfileGroup;
    int ProfileCount;
};

struct TProfileInfo {
    int ProfileGroup;
    int Index; // within the group, from 0
    std::string_view Title;
    std::string_view Caption;
};

// What one profile assigns to the working set. OutputExt is what goes into
// the output file name; FileExt is the working set's Video_FileExt, which a
// few profiles store differently (or not at all).
struct TProfileSettings {
    int Key;
    std::string_view Title;
    std::string_view OutputExt;
    std::string_view FileExt;
    std::string_view VideoCodec;
    std::string_view VideoTag;
    std::string_view FrameSize;
    std::string_view FrameRate;
    std::string_view FrameAspectRatio;
    int VideoBitrate;
    std::string_view AudioCodec;
    int AudioBitrate;
    std::string_view AudioSampleRate;
    std::string_view AudioChannels;
    std::string_view TargetType;
    std::string_view NormType;
    bool DisableVideo;
};

// A profile that carries exactly the settings of another key; only its title
// differs.
struct TProfileSettingsReference {
    int Key;
    std::string_view Title;
    int SameAsKey;
};

// The 17 categories in the order of the category list.
std::span<const TCategoryInfo> Categories();

// All 175 profiles, category by category, each group in its own order.
std::span<const TProfileInfo> Profiles();

// The profiles of one group in order; empty for a number that is no group.
std::span<const TProfileInfo> GroupProfiles(int ProfileGroup);

// The settings rows of their own and the rows that borrow another's settings.
std::span<const TProfileSettings> ProfileSettingsRows();
std::span<const TProfileSettingsReference> ProfileSettingsReferences();

// The group of a category index, or -1 outside 0 .. 16.
int CategoryGroupMap(int CategoryIndex);

inline constexpr int ProfileKey(int ProfileGroup, int ProfileIndex) {
    return ProfileGroup * 100 + ProfileIndex;
}

// The key of a category's profile, or nothing when the category is no
// category or the index names none of its profiles (-1 included), so an
// index beyond a group never reaches the next group's keys.
std::optional<int> ProfileKeyOf(int CategoryIndex, int ProfileIndex);

// The profile named by a key, or nullptr.
const TProfileInfo* FindProfile(int Key);

// The settings of a key with references resolved, or nullptr.
const TProfileSettings* FindProfileSettings(int Key);

// The title that the settings table files a key under (a reference row's own
// title for the borrowing keys), or an empty text for an unknown key.
std::string_view ProfileSettingsTitle(int Key);

// The job row's text for a category and profile index.
std::string ProfileCode(int CategoryIndex, int ProfileIndex);

// Reads a ProfileCode back: false (and nothing written) when the text is not
// a plain decimal number.
bool DecodeProfileCode(std::string_view Code, int& CategoryIndex, int& ProfileIndex);

// The output extension a profile title names: the four characters before the
// title's last one, with the few titles whose extension is not four
// characters long mapped to their real extension.
std::string ProfileExtension(std::string_view Title);

// The preset that goes with a video encoder: the x264 encoder gets its
// default preset, every other encoder none.
std::string_view VideoPresetForCodec(std::string_view VideoCodec);
