// The application: message hooks, minimizing, exceptions, message boxes,
// timers and hints.
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/ModalScript.h"

#include <memory>

class ApplicationTest : public TFormsTest {
protected:
    TForm* MainForm() {
        TForm* Main = Application->CreateForm<TForm>();
        Main->SetName("Main");
        Main->SetBounds(50, 50, 500, 400);
        Main->Show();
        Pump();
        return Main;
    }
};

TEST_F(ApplicationTest, HooksRunNewestFirstAndGoByIdentity) {
    TForm* Main = MainForm();
    std::vector<std::string> Calls;
    TMessageEvent A = [&](MSG& Msg, bool&) {
        if (Msg.message == WM_KEYDOWN)
            Calls.push_back("A");
    };
    TMessageEvent B = [&](MSG& Msg, bool& Handled) {
        if (Msg.message == WM_KEYDOWN) {
            Calls.push_back("B");
            Handled = true;
        }
    };
    int KeysSeen = 0;
    Main->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++KeysSeen; };
    Application->AddMessageHook(A);
    Application->AddMessageHook(B);
    Application->RemoveMessageHook(A);
    Headless.KeyDown('K', "k");
    Headless.KeyUp('K');
    Pump();
    EXPECT_EQ(Calls, std::vector<std::string>{"B"});
    EXPECT_EQ(KeysSeen, 0);
    // Removing a hook that is gone already changes nothing.
    Application->RemoveMessageHook(A);
    Application->RemoveMessageHook(B);
    Headless.KeyDown('K', "k");
    Headless.KeyUp('K');
    Pump();
    EXPECT_EQ(KeysSeen, 1);
}

