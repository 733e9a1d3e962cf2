#include "platform/core/Threads.h"

#include "platform/core/Exceptions.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <system_error>

namespace {

std::atomic<TThreadID> GMainThreadID{0};

bool IsMainThread() {
    TThreadID main = GMainThreadID;
    return main != 0 && GetCurrentThreadId() == main;
}

// One call waiting for the main thread. A synchronous caller waits for Done
// and takes Error back; a queued call is forgotten by its caller.
struct TSyncEntry {
    TThreadMethod Method;
    const void* MethodObject = nullptr;
    const void* Thread = nullptr;
    bool Synchronous = false;
    bool Done = false;
    std::exception_ptr Error;
};

// The process-wide queue, first in first out. Arrived wakes the main thread
// for a new call (and for a finished thread it waits for); Done wakes the
// workers whose synchronous call has run.
struct TSyncState {
    std::mutex Lock;
    std::condition_variable Arrived;
    std::condition_variable Done;
    std::deque<std::shared_ptr<TSyncEntry>> Queue;
    std::mutex WakeLock;
    std::function<void()> WakeMainThread;
};

// Made on first use and never destroyed: a thread that frees itself may
// still be signalling it while the process runs its exit handlers, and a
// static object would be gone under it by then.
TSyncState& Sync() {
    static TSyncState* const State = new TSyncState;
    return *State;
}

const void* MostDerivedAddress(const TObject* Object) {
    return Object ? dynamic_cast<const void*>(Object) : nullptr;
}

void WakeMainThread() {
    std::function<void()> wake;
    {
        std::lock_guard lock(Sync().WakeLock);
        wake = Sync().WakeMainThread;
    }
    if (wake)
        wake();
}

void Enqueue(const std::shared_ptr<TSyncEntry>& Entry) {
    {
        std::lock_guard lock(Sync().Lock);
        Sync().Queue.push_back(Entry);
    }
    Sync().Arrived.notify_all();
    WakeMainThread();
}

std::shared_ptr<TSyncEntry> MakeEntry(TThread* AThread, TThreadMethod Method, bool Synchronous) {
    auto entry = std::make_shared<TSyncEntry>();
    entry->MethodObject = Method.Object();
    entry->Thread = MostDerivedAddress(AThread);
    entry->Method = std::move(Method);
    entry->Synchronous = Synchronous;
    return entry;
}

// Runs one queued call. A synchronous call's exception goes back to its
// caller; a queued call's exception is raised here, on the main thread.
void RunEntry(const std::shared_ptr<TSyncEntry>& Entry) {
    if (!Entry->Synchronous) {
        Entry->Method();
        return;
    }
    try {
        Entry->Method();
    } catch (...) {
        Entry->Error = std::current_exception();
    }
    {
        std::lock_guard lock(Sync().Lock);
        Entry->Done = true;
    }
    Sync().Done.notify_all();
}

int NiceValue(TThreadPriority Priority) {
    static constexpr int Values[] = {19, 10, 5, 0, -5, -10, -15};
    return Values[Priority];
}

} // namespace

TThreadID GetCurrentThreadId() {
    thread_local const TThreadID id = static_cast<TThreadID>(::gettid());
    return id;
}

void RecordMainThread() {
    GMainThreadID = GetCurrentThreadId();
}

TThreadID MainThreadID() {
    return GMainThreadID;
}

int ThreadPriorityNiceValue(TThreadPriority Priority) {
    return NiceValue(Priority);
}

bool CheckSynchronize(int Timeout) {
    if (!IsMainThread())
        throw EInvalidOperation("CheckSynchronize was called from a thread that is not the main "
                                "thread");
    std::unique_lock lock(Sync().Lock);
    if (Timeout > 0 && Sync().Queue.empty())
        Sync().Arrived.wait_for(lock, std::chrono::milliseconds(Timeout),
                                [] { return !Sync().Queue.empty(); });
    // Calls that arrive while these run wait for the next round, so a call
    // that queues another cannot keep this loop going for ever. Taking one
    // entry at a time keeps the order when a call serves the queue itself.
    std::size_t count = Sync().Queue.size();
    for (std::size_t i = 0; i < count && !Sync().Queue.empty(); ++i) {
        auto entry = Sync().Queue.front();
        Sync().Queue.pop_front();
        lock.unlock();
        RunEntry(entry);
        lock.lock();
    }
    return count > 0;
}

