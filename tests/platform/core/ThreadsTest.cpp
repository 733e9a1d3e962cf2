#include "platform/core/Threads.h"

#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SyncObjects.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Generous bound for anything a test waits on; a correct run never gets near.
constexpr std::uint32_t WaitBound = 30000;

// A thread running a function; the test reaches its protected members
// through it.
class TTestThread : public TThread {
public:
    using TBody = std::function<void(TTestThread&)>;

    explicit TTestThread(TBody Body, bool CreateSuspended = true)
        : TThread(CreateSuspended), FBody(std::move(Body)) {
        AfterConstruction();
    }
    ~TTestThread() override {
        TerminateAndWait();
        if (OnDestroy)
            OnDestroy();
    }

    void CallSynchronize(TThreadMethod Method) { Synchronize(std::move(Method)); }
    void CallQueue(TThreadMethod Method) { Queue(std::move(Method)); }
    void CallSetReturnValue(int Value) { SetReturnValue(Value); }

    std::function<void()> OnDestroy;

protected:
    void Execute() override { FBody(*this); }

private:
    TBody FBody;
};

// Serves the queue on the main thread until Done holds.
void ServeUntil(const std::function<bool()>& Done) {
    std::uint32_t start = GetTickCount();
    while (!Done()) {
        CheckSynchronize(10);
        ASSERT_LT(GetTickCount() - start, WaitBound) << "gave up waiting";
    }
}

// Polls a condition no event announces, within the generous bound.
bool Eventually(const std::function<bool()>& Condition) {
    std::uint32_t start = GetTickCount();
    while (!Condition()) {
        if (GetTickCount() - start > WaitBound)
            return false;
        Sleep(1);
    }
    return true;
}

char ThreadState(TThreadID Tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(Tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The name in parentheses may hold blanks; the state follows the last ')'.
    std::size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '?' : text[close + 2];
}

class TReceiver : public TObject {
public:
    void Run() { ++Calls; }
    int Calls = 0;
};

} // namespace

TEST(Threads, SynchronizeRunsOnTheMainThreadWhileItServesTheQueue) {
    ASSERT_EQ(GetCurrentThreadId(), MainThreadID());
    std::atomic<TThreadID> ranOn{0};
    std::atomic<bool> done{false};
    TTestThread thread([&](TTestThread& Self) {
        Self.CallSynchronize([&] { ranOn = GetCurrentThreadId(); });
        done = true;
    });
    EXPECT_NE(thread.ThreadID(), 0u);
    EXPECT_NE(thread.ThreadID(), MainThreadID());
    thread.Start();
    ServeUntil([&] { return done.load(); });
    EXPECT_EQ(ranOn, MainThreadID());
    thread.WaitFor();
}

TEST(Threads, ExceptionOnTheMainThreadReachesTheCallerWithClassAndMessage) {
    std::string caught;
    TTestThread thread([&](TTestThread& Self) {
        try {
            Self.CallSynchronize([] { throw EConvertError("'x' is not a valid integer value"); });
        } catch (const EConvertError& E) {
            caught = E.Message();
        }
    });
    thread.Start();
    // The main thread serves the call and goes on without seeing the error.
    EXPECT_NO_THROW(thread.WaitFor());
    EXPECT_EQ(caught, "'x' is not a valid integer value");
    EXPECT_FALSE(thread.FatalException());
}

