// The skinned list box and its inner list: external bars kept in step with
// the native scroll state, heights, the horizontal offset, tab stops, keys
// and wheel, the painting answers, item painting in both looks, and the
// caption buttons with their auto-repeat on the manual clock.
#include "platform/gdi/ImageList.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/lists/ListsTestSupport.h"

namespace {

using namespace liststest;

// A skin whose "listbox" element has item pictures in distinct flat
// colours, so a pixel names the picture it came from.
testskin::TTestSkin ItemSkin(bool EmptyItemRect = false) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("lists.bmp", 64, 64, 24);
    P.AddRegion("frame", {0, 0, 30, 30});
    P.AddRegion("item", {30, 0, 60, 16});
    P.AddRegion("active", {30, 16, 60, 32});
    P.AddRegion("focus", {30, 32, 60, 48});
    using testskin::RectText;
    using testskin::operator+;
    Skin.AddControl(
        "listbox", "listbox",
        testskin::NinePartKeys(P, 1, "frame", 3) +
            testskin::TKeys{
                "itemrect=" + RectText(EmptyItemRect ? TRect{30, 0, 60, 0} : TRect{30, 0, 60, 16}),
                "activeitemrect=30,16,60,32", "focusitemrect=30,32,60,48", "itemtextrect=2,2,28,14",
                "fontcolor=255", "activefontcolor=65280", "focusfontcolor=16711680",
                "vscrollbarname=myv", "hscrollbarname=myh", "bothhscrollbarname=myboth"});
    return Skin;
}

class TListBoxTest : public TListsTest {
protected:
    TbsSkinListBox* MakeList(int Items, int Height = 124) {
        auto* L = new TbsSkinListBox(Form);
        L->SetParent(Form);
        L->SetBounds(20, 20, 150, Height);
        for (int I = 0; I < Items; ++I)
            L->Items()->Add("item" + std::to_string(I));
        Pump();
        return L;
    }
    static bool HasBar(TbsSkinListBox* L) { return L->ScrollBar && L->ScrollBar->Visible(); }
};

TEST_F(TListBoxTest, MainBarComesWhenRowsOverflowAndGoesWithThem) {
    TbsSkinListBox* L = MakeList(4); // six rows of 20 visible
    EXPECT_FALSE(HasBar(L));
    for (int I = 4; I < 7; ++I)
        L->Items()->Add("more");
    ASSERT_TRUE(HasBar(L));
    EXPECT_EQ(L->ScrollBar->Min(), 0);
    EXPECT_EQ(L->ScrollBar->Max(), 6);
    EXPECT_EQ(L->ScrollBar->PageSize(), 6);
    L->Clear();
    EXPECT_FALSE(HasBar(L));
}

TEST_F(TListBoxTest, RowCountFitsTheHeightAndKeepsTheBarAwayUntilMoreItems) {
    TbsSkinListBox* L = MakeList(5, 60);
    L->SetRowCount(5);
    EXPECT_EQ(L->Height(), L->CalcHeight(5));
    EXPECT_FALSE(HasBar(L));
    L->Items()->Add("sixth");
    EXPECT_TRUE(HasBar(L));
}

TEST_F(TListBoxTest, CalcHeightCountsFrameAndCaption) {
    TbsSkinListBox* L = MakeList(0);
    EXPECT_EQ(L->CalcHeight(5), 104);
    L->SetCaptionMode(true);
    EXPECT_EQ(L->CalcHeight(5), 124);
}

TEST_F(TListBoxTest, MultiColumnListHasAHorizontalMainBarPagedByColumns) {
    TbsSkinListBox* L = MakeList(30, 204); // ten rows
    L->SetColumns(2);
    ASSERT_TRUE(HasBar(L));
    EXPECT_EQ(L->ScrollBar->Kind(), sbHorizontal);
    EXPECT_EQ(L->ScrollBar->PageSize(), 2);
}

