// Handles, classes, window data, procedures and subclassing, hierarchy queries.
#include "platform/core/Strings.h"
#include "platform/win/WinInternal.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace winsys {

TGlobal& G() {
    static TGlobal* Global = [] {
        auto* Result = new TGlobal;
        auto D = std::make_shared<TWnd>();
        D->IsDesktop = true;
        D->Style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        D->Handle = reinterpret_cast<HWND>(Result->NextHandle++);
        Result->Windows[reinterpret_cast<std::uintptr_t>(D->Handle)] = D;
        Result->Desktop = D;
        return Result;
    }();
    return *Global;
}

std::shared_ptr<TWnd> Find(HWND Wnd) {
    if (!Wnd)
        return nullptr;
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    auto It = Global.Windows.find(reinterpret_cast<std::uintptr_t>(Wnd));
    if (It == Global.Windows.end())
        return nullptr;
    return It->second;
}

TWnd* Ptr(HWND Wnd) {
    auto P = Find(Wnd);
    return P && !P->Destroyed ? P.get() : nullptr;
}

TWnd* Desktop() {
    return G().Desktop.get();
}

// ---------------------------------------------------------------- procedure values

namespace {

// Procedure values made from callables are addresses inside this block, one
// byte each, never reused; the block is never read or written.
constexpr std::size_t ThunkSlots = 1 << 20;
char ThunkSpace[ThunkSlots];

struct TThunks {
    std::mutex Lock;
    std::vector<std::shared_ptr<TWindowProcedure>> Slots;
};

TThunks& Thunks() {
    static TThunks T;
    return T;
}

bool IsThunk(WNDPROC Proc, std::size_t& Index) {
    auto Addr = reinterpret_cast<std::uintptr_t>(Proc);
    auto Base = reinterpret_cast<std::uintptr_t>(&ThunkSpace[0]);
    if (Addr < Base || Addr >= Base + ThunkSlots)
        return false;
    Index = Addr - Base;
    return true;
}

thread_local int DefProcDepth = 0;

struct TSubclassFrame {
    HWND Wnd;
    std::uint64_t Seq;
    TSubclassFrame* Prev;
};
thread_local TSubclassFrame* SubclassTop = nullptr;

std::string Lower(std::string_view S) {
    std::string R(S);
    for (char& C : R)
        if (C >= 'A' && C <= 'Z')
            C = char(C - 'A' + 'a');
    return R;
}

// Calls the subclass with the highest sequence number below Below (or the
// window procedure when none is left).
LRESULT CallChain(TWnd* Wnd, std::uint64_t Below, UINT Msg, WPARAM WParam, LPARAM LParam) {
    std::shared_ptr<TSubclass> Next;
    for (auto& S : Wnd->Subclasses)
        if (!S->Removed && S->Seq < Below && (!Next || S->Seq > Next->Seq))
            Next = S;
    if (!Next)
        return CallWindowProc(Wnd->Proc, Wnd->Handle, Msg, WParam, LParam);
    TSubclassFrame Frame{Wnd->Handle, Next->Seq, SubclassTop};
    SubclassTop = &Frame;
    struct TPop {
        TSubclassFrame* Prev;
        ~TPop() { SubclassTop = Prev; }
    } Pop{Frame.Prev};
    return Next->Proc(Wnd->Handle, Msg, WParam, LParam, Next->Id, Next->Data);
}

} // namespace

bool InDefProc() {
    return DefProcDepth > 0;
}

void EnterDefProc() {
    ++DefProcDepth;
}

void LeaveDefProc() {
    --DefProcDepth;
}

LRESULT CallWnd(TWnd* Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, bool Posted) {
    if (!Wnd || Wnd->Destroyed)
        return 0;
    // Keep the record alive for the length of the call, also when the
    // procedure destroys its own window.
    auto Keep = Find(Wnd->Handle);
    if (!Keep)
        return 0;
    if (G().Hook)
        G().Hook({Wnd->Handle, Msg, WParam, LParam, Posted, InDefProc()});
    // A procedure called outside DefWindowProc sees its messages as not sent by it.
    int SavedDepth = DefProcDepth;
    DefProcDepth = 0;
    struct TRestore {
        int Depth;
        ~TRestore() { DefProcDepth = Depth; }
    } Restore{SavedDepth};
    return CallChain(Wnd, UINT64_MAX, Msg, WParam, LParam);
}

