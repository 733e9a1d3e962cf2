// The tables checked against each other and against the sets of values the
// rest of the program expects, by driving the real handlers over every
// category and profile.
#include "tests/catalogue/CatalogueFixture.h"

#include <algorithm>
#include <set>

namespace {

const std::set<int> NoVideoKeys = {100, 101, 102, 103, 104, 105,  106, 107,
                                   108, 109, 110, 111, 112, 1405, 1406};
const std::set<int> TargetKeys = {11,   12,   13,   1308, 1309, 1310, 2110, 2111,
                                  2112, 2210, 2211, 2212, 2312, 2313, 2314};

const std::set<std::string> OutputExts = {".avi", ".mp4", ".mpg",  ".wmv", ".mkv",  ".vob",
                                          ".mov", ".swf", ".flv",  ".3gp", ".asf",  ".m4a",
                                          ".rm",  ".mp3", ".wma",  ".wav", ".aac",  ".ogg",
                                          ".ra",  ".ac3", ".aiff", ".mp2", ".flac", ".amr"};
const std::set<std::string> VideoCodecs = {"",           "mpeg4",      "libx264", "libxvid", "wmv2",
                                           "mpeg2video", "mpeg1video", "msmpeg4", "rv20"};
const std::set<std::string> VideoTags = {"", "XVID", "DX50"};
const std::set<std::string> AudioCodecs = {
    "", "libmp3lame", "libfaac", "wmav2", "libvorbis", "ac3", "flac", "libopencore_amrnb"};
const std::set<std::string> FrameSizes = {"",          "1280*720", "320*240",   "176*144",
                                          "1920*1080", "480*320",  "640*480",   "720*406",
                                          "720*480",   "1024*768", "3840*2160", "480*272"};
const std::set<std::string> FrameRates = {"", "25", "29.97", "30", "12"};
const std::set<std::string> Aspects = {"", "4:3", "16:9"};
const std::set<int> AudioBitrates = {-1000, -1, 7400, 12000, 128000, 160000, 192000, 256000};
const std::set<std::string> SampleRates = {"", "8000", "22050", "24000", "32000", "44100", "48000"};
const std::set<std::string> Channels = {"", "1", "2"};
const std::set<std::string> Targets = {"", "dvd", "svcd", "vcd"};

class CatalogueDataWalk : public CatalogueFixture {
protected:
    void CheckLists(int Key, const TParameterRow& Row) {
        for (TParameterKind Kind : ParameterKinds) {
            const TListChoice& Choice = Row.Choice(Kind);
            std::span<const std::string_view> Items = ParameterList(Kind, Choice.List);
            ASSERT_FALSE(Items.empty()) << Key;
            ITextComboList& Combo = List(Kind);
            ASSERT_EQ(Combo.ItemCount(), static_cast<int>(Items.size())) << Key;
            for (std::size_t I = 0; I < Items.size(); ++I)
                EXPECT_EQ(Combo.Item(static_cast<int>(I)), Items[I]) << Key;
            ASSERT_GE(Choice.Default, 0) << Key;
            ASSERT_LT(Choice.Default, static_cast<int>(Items.size())) << Key;
            EXPECT_EQ(Combo.ItemIndex(), Choice.Default) << Key;
            EXPECT_EQ(Combo.Text(), Items[Choice.Default]) << Key;
            bool VideoList =
                Kind != TParameterKind::AudioBitrate && Kind != TParameterKind::SampleRate;
            EXPECT_EQ(Combo.Enabled(), !(VideoList && NoVideoKeys.count(Key))) << Key;
        }
        EXPECT_EQ(IsNoVideoRow(Row), NoVideoKeys.count(Key) == 1) << Key;
    }

