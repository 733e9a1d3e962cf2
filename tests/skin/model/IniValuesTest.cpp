// The text forms of skin ini values, the ini behaviours the readers rely on,
// and the refused list count.
#include "SkinModelSupport.h"
#include "platform/core/Exceptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

using ::testing::HasSubstr;

namespace {

// Section "S" holding key "k" with Stored, or without "k" when Stored is null.
std::unique_ptr<TMemIniFile> KeyIni(const char* Stored) {
    return MakeIni(Stored ? std::string("[S]\nk=") + Stored + "\n" : "[S]\nother=1\n");
}

std::string Shown(const char* Stored) {
    return Stored ? std::string("\"") + Stored + "\"" : "absent";
}

} // namespace

TEST(SkinModelIniValues, RectanglesKeepOnlyTheDigitsOfEachPart) {
    struct {
        const char* Stored;
        TRect Expect;
    } Cases[] = {
        {"-3,0,10,10", {3, 0, 10, 10}}, {" 1 , 2 ,3, 4 ", {1, 2, 3, 4}},
        {"1,2,3,4,5", {1, 2, 3, 4}},    {"a1b,2,3,4", {1, 2, 3, 4}},
        {"0x10,0,0,0", {10, 0, 0, 0}},  {"010,0,0,0", {10, 0, 0, 0}},
        {nullptr, {0, 0, 0, 0}},
    };
    for (const auto& C : Cases) {
        auto Ini = KeyIni(C.Stored);
        EXPECT_EQ(ReadRect(*Ini, "S", "k"), C.Expect) << Shown(C.Stored);
    }
}

TEST(SkinModelIniValues, MalformedRectanglesAndPointsRaiseConvertErrors) {
    for (const char* Stored : {"1,2,3", "", "99999999999,0,0,0"}) {
        auto Ini = KeyIni(Stored);
        EXPECT_THROW(ReadRect(*Ini, "S", "k"), EConvertError) << Shown(Stored);
    }
    try {
        StrToRect("1,2,3");
        ADD_FAILURE() << "no error for three parts";
    } catch (const EConvertError& E) {
        EXPECT_THAT(E.Message(), HasSubstr("''"));
    }
    auto Ini = KeyIni("5");
    EXPECT_THROW(ReadPoint(*Ini, "S", "k"), EConvertError);
}

TEST(SkinModelIniValues, PointsKeepOnlyTheDigitsOfTheirFirstTwoParts) {
    struct {
        const char* Stored;
        TPoint Expect;
    } Cases[] = {{"5,3", {5, 3}}, {"-5,3", {5, 3}}, {"1,2,3", {1, 2}}, {nullptr, {0, 0}}};
    for (const auto& C : Cases) {
        auto Ini = KeyIni(C.Stored);
        EXPECT_EQ(ReadPoint(*Ini, "S", "k"), C.Expect) << Shown(C.Stored);
    }
}

TEST(SkinModelIniValues, IntegersAcceptDecimalAndPrefixedHexadecimalOnly) {
    const int Default = 77;
    struct {
        const char* Stored;
        int Expect;
    } Cases[] = {
        {"0x1F", 31},
        {"0X1F", 31},
        {"$1F", 31},
        {"1F", Default},
        {"", Default},
        {" -7 ", -7},
        {"99999999999", Default},
    };
    for (const auto& C : Cases) {
        auto Ini = KeyIni(C.Stored);
        EXPECT_EQ(Ini->ReadInteger("S", "k", Default), C.Expect) << Shown(C.Stored);
    }
}

// Eight hexadecimal digits are the signed 32-bit value, so a system colour
// written in hexadecimal is the same colour as its decimal form.
TEST(SkinModelIniValues, HexadecimalColoursReadAsSigned32BitValues) {
    for (const char* Stored : {"0xFF00000F", "$FF00000F"}) {
        auto Ini = KeyIni(Stored);
        EXPECT_EQ(Ini->ReadInteger("S", "k", 77), clBtnFace) << Shown(Stored);
    }
}

TEST(SkinModelIniValues, BooleansAreTrueOnlyForTheIntegerOne) {
    struct {
        const char* Stored;
        bool Expect;
    } Cases[] = {{"1", true},   {"2", false}, {"-1", false},   {"true", false},
                 {"0x1", true}, {"", false},  {nullptr, false}};
    for (const auto& C : Cases) {
        auto Ini = KeyIni(C.Stored);
        EXPECT_EQ(ReadBoolean(*Ini, "S", "k"), C.Expect) << Shown(C.Stored);
    }
}

TEST(SkinModelIniValues, FontStyleWordsAreFoundAnywhereButOnlyInLowerCase) {
    struct {
        const char* Stored;
        TFontStyles Expect;
    } Cases[] = {
        {"fsitalic,fsbold", {fsBold, fsItalic}},
        {"fsboldfsitalic", {fsBold, fsItalic}},
        {"FSBOLD", {}},
        {"fsunderline fsstrikeout x", {fsUnderline, fsStrikeOut}},
        {nullptr, {}},
    };
    for (const auto& C : Cases) {
        auto Ini = KeyIni(C.Stored);
        EXPECT_EQ(ReadFontStyles(*Ini, "S", "k"), C.Expect) << Shown(C.Stored);
    }
}

