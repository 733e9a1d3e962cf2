// The legacy tables walked whole: what can be checked without restating them.
#include "legacy/LegacyTables.h"

#include "legacy/LegacySteps.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<int> AllKeys() {
    std::vector<int> Keys;
    int Category = 0;
    for (const TLegacyCategory& C : LegacyCategories()) {
        for (int Profile = 0; Profile < static_cast<int>(C.Profiles.size()); ++Profile)
            Keys.push_back(LegacyProfileKey(Category, Profile));
        ++Category;
    }
    return Keys;
}

// The audio bit rate as the form first read it: the number as a double, times
// 1000, written with 15 significant digits and read back as an integer.
int AudioBitrateByDouble(std::string_view Text) {
    std::string Number(Text.substr(0, Text.find("kbps")));
    while (!Number.empty() && Number.back() == ' ')
        Number.pop_back();
    double Value = 0;
    std::from_chars(Number.data(), Number.data() + Number.size(), Value);
    char Buffer[64];
    std::snprintf(Buffer, sizeof Buffer, "%.15g", Value * 1000);
    return std::stoi(Buffer);
}

} // namespace

TEST(LegacyTables, CategoriesProfilesAndKeys) {
    const std::vector<int> Counts = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};
    ASSERT_EQ(LegacyCategories().size(), Counts.size());
    for (std::size_t C = 0; C < Counts.size(); ++C) {
        EXPECT_EQ(LegacyCategories()[C].Profiles.size(), static_cast<std::size_t>(Counts[C]));
        EXPECT_EQ(LegacyCategories()[C].ImageIndex, static_cast<int>(C));
    }
    std::vector<int> Expected;
    for (auto [First, Last] : {std::pair{100, 114},
                               {200, 212},
                               {300, 309},
                               {400, 413},
                               {500, 505},
                               {600, 604},
                               {700, 713},
                               {800, 804},
                               {900, 909},
                               {1000, 1007},
                               {1100, 1104},
                               {1200, 1203}})
        for (int Key = First; Key <= Last; ++Key)
            Expected.push_back(Key);
    EXPECT_EQ(AllKeys(), Expected);
    EXPECT_EQ(LegacySettingsRows().size(), 109u);
    EXPECT_EQ(LegacyParameterRows().size(), 109u);
    for (int Key : AllKeys()) {
        EXPECT_NE(FindLegacySettingsRow(Key), nullptr) << Key;
        EXPECT_NE(FindLegacyParameterRow(Key), nullptr) << Key;
    }
    for (int Key : {0, 99, 115, 213, 1204, -100})
        EXPECT_EQ(FindLegacySettingsRow(Key), nullptr) << Key;
    EXPECT_STREQ(LegacyCategories()[0].Caption.data(), "常用视频");
    EXPECT_EQ(LegacyCategories()[11].Caption, "Flash视频");
}

TEST(LegacyTables, TitlesKeepTheirOddCharacters) {
    EXPECT_EQ(LegacyCategories()[1].Profiles[2].Title, "WAV - 波形音频格式(*.wav) ");
    EXPECT_EQ(LegacyCategories()[1].Profiles[11].Title, "ALAC-Apple Lossless无损音频格式(*.alac) ");
    EXPECT_EQ(LegacyCategories()[6].Profiles[0].Title,
              "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)");
    EXPECT_EQ(LegacyCategories()[6].Profiles[2].Title,
              "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))");
    // Profiles with one title stay apart, and every profile has a description.
    EXPECT_EQ(LegacyCategories()[2].Profiles[0].Title, LegacyCategories()[2].Profiles[1].Title);
    EXPECT_NE(LegacyCategories()[2].Profiles[0].Caption, LegacyCategories()[2].Profiles[1].Caption);
    for (const TLegacyCategory& C : LegacyCategories())
        for (const TLegacyProfile& P : C.Profiles)
            EXPECT_FALSE(P.Caption.empty()) << P.Title;
}

