#include "platform/gdi/Types.h"

#include <gtest/gtest.h>

TEST(Types, SystemColoursHaveTheirFixedValues) {
    struct Row {
        int Index;
        COLORREF Expected;
    };
    const Row Rows[] = {
        {COLOR_WINDOW, RGB(255, 255, 255)},
        {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
        {COLOR_APPWORKSPACE, RGB(128, 128, 128)},
        {COLOR_HIGHLIGHT, RGB(10, 36, 106)},
        {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
        {COLOR_BTNFACE, RGB(212, 208, 200)},
        {COLOR_BTNSHADOW, RGB(128, 128, 128)},
        {COLOR_GRAYTEXT, RGB(128, 128, 128)},
        {COLOR_BTNTEXT, RGB(0, 0, 0)},
        {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
        {COLOR_3DDKSHADOW, RGB(64, 64, 64)},
        {COLOR_3DLIGHT, RGB(212, 208, 200)},
        {COLOR_INFOTEXT, RGB(0, 0, 0)},
        {COLOR_INFOBK, RGB(255, 255, 225)},
        {COLOR_HOTLIGHT, RGB(0, 0, 128)},
        {COLOR_MENUBAR, RGB(212, 208, 200)},
        {25, 0},
        {31, 0},
        {-1, 0},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(GetSysColor(R.Index), R.Expected) << "index " << R.Index;
}

TEST(Types, ColorToRGBResolvesOnlySystemColours) {
    EXPECT_EQ(clBtnFace, -16777201);
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(RGB(212, 208, 200)));
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

TEST(Types, RectanglesExcludeTheirRightAndBottomEdges) {
    const TRect R = Rect(0, 0, 10, 5);
    EXPECT_TRUE(PtInRect(&R, Point(9, 4)));
    EXPECT_FALSE(PtInRect(&R, Point(10, 4)));
    EXPECT_FALSE(PtInRect(&R, Point(9, 5)));
    EXPECT_EQ(Bounds(2, 3, 4, 5), Rect(2, 3, 6, 8));
    const TRect Flat = Rect(3, 3, 3, 10);
    EXPECT_TRUE(IsRectEmpty(&Flat));

    TRect Out;
    const TRect A = Rect(0, 0, 10, 10), B = Rect(5, 5, 15, 15), Far = Rect(20, 20, 30, 30);
    EXPECT_TRUE(IntersectRect(&Out, &A, &B));
    EXPECT_EQ(Out, Rect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(&Out, &A, &Far));
    EXPECT_EQ(Out, TRect{});
    EXPECT_TRUE(UnionRect(&Out, &A, &B));
    EXPECT_EQ(Out, Rect(0, 0, 15, 15));

    const TRect Top = Rect(0, 0, 10, 4), Middle = Rect(2, 2, 5, 5);
    EXPECT_TRUE(SubtractRect(&Out, &A, &Top));
    EXPECT_EQ(Out, Rect(0, 4, 10, 10));
    EXPECT_TRUE(SubtractRect(&Out, &A, &Middle));
    EXPECT_EQ(Out, A);

    TRect M = A;
    OffsetRect(&M, 2, 3);
    InflateRect(&M, 1, 1);
    EXPECT_EQ(M, Rect(1, 2, 13, 14));
}

TEST(Types, FontStylesBehaveAsASet) {
    TFontStyles S{fsBold, fsUnderline};
    EXPECT_TRUE(S.Contains(fsBold));
    EXPECT_FALSE(S.Contains(fsItalic));
    S.Exclude(fsBold).Include(fsItalic);
    EXPECT_EQ(S, (TFontStyles{fsItalic, fsUnderline}));
    EXPECT_TRUE(TFontStyles{}.Empty());
}
