// Caption objects on the frame, and the skin change over the form and its
// skinned controls.
#include "platform/core/Paths.h"
#include "platform/win/Windows.h"
#include "skin/controls/bsSkinCtrls.Views.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinEdits.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/forms/SkinCaptionButton.h"
#include "tests/skin/forms/SkinFormFixture.h"

#include <algorithm>
#include <typeinfo>

namespace skinform {
namespace {

using B = TbsBorderIcon;
using testskin::TTestSkin;
using CaptionObjects = SkinFormFixture;

TRect RectOf(TbsSkinForm* C, const std::string& Name) {
    TbsActiveSkinObject* O = C->Object(C->GetIndex(Name));
    return O ? O->ObjectRect : TRect{-1, -1, -1, -1};
}

TEST_F(CaptionObjects, TheSkinsObjectListGivesOneObjectPerFrameElement) {
    TTestSkin Skin = FrameSkin(TFrameSkinOptions().WithoutObjects());
    const std::vector<std::pair<std::string, std::string>> Elements = {
        {"mainmenubaritem", "a"}, {"menuitem", "b"},  {"mainmenubarbutton", "c"},
        {"stdbutton", "d"},       {"button", "e"},    {"caption", "f"},
        {"animate", "g"},         {"userobject", "h"}};
    for (const auto& [Kind, Name] : Elements)
        Skin.AddObject(Kind, Name, {"skinrect=0,0,8,8"});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    TbsSkinForm* C = Component(F);
    ASSERT_EQ(C->ObjectCount(), 5);
    EXPECT_EQ(typeid(*C->Object(0)), typeid(TbsSkinStdButtonObject));
    EXPECT_EQ(typeid(*C->Object(1)), typeid(TbsSkinButtonObject));
    EXPECT_EQ(typeid(*C->Object(2)), typeid(TbsSkinCaptionObject));
    EXPECT_EQ(typeid(*C->Object(3)), typeid(TbsSkinAnimateObject));
    EXPECT_EQ(typeid(*C->Object(4)), typeid(TbsUserObject));
    EXPECT_EQ(C->Object(0)->IDName, "d");
}

TEST_F(CaptionObjects, OnlyMenuElementsGiveNoObjects) {
    TTestSkin Skin = FrameSkin(TFrameSkinOptions().WithoutObjects());
    Skin.AddObject("menuitem", "m", {"skinrect=0,0,8,8"});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    TbsSkinForm* C = Component(F);
    EXPECT_EQ(C->ObjectCount(), 0);
    C->TestActive(150, 15, true);
    EXPECT_EQ(C->ActiveObject, -1);
}

TEST_F(CaptionObjects, ArrangeLaysTheButtonsOutInCommandOrder) {
    struct TRow {
        const char* Name;
        testskin::TKeys Keys;
        std::vector<std::pair<const char*, TRect>> Rects;
    };
    const TRow Rows[] = {
        {"from the right",
         {},
         {{"closebutton", {279, 7, 295, 19}},
          {"maxbutton", {261, 7, 277, 19}},
          {"traybutton", {207, 7, 223, 19}},
          {"sysmenubutton", {40, 9, 56, 21}},
          {"caption", {56, 5, 200, 25}}}},
        {"sharing the caption",
         {"buttonsrect=0,0,0,0"},
         {{"closebutton", {184, 5, 200, 17}},
          {"traybutton", {112, 5, 128, 17}},
          {"caption", {56, 5, 112, 25}}}},
        {"from the left",
         {"buttonsinleft=1"},
         {{"closebutton", {200, 7, 216, 19}},
          {"maxbutton", {218, 7, 234, 19}},
          {"sysmenubutton", {}}}},
        {"without a caption rectangle",
         {"captionrect=0,0,0,0"},
         {{"closebutton", {279, 7, 295, 19}},
          {"sysmenubutton", {}},
          {"caption", {40, 5, 200, 25}}}},
    };
    for (const TRow& R : Rows) {
        TForm* F = MakeForm(300, 200, bsSizeable,
                            LoadSkin(FrameSkin(TFrameSkinOptions().WithFormInfo(R.Keys))));
        TbsSkinForm* C = Component(F);
        C->SetBorderIcons(
            {B::biSystemMenu, B::biMinimize, B::biMaximize, B::biRollUp, B::biMinimizeToTray});
        C->CalcFrameRects();
        C->ArrangeObjects();
        for (const auto& [Name, Rect] : R.Rects)
            EXPECT_EQ(RectOf(C, Name), Rect) << R.Name << " " << Name;
        delete F;
    }
}

TEST_F(CaptionObjects, ASystemMenuButtonWithNoPlaceIsNeitherDrawnNorHit) {
    // Buttons in a row of their own and no caption rectangle, as the stored
    // skins have them.
    TForm* F =
        MakeForm(300, 200, bsSizeable,
                 LoadSkin(FrameSkin(TFrameSkinOptions().WithFormInfo({"captionrect=0,0,0,0"}))));
    TbsSkinForm* C = Component(F);
    ASSERT_TRUE(C->Object(C->GetIndex("sysmenubutton"))->Visible);
    const std::unique_ptr<TBitmap> Frame = PaintFrame(F);
    for (const TPoint P : {TPoint{0, 0}, TPoint{8, 2}, TPoint{15, 5}, TPoint{8, 12}})
        EXPECT_EQ(PixelOf(Frame.get(), P.X, P.Y), Region("caption")) << P.X << "," << P.Y;
    for (const TPoint P : {TPoint{0, 0}, TPoint{8, 2}}) {
        C->TestActive(P.X, P.Y, true);
        EXPECT_EQ(C->ActiveObject, -1) << P.X << "," << P.Y;
    }
    C->TestActive(287, 12, true);
    EXPECT_EQ(C->ActiveObject, C->GetIndex("closebutton"));
    delete F;
}

TEST_F(CaptionObjects, CheckObjectsFollowsTheBorderIcons) {
    TTestSkin Skin = FrameSkin();
    // A maximize button painted into the frame picture, and a free button.
    Skin.AddObject("stdbutton", "framemax", {"skinrect=250,5,260,15", "command=cmmaximize"});
    Skin.AddObject("stdbutton", "custom",
                   {"skinrect=0,20,16,32", "skinrectinapicture=1", "activepictureindex=0",
                    "command=cmdefault"});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    TbsSkinForm* C = Component(F);
    C->SetBorderIcons({B::biMinimize});
    for (const char* Name : {"maxbutton", "rollupbutton", "traybutton", "sysmenubutton"}) {
        EXPECT_FALSE(C->Object(C->GetIndex(Name))->Enabled) << Name;
        EXPECT_FALSE(C->Object(C->GetIndex(Name))->Visible) << Name;
    }
    EXPECT_TRUE(C->Object(C->GetIndex("minbutton"))->Enabled);
    EXPECT_TRUE(C->Object(C->GetIndex("closebutton"))->Visible);
    EXPECT_FALSE(C->Object(C->GetIndex("framemax"))->Enabled);
    EXPECT_TRUE(C->Object(C->GetIndex("framemax"))->Visible) << "part of the picture stays";
    EXPECT_FALSE(C->Object(C->GetIndex("custom"))->Visible);

    C->SetHideCaptionButtons(true);
    C->CheckObjects();
    EXPECT_FALSE(C->Object(C->GetIndex("closebutton"))->Visible);
    EXPECT_FALSE(C->Object(C->GetIndex("closebutton"))->Enabled);
    EXPECT_TRUE(C->Object(C->GetIndex("framemax"))->Visible);
}

TEST_F(CaptionObjects, HintsComeFromTheWordTable) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    auto* Max = dynamic_cast<TbsSkinStdButtonObject*>(C->Object(C->GetIndex("maxbutton")));
    ASSERT_NE(Max, nullptr);
    C->UpdateObjectHints();
    EXPECT_EQ(Max->Hint, "Maximize");
    EXPECT_EQ(Max->RestoreHint, "Restore");
    TbsResourceStrData Words(nullptr);
    Words.ResStrings()->Clear();
    Words.ResStrings()->Add("CLOSEBUTTON_HINT=Shut");
    Skin->SetResourceStrData(&Words);
    EXPECT_EQ(Max->Hint, "");
    EXPECT_EQ(C->Object(C->GetIndex("closebutton"))->Hint, "Shut");
    Skin->SetResourceStrData(nullptr);
}

TEST_F(CaptionObjects, CloseRunsOnlyWhenReleasedOverTheButton) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    int Closes = 0;
    F->OnClose = [&](TObject*, TCloseAction& Action) {
        ++Closes;
        Action = caNone;
    };
    const TRect Close = RectOf(C, "closebutton");
    const TPoint In{Close.Left + 4, Close.Top + 4};
    C->TestActive(In.X, In.Y, true);
    C->ObjectsMouseDown(mbLeft, In.X, In.Y);
    EXPECT_EQ(GetCapture(), F->Handle());
    C->TestActive(150, 100, true);
    C->ObjectsMouseUp(mbLeft, 150, 100);
    EXPECT_EQ(Closes, 0);
    EXPECT_NE(GetCapture(), F->Handle());
    C->TestActive(In.X, In.Y, true);
    C->ObjectsMouseDown(mbLeft, In.X, In.Y);
    C->ObjectsMouseUp(mbLeft, In.X, In.Y);
    EXPECT_EQ(Closes, 1);
}

