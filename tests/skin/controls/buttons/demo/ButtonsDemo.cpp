// The skinned buttons, boxes, bars, slider, up-downs, views and page control
// on a real X display, for the end-to-end test to photograph. Usage:
// skin_buttons_demo OUTDIR [stored:N]
//
// Two halves hold the same controls: the left one without skin data (plain
// looks), the right one bound to the standard test skin, or to the
// program's stored skin N when asked. Once OUTDIR/next exists the right
// half changes to stored skin 0 and the demo prints "ready" again. A plain edit holds
// the focus, so both Default buttons show their highlight. Once the form is
// on the screen it writes OUTDIR/layout.txt (each control's screen
// rectangle, "L." or "R." before its name) and prints "ready"; it ends when
// OUTDIR/quit exists. OUTDIR/pointer.txt names the screen point (the skinned
// "Hot" button) where the script rests the pointer before photographing.
#include "platform/core/Clock.h"
#include "platform/core/Threads.h"
#include "platform/forms/Edits.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

struct THalf {
    std::map<std::string, TControl*> Named;
    TPanel* Panel = nullptr;
};

template <class T>
T* Put(THalf& H, TComponent* Owner, const std::string& Name, int X, int Y, int W, int Ht) {
    auto* C = new T(Owner);
    C->SetParent(H.Panel);
    C->SetBounds(X, Y, W, Ht);
    H.Named[Name] = C;
    return C;
}

// A list of square images, one per colour, each a filled disc on a fuchsia
// ground (the list's transparent colour).
TCustomImageList* Discs(TComponent* Owner, std::initializer_list<TColor> Colours) {
    auto* L = new TCustomImageList(Owner);
    L->SetWidth(16);
    L->SetHeight(16);
    for (TColor C : Colours) {
        TBitmap B;
        B.SetSize(16, 16);
        B.Canvas()->Brush()->SetColor(clFuchsia);
        B.Canvas()->FillRect({0, 0, 16, 16});
        B.Canvas()->Brush()->SetColor(C);
        B.Canvas()->Pen()->SetColor(C);
        B.Canvas()->Ellipse(1, 1, 15, 15);
        L->AddMasked(&B, clFuchsia);
    }
    return L;
}

// The push buttons with a picture (a four-cell glyph, an image-list image)
// and a tool bar of flat speed buttons drawing its image lists, with a split
// menu button at its end.
void BuildPictureButtons(TForm* Form, THalf& H, TbsSkinData* SD) {
    auto* G = Put<TbsSkinButton>(H, Form, "glyph", 10, 582, 75, 25);
    TBitmap Cells;
    Cells.SetSize(64, 16);
    Cells.Canvas()->Brush()->SetColor(clFuchsia);
    Cells.Canvas()->FillRect({0, 0, 64, 16});
    const TColor CellColours[] = {clGreen, clGray, clNavy, clRed};
    for (int I = 0; I < 4; ++I) {
        Cells.Canvas()->Brush()->SetColor(CellColours[I]);
        Cells.Canvas()->FillRect({I * 16 + 3, 3, I * 16 + 13, 13});
    }
    G->SetGlyph(&Cells);
    G->SetNumGlyphs(4);
    G->SetCaption("Go");
    auto* I = Put<TbsSkinButton>(H, Form, "imagebutton", 90, 582, 75, 25);
    I->SetImageList(Discs(Form, {clBlue}));
    I->SetImageIndex(0);
    I->SetCaption("Disc");

    auto* Bar = Put<TbsSkinToolBar>(H, Form, "toolbar", 175, 577, 315, 36);
    Bar->SetImages(Discs(Form, {clRed, clLime, clBlue}));
    Bar->SetHotImages(Discs(Form, {clYellow, clYellow, clYellow}));
    Bar->SetDisabledImages(Discs(Form, {clGray, clGray, clGray}));
    const char* Tools[] = {"tool0", "tool1", "tool2"};
    for (int T = 0; T < 3; ++T) {
        auto* S = new TbsSkinSpeedButton(Form);
        S->SetParent(Bar);
        S->SetBounds(4 + T * 34, 3, 30, 30);
        S->SetImageIndex(T);
        H.Named[Tools[T]] = S;
    }
    static_cast<TbsSkinSpeedButton*>(H.Named["tool2"])->SetEnabled(false);
    auto* M = new TbsSkinMenuSpeedButton(Form);
    M->SetParent(Bar);
    M->SetBounds(110, 3, 60, 30);
    M->SetCaption("Add");
    M->SetTrackButtonMode(true);
    H.Named["menubutton"] = M;
    Bar->SetFlat(true);
    if (SD) {
        G->SetSkinData(SD);
        I->SetSkinData(SD);
        Bar->SetSkinData(SD);
    }
}

