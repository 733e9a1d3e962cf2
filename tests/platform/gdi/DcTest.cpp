#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Dc, OriginsAndClipMapLogicalToDevice) {
    TTestSurface S(32, 32);
    HBRUSH Black = static_cast<HBRUSH>(static_cast<void*>(GetStockObject(BLACK_BRUSH)));
    SetViewportOrgEx(S.DC(), 10, 20, nullptr);
    EXPECT_EQ(IntersectClipRect(S.DC(), 0, 0, 5, 5), SIMPLEREGION);
    // Moving the origin afterwards does not move the clip.
    SetViewportOrgEx(S.DC(), 12, 22, nullptr);
    SetViewportOrgEx(S.DC(), 10, 20, nullptr);
    const TRect All{0, 0, 100, 100};
    FillRect(S.DC(), &All, Black);
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X) {
            const bool In = X >= 10 && X < 15 && Y >= 20 && Y < 25;
            ASSERT_EQ(S.PixelAt(X, Y), In ? 0u : 0xFFFFFFu) << X << "," << Y;
        }
    TRect Box;
    EXPECT_EQ(GetClipBox(S.DC(), &Box), SIMPLEREGION);
    EXPECT_EQ(Box, Rect(0, 0, 5, 5));

    // A rectangle meant as "everything" stays so under any origin.
    SelectClipRgn(S.DC(), 0);
    const TRect Everything{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    FillRect(S.DC(), &Everything, Black);
    EXPECT_EQ(S.PixelAt(0, 0), 0u);
    EXPECT_EQ(S.PixelAt(31, 31), 0u);
}

TEST(Dc, SaveAndRestoreBringBackOriginsClipAndObjects) {
    TTestSurface S(16, 16);
    HDC DC = S.DC();
    EXPECT_EQ(SaveDC(DC), 1);
    SetWindowOrgEx(DC, 5, 5, nullptr);
    TPoint Org;
    GetWindowOrgEx(DC, &Org);
    EXPECT_EQ(Org, Point(5, 5));
    EXPECT_EQ(SetPixel(DC, 5, 5, RGB(255, 0, 0)), RGB(255, 0, 0));
    EXPECT_EQ(S.PixelAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(SaveDC(DC), 2);
    ExcludeClipRect(DC, 5, 5, 7, 7);
    HPEN Pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    SelectObject(DC, ToObj(Pen));
    EXPECT_EQ(SaveDC(DC), 3);
    SetViewportOrgEx(DC, 3, 3, nullptr);
    SetTextColor(DC, RGB(1, 2, 3));

    EXPECT_TRUE(RestoreDC(DC, -1)); // back to level 2's state
    TPoint VOrg;
    GetViewportOrgEx(DC, &VOrg);
    EXPECT_EQ(VOrg, Point(0, 0));
    EXPECT_EQ(GetTextColor(DC), 0u);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), ToObj(Pen));
    // The hole of ExcludeClipRect is still there.
    EXPECT_EQ(GetPixel(DC, 5, 5), CLR_INVALID);
    EXPECT_EQ(GetPixel(DC, 7, 7), 0xFFFFFFu);

    EXPECT_EQ(SaveDC(DC), 3);
    EXPECT_TRUE(RestoreDC(DC, 1)); // from level 3 straight to level 1
    GetWindowOrgEx(DC, &Org);
    EXPECT_EQ(Org, Point(0, 0));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), GetStockObject(BLACK_PEN));
    HRGN Probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetClipRgn(DC, Probe), 0);
    EXPECT_FALSE(RestoreDC(DC, 1)); // nothing saved any more
    DeleteObject(ToObj(Probe));
    DeleteObject(ToObj(Pen));
}

