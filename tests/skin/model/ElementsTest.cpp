// Element classes and records: the missing-key values against a fixture
// written from the tables, the values of construction, save and load of
// every kind, and the rules that are more than a key.
#include "SkinModelSupport.h"
#include "platform/core/Exceptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

class SkinModelItems : public ::testing::TestWithParam<std::string> {};

std::string ParamName(const ::testing::TestParamInfo<std::string>& Info) {
    std::string Name = Info.param;
    for (char& C : Name)
        if (C == '.')
            C = '_';
    return Name;
}

std::vector<std::string> KeysOf(const std::vector<std::string>& Lines) {
    std::vector<std::string> Keys;
    for (const std::string& Line : Lines)
        Keys.push_back(Line.substr(0, Line.find('=')));
    return Keys;
}

// Gives every visited field a value of its own that differs from what a
// missing key gives: integers and colours from a counter (some negative),
// non-empty rectangles and points, texts without blanks, and the
// enumeration values other than the defaults in turn.
class TFiller : public TbsIniKeyVisitor {
public:
    void Integer(const char*, int& Field, int) override { Field = Number(); }
    // A value that loading keeps: inside the range and other than its ends.
    void BoundedInteger(const char*, int& Field, int, int Min, int Max) override {
        Field = Min + 1 + Next() % (Max - Min - 1);
    }
    void Color(const char*, TColor& Field, TColor) override { Field = Number() * 0x010101; }
    void Text(const char*, std::string& Field, const char*) override {
        Field = "text" + std::to_string(Next());
    }
    void Rect(const char*, TRect& Field) override {
        int N = Next();
        Field = {N, N + 1, N + 20, N + 30};
    }
    void Point(const char*, TPoint& Field) override {
        int N = Next();
        Field = {N, N + 2};
    }
    void Boolean(const char*, bool& Field) override { Field = true; }
    void FontStyles(const char*, TFontStyles& Field) override {
        Field = TFontStyles::FromBits(BYTE(1 + Next() % 15));
    }
    void Alignment(const char*, TAlignment& Field) override {
        Field = Next() % 2 ? taLeftJustify : taRightJustify;
    }
    void StretchType(const char*, TbsStretchType& Field) override {
        Field = Next() % 2 ? bsstHorz : bsstVert;
    }
    void MorphKind(const char*, TbsMorphKind& Field) override {
        Field = TbsMorphKind(1 + Next() % 6);
    }
    void Command(const char*, TbsStdCommand& Field) override {
        static const TbsStdCommand Others[] = {cmClose,   cmMaximize, cmMinimize,
                                               cmSysMenu, cmRollUp,   cmMinimizeToTray};
        Field = Others[Next() % 6];
    }

private:
    int Next() { return ++FCounter; }
    int Number() {
        int N = Next();
        return N % 3 == 0 ? -1000 - N : 1000 + N;
    }
    int FCounter = 0;
};

// Records every visited field as "key=value" from the field itself, not
// through the text forms.
class TCollector : public TbsIniKeyVisitor {
public:
    std::vector<std::string> Fields;

    void Integer(const char* Key, int& Field, int) override { Add(Key, std::to_string(Field)); }
    void Color(const char* Key, TColor& Field, TColor) override { Add(Key, std::to_string(Field)); }
    void Text(const char* Key, std::string& Field, const char*) override { Add(Key, Field); }
    void Rect(const char* Key, TRect& F) override {
        Add(Key, std::to_string(F.Left) + " " + std::to_string(F.Top) + " " +
                     std::to_string(F.Right) + " " + std::to_string(F.Bottom));
    }
    void Point(const char* Key, TPoint& F) override {
        Add(Key, std::to_string(F.X) + " " + std::to_string(F.Y));
    }
    void Boolean(const char* Key, bool& Field) override { Add(Key, Field ? "T" : "F"); }
    void FontStyles(const char* Key, TFontStyles& Field) override {
        Add(Key, std::to_string(Field.Bits()));
    }
    void Alignment(const char* Key, TAlignment& Field) override {
        Add(Key, std::to_string(int(Field)));
    }
    void StretchType(const char* Key, TbsStretchType& Field) override {
        Add(Key, std::to_string(int(Field)));
    }
    void MorphKind(const char* Key, TbsMorphKind& Field) override {
        Add(Key, std::to_string(int(Field)));
    }
    void Command(const char* Key, TbsStdCommand& Field) override {
        Add(Key, std::to_string(int(Field)));
    }

private:
    void Add(const char* Key, const std::string& Value) { Fields.push_back(Key + ("=" + Value)); }
};

