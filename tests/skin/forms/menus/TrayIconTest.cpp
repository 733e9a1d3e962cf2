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

} // namespace
} // namespace menus
