// The skin library's dialogs, hint and menu bar as the main window uses
// them. Each dialog is run from exactly one method here, so the commands of
// the other units see only a folder, an index or a notice.
#include "app/Unit1.h"

#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "skin/dialogs/bsSelectSkinDialog.h"
#include "skin/dialogs/bsSkinMessage.h"
#include "skin/dialogs/bsSkinPictureDialogs.h"
#include "skin/dialogs/bsSkinSelDirDlg.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinHint.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/model/bsSkinData.Component.h"

void TForm1::CreateDialogs() {
    bsSkinHint1 = new TbsSkinHint(this);
    bsSkinHint1->SetName("bsSkinHint1");
    bsSkinHint1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetSkinHint(bsSkinHint1);

    bsSkinMessage1 = new TbsSkinMessage(this);
    bsSkinMessage1->SetName("bsSkinMessage1");
    bsSkinMessage1->SetSkinData(bsSkinData1);
    bsSkinMessage1->SetCtrlSkinData(bsSkinData1);

    bsSelectSkinDialog1 = new TbsSelectSkinDialog(this);
    bsSelectSkinDialog1->SetName("bsSelectSkinDialog1");
    bsSelectSkinDialog1->SetSkinData(bsSkinData1);
    bsSelectSkinDialog1->SetCtrlSkinData(bsSkinData1);
    bsSelectSkinDialog1->SetTitle("Select skin");
    bsSelectSkinDialog1->SetSkinList(bsCompressedSkinList1);

    auto Folders = [this](const char* Name, const char* Title) {
        auto* Dialog = new TbsSkinSelectDirectoryDialog(this);
        Dialog->SetName(Name);
        Dialog->SetSkinData(bsSkinData1);
        Dialog->SetCtrlSkinData(bsSkinData1);
        Dialog->SetTitle(Title);
        Dialog->ShowToolBar = false;
        return Dialog;
    };
    bsSkinSelectDirectoryDialog1 = Folders("bsSkinSelectDirectoryDialog1", "选择目录");
    bsSkinSelectDirectoryDialog2 = Folders("bsSkinSelectDirectoryDialog2", "选择输出目录");
}

bool TForm1::ExecuteOutputFolderDialog(std::string& Folder) {
    if (!bsSkinSelectDirectoryDialog2->Execute())
        return false;
    Folder = bsSkinSelectDirectoryDialog2->Directory;
    return true;
}

bool TForm1::ExecuteSelectSkinDialog(int Current, int& Chosen) {
    if (!bsSelectSkinDialog1->Execute(Current))
        return false;
    Chosen = bsSelectSkinDialog1->SelectedSkinIndex();
    return true;
}

void TForm1::ShowNotice(const std::string& Text) {
    bsSkinMessage1->MessageDlg2(Text, "提示", mtInformation, {mbOK}, 0);
}

void TForm1::SetUpSnapshotDialog() {
    if (!SavePictureDialog1) {
        SavePictureDialog1 = new TbsSkinSavePictureDialog(this);
        SavePictureDialog1->SetName("SavePictureDialog1");
    }
    SavePictureDialog1->SetSkinData(bsSkinData1);
    SavePictureDialog1->SetCtrlSkinData(bsSkinData1);
    SavePictureDialog1->OverwritePromt = true;
    SavePictureDialog1->CheckFileExists = false;
    // A name typed without extension takes the chosen filter's, ".bmp"
    // under the first.
    SavePictureDialog1->Filter = "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg";
    SavePictureDialog1->FilterIndex = 1;
}

bool TForm1::ExecuteSnapshotDialog(std::string& FileName) {
    FileName.clear();
    if (SnapshotDialogRunner)
        return SnapshotDialogRunner(FileName) && !FileName.empty();
    if (!SavePictureDialog1 || !SavePictureDialog1->Execute())
        return false;
    FileName = SavePictureDialog1->FileName();
    return !FileName.empty();
}

void TForm1::CreateMainMenuBar() {
    bsSkinMainMenuBar1 = new TbsSkinMainMenuBar(this);
    bsSkinMainMenuBar1->SetName("bsSkinMainMenuBar1");
    bsSkinMainMenuBar1->SetParent(this);
    bsSkinMainMenuBar1->SetSkinData(bsSkinData1);
    bsSkinMainMenuBar1->SetSkinForm(bsSkinForm1);
    bsSkinForm1->SetMainMenuBar(bsSkinMainMenuBar1);
    bsSkinMainMenuBar1->SetMainMenu(bsSkinMainMenu1);
}