// A present value that is no word of the form gives the form's "other"
// value; an absent one gives its default word.
TEST(SkinModelIniValues, EnumerationWordsAreExactAndFallBackAsStored) {
    struct {
        const char* Stored;
        TAlignment Expect;
    } Alignments[] = {{"tacenter", taCenter},
                      {"taleftjustify", taLeftJustify},
                      {"tarightjustify", taRightJustify},
                      {"TACENTER", taRightJustify},
                      {"", taRightJustify},
                      {nullptr, taCenter}};
    for (const auto& C : Alignments)
        EXPECT_EQ(ReadAlignment(*KeyIni(C.Stored), "S", "k"), C.Expect) << Shown(C.Stored);

    struct {
        const char* Stored;
        TbsStretchType Expect;
    } Stretches[] = {{"stfull", bsstFull}, {"stvert", bsstVert}, {"sthorz", bsstHorz},
                     {"xyz", bsstHorz},    {"", bsstHorz},       {nullptr, bsstFull}};
    for (const auto& C : Stretches)
        EXPECT_EQ(ReadStretchType(*KeyIni(C.Stored), "S", "k"), C.Expect) << Shown(C.Stored);

    struct {
        const char* Stored;
        TbsMorphKind Expect;
    } Morphs[] = {{"mkpush", mkPush}, {"MKPUSH", mkDefault}, {"", mkDefault}, {nullptr, mkDefault}};
    for (const auto& C : Morphs)
        EXPECT_EQ(ReadMorphKind(*KeyIni(C.Stored), "S", "k"), C.Expect) << Shown(C.Stored);

    struct {
        const char* Stored;
        TbsInActiveEffect Expect;
    } Effects[] = {{"iedarkness", ieDarkness},
                   {"iebrightnes", ieGrayScale},
                   {"", ieGrayScale},
                   {nullptr, ieBrightness}};
    for (const auto& C : Effects)
        EXPECT_EQ(ReadInActiveEffect(*KeyIni(C.Stored), "S", "k"), C.Expect) << Shown(C.Stored);

    struct {
        const char* Stored;
        TbsStdCommand Expect;
    } Commands[] = {{"cmclose", cmClose},
                    {"Cmclose", cmMinimizeToTray},
                    {"cmminimizetotray", cmMinimizeToTray},
                    {"", cmMinimizeToTray},
                    {nullptr, cmDefault}};
    for (const auto& C : Commands)
        EXPECT_EQ(ReadStdCommand(*KeyIni(C.Stored), "S", "k"), C.Expect) << Shown(C.Stored);
}

TEST(SkinModelIniValues, WritersProduceTheStoredForms) {
    auto Ini = MakeIni("");
    WriteRect(*Ini, "S", "r", {1, 2, 3, 4});
    WriteRect(*Ini, "S", "neg", {-3, 0, 10, 10});
    WritePoint(*Ini, "S", "p", {-5, 3});
    WriteBoolean(*Ini, "S", "t", true);
    WriteBoolean(*Ini, "S", "f", false);
    WriteFontStyles(*Ini, "S", "fs", {fsStrikeOut, fsBold});
    WriteFontStyles(*Ini, "S", "none", {});
    Ini->WriteInteger("S", "color", clBtnFace);
    EXPECT_THAT(SectionLines(*Ini, "S"),
                ::testing::ElementsAre("r=1,2,3,4", "neg=-3,0,10,10", "p=-5,3", "t=1", "f=0",
                                       "fs=fsbold,fsstrikeout", "none=", "color=-16777201"));
    // Negative coordinates do not survive a write and a read.
    EXPECT_EQ(ReadRect(*Ini, "S", "neg"), TRect(3, 0, 10, 10));
}

TEST(SkinModelIniValues, EveryEnumerationValueIsWrittenAsItsWord) {
    auto Ini = MakeIni("");
    auto Written = [&](auto Write, auto Value) {
        Write(*Ini, "S", "k", Value);
        return Ini->ReadString("S", "k", "?");
    };
    const char* Alignments[] = {"taleftjustify", "tarightjustify", "tacenter"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Written(WriteAlignment, TAlignment(i)), Alignments[i]);
    const char* Stretches[] = {"stfull", "sthorz", "stvert"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Written(WriteStretchType, TbsStretchType(i)), Stretches[i]);
    const char* Morphs[] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                            "mkleftslide", "mkrightslide", "mkpush"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Written(WriteMorphKind, TbsMorphKind(i)), Morphs[i]);
    const char* Effects[] = {"iebrightness", "iedarkness",  "iegrayscale",
                             "ienoise",      "iesplitblur", "ieinvert"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Written(WriteInActiveEffect, TbsInActiveEffect(i)), Effects[i]);
    const char* Commands[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                              "cmdefault", "cmrollup",   "cmminimizetotray"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Written(WriteStdCommand, TbsStdCommand(i)), Commands[i]);
        // The six reader words and the fall-back all come back as written.
        EXPECT_EQ(ReadStdCommand(*Ini, "S", "k"), TbsStdCommand(i));
    }
}

