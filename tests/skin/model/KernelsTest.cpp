// The row kernels, both blend formulas, the stretch routines into skin
// bitmaps and into bottom-up DIB sections, and the start-up selection.
#include "skin/model/bsUtils.Platform.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <functional>

namespace {

class KernelsTest : public testing::Test {
protected:
    void TearDown() override { SelectPixelKernels(bvDetect); }
    const TbsPixelKernels& K = PixelKernels();
};

constexpr TbsColor WhiteHalf = 0x80FFFFFF;
constexpr TbsColor OpaqueBlack = 0xFF000000;

} // namespace

TEST_F(KernelsTest, BlendPixelFollowsTheInstalledFormula) {
    if (HasMMX()) {
        EXPECT_EQ(K.BlendPixel(WhiteHalf, OpaqueBlack), 0xBF7F7F7Fu) << "the default is MMX here";
    }
    SelectPixelKernels(bvMMX);
    EXPECT_EQ(K.BlendPixel(WhiteHalf, OpaqueBlack), 0xBF7F7F7Fu);
    // Weights 0 and 256: the background comes back whole, alpha included.
    EXPECT_EQ(K.BlendPixel(0x00C8C8C8, 0x64646464), 0x64646464u);
    // Weight 255 is not a copy: (255 * 200 + 100) >> 8 = 199, alpha (255 * 255 + 100) >> 8 = 254.
    EXPECT_EQ(K.BlendPixel(0xFFC8C8C8, 0x64646464), 0xFEC7C7C7u);

    SelectPixelKernels(bvPlain);
    EXPECT_EQ(K.BlendPixel(WhiteHalf, OpaqueBlack), 0xFF7F7F7Fu);
    EXPECT_EQ(K.BlendPixel(0x00C8C8C8, 0x64646464), 0x64646464u);
    EXPECT_EQ(K.BlendPixel(0xFFC8C8C8, 0x64646464), 0xFFC8C8C8u);
    // (10 * 100 + 200 * 155) >> 8 = 125 and (250 * 100 + 0) >> 8 = 97.
    EXPECT_EQ(K.BlendPixel(0x640A0AFA, 0x30C8C800), 0xFF7D7D61u);

    SelectPixelKernels(bvDetect);
    EXPECT_EQ(DetectedBlendVariant(), HasMMX() ? bvMMX : bvPlain);
#if defined(__x86_64__)
    EXPECT_EQ(DetectedBlendVariant(), bvMMX);
#endif
}

TEST_F(KernelsTest, BlendLineSkipsCopiesAndBlendsInBothVariants) {
    for (TbsBlendVariant V : {bvPlain, bvMMX}) {
        SelectPixelKernels(V);
        const TbsColor Src[4] = {0x00123456, 0xFF654321, 0x40FF0000, 0xC00000FF};
        TbsColor Dst[4] = {0xFF0000FF, 0x10101010, 0xFF00FF00, 0x80808080};
        const TbsColor Expect[4] = {Dst[0], Src[1], K.BlendPixel(Src[2], Dst[2]),
                                    K.BlendPixel(Src[3], Dst[3])};
        K.BlendLine(Src, Dst, 4);
        for (int I = 0; I < 4; ++I)
            EXPECT_EQ(Dst[I], Expect[I]) << "variant " << V << " pixel " << I;
    }
}

TEST_F(KernelsTest, TransparentLineKeepsKeyPixelsWhateverTheirAlpha) {
    const TbsColor Src[3] = {0xC87F007F, 0x07123456, TransparentKey};
    TbsColor Dst[3] = {0x11111111, 0x22222222, 0x33333333};
    K.TransparentLine(Src, Dst, 3);
    EXPECT_EQ(Dst[0], 0x11111111u);
    EXPECT_EQ(Dst[1], 0xFF123456u);
    EXPECT_EQ(Dst[2], 0x33333333u);
}

TEST_F(KernelsTest, EmptyCountsAndRectanglesChangeNothing) {
    TbsColor Row[4] = {1, 2, 3, 4};
    const TbsColor Src[4] = {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00};
    K.MoveLongword(Row, Row, 4);
    for (int Count : {0, -3}) {
        K.BlendLine(Src, Row, Count);
        K.TransparentLine(Src, Row, Count);
        K.MoveLongword(Src, Row, Count);
        K.FillLongword(Row, Count, 9);
        K.FillAlpha(Row, Count, 9);
        K.ClearColorAlpha(Row, Count, 1);
    }
    K.FillPixelRect(Row, 2, 2, 1, 0, 0, 1, 9);
    K.FillAlphaRect(Row, 2, 2, 0, 1, 1, 0, 9);
    EXPECT_EQ(std::vector<TbsColor>(Row, Row + 4), (std::vector<TbsColor>{1, 2, 3, 4}));
}

