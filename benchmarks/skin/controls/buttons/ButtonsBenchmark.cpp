// Speed of the skinned buttons, bars, views, slider, page control and radio
// groups on the headless backend with the standard test skin: the main
// window's button paint, one cross-fade frame, scroll-bar range and drag
// steps, the job table's synchronisation, header paint and page drag, the
// seek slider's drag step, page-control paints and a radio group switch.
#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/model/bsMessages.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TForm* Form = nullptr;
    TbsSkinData* SD = nullptr;
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 1000, 800);
        Form->Show();
        const std::string Folder = Dir.File("skin");
        std::filesystem::create_directories(Folder);
        SD = new TbsSkinData(Form);
        SD->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
        Pump();
    }
    ~TSession() {
        while (Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
    void Pump() {
        Application->ProcessMessages();
        FlushPresents();
    }
};

// Exposes the face composition of the push button.
class TFaceButton : public TbsSkinButton {
public:
    using TbsSkinButton::TbsSkinButton;
    void Face(TBitmap* B, bool Hot) {
        GetSkinData();
        int W = Width(), H = Height();
        CalcSkinSize(W, H);
        CreateButtonImage(B, Hot ? ActiveSkinRect : SkinRect, false, Hot);
    }
};

void BM_PaintMainWindowButtons(benchmark::State& State) {
    TSession S;
    const char* Names[] = {"button", "resizebutton", "resizetoolbutton"};
    for (int I = 0; I < 23; ++I) {
        auto* B = new TbsSkinButton(S.Form);
        B->SetParent(S.Form);
        B->SetSkinDataName(Names[I % 3]);
        B->SetSkinData(S.SD);
        B->SetBounds(10 + (I % 6) * 90, 10 + (I / 6) * 40, 75, 25);
        B->SetCaption("Button");
    }
    S.Pump();
    for (auto _ : State) {
        S.Form->Repaint();
        S.Pump();
    }
    State.SetLabel("23 skinned buttons");
}
BENCHMARK(BM_PaintMainWindowButtons)->Unit(benchmark::kMicrosecond);

void BM_CrossFadeFrame(benchmark::State& State) {
    TSession S;
    auto* B = new TFaceButton(S.Form);
    B->SetParent(S.Form);
    B->SetSkinData(S.SD);
    B->SetBounds(10, 10, 75, 25);
    TBitmap Out;
    Out.SetSize(75, 25);
    for (auto _ : State) {
        TBitmap Normal, Hot;
        Normal.SetSize(75, 25);
        Hot.SetSize(75, 25);
        B->Face(&Normal, false);
        B->Face(&Hot, true);
        DrawMorphedFaces(&Normal, &Hot, mkDefault, 0.4, Out.Canvas()->Handle());
    }
    State.SetLabel("75 x 25, two faces and one Morph");
}
BENCHMARK(BM_CrossFadeFrame)->Unit(benchmark::kMicrosecond);

void BM_ScrollBarSetRange(benchmark::State& State) {
    TSession S;
    auto* Bar = new TbsSkinScrollBar(S.Form);
    Bar->SetParent(S.Form);
    Bar->SetSkinData(S.SD);
    Bar->SetBounds(10, 10, 300, 19);
    S.Pump();
    int I = 0;
    for (auto _ : State) {
        Bar->SetRange(0, 1000, (I++ * 37) % 990, 10);
        FlushPresents();
    }
}
BENCHMARK(BM_ScrollBarSetRange)->Unit(benchmark::kMicrosecond);

void BM_ScrollBarDragStep(benchmark::State& State) {
    TSession S;
    auto* Bar = new TbsSkinScrollBar(S.Form);
    Bar->SetParent(S.Form);
    Bar->SetBounds(10, 10, 300, 19);
    Bar->SetRange(0, 1000, 500, 0);
    S.Pump();
    const TPoint P = Bar->ClientToScreen({Bar->Part(0).R.Left + 4, 9});
    S.Headless.MovePointer(P.X, P.Y);
    S.Headless.Press(0);
    S.Pump();
    int Step = 0;
    for (auto _ : State) {
        S.Headless.MovePointer(P.X + (Step++ % 2 ? 3 : -3), P.Y);
        S.Pump();
    }
    S.Headless.Release(0);
    S.Pump();
}
BENCHMARK(BM_ScrollBarDragStep)->Unit(benchmark::kMicrosecond);

struct TJobTable {
    TbsSkinListView* View;
    TbsSkinScrollBar* VBar;
    TbsSkinScrollBar* HBar;
};

TJobTable MakeJobTable(TSession& S) {
    auto* V = new TbsSkinListView(S.Form);
    V->SetParent(S.Form);
    V->SetBounds(10, 10, 600, 400);
    V->SetViewStyle(vsReport);
    for (int C = 0; C < 25; ++C) {
        TListColumn* Col = V->Columns()->Add();
        Col->SetCaption("Column " + std::to_string(C));
        Col->SetWidth(70);
    }
    V->Items()->BeginUpdate();
    for (int I = 0; I < 10000; ++I)
        V->Items()->Add()->SetCaption("job " + std::to_string(I));
    V->Items()->EndUpdate();
    auto* VB = new TbsSkinScrollBar(S.Form);
    VB->SetParent(S.Form);
    VB->SetKind(sbVertical);
    VB->SetBounds(620, 10, 19, 400);
    auto* HB = new TbsSkinScrollBar(S.Form);
    HB->SetParent(S.Form);
    HB->SetBounds(10, 420, 600, 19);
    V->SetVScrollBar(VB);
    V->SetHScrollBar(HB);
    V->SetSkinData(S.SD);
    S.Pump();
    return {V, VB, HB};
}

void BM_ListViewSync(benchmark::State& State) {
    TSession S;
    TJobTable T = MakeJobTable(S);
    for (auto _ : State)
        T.View->UpDateScrollBars();
    State.SetLabel("10,000 rows, 25 columns");
}
BENCHMARK(BM_ListViewSync)->Unit(benchmark::kMicrosecond);

void BM_ListViewHeaderPaint(benchmark::State& State) {
    TSession S;
    TJobTable T = MakeJobTable(S);
    TBitmap B;
    B.SetSize(700, 30);
    for (auto _ : State)
        T.View->Perform(WM_PAINTHEADERTODC, WPARAM(B.Canvas()->Handle()), 0);
    State.SetLabel("25 skinned sections");
}
BENCHMARK(BM_ListViewHeaderPaint)->Unit(benchmark::kMicrosecond);

void BM_ListViewBarPageDrag(benchmark::State& State) {
    TSession S;
    TJobTable T = MakeJobTable(S);
    const int Page = T.VBar->PageSize();
    int Direction = 1;
    for (auto _ : State) {
        if (T.VBar->Position() + Page > T.VBar->Max() - Page || T.VBar->Position() < Page)
            Direction = T.VBar->Position() < Page ? 1 : -1;
        T.VBar->SetPosition(T.VBar->Position() + Direction * Page);
        S.Pump();
    }
    State.SetLabel("one page, with the view's repaint");
}
BENCHMARK(BM_ListViewBarPageDrag)->Unit(benchmark::kMicrosecond);

void BM_SliderDragStep(benchmark::State& State) {
    TSession S;
    auto* Slider = new TbsSkinSlider(S.Form);
    Slider->SetParent(S.Form);
    Slider->SetBounds(10, 10, 200, 31);
    Slider->SetOptions(TbsSliderOptions{soShowFocus, soSmooth});
    Slider->SetTransparent(true);
    Slider->SetMaxValue(200);
    Slider->SetValue(100);
    S.Pump();
    const TRect T = Slider->ThumbRect();
    const TPoint P = Slider->ClientToScreen({T.Left + 2, T.Top + 2});
    S.Headless.MovePointer(P.X, P.Y);
    S.Headless.Press(0);
    S.Pump();
    int Step = 0;
    for (auto _ : State) {
        S.Headless.MovePointer(P.X + (Step++ % 2 ? 4 : -4), P.Y);
        S.Pump();
    }
    S.Headless.Release(0);
    S.Pump();
    State.SetLabel("the seek slider, 200 x 31, transparent");
}
BENCHMARK(BM_SliderDragStep)->Unit(benchmark::kMicrosecond);

void BM_PageControlPaint(benchmark::State& State) {
    TSession S;
    auto* P = new TbsSkinPageControl(S.Form);
    P->SetParent(S.Form);
    P->SetBounds(10, 10, 700, 400);
    for (int I = 0; I < 8; ++I) {
        auto* Sheet = new TbsSkinTabSheet(S.Form);
        Sheet->SetPageControl(P);
        Sheet->SetCaption("Page " + std::to_string(I));
    }
    P->SetTabPosition(State.range(0) ? tpLeft : tpTop);
    P->SetSkinData(S.SD);
    S.Pump();
    for (auto _ : State) {
        P->Repaint();
        FlushPresents();
    }
    State.SetLabel(State.range(0) ? "eight tabs, left" : "eight tabs, top");
}
BENCHMARK(BM_PageControlPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RadioGroupSetChecked(benchmark::State& State) {
    TSession S;
    std::vector<TbsSkinCheckRadioBox*> Boxes;
    for (int I = 0; I < 10; ++I) {
        auto* B = new TbsSkinCheckRadioBox(S.Form);
        B->SetParent(S.Form);
        B->SetRadio(true);
        B->SetGroupIndex(1);
        B->SetBounds(10, 10 + I * 30, 150, 25);
        B->SetCaption("Option " + std::to_string(I));
        Boxes.push_back(B);
    }
    S.Pump();
    int I = 0;
    for (auto _ : State) {
        Boxes[I++ % 10]->SetChecked(true);
        FlushPresents();
    }
    State.SetLabel("ten radio boxes");
}
BENCHMARK(BM_RadioGroupSetChecked)->Unit(benchmark::kMicrosecond);

} // namespace
