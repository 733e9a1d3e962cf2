// The tray icon over the headless notification area: the calls it makes,
// click recognition, and minimising to the tray with and without an area.
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsTrayIcon.h"
#include "tests/skin/forms/menus/MenusFixture.h"

#include <algorithm>
#include <string>

namespace menus {
namespace {

class TrayIconTest : public MenusFixture {
protected:
    TNotifyIconId OnlyIcon() {
        const auto& Calls = Headless.NotifyIconCalls();
        return Calls.empty() ? 0 : Calls.back().Id;
    }
};

// Every event reaches the overridable steps; this one logs each step and
// passes it on, or not.
class THookedTrayIcon : public TbsTrayIcon {
public:
    THookedTrayIcon(TComponent* AOwner, TLog* ALog) : TbsTrayIcon(AOwner), FLog(ALog) {}
    bool PassOn = true;

protected:
    void DoClick() override {
        Step("DoClick", [this] { TbsTrayIcon::DoClick(); });
    }
    void DoDblClick() override {
        Step("DoDblClick", [this] { TbsTrayIcon::DoDblClick(); });
    }
    void DoCycle(int NextIndex) override {
        Step("DoCycle " + std::to_string(NextIndex),
             [this, NextIndex] { TbsTrayIcon::DoCycle(NextIndex); });
    }
    void DoMouseDown(TMouseButton B, TShiftState S, int X, int Y) override {
        Step("DoMouseDown", [=, this] { TbsTrayIcon::DoMouseDown(B, S, X, Y); });
    }
    void DoMouseUp(TMouseButton B, TShiftState S, int X, int Y) override {
        Step("DoMouseUp", [=, this] { TbsTrayIcon::DoMouseUp(B, S, X, Y); });
    }
    void DoMouseMove(TShiftState S, int X, int Y) override {
        Step("DoMouseMove", [=, this] { TbsTrayIcon::DoMouseMove(S, X, Y); });
    }

private:
    template <class F> void Step(const std::string& Name, F Inherited) {
        FLog->push_back(Name);
        if (PassOn)
            Inherited();
    }
    TLog* FLog;
};

TEST_F(TrayIconTest, AddsItsIconWithTipAndCallback) {
    auto* T = new TbsTrayIcon(Form);
    T->SetHint("Ostrela");
    T->SetIconVisible(true);
    ASSERT_FALSE(Headless.NotifyIconCalls().empty());
    EXPECT_EQ(Headless.NotifyIconCalls().back().Operation, THeadlessNotifyCall::Add);
    EXPECT_NE(Headless.NotifyIconCalls().back().Id, 0u);
    EXPECT_EQ(Headless.NotifyIconCalls().back().Tip, "Ostrela");
}

TEST_F(TrayIconTest, ClickIsToldApartFromADoubleClick) {
    auto* T = new TbsTrayIcon(Form);
    T->SetIconVisible(true);
    const TNotifyIconId Id = OnlyIcon();
    T->OnClick = [this](TObject*) { Log.push_back("click"); };
    T->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
    T->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("up"); };

    Headless.ClickNotifyIcon(Id, 0);
    Pump();
    EXPECT_EQ(Log, TLog{"up"});
    RunFor(GetDoubleClickTime() + 10);
    EXPECT_EQ(Log, (TLog{"up", "click"}));

    Log.clear();
    Headless.PressNotifyIcon(Id, 0);
    Pump();
    RunFor(GetDoubleClickTime() + 10);
    Headless.ReleaseNotifyIcon(Id, 0);
    Pump();
    EXPECT_EQ(Log, (TLog{"click", "up"}));

    Log.clear();
    RunFor(GetDoubleClickTime() + 10);
    Headless.DoubleClickNotifyIcon(Id, 0);
    Pump();
    RunFor(GetDoubleClickTime() + 10);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "dblclick"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 0);

    Log.clear();
    T->SetEnabled(false);
    Headless.ClickNotifyIcon(Id, 0);
    Pump();
    RunFor(GetDoubleClickTime() + 10);
    EXPECT_TRUE(Log.empty());
}

