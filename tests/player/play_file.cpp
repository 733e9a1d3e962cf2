// Plays a file in the preview player and prints every event it delivers,
// with the thread that delivered it and the position.
//
//   play_file FILE [--paused] [--seek SECONDS] [--stop-after SECONDS]
//             [--window] [--shot-at STATE:PNG]... [--shot-after SECONDS:PNG]
//             [--host WxH] [--snapshot OUT.bmp] [--stats] [--filters TEXT]
//             [--presented OUT.png]
//
// By default the host is a 200 x 124 child (the main window's panel) of a
// headless top-level window. With --window the program runs on the desktop
// backend: a form titled "play_file" holds the host, whose own colour is a
// dark grey. --shot-at psEnd:a.png photographs the screen with the
// screenshot helper when that state is delivered (psStop after the host has
// repainted), --shot-after once the position passes SECONDS. --host sizes
// the host (default 200 x 124), --snapshot saves CurrentFrame at the first
// psPause, --stats prints the pictures shown, dropped and skipped and how far
// pictures were from the master clock when shown (after the first 0.5 s, and
// after the first 2 s),
// --filters sets VideoFilters, --presented saves what the host window shows
// when the playback ends (read back through the window system, on either
// backend).
// The playback stops at psEnd; the program ends with psStop.
#include "media/FFmpegLoader.h"
#include "media/FFmpegLogger.h"
#include "media/MyUtils.h"
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PngImage.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "player/FFPlay.h"

#include <QGuiApplication>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr COLORREF HostGrey = 0x00303030;

const char* StateName(TPlayState AState) {
    static const char* const Names[] = {"psPlay", "psPause", "psResume",
                                        "psStep", "psStop",  "psEnd"};
    return Names[AState];
}

LRESULT HostProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_PAINT) {
        PAINTSTRUCT PS;
        HDC DC = BeginPaint(Wnd, &PS);
        TRect Client;
        GetClientRect(Wnd, &Client);
        HBRUSH Brush = CreateSolidBrush(HostGrey);
        FillRect(DC, &Client, Brush);
        DeleteObject(reinterpret_cast<HGDIOBJ>(Brush));
        EndPaint(Wnd, &PS);
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

struct TOptions {
    std::string FileName;
    bool Paused = false;
    double Seek = -1;
    double StopAfter = -1;
    bool Window = false;
    std::map<TPlayState, std::string> Shots;
    double ShotAfter = -1;
    std::string ShotAfterFile;
    int HostWidth = 200;
    int HostHeight = 124;
    std::string Snapshot;
    bool Stats = false;
    std::string Filters;
    std::string Presented;
};

bool ParseState(const std::string& AName, TPlayState& AState) {
    for (int I = psPlay; I <= psEnd; ++I)
        if (AName == StateName(TPlayState(I))) {
            AState = TPlayState(I);
            return true;
        }
    return false;
}

bool ParseOptions(int argc, char** argv, TOptions& AOptions) {
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        const bool HasValue = I + 1 < argc;
        if (Arg == "--paused") {
            AOptions.Paused = true;
        } else if (Arg == "--window") {
            AOptions.Window = true;
        } else if (Arg == "--seek" && HasValue) {
            AOptions.Seek = std::atof(argv[++I]);
        } else if (Arg == "--stop-after" && HasValue) {
            AOptions.StopAfter = std::atof(argv[++I]);
        } else if (Arg == "--shot-at" && HasValue) {
            const std::string Value = argv[++I];
            const auto Colon = Value.find(':');
            TPlayState State;
            if (Colon == std::string::npos || !ParseState(Value.substr(0, Colon), State))
                return false;
            AOptions.Shots[State] = Value.substr(Colon + 1);
        } else if (Arg == "--shot-after" && HasValue) {
            const std::string Value = argv[++I];
            const auto Colon = Value.find(':');
            if (Colon == std::string::npos)
                return false;
            AOptions.ShotAfter = std::atof(Value.substr(0, Colon).c_str());
            AOptions.ShotAfterFile = Value.substr(Colon + 1);
        } else if (Arg == "--host" && HasValue) {
            if (std::sscanf(argv[++I], "%dx%d", &AOptions.HostWidth, &AOptions.HostHeight) != 2)
                return false;
        } else if (Arg == "--snapshot" && HasValue) {
            AOptions.Snapshot = argv[++I];
        } else if (Arg == "--filters" && HasValue) {
            AOptions.Filters = argv[++I];
        } else if (Arg == "--presented" && HasValue) {
            AOptions.Presented = argv[++I];
        } else if (Arg == "--stats") {
            AOptions.Stats = true;
        } else if (!Arg.empty() && Arg[0] != '-' && AOptions.FileName.empty()) {
            AOptions.FileName = Arg;
        } else {
            return false;
        }
    }
    return !AOptions.FileName.empty();
}

