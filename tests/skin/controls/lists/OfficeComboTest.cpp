// The office combo's selection events, row for row of its table, and the
// drop-down name kept across an unskinned spell.
#include "tests/skin/controls/lists/ListsTestSupport.h"

#include <functional>

namespace {

using namespace liststest;
using Strings = std::vector<std::string>;

struct TItemSpec {
    std::string Caption;
    bool Header = false;
    bool Enabled = true;
};
using Specs = std::vector<TItemSpec>;

const Specs Plain{{"T0"}, {"T1"}, {"T2"}};
const Specs Grouped{{"H", true}, {"a"}, {"b", false, false}, {"c"}};

class TOfficeComboTest : public TListsTest {
public:
    TbsSkinOfficeComboBox* MakeCombo(const Specs& Items) {
        auto* C = new TbsSkinOfficeComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(20, 20, 120, 41);
        Fill(C, Items);
        C->OnChange = [this, C](TObject*) {
            Log.Names.push_back("OnChange(" + std::to_string(C->ItemIndex()) + ")");
        };
        C->OnClick = Log.Note("OnClick");
        C->OnCloseUp = Log.Note("OnCloseUp");
        C->OnKeyDown = [this](TObject*, WORD& K, TShiftState) {
            if ((K < 'A' || K > 'Z') && K != VK_MENU)
                Log.Names.push_back("OnKeyDown");
        };
        C->OnKeyPress = [this](TObject*, unsigned&) { Log.Names.push_back("OnKeyPress"); };
        Pump();
        return C;
    }
    static void Fill(TbsSkinOfficeComboBox* C, const Specs& Items) {
        for (const TItemSpec& S : Items) {
            TbsSkinOfficeItem* I = C->Items()->Add();
            I->SetCaption(S.Caption);
            I->SetHeader(S.Header);
            I->SetEnabled(S.Enabled);
        }
    }
    static int ActiveItems(TbsSkinOfficeComboBox* C) {
        int N = 0;
        for (int I = 0; I < C->Items()->Count(); ++I)
            N += C->Items()->Items(I)->Active ? 1 : 0;
        return N;
    }
    void Open(TbsSkinOfficeComboBox* C) {
        Key(VK_DOWN, true);
        ASSERT_TRUE(C->IsPopupVisible());
        Log.Names.clear();
    }
    TEventLog Log;
};

struct TOfficeRow {
    const char* Name;
    Specs Items;
    int Start;
    std::function<void(TOfficeComboTest&, TbsSkinOfficeComboBox*)> Act;
    Strings Expected;
    int Index;
};

class TOfficeSelection : public TOfficeComboTest, public testing::WithParamInterface<TOfficeRow> {};

TEST_P(TOfficeSelection, FiresTheEventsOfItsRow) {
    const TOfficeRow& Row = GetParam();
    TbsSkinOfficeComboBox* C = MakeCombo(Row.Items);
    Focus(C);
    C->SetItemIndex(Row.Start);
    Log.Names.clear();
    Row.Act(*this, C);
    EXPECT_EQ(Log.Names, Row.Expected);
    EXPECT_EQ(C->ItemIndex(), Row.Index);
}

auto SetIndex(int V) {
    return [V](TOfficeComboTest&, TbsSkinOfficeComboBox* C) { C->SetItemIndex(V); };
}
auto Press(int VK) {
    return [VK](TOfficeComboTest& T, TbsSkinOfficeComboBox*) { T.Key(VK); };
}

const TOfficeRow OfficeRows[] = {
    {"SameIndexFiresAgain", Plain, 0, SetIndex(0), {"OnClick", "OnChange(0)"}, 0},
    {"MinusOne",
     Plain,
     0,
     [](TOfficeComboTest&, TbsSkinOfficeComboBox* C) {
         C->SetItemIndex(-1);
         EXPECT_EQ(TOfficeComboTest::ActiveItems(C), 0);
     },
     {"OnClick", "OnChange(-1)"},
     -1},
    {"PastTheItemsIsStoredWithoutAnActiveRow",
     Plain,
     0,
     [](TOfficeComboTest&, TbsSkinOfficeComboBox* C) {
         C->SetItemIndex(3);
         EXPECT_EQ(TOfficeComboTest::ActiveItems(C), 0);
     },
     {"OnClick", "OnChange(3)"},
     3},
    {"UpAtTheTopStillFires", Plain, 0, Press(VK_UP), {"OnKeyDown", "OnClick", "OnChange(0)"}, 0},
    {"DownSkipsDisabledRows",
     Grouped,
     1,
     Press(VK_DOWN),
     {"OnKeyDown", "OnClick", "OnChange(3)"},
     3},
    {"PageDownSkipsDisabledRows",
     Grouped,
     1,
     Press(VK_NEXT),
     {"OnKeyDown", "OnClick", "OnChange(3)"},
     3},
    {"UpSkipsDisabledRows", Grouped, 3, Press(VK_UP), {"OnKeyDown", "OnClick", "OnChange(1)"}, 1},
    {"RefillFiresNothing",
     Plain,
     0,
     [](TOfficeComboTest&, TbsSkinOfficeComboBox* C) {
         C->Items()->Clear();
         TOfficeComboTest::Fill(C, Plain);
     },
     {},
     0},
    {"WheelWhileOpenThenEscape",
     Plain,
     0,
     [](TOfficeComboTest& T, TbsSkinOfficeComboBox* C) {
         T.Open(C);
         T.Wheel(false);
         EXPECT_EQ(C->FListBox->ItemIndex(), 1);
         T.Log.Names.clear();
         T.Key(VK_ESCAPE);
         EXPECT_FALSE(C->IsPopupVisible());
     },
     {"OnKeyDown"},
     0},
    {"ClickARow",
     Plain,
     0,
     [](TOfficeComboTest& T, TbsSkinOfficeComboBox* C) {
         T.Open(C);
         const TRect R = C->FListBox->Items()->Items(2)->ItemRect;
         T.ClickAt(C->FListBox, R.Left + 5, (R.Top + R.Bottom) / 2);
     },
     {"OnClick", "OnChange(2)", "OnCloseUp"},
     2},
    {"HoverMovesOnlyTheList",
     Plain,
     0,
     [](TOfficeComboTest& T, TbsSkinOfficeComboBox* C) {
         T.Open(C);
         const TRect R = C->FListBox->Items()->Items(1)->ItemRect;
         T.MoveTo(C->FListBox, R.Left + 5, (R.Top + R.Bottom) / 2);
         EXPECT_EQ(C->FListBox->ItemIndex(), 1);
         EXPECT_EQ(C->FOldItemIndex, 0);
         T.Log.Names.clear();
         C->CloseUp(false);
     },
     {},
     0},
    {"WhileLoading",
     Plain,
     0,
     [](TOfficeComboTest& T, TbsSkinOfficeComboBox* C) {
         T.Form->BeginLoading();
         C->SetItemIndex(1);
         T.Form->EndLoading();
     },
     {},
     1},
    {"TypedLetterIsOnlyAKeyPress",
     Plain,
     0,
     [](TOfficeComboTest& T, TbsSkinOfficeComboBox*) { T.Type("t"); },
     {"OnKeyPress"},
     0},
};

INSTANTIATE_TEST_SUITE_P(Rows, TOfficeSelection, testing::ValuesIn(OfficeRows),
                         [](const testing::TestParamInfo<TOfficeRow>& I) {
                             return std::string(I.param.Name);
                         });

TEST_F(TOfficeComboTest, DropDownNameSurvivesAnUnskinnedSpell) {
    TbsSkinData* SD = LoadStandardSkin();
    TbsSkinOfficeComboBox* C = MakeCombo(Plain);
    C->SetListBoxSkinDataName("resizetoolpanel");
    C->SetSkinData(SD);
    EXPECT_EQ(C->FListBox->SkinDataName(), "resizetoolpanel");
    C->SetSkinDataName("no such element");
    C->ChangeSkinData();
    EXPECT_EQ(C->FListBox->SkinDataName(), "");
    C->SetSkinDataName("combobox");
    C->ChangeSkinData();
    EXPECT_EQ(C->FListBox->SkinDataName(), "resizetoolpanel");
    EXPECT_EQ(C->ListBoxSkinDataName(), "resizetoolpanel");
}

TEST_F(TOfficeComboTest, ListItemHeightIgnoresZeroAndBelow) {
    TbsSkinOfficeComboBox* C = MakeCombo(Plain);
    for (int V : {0, -5})
        C->SetListBoxItemHeight(V);
    EXPECT_EQ(C->ListBoxItemHeight(), 30);
}

} // namespace