// The keys an item reads as plain integers and those it reads within a range.
class TIntegerKeys : public TbsIniKeyVisitor {
public:
    struct TBounded {
        std::string Key;
        int Min, Max;
    };
    std::vector<std::string> Plain;
    std::vector<TBounded> Bounded;

    void Integer(const char* Key, int&, int) override { Plain.push_back(Key); }
    void BoundedInteger(const char* Key, int&, int, int Min, int Max) override {
        Bounded.push_back({Key, Min, Max});
    }
    void Color(const char*, TColor&, TColor) override {}
    void Text(const char*, std::string&, const char*) override {}
    void Rect(const char*, TRect&) override {}
    void Point(const char*, TPoint&) override {}
    void Boolean(const char*, bool&) override {}
    void FontStyles(const char*, TFontStyles&) override {}
    void Alignment(const char*, TAlignment&) override {}
    void StretchType(const char*, TbsStretchType&) override {}
    void MorphKind(const char*, TbsMorphKind&) override {}
    void Command(const char*, TbsStdCommand&) override {}
};

std::vector<std::string> Collect(TSkinItem& Item) {
    TCollector C;
    Item.Visit(C);
    return C.Fields;
}

// The kinds whose loading changes what it read: their filled values must be
// what a load can give back.
void KeepKindRules(const std::string& Name, TSkinItem& Item) {
    if (Name == "control.updown") {
        auto* UpDown = dynamic_cast<TbsDataSkinUpDownControl*>(
            static_cast<TbsDataSkinControl*>(Item.Holder.get()));
        UpDown->LTPoint = UpDown->RTPoint = UpDown->LBPoint = UpDown->RBPoint = {};
        UpDown->ClRect = {};
    }
    if (Name == "object.animate")
        dynamic_cast<TbsDataSkinAnimate*>(static_cast<TbsDataSkinObject*>(Item.Holder.get()))
            ->Morphing = false;
}

} // namespace

// Every key spelling, missing-key value, value form and the base-first order.
TEST_P(SkinModelItems, MissingKeysGiveTheTableDefaults) {
    TSkinItem Item = MakeSkinItem(GetParam());
    auto Empty = MakeIni("");
    Item.Load(*Empty);
    auto Saved = MakeIni("");
    Item.Save(*Saved);
    std::vector<std::string> Expected = FixtureSection(Item.Section);
    ASSERT_FALSE(Expected.empty()) << "no fixture section " << Item.Section;
    EXPECT_EQ(SectionLines(*Saved, Item.Section), Expected);
}

TEST_P(SkinModelItems, SavedFieldsLoadBackEqual) {
    const std::string Name = GetParam();
    TSkinItem Source = MakeSkinItem(Name);
    TFiller Filler;
    Source.Visit(Filler);
    KeepKindRules(Name, Source);

    auto Ini = MakeIni("[" + Source.Section + "]\nforeign=1\n");
    Source.Save(*Ini);
    TSkinItem Loaded = MakeSkinItem(Name);
    Loaded.Load(*Ini);
    EXPECT_EQ(Collect(Loaded), Collect(Source));

    std::vector<std::string> Lines = SectionLines(*Ini, Source.Section);
    std::vector<std::string> Keys = KeysOf(Lines);
    if (Name == "SKINCOLORS") {
        // The skin writer erases this section, not the record.
        ASSERT_FALSE(Keys.empty());
        EXPECT_EQ(Keys.front(), "foreign");
        Keys.erase(Keys.begin());
        Lines.erase(Lines.begin());
    }
    EXPECT_EQ(Keys, KeysOf(FixtureSection(Source.Section)));

    auto Again = MakeIni("");
    Loaded.Save(*Again);
    EXPECT_EQ(SectionLines(*Again, Source.Section), Lines);
}

