// The tick clock: milliseconds of a monotonic clock as an unsigned 32-bit
// number that wraps, so callers take unsigned differences. Tests replace the
// source with a manual clock, or with a stepping clock where the code under
// test busy-waits on the clock and would never end on a manual one.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

std::uint32_t GetTickCount();

using TTickSource = std::function<std::uint32_t()>;

// The source stays in use until ResetTickSource; it must outlive that use.
void SetTickSource(TTickSource Source);
void ResetTickSource();

// Moves only when told.
class TManualClock {
public:
    explicit TManualClock(std::uint32_t Start = 0) : FNow(Start) {}

    std::uint32_t Now() const { return FNow; }
    void Advance(std::uint32_t Milliseconds) { FNow += Milliseconds; }
    void Set(std::uint32_t Value) { FNow = Value; }
    // A source reading this clock, for SetTickSource.
    TTickSource Source() {
        return [this] { return Now(); };
    }

private:
    std::atomic<std::uint32_t> FNow;
};

// Moves a fixed step on every read: the first read gives Start.
class TSteppingClock {
public:
    explicit TSteppingClock(std::uint32_t Step, std::uint32_t Start = 0)
        : FStep(Step), FNext(Start) {}

    std::uint32_t Read() { return FNext.fetch_add(FStep); }
    TTickSource Source() {
        return [this] { return Read(); };
    }

private:
    std::uint32_t FStep;
    std::atomic<std::uint32_t> FNext;
};

// Sleeps in real time, also while a test clock is in use.
void Sleep(std::uint32_t Milliseconds);
