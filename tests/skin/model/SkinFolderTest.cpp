// Skin folders: the ini text and BMP files the fixture writes with its own
// encoders, read by the skin data; and the skin data's own writers.
#include "platform/core/Exceptions.h"
#include "platform/core/IniFiles.h"
#include "platform/core/Paths.h"
#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/SkinComparison.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/model/SkinModelSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testskin;

namespace {

// Text with the section Name (header to the empty line after it) replaced.
std::string ReplaceSection(const std::string& Text, const std::string& Name,
                           const std::string& Replacement) {
    const std::size_t Start = Text.find("[" + Name + "]\r\n");
    const std::size_t End = Text.find("\r\n\r\n", Start) + 4;
    return Text.substr(0, Start) + Replacement + Text.substr(End);
}

std::string Replace(std::string Text, const std::string& From, const std::string& To) {
    const std::size_t At = Text.find(From);
    if (At == std::string::npos)
        throw std::logic_error("no \"" + From + "\" in the text");
    return Text.replace(At, From.size(), To);
}

class SkinFolder : public TSkinWindowTest {
protected:
    void SetUp() override {
        TSkinWindowTest::SetUp();
        MakeRecorder("A");
    }
    // Loads Skin as a folder (with Ini as its text when given) into a new
    // skin data of its own.
    std::unique_ptr<TbsSkinData> Load(const TTestSkin& Skin, const std::string* Ini = nullptr) {
        auto Data = std::make_unique<TbsSkinData>(nullptr);
        TTempDir Dir;
        Data->LoadFromFile(Skin.WriteFolder(Dir.Path(), "skin.ini", Ini));
        return Data;
    }
};

} // namespace

TEST_F(SkinFolder, TheStandardSkinLoadsAsDescribed) {
    const TTestSkin Skin = StandardTestSkin({.LayerFrame = true});
    auto Data = Load(Skin);
    ExpectSkinMatches(*Data, Skin);
    EXPECT_EQ(Data->FPicture->PixelFormat(), pf24bit);
    EXPECT_EQ(Data->FInActivePicture->PixelFormat(), pf8bit);
    EXPECT_EQ(Data->FMask->PixelFormat(), pf1bit);
    EXPECT_EQ(Data->FActivePictures[2]->PixelFormat(), pf4bit);
    EXPECT_EQ(Data->StretchType, bsstVert);
    EXPECT_EQ(Data->InActiveEffect, ieDarkness);
    EXPECT_EQ(Data->LayerFrame->PictureIndex, 3);
    EXPECT_NE(dynamic_cast<TbsDataSkinMenuButtonControl*>(
                  Data->CtrlList[std::size_t(Data->GetControlIndex("toolmenubutton"))].get()),
              nullptr);
}

TEST_F(SkinFolder, AnIncompleteIniIsRefusedSilently) {
    TTempDir Dir;
    const TTestSkin Standard = StandardTestSkin();
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Standard.WriteFolder(Dir.Path()));
    const TTestSkin Minimal = MinimalLoadableSkin();
    const std::string Text = Minimal.IniText();
    const std::string Cases[] = {
        ReplaceSection(Text, "SKINCONTROLS", ""),
        ReplaceSection(Text, "SKINCONTROLS", "[SKINCONTROLS]\r\n\r\n"),
        ReplaceSection(Text, "SKINCONTROLS", "[SKINCONTROLS]\r\n; no entries yet\r\n\r\n"),
        ReplaceSection(Text, "VERSION", ""),
    };
    for (const std::string& Ini : Cases) {
        TTempDir Other;
        Log->clear();
        Data.LoadFromFile(Minimal.WriteFolder(Other.Path(), "skin.ini", &Ini));
        EXPECT_TRUE(Log->empty());
        ExpectSkinMatches(Data, Standard);
    }
    Log->clear();
    Data.LoadFromFile(Dir.File("no-such.ini"));
    EXPECT_TRUE(Log->empty());
    EXPECT_FALSE(Data.Empty);
}

TEST_F(SkinFolder, ACountOfZeroLoadsASkinWithoutControls) {
    const TTestSkin Minimal = MinimalLoadableSkin();
    const std::string Ini =
        ReplaceSection(Minimal.IniText(), "SKINCONTROLS", "[SKINCONTROLS]\r\ncount=0\r\n\r\n");
    auto Data = Load(Minimal, &Ini);
    EXPECT_FALSE(Data->Empty);
    EXPECT_TRUE(Data->CtrlList.empty());
    EXPECT_EQ(Data->FActivePictures.size(), 1u);
}

