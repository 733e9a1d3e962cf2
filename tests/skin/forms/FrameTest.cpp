// The skinned frame's geometry, painting and region, and the plain look.
#include "platform/win/Windows.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using testskin::TTestSkin;
using SkinFrame = SkinFormFixture;

TEST_F(SkinFrame, AtThePictureSizeTheGeometryIsTheSkinsAndTheStripsAreItsBorders) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    auto B = PaintFrame(F);
    EXPECT_EQ(C->NewClRect, Skin->ClRect);
    EXPECT_EQ(C->NewLTPoint, Skin->LTPoint);
    EXPECT_EQ(C->NewRBPoint, Skin->RBPoint);
    EXPECT_EQ(C->NewMaskRectArea, Skin->MaskRectArea);
    EXPECT_EQ(C->NewHitTestRBPoint, Skin->HitTestRBPoint);
    const testskin::TTestPicture& Picture = *LastSkin.FramePicture();
    int Wrong = 0;
    for (int Y = 0; Y < 200; ++Y)
        for (int X = 0; X < 300; ++X) {
            const bool Client = X >= 5 && X < 295 && Y >= 30 && Y < 195;
            const std::uint32_t Expected = Client ? 0x010203 : Picture.Pixel(X, Y);
            // Caption objects are drawn over the caption band.
            if (!Client && Y < 30 && X >= 40)
                continue;
            Wrong += PixelOf(B.get(), X, Y) != Expected;
        }
    EXPECT_EQ(Wrong, 0) << "the frame copies the picture and never writes the client";
}

TEST_F(SkinFrame, ALargerFormMovesEverythingRightOfAndBelowTheCorners) {
    struct TRow {
        const char* ButtonsRect;
        int ExpectedLeft;
    };
    const TRow Rows[] = {{"buttonsrect=150,7,295,23", 150}, {"buttonsrect=151,7,295,23", 251}};
    for (const TRow& R : Rows) {
        TbsSkinData* Skin = LoadSkin(FrameSkin(TFrameSkinOptions().WithFormInfo({R.ButtonsRect})));
        TForm* F = MakeForm(400, 250, bsSizeable, Skin);
        TbsSkinForm* C = Component(F);
        C->CalcFrameRects();
        EXPECT_EQ(C->NewRTPoint, (TPoint{395, 30}));
        EXPECT_EQ(C->NewRBPoint, (TPoint{395, 245}));
        EXPECT_EQ(C->NewClRect, (TRect{5, 30, 395, 245}));
        EXPECT_EQ(C->NewCaptionRect, (TRect{40, 5, 300, 25}));
        EXPECT_EQ(C->NewButtonsRect.Left, R.ExpectedLeft) << R.ButtonsRect;
        delete F;
    }
}

