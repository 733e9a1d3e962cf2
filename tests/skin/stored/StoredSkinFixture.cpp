#include "tests/skin/stored/StoredSkinFixture.h"

#include "skin/model/bsSkinData.Stored.h"
#include "skin/stored/StoredSkins.h"
#include "tests/fixtures/skins/SkinComparison.h"

#include <algorithm>
#include <cmath>

namespace storedtest {

const TThemeFacts Facts[11] = {
    {"Clear Sky", "晴空", true, 4, false, false},  {"Cinnabar", "朱砂", true, 3, true, true},
    {"Bamboo", "竹青", true, 6, true, false},      {"Deep Sea", "深海", false, 4, true, true},
    {"Lilac", "丁香", true, 8, true, true},        {"Amber", "琥珀", false, 2, false, false},
    {"Lake", "碧波", true, 0, false, true},        {"Graphite", "石墨", false, 3, true, false},
    {"Rice Paper", "宣纸", true, 4, false, false}, {"Dusk Cherry", "暮樱", false, 6, true, true},
    {"Ink", "墨白", true, 0, false, false},
};

std::uint32_t Pixel(TBitmap& Picture, int X, int Y) {
    return testskin::PixelOf(Picture, X, Y);
}

double Contrast(std::uint32_t A, std::uint32_t B) {
    auto Luminance = [](std::uint32_t C) {
        auto Channel = [](int V) {
            const double S = V / 255.0;
            return S <= 0.04045 ? S / 12.92 : std::pow((S + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * Channel(int(C >> 16) & 0xFF) + 0.7152 * Channel(int(C >> 8) & 0xFF) +
               0.0722 * Channel(int(C) & 0xFF);
    };
    const double LA = Luminance(A), LB = Luminance(B);
    return (std::max(LA, LB) + 0.05) / (std::min(LA, LB) + 0.05);
}

std::uint32_t Rgb(TColor C) {
    const auto V = std::uint32_t(C);
    return ((V & 0xFF) << 16) | (V & 0xFF00) | ((V >> 16) & 0xFF);
}

void TStoredSkinTest::SetUp() {
    TSkinWindowTest::SetUp();
    List.reset(CreateStoredSkinList(nullptr));
    Skin = std::make_unique<TbsSkinData>(nullptr);
    Skin->SetSkinList(List.get());
    Skin->SetSkinIndex(GetParam());
    ASSERT_EQ(Skin->SkinIndex(), GetParam());
    ASSERT_FALSE(Skin->Empty);
}

void TStoredSkinTest::TearDown() {
    Skin.reset();
    List.reset();
    TSkinWindowTest::TearDown();
}

std::string SkinLabel(const testing::TestParamInfo<int>& Info) {
    std::string Name = Facts[Info.param].SkinName;
    Name.erase(std::remove(Name.begin(), Name.end(), ' '), Name.end());
    return "skin" + std::to_string(Info.param) + "_" + Name;
}

} // namespace storedtest
