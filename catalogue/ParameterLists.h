// The six parameter lists: their 59 item lists, the list and default each
// profile gets, the reading of a chosen item back into a value, and the
// job row's ParameterCode.
//
// Item positions are data: a profile's default is a position, and a job row
// records each choice as a two-digit position. The lists are literal and
// never sorted or computed.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// In the order in which the lists are filled and their handlers run.
enum class TParameterKind {
    FrameSize,
    VideoBitrate,
    FrameRate,
    AudioBitrate,
    SampleRate,
    AspectMode
};

inline constexpr int ParameterKindCount = 6;

inline constexpr std::array<TParameterKind, ParameterKindCount> ParameterKinds = {
    TParameterKind::FrameSize,    TParameterKind::VideoBitrate, TParameterKind::FrameRate,
    TParameterKind::AudioBitrate, TParameterKind::SampleRate,   TParameterKind::AspectMode};

// One cell of a parameter row: the list's number among the lists of its kind
// (from 1) and the default position in it (from 0).
struct TListChoice {
    int List;
    int Default;
};

struct TParameterRow {
    int Key;
    std::string_view Title;
    TListChoice FrameSize;
    TListChoice VideoBitrate;
    TListChoice FrameRate;
    TListChoice AudioBitrate;
    TListChoice SampleRate;
    TListChoice AspectMode;

    const TListChoice& Choice(TParameterKind Kind) const;
};

// The number of lists of a kind.
int ParameterListCount(TParameterKind Kind);

// The items of list Number (from 1) of a kind; empty when there is no such
// list.
std::span<const std::string_view> ParameterList(TParameterKind Kind, int Number);

// All 175 rows, category by category.
std::span<const TParameterRow> ParameterRows();

// The row of a key, or nullptr.
const TParameterRow* FindParameterRow(int Key);

// A profile without video gets the no-video frame-size list, and with it the
// other no-video lists.
inline constexpr int NoVideoFrameSizeList = 17;
inline bool IsNoVideoRow(const TParameterRow& Row) {
    return Row.FrameSize.List == NoVideoFrameSizeList;
}

// Text-to-value rules for a list's displayed text.
std::string FrameSizeValue(std::string_view Text);
std::string FrameRateValue(std::string_view Text);
std::string SampleRateValue(std::string_view Text);
std::string AspectModeValue(std::string_view Text);
int VideoBitrateValue(std::string_view Text);
int AudioBitrateValue(std::string_view Text);

// Bit/s of a "<number> kbps" text, exact for up to three fraction digits,
// with "." as the separator whatever the locale; NoBitrate when no number
// stands before "kbps".
inline constexpr int NoBitrate = -1000;
int KbpsTextToBitrate(std::string_view Text);

// The value of a kind's displayed text as the job row writes it.
std::string ParameterValueText(TParameterKind Kind, std::string_view Text);

// ParameterCode: twelve digits, two per list, in its own order (frame size,
// video bit rate, audio bit rate, aspect mode, frame rate, sample rate),
// which is not the fill order.
inline constexpr int ParameterCodeLength = 12;
int ParameterCodeSlot(TParameterKind Kind);

// A position as its two digits ("07", "19").
std::string TwoDigitPosition(int Position);

// Code with the two digits of Kind replaced and every other character kept;
// a code shorter than twelve characters is first padded with "0".
std::string PatchParameterCode(std::string_view Code, TParameterKind Kind, int Position);

// The code of six positions indexed by kind; a position below 0 (no item
// selected) is written "00".
std::string MakeParameterCode(const std::array<int, ParameterKindCount>& Positions);

// Reads the six positions (indexed by kind) back; false, and nothing
// written, unless the code is exactly twelve decimal digits.
bool DecodeParameterCode(std::string_view Code, std::array<int, ParameterKindCount>& Positions);

inline constexpr std::size_t KindIndex(TParameterKind Kind) {
    return static_cast<std::size_t>(Kind);
}
