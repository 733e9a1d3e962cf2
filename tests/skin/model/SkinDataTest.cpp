// The skin data component: lookups, clearing, the broadcast order of the
// skin messages and the property setters.
#include "platform/core/Exceptions.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/SkinComparison.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace testskin;

namespace {

const UINT AllSkinMessages[] = {WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA,
                                WM_AFTERCHANGESKINDATA,  WM_CHANGERESSTRDATA,
                                WM_CHANGEFORMSKINNABLE,  WM_SHOWLAYEREDBORDERS};

using TNames = std::vector<std::string>;

// A skin folder of Skin in Dir; answers the ini file.
std::string Folder(const TTempDir& Dir, const TTestSkin& Skin) {
    return Skin.WriteFolder(Dir.Path());
}

} // namespace

// ---- lookups and lifecycle ------------------------------------------------------

TEST(SkinData, LookupsFindTheFirstExactName) {
    TbsSkinData Data(nullptr);
    Data.CtrlList.push_back(std::make_unique<TbsDataSkinPanelControl>("a"));
    Data.CtrlList.push_back(std::make_unique<TbsDataSkinButtonControl>("b"));
    Data.CtrlList.push_back(std::make_unique<TbsDataSkinLabelControl>("b"));
    Data.ObjectList.push_back(std::make_unique<TbsDataSkinCaption>("caption"));
    Data.ObjectList.push_back(std::make_unique<TbsDataSkinMenuItem>("caption"));
    EXPECT_EQ(Data.GetControlIndex("b"), 1);
    EXPECT_EQ(Data.GetControlIndex("B"), -1);
    EXPECT_EQ(Data.GetControlIndex(""), -1);
    EXPECT_EQ(Data.GetIndex("caption"), 0);
    EXPECT_EQ(Data.GetIndex("Caption"), -1);
    TbsSkinData EmptyData(nullptr);
    EXPECT_EQ(EmptyData.GetControlIndex("b"), -1);
    EXPECT_EQ(EmptyData.GetIndex("caption"), -1);
}

TEST(SkinData, FreshComponent) {
    TbsSkinData Data(nullptr);
    EXPECT_TRUE(Data.Empty);
    EXPECT_FALSE(Data.ChangeSkinDataProcess);
    EXPECT_EQ(Data.BGPictureIndex, -1);
    EXPECT_EQ(Data.MDIBGPictureIndex, -1);
    EXPECT_EQ(Data.StretchType, bsstFull);
    EXPECT_EQ(Data.MDIBGStretchType, bsstFull);
    EXPECT_EQ(Data.InActiveEffect, ieBrightness);
    EXPECT_TRUE(Data.SkinnableForm());
    EXPECT_TRUE(Data.EnableSkinEffects());
    EXPECT_TRUE(Data.ShowButtonGlowFrames());
    EXPECT_TRUE(Data.ShowCaptionButtonGlowFrames());
    EXPECT_TRUE(Data.ShowLayeredBorders());
    EXPECT_FALSE(Data.AnimationForAllWindows());
    EXPECT_EQ(Data.SkinIndex(), 0);
    EXPECT_EQ(Data.SkinList(), nullptr);
    EXPECT_TRUE(Data.FPicture->Empty());
    EXPECT_TRUE(Data.FActivePictures.empty());
}