    void CheckWorkingSet(int Key, const TProfileSettings& S) {
        Handlers.ProfileWorkingSet.Video_AddFileName = "/clips/in.mov";
        Handlers.Button5Click(nullptr);
        const TProfileWorkingSet& W = Handlers.ProfileWorkingSet;
        EXPECT_EQ(W.Video_FileExt, S.FileExt) << Key;
        EXPECT_EQ(W.Video_VideoCodec, S.VideoCodec) << Key;
        EXPECT_EQ(W.Video_VideoTag, S.VideoTag) << Key;
        EXPECT_EQ(W.Video_AudioCodec, S.AudioCodec) << Key;
        EXPECT_EQ(W.Video_FrameSize, S.FrameSize) << Key;
        EXPECT_EQ(W.Video_FrameRate, S.FrameRate) << Key;
        EXPECT_EQ(W.Video_FrameAspectRatio, S.FrameAspectRatio) << Key;
        EXPECT_EQ(W.Video_VideoBitrate, S.VideoBitrate) << Key;
        EXPECT_EQ(W.Video_AudioBitrate, S.AudioBitrate) << Key;
        EXPECT_EQ(W.Video_AudioSampleRate, S.AudioSampleRate) << Key;
        EXPECT_EQ(W.Video_AudioChannels, S.AudioChannels) << Key;
        EXPECT_EQ(W.Video_TargetType, S.TargetType) << Key;
        EXPECT_EQ(W.Video_NormType, S.NormType) << Key;
        EXPECT_EQ(W.Video_DisableVideo, S.DisableVideo) << Key;
        EXPECT_EQ(W.Video_AudioVolume, "256") << Key;
        EXPECT_EQ(W.Video_FileFormat, "") << Key;
        EXPECT_EQ(W.Video_VideoFilters, "") << Key;
        EXPECT_EQ(W.Video_OutPutFileName, OutputFolder() + "/in" + std::string(S.OutputExt)) << Key;

        EXPECT_TRUE(OutputExts.count(std::string(S.OutputExt))) << Key;
        EXPECT_TRUE(VideoCodecs.count(W.Video_VideoCodec)) << Key;
        EXPECT_TRUE(VideoTags.count(W.Video_VideoTag)) << Key;
        EXPECT_TRUE(AudioCodecs.count(W.Video_AudioCodec)) << Key;
        EXPECT_TRUE(FrameSizes.count(W.Video_FrameSize)) << Key;
        EXPECT_TRUE(FrameRates.count(W.Video_FrameRate)) << Key;
        EXPECT_TRUE(Aspects.count(W.Video_FrameAspectRatio)) << Key;
        EXPECT_TRUE(W.Video_VideoBitrate == -1 || W.Video_VideoBitrate == -1000 ||
                    (W.Video_VideoBitrate >= 128000 && W.Video_VideoBitrate <= 2500000))
            << Key;
        EXPECT_TRUE(AudioBitrates.count(W.Video_AudioBitrate)) << Key;
        EXPECT_TRUE(SampleRates.count(W.Video_AudioSampleRate)) << Key;
        EXPECT_TRUE(Channels.count(W.Video_AudioChannels)) << Key;
        EXPECT_TRUE(Targets.count(W.Video_TargetType)) << Key;

        bool TargetRow = W.Video_NormType == "PAL" && W.Video_VideoBitrate == -1000 &&
                         W.Video_AudioBitrate == -1000 && W.Video_FileExt.empty();
        EXPECT_EQ(TargetRow, TargetKeys.count(Key) == 1) << Key;
        EXPECT_EQ(!W.Video_TargetType.empty(), TargetKeys.count(Key) == 1) << Key;
        EXPECT_EQ(W.Video_DisableVideo, NoVideoKeys.count(Key) == 1) << Key;
    }
};

TEST_F(CatalogueDataWalk, EveryProfileOfEveryCategory) {
    const int Counts[CategoryCount] = {10, 6, 15, 13, 15, 12, 8, 5, 11, 11, 7, 7, 7, 7, 13, 13, 15};
    int Walked = 0;
    for (int Category = 0; Category < CategoryCount; ++Category) {
        Categories.SetItemIndex(Category);
        ASSERT_EQ(Profiles.ItemCount(), Counts[Category]) << Category;
        ASSERT_EQ(::Categories()[Category].ProfileCount, Counts[Category]);
        for (int P = 0; P < Counts[Category]; ++P) {
            EXPECT_EQ(Profiles.ItemImageIndex(P), P % 2);
            Profiles.SetItemIndex(P);
            int Key = ProfileKey(CategoryGroupMap(Category), P);
            ASSERT_EQ(ProfileKeyOf(Category, P), Key);
            const TProfileInfo* Profile = FindProfile(Key);
            const TProfileSettings* Settings = FindProfileSettings(Key);
            const TParameterRow* Row = FindParameterRow(Key);
            ASSERT_TRUE(Profile && Settings && Row) << Key;
            EXPECT_EQ(Profiles.ItemTitle(P), Profile->Title) << Key;
            EXPECT_EQ(Profiles.ItemCaption(P), Profile->Caption) << Key;
            EXPECT_EQ(ProfileSettingsTitle(Key), Profile->Title) << Key;
            EXPECT_EQ(Row->Title, Profile->Title) << Key;

            std::string Ext = ProfileExtension(Profile->Title);
            EXPECT_EQ(Ext.substr(0, 1), ".") << Key;
            if (Key == 2600) {
                EXPECT_EQ(Ext, ".mp4");
                EXPECT_EQ(Settings->OutputExt, ".avi");
            } else {
                EXPECT_EQ(Ext, Settings->OutputExt) << Key;
            }

            CheckLists(Key, *Row);
            CheckWorkingSet(Key, *Settings);
            ++Walked;
        }
    }
    EXPECT_EQ(Walked, 175);
    EXPECT_EQ(::Profiles().size(), 175u);
    EXPECT_EQ(ParameterRows().size(), 175u);
    EXPECT_EQ(ProfileSettingsRows().size() + ProfileSettingsReferences().size(), 175u);
}

TEST(CatalogueData, BorrowedSettingsAreTheCameraRows) {
    for (int P = 0; P <= 12; ++P)
        EXPECT_EQ(FindProfileSettings(2200 + P), FindProfileSettings(2100 + P)) << P;
    for (int P = 0; P <= 9; ++P)
        EXPECT_EQ(FindProfileSettings(2300 + P), FindProfileSettings(2100 + P)) << P;
    EXPECT_EQ(FindProfileSettings(2107)->FrameSize, "176*144");
    EXPECT_NE(FindProfileSettings(2310), nullptr);
    EXPECT_EQ(FindProfileSettings(2213), nullptr);
}

// Rows the rest of the program singles out; a row filed under a wrong key
// shows here first.
TEST(CatalogueData, RowsThatStandOut) {
    struct TCase {
        int Key;
        const char* VideoCodec;
        const char* FrameSize;
        const char* FrameRate;
        int VideoBitrate;
        int AudioBitrate;
        const char* SampleRate;
    };
    const TCase Cases[] = {
        {2605, "libxvid", "3840*2160", "", 2500000, 128000, "44100"},
        {903, "mpeg4", "320*240", "25", 512000, 128000, "44100"},
        {904, "libx264", "320*240", "25", 768000, 128000, "44100"},
        {1200, "mpeg4", "", "30", 1200000, 128000, "32000"},
        {1203, "libx264", "1280*720", "30", 1500000, 160000, "48000"},
        {1204, "mpeg4", "", "30", 1000000, 128000, "24000"},
        {2004, "", "1024*768", "25", 1200000, 128000, "48000"},
        {2101, "libx264", "1280*720", "30", 1600000, 256000, "48000"},
        {2107, "mpeg4", "176*144", "12", 128000, 12000, "8000"},
        {1405, "", "", "", -1, 128000, "22050"},
    };
    for (const TCase& Case : Cases) {
        const TProfileSettings* S = FindProfileSettings(Case.Key);
        ASSERT_NE(S, nullptr) << Case.Key;
        EXPECT_EQ(S->VideoCodec, Case.VideoCodec) << Case.Key;
        EXPECT_EQ(S->FrameSize, Case.FrameSize) << Case.Key;
        EXPECT_EQ(S->FrameRate, Case.FrameRate) << Case.Key;
        EXPECT_EQ(S->VideoBitrate, Case.VideoBitrate) << Case.Key;
        EXPECT_EQ(S->AudioBitrate, Case.AudioBitrate) << Case.Key;
        EXPECT_EQ(S->AudioSampleRate, Case.SampleRate) << Case.Key;
    }
    EXPECT_EQ(FindProfileSettings(1304)->AudioCodec, "libfaac");
    EXPECT_EQ(FindProfileSettings(1303)->OutputExt, ".mp4");
    EXPECT_EQ(FindProfileSettings(1305)->OutputExt, ".mp4");
    EXPECT_EQ(FindProfileSettings(2600)->AudioCodec, "libmp3lame");
    EXPECT_EQ(FindProfileSettings(2107)->FrameAspectRatio, "4:3");
}

TEST(CatalogueData, KeysOutsideTheTablesNameNothing) {
    for (int Key : {-1, 15, 113, 210, 2006, 2315, 2612, 2700, 300, 99})
        EXPECT_TRUE(!FindProfile(Key) && !FindProfileSettings(Key) && !FindParameterRow(Key) &&
                    ProfileSettingsTitle(Key).empty())
            << Key;
    EXPECT_EQ(ProfileKeyOf(0, 10), std::nullopt);
    EXPECT_EQ(ProfileKeyOf(2, 100), std::nullopt) << "index 100 of group 0 must not reach key 100";
    EXPECT_EQ(ProfileKeyOf(0, -1), std::nullopt);
    EXPECT_EQ(ProfileKeyOf(17, 0), std::nullopt);
    EXPECT_EQ(ProfileKeyOf(-1, 0), std::nullopt);
    EXPECT_EQ(CategoryGroupMap(17), -1);
    EXPECT_EQ(CategoryGroupMap(-1), -1);
    EXPECT_EQ(ProfileKeyOf(5, 11), 2611);
}

TEST(CatalogueData, ParameterListsByKind) {
    const std::pair<TParameterKind, int> Kinds[] = {
        {TParameterKind::FrameSize, 17}, {TParameterKind::VideoBitrate, 24},
        {TParameterKind::FrameRate, 6},  {TParameterKind::AudioBitrate, 4},
        {TParameterKind::SampleRate, 5}, {TParameterKind::AspectMode, 3}};
    std::size_t Items = 0;
    std::size_t Longest = 0;
    for (auto [Kind, Count] : Kinds) {
        ASSERT_EQ(ParameterListCount(Kind), Count);
        EXPECT_TRUE(ParameterList(Kind, 0).empty());
        EXPECT_TRUE(ParameterList(Kind, Count + 1).empty());
        for (int N = 1; N <= Count; ++N) {
            std::span<const std::string_view> List = ParameterList(Kind, N);
            std::set<std::string_view> Distinct(List.begin(), List.end());
            EXPECT_EQ(Distinct.size(), List.size()) << N;
            Items += List.size();
            Longest = std::max(Longest, List.size());
        }
    }
    EXPECT_EQ(Items, 616u);
    EXPECT_EQ(Longest, 28u);
    EXPECT_EQ(ParameterList(TParameterKind::FrameSize, 1).size(), 28u);
    EXPECT_EQ(ParameterList(TParameterKind::FrameSize, 10).size(), 28u);
    EXPECT_EQ(ParameterList(TParameterKind::FrameSize, 10).back(), "3840*2160");
}

TEST(CatalogueData, PositionsFollowTheTablesNotASort) {
    for (int N = 9; N <= 13; ++N) {
        std::span<const std::string_view> List = ParameterList(TParameterKind::FrameSize, N);
        auto At = [&](std::string_view Text) { return std::find(List.begin(), List.end(), Text); };
        EXPECT_LT(At("176*144"), At("160*120")) << N;
        EXPECT_NE(At("160*120"), List.end()) << N;
    }
    std::span<const std::string_view> List12 = ParameterList(TParameterKind::FrameSize, 12);
    EXPECT_EQ(List12[12], "720*406");
    EXPECT_EQ(List12[13], "704*480");
    EXPECT_EQ(ParameterList(TParameterKind::FrameRate, 1)[7], "23.97");
    EXPECT_EQ(ParameterList(TParameterKind::FrameRate, 3)[5], "23.98");
    EXPECT_EQ(ParameterList(TParameterKind::FrameRate, 4)[1], "23.98");
    EXPECT_EQ(ParameterList(TParameterKind::FrameRate, 5)[5], "12");
    EXPECT_EQ(ParameterList(TParameterKind::FrameSize, 17)[0], "该格式无视频");
    EXPECT_EQ(ParameterList(TParameterKind::AudioBitrate, 4)[2], "5.9 kbps");
}

TEST(CatalogueData, AwkwardTextsVerbatim) {
    EXPECT_EQ(FindProfile(5)->Caption,
              "Matroska是一种新的多媒体封装格式 ，有超清晰的画面，和完美的音质");
    EXPECT_EQ(FindProfile(3)->Caption,
              "MOV即QuickTime影片格式，它是Apple公司开发的音频视频文件格式");
    EXPECT_EQ(FindProfile(1202)->Title, "iPad MPEG-4视频格式 XviD编码 (*.mp4)");
    EXPECT_EQ(ProfileExtension(FindProfile(1202)->Title), ".mp4");
    EXPECT_EQ(FindProfile(903)->Title, FindProfile(904)->Title);
    EXPECT_EQ(FindProfile(903)->Caption, FindProfile(904)->Caption);
    EXPECT_EQ(Categories()[5].Caption, "智能电视");
    EXPECT_EQ(Categories()[5].ImageIndex, 43);
}

TEST(CatalogueData, ExtensionOfATitle) {
    const std::pair<const char*, const char*> Cases[] = {
        {"AIFF - 音频交换文件格式(*.aiff)", ".aiff"},
        {"RA - RealAudio音频格式(*.ra)", ".ra"},
        {"FLAC-音频格式(*.flac)", ".flac"},
        {"RM - REAL视频格式(*.rm)", ".rm"},
        {"高清AVI视频格式(*.avi)", ".avi"},
        {"苹果无损(*.alac) ", ".alac"},
        {"苹果无损(*.alac)", "alac"},
        {"节目流(*.mpeg)", ".mpeg"},
        // Code points, not bytes: Chinese right before the extension.
        {"视频视频(视频)", "频(视频"},
        {"", ""},
    };
    for (auto [Title, Ext] : Cases)
        EXPECT_EQ(ProfileExtension(Title), Ext) << Title;
}

} // namespace
