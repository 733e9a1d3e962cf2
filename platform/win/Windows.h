// The window system: windows behind opaque handles, classes, replaceable
// window procedures, the message queue, painting, input routing, activation,
// timers, window regions, layered windows, monitors and metrics.
//
// A window belongs to the thread that created it; its messages run there and
// its state is read and changed there. Other threads reach it through
// PostMessage and SendMessage (which waits while the owner thread runs the
// call). Handles are never reused during a run, so a stale handle fails
// cleanly. Every string is UTF-8; lengths count bytes and a copied text never
// ends inside a character.
#pragma once

#include "platform/core/Threads.h"
#include "platform/gdi/Icons.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <functional>
#include <string>
#include <string_view>

// ---------------------------------------------------------------- classes

ATOM RegisterClass(const WNDCLASS* Class);
ATOM RegisterClassEx(const WNDCLASSEX* Class);
BOOL UnregisterClass(const char* ClassName, HINSTANCE Instance);
BOOL GetClassInfo(HINSTANCE Instance, const char* ClassName, WNDCLASS* Class);
BOOL GetClassInfoEx(HINSTANCE Instance, const char* ClassName, WNDCLASSEX* Class);
// Copies the class name as registered; answers the bytes copied.
int GetClassName(HWND Wnd, char* Buffer, int MaxCount);
DWORD GetClassLong(HWND Wnd, int Index);
DWORD SetClassLong(HWND Wnd, int Index, LONG_PTR Value);

// ---------------------------------------------------------------- window data

BOOL IsWindow(HWND Wnd);
LONG_PTR GetWindowLong(HWND Wnd, int Index);
LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value);
inline LONG_PTR GetWindowLongPtr(HWND Wnd, int Index) {
    return GetWindowLong(Wnd, Index);
}
inline LONG_PTR SetWindowLongPtr(HWND Wnd, int Index, LONG_PTR Value) {
    return SetWindowLong(Wnd, Index, Value);
}
BOOL SetWindowText(HWND Wnd, std::string_view Text);
// Copies at most MaxCount - 1 bytes, never ending inside a character, and a
// terminating zero; answers the bytes copied.
int GetWindowText(HWND Wnd, char* Buffer, int MaxCount);
std::string GetWindowText(HWND Wnd);
int GetWindowTextLength(HWND Wnd);
BOOL SetProp(HWND Wnd, const char* Name, HANDLE Data);
HANDLE GetProp(HWND Wnd, const char* Name);
HANDLE RemoveProp(HWND Wnd, const char* Name);

// ---------------------------------------------------------------- procedures

using TWindowProcedure = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
// A procedure value made from any callable (a bound method, a closure). It is
// called only through CallWindowProc (which SendMessage and DispatchMessage
// use); FreeWindowProc releases it and it is never called again.
WNDPROC MakeWindowProc(TWindowProcedure Procedure);
void FreeWindowProc(WNDPROC Proc);
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Subclassing that can be undone in any order: the latest subclass sees a
// message first and passes it on with DefSubclassProc; removal is by
// (Proc, Id) and leaves the subclasses installed later working.
BOOL SetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR Id, DWORD_PTR Data);
BOOL RemoveWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR Id);
BOOL GetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR Id, DWORD_PTR* Data);
LRESULT DefSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---------------------------------------------------------------- hierarchy

HWND GetDesktopWindow();
HWND GetParent(HWND Wnd);
HWND SetParent(HWND Wnd, HWND NewParent);
HWND GetAncestor(HWND Wnd, UINT Flags);
BOOL IsChild(HWND Parent, HWND Wnd);
HWND GetWindow(HWND Wnd, UINT Cmd);
HWND GetTopWindow(HWND Wnd);
using WNDENUMPROC = std::function<BOOL(HWND, LPARAM)>;
BOOL EnumChildWindows(HWND Parent, const WNDENUMPROC& Proc, LPARAM LParam);
BOOL EnumThreadWindows(DWORD ThreadId, const WNDENUMPROC& Proc, LPARAM LParam);
DWORD GetWindowThreadProcessId(HWND Wnd, DWORD* ProcessId);
BOOL IsWindowVisible(HWND Wnd);
BOOL IsWindowEnabled(HWND Wnd);
BOOL IsIconic(HWND Wnd);
BOOL IsZoomed(HWND Wnd);
BOOL IsWindowUnicode(HWND Wnd);

// ---------------------------------------------------------------- creation

HWND CreateWindowEx(DWORD ExStyle, const char* ClassName, const char* WindowName, DWORD Style,
                    int X, int Y, int Width, int Height, HWND Parent, HMENU Menu,
                    HINSTANCE Instance, void* Param);
