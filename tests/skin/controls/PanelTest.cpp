// The skinned panel, paint panel and group box: the plain look, the caption
// strip's behaviour (check box, roll-up), the client rectangle and the skin
// looks.
#include "platform/gdi/ImageList.h"
#include "skin/model/bsMessages.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

using namespace skinctl;

namespace {

// A panel that counts its paints.
template <class T> class TCounted : public T {
public:
    using T::T;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        T::Paint();
    }
};
using TCountedPanel = TCounted<TbsSkinPanel>;

class PanelTest : public TSkinControlsTest {
protected:
    TCountedPanel* Panel(int W = 100, int H = 60) {
        if (!Form)
            Form = MakeForm();
        auto* P = new TCountedPanel(Form);
        P->SetParent(Form);
        P->SetBounds(10, 10, W, H);
        return P;
    }
    // The text height of Text in the panel's default font.
    static int TextHeightOf(const std::string& Text) {
        TBitmap B;
        B.SetSize(1, 1);
        TFont F;
        F.SetName("Arial");
        F.SetHeight(14);
        B.Canvas()->Font()->Assign(&F);
        return B.Canvas()->TextHeight(Text);
    }
    static int TextWidthOf(const std::string& Text) {
        TBitmap B;
        B.SetSize(1, 1);
        TFont F;
        F.SetName("Arial");
        F.SetHeight(14);
        B.Canvas()->Font()->Assign(&F);
        return B.Canvas()->TextWidth(Text);
    }
    TSkinChangeForm* Form = nullptr;
};

const std::uint32_t Face = 0, Shadow = 1, Light = 2;

} // namespace

// ---- the plain look -------------------------------------------------------------------

TEST_F(PanelTest, PlainBorderStylesFrameTheirEdges) {
    const std::uint32_t C[] = {Rgb(clBtnFace), Rgb(clBtnShadow), Rgb(clBtnHighlight)};
    struct TRow {
        TbsSkinBorderStyle Style;
        std::uint32_t Top, Left, Right, Bottom;
    } Rows[] = {{TbsSkinBorderStyle::bvFrame, Shadow, Shadow, Shadow, Shadow},
                {TbsSkinBorderStyle::bvRaised, Light, Light, Shadow, Shadow},
                {TbsSkinBorderStyle::bvLowered, Shadow, Shadow, Light, Light},
                {TbsSkinBorderStyle::bvNone, Face, Face, Face, Face}};
    for (const TRow& Row : Rows) {
        TCountedPanel* P = Panel();
        P->SetBorderStyle(Row.Style);
        Form->Show();
        EXPECT_EQ(PixelOf(P, 50, 0), C[Row.Top]);
        EXPECT_EQ(PixelOf(P, 0, 30), C[Row.Left]);
        EXPECT_EQ(PixelOf(P, 99, 30), C[Row.Right]);
        EXPECT_EQ(PixelOf(P, 50, 59), C[Row.Bottom]);
        EXPECT_EQ(PixelOf(P, 50, 30), C[Face]);
        EXPECT_EQ(PixelOf(P, 1, 1), C[Face]);
        delete P;
    }
}

TEST_F(PanelTest, PlainCaptionStripAndTextPlaces) {
    const int TH = TextHeightOf("Ab"), TW = TextWidthOf("Ab");
    // The strip inset by 2 is (2, 2, 98, 20); TY = 9 + 2 - TH / 2.
    const int TY = 9 + 2 - TH / 2;
    struct TRow {
        TAlignment Align;
        int TX;
    } Rows[] = {{taLeftJustify, 4}, {taRightJustify, 98 - TW}, {taCenter, 48 + 4 - TW / 2}};
    for (const TRow& Row : Rows) {
        TCountedPanel* P = Panel();
        P->SetCaption("Ab");
        P->SetCaptionMode(true);
        P->SetDefaultAlignment(Row.Align);
        Form->Show();
        EXPECT_EQ(PixelOf(P, 50, 0), Rgb(clBtnShadow));
        EXPECT_EQ(PixelOf(P, 50, 21), Rgb(clBtnShadow));
        EXPECT_EQ(PixelOf(P, 50, 1), Rgb(clBtnHighlight));
        EXPECT_EQ(PixelOf(P, 1, 10), Rgb(clBtnHighlight));
        EXPECT_EQ(PixelOf(P, 98, 10), Rgb(clBtnFace));
        const TRect Ink = InkBox(P, {2, 2, 98, 20}, Rgb(clBtnFace));
        ASSERT_FALSE(IsRectEmpty(&Ink)) << Row.Align;
        EXPECT_GE(Ink.Left, Row.TX);
        EXPECT_LE(Ink.Left, Row.TX + 2);
        EXPECT_LE(Ink.Right, Row.TX + TW + 1);
        EXPECT_GE(Ink.Top, TY);
        EXPECT_LE(Ink.Bottom, TY + TH);
        delete P;
    }
}

