// The window system's own records, shared by its source files only.
//
// The handle table, the class registry and the thread queues' message lists
// are guarded by locks because other threads post and send. Everything else
// of a window is read and changed on the window's own thread. A window's
// record stays allocated while a call of its procedure is on the stack
// (shared ownership), but after DestroyWindow nothing reads it except its
// Destroyed flag.
#pragma once

#include "platform/core/Threads.h"
#include "platform/gdi/Region.h"
#include "platform/win/Windows.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace winsys {

struct TClassInfo {
    std::string Name;
    UINT Style = 0;
    WNDPROC Proc = nullptr;
    HCURSOR Cursor = nullptr;
    HBRUSH Background = nullptr;
    HICON Icon = nullptr;
    HICON IconSm = nullptr;
    int ClsExtra = 0;
    int WndExtra = 0;
    HINSTANCE Instance = nullptr;
};

struct TSubclass {
    SUBCLASSPROC Proc = nullptr;
    UINT_PTR Id = 0;
    DWORD_PTR Data = 0;
    std::uint64_t Seq = 0;
    bool Removed = false;
};

struct TScrollData {
    int Min = 0;
    int Max = 0;
    UINT Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    UINT Disabled = 0;
};

struct TWnd {
    HWND Handle = nullptr;
    TThreadID Thread = 0;
    std::shared_ptr<TClassInfo> Class;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    WNDPROC Proc = nullptr;
    LONG_PTR Id = 0;
    LONG_PTR UserData = 0;
    std::string Text;
    TWnd* Parent = nullptr; // the desktop for a top-level window
    TWnd* Owner = nullptr;
    std::vector<TWnd*> Children; // first = top of the z-order
    TRect Window;                // in the parent's client coordinates
    TRect Client;                // in the parent's client coordinates
    TRect Normal;                // bounds to restore from minimized or maximized
    bool Created = false;
    bool Destroying = false;
    // Read by threads that post or send to the window while its own thread
    // may be destroying it.
    std::atomic<bool> Destroyed = false;
    bool IsDesktop = false;

    // Painting: update region in client coordinates.
    TRegion Update;
    bool UpdateFrame = false;
    bool UpdateErase = false;
    bool InternalPaint = false;
    bool RedrawOff = false;
    HRGN Region = nullptr; // window region, window coordinates
    TScrollData Scroll[2];
    std::vector<std::shared_ptr<TSubclass>> Subclasses;
    std::uint64_t NextSubclassSeq = 1;
    std::map<std::string, HANDLE> Props;
    bool HiddenByOwnerMinimize = false;
    bool NcActive = false; // the plain frame's look

    // Top-level windows: the back buffer and the backend surface.
    std::vector<std::uint32_t> Buffer;
    int BufferWidth = 0;
    int BufferHeight = 0;
    std::vector<TRect> Dirty; // buffer coordinates
    TSurfaceId Surface = 0;
    bool Iconified = false;
    // A minimize the desktop has been asked for and not done yet; whether it activates.
    std::optional<bool> IconifyRequest;
    BYTE Alpha = 255;
    COLORREF Key = 0;
    DWORD LayeredFlags = 0;
    bool HasLayeredImage = false;
    std::vector<std::uint32_t> LayeredImage; // premultiplied, window size
};

struct TSentCall {
    HWND Wnd = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    bool Done = false;
    struct TThreadQueue* Sender = nullptr;
};

struct TTimer {
    HWND Wnd = nullptr;
    UINT_PTR Id = 0;
    UINT Interval = 0;
    DWORD Due = 0;
    TIMERPROC Proc = nullptr;
};

// An input event as the backend reported it, with the key's state before it.
struct TRawInput {
    TBackendEvent Event;
    bool PreviousDown = false;
};

struct TThreadQueue {
    TThreadID Thread = 0;
    bool UsesBackend = false;

    // Guards Sent, Posted and WakePending: other threads add to them.
    std::mutex Lock;
    std::condition_variable Cv;
    bool WakePending = false;
    std::deque<std::shared_ptr<TSentCall>> Sent;
    std::deque<MSG> Posted;

    // Own thread only.
    std::deque<TRawInput> RawInput;
    std::deque<MSG> Input;
    bool QuitPosted = false;
    int QuitCode = 0;
    std::vector<TTimer> Timers;
    UINT_PTR NextTimerId = 0x7FFF0000;
    std::vector<TSentCall*> Handling; // sent calls being handled, innermost last
    DWORD LastTime = 0;
    TPoint LastPos;
};

