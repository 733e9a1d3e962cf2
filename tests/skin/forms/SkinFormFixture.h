// The skinned form's test fixture: a headless screen of 1920 x 1080 with a
// 40-pixel task bar at the bottom, the compositor switch, skins made in code
// (a 300 x 200 frame of named flat-colour regions, with or without mask and
// inactive picture) and forms carrying a TbsSkinForm.
#pragma once

#include "skin/forms/SkinForm.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skinform {

struct TFrameSkinOptions {
    bool Mask = false;
    bool Inactive = false;
    // FORMINFO keys, each replacing the key of its name.
    testskin::TKeys FormInfo;
    // Leave out the caption object and the caption buttons.
    bool NoObjects = false;
    int Variant = 0;

    TFrameSkinOptions& WithMask() {
        Mask = true;
        return *this;
    }
    TFrameSkinOptions& WithInactive() {
        Inactive = true;
        return *this;
    }
    TFrameSkinOptions& WithoutObjects() {
        NoObjects = true;
        return *this;
    }
    TFrameSkinOptions& WithFormInfo(testskin::TKeys Keys) {
        FormInfo = std::move(Keys);
        return *this;
    }
    TFrameSkinOptions& WithVariant(int N) {
        Variant = N;
        return *this;
    }
};

// A frame picture of 300 x 200: caption band (0, 0, 300, 30), left border
// (0, 30, 5, 195), right border (295, 30, 300, 195), bottom border
// (0, 195, 300, 200) and client (5, 30, 295, 195). Caption buttons in an
// objects picture (active picture 0), each with normal, hot and pressed
// cells; the caption object over (40, 5, 200, 25).
testskin::TTestSkin FrameSkin(const TFrameSkinOptions& Options = {});

// A colour as 0xRRGGBB.
std::uint32_t Rgb(TColor C);

class SkinFormFixture : public testskin::TSkinWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A skin data (owned by no form) loaded from Skin.
    TbsSkinData* LoadSkin(const testskin::TTestSkin& Skin);
    // A shown form of that size and border style with its component; the
    // skin (none: the plain look) is set after the component exists.
    TForm* MakeForm(int W, int H, TFormBorderStyle Style = bsSizeable, TbsSkinData* Skin = nullptr,
                    const std::string& Caption = "Form");
    TbsSkinForm* Component(TForm* F) const { return FindSkinFormComponent(F); }
    // The frame painted into a bitmap of the form's size through
    // WM_NCPAINTTODC; Marker fills the bitmap first.
    std::unique_ptr<TBitmap> PaintFrame(TForm* F, TColor Marker = RGB(1, 2, 3));
    std::uint32_t PixelOf(TBitmap* B, int X, int Y);
    // The skin's named region colour of the frame picture.
    std::uint32_t Region(const std::string& Name) const;

    TTempDir Dir;
    testskin::TTestSkin LastSkin;
    std::vector<std::unique_ptr<TbsSkinData>> Skins;
    int SkinCount = 0;
};

} // namespace skinform
