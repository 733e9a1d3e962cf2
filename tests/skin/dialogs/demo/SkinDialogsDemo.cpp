// The skinned dialogs on a real X display, one scene after another: the
// notice, a Yes/No question with the show-again box, and the skin chooser.
// Each scene prints "ready NAME LEFT TOP WIDTH HEIGHT" (the dialog's screen
// rectangle) once its dialog shows, and closes the dialog when OUTDIR/next
// appears (the file is removed).
// Usage: skin_dialogs_demo OUTDIR (--plain | --test-skin | --stored N)
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/core/Threads.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinLists.h"
#include "skin/dialogs/bsSelectSkinDialog.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/model/bsSkinData.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Out;
std::string Scene;
bool Announced = false;
int Ticks = 0;

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
    RecordMainThread();
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    {
        TQtBackend Backend;
        SetBackend(&Backend);
        InitApplication();
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

        std::printf("done\n");
        std::fflush(stdout);
        Timer.SetEnabled(false);
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
        delete Holder;
    }
    return 0;
}
