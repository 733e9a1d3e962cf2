#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void FillAll(TTestSurface& S, std::uint32_t Raw, int W, int H) {
    auto* P = static_cast<std::uint32_t*>(S.Bits());
    std::fill(P, P + W * H, Raw);
}

} // namespace

TEST(Blit, RasterOperationsTable) {
    const std::uint32_t Src = 0xFF3366CC, Dst = 0x805A0FF0;
    const COLORREF Brush = RGB(0x12, 0x34, 0x56);
    struct Row {
        DWORD Rop;
        std::uint32_t Expected;
    };
    const Row Rows[] = {
        {SRCCOPY, Src}, // 32-bit copy keeps alpha 255
        {SRCPAINT, (Src | Dst) & 0xFFFFFF},
        {SRCAND, (Src & Dst) & 0xFFFFFF},
        {SRCINVERT, (Src ^ Dst) & 0xFFFFFF},
        {PATCOPY, 0x00123456},
        {DSTINVERT, ~Dst & 0xFFFFFF},
        {BLACKNESS, 0},
        {WHITENESS, 0xFFFFFF},
    };
    for (const Row& R : Rows) {
        TTestSurface S(2, 2), D(2, 2);
        FillAll(S, Src, 2, 2);
        FillAll(D, Dst, 2, 2);
        HBRUSH B = CreateSolidBrush(Brush);
        HGDIOBJ Old = SelectObject(D.DC(), ToObj(B));
        EXPECT_TRUE(BitBlt(D.DC(), 0, 0, 2, 2, S.DC(), 0, 0, R.Rop));
        EXPECT_EQ(D.Raw(1, 1), R.Expected) << std::hex << R.Rop;
        SelectObject(D.DC(), Old);
        DeleteObject(ToObj(B));
    }
    TTestSurface S(2, 2), D(2, 2);
    FillAll(D, Dst, 2, 2);
    EXPECT_FALSE(BitBlt(D.DC(), 0, 0, 2, 2, S.DC(), 0, 0, 0x00AA0029));
    EXPECT_EQ(D.Raw(0, 0), Dst);
}

TEST(Blit, OverlappingMoveAndSourceOutsideReadsBlack) {
    TTestSurface S(6, 1);
    const COLORREF Cols[6] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0),
                              RGB(4, 0, 0), RGB(5, 0, 0), RGB(6, 0, 0)};
    for (int X = 0; X < 6; ++X)
        SetPixel(S.DC(), X, 0, Cols[X]);
    EXPECT_TRUE(BitBlt(S.DC(), 1, 0, 4, 1, S.DC(), 0, 0, SRCCOPY));
    const COLORREF Expected[6] = {RGB(1, 0, 0), RGB(1, 0, 0), RGB(2, 0, 0),
                                  RGB(3, 0, 0), RGB(4, 0, 0), RGB(6, 0, 0)};
    for (int X = 0; X < 6; ++X)
        EXPECT_EQ(S.PixelAt(X, 0), Expected[X]) << X;
    TTestSurface D(3, 1);
    BitBlt(D.DC(), 0, 0, 3, 1, S.DC(), 4, 0, SRCCOPY);
    EXPECT_EQ(D.PixelAt(0, 0), RGB(4, 0, 0));
    EXPECT_EQ(D.PixelAt(2, 0), 0u);
}

// 24-bit pictures are copied four pixels at a time: every offset and width
// must give each pixel's own bytes with alpha 0, and nothing beyond the span.
TEST(Blit, CopyFrom24BitsKeepsEveryPixelAtAnyOffsetAndWidth) {
    constexpr int SW = 12, DW = 16; // a 36-byte source row has no padding
    TTestSurface S(SW, 2, RGB(0, 0, 0), 24);
    auto* Bytes = static_cast<std::uint8_t*>(S.Bits());
    for (int I = 0; I < SW * 3 * 2; ++I)
        Bytes[I] = std::uint8_t(I * 37 + 5);
    const auto Expected = [&](int X, int Y) {
        const std::uint8_t* P = Bytes + Y * SW * 3 + X * 3;
        return (std::uint32_t(P[2]) << 16) | (std::uint32_t(P[1]) << 8) | P[0];
    };
    struct Case {
        int SrcX, DstX, Width;
    };
    const Case Cases[] = {{0, 0, 12}, {1, 2, 9}, {3, 0, 8}, {2, 5, 5}, {0, 0, 1}, {8, 3, 4}};
    for (const Case& C : Cases) {
        TTestSurface D(DW, 2);
        FillAll(D, 0xDEADBEEF, DW, 2);
        ASSERT_TRUE(BitBlt(D.DC(), C.DstX, 0, C.Width, 2, S.DC(), C.SrcX, 0, SRCCOPY));
        for (int Y = 0; Y < 2; ++Y)
            for (int X = 0; X < DW; ++X) {
                const bool Inside = X >= C.DstX && X < C.DstX + C.Width;
                EXPECT_EQ(D.Raw(X, Y), Inside ? Expected(X - C.DstX + C.SrcX, Y) : 0xDEADBEEF)
                    << "from " << C.SrcX << " to " << C.DstX << " width " << C.Width << " at " << X
                    << "," << Y;
            }
    }
}