TEST_F(PanelTest, PlainCaptionGlyphCellFollowsTheEnabledState) {
    // Two 8 x 8 cells, red and blue, each keyed by its white bottom-left pixel.
    TBitmap Glyph;
    Glyph.SetSize(16, 8);
    Glyph.Canvas()->Brush()->SetColor(clRed);
    Glyph.Canvas()->FillRect({0, 0, 8, 8});
    Glyph.Canvas()->Brush()->SetColor(clBlue);
    Glyph.Canvas()->FillRect({8, 0, 16, 8});
    Glyph.Canvas()->SetPixels(0, 7, clWhite);
    Glyph.Canvas()->SetPixels(8, 7, clWhite);
    for (bool Enabled : {true, false}) {
        TCountedPanel* P = Panel();
        P->SetCaption("Ab");
        P->SetCaptionMode(true);
        P->SetGlyph(&Glyph);
        P->SetNumGlyphs(2);
        P->SetSpacing(2);
        P->SetEnabled(Enabled);
        Form->Show();
        // IX = 4, IY = 9 + 2 - 4 = 7; the text moves to 4 + 8 + 2 = 14.
        EXPECT_EQ(PixelOf(P, 7, 10), Rgb(Enabled ? clRed : clBlue));
        EXPECT_EQ(PixelOf(P, 4, 14), Rgb(clBtnFace)) << "the key pixel shows through";
        const TRect Ink = InkBox(P, {13, 2, 98, 20}, Rgb(clBtnFace));
        EXPECT_GE(Ink.Left, 14);
        EXPECT_LE(Ink.Left, 16);
        delete P;
    }
}

TEST_F(PanelTest, PlainCaptionImageOfTheListOrNone) {
    TImageList List(nullptr);
    List.SetWidth(8);
    List.SetHeight(8);
    TBitmap Image;
    Image.SetSize(8, 8);
    Image.Canvas()->Brush()->SetColor(clLime);
    Image.Canvas()->FillRect({0, 0, 8, 8});
    for (int I = 0; I < 3; ++I)
        List.AddMasked(&Image, clFuchsia);
    for (int Index : {0, 5}) {
        TCountedPanel* P = Panel();
        P->SetCaption("Ab");
        P->SetCaptionMode(true);
        P->SetCaptionImageList(&List);
        P->SetCaptionImageIndex(Index);
        Form->Show();
        // IX = 4, IY = 9 + 2 - 4 = 7; the text then starts at 4 + 8 + 2.
        EXPECT_EQ(PixelOf(P, 7, 10) == Rgb(clLime), Index == 0);
        const TRect Ink = InkBox(P, {2, 2, 98, 20}, Rgb(clBtnFace));
        if (Index == 0)
            EXPECT_EQ(Ink.Left, 4);
        else
            EXPECT_LE(Ink.Left, 6);
        delete P;
    }
}

