// Speed buttons: groups, captions and widths, the accelerator, images from
// the button's list and from its tool bar's lists, the flat look, and the
// tool bar's hand-over of flat style, captions and skin data.
#include "skin/controls/bsSkinCtrls.Bars.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

namespace {

class TSpeedButtonTest : public TButtonsTest {
protected:
    TbsSkinSpeedButton* MakeSpeed(TWinControl* Parent, const std::string& Name, int Left = 10) {
        auto* B = new TbsSkinSpeedButton(Form);
        B->SetParent(Parent);
        B->SetBounds(Left, 10, 40, 40);
        B->SetCaption(Name);
        B->OnClick = Log.Note(Name);
        return B;
    }
    // A list of one Size x Size image in Colour.
    TCustomImageList* OneImage(TColor Colour, int Size = 16) {
        auto* L = new TCustomImageList(Form);
        L->SetWidth(Size);
        L->SetHeight(Size);
        TBitmap B;
        B.SetSize(Size, Size);
        B.Canvas()->Brush()->SetColor(Colour);
        B.Canvas()->FillRect({0, 0, Size, Size});
        L->Add(&B, nullptr);
        return L;
    }
    TEventLog Log;
};

TEST_F(TSpeedButtonTest, GroupButtonsReleaseEachOther) {
    auto* A = MakeSpeed(Form, "a", 10);
    auto* B = MakeSpeed(Form, "b", 60);
    auto* C = MakeSpeed(Form, "c", 110);
    A->SetDown(true);
    for (auto* S : {A, B, C})
        S->SetGroupIndex(1);
    EXPECT_TRUE(A->Down());
    Pump();
    ClickAt(B, 5, 5);
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(B->Down());
    C->SetDown(true);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Log.Names, (std::vector<std::string>{"b"}));
}

TEST_F(TSpeedButtonTest, CaptionOffNarrowsButKeepsTheAccelerator) {
    auto* S = MakeSpeed(Form, "&Go");
    S->SetWidthWithCaption(90);
    S->SetWidthWithoutCaption(30);
    S->SetShowCaption(false);
    EXPECT_EQ(S->Width(), 30);
    Pump();
    EXPECT_EQ(S->Perform(CM_DIALOGCHAR, 'G', 0), 1);
    EXPECT_EQ(Log.Count("&Go"), 1);
    S->SetShowCaption(true);
    EXPECT_EQ(S->Width(), 90);
}

TEST_F(TSpeedButtonTest, GlyphWinsOverTheImageList) {
    auto* S = MakeSpeed(Form, "");
    S->SetImageList(OneImage(clRed));
    S->SetImageIndex(0);
    EXPECT_EQ(PixelOf(S, 20, 20), Rgb(clRed));
    TBitmap G;
    G.SetSize(16, 16);
    G.Canvas()->Brush()->SetColor(clLime);
    G.Canvas()->FillRect({0, 0, 16, 16});
    G.Canvas()->SetPixels(0, 15, clFuchsia);
    S->SetGlyph(&G);
    EXPECT_EQ(PixelOf(S, 20, 20), Rgb(clLime));
}

TEST_F(TSpeedButtonTest, ToolBarListsByState) {
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 300, 60);
    Bar->SetImages(OneImage(clRed));
    Bar->SetHotImages(OneImage(clBlue));
    Bar->SetDisabledImages(OneImage(clLime));
    auto* S = MakeSpeed(Bar, "");
    S->SetImageIndex(0);
    Pump();
    MoveTo(S, 35, 35);
    MoveTo(Bar, 280, 50);
    const TPoint C{S->Width() / 2, S->Height() / 2};
    EXPECT_EQ(PixelOf(S, C.X, C.Y), Rgb(clRed));
    MoveTo(S, 35, 35);
    EXPECT_EQ(PixelOf(S, C.X, C.Y), Rgb(clBlue));
    MoveTo(Bar, 280, 50);
    S->SetEnabled(false);
    EXPECT_EQ(PixelOf(S, C.X, C.Y), Rgb(clLime));
}

TEST_F(TSpeedButtonTest, FlatSkinnedButtonShowsOnlyItsContentUntilHot) {
    const testskin::TTestSkin Skin = testskin::StandardTestSkin();
    const testskin::TTestPicture& P = Skin.Picture("controls.bmp");
    auto* SD = LoadSkin(Skin);
    Form->SetColor(clRed);
    auto* S = MakeSpeed(Form, "");
    S->SetSkinData(SD);
    S->SetFlat(true);
    MoveTo(S, 100, 100);
    EXPECT_EQ(PixelOf(S, 3, 3), Rgb(clRed));
    MoveTo(S, 5, 5);
    EXPECT_EQ(P.RegionAt(PixelOf(S, 3, 3)), "toolbutton.active");
    EXPECT_FALSE(S->Effects().MorphRunning());
}

} // namespace

namespace {

TEST_F(TSpeedButtonTest, ToolBarHandsFlatCaptionsAndSkinDataToItsSpeedButtons) {
    auto* SD = LoadSkin(testskin::StandardTestSkin());
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetBounds(0, 0, 300, 60);
    auto* A = MakeSpeed(Bar, "a", 10);
    auto* B = MakeSpeed(Bar, "b", 60);
    Bar->SetFlat(true);
    EXPECT_TRUE(A->Flat());
    EXPECT_TRUE(B->Flat());
    Bar->SetAutoShowHideCaptions(true);
    Bar->SetShowCaptions(true);
    Bar->SetShowCaptions(false);
    EXPECT_FALSE(A->ShowCaption());
    EXPECT_FALSE(B->ShowCaption());
    Bar->SetSkinData(SD);
    EXPECT_EQ(A->SkinData(), SD);
    EXPECT_EQ(B->SkinData(), SD);
}

} // namespace
