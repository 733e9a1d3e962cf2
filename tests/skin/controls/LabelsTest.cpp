// The skinned labels: the choice of font and colour, the disabled emboss,
// ellipses, measuring, painting onto another canvas, and the text label's
// sizing and layout.
#include "tests/skin/controls/support/SkinControlsSupport.h"

using namespace skinctl;

namespace {

class LabelsTest : public TSkinControlsTest {
protected:
    void SetUp() override {
        TSkinControlsTest::SetUp();
        testskin::TTestSkin S = NineSkin();
        S.AddControl(
            "stdlabel", "mylabel",
            {"fontname=Courier New", "fontheight=17", "fontstyle=fsbold", "fontcolor=255"});
        UseSkin(S);
        Form = MakeForm();
    }
    TbsSkinStdLabel* Std(const std::string& Caption, const std::string& Element = "mylabel") {
        auto* L = new TbsSkinStdLabel(Form);
        L->SetParent(Form);
        L->SetBounds(10, 10, 200, 20);
        L->SetCaption(Caption);
        L->SetSkinDataName(Element);
        L->SetSkinData(Data.get());
        return L;
    }
    TSkinChangeForm* Form = nullptr;
};

// Text metrics of a font.
struct TMetrics {
    int LineHeight, AHeight;
};
TMetrics MetricsOf(const TFont& Font, const std::string& Text, int* Width = nullptr) {
    TBitmap B;
    B.SetSize(1, 1);
    B.Canvas()->Font()->Assign(const_cast<TFont*>(&Font));
    TRect R{0, 0, 0, 0};
    DrawText(B.Canvas()->Handle(), Text, -1, &R, DT_CALCRECT | DT_EXPANDTABS);
    TRect A{0, 0, 0, 0};
    DrawText(B.Canvas()->Handle(), "A", -1, &A, DT_CALCRECT);
    if (Width)
        *Width = R.Width();
    return {R.Height(), A.Height()};
}

} // namespace

TEST_F(LabelsTest, FontAndColourFollowTheThreeSteps) {
    TFont Default;
    Default.SetName("Tahoma");
    Default.SetHeight(15);
    Default.SetColor(clGreen);
    struct TRow {
        const char* Element;
        bool SkinFont, SkinColor;
        const char* Name;
        int Height;
        TColor Colour;
    } Rows[] = {{"nosuch", true, true, "Tahoma", 15, clGreen},
                {"nosuch", true, false, "Tahoma", 15, clGreen},
                {"nosuch", false, true, "Verdana", 11, clBlue},
                {"mylabel", true, true, "Courier New", 17, TColor(255)},
                {"mylabel", true, false, "Courier New", 17, clBlue},
                {"mylabel", false, true, "Verdana", 11, TColor(255)},
                {"mylabel", false, false, "Verdana", 11, clBlue}};
    for (const TRow& Row : Rows) {
        TbsSkinStdLabel* L = Std("Ab", Row.Element);
        L->SetDefaultFont(&Default);
        L->Font()->SetName("Verdana");
        L->Font()->SetHeight(11);
        L->Font()->SetColor(clBlue);
        L->SetUseSkinFont(Row.SkinFont);
        L->SetUseSkinColor(Row.SkinColor);
        TRect R{0, 0, 100, 20};
        L->DoDrawText(R, DT_CALCRECT);
        TFont* F = L->Canvas()->Font();
        const std::string Trace = std::string(Row.Element) + " " + std::to_string(Row.SkinFont) +
                                  std::to_string(Row.SkinColor);
        EXPECT_EQ(F->Name(), Row.Name) << Trace;
        EXPECT_EQ(F->Height(), Row.Height) << Trace;
        EXPECT_EQ(F->Color(), Row.Colour) << Trace;
        EXPECT_EQ(F->Style().Contains(fsBold),
                  std::string(Row.Element) == "mylabel" && Row.SkinFont)
            << Trace;
        EXPECT_EQ(F->Charset(), Default.Charset()) << Trace;
        delete L;
    }
    TbsResourceStrData Words(nullptr);
    Words.SetCharSet(134);
    Data->SetResourceStrData(&Words);
    TbsSkinStdLabel* L = Std("Ab");
    TRect R{0, 0, 100, 20};
    L->DoDrawText(R, DT_CALCRECT);
    EXPECT_EQ(L->Canvas()->Font()->Charset(), 134);
    Data->SetResourceStrData(nullptr);
}

