// The drawn items: the plain look by pixel, the glyph routines, the system
// menu glyphs, morphing, and skins with damaged elements.
#include "skin/model/bsSkinData.Objects.h"
#include "skin/model/bsUtils.Rects.h"
#include "tests/skin/forms/menus/MenusFixture.h"

#include <set>

namespace menus {
namespace {

class ItemsTest : public MenusFixture {};

// The pixels a routine draws on white, as (x, y).
std::set<std::pair<int, int>> Drawn(void (*Routine)(TCanvas*, int, int, TColor)) {
    TBitmap B;
    B.SetSize(16, 16);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 16, 16});
    Routine(B.Canvas(), 4, 4, clBlack);
    std::set<std::pair<int, int>> S;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (Rgb(B.Canvas()->Pixels(x, y)) == 0)
                S.insert({x - 4, y - 4});
    return S;
}

TEST(MenuGlyphs, DrawTheirLineListsWithoutEndPoints) {
    std::set<std::pair<int, int>> Arrow;
    for (int i = 0; i <= 3; ++i)
        for (int y = i; y < 7 - i; ++y)
            Arrow.insert({i, y});
    EXPECT_EQ(Drawn(DrawMenuSubArrow), Arrow);

    const auto Check = Drawn(DrawMenuCheckGlyph);
    for (int i = 0; i <= 2; ++i) {
        EXPECT_TRUE(Check.count({0, 5 - i})) << i;
        EXPECT_TRUE(Check.count({2, 7 - i})) << i;
        EXPECT_FALSE(Check.count({7, 2 - i})) << i; // the end point is left out
    }

    const auto Dot = Drawn(DrawMenuRadioDot);
    EXPECT_TRUE(Dot.count({3, 3}));
    for (const auto& [X, Y] : Dot) {
        EXPECT_GE(X, 0);
        EXPECT_LT(X, 6);
        EXPECT_GE(Y, 0);
        EXPECT_LT(Y, 6);
    }
}

