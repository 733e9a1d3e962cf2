#include "platform/win/MessageRecorder.h"

#include <cstdio>
#include <set>

namespace {

struct TName {
    UINT Msg;
    const char* Name;
};

const TName Names[] = {
    {WM_NULL, "WM_NULL"},
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETREDRAW, "WM_SETREDRAW"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_QUIT, "WM_QUIT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
    {WM_CANCELMODE, "WM_CANCELMODE"},
    {WM_SETCURSOR, "WM_SETCURSOR"},
    {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
    {WM_STYLECHANGING, "WM_STYLECHANGING"},
    {WM_STYLECHANGED, "WM_STYLECHANGED"},
    {WM_DISPLAYCHANGE, "WM_DISPLAYCHANGE"},
    {WM_NCCREATE, "WM_NCCREATE"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
    {WM_NCHITTEST, "WM_NCHITTEST"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_GETDLGCODE, "WM_GETDLGCODE"},
    {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
    {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
    {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
    {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
    {WM_NCRBUTTONDOWN, "WM_NCRBUTTONDOWN"},
    {WM_NCRBUTTONUP, "WM_NCRBUTTONUP"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_SYSCHAR, "WM_SYSCHAR"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
    {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
    {WM_RBUTTONUP, "WM_RBUTTONUP"},
    {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"},
    {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
    {WM_MBUTTONUP, "WM_MBUTTONUP"},
    {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
    {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    {WM_SIZING, "WM_SIZING"},
    {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    {WM_MOVING, "WM_MOVING"},
    {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
    {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
    {WM_MOUSEHOVER, "WM_MOUSEHOVER"},
    {WM_NCMOUSELEAVE, "WM_NCMOUSELEAVE"},
    {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
};

std::string Hex(std::uintptr_t V) {
    char Buffer[32];
    std::snprintf(Buffer, sizeof Buffer, "0x%llx", static_cast<unsigned long long>(V));
    return Buffer;
}

} // namespace

std::string MessageName(UINT Msg) {
    for (const TName& N : Names)
        if (N.Msg == Msg)
            return N.Name;
    return Hex(Msg);
}

TMessageRecorder::TMessageRecorder() {
    SetMessageHook([this](const TMessageHookInfo& Info) {
        FMessages.push_back(
            {Info.Wnd, Info.Msg, Info.WParam, Info.LParam, Info.Posted, Info.FromDefProc});
    });
}

TMessageRecorder::~TMessageRecorder() {
    SetMessageHook(nullptr);
}

std::vector<TRecordedMessage> TMessageRecorder::Of(HWND Wnd) const {
    std::vector<TRecordedMessage> Result;
    for (auto& M : FMessages)
        if (M.Wnd == Wnd)
            Result.push_back(M);
    return Result;
}

int TMessageRecorder::Count(HWND Wnd, UINT Msg) const {
    int N = 0;
    for (auto& M : FMessages)
        if ((!Wnd || M.Wnd == Wnd) && M.Msg == Msg)
            ++N;
    return N;
}

std::string TMessageRecorder::Describe(HWND Wnd, UINT Msg, std::optional<WPARAM> WParam,
                                       std::optional<LPARAM> LParam) const {
    std::string S;
    auto It = FNames.find(Wnd);
    S += It != FNames.end() ? It->second : Wnd ? Hex(reinterpret_cast<std::uintptr_t>(Wnd)) : "*";
    S += " " + MessageName(Msg);
    if (WParam)
        S += " w=" + Hex(*WParam);
    if (LParam)
        S += " l=" + Hex(std::uintptr_t(*LParam));
    return S;
}

std::string TMessageRecorder::Compare(const std::vector<TExpectedMessage>& Expected) const {
    std::set<UINT> Mentioned;
    std::set<HWND> Windows;
    bool AnyWindow = false;
    for (auto& E : Expected) {
        Mentioned.insert(E.Msg);
        if (E.Wnd)
            Windows.insert(E.Wnd);
        else
            AnyWindow = true;
    }
    std::vector<TRecordedMessage> Actual;
    for (auto& M : FMessages)
        if (Mentioned.count(M.Msg) && (AnyWindow || Windows.count(M.Wnd)))
            Actual.push_back(M);
    auto Matches = [](const TExpectedMessage& E, const TRecordedMessage& M) {
        return (!E.Wnd || E.Wnd == M.Wnd) && E.Msg == M.Msg &&
               (!E.WParam || *E.WParam == M.WParam) && (!E.LParam || *E.LParam == M.LParam);
    };
    std::size_t I = 0, J = 0;
    bool Ok = true;
    while (I < Expected.size()) {
        if (J < Actual.size() && Matches(Expected[I], Actual[J])) {
            ++I;
            ++J;
        } else if (Expected[I].Optional)
            ++I;
        else {
            Ok = false;
            break;
        }
    }
    if (Ok && J == Actual.size())
        return {};
    std::string Out = "expected:\n";
    for (std::size_t K = 0; K < Expected.size(); ++K) {
        auto& E = Expected[K];
        Out += (K == I ? " >> " : "    ") + Describe(E.Wnd, E.Msg, E.WParam, E.LParam) +
               (E.Optional ? " (optional)" : "") + "\n";
    }
    Out += "recorded (messages the table mentions):\n";
    for (std::size_t K = 0; K < Actual.size(); ++K) {
        auto& M = Actual[K];
        Out += (K == J ? " >> " : "    ") + Describe(M.Wnd, M.Msg, M.WParam, M.LParam) +
               (M.FromDefProc ? " (DefWindowProc)" : "") + (M.Posted ? " (posted)" : "") + "\n";
    }
    return Out;
}
