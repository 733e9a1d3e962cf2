// Stack Blur, alpha from grey masks, and the glowing, outlined and mirrored
// caption text.
#include "skin/model/bsEffects.Glow.h"
#include "skin/model/bsUtils.Text.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <algorithm>

namespace {

TbsColor Channel(TbsColor P, int Shift) {
    return (P >> Shift) & 0xFF;
}

// One weighted pass with the truncating division, edges clamped, written
// straight from the definition.
std::vector<int> Pass(const std::vector<int>& In, int R) {
    const int N = int(In.size());
    std::vector<int> Out(In.size());
    for (int X = 0; X < N; ++X) {
        long long Sum = 0;
        for (int K = -R; K <= R; ++K)
            Sum += (R + 1 - std::abs(K)) * In[std::size_t(std::clamp(X + K, 0, N - 1))];
        Out[std::size_t(X)] = int(Sum / ((R + 1) * (R + 1)));
    }
    return Out;
}

constexpr TColor Ink = clBlack;

// A white 200 x 80 canvas with a 14-pixel Arial font in Ink.
std::unique_ptr<TBitmap> TextCanvas() {
    auto B = WhiteCanvas(200, 80);
    B->Canvas()->Font()->SetName("Arial");
    B->Canvas()->Font()->SetHeight(-14);
    B->Canvas()->Font()->SetColor(Ink);
    return B;
}

// Pixels that are not white, as a set of positions.
std::vector<TPoint> Marked(TBitmap* B) {
    std::vector<TPoint> Out;
    for (int Y = 0; Y < B->Height(); ++Y)
        for (int X = 0; X < B->Width(); ++X)
            if (B->Canvas()->Pixels(X, Y) != clWhite)
                Out.push_back({X, Y});
    return Out;
}

bool Inside(const TRect& R, TPoint P) {
    return PtInRect(&R, P);
}

const TRect TextRect{30, 20, 150, 45};
const std::string Caption = "视频 Glow";

} // namespace

TEST(BlurTest, RadiusZeroOrBelowChangesNothing) {
    TbsBitmap B;
    NumberPixels(B, 5, 4);
    B.SetPixel(1, 1, 0x12345678);
    for (int R : {0, -1}) {
        TbsBitmap C;
        C.Assign(&B);
        BlurBitmap(&C, R);
        EXPECT_TRUE(std::equal(C.Bits(), C.Bits() + 20, B.Bits()));
    }
}

TEST(BlurTest, OneWhitePixelWithRadiusOne) {
    TbsBitmap B;
    FillBitmap(B, 5, 5, 0x00000000);
    B.SetPixel(2, 2, 0x00FFFFFF);
    BlurBitmap(&B, 1);
    const int Expect[5][5] = {{0, 0, 0, 0, 0},
                              {0, 15, 31, 15, 0},
                              {0, 31, 63, 31, 0},
                              {0, 15, 31, 15, 0},
                              {0, 0, 0, 0, 0}};
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 5; ++X) {
            const TbsColor P = *B.PixelPtr(X, Y);
            EXPECT_EQ(P >> 24, 255u);
            for (int Shift : {0, 8, 16})
                EXPECT_EQ(int(Channel(P, Shift)), Expect[Y][X]) << X << "," << Y;
        }
}