TEST(SkinModelIniValues, StringListsAppendWithoutClearing) {
    auto Ini = MakeIni("[S]\nlistcount=3\n0=a\n1=b\n");
    TStringList List;
    ReadStrings(*Ini, "S", "list", List);
    ASSERT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Strings(1), "b");
    EXPECT_EQ(List.Strings(2), "");
    ReadStrings(*Ini, "S", "list", List);
    EXPECT_EQ(List.Count(), 6);

    TStringList Untouched;
    ReadStrings(*MakeIni("[S]\nlistcount=-2\n0=a\n"), "S", "list", Untouched);
    EXPECT_EQ(Untouched.Count(), 0);
}

TEST(SkinModelIniValues, StringListsAreWrittenBesideOtherKeys) {
    auto Ini = MakeIni("[S]\nother=x\n");
    TStringList List;
    List.Add("first");
    List.Add("second");
    WriteStrings(*Ini, "S", "name", List);
    EXPECT_THAT(SectionLines(*Ini, "S"),
                ::testing::ElementsAre("other=x", "namecount=2", "0=first", "1=second"));
}

// A damaged skin must not make the reader append a count it cannot hold.
TEST(SkinModelIniValues, ListCountBeyondTheSectionsKeyLinesIsRefused) {
    auto Ini = MakeIni("[PICTURES]\npicture=a.bmp\nactivepicturescount=2000000000\n0=b.bmp\n"
                       "mask=m.bmp\n");
    TStringList List;
    List.Add("kept");
    try {
        ReadStrings(*Ini, "PICTURES", "activepictures", List);
        ADD_FAILURE() << "no error for a count beyond the section";
    } catch (const EConvertError& E) {
        EXPECT_THAT(E.Message(), HasSubstr("PICTURES"));
        EXPECT_THAT(E.Message(), HasSubstr("activepicturescount"));
        EXPECT_THAT(E.Message(), HasSubstr("2000000000"));
    }
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Strings(0), "kept");

    // A count equal to the key lines is genuine enough: missing items are empty.
    auto Exact = MakeIni("[PICTURES]\nactivepicturescount=4\n0=a\n2=c\npicture=p\n");
    TStringList Items;
    ReadStrings(*Exact, "PICTURES", "activepictures", Items);
    ASSERT_EQ(Items.Count(), 4);
    EXPECT_EQ(Items.Strings(0), "a");
    EXPECT_EQ(Items.Strings(1), "");
    EXPECT_EQ(Items.Strings(2), "c");
    EXPECT_EQ(Items.Strings(3), "");
}

// The ini behaviours the readers rely on, one case each.
TEST(SkinModelIniValues, IniAccessBehavesAsTheReadersExpect) {
    EXPECT_EQ(ReadRect(*MakeIni("[MyElement]\nSkinRect=1,2,3,4\n"), "myelement", "SKINRECT"),
              TRect(1, 2, 3, 4));
    EXPECT_EQ(ReadAlignment(*MakeIni("[S]\n  k  =  tacenter  \n"), "S", "k"), taCenter);
    EXPECT_EQ(ReadRect(*MakeIni("[S]\n;k=1,2,3,4\nx=1\n"), "S", "k"), TRect());
    EXPECT_FALSE(MakeIni("[S]\n")->SectionExists("S"));
    EXPECT_FALSE(MakeIni("[S]\n;only a comment\n")->SectionExists("S"));
    EXPECT_TRUE(MakeIni("[S]\nk=\n")->SectionExists("s"));
    EXPECT_TRUE(ReadBoolean(*MakeIni("[S]\nk=1\nk=0\n"), "S", "k"));
    EXPECT_TRUE(ReadBoolean(*MakeIni("[S]\nk=1\n[S]\nk=0\n"), "S", "k"));

    auto Ini = MakeIni("[A]\na=1\n[S]\nk=1,2,3,4\n[Z]\nz=1\n");
    Ini->EraseSection("s");
    EXPECT_FALSE(Ini->SectionExists("S"));
    EXPECT_EQ(ReadRect(*Ini, "S", "k"), TRect());
    WriteRect(*Ini, "New", "r", {1, 2, 3, 4});
    TStringList Text;
    Ini->GetStrings(Text);
    // The new section comes after every other section.
    int Header = Text.IndexOf("[New]");
    ASSERT_GE(Header, 0);
    EXPECT_GT(Header, Text.IndexOf("[Z]"));
    EXPECT_EQ(Text.Strings(Header + 1), "r=1,2,3,4");
}
