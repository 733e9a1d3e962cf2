// The working set: a profile's settings, the output name in the output
// folder, the selected row's sub-items and the consumer rules that turn the
// set into a job's options.
#include "platform/core/Exceptions.h"
#include "tests/catalogue/CatalogueFixture.h"

#include <filesystem>

namespace {

class CatalogueWorkingSet : public CatalogueFixture {
protected:
    CatalogueWorkingSet() { std::filesystem::create_directory(OutputFolder()); }

    // Runs the profile settings for a category and profile without the
    // change handlers, as the add commands do.
    const TProfileWorkingSet& Apply(int Category, int Profile,
                                    const std::string& Input = "/clips/holiday.mov") {
        Categories.LoadItemIndex(Category);
        Profiles.LoadItemIndex(Profile);
        Handlers.ProfileWorkingSet.Video_AddFileName = Input;
        Handlers.Button5Click(nullptr);
        return Handlers.ProfileWorkingSet;
    }

    std::string Name(int Category, int Profile, const std::string& Input = "/clips/holiday.mov") {
        return Apply(Category, Profile, Input).Video_OutPutFileName;
    }
};

TEST_F(CatalogueWorkingSet, OutputNameTakesTheFirstFreeNumber) {
    const std::string Out = OutputFolder();
    EXPECT_EQ(Name(2, 0), Out + "/holiday.avi");
    Touch("holiday.avi");
    EXPECT_EQ(Name(2, 0), Out + "/holiday_1.avi");
    Touch("holiday_1.avi");
    EXPECT_EQ(Name(2, 0), Out + "/holiday_2.avi");
    Overwrite = true;
    EXPECT_EQ(Name(2, 0), Out + "/holiday.avi");
}

TEST_F(CatalogueWorkingSet, OverwriteIsAskedOnlyWhenTheFileExists) {
    int Asked = 0;
    TCatalogueHandlers Counting{Categories,
                                Profiles,
                                Combo1,
                                Combo2,
                                Combo3,
                                Combo4,
                                Combo9,
                                Combo10,
                                Jobs,
                                [this] { return FolderText; },
                                [&] { return ++Asked, false; }};
    Counting.ProfileWorkingSet.Video_AddFileName = "/clips/holiday.mov";
    Categories.LoadItemIndex(2);
    Profiles.LoadItemIndex(0);
    Counting.Button5Click(nullptr);
    EXPECT_EQ(Asked, 0);
    Touch("holiday.avi");
    Counting.Button5Click(nullptr);
    EXPECT_EQ(Asked, 1);
}

TEST_F(CatalogueWorkingSet, AFolderOfThatNameIsNoFile) {
    std::filesystem::create_directory(OutputFolder() + "/holiday.avi");
    EXPECT_EQ(Name(2, 0), OutputFolder() + "/holiday.avi");
}

TEST_F(CatalogueWorkingSet, InputAndFolderTextsAreUsedAsTheyStand) {
    const std::string Out = OutputFolder();
    EXPECT_EQ(Name(2, 0, "/clips/holiday"), Out + "/holiday.avi");
    EXPECT_EQ(Name(2, 0, "/clips/a.b.mov"), Out + "/a.b.avi");
    EXPECT_EQ(Name(2, 0, "/clips/c:x.mov"), Out + "/c:x.avi");
    EXPECT_EQ(Name(2, 0, "/my.clips/holiday"), Out + "/holiday.avi");
    EXPECT_EQ(Name(2, 0, ""), Out + "/.avi");
    FolderText = Out + "/";
    EXPECT_EQ(Name(2, 0), Out + "//holiday.avi");
    FolderText = "";
    EXPECT_EQ(Name(2, 0), "/holiday.avi");
}

TEST_F(CatalogueWorkingSet, DiscTargetRowWritesOnlyTargetNormAndUnsetRates) {
    Jobs.Select(true);
    const TProfileWorkingSet& W = Apply(2, 11);
    EXPECT_EQ(W.Video_TargetType, "dvd");
    EXPECT_EQ(W.Video_NormType, "PAL");
    EXPECT_EQ(W.Video_VideoBitrate, -1000);
    EXPECT_EQ(W.Video_AudioBitrate, -1000);
    EXPECT_EQ(W.Video_VideoCodec + W.Video_AudioCodec + W.Video_FrameSize + W.Video_FrameRate +
                  W.Video_AudioSampleRate + W.Video_AudioChannels + W.Video_FileExt,
              "");
    EXPECT_EQ(W.Video_OutPutFileName, OutputFolder() + "/holiday.mpg");
    const std::pair<int, const char*> Row[] = {{14, ""},      {16, "-1000"}, {18, "-1000"},
                                               {21, "False"}, {22, "dvd"},   {23, "PAL"}};
    for (auto [Index, Text] : Row)
        EXPECT_EQ(Jobs.SubItem(Index), Text) << Index;
    EXPECT_EQ(Jobs.FocusCount, 0);
}

TEST_F(CatalogueWorkingSet, ProfilesThatLeaveFieldsAtTheirReset) {
    Jobs.Select(true);
    const TProfileWorkingSet& W = Apply(2, 14);
    EXPECT_EQ(W.Video_VideoCodec, "rv20");
    EXPECT_EQ(W.Video_FrameSize, "320*240");
    EXPECT_EQ(W.Video_AudioCodec + W.Video_AudioSampleRate + W.Video_AudioChannels +
                  W.Video_FrameRate + W.Video_FileExt,
              "");
    EXPECT_EQ(W.Video_VideoBitrate, -1);
    EXPECT_EQ(W.Video_AudioBitrate, -1);
    EXPECT_EQ(Jobs.SubItem(16), "-1");
    EXPECT_EQ(Jobs.SubItem(18), "-1");
    EXPECT_EQ(W.Video_OutPutFileName, OutputFolder() + "/holiday.rm");
}

TEST_F(CatalogueWorkingSet, FileExtMayDifferFromTheOutputExtension) {
    struct TCase {
        int Category, Profile;
        const char* FileExt;
        const char* Output;
    };
    const TCase Cases[] = {{0, 6, ".asf", ".wmv"}, {3, 6, ".rm", ".ra"}, {5, 0, ".avi", ".avi"}};
    Jobs.Select(true);
    for (const TCase& Case : Cases) {
        const TProfileWorkingSet& W = Apply(Case.Category, Case.Profile);
        EXPECT_EQ(W.Video_FileExt, Case.FileExt);
        EXPECT_EQ(W.Video_OutPutFileName, OutputFolder() + "/holiday" + Case.Output);
        EXPECT_EQ(Jobs.SubItem(siFileExt), Case.FileExt);
    }
}

TEST_F(CatalogueWorkingSet, EncoderNamesAreKeptAsTheProfilesStateThem) {
    Jobs.Select(true);
    const TProfileWorkingSet& Amr = Apply(3, 12);
    EXPECT_EQ(Amr.Video_AudioCodec, "libopencore_amrnb");
    EXPECT_EQ(Amr.Video_AudioBitrate, 7400);
    EXPECT_EQ(Amr.Video_AudioSampleRate, "8000");
    EXPECT_EQ(Amr.Video_AudioChannels, "1");
    EXPECT_EQ(Jobs.SubItem(siDisableVideo), "True");
    const TProfileWorkingSet& Mov = Apply(0, 4);
    EXPECT_EQ(Mov.Video_AudioCodec, "libfaac");
    EXPECT_EQ(Jobs.SubItem(siAudioCodec), "libfaac");
    EXPECT_EQ(Jobs.SubItem(siDisableVideo), "False");
}

TEST_F(CatalogueWorkingSet, NoProfileLeavesTheResetValues) {
    Handlers.ProfileWorkingSet.Video_CopyTimestamp = "x";
    Handlers.ProfileWorkingSet.Video_TimeStart = 5;
    Jobs.Select(true);
    const TProfileWorkingSet& W = Apply(2, -1);
    EXPECT_EQ(W.Video_OutPutFileName, OutputFolder() + "/");
    EXPECT_EQ(W.Video_AddFileName, "/clips/holiday.mov");
    EXPECT_EQ(W.Video_AudioVolume, "256");
    EXPECT_EQ(W.Video_TimeLength, -1);
    EXPECT_EQ(W.Video_CopyTimestamp, "");
    EXPECT_EQ(W.Video_TimeStart, -1);
    EXPECT_EQ(W.Video_VideoBitrate, -1);
    EXPECT_EQ(W.Video_AudioBitrate, -1);
    EXPECT_EQ(W.Video_VideoCodec + W.Video_FrameSize + W.Video_NormType, "");
    EXPECT_EQ(Jobs.SubItem(16), "-1");
    EXPECT_EQ(Jobs.SubItem(21), "False");
    // A profile index beyond the group names no profile either.
    EXPECT_EQ(Name(0, 10), OutputFolder() + "/");
}

TEST_F(CatalogueWorkingSet, WithoutARowNoSubItemIsWritten) {
    Apply(2, 0);
    Apply(3, 12);
    EXPECT_TRUE(Jobs.Writes.empty());
}

TEST(CatalogueConsumerRules, VideoCodecAndPreset) {
    TProfileWorkingSet W;
    ResetWorkingSet(W);
    TOutputOptions O;
    InitOutputOptions(O);
    W.Video_VideoCodec = "libx264";
    ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
    EXPECT_EQ(O.VideoCodec, "libx264");
    EXPECT_EQ(O.VideoPreset, "libx264-default");
    W.Video_VideoCodec = "mpeg4";
    ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
    EXPECT_EQ(O.VideoCodec, "mpeg4");
    EXPECT_EQ(O.VideoPreset, "");
    W.Video_VideoCodec = "";
    ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
    EXPECT_EQ(O.VideoCodec, "mpeg4");
}

TEST(CatalogueConsumerRules, UnsetValuesLeaveTheOptions) {
    for (const char* Unset : {"AUTO", ""}) {
        TProfileWorkingSet W;
        ResetWorkingSet(W);
        W.Video_AudioCodec = Unset;
        W.Video_AudioSampleRate = Unset;
        TOutputOptions O;
        InitOutputOptions(O);
        ApplyWorkingSet(W, O, TVolumeRule::AlwaysSet);
        EXPECT_EQ(O.AudioCodec, "") << Unset;
        EXPECT_EQ(O.AudioSampleRate, -1) << Unset;
        EXPECT_EQ(O.AudioChannels, -1) << Unset;
        EXPECT_EQ(O.FrameSize + O.FrameRate + O.FrameAspectRatio + O.VideoTag + O.FileFormat +
                      O.VideoFilters,
                  "");
    }
}

TEST(CatalogueConsumerRules, Volume) {
    TProfileWorkingSet W;
    ResetWorkingSet(W);
    TOutputOptions O;
    InitOutputOptions(O);
    ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
    EXPECT_EQ(O.AudioVolume, -1);
    ApplyWorkingSet(W, O, TVolumeRule::AlwaysSet);
    EXPECT_EQ(O.AudioVolume, 256);
    W.Video_AudioVolume = "100";
    for (TVolumeRule Rule : {TVolumeRule::SkipUnchanged, TVolumeRule::AlwaysSet}) {
        InitOutputOptions(O);
        ApplyWorkingSet(W, O, Rule);
        EXPECT_EQ(O.AudioVolume, 100);
    }
}

TEST(CatalogueConsumerRules, BitRates) {
    const std::pair<int, int> Audio[] = {{-2000, 7}, {-1000, 7}, {-1, -1}, {128000, 128000}};
    for (auto [Value, Expected] : Audio) {
        TProfileWorkingSet W;
        ResetWorkingSet(W);
        W.Video_AudioBitrate = Value;
        W.Video_VideoBitrate = Value;
        TOutputOptions O;
        InitOutputOptions(O);
        O.AudioBitrate = 7;
        O.VideoBitrate = 7;
        ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
        EXPECT_EQ(O.AudioBitrate, Expected) << Value;
        // -2000 means "unset" for audio only.
        EXPECT_EQ(O.VideoBitrate, Value == -1000 ? 7 : Value) << Value;
    }
}

TEST(CatalogueConsumerRules, TargetAndNorm) {
    const std::pair<const char*, TOptionTargetType> Targets[] = {
        {"dvd", ttDVD}, {"svcd", ttSVCD}, {"vcd", ttVCD}, {"DVD", ttIgnore}, {"", ttSVCD}};
    for (auto [Text, Expected] : Targets) {
        TProfileWorkingSet W;
        ResetWorkingSet(W);
        W.Video_TargetType = Text;
        TOutputOptions O;
        InitOutputOptions(O);
        O.TargetType = ttSVCD;
        ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
        EXPECT_EQ(O.TargetType, Expected) << Text;
    }
    const std::pair<const char*, TOptionNormType> Norms[] = {
        {"PAL", ntPAL}, {"NTSC", ntNTSC}, {"", ntAuto}, {"pal", ntAuto}};
    for (auto [Text, Expected] : Norms) {
        TProfileWorkingSet W;
        ResetWorkingSet(W);
        W.Video_NormType = Text;
        TOutputOptions O;
        InitOutputOptions(O);
        O.NormType = ntNTSC;
        ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged);
        EXPECT_EQ(O.NormType, Expected) << Text;
    }
}

