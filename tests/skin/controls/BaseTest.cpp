// The skinned base classes: the skin link, the size rules of an element, the
// mapping of skin rectangles, painting and the background protocol.
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

using namespace skinctl;

namespace {

// A skin data made by hand: one picture, elements added by the test.
struct THandSkin {
    TbsSkinData Data{nullptr};
    THandSkin() {
        auto P = std::make_unique<TBitmap>();
        P->SetSize(40, 20);
        Data.FActivePictures.push_back(std::move(P));
        Data.Empty = false;
    }
    TbsDataSkinCustomControl& Add(const std::string& Name) {
        auto E = std::make_unique<TbsDataSkinCustomControl>(Name);
        E->PictureIndex = 0;
        E->SkinRect = {0, 0, 40, 20};
        E->ClRect = {4, 4, 36, 16};
        auto& Ref = *E;
        Data.CtrlList.push_back(std::move(E));
        return Ref;
    }
};

class BaseTest : public TSkinControlsTest {
protected:
    TProbeControl* Probe(TWinControl* Parent, const std::string& Name, int W = 10, int H = 10) {
        auto* P = new TProbeControl(Parent);
        P->SetBounds(0, 0, W, H);
        P->SetParent(Parent);
        P->SetSkinDataName(Name);
        return P;
    }
};

} // namespace

// ---- the skin link --------------------------------------------------------------

TEST_F(BaseTest, ANameWithoutElementGivesThePlainLookAtTheDefaultSize) {
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "nosuch");
    P->SetDefaultWidth(80);
    P->SetDefaultHeight(30);
    P->SetSkinData(Data.get());
    P->ChangeSkinData();
    Form->Show();
    EXPECT_EQ(P->FIndex, -1);
    EXPECT_EQ(P->Width(), 80);
    EXPECT_EQ(P->Height(), 30);
    for (TPoint Pt : {TPoint{0, 0}, TPoint{79, 29}, TPoint{40, 15}})
        EXPECT_EQ(PixelOf(P, Pt.X, Pt.Y), Rgb(clBtnFace));
}

TEST_F(BaseTest, AnEmptySkinIsOnlyStored) {
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "panel", 50, 40);
    Form->Show();
    Pump();
    const int Paints = P->Paints;
    TbsSkinData Empty(nullptr);
    P->SetSkinData(&Empty);
    Pump();
    EXPECT_EQ(P->SkinData(), &Empty);
    EXPECT_EQ(P->Width(), 50);
    EXPECT_EQ(P->Paints, Paints);
}

TEST_F(BaseTest, ANewNameShowsAtTheNextPaintOnly) {
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "", 30, 30);
    P->SetSkinData(Data.get());
    Form->Show();
    EXPECT_EQ(PixelOf(P, 15, 15), Rgb(clBtnFace));
    const int Paints = P->Paints;
    P->SetSkinDataName("panel");
    Pump();
    EXPECT_EQ(P->Paints, Paints);
    P->Invalidate();
    EXPECT_EQ(RegionOf(P, 15, 15), "controls.bmp/panel.face");
}

TEST_F(BaseTest, ARealSkinLoadRunsThroughBothWalks) {
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "panel", 30, 30);
    P->SetSkinData(Data.get());
    Form->Show();
    EXPECT_EQ(RegionOf(P, 15, 15), "controls.bmp/panel.face");

    // Between the two messages the control has no element: its plain look.
    std::uint32_t Between = 0;
    Form->AfterWalk = [&](UINT Msg) {
        if (Msg == WM_BEFORECHANGESKINDATA) {
            P->Repaint();
            Between = PixelOf(P, 15, 15);
        }
    };
    const testskin::TTestSkin Next = testskin::Variant(1);
    LoadSkin(*Data, Next);
    EXPECT_EQ(Between, Rgb(clBtnFace));
    Skin = Next;
    EXPECT_NE(P->FIndex, -1);
    EXPECT_EQ(RegionOf(P, 15, 15), "controls.bmp/panel.face");
    EXPECT_EQ(PixelOf(P, 15, 15), FaceColour("panel.face"));
}

