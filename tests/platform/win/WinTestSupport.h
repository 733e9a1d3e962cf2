// Fixture of the window-system tests: the headless backend on a manual
// clock, a test window class whose procedure each test can shape per window,
// and a fresh window system after every test.
#pragma once

#include "platform/core/Clock.h"
#include "platform/win/MessageRecorder.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

// A handler answers a message itself (a value) or lets DefWindowProc do it.
using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class TWinTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the test class (or of Class), whose messages go through
    // Handler first.
    HWND Make(DWORD Style, TRect R, HWND Parent = nullptr, DWORD ExStyle = 0,
              THandler Handler = nullptr, const char* Class = "TestWnd", const char* Title = "");
    void On(HWND Wnd, THandler Handler);
    // Registers a class with the test procedure.
    void Register(const char* Name, UINT Style, HBRUSH Background = nullptr);

    // The pixel a window's top-level back buffer shows at client point (X, Y)
    // after presenting, as 0x00RRGGBB.
    std::uint32_t ClientPixel(HWND Wnd, int X, int Y);
    TSurfaceId SurfaceOf(HWND Wnd);

    THeadlessBackend Headless;
    TManualClock Clock{1000};
};

// 0x00RRGGBB of a COLORREF, as the headless read-back gives it.
constexpr std::uint32_t Rgb(COLORREF C) {
    return (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
}
