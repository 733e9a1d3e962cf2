// The tray icon over the headless notification area: the calls it makes,
// click recognition, and minimising to the tray with and without an area.
#include "skin/forms/SkinForm.h"
#include "skin/forms/bsTrayIcon.h"
#include "tests/skin/forms/menus/MenusFixture.h"

#include <algorithm>

namespace menus {
namespace {

class TrayIconTest : public MenusFixture {
protected:
    TNotifyIconId OnlyIcon() {
        const auto& Calls = Headless.NotifyIconCalls();
        return Calls.empty() ? 0 : Calls.back().Id;
    }
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

} // namespace
} // namespace menus