void Build(TForm* Form, THalf& H, int Left, TbsSkinData* SD) {
    H.Panel = new TPanel(Form);
    H.Panel->SetParent(Form);
    H.Panel->SetBounds(Left, 0, 500, 690);
    H.Panel->SetBevelOuter(bvNone);
    auto Skin = [SD](auto* C) {
        if (SD)
            C->SetSkinData(SD);
    };
    auto* B = Put<TbsSkinButton>(H, Form, "button", 10, 10, 75, 25);
    B->SetCaption("Plain");
    auto* D = Put<TbsSkinButton>(H, Form, "default", 95, 10, 75, 25);
    D->SetCaption("Default");
    D->SetDefault(true);
    auto* X = Put<TbsSkinButton>(H, Form, "disabled", 180, 10, 75, 25);
    X->SetCaption("Off");
    X->SetEnabled(false);
    auto* G1 = Put<TbsSkinButton>(H, Form, "groupdown", 265, 10, 75, 25);
    auto* G2 = Put<TbsSkinButton>(H, Form, "groupup", 350, 10, 75, 25);
    for (auto* G : {G1, G2}) {
        G->SetGroupIndex(1);
        G->SetCaption("Group");
    }
    G1->SetDown(true);
    auto* Hot = Put<TbsSkinButton>(H, Form, "hot", 435, 10, 60, 25);
    Hot->SetCaption("Hot");
    for (auto* C : {B, D, X, G1, G2, Hot})
        Skin(C);

    const char* Boxes[] = {"checked", "unchecked", "grayed", "offbox", "radio1", "radio2"};
    for (int I = 0; I < 6; ++I) {
        auto* C = Put<TbsSkinCheckRadioBox>(H, Form, Boxes[I], 10 + (I % 3) * 160,
                                            45 + (I / 3) * 30, 150, 25);
        C->SetCaption(Boxes[I]);
        if (I >= 4) {
            C->SetRadio(true);
            C->SetGroupIndex(1);
            C->SetSkinDataName("radiobox");
        }
        C->SetFlat(I % 2 == 0);
        Skin(C);
    }
    static_cast<TbsSkinCheckRadioBox*>(H.Named["checked"])->SetChecked(true);
    static_cast<TbsSkinCheckRadioBox*>(H.Named["grayed"])->SetState(cbGrayed);
    H.Named["offbox"]->SetEnabled(false);
    static_cast<TbsSkinCheckRadioBox*>(H.Named["radio2"])->SetChecked(true);

    auto* HB = Put<TbsSkinScrollBar>(H, Form, "hbar", 10, 110, 200, 19);
    HB->SetRange(0, 100, 50, 0);
    auto* VB = Put<TbsSkinScrollBar>(H, Form, "vbar", 220, 110, 19, 120);
    VB->SetSkinDataName("vscrollbar");
    VB->SetKind(sbVertical);
    VB->SetRange(0, 100, 25, 0);
    auto* HU = Put<TbsSkinUpDown>(H, Form, "hupdown", 250, 110, 50, 25);
    auto* VU = Put<TbsSkinUpDown>(H, Form, "vupdown", 310, 110, 20, 40);
    VU->SetOrientation(udVertical);
    VU->SetSkinDataName("vupdown");
    auto* S1 = Put<TbsSkinSlider>(H, Form, "slider", 10, 140, 200, 40);
    auto* S2 = Put<TbsSkinSlider>(H, Form, "slider30", 10, 185, 200, 40);
    S2->SetValue(30);
    S2->SetOptions(TbsSliderOptions{soSmooth});
    for (auto* C : {HB, VB})
        Skin(C);
    for (auto* C : {HU, VU})
        Skin(C);
    for (auto* C : {S1, S2})
        Skin(C);

    auto* LV = Put<TbsSkinListView>(H, Form, "listview", 10, 240, 300, 150);
    LV->SetViewStyle(vsReport);
    for (int C = 0; C < 6; ++C) {
        TListColumn* Col = LV->Columns()->Add();
        Col->SetCaption("Col " + std::to_string(C));
        Col->SetWidth(70);
    }
    for (int R = 0; R < 30; ++R)
        LV->Items()->Add()->SetCaption("Row " + std::to_string(R));
    auto* LVV = Put<TbsSkinScrollBar>(H, Form, "lvvbar", 310, 240, 19, 150);
    LVV->SetSkinDataName("vscrollbar");
    LVV->SetKind(sbVertical);
    auto* LVH = Put<TbsSkinScrollBar>(H, Form, "lvhbar", 10, 390, 300, 19);
    for (auto* C : {LVV, LVH})
        Skin(C);
    LV->SetVScrollBar(LVV);
    LV->SetHScrollBar(LVH);
    Skin(LV);

    auto* TV = Put<TbsSkinCustomTreeView>(H, Form, "treeview", 340, 240, 130, 150);
    TTreeNode* Root = TV->Items()->Add(nullptr, "Branch");
    for (int I = 0; I < 20; ++I)
        TV->Items()->AddChild(Root, "Leaf " + std::to_string(I));
    Root->Expand(false);
    auto* TVV = Put<TbsSkinScrollBar>(H, Form, "tvvbar", 470, 240, 19, 150);
    TVV->SetSkinDataName("vscrollbar");
    TVV->SetKind(sbVertical);
    Skin(TVV);
    TV->SetVScrollBar(TVV);
    Skin(TV);

    auto* PC = Put<TbsSkinPageControl>(H, Form, "pages", 10, 420, 480, 150);
    for (int I = 0; I < 4; ++I) {
        auto* Sheet = new TbsSkinTabSheet(Form);
        Sheet->SetPageControl(PC);
        Sheet->SetCaption("Tab " + std::to_string(I));
    }
    PC->SetActivePageIndex(0);
    PC->SetShowCloseButtons(true);
    Skin(PC);

    BuildPictureButtons(Form, H, SD);
}