TEST_F(CaptionObjects, MorphingStepsByAFifthAndStops) {
    TTestSkin Skin = FrameSkin();
    Skin.AddObject("stdbutton", "morpher",
                   {"skinrect=0,20,16,32", "activeskinrect=0,32,16,44", "skinrectinapicture=1",
                    "activepictureindex=0", "morphing=1", "command=cmdefault"});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    TbsSkinForm* C = Component(F);
    TbsActiveSkinObject* O = C->Object(C->GetIndex("morpher"));
    O->MouseEnter();
    EXPECT_TRUE(C->MorphTimer->Enabled());
    for (double Expected : {0.2, 0.4, 0.6, 0.8, 1.0}) {
        C->MorphTimerStep(nullptr);
        EXPECT_NEAR(O->MorphKf(), Expected, 1e-9);
    }
    C->MorphTimerStep(nullptr);
    EXPECT_FALSE(C->MorphTimer->Enabled());
    O->SetMorphKf(0);
    O->MouseEnter();
    C->MorphTimerStep(nullptr);
    C->MorphTimerStep(nullptr);
    O->MouseLeave();
    for (int I = 0; I < 10 && C->MorphTimer->Enabled(); ++I)
        C->MorphTimerStep(nullptr);
    EXPECT_EQ(O->MorphKf(), 0.0);

    O->SetMorphKf(1.3);
    EXPECT_EQ(O->MorphKf(), 1.0);
    O->SetMorphKf(-0.2);
    EXPECT_EQ(O->MorphKf(), 0.0);
}

