// The effect picture: transitions, colour and image effects, rotations,
// mask effects, output to DCs, and pictures or rectangles that do not fit.
#include "platform/core/Conversions.h"
#include "skin/model/bsEffects.EffectBmp.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <cmath>
#include <functional>

namespace {

using TBgr = std::array<int, 3>;

BYTE* PixelAt(const TbsEffectBmp& E, int X, int Y) {
    return E.Bits + Y * (E.Width * 3 + E.Width % 4) + X * 3;
}

TBgr Get(const TbsEffectBmp& E, int X, int Y) {
    const BYTE* P = PixelAt(E, X, Y);
    return {P[0], P[1], P[2]};
}

void Set(TbsEffectBmp& E, int X, int Y, TBgr C) {
    BYTE* P = PixelAt(E, X, Y);
    P[0] = BYTE(C[0]);
    P[1] = BYTE(C[1]);
    P[2] = BYTE(C[2]);
}

void FillWith(TbsEffectBmp& E, const std::function<TBgr(int, int)>& F) {
    for (int Y = 0; Y < E.Height; ++Y)
        for (int X = 0; X < E.Width; ++X)
            Set(E, X, Y, F(X, Y));
}

TBgr Grey(int V) {
    return {V, V, V};
}

// The grey values of row Y.
std::vector<int> RowOf(const TbsEffectBmp& E, int Y = 0) {
    std::vector<int> Out;
    for (int X = 0; X < E.Width; ++X)
        Out.push_back(Get(E, X, Y)[0]);
    return Out;
}

std::vector<BYTE> AllBytes(const TbsEffectBmp& E) {
    return std::vector<BYTE>(E.Bits, E.Bits + E.Size);
}

// Columns numbered: this picture i, BMP 100 + i.
struct TPair {
    TPair(int W, int H) : A(W, H), B(W, H) {
        FillWith(A, [](int X, int) { return Grey(X); });
        FillWith(B, [](int X, int) { return Grey(100 + X); });
    }
    TbsEffectBmp A, B;
};

} // namespace

TEST(EffectBmpTest, MorphRoundsHalvesToEvenAndClampsKf) {
    TbsEffectBmp A(2, 1), B(2, 1);
    Set(A, 0, 0, Grey(10));
    Set(A, 1, 0, Grey(11));
    Set(B, 0, 0, Grey(11));
    Set(B, 1, 0, Grey(12));
    struct TCase {
        double Kf;
        std::vector<int> Expect;
    } Cases[] = {{0.5, {10, 12}}, {-1, {10, 11}}, {2, {11, 12}}, {std::nan(""), {10, 11}}};
    for (const TCase& C : Cases) {
        auto Copy = TbsEffectBmp::CreateCopy(&A);
        Copy->Morph(&B, C.Kf);
        EXPECT_EQ(RowOf(*Copy), C.Expect) << C.Kf;
    }
}

