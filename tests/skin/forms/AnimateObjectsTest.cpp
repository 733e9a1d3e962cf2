// Frame animations on the caption: their frames in time, hover and press,
// restore looks and commands.
#include "platform/win/Windows.h"
#include "skin/forms/bsSkinMenus.h"
#include "skin/model/bsUtils.Layers.h"
#include "tests/skin/forms/SkinFormFixture.h"

namespace skinform {
namespace {

using testskin::TTestSkin;

// Five frames of 8 x 12 side by side, then a pressed look, five restore
// frames and a restore pressed look.
class SkinFormAnimation : public SkinFormFixture {
protected:
    TTestSkin AnimSkin(const testskin::TKeys& Extra) {
        TTestSkin Skin = FrameSkin();
        testskin::TTestPicture& P = Skin.AddPicture("anim.bmp", 96, 12, 24);
        for (int N = 1; N <= 5; ++N) {
            P.AddRegion("frame" + std::to_string(N), {8 * (N - 1), 0, 8 * N, 12});
            P.AddRegion("restore" + std::to_string(N), {48 + 8 * (N - 1), 0, 48 + 8 * N, 12});
        }
        P.AddRegion("down", {40, 0, 48, 12});
        P.AddRegion("restoredown", {88, 0, 96, 12});
        testskin::TKeys Keys{"skinrect=10,10,18,22",
                             "activeskinrect=0,0,8,12",
                             "activepictureindex=" + std::to_string(Skin.PictureIndex("anim.bmp")),
                             "countframes=5",
                             "timerinterval=100",
                             "buttonstyle=1"};
        for (const std::string& Key : Extra) {
            const std::string Name = Key.substr(0, Key.find('='));
            std::erase_if(
                Keys, [&](const std::string& Old) { return Old.substr(0, Old.find('=')) == Name; });
            Keys.push_back(Key);
        }
        Skin.AddObject("animate", "anim", Keys);
        Anim = Skin;
        return Skin;
    }

    TbsSkinAnimateObject* MakeAnimated(const testskin::TKeys& Extra = {}) {
        F = new TForm(nullptr);
        F->SetBounds(100, 100, 300, 200);
        C = new TbsSkinForm(F);
        // An object without a command shows only when the program says so.
        C->OnActivateCustomObject = [](const std::string&, bool& Visible) { Visible = true; };
        C->SetSkinData(LoadSkin(AnimSkin(Extra)));
        F->Show();
        auto* O = dynamic_cast<TbsSkinAnimateObject*>(C->Object(C->GetIndex("anim")));
        EXPECT_NE(O, nullptr);
        return O;
    }

    // The region of anim.bmp the object shows now.
    std::string Shown() {
        auto B = PaintFrame(F);
        const std::uint32_t Pixel = PixelOf(B.get(), 13, 15);
        const auto& P = Anim.Picture("anim.bmp");
        for (const char* Name :
             {"frame1", "frame2", "frame3", "frame4", "frame5", "down", "restore1", "restore2",
              "restore3", "restore4", "restore5", "restoredown"})
            if (P.ColourOf(Name) == Pixel)
                return Name;
        return "?";
    }

    // Timer ticks until the frame changes; their number.
    int TicksToNextFrame(TbsSkinAnimateObject* O) {
        const int From = O->Frame();
        for (int Ticks = 1; Ticks <= 20; ++Ticks) {
            C->AnimateTimerStep(nullptr);
            if (O->Frame() != From)
                return Ticks;
        }
        return -1;
    }

