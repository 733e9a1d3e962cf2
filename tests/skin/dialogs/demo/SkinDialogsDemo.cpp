// The skinned dialogs on a real X display, one scene after another: the
// notice, a Yes/No question with the show-again box, the skin chooser, and
// a small file browser (drive combo, folder list, file list, filter combo and
// label, linked) over a prepared folder tree in OUTDIR/tree.
// Each scene prints "ready NAME LEFT TOP WIDTH HEIGHT" (the dialog's screen
// rectangle) once its dialog shows, writes OUTDIR/NAME.layout (the screen
// rectangles of the parts the end-to-end test looks at, one "part L T W H" a
// line), and closes the dialog when OUTDIR/next appears (the file is
// removed).
// Usage: skin_dialogs_demo OUTDIR (--plain | --test-skin | --stored N)
#include "platform/core/Paths.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Button.h"
#include "skin/controls/bsSkinCtrls.Labels.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/dialogs/bsSelectSkinDialog.h"
#include "skin/dialogs/bsSkinFileControls.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsSkinData.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

std::string Out;
std::string Scene;
bool Announced = false;
int Ticks = 0;

// The screen rectangles of the scene's parts: the message box's picture,
// label and buttons; the skin chooser's buttons and the preview's sample
// button; the folder list's rows with their picture and text columns.
void WriteLayout(TCustomForm* Form) {
    std::ofstream L(Out + "/" + Scene + ".layout");
    const auto Put = [&](const std::string& Name, TControl* C, const TRect& R) {
        const TPoint P = C->ClientToScreen({R.Left, R.Top});
        L << Name << ' ' << P.X << ' ' << P.Y << ' ' << R.Width() << ' ' << R.Height() << '\n';
    };
    if (auto* Box = dynamic_cast<TbsMessageForm*>(Form))
        Put("label", Box->Message, Box->Message->ClientRect());
    int Buttons = 0;
    for (int I = 0; I < Form->ComponentCount(); ++I) {
        TComponent* C = Form->Components(I);
        if (auto* Image = dynamic_cast<TImage*>(C); Image && Image->Name() == "Image")
            Put("icon", Image, Image->ClientRect());
        if (auto* B = dynamic_cast<TbsSkinButton*>(C))
            Put(B->Parent() == Form ? "button" + std::to_string(Buttons++) : "previewbutton", B,
                B->ClientRect());
        if (auto* D = dynamic_cast<TbsSkinDirectoryListBox*>(C))
            for (int Row = 0; Row < D->Items()->Count(); ++Row) {
                const TRect R = D->ListBox->ItemRect(Row);
                // Whole rows only.
                if (R.Bottom > D->ListBox->ClientHeight())
                    break;
                const int X = R.Left + D->ItemIndent(Row);
                const std::string N = std::to_string(Row);
                Put("dirpicture" + N, D->ListBox, {X, R.Top, X + 16, R.Bottom});
                Put("dirtext" + N, D->ListBox, {X + 20, R.Top, R.Right, R.Bottom});
            }
    }
}

// Announces the modal dialog once it has painted; ends it when asked.
void Watch(TObject*) {
    TCustomForm* Form = Screen ? Screen->ActiveForm() : nullptr;
    if (!Form || !Form->ModalRunning())
        return;
    if (!Announced) {
        // Some ticks for the window to be mapped and painted.
        if (++Ticks < 10)
            return;
        Announced = true;
        FlushPresents();
        WriteLayout(Form);
        std::printf("ready %s %d %d %d %d\n", Scene.c_str(), Form->Left(), Form->Top(),
                    Form->Width(), Form->Height());
        std::fflush(stdout);
        return;
    }
    if (FileExists(Out + "/next")) {
        DeleteFile(Out + "/next");
        Form->SetModalResult(2);
    }
}

// A prepared tree: a few folders and video files under Root/videos.
void PrepareTree(const std::string& Root) {
    for (const char* Folder : {"videos/2024", "videos/clips", "videos/Holiday"})
        ForceDirectories(Root + "/" + Folder);
    for (const char* File : {"intro.avi", "party.mp4", "talk.mkv", "notes.txt", "trailer.avi"})
        std::ofstream(Root + "/videos/" + File) << "x";
}