LRESULT Send(TWnd* Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (!Alive(Wnd))
        return 0;
    return CallWnd(Wnd, Msg, WParam, LParam);
}

// ---------------------------------------------------------------- hierarchy helpers

bool IsTopLevel(const TWnd* Wnd) {
    return Wnd && Wnd->Parent && Wnd->Parent->IsDesktop;
}

TWnd* TopLevelOf(TWnd* Wnd) {
    while (Wnd && Wnd->Parent && !Wnd->Parent->IsDesktop)
        Wnd = Wnd->Parent;
    return Wnd && !Wnd->IsDesktop ? Wnd : nullptr;
}

bool IsVisible(const TWnd* Wnd) {
    for (; Wnd && !Wnd->IsDesktop; Wnd = Wnd->Parent)
        if (!(Wnd->Style & WS_VISIBLE))
            return false;
    return Wnd != nullptr;
}

} // namespace winsys

using namespace winsys;

// ---------------------------------------------------------------- procedures

WNDPROC MakeWindowProc(TWindowProcedure Procedure) {
    TThunks& T = Thunks();
    std::lock_guard Guard(T.Lock);
    if (T.Slots.size() >= ThunkSlots)
        throw EInvalidOperation("Too many window procedures");
    T.Slots.push_back(std::make_shared<TWindowProcedure>(std::move(Procedure)));
    return reinterpret_cast<WNDPROC>(&ThunkSpace[T.Slots.size() - 1]);
}

void FreeWindowProc(WNDPROC Proc) {
    std::size_t Index;
    if (!IsThunk(Proc, Index))
        return;
    TThunks& T = Thunks();
    std::lock_guard Guard(T.Lock);
    if (Index < T.Slots.size())
        T.Slots[Index].reset();
}

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (!Proc)
        return 0;
    std::size_t Index;
    if (!IsThunk(Proc, Index))
        return Proc(Wnd, Msg, WParam, LParam);
    std::shared_ptr<TWindowProcedure> Callable;
    {
        TThunks& T = Thunks();
        std::lock_guard Guard(T.Lock);
        if (Index < T.Slots.size())
            Callable = T.Slots[Index];
    }
    // A released procedure is never called again.
    if (!Callable)
        return 0;
    return (*Callable)(Wnd, Msg, WParam, LParam);
}

BOOL SetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR Id, DWORD_PTR Data) {
    TWnd* W = Ptr(Wnd);
    if (!W || !Proc || W->Thread != GetCurrentThreadId())
        return FALSE;
    for (auto& S : W->Subclasses)
        if (!S->Removed && S->Proc == Proc && S->Id == Id) {
            S->Data = Data;
            return TRUE;
        }
    auto S = std::make_shared<TSubclass>();
    S->Proc = Proc;
    S->Id = Id;
    S->Data = Data;
    S->Seq = W->NextSubclassSeq++;
    W->Subclasses.push_back(S);
    return TRUE;
}

BOOL RemoveWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR Id) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    for (auto It = W->Subclasses.begin(); It != W->Subclasses.end(); ++It)
        if (!(*It)->Removed && (*It)->Proc == Proc && (*It)->Id == Id) {
            // A call may be running inside it; the flag keeps it out of later chains.
            (*It)->Removed = true;
            W->Subclasses.erase(It);
            return TRUE;
        }
    return FALSE;
}

BOOL GetWindowSubclass(HWND Wnd, SUBCLASSPROC Proc, UINT_PTR Id, DWORD_PTR* Data) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return FALSE;
    for (auto& S : W->Subclasses)
        if (S->Proc == Proc && S->Id == Id) {
            if (Data)
                *Data = S->Data;
            return TRUE;
        }
    return FALSE;
}

