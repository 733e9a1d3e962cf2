// Window regions from black-and-white masks, at the mask's own size and laid
// out for other sizes.
#include "skin/model/bsUtils.Regions.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/model/DrawTestSupport.h"

#include <cstring>

namespace {

using testskin::TTestPicture;

std::unique_ptr<TBitmap> Load(const TTestPicture& P) {
    const std::string Bytes = P.BmpBytes();
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
    S.SetPosition(0);
    auto B = std::make_unique<TBitmap>();
    B->LoadFromStream(&S);
    return B;
}

std::unique_ptr<TBitmap> MaskOf(int W, int H, const std::function<bool(int, int)>& Inside) {
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B->Canvas()->SetPixels(X, Y, Inside(X, Y) ? clBlack : clWhite);
    return B;
}

std::vector<TRect> Rects(const std::vector<BYTE>& Data, RGNDATAHEADER& Header) {
    std::memcpy(&Header, Data.data(), sizeof(Header));
    std::vector<TRect> Out(Header.nCount);
    if (!Out.empty())
        std::memcpy(Out.data(), Data.data() + sizeof(Header), Out.size() * sizeof(TRect));
    return Out;
}

// The mask of a 30 x 24 element: rounded corners, notches on each border
// (so tiling shows), ClRect (5, 4, 25, 20), corners (8, 6) (22, 6) (8, 18)
// (22, 18).
class NinePartRegionTest : public testing::Test {
protected:
    NinePartRegionTest() : Pic("mask.bmp", 30, 24, 24, testskin::Black, nullptr) {
        Pic.RoundCorners(5);
        Pic.Fill({10, 0, 11, 2}, testskin::White);
        Pic.Fill({0, 9, 1, 10}, testskin::White);
        Pic.Fill({29, 13, 30, 14}, testskin::White);
        Pic.Fill({17, 23, 18, 24}, testskin::White);
        Mask = Load(Pic);
    }
    bool MaskInside(int X, int Y) const { return Pic.Pixel(X, Y) == testskin::Black; }

    HRGN Make(int W, int H, TPoint LB = {8, 18}) {
        const int DW = W - 30, DH = H - 24;
        HRGN Rgn = 0;
        MakeNinePartRegion(Rgn, LT, RT, LB, RB, Cl, LT, {RT.X + DW, RT.Y}, {LB.X, LB.Y + DH},
                           {RB.X + DW, RB.Y + DH}, {Cl.Left, Cl.Top, Cl.Right + DW, Cl.Bottom + DH},
                           Mask.get(), W, H);
        return Rgn;
    }

    TTestPicture Pic;
    std::unique_ptr<TBitmap> Mask;
    const TPoint LT{8, 6}, RT{22, 6}, RB{22, 18};
    const TRect Cl{5, 4, 25, 20};
};

} // namespace