TEST(EffectBmpTest, WipesAndPushesAtTheirEnds) {
    using TMorph = void (TbsEffectBmp::*)(TbsEffectBmp*, double);
    for (TMorph M : {&TbsEffectBmp::MorphHGrad, &TbsEffectBmp::MorphVGrad, &TbsEffectBmp::MorphPush,
                     &TbsEffectBmp::MorphGrad}) {
        TPair P(10, 7);
        (P.A.*M)(&P.B, 1);
        EXPECT_EQ(AllBytes(P.A), AllBytes(P.B));
    }
    TPair Left(10, 1);
    Left.A.MorphLeftGrad(&Left.B, 0);
    EXPECT_EQ(RowOf(Left.A), (std::vector<int>{100, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(EffectBmpTest, HorizontalGradientRow) {
    TbsEffectBmp A(20, 1), B(20, 1);
    FillWith(A, [](int, int) { return Grey(0); });
    FillWith(B, [](int, int) { return Grey(200); });
    // b = 10, g = 5, step 0.2, left 5, right 15.
    A.MorphHGrad(&B, 0.5);
    EXPECT_EQ(RowOf(A), (std::vector<int>{0,   40,  80,  120, 160, 200, 200, 200, 200, 200,
                                          200, 200, 200, 200, 200, 200, 160, 120, 80,  40}));
}

TEST(EffectBmpTest, PushAndSlidesMoveWholeColumns) {
    struct TCase {
        void (TbsEffectBmp::*Morph)(TbsEffectBmp*, double);
        std::vector<int> Expect;
    } Cases[] = {
        {&TbsEffectBmp::MorphPush, {106, 107, 108, 109, 0, 1, 2, 3, 4, 5}},
        {&TbsEffectBmp::MorphLeftSlide, {107, 108, 109, 3, 4, 5, 6, 7, 8, 9}},
        {&TbsEffectBmp::MorphRightSlide, {0, 1, 2, 3, 4, 5, 6, 100, 101, 102}},
    };
    for (const TCase& C : Cases) {
        TPair P(10, 1);
        (P.A.*C.Morph)(&P.B, 0.3);
        EXPECT_EQ(RowOf(P.A), C.Expect);
    }
}

TEST(EffectBmpTest, TransitionsIgnoreAPictureOfAnotherSize) {
    using TMorph = void (TbsEffectBmp::*)(TbsEffectBmp*, double);
    TbsEffectBmp Other(9, 1);
    for (TMorph M : {&TbsEffectBmp::Morph, &TbsEffectBmp::MorphGrad, &TbsEffectBmp::MorphHGrad,
                     &TbsEffectBmp::MorphVGrad, &TbsEffectBmp::MorphLeftGrad,
                     &TbsEffectBmp::MorphRightGrad, &TbsEffectBmp::MorphPush,
                     &TbsEffectBmp::MorphLeftSlide, &TbsEffectBmp::MorphRightSlide}) {
        TPair P(10, 1);
        (P.A.*M)(&Other, 0.5);
        EXPECT_EQ(RowOf(P.A), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
}

TEST(EffectBmpTest, ColourEffects) {
    TbsEffectBmp E(1, 1);
    Set(E, 0, 0, {0, 255, 0});
    E.GrayScale();
    EXPECT_EQ(Get(E, 0, 0), Grey(150)) << "0.59 * 255 = 150.45";
    Set(E, 0, 0, {0, 17, 255});
    E.Invert();
    EXPECT_EQ(Get(E, 0, 0), (TBgr{255, 238, 0}));
    Set(E, 0, 0, Grey(100));
    E.ChangeBrightness(0.5);
    EXPECT_EQ(Get(E, 0, 0), Grey(178)) << "177.5 rounds to even";
    Set(E, 0, 0, Grey(101));
    E.ChangeDarkness(0.5);
    EXPECT_EQ(Get(E, 0, 0), Grey(50)) << "50.5 rounds to even";
    Set(E, 0, 0, Grey(101));
    E.ChangeDarkness(-3);
    EXPECT_EQ(Get(E, 0, 0), Grey(101));
}

TEST(EffectBmpTest, SplitBlurNeighboursStayInside) {
    TbsEffectBmp Row(10, 1);
    FillWith(Row, [](int X, int) { return Grey(X * 10); });
    Row.SplitBlur(2);
    // Column 9: left 7, right 10 - 9 = 1.
    EXPECT_EQ(Get(Row, 9, 0), Grey((70 + 70 + 10 + 10) >> 2));

    TbsEffectBmp Square(10, 10);
    FillWith(Square, [](int X, int Y) { return Grey(X * 10 + Y); });
    Square.SplitBlur(12);
    // Every neighbour index clamped: (0, 0), (0, 9), (9, 0), (9, 9).
    EXPECT_EQ(Get(Square, 0, 0), Grey((0 + 9 + 90 + 99) >> 2));
    Square.SplitBlur(-3);
    Square.SplitBlur(0);
}

TEST(EffectBmpTest, MosaicBlocksTakeTheirTopLeftColour) {
    TbsEffectBmp E(7, 7);
    FillWith(E, [](int X, int Y) { return Grey(X * 7 + Y); });
    auto Same = TbsEffectBmp::CreateCopy(&E);
    Same->Mosaic(1);
    EXPECT_EQ(AllBytes(*Same), AllBytes(E));
    E.Mosaic(3);
    for (int Y = 0; Y < 7; ++Y)
        for (int X = 0; X < 7; ++X)
            EXPECT_EQ(Get(E, X, Y), Grey((X - X % 3) * 7 + (Y - Y % 3))) << X << "," << Y;
}

TEST(EffectBmpTest, MonoNoiseMovesAllChannelsTogether) {
    auto Noisy = [](std::uint32_t Seed) {
        auto E = std::make_unique<TbsEffectBmp>(6, 4);
        FillWith(*E, [](int, int) { return TBgr{100, 120, 140}; });
        SetRandSeed(Seed);
        E->AddMonoNoise(10);
        return E;
    };
    auto A = Noisy(77), B = Noisy(77);
    EXPECT_EQ(AllBytes(*A), AllBytes(*B));
    bool Moved = false;
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 6; ++X) {
            const TBgr P = Get(*A, X, Y);
            const int N = P[0] - 100;
            EXPECT_GE(N, -5);
            EXPECT_LE(N, 4);
            EXPECT_EQ(P[1] - 120, N);
            EXPECT_EQ(P[2] - 140, N);
            Moved = Moved || N != 0;
        }
    EXPECT_TRUE(Moved);
    auto Quiet = Noisy(77);
    const auto Before = AllBytes(*Quiet);
    Quiet->AddMonoNoise(0);
    Quiet->AddColorNoise(-4);
    EXPECT_EQ(AllBytes(*Quiet), Before);
}

TEST(EffectBmpTest, GeometryRoundTrips) {
    TbsEffectBmp E(3, 2);
    FillWith(E, [](int X, int Y) { return TBgr{X, Y, X * 10 + Y}; });
    const auto Before = AllBytes(E);
    E.Wave(4, 5, 0);
    E.Wave(0, 5, 9);
    EXPECT_EQ(AllBytes(E), Before);

    TbsEffectBmp Turned(2, 3), Back(3, 2);
    E.Rotate90_1(&Turned);
    EXPECT_EQ(Get(Turned, 0, 2), Get(E, 0, 0)) << "a quarter turn counter-clockwise";
    Turned.Rotate90_2(&Back);
    EXPECT_EQ(AllBytes(Back), Before);

    TbsEffectBmp Flipped(3, 2), Again(3, 2);
    E.FlipVert(&Flipped);
    EXPECT_EQ(Get(Flipped, 1, 0), Get(E, 1, 1));
    Flipped.FlipVert(&Again);
    EXPECT_EQ(AllBytes(Again), Before);

    // A destination of the wrong size takes what fits and nothing more.
    TbsEffectBmp Small(1, 1);
    E.Rotate90_1(&Small);
    E.Rotate90_2(&Small);
    E.FlipVert(&Small);
}

TEST(EffectBmpTest, ResizeReplicatesPixels) {
    TbsEffectBmp Src(2, 2), Dst(5, 5);
    FillWith(Src, [](int X, int Y) { return Grey(10 + X + 2 * Y); });
    FillWith(Dst, [](int, int) { return Grey(0); });
    Src.Resize(&Dst);
    // k = 4 / 2 = 2: source 0 at 0..2, source 1 at 2..4 (written last).
    for (int Y = 0; Y < 5; ++Y)
        for (int X = 0; X < 5; ++X)
            EXPECT_EQ(Get(Dst, X, Y), Grey(10 + (X >= 2) + 2 * (Y >= 2))) << X << "," << Y;
}

TEST(EffectBmpTest, MaskEffects) {
    TbsEffectBmp E(4, 3);
    FillWith(E, [](int X, int Y) { return Grey(X * 20 + Y * 5); });
    const auto Before = AllBytes(E);
    TbsEffectBmp Wide(5, 3), Low(4, 2);
    FillWith(Wide, [](int, int) { return Grey(0); });
    FillWith(Low, [](int, int) { return Grey(0); });
    for (TbsEffectBmp* M : {&Wide, &Low}) {
        E.MaskBlur(M, 1);
        E.MaskAntialiasing(M, 1);
        E.MaskFillColor(M, clRed, 0.5);
        EXPECT_EQ(AllBytes(E), Before);
    }

    TbsEffectBmp Mask(4, 3);
    FillWith(Mask, [](int X, int) { return X == 0 ? Grey(255) : Grey(0); });
    FillWith(E, [](int, int) { return TBgr{100, 100, 100}; });
    E.MaskFillColor(&Mask, RGB(255, 0, 0), 1.5);
    EXPECT_EQ(Get(E, 0, 0), Grey(100)) << "white mask: untouched";
    // (1 - 1.5) * 100 + 1.5 * 255 = 332.5 and -50: clamped.
    EXPECT_EQ(Get(E, 1, 0), (TBgr{0, 0, 255}));

    // Blur only where the mask is not white; antialiasing only next to white.
    FillWith(E, [](int X, int Y) { return Grey(X * 20 + Y * 5); });
    E.MaskAntialiasing(&Mask, 1);
    EXPECT_EQ(Get(E, 0, 1), Grey(5));
    EXPECT_EQ(Get(E, 1, 1), Grey((0 + 10 + 40 + 50) >> 2)) << "its left neighbours are white";
    EXPECT_EQ(Get(E, 2, 1), Grey(45)) << "no white neighbour";
}

TEST(EffectBmpTest, DrawRectCopiesExactlyThePart) {
    TbsEffectBmp E(10, 10);
    FillWith(E, [](int X, int Y) { return TBgr{X, Y, 200}; });
    TDibSurface Target(12, 12, false);
    Target.Fill(0xFF000000);
    E.DrawRect(Target.DC(), 4, 5, 2, 3, 3, 2);
    for (int Y = 0; Y < 12; ++Y)
        for (int X = 0; X < 12; ++X) {
            const bool In = X >= 4 && X < 7 && Y >= 5 && Y < 7;
            const TbsColor Expect = In ? TbsColor(200 << 16 | (3 + Y - 5) << 8 | (2 + X - 4)) : 0u;
            ASSERT_EQ(Target.At(X, Y) & 0xFFFFFF, Expect) << X << "," << Y;
        }
}

TEST(EffectBmpTest, DrawAndStretch) {
    TbsEffectBmp E(4, 4);
    FillWith(E, [](int X, int Y) { return TBgr{X, Y, 9}; });
    TDibSurface Target(10, 10, false);
    Target.Fill(0);
    E.Draw(Target.DC(), 1, 1);
    EXPECT_EQ(Target.At(1, 1) & 0xFFFFFF, 0x090000u);
    EXPECT_EQ(Target.At(4, 3) & 0xFFFFFF, 0x090203u);
    EXPECT_EQ(Target.At(5, 1) & 0xFFFFFF, 0u);
    E.Stretch(Target.DC(), 0, 0, 8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            ASSERT_EQ(Target.At(X, Y) & 0xFFFFFF, TbsColor(0x090000 | (Y / 2) << 8 | (X / 2)));
}

TEST(EffectBmpTest, CopiesOfBitmapsAndPictures) {
    TBitmap Rgb;
    Rgb.SetPixelFormat(pf24bit);
    Rgb.SetSize(5, 3);
    Rgb.Canvas()->SetPixels(4, 2, RGB(1, 2, 3));
    Rgb.Canvas()->SetPixels(0, 0, RGB(7, 8, 9));
    auto E = TbsEffectBmp::CreateFromhWnd(Rgb.Handle());
    ASSERT_EQ(E->Width, 5);
    EXPECT_EQ(Get(*E, 4, 2), (TBgr{3, 2, 1}));
    EXPECT_EQ(Get(*E, 0, 0), (TBgr{9, 8, 7}));
    auto Copy = TbsEffectBmp::CreateCopy(E.get());
    EXPECT_EQ(AllBytes(*Copy), AllBytes(*E));
    Set(*Copy, 0, 0, Grey(1));
    EXPECT_EQ(Get(*E, 0, 0), (TBgr{9, 8, 7}));
}

TEST(EffectBmpTest, EmptyPicturesAndRectanglesOutsideDoNothing) {
    TbsEffectBmp Empty(0, 0), Huge(40000, 2);
    for (TbsEffectBmp* E : {&Empty, &Huge}) {
        EXPECT_EQ(E->Bits, nullptr);
        EXPECT_EQ(E->Width, 0);
        E->Invert();
        E->GrayScale();
        E->SplitBlur(2);
        E->Mosaic(3);
        E->AddColorNoise(5);
        E->Wave(1, 1, 3);
        E->Morph(E, 0.5);
        E->MaskBlur(E, 1);
        TbsEffectBmp Dst(2, 2);
        E->Resize(&Dst);
        E->Rotate90_1(&Dst);
        Dst.CopyRect(E, {0, 0, 5, 5}, 0, 0);
    }
    TbsEffectBmp A(4, 4), B(3, 3);
    FillWith(A, [](int, int) { return Grey(1); });
    FillWith(B, [](int X, int Y) { return Grey(50 + X + 3 * Y); });
    A.CopyRect(&B, {-2, -2, 10, 10}, 0, 0);
    // Destination (x, y) reads (x + 2, y + 2): only (0, 0) lies in both.
    EXPECT_EQ(Get(A, 0, 0), Grey(50 + 2 + 6));
    EXPECT_EQ(Get(A, 1, 0), Grey(1));
    A.MorphRect(&B, 1, {2, 2, 8, 8}, 1, 1);
    EXPECT_EQ(Get(A, 2, 2), Grey(50 + 1 + 3));
    EXPECT_EQ(Get(A, 3, 3), Grey(50 + 2 + 6));
    EXPECT_EQ(Get(A, 3, 2), Grey(50 + 2 + 3));
}
