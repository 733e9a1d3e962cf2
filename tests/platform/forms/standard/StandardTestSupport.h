// Fixture of the standard-control tests: the headless backend on a manual
// clock, the application objects, a shown form to hold the controls, and a
// fresh window system after every test.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

class TStandardTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T> T* Add(TRect Bounds, TWinControl* Parent = nullptr) {
        auto* C = new T(Form);
        C->SetBoundsRect(Bounds);
        C->SetParent(Parent ? Parent : Form);
        return C;
    }
    void Pump();
    void ShowForm();
    TPoint ScreenOf(TControl* Control, int X, int Y) { return Control->ClientToScreen({X, Y}); }
    void Click(TControl* Control, int X, int Y);
    // A key press with the text it types (if any), then its release.
    void Key(int VirtualKey, std::string Text = {});
    // A key held while another is pressed (Shift+Right ...).
    void KeyWith(int Modifier, int VirtualKey, std::string Text = {});
    void Type(std::string_view Text);

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TForm* Form = nullptr;
};

// A 32-bit memory DC of the given size filled with one colour, for painting
// controls into with WM_PAINT.
class TTestBitmap {
public:
    TTestBitmap(int Width, int Height, COLORREF Fill);
    ~TTestBitmap();
    HDC DC() const { return FDC; }
    // 0x00RRGGBB.
    std::uint32_t Pixel(int X, int Y) const;

private:
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
};

constexpr std::uint32_t RgbOf(COLORREF V) {
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}
