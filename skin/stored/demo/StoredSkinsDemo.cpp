// Shows the stored skins the way the program takes them: the embedded list,
// then TbsSkinData::SetSkinIndex. Usage:
//   stored-skins-demo N         the main window's mock-up in skin N, in a
//                               top-level window shaped by the skin's frame
//                               region
//   stored-skins-demo previews  the eleven select-skin previews side by side
// Prints "ready" once the windows are shown; closes on Escape, on a close
// request, or after a minute.
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Gdi.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "skin/model/bsSkinData.h"
#include "skin/stored/StoredSkins.h"
#include "skin/stored/sheet/MockUp.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <string>

namespace {

std::map<HWND, std::unique_ptr<TBitmap>> Pictures;

LRESULT PictureProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
    case WM_PAINT: {
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(Wnd, &PS);
        if (auto It = Pictures.find(Wnd); It != Pictures.end()) {
            TBitmap& B = *It->second;
            BitBlt(DC, 0, 0, B.Width(), B.Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
        }
        EndPaint(Wnd, &PS);
        return 0;
    }
    case WM_KEYDOWN:
        if (WParam == VK_ESCAPE)
            PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
    case WM_TIMER:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// A top-level window showing Picture, its region the skin's frame region.
HWND ShowShaped(TbsSkinData& Skin, std::unique_ptr<TBitmap> Picture, int X, int Y) {
    const int W = Picture->Width(), H = Picture->Height();
    HWND Wnd = CreateWindowEx(0, "StoredSkinWindow", "stored skin", WS_POPUP, X, Y, W, H, nullptr,
                              nullptr, nullptr, nullptr);
    Pictures[Wnd] = std::move(Picture);
    if (HRGN Rgn = MakeFrameRegion(Skin, W, H))
        SetWindowRgn(Wnd, Rgn, TRUE);
    ShowWindow(Wnd, SW_SHOW);
    return Wnd;
}

int Show(int Skin) {
    TQtBackend Desktop;
    SetBackend(&Desktop);
    int Status = 0;
    try {
        InitApplication();
        Application->Initialize();
        WNDCLASS Class{};
        Class.lpfnWndProc = PictureProc;
        Class.lpszClassName = "StoredSkinWindow";
        RegisterClass(&Class);
        std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
        TbsSkinData Data(nullptr);
        Data.SetSkinList(List.get());
        HWND First = nullptr;
        if (Skin >= 0) {
            Data.SetSkinIndex(Skin);
            First = ShowShaped(Data, DrawMainWindow(Data, true), 20, 20);
        } else {
            for (int i = 0; i < StoredSkinCount(); ++i) {
                Data.SetSkinIndex(i);
                HWND W = ShowShaped(Data, DrawPreview(Data, true), 20 + (i % 6) * 240,
                                    20 + (i / 6) * 190);
                if (!First)
                    First = W;
            }
        }
        SetTimer(First, 1, 60000, nullptr);
        std::printf("ready\n");
        std::fflush(stdout);
        MSG Msg;
        while (GetMessage(&Msg, nullptr, 0, 0)) {
            TranslateMessage(&Msg);
            DispatchMessage(&Msg);
        }
        for (auto& [Wnd, Picture] : Pictures)
            DestroyWindow(Wnd);
        Pictures.clear();
    } catch (const std::exception& E) {
        std::fprintf(stderr, "stored-skins-demo: %s\n", E.what());
        Status = 1;
    }
    DoneApplication();
    ResetWindowSystem();
    SetBackend(nullptr);
    return Status;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: stored-skins-demo N | previews\n");
        return 2;
    }
    const bool Previews = std::strcmp(argv[1], "previews") == 0;
    const int Skin = Previews ? -1 : std::atoi(argv[1]);
    if (!Previews && (Skin < 0 || Skin >= StoredSkinCount())) {
        std::fprintf(stderr, "stored-skins-demo: no stored skin %s\n", argv[1]);
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
    return Show(Skin);
}
