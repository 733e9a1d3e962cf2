// The office list: row layout and pixel scrolling, the choice and its
// events, keys that skip headers and disabled rows, the mouse, a thick
// bottom frame, a refused item height, and the plain row colours.
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "tests/skin/controls/lists/ListsTestSupport.h"

namespace {

using namespace liststest;

struct TRowDef {
    const char* Caption;
    bool Header = false;
    bool Enabled = true;
};

class TOfficeListTest : public TListsTest {
protected:
    TbsSkinOfficeListBox* MakeList(std::vector<TRowDef> Rows, int Height = 150) {
        auto* L = new TbsSkinOfficeListBox(Form);
        L->SetParent(Form);
        L->SetBounds(20, 20, 150, Height);
        for (const TRowDef& R : Rows) {
            TbsSkinOfficeItem* I = L->Items()->Add();
            I->SetCaption(R.Caption);
            I->SetHeader(R.Header);
            I->SetEnabled(R.Enabled);
        }
        L->OnItemClick = Log.Note("OnItemClick");
        Pump();
        return L;
    }
    static std::vector<TRowDef> Rows(int N) {
        std::vector<TRowDef> R(std::size_t(N), TRowDef{"row"});
        return R;
    }
    TEventLog Log;
};

// An image index past the list draws no image, the caption alone; with
// titles shown, a row without a title indents its caption by 10 pixels.
TEST_F(TOfficeListTest, CaptionAloneWithoutAnImageAndIndentedUnderTitles) {
    TbsSkinOfficeListBox* L = MakeList({{"abc"}});
    auto* Images = new TCustomImageList(Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    TBitmap Red;
    Red.SetSize(16, 16);
    Red.Canvas()->Brush()->SetColor(clRed);
    Red.Canvas()->FillRect({0, 0, 16, 16});
    for (int I = 0; I < 5; ++I)
        Images->Add(&Red, nullptr);
    L->SetImages(Images);
    L->Items()->Items(0)->SetImageIndex(5);
    L->SetShowItemTitles(false);
    Pump();
    auto FirstInk = [&](int& Reds) {
        Reds = 0;
        int First = -1;
        // Inside the frame and the row's edge.
        for (int Y = 5; Y < 30; ++Y)
            for (int X = 4; X < 100; ++X) {
                const std::uint32_t P = PixelOf(L, X, Y);
                Reds += P == 0xFF0000u ? 1 : 0;
                if (P != Rgb(clWindow) && P != 0xFF0000u && (First < 0 || X < First))
                    First = X;
            }
        return First;
    };
    int Reds = 0;
    const int Plain = FirstInk(Reds);
    EXPECT_EQ(Reds, 0);
    ASSERT_GT(Plain, 0);
    L->SetShowItemTitles(true);
    Pump();
    EXPECT_EQ(FirstInk(Reds), Plain + 10);
    EXPECT_EQ(Reds, 0);
}

TEST_F(TOfficeListTest, RowsStackFromTheTopWithHeadersOfTheirOwnHeight) {
    TbsSkinOfficeListBox* L = MakeList({{"H", true}, {"a"}, {"b"}, {"c"}});
    L->CalcItemRects();
    const std::pair<int, int> Expected[] = {{2, 22}, {22, 52}, {52, 82}, {82, 112}};
    for (int I = 0; I < 4; ++I) {
        EXPECT_EQ(L->Items()->Items(I)->ItemRect.Top, Expected[I].first) << I;
        EXPECT_EQ(L->Items()->Items(I)->ItemRect.Bottom, Expected[I].second) << I;
    }
    EXPECT_EQ(L->ScrollBar, nullptr);
}

TEST_F(TOfficeListTest, ScrollsByPixelsWithItsOwnBar) {
    TbsSkinOfficeListBox* L = MakeList(Rows(10));
    ASSERT_NE(L->ScrollBar, nullptr);
    EXPECT_EQ(L->ScrollBar->Max(), 300);
    EXPECT_EQ(L->ScrollBar->PageSize(), 146);
    L->Scroll(100);
    EXPECT_EQ(L->Items()->Items(0)->ItemRect.Top, -98);
    EXPECT_FALSE(L->Items()->Items(0)->IsVisible);
}

TEST_F(TOfficeListTest, EnlargingAListScrolledToItsEndPullsTheOffsetBack) {
    TbsSkinOfficeListBox* L = MakeList(Rows(10));
    L->Scroll(300 - 146);
    L->SetHeight(200);
    Pump();
    L->CalcItemRects();
    EXPECT_EQ(L->Items()->Items(9)->ItemRect.Bottom, L->ItemsRect().Bottom);
}

TEST_F(TOfficeListTest, ChoosingFiresRowThenListEveryTime) {
    TbsSkinOfficeListBox* L = MakeList(Rows(3));
    L->Items()->Items(1)->OnClick = Log.Note("item.OnClick");
    L->SetItemIndex(1);
    L->SetItemIndex(1);
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"item.OnClick", "OnItemClick", "item.OnClick",
                                                   "OnItemClick"}));
    Log.Names.clear();
    L->SetItemIndex(-1);
    EXPECT_TRUE(Log.Names.empty());
    for (int I = 0; I < 3; ++I)
        EXPECT_FALSE(L->Items()->Items(I)->Active);
}

