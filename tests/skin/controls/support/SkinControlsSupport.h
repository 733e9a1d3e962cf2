// Test support of the skinned controls' tests (shared with the tests of the
// other families of skinned controls): a headless fixture holding the
// standard test skin, a form that runs the skin-change walks the skinned
// form runs, probe controls that record the background protocol, and pixel
// helpers that name the fixture region a pixel came from.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCtrls.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace skinctl {

// A colour as 0xRRGGBB, system colours resolved.
std::uint32_t Rgb(TColor C);

// A form that answers WM_BEFORECHANGESKINDATA and WM_CHANGESKINDATA with the
// walks of the skinned form: before the change every skinned window control
// bound to the changing skin data forgets its element; after it every
// skinned control of the known classes bound to it looks its element up
// again, parents before children.
class TSkinChangeForm : public TForm {
public:
    explicit TSkinChangeForm(TComponent* AOwner) : TForm(AOwner) {}
    static void BeforeChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl);
    static void ChangeControlsSkinData(TbsSkinData* ASkinData, TControl* AControl);

    // Called after each walk with the message that ran it.
    std::function<void(UINT)> AfterWalk;

protected:
    void Dispatch(TMessage& Message) override;
};

// A skinned window control that counts the background notifications.
class TProbeControl : public TbsSkinCustomControl {
public:
    explicit TProbeControl(TComponent* AOwner);
    void CheckParentBackground() override;
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void DefaultFontChanged() override { ++FontChanges; }

    int FontChanges = 0;
    int CheckCalls = 0;
    int CheckMessages = 0;
    int Paints = 0;
    // Called inside Paint, before the paint itself.
    std::function<void()> OnPaintStart;
};

// The windowless twin of the probe.
class TGraphicProbe : public TbsGraphicSkinCustomControl {
public:
    explicit TGraphicProbe(TComponent* AOwner) : TbsGraphicSkinCustomControl(AOwner) {}
    void Dispatch(TMessage& Message) override;

    int CheckMessages = 0;
};

// The standard test skin with two more pictures: "nine.bmp" (active
// picture 4), a 40 x 20 nine-part face whose nine parts are regions of their
// own ("lt", "top", "rt", "left", "client", "right", "lb", "bottom", "rb";
// corners 10 x 5), and "ninemask.bmp" (picture 5), its mask with rounded
// corners of radius 4; and "bar.bmp" (picture 6), a 40 x 34 bar face of
// three columns "bar.l" (4 wide), "bar.m" and "bar.r" (4 wide).
testskin::TTestSkin NineSkin(int Variant = 0);
constexpr int NinePicture = 4;
constexpr int NineMaskPicture = 5;
constexpr int BarPicture = 6;
// A width-only element cut from "bar.bmp": skin rectangle 40 x 34, ends 4
// wide, client rectangle (4, 4, 36, 30).
void AddBarElement(testskin::TTestSkin& Skin, const std::string& Name,
                   const testskin::TKeys& More = {});
// Adds an element of Kind named Name cut from the nine-part face, with More
// keys after the face's.
void AddNineElement(testskin::TTestSkin& Skin, const std::string& Kind, const std::string& Name,
                    const testskin::TKeys& More = {});

// The headless backend on a manual clock, the application, and a skin data
// holding the standard test skin (Skin describes it).
class TSkinControlsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A hidden skin-change form at (100, 100), 400 x 300.
    TSkinChangeForm* MakeForm();
    // Loads Skin into Data through a skin folder (the change messages go out).
    void LoadSkin(TbsSkinData& Data, const testskin::TTestSkin& Skin);
    // Skin := S, loaded into Data.
    void UseSkin(const testskin::TTestSkin& S);
    // The colour of a region of "nine.bmp".
    std::uint32_t NineColour(const std::string& Region) const;
    void Pump();
    // The composed screen pixel at a client point of Control, after every
    // pending paint.
    std::uint32_t PixelOf(TControl* Control, int X, int Y);
    // "file/region" of the test skin at a client point of Control, or "".
    std::string RegionOf(TControl* Control, int X, int Y);
    // The colour of a region of the standard skin's controls picture.
    std::uint32_t FaceColour(const std::string& Region) const;

    THeadlessBackend Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    testskin::TTestSkin Skin;
    std::unique_ptr<TbsSkinData> Data;
};

} // namespace skinctl
