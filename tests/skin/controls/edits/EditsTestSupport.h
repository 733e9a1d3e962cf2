// Fixture of the edit box tests: the skinned-controls fixture with a shown,
// active form, an "edits.bmp" picture whose faces, client parts and button
// states are regions of their own, and keyboard and pointer helpers.
#pragma once

#include "skin/controls/bsSkinEdits.h"
#include "tests/skin/controls/support/SkinControlsSupport.h"

#include <string>

namespace skinctl {

// Regions of "edits.bmp": the normal face "n.frame" (0, 0, 40, 20) with its
// client part "n.client" (5, 4, 35, 16); the active face "a.frame"
// (0, 20, 40, 40) with "a.client"; the frame button states "btn.hot",
// "btn.down", "btn.off".
testskin::TTestSkin EditSkin(const testskin::TKeys& More = {});
// The same element and picture added to another skin.
testskin::TTestSkin EditSkinOn(testskin::TTestSkin Base, const testskin::TKeys& More = {});
// The element "testedit" as EditSkin adds it.
constexpr const char* EditElement = "testedit";
// Its text colours.
constexpr TColor EditFontColor = 0x0000C0;
constexpr TColor EditActiveFontColor = 0xC00000;
constexpr TColor EditDisabledFontColor = 0x008000;

class TEditsTest : public TSkinControlsTest {
protected:
    void SetUp() override;

    // A shown, active form.
    TSkinChangeForm* ShownForm();
    // A skinned edit on Form.
    TbsSkinEdit* MakeEdit(TWinControl* Parent, int W = 120, int H = 22);
    void Type(const std::string& Text);
    void Key(int VirtualKey, const std::string& Text = {});
    TPoint ScreenOf(TControl* C, int X, int Y) { return C->ClientToScreen({X, Y}); }
    // The screen pixel at a point of the control's window (frame included).
    std::uint32_t WindowPixel(TWinControl* C, int X, int Y);
    std::string EditRegion(TWinControl* C, int X, int Y);

    TSkinChangeForm* Form = nullptr;
};

} // namespace skinctl
