#include "app/Program.h"

#include "app/StartupErrors.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "platform/forms/Forms.h"
#include "skin/dialogs/bsShellFolders.h"

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
    // The legacy settings form is created here, after the options dialog.
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
