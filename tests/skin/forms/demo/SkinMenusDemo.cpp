// A skinned form with the program's kind of menus on a real X display: a menu
// bar (文件, 编辑, 动作, 功能, 帮助), a plain button with a skinned popup menu,
// a button that opens an images menu, an edit with a skinned hint and a tray
// icon. Prints "ready" with OUTDIR/layout.txt written, then runs the scene
// named on the command line (the keys and clicks come from outside), writes
// OUTDIR/state.txt each time OUTDIR/dump appears and ends when OUTDIR/quit
// appears.
// Usage: skin_menus_demo OUTDIR (--plain | --test-skin | --stored N) SCENE
//   SCENE: bar, popup, hint, images, sysmenu, tray
#include "platform/core/Paths.h"
#include "platform/forms/Edits.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Windows.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinHint.h"
#include "skin/forms/bsSkinImagesMenu.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/forms/bsTrayIcon.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct TDemo {
    TForm* Form = nullptr;
    TbsSkinForm* Component = nullptr;
    TbsSkinMainMenuBar* Bar = nullptr;
    TButton* PopupButton = nullptr;
    TButton* ImagesButton = nullptr;
    TEdit* Edit = nullptr;
    TbsSkinHint* Hint = nullptr;
    TbsSkinImagesMenu* ImagesMenu = nullptr;
    TbsTrayIcon* Tray = nullptr;
    TCustomImageList* Images = nullptr;
};

TMenuItem* Add(TMenuItem* Parent, const std::string& Caption, TShortCut Key = 0) {
    auto* I = new TMenuItem(Parent->Owner());
    I->SetCaption(Caption);
    I->SetShortCut(Key);
    Parent->Add(I);
    return I;
}

void BuildMainMenu(TMainMenu* M, TCustomImageList* Images) {
    TMenuItem* File = Add(M->Items(), "文件(&F)");
    Add(File, "添加文件(&A)", ShortCut('O', TShiftState{ssCtrl}))->SetImageIndex(0);
    Add(File, "添加文件夹(&D)");
    Add(File, "-");
    Add(File, "退出(&X)", ShortCut(VK_F4, TShiftState{ssAlt}));
    TMenuItem* Edit = Add(M->Items(), "编辑(&E)");
    Add(Edit, "剪切(&T)", ShortCut('X', TShiftState{ssCtrl}))->SetEnabled(false);
    Add(Edit, "全选(&A)", ShortCut('A', TShiftState{ssCtrl}));
    TMenuItem* Action = Add(M->Items(), "动作(&A)");
    Add(Action, "开始(&S)");
    TMenuItem* Snap = Add(Action, "快照保存类型");
    for (const char* T : {"JPG", "BMP", "PNG"}) {
        TMenuItem* R = Add(Snap, T);
        R->SetRadioItem(true);
        R->SetGroupIndex(1);
    }
    Snap->Items(0)->SetChecked(true);
    Add(Action, "停止(&T)")->SetEnabled(false);
    TMenuItem* Tools = Add(M->Items(), "功能(&U)");
    Add(Tools, "选项(&O)...");
    TMenuItem* Help = Add(M->Items(), "帮助(&H)");
    Add(Help, "关于(&A)...");
    M->SetImages(Images);
}

TCustomImageList* MakeImages(TComponent* Owner) {
    auto* L = new TCustomImageList(Owner);
    L->SetWidth(16);
    L->SetHeight(16);
    const TColor Colours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200),
                              RGB(200, 160, 0), RGB(120, 0, 160), RGB(0, 150, 150)};
    for (TColor C : Colours) {
        TBitmap B;
        B.SetSize(16, 16);
        B.Canvas()->Brush()->SetColor(clFuchsia);
        B.Canvas()->FillRect({0, 0, 16, 16});
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->FillRect({2, 2, 14, 14});
        L->AddMasked(&B, clFuchsia);
    }
    return L;
}