TEST_F(KernelsTest, FillKernelsWriteTheirInclusiveRectangles) {
    std::vector<TbsColor> P(12, 0x11223344);
    K.FillPixelRect(P.data(), 4, 3, 1, 1, 2, 2, 7);
    K.FillAlphaRect(P.data(), 4, 3, 0, 0, 0, 2, 0x55);
    EXPECT_EQ(P, (std::vector<TbsColor>{0x55223344, 0x11223344, 0x11223344, 0x11223344, //
                                        0x55223344, 7, 7, 0x11223344,                   //
                                        0x55223344, 7, 7, 0x11223344}));
    TbsColor Row[2] = {0xFF010203, 0xFF010204};
    K.ClearColorAlpha(Row, 2, 0x00010203);
    EXPECT_EQ(Row[0], 0x00010203u);
    EXPECT_EQ(Row[1], 0xFF010204u);
}

// ---------------------------------------------------------------- stretching

namespace {

// Source columns (or rows) that a stretch picked, read from numbered pixels.
std::vector<int> BitmapColumns(int SrcW, const TRect& SrcRect, int DstW) {
    TbsBitmap Src, Dst;
    NumberPixels(Src, SrcW, 1);
    FillBitmap(Dst, DstW, 1, 0);
    Src.Draw(&Dst, TRect{0, 0, DstW, 1}, SrcRect);
    std::vector<int> Out;
    for (int X = 0; X < DstW; ++X)
        Out.push_back(int(*Dst.PixelPtr(X, 0) & 0xFF));
    return Out;
}

std::vector<int> DibColumns(int SrcW, const TRect& SrcRect, int DstW) {
    TbsBitmap Src;
    NumberPixels(Src, SrcW, 1);
    TDibSurface Dib(DstW, 1);
    const TRect R{0, 0, DstW, 1};
    PixelKernels().StretchToDibOpaque(Dib.Bits(), R, R, SrcRect, &Src, 1, DstW);
    std::vector<int> Out;
    for (int X = 0; X < DstW; ++X)
        Out.push_back(int(Dib.At(X, 0) & 0xFF));
    return Out;
}

} // namespace

TEST_F(KernelsTest, StretchPicksSourceColumnsByTheTableRule) {
    struct TCase {
        int SrcW;
        TRect SrcRect;
        int DstW;
        std::vector<int> Dib, Bitmap;
    } Cases[] = {
        // Scale 3.0.
        {10, {0, 0, 10, 1}, 4, {0, 3, 6, 9}, {0, 3, 6, 9}},
        // Scale 0.5: t * scale = 0, 0.5, 1, 1.5, 2, 2.5, 3; halves go to even in the DIB
        // routines and down in the bitmap routines.
        {4, {0, 0, 4, 1}, 7, {0, 0, 1, 2, 2, 2, 3}, {0, 0, 1, 1, 2, 2, 3}},
        // A destination one pixel wide takes the middle column (2 + 7 - 1) div 2.
        {10, {2, 0, 7, 1}, 1, {4}, {4}},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(DibColumns(C.SrcW, C.SrcRect, C.DstW), C.Dib) << C.SrcW << " onto " << C.DstW;
        EXPECT_EQ(BitmapColumns(C.SrcW, C.SrcRect, C.DstW), C.Bitmap)
            << C.SrcW << " onto " << C.DstW;
    }
}

TEST_F(KernelsTest, StretchOntoOneRowTakesTheMiddleRow) {
    TbsBitmap Src, Dst;
    NumberPixels(Src, 1, 10);
    FillBitmap(Dst, 1, 1, 0);
    Src.Draw(&Dst, TRect{0, 0, 1, 1}, TRect{0, 0, 1, 10});
    EXPECT_EQ(*Dst.PixelPtr(0, 0), Numbered(0, 4));
}

