// The legacy settings form driven as it runs: combos selected through their
// ItemIndex, steps run by clicking their buttons, on the headless backend
// with the standard test skin and a host standing in for the main window.
#include "app/Pictures.h"
#include "legacy/LegacyHost.h"
#include "legacy/LegacyTables.h"
#include "legacy/Unit6.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegQueue.h"
#include "platform/core/Clock.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Every field holds a value no row or list writes, so a kept field shows.
TProfileWorkingSet Sentinels() {
    TProfileWorkingSet Set;
    Set.Video_OutPutFileName = "s:out";
    Set.Video_AddFileName = "/media/in/clip.mkv";
    for (std::string* Field :
         {&Set.Video_FileExt, &Set.Video_VideoCodec, &Set.Video_VideoTag, &Set.Video_AudioCodec,
          &Set.Video_FrameSize, &Set.Video_FrameRate, &Set.Video_FrameAspectRatio,
          &Set.Video_AudioSampleRate, &Set.Video_AudioChannels, &Set.Video_AudioVolume,
          &Set.Video_TargetType, &Set.Video_NormType, &Set.Video_FileFormat,
          &Set.Video_VideoFilters, &Set.Video_CopyTimestamp})
        *Field = "s:kept";
    Set.Video_VideoBitrate = 424242;
    Set.Video_AudioBitrate = 434343;
    Set.Video_TimeStart = 17;
    Set.Video_TimeLength = 18;
    Set.Video_DisableVideo = true;
    return Set;
}

auto Fields(const TProfileWorkingSet& S) {
    return std::tie(S.Video_OutPutFileName, S.Video_AddFileName, S.Video_FileExt,
                    S.Video_VideoCodec, S.Video_VideoTag, S.Video_AudioCodec, S.Video_FrameSize,
                    S.Video_FrameRate, S.Video_FrameAspectRatio, S.Video_VideoBitrate,
                    S.Video_AudioBitrate, S.Video_AudioSampleRate, S.Video_AudioChannels,
                    S.Video_AudioVolume, S.Video_TargetType, S.Video_NormType, S.Video_DisableVideo,
                    S.Video_FileFormat, S.Video_VideoFilters, S.Video_CopyTimestamp,
                    S.Video_TimeStart, S.Video_TimeLength);
}

bool SameSet(const TProfileWorkingSet& A, const TProfileWorkingSet& B) {
    return Fields(A) == Fields(B);
}

class TFakeHost : public TLegacyFormHost {
public:
    TProfileWorkingSet& WorkingSet() override { return Set; }
    std::string OutputFolderText() override { return Folder; }
    bool OverwriteChosen() override {
        ++OverwriteAsked;
        return Overwrite;
    }
    TbsSkinData* SkinData() override { return Skin; }

    TProfileWorkingSet Set = Sentinels();
    std::string Folder;
    bool Overwrite = false;
    int OverwriteAsked = 0;
    TbsSkinData* Skin = nullptr;
};

// Records the components freed under it.
class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    void Notification(TComponent* AComponent, TOperation Operation) override {
        if (Operation == opRemove)
            Freed.push_back(AComponent);
        TComponent::Notification(AComponent, Operation);
    }
    std::vector<TComponent*> Freed;
};

// The six lists in kind order.
std::vector<TbsSkinComboBox*> ListsOf(TForm6* F) {
    return {F->bsSkinComboBox1, F->bsSkinComboBox2,  F->bsSkinComboBox9,
            F->bsSkinComboBox3, F->bsSkinComboBox10, F->bsSkinComboBox4};
}

std::vector<std::string> ItemsOf(TbsSkinComboBox* List) {
    std::vector<std::string> Items;
    for (int I = 0; I < List->Items()->Count(); ++I)
        Items.push_back(List->Items()->Strings(I));
    return Items;
}