TEST_F(CaptionObjects, TheMaskPictureDecidesTheHit) {
    TTestSkin Skin = FrameSkin();
    testskin::TTestPicture& Mask = Skin.AddPicture("objmask.bmp", 4, 1, 24);
    Mask.Fill({0, 0, 1, 1}, 0x000000);
    Mask.Fill({1, 0, 2, 1}, 0x000001);
    Skin.AddObject("button", "masked",
                   {"skinrect=0,20,4,21", "skinrectinapicture=1", "activepictureindex=0",
                    "activemaskpictureindex=1"});
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(Skin));
    TbsSkinForm* C = Component(F);
    TbsActiveSkinObject* O = C->Object(C->GetIndex("masked"));
    EXPECT_TRUE(O->PointInMask(0, 0));
    EXPECT_FALSE(O->PointInMask(1, 0));
    EXPECT_FALSE(O->PointInMask(4, 0));
}

TEST_F(CaptionObjects, PlainCaptionButtonLooks) {
    struct TRow {
        const char* Name;
        bool Pressed, Hot, Enabled;
        std::uint32_t Border, Fill;
    };
    const TRow Rows[] = {
        {"normal", false, false, true, Rgb(clBtnFace), Rgb(clBtnFace)},
        {"hot", false, true, true, 0x000080, 0xB6BDD2},
        {"pressed and hot", true, true, true, 0x000080, 0x8593B5},
    };
    auto GlyphOrigin = [](TBitmap& Bmp, std::uint32_t Fill) {
        for (int Y = 1; Y < 16; ++Y)
            for (int X = 1; X < 16; ++X)
                if (Rgb(Bmp.Canvas()->Pixels(X, Y)) != Fill)
                    return TPoint{X, Y};
        return TPoint{-1, -1};
    };
    TPoint NormalGlyph;
    for (const TRow& R : Rows) {
        TBitmap Bmp;
        Bmp.SetSize(17, 17);
        DrawDefaultCaptionButton(Bmp.Canvas(), TRect{0, 0, 17, 17}, cgClose, R.Pressed, R.Hot,
                                 R.Enabled);
        EXPECT_EQ(Rgb(Bmp.Canvas()->Pixels(0, 0)), R.Border) << R.Name;
        EXPECT_EQ(Rgb(Bmp.Canvas()->Pixels(1, 1)), R.Fill) << R.Name;
        const TPoint G = GlyphOrigin(Bmp, R.Fill);
        if (!R.Hot)
            NormalGlyph = G;
        const TPoint Expected =
            R.Pressed ? TPoint{NormalGlyph.X + 1, NormalGlyph.Y + 1} : NormalGlyph;
        EXPECT_EQ(G, Expected) << R.Name;
    }
    TBitmap Disabled;
    Disabled.SetSize(17, 17);
    DrawDefaultCaptionButton(Disabled.Canvas(), TRect{0, 0, 17, 17}, cgClose, false, false, false);
    EXPECT_EQ(Rgb(Disabled.Canvas()->Pixels(NormalGlyph.X, NormalGlyph.Y)), Rgb(clBtnShadow));
}

