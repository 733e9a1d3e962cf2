// The skinned control foundation on a real X display, for the end-to-end
// test to photograph. Usage: skin_controls_demo OUTDIR
//
// One form, two halves holding the same controls: the left half has no skin
// data (every control in its plain look), the right half is bound to a skin
// data into which the standard test skin is loaded through the skin-change
// messages, as the program loads skins. Once the form is on the screen it
// writes OUTDIR/layout.txt (each control's screen rectangle, "L." or "R."
// before its name) and prints "ready"; it ends when OUTDIR/quit exists.
#include "platform/core/Threads.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TQtBackend* Desktop = nullptr;

// The controls of one half, with the names layout.txt gives them.
struct THalf {
    std::vector<std::pair<std::string, TControl*>> Named;
    template <class T> T* Add(const std::string& Name, T* Control) {
        Named.emplace_back(Name, Control);
        return Control;
    }
};

class TDemoForm : public skinctl::TSkinChangeForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TSkinChangeForm(AOwner), Data(this) {
        SetCaption("皮肤控件");
        SetBorderStyle(bsSingle);
        SetPosition(poDesktopCenter);
        HandleNeeded();
        SetClientWidth(804);
        SetClientHeight(541);
        Build(Left, 0, "视频设置");
        Build(Right, 404, "Video settings");
    }

    THalf Left, Right;
    TbsSkinData Data;

    // Binds every skinned control of the right half to the skin data.
    void BindRight() {
        for (auto& [Name, C] : Right.Named)
            Bind(C);
    }

private:
    void Bind(TControl* C) {
        if (auto* S = dynamic_cast<TbsSkinControl*>(C))
            S->SetSkinData(&Data);
        else if (auto* L = dynamic_cast<TbsSkinStdLabel*>(C))
            L->SetSkinData(&Data);
        else if (auto* T = dynamic_cast<TbsSkinTextLabel*>(C))
            T->SetSkinData(&Data);
        else if (auto* B = dynamic_cast<TbsSkinBevel*>(C))
            B->SetSkinData(&Data);
        else if (auto* Sp = dynamic_cast<TbsSkinSplitter*>(C))
            Sp->SetSkinData(&Data);
    }

    template <class T>
    T* Place(THalf& H, const std::string& Name, TWinControl* Parent, int X, int Y, int W, int Ht) {
        auto* C = H.Add(Name, new T(this));
        C->SetParent(Parent);
        C->SetBounds(X, Y, W, Ht);
        return C;
    }

    void Build(THalf& H, int X0, const std::string& GroupCaption) {
        auto* Half = new TbsSkinPanel(this);
        Half->SetParent(this);
        Half->SetSkinDataName("");
        Half->SetBorderStyle(TbsSkinBorderStyle::bvNone);
        Half->SetBounds(X0, 0, 400, 541);

        auto* Bar = Place<TbsSkinToolBar>(H, "toolbar", Half, 0, 0, 400, 30);
        Bar->SetSkinDataName("resizetoolpanel");
        Bar->SetCanScroll(true);
        int X = 4;
        for (const char* Caption : {"打开", "转换", "停止", "设置", "关于"}) {
            auto* B = new TButton(this);
            B->SetParent(Bar);
            B->SetCaption(Caption);
            B->SetBounds(X, 3, 80, 24);
            X += 84;
            auto* Divider = new TbsSkinBevel(this);
            Divider->SetParent(Bar);
            Divider->SetDividerMode(true);
            Divider->SetShape(bsLeftLine);
            Divider->SetBounds(X, 3, 6, 24);
            H.Add("divider", Divider);
            X += 8;
        }

        auto* Raised = Place<TbsSkinPanel>(H, "raised", Half, 8, 40, 120, 60);
        Raised->SetBorderStyle(TbsSkinBorderStyle::bvRaised);
        auto* Lowered = Place<TbsSkinPanel>(H, "lowered", Half, 140, 40, 120, 60);
        Lowered->SetBorderStyle(TbsSkinBorderStyle::bvLowered);
        auto* Covered = Place<TbsSkinPanel>(H, "covered", Half, 272, 40, 120, 60);
        Covered->SetBorderStyle(TbsSkinBorderStyle::bvNone);

        auto* Checked = Place<TbsSkinGroupBox>(H, "checkgroup", Half, 8, 110, 185, 90);
        Checked->SetCaption(GroupCaption);
        Checked->SetCheckedMode(true);
        Checked->SetChecked(true);
        auto* Rolled = Place<TbsSkinGroupBox>(H, "rollgroup", Half, 207, 110, 185, 90);
        Rolled->SetCaption("Audio 音频");
        Rolled->SetRollUpMode(true);
        Rolled->SetRollUpState(true);

        auto* Coloured = Place<TbsSkinPaintPanel>(H, "coloured", Half, 8, 210, 185, 90);
        Coloured->OnPanelPaint = [](TCanvas* C, TRect R) {
            C->Brush()->SetColor(TColor(RGB(40, 150, 150)));
            C->FillRect(R);
        };
        auto* Clear = Place<TbsSkinGroupBox>(H, "transparent", Coloured, 10, 10, 160, 66);
        Clear->SetCaption("透明 group");
        Clear->SetTransparentMode(true);
        auto* Cross = Place<TbsSkinPaintPanel>(H, "cross", Half, 207, 210, 185, 90);
        Cross->OnPanelPaint = [](TCanvas* C, TRect R) {
            C->Pen()->SetColor(clRed);
            C->Pen()->SetWidth(3);
            C->MoveTo(R.Left, R.Top);
            C->LineTo(R.Right, R.Bottom);
            C->MoveTo(R.Right, R.Top);
            C->LineTo(R.Left, R.Bottom);
        };

        auto* Ellipsis = Place<TbsSkinStdLabel>(H, "ellipsis", Half, 8, 310, 120, 18);
        Ellipsis->SetAutoSize(false);
        Ellipsis->SetCaption("视频转换 converter 很长的标题");
        Ellipsis->SetEllipsType(bsetEndEllips);
        auto* Disabled = Place<TbsSkinStdLabel>(H, "disabled", Half, 140, 310, 100, 18);
        Disabled->SetCaption("已禁用 Disabled");
        Disabled->SetEnabled(false);
        auto* Text = Place<TbsSkinTextLabel>(H, "textlabel", Half, 260, 306, 130, 50);
        for (const char* Line : {"第一行 first", "第二行 second", "第三行 third"})
            Text->Lines()->Add(Line);

        int BX = 8;
        for (TBevelShape Shape :
             {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer}) {
            auto* B = Place<TbsSkinBevel>(H, "bevel", Half, BX, 370, 40, 30);
            B->SetShape(Shape);
            BX += 52;
        }

        auto* Pair = Place<TbsSkinPanel>(H, "pair", Half, 8, 410, 384, 100);
        auto* LeftPane = Place<TbsSkinPanel>(H, "leftpane", Pair, 0, 0, 150, 100);
        LeftPane->SetAlign(alLeft);
        auto* Splitter = Place<TbsSkinSplitter>(H, "splitter", Pair, 150, 0, 10, 100);
        Splitter->SetAlign(alLeft);
        auto* RightPane = Place<TbsSkinPanel>(H, "rightpane", Pair, 160, 0, 100, 100);
        RightPane->SetAlign(alClient);

        auto* Status = Place<TbsSkinStatusBar>(H, "statusbar", Half, 0, 520, 400, 21);
        Status->SetSizeGrip(true);
    }
};