TEST(SkinData, ClearAllKeepsFormInfoAndVersion) {
    TTempDir Dir;
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Folder(Dir, StandardTestSkin({.LayerFrame = true})));
    ASSERT_FALSE(Data.Empty);
    ASSERT_NE(Data.LayerFrame->PictureIndex, -1);
    Data.ClearAll();
    EXPECT_TRUE(Data.Empty);
    EXPECT_TRUE(Data.CtrlList.empty());
    EXPECT_TRUE(Data.ObjectList.empty());
    EXPECT_TRUE(Data.FActivePictures.empty());
    EXPECT_EQ(Data.FActivePicturesNames->Count(), 0);
    EXPECT_TRUE(Data.FPicture->Empty() && Data.FInActivePicture->Empty() && Data.FMask->Empty());
    EXPECT_EQ(Data.FPictureName + Data.FInActivePictureName + Data.FMaskName, "");
    EXPECT_EQ(Data.LayerFrame->PictureIndex, -1);
    EXPECT_EQ(Data.PopupWindow->WindowPictureIndex, -1);
    EXPECT_EQ(Data.HintWindow->WindowPictureIndex, -1);
    EXPECT_EQ(Data.SkinColors()->cBtnFace(), clBtnFace);
    EXPECT_EQ(Data.SkinColors()->cBtnShadow(), clBtnShadow);
    // The frame geometry and the texts stay until the next load.
    EXPECT_EQ(Data.ClRect, Rect(4, 20, 92, 60));
    EXPECT_EQ(Data.FormMinWidth, 120);
    EXPECT_EQ(Data.SkinName, "Standard test skin 0");
}

TEST(SkinData, ActivePictureGuardsEveryIndex) {
    TTempDir Dir;
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Folder(Dir, StandardTestSkin()));
    const int Count = static_cast<int>(Data.FActivePictures.size());
    ASSERT_EQ(Count, 4);
    EXPECT_EQ(Data.ActivePicture(-1), nullptr);
    EXPECT_EQ(Data.ActivePicture(Count), nullptr);
    EXPECT_EQ(Data.ActivePicture(1000000), nullptr);
    EXPECT_EQ(Data.ActivePicture(-7), nullptr);
    EXPECT_EQ(Data.ActivePicture(0), Data.FActivePictures[0].get());
}

TEST(SkinData, AddBitMapReadsFirstAndDeleteBitMapKeepsListsTogether) {
    TTempDir Dir;
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Folder(Dir, StandardTestSkin()));
    EXPECT_THROW(Data.AddBitMap(Dir.File("missing.bmp")), EFOpenError);
    WriteFileBytes(Dir.File("broken.bmp"), "BM not a picture");
    EXPECT_THROW(Data.AddBitMap(Dir.File("broken.bmp")), EInvalidGraphic);
    EXPECT_EQ(Data.FActivePictures.size(), 4u);
    EXPECT_EQ(Data.FActivePicturesNames->Count(), 4);

    Data.AddBitMap(Dir.File("glyphs.bmp"));
    ASSERT_EQ(Data.FActivePictures.size(), 5u);
    EXPECT_EQ(Data.FActivePicturesNames->Strings(4), "glyphs.bmp");
    EXPECT_EQ(Data.FActivePictures[4]->PixelFormat(), pf4bit);

    Data.DeleteBitMap(1);
    EXPECT_EQ(Data.FActivePictures.size(), 4u);
    EXPECT_EQ(Data.FActivePicturesNames->Strings(1), "glyphs.bmp");
    EXPECT_THROW(Data.DeleteBitMap(4), EListError);
}

// ---- the broadcast --------------------------------------------------------------

class SkinBroadcast : public TSkinWindowTest {};

TEST_F(SkinBroadcast, DestroyingALoadedComponentSendsNothing) {
    TTempDir Dir;
    const std::string Ini = Folder(Dir, StandardTestSkin());
    MakeRecorder("A");
    auto* Data = new TbsSkinData(MakeRecorder("B"));
    Data->LoadFromFile(Ini);
    Log->clear();
    delete Data;
    EXPECT_TRUE(Log->empty());
}

struct TBroadcastRow {
    const char* Name;
    bool ShowLayeredBorders;
    bool LayerPicture;
    // "B" (a recorder form), "component", "none".
    const char* Owner;
    TNames Expected;
    friend void PrintTo(const TBroadcastRow& Row, std::ostream* Out) { *Out << Row.Name; }
};

class SkinBroadcastOrder : public TSkinWindowTest,
                           public testing::WithParamInterface<TBroadcastRow> {};

