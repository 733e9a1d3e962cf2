#include "media/MyUtils.h"
#include "platform/core/Threads.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> Dispatched;

LRESULT RecordingProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg >= WM_USER)
        Dispatched.push_back(Msg);
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

} // namespace

TEST(Pumps, PumpMessagesDispatchesEverythingAndSwallowsTheQuit) {
    THeadlessBackend Backend;
    SetBackend(&Backend);
    WNDCLASS Class;
    Class.lpfnWndProc = RecordingProc;
    Class.lpszClassName = "MediaPumpTest";
    ASSERT_NE(RegisterClass(&Class), 0);
    HWND Wnd = CreateWindow("MediaPumpTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr);
    ASSERT_NE(Wnd, nullptr);
    Dispatched.clear();

    PostMessage(Wnd, WM_USER + 1, 0, 0);
    // In the middle of the queue: a pump that stopped at it would leave the second.
    PostThreadMessage(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostMessage(Wnd, WM_USER + 2, 0, 0);
    PumpMessages();

    EXPECT_EQ(Dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    MSG Msg;
    EXPECT_FALSE(PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) << Msg.message;
    EXPECT_FALSE(PumpOneMessage(Msg));

    DestroyWindow(Wnd);
    ResetWindowSystem();
    SetBackend(nullptr);
}