// A key message retrieved together with its text, for TranslateMessage.
struct TKeyText {
    MSG Msg;
    std::string Text;
};

struct TDcInfo {
    HWND Wnd = nullptr;
    bool Paint = false;
    bool WindowArea = false;
    HWND Top = nullptr;
    TRect Bounds;               // the system clip's bounds in the top-level buffer
    void* OwnedBits = nullptr;  // the screen DC's composed picture, freed on release
    HRGN OwnedRegion = nullptr; // a GetDCEx clip region, deleted on release
};

struct TGlobal {
    std::mutex Lock; // Windows, NextHandle, Classes, Queues, Messages
    std::unordered_map<std::uintptr_t, std::shared_ptr<TWnd>> Windows;
    std::uintptr_t NextHandle = 0x10000;
    std::map<std::string, std::shared_ptr<TClassInfo>> Classes; // key: lower-case name
    std::map<TThreadID, std::shared_ptr<TThreadQueue>> Queues;
    std::map<std::string, UINT> Messages; // registered, key: lower-case name
    std::shared_ptr<TWnd> Desktop;

    // User-interface state, kept on the thread that owns the windows.
    HWND Active = nullptr;
    HWND Focus = nullptr;
    HWND Capture = nullptr;
    bool AppActive = false;
    BYTE KeyState[256] = {};      // as of the last retrieved message
    BYTE AsyncKeyState[256] = {}; // as reported now
    bool AltAlone = false;
    HCURSOR Cursor = nullptr;
    int CursorShowCount = 0;
    UINT DoubleClickTime = 500;
    struct {
        int Button = -1;
        DWORD Time = 0;
        TPoint Pos;
        HWND Wnd = nullptr;
        int Hit = 0;
    } LastClick;
    struct {
        HWND Wnd = nullptr;
        DWORD Flags = 0;
        DWORD HoverTime = 0;
        DWORD HoverDue = 0;
        bool HoverArmed = false;
    } Track;
    HWND MouseWnd = nullptr; // the window under the pointer at the last move
    int MouseHit = 0;
    std::map<HDC, TDcInfo> Dcs;
    TKeyText LastKey;
    std::function<void(const TMessageHookInfo&)> Hook;
    bool InSizeMove = false;
    // The pointer as of the input events taken so far (the backend's own
    // position may already be ahead of them).
    std::optional<TPoint> PointerPos;
    bool CancelTracking = false; // WM_CANCELMODE ends a modal tracking loop
    // Clipboard
    bool ClipboardOpen = false;
    HGLOBAL ClipboardData = nullptr;
    HGLOBAL ClipboardPicture = nullptr;
};

TGlobal& G();

// The record behind a handle, or null for a stale or foreign value.
std::shared_ptr<TWnd> Find(HWND Wnd);
TWnd* Ptr(HWND Wnd);
TWnd* Desktop();
TThreadQueue& CurrentQueue();
std::shared_ptr<TThreadQueue> QueueOf(TThreadID Thread);
void WakeQueue(TThreadQueue& Queue);