TEST_F(TrayIconTest, MinimizeToTrayHidesOnlyWhenTheIconIsThere) {
    Application->SetMainForm(Form);
    auto* C = new TbsSkinForm(Form);
    auto* T = new TbsTrayIcon(Form);
    C->SetTrayIcon(T);
    int Events = 0;
    C->OnMinimizeToTray = [&Events](TObject*) { ++Events; };
    for (bool Area : {false, true}) {
        SCOPED_TRACE(Area);
        Headless.SetNotifyAreaAvailable(Area);
        Pump();
        C->MinimizeToTray();
        Pump();
        EXPECT_EQ(Form->Visible(), !Area);
        EXPECT_EQ(Form->Tag(), Area ? -10000 : 0);
        if (Area) {
            C->RestoreFromTray();
            Pump();
            EXPECT_TRUE(Form->Visible());
            EXPECT_FALSE(T->IconVisible());
        } else {
            C->RestoreFromTray();
            Pump();
        }
    }
    EXPECT_EQ(Events, 2);
}

TEST_F(TrayIconTest, IconIndexAndCycleThroughTheIconList) {
    auto* T = new TbsTrayIcon(Form);
    T->SetIconVisible(true);
    T->SetIconIndex(7); // no list
    EXPECT_EQ(T->IconIndex(), 0);
    auto* L = new TCustomImageList(Form);
    L->SetWidth(16);
    L->SetHeight(16);
    for (int i = 0; i < 3; ++i) {
        TBitmap B;
        B.SetSize(16, 16);
        B.Canvas()->Brush()->SetColor(RGB(80 * i, 0, 0));
        B.Canvas()->FillRect({0, 0, 16, 16});
        L->AddMasked(&B, clFuchsia);
    }
    T->SetIconList(L);
    T->SetIconIndex(7);
    EXPECT_EQ(T->IconIndex(), 2);
    T->SetIconIndex(0);
    std::vector<int> Next;
    T->OnCycle = [&Next](TObject*, int N) { Next.push_back(N); };
    // Interval 0: nothing moves.
    T->SetCycleIcons(true);
    RunFor(1000);
    EXPECT_TRUE(Next.empty());
    T->SetAnimateTimerInterval(100);
    T->SetCycleIcons(true);
    RunFor(401);
    EXPECT_EQ(Next, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(T->IconIndex(), 1);
}

TEST_F(TrayIconTest, TaskbarCreatedAddsTheIconAgainOnlyWhenWanted) {
    auto* T = new TbsTrayIcon(Form);
    T->SetIconVisible(true);
    for (bool Visible : {true, false}) {
        SCOPED_TRACE(Visible);
        T->SetIconVisible(Visible);
        Headless.SetNotifyAreaAvailable(false);
        Pump();
        const auto Before = Headless.NotifyIconCalls().size();
        Headless.SetNotifyAreaAvailable(true);
        Pump();
        const auto& Calls = Headless.NotifyIconCalls();
        const bool Added =
            std::any_of(Calls.begin() + std::ptrdiff_t(Before), Calls.end(),
                        [](const auto& C) { return C.Operation == THeadlessNotifyCall::Add; });
        EXPECT_EQ(Added, Visible);
    }
}

TEST_F(TrayIconTest, RightPressOpensTheTrayMenuAtTheCursor) {
    auto* C = new TbsSkinForm(Form);
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "Restore");
    auto* T = new TbsTrayIcon(Form);
    T->SetPopupMenu(M);
    T->SetIconVisible(true);
    const TNotifyIconId Id = OnlyIcon();
    Headless.MovePointer(1800, 1050);
    Headless.PressNotifyIcon(Id, 1);
    Pump();
    ASSERT_TRUE(C->SkinMenu->Visible());
    TbsSkinPopupWindow* W = C->SkinMenu->PopupWindow(0);
    // At the cursor: no room below it, so the menu ends where it points.
    EXPECT_EQ(W->Top() + W->Height(), 1050);
    EXPECT_LE(W->Left() + W->Width(), 1920);
    C->SkinMenu->Hide();
    // With PopupByLeftButton the left press opens it instead.
    T->SetPopupByLeftButton(true);
    Headless.PressNotifyIcon(Id, 0);
    Pump();
    EXPECT_TRUE(C->SkinMenu->Visible());
}

TEST_F(TrayIconTest, TheIconIsTheApplicationsOwn) {
    TArgbImage Picture;
    Picture.Width = Picture.Height = 32;
    Picture.Pixels.assign(32 * 32, 0xFF2040C0);
    Application->Icon()->SetImages({Picture});
    auto* T = new TbsTrayIcon(Form);
    T->SetIconVisible(true);
    const THeadlessNotifyIcon* I = Headless.NotifyIcon(OnlyIcon());
    ASSERT_NE(I, nullptr);
    EXPECT_EQ(I->Width, 32);
    EXPECT_EQ(I->Picture, Picture.Pixels);
}

