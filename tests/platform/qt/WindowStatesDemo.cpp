// Plain windows of the window system on the Qt backend of a real X display,
// for the end-to-end tests of layered windows and window states. Each run
// prints what its window hears, one line at a time.
//
//   qt_window_states plain X Y W H   a grey window
//   qt_window_states holed X Y W H   a layered window, opaque but for a
//                                    see-through square in its middle
//                                    (per-pixel alpha 0)
//   qt_window_states keyed X Y W H   the same with the square painted in
//                                    the window's colour key
//   qt_window_states states          a framed, sizable window "States";
//                                    prints "size minimized|maximized|
//                                    restored" with the caption buttons'
//                                    centres, as the window hears WM_SIZE;
//                                    Alt+F4 ends it
//
// Each prints "ready" (the layered ones add whether a compositor runs) once
// its window is on the screen, and "click X Y" for each press on it.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/gdi/Gdi.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

TQtBackend* Desktop = nullptr;
constexpr COLORREF Key = RGB(255, 0, 255);
bool PaintsKeyedSquare = false;

void Say(const std::string& Line) {
    std::printf("%s\n", Line.c_str());
    std::fflush(stdout);
}

// The centre of the caption buttons answering Hit, relative to the window's
// top-left corner, found by asking the window itself.
std::string ButtonCentre(HWND Wnd, int Hit) {
    TRect R;
    GetWindowRect(Wnd, &R);
    int Y = R.Top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    int From = -1, To = -1;
    for (int X = R.Left; X < R.Right; ++X)
        if (SendMessage(Wnd, WM_NCHITTEST, 0, MAKELPARAM(unsigned(X), unsigned(Y))) == Hit) {
            From = From < 0 ? X : From;
            To = X;
        }
    return std::to_string((From + To) / 2 - R.Left) + " " + std::to_string(Y - R.Top);
}

void SayState(HWND Wnd, WPARAM Kind) {
    const char* State = Kind == SIZE_MINIMIZED   ? "minimized"
                        : Kind == SIZE_MAXIMIZED ? "maximized"
                                                 : "restored";
    Say(std::string("size ") + State + " " + ButtonCentre(Wnd, HTMINBUTTON) + " " +
        ButtonCentre(Wnd, HTMAXBUTTON));
}

LRESULT DemoProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
    case WM_LBUTTONDOWN:
        Say("click " + std::to_string(GET_X_LPARAM(LParam)) + " " +
            std::to_string(GET_Y_LPARAM(LParam)));
        return 0;
    case WM_PAINT:
        if (PaintsKeyedSquare) {
            PAINTSTRUCT PS;
            HDC DC = BeginPaint(Wnd, &PS);
            TRect R;
            GetClientRect(Wnd, &R);
            HBRUSH Red = CreateSolidBrush(RGB(128, 0, 0)), Keyed = CreateSolidBrush(Key);
            FillRect(DC, &R, Red);
            TRect Square =
                Rect(R.Width() / 4, R.Height() / 4, R.Width() * 3 / 4, R.Height() * 3 / 4);
            FillRect(DC, &Square, Keyed);
            DeleteObject(ToObj(Red));
            DeleteObject(ToObj(Keyed));
            EndPaint(Wnd, &PS);
            return 0;
        }
        break;
    case WM_SIZE:
        if (IsWindowVisible(Wnd))
            SayState(Wnd, WParam);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// Opaque dark red with a see-through square of half the size in the middle.
void GivePicture(HWND Wnd, int W, int H) {
    BITMAPINFO BI{};
    BI.bmiHeader.biWidth = W;
    BI.bmiHeader.biHeight = -H;
    BI.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    HDC Mem = CreateCompatibleDC(nullptr);
    HBITMAP Bmp = CreateDIBSection(Mem, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
    HGDIOBJ Old = SelectObject(Mem, ToObj(Bmp));
    auto* Px = static_cast<std::uint32_t*>(Bits);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            bool Hole = X >= W / 4 && X < W * 3 / 4 && Y >= H / 4 && Y < H * 3 / 4;
            Px[Y * W + X] = Hole ? 0 : 0xFF800000;
        }
    BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    TPoint Src{0, 0};
    TSize Size{W, H};
    UpdateLayeredWindow(Wnd, nullptr, nullptr, &Size, Mem, &Src, 0, &Blend, ULW_ALPHA);
    SelectObject(Mem, Old);
    DeleteObject(ToObj(Bmp));
    DeleteDC(Mem);
}

bool WaitUntilShown(HWND Wnd) {
    std::uint32_t GiveUp = GetTickCount() + 30000;
    MSG M;
    for (;;) {
        while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&M);
        FlushPresents();
        QWindow* Q = Desktop->SurfaceWindow(WindowSurface(Wnd));
        if (Q && Q->isExposed())
            return true;
        if (std::int32_t(GetTickCount() - GiveUp) > 0)
            return false;
        Desktop->Wait(GetTickCount() + 100, "WaitUntilShown");
    }
}

HWND MakeWindow(const std::string& Mode, int X, int Y, int W, int H) {
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWindowProc(DemoProc);
    Class.hbrBackground = CreateSolidBrush(RGB(160, 160, 160));
    Class.lpszClassName = "StatesDemo";
    RegisterClass(&Class);
    if (Mode == "states")
        return CreateWindowEx(0, "StatesDemo", "States", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200,
                              400, 300, nullptr, nullptr, nullptr, nullptr);
    PaintsKeyedSquare = Mode == "keyed";
    DWORD ExStyle = Mode == "plain" ? 0 : WS_EX_LAYERED;
    HWND Wnd = CreateWindowEx(ExStyle, "StatesDemo", Mode.c_str(), WS_POPUP, X, Y, W, H, nullptr,
                              nullptr, nullptr, nullptr);
    if (Mode == "holed")
        GivePicture(Wnd, W, H);
    else if (Mode == "keyed")
        SetLayeredWindowAttributes(Wnd, Key, 255, LWA_COLORKEY);
    ShowWindow(Wnd, SW_SHOW);
    return Wnd;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    std::string Mode = argc > 1 ? argv[1] : "";
    bool Placed = Mode == "plain" || Mode == "holed" || Mode == "keyed";
    if ((Placed && argc != 6) || (!Placed && Mode != "states")) {
        std::fprintf(stderr, "usage: qt_window_states plain|holed|keyed X Y W H | states\n");
        return 2;
    }
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    int Status = 0;
    {
        TQtBackend Backend;
        Desktop = &Backend;
        SetBackend(&Backend);
        int X = 0, Y = 0, W = 0, H = 0;
        if (Placed) {
            X = std::atoi(argv[2]);
            Y = std::atoi(argv[3]);
            W = std::atoi(argv[4]);
            H = std::atoi(argv[5]);
        }
        HWND Wnd = MakeWindow(Mode, X, Y, W, H);
        if (!WaitUntilShown(Wnd)) {
            std::fprintf(stderr, "qt_window_states: the window never showed\n");
            Status = 1;
        } else {
            if (Mode == "holed" || Mode == "keyed")
                Say(std::string("ready compositor ") + (Backend.HasCompositor() ? "yes" : "no"));
            else if (Mode == "states")
                SayState(Wnd, SIZE_RESTORED);
            else
                Say("ready");
            MSG M;
            while (GetMessage(&M, nullptr, 0, 0) > 0) {
                TranslateMessage(&M);
                DispatchMessage(&M);
            }
        }
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    return Status;
}