TEST_F(TListBoxTest, HorizontalExtentBarShiftsTheContentAndGoesWhenSwitchedOff) {
    TbsSkinListBox* L = MakeList(3);
    L->Items()->Add(std::string(60, 'W'));
    L->SetHorizontalExtent(true);
    ASSERT_NE(L->HScrollBar, nullptr);
    EXPECT_EQ(L->HScrollBar->SmallChange(), L->ListBoxCanvas()->TextWidth("0"));
    // The long row's pixels before and after: its content moves 30 left.
    const TRect Row = L->ListBox->ItemRect(3);
    const auto Strip = [&](int Left) {
        std::vector<std::uint32_t> Pixels;
        for (int Y = Row.Top; Y < Row.Bottom; ++Y)
            for (int X = Left; X < Left + 60; ++X)
                Pixels.push_back(PixelOf(L->ListBox, X, Y));
        return Pixels;
    };
    const std::vector<std::uint32_t> Before = Strip(40);
    L->HScrollBar->SetPosition(30);
    EXPECT_EQ(L->ListBox->FHorizontalExtentValue, 30);
    EXPECT_EQ(Strip(10), Before);
    EXPECT_NE(Strip(40), Before);
    // Only the horizontal bar in the plain look: the list ends at its top.
    EXPECT_EQ(L->ListBox->Top() + L->ListBox->Height(), L->Height() - 20);
    L->SetHorizontalExtent(false);
    EXPECT_EQ(L->HScrollBar, nullptr);
    EXPECT_EQ(L->ListBox->FHorizontalExtentValue, 0);
}

TEST_F(TListBoxTest, WideningEatsTheOffsetAndNarrowingAddsToIt) {
    TbsSkinListBox* L = MakeList(3);
    TbsListBox* In = L->ListBox;
    const int W = In->Width();
    const struct { int Delta, Expected; } Rows[] = {{30, 20}, {80, 0}, {-10, 60}};
    for (auto Row : Rows) {
        In->FHorizontalExtentValue = 50;
        In->SetBounds(In->Left(), In->Top(), W, In->Height());
        In->FHorizontalExtentValue = 50;
        In->SetBounds(In->Left(), In->Top(), W + Row.Delta, In->Height());
        EXPECT_EQ(In->FHorizontalExtentValue, Row.Expected) << Row.Delta;
    }
}

TEST_F(TListBoxTest, SortedRemovesTheBarFirstAndTheNextChangeBringsItBack) {
    TbsSkinListBox* L = MakeList(10);
    ASSERT_TRUE(HasBar(L));
    L->SetSorted(true);
    EXPECT_EQ(L->ScrollBar, nullptr);
    L->Items()->Add("again");
    EXPECT_TRUE(HasBar(L));
}

TEST_F(TListBoxTest, TabStopsAreDigitLinesOnly) {
    const std::pair<const char*, int> Rows[] = {{"40", 40}, {"x", 0},  {"120", 120},
                                                {"", 0},    {"4a", 0}, {"-4", 0}};
    for (auto [Text, Stop] : Rows)
        EXPECT_EQ(GetTabStopValue(Text), Stop) << Text;
}

TEST_F(TListBoxTest, RightKeyMovesTheSelectionOrScrollsTheHorizontalBar) {
    TbsSkinListBox* L = MakeList(3);
    L->SetItemIndex(0);
    Focus(L->ListBox);
    Key(VK_RIGHT);
    EXPECT_EQ(L->ItemIndex(), 1);
    L->Items()->Add(std::string(60, 'W'));
    L->SetHorizontalExtent(true);
    ASSERT_NE(L->HScrollBar, nullptr);
    Key(VK_RIGHT);
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_EQ(L->HScrollBar->Position(), L->HScrollBar->SmallChange());
}

TEST_F(TListBoxTest, OneWheelMessageScrollsOneLineWhateverItsDelta) {
    TbsSkinListBox* L = MakeList(20);
    ASSERT_TRUE(HasBar(L));
    std::vector<WPARAM> Scrolls;
    TWndMethod Old = L->ListBox->WindowProc;
    L->ListBox->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_VSCROLL)
            Scrolls.push_back(M.WParam & 0xFFFF);
        Old(M);
    };
    SendMessage(L->ListBox->Handle(), WM_MOUSEWHEEL, WPARAM(std::uint32_t(-360) << 16), 0);
    EXPECT_EQ(Scrolls, std::vector<WPARAM>{SB_LINEDOWN});
    L->ListBox->WindowProc = Old;
}

TEST_F(TListBoxTest, PaintToDCAnswers) {
    TbsSkinListBox* L = MakeList(0);
    const HWND W = L->ListBox->Handle();
    EXPECT_EQ(SendMessage(W, WM_NCPAINTTODC, 0, 0), 12851);
    TBitmap B;
    B.SetSize(L->ListBox->Width(), L->ListBox->Height());
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect({0, 0, B.Width(), B.Height()});
    EXPECT_EQ(SendMessage(W, WM_PAINTBGTODC, WPARAM(B.Canvas()->Handle()), 16802), 16802);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(5, 5)), Rgb(clWindow));
    L->Items()->Add("x");
    EXPECT_NE(SendMessage(W, WM_PAINTBGTODC, 0, 16802), 16802);
}