TEST_F(SkinFrame, MapSkinRectFollowsTheTenRules) {
    TForm* F = MakeForm(400, 250, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    C->CalcFrameRects();
    const struct {
        const char* Name;
        TRect In, Out;
    } Rows[] = {
        {"1 top-left", {1, 1, 4, 20}, {1, 1, 4, 20}},
        {"2 top-right", {296, 1, 299, 20}, {396, 1, 399, 20}},
        {"3 bottom-left", {1, 196, 4, 199}, {1, 246, 4, 249}},
        {"4 bottom-right", {296, 196, 299, 199}, {396, 246, 399, 249}},
        {"5 across", {1, 1, 299, 199}, {1, 1, 399, 249}},
        {"6 top edge", {1, 1, 299, 20}, {1, 1, 399, 20}},
        {"7 bottom edge", {1, 196, 299, 199}, {1, 246, 399, 249}},
        {"8 left edge", {1, 1, 4, 199}, {1, 1, 4, 249}},
        {"9 right edge", {296, 1, 299, 199}, {396, 1, 399, 249}},
        {"10 elsewhere", {100, 100, 120, 120}, {100, 100, 120, 120}},
        {"touching the right edge", {296, 1, 300, 20}, {296, 1, 300, 20}},
    };
    for (const auto& R : Rows) {
        TRect Out;
        C->MapSkinRect(R.In, Out);
        EXPECT_EQ(Out, R.Out) << R.Name;
    }
}

TEST_F(SkinFrame, InactiveLooks) {
    struct TRow {
        const char* Name;
        TFrameSkinOptions Options;
        std::uint32_t (*Expected)(std::uint32_t Left, std::uint32_t InactiveLeft);
    };
    const TRow Rows[] = {
        {"inactive picture", TFrameSkinOptions().WithInactive(),
         [](std::uint32_t, std::uint32_t I) { return I; }},
        {"invert",
         TFrameSkinOptions().WithFormInfo(
             {"autorenderinginactiveimage=1", "inactiveeffect=ieinvert"}),
         [](std::uint32_t L, std::uint32_t) { return L ^ 0xFFFFFFu; }},
        {"grey",
         TFrameSkinOptions().WithFormInfo(
             {"autorenderinginactiveimage=1", "inactiveeffect=iegrayscale"}),
         [](std::uint32_t L, std::uint32_t) -> std::uint32_t {
             const std::uint32_t G = (((L >> 16) & 255) + ((L >> 8) & 255) + (L & 255)) / 3;
             return G;
         }},
    };
    for (const TRow& R : Rows) {
        TbsSkinData* Skin = LoadSkin(FrameSkin(R.Options));
        TForm* F = MakeForm(300, 200, bsSizeable, Skin);
        TForm* Other = MakeForm(100, 100);
        ASSERT_FALSE(Component(F)->GetFormActive()) << R.Name;
        auto B = PaintFrame(F);
        const std::uint32_t Left = Region("left");
        const std::uint32_t InactiveLeft =
            R.Options.Inactive ? LastSkin.InactivePicture()->ColourOf("inactive.left") : 0;
        const std::uint32_t Got = PixelOf(B.get(), 2, 100);
        if (std::string(R.Name) == "grey") {
            EXPECT_EQ((Got >> 16) & 255, Got & 255) << R.Name;
            EXPECT_EQ((Got >> 8) & 255, Got & 255) << R.Name;
        } else
            EXPECT_EQ(Got, R.Expected(Left, InactiveLeft)) << R.Name;
        delete Other;
        delete F;
    }
}

TEST_F(SkinFrame, TheMaskGivesTheRegion) {
    TbsSkinData* Skin = LoadSkin(FrameSkin(TFrameSkinOptions().WithMask()));
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    ASSERT_NE(C->FRgn, nullptr);
    const testskin::TTestPicture& Mask = *LastSkin.Mask();
    int Wrong = 0;
    for (int Y = 0; Y < 200; ++Y)
        for (int X = 0; X < 300; ++X) {
            const bool Inside =
                PtInRect(&C->NewMaskRectArea, TPoint{X, Y}) || Mask.Pixel(X, Y) == testskin::Black;
            Wrong += (PtInRegion(C->FRgn, X, Y) != 0) != Inside;
        }
    EXPECT_EQ(Wrong, 0);
    EXPECT_NE(WindowFromPoint(TPoint{100, 100}), F->Handle()) << "a cut corner shows what is below";
    EXPECT_EQ(WindowFromPoint(TPoint{250, 150}), F->Handle());

    EXPECT_TRUE(C->PtInMask(TPoint{150, 2}));
    EXPECT_FALSE(C->PtInMask(TPoint{0, 0}));
    EXPECT_FALSE(C->PtInMask(TPoint{150, -1}));
}

TEST_F(SkinFrame, WithoutAMaskTheRegionIsTheWholeWindow) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    ASSERT_NE(C->FRgn, nullptr);
    EXPECT_TRUE(PtInRegion(C->FRgn, 0, 0));
    EXPECT_TRUE(PtInRegion(C->FRgn, 299, 199));
    EXPECT_FALSE(PtInRegion(C->FRgn, 300, 100));
}

TEST_F(SkinFrame, BackgroundFallsBackOnUnusablePictures) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    TBitmap B;
    B.SetSize(300, 200);
    auto Fill = [&] {
        B.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
        B.Canvas()->FillRect(TRect{0, 0, 300, 200});
    };
    for (int Index : {-5, 999}) {
        Fill();
        Skin->BGPictureIndex = Index;
        C->PaintBG2(B.Canvas()->Handle());
        EXPECT_EQ(PixelOf(&B, 10, 10), Rgb(clBtnFace)) << Index;
    }
    Fill();
    Skin->FActivePictures[0]->SetSize(0, 10);
    Skin->BGPictureIndex = 0;
    C->PaintBG2(B.Canvas()->Handle());
    EXPECT_EQ(PixelOf(&B, 10, 10), 0x010203u) << "an empty tile draws nothing";
    Fill();
    Skin->ClRect = TRect{};
    C->PaintBG(B.Canvas()->Handle());
    EXPECT_EQ(PixelOf(&B, 10, 10), Rgb(clBtnFace));
}