void WriteLayout(const std::string& Dir, THalf& L, THalf& R) {
    std::ofstream Out(Dir + "/layout.txt");
    for (auto [Prefix, Half] : {std::pair{"L.", &L}, std::pair{"R.", &R}})
        for (auto& [Name, C] : Half->Named) {
            const TPoint P = C->Parent()->ClientToScreen({C->Left(), C->Top()});
            Out << Prefix << Name << ' ' << P.X << ' ' << P.Y << ' ' << C->Width() << ' '
                << C->Height() << '\n';
        }
}

} // namespace

int main(int argc, char** argv) {
    RecordMainThread();
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: skin_buttons_demo OUTDIR [stored:N]\n");
        return 2;
    }
    const std::string Dir = argv[1];
    TDemoDesktop Desktop("ButtonsDemo");
    if (!Desktop.OpenDisplay(argv[0], true))
        return 1;
    Desktop.Start();
    auto* Form = Application->CreateForm<TForm>();
    Form->SetBounds(20, 20, 1010, 700);
    auto* SD = new TbsSkinData(Form);
    const std::string SkinDir = Dir + "/test-skin";
    std::filesystem::create_directories(SkinDir);
    if (argc == 3 && std::string(argv[2]).rfind("stored:", 0) == 0) {
        SD->SetSkinList(CreateStoredSkinList(Form));
        SD->SetSkinIndex(std::stoi(std::string(argv[2]).substr(7)));
    } else {
        SD->LoadFromFile(testskin::StandardTestSkin().WriteFolder(SkinDir));
    }
    THalf Left, Right;
    Build(Form, Left, 0, nullptr);
    Build(Form, Right, 505, SD);
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 660, 200, 22);
    Form->Show();
    Edit->SetFocus();
    if (!Desktop.WaitUntilShown({Form->Handle()})) {
        std::fprintf(stderr, "skin_buttons_demo: the form never showed\n");
        return 1;
    }
    WriteLayout(Dir, Left, Right);
    // Where the photographing script rests the pointer: the middle of the
    // skinned "Hot" button.
    {
        TControl* Hot = Right.Named["hot"];
        const TPoint P = Hot->ClientToScreen({Hot->Width() / 2, Hot->Height() / 2});
        std::ofstream(Dir + "/pointer.txt") << P.X << ' ' << P.Y << '\n';
    }
    Announce();
    const std::uint32_t GiveUp = GetTickCount() + 120000;
    bool Stored = false;
    Desktop.RunWhile([&] {
        // The second picture: the program's first stored skin in the right
        // half, each control told of the new skin.
        if (!Stored && std::filesystem::exists(Dir + "/next")) {
            Stored = true;
            SD->SetSkinList(CreateStoredSkinList(Form));
            SD->SetSkinIndex(0);
            for (auto& [Name, C] : Right.Named) {
                if (auto* Skinned = dynamic_cast<TbsSkinControl*>(C))
                    Skinned->SetSkinData(SD);
                else if (auto* LV = dynamic_cast<TbsSkinCustomListView*>(C))
                    LV->SetSkinData(SD);
                else if (auto* TV = dynamic_cast<TbsSkinCustomTreeView*>(C))
                    TV->SetSkinData(SD);
                else if (auto* PC = dynamic_cast<TbsSkinPageControl*>(C))
                    PC->SetSkinData(SD);
            }
            Desktop.Pump(5, 50);
            Announce();
        }
        return !std::filesystem::exists(Dir + "/quit") && !TickPassed(GiveUp);
    });
    return 0;
}
