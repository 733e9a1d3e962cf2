// The message queue: retrieval order, timers on the manual clock, threads.
#include "tests/platform/win/WinTestSupport.h"

#include <atomic>
#include <thread>

class QueueTest : public TWinTest {};

namespace {

std::vector<UINT> Dispatched(HWND Filter = nullptr) {
    std::vector<UINT> Result;
    MSG M;
    while (PeekMessage(&M, Filter, 0, 0, PM_REMOVE)) {
        Result.push_back(M.message);
        DispatchMessage(&M);
    }
    return Result;
}

} // namespace

TEST_F(QueueTest, PostedThenPaintThenTimer) {
    HWND W = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50));
    ProcessPending();
    SetTimer(W, 1, 100, nullptr);
    Clock.Advance(100);
    InvalidateRect(W, nullptr, FALSE);
    PostMessage(W, WM_USER, 0, 0);
    EXPECT_EQ(Dispatched(), (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
}

TEST_F(QueueTest, QuitComesAfterPostedMessagesAndEndsGetMessage) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    PostQuitMessage(3);
    PostMessage(W, WM_USER, 0, 0);
    MSG M;
    ASSERT_TRUE(GetMessage(&M, nullptr, 0, 0));
    EXPECT_EQ(M.message, WM_USER);
    EXPECT_EQ(GetMessage(&M, nullptr, 0, 0), FALSE);
    EXPECT_EQ(M.wParam, 3u);
    EXPECT_EQ(GetMessage(&M, reinterpret_cast<HWND>(std::uintptr_t(99)), 0, 0), -1);
}

TEST_F(QueueTest, FiltersByWindowRangeAndThreadMessages) {
    HWND A = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    HWND B = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    PostMessage(A, WM_USER, 0, 0);
    PostMessage(B, WM_USER + 1, 0, 0);
    PostThreadMessage(GetCurrentThreadId(), WM_USER + 2, 0, 0);
    MSG M;
    ASSERT_TRUE(PeekMessage(&M, B, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(M.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessage(&M, HWND_THREAD_ONLY, 0, 0, PM_REMOVE));
    EXPECT_EQ(M.message, WM_USER + 2);
    EXPECT_EQ(M.hwnd, nullptr);
    ASSERT_TRUE(PeekMessage(&M, nullptr, WM_USER + 1, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ(M.hwnd, B);
    EXPECT_EQ(Dispatched(), (std::vector<UINT>{WM_USER}));
}

TEST_F(QueueTest, RegisteredMessagesShareANumberByName) {
    UINT A = RegisterWindowMessage("TaskbarCreated");
    EXPECT_GE(A, 0xC000u);
    EXPECT_LE(A, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessage("taskbarcreated"), A);
    EXPECT_NE(RegisterWindowMessage("Other"), A);
    EXPECT_TRUE(IsWindowUnicode(Make(WS_POPUP, Bounds(0, 0, 1, 1))));
}

// ---------------------------------------------------------------- timers

TEST_F(QueueTest, TimerTicksOnTheClockAndCoalescesWhenTheThreadIsBusy) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    std::vector<DWORD> Ticks;
    On(W, [&](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_TIMER)
            Ticks.push_back(GetTickCount());
        return std::nullopt;
    });
    SetTimer(W, 1, 100, nullptr);
    Headless.RunUntil(1350);
    EXPECT_EQ(Ticks, (std::vector<DWORD>{1100, 1200, 1300}));
    Ticks.clear();
    Clock.Advance(350); // the thread does not pump meanwhile
    ProcessPending();
    EXPECT_EQ(Ticks.size(), 1u);
}

TEST_F(QueueTest, KillTimerInsideItsTickReplacingAndTimerProcedures) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    int Ticks = 0;
    On(W, [&](HWND H, UINT M, WPARAM Id, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_TIMER && Id == 1) {
            ++Ticks;
            KillTimer(H, 1);
        }
        return std::nullopt;
    });
    SetTimer(W, 1, 100, nullptr);
    Headless.RunUntil(1500);
    EXPECT_EQ(Ticks, 1);

    Ticks = 0;
    SetTimer(W, 2, 100, nullptr);
    SetTimer(W, 2, 300, nullptr); // replaces
    std::vector<DWORD> Seen;
    On(W, [&](HWND, UINT M, WPARAM Id, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_TIMER && Id == 2)
            Seen.push_back(GetTickCount());
        return std::nullopt;
    });
    Headless.RunUntil(2100);
    EXPECT_EQ(Seen, (std::vector<DWORD>{1800, 2100}));
    KillTimer(W, 2);

    static HWND ProcWnd;
    static UINT ProcMsg;
    static UINT_PTR ProcId;
    static int ProcCalls;
    ProcCalls = 0;
    SetTimer(W, 7, 50, [](HWND H, UINT M, UINT_PTR Id, DWORD) {
        ProcWnd = H;
        ProcMsg = M;
        ProcId = Id;
        ++ProcCalls;
    });
    Headless.RunUntil(2150);
    EXPECT_EQ(ProcCalls, 1);
    EXPECT_EQ(ProcWnd, W);
    EXPECT_EQ(ProcMsg, WM_TIMER);
    EXPECT_EQ(ProcId, 7u);
}