LRESULT DefSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return 0;
    std::uint64_t Below = UINT64_MAX;
    for (TSubclassFrame* F = SubclassTop; F; F = F->Prev)
        if (F->Wnd == Wnd) {
            Below = F->Seq;
            break;
        }
    return CallChain(W, Below, Msg, WParam, LParam);
}

// ---------------------------------------------------------------- classes

namespace {

ATOM AddClass(const char* Name, UINT Style, WNDPROC Proc, HCURSOR Cursor, HBRUSH Background,
              HICON Icon, HICON IconSm, HINSTANCE Instance) {
    if (!Name || !*Name)
        return 0;
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    std::string Key = Lower(Name);
    if (Global.Classes.count(Key))
        return 0;
    auto C = std::make_shared<TClassInfo>();
    C->Name = Name;
    C->Style = Style;
    C->Proc = Proc;
    C->Cursor = Cursor;
    C->Background = Background;
    C->Icon = Icon;
    C->IconSm = IconSm;
    C->Instance = Instance;
    Global.Classes[Key] = C;
    return ATOM(0xC000 + Global.Classes.size() % 0x3FFF);
}

std::shared_ptr<TClassInfo> FindClass(const char* Name) {
    if (!Name)
        return nullptr;
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    auto It = Global.Classes.find(Lower(Name));
    return It == Global.Classes.end() ? nullptr : It->second;
}

} // namespace

namespace winsys {
std::shared_ptr<TClassInfo> LookupClass(const char* Name) {
    return FindClass(Name);
}
} // namespace winsys

ATOM RegisterClass(const WNDCLASS* Class) {
    if (!Class)
        return 0;
    return AddClass(Class->lpszClassName, Class->style, Class->lpfnWndProc, Class->hCursor,
                    Class->hbrBackground, Class->hIcon, nullptr, Class->hInstance);
}

ATOM RegisterClassEx(const WNDCLASSEX* Class) {
    if (!Class)
        return 0;
    return AddClass(Class->lpszClassName, Class->style, Class->lpfnWndProc, Class->hCursor,
                    Class->hbrBackground, Class->hIcon, Class->hIconSm, Class->hInstance);
}

BOOL UnregisterClass(const char* ClassName, HINSTANCE) {
    if (!ClassName)
        return FALSE;
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    std::string Key = Lower(ClassName);
    auto It = Global.Classes.find(Key);
    if (It == Global.Classes.end())
        return FALSE;
    // A class still in use by a window stays registered, as the platform does.
    for (auto& [Handle, W] : Global.Windows)
        if (!W->Destroyed && W->Class == It->second)
            return FALSE;
    Global.Classes.erase(It);
    return TRUE;
}

namespace {

// Both class record layouts share these fields; the extended one only adds the small icon.
template <class TRecord> void FillClassRecord(const TClassInfo& C, TRecord& Class) {
    Class.style = C.Style;
    Class.lpfnWndProc = C.Proc;
    Class.hCursor = C.Cursor;
    Class.hbrBackground = C.Background;
    Class.hIcon = C.Icon;
    Class.hInstance = C.Instance;
    Class.lpszClassName = C.Name.c_str();
}

} // namespace

BOOL GetClassInfo(HINSTANCE, const char* ClassName, WNDCLASS* Class) {
    auto C = FindClass(ClassName);
    if (!C || !Class)
        return FALSE;
    FillClassRecord(*C, *Class);
    return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, const char* ClassName, WNDCLASSEX* Class) {
    auto C = FindClass(ClassName);
    if (!C || !Class)
        return FALSE;
    FillClassRecord(*C, *Class);
    Class->hIconSm = C->IconSm;
    return TRUE;
}

