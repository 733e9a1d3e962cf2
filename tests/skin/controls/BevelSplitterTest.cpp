// The skinned bevel and splitter.
#include "tests/skin/controls/support/SkinControlsSupport.h"

#include <map>

using namespace skinctl;

namespace {

using TPixels = std::map<std::pair<int, int>, TColor>;

// The pixels of a polyline as the canvas draws it: every point but the last.
void Polyline(TPixels& P, std::vector<TPoint> Points, TColor C) {
    for (size_t I = 0; I + 1 < Points.size(); ++I) {
        TPoint A = Points[I];
        const TPoint B = Points[I + 1];
        const int DX = (B.X > A.X) - (B.X < A.X), DY = (B.Y > A.Y) - (B.Y < A.Y);
        for (; A.X != B.X || A.Y != B.Y; A.X += DX, A.Y += DY)
            P[{A.X, A.Y}] = C;
    }
}

// The bevel rectangle: Colour1 down the left and along the top, Colour2 down
// the right and back along the bottom.
void BevelRect(TPixels& P, int L, int T, int R, int B, TColor C1, TColor C2) {
    Polyline(P, {{L, B}, {L, T}, {R, T}}, C1);
    Polyline(P, {{R, T}, {R, B}, {L, B}}, C2);
}

class BevelTest : public TSkinControlsTest {
protected:
    void SetUp() override {
        TSkinControlsTest::SetUp();
        Form = MakeForm();
    }
    TbsSkinBevel* Bevel(int W, int H) {
        auto* B = new TbsSkinBevel(Form);
        B->SetParent(Form);
        B->SetBounds(10, 10, W, H);
        return B;
    }
    // Every pixel of B is Expect's colour, or the form's where Expect has none.
    void ExpectPixels(TbsSkinBevel* B, const TPixels& Expect) {
        Form->Show();
        Pump();
        FlushPresents();
        for (int Y = 0; Y < B->Height(); ++Y)
            for (int X = 0; X < B->Width(); ++X) {
                auto It = Expect.find({X, Y});
                const std::uint32_t Want = Rgb(It == Expect.end() ? clBtnFace : It->second);
                ASSERT_EQ(ScreenAt(B, X, Y), Want) << X << "," << Y;
            }
    }
    TSkinChangeForm* Form = nullptr;
};

} // namespace

TEST_F(BevelTest, PlainShapesInBothStyles) {
    const int W = 20, H = 10;
    for (TBevelStyle Style : {bsLowered, bsRaised}) {
        const TColor C1 = Style == bsLowered ? clBtnShadow : clBtnHighlight;
        const TColor C2 = Style == bsLowered ? clBtnHighlight : clBtnShadow;
        for (TBevelShape Shape :
             {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer}) {
            SCOPED_TRACE(testing::Message() << "style " << Style << " shape " << Shape);
            TPixels P;
            switch (Shape) {
            case bsBox:
                BevelRect(P, 0, 0, W - 1, H - 1, C1, C2);
                break;
            case bsFrame:
                BevelRect(P, 1, 1, W - 1, H - 1, C2, C2);
                BevelRect(P, 0, 0, W - 2, H - 2, C1, C1);
                break;
            case bsTopLine:
                Polyline(P, {{0, 0}, {W, 0}}, C1);
                Polyline(P, {{0, 1}, {W, 1}}, C2);
                break;
            case bsBottomLine:
                Polyline(P, {{0, H - 2}, {W, H - 2}}, C1);
                Polyline(P, {{0, H - 1}, {W, H - 1}}, C2);
                break;
            case bsLeftLine:
                Polyline(P, {{0, 0}, {0, H}}, C1);
                Polyline(P, {{1, 0}, {1, H}}, C2);
                break;
            case bsRightLine:
                Polyline(P, {{W - 2, 0}, {W - 2, H}}, C1);
                Polyline(P, {{W - 1, 0}, {W - 1, H}}, C2);
                break;
            default:
                break;
            }
            TbsSkinBevel* B = Bevel(W, H);
            B->SetStyle(Style);
            B->SetShape(Shape);
            ExpectPixels(B, P);
            delete B;
        }
    }
}

TEST_F(BevelTest, DividerGrooves) {
    struct TRow {
        TBevelShape Shape;
        bool Groove;
        TRect R;
    } Rows[] = {
        {bsFrame, true, {49, 2, 50, 18}}, {bsTopLine, true, {2, 9, 98, 10}}, {bsSpacer, false, {}}};
    for (const TRow& Row : Rows) {
        TPixels P;
        if (Row.Groove)
            BevelRect(P, Row.R.Left, Row.R.Top, Row.R.Right, Row.R.Bottom, clBtnShadow,
                      clBtnHighlight);
        TbsSkinBevel* B = Bevel(100, 20);
        B->SetShape(Row.Shape);
        B->SetDividerMode(true);
        ExpectPixels(B, P);
        delete B;
    }
}

TEST_F(BevelTest, ColoursComeFromABevelElementOnlyAtASkinChange) {
    testskin::TTestSkin S = NineSkin();
    S.AddControl("bevel", "mybevel", {"lightcolor=255", "darkcolor=16711680"});
    UseSkin(S);
    TbsSkinBevel* B = Bevel(20, 10);
    B->SetSkinDataName("mybevel");
    B->SetSkinData(Data.get());
    EXPECT_EQ(B->LightColor, TColor(255));
    EXPECT_EQ(B->DarkColor, TColor(16711680));
    // A name alone changes nothing until the skin change.
    B->SetSkinDataName("panel");
    EXPECT_EQ(B->LightColor, TColor(255));
    // An element of another class keeps the colours it had.
    B->ChangeSkinData();
    EXPECT_EQ(B->LightColor, TColor(255));
    EXPECT_EQ(B->DarkColor, TColor(16711680));
    B->SetSkinDataName("nosuch");
    B->ChangeSkinData();
    EXPECT_EQ(B->LightColor, clBtnHighlight);
}

