#include "app/Program.h"

#include "app/StartupErrors.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "legacy/LegacyHost.h"
#include "legacy/Unit6.h"
#include "platform/forms/Forms.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellFolders.h"

namespace {

// The legacy settings form's view of the main window, read at each call so
// that it always meets the window and the options as they are now.
class TMainWindowLegacyHost : public TLegacyFormHost {
public:
    TProfileWorkingSet& WorkingSet() override { return Form1->ProfileWorkingSet(); }
    std::string OutputFolderText() override {
        return Form1->Video_OutPut_Folder_Edit ? Form1->Video_OutPut_Folder_Edit->Text()
                                               : std::string();
    }
    bool OverwriteChosen() override { return Form5 && Form5->OverwriteOutput(); }
    TbsSkinData* SkinData() override { return Form1 ? Form1->bsSkinData1 : nullptr; }
};

TMainWindowLegacyHost LegacyHost;

} // namespace

void CreateProgramForms() {
    ResetStartupErrors();
    // The shell dialogs' state is made before the forms, released after them.
    InitShellControls();
    Application->Initialize();
    Application->SetTitle("Ostrela");
    Application->SetHelpFile("help.chm");
    Application->CreateForm<TForm1>();
    Application->CreateForm<TForm2>();
    // The options dialog reads option.ini when it is created, after the main
    // window wrote its sections of a first start.
    Application->CreateForm<TForm5>();
    // The legacy settings form stays hidden; it is made last, as the
    // program always made it.
    CreateFormInCode<TForm6>(Application, LegacyHost);
}

void DestroyProgramForms() {
    Application->DestroyComponents();
    DoneShellControls();
}

int RunProgram() {
    CreateProgramForms();
    Application->Run();
    DestroyProgramForms();
    return 0;
}