TEST_F(BaseTest, FreeingTheSkinDataLeavesThePlainLook) {
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "panel", 30, 30);
    P->SetSkinData(Data.get());
    Form->Show();
    EXPECT_EQ(RegionOf(P, 15, 15), "controls.bmp/panel.face");
    const int Paints = P->Paints;
    Data.reset();
    Pump();
    EXPECT_EQ(P->SkinData(), nullptr);
    EXPECT_EQ(P->Paints, Paints);
    P->Invalidate();
    EXPECT_EQ(PixelOf(P, 15, 15), Rgb(clBtnFace));
}

TEST_F(BaseTest, ElementsOfAnotherClassOrWithoutPicturesPaintNothingFromAPicture) {
    TSkinChangeForm* Form = MakeForm();
    // "stdlabel" is not a nine-part element.
    TProbeControl* Label = Probe(Form, "stdlabel", 30, 30);
    Label->SetSkinData(Data.get());
    EXPECT_NE(Label->FIndex, -1);
    EXPECT_EQ(Label->ResizeMode, 0);
    EXPECT_EQ(Label->Picture, nullptr);

    THandSkin Hand;
    Hand.Add("far").PictureIndex = 7;
    Hand.Add("farmask").MaskPictureIndex = 9;
    TProbeControl* Far = Probe(Form, "far", 30, 30);
    Far->SetSkinData(&Hand.Data);
    TProbeControl* FarMask = Probe(Form, "farmask", 30, 30);
    FarMask->SetSkinData(&Hand.Data);
    EXPECT_EQ(Far->Picture, nullptr);
    EXPECT_EQ(FarMask->MaskPicture, nullptr);
    Form->Show();
    Pump();
    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(FarMask->Handle(), Rgn), ERROR);
    DeleteObject(ToObj(Rgn));
}

// ---- size rules -----------------------------------------------------------------

struct TSizeRow {
    const char* Name;
    TPoint RTPt, LBPt, RBPt;
    bool EmptySkinRect;
    int Mode;
    TSize Size;
    TRect NewClRect;
};

class SizeRules : public BaseTest, public testing::WithParamInterface<TSizeRow> {};

TEST_P(SizeRules, ModeSizeAndClientFollowTheCornerPoints) {
    const TSizeRow& Row = GetParam();
    THandSkin Hand;
    TbsDataSkinCustomControl& E = Hand.Add("e");
    E.RTPoint = Row.RTPt;
    E.LBPoint = Row.LBPt;
    E.RBPoint = Row.RBPt;
    if (Row.EmptySkinRect)
        E.SkinRect = {};
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "e");
    P->SetSkinData(&Hand.Data);
    const TRect Before = P->NewClRect;
    P->SetBounds(0, 0, 100, 50);
    EXPECT_EQ(P->ResizeMode, Row.Mode);
    EXPECT_EQ(P->Width(), Row.Size.cx);
    EXPECT_EQ(P->Height(), Row.Size.cy);
    EXPECT_EQ(P->NewClRect, Row.Mode == -1 ? Before : Row.NewClRect);

    // The plain look corrects nothing.
    TProbeControl* Plain = Probe(Form, "e");
    Plain->SetBounds(0, 0, 100, 50);
    EXPECT_EQ(Plain->Width(), 100);
    EXPECT_EQ(Plain->Height(), 50);
}