TEST_P(SkinBroadcastOrder, EveryMessageInTheSameOrder) {
    const TBroadcastRow& Row = GetParam();
    TComponent PlainOwner(nullptr);
    MakeRecorder("A");
    MakeLayerRecorder("L");
    TSkinMessageRecorderForm* B = MakeRecorder("B");
    MakeRecorder("C");
    TComponent* Owner = std::string(Row.Owner) == "B"           ? static_cast<TComponent*>(B)
                        : std::string(Row.Owner) == "component" ? &PlainOwner
                                                                : nullptr;
    std::unique_ptr<TbsSkinData> Owned;
    TbsSkinData* Data = new TbsSkinData(Owner);
    if (!Owner)
        Owned.reset(Data);
    Data->SetShowLayeredBorders(Row.ShowLayeredBorders);
    if (Row.LayerPicture)
        Data->LayerFrame->PictureIndex = 3;
    Log->clear();
    for (UINT M : AllSkinMessages)
        Data->SendSkinDataMessage(M);
    for (UINT M : AllSkinMessages)
        EXPECT_EQ(Receivers(M), Row.Expected) << SkinMessageName(M);
    for (const TSkinMessage& M : *Log) {
        EXPECT_EQ(M.WParam, reinterpret_cast<WPARAM>(Data));
        EXPECT_EQ(M.LParam, 1000);
    }
    EXPECT_TRUE(MessagesOf("L").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SkinBroadcastOrder,
    testing::Values(
        TBroadcastRow{"OwnerFirstWithoutLayeredBorders", false, false, "B", {"B", "A", "C"}},
        TBroadcastRow{"ScreenOrderWithLayeredBorders", true, false, "B", {"A", "B", "C"}},
        TBroadcastRow{"ReversedWithALayerPicture", true, true, "B", {"C", "B", "A"}},
        TBroadcastRow{
            "LayerPictureIgnoredWithoutLayeredBorders", false, true, "B", {"B", "A", "C"}},
        TBroadcastRow{"PlainComponentOwner", false, false, "component", {"A", "B", "C"}},
        TBroadcastRow{"NoOwner", false, false, "none", {"A", "B", "C"}}),
    [](const testing::TestParamInfo<TBroadcastRow>& Info) { return Info.param.Name; });

TEST_F(SkinBroadcast, AFreedFormLeavesTheList) {
    MakeRecorder("A");
    TSkinMessageRecorderForm* B = MakeRecorder("B");
    MakeRecorder("C");
    delete B;
    TSkinMessageRecorderForm* D = MakeRecorder("D");
    EXPECT_FALSE(D->HandleAllocated()) << "never shown: no window yet";
    TbsSkinData Data(nullptr);
    Data.SendSkinDataMessage(WM_CHANGESKINDATA);
    EXPECT_EQ(Receivers(WM_CHANGESKINDATA), (TNames{"A", "C", "D"}));
    EXPECT_TRUE(D->HandleAllocated());
}

TEST_F(SkinBroadcast, ALoadSendsTheTripleWithTheFlagsOfEachStep) {
    TTempDir Dir;
    const std::string Ini = Folder(Dir, StandardTestSkin());
    MakeRecorder("A");
    MakeRecorder("B");
    MakeRecorder("C");
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Ini);
    ASSERT_EQ(Log->size(), 9u);
    // Every form hears BEFORE before any form hears CHANGE.
    const TNames Order = {"A", "B", "C"};
    const UINT Steps[] = {WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA, WM_AFTERCHANGESKINDATA};
    const bool EmptyAt[] = {true, false, false};
    const bool FlagAt[] = {true, true, false};
    for (std::size_t i = 0; i < Log->size(); ++i) {
        const TSkinMessage& M = (*Log)[i];
        EXPECT_EQ(M.Form, Order[i % 3]);
        EXPECT_EQ(M.Msg, Steps[i / 3]);
        EXPECT_EQ(M.Empty, EmptyAt[i / 3]) << SkinMessageName(M.Msg);
        EXPECT_EQ(M.ChangeSkinDataProcess, FlagAt[i / 3]) << SkinMessageName(M.Msg);
    }
    EXPECT_FALSE(Data.Empty);
    EXPECT_FALSE(Data.ChangeSkinDataProcess);
}

