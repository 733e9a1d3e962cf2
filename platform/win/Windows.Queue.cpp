// Thread queues: sent, posted and input messages, WM_QUIT, paints and timers,
// in the order the platform retrieves them.
#include "platform/core/Clock.h"
#include "platform/win/WinInternal.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <algorithm>
#include <chrono>

namespace winsys {

namespace {

thread_local std::shared_ptr<TThreadQueue> ThisQueue;

TBackend* CurrentBackend = nullptr;

bool Due(DWORD Now, DWORD When) {
    return std::int32_t(Now - When) >= 0;
}

bool MatchesWindow(HWND Filter, HWND Wnd) {
    if (!Filter)
        return true;
    if (Filter == HWND_THREAD_ONLY)
        return Wnd == nullptr;
    return Wnd == Filter || IsChild(Filter, Wnd);
}

bool MatchesRange(UINT Min, UINT Max, UINT Msg) {
    if (Min == 0 && Max == 0)
        return true;
    return Msg >= Min && Msg <= Max;
}

void FinishCall(TSentCall& Call, LRESULT Result) {
    TThreadQueue* Sender = Call.Sender;
    {
        std::lock_guard Guard(Sender->Lock);
        if (Call.Done)
            return;
        Call.Result = Result;
        Call.Done = true;
    }
    WakeQueue(*Sender);
}

} // namespace

TThreadQueue& CurrentQueue() {
    if (ThisQueue)
        return *ThisQueue;
    auto Q = std::make_shared<TThreadQueue>();
    Q->Thread = GetCurrentThreadId();
    Q->UsesBackend = Q->Thread == MainThreadID() || MainThreadID() == 0;
    {
        TGlobal& Global = G();
        std::lock_guard Guard(Global.Lock);
        Global.Queues[Q->Thread] = Q;
    }
    ThisQueue = Q;
    if (Q->Thread == MainThreadID())
        SetWakeMainThread([] { PostThreadMessage(MainThreadID(), WM_NULL, 0, 0); });
    return *Q;
}

std::shared_ptr<TThreadQueue> QueueOf(TThreadID Thread) {
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    auto It = Global.Queues.find(Thread);
    return It == Global.Queues.end() ? nullptr : It->second;
}

void WakeQueue(TThreadQueue& Q) {
    {
        std::lock_guard Guard(Q.Lock);
        Q.WakePending = true;
    }
    Q.Cv.notify_all();
    if (Q.UsesBackend)
        Backend().Wake();
}

void HandleSentMessages(TThreadQueue& Q) {
    for (;;) {
        std::shared_ptr<TSentCall> Call;
        {
            std::lock_guard Guard(Q.Lock);
            if (Q.Sent.empty())
                return;
            Call = Q.Sent.front();
            Q.Sent.pop_front();
        }
        LRESULT Result = 0;
        if (TWnd* W = Ptr(Call->Wnd)) {
            Q.Handling.push_back(Call.get());
            try {
                Result = CallWnd(W, Call->Msg, Call->WParam, Call->LParam);
            } catch (...) {
                Q.Handling.pop_back();
                FinishCall(*Call, 0);
                throw;
            }
            Q.Handling.pop_back();
        }
        FinishCall(*Call, Result);
    }
}

namespace {

std::optional<DWORD> NextDeadline(TThreadQueue& Q) {
    std::optional<DWORD> Result;
    DWORD Now = GetTickCount();
    auto Consider = [&](DWORD When) {
        if (!Result || std::int32_t(When - Now) < std::int32_t(*Result - Now))
            Result = When;
    };
    for (auto& T : Q.Timers)
        Consider(T.Due);
    if (Q.UsesBackend)
        if (auto D = InternalDeadline())
            Consider(*D);
    return Result;
}

} // namespace

void WaitForMessages(TThreadQueue& Q, const char* Caller, std::optional<DWORD> Extra) {
    if (Q.UsesBackend) {
        FlushPresents();
        auto Deadline = NextDeadline(Q);
        if (Extra && (!Deadline || std::int32_t(*Extra - *Deadline) < 0))
            Deadline = Extra;
        Backend().Wait(Deadline, Caller);
        std::lock_guard Guard(Q.Lock);
        Q.WakePending = false;
        return;
    }
    std::unique_lock Lock(Q.Lock);
    if (!Q.WakePending) {
        auto Deadline = NextDeadline(Q);
        if (Extra && (!Deadline || std::int32_t(*Extra - *Deadline) < 0))
            Deadline = Extra;
        if (Deadline) {
            auto Ms = std::max<std::int32_t>(0, std::int32_t(*Deadline - GetTickCount()));
            Q.Cv.wait_for(Lock, std::chrono::milliseconds(Ms), [&] { return Q.WakePending; });
        } else
            Q.Cv.wait(Lock, [&] { return Q.WakePending; });
    }
    Q.WakePending = false;
}

TModalStep DispatchModalMessage(TThreadQueue& Q) {
    MSG M;
    if (!RetrieveMessage(M, nullptr, 0, 0, true, false))
        return TModalStep::Idle;
    if (M.message == WM_QUIT) {
        Q.QuitPosted = true;
        Q.QuitCode = int(M.wParam);
        return TModalStep::Quit;
    }
    TranslateMessage(&M);
    DispatchMessage(&M);
    return TModalStep::Dispatched;
}

bool RetrieveMessage(MSG& Msg, HWND Filter, UINT Min, UINT Max, bool Remove, bool RouteInput) {
    TThreadQueue& Q = CurrentQueue();
    TGlobal& Global = G();
    HandleSentMessages(Q);
    if (Q.UsesBackend) {
        PullBackendEvents(Q);
        RunInternalTimers();
    }
    HandleSentMessages(Q);
    DWORD Now = GetTickCount();
    auto Stamp = [&](MSG& M) {
        Q.LastTime = M.time;
        Q.LastPos = M.pt;
    };

    auto TakePosted = [&]() -> bool {
        std::unique_lock Lock(Q.Lock);
        for (auto It = Q.Posted.begin(); It != Q.Posted.end(); ++It)
            if (MatchesWindow(Filter, It->hwnd) && MatchesRange(Min, Max, It->message)) {
                Msg = *It;
                if (Remove)
                    Q.Posted.erase(It);
                Lock.unlock();
                Stamp(Msg);
                return true;
            }
        return false;
    };
    auto TakeInput = [&]() -> bool {
        for (auto It = Q.Input.begin(); It != Q.Input.end(); ++It)
            if (MatchesWindow(Filter, It->hwnd) && MatchesRange(Min, Max, It->message)) {
                Msg = *It;
                if (Remove) {
                    Q.Input.erase(It);
                    std::copy(std::begin(Global.AsyncKeyState), std::end(Global.AsyncKeyState),
                              std::begin(Global.KeyState));
                }
                Stamp(Msg);
                return true;
            }
        return false;
    };
    for (;;) {
        if (TakePosted() || TakeInput())
            return true;
        if (Q.RawInput.empty() && Q.UsesBackend)
            PullBackendEvents(Q);
        if (!RouteInput || Q.RawInput.empty())
            break;
        TRawInput E = Q.RawInput.front();
        Q.RawInput.pop_front();
        MSG Routed;
        if (RouteRawInput(Q, E, Routed))
            Q.Input.push_back(Routed);
        // Routing may have posted (a mouse leave) or sent; look again from the top.
        HandleSentMessages(Q);
    }

    if (Q.QuitPosted && MatchesRange(Min, Max, WM_QUIT)) {
        Msg = MSG{};
        Msg.message = WM_QUIT;
        Msg.wParam = WPARAM(Q.QuitCode);
        Msg.time = Now;
        Msg.pt = Global.LastClick.Pos;
        if (Remove)
            Q.QuitPosted = false;
        return true;
    }

    if (MatchesRange(Min, Max, WM_PAINT) && Filter != HWND_THREAD_ONLY) {
        if (TWnd* P = FindPaintWindow(Q.Thread))
            if (MatchesWindow(Filter, P->Handle)) {
                Msg = MSG{};
                Msg.hwnd = P->Handle;
                Msg.message = WM_PAINT;
                Msg.time = Now;
                GetCursorPos(&Msg.pt);
                Stamp(Msg);
                return true;
            }
    }

    if (MatchesRange(Min, Max, WM_TIMER))
        for (auto& T : Q.Timers)
            if (Due(Now, T.Due) && MatchesWindow(Filter, T.Wnd)) {
                Msg = MSG{};
                Msg.hwnd = T.Wnd;
                Msg.message = WM_TIMER;
                Msg.wParam = T.Id;
                Msg.lParam = reinterpret_cast<LPARAM>(T.Proc);
                Msg.time = Now;
                GetCursorPos(&Msg.pt);
                // Ticks missed while the thread was busy come as one.
                if (Remove)
                    T.Due = Now + T.Interval;
                Stamp(Msg);
                return true;
            }
    return false;
}

} // namespace winsys

