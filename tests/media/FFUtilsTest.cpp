#include "media/FFUtils.h"

#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <string>
#include <vector>

TEST(FFUtils, FormatTimeUS) {
    EXPECT_EQ(FormatTimeUS(INT64_C(3723456789)), "01:02:03.456");
    EXPECT_EQ(FormatTimeUS(0), "00:00:00.000");
    EXPECT_EQ(FormatTimeUS(AV_NOPTS_VALUE), "N/A");
    EXPECT_EQ(FormatTimeUS(INT64_C(90000000000)), "25:00:00.000");
}

TEST(FFUtils, FrameDurationUS) {
    const std::pair<AVRational, std::int64_t> Cases[] = {
        {{25, 1}, 40000}, {{30000, 1001}, 33366}, {{0, 1}, 40000}, {{25, 0}, 40000}};
    for (const auto& [Rate, Duration] : Cases)
        EXPECT_EQ(FrameDurationUS(Rate), Duration) << Rate.num << "/" << Rate.den;
}

TEST(FFUtils, FormatAVErrorNamesFFmpegsCodes) {
    const std::pair<int, const char*> Cases[] = {
        {AVERROR(ENOENT), "No such file or directory"},
        {AVERROR(EIO), "I/O error"},
        {AVERROR(ENOMEM), "Not enough memory"},
        {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
        {AVERROR(EINVAL), "Invalid data found when processing input"},
        {AVERROR_EOF, "End of file"},
        {AVERROR(EDOM), "Number syntax expected in filename"},
        {AVERROR_DEMUXER_NOT_FOUND, "Unknown format"},
        {AVERROR_MUXER_NOT_FOUND, "Unknown format"},
        {AVERROR(EILSEQ), "Unknown format"},
        {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"},
        {-1163346256, "Not yet implemented in FFmpeg"},
        {-1, "Error number -1 occurred (Operation not permitted)"},
        {AVERROR(EACCES), "Error number -13 occurred (Permission denied)"}};
    for (const auto& [Code, Text] : Cases)
        EXPECT_EQ(FormatAVError("f", Code), std::string("f: ") + Text) << Code;
}

TEST(FFUtils, MediaTypeName) {
    const std::pair<int, const char*> Cases[] = {{0, "Video"},    {1, "Audio"},      {2, "Data"},
                                                 {3, "Subtitle"}, {4, "Attachment"}, {5, "Unknown"},
                                                 {-1, "Unknown"}};
    for (const auto& [Type, Name] : Cases)
        EXPECT_EQ(MediaTypeName(Type), Name) << Type;
}

namespace {

class FFUtilsTest : public testing::Test {
protected:
    TFFOptions Options;
    std::vector<std::string> Logged;

    void SetUp() override {
        ASSERT_TRUE(FFLoader().Load(ConverterLibs)) << FFLoader().LastErrMsg();
        InitOptions(Options);
        AllocOptions(Options, SWS_BICUBIC);
        TFFLogger* Logger = GetFFLogger();
        Logger->SetTriggerEventInMainThread(false);
        Logger->SetLogLevel(llInfo);
        Logger->OnLog = [this](TObject*, TThreadID, TLogLevel, const std::string& AMsg) {
            Logged.push_back(AMsg);
        };
    }
    void TearDown() override {
        FreeOptions(Options);
        TFFLogger* Logger = GetFFLogger();
        Logger->OnLog = nullptr;
        Logger->SetTriggerEventInMainThread(true);
        Logger->SetLogLevel(llInfo);
        FFLoader().Unload(ConverterLibs);
    }

    std::int64_t IntOf(void* AObject, const char* AName) {
        std::int64_t Value = -12345;
        avutil::av_opt_get_int(AObject, AName, AV_OPT_SEARCH_CHILDREN, &Value);
        return Value;
    }
    std::string TextOf(void* AObject, const char* AName) {
        std::uint8_t* Text = nullptr;
        if (avutil::av_opt_get(AObject, AName, AV_OPT_SEARCH_CHILDREN, &Text) < 0)
            return "<none>";
        std::string Value = reinterpret_cast<char*>(Text);
        avutil::av_free(Text);
        return Value;
    }
    std::string Entries() {
        std::string Text;
        for (const TFFOptionEntry& Entry : Options.entries)
            Text += std::to_string(Entry.Target) + (Entry.Private ? "p:" : ":") + Entry.Name + "=" +
                    Entry.Value + ";";
        return Text;
    }
};

} // namespace

TEST_F(FFUtilsTest, BitRatesGoToTheirOwnMediaType) {
    const std::int64_t AudioDefault = IntOf(Options.avcodec_opts[otAudio], "b");
    EXPECT_TRUE(SetOptionDefault(Options, "vb", "1000000"));
    EXPECT_EQ(Entries(), "0:b=1000000;");
    EXPECT_TRUE(SetOptionDefault(Options, "b", "2000000"));
    EXPECT_EQ(Entries(), "0:b=2000000;");
    EXPECT_EQ(IntOf(Options.avcodec_opts[otVideo], "b"), 2000000);
    EXPECT_EQ(IntOf(Options.avcodec_opts[otAudio], "b"), AudioDefault);

    EXPECT_TRUE(SetOptionDefault(Options, "ab", "64000"));
    EXPECT_TRUE(SetOptionDefault(Options, "ar", "22050"));
    // FFmpeg spells the audio bit rate "ab" itself.
    EXPECT_EQ(Entries(), "0:b=2000000;1:ab=64000;1:ar=22050;");
    EXPECT_EQ(IntOf(Options.avcodec_opts[otAudio], "b"), 64000);
    EXPECT_EQ(IntOf(Options.avcodec_opts[otVideo], "ar"), 0);
    EXPECT_EQ(IntOf(Options.avcodec_opts[otVideo], "b"), 2000000);
    EXPECT_TRUE(Logged.empty());
}

TEST_F(FFUtilsTest, UnknownNamesAndBlankValuesFailQuietly) {
    EXPECT_FALSE(SetOptionDefault(Options, "nosuchopt", "1"));
    EXPECT_FALSE(SetOptionDefault(Options, "b", "  "));
    EXPECT_FALSE(SetOptionDefault(Options, "  ", "1"));
    EXPECT_TRUE(Options.entries.empty());
    EXPECT_TRUE(Logged.empty());

    TFFOptions NotAllocated;
    InitOptions(NotAllocated);
    EXPECT_FALSE(SetOptionDefault(NotAllocated, "b", "1"));
}

TEST_F(FFUtilsTest, ARejectedValueIsLoggedAndNotRecorded) {
    EXPECT_FALSE(SetOptionDefault(Options, "flags", "+nosuchflag"));
    EXPECT_EQ(Logged.back(), "Invalid value \"+nosuchflag\" for option \"flags\"");
    EXPECT_TRUE(Options.entries.empty());
}

TEST_F(FFUtilsTest, FlagsGivenInStepsAreReplayedTogether) {
    ASSERT_TRUE(SetOptionDefault(Options, "flags", "+qscale"));
    ASSERT_TRUE(SetOptionDefault(Options, "flags", "+gray"));
    AVCodecContext* Target = avcodec::avcodec_alloc_context3(nullptr);
    ApplyContextOptions(Options, Target, otVideo, AV_OPT_FLAG_ENCODING_PARAM);
    EXPECT_EQ(Target->flags & (AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_GRAY),
              AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_GRAY);
    avcodec::avcodec_free_context(&Target);
}

TEST_F(FFUtilsTest, PrivateOptionsNeedTheirEncoderOrMuxer) {
    EXPECT_FALSE(SetOptionDefault(Options, "muxrate", "10080000"));
    SetMuxer(Options, avformat::av_guess_format("dvd", nullptr, nullptr));
    EXPECT_TRUE(SetOptionDefault(Options, "muxrate", "10080000"));
    ASSERT_EQ(Options.entries.size(), 1u);
    EXPECT_EQ(Options.entries[0].Target, otFormat);
    EXPECT_TRUE(Options.entries[0].Private);

    const AVCodec* X264 = avcodec::avcodec_find_encoder_by_name("libx264");
    if (!X264)
        GTEST_SKIP() << "this FFmpeg has no libx264";
    EXPECT_FALSE(SetOptionDefault(Options, "preset", "medium"));
    SetEncoder(Options, otVideo, X264);
    EXPECT_TRUE(SetOptionDefault(Options, "preset", "medium"));
    EXPECT_EQ(Options.entries.back().Target, otVideo);
    EXPECT_TRUE(Options.entries.back().Private);
    SetEncoder(Options, otVideo, nullptr);
    EXPECT_FALSE(SetOptionDefault(Options, "tune", "film"));
}

TEST_F(FFUtilsTest, DebugRaisesTheLoggerToDebug) {
    EXPECT_TRUE(SetOptionDefault(Options, "debug", "1"));
    EXPECT_EQ(GetFFLogger()->LogLevel(), llDebug);
}

TEST_F(FFUtilsTest, RecordedOptionsApplyOnlyToTheirTypeAndFlags) {
    const AVCodec* X264 = avcodec::avcodec_find_encoder_by_name("libx264");
    if (!X264)
        GTEST_SKIP() << "this FFmpeg has no libx264";
    SetEncoder(Options, otVideo, X264);
    ASSERT_TRUE(SetOptionDefault(Options, "b", "1000000"));
    ASSERT_TRUE(SetOptionDefault(Options, "g", "25"));
    ASSERT_TRUE(SetOptionDefault(Options, "preset", "fast"));

    AVCodecContext* Video = avcodec::avcodec_alloc_context3(X264);
    ApplyContextOptions(Options, Video, otVideo, 17);
    EXPECT_EQ(Video->bit_rate, 1000000);
    EXPECT_EQ(Video->gop_size, 25);
    EXPECT_EQ(TextOf(Video, "preset"), "fast");
    avcodec::avcodec_free_context(&Video);

    AVCodecContext* Audio =
        avcodec::avcodec_alloc_context3(avcodec::avcodec_find_encoder_by_name("aac"));
    ApplyContextOptions(Options, Audio, otAudio, 9);
    EXPECT_NE(Audio->bit_rate, 1000000);
    EXPECT_NE(Audio->gop_size, 25);

    AVDictionary* Dictionary = nullptr;
    ApplyContextOptions(Options, &Dictionary, otVideo, 17);
    EXPECT_EQ(GetMetadataValue(Dictionary, "preset", "?"), "fast");
    EXPECT_EQ(GetMetadataValue(Dictionary, "g", "?"), "25");
    EXPECT_EQ(GetMetadataValue(Dictionary, "missing", "?"), "?");
    avutil::av_dict_free(&Dictionary);
    avcodec::avcodec_free_context(&Audio);
}

TEST_F(FFUtilsTest, TheStoreKeepsItsOwnCopyOfAValue) {
    std::string Value = "ctx=1";
    ASSERT_TRUE(SetOptionDefault(Options, "codec_whitelist", Value));
    Value.assign(Value.size(), 'X');
    EXPECT_EQ(TextOf(Options.avcodec_opts[otVideo], "codec_whitelist"), "ctx=1");
    EXPECT_EQ(Options.entries.at(0).Value, "ctx=1");
}

TEST_F(FFUtilsTest, ReadWholeFileAddsAZeroAndFailsOnWhatCannotBeRead) {
    TTempDir Dir;
    std::ofstream(Dir.File("empty")).close();
    std::ofstream(Dir.File("text")) << "abc";
    std::uint8_t* Buffer = nullptr;
    std::int64_t Size = -1;

    ASSERT_EQ(ReadWholeFile(Dir.File("empty"), Buffer, Size), 0);
    EXPECT_EQ(Size, 1);
    EXPECT_EQ(Buffer[0], 0);
    avutil::av_free(Buffer);

    ASSERT_EQ(ReadWholeFile(Dir.File("text"), Buffer, Size), 0);
    EXPECT_EQ(Size, 4);
    EXPECT_STREQ(reinterpret_cast<char*>(Buffer), "abc");
    avutil::av_free(Buffer);

    EXPECT_EQ(ReadWholeFile(Dir.File("missing"), Buffer, Size), -1);
    EXPECT_EQ(ReadWholeFile(Dir.Path(), Buffer, Size), -1);
}

TEST_F(FFUtilsTest, CodecTagText) {
    AVCodecParameters Parameters{};
    Parameters.codec_id = AV_CODEC_ID_MPEG4;
    EXPECT_EQ(CodecTagText(&Parameters, false), "mpeg4(MPEG-4 part 2)");
    AVCodecContext* Context = avcodec::avcodec_alloc_context3(nullptr);
    Context->codec_id = AV_CODEC_ID_MPEG2TS;
    EXPECT_EQ(CodecTagText(Context, false), "mpeg2ts");
    Context->codec_id = AV_CODEC_ID_NONE;
    Context->codec_tag = MKTAG('X', 'V', 'I', 'D');
    EXPECT_EQ(CodecTagText(Context, false), "XVID / 0x44495658");
    Context->codec_tag = 1;
    EXPECT_EQ(CodecTagText(Context, false), "0x0001");
    avcodec::avcodec_free_context(&Context);
}