TDemo Build(TbsSkinData* Skin) {
    TDemo D;
    D.Form = Application->CreateForm<TForm>();
    D.Form->SetName("MenusDemo");
    D.Form->SetCaption("视频转换 Skinned menus");
    D.Form->SetBounds(60, 60, 560, 380);
    D.Images = MakeImages(D.Form);
    D.Component = new TbsSkinForm(D.Form);
    D.Hint = new TbsSkinHint(D.Form);
    D.Hint->SetLineSeparator("@");
    TFont F;
    F.SetName("MS Sans Serif");
    F.SetHeight(-11);
    F.SetColor(clWindowText);
    D.Hint->SetDefaultFont(&F);
    D.Component->SetSkinHint(D.Hint);
    auto* Menu = new TbsSkinMainMenu(D.Form);
    BuildMainMenu(Menu, D.Images);
    D.Bar = new TbsSkinMainMenuBar(D.Form);
    D.Bar->SetParent(D.Form);
    D.Bar->SetSkinForm(D.Component);
    D.Bar->SetMainMenu(Menu);
    D.Component->SetMainMenuBar(D.Bar);

    auto* Popup = new TbsSkinPopupMenu(D.Form);
    for (const char* T : {"打开(&O)", "属性(&P)", "-", "删除(&D)"})
        Add(Popup->Items(), T);
    Popup->Items()->Items(0)->SetImageIndex(1);
    Popup->SetImages(D.Images);
    D.PopupButton = new TButton(D.Form);
    D.PopupButton->SetParent(D.Form);
    D.PopupButton->SetBounds(20, 60, 140, 30);
    D.PopupButton->SetCaption("右键菜单");
    D.PopupButton->SetPopupMenu(Popup);

    D.ImagesMenu = new TbsSkinImagesMenu(D.Form);
    D.ImagesMenu->SetImages(D.Images);
    D.ImagesMenu->SetColumnsCount(3);
    D.ImagesMenu->ImagesItems()->Add()->Header = true;
    D.ImagesMenu->ImagesItems()->Items(0)->SetCaption("图像");
    for (int i = 0; i < 6; ++i)
        D.ImagesMenu->ImagesItems()->Add()->SetImageIndex(i);
    TbsImagesMenuItem* More = D.ImagesMenu->ImagesItems()->Add();
    More->Button = true;
    More->SetCaption("更多...");
    D.ImagesMenu->SetItemIndex(2);
    D.ImagesButton = new TButton(D.Form);
    D.ImagesButton->SetParent(D.Form);
    D.ImagesButton->SetBounds(180, 60, 140, 30);
    D.ImagesButton->SetCaption("图像菜单");

    D.Edit = new TEdit(D.Form);
    D.Edit->SetParent(D.Form);
    D.Edit->SetBounds(20, 120, 300, 24);
    D.Edit->SetHint("输出文件夹@Output folder");
    D.Edit->SetShowHint(true);

    D.Tray = new TbsTrayIcon(D.Form);
    D.Tray->SetHint("Ostrela");
    D.Component->SetTrayIcon(D.Tray);
    if (Skin) {
        D.Component->SetSkinData(Skin);
        D.Component->SetMenusSkinData(Skin);
        D.Bar->SetSkinData(Skin);
        Menu->SetSkinData(Skin);
        Popup->SetSkinData(Skin);
        D.Hint->SetSkinData(Skin);
        D.ImagesMenu->SetSkinData(Skin);
    }
    return D;
}

void WriteRect(std::ofstream& Out, const std::string& Name, TControl* C) {
    const TPoint P = C->Parent() ? C->ClientToScreen({0, 0}) : TPoint{C->Left(), C->Top()};
    Out << Name << " " << P.X << " " << P.Y << " " << C->Width() << " " << C->Height() << "\n";
}

void WriteLayout(const std::string& File, TDemo& D) {
    std::ofstream Out(File);
    WriteRect(Out, "form", D.Form);
    WriteRect(Out, "bar", D.Bar);
    WriteRect(Out, "popupbutton", D.PopupButton);
    WriteRect(Out, "imagesbutton", D.ImagesButton);
    WriteRect(Out, "edit", D.Edit);
    for (int i = 0; i < D.Bar->ItemCount(); ++i) {
        const TRect& R = D.Bar->Item(i)->ObjectRect;
        const TPoint P = D.Bar->ClientToScreen({R.Left, R.Top});
        Out << "baritem" << i << " " << P.X << " " << P.Y << " " << R.Width() << " " << R.Height()
            << "\n";
    }
}

