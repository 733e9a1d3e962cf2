// The stored list as the program takes it, the stored format, the themes'
// distinctness, the generator's own check and the build's reproducibility.
#include "skin/stored/StoredSkins.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "skin/model/bsSkinData.Stored.h"
#include "skin/stored/generator/Checks.h"
#include "skin/stored/generator/Generator.h"
#include "skin/stored/generator/Palette.h"
#include "skin/stored/generator/Themes.h"
#include "tests/fixtures/skins/SkinComparison.h"
#include "tests/skin/stored/StoredSkinFixture.h"
#include "tests/support/TempDir.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace storedtest;

namespace {

std::string ReadFile(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

std::int32_t Int32At(const std::string& Bytes, std::size_t At) {
    std::int32_t V = 0;
    std::memcpy(&V, Bytes.data() + At, 4);
    return V;
}

// The frame of list item Index, as its "Skin" bytes.
std::string FrameOf(TbsCompressedSkinList& List, int Index) {
    TStringStream S;
    List.Skins()->Items(Index)->WriteSkin(S);
    return S.DataString();
}

class StoredSkinList : public testskin::TSkinWindowTest {};

} // namespace

TEST_F(StoredSkinList, EverySkinLoadsInTurnUnderItsNames) {
    ASSERT_EQ(StoredSkinCount(), 11);
    std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
    ASSERT_EQ(List->Skins()->Count(), 11);
    TbsSkinData Data(nullptr);
    Data.SetSkinList(List.get());
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        Data.SetSkinIndex(i);
        EXPECT_EQ(Data.SkinIndex(), i);
        EXPECT_FALSE(Data.Empty);
        EXPECT_EQ(Data.SkinName, Facts[i].SkinName);
        EXPECT_EQ(List->Skins()->Items(i)->Description(), Facts[i].DisplayName);
        EXPECT_EQ(List->Skins()->Items(i)->Name(), "bsSkin" + std::to_string(i));
        EXPECT_EQ(StoredSkinDisplayName(i), Facts[i].DisplayName);
    }
    EXPECT_THROW(StoredSkinDisplayName(11), EListError);
    EXPECT_THROW(StoredSkinDisplayName(-1), EListError);
}

TEST_F(StoredSkinList, TheListBelongsToItsOwner) {
    TComponent Owner(nullptr);
    TbsCompressedSkinList* List = CreateStoredSkinList(&Owner);
    EXPECT_EQ(List->Owner(), &Owner);
}

class StoredSkinFormat : public TStoredSkinTest {};

TEST_P(StoredSkinFormat, VersionThreeAsciiTextAndPictureDepths) {
    const std::string Frame = FrameOf(*List, GetParam());
    ASSERT_GE(Frame.size(), 8u);
    EXPECT_EQ(Int32At(Frame, 0), 3);
    EXPECT_EQ(std::size_t(Int32At(Frame, 4)), Frame.size() - 8);

    TMemoryStream Payload;
    List->Skins()->Items(GetParam())->Skin()->DeCompressToStream(Payload);
    const std::string P(static_cast<const char*>(Payload.Memory()), std::size_t(Payload.Size()));
    EXPECT_EQ(Int32At(P, 0), 3);
    // Three picture slots, the active pictures, then the text: each picture
    // is a BMP file whose header gives its size.
    std::size_t At = 4;
    for (int Slot = 0; Slot < 3; ++Slot)
        At += P[At] == 1 ? 1 : 1 + std::size_t(Int32At(P, At + 3));
    const int Count = Int32At(P, At);
    At += 4;
    EXPECT_GE(Count, 7);
    EXPECT_LE(Count, 12);
    for (int i = 0; i < Count; ++i)
        At += std::size_t(Int32At(P, At + 2));
    const std::string Text = P.substr(At);
    EXPECT_EQ(Text.rfind("[VERSION]", 0), 0u);
    EXPECT_NE(Text.find("ver=1"), std::string::npos);
    EXPECT_TRUE(std::all_of(Text.begin(), Text.end(), [](char C) {
        return (unsigned char)C < 0x80;
    })) << "the ini text holds a byte beyond ASCII";

    EXPECT_EQ(Skin->FPicture->PixelFormat(), GetParam() == 10 ? pf8bit : pf24bit);
    EXPECT_EQ(Skin->FMask->PixelFormat(), pf1bit);
    EXPECT_EQ(Skin->FInActivePicture->Empty(), !Theme().InActivePicture);
    EXPECT_EQ(Skin->AutoRenderingInActiveImage, !Theme().InActivePicture);
    if (!Theme().InActivePicture) {
        EXPECT_NE(Skin->InActiveEffect, ieBrightness);
    }
}

TEST_P(StoredSkinFormat, ARoundTripGivesTheSameSkin) {
    TbsCompressedStoredSkin Again(nullptr);
    Again.LoadFromSkinData(Skin.get());
    TbsSkinData Copy(nullptr);
    Copy.LoadCompressedStoredSkin(&Again);
    testskin::ExpectSameSkin(*Skin, Copy);
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredSkinFormat, testing::Range(0, 11), SkinLabel);