TEST_F(CatalogueWorkingSet, Button7KeepsWhatTheSecondSetSkips) {
    InitOutputOptions(Handlers.AOO);
    Apply(0, 0);
    Handlers.Button7Click(nullptr);
    EXPECT_EQ(Handlers.AOO.FrameSize, "1280*720");
    EXPECT_EQ(Handlers.AOO.AudioChannels, 2);
    EXPECT_EQ(Handlers.AOO.AudioSampleRate, 48000);
    EXPECT_EQ(Handlers.AOO.AudioVolume, -1);
    EXPECT_EQ(Handlers.AOO.FileName, "");
    Apply(2, 0);
    Handlers.Button7Click(nullptr);
    EXPECT_EQ(Handlers.AOO.FrameSize, "1280*720");
    EXPECT_EQ(Handlers.AOO.VideoTag, "XVID");
    EXPECT_EQ(Handlers.AOO.VideoBitrate, 816000);
    EXPECT_EQ(Handlers.AOO.FileExt, "");
}

TEST(CatalogueConsumerRules, IntegerTextThatIsNoNumberRaises) {
    TProfileWorkingSet W;
    ResetWorkingSet(W);
    W.Video_AudioChannels = "x";
    TOutputOptions O;
    InitOutputOptions(O);
    EXPECT_THROW(ApplyWorkingSet(W, O, TVolumeRule::SkipUnchanged), EConvertError);
}

} // namespace
