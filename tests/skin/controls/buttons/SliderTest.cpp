// The slider: value and position arithmetic, drag, track and key jumps with
// their event order, range rules, the default pictures and degenerate sizes.
#include "platform/core/Streams.h"
#include "skin/controls/bsSkinCtrls.Slider.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

namespace {

class TSliderTest : public TButtonsTest {
protected:
    // A plain slider whose track is 160 long: ruler (width - 12) less the
    // default thumb's 9.
    TbsSkinSlider* MakeSlider(bool Smooth = true) {
        auto* S = new TbsSkinSlider(Form);
        S->SetParent(Form);
        S->SetBounds(20, 20, 160 + 9 + 12, 40);
        TbsSliderOptions O{soShowFocus};
        if (Smooth)
            O.Include(soSmooth);
        S->SetOptions(O);
        S->OnChange = Log.Note("change");
        S->OnChanged = Log.Note("changed");
        S->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
            Log.Names.push_back("mousedown");
        };
        S->OnMouseUp = [this, S](TObject*, TMouseButton, TShiftState, int, int) {
            Log.Names.push_back("mouseup");
            ValueAtMouseUp = S->Value();
        };
        Pump();
        return S;
    }
    TEventLog Log;
    int ValueAtMouseUp = -1;
};

TEST_F(TSliderTest, ValueAndThumbPositionsRoundTiesToEven) {
    auto* S = MakeSlider();
    ASSERT_EQ(S->TrackLength(), 160);
    S->SetValue(50);
    EXPECT_EQ(S->ThumbRect().Left, 86);
    Log.Names.clear();
    // Grab the thumb at its left edge and drop its left at 90.
    PressAt(S, 86, S->ThumbRect().Top + 2);
    MoveTo(S, 90, S->ThumbRect().Top + 2);
    EXPECT_EQ(S->Value(), 52);
    EXPECT_EQ(S->ThumbRect().Left, 89);
    ReleaseAt(S, 90, S->ThumbRect().Top + 2);
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"mousedown", "change", "changed", "mouseup"}));
    EXPECT_EQ(ValueAtMouseUp, 52);
}

TEST_F(TSliderTest, WithoutSmoothTheDragSnapsToTheIncrement) {
    auto* S = MakeSlider(false);
    S->SetValue(50);
    Log.Names.clear();
    PressAt(S, 86, S->ThumbRect().Top + 2);
    MoveTo(S, 90, S->ThumbRect().Top + 2);
    EXPECT_EQ(S->Value(), 50);
    EXPECT_EQ(S->ThumbRect().Left, 86);
    EXPECT_EQ(Log.Count("change"), 0);
    ReleaseAt(S, 90, S->ThumbRect().Top + 2);
}

TEST_F(TSliderTest, HeldRulerPressJumpsAtOnceThenEveryFourHundred) {
    auto* S = MakeSlider();
    S->SetValue(3);
    Log.Names.clear();
    const int Y = S->RulerOrg().Y + 1;
    const std::uint32_t T0 = Clock.Now();
    PressAt(S, 6 + 56 + 4, Y); // value 35's place
    EXPECT_EQ(S->Value(), 10);
    Headless.RunUntil(T0 + 399);
    EXPECT_EQ(S->Value(), 10);
    Headless.RunUntil(T0 + 400);
    EXPECT_EQ(S->Value(), 20);
    Headless.RunUntil(T0 + 2000);
    // The thumb passed the pointer at 40 (left 70 > 66).
    EXPECT_EQ(S->Value(), 40);
    ReleaseAt(S, 66, Y);
    ASSERT_GE(Log.Names.size(), 2u);
    EXPECT_EQ(Log.Names[Log.Names.size() - 2], "changed");
    EXPECT_EQ(Log.Names.back(), "mouseup");
}

TEST_F(TSliderTest, JumpToPressPutsTheThumbUnderTheRulerPressAndDragsOn) {
    auto* S = MakeSlider();
    S->SetJumpToPress(true);
    S->SetValue(3);
    Log.Names.clear();
    const int Y = S->RulerOrg().Y + 1;
    // The thumb (9 wide) is taken by its middle: its left lands at 86, value 50.
    const std::uint32_t T0 = Clock.Now();
    PressAt(S, 90, Y);
    EXPECT_EQ(S->Value(), 50);
    EXPECT_EQ(S->ThumbRect().Left, 86);
    Headless.RunUntil(T0 + 2000);
    EXPECT_EQ(S->Value(), 50);
    MoveTo(S, 106, Y);
    EXPECT_EQ(S->Value(), 60);
    ReleaseAt(S, 106, Y);
    EXPECT_EQ(Log.Names,
              (std::vector<std::string>{"mousedown", "change", "change", "changed", "mouseup"}));
    EXPECT_EQ(ValueAtMouseUp, 60);

    // Again, on the other side of the thumb.
    Log.Names.clear();
    PressAt(S, 34, Y);
    ReleaseAt(S, 34, Y);
    EXPECT_EQ(ValueAtMouseUp, 15);
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"mousedown", "change", "changed", "mouseup"}));
}