struct TKeyRow {
    const char* Name;
    std::vector<TRowDef> Rows;
    int Start;
    int VK;
    int Expected;
};

class TOfficeListKeys : public TOfficeListTest, public testing::WithParamInterface<TKeyRow> {};

TEST_P(TOfficeListKeys, ChoosesOnlyChoosableRows) {
    const TKeyRow& Row = GetParam();
    TbsSkinOfficeListBox* L = MakeList(Row.Rows);
    L->SetItemIndex(Row.Start);
    Focus(L);
    Key(Row.VK);
    EXPECT_EQ(L->ItemIndex(), Row.Expected);
}

const std::vector<TRowDef> Grouped{{"a"}, {"H", true}, {"b", false, false}, {"c"}, {"d"}};
const std::vector<TRowDef> TwoGroups{{"H1", true}, {"a"}, {"b"}, {"H2", true}, {"c"}, {"d"}, {"e"}};

const TKeyRow KeyRows[] = {
    {"DownAtTheLastRow", Grouped, 4, VK_DOWN, 4},
    {"DownSkipsHeaderAndDisabled", Grouped, 0, VK_DOWN, 3},
    {"UpSkipsHeaderAndDisabled", Grouped, 3, VK_UP, 0},
    {"RightIsDown", Grouped, 0, VK_RIGHT, 3},
    {"PageUpAcrossAHeaderLandsRightAboveIt", TwoGroups, 6, VK_PRIOR, 2},
    {"PageDownAcrossAHeaderLandsRightBelowIt", TwoGroups, 1, VK_NEXT, 4},
    {"OtherKeysDoNothing", Grouped, 0, VK_HOME, 0},
};

INSTANTIATE_TEST_SUITE_P(Rows, TOfficeListKeys, testing::ValuesIn(KeyRows),
                         [](const testing::TestParamInfo<TKeyRow>& I) {
                             return std::string(I.param.Name);
                         });

TEST_F(TOfficeListTest, ClicksOnHeadersAndDisabledRowsChangeNothing) {
    TbsSkinOfficeListBox* L = MakeList(Grouped);
    L->SetItemIndex(0);
    Log.Names.clear();
    for (int Row : {1, 2}) {
        const TRect R = L->Items()->Items(Row)->ItemRect;
        ClickAt(L, R.Left + 5, R.Top + 5);
    }
    EXPECT_EQ(L->ItemIndex(), 0);
    EXPECT_TRUE(Log.Names.empty());
    const TRect R = L->Items()->Items(3)->ItemRect;
    ClickAt(L, R.Left + 5, R.Top + 5);
    EXPECT_EQ(L->ItemIndex(), 3);
    EXPECT_TRUE(L->Focused());
}