using namespace winsys;

// ---------------------------------------------------------------- backend

void SetBackend(TBackend* B) {
    CurrentBackend = B;
}

TBackend& Backend() {
    if (!CurrentBackend) {
        static THeadlessBackend Default;
        CurrentBackend = &Default;
    }
    return *CurrentBackend;
}

// ---------------------------------------------------------------- sending and posting

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto W = Find(Wnd);
    if (!W || W->Destroyed)
        return 0;
    TThreadID Me = GetCurrentThreadId();
    if (W->Thread == Me || W->IsDesktop)
        return CallWnd(W.get(), Msg, WParam, LParam);
    auto Target = QueueOf(W->Thread);
    if (!Target)
        return 0;
    TThreadQueue& Own = CurrentQueue();
    auto Call = std::make_shared<TSentCall>();
    Call->Wnd = Wnd;
    Call->Msg = Msg;
    Call->WParam = WParam;
    Call->LParam = LParam;
    Call->Sender = &Own;
    {
        std::lock_guard Guard(Target->Lock);
        Target->Sent.push_back(Call);
    }
    WakeQueue(*Target);
    for (;;) {
        HandleSentMessages(Own);
        {
            std::lock_guard Guard(Own.Lock);
            if (Call->Done)
                return Call->Result;
        }
        // The window may be gone before its thread took the call.
        if (!IsWindow(Wnd)) {
            std::lock_guard Guard(Target->Lock);
            auto It = std::find(Target->Sent.begin(), Target->Sent.end(), Call);
            if (It != Target->Sent.end()) {
                Target->Sent.erase(It);
                return 0;
            }
        }
        WaitForMessages(Own, "SendMessage");
    }
}

