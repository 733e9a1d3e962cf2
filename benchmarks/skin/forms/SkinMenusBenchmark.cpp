// Speed of the skinned menus on the headless backend: a popup menu of 30
// items from Popup to its first paint presented (plain, skinned, skinned with
// morphing items), one morph tick of a hovered item, the menu bar's full
// paint with 10 items, a three-line extended hint activation, a submenu
// switch along a chain of four levels and the images menu's paint of a
// 10 x 10 grid.
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsSkinHint.h"
#include "skin/forms/bsSkinImagesMenu.h"
#include "skin/forms/bsSkinMainMenuBar.h"
#include "skin/forms/bsSkinMenus.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class TWorld {
public:
    TWorld() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        Headless.SetScreens({{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}, true}});
        InitApplication();
        Form = Application->CreateForm<TForm>();
        Form->SetBounds(100, 100, 800, 500);
        Form->Show();
        Component = new TbsSkinForm(Form);
        Application->ProcessMessages();
    }
    ~TWorld() {
        while (Screen && Screen->FormCount() > 0)
            delete Screen->Forms(Screen->FormCount() - 1);
        Skins.clear();
        DoneApplication();
        ResetWindowSystem();
        Headless.ResetClock();
        SetBackend(nullptr);
    }
    // None for Kind 0; the standard test skin, its menu items morphing for 2.
    TbsSkinData* Skin(int Kind) {
        if (Kind == 0)
            return nullptr;
        const std::string Folder = Dir.File("s" + std::to_string(Skins.size()));
        CreateDir(Folder);
        Skins.push_back(std::make_unique<TbsSkinData>(nullptr));
        TbsSkinData* SD = Skins.back().get();
        SD->LoadFromFile(testskin::StandardTestSkin().WriteFolder(Folder));
        if (Kind == 2)
            SD->ObjectList[SD->GetIndex("menuitem")]->Morphing = true;
        return SD;
    }
    TMenuItem* Add(TMenuItem* Parent, const std::string& Caption) {
        auto* I = new TMenuItem(Form);
        I->SetCaption(Caption);
        Parent->Add(I);
        return I;
    }

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    std::vector<std::unique_ptr<TbsSkinData>> Skins;
    TForm* Form = nullptr;
    TbsSkinForm* Component = nullptr;
};

const char* const Looks[] = {"plain", "test skin", "test skin, morphing items"};

void BM_PopupThirtyItemsToFirstPaint(benchmark::State& State) {
    TWorld W;
    TbsSkinData* SD = W.Skin(int(State.range(0)));
    auto* M = new TPopupMenu(W.Form);
    for (int i = 0; i < 30; ++i)
        W.Add(M->Items(), "菜单项 Item " + std::to_string(i));
    TbsSkinMenu* Chain = W.Component->SkinMenu;
    for (auto _ : State) {
        Chain->Popup(nullptr, SD, 0, {300, 200, 300, 200}, M->Items(), false);
        Chain->PopupWindow(0)->Repaint();
        FlushPresents();
        State.PauseTiming();
        Chain->Hide();
        Chain->FreeClosedWindows();
        State.ResumeTiming();
    }
    State.SetLabel(Looks[State.range(0)]);
}

void BM_HoveredItemMorphTick(benchmark::State& State) {
    TWorld W;
    TbsSkinData* SD = W.Skin(2);
    auto* M = new TPopupMenu(W.Form);
    for (int i = 0; i < 5; ++i)
        W.Add(M->Items(), "Item " + std::to_string(i));
    TbsSkinMenu* Chain = W.Component->SkinMenu;
    Chain->Popup(nullptr, SD, 0, {300, 200, 300, 200}, M->Items(), false);
    TbsSkinMenuItem* I = Chain->PopupWindow(0)->Item(1);
    I->Active = true;
    for (auto _ : State) {
        if (!I->CanMorphing())
            I->SetMorphKf(0);
        I->DoMorphing();
    }
}

void BM_MenuBarFullPaint(benchmark::State& State) {
    TWorld W;
    TbsSkinData* SD = W.Skin(int(State.range(0)));
    auto* Menu = new TMainMenu(W.Form);
    for (int i = 0; i < 10; ++i)
        W.Add(W.Add(Menu->Items(), "菜单&" + std::to_string(i)), "Sub");
    auto* Bar = new TbsSkinMainMenuBar(W.Form);
    Bar->SetParent(W.Form);
    Bar->SetSkinForm(W.Component);
    Bar->SetMainMenu(Menu);
    if (SD)
        Bar->SetSkinData(SD);
    TBitmap B;
    B.SetSize(Bar->Width(), Bar->Height());
    for (auto _ : State)
        Bar->PaintBar(B.Canvas()->Handle());
    State.counters["items"] = Bar->ItemCount();
    State.SetLabel(Looks[State.range(0)]);
}

