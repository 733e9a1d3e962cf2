// Loading each stored skin from the embedded list as the program does
// (SkinIndex of a skin data holding the list, four forms listening), making
// the list, and the generator's work for one skin (build, checks, frame).
// Counters: the skin's compressed frame and payload sizes.
#include "platform/core/Clock.h"
#include "platform/core/Streams.h"
#include "skin/model/bsSkinData.h"
#include "skin/stored/StoredSkins.h"
#include "skin/stored/generator/Checks.h"
#include "skin/stored/generator/Generator.h"
#include "skin/stored/generator/Themes.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace testskin;

struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    std::shared_ptr<TSkinMessageLog> Log = std::make_shared<TSkinMessageLog>();
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        for (int i = 0; i < 4; ++i)
            new TSkinMessageRecorderForm(nullptr, "Form" + std::to_string(i), Log);
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

void BM_LoadStoredSkin(benchmark::State& State) {
    const int Index = int(State.range(0));
    TSession Session;
    std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
    TbsSkinData Data(nullptr);
    Data.SetSkinList(List.get());
    // Alternate with another skin so that every load replaces one.
    const int Other = Index == 0 ? 1 : 0;
    for (auto _ : State) {
        State.PauseTiming();
        Data.SetSkinIndex(Other);
        Session.Log->clear();
        State.ResumeTiming();
        Data.SetSkinIndex(Index);
    }
    TStringStream Frame;
    List->Skins()->Items(Index)->WriteSkin(Frame);
    TMemoryStream Payload;
    List->Skins()->Items(Index)->Skin()->DeCompressToStream(Payload);
    State.counters["frame_bytes"] = double(Frame.DataString().size());
    State.counters["payload_bytes"] = double(Payload.Size());
    State.counters["active_pictures"] = double(Data.FActivePictures.size());
}

void BM_CreateStoredSkinList(benchmark::State& State) {
    for (auto _ : State) {
        std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
        benchmark::DoNotOptimize(List.get());
    }
}

void BM_GenerateSkin(benchmark::State& State) {
    const int Index = int(State.range(0));
    for (auto _ : State) {
        auto Skin = skingen::MakeSkin(Index);
        benchmark::DoNotOptimize(skingen::CheckSkin(*Skin, skingen::Themes()[std::size_t(Index)]));
        benchmark::DoNotOptimize(skingen::CompressedFrame(*Skin));
    }
}

} // namespace

BENCHMARK(BM_LoadStoredSkin)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateStoredSkinList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateSkin)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);
