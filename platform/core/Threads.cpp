#include "platform/core/Threads.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>

namespace {
std::atomic<TThreadID> GMainThreadID{0};
}

TThreadID GetCurrentThreadId() {
    return static_cast<TThreadID>(::gettid());
}

void RecordMainThread() {
    GMainThreadID = GetCurrentThreadId();
}

TThreadID MainThreadID() {
    return GMainThreadID;
}