TEST_F(ApplicationTest, MinimizeIconifiesTheMainFormAndRestoreBringsItBack) {
    TForm* Main = MainForm();
    TForm* Tool = MakeForm("Tool");
    Tool->Show();
    Pump();
    std::vector<WPARAM> Sizes;
    HWND AppWnd = Application->Handle();
    ASSERT_TRUE(SetWindowSubclass(
        AppWnd,
        [](HWND Wnd, UINT Msg, WPARAM W, LPARAM L, UINT_PTR, DWORD_PTR Data) -> LRESULT {
            if (Msg == WM_SIZE)
                reinterpret_cast<std::vector<WPARAM>*>(Data)->push_back(W);
            return DefSubclassProc(Wnd, Msg, W, L);
        },
        1, DWORD_PTR(&Sizes)));
    int Minimized = 0, Restored = 0;
    Application->OnMinimize = [&](TObject*) { ++Minimized; };
    Application->OnRestore = [&](TObject*) { ++Restored; };
    Application->Minimize();
    Pump();
    EXPECT_TRUE(IsIconic(Main->Handle()));
    EXPECT_FALSE(IsWindowVisible(Tool->Handle()));
    EXPECT_EQ(Minimized, 1);
    Application->Restore();
    Pump();
    EXPECT_FALSE(IsIconic(Main->Handle()));
    EXPECT_TRUE(IsWindowVisible(Tool->Handle()));
    EXPECT_EQ(GetActiveWindow(), Main->Handle());
    EXPECT_EQ(Restored, 1);
    EXPECT_EQ(Sizes, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
}

TEST_F(ApplicationTest, ADesktopRestoreOfTheMainFormRestoresTheApplication) {
    TForm* Main = MainForm();
    TForm* Tool = MakeForm("Tool");
    Tool->Show();
    Pump();
    int Minimized = 0, Restored = 0;
    Application->OnMinimize = [&](TObject*) { ++Minimized; };
    Application->OnRestore = [&](TObject*) { ++Restored; };
    // Twice: after the desktop's restore the application minimizes again.
    for (int Round = 1; Round <= 2; ++Round) {
        SCOPED_TRACE(Round);
        Application->Minimize();
        Pump();
        ASSERT_TRUE(IsIconic(Main->Handle()));
        Headless.IconifyByDesktop(WindowSurface(Main->Handle()), false);
        Pump();
        EXPECT_FALSE(IsIconic(Main->Handle()));
        EXPECT_FALSE(Application->Minimized());
        EXPECT_TRUE(IsWindowVisible(Tool->Handle()));
        EXPECT_EQ(Minimized, Round);
        EXPECT_EQ(Restored, Round);
    }
}

TEST_F(ApplicationTest, TheApplicationsOwnWindowNeverShows) {
    MainForm()->Show();
    Pump();
    for (int Cmd : {SW_RESTORE, SW_SHOW, SW_SHOWNORMAL, SW_SHOWNA}) {
        SCOPED_TRACE(Cmd);
        ShowWindow(Application->Handle(), Cmd);
        Pump();
        EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    }
    EXPECT_TRUE(IsWindowVisible(MainForm()->Handle()));
}

TEST_F(ApplicationTest, AnExceptionInAHandlerIsShownAndTheLoopGoesOn) {
    TForm* Main = MainForm();
    auto* Button = new TButton(Main);
    Button->SetBounds(10, 10, 75, 25);
    Button->SetParent(Main);
    Button->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    int Shown = 0;
    std::string Text;
    // The message form appears; Enter closes it.
    Application->OnIdle = [&](TObject*, bool&) {
        if (Screen->ActiveForm() && Screen->ActiveForm()->Name() == "MessageForm") {
            ++Shown;
            Text = Screen->ActiveForm()->Caption();
            Headless.KeyDown(VK_RETURN, "\r");
            Headless.KeyUp(VK_RETURN);
        }
    };
    TPoint P = Button->ClientToScreen({5, 5});
    Headless.Click(P.X, P.Y);
    Pump();
    Application->OnIdle = nullptr;
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(Text, "Ostrela");
    // The loop still works.
    int Clicks = 0;
    Button->OnClick = [&](TObject*) { ++Clicks; };
    Headless.Click(P.X, P.Y);
    Pump();
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ApplicationTest, MessageBoxAnswersByItsButtonsAndShowsItsIcon) {
    MainForm();
    std::uint32_t IconPixel = 0;
    std::vector<std::uint32_t> Shown;
    int WhiteBesideTheIcon = -1;
    Application->OnIdle = [&](TObject*, bool&) {
        TCustomForm* Box = Screen->ActiveForm();
        if (!Box || Box->Name() != "MessageForm" || IconPixel)
            return;
        Pump();
        FlushPresents();
        TPoint Origin = Box->ClientToScreen({12, 12});
        for (int Y = 0; Y < 32; ++Y)
            for (int X = 0; X < 32; ++X)
                Shown.push_back(Headless.ScreenPixel(Origin.X + X, Origin.Y + Y));
        // The message is written on the face, with no white box behind it.
        WhiteBesideTheIcon = 0;
        TPoint TextOrigin = Box->ClientToScreen({56, 12});
        for (int Y = 0; Y < 32; ++Y)
            for (int X = 0; X < Box->ClientWidth() - 56; ++X)
                WhiteBesideTheIcon += (Headless.ScreenPixel(TextOrigin.X + X, TextOrigin.Y + Y) &
                                       0xFFFFFF) == 0xFFFFFF;
        IconPixel = 1;
        Headless.KeyDown(VK_RETURN, "\r");
        Headless.KeyUp(VK_RETURN);
    };
    EXPECT_EQ(Application->MessageBox("The job failed", "Ostrela", 48), IDOK);
    // The stock exclamation icon, as the graphics layer draws it on the
    // form's face, and not the question icon.
    auto Drawn = [](std::uintptr_t Id) {
        TBitmap Expected;
        Expected.SetSize(32, 32);
        Expected.Canvas()->Brush()->SetColor(clBtnFace);
        Expected.Canvas()->FillRect(Rect(0, 0, 32, 32));
        DrawIconEx(Expected.Canvas()->Handle(), 0, 0, LoadIcon(nullptr, Id), 32, 32, 0, nullptr,
                   DI_NORMAL);
        std::vector<std::uint32_t> Pixels;
        for (int Y = 0; Y < 32; ++Y)
            for (int X = 0; X < 32; ++X)
                Pixels.push_back(Rgb(Expected.Canvas()->Pixels(X, Y)));
        return Pixels;
    };
    ASSERT_EQ(Shown.size(), 32u * 32u);
    EXPECT_EQ(Shown, Drawn(IDI_EXCLAMATION));
    EXPECT_NE(Shown, Drawn(IDI_QUESTION));
    EXPECT_EQ(WhiteBesideTheIcon, 0);

    IconPixel = 0;
    Application->OnIdle = [&](TObject*, bool&) {
        if (Screen->ActiveForm() && Screen->ActiveForm()->Name() == "MessageForm") {
            Headless.KeyDown(VK_ESCAPE);
            Headless.KeyUp(VK_ESCAPE);
        }
    };
    EXPECT_EQ(Application->MessageBox("Quit?", "", MB_YESNOCANCEL), IDCANCEL);
    Application->OnIdle = [&](TObject*, bool&) {
        if (Screen->ActiveForm() && Screen->ActiveForm()->Name() == "MessageForm") {
            Headless.KeyDown(VK_RETURN, "\r");
            Headless.KeyUp(VK_RETURN);
        }
    };
    EXPECT_EQ(Application->MessageBox("Quit?", "", MB_YESNO | MB_DEFBUTTON2), IDNO);
    Application->OnIdle = nullptr;
}

// ---------------------------------------------------------------- timers

TEST_F(ApplicationTest, ATimerTicksOnlyWhileItCan) {
    TTimer Timer(nullptr);
    int Ticks = 0;
    Timer.SetInterval(100);
    Timer.SetOnTimer([&](TObject*) { ++Ticks; });
    Headless.RunUntil(Clock.Now() + 350);
    EXPECT_EQ(Ticks, 3);
    Timer.SetEnabled(false);
    Headless.RunUntil(Clock.Now() + 350);
    EXPECT_EQ(Ticks, 3);
    Timer.SetEnabled(true);
    Timer.SetInterval(0);
    Headless.RunUntil(Clock.Now() + 350);
    EXPECT_EQ(Ticks, 3);
    Timer.SetInterval(100);
    Timer.SetOnTimer(nullptr);
    Headless.RunUntil(Clock.Now() + 350);
    EXPECT_EQ(Ticks, 3);
}

TEST_F(ApplicationTest, ATimerFreedInItsOwnHandlerTicksNoMore) {
    auto* Timer = new TTimer(nullptr);
    int Ticks = 0;
    Timer->SetInterval(100);
    Timer->SetOnTimer([&](TObject* Sender) {
        ++Ticks;
        delete static_cast<TTimer*>(Sender);
    });
    Headless.RunUntil(Clock.Now() + 500);
    EXPECT_EQ(Ticks, 1);
}

// ---------------------------------------------------------------- hints

namespace {

class TCountingHint : public THintWindow {
public:
    using THintWindow::THintWindow;
    void ActivateHint(TRect Rect, const std::string& AHint) override {
        ++Activations;
        THintWindow::ActivateHint(Rect, AHint);
    }
    static inline int Activations = 0;
};

} // namespace

class HintTest : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        Main = MainForm();
        A = MakeHinted("A", 10, "a|long a");
        B = MakeHinted("B", 100, "b");
    }
    TControl* MakeHinted(const std::string& Name, int Left, const std::string& Hint) {
        auto* P = new TPanel(Main);
        P->SetName(Name);
        P->SetBounds(Left, 10, 60, 40);
        P->SetParent(Main);
        P->SetHint(Hint);
        P->SetShowHint(true);
        return P;
    }
    void Rest(TControl* C) {
        TPoint P = C->ClientToScreen({20, 20});
        Headless.MovePointer(P.X, P.Y);
        Pump();
    }
    bool HintShown() {
        THintWindow* W = Application->HintWindow();
        return W && W->HandleAllocated() && IsWindowVisible(W->Handle());
    }
    TForm* Main = nullptr;
    TControl* A = nullptr;
    TControl* B = nullptr;
};