TEST_F(SkinFolder, ACountBeyondTheEntriesReadsTheEntriesThatExist) {
    const TTestSkin Skin = StandardTestSkin();
    const std::string Text = Skin.IniText();
    const std::string Counts[] = {"count=" + std::to_string(Skin.Controls().size()),
                                  "count=" + std::to_string(Skin.Objects().size())};
    // A damaged count must not keep the load busy with two billion lookups.
    std::string Ini =
        Replace(Text, "[SKINCONTROLS]\r\n" + Counts[0], "[SKINCONTROLS]\r\ncount=2000000000");
    Ini = Replace(Ini, "[SKINOBJECTS]\r\n" + Counts[1], "[SKINOBJECTS]\r\ncount=2147483647");
    auto Data = Load(Skin, &Ini);
    ExpectSkinMatches(*Data, Skin);
    // A count below the entries still ends the list.
    const std::string Short =
        Replace(Text, "[SKINCONTROLS]\r\n" + Counts[0], "[SKINCONTROLS]\r\ncount=2");
    EXPECT_EQ(Load(Skin, &Short)->CtrlList.size(), 2u);
}

TEST_F(SkinFolder, EntriesWithoutAKindAreSkipped) {
    TTestSkin Skin = MinimalLoadableSkin();
    // After the minimal skin's "button": "Button:x", "a:b:c", ":panel", a
    // placeholder turned into "abc", then a second button.
    Skin.AddControl("x", "Button", {});
    Skin.AddControl("b:c", "a", {});
    Skin.AddControl("panel", "", {});
    Skin.AddControl("placeholder", "placeholder", {});
    Skin.AddControl("button", "second", {"pictureindex=0", "skinrect=2,2,4,4"});
    const std::string Ini = Replace(Skin.IniText(), "4=placeholder:placeholder", "4=abc");
    auto Data = Load(Skin, &Ini);
    ASSERT_EQ(Data->CtrlList.size(), 3u);
    EXPECT_EQ(SkinControlKind(*Data->CtrlList[1]), "panel");
    EXPECT_EQ(Data->CtrlList[1]->IDName, "");
    EXPECT_EQ(Data->CtrlList[2]->IDName, "second");
    EXPECT_EQ(Data->CtrlList[2]->SkinRect, Rect(2, 2, 4, 4));
    EXPECT_EQ(Data->GetControlIndex("Button"), -1);
}

struct TFormInfoRow {
    const char* Name;
    bool Mask;
    TKeys Keys;
    TRect MaskRectArea;
    TPoint HitTestLT, HitTestRT, HitTestLB, HitTestRB;
    TPoint LT, RT, LB, RB;
    friend void PrintTo(const TFormInfoRow& Row, std::ostream* Out) { *Out << Row.Name; }
};

class SkinFormInfo : public SkinFolder, public testing::WithParamInterface<TFormInfoRow> {};

TEST_P(SkinFormInfo, FixUpsFollowTheMask) {
    const TFormInfoRow& Row = GetParam();
    TTestSkin Skin = MinimalLoadableSkin();
    if (Row.Mask)
        Skin.SetMask("mask.bmp", 8, 6);
    Skin.SetFormInfo(Row.Keys);
    auto Data = Load(Skin);
    EXPECT_EQ(Data->MaskRectArea, Row.MaskRectArea);
    EXPECT_EQ(Data->HitTestLTPoint, Row.HitTestLT);
    EXPECT_EQ(Data->HitTestRTPoint, Row.HitTestRT);
    EXPECT_EQ(Data->HitTestLBPoint, Row.HitTestLB);
    EXPECT_EQ(Data->HitTestRBPoint, Row.HitTestRB);
    EXPECT_EQ(Data->LTPoint, Row.LT);
    EXPECT_EQ(Data->RTPoint, Row.RT);
    EXPECT_EQ(Data->LBPoint, Row.LB);
    EXPECT_EQ(Data->RBPoint, Row.RB);
}

