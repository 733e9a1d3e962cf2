// A job row, the lists and the working set stay in agreement through profile
// choices and row selections, and a row's output never takes the name of an
// existing file by accident.
#include "tests/catalogue/CatalogueFixture.h"

#include <filesystem>

namespace {

class CatalogueRowAgreement : public CatalogueFixture {
protected:
    CatalogueRowAgreement() { std::filesystem::create_directory(OutputFolder()); }

    // A row as the add command leaves it: on category Category's profile,
    // with the lists' codes and values.
    void AddRow(int Category, int Profile, const std::string& Name) {
        Jobs.Select(false);
        Choose(Category, Profile);
        Handlers.Button13Click(nullptr);
        SelectRow(Name, ProfileCode(Category, Profile), Handlers.ParameterCodeFromLists());
        Handlers.WriteParameterValuesToRow();
    }
};

TEST_F(CatalogueRowAgreement, SameTextAtAnotherPositionStillMovesTheDigits) {
    AddRow(4, 0, "clip.mp4");
    ASSERT_EQ(Jobs.SubItem(siParameterCode), "070302000703");
    Profiles.SetItemIndex(8);
    EXPECT_EQ(Jobs.SubItem(siParameterCode), "060302000703");
    ASSERT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Combo1.Text(), "480*320");

    AddRow(4, 0, "clip.mp4");
    Profiles.SetItemIndex(9);
    ASSERT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Combo10.Text(), "48000");
    EXPECT_EQ(Jobs.SubItem(siAudioSampleRate), "48000");
}

TEST_F(CatalogueRowAgreement, RowValuesFollowTheListsNotTheProfile) {
    AddRow(0, 0, "clip.avi");
    const std::vector<std::string> Added = {"1280*720", "1600000", "29.97", "128000", "48000", ""};
    auto Values = [&] {
        return std::vector<std::string>(Jobs.Row().begin() + siFrameSize,
                                        Jobs.Row().begin() + siFrameAspectRatio + 1);
    };
    ASSERT_EQ(Values(), Added);
    ASSERT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Values(), Added);
    const TProfileWorkingSet& W = Handlers.ProfileWorkingSet;
    EXPECT_EQ(W.Video_FrameSize, FrameSizeValue(Combo1.Text()));
    EXPECT_EQ(W.Video_VideoBitrate, VideoBitrateValue(Combo2.Text()));
    EXPECT_EQ(W.Video_FrameRate, "29.97");
    EXPECT_EQ(W.Video_AudioBitrate, AudioBitrateValue(Combo3.Text()));
    EXPECT_EQ(W.Video_AudioSampleRate, Combo10.Text());
    EXPECT_EQ(W.Video_FrameAspectRatio, AspectModeValue(Combo4.Text()));
    // The profile's own settings still reach the other sub-items.
    EXPECT_EQ(Jobs.SubItem(siVideoCodec), "mpeg4");
    EXPECT_EQ(Jobs.SubItem(siFileExt), ".avi");
}

TEST_F(CatalogueRowAgreement, NewExtensionTakesAFreeName) {
    Touch("clip.mp4");
    AddRow(0, 0, "clip.avi");
    Choose(7, 0);
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "clip_1.mp4");

    AddRow(0, 0, "clip.avi");
    Overwrite = true;
    Choose(7, 0);
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "clip.mp4");

    Overwrite = false;
    Touch("clip.avi");
    AddRow(0, 0, "clip.avi");
    Profiles.SetItemIndex(1);
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "clip.avi");
}

TEST_F(CatalogueRowAgreement, RestoringARowKeepsItsOutputName) {
    Touch("song.m4a");
    AddRow(3, 4, "song.m4a");
    ASSERT_EQ(Jobs.SubItem(siParameterCode), "000009000004");
    ASSERT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "song.m4a");
    EXPECT_EQ(Jobs.SubItem(siProfileCode), "404");

    // The smart-TV profile writes ".avi" under a ".mp4" title: restoring
    // keeps the name, choosing it renames as the title says.
    AddRow(5, 0, "tv.avi");
    ASSERT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "tv.avi");
    Profiles.SetItemIndex(0);
    EXPECT_EQ(Jobs.SubItem(siOutputFileName), "tv.mp4");
}

} // namespace