// A damaged skin's font heights and thumb lengths are brought into range as
// they are read; the painters never see them.
TEST_P(SkinModelItems, SizesOutOfRangeAreClampedWhenRead) {
    TSkinItem Item = MakeSkinItem(GetParam());
    TIntegerKeys Keys;
    Item.Visit(Keys);
    for (const std::string& Key : Keys.Plain)
        EXPECT_TRUE(!Key.ends_with("fontheight") && !Key.starts_with("thumbmin")) << Key;
    for (const TIntegerKeys::TBounded& B : Keys.Bounded) {
        const struct {
            const char* Stored;
            int Expect;
        } Cases[] = {{"2147483647", B.Max},
                     {"-2147483648", B.Min},
                     {"20000", std::min(20000, B.Max)},
                     {"-20000", B.Min},
                     {"12", 12}};
        for (const auto& C : Cases) {
            TSkinItem Loaded = MakeSkinItem(GetParam());
            auto Ini = MakeIni("[" + Loaded.Section + "]\n" + B.Key + "=" + C.Stored + "\n");
            Loaded.Load(*Ini);
            EXPECT_THAT(Collect(Loaded), Contains(B.Key + "=" + std::to_string(C.Expect)))
                << B.Key << " " << C.Stored;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(All, SkinModelItems, ::testing::ValuesIn(AllSkinItemNames()), ParamName);

TEST(SkinModelElements, ConstructionValuesDifferFromMissingKeyValues) {
    TbsDataSkinButtonControl Button("b");
    EXPECT_EQ(Button.IDName, "b");
    EXPECT_EQ(Button.PictureIndex, -1);
    EXPECT_EQ(Button.MaskPictureIndex, -1);
    EXPECT_EQ(Button.FontHeight, 12);
    EXPECT_EQ(Button.AnimateInterval, 0);
    EXPECT_EQ(Button.GlowLayerPictureIndex, -1);
    EXPECT_EQ(Button.GlowLayerMaskPictureIndex, -1);
    EXPECT_EQ(Button.GlowLayerAlphaBlendValue, 255);
    EXPECT_EQ(TbsDataSkinPanelControl("p").GripperTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinExPanelControl("p").ButtonsTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinScrollBarControl("s").ThumbTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinScrollBarControl("s").GlyphTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinTrackBarControl("t").ButtonTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinGaugeControl("g").ProgressTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinSplitterControl("s").GripperTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinTabControl("t").ButtonTransparentColor, 0xFF00FF);
    EXPECT_EQ(TbsDataSkinTreeView("v").BGColor, 0xFFFFFF);
    EXPECT_EQ(TbsDataSkinListView("v").BGColor, 0xFFFFFF);
    EXPECT_EQ(TbsDataSkinRichEdit("v").BGColor, 0xFFFFFF);
    EXPECT_EQ(TbsDataSkinControlBar("c").ItemOffset1, 0);
    EXPECT_EQ(TbsDataSkinControlBar("c").ItemOffset2, 0);
    EXPECT_EQ(TbsDataSkinStdLabelControl("l").ActiveFontColor, 0xFF0000);
    EXPECT_EQ(TbsDataSkinListBox("l").HScrollBarName, "");
    EXPECT_EQ(TbsDataSkinComboBox("c").FontHeight, 14);

    TbsDataSkinCaption Caption("c");
    EXPECT_EQ(Caption.Alignment, taLeftJustify);
    EXPECT_EQ(Caption.GlowSize, 0);
    EXPECT_EQ(Caption.FontName, "");
    EXPECT_EQ(Caption.FontHeight, 0);
    EXPECT_EQ(Caption.ActivePictureIndex, -1);
    EXPECT_EQ(Caption.ActiveMaskPictureIndex, -1);
    EXPECT_EQ(Caption.GlowLayerPictureIndex, -1);
    EXPECT_EQ(Caption.GlowLayerMaskPictureIndex, -1);
    EXPECT_EQ(Caption.GlowLayerAlphaBlendValue, 255);
    TbsDataSkinAnimate Animate("a");
    EXPECT_EQ(Animate.CountFrames, 0);
    EXPECT_EQ(Animate.TimerInterval, 0);
    EXPECT_EQ(Animate.Command, cmClose);
    EXPECT_EQ(TbsDataSkinStdButton("s").Command, cmClose);
    EXPECT_EQ(TbsDataSkinMenuItem("m").FontName, "");
    EXPECT_EQ(TbsDataSkinMenuItem("m").AnimateInterval, 0);
    EXPECT_EQ(TbsDataSkinMainMenuBarItem("m").FontHeight, 0);

    EXPECT_EQ(TbsDataSkinHintWindow().FontHeight, 12);
    EXPECT_EQ(TbsDataSkinHintWindow().WindowPictureIndex, -1);
    EXPECT_EQ(TbsDataSkinLayerFrame().InActivePictureIndex, -1);
    TbsSkinColors Colors;
    EXPECT_EQ(Colors.cBtnFace(), 0);
    EXPECT_EQ(Colors.cBtnShadow(), 0);
    Colors.SetColorsToDefault();
    EXPECT_EQ(Colors.cBtnFace(), clBtnFace);
    EXPECT_EQ(Colors.cBtnText(), clBtnText);
    EXPECT_EQ(Colors.cWindow(), clWindow);
    EXPECT_EQ(Colors.cWindowText(), clWindowText);
    EXPECT_EQ(Colors.cHighLight(), clHighlight);
    EXPECT_EQ(Colors.cHighLightText(), clHighlightText);
    EXPECT_EQ(Colors.cBtnHighLight(), clBtnHighlight);
    EXPECT_EQ(Colors.cBtnShadow(), clBtnShadow);
}

// The element adds no check of its own: the reader's error ends the load.
TEST(SkinModelElements, AnEmptyRectangleValueFailsTheLoad) {
    auto Ini = MakeIni("[b]\nskinrect=\n[o]\nactiveskinrect=1,2\n");
    TbsDataSkinButtonControl Button("b");
    EXPECT_THROW(Button.LoadFromFile(*Ini), EConvertError);
    TbsDataSkinCaption Caption("o");
    EXPECT_THROW(Caption.LoadFromFile(*Ini), EConvertError);
}

TEST(SkinModelElements, UpDownHasNoFrameAfterLoadingOrSaving) {
    auto Ini = MakeIni("[u]\nlefttoppoint=5,5\nclientrect=2,2,10,10\nupbuttonrect=1,1,2,2\n");
    TbsDataSkinUpDownControl UpDown("u");
    UpDown.LoadFromFile(*Ini);
    EXPECT_EQ(UpDown.LTPoint, TPoint());
    EXPECT_EQ(UpDown.ClRect, TRect());
    EXPECT_EQ(UpDown.UpButtonRect, TRect(1, 1, 2, 2));

    UpDown.RBPoint = {7, 7};
    UpDown.ClRect = {1, 1, 9, 9};
    auto Saved = MakeIni("");
    UpDown.SaveToFile(*Saved);
    EXPECT_EQ(Saved->ReadString("u", "rightbottompoint", "?"), "0,0");
    EXPECT_EQ(Saved->ReadString("u", "clientrect", "?"), "0,0,0,0");
    EXPECT_EQ(UpDown.RBPoint, TPoint());
    EXPECT_EQ(UpDown.ClRect, TRect());
}

TEST(SkinModelElements, SliderIgnoresAndTabKeepsTheFrameKeys) {
    const std::string Frame = "lefttoppoint=5,5\nclientrect=1,2,3,4\nstretchtype=stvert\n";
    auto Ini = MakeIni("[s]\n" + Frame + "[t]\n" + Frame);
    TbsDataSkinSlider Slider("s");
    Slider.LoadFromFile(*Ini);
    TbsDataSkinTabControl Tab("t");
    Tab.LoadFromFile(*Ini);
    EXPECT_EQ(Tab.LTPoint, TPoint(5, 5));
    EXPECT_EQ(Tab.ClRect, TRect(1, 2, 3, 4));
    EXPECT_EQ(Tab.StretchType, bsstVert);

    auto Saved = MakeIni("");
    Slider.SaveToFile(*Saved);
    Tab.SaveToFile(*Saved);
    EXPECT_EQ(Saved->ReadString("s", "lefttoppoint", "absent"), "absent");
    EXPECT_EQ(Saved->ReadString("t", "lefttoppoint", "absent"), "5,5");
    EXPECT_EQ(Saved->ReadString("t", "stretchtype", "absent"), "stvert");
}

TEST(SkinModelElements, ListNamesHaveTheirOwnMissingValues) {
    auto Ini = MakeIni("");
    TbsDataSkinListBox List("l");
    List.LoadFromFile(*Ini);
    EXPECT_EQ(List.HScrollBarName, "hscrollbar");
    EXPECT_EQ(List.VScrollBarName, "vscrollbar");
    EXPECT_EQ(List.BothScrollBarName, "bothhscrollbar");
    TbsDataSkinComboBox Combo("c");
    Combo.LoadFromFile(*Ini);
    EXPECT_EQ(Combo.ListBoxName, "");
}

TEST(SkinModelElements, OddKeySpellingsAreKept) {
    auto Ini = MakeIni("[near]\ndisableskinrect=1,2,3,4\n[odd]\ndisableskinrsect=1,2,3,4\n"
                       "[cap]\nreflactioncolor=255\n[cap2]\nreflectioncolor=255\n");
    TbsDataSkinButton Near("near"), Odd("odd");
    Near.LoadFromFile(*Ini);
    Odd.LoadFromFile(*Ini);
    EXPECT_EQ(Near.DisableSkinRect, TRect());
    EXPECT_EQ(Odd.DisableSkinRect, TRect(1, 2, 3, 4));
    TbsDataSkinCaption Caption("cap"), Plain("cap2");
    Caption.LoadFromFile(*Ini);
    Plain.LoadFromFile(*Ini);
    EXPECT_EQ(Caption.ReflectionColor, 255);
    EXPECT_EQ(Plain.ReflectionColor, 0);

    // Key names compare without regard to case, so only the text shows the spelling.
    auto Saved = MakeIni("");
    Odd.SaveToFile(*Saved);
    TbsDataSkinMainMenuBarItem BarItem("bar");
    BarItem.SaveToFile(*Saved);
    TbsDataSkinMenuItem MenuItem("menu");
    MenuItem.SaveToFile(*Saved);
    std::vector<std::string> OddKeys = KeysOf(SectionLines(*Saved, "odd"));
    std::vector<std::string> BarKeys = KeysOf(SectionLines(*Saved, "bar"));
    std::vector<std::string> MenuKeys = KeysOf(SectionLines(*Saved, "menu"));
    EXPECT_THAT(OddKeys, ::testing::Contains("disableskinrsect"));
    EXPECT_THAT(BarKeys, ::testing::Contains("unenabledfontColor"));
    EXPECT_THAT(BarKeys, ::testing::Not(::testing::Contains("unenabledfontcolor")));
    EXPECT_THAT(MenuKeys, ::testing::Contains("unenabledfontcolor"));
}

TEST(SkinModelElements, AnimationsNeverMorph) {
    auto Ini = MakeIni("[a]\nmorphing=1\n");
    TbsDataSkinAnimate Animate("a");
    Animate.LoadFromFile(*Ini);
    EXPECT_FALSE(Animate.Morphing);
    EXPECT_EQ(Animate.CountFrames, 1);
    EXPECT_EQ(Animate.TimerInterval, 50);
    Animate.SaveToFile(*Ini);
    EXPECT_EQ(Ini->ReadString("a", "morphing", "?"), "0");
}

TEST(SkinModelElements, UserObjectsKeepOnlyTheirRectangle) {
    auto Ini = MakeIni("[u]\nhint=Help\nactivepictureindex=3\nskinrect=1,2,3,4\n");
    TbsDataUserObject User("u");
    User.LoadFromFile(*Ini);
    EXPECT_EQ(User.SkinRect, TRect(1, 2, 3, 4));
    EXPECT_EQ(User.Hint, "");
    EXPECT_EQ(User.ActivePictureIndex, -1);
    User.SaveToFile(*Ini);
    EXPECT_THAT(SectionLines(*Ini, "u"), ElementsAre("skinrect=1,2,3,4"));
}

TEST(SkinModelElements, RestoreHintIsCompletedForCaptionButtons) {
    struct {
        const char* Hint;
        const char* Command;
        const char* RestoreHint; // null: no "restorehint" key
        const char* Expect;
    } Cases[] = {
        {"Maximize", "cmmaximize", nullptr, "Restore"}, {"maximize", "cmmaximize", nullptr, ""},
        {"Minimize", "cmminimize", nullptr, "Restore"}, {"Roll Up", "cmrollup", nullptr, "Restore"},
        {"RollUp", "cmrollup", nullptr, "Restore"},     {"Maximize", "cmclose", nullptr, ""},
        {"Maximize", "cmmaximize", "X", "X"},
    };
    for (const char* Kind : {"stdbutton", "mainmenubarbutton", "animate"}) {
        for (const auto& C : Cases) {
            std::string Text = std::string("[o]\nhint=") + C.Hint + "\ncommand=" + C.Command + "\n";
            if (C.RestoreHint)
                Text += std::string("restorehint=") + C.RestoreHint + "\n";
            auto Ini = MakeIni(Text);
            std::unique_ptr<TbsDataSkinObject> Object = CreateSkinObject(Kind, "o");
            Object->LoadFromFile(*Ini);
            const std::string& Restore =
                std::string(Kind) == "animate"
                    ? static_cast<TbsDataSkinAnimate&>(*Object).RestoreHint
                    : static_cast<TbsDataSkinStdButton&>(*Object).RestoreHint;
            EXPECT_EQ(Restore, C.Expect) << Kind << " " << C.Hint << " " << C.Command;
        }
    }
}

TEST(SkinModelElements, MenuItemsCompleteEmptyActiveImages) {
    auto Ini = MakeIni("[m]\ncheckimagerect=1,2,11,12\nradioimagerect=3,3,9,9\n"
                       "activeradioimagerect=5,5,5,9\narrowimagerect=1,1,4,4\n"
                       "activearrowimagerect=2,2,8,8\n");
    TbsDataSkinMenuItem Item("m");
    Item.LoadFromFile(*Ini);
    EXPECT_EQ(Item.ActiveCheckImageRect, TRect(1, 2, 11, 12));
    EXPECT_EQ(Item.ActiveRadioImageRect, TRect(3, 3, 9, 9)); // width 0 counts as empty
    EXPECT_EQ(Item.ActiveArrowImageRect, TRect(2, 2, 8, 8));
    auto Saved = MakeIni("");
    Item.SaveToFile(*Saved);
    EXPECT_EQ(Saved->ReadString("m", "activecheckimagerect", "?"), "1,2,11,12");
}

TEST(SkinModelElements, RecordsWithoutSectionsGiveTheirDefaults) {
    auto Ini = MakeIni("[SKINCOLORS]\nforeign=1\ncbtnface=5\n");
    TbsSkinColors Colors;
    Colors.LoadFromFile(*MakeIni(""));
    EXPECT_EQ(Colors.cBtnFace(), clBtnFace);
    EXPECT_EQ(Colors.cBtnShadow(), clBtnShadow);
    Colors.SaveToFile(*Ini);
    EXPECT_EQ(Ini->ReadString("SKINCOLORS", "cbtnface", "?"), "-16777201");
    EXPECT_EQ(Ini->ReadString("SKINCOLORS", "cbtnshadow", "?"), "-16777200");
    EXPECT_EQ(Ini->ReadString("SKINCOLORS", "foreign", "?"), "1");

    TbsDataSkinHintWindow Hint;
    Hint.WindowPictureIndex = 4;
    Hint.LoadFromFile(*Ini);
    EXPECT_EQ(Hint.WindowPictureIndex, -1);
    EXPECT_EQ(Hint.FontHeight, 14);
    TbsDataSkinLayerFrame Layer;
    Layer.AlphaBlendValue = 9;
    Layer.LoadFromFile(*Ini);
    EXPECT_EQ(Layer.PictureIndex, -1);
    EXPECT_EQ(Layer.AlphaBlendValue, 255);
    EXPECT_EQ(Layer.InActiveAlphaBlendValue, 255);
}
