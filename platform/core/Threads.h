// Threads and the synchronous call into the user-interface thread.
//
// Workers reach the user-interface thread only through Synchronize (run a
// method there and wait) and Queue (run it later, in order); the main thread
// serves both in CheckSynchronize.
#pragma once

#include <cstdint>

using TThreadID = std::uint32_t;

// The kernel's id of the calling thread.
TThreadID GetCurrentThreadId();

// Records the calling thread as the main (user-interface) thread. main() and
// the test mains call it first thing.
void RecordMainThread();
TThreadID MainThreadID();