class LegacyForm : public testing::Test {
protected:
    void SetUp() override {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        const std::string SkinFolder = Dir.File("skin");
        std::filesystem::create_directories(SkinFolder);
        Skin = std::make_unique<TbsSkinData>(nullptr);
        Skin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(SkinFolder));
        ASSERT_FALSE(Skin->Empty);
        Host.Skin = Skin.get();
        Host.Folder = Out.Path();
        Form = CreateFormInCode<TForm6>(Application, Host);
    }

    void TearDown() override {
        while (Screen && Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        Skin.reset();
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }

    TProfileWorkingSet& Set() { return Host.Set; }

    void Choose(int Category, int Profile) {
        Form->bsSkinOfficeComboBox2->SetItemIndex(Category);
        if (Profile != 0)
            Form->bsSkinOfficeComboBox1->SetItemIndex(Profile);
    }
    void ChooseKey(int Key) { Choose(Key / 100 - 1, Key % 100); }

    // Picks the item of that text in the list, as the user would.
    void Pick(TbsSkinComboBox* List, const std::string& Text) {
        const int Index = List->Items()->IndexOf(Text);
        ASSERT_GE(Index, 0) << Text;
        List->SetItemIndex(Index);
    }

    std::vector<std::string> Shown() {
        std::vector<std::string> Texts;
        for (TbsSkinComboBox* List : ListsOf(Form))
            Texts.push_back(List->Text());
        return Texts;
    }

    // The texts the lists show for a key's defaults, in kind order.
    static std::vector<std::string> DefaultsOf(int Key) {
        std::vector<std::string> Texts;
        const TLegacyParameterRow& Row = *FindLegacyParameterRow(Key);
        for (TParameterKind Kind : ParameterKinds)
            Texts.emplace_back(
                LegacyParameterList(Kind, Row.Choice(Kind).List)[Row.Choice(Kind).Default]);
        return Texts;
    }

    std::vector<std::string> ProfileTitles() {
        std::vector<std::string> Titles;
        TbsSkinOfficeItems* Items = Form->bsSkinOfficeComboBox1->Items();
        for (int I = 0; I < Items->Count(); ++I)
            Titles.push_back(Items->Items(I)->Title());
        return Titles;
    }

    void Ok() { Form->bsSkinButton2->ButtonClick(); }

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TTempDir Out;
    std::unique_ptr<TbsSkinData> Skin;
    TFakeHost Host;
    TForm6* Form = nullptr;
};

// ---------------------------------------------------------------- start-up and events

TEST_F(LegacyForm, CreationFillsTheFirstCategoryAndKey100AndOnlyClearsTheVideoSwitch) {
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Form6, Form);
    EXPECT_EQ(Form->ClientWidth(), 958);
    EXPECT_EQ(Form->ClientHeight(), 474);
    EXPECT_EQ(Form->bsSkinOfficeComboBox2->ItemIndex(), 0);
    std::vector<std::string> Expected;
    for (const TLegacyProfile& P : LegacyCategories()[0].Profiles)
        Expected.emplace_back(P.Title);
    EXPECT_EQ(ProfileTitles(), Expected);
    EXPECT_EQ(Form->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"保持原分辨率", "816 kbps", "25.00", "128 kbps",
                                                 "44100", "保持原视频模式"}));
    for (TbsSkinComboBox* List : ListsOf(Form))
        EXPECT_TRUE(List->Enabled()) << List->Name();

    TProfileWorkingSet Expect = Sentinels();
    Expect.Video_DisableVideo = false;
    EXPECT_TRUE(SameSet(Set(), Expect));
}

TEST_F(LegacyForm, CategoryChangeRefillsProfilesAndSelectsTheFirst) {
    const struct {
        int Category;
        int Count;
        int Key;
    } Cases[] = {{4, 6, 500}, {11, 4, 1200}, {1, 13, 200}};
    for (const auto& C : Cases) {
        Form->bsSkinOfficeComboBox2->SetItemIndex(C.Category);
        EXPECT_EQ(Form->bsSkinOfficeComboBox1->Items()->Count(), C.Count) << C.Category;
        EXPECT_EQ(Form->bsSkinOfficeComboBox1->ItemIndex(), 0) << C.Category;
        EXPECT_EQ(Form->ProfileKey(), C.Key);
        EXPECT_EQ(Shown(), DefaultsOf(C.Key)) << C.Key;
    }
}

TEST_F(LegacyForm, NoCategoryEmptiesTheProfilesAndListsButKeepsTheShownTexts) {
    Pick(Form->bsSkinComboBox1, "320*240");
    const std::vector<std::string> Before = Shown();
    Set().Video_DisableVideo = true;

    Form->bsSkinOfficeComboBox2->SetItemIndex(-1);

    EXPECT_EQ(Form->bsSkinOfficeComboBox1->Items()->Count(), 0);
    EXPECT_EQ(Form->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Form->ProfileKey(), 0);
    EXPECT_FALSE(Set().Video_DisableVideo); // the list step ran
    for (TbsSkinComboBox* List : ListsOf(Form)) {
        EXPECT_EQ(List->Items()->Count(), 0) << List->Name();
        EXPECT_TRUE(List->Enabled()) << List->Name();
    }
    EXPECT_EQ(Shown(), Before);
}