TEST_F(SkinBroadcast, ClearSkinSendsTheTripleEmpty) {
    TTempDir Dir;
    const std::string Ini = Folder(Dir, StandardTestSkin());
    MakeRecorder("A");
    for (const bool Loaded : {true, false}) {
        TbsSkinData Data(nullptr);
        if (Loaded)
            Data.LoadFromFile(Ini);
        Log->clear();
        Data.ClearSkin();
        EXPECT_EQ(MessagesOf("A"), (std::vector<UINT>{WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA,
                                                      WM_AFTERCHANGESKINDATA}));
        for (const TSkinMessage& M : *Log) {
            EXPECT_TRUE(M.Empty);
            EXPECT_FALSE(M.ChangeSkinDataProcess);
        }
        EXPECT_TRUE(Data.CtrlList.empty());
    }
}

// ---- property setters ---------------------------------------------------------------

class SkinDataSetters : public TSkinWindowTest {
protected:
    void SetUp() override {
        TSkinWindowTest::SetUp();
        MakeRecorder("A");
        MakeRecorder("B");
    }
    // The number of complete loads the forms saw, and of A's messages M.
    int Loads() const { return static_cast<int>(Receivers(WM_AFTERCHANGESKINDATA).size()) / 2; }
    int Count(UINT M) const { return static_cast<int>(Receivers(M).size()); }
};

TEST_F(SkinDataSetters, SwitchesSendOnlyForANewValueOutsideLoading) {
    struct TSwitch {
        UINT Msg;
        bool (TbsSkinData::*Get)() const;
        void (TbsSkinData::*Set)(bool);
    };
    for (const TSwitch& S : {TSwitch{WM_CHANGEFORMSKINNABLE, &TbsSkinData::SkinnableForm,
                                     &TbsSkinData::SetSkinnableForm},
                             TSwitch{WM_SHOWLAYEREDBORDERS, &TbsSkinData::ShowLayeredBorders,
                                     &TbsSkinData::SetShowLayeredBorders}}) {
        TbsSkinData Data(nullptr);
        Log->clear();
        (Data.*S.Set)(true);
        EXPECT_EQ(Count(S.Msg), 0) << "same value";
        (Data.*S.Set)(false);
        EXPECT_EQ(Receivers(S.Msg), (TNames{"A", "B"}));
        Log->clear();
        Data.BeginLoading();
        (Data.*S.Set)(true);
        EXPECT_TRUE((Data.*S.Get)());
        EXPECT_TRUE(Log->empty()) << "loading";
        Data.EndLoading();
    }
}

TEST_F(SkinDataSetters, ResourceStrDataAlwaysSends) {
    TbsSkinData Data(nullptr);
    TbsResourceStrData Words(nullptr);
    Data.SetResourceStrData(&Words);
    Data.SetResourceStrData(nullptr);
    Data.BeginLoading();
    Data.SetResourceStrData(&Words);
    Data.EndLoading();
    EXPECT_EQ(Count(WM_CHANGERESSTRDATA), 6);
    EXPECT_EQ(Data.ResourceStrData(), &Words);
}

class SkinListSetters : public SkinDataSetters {
protected:
    void SetUp() override {
        SkinDataSetters::SetUp();
        List.reset(MakeStoredSkinList(nullptr, {Variant(0), Variant(1), Variant(2)}));
    }
    // The variant whose skin Data holds.
    int Shown(TbsSkinData& Data) const {
        return Data.SkinName.empty() ? -1 : Data.SkinName.back() - '0';
    }
    std::unique_ptr<TbsCompressedSkinList> List;
};