TEST_F(TrayIconTest, DoubleClickRunsTheDefaultItemOnlyWhenTheLeftButtonDoesNotOpenTheMenu) {
    auto* C = new TbsSkinForm(Form);
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "Other");
    AddItem(M->Items(), "Open")->SetDefault(true);
    auto* T = new TbsTrayIcon(Form);
    T->SetPopupMenu(M);
    T->SetIconVisible(true);
    const TNotifyIconId Id = OnlyIcon();
    for (bool ByLeft : {false, true}) {
        SCOPED_TRACE(ByLeft);
        T->SetPopupByLeftButton(ByLeft);
        Log.clear();
        Headless.DoubleClickNotifyIcon(Id, 0);
        Pump();
        RunFor(GetDoubleClickTime() + 10);
        EXPECT_EQ(Log, ByLeft ? TLog{} : TLog{"click Open"});
        EXPECT_EQ(C->SkinMenu->Visible(), ByLeft);
        C->SkinMenu->Hide();
        Pump();
        RunFor(GetDoubleClickTime() + 10);
    }
}

TEST_F(TrayIconTest, MinimizedOnStartHidesOnlyWhenThereIsATray) {
    Application->SetMainForm(Form);
    for (bool Area : {true, false}) {
        SCOPED_TRACE(Area);
        Headless.SetNotifyAreaAvailable(Area);
        Pump();
        Application->SetShowMainForm(true);
        Form->SetWindowState(wsNormal);
        auto* T = new TbsTrayIcon(Form);
        T->SetMinimizedOnStart(true);
        T->Loaded();
        EXPECT_EQ(Application->ShowMainForm(), !Area);
        EXPECT_EQ(Form->WindowState(), Area ? wsNormal : wsMinimized);
        EXPECT_EQ(Headless.NotifyIcons().size(), Area ? 1u : 0u);
        delete T;
    }
}

TEST_F(TrayIconTest, ActivatingTheOwnerGivesTheFocusBackToItsControl) {
    auto* T = new TbsTrayIcon(Form);
    auto* A = new TCustomControl(Form);
    auto* B = new TCustomControl(Form);
    for (TCustomControl* E : {A, B}) {
        E->SetParent(Form);
        E->SetBounds(10, E == A ? 10 : 50, 100, 24);
        E->SetTabStop(true);
    }
    Pump();
    B->SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), B->Handle());
    Headless.TakeFocusAway();
    Pump();
    ASSERT_NE(GetFocus(), B->Handle());
    SendMessage(Form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
    EXPECT_EQ(GetFocus(), B->Handle());
    delete T;
}

TEST_F(TrayIconTest, IconsDestroyedInCreationOrderLeaveTheApplicationWindowWorking) {
    auto* First = new TbsTrayIcon(Form);
    auto* Second = new TbsTrayIcon(Form);
    First->SetIconVisible(true);
    Second->SetIconVisible(true);
    delete First;
    // The second icon's hook is still in place: a new notification area gets
    // its icon again.
    Headless.SetNotifyAreaAvailable(false);
    Pump();
    Headless.SetNotifyAreaAvailable(true);
    Pump();
    EXPECT_EQ(Headless.NotifyIcons().size(), 1u);
    delete Second;
    EXPECT_TRUE(Headless.NotifyIcons().empty());
    // Nothing of either is left on the application's window.
    Headless.SetNotifyAreaAvailable(false);
    Pump();
    Headless.SetNotifyAreaAvailable(true);
    Pump();
    SendMessage(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    Pump();
    EXPECT_TRUE(Headless.NotifyIcons().empty());
    EXPECT_TRUE(Form->Visible());
}

TEST_F(TrayIconTest, ADescendantHooksEveryEventBeforeItFires) {
    auto* T = new THookedTrayIcon(Form, &Log);
    T->SetIconVisible(true);
    const TNotifyIconId Id = OnlyIcon();
    T->OnClick = [this](TObject*) { Log.push_back("OnClick"); };
    T->OnDblClick = [this](TObject*) { Log.push_back("OnDblClick"); };
    T->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, int, int) {
        Log.push_back(B == mbRight ? "OnMouseDown right" : "OnMouseDown");
    };
    T->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        Log.push_back("OnMouseUp");
    };
    T->OnMouseMove = [this](TObject*, TShiftState, int, int) { Log.push_back("OnMouseMove"); };
    T->OnCycle = [this](TObject*, int N) { Log.push_back("OnCycle " + std::to_string(N)); };

    Headless.ClickNotifyIcon(Id, 0);
    Pump();
    RunFor(GetDoubleClickTime() + 10);
    EXPECT_EQ(Log,
              (TLog{"DoMouseDown", "OnMouseDown", "DoMouseUp", "OnMouseUp", "DoClick", "OnClick"}));
    Log.clear();
    Headless.DoubleClickNotifyIcon(Id, 0);
    Pump();
    RunFor(GetDoubleClickTime() + 10);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "DoDblClick"), 1);
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "OnDblClick"), 1);
    Log.clear();
    Headless.PressNotifyIcon(Id, 1);
    Headless.PointNotifyIcon(Id, {1900, 1060});
    Pump();
    EXPECT_EQ(Log, (TLog{"DoMouseDown", "OnMouseDown right", "DoMouseMove", "OnMouseMove"}));

    // An override that does not pass the event on keeps it from the handlers.
    Log.clear();
    T->PassOn = false;
    RunFor(GetDoubleClickTime() + 10);
    Headless.ClickNotifyIcon(Id, 0);
    Pump();
    RunFor(GetDoubleClickTime() + 10);
    EXPECT_EQ(Log, (TLog{"DoMouseDown", "DoMouseUp", "DoClick"}));

    // The animation step too.
    Log.clear();
    auto* L = new TCustomImageList(Form);
    L->SetWidth(16);
    L->SetHeight(16);
    TBitmap B;
    B.SetSize(32, 16);
    L->AddMasked(&B, clFuchsia);
    T->SetIconList(L);
    T->SetAnimateTimerInterval(100);
    T->SetCycleIcons(true);
    RunFor(201);
    EXPECT_EQ(Log, (TLog{"DoCycle 1", "DoCycle 0"}));
}

