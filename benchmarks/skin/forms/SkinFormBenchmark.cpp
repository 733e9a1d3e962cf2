// Speed of the skinned form's frame work at a window size of 1280 x 800: a
// frame paint in the test skin and in the largest stored skin (active, and
// inactive with the grey effect), one full size step with a rounded mask
// region, the plain frame paint, a skin change over a form holding 50
// skinned controls, the hover search over ten caption objects and one morph
// step of a caption button; the layered border's strips, a drag step of its
// window, the inactive panel, an animation frame, the MDI tab bar's paint and
// tile/cascade. Runs on the headless backend.
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/forms/SkinForm.LayerBorder.h"
#include "skin/forms/SkinForm.MdiTabs.h"
#include "skin/forms/SkinForm.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using testskin::TTestSkin;

class TWorld {
public:
    TWorld() {
        SetBackend(&Headless);
        Headless.UseManualClock(&Clock);
        Headless.SetScreens({{TRect{0, 0, 1920, 1080}, TRect{0, 0, 1920, 1040}, true}});
        InitApplication();
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
    TbsSkinData* Load(const TTestSkin& Skin) {
        const std::string Folder = Dir.File("s" + std::to_string(Skins.size()));
        CreateDir(Folder);
        Skins.push_back(std::make_unique<TbsSkinData>(nullptr));
        Skins.back()->LoadFromFile(Skin.WriteFolder(Folder));
        return Skins.back().get();
    }
    // The stored skin with the most frame-picture pixels.
    TbsSkinData* LargestStored() {
        auto* List = CreateStoredSkinList(nullptr);
        Skins.push_back(std::make_unique<TbsSkinData>(nullptr));
        TbsSkinData* Best = Skins.back().get();
        int BestIndex = 0, BestArea = -1;
        for (int I = 0; I < StoredSkinCount(); ++I) {
            TbsSkinData Probe(nullptr);
            Probe.SetSkinIndex(I);
            Probe.SetSkinList(List);
            const int Area = Probe.FPicture->Width() * Probe.FPicture->Height();
            if (Area > BestArea) {
                BestArea = Area;
                BestIndex = I;
            }
        }
        Best->SetSkinIndex(BestIndex);
        Best->SetSkinList(List);
        Keep.reset(List);
        return Best;
    }
    TForm* Form(TbsSkinData* Skin, int W = 1280, int H = 800) {
        auto* F = new TForm(nullptr);
        F->SetBounds(10, 10, W, H);
        auto* C = new TbsSkinForm(F);
        if (Skin)
            C->SetSkinData(Skin);
        F->Show();
        return F;
    }

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    std::vector<std::unique_ptr<TbsSkinData>> Skins;
    std::unique_ptr<TComponent> Keep;
};

void PaintFrame(benchmark::State& State, bool Stored) {
    TWorld W;
    TbsSkinData* Skin = Stored ? W.LargestStored() : W.Load(testskin::StandardTestSkin());
    TForm* F = W.Form(Skin);
    TbsSkinForm* C = FindSkinFormComponent(F);
    const bool Inactive = State.range(0) != 0;
    Skin->AutoRenderingInActiveImage = Inactive;
    Skin->InActiveEffect = ieGrayScale;
    TForm* Other = Inactive ? W.Form(nullptr, 100, 100) : nullptr;
    if (!Inactive)
        F->SetFocus();
    TBitmap B;
    B.SetSize(1280, 800);
    for (auto _ : State)
        C->PaintNCSkin(B.Canvas()->Handle(), true);
    State.SetLabel(Inactive ? "inactive, grey" : "active");
    delete Other;
}

void BM_PaintNCSkin_TestSkin(benchmark::State& State) {
    PaintFrame(State, false);
}
void BM_PaintNCSkin_LargestStoredSkin(benchmark::State& State) {
    PaintFrame(State, true);
}

void BM_SizeStepWithRoundedMask(benchmark::State& State) {
    TWorld W;
    TForm* F = W.Form(W.Load(testskin::StandardTestSkin()));
    TbsSkinForm* C = FindSkinFormComponent(F);
    C->FSizeMove = C->FFullDrag = true;
    int Step = 0;
    for (auto _ : State) {
        TRect R{10, 10, 10 + 1280 + (Step++ & 1), 810};
        TMessage M{WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&R), 0};
        C->NewWndProc(M);
    }
}

void BM_PaintNCDefault(benchmark::State& State) {
    TWorld W;
    TForm* F = W.Form(nullptr);
    TbsSkinForm* C = FindSkinFormComponent(F);
    TBitmap B;
    B.SetSize(1280, 800);
    for (auto _ : State)
        C->PaintNCDefault(B.Canvas()->Handle(), true);
}

