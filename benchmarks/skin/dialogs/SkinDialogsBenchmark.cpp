// Speed of the skinned dialogs on the headless backend: a message box built,
// shown and closed (plain and in the test skin), a row change of the skin
// chooser (a stored skin loaded into the preview and repainted), the folder
// list's rebuild over 1,000 subfolders, the file list's read of 10,000 files
// with a two-pattern mask, and GetDrives() on this machine.
#include "platform/core/Clock.h"
#include "platform/core/Drives.h"
#include "platform/core/Paths.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSelectSkinDialog.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

namespace {

class TWorld {
public:
    TWorld() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        InitApplication();
        Main = Application->CreateForm<TForm>();
        Main->SetBounds(10, 10, 600, 400);
        Main->Show();
    }
    ~TWorld() {
        Application->OnIdle = nullptr;
        while (Screen && Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        Skin.reset();
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
    TbsSkinData* TestSkin() {
        Skin = std::make_unique<TbsSkinData>(nullptr);
        Skin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Dir.Path()));
        return Skin.get();
    }
    // Every modal run ends as soon as it is idle, with Result.
    void CloseModalsWith(int Result) {
        Application->OnIdle = [Result](TObject*, bool&) {
            TCustomForm* F = Screen->ActiveForm();
            if (F && F->ModalRunning())
                F->SetModalResult(Result);
        };
    }

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    std::unique_ptr<TbsSkinData> Skin;
    TForm* Main = nullptr;
};

void BM_MessageBox(benchmark::State& State) {
    TWorld W;
    TbsSkinMessage Box(nullptr);
    if (State.range(0)) {
        TbsSkinData* S = W.TestSkin();
        Box.SetSkinData(S);
        Box.SetCtrlSkinData(S);
    }
    W.CloseModalsWith(1);
    for (auto _ : State)
        benchmark::DoNotOptimize(
            Box.MessageDlg2("请先选择您需要删除的项目！", "提示", mtInformation, {mbOK}, 0));
}

void BM_SelectSkinRowChange(benchmark::State& State) {
    TWorld W;
    std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
    std::unique_ptr<TbsSelectSkinDlgForm> Form(
        TbsSelectSkinDlgForm::CreateEx2(Application, List.get(), 0, nullptr));
    Form->Show();
    int Row = 0;
    for (auto _ : State) {
        Row = (Row + 1) % StoredSkinCount();
        Form->SkinsListBox->SetItemIndex(Row);
        Form->SLBOnChange(nullptr);
        Form->PreviewForm->Repaint();
        Form->PreviewButton->Repaint();
    }
}

void BM_FolderListOverThousandSubfolders(benchmark::State& State) {
    TWorld W;
    for (int I = 0; I < 1000; ++I)
        CreateDir(W.Dir.File("d" + std::to_string(I)));
    auto* Dirs = new TbsSkinDirectoryListBox(W.Main);
    Dirs->SetParent(W.Main);
    Dirs->HandleNeeded();
    Dirs->SetDirectory(W.Dir.Path());
    for (auto _ : State)
        Dirs->BuildList();
}

void BM_FileListOverTenThousandFiles(benchmark::State& State) {
    TWorld W;
    for (int I = 0; I < 10000; ++I)
        std::ofstream(W.Dir.File("f" + std::to_string(I) + (I % 2 ? ".avi" : ".mp4")));
    auto* Files = new TbsSkinFileListBox(W.Main);
    Files->SetParent(W.Main);
    Files->HandleNeeded();
    Files->SetDirectory(W.Dir.Path());
    Files->SetMask("*.avi;*.mp4");
    for (auto _ : State)
        Files->ReadFileNames();
}

void BM_GetDrives(benchmark::State& State) {
    for (auto _ : State)
        benchmark::DoNotOptimize(GetDrives());
}

BENCHMARK(BM_MessageBox)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectSkinRowChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderListOverThousandSubfolders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileListOverTenThousandFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetDrives)->Unit(benchmark::kMicrosecond);

} // namespace
