#include "media/FFmpegQueue.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// One field of a record: how to give it a value other than its reset value,
// and whether it holds the reset value.
template <typename TRecord> struct TFieldRow {
    const char* Name;
    std::function<void(TRecord&)> Dirty;
    std::function<bool(const TRecord&)> IsReset;
};

#define FIELD(Record, Field, Other, Reset)                                                         \
    TFieldRow<Record> {                                                                            \
#Field, [](Record & R) { R.Field = Other; },                                               \
                                                  [](const Record& R) { return R.Field == Reset; } \
    }

template <typename TRecord>
void ExpectEveryFieldReset(const std::vector<TFieldRow<TRecord>>& Rows, void (*Init)(TRecord&)) {
    TRecord Record;
    for (const auto& Row : Rows) {
        Row.Dirty(Record);
        ASSERT_FALSE(Row.IsReset(Record)) << Row.Name << ": the other value equals the reset value";
    }
    Init(Record);
    for (const auto& Row : Rows)
        EXPECT_TRUE(Row.IsReset(Record)) << Row.Name;
}

int Marker;

} // namespace

TEST(OptionRecords, InitInputOptionsResetsEveryField) {
    using R = TInputOptions;
    ExpectEveryFieldReset<R>({FIELD(R, FileName, "a.avi", ""), FIELD(R, FileFormat, "avi", ""),
                              FIELD(R, TimeStart, 0, TimeNotGiven), FIELD(R, ProgramID, 3, -1),
                              FIELD(R, ExtOptions, "b=1", ""), FIELD(R, Tag, 9, 0),
                              FIELD(R, Data, &Marker, nullptr)},
                             InitInputOptions);
}

TEST(OptionRecords, InitOutputOptionsResetsEveryFieldAndTheStreamInfo) {
    using R = TOutputOptions;
    ExpectEveryFieldReset<R>({FIELD(R, FileName, "o.mp4", ""),
                              FIELD(R, FileExt, ".mp4", ""),
                              FIELD(R, FileFormat, "mp4", ""),
                              FIELD(R, PacketSize, 2324, -1),
                              FIELD(R, MuxRate, 10080000, -1),
                              FIELD(R, MuxDelay, 0.7f, -1.0f),
                              FIELD(R, MuxPreload, 0.5f, -1.0f),
                              FIELD(R, AudioCodec, "aac", ""),
                              FIELD(R, AudioPreset, "p", ""),
                              FIELD(R, DisableAudio, true, false),
                              FIELD(R, AudioVolume, 256, -1),
                              FIELD(R, AudioChannels, 2, -1),
                              FIELD(R, AudioSampleRate, 44100, -1),
                              FIELD(R, AudioBitrate, 128000, -1),
                              FIELD(R, AudioBitRateTolerance, 4000, -1),
                              FIELD(R, AudioLanguage, "chi", ""),
                              FIELD(R, AudioSyncMethod, 1, 0),
                              FIELD(R, AudioTag, "mp4a", ""),
                              FIELD(R, VideoCodec, "mpeg4", ""),
                              FIELD(R, VideoPreset, "fast", ""),
                              FIELD(R, DisableVideo, true, false),
                              FIELD(R, FrameRate, "30000/1001", ""),
                              FIELD(R, FrameSize, "320x240", ""),
                              FIELD(R, FrameAspectRatio, "4:3", ""),
                              FIELD(R, CropTop, 0, -1),
                              FIELD(R, CropBottom, 2, -1),
                              FIELD(R, CropLeft, 4, -1),
                              FIELD(R, CropRight, 6, -1),
                              FIELD(R, GroupPictureSize, 12, -1),
                              FIELD(R, VideoBitrate, 1000000, -1),
                              FIELD(R, VideoMaxRate, 2000000, -1),
                              FIELD(R, VideoMinRate, 0, -1),
                              FIELD(R, VideoBitRateTolerance, 1, -1),
                              FIELD(R, VideoBufSize, 1835008, -1),
                              FIELD(R, VideoSyncMethod, 0, -1),
                              FIELD(R, VideoTag, "XVID", ""),
                              FIELD(R, VideoFilters, "scale=2:2", ""),
                              FIELD(R, VideoLanguage, "eng", ""),
                              FIELD(R, SubtitleCodec, "copy", ""),
                              FIELD(R, SubtitlePreset, "s", ""),
                              FIELD(R, DisableSubtitle, true, false),
                              FIELD(R, SubtitleLanguage, "fre", ""),
                              FIELD(R, InputSync, true, false),
                              FIELD(R, CopyTimestamp, true, false),
                              FIELD(R, TimeStart, 0, TimeNotGiven),
                              FIELD(R, TimeLength, 1000000, TimeNotGiven),
                              FIELD(R, Info.TimeStamp, 0.0, -1.0),
                              FIELD(R, Info.Year, 2009, -1),
                              FIELD(R, Info.Track, 1, -1),
                              FIELD(R, Info.Title, "标题", ""),
                              FIELD(R, Info.Author, "a", ""),
                              FIELD(R, Info.Copyright, "c", ""),
                              FIELD(R, Info.Comment, "m", ""),
                              FIELD(R, Info.Album, "l", ""),
                              FIELD(R, Info.Genre, "g", ""),
                              FIELD(R, TargetType, ttDVD, ttIgnore),
                              FIELD(R, NormType, ntNTSC, ntAuto),
                              FIELD(R, NormDefault, ntNTSC, ntPAL),
                              FIELD(R, CustomHook, true, false),
                              FIELD(R, Join, true, false),
                              FIELD(R, ExtOptions, "g=25", ""),
                              FIELD(R, Tag, 5, 0),
                              FIELD(R, Data, &Marker, nullptr)},
                             InitOutputOptions);
}

TEST(OptionRecords, TheTimeSentinelIsFFmpegsMissingTimeStamp) {
    EXPECT_EQ(TimeNotGiven, INT64_C(-9223372036854775807) - 1);
}

TEST(OptionRecords, EnumerationOrdinals) {
    EXPECT_EQ(0, ttIgnore);
    EXPECT_EQ(1, ttVCD);
    EXPECT_EQ(2, ttSVCD);
    EXPECT_EQ(3, ttDVD);
    EXPECT_EQ(0, ntAuto);
    EXPECT_EQ(1, ntPAL);
    EXPECT_EQ(2, ntNTSC);
}

TEST(OptionRecords, NormDefaultHoldsOnlyPalOrNtsc) {
    TOutputOptions Options;
    EXPECT_EQ(ntPAL, static_cast<TOptionNormType>(Options.NormDefault));
    Options.NormDefault = ntNTSC;
    EXPECT_EQ(ntNTSC, static_cast<TOptionNormType>(Options.NormDefault));
    EXPECT_THROW(Options.NormDefault = ntAuto, EConvertError);
    EXPECT_EQ(ntNTSC, static_cast<TOptionNormType>(Options.NormDefault));
}