TEST_F(QueueTest, TimersAndPostsReachANestedPeekLoop) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10));
    bool Timer = false, Posted = false;
    On(W, [&](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (M == WM_USER) {
            // A modal loop of a handler.
            SetTimer(H, 1, 20, nullptr);
            PostMessage(H, WM_USER + 1, 0, 0);
            while (!(Timer && Posted)) {
                MSG Msg;
                if (PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessage(&Msg);
                else
                    WaitMessage();
            }
        }
        if (M == WM_TIMER)
            Timer = true;
        if (M == WM_USER + 1)
            Posted = true;
        return std::nullopt;
    });
    PostMessage(W, WM_USER, 0, 0);
    ProcessPending();
    EXPECT_TRUE(Timer);
    EXPECT_TRUE(Posted);
}

TEST_F(QueueTest, AWaitThatCanNeverEndFailsInsteadOfHanging) {
    Make(WS_POPUP, Bounds(0, 0, 10, 10));
    MSG M;
    try {
        GetMessage(&M, nullptr, 0, 0);
        FAIL() << "GetMessage returned";
    } catch (const EWaitWouldHang& E) {
        EXPECT_NE(std::string(E.what()).find("GetMessage"), std::string::npos);
    }
}

// ---------------------------------------------------------------- threads

TEST_F(QueueTest, SentMessagesComeBeforePostedOnes) {
    std::vector<UINT> Order;
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10), nullptr, 0,
                  [&](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                      if (M >= WM_USER) {
                          Order.push_back(M);
                          return M == WM_USER + 2 ? 42 : 0;
                      }
                      return std::nullopt;
                  });
    LRESULT Answer = 0;
    TThreadID Ui = GetCurrentThreadId();
    std::thread Worker([&] {
        PostMessage(W, WM_USER, 0, 0);
        PostMessage(W, WM_USER + 1, 0, 0);
        Answer = SendMessage(W, WM_USER + 2, 0, 0);
    });
    // Wait until the send is queued so the order does not depend on timing.
    while (!HasPendingSentMessages(Ui))
        std::this_thread::yield();
    MSG M;
    while (Order.size() < 3 && GetMessage(&M, nullptr, 0, 0))
        DispatchMessage(&M);
    Worker.join();
    EXPECT_EQ(Order, (std::vector<UINT>{WM_USER + 2, WM_USER, WM_USER + 1}));
    EXPECT_EQ(Answer, 42);
}

TEST_F(QueueTest, FourWorkersKeepTheirOwnOrder) {
    constexpr int PerWorker = 1000;
    std::vector<std::vector<int>> Seen(4);
    int Total = 0;
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10), nullptr, 0,
                  [&](HWND, UINT M, WPARAM Wp, LPARAM Lp) -> std::optional<LRESULT> {
                      if (M == WM_USER) {
                          Seen[Wp].push_back(int(Lp));
                          ++Total;
                          return 0;
                      }
                      return std::nullopt;
                  });
    std::vector<std::thread> Workers;
    for (int T = 0; T < 4; ++T)
        Workers.emplace_back([W, T] {
            for (int I = 0; I < PerWorker; ++I)
                PostMessage(W, WM_USER, WPARAM(T), I);
        });
    MSG M;
    while (Total < 4 * PerWorker && GetMessage(&M, nullptr, 0, 0))
        DispatchMessage(&M);
    for (auto& T : Workers)
        T.join();
    for (auto& S : Seen) {
        ASSERT_EQ(S.size(), std::size_t(PerWorker));
        for (int I = 0; I < PerWorker; ++I)
            ASSERT_EQ(S[std::size_t(I)], I);
    }
}

TEST_F(QueueTest, ASendToAWindowDestroyedMeanwhileReturnsZero) {
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10), nullptr, 0,
                  [](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                      if (M == WM_USER)
                          return 5;
                      return std::nullopt;
                  });
    std::atomic<LRESULT> Answer{-1};
    TThreadID Ui = GetCurrentThreadId();
    std::thread Worker([&] { Answer = SendMessage(W, WM_USER, 0, 0); });
    while (!HasPendingSentMessages(Ui))
        std::this_thread::yield();
    DestroyWindow(W);
    ProcessPending();
    Worker.join();
    EXPECT_EQ(Answer, 0);
}

TEST_F(QueueTest, CrossThreadSendRunsOnTheWindowsThread) {
    TThreadID Ran = 0;
    HWND W = Make(WS_POPUP, Bounds(0, 0, 10, 10), nullptr, 0,
                  [&](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
                      if (M == WM_USER) {
                          Ran = GetCurrentThreadId();
                          EXPECT_TRUE(InSendMessage());
                          ReplyMessage(9);
                          return 1;
                      }
                      return std::nullopt;
                  });
    std::atomic<LRESULT> Answer{-1};
    std::atomic<bool> Done{false};
    std::thread Worker([&] {
        Answer = SendMessage(W, WM_USER, 0, 0);
        Done = true;
        PostMessage(W, WM_NULL, 0, 0);
    });
    MSG M;
    while (!Done && GetMessage(&M, nullptr, 0, 0))
        DispatchMessage(&M);
    Worker.join();
    EXPECT_EQ(Ran, GetCurrentThreadId());
    EXPECT_EQ(Answer, 9) << "ReplyMessage answers early";
    EXPECT_FALSE(InSendMessage());
}
