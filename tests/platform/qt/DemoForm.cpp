// The plain-controls demonstration for the end-to-end tests: a form of the
// class library's standard controls and a popup over it, on the Qt backend
// of a real X display. Usage: qt_demo_form OUTDIR
//
// A layered disc with per-pixel alpha stands beside the popup. Once
// everything is on the screen it writes OUTDIR/layout.txt (each
// control's screen rectangle), OUTDIR/label.bmp (the label's text drawn by
// the graphics layer with the label's font) and prints "ready". A click on
// the popup prints whether the form kept the X input focus; a drag of the
// caption prints how far the form moved. Closing the form ends the program
// with status 0.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Graphics.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>
#include <QWindow>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

TQtBackend* Desktop = nullptr;
HWND FormWnd = nullptr;

xcb_window_t XWindowOf(HWND Wnd) {
    QWindow* W = Desktop->SurfaceWindow(WindowSurface(Wnd));
    return W ? xcb_window_t(W->winId()) : 0;
}

xcb_connection_t* Connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t XFocus() {
    xcb_get_input_focus_reply_t* Reply =
        xcb_get_input_focus_reply(Connection(), xcb_get_input_focus(Connection()), nullptr);
    xcb_window_t Focus = Reply ? Reply->focus : 0;
    std::free(Reply);
    return Focus;
}

LRESULT PopupProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        std::printf("popup clicked; form has the X input focus: %s; form active: %s\n",
                    XFocus() == XWindowOf(FormWnd) ? "yes" : "no",
                    GetActiveWindow() == FormWnd ? "yes" : "no");
        std::fflush(stdout);
        return 0;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

// Reports how far a drag of the caption moved the form: the window system's
// move/size loop, with the pointer grabbed on the X display.
LRESULT FormSubclass(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR) {
    static TRect Start;
    if (Msg == WM_ENTERSIZEMOVE)
        GetWindowRect(Wnd, &Start);
    LRESULT Result = DefSubclassProc(Wnd, Msg, WParam, LParam);
    if (Msg == WM_EXITSIZEMOVE) {
        TRect End;
        GetWindowRect(Wnd, &End);
        std::printf("form moved by %d %d\n", End.Left - Start.Left, End.Top - Start.Top);
        std::fflush(stdout);
    }
    return Result;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner) {
        SetName("DemoForm");
        SetCaption("Controls demo");
        SetBorderStyle(bsSingle);
        SetPosition(poDesktopCenter);
        Font()->SetName("MS Sans Serif");
        // The client size follows from the frame, which the window knows.
        HandleNeeded();
        SetClientWidth(480);
        SetClientHeight(320);
        Button = Place(new TButton(this), 16, 16, 90, 28);
        Button->SetCaption("添加");
        Label = Place(new TLabel(this), 16, 60, 0, 0);
        Label->SetCaption("视频分辨率：");
        Check = Place(new TCheckBox(this), 16, 90, 260, 20);
        Check->SetCaption("转换时进行实时视频预览");
        Check->SetChecked(true);
        Radio1 = Place(new TRadioButton(this), 16, 120, 120, 20);
        Radio1->SetCaption("MP4");
        Radio1->SetChecked(true);
        Radio2 = Place(new TRadioButton(this), 150, 120, 120, 20);
        Radio2->SetCaption("AVI");
        Panel = Place(new TPanel(this), 16, 150, 200, 60);
        Panel->SetCaption("面板");
        Progress = Place(new TProgressBar(this), 16, 222, 260, 18);
        Progress->SetPosition(40);
        Track = Place(new TTrackBar(this), 16, 252, 260, 32);
    }

    template <class T> T* Place(T* Control, int X, int Y, int W, int H) {
        Control->SetParent(this);
        if (W > 0)
            Control->SetBounds(X, Y, W, H);
        else {
            Control->SetLeft(X);
            Control->SetTop(Y);
        }
        return Control;
    }

    TButton* Button;
    TLabel* Label;
    TCheckBox* Check;
    TRadioButton* Radio1;
    TRadioButton* Radio2;
    TPanel* Panel;
    TProgressBar* Progress;
    TTrackBar* Track;
};

HWND MakePopup(TCustomForm* Owner) {
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWindowProc(PopupProc);
    Class.lpszClassName = "DemoPopup";
    Class.hbrBackground = CreateSolidBrush(RGB(255, 220, 0));
    RegisterClass(&Class);
    TPoint At = Owner->ClientToScreen({320, 40});
    HWND Popup =
        CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, "DemoPopup", "",
                       WS_POPUP, At.X, At.Y, 120, 80, Owner->Handle(), nullptr, nullptr, nullptr);
    ShowWindow(Popup, SW_SHOWNOACTIVATE);
    return Popup;
}

