#include "platform/core/SyncObjects.h"

#include <chrono>

TEvent::TEvent(bool ManualReset, bool InitialState)
    : FManualReset(ManualReset), FSignaled(InitialState) {}

void TEvent::SetEvent() {
    {
        std::lock_guard lock(FLock);
        FSignaled = true;
    }
    // An auto-reset event lets one waiter through; the others find it reset.
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
    auto signaled = [this] { return FSignaled; };
    if (Timeout == INFINITE)
        FSignal.wait(lock, signaled);
    else if (!FSignal.wait_for(lock, std::chrono::milliseconds(Timeout), signaled))
        return wrTimeout;
    if (!FManualReset)
        FSignaled = false;
    return wrSignaled;
}

TWaitResult TMutex::Acquire(std::uint32_t Timeout) {
    if (Timeout == INFINITE) {
        FLock.lock();
        return wrSignaled;
    }
    return FLock.try_lock_for(std::chrono::milliseconds(Timeout)) ? wrSignaled : wrTimeout;
}