inline HWND CreateWindow(const char* ClassName, const char* WindowName, DWORD Style, int X, int Y,
                         int Width, int Height, HWND Parent, HMENU Menu, HINSTANCE Instance,
                         void* Param) {
    return CreateWindowEx(0, ClassName, WindowName, Style, X, Y, Width, Height, Parent, Menu,
                          Instance, Param);
}
BOOL DestroyWindow(HWND Wnd);

// ---------------------------------------------------------------- geometry and showing

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags);
BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint);
BOOL BringWindowToTop(HWND Wnd);
BOOL ShowWindow(HWND Wnd, int Cmd);
BOOL EnableWindow(HWND Wnd, BOOL Enable);
BOOL GetWindowRect(HWND Wnd, TRect* Rect);
BOOL GetClientRect(HWND Wnd, TRect* Rect);
BOOL ClientToScreen(HWND Wnd, TPoint* Point);
BOOL ScreenToClient(HWND Wnd, TPoint* Point);
int MapWindowPoints(HWND From, HWND To, TPoint* Points, UINT Count);
BOOL AdjustWindowRect(TRect* Rect, DWORD Style, BOOL Menu);
BOOL AdjustWindowRectEx(TRect* Rect, DWORD Style, BOOL Menu, DWORD ExStyle);
BOOL GetWindowPlacement(HWND Wnd, WINDOWPLACEMENT* Placement);
BOOL SetWindowPlacement(HWND Wnd, const WINDOWPLACEMENT* Placement);
HWND WindowFromPoint(TPoint Point);
HWND ChildWindowFromPoint(HWND Parent, TPoint Point);
HWND ChildWindowFromPointEx(HWND Parent, TPoint Point, UINT Flags);

// ---------------------------------------------------------------- queue

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
BOOL PostThreadMessage(DWORD ThreadId, UINT Msg, WPARAM WParam, LPARAM LParam);
void PostQuitMessage(int ExitCode);
BOOL GetMessage(MSG* Msg, HWND Wnd, UINT Min, UINT Max);
BOOL PeekMessage(MSG* Msg, HWND Wnd, UINT Min, UINT Max, UINT Remove);
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* Msg);
LRESULT DispatchMessage(const MSG* Msg);
BOOL InSendMessage();
BOOL ReplyMessage(LRESULT Result);
DWORD GetMessagePos();
LONG GetMessageTime();
// 0xC000-0xFFFF; the same number for the same name, ignoring case.
UINT RegisterWindowMessage(const char* Name);

UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc);
BOOL KillTimer(HWND Wnd, UINT_PTR Id);

// ---------------------------------------------------------------- painting

BOOL InvalidateRect(HWND Wnd, const TRect* Rect, BOOL Erase);
BOOL InvalidateRgn(HWND Wnd, HRGN Region, BOOL Erase);
BOOL ValidateRect(HWND Wnd, const TRect* Rect);
BOOL ValidateRgn(HWND Wnd, HRGN Region);
BOOL GetUpdateRect(HWND Wnd, TRect* Rect, BOOL Erase);
int GetUpdateRgn(HWND Wnd, HRGN Region, BOOL Erase);
BOOL UpdateWindow(HWND Wnd);
BOOL RedrawWindow(HWND Wnd, const TRect* Rect, HRGN Region, UINT Flags);
HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint);
BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint);
HDC GetDC(HWND Wnd);
HDC GetWindowDC(HWND Wnd);
// With DCX_INTERSECTRGN or DCX_EXCLUDERGN, Clip is in screen coordinates and
// belongs to the window system from then on (deleted on ReleaseDC).
HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags);
int ReleaseDC(HWND Wnd, HDC DC);
HWND WindowFromDC(HDC DC);
BOOL ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Rect, const TRect* Clip);
int ScrollWindowEx(HWND Wnd, int DX, int DY, const TRect* Rect, const TRect* Clip, HRGN Update,
                   TRect* UpdateRect, UINT Flags);

// One caret per thread, drawn by inverting its rectangle, hidden while its
// window paints. ShowCaret and HideCaret nest.
BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND Wnd);
BOOL HideCaret(HWND Wnd);
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(TPoint* Point);
UINT GetCaretBlinkTime();

// ---------------------------------------------------------------- window regions

// The window owns Region after a successful call and deletes it when it is
// replaced or the window is destroyed.
int SetWindowRgn(HWND Wnd, HRGN Region, BOOL Redraw);
int GetWindowRgn(HWND Wnd, HRGN Region);

// ---------------------------------------------------------------- mouse

HWND SetCapture(HWND Wnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* Track);
BOOL GetCursorPos(TPoint* Point);
BOOL SetCursorPos(int X, int Y);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT Milliseconds);
HCURSOR LoadCursor(HINSTANCE Instance, int CursorId);
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL Show);
// The standard cursor id of a cursor from LoadCursor, 0 for others.
int CursorId(HCURSOR Cursor);
// A standard cursor's hot spot and its 1-bit mask, 32 wide and 64 high (the
// AND mask above the XOR mask); hbmColor is 0. The caller deletes the mask.
BOOL GetIconInfo(HCURSOR Cursor, ICONINFO* Info);