TEST_F(CaptionObjects, CaptionActivationFiresEveryTime) {
    TForm* F = MakeForm(300, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    C->PreviewMode = true;
    int Activations = 0;
    C->OnActivate = [&](TObject*) { ++Activations; };
    C->SetCaptionActive(false);
    C->SetCaptionActive(false);
    EXPECT_EQ(Activations, 2);
    EXPECT_TRUE(C->Object(C->GetIndex("caption"))->Active);
}

TEST_F(CaptionObjects, CaptionTextArea) {
    TForm* F = MakeForm(600, 200, bsSizeable, LoadSkin(FrameSkin()));
    TbsSkinForm* C = Component(F);
    auto* Caption = dynamic_cast<TbsSkinCaptionObject*>(C->Object(C->GetIndex("caption")));
    ASSERT_NE(Caption, nullptr);
    Caption->SkinRect = TRect{0, 0, 300, 20};
    Caption->TextRct = TRect{4, 2, 250, 18};
    Caption->ObjectRect = TRect{0, 0, 500, 20};
    EXPECT_EQ(Caption->TextArea().Right, 450);
    F->SetCaption(std::string(200, 'W'));
    const std::string Text = Caption->CaptionText(F->Canvas());
    ASSERT_GE(Text.size(), 3u);
    EXPECT_EQ(Text.substr(Text.size() - 3), "...");
}

// ---- the skin change ----

class TCountingControl : public TbsSkinCustomControl {
public:
    using TbsSkinCustomControl::TbsSkinCustomControl;
    void BeforeChangeSkinData() override {
        ++Befores;
        TbsSkinCustomControl::BeforeChangeSkinData();
    }
    void ChangeSkinData() override {
        ++Changes;
        TbsSkinCustomControl::ChangeSkinData();
    }
    int Befores = 0;
    int Changes = 0;
};

TEST_F(CaptionObjects, ASkinChangeReachesTheFrameAndTheControlsOfThatSkin) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TbsSkinData* Other = LoadSkin(FrameSkin(TFrameSkinOptions().WithVariant(2)));
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TForm* G = MakeForm(300, 200, bsSizeable, Skin);
    auto* Mine = new TCountingControl(F);
    Mine->SetParent(F);
    Mine->SetSkinDataName("button");
    Mine->SetSkinData(Skin);
    auto* Theirs = new TCountingControl(F);
    Theirs->SetParent(F);
    Theirs->SetSkinDataName("button");
    Theirs->SetSkinData(Other);
    Mine->Changes = Theirs->Changes = 0;
    std::vector<std::string> Steps;
    for (TForm* Form : {F, G}) {
        TbsSkinForm* C = Component(Form);
        const std::string N = Form == F ? "F" : "G";
        C->OnBeforeChangeSkinData = [&, C, N](TObject*) {
            Steps.push_back(N + " BEFORE");
            EXPECT_EQ(C->ObjectCount(), 0);
            EXPECT_FALSE(C->MouseTimer->Enabled());
            EXPECT_FALSE(C->FSkinSupport);
            if (Form == F) {
                EXPECT_EQ(Mine->FIndex, -1);
            }
        };
        C->OnChangeSkinData = [&, C, N](TObject*) {
            Steps.push_back(N + " CHANGE");
            EXPECT_GT(C->ObjectCount(), 0);
        };
        C->OnAfterChangeSkinData = [&, N](TObject*) { Steps.push_back(N + " AFTER"); };
    }
    const std::string Folder = Dir.File("second");
    CreateDir(Folder);
    Skin->LoadFromFile(FrameSkin(TFrameSkinOptions().WithVariant(1)).WriteFolder(Folder));
    auto Index = [&](const std::string& S) {
        return std::find(Steps.begin(), Steps.end(), S) - Steps.begin();
    };
    for (const char* N : {"F", "G"}) {
        EXPECT_LT(Index(std::string(N) + " BEFORE"), Index(std::string(N) + " CHANGE"));
        EXPECT_LT(Index(std::string(N) + " CHANGE"), Index(std::string(N) + " AFTER"));
        EXPECT_LT(Index(std::string(N) + " AFTER"), static_cast<long>(Steps.size()));
    }
    EXPECT_EQ(Mine->Befores, 1);
    EXPECT_GE(Mine->Changes, 1);
    EXPECT_NE(Mine->FIndex, -1);
    EXPECT_EQ(Theirs->Befores, 0);
    EXPECT_EQ(Theirs->Changes, 0);
}