// How far the pictures shown from AFrom seconds on were from the master
// clock: the largest distance, the mean, and how many pictures.
struct TSyncFigures {
    double Max = 0, Mean = 0;
    int Count = 0;
};

TSyncFigures SyncFrom(TVideoState* is, double AFrom) {
    TSyncFigures Figures;
    double Sum = 0;
    std::lock_guard Lock(is->SyncLock);
    for (const auto& [PTS, Master] : is->SyncRing)
        if (PTS - double(is->StartTime) / 1000000.0 >= AFrom) {
            const double Diff = std::fabs(PTS - Master);
            Figures.Max = std::max(Figures.Max, Diff);
            Sum += Diff;
            ++Figures.Count;
        }
    Figures.Mean = Figures.Count ? Sum / Figures.Count : 0.0;
    return Figures;
}

void PrintStats(TRIVavova& APlayer) {
    TVideoState* is = APlayer.VideoState();
    if (!is)
        return;
    // From half a second on, and again once the start is well past.
    const TSyncFigures Early = SyncFrom(is, 0.5), Late = SyncFrom(is, 2.0);
    std::printf("stats: shown %d, dropped %d, skipped %d, A/V sync max %.4f s, mean %.4f s "
                "(%d pictures); from 2 s: max %.4f s, mean %.4f s (%d pictures)\n",
                is->PicturesShown.load(), is->PicturesDropped.load(), is->PicturesSkipped.load(),
                Early.Max, Early.Mean, Early.Count, Late.Max, Late.Mean, Late.Count);
}

void Photograph(const std::string& APng) {
    const std::string Command = std::string("'") + OSTRELA_BIN_DIR + "/screenshot' '" + APng + "'";
    const int Status = std::system(Command.c_str());
    std::printf("photograph %s: %s\n", APng.c_str(), Status == 0 ? "taken" : "FAILED");
}

// The host's client area as the window system shows it, into a PNG.
void SavePresented(HWND AHost, const std::string& APng) {
    UpdateWindow(AHost);
    FlushPresents();
    TRect Client;
    GetClientRect(AHost, &Client);
    TBitmap Bitmap;
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Client.Width(), Client.Height());
    HDC DC = GetDC(AHost);
    BitBlt(Bitmap.Canvas()->Handle(), 0, 0, Client.Width(), Client.Height(), DC, 0, 0, SRCCOPY);
    ReleaseDC(AHost, DC);
    TPngImage Png;
    Png.Assign(&Bitmap);
    Png.SaveToFile(APng);
    std::printf("presented %s: %d x %d\n", APng.c_str(), Client.Width(), Client.Height());
}

// The desktop backend, whose events arrive only while it waits.
TBackend* DesktopBackend = nullptr;

void Serve() {
    PumpMessages();
    FlushPresents();
    if (DesktopBackend) {
        CheckSynchronize();
        DesktopBackend->Wait(GetTickCount() + 5, "play_file");
    } else {
        CheckSynchronize(5);
    }
}

