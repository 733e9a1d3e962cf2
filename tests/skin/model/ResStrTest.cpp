// The table of user-interface words.
#include "platform/core/StringLists.h"
#include "skin/model/bsSkinData.ResStr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace {

std::string Upper(std::string S) {
    std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return std::toupper(C); });
    return S;
}

} // namespace

TEST(SkinModelResStr, AFreshTableHoldsTheDefaultWordsInOrder) {
    TbsResourceStrData Table(nullptr);
    TStrings& Lines = *Table.ResStrings();
    ASSERT_EQ(Lines.Count(), 131);
    EXPECT_EQ(Lines.Strings(0), "MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(Lines.Strings(130), "DBNAV_REFRESH=REFRESH");
    EXPECT_EQ(Table.CharSet(), DEFAULT_CHARSET);
    for (const char* Line :
         {"FIND_REPLACE_All=Replace All", "MSG_BTN_NOTOALL=N&oToAll", "FLV_LOOKIN=Look in: "})
        EXPECT_GE(Lines.IndexOf(Line), 0) << Line;

    std::set<std::string> Names;
    for (int i = 0; i < Lines.Count(); ++i)
        EXPECT_TRUE(Names.insert(Upper(Lines.Names(i))).second) << Lines.Strings(i);

    // The first entry of each group, and the size of every group.
    struct {
        const char* First;
        int Size;
    } Groups[] = {{"MI_MINCAPTION", 6},      {"MINBUTTON_HINT", 7},    {"EDIT_UNDO", 6},
                  {"MSG_BTN_YES", 14},       {"MSG_BTN_BACK_HINT", 5}, {"MSG_FILENAME", 10},
                  {"MSG_CAP_WARNING", 5},    {"CALC_CAP", 5},          {"FONTDLG_COLOR", 7},
                  {"DB_DELETE_QUESTION", 4}, {"FLV_NAME", 8},          {"PRNDLG_NAME", 30},
                  {"FIND_NEXT", 11},         {"MORECOLORS", 3},        {"DBNAV_FIRST", 10}};
    int Index = 0;
    for (const auto& G : Groups) {
        EXPECT_EQ(Lines.Names(Index), G.First);
        Index += G.Size;
    }
    EXPECT_EQ(Index, 131);
}

TEST(SkinModelResStr, WordsAreFoundByNameIgnoringCase) {
    TbsResourceStrData Table(nullptr);
    EXPECT_EQ(Table.GetResStr("mi_mincaption"), "Mi&nimize");
    EXPECT_EQ(Table.GetResStr("FLV_LOOKIN"), "Look in: ");
    EXPECT_EQ(Table.GetResStr("NO_SUCH_NAME"), "");

    TStrings& Lines = *Table.ResStrings();
    Lines.Add("A=b=c");
    Lines.Add("B=");
    Lines.Add("C");
    Lines.Add("a=second");
    EXPECT_EQ(Table.GetResStr("A"), "b=c");
    EXPECT_EQ(Table.GetResStr("B"), "");
    EXPECT_EQ(Table.GetResStr("C"), "");
    EXPECT_EQ(Table.GetResStr(""), "");
}

TEST(SkinModelResStr, AssigningCopiesTheLines) {
    TbsResourceStrData Table(nullptr);
    TStringList Source;
    Source.Add("X=1");
    Table.SetResStrings(&Source);
    Source.Clear();
    Source.Add("Y=2");
    ASSERT_EQ(Table.ResStrings()->Count(), 1);
    EXPECT_EQ(Table.GetResStr("X"), "1");
    EXPECT_EQ(Table.GetResStr("Y"), "");
}
