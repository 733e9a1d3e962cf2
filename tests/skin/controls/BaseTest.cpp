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

// ---- painting ---------------------------------------------------------------------

namespace {

class NinePaint : public BaseTest {
protected:
    void SetUp() override {
        BaseTest::SetUp();
        testskin::TTestSkin S = NineSkin();
        AddNineElement(S, "panel", "nine");
        AddNineElement(S, "panel", "ninestretch", {"stretcheffect=1"});
        for (const char* Type : {"stfull", "sthorz", "stvert"})
            AddNineElement(S, "panel", std::string("nine") + Type,
                           {"stretcheffect=1", std::string("stretchtype=") + Type});
        AddNineElement(S, "panel", "ninemasked",
                       {"maskpictureindex=" + std::to_string(NineMaskPicture)});
        S.AddControl("panel", "fixedmasked",
                     {"pictureindex=" + std::to_string(NinePicture), "skinrect=0,0,40,20",
                      "maskpictureindex=" + std::to_string(NineMaskPicture)});
        UseSkin(S);
        Form = MakeForm();
    }
    TProbeControl* Skinned(const std::string& Name, int W, int H) {
        TProbeControl* P = Probe(Form, Name, W, H);
        P->SetSkinData(Data.get());
        return P;
    }
    // The region of nine.bmp under a client point.
    std::string At(TControl* C, int X, int Y) {
        const std::string R = RegionOf(C, X, Y);
        return R.rfind("nine.bmp/", 0) == 0 ? R.substr(9) : R;
    }
    TSkinChangeForm* Form = nullptr;
};

} // namespace

TEST_F(NinePaint, AtTheElementsOwnSizeThePictureIsCopied) {
    TProbeControl* P = Skinned("nine", 40, 20);
    Form->Show();
    const struct {
        int X, Y;
        const char* Region;
    } Rows[] = {{0, 0, "lt"},    {20, 2, "top"},     {39, 0, "rt"},
                {5, 10, "left"}, {20, 10, "client"}, {35, 10, "right"},
                {0, 19, "lb"},   {20, 17, "bottom"}, {39, 19, "rb"}};
    for (const auto& Row : Rows)
        EXPECT_EQ(At(P, Row.X, Row.Y), Row.Region) << Row.X << "," << Row.Y;
}

TEST_F(NinePaint, ALargerControlKeepsTheCornersAndStretchesTheMiddle) {
    TProbeControl* P = Skinned("nine", 120, 60);
    Form->Show();
    EXPECT_EQ(At(P, 0, 0), "lt");
    EXPECT_EQ(At(P, 9, 4), "lt");
    EXPECT_EQ(At(P, 119, 0), "rt");
    EXPECT_EQ(At(P, 110, 4), "rt");
    EXPECT_EQ(At(P, 0, 59), "lb");
    EXPECT_EQ(At(P, 119, 59), "rb");
    EXPECT_EQ(At(P, 60, 30), "client");
    EXPECT_EQ(At(P, 60, 2), "top");
    EXPECT_EQ(At(P, 5, 30), "left");
}

TEST_F(NinePaint, TheFramePathDrawsBordersAndCoversTheClientUnderItsClip) {
    for (const char* Name : {"nine", "ninestfull", "ninesthorz", "ninestvert"}) {
        SCOPED_TRACE(Name);
        TProbeControl* P = Skinned(Name, 120, 60);
        P->SetForcebackGround(true);
        Form->Show();
        // NewClRect is (10, 5, 110, 55).
        EXPECT_EQ(At(P, 10, 5), "client");
        EXPECT_EQ(At(P, 109, 54), "client");
        EXPECT_EQ(At(P, 60, 25), "client");
        EXPECT_EQ(At(P, 9, 25), "left");
        EXPECT_EQ(At(P, 110, 25), "right");
        EXPECT_EQ(At(P, 60, 4), "top");
        EXPECT_EQ(At(P, 60, 55), "bottom");
        EXPECT_EQ(At(P, 0, 0), "lt");
        EXPECT_EQ(At(P, 119, 59), "rb");
        delete P;
    }
}

