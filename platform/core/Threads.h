// Threads and the synchronous call into the user-interface thread.
//
// Workers reach the user-interface thread only through Synchronize (run a
// method there and wait) and Queue (run it later, in order); the main thread
// serves both in CheckSynchronize. A main thread that waits for a worker
// (TThread::WaitFor) keeps serving them, so neither can block the other.
//
// Linux cannot stop a thread from outside at an arbitrary instruction, and
// stopping one that holds a lock would deadlock the program anyway. Suspend
// is therefore a request: the thread's own code calls WaitWhileSuspended at
// its safe points (outside every lock) and sleeps there until Resume or
// Terminate.
#pragma once

#include "platform/core/Events.h"
#include "platform/core/Objects.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

using TThreadID = std::uint32_t;

// The kernel's id of the calling thread.
TThreadID GetCurrentThreadId();

// Records the calling thread as the main (user-interface) thread. main() and
// the test mains call it first thing.
void RecordMainThread();
TThreadID MainThreadID();

// Mapped to the thread's nice value 19, 10, 5, 0, -5, -10, -15.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The nice value a priority stands for.
int ThreadPriorityNiceValue(TThreadPriority Priority);

class TThread : public TObject {
public:
    // A thread created suspended runs Execute only after Start() (or
    // Resume()). One created running starts when its construction is
    // complete: C++ runs the derived constructor after this one, so Execute
    // cannot safely start here; a derived class created running calls
    // AfterConstruction() as the last step of its own constructor.
    explicit TThread(bool CreateSuspended);
    // Destroying a running thread sets Terminated and waits for it; one that
    // never started never runs Execute. A derived class whose Execute uses
    // its own fields calls TerminateAndWait() in its own destructor, because
    // those fields are gone when this one runs.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts a thread created running; see the constructor.
    void AfterConstruction();
    // Starts a thread created suspended; raises EInvalidOperation when it was
    // already started.
    void Start();
    // Starts a thread that never started; otherwise clears a pause request
    // and wakes the thread.
    void Resume();
    // Asks the thread to pause at its next WaitWhileSuspended.
    void Suspend();
    // A pause is requested, or the thread was created suspended and has not
    // started yet.
    bool Suspended() const;

    // Sets Terminated (Execute polls it) and opens the pause gate.
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // Blocks until Execute has returned and OnTerminate has run; gives
    // ReturnValue(). On the main thread it serves CheckSynchronize while it
    // waits; an exception of a queued call it ran is raised once the thread
    // has ended. Raises EInvalidOperation for a thread that never started, for a
    // FreeOnTerminate thread and when called by the thread itself.
    int WaitFor();
    int ReturnValue() const { return FReturnValue; }
    // Execute has returned.
    bool Finished() const { return FFinished; }
    // The kernel's id of the thread (GetCurrentThreadId() on that thread).
    TThreadID ThreadID() const { return FThreadID; }
    // The exception that escaped Execute, if any.
    std::exception_ptr FatalException() const;

    // The object deletes itself after OnTerminate; nobody else may delete it
    // or wait for it. While calls it queued still wait for the main thread,
    // it is deleted there, after them.
    bool FreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }

    // Raising above tpNormal needs a privilege; without it the request is
    // kept (Priority() reports it) and the nice value stays as it was.
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority Value);

    // The pause gate: returns at once when no pause is requested, otherwise
    // sleeps (using no processor) until Resume() or Terminate().
    void WaitWhileSuspended();
    // How often a thread sleeping in WaitWhileSuspended woke up; it does not
    // grow while the thread stays paused.
    std::uint64_t PauseWakeUps() const { return FPauseWakeUps; }

    // Runs on the main thread through Synchronize after Execute returns.
    TNotifyEvent OnTerminate;

    // Runs Method on the main thread and waits for it; on the main thread it
    // runs at once. An exception of Method is raised again in the caller.
    static void Synchronize(TThread* AThread, TThreadMethod Method);
    // Queues Method for the main thread and returns at once; on the main
    // thread it runs at once.
    static void Queue(TThread* AThread, TThreadMethod Method);
    // Drops queued calls not yet run whose method belongs to AObject or that
    // the thread AObject queued.
    static void RemoveQueuedEvents(TObject* AObject);

protected:
    virtual void Execute() = 0;
    // Synchronizes OnTerminate when assigned.
    virtual void DoTerminate();
    // What the destructor does, for derived destructors: a running thread is
    // terminated and waited for (serving the queue on the main thread), one
    // that never started is let go without running Execute. Does nothing on
    // the thread itself (a FreeOnTerminate thread deleting itself).
    void TerminateAndWait();
    void SetReturnValue(int Value) { FReturnValue = Value; }
    void Synchronize(TThreadMethod Method) { Synchronize(this, std::move(Method)); }
    void Queue(TThreadMethod Method) { Queue(this, std::move(Method)); }

private:
    void ThreadProc();
    // The end of a FreeOnTerminate thread.
    void FreeSelf();
    void OpenStartGate(bool RunExecute);
    std::exception_ptr WaitUntilDone();
    void ApplyPriority();

    std::thread FThread;
    std::atomic<TThreadID> FThreadID{0};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FDone{false};
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<bool> FSuspendRequested{false};
    std::atomic<int> FReturnValue{0};
    std::atomic<std::uint64_t> FPauseWakeUps{0};
    std::atomic<TThreadPriority> FPriority{tpNormal};
    bool FCreateSuspended;

    // Guards the start gate, the done state, the pause gate and the fatal
    // exception.
    mutable std::mutex FLock;
    std::condition_variable FStateChanged;
    std::condition_variable FPauseChanged;
    bool FStartRequested = false;
    bool FRunExecute = false;
    std::exception_ptr FFatalException;
};

// Runs every call waiting in the queue, on the main thread; answers whether
// it ran any. With a time-out (ms) it first waits up to that long for a call
// to arrive. Raises EInvalidOperation off the main thread.
bool CheckSynchronize(int Timeout = 0);

// The window system installs a callback that wakes its message loop when a
// call is queued; without one, the main thread calls CheckSynchronize itself.
void SetWakeMainThread(std::function<void()> Callback);
