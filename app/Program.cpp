#include "app/Program.h"

#include "app/StartupErrors.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "platform/forms/Forms.h"

void CreateProgramForms() {
    ResetStartupErrors();
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
    // The skin library's shell state is released after the forms.
}

int RunProgram() {
    CreateProgramForms();
    Application->Run();
    DestroyProgramForms();
    return 0;
}
