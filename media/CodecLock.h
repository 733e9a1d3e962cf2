// The process-wide codec lock (the loader's unit makes it at start-up).
#pragma once

#include "platform/core/SyncObjects.h"

#include <mutex>

// The process-wide recursive lock held around opening and closing codecs and
// opening inputs. It also counts how deep the calling thread holds it: a
// thread that holds it must never wait for the user-interface thread, which
// may be waiting for this lock.
class TCodecLock {
public:
    void Enter();
    void Leave();
    bool TryEnter();
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

    // How many times the calling thread holds the lock.
    static int HeldByCurrentThread();

private:
    TCriticalSection FLock;
};

TCodecLock& CodecLock();
using TCodecLockGuard = std::lock_guard<TCodecLock>;