TEST_F(LegacyForm, ProfilesOfTheSameTitleAreSeparateItemsWithTheirOwnLists) {
    const struct {
        int Category;
        std::vector<int> Profiles;
    } Groups[] = {{2, {0, 1}}, {8, {7, 8, 9}}};
    for (const auto& G : Groups) {
        Form->bsSkinOfficeComboBox2->SetItemIndex(G.Category);
        const std::vector<std::string> Titles = ProfileTitles();
        for (int P : G.Profiles) {
            EXPECT_EQ(Titles[P], Titles[G.Profiles[0]]);
            Form->bsSkinOfficeComboBox1->SetItemIndex(P);
            const int Key = (G.Category + 1) * 100 + P;
            EXPECT_EQ(Form->ProfileKey(), Key);
            EXPECT_EQ(Shown(), DefaultsOf(Key)) << Key;
        }
    }
}

TEST_F(LegacyForm, CategoryAndProfileItemsCarryTheirImageIndices) {
    TbsSkinOfficeItems* Categories = Form->bsSkinOfficeComboBox2->Items();
    ASSERT_EQ(Categories->Count(), 12);
    EXPECT_EQ(Categories->Items(0)->Caption(), "常用视频");
    EXPECT_EQ(Categories->Items(11)->Caption(), "Flash视频");
    for (int C = 0; C < 12; ++C) {
        EXPECT_EQ(Categories->Items(C)->ImageIndex(), C);
        EXPECT_EQ(Categories->Items(C)->Title(), "");
        // A picture of its own, not the plain film frame of unknown indices.
        EXPECT_TRUE(HasCategoryIcon(C)) << C;
    }
    EXPECT_EQ(Form->ImageList1->Count(), 12);
    EXPECT_EQ(Form->ImageList2->Count(), 0);

    auto Indices = [&](int Category) {
        Form->bsSkinOfficeComboBox2->SetItemIndex(Category);
        std::vector<int> Result;
        TbsSkinOfficeItems* Items = Form->bsSkinOfficeComboBox1->Items();
        for (int I = 0; I < Items->Count(); ++I)
            Result.push_back(Items->Items(I)->ImageIndex());
        return Result;
    };
    const std::vector<int> Category6 = Indices(6);
    EXPECT_EQ(std::vector<int>(Category6.begin(), Category6.begin() + 9),
              (std::vector<int>{20, 20, 21, 21, 20, 21, 20, 21, 21}));
    EXPECT_EQ(Indices(11), (std::vector<int>{22, 23, 24, 25}));
    for (int Category : {0, 3, 7}) {
        std::vector<int> Expected;
        for (const TLegacyProfile& P : LegacyCategories()[Category].Profiles)
            Expected.push_back(P.ImageIndex);
        EXPECT_EQ(Indices(Category), Expected) << Category;
    }
}

TEST_F(LegacyForm, CancelOnlyHides) {
    Form->Show();
    Choose(1, 3);
    const TProfileWorkingSet Before = Set();
    Form->bsSkinButton3->ButtonClick();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(SameSet(Set(), Before));
}

TEST_F(LegacyForm, OkWritesTheAudioProfileThenItsListsAndHidesTheForm) {
    Form->Show();
    Choose(1, 0);
    Ok();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Screen->FormCount(), 1); // hidden, not freed
    const TLegacySettingsRow& Row = *FindLegacySettingsRow(200);
    EXPECT_EQ(Set().Video_AudioCodec, *Row.AudioCodec);
    EXPECT_EQ(Set().Video_AudioChannels, *Row.AudioChannels);
    EXPECT_EQ(Set().Video_FileExt, *Row.FileExt);
    EXPECT_EQ(Set().Video_AudioBitrate, 128000);
    EXPECT_EQ(Set().Video_AudioSampleRate, "44100");
    EXPECT_TRUE(Set().Video_DisableVideo);
    EXPECT_EQ(Set().Video_FrameSize, "");
    EXPECT_EQ(Set().Video_FrameRate, "");
    EXPECT_EQ(Set().Video_FrameAspectRatio, "");
    EXPECT_EQ(Set().Video_VideoBitrate, -1000);
    EXPECT_EQ(Set().Video_OutPutFileName, Out.Path() + "/clip" + std::string(Row.NameExt));
}

