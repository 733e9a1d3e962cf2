// The shell views and dialogs on a real X display, in the plain look, the
// standard test skin and two stored skins. Builds a small folder tree with
// sample files under OUTDIR/files (cover.png a real picture: orange above,
// teal below), then shows, one after the other for each look: a form with
// the look-in box, the folder tree and the file list (report view, sorted
// by size) linked to each other; the select-folder dialog (with its tool
// bar); the open dialog in list view, then in report view sorted by size;
// and the open picture dialog previewing cover.png; all opened on the
// sample folder.
// Before each picture it writes OUTDIR/layout.txt (screen rectangles of the
// controls), prints "ready NAME" and waits until OUTDIR/next appears, which
// it removes before going on.
// Usage: shell_dialogs_demo OUTDIR [STORED-SKIN-INDEX [SECOND-STORED-SKIN-INDEX]]
#include "platform/core/Paths.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/dialogs/bsShellViews.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/dialogs/bsSkinOpenDlg.h"
#include "skin/dialogs/bsSkinPictureDialogs.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "skin/forms/SkinForm.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/DemoDesktop.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

TDemoDesktop* Desktop = nullptr;
std::string Out;

void Rect(std::ofstream& File, const std::string& Name, TControl* C) {
    const TPoint P = C->ClientToScreen({0, 0});
    File << Name << " " << P.X << " " << P.Y << " " << C->Width() << " " << C->Height() << "\n";
}

// Prints "ready Name" and waits for OUTDIR/next.
void Photograph(const std::string& Name) {
    Desktop->Pump(20);
    Announce("ready " + Name);
    const std::string Next = Out + "/next";
    Desktop->RunWhile([&] { return !FileExists(Next) && !Application->Terminated(); }, 25);
    ::unlink(Next.c_str());
}

void MakeSamples(const std::string& Root) {
    ForceDirectories(Root + "/clips/holiday");
    ForceDirectories(Root + "/clips/music");
    const std::pair<const char*, int> Files[] = {{"clips/film.avi", 9000},
                                                 {"clips/song.mp3", 3000},
                                                 {"clips/notes.txt", 100},
                                                 {"clips/intro.mp4", 6000}};
    for (const auto& [Name, Size] : Files)
        std::ofstream(Root + "/" + Name, std::ios::binary) << std::string(std::size_t(Size), 'x');
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(300, 200);
    B.Canvas()->Brush()->SetColor(TColor(0x0080FF));
    B.Canvas()->FillRect(::Rect(0, 0, 300, 80));
    B.Canvas()->Brush()->SetColor(TColor(0x808000));
    B.Canvas()->FillRect(::Rect(0, 80, 300, 200));
    std::unique_ptr<TGraphic> Png = CreateGraphicForExtension(".png");
    Png->Assign(&B);
    Png->SaveToFile(Root + "/clips/cover.png");
}

// One state of a modal dialog to photograph: Show prepares it and writes
// the rectangles of its controls.
struct TScene {
    std::string Name;
    std::function<void(std::ofstream& Layout)> Show;
};

// Serves a modal dialog from a timer: once the form has had time to paint,
// each scene in turn is shown, announced with "ready NAME" and left when
// OUTDIR/next appears; after the last one the dialog is cancelled. The
// timer must live until the dialog's Execute returns.
std::unique_ptr<TTimer> ServeModal(std::function<TCustomForm*()> FormOf,
                                   std::vector<TScene> Scenes) {
    auto Timer = std::make_unique<TTimer>(nullptr);
    Timer->SetInterval(50);
    struct TState {
        int Ticks = 0;
        std::size_t Shown = 0;
        bool Waiting = false;
    };
    auto State = std::make_shared<TState>();
    Timer->SetOnTimer([FormOf, Scenes, State](TObject*) {
        TCustomForm* Form = FormOf();
        if (!Form)
            return;
        ++State->Ticks;
        if (!State->Waiting) {
            if (State->Ticks < 15)
                return;
            if (State->Shown == Scenes.size()) {
                Form->SetModalResult(mrCancel);
                return;
            }
            {
                std::ofstream Layout(Out + "/layout.txt");
                Rect(Layout, "form", Form);
                Scenes[State->Shown].Show(Layout);
            }
            State->Waiting = true;
            State->Ticks = 0;
            return;
        }
        if (State->Ticks == 10) {
            Announce("ready " + Scenes[State->Shown].Name);
        }
        const std::string Next = Out + "/next";
        if (State->Ticks > 10 && FileExists(Next)) {
            ::unlink(Next.c_str());
            State->Waiting = false;
            ++State->Shown;
            State->Ticks = 15;
        }
    });
    return Timer;
}