TEST(Dc, ClipRegionsAreCopiedAndMeetTheSystemClip) {
    TTestSurface S(8, 8);
    HRGN R = CreateRectRgn(0, 0, 4, 8);
    SelectClipRgn(S.DC(), R);
    DeleteObject(ToObj(R)); // the DC keeps its own copy
    ExcludeClipRect(S.DC(), 1, 1, 3, 3);
    const TRect All{0, 0, 8, 8};
    FillRect(S.DC(), &All, static_cast<HBRUSH>(static_cast<void*>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(S.Picture(), Rows({"####....", "#..#....", "#..#....", "####....", "####....",
                                 "####....", "####....", "####...."}));

    // A window-like surface: offset (5, 7), system clip meets the application clip.
    std::vector<std::uint32_t> Buffer(20 * 20, 0xFFFFFFFF);
    TSurface Surface{Buffer.data(), 20, 20, 80, 32, false};
    HDC W = CreateSurfaceDC(Surface);
    SetSurfaceDCOffset(W, 5, 7);
    HRGN System = CreateRectRgn(0, 0, 6, 6);
    SetSurfaceDCSystemClip(W, System);
    IntersectClipRect(W, 2, 2, 10, 10);
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    const TRect Big{-50, -50, 50, 50};
    FillRect(W, &Big, Red);
    int Count = 0;
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 20; ++X)
            if (Buffer[std::size_t(Y * 20 + X)] == 0x00FF0000u) {
                ++Count;
                EXPECT_TRUE(X >= 7 && X < 11 && Y >= 9 && Y < 13) << X << "," << Y;
            }
    EXPECT_EQ(Count, 16);
    TRect Box;
    EXPECT_EQ(GetClipBox(W, &Box), SIMPLEREGION);
    EXPECT_EQ(Box, Rect(2, 2, 6, 6));

    // The window DC is no DIB section, but it can say what it draws on.
    DIBSECTION Ds;
    EXPECT_EQ(GetObject(GetCurrentObject(W, OBJ_BITMAP), sizeof(Ds), &Ds), 0);
    TDCSurfaceInfo Info;
    ASSERT_TRUE(GetDCSurfaceInfo(W, &Info));
    EXPECT_EQ(Info.Bits, Buffer.data());
    EXPECT_EQ(Info.Offset, Point(5, 7));
    TRect ClipBox;
    EXPECT_EQ(GetRgnBox(Info.Clip, &ClipBox), SIMPLEREGION);
    EXPECT_EQ(ClipBox, Rect(7, 9, 11, 13));
    DeleteObject(ToObj(Info.Clip));
    DeleteObject(ToObj(System));
    DeleteObject(ToObj(Red));
    DeleteDC(W);
}

TEST(Dc, DibSectionsReportTheirLayout) {
    struct Row {
        int Bits;
        bool BottomUp;
    };
    for (const Row& R : {Row{32, true}, Row{24, false}}) {
        TTestSurface S(5, 3, RGB(255, 255, 255), R.Bits, R.BottomUp);
        DIBSECTION Ds;
        ASSERT_EQ(GetObject(GetCurrentObject(S.DC(), OBJ_BITMAP), sizeof(Ds), &Ds),
                  int(sizeof(Ds)));
        EXPECT_EQ(Ds.dsBm.bmBits, S.Bits());
        EXPECT_EQ(Ds.dsBmih.biWidth, 5);
        EXPECT_EQ(Ds.dsBmih.biHeight, R.BottomUp ? 3 : -3);
        EXPECT_EQ(Ds.dsBmih.biBitCount, R.Bits);
        const int Stride = R.Bits == 24 ? 16 : 20;
        EXPECT_EQ(Ds.dsBm.bmWidthBytes, Stride);
        SetPixel(S.DC(), 0, 0, RGB(1, 2, 3));
        const auto* Bytes = static_cast<const std::uint8_t*>(S.Bits());
        const std::size_t First = R.BottomUp ? std::size_t(2 * Stride) : 0;
        EXPECT_EQ(Bytes[First], 3);
        EXPECT_EQ(Bytes[First + 1], 2);
        EXPECT_EQ(Bytes[First + 2], 1);
    }
}

TEST(Dc, ImpossibleHeadersAndBadHandlesFailQuietly) {
    struct Row {
        int Width, Height, Bits;
        DWORD Compression;
    };
    const Row Bad[] = {{0, 10, 32, BI_RGB},       {10, 0, 32, BI_RGB},  {40000, 1, 32, BI_RGB},
                       {1, -40000, 32, BI_RGB},   {10, 10, 16, BI_RGB}, {10, 10, 8, BI_RLE8},
                       {10, 10, 24, BI_BITFIELDS}};
    for (const Row& R : Bad) {
        BITMAPINFO Info{};
        Info.bmiHeader.biWidth = R.Width;
        Info.bmiHeader.biHeight = R.Height;
        Info.bmiHeader.biBitCount = WORD(R.Bits);
        Info.bmiHeader.biCompression = R.Compression;
        void* Bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(0, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0), nullptr);
        EXPECT_EQ(Bits, nullptr);
    }

    HDC A = CreateCompatibleDC(0), B = CreateCompatibleDC(0);
    HBITMAP Bm = CreateCompatibleBitmap(A, 4, 4);
    EXPECT_NE(SelectObject(A, ToObj(Bm)), nullptr);
    EXPECT_EQ(SelectObject(B, ToObj(Bm)), nullptr); // one DC at a time
    EXPECT_FALSE(DeleteObject(ToObj(Bm)));          // still selected
    EXPECT_EQ(GetObjectType(ToObj(A)), OBJ_MEMDC);
    EXPECT_EQ(GetObjectType(ToObj(Bm)), OBJ_BITMAP);
    DeleteDC(A);
    EXPECT_TRUE(DeleteObject(ToObj(Bm)));

    // Dead or wrong-kind handles: every kind of function answers failure.
    HBRUSH Brush = CreateSolidBrush(0);
    DeleteObject(ToObj(Brush));
    const TRect R{0, 0, 2, 2};
    EXPECT_FALSE(FillRect(B, &R, Brush));
    EXPECT_FALSE(FillRect(A, &R, CreateSolidBrush(0)));
    EXPECT_EQ(GetPixel(A, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetTextColor(A, 0), CLR_INVALID);
    EXPECT_FALSE(BitBlt(B, 0, 0, 1, 1, A, 0, 0, SRCCOPY));
    EXPECT_FALSE(LineTo(A, 1, 1));
    EXPECT_EQ(SelectObject(B, ToObj(Brush)), nullptr);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(ToObj(Bm)), GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(GetObjectType(ToObj(Brush)), 0);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(0x1234567)), 0);
    EXPECT_FALSE(DeleteDC(A));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))); // ignored
    HPEN Pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(B, ToObj(Pen));
    EXPECT_FALSE(DeleteObject(ToObj(Pen))); // still selected
    SelectObject(B, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(ToObj(Pen)));
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
    DeleteDC(B);
}