void BM_ExtendedHintActivation(benchmark::State& State) {
    TWorld W;
    Application->SetMainForm(W.Form);
    auto* Hint = new TbsSkinHint(W.Form);
    Hint->SetSkinData(W.Skin(int(State.range(0))));
    auto* Images = new TCustomImageList(W.Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    TBitmap Img;
    Img.SetSize(16, 16);
    Images->AddMasked(&Img, clFuchsia);
    TBitmap B;
    for (auto _ : State) {
        Hint->ActivateHintEx({300, 300}, "标题 Title", "第一行@second line@third line", 0, Images);
        B.SetSize(Hint->HW->Width(), Hint->HW->Height());
        Hint->HW->PaintTo(B.Canvas());
    }
    State.SetLabel(Looks[State.range(0)]);
}

void BM_SubmenuSwitchAlongFourLevels(benchmark::State& State) {
    TWorld W;
    TbsSkinData* SD = W.Skin(int(State.range(0)));
    auto* M = new TPopupMenu(W.Form);
    for (const char* Top : {"A", "B"}) {
        TMenuItem* I = W.Add(M->Items(), Top);
        for (int Level = 1; Level < 4; ++Level) {
            TMenuItem* Next = W.Add(I, std::string(Top) + std::to_string(Level));
            W.Add(I, "other");
            I = Next;
        }
        W.Add(I, "leaf");
    }
    TbsSkinMenu* Chain = W.Component->SkinMenu;
    Chain->Popup(nullptr, SD, 0, {300, 200, 300, 200}, M->Items(), false);
    int Which = 0;
    for (auto _ : State) {
        // From the root down to the fourth window, the other branch each time.
        // As the pointer does: entering the item closes the deeper windows,
        // choosing it opens its submenu.
        TbsSkinPopupWindow* Root = Chain->PopupWindow(0);
        Chain->CheckMenuItem(Root, Root->Item(Which), false, false);
        Chain->CheckMenuItem(Root, Root->Item(Which), true, false);
        for (int Level = 1; Level < 4; ++Level) {
            TbsSkinPopupWindow* Win = Chain->PopupWindow(Level);
            Chain->CheckMenuItem(Win, Win->Item(0), false, false);
            Chain->CheckMenuItem(Win, Win->Item(0), true, false);
        }
        Which = 1 - Which;
        State.PauseTiming();
        Chain->FreeClosedWindows();
        State.ResumeTiming();
    }
    State.counters["windows"] = Chain->PopupCount();
    State.SetLabel(Looks[State.range(0)]);
}

void BM_ImagesMenuGridPaint(benchmark::State& State) {
    TWorld W;
    auto* Images = new TCustomImageList(W.Form);
    Images->SetWidth(16);
    Images->SetHeight(16);
    for (int i = 0; i < 10; ++i) {
        TBitmap Img;
        Img.SetSize(16, 16);
        Img.Canvas()->Brush()->SetColor(RGB(20 * i, 100, 200));
        Img.Canvas()->FillRect({0, 0, 16, 16});
        Images->AddMasked(&Img, clFuchsia);
    }
    auto* Menu = new TbsSkinImagesMenu(W.Form);
    Menu->SetImages(Images);
    Menu->SetColumnsCount(10);
    Menu->SetSkinData(W.Skin(int(State.range(0))));
    for (int i = 0; i < 100; ++i)
        Menu->ImagesItems()->Add()->SetImageIndex(i % 10);
    Menu->Popup(300, 200);
    TbsSkinImagesMenuPopupWindow* Win = Menu->PopupWindow();
    TBitmap B;
    B.SetSize(Win->Width(), Win->Height());
    for (auto _ : State)
        Win->PaintTo(B.Canvas());
    State.SetLabel(Looks[State.range(0)]);
}

BENCHMARK(BM_PopupThirtyItemsToFirstPaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HoveredItemMorphTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuBarFullPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExtendedHintActivation)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SubmenuSwitchAlongFourLevels)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImagesMenuGridPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
