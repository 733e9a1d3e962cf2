#include "tests/platform/win/WinTestSupport.h"

class WindowTest : public TWinTest {};

TEST_F(WindowTest, CreatesAndDestroys) {
    HWND W = Make(WS_OVERLAPPEDWINDOW, Bounds(10, 10, 300, 200));
    ASSERT_TRUE(IsWindow(W));
    EXPECT_TRUE(DestroyWindow(W));
    EXPECT_FALSE(IsWindow(W));
}