TEST_F(BevelTest, ABevelCentresItselfInAnAdjustingToolBar) {
    testskin::TTestSkin S = NineSkin();
    AddBarElement(S, "bar");
    UseSkin(S);
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetSkinDataName("bar");
    Bar->SetSkinData(Data.get());
    Bar->SetBounds(0, 0, 200, 34);
    auto* B = new TbsSkinBevel(Form);
    B->SetParent(Bar);
    B->SetBounds(50, 0, 6, 10);
    EXPECT_EQ(B->Top(), 12);
    EXPECT_EQ(B->Width(), 6);
    EXPECT_EQ(B->Height(), 10);
}

// ---- the splitter --------------------------------------------------------------------------

namespace {

class SplitterTest : public TSkinControlsTest {
protected:
    void SetUp() override {
        TSkinControlsTest::SetUp();
        testskin::TTestSkin S = NineSkin();
        S.AddControl("splitter", "hsplit6",
                     {"pictureindex=" + std::to_string(NinePicture), "skinrect=0,0,40,6",
                      "lefttoppoint=10,0", "righttoppoint=30,0"});
        const testskin::TKeys Vertical{"pictureindex=" + std::to_string(SplitPicture),
                                       "skinrect=0,0,10,40",
                                       "lefttoppoint=0,10",
                                       "leftbottompoint=0,30",
                                       "gripperrect=10,0,16,20",
                                       "grippertransparentcolor=65280"};
        S.AddControl("splitter", "vsplit", Vertical);
        testskin::TKeys Keyed = Vertical;
        Keyed.push_back("grippertransparent=1");
        S.AddControl("splitter", "vsplitkeyed", Keyed);
        UseSkin(S);
        Form = MakeForm();
    }
    TbsSkinSplitter* Splitter(TAlign Align, const std::string& Element) {
        auto* Sp = new TbsSkinSplitter(Form);
        Sp->SetParent(Form);
        Sp->SetAlign(Align);
        Sp->SetSkinDataName(Element);
        Sp->SetColor(clYellow);
        Sp->SetSkinData(Data.get());
        return Sp;
    }
    std::string At(TControl* C, int X, int Y) {
        const std::string R = RegionOf(C, X, Y);
        const auto Slash = R.find('/');
        return Slash == std::string::npos ? R : R.substr(Slash + 1);
    }
    TSkinChangeForm* Form = nullptr;
};

} // namespace

TEST_F(SplitterTest, ThicknessFromTheSkinOrTheDefault) {
    TbsSkinSplitter* Sp = Splitter(alTop, "hsplit6");
    EXPECT_EQ(Sp->Height(), 6);
    Form->Show();
    EXPECT_EQ(At(Sp, 0, 0), "lt");
    Sp->SetTransparent(true);
    Sp->ChangeSkinData();
    EXPECT_EQ(Sp->Height(), Sp->DefaultSize());
    EXPECT_FALSE(Sp->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(PixelOf(Sp, 5, 5), Rgb(Form->Color()));
}

TEST_F(SplitterTest, ThreePartLookWithACentredGripper) {
    for (const char* Element : {"vsplit", "vsplitkeyed"}) {
        TbsSkinSplitter* Sp = Splitter(alLeft, Element);
        Form->SetBounds(100, 100, 400, 300);
        Form->SetClientSize(400, 300);
        EXPECT_EQ(Sp->Width(), 10);
        ASSERT_EQ(Sp->Height(), 300);
        Form->Show();
        EXPECT_EQ(At(Sp, 5, 5), "split.strip");
        EXPECT_EQ(At(Sp, 5, 295), "split.strip");
        // The gripper at (2, 140), 6 x 20; its green pixel at (4, 145).
        EXPECT_EQ(At(Sp, 2, 140), "split.grip");
        EXPECT_EQ(At(Sp, 7, 159), "split.grip");
        EXPECT_EQ(At(Sp, 1, 140), "split.strip");
        EXPECT_EQ(At(Sp, 4, 145), std::string(Element) == "vsplit" ? "" : "split.strip");
        delete Sp;
    }
}

TEST_F(SplitterTest, TheClassLibraryLookWhereTheSkinCannotServe) {
    TbsSkinSplitter* Client = Splitter(alClient, "vsplit");
    Form->Show();
    EXPECT_EQ(PixelOf(Client, 5, 5), Rgb(clYellow));
    delete Client;
    TbsSkinSplitter* Other = Splitter(alLeft, "panel");
    EXPECT_EQ(PixelOf(Other, 5, 5), Rgb(clYellow));
}

TEST_F(SplitterTest, DraggingResizesTheNeighbour) {
    auto* Left = new TbsSkinPanel(Form);
    Left->SetParent(Form);
    Left->SetAlign(alLeft);
    Left->SetWidth(100);
    TbsSkinSplitter* Sp = Splitter(alLeft, "vsplit");
    Sp->SetLeft(200);
    Form->Show();
    Pump();
    ASSERT_EQ(Sp->Left(), 100);
    const TPoint P = Sp->ClientToScreen({5, 50});
    Headless.MovePointer(P.X, P.Y);
    Headless.Press();
    Headless.MovePointer(P.X + 30, P.Y);
    Headless.Release();
    Pump();
    EXPECT_EQ(Left->Width(), 130);
}
