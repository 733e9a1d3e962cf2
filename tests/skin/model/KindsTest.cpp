// The kind words of the element lists, entry splitting and the test for a
// complete skin text.
#include "SkinModelSupport.h"

#include <gtest/gtest.h>

#include <typeindex>

namespace {

template <class T> std::type_index Type() {
    return std::type_index(typeid(T));
}

struct TKindCase {
    const char* Word;
    std::type_index Class;
};

const TKindCase ControlCases[] = {
    {"panel", Type<TbsDataSkinPanelControl>()},
    {"expanel", Type<TbsDataSkinExPanelControl>()},
    {"menubutton", Type<TbsDataSkinMenuButtonControl>()},
    {"button", Type<TbsDataSkinButtonControl>()},
    {"checkradio", Type<TbsDataSkinCheckRadioControl>()},
    {"gauge", Type<TbsDataSkinGaugeControl>()},
    {"splitter", Type<TbsDataSkinSplitterControl>()},
    {"trackbar", Type<TbsDataSkinTrackBarControl>()},
    {"label", Type<TbsDataSkinLabelControl>()},
    {"stdlabel", Type<TbsDataSkinStdLabelControl>()},
    {"updown", Type<TbsDataSkinUpDownControl>()},
    {"grid", Type<TbsDataSkinGridControl>()},
    {"tab", Type<TbsDataSkinTabControl>()},
    {"mainmenubar", Type<TbsDataSkinMainMenuBar>()},
    {"controlbar", Type<TbsDataSkinControlBar>()},
    {"memo", Type<TbsDataSkinMemoControl>()},
    {"edit", Type<TbsDataSkinEditControl>()},
    {"checklistbox", Type<TbsDataSkinCheckListBox>()},
    {"listbox", Type<TbsDataSkinListBox>()},
    {"combobox", Type<TbsDataSkinComboBox>()},
    {"scrollbar", Type<TbsDataSkinScrollBarControl>()},
    {"spinedit", Type<TbsDataSkinSpinEditControl>()},
    {"scrollbox", Type<TbsDataSkinScrollBoxControl>()},
    {"treeview", Type<TbsDataSkinTreeView>()},
    {"bevel", Type<TbsDataSkinBevel>()},
    {"slider", Type<TbsDataSkinSlider>()},
    {"listview", Type<TbsDataSkinListView>()},
    {"richedit", Type<TbsDataSkinRichEdit>()},
};

const TKindCase ObjectCases[] = {
    {"menuitem", Type<TbsDataSkinMenuItem>()},
    {"mainmenubaritem", Type<TbsDataSkinMainMenuBarItem>()},
    {"mainmenubarbutton", Type<TbsDataSkinMainMenuBarButton>()},
    {"stdbutton", Type<TbsDataSkinStdButton>()},
    {"button", Type<TbsDataSkinButton>()},
    {"caption", Type<TbsDataSkinCaption>()},
    {"userobject", Type<TbsDataUserObject>()},
    {"animate", Type<TbsDataSkinAnimate>()},
};

} // namespace

TEST(SkinModelKinds, EachKindWordCreatesItsClassAndIsWrittenBack) {
    for (const TKindCase& C : ControlCases) {
        std::unique_ptr<TbsDataSkinControl> Control = CreateSkinControl(C.Word, "id");
        ASSERT_TRUE(Control) << C.Word;
        EXPECT_EQ(std::type_index(typeid(*Control)), C.Class) << C.Word;
        EXPECT_EQ(Control->IDName, "id");
        EXPECT_EQ(SkinControlKind(*Control), C.Word);
    }
    for (const TKindCase& C : ObjectCases) {
        std::unique_ptr<TbsDataSkinObject> Object = CreateSkinObject(C.Word, "id");
        ASSERT_TRUE(Object) << C.Word;
        EXPECT_EQ(std::type_index(typeid(*Object)), C.Class) << C.Word;
        EXPECT_EQ(Object->IDName, "id");
        EXPECT_EQ(SkinObjectKind(*Object), C.Word);
    }
}

TEST(SkinModelKinds, WordsThatNameNoKindCreateNothing) {
    for (const char* Word : {"Button", "", "panel ", "mainmenuitem", "updown:x"})
        EXPECT_FALSE(CreateSkinControl(Word, "id")) << '"' << Word << '"';
    for (const char* Word : {"Button", "", "menuitem ", "mainmenuitem", "panel"})
        EXPECT_FALSE(CreateSkinObject(Word, "id")) << '"' << Word << '"';
}

TEST(SkinModelKinds, BaseClassesHaveNoKindWord) {
    EXPECT_EQ(SkinControlKind(TbsDataSkinCustomControl("c")), "");
    EXPECT_EQ(SkinControlKind(TbsDataSkinControl("c")), "");
    EXPECT_EQ(SkinObjectKind(TbsDataSkinMainMenuItem("o")), "");
    EXPECT_EQ(SkinObjectKind(TbsDataSkinObject("o")), "");
}

TEST(SkinModelKinds, EntriesSplitAtTheFirstColon) {
    struct {
        const char* Entry;
        const char* IDName;
        const char* Kind;
    } Cases[] = {{"a:b", "a", "b"},
                 {"a:b:c", "a", "b:c"},
                 {":panel", "", "panel"},
                 {"abc", "", ""},
                 {"", "", ""}};
    for (const auto& C : Cases) {
        std::string IDName = "stale", Kind = "stale";
        SplitSkinEntry(C.Entry, IDName, Kind);
        EXPECT_EQ(IDName, C.IDName) << C.Entry;
        EXPECT_EQ(Kind, C.Kind) << C.Entry;
    }
}

TEST(SkinModelKinds, ASkinTextIsCompleteWhenItsFiveSectionsHoldKeys) {
    const std::string Head = "[VERSION]\nver=1\n[PICTURES]\npicture=a.bmp\n[FORMINFO]\n"
                             "borderwidth=1\n[SKINOBJECTS]\ncount=0\n";
    struct {
        std::string Text;
        bool Expect;
    } Cases[] = {
        {Head + "[SKINCONTROLS]\ncount=1\n0=p:panel\n", true},
        {Head + "[SKINCONTROLS]\n", false},
        {Head + "[SKINCONTROLS]\n;count=1\n", false},
        {Head + "[SKINCONTROLS]\ncount=0\n", true},
        {"[PICTURES]\npicture=a.bmp\n[FORMINFO]\nborderwidth=1\n[SKINOBJECTS]\ncount=0\n"
         "[SKINCONTROLS]\ncount=0\n",
         false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsSkinIniComplete(*MakeIni(C.Text)), C.Expect) << C.Text;
}