TEST_F(TListBoxTest, PaintsTheRowsFromTheTopIndexIncludingThePartlyVisibleOne) {
    TbsSkinListBox* L = MakeList(10);
    L->ListBox->SetBounds(L->ListBox->Left(), L->ListBox->Top(), L->ListBox->Width(), 95);
    L->SetTopIndex(2);
    std::vector<int> Drawn;
    L->OnDrawItem = [&](TCanvas*, int Index, int, int, TRect, TOwnerDrawState) {
        Drawn.push_back(Index);
    };
    L->ListBox->Repaint();
    Pump();
    EXPECT_EQ(Drawn, (std::vector<int>{2, 3, 4, 5, 6}));
}

// Without an own ImageIndex a row shows the image of its number; a row past
// the images shows none but keeps its text where the others have theirs.
TEST_F(TListBoxTest, RowsPastTheImagesKeepTheImageColumn) {
    TbsSkinListBox* L = MakeList(9, 204);
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
    Pump();
    auto Row = [&](int Index) {
        const int Y = Index * 20 + 10;
        int Red = 0, FirstInk = -1;
        for (int X = 0; X < 120; ++X) {
            const std::uint32_t P = PixelOf(L->ListBox, X, Y);
            Red += P == 0xFF0000u ? 1 : 0;
            if (FirstInk < 0 && P != 0xFF0000u && P != Rgb(clWindow))
                FirstInk = X;
        }
        return std::pair{Red, FirstInk};
    };
    const auto [Red0, Text0] = Row(0);
    const auto [Red7, Text7] = Row(7);
    EXPECT_GT(Red0, 10);
    EXPECT_EQ(Red7, 0);
    EXPECT_GE(Text7, 18);
    EXPECT_NEAR(Text7, Text0, 2);
}

TEST_F(TListBoxTest, PlainLookColours) {
    TbsSkinListBox* Empty = MakeList(0);
    EXPECT_EQ(PixelOf(Empty->ListBox, 10, 10), Rgb(clWindow));
    EXPECT_EQ(PixelOf(Empty->ListBox, 10, Empty->ListBox->Height() - 2), Rgb(clWindow));
    delete Empty;
    TbsSkinListBox* L = MakeList(3);
    L->SetItemIndex(1);
    EXPECT_EQ(PixelOf(L->ListBox, 140, 30), Rgb(clHighlight));
    EXPECT_EQ(PixelOf(L->ListBox, 140, 10), Rgb(clWindow));
    EXPECT_TRUE(TextInkIs(L->ListBox, {0, 20, 60, 40}, Rgb(clHighlightText)));
    EXPECT_TRUE(TextInkIs(L->ListBox, {0, 0, 60, 20}, Rgb(clWindowText)));
}

// Focused, the plain selected row carries the dotted focus rectangle on its
// edges; its inside and the unfocused row stay in the selection colour.
TEST_F(TListBoxTest, PlainFocusedRowShowsTheFocusRectangle) {
    TbsSkinListBox* L = MakeList(3);
    L->SetItemIndex(1);
    const auto Dotted = [&](int Y) {
        int N = 0;
        for (int X = 60; X < 120; ++X)
            N += PixelOf(L->ListBox, X, Y) != Rgb(clHighlight) ? 1 : 0;
        return N;
    };
    EXPECT_EQ(Dotted(20), 0);
    EXPECT_EQ(Dotted(39), 0);
    Focus(L->ListBox);
    ASSERT_TRUE(L->ListBox->Focused());
    // Every other pixel of the top and bottom edges.
    EXPECT_NEAR(Dotted(20), 30, 1);
    EXPECT_NEAR(Dotted(39), 30, 1);
    EXPECT_EQ(Dotted(30), 0);
    EXPECT_NE(PixelOf(L->ListBox, 0, 30), Rgb(clHighlight));
}

