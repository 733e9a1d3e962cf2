// Runs without Qt's application object: text refuses clearly, the rest works.
#include "GdiTestSupport.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

TEST(NoApplication, TextRaisesButShapesAndBlitsWork) {
    TTestSurface S(4, 4);
    TSize Size;
    EXPECT_THROW(GetTextExtentPoint32(S.DC(), "abc", &Size), EInvalidOperation);
    TRect R{0, 0, 4, 4};
    EXPECT_THROW(DrawText(S.DC(), "abc", -1, &R, 0), EInvalidOperation);
    EXPECT_TRUE(Rectangle(S.DC(), 0, 0, 4, 4));
    EXPECT_TRUE(BitBlt(S.DC(), 1, 1, 2, 2, S.DC(), 0, 0, SRCCOPY));
    EXPECT_EQ(S.PixelAt(0, 0), 0u);
}
