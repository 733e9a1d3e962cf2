// The stored skins as the program takes them: the embedded list, one skin
// data, SkinIndex 0 ... 10. The theme facts the tests check are written here
// from the theme table, not taken from the generator.
#pragma once

#include "skin/model/bsSkinData.h"
#include "tests/fixtures/skins/SkinMessageRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace storedtest {

struct TThemeFacts {
    const char* SkinName;
    const char* DisplayName;
    bool Light;
    int Radius;
    bool Shadow;
    bool InActivePicture;
};
extern const TThemeFacts Facts[11];

// The pixels of a picture as 0xRRGGBB.
std::uint32_t Pixel(TBitmap& Picture, int X, int Y);
// The WCAG 2 ratio, written here from the guidelines' formula.
double Contrast(std::uint32_t A, std::uint32_t B);
// 0xRRGGBB of a platform colour.
std::uint32_t Rgb(TColor C);

// One stored skin loaded from the embedded list.
class TStoredSkinTest : public testskin::TSkinWindowTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override;
    void TearDown() override;

    const TThemeFacts& Theme() const { return Facts[GetParam()]; }
    template <class E> E* Control(const std::string& Name) {
        const int I = Skin->GetControlIndex(Name);
        return I < 0 ? nullptr : dynamic_cast<E*>(Skin->CtrlList[std::size_t(I)].get());
    }
    template <class E> E* Object(const std::string& Name) {
        const int I = Skin->GetIndex(Name);
        return I < 0 ? nullptr : dynamic_cast<E*>(Skin->ObjectList[std::size_t(I)].get());
    }

    std::unique_ptr<TbsCompressedSkinList> List;
    std::unique_ptr<TbsSkinData> Skin;
};

std::string SkinLabel(const testing::TestParamInfo<int>& Info);

} // namespace storedtest