void RunBrowser(const std::string& Root, TbsSkinData* Skin) {
    PrepareTree(Root);
    std::unique_ptr<TForm> Form(new TForm(Application));
    Form->SetCaption("文件浏览 Files");
    Form->SetPosition(poScreenCenter);
    Form->SetBorderStyle(bsDialog);
    Form->SetClientWidth(420);
    Form->SetClientHeight(250);
    auto* Frame = new TbsSkinForm(Form.get());
    Frame->SetSkinData(Skin);
    auto* Drives = new TbsSkinDriveComboBox(Form.get());
    auto* Dirs = new TbsSkinDirectoryListBox(Form.get());
    auto* Files = new TbsSkinFileListBox(Form.get());
    auto* Filter = new TbsSkinFilterComboBox(Form.get());
    auto* Label = new TbsSkinStdLabel(Form.get());
    Label->SetParent(Form.get());
    Label->SetAutoSize(false);
    Label->SetBounds(10, 8, 400, 18);
    Dirs->SetParent(Form.get());
    Dirs->SetBounds(10, 30, 195, 150);
    Files->SetParent(Form.get());
    Files->SetBounds(215, 30, 195, 150);
    Drives->SetParent(Form.get());
    Drives->SetBounds(10, 190, 195, 22);
    Filter->SetParent(Form.get());
    Filter->SetBounds(215, 190, 195, 22);
    for (TbsSkinControl* C : std::initializer_list<TbsSkinControl*>{Dirs, Files, Drives, Filter})
        C->SetSkinData(Skin);
    Label->SetSkinData(Skin);
    Drives->SetDirList(Dirs);
    Dirs->SetFileList(Files);
    Filter->SetFileList(Files);
    // Set once linked, so the file list takes the first mask.
    Filter->SetFilter("Videos|*.avi;*.mp4;*.mkv|All files (*.*)|*.*");
    Dirs->SetDirLabel(Label);
    Dirs->SetDirectory(Root + "/videos");
    Form->ShowModal();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: skin_dialogs_demo OUTDIR (--plain | --test-skin | --stored N)\n");
        return 2;
    }
    Out = argv[1];
    const std::string Look = argv[2];
    const int StoredIndex = Look == "--stored" && argc > 3 ? std::atoi(argv[3]) : -1;
    TDemoDesktop Desktop("skin_dialogs_demo");
    if (!Desktop.OpenDisplay(argv[0]))
        return 1;
    Desktop.Start();
    Application->SetTitle("Ostrela");
    auto* Holder = new TComponent(nullptr);
    TbsSkinData* Skin = nullptr;
    TbsCompressedSkinList* Skins = nullptr;
    if (Look == "--test-skin") {
        Skin = new TbsSkinData(Holder);
        const std::string Folder = Out + "/test-skin";
        ForceDirectories(Folder);
        Skin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
    } else if (StoredIndex >= 0 && StoredIndex < StoredSkinCount()) {
        Skin = new TbsSkinData(Holder);
        Skins = CreateStoredSkinList(Holder);
        Skin->SetSkinIndex(StoredIndex);
        Skin->SetSkinList(Skins);
    }
    if (!Skins) {
        std::vector<testskin::TTestSkin> Made;
        for (int N = 0; N <= 10; ++N)
            Made.push_back(testskin::Variant(N));
        Skins = testskin::MakeStoredSkinList(Holder, Made);
    }

    TTimer Timer(nullptr);
    Timer.SetInterval(50);
    Timer.SetOnTimer(Watch);
    Timer.SetEnabled(true);

    auto* Box = new TbsSkinMessage(Holder);
    Box->SetSkinData(Skin);
    Box->SetCtrlSkinData(Skin);
    Scene = "notice";
    Announced = false;
    Ticks = 0;
    Box->MessageDlg2("请先选择您需要删除的项目！", "提示", mtInformation, {mbOK}, 0);
    Scene = "question";
    Announced = false;
    Ticks = 0;
    Box->SetShowAgainFlag(true);
    Box->MessageDlg("输出文件已存在，是否覆盖？", mtConfirmation, {mbYes, mbNo}, 0);

    auto* Chooser = new TbsSelectSkinDialog(Holder);
    Chooser->SetSkinData(Skin);
    Chooser->SetCtrlSkinData(Skin);
    Chooser->SetSkinList(Skins);
    Scene = "select-skin";
    Announced = false;
    Ticks = 0;
    Chooser->Execute(StoredIndex >= 0 ? StoredIndex : 2);

    Scene = "browser";
    Announced = false;
    Ticks = 0;
    RunBrowser(Out + "/tree", Skin);

    Announce("done");
    Timer.SetEnabled(false);
    Desktop.Close();
    delete Holder;
    return 0;
}
