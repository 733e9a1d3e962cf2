// Directory change notification on inotify, and a wake-up object a waiting
// thread can be woken by.
//
// A change handle is signalled while events it has not dropped yet are
// queued; FindNextChangeNotification drops them (re-arms). Waiting takes no
// processor and has no time limit.
#pragma once

#include "platform/win/Windows.h"

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x1;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x2;
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x4;
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x8;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;
constexpr DWORD FILE_NOTIFY_CHANGE_SECURITY = 0x100;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// Watches an absolute path naming an existing folder (with WatchSubtree its
// sub-folders too, links not followed, other file systems not entered, new
// ones added as they appear). Anything else, a relative or virtual name
// included, and a watch limit reached answer INVALID_HANDLE_VALUE.
HANDLE FindFirstChangeNotification(const std::string& PathName, BOOL WatchSubtree,
                                   DWORD NotifyFilter);
BOOL FindNextChangeNotification(HANDLE Change);
BOOL FindCloseChangeNotification(HANDLE Change);

HANDLE CreateWakeUpHandle();
BOOL SignalWakeUp(HANDLE WakeUp);
BOOL CloseWakeUpHandle(HANDLE WakeUp);

// WAIT_OBJECT_0 when a change is pending, WAIT_OBJECT_0 + 1 for the wake-up
// (consumed), WAIT_FAILED on an error.
DWORD WaitForChangeOrWakeUp(HANDLE Change, HANDLE WakeUp);
