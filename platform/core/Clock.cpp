#include "platform/core/Clock.h"

#include <time.h>

#include <memory>
#include <mutex>
#include <thread>

namespace {

std::atomic<bool> GHasTickSource{false};
std::mutex GTickSourceLock;
std::shared_ptr<TTickSource> GTickSource;

std::uint32_t MonotonicMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                       static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

} // namespace

std::uint32_t GetTickCount() {
    // The real clock is read without a lock: busy-wait loops call this often.
    if (!GHasTickSource)
        return MonotonicMilliseconds();
    std::shared_ptr<TTickSource> source;
    {
        std::lock_guard lock(GTickSourceLock);
        source = GTickSource;
    }
    return source && *source ? (*source)() : MonotonicMilliseconds();
}

void SetTickSource(TTickSource Source) {
    std::lock_guard lock(GTickSourceLock);
    GTickSource = Source ? std::make_shared<TTickSource>(std::move(Source)) : nullptr;
    GHasTickSource = GTickSource != nullptr;
}

void ResetTickSource() {
    SetTickSource(nullptr);
}

void Sleep(std::uint32_t Milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}