// A list whose window hands the focus straight on to another control.
class TRefusingList : public TbsSkinOfficeListBox {
public:
    using TbsSkinOfficeListBox::TbsSkinOfficeListBox;
    TWinControl* Instead = nullptr;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_SETFOCUS && Instead) {
            ::SetFocus(Instead->Handle());
            return;
        }
        TbsSkinOfficeListBox::Dispatch(Message);
    }
};

// A click that cannot give the list the focus is dropped: no choice, no
// event; once the list takes the focus the same click chooses.
TEST_F(TOfficeListTest, ClickIsDroppedWhenTheFocusIsRefused) {
    auto* Other = MakeList(Rows(2));
    auto* L = new TRefusingList(Form);
    L->SetParent(Form);
    L->SetBounds(200, 20, 150, 150);
    for (int I = 0; I < 4; ++I)
        L->Items()->Add()->SetCaption("row");
    L->OnItemClick = Log.Note("OnItemClick");
    Focus(Other);
    L->Instead = Other;
    const TRect R = L->Items()->Items(2)->ItemRect;
    ClickAt(L, R.Left + 5, R.Top + 5);
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(L->ItemIndex(), -1);
    EXPECT_TRUE(Log.Names.empty());
    L->Instead = nullptr;
    ClickAt(L, R.Left + 5, R.Top + 5);
    EXPECT_TRUE(L->Focused());
    EXPECT_EQ(L->ItemIndex(), 2);
    EXPECT_EQ(Log.Names, std::vector<std::string>{"OnItemClick"});
}

TEST_F(TOfficeListTest, HoverMakesRowsActiveSilentlyAndTheReleaseChooses) {
    TbsSkinOfficeListBox* L = MakeList(Rows(4));
    L->SetMouseMoveChangeIndex(true);
    for (int Row : {1, 2}) {
        const TRect R = L->Items()->Items(Row)->ItemRect;
        MoveTo(L, R.Left + 5, R.Top + 5);
        EXPECT_EQ(L->ItemIndex(), Row);
    }
    EXPECT_TRUE(Log.Names.empty());
    const TRect R = L->Items()->Items(2)->ItemRect;
    ClickAt(L, R.Left + 5, R.Top + 5);
    EXPECT_EQ(Log.Names, std::vector<std::string>{"OnItemClick"});
}

TEST_F(TOfficeListTest, ItemHeightOfZeroIsRefusedAndPagesStillWork) {
    TbsSkinOfficeListBox* L = MakeList(Rows(10));
    L->SetItemHeight(0);
    EXPECT_EQ(L->ItemHeight(), 30);
    L->SetItemIndex(0);
    Focus(L);
    Key(VK_NEXT);
    EXPECT_GT(L->ItemIndex(), 0);
}

TEST_F(TOfficeListTest, IndexPastTheRowsIsStoredWithoutScrollingOrEvents) {
    TbsSkinOfficeListBox* L = MakeList(Rows(3));
    L->SetItemIndex(1);
    Log.Names.clear();
    EXPECT_NO_THROW(L->SetItemIndex(3));
    EXPECT_EQ(L->ItemIndex(), 3);
    EXPECT_TRUE(Log.Names.empty());
    for (int I = 0; I < 3; ++I)
        EXPECT_FALSE(L->Items()->Items(I)->Active);
}

// A frame 2 pixels thick at the top and 20 at the bottom.
testskin::TTestSkin ThickBottomSkin() {
    using testskin::operator+;
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("office.bmp", 64, 64, 24);
    P.AddRegion("frame", {0, 0, 40, 40});
    Skin.AddControl("listbox", "listbox",
                    {"pictureindex=1", "skinrect=0,0,40,40", "lefttoppoint=2,2",
                     "righttoppoint=38,2", "leftbottompoint=2,20", "rightbottompoint=38,20",
                     "clientrect=2,2,38,20", "leftstretch=1", "topstretch=1", "rightstretch=1",
                     "bottomstretch=1"});
    return Skin;
}

