#include "platform/core/SyncObjects.h"

#include "platform/core/Exceptions.h"

#include <chrono>

TEvent::TEvent(bool ManualReset, bool InitialState)
    : FManualReset(ManualReset), FSignaled(InitialState) {}

void TEvent::SetEvent() {
    {
        std::lock_guard lock(FLock);
        if (FManualReset || FWaiters <= FReleases) {
            FSignaled = true;
        } else {
            // One waiter is released now; the event itself stays reset.
            ++FReleases;
        }
    }
    if (FManualReset)
        FSignal.notify_all();
    else
        FSignal.notify_one();
}

void TEvent::ResetEvent() {
    std::lock_guard lock(FLock);
    FSignaled = false;
}

TWaitResult TEvent::WaitFor(std::uint32_t Timeout) {
    std::unique_lock lock(FLock);
    auto signaled = [this] { return FSignaled || FReleases > 0; };
    ++FWaiters;
    bool released = true;
    if (Timeout == INFINITE)
        FSignal.wait(lock, signaled);
    else
        released = FSignal.wait_for(lock, std::chrono::milliseconds(Timeout), signaled);
    --FWaiters;
    if (!released)
        return wrTimeout;
    if (FReleases > 0)
        --FReleases;
    else if (!FManualReset)
        FSignaled = false;
    return wrSignaled;
}

TWaitResult TMutex::Acquire(std::uint32_t Timeout) {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock lock(FLock);
    if (FCount > 0 && FOwner == self) {
        ++FCount;
        return wrSignaled;
    }
    auto free = [this] { return FCount == 0; };
    if (Timeout == INFINITE)
        FFreed.wait(lock, free);
    else if (!FFreed.wait_for(lock, std::chrono::milliseconds(Timeout), free))
        return wrTimeout;
    FOwner = self;
    FCount = 1;
    return wrSignaled;
}

void TMutex::Release() {
    {
        std::lock_guard lock(FLock);
        if (FCount == 0 || FOwner != std::this_thread::get_id())
            throw EInvalidOperation("A mutex was released by a thread that does not hold it");
        if (--FCount > 0)
            return;
        FOwner = std::thread::id();
    }
    FFreed.notify_one();
}
