// Three skinned forms side by side on a real X display: the plain look, the
// standard test skin and a stored skin, each with a skinned panel, a label
// and a status bar. Writes the forms' screen rectangles and their caption
// and caption-button places to OUTDIR/layout.txt and prints "ready"; runs
// until the first form closes (Alt+F4 on it ends the program).
// Usage: skin_form_demo [OUTDIR [STORED-SKIN-INDEX]]
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/forms/Forms.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/forms/SkinForm.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"

#include <QGuiApplication>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const char* const Title = "视频转换 Skinned form";

TForm* MakeForm(TComponent* Owner, int Left, TbsSkinData* Skin, const std::string& Name) {
    auto* F = Owner ? new TForm(Owner) : Application->CreateForm<TForm>();
    F->SetName(Name);
    F->SetCaption(Title);
    F->SetBounds(Left, 60, 400, 300);
    auto* C = new TbsSkinForm(F);
    auto* Panel = new TbsSkinPanel(F);
    Panel->SetParent(F);
    Panel->SetAlign(alClient);
    auto* Label = new TbsSkinStdLabel(F);
    Label->SetParent(Panel);
    Label->SetBounds(20, 20, 300, 24);
    Label->SetCaption("标签 Label");
    auto* Bar = new TbsSkinStatusBar(F);
    Bar->SetParent(F);
    Bar->SetAlign(alBottom);
    Bar->SetHeight(22);
    Bar->SetCaption("状态栏 Status bar");
    Bar->SetSizeGrip(true);
    C->SetStatusBar(Bar);
    if (Skin) {
        Panel->SetSkinData(Skin);
        Label->SetSkinData(Skin);
        Bar->SetSkinData(Skin);
        C->SetSkinData(Skin);
    }
    return F;
}

void WriteLayout(const std::string& File, const std::vector<TForm*>& Forms) {
    std::ofstream Out(File);
    for (TForm* F : Forms) {
        const std::string N = F->Name();
        Out << "form " << N << " " << F->Left() << " " << F->Top() << " " << F->Width() << " "
            << F->Height() << "\n";
        TbsSkinForm* C = FindSkinFormComponent(F);
        Out << "minheight " << N << " " << C->GetMinHeight() << "\n";
        for (int I = 0; I < C->ObjectCount(); ++I) {
            TbsActiveSkinObject* O = C->Object(I);
            if (!O->Visible)
                continue;
            const bool Caption = dynamic_cast<TbsSkinCaptionObject*>(O) != nullptr;
            const TRect& R = O->ObjectRect;
            Out << (Caption ? "caption " : "button ") << N << " " << O->IDName << " "
                << F->Left() + R.Left << " " << F->Top() + R.Top << " " << R.Width() << " "
                << R.Height() << "\n";
        }
        if (!C->FSkinSupport) {
            const TRect& R = C->NewDefCaptionRect;
            Out << "caption " << N << " plain " << F->Left() + R.Left << " " << F->Top() + R.Top
                << " " << R.Width() << " " << R.Height() << "\n";
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string Out = argc > 1 ? argv[1] : ".";
    const int StoredIndex = argc > 2 ? std::atoi(argv[2]) : 0;
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
        auto* Holder = new TComponent(nullptr);
        auto* TestSkin = new TbsSkinData(Holder);
        const std::string Folder = Out + "/test-skin";
        ForceDirectories(Folder);
        TestSkin->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
        auto* Stored = new TbsSkinData(Holder);
        if (StoredIndex >= 0 && StoredIndex < StoredSkinCount()) {
            Stored->SetSkinIndex(StoredIndex);
            Stored->SetSkinList(CreateStoredSkinList(Holder));
        }
        std::vector<TForm*> Forms;
        Forms.push_back(MakeForm(nullptr, 40, nullptr, "plain"));
        Forms.push_back(MakeForm(Application, 480, TestSkin, "testskin"));
        Forms.push_back(MakeForm(Application, 920, Stored, "stored"));
        for (TForm* F : Forms)
            F->Show();
        for (int I = 0; I < 20; ++I) {
            Application->ProcessMessages();
            FlushPresents();
            Backend.Wait(GetTickCount() + 25, "SkinFormDemo");
        }
        WriteLayout(Out + "/layout.txt", Forms);
        std::printf("ready\n");
        std::fflush(stdout);
        // Until the first form is closed (Alt+F4 on it).
        while (Forms[0]->Visible() && !Application->Terminated()) {
            Application->ProcessMessages();
            FlushPresents();
            Backend.Wait(GetTickCount() + 25, "SkinFormDemo");
        }
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
        delete Holder;
    }
    return 0;
}
