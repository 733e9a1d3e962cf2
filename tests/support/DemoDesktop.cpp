#include "tests/support/DemoDesktop.h"

#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtPlatform.h"

#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

TDemoDesktop::TDemoDesktop(std::string Name) : FName(std::move(Name)) {}

TDemoDesktop::~TDemoDesktop() {
    Close();
    FQt.reset();
}

bool TDemoDesktop::OpenDisplay(char* Program, bool NeedsX) {
    RecordMainThread();
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return false;
    }
    FArgv[0] = Program;
    FQt = std::make_unique<QGuiApplication>(FArgc, FArgv);
    if (NeedsX && QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "%s: needs an X display\n", FName.c_str());
        return false;
    }
    return true;
}

void TDemoDesktop::OpenOffscreen(char* Program) {
    RecordMainThread();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    FArgv[0] = Program;
    FQt = std::make_unique<QGuiApplication>(FArgc, FArgv);
}

void TDemoDesktop::Start() {
    FBackend = std::make_unique<TQtBackend>();
    SetBackend(FBackend.get());
    InitApplication();
}

void TDemoDesktop::Close(const std::function<void()>& AfterApplication) {
    if (!FBackend)
        return;
    DoneApplication();
    if (AfterApplication)
        AfterApplication();
    ResetWindowSystem();
    SetBackend(nullptr);
    FBackend.reset();
}

void TDemoDesktop::Step(std::uint32_t Until) {
    Application->ProcessMessages();
    FlushPresents();
    FBackend->Wait(Until, FName.c_str());
}

void TDemoDesktop::Pump(int Rounds, std::uint32_t Interval) {
    for (int I = 0; I < Rounds; ++I)
        Step(GetTickCount() + Interval);
}

bool TDemoDesktop::WaitUntilShown(const std::vector<HWND>& Windows, int SettleRounds) {
    const std::uint32_t GiveUp = GetTickCount() + 30000;
    for (;;) {
        Step(GetTickCount() + 100);
        bool Shown = true;
        for (HWND W : Windows) {
            QWindow* Q = FBackend->SurfaceWindow(WindowSurface(W));
            Shown = Shown && Q && Q->isExposed();
        }
        if (Shown)
            break;
        if (TickPassed(GiveUp))
            return false;
    }
    Pump(SettleRounds, 50);
    return true;
}

void TDemoDesktop::RunWhile(const std::function<bool()>& Going, std::uint32_t Interval) {
    while (Going())
        Step(GetTickCount() + Interval);
}

bool TDemoDesktop::RunUntilFile(const std::string& File, std::uint32_t GiveUp,
                                std::uint32_t Interval, const std::string& Abort) {
    const std::uint32_t Deadline = GetTickCount() + GiveUp;
    while (!std::filesystem::exists(File)) {
        if (TickPassed(Deadline) || (!Abort.empty() && std::filesystem::exists(Abort)))
            return false;
        Step(GetTickCount() + Interval);
    }
    return true;
}

bool TickPassed(std::uint32_t Deadline) {
    return std::int32_t(GetTickCount() - Deadline) >= 0;
}

void Announce(const std::string& Line) {
    std::printf("%s\n", Line.c_str());
    std::fflush(stdout);
}
