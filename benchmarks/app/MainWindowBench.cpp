// Speed of the main window on the headless backend: making the program's
// forms (with the first stored skin chosen, and with the second, which the
// window is designed in), a full paint of the window in the first skin and
// in the plain look, a skin change until every form has repainted, and
// opening the options dialog.
#include "app/Program.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/model/bsMessages.h"
#include "skin/model/bsSkinData.Component.h"
#include "tests/app/support/ProgramFixture.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The program's surroundings with the stored skin choice Skin in option.ini.
struct TSession : TProgramEnvironment {
    explicit TSession(int Skin) {
        OpenEnvironment();
        WriteOptionFile("[Skin]\r\nSetSkin=" + std::to_string(Skin) + "\r\n");
    }
    ~TSession() { CloseEnvironment(); }
    void Start() {
        CreateProgramForms();
        Form1->Show();
        Settle();
    }
    void Settle() {
        Application->ProcessMessages();
        FlushPresents();
    }
};

void RepaintAll(TCustomForm* Form) {
    RedrawWindow(Form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

// Making the four forms as the program starts, with the stored choice 0 or 1.
void BM_ProgramForms(benchmark::State& State) {
    for (auto _ : State) {
        State.PauseTiming();
        {
            TSession S(int(State.range(0)));
            State.ResumeTiming();
            S.Start();
            State.PauseTiming();
            DestroyProgramForms();
        }
        State.ResumeTiming();
    }
}
BENCHMARK(BM_ProgramForms)->Arg(0)->Arg(1)->ArgName("SetSkin")->Unit(benchmark::kMillisecond);

void BM_FullPaint(benchmark::State& State) {
    TSession S(0);
    S.Start();
    if (State.range(0) == 0) {
        Form1->bsSkinData1->SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
        Form1->bsSkinData1->ClearAll();
        Form1->bsSkinData1->SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
        S.Settle();
    }
    for (auto _ : State) {
        RepaintAll(Form1);
        FlushPresents();
    }
    DestroyProgramForms();
}
BENCHMARK(BM_FullPaint)->Arg(1)->Arg(0)->ArgName("skinned")->Unit(benchmark::kMillisecond);

// What the select-skin dialog's OK sets off: every form takes the skin and
// repaints.
void BM_SkinChange(benchmark::State& State) {
    TSession S(0);
    S.Start();
    int Skin = 0;
    for (auto _ : State) {
        Skin = Skin == 0 ? 7 : 0;
        Form1->bsSkinData1->SetSkinIndex(Skin);
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (Screen->Forms(I)->Visible())
                UpdateWindow(Screen->Forms(I)->Handle());
        S.Settle();
    }
    DestroyProgramForms();
}
BENCHMARK(BM_SkinChange)->Unit(benchmark::kMillisecond);

// The options dialog from the command to its first painted picture.
void BM_OpenOptions(benchmark::State& State) {
    TSession S(0);
    S.Start();
    for (auto _ : State) {
        Form5->Show();
        S.Settle();
        State.PauseTiming();
        Form5->Hide();
        S.Settle();
        State.ResumeTiming();
    }
    DestroyProgramForms();
}
BENCHMARK(BM_OpenOptions)->Unit(benchmark::kMillisecond);

} // namespace
