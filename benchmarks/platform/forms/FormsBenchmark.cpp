// Speed of the class library's hot paths: building and showing a form of
// many controls, realigning, re-creating windows, the per-message key
// processing and the search for the control under the pointer.
#include "platform/core/Clock.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <benchmark/benchmark.h>

namespace {

// The headless window system on a manual clock, with the application.
struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
    }
    ~TSession() {
        while (Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
};

// A form with Count plain controls in a grid: panels, buttons, check boxes.
TForm* MakeForm(int Count) {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 1000, 800);
    for (int I = 0; I < Count; ++I) {
        TControl* C = nullptr;
        switch (I % 3) {
        case 0:
            C = new TPanel(Form);
            break;
        case 1:
            C = new TButton(Form);
            break;
        default:
            C = new TCheckBox(Form);
            break;
        }
        C->SetBounds((I % 20) * 50, (I / 20) * 40, 48, 36);
        C->SetParent(Form);
    }
    return Form;
}

void BM_CreateAndShowForm200(benchmark::State& State) {
    TSession Session;
    for (auto _ : State) {
        TForm* Form = MakeForm(200);
        Form->Show();
        Application->ProcessMessages();
        delete Form;
    }
}
BENCHMARK(BM_CreateAndShowForm200)->Unit(benchmark::kMillisecond);

void BM_Realign200(benchmark::State& State) {
    TSession Session;
    TPanel Panel(nullptr);
    Panel.SetBounds(0, 0, 400, 8000);
    static const TAlign Aligns[] = {alTop, alBottom, alLeft, alRight};
    for (int I = 0; I < 200; ++I) {
        auto* C = new TBevel(&Panel);
        C->SetBounds(0, 0, 10, 10);
        C->SetParent(&Panel);
        C->SetAlign(Aligns[I % 4]);
    }
    int Width = 400;
    for (auto _ : State) {
        // A new size each time, so every control moves.
        Width = Width == 400 ? 401 : 400;
        Panel.SetWidth(Width);
    }
}
BENCHMARK(BM_Realign200)->Unit(benchmark::kMicrosecond);

void BM_RecreateWnd100(benchmark::State& State) {
    TSession Session;
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 1000, 800);
    auto* Host = new TPanel(Form);
    Host->SetAlign(alClient);
    Host->SetParent(Form);
    for (int I = 0; I < 100; ++I) {
        auto* C = new TPanel(Form);
        C->SetBounds((I % 10) * 60, (I / 10) * 40, 58, 36);
        C->SetParent(Host);
    }
    Form->Show();
    Application->ProcessMessages();
    for (auto _ : State) {
        Host->RecreateWnd();
        Application->ProcessMessages();
    }
}
BENCHMARK(BM_RecreateWnd100)->Unit(benchmark::kMillisecond);

void BM_KeyMessageProcessing(benchmark::State& State) {
    TSession Session;
    TForm* Form = MakeForm(200);
    auto* Focus = static_cast<TWinControl*>(Form->Controls(1));
    Form->Show();
    Application->ProcessMessages();
    Focus->SetFocus();
    Application->ProcessMessages();
    MSG Msg;
    Msg.hwnd = Focus->Handle();
    Msg.message = WM_KEYDOWN;
    Msg.wParam = 'A';
    long Seen = 0;
    Focus->OnKeyDown = [&Seen](TObject*, WORD&, TShiftState) { ++Seen; };
    for (auto _ : State) {
        MSG Copy = Msg;
        if (!Application->PreprocessMessage(Copy))
            DispatchMessage(&Copy);
    }
    State.counters["reached"] = double(Seen) / double(State.iterations());
}
BENCHMARK(BM_KeyMessageProcessing)->Unit(benchmark::kMicrosecond);

void BM_MouseMoveControlSearch(benchmark::State& State) {
    TSession Session;
    TForm* Form = MakeForm(200);
    Form->SetLeft(0);
    Form->Show();
    Application->ProcessMessages();
    TPoint Origin = Form->ClientToScreen({0, 0});
    int Step = 0;
    for (auto _ : State) {
        // Across the grid, so the control under the pointer changes often.
        Step = (Step + 37) % 1000;
        Session.Headless.MovePointer(Origin.X + Step, Origin.Y + (Step * 7) % 400);
        UpdateMouseControl();
    }
}
BENCHMARK(BM_MouseMoveControlSearch)->Unit(benchmark::kMicrosecond);

} // namespace
