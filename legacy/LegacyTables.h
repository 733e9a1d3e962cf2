// The legacy settings form's own format tables: 12 categories with 109
// profiles, a settings row and a parameter row per profile key, and the 50
// item lists the parameter rows name.
//
// These keys are formed like the catalogue's profile codes but mean other
// profiles, so nothing here ever reaches a catalogue lookup. Only the list
// kinds and the list-choice cell are shared with the catalogue.
#pragma once

#include "catalogue/ParameterLists.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

struct TLegacyProfile {
    std::string_view Title;
    std::string_view Caption;
    int ImageIndex;
};

struct TLegacyCategory {
    std::string_view Caption;
    int ImageIndex;
    std::span<const TLegacyProfile> Profiles;
};

inline constexpr int LegacyCategoryCount = 12;

// The categories in the order of the category list.
std::span<const TLegacyCategory> LegacyCategories();

// (category + 1) × 100 + profile; the indices are used as they are, so an
// unselected category (-1) or an empty profile list gives a key without rows.
inline constexpr int LegacyProfileKey(int CategoryIndex, int ProfileIndex) {
    return (CategoryIndex + 1) * 100 + ProfileIndex;
}

// One profile's settings. A field without a value is one the row does not
// hold: the working set keeps what it had. An empty text is a value.
struct TLegacySettingsRow {
    int Key = 0;
    std::string_view NameExt;
    std::optional<std::string_view> FileExt;
    std::optional<std::string_view> VideoCodec;
    std::optional<std::string_view> VideoTag;
    std::optional<std::string_view> AudioCodec;
    std::optional<std::string_view> FrameSize;
    std::optional<std::string_view> FrameRate;
    std::optional<std::string_view> FrameAspectRatio;
    std::optional<std::int32_t> VideoBitrate;
    std::optional<std::int32_t> AudioBitrate;
    std::optional<std::string_view> AudioSampleRate;
    std::optional<std::string_view> AudioChannels;
    std::optional<std::string_view> AudioVolume;
    std::optional<std::string_view> VideoFilters;
    std::optional<std::string_view> NormType;
    std::optional<std::string_view> CopyTimestamp;
    std::optional<std::string_view> FileFormat;
    std::optional<std::string_view> TargetType;
    std::optional<bool> DisableVideo;
};

// All 109 rows in key order, and the row of a key or null.
std::span<const TLegacySettingsRow> LegacySettingsRows();
const TLegacySettingsRow* FindLegacySettingsRow(int Key);

// A profile key's list of each kind with its default position.
struct TLegacyParameterRow {
    int Key = 0;
    std::array<TListChoice, ParameterKindCount> Choices;

    const TListChoice& Choice(TParameterKind Kind) const { return Choices[KindIndex(Kind)]; }
};

// The number of lists of a kind (19 frame-size lists, 10 video bit-rate, 7
// frame-rate, 6 audio bit-rate, 5 sample-rate and 3 aspect lists).
int LegacyParameterListCount(TParameterKind Kind);

// The items of list Number (from 1) of a kind, in the order shown; empty when
// there is no such list.
std::span<const std::string_view> LegacyParameterList(TParameterKind Kind, int Number);

// All 109 rows in key order, and the row of a key or null.
std::span<const TLegacyParameterRow> LegacyParameterRows();
const TLegacyParameterRow* FindLegacyParameterRow(int Key);

// A key whose frame size, video bit rate, frame rate and aspect lists are the
// single no-video items.
bool IsLegacyAudioOnlyKey(int Key);