TEST_F(HintTest, AHintAppearsAfterThePauseBelowTheCursorAndGoes) {
    std::vector<std::string> Seen;
    TWndMethod Old = A->WindowProc;
    A->WindowProc = [&](TMessage& M) {
        if (M.Msg == CM_HINTSHOW)
            Seen.push_back("hintshow");
        Old(M);
    };
    TShowHintEvent Hook = [&](std::string& HintStr, bool&, THintInfo& Info) {
        Seen.push_back("show " + HintStr + " " + Info.HintControl->Name());
    };
    Application->AddShowHintHook(Hook);
    Rest(A);
    Headless.RunUntil(Clock.Now() + 400);
    EXPECT_FALSE(HintShown());
    Headless.RunUntil(Clock.Now() + 150);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Seen, (std::vector<std::string>{"hintshow", "show a A"}));
    EXPECT_EQ(Application->Hint(), "long a");
    TPoint Cursor = A->ClientToScreen({20, 20});
    TRect R;
    GetWindowRect(Application->HintWindow()->Handle(), &R);
    EXPECT_EQ(R.Left, Cursor.X);
    EXPECT_GT(R.Top, Cursor.Y);
    Headless.RunUntil(Clock.Now() + 2600);
    EXPECT_FALSE(HintShown());

    // A key hides a shown hint.
    Rest(B);
    Headless.RunUntil(Clock.Now() + 600);
    ASSERT_TRUE(HintShown());
    Headless.KeyDown(VK_SHIFT);
    Headless.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_FALSE(HintShown());
    Application->RemoveShowHintHook(Hook);
    A->WindowProc = Old;
}

TEST_F(HintTest, TheNextHintFollowsAfterTheShortPause) {
    Rest(A);
    Headless.RunUntil(Clock.Now() + 600);
    ASSERT_TRUE(HintShown());
    Rest(B);
    EXPECT_FALSE(HintShown());
    Headless.RunUntil(Clock.Now() + 60);
    EXPECT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), "b");
}

