// The up-down buttons: position rules, the repeat on the manual clock, the
// capture rule, and the plain, skinned and "resizebutton" looks.
#include "skin/controls/bsSkinUpDown.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

namespace {

constexpr std::uint32_t Navy = 0x000080;

class TUpDownTest : public TButtonsTest {
protected:
    TbsSkinUpDown* MakeUpDown(TUDOrientation O = udVertical, int W = 20, int H = 40) {
        auto* U = new TbsSkinUpDown(Form);
        U->SetParent(Form);
        U->SetOrientation(O);
        U->SetBounds(20, 20, W, H);
        U->OnChange = Log.Note("change");
        U->OnUpButtonClick = Log.Note("up");
        U->OnDownButtonClick = Log.Note("down");
        Pump();
        return U;
    }
    TEventLog Log;
};

TEST_F(TUpDownTest, PositionSettersIgnoreOutsideValuesAndMinMaxPullSilently) {
    auto* U = MakeUpDown();
    U->SetMin(10);
    EXPECT_EQ(U->Position(), 10);
    EXPECT_EQ(Log.Count("change"), 0);
    U->SetPosition(5);
    EXPECT_EQ(U->Position(), 10);
    EXPECT_EQ(Log.Count("change"), 0);
    U->SetPosition(10);
    EXPECT_EQ(Log.Count("change"), 1); // also when unchanged
    U->SetMax(8);
    EXPECT_EQ(U->Position(), 8);
}

TEST_F(TUpDownTest, ReleaseAtTheTopClicksWithoutAStep) {
    auto* U = MakeUpDown();
    U->SetPosition(100);
    Log.Names.clear();
    ClickAt(U, 10, 5);
    EXPECT_EQ(U->Position(), 100);
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"up"}));
}

TEST_F(TUpDownTest, ZeroIncrementSetsNoTimer) {
    auto* U = MakeUpDown();
    U->SetIncrement(0);
    const std::uint32_t T0 = Clock.Now();
    PressAt(U, 10, 5);
    Headless.RunUntil(T0 + 1000);
    ReleaseAt(U, 10, 5);
    EXPECT_EQ(U->Position(), 0);
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"up"}));
}

TEST_F(TUpDownTest, HeldButtonWaitsThenStepsEveryHundredAndOnceOnRelease) {
    auto* U = MakeUpDown();
    const std::uint32_t T0 = Clock.Now();
    PressAt(U, 10, 5);
    const std::pair<std::uint32_t, int> Steps[] = {{499, 0}, {500, 0}, {600, 1}, {700, 2}};
    for (auto [At, Position] : Steps) {
        Headless.RunUntil(T0 + At);
        EXPECT_EQ(U->Position(), Position) << At;
    }
    Headless.RunUntil(T0 + 750);
    ReleaseAt(U, 10, 5);
    EXPECT_EQ(U->Position(), 3);
    EXPECT_EQ(Log.Count("change"), 3);
    EXPECT_EQ(Log.Count("up"), 1);
}

TEST_F(TUpDownTest, LeavingPausesAndReturningStepsEveryFifty) {
    auto* U = MakeUpDown();
    const std::uint32_t T0 = Clock.Now();
    PressAt(U, 10, 5);
    Headless.RunUntil(T0 + 650);
    EXPECT_EQ(U->Position(), 1);
    MoveTo(U, 60, 60);
    Headless.RunUntil(T0 + 900);
    EXPECT_EQ(U->Position(), 1);
    MoveTo(U, 10, 5);
    Headless.RunUntil(T0 + 950);
    EXPECT_EQ(U->Position(), 2);
    Headless.RunUntil(T0 + 1000);
    EXPECT_EQ(U->Position(), 3);
    ReleaseAt(U, 60, 60);
    EXPECT_EQ(U->Position(), 3);
    EXPECT_EQ(Log.Count("up"), 0);
}

TEST_F(TUpDownTest, DragOntoTheOtherButtonNeitherStepsNorMakesItHot) {
    auto* U = MakeUpDown();
    PressAt(U, 10, 5);
    MoveTo(U, 10, 30);
    EXPECT_FALSE(U->Button(1).MouseIn);
    EXPECT_EQ(PixelOf(U, 0, 20), Rgb(clBtnShadow));
    ReleaseAt(U, 10, 30);
    EXPECT_EQ(U->Position(), 0);
    EXPECT_TRUE(Log.Names.empty());
}

TEST_F(TUpDownTest, HorizontalRightHalfIncrements) {
    auto* U = MakeUpDown(udHorizontal, 50, 25);
    U->SetPosition(5);
    Log.Names.clear();
    ClickAt(U, 40, 12);
    EXPECT_EQ(U->Position(), 6);
    ClickAt(U, 10, 12);
    EXPECT_EQ(U->Position(), 5);
    EXPECT_EQ(Log.Count("up"), 1);
    EXPECT_EQ(Log.Count("down"), 1);
}