TEST_F(NinePaint, WithoutDrawbackGroundTheFramePathLeavesTheClientAsItWas) {
    TProbeControl* P = Skinned("nine", 120, 60);
    P->SetForcebackGround(true);
    Form->Show();
    EXPECT_EQ(At(P, 60, 25), "client");
    const std::uint32_t Before = PixelOf(P, 60, 25);
    // The next skin has other colours everywhere; only the border follows.
    P->SetDrawbackGround(false);
    testskin::TTestSkin Next = NineSkin(1);
    AddNineElement(Next, "panel", "nine");
    UseSkin(Next);
    P->Repaint();
    EXPECT_EQ(At(P, 0, 0), "lt");
    EXPECT_EQ(PixelOf(P, 60, 25), Before);
    EXPECT_NE(PixelOf(P, 60, 25), NineColour("client"));
}

TEST_F(NinePaint, AControlWithoutAreaPaintsNothing) {
    for (TSize Size : {TSize{0, 20}, TSize{20, 0}}) {
        TProbeControl* P = Skinned("nine", 40, 20);
        Form->Show();
        Pump();
        P->SetBounds(0, 0, Size.cx, Size.cy);
        P->Canvas()->Handle();
        P->Canvas()->SetHandle(nullptr);
        EXPECT_NO_THROW(P->Paint());
        EXPECT_FALSE(P->Canvas()->HandleAllocated());
        delete P;
    }
}

TEST_F(NinePaint, EraseBackgroundIsSwallowed) {
    TProbeControl* P = Skinned("nine", 40, 20);
    Form->Show();
    TBitmap B;
    B.SetSize(4, 4);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect({0, 0, 4, 4});
    EXPECT_EQ(SendMessage(P->Handle(), WM_ERASEBKGND, WPARAM(B.Canvas()->Handle()), 0), 0);
    EXPECT_EQ(B.Canvas()->Pixels(1, 1), clRed);
}

TEST_F(NinePaint, FromWMPaintHoldsOnlyDuringThePaintMessage) {
    TProbeControl* P = Skinned("nine", 40, 20);
    bool Inside = false;
    P->OnPaintStart = [&] { Inside = P->FromWMPaint; };
    Form->Show();
    Pump();
    EXPECT_TRUE(Inside);
    EXPECT_FALSE(P->FromWMPaint);
    P->OnPaintStart = [] { throw EInvalidOperation("paint failed"); };
    EXPECT_ANY_THROW(P->Perform(WM_PAINT, 0, 0));
    EXPECT_FALSE(P->FromWMPaint);
}

TEST_F(NinePaint, ADefaultFontChangeRepaintsOnlyThePlainLook) {
    TProbeControl* Plain = Probe(Form, "nosuch", 30, 30);
    TProbeControl* Skin9 = Skinned("nine", 40, 20);
    Form->Show();
    Pump();
    for (TProbeControl* P : {Plain, Skin9}) {
        const int Paints = P->Paints;
        TFont F;
        F.SetName("Tahoma");
        P->SetDefaultFont(&F);
        Pump();
        EXPECT_GE(P->FontChanges, 1);
        if (P == Plain)
            EXPECT_GT(P->Paints, Paints);
        else
            EXPECT_EQ(P->Paints, Paints);
    }
}

TEST_F(NinePaint, TheGraphicTwinPaintsOnItsParentAndNeverTakesARegion) {
    auto* G = new TGraphicProbe(Form);
    G->SetBounds(10, 10, 40, 20);
    G->SetParent(Form);
    G->SetSkinDataName("ninemasked");
    G->SetSkinData(Data.get());
    Form->Show();
    EXPECT_EQ(At(Form, 10, 10), "lt");
    EXPECT_EQ(At(Form, 30, 20), "client");
    EXPECT_EQ(At(Form, 49, 29), "rb");
    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(Form->Handle(), Rgn), ERROR);
    DeleteObject(ToObj(Rgn));
}

// ---- regions ----------------------------------------------------------------------