TEST_F(LegacyForm, OkTakesTheSettingsFirstAndTheUsersChoicesLast) {
    Pick(Form->bsSkinComboBox1, "320*240");
    Pick(Form->bsSkinComboBox2, "1200 kbps");
    Ok();
    EXPECT_EQ(Set().Video_VideoCodec, "mpeg4");
    EXPECT_EQ(Set().Video_FrameSize, "320*240");
    EXPECT_EQ(Set().Video_VideoBitrate, 1200000);
    EXPECT_FALSE(Set().Video_DisableVideo);
}

TEST_F(LegacyForm, ResetSetsEveryFieldButTheInputName) {
    Form->Button6->Click();
    TProfileWorkingSet Expect;
    ResetWorkingSet(Expect);
    Expect.Video_AddFileName = "/media/in/clip.mkv";
    EXPECT_TRUE(SameSet(Set(), Expect));
    EXPECT_EQ(Set().Video_AudioVolume, "256");
    EXPECT_EQ(Set().Video_VideoBitrate, -1);
}

TEST_F(LegacyForm, TheTaskQueueGoesWithTheFormAndNothingLoadedALibrary) {
    TFreeWatch Watch;
    TFFmpegQueue* Queue = Form->FFQueue;
    EXPECT_EQ(Queue->Owner(), Form);
    Queue->FreeNotification(&Watch);
    delete Form;
    EXPECT_NE(std::find(Watch.Freed.begin(), Watch.Freed.end(), Queue), Watch.Freed.end());
    for (int Lib = 0; Lib < LibraryCount; ++Lib)
        EXPECT_FALSE(FFLoader().Loaded(TLibrary(Lib))) << Lib;
}

// ---------------------------------------------------------------- the data walk