int Play(const TOptions& AOptions) {
    WNDCLASS Class;
    Class.lpfnWndProc = HostProc;
    Class.lpszClassName = "PlayFileHost";
    RegisterClass(&Class);
    HWND Top = AOptions.Window
                   ? CreateWindow("PlayFileHost", "play_file", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  100, 100, AOptions.HostWidth + 60, AOptions.HostHeight + 76,
                                  nullptr, nullptr, nullptr, nullptr)
                   : CreateWindow("PlayFileHost", "play_file", WS_POPUP | WS_VISIBLE, 0, 0,
                                  AOptions.HostWidth, AOptions.HostHeight, nullptr, nullptr,
                                  nullptr, nullptr);
    const int Margin = AOptions.Window ? 20 : 0;
    HWND Host =
        CreateWindow("PlayFileHost", "host", WS_CHILD | WS_VISIBLE, Margin, Margin,
                     AOptions.HostWidth, AOptions.HostHeight, Top, nullptr, nullptr, nullptr);

    TRIVavova Player(nullptr);
    if (!Player.LoadAVLib("")) {
        std::printf("libraries: %s\n", Player.LastErrMsg().c_str());
        return 1;
    }
    GetFFLogger()->SetTriggerEventInMainThread(false);
    GetFFLogger()->OnLog = [](TObject*, TThreadID AThread, TLogLevel ALevel,
                              const std::string& AMsg) {
        std::printf("[%u] log %d: %s\n", AThread, int(ALevel), AMsg.c_str());
    };
    bool Stopped = false, Sought = false, Snapped = false, ShotTaken = false;
    std::int64_t Position = -1;
    std::map<TPlayState, bool> Due;
    Player.OnFileOpen = [](TObject*, std::int64_t ADuration, int AWidth, int AHeight, int&, int&) {
        std::printf("[%u] file open: duration %lld, picture %d x %d\n", GetCurrentThreadId(),
                    static_cast<long long>(ADuration), AWidth, AHeight);
    };
    Player.SetOnPosition([&](TObject*, std::int64_t APTS) {
        Position = APTS;
        std::printf("[%u] position %lld\n", GetCurrentThreadId(), static_cast<long long>(APTS));
    });
    Player.SetOnState([&](TObject*, TPlayState AState) {
        std::printf("[%u] %s at %lld\n", GetCurrentThreadId(), StateName(AState),
                    static_cast<long long>(Position));
        Due[AState] = true;
        if (AState == psStop)
            Stopped = true;
    });
    Player.SetVideoFilters(AOptions.Filters);
    if (!Player.Open(AOptions.FileName, Host, AOptions.Paused)) {
        std::printf("open failed: %s\n", Player.LastErrMsg().c_str());
        return 1;
    }
    while (!Stopped) {
        Serve();
        if (AOptions.Seek >= 0 && !Sought && (Due[psPlay] || Due[psPause])) {
            Sought = true;
            Player.Seek(std::int64_t(AOptions.Seek * 1000000), TSeekFlags{}, true);
        }
        if (AOptions.StopAfter >= 0 && Position >= std::int64_t(AOptions.StopAfter * 1000000))
            Player.Stop(false);
        if (!AOptions.Snapshot.empty() && Due[psPause] && !Snapped) {
            Snapped = true;
            // The pause comes when the pictures are queued; show them first.
            for (int I = 0; I < 40; ++I)
                Serve();
            std::int64_t PTS = 0;
            Player.CurrentFrame(PTS)->SaveToFile(AOptions.Snapshot);
            std::printf("snapshot %s at %lld\n", AOptions.Snapshot.c_str(),
                        static_cast<long long>(PTS));
            // A paused playback has shown what it will show.
            if (AOptions.Paused) {
                if (!AOptions.Presented.empty())
                    SavePresented(Host, AOptions.Presented);
                Player.Stop(false);
            }
        }
        if (AOptions.ShotAfter >= 0 && !ShotTaken &&
            Position >= std::int64_t(AOptions.ShotAfter * 1000000)) {
            ShotTaken = true;
            Photograph(AOptions.ShotAfterFile);
        }
        if (Due[psEnd]) {
            Due[psEnd] = false;
            if (AOptions.Stats)
                PrintStats(Player);
            for (int I = 0; I < 20; ++I)
                Serve();
            if (AOptions.Shots.count(psEnd))
                Photograph(AOptions.Shots.at(psEnd));
            if (!AOptions.Presented.empty())
                SavePresented(Host, AOptions.Presented);
            Player.Stop(false);
        }
    }
    if (AOptions.Shots.count(psStop)) {
        InvalidateRect(Host, nullptr, TRUE);
        for (int I = 0; I < 20; ++I)
            Serve();
        FlushPresents();
        Photograph(AOptions.Shots.at(psStop));
    }
    Player.Stop(true);
    DestroyWindow(Top);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    TOptions Options;
    if (!ParseOptions(argc, argv, Options)) {
        std::fprintf(stderr, "usage: play_file FILE [--paused] [--seek SECONDS] "
                             "[--stop-after SECONDS] [--window] [--shot-at STATE:PNG]... "
                             "[--shot-after SECONDS:PNG] [--host WxH] [--snapshot OUT.bmp] "
                             "[--stats] [--filters TEXT] [--presented OUT.png]\n");
        return 2;
    }
    if (!Options.Window) {
        THeadlessBackend Headless;
        SetBackend(&Headless);
        const int Status = Play(Options);
        ResetWindowSystem();
        SetBackend(nullptr);
        return Status;
    }
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication Desktop(QtArgc, QtArgv);
    std::setlocale(LC_NUMERIC, "C");
    TQtBackend Backend;
    SetBackend(&Backend);
    DesktopBackend = &Backend;
    const int Status = Play(Options);
    ResetWindowSystem();
    SetBackend(nullptr);
    return Status;
}
