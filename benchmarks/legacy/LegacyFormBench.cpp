// Speed of the legacy settings form on the headless backend, in the
// program's first stored skin: its creation (what it adds to the program's
// start), one category change with its profile and list refill, and the walk
// over all 109 profiles with the settings step of each.
#include "catalogue/ProfileWorkingSet.h"
#include "legacy/LegacyHost.h"
#include "legacy/LegacyTables.h"
#include "legacy/Unit6.h"
#include "platform/core/Clock.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/model/bsSkinData.h"
#include "skin/stored/StoredSkins.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class TBenchHost : public TLegacyFormHost {
public:
    TProfileWorkingSet& WorkingSet() override { return Set; }
    std::string OutputFolderText() override { return Folder; }
    bool OverwriteChosen() override { return true; }
    TbsSkinData* SkinData() override { return Skin; }

    TProfileWorkingSet Set;
    std::string Folder;
    TbsSkinData* Skin = nullptr;
};

struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Out;
    std::unique_ptr<TbsSkinData> Skin;
    TBenchHost Host;

    explicit TSession(bool Skinned) {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Host.Folder = Out.Path();
        Host.Set.Video_AddFileName = "/media/in/clip.mkv";
        if (Skinned) {
            Skin = std::make_unique<TbsSkinData>(nullptr);
            Skin->SetSkinList(CreateStoredSkinList(Skin.get()));
            Skin->SetSkinIndex(0);
            Host.Skin = Skin.get();
        }
    }
    ~TSession() {
        while (Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        Skin.reset();
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
};

void BM_Creation(benchmark::State& State) {
    TSession S(State.range(0) != 0);
    for (auto _ : State) {
        TForm6* Form = CreateFormInCode<TForm6>(Application, S.Host);
        benchmark::DoNotOptimize(Form);
        State.PauseTiming();
        delete Form;
        State.ResumeTiming();
    }
}
BENCHMARK(BM_Creation)->Arg(0)->Arg(1)->ArgName("skinned")->Unit(benchmark::kMillisecond);

void BM_CategoryChange(benchmark::State& State) {
    TSession S(true);
    TForm6* Form = CreateFormInCode<TForm6>(Application, S.Host);
    int Category = 0;
    for (auto _ : State) {
        Category = Category == 0 ? 6 : 0;
        Form->bsSkinOfficeComboBox2->SetItemIndex(Category);
    }
}
BENCHMARK(BM_CategoryChange)->Unit(benchmark::kMicrosecond);

void BM_DataWalk(benchmark::State& State) {
    TSession S(true);
    TForm6* Form = CreateFormInCode<TForm6>(Application, S.Host);
    for (auto _ : State) {
        int Keys = 0;
        for (std::size_t Category = 0; Category < LegacyCategories().size(); ++Category) {
            Form->bsSkinOfficeComboBox2->SetItemIndex(int(Category));
            const int Count = int(LegacyCategories()[Category].Profiles.size());
            for (int Profile = 0; Profile < Count; ++Profile) {
                Form->bsSkinOfficeComboBox1->SetItemIndex(Profile);
                Form->Button18Click(Form);
                Form->Button5Click(Form);
                Form->Button13Click(Form);
                ++Keys;
            }
        }
        if (Keys != 109)
            State.SkipWithError("the walk did not reach every profile");
    }
}
BENCHMARK(BM_DataWalk)->Unit(benchmark::kMillisecond);

} // namespace