    TTestSkin Anim;
    TForm* F = nullptr;
    TbsSkinForm* C = nullptr;
};

TEST_F(SkinFormAnimation, HoverRunsTheFramesForwardAndLeavingRunsThemBack) {
    TbsSkinAnimateObject* O = MakeAnimated();
    EXPECT_EQ(Shown(), "frame1");
    O->MouseEnter();
    EXPECT_TRUE(C->AnimateTimer->Enabled());
    EXPECT_EQ(TicksToNextFrame(O), 4);
    EXPECT_EQ(O->Frame(), 2);
    EXPECT_EQ(Shown(), "frame2");
    EXPECT_EQ(TicksToNextFrame(O), 4);
    EXPECT_EQ(O->Frame(), 3);
    O->MouseLeave();
    EXPECT_EQ(TicksToNextFrame(O), 4);
    EXPECT_EQ(O->Frame(), 2);
    EXPECT_EQ(TicksToNextFrame(O), 4);
    EXPECT_EQ(O->Frame(), 1);
    EXPECT_FALSE(O->Active);
    C->AnimateTimerStep(nullptr);
    EXPECT_FALSE(C->AnimateTimer->Enabled()) << "nothing left to step";
    EXPECT_EQ(Shown(), "frame1");
}

TEST_F(SkinFormAnimation, StartStopsOnTheLastFrameOrCycles) {
    for (bool Cycle : {false, true}) {
        SCOPED_TRACE(Cycle ? "cycle" : "once");
        TbsSkinAnimateObject* O = MakeAnimated({"timerinterval=10", Cycle ? "cycle=1" : "cycle=0"});
        EXPECT_EQ(O->TimerInterval, 25) << "raised to one tick";
        O->Start();
        std::vector<int> Frames;
        for (int I = 0; I < 6; ++I) {
            C->AnimateTimerStep(nullptr);
            Frames.push_back(O->Frame());
        }
        if (Cycle)
            EXPECT_EQ(Frames, (std::vector<int>{2, 3, 4, 5, 1, 2}));
        else
            EXPECT_EQ(Frames, (std::vector<int>{2, 3, 4, 5, 5, 5}));
        EXPECT_EQ(O->Active, Cycle);
        O->Stop();
        EXPECT_EQ(O->Frame(), 1);
        delete F;
    }
}

TEST_F(SkinFormAnimation, APressOnAPressedLookHoldsItAndHoverOnlyRedraws) {
    TbsSkinAnimateObject* O = MakeAnimated({"downskinrect=40,0,48,12"});
    const TPoint In = C->Object(C->GetIndex("anim"))->ObjectRect.TopLeft();
    C->TestActive(In.X + 2, In.Y + 2, true);
    O->MouseDown(In.X + 2, In.Y + 2, mbLeft);
    EXPECT_TRUE(O->FDown);
    EXPECT_EQ(O->Frame(), 5);
    EXPECT_EQ(Shown(), "down");
    C->AnimateTimer->SetEnabled(false);
    O->FMouseIn = false;
    O->MouseEnter();
    EXPECT_FALSE(C->AnimateTimer->Enabled()) << "redrawn only";
    EXPECT_TRUE(O->Active);
    O->MouseUp(0, 0, mbLeft);
    EXPECT_FALSE(O->FDown);
    EXPECT_TRUE(C->AnimateTimer->Enabled());
}

TEST_F(SkinFormAnimation, RestoreLooksAndCommands) {
    TbsSkinAnimateObject* O =
        MakeAnimated({"command=cmmaximize", "restorerect=48,0,56,12",
                      "restoreactiverect=48,0,56,12", "restoredownrect=88,0,96,12"});
    ASSERT_NE(O->RestoreHint, O->FTempHint);
    O->MouseEnter();
    EXPECT_EQ(O->Hint, O->FTempHint);
    O->MouseLeave();
    C->SetWindowState(wsMaximized);
    EXPECT_EQ(Shown(), "restore1");
    O->MouseEnter();
    EXPECT_EQ(O->Hint, O->RestoreHint);
    O->DoCommand();
    EXPECT_EQ(C->WindowState(), wsNormal);
    EXPECT_EQ(Shown(), "frame1");
}

TEST_F(SkinFormAnimation, SystemMenuAndTrayCommands) {
    TbsSkinAnimateObject* O = MakeAnimated({"command=cmsysmenu"});
    // The press opens the form's system menu under the object.
    TPoint At{O->ObjectRect.Left + 2, O->ObjectRect.Top + 2};
    At.X += F->Left();
    At.Y += F->Top();
    Headless.MovePointer(At.X, At.Y);
    Application->ProcessMessages();
    O->MouseDown(0, 0, mbLeft);
    ASSERT_NE(C->SkinMenu, nullptr);
    ASSERT_EQ(C->SkinMenu->PopupCount(), 1);
    TbsSkinPopupWindow* Menu = C->SkinMenu->PopupWindow(0);
    ASSERT_GT(Menu->ItemCount(), 0);
    EXPECT_TRUE(O->FMenuTracking);
    // The items the form made for its system menu (asking for them again
    // would rebuild them and close the menu).
    EXPECT_EQ(Menu->Item(0)->MenuItem->Parent(), O->MenuItem);
    C->HideSkinMenu();
    Application->ProcessMessages();
    EXPECT_EQ(C->SkinMenu->PopupCount(), 0);
    int Closes = 0;
    F->OnClose = [&](TObject*, TCloseAction& Action) {
        ++Closes;
        Action = caNone;
    };
    O->DblClick();
    EXPECT_EQ(Closes, 1);
    delete F;

    O = MakeAnimated({"command=cmminimize"});
    C->SetAlwaysMinimizeToTray(true);
    O->DoCommand();
    EXPECT_EQ(C->WindowState(), wsNormal) << "the tray path is taken";
}

TEST_F(SkinFormAnimation, AnObjectWithAMenuGlowsOnTheMenuLayerAndShowsItsLastFrame) {
    TbsSkinAnimateObject* O =
        MakeAnimated({"glowlayerpictureindex=0", "glowlayermaskpictureindex=0"});
    O->MouseEnter();
    EXPECT_TRUE(C->FLayerManager->IsVisible());
    EXPECT_FALSE(C->FMenuLayerManager->IsVisible());
    O->MouseLeave();
    EXPECT_FALSE(C->FLayerManager->IsVisible());

    TPopupMenu Menu(nullptr);
    auto* Item = new TMenuItem(&Menu);
    Item->SetCaption("One");
    Menu.Items()->Add(Item);
    C->LinkMenu("anim", &Menu, false);
    ASSERT_EQ(O->MenuItem, Menu.Items());
    O->MouseEnter();
    EXPECT_TRUE(C->FMenuLayerManager->IsVisible());
    EXPECT_FALSE(C->FLayerManager->IsVisible());
    O->TrackMenu();
    EXPECT_TRUE(O->FMenuTracking);
    EXPECT_EQ(Shown(), "frame5") << "the last frame while the menu is up";
    C->SkinMenuClose();
    EXPECT_FALSE(O->FMenuTracking);
    O->MenuItem = nullptr;
    delete F;
}

} // namespace
} // namespace skinform