TEST_F(TSliderTest, KeysJumpAndAlwaysEndWithChanged) {
    auto* S = MakeSlider();
    int KeySeen = -1;
    S->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { KeySeen = Key; };
    S->SetFocus();
    S->SetValue(50);
    struct TRow {
        int Key;
        int Value;
    };
    for (TRow R : {TRow{VK_HOME, 0}, TRow{VK_END, 100}, TRow{VK_LEFT, 90}, TRow{VK_RIGHT, 100},
                   TRow{VK_RIGHT, 100}}) {
        Log.Names.clear();
        const int Before = S->Value();
        Headless.KeyDown(R.Key);
        Headless.KeyUp(R.Key);
        Pump();
        EXPECT_EQ(S->Value(), R.Value) << R.Key;
        EXPECT_EQ(Log.Count("change"), Before != R.Value ? 1 : 0) << R.Key;
        EXPECT_EQ(Log.Count("changed"), 1) << R.Key;
        EXPECT_EQ(KeySeen, 0);
    }
    S->SetOrientation(soVertical);
    S->SetValue(50);
    Headless.KeyDown(VK_UP);
    Headless.KeyUp(VK_UP);
    Pump();
    EXPECT_EQ(S->Value(), 60);
}

TEST_F(TSliderTest, VerticalSliderHasItsMinimumAtTheBottom) {
    auto* S = MakeSlider();
    S->SetOrientation(soVertical);
    EXPECT_EQ(S->Width(), 40);
    EXPECT_EQ(S->Height(), 181);
    S->SetValue(0);
    const int Bottom = S->ThumbRect().Top;
    S->SetValue(100);
    EXPECT_LT(S->ThumbRect().Top, Bottom);
    EXPECT_EQ(S->ThumbRect().Top, 6);
}

TEST_F(TSliderTest, RangeIncrementAndEdgeRules) {
    auto* S = MakeSlider();
    S->SetMaxValue(5);
    EXPECT_EQ(S->Increment(), 5);
    S->SetMaxValue(100);
    S->SetMinValue(100);
    EXPECT_EQ(S->MinValue(), 0);
    S->SetIncrement(0);
    EXPECT_EQ(S->Increment(), 5);
    S->SetEdgeSize(5); // the ruler picture is 10 wide
    EXPECT_EQ(S->EdgeSize(), 2);
    S->SetEdgeSize(4);
    EXPECT_EQ(S->EdgeSize(), 4);
}

TEST_F(TSliderTest, DefaultPicturesComeFromTheRegistryAndReturnWhenCleared) {
    RegisterSliderDefaultPictures();
    const std::pair<const char*, TSize> Sizes[] = {
        {"BS_HTB", {18, 17}}, {"BS_HRL", {10, 8}}, {"BS_VTB", {38, 9}}, {"BS_VRL", {8, 10}}};
    for (auto [Name, Size] : Sizes) {
        TBitmap B;
        B.LoadFromResourceName(nullptr, Name);
        EXPECT_EQ(B.Width(), Size.cx) << Name;
        EXPECT_EQ(B.Height(), Size.cy) << Name;
    }
    auto* S = MakeSlider();
    TBitmap Mine;
    Mine.SetSize(30, 20);
    S->SetOptions(TbsSliderOptions{soThumbOpaque, soSmooth});
    S->SetImage(siHThumb, &Mine);
    EXPECT_EQ(S->Image(siHThumb)->Width(), 30);
    EXPECT_TRUE(S->UserImages().Contains(siHThumb));
    S->SetImage(siHThumb, nullptr);
    EXPECT_EQ(S->Image(siHThumb)->Width(), 18);
    EXPECT_FALSE(S->UserImages().Contains(siHThumb));
    EXPECT_FALSE(S->Options().Contains(soThumbOpaque));
}

