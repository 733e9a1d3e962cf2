// The skin library's dialogs and menu bar as the main window uses them.
// Each dialog is run from exactly one method here, so the commands of the
// other units see only a folder, an index or a notice.
//
// Stand-ins until the skinned select-folder, select-skin, message-box and
// save-picture components and the skinned menu bar are available: the
// folder and skin choices answer "cancelled", the notice is the
// application's message box, and the menu bar is an empty strip.
#include "app/Unit1.h"

#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Panel.h"

bool TForm1::ExecuteOutputFolderDialog(std::string&) {
    return false;
}

bool TForm1::ExecuteSelectSkinDialog(int, int&) {
    return false;
}

void TForm1::ShowNotice(const std::string& Text) {
    Application->MessageBox(Text, "提示", MB_OK | MB_ICONASTERISK);
}

void TForm1::SetUpSnapshotDialog() {}

void TForm1::CreateMainMenuBar() {
    auto* Bar = new TbsSkinPanel(this);
    Bar->SetName("bsSkinMainMenuBar1");
    Bar->SetParent(this);
    Bar->SetSkinDataName("panel");
    Bar->SetSkinData(bsSkinData1);
    Bar->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    Bar->SetCaption("");
    bsSkinMainMenuBar1 = Bar;
}