void ShowViews(TbsSkinData* Skin, const std::string& Look, const std::string& Folder) {
    auto* F = new TForm(Application);
    F->SetCaption("Shell views " + Look);
    F->SetBounds(60, 60, 720, 420);
    auto* Frame = new TbsSkinForm(F);
    Frame->SetSkinData(Skin);
    auto* Top = new TbsSkinPanel(F);
    Top->SetParent(F);
    Top->SetAlign(alTop);
    Top->SetHeight(30);
    auto* Combo = new TbsSkinShellComboBox(F);
    Combo->SetParent(Top);
    Combo->SetBounds(4, 4, 400, 22);
    auto* Tree = new TbsSkinDirTreeView(F);
    Tree->SetParent(F);
    Tree->SetAlign(alLeft);
    Tree->SetWidth(230);
    auto* List = new TbsSkinFileListView(F);
    List->SetParent(F);
    List->SetAlign(alClient);
    for (TbsSkinControl* C :
         {static_cast<TbsSkinControl*>(Top), static_cast<TbsSkinControl*>(Combo)})
        C->SetSkinData(Skin);
    Tree->SetSkinData(Skin);
    List->SetSkinData(Skin);
    F->Show();
    Desktop->Pump(5);
    List->SetShellComboBox(Combo);
    List->SetShellTreeView(Tree);
    List->SetViewStyle(vsReport);
    List->SetPath(Folder);
    // Size, twice: descending, largest first.
    NMLISTVIEW N{};
    N.hdr.hwndFrom = List->Handle();
    N.hdr.code = LVN_COLUMNCLICK;
    N.iSubItem = 1;
    List->Perform(CN_NOTIFY, 0, LPARAM(&N));
    List->Perform(CN_NOTIFY, 0, LPARAM(&N));
    {
        std::ofstream Layout(Out + "/layout.txt");
        Rect(Layout, "form", F);
        Rect(Layout, "combo", Combo);
        Rect(Layout, "tree", Tree);
        Rect(Layout, "list", List);
    }
    Photograph("views-" + Look);
    delete F;
}

void ShowSelectFolder(TbsSkinData* Skin, const std::string& Look, const std::string& Folder) {
    TbsSkinSelectDirectoryDialog Dialog(nullptr);
    Dialog.SetSkinData(Skin);
    Dialog.SetCtrlSkinData(Skin);
    Dialog.SetTitle("选择目录 Select folder " + Look);
    Dialog.ShowToolBar = true;
    Dialog.Directory = Folder;
    Dialog.DialogWidth = 360;
    Dialog.DialogHeight = 380;
    auto Timer =
        ServeModal([&] { return Dialog.Form(); }, {{"seldir-" + Look, [&](std::ofstream& Layout) {
                                                        TbsSelDirDlgForm* Form = Dialog.Form();
                                                        Rect(Layout, "edit", Form->DirEdit);
                                                        Rect(Layout, "tree", Form->DirTreeView);
                                                        Rect(Layout, "ok", Form->OkButton);
                                                        Rect(Layout, "cancel", Form->CancelButton);
                                                    }}});
    Dialog.Execute();
}

void OpenDialogLayout(std::ofstream& Layout, TbsOpenDlgForm* Form) {
    Rect(Layout, "combo", Form->ShellBox);
    Rect(Layout, "list", Form->FileListView);
    Rect(Layout, "edit", Form->FileNameEdit);
    Rect(Layout, "filter", Form->FilterComboBox);
    Rect(Layout, "open", Form->OpenButton);
    Rect(Layout, "cancel", Form->CancelButton);
}