TEST_F(TUpDownTest, PlainButtonsFrameFillAndArrows) {
    auto* U = MakeUpDown(udVertical, 20, 40);
    EXPECT_EQ(PixelOf(U, 0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(U, 2, 2), Rgb(clBtnFace));
    MoveTo(U, 15, 5);
    EXPECT_EQ(PixelOf(U, 0, 0), Navy);
    EXPECT_EQ(PixelOf(U, 2, 2), 0xB6BDD2u);
    PressAt(U, 15, 5);
    EXPECT_EQ(PixelOf(U, 2, 2), 0x8593B5u);
    ReleaseAt(U, 15, 5);
    // A black arrow in the middle of each half.
    int Black = 0;
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 20; ++X)
            Black += PixelOf(U, X, Y) == 0;
    EXPECT_GT(Black, 4);
}

testskin::TTestSkin UpDownSkin(int PictureIndex, bool Standard = true) {
    testskin::TTestSkin Skin =
        Standard ? testskin::StandardTestSkin() : testskin::MinimalLoadableSkin();
    testskin::TTestPicture& P = Skin.AddPicture("updown.bmp", 80, 40, 24);
    const int Index = PictureIndex >= 0 ? PictureIndex : Skin.PictureIndex("updown.bmp");
    P.AddRegion("face", {0, 0, 16, 30});
    P.AddRegion("up.active", {20, 0, 36, 15});
    P.AddRegion("up.down", {40, 0, 56, 15});
    P.AddRegion("down.active", {20, 15, 36, 30});
    using testskin::RectText;
    Skin.AddControl("updown", "testupdown",
                    {"pictureindex=" + std::to_string(Index), "skinrect=0,0,16,30",
                     "upbuttonrect=0,0,16,15", "downbuttonrect=0,15,16,30",
                     "activeupbuttonrect=" + RectText(P.Region("up.active")),
                     "downupbuttonrect=" + RectText(P.Region("up.down")),
                     "activedownbuttonrect=" + RectText(P.Region("down.active"))});
    return Skin;
}

TEST_F(TUpDownTest, SkinnedWithSkinSizeShowsStateRegions) {
    const testskin::TTestSkin Skin = UpDownSkin(-1);
    const testskin::TTestPicture& P = Skin.Picture("updown.bmp");
    auto* SD = LoadSkin(Skin);
    auto* U = MakeUpDown();
    U->SetSkinDataName("testupdown");
    U->SetSkinData(SD);
    Pump();
    EXPECT_EQ(U->Width(), 16);
    EXPECT_EQ(U->Height(), 30);
    EXPECT_EQ(PixelOf(U, 8, 5), P.ColourOf("face"));
    MoveTo(U, 8, 5);
    EXPECT_EQ(PixelOf(U, 8, 5), P.ColourOf("up.active"));
    PressAt(U, 8, 5);
    EXPECT_EQ(PixelOf(U, 8, 5), P.ColourOf("up.down"));
    ReleaseAt(U, 8, 5);
    // No pressed picture for the down button: its hot one.
    PressAt(U, 8, 20);
    EXPECT_EQ(PixelOf(U, 8, 20), P.ColourOf("down.active"));
    ReleaseAt(U, 8, 20);
}

TEST_F(TUpDownTest, SkinnedWithoutSkinSizeDrawsResizeButtons) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& P = Skin.Picture("controls.bmp");
    auto* SD = LoadSkin(Skin);
    auto* U = MakeUpDown(udVertical, 30, 60);
    U->SetUseSkinSize(false);
    U->SetSkinData(SD);
    U->SetSkinDataName("vupdown");
    Pump();
    EXPECT_EQ(U->Width(), 30);
    EXPECT_EQ(U->Height(), 60);
    // The "resizebutton" face stretched over each half.
    EXPECT_EQ(PixelOf(U, 2, 2), P.ColourOf("resizebutton.normal"));
    EXPECT_EQ(PixelOf(U, 2, 32), P.ColourOf("resizebutton.normal"));
    MoveTo(U, 2, 2);
    EXPECT_EQ(PixelOf(U, 2, 2), P.ColourOf("resizebutton.active"));
    PressAt(U, 2, 2);
    EXPECT_EQ(PixelOf(U, 2, 2), P.ColourOf("resizebutton.down"));
    ReleaseAt(U, 2, 2);
}

TEST_F(TUpDownTest, ElementWithoutPictureDrawsThePlainLook) {
    auto* SD = LoadSkin(UpDownSkin(99));
    auto* U = MakeUpDown();
    U->SetSkinDataName("testupdown");
    U->SetSkinData(SD);
    Pump();
    EXPECT_EQ(PixelOf(U, 0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(U, 2, 2), Rgb(clBtnFace));
}

TEST_F(TUpDownTest, WithoutResizeButtonElementEachButtonIsBlank) {
    auto* SD = LoadSkin(UpDownSkin(-1, false));
    auto* U = MakeUpDown(udVertical, 30, 60);
    U->SetUseSkinSize(false);
    U->SetSkinDataName("testupdown");
    U->SetSkinData(SD);
    Pump();
    const std::uint32_t First = PixelOf(U, 0, 0);
    for (int Y = 0; Y < 60; Y += 3)
        for (int X = 0; X < 30; X += 3)
            ASSERT_EQ(PixelOf(U, X, Y), First) << X << "," << Y;
}

} // namespace
