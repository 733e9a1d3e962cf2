// Speed of the skinned control foundation on the headless backend: a full
// repaint of the demonstration's 804 x 541 form, plain and skinned; the
// skin-change walk over a form of 100 skinned controls; one 1280 x 800
// skinned panel through the nine-part path and the frame path; the
// background notice of a stretching container with 50 children; and the
// tool bar's scroll update and scroll step with 40 children.
#include "platform/core/Threads.h"
#include "tests/skin/controls/support/SkinControlsDemoForm.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace skinctl;

namespace {

struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
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
    void Load(TbsSkinData& Data, const testskin::TTestSkin& Skin) {
        static int Count = 0;
        const std::string Folder = Dir.File("skin" + std::to_string(++Count));
        std::filesystem::create_directories(Folder);
        Data.LoadFromFile(Skin.WriteFolder(Folder));
    }
};

void RepaintAll(TWinControl* C) {
    RedrawWindow(C->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushPresents();
}

void BM_DemoFormRepaint(benchmark::State& State) {
    TSession S;
    auto* Form = new TDemoForm(nullptr);
    const bool Skinned = State.range(0) != 0;
    if (Skinned) {
        for (THalf* Half : {&Form->Left, &Form->Right})
            for (auto& [Name, C] : Half->Named)
                BindSkinData(C, &Form->Data);
        S.Load(Form->Data, testskin::StandardTestSkin());
    }
    Form->Show();
    Application->ProcessMessages();
    for (auto _ : State)
        RepaintAll(Form);
    State.SetLabel(Skinned ? "test skin" : "plain");
}
BENCHMARK(BM_DemoFormRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SkinChangeWalk(benchmark::State& State) {
    TSession S;
    TbsSkinData Data(nullptr);
    S.Load(Data, testskin::StandardTestSkin());
    auto* Form = new TSkinChangeForm(nullptr);
    Form->SetBounds(0, 0, 804, 541);
    for (int I = 0; I < 100; ++I) {
        auto* P = new TbsSkinPanel(Form);
        P->SetParent(Form);
        P->SetBounds((I % 10) * 80, (I / 10) * 54, 76, 50);
        P->SetSkinData(&Data);
    }
    Form->Show();
    Application->ProcessMessages();
    for (auto _ : State) {
        TSkinChangeForm::BeforeChangeControlsSkinData(&Data, Form);
        TSkinChangeForm::ChangeControlsSkinData(&Data, Form);
        RepaintAll(Form);
    }
}
BENCHMARK(BM_SkinChangeWalk)->Unit(benchmark::kMillisecond);

void BM_LargePanelPaint(benchmark::State& State) {
    TSession S;
    TbsSkinData Data(nullptr);
    testskin::TTestSkin Skin = NineSkin();
    AddNineElement(Skin, "panel", "nine");
    S.Load(Data, Skin);
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 1300, 830);
    auto* P = new TbsSkinPanel(Form);
    P->SetParent(Form);
    P->SetSkinDataName("nine");
    P->SetSkinData(&Data);
    P->SetBounds(0, 0, 1280, 800);
    const bool Frame = State.range(0) != 0;
    P->SetForcebackGround(Frame);
    Form->Show();
    Application->ProcessMessages();
    for (auto _ : State)
        RepaintAll(P);
    State.SetLabel(Frame ? "frame path" : "nine-part path");
}
BENCHMARK(BM_LargePanelPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StretchingContainerSetBounds(benchmark::State& State) {
    TSession S;
    TbsSkinData Data(nullptr);
    testskin::TTestSkin Skin = NineSkin();
    AddNineElement(Skin, "panel", "stretch", {"stretcheffect=1"});
    S.Load(Data, Skin);
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 820, 620);
    auto* Box = new TProbeControl(Form);
    Box->SetParent(Form);
    Box->SetSkinDataName("stretch");
    Box->SetSkinData(&Data);
    Box->SetBounds(0, 0, 800, 600);
    for (int I = 0; I < 50; ++I) {
        TControl* C = I % 2 ? static_cast<TControl*>(new TProbeControl(Form))
                            : static_cast<TControl*>(new TGraphicProbe(Form));
        C->SetParent(Box);
        C->SetBounds((I % 10) * 78, (I / 10) * 110, 70, 100);
    }
    Form->Show();
    Application->ProcessMessages();
    int W = 800;
    for (auto _ : State) {
        W = W == 800 ? 790 : 800;
        Box->SetBounds(0, 0, W, 600);
    }
}
BENCHMARK(BM_StretchingContainerSetBounds)->Unit(benchmark::kMicrosecond);

void BM_ToolBarScroll(benchmark::State& State) {
    TSession S;
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 820, 100);
    auto* Bar = new TbsSkinToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetCanScroll(true);
    Bar->SetAdjustControls(false);
    Bar->SetScrollOffset(30);
    Bar->SetBounds(0, 0, 800, 30);
    for (int I = 0; I < 40; ++I) {
        auto* C = new TbsSkinPanel(Form);
        C->SetParent(Bar);
        C->SetBounds(I * 40, 2, 36, 24);
    }
    Form->Show();
    Application->ProcessMessages();
    Bar->UpdateScroll();
    const bool Step = State.range(0) != 0;
    bool Right = true;
    for (auto _ : State) {
        if (Step) {
            if (Bar->SPosition == 0)
                Right = true;
            else if (Bar->SPosition >= Bar->SMax - Bar->SPage + 1)
                Right = false;
            Bar->ScrollStep(Right);
        } else {
            Bar->UpdateScroll();
        }
    }
    State.SetLabel(Step ? "ScrollStep" : "UpdateScroll");
}
BENCHMARK(BM_ToolBarScroll)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