// ---------------------------------------------------------------- activation and focus

HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND Wnd);
HWND GetForegroundWindow();
HWND SetFocus(HWND Wnd);
HWND GetFocus();

// ---------------------------------------------------------------- keyboard

short GetKeyState(int VirtualKey);
short GetAsyncKeyState(int VirtualKey);
BOOL GetKeyboardState(BYTE* State);

// ---------------------------------------------------------------- scroll information

int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO* Info);
int SetScrollPos(HWND Wnd, int Bar, int Pos, BOOL Redraw);
int GetScrollPos(HWND Wnd, int Bar);
BOOL SetScrollRange(HWND Wnd, int Bar, int Min, int Max, BOOL Redraw);
BOOL GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max);
BOOL ShowScrollBar(HWND Wnd, int Bar, BOOL Show);
BOOL EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows);

// ---------------------------------------------------------------- layered windows

BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags);
BOOL GetLayeredWindowAttributes(HWND Wnd, COLORREF* Key, BYTE* Alpha, DWORD* Flags);
BOOL UpdateLayeredWindow(HWND Wnd, HDC DestDC, const TPoint* DestPos, const TSize* Size, HDC SrcDC,
                         const TPoint* SrcPos, COLORREF Key, const BLENDFUNCTION* Blend,
                         DWORD Flags);

// ---------------------------------------------------------------- monitors, metrics, settings

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags);
HMONITOR MonitorFromPoint(TPoint Point, DWORD Flags);
HMONITOR MonitorFromRect(const TRect* Rect, DWORD Flags);
// Info->cbSize 40 (MONITORINFO) or 104 (MONITORINFOEX).
BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO* Info);
BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFOEX* Info);
using MONITORENUMPROC = std::function<BOOL(HMONITOR, HDC, TRect*, LPARAM)>;
BOOL EnumDisplayMonitors(HDC DC, const TRect* Clip, const MONITORENUMPROC& Proc, LPARAM LParam);
int GetSystemMetrics(int Index);
BOOL SystemParametersInfo(UINT Action, UINT Param, void* Value, UINT WinIni);
DWORD GetVersion();

// ---------------------------------------------------------------- other services

BOOL MessageBeep(UINT Type);
BOOL OpenClipboard(HWND Owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT Format, HANDLE Data);
HANDLE GetClipboardData(UINT Format);
BOOL IsClipboardFormatAvailable(UINT Format);
// Movable memory blocks for the clipboard.
HGLOBAL GlobalAlloc(UINT Flags, std::size_t Bytes);
void* GlobalLock(HGLOBAL Memory);
BOOL GlobalUnlock(HGLOBAL Memory);
std::size_t GlobalSize(HGLOBAL Memory);
HGLOBAL GlobalFree(HGLOBAL Memory);
std::intptr_t ShellExecute(HWND Wnd, const char* Verb, const char* File, const char* Params,
                           const char* Dir, int Show);
// Icons in the desktop's notification area, keyed by (hWnd, uID); pointer
// events on them are posted to hWnd as uCallbackMessage. NIM_ADD fails when
// the desktop has none (NotifyAreaAvailable).
BOOL Shell_NotifyIcon(DWORD Message, const NOTIFYICONDATA* Data);
bool NotifyAreaAvailable();

// ---------------------------------------------------------------- helpers of this window system

// Dispatches every message that is pending without waiting (sent, posted,
// input, paints and due timers); answers how many it dispatched.
int ProcessPending();
// The tick at which the calling thread's next timer is due, if any.
bool NextTimerDue(DWORD* Tick);
// Whether a cross-thread SendMessage waits for the thread.
bool HasPendingSentMessages(DWORD ThreadId);
// The backend surface of a top-level window (0 before it is first shown).
TSurfaceId WindowSurface(HWND Wnd);
// Presents the changed area of every top-level window of the thread.
void FlushPresents();

// What a message hook is told about each call of a window procedure.
struct TMessageHookInfo {
    HWND Wnd = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    bool Posted = false;      // retrieved from the queue and dispatched
    bool FromDefProc = false; // sent while DefWindowProc ran
};
// One hook at a time (the message recorder of the tests); empty removes it.
void SetMessageHook(std::function<void(const TMessageHookInfo&)> Hook);

// Whether the backend's desktop shows per-pixel alpha and opacity.
bool HasCompositor();

// Destroys every window, forgets the registered classes, queued messages,
// timers, capture, focus and activation: a fresh window system for the next
// test. Runs on the thread that owns the windows.
void ResetWindowSystem();