void WriteState(const std::string& File, TDemo& D) {
    std::ofstream Out(File);
    TbsSkinMenu* Chain = D.Component->SkinMenu;
    for (int i = 0; Chain && i < Chain->PopupCount(); ++i) {
        TbsSkinPopupWindow* W = Chain->PopupWindow(i);
        WriteRect(Out, "popup" + std::to_string(i), W);
        for (int j = 0; j < W->ItemCount(); ++j) {
            const TRect& R = W->Item(j)->ObjectRect;
            Out << "popup" << i << "item" << j << " " << W->Left() + R.Left << " "
                << W->Top() + R.Top << " " << R.Width() << " " << R.Height() << "\n";
        }
        Out << "popup" << i << "active " << W->ActiveItem << " 0 0 0\n";
    }
    for (int i = 0; i < D.Bar->ItemCount(); ++i)
        if (D.Bar->Item(i)->FDown)
            Out << "bardown " << i << " 0 0 0\n";
    if (D.Hint->IsVisible())
        WriteRect(Out, "hint", D.Hint->HW);
    if (TbsSkinImagesMenuPopupWindow* W = D.ImagesMenu->PopupWindow())
        WriteRect(Out, "images", W);
    Out << "focus " << (Screen->ActiveControl() == D.Edit ? 1 : 0) << " 0 0 0\n";
    Out << "formvisible " << (D.Form->Visible() ? 1 : 0) << " 0 0 0\n";
    Out << "formminimized " << (IsIconic(D.Form->Handle()) ? 1 : 0) << " 0 0 0\n";
    Out << "trayarea " << (NotifyAreaAvailable() ? 1 : 0) << " 0 0 0\n";
    Out << "trayicon " << (D.Tray->IconVisible() ? 1 : 0) << " 0 0 0\n";
}

void RunScene(const std::string& Scene, TDemo& D) {
    if (Scene == "hint") {
        D.Hint->ActivateHintEx({80, 300}, "输出文件夹", "转换后的文件@保存在这里", 3, D.Images);
    } else if (Scene == "images") {
        const TPoint P = D.ImagesButton->ClientToScreen({0, 0});
        D.ImagesMenu->PopupFromRect(
            {P.X, P.Y, P.X + D.ImagesButton->Width(), P.Y + D.ImagesButton->Height()});
    } else if (Scene == "tray") {
        D.Component->MinimizeToTray();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: skin_menus_demo OUTDIR (--plain | --test-skin | --stored N) "
                             "SCENE\n");
        return 2;
    }
    const std::string Out = argv[1];
    const std::string Look = argv[2];
    const int StoredIndex = Look == "--stored" && argc > 4 ? std::atoi(argv[3]) : -1;
    const std::string Scene = argv[Look == "--stored" ? 4 : 3];
    TDemoDesktop Desktop("skin_menus_demo");
    if (!Desktop.OpenDisplay(argv[0]))
        return 1;
    Desktop.Start();
    auto* Holder = new TComponent(nullptr);
    TbsSkinData* Skin = nullptr;
    if (Look == "--test-skin") {
        Skin = new TbsSkinData(Holder);
        const std::string Folder = Out + "/test-skin";
        ForceDirectories(Folder);
        Skin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
    } else if (StoredIndex >= 0 && StoredIndex < StoredSkinCount()) {
        Skin = new TbsSkinData(Holder);
        Skin->SetSkinIndex(StoredIndex);
        Skin->SetSkinList(CreateStoredSkinList(Holder));
    }
    TDemo D = Build(Skin);
    D.Form->Show();
    D.Edit->SetFocus();
    Desktop.Pump(20);
    WriteLayout(Out + "/layout.txt", D);
    Announce();
    RunScene(Scene, D);
    namespace fs = std::filesystem;
    Desktop.RunWhile(
        [&] {
            if (fs::exists(Out + "/quit") || Application->Terminated())
                return false;
            if (fs::exists(Out + "/dump")) {
                WriteState(Out + "/state.txt", D);
                fs::remove(Out + "/dump");
                Announce("dumped");
            }
            return true;
        },
        25);
    Desktop.Close();
    delete Holder;
    return 0;
}