void WriteLayout(const std::string& Dir, TDemoForm* Form) {
    std::ofstream Out(Dir + "/layout.txt");
    for (auto [Prefix, Half] : {std::pair{"L.", &Form->Left}, std::pair{"R.", &Form->Right}})
        for (auto& [Name, C] : Half->Named) {
            const TPoint P = C->Parent()->ClientToScreen({C->Left(), C->Top()});
            Out << Prefix << Name << ' ' << P.X << ' ' << P.Y << ' ' << C->Width() << ' '
                << C->Height() << '\n';
        }
}

void Step(std::uint32_t Until) {
    Application->ProcessMessages();
    FlushPresents();
    Desktop->Wait(Until, "SkinControlsDemo");
}

bool WaitUntilShown(HWND Window) {
    const std::uint32_t GiveUp = GetTickCount() + 30000;
    for (;;) {
        Step(GetTickCount() + 100);
        QWindow* Q = Desktop->SurfaceWindow(WindowSurface(Window));
        if (Q && Q->isExposed())
            break;
        if (std::int32_t(GetTickCount() - GiveUp) > 0)
            return false;
    }
    for (int I = 0; I < 5; ++I)
        Step(GetTickCount() + 50);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_controls_demo OUTDIR\n");
        return 2;
    }
    const std::string Dir = argv[1];
    std::string Error;
    if (!PrepareQtPlatform(Error)) {
        std::fprintf(stderr, "%s\n", Error.c_str());
        return 1;
    }
    int QtArgc = 1;
    char* QtArgv[] = {argv[0], nullptr};
    QGuiApplication App(QtArgc, QtArgv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "skin_controls_demo: needs an X display\n");
        return 1;
    }
    int Status = 0;
    {
        TQtBackend Backend;
        Desktop = &Backend;
        SetBackend(&Backend);
        InitApplication();
        auto* Form = Application->CreateForm<TDemoForm>();
        Form->BindRight();
        Form->Show();
        const std::string SkinDir = Dir + "/test-skin";
        std::filesystem::create_directories(SkinDir);
        Form->Data.LoadFromFile(testskin::StandardTestSkin().WriteFolder(SkinDir));
        for (auto& [Name, C] : Form->Right.Named)
            if (auto* Bar = dynamic_cast<TbsSkinToolBar*>(C))
                Bar->UpdateScroll();
        for (auto& [Name, C] : Form->Left.Named)
            if (auto* Bar = dynamic_cast<TbsSkinToolBar*>(C))
                Bar->UpdateScroll();
        if (!WaitUntilShown(Form->Handle())) {
            std::fprintf(stderr, "skin_controls_demo: the form never showed\n");
            Status = 1;
        } else {
            WriteLayout(Dir, Form);
            std::printf("ready\n");
            std::fflush(stdout);
            const std::uint32_t GiveUp = GetTickCount() + 120000;
            while (!std::filesystem::exists(Dir + "/quit") &&
                   std::int32_t(GetTickCount() - GiveUp) < 0)
                Step(GetTickCount() + 100);
        }
        DoneApplication();
        ResetWindowSystem();
        SetBackend(nullptr);
    }
    return Status;
}