TEST(Dc, DisplayDcMeasuresButDrawsNothing) {
    HDC Screen = CreateDC("DISPLAY");
    ASSERT_NE(Screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(Screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(Screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(Screen, HORZRES), 1920);
    EXPECT_EQ(SetPixel(Screen, 1, 1, 0), CLR_INVALID);
    const TRect R{0, 0, 10, 10};
    EXPECT_TRUE(
        FillRect(Screen, &R, static_cast<HBRUSH>(static_cast<void*>(GetStockObject(BLACK_BRUSH)))));
    HDC Mem = CreateCompatibleDC(Screen);
    EXPECT_NE(Mem, nullptr);
    EXPECT_EQ(GetObjectType(GetCurrentObject(Mem, OBJ_BITMAP)),
              OBJ_BITMAP); // the 1 x 1 stock bitmap
    DeleteDC(Mem);
    DeleteDC(Screen);
}

TEST(Dc, GetDIBitsConvertsBetweenDepths) {
    // An 8-bit section with a small table, read to 24 bits and written back.
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = 3;
    Info.bmiHeader.biHeight = 2;
    Info.bmiHeader.biBitCount = 8;
    Info.bmiHeader.biClrUsed = 3;
    Info.bmiColors[0] = {0, 0, 255, 0};
    Info.bmiColors[1] = {0, 255, 0, 0};
    Info.bmiColors[2] = {255, 0, 0, 0};
    void* Bits;
    HBITMAP Bm = CreateDIBSection(0, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    ASSERT_NE(Bm, nullptr);
    auto* P = static_cast<std::uint8_t*>(Bits);
    const std::uint8_t Indices[2][3] = {{0, 1, 2}, {2, 1, 0}}; // memory rows, bottom row first
    std::memcpy(P, Indices[0], 3);
    std::memcpy(P + 4, Indices[1], 3);

    HDC DC = CreateCompatibleDC(0);
    BITMAPINFO Query{};
    EXPECT_EQ(GetDIBits(DC, Bm, 0, 2, nullptr, &Query, DIB_RGB_COLORS), 2);
    EXPECT_EQ(Query.bmiHeader.biBitCount, 8);
    BITMAPINFO To24{};
    To24.bmiHeader.biWidth = 3;
    To24.bmiHeader.biHeight = -2; // top-down
    To24.bmiHeader.biBitCount = 24;
    std::uint8_t Rgb[2 * 12] = {};
    EXPECT_EQ(GetDIBits(DC, Bm, 0, 2, Rgb, &To24, DIB_RGB_COLORS), 2);
    // Top row (memory row 1): indices 2,1,0 = blue, green, red as B,G,R bytes.
    const std::uint8_t Top[9] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    EXPECT_EQ(std::memcmp(Rgb, Top, 9), 0);

    BITMAPINFO Back{};
    Back.bmiHeader.biWidth = 3;
    Back.bmiHeader.biHeight = 2;
    Back.bmiHeader.biBitCount = 8;
    std::uint8_t Again[8] = {};
    EXPECT_EQ(GetDIBits(DC, Bm, 0, 2, Again, &Back, DIB_RGB_COLORS), 2);
    EXPECT_EQ(std::memcmp(Again, P, 8), 0);
    EXPECT_EQ(Back.bmiColors[2].rgbBlue, 255); // its own table
    DeleteDC(DC);
    DeleteObject(ToObj(Bm));
}