TEST_F(PanelTest, PlainCheckBoxRollUpArrowAndRibbon) {
    TCountedPanel* P = Panel();
    P->SetCaption("Ab");
    P->SetCaptionMode(true);
    P->SetCheckedMode(true);
    P->SetChecked(true);
    P->SetRollUpMode(true);
    Form->Show();
    // The box (5, 4, 19, 18); the tick from (8, 6) in clBtnText.
    EXPECT_EQ(PixelOf(P, 5, 10), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(P, 18, 10), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(P, 10, 3), Rgb(clBtnFace));
    EXPECT_TRUE(AnyPixel(P, {8, 6, 18, 16}, Rgb(clBtnText)));
    // The arrow cell (88, 2, 98, 20): code 3 points up, 4 down.
    auto Widths = [&]() {
        const TRect Ink = InkBox(P, {88, 2, 98, 20}, Rgb(clBtnFace));
        int Top = 0, Bottom = 0;
        for (int X = Ink.Left; X < Ink.Right; ++X) {
            Top += ScreenAt(P, X, Ink.Top) == Rgb(clBtnText);
            Bottom += ScreenAt(P, X, Ink.Bottom - 1) == Rgb(clBtnText);
        }
        return std::pair{Top, Bottom};
    };
    auto [UpTop, UpBottom] = Widths();
    EXPECT_LT(UpTop, UpBottom);
    P->SetRollUpState(true);
    P->SetHeight(60);
    P->Repaint();
    auto [DownTop, DownBottom] = Widths();
    EXPECT_GT(DownTop, DownBottom);

    delete P;
    TCountedPanel* Ribbon = Panel();
    Ribbon->SetCaptionMode(true);
    Ribbon->SetRibbonStyle(true);
    EXPECT_EQ(PixelOf(Ribbon, 50, 38), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(Ribbon, 50, 39), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelOf(Ribbon, 50, 10), Rgb(clBtnFace));
}

// ---- behaviour ----------------------------------------------------------------------------

TEST_F(PanelTest, CheckedFiresEveryTimeAndDrivesTheChildrenInCheckedMode) {
    for (bool CheckedMode : {true, false}) {
        TCountedPanel* P = Panel();
        auto* A = new TProbeControl(P);
        A->SetParent(P);
        auto* B = new TGraphicProbe(P);
        B->SetParent(P);
        P->SetCheckedMode(CheckedMode);
        int Fired = 0;
        P->OnChecked = [&](TObject* Sender) {
            EXPECT_EQ(Sender, P);
            ++Fired;
        };
        P->SetChecked(false);
        EXPECT_EQ(Fired, 1);
        EXPECT_EQ(A->Enabled(), !CheckedMode);
        EXPECT_EQ(B->Enabled(), !CheckedMode);
        P->SetChecked(true);
        EXPECT_EQ(Fired, 2);
        EXPECT_TRUE(A->Enabled());
        delete P;
    }
}

TEST_F(PanelTest, RollUpStateWithoutRollUpModePutsTheConstraintsBack) {
    TCountedPanel* P = Panel();
    P->Constraints()->SetMaxWidth(500);
    int Fired = 0;
    P->OnChangeRollUpState = [&](TObject*) { ++Fired; };
    P->SetRollUpState(true);
    EXPECT_FALSE(P->RollUpState());
    EXPECT_EQ(Fired, 0);
    EXPECT_EQ(P->Constraints()->MaxWidth(), 0);
    EXPECT_EQ(P->Height(), 60);
}

TEST_F(PanelTest, AClickOnThePlainCaptionRollsUpAndDown) {
    struct TRow {
        bool Ribbon;
        TPoint Hit, Miss;
    } Rows[] = {{false, {50, 10}, {50, 40}}, {true, {50, 50}, {50, 10}}};
    for (const TRow& Row : Rows) {
        TCountedPanel* P = Panel();
        P->SetCaptionMode(true);
        P->SetRollUpMode(true);
        P->SetRibbonStyle(Row.Ribbon);
        auto* Child = new TProbeControl(P);
        Child->SetParent(P);
        Child->SetBounds(2, 30, 10, 10);
        int Fired = 0;
        P->OnChangeRollUpState = [&](TObject*) { ++Fired; };
        Form->Show();
        Pump();
        TPoint Miss = P->ClientToScreen(Row.Miss);
        Headless.Click(Miss.X, Miss.Y);
        Pump();
        EXPECT_EQ(P->Height(), 60);
        TPoint Hit = P->ClientToScreen(Row.Hit);
        Headless.Click(Hit.X, Hit.Y);
        Pump();
        EXPECT_EQ(P->Height(), 23);
        EXPECT_FALSE(Child->Visible());
        EXPECT_EQ(Fired, 1);
        if (!Row.Ribbon) {
            Headless.Click(Hit.X, Hit.Y);
            Pump();
            EXPECT_EQ(P->Height(), 60);
            EXPECT_TRUE(Child->Visible());
            EXPECT_EQ(Fired, 2);
        }
        delete P;
    }
}