TEST(Threads, QueuedAndSynchronousCallsRunInTheOrderMade) {
    std::vector<std::string> order;
    TTestThread thread([&](TTestThread& Self) {
        Self.CallQueue([&] { order.push_back("A"); });
        Self.CallQueue([&] { order.push_back("B"); });
        TThread::Queue(nullptr, [&] { order.push_back("C"); });
        TThread::Synchronize(nullptr, [&] { order.push_back("D"); });
    });
    thread.Start();
    // WaitFor on the main thread serves the worker's calls: no deadlock.
    thread.WaitFor();
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST(Threads, CallsMadeOnTheMainThreadRunAtOnce) {
    std::vector<int> order;
    TThread::Queue(nullptr, [&] { order.push_back(1); });
    order.push_back(2);
    TThread::Synchronize(nullptr, [&] { order.push_back(3); });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(CheckSynchronize());
}

TEST(Threads, RemoveQueuedEventsDropsCallsNotYetRun) {
    TReceiver receiver, other;
    TEvent queued;
    TTestThread thread([&](TTestThread& Self) {
        Self.CallQueue(TThreadMethod(&receiver, &TReceiver::Run));
        Self.CallQueue(TThreadMethod(&other, &TReceiver::Run));
        Self.CallQueue(TThreadMethod(&receiver, &TReceiver::Run));
        queued.SetEvent();
    });
    thread.Start();
    ASSERT_EQ(queued.WaitFor(WaitBound), wrSignaled);
    // Before WaitFor, which would serve the calls.
    TThread::RemoveQueuedEvents(&receiver);
    thread.WaitFor();
    CheckSynchronize();
    EXPECT_EQ(receiver.Calls, 0);
    EXPECT_EQ(other.Calls, 1);
}

TEST(Threads, RemoveQueuedEventsOfAThreadDropsWhatItQueued) {
    int calls = 0;
    TEvent queued;
    TTestThread thread([&](TTestThread& Self) {
        Self.CallQueue([&] { ++calls; });
        queued.SetEvent();
    });
    thread.Start();
    ASSERT_EQ(queued.WaitFor(WaitBound), wrSignaled);
    TThread::RemoveQueuedEvents(&thread);
    thread.WaitFor();
    CheckSynchronize();
    EXPECT_EQ(calls, 0);
}

// A queued call that raises on the main thread while it waits for a worker
// neither ends the wait early nor ends the program in a destructor.
TEST(Threads, QueuedCallThatRaisesWhileWaitingIsRaisedAfterTheThreadEnded) {
    auto body = [](TTestThread& Self) {
        Self.CallQueue([] { throw EConvertError("queued"); });
        // The thread cannot end before the main thread has served both calls.
        Self.CallSynchronize([] {});
    };
    TTestThread thread(body);
    thread.Start();
    try {
        thread.WaitFor();
        ADD_FAILURE() << "the queued call's error was lost";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "queued");
        EXPECT_TRUE(thread.Finished());
    }
    {
        TTestThread destroyed(body);
        destroyed.Start();
    }
    EXPECT_FALSE(CheckSynchronize());
}

TEST(Threads, CheckSynchronizeWithATimeOutWaitsForACall) {
    std::atomic<bool> ran{false};
    TTestThread thread([&](TTestThread& Self) { Self.CallQueue([&] { ran = true; }); });
    thread.Start();
    std::uint32_t start = GetTickCount();
    while (!CheckSynchronize(WaitBound) && GetTickCount() - start < WaitBound) {
    }
    EXPECT_TRUE(ran);
    thread.WaitFor();
}

TEST(Threads, CheckSynchronizeOffTheMainThreadRaises) {
    bool raised = false;
    std::thread other([&] {
        try {
            CheckSynchronize();
        } catch (const EInvalidOperation&) {
            raised = true;
        }
    });
    other.join();
    EXPECT_TRUE(raised);
}

TEST(Threads, WakeCallbackRunsWhenACallIsQueued) {
    TEvent woken;
    SetWakeMainThread([&] { woken.SetEvent(); });
    TTestThread thread([&](TTestThread& Self) { Self.CallQueue([] {}); });
    thread.Start();
    EXPECT_EQ(woken.WaitFor(WaitBound), wrSignaled);
    SetWakeMainThread(nullptr);
    thread.WaitFor();
    CheckSynchronize();
}

TEST(Threads, WaitForGivesTheReturnValue) {
    TTestThread thread([](TTestThread& Self) {
        Self.CallSynchronize([] {});
        Self.CallSetReturnValue(7);
    });
    thread.Start();
    EXPECT_EQ(thread.WaitFor(), 7);
    EXPECT_EQ(thread.ReturnValue(), 7);
    EXPECT_TRUE(thread.Finished());
}

TEST(Threads, FreeOnTerminateThreadDeletesItselfAfterOnTerminateRanOnTheMainThread) {
    std::vector<std::string> events;
    std::atomic<TThreadID> onTerminateThread{0};
    std::atomic<bool> destroyed{false};
    auto* thread = new TTestThread([](TTestThread&) {});
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject* Sender) {
        EXPECT_EQ(Sender, thread);
        onTerminateThread = GetCurrentThreadId();
        events.push_back("OnTerminate");
    };
    thread->OnDestroy = [&] {
        events.push_back("destroyed");
        destroyed = true;
    };
    EXPECT_THROW(thread->WaitFor(), EInvalidOperation);
    thread->Start();
    ServeUntil([&] { return destroyed.load(); });
    EXPECT_EQ(onTerminateThread, MainThreadID());
    EXPECT_EQ(events, (std::vector<std::string>{"OnTerminate", "destroyed"}));
}

// A thread that frees itself may end before the main thread runs what it
// queued; those calls still find the object, which goes after them.
TEST(Threads, FreeOnTerminateThreadOutlivesTheCallsItQueued) {
    std::atomic<TThreadID> tid{0};
    std::atomic<bool> destroyed{false};
    bool aliveInCall = false;
    auto* thread = new TTestThread([&](TTestThread& Self) {
        tid = GetCurrentThreadId();
        Self.CallQueue([&] { aliveInCall = !destroyed; });
    });
    thread->SetFreeOnTerminate(true);
    thread->OnDestroy = [&] { destroyed = true; };
    thread->Start();
    // The worker's kernel thread is gone once it has finished its end.
    ASSERT_TRUE(Eventually([&] {
        return tid != 0 && !std::ifstream("/proc/self/task/" + std::to_string(tid) + "/stat");
    }));
    ServeUntil([&] { return destroyed.load(); });
    CheckSynchronize();
    EXPECT_TRUE(aliveInCall) << "the queued call ran on a freed thread object";
}