namespace {

// Window and thread posts land in the same queue the same way; only the target window differs.
void PostTo(TThreadQueue& Q, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
            std::optional<TPoint> Point = std::nullopt) {
    MSG M;
    M.hwnd = Wnd;
    M.message = Msg;
    M.wParam = WParam;
    M.lParam = LParam;
    M.time = GetTickCount();
    if (Point)
        M.pt = *Point;
    {
        std::lock_guard Guard(Q.Lock);
        Q.Posted.push_back(M);
    }
    WakeQueue(Q);
}

} // namespace

namespace winsys {

BOOL PostAt(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, TPoint Point) {
    auto W = Find(Wnd);
    if (!W || W->Destroyed || W->IsDesktop)
        return FALSE;
    auto Q = QueueOf(W->Thread);
    if (!Q)
        return FALSE;
    PostTo(*Q, Wnd, Msg, WParam, LParam, Point);
    return TRUE;
}

} // namespace winsys

BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (!Wnd)
        return PostThreadMessage(GetCurrentThreadId(), Msg, WParam, LParam);
    auto W = Find(Wnd);
    if (!W || W->Destroyed || W->IsDesktop)
        return FALSE;
    auto Q = QueueOf(W->Thread);
    if (!Q)
        return FALSE;
    PostTo(*Q, Wnd, Msg, WParam, LParam);
    return TRUE;
}

BOOL PostThreadMessage(DWORD ThreadId, UINT Msg, WPARAM WParam, LPARAM LParam) {
    std::shared_ptr<TThreadQueue> Q = ThreadId == GetCurrentThreadId()
                                          ? ThisQueue ? ThisQueue : QueueOf(ThreadId)
                                          : QueueOf(ThreadId);
    if (!Q && ThreadId == GetCurrentThreadId()) {
        CurrentQueue();
        Q = ThisQueue;
    }
    if (!Q)
        return FALSE;
    PostTo(*Q, nullptr, Msg, WParam, LParam);
    return TRUE;
}

void PostQuitMessage(int ExitCode) {
    TThreadQueue& Q = CurrentQueue();
    Q.QuitPosted = true;
    Q.QuitCode = ExitCode;
}

BOOL GetMessage(MSG* Msg, HWND Wnd, UINT Min, UINT Max) {
    if (!Msg)
        return -1;
    if (Wnd && Wnd != HWND_THREAD_ONLY && !IsWindow(Wnd))
        return -1;
    TThreadQueue& Q = CurrentQueue();
    for (;;) {
        if (RetrieveMessage(*Msg, Wnd, Min, Max, true, true))
            return Msg->message == WM_QUIT ? FALSE : TRUE;
        WaitForMessages(Q, "GetMessage");
    }
}

