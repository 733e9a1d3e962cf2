#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"

#include <cstdio>
class ScratchTest : public TFormsTest {};
TEST_F(ScratchTest, A) {
    TForm* Main = Application->CreateForm<TForm>();
    Main->Show();
    Pump();
    Application->OnIdle = [&](TObject*, bool&) {
        TCustomForm* F = Screen->ActiveForm();
        if (F && F->Name() == "MessageForm") {
            TWinControl* C = FindControl(GetFocus());
            printf("focus %s active %s\n", C ? C->Caption().c_str() : "-",
                   F->ActiveControl() ? F->ActiveControl()->Caption().c_str() : "-");
            for (int I = 0; I < F->ControlCount(); ++I) {
                auto* B = dynamic_cast<TButton*>(F->Controls(I));
                printf(" %s active %d default %d\n", B->Caption().c_str(), B->IsActive(),
                       B->Default());
            }
            Headless.KeyDown(VK_RETURN, "\r");
            Headless.KeyUp(VK_RETURN);
        }
    };
    printf("%d\n", Application->MessageBox("Quit?", "", MB_YESNO | MB_DEFBUTTON2));
    Application->OnIdle = nullptr;
}
