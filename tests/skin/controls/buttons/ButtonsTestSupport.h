// Fixture of the tests of the skinned buttons, bars, boxes, slider, views and
// page control: the headless backend on a manual clock, a shown form, a skin
// data component loaded from a test skin, and small helpers for pointer
// input and pixel read-back.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class TButtonsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A skin data component owned by the form, loaded from Skin.
    TbsSkinData* LoadSkin(const testskin::TTestSkin& Skin);
    void Pump();
    // Runs timers and messages for Milliseconds of the manual clock.
    void RunFor(std::uint32_t Milliseconds);
    TPoint ScreenOf(TControl* Control, int X, int Y);
    // The pixel at a client point of a control, as 0x00RRGGBB.
    std::uint32_t PixelOf(TControl* Control, int X, int Y);
    void MoveTo(TControl* Control, int X, int Y);
    void PressAt(TControl* Control, int X, int Y);
    void ReleaseAt(TControl* Control, int X, int Y);
    void ClickAt(TControl* Control, int X, int Y);

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TForm* Form = nullptr;
    int SkinCount = 0;
};

// A colour as 0x00RRGGBB (system colours resolved).
std::uint32_t Rgb(TColor C);
// A test-skin colour (0xRRGGBB) as a TColor.
TColor SkinColour(testskin::TRgb C);

// Text pixels of a green (0x00FF00) font, smoothed edges included.
bool IsGreenish(std::uint32_t Pixel);

// Records event names in order, for tests where order matters.
struct TEventLog {
    std::vector<std::string> Names;
    TNotifyEvent Note(const std::string& Name) {
        return [this, Name](TObject*) { Names.push_back(Name); };
    }
    int Count(const std::string& Name) const;
};
