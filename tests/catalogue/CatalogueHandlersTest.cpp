// Category, profile and parameter choices through the real handlers and the
// fakes: what the lists show, what the working set holds and what the
// selected job row receives, and when.
#include "platform/core/Paths.h"
#include "tests/catalogue/CatalogueFixture.h"

#include <filesystem>

namespace {

using Texts = std::vector<std::string>;

class CatalogueProfileChoice : public CatalogueFixture {};

TEST_F(CatalogueProfileChoice, StartsOnTheFirstHdProfile) {
    EXPECT_EQ(Profiles.ItemCount(), 10);
    EXPECT_EQ(Profiles.ItemIndex(), 0);
    EXPECT_EQ(Shown(),
              (Texts{"1280*720", "1600 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"}));
    EXPECT_EQ(Profiles.ItemTitle(0), "高清AVI视频格式(*.avi)");
    EXPECT_EQ(Profiles.ItemTitle(1), "高清AVI视频格式(*.avi)");
    EXPECT_NE(Profiles.ItemCaption(0), Profiles.ItemCaption(1));
}

TEST_F(CatalogueProfileChoice, CategoryFillsItsProfilesAndChoosesTheFirst) {
    Categories.SetItemIndex(3);
    ASSERT_EQ(Profiles.ItemCount(), 13);
    EXPECT_EQ(Profiles.ItemTitle(0), "MP3 - MPEG Layer-3音频格式(*.mp3)");
    EXPECT_EQ(Profiles.ItemIndex(), 0);
    EXPECT_EQ(Shown(), (Texts{"该格式无视频", "无视频", "无视频", "128 kbps", "44100", "无视频"}));
    EXPECT_TRUE(Jobs.Writes.empty());
    EXPECT_EQ(Jobs.FocusCount, 0);
}

TEST_F(CatalogueProfileChoice, ChoosingAgainGoesBackToTheDefaults) {
    Categories.SetItemIndex(2);
    Profiles.SetItemIndex(4);
    Pick(TParameterKind::FrameSize, "640*480");
    Pick(TParameterKind::SampleRate, "22050");
    Profiles.SetItemIndex(4);
    EXPECT_EQ(Combo1.Text(), "保持原分辨率");
    EXPECT_EQ(Combo10.Text(), "44100");

    Profiles.SetItemIndex(7);
    Categories.SetItemIndex(2);
    EXPECT_EQ(Profiles.ItemIndex(), 0);
    EXPECT_EQ(Shown(),
              (Texts{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}));
}

// Choosing what is already chosen is a choice all the same: with a row
// selected, every step runs again and the row is rewritten.
TEST_F(CatalogueProfileChoice, ChoosingAgainRewritesTheSelectedRow) {
    Choose(2, 4);
    SelectRow("clip.avi", "304", "000000000000");
    Jobs.Put(siVideoCodec, "stale");
    Profiles.SetItemIndex(4);
    EXPECT_EQ(Jobs.SubItem(siVideoCodec), "libxvid");
    EXPECT_EQ(Jobs.SubItem(siParameterCode), Handlers.ParameterCodeFromLists());
    EXPECT_EQ(Jobs.SubItem(siProfileCode), "304");
    EXPECT_GT(Jobs.FocusCount, 0);
    Categories.SetItemIndex(2);
    EXPECT_EQ(Profiles.ItemIndex(), 0);
    EXPECT_EQ(Jobs.SubItem(siProfileCode), "300");
    EXPECT_EQ(Jobs.SubItem(siParameterCode), "000310000904");
}

TEST_F(CatalogueProfileChoice, CategoryOutsideTheListSelectsNothing) {
    for (int Category : {17, -1}) {
        Categories.SetItemIndex(Category);
        EXPECT_EQ(Profiles.ItemCount(), 0) << Category;
        EXPECT_EQ(Profiles.ItemIndex(), 0) << Category;
        for (TParameterKind Kind : ParameterKinds) {
            EXPECT_EQ(List(Kind).ItemCount(), 0) << Category;
            EXPECT_TRUE(List(Kind).Enabled()) << Category;
        }
        // The working set then names no profile.
        Handlers.Button5Click(nullptr);
        EXPECT_EQ(Handlers.ProfileWorkingSet.Video_OutPutFileName, OutputFolder() + "/");
        EXPECT_EQ(Handlers.ProfileWorkingSet.Video_VideoBitrate, -1);
    }
}

TEST_F(CatalogueProfileChoice, SelectedRowFollowsTheCategory) {
    FolderText = "";
    SelectRow("clip_1.avi", "100", "020202020202");
    Categories.SetItemIndex(3);
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "clip_1.mp3");
    EXPECT_EQ(Jobs.SubItem(siProfileCode), "400");
    EXPECT_EQ(Jobs.SubItem(siParameterCode), "000010000004");
    EXPECT_GT(Jobs.FocusCount, 0);
}