TEST_F(HintTest, ARemovedShowHintHookIsNeverCalled) {
    int Calls = 0;
    TShowHintEvent Hook = [&](std::string&, bool&, THintInfo&) { ++Calls; };
    Application->AddShowHintHook(Hook);
    Application->RemoveShowHintHook(Hook);
    Rest(A);
    Headless.RunUntil(Clock.Now() + 600);
    EXPECT_TRUE(HintShown());
    EXPECT_EQ(Calls, 0);
}

TEST_F(HintTest, ANewHintWindowClassTakesOverAfterShowHintToggles) {
    Application->HintWindowClass = [](TComponent* Owner) { return new TCountingHint(Owner); };
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    TCountingHint::Activations = 0;
    Rest(A);
    Headless.RunUntil(Clock.Now() + 600);
    EXPECT_TRUE(HintShown());
    EXPECT_EQ(TCountingHint::Activations, 1);
    EXPECT_NE(dynamic_cast<TCountingHint*>(Application->HintWindow()), nullptr);
}

TEST_F(ApplicationTest, TheScreensCursorOverridesEachControlsUntilReset) {
    TForm* Main = MainForm();
    auto* Panel = new TPanel(Main);
    Panel->SetBounds(10, 10, 100, 100);
    Panel->SetParent(Main);
    Panel->SetCursor(crHandPoint);
    Pump();
    TPoint P = Panel->ClientToScreen({20, 20});
    Headless.MovePointer(P.X, P.Y);
    Pump();
    EXPECT_EQ(Headless.Cursor(), IDC_HAND);
    Screen->SetCursor(crHourGlass);
    Headless.MovePointer(P.X + 1, P.Y);
    Pump();
    EXPECT_EQ(Headless.Cursor(), IDC_WAIT);
    Screen->SetCursor(crDefault);
    Headless.MovePointer(P.X + 2, P.Y);
    Pump();
    EXPECT_EQ(Headless.Cursor(), IDC_HAND);
}

TEST_F(ApplicationTest, HelpUsesTheActiveFormsHelpFileElseTheApplications) {
    MainForm();
    TForm* Dialog = MakeForm("Dialog");
    std::vector<std::string> Files;
    auto AskHelp = [&] {
        Application->HelpContext(7);
        Files.push_back(Headless.Opened().empty() ? "" : Headless.Opened().back());
        Dialog->SetModalResult(mrOk);
    };
    Dialog->SetHelpFile("a.chm");
    {
        TModalScript Script({AskHelp});
        Dialog->ShowModal();
    }
    Dialog->SetHelpFile("");
    {
        TModalScript Script({AskHelp});
        Dialog->ShowModal();
    }
    ASSERT_EQ(Files.size(), 2u);
    EXPECT_NE(Files[0].find("a.chm"), std::string::npos) << Files[0];
    EXPECT_NE(Files[1].find("help.chm"), std::string::npos) << Files[1];
}

TEST_F(ApplicationTest, HelpGoesToTheOpenerAndTheApplicationWindowClosesTheMainForm) {
    TForm* Main = MainForm();
    EXPECT_TRUE(Application->HelpContext(10));
    ASSERT_FALSE(Headless.Opened().empty());
    EXPECT_NE(Headless.Opened().back().find("help.chm"), std::string::npos);
    int Closes = 0;
    Main->OnClose = [&](TObject*, TCloseAction&) { ++Closes; };
    SendMessage(Application->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Closes, 1);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationTest, AFormsConstraintsLimitItsTrackingSize) {
    TForm* Main = MainForm();
    Main->Constraints()->SetMinWidth(300);
    Main->Constraints()->SetMaxHeight(500);
    MINMAXINFO Info;
    Info.ptMinTrackSize = {100, 100};
    Info.ptMaxTrackSize = {2000, 2000};
    SendMessage(Main->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&Info));
    EXPECT_EQ(Info.ptMinTrackSize.X, 300);
    EXPECT_EQ(Info.ptMinTrackSize.Y, 100);
    EXPECT_EQ(Info.ptMaxTrackSize.Y, 500);
    Main->SetBounds(Main->Left(), Main->Top(), 200, 800);
    EXPECT_EQ(Main->Width(), 300);
    EXPECT_EQ(Main->Height(), 500);
}

TEST_F(HintTest, AHintGoesWhenTheProgramLosesTheActivation) {
    Rest(A);
    Headless.RunUntil(Clock.Now() + 600);
    ASSERT_TRUE(HintShown());
    int Deactivated = 0;
    Application->OnDeactivate = [&](TObject*) { ++Deactivated; };
    Headless.TakeFocusAway();
    Pump();
    EXPECT_EQ(Deactivated, 1);
    EXPECT_FALSE(HintShown());
    EXPECT_FALSE(Application->Active());
}