TEST_F(TrayIconTest, BitmapToIconTakesTheFirstSixteenSquareWithTheMaskColourClear) {
    auto* T = new TbsTrayIcon(Form);
    TBitmap B;
    B.SetSize(40, 20);
    B.Canvas()->Brush()->SetColor(clBlue);
    B.Canvas()->FillRect({0, 0, 40, 20});
    B.Canvas()->SetPixels(3, 4, clFuchsia);
    TIcon Icon;
    ASSERT_TRUE(T->BitmapToIcon(&B, &Icon, clFuchsia));
    ASSERT_FALSE(Icon.Empty());
    const TArgbImage& I = Icon.Images().front();
    EXPECT_EQ(I.Width, 16);
    EXPECT_EQ(I.Height, 16);
    EXPECT_EQ(I.Pixels[std::size_t(4 * 16 + 3)] >> 24, 0u);
    EXPECT_EQ(I.Pixels[0], 0xFF0000FFu);

    // Nothing to take: the answer says so and the icon keeps its picture.
    TBitmap Empty;
    EXPECT_FALSE(T->BitmapToIcon(&Empty, &Icon, clFuchsia));
    EXPECT_EQ(Icon.Images().front().Pixels[0], 0xFF0000FFu);
}

TEST_F(TrayIconTest, AnMdiMainFormStartingInTheTrayKeepsTheApplicationWindowHidden) {
    auto* Mdi = new TForm(nullptr);
    Mdi->SetFormStyle(fsMDIForm);
    // A desktop where the application's window can show: the application
    // keeps it hidden here by taking the show out of every placement.
    const auto LetShow = [](HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR) {
        return Msg == WM_WINDOWPOSCHANGING ? 0 : DefSubclassProc(W, Msg, WP, LP);
    };
    for (bool OnStart : {true, false}) {
        SCOPED_TRACE(OnStart);
        Application->SetMainForm(nullptr);
        auto* T = new TbsTrayIcon(Form);
        T->SetMinimizedOnStart(OnStart);
        const HWND App = Application->Handle();
        SetWindowSubclass(App, LetShow, 1, 0);
        // No main form yet: the first placements change nothing.
        ShowWindow(App, SW_SHOWNA);
        EXPECT_TRUE(IsWindowVisible(App));
        Application->SetMainForm(Mdi);
        SetWindowPos(App, nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(IsWindowVisible(App), !OnStart);
        // Only once: later placements leave the window to its owner.
        ShowWindow(App, SW_SHOWNA);
        EXPECT_TRUE(IsWindowVisible(App));
        ShowWindow(App, SW_HIDE);
        RemoveWindowSubclass(App, LetShow, 1);
        delete T;
    }
    Application->SetMainForm(nullptr);
    delete Mdi;
}

TEST_F(TrayIconTest, MinimizeToTrayHidesTheFormWhenTheIconIsAlreadyShowing) {
    Application->SetMainForm(Form);
    auto* C = new TbsSkinForm(Form);
    auto* T = new TbsTrayIcon(Form);
    C->FAlwaysShowInTray = true;
    C->SetTrayIcon(T);
    T->SetIconVisible(true);
    ASSERT_EQ(Headless.NotifyIcons().size(), 1u);
    for (int Round = 0; Round < 2; ++Round) {
        SCOPED_TRACE(Round);
        C->MinimizeToTray();
        Pump();
        EXPECT_FALSE(Form->Visible());
        EXPECT_EQ(Form->Tag(), -10000);
        EXPECT_EQ(Headless.NotifyIcons().size(), 1u);
        C->RestoreFromTray();
        Pump();
        EXPECT_TRUE(Form->Visible());
        EXPECT_EQ(Headless.NotifyIcons().size(), 1u);
    }
}

// With the form hidden in the tray nothing has the focus and a press lands
// outside every window of the program: the open tray menu still closes on
// Escape and on a press elsewhere, and the keys go back to the form.
TEST_F(TrayIconTest, TheTrayMenuOfAHiddenFormClosesOnEscapeAndOnAPressOutside) {
    Application->SetMainForm(Form);
    auto* C = new TbsSkinForm(Form);
    auto* M = new TbsSkinPopupMenu(Form);
    AddItem(M->Items(), "Restore");
    AddItem(M->Items(), "Quit");
    auto* T = new TbsTrayIcon(Form);
    T->SetPopupMenu(M);
    C->SetTrayIcon(T);
    C->MinimizeToTray();
    Pump();
    ASSERT_FALSE(Form->Visible());
    const TNotifyIconId Id = OnlyIcon();
    TLog Keys;
    Form->OnKeyDown = [&Keys](TObject*, WORD& Key, TShiftState) {
        Keys.push_back(std::to_string(Key));
    };
    const auto Open = [&] {
        Headless.MovePointer(1800, 1050);
        RunFor(GetDoubleClickTime() + 10);
        Headless.PressNotifyIcon(Id, 1);
        Headless.ReleaseNotifyIcon(Id, 1);
        Pump();
        Pump();
        ASSERT_TRUE(C->SkinMenu->Visible());
    };
    for (int Round = 0; Round < 2; ++Round) {
        SCOPED_TRACE(Round);
        // Escape as it comes while no window has the focus: a system key
        // without Alt.
        Open();
        PostMessage(Form->Handle(), WM_SYSKEYDOWN, VK_ESCAPE, 0x00010001);
        Pump();
        EXPECT_FALSE(C->SkinMenu->Visible());
        EXPECT_FALSE(C->InMenu);

        Open();
        Headless.Click(200, 200);
        Pump();
        EXPECT_FALSE(C->SkinMenu->Visible());
        EXPECT_FALSE(C->InMenu);
        EXPECT_EQ(std::count(Log.begin(), Log.end(), "click Restore"), 0);

        // Out of menu mode the next key is the form's again.
        Keys.clear();
        Headless.KeyDown('A');
        Headless.KeyUp('A');
        Pump();
        EXPECT_EQ(Keys, TLog{std::to_string('A')});
    }
    // A choice in the open menu still works with the pointer held.
    Open();
    TbsSkinPopupWindow* W = C->SkinMenu->PopupWindow(0);
    MoveTo(CentreOf(W, 1));
    RunFor(100);
    Log.clear();
    ClickAt(CentreOf(W, 1));
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click Quit"), 1);
    EXPECT_FALSE(C->SkinMenu->Visible());

    // And in a submenu: the held pointer's press goes to the window under it.
    AddItem(AddItem(M->Items(), "More"), "Deep");
    Open();
    W = C->SkinMenu->PopupWindow(0);
    MoveTo(CentreOf(W, 2));
    RunFor(700);
    ASSERT_EQ(C->SkinMenu->PopupCount(), 2);
    Log.clear();
    TbsSkinPopupWindow* Sub = C->SkinMenu->PopupWindow(1);
    MoveTo(CentreOf(Sub, 0));
    RunFor(100);
    ClickAt(CentreOf(Sub, 0));
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click Deep"), 1);
    EXPECT_FALSE(C->SkinMenu->Visible());
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
} // namespace menus