INSTANTIATE_TEST_SUITE_P(
    Base, SizeRules,
    testing::Values(TSizeRow{"BothAxes", {}, {}, {30, 14}, false, 1, {100, 50}, {4, 4, 96, 46}},
                    TSizeRow{"WidthOnly", {30, 0}, {}, {}, false, 2, {100, 20}, {4, 4, 96, 16}},
                    TSizeRow{"HeightOnly", {}, {0, 14}, {}, false, 3, {40, 50}, {4, 4, 36, 46}},
                    TSizeRow{"Fixed", {}, {}, {}, false, 0, {40, 20}, {4, 4, 36, 16}},
                    TSizeRow{"NoSkinRect", {}, {}, {30, 14}, true, -1, {100, 50}, {}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// ---- skin rectangles mapped to the control's size --------------------------------

struct TMapRow {
    const char* Name;
    int Mode;
    TRect R;
    TRect Expect;
};

class MapSkinRects : public BaseTest, public testing::WithParamInterface<TMapRow> {};

TEST_P(MapSkinRects, FollowTheRuleOfTheAreasTheyTouch) {
    const TMapRow& Row = GetParam();
    THandSkin Hand;
    TbsDataSkinCustomControl& E = Hand.Add("e");
    // A 40 x 20 element; dW = 60 and dH = 30 at 100 x 50.
    switch (Row.Mode) {
    case 1:
        E.LTPoint = {10, 5};
        E.RTPoint = {30, 5};
        E.LBPoint = {10, 15};
        E.RBPoint = {30, 15};
        break;
    case 2:
        E.LTPoint = {10, 0};
        E.RTPoint = {30, 0};
        break;
    case 3:
        E.LTPoint = {0, 5};
        E.LBPoint = {0, 15};
        break;
    default:
        break;
    }
    TSkinChangeForm* Form = MakeForm();
    TProbeControl* P = Probe(Form, "e");
    P->SetSkinData(&Hand.Data);
    P->SetBounds(0, 0, 100, 50);
    ASSERT_EQ(P->ResizeMode, Row.Mode);
    TRect NewR;
    P->MapSkinRect(Row.R, NewR);
    EXPECT_EQ(NewR, Row.Expect);
}

INSTANTIATE_TEST_SUITE_P(Base, MapSkinRects,
                         testing::Values(TMapRow{"InsideLT", 1, {1, 1, 5, 4}, {1, 1, 5, 4}},
                                         TMapRow{"InsideRT", 1, {31, 1, 35, 4}, {91, 1, 95, 4}},
                                         TMapRow{"InsideLB", 1, {1, 16, 5, 19}, {1, 46, 5, 49}},
                                         TMapRow{"InsideRB", 1, {31, 16, 35, 19}, {91, 46, 95, 49}},
                                         TMapRow{"LTtoRB", 1, {2, 2, 32, 17}, {2, 2, 92, 47}},
                                         TMapRow{"LTtoRT", 1, {2, 2, 32, 4}, {2, 2, 92, 4}},
                                         TMapRow{"LBtoRB", 1, {2, 16, 32, 18}, {2, 46, 92, 48}},
                                         TMapRow{"LTtoLB", 1, {2, 2, 8, 17}, {2, 2, 8, 47}},
                                         TMapRow{"RTtoRB", 1, {32, 2, 38, 17}, {92, 2, 98, 47}},
                                         TMapRow{"Middle", 1, {12, 7, 28, 13}, {12, 7, 28, 13}},
                                         TMapRow{"WidthSpan", 2, {5, 2, 35, 8}, {5, 2, 95, 8}},
                                         TMapRow{"WidthRight", 2, {32, 2, 38, 8}, {92, 2, 98, 8}},
                                         TMapRow{"WidthMiddle", 2, {12, 2, 20, 8}, {12, 2, 20, 8}},
                                         TMapRow{"HeightSpan", 3, {2, 3, 8, 17}, {2, 3, 8, 47}},
                                         TMapRow{"HeightBottom", 3, {2, 16, 8, 19}, {2, 46, 8, 49}},
                                         TMapRow{"HeightMiddle", 3, {2, 7, 8, 12}, {2, 7, 8, 12}},
                                         TMapRow{"Fixed", 0, {2, 2, 38, 18}, {2, 2, 38, 18}}),
                         [](const auto& Info) { return std::string(Info.param.Name); });
