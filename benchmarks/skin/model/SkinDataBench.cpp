// Speed of loading a skin of the program's size (about 50 KB of ini text,
// 16 active pictures, 1.5 MB of payload) from a folder, a compressed file
// and a stored-list entry with four forms listening; of building a
// compressed skin from the skin data; and of the element lookup every
// skinned control makes at each paint. The counter "peak_extra_bytes" is the
// most memory a load holds beyond what was in use before it: the read-first
// rule keeps the old skin and the new one at once for a moment.
#include "platform/core/Clock.h"
#include "platform/core/Streams.h"
#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// ---- memory accounting ------------------------------------------------------------

namespace {
std::atomic<std::int64_t> CurrentBytes{0};
std::atomic<std::int64_t> PeakBytes{0};

void* Take(std::size_t Size) {
    void* P = std::malloc(Size ? Size : 1);
    if (!P)
        throw std::bad_alloc();
    const std::int64_t Now = CurrentBytes += std::int64_t(malloc_usable_size(P));
    std::int64_t Peak = PeakBytes.load();
    while (Now > Peak && !PeakBytes.compare_exchange_weak(Peak, Now)) {
    }
    return P;
}

void Give(void* P) {
    if (!P)
        return;
    CurrentBytes -= std::int64_t(malloc_usable_size(P));
    std::free(P);
}
} // namespace

void* operator new(std::size_t Size) {
    return Take(Size);
}
void* operator new[](std::size_t Size) {
    return Take(Size);
}
void operator delete(void* P) noexcept {
    Give(P);
}
void operator delete[](void* P) noexcept {
    Give(P);
}
void operator delete(void* P, std::size_t) noexcept {
    Give(P);
}
void operator delete[](void* P, std::size_t) noexcept {
    Give(P);
}

namespace {

using namespace testskin;

// The standard test skin grown to the size of the program's own skins.
TTestSkin ProgramSizedSkin(int Variant) {
    TTestSkin Skin = StandardTestSkin({false, Variant});
    for (int i = 0; i < 12; ++i) {
        TTestPicture& P = Skin.AddPicture("large" + std::to_string(i) + ".bmp", 220, 150, 24);
        for (int R = 0; R < 5; ++R)
            P.AddRegion("part" + std::to_string(R), {R * 40, 0, R * 40 + 30, 150});
    }
    const TTestPicture& Controls = Skin.Picture("controls.bmp");
    for (int i = 0; i < 120; ++i)
        Skin.AddControl("button", "extrabutton" + std::to_string(i),
                        ButtonKeys(Controls, 0, "button.normal", "button.active", "button.down",
                                   "button.disabled", 3) +
                            TKeys{"fontname=Tahoma", "fontheight=13", "fontcolor=1052688",
                                  "activefontcolor=255", "downfontcolor=65280",
                                  "disabledfontcolor=8421504", "morphing=1", "morphkind=mkgradient",
                                  "animateinterval=40"});
    return Skin;
}

// The headless window system with four listening forms.
struct TSession {
    THeadlessBackend Headless;
    TManualClock Clock{1000};
    std::shared_ptr<TSkinMessageLog> Log = std::make_shared<TSkinMessageLog>();
    TSession() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        // Their windows exist before the first load, which would make them.
        for (int i = 0; i < 4; ++i)
            (new TSkinMessageRecorderForm(nullptr, "Form" + std::to_string(i), Log))->Handle();
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

// Loads by Load, alternating two skins so that every load replaces one;
// reports the peak memory a load holds beyond what it started with, and
// what one loaded skin keeps: the share of that peak the read-first rule
// adds, since the skin in use stays until the new one is complete.
template <class TLoad> void RunLoads(benchmark::State& State, TLoad Load) {
    TSession Session;
    TbsSkinData Data(nullptr);
    int Which = 0;
    const std::int64_t Unloaded = CurrentBytes.load();
    Load(Data, Which);
    State.counters["skin_bytes"] = double(CurrentBytes.load() - Unloaded);
    std::int64_t PeakExtra = 0;
    for (auto _ : State) {
        Which = 1 - Which;
        const std::int64_t Before = CurrentBytes.load();
        PeakBytes = Before;
        Load(Data, Which);
        PeakExtra = std::max(PeakExtra, PeakBytes.load() - Before);
        Session.Log->clear();
    }
    State.counters["peak_extra_bytes"] = double(PeakExtra);
}

void BM_LoadFromFolder(benchmark::State& State) {
    TTempDir A, B;
    const std::string Ini[2] = {ProgramSizedSkin(0).WriteFolder(A.Path()),
                                ProgramSizedSkin(1).WriteFolder(B.Path())};
    RunLoads(State, [&](TbsSkinData& Data, int Which) { Data.LoadFromFile(Ini[Which]); });
}

void BM_LoadFromCompressedFile(benchmark::State& State) {
    TTempDir Dir;
    const std::string File[2] = {ProgramSizedSkin(0).WriteCompressedFile(Dir.File("a.skn")),
                                 ProgramSizedSkin(1).WriteCompressedFile(Dir.File("b.skn"))};
    RunLoads(State,
             [&](TbsSkinData& Data, int Which) { Data.LoadFromCompressedFile(File[Which]); });
}

void BM_LoadFromStoredList(benchmark::State& State) {
    std::unique_ptr<TbsCompressedSkinList> List(
        MakeStoredSkinList(nullptr, {ProgramSizedSkin(0), ProgramSizedSkin(1)}));
    State.counters["payload_bytes"] = double(ProgramSizedSkin(0).Payload().size());
    State.counters["ini_bytes"] = double(ProgramSizedSkin(0).IniText().size());
    RunLoads(State, [&](TbsSkinData& Data, int Which) {
        Data.LoadCompressedStoredSkin(List->Skins()->Items(Which)->Skin());
    });
}

void BM_CompressSkinData(benchmark::State& State) {
    TTempDir Dir;
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(ProgramSizedSkin(0).WriteFolder(Dir.Path()));
    for (auto _ : State) {
        TbsCompressedStoredSkin Stored(nullptr);
        Stored.LoadFromSkinData(&Data);
        TMemoryStream Frame;
        Stored.SaveToCompressStream(Frame);
        benchmark::DoNotOptimize(Frame.Size());
    }
}

void BM_GetControlIndex(benchmark::State& State) {
    TTempDir Dir;
    TbsSkinData Data(nullptr);
    Data.LoadFromFile(StandardTestSkin().WriteFolder(Dir.Path()));
    std::vector<std::string> Names;
    for (const auto& Entry : StandardControlNames())
        Names.push_back(Entry.first);
    Names.push_back("nosuchelement");
    for (auto _ : State)
        for (const std::string& Name : Names)
            benchmark::DoNotOptimize(Data.GetControlIndex(Name));
    State.SetItemsProcessed(State.iterations() * std::int64_t(Names.size()));
}

BENCHMARK(BM_LoadFromFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromCompressedFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromStoredList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressSkinData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetControlIndex);

} // namespace
