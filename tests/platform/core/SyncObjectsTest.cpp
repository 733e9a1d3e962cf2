#include "platform/core/SyncObjects.h"

#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

namespace {

constexpr std::uint32_t WaitBound = 30000;

bool Eventually(const std::function<bool()>& Condition) {
    std::uint32_t start = GetTickCount();
    while (!Condition()) {
        if (GetTickCount() - start > WaitBound)
            return false;
        Sleep(1);
    }
    return true;
}

// The scheduler state of a thread of this process ('S': sleeping).
char ThreadState(TThreadID Tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(Tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '?' : text[close + 2];
}

} // namespace

TEST(SyncEvents, AutoResetReleasesOneWaiterPerSetEvent) {
    TEvent event(false, false);
    std::atomic<int> released{0};
    auto waiter = [&] {
        if (event.WaitFor(WaitBound) == wrSignaled)
            ++released;
    };
    std::thread first(waiter), second(waiter);
    event.SetEvent();
    ASSERT_TRUE(Eventually([&] { return released >= 1; }));
    Sleep(20);
    EXPECT_EQ(released, 1);
    event.SetEvent();
    first.join();
    second.join();
    EXPECT_EQ(released, 2);
    // Each release reset the event again.
    EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

// Two SetEvents in a row release two waiting threads: the second must not
// find the event still set because the first waiter had not yet taken it.
TEST(SyncEvents, AutoResetSetTwiceInARowReleasesTwoWaiters) {
    TEvent event(false, false);
    std::atomic<int> released{0};
    std::atomic<TThreadID> ids[2] = {0, 0};
    auto waiter = [&](int Index) {
        ids[Index] = GetCurrentThreadId();
        if (event.WaitFor(WaitBound) == wrSignaled)
            ++released;
    };
    std::thread first(waiter, 0), second(waiter, 1);
    ASSERT_TRUE(Eventually([&] {
        return ids[0] != 0 && ids[1] != 0 && ThreadState(ids[0]) == 'S' &&
               ThreadState(ids[1]) == 'S';
    }));
    event.SetEvent();
    event.SetEvent();
    first.join();
    second.join();
    EXPECT_EQ(released, 2);
    EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

TEST(SyncEvents, ManualResetReleasesEveryWaiterAndStaysSet) {
    TEvent event(true, false);
    std::atomic<int> released{0};
    auto waiter = [&] {
        if (event.WaitFor(WaitBound) == wrSignaled)
            ++released;
    };
    std::thread first(waiter), second(waiter);
    event.SetEvent();
    first.join();
    second.join();
    EXPECT_EQ(released, 2);
    EXPECT_EQ(event.WaitFor(0), wrSignaled);
    EXPECT_EQ(event.WaitFor(0), wrSignaled);
    event.ResetEvent();
    EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

TEST(SyncEvents, TimedWaitOnAnUnsetEventTimesOut) {
    TEvent manual(true, false);
    EXPECT_EQ(manual.WaitFor(10), wrTimeout);
    TEvent initiallySet(true, true);
    EXPECT_EQ(initiallySet.WaitFor(INFINITE), wrSignaled);
    TSimpleEvent simple;
    EXPECT_EQ(simple.WaitFor(0), wrTimeout);
    simple.SetEvent();
    EXPECT_EQ(simple.WaitFor(0), wrSignaled);
    EXPECT_EQ(simple.WaitFor(0), wrSignaled);
}

// The owner enters twice; another thread gets in only after both Leaves.
TEST(Locks, CriticalSectionIsRecursiveAndHeldUntilTheLastLeave) {
    TCriticalSection section;
    TEvent triedWhileTwice(false, false), leftOnce(false, false), triedWhileOnce(false, false),
        leftTwice(false, false);
    bool gotInWhileTwice = true, gotInWhileOnce = true;
    std::atomic<bool> entered{false};

    section.Enter();
    section.Acquire();
    std::thread other([&] {
        gotInWhileTwice = section.TryEnter();
        triedWhileTwice.SetEvent();
        leftOnce.WaitFor(WaitBound);
        gotInWhileOnce = section.try_lock();
        triedWhileOnce.SetEvent();
        leftTwice.WaitFor(WaitBound);
        std::scoped_lock hold(section);
        entered = true;
    });
    ASSERT_EQ(triedWhileTwice.WaitFor(WaitBound), wrSignaled);
    section.Leave();
    leftOnce.SetEvent();
    ASSERT_EQ(triedWhileOnce.WaitFor(WaitBound), wrSignaled);
    section.Release();
    leftTwice.SetEvent();
    other.join();
    EXPECT_FALSE(gotInWhileTwice);
    EXPECT_FALSE(gotInWhileOnce);
    EXPECT_TRUE(entered);
    std::lock_guard again(section);
}

TEST(Locks, MutexAcquireTimesOutWhileAnotherThreadHoldsIt) {
    TMutex mutex;
    TEvent held(true, false), done(true, false);
    std::thread holder([&] {
        std::lock_guard hold(mutex);
        held.SetEvent();
        done.WaitFor(WaitBound);
    });
    ASSERT_EQ(held.WaitFor(WaitBound), wrSignaled);
    EXPECT_EQ(mutex.Acquire(20), wrTimeout);
    done.SetEvent();
    holder.join();
    EXPECT_EQ(mutex.Acquire(WaitBound), wrSignaled);
    // Recursive for its owner.
    EXPECT_EQ(mutex.Acquire(0), wrSignaled);
    mutex.Release();
    mutex.Release();
    EXPECT_THROW(mutex.Release(), EInvalidOperation);
}