void SetWakeMainThread(std::function<void()> Callback) {
    std::lock_guard lock(Sync().WakeLock);
    Sync().WakeMainThread = std::move(Callback);
}

// TThread

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {
    try {
        FThread = std::thread(&TThread::ThreadProc, this);
    } catch (const std::system_error& E) {
        throw EThread("Thread creation error: " + SysErrorMessage(E.code().value()));
    }
    // ThreadID() and SetPriority need the kernel's id from the start.
    std::unique_lock lock(FLock);
    FStateChanged.wait(lock, [this] { return FThreadID != 0; });
}

TThread::~TThread() {
    TerminateAndWait();
    if (FThread.get_id() == std::this_thread::get_id())
        FThread.detach(); // a FreeOnTerminate thread deleting itself at its very end
    else if (FThread.joinable())
        FThread.join();
}

void TThread::TerminateAndWait() {
    if (FThread.get_id() == std::this_thread::get_id())
        return;
    bool started;
    {
        std::lock_guard lock(FLock);
        started = FStartRequested;
    }
    if (started)
        Terminate();
    else
        OpenStartGate(false);
    // Nobody could handle an error of a queued call here (destructors).
    WaitUntilDone();
}

void TThread::AfterConstruction() {
    if (!FCreateSuspended)
        OpenStartGate(true);
}

void TThread::Start() {
    {
        std::lock_guard lock(FLock);
        if (FStartRequested)
            throw EInvalidOperation("Cannot call Start on a thread that was already started");
    }
    OpenStartGate(true);
}

void TThread::Resume() {
    bool started;
    {
        std::lock_guard lock(FLock);
        started = FStartRequested;
        if (started)
            FSuspendRequested = false;
    }
    if (!started)
        OpenStartGate(true);
    else
        FPauseChanged.notify_all();
}

void TThread::Suspend() {
    FSuspendRequested = true;
}

bool TThread::Suspended() const {
    std::lock_guard lock(FLock);
    return FSuspendRequested || (FCreateSuspended && !FStartRequested);
}

void TThread::Terminate() {
    {
        std::lock_guard lock(FLock);
        FTerminated = true;
    }
    FPauseChanged.notify_all();
}

int TThread::WaitFor() {
    if (FFreeOnTerminate)
        throw EInvalidOperation("Cannot wait for a thread that frees itself");
    if (GetCurrentThreadId() == FThreadID)
        throw EInvalidOperation("A thread cannot wait for itself");
    {
        std::lock_guard lock(FLock);
        if (!FStartRequested)
            throw EInvalidOperation("Cannot wait for a thread that was never started");
    }
    // An error of a queued call served while waiting reaches this caller,
    // but only once the thread has ended.
    if (std::exception_ptr error = WaitUntilDone())
        std::rethrow_exception(error);
    return FReturnValue;
}

std::exception_ptr TThread::FatalException() const {
    std::lock_guard lock(FLock);
    return FFatalException;
}

void TThread::SetPriority(TThreadPriority Value) {
    FPriority = Value;
    ApplyPriority();
}

void TThread::WaitWhileSuspended() {
    if (!FSuspendRequested || FTerminated)
        return;
    std::unique_lock lock(FLock);
    while (FSuspendRequested && !FTerminated) {
        FPauseChanged.wait(lock);
        ++FPauseWakeUps;
    }
}

void TThread::Synchronize(TThread* AThread, TThreadMethod Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    // Nobody would ever serve the call: fail instead of waiting for ever.
    if (GMainThreadID == 0)
        throw EInvalidOperation("Synchronize was called before the main thread was recorded");
    auto entry = MakeEntry(AThread, std::move(Method), true);
    Enqueue(entry);
    std::unique_lock lock(Sync().Lock);
    Sync().Done.wait(lock, [&] { return entry->Done; });
    if (entry->Error)
        std::rethrow_exception(entry->Error);
}

