#include "tests/skin/controls/buttons/ButtonsTestSupport.h"

#include <algorithm>
#include <filesystem>

void TButtonsTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
    Pump();
}

void TButtonsTest::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

TbsSkinData* TButtonsTest::LoadSkin(const testskin::TTestSkin& Skin) {
    const std::string Folder = Dir.File("skin" + std::to_string(SkinCount++));
    std::filesystem::create_directories(Folder);
    const std::string Ini = Skin.WriteFolder(Folder);
    auto* SD = new TbsSkinData(Form);
    SD->LoadFromFile(Ini);
    EXPECT_FALSE(SD->Empty);
    return SD;
}

void TButtonsTest::Pump() {
    Application->ProcessMessages();
}

void TButtonsTest::RunFor(std::uint32_t Milliseconds) {
    Headless.RunUntil(Clock.Now() + Milliseconds);
}

TPoint TButtonsTest::ScreenOf(TControl* Control, int X, int Y) {
    return Control->ClientToScreen({X, Y});
}

std::uint32_t TButtonsTest::PixelOf(TControl* Control, int X, int Y) {
    Pump();
    FlushPresents();
    const TPoint P = ScreenOf(Control, X, Y);
    return Headless.ScreenPixel(P.X, P.Y) & 0xFFFFFF;
}

void TButtonsTest::MoveTo(TControl* Control, int X, int Y) {
    const TPoint P = ScreenOf(Control, X, Y);
    Headless.MovePointer(P.X, P.Y);
    Pump();
}

void TButtonsTest::PressAt(TControl* Control, int X, int Y) {
    MoveTo(Control, X, Y);
    Headless.Press(0);
    Pump();
}

void TButtonsTest::ReleaseAt(TControl* Control, int X, int Y) {
    MoveTo(Control, X, Y);
    Headless.Release(0);
    Pump();
}

void TButtonsTest::ClickAt(TControl* Control, int X, int Y) {
    PressAt(Control, X, Y);
    Headless.Release(0);
    Pump();
}

std::uint32_t Rgb(TColor C) {
    const COLORREF V = COLORREF(ColorToRGB(C));
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}

TColor SkinColour(testskin::TRgb C) {
    return TColor(RGB(BYTE(C >> 16), BYTE(C >> 8), BYTE(C)));
}

int TEventLog::Count(const std::string& Name) const {
    return int(std::count(Names.begin(), Names.end(), Name));
}

bool IsGreenish(std::uint32_t Pixel) {
    const int R = int(Pixel >> 16 & 0xFF), G = int(Pixel >> 8 & 0xFF), B = int(Pixel & 0xFF);
    return G > 0x80 && G > R + 0x40 && G > B + 0x40;
}