TEST(Blit, StretchSamplesByPixelCentres) {
    TTestSurface S(10, 1);
    for (int X = 0; X < 10; ++X)
        SetPixel(S.DC(), X, 0, RGB(BYTE(X), 0, 0));
    TTestSurface D(4, 1);
    SetStretchBltMode(D.DC(), COLORONCOLOR);
    StretchBlt(D.DC(), 0, 0, 4, 1, S.DC(), 0, 0, 10, 1, SRCCOPY);
    const int Expect4[4] = {1, 3, 6, 8};
    for (int X = 0; X < 4; ++X)
        EXPECT_EQ(GetRValue(D.PixelAt(X, 0)), Expect4[X]);

    TTestSurface Wide(10, 1);
    StretchBlt(Wide.DC(), 0, 0, 10, 1, S.DC(), 0, 0, 4, 1, SRCCOPY);
    const int Expect10[10] = {0, 0, 1, 1, 1, 2, 2, 3, 3, 3};
    for (int X = 0; X < 10; ++X)
        EXPECT_EQ(GetRValue(Wide.PixelAt(X, 0)), Expect10[X]) << X;

    // A negative destination width mirrors: extent -4 at 3 covers 0 ... 3.
    TTestSurface M(4, 1);
    StretchBlt(M.DC(), 3, 0, -4, 1, S.DC(), 0, 0, 4, 1, SRCCOPY);
    for (int X = 0; X < 4; ++X)
        EXPECT_EQ(GetRValue(M.PixelAt(X, 0)), 3 - X);

    // HALFTONE averages a 2 x 2 checkerboard.
    TTestSurface Check(2, 2, RGB(0, 0, 0));
    SetPixel(Check.DC(), 0, 0, RGB(255, 255, 255));
    SetPixel(Check.DC(), 1, 1, RGB(255, 255, 255));
    TTestSurface One(1, 1);
    SetStretchBltMode(One.DC(), HALFTONE);
    StretchBlt(One.DC(), 0, 0, 1, 1, Check.DC(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(One.PixelAt(0, 0), RGB(128, 128, 128));
}

TEST(Blit, DibBuffersDrawTheSameWhateverTheirRowOrder) {
    // A 3 x 2 24-bit picture: top row red, bottom row blue.
    std::uint8_t TopDown[2 * 12] = {}, BottomUp[2 * 12] = {};
    for (int X = 0; X < 3; ++X) {
        TopDown[X * 3 + 2] = 255;       // row 0 red
        TopDown[12 + X * 3] = 255;      // row 1 blue
        BottomUp[12 + X * 3 + 2] = 255; // memory row 1 is the top
        BottomUp[X * 3] = 255;
    }
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = 3;
    Info.bmiHeader.biBitCount = 24;
    TTestSurface A(3, 2), B(3, 2);
    Info.bmiHeader.biHeight = -2;
    EXPECT_EQ(
        StretchDIBits(A.DC(), 0, 0, 3, 2, 0, 0, 3, 2, TopDown, &Info, DIB_RGB_COLORS, SRCCOPY), 2);
    Info.bmiHeader.biHeight = 2;
    StretchDIBits(B.DC(), 0, 0, 3, 2, 0, 0, 3, 2, BottomUp, &Info, DIB_RGB_COLORS, SRCCOPY);
    const std::map<COLORREF, char> Legend{{RGB(255, 0, 0), 'r'}, {RGB(0, 0, 255), 'b'}};
    EXPECT_EQ(A.Picture(Legend), Rows({"rrr", "bbb"}));
    EXPECT_EQ(B.Picture(Legend), A.Picture(Legend));

    // A 1-bit buffer draws through its own table.
    BITMAPINFO Mono{};
    Mono.bmiHeader.biWidth = 4;
    Mono.bmiHeader.biHeight = -1;
    Mono.bmiHeader.biBitCount = 1;
    Mono.bmiColors[0] = {0, 255, 0, 0};
    Mono.bmiColors[1] = {0, 0, 255, 0};
    const std::uint8_t Bits[4] = {0xA0, 0, 0, 0}; // 1010
    TTestSurface C(4, 1);
    EXPECT_EQ(SetDIBitsToDevice(C.DC(), 0, 0, 4, 1, 0, 0, 0, 1, Bits, &Mono, DIB_RGB_COLORS), 1);
    EXPECT_EQ(C.Picture({{RGB(255, 0, 0), 'r'}, {RGB(0, 255, 0), 'g'}}), "rgrg\n");
}

TEST(Blit, AlphaBlendFollowsTheFormulasByteForByte) {
    auto Div = [](unsigned V) { return (V + 127) / 255; };
    const std::uint32_t Dst = 0xFF204060;
    for (unsigned SCA : {255u, 128u, 0u}) {
        TTestSurface S(1, 1), D(1, 1);
        FillAll(S, 0xFFC08040, 1, 1);
        FillAll(D, Dst, 1, 1);
        BLENDFUNCTION F{AC_SRC_OVER, 0, BYTE(SCA), 0};
        ASSERT_TRUE(AlphaBlend(D.DC(), 0, 0, 1, 1, S.DC(), 0, 0, 1, 1, F));
        std::uint32_t Want = 0;
        for (int k = 0; k < 4; ++k) {
            const unsigned Sv = (0xFFC08040u >> (8 * k)) & 0xFF, Dv = (Dst >> (8 * k)) & 0xFF;
            Want |= Div(Sv * SCA + Dv * (255 - SCA)) << (8 * k);
        }
        EXPECT_EQ(D.Raw(0, 0), Want) << SCA;
    }
    for (unsigned SA : {0u, 128u, 255u})
        for (unsigned SCA : {255u, 128u}) {
            TTestSurface S(1, 1), D(1, 1);
            const std::uint32_t Src = (SA << 24) | ((SA / 2) << 16) | ((SA / 3) << 8) | (SA / 4);
            FillAll(S, Src, 1, 1);
            FillAll(D, Dst, 1, 1);
            BLENDFUNCTION F{AC_SRC_OVER, 0, BYTE(SCA), AC_SRC_ALPHA};
            ASSERT_TRUE(AlphaBlend(D.DC(), 0, 0, 1, 1, S.DC(), 0, 0, 1, 1, F));
            unsigned SP[4];
            for (int k = 0; k < 4; ++k)
                SP[k] = Div(((Src >> (8 * k)) & 0xFF) * SCA);
            std::uint32_t Want = 0;
            for (int k = 0; k < 4; ++k)
                Want |= std::min(255u, SP[k] + Div(((Dst >> (8 * k)) & 0xFF) * (255 - SP[3])))
                        << (8 * k);
            EXPECT_EQ(D.Raw(0, 0), Want) << SA << " " << SCA;
        }
    TTestSurface S24(1, 1, RGB(255, 255, 255), 24), D(1, 1);
    BLENDFUNCTION F{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_FALSE(AlphaBlend(D.DC(), 0, 0, 1, 1, S24.DC(), 0, 0, 1, 1, F));
}

TEST(Blit, HugeRectanglesCostOnlyWhatIsVisible) {
    TTestSurface S(4, 4, RGB(255, 0, 0)), D(4, 4);
    EXPECT_TRUE(BitBlt(D.DC(), 2147483000, 0, 100000, 4, S.DC(), 0, 0, SRCCOPY));
    EXPECT_TRUE(StretchBlt(D.DC(), -2000000000, 0, 2000000002, 1, S.DC(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(D.DC(), 0, 1, 4, 1, S.DC(), -1000000000, 0, 2000000000, 1, SRCCOPY));
    EXPECT_TRUE(PatBlt(D.DC(), -2000000000, 3, 2100000000, -1, BLACKNESS));
    const std::map<COLORREF, char> Legend{{RGB(255, 0, 0), 'r'}};
    // Row 1 samples a source reaching far beyond the picture on both sides: all
    // black.
    EXPECT_EQ(D.Picture(Legend), Rows({"rr..", "####", "....", "####"}));
}
