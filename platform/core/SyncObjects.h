// Events and locks where the program's design speaks of CreateEvent,
// WaitForSingleObject, critical sections and mutexes with a time-out.
#pragma once

#include "platform/core/Objects.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// A time-out that never runs out.
constexpr std::uint32_t INFINITE = 0xFFFFFFFF;

// A manual-reset event releases every waiter and stays set until
// ResetEvent; an auto-reset event releases one waiter per SetEvent and
// resets itself.
class TEvent : public TObject {
public:
    explicit TEvent(bool ManualReset = true, bool InitialState = false);
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    // Timeout in milliseconds, or INFINITE.
    TWaitResult WaitFor(std::uint32_t Timeout = INFINITE);

private:
    std::mutex FLock;
    std::condition_variable FSignal;
    bool FManualReset;
    bool FSignaled;
    // Auto-reset: threads inside WaitFor, and releases handed to them by
    // SetEvent but not yet taken. A SetEvent that finds a waiter releases it
    // there and then, so a second SetEvent right after it releases a second
    // waiter instead of finding the event still set.
    unsigned FWaiters = 0;
    unsigned FReleases = 0;
};

// A manual-reset event created unset.
class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};

// A recursive lock: the owning thread may enter again and leaves as often.
// lock()/unlock()/try_lock() let std::lock_guard and std::scoped_lock hold it.
class TCriticalSection : public TObject {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter() { FLock.lock(); }
    void Acquire() { FLock.lock(); }
    void Leave() { FLock.unlock(); }
    void Release() { FLock.unlock(); }
    bool TryEnter() { return FLock.try_lock(); }

    void lock() { FLock.lock(); }
    void unlock() { FLock.unlock(); }
    bool try_lock() { return FLock.try_lock(); }

private:
    std::recursive_mutex FLock;
};

// A recursive lock with a timed Acquire. Release by a thread that does not
// hold it raises EInvalidOperation.
class TMutex : public TObject {
public:
    TMutex() = default;
    TMutex(const TMutex&) = delete;
    TMutex& operator=(const TMutex&) = delete;

    // Timeout in milliseconds, or INFINITE; wrSignaled when the lock is held.
    TWaitResult Acquire(std::uint32_t Timeout = INFINITE);
    TWaitResult WaitFor(std::uint32_t Timeout = INFINITE) { return Acquire(Timeout); }
    void Release();

    void lock() { Acquire(INFINITE); }
    void unlock() { Release(); }
    bool try_lock() { return Acquire(0) == wrSignaled; }

private:
    std::mutex FLock;
    std::condition_variable FFreed;
    std::thread::id FOwner;
    unsigned FCount = 0;
};
