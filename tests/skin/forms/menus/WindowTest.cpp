// The popup window: keys, measuring, placement against the work area and
// scrolling.
#include "tests/skin/forms/menus/MenusFixture.h"

namespace menus {
namespace {

class WindowTest : public MenusFixture {
protected:
    TbsSkinPopupWindow* Open(TPopupMenu* M, TRect R, bool PopupUp = false) {
        Chain->Popup(nullptr, nullptr, 0, R, M->Items(), PopupUp);
        return Window();
    }
};

struct TKeyCase {
    const char* Name;
    std::vector<std::string> Captions;
    int Disabled; // index of a disabled item, -1 none
    int Start;    // active item before the key
    WORD Key;
    int Expected;
};

class KeysTest : public WindowTest, public testing::WithParamInterface<TKeyCase> {};

TEST_P(KeysTest, MovesTheActiveItem) {
    const TKeyCase& C = GetParam();
    TPopupMenu* M = MakeMenu(C.Captions);
    if (C.Disabled >= 0)
        M->Items()->Items(C.Disabled)->SetEnabled(false);
    TbsSkinPopupWindow* W = Open(M, {300, 300, 300, 300});
    if (W->ActiveItem != C.Start) {
        W->Item(W->ActiveItem)->MouseLeave();
        W->ActiveItem = C.Start;
        W->Item(C.Start)->MouseEnter(true);
    }
    W->PopupKeyDown(C.Key);
    EXPECT_EQ(W->ActiveItem, C.Expected);
    EXPECT_TRUE(W->Item(C.Expected)->Active);
    EXPECT_TRUE(Chain->Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeysTest,
    testing::Values(TKeyCase{"UpOnFirstWraps", {"One", "Two", "Three"}, -1, 0, VK_UP, 2},
                    TKeyCase{"DownOnLastWraps", {"One", "Two", "Three"}, -1, 2, VK_DOWN, 0},
                    TKeyCase{"UpAfterSeparatorStays", {"-", "One", "Two"}, -1, 1, VK_UP, 1},
                    TKeyCase{"DownBeforeDisabledStays", {"One", "Two", "Three"}, 2, 1, VK_DOWN, 1},
                    TKeyCase{"DownSkipsSeparator", {"One", "-", "Two"}, -1, 0, VK_DOWN, 2},
                    TKeyCase{"UpSkipsDisabled", {"One", "Two", "Three"}, 1, 2, VK_UP, 0},
                    TKeyCase{"LeftInTheRootDoesNothing", {"One", "Two"}, -1, 1, VK_LEFT, 1},
                    TKeyCase{"RightOnAPlainItemDoesNothing", {"One", "Two"}, -1, 0, VK_RIGHT, 0}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(WindowTest, NewWindowHighlightsItsFirstUsableItem) {
    TPopupMenu* M = MakeMenu({"-", "One", "Two"});
    M->Items()->Items(1)->SetEnabled(false);
    TbsSkinPopupWindow* W = Open(M, {300, 300, 300, 300});
    EXPECT_EQ(W->ActiveItem, 2);
    EXPECT_TRUE(W->Item(2)->WaitCommand);
}

TEST_F(WindowTest, HoverReachesTheScreen) {
    TPopupMenu* M = MakeMenu({"One", "Two", "Three"});
    TbsSkinPopupWindow* W = Open(M, {300, 300, 300, 300});
    const auto ScreenAt = [&](int Item) {
        Pump();
        FlushPresents();
        const TRect& R = W->Item(Item)->ObjectRect;
        return Headless.ScreenPixel(W->Left() + (R.Left + R.Right) / 2, W->Top() + R.Top + 2) &
               0xFFFFFF;
    };
    EXPECT_EQ(ScreenAt(0), 0xB6BDD2u);
    MoveTo(CentreOf(W, 1));
    RunFor(60);
    EXPECT_EQ(W->ActiveItem, 1);
    EXPECT_EQ(ScreenAt(1), 0xB6BDD2u);
    EXPECT_NE(ScreenAt(0), 0xB6BDD2u);
}

TEST_F(WindowTest, MnemonicOfADisabledItemGivesWayToTheEnabledOne) {
    TPopupMenu* M = MakeMenu({"&Alpha", "&Apple"});
    M->Items()->Items(0)->SetEnabled(false);
    Open(M, {300, 300, 300, 300})->PopupKeyDown('A');
    EXPECT_EQ(Log, (TLog{"form:1228", "click &Apple"}));
    EXPECT_FALSE(Chain->Visible());
}

TEST_F(WindowTest, RightOpensEscapeAndLeftCloseOnlyTheSubmenu) {
    TPopupMenu* M = MakeMenu({"One", "More"});
    AddItem(M->Items()->Items(1), "Inner");
    for (WORD Close : {WORD(VK_ESCAPE), WORD(VK_LEFT)}) {
        TbsSkinPopupWindow* W = Open(M, {300, 300, 300, 300});
        W->PopupKeyDown(VK_DOWN);
        W->PopupKeyDown(VK_RIGHT);
        ASSERT_EQ(Chain->PopupCount(), 2);
        EXPECT_TRUE(W->Item(1)->Down);
        Window(1)->PopupKeyDown(Close);
        EXPECT_EQ(Chain->PopupCount(), 1);
        EXPECT_TRUE(Chain->Visible());
        EXPECT_FALSE(W->Item(1)->Down);
        EXPECT_EQ(W->ActiveItem, 1);
    }
    Window()->PopupKeyDown(VK_ESCAPE);
    EXPECT_FALSE(Chain->Visible());
}

TEST_F(WindowTest, PlainSizeFollowsTheWidestTextAndTheItemHeights) {
    TPopupMenu* M = MakeMenu({"One", "-", "Two"});
    TbsSkinPopupWindow* W = Open(M, {300, 300, 300, 300});
    EXPECT_EQ(W->Height(), 20 + 4 + 20 + 4);
    EXPECT_EQ(W->NewItemsRect, (TRect{2, 2, W->Width() - 2, W->Height() - 2}));
    EXPECT_EQ(W->GlyphWidth, 19);
    EXPECT_EQ(W->Item(1)->ObjectRect, (TRect{2, 22, W->Width() - 2, 26}));
    // Below the point, its left edge on it.
    EXPECT_EQ(W->Left(), 300);
    EXPECT_EQ(W->Top(), 300);
}

TEST_F(WindowTest, LimitOfItemsScrollsWithTheKeys) {
    Chain->MaxMenuItemsInWindow = 5;
    TPopupMenu* M = MakeMenu({"1", "2", "3", "4", "5", "6", "7", "8"});
    TbsSkinPopupWindow* W = Open(M, {300, 300, 300, 300});
    EXPECT_EQ(W->Height(), 5 * 20 + 20 + 4);
    EXPECT_TRUE(W->Scroll);
    EXPECT_TRUE(W->Scroll2);
    EXPECT_EQ(W->Top(), 300); // placed like an unscrolled window
    EXPECT_EQ(W->VisibleCount, 5);
    for (int i = 0; i < 4; ++i)
        W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->ActiveItem, 4);
    W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->VisibleStartIndex, 1);
    EXPECT_EQ(W->ActiveItem, 5);
    W->PopupKeyDown(VK_DOWN);
    W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->ActiveItem, 7);
    W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(W->ActiveItem, 0);
    EXPECT_EQ(W->VisibleStartIndex, 0);
}

TEST_F(WindowTest, MenuTallerThanTheWorkAreaScrollsOnItsMarker) {
    std::vector<std::string> Captions;
    for (int i = 0; i < 60; ++i)
        Captions.push_back("Item " + std::to_string(i));
    TPopupMenu* M = MakeMenu(Captions);
    AddItem(M->Items()->Items(0), "Inner");
    TbsSkinPopupWindow* W = Open(M, {300, 500, 340, 520});
    EXPECT_EQ(W->Height(), 1040);
    EXPECT_EQ(W->Top(), 0);
    EXPECT_EQ(W->Left(), 341); // beside the rectangle
    EXPECT_TRUE(W->Scroll);
    EXPECT_FALSE(W->Scroll2);
    W->PopupKeyDown(VK_RIGHT);
    ASSERT_EQ(Chain->PopupCount(), 2);

    const TPoint Marker{W->Left() + W->Width() / 2, W->Top() + W->NewItemsRect.Bottom - 5};
    MoveTo(Marker);
    RunFor(50);
    EXPECT_EQ(W->ScrollCode, 2);
    EXPECT_EQ(Chain->PopupCount(), 1); // the submenu closed
    const int Start = W->VisibleStartIndex;
    RunFor(300);
    EXPECT_EQ(W->VisibleStartIndex, Start + 3);
    auto B = Paint(W);
    EXPECT_EQ(Pixel(B.get(), W->Width() / 2, W->Height() - 7), Rgb(clBtnText));
}

struct TPlaceCase {
    const char* Name;
    TRect R;
    bool PopupUp;
    int Items;
    int ExpectLeft; // -1: beside R on the right, -3: against the right edge
    int ExpectTop;  // -1: above R, -2: work area bottom - H
};

class PlacementTest : public WindowTest, public testing::WithParamInterface<TPlaceCase> {};

TEST_P(PlacementTest, PlacesTheWindowAgainstTheWorkArea) {
    const TPlaceCase& C = GetParam();
    std::vector<std::string> Captions(C.Items, "Item");
    TbsSkinPopupWindow* W = Open(MakeMenu(Captions), C.R, C.PopupUp);
    const int H = W->Height();
    const int Top = C.ExpectTop == -1 ? C.R.Top - H : C.ExpectTop == -2 ? 1040 - H : C.ExpectTop;
    const int Left = C.ExpectLeft == -1   ? C.R.Right + 1
                     : C.ExpectLeft == -3 ? 1920 - W->Width()
                                          : C.ExpectLeft;
    EXPECT_EQ(W->Top(), Top);
    EXPECT_EQ(W->Left(), Left);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlacementTest,
    testing::Values(
        // Below a button near the bottom: above it.
        TPlaceCase{"AboveWhenBelowDoesNotFit", {100, 1000, 180, 1020}, false, 5, 100, -1},
        // Fitting neither below nor above (upper half): covers, moves beside.
        TPlaceCase{"CoversAndMovesBeside", {100, 400, 180, 420}, false, 40, -1, -2},
        TPlaceCase{"PopupUpAbove", {100, 500, 180, 520}, true, 5, 100, -1},
        TPlaceCase{"KeptInsideTheRightEdge", {1900, 300, 1900, 300}, false, 3, -3, 300}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(WindowTest, SubmenuAtTheBottomOpensUpwardAndToTheLeft) {
    TPopupMenu* M = MakeMenu({"1", "2", "3", "More"});
    TMenuItem* More = M->Items()->Items(3);
    for (int i = 0; i < 10; ++i)
        AddItem(More, "Inner");
    TbsSkinPopupWindow* W = Open(M, {1880, 900, 1880, 900});
    W->Item(3)->MouseDown(0, 0);
    ASSERT_EQ(Chain->PopupCount(), 2);
    TbsSkinPopupWindow* Sub = Window(1);
    const TRect Parent = W->Item(3)->ObjectRect;
    EXPECT_EQ(Sub->Top() + Sub->Height(), W->Top() + Parent.Bottom + Sub->NewItemsRect.Top);
    EXPECT_EQ(Sub->Left() + Sub->Width(), W->Left() + Parent.Left - 1);
}

} // namespace
} // namespace menus
