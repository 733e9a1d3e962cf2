// Fixture of the popup menu tests: a headless screen of 1920 x 1080 with a
// 40-pixel task bar, a manual clock, a shown plain form that records the
// chain's messages, a chain for that form and helpers for pointer input.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/forms/bsSkinMenus.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace menus {

using TLog = std::vector<std::string>;

// A form that writes "<Name>:1228" and "<Name>:1229" into a log.
class TRecordingForm : public TForm {
public:
    TRecordingForm(TLog* ALog, std::string AName);

protected:
    void WndProc(TMessage& Message) override;

private:
    TLog* FLog;
    std::string FName;
};

// A windowed control that does the same.
class TRecordingControl : public TCustomControl {
public:
    TRecordingControl(TComponent* AOwner, TLog* ALog, std::string AName);

protected:
    void WndProc(TMessage& Message) override;

private:
    TLog* FLog;
    std::string FName;
};

class MenusFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A menu item captioned Caption, with a click that logs "click <Caption>".
    TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption);
    // A popup menu owned by the form with the given captions.
    TPopupMenu* MakeMenu(const std::vector<std::string>& Captions);
    TbsSkinData* LoadSkin(const testskin::TTestSkin& Skin);
    void Pump();
    void RunFor(std::uint32_t Milliseconds);
    // The root (or Index-th) window of the chain.
    TbsSkinPopupWindow* Window(int Index = 0) const;
    // The screen centre of an item of a window.
    TPoint CentreOf(TbsSkinPopupWindow* W, int Item) const;
    void MoveTo(TPoint P);
    void ClickAt(TPoint P);
    // The window painted into a bitmap of its size.
    std::unique_ptr<TBitmap> Paint(TbsSkinPopupWindow* W);
    static std::uint32_t Pixel(TBitmap* B, int X, int Y);

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TLog Log;
    TRecordingForm* Form = nullptr;
    TbsSkinMenu* Chain = nullptr;
    int SkinCount = 0;
};

// A colour as 0xRRGGBB (system colours resolved).
std::uint32_t Rgb(TColor C);

} // namespace menus
