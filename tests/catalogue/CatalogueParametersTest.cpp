// Reading a parameter choice back into the working set and the selected
// row: values, the two ParameterCode digits, and the moments handlers run.
#include "tests/catalogue/CatalogueFixture.h"

namespace {

using Texts = std::vector<std::string>;

TEST(CatalogueParameterValues, TextToValue) {
    const std::pair<const char*, int> Bitrates[] = {
        {"4.75 kbps", 4750},         {"5.15 kbps", 5150},   {"5.9 kbps", 5900},
        {"6.7 kbps", 6700},          {"7.4 kbps", 7400},    {"7.95 kbps", 7950},
        {"10.2 kbps", 10200},        {"12.2 kbps", 12200},  {"320 kbps", 320000},
        {" 64 kbps", 64000},         {"1.2345 kbps", 1234}, {"kbps", NoBitrate},
        {"abc kbps", NoBitrate},     {"", NoBitrate},       {"5.x kbps", NoBitrate},
        {"99999999 kbps", NoBitrate}};
    for (auto [Text, Value] : Bitrates)
        EXPECT_EQ(AudioBitrateValue(Text), Value) << Text;
    // Every item of every audio list is a whole number of bit/s.
    for (int N = 1; N <= ParameterListCount(TParameterKind::AudioBitrate); ++N)
        for (std::string_view Item : ParameterList(TParameterKind::AudioBitrate, N))
            EXPECT_GT(AudioBitrateValue(Item), 0) << Item;

    // Every video bit-rate item but the no-video one names a positive rate,
    // and every frame size but the two special items stands as it is.
    for (int N = 1; N <= ParameterListCount(TParameterKind::VideoBitrate); ++N)
        for (std::string_view Item : ParameterList(TParameterKind::VideoBitrate, N))
            EXPECT_TRUE(Item == "无视频" || VideoBitrateValue(Item) > 0) << Item;
    for (int N = 1; N <= ParameterListCount(TParameterKind::FrameSize); ++N)
        for (std::string_view Item : ParameterList(TParameterKind::FrameSize, N))
            EXPECT_TRUE(FrameSizeValue(Item) == Item ||
                        (FrameSizeValue(Item).empty() && Item.find('*') == std::string_view::npos))
                << Item;
    EXPECT_EQ(VideoBitrateValue("无视频"), -1000);
    EXPECT_EQ(VideoBitrateValue("1200 kbps"), 1200000);
    EXPECT_EQ(FrameSizeValue("该格式无视频"), "");
    EXPECT_EQ(FrameSizeValue("保持原分辨率"), "");
    EXPECT_EQ(FrameSizeValue("1280*720"), "1280*720");
    EXPECT_EQ(FrameRateValue("保持原帧速率"), "");
    EXPECT_EQ(FrameRateValue("无视频"), "");
    EXPECT_EQ(FrameRateValue("12"), "12");
    EXPECT_EQ(FrameRateValue("25.00"), "25.00");
    EXPECT_EQ(SampleRateValue("44100"), "44100");
    const std::pair<const char*, const char*> Aspects[] = {
        {"保持原视频模式", ""},         {"普通视频4:3模式", "4:3"},
        {"宽屏视频16:9模式", "16:9"},   {"宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "47:20"}, {"无视频", ""}};
    for (auto [Text, Value] : Aspects)
        EXPECT_EQ(AspectModeValue(Text), Value) << Text;
}

TEST(CatalogueParameterCode, DigitsInTheirPlaces) {
    EXPECT_EQ(TwoDigitPosition(9), "09");
    EXPECT_EQ(TwoDigitPosition(10), "10");
    EXPECT_EQ(PatchParameterCode("000310000904", TParameterKind::FrameRate, 27), "000310002704");
    EXPECT_EQ(PatchParameterCode("000310000904", TParameterKind::AspectMode, 4), "000310040904");
    // A short code is padded before the digits are put in.
    EXPECT_EQ(PatchParameterCode("12", TParameterKind::SampleRate, 5), "120000000005");
    EXPECT_EQ(PatchParameterCode("", TParameterKind::FrameSize, 3), "030000000000");
    EXPECT_EQ(MakeParameterCode({0, 3, 9, 10, 4, 0}), "000310000904"); // by kind
    EXPECT_EQ(MakeParameterCode({-1, -1, -1, -1, -1, -1}), "000000000000");

    std::array<int, ParameterKindCount> Positions{};
    ASSERT_TRUE(DecodeParameterCode("190310000905", Positions));
    EXPECT_EQ(Positions, (std::array<int, ParameterKindCount>{19, 3, 9, 10, 5, 0}));
    for (const char* Bad : {"", "12345", "1903100009050", "19031000090x", "-90310000905"}) {
        std::array<int, ParameterKindCount> Untouched{7, 7, 7, 7, 7, 7};
        EXPECT_FALSE(DecodeParameterCode(Bad, Untouched)) << Bad;
        EXPECT_EQ(Untouched[0], 7) << Bad;
    }
    int Category = -5, Profile = -5;
    ASSERT_TRUE(DecodeProfileCode("1714", Category, Profile));
    EXPECT_EQ(Category, 16);
    EXPECT_EQ(Profile, 14);
    EXPECT_EQ(ProfileCode(0, 3), "103");
    for (const char* Bad : {"", "abc", "1 00", "-100", "12a"}) {
        Category = Profile = -5;
        EXPECT_FALSE(DecodeProfileCode(Bad, Category, Profile)) << Bad;
        EXPECT_EQ(Category, -5) << Bad;
    }
}

class CatalogueParameterChoice : public CatalogueFixture {
protected:
    // A row added on category Category, profile 0, with the lists' defaults.
    void AddRow(int Category, const std::string& Name = "clip.avi") {
        Categories.SetItemIndex(Category);
        SelectRow(Name, ProfileCode(Category, 0), Handlers.ParameterCodeFromLists());
    }
};

TEST_F(CatalogueParameterChoice, PickPatchesTheRowAndTheWorkingSet) {
    AddRow(2);
    EXPECT_EQ(Jobs.SubItem(siParameterCode), "000310000904");
    Pick(TParameterKind::FrameSize, "1280*720");
    EXPECT_EQ(Combo1.ItemIndex(), 19);
    EXPECT_EQ(Jobs.SubItem(siParameterCode), "190310000904");
    EXPECT_EQ(Jobs.SubItem(siFrameSize), "1280*720");
    EXPECT_EQ(Handlers.ProfileWorkingSet.Video_FrameSize, "1280*720");
    Pick(TParameterKind::SampleRate, "48000");
    EXPECT_EQ(Jobs.SubItem(siParameterCode), "190310000905");
    EXPECT_EQ(Jobs.SubItem(siAudioSampleRate), "48000");
    EXPECT_EQ(Handlers.ProfileWorkingSet.Video_AudioSampleRate, "48000");
    EXPECT_EQ(Jobs.FocusCount, 2);
}

TEST_F(CatalogueParameterChoice, EachListWritesItsOwnSubItem) {
    struct TCase {
        TParameterKind Kind;
        const char* Item;
        int SubItem;
        const char* Value;
    };
    AddRow(14);
    const TCase Cases[] = {
        {TParameterKind::VideoBitrate, "2000 kbps", siVideoBitrate, "2000000"},
        {TParameterKind::FrameRate, "23.97", siFrameRate, "23.97"},
        {TParameterKind::AudioBitrate, "320 kbps", siAudioBitrate, "320000"},
        {TParameterKind::AspectMode, "宽屏视频37:20模式", siFrameAspectRatio, "37:20"},
        {TParameterKind::FrameSize, "保持原分辨率", siFrameSize, ""},
    };
    for (const TCase& Case : Cases) {
        Pick(Case.Kind, Case.Item);
        EXPECT_EQ(Jobs.SubItem(Case.SubItem), Case.Value) << Case.Item;
    }
    EXPECT_EQ(Handlers.ProfileWorkingSet.Video_VideoBitrate, 2000000);
    EXPECT_EQ(Handlers.ProfileWorkingSet.Video_FrameAspectRatio, "37:20");

    AddRow(3);
    EXPECT_EQ(Jobs.SubItem(siVideoBitrate), "-1000");
    EXPECT_EQ(Jobs.SubItem(siFrameSize), "");
    EXPECT_EQ(Handlers.ProfileWorkingSet.Video_VideoBitrate, -1000);
}

TEST_F(CatalogueParameterChoice, RefillRunsTheHandlersInFillOrderOnFullLists) {
    AddRow(2);
    std::vector<int> Order;
    Jobs.OnWrite = [&](int Index, std::string_view) {
        if (Index < siFrameSize || Index > siFrameAspectRatio)
            return;
        Order.push_back(Index);
        // The handler that writes this sub-item sees its own list complete
        // and on the profile's default.
        const TParameterRow* Row = FindParameterRow(ProfileKey(0, 9));
        const std::pair<int, TParameterKind> Of[] = {
            {siFrameSize, TParameterKind::FrameSize},
            {siVideoBitrate, TParameterKind::VideoBitrate},
            {siFrameRate, TParameterKind::FrameRate},
            {siAudioBitrate, TParameterKind::AudioBitrate},
            {siAudioSampleRate, TParameterKind::SampleRate},
            {siFrameAspectRatio, TParameterKind::AspectMode}};
        for (auto [SubItem, Kind] : Of)
            if (SubItem == Index) {
                EXPECT_EQ(List(Kind).ItemCount(),
                          static_cast<int>(ParameterList(Kind, Row->Choice(Kind).List).size()));
                EXPECT_EQ(List(Kind).ItemIndex(), Row->Choice(Kind).Default);
            }
    };
    Profiles.LoadItemIndex(9);
    Handlers.Button18Click(nullptr);
    EXPECT_EQ(Order, (std::vector<int>{15, 16, 17, 18, 19, 20}));
}

TEST_F(CatalogueParameterChoice, Button13ReadsTheListsWithoutTouchingTheRow) {
    Choose(0, 0);
    Pick(TParameterKind::FrameRate, "25.00");
    Jobs.Select(true);
    Jobs.Writes.clear();
    Handlers.Button13Click(nullptr);
    const TProfileWorkingSet& W = Handlers.ProfileWorkingSet;
    EXPECT_EQ(W.Video_FrameSize, "1280*720");
    EXPECT_EQ(W.Video_VideoBitrate, 1600000);
    EXPECT_EQ(W.Video_FrameRate, "25.00");
    EXPECT_EQ(W.Video_AudioBitrate, 128000);
    EXPECT_EQ(W.Video_AudioSampleRate, "48000");
    EXPECT_EQ(W.Video_FrameAspectRatio, "");
    EXPECT_TRUE(Jobs.Writes.empty());
    EXPECT_EQ(Jobs.FocusCount, 0);
}

TEST_F(CatalogueParameterChoice, HandlerWithoutASelectedItemDoesNothing) {
    AddRow(2);
    Jobs.Writes.clear();
    Combo1.ClearItems();
    Handlers.bsSkinComboBox1Change(nullptr);
    EXPECT_TRUE(Jobs.Writes.empty());
    EXPECT_EQ(Jobs.FocusCount, 0);
}

TEST_F(CatalogueParameterChoice, CodeFromTheLists) {
    Choose(2, 0);
    EXPECT_EQ(Handlers.ParameterCodeFromLists(), "000310000904");
    Categories.SetItemIndex(17);
    EXPECT_EQ(Handlers.ParameterCodeFromLists(), "000000000000");
}

TEST_F(CatalogueParameterChoice, RestoreRejectsUnreadableCodesAndChangesNothing) {
    Choose(2, 4);
    const std::pair<const char*, const char*> Bad[] = {{"abc", "000310000904"},
                                                       {"", "000310000904"},
                                                       {"300", "0003100009"},
                                                       {"300", "00031000090x"}};
    for (auto [Profile, Parameters] : Bad) {
        SelectRow("clip.avi", Profile, Parameters);
        Jobs.Writes.clear();
        EXPECT_FALSE(Handlers.RestoreRowChoices()) << Profile << " " << Parameters;
        EXPECT_TRUE(Jobs.Writes.empty());
        EXPECT_EQ(Categories.ItemIndex(), 2);
        EXPECT_EQ(Profiles.ItemIndex(), 4);
    }
    Jobs.Select(false);
    EXPECT_FALSE(Handlers.RestoreRowChoices());
}

// A code that reads as a number but names no profile (a damaged or stale
// row) must not replay another profile over the row: that would overwrite
// its settings and codes and still report the row as restored.
TEST_F(CatalogueParameterChoice, RestoreRejectsACodeThatNamesNoProfile) {
    Choose(2, 4);
    for (const char* Profile : {"110", "1800", "50", "0", "1799"}) {
        SelectRow("clip.avi", Profile, "000310000904");
        Jobs.Put(siVideoCodec, "kept");
        Jobs.Writes.clear();
        EXPECT_FALSE(Handlers.RestoreRowChoices()) << Profile;
        EXPECT_TRUE(Jobs.Writes.empty()) << Profile;
        EXPECT_EQ(Jobs.SubItem(siProfileCode), Profile);
        EXPECT_EQ(Jobs.SubItem(siVideoCodec), "kept");
        EXPECT_EQ(Categories.ItemIndex(), 2);
        EXPECT_EQ(Profiles.ItemIndex(), 4);
    }
    // The last profile of the last category is still a profile.
    SelectRow("clip.avi", "1714", "000000000000");
    EXPECT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Categories.ItemIndex(), 16);
    EXPECT_EQ(Profiles.ItemIndex(), 14);
}

TEST_F(CatalogueParameterChoice, RestorePutsTheRowsChoicesBack) {
    AddRow(2);
    Profiles.SetItemIndex(5);
    Pick(TParameterKind::VideoBitrate, "2000 kbps");
    Pick(TParameterKind::AspectMode, "宽屏视频16:9模式");
    const auto Row = Jobs.Row();
    Choose(9, 3);
    Jobs.Select(false);
    Choose(9, 3);
    for (int I = 0; I < TFakeJobTable::SubItemCount; ++I)
        Jobs.Put(I, Row[I]);
    Jobs.Select(true);
    ASSERT_TRUE(Handlers.RestoreRowChoices());
    EXPECT_EQ(Categories.ItemIndex(), 2);
    EXPECT_EQ(Profiles.ItemIndex(), 5);
    EXPECT_EQ(Combo2.Text(), "2000 kbps");
    EXPECT_EQ(Combo4.Text(), "宽屏视频16:9模式");
    EXPECT_EQ(Jobs.Row(), Row);
}

} // namespace