TEST_F(TOfficeListTest, KeyboardScrollShowsTheLastRowWholeAboveAThickBottomFrame) {
    TbsSkinData* SD = LoadSkin(ThickBottomSkin());
    TbsSkinOfficeListBox* L = MakeList(Rows(10));
    L->SetSkinData(SD);
    L->SetItemIndex(0);
    Focus(L);
    for (int I = 0; I < 9; ++I)
        Key(VK_DOWN);
    ASSERT_EQ(L->ItemIndex(), 9);
    L->CalcItemRects();
    EXPECT_EQ(L->Items()->Items(9)->ItemRect.Bottom, L->ItemsRect().Bottom);
    ASSERT_NE(L->ScrollBar, nullptr);
    EXPECT_EQ(L->ScrollBar->Position(), L->ScrollBar->Max() - L->ScrollBar->PageSize());
}

TEST_F(TOfficeListTest, RowEndingExactlyAtTheBottomDoesNotScroll) {
    // Items area 2..146: four rows of 36 end exactly at its bottom.
    TbsSkinOfficeListBox* L = MakeList(Rows(6));
    L->SetItemHeight(36);
    L->SetItemIndex(3);
    EXPECT_EQ(L->ScrollOffset(), 0);
}

TEST_F(TOfficeListTest, PlainRowColours) {
    TbsSkinOfficeListBox* L = MakeList({{"", true}, {""}, {"", false, false}, {""}});
    L->SetShowLines(true);
    L->SetItemIndex(1);
    const struct {
        int Row, Y;
        TColor Colour;
    } Probes[] = {{0, 10, clBtnShadow},
                  {1, 10, clHighlight},
                  {2, 10, clWindow},
                  {3, 10, clWindow},
                  {3, 29, clBtnFace}};
    for (auto P : Probes) {
        const TRect R = L->Items()->Items(P.Row)->ItemRect;
        EXPECT_EQ(PixelOf(L, R.Right - 3, R.Top + P.Y), Rgb(P.Colour)) << P.Row << "," << P.Y;
    }
}

// A "listbox" element with flat row pictures and three text colours, a
// "resizetoolpanel" element, the button-text colour, and, when asked, a
// "menuheader" and a "label" element in colours of their own.
testskin::TTestSkin OfficeSkin(bool MenuHeader, bool Label) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("office.bmp", 96, 64, 24);
    P.AddRegion("frame", {0, 0, 30, 30});
    P.AddRegion("item", {30, 0, 60, 16});
    P.AddRegion("active", {30, 16, 60, 32});
    P.AddRegion("focus", {30, 32, 60, 48});
    P.AddRegion("panel", {60, 0, 90, 30});
    P.AddRegion("menuheader", {60, 30, 90, 45});
    P.AddRegion("label", {60, 45, 90, 60});
    using testskin::operator+;
    Skin.AddControl("listbox", "listbox",
                    testskin::NinePartKeys(P, 1, "frame", 3) +
                        testskin::TKeys{"itemrect=30,0,60,16", "activeitemrect=30,16,60,32",
                                        "focusitemrect=30,32,60,48", "itemtextrect=2,2,28,14",
                                        "fontcolor=255", "activefontcolor=65280",
                                        "focusfontcolor=16711680"});
    Skin.AddControl("panel", "resizetoolpanel", testskin::NinePartKeys(P, 1, "panel", 3));
    if (MenuHeader)
        Skin.AddControl("label", "menuheader",
                        testskin::NinePartKeys(P, 1, "menuheader", 2) +
                            testskin::TKeys{"fontcolor=16776960"});
    if (Label)
        Skin.AddControl("label", "label",
                        testskin::NinePartKeys(P, 1, "label", 2) +
                            testskin::TKeys{"fontcolor=16776960"});
    Skin.SetRecord("SKINCOLORS", {"cbtnface=13158600", "cbtntext=8388736", "cwindow=16777215",
                                  "cwindowtext=0", "chighlight=12615680", "chighlighttext=16777215",
                                  "cbtnhighlight=15790320", "cbtnshadow=8421504"});
    return Skin;
}