void ShowOpen(TbsSkinData* Skin, const std::string& Look, const std::string& Folder) {
    TbsSkinOpenDialog Dialog(nullptr);
    Dialog.SetSkinData(Skin);
    Dialog.SetCtrlSkinData(Skin);
    Dialog.SetTitle("打开文件 Open file " + Look);
    Dialog.Filter = "Media files|*.avi;*.mp4;*.mp3|All files|*.*";
    Dialog.FilterIndex = 2;
    Dialog.InitialDir = Folder;
    Dialog.DialogWidth = 560;
    Dialog.DialogHeight = 340;
    auto Timer = ServeModal(
        [&] { return Dialog.Form(); },
        {{"open-" + Look, [&](std::ofstream& Layout) { OpenDialogLayout(Layout, Dialog.Form()); }},
         {"open-report-" + Look, [&](std::ofstream& Layout) {
              TbsOpenDlgForm* Form = Dialog.Form();
              Form->SetViewStyle(vsReport);
              // Size, twice: descending, largest first.
              NMLISTVIEW N{};
              N.hdr.hwndFrom = Form->FileListView->Handle();
              N.hdr.code = LVN_COLUMNCLICK;
              N.iSubItem = 1;
              Form->FileListView->Perform(CN_NOTIFY, 0, LPARAM(&N));
              Form->FileListView->Perform(CN_NOTIFY, 0, LPARAM(&N));
              OpenDialogLayout(Layout, Form);
          }}});
    Dialog.Execute();
}

void ShowPicture(TbsSkinData* Skin, const std::string& Look, const std::string& Folder) {
    TbsSkinOpenPictureDialog Dialog(nullptr);
    Dialog.SetSkinData(Skin);
    Dialog.SetCtrlSkinData(Skin);
    Dialog.SetTitle("打开图片 Open picture " + Look);
    Dialog.Filter = "Pictures|*.png;*.jpg;*.bmp|All files|*.*";
    Dialog.InitialDir = Folder;
    auto Timer = ServeModal([&] { return Dialog.Form(); },
                            {{"picture-" + Look, [&](std::ofstream& Layout) {
                                  TbsOpenPictureDlgForm* Form = Dialog.PictureForm();
                                  TbsSkinFileListView* List = Form->FileListView;
                                  for (int I = 0; I < List->FolderCount(); ++I)
                                      if (List->Folders(I)->DisplayName() == "cover.png")
                                          List->SetItemIndex(I);
                                  OpenDialogLayout(Layout, Form);
                                  Rect(Layout, "picture", Form->ScrollBox);
                              }}});
    Dialog.Execute();
}
} // namespace

int main(int argc, char** argv) {
    Out = argc > 1 ? argv[1] : ".";
    const int StoredIndex = argc > 2 ? std::atoi(argv[2]) : 0;
    const int SecondStoredIndex = argc > 3 ? std::atoi(argv[3]) : 4;
    TDemoDesktop Demo("shell_dialogs_demo");
    if (!Demo.OpenDisplay(argv[0]))
        return 1;
    Desktop = &Demo;
    Demo.Start();
    const std::string Files = Out + "/files";
    MakeSamples(Files);
    auto* Holder = new TComponent(nullptr);
    auto* TestSkin = new TbsSkinData(Holder);
    const std::string Folder = Out + "/test-skin";
    ForceDirectories(Folder);
    TestSkin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
    TbsCompressedSkinList* StoredList = CreateStoredSkinList(Holder);
    auto StoredSkin = [&](int Index) {
        auto* Stored = new TbsSkinData(Holder);
        if (Index >= 0 && Index < StoredSkinCount()) {
            Stored->SetSkinIndex(Index);
            Stored->SetSkinList(StoredList);
        }
        return Stored;
    };
    const std::pair<TbsSkinData*, std::string> Looks[] = {
        {nullptr, "plain"},
        {TestSkin, "testskin"},
        {StoredSkin(StoredIndex), "stored"},
        {StoredSkin(SecondStoredIndex), "stored2"}};
    for (const auto& [Skin, Look] : Looks) {
        ShowViews(Skin, Look, Files + "/clips");
        ShowSelectFolder(Skin, Look, Files + "/clips");
        ShowOpen(Skin, Look, Files + "/clips");
        ShowPicture(Skin, Look, Files + "/clips");
    }
    // The shell controls' shared state goes once the forms are gone.
    Demo.Close(DoneShellControls);
    delete Holder;
    return 0;
}
