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
#include "skin/controls/bsSkinCtrls.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/controls/support/SkinControlsDemoForm.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using skinctl::TDemoForm;

namespace {

void WriteLayout(const std::string& Dir, TDemoForm* Form) {
    std::ofstream Out(Dir + "/layout.txt");
    for (auto [Prefix, Half] : {std::pair{"L.", &Form->Left}, std::pair{"R.", &Form->Right}})
        for (auto& [Name, C] : Half->Named) {
            const TPoint P = C->Parent()->ClientToScreen({C->Left(), C->Top()});
            Out << Prefix << Name << ' ' << P.X << ' ' << P.Y << ' ' << C->Width() << ' '
                << C->Height() << '\n';
        }
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_controls_demo OUTDIR\n");
        return 2;
    }
    const std::string Dir = argv[1];
    TDemoDesktop Desktop("SkinControlsDemo");
    if (!Desktop.OpenDisplay(argv[0], true))
        return 1;
    Desktop.Start();
    auto* Form = Application->CreateForm<TDemoForm>();
    Form->BindRight();
    Form->Show();
    const std::string SkinDir = Dir + "/test-skin";
    std::filesystem::create_directories(SkinDir);
    Form->Data.LoadFromFile(testskin::StandardTestSkin().WriteFolder(SkinDir));
    for (auto* Half : {&Form->Right, &Form->Left})
        for (auto& [Name, C] : Half->Named)
            if (auto* Bar = dynamic_cast<TbsSkinToolBar*>(C))
                Bar->UpdateScroll();
    if (!Desktop.WaitUntilShown({Form->Handle()})) {
        std::fprintf(stderr, "skin_controls_demo: the form never showed\n");
        return 1;
    }
    WriteLayout(Dir, Form);
    Announce();
    const std::uint32_t GiveUp = GetTickCount() + 120000;
    bool Stored = false;
    Desktop.RunWhile([&] {
        // The second picture: the program's first stored skin through the
        // same skin data, so the skin-change walk runs as it does in the
        // program.
        if (!Stored && std::filesystem::exists(Dir + "/next")) {
            Stored = true;
            Form->Data.SetSkinList(CreateStoredSkinList(Form));
            Form->Data.SetSkinIndex(0);
            Desktop.Pump(5, 50);
            Announce();
        }
        return !std::filesystem::exists(Dir + "/quit") && !TickPassed(GiveUp);
    });
    return 0;
}
