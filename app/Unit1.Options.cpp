// The main window's side of the options: the output folder, the skin, and
// the commands that show the options dialog.
#include "app/Unit1.h"

#include "app/ExternalActions.h"
#include "app/OptionFile.h"
#include "app/ProgramServices.h"
#include "app/Unit5.h"
#include "platform/core/Paths.h"
#include "platform/forms/Edits.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/model/bsSkinData.Component.h"

namespace {

TOptionFile Options() {
    return TOptionFile(ProgramFolder());
}

void ShowOptionsDialog() {
    if (Form5)
        Form5->ShowModal();
}

} // namespace

void TForm1::Button17Click(TObject*) {
    const TOptionFile File = Options();
    std::string Folder;
    std::string Refused;
    try {
        Folder = ReadOutPathSection(File, &Refused);
    } catch (...) {
        // The file cannot be written: the default folder is still the one in
        // force for this run.
        FileOutPutPath = File.DefaultOutputFolder();
        Video_OutPut_Folder_Edit->SetText(FileOutPutPath);
        throw;
    }
    FileOutPutPath = Folder;
    Video_OutPut_Folder_Edit->SetText(Folder);
    if (!Refused.empty())
        mmoLog->Lines()->Add("***Output folder cannot be created: " + Refused +
                             ", the default is used: " + Folder);
}

void TForm1::Button16Click(TObject*) {
    WriteOutPathSection(Options(), FileOutPutPath);
}

void TForm1::Button3Click(TObject*) {
    if (std::optional<int> Index = ReadSkinSection(Options()))
        bsSkinData1->SetSkinIndex(*Index);
}

void TForm1::Button4Click(TObject*) {
    WriteSkinSection(Options(), bsSkinData1->SkinIndex());
}

void TForm1::bsSkinButton5Click(TObject* Sender) {
    // Only a folder the user confirmed counts: after a cancel the dialog
    // may still hold a folder confirmed for another purpose.
    std::string Folder;
    if (!ExecuteOutputFolderDialog(Folder) || !DirectoryExists(Folder))
        return;
    Video_OutPut_Folder_Edit->SetText(Folder);
    FileOutPutPath = Folder;
    Button16Click(Sender);
    if (lvFiles->CanFocus())
        lvFiles->SetFocus();
}

void TForm1::bsSkinButton6Click(TObject* Sender) {
    Button20Click(Sender);
    if (lvFiles->CanFocus())
        lvFiles->SetFocus();
}

void TForm1::Button20Click(TObject*) {
    // Whether the desktop could open it is not examined.
    std::string Error;
    Actions().Open(Video_OutPut_Folder_Edit->Text(), Error);
}

void TForm1::bsSkinButton9Click(TObject* Sender) {
    int Chosen = 0;
    if (ExecuteSelectSkinDialog(bsSkinData1->SkinIndex(), Chosen))
        bsSkinData1->SetSkinIndex(Chosen);
    Button4Click(Sender);
}

void TForm1::N23Click(TObject* Sender) {
    bsSkinButton9Click(Sender);
}

void TForm1::bsSkinButton19Click(TObject*) {
    ShowOptionsDialog();
}

void TForm1::N24Click(TObject*) {
    ShowOptionsDialog();
}

void TForm1::bsSkinButton1Click(TObject*) {
    ShowOptionsDialog();
}

void TForm1::Button26Click(TObject*) {
    ShowOptionsDialog();
}

void TForm1::bsSkinSpeedButton1Click(TObject*) {
    ShowOptionsDialog();
}

void TForm1::Button21Click(TObject*) {}
