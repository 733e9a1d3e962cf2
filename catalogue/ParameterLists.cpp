#include "catalogue/ParameterLists.h"

#include "catalogue/KeyIndex.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

const std::vector<const TParameterRow*>& RowIndex() {
    static const std::vector<const TParameterRow*> Index = SortedByKey(ParameterRows());
    return Index;
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// The item texts that stand for "take the source's value" or "no video".
constexpr std::string_view KeepFrameSize = "保持原分辨率";
constexpr std::string_view NoVideoFrameSize = "该格式无视频";
constexpr std::string_view KeepFrameRate = "保持原帧速率";
constexpr std::string_view KeepAspectMode = "保持原视频模式";
constexpr std::string_view NoVideo = "无视频";

} // namespace

const TListChoice& TParameterRow::Choice(TParameterKind Kind) const {
    switch (Kind) {
    case TParameterKind::FrameSize:
        return FrameSize;
    case TParameterKind::VideoBitrate:
        return VideoBitrate;
    case TParameterKind::FrameRate:
        return FrameRate;
    case TParameterKind::AudioBitrate:
        return AudioBitrate;
    case TParameterKind::SampleRate:
        return SampleRate;
    case TParameterKind::AspectMode:
        return AspectMode;
    }
    return FrameSize;
}

const TParameterRow* FindParameterRow(int Key) {
    return FindByKey(RowIndex(), Key);
}

std::string FrameSizeValue(std::string_view Text) {
    if (Text == KeepFrameSize || Text == NoVideoFrameSize)
        return {};
    return std::string(Text);
}

std::string FrameRateValue(std::string_view Text) {
    if (Text == KeepFrameRate || Text == NoVideo)
        return {};
    return std::string(Text);
}

std::string SampleRateValue(std::string_view Text) {
    return std::string(Text);
}

std::string AspectModeValue(std::string_view Text) {
    static constexpr std::pair<std::string_view, std::string_view> Modes[] = {
        {"普通视频4:3模式", "4:3"},
        {"宽屏视频16:9模式", "16:9"},
        {"宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "47:20"},
    };
    for (const auto& [Item, Ratio] : Modes)
        if (Text == Item)
            return std::string(Ratio);
    // "保持原视频模式", "无视频" and anything unknown leave the ratio unset.
    return {};
}

int KbpsTextToBitrate(std::string_view Text) {
    std::string Number = Trim(Text.substr(0, Text.find("kbps")));
    // Decimal arithmetic on the digits, so "5.15" gives exactly 5150 and no
    // binary fraction or locale decides the result.
    std::size_t Point = Number.find('.');
    std::string_view Whole = std::string_view(Number).substr(0, Point);
    std::string_view Fraction = Point == std::string::npos
                                    ? std::string_view()
                                    : std::string_view(Number).substr(Point + 1);
    if (Whole.empty() && Fraction.empty())
        return NoBitrate;
    if (!std::all_of(Whole.begin(), Whole.end(), IsDigit) ||
        !std::all_of(Fraction.begin(), Fraction.end(), IsDigit))
        return NoBitrate;
    std::int64_t Value = 0;
    for (char C : Whole) {
        Value = Value * 10 + (C - '0');
        if (Value > std::numeric_limits<std::int32_t>::max() / 1000)
            return NoBitrate;
    }
    Value *= 1000;
    std::int64_t Scale = 100;
    // Digits beyond the third would be fractions of a bit: dropped.
    for (std::size_t I = 0; I < Fraction.size() && I < 3; ++I, Scale /= 10)
        Value += (Fraction[I] - '0') * Scale;
    return static_cast<int>(Value);
}

int VideoBitrateValue(std::string_view Text) {
    if (Text == NoVideo)
        return NoBitrate;
    return KbpsTextToBitrate(Text);
}

int AudioBitrateValue(std::string_view Text) {
    return KbpsTextToBitrate(Text);
}

std::string ParameterValueText(TParameterKind Kind, std::string_view Text) {
    switch (Kind) {
    case TParameterKind::FrameSize:
        return FrameSizeValue(Text);
    case TParameterKind::VideoBitrate:
        return std::to_string(VideoBitrateValue(Text));
    case TParameterKind::FrameRate:
        return FrameRateValue(Text);
    case TParameterKind::AudioBitrate:
        return std::to_string(AudioBitrateValue(Text));
    case TParameterKind::SampleRate:
        return SampleRateValue(Text);
    case TParameterKind::AspectMode:
        return AspectModeValue(Text);
    }
    return {};
}

int ParameterCodeSlot(TParameterKind Kind) {
    switch (Kind) {
    case TParameterKind::FrameSize:
        return 0;
    case TParameterKind::VideoBitrate:
        return 1;
    case TParameterKind::AudioBitrate:
        return 2;
    case TParameterKind::AspectMode:
        return 3;
    case TParameterKind::FrameRate:
        return 4;
    case TParameterKind::SampleRate:
        return 5;
    }
    return 0;
}

std::string TwoDigitPosition(int Position) {
    if (Position < 0)
        Position = 0;
    return Position < 10 ? "0" + std::to_string(Position) : std::to_string(Position);
}

std::string PatchParameterCode(std::string_view Code, TParameterKind Kind, int Position) {
    std::string Result(Code);
    if (Result.size() < ParameterCodeLength)
        Result.append(ParameterCodeLength - Result.size(), '0');
    Result.replace(static_cast<std::size_t>(ParameterCodeSlot(Kind)) * 2, 2,
                   TwoDigitPosition(Position));
    return Result;
}

std::string MakeParameterCode(const std::array<int, ParameterKindCount>& Positions) {
    std::string Code(ParameterCodeLength, '0');
    for (TParameterKind Kind : ParameterKinds)
        Code = PatchParameterCode(Code, Kind, Positions[KindIndex(Kind)]);
    return Code;
}

bool DecodeParameterCode(std::string_view Code, std::array<int, ParameterKindCount>& Positions) {
    if (Code.size() != ParameterCodeLength || !std::all_of(Code.begin(), Code.end(), IsDigit))
        return false;
    for (TParameterKind Kind : ParameterKinds) {
        std::size_t At = static_cast<std::size_t>(ParameterCodeSlot(Kind)) * 2;
        Positions[KindIndex(Kind)] = (Code[At] - '0') * 10 + (Code[At + 1] - '0');
    }
    return true;
}
