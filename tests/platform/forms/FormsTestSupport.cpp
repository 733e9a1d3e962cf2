#include "tests/platform/forms/FormsTestSupport.h"

void TFormsTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
}

void TFormsTest::TearDown() {
    // Forms still listed by the screen are alive; free them.
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

TForm* TFormsTest::MakeForm(const std::string& Name) {
    auto* Form = new TForm(nullptr);
    Form->SetName(Name);
    Form->SetBounds(100, 100, 400, 300);
    return Form;
}

void TFormsTest::Pump() {
    Application->ProcessMessages();
}

TPoint TFormsTest::ScreenOf(TControl* Control, int X, int Y) {
    return Control->ClientToScreen({X, Y});
}

std::uint32_t TFormsTest::PixelOf(TControl* Control, int X, int Y) {
    Pump();
    FlushPresents();
    TPoint P = ScreenOf(Control, X, Y);
    return Headless.ScreenPixel(P.X, P.Y);
}
