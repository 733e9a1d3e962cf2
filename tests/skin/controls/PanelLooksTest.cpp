// The panel's skin looks: the skin caption and the group-box caption frame,
// the transparent looks, the client-part covering and the background picture.
#include "skin/stored/StoredSkins.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

using namespace skinctl;

namespace {

const testskin::TKeys CapFace{"pictureindex=" + std::to_string(CapPicture),
                              "skinrect=0,0,60,40",
                              "lefttoppoint=5,20",
                              "righttoppoint=55,20",
                              "leftbottompoint=5,35",
                              "rightbottompoint=55,35",
                              "clientrect=5,20,55,35",
                              "captionrect=5,2,55,18",
                              "fontname=Arial",
                              "fontheight=14",
                              "fontcolor=255"};

testskin::TKeys operator+(testskin::TKeys A, const testskin::TKeys& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

class PanelLooks : public TSkinControlsTest {
protected:
    void SetUp() override {
        TSkinControlsTest::SetUp();
        testskin::TTestSkin S = NineSkin();
        S.AddControl("panel", "cap", CapFace);
        S.AddControl("panel", "capfixed",
                     {"pictureindex=" + std::to_string(CapPicture), "skinrect=0,0,60,40",
                      "captionrect=5,2,55,18"});
        S.AddControl(
            "panel", "capgroup",
            CapFace + testskin::TKeys{"alignment=taleftjustify", "framerect=0,40,30,50",
                                      "frameleftoffset=4", "framerightoffset=4",
                                      "frametextrect=8,0,22,10", "checkimagerect=30,40,40,50",
                                      "uncheckimagerect=40,40,50,50", "markframerect=50,40,60,50"});
        // A client part that shows its tiles: 5 columns of "left", 5 of "client".
        for (const char* Type : {"", "stfull", "sthorz", "stvert"})
            S.AddControl(
                "panel", std::string("cover") + Type,
                testskin::TKeys{"pictureindex=" + std::to_string(NinePicture), "skinrect=0,0,40,20",
                                "lefttoppoint=5,5", "righttoppoint=15,5", "leftbottompoint=5,15",
                                "rightbottompoint=15,15", "clientrect=5,5,15,15"} +
                    (*Type ? testskin::TKeys{"stretcheffect=1", std::string("stretchtype=") + Type}
                           : testskin::TKeys{}));
        S.AddControl("panel", "zerocl",
                     {"pictureindex=" + std::to_string(NinePicture), "skinrect=0,0,40,20",
                      "lefttoppoint=10,5", "righttoppoint=10,5", "leftbottompoint=10,15",
                      "rightbottompoint=10,15", "clientrect=10,5,10,15"});
        AddNineElement(S, "panel", "bg", {"bgpictureindex=" + std::to_string(BarPicture)});
        AddNineElement(S, "panel", "bghorz",
                       {"bgpictureindex=" + std::to_string(BarPicture), "stretcheffect=1",
                        "stretchtype=sthorz"});
        AddNineElement(S, "panel", "bgnone", {"bgpictureindex=99"});
        AddNineElement(S, "panel", "nine");
        UseSkin(S);
        Form = MakeForm();
    }
    template <class T = TbsSkinPanel> T* Make(const std::string& Element, int W, int H) {
        auto* P = new T(Form);
        P->SetParent(Form);
        P->SetBounds(10, 10, W, H);
        P->SetSkinDataName(Element);
        P->SetSkinData(Data.get());
        return P;
    }
    std::string At(TControl* C, int X, int Y) {
        const std::string R = RegionOf(C, X, Y);
        const auto Slash = R.find('/');
        return Slash == std::string::npos ? R : R.substr(Slash + 1);
    }
    TSkinChangeForm* Form = nullptr;
};

const std::uint32_t Red = 0xFF0000;

} // namespace

TEST_F(PanelLooks, TheSkinCaptionShowsWithoutCaptionModeAndNeedsAText) {
    for (const char* Text : {"Ab", ""}) {
        TbsSkinPanel* P = Make("cap", 120, 80);
        P->SetCaption(Text);
        Form->Show();
        Pump();
        EXPECT_EQ(P->NewCaptionRect, (TRect{5, 2, 115, 18}));
        const std::uint32_t Top = Skin.Picture("cap.bmp").ColourOf("cap.top");
        const TRect Ink = InkBox(P, {0, 0, 120, 20}, Top);
        EXPECT_EQ(IsRectEmpty(&Ink), *Text == 0) << Text;
        if (*Text) {
            EXPECT_GE(Ink.Left, 5);
            EXPECT_LE(Ink.Bottom, 18);
            EXPECT_TRUE(InkLeansTo(StrongestInk(P, Ink, Top), Top, Red));
        }
        delete P;
    }
}

TEST_F(PanelLooks, TheCaptionRectangleFollowsTheResizeMode) {
    TbsSkinPanel* Fixed = Make("capfixed", 120, 80);
    TbsSkinPanel* Both = Make("cap", 120, 80);
    Fixed->SetCaption("Ab");
    Both->SetCaption("Ab");
    Form->Show();
    Pump();
    EXPECT_EQ(Fixed->ResizeMode, 0);
    EXPECT_EQ(Fixed->NewCaptionRect, (TRect{5, 2, 55, 18}));
    EXPECT_EQ(Both->NewCaptionRect, (TRect{5, 2, 115, 18}));
}

TEST_F(PanelLooks, TheGroupCaptionFrameSpansTheText) {
    auto* G = Make<TbsSkinGroupBox>("capgroup", 120, 80);
    G->SetCaption("Ab");
    Form->Show();
    TBitmap M;
    M.SetSize(1, 1);
    M.Canvas()->Font()->SetName("Arial");
    M.Canvas()->Font()->SetHeight(14);
    const int TW = M.Canvas()->TextWidth("Ab");
    // E = 30 - 14 = 16: the strip runs from 5 to 5 + 16 + TW at the top 2.
    const int Right = 5 + 16 + TW;
    EXPECT_EQ(At(G, 5, 2), "cap.frame");
    EXPECT_EQ(At(G, 4, 2), "cap.top");
    EXPECT_EQ(At(G, Right - 1, 2), "cap.frame");
    EXPECT_EQ(At(G, Right, 2), "cap.top");
    // The text starts FrameTextRect.Left = 8 further right.
    const TRect Ink = InkBox(G, {5, 2, Right, 12}, Skin.Picture("cap.bmp").ColourOf("cap.frame"));
    EXPECT_GE(Ink.Left, 13);
    EXPECT_LE(Ink.Left, 15);
}

TEST_F(PanelLooks, AStoredSkinsGroupCaptionWidensWithTheBox) {
    auto* SD = new TbsSkinData(Form);
    SD->SetSkinList(CreateStoredSkinList(Form));
    for (int I = 0; I < 11; ++I) {
        SD->SetSkinIndex(I);
        auto* G = new TbsSkinGroupBox(Form);
        G->SetParent(Form);
        G->SetBounds(10, 10, 300, 100);
        G->SetCaption("Output folder and file names");
        G->SetSkinData(SD);
        Form->Show();
        Pump();
        EXPECT_GT(G->NewCaptionRect.Width(), 250) << "stored skin " << I;
        delete G;
    }
}

TEST_F(PanelLooks, CheckPicturesAndTheRollUpMark) {
    auto* G = Make<TbsSkinGroupBox>("capgroup", 120, 80);
    G->SetCaption("Ab");
    G->SetCheckedMode(true);
    G->SetRollUpMode(true);
    Form->Show();
    // T = (5, 2, 103, 18): the picture at (5, 10 - 5) and the mark at 103.
    EXPECT_EQ(At(G, 6, 6), "cap.uncheck");
    EXPECT_EQ(At(G, 103, 2), "cap.mark");
    G->SetChecked(true);
    EXPECT_EQ(At(G, 6, 6), "cap.check");
}

TEST_F(PanelLooks, TheTransparentFrameLookShowsTheParent) {
    Form->SetColor(clRed);
    for (auto Style : {TbsSkinBorderStyle::bvFrame, TbsSkinBorderStyle::bvNone}) {
        TbsSkinPanel* P = Make("nine", 100, 60);
        P->SetBorderStyle(Style);
        P->SetTransparentMode(true);
        Form->Show();
        EXPECT_EQ(PixelOf(P, 50, 30), Red);
        const std::uint32_t Outline = Style == TbsSkinBorderStyle::bvNone ? Red : 0x808080;
        EXPECT_EQ(PixelOf(P, 0, 0), Outline);
        EXPECT_EQ(PixelOf(P, 99, 59), Outline);
        delete P;
    }
}

TEST_F(PanelLooks, TheTransparentGroupLookAndItsCaptionClick) {
    Form->SetColor(clRed);
    auto* G = Make<TbsSkinGroupBox>("capgroup", 120, 80);
    G->SetCaption("Ab");
    G->SetCheckedMode(true);
    G->SetTransparentMode(true);
    Form->Show();
    Pump();
    TBitmap M;
    M.SetSize(1, 1);
    M.Canvas()->Font()->SetName("Arial");
    M.Canvas()->Font()->SetHeight(14);
    const int TH = M.Canvas()->TextHeight("Ab");
    EXPECT_EQ(G->NewCaptionRect, (TRect{5, 0, 120, TH + 5}));
    const int MY = (TH + 5) / 2;
    EXPECT_EQ(PixelOf(G, 2, MY), 0x808080u);
    EXPECT_EQ(PixelOf(G, 118, MY), 0x808080u);
    EXPECT_EQ(PixelOf(G, 0, 60), 0x808080u);
    EXPECT_EQ(PixelOf(G, 119, 60), 0x808080u);
    EXPECT_EQ(PixelOf(G, 60, 79), 0x808080u);
    EXPECT_EQ(PixelOf(G, 60, 40), Red);
    const TPoint Hit = G->ClientToScreen({60, 4});
    Headless.Click(Hit.X, Hit.Y);
    Pump();
    EXPECT_TRUE(G->Checked());
}

TEST_F(PanelLooks, TheClientPartCoversTheControl) {
    struct TRow {
        const char* Element;
        std::vector<std::pair<TPoint, const char*>> Expect;
    } Rows[] = {{"cover",
                 {{{0, 0}, "left"},
                  {{5, 0}, "client"},
                  {{10, 0}, "left"},
                  {{15, 0}, "client"},
                  {{24, 11}, "left"},
                  {{7, 10}, "client"}}},
                {"coverstfull", {{{1, 1}, "left"}, {{24, 11}, "client"}}},
                {"coversthorz", {{{1, 11}, "left"}, {{12, 6}, "left"}, {{17, 6}, "client"}}},
                {"coverstvert", {{{1, 1}, "left"}, {{24, 1}, "client"}, {{1, 11}, "left"}}}};
    for (const TRow& Row : Rows) {
        TbsSkinPanel* P = Make(Row.Element, 25, 12);
        P->SetBorderStyle(TbsSkinBorderStyle::bvNone);
        Form->Show();
        for (const auto& [Pt, Region] : Row.Expect)
            EXPECT_EQ(At(P, Pt.X, Pt.Y), Region) << Row.Element << " " << Pt.X << "," << Pt.Y;
        delete P;
    }
}

TEST_F(PanelLooks, TheBackgroundPictureTilesOrStretches) {
    TbsSkinPanel* Tiled = Make("bg", 100, 60);
    Tiled->SetCaption("Ab");
    Form->Show();
    EXPECT_EQ(At(Tiled, 0, 0), "bar.l");
    EXPECT_EQ(At(Tiled, 4, 0), "bar.m");
    EXPECT_EQ(At(Tiled, 36, 0), "bar.r");
    EXPECT_EQ(At(Tiled, 40, 0), "bar.l");
    EXPECT_EQ(At(Tiled, 0, 34), "bar.l");
    EXPECT_EQ(At(Tiled, 50, 10), "bar.m") << "no caption over the picture";
    delete Tiled;
    TbsSkinPanel* Horz = Make("bghorz", 100, 60);
    EXPECT_EQ(At(Horz, 0, 59), "bar.l");
    EXPECT_EQ(At(Horz, 40, 59), "bar.l");
    EXPECT_EQ(At(Horz, 38, 50), "bar.r");
}

TEST_F(PanelLooks, AnEmptyClientPartOrBackgroundDrawsNothingForThatStep) {
    TbsSkinPanel* Zero = Make("zerocl", 60, 30);
    Zero->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    TbsSkinPanel* ZeroFrame = Make("zerocl", 60, 30);
    TbsSkinPanel* NoPicture = Make("bgnone", 60, 30);
    EXPECT_NO_THROW({
        Form->Show();
        Pump();
    });
    EXPECT_EQ(ZeroFrame->ResizeMode, 1);
    EXPECT_EQ(NoPicture->BGPictureIndex, 99);
}