TEST_F(KernelsTest, ClippedStretchShowsTheSamePixelsAsTheWholeOne) {
    TbsBitmap Src;
    NumberPixels(Src, 7, 3);
    for (bool Alpha : {false, true}) {
        Src.SetAlphaBlend(Alpha);
        TbsBitmap Whole, Part;
        FillBitmap(Whole, 20, 5, 0xFF000000);
        FillBitmap(Part, 12, 5, 0xFF000000);
        Src.Draw(&Whole, TRect{0, 0, 20, 5});
        Src.Draw(&Part, TRect{-8, 0, 12, 5});
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 12; ++X)
                ASSERT_EQ(*Part.PixelPtr(X, Y), *Whole.PixelPtr(X + 8, Y)) << X << "," << Y;
        // The DIB routine, clipped by its DstClip the same way.
        TDibSurface Dib(12, 5);
        const TRect DstRect{-8, 0, 12, 5};
        PixelKernels().StretchToDibOpaque(Dib.Bits(), DstRect, DstRect, {0, 0, 7, 3}, &Src, 5, 12);
        TDibSurface WholeDib(20, 5);
        const TRect WholeRect{0, 0, 20, 5};
        PixelKernels().StretchToDibOpaque(WholeDib.Bits(), WholeRect, WholeRect, {0, 0, 7, 3}, &Src,
                                          5, 20);
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 12; ++X)
                ASSERT_EQ(Dib.At(X, Y), WholeDib.At(X + 8, Y)) << X << "," << Y;
    }
}

TEST_F(KernelsTest, SourceOutsideOrEmptyDrawsNothing) {
    TbsBitmap Src, Dst;
    NumberPixels(Src, 10, 2);
    for (TRect SrcRect : {TRect{0, 0, 11, 2}, TRect{-1, 0, 5, 2}, TRect{0, 0, 0, 2},
                          TRect{3, 1, 3, 1}, TRect{0, 0, 10, 3}}) {
        FillBitmap(Dst, 4, 4, 0x12345678);
        Src.Draw(&Dst, TRect{0, 0, 4, 4}, SrcRect);
        for (int I = 0; I < 16; ++I)
            ASSERT_EQ(Dst.Bits()[I], 0x12345678u)
                << SrcRect.Left << "," << SrcRect.Top << "," << SrcRect.Right;
    }
}

TEST_F(KernelsTest, RowsSharingASourceRowAreCopiesOfTheRowAbove) {
    TbsBitmap Src;
    NumberPixels(Src, 3, 2);
    TbsBitmap Dst;
    FillBitmap(Dst, 6, 5, 0);
    Src.Draw(&Dst, TRect{0, 0, 6, 5});
    // Rows: t * 0.25 truncated = 0, 0, 0, 0, 1; columns: t * 0.4 = 0, 0, 0, 1, 1, 2.
    const int Cols[6] = {0, 0, 0, 1, 1, 2};
    const int SrcRows[5] = {0, 0, 0, 0, 1};
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 6; ++X)
            EXPECT_EQ(*Dst.PixelPtr(X, Y), Numbered(Cols[X], SrcRows[Y])) << X << "," << Y;
    // The DIB routine walks the same rows upwards in memory.
    TDibSurface Dib(6, 5);
    const TRect R{0, 0, 6, 5};
    PixelKernels().StretchToDibOpaque(Dib.Bits(), R, R, {0, 0, 3, 2}, &Src, 5, 6);
    // To nearest: columns 0, 0.4, 0.8, 1.2, 1.6, 2.0; rows 0, 0.25, 0.5 (to even), 0.75, 1.
    const int DibCols[6] = {0, 0, 1, 1, 2, 2};
    const int DibRows[5] = {0, 0, 0, 1, 1};
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 6; ++X)
            EXPECT_EQ(Dib.At(X, Y), Numbered(DibCols[X], DibRows[Y])) << X << "," << Y;
}

TEST(ProcessorTest, MMXRuleNeedsCPUIDFamilyFiveAndBit23) {
    struct TCase {
        bool CPUID;
        std::uint32_t Signature, Features;
        bool Expect;
    } Cases[] = {
        {true, 0x0400, 0x800000, false}, {true, 0x0600, 0x000000, false},
        {true, 0x0600, 0x800000, true},  {false, 0x0600, 0x800000, false},
        {true, 0x0F00, 0x800000, true},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(HasMMXRule(C.CPUID, C.Signature, C.Features), C.Expect)
            << std::hex << C.Signature << " " << C.Features << " " << C.CPUID;
    EXPECT_EQ(MMXAvailable, HasMMX());
    EXPECT_FALSE(IsMsimg32Loaded());
}