// Skinned rows write in the "listbox" element's colour, or in the button
// text colour under another element's name; the active row stands on the
// active or focused row picture in that picture's text colour; headers come
// from "menuheader", else "label", else are not drawn and keep their place.
TEST_F(TOfficeListTest, SkinnedRowColoursAndHeaderFallbacks) {
    const struct {
        const char* Name;
        bool MenuHeader, Label;
        TColor RowText;
        const char* Header; // region under the header row, or "" for none
    } Cases[] = {{"listbox", true, true, TColor(255), "menuheader"},
                 {"resizetoolpanel", false, true, TColor(8388736), "label"},
                 {"listbox", false, false, TColor(255), ""}};
    for (const auto& Case : Cases) {
        const testskin::TTestSkin Skin = OfficeSkin(Case.MenuHeader, Case.Label);
        TbsSkinData* SD = LoadSkin(Skin);
        TbsSkinOfficeListBox* L = MakeList({{"HHHH", true}, {"WWWW"}, {"WWWW"}});
        L->SetSkinDataName(Case.Name);
        L->SetSkinData(SD);
        L->SetItemIndex(2);
        const TRect Header = L->Items()->Items(0)->ItemRect;
        const TRect Row = L->Items()->Items(1)->ItemRect;
        const TRect Active = L->Items()->Items(2)->ItemRect;
        const auto& Pic = Skin.Picture("office.bmp");
        EXPECT_TRUE(TextInkIs(L, Row, Rgb(Case.RowText))) << Case.Name;
        EXPECT_EQ(PixelOf(L, Active.Right - 4, Active.Top + 1), Pic.ColourOf("active"))
            << Case.Name;
        EXPECT_TRUE(TextInkIs(L, Active, Rgb(TColor(65280)))) << Case.Name;
        EXPECT_FALSE(TextInkIs(L, Row, Rgb(TColor(65280)))) << Case.Name;
        EXPECT_EQ(Row.Top, Header.Bottom) << Case.Name;
        const std::uint32_t UnderHeader = PixelOf(L, Header.Right - 3, Header.Top + 1);
        if (*Case.Header)
            EXPECT_EQ(UnderHeader, Pic.ColourOf(Case.Header)) << Case.Name;
        else
            for (const char* Region : {"menuheader", "label"})
                EXPECT_NE(UnderHeader, Pic.ColourOf(Region)) << Case.Name;
        Focus(L);
        EXPECT_EQ(PixelOf(L, Active.Right - 4, Active.Top + 1), Pic.ColourOf("focus")) << Case.Name;
        EXPECT_TRUE(TextInkIs(L, Active, Rgb(TColor(16711680)))) << Case.Name;
        delete L;
    }
}

// With lines, a skinned active row is its row picture to the bottom (no line
// under it) while other rows get the shadow line; a disabled row made active
// looks active in the plain look and like any disabled row when skinned.
TEST_F(TOfficeListTest, ActiveRowsWithLinesAndDisabledActiveRows) {
    const testskin::TTestSkin Skin = OfficeSkin(true, true);
    TbsSkinData* SD = LoadSkin(Skin);
    TbsSkinOfficeListBox* L = MakeList({{"a"}, {"b", false, false}, {"c"}});
    L->SetShowLines(true);
    L->SetItemIndex(2);
    const auto Bottom = [&](int Row) {
        const TRect R = L->Items()->Items(Row)->ItemRect;
        return PixelOf(L, R.Right - 4, R.Bottom - 1);
    };
    const auto Middle = [&](int Row) {
        const TRect R = L->Items()->Items(Row)->ItemRect;
        return PixelOf(L, R.Right - 4, (R.Top + R.Bottom) / 2);
    };
    L->SetSkinData(SD);
    const auto& Pic = Skin.Picture("office.bmp");
    EXPECT_EQ(Bottom(2), Pic.ColourOf("active"));
    EXPECT_EQ(Bottom(0), Rgb(TColor(8421504)));
    L->SetItemIndex(1);
    EXPECT_NE(Middle(1), Pic.ColourOf("active"));
    EXPECT_EQ(Middle(1), Middle(0));
    L->SetSkinData(nullptr);
    L->ChangeSkinData();
    EXPECT_EQ(Middle(1), Rgb(clHighlight));
}

} // namespace
