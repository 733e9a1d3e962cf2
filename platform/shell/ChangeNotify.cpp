#include "platform/shell/ChangeNotify.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <string>

namespace {

struct TChangeNotification {
    int Fd = -1;
    bool Subtree = false;
    std::uint32_t Mask = 0;
    dev_t Device = 0;
    std::map<int, std::string> Watches;
};

struct TWakeUp {
    int Fd = -1;
};

std::uint32_t MaskOf(DWORD Filter) {
    std::uint32_t Mask = 0;
    if (Filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME))
        Mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
    if (Filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY))
        Mask |= IN_ATTRIB;
    if (Filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE))
        Mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return Mask;
}

void Close(TChangeNotification* Change) {
    if (Change->Fd >= 0)
        ::close(Change->Fd);
    delete Change;
}

// Watches Path and, for a subtree, every folder below it on the same file
// system; false when a watch cannot be made (the limit reached).
bool AddWatches(TChangeNotification& Change, const std::string& Path, bool Top = false) {
    // The folder asked for may be reached through a link; the ones below
    // are never entered through one.
    std::uint32_t Mask = Change.Mask | IN_ONLYDIR | (Top ? 0 : IN_DONT_FOLLOW);
    // New sub-folders must be seen to be watched in their turn.
    if (Change.Subtree)
        Mask |= IN_CREATE | IN_MOVED_TO;
    const int Watch = ::inotify_add_watch(Change.Fd, Path.c_str(), Mask);
    if (Watch < 0)
        return errno == ENOENT || errno == ENOTDIR; // gone meanwhile: nothing to watch
    Change.Watches[Watch] = Path;
    if (!Change.Subtree)
        return true;
    DIR* Folder = ::opendir(Path.c_str());
    if (!Folder)
        return true;
    bool Ok = true;
    while (const dirent* Entry = ::readdir(Folder)) {
        const std::string Name = Entry->d_name;
        if (Name == "." || Name == "..")
            continue;
        const std::string Child = Path == "/" ? "/" + Name : Path + "/" + Name;
        struct stat Info {};
        if (::lstat(Child.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode) ||
            Info.st_dev != Change.Device)
            continue;
        if (!AddWatches(Change, Child)) {
            Ok = false;
            break;
        }
    }
    ::closedir(Folder);
    return Ok;
}

TChangeNotification* AsChange(HANDLE Handle) {
    if (!Handle || Handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return static_cast<TChangeNotification*>(Handle);
}

TWakeUp* AsWakeUp(HANDLE Handle) {
    if (!Handle || Handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return static_cast<TWakeUp*>(Handle);
}

} // namespace

HANDLE FindFirstChangeNotification(const std::string& PathName, BOOL WatchSubtree,
                                   DWORD NotifyFilter) {
    struct stat Info {};
    if (PathName.empty() || PathName[0] != '/' || ::stat(PathName.c_str(), &Info) != 0 ||
        !S_ISDIR(Info.st_mode))
        return INVALID_HANDLE_VALUE;
    auto* Change = new TChangeNotification;
    Change->Fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    Change->Subtree = WatchSubtree;
    Change->Mask = MaskOf(NotifyFilter);
    Change->Device = Info.st_dev;
    if (Change->Fd < 0 || !AddWatches(*Change, PathName, true) || Change->Watches.empty()) {
        // Closing the instance removes every watch it made.
        Close(Change);
        return INVALID_HANDLE_VALUE;
    }
    return Change;
}

BOOL FindNextChangeNotification(HANDLE Handle) {
    TChangeNotification* Change = AsChange(Handle);
    if (!Change)
        return FALSE;
    alignas(inotify_event) char Buffer[16384];
    for (;;) {
        const ssize_t Read = ::read(Change->Fd, Buffer, sizeof Buffer);
        if (Read < 0)
            return errno == EAGAIN ? TRUE : FALSE;
        if (Read == 0)
            return TRUE;
        for (ssize_t Pos = 0; Pos < Read;) {
            const auto* Event = reinterpret_cast<const inotify_event*>(Buffer + Pos);
            Pos += static_cast<ssize_t>(sizeof(inotify_event) + Event->len);
            if (Event->mask & IN_IGNORED) {
                Change->Watches.erase(Event->wd);
                continue;
            }
            if (!Change->Subtree || !(Event->mask & IN_ISDIR) ||
                !(Event->mask & (IN_CREATE | IN_MOVED_TO)) || Event->len == 0)
                continue;
            const auto Folder = Change->Watches.find(Event->wd);
            if (Folder == Change->Watches.end())
                continue;
            const std::string Child = Folder->second + "/" + Event->name;
            struct stat Info {};
            if (::lstat(Child.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode) &&
                Info.st_dev == Change->Device && !AddWatches(*Change, Child))
                return FALSE;
        }
    }
}

BOOL FindCloseChangeNotification(HANDLE Handle) {
    TChangeNotification* Change = AsChange(Handle);
    if (!Change)
        return FALSE;
    Close(Change);
    return TRUE;
}

HANDLE CreateWakeUpHandle() {
    const int Fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (Fd < 0)
        return INVALID_HANDLE_VALUE;
    return new TWakeUp{Fd};
}

BOOL SignalWakeUp(HANDLE Handle) {
    TWakeUp* WakeUp = AsWakeUp(Handle);
    const std::uint64_t One = 1;
    return WakeUp && ::write(WakeUp->Fd, &One, sizeof One) == sizeof One;
}

BOOL CloseWakeUpHandle(HANDLE Handle) {
    TWakeUp* WakeUp = AsWakeUp(Handle);
    if (!WakeUp)
        return FALSE;
    ::close(WakeUp->Fd);
    delete WakeUp;
    return TRUE;
}

DWORD WaitForChangeOrWakeUp(HANDLE ChangeHandle, HANDLE WakeUpHandle) {
    TChangeNotification* Change = AsChange(ChangeHandle);
    TWakeUp* WakeUp = AsWakeUp(WakeUpHandle);
    pollfd Fds[2] = {{Change ? Change->Fd : -1, POLLIN, 0}, {WakeUp ? WakeUp->Fd : -1, POLLIN, 0}};
    if (!Change && !WakeUp)
        return WAIT_FAILED;
    for (;;) {
        const int Ready = ::poll(Fds, 2, -1);
        if (Ready < 0) {
            if (errno == EINTR)
                continue;
            return WAIT_FAILED;
        }
        if (Fds[0].revents & POLLIN)
            return WAIT_OBJECT_0;
        if (Fds[1].revents & POLLIN) {
            std::uint64_t Count = 0;
            if (::read(WakeUp->Fd, &Count, sizeof Count) < 0 && errno != EAGAIN)
                return WAIT_FAILED;
            return WAIT_OBJECT_0 + 1;
        }
        if ((Fds[0].revents | Fds[1].revents) & (POLLERR | POLLNVAL))
            return WAIT_FAILED;
    }
}
