// A skinned MDI main form with a tab bar and four tiled children, and a
// second form whose client is blurred while it is inactive, on a real X
// display. With a compositing desktop the main form wears its layered
// border. Writes the forms' and tabs' screen rectangles to OUTDIR/layout.txt
// and prints "ready"; runs until the main form closes (Alt+F4 on it).
// Usage: skin_mdi_demo [OUTDIR [max] [stored=N]] (N: a stored skin instead of
// the standard test skin)
#include "platform/core/Paths.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/forms/SkinForm.MdiTabs.h"
#include "skin/forms/SkinForm.h"
#include "skin/model/bsEffects.Bitmap.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/skin/forms/demo/DemoExpectations.h"
#include "tests/support/DemoDesktop.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const std::string Out = argc > 1 ? argv[1] : ".";
    bool Maximize = false;
    int StoredIndex = -1;
    for (int I = 2; I < argc; ++I) {
        const std::string A = argv[I];
        if (A == "max")
            Maximize = true;
        else if (A.rfind("stored=", 0) == 0)
            StoredIndex = std::atoi(A.c_str() + 7);
    }
    TDemoDesktop Desktop("skin_mdi_demo");
    if (!Desktop.OpenDisplay(argv[0]))
        return 1;
    Desktop.Start();
    auto* Holder = new TComponent(nullptr);
    auto* Skin = new TbsSkinData(Holder);
    const std::string Folder = Out + "/test-skin";
    ForceDirectories(Folder);
    // The layer picture's band can be dragged to resize the form.
    testskin::TTestSkin Pictures = testskin::StandardTestSkin({.LayerFrame = true});
    Pictures.SetRecord("LAYERFRAME",
                       {"pictureindex=3", "lefttoppoint=8,8", "righttoppoint=32,8",
                        "leftbottompoint=8,32", "rightbottompoint=32,32", "clientrect=8,8,32,32",
                        "alphablendvalue=200", "borderrect=2,2,38,38", "hittestenable=1"});
    Skin->LoadFromFile(Pictures.WriteFolder(Folder));
    // A stored skin instead, by command line.
    if (StoredIndex >= 0 && StoredIndex < StoredSkinCount()) {
        Skin = new TbsSkinData(Holder);
        Skin->SetSkinIndex(StoredIndex);
        Skin->SetSkinList(CreateStoredSkinList(Holder));
    }

    TForm* Main = Application->CreateForm<TForm>();
    Main->SetName("Main");
    Main->SetCaption("Main");
    Main->SetFormStyle(fsMDIForm);
    Main->SetBounds(60, 60, 900, 600);
    auto* MainSkin = new TbsSkinForm(Main);
    auto* Menu = new TMainMenu(Main);
    auto* WindowItem = new TMenuItem(Menu);
    WindowItem->SetCaption("Window");
    Menu->Items()->Add(WindowItem);
    Main->SetWindowMenu(WindowItem);
    auto* Tabs = new TbsSkinMDITabsBar(Main);
    Tabs->SetParent(Main);
    Tabs->SetAlign(alTop);
    Tabs->SetShowCloseButtons(true);
    MainSkin->SetMDITabsBar(Tabs);
    // The plain tabs: the standard test skin's "tab" element is drawn
    // for the page control.
    MainSkin->SetSkinData(Skin);
    Main->Show();
    Desktop.Pump(4);

    std::vector<TForm*> Children;
    for (int I = 0; I < 4; ++I) {
        auto* C = new TForm(Application);
        C->SetName("Doc" + std::to_string(I));
        C->SetCaption("文档 Doc" + std::to_string(I));
        C->SetFormStyle(fsMDIChild);
        C->SetBounds(10 * I, 10 * I, 300, 200);
        auto* Comp = new TbsSkinForm(C);
        auto* Panel = new TbsSkinPanel(C);
        Panel->SetParent(C);
        Panel->SetAlign(alClient);
        Panel->SetSkinData(Skin);
        Comp->SetSkinData(Skin);
        C->Show();
        Children.push_back(C);
    }
    Desktop.Pump(4);
    MainSkin->Tile();
    if (Maximize)
        FindSkinFormComponent(Children[0])->SetWindowState(wsMaximized);

    auto* Second = new TForm(Application);
    Second->SetName("Second");
    Second->SetCaption("模糊 Inactive blur");
    Second->SetBounds(1000, 120, 420, 320);
    auto* SecondSkin = new TbsSkinForm(Second);
    SecondSkin->SetClientInActiveEffect(true);
    SecondSkin->SetClientInActiveEffectType(bsieBlur);
    auto* Images = new TImageList(Second);
    for (TColor Colour : {RGB(220, 60, 40), RGB(40, 160, 60)}) {
        TBitmap Glyph;
        Glyph.SetSize(16, 16);
        Glyph.Canvas()->Brush()->SetColor(Colour);
        Glyph.Canvas()->FillRect(TRect{2, 2, 14, 14});
        Images->Add(&Glyph, nullptr);
    }
    SecondSkin->SetQuickImageList(Images);
    for (int I = 0; I < 2; ++I)
        SecondSkin->QuickButtons()->Add()->SetImageIndex(I);
    auto* Panel = new TbsSkinPanel(Second);
    Panel->SetParent(Second);
    Panel->SetAlign(alClient);
    Panel->SetSkinData(Skin);
    auto* Label = new TbsSkinStdLabel(Second);
    Label->SetParent(Panel);
    Label->SetBounds(20, 20, 360, 40);
    Label->SetCaption("标签 Blurred while inactive");
    Label->SetSkinData(Skin);
    SecondSkin->SetSkinData(Skin);
    Second->Show();
    Desktop.Pump(6);
    Main->SetFocus();
    Desktop.Pump(10);

    std::ofstream Layout(Out + "/layout.txt");
    for (TForm* F : {Main, Second})
        Layout << "form " << F->Name() << " " << F->Left() << " " << F->Top() << " " << F->Width()
               << " " << F->Height() << "\n";
    const TPoint Origin = Main->ClientToScreen(TPoint{0, 0});
    TRect Area;
    GetWindowRect(Main->ClientHandle(), &Area);
    for (TForm* C : Children)
        Layout << "child " << C->Name() << " " << Area.Left + C->Left() << " "
               << Area.Top + C->Top() << " " << C->Width() << " " << C->Height() << "\n";
    Tabs->CalcTabRects();
    for (int I = 0; I < Tabs->TabCount(); ++I) {
        const TRect& R = Tabs->Tab(I)->ObjectRect;
        Layout << "tab " << Tabs->Tab(I)->Child->Name() << " " << Origin.X + Tabs->Left() + R.Left
               << " " << Origin.Y + Tabs->Top() + R.Top << " " << R.Width() << " " << R.Height()
               << "\n";
    }
    Layout << "panel " << (SecondSkin->FInActivePanel && SecondSkin->FInActivePanel->Visible())
           << " second-active " << Second->Active() << "\n";
    Layout << "border " << (MainSkin->IsLayeredBorderVisible() ? 1 : 0) << "\n";
    Layout.close();

    // The photograph: every frame as painted, each tab at its laid-out
    // place in its own fill (the active child's darker) with its caption,
    // and, where the border is up, the pixels just outside the main form
    // unlike the desktop further out.
    std::ofstream Expect(Out + "/expect.txt");
    WriteFramePoints(Expect, Main, "main");
    WriteFramePoints(Expect, Second, "second");
    for (TForm* C : Children)
        WriteFramePoints(Expect, C, C->Name());
    for (int I = 0; I < Tabs->TabCount(); ++I) {
        TbsMDITab* Tab = Tabs->Tab(I);
        const int X = Origin.X + Tabs->Left() + Tab->ObjectRect.Left;
        const int Y = Origin.Y + Tabs->Top() + Tab->ObjectRect.Top;
        const std::string Fill =
            Hex(RgbOf(Tab->Active ? TColor(RGB(133, 147, 181)) : TColor(clBtnFace)));
        const std::string Name = "tab-" + Tab->Child->Name();
        Expect << "pixel " << Name << " " << X + 1 << " " << Y + 1 << " " << Fill << "\n";
        Expect << "pixel " << Name << " " << X + 1 << " " << Y + Tab->ObjectRect.Height() - 2 << " "
               << Fill << "\n";
        Expect << "ink " << Name << "-caption " << X + 2 << " " << Y << " "
               << Tab->ObjectRect.Width() - Tabs->FCloseSize - 7 << " " << Tab->ObjectRect.Height()
               << " 15 " << Fill << "\n";
    }
    // The inactive second form shows its blurred client picture as made.
    if (TbsClientInActivePanel* P = SecondSkin->FInActivePanel; P && P->Visible() && P->Buffer) {
        const TPoint At = P->ClientToScreen(TPoint{0, 0});
        for (int Y = 3; Y < P->Buffer->Height(); Y += 29)
            for (int X = 3; X < P->Buffer->Width(); X += 31)
                Expect << "pixel second-blurred " << At.X + X << " " << At.Y + Y << " "
                       << Hex(*P->Buffer->PixelPtr(X, Y)) << "\n";
    }
    if (MainSkin->IsLayeredBorderVisible()) {
        const int L = Main->Left(), T = Main->Top(), W = Main->Width(), H = Main->Height();
        // Two pixels apart in both directions, so a desktop pattern of
        // two-pixel period reads the same at both.
        Expect << "differ border-left " << L - 4 << " " << T + H / 2 << " " << L - 24 << " "
               << T + H / 2 << "\n";
        Expect << "differ border-top " << L + W / 2 << " " << T - 4 << " " << L + W / 2 << " "
               << T - 24 << "\n";
        Expect << "differ border-right " << L + W + 3 << " " << T + H / 2 << " " << L + W + 23
               << " " << T + H / 2 << "\n";
    }
    Expect.close();
    Announce();
    Desktop.RunWhile([&] { return Main->Visible() && !Application->Terminated(); }, 25);
    Desktop.Close();
    delete Holder;
    return 0;
}