TEST_F(LabelsTest, ADisabledLabelIsEmbossed) {
    for (const char* Element : {"nosuch", "mylabel"}) {
        TbsSkinStdLabel* L = Std("WWW", Element);
        L->SetEnabled(false);
        Form->Show();
        const std::uint32_t Back = Rgb(clBtnFace);
        const TRect Ink = InkBox(L, {0, 0, L->Width(), L->Height()}, Back);
        ASSERT_FALSE(IsRectEmpty(&Ink)) << Element;
        bool Lighter = false, Darker = false;
        for (int Y = Ink.Top; Y < Ink.Bottom; ++Y)
            for (int X = Ink.Left; X < Ink.Right; ++X) {
                const std::uint32_t C = ScreenAt(L, X, Y);
                Lighter |= (C & 0xFF) > (Back & 0xFF) + 20;
                Darker |= (C & 0xFF) + 40 < (Back & 0xFF);
            }
        EXPECT_TRUE(Lighter) << Element;
        EXPECT_TRUE(Darker) << Element;
        delete L;
    }
}

TEST_F(LabelsTest, EllipsesShortenTheShownTextOnly) {
    const std::string Text = "视频转换 converter";
    for (TbsEllipsType Type : {bsetEndEllips, bsetPathEllips}) {
        TbsSkinStdLabel* Plain = Std(Text);
        TbsSkinStdLabel* Short = Std(Text);
        for (TbsSkinStdLabel* L : {Plain, Short}) {
            L->SetAutoSize(false);
            L->SetBounds(10, L == Plain ? 10 : 40, 60, 20);
        }
        Short->SetEllipsType(Type);
        Form->Show();
        EXPECT_EQ(Short->Caption(), Text);
        bool Differ = false;
        Pump();
        FlushPresents();
        for (int X = 0; X < 60 && !Differ; ++X)
            for (int Y = 0; Y < 20 && !Differ; ++Y)
                Differ = ScreenAt(Plain, X, Y) != ScreenAt(Short, X, Y);
        EXPECT_TRUE(Differ) << Type;
        delete Plain;
        delete Short;
    }
}

TEST_F(LabelsTest, MeasuringAnEmptyCaptionOrALoneAmpersand) {
    TbsSkinStdLabel* L = Std("");
    TRect Empty{0, 0, 0, 0};
    L->DoDrawText(Empty, DT_CALCRECT);
    EXPECT_GT(Empty.Height(), 0);
    EXPECT_GT(Empty.Width(), 0);
    L->SetCaption("&");
    TRect Amp{0, 0, 0, 0};
    L->DoDrawText(Amp, DT_CALCRECT);
    EXPECT_EQ(Amp, Empty);
}

TEST_F(LabelsTest, WithoutAcceleratorsTheAmpersandIsDrawn) {
    TbsSkinStdLabel* L = Std("&File");
    TRect With{0, 0, 0, 0};
    L->DoDrawText(With, DT_CALCRECT);
    L->SetShowAccelChar(false);
    TRect Without{0, 0, 0, 0};
    L->DoDrawText(Without, DT_CALCRECT);
    EXPECT_GT(Without.Width(), With.Width());
}

TEST_F(LabelsTest, PaintSkinToPlacesTheLabelOnAnotherCanvas) {
    TbsSkinStdLabel* L = Std("Ab", "nosuch");
    L->SetAutoSize(false);
    L->SetBounds(0, 0, 60, 30);
    L->SetLayout(tlCenter);
    L->SetTransparent(false);
    L->SetColor(clYellow);
    TBitmap B;
    B.SetSize(100, 60);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect({0, 0, 100, 60});
    L->PaintSkinTo(B.Canvas(), 10, 20, "Ab");
    EXPECT_EQ(B.Canvas()->Pixels(10, 20), clYellow);
    EXPECT_EQ(B.Canvas()->Pixels(69, 49), clYellow);
    EXPECT_EQ(B.Canvas()->Pixels(9, 19), clWhite);
    EXPECT_EQ(B.Canvas()->Pixels(70, 50), clWhite);
    int Top = 60, Bottom = 0, Left = 100;
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 100; ++X) {
            const TColor C = B.Canvas()->Pixels(X, Y);
            if (C != clYellow && C != clWhite) {
                Top = std::min(Top, Y);
                Bottom = std::max(Bottom, Y + 1);
                Left = std::min(Left, X);
            }
        }
    ASSERT_LT(Top, Bottom);
    EXPECT_GE(Left, 10);
    EXPECT_GE(Top, 20);
    EXPECT_LE(Bottom, 50);
    // Centred: as much room above as below, within a pixel or two of the font.
    EXPECT_LE(std::abs((Top - 20) - (50 - Bottom)), 6);
}

