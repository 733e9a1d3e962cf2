// The skinned control foundation on a real X display, for the end-to-end
// test to photograph. Usage: skin_controls_demo OUTDIR
//
// One form, two halves holding the same controls: the left half has no skin
// data (every control in its plain look), the right half is bound to a skin
// data into which the standard test skin is loaded through the skin-change
// messages, as the program loads skins. Once the form is on the screen it
// writes OUTDIR/layout.txt (each control's screen rectangle, "L." or "R."
// before its name) and prints "ready"; it ends when OUTDIR/quit exists.
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/controls/support/SkinControlsDemoForm.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using skinctl::TDemoForm;

namespace {

TQtBackend* Desktop = nullptr;

void WriteLayout(const std::string& Dir, TDemoForm* Form) {
    std::ofstream Out(Dir + "/layout.txt");
    for (auto [Prefix, Half] : {std::pair{"L.", &Form->Left}, std::pair{"R.", &Form->Right}})
        for (auto& [Name, C] : Half->Named) {
            const TPoint P = C->Parent()->ClientToScreen({C->Left(), C->Top()});
            Out << Prefix << Name << ' ' << P.X << ' ' << P.Y << ' ' << C->Width() << ' '
                << C->Height() << '\n';
        }
}

void Step(std::uint32_t Until) {
    Application->ProcessMessages();
    FlushPresents();
    Desktop->Wait(Until, "SkinControlsDemo");
}

bool WaitUntilShown(HWND Window) {
    const std::uint32_t GiveUp = GetTickCount() + 30000;
    for (;;) {
        Step(GetTickCount() + 100);
        QWindow* Q = Desktop->SurfaceWindow(WindowSurface(Window));
        if (Q && Q->isExposed())
            break;
        if (std::int32_t(GetTickCount() - GiveUp) > 0)
            return false;
    }
    for (int I = 0; I < 5; ++I)
        Step(GetTickCount() + 50);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_controls_demo OUTDIR\n");
        return 2;
    }
    const std::string Dir = argv[1];
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "skin_controls_demo: needs an X display\n");
        return 1;
    }
    int Status = 0;
    {
        TQtBackend Backend;
        Desktop = &Backend;
        SetBackend(&Backend);
        InitApplication();
        auto* Form = Application->CreateForm<TDemoForm>();
        Form->BindRight();
        Form->Show();
        const std::string SkinDir = Dir + "/test-skin";
        std::filesystem::create_directories(SkinDir);
        Form->Data.LoadFromFile(testskin::StandardTestSkin().WriteFolder(SkinDir));
        for (auto& [Name, C] : Form->Right.Named)
            if (auto* Bar = dynamic_cast<TbsSkinToolBar*>(C))
                Bar->UpdateScroll();
        for (auto& [Name, C] : Form->Left.Named)
            if (auto* Bar = dynamic_cast<TbsSkinToolBar*>(C))
                Bar->UpdateScroll();
        if (!WaitUntilShown(Form->Handle())) {
            std::fprintf(stderr, "skin_controls_demo: the form never showed\n");
            Status = 1;
        } else {
            WriteLayout(Dir, Form);
            std::printf("ready\n");
            std::fflush(stdout);
            const std::uint32_t GiveUp = GetTickCount() + 120000;
            bool Stored = false;
            while (!std::filesystem::exists(Dir + "/quit") &&
                   std::int32_t(GetTickCount() - GiveUp) < 0) {
                Step(GetTickCount() + 100);
                // The second picture: the program's first stored skin through
                // the same skin data, so the skin-change walk runs as it does
                // in the program.
                if (!Stored && std::filesystem::exists(Dir + "/next")) {
                    Stored = true;
                    Form->Data.SetSkinList(CreateStoredSkinList(Form));
                    Form->Data.SetSkinIndex(0);
                    for (int I = 0; I < 5; ++I)
                        Step(GetTickCount() + 50);
                    std::printf("ready\n");
                    std::fflush(stdout);
                }
            }
        }
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    return Status;
}