namespace {

// Copies Text into Buffer (MaxCount bytes with the terminating zero) without
// ending inside a character; answers the bytes copied.
int CopyText(const std::string& Text, char* Buffer, int MaxCount) {
    if (!Buffer || MaxCount <= 0)
        return 0;
    std::size_t Limit = std::size_t(MaxCount - 1);
    std::size_t N = std::min(Limit, Text.size());
    // Step back over continuation bytes so the copy ends on a character.
    if (N < Text.size())
        while (N > 0 && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80)
            --N;
    std::memcpy(Buffer, Text.data(), N);
    Buffer[N] = 0;
    return int(N);
}

} // namespace

int GetClassName(HWND Wnd, char* Buffer, int MaxCount) {
    TWnd* W = Ptr(Wnd);
    if (!W || !W->Class)
        return 0;
    return CopyText(W->Class->Name, Buffer, MaxCount);
}

DWORD GetClassLong(HWND Wnd, int Index) {
    TWnd* W = Ptr(Wnd);
    if (!W || !W->Class)
        return 0;
    switch (Index) {
    case GCL_STYLE:
        return W->Class->Style;
    case GCL_HCURSOR:
        return DWORD(reinterpret_cast<std::uintptr_t>(W->Class->Cursor));
    default:
        return 0;
    }
}

DWORD SetClassLong(HWND Wnd, int Index, LONG_PTR Value) {
    TWnd* W = Ptr(Wnd);
    if (!W || !W->Class)
        return 0;
    DWORD Old = GetClassLong(Wnd, Index);
    switch (Index) {
    case GCL_STYLE:
        W->Class->Style = UINT(Value);
        break;
    case GCL_HCURSOR:
        W->Class->Cursor = reinterpret_cast<HCURSOR>(Value);
        break;
    case GCL_HBRBACKGROUND:
        W->Class->Background = reinterpret_cast<HBRUSH>(Value);
        break;
    default:
        return 0;
    }
    return Old;
}

// ---------------------------------------------------------------- window data

BOOL IsWindow(HWND Wnd) {
    auto W = Find(Wnd);
    return W && !W->Destroyed ? TRUE : FALSE;
}

BOOL IsWindowUnicode(HWND Wnd) {
    return IsWindow(Wnd);
}

LONG_PTR GetWindowLong(HWND Wnd, int Index) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return 0;
    switch (Index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(W->Proc);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(IsTopLevel(W)
                                              ? (W->Owner ? W->Owner->Handle : nullptr)
                                              : (W->Parent ? W->Parent->Handle : nullptr));
    case GWL_ID:
        return W->Id;
    case GWL_STYLE:
        return LONG_PTR(W->Style);
    case GWL_EXSTYLE:
        return LONG_PTR(W->ExStyle);
    case GWL_USERDATA:
        return W->UserData;
    default:
        return 0;
    }
}

namespace {

struct TStyleStruct {
    DWORD styleOld;
    DWORD styleNew;
};

void ChangeStyle(TWnd* W, int Index, DWORD New) {
    DWORD& Field = Index == GWL_STYLE ? W->Style : W->ExStyle;
    TStyleStruct SS{Field, New};
    Send(W, WM_STYLECHANGING, WPARAM(Index), reinterpret_cast<LPARAM>(&SS));
    if (!Alive(W))
        return;
    DWORD Old = Field;
    Field = SS.styleNew;
    SS.styleOld = Old;
    if (Index == GWL_EXSTYLE && IsTopLevel(W)) {
        DWORD Changed = Old ^ W->ExStyle;
        if (Changed & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST)) {
            if (Changed & WS_EX_LAYERED) {
                W->LayeredFlags = 0;
                W->Alpha = 255;
                if (!(W->ExStyle & WS_EX_LAYERED)) {
                    // Back to normal painting: the whole window is drawn anew.
                    W->HasLayeredImage = false;
                    W->LayeredImage.clear();
                    if (W->Surface)
                        Backend().SetImage(W->Surface, {});
                    InvalidateImpl(W, nullptr,
                                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                }
            }
            if (Changed & WS_EX_TOPMOST)
                UpdateStacking();
            SyncSurfaceLayering(W);
        }
    }
    Send(W, WM_STYLECHANGED, WPARAM(Index), reinterpret_cast<LPARAM>(&SS));
}

} // namespace

LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return 0;
    LONG_PTR Old = GetWindowLong(Wnd, Index);
    switch (Index) {
    case GWL_WNDPROC:
        W->Proc = reinterpret_cast<WNDPROC>(Value);
        break;
    case GWL_HWNDPARENT:
        if (IsTopLevel(W)) {
            TWnd* Owner = Ptr(reinterpret_cast<HWND>(Value));
            W->Owner = Owner && !Owner->IsDesktop ? TopLevelOf(Owner) : nullptr;
        }
        break;
    case GWL_ID:
        W->Id = Value;
        break;
    case GWL_STYLE:
    case GWL_EXSTYLE:
        ChangeStyle(W, Index, DWORD(Value));
        break;
    case GWL_USERDATA:
        W->UserData = Value;
        break;
    default:
        return 0;
    }
    return Old;
}

BOOL SetWindowText(HWND Wnd, std::string_view Text) {
    std::string Copy(Text);
    return SendMessage(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Copy.c_str())) ? TRUE : FALSE;
}

int GetWindowText(HWND Wnd, char* Buffer, int MaxCount) {
    if (!Buffer || MaxCount <= 0)
        return 0;
    Buffer[0] = 0;
    return int(SendMessage(Wnd, WM_GETTEXT, WPARAM(MaxCount), reinterpret_cast<LPARAM>(Buffer)));
}

std::string GetWindowText(HWND Wnd) {
    int Len = GetWindowTextLength(Wnd);
    std::string Result(std::size_t(Len) + 1, '\0');
    int Got = GetWindowText(Wnd, Result.data(), Len + 1);
    Result.resize(std::size_t(std::max(Got, 0)));
    return Result;
}

