#include "skin/dialogs/bsShellChangeNotifier.h"

#include "platform/core/Strings.h"
#include "platform/shell/ChangeNotify.h"

#include <mutex>

namespace {

// ShellUnitLock as a scoped guard.
class TUnitLockGuard {
public:
    TUnitLockGuard() : FLock(ShellUnitLock()) { FLock->Enter(); }
    ~TUnitLockGuard() { FLock->Leave(); }
    TUnitLockGuard(const TUnitLockGuard&) = delete;
    TUnitLockGuard& operator=(const TUnitLockGuard&) = delete;

private:
    TCriticalSection* FLock;
};

bool SameRoot(const TRoot& A, const TRoot& B) {
    if (RootFolderOrdinal(A) >= 0 || RootFolderOrdinal(B) >= 0)
        return SameText(A, B);
    // Two paths that differ in letter case are two folders here.
    return A == B;
}

} // namespace

DWORD NotifyFlagsOf(TNotifyFilters Filters) {
    const std::pair<TNotifyFilter, DWORD> Flags[] = {
        {nfFileNameChange, FILE_NOTIFY_CHANGE_FILE_NAME},
        {nfDirNameChange, FILE_NOTIFY_CHANGE_DIR_NAME},
        {nfAttributeChange, FILE_NOTIFY_CHANGE_ATTRIBUTES},
        {nfSizeChange, FILE_NOTIFY_CHANGE_SIZE},
        {nfWriteChange, FILE_NOTIFY_CHANGE_LAST_WRITE},
        {nfSecurityChange, FILE_NOTIFY_CHANGE_SECURITY}};
    DWORD Result = 0;
    for (const auto& [Filter, Flag] : Flags)
        if (Filters.Contains(Filter))
            Result |= Flag;
    return Result;
}

// ---------------------------------------------------------------- TbsShellChangeThread

TbsShellChangeThread::TbsShellChangeThread(TThreadMethod ChangeEvent)
    : TThread(true), FWakeUp(CreateWakeUpHandle()), FWaitHandle(INVALID_HANDLE_VALUE),
      FChangeEvent(std::move(ChangeEvent)) {
    // The unit state must exist before a worker can take its lock.
    ShellUnitLock();
}

TbsShellChangeThread::~TbsShellChangeThread() {
    Stop();
    TerminateAndWait();
    CloseChangeHandle();
    CloseWakeUpHandle(FWakeUp);
}

void TbsShellChangeThread::SetDirectoryOptions(const std::string& Directory, bool WatchSubTree,
                                               DWORD NotifyOptionFlags) {
    {
        TUnitLockGuard Guard;
        FDirectory = Directory;
        FWatchSubTree = WatchSubTree;
        FNotifyOptionFlags = NotifyOptionFlags;
        FWaitChanged = true;
    }
    SignalWakeUp(FWakeUp);
}

void TbsShellChangeThread::Stop() {
    Terminate();
    SignalWakeUp(FWakeUp);
}

void TbsShellChangeThread::OpenChangeHandle() {
    FWaitHandle = FindFirstChangeNotification(FDirectory, FWatchSubTree, FNotifyOptionFlags);
}

void TbsShellChangeThread::CloseChangeHandle() {
    if (FWaitHandle != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(FWaitHandle);
    FWaitHandle = INVALID_HANDLE_VALUE;
}

void TbsShellChangeThread::DeliverChange() {
    // Re-armed as the handler starts: what happened before is what the
    // handler will see, and a change while it runs is one further signal.
    // The worker waits in the synchronous call meanwhile, so the handle is
    // not in use.
    FindNextChangeNotification(FWaitHandle);
    // The notifier may have stopped this worker after it saw the change.
    if (!Terminated() && FChangeEvent)
        FChangeEvent();
}

void TbsShellChangeThread::Execute() {
    {
        TUnitLockGuard Guard;
        OpenChangeHandle();
        FWaitChanged = false;
    }
    // A folder that cannot be watched (missing, virtual) ends the worker.
    if (FWaitHandle == INVALID_HANDLE_VALUE)
        return;
    while (!Terminated()) {
        const DWORD Result = WaitForChangeOrWakeUp(FWaitHandle, FWakeUp);
        if (Result == WAIT_FAILED)
            return;
        if (Result == WAIT_OBJECT_0 && !Terminated())
            Synchronize([this] { DeliverChange(); });
        TUnitLockGuard Guard;
        if (FWaitChanged) {
            CloseChangeHandle();
            OpenChangeHandle();
            FWaitChanged = false;
            if (FWaitHandle == INVALID_HANDLE_VALUE)
                return;
        }
    }
}

// ---------------------------------------------------------------- TbsCustomShellChangeNotifier

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(TComponent* AOwner)
    : TComponent(AOwner), FFilters({nfFileNameChange, nfDirNameChange}), FRoot("/") {
    StartWatching();
}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier() {
    StopWatching();
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters Value) {
    FFilters = Value;
    ApplyOptions();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool Value) {
    FWatchSubTree = Value;
    ApplyOptions();
}

void TbsCustomShellChangeNotifier::SetRoot(const TRoot& Value) {
    if (SameRoot(Value, FRoot))
        return;
    FRoot = Value;
    ApplyOptions();
}

void TbsCustomShellChangeNotifier::SetOnChange(TThreadMethod Value) {
    FOnChange = std::move(Value);
    if (FThread)
        FThread->SetChangeEvent(FOnChange);
    else
        StartWatching();
}

void TbsCustomShellChangeNotifier::ApplyOptions() {
    if (FThread)
        FThread->SetDirectoryOptions(FRoot, FWatchSubTree, NotifyFlagsOf(FFilters));
}

void TbsCustomShellChangeNotifier::StartWatching() {
    if (!FOnChange)
        return;
    FThread = std::make_unique<TbsShellChangeThread>(FOnChange);
    ApplyOptions();
    FThread->Start();
}

void TbsCustomShellChangeNotifier::StopWatching() {
    if (!FThread)
        return;
    // The handler is cleared on this thread first, so a change the worker
    // already saw reaches nobody.
    FThread->SetChangeEvent(nullptr);
    FThread.reset();
}
