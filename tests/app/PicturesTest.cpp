// The program's pictures: every icon the catalogue can ask for exists, the
// disabled glyphs differ from the enabled ones, the cover carries its text.
#include "app/Pictures.h"

#include "catalogue/ProfileCatalogue.h"
#include "platform/gdi/ImageList.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::set<TColor> Colors(TBitmap& Picture) {
    std::set<TColor> Result;
    for (int Y = 0; Y < Picture.Height(); ++Y)
        for (int X = 0; X < Picture.Width(); ++X)
            Result.insert(Picture.Canvas()->Pixels(X, Y));
    return Result;
}

} // namespace

TEST(Pictures, EveryCategoryIconTheCatalogueNamesExists) {
    TImageList CategoryIcons(nullptr);
    CategoryIcons.SetWidth(GlyphSize);
    CategoryIcons.SetHeight(GlyphSize);
    FillCategoryImageList(CategoryIcons);
    for (const TCategoryInfo& Category : Categories()) {
        EXPECT_TRUE(HasCategoryIcon(Category.ImageIndex)) << Category.Caption;
        EXPECT_LT(Category.ImageIndex, CategoryIcons.Count()) << Category.Caption;
    }
    TImageList Profiles(nullptr);
    Profiles.SetWidth(GlyphSize);
    Profiles.SetHeight(GlyphSize);
    FillProfileImageList(Profiles);
    EXPECT_EQ(Profiles.Count(), 2);
}

TEST(Pictures, DisabledGlyphsAreGreyTwins) {
    for (int G = 0; G < ToolGlyphCount; ++G) {
        SCOPED_TRACE(G);
        auto On = MakeToolGlyph(static_cast<TToolGlyph>(G), true);
        auto Off = MakeToolGlyph(static_cast<TToolGlyph>(G), false);
        ASSERT_EQ(On->Width(), 32);
        ASSERT_EQ(Off->Height(), 32);
        std::set<TColor> OffColors = Colors(*Off);
        OffColors.erase(PictureTransparentColor);
        ASSERT_EQ(OffColors.size(), 1u);
        const TColor Grey = *OffColors.begin();
        EXPECT_EQ(Grey & 0xFF, (Grey >> 8) & 0xFF);
        // The same shape: the transparent pixels are the same.
        for (int Y = 0; Y < 32; ++Y)
            for (int X = 0; X < 32; ++X)
                ASSERT_EQ(On->Canvas()->Pixels(X, Y) == PictureTransparentColor,
                          Off->Canvas()->Pixels(X, Y) == PictureTransparentColor);
    }
}

TEST(Pictures, CoverAndAboutPictures) {
    auto Cover = MakeCoverPicture();
    EXPECT_EQ(Cover->Width(), 558);
    EXPECT_EQ(Cover->Height(), 260);
    // The invitation's text is drawn: the row band around it holds text pixels.
    std::set<TColor> Band;
    for (int Y = 160; Y < 185; ++Y)
        for (int X = 100; X < 458; ++X)
            Band.insert(Cover->Canvas()->Pixels(X, Y));
    EXPECT_GT(Band.size(), 3u);
    auto About = MakeAboutPicture();
    EXPECT_EQ(About->Width(), 53);
    EXPECT_EQ(About->Height(), 57);
}