TEST_F(TListBoxTest, SkinnedSelectedRowShowsTheFocusOrTheActivePicture) {
    testskin::TTestSkin Skin = ItemSkin();
    TbsSkinData* SD = LoadSkin(Skin);
    TbsSkinListBox* L = MakeList(3);
    L->SetSkinData(SD);
    L->SetItemIndex(1);
    Pump();
    ASSERT_EQ(L->ListBox->ItemHeight(), 16);
    const auto& P = Skin.Picture("lists.bmp");
    const TRect Row0{0, 0, 60, 16}, Row1{0, 16, 60, 32};
    EXPECT_EQ(PixelOf(L->ListBox, 1, 16 + 1), P.ColourOf("active"));
    EXPECT_EQ(PixelOf(L->ListBox, 1, 1), P.ColourOf("item"));
    EXPECT_TRUE(TextInkIs(L->ListBox, Row0, Rgb(TColor(255))));
    EXPECT_TRUE(TextInkIs(L->ListBox, Row1, Rgb(TColor(65280))));
    Focus(L->ListBox);
    EXPECT_EQ(PixelOf(L->ListBox, 1, 16 + 1), P.ColourOf("focus"));
    EXPECT_TRUE(TextInkIs(L->ListBox, Row1, Rgb(TColor(16711680))));
    EXPECT_FALSE(TextInkIs(L->ListBox, Row1, Rgb(TColor(65280))));
}

TEST_F(TListBoxTest, SkinChangeSetsItemHeightAndBarNames) {
    TbsSkinData* SD = LoadSkin(ItemSkin());
    TbsSkinData* Hollow = LoadSkin(ItemSkin(true));
    TbsSkinListBox* L = MakeList(20);
    L->Items()->Add(std::string(60, 'W'));
    L->SetHorizontalExtent(true);
    ASSERT_TRUE(HasBar(L));
    ASSERT_NE(L->HScrollBar, nullptr);
    L->SetSkinData(SD);
    EXPECT_EQ(L->ListBox->ItemHeight(), 16);
    EXPECT_EQ(L->ScrollBar->SkinDataName(), "myv");
    // With both bars the horizontal one takes the element's "both" bar.
    EXPECT_EQ(L->HScrollBar->SkinDataName(), "myboth");
    // An item picture without height keeps the plain item height.
    L->SetSkinData(Hollow);
    EXPECT_EQ(L->ListBox->ItemHeight(), 20);
    L->SetSkinData(nullptr);
    L->ChangeSkinData();
    EXPECT_EQ(L->ListBox->ItemHeight(), 20);
    EXPECT_EQ(L->ScrollBar->SkinDataName(), "");
    EXPECT_EQ(L->HScrollBar->SkinDataName(), "");
}

TEST_F(TListBoxTest, ElementWithoutItemPicturesStillShowsItsRows) {
    testskin::TTestSkin Skin = ItemSkin(true);
    TbsSkinData* SD = LoadSkin(Skin);
    TbsSkinListBox* L = MakeList(3);
    L->SetSkinData(SD);
    L->SetItemIndex(1);
    Pump();
    ASSERT_EQ(L->ListBox->ItemHeight(), 20);
    EXPECT_EQ(PixelOf(L->ListBox, 140, 30), Rgb(clHighlight));
    EXPECT_EQ(PixelOf(L->ListBox, 140, 10), Skin.Picture("lists.bmp").ColourOf("frame"));
}

// ---------------------------------------------------------------- caption buttons

