// The legacy settings form, which the program keeps hidden, shown on a real X
// display for the end-to-end test to photograph.
// Usage: legacy_form_demo OUTDIR
//
// It steps through six states: the test skin with the fourth category
// chosen, the category drop-down open, the profile drop-down open, two of the
// program's stored skins, and the plain look. Before each picture it writes
// OUTDIR/layout-N.txt (the screen rectangles of the top panel, both office
// combos, the page control, its six lists, OK, Cancel and the open drop-down)
// and prints "ready"; it moves on once OUTDIR/next-N exists and ends once
// OUTDIR/quit exists, so no keyboard focus on the X display is needed.
#include "catalogue/ProfileWorkingSet.h"
#include "legacy/LegacyHost.h"
#include "legacy/Unit6.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/model/bsSkinData.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

TDemoDesktop* Desktop = nullptr;

class TDemoHost : public TLegacyFormHost {
public:
    TProfileWorkingSet& WorkingSet() override { return Set; }
    std::string OutputFolderText() override { return Folder; }
    bool OverwriteChosen() override { return false; }
    TbsSkinData* SkinData() override { return Skin; }

    TProfileWorkingSet Set;
    std::string Folder;
    TbsSkinData* Skin = nullptr;
};

void Settle() {
    Desktop->Pump(6, 50);
}

TRect ScreenRectOf(TControl* C) {
    const TPoint P = C->Parent()->ClientToScreen({C->Left(), C->Top()});
    return TRect{P.X, P.Y, P.X + C->Width(), P.Y + C->Height()};
}

void WriteRect(std::ofstream& Out, const char* Name, const TRect& R) {
    Out << Name << ' ' << R.Left << ' ' << R.Top << ' ' << R.Width() << ' ' << R.Height() << '\n';
}

// The top-level window of an open drop-down, if one is shown.
HWND OpenDropDown(TbsSkinCustomOfficeComboBox* Combo) {
    if (!Combo->IsPopupVisible() || !Combo->FListBox || !Combo->FListBox->HandleAllocated())
        return nullptr;
    return GetAncestor(Combo->FListBox->Handle(), GA_ROOT);
}

void WriteLayout(const std::string& Dir, int State, TForm6* F) {
    std::ofstream Out(Dir + "/layout-" + std::to_string(State) + ".txt");
    WriteRect(Out, "panel", ScreenRectOf(F->bsSkinPanel2));
    WriteRect(Out, "category", ScreenRectOf(F->bsSkinOfficeComboBox2));
    WriteRect(Out, "profile", ScreenRectOf(F->bsSkinOfficeComboBox1));
    WriteRect(Out, "pages", ScreenRectOf(F->bsSkinPageControl1));
    const std::pair<const char*, TbsSkinComboBox*> Lists[] = {
        {"list1", F->bsSkinComboBox1},  {"list2", F->bsSkinComboBox2},
        {"list3", F->bsSkinComboBox9},  {"list4", F->bsSkinComboBox3},
        {"list5", F->bsSkinComboBox10}, {"list6", F->bsSkinComboBox4}};
    for (const auto& [Name, List] : Lists)
        WriteRect(Out, Name, ScreenRectOf(List));
    WriteRect(Out, "ok", ScreenRectOf(F->bsSkinButton2));
    WriteRect(Out, "cancel", ScreenRectOf(F->bsSkinButton3));
    for (TbsSkinOfficeComboBox* Combo : {F->bsSkinOfficeComboBox2, F->bsSkinOfficeComboBox1})
        if (HWND Popup = OpenDropDown(Combo)) {
            TRect R;
            GetWindowRect(Popup, &R);
            WriteRect(Out, "dropdown", R);
        }
}

// Tells the test the picture can be taken and waits for its go-ahead;
// false once the test asked the demo to quit or gave up.
bool Ready(const std::string& Dir, int State, TForm6* F) {
    WriteLayout(Dir, State, F);
    Announce();
    return Desktop->RunUntilFile(Dir + "/next-" + std::to_string(State), 60000, 50, Dir + "/quit");
}

TForm6* ShowForm(TDemoHost& Host) {
    auto* Form = CreateFormInCode<TForm6>(Application, Host);
    Form->SetPosition(poDesktopCenter);
    Form->Show();
    Form->bsSkinOfficeComboBox2->SetItemIndex(3);
    return Desktop->WaitUntilShown({Form->Handle()}, 6) ? Form : nullptr;
}

int Run(const std::string& Dir) {
    TDemoHost Host;
    Host.Folder = Dir;
    Host.Set.Video_AddFileName = "/media/视频/clip.mkv";
    auto Skin = std::make_unique<TbsSkinData>(nullptr);
    const std::string SkinDir = Dir + "/test-skin";
    std::filesystem::create_directories(SkinDir);
    Skin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(SkinDir));
    Host.Skin = Skin.get();

    TForm6* Form = ShowForm(Host);
    if (!Form) {
        std::fprintf(stderr, "legacy_form_demo: the form never showed\n");
        return 1;
    }
    if (!Ready(Dir, 0, Form))
        return 0;
    Form->bsSkinOfficeComboBox2->DropDown();
    Settle();
    if (!Ready(Dir, 1, Form))
        return 0;
    Form->bsSkinOfficeComboBox2->CloseUp(false);
    Form->bsSkinOfficeComboBox1->DropDown();
    Settle();
    if (!Ready(Dir, 2, Form))
        return 0;
    Form->bsSkinOfficeComboBox1->CloseUp(false);
    Skin->SetSkinList(CreateStoredSkinList(Skin.get()));
    int State = 3;
    for (int Index : {0, 6}) {
        Skin->SetSkinIndex(Index);
        Settle();
        if (!Ready(Dir, State++, Form))
            return 0;
    }
    // The plain look: the form as the program builds it without a skin.
    delete Form;
    Host.Skin = nullptr;
    Form = ShowForm(Host);
    if (!Form) {
        std::fprintf(stderr, "legacy_form_demo: the plain form never showed\n");
        return 1;
    }
    Ready(Dir, State, Form);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: legacy_form_demo OUTDIR\n");
        return 2;
    }
    const std::string Dir = argv[1];
    TDemoDesktop Demo("legacy_form_demo");
    if (!Demo.OpenDisplay(argv[0], true))
        return 1;
    Desktop = &Demo;
    Demo.Start();
    return Run(Dir);
}
