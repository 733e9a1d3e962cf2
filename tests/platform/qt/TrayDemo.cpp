// A notification icon of the window system on the Qt backend of a real X
// display, for the end-to-end tray tests. Its picture is red on the left
// and blue on the right. It prints one line for each thing that happens:
//
//   added | add refused            the answer of NIM_ADD
//   WM_... X Y                     a callback, with the cursor position
//   area unavailable | available   NotifyAreaAvailable() changed
//   TaskbarCreated                 then it adds its icon again
//
// It runs until it is killed.
#include "platform/core/Threads.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/MessageRecorder.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>

namespace {

constexpr UINT CallbackMessage = WM_USER + 1024;
UINT TaskbarCreated = 0;
HICON Icon = nullptr;
bool WasAvailable = false;

void Say(const std::string& Line) {
    std::printf("%s\n", Line.c_str());
    std::fflush(stdout);
}

HICON TwoColourIcon() {
    TArgbImage Image;
    Image.Width = Image.Height = 32;
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X)
            Image.Pixels.push_back(X < 16 ? 0xFFFF0000u : 0xFF0000FFu);
    return CreateIconFromImages({Image});
}

void AddIcon(HWND Wnd) {
    NOTIFYICONDATA Data;
    Data.cbSize = sizeof Data;
    Data.hWnd = Wnd;
    Data.uID = 1;
    Data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Data.uCallbackMessage = CallbackMessage;
    Data.hIcon = Icon;
    Data.szTip = "Ostrela";
    Say(Shell_NotifyIcon(NIM_ADD, &Data) ? "added" : "add refused");
}

LRESULT DemoProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == CallbackMessage) {
        TPoint P;
        GetCursorPos(&P);
        Say(MessageName(UINT(LParam)) + " " + std::to_string(P.X) + " " + std::to_string(P.Y));
        return 0;
    }
    if (Msg == TaskbarCreated) {
        Say("TaskbarCreated");
        AddIcon(Wnd);
        return 0;
    }
    if (Msg == WM_TIMER) {
        bool Available = NotifyAreaAvailable();
        if (Available != WasAvailable)
            Say(Available ? "area available" : "area unavailable");
        WasAvailable = Available;
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    QGuiApplication App(argc, argv);
    TQtBackend Backend;
    SetBackend(&Backend);
    TaskbarCreated = RegisterWindowMessage("TaskbarCreated");
    Icon = TwoColourIcon();
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWindowProc(DemoProc);
    Class.lpszClassName = "TrayDemo";
    RegisterClass(&Class);
    // A hidden window receives the callbacks, as a tray icon's usually does.
    HWND Wnd = CreateWindowEx(0, "TrayDemo", "Tray", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
    WasAvailable = NotifyAreaAvailable();
    AddIcon(Wnd);
    SetTimer(Wnd, 1, 100, nullptr);
    MSG M;
    while (GetMessage(&M, nullptr, 0, 0) > 0)
        DispatchMessage(&M);
    return 0;
}