TEST(BlurTest, LargeRadiusEqualsTheTwoWeightedPasses) {
    TbsBitmap B;
    B.SetSize(8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            B.SetPixel(X, Y,
                       TbsColor((X * 37 + Y * 91) % 256) | TbsColor((X * Y * 13) % 256) << 8 |
                           TbsColor((255 - X * 20)) << 16);
    TbsBitmap Original;
    Original.Assign(&B);
    BlurBitmap(&B, 40);
    for (int Shift : {0, 8, 16}) {
        std::vector<std::vector<int>> Rows(8);
        for (int Y = 0; Y < 8; ++Y) {
            std::vector<int> Row;
            for (int X = 0; X < 8; ++X)
                Row.push_back(int(Channel(*Original.PixelPtr(X, Y), Shift)));
            Rows[std::size_t(Y)] = Pass(Row, 40);
        }
        for (int X = 0; X < 8; ++X) {
            std::vector<int> Column;
            for (int Y = 0; Y < 8; ++Y)
                Column.push_back(Rows[std::size_t(Y)][std::size_t(X)]);
            const std::vector<int> Expect = Pass(Column, 40);
            for (int Y = 0; Y < 8; ++Y)
                EXPECT_EQ(int(Channel(*B.PixelPtr(X, Y), Shift)), Expect[std::size_t(Y)])
                    << X << "," << Y << " shift " << Shift;
        }
    }
}

TEST(BlurTest, AlphaFromGreyMaskOnlyWhereBothLie) {
    TbsBitmap B, Mask;
    FillBitmap(B, 4, 3, 0x33445566);
    FillBitmap(Mask, 2, 5, 0x001F140A);
    SetAlphaFromGrayMask(&B, &Mask);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(*B.PixelPtr(X, Y), X < 2 ? 0x14445566u : 0x33445566u) << X << "," << Y;
    TbsBitmap Empty;
    SetAlphaFromGrayMask(&B, &Empty);
    EXPECT_EQ(*B.PixelPtr(3, 0), 0x33445566u);
}

TEST(GlowTextTest, GlowStaysInItsRectangleAndReturnsTheTextHeight) {
    auto B = TextCanvas();
    TRect Measure = TextRect;
    const int Height = DrawWideText(B->Canvas(), Caption, Measure, DT_SINGLELINE);
    B = TextCanvas();
    const int Result =
        DrawGlowText(B->Canvas(), TextRect, Caption, DT_SINGLELINE, 2, RGB(0, 0, 255), 4);
    EXPECT_EQ(Result, Height);
    const TRect Reach{TextRect.Left - 4 + 2, TextRect.Top - 4 + 2, TextRect.Right + 4 + 2,
                      TextRect.Bottom + 4 + 2};
    bool Glow = false, Text = false;
    for (TPoint P : Marked(B.get())) {
        EXPECT_TRUE(Inside(Reach, P)) << P.X << "," << P.Y;
        const COLORREF C = COLORREF(B->Canvas()->Pixels(P.X, P.Y));
        // Blue over white: blue stays 255, red and green equal.
        Glow = Glow || (GetBValue(C) == 255 && GetRValue(C) == GetGValue(C) && GetRValue(C) < 255);
        Text = Text || C == COLORREF(Ink);
    }
    EXPECT_TRUE(Glow);
    EXPECT_TRUE(Text);
}

TEST(GlowTextTest, SizesBelowZeroAndBeyondTheLimit) {
    auto Draw = [](int Size) {
        auto B = TextCanvas();
        B->Canvas()->Font()->SetColor(clWhite);
        DrawGlowText(B->Canvas(), TextRect, Caption, DT_SINGLELINE, 2, RGB(0, 0, 255), Size);
        return Marked(B.get());
    };
    const auto Zero = Draw(0);
    EXPECT_EQ(Draw(-5), Zero);
    ASSERT_FALSE(Zero.empty());
    // Size 0: the unblurred coverage, moved by the offset: glow only where
    // the text has ink two pixels up and left.
    auto Ink = TextCanvas();
    TRect At = TextRect;
    DrawWideText(Ink->Canvas(), Caption, At, DT_SINGLELINE);
    for (TPoint P : Zero)
        EXPECT_NE(Ink->Canvas()->Pixels(P.X - 2, P.Y - 2), clWhite) << P.X << "," << P.Y;
    EXPECT_TRUE(Draw(100000).empty()) << "white text without glow";
}

TEST(GlowTextTest, OutlineGlowCoversThePlainGlow) {
    auto Draw = [](bool Outline) {
        auto B = TextCanvas();
        B->Canvas()->Font()->SetColor(clWhite);
        if (Outline)
            DrawOutlineGlowText(B->Canvas(), TextRect, Caption, DT_SINGLELINE, 0, RGB(0, 0, 255),
                                2);
        else
            DrawGlowText(B->Canvas(), TextRect, Caption, DT_SINGLELINE, 0, RGB(0, 0, 255), 2);
        return Marked(B.get());
    };
    const auto Plain = Draw(false), Outline = Draw(true);
    ASSERT_FALSE(Plain.empty());
    for (TPoint P : Plain)
        EXPECT_TRUE(std::find(Outline.begin(), Outline.end(), P) != Outline.end())
            << P.X << "," << P.Y;
    EXPECT_GT(Outline.size(), Plain.size());
}

TEST(GlowTextTest, VistaGlowBacksTheWholeRectangle) {
    auto B = TextCanvas();
    B->Canvas()->Font()->SetColor(clWhite);
    const TRect R{30, 25, 170, 45};
    DrawVistaGlowText(B->Canvas(), R, "Go", DT_SINGLELINE, RGB(0, 0, 255));
    const TRect Reach{R.Left - 12, R.Top - 12, R.Right + 12, R.Bottom + 12};
    for (TPoint P : Marked(B.get()))
        EXPECT_TRUE(Inside(Reach, P)) << P.X << "," << P.Y;
    // Backing rectangle (T.Left - 3 ... T.Right + 3): glow far from the text too.
    const int Mid = (R.Top + R.Bottom) / 2;
    for (int X : {R.Left - 2, R.Left + 70, R.Right - 3, R.Right + 2})
        EXPECT_NE(B->Canvas()->Pixels(X, Mid), clWhite) << X;
}

TEST(GlowTextTest, ReflectionStartsAtTheTextsBottomEdge) {
    auto B = TextCanvas();
    TRect Measure = TextRect;
    DrawWideText(B->Canvas(), Caption, Measure, DT_SINGLELINE | DT_CALCRECT);
    const int TextBottom = Measure.Bottom, TextHeight = Measure.Height();
    B->Canvas()->Font()->SetColor(clWhite);
    DrawReflectionText(B->Canvas(), TextRect, Caption, DT_SINGLELINE, 3, RGB(0, 0, 0));
    const auto Pixels = Marked(B.get());
    ASSERT_FALSE(Pixels.empty());
    int First = 1 << 30, Last = -1;
    for (TPoint P : Pixels) {
        First = std::min(First, P.Y);
        Last = std::max(Last, P.Y);
        // Black at most 0.7 of the coverage: never darker than 255 * 0.3.
        EXPECT_GE(GetRValue(COLORREF(B->Canvas()->Pixels(P.X, P.Y))), 76);
    }
    EXPECT_GE(First, TextBottom + 3) << "nothing above the mirrored copy changes";
    EXPECT_LE(Last, TextBottom + 3 + (TextHeight * 7 + 9) / 10);

    // Mirrored: row TextBottom + 3 + k repeats the text's row TextBottom - 1 - k,
    // so it is shaded only where that row of the text has ink.
    auto Text = TextCanvas();
    TRect At = TextRect;
    DrawWideText(Text->Canvas(), Caption, At, DT_SINGLELINE);
    for (TPoint P : Pixels) {
        const int TextRow = 2 * TextBottom + 2 - P.Y;
        ASSERT_NE(Text->Canvas()->Pixels(P.X, TextRow), clWhite)
            << P.X << "," << P.Y << " mirrors " << P.X << "," << TextRow;
    }
}
