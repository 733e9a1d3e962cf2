#include "tests/skin/controls/lists/ListsTestSupport.h"

#include <algorithm>
#include <filesystem>

namespace liststest {

void TListsTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
    Pump();
}

void TListsTest::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

TbsSkinData* TListsTest::LoadSkin(const testskin::TTestSkin& Skin) {
    const std::string Folder = Dir.File("skin" + std::to_string(SkinCount++));
    std::filesystem::create_directories(Folder);
    const std::string Ini = Skin.WriteFolder(Folder);
    auto* SD = new TbsSkinData(Form);
    SD->LoadFromFile(Ini);
    EXPECT_FALSE(SD->Empty);
    return SD;
}

void TListsTest::Pump() {
    Application->ProcessMessages();
}

void TListsTest::RunFor(std::uint32_t Milliseconds) {
    Headless.RunUntil(Clock.Now() + Milliseconds);
}

std::uint32_t TListsTest::PixelOf(TControl* Control, int X, int Y) {
    Pump();
    FlushPresents();
    const TPoint P = Control->ClientToScreen({X, Y});
    return Headless.ScreenPixel(P.X, P.Y) & 0xFFFFFF;
}

void TListsTest::MoveTo(TControl* Control, int X, int Y) {
    const TPoint P = Control->ClientToScreen({X, Y});
    Headless.MovePointer(P.X, P.Y);
    Pump();
}

void TListsTest::PressAt(TControl* Control, int X, int Y) {
    MoveTo(Control, X, Y);
    Headless.Press(0);
    Pump();
}

void TListsTest::ReleaseAt(TControl* Control, int X, int Y) {
    MoveTo(Control, X, Y);
    Headless.Release(0);
    Pump();
}

void TListsTest::ClickAt(TControl* Control, int X, int Y) {
    PressAt(Control, X, Y);
    Headless.Release(0);
    Pump();
}

void TListsTest::Key(int VirtualKey, bool Alt) {
    if (Alt)
        Headless.KeyDown(VK_MENU);
    Headless.KeyDown(VirtualKey);
    Headless.KeyUp(VirtualKey);
    if (Alt)
        Headless.KeyUp(VK_MENU);
    Pump();
}

void TListsTest::Type(const std::string& Text) {
    Headless.TypeText(Text);
    Pump();
}

void TListsTest::Wheel(bool Forward) {
    Headless.Wheel(Forward ? 120 : -120);
    Pump();
}

void TListsTest::Focus(TWinControl* Control) {
    Control->SetFocus();
    Pump();
}

std::uint32_t Rgb(TColor C) {
    const COLORREF V = COLORREF(ColorToRGB(C));
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}

int TEventLog::Count(const std::string& Name) const {
    return int(std::count(Names.begin(), Names.end(), Name));
}

TLoggedCombo::TLoggedCombo(TComponent* AOwner, TEventLog& ALog)
    : TbsSkinComboBox(AOwner), Log(ALog) {}

void TLoggedCombo::Change() {
    Log.Names.push_back("Change");
}

} // namespace liststest
