// The scroll box: ranges of its external bars from the children, scrolling
// the children, growing while scrolled, the plain frames, the skinned
// background picture, malformed skins, focus on click and the paint answers.
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/edits/EditsTestSupport.h"

namespace skinctl {
namespace {

class ScrollBoxTest : public TEditsTest {
protected:
    // A box whose client area is 200 x 150 (plain frame of one pixel) with
    // fixed bars beside it, and one child of the given size at (0, 0).
    void Build(int ChildW, int ChildH) {
        ShownForm();
        Box = new TbsSkinScrollBox(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 202, 152);
        V = new TbsSkinScrollBar(Form);
        V->SetParent(Form);
        V->SetKind(sbVertical);
        V->SetBounds(212, 10, 19, 152);
        H = new TbsSkinScrollBar(Form);
        H->SetParent(Form);
        H->SetBounds(10, 162, 221, 19);
        Box->SetVScrollBar(V);
        Box->SetHScrollBar(H);
        Child = new TPanel(Form);
        Child->SetParent(Box);
        Child->SetBounds(0, 0, ChildW, ChildH);
        Pump();
        Box->UpDateScrollRange();
        Pump();
    }
    TbsSkinScrollBox* Box = nullptr;
    TbsSkinScrollBar* V = nullptr;
    TbsSkinScrollBar* H = nullptr;
    TPanel* Child = nullptr;
};

TEST_F(ScrollBoxTest, RangesFollowTheChildAndTheBarsScrollIt) {
    Build(300, 400);
    ASSERT_EQ(Box->ClientWidth(), 200);
    ASSERT_EQ(Box->ClientHeight(), 150);
    EXPECT_TRUE(H->Visible());
    EXPECT_EQ(H->Max(), 299);
    EXPECT_EQ(H->PageSize(), 200);
    EXPECT_EQ(H->Position(), 0);
    EXPECT_TRUE(V->Visible());
    EXPECT_EQ(V->Max(), 399);
    EXPECT_EQ(V->PageSize(), 150);
    EXPECT_TRUE(H->Both());

    V->SetPosition(100);
    EXPECT_EQ(Child->Top(), -100);

    // The content shrinks while scrolled: its bottom comes to the view's.
    Child->SetHeight(180);
    Box->UpDateScrollRange();
    EXPECT_EQ(Child->Top(), -30);
    EXPECT_EQ(V->Max(), 179);
    EXPECT_EQ(V->Position(), 30);

    // Fits: bars hidden, range empty, the child back in place.
    Child->SetBounds(Child->Left(), Child->Top(), 100, 100);
    Box->UpDateScrollRange();
    EXPECT_FALSE(V->Visible());
    EXPECT_FALSE(H->Visible());
    EXPECT_EQ(V->Max(), 0);
    EXPECT_EQ(H->Max(), 0);
    EXPECT_EQ(Child->Top(), 0);
    EXPECT_FALSE(H->Both());
}

TEST_F(ScrollBoxTest, AnAlignedBoxGrowingWhileScrolledPullsTheContentDown) {
    ShownForm();
    auto* Host = new TPanel(Form);
    Host->SetParent(Form);
    Host->SetBevelOuter(bvNone);
    Host->SetBounds(10, 10, 219, 150);
    V = new TbsSkinScrollBar(Form);
    V->SetParent(Host);
    V->SetKind(sbVertical);
    V->SetWidth(19);
    V->SetAlign(alRight);
    Box = new TbsSkinScrollBox(Form);
    Box->SetParent(Host);
    Box->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    Box->SetAlign(alClient);
    Box->SetVScrollBar(V);
    Child = new TPanel(Form);
    Child->SetParent(Box);
    Child->SetBounds(0, 0, 100, 400);
    Box->UpDateScrollRange();
    Pump();
    ASSERT_EQ(Box->ClientHeight(), 150);
    ASSERT_TRUE(V->Visible());
    V->SetPosition(250);
    ASSERT_EQ(Child->Top(), -250);

    Host->SetHeight(200);
    Pump();
    EXPECT_EQ(Child->Top(), -200);
    EXPECT_EQ(V->Position(), 200);
    EXPECT_EQ(V->PageSize(), 200);
}

struct TFrameRow {
    const char* Name;
    TbsSkinBorderStyle Style;
    TColor TopLeft, BottomRight;
};

class ScrollBoxFrames : public ScrollBoxTest, public testing::WithParamInterface<TFrameRow> {};

TEST_P(ScrollBoxFrames, PlainFramePixels) {
    const TFrameRow& Row = GetParam();
    Build(50, 50);
    Box->SetBorderStyle(Row.Style);
    Pump();
    EXPECT_EQ(WindowPixel(Box, 0, 40), Rgb(Row.TopLeft));
    EXPECT_EQ(WindowPixel(Box, 40, 0), Rgb(Row.TopLeft));
    EXPECT_EQ(WindowPixel(Box, 201, 40), Rgb(Row.BottomRight));
    EXPECT_EQ(WindowPixel(Box, 40, 151), Rgb(Row.BottomRight));
    EXPECT_EQ(Box->ClientWidth(), 200);
}

const TFrameRow FrameRows[] = {
    {"Frame", TbsSkinBorderStyle::bvFrame, clBtnShadow, clBtnShadow},
    {"Raised", TbsSkinBorderStyle::bvRaised, clBtnShadow, clBtnHighlight},
    {"Lowered", TbsSkinBorderStyle::bvLowered, clBtnHighlight, clBtnShadow},
};

INSTANTIATE_TEST_SUITE_P(Styles, ScrollBoxFrames, testing::ValuesIn(FrameRows),
                         [](const testing::TestParamInfo<TFrameRow>& I) {
                             return std::string(I.param.Name);
                         });

TEST_F(ScrollBoxTest, NoBorderMeansNoFrameAndAnswersNothingToDC) {
    Build(50, 50);
    TBitmap B;
    B.SetSize(202, 152);
    EXPECT_EQ(Box->Perform(WM_NCPAINTTODC, WPARAM(B.Canvas()->Handle()), 0), NCPAINTTODC_ANSWER);
    EXPECT_EQ(Rgb(B.Canvas()->Pixels(0, 40)), Rgb(clBtnShadow));
    Box->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    Pump();
    EXPECT_EQ(Box->ClientWidth(), 202);
    EXPECT_EQ(Box->ClientHeight(), 152);
    EXPECT_EQ(Box->Perform(WM_NCPAINTTODC, WPARAM(B.Canvas()->Handle()), 0), 0);
    EXPECT_EQ(Box->Perform(WM_PAINTTODC, WPARAM(B.Canvas()->Handle()), PAINTTODC_TOKEN),
              PAINTTODC_TOKEN);
}

// A "scrollbox" element with a background picture, or with one the skin
// does not have, or with a face whose client part is empty.
testskin::TTestSkin ScrollBoxSkin(const std::string& Kind) {
    testskin::TTestSkin S = testskin::MinimalLoadableSkin();
    testskin::TTestPicture& Bg = S.AddPicture("boxbg.bmp", 16, 16, 24);
    Bg.AddRegion("tile.a", {0, 0, 8, 16});
    Bg.AddRegion("tile.b", {8, 0, 16, 16});
    testskin::TTestPicture& Face = S.AddPicture("boxface.bmp", 40, 40, 24);
    Face.AddRegion("face", {0, 0, 40, 40});
    const std::string BgIndex = std::to_string(S.PictureIndex("boxbg.bmp"));
    const std::string FaceIndex = std::to_string(S.PictureIndex("boxface.bmp"));
    if (Kind == "background")
        S.AddControl("scrollbox", "scrollbox", {"bgpictureindex=" + BgIndex});
    else if (Kind.rfind("st", 0) == 0)
        S.AddControl("scrollbox", "scrollbox",
                     {"bgpictureindex=" + BgIndex, "stretcheffect=1", "stretchtype=" + Kind});
    else if (Kind == "missing")
        S.AddControl("scrollbox", "scrollbox",
                     {"pictureindex=" + FaceIndex, "skinrect=0,0,40,40", "clientrect=4,4,36,36",
                      "bgpictureindex=99"});
    else
        S.AddControl("scrollbox", "scrollbox",
                     {"pictureindex=" + FaceIndex, "skinrect=0,0,40,40", "clientrect=0,0,0,0"});
    return S;
}

TEST_F(ScrollBoxTest, BackgroundPictureIsTiledWithoutAFrame) {
    const testskin::TTestSkin S = ScrollBoxSkin("background");
    UseSkin(S);
    Build(10, 10);
    Child->SetVisible(false);
    Box->SetSkinData(Data.get());
    Pump();
    EXPECT_EQ(Box->ClientWidth(), 202);
    const testskin::TTestPicture& Bg = S.Picture("boxbg.bmp");
    for (int X : {0, 16, 32, 192})
        EXPECT_EQ(WindowPixel(Box, X + 2, 2), Bg.ColourOf("tile.a")) << X;
    EXPECT_EQ(WindowPixel(Box, 10, 20), Bg.ColourOf("tile.b"));
}

TEST_F(ScrollBoxTest, BackgroundPictureIsStretchedByTheStretchType) {
    // The 16-pixel picture's left half "tile.a", right half "tile.b": tiled,
    // x 10 shows b and x 150 a; stretched across, a left of the middle and b
    // right of it.
    struct {
        const char* Type;
        const char* At10;
        const char* At150;
    } Rows[] = {{"stfull", "tile.a", "tile.b"},
                {"sthorz", "tile.b", "tile.a"},
                {"stvert", "tile.a", "tile.b"}};
    for (const auto& R : Rows) {
        const testskin::TTestSkin S = ScrollBoxSkin(R.Type);
        UseSkin(S);
        Build(10, 10);
        Child->SetVisible(false);
        Box->SetSkinData(Data.get());
        Pump();
        const testskin::TTestPicture& Bg = S.Picture("boxbg.bmp");
        EXPECT_EQ(WindowPixel(Box, 10, 40), Bg.ColourOf(R.At10)) << R.Type;
        EXPECT_EQ(WindowPixel(Box, 150, 40), Bg.ColourOf(R.At150)) << R.Type;
        delete Form;
        Form = nullptr;
    }
}

TEST_F(ScrollBoxTest, MalformedSkinsFallBackWithoutDividingByZero) {
    for (const char* Kind : {"missing", "empty"}) {
        UseSkin(ScrollBoxSkin(Kind));
        Build(10, 10);
        Child->SetVisible(false);
        Box->SetColor(clRed);
        Box->SetSkinData(Data.get());
        Pump();
        EXPECT_EQ(Box->BGPictureIndex, -1) << Kind;
        const TPoint Mid{Box->ClientWidth() / 2, Box->ClientHeight() / 2};
        if (std::string(Kind) == "empty")
            EXPECT_EQ(PixelOf(Box, Mid.X, Mid.Y), Rgb(clRed)) << Kind;
        else
            EXPECT_EQ(RegionOf(Box, Mid.X, Mid.Y), "boxface.bmp/face") << Kind;
        delete Form;
        Form = nullptr;
    }
}

TEST_F(ScrollBoxTest, AClickFocusesTheBoxFirstWhenItMayTakeTheFocus) {
    Build(50, 50);
    Child->SetVisible(false);
    int Downs = 0;
    Box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    const TPoint P = Box->ClientToScreen({100, 100});
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_FALSE(Box->Focused());
    EXPECT_EQ(Downs, 1);
    Box->SetCanFocused(true);
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(Downs, 2);
}

TEST_F(ScrollBoxTest, AClickIsDroppedWhenTheBoxCannotTakeTheFocus) {
    Build(50, 50);
    Child->SetVisible(false);
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 200, 80, 22);
    Edit->SetFocus();
    int Downs = 0;
    Box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    // A disabled form lets nothing of it take the focus; the press reaches
    // the box's window directly.
    Form->SetEnabled(false);
    for (bool CanFocused : {false, true}) {
        Box->SetCanFocused(CanFocused);
        SendMessage(Box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        SendMessage(Box->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
        // Without CanFocused the press is the control's; with it, the box
        // first asks for the focus, does not get it and drops the press.
        EXPECT_FALSE(Box->Focused());
        EXPECT_EQ(Downs, 1) << CanFocused;
    }
}

} // namespace
} // namespace skinctl