int GetWindowTextLength(HWND Wnd) {
    return int(SendMessage(Wnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace winsys {
int CopyWindowText(const std::string& Text, char* Buffer, int MaxCount) {
    return CopyText(Text, Buffer, MaxCount);
}
} // namespace winsys

BOOL SetProp(HWND Wnd, const char* Name, HANDLE Data) {
    TWnd* W = Ptr(Wnd);
    if (!W || !Name)
        return FALSE;
    W->Props[Name] = Data;
    return TRUE;
}

HANDLE GetProp(HWND Wnd, const char* Name) {
    TWnd* W = Ptr(Wnd);
    if (!W || !Name)
        return nullptr;
    auto It = W->Props.find(Name);
    return It == W->Props.end() ? nullptr : It->second;
}

HANDLE RemoveProp(HWND Wnd, const char* Name) {
    TWnd* W = Ptr(Wnd);
    if (!W || !Name)
        return nullptr;
    auto It = W->Props.find(Name);
    if (It == W->Props.end())
        return nullptr;
    HANDLE Data = It->second;
    W->Props.erase(It);
    return Data;
}

// ---------------------------------------------------------------- hierarchy

HWND GetDesktopWindow() {
    return Desktop()->Handle;
}

HWND GetParent(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    if (!W || W->IsDesktop)
        return nullptr;
    if (W->Style & WS_CHILD)
        return W->Parent && !W->Parent->IsDesktop ? W->Parent->Handle : nullptr;
    return W->Owner ? W->Owner->Handle : nullptr;
}

HWND GetAncestor(HWND Wnd, UINT Flags) {
    TWnd* W = Ptr(Wnd);
    if (!W || W->IsDesktop)
        return nullptr;
    switch (Flags) {
    case GA_PARENT:
        return W->Parent ? W->Parent->Handle : nullptr;
    case GA_ROOT:
        return TopLevelOf(W)->Handle;
    case GA_ROOTOWNER: {
        TWnd* R = TopLevelOf(W);
        while (R->Owner)
            R = R->Owner;
        return R->Handle;
    }
    default:
        return nullptr;
    }
}

BOOL IsChild(HWND Parent, HWND Wnd) {
    TWnd* P = Ptr(Parent);
    TWnd* W = Ptr(Wnd);
    if (!P || !W)
        return FALSE;
    for (TWnd* Cur = W; Cur && (Cur->Style & WS_CHILD); Cur = Cur->Parent)
        if (Cur->Parent == P)
            return TRUE;
    return FALSE;
}

HWND GetWindow(HWND Wnd, UINT Cmd) {
    TWnd* W = Ptr(Wnd);
    if (!W)
        return nullptr;
    if (Cmd == GW_CHILD)
        return W->Children.empty() ? nullptr : W->Children.front()->Handle;
    if (Cmd == GW_OWNER)
        return IsTopLevel(W) && W->Owner ? W->Owner->Handle : nullptr;
    if (!W->Parent)
        return nullptr;
    auto& Siblings = W->Parent->Children;
    auto It = std::find(Siblings.begin(), Siblings.end(), W);
    switch (Cmd) {
    case GW_HWNDFIRST:
        return Siblings.front()->Handle;
    case GW_HWNDLAST:
        return Siblings.back()->Handle;
    case GW_HWNDNEXT:
        return It != Siblings.end() && It + 1 != Siblings.end() ? (*(It + 1))->Handle : nullptr;
    case GW_HWNDPREV:
        return It != Siblings.begin() && It != Siblings.end() ? (*(It - 1))->Handle : nullptr;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND Wnd) {
    return GetWindow(Wnd ? Wnd : GetDesktopWindow(), GW_CHILD);
}

namespace {

bool EnumChildren(TWnd* Parent, const WNDENUMPROC& Proc, LPARAM LParam) {
    // A copy: the procedure may create or destroy windows.
    std::vector<HWND> Handles;
    for (TWnd* C : Parent->Children)
        Handles.push_back(C->Handle);
    for (HWND H : Handles) {
        TWnd* C = Ptr(H);
        if (!C)
            continue;
        if (!Proc(H, LParam))
            return false;
        if ((C = Ptr(H)) && !EnumChildren(C, Proc, LParam))
            return false;
    }
    return true;
}

} // namespace

BOOL EnumChildWindows(HWND Parent, const WNDENUMPROC& Proc, LPARAM LParam) {
    TWnd* P = Parent ? Ptr(Parent) : Desktop();
    if (!P || !Proc)
        return FALSE;
    return EnumChildren(P, Proc, LParam) ? TRUE : FALSE;
}

BOOL EnumThreadWindows(DWORD ThreadId, const WNDENUMPROC& Proc, LPARAM LParam) {
    std::vector<HWND> Handles;
    for (TWnd* C : Desktop()->Children)
        if (C->Thread == ThreadId)
            Handles.push_back(C->Handle);
    for (HWND H : Handles)
        if (IsWindow(H) && !Proc(H, LParam))
            return FALSE;
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND Wnd, DWORD* ProcessId) {
    auto W = Find(Wnd);
    if (!W || W->Destroyed)
        return 0;
    if (ProcessId)
        *ProcessId = DWORD(::getpid());
    return W->Thread;
}

BOOL IsWindowVisible(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    return W && IsVisible(W) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    return W && !(W->Style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    return W && (W->Style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND Wnd) {
    TWnd* W = Ptr(Wnd);
    return W && (W->Style & WS_MAXIMIZE) ? TRUE : FALSE;
}

void SetMessageHook(std::function<void(const TMessageHookInfo&)> Hook) {
    G().Hook = std::move(Hook);
}

UINT RegisterWindowMessage(const char* Name) {
    if (!Name || !*Name)
        return 0;
    TGlobal& Global = G();
    std::lock_guard Guard(Global.Lock);
    std::string Key = Lower(Name);
    auto It = Global.Messages.find(Key);
    if (It != Global.Messages.end())
        return It->second;
    if (Global.Messages.size() >= 0x4000)
        return 0;
    UINT Number = UINT(0xC000 + Global.Messages.size());
    Global.Messages[Key] = Number;
    return Number;
}