TEST_F(PanelTest, ARolledUpPanelStaysCollapsedThroughASkinChange) {
    testskin::TTestSkin A = NineSkin();
    AddNineElement(A, "panel", "roll");
    testskin::TTestSkin B = NineSkin(1);
    B.AddControl("panel", "roll",
                 {"pictureindex=" + std::to_string(NinePicture), "skinrect=0,0,40,20",
                  "lefttoppoint=10,8", "righttoppoint=30,8", "leftbottompoint=10,15",
                  "rightbottompoint=30,15", "clientrect=10,8,30,15"});
    UseSkin(A);
    TCountedPanel* P = Panel();
    P->SetSkinDataName("roll");
    P->SetSkinData(Data.get());
    P->SetRollUpMode(true);
    Form->Show();
    P->SetRollUpState(true);
    // The caption of a look is its height less the client part's: 20 - 10.
    EXPECT_EQ(P->Height(), 10);
    UseSkin(B);
    EXPECT_TRUE(P->RollUpState());
    EXPECT_EQ(P->Height(), 20 - 7);
    P->SetRollUpState(false);
    EXPECT_EQ(P->Height(), 60);
}

namespace {

// A panel that asks itself whether it may auto-size while it resizes.
class TAutoSizeProbe : public TbsSkinPanel {
public:
    using TbsSkinPanel::TbsSkinPanel;
    std::vector<bool> Answers;

protected:
    void Resize() override {
        int W = FWidth, H = FHeight;
        Answers.push_back(CanAutoSize(W, H));
        TbsSkinPanel::Resize();
    }
};

} // namespace

TEST_F(PanelTest, NoAutoSizeWhileRolling) {
    Form = MakeForm();
    auto* P = new TAutoSizeProbe(Form);
    P->SetParent(Form);
    P->SetCaptionMode(true);
    P->SetRollUpMode(true);
    P->SetAutoSize(true);
    P->Answers.clear();
    P->SetRollUpState(true);
    ASSERT_FALSE(P->Answers.empty());
    for (bool Answer : P->Answers)
        EXPECT_FALSE(Answer);
}

TEST_F(PanelTest, ClientRectanglesOfTheLooks) {
    testskin::TTestSkin S = NineSkin();
    AddNineElement(S, "panel", "nine");
    AddNineElement(S, "panel", "ninebg", {"bgpictureindex=0"});
    UseSkin(S);
    using B = TbsSkinBorderStyle;
    struct TRow {
        const char* Element;
        B Style;
        int Caption; // 0 off, 1 on, 2 ribbon
        TRect Expect;
    } Rows[] = {
        {"", B::bvFrame, 0, {1, 1, 99, 59}},        {"", B::bvFrame, 1, {1, 23, 99, 59}},
        {"", B::bvFrame, 2, {1, 1, 99, 37}},        {"", B::bvNone, 0, {0, 0, 100, 60}},
        {"", B::bvNone, 1, {0, 22, 100, 60}},       {"", B::bvNone, 2, {0, 0, 100, 38}},
        {"ninebg", B::bvFrame, 1, {0, 0, 100, 60}}, {"nine", B::bvNone, 0, {0, 0, 100, 60}},
        {"nine", B::bvFrame, 0, {10, 5, 90, 55}},   {"nine", B::bvNone, 1, {10, 5, 90, 55}}};
    for (const TRow& Row : Rows) {
        TCountedPanel* P = Panel();
        P->SetSkinDataName(Row.Element);
        P->SetSkinData(Data.get());
        P->SetBorderStyle(Row.Style);
        P->SetCaptionMode(Row.Caption != 0);
        P->SetRibbonStyle(Row.Caption == 2);
        auto* Child = new TProbeControl(P);
        Child->SetParent(P);
        Child->SetAlign(alClient);
        EXPECT_EQ(P->GetSkinClientRect(), Row.Expect) << Row.Element << " " << Row.Caption;
        EXPECT_EQ(Child->BoundsRect(), Row.Expect) << Row.Element << " " << Row.Caption;
        delete P;
    }
}

