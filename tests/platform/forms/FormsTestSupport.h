// Fixture of the class-library tests: the headless backend on a manual
// clock, the application, screen and mouse objects, and a fresh window
// system after every test.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/MessageRecorder.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class TFormsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A hidden form at (100, 100), 400 x 300, owned by nobody; every form
    // still alive is freed at TearDown.
    TForm* MakeForm(const std::string& Name = "Form1");
    // Runs every pending message.
    void Pump();
    // The screen point of a client point of a control.
    TPoint ScreenOf(TControl* Control, int X, int Y);
    // The pixel at a client point of a control, as 0x00RRGGBB.
    std::uint32_t PixelOf(TControl* Control, int X, int Y);

    THeadlessBackend Headless;
    TManualClock Clock{1000};
};

// System colours are resolved to their fixed values.
inline std::uint32_t Rgb(TColor C) {
    COLORREF V = COLORREF(ColorToRGB(C));
    return (std::uint32_t(GetRValue(V)) << 16) | (std::uint32_t(GetGValue(V)) << 8) | GetBValue(V);
}

// A recorded sequence on one line, for failure messages.
inline std::string Join(const std::vector<std::string>& Items) {
    std::string Result;
    for (const std::string& Item : Items)
        Result += (Result.empty() ? "" : " | ") + Item;
    return Result;
}
