// Fixture of the tests of the skinned lists and combos: the headless
// backend on a manual clock (from 1000), a shown and active form, skin data
// loaded from a test skin, pointer, key and wheel input, pixel read-back and
// an event log for the order of the selection events.
#pragma once

#include "platform/core/Clock.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/ImageList.h"
#include "platform/win/Windows.h"
#include "platform/win/headless/HeadlessBackend.h"
#include "skin/controls/bsSkinCombos.h"
#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/TestSkin.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace liststest {

// The headless backend that also keeps every opacity a window was given.
class TRecordingHeadless : public THeadlessBackend {
public:
    void SetOpacity(TSurfaceId Surface, std::optional<BYTE> Alpha,
                    std::optional<COLORREF> Key) override {
        if (Alpha)
            Opacities.push_back(*Alpha);
        THeadlessBackend::SetOpacity(Surface, Alpha, Key);
    }
    std::vector<int> Opacities;
};

class TListsTest : public testing::Test {
public:
    // Public so that the rows of table-driven tests can act through them.
    void SetUp() override;
    void TearDown() override;

    // A skin data component owned by the form, loaded from Skin.
    TbsSkinData* LoadSkin(const testskin::TTestSkin& Skin);
    TbsSkinData* LoadStandardSkin() { return LoadSkin(testskin::StandardTestSkin()); }
    void Pump();
    void RunFor(std::uint32_t Milliseconds);
    // The composed screen pixel at a client point, as 0x00RRGGBB.
    std::uint32_t PixelOf(TControl* Control, int X, int Y);
    // Whether the text in R is written in the colour Text (0x00RRGGBB),
    // smoothed over the rectangle's commonest colour: the pixel farthest
    // from that background lies at least half way toward Text on the line
    // between the two.
    bool TextInkIs(TControl* Control, const TRect& R, std::uint32_t Text);
    void MoveTo(TControl* Control, int X, int Y);
    void PressAt(TControl* Control, int X, int Y);
    void ReleaseAt(TControl* Control, int X, int Y);
    void ClickAt(TControl* Control, int X, int Y);
    void Key(int VirtualKey, bool Alt = false);
    void Type(const std::string& Text);
    // One wheel notch: forward (away from the user) or back.
    void Wheel(bool Forward);
    void Focus(TWinControl* Control);

    TRecordingHeadless Headless;
    TManualClock Clock{1000};
    TTempDir Dir;
    TForm* Form = nullptr;
    int SkinCount = 0;
};

// A colour as 0x00RRGGBB, system colours resolved.
std::uint32_t Rgb(TColor C);

// An image list owned by Owner of Size x Size images, each one flat colour.
TCustomImageList* FlatImages(TComponent* Owner, int Size, const std::vector<TColor>& Colours);

// Event names in order; "name(index, text)" where the test asks for them.
struct TEventLog {
    std::vector<std::string> Names;
    TNotifyEvent Note(const std::string& Name) {
        return [this, Name](TObject*) { Names.push_back(Name); };
    }
    int Count(const std::string& Name) const;
};

// A combo whose Change is logged, with every event handler logging its name.
class TLoggedCombo : public TbsSkinComboBox {
public:
    TLoggedCombo(TComponent* AOwner, TEventLog& ALog);
    void Change() override;

private:
    TEventLog& Log;
};

} // namespace liststest