namespace {
// Corner points inside the client rectangle 10,20,90,70.
const TKeys Corners = {"lefttoppoint=12,22", "righttoppoint=88,22", "leftbottompoint=12,68",
                       "rightbottompoint=88,68", "clientrect=10,20,90,70"};
const TKeys HitTests = {"hittestlefttoppoint=0,15", "hittestrighttoppoint=15,0",
                        "hittestleftbottompoint=5,6", "hittestrightbottompoint=0,0"};
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Rows, SkinFormInfo,
    testing::Values(TFormInfoRow{"NoMaskKeepsWhatWasRead",
                                 false,
                                 Corners + HitTests + TKeys{"maskrectarea=0,0,0,0"},
                                 {0, 0, 0, 0},
                                 {0, 15},
                                 {15, 0},
                                 {5, 6},
                                 {0, 0},
                                 {12, 22},
                                 {88, 22},
                                 {12, 68},
                                 {88, 68}},
                    TFormInfoRow{"MaskTakesCornerPointsAndClientRect",
                                 true,
                                 Corners + HitTests + TKeys{"maskrectarea=0,0,0,0"},
                                 {10, 20, 90, 70},
                                 {12, 22},
                                 {88, 22},
                                 {5, 6},
                                 {88, 68},
                                 {12, 22},
                                 {88, 22},
                                 {12, 68},
                                 {88, 68}},
                    TFormInfoRow{"MaskAreaWidenedToTheClientRect",
                                 true,
                                 Corners + TKeys{"maskrectarea=15,5,80,100"},
                                 {10, 5, 90, 100},
                                 {12, 22},
                                 {88, 22},
                                 {12, 68},
                                 {88, 68},
                                 {12, 22},
                                 {88, 22},
                                 {12, 68},
                                 {88, 68}},
                    TFormInfoRow{"NoClampWhenRightBottomXEqualsLeftTopX",
                                 false,
                                 {"lefttoppoint=5,5", "righttoppoint=95,5", "leftbottompoint=5,95",
                                  "rightbottompoint=5,95", "clientrect=10,20,90,70"},
                                 {0, 0, 0, 0},
                                 {0, 0},
                                 {0, 0},
                                 {0, 0},
                                 {0, 0},
                                 {5, 5},
                                 {95, 5},
                                 {5, 95},
                                 {5, 95}},
                    TFormInfoRow{"CornerPointsClampedOntoTheClientRect",
                                 false,
                                 {"lefttoppoint=5,5", "righttoppoint=95,5", "leftbottompoint=5,95",
                                  "rightbottompoint=95,95", "clientrect=10,20,90,70"},
                                 {0, 0, 0, 0},
                                 {0, 0},
                                 {0, 0},
                                 {0, 0},
                                 {0, 0},
                                 {10, 20},
                                 {90, 20},
                                 {10, 70},
                                 {90, 70}}),
    [](const testing::TestParamInfo<TFormInfoRow>& Info) { return Info.param.Name; });

TEST_F(SkinFolder, PictureNamesMatchFilesIgnoringCase) {
    TTempDir Dir;
    const TTestSkin Skin = StandardTestSkin();
    const std::string Ini = Skin.WriteFolder(Dir.Path());
    std::filesystem::rename(Dir.File("controls.bmp"), Dir.File("Controls.BMP"));
    std::filesystem::rename(Dir.File("mask.bmp"), Dir.File("MASK.bmp"));
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Ini);
    ExpectSkinMatches(Data, Skin);
}

TEST_F(SkinFolder, MixedLineEndsAndAByteOrderMarkReadAlike) {
    const TTestSkin Skin = StandardTestSkin();
    std::string Mixed = "\xEF\xBB\xBF";
    const std::string Text = Skin.IniText();
    bool Crlf = false;
    for (std::size_t At = 0; At < Text.size();) {
        const std::size_t End = Text.find("\r\n", At);
        Mixed += Text.substr(At, End - At) + (Crlf ? "\r\n" : "\n");
        Crlf = !Crlf;
        At = End + 2;
    }
    auto Plain = Load(Skin);
    auto Data = Load(Skin, &Mixed);
    ExpectSameSkin(*Data, *Plain);
}

TEST_F(SkinFolder, SaveToFileKeepsForeignSectionsAndReadsBackTheSame) {
    TTempDir Dir;
    TTestSkin Skin = StandardTestSkin();
    Skin.AddForeignSection("EDITOR", {"lastfolder=/home/user/skins"});
    const std::string Ini = Skin.WriteFolder(Dir.Path());
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Ini);
    // Over the file it came from: the skin's sections are rewritten.
    Data.SaveToFile(Ini);
    TMemIniFile Saved(Ini);
    EXPECT_EQ(Saved.ReadString("EDITOR", "lastfolder", ""), "/home/user/skins");
    EXPECT_EQ(Saved.ReadInteger("VERSION", "ver", 0), 1);
    TbsSkinData Again(nullptr);
    Again.LoadFromFile(Ini);
    ExpectSameSkin(Again, Data);
}

TEST_F(SkinFolder, StoreToDiskWritesAFolderThatLoadsTheSame) {
    TTempDir Dir;
    const TTestSkin Skin = StandardTestSkin({.LayerFrame = true});
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(Skin.WriteFolder(Dir.Path()));
    TTempDir Empty;
    Data.StoreToDisk(Empty.File("stored.ini"));
    TbsSkinData Again(nullptr);
    Again.LoadFromFile(Empty.File("stored.ini"));
    ExpectSameSkin(Again, Data);
    ExpectSkinMatches(Again, Skin);
}