TEST_F(SkinFrame, BackgroundTilesOneMoreCopyThanFits) {
    TTestSkin Skin = FrameSkin(TFrameSkinOptions().WithFormInfo({"bgpictureindex=1"}));
    testskin::TTestPicture& Tile = Skin.AddPicture("tile.bmp", 40, 30, 24);
    Tile.AddRegion("a", {0, 0, 20, 30});
    Tile.AddRegion("b", {20, 0, 40, 30});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    F->SetClientWidth(250);
    F->SetClientHeight(130);
    TBitmap B;
    B.SetSize(300, 200);
    Component(F)->PaintBG2(B.Canvas()->Handle());
    // Copies at x = 0, 40 ... 240 and y = 0, 30 ... 120: the last ones cut.
    EXPECT_EQ(PixelOf(&B, 245, 125), Tile.ColourOf("a"));
    EXPECT_EQ(PixelOf(&B, 265, 125), Tile.ColourOf("b"));
    EXPECT_EQ(PixelOf(&B, 45, 35), Tile.ColourOf("a"));
}

// ---- the plain look ----

TEST_F(SkinFrame, PlainButtonsFillTheCaptionFromTheRight) {
    struct TRow {
        const char* Name;
        TFormBorderStyle Style;
        TbsBorderIcons Icons;
        std::vector<std::pair<const char*, int>> Lefts;
        int TextRight;
    };
    using B = TbsBorderIcon;
    const TbsBorderIcons All{B::biSystemMenu, B::biMinimize, B::biMaximize, B::biRollUp,
                             B::biMinimizeToTray};
    const TRow Rows[] = {
        {"all",
         bsSizeable,
         All,
         {{"closebutton", 280},
          {"maxbutton", 263},
          {"minbutton", 246},
          {"rollupbutton", 229},
          {"traybutton", 212}},
         212},
        {"no maximize",
         bsSizeable,
         All - TbsBorderIcons{B::biMaximize},
         {{"closebutton", 280}, {"minbutton", 263}, {"rollupbutton", 246}, {"traybutton", 229}},
         229},
        {"tool window", bsToolWindow, All, {{"closebutton", 284}, {"maxbutton", 271}}, 232},
    };
    for (const TRow& R : Rows) {
        TForm* F = MakeForm(300, 200, R.Style);
        TbsSkinForm* C = Component(F);
        C->SetBorderIcons(R.Icons);
        PaintFrame(F);
        for (const auto& [Name, Left] : R.Lefts) {
            TbsActiveSkinObject* O = C->Object(C->GetIndex(Name));
            ASSERT_NE(O, nullptr) << Name;
            EXPECT_EQ(O->ObjectRect.Left, Left) << R.Name << " " << Name;
            EXPECT_EQ(O->ObjectRect.Width(), R.Style == bsToolWindow ? 13 : 17);
        }
        EXPECT_EQ(C->NewDefCaptionRect.Right, R.TextRight) << R.Name;
        EXPECT_EQ(C->GetDefCaptionHeight(), R.Style == bsToolWindow ? 15 : 19);
        delete F;
    }
}

TEST_F(SkinFrame, PlainFramePixels) {
    TForm* F = MakeForm(300, 200, bsSizeable, nullptr, "");
    auto B = PaintFrame(F);
    EXPECT_EQ(PixelOf(B.get(), 0, 100), Rgb(cl3DLight));
    EXPECT_EQ(PixelOf(B.get(), 299, 100), Rgb(cl3DDkShadow));
    EXPECT_EQ(PixelOf(B.get(), 1, 100), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelOf(B.get(), 298, 100), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(B.get(), 2, 100), Rgb(clBtnFace));
    EXPECT_EQ(PixelOf(B.get(), 100, 100), 0x010203u) << "the client is never painted";
    // Stripes from band row 2 (window row 5), highlight first, over the
    // whole text area of an empty caption.
    for (int X : {30, 120, 200}) {
        EXPECT_EQ(PixelOf(B.get(), X, 5), Rgb(clBtnHighlight)) << X;
        EXPECT_EQ(PixelOf(B.get(), X, 6), Rgb(clBtnShadow)) << X;
    }
    EXPECT_EQ(PixelOf(B.get(), 120, 3 + 19 - 3), Rgb(clBtnFace)) << "stripes end at row CH - 4";
}