TEST(LegacyTables, ImageIndicesFollowTheCategoryRule) {
    auto Indices = [](int Category) {
        std::vector<int> Result;
        for (const TLegacyProfile& P : LegacyCategories()[Category].Profiles)
            Result.push_back(P.ImageIndex);
        return Result;
    };
    EXPECT_EQ(Indices(0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(Indices(3),
              (std::vector<int>{20, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21}));
    EXPECT_EQ(Indices(6),
              (std::vector<int>{20, 20, 21, 21, 20, 21, 20, 21, 21, 21, 21, 21, 21, 21}));
    EXPECT_EQ(Indices(7), (std::vector<int>{22, 23, 24, 25, 26}));
    EXPECT_EQ(Indices(8), (std::vector<int>{22, 23, 24, 25, 26, 21, 21, 21, 21, 21}));
    EXPECT_EQ(Indices(11), (std::vector<int>{22, 23, 24, 25}));
}

TEST(LegacyTables, EveryRowIsConsistentWithItsLists) {
    const std::set<int> NoFileExt = {111, 112, 113, 114, 1202, 1203};
    const std::set<int> OtherFileExt = {206, 211, 306};
    for (int Key : AllKeys()) {
        SCOPED_TRACE(Key);
        const TLegacyParameterRow& Row = *FindLegacyParameterRow(Key);
        for (TParameterKind Kind : ParameterKinds) {
            std::span<const std::string_view> Items =
                LegacyParameterList(Kind, Row.Choice(Kind).List);
            ASSERT_FALSE(Items.empty());
            EXPECT_GE(Row.Choice(Kind).Default, 0);
            EXPECT_LT(Row.Choice(Kind).Default, static_cast<int>(Items.size()));
        }
        auto Single = [&](TParameterKind Kind) {
            std::span<const std::string_view> Items =
                LegacyParameterList(Kind, Row.Choice(Kind).List);
            return Items.size() == 1 ? Items[0] : std::string_view();
        };
        const bool NoVideoLists = Single(TParameterKind::FrameSize) == "该格式无视频" &&
                                  Single(TParameterKind::VideoBitrate) == "无视频" &&
                                  Single(TParameterKind::FrameRate) == "无视频" &&
                                  Single(TParameterKind::AspectMode) == "无视频";
        const TLegacySettingsRow& Settings = *FindLegacySettingsRow(Key);
        EXPECT_EQ(IsLegacyAudioOnlyKey(Key), NoVideoLists);
        EXPECT_EQ(IsLegacyAudioOnlyKey(Key), Settings.DisableVideo.value_or(false));
        if (NoFileExt.count(Key)) {
            EXPECT_FALSE(Settings.FileExt.has_value());
        } else if (!OtherFileExt.count(Key)) {
            EXPECT_EQ(Settings.FileExt.value_or("?"), Settings.NameExt);
        }
    }
}

TEST(LegacyTables, EveryItemReadsBack) {
    for (TParameterKind Kind : ParameterKinds)
        for (int List = 1; List <= LegacyParameterListCount(Kind); ++List)
            for (std::string_view Item : LegacyParameterList(Kind, List)) {
                SCOPED_TRACE(std::string(Item));
                TProfileWorkingSet Set;
                TLegacyParameterTexts Texts;
                Texts.fill("");
                Texts[KindIndex(Kind)] = std::string(Item);
                ReadLegacyParameterTexts(Set, Texts);
                if (Kind == TParameterKind::AudioBitrate) {
                    EXPECT_EQ(Set.Video_AudioBitrate, AudioBitrateByDouble(Item));
                }
                if (Kind == TParameterKind::VideoBitrate && Item != "无视频") {
                    EXPECT_EQ(Set.Video_VideoBitrate, std::stoi(std::string(Item)) * 1000);
                }
            }
    EXPECT_EQ(LegacyParameterListCount(TParameterKind::FrameSize), 19);
    EXPECT_EQ(LegacyParameterListCount(TParameterKind::AspectMode), 3);
    EXPECT_TRUE(LegacyParameterList(TParameterKind::FrameSize, 20).empty());
    EXPECT_TRUE(LegacyParameterList(TParameterKind::FrameSize, 0).empty());
}
