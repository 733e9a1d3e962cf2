#include "tests/skin/controls/support/SkinControlsDemoForm.h"

#include "platform/forms/StdCtrls.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"

#include <cstdio>
#include <filesystem>

namespace skinctl {

void BindSkinData(TControl* C, TbsSkinData* Data) {
    if (auto* S = dynamic_cast<TbsSkinControl*>(C))
        S->SetSkinData(Data);
    else if (auto* L = dynamic_cast<TbsSkinStdLabel*>(C))
        L->SetSkinData(Data);
    else if (auto* T = dynamic_cast<TbsSkinTextLabel*>(C))
        T->SetSkinData(Data);
    else if (auto* B = dynamic_cast<TbsSkinBevel*>(C))
        B->SetSkinData(Data);
    else if (auto* Sp = dynamic_cast<TbsSkinSplitter*>(C))
        Sp->SetSkinData(Data);
}

TDemoForm::TDemoForm(TComponent* AOwner) : TSkinChangeForm(AOwner), Data(this) {
    SetCaption("皮肤控件");
    SetBorderStyle(bsSingle);
    SetPosition(poDesktopCenter);
    HandleNeeded();
    SetClientWidth(804);
    SetClientHeight(541);
    Build(Left, 0, "视频设置");
    Build(Right, 404, "Video settings");
}

void TDemoForm::BindRight() {
    for (auto& [Name, C] : Right.Named)
        BindSkinData(C, &Data);
}

template <class T>
T* TDemoForm::Place(THalf& H, const std::string& Name, TWinControl* Parent, int X, int Y, int W,
                    int Ht) {
    auto* C = H.Add(Name, new T(this));
    C->SetParent(Parent);
    C->SetBounds(X, Y, W, Ht);
    return C;
}

void TDemoForm::Build(THalf& H, int X0, const std::string& GroupCaption) {
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

TbsSkinData* LoadDemoSkin(TComponent* Owner, const std::string& Dir, const std::string& Choice,
                          const char* Program) {
    auto* SD = new TbsSkinData(Owner);
    std::string File = Choice;
    if (File.empty()) {
        const std::string Folder = Dir + "/skin";
        std::filesystem::create_directories(Folder);
        File = testskin::StandardTestSkin().WriteFolder(Folder);
    }
    if (File.rfind("stored:", 0) == 0) {
        SD->SetSkinList(CreateStoredSkinList(Owner));
        SD->SetSkinIndex(std::stoi(File.substr(7)));
    } else {
        SD->LoadFromFile(File);
    }
    if (!SD->Empty)
        return SD;
    std::fprintf(stderr, "%s: the skin %s did not load\n", Program, File.c_str());
    return nullptr;
}

} // namespace skinctl