void BM_SkinChangeOverFiftyControls(benchmark::State& State) {
    TWorld W;
    TbsSkinData* Skin = W.Load(testskin::StandardTestSkin());
    TForm* F = W.Form(Skin, 800, 600);
    for (int I = 0; I < 50; ++I) {
        auto* P = new TbsSkinPanel(F);
        P->SetParent(F);
        P->SetBounds((I % 10) * 70, (I / 10) * 50, 60, 40);
        P->SetSkinData(Skin);
    }
    for (auto _ : State) {
        Skin->SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
        Skin->SendSkinDataMessage(WM_CHANGESKINDATA);
        Skin->SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
    }
}

void BM_TestActiveOverTenObjects(benchmark::State& State) {
    TWorld W;
    TTestSkin Skin = testskin::StandardTestSkin();
    for (int I = 0; I < 3; ++I)
        Skin.AddObject("userobject", "user" + std::to_string(I),
                       {"skinrect=" + std::to_string(10 + I * 10) + ",2,20,10"});
    TForm* F = W.Form(W.Load(Skin));
    TbsSkinForm* C = FindSkinFormComponent(F);
    C->PreviewMode = false;
    F->SetFocus();
    State.counters["objects"] = C->ObjectCount();
    int I = 0;
    for (auto _ : State) {
        ++I;
        C->TestActive(I % 97, I % 19, true);
    }
}

void BM_MorphStep(benchmark::State& State) {
    TWorld W;
    TTestSkin Skin = testskin::StandardTestSkin();
    Skin.AddObject("stdbutton", "morpher",
                   {"skinrect=0,0,8,8", "activeskinrect=8,0,16,8", "skinrectinapicture=1",
                    "activepictureindex=1", "morphing=1", "command=cmdefault"});
    TForm* F = W.Form(W.Load(Skin));
    TbsSkinForm* C = FindSkinFormComponent(F);
    TbsActiveSkinObject* O = C->Object(C->GetIndex("morpher"));
    for (auto _ : State) {
        O->Active = O->MorphKf() < 0.5 ? O->Active : !O->Active;
        if (!O->CanMorphing())
            O->Active = !O->Active;
        O->DoMorphing();
    }
}

// The layer strips rebuilt and pushed for a 1280 x 800 form.
void BM_LayerBorderSetBounds(benchmark::State& State) {
    TWorld W;
    TForm* F = W.Form(W.Load(testskin::StandardTestSkin({.LayerFrame = true})));
    TbsSkinForm* C = FindSkinFormComponent(F);
    C->BorderShowWithForm();
    TbsFormLayerBorder* B = C->LayerBorder();
    int Step = 0;
    for (auto _ : State)
        B->SetBoundsWithForm3(10, 10, 1280 + (++Step & 1), 800);
    State.SetLabel(B->Visible() ? "shown" : "not shown");
}

void BM_InactivePanel(benchmark::State& State) {
    TWorld W;
    TForm* F = W.Form(W.Load(testskin::StandardTestSkin()));
    F->SetClientWidth(1280);
    F->SetClientHeight(800);
    const auto Effect = State.range(0) ? bsieBlur : bsieSemiTransparent;
    for (auto _ : State) {
        TbsClientInActivePanel Panel(nullptr);
        Panel.ShowPanel(F, Effect);
    }
    State.SetLabel(Effect == bsieBlur ? "blur" : "veil");
}

// The tab bar's picture with 30 children, plain (0) or from a skin's tab
// pictures (1).
void BM_TabBarPaint(benchmark::State& State) {
    TWorld W;
    TForm* F = W.Form(nullptr);
    auto* Bar = new TbsSkinMDITabsBar(F);
    Bar->SetParent(F);
    Bar->SetBounds(0, 0, 1280, 21);
    if (State.range(0)) {
        TTestSkin Skin = testskin::MinimalLoadableSkin();
        testskin::TTestPicture& P = Skin.AddPicture("tabs.bmp", 180, 48, 24);
        P.AddRegion("tab", {0, 0, 60, 20});
        P.AddRegion("active", {60, 0, 120, 24});
        P.AddRegion("hot", {120, 0, 180, 20});
        P.AddRegion("background", {0, 24, 40, 48});
        Skin.AddControl("tab", "tab",
                        {"pictureindex=" + std::to_string(Skin.PictureIndex("tabs.bmp")),
                         "tabrect=0,0,60,20", "activetabrect=60,0,120,24",
                         "mouseintabrect=120,0,180,20", "tabsbgrect=0,24,40,48", "tableftoffset=6",
                         "tabrightoffset=6", "fontcolor=0"});
        Bar->SetSkinData(W.Load(Skin));
        Bar->GetSkinData();
    }
    std::vector<std::unique_ptr<TForm>> Children;
    for (int I = 0; I < 30; ++I) {
        Children.push_back(std::make_unique<TForm>(nullptr));
        Children.back()->SetCaption("Document " + std::to_string(I));
        Bar->AddTab(Children.back().get());
    }
    Bar->SetShowCloseButtons(true);
    Bar->Tab(3)->Active = true;
    TBitmap B;
    B.SetSize(1280, Bar->Height());
    for (auto _ : State) {
        if (State.range(0))
            Bar->CreateControlSkinImage(&B);
        else
            Bar->CreateControlDefaultImage(&B);
    }
    State.SetLabel(State.range(0) ? (Bar->FIndex != -1 ? "skinned" : "skin missing") : "plain");
    for (auto& C : Children)
        Bar->DeleteTab(C.get());
}