TEST_F(CatalogueProfileChoice, RowNameGetsTheProfileExtension) {
    const std::pair<const char*, const char*> Cases[] = {
        {"a.b.avi", "a.b.mp4"}, {"clip", "clip.mp4"}, {"/old/folder/x.avi", "x.mp4"}};
    for (auto [Before, After] : Cases) {
        SelectRow(Before, "100", "000000000000");
        Choose(7, 0);
        EXPECT_EQ(Jobs.SubItem(siOutputFileName), After) << Before;
    }
    const std::pair<int, const char*> Extensions[] = {{8, ".aiff"}, {6, ".ra"}, {10, ".flac"}};
    for (auto [Profile, Ext] : Extensions) {
        SelectRow("song.mp3", "400", "000000000000");
        Choose(3, Profile);
        EXPECT_EQ(Jobs.SubItem(siOutputFileName), std::string("song") + Ext);
    }
    SelectRow("film.avi", "300", "000000000000");
    Choose(2, 14);
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "film.rm");
    EXPECT_EQ(Jobs.SubItem(siProfileCode), "314");
}

TEST_F(CatalogueProfileChoice, WithoutARowOnlyTheListsChange) {
    Handlers.ProfileWorkingSet.Video_FrameSize = "untouched";
    Choose(4, 8);
    for (TParameterKind Kind : ParameterKinds)
        Pick(Kind, List(Kind).Item(List(Kind).ItemCount() - 1));
    EXPECT_TRUE(Jobs.Writes.empty());
    EXPECT_EQ(Jobs.FocusCount, 0);
    EXPECT_EQ(Handlers.ProfileWorkingSet.Video_FrameSize, "untouched");
}

// Edge cases of the per-profile lists: displayed texts in fill order.
TEST_F(CatalogueProfileChoice, DefaultsOfChosenProfiles) {
    struct TCase {
        int Category, Profile;
        Texts Expected;
    };
    const TCase Cases[] = {
        {0, 0, {"1280*720", "1600 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"}},
        {2, 0, {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}},
        {2, 9, {"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"}},
        {14, 7, {"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"}},
        {15, 7, {"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"}},
        {16, 7, {"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"}},
        {3, 12, {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}},
        {1, 5, {"320*240", "528 kbps", "保持原帧速率", "128 kbps", "32000", "保持原视频模式"}},
        {8, 0, {"保持原分辨率", "1200 kbps", "30.00", "128 kbps", "32000", "保持原视频模式"}},
        {10, 3, {"320*240", "528 kbps", "20.00", "96 kbps", "22050", "保持原视频模式"}},
        {10, 5, {"该格式无视频", "无视频", "无视频", "128 kbps", "22050", "无视频"}},
        {15, 2, {"1280*720", "1600 kbps", "30.00", "128 kbps", "44100", "保持原视频模式"}},
    };
    for (const TCase& Case : Cases) {
        Choose(Case.Category, Case.Profile);
        EXPECT_EQ(Shown(), Case.Expected) << Case.Category << "/" << Case.Profile;
    }
    Choose(2, 9);
    EXPECT_EQ(Combo4.ItemCount(), 2);
    Choose(4, 2);
    EXPECT_EQ(Combo4.Text(), "宽屏视频16:9模式");
    EXPECT_EQ(Combo4.ItemIndex(), 2);
    Choose(8, 0);
    EXPECT_EQ(Combo10.Item(0), "22050");
    EXPECT_EQ(Combo10.Item(1), "24000");
    Choose(10, 3);
    EXPECT_EQ(Combo10.Items(), (Texts{"11025", "22050", "44100"}));
}

TEST_F(CatalogueProfileChoice, VideoListsEnabledAgainAfterAnAudioProfile) {
    Choose(3, 12);
    for (TParameterKind Kind : ParameterKinds)
        EXPECT_EQ(List(Kind).Enabled(),
                  Kind == TParameterKind::AudioBitrate || Kind == TParameterKind::SampleRate);
    Choose(2, 0);
    for (TParameterKind Kind : ParameterKinds)
        EXPECT_TRUE(List(Kind).Enabled());
}

} // namespace