TEST(Threads, ExceptionEscapingExecuteBecomesFatalException) {
    TTestThread thread([](TTestThread&) { throw EConvertError("broken"); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException());
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "broken");
    }
}

TEST(Threads, ThreadCreatedSuspendedRunsOnlyAfterStart) {
    std::atomic<bool> ran{false};
    {
        TTestThread never([&](TTestThread&) { ran = true; });
        EXPECT_TRUE(never.Suspended());
        EXPECT_THROW(never.WaitFor(), EInvalidOperation);
    }
    // Destroying a thread that never started does not run Execute.
    EXPECT_FALSE(ran);

    std::atomic<TThreadID> ranOn{0};
    TTestThread thread([&](TTestThread&) { ranOn = GetCurrentThreadId(); });
    EXPECT_EQ(ranOn, 0u);
    EXPECT_FALSE(thread.Finished());
    thread.Start();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_THROW(thread.Start(), EInvalidOperation);
    thread.WaitFor();
    EXPECT_EQ(ranOn, thread.ThreadID());
}

TEST(Threads, ThreadCreatedRunningStartsByItself) {
    TEvent ran;
    TTestThread thread([&](TTestThread&) { ran.SetEvent(); }, false);
    EXPECT_EQ(ran.WaitFor(WaitBound), wrSignaled);
    thread.WaitFor();
}

TEST(Threads, DestroyingARunningThreadTerminatesAndWaitsForIt) {
    std::atomic<bool> ended{false};
    TEvent running;
    {
        TTestThread thread([&](TTestThread& Self) {
            running.SetEvent();
            while (!Self.Terminated())
                std::this_thread::yield();
            ended = true;
        });
        thread.Start();
        ASSERT_EQ(running.WaitFor(WaitBound), wrSignaled);
    }
    EXPECT_TRUE(ended);
}

// The pause gate: Suspend only asks, and the worker sleeps at its safe point
// without using the processor until Resume or Terminate.
TEST(PauseGate, SuspendedWorkerSleepsAtItsSafePointAndResumes) {
    std::atomic<std::uint64_t> units{0};
    TTestThread thread([&](TTestThread& Self) {
        while (!Self.Terminated()) {
            ++units;
            Self.WaitWhileSuspended();
        }
    });
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return units > 0; }));

    thread.Suspend();
    EXPECT_TRUE(thread.Suspended());
    // Once the worker sleeps in the gate its count no longer moves.
    ASSERT_TRUE(Eventually([&] {
        std::uint64_t before = units;
        return ThreadState(thread.ThreadID()) == 'S' && units == before;
    }));
    std::uint64_t pausedAt = units;
    std::uint64_t wakeUps = thread.PauseWakeUps();
    Sleep(50);
    EXPECT_EQ(units, pausedAt);
    EXPECT_EQ(ThreadState(thread.ThreadID()), 'S');
    EXPECT_EQ(thread.PauseWakeUps(), wakeUps) << "the paused worker kept waking up";

    thread.Resume();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(Eventually([&] { return units > pausedAt; }));

    // Terminate opens the gate, so a paused worker can be stopped.
    thread.Suspend();
    ASSERT_TRUE(Eventually([&] { return ThreadState(thread.ThreadID()) == 'S'; }));
    thread.Terminate();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST(Priority, LoweringSetsTheThreadsNiceValue) {
    int mainNice = ::getpriority(PRIO_PROCESS, 0);
    if (mainNice > 5)
        GTEST_SKIP() << "the process already runs below the priorities tested";
    TTestThread thread([](TTestThread&) {});
    thread.SetPriority(tpLower);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, thread.ThreadID()), 5);
    thread.SetPriority(tpIdle);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, thread.ThreadID()), 19);
    EXPECT_EQ(thread.Priority(), tpIdle);
    // Set on the thread itself, not on the process.
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), mainNice);
    thread.Start();
    thread.WaitFor();
}

TEST(Priority, RaisingWithoutThePrivilegeKeepsTheValueQuietly) {
    TTestThread thread([](TTestThread&) {});
    int before = ::getpriority(PRIO_PROCESS, thread.ThreadID());
    EXPECT_NO_THROW(thread.SetPriority(tpHigher));
    int after = ::getpriority(PRIO_PROCESS, thread.ThreadID());
    if (after == ThreadPriorityNiceValue(tpHigher))
        GTEST_SKIP() << "this process may raise priorities";
    EXPECT_EQ(after, before);
    EXPECT_EQ(thread.Priority(), tpHigher);
}
