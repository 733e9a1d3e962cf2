#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<TRect> RectsOf(HRGN R) {
    const DWORD Size = GetRegionData(R, 0, nullptr);
    std::vector<char> Buf(Size);
    auto* Data = reinterpret_cast<RGNDATA*>(Buf.data());
    EXPECT_EQ(GetRegionData(R, Size, Data), Size);
    RGNDATAHEADER H;
    std::memcpy(&H, Buf.data(), sizeof(H));
    EXPECT_EQ(H.dwSize, 32u);
    EXPECT_EQ(H.iType, RDH_RECTANGLES);
    std::vector<TRect> Out(H.nCount);
    std::memcpy(Out.data(), Buf.data() + 32, H.nCount * sizeof(TRect));
    return Out;
}

HRGN FromRects(const std::vector<TRect>& Rects, DWORD DwSize = 32, DWORD Type = RDH_RECTANGLES,
               int ExtraCount = 0) {
    std::vector<char> Buf(32 + Rects.size() * 16);
    RGNDATAHEADER H;
    H.dwSize = DwSize;
    H.iType = Type;
    H.nCount = DWORD(int(Rects.size()) + ExtraCount);
    std::memcpy(Buf.data(), &H, sizeof(H));
    if (!Rects.empty())
        std::memcpy(Buf.data() + 32, Rects.data(), Rects.size() * 16);
    return ExtCreateRegion(nullptr, DWORD(Buf.size()),
                           reinterpret_cast<const RGNDATA*>(Buf.data()));
}

} // namespace

TEST(Region, CombineEveryModeGivesCanonicalRectangles) {
    struct Row {
        int Mode;
        int Answer;
        std::vector<TRect> Expected;
    };
    const Row Rows[] = {
        {RGN_AND, SIMPLEREGION, {{5, 5, 10, 10}}},
        {RGN_OR, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}},
        {RGN_XOR, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 5, 10}, {10, 5, 15, 10}, {5, 10, 15, 15}}},
        {RGN_DIFF, COMPLEXREGION, {{0, 0, 10, 5}, {0, 5, 5, 10}}},
        {RGN_COPY, SIMPLEREGION, {{0, 0, 10, 10}}},
    };
    for (const Row& R : Rows) {
        HRGN A = CreateRectRgn(0, 0, 10, 10), B = CreateRectRgn(5, 5, 15, 15);
        HRGN D = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(D, A, B, R.Mode), R.Answer) << "mode " << R.Mode;
        EXPECT_EQ(RectsOf(D), R.Expected) << "mode " << R.Mode;
        // The destination may be one of the operands.
        EXPECT_EQ(CombineRgn(A, A, B, R.Mode), R.Answer);
        EXPECT_TRUE(EqualRgn(A, D));
        for (HRGN H : {A, B, D})
            DeleteObject(ToObj(H));
    }
    HRGN A = CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(CombineRgn(A, A, A, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(A, A, A, 9), ERROR);
    DeleteObject(ToObj(A));
}

TEST(Region, ExtCreateRegionNormalisesAnyRectangles) {
    // The runs of a row "black, white, black, black" as a mask gives them.
    HRGN Runs = FromRects({{0, 0, 1, 1}, {2, 0, 3, 1}, {3, 0, 4, 1}});
    EXPECT_EQ(RectsOf(Runs), (std::vector<TRect>{{0, 0, 1, 1}, {2, 0, 4, 1}}));

    HRGN Messy = FromRects({{5, 5, 15, 15}, {0, 0, 10, 10}, {0, 0, 10, 10}, {3, 3, 3, 9}});
    HRGN Built = CreateRectRgn(0, 0, 10, 10), B = CreateRectRgn(5, 5, 15, 15);
    CombineRgn(Built, Built, B, RGN_OR);
    EXPECT_TRUE(EqualRgn(Messy, Built));
    EXPECT_EQ(RectsOf(Messy), RectsOf(Built));

    HRGN Empty = FromRects({});
    ASSERT_NE(Empty, nullptr);
    TRect Box;
    EXPECT_EQ(GetRgnBox(Empty, &Box), NULLREGION);

    EXPECT_EQ(FromRects({{0, 0, 1, 1}}, 40), nullptr);
    EXPECT_EQ(FromRects({{0, 0, 1, 1}}, 32, 2), nullptr);
    EXPECT_EQ(FromRects({{0, 0, 1, 1}}, 32, RDH_RECTANGLES, 5), nullptr);

    // More than the fixed buffer some callers once used.
    std::vector<TRect> Many;
    for (int i = 0; i < 20000; ++i)
        Many.push_back({(i % 100) * 2, i / 100, (i % 100) * 2 + 1, i / 100 + 1});
    HRGN Big = FromRects(Many);
    ASSERT_NE(Big, nullptr);
    EXPECT_EQ(RectsOf(Big).size(), 100u); // equal rows merge into 100 columns
    for (HRGN H : {Runs, Messy, Built, B, Empty, Big})
        DeleteObject(ToObj(H));
}

TEST(Region, QueriesAndOffsets) {
    HRGN R = CreateRectRgn(10, 10, 0, 0); // swapped corners are put in order
    EXPECT_TRUE(PtInRegion(R, 0, 0));
    EXPECT_TRUE(PtInRegion(R, 9, 9));
    EXPECT_FALSE(PtInRegion(R, 10, 5));
    EXPECT_FALSE(PtInRegion(R, 5, 10));
    const TRect Touching{10, 0, 20, 10}, Overlapping{9, 9, 20, 20};
    EXPECT_FALSE(RectInRegion(R, &Touching));
    EXPECT_TRUE(RectInRegion(R, &Overlapping));
    EXPECT_EQ(OffsetRgn(R, 5, -5), SIMPLEREGION);
    TRect Box;
    EXPECT_EQ(GetRgnBox(R, &Box), SIMPLEREGION);
    EXPECT_EQ(Box, Rect(5, -5, 15, 5));
    std::vector<char> Small(10);
    EXPECT_EQ(GetRegionData(R, 10, reinterpret_cast<RGNDATA*>(Small.data())), 48u);
    DeleteObject(ToObj(R));
    EXPECT_FALSE(PtInRegion(R, 6, 0)); // deleted
    EXPECT_EQ(CombineRgn(R, R, R, RGN_OR), ERROR);
}