// Themes: no two share mode and hue, accents of one mode lie apart, the
// first-start skin is calm and the form's design skin strong.
TEST_F(StoredSkinList, ThemesAreDistinctCalmFirstAndStrongSecond) {
    std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
    TbsSkinData Data(nullptr);
    Data.SetSkinList(List.get());
    struct TSeen {
        bool Light;
        skingen::TLch Accent;
        std::uint32_t Rgb;
    };
    std::vector<TSeen> Seen;
    for (int i = 0; i < 11; ++i) {
        Data.SetSkinIndex(i);
        const std::uint32_t Surface = Rgb(Data.SkinColors()->cBtnFace());
        const std::uint32_t Accent = Rgb(Data.SkinColors()->cHighLight());
        const bool Light = Contrast(Surface, 0x000000) > Contrast(Surface, 0xFFFFFF);
        EXPECT_EQ(Light, Facts[i].Light) << Facts[i].SkinName;
        EXPECT_EQ(Data.LayerFrame->PictureIndex != -1, Facts[i].Shadow) << Facts[i].SkinName;
        Seen.push_back({Light, skingen::RgbToLch(Accent), Accent});
    }
    for (std::size_t a = 0; a < Seen.size(); ++a)
        for (std::size_t b = a + 1; b < Seen.size(); ++b) {
            if (Seen[a].Light != Seen[b].Light)
                continue;
            EXPECT_GE(skingen::OklabDistance(Seen[a].Rgb, Seen[b].Rgb), 0.05)
                << Facts[a].SkinName << " and " << Facts[b].SkinName;
            // A hue read back from 8-bit colours is only firm with some chroma.
            if (Seen[a].Accent.C < 0.03 || Seen[b].Accent.C < 0.03)
                continue;
            const double Apart = std::fabs(Seen[a].Accent.H - Seen[b].Accent.H);
            EXPECT_GT(std::min(Apart, 360 - Apart), 2.0)
                << Facts[a].SkinName << " and " << Facts[b].SkinName << " share a hue";
        }
    EXPECT_TRUE(Seen[0].Light);
    EXPECT_LE(Seen[0].Accent.C, 0.09);
    EXPECT_FALSE(Facts[0].Shadow);
    EXPECT_TRUE(Seen[1].Light);
    EXPECT_GE(Seen[1].Accent.C, 0.15);
}

// The check fails a palette whose text is too light, naming the skin, the
// element, the state and the ratio.
TEST_F(StoredSkinList, TheCheckFailsUnreadableText) {
    skingen::TPaletteRule Rule;
    Rule.LightTextL = 0.60;
    auto Bad = skingen::MakeSkin(0, Rule);
    const auto Failures = skingen::CheckSkin(*Bad, skingen::Themes()[0]);
    ASSERT_FALSE(Failures.empty());
    bool Named = false;
    for (const auto& F : Failures) {
        EXPECT_EQ(F.Skin, "Clear Sky");
        const std::string T = F.Text();
        if (F.Element == "button" && F.State == "normal") {
            Named = true;
            EXPECT_NE(T.find("\"Clear Sky\""), std::string::npos) << T;
            EXPECT_NE(T.find("\"button\""), std::string::npos) << T;
            EXPECT_NE(T.find("normal"), std::string::npos) << T;
            EXPECT_NE(T.find(":1 below 4.5:1"), std::string::npos) << T;
        }
    }
    EXPECT_TRUE(Named);
    auto Good = skingen::MakeSkin(0);
    EXPECT_TRUE(skingen::CheckSkin(*Good, skingen::Themes()[0]).empty());
}

// Two runs give the same bytes, and the bytes the program embeds are those
// of a fresh run.
TEST_F(StoredSkinList, TheBuildIsReproducible) {
    TTempDir A, B;
    ASSERT_EQ(
        std::system((std::string(OSTRELA_SKINGEN) + " --out " + A.Path() + " >/dev/null").c_str()),
        0);
    ASSERT_EQ(
        std::system((std::string(OSTRELA_SKINGEN) + " --out " + B.Path() + " >/dev/null").c_str()),
        0);
    std::unique_ptr<TbsCompressedSkinList> List(CreateStoredSkinList(nullptr));
    for (int i = 0; i < 11; ++i) {
        const std::string Name = "/skin" + std::to_string(i) + ".skn";
        const std::string First = ReadFile(A.Path() + Name);
        EXPECT_FALSE(First.empty());
        EXPECT_EQ(First, ReadFile(B.Path() + Name)) << Name;
        EXPECT_EQ(First, FrameOf(*List, i)) << Name;
    }
    EXPECT_EQ(ReadFile(A.Path() + "/index.txt"), ReadFile(B.Path() + "/index.txt"));
}