TEST_F(SkinFrame, NothingIsPaintedWhileASkinLoads) {
    TForm* F = MakeForm(300, 200);
    auto* Loading = new TbsSkinData(nullptr);
    Component(F)->SetSkinData(Loading);
    Loading->ChangeSkinDataProcess = true;
    auto B = PaintFrame(F);
    EXPECT_EQ(PixelOf(B.get(), 0, 0), 0x010203u);
    EXPECT_EQ(PixelOf(B.get(), 150, 10), 0x010203u);
    delete F;
    delete Loading;
}

} // namespace
} // namespace skinform

namespace skinform {
namespace {

TEST_F(SkinFrame, AnObjectBelowTheClientIsDrawnIntoTheBottomStrip) {
    testskin::TTestSkin Skin = FrameSkin();
    Skin.AddObject("userobject", "foot", {"skinrect=2,196,298,199"});
    TForm* F = MakeForm(300, 200, bsSizeable, nullptr);
    TbsSkinForm* C = Component(F);
    TRect Seen{-1, -1, -1, -1};
    C->OnPaintEvent = [&](const std::string& Name, TCanvas* Canvas, TRect R) {
        if (Name != "foot")
            return;
        Seen = R;
        Canvas->Brush()->SetColor(RGB(250, 0, 0));
        Canvas->FillRect(R);
    };
    C->SetSkinData(LoadSkin(Skin));
    F->SetBounds(100, 100, 400, 260);
    auto B = PaintFrame(F);
    // From the bottom-left to the bottom-right corner: 60 rows lower and
    // 100 wider, drawn in the bottom strip's own coordinates.
    EXPECT_EQ(Seen, (TRect{2, 256 - C->NewClRect.Bottom, 398, 259 - C->NewClRect.Bottom}));
    EXPECT_EQ(PixelOf(B.get(), 110, 257), 0xFA0000u);
    EXPECT_EQ(PixelOf(B.get(), 397, 257), 0xFA0000u);
    EXPECT_EQ(PixelOf(B.get(), 110, 255), Region("bottom"));
}

TEST_F(SkinFrame, ALogoLargerThanTheClientStartsAtItsCorner) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    TBitmap Logo;
    Logo.SetSize(1000, 800);
    Logo.Canvas()->Brush()->SetColor(RGB(0, 0, 250));
    Logo.Canvas()->FillRect(TRect{0, 0, 1000, 800});
    Logo.Canvas()->Brush()->SetColor(RGB(0, 250, 0));
    Logo.Canvas()->FillRect(TRect{0, 0, 4, 4});
    C->SetLogoBitMap(&Logo);
    TBitmap B;
    B.SetSize(F->ClientWidth(), F->ClientHeight());
    F->Perform(WM_ERASEBKGND, WPARAM(B.Canvas()->Handle()), 0);
    EXPECT_EQ(PixelOf(&B, 1, 1), 0x00FA00u) << "the logo's corner at the client's";
    EXPECT_EQ(PixelOf(&B, 100, 100), 0x0000FAu);
}

TEST_F(SkinFrame, ShowIconWithoutAnyIconTakesTheStockIcon) {
    TForm* F = MakeForm(300, 200);
    TbsSkinForm* C = Component(F);
    ASSERT_TRUE(F->Icon()->Empty());
    C->SetShowIcon(true);
    C->PrepareFormIcon();
    ASSERT_NE(C->FIcon, nullptr);
    EXPECT_NE(C->FIcon->Handle(), nullptr);
    TBitmap B;
    B.SetSize(16, 16);
    B.Canvas()->Brush()->SetColor(RGB(1, 2, 3));
    B.Canvas()->FillRect(TRect{0, 0, 16, 16});
    C->DrawFormIcon(B.Canvas(), 0, 0);
    int Drawn = 0;
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X)
            Drawn += PixelOf(&B, X, Y) != 0x010203u;
    EXPECT_GT(Drawn, 0);
}

} // namespace
} // namespace skinform