// A layered window with per-pixel alpha: a red disc on a transparent
// square. Without a compositor it must show as the disc's shape, not as a
// black square.
HWND MakeLayeredDisc(TCustomForm* Owner) {
    constexpr int Size = 60;
    TPoint At = Owner->ClientToScreen({340, 200});
    HWND Disc = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE, "DemoPopup", "",
                               WS_POPUP, At.X, At.Y, Size, Size, Owner->Handle(), nullptr, nullptr,
                               nullptr);
    TBitmap Picture;
    Picture.SetPixelFormat(pf32bit);
    Picture.SetSize(Size, Size);
    for (int Y = 0; Y < Size; ++Y) {
        auto* Row = static_cast<std::uint32_t*>(Picture.ScanLine(Y));
        for (int X = 0; X < Size; ++X) {
            int DX = X - Size / 2, DY = Y - Size / 2;
            Row[X] = DX * DX + DY * DY <= 25 * 25 ? 0xFFFF0000 : 0;
        }
    }
    TPoint Origin{0, 0};
    TSize Extent{Size, Size};
    BLENDFUNCTION Blend;
    Blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindow(Disc, nullptr, &At, &Extent, Picture.Canvas()->Handle(), &Origin, 0, &Blend,
                        ULW_ALPHA);
    ShowWindow(Disc, SW_SHOWNOACTIVATE);
    return Disc;
}

void WriteRect(std::ofstream& Out, const char* Name, TRect R) {
    Out << Name << ' ' << R.Left << ' ' << R.Top << ' ' << R.Width() << ' ' << R.Height() << '\n';
}

void WriteLayout(const std::string& Dir, TDemoForm* Form, HWND Popup, HWND Disc) {
    std::ofstream Out(Dir + "/layout.txt");
    auto Of = [](TControl* C) {
        TPoint P = C->ClientToScreen({0, 0});
        return Bounds(P.X, P.Y, C->Width(), C->Height());
    };
    WriteRect(Out, "button", Of(Form->Button));
    WriteRect(Out, "label", Of(Form->Label));
    WriteRect(Out, "check", Of(Form->Check));
    WriteRect(Out, "radio1", Of(Form->Radio1));
    WriteRect(Out, "radio2", Of(Form->Radio2));
    WriteRect(Out, "panel", Of(Form->Panel));
    WriteRect(Out, "progress", Of(Form->Progress));
    WriteRect(Out, "track", Of(Form->Track));
    TRect R;
    GetWindowRect(Popup, &R);
    WriteRect(Out, "popup", R);
    GetWindowRect(Form->Handle(), &R);
    WriteRect(Out, "form", R);
    GetWindowRect(Disc, &R);
    WriteRect(Out, "disc", R);
    // As 0xRRGGBB, the way pictures hold it.
    COLORREF Back = COLORREF(ColorToRGB(Form->Color()));
    Out << "background " << std::hex
        << ((GetRValue(Back) << 16) | (GetGValue(Back) << 8) | GetBValue(Back)) << '\n';
}

// The label's text as the graphics layer draws it with the label's font.
void WriteLabelPicture(const std::string& Dir, TLabel* Label) {
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(Label->Width(), Label->Height());
    TCanvas* C = Picture.Canvas();
    C->Brush()->SetColor(Label->Color());
    TRect All = Rect(0, 0, Label->Width(), Label->Height());
    C->FillRect(All);
    C->Font()->Assign(Label->Font());
    HDC DC = C->Handle();
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, COLORREF(ColorToRGB(Label->Font()->Color())));
    DrawText(DC, Label->Caption(), -1, &All, DT_EXPANDTABS | DT_LEFT);
    Picture.SaveToFile(Dir + "/label.bmp");
}

// Runs the loop until both windows are on the screen and their pixels have
// reached the X server.
bool WaitUntilShown(const std::vector<HWND>& Windows) {
    std::uint32_t GiveUp = GetTickCount() + 30000;
    for (;;) {
        Application->ProcessMessages();
        FlushPresents();
        bool Shown = true;
        for (HWND W : Windows) {
            QWindow* Q = Desktop->SurfaceWindow(WindowSurface(W));
            Shown = Shown && Q && Q->isExposed();
        }
        if (Shown)
            break;
        if (std::int32_t(GetTickCount() - GiveUp) > 0)
            return false;
        Desktop->Wait(GetTickCount() + 100, "WaitUntilShown");
    }
    Application->ProcessMessages();
    FlushPresents();
    Desktop->Wait(GetTickCount(), "WaitUntilShown");
    // A round trip: everything sent before it has been handled by the server.
    XFocus();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: qt_demo_form OUTDIR\n");
        return 2;
    }
    std::string Dir = argv[1];
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "qt_demo_form: needs an X display\n");
        return 1;
    }
    int Status = 0;
    {
        TQtBackend Backend;
        Desktop = &Backend;
        SetBackend(&Backend);
        InitApplication();
        auto* Form = Application->CreateForm<TDemoForm>();
        Form->Show();
        FormWnd = Form->Handle();
        SetWindowSubclass(FormWnd, FormSubclass, 1, 0);
        HWND Popup = MakePopup(Form);
        HWND Disc = MakeLayeredDisc(Form);
        if (!WaitUntilShown({FormWnd, Popup, Disc})) {
            std::fprintf(stderr, "qt_demo_form: the windows never showed\n");
            Status = 1;
        } else {
            WriteLayout(Dir, Form, Popup, Disc);
            WriteLabelPicture(Dir, Form->Label);
            std::printf("ready\n");
            std::fflush(stdout);
            Application->Run();
        }
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    return Status;
}
