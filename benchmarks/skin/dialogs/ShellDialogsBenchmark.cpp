// Speed of the shell views and dialogs on the headless backend: the file
// list over 10,000 files (filled and painted; in report view sorted by
// size), a tree node with 2,000 sub-folders expanded, the look-in box
// showing a folder eight levels down, the open dialog from Execute to its
// first painted frame in a stored skin, one change notification from the
// file event to the handler on the user-interface thread, and the picture
// preview of a full-HD JPEG and PNG at their own size and stretched.
#include "platform/core/Paths.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCtrls.SpeedButton.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinOpenDlg.h"
#include "skin/dialogs/bsSkinPictureDialogs.h"
#include "skin/stored/StoredSkins.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>

namespace {

using TClock = std::chrono::steady_clock;

class TWorld {
public:
    TWorld() {
        SetBackend(&Headless);
        InitApplication();
        TShellEnvironment Env;
        Env.Home = Dir.File("home");
        Env.ConfigHome = Env.Home + "/.config";
        Env.DataHome = Env.Home + "/.local/share";
        Env.UserDirsFile = Env.ConfigHome + "/user-dirs.dirs";
        ForceDirectories(Env.Home);
        SetShellEnvironment(Env);
        Main = Application->CreateForm<TForm>();
        Main->SetBounds(10, 10, 800, 600);
        Main->Show();
    }
    ~TWorld() {
        Application->OnIdle = nullptr;
        while (Screen && Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        DoneApplication();
        DoneShellControls();
        SetShellEnvironment(DefaultShellEnvironment());
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    void Paint(TWinControl* Control) {
        Control->Repaint();
        Application->ProcessMessages();
        FlushPresents();
    }

    THeadlessBackend Headless;
    TTempDir Dir;
    TForm* Main = nullptr;
};

void MakeFiles(const std::string& Folder, int Count) {
    ForceDirectories(Folder);
    for (int I = 0; I < Count; ++I)
        std::ofstream(Folder + "/clip" + std::to_string(I) + ".avi")
            << std::string(std::size_t(I % 97), 'x');
}

TbsSkinFileListView* MakeList(TWorld& W) {
    auto* List = new TbsSkinFileListView(W.Main);
    List->SetParent(W.Main);
    List->SetAlign(alClient);
    List->HandleNeeded();
    return List;
}

// Fill and first paint; the list moves to an empty folder between rounds.
void BM_FileListTenThousandFiles(benchmark::State& State) {
    TWorld W;
    MakeFiles(W.Dir.File("big"), 10000);
    ForceDirectories(W.Dir.File("empty"));
    TbsSkinFileListView* List = MakeList(W);
    List->SetViewStyle(State.range(0) ? vsReport : vsList);
    for (auto _ : State) {
        State.PauseTiming();
        List->SetPath(W.Dir.File("empty"));
        State.ResumeTiming();
        List->SetPath(W.Dir.File("big"));
        W.Paint(List);
    }
    State.SetLabel(State.range(0) ? "report" : "list");
}

// A click on Size (alternately up and down) and the paint after it.
void BM_FileListSizeClick(benchmark::State& State) {
    TWorld W;
    MakeFiles(W.Dir.File("big"), 10000);
    TbsSkinFileListView* List = MakeList(W);
    List->SetViewStyle(vsReport);
    List->SetPath(W.Dir.File("big"));
    for (auto _ : State) {
        NMLISTVIEW N{};
        N.hdr.hwndFrom = List->Handle();
        N.hdr.code = LVN_COLUMNCLICK;
        N.iSubItem = 1;
        List->Perform(CN_NOTIFY, 0, LPARAM(&N));
        W.Paint(List);
    }
}

void BM_TreeExpandTwoThousandFolders(benchmark::State& State) {
    TWorld W;
    const std::string Parent = W.Dir.File("many");
    for (int I = 0; I < 2000; ++I)
        ForceDirectories(Parent + "/folder" + std::to_string(I));
    auto* Tree = new TbsSkinDirTreeView(W.Main);
    Tree->SetParent(W.Main);
    Tree->SetAlign(alClient);
    Tree->HandleNeeded();
    for (auto _ : State) {
        State.PauseTiming();
        Tree->SetRoot(W.Dir.Path());
        Tree->SetRoot(Parent);
        TTreeNode* Root = Tree->Items()->GetFirstNode();
        State.ResumeTiming();
        Root->Expand(false);
        W.Paint(Tree);
        if (Root->Count() != 2000)
            State.SkipWithError("the node does not hold 2,000 folders");
    }
}

// The look-in box moving between two folders eight levels down.
void BM_ComboShowPathEightLevels(benchmark::State& State) {
    TWorld W;
    std::string Deep[2];
    for (int Side = 0; Side < 2; ++Side) {
        Deep[Side] = W.Dir.File(Side ? "right" : "left");
        for (int Level = 0; Level < 7; ++Level)
            Deep[Side] += "/level" + std::to_string(Level);
        ForceDirectories(Deep[Side]);
    }
    auto* Combo = new TbsSkinShellComboBox(W.Main);
    Combo->SetParent(W.Main);
    Combo->SetBounds(10, 10, 300, 22);
    Combo->HandleNeeded();
    int Side = 0;
    for (auto _ : State) {
        Side ^= 1;
        Combo->SetPath(Deep[Side]);
        W.Paint(Combo);
    }
}

// From Execute to the first idle moment of the shown dialog, after its
// first frame was composed.
void BM_OpenDialogFirstFrame(benchmark::State& State) {
    TWorld W;
    MakeFiles(W.Dir.File("clips"), 50);
    std::unique_ptr<TbsCompressedSkinList> Skins(CreateStoredSkinList(nullptr));
    TbsSkinData Skin(nullptr);
    Skin.SetSkinIndex(0);
    Skin.SetSkinList(Skins.get());
    TbsSkinOpenDialog Dialog(nullptr);
    Dialog.SetSkinData(&Skin);
    Dialog.SetCtrlSkinData(&Skin);
    Dialog.InitialDir = W.Dir.File("clips");
    TClock::time_point Start, Shown;
    Application->OnIdle = [&](TObject*, bool&) {
        if (TbsOpenDlgForm* F = Dialog.Form(); F && F->ModalRunning()) {
            FlushPresents();
            Shown = TClock::now();
            F->SetModalResult(mrCancel);
        }
    };
    for (auto _ : State) {
        Start = TClock::now();
        Dialog.Execute();
        State.SetIterationTime(std::chrono::duration<double>(Shown - Start).count());
    }
}

// A file made in a watched folder until the handler runs on this thread.
void BM_ChangeNotification(benchmark::State& State) {
    TWorld W;
    const std::string Folder = W.Dir.File("watched");
    ForceDirectories(Folder);
    TbsShellChangeNotifier Notifier(nullptr);
    Notifier.SetRoot(Folder);
    bool Called = false;
    Notifier.SetOnChange([&] { Called = true; });
    int Count = 0;
    // The worker starts watching a moment after the handler is set: files
    // are made until it answers.
    const auto Deadline = TClock::now() + std::chrono::seconds(10);
    while (!Called && TClock::now() < Deadline) {
        std::ofstream(Folder + "/warm" + std::to_string(Count++));
        CheckSynchronize(20);
    }
    if (!Called) {
        State.SkipWithError("the notifier never answered");
        return;
    }
    for (auto _ : State) {
        // Whatever the warming left queued is served first.
        while (CheckSynchronize(5)) {
        }
        Called = false;
        const auto Start = TClock::now();
        std::ofstream(Folder + "/f" + std::to_string(Count++));
        while (!Called && TClock::now() < Deadline + std::chrono::seconds(60))
            CheckSynchronize(1);
        State.SetIterationTime(std::chrono::duration<double>(TClock::now() - Start).count());
    }
}

void WriteFullHd(const std::string& FileName) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(1920, 1080);
    for (int Y = 0; Y < 1080; Y += 8)
        for (int X = 0; X < 1920; X += 8) {
            B.Canvas()->Brush()->SetColor(TColor((X / 8 % 256) | (Y / 8 % 256) << 8 | 0x400000));
            B.Canvas()->FillRect(Rect(X, Y, X + 8, Y + 8));
        }
    std::unique_ptr<TGraphic> G = CreateGraphicForExtension(ExtractFileExt(FileName));
    G->Assign(&B);
    G->SaveToFile(FileName);
}

// Arguments: 0 JPEG / 1 PNG, 0 own size / 1 stretched.
void BM_PicturePreviewFullHd(benchmark::State& State) {
    TWorld W;
    const std::string File = W.Dir.File(State.range(0) ? "frame.png" : "frame.jpg");
    WriteFullHd(File);
    auto* F = new TbsOpenPictureDlgForm(Application, false, nullptr, false);
    F->Show();
    F->StretchButton->SetDown(State.range(1) != 0);
    F->FitImage();
    for (auto _ : State) {
        F->LoadPreview(File);
        W.Paint(F->ScrollBox);
    }
    State.SetLabel(std::string(State.range(0) ? "PNG" : "JPEG") +
                   (State.range(1) ? " stretched" : " own size"));
}

BENCHMARK(BM_FileListTenThousandFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileListSizeClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeExpandTwoThousandFolders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComboShowPathEightLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDialogFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeNotification)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PicturePreviewFullHd)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
