// Speed of the skinned edits and the scroll box on the headless backend: a
// form of 20 edits painted skinned and plain, one typed character in a
// skinned edit, a skin change of the 20 edits, and a scroll box over a
// 2000 x 2000 picture scrolled by one page with its skinned bar.
#include "platform/core/Threads.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCtrls.ScrollBar.h"
#include "skin/controls/bsSkinEdits.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TForm* Form = nullptr;
    TbsSkinData* Data = nullptr;
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(50, 50, 900, 700);
        Form->Show();
        const std::string Folder = Dir.File("skin");
        std::filesystem::create_directories(Folder);
        Data = new TbsSkinData(Form);
        Data->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
        Application->ProcessMessages();
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

void Flush(TWinControl* C) {
    RedrawWindow(C->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushPresents();
}

std::vector<TbsSkinEdit*> TwentyEdits(TSession& S, bool Skinned) {
    std::vector<TbsSkinEdit*> Edits;
    for (int I = 0; I < 20; ++I) {
        auto* E = new TbsSkinEdit(S.Form);
        E->SetParent(S.Form);
        E->SetBounds(10 + (I % 2) * 300, 10 + (I / 2) * 30, 250, 22);
        E->SetText("edit number " + std::to_string(I));
        if (Skinned)
            E->SetSkinData(S.Data);
        Edits.push_back(E);
    }
    Application->ProcessMessages();
    return Edits;
}

void BM_TwentyEditsPaint(benchmark::State& State) {
    TSession S;
    TwentyEdits(S, State.range(0) != 0);
    for (auto _ : State)
        Flush(S.Form);
}
BENCHMARK(BM_TwentyEditsPaint)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_TypedCharacter(benchmark::State& State) {
    TSession S;
    auto Edits = TwentyEdits(S, true);
    Edits[0]->SetFocus();
    Application->ProcessMessages();
    for (auto _ : State) {
        S.Headless.KeyDown('A', "a");
        S.Headless.KeyUp('A');
        Application->ProcessMessages();
        FlushPresents();
        if (Edits[0]->Text().size() > 200)
            Edits[0]->SetText("");
    }
}
BENCHMARK(BM_TypedCharacter)->Unit(benchmark::kMicrosecond);

void BM_TwentyEditsSkinChange(benchmark::State& State) {
    TSession S;
    auto Edits = TwentyEdits(S, true);
    for (auto _ : State) {
        for (TbsSkinEdit* E : Edits)
            E->ChangeSkinData();
        Application->ProcessMessages();
    }
}
BENCHMARK(BM_TwentyEditsSkinChange)->Unit(benchmark::kMicrosecond);

void BM_ScrollBoxPageWithSkinnedBar(benchmark::State& State) {
    TSession S;
    auto* Box = new TbsSkinScrollBox(S.Form);
    Box->SetParent(S.Form);
    Box->SetBounds(10, 10, 402, 302);
    auto* V = new TbsSkinScrollBar(S.Form);
    V->SetParent(S.Form);
    V->SetKind(sbVertical);
    V->SetBounds(412, 10, 19, 302);
    V->SetSkinData(S.Data);
    Box->SetVScrollBar(V);
    auto* Picture = new TImage(S.Form);
    Picture->SetParent(Box);
    Picture->SetBounds(0, 0, 2000, 2000);
    TBitmap* B = Picture->Picture()->Bitmap();
    B->SetSize(2000, 2000);
    B->Canvas()->Brush()->SetColor(clTeal);
    B->Canvas()->FillRect(Rect(0, 0, 2000, 2000));
    Box->SetSkinData(S.Data);
    Box->UpDateScrollRange();
    Application->ProcessMessages();
    bool Down = true;
    for (auto _ : State) {
        const int Page = V->PageSize();
        V->SetPosition(V->Position() + (Down ? Page : -Page));
        Application->ProcessMessages();
        FlushPresents();
        if (V->Position() <= 0 || V->Position() >= V->Max() - Page)
            Down = !Down;
    }
}
BENCHMARK(BM_ScrollBoxPageWithSkinnedBar)->Unit(benchmark::kMicrosecond);

} // namespace
