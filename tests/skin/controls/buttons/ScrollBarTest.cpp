// The skinned scroll bar: clamping and events of the setters, the layout of
// both looks, pointer repeat on the manual clock, thumb drag, keys and wheel.
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

namespace {

constexpr std::uint32_t Navy = 0x000080;
constexpr std::uint32_t HotFill = 0xB6BDD2;  // RGB(182,189,210)
constexpr std::uint32_t DownFill = 0x8593B5; // RGB(133,147,181)

class TScrollBarTest : public TButtonsTest {
protected:
    TbsSkinScrollBar* MakeBar(int W = 200, int H = 19) {
        auto* Bar = new TbsSkinScrollBar(Form);
        Bar->SetParent(Form);
        Bar->SetBounds(10, 10, W, H);
        Bar->SetRange(0, 100, 0, 0);
        Bar->OnChange = Log.Note("change");
        Bar->OnLastChange = Log.Note("last");
        Bar->OnPageUp = Log.Note("pageup");
        Bar->OnPageDown = Log.Note("pagedown");
        Pump();
        return Bar;
    }
    TEventLog Log;
};

TEST_F(TScrollBarTest, SettersClampAndFireOnlyWhereTheyShould) {
    auto* Bar = MakeBar();
    Bar->SetRange(0, 100, 500, 10);
    EXPECT_EQ(Bar->Position(), 91);
    Bar->SetPosition(500);
    EXPECT_EQ(Bar->Position(), 91);
    EXPECT_EQ(Log.Count("change"), 0);

    // Max - PageSize + 1 below Min: kept as the owners expect it.
    for (int P : {0, 5, 50}) {
        Bar->SetRange(0, 10, P, 20);
        EXPECT_EQ(Bar->Position(), -9) << P;
    }

    Bar->SetRange(0, 100, 0, 0);
    Bar->SetPosition(30);
    Bar->SetPosition(30);
    Bar->SimplySetPosition(40);
    EXPECT_EQ(Bar->Position(), 40);
    EXPECT_EQ(Log.Count("change"), 1);

    Bar->SetRange(0, 100, 80, 0);
    Bar->SetMax(50);
    EXPECT_EQ(Bar->Position(), 50);
    Bar->SetRange(0, 100, 80, 10);
    Bar->SetMax(60);
    EXPECT_EQ(Bar->Position(), 51);
    Bar->SetRange(0, 100, 5, 10);
    Bar->SetMax(8);
    EXPECT_EQ(Bar->Position(), 0);
    EXPECT_EQ(Log.Count("change"), 1);

    Bar->SetRange(0, 20, 0, 0);
    Bar->SetPageSize(50);
    EXPECT_EQ(Bar->PageSize(), 0);
    Bar->SetPageSize(5);
    EXPECT_EQ(Bar->PageSize(), 5);

    EXPECT_EQ(Bar->SkinDataName(), "hscrollbar");
    Bar->SetBoth(true);
    EXPECT_EQ(Bar->SkinDataName(), "bothhscrollbar");
    Bar->SetBoth(false);
    EXPECT_EQ(Bar->SkinDataName(), "hscrollbar");

    Bar->SetCanFocused(true);
    EXPECT_TRUE(Bar->TabStop());
}

TEST_F(TScrollBarTest, PlainLayoutFollowsSizeRangeAndBoth) {
    struct TRow {
        const char* Name;
        TScrollBarKind Kind;
        int W, H;
        bool Both;
        int Max, Page, Pos;
        TRect Down, Up, Track, Thumb;
    };
    const TRow Rows[] = {
        {"horizontal",
         sbHorizontal,
         200,
         19,
         false,
         100,
         0,
         50,
         {1, 1, 17, 18},
         {183, 1, 199, 18},
         {17, 1, 183, 18},
         {92, 1, 108, 18}},
        {"both",
         sbHorizontal,
         200,
         19,
         true,
         100,
         0,
         0,
         {1, 1, 17, 18},
         {164, 1, 180, 18},
         {17, 1, 164, 18},
         {17, 1, 33, 18}},
        {"vertical",
         sbVertical,
         19,
         200,
         false,
         100,
         0,
         50,
         {1, 1, 18, 17},
         {1, 183, 18, 199},
         {1, 17, 18, 183},
         {1, 92, 18, 108}},
        // nearest(166 * 10 / 100) = 17: half 8, so the drawn thumb is 16.
        {"page 10",
         sbHorizontal,
         200,
         19,
         false,
         99,
         10,
         0,
         {1, 1, 17, 18},
         {183, 1, 199, 18},
         {17, 1, 183, 18},
         {17, 1, 33, 18}},
        // nearest(166 * 50 / 100) = 83: half 41.
        {"page 50",
         sbHorizontal,
         200,
         19,
         false,
         99,
         50,
         50,
         {1, 1, 17, 18},
         {183, 1, 199, 18},
         {17, 1, 183, 18},
         {101, 1, 183, 18}},
        {"empty range",
         sbHorizontal,
         200,
         19,
         false,
         0,
         0,
         0,
         {1, 1, 17, 18},
         {183, 1, 199, 18},
         {17, 1, 183, 18},
         {17, 1, 33, 18}},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        auto* Bar = MakeBar(R.W, R.H);
        Bar->SetKind(R.Kind);
        Bar->SetBoth(R.Both);
        Bar->SetRange(0, R.Max, R.Pos, R.Page);
        Bar->LayoutParts();
        EXPECT_EQ(Bar->Part(2).R, R.Down);
        EXPECT_EQ(Bar->Part(1).R, R.Up);
        EXPECT_EQ(Bar->TrackRect(), R.Track);
        EXPECT_EQ(Bar->Part(0).R, R.Thumb);
        delete Bar;
    }
    auto* Bar = MakeBar();
    Bar->SetPosition(50);
    Bar->LayoutParts();
    EXPECT_EQ(Bar->TrackOffset1(), 25);
    EXPECT_EQ(Bar->TrackOffset2(), 175);
    EXPECT_EQ(Bar->ThumbOffset(), 75);
}

TEST_F(TScrollBarTest, PlainPixelsShowPartsBothCornerAndDisabledBar) {
    auto* Bar = MakeBar();
    Bar->SetPosition(50);
    EXPECT_EQ(PixelOf(Bar, 1, 1), Rgb(clBtnShadow));  // down button frame
    EXPECT_EQ(PixelOf(Bar, 3, 3), Rgb(clBtnFace));    // its face
    EXPECT_EQ(PixelOf(Bar, 92, 1), Rgb(clBtnShadow)); // thumb frame
    EXPECT_EQ(PixelOf(Bar, 60, 9), Rgb(clBtnFace));   // track
    Bar->SetBoth(true);
    for (int X : {181, 190, 199})
        EXPECT_EQ(PixelOf(Bar, X, 9), Rgb(clBtnFace)) << X;
    EXPECT_EQ(PixelOf(Bar, 164, 1), Rgb(clBtnShadow));
    Bar->SetBoth(false);
    Bar->SetEnabled(false);
    EXPECT_EQ(PixelOf(Bar, 92, 1), Rgb(clBtnFace)); // no thumb
    EXPECT_EQ(PixelOf(Bar, 183, 1), Rgb(clBtnShadow));
}

TEST_F(TScrollBarTest, PlainPartColoursFollowPointerAndFocus) {
    auto* Bar = MakeBar();
    Bar->SetPosition(50);
    MoveTo(Bar, 190, 9);
    EXPECT_EQ(PixelOf(Bar, 183, 1), Navy);
    EXPECT_EQ(PixelOf(Bar, 185, 3), HotFill);
    PressAt(Bar, 190, 9);
    EXPECT_EQ(PixelOf(Bar, 185, 3), DownFill);
    ReleaseAt(Bar, 190, 9);
    MoveTo(Bar, 60, 30);
    EXPECT_EQ(PixelOf(Bar, 185, 3), Rgb(clBtnFace));
    Bar->SetCanFocused(true);
    Bar->SetFocus();
    const int ThumbX = Bar->Part(0).R.Left;
    EXPECT_EQ(PixelOf(Bar, ThumbX, 1), Navy);
    EXPECT_EQ(PixelOf(Bar, ThumbX + 3, 5), DownFill);
}

TEST_F(TScrollBarTest, HeldArrowStepsAtPressThenEveryFiftyMillisecondsAfterTheWait) {
    auto* Bar = MakeBar();
    const std::uint32_t T0 = Clock.Now();
    PressAt(Bar, 190, 9);
    const std::pair<std::uint32_t, int> Steps[] = {{0, 1}, {500, 1}, {549, 1}, {550, 2}, {600, 3}};
    for (auto [At, Position] : Steps) {
        Headless.RunUntil(T0 + At);
        EXPECT_EQ(Bar->Position(), Position) << At;
    }
    // Off the button: no steps; back on: steps at 50-ms ticks again.
    MoveTo(Bar, 100, 30);
    Headless.RunUntil(T0 + 800);
    EXPECT_EQ(Bar->Position(), 3);
    MoveTo(Bar, 190, 9);
    Headless.RunUntil(T0 + 800 + 50);
    EXPECT_EQ(Bar->Position(), 4);
    ReleaseAt(Bar, 190, 9);
    EXPECT_EQ(Log.Count("last"), 0);
}

TEST_F(TScrollBarTest, ArrowHandlerReplacesTheStep) {
    auto* Bar = MakeBar();
    int Calls = 0;
    Bar->OnUpButtonClick = [&](TObject*) { ++Calls; };
    const std::uint32_t T0 = Clock.Now();
    PressAt(Bar, 190, 9);
    Headless.RunUntil(T0 + 600);
    ReleaseAt(Bar, 190, 9);
    EXPECT_EQ(Calls, 3);
    EXPECT_EQ(Bar->Position(), 0);
}

TEST_F(TScrollBarTest, TrackPressPagesUntilTheThumbReachesThePointer) {
    auto* Bar = MakeBar();
    Bar->SetLargeChange(10);
    Bar->SetPosition(60);
    Log.Names.clear();
    Bar->LayoutParts();
    // The thumb starts at 25 + 90 - 8 = 107; press well before it.
    const std::uint32_t T0 = Clock.Now();
    PressAt(Bar, 68, 9);
    EXPECT_EQ(Bar->Position(), 50);
    Headless.RunUntil(T0 + 549);
    EXPECT_EQ(Bar->Position(), 50);
    Headless.RunUntil(T0 + 550);
    EXPECT_EQ(Bar->Position(), 40);
    Headless.RunUntil(T0 + 1000);
    // At 30 the thumb (25 + 45 - 8 = 62 .. 78) covers the pointer.
    EXPECT_EQ(Bar->Position(), 30);
    EXPECT_EQ(Log.Count("pageup"), 3);
    EXPECT_EQ(Log.Names.back(), "pageup");
    ReleaseAt(Bar, 68, 9);
}

TEST_F(TScrollBarTest, PageDownRepeatStopsWhenThePointerLeavesButPageUpGoesOn) {
    auto* Bar = MakeBar();
    Bar->SetLargeChange(1);
    std::uint32_t T0 = Clock.Now();
    PressAt(Bar, 170, 9);
    MoveTo(Bar, 170, 60);
    const int AfterLeave = Bar->Position();
    Headless.RunUntil(T0 + 800);
    EXPECT_EQ(Bar->Position(), AfterLeave);
    ReleaseAt(Bar, 170, 60);

    Bar->SetPosition(100);
    T0 = Clock.Now();
    PressAt(Bar, 30, 9);
    MoveTo(Bar, 30, 60);
    const int Before = Bar->Position();
    Headless.RunUntil(T0 + 800);
    EXPECT_LT(Bar->Position(), Before);
    ReleaseAt(Bar, 30, 60);
}

TEST_F(TScrollBarTest, ThumbDragMovesByTheTrackAndEndsWithOneLastChange) {
    auto* Bar = MakeBar();
    Bar->SetPosition(50);
    Log.Names.clear();
    PressAt(Bar, 100, 9);
    MoveTo(Bar, 115, 9);
    MoveTo(Bar, 130, 9);
    // Min + nearest(100 * (75 + 30) / 150) = 70.
    EXPECT_EQ(Bar->Position(), 70);
    EXPECT_EQ(Log.Count("change"), 2);
    ReleaseAt(Bar, 130, 9);
    EXPECT_EQ(Log.Count("last"), 1);
    // Pressing the thumb without moving still ends with the event.
    ClickAt(Bar, Bar->Part(0).R.Left + 4, 9);
    EXPECT_EQ(Log.Count("last"), 2);
}

TEST_F(TScrollBarTest, FocusKeysAndWheelOnlyWithCanFocused) {
    auto* Bar = MakeBar();
    Bar->SetPosition(50);
    ClickAt(Bar, 60, 9);
    EXPECT_FALSE(Bar->Focused());
    const int Start = Bar->Position();
    Headless.KeyDown(VK_LEFT);
    Headless.KeyUp(VK_LEFT);
    Headless.Wheel(120);
    Pump();
    EXPECT_EQ(Bar->Position(), Start);

    Bar->SetCanFocused(true);
    Bar->SetPosition(50);
    Bar->SetLargeChange(0);
    ClickAt(Bar, 60, 9);
    EXPECT_TRUE(Bar->Focused());
    Headless.KeyDown(VK_LEFT);
    Headless.KeyUp(VK_LEFT);
    Pump();
    EXPECT_EQ(Bar->Position(), 49);
    Headless.KeyDown(VK_DOWN);
    Headless.KeyUp(VK_DOWN);
    Pump();
    EXPECT_EQ(Bar->Position(), 50);
    Headless.Wheel(120);
    Pump();
    EXPECT_EQ(Bar->Position(), 49);

    EXPECT_EQ(Bar->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 1);
    EXPECT_EQ(Bar->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 0);
}

// A skinned bar cut from a 200-wide element: the track end and the up button
// follow the width; the thumb keeps its own size across.
testskin::TTestSkin ScrollBarSkin(bool StateFallbacks, const std::string& ThumbMinSize = "30",
                                  const std::string& ThumbMinPageSize = "24") {
    testskin::TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& P = Skin.AddPicture("bars.bmp", 260, 60, 24);
    const int Index = Skin.PictureIndex("bars.bmp");
    P.AddRegion("face", {0, 0, 200, 19});
    P.AddRegion("thumb", {0, 20, 20, 35});
    P.AddRegion("thumb.active", {20, 20, 40, 35});
    P.AddRegion("thumb.down", {40, 20, 60, 35});
    P.AddRegion("up.active", {60, 20, 77, 37});
    P.AddRegion("up.down", {80, 20, 97, 37});
    P.AddRegion("grip", {100, 20, 104, 24});
    P.AddRegion("grip.active", {110, 20, 114, 24});
    using testskin::RectText;
    testskin::TKeys Keys{"pictureindex=" + std::to_string(Index),
                         "skinrect=" + RectText(P.Region("face")),
                         "lefttoppoint=20,0",
                         "righttoppoint=180,0",
                         "clientrect=20,0,180,19",
                         "trackarea=18,1,182,18",
                         "upbuttonrect=182,1,199,18",
                         "downbuttonrect=1,1,18,18",
                         "activeupbuttonrect=" + RectText(P.Region("up.active")),
                         "thumbrect=" + RectText(P.Region("thumb")),
                         "glyphrect=" + RectText(P.Region("grip")),
                         "thumbminsize=" + ThumbMinSize,
                         "thumbminpagesize=" + ThumbMinPageSize};
    if (!StateFallbacks) {
        Keys.push_back("downupbuttonrect=" + RectText(P.Region("up.down")));
        Keys.push_back("activethumbrect=" + RectText(P.Region("thumb.active")));
        Keys.push_back("downthumbrect=" + RectText(P.Region("thumb.down")));
        Keys.push_back("activeglyphrect=" + RectText(P.Region("grip.active")));
    }
    Skin.AddControl("scrollbar", "skinbar", Keys);
    return Skin;
}

TEST_F(TScrollBarTest, SkinLayoutStretchesTrackAndMovesTheUpButton) {
    auto* SD = LoadSkin(ScrollBarSkin(false));
    auto* Bar = MakeBar(300, 19);
    Bar->SetSkinDataName("skinbar");
    Bar->SetSkinData(SD);
    Bar->SetRange(0, 100, 0, 0);
    Pump();
    EXPECT_EQ(Bar->Height(), 19);
    Bar->LayoutParts();
    EXPECT_EQ(Bar->TrackRect(), (TRect{18, 1, 282, 18}));
    EXPECT_EQ(Bar->Part(1).R, (TRect{282, 1, 299, 18}));
    EXPECT_EQ(Bar->Part(2).R, (TRect{1, 1, 18, 18}));
    // Fixed length ThumbMinPageSize 24, centred across: 1 + 17/2 - 15/2 = 2.
    EXPECT_EQ(Bar->Part(0).R, (TRect{18, 2, 42, 17}));
    Bar->SetRange(0, 99, 0, 5);
    Bar->LayoutParts();
    // nearest(264 * 5 / 100) = 13, raised to ThumbMinSize 30.
    EXPECT_EQ(Bar->Part(0).R.Width(), 30);
}

TEST_F(TScrollBarTest, ThumbsLongerThanTheBarAreCutToItsLength) {
    struct TRow {
        const char* MinSize;
        const char* MinPageSize;
        int PageSize;
    } Rows[] = {{"30", "99999", 0}, {"99999", "0", 0}, {"99999", "24", 5}, {"5000", "0", 5}};
    std::vector<std::string> Raised;
    Application->OnException = [&](TObject*, const std::exception& E) {
        Raised.push_back(E.what());
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(std::string(Row.MinSize) + " " + Row.MinPageSize);
        auto* SD = LoadSkin(ScrollBarSkin(false, Row.MinSize, Row.MinPageSize));
        auto* Bar = MakeBar(300, 19);
        Bar->SetSkinDataName("skinbar");
        Bar->SetSkinData(SD);
        Bar->SetRange(0, 99, 0, Row.PageSize);
        for (int Position : {0, 95}) {
            Bar->SetPosition(Position);
            Bar->Invalidate();
            Pump();
            EXPECT_EQ(Bar->Part(0).R.Width(), 300);
        }
        delete Bar;
    }
    Application->OnException = nullptr;
    EXPECT_EQ(Raised, std::vector<std::string>{});
}

TEST_F(TScrollBarTest, MissingStatePicturesFallBack) {
    const testskin::TTestSkin Skin = ScrollBarSkin(true);
    const testskin::TTestPicture& P = Skin.Picture("bars.bmp");
    auto* SD = LoadSkin(Skin);
    auto* Bar = MakeBar(200, 19);
    Bar->SetSkinDataName("skinbar");
    Bar->SetSkinData(SD);
    Pump();
    MoveTo(Bar, 190, 9);
    EXPECT_EQ(PixelOf(Bar, 190, 9), P.ColourOf("up.active"));
    PressAt(Bar, 190, 9);
    // No pressed picture: the hot one.
    EXPECT_EQ(PixelOf(Bar, 190, 9), P.ColourOf("up.active"));
    ReleaseAt(Bar, 190, 9);
    Bar->LayoutParts();
    const TRect T = Bar->Part(0).R;
    MoveTo(Bar, T.Left + 2, 9);
    // No hot thumb: the normal one, with the normal grip in its middle.
    EXPECT_EQ(PixelOf(Bar, T.Left + 2, 9), P.ColourOf("thumb"));
    PressAt(Bar, T.Left + 2, 9);
    EXPECT_EQ(PixelOf(Bar, T.Left + T.Width() / 2, T.Top + T.Height() / 2), P.ColourOf("grip"));
    ReleaseAt(Bar, T.Left + 2, 9);
    Bar->SetEnabled(false);
    EXPECT_EQ(PixelOf(Bar, T.Left + 2, 9), P.ColourOf("face"));
}

} // namespace