BOOL PeekMessage(MSG* Msg, HWND Wnd, UINT Min, UINT Max, UINT Remove) {
    if (!Msg)
        return FALSE;
    if (Wnd && Wnd != HWND_THREAD_ONLY && !IsWindow(Wnd))
        return FALSE;
    return RetrieveMessage(*Msg, Wnd, Min, Max, (Remove & PM_REMOVE) != 0, true) ? TRUE : FALSE;
}

BOOL WaitMessage() {
    TThreadQueue& Q = CurrentQueue();
    MSG M;
    if (RetrieveMessage(M, nullptr, 0, 0, false, true))
        return TRUE;
    WaitForMessages(Q, "WaitMessage");
    return TRUE;
}

LRESULT DispatchMessage(const MSG* Msg) {
    if (!Msg)
        return 0;
    if (Msg->message == WM_TIMER && Msg->lParam) {
        auto Proc = reinterpret_cast<TIMERPROC>(Msg->lParam);
        Proc(Msg->hwnd, WM_TIMER, Msg->wParam, Msg->time);
        return 0;
    }
    TWnd* W = Ptr(Msg->hwnd);
    if (!W || W->Thread != GetCurrentThreadId())
        return 0;
    return CallWnd(W, Msg->message, Msg->wParam, Msg->lParam, true);
}

BOOL InSendMessage() {
    return CurrentQueue().Handling.empty() ? FALSE : TRUE;
}

BOOL ReplyMessage(LRESULT Result) {
    TThreadQueue& Q = CurrentQueue();
    if (Q.Handling.empty())
        return FALSE;
    TSentCall* Call = Q.Handling.back();
    {
        std::lock_guard Guard(Call->Sender->Lock);
        if (Call->Done)
            return FALSE;
        Call->Result = Result;
        Call->Done = true;
    }
    WakeQueue(*Call->Sender);
    return TRUE;
}

DWORD GetMessagePos() {
    TPoint P = CurrentQueue().LastPos;
    return DWORD(MAKELPARAM(unsigned(P.X), unsigned(P.Y)));
}

LONG GetMessageTime() {
    return LONG(CurrentQueue().LastTime);
}

// ---------------------------------------------------------------- timers

UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc) {
    if (Wnd) {
        TWnd* W = Ptr(Wnd);
        if (!W || W->Thread != GetCurrentThreadId())
            return 0;
    }
    TThreadQueue& Q = CurrentQueue();
    Elapse = std::max<UINT>(Elapse, 10);
    if (!Wnd)
        Id = Q.NextTimerId++;
    DWORD Now = GetTickCount();
    for (auto& T : Q.Timers)
        if (T.Wnd == Wnd && T.Id == Id) {
            T.Interval = Elapse;
            T.Due = Now + Elapse;
            T.Proc = Proc;
            return Wnd ? 1 : Id;
        }
    Q.Timers.push_back({Wnd, Id, Elapse, Now + Elapse, Proc});
    return Wnd ? (Id ? Id : 1) : Id;
}

BOOL KillTimer(HWND Wnd, UINT_PTR Id) {
    TThreadQueue& Q = CurrentQueue();
    auto It = std::find_if(Q.Timers.begin(), Q.Timers.end(),
                           [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == Id; });
    if (It == Q.Timers.end())
        return FALSE;
    Q.Timers.erase(It);
    return TRUE;
}

bool NextTimerDue(DWORD* Tick) {
    auto D = NextDeadline(CurrentQueue());
    if (D && Tick)
        *Tick = *D;
    return D.has_value();
}

int ProcessPending() {
    TThreadQueue& Q = CurrentQueue();
    int Count = 0;
    MSG M;
    // A procedure that never validates its window would repaint for ever.
    constexpr int Limit = 1000000;
    while (Count < Limit && PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) {
        if (M.message == WM_QUIT) {
            Q.QuitPosted = true;
            Q.QuitCode = int(M.wParam);
            break;
        }
        TranslateMessage(&M);
        DispatchMessage(&M);
        ++Count;
    }
    FlushPresents();
    return Count;
}

bool HasPendingSentMessages(DWORD ThreadId) {
    auto Q = QueueOf(ThreadId);
    if (!Q)
        return false;
    std::lock_guard Guard(Q->Lock);
    return !Q->Sent.empty();
}