TEST_F(TSliderTest, TooShortSliderAndEmptyRangeDivideByNothing) {
    auto* S = MakeSlider();
    S->SetOptions(TbsSliderOptions{soShowPoints, soSmooth});
    S->SetBounds(20, 20, 10, 40);
    EXPECT_LE(S->TrackLength(), 0);
    EXPECT_EQ(S->PosToValue(50), 0);
    PressAt(S, 7, S->ThumbRect().Top + 2);
    MoveTo(S, 9, S->ThumbRect().Top + 2);
    ReleaseAt(S, 9, S->ThumbRect().Top + 2);
    EXPECT_EQ(S->Value(), 0);

    auto* Loaded = new TbsSkinSlider(nullptr);
    Loaded->BeginLoading();
    Loaded->SetParent(Form);
    Loaded->SetBounds(20, 80, 181, 40);
    Loaded->SetMaxValue(0);
    Loaded->EndLoading();
    Loaded->Repaint();
    Pump();
    EXPECT_EQ(Loaded->Value(), Loaded->MinValue());
    EXPECT_EQ(Loaded->ThumbRect().Left, 6);
    delete Loaded;
}

TEST_F(TSliderTest, PointsMarkEveryIncrementWithLongerEnds) {
    auto* S = MakeSlider();
    S->SetOptions(TbsSliderOptions{soShowPoints, soSmooth});
    S->SetColor(clWhite);
    Pump();
    const int Top = S->PointsRect().Top;
    for (int V = 0; V <= 100; V += 10) {
        const int X = S->ValueToPos(V) + 9 / 2;
        const bool End = V == 0 || V == 100;
        EXPECT_EQ(PixelOf(S, X, Top + 2), Rgb(clWindowText)) << V;
        EXPECT_EQ(PixelOf(S, X, Top + 4), End ? Rgb(clWindowText) : Rgb(clWhite)) << V;
    }
}

TEST_F(TSliderTest, TransparentSliderShowsTheParent) {
    auto* S = MakeSlider();
    Form->SetColor(clRed);
    S->SetColor(clWhite);
    S->SetTransparent(true);
    EXPECT_EQ(PixelOf(S, 2, 2), Rgb(clRed));
    S->SetTransparent(false);
    EXPECT_EQ(PixelOf(S, 2, 2), Rgb(clWhite));
}

testskin::TTestSkin SliderSkin() {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& P = Skin.AddPicture("slider.bmp", 100, 40, 24);
    const int Index = Skin.PictureIndex("slider.bmp");
    P.AddRegion("ruler", {0, 0, 40, 6});
    P.AddRegion("thumb.normal", {0, 10, 10, 30});
    P.AddRegion("thumb.down", {10, 10, 20, 30});
    // Thumb cells are drawn keyed on their bottom-left pixel.
    P.Fill({0, 29, 1, 30}, 0xFF00FF);
    P.Fill({10, 29, 11, 30}, 0xFF00FF);
    using testskin::RectText;
    Skin.AddControl("slider", "testslider",
                    {"pictureindex=" + std::to_string(Index), "skinrect=0,0,40,6",
                     "hrulerrect=" + RectText(P.Region("ruler")), "hthumbrect=0,10,20,30",
                     "edgesize=3", "bgcolor=65280", "pointscolor=255"});
    return Skin;
}

TEST_F(TSliderTest, SkinThumbCellsByState) {
    const testskin::TTestSkin Skin = SliderSkin();
    const testskin::TTestPicture& P = Skin.Picture("slider.bmp");
    auto* SD = LoadSkin(Skin);
    auto* S = MakeSlider();
    S->SetSkinDataName("testslider");
    S->SetSkinData(SD);
    S->SetValue(30);
    Pump();
    const TRect T = S->ThumbRect();
    EXPECT_EQ(T.Width(), 10);
    EXPECT_EQ(PixelOf(S, 2, 2), 0x00FF00u); // BGColor
    EXPECT_EQ(PixelOf(S, T.Left + 5, T.Top + 5), P.ColourOf("thumb.normal"));
    PressAt(S, T.Left + 5, T.Top + 5);
    EXPECT_EQ(PixelOf(S, T.Left + 5, T.Top + 5), P.ColourOf("thumb.down"));
    ReleaseAt(S, T.Left + 5, T.Top + 5);
    S->SetEnabled(false);
    EXPECT_EQ(PixelOf(S, S->ThumbRect().Left + 5, T.Top + 5), P.ColourOf("thumb.down"));
}

} // namespace