// Counts its skin re-reads.
template <class T> class TCounted : public T {
public:
    using T::T;
    void ChangeSkinData() override {
        ++Changes;
        T::ChangeSkinData();
    }
    int Changes = 0;
};

TEST_F(CaptionObjects, TheSkinChangeWalkReachesEveryFamilyOfSkinnedControls) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TbsSkinData* Other = LoadSkin(FrameSkin(TFrameSkinOptions().WithVariant(2)));
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    auto* Pages = new TCounted<TbsSkinPageControl>(F);
    auto* Edit = new TCounted<TbsSkinEdit>(F);
    auto* Link = new TCounted<TbsSkinLinkLabel>(F);
    auto* Tree = new TCounted<TbsSkinCustomTreeView>(F);
    auto* List = new TCounted<TbsSkinListView>(F);
    auto Set = [&](auto* C, TWinControl* Parent) {
        C->SetParent(Parent);
        C->SetSkinData(Skin);
        C->Changes = 0;
    };
    Set(Pages, F);
    Set(Edit, Pages);
    Set(Link, F);
    Set(Tree, F);
    Set(List, F);
    TbsSkinForm* C = Component(F);
    C->ChangeControlsSkinData(Other, F);
    for (int N : {Pages->Changes, Edit->Changes, Link->Changes, Tree->Changes, List->Changes})
        EXPECT_EQ(N, 0) << "another skin's change";
    C->ChangeControlsSkinData(Skin, F);
    for (int N : {Pages->Changes, Edit->Changes, Link->Changes, Tree->Changes, List->Changes})
        EXPECT_EQ(N, 1);
    C->ChangeControlsSkinData(nullptr, F);
    for (int N : {Pages->Changes, Edit->Changes, Link->Changes, Tree->Changes, List->Changes})
        EXPECT_EQ(N, 2) << "every skin";
}

