// The program's entry point. The only command line read is the sound
// child's, which plays a file and creates no window.
#include "app/Program.h"
#include "app/SoundPlayer.h"
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>

namespace {

// The class library's start-up and loop on the desktop backend; answers the
// exit status.
int RunOnDesktop() {
    TQtBackend Desktop;
    SetBackend(&Desktop);
    int Status = 0;
    try {
        InitApplication();
        Status = RunProgram();
    } catch (const std::exception& E) {
        std::fprintf(stderr, "ostrela: %s\n", E.what());
        Status = 1;
    }
    // The forms go while the backend still holds their surfaces.
    DoneApplication();
    ResetWindowSystem();
    SetBackend(nullptr);
    return Status;
}

} // namespace

int main(int argc, char** argv) {
    // The program starts itself this way to play the end-of-work sound.
    std::string WaveFile;
    if (IsSoundChildCommand(argc, argv, WaveFile))
        return PlaySoundFile(WaveFile);
    RecordMainThread();
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    // Qt sees no arguments of the user: every other command line is ignored.
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication::setApplicationName("Ostrela");
    QGuiApplication Desktop(QtArgc, QtArgv);
    // Qt adopts the user's locale; C formatting must keep writing ".".
    std::setlocale(LC_NUMERIC, "C");
    return RunOnDesktop();
}
