// The text combo's selection events, row for row of its table, and the
// incremental search on the manual clock.
#include "tests/skin/controls/lists/ListsTestSupport.h"

#include <functional>

namespace {

using namespace liststest;
using Strings = std::vector<std::string>;

class TComboTest : public TListsTest {
public:
    TLoggedCombo* MakeCombo(const Strings& Items) {
        auto* C = new TLoggedCombo(Form, Log);
        C->SetParent(Form);
        C->SetBounds(20, 20, 120, 20);
        for (const std::string& S : Items)
            C->Items()->Add(S);
        C->OnChange = [this, C](TObject*) {
            Log.Names.push_back("OnChange(" + std::to_string(C->ItemIndex()) + "," + C->Text() +
                                ")");
        };
        C->OnClick = Log.Note("OnClick");
        C->OnCloseUp = Log.Note("OnCloseUp");
        C->OnDropDown = Log.Note("OnDropDown");
        // Typed letters also arrive as key presses; only navigation keys
        // belong to the rows' logs.
        C->OnKeyDown = [this](TObject*, WORD& K, TShiftState) {
            if ((K < 'A' || K > 'Z') && K != VK_MENU)
                Log.Names.push_back("OnKeyDown");
        };
        C->OnKeyPress = [this](TObject*, unsigned&) { Log.Names.push_back("OnKeyPress"); };
        Pump();
        return C;
    }
    void OpenWithAltDown(TLoggedCombo* C) {
        Key(VK_DOWN, true);
        ASSERT_TRUE(C->IsPopupVisible());
        Log.Names.clear();
    }
    TEventLog Log;
};

struct TSelectionRow {
    const char* Name;
    Strings Items;
    int Start;
    std::function<void(TComboTest&, TLoggedCombo*)> Act;
    Strings Expected;
    int Index;
    std::string Text;
};

class TComboSelection : public TComboTest, public testing::WithParamInterface<TSelectionRow> {};

TEST_P(TComboSelection, FiresTheEventsOfItsRow) {
    const TSelectionRow& Row = GetParam();
    TLoggedCombo* C = MakeCombo(Row.Items);
    Focus(C);
    if (Row.Start >= 0)
        C->SetItemIndex(Row.Start);
    Log.Names.clear();
    Row.Act(*this, C);
    EXPECT_EQ(Log.Names, Row.Expected);
    EXPECT_EQ(C->ItemIndex(), Row.Index);
    EXPECT_EQ(C->Text(), Row.Text);
}

const Strings ABC{"a", "b", "c"};

auto SetIndex(int V) {
    return [V](TComboTest&, TLoggedCombo* C) { C->SetItemIndex(V); };
}
auto Press(int VK) {
    return [VK](TComboTest& T, TLoggedCombo*) { T.Key(VK); };
}

Strings Thirty() {
    Strings S;
    for (int I = 0; I < 30; ++I)
        S.push_back("i" + std::to_string(I));
    return S;
}

const TSelectionRow SelectionRows[] = {
    {"SetNewText", ABC, -1, SetIndex(1), {"OnChange(1,b)", "OnClick", "Change"}, 1, "b"},
    {"SetSameIndex", ABC, 1, SetIndex(1), {"OnClick", "Change"}, 1, "b"},
    {"RefillFiresNothing",
     ABC,
     1,
     [](TComboTest&, TLoggedCombo* C) {
         C->Items()->Clear();
         for (const char* S : {"x", "b", "y"})
             C->Items()->Add(S);
     },
     {},
     -1,
     "b"},
    {"SameTextAfterRefill",
     ABC,
     1,
     [](TComboTest&, TLoggedCombo* C) {
         C->Items()->Clear();
         for (const char* S : {"x", "b", "y"})
             C->Items()->Add(S);
         C->SetItemIndex(1);
         C->SetItemIndex(0);
     },
     {"OnClick", "Change", "OnChange(0,x)", "OnClick", "Change"},
     0,
     "x"},
    {"MinusOneKeepsText", ABC, 0, SetIndex(-1), {"OnClick", "Change"}, -1, "a"},
    {"OutOfRangeKeepsText", ABC, 0, SetIndex(7), {"OnClick", "Change"}, -1, "a"},
    {"UpAtTop", ABC, 0, Press(VK_UP), {"OnKeyDown"}, 0, "a"},
    {"LeftAtTop", ABC, 0, Press(VK_LEFT), {"OnKeyDown"}, 0, "a"},
    {"Down", ABC, 0, Press(VK_DOWN), {"OnKeyDown", "OnChange(1,b)", "OnClick", "Change"}, 1, "b"},
    {"Right", ABC, 0, Press(VK_RIGHT), {"OnKeyDown", "OnChange(1,b)", "OnClick", "Change"}, 1, "b"},
    {"DownFromNothing",
     ABC,
     -1,
     Press(VK_DOWN),
     {"OnKeyDown", "OnChange(0,a)", "OnClick", "Change"},
     0,
     "a"},
    {"DownAtBottom", ABC, 2, Press(VK_DOWN), {"OnKeyDown"}, 2, "c"},
    {"PageUpMovesCountPlusOne",
     Thirty(),
     20,
     Press(VK_PRIOR),
     {"OnKeyDown", "OnChange(11,i11)", "OnClick", "Change"},
     11,
     "i11"},
    {"PageDownMovesCountMinusOne",
     Thirty(),
     20,
     Press(VK_NEXT),
     {"OnKeyDown", "OnChange(27,i27)", "OnClick", "Change"},
     27,
     "i27"},
    {"PageDownOnEmpty", {}, -1, Press(VK_NEXT), {"OnKeyDown", "OnClick", "Change"}, -1, ""},
    {"WheelForwardClosed",
     ABC,
     1,
     [](TComboTest& T, TLoggedCombo*) { T.Wheel(true); },
     {"OnChange(0,a)", "OnClick", "Change"},
     0,
     "a"},
    {"WheelBackClosed",
     ABC,
     1,
     [](TComboTest& T, TLoggedCombo*) { T.Wheel(false); },
     {"OnChange(2,c)", "OnClick", "Change"},
     2,
     "c"},
    {"WheelOpenThenEscape",
     ABC,
     1,
     [](TComboTest& T, TLoggedCombo* C) {
         T.OpenWithAltDown(C);
         T.Wheel(false);
         EXPECT_EQ(C->FListBox->ItemIndex(), 2);
         T.Key(VK_ESCAPE);
         EXPECT_FALSE(C->IsPopupVisible());
     },
     {"OnKeyDown"},
     1,
     "b"},
    {"WheelOpenThenEnter",
     ABC,
     1,
     [](TComboTest& T, TLoggedCombo* C) {
         T.OpenWithAltDown(C);
         T.Wheel(false);
         T.Key(VK_RETURN);
     },
     {"OnKeyDown", "OnChange(2,c)", "OnClick", "Change", "OnCloseUp"},
     2,
     "c"},
    {"ClickTheSelectedRow",
     ABC,
     1,
     [](TComboTest& T, TLoggedCombo* C) {
         T.OpenWithAltDown(C);
         TbsListBox* L = C->FListBox->ListBox;
         const TRect R = L->ItemRect(1);
         T.ClickAt(L, 5, R.Top + 5);
     },
     {"OnClick", "Change", "OnCloseUp"},
     1,
     "b"},
    {"AltDownOpensAltUpCloses",
     ABC,
     1,
     [](TComboTest& T, TLoggedCombo* C) {
         T.Key(VK_DOWN, true);
         EXPECT_TRUE(C->IsPopupVisible());
         T.Key(VK_UP, true);
         EXPECT_FALSE(C->IsPopupVisible());
     },
     {"OnKeyDown", "OnDropDown", "OnKeyDown"},
     1,
     "b"},
    {"WhileLoading",
     ABC,
     -1,
     [](TComboTest& T, TLoggedCombo* C) {
         T.Form->BeginLoading();
         C->SetItemIndex(1);
         T.Form->EndLoading();
     },
     {"OnChange(1,b)"},
     1,
     "b"},
    {"TypedLetterSearches",
     {"apple", "banana", "blue", "cherry"},
     0,
     [](TComboTest& T, TLoggedCombo*) { T.Type("b"); },
     {"OnKeyPress", "OnChange(1,banana)", "OnClick", "Change"},
     1,
     "banana"},
};

INSTANTIATE_TEST_SUITE_P(Rows, TComboSelection, testing::ValuesIn(SelectionRows),
                         [](const testing::TestParamInfo<TSelectionRow>& I) {
                             return std::string(I.param.Name);
                         });

// ---------------------------------------------------------------- incremental search

struct TSearchRow {
    const char* Name;
    bool AutoComplete;
    std::vector<std::pair<std::string, std::uint32_t>> Keys;
    Strings Selected;
};

class TComboSearch : public TComboTest, public testing::WithParamInterface<TSearchRow> {};

TEST_P(TComboSearch, SelectsAfterEachKey) {
    const TSearchRow& Row = GetParam();
    TLoggedCombo* C = MakeCombo({"apple", "banana", "blue", "berry", "cherry"});
    C->SetAutoComplete(Row.AutoComplete);
    Focus(C);
    C->SetItemIndex(0);
    Strings Seen;
    for (const auto& [Text, At] : Row.Keys) {
        Headless.RunUntil(std::max(At, Clock.Now()));
        Log.Names.clear();
        Type(Text);
        Seen.push_back(C->Text());
    }
    EXPECT_EQ(Seen, Row.Selected);
}

const TSearchRow SearchRows[] = {
    {"PrefixWithinTheDelay", true, {{"b", 1000}, {"l", 1100}}, {"banana", "blue"}},
    {"NewSearchAfterThePause", true, {{"b", 1000}, {"b", 1600}}, {"banana", "blue"}},
    {"RepeatedLetterWraps",
     true,
     {{"b", 1000}, {"b", 1600}, {"b", 2200}, {"b", 2800}},
     {"banana", "blue", "berry", "banana"}},
    {"WithoutAutoCompleteEveryKeyAlone",
     false,
     {{"b", 1000}, {"b", 1000}, {"b", 1000}},
     {"banana", "blue", "berry"}},
    {"NoMatch", true, {{"z", 1000}}, {"apple"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, TComboSearch, testing::ValuesIn(SearchRows),
                         [](const testing::TestParamInfo<TSearchRow>& I) {
                             return std::string(I.param.Name);
                         });

TEST_F(TComboTest, SearchThatFindsNothingFiresNothing) {
    TLoggedCombo* C = MakeCombo({"apple", "banana"});
    Focus(C);
    C->SetItemIndex(0);
    Log.Names.clear();
    Type("z");
    EXPECT_EQ(Log.Names, Strings{"OnKeyPress"});
}

// The combo's OnClick is the control's own: Click in code reaches it, once;
// a click on the face opens the list and fires nothing.
TEST_F(TComboTest, ClickInCodeFiresOnClickOnceAndAFaceClickNone) {
    TLoggedCombo* C = MakeCombo(ABC);
    C->Click();
    EXPECT_EQ(Log.Names, Strings{"OnClick"});
    Log.Names.clear();
    ClickAt(C, 10, 10);
    EXPECT_EQ(Log.Count("OnClick"), 0);
}

TEST_F(TComboTest, DropDownCountIgnoresZeroAndBelow) {
    TLoggedCombo* C = MakeCombo(ABC);
    for (int V : {0, -3})
        C->SetDropDownCount(V);
    EXPECT_EQ(C->DropDownCount(), 8);
}

TEST_F(TComboTest, AsksForTheArrowKeys) {
    TLoggedCombo* C = MakeCombo(ABC);
    for (int VK : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})
        EXPECT_EQ(C->Perform(CM_WANTSPECIALKEY, WPARAM(VK), 0), 1) << VK;
    EXPECT_EQ(C->Perform(CM_WANTSPECIALKEY, WPARAM(VK_RETURN), 0), 0);
}

} // namespace