// Procedure calls: through subclasses to the window procedure, with the hook.
LRESULT CallWnd(TWnd* Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, bool Posted = false);
// SendMessage to a window of the calling thread; 0 when it is gone.
LRESULT Send(TWnd* Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline bool Alive(const TWnd* Wnd) {
    return Wnd && !Wnd->Destroyed;
}
// True while DefWindowProc runs on this thread.
bool InDefProc();

// Geometry.
bool IsTopLevel(const TWnd* Wnd);
TWnd* TopLevelOf(TWnd* Wnd);
bool IsVisible(const TWnd* Wnd); // the window and its ancestors
TPoint ClientOriginScreen(const TWnd* Wnd);
TPoint WindowOriginScreen(const TWnd* Wnd);
TRect WindowRectScreen(const TWnd* Wnd);
TRect ClientRectLocal(const TWnd* Wnd); // (0, 0, w, h)
TPoint WindowOriginInBuffer(const TWnd* Wnd);
TPoint ClientOriginInBuffer(const TWnd* Wnd);
TRegion WindowRegionOf(const TWnd* Wnd); // window coordinates; the window rectangle without one
// Whether a point lies on a window as the pointer sees it: inside its region,
// and for a top-level window not on a see-through pixel of its layered
// picture nor on a maximized frame's edge beyond its monitor.
bool TakesPointer(const TWnd* Wnd, TPoint Screen);
// A colour key as the low 24 bits of a back-buffer pixel.
inline std::uint32_t KeyRgbOf(COLORREF Key) {
    return (std::uint32_t(GetRValue(Key)) << 16) | (std::uint32_t(GetGValue(Key)) << 8) |
           GetBValue(Key);
}
TRegion VisibleRegion(const TWnd* Wnd, bool ClientArea, bool ClipChildren, bool ClipSiblings);
bool SetWindowPosImpl(TWnd* Wnd, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags);
void UpdateStacking();
void FillMinMaxInfo(TWnd* Wnd, MINMAXINFO& Info);
// The desktop iconified a window: a minimize the program asked for takes
// effect; otherwise the window hears SC_MINIMIZE.
void DesktopIconified(TWnd* Wnd);
TWnd* HitWindow(TPoint Screen, int* HitCode, bool SendHitTest);

// Frame of the plain look.
struct TFrameInsets {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
TFrameInsets FrameInsets(DWORD Style, DWORD ExStyle, bool WithScrollBars);
void PaintPlainFrame(TWnd* Wnd);
int PlainHitTest(TWnd* Wnd, TPoint Screen);

// Painting.
void InvalidateImpl(TWnd* Wnd, const TRegion* Rgn, UINT Flags);
void ValidateImpl(TWnd* Wnd, const TRegion* Rgn, bool Children);
void ResizeBuffer(TWnd* Top);
void MarkDirty(TWnd* Top, const TRect& BufferRect);
void PresentWindow(TWnd* Top);
TWnd* FindPaintWindow(TThreadID Thread);
HRGN ToHrgn(const TRegion& Rgn);
TRegion FromHrgn(HRGN Rgn);
void ReleaseDcsOf(TWnd* Wnd);

// Activation and focus.
// FromDesktop: the desktop has already given the window the keyboard focus,
// so it is not asked again.
void ActivateImpl(TWnd* Wnd, WPARAM How, bool FromDesktop = false);
void SetFocusImpl(TWnd* Wnd);
void ActivateOtherThan(TWnd* Wnd);
void DeactivateApp();

// Input.
bool RouteRawInput(TThreadQueue& Queue, const TRawInput& Input, MSG& Out);
TWnd* WindowOfSurface(TSurfaceId Surface);
void BringToTopImpl(TWnd* Wnd);
void PullBackendEvents(TThreadQueue& Queue);
void NotifyMouseLeaveIfNeeded(HWND Under, int Hit);

// Surfaces.
void EnsureSurface(TWnd* Top);
void SyncSurfaceBounds(TWnd* Top);
void SyncSurfaceLayering(TWnd* Top);
void SyncSurfaceShape(TWnd* Top);

// Notification icons: the backend's events about them, a destroyed window's
// icons removed, and every icon forgotten when the window system is reset.
void NotifyIconEvent(TThreadQueue& Queue, const TBackendEvent& Event);
void RemoveNotifyIconsOf(HWND Wnd);
void ResetNotifyIcons();
// Posts with the screen point GetMessagePos reports for the message.
BOOL PostAt(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, TPoint Point);

// Message retrieval shared by GetMessage, PeekMessage and the modal loops.
bool RetrieveMessage(MSG& Msg, HWND Filter, UINT Min, UINT Max, bool Remove, bool RouteInput);
void HandleSentMessages(TThreadQueue& Queue);
void WaitForMessages(TThreadQueue& Queue, const char* Caller,
                     std::optional<DWORD> Extra = std::nullopt);

// One message for a modal loop (caption button, scroll bar, move/size),
// handed on as the main loop would. A WM_QUIT is kept for the outer loop and
// ends the modal one.
enum class TModalStep { Idle, Dispatched, Quit };
TModalStep DispatchModalMessage(TThreadQueue& Queue);

// The earliest moment the window system itself must act (caret blink, hover,
// scroll-bar repeat), if any.
std::optional<DWORD> InternalDeadline();
void RunInternalTimers();

// The move/size loop of DefWindowProc.
void MoveSizeLoop(TWnd* Wnd, WPARAM Command, LPARAM Point);

} // namespace winsys