TEST_F(CaptionObjects, ABorderStyleChangeMakesEveryControlReReadItsSkin) {
    TForm* F = MakeForm(300, 200);
    TCountingControl* Controls[2];
    TbsSkinData* Skins2[2] = {LoadSkin(FrameSkin()),
                              LoadSkin(FrameSkin(TFrameSkinOptions().WithVariant(3)))};
    for (int I = 0; I < 2; ++I) {
        Controls[I] = new TCountingControl(F);
        Controls[I]->SetParent(F);
        Controls[I]->SetSkinData(Skins2[I]);
        Controls[I]->Changes = 0;
    }
    Component(F)->SetFormBorderStyle(bsSingle);
    EXPECT_EQ(F->BorderStyle(), bsSingle);
    EXPECT_EQ(Controls[0]->Changes, 1);
    EXPECT_EQ(Controls[1]->Changes, 1);
}

TEST_F(CaptionObjects, TheStatusBarGripHidesWhileMaximized) {
    TForm* F = MakeForm(300, 200);
    auto* Bar = new TbsSkinStatusBar(F);
    Bar->SetParent(F);
    Bar->SetSizeGrip(true);
    TbsSkinForm* C = Component(F);
    C->SetStatusBar(Bar);
    C->SetWindowState(wsMaximized);
    EXPECT_FALSE(Bar->ShowGrip());
    C->SetWindowState(wsNormal);
    EXPECT_TRUE(Bar->ShowGrip());
    delete Bar;
    EXPECT_EQ(C->StatusBar(), nullptr);
}

TEST_F(CaptionObjects, ASkinChangeKeepsTheClientSizeAndTheRollUp) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(400, 350, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    C->SetClientWidth(340);
    C->SetClientHeight(245);
    TForm* Rolled = MakeForm(400, 350, bsSizeable, Skin);
    Component(Rolled)->SetRollUpState(true);
    const std::string Folder = Dir.File("thick");
    CreateDir(Folder);
    Skin->LoadFromFile(FrameSkin(TFrameSkinOptions().WithFormInfo({"clientrect=10,40,290,180"}))
                           .WriteFolder(Folder));
    EXPECT_EQ(F->ClientWidth(), 340);
    EXPECT_EQ(F->ClientHeight(), 245);
    EXPECT_TRUE(Component(Rolled)->RollUpState());
    EXPECT_EQ(Rolled->Height(), Component(Rolled)->GetMinHeight());
    EXPECT_EQ(Rolled->Height(), 60);
}

TEST_F(CaptionObjects, AnEmptySkinGivesThePlainLook) {
    TbsSkinData* Skin = LoadSkin(FrameSkin(TFrameSkinOptions().WithMask()));
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    Skin->ClearSkin();
    EXPECT_FALSE(C->FSkinSupport);
    ASSERT_NE(C->FRgn, nullptr);
    EXPECT_TRUE(PtInRegion(C->FRgn, 0, 0));
    PaintFrame(F);
    ASSERT_EQ(C->ObjectCount(), 6);
    EXPECT_EQ(C->Object(0)->IDName, "closebutton");
}

TEST_F(CaptionObjects, ABeforeChangeDuringAPressLeavesNoStaleObject) {
    TbsSkinData* Skin = LoadSkin(FrameSkin());
    TForm* F = MakeForm(300, 200, bsSizeable, Skin);
    TbsSkinForm* C = Component(F);
    const TRect Close = RectOf(C, "closebutton");
    C->TestActive(Close.Left + 2, Close.Top + 2, true);
    C->ObjectsMouseDown(mbLeft, Close.Left + 2, Close.Top + 2);
    ASSERT_EQ(GetCapture(), F->Handle());
    F->Perform(WM_BEFORECHANGESKINDATA, WPARAM(Skin), 1000);
    EXPECT_EQ(C->MouseCaptureObject, -1);
    EXPECT_EQ(C->ActiveObject, -1);
    EXPECT_NE(GetCapture(), F->Handle());
    F->Perform(WM_LBUTTONUP, 0, 0);
    F->Perform(WM_CHANGESKINDATA, WPARAM(Skin), 1000);
    EXPECT_GT(C->ObjectCount(), 0);
}

} // namespace
} // namespace skinform
