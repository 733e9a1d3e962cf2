#include "tests/platform/forms/standard/StandardTestSupport.h"

void TStandardTest::SetUp() {
    SetBackend(&Headless);
    Headless.UseManualClock(&Clock);
    InitApplication();
    Form = new TForm(nullptr);
    Form->SetName("Form1");
    Form->SetBounds(100, 100, 500, 400);
}

void TStandardTest::TearDown() {
    while (Screen && Screen->FormCount() > 0)
        delete Screen->Forms(Screen->FormCount() - 1);
    DoneApplication();
    ResetWindowSystem();
    Headless.ResetClock();
    SetBackend(nullptr);
}

void TStandardTest::Pump() {
    Application->ProcessMessages();
}

void TStandardTest::ShowForm() {
    Form->Show();
    Pump();
}

void TStandardTest::Click(TControl* Control, int X, int Y) {
    TPoint P = ScreenOf(Control, X, Y);
    // Far enough from the last click not to make a double click.
    Clock.Advance(1000);
    Headless.Click(P.X, P.Y);
    Pump();
}

void TStandardTest::Key(int VirtualKey, std::string Text) {
    Headless.KeyDown(VirtualKey, std::move(Text));
    Headless.KeyUp(VirtualKey);
    Pump();
}

void TStandardTest::KeyWith(int Modifier, int VirtualKey, std::string Text) {
    Headless.KeyDown(Modifier);
    Headless.KeyDown(VirtualKey, std::move(Text));
    Headless.KeyUp(VirtualKey);
    Headless.KeyUp(Modifier);
    Pump();
}

void TStandardTest::Type(std::string_view Text) {
    Headless.TypeText(Text);
    Pump();
}

TTestBitmap::TTestBitmap(int Width, int Height, COLORREF Fill) {
    FDC = CreateCompatibleDC(nullptr);
    FBitmap = CreateCompatibleBitmap(FDC, Width, Height);
    FOld = SelectObject(FDC, ToObj(FBitmap));
    HBRUSH Brush = CreateSolidBrush(Fill);
    TRect R{0, 0, Width, Height};
    FillRect(FDC, &R, Brush);
    DeleteObject(ToObj(Brush));
}

TTestBitmap::~TTestBitmap() {
    SelectObject(FDC, FOld);
    DeleteObject(ToObj(FBitmap));
    DeleteDC(FDC);
}

std::uint32_t TTestBitmap::Pixel(int X, int Y) const {
    return RgbOf(GetPixel(FDC, X, Y));
}