TEST(MaskRegionTest, RunsRowByRow) {
    auto Black = MaskOf(6, 3, [](int, int) { return true; });
    std::vector<BYTE> Data;
    EXPECT_EQ(MaskToRegionData(Black.get(), 0, 0, Data), 32u + 3 * 16);
    RGNDATAHEADER H;
    EXPECT_EQ(Rects(Data, H), (std::vector<TRect>{{0, 0, 6, 1}, {0, 1, 6, 2}, {0, 2, 6, 3}}));
    HRGN Rgn = 0, Whole = CreateRectRgn(0, 0, 6, 3);
    MaskToRegion(Rgn, Black.get());
    EXPECT_TRUE(EqualRgn(Rgn, Whole));
    DeleteObject(ToObj(Rgn));
    DeleteObject(ToObj(Whole));

    auto White = MaskOf(6, 3, [](int, int) { return false; });
    EXPECT_EQ(MaskToRegionData(White.get(), 4, 5, Data), 32u);
    Rects(Data, H);
    EXPECT_EQ(H.nCount, 0u);
    EXPECT_EQ(H.iType, RDH_RECTANGLES);
    EXPECT_EQ(H.rcBound, (TRect{4, 5, 10, 8}));

    auto Row = MaskOf(4, 2, [](int X, int Y) { return Y == 1 && X != 1; });
    EXPECT_EQ(MaskToRegionData(Row.get(), 10, 20, Data), 32u + 2 * 16);
    EXPECT_EQ(Rects(Data, H), (std::vector<TRect>{{10, 21, 11, 22}, {12, 21, 14, 22}}));

    // Only pure black is inside.
    auto Grey = MaskOf(2, 1, [](int, int) { return true; });
    Grey->Canvas()->SetPixels(0, 0, TColor(RGB(1, 0, 0)));
    MaskToRegion(Rgn, Grey.get());
    EXPECT_FALSE(PtInRegion(Rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(Rgn, 1, 0));
    DeleteObject(ToObj(Rgn));

    TBitmap Empty;
    Data = {1, 2, 3};
    EXPECT_EQ(MaskToRegionData(&Empty, 0, 0, Data), 0u);
    EXPECT_EQ(Data.size(), 3u);
    MaskToRegion(Rgn, &Empty);
    EXPECT_EQ(Rgn, nullptr);
}

TEST(MaskRegionTest, ManyRunsMakeACorrectRegion) {
    auto Board = MaskOf(400, 100, [](int X, int Y) { return (X + Y) % 2 == 0; });
    std::vector<BYTE> Data;
    EXPECT_EQ(MaskToRegionData(Board.get(), 0, 0, Data), 32u + 20000 * 16);
    HRGN Rgn = 0;
    MaskToRegion(Rgn, Board.get());
    ASSERT_NE(Rgn, nullptr);
    for (int Y = 0; Y < 100; ++Y)
        for (int X = 0; X < 400; ++X)
            ASSERT_EQ(bool(PtInRegion(Rgn, X, Y)), (X + Y) % 2 == 0) << X << "," << Y;
    DeleteObject(ToObj(Rgn));
}

TEST_F(NinePartRegionTest, OwnSizeIsTheMaskPlusTheClient) {
    HRGN Rgn = Make(30, 24);
    ASSERT_NE(Rgn, nullptr);
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 30; ++X) {
            const bool Client = X >= 5 && X < 25 && Y >= 4 && Y < 20;
            ASSERT_EQ(bool(PtInRegion(Rgn, X, Y)), Client || MaskInside(X, Y)) << X << "," << Y;
        }
    DeleteObject(ToObj(Rgn));
}

TEST_F(NinePartRegionTest, LargerSizesTileTheBordersAndKeepTheCorners) {
    const int W = 55, H = 40, PH = 32;
    HRGN Rgn = Make(W, H);
    ASSERT_NE(Rgn, nullptr);
    // Written from the layout: top and bottom tiles of 14 from x 8, cut at
    // 47; side tiles of 12 from y 6, their first two and last two rows
    // copied from the corners.
    auto Expect = [&](int X, int Y) {
        if (X >= 5 && X < 50 && Y >= 4 && Y < 36)
            return true;
        auto Column = [&](int DX) { return DX < 8 ? DX : (DX < 47 ? 8 + (DX - 8) % 14 : DX - 25); };
        if (Y < 4)
            return MaskInside(Column(X), Y);
        if (Y >= 36)
            return MaskInside(Column(X), Y - 16);
        const int R = Y - 4;
        const int MaskRow = R < 2 ? 4 + R : (R >= PH - 2 ? 18 + R - (PH - 2) : 6 + (R - 2) % 12);
        return MaskInside(X < 5 ? X : X - 25, MaskRow);
    };
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            ASSERT_EQ(bool(PtInRegion(Rgn, X, Y)), Expect(X, Y)) << X << "," << Y;
    DeleteObject(ToObj(Rgn));
}

TEST_F(NinePartRegionTest, BelowTheCornersThereIsNoRegion) {
    // LTPt.X + (MW - RTPt.X) = 16.
    EXPECT_EQ(Make(15, 24), nullptr);
    HRGN Rgn = Make(16, 24);
    EXPECT_NE(Rgn, nullptr);
    DeleteObject(ToObj(Rgn));
}

TEST_F(NinePartRegionTest, WhatNoTileOrCornerReachesIsOutside) {
    // LBPt.Y = LTPt.Y: the left piece has nothing to tile; only its corner
    // rows are copied (the first two, and mask rows 6..19 at its bottom).
    HRGN Rgn = Make(30, 40, {8, 6});
    ASSERT_NE(Rgn, nullptr);
    EXPECT_FALSE(PtInRegion(Rgn, 2, 4 + 10));
    EXPECT_TRUE(PtInRegion(Rgn, 2, 4 + 1));
    EXPECT_TRUE(PtInRegion(Rgn, 2, 4 + 20));
    DeleteObject(ToObj(Rgn));
}