TEST_F(LegacyForm, EveryProfileThroughTheCombos) {
    const std::vector<int> Counts = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};
    std::set<int> Keys;
    const std::set<int> NoFileExt = {111, 112, 113, 114, 1202, 1203};
    const std::set<int> OtherExt = {206, 211, 306};
    for (int Category = 0; Category < 12; ++Category) {
        Form->bsSkinOfficeComboBox2->SetItemIndex(Category);
        ASSERT_EQ(Form->bsSkinOfficeComboBox1->Items()->Count(), Counts[Category]);
        for (int Profile = 0; Profile < Counts[Category]; ++Profile) {
            Form->bsSkinOfficeComboBox1->SetItemIndex(Profile);
            Form->Button18->Click();
            const int Key = Form->ProfileKey();
            SCOPED_TRACE(Key);
            Keys.insert(Key);
            const TLegacySettingsRow* Settings = FindLegacySettingsRow(Key);
            const TLegacyParameterRow* Params = FindLegacyParameterRow(Key);
            ASSERT_TRUE(Settings && Params);

            const bool AudioOnly = IsLegacyAudioOnlyKey(Key);
            const std::vector<TbsSkinComboBox*> Lists = ListsOf(Form);
            for (TParameterKind Kind : ParameterKinds) {
                TbsSkinComboBox* List = Lists[KindIndex(Kind)];
                const TListChoice& Choice = Params->Choice(Kind);
                const auto Items = LegacyParameterList(Kind, Choice.List);
                ASSERT_EQ(ItemsOf(List), std::vector<std::string>(Items.begin(), Items.end()));
                ASSERT_GE(Choice.Default, 0);
                ASSERT_LT(Choice.Default, int(Items.size()));
                EXPECT_EQ(List->Text(), Items[Choice.Default]);
                const bool VideoList =
                    Kind != TParameterKind::AudioBitrate && Kind != TParameterKind::SampleRate;
                EXPECT_EQ(List->Enabled(), !(AudioOnly && VideoList));
            }
            // Audio-only: exactly the lists R3, V6, F3, M3.
            const bool NoVideoLists = Params->Choice(TParameterKind::FrameSize).List == 3 &&
                                      Params->Choice(TParameterKind::VideoBitrate).List == 6 &&
                                      Params->Choice(TParameterKind::FrameRate).List == 3 &&
                                      Params->Choice(TParameterKind::AspectMode).List == 3;
            EXPECT_EQ(AudioOnly, NoVideoLists);
            EXPECT_EQ(AudioOnly, Settings->DisableVideo.value_or(false));

            if (NoFileExt.count(Key)) {
                EXPECT_FALSE(Settings->FileExt.has_value());
            } else {
                ASSERT_TRUE(Settings->FileExt.has_value());
                EXPECT_EQ(*Settings->FileExt == Settings->NameExt, !OtherExt.count(Key));
            }

            // Every item reads back; fractional audio rates as the double rule does.
            for (TParameterKind Kind : ParameterKinds) {
                TbsSkinComboBox* List = Lists[KindIndex(Kind)];
                for (int I = 0; I < List->Items()->Count(); ++I) {
                    List->SetItemIndex(I);
                    Form->Button13->Click();
                    if (Kind != TParameterKind::AudioBitrate)
                        continue;
                    const std::string Text = List->Text();
                    const std::string Number = Text.substr(0, Text.find(" kbps"));
                    char Buffer[32];
                    std::snprintf(Buffer, sizeof Buffer, "%.15g", std::stod(Number) * 1000);
                    EXPECT_EQ(Set().Video_AudioBitrate, std::stol(Buffer)) << Text;
                }
            }
        }
    }
    std::set<int> Expected;
    for (const auto& [First, Last] : std::initializer_list<std::pair<int, int>>{{100, 114},
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
        for (int K = First; K <= Last; ++K)
            Expected.insert(K);
    EXPECT_EQ(Keys, Expected);
}

// ---------------------------------------------------------------- settings and output name

TEST_F(LegacyForm, SettingsOfOneProfileOverAnother) {
    ChooseKey(100);
    Form->Button5->Click();
    const TProfileWorkingSet Video = Set();
    ChooseKey(200);
    Form->Button5->Click();
    EXPECT_EQ(Set().Video_VideoCodec, "mpeg4");
    EXPECT_EQ(Set().Video_VideoTag, "XVID");
    EXPECT_EQ(Set().Video_FrameSize, Video.Video_FrameSize);
    EXPECT_EQ(Set().Video_FrameRate, Video.Video_FrameRate);
    EXPECT_EQ(Set().Video_VideoBitrate, Video.Video_VideoBitrate);
    EXPECT_TRUE(Set().Video_DisableVideo);
    EXPECT_EQ(Set().Video_AudioCodec, *FindLegacySettingsRow(200)->AudioCodec);

    ChooseKey(100);
    Form->Button5->Click();
    EXPECT_FALSE(Set().Video_DisableVideo);

    ChooseKey(111);
    Form->Button5->Click();
    EXPECT_EQ(Set().Video_FileExt, ".avi");
    EXPECT_EQ(Set().Video_OutPutFileName, Out.Path() + "/clip.mpg");
    EXPECT_EQ(Set().Video_TargetType, "dvd");
    EXPECT_EQ(Set().Video_NormType, "PAL");
    EXPECT_EQ(Set().Video_VideoBitrate, -1000);
    EXPECT_EQ(Set().Video_AudioBitrate, -1000);
}

TEST_F(LegacyForm, TheOverwriteChoiceIsReadAtTheStepAndOnlyForATakenName) {
    std::ofstream(Out.File("clip.avi")) << "x";
    ChooseKey(100);
    Form->Button5->Click();
    EXPECT_EQ(Set().Video_OutPutFileName, Out.Path() + "/clip_1.avi");
    EXPECT_EQ(Host.OverwriteAsked, 1);
    std::ofstream(Out.File("clip_1.avi")) << "x";
    Form->Button5->Click();
    EXPECT_EQ(Set().Video_OutPutFileName, Out.Path() + "/clip_2.avi");
    Host.Overwrite = true;
    Form->Button5->Click();
    EXPECT_EQ(Set().Video_OutPutFileName, Out.Path() + "/clip.avi");

    Host.OverwriteAsked = 0;
    Set().Video_AddFileName = "/media/in/fresh.mkv";
    Form->Button5->Click();
    EXPECT_EQ(Host.OverwriteAsked, 0);
}

TEST_F(LegacyForm, WithoutARowTheNameIsRebuiltInTheFolderShownNow) {
    ChooseKey(100);
    Form->Button5->Click();
    Form->bsSkinOfficeComboBox2->SetItemIndex(-1);
    TTempDir Other;
    Host.Folder = Other.Path();
    Set().Video_DisableVideo = true;
    Form->Button5->Click();
    EXPECT_FALSE(Set().Video_DisableVideo);
    EXPECT_EQ(Set().Video_OutPutFileName, Other.Path() + "/clip.avi");
}

// ---------------------------------------------------------------- read-back

TEST_F(LegacyForm, TellingKeysShowAndReadBack) {
    const struct {
        int Key;
        std::string FrameSize, FrameRate, SampleRate, Aspect;
        int AudioBitrate;
    } Cases[] = {
        {212, "", "", "8000", "", 7400}, {708, "", "", "8000", "", 7400},
        {109, "", "12", "", "", 0},      {411, "", "", "", "16:9", 0},
        {502, "", "", "", "16:9", 0},    {1100, "320*240", "", "", "", 0},
        {400, "320*240", "", "", "", 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Key);
        ChooseKey(C.Key);
        Form->Button13->Click();
        if (!C.FrameSize.empty()) {
            EXPECT_EQ(Set().Video_FrameSize, C.FrameSize);
        }
        if (!C.FrameRate.empty()) {
            EXPECT_EQ(Set().Video_FrameRate, C.FrameRate);
        }
        if (!C.SampleRate.empty()) {
            EXPECT_EQ(Set().Video_AudioSampleRate, C.SampleRate);
        }
        if (!C.Aspect.empty()) {
            EXPECT_EQ(Set().Video_FrameAspectRatio, C.Aspect);
        }
        if (C.AudioBitrate) {
            EXPECT_EQ(Set().Video_AudioBitrate, C.AudioBitrate);
        }
    }

    ChooseKey(212);
    EXPECT_EQ(Form->bsSkinComboBox3->Text(), "7.4 kbps");
    ChooseKey(109);
    EXPECT_EQ(Form->bsSkinComboBox9->Text(), "12");
    EXPECT_EQ(Form->bsSkinComboBox4->Items()->Count(), 2);
    ChooseKey(1100);
    EXPECT_EQ(ItemsOf(Form->bsSkinComboBox1).back(), "1024*768");
    ChooseKey(400);
    EXPECT_EQ(Form->bsSkinComboBox1->Items()->Strings(1), "176*144");
    EXPECT_EQ(Form->bsSkinComboBox1->Items()->Strings(2), "160*120");
    EXPECT_EQ(Form->bsSkinComboBox1->ItemIndex(), 3);
}

TEST_F(LegacyForm, FractionalAudioRatesUnderADecimalComma) {
    TCommaNumericLocale Comma;
    if (!Comma.Active())
        GTEST_SKIP() << "no locale with a decimal comma could be had";
    int Key = 0;
    for (const TLegacyParameterRow& Row : LegacyParameterRows())
        if (Row.Choice(TParameterKind::AudioBitrate).List == 3) {
            Key = Row.Key;
            break;
        }
    ChooseKey(Key);
    ASSERT_EQ(ItemsOf(Form->bsSkinComboBox3),
              (std::vector<std::string>{"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps",
                                        "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"}));
    std::vector<int> Rates;
    for (int I = 0; I < 8; ++I) {
        Form->bsSkinComboBox3->SetItemIndex(I);
        Form->Button13->Click();
        Rates.push_back(Set().Video_AudioBitrate);
    }
    EXPECT_EQ(Rates, (std::vector<int>{4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200}));
}

TEST_F(LegacyForm, AfterAKeyWithoutARowThePreviousTextsAreRead) {
    ChooseKey(411);
    Pick(Form->bsSkinComboBox1, "320*240");
    Form->bsSkinOfficeComboBox2->SetItemIndex(-1);
    Set().Video_FrameAspectRatio = "s:kept";
    Form->Button13->Click();
    EXPECT_EQ(Set().Video_FrameSize, "320*240");
    EXPECT_EQ(Set().Video_FrameAspectRatio, "16:9");

    // Texts that name no aspect leave the field as it was.
    ChooseKey(100);
    Form->bsSkinComboBox4->SetText("4:3");
    Set().Video_FrameAspectRatio = "s:kept";
    Form->Button13->Click();
    EXPECT_EQ(Set().Video_FrameAspectRatio, "s:kept");
}

} // namespace
