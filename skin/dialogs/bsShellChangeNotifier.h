// A non-visual component that watches one folder and calls its handler on
// the user-interface thread whenever something changes there.
//
// The watching runs on a worker of its own, which exists only while a
// handler is set; it waits on the folder's change notification and on a
// wake-up handle, and hands each change over by a synchronous call. The
// notifier owns its worker: destroying the notifier stops the worker and
// waits for it (serving the synchronous calls meanwhile), and a change the
// worker had already seen is never delivered to a handler that is gone.
#pragma once

#include "platform/core/Objects.h"
#include "platform/core/Threads.h"
#include "platform/forms/Sets.h"
#include "skin/dialogs/bsShellFolders.h"

#include <memory>
#include <string>

enum TNotifyFilter {
    nfFileNameChange,
    nfDirNameChange,
    nfAttributeChange,
    nfSizeChange,
    nfWriteChange,
    nfSecurityChange
};
using TNotifyFilters = TSet<TNotifyFilter>;

DWORD NotifyFlagsOf(TNotifyFilters Filters);

class TbsShellChangeThread : public TThread {
public:
    // Created suspended; Start() runs it.
    explicit TbsShellChangeThread(TThreadMethod ChangeEvent);
    ~TbsShellChangeThread() override;

    // Takes effect at once: the worker is woken to watch anew.
    void SetDirectoryOptions(const std::string& Directory, bool WatchSubTree,
                             DWORD NotifyOptionFlags);
    // User-interface thread only: the handler runs there.
    const TThreadMethod& ChangeEvent() const { return FChangeEvent; }
    void SetChangeEvent(TThreadMethod Value) { FChangeEvent = std::move(Value); }
    // Sets Terminated and wakes the worker.
    void Stop();

protected:
    void Execute() override;

private:
    void OpenChangeHandle();
    void CloseChangeHandle();
    // On the user-interface thread, inside the synchronous call.
    void DeliverChange();

    HANDLE FWakeUp;
    HANDLE FWaitHandle;
    TThreadMethod FChangeEvent;
    // Guarded by ShellUnitLock.
    std::string FDirectory;
    bool FWatchSubTree = false;
    bool FWaitChanged = false;
    DWORD FNotifyOptionFlags = 0;
};

class TbsCustomShellChangeNotifier : public TComponent {
public:
    explicit TbsCustomShellChangeNotifier(TComponent* AOwner);
    ~TbsCustomShellChangeNotifier() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters Value);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool Value);
    const TRoot& Root() const { return FRoot; }
    // Root folder names compare without regard to case, paths exactly.
    void SetRoot(const TRoot& Value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    void SetOnChange(TThreadMethod Value);

    // The running worker, if any (for tests and the views).
    TbsShellChangeThread* Thread() const { return FThread.get(); }

private:
    void ApplyOptions();
    void StartWatching();
    void StopWatching();

    TNotifyFilters FFilters;
    bool FWatchSubTree = true;
    TRoot FRoot;
    std::unique_ptr<TbsShellChangeThread> FThread;
    TThreadMethod FOnChange;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
public:
    using TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier;
};