class TCaptionTest : public TListBoxTest {
protected:
    TbsSkinListBox* MakeCaptioned(int Items) {
        TbsSkinListBox* L = MakeList(Items);
        L->SetBounds(20, 20, 120, 124);
        L->SetCaptionMode(true);
        Pump();
        return L;
    }
    TPoint Centre(TbsSkinListBox* L, int I) {
        const TRect R = L->Buttons[I].R;
        return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
};

TEST_F(TCaptionTest, PlainButtonsSitAtTheRightOfTheCaption) {
    TbsSkinListBox* L = MakeCaptioned(3);
    EXPECT_EQ(L->Buttons[0].R, (TRect{101, 2, 118, 18}));
    EXPECT_EQ(L->Buttons[1].R, (TRect{84, 2, 101, 18}));
    EXPECT_EQ(L->Buttons[2].R, (TRect{67, 2, 84, 18}));
    L->SetDefaultCaptionHeight(12);
    Pump();
    EXPECT_EQ(L->Buttons[0].R.Right - L->Buttons[0].R.Left, 9);
}

TEST_F(TCaptionTest, DownButtonStepsOnReleaseAndRepeatsWhileHeld) {
    TbsSkinListBox* L = MakeCaptioned(10);
    L->SetItemIndex(3);
    const TPoint P = Centre(L, 1);
    ClickAt(L, P.X, P.Y);
    EXPECT_EQ(L->ItemIndex(), 4);

    L->SetItemIndex(3);
    const std::uint32_t T0 = Clock.Now();
    PressAt(L, P.X, P.Y);
    for (auto [At, Index] : {std::pair{500u, 3}, std::pair{600u, 4}, std::pair{700u, 5}}) {
        Headless.RunUntil(T0 + At);
        EXPECT_EQ(L->ItemIndex(), Index) << At;
    }
    Headless.RunUntil(T0 + 750);
    ReleaseAt(L, P.X, P.Y);
    EXPECT_EQ(L->ItemIndex(), 6);

    L->SetItemIndex(9);
    ClickAt(L, P.X, P.Y);
    EXPECT_EQ(L->ItemIndex(), 9);
}

TEST_F(TCaptionTest, RepeatPausesOffTheButtonAndTheReleaseStillSteps) {
    TbsSkinListBox* L = MakeCaptioned(20);
    L->SetItemIndex(15);
    const TPoint P = Centre(L, 0);
    PressAt(L, P.X, P.Y);
    MoveTo(L, 10, 80);
    RunFor(2000);
    EXPECT_EQ(L->ItemIndex(), 15);
    ReleaseAt(L, 10, 80);
    EXPECT_EQ(L->ItemIndex(), 14);
}

TEST_F(TCaptionTest, AssignedEventReplacesTheStepOnlyWhenReleasedOverTheButton) {
    TbsSkinListBox* L = MakeCaptioned(10);
    int Ups = 0;
    L->OnUpButtonClick = [&](TObject*) { ++Ups; };
    L->SetItemIndex(5);
    const TPoint P = Centre(L, 0);
    ClickAt(L, P.X, P.Y);
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(L->ItemIndex(), 5);
    PressAt(L, P.X, P.Y);
    ReleaseAt(L, 10, 80);
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(L->ItemIndex(), 4);
}

TEST_F(TCaptionTest, LeavingTheControlClearsTheHotButton) {
    TbsSkinListBox* L = MakeCaptioned(3);
    const TPoint P = Centre(L, 2);
    MoveTo(L, P.X, P.Y);
    EXPECT_TRUE(L->Buttons[2].MouseIn);
    MoveTo(Form, 400, 300);
    for (const auto& B : L->Buttons)
        EXPECT_FALSE(B.MouseIn);
}

// Skinned with the caption buttons switched off, a skin that names a
// disabled-buttons picture shows it over the buttons' area (which follows
// the right edge), and a click there does nothing.
TEST_F(TCaptionTest, SkinnedWithoutButtonsShowsTheDisabledButtonsPicture) {
    testskin::TTestSkin Skin = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("caption.bmp", 96, 64, 24);
    P.AddRegion("frame", {0, 0, 60, 40});
    P.AddRegion("disabled", {60, 10, 86, 24});
    Skin.AddControl("listbox", "listbox",
                    {"pictureindex=1", "skinrect=0,0,60,40", "lefttoppoint=3,20",
                     "righttoppoint=30,20", "leftbottompoint=3,37", "rightbottompoint=57,37",
                     "clientrect=3,20,57,37", "leftstretch=1", "topstretch=1", "rightstretch=1",
                     "bottomstretch=1", "captionrect=3,3,30,17", "upbuttonrect=48,3,57,17",
                     "downbuttonrect=39,3,48,17", "checkbuttonrect=31,3,39,17",
                     "buttonsarea=31,3,57,17", "disabledbuttonsrect=60,10,86,24"});
    TbsSkinData* SD = LoadSkin(Skin);
    TbsSkinListBox* L = MakeCaptioned(10);
    L->SetBounds(20, 20, 150, 124);
    L->SetSkinData(SD);
    L->SetShowCaptionButtons(false);
    L->SetItemIndex(5);
    int Ups = 0;
    L->OnUpButtonClick = [&](TObject*) { ++Ups; };
    Pump();
    // The area 31..57 of the 60-wide element, moved by the 90 pixels the
    // list is wider.
    const std::uint32_t Disabled = P.ColourOf("disabled");
    for (const TPoint At : {TPoint{122, 4}, TPoint{134, 10}, TPoint{146, 16}})
        EXPECT_EQ(PixelOf(L, At.X, At.Y), Disabled) << At.X;
    EXPECT_NE(PixelOf(L, 118, 10), Disabled);
    for (const auto& B : L->Buttons)
        EXPECT_TRUE(IsRectEmpty(&B.R));
    ClickAt(L, 143, 10);
    EXPECT_EQ(L->ItemIndex(), 5);
    EXPECT_EQ(Ups, 0);
}

} // namespace