void TThread::Queue(TThread* AThread, TThreadMethod Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    Enqueue(MakeEntry(AThread, std::move(Method), false));
}

void TThread::RemoveQueuedEvents(TObject* AObject) {
    const void* object = MostDerivedAddress(AObject);
    if (!object)
        return;
    std::lock_guard lock(Sync().Lock);
    // Synchronous calls stay: their callers wait for them.
    std::erase_if(Sync().Queue, [object](const std::shared_ptr<TSyncEntry>& Entry) {
        return !Entry->Synchronous && (Entry->MethodObject == object || Entry->Thread == object);
    });
}

void TThread::DoTerminate() {
    if (OnTerminate)
        Synchronize(this, [this] { OnTerminate(this); });
}

void TThread::ThreadProc() {
    {
        std::lock_guard lock(FLock);
        FThreadID = GetCurrentThreadId();
    }
    FStateChanged.notify_all();
    bool runExecute;
    {
        std::unique_lock lock(FLock);
        FStateChanged.wait(lock, [this] { return FStartRequested; });
        runExecute = FRunExecute;
    }
    bool freeSelf = false;
    if (runExecute) {
        try {
            Execute();
        } catch (...) {
            std::lock_guard lock(FLock);
            FFatalException = std::current_exception();
        }
        FFinished = true;
        try {
            DoTerminate();
        } catch (...) {
            std::lock_guard lock(FLock);
            if (!FFatalException)
                FFatalException = std::current_exception();
        }
        freeSelf = FFreeOnTerminate;
    }
    {
        std::lock_guard lock(FLock);
        FDone = true;
    }
    FStateChanged.notify_all();
    {
        // Empty on purpose: a main thread waiting in WaitUntilDone checks
        // FDone under this lock, so the notification cannot slip past it.
        std::lock_guard lock(Sync().Lock);
    }
    Sync().Arrived.notify_all();
    if (freeSelf)
        FreeSelf();
}

void TThread::FreeSelf() {
    // Calls this thread queued that the main thread has not run yet may use
    // the object: it then goes after them, on the main thread, rather than
    // now, so they neither run on a freed object nor get lost.
    const void* self = MostDerivedAddress(this);
    bool pending = false;
    {
        std::lock_guard lock(Sync().Lock);
        pending = std::any_of(Sync().Queue.begin(), Sync().Queue.end(),
                              [self](const std::shared_ptr<TSyncEntry>& Entry) {
                                  return Entry->Thread == self || Entry->MethodObject == self;
                              });
    }
    if (pending)
        Enqueue(MakeEntry(
            nullptr, [this] { delete this; }, false));
    else
        delete this;
}

void TThread::OpenStartGate(bool RunExecute) {
    {
        std::lock_guard lock(FLock);
        if (FStartRequested)
            return;
        FStartRequested = true;
        FRunExecute = RunExecute;
    }
    FStateChanged.notify_all();
}

std::exception_ptr TThread::WaitUntilDone() {
    if (!IsMainThread()) {
        std::unique_lock lock(FLock);
        FStateChanged.wait(lock, [this] { return FDone.load(); });
        return nullptr;
    }
    // The thread may need the main thread (Synchronize, OnTerminate) before
    // it can end, so the queue is served while waiting. A queued call that
    // raises must not end the wait early; its error is handed back.
    std::exception_ptr error;
    std::unique_lock lock(Sync().Lock);
    while (!FDone) {
        if (!Sync().Queue.empty()) {
            lock.unlock();
            try {
                CheckSynchronize();
            } catch (...) {
                if (!error)
                    error = std::current_exception();
            }
            lock.lock();
        } else {
            Sync().Arrived.wait(lock);
        }
    }
    return error;
}

void TThread::ApplyPriority() {
    // Under the lock that FDone is set with, so the kernel thread is still
    // there: once it has ended, its id may already name another thread.
    std::lock_guard lock(FLock);
    if (FDone)
        return;
    // The kernel keeps a nice value per thread; raising it above the current
    // one needs a privilege, and without it the value quietly stays.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(FThreadID.load()), NiceValue(FPriority));
}
