#include "platform/core/Clock.h"

#include <gtest/gtest.h>
#include <time.h>

namespace {

class TickClock : public testing::Test {
protected:
    void TearDown() override { ResetTickSource(); }
};

std::uint32_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

} // namespace

TEST_F(TickClock, ManualClockWrapsAndUnsignedDifferencesStayRight) {
    TManualClock clock;
    SetTickSource(clock.Source());
    clock.Set(0xFFFFFFF0u);
    std::uint32_t start = GetTickCount();
    // Sleep is real time: it returns although the test clock stands still.
    Sleep(1);
    EXPECT_EQ(GetTickCount(), start);
    clock.Advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(GetTickCount() - start, 0x20u);
}

TEST_F(TickClock, BusyWaitEndsUnderTheSteppingClock) {
    TSteppingClock clock(10, 5);
    SetTickSource(clock.Source());
    std::uint32_t start = GetTickCount();
    EXPECT_EQ(start, 5u);
    int reads = 0;
    while (GetTickCount() - start < 100)
        ++reads;
    EXPECT_EQ(reads, 9);
}

TEST_F(TickClock, ResetTickSourceReturnsToTheRealClock) {
    TManualClock clock(12345);
    SetTickSource(clock.Source());
    ResetTickSource();
    std::uint32_t before = MonotonicMilliseconds();
    std::uint32_t tick = GetTickCount();
    std::uint32_t after = MonotonicMilliseconds();
    EXPECT_LE(tick - before, after - before);
}