TEST_F(SkinListSetters, SkinIndexLoadsOnlyANewEntryInsideTheList) {
    TbsSkinData Data(nullptr);
    Data.SetSkinList(List.get());
    ASSERT_EQ(Loads(), 1);
    Log->clear();
    Data.SetSkinIndex(1);
    EXPECT_EQ(Loads(), 1);
    EXPECT_EQ(Shown(Data), 1);
    Data.SetSkinIndex(1);
    Data.SetSkinIndex(3);
    Data.SetSkinIndex(-1);
    EXPECT_EQ(Loads(), 1);
    EXPECT_EQ(Data.SkinIndex(), 1);
    ExpectSkinMatches(Data, Variant(1));
}

TEST_F(SkinListSetters, WithoutAListSkinIndexIsOnlyStored) {
    TbsSkinData Data(nullptr);
    Data.SetSkinIndex(7);
    EXPECT_EQ(Data.SkinIndex(), 7);
    EXPECT_TRUE(Log->empty());
    EXPECT_TRUE(Data.Empty);
}

TEST_F(SkinListSetters, SkinIndexBeforeSkinListInsideLoadingLoadsOnce) {
    TbsSkinData Data(nullptr);
    Data.BeginLoading();
    Data.SetSkinIndex(2);
    Data.SetSkinList(List.get());
    Data.EndLoading();
    EXPECT_EQ(Loads(), 1);
    EXPECT_EQ(Count(WM_BEFORECHANGESKINDATA), 2);
    EXPECT_EQ(Shown(Data), 2);
}

TEST_F(SkinListSetters, SkinListFirstThenSkinIndexLoadsTwice) {
    TbsSkinData Data(nullptr);
    Data.SetSkinList(List.get());
    EXPECT_EQ(Shown(Data), 0);
    Data.SetSkinIndex(2);
    EXPECT_EQ(Loads(), 2);
    EXPECT_EQ(Shown(Data), 2);
    Log->clear();
    Data.SetSkinList(List.get());
    EXPECT_EQ(Loads(), 1) << "the same list again reloads";
}

TEST_F(SkinListSetters, ReferencesClearWhenTheirComponentGoes) {
    TComponent OwnerOfData(nullptr), OwnerOfList(nullptr);
    auto* Data = new TbsSkinData(&OwnerOfData);
    auto* Other = MakeStoredSkinList(&OwnerOfList, {MinimalLoadableSkin()});
    auto* Stored = new TbsCompressedStoredSkin(&OwnerOfList);
    auto* Words = new TbsResourceStrData(&OwnerOfList);
    Data->SetSkinList(Other);
    Data->SetCompressedStoredSkin(Stored);
    Data->SetResourceStrData(Words);
    delete Other;
    EXPECT_EQ(Data->SkinList(), nullptr);
    delete Stored;
    EXPECT_EQ(Data->CompressedStoredSkin(), nullptr);
    delete Words;
    EXPECT_EQ(Data->ResourceStrData(), nullptr);
}

TEST_F(SkinListSetters, ADamagedEntryKeepsTheIndexAndTheSkin) {
    TStringStream Damaged(Variant(2).Frame());
    std::string Bytes = Damaged.DataString();
    Bytes[Bytes.size() / 2] = char(Bytes[Bytes.size() / 2] ^ 0x55);
    TStringStream Broken(Bytes);
    List->Skins()->Items(2)->ReadSkin(Broken);

    TbsSkinData Data(nullptr);
    Data.SetSkinList(List.get());
    Data.SetSkinIndex(1);
    TbsSkinData Before(nullptr);
    Before.LoadCompressedStoredSkin(List->Skins()->Items(1)->Skin());
    Log->clear();
    EXPECT_THROW(Data.SetSkinIndex(2), EDecompressionError);
    EXPECT_EQ(Data.SkinIndex(), 1);
    EXPECT_TRUE(Log->empty());
    EXPECT_FALSE(Data.Empty);
    EXPECT_FALSE(Data.ChangeSkinDataProcess);
    ExpectSameSkin(Data, Before);
}