TEST_F(ItemsTest, PlainLookPixels) {
    TPopupMenu* M = MakeMenu({"One", "-", "Off", "-Title-", "-Title-"});
    M->Items()->Items(2)->SetEnabled(false);
    M->Items()->Items(3)->SetEnabled(false);
    Chain->Popup(nullptr, nullptr, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    ASSERT_EQ(W->ActiveItem, 0);
    auto B = Paint(W);
    const int Wd = W->Width();
    // Window frame and the hovered first item.
    EXPECT_EQ(Pixel(B.get(), 0, 10), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(B.get(), 2, 2), 0x000080u);
    EXPECT_EQ(Pixel(B.get(), Wd - 3, 21), 0x000080u);
    EXPECT_EQ(Pixel(B.get(), 5, 5), 0xB6BDD2u);
    // The separator: image column, then the line at H div 2 from GW on.
    const TRect Sep = W->Item(1)->ObjectRect;
    EXPECT_EQ(Pixel(B.get(), Sep.Left + 5, Sep.Top + 2), Rgb(clBtnFace));
    EXPECT_EQ(Pixel(B.get(), Sep.Left + 19, Sep.Top + 2), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(B.get(), Sep.Left + 19, Sep.Top + 1), Rgb(clWindow));
    // A disabled caption draws in clBtnShadow on clWindow.
    const TRect Off = W->Item(2)->ObjectRect;
    std::set<std::uint32_t> Colours;
    for (int y = Off.Top; y < Off.Bottom; ++y)
        for (int x = Off.Left + 19; x < Off.Right; ++x)
            Colours.insert(Pixel(B.get(), x, y));
    // Smoothed text: the darkest caption pixel is the shadow colour's.
    EXPECT_GT(Colours.size(), 3u);
    EXPECT_NEAR(int(*Colours.begin() & 0xFF), int(Rgb(clBtnShadow) & 0xFF), 8);
    EXPECT_EQ(Pixel(B.get(), Off.Left + 3, Off.Top + 3), Rgb(clBtnFace));
    // The disabled header: clBtnShadow throughout, light text; the enabled
    // one is an ordinary item.
    const TRect Head = W->Item(3)->ObjectRect;
    EXPECT_EQ(Pixel(B.get(), Head.Left + 1, Head.Top + 1), Rgb(clBtnShadow));
    Colours.clear();
    for (int y = Head.Top; y < Head.Bottom; ++y)
        for (int x = Head.Left; x < Head.Right; ++x)
            Colours.insert(Pixel(B.get(), x, y));
    EXPECT_NEAR(int(*Colours.rbegin() & 0xFF), int(Rgb(clBtnHighlight) & 0xFF), 8);
    EXPECT_GT(Colours.size(), 3u);
    const TRect Plain = W->Item(4)->ObjectRect;
    EXPECT_EQ(Pixel(B.get(), Plain.Left + 3, Plain.Top + 3), Rgb(clBtnFace));
    EXPECT_EQ(Pixel(B.get(), Plain.Right - 3, Plain.Top + 3), Rgb(clWindow));
}

TEST_F(ItemsTest, CheckedItemsAndSystemMenuNamesGetTheirGlyphs) {
    TPopupMenu* M = MakeMenu({"Checked", "Radio", "Close", "Plain"});
    M->Items()->Items(0)->SetChecked(true);
    M->Items()->Items(1)->SetRadioItem(true);
    M->Items()->Items(1)->SetChecked(true);
    M->Items()->Items(2)->SetName("BSF_CLOSE");
    Chain->Popup(nullptr, nullptr, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    W->Item(0)->MouseLeave();
    auto B = Paint(W);
    auto GlyphPixels = [&](int Index) {
        const TRect R = W->Item(Index)->ObjectRect;
        int N = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Left + 19; ++x)
                N += Pixel(B.get(), x, y) == Rgb(clWindowText);
        return N;
    };
    EXPECT_GT(GlyphPixels(0), 10);
    EXPECT_GT(GlyphPixels(1), 10);
    EXPECT_GT(GlyphPixels(2), 10);
    EXPECT_EQ(GlyphPixels(3), 0);
}

TEST_F(ItemsTest, MorphingItemReachesTheActiveLookAndStops) {
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    TbsDataSkinMenuItem* MI = nullptr;
    for (auto& O : SD->ObjectList)
        if ((MI = dynamic_cast<TbsDataSkinMenuItem*>(O.get())))
            break;
    ASSERT_NE(MI, nullptr);
    MI->Morphing = true;
    MI->TextRct = {4, 0, MI->SkinRect.Right - MI->SkinRect.Left - 4,
                   MI->SkinRect.Bottom - MI->SkinRect.Top};
    TPopupMenu* M = MakeMenu({"One", "Two"});
    Chain->Popup(nullptr, SD, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    ASSERT_NE(W->DSMI, nullptr);
    TbsSkinMenuItem* Two = W->Item(1);
    W->Item(0)->MouseLeave();
    Two->MouseEnter(false);
    RunFor(5 * 20 + 5);
    EXPECT_EQ(Two->MorphKf(), 1.0);
    RunFor(200);
    EXPECT_FALSE(W->MorphTimer->Enabled());
    Two->MouseLeave();
    RunFor(200);
    EXPECT_EQ(Two->MorphKf(), 0.0);
    EXPECT_FALSE(W->MorphTimer->Enabled());
}

// The standard test skin with its menu item element at hand.
class SkinnedItemsTest : public ItemsTest {
protected:
    void SetUp() override {
        ItemsTest::SetUp();
        Skin = testskin::StandardTestSkin();
        SD = LoadSkin(Skin);
        for (auto& O : SD->ObjectList)
            if ((MI = dynamic_cast<TbsDataSkinMenuItem*>(O.get())))
                break;
        ASSERT_NE(MI, nullptr);
    }
    std::uint32_t Colour(const std::string& Region) const {
        return Skin.Picture("objects.bmp").ColourOf(Region);
    }
    // A pixel of an item's own fill, left of its text.
    std::uint32_t Fill(TbsSkinPopupWindow* W, int Item) {
        auto B = Paint(W);
        const TRect R = W->Item(Item)->ObjectRect;
        return Pixel(B.get(), R.Left + 1, R.Top + 1);
    }

    testskin::TTestSkin Skin;
    TbsSkinData* SD = nullptr;
    TbsDataSkinMenuItem* MI = nullptr;
};

TEST_F(SkinnedItemsTest, InactiveActiveAndDividerComeFromTheirRegions) {
    MI->DividerRect = Skin.Picture("objects.bmp").Region("caption");
    TPopupMenu* M = MakeMenu({"One", "-", "Two"});
    Chain->Popup(nullptr, SD, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    ASSERT_EQ(W->ActiveItem, 0);
    EXPECT_EQ(Fill(W, 0), Colour("menuitem.active"));
    EXPECT_EQ(Fill(W, 2), Colour("menuitem.normal"));
    EXPECT_EQ(Fill(W, 1), Colour("caption"));
    EXPECT_EQ(RectHeight(W->Item(1)->ObjectRect), RectHeight(MI->DividerRect));
}

TEST_F(SkinnedItemsTest, OwnerDrawingReplacesTheContentOfSkinnedItemsOnly) {
    MI->TextRct = {4, 0, RectWidth(MI->SkinRect) - 4, RectHeight(MI->SkinRect)};
    TPopupMenu* M = MakeMenu({"Drawn", "Other"});
    TRect Given;
    M->Items()->Items(0)->OnDrawItem = [&Given](TObject*, TCanvas* C, TRect R, bool) {
        Given = R;
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clLime);
        C->FillRect(R);
    };
    const auto Limes = [this](TbsSkinPopupWindow* W) {
        auto B = Paint(W);
        int N = 0;
        for (int y = 0; y < B->Height(); ++y)
            for (int x = 0; x < B->Width(); ++x)
                N += Pixel(B.get(), x, y) == 0x00FF00u;
        return N;
    };
    Chain->Popup(nullptr, SD, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    const TRect R = W->Item(0)->ObjectRect;
    const int LimePixels = Limes(W);
    EXPECT_EQ(LimePixels, RectWidth(Given) * RectHeight(Given));
    EXPECT_GT(RectWidth(Given), 0);
    EXPECT_GT(RectHeight(Given), 0);
    // Outside the text rectangle the element's own fill stays.
    EXPECT_EQ(Fill(W, 0), Colour("menuitem.active"));
    EXPECT_LE(RectWidth(Given), RectWidth(R));
    Chain->Hide();
    Pump();
    // The plain look draws its own content.
    Chain->Popup(nullptr, nullptr, 0, {300, 300, 300, 300}, M->Items(), false);
    EXPECT_EQ(Limes(Window()), 0);
}

TEST_F(SkinnedItemsTest, AnimatedItemPlaysItsFramesInAndOut) {
    // Four frames side by side: the first four object cells.
    const testskin::TTestPicture& P = Skin.Picture("objects.bmp");
    MI->AnimateSkinRect = {0, 0, 32, 8};
    MI->FrameCount = 4;
    MI->AnimateInterval = 50;
    MI->Morphing = false;
    const std::vector<std::uint32_t> Frames{
        P.ColourOf("closebutton.normal"), P.ColourOf("closebutton.active"),
        P.ColourOf("closebutton.down"), P.ColourOf("maxbutton.normal")};
    for (bool InActiveAnimation : {true, false}) {
        SCOPED_TRACE(InActiveAnimation);
        MI->InActiveAnimation = InActiveAnimation;
        TPopupMenu* M = MakeMenu({"One", "Two"});
        Chain->Popup(nullptr, SD, 0, {300, 300, 300, 300}, M->Items(), false);
        TbsSkinPopupWindow* W = Window();
        W->Item(0)->MouseLeave();
        RunFor(400);
        ASSERT_EQ(Fill(W, 1), Colour("menuitem.normal"));
        W->Item(1)->MouseEnter(false);
        std::vector<std::uint32_t> Seen;
        for (int i = 0; i < 6; ++i) {
            RunFor(50);
            Seen.push_back(Fill(W, 1));
        }
        std::vector<std::uint32_t> In = Frames;
        In.push_back(Colour("menuitem.active"));
        In.push_back(Colour("menuitem.active"));
        EXPECT_EQ(Seen, In);
        EXPECT_FALSE(W->MorphTimer->Enabled());
        W->Item(1)->MouseLeave();
        Seen.clear();
        if (!InActiveAnimation)
            Seen.push_back(Fill(W, 1));
        else
            for (int i = 0; i < 5; ++i) {
                RunFor(50);
                Seen.push_back(Fill(W, 1));
            }
        const std::vector<std::uint32_t> Out =
            InActiveAnimation ? std::vector<std::uint32_t>{Frames[3], Frames[2], Frames[1],
                                                           Frames[0], Colour("menuitem.normal")}
                              : std::vector<std::uint32_t>{Colour("menuitem.normal")};
        EXPECT_EQ(Seen, Out);
        Chain->Hide();
        Pump();
    }
}

TEST_F(SkinnedItemsTest, ASkinWithOnlyARadioImageKeepsTheDefaultCheckMark) {
    // The radio image: seven rows of one object cell over a row of the next
    // cell row, whose colour (bottom left) is the transparent one.
    MI->RadioImageRect = {8, 1, 16, 9};
    MI->ActiveRadioImageRect = MI->RadioImageRect;
    MI->CheckImageRect = {};
    MI->TextRct = {4, 0, RectWidth(MI->SkinRect) - 4, RectHeight(MI->SkinRect)};
    TPopupMenu* M = MakeMenu({"Check", "Radio", "Plain"});
    M->Items()->Items(0)->SetChecked(true);
    M->Items()->Items(1)->SetRadioItem(true);
    M->Items()->Items(1)->SetChecked(true);
    Chain->Popup(nullptr, SD, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    W->Item(0)->MouseLeave();
    RunFor(300);
    auto B = Paint(W);
    const std::uint32_t Radio = Colour("closebutton.active");
    // Pixels in an item's glyph box: of the radio image, and of anything
    // but the item's own fill.
    const auto Count = [&](int Item, bool RadioColour) {
        const TRect R = W->Item(Item)->ObjectRect;
        int N = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left + 6; x < R.Left + 20; ++x) {
                const std::uint32_t C = Pixel(B.get(), x, y);
                N += RadioColour ? C == Radio : C != Colour("menuitem.normal");
            }
        return N;
    };
    EXPECT_GE(Count(1, true), 8 * 7);
    EXPECT_EQ(Count(0, true), 0);
    EXPECT_GT(Count(0, false), 3); // the drawn check mark
    EXPECT_EQ(Count(2, true), 0);
}

struct TDamage {
    const char* Name;
    void (*Apply)(TbsSkinData*, TbsDataSkinMenuItem*);
};

class DamagedSkinTest : public ItemsTest, public testing::WithParamInterface<TDamage> {};

TEST_P(DamagedSkinTest, OpensPaintsAndClosesWithAFallback) {
    TbsSkinData* SD = LoadSkin(testskin::StandardTestSkin());
    TbsDataSkinMenuItem* MI = nullptr;
    for (auto& O : SD->ObjectList)
        if ((MI = dynamic_cast<TbsDataSkinMenuItem*>(O.get())))
            break;
    ASSERT_NE(MI, nullptr);
    GetParam().Apply(SD, MI);
    TPopupMenu* M = MakeMenu({"One", "-", "Two"});
    AddItem(M->Items()->Items(2), "Inner");
    Chain->Popup(nullptr, SD, 0, {300, 300, 300, 300}, M->Items(), false);
    TbsSkinPopupWindow* W = Window();
    ASSERT_NE(W, nullptr);
    for (int i = 0; i < W->ItemCount(); ++i)
        EXPECT_GE(W->Item(i)->ObjectRect.Bottom - W->Item(i)->ObjectRect.Top, 1);
    W->PopupKeyDown(VK_DOWN);
    RunFor(300);
    Paint(W);
    W->PopupKeyDown(VK_RIGHT);
    RunFor(300);
    Chain->Hide();
    Pump();
    EXPECT_FALSE(Chain->Visible());
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedSkinTest,
                         testing::Values(TDamage{"NoFrames",
                                                 [](TbsSkinData*, TbsDataSkinMenuItem* M) {
                                                     M->AnimateSkinRect = M->SkinRect;
                                                     M->FrameCount = 0;
                                                 }},
                                         TDamage{"ZeroHeightItem",
                                                 [](TbsSkinData*, TbsDataSkinMenuItem* M) {
                                                     M->SkinRect.Bottom = M->SkinRect.Top;
                                                     M->DividerRect = {};
                                                 }},
                                         TDamage{"PictureOutOfRange",
                                                 [](TbsSkinData*, TbsDataSkinMenuItem* M) {
                                                     M->ActivePictureIndex = 99;
                                                 }},
                                         TDamage{"WindowPictureOutOfRange",
                                                 [](TbsSkinData* S, TbsDataSkinMenuItem*) {
                                                     S->PopupWindow->WindowPictureIndex = 99;
                                                     S->PopupWindow->MaskPictureIndex = 98;
                                                 }},
                                         TDamage{"MorphWithoutEffects",
                                                 [](TbsSkinData* S, TbsDataSkinMenuItem* M) {
                                                     M->Morphing = true;
                                                     S->SetEnableSkinEffects(false);
                                                 }}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
} // namespace menus