// One drag step of the right border window of a 1280 x 800 form: the pointer
// moves a pixel, the form is resized, its border strips rebuilt and pending
// messages processed.
void BM_BorderDragStep(benchmark::State& State) {
    TWorld W;
    TTestSkin Skin = testskin::StandardTestSkin({.LayerFrame = true});
    Skin.SetRecord("LAYERFRAME",
                   {"pictureindex=3", "lefttoppoint=8,8", "righttoppoint=32,8",
                    "leftbottompoint=8,32", "rightbottompoint=32,32", "clientrect=8,8,32,32",
                    "alphablendvalue=200", "borderrect=2,2,38,38", "hittestenable=1"});
    TForm* F = W.Form(W.Load(Skin));
    TbsSkinForm* C = FindSkinFormComponent(F);
    // The show fade's first tick brings the border to its alpha.
    TMessage Tick{WM_TIMER, 1, 0, 0};
    C->NewWndProc(Tick);
    Application->ProcessMessages();
    const int X = F->Left() + F->Width() + 3, Y = F->Top() + F->Height() / 2;
    W.Headless.MovePointer(X, Y);
    Application->ProcessMessages();
    W.Headless.Press();
    Application->ProcessMessages();
    int Step = 0;
    const int Width = F->Width();
    bool Resized = false;
    for (auto _ : State) {
        W.Headless.MovePointer(X + (++Step & 1), Y);
        Application->ProcessMessages();
        Resized = Resized || F->Width() != Width;
    }
    W.Headless.Release();
    Application->ProcessMessages();
    State.SetLabel(Resized ? "resizing" : "not resizing");
}

// One frame of a caption animation: the next frame drawn into the frame.
void BM_AnimationFrame(benchmark::State& State) {
    TWorld W;
    TTestSkin Skin = testskin::StandardTestSkin();
    testskin::TTestPicture& P = Skin.AddPicture("anim.bmp", 40, 12, 24);
    for (int N = 1; N <= 5; ++N)
        P.AddRegion("frame" + std::to_string(N), {8 * (N - 1), 0, 8 * N, 12});
    Skin.AddObject("animate", "anim",
                   {"skinrect=30,4,38,16", "activeskinrect=0,0,8,12",
                    "activepictureindex=" + std::to_string(Skin.PictureIndex("anim.bmp")),
                    "countframes=5", "timerinterval=25", "buttonstyle=1", "cycle=1"});
    auto* F = new TForm(nullptr);
    F->SetBounds(10, 10, 1280, 800);
    auto* C = new TbsSkinForm(F);
    C->OnActivateCustomObject = [](const std::string&, bool& Visible) { Visible = true; };
    C->SetSkinData(W.Load(Skin));
    F->Show();
    auto* O = dynamic_cast<TbsSkinAnimateObject*>(C->Object(C->GetIndex("anim")));
    int Frame = 0;
    for (auto _ : State)
        if (O)
            O->SetFrame(++Frame % 5 + 1);
    State.SetLabel(O ? "animated" : "no object");
}

// Tile (0) or Cascade (1) of 30 MDI children in a 1280 x 800 main form.
void BM_TileCascade(benchmark::State& State) {
    TWorld W;
    TForm* Main = Application->CreateForm<TForm>();
    Main->SetFormStyle(fsMDIForm);
    Main->SetBounds(0, 0, 1300, 860);
    auto* C = new TbsSkinForm(Main);
    Main->Show();
    for (int I = 0; I < 30; ++I) {
        auto* Child = new TForm(Application);
        Child->SetFormStyle(fsMDIChild);
        Child->SetBounds(0, 0, 200, 150);
        new TbsSkinForm(Child);
        Child->Show();
    }
    Application->ProcessMessages();
    for (auto _ : State) {
        if (State.range(0) == 0)
            C->Tile();
        else
            C->Cascade();
    }
    State.SetLabel(State.range(0) == 0 ? "tile" : "cascade");
}

BENCHMARK(BM_PaintNCSkin_TestSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintNCSkin_LargestStoredSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SizeStepWithRoundedMask)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintNCDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinChangeOverFiftyControls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TestActiveOverTenObjects);
BENCHMARK(BM_MorphStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LayerBorderSetBounds)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InactivePanel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TabBarPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BorderDragStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnimationFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TileCascade)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