TEST_F(NinePaint, TheMaskBecomesTheWindowRegion) {
    const testskin::TTestPicture& Mask = Skin.Picture("ninemask.bmp");
    auto Inside = [](HRGN Rgn, int X, int Y) { return PtInRegion(Rgn, X, Y) != 0; };
    // Mode 0: the whole mask.
    TProbeControl* Fixed = Skinned("fixedmasked", 10, 10);
    Form->Show();
    ASSERT_EQ(Fixed->ResizeMode, 0);
    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Fixed->Handle(), Rgn), ERROR);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 40; ++X)
            ASSERT_EQ(Inside(Rgn, X, Y), Mask.Pixel(X, Y) == testskin::Black) << X << "," << Y;

    // Mode 1 at twice the size: the corners' shape at the four corners.
    TProbeControl* Nine = Skinned("ninemasked", 80, 40);
    ASSERT_NE(GetWindowRgn(Nine->Handle(), Rgn), ERROR);
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 10; ++X) {
            const bool Black = Mask.Pixel(X, Y) == testskin::Black;
            EXPECT_EQ(Inside(Rgn, X, Y), Black);
            EXPECT_EQ(Inside(Rgn, 70 + X, Y), Mask.Pixel(30 + X, Y) == testskin::Black);
            EXPECT_EQ(Inside(Rgn, X, 35 + Y), Mask.Pixel(X, 15 + Y) == testskin::Black);
            EXPECT_EQ(Inside(Rgn, 70 + X, 35 + Y), Mask.Pixel(30 + X, 15 + Y) == testskin::Black);
        }
    EXPECT_TRUE(Inside(Rgn, 40, 20));
    EXPECT_FALSE(Inside(Rgn, 0, 0));

    // A skin whose element has no mask takes the region away.
    testskin::TTestSkin Next = NineSkin(1);
    AddNineElement(Next, "panel", "ninemasked");
    UseSkin(Next);
    Nine->ChangeSkinData();
    EXPECT_EQ(GetWindowRgn(Nine->Handle(), Rgn), ERROR);
    DeleteObject(ToObj(Rgn));
}

// ---- the parent-background notice -------------------------------------------------

TEST_F(NinePaint, AStretchingContainerTellsEveryChildOnEverySetBounds) {
    struct TRow {
        const char* Element;
        bool Skinned;
        int Expect;
    } Rows[] = {{"ninestretch", true, 1}, {"nine", true, 0}, {"ninestretch", false, 0}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Element);
        TProbeControl* Box = Probe(Form, Row.Element, 100, 60);
        if (Row.Skinned)
            Box->SetSkinData(Data.get());
        TProbeControl* Win = Probe(Box, "nosuch", 10, 10);
        auto* Graphic = new TGraphicProbe(Box);
        Graphic->SetParent(Box);
        ASSERT_FALSE(Win->HandleAllocated());
        Box->SetBounds(0, 0, 120, 60);
        EXPECT_EQ(Win->CheckMessages, Row.Expect);
        EXPECT_EQ(Win->CheckCalls, Row.Expect);
        EXPECT_EQ(Graphic->CheckMessages, Row.Expect);
        EXPECT_EQ(Win->HandleAllocated(), Row.Expect == 1);
        // The same size again still tells them.
        Box->SetBounds(0, 0, 120, 60);
        EXPECT_EQ(Win->CheckMessages, 2 * Row.Expect);
        EXPECT_EQ(Graphic->CheckMessages, 2 * Row.Expect);
        delete Box;
    }
}

TEST_F(NinePaint, SkinnedControlsCentreThemselvesInAnAdjustingToolBar) {
    testskin::TTestSkin S = Skin;
    AddBarElement(S, "bar");
    UseSkin(S);
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetSkinDataName("bar");
    Bar->SetSkinData(Data.get());
    Bar->SetBounds(0, 0, 200, 34);
    ASSERT_EQ(Bar->GetSkinClientRect(), (TRect{4, 4, 196, 30}));
    TProbeControl* Win = Probe(Bar, "nosuch", 30, 20);
    auto* Graphic = new TGraphicProbe(Bar);
    Graphic->SetParent(Bar);
    Graphic->SetBounds(40, 0, 30, 20);
    Win->SetBounds(0, 0, 30, 20);
    EXPECT_EQ(Win->Top(), 7);
    EXPECT_EQ(Graphic->Top(), 7);
}