// ---- the text label -------------------------------------------------------------------

namespace {

class TextLabels : public LabelsTest {
protected:
    TbsSkinTextLabel* Text(const std::vector<std::string>& Lines) {
        auto* L = new TbsSkinTextLabel(Form);
        L->SetParent(Form);
        L->SetBounds(100, 10, 65, 65);
        // No element: the label draws in its DefaultFont.
        L->SetSkinDataName("nosuch");
        L->SetSkinData(Data.get());
        for (const std::string& Line : Lines)
            L->Lines()->Add(Line);
        return L;
    }
    TMetrics Metrics(TbsSkinTextLabel* L, int* Width = nullptr) {
        return MetricsOf(*L->DefaultFont(), L->GetLabelText(), Width);
    }
};

} // namespace

TEST_F(TextLabels, AutoSizeMeasuresTheLinesLessOneLetter) {
    TbsSkinTextLabel* L = Text({"first line", "second"});
    int W = 0;
    TMetrics M = Metrics(L, &W);
    EXPECT_EQ(L->Height(), M.LineHeight - M.AHeight);
    EXPECT_EQ(L->Width(), W);
    const int Two = L->Height();
    L->Lines()->Add("third");
    EXPECT_GT(L->Height(), Two);
    EXPECT_EQ(L->Height(), Metrics(L).LineHeight - M.AHeight);
}

TEST_F(TextLabels, ARightAlignedLabelKeepsItsRightEdge) {
    TbsSkinTextLabel* L = Text({"ab"});
    L->SetAlignment(taRightJustify);
    const int Right = L->Left() + L->Width();
    L->Lines()->Add("a much longer line");
    EXPECT_EQ(L->Left() + L->Width(), Right);
    EXPECT_GT(L->Width(), 20);
}

TEST_F(TextLabels, LayoutMovesTheTextDown) {
    int InkTop[3] = {};
    for (TTextLayout Layout : {tlTop, tlCenter, tlBottom}) {
        TbsSkinTextLabel* L = Text({"Wx"});
        L->SetAutoSize(false);
        L->SetBounds(100, 10, 80, 100);
        L->SetLayout(Layout);
        Form->Show();
        const TRect Ink = InkBox(L, {0, 0, 80, 100}, Rgb(clBtnFace));
        ASSERT_FALSE(IsRectEmpty(&Ink));
        InkTop[Layout] = Ink.Top;
        delete L;
    }
    TFont F;
    const TMetrics M = MetricsOf(F, "Wx\r\n");
    const int Shift = 100 - (M.LineHeight - M.AHeight);
    EXPECT_EQ(InkTop[tlBottom] - InkTop[tlTop], Shift);
    EXPECT_EQ(InkTop[tlCenter] - InkTop[tlTop], Shift / 2);
}

TEST_F(TextLabels, LoadingDefersTheSizingToLoaded) {
    Form->BeginLoading();
    auto* L = new TbsSkinTextLabel(Form);
    L->SetParent(Form);
    L->Lines()->Add("one");
    L->Lines()->Add("two");
    EXPECT_EQ(L->Width(), 65);
    EXPECT_EQ(L->Height(), 65);
    Form->EndLoading();
    int W = 0;
    const TMetrics M = Metrics(L, &W);
    EXPECT_EQ(L->Width(), W);
    EXPECT_EQ(L->Height(), M.LineHeight - M.AHeight);
}

TEST_F(TextLabels, AnEmptySkinStillRunsTheSkinChange) {
    TbsSkinTextLabel* L = Text({"one"});
    L->SetSkinDataName("mylabel");
    L->ChangeSkinData();
    EXPECT_NE(L->FIndex, -1);
    TbsSkinData Empty(nullptr);
    L->SetSkinData(&Empty);
    EXPECT_EQ(L->FIndex, -1);
    TbsSkinStdLabel* S = Std("Ab");
    EXPECT_NE(S->FIndex, -1);
    S->SetSkinData(&Empty);
    EXPECT_EQ(S->FIndex, -1);
}