TEST_F(PanelTest, ATextChangeRepaintsOnlyWithACaption) {
    TCountedPanel* P = Panel();
    Form->Show();
    Pump();
    const int Paints = P->Paints;
    P->SetCaption("new");
    Pump();
    EXPECT_EQ(P->Paints, Paints);
    P->SetCaptionMode(true);
    Pump();
    const int WithCaption = P->Paints;
    P->SetCaption("newer");
    Pump();
    EXPECT_GT(P->Paints, WithCaption);
}

TEST_F(PanelTest, ATransparentPanelPassesTheBackgroundNoticeOn) {
    TCountedPanel* P = Panel();
    auto* Win = new TProbeControl(P);
    Win->SetParent(P);
    auto* Graphic = new TGraphicProbe(P);
    Graphic->SetParent(P);
    Form->Show();
    Pump();
    P->SetTransparentMode(true);
    EXPECT_EQ(Win->CheckMessages, 1);
    EXPECT_EQ(Graphic->CheckMessages, 1);
    P->SetBounds(20, 20, 100, 60);
    Pump();
    EXPECT_EQ(Win->CheckMessages, 2);
    EXPECT_EQ(Graphic->CheckMessages, 2);
    // A notice from its own parent travels on too.
    SendMessage(P->Handle(), WM_CHECKPARENTBG, 0, 0);
    EXPECT_EQ(Win->CheckMessages, 3);
}

TEST_F(PanelTest, ThePaintPanelPaintsOverTheFinishedImage) {
    testskin::TTestSkin S = NineSkin();
    AddNineElement(S, "panel", "nine");
    UseSkin(S);
    for (const char* Element : {"", "nine"}) {
        Form = Form ? Form : MakeForm();
        auto* P = new TbsSkinPaintPanel(Form);
        P->SetParent(Form);
        P->SetBounds(10, 10, 100, 60);
        P->SetSkinDataName(Element);
        P->SetSkinData(Data.get());
        TRect Got;
        P->OnPanelPaint = [&](TCanvas* C, TRect R) {
            Got = R;
            C->Brush()->SetColor(clRed);
            C->FillRect({R.Left, R.Top, R.Left + 10, R.Top + 10});
        };
        Form->Show();
        Pump();
        EXPECT_EQ(Got, P->GetSkinClientRect()) << Element;
        EXPECT_EQ(PixelOf(P, Got.Left + 5, Got.Top + 5), Rgb(clRed)) << Element;
        EXPECT_NE(PixelOf(P, Got.Left + 15, Got.Top + 15), Rgb(clRed)) << Element;
        delete P;
    }
}

TEST_F(PanelTest, AGroupBoxWithItsCaptionBelowTheClientDropsTheFramePath) {
    testskin::TTestSkin S = NineSkin();
    S.AddControl("panel", "low",
                 {"pictureindex=" + std::to_string(NinePicture), "skinrect=0,0,40,20",
                  "lefttoppoint=10,5", "righttoppoint=30,5", "leftbottompoint=10,15",
                  "rightbottompoint=30,15", "clientrect=10,5,30,10", "captionrect=0,12,40,18"});
    UseSkin(S);
    Form = MakeForm();
    auto* G = new TbsSkinGroupBox(Form);
    G->SetParent(Form);
    EXPECT_TRUE(G->CaptionMode());
    EXPECT_EQ(G->SkinDataName(), "groupbox");
    EXPECT_TRUE(G->ForcebackGround());
    G->SetSkinDataName("low");
    G->SetSkinData(Data.get());
    EXPECT_FALSE(G->ForcebackGround());
}
